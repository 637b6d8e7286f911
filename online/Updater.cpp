// The updater: the version-check address, reading and judging its reply, the check's
// windows, the installer download with its progress window and the move to the desktop.
// Relies on the blocking URL reads, the SWin helper windows and the platform back end
// in UpdaterDownload_PC.cpp.
//
// Sections: program names, address and reply, the check, the download.
#include "Updater.h"

#include <cmath>
#include <cstdio>
#include <cstring>

#include "EngDebug.h"
#include "EngFile.h"
#include "EngInternet.h"
#include "EngLanguages.h"
#include "EngMemory.h"
#include "EngMisc.h"
#include "EngPrefFolder.h"
#include "EngProgram.h"
#include "SWin.h"
#include "ScoresMain.h"
#include "UpdaterInternal.h"
#include "UpdaterReply.h"

namespace
{

const char kCheckScript[] = "/cgi-bin/common/updater/CheckVersionV2.cgi";
const char kPlatform[] = "PC";
const char kPartFileName[] = "Download.part";
const int32_t kReadTimeoutSeconds = 5;
const double kNoticeSeconds = 2.0;
// A smaller download is an error page, not an installer.
const uint32_t kSmallestDownloadBytes = 2047;
// A download that receives nothing for this long is given up.
const double kStallSeconds = 60.0;
// "Latest_" then "Latest_2_" .. "Latest_9_" in front of a name already on the desktop.
const int kMostLatestNames = 9;

const char *const kProgramNames[] = {
    nullptr,       "MarbleTide", "Plinx",          "TileTower",   "CardIsles",          "GemCascade",
    "WordOrchard", "BlockDrift", "PipeWorks",      "StarLanes",   "OrbitGolfClassic",   "PocketPool",
    "WordOrchardClassic", "LanternMaze", "PipeWorksClassic", "OrbitGolf", nullptr, "GemCascadeDeluxe",
};
const int kNumProgramNames = (int)(sizeof(kProgramNames) / sizeof(kProgramNames[0]));
const char *const kProgramTypes[] = {"full", "trial"};

struct UpdaterState
{
    char url[512];
    char reply[UPDATER_REPLY_SIZE];
    _UpdaterReply parsed;
    char lastError[256];
    char link[UPDATER_LINK_SIZE];    // the link being downloaded
    char pendingLink[UPDATER_LINK_SIZE]; // a catalogue download waiting for the game to end
    char fileName[UPDATER_FILE_NAME_SIZE];
    char lowerName[32];
    char downloadedPath[1024];
    char resultText[512];
    uint8_t linkGiven;
    uint8_t downloadRequested;
    SWin *window;
    int textIndex;
    uint64_t lastReceived;
    double lastProgressTime;
};
UpdaterState s_updater = {};

void SetLastError(const char *text)
{
    EngSafeStrcpy(s_updater.lastError, text, sizeof(s_updater.lastError));
}

// ---- Windows --------------------------------------------------------------------------

void UpdaterPumpWindowMessages()
{
    if (!s_updater.window)
        return;
    for (int pass = 0; pass < 100; pass++)
    {
        int handled = s_updater.window->ProcessAnyWindowsMessages();
        if (handled != 2)
            break;
    }
    EngMiscSleepSeconds(0.0001);
}

void UpdaterSetText(const char *text)
{
    if (s_updater.window && s_updater.textIndex >= 0)
        s_updater.window->SetButtonText(s_updater.textIndex, text);
    UpdaterPumpWindowMessages();
}

// Keeps the window responsive while a notice shows.
void UpdaterHold(double seconds)
{
    double end = EngMiscGetClock_PC() + seconds;
    while (EngMiscGetClock_PC() < end && s_updater.window && s_updater.window->IsCreated())
        UpdaterPumpWindowMessages();
}

void UpdaterCloseCB(SWin *window, void *)
{
    window->QuitWindowLoop();
}

void UpdaterDownloadCB(SWin *window, void *)
{
    s_updater.downloadRequested = 1;
    window->QuitWindowLoop();
}

void UpdaterCancelDownloadCB(SWin *window, void *)
{
    DebugInfo("Download cancelled.");
    window->QuitWindowLoop();
}

bool OpenWindow(SWin *window, const char *title, int width, int height)
{
    SWinCreateInfo info = {};
    info.title = title;
    info.x = -1;
    info.y = -1;
    info.width = width;
    info.height = height;
    info.red = info.green = info.blue = 0.94f;
    if (!window->CreateMainWindow(&info))
        return false;
    s_updater.window = window;
    s_updater.textIndex = -1;
    return true;
}

void CloseWindow(SWin *window)
{
    if (window->IsCreated())
        window->DestroyMainWindow();
    if (s_updater.window == window)
    {
        s_updater.window = nullptr;
        s_updater.textIndex = -1;
    }
}

} // namespace

// ---- Program names --------------------------------------------------------------------

const char *UpdaterGetProgramName(int programName)
{
    if (programName < 0 || programName >= kNumProgramNames || !kProgramNames[programName])
    {
        DebugError(ENG_FUNC, "Unknown program name %d", programName);
        return nullptr;
    }
    return kProgramNames[programName];
}

const char *UpdaterGetProgramNameLowerCase(int programName)
{
    const char *name = UpdaterGetProgramName(programName);
    if (!name)
        return nullptr;
    size_t i = 0;
    for (; name[i] && i < sizeof(s_updater.lowerName) - 1; i++)
        s_updater.lowerName[i] = (name[i] >= 'A' && name[i] <= 'Z') ? (char)(name[i] - 'A' + 'a') : name[i];
    s_updater.lowerName[i] = 0;
    return s_updater.lowerName;
}

// ---- Address and reply -------------------------------------------------------------------

bool UpdaterSetupUrl(int programName, float version, int programType)
{
    const char *name = UpdaterGetProgramName(programName);
    if (!name)
        return false;
    if (programType < 0 || programType >= (int)(sizeof(kProgramTypes) / sizeof(kProgramTypes[0])))
    {
        DebugError(ENG_FUNC, "Unknown program type %d", programType);
        return false;
    }
    if (!std::isfinite(version) || version < 0 || version > 1000000.0f)
    {
        DebugError(ENG_FUNC, "Invalid version");
        return false;
    }
    int written = snprintf(s_updater.url, sizeof(s_updater.url), "%s%s?platform=%s&program=%s&program_type=%s&version=%.3f",
                           OnlineGetBaseAddress(), kCheckScript, kPlatform, name, kProgramTypes[programType],
                           (double)version);
    if (written < 0 || written >= (int)sizeof(s_updater.url))
    {
        DebugError(ENG_FUNC, "URL too long");
        s_updater.url[0] = 0;
        return false;
    }
    return true;
}

const char *UpdaterGetUrl()
{
    return s_updater.url;
}

const char *UpdaterGetLastError()
{
    return s_updater.lastError;
}

bool UpdaterReadURL(const char *url, bool test)
{
    s_updater.lastError[0] = 0;
    memset(&s_updater.parsed, 0, sizeof(s_updater.parsed));
    if (!EngInternetIsConnected())
    {
        SetLastError("No connection to the internet found");
        return false;
    }
    uint32_t count = 0;
    char reason[200] = "";
    if (!EngInternetReadURL(url, s_updater.reply, sizeof(s_updater.reply), &count, reason, (int)sizeof(reason),
                            nullptr, kReadTimeoutSeconds))
    {
        DebugError(ENG_FUNC, "Could not read result from the URL %s", reason);
        SetLastError("Could not read result from the URL");
        return false;
    }
    if (test)
        return true;
    if (!UpdaterParseReply(s_updater.reply, count, &s_updater.parsed))
    {
        SetLastError("Error returned from the URL");
        return false;
    }
    return true;
}

bool UpdaterTestInternetConnection(char *text, int size)
{
    char url[512];
    snprintf(url, sizeof(url), "%s%s", OnlineGetBaseAddress(), kCheckScript);
    bool ok = UpdaterReadURL(url, true);
    if (ok && text && size > 32)
        EngSafeStrcpy(text, "Internet Test Ok", (size_t)size);
    else if (!ok && text && size > 1)
        EngSafeStrcpy(text, s_updater.lastError, (size_t)size);
    return ok;
}

// ---- The check ----------------------------------------------------------------------------------

bool UpdaterCheckForNewVersionWeekly(_EngMiscDate *date, int programName, float version, int programType)
{
    if (!date)
        return false;
    _EngMiscDate today;
    EngMiscGetCurrentDate(&today);
    _EngMiscDate weekAgo = today;
    for (int day = 0; day < 7; day++)
        EngMiscGetPreviousDay(&weekAgo);
    // A stored date that cannot be read, or that lies ahead (the clock was wrong), does
    // not hold the check back for ever.
    bool readable = date->year != 0 && EngMiscIsDateValid(date, false);
    if (readable && EngMiscIsDateAfterDate(*date, weekAgo) && !EngMiscIsDateAfterDate(*date, today))
        return false;
    // Stored first: an unreachable server costs one check a week, not one every start.
    *date = today;
    return UpdaterCheckForNewVersion(programName, version, programType);
}

bool UpdaterCheckForNewVersion(int programName, float version, int programType)
{
    SWin window;
    if (!OpenWindow(&window, "Updating", 400, 90))
        return false;
    s_updater.textIndex = window.AddButtonToWindow(SWIN_LABEL, 0, 22, 400, 20,
                                                   EngLanguagesGetStringOrDefault("Updater_CheckingForUpdates",
                                                                                  "Checking for updates ..."));
    window.SetButtonTextAlign(s_updater.textIndex, SWIN_ALIGN_CENTRE);
    UpdaterPumpWindowMessages();

    if (!UpdaterSetupUrl(programName, version, programType) || !UpdaterReadURL(s_updater.url, false))
    {
        UpdaterSetText(EngLanguagesGetStringOrDefault("Updater_CheckFailed", "Check Failed."));
        UpdaterHold(kNoticeSeconds);
        CloseWindow(&window);
        return false;
    }
    if (!s_updater.parsed.newVersion)
    {
        UpdaterSetText(EngLanguagesGetStringOrDefault("Updater_NoNewVersionExists",
                                                      "No new version exists at this time."));
        UpdaterHold(kNoticeSeconds);
        CloseWindow(&window);
        return false;
    }
    CloseWindow(&window);

    // The answer: the server's message, and the player decides.
    SWin answer;
    if (!OpenWindow(&answer, "Updating", 640, 420))
        return false;
    s_updater.textIndex = answer.AddButtonToWindow(SWIN_EDIT, 20, 20, 600, 320, s_updater.parsed.message);
    answer.AddPushButtonWithCallback(480, 360, 140, 20, "Close", UpdaterCloseCB);
    if (s_updater.parsed.link[0])
        answer.AddPushButtonWithCallback(20, 360, 140, 20, "Download", UpdaterDownloadCB);
    s_updater.downloadRequested = 0;
    answer.RunWindowLoop();
    bool download = s_updater.downloadRequested != 0;
    s_updater.downloadRequested = 0;
    CloseWindow(&answer);
    if (!download)
        return false;
    return UpdaterStartDownload(nullptr);
}

// ---- The download -------------------------------------------------------------------------------

namespace
{

int UpdaterDownloadProgressCB(void *, uint64_t totalBytes, uint64_t receivedBytes)
{
    if (!s_updater.window || s_updater.window->IsQuitting())
        return 1;
    double now = EngMiscGetClock_PC();
    if (receivedBytes != s_updater.lastReceived || s_updater.lastProgressTime == 0)
    {
        s_updater.lastReceived = receivedBytes;
        s_updater.lastProgressTime = now;
    }
    else if (now - s_updater.lastProgressTime > kStallSeconds)
    {
        DebugError(ENG_FUNC, "Nothing received for %.0f seconds", kStallSeconds);
        return 1;
    }
    double percent = totalBytes > 0 ? std::round((double)receivedBytes * 1000.0 / (double)totalBytes) / 10.0 : 0.0;
    char text[160];
    if (s_updater.fileName[0])
        snprintf(text, sizeof(text), "Downloading %s (%.1f%%) ...", s_updater.fileName, percent);
    else
        snprintf(text, sizeof(text), "Downloading (%.1f%%) ...", percent);
    UpdaterSetText(text);
    return s_updater.window && !s_updater.window->IsQuitting() ? 0 : 1;
}

// The first free place on the desktop for `name`: the name itself, then "Latest_" and
// "Latest_2_" .. "Latest_9_" in front of it.
bool ChooseTarget(const char *desktop, const char *name, char *out, size_t size)
{
    for (int attempt = 0; attempt <= kMostLatestNames; attempt++)
    {
        int written;
        if (attempt == 0)
            written = snprintf(out, size, "%s/%s", desktop, name);
        else if (attempt == 1)
            written = snprintf(out, size, "%s/Latest_%s", desktop, name);
        else
            written = snprintf(out, size, "%s/Latest_%d_%s", desktop, attempt, name);
        if (written < 0 || (size_t)written >= size)
        {
            DebugError("UpdaterDoDownload", "Path too long");
            return false;
        }
        if (!UpdaterPathTaken_PC(out))
            return true;
    }
    DebugError("UpdaterDoDownload", "No free name for <%s> in <%s>", name, desktop);
    return false;
}

const char *BaseName(const char *path)
{
    const char *slash = strrchr(path, '/');
    return slash ? slash + 1 : path;
}

} // namespace

static bool UpdaterDoDownload()
{
    if (!s_updater.link[0] || strlen(s_updater.link) >= UPDATER_LINK_SIZE)
        return false;
    char part[1024];
    EngSafeStrcpy(part, PrefFolderGetMainFolderWithFileAppended(kPartFileName), sizeof(part));
    // Whatever is there (a file of an earlier try, even a link) goes first.
    EngFileDelete(part, false);
    EngFile file;
    if (!file.CreateForWriting(part, false))
    {
        DebugError(ENG_FUNC, "Could not create file for downloading <%s>", part);
        return false;
    }
    s_updater.lastReceived = 0;
    s_updater.lastProgressTime = 0;
    _UpdaterTransferResult result = UpdaterTransferToFile_PC(s_updater.link, &file, UpdaterDownloadProgressCB, nullptr);
    bool closed = file.Close();
    // Whatever went wrong, no half-loaded file stays behind.
    if (result != UPDATER_TRANSFER_DONE || !closed)
    {
        if (result == UPDATER_TRANSFER_DONE)
            DebugError(ENG_FUNC, "Could not finish writing <%s>", part);
        EngFileDelete(part, false);
        return false;
    }
    uint32_t size = EngFileGetFileSize(part, false);
    if (size < kSmallestDownloadBytes)
    {
        DebugError(ENG_FUNC, "Part file is too small: %s", part);
        EngFileDelete(part, false);
        return false;
    }
    char desktop[1024];
    char target[1200];
    if (!UpdaterGetDesktopFolder_PC(desktop, sizeof(desktop)) ||
        !ChooseTarget(desktop, s_updater.fileName, target, sizeof(target)))
    {
        EngFileDelete(part, false);
        return false;
    }
    if (!UpdaterMoveFileNoReplace_PC(part, target))
    {
        DebugError(ENG_FUNC, "There was a problem moving the file to the folder <%s> ( <%s> -> <%s> )", desktop,
                   part, target);
        EngFileDelete(part, false);
        return false;
    }
    EngSafeStrcpy(s_updater.downloadedPath, target, sizeof(s_updater.downloadedPath));
    char shownName[UPDATER_FILE_NAME_SIZE];
    EngSafeStrcpy(shownName, BaseName(target), sizeof(shownName));
    if (!s_updater.linkGiven)
        snprintf(s_updater.resultText, sizeof(s_updater.resultText),
                 "The file \"%s\" has been placed on your Desktop.\n\nPlease remove any older versions of the "
                 "program, then install the program as you did the previous version.",
                 shownName);
    else
        snprintf(s_updater.resultText, sizeof(s_updater.resultText),
                 "The file \"%s\" has been downloaded %s.\n\nDouble click it to install the program.", shownName,
                 "on your Desktop");
    DebugInfo("Downloaded <%s>", target);
    return true;
}

bool UpdaterStartDownload(const char *link)
{
    s_updater.downloadedPath[0] = 0;
    s_updater.resultText[0] = 0;
    const char *source = link ? link : s_updater.parsed.link;
    s_updater.linkGiven = link ? 1 : 0;
    if (strlen(source) >= sizeof(s_updater.link))
    {
        DebugError(ENG_FUNC, "Link too long");
        s_updater.link[0] = 0;
    }
    else
        EngSafeStrcpy(s_updater.link, source, sizeof(s_updater.link));
    if (!UpdaterGetDownloadFileName(s_updater.link, s_updater.fileName, sizeof(s_updater.fileName)))
    {
        DebugError(ENG_FUNC, "Invalid link name");
        EngMiscShowPopupMessage(ENG_POPUP_ERROR, "Error", "Internal Error 3.");
        return false;
    }
    SWin window;
    bool ok = false;
    if (OpenWindow(&window, "Downloading", 450, 90))
    {
        s_updater.textIndex = window.AddButtonToWindow(SWIN_LABEL, 10, 22, 330, 20, "Downloading...");
        int cancel = window.AddPushButtonWithCallback(360, 20, 80, 20, "Cancel", UpdaterCancelDownloadCB);
        window.SetButtonTextAlign(cancel, SWIN_ALIGN_CENTRE);
        UpdaterPumpWindowMessages();
        ok = UpdaterDoDownload();
        CloseWindow(&window);
    }
    if (ok)
        EngMiscShowPopupMessage(ENG_POPUP_PLAIN, "Download Complete", s_updater.resultText);
    else
        EngMiscShowPopupMessage(ENG_POPUP_ERROR, "Error", "The download was not completed.");
    return ok;
}

const char *UpdaterGetDownloadedPath()
{
    return s_updater.downloadedPath;
}

// ---- The catalogue's downloads --------------------------------------------------------------

static void UpdaterDownloadPendingCB()
{
    UpdaterStartDownload(s_updater.pendingLink);
}

bool UpdaterDownloadOtherProgram(int productNumber, const char *link)
{
    char fileName[UPDATER_FILE_NAME_SIZE];
    if (!UpdaterSetupUrl(productNumber, 0.0f, 0) || !link ||
        !UpdaterGetDownloadFileName(link, fileName, sizeof(fileName)))
        return false;
    EngSafeStrcpy(s_updater.pendingLink, link, sizeof(s_updater.pendingLink));
    if (eng_main_program)
    {
        // The game closes first; the download runs in its own window once it is gone.
        eng_main_program->SetExitCallback(UpdaterDownloadPendingCB);
        EngMiscQuitMainLoop();
        return true;
    }
    return UpdaterStartDownload(s_updater.pendingLink);
}
