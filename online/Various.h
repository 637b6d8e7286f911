// Web pages and the clipboard: a page opens in the desktop's browser at once or after
// the program has ended (asking the player first when the caller wishes), and plain
// text goes to and comes from the clipboard (Windows-1252 here; the platform layer
// converts).
#pragma once

class MWin;

enum
{
    VARIOUS_URL_SIZE = 512,
    VARIOUS_URL_MAX_LENGTH = 506, // longer addresses are refused
};

// Opens `url` with the desktop's browser (the shell's "open"). "No url" for NULL or "".
// After the program has ended, waits the after-exit pause so that the browser is under
// way before the process goes. False when the shell could not start it.
bool VariousGoOnlineNow(const char *url);
// Opens a web address. The ask and exit-first flags of the current display mode apply:
// with ask and a GUI root the player answers a Yes/No question first (`question`, or
// "Exit Program and Go Online ?" / "Go Online ?"); with exit-first the program ends in
// its usual order and the page opens after it, else the page opens now (leaving full
// screen first, with a "Opening browser..." notice when the GUI shows nothing else).
void VariousGoOnline(MWin *mwin, const char *question, const char *url, bool askFullScreen, bool askWindowed,
                     bool exitFirstFullScreen, bool exitFirstWindowed);

// Copies text to the clipboard; false for NULL ("Invalid parameters"), "" or no main
// window.
bool VariousCopyClipboardFromString(const char *text);
// Reads the clipboard's text into buffer (at most size - 1 characters, terminated);
// "Invalid parameters" unless size >= 2; false without a main window or a text there.
bool VariousPasteClipboardToString(char *buffer, int size);

// Seconds the process waits after opening a page once the program has ended (10).
void VariousSetAfterExitPause(double seconds);

// How the player is asked and told. The GUI's Yes/No popup and its notice unless a
// test sets its own; NULL restores them. `answer` runs with true for Yes.
struct _VariousGuiOps
{
    bool (*ask)(MWin *mwin, const char *text, void (*answer)(bool yes));
    void (*notice)(MWin *mwin, const char *text);
};
void VariousSetGuiOps(const _VariousGuiOps *ops);

// ---- What the back end provides (Various_PC.cpp) --------------------------------------------
// Starts the desktop's opener of `url` (never through a shell); false with the reason logged.
bool VariousOpenWithShell_PC(const char *url);
