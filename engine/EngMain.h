// Start-up and shut-down of the process around the one program object: the entry that
// creates the program, opens the window, creates the device, runs the main loop and
// tears down; the main-thread record, the clock read, forced exits and the message
// shown when the program could not start.
#pragma once
#include <cstdint>

class EngProgram;
struct _EngCreateWindowParms;

// The one program object; set by its constructor, cleared at shut-down.
extern EngProgram *eng_main_program;

// ---- Provided by the application -------------------------------------------------------
// One-time set-up, the program object and EngProgram::Init. Non-zero on success; else 0
// with *exitCode (0 for a quiet end).
signed char MainCreateAndInitMainProgram(void *instance, const char *commandLine, int *exitCode);
// Shuts the program down and frees it.
void MainDeleteMainProgram();
const char *MainGetProgramTitle();
const char *MainGetWindowClassName();
_EngCreateWindowParms *MainGetWindowSettings();

// ---- Entry -------------------------------------------------------------------------------
// The process entry: the command line is argv[1..] joined by single spaces. Answers the
// process result (0 normal end, -1 failed start, a start-up step's negative value).
int EngMainRunProgram(int argc, char **argv);
// The words after the program name joined by single spaces, cut to the buffer.
void EngMainBuildCommandLine(int argc, char **argv, char *out, int size);
// The start-up and shut-down sequence for one command line.
int EngMainWinMain(void *instance, const char *commandLine);
signed char EngMainCreateMainProgram(void *instance, const char *commandLine);
signed char EngMainCreateMainWindow();
bool EngMainCreateMainGraphicsDevice();
// Fatal checks of the engine's integer widths and of signed plain characters.
void EngMainCheckInternals();

// ---- Threads, clock, exits -----------------------------------------------------------------
bool EngMainIsThisTheMainThread();
// Records the calling thread as the main thread (the program object does this).
void EngMainSetMainThread();
bool EngMainIsMainThreadSet();
// Reads the clock into the frame timing's current time and returns it.
double EngMainGetTime();
// Logs "Exiting." and ends the process with `code` on the main thread; on any other
// thread ends only that thread.
void EngMainCallExit(int code);
// Ends the program at once with a message box of `title` and `text`.
void EngMainForceExit(const char *title, const char *text);
// True once the program object has been told to quit (false with no program).
bool EngMainIsQuitting();
// Closes the program and offers the log file ("Error Running Program"); answers the
// message box's result, or 0 when the program could not be closed now.
int EngMainShowPrematureTerminationMessage();

// ---- Signals ---------------------------------------------------------------------------------
// SIGINT and SIGTERM only set a flag; the main loop then ends and the program shuts
// down in order on the main thread. A second such signal ends the process at once.
void EngMainInstallSignalHandlers();
void EngMainRemoveSignalHandlers();
// The signal that asked the program to end (0 for none).
int EngMainGetPendingSignal();

// For tests: forgets the main thread, the pending signal and the frame timing, so that
// another program object can be made in the same process.
void EngMainResetForTests();
