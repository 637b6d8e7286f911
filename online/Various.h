// Opening web pages in the browser, at once or after the program has ended.
#pragma once

class MWin;

// Opens a web address. With the ask flag of the current display mode and a GUI root, the
// player is asked first; with the exit-first flag the program ends and the page opens
// after it.
void VariousGoOnline(MWin *mwin, const char *question, const char *url, bool askFullScreen, bool askWindowed,
                     bool exitFirstFullScreen, bool exitFirstWindowed);
