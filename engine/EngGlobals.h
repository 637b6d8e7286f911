// The state every layer reads: the frame clock (EngFrameTiming), the screen settings
// (EngScreenSettings) with the orientation, and the key-state table (EngKeyStates).
// Plain records of the engine core: the program object and the main window above it
// write them.
#pragma once
#include <cstdint>

// The global clock every animation, fade and time-out reads.
struct _EngFrameTiming
{
    double currentTime; // seconds of the program clock, refreshed by EngMainGetTime
    float frameRate;    // frames per second
    float frameTime;    // seconds of the last frame
};
extern _EngFrameTiming EngFrameTiming;

enum _EngOrientation
{
    ENG_ORIENTATION_PORTRAIT = 0,
    ENG_ORIENTATION_PORTRAIT_UPSIDE_DOWN = 1,
    ENG_ORIENTATION_LANDSCAPE = 2,
    ENG_ORIENTATION_LANDSCAPE_RIGHT = 3,
};

// The screen state every drawing module reads.
struct _EngScreenSettings
{
    uint8_t windowed;
    int32_t width, height; // pixels, at least 1
    int32_t depth;         // bits
    int32_t refresh;       // Hz
    int32_t verticalSync;  // 0 automatic, 1 on, 2 off
    int32_t multisampleLevel;
    int32_t multisampleType;
    int32_t multisampleQuality;
    uint8_t portrait;      // height > width
    float scaleToScreenX, scaleToScreenY;   // width / 640, height / 480
    float scaleToVirtualX, scaleToVirtualY; // 640 / width, 480 / height
    float aspectWidthOverHeight, aspectHeightOverWidth;
    float widthCorrection;   // min(1, (height / width) x 4/3)
    float heightCorrection;  // min(1, width / height)
    float heightCorrection2;
    int32_t orientation;     // _EngOrientation
    int32_t positionRotationMode; // 0-3, reset whenever the orientation is set
};
extern _EngScreenSettings EngScreenSettings;

// Virtual-key codes of the keys the engine and the game name (letters and digits are
// their ASCII capitals).
enum EngVirtualKey
{
    ENG_VK_LBUTTON = 0x01,
    ENG_VK_RBUTTON = 0x02,
    ENG_VK_MBUTTON = 0x04,
    ENG_VK_BACK = 0x08,
    ENG_VK_TAB = 0x09,
    ENG_VK_RETURN = 0x0D,
    ENG_VK_SHIFT = 0x10,
    ENG_VK_CONTROL = 0x11,
    ENG_VK_MENU = 0x12, // Alt
    ENG_VK_ESCAPE = 0x1B,
    ENG_VK_SPACE = 0x20,
    ENG_VK_PRIOR = 0x21,
    ENG_VK_NEXT = 0x22,
    ENG_VK_END = 0x23,
    ENG_VK_HOME = 0x24,
    ENG_VK_LEFT = 0x25,
    ENG_VK_UP = 0x26,
    ENG_VK_RIGHT = 0x27,
    ENG_VK_DOWN = 0x28,
    ENG_VK_INSERT = 0x2D,
    ENG_VK_DELETE = 0x2E,
    ENG_VK_NUMPAD0 = 0x60,
    ENG_VK_ADD = 0x6B,
    ENG_VK_SUBTRACT = 0x6D,
    ENG_VK_F1 = 0x70,
    ENG_VK_F10 = 0x79,
    ENG_VK_F11 = 0x7A,
    ENG_VK_F12 = 0x7B,
};

// Key and button states by virtual-key code: 2 went down, 0 up. Entries 1, 2 and 4 are
// the left, right and middle mouse buttons.
extern uint8_t EngKeyStates[256];

// Letter keys read by the game.
enum
{
    ENG_VK_U = 'U',
};

// 640x480 design position of a screen position under the rotation mode; false when the
// screen is smaller than 1x1.
bool EngMainConvertScreenPosToDesignPos(float x, float y, float *outX, float *outY);
void EngMainSetOrientation(int orientation);
int EngMainGetOrientation();
bool EngMainIsOrientationPortrait();
bool EngMainIsOrientationLandscape();

// The main window's graphics device while one exists (set by the rendering library);
// the core only asks whether there is one.
extern class EngDevice *EngMainDevice;
