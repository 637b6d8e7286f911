// How the menu screens reach the web: every page a screen opens goes through the
// browser service (VariousGoOnline); tests swap the opener for a recorder. Also the
// building of the local help page's address.
#pragma once
#include <cstddef>

class MWin;

// The browser service's shape: a page opened now or after the program has ended, asking
// first when the flag of the current display mode says so.
typedef void (*ScreensPageOpenerFn)(MWin *mwin, const char *question, const char *url, bool askFullScreen,
                                    bool askWindowed, bool exitFirstFullScreen, bool exitFirstWindowed);

// NULL puts the browser service back.
void ScreensSetPageOpener(ScreensPageOpenerFn opener);
// Opens `url` through the opener; a null or empty address is reported and nothing opens.
void ScreensGoOnline(MWin *mwin, const char *question, const char *url, bool askFullScreen, bool askWindowed,
                     bool exitFirstFullScreen, bool exitFirstWindowed);

// The maker's page `page` (1 home page, 2 forum) opened with no question, at once in a
// window and after the program has ended in full screen. False (logged) when the program
// knows no such page.
bool ScreensOpenMakerPage(MWin *mwin, int page);

// "file://" + the folder + "/" + `relativePath` with every character outside the
// unreserved set and "/" written as %XX, into out (size bytes). False, logged and out
// empty when the folder is missing or the address does not fit.
bool ScreensMakeFileUrl(const char *folder, const char *relativePath, char *out, size_t size);
// The local help page on making puzzles, as a file address under the current folder.
bool ScreensGetPuzzleHelpUrl(char *out, size_t size);

// The longest address the browser service takes.
const size_t SCREENS_MAX_URL_LENGTH = 506;
