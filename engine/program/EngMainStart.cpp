// The start-up and shut-down sequence: program object, window, device, main loop,
// teardown, over the application table the entry is handed.
#include <cstring>

#include "EngDebug.h"
#include "EngMain.h"
#include "EngMemory.h"
#include "EngMisc.h"
#include "EngProgram.h"

static struct
{
    const _EngMainApplication *app;
} s_start = {nullptr};

// ---- The program layer as the core sees it ------------------------------------------------------

static bool IsRunningCB()
{
    return eng_main_program != nullptr;
}

static bool IsQuittingCB()
{
    return eng_main_program && eng_main_program->IsQuitting();
}

static void ForceExitCB(const char *title, const char *text)
{
    if (eng_main_program)
        eng_main_program->ForceExitNow(title, text, false);
}

static const _EngMainProgramHost s_programHost = {IsRunningCB, IsQuittingCB, ForceExitCB, EngMiscPrepareForPopup,
                                                  EngMiscMessageBox_PC};

void EngMainSetupProgramLayer()
{
    EngMainSetProgramHost(&s_programHost);
    EngMainSetup();
}

void EngMainShutdownProgramLayer()
{
    if (EngMainGetProgramHost() != &s_programHost)
        return;
    EngMainSetProgramHost(nullptr);
    EngDeviceSetMainType(ENG_DEVICE_NONE);
    EngMainShutdown();
}

// ---- The application -----------------------------------------------------------------------------

void EngMainSetApplication(const _EngMainApplication *app)
{
    s_start.app = app;
}

const _EngMainApplication *EngMainGetApplication()
{
    return s_start.app;
}

const char *EngMainGetProgramTitle()
{
    const char *title = s_start.app ? s_start.app->getProgramTitle() : nullptr;
    return title ? title : "";
}

_EngCreateWindowParms *EngMainGetWindowSettings()
{
    return s_start.app ? s_start.app->getWindowSettings() : nullptr;
}

static bool IsApplicationComplete(const _EngMainApplication *app)
{
    return app && app->createAndInitMainProgram && app->deleteMainProgram && app->getProgramTitle &&
           app->getWindowClassName && app->getWindowSettings;
}

static void DeleteMainProgram()
{
    s_start.app->deleteMainProgram();
}

// ---- The entry and its steps --------------------------------------------------------------------

int EngMainRunProgram(int argc, char **argv, const _EngMainApplication *app)
{
    char commandLine[4096];
    EngMainBuildCommandLine(argc, argv, commandLine, sizeof(commandLine));
    return EngMainWinMain(nullptr, commandLine, app);
}

signed char EngMainCreateMainProgram(void *instance, const char *commandLine)
{
    int exitCode = 0;
    if (!IsApplicationComplete(s_start.app))
    {
        DebugError(ENG_FUNC, "No application.");
        return -1;
    }
    signed char result = s_start.app->createAndInitMainProgram(instance, commandLine, &exitCode);
    if (result != 0)
    {
        if (eng_main_program)
        {
            EngMainCheckInternals();
            return 1;
        }
        DebugError(ENG_FUNC, "eng_main_program was not created.");
        EngMainShowPrematureTerminationMessage();
        DeleteMainProgram();
        return -1;
    }
    if (exitCode == 0)
    {
        DeleteMainProgram();
        return 0;
    }
    DebugError(ENG_FUNC, "Init returned %d,  Exit %d.", (int)result, exitCode);
    EngMainShowPrematureTerminationMessage();
    DeleteMainProgram();
    return (signed char)exitCode;
}

signed char EngMainCreateMainWindow()
{
    if (!eng_main_program)
    {
        DebugError(ENG_FUNC, "No main program");
        return 0;
    }
    if (!IsApplicationComplete(s_start.app))
    {
        DebugError(ENG_FUNC, "No application.");
        return 0;
    }
    return eng_main_program->CreateMainWindow(s_start.app->getProgramTitle(), s_start.app->getWindowClassName(),
                                              s_start.app->getWindowSettings());
}

bool EngMainCreateMainGraphicsDevice()
{
    if (!eng_main_program)
    {
        DebugError(ENG_FUNC, "No main program");
        return false;
    }
    return eng_main_program->CreateMainGraphicsDevice();
}

static int RunSequence(void *instance, const char *commandLine)
{
    signed char started = EngMainCreateMainProgram(instance, commandLine ? commandLine : "");
    if (started < 1)
        return started;
    signed char windowResult = EngMainCreateMainWindow();
    if (windowResult < 0)
    {
        DeleteMainProgram();
        return windowResult;
    }
    if (windowResult > 0 && EngMainCreateMainGraphicsDevice())
    {
        eng_main_program->RunMainLoop();
        DeleteMainProgram();
        return 0;
    }
    EngMainShowPrematureTerminationMessage();
    DeleteMainProgram();
    return -1;
}

int EngMainWinMain(void *instance, const char *commandLine, const _EngMainApplication *app)
{
    if (eng_main_program)
    {
        DebugError("_WinMain@16", "eng_main_program already exists.");
        return -1;
    }
    if (!IsApplicationComplete(app))
    {
        DebugError("_WinMain@16", "The application table is missing or incomplete.");
        return -1;
    }
    EngMainSetupProgramLayer();
    const _EngMainApplication *previous = s_start.app;
    s_start.app = app;
    int result = RunSequence(instance, commandLine);
    s_start.app = previous;
    return result;
}
