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
