// The catalogue of other products: the table, the rows shown, stepping, pictures, the
// download hook and the recommendation page. The products are the maker's (invented for
// this build); their pictures are made by the data generator under "Data/IGA".
#include "GameAds.h"

#include <cstdio>
#include <cstring>

#include "EngDebug.h"
#include "EngMemory.h"
#include "EngMisc.h"
#include "EngTexture.h"
#include "ScreensOnline.h"

namespace
{

const char kPicturesFolder[] = "Data/IGA";
const char kMakerHost[] = "https://www.fernbrooks.example";
const char kDownloadPath[] = "https://www.fernbrooks.example/downloads/";

enum _GameAdPlatform
{
    PLATFORM_DESKTOP,
    PLATFORM_IPHONE,
    PLATFORM_IPAD,
    PLATFORM_ANDROID,
    PLATFORM_BLACKBERRY,
    PLATFORM_ALL,
};

// One product: its texts, pictures, installer and recommendation key.
struct Product
{
    const char *titleCaps;
    const char *title;
    const char *lines[3];
    const char *picture1, *picture2;
    const char *installer;  // file name on the download path; NULL none
    int updaterProduct;     // 0 none
    const char *recommend;  // NULL: "All"
};

const Product kProducts[GAME_ADS_NUM] = {
    {"MARBLE TIDE", "Marble Tide",
     {"Ride the wave of rolling marbles and clear the shore.",
      "Sixty beaches, three tide speeds and a relaxing endless mode.", ""},
     "MarbleTide1.jpg", "MarbleTide2.jpg", "MarbleTideSetup.tar.gz", 1, "MarbleTide"},
    {"STAR LANES", "Star Lanes",
     {"Steer convoys of light through crowded star lanes.",
      "Plan routes, dodge comets and race the galactic clock.", "Eight sectors and a level editor."},
     "StarLanes1.jpg", "StarLanes2.jpg", "StarLanesSetup.tar.gz", 9, "StarLanes"},
    {"PLINX!", "Plinx!",
     {"Shoot coloured balls into the grid and match three.", "", ""},
     "", "", "PlinxSetup.tar.gz", 2, "Plinx"},
    {"STAR LANES HD", "Star Lanes HD", {"Star Lanes for tablets.", "", ""}, "", "", nullptr, 0, "StarLanes"},
    {"TILE TOWER DELUXE", "Tile Tower Deluxe",
     {"The tower of tiles, deluxe.", "", ""},
     "", "", nullptr, 18, "TileTower"},
    {"TILE TOWER", "Tile Tower",
     {"Match pairs of tiles and bring the tower down floor by floor.", "Hundreds of towers and a daily challenge.", ""},
     "TileTower1.jpg", "TileTower2.jpg", "TileTowerSetup.tar.gz", 3, "TileTower"},
    {"MARBLE TIDE HD", "Marble Tide HD", {"Marble Tide for tablets.", "", ""}, "", "", nullptr, 0, "MarbleTide"},
    {"MARBLE TIDE GO", "Marble Tide Go", {"Marble Tide on Android phones.", "", ""}, "", "", nullptr, 0, "MarbleTide"},
    {"ORBIT GOLF CLASSIC", "Orbit Golf Classic", {"The first Orbit Golf.", "", ""}, "", "", nullptr, 0, "OrbitGolf"},
    {"WORD ORCHARD", "Word Orchard",
     {"Pick letters from the trees and grow words.",
      "The longer the word, the richer the harvest.", "Four seasons, each with its own rules."},
     "WordOrchard1.jpg", "WordOrchard2.jpg", "WordOrchardSetup.tar.gz", 6, "WordOrchard"},
    {"GEM CASCADE", "Gem Cascade",
     {"Swap gems and start cascades that shake the whole mine.", "Dig deeper for rarer gems and bigger combos.", ""},
     "GemCascade1.jpg", "", "GemCascadeSetup.tar.gz", 5, "GemCascade"},
    {"CARD ISLES", "Card Isles",
     {"Solitaire across a chain of tropical islands.", "Twelve card games, one map to explore.", ""},
     "CardIsles1.jpg", "CardIsles2.jpg", "CardIslesSetup.tar.gz", 4, "CardIsles"},
    {"TILE TOWER POCKET", "Tile Tower Pocket", {"Tile Tower for iPhone.", "", ""}, "", "", nullptr, 0, "TileTower"},
    {"TILE TOWER HD", "Tile Tower HD", {"Tile Tower for iPad.", "", ""}, "", "", nullptr, 0, "TileTower"},
    {"TILE TOWER GO", "Tile Tower Go", {"Tile Tower on Android.", "", ""}, "", "", nullptr, 0, "TileTower"},
    {"BLOCK DRIFT", "Block Drift",
     {"Slide blocks across the ice until every one fits.", "Tricky physics, gentle music and 150 puzzles.", ""},
     "BlockDrift1.jpg", "BlockDrift2.jpg", "BlockDriftSetup.tar.gz", 7, "BlockDrift"},
    {"CARD ISLES POCKET", "Card Isles Pocket", {"Card Isles for iPhone.", "", ""}, "", "", nullptr, 0, "CardIsles"},
    {"CARD ISLES HD", "Card Isles HD", {"Card Isles for iPad.", "", ""}, "", "", nullptr, 0, "CardIsles"},
    {"CARD ISLES GO", "Card Isles Go", {"Card Isles on Android.", "", ""}, "", "", nullptr, 0, "CardIsles"},
    {"WORD ORCHARD CLASSIC", "Word Orchard Classic",
     {"The first Word Orchard.", "", ""},
     "", "", nullptr, 0, "WordOrchard"},
    {"FERNBROOKS ARCADE", "Fernbrooks Arcade",
     {"All our games in one place, on every device.", "", ""},
     "", "", nullptr, 0, nullptr},
    {"PIPE WORKS", "Pipe Works",
     {"Lay pipes before the water arrives.", "Valves, pumps and leaks make every level a new machine.", ""},
     "PipeWorks1.jpg", "PipeWorks2.jpg", "PipeWorksSetup.tar.gz", 8, "PipeWorks"},
    {"POCKET POOL", "Pocket Pool",
     {"Trick shots on tables of every shape.", "Bank, curve and jump your way through the tour.", ""},
     "PocketPool1.jpg", "", "PocketPoolSetup.tar.gz", 11, "PocketPool"},
    {"BLOCK DRIFT POCKET", "Block Drift Pocket", {"Block Drift for iPhone.", "", ""}, "", "", nullptr, 0, "BlockDrift"},
    {"BLOCK DRIFT HD", "Block Drift HD", {"Block Drift for iPad.", "", ""}, "", "", nullptr, 0, "BlockDrift"},
    {"BLOCK DRIFT GO", "Block Drift Go", {"Block Drift on Android.", "", ""}, "", "", nullptr, 0, "BlockDrift"},
    {"BLOCK DRIFT KEYS", "Block Drift Keys", {"Block Drift for BlackBerry.", "", ""}, "", "", nullptr, 0, "BlockDrift"},
    {"PIPE WORKS CLASSIC", "Pipe Works Classic", {"The first Pipe Works.", "", ""}, "", "", nullptr, 0, "PipeWorks"},
    {"LANTERN MAZE", "Lantern Maze",
     {"Carry your lantern through the maze before it burns out.", "Light the way for the others following you.", ""},
     "LanternMaze1.png", "LanternMaze2.jpg", "LanternMazeSetup.tar.gz", 13, "LanternMaze"},
    {"ORBIT GOLF", "Orbit Golf",
     {"Golf between the planets: every ball follows gravity.", "Eighteen holes in each of five solar systems.", ""},
     "OrbitGolf1.jpg", "", "OrbitGolfSetup.tar.gz", 15, "OrbitGolf"},
    {"GEM CASCADE DELUXE", "Gem Cascade Deluxe",
     {"Gem Cascade with new mines.", "", ""},
     "", "", "GemCascadeDeluxeSetup.tar.gz", 17, "GemCascade"},
    {"POCKET POOL CLASSIC", "Pocket Pool Classic",
     {"The first Pocket Pool.", "", ""},
     "", "", nullptr, 0, "PocketPool"},
};

// The rows this desktop build shows: the desktop products but this game.
const int kShownRows[] = {0, 1, 5, 9, 10, 11, 15, 21, 22, 28, 29};

_GameAdPlatform PlatformOfRow(int row)
{
    switch (row)
    {
    case 12:
    case 16:
    case 23:
        return PLATFORM_IPHONE;
    case 3:
    case 6:
    case 13:
    case 17:
    case 24:
        return PLATFORM_IPAD;
    case 7:
    case 14:
    case 18:
    case 25:
        return PLATFORM_ANDROID;
    case 26:
        return PLATFORM_BLACKBERRY;
    case 20:
        return PLATFORM_ALL;
    default:
        return PLATFORM_DESKTOP;
    }
}

struct Catalogue
{
    bool tablesMade;
    _GameAdTexts texts[GAME_ADS_NUM];
    _GameAdFilenames files[GAME_ADS_NUM];
    _GameAdVars vars[GAME_ADS_NUM];
    int current;
    int16_t *slot;
    char path[GAME_ADS_PATH_SIZE];
    char programName[GAME_ADS_PROGRAM_SIZE];
    char playerName[GAME_ADS_PLAYER_SIZE];
    char link[GAME_ADS_LINK_SIZE];
    char downloadLink[GAME_ADS_LINK_SIZE];
    GameAdsDownloadFn download;
};
Catalogue s_ads = {};
EngTexture s_picture1("IGA1");
EngTexture s_picture2("IGA2");

// The records are made from the product table once, each carrying its own row number.
void MakeTables()
{
    if (s_ads.tablesMade)
        return;
    s_ads.tablesMade = true;
    snprintf(s_ads.path, sizeof(s_ads.path), "%s/", kMakerHost);
    EngSafeStrcpy(s_ads.programName, "Unknown", sizeof(s_ads.programName));
    for (int row = 0; row < GAME_ADS_NUM; row++)
    {
        const Product &p = kProducts[row];
        _GameAdTexts &t = s_ads.texts[row];
        t.id = row;
        EngSafeStrcpy(t.titleCaps, p.titleCaps, sizeof(t.titleCaps));
        EngSafeStrcpy(t.title, p.title, sizeof(t.title));
        for (int i = 0; i < 3; i++)
            EngSafeStrcpy(t.lines[i], p.lines[i], sizeof(t.lines[i]));
        _GameAdFilenames &f = s_ads.files[row];
        f.id = row;
        EngSafeStrcpy(f.picture1, p.picture1, sizeof(f.picture1));
        EngSafeStrcpy(f.picture2, p.picture2, sizeof(f.picture2));
        f.widthFactor = 1.0f;
        f.heightFactor = PlatformOfRow(row) == PLATFORM_IPHONE ? 0.7f : 1.0f;
        s_ads.vars[row].id = row;
    }
}

int ValidRow(int row)
{
    if (row < 0 || row >= GAME_ADS_NUM)
    {
        DebugError(ENG_FUNC, "Bad current ad num: %d.", row);
        s_ads.current = 0;
        return 0;
    }
    return row;
}

void StoreInSlot()
{
    if (s_ads.slot)
        *s_ads.slot = (int16_t)s_ads.current;
}

// The nearest included row from the current one in `direction`, 32 rows at most; the
// current row stays when none is.
void Step(int direction)
{
    MakeTables();
    int row = s_ads.current;
    for (int tries = 0; tries < GAME_ADS_NUM; tries++)
    {
        row = (row + direction + GAME_ADS_NUM) % GAME_ADS_NUM;
        if (s_ads.vars[row].included)
        {
            s_ads.current = row;
            break;
        }
    }
    StoreInSlot();
}

bool EndsWith(const char *text, const char *end)
{
    size_t length = strlen(text), endLength = strlen(end);
    return length >= endLength && strcasecmp(text + length - endLength, end) == 0;
}

bool LoadPicture(EngTexture &texture, const char *file, bool *alpha)
{
    *alpha = EndsWith(file, ".png") || EndsWith(file, ".gif");
    return *alpha ? texture.LoadFromFile(file, 1, ENG_ALPHA_FROM_FILE, 0) : texture.LoadFromFile(file, 0, 0, 0);
}

// Appends `value` to out with every byte outside the unreserved set as %XX.
bool AppendEscaped(char *out, size_t size, const char *value)
{
    static const char kHex[] = "0123456789ABCDEF";
    size_t length = strlen(out);
    for (const unsigned char *p = (const unsigned char *)value; *p; p++)
    {
        bool plain = (*p >= 'A' && *p <= 'Z') || (*p >= 'a' && *p <= 'z') || (*p >= '0' && *p <= '9') ||
                     strchr("-._~", *p);
        size_t need = plain ? 1 : 3;
        if (length + need >= size)
            return false;
        if (plain)
            out[length++] = (char)*p;
        else
        {
            out[length++] = '%';
            out[length++] = kHex[*p >> 4];
            out[length++] = kHex[*p & 15];
        }
    }
    out[length] = 0;
    return true;
}

bool AppendText(char *out, size_t size, const char *text)
{
    size_t length = strlen(out), add = strlen(text);
    if (length + add >= size)
        return false;
    memcpy(out + length, text, add + 1);
    return true;
}

} // namespace

void GameAdsSetupAdsToBeIncluded()
{
    MakeTables();
    for (int row = 0; row < GAME_ADS_NUM; row++)
    {
        if (s_ads.texts[row].id != row)
            DebugError(ENG_FUNC, "Texts ID for %d is %d", row, s_ads.texts[row].id);
        if (s_ads.files[row].id != row)
            DebugError(ENG_FUNC, "Filenames ID for %d is %d", row, s_ads.files[row].id);
        if (s_ads.vars[row].id != row)
            DebugError(ENG_FUNC, "Vars ID for %d is %d", row, s_ads.vars[row].id);
        s_ads.vars[row].included = 0;
    }
    if (!EngMiscIsDesktopPlatform())
        return;
    for (int row : kShownRows)
        s_ads.vars[row].included = 1;
}

int GameAdsGetNumIncluded()
{
    MakeTables();
    int count = 0;
    for (const _GameAdVars &vars : s_ads.vars)
        count += vars.included ? 1 : 0;
    return count;
}

bool GameAdsSetInternetLinksPath(const char *path, const char *programName, const char *playerName)
{
    MakeTables();
    // A path that does not fit whole is refused: cut, it would lose its closing "/".
    size_t pathLength = path ? strlen(path) : 0;
    if (pathLength < 5 || pathLength >= GAME_ADS_PATH_SIZE || path[pathLength - 1] != '/')
    {
        DebugError(ENG_FUNC, "Invalid path");
        return false;
    }
    size_t programLength = programName ? strlen(programName) : 0;
    if (programLength < 5 || programLength >= GAME_ADS_PROGRAM_SIZE)
    {
        DebugError(ENG_FUNC, "Invalid from prog");
        return false;
    }
    EngSafeStrcpy(s_ads.path, path, sizeof(s_ads.path));
    EngSafeStrcpy(s_ads.programName, programName, sizeof(s_ads.programName));
    size_t playerLength = playerName ? strlen(playerName) : 0;
    if (playerLength > 0 && playerLength < GAME_ADS_PLAYER_SIZE)
        EngSafeStrcpy(s_ads.playerName, playerName, sizeof(s_ads.playerName));
    else
        s_ads.playerName[0] = 0;
    return true;
}

const char *GameAdsGetInternetLinksPath()
{
    MakeTables();
    return s_ads.path;
}

const _GameAdTexts *GameAdsGetCurrentGameAdTexts()
{
    MakeTables();
    return &s_ads.texts[ValidRow(s_ads.current)];
}

const _GameAdFilenames *GameAdsGetCurrentGameAdFilenames()
{
    MakeTables();
    return &s_ads.files[ValidRow(s_ads.current)];
}

const _GameAdVars *GameAdsGetCurrentGameAdVars()
{
    MakeTables();
    return &s_ads.vars[ValidRow(s_ads.current)];
}

int GameAdsGetCurrentRow()
{
    return s_ads.current;
}

void GameAdsSetCurGameAd(int row)
{
    MakeTables();
    if (row < 0 || row >= GAME_ADS_NUM)
    {
        DebugError(ENG_FUNC, "Invalid ad num %d", row);
        row = 0;
    }
    s_ads.current = row;
    Step(-1);
    Step(1);
}

void GameAdsSetCurAdPointer(int16_t *slot)
{
    s_ads.slot = slot;
    if (slot)
        GameAdsSetCurGameAd(*slot);
}

void GameAdsGoToPrevAd()
{
    Step(-1);
}

void GameAdsGoToNextAd()
{
    Step(1);
}

char *GameAdsGetCurrentAdsPictureFilename(int which)
{
    const _GameAdFilenames *files = GameAdsGetCurrentGameAdFilenames();
    if (which != 0 && which != 1)
    {
        DebugErrorCode(ENG_FUNC, EngFourCC("BAPA"));
        return nullptr;
    }
    const char *picture = which == 0 ? files->picture1 : files->picture2;
    if (!picture[0])
    {
        if (which == 0)
            DebugError(ENG_FUNC, "No filename for pic %d.", which);
        return nullptr;
    }
    char *name = (char *)EngMalloc(128, ENG_FUNC, true);
    if (name)
        snprintf(name, 128, "%s/%s", kPicturesFolder, picture);
    return name;
}

bool GameAdsCreateGraphics(bool onlyIfNeeded)
{
    if (onlyIfNeeded && s_picture1.IsLoaded())
        return true;
    GameAdsReleaseGraphics();
    char *first = GameAdsGetCurrentAdsPictureFilename(0);
    if (!first)
    {
        DebugError(ENG_FUNC, "No pic filename for pic %d:%d", s_ads.current, 0);
        return false;
    }
    bool alpha = false;
    bool loaded = LoadPicture(s_picture1, first, &alpha);
    EngFree(first, false, ENG_FUNC);
    if (!loaded)
        return false;
    s_ads.vars[ValidRow(s_ads.current)].hasAlpha = alpha ? 1 : 0;
    if (char *second = GameAdsGetCurrentAdsPictureFilename(1))
    {
        bool secondAlpha = false;
        LoadPicture(s_picture2, second, &secondAlpha);
        EngFree(second, false, ENG_FUNC);
    }
    return true;
}

void GameAdsReleaseGraphics()
{
    s_picture1.Release();
    s_picture2.Release();
}

EngTexture *GameAdsGetPicTexture1()
{
    return &s_picture1;
}

EngTexture *GameAdsGetPicTexture2()
{
    return &s_picture2;
}

void GameAdsSetDownloadHook(GameAdsDownloadFn download)
{
    s_ads.download = download;
}

const char *GameAdsGetDownloadLink()
{
    MakeTables();
    const Product &p = kProducts[ValidRow(s_ads.current)];
    if (!p.installer)
        return nullptr;
    snprintf(s_ads.downloadLink, sizeof(s_ads.downloadLink), "%s%s", kDownloadPath, p.installer);
    return s_ads.downloadLink;
}

bool GameAdsCanDownload()
{
    return s_ads.download && GameAdsGetDownloadLink() && kProducts[ValidRow(s_ads.current)].updaterProduct > 0;
}

bool GameAdsInstantDownload()
{
    if (!GameAdsCanDownload())
    {
        DebugError(ENG_FUNC, "No download for ad %d", s_ads.current);
        return false;
    }
    return s_ads.download(kProducts[s_ads.current].updaterProduct, GameAdsGetDownloadLink());
}

bool GameAdsTellAFriend()
{
    MakeTables();
    const Product &p = kProducts[ValidRow(s_ads.current)];
    char *link = s_ads.link;
    snprintf(link, GAME_ADS_LINK_SIZE, "%s/cgi-bin/common/friend/ShowTellAFriend.cgi?from_prog=", kMakerHost);
    bool fits = AppendEscaped(link, GAME_ADS_LINK_SIZE, s_ads.programName) &&
                AppendText(link, GAME_ADS_LINK_SIZE, "&rec=") &&
                AppendEscaped(link, GAME_ADS_LINK_SIZE, p.recommend ? p.recommend : "All") &&
                AppendText(link, GAME_ADS_LINK_SIZE, "&&user_name=") &&
                AppendEscaped(link, GAME_ADS_LINK_SIZE, s_ads.playerName);
    if (!fits || strlen(link) > SCREENS_MAX_URL_LENGTH)
    {
        DebugError(ENG_FUNC, "Link too long");
        link[0] = 0;
        return false;
    }
    // The browser opens after the game has closed, in a window as in full screen.
    ScreensGoOnline(nullptr, nullptr, link, false, false, true, true);
    return true;
}

const char *GameAdsGetLink()
{
    return s_ads.link;
}
