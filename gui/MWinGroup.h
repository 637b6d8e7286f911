// An ordered run of buttons inside a window. Groups own their buttons; the order is the
// drawing order (first to last), the reverse of the input and hover order, and the Tab
// order. Also the value-bar geometry the window's scrolling and the colour picker use.
#pragma once
#include "MWinTypes.h"

class MWinGroup
{
public:
    MWinGroup(MWin *mwin, MWinWindow *window);
    ~MWinGroup();
    MWinGroup(const MWinGroup &) = delete;
    MWinGroup &operator=(const MWinGroup &) = delete;

    MWinButton *AddButton(const char *id, _MWinButtonType kind, const char *texButId, const char *text, float x,
                          float y, float w, float h);
    MWinButton *AddButton(const char *id, _MWinButtonType kind, const char *texButId, const char *text, float x,
                          float y, float w, float h, MWinButtonCallbackFn callback, int a, int b);
    // Appends a button made elsewhere (a subclass such as the tab panel); the group owns it.
    bool PreAddButton(const char *id, _MWinButtonType kind, float x, float y, float w, float h);
    bool CompleteAddButton(MWinButton *button);
    // Removes one button (deleting it); false when it is not in this group.
    bool RemoveButton(MWinButton *button);
    void RemoveAllButtons();
    bool CreateGraphics();
    void DestroyGraphics();
    void UpdatePositions();
    void RefreshLanguageTexts();
    void Render();

    bool IsShown() const { return shown; }
    void Show() { shown = true; }
    void Hide() { shown = false; }
    bool IsCreatedOk() const { return createdOk; }
    MWinWindow *GetWindow() const { return window; }
    MWinButton *GetFirstButton() const { return first; }
    MWinButton *GetLastButton() const { return last; }
    MWinGroup *GetNext() const { return next; }
    MWinGroup *GetPrev() const { return prev; }
    void SetLinks(MWinGroup *previous, MWinGroup *following) { prev = previous; next = following; }

private:
    MWin *mwin;
    bool shown;
    bool createdOk;
    MWinWindow *window;
    MWinButton *first, *last;
    MWinGroup *prev, *next;
};

// Value bars (kind 4).
double MWinValueBarGetValue(const MWinButton *button);
float MWinValueBarGetValueFloat(const MWinButton *button);
// Kind 4's range and value live in its kind data (set by the kind's handlers).
struct _MWinValueBar
{
    double minimum, maximum, value;
    bool logarithmic;
    float labelWidth; // 0: no label
};
float MWinValueBarGetThumbX(const MWinButton *button);
bool MWinValueBarIsMouseOnThumb(const MWinButton *button);
