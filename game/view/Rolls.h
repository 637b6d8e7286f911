// Roll frames: each of the ten ball colours is drawn from 35 pre-rendered frames of a
// rolling ball. They ship packed as 64x64 tiles in a few JPEG sheets without
// transparency; the first graphics creation cuts every frame out, gives it the round
// ball mask as alpha and stores it as a TGA file in the per-user "Rolls" folder, so
// later starts load ready frames. Needs a device (textures are read through locks).
#pragma once

enum
{
    ROLL_COLOURS = 10,
    ROLL_FRAMES = 35,       // stored frames per colour; 35-69 are drawn mirrored
    ROLL_SIZE = 64,         // pixels, square
    ROLL_SHEET_SIZE = 512,  // pixels, square: 8 x 8 tiles
    ROLL_TILES_PER_SHEET = 64,
};

// Makes every frame file that is missing or not a whole 64x64 32-bit TGA. False when
// the mask or a needed sheet cannot be loaded, or a frame cannot be saved: the frames
// made so far stay.
char TexGenCreateRollsFromPackedPictures();
// The frame file of `colour` (0-9) and `frame` (0-34): "<per-user Rolls>/Roll_CC_FF.tga"
// in one buffer that the next call overwrites; NULL (reported) outside those ranges.
const char *TexGenMakeRollFilename(int colour, int frame);
// 1 when every frame file exists (a start that only loads them); 0 when one is missing.
// A damaged file is found only when it is loaded.
char TexGenAllRollsStored();
// Runs the generation with the main window showing (ours is shown when it is made).
char TexGenShowWindowAndCreateRolls();
// The sheet file, tile x and tile y (pixels) of a frame: frame k = colour x 35 + frame
// lies in sheet k / 64, tile k % 64, eight tiles to a row.
void TexGenGetTile(int colour, int frame, int *sheet, int *x, int *y);
// Sheets loaded by generation since the program started (a check that a start with
// every frame present reads none).
int TexGenGetSheetsLoaded();
