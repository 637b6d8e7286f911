// The state every layer reads: frame clock, screen settings and key states, with the
// orientation and the design positions derived from the screen settings.
#include "EngGlobals.h"

// Before any window exists the screen is the 640x480 virtual screen itself.
_EngScreenSettings EngScreenSettings = {
    1, 640, 480, 32, 60, 0, 0, 0, 0, 0, 1.0f, 1.0f, 1.0f, 1.0f, 640.0f / 480.0f, 480.0f / 640.0f,
    1.0f, 1.0f, 1.0f, ENG_ORIENTATION_LANDSCAPE, 0};

_EngFrameTiming EngFrameTiming = {0.0, 60.0f, 1.0f / 60.0f};
uint8_t EngKeyStates[256] = {};
EngDevice *EngMainDevice = nullptr;

// ---- Orientation and design positions ----------------------------------------------------------------

void EngMainSetOrientation(int orientation)
{
    EngScreenSettings.orientation = orientation;
    EngScreenSettings.positionRotationMode = 0;
}

int EngMainGetOrientation()
{
    return EngScreenSettings.orientation;
}

bool EngMainIsOrientationPortrait()
{
    return EngScreenSettings.orientation == ENG_ORIENTATION_PORTRAIT ||
           EngScreenSettings.orientation == ENG_ORIENTATION_PORTRAIT_UPSIDE_DOWN;
}

bool EngMainIsOrientationLandscape()
{
    return EngScreenSettings.orientation == ENG_ORIENTATION_LANDSCAPE ||
           EngScreenSettings.orientation == ENG_ORIENTATION_LANDSCAPE_RIGHT;
}

bool EngMainConvertScreenPosToDesignPos(float x, float y, float *outX, float *outY)
{
    float width = (float)EngScreenSettings.width, height = (float)EngScreenSettings.height;
    if (width < 1 || height < 1 || !outX || !outY)
        return false;
    switch (EngScreenSettings.positionRotationMode)
    {
    case 0:
        *outX = 640.0f * x / width;
        *outY = 480.0f * y / height;
        break;
    case 1:
        *outX = 640.0f - 640.0f * x / width;
        *outY = 480.0f - 480.0f * y / height;
        break;
    case 2:
        *outX = 640.0f * y / height;
        *outY = 480.0f - 480.0f * x / width;
        break;
    case 3:
        *outX = (height - y) * 640.0f / height;
        *outY = 480.0f * x / width;
        break;
    default:
        break;
    }
    return true;
}
