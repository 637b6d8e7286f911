// The start-up settings dialog: its controls and layout, what it fills in from the
// settings record, what it stores back and what each command does. It runs on the
// dialogs stand-in, so tests drive it headless, as a person would.
#pragma once

struct PlatDialog;
struct _EngResMode;

// Control ids of the dialog.
enum ResolutionDialogControl
{
    RESOLUTION_ID_PLAY = 1000,
    RESOLUTION_ID_FULLSCREEN = 1001,
    RESOLUTION_ID_WINDOWED = 1002,
    RESOLUTION_ID_RESOLUTION = 1003,
    RESOLUTION_ID_ANTIALIASING = 1006,
    RESOLUTION_ID_VSYNC = 1007,
    RESOLUTION_ID_HELP_ANTIALIASING = 1018,
    RESOLUTION_ID_HELP_VSYNC = 1019,
    RESOLUTION_ID_VERSION = 1026,
    RESOLUTION_ID_MOUSE_SYNC = 1028,
    RESOLUTION_ID_HELP_MOUSE_SYNC = 1030,
    RESOLUTION_ID_HOME_PAGE = 1047,
    RESOLUTION_ID_FORUM = 1048,
    RESOLUTION_ID_CHECK_VERSION = 1050,
    RESOLUTION_ID_CURSOR_TYPE = 1211,
    RESOLUTION_ID_HELP_CURSOR_TYPE = 1212,
    RESOLUTION_ID_SOUND = 1213,
    RESOLUTION_ID_MUSIC = 1214,
    RESOLUTION_ID_BANNER = 1300,
    RESOLUTION_ID_FIRST_STATIC = 1400, // frames and labels from here on
};

// The banner picture across the top (560 x 100 pixels); without the file the dialog shows
// without it. The program icon goes on the dialog's window.
#define RESOLUTION_BANNER_FILE "Data/StartupBanner.png"
#define RESOLUTION_ICON_FILE "Data/PlinxIcon.png"

// Only with a program object (else 0): builds a fresh display-mode list, runs the dialog,
// frees the list. After PLAY, the internet test runs when one is due; the result is 1.
// Escape, Cancel or closing the window answer -1.
signed char ResolutionDialogRun();

// The steps of the run, for tests: the dialog over a given mode list (which must outlive
// it), filled from the record; its modal run (1 PLAY with the choices stored, -1 ended).
PlatDialog *ResolutionDialogCreate(const _EngResMode *modes, int numModes, const _EngResMode *windowedMode);
void ResolutionDialogFill(PlatDialog *dialog);
void ResolutionDialogStore(PlatDialog *dialog);
signed char ResolutionDialogRunModal(PlatDialog *dialog);
void ResolutionDialogDestroy(PlatDialog *dialog);
// The full-screen mode the resolution list has selected (-1: none).
int ResolutionDialogGetSelectedMode();
