// Shared between the portable state of the dialogs (PlatDialogs.cpp) and their window-system
// mirror (PlatDialogsGtk.cpp).
#pragma once
#include <string>
#include <vector>

#include "PlatDialogs.h"

struct PlatControl
{
    PlatDialog *dialog;
    int kind;
    int id;
    int x, y, width, height;
    std::string text;
    int align;
    int group;
    std::vector<std::string> items;
    int selection; // drop-down lists: -1 none
    bool checked;  // radio buttons
    bool enabled;
    void *widget; // the mirror's widget, NULL when headless
};

struct PlatMenuItemCopy
{
    std::string text; // empty: separator
    bool separator;
    int id;
};

struct PlatMenuCopy
{
    std::string title;
    std::vector<PlatMenuItemCopy> items;
};

struct PlatDialog
{
    std::string title;
    int x, y, width, height;
    float red, green, blue;
    std::vector<PlatMenuCopy> menus;
    PlatDialogEventFn callback;
    void *user;
    std::vector<PlatControl *> controls;
    int defaultId;
    bool shown;
    bool modalEnded;
    int modalResult;
    int busy;              // deliveries and modal runs in progress: freeing waits for them
    bool destroyRequested; // PlatDialogsDestroy came while busy
    bool live;             // mirrored on the display
    void *window;          // the mirror's top-level window
    void *fixed;           // the mirror's absolute-layout container
};

// Called by the mirror for what a person did; updates the state and calls the callback.
void PlatDialogsDeliver(PlatDialog *dialog, int id, int event, int value);
void PlatDialogsSetError(const char *format, ...) __attribute__((format(printf, 1, 2)));

// ---- What the mirror provides (PlatDialogsGtk.cpp) ----------------------------------------
bool PlatGtkStart();
bool PlatGtkCreateWindow(PlatDialog *dialog);
void PlatGtkDestroyWindow(PlatDialog *dialog);
void PlatGtkShowWindow(PlatDialog *dialog);
void PlatGtkSetTitle(PlatDialog *dialog);
bool PlatGtkSetIcon(PlatDialog *dialog, const char *fileName);
bool PlatGtkAddControl(PlatDialog *dialog, PlatControl *control);
// Brings the widget in line with the control's state; sends no event.
void PlatGtkSyncControl(PlatControl *control);
void PlatGtkSetDefault(PlatDialog *dialog, PlatControl *control);
int PlatGtkPumpOne(bool wait);
bool PlatGtkGetWorkArea(int *x, int *y, int *width, int *height);
float PlatGtkGetScreenScale();
