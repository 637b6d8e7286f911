// Start-up settings: the record and its file, the defaults, applying the record to the
// screen, and the start-up dialog's run with the internet test that follows it.
// Sections: set-up, defaults, load and apply, save, dialog and internet test.
#include "Resolution.h"

#include <cstdio>
#include <cstring>

#include "EngDebug.h"
#include "EngFile.h"
#include "EngLanguages.h"
#include "EngMain.h"
#include "EngMemory.h"
#include "EngMisc.h"
#include "EngProgram.h"
#include "EngWindow.h"
#include "EngPrefFolder.h"
#include "ResolutionDialog.h"

enum
{
    RESOLUTION_PATH_SIZE = 512,
    RESOLUTION_MESSAGE_SIZE = 640, // the longest message with the longest path
    INTERNET_REPLY_SIZE = 256,
    INTERNET_REPLY_ALLOWED = 200,
};

static const char s_fileName[] = "Resolution.dat";

static struct
{
    ResolutionSetupValues setup; // programId 0: not set up
    ResolutionSettings settings;
    char path[RESOLUTION_PATH_SIZE];
    char message[RESOLUTION_MESSAGE_SIZE];
    void (*beforeReplaceHook)();
} s_resolution;

// ---- Set-up ----------------------------------------------------------------------------

bool ResolutionSetup(int programId, int programType, float programVersion, float settingsValue,
                     ResolutionLinkFn linkProvider, bool flag0, bool musicFlag, bool soundFlag, bool boardTextureFlag,
                     bool cardTextureFlag, ResolutionInternetTestFn internetTestHook, int extra1, int extra2)
{
    ResolutionSetupValues &setup = s_resolution.setup;
    setup.programId = programId;
    setup.programType = programType;
    setup.programVersion = programVersion;
    setup.settingsValue = settingsValue;
    setup.linkProvider = linkProvider;
    setup.flags[0] = flag0;
    setup.flags[1] = musicFlag;
    setup.flags[2] = soundFlag;
    setup.flags[3] = boardTextureFlag;
    setup.flags[4] = cardTextureFlag;
    setup.internetTestHook = internetTestHook;
    setup.extra[0] = extra1;
    setup.extra[1] = extra2;
    return true;
}

// A seam for tests alone, declared only in the test kit (TestkitSeams.h).
void ResolutionSetBeforeReplaceHookForTests(void (*hook)())
{
    s_resolution.beforeReplaceHook = hook;
}

void ResolutionShutdown()
{
    memset(&s_resolution, 0, sizeof(s_resolution));
}

ResolutionSettings *ResolutionGetSettings()
{
    return &s_resolution.settings;
}

const ResolutionSetupValues *ResolutionGetSetupValues()
{
    return &s_resolution.setup;
}

static bool IsSetup(const char *function)
{
    if (s_resolution.setup.programId == 0)
    {
        DebugError(function, "Module not setup");
        return false;
    }
    return true;
}

const char *ResolutionGetFilePath()
{
    snprintf(s_resolution.path, sizeof(s_resolution.path), "%s", PrefFolderGetMainFolderWithFileAppended(s_fileName));
    return s_resolution.path;
}

// ---- Defaults ------------------------------------------------------------------------------

bool ResolutionSetDefaults()
{
    ResolutionSettings &s = s_resolution.settings;
    int desktopWidth = 0, desktopHeight = 0, workWidth = 0, workHeight = 0;
    EngMiscGetDesktopDimensions_PC(nullptr, nullptr, &desktopWidth, &desktopHeight, false, true);
    EngMiscGetDesktopDimensions_PC(nullptr, nullptr, &workWidth, &workHeight, true, true);

    s.formatValue = s_resolution.setup.settingsValue;
    s.programVersion = s_resolution.setup.programVersion;
    s.showStartupWindow = 1;
    memset(&s.lastVersionCheck, 0, sizeof(s.lastVersionCheck));
    s.windowed = 0;
    s.windowX = -1;
    s.windowY = -1;
    s.windowedWidth = workWidth;
    s.windowedHeight = workHeight;
    s.windowedDepth = 32;
    s.fullScreenWidth = desktopWidth;
    s.fullScreenHeight = desktopHeight;
    s.fullScreenDepth = 32;
    s.fullScreenRefresh = 60;
    s.windowedMultisampleType = 0;
    s.windowedMultisampleQuality = 0;
    s.fullScreenMultisampleType = 0;
    s.fullScreenMultisampleQuality = 0;
    s.reserved76 = 1;
    s.reserved77 = 1;
    s.languageFlag = 1;
    s.mouseSync = 2;
    s.cursorType = 1;
    s.soundOn = 1;
    s.reserved150 = 0;
    s.reserved231 = 0;
    s.musicOn = 1;
    s.internetTest[0] = RESOLUTION_INTERNET_TEST_NEEDED;
    s.internetTest[1] = RESOLUTION_INTERNET_TEST_NEEDED;
    s.internetTest[2] = 0;
    s.internetTest[3] = 0;
    memset(s.lastPlayerName, 0, sizeof(s.lastPlayerName));
    memset(s.reserved352, 0, sizeof(s.reserved352));
    s.reserved357 = 1;
    s.reserved358 = 0;
    s.fullScreenVerticalSync = 0;
    s.windowedVerticalSync = 0;
    return EngLanguagesSetLangNameStringToEnglish(s.languageName, false, false);
}

// ---- Load and apply ------------------------------------------------------------------------

void ResolutionResetInternetTest()
{
    ResolutionSettings &s = s_resolution.settings;
    s.internetTest[0] = RESOLUTION_INTERNET_TEST_NEEDED;
    s.internetTest[1] = RESOLUTION_INTERNET_TEST_NEEDED;
    s.internetTest[2] = 0;
    s.internetTest[3] = 0;
}

bool ResolutionLoadSettings()
{
    if (!IsSetup(ENG_FUNC))
        return false;
    const char *path = ResolutionGetFilePath();
    ResolutionSettings staging;
    bool accepted = false;
    EngFile file;
    if (file.OpenForReadingQuietly(path, false) && file.GetSize() == RESOLUTION_FILE_SIZE &&
        file.Read(&staging, RESOLUTION_FILE_SIZE, false) && staging.formatValue == s_resolution.setup.settingsValue)
    {
        s_resolution.settings = staging;
        accepted = ResolutionSetSettings();
    }
    file.Close();
    if (!accepted)
    {
        ResolutionSetDefaults();
        return false;
    }
    if (s_resolution.settings.programVersion != s_resolution.setup.programVersion)
        ResolutionResetInternetTest();
    return true;
}

// A window never larger than the work area (the record keeps what was asked for).
static void ReduceScreenToWorkArea()
{
    int workWidth = 0, workHeight = 0;
    EngMiscGetDesktopDimensions_PC(nullptr, nullptr, &workWidth, &workHeight, true, true);
    if (workWidth > 0 && EngScreenSettings.width > workWidth)
        EngScreenSettings.width = workWidth;
    if (workHeight > 0 && EngScreenSettings.height > workHeight)
        EngScreenSettings.height = workHeight;
}

bool ResolutionSetSettings()
{
    ResolutionSettings &s = s_resolution.settings;
    if (s.windowedWidth <= 0 || s.windowedHeight <= 0 || s.fullScreenWidth <= 0 || s.fullScreenHeight <= 0 ||
        s.windowedDepth <= 0 || s.fullScreenDepth <= 0)
    {
        DebugError(ENG_FUNC, "Bad resolution values");
        return false;
    }
    _EngScreenSettings &screen = EngScreenSettings;
    screen.windowed = s.windowed;
    if (s.windowed)
    {
        screen.width = s.windowedWidth;
        screen.height = s.windowedHeight;
        screen.depth = s.windowedDepth;
        screen.verticalSync = s.windowedVerticalSync;
        screen.multisampleType = s.windowedMultisampleType;
        screen.multisampleQuality = s.windowedMultisampleQuality;
        ReduceScreenToWorkArea();
    }
    else
    {
        screen.width = s.fullScreenWidth;
        screen.height = s.fullScreenHeight;
        screen.depth = s.fullScreenDepth;
        screen.refresh = s.fullScreenRefresh;
        screen.verticalSync = s.fullScreenVerticalSync;
        screen.multisampleType = s.fullScreenMultisampleType;
        screen.multisampleQuality = s.fullScreenMultisampleQuality;
    }
    if (eng_main_program)
        eng_main_program->SetGpuSync(s.mouseSync != 0, s.mouseSync - 1, true);

    _EngCreateWindowParms *parms = EngMainGetWindowSettings();
    if (parms)
    {
        parms->windowed = s.windowed;
        if (s.windowed)
        {
            parms->x = s.windowX;
            parms->y = s.windowY;
        }
        parms->width = screen.width;
        parms->height = screen.height;
        parms->depth = screen.depth;
        parms->refresh = s.windowed ? -1 : s.fullScreenRefresh;
        parms->verticalSync = screen.verticalSync;
        parms->multisampleType = screen.multisampleType;
        parms->multisampleQuality = screen.multisampleQuality;
    }
    return true;
}

void ResolutionUpdateSettingsFromCurrent()
{
    ResolutionSettings &s = s_resolution.settings;
    const _EngScreenSettings &screen = EngScreenSettings;
    s.windowed = screen.windowed;
    if (screen.windowed)
    {
        EngWindow *window = eng_main_program ? eng_main_program->GetMainWindow() : nullptr;
        int x = 0, y = 0;
        if (window && window->GetWindowPos(&x, &y))
        {
            s.windowX = x;
            s.windowY = y;
        }
        s.windowedWidth = screen.width;
        s.windowedHeight = screen.height;
        s.windowedDepth = screen.depth;
        s.windowedVerticalSync = (int8_t)screen.verticalSync;
        s.windowedMultisampleType = screen.multisampleType;
        s.windowedMultisampleQuality = screen.multisampleQuality;
    }
    else
    {
        s.fullScreenWidth = screen.width;
        s.fullScreenHeight = screen.height;
        s.fullScreenDepth = screen.depth;
        s.fullScreenRefresh = screen.refresh;
        s.fullScreenVerticalSync = (int8_t)screen.verticalSync;
        s.fullScreenMultisampleType = screen.multisampleType;
        s.fullScreenMultisampleQuality = screen.multisampleQuality;
    }
    if (!eng_main_program)
    {
        DebugError(ENG_FUNC, "No main program");
        return;
    }
    s.mouseSync = eng_main_program->GetGpuSyncMethod() + 1;
}

void ResolutionApplyDeviceSettingsToWindow()
{
    EngWindow *window = eng_main_program ? eng_main_program->GetMainWindow() : nullptr;
    if (!window)
        return;
    const ResolutionSettings &s = s_resolution.settings;
    window->SetDeviceSettings(s.windowedWidth, s.windowedHeight, s.windowedDepth, -1, s.windowX, s.windowY,
                              s.fullScreenWidth, s.fullScreenHeight, s.fullScreenDepth, s.fullScreenRefresh);
}

// ---- Save ----------------------------------------------------------------------------------

bool ResolutionSaveSettings()
{
    ResolutionSettings &s = s_resolution.settings;
    s.programVersion = s_resolution.setup.programVersion;
    const char *path = ResolutionGetFilePath();
    if (EngScreenSettings.windowed)
        ReduceScreenToWorkArea();

    // The new contents go to a temporary file first; only a complete file replaces the old
    // one, so a failure (or a crash) on the way leaves the last good settings in place.
    char temporary[RESOLUTION_PATH_SIZE + 8];
    snprintf(temporary, sizeof(temporary), "%s.new", path);
    EngFile file;
    if (!file.CreateForWriting(temporary, false))
    {
        snprintf(s_resolution.message, sizeof(s_resolution.message),
                 "Could not create file  %s  . \n\n Ensure the disk is not full and has writing permission.", path);
        EngMiscShowPopupMessage(ENG_POPUP_ERROR, "Problem Creating to Resolution File", s_resolution.message);
        return false;
    }
    bool written = file.Write(&s, RESOLUTION_FILE_SIZE);
    file.Close();
    if (written && s_resolution.beforeReplaceHook)
        s_resolution.beforeReplaceHook();
    if (!written || !EngFileReplaceFile(temporary, path))
    {
        EngFileDelete(temporary, false);
        snprintf(s_resolution.message, sizeof(s_resolution.message), "Could not write to file  %s  .", path);
        EngMiscShowPopupMessage(ENG_POPUP_ERROR, "Problem Writing to Resolution File", s_resolution.message);
        return false;
    }
    return true;
}

// ---- Weekly check, dialog and internet test ------------------------------------------------

// ---- The online services ------------------------------------------------------------------------

static const char s_onlineNotAvailable[] = "The online service is not available.";

// Registered by the program; kept apart from the settings, which a Shutdown clears.
static struct
{
    const _ResolutionOnlineHooks *hooks;
} s_online = {nullptr};

static bool NoWeeklyCheck(_EngMiscDate *date, int programName, float version, int programType)
{
    if (!date)
        return false;
    DebugError("UpdaterCheckForNewVersionWeekly", "%s", s_onlineNotAvailable);
    return false;
}

static bool NoVersionCheck(int programName, float version, int programType)
{
    DebugError("UpdaterCheckForNewVersion", "%s", s_onlineNotAvailable);
    return false;
}

static bool NoInternetTest(char *text, int size)
{
    DebugError("UpdaterTestInternetConnection", "%s", s_onlineNotAvailable);
    if (text && size > 1)
        EngSafeStrcpy(text, s_onlineNotAvailable, (size_t)size);
    return false;
}

static void NoWebPage(const char *url)
{
    DebugError("VariousGoOnline", "%s <%s>", s_onlineNotAvailable, EngStringOrNone(url));
}

static const _ResolutionOnlineHooks s_noOnlineHooks = {NoWeeklyCheck, NoVersionCheck, NoInternetTest, NoWebPage};

void ResolutionSetOnlineHooks(const _ResolutionOnlineHooks *hooks)
{
    s_online.hooks = hooks;
}

const _ResolutionOnlineHooks *ResolutionGetOnlineHooks()
{
    static _ResolutionOnlineHooks complete;
    const _ResolutionOnlineHooks *hooks = s_online.hooks ? s_online.hooks : &s_noOnlineHooks;
    complete.checkForNewVersionWeekly =
        hooks->checkForNewVersionWeekly ? hooks->checkForNewVersionWeekly : NoWeeklyCheck;
    complete.checkForNewVersion = hooks->checkForNewVersion ? hooks->checkForNewVersion : NoVersionCheck;
    complete.testInternetConnection = hooks->testInternetConnection ? hooks->testInternetConnection : NoInternetTest;
    complete.openWebPage = hooks->openWebPage ? hooks->openWebPage : NoWebPage;
    return &complete;
}

// ---- Version check and internet test --------------------------------------------------------------

bool ResolutionDoWeeklyVersionCheck()
{
    if (!IsSetup(ENG_FUNC))
        return false;
    const ResolutionSetupValues &setup = s_resolution.setup;
    if (setup.programId == 19)
        return false;
    ResolutionLoadSettings();
    bool newVersion = ResolutionGetOnlineHooks()->checkForNewVersionWeekly(
        &s_resolution.settings.lastVersionCheck, setup.programId, setup.programVersion, setup.programType);
    ResolutionSaveSettings();
    return newVersion;
}

void ResolutionRunInternetTest()
{
    const ResolutionSetupValues &setup = s_resolution.setup;
    uint8_t &state = s_resolution.settings.internetTest[setup.programType == 0 ? 0 : 1];
    if (state != RESOLUTION_INTERNET_TEST_NEEDED)
        return;
    EngMiscShowPopupMessage(ENG_POPUP_PLAIN, "Internet Test",
                            "Performing a test needed for the game's online features.\n\nIf your firewall system "
                            "pops up a message, be sure to choose   ALLOW   or   UNBLOCK   to give the program "
                            "access to the internet.");
    for (;;)
    {
        char reply[INTERNET_REPLY_SIZE] = "";
        bool passed = ResolutionGetOnlineHooks()->testInternetConnection(reply, INTERNET_REPLY_ALLOWED);
        if (passed && setup.internetTestHook)
            passed = setup.internetTestHook(0);
        if (passed)
        {
            EngMiscShowPopupMessage(ENG_POPUP_PLAIN, "Internet Test", "Connection to the internet okay.");
            state = RESOLUTION_INTERNET_TEST_PASSED;
            return;
        }
        EngMiscShowPopupMessage(ENG_POPUP_ERROR, "Internet Test Failed", reply);
        bool again = ResolutionAskYesNo_PC("Internet Test Failed",
                                           "Try Again ?\n\nIf you select no, you may have problems using the "
                                           "internet features of the game.");
        if (!again)
        {
            state = RESOLUTION_INTERNET_TEST_DECLINED;
            return;
        }
    }
}

signed char ResolutionDoDialog()
{
    if (!IsSetup(ENG_FUNC))
        return 0;
    ResolutionGetFilePath();
    ResolutionLoadSettings();
    signed char result = ResolutionDialogRun();
    if (result < 1)
        return result;
    ResolutionSetSettings();
    ResolutionSaveSettings();
    return result;
}
