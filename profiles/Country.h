// The country module: the fixed table of 222 countries (name, two-letter code, cell of
// the 16 x 16 flag atlas), lookups by code and name, the user's own country from the
// locale, and the flags drawn from the atlas picture. The country screen (CountryCC)
// and the player screens build on it; the score tables use its codes and flags.
#pragma once
#include <cstdint>

#include "EngTypes.h"

enum
{
    COUNTRY_NUM_COUNTRIES = 222,
    COUNTRY_NAME_SIZE = 64,
    COUNTRY_CODE_SIZE = 4,     // two letters, the terminator and one spare byte
    COUNTRY_PLAYER_CODE_SIZE = 3,
    COUNTRY_ATLAS_CELLS = 16,  // per row and per column
    COUNTRY_UK_FLAG_CELL = 223, // the United Kingdom's flag: an atlas cell with no table row
};

struct _Country
{
    char name[COUNTRY_NAME_SIZE];
    char code[COUNTRY_CODE_SIZE];
    uint16_t flagCell; // column = cell % 16, row = cell / 16
};

// Runs when a country was confirmed on the country screen: the chosen code and the
// context given with the callback.
typedef void (*CountryContinueFn)(const char *code, void *context);

// ---- Set-up ------------------------------------------------------------------------------
// `bigAtlas` picks the 1024-pixel atlas; `releaseAfterScreen` frees the atlas once a
// country was confirmed; the insets (design units) move the country screen's widgets
// in from the top and bottom. The game passes all zero. A second set-up returns true
// and changes nothing.
bool CountrySetup(char bigAtlas, char releaseAfterScreen, CountryContinueFn continueCallback, void *context,
                  float topInset, float bottomInset);
// Releases the atlas; the module back to its start state.
void CountryShutdown();
void CountrySetContinueCallback(CountryContinueFn continueCallback, void *context);
CountryContinueFn CountryGetContinueCallback(void **context);
// The top and bottom insets of the set-up.
void CountryGetInsets(float *top, float *bottom);
// Whether the atlas goes once a country was confirmed.
bool CountryReleaseAfterScreen();

// ---- The table ---------------------------------------------------------------------------
const _Country *CountryGetCountry(int index); // NULL outside 0-221
// The row name of an exact (case-sensitive) code; "UK" counts as "GB". An unknown code
// gives "(Unknown Country)" and is noted once per code; NULL or "" reports 'BAPA'.
const char *CountryGetCountryNameFromCode(const char *code);
// The row of an exact code, -1 when unknown (noted once per code). "UK" gives the row of
// "GB" with `mapUK`, else the United Kingdom's atlas cell 223 (no row).
int CountryGetCountryNumFromCode(const char *code, bool mapUK);
// The row of an exact name ("United Kingdom" counts as "England"); -1 when unknown.
int CountryGetCountryNumFromName(const char *name);

// ---- The user's own country --------------------------------------------------------------
// The row of the country the locale names (LC_ALL, LC_ADDRESS, LC_MESSAGES, LANG), -1
// with "Could not get local country pos" when none is found.
int CountryGetLocalCountryPos();
// That row's code, "??" when none.
const char *CountryGetLocalCountryCode();

// ---- The new player's country, shared by the new-player and country screens ------------
// Two letters and the terminator; empty until chosen.
char *CountryGetNewPlayerCountryCode();

// ---- Flags -------------------------------------------------------------------------------
// "Data/Common/CountryFlags1024.png" with the big atlas, else the 512 one; before set-up
// it reports 'NSTP' and names the 512 atlas.
const char *CountryGetFlagsFilename();
// True once the atlas is loaded; loads it when the file exists, else reports "Flags
// texture file does not exist <%s>".
bool CountryCreateGraphics();
void CountryReleaseGraphics();
bool CountryIsAtlasLoaded();
// The atlas cell of a row (0-221) or of the United Kingdom (223) as fractions of the
// atlas; false for any other index, so a caller never reads past the table.
bool CountryGetFlagTextureCoordinates(int index, float *left, float *top, float *right, float *bottom);
// The flag width beside a button (25 x the content scale), its y adjustment (-4) and gap (5).
void CountryGetFlagSize(float *width, float *yAdjust, float *gap);
// Draws the flag stretched into `rect` while a device and the atlas exist; nothing for
// an index without a flag.
void CountryDrawFlag(int index, const _Dimension *rect);
void CountryDrawFlagWithAlpha(int index, const _Dimension *rect, float alpha);
// Inside the right end of a button's area, and just right of it.
void CountryDrawFlagOnRightSideOfButton(int index, const _Dimension *area);
void CountryDrawFlagRightOfButton(int index, const _Dimension *area);
