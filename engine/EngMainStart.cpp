// The start-up and shut-down sequence: program object, window, device, main loop,
// teardown. Calls the application's Main* functions, so only the process entry (and
// tests that provide them) link this file.
#include <cstring>

#include "EngDebug.h"
#include "EngMain.h"
#include "EngMemory.h"
#include "EngProgram.h"

int EngMainRunProgram(int argc, char **argv)
{
    char commandLine[4096];
    EngMainBuildCommandLine(argc, argv, commandLine, sizeof(commandLine));
    return EngMainWinMain(nullptr, commandLine);
}

signed char EngMainCreateMainProgram(void *instance, const char *commandLine)
{
    int exitCode = 0;
    signed char result = MainCreateAndInitMainProgram(instance, commandLine, &exitCode);
    if (result != 0)
    {
        if (eng_main_program)
        {
            EngMainCheckInternals();
            return 1;
        }
        DebugError(ENG_FUNC, "eng_main_program was not created.");
        EngMainShowPrematureTerminationMessage();
        MainDeleteMainProgram();
        return -1;
    }
    if (exitCode == 0)
    {
        MainDeleteMainProgram();
        return 0;
    }
    DebugError(ENG_FUNC, "Init returned %d,  Exit %d.", (int)result, exitCode);
    EngMainShowPrematureTerminationMessage();
    MainDeleteMainProgram();
    return (signed char)exitCode;
}

signed char EngMainCreateMainWindow()
{
    if (!eng_main_program)
    {
        DebugError(ENG_FUNC, "No main program");
        return 0;
    }
    return eng_main_program->CreateMainWindow(MainGetProgramTitle(), MainGetWindowClassName(),
                                              MainGetWindowSettings());
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

int EngMainWinMain(void *instance, const char *commandLine)
{
    if (eng_main_program)
    {
        DebugError("_WinMain@16", "eng_main_program already exists.");
        return -1;
    }
    signed char started = EngMainCreateMainProgram(instance, commandLine ? commandLine : "");
    if (started < 1)
        return started;
    signed char windowResult = EngMainCreateMainWindow();
    if (windowResult < 0)
    {
        MainDeleteMainProgram();
        return windowResult;
    }
    if (windowResult > 0 && EngMainCreateMainGraphicsDevice())
    {
        eng_main_program->RunMainLoop();
        MainDeleteMainProgram();
        return 0;
    }
    EngMainShowPrematureTerminationMessage();
    MainDeleteMainProgram();
    return -1;
}
