// The display-mode list's owner and its checked accessors.
#include "EngResModes.h"

#include "EngDebug.h"
#include "EngDevice.h"
#include "EngMemory.h"

enum
{
    WORK_BLOCK_SIZE = 64,
};

EngResModes::EngResModes() : numModes(0), modes(nullptr), windowedMode(nullptr), setup(false), workBlock(nullptr),
                             extra{0, 0}
{
    workBlock = EngMalloc(WORK_BLOCK_SIZE, "EngResModes::EngResModes", true);
    GetModesAvailable();
}

EngResModes::~EngResModes()
{
    ReleaseD3D_DX9();
    FreeLists();
    EngFree(workBlock, false, ENG_FUNC);
}

void EngResModes::FreeLists()
{
    EngFree(modes, false, ENG_FUNC);
    EngFree(windowedMode, false, ENG_FUNC);
    modes = nullptr;
    windowedMode = nullptr;
    numModes = 0;
    setup = false;
}

bool EngResModes::GetModesAvailable()
{
    FreeLists();
    if (EngDeviceGetMainType() == ENG_DEVICE_NONE)
    {
        DebugError(ENG_FUNC, "Device type not set");
        return false;
    }
    windowedMode = (_EngResMode *)EngMalloc(sizeof(_EngResMode), "EngResModes::GetModesAvailable", true);
    if (!windowedMode)
        return false;
    if (EngDeviceGetMainType() != ENG_DEVICE_DX9 || !GetModesAvailable_DX9())
    {
        FreeLists();
        return false;
    }
    if (numModes < 1 || !modes)
    {
        DebugError(ENG_FUNC, "No modes.");
        FreeLists();
        return false;
    }
    setup = true;
    return true;
}

bool EngResModes::AllocModesList(int n)
{
    if (n <= 0)
    {
        DebugError(ENG_FUNC, "Bad num %d.", n);
        return false;
    }
    EngFree(modes, false, ENG_FUNC);
    numModes = 0;
    modes = (_EngResMode *)EngMalloc(sizeof(_EngResMode) * (size_t)n, "EngResModes::AllocModesList", true);
    if (!modes)
        return false;
    numModes = n;
    return true;
}

bool EngResModes::IsSetup()
{
    if (!setup || !modes || !windowedMode)
        return false;
    if (numModes >= 1)
        return true;
    DebugError(ENG_FUNC, "No modes.");
    FreeLists();
    return false;
}

int EngResModes::GetNumModes()
{
    if (!IsSetup())
    {
        DebugErrorCode(ENG_FUNC, EngFourCC("NSTP"));
        return 0;
    }
    return numModes;
}

_EngResMode *EngResModes::GetMode(int index)
{
    if (!IsSetup())
    {
        DebugErrorCode(ENG_FUNC, EngFourCC("NSTP"));
        return nullptr;
    }
    if (index < 0 || index >= numModes)
    {
        DebugError(ENG_FUNC, "Bad mode num %d (%d).", index, numModes);
        return nullptr;
    }
    return &modes[index];
}

_EngResMode *EngResModes::GetWindowedMode()
{
    if (!IsSetup())
    {
        DebugErrorCode(ENG_FUNC, EngFourCC("NSTP"));
        return nullptr;
    }
    return windowedMode;
}

bool EngResModes::GetClosestFullScreenModeToMode(int32_t *width, int32_t *height, int32_t *depth, int32_t *format)
{
    if (!IsSetup())
    {
        DebugErrorCode(ENG_FUNC, EngFourCC("NSTP"));
        return false;
    }
    if (EngDeviceGetMainType() != ENG_DEVICE_DX9)
        return false;
    if (format)
        *format = 0;
    return GetClosestFullScreenModeToMode_DX9(width, height, depth);
}

bool EngResModes::GetWindowedModeDetails(int32_t *width, int32_t *height, int32_t *depth, int32_t *format)
{
    if (!IsSetup())
    {
        DebugErrorCode(ENG_FUNC, EngFourCC("NSTP"));
        return false;
    }
    if (EngDeviceGetMainType() != ENG_DEVICE_DX9)
        return false;
    if (format)
        *format = 0;
    return GetWindowedModeDetails_DX9(width, height, depth);
}
