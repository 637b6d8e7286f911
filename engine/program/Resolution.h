// Start-up settings: the ResolutionSettings record kept whole in "Resolution.dat" in the
// per-user folder, applied to the screen settings, the window creation parameters and the
// program's GPU sync, and edited in the start-up settings dialog.
#pragma once
#include <cstddef>
#include <cstdint>

#include "EngMisc.h"

enum
{
    RESOLUTION_FILE_SIZE = 424,
    RESOLUTION_LANGUAGE_NAME_SIZE = 64,
    RESOLUTION_PLAYER_NAME_SIZE = 36,
    RESOLUTION_INTERNET_TEST_NEEDED = 255,
    RESOLUTION_INTERNET_TEST_PASSED = 1,
    RESOLUTION_INTERNET_TEST_DECLINED = 0,
};

// The whole file, little-endian. Padding bytes keep whatever the record held.
struct ResolutionSettings
{
    float formatValue;          // a file whose value differs is not accepted
    float programVersion;       // of the program that wrote the file
    uint8_t showStartupWindow;  // 1: show the start-up dialog at the next start
    uint8_t padding9[3];
    _EngMiscDate lastVersionCheck; // zero: never
    uint8_t windowed;           // 0 full screen, 1 windowed
    uint8_t padding21[3];
    int32_t windowX, windowY;   // -1: placed by the system
    int32_t windowedWidth, windowedHeight, windowedDepth;
    int32_t fullScreenWidth, fullScreenHeight, fullScreenDepth, fullScreenRefresh;
    int32_t windowedMultisampleType, windowedMultisampleQuality;
    int32_t fullScreenMultisampleType, fullScreenMultisampleQuality;
    uint8_t reserved76, reserved77;
    char languageName[RESOLUTION_LANGUAGE_NAME_SIZE];
    uint8_t languageFlag;       // set to 1 whenever the language name is written
    uint8_t padding143;
    int32_t mouseSync;          // 0 off, 1 method 1, 2 method 2
    uint8_t cursorType;         // 0 texture cursor, 1 system cursor
    uint8_t soundOn;
    uint8_t reserved150;
    uint8_t padding151[80];
    uint8_t reserved231;
    uint8_t padding232[79];
    uint8_t musicOn;
    uint8_t internetTest[4];    // [0] program type 0, [1] other types (255 needed, 1 passed, 0 declined), 2 spare
    char lastPlayerName[RESOLUTION_PLAYER_NAME_SIZE]; // empty: none
    uint8_t reserved352[5];
    uint8_t reserved357;
    uint8_t reserved358;
    int8_t fullScreenVerticalSync; // 0 automatic, 1 on, 2 off
    int8_t windowedVerticalSync;
    uint8_t unused361[63];      // not written by the defaults
};

static_assert(sizeof(_EngMiscDate) == 8, "date record");
static_assert(sizeof(ResolutionSettings) == RESOLUTION_FILE_SIZE, "Resolution.dat record");
static_assert(offsetof(ResolutionSettings, formatValue) == 0);
static_assert(offsetof(ResolutionSettings, programVersion) == 4);
static_assert(offsetof(ResolutionSettings, showStartupWindow) == 8);
static_assert(offsetof(ResolutionSettings, lastVersionCheck) == 12);
static_assert(offsetof(ResolutionSettings, windowed) == 20);
static_assert(offsetof(ResolutionSettings, windowX) == 24);
static_assert(offsetof(ResolutionSettings, windowY) == 28);
static_assert(offsetof(ResolutionSettings, windowedWidth) == 32);
static_assert(offsetof(ResolutionSettings, windowedHeight) == 36);
static_assert(offsetof(ResolutionSettings, windowedDepth) == 40);
static_assert(offsetof(ResolutionSettings, fullScreenWidth) == 44);
static_assert(offsetof(ResolutionSettings, fullScreenHeight) == 48);
static_assert(offsetof(ResolutionSettings, fullScreenDepth) == 52);
static_assert(offsetof(ResolutionSettings, fullScreenRefresh) == 56);
static_assert(offsetof(ResolutionSettings, windowedMultisampleType) == 60);
static_assert(offsetof(ResolutionSettings, windowedMultisampleQuality) == 64);
static_assert(offsetof(ResolutionSettings, fullScreenMultisampleType) == 68);
static_assert(offsetof(ResolutionSettings, fullScreenMultisampleQuality) == 72);
static_assert(offsetof(ResolutionSettings, reserved76) == 76);
static_assert(offsetof(ResolutionSettings, reserved77) == 77);
static_assert(offsetof(ResolutionSettings, languageName) == 78);
static_assert(offsetof(ResolutionSettings, languageFlag) == 142);
static_assert(offsetof(ResolutionSettings, mouseSync) == 144);
static_assert(offsetof(ResolutionSettings, cursorType) == 148);
static_assert(offsetof(ResolutionSettings, soundOn) == 149);
static_assert(offsetof(ResolutionSettings, reserved150) == 150);
static_assert(offsetof(ResolutionSettings, reserved231) == 231);
static_assert(offsetof(ResolutionSettings, musicOn) == 311);
static_assert(offsetof(ResolutionSettings, internetTest) == 312);
static_assert(offsetof(ResolutionSettings, lastPlayerName) == 316);
static_assert(offsetof(ResolutionSettings, reserved352) == 352);
static_assert(offsetof(ResolutionSettings, reserved357) == 357);
static_assert(offsetof(ResolutionSettings, reserved358) == 358);
static_assert(offsetof(ResolutionSettings, fullScreenVerticalSync) == 359);
static_assert(offsetof(ResolutionSettings, windowedVerticalSync) == 360);
static_assert(offsetof(ResolutionSettings, unused361) == 361);

// The web address of link number n (1 home page, 2 forum), or NULL.
typedef const char *(*ResolutionLinkFn)(int link);
// Answers whether the internet test may count as passed (called with 0).
typedef bool (*ResolutionInternetTestFn)(int unused);

// Stores the set-up values. programId 0 means "not set up"; 19 turns the weekly version
// check off. The five flags: unused, music list shown, sound list shown, board-texture
// list, card-texture list. A NULL internet-test hook always passes.
bool ResolutionSetup(int programId, int programType, float programVersion, float settingsValue,
                     ResolutionLinkFn linkProvider, bool flag0, bool musicFlag, bool soundFlag, bool boardTextureFlag,
                     bool cardTextureFlag, ResolutionInternetTestFn internetTestHook, int extra1, int extra2);
// Back to the state before set-up (tests set up again after it).
void ResolutionShutdown();
// The live record.
ResolutionSettings *ResolutionGetSettings();

// Writes the defaults into the record (not applied); the answer of the language module
// for the language name.
bool ResolutionSetDefaults();
// Reads "Resolution.dat": accepted only at exactly 424 bytes with the set-up format value,
// then applied. Otherwise the record gets the defaults (not applied) and the answer is false.
bool ResolutionLoadSettings();
// Applies the record to the screen settings, the window parameters and the GPU sync.
bool ResolutionSetSettings();
// Copies the live screen state into the record.
void ResolutionUpdateSettingsFromCurrent();
// Writes the record to a temporary file that then replaces "Resolution.dat", so the old
// file survives any failure on the way.
bool ResolutionSaveSettings();
void ResolutionApplyDeviceSettingsToWindow();
// True when a new version is being installed and the program is to end.
bool ResolutionDoWeeklyVersionCheck();
// Loads the settings and runs the start-up dialog: 1 PLAY (settings applied and saved),
// -1 Escape or the window closed, 0 failure.
signed char ResolutionDoDialog();

// ---- The online services -------------------------------------------------------------------
// The updater, the internet test and web pages live in the online library above the
// engine; the program registers them here. Without hooks (or a NULL entry) each says
// that the online service is not available: the log gets "The online service is not
// available.", the internet test fails with that text, the version checks answer false.
struct _ResolutionOnlineHooks
{
    // The weekly version check on the date of the last check (see the updater).
    bool (*checkForNewVersionWeekly)(_EngMiscDate *date, int programName, float version, int programType);
    // The version check with its own windows.
    bool (*checkForNewVersion)(int programName, float version, int programType);
    // The internet test: true on success, else the reason in text (cut to size - 1).
    bool (*testInternetConnection)(char *text, int size);
    // Opens a web address in the browser.
    void (*openWebPage)(const char *url);
};
// NULL forgets them. The table must outlive its registration.
void ResolutionSetOnlineHooks(const _ResolutionOnlineHooks *hooks);
const _ResolutionOnlineHooks *ResolutionGetOnlineHooks();

// ---- Used by the dialog --------------------------------------------------------------------
struct ResolutionSetupValues
{
    int programId;
    int programType;
    float programVersion;
    float settingsValue;
    ResolutionLinkFn linkProvider;
    bool flags[5];
    ResolutionInternetTestFn internetTestHook;
    int extra[2];
};
const ResolutionSetupValues *ResolutionGetSetupValues();
// Resets the internet-test state (a test is due at the next accepted dialog).
void ResolutionResetInternetTest();
// The internet test after an accepted dialog, with its message boxes.
void ResolutionRunInternetTest();
// A question box with Yes and No (error icon); true for Yes.
bool ResolutionAskYesNo_PC(const char *title, const char *text);
// The path of "Resolution.dat" (built on first use).
const char *ResolutionGetFilePath();
