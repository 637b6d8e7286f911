// The updater: the version check of the maker's site, the installer download and the
// internet test used by the start-up settings.
#pragma once

struct _EngMiscDate;

// The maker's programs as the version-check script knows them; this program is 2.
enum _UpdaterProgramName
{
    UPDATER_PROGRAM_PLINX = 2,
};

// When the date of the last check is at least 7 days old (or never set), stores today's
// date there and runs the check; false without a date or when a check is not due. True
// when a new version is being installed and the caller is to end quietly.
bool UpdaterCheckForNewVersionWeekly(_EngMiscDate *date, int programName, float version, int programType);
// The version check with its own windows; true when a new version is being installed.
bool UpdaterCheckForNewVersion(int programName, float version, int programType);
// Reads the version-check address in test mode. Success writes "Internet Test Ok" into
// text (when size is above 32); failure copies the reason (cut to size - 1 characters).
bool UpdaterTestInternetConnection(char *text, int size);
