// Placeholder for the program object's and the main window's shared globals: the frame
// clock, the key-state table and the screen settings. The program-object and window
// modules own them and replace this header and EngGlobals_Placeholder.cpp when they land;
// until then the values stay at their start values unless a caller (or a test) sets them.
#pragma once
#include <cstdint>

// The frame clock every animation, fade and time-out reads.
struct _EngFrameTiming
{
    double currentTime; // seconds of the high-resolution clock, 0 at start
    float frameRate;    // frames per second, 60 at start
    float frameTime;    // seconds of the last frame, 1/60 at start
};
extern _EngFrameTiming EngFrameTiming;

// 256 key and button states by virtual-key code: 0 up, 2 went down; entries 1, 2 and 4
// are the left, right and middle mouse buttons.
extern uint8_t EngKeyStates[256];

// The virtual-key codes the game reads.
enum
{
    ENG_VK_ESCAPE = 0x1B,
    ENG_VK_SPACE = 0x20,
    ENG_VK_U = 'U',
};

// The screen state and its scale factors to and from the 640x480 virtual screen.
struct _EngScreenSettings
{
    uint8_t windowed;
    int32_t width, height, depth, refresh, verticalSync;
    int32_t multisampleType, multisampleQuality;
    uint8_t portrait;
    float scaleToScreenX, scaleToScreenY;   // width/640, height/480
    float scaleToVirtualX, scaleToVirtualY; // 640/width, 480/height
    float aspectWidthHeight, aspectHeightWidth;
    float widthCorrection;  // min(1, (height/width) x 4/3): keeps round things round
    float heightCorrection; // min(1, width/height)
    int32_t orientation;
};
extern _EngScreenSettings EngScreenSettings;
