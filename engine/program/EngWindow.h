// The program's one main window: the operating-system window, the graphics device
// front end it owns, the published screen state with its scale factors to the 640x480
// virtual screen, the key-state table, the window procedure that turns window messages
// into input events, and the re-creation of window and device for full-screen toggles,
// resolution changes, device loss and activation changes.
#pragma once
#include <cstdint>

#include "EngDevice.h"
#include "EngGlobals.h"
#include "EngTexture.h"

class EngProgram;
class EngDevice;
class EngResModes;
class EngTexture;
struct PlatWindow;
struct PlatMessage;

// What the window is created with (filled with defaults by the constructor; the
// application may change them in PreCreateWindowCB).
struct _EngCreateWindowParms
{
    int32_t x, y;          // -1 = placed by the system
    int32_t width, height; // client size in pixels
    int32_t depth;         // bits per pixel
    uint8_t windowed;
    int32_t refresh;       // Hz
    int32_t multisampleLevel;
    int32_t multisampleType;
    int32_t multisampleQuality;
    uint8_t flag;          // kept by the window
    int32_t verticalSync;  // 0 automatic, 1 on, 2 off
    char className[64];
    int32_t cursorResource; // below 1: the standard arrow
    int32_t reserved[4];
};

// The defaults: placed by the system, 1024x768 windowed, depth 32, 60 Hz, "EngineClass".
void EngWindowSetDefaultParms(_EngCreateWindowParms *parms);

enum
{
    ENG_SIZE_RESTORED = 0,
    ENG_SIZE_MINIMISED = 1,
    ENG_SIZE_MAXIMISED = 2,
};

typedef void (*EngResolutionChangedFn)(uint32_t user);

class EngWindow
{
public:
    EngWindow(EngProgram *program, const char *title);
    ~EngWindow();
    EngWindow(const EngWindow &) = delete;
    EngWindow &operator=(const EngWindow &) = delete;

    // PreCreateWindowCB, then the OS window; makes this the main window. > 0 on success.
    signed char Create(_EngCreateWindowParms *parms);
    // Releases device and graphics objects and the OS window.
    void Destroy();
    // Each value below 1 (windowed: not 0 or 1) keeps the current one.
    void SetScreenSize(int windowed, int width, int height, int depth, int refresh);

    signed char CreateGraphicsDevice();
    bool DoCreateGraphicsDevice(bool createDevice);
    bool DoDestroyGraphicsDevice(bool destroyDevice);
    void DestroyGraphicsDevice();
    bool DoRecreateDevice(int deviceType);
    void RequestDeviceRecreation() { recreateRequest = 1; }

    // One-shot settings of the next toggle or resolution change; -1 keeps.
    void SetDeviceSettings(int windowedWidth, int windowedHeight, int windowedDepth, int windowedRefresh,
                           int windowX, int windowY, int fullScreenWidth, int fullScreenHeight,
                           int fullScreenDepth, int fullScreenRefresh);
    bool ToggleFullscreenMode();
    // Asks for a change to the device settings at the next window service; the callback
    // runs once after it.
    void RequestResolutionChange(EngResolutionChangedFn callback, uint32_t user);
    bool DoChangeResolution();
    bool GetWindowPos(int *x, int *y);

    void ShowMouseCursor();
    void HideMouseCursor();
    void SetMouseCursorPos(int x, int y);
    // 640x480 units.
    void SetMouseCursorPosVirtual(float x, float y);
    void GetMouseCursorPos(int *x, int *y);
    bool SetupTextureCursor_PC(const char *fileName, int hotSpotX, int hotSpotY, int width, int height,
                               bool useCorrections, void *loadPointer, int loadValue);
    void TextureCursorLeavingWindowCB_PC(bool leaving);
    // Draws the texture cursor over the frame (the device's part).
    void DrawTextureCursor_PC();

    // Called by the main loop: after every TickCB, and as its window service.
    void PollMouse();
    void Service();
    // The window procedure.
    int32_t HandleMessage(const PlatMessage *message);

    bool IsCreated() const { return created != 0; }
    bool IsMinimised() const { return minimised != 0; }
    bool IsActive() const { return active != 0; }
    bool IsRecreating() const { return recreating != 0; }
    bool IsMouseOutside() const { return mouseOutside != 0; }
    // True once after the left button, held when the mouse left the window, was found
    // released outside it (no button-up message came); the call clears the report.
    bool TakeLeftReleasedOutside()
    {
        bool released = releasedOutside != 0;
        releasedOutside = 0;
        return released;
    }
    EngDevice *GetDevice() const { return device; }
    PlatWindow *GetOSWindow() const { return osWindow; }
    EngProgram *GetProgram() const { return program; }
    const _EngCreateWindowParms *GetParms() const { return &parms; }
    void SetKeepAspect(bool width, bool height);

    _EngTextureCursor textureCursor;

private:
    // The OS side (EngWindow_PC.cpp).
    bool CreateOSWindow();
    void DestroyOSWindow();
    void GetClientSize(int *width, int *height);
    void MinimiseOSWindow();
    void DispatchOneMessage();

    // "Device not created" / "No modes." under the caller's name.
    bool PrepareModeChange(const char *function);
    // The mode of the next toggle or resolution change from the one-shot settings
    // (which are then forgotten); full-screen sizes become the closest listed mode.
    void PickMode(bool windowed, int32_t *width, int32_t *height, int32_t *depth, int32_t *refresh);
    bool RecreateForMode(bool windowed, int width, int height, int depth, int refresh);
    void HandleActivation(bool nowActive);
    void HandleResize(bool forced);
    // wParam of a size message: 0 restored, 1 minimised, 2 maximised.
    void HandleSize(int kind);
    void SendInput(int32_t event, int32_t a, int32_t b, bool fromMouseMove);

    EngProgram *program;
    char title[255];
    PlatWindow *osWindow;
    EngDevice *device;
    uint32_t style;
    _EngCreateWindowParms parms;
    uint8_t created;
    uint8_t active;
    uint8_t recreating;
    uint8_t recreateRequest;
    uint8_t resolutionPending;
    EngResolutionChangedFn resolutionCallback;
    uint32_t resolutionUser;
    int32_t oneShot[10];
    uint8_t minimised;
    uint8_t maximised;
    uint8_t mouseOutside;
    uint8_t leftHeldOnLeave;
    uint8_t releasedOutside;
    int32_t lastCursorX, lastCursorY;
    double lastDoubleClickTime;
    uint8_t keepAspect[2];
    int32_t windowedWidth, windowedHeight; // size to go back to from full screen
    EngResModes *modes;
};
