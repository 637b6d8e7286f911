// Start-up and shut-down of the process around the one program object.
#pragma once

class EngProgram;

// The one program object; set by its constructor, cleared at shut-down.
extern EngProgram *eng_main_program;

// Logs "Exiting." and ends the process with `code` on the main thread; on any other
// thread ends only that thread.
void EngMainCallExit(int code);
// Ends the program at once with a message box of `title` and `text`.
void EngMainForceExit(const char *title, const char *text);
// True once the program object has been told to quit (false with no program).
bool EngMainIsQuitting();
bool EngMainIsThisTheMainThread();
// Records the calling thread as the main thread.
void EngMainSetMainThread();
// Reads the clock into the frame timing's current time and returns it.
double EngMainGetTime();
