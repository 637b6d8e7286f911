// The root of the retained-mode GUI, and the one header a screen includes. Which header
// holds what:
//   MWinTypes.h    records and kinds (_MWinWindowCreateInfo, _MWinButtonCallbackInfo,
//                  _MWinSettings, _MWinLayoutSettings, _MWinButtonType ...), the id and
//                  area helpers, and _MWinHost (what the program hands the GUI: redraw,
//                  mouse cursor, fade frames, clock) with MWinSetHost
//   MWin.h         MWin (input, tick, drawing, the one-slot message queue, settings,
//                  text drawing) and mwin_object
//   MWinDesktop.h  MWinDesktop and MWinCollection
//   MWinWindow.h   MWinWindow
//   MWinGroup.h    MWinGroup and the value-bar geometry
//   MWinButton.h   MWinButton, the still-exists guard, _MWinButtonKindOps (how a kind
//                  plugs its handlers in)
//   MWinScreens.h  MWinCollectionController, EngScreens, MWinScreens
//   EngScroller.h  EngScroller (drag scrolling with momentum and taps)
//   MWinFonts.h    MWinFonts (font ids to EngFont, text styles)
//   MWinTextures.h MWinTextures (textures, texture buttons, the 34 standard slots)
// The GUI draws through the rendering library (EngDevice, EngTexture, EngFont) and needs
// nothing else of the layers above it than the host table.
#pragma once
#include <cstdint>

#include "EngScroller.h"
#include "MWinButton.h"
#include "MWinDesktop.h"
#include "MWinFonts.h"
#include "MWinGroup.h"
#include "MWinScreens.h"
#include "MWinTextures.h"
#include "MWinTypes.h"
#include "MWinWindow.h"

class Game;
class EngFont;

// The popups' handlers (Part of the popup module); NULL entries do nothing.
struct _MWinPopupOps
{
    void (*init)(MWin *mwin);
    void (*shutdown)(MWin *mwin);
    void (*tick)(MWin *mwin);
    void (*setupSizes)(MWin *mwin);
    bool (*isOn)(MWin *mwin);
    void (*close)(MWin *mwin);
};
void MWinSetPopupOps(const _MWinPopupOps *ops);
const _MWinPopupOps *MWinGetPopupOps();

class MWin
{
public:
    explicit MWin(Game *game);
    ~MWin();
    MWin(const MWin &) = delete;
    MWin &operator=(const MWin &) = delete;

    Game *GetGame(bool quiet);

    // ---- Life cycle and graphics ----
    bool Startup();
    bool Shutdown();
    bool IsOn();
    bool CreateGraphicsObjects();
    void DestroyGraphicsObjects();

    // ---- Input, tick, drawing ----
    // Engine events (MWIN_INPUT_...): true when the GUI took the event. A mouse move
    // carries the x and y floats' bit patterns in window pixels, as the engine sends them.
    bool HandleInput(int event, int a, int b);
    // A mouse move already in the 640x480 design space (tests and the program's own moves).
    bool HandleMouseMoveDesign(float x, float y);
    void AllowInput(bool allow);
    bool IsInputAllowed() const { return allowInput; }
    bool Tick();
    void RenderMain();
    bool RenderPopups();
    void ButtonsChanged();
    void PlaySound(int event);
    void SetSoundCallback(MWinSoundCallbackFn callback, int user);
    void RequestRedraw();
    // Grows whenever a collection, window or button is deleted: a walk over buttons that
    // called out stops when it moved, so it never follows a link of a deleted object.
    uint32_t GetDeleteCount() const { return deleteCount; }
    void NoteDeletion() { deleteCount++; }

    // ---- Queue ----
    // Queues the button's callback for the next tick. The message keeps the button it
    // came from (two buttons of one window may share an id; the queue never fires a twin).
    bool AddMessageToQueue(const char *collectionId, const char *windowId, const char *buttonId,
                           _MWinMessageNum number, const MWinButton *button = nullptr);
    bool IsMessageQueued() const { return queueCount > 0; }
    void RemoveAnyQueuedMessagesForButton(MWinButton *button, MWinWindow *window, MWinCollection *collection);

    // ---- Lookups ----
    MWinCollection *GetCollectionFromID(const char *id, bool report);
    MWinWindow *GetWindowFromIDs(const char *collectionId, const char *windowId, bool report);
    MWinButton *GetButtonFromIDs(const char *collectionId, const char *windowId, const char *buttonId, bool report);
    // The very object, when it is still a live button of that window; NULL otherwise.
    MWinButton *FindButton(const char *collectionId, const char *windowId, const char *buttonId,
                           const MWinButton *object);
    MWinDesktop *GetDesktop() const { return desktop; }
    MWinFonts *GetFonts() const { return fonts; }
    MWinTextures *GetTextures() const { return textures; }
    MWinScreens *GetScreens();
    bool HasScreens() const { return screens != nullptr; }
    void SetScreens(MWinScreens *screensObject);
    // Forgets the screens (their destructor calls it).
    void ClearScreens(MWinScreens *screensObject);
    ScreenId GetCurrentScreen();
    bool IsTextEditActive();
    void RefreshLanguageTexts();

    // ---- Settings and layout ----
    void InitDefaultSettings(bool full);
    void GetDefaultSettings(_MWinSettings *out) const;
    void SetDefaultSettings(const _MWinSettings *in);
    _MWinSettings *GetSettings() { return &settings; }
    _MWinLayoutSettings *GetCurrentLayoutSettings() { return &layoutSettings[screenLayout]; }
    _MWinLayoutSettings *GetLayoutSettings(int layout);
    void ApplyLayoutSettings();
    void SelectScreenLayout();
    int GetScreenLayout() const { return screenLayout; }
    bool IsScaling() const { return scaling; }
    void SetScaling(bool on) { scaling = on; }
    float GetHorizontalScaleIfScaled() const;
    float GetVerticalScaleIfScaled() const;
    void GetVirtualSize(float *w, float *h) const;
    void SetMousePosCallback(MWinMousePosCallbackFn callback, int a, int b);

    // ---- Mouse ----
    float GetMouseX() const { return mouseVirtual[0]; }
    float GetMouseY() const { return mouseVirtual[1]; }
    float GetDesignMouseX() const { return mouseDesign[0]; }
    float GetDesignMouseY() const { return mouseDesign[1]; }
    void UpdateVirtualMousePos();
    bool IsMouseInArea(const _Dimension *area, const float *offset = nullptr) const;
    bool IsDesignMouseInArea(const _Dimension *area, const float *offset = nullptr) const;
    // Moves the cursor (through the host) and answers the move as the window would.
    void MoveMouseToVirtual(float x, float y);

    // ---- Text drawing ----
    void DrawFontText(int fontNum, _MWinTextAlign align, float margin, float x, float y, float w, float h,
                      const float *offset, const char *text, int count, bool prepare, bool squeeze);
    void DrawFontText(int fontNum, _MWinTextAlign align, float margin, const _Dimension *box, const float *offset,
                      const char *text, int count, bool prepare, bool squeeze);
    void DrawFontTextInBox(int fontNum, _MWinTextAlign align, float margin, const _Dimension *box,
                           const float *offset, const char *text, int count, bool prepare);
    EngFont *GetFont(int fontNum);

    // ---- Popups (state kept for the popup module) ----
    MWinCollection *GetPopupCollection() const { return popupCollection; }
    void SetPopupCollection(MWinCollection *collection) { popupCollection = collection; }
    void *GetPopupState() const { return popupState; }
    void SetPopupState(void *state) { popupState = state; }
    bool IsPopupOn();
    void PopupClose();


    // ---- Popups (gui/MWinPopup.cpp): at most one at a time, in the collection
    // "MWIN_POPUP"; the result callback gets 1 (OK/Yes), 0 (Cancel, or No of a Yes/No
    // popup) or 2 (No of a Yes/No/Cancel popup) on the tick after the press, once the
    // popup has gone. Each answers whether the popup opened.
    bool PopupMessageCB(const char *title, const char *text, MWinPopupResultFn callback, void *user);
    bool PopupMessage(const char *title, const char *text);
    bool PopupMessageText(const char *text);
    bool PopupError(const char *title, const char *text, MWinPopupResultFn callback, void *user);
    bool PopupErrorText(const char *text);
    bool PopupOKCancel(const char *title, const char *text, MWinPopupResultFn callback, void *user);
    bool PopupYesNo(const char *title, const char *text, MWinPopupResultFn callback, void *user);
    bool PopupYesNoCancel(const char *title, const char *text, MWinPopupResultFn callback, void *user);
    // The caller's buffer is edited in place and receives the text (at most bufferSize - 1
    // characters) whenever editing ends, also when Cancel then closes the popup.
    bool PopupGetText(const char *title, const char *prompt, char *buffer, int bufferSize, MWinPopupResultFn callback,
                      void *user);
    bool PopupGetText_Mobile(const char *title, const char *prompt, char *buffer, int bufferSize,
                             MWinPopupResultFn callback, void *user);
    // A list of `rows` rows from rowText; **selection holds (and receives) the chosen row;
    // rowCallback hears every change of selection; Enter or a double click answers OK.
    bool PopupPanel(const char *title, const char *text, int rows, int rowsPerPageRule, float width, float height,
                    MWinButtonStringsFn rowText, char firstKind, int **selection, MWinPopupRowFn rowCallback,
                    MWinPopupResultFn callback, void *user);
    bool PopupNotice(const char *title, const char *text);
    // Draw frames themselves and return once the notice has gone again.
    bool PopupNoticeForTime(const char *title, const char *text, double seconds, bool fade);
    bool PopupNoticeDrawNow(const char *title, const char *text);
    // Closes an open popup without calling its callback; false when none was open.
    bool PopupCloseIfOn();
    void PopupSetTimeout(double seconds);
    // Texts for the next popup's buttons (each NULL keeps the standard text).
    void PopupSetButtonTexts(const char *first, const char *third, const char *second);
    void PopupGetTextSetOptions(int inputType, bool masked, bool capitals);
    // Takes (and clears) the options set for the next text entry.
    void PopupGetTextTakeOptions(int *inputType, bool *masked, bool *capitals);
    // Empty ids, negative values and an alignment of -1 keep the present setting; the
    // colours come red, blue, green, alpha.
    void PopupSetSettings(const char *bodyTexBut, const char *titleTexBut, const char *titleFont,
                          const char *buttonTexBut, const char *textFont, float textR, float textB, float textG,
                          float textA, float textScaleX, float textScaleY, float titleR, float titleB, float titleG,
                          float titleA, float titleScaleX, float titleScaleY, int titleAlign);
    // The open popup's window and its buttons ("OK", "CANCEL", "NO", "MSG", "TEXTEDIT", "PANEL").
    MWinWindow *PopupGetWindow();
    MWinButton *PopupGetButton(const char *id);
    // True while the on-screen keyboard entry is open.
    bool PopupRenderFullScreenTextEntryMobile(bool testOnly);

private:
    bool ProcessQueueMessages();
    void SetScreenLayout(int layout);
    bool CreateBgClearImage();
    bool MouseMovePath();

    Game *game;
    // The one-slot queue.
    char queueCollection[MWIN_ID_SIZE];
    char queueWindow[MWIN_ID_SIZE];
    char queueButton[MWIN_ID_SIZE];
    const MWinButton *queueObject;
    _MWinMessageNum queueNumber;
    int queueCount;
    bool allowInput;
    bool keyInput;
    int screenLayout;
    MWinSoundCallbackFn soundCallback;
    int soundUser;
    MWinScreens *screens;
    _MWinSettings settings;
    _MWinLayoutSettings layoutSettings[MWIN_NUM_LAYOUTS];
    bool on;
    MWinDesktop *desktop;
    MWinTextures *textures;
    MWinFonts *fonts;
    EngTexture *bgClearImage;
    float mouseDesign[2];
    float mouseVirtual[2];
    bool virtualMapping;
    _Dimension virtualArea;
    float virtualSize[MWIN_NUM_LAYOUTS][2];
    bool scaling;
    float baseMetrics[4];
    int textureLoadOption;
    MWinMousePosCallbackFn mousePosCallback;
    int mousePosA, mousePosB;
    MWinCollection *popupCollection;
    void *popupState;
    uint32_t deleteCount;
};

// The program's one GUI root, made on first use (so that no order of static
// construction decides when it exists).
MWin &MWinGetObject();
#define mwin_object (MWinGetObject())
