// The device side of the display-mode list: every mode of the first adapter in the
// engine's formats, one entry per size and depth (refresh rates are not kept), each
// with the anti-aliasing choices the device offers at that format; the windowed mode is
// the desktop's. Also the closest full-screen mode to a wish and the anti-aliasing text.
#include <algorithm>
#include <cstdio>
#include <cstdlib>

#include "EngDebug.h"
#include "EngMisc.h"
#include "EngResModes.h"
#include "EngUtilsDX9.h"

namespace
{
struct
{
    PlatD3d *d3d;
    bool owned;
} s_modes = {nullptr, false};

enum
{
    MAX_MODES = 512,
};

// Pair 0 is off; then each offered type 2..15 with its quality levels; the non-maskable
// type's levels only when the types gave fewer pairs than it has levels.
void FillAntiAliasing(_EngResMode *mode, PlatD3dFormat format)
{
    mode->antiAliasing[0][0] = 0;
    mode->antiAliasing[0][1] = 0;
    mode->numAntiAliasing = 1;
    int fromTypes = 0;
    for (uint32_t type = 2; type <= 15; type++)
    {
        uint32_t levels = 0;
        if (PlatD3dCheckDeviceMultiSampleType(s_modes.d3d, 0, PLAT_DEVTYPE_HAL, format, false, type, &levels) !=
            PLAT_D3D_OK)
            continue;
        for (uint32_t q = 0; q < levels && mode->numAntiAliasing < ENG_RES_MODE_MAX_AA; q++)
        {
            mode->antiAliasing[mode->numAntiAliasing][0] = (int32_t)type;
            mode->antiAliasing[mode->numAntiAliasing][1] = (int32_t)q;
            mode->numAntiAliasing++;
            fromTypes++;
        }
    }
    uint32_t levels = 0;
    if (PlatD3dCheckDeviceMultiSampleType(s_modes.d3d, 0, PLAT_DEVTYPE_HAL, format, false,
                                          PLAT_MULTISAMPLE_NONMASKABLE, &levels) == PLAT_D3D_OK &&
        (uint32_t)fromTypes < levels)
        for (uint32_t q = 0; q < levels && mode->numAntiAliasing < ENG_RES_MODE_MAX_AA; q++)
        {
            mode->antiAliasing[mode->numAntiAliasing][0] = PLAT_MULTISAMPLE_NONMASKABLE;
            mode->antiAliasing[mode->numAntiAliasing][1] = (int32_t)q;
            mode->numAntiAliasing++;
        }
}
} // namespace

bool EngResModes::GetModesAvailable_DX9()
{
    return GetList_DX9(true);
}

bool EngResModes::GetList_DX9(bool showPopup)
{
    if (!s_modes.d3d)
    {
        s_modes.d3d = EngUtilsDX9_CreateD3D(showPopup);
        if (!s_modes.d3d)
        {
            DebugError(ENG_FUNC, "Could not create directx object");
            return false;
        }
        s_modes.owned = true;
    }
    if (!AllocModesList(MAX_MODES))
    {
        ReleaseD3D_DX9();
        return false;
    }
    int count = 0;
    for (const _EngFormatInfo &info : eng_dx9_formats)
    {
        uint32_t available = PlatD3dGetAdapterModeCount(s_modes.d3d, 0, info.format);
        for (uint32_t i = 0; i < available; i++)
        {
            PlatD3dDisplayMode mode;
            if (!EngUtilsDX9_CheckResult("EngResModes::GetList", "EnumAdapterModes",
                                         PlatD3dEnumAdapterModes(s_modes.d3d, 0, info.format, i, &mode)))
                continue;
            bool known = false;
            for (int j = 0; j < count && !known; j++)
                known = modes[j].width == (int32_t)mode.width && modes[j].height == (int32_t)mode.height &&
                        modes[j].depth == info.bits;
            if (known)
                continue;
            if (count >= MAX_MODES)
            {
                DebugNoteInFunction(DEBUG_NOTE_STANDARD, ENG_FUNC, "Not all modes were added.");
                continue;
            }
            _EngResMode &entry = modes[count++];
            entry.width = (int32_t)mode.width;
            entry.height = (int32_t)mode.height;
            entry.depth = info.bits;
            entry.format = (int32_t)mode.format;
            FillAntiAliasing(&entry, mode.format);
        }
    }
    numModes = count;
    if (count == 0)
    {
        DebugError(ENG_FUNC, "No modes.");
        ReleaseD3D_DX9();
        return false;
    }
    std::sort(modes, modes + count, [](const _EngResMode &a, const _EngResMode &b) {
        if (a.depth != b.depth)
            return a.depth > b.depth;
        if (a.width != b.width)
            return a.width > b.width;
        return a.height > b.height;
    });
    PlatD3dDisplayMode desktop;
    if (PlatD3dGetAdapterDisplayMode(s_modes.d3d, 0, &desktop) == PLAT_D3D_OK)
    {
        windowedMode->width = (int32_t)desktop.width;
        windowedMode->height = (int32_t)desktop.height;
        windowedMode->format = (int32_t)desktop.format;
        windowedMode->depth = EngUtilsDX9_GetBitdepthFromFormat(desktop.format, nullptr, false);
        FillAntiAliasing(windowedMode, desktop.format);
    }
    else
    {
        windowedMode->width = 0;
        windowedMode->height = 0;
        windowedMode->depth = 32;
        windowedMode->format = 0;
        windowedMode->numAntiAliasing = 1;
        windowedMode->antiAliasing[0][0] = 0;
        windowedMode->antiAliasing[0][1] = 0;
    }
    ReleaseD3D_DX9();
    return true;
}

bool EngResModes::GetClosestFullScreenModeToMode_DX9(int32_t *width, int32_t *height, int32_t *depth)
{
    if (!width || !height || !depth)
    {
        DebugError(ENG_FUNC, "Invalid Parameters");
        return false;
    }
    if (!modes)
    {
        DebugError(ENG_FUNC, "Modes not setup");
        return false;
    }
    if (numModes < 1)
    {
        DebugError(ENG_FUNC, "Could not get closest mode");
        return false;
    }
    int best = 0;
    int64_t bestScore = INT64_MAX;
    for (int i = 0; i < numModes; i++)
    {
        // Each bit of depth outweighs any size difference.
        int64_t score = (int64_t)llabs((int64_t)modes[i].depth - *depth) * 10000 +
                        llabs((int64_t)modes[i].width - *width) + llabs((int64_t)modes[i].height - *height);
        if (score < bestScore)
        {
            bestScore = score;
            best = i;
        }
    }
    *width = modes[best].width;
    *height = modes[best].height;
    *depth = modes[best].depth;
    return true;
}

bool EngResModes::GetWindowedModeDetails_DX9(int32_t *width, int32_t *height, int32_t *depth)
{
    if (!windowedMode)
    {
        DebugError(ENG_FUNC, "Modes not setup");
        return false;
    }
    if (depth)
        *depth = windowedMode->depth;
    int x = 0, y = 0, desktopWidth = 0, desktopHeight = 0;
    EngMiscGetDesktopDimensions_PC(&x, &y, &desktopWidth, &desktopHeight, false, false);
    if (width)
        *width = desktopWidth;
    if (height)
        *height = desktopHeight;
    return true;
}

void EngResModes::ReleaseD3D_DX9()
{
    if (s_modes.owned)
        EngUtilsDX9_ReleaseD3D();
    s_modes.d3d = nullptr;
    s_modes.owned = false;
}

const char *EngResModesGetMultiSampleText(const int32_t *pair)
{
    static char text[64];
    if (!pair)
        return "(error)";
    int type = pair[0], quality = pair[1];
    if (type == 0)
        return "Off";
    if (type == 1)
        snprintf(text, sizeof(text), "Level %d", quality + 1);
    else if (type >= 2 && type <= 16)
    {
        if (quality == 0)
            snprintf(text, sizeof(text), "%dx%d", type, type);
        else
            snprintf(text, sizeof(text), "%dx%d Level %d", type, type, quality + 1);
    }
    else
        return "?";
    return text;
}
