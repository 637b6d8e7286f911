// The start-up settings dialog on the dialogs stand-in: the layout (dialog units), filling
// the controls from the settings record, storing them back, and the commands.
// Sections: layout, filling, storing, commands, running.
#include "ResolutionDialog.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "EngDebug.h"
#include "EngFile.h"
#include "EngLanguages.h"
#include "EngMain.h"
#include "EngMisc.h"
#include "EngProgram.h"
#include "EngResModes.h"
#include "PlatDialogs.h"
#include "Resolution.h"

static struct
{
    const _EngResMode *modes; // full-screen modes of the dialog's list
    int numModes;
    const _EngResMode *windowedMode;
    int selectedMode; // index into modes, -1 none
    bool hasBanner;
} s_dialog = {nullptr, 0, nullptr, -1, false};

enum
{
    DIALOG_WIDTH = 326,   // dialog units
    CONTROLS_HEIGHT = 138, // dialog units below the banner
    BANNER_WIDTH = 560,   // pixels
    BANNER_HEIGHT = 100,  // pixels
    BANNER_GAP = 4,       // dialog units below the banner
};

// ---- Layout ----------------------------------------------------------------------------------

struct LayoutRow
{
    int kind;
    int id; // 0: a frame or label (numbered from RESOLUTION_ID_FIRST_STATIC)
    int x, y, width, height; // dialog units, y below the banner
    const char *text;
    int align;
    int group;
};

// Two frames side by side (video on the left, the rest on the right), the web links and
// the version below them, and PLAY in the bottom right corner.
static const LayoutRow s_layout[] = {
    {PLAT_CONTROL_GROUP_BOX, 0, 6, 0, 186, 92, "Video Settings", 0, 0},
    {PLAT_CONTROL_LABEL, 0, 14, 13, 56, 10, "Display Mode", 0, 0},
    {PLAT_CONTROL_RADIO_BUTTON, RESOLUTION_ID_FULLSCREEN, 72, 12, 56, 12, "Fullscreen", 0, 1},
    {PLAT_CONTROL_RADIO_BUTTON, RESOLUTION_ID_WINDOWED, 130, 12, 56, 12, "Windowed", 0, 1},
    {PLAT_CONTROL_LABEL, 0, 14, 31, 56, 10, "Resolution", 0, 0},
    {PLAT_CONTROL_DROP_LIST, RESOLUTION_ID_RESOLUTION, 72, 29, 114, 12, "", 0, 0},
    {PLAT_CONTROL_LABEL, 0, 14, 49, 56, 10, "Anti-Aliasing", 0, 0},
    {PLAT_CONTROL_DROP_LIST, RESOLUTION_ID_ANTIALIASING, 72, 47, 96, 12, "", 0, 0},
    {PLAT_CONTROL_PUSH_BUTTON, RESOLUTION_ID_HELP_ANTIALIASING, 172, 47, 14, 12, "?", 0, 0},
    {PLAT_CONTROL_LABEL, 0, 14, 67, 56, 10, "Vertical Sync", 0, 0},
    {PLAT_CONTROL_DROP_LIST, RESOLUTION_ID_VSYNC, 72, 65, 96, 12, "", 0, 0},
    {PLAT_CONTROL_PUSH_BUTTON, RESOLUTION_ID_HELP_VSYNC, 172, 65, 14, 12, "?", 0, 0},

    {PLAT_CONTROL_GROUP_BOX, 0, 198, 0, 122, 92, "Other Settings", 0, 0},
    {PLAT_CONTROL_LABEL, 0, 204, 13, 48, 10, "Sound", 0, 0},
    {PLAT_CONTROL_DROP_LIST, RESOLUTION_ID_SOUND, 254, 11, 64, 12, "", 0, 0},
    {PLAT_CONTROL_LABEL, 0, 204, 31, 48, 10, "Music", 0, 0},
    {PLAT_CONTROL_DROP_LIST, RESOLUTION_ID_MUSIC, 254, 29, 64, 12, "", 0, 0},
    {PLAT_CONTROL_LABEL, 0, 204, 49, 48, 10, "Mouse Sync.", 0, 0},
    {PLAT_CONTROL_DROP_LIST, RESOLUTION_ID_MOUSE_SYNC, 254, 47, 50, 12, "", 0, 0},
    {PLAT_CONTROL_PUSH_BUTTON, RESOLUTION_ID_HELP_MOUSE_SYNC, 306, 47, 12, 12, "?", 0, 0},
    {PLAT_CONTROL_LABEL, 0, 204, 67, 48, 10, "Cursor Type", 0, 0},
    {PLAT_CONTROL_DROP_LIST, RESOLUTION_ID_CURSOR_TYPE, 254, 65, 50, 12, "", 0, 0},
    {PLAT_CONTROL_PUSH_BUTTON, RESOLUTION_ID_HELP_CURSOR_TYPE, 306, 65, 12, 12, "?", 0, 0},

    {PLAT_CONTROL_LABEL, 0, 8, 101, 34, 10, "WebSite:", 0, 0},
    {PLAT_CONTROL_PUSH_BUTTON, RESOLUTION_ID_HOME_PAGE, 44, 99, 50, 14, "Home Page", 0, 0},
    {PLAT_CONTROL_PUSH_BUTTON, RESOLUTION_ID_FORUM, 98, 99, 40, 14, "Forum", 0, 0},
    {PLAT_CONTROL_PUSH_BUTTON, RESOLUTION_ID_CHECK_VERSION, 142, 99, 88, 14, "Check for New Version", 0, 0},
    {PLAT_CONTROL_LABEL, RESOLUTION_ID_VERSION, 8, 121, 90, 10, "", 0, 0},
    {PLAT_CONTROL_PUSH_BUTTON, RESOLUTION_ID_PLAY, 250, 99, 70, 32, "&PLAY", 0, 0},
};

struct HelpBox
{
    int id;
    const char *captionToken, *caption, *textToken, *text;
};

static const HelpBox s_helpBoxes[] = {
    {RESOLUTION_ID_HELP_ANTIALIASING, "Startup_Antialiasing", "Anti-Aliasing", "Startup_AntialiasingMessage",
     "Anti-aliasing removes the jagged edges that appear when running the game in low resolutions.\n\nIt is not "
     "generally needed for this game and it is recommended that you keep this option turned off as it can slow down "
     "the graphics.\n\nSome systems do not support anti-aliasing."},
    {RESOLUTION_ID_HELP_VSYNC, "Startup_Vsync", "Vertical Syncronisation", "Startup_VsyncMessage",
     "Vertical Syncronisation (V-Sync) keeps the game refresh rate the same rate as the refresh rate of your "
     "monitor.\n\nTurning this off can improve graphics performance on some systems, but can also cause graphical "
     "problems.\n\nIs it recommended that you leave this setting to \"Auto\"."},
    {RESOLUTION_ID_HELP_CURSOR_TYPE, "Startup_CursorType", "Cursor Type", "Startup_CursorTypeMessage",
     "Select between two different cursor (or mouse pointer) types :\n\nOne uses a texture as a cursor, the other "
     "uses the default windows cursor."},
    {RESOLUTION_ID_HELP_MOUSE_SYNC, "Startup_MouseSync", "Mouse Synchronisation", "Startup_MouseSyncMessage",
     "If the movement response of the mouse is slow as you move it around while playing, turning on this option "
     "should fix this problem.\n\nThe two different methods are two different ways to solve the problem - if one "
     "does not work, try the other."},
};

static void OnEvent(PlatDialog *dialog, int id, int event, int value, void *user);

PlatDialog *ResolutionDialogCreate(const _EngResMode *modes, int numModes, const _EngResMode *windowedMode)
{
    s_dialog.modes = modes;
    s_dialog.numModes = modes ? numModes : 0;
    s_dialog.windowedMode = windowedMode;
    s_dialog.selectedMode = -1;
    s_dialog.hasBanner = EngFileExists(RESOLUTION_BANNER_FILE, false);
    // Dialog units below the banner's pixels (8 vertical units are one character height).
    int bannerUnits = (BANNER_HEIGHT * 8 + PlatDialogsUnitsToPixelsY(8) - 1) / PlatDialogsUnitsToPixelsY(8);
    int top = s_dialog.hasBanner ? bannerUnits + BANNER_GAP : 6;
    int height = top + CONTROLS_HEIGHT;

    char title[128];
    snprintf(title, sizeof(title), "%s Settings", EngMainGetProgramTitle());
    PlatDialogInfo info = {title, -1, -1, PlatDialogsUnitsToPixelsX(DIALOG_WIDTH),
                           PlatDialogsUnitsToPixelsY(height), -1, -1, -1, nullptr, 0, OnEvent, nullptr};
    PlatDialog *dialog = PlatDialogsCreate(&info);
    if (!dialog)
    {
        DebugError(ENG_FUNC, "Could not create the dialog: %s", PlatDialogsGetErrorText());
        return nullptr;
    }
    PlatDialogsSetIcon(dialog, RESOLUTION_ICON_FILE);
    bool made = true;
    if (s_dialog.hasBanner)
    {
        PlatControlInfo banner = {PLAT_CONTROL_PICTURE, RESOLUTION_ID_BANNER,
                                  (PlatDialogsUnitsToPixelsX(DIALOG_WIDTH) - BANNER_WIDTH) / 2, 0, BANNER_WIDTH,
                                  BANNER_HEIGHT, RESOLUTION_BANNER_FILE, 0, 0};
        made = PlatDialogsAddControl(dialog, &banner);
    }
    int nextStatic = RESOLUTION_ID_FIRST_STATIC;
    for (const LayoutRow &row : s_layout)
    {
        PlatControlInfo control = {row.kind, row.id ? row.id : nextStatic++, PlatDialogsUnitsToPixelsX(row.x),
                                   PlatDialogsUnitsToPixelsY(row.y + top), PlatDialogsUnitsToPixelsX(row.width),
                                   PlatDialogsUnitsToPixelsY(row.height), row.text, row.align, row.group};
        made = made && PlatDialogsAddControl(dialog, &control);
    }
    // PLAY is the default button: Enter plays.
    made = made && PlatDialogsSetDefaultButton(dialog, RESOLUTION_ID_PLAY);
    if (!made)
    {
        DebugError(ENG_FUNC, "Could not create the dialog's controls: %s", PlatDialogsGetErrorText());
        PlatDialogsDestroy(dialog);
        return nullptr;
    }
    return dialog;
}

void ResolutionDialogDestroy(PlatDialog *dialog)
{
    PlatDialogsDestroy(dialog);
    s_dialog.modes = nullptr;
    s_dialog.numModes = 0;
    s_dialog.windowedMode = nullptr;
}

int ResolutionDialogGetSelectedMode()
{
    return s_dialog.selectedMode;
}

// ---- Filling ---------------------------------------------------------------------------------

// The mode whose anti-aliasing choices the dialog shows.
static const _EngResMode *CurrentMode()
{
    const ResolutionSettings *s = ResolutionGetSettings();
    if (s->windowed)
        return s_dialog.windowedMode;
    if (s_dialog.selectedMode >= 0 && s_dialog.selectedMode < s_dialog.numModes)
        return &s_dialog.modes[s_dialog.selectedMode];
    return nullptr;
}

static void FillList(PlatDialog *dialog, int id, const char *const *items, int count, int selection)
{
    PlatDialogsListClear(dialog, id);
    for (int i = 0; i < count; i++)
        PlatDialogsListAdd(dialog, id, items[i]);
    PlatDialogsListSelect(dialog, id, selection >= 0 && selection < count ? selection : -1);
}

static void FillOffOn(PlatDialog *dialog, int id, bool shown, bool on)
{
    const char *offOn[] = {"Off", "On"};
    PlatDialogsSetEnabled(dialog, id, shown);
    if (shown)
        FillList(dialog, id, offOn, 2, on ? 1 : 0);
    else
        PlatDialogsListClear(dialog, id);
}

static void FillResolutions(PlatDialog *dialog)
{
    ResolutionSettings *s = ResolutionGetSettings();
    PlatDialogsListClear(dialog, RESOLUTION_ID_RESOLUTION);
    s_dialog.selectedMode = -1;
    if (s->windowed)
    {
        PlatDialogsSetEnabled(dialog, RESOLUTION_ID_RESOLUTION, false);
        return;
    }
    int best = -1;
    long bestDistance = 0;
    for (int i = 0; i < s_dialog.numModes; i++)
    {
        const _EngResMode &mode = s_dialog.modes[i];
        char text[64];
        snprintf(text, sizeof(text), "%d x %d x %d", mode.width, mode.height, mode.depth);
        PlatDialogsListAdd(dialog, RESOLUTION_ID_RESOLUTION, text);
        long distance = labs((long)mode.width - s->fullScreenWidth) + labs((long)mode.height - s->fullScreenHeight) +
                        10 * labs((long)mode.depth - s->fullScreenDepth);
        if (best < 0 || distance < bestDistance)
        {
            best = i;
            bestDistance = distance;
        }
    }
    s_dialog.selectedMode = best;
    PlatDialogsListSelect(dialog, RESOLUTION_ID_RESOLUTION, best);
    PlatDialogsSetEnabled(dialog, RESOLUTION_ID_RESOLUTION, s_dialog.numModes > 0);
}

static void FillAntiAliasing(PlatDialog *dialog)
{
    const ResolutionSettings *s = ResolutionGetSettings();
    const _EngResMode *mode = CurrentMode();
    PlatDialogsListClear(dialog, RESOLUTION_ID_ANTIALIASING);
    int count = mode ? mode->numAntiAliasing : 0;
    if (count > ENG_RES_MODE_MAX_AA)
        count = ENG_RES_MODE_MAX_AA;
    int wantedType = s->windowed ? s->windowedMultisampleType : s->fullScreenMultisampleType;
    int wantedQuality = s->windowed ? s->windowedMultisampleQuality : s->fullScreenMultisampleQuality;
    int best = -1, bestDistance = 0;
    for (int i = 0; i < count; i++)
    {
        PlatDialogsListAdd(dialog, RESOLUTION_ID_ANTIALIASING, EngResModesGetMultiSampleText(mode->antiAliasing[i]));
        int distance = abs(mode->antiAliasing[i][0] - wantedType) + abs(mode->antiAliasing[i][1] - wantedQuality);
        if (best < 0 || distance < bestDistance)
        {
            best = i;
            bestDistance = distance;
        }
    }
    PlatDialogsListSelect(dialog, RESOLUTION_ID_ANTIALIASING, best);
    // Only "Off" is no choice at all.
    PlatDialogsSetEnabled(dialog, RESOLUTION_ID_ANTIALIASING, count > 1);
}

void ResolutionDialogFill(PlatDialog *dialog)
{
    ResolutionSettings *s = ResolutionGetSettings();
    const ResolutionSetupValues *setup = ResolutionGetSetupValues();
    PlatDialogsSetChecked(dialog, s->windowed ? RESOLUTION_ID_WINDOWED : RESOLUTION_ID_FULLSCREEN, true);

    // Links 4 to 7 and the texture lists belong to other variants of this dialog.
    if (setup->linkProvider)
        for (int link = 4; link <= 7; link++)
            if (setup->linkProvider(link))
                DebugError(ENG_FUNC, "ID_BUTTON_LINK_%02d not defined.", link - 3);
    if (setup->flags[3])
        DebugError(ENG_FUNC, "ID_COMBO_BOARD_TEX not defined.");
    if (setup->flags[4])
        DebugError(ENG_FUNC, "ID_COMBO_CARD_TEX not defined.");

    FillResolutions(dialog);
    FillAntiAliasing(dialog);

    int8_t &verticalSync = s->windowed ? s->windowedVerticalSync : s->fullScreenVerticalSync;
    if (verticalSync < 0 || verticalSync > 2)
        verticalSync = 0;
    const char *syncItems[] = {EngLanguagesGetStringOrDefault("VSync_Auto", "Automatic"),
                               EngLanguagesGetStringOrDefault("Common_On", "On"),
                               EngLanguagesGetStringOrDefault("Common_Off", "Off")};
    FillList(dialog, RESOLUTION_ID_VSYNC, syncItems, 3, verticalSync);

    const char *cursorItems[] = {"Texture", "Windows"};
    FillList(dialog, RESOLUTION_ID_CURSOR_TYPE, cursorItems, 2, s->cursorType ? 1 : 0);
    FillOffOn(dialog, RESOLUTION_ID_SOUND, setup->flags[2], s->soundOn != 0);
    FillOffOn(dialog, RESOLUTION_ID_MUSIC, setup->flags[1], s->musicOn != 0);
    const char *mouseItems[] = {"Off", "Method 1", "Method 2"};
    FillList(dialog, RESOLUTION_ID_MOUSE_SYNC, mouseItems, 3, s->mouseSync < 0 || s->mouseSync > 2 ? 0 : s->mouseSync);

    char version[32];
    snprintf(version, sizeof(version), "Version %.2f", setup->programVersion);
    PlatDialogsSetText(dialog, RESOLUTION_ID_VERSION, version);
    // Full screen needs a mode to play in.
    PlatDialogsSetEnabled(dialog, RESOLUTION_ID_PLAY, s->windowed || s_dialog.numModes > 0);
}

// ---- Storing ---------------------------------------------------------------------------------

void ResolutionDialogStore(PlatDialog *dialog)
{
    ResolutionSettings *s = ResolutionGetSettings();
    const ResolutionSetupValues *setup = ResolutionGetSetupValues();
    s->windowed = PlatDialogsIsChecked(dialog, RESOLUTION_ID_FULLSCREEN) ? 0 : 1;
    int selection;
    if (setup->flags[2] && (selection = PlatDialogsListGetSelection(dialog, RESOLUTION_ID_SOUND)) >= 0)
        s->soundOn = (uint8_t)selection;
    if (setup->flags[1] && (selection = PlatDialogsListGetSelection(dialog, RESOLUTION_ID_MUSIC)) >= 0)
        s->musicOn = (uint8_t)selection;

    selection = PlatDialogsListGetSelection(dialog, RESOLUTION_ID_RESOLUTION);
    if (!s->windowed && selection >= 0 && selection < s_dialog.numModes)
    {
        s_dialog.selectedMode = selection;
        s->fullScreenWidth = s_dialog.modes[selection].width;
        s->fullScreenHeight = s_dialog.modes[selection].height;
        s->fullScreenDepth = s_dialog.modes[selection].depth;
    }
    selection = PlatDialogsListGetSelection(dialog, RESOLUTION_ID_VSYNC);
    if (selection >= 0)
        (s->windowed ? s->windowedVerticalSync : s->fullScreenVerticalSync) = (int8_t)selection;

    const _EngResMode *mode = CurrentMode();
    selection = PlatDialogsListGetSelection(dialog, RESOLUTION_ID_ANTIALIASING);
    int type = 0, quality = 0;
    if (mode && selection >= 0 && selection < mode->numAntiAliasing && selection < ENG_RES_MODE_MAX_AA)
    {
        type = mode->antiAliasing[selection][0];
        quality = mode->antiAliasing[selection][1];
    }
    (s->windowed ? s->windowedMultisampleType : s->fullScreenMultisampleType) = type;
    (s->windowed ? s->windowedMultisampleQuality : s->fullScreenMultisampleQuality) = quality;

    if ((selection = PlatDialogsListGetSelection(dialog, RESOLUTION_ID_CURSOR_TYPE)) >= 0)
        s->cursorType = (uint8_t)selection;
    if ((selection = PlatDialogsListGetSelection(dialog, RESOLUTION_ID_MOUSE_SYNC)) >= 0)
        s->mouseSync = selection;
}

// ---- Commands ----------------------------------------------------------------------------------

static void OpenLink(int link)
{
    const ResolutionSetupValues *setup = ResolutionGetSetupValues();
    const char *address = setup->linkProvider ? setup->linkProvider(link) : nullptr;
    if (address)
        ResolutionGetOnlineHooks()->openWebPage(address);
}

static void OnEvent(PlatDialog *dialog, int id, int event, int value, void *user)
{
    ResolutionSettings *s = ResolutionGetSettings();
    const ResolutionSetupValues *setup = ResolutionGetSetupValues();
    switch (event)
    {
    case PLAT_DIALOG_ESCAPE:
    case PLAT_DIALOG_CLOSE:
        PlatDialogsEndModal(dialog, -1);
        return;
    case PLAT_DIALOG_CHECKED:
        s->windowed = id == RESOLUTION_ID_WINDOWED ? 1 : 0;
        ResolutionDialogFill(dialog);
        return;
    case PLAT_DIALOG_SELECTED:
        ResolutionDialogStore(dialog);
        if (id == RESOLUTION_ID_RESOLUTION || id == RESOLUTION_ID_ANTIALIASING || id == RESOLUTION_ID_VSYNC ||
            id == RESOLUTION_ID_SOUND || id == RESOLUTION_ID_MUSIC)
            ResolutionDialogFill(dialog);
        return;
    case PLAT_DIALOG_CLICKED:
        break;
    default:
        return;
    }
    for (const HelpBox &help : s_helpBoxes)
        if (help.id == id)
        {
            EngMiscShowPopupMessage(ENG_POPUP_PLAIN, EngLanguagesGetStringOrDefault(help.captionToken, help.caption),
                                    EngLanguagesGetStringOrDefault(help.textToken, help.text));
            return;
        }
    switch (id)
    {
    case RESOLUTION_ID_PLAY:
        ResolutionDialogStore(dialog);
        PlatDialogsEndModal(dialog, 1);
        break;
    case RESOLUTION_ID_HOME_PAGE:
        OpenLink(1);
        break;
    case RESOLUTION_ID_FORUM:
        OpenLink(2);
        break;
    case RESOLUTION_ID_CHECK_VERSION:
        ResolutionGetOnlineHooks()->checkForNewVersion(setup->programId, setup->programVersion, setup->programType);
        break;
    }
}

// ---- Running -----------------------------------------------------------------------------------

signed char ResolutionDialogRunModal(PlatDialog *dialog)
{
    if (!dialog)
        return 0;
    ResolutionDialogFill(dialog);
    int result = PlatDialogsRunModal(dialog);
    return result >= 1 ? 1 : (signed char)(result < 0 ? -1 : 0);
}

signed char ResolutionDialogRun()
{
    if (!eng_main_program)
        return 0;
    // The dialog's own list, dropped when it cannot be filled (then full screen has no modes).
    EngResModes *modes = new EngResModes();
    bool haveModes = modes->IsSetup();
    PlatDialog *dialog = ResolutionDialogCreate(haveModes ? modes->modes : nullptr, haveModes ? modes->numModes : 0,
                                                haveModes ? modes->windowedMode : nullptr);
    signed char result = ResolutionDialogRunModal(dialog);
    ResolutionDialogDestroy(dialog);
    delete modes;
    if (result < 1)
        return result;

    ResolutionSettings *s = ResolutionGetSettings();
    if (s->programVersion != ResolutionGetSetupValues()->programVersion)
        ResolutionResetInternetTest();
    ResolutionRunInternetTest();
    return 1;
}
