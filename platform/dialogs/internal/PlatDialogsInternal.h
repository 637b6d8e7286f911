// Shared between the portable state of the dialogs (PlatDialogs.cpp), the loader of their
// window-system mirror (PlatDialogsLoad.cpp) and the mirror itself (PlatDialogsGtk.cpp).
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

// ---- The mirror on the display (PlatDialogsGtk.cpp) -----------------------------------------
// The mirror is a module of its own, loaded at the first call that needs the display
// (PlatDialogsLoad.cpp): a program that shows no dialog never loads the toolkit.
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

// What the module offers, one entry per operation above, and what it calls back.
struct PlatGtkMirror
{
    bool (*start)();
    bool (*createWindow)(PlatDialog *dialog);
    void (*destroyWindow)(PlatDialog *dialog);
    void (*showWindow)(PlatDialog *dialog);
    void (*setTitle)(PlatDialog *dialog);
    bool (*setIcon)(PlatDialog *dialog, const char *fileName);
    bool (*addControl)(PlatDialog *dialog, PlatControl *control);
    void (*syncControl)(PlatControl *control);
    void (*setDefault)(PlatDialog *dialog, PlatControl *control);
    int (*pumpOne)(bool wait);
    bool (*getWorkArea)(int *x, int *y, int *width, int *height);
    float (*getScreenScale)();
};
struct PlatGtkCore
{
    void (*deliver)(PlatDialog *dialog, int id, int event, int value);
    void (*setError)(const char *text);
};
// The module's one exported entry, looked up by this name.
#define PLAT_GTK_OPEN_MIRROR "PlatGtkOpenMirror"
typedef const PlatGtkMirror *(*PlatGtkOpenMirrorFn)(const PlatGtkCore *core);
// The module's file, found beside the running executable or in lib/plinx beside its folder.
#define PLAT_GTK_MODULE_FILE "libplat_dialogs_gtk.so"
