// Small helpers every DX9 back-end file uses: the device object for the mode list, the
// engine's format table, the choice of a surface format and the result checker.
#pragma once
#include "PlatD3d9.h"

struct _EngFormatInfo
{
    PlatD3dFormat format;
    int bits;
    char alpha;
};
enum
{
    ENG_DX9_FORMAT_COUNT = 8,
};
// X8R8G8B8, A8R8G8B8, R5G6B5, X1R5G5B5, A1R5G5B5, X4R4G4B4, A4R4G4B4, R8G8B8.
extern const _EngFormatInfo eng_dx9_formats[ENG_DX9_FORMAT_COUNT];

// The device object of the display-mode list; a second call reports "Already called"
// and answers the same object.
PlatD3d *EngUtilsDX9_CreateD3D(bool showPopup);
void EngUtilsDX9_ReleaseD3D();
bool EngUtilsDX9_GetFormatInfo(PlatD3dFormat format, int *bits, char *alpha);
// Bits of a format of the table (and its alpha flag); 0 for others, reported when asked.
int EngUtilsDX9_GetBitdepthFromFormat(PlatD3dFormat format, char *alpha, bool report);
// A8R8G8B8 with alpha, X8R8G8B8 without.
bool EngUtilsDX9_GetSupportedSurfaceFormat(PlatD3dFormat *out, bool alpha);
// True for 0; otherwise reports "operation: description" under `owner` and answers false.
bool EngUtilsDX9_CheckResult(const char *owner, const char *operation, PlatResult result);
// The description of a result ("Unknown error <0x%x>" in a static buffer for others).
const char *EngUtilsDX9_GetResultText(PlatResult result);
// A vertex colour from components 0-1: A, R, G, B bytes of each component x 255,
// truncated, and held at 0 and 255 so that values outside 0..1 never wrap round.
uint32_t EngUtilsDX9_ColourToArgb(float r, float g, float b, float a);
