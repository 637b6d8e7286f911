// The updater: the version check of the maker's site with its answers in small native
// windows, the installer download to the desktop folder, the internet test used by the
// start-up settings, and the download of the maker's other programs for the catalogue.
// Everything runs on the calling (main) thread; the windows pump their own messages.
#pragma once
#include <cstdint>

struct _EngMiscDate;

// The maker's programs as the version-check script knows them (1 to 17; 16 is unused);
// this program is 2.
enum _UpdaterProgramName
{
    UPDATER_PROGRAM_MARBLE_TIDE = 1,
    UPDATER_PROGRAM_PLINX = 2,
    UPDATER_PROGRAM_TILE_TOWER = 3,
    UPDATER_PROGRAM_CARD_ISLES = 4,
    UPDATER_PROGRAM_GEM_CASCADE = 5,
    UPDATER_PROGRAM_WORD_ORCHARD = 6,
    UPDATER_PROGRAM_BLOCK_DRIFT = 7,
    UPDATER_PROGRAM_PIPE_WORKS = 8,
    UPDATER_PROGRAM_STAR_LANES = 9,
    UPDATER_PROGRAM_ORBIT_GOLF_CLASSIC = 10,
    UPDATER_PROGRAM_POCKET_POOL = 11,
    UPDATER_PROGRAM_WORD_ORCHARD_CLASSIC = 12,
    UPDATER_PROGRAM_LANTERN_MAZE = 13,
    UPDATER_PROGRAM_PIPE_WORKS_CLASSIC = 14,
    UPDATER_PROGRAM_ORBIT_GOLF = 15,
    UPDATER_PROGRAM_GEM_CASCADE_DELUXE = 17,
};

// The edition of a program, sent as a word ("full", "trial").
enum _UpdaterProgramType
{
    UPDATER_PROGRAM_TYPE_FULL = 0,
    UPDATER_PROGRAM_TYPE_TRIAL = 1,
};

// The program's name ("Plinx") and its lower-case form; NULL (reported "Unknown program
// name") for a value outside the table.
const char *UpdaterGetProgramName(int programName);
const char *UpdaterGetProgramNameLowerCase(int programName);

// Builds the version-check address for the program, version and edition. False (logged)
// for an unknown program or edition.
bool UpdaterSetupUrl(int programName, float version, int programType);
// The address built last ("" before the first).
const char *UpdaterGetUrl();
// Reads `url` (5 s time-outs, no retry). In test mode any reply will do; otherwise the
// reply is parsed and an error reply fails. The reason of a failure: UpdaterGetLastError.
bool UpdaterReadURL(const char *url, bool test);
const char *UpdaterGetLastError();

// When the date of the last check is at least 7 days old (never set, unreadable or in the
// future counts as old), stores today's date there and runs the check; false without a
// date or when a check is not due. True when a new version has been downloaded and the
// caller is to end quietly.
bool UpdaterCheckForNewVersionWeekly(_EngMiscDate *date, int programName, float version, int programType);
// The version check with its own windows. A newer version is downloaded only when the
// player presses "Download"; true when that download completed.
bool UpdaterCheckForNewVersion(int programName, float version, int programType);
// Reads the version-check address in test mode. Success writes "Internet Test Ok" into
// text (when size is above 32); failure copies the reason (cut to size - 1 characters).
bool UpdaterTestInternetConnection(char *text, int size);

// Downloads `link` (NULL: the link of the last version check) with a progress window to
// "Download.part" in the per-user folder, then moves it to the desktop folder under its
// own name ("Latest_" in front when that is taken; an existing file is never replaced).
// Shows the outcome in a message box; true when the file is on the desktop.
bool UpdaterStartDownload(const char *link);
// Where the last completed download was placed ("" when none).
const char *UpdaterGetDownloadedPath();

// The catalogue's download of another program: checks the link, then ends the game and
// downloads it once the game window is gone (at once when no program runs).
bool UpdaterDownloadOtherProgram(int productNumber, const char *link);
