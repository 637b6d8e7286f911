// The application operations the engine's start-up calls: the one-time set-up before the
// program object exists, the program object's creation and deletion, the title, class
// name, versions and window settings, and the maker's web pages.
#include <new>

#include "AppView.h"
#include "Country.h"
#include "EngDebug.h"
#include "EngEncryption.h"
#include "EngMain.h"
#include "EngPrefFolder.h"
#include "EngWindow.h"
#include "Game.h"
#include "GameAds.h"
#include "Program.h"
#include "Resolution.h"
#include "Updater.h"
#include "Various.h"
#include "ScoresMain.h"

namespace
{

// The key of the game's protected data files (player files).
const char kDataKey[] = "PLINX_FERN_KY";
static_assert(sizeof(kDataKey) == 14, "13 characters");

_EngCreateWindowParms s_windowParms;

} // namespace

const char *MainGetWebPageUrl(int page)
{
    switch (page)
    {
    case 1:
        return "https://www.fernbrooks.example/";
    case 2:
        return "https://www.fernbrooks.example/forum/";
    default:
        return nullptr;
    }
}

// The online services the start-up settings offer (version checks, the internet test and
// the web pages), handed to them at start-up.
static void MainOpenWebPage(const char *url)
{
    VariousGoOnline(nullptr, nullptr, url, false, false, false, false);
}

static const _ResolutionOnlineHooks s_onlineHooks = {UpdaterCheckForNewVersionWeekly, UpdaterCheckForNewVersion,
                                                     UpdaterTestInternetConnection, MainOpenWebPage};

// Online score rows carry a country of the table (with "UK" for Great Britain).
static bool GameIsKnownCountryCode(const char *code)
{
    return CountryGetCountryNumFromCode(code, true) >= 0;
}

void GameOneTimeSetup()
{
    if (game_program.setupDone)
        return;
    game_program.setupDone = 1;
    EngEncryptionInit(kDataKey);
    PrefFolderSetup("Plinx", true, "LogFile.txt", true);
    EngWindowSetDefaultParms(&s_windowParms);
    ResolutionSetup(2, 0, GAME_VERSION, GAME_FILE_VERSION, MainGetWebPageUrl, false, true, true, false, false, nullptr,
                    0, 0);
    ResolutionSetOnlineHooks(&s_onlineHooks);
    ResolutionLoadSettings();
    GameRegisterHooks();
    AppViewRegisterHooks();
    OnlineRegisterScoreHooks(GameIsKnownCountryCode);
    // The catalogue's installer downloads go through the updater.
    GameAdsSetDownloadHook(UpdaterDownloadOtherProgram);
}

signed char MainCreateAndInitMainProgram(void *instance, const char *commandLine, int *exitCode)
{
    GameOneTimeSetup();
    DebugInfo("Plinx started [%s]", commandLine ? commandLine : "");
    Program *program = new (std::nothrow) Program();
    if (!program)
    {
        DebugErrorCode(ENG_FUNC, EngFourCC("OMEM"));
        *exitCode = -1;
        return 0;
    }
    game_program.program = program;
    return program->InitForMain(instance, commandLine, exitCode);
}

void MainDeleteMainProgram()
{
    Program *program = game_program.program;
    if (!program)
        return;
    program->Shutdown(true);
    delete program;
    game_program.program = nullptr;
}

const char *MainGetProgramTitle()
{
    return "Plinx!";
}

const char *MainGetWindowClassName()
{
    return "PlinxClass";
}

float MainGetGameVersion()
{
    return GAME_VERSION;
}

float MainGetFileVersion()
{
    return GAME_FILE_VERSION;
}

_EngCreateWindowParms *MainGetWindowSettings()
{
    return &s_windowParms;
}

const _EngMainApplication *GameGetApplication()
{
    static const _EngMainApplication application = {MainCreateAndInitMainProgram, MainDeleteMainProgram,
                                                    MainGetProgramTitle, MainGetWindowClassName,
                                                    MainGetWindowSettings};
    return &application;
}
