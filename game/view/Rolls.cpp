// Roll frames cut from the packed sheets (see Rolls.h). Each missing frame: the tile is
// copied into an opaque 64x64 image and saved, loaded back as a texture, given the
// mask's alpha, and saved again over the first file.
#include "Rolls.h"

#include <cstdio>

#include "EngDebug.h"
#include "EngFile.h"
#include "EngPrefFolder.h"
#include "EngTexture.h"
#include "EngTga.h"

namespace
{
const char *const kMaskFile = "Data/RollAlpha64.tga";
// A whole frame file: the 18-byte header and 64 x 64 pixels of 4 bytes.
const uint32_t kFrameFileSize = ENG_TGA_HEADER_SIZE + ROLL_SIZE * ROLL_SIZE * 4;

struct
{
    char path[1024];
    int sheetsLoaded;
} s_rolls;

bool RollFileUsable(const char *path)
{
    return EngFileExists(path, false) && EngFileGetFileSize(path, false) == kFrameFileSize;
}

// One frame from the tile at (x, y) of the loaded sheet. False when it cannot be saved.
bool MakeFrame(const char *path, EngTexture *sheet, EngTexture *mask, int x, int y)
{
    EngTga image;
    if (!image.CreateWithColour(ROLL_SIZE, ROLL_SIZE, 32, 0.0f, 0.0f, 0.0f, 1.0f) ||
        !image.FillFromTexture(x, y, ROLL_SIZE, ROLL_SIZE, sheet, 0, 0, ROLL_SIZE, ROLL_SIZE, 0, 0,
                               ENG_TGA_ALPHA_KEEP, 1.0f))
    {
        DebugError(ENG_FUNC, "Could not cut roll texture <%s>", path);
        return false;
    }
    if (!image.SaveToFile(path))
    {
        DebugError(ENG_FUNC, "Could not save roll texture <%s>", path);
        return false;
    }
    EngTexture frame(nullptr, 1);
    if (!frame.LoadFromFile(path, 1, ENG_ALPHA_FROM_FILE, 0))
    {
        // Kept without the mask: square, but a ball all the same.
        DebugError(ENG_FUNC, "Could not reload roll texture <%s>", path);
        return true;
    }
    bool masked = frame.CopyAlphaChannelFromAnotherTexture(mask, 0, 0, -1, -1, 0, 0, -1, -1) &&
                  image.FillFromTexture(0, 0, ROLL_SIZE, ROLL_SIZE, &frame, 0, 0, ROLL_SIZE, ROLL_SIZE, 0, 0,
                                        ENG_TGA_ALPHA_COPY, 1.0f);
    frame.Release();
    if (!masked)
    {
        DebugError(ENG_FUNC, "Could not mask roll texture <%s>", path);
        return true;
    }
    EngFileDelete(path, false);
    if (!image.SaveToFile(path))
    {
        DebugError(ENG_FUNC, "Could not save roll texture <%s>", path);
        return false;
    }
    return true;
}
} // namespace

void TexGenGetTile(int colour, int frame, int *sheet, int *x, int *y)
{
    int k = colour * ROLL_FRAMES + frame;
    int tile = k % ROLL_TILES_PER_SHEET;
    *sheet = k / ROLL_TILES_PER_SHEET;
    *x = (tile % 8) * ROLL_SIZE;
    *y = (tile / 8) * ROLL_SIZE;
}

namespace
{
// The frame's path in `folder` (the per-user "Rolls" folder).
const char *FramePath(const char *folder, int colour, int frame)
{
    snprintf(s_rolls.path, sizeof(s_rolls.path), "%s/Roll_%02d_%02d.tga", folder, colour, frame);
    return s_rolls.path;
}
} // namespace

const char *TexGenMakeRollFilename(int colour, int frame)
{
    if (colour < 0 || colour >= ROLL_COLOURS || frame < 0 || frame >= ROLL_FRAMES)
    {
        DebugError(ENG_FUNC, "Invalid roll %d, %d", colour, frame);
        return nullptr;
    }
    const char *folder = PrefFolderGetSubFolder("Rolls", true);
    return folder ? FramePath(folder, colour, frame) : nullptr;
}

char TexGenCreateRollsFromPackedPictures()
{
    // The folder once: it is made when missing, and every frame lives in it.
    const char *rollsFolder = PrefFolderGetSubFolder("Rolls", true);
    if (!rollsFolder)
        return 0;
    char folder[960];
    snprintf(folder, sizeof(folder), "%s", rollsFolder);
    EngTexture mask(nullptr, 1), sheet(nullptr, 1);
    bool maskLoaded = false;
    int loadedSheet = -1;
    char result = 1;
    for (int colour = 0; colour < ROLL_COLOURS && result; colour++)
    {
        for (int frame = 0; frame < ROLL_FRAMES; frame++)
        {
            const char *name = FramePath(folder, colour, frame);
            if (RollFileUsable(name))
                continue;
            char path[1024];
            snprintf(path, sizeof(path), "%s", name);
            if (!maskLoaded)
            {
                if (!mask.LoadFromFile(kMaskFile, 1, ENG_ALPHA_FROM_FILE, 0))
                {
                    DebugError(ENG_FUNC, "Could not load ball alpha texture");
                    result = 0;
                    break;
                }
                maskLoaded = true;
            }
            int sheetNumber, x, y;
            TexGenGetTile(colour, frame, &sheetNumber, &x, &y);
            if (sheetNumber != loadedSheet)
            {
                char sheetFile[64];
                snprintf(sheetFile, sizeof(sheetFile), "Data/Packed/%02d.jpg", sheetNumber);
                sheet.Release();
                loadedSheet = -1;
                s_rolls.sheetsLoaded++;
                if (!sheet.LoadFromFile(sheetFile, 0, ENG_ALPHA_OPAQUE, 0))
                {
                    DebugError(ENG_FUNC, "Could not load packed picture <%s>", sheetFile);
                    result = 0;
                    break;
                }
                if (sheet.GetWidth() < ROLL_SHEET_SIZE || sheet.GetHeight() < ROLL_SHEET_SIZE)
                {
                    DebugError(ENG_FUNC, "Packed picture <%s> is %dx%d", sheetFile, sheet.GetWidth(),
                               sheet.GetHeight());
                    result = 0;
                    break;
                }
                loadedSheet = sheetNumber;
            }
            if (!MakeFrame(path, &sheet, &mask, x, y))
            {
                result = 0;
                break;
            }
        }
    }
    mask.Release();
    sheet.Release();
    return result;
}

char TexGenAllRollsStored()
{
    const char *rollsFolder = PrefFolderGetSubFolder("Rolls", false);
    if (!rollsFolder || !rollsFolder[0])
        return 0;
    char folder[960];
    snprintf(folder, sizeof(folder), "%s", rollsFolder);
    for (int colour = 0; colour < ROLL_COLOURS; colour++)
        for (int frame = 0; frame < ROLL_FRAMES; frame++)
            if (!EngFileExists(FramePath(folder, colour, frame), false))
                return 0;
    return 1;
}

char TexGenShowWindowAndCreateRolls()
{
    return TexGenCreateRollsFromPackedPictures();
}

int TexGenGetSheetsLoaded()
{
    return s_rolls.sheetsLoaded;
}
