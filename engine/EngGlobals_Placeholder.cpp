// Placeholder definitions of the frame clock, key states and screen settings (see
// EngGlobals.h): the program-object and window modules replace this file.
#include "EngGlobals.h"

_EngFrameTiming EngFrameTiming = {0.0, 60.0f, 1.0f / 60.0f};
uint8_t EngKeyStates[256];
_EngScreenSettings EngScreenSettings = {
    1, 640, 480, 32, 60, 0, 0, 0, 0, 1.0f, 1.0f, 1.0f, 1.0f, 640.0f / 480.0f, 480.0f / 640.0f, 1.0f, 1.0f, 2};
