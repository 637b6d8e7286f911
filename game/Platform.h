// Platform letters and icons, and the progress tones. Scores and uploaded puzzles carry
// the one-letter code of the machine they came from; its icon is a cell of one atlas
// picture. The progress tones are a rising series of short sounds chosen by a value
// from 0 to 100.
#pragma once
#include "EngTypes.h"

// This program's letter: 'W'.
char PlatformGetCurrentPlatform();
// True for the letters records may carry; otherwise false, logged with `log`.
char PlatformIsPlatformValid(char letter, char log);
// The texture coordinates of a letter's icon in the atlas (x, y, w, h carry left, top,
// right, bottom). False for a letter without an icon, logged with `log` at most 20 times
// in a run.
bool PlatformGetIconCoordinates(char letter, _Dimension *coordinates, char log);

// The tone file of row a (0-4) and column b (0-3), "Data/Common/Sounds/Progress/ProgressAB.wav":
// a new buffer the caller frees with EngFree; NULL for a pair outside the table or a
// missing file.
char *ProgressSoundsGetFilename(int a, int b);
// The tone and pitch of a value 0-100: each step of 5 is a tone, the rest raises the
// pitch from 0.7 in steps of 0.075. With `final` the last tone belongs to 100 alone.
// Every out pointer may be NULL.
char ProgressGetNumbersFromRangeOfZeroToOneHundred(int value, int *a, int *b, float *pitch, char final);
