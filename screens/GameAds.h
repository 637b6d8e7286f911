// The catalogue of the maker's other products behind the other products screen: a fixed
// table of 32 rows, the rows this build shows, the current row and the stepping between
// rows, the two pictures of the current row, and the ways to a product (the installer
// download, a recommendation page sent to a friend).
#pragma once
#include <cstdint>

class EngTexture;

enum
{
    GAME_ADS_NUM = 32,
    GAME_ADS_TITLE_SIZE = 32,
    GAME_ADS_LINE_SIZE = 80,
    GAME_ADS_FILE_SIZE = 32,
    GAME_ADS_PATH_SIZE = 256,
    GAME_ADS_PROGRAM_SIZE = 64,
    GAME_ADS_PLAYER_SIZE = 80,
    GAME_ADS_LINK_SIZE = 512,
};

struct _GameAdTexts
{
    int32_t id;
    char titleCaps[GAME_ADS_TITLE_SIZE];
    char title[GAME_ADS_TITLE_SIZE];
    char lines[3][GAME_ADS_LINE_SIZE];
};

struct _GameAdFilenames
{
    int32_t id;
    char picture1[GAME_ADS_FILE_SIZE];
    char picture2[GAME_ADS_FILE_SIZE]; // empty: one picture, shown centred
    uint8_t flags[4];
    float widthFactor, heightFactor;
};

struct _GameAdVars
{
    int32_t id;
    uint8_t included;
    uint8_t hasAlpha; // picture 1 is a PNG or GIF file
};

// The rows this build shows (the desktop products but this game); reports rows whose
// records do not carry their own number.
void GameAdsSetupAdsToBeIncluded();
int GameAdsGetNumIncluded();
// `path` (5 to 255 characters, ending in "/"), the program's name (5 to 63) and the player's
// (stored when 1 to 79 characters, else empty). A refused path or program name changes
// nothing.
bool GameAdsSetInternetLinksPath(const char *path, const char *programName, const char *playerName);
const char *GameAdsGetInternetLinksPath();
const _GameAdTexts *GameAdsGetCurrentGameAdTexts();
const _GameAdFilenames *GameAdsGetCurrentGameAdFilenames();
const _GameAdVars *GameAdsGetCurrentGameAdVars();
int GameAdsGetCurrentRow();
// Makes `row` current, or the next included row after it (a bad row becomes 0 first).
void GameAdsSetCurGameAd(int row);
// Every change of the current row is written to *slot; a slot given makes its row current.
void GameAdsSetCurAdPointer(int16_t *slot);
void GameAdsGoToPrevAd();
void GameAdsGoToNextAd();
// "Data/IGA/<picture>" of the current row (which 0 or 1) in a new text the caller frees
// with EngFree; NULL when the row has no such picture.
char *GameAdsGetCurrentAdsPictureFilename(int which);
// Loads the current row's pictures into the textures "IGA1" and "IGA2" (with
// `onlyIfNeeded`, nothing when "IGA1" is loaded). False when picture 1 did not load.
bool GameAdsCreateGraphics(bool onlyIfNeeded);
void GameAdsReleaseGraphics();
EngTexture *GameAdsGetPicTexture1();
EngTexture *GameAdsGetPicTexture2();

// The installer download of the current row. The online part hands over how it downloads
// (the updater product number and the installer's address); without it no row can be
// downloaded.
typedef bool (*GameAdsDownloadFn)(int productNumber, const char *link);
void GameAdsSetDownloadHook(GameAdsDownloadFn download);
// The current row's installer address, or NULL.
const char *GameAdsGetDownloadLink();
// Whether the current row can be downloaded now (a link, a product number and the hook).
bool GameAdsCanDownload();
bool GameAdsInstantDownload();
// The recommendation page for the current row, its query values escaped, opened through
// the browser service after the program has ended.
bool GameAdsTellAFriend();
// The last link made (the recommendation page).
const char *GameAdsGetLink();
