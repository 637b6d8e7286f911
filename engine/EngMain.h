// The process around the one program object. The engine core (eng) keeps the
// main-thread record, the clock read, exits, signals and the log's handlers; the
// program library (eng_program) adds the entry that runs an application (creates the
// program, opens the window, creates the device, runs the main loop, tears down) and
// the message shown when the program could not start. Sections marked "eng_program"
// are defined there.
#pragma once
#include <cstdint>

struct _EngCreateWindowParms;

// ---- Set-up (eng) ------------------------------------------------------------------------------
// Registers the log's handlers (fatal reports end the program through EngMainForceExit
// and EngMainCallExit; popup reports show through EngMiscShowPopupMessage; exit reports
// are taken while a program runs). A second call returns 1 and does nothing. The entry
// and the test fixtures call it.
bool EngMainSetup();
// Forgets the log's handlers, the main thread, the pending signal, the frame timing and
// the core modules' once-per-run notes (EngZlibShutdown), so that another program object
// can be made in the same process. Nothing when not set
// up.
void EngMainShutdown();

// ---- The program layer (eng) ----------------------------------------------------------------
// What the core asks of the program layer above it. The program library registers it
// (EngMainSetupProgramLayer); without it the core acts as with no program: popups and
// message boxes go to stderr with their default answer, nothing is quitting.
struct _EngMainProgramHost
{
    // Whether a program object exists.
    bool (*isRunning)();
    // Whether the program object has been told to quit.
    bool (*isQuitting)();
    // Ends the program at once showing title and text (either may be NULL).
    void (*forceExit)(const char *title, const char *text);
    // Before a popup shows: closes what a box cannot show over (a live device). False
    // when that cannot be done now; the popup then stays stored.
    bool (*prepareForPopup)();
    // The desktop's message box (buttons ENG_MB_*, icon ENG_MB_ICON_*); answers
    // ENG_MB_RESULT_*.
    int (*messageBox)(const char *title, const char *text, int buttons, int icon);
};
// NULL forgets it. The table must outlive its registration.
void EngMainSetProgramHost(const _EngMainProgramHost *host);
// The registered program layer, or NULL.
const _EngMainProgramHost *EngMainGetProgramHost();
// Whether a program object exists (false without a program layer).
bool EngMainIsProgramRunning();

// ---- The application (eng_program) --------------------------------------------------------------------
// What the engine calls on the application, handed to the entry (EngMainRunProgram) as a
// table: the engine never finds the application by a name the linker resolves. Every
// entry is required. The table must live until the entry returns (a static constant).
//
// Order of calls in one run of the entry: createAndInitMainProgram once; on success
// getProgramTitle, getWindowClassName and getWindowSettings while the main window is
// made; then deleteMainProgram once on every path that follows a call of
// createAndInitMainProgram (also after it failed), never twice.
struct _EngMainApplication
{
    // One-time set-up (per-user folder and log first), then the program object (an
    // EngProgram subclass, whose constructor sets eng_main_program) and its Init
    // (EngProgram::InitForMain does that part). Answers non-zero to go on; else 0 with
    // *exitCode 0 for a quiet end, or the process result of a failed start.
    signed char (*createAndInitMainProgram)(void *instance, const char *commandLine, int *exitCode);
    // Shuts the program object down (EngProgram::Shutdown) and frees it; does nothing
    // when there is none.
    void (*deleteMainProgram)();
    // The main window's title (Windows-1252); the start-up settings dialog is titled
    // "<title> Settings".
    const char *(*getProgramTitle)();
    const char *(*getWindowClassName)();
    // The main window's parameters: filled by the start-up settings, read when the main
    // window is made. Owned by the application.
    _EngCreateWindowParms *(*getWindowSettings)();
};

// The application of the running entry, for the engine's own reads (the title and the
// window settings of the start-up settings). EngMainRunProgram and EngMainWinMain set it
// for the run and forget it after; tests that reach those reads without the entry set
// it themselves. NULL forgets it.
void EngMainSetApplication(const _EngMainApplication *app);
// The application set, or NULL.
const _EngMainApplication *EngMainGetApplication();
// The application's title, or "" without an application.
const char *EngMainGetProgramTitle();
// The application's window settings, or NULL without an application.
_EngCreateWindowParms *EngMainGetWindowSettings();

// ---- Entry (eng_program) -----------------------------------------------------------------------
// Registers the program layer with the core (EngMainSetProgramHost: program object,
// popups, message boxes) and sets up the core (EngMainSetup). A second call does
// nothing. The entry and every program object call it.
void EngMainSetupProgramLayer();
// Undoes EngMainSetupProgramLayer once the program object is gone: the program layer is
// forgotten, the device type unset (as before the first program object) and the core
// shut down (EngMainShutdown). Nothing when the layer is not set up.
void EngMainShutdownProgramLayer();
// The process entry: the command line is argv[1..] joined by single spaces. Runs `app`
// (see _EngMainApplication). Answers the process result (0 normal end, -1 failed start
// or an incomplete table, a start-up step's negative value).
int EngMainRunProgram(int argc, char **argv, const _EngMainApplication *app);
// The words after the program name joined by single spaces, cut to the buffer.
void EngMainBuildCommandLine(int argc, char **argv, char *out, int size);
// The start-up and shut-down sequence of `app` for one command line.
int EngMainWinMain(void *instance, const char *commandLine, const _EngMainApplication *app);
// The steps of the sequence, on the application set by EngMainSetApplication.
signed char EngMainCreateMainProgram(void *instance, const char *commandLine);
signed char EngMainCreateMainWindow();
bool EngMainCreateMainGraphicsDevice();
// Fatal checks of the engine's integer widths and of signed plain characters.
void EngMainCheckInternals();

// ---- Threads, clock, exits (eng) ----------------------------------------------------------
bool EngMainIsThisTheMainThread();
// Records the calling thread as the main thread (the program object does this).
void EngMainSetMainThread();
bool EngMainIsMainThreadSet();
// Reads the clock into the frame timing's current time and returns it.
double EngMainGetTime();
// Logs "Exiting." and ends the process with `code` on the main thread; on any other
// thread ends only that thread.
void EngMainCallExit(int code);
// Ends the program at once with a message box of `title` and `text` (without a
// program: only the box).
void EngMainForceExit(const char *title, const char *text);
// True once the program object has been told to quit (false with no program).
bool EngMainIsQuitting();
// (eng_program) Closes the program and offers the log file ("Error Running Program");
// answers the message box's result, or 0 when the program could not be closed now.
int EngMainShowPrematureTerminationMessage();

// ---- Signals (eng) -----------------------------------------------------------------------------
// SIGINT and SIGTERM only set a flag; the main loop then ends and the program shuts
// down in order on the main thread. A second such signal ends the process at once.
void EngMainInstallSignalHandlers();
void EngMainRemoveSignalHandlers();
// The signal that asked the program to end (0 for none).
int EngMainGetPendingSignal();
