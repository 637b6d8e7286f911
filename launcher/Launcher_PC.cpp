// The launcher's back end: the libraries through the run-time loader, the dialog and the
// message box on the dialogs stand-in, the game and the install page through the shell.
// Sections: folders, libraries, starting the game, message box, dialog.
#include "Launcher.h"

#include <climits>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "PlatDialogs.h"
#include "PlatRuntime.h"
#include "PlatShell.h"

static const char *const LAUNCHER_TITLE = "Plinx!";
static const char *const LAUNCHER_DIALOG_TITLE = "OpenGL Check";
static const char *const LAUNCHER_ICON_FILE = "Data/PlinxIcon.png";

static struct
{
    PlatLibrary *gl;
    PlatLibrary *sdl;
} s_libraries = {nullptr, nullptr};

// ---- Folders -----------------------------------------------------------------------------

// The launcher's own folder ("" when it cannot be read, with the reason on stderr).
static std::string ProgramFolder()
{
    char folder[PATH_MAX];
    if (PlatShellGetProgramFolder(folder, sizeof(folder)))
        return folder;
    fprintf(stderr, "Plinx_Launcher: %s\n", PlatShellGetErrorText());
    return "";
}

// The folder that holds the game's Data; the launcher's own when there is none.
static std::string GameFolder(const std::string &programFolder)
{
    char folder[PATH_MAX];
    if (PlatShellFindGameFolder(programFolder.c_str(), folder, sizeof(folder)))
        return folder;
    return programFolder;
}

// ---- Libraries ------------------------------------------------------------------------------

// Loads one library into *held; false when the system has none. A copy that the search
// finds in the launcher's own folder is not the system's: it does not count.
static bool LoadSystemLibrary(const char *soname, PlatLibrary **held)
{
    if (*held)
        return true;
    PlatLibrary *library = PlatRuntimeLoadLibrary(soname);
    if (!library)
    {
        fprintf(stderr, "Plinx_Launcher: %s\n", PlatRuntimeGetErrorText());
        return false;
    }
    std::string path = PlatRuntimeGetLibraryPath(library);
    std::string folder = path.substr(0, path.rfind('/') == std::string::npos ? 0 : path.rfind('/'));
    char resolved[PATH_MAX];
    std::string program = ProgramFolder();
    if (!folder.empty() && realpath(folder.c_str(), resolved) && program == resolved)
    {
        fprintf(stderr, "Plinx_Launcher: %s was found only beside the launcher (%s)\n", soname, path.c_str());
        PlatRuntimeFreeLibrary(library);
        return false;
    }
    *held = library;
    return true;
}

_LauncherMissing LauncherLoadD3D9Library()
{
    if (!LoadSystemLibrary(LAUNCHER_GL_LIBRARY, &s_libraries.gl))
        return LAUNCHER_MISSING_GL;
    if (!LoadSystemLibrary(LAUNCHER_SDL_LIBRARY, &s_libraries.sdl))
        return LAUNCHER_MISSING_SDL;
    return LAUNCHER_MISSING_NOTHING;
}

void LauncherFreeD3D9Library()
{
    PlatRuntimeFreeLibrary(s_libraries.sdl);
    PlatRuntimeFreeLibrary(s_libraries.gl);
    s_libraries.sdl = nullptr;
    s_libraries.gl = nullptr;
}

bool LauncherCanCreateContext()
{
    char version[256];
    if (PlatRuntimeCanCreateGLContext(s_libraries.sdl, version, sizeof(version)))
        return true;
    fprintf(stderr, "Plinx_Launcher: %s\n", PlatRuntimeGetErrorText());
    return false;
}

// ---- Message box --------------------------------------------------------------------------------

static void MessageEventCB(PlatDialog *dialog, int id, int event, int value, void *user)
{
    if (event == PLAT_DIALOG_CLICKED || event == PLAT_DIALOG_ESCAPE || event == PLAT_DIALOG_CLOSE)
        PlatDialogsEndModal(dialog, LAUNCHER_ID_OK);
}

// A message with an Ok button; on stderr when there is no display.
static void ShowMessage(const char *text)
{
    fprintf(stderr, "%s: %s\n", LAUNCHER_TITLE, text);
    if (!PlatDialogsHaveDisplay())
        return;
    PlatDialogInfo info = {LAUNCHER_TITLE, -1, -1, PlatDialogsUnitsToPixelsX(240), PlatDialogsUnitsToPixelsY(84),
                           -1, -1, -1, nullptr, 0, MessageEventCB, nullptr};
    PlatDialog *dialog = PlatDialogsCreate(&info);
    if (!dialog)
        return;
    PlatControlInfo label = {PLAT_CONTROL_LABEL, 100, PlatDialogsUnitsToPixelsX(10), PlatDialogsUnitsToPixelsY(8),
                             PlatDialogsUnitsToPixelsX(220), PlatDialogsUnitsToPixelsY(48), text, PLAT_ALIGN_LEFT, 0};
    PlatControlInfo ok = {PLAT_CONTROL_PUSH_BUTTON, LAUNCHER_ID_OK, PlatDialogsUnitsToPixelsX(95),
                          PlatDialogsUnitsToPixelsY(62), PlatDialogsUnitsToPixelsX(50), PlatDialogsUnitsToPixelsY(14),
                          "Ok", PLAT_ALIGN_CENTRE, 0};
    if (PlatDialogsAddControl(dialog, &label) && PlatDialogsAddControl(dialog, &ok) &&
        PlatDialogsSetDefaultButton(dialog, LAUNCHER_ID_OK))
        PlatDialogsRunModal(dialog);
    PlatDialogsDestroy(dialog);
}

// ---- Starting the game ----------------------------------------------------------------------------

bool LauncherStartGame()
{
    std::string program = ProgramFolder();
    std::string game = program + "/" + LAUNCHER_GAME_FILE;
    if (!program.empty() && PlatShellStartProgram(game.c_str(), GameFolder(program).c_str()))
        return true;
    // The shell's reason names the executable.
    std::string text = std::string("The game could not be started.\n\n") +
                       (program.empty() ? "The launcher's own folder is not known." : PlatShellGetErrorText());
    ShowMessage(text.c_str());
    return false;
}

static void OpenInstallPage()
{
    std::string page = GameFolder(ProgramFolder()) + "/" + LAUNCHER_INSTALL_PAGE;
    if (!PlatShellOpen(page.c_str()))
    {
        std::string text = "The page could not be opened.\n\n" + page + "\n" + PlatShellGetErrorText();
        ShowMessage(text.c_str());
    }
}

// ---- Dialog ---------------------------------------------------------------------------------------

enum
{
    DIALOG_WIDTH = 247,  // dialog units
    DIALOG_HEIGHT = 154, // dialog units
    ID_MISSING = 100,    // the labels
    ID_MUST_INSTALL = 101,
    ID_CLICK = 102,
};

struct LayoutRow
{
    int kind;
    int id;
    int x, y, width, height; // dialog units
    const char *text;        // NULL: the line on what is missing
    int align;
};

// The messages take two lines each in the dialog's font.
static const LayoutRow s_layout[] = {
    {PLAT_CONTROL_LABEL, ID_MISSING, 8, 14, 231, 20, nullptr, PLAT_ALIGN_CENTRE},
    {PLAT_CONTROL_LABEL, ID_MUST_INSTALL, 8, 38, 231, 20,
     "You must install this before you will be able to run the game.", PLAT_ALIGN_CENTRE},
    {PLAT_CONTROL_LABEL, ID_CLICK, 8, 64, 231, 12, "Click on this button to read how to install it :",
     PLAT_ALIGN_CENTRE},
    {PLAT_CONTROL_PUSH_BUTTON, LAUNCHER_ID_INSTALL_PAGE, 49, 81, 148, 16, "How to install the graphics runtime",
     PLAT_ALIGN_CENTRE},
    {PLAT_CONTROL_PUSH_BUTTON, LAUNCHER_ID_OK, 94, 133, 50, 14, "Ok", PLAT_ALIGN_CENTRE},
    {PLAT_CONTROL_PUSH_BUTTON, LAUNCHER_ID_IGNORE, 191, 133, 49, 14, "&Ignore ...", PLAT_ALIGN_CENTRE},
};

// The dialog procedure: every command closes the dialog with its id; Cancel, Escape and
// the close button count as Cancel.
static void LauncherDialogProc(PlatDialog *dialog, int id, int event, int value, void *user)
{
    if (event == PLAT_DIALOG_ESCAPE || event == PLAT_DIALOG_CLOSE)
        PlatDialogsEndModal(dialog, LAUNCHER_ID_CANCEL);
    else if (event == PLAT_DIALOG_CLICKED &&
             (id == LAUNCHER_ID_OK || id == LAUNCHER_ID_INSTALL_PAGE || id == LAUNCHER_ID_IGNORE))
        PlatDialogsEndModal(dialog, id);
}

int LauncherRunDialog(_LauncherMissing missing)
{
    const char *missingText = LauncherGetMissingText(missing);
    if (!PlatDialogsHaveDisplay())
        fprintf(stderr, "%s: %s You must install this before you will be able to run the game.\n",
                LAUNCHER_DIALOG_TITLE, missingText);
    PlatDialogInfo info = {LAUNCHER_DIALOG_TITLE, -1, -1, PlatDialogsUnitsToPixelsX(DIALOG_WIDTH),
                           PlatDialogsUnitsToPixelsY(DIALOG_HEIGHT), -1, -1, -1, nullptr, 0, LauncherDialogProc,
                           nullptr};
    PlatDialog *dialog = PlatDialogsCreate(&info);
    if (!dialog)
    {
        fprintf(stderr, "Plinx_Launcher: no dialog: %s\n", PlatDialogsGetErrorText());
        return LAUNCHER_ID_CANCEL;
    }
    std::string icon = GameFolder(ProgramFolder()) + "/" + LAUNCHER_ICON_FILE;
    PlatDialogsSetIcon(dialog, icon.c_str());
    bool made = true;
    for (const LayoutRow &row : s_layout)
    {
        PlatControlInfo control = {row.kind,
                                   row.id,
                                   PlatDialogsUnitsToPixelsX(row.x),
                                   PlatDialogsUnitsToPixelsY(row.y),
                                   PlatDialogsUnitsToPixelsX(row.width),
                                   PlatDialogsUnitsToPixelsY(row.height),
                                   row.text ? row.text : missingText,
                                   row.align,
                                   0};
        made = made && PlatDialogsAddControl(dialog, &control);
    }
    made = made && PlatDialogsSetDefaultButton(dialog, LAUNCHER_ID_OK);
    int command = LAUNCHER_ID_CANCEL;
    if (made)
        command = PlatDialogsRunModal(dialog);
    else
        fprintf(stderr, "Plinx_Launcher: no dialog controls: %s\n", PlatDialogsGetErrorText());
    PlatDialogsDestroy(dialog);
    if (command == LAUNCHER_ID_INSTALL_PAGE)
        OpenInstallPage();
    return command;
}
