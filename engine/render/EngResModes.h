// The list of display modes the graphics back end can use: the full-screen modes and
// the one mode of windowed play, each with the anti-aliasing choices it offers. The
// listing itself is the graphics back end's (the _DX9 members).
#pragma once
#include <cstdint>

enum
{
    ENG_RES_MODE_MAX_AA = 20,
};

struct _EngResMode
{
    int32_t width, height;
    int32_t depth;  // bits
    int32_t format; // the back end's surface format
    int32_t numAntiAliasing; // pairs in use, at most 20
    int32_t antiAliasing[ENG_RES_MODE_MAX_AA][2]; // {multisample type, quality}; pair 0 is off
};
static_assert(sizeof(_EngResMode) == 180, "display-mode record");

class EngResModes
{
public:
    // Fills the list.
    EngResModes();
    ~EngResModes();
    EngResModes(const EngResModes &) = delete;
    EngResModes &operator=(const EngResModes &) = delete;

    bool GetModesAvailable();
    // For the back end: room for n zeroed modes.
    bool AllocModesList(int n);
    bool IsSetup();
    int GetNumModes();
    _EngResMode *GetMode(int index);
    _EngResMode *GetWindowedMode();
    // In/out: the wanted size and depth become the closest full-screen mode's; the
    // format (optional) is set to 0.
    bool GetClosestFullScreenModeToMode(int32_t *width, int32_t *height, int32_t *depth, int32_t *format);
    // Out: the windowed mode's size (the desktop's) and depth.
    bool GetWindowedModeDetails(int32_t *width, int32_t *height, int32_t *depth, int32_t *format);

    // ---- Back end (graphics device side) ----
    bool GetModesAvailable_DX9();
    // The list from the device object; the popup flag is passed to its creation.
    bool GetList_DX9(bool showPopup);
    bool GetClosestFullScreenModeToMode_DX9(int32_t *width, int32_t *height, int32_t *depth);
    bool GetWindowedModeDetails_DX9(int32_t *width, int32_t *height, int32_t *depth);
    void ReleaseD3D_DX9();

    // Filled by the back end.
    int32_t numModes;
    _EngResMode *modes;
    _EngResMode *windowedMode;

private:
    void FreeLists();

    bool setup;
    void *workBlock;
    int32_t extra[2];
};

// "Off", "Level %d", "%dx%d" or "%dx%d Level %d" for an anti-aliasing pair {type,
// quality}; "(error)" for NULL, "?" for unknown types. The text lives until the next call.
const char *EngResModesGetMultiSampleText(const int32_t *pair);
