// A rectangle of the 640x480 virtual screen holding buttons in groups, optionally with a
// title bar (title text and the two title-bar buttons STD_HIDE and STD_EXTRA) and
// scrollbars. It routes mouse and key events to its buttons, cycles focus with Tab,
// answers Escape and Enter with its escape and default buttons, turns a fired button
// into a queued message, and draws itself and its groups.
#pragma once
#include <cstdint>

#include "EngScroller.h"
#include "MWinTypes.h"

class MWinGroup;
class MWinCollectionController;
class MWinTabPanel;
struct _MWinLayoutSettings;

class MWinWindow
{
public:
    MWinWindow(MWin *mwin, const char *id, MWinCollection *collection, const _MWinWindowCreateInfo *info);
    ~MWinWindow();
    MWinWindow(const MWinWindow &) = delete;
    MWinWindow &operator=(const MWinWindow &) = delete;

    // ---- Contents ----
    MWinButton *AddButton(const char *id, _MWinButtonType kind, const char *texButId, const char *text, float x,
                          float y, float w, float h);
    MWinButton *AddButton(const char *id, _MWinButtonType kind, const char *texButId, const char *text, float x,
                          float y, float w, float h, MWinButtonCallbackFn callback, int a, int b);
    // Another group after the last one; the window owns it.
    MWinGroup *AddGroup();
    MWinGroup *GetDefaultGroup() const { return firstGroup; }
    MWinGroup *GetFirstGroup() const { return firstGroup; }
    MWinGroup *GetLastGroup() const { return lastGroup; }
    void SetController(MWinCollectionController *controller);
    void ClearController();
    // With report set a missing controller is fatal (use report false for popups).
    MWinCollectionController *GetController(bool report);
    bool HasController() const { return controller != nullptr; }
    void SetEscapeButton(MWinButton *button);
    void SetDefaultButton(MWinButton *button);
    MWinButton *GetEscapeButton() const { return escapeButton; }
    MWinButton *GetDefaultButton() const { return defaultButton; }
    // Forgets the button wherever the window keeps it (escape, default, focus walk).
    void ForgetButton(const MWinButton *button);
    void SetTitle(const char *text);
    bool SetTitleLanguageToken(const char *token);
    const char *GetTitle() const { return titleText; }
    void RefreshLanguageTexts();
    void SetTitleTextColour(float r, float g, float b, float a);
    void SetTitleTextScale(float x, float y);
    void SetTextAlign(_MWinTextAlign align) { textAlign = align; }
    void SetAlpha(float factor);
    bool SetTitleTexBut(const char *id);
    bool SetBodyTexBut(const char *id);
    bool SetFont(const char *fontId);
    int GetFontNum() const { return fontNum; }

    // ---- Geometry ----
    void SetArea(float x, float y, float w, float h);
    void SetPosition(float x, float y);
    const _Dimension *GetDesignArea() const { return &designArea; }
    // The drawn client rectangle (scaled) and the title bar relative to it.
    const _Dimension *GetArea() const { return &drawArea; }
    const _Dimension *GetTitleBarRect() const { return &titleBarRect; }
    void GetVirtualSize(float *w, float *h);
    bool CenterGroupOfButtons(MWinButton **buttons, bool horizontally, bool vertically);
    void SetScrollSize(float xRange, float yRange);
    void SetScrollPosition(float x, float y);
    float GetScrollX() const { return scrollPos[0]; }
    float GetScrollY() const { return scrollPos[1]; }
    bool IsScrolling() const { return scrollingOn; }
    // A scrollbar thumb is held: the window keeps the mouse until the release.
    bool IsScrollDragging() const { return thumbDrag[0] || thumbDrag[1]; }
    bool IsScaled() const { return scaled; }
    bool StretchesContent() const { return stretch; }
    void SetStretchContent(bool on) { stretch = on; }
    int GetScreenLayout();
    const _MWinLayoutSettings *GetLayoutSettings();

    // ---- Lookups and state ----
    MWinButton *GetFirstButton();
    MWinButton *GetActiveButton();
    MWinButton *GetButtonFromID(const char *id, bool report);
    MWinButton *GetHideButton() const { return hideButton; }
    MWinButton *GetExtraButton() const { return extraButton; }
    bool IsTitleBarButton(const MWinButton *button) const { return button && (button == hideButton || button == extraButton); }
    const char *GetID() const { return id; }
    MWinCollection *GetCollection() const { return collection; }
    MWin *GetMWin() const { return mwin; }
    int GetKind() const { return info.kind; }
    bool IsModal() const { return info.kind == MWIN_WINDOW_MODAL; }
    bool IsShown() const { return shown; }
    bool IsActive() const { return active; }
    bool IsBeingMoved() const { return dragging; }
    bool HasTitleBar() const { return info.hasTitleBar != 0; }
    bool IsCreatedOk() const { return createdOk == kCreatedOk; }
    void Show();
    void Hide();
    void Activate();
    void Deactivate();
    // Every button loses its pressed state and hover.
    void LoseAllHover();
    MWinWindow *GetNext() const { return next; }
    MWinWindow *GetPrev() const { return prev; }
    void SetLinks(MWinWindow *previous, MWinWindow *following) { prev = previous; next = following; }
    bool IsMouseOver();

    // ---- Input, tick, drawing ----
    bool HandleMouseMove();
    bool HandleButtonPressed(int which, bool pressed, int flag, bool skipScrollbars);
    bool HandleKeyDown(int key);
    bool HandleKeyDownChar(unsigned char c);
    bool HandleKeyUp(int key);
    bool HandleDoubleClick(int which);
    bool HandleMouseWheel(int delta);
    // The scrollbars' share of a mouse move while a thumb is held.
    bool HandleScrollMouseMove();
    bool SendButtonCallCallbackMessage(MWinButton *button, bool report);
    bool Tick();
    void Render();
    bool CreateGraphics();
    void DestroyGraphics();
    void UpdateLayout();
    void UpdateHideAndExtraButtons();

private:
    static constexpr uint32_t kCreatedOk = 0x4D57494E; // "MWIN"

    void ApplyCreateInfo(const _MWinWindowCreateInfo *createInfo);
    void MakeTitleBarButtons();
    void UpdateGroupPositions();
    bool FireTitleBarButton(MWinButton *button);
    bool KeyTabs(bool backward);
    MWinButton *StepButton(MWinButton *from, bool backward);
    bool CanAnswerKey(MWinButton *button);
    void UpdateScrollGeometry();
    bool HandleScrollPress(bool pressed);
    void RenderScrollbars();
    int TexButFromId(const char *id, int standardSlot, bool *ok);

    MWin *mwin;
    uint32_t createdOk;
    char id[MWIN_ID_SIZE];
    MWinCollection *collection;
    _MWinWindowCreateInfo info;
    _Dimension designArea;
    _Dimension drawArea;
    _Dimension titleBarRect;
    _Dimension titleTextRect;
    bool shown;
    bool active;
    bool scaled;
    bool stretch;
    MWinGroup *firstGroup, *lastGroup;
    MWinWindow *prev, *next;
    MWinButton *hideButton, *extraButton;
    MWinButton *escapeButton, *defaultButton;
    MWinCollectionController *controller;
    char titleText[MWIN_TITLE_SIZE];
    char titleToken[MWIN_TOKEN_SIZE];
    float titleColour[4];
    float titleScale[2];
    _MWinTextAlign textAlign;
    bool alphaOverride;
    float alphaColour[4];
    int fontNum;
    int titleTexBut, bodyTexBut;
    bool dragging;
    float dragMouse[2], dragWindow[2];
    // Scrolling, per axis (0 x, 1 y).
    bool scrollingOn;
    float scrollRange[2];
    float scrollPos[2];
    _Dimension thumbRect[2], trackRect[2];
    bool thumbDrag[2];
    float thumbDragStartPos[2], thumbDragStartMouse[2];
    int pageStep[2];
    EngScroller scroller;
};
