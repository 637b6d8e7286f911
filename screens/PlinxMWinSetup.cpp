// The game's GUI set-up: the button sheet and its texture buttons, the GUI font and its
// styles, the layout metrics. The slot map below places every texture button on the
// generated sheet "Data/PlinxButtons.tga" (fractions of the sheet: left, top, right,
// bottom).
#include "PlinxMWinSetup.h"

#include <cstring>

#include "EngDebug.h"
#include "EngFont.h"
#include "MWin.h"

namespace
{

const char kButtonsTexture[] = "Buttons";
const char kButtonsFile[] = "Data/PlinxButtons.tga";

struct StateRegion
{
    const char *texture; // "" none
    float region[4];
};

struct StateColour
{
    int state; // -1 unused
    float rgba[4];
};

struct TexButRow
{
    const char *id;
    int slot;              // -1 a game texture button, else the standard slot
    const char *slotName;  // the slot's constant, for the log
    StateRegion states[4]; // normal, hover, pressed, disabled
    int styleX;
    float capFractionX, capSizeX;
    int styleY;
    float capFractionY, capSizeY;
    float extra[3];        // widening, raising, lengthening
    StateColour colours[4];
};

const TexButRow kTexButs[] = {
    {"ArrowL", -1, nullptr,
     {{"Buttons", {0.003f, 0.255f, 0.12f, 0.37f}}, {"Buttons", {0.003f, 0.255f, 0.12f, 0.37f}}, {"Buttons", {0.003f, 0.255f, 0.12f, 0.37f}}, {"Buttons", {0.003f, 0.255f, 0.12f, 0.37f}}},
     1, 0.0f, 0.0f, 0, 0.0f, 0.0f, {0.0f, 0.0f, 0.0f},
     {{0, {0.883f, 0.883f, 0.883f, 1.0f}}, {2, {0.821f, 0.821f, 0.821f, 1.0f}}, {3, {1.0f, 1.0f, 1.0f, 0.5f}}, {-1, {0, 0, 0, 0}}}},
    {"ArrowR", -1, nullptr,
     {{"Buttons", {0.131f, 0.255f, 0.246f, 0.37f}}, {"Buttons", {0.131f, 0.255f, 0.246f, 0.37f}}, {"Buttons", {0.131f, 0.255f, 0.246f, 0.37f}}, {"Buttons", {0.131f, 0.255f, 0.246f, 0.37f}}},
     1, 0.0f, 0.0f, 0, 0.0f, 0.0f, {0.0f, 0.0f, 0.0f},
     {{0, {0.867f, 0.867f, 0.867f, 1.0f}}, {2, {0.879f, 0.879f, 0.879f, 1.0f}}, {3, {1.0f, 1.0f, 1.0f, 0.504f}}, {-1, {0, 0, 0, 0}}}},
    {"Back1", -1, nullptr,
     {{"Buttons", {0.002f, 0.001f, 0.248f, 0.249f}}, {"", {0.0f, 0.0f, 1.0f, 1.0f}}, {"", {0.0f, 0.0f, 1.0f, 1.0f}}, {"Buttons", {0.002f, 0.001f, 0.248f, 0.249f}}},
     2, 0.26f, 14.0f, 2, 0.16f, 5.0f, {0.0f, 0.0f, 0.0f},
     {{-1, {0, 0, 0, 0}}, {-1, {0, 0, 0, 0}}, {-1, {0, 0, 0, 0}}, {-1, {0, 0, 0, 0}}}},
    {"Back2", -1, nullptr,
     {{"Buttons", {0.0f, 0.511f, 0.248f, 0.749f}}, {"", {0.0f, 0.0f, 1.0f, 1.0f}}, {"", {0.0f, 0.0f, 1.0f, 1.0f}}, {"Buttons", {0.0f, 0.511f, 0.248f, 0.749f}}},
     2, 0.15f, 17.0f, 2, 0.29f, 10.0f, {0.0f, 0.0f, 0.0f},
     {{-1, {0, 0, 0, 0}}, {-1, {0, 0, 0, 0}}, {-1, {0, 0, 0, 0}}, {-1, {0, 0, 0, 0}}}},
    {"Black", -1, nullptr,
     {{"Buttons", {0.001f, 0.375f, 0.251f, 0.437f}}, {"", {0.0f, 0.0f, 1.0f, 1.0f}}, {"", {0.0f, 0.0f, 1.0f, 1.0f}}, {"Buttons", {0.001f, 0.375f, 0.251f, 0.437f}}},
     2, 0.04f, 4.0f, 2, 0.12f, 3.0f, {0.0f, 0.0f, 0.0f},
     {{-1, {0, 0, 0, 0}}, {-1, {0, 0, 0, 0}}, {-1, {0, 0, 0, 0}}, {-1, {0, 0, 0, 0}}}},
    {"Box", -1, nullptr,
     {{"Buttons", {0.001f, 0.378f, 0.249f, 0.435f}}, {"", {0.0f, 0.0f, 1.0f, 1.0f}}, {"", {0.0f, 0.0f, 1.0f, 1.0f}}, {"Buttons", {0.003f, 0.379f, 0.245f, 0.434f}}},
     2, 0.18f, 13.0f, 2, 0.18f, 13.0f, {0.0f, 0.0f, 0.0f},
     {{-1, {0, 0, 0, 0}}, {-1, {0, 0, 0, 0}}, {-1, {0, 0, 0, 0}}, {-1, {0, 0, 0, 0}}}},
    {"Main", -1, nullptr,
     {{"Buttons", {0.0f, 0.502f, 0.249f, 0.748f}}, {"Buttons", {0.251f, 0.502f, 0.499f, 0.748f}}, {"Buttons", {0.501f, 0.502f, 0.749f, 0.748f}}, {"Buttons", {0.751f, 0.502f, 0.999f, 0.748f}}},
     2, 0.12f, 9.0f, 1, 0.16f, 4.0f, {0.0f, 0.0f, 0.0f},
     {{-1, {0, 0, 0, 0}}, {-1, {0, 0, 0, 0}}, {-1, {0, 0, 0, 0}}, {-1, {0, 0, 0, 0}}}},
    {"Panel", -1, nullptr,
     {{"Buttons", {0.005f, 0.505f, 0.245f, 0.745f}}, {"Buttons", {0.255f, 0.505f, 0.495f, 0.745f}}, {"Buttons", {0.505f, 0.505f, 0.745f, 0.745f}}, {"Buttons", {0.755f, 0.505f, 0.995f, 0.745f}}},
     2, 0.13f, 9.0f, 1, 0.0f, 0.0f, {0.0f, 0.0f, 0.0f},
     {{-1, {0, 0, 0, 0}}, {-1, {0, 0, 0, 0}}, {-1, {0, 0, 0, 0}}, {-1, {0, 0, 0, 0}}}},
    {"Start", -1, nullptr,
     {{"Buttons", {0.0f, 0.75f, 0.25f, 1.0f}}, {"Buttons", {0.251f, 0.75f, 0.499f, 1.0f}}, {"Buttons", {0.501f, 0.75f, 0.749f, 1.0f}}, {"Buttons", {0.751f, 0.75f, 0.999f, 1.0f}}},
     0, 0.0f, 0.0f, 0, 0.0f, 0.0f, {0.0f, 0.0f, 0.0f},
     {{-1, {0, 0, 0, 0}}, {-1, {0, 0, 0, 0}}, {-1, {0, 0, 0, 0}}, {-1, {0, 0, 0, 0}}}},
    {"TitleBack", -1, nullptr,
     {{"Buttons", {0.002f, 0.001f, 0.248f, 0.249f}}, {"", {0.0f, 0.0f, 1.0f, 1.0f}}, {"", {0.0f, 0.0f, 1.0f, 1.0f}}, {"", {0.0f, 0.0f, 1.0f, 1.0f}}},
     2, 0.26f, 14.0f, 2, 0.16f, 5.0f, {0.0f, 0.0f, 0.0f},
     {{-1, {0, 0, 0, 0}}, {-1, {0, 0, 0, 0}}, {-1, {0, 0, 0, 0}}, {-1, {0, 0, 0, 0}}}},
    {"StdWinBack", 0, "MWIN_STD_TEX_WIN_BACK",
     {{"Buttons", {0.001f, 0.001f, 0.257f, 0.249f}}, {"", {0.0f, 0.0f, 1.0f, 1.0f}}, {"", {0.0f, 0.0f, 1.0f, 1.0f}}, {"", {0.0f, 0.0f, 1.0f, 1.0f}}},
     2, 0.08f, 6.0f, 2, 0.14f, 6.0f, {4.0f, 2.0f, 2.0f},
     {{-1, {0, 0, 0, 0}}, {-1, {0, 0, 0, 0}}, {-1, {0, 0, 0, 0}}, {-1, {0, 0, 0, 0}}}},
    {"StdWinTitle", 1, "MWIN_STD_TEX_WIN_TITLE",
     {{"Buttons", {0.001f, 0.377f, 0.25f, 0.437f}}, {"", {0.0f, 0.0f, 1.0f, 1.0f}}, {"", {0.0f, 0.0f, 1.0f, 1.0f}}, {"", {0.0f, 0.0f, 1.0f, 1.0f}}},
     2, 0.04f, 4.0f, 1, 0.13f, 6.0f, {0.0f, 0.0f, 0.0f},
     {{-1, {0, 0, 0, 0}}, {-1, {0, 0, 0, 0}}, {-1, {0, 0, 0, 0}}, {-1, {0, 0, 0, 0}}}},
    {"StdButtonHide", 2, "MWIN_STD_TEX_BUTTON_HIDE",
     {{"Buttons", {0.0f, 0.502f, 0.249f, 0.748f}}, {"Buttons", {0.251f, 0.502f, 0.499f, 0.748f}}, {"Buttons", {0.501f, 0.502f, 0.749f, 0.748f}}, {"Buttons", {0.751f, 0.502f, 0.999f, 0.748f}}},
     2, 0.12f, 9.0f, 1, 0.16f, 4.0f, {0.0f, 0.0f, 0.0f},
     {{0, {0.865f, 0.865f, 0.865f, 1.0f}}, {2, {0.974f, 0.962f, 1.0f, 1.0f}}, {3, {0.452f, 0.452f, 0.452f, 1.0f}}, {-1, {0, 0, 0, 0}}}},
    {"StdButtonBack", 3, "MWIN_STD_TEX_BUTTON_BACK",
     {{"Buttons", {0.001f, 0.001f, 0.257f, 0.249f}}, {"", {0.0f, 0.0f, 1.0f, 1.0f}}, {"", {0.0f, 0.0f, 1.0f, 1.0f}}, {"", {0.0f, 0.0f, 1.0f, 1.0f}}},
     2, 0.08f, 6.0f, 2, 0.14f, 6.0f, {4.0f, 2.0f, 2.0f},
     {{-1, {0, 0, 0, 0}}, {-1, {0, 0, 0, 0}}, {-1, {0, 0, 0, 0}}, {-1, {0, 0, 0, 0}}}},
    {"StdLeftArrow", 5, "MWIN_STD_TEX_LEFT_ARROW",
     {{"Buttons", {0.003f, 0.255f, 0.12f, 0.37f}}, {"Buttons", {0.003f, 0.255f, 0.12f, 0.37f}}, {"Buttons", {0.003f, 0.255f, 0.12f, 0.37f}}, {"Buttons", {0.003f, 0.255f, 0.12f, 0.37f}}},
     1, 0.0f, 0.0f, 0, 0.0f, 0.0f, {0.0f, 0.0f, 0.0f},
     {{0, {0.829f, 0.829f, 0.829f, 1.0f}}, {1, {1.0f, 1.0f, 1.0f, 1.0f}}, {2, {0.846f, 0.846f, 0.846f, 1.0f}}, {3, {0.558f, 0.558f, 0.558f, 1.0f}}}},
    {"StdRightArrow", 6, "MWIN_STD_TEX_RIGHT_ARROW",
     {{"Buttons", {0.131f, 0.255f, 0.246f, 0.37f}}, {"Buttons", {0.131f, 0.255f, 0.246f, 0.37f}}, {"Buttons", {0.131f, 0.255f, 0.246f, 0.37f}}, {"Buttons", {0.131f, 0.255f, 0.246f, 0.37f}}},
     1, 0.0f, 0.0f, 0, 0.0f, 0.0f, {0.0f, 0.0f, 0.0f},
     {{0, {0.883f, 0.883f, 0.883f, 1.0f}}, {1, {1.0f, 1.0f, 1.0f, 1.0f}}, {2, {0.892f, 0.892f, 0.892f, 1.0f}}, {3, {0.533f, 0.533f, 0.533f, 1.0f}}}},
    {"StdUpArrow", 7, "MWIN_STD_TEX_UP_ARROW",
     {{"Buttons", {0.253f, 0.251f, 0.371f, 0.373f}}, {"", {0.0f, 0.0f, 1.0f, 1.0f}}, {"", {0.0f, 0.0f, 1.0f, 1.0f}}, {"", {0.0f, 0.0f, 1.0f, 1.0f}}},
     0, 0.0f, 0.0f, 0, 0.0f, 0.0f, {0.0f, 0.0f, 0.0f},
     {{-1, {0, 0, 0, 0}}, {-1, {0, 0, 0, 0}}, {-1, {0, 0, 0, 0}}, {-1, {0, 0, 0, 0}}}},
    {"StdDownArrow", 8, "MWIN_STD_TEX_DOWN_ARROW",
     {{"Buttons", {0.254f, 0.377f, 0.371f, 0.496f}}, {"", {0.0f, 0.0f, 1.0f, 1.0f}}, {"", {0.0f, 0.0f, 1.0f, 1.0f}}, {"", {0.0f, 0.0f, 1.0f, 1.0f}}},
     0, 0.0f, 0.0f, 0, 0.0f, 0.0f, {0.0f, 0.0f, 0.0f},
     {{-1, {0, 0, 0, 0}}, {-1, {0, 0, 0, 0}}, {-1, {0, 0, 0, 0}}, {-1, {0, 0, 0, 0}}}},
    {"StdScrollButton", 9, "MWIN_STD_TEX_SCROLL_BUTTON",
     {{"Buttons", {0.063f, 0.438f, 0.124f, 0.5f}}, {"Buttons", {0.0f, 0.0f, 1.0f, 1.0f}}, {"Buttons", {0.0f, 0.0f, 1.0f, 1.0f}}, {"Buttons", {0.063f, 0.438f, 0.124f, 0.5f}}},
     2, 0.14f, 5.0f, 1, 0.15f, 3.0f, {0.0f, 0.0f, 0.0f},
     {{0, {1.0f, 1.0f, 1.0f, 0.704f}}, {2, {0.907f, 0.907f, 0.907f, 1.0f}}, {3, {0.716f, 0.716f, 0.716f, 1.0f}}, {-1, {0, 0, 0, 0}}}},
    {"StdScrollBack", 10, "MWIN_STD_TEX_SCROLL_BACK",
     {{"Buttons", {0.005f, 0.505f, 0.245f, 0.745f}}, {"", {0.0f, 0.0f, 1.0f, 1.0f}}, {"", {0.0f, 0.0f, 1.0f, 1.0f}}, {"Buttons", {0.755f, 0.505f, 0.995f, 0.745f}}},
     2, 0.13f, 9.0f, 1, 0.0f, 0.0f, {0.0f, 0.0f, 0.0f},
     {{3, {0.443f, 0.443f, 0.443f, 1.0f}}, {-1, {0, 0, 0, 0}}, {-1, {0, 0, 0, 0}}, {-1, {0, 0, 0, 0}}}},
    {"StdVScrollButton", 11, "MWIN_STD_TEX_VSCROLL_BUTTON",
     {{"Buttons", {0.063f, 0.438f, 0.124f, 0.5f}}, {"", {0.0f, 0.0f, 1.0f, 1.0f}}, {"", {0.0f, 0.0f, 1.0f, 1.0f}}, {"Buttons", {0.063f, 0.438f, 0.124f, 0.5f}}},
     1, 0.0f, 0.0f, 2, 0.26f, 2.0f, {0.0f, 0.0f, 0.0f},
     {{0, {1.0f, 1.0f, 1.0f, 0.696f}}, {-1, {0, 0, 0, 0}}, {-1, {0, 0, 0, 0}}, {-1, {0, 0, 0, 0}}}},
    {"StdVScrollBack", 12, "MWIN_STD_TEX_VSCROLL_BACK",
     {{"Buttons", {0.005f, 0.505f, 0.245f, 0.745f}}, {"", {0.0f, 0.0f, 1.0f, 1.0f}}, {"", {0.0f, 0.0f, 1.0f, 1.0f}}, {"Buttons", {0.755f, 0.505f, 0.995f, 0.745f}}},
     1, 0.0f, 0.0f, 2, 0.15f, 3.0f, {2.5f, 1.0f, 1.0f},
     {{-1, {0, 0, 0, 0}}, {-1, {0, 0, 0, 0}}, {-1, {0, 0, 0, 0}}, {-1, {0, 0, 0, 0}}}},
    {"StdListOpenMain", 13, "MWIN_STD_TEX_LIST_OPEN_MAIN",
     {{"Buttons", {0.001f, 0.025f, 0.249f, 0.226f}}, {"", {0.0f, 0.0f, 1.0f, 1.0f}}, {"", {0.0f, 0.0f, 1.0f, 1.0f}}, {"", {0.0f, 0.0f, 1.0f, 1.0f}}},
     2, 0.08f, 4.0f, 0, 0.0f, 0.0f, {4.0f, 0.0f, 0.0f},
     {{-1, {0, 0, 0, 0}}, {-1, {0, 0, 0, 0}}, {-1, {0, 0, 0, 0}}, {-1, {0, 0, 0, 0}}}},
    {"StdListOpenTop", 14, "MWIN_STD_TEX_LIST_OPEN_TOP",
     {{"Buttons", {0.001f, 0.001f, 0.249f, 0.024f}}, {"", {0.0f, 0.0f, 1.0f, 1.0f}}, {"", {0.0f, 0.0f, 1.0f, 1.0f}}, {"", {0.0f, 0.0f, 1.0f, 1.0f}}},
     2, 0.08f, 4.0f, 0, 0.0f, 0.0f, {4.0f, 0.0f, 0.0f},
     {{-1, {0, 0, 0, 0}}, {-1, {0, 0, 0, 0}}, {-1, {0, 0, 0, 0}}, {-1, {0, 0, 0, 0}}}},
    {"StdListOpenBot", 15, "MWIN_STD_TEX_LIST_OPEN_BOT",
     {{"Buttons", {0.001f, 0.22f, 0.249f, 0.248f}}, {"", {0.0f, 0.0f, 1.0f, 1.0f}}, {"", {0.0f, 0.0f, 1.0f, 1.0f}}, {"", {0.0f, 0.0f, 1.0f, 1.0f}}},
     2, 0.08f, 4.0f, 0, 0.0f, 0.0f, {4.0f, 0.0f, 0.0f},
     {{-1, {0, 0, 0, 0}}, {-1, {0, 0, 0, 0}}, {-1, {0, 0, 0, 0}}, {-1, {0, 0, 0, 0}}}},
    {"StdListOpenSel", 16, "MWIN_STD_TEX_LIST_OPEN_SEL",
     {{"Buttons", {0.501f, 0.445f, 0.749f, 0.494f}}, {"", {0.0f, 0.0f, 1.0f, 1.0f}}, {"", {0.0f, 0.0f, 1.0f, 1.0f}}, {"", {0.0f, 0.0f, 1.0f, 1.0f}}},
     2, 0.08f, 4.0f, 0, 0.0f, 0.0f, {0.0f, 0.0f, 0.0f},
     {{-1, {0, 0, 0, 0}}, {-1, {0, 0, 0, 0}}, {-1, {0, 0, 0, 0}}, {-1, {0, 0, 0, 0}}}},
    {"StdCheckButton", 17, "MWIN_STD_TEX_CHECK_BUTTON",
     {{"Buttons", {0.001f, 0.439f, 0.062f, 0.499f}}, {"", {0.0f, 0.0f, 1.0f, 1.0f}}, {"", {0.0f, 0.0f, 1.0f, 1.0f}}, {"", {0.0f, 0.0f, 1.0f, 1.0f}}},
     0, 0.0f, 0.0f, 0, 0.0f, 0.0f, {0.0f, 0.0f, 0.0f},
     {{-1, {0, 0, 0, 0}}, {-1, {0, 0, 0, 0}}, {-1, {0, 0, 0, 0}}, {-1, {0, 0, 0, 0}}}},
    {"StdUnCheckButton", 18, "MWIN_STD_TEX_UNCHECK_BUTTON",
     {{"Buttons", {0.064f, 0.439f, 0.124f, 0.499f}}, {"", {0.0f, 0.0f, 1.0f, 1.0f}}, {"", {0.0f, 0.0f, 1.0f, 1.0f}}, {"", {0.0f, 0.0f, 1.0f, 1.0f}}},
     0, 0.0f, 0.0f, 0, 0.0f, 0.0f, {0.0f, 0.0f, 0.0f},
     {{-1, {0, 0, 0, 0}}, {-1, {0, 0, 0, 0}}, {-1, {0, 0, 0, 0}}, {-1, {0, 0, 0, 0}}}},
    {"StdTabPanelHeading", 19, "MWIN_STD_TEX_TABPANEL_HEADING",
     {{"Buttons", {0.5f, 0.002f, 0.999f, 0.186f}}, {"Buttons", {0.5f, 0.002f, 0.999f, 0.186f}}, {"Buttons", {0.5f, 0.002f, 0.999f, 0.186f}}, {"Buttons", {0.5f, 0.002f, 0.999f, 0.186f}}},
     2, 0.12f, 8.0f, 0, 0.0f, 0.0f, {0.0f, 0.0f, 0.0f},
     {{3, {0.69f, 0.69f, 0.69f, 1.0f}}, {-1, {0, 0, 0, 0}}, {-1, {0, 0, 0, 0}}, {-1, {0, 0, 0, 0}}}},
    {"StdTabPanelVertDiv", 20, "MWIN_STD_TEX_TABPANEL_VERT_DIV",
     {{"Buttons", {0.079f, 0.075f, 0.08f, 0.215f}}, {"", {0.0f, 0.0f, 1.0f, 1.0f}}, {"", {0.0f, 0.0f, 1.0f, 1.0f}}, {"", {0.0f, 0.0f, 1.0f, 1.0f}}},
     0, 0.0f, 0.0f, 1, 0.21f, 4.0f, {0.0f, 0.0f, 0.0f},
     {{0, {1.0f, 1.0f, 1.0f, 0.339f}}, {-1, {0, 0, 0, 0}}, {-1, {0, 0, 0, 0}}, {-1, {0, 0, 0, 0}}}},
    {"StdTabPanelRowBack1", 21, "MWIN_STD_TEX_TABPANEL_ROW_BACK1",
     {{"Buttons", {0.005f, 0.508f, 0.245f, 0.746f}}, {"", {0.0f, 0.0f, 1.0f, 1.0f}}, {"", {0.0f, 0.0f, 1.0f, 1.0f}}, {"", {0.0f, 0.0f, 1.0f, 1.0f}}},
     2, 0.11f, 4.0f, 1, 0.0f, 0.0f, {0.0f, 0.0f, 0.0f},
     {{0, {0.545f, 0.545f, 0.545f, 1.0f}}, {-1, {0, 0, 0, 0}}, {-1, {0, 0, 0, 0}}, {-1, {0, 0, 0, 0}}}},
    {"StdTabPanelRowBack2", 22, "MWIN_STD_TEX_TABPANEL_ROW_BACK2",
     {{"Buttons", {0.005f, 0.508f, 0.245f, 0.746f}}, {"", {0.0f, 0.0f, 1.0f, 1.0f}}, {"", {0.0f, 0.0f, 1.0f, 1.0f}}, {"", {0.0f, 0.0f, 1.0f, 1.0f}}},
     2, 0.11f, 4.0f, 1, 0.0f, 0.0f, {0.0f, 0.0f, 0.0f},
     {{0, {0.727f, 0.727f, 0.727f, 1.0f}}, {-1, {0, 0, 0, 0}}, {-1, {0, 0, 0, 0}}, {-1, {0, 0, 0, 0}}}},
    {"StdTabPanelRowSel", 23, "MWIN_STD_TEX_TABPANEL_ROW_SEL",
     {{"Buttons", {0.5f, 0.002f, 0.999f, 0.186f}}, {"", {0.0f, 0.0f, 1.0f, 1.0f}}, {"", {0.0f, 0.0f, 1.0f, 1.0f}}, {"", {0.0f, 0.0f, 1.0f, 1.0f}}},
     2, 0.12f, 8.0f, 0, 0.0f, 0.0f, {0.0f, 0.0f, 0.0f},
     {{0, {0.221f, 0.61f, 1.0f, 1.0f}}, {-1, {0, 0, 0, 0}}, {-1, {0, 0, 0, 0}}, {-1, {0, 0, 0, 0}}}},
    {"StdTabPanelRowEmpty", 24, "MWIN_STD_TEX_TABPANEL_ROW_EMPTY",
     {{"Buttons", {0.02f, 0.027f, 0.212f, 0.089f}}, {"", {0.0f, 0.0f, 1.0f, 1.0f}}, {"", {0.0f, 0.0f, 1.0f, 1.0f}}, {"", {0.0f, 0.0f, 1.0f, 1.0f}}},
     2, 0.18f, 12.0f, 0, 0.0f, 0.0f, {4.0f, 0.0f, 0.0f},
     {{0, {0.379f, 0.379f, 0.379f, 1.0f}}, {-1, {0, 0, 0, 0}}, {-1, {0, 0, 0, 0}}, {-1, {0, 0, 0, 0}}}},
    {"StdBackHeading", 25, "MWIN_STD_TEX_BACK_HEADING",
     {{"Buttons", {0.001f, 0.001f, 0.257f, 0.249f}}, {"", {0.0f, 0.0f, 1.0f, 1.0f}}, {"", {0.0f, 0.0f, 1.0f, 1.0f}}, {"", {0.0f, 0.0f, 1.0f, 1.0f}}},
     2, 0.08f, 6.0f, 2, 0.14f, 6.0f, {4.0f, 2.0f, 2.0f},
     {{-1, {0, 0, 0, 0}}, {-1, {0, 0, 0, 0}}, {-1, {0, 0, 0, 0}}, {-1, {0, 0, 0, 0}}}},
    {"StdBackMain", 26, "MWIN_STD_TEX_BACK_MAIN",
     {{"Buttons", {0.0f, 0.003f, 0.261f, 0.246f}}, {"", {0.0f, 0.0f, 1.0f, 1.0f}}, {"", {0.0f, 0.0f, 1.0f, 1.0f}}, {"", {0.0f, 0.0f, 1.0f, 1.0f}}},
     2, 0.18f, 12.0f, 2, 0.24f, 11.0f, {4.011f, 0.0f, 0.0f},
     {{-1, {0, 0, 0, 0}}, {-1, {0, 0, 0, 0}}, {-1, {0, 0, 0, 0}}, {-1, {0, 0, 0, 0}}}},
    {"StdPushButton", 27, "MWIN_STD_TEX_PUSH_BUTTON",
     {{"Buttons", {0.001f, 0.502f, 0.249f, 0.748f}}, {"Buttons", {0.251f, 0.502f, 0.499f, 0.748f}}, {"Buttons", {0.501f, 0.502f, 0.749f, 0.748f}}, {"Buttons", {0.751f, 0.502f, 0.999f, 0.748f}}},
     2, 0.19f, 9.0f, 1, 0.16f, 4.0f, {0.0f, 0.0f, 0.0f},
     {{0, {0.874f, 0.874f, 0.874f, 1.0f}}, {2, {0.81f, 0.81f, 0.81f, 1.0f}}, {3, {0.452f, 0.452f, 0.452f, 1.0f}}, {-1, {0, 0, 0, 0}}}},
    {"StdTextEdit", 28, "MWIN_STD_TEX_TEXT_EDIT",
     {{"Buttons", {0.503f, 0.25f, 0.746f, 0.311f}}, {"Buttons", {0.503f, 0.25f, 0.746f, 0.311f}}, {"Buttons", {0.503f, 0.312f, 0.746f, 0.374f}}, {"Buttons", {0.503f, 0.25f, 0.746f, 0.311f}}},
     2, 0.04f, 5.0f, 2, 0.14f, 5.0f, {0.0f, 2.0f, 2.0f},
     {{0, {0.837f, 0.837f, 0.837f, 1.0f}}, {1, {1.0f, 1.0f, 1.0f, 1.0f}}, {3, {0.625f, 0.625f, 0.625f, 1.0f}}, {-1, {0, 0, 0, 0}}}},
    {"StdChoice", 29, "MWIN_STD_TEX_CHOICE",
     {{"Buttons", {0.496f, 0.0f, 1.0f, 0.19f}}, {"Buttons", {0.496f, 0.0f, 1.0f, 0.19f}}, {"Buttons", {0.496f, 0.0f, 1.0f, 0.19f}}, {"Buttons", {0.496f, 0.0f, 1.0f, 0.19f}}},
     2, 0.12f, 8.0f, 0, 0.0f, 0.0f, {0.0f, 0.0f, 0.0f},
     {{0, {0.654f, 0.654f, 0.654f, 1.0f}}, {1, {1.0f, 1.0f, 1.0f, 1.0f}}, {3, {0.543f, 0.543f, 0.543f, 1.0f}}, {-1, {0, 0, 0, 0}}}},
    {"StdPanel", 30, "MWIN_STD_TEX_PANEL",
     {{"Buttons", {0.005f, 0.508f, 0.245f, 0.746f}}, {"Buttons", {0.001f, 0.001f, 0.25f, 0.251f}}, {"Buttons", {0.005f, 0.508f, 0.245f, 0.746f}}, {"Buttons", {0.755f, 0.505f, 0.995f, 0.745f}}},
     2, 0.11f, 4.0f, 1, 0.0f, 0.0f, {0.0f, 0.0f, 0.0f},
     {{0, {0.746f, 0.746f, 0.746f, 1.0f}}, {1, {1.0f, 1.0f, 1.0f, 1.0f}}, {2, {0.729f, 0.729f, 0.729f, 1.0f}}, {3, {0.475f, 0.475f, 0.475f, 1.0f}}}},
    {"StdBlack", 31, "MWIN_STD_TEX_BLACK",
     {{"Buttons", {0.002f, 0.375f, 0.253f, 0.439f}}, {"", {0.0f, 0.0f, 1.0f, 1.0f}}, {"", {0.0f, 0.0f, 1.0f, 1.0f}}, {"", {0.0f, 0.0f, 1.0f, 1.0f}}},
     2, 0.03f, 3.0f, 2, 0.13f, 2.0f, {3.2f, 2.0f, 2.0f},
     {{-1, {0, 0, 0, 0}}, {-1, {0, 0, 0, 0}}, {-1, {0, 0, 0, 0}}, {-1, {0, 0, 0, 0}}}},
    {"StdWhite", 32, "MWIN_STD_TEX_WHITE",
     {{"Buttons", {0.774f, 0.774f, 0.851f, 0.851f}}, {"", {0.0f, 0.0f, 1.0f, 1.0f}}, {"", {0.0f, 0.0f, 1.0f, 1.0f}}, {"", {0.0f, 0.0f, 1.0f, 1.0f}}},
     2, 0.08f, 3.0f, 2, 0.08f, 3.0f, {3.2f, 2.0f, 2.0f},
     {{-1, {0, 0, 0, 0}}, {-1, {0, 0, 0, 0}}, {-1, {0, 0, 0, 0}}, {-1, {0, 0, 0, 0}}}},
};

struct StyleRow
{
    const char *name;
    float scaleX, scaleY, r, g, b, a;
};

const StyleRow kStyles[] = {
    {"Buttons", 1.0f, 1.0f, 1.0f, 1.0f, 1.0f, 0.7f},
    {"Title", 1.0f, 1.3f, 0.0f, 0.0f, 0.0f, 0.8f},
    {"Small", 0.9f, 0.95f, 1.0f, 1.0f, 1.0f, 0.7f},
    {"Small2", 0.85f, 0.9f, 0.5f, 0.6f, 0.6f, 0.8f},
    {"Heading1", 1.6f, 1.74f, 1.0f, 1.0f, 1.0f, 0.8f},
    {"Heading2", 1.3f, 1.42f, 1.0f, 1.0f, 1.0f, 0.75f},
    {"Thin", 0.75f, 0.9f, 1.0f, 1.0f, 1.0f, 0.7f},
    {"Text1", 1.0f, 2.0f, 0.7f, 0.7f, 0.7f, 1.0f},
    {"Low", 0.7f, 0.6f, 1.0f, 1.0f, 1.0f, 0.7f},
    {"Small3", 0.5f, 1.2f, 0.0f, 0.0f, 0.0f, 0.7f},
    {"SmallWhite", 0.5f, 1.0f, 1.0f, 1.0f, 1.0f, 1.0f},
    {"WhiteMed", 1.0f, 1.0f, 1.0f, 1.0f, 1.0f, 1.0f},
    {"GetFile", 0.6f, 0.9f, 0.0f, 0.0f, 0.0f, 1.0f},
    {"Heading", 1.7f, 1.5f, 0.0f, 0.0f, 0.0f, 0.8f},
    {"Thin2", 0.8f, 1.0f, 1.0f, 1.0f, 1.0f, 0.7f},
    {"Yellow", 1.0f, 1.0f, 0.99f, 0.93f, 0.21f, 0.7f},
    {"Heading 2 Yellow", 1.3f, 1.42f, 0.99f, 0.93f, 0.21f, 0.75f},
    {"ButtonsXL", 1.5f, 1.5f, 1.0f, 1.0f, 1.0f, 0.7f},
};

// Layout metrics: fields 7-10, 15-19 and 21-38 of each layout record. The desktop
// builds only use Normal; the others keep the toolkit's values past their first two.
const float kNormalRun4[4] = {60.0f, 20.0f, 3.0f, 3.0f};
const float kNormalRun5[5] = {0.0f, 0.0f, 4.5f, 0.0f, 7.1f};
const float kNormalRun18[18] = {12.0f, 12.0f, 3.0f, 14.0f, 27.1f, 12.3f, 24.8f, 13.7f, 17.0f,
                                3.0f,  3.0f,  12.0f, 15.6f, 3.0f, 12.0f, 12.0f, 3.0f, 3.0f};
const float kOtherLayoutsFirstTwo[4][2] = {{60.0f, 45.0f}, {60.0f, 50.0f}, {60.0f, 30.0f}, {60.0f, 35.0f}};

EngFont s_mainFont;

bool AddOneTexBut(MWinTextures *textures, const TexButRow &row)
{
    bool ok = true;
    const StateRegion *s = row.states;
    int existing = row.slot < 0 ? textures->GetTexButNum(row.id) : -1;
    if (existing >= 0)
    {
        // Set up again (a new device): the button takes its regions anew.
        _MWinTextureButton *button = textures->GetTexBut(existing);
        for (int state = 0; state < MWIN_TEXSTATE_COUNT; state++)
        {
            if (!s[state].texture[0])
                button->states[state].texture = -1;
            else if (!textures->SetTextureButtonState(button, state, s[state].texture, s[state].region[0],
                                                      s[state].region[1], s[state].region[2], s[state].region[3]))
                ok = false;
        }
    }
    else if (row.slot < 0)
    {
        if (!textures->AddTextureButton(row.id, s[0].texture, s[0].region[0], s[0].region[1], s[0].region[2],
                                        s[0].region[3], s[1].texture, s[1].region[0], s[1].region[1],
                                        s[1].region[2], s[1].region[3], s[2].texture, s[2].region[0],
                                        s[2].region[1], s[2].region[2], s[2].region[3], s[3].texture,
                                        s[3].region[0], s[3].region[1], s[3].region[2], s[3].region[3]))
        {
            DebugError(ENG_FUNC, "Could not load texbut <%s>", row.id);
            ok = false;
        }
    }
    else
    {
        textures->RemoveStandardTextureButton(row.slot);
        if (!textures->AddStandardTextureButton(row.slot, row.id, s[0].texture, s[0].region[0], s[0].region[1],
                                                s[0].region[2], s[0].region[3], s[1].texture, s[1].region[0],
                                                s[1].region[1], s[1].region[2], s[1].region[3], s[2].texture,
                                                s[2].region[0], s[2].region[1], s[2].region[2], s[2].region[3],
                                                s[3].texture, s[3].region[0], s[3].region[1], s[3].region[2],
                                                s[3].region[3]))
        {
            DebugError(ENG_FUNC, "Could not load standard texbut <%s>", row.id);
            ok = false;
        }
    }
    if (!textures->SetTexButDrawStyle(row.id, row.styleX, row.capFractionX, row.capSizeX, row.styleY,
                                      row.capFractionY, row.capSizeY))
    {
        DebugError(ENG_FUNC, row.slot < 0 ? "Could not set texbut draw style <%s>"
                                          : "Could not set standard texbut draw style <%s>",
                   row.id);
        ok = false;
    }
    if (!textures->SetTexButDrawExtra(row.id, row.extra[0], row.extra[1], row.extra[2]))
    {
        DebugError(ENG_FUNC, "Could not set texbut draw extra <%s>", row.id);
        ok = false;
    }
    for (const StateColour &colour : row.colours)
    {
        if (colour.state < 0)
            continue;
        const float *c = colour.rgba;
        if (row.slot < 0)
        {
            if (!textures->SetTextureButtonStateColourMultiplierRGBA(row.id, colour.state, c[0], c[1], c[2], c[3]))
            {
                DebugError(ENG_FUNC, "Could not set colour <%s>", row.id);
                ok = false;
            }
        }
        else if (!textures->SetStandardTextureButtonStateColourMultiplier(row.slot, colour.state, c[0], c[1], c[2],
                                                                          c[3]))
        {
            DebugError(ENG_FUNC, "Could not set standard texbut colour <%s>", row.slotName);
            ok = false;
        }
    }
    return ok;
}

} // namespace

EngFont *PlinxGetMainFont()
{
    return &s_mainFont;
}

bool PlinxMWinSetupTexturesAndTexButs(MWin *mwin)
{
    if (!mwin)
    {
        DebugError(ENG_FUNC, "No mwinp");
        return false;
    }
    MWinTextures *textures = mwin->GetTextures();
    if (!textures)
    {
        DebugError(ENG_FUNC, "No mwin textures");
        return false;
    }
    bool ok = true;
    if (textures->GetTextureNum(kButtonsTexture) < 0 && !textures->AddTexture(kButtonsTexture, kButtonsFile, 1, 2))
    {
        DebugError(ENG_FUNC, "Could not load texture <%s>", kButtonsFile);
        ok = false;
    }
    for (const TexButRow &row : kTexButs)
        if (!AddOneTexBut(textures, row))
            ok = false;
    return ok;
}

bool PlinxMWinAddFirstUserFontsStylesToFont(MWin *mwin, int font)
{
    if (!mwin)
    {
        DebugError(ENG_FUNC, "No mwinp");
        return false;
    }
    MWinFonts *fonts = mwin->GetFonts();
    if (!fonts)
    {
        DebugError(ENG_FUNC, "No mwin fonts");
        return false;
    }
    if (font < 0)
    {
        DebugError(ENG_FUNC, "Bad font num %d:", font);
        return false;
    }
    bool ok = true;
    for (const StyleRow &style : kStyles)
        if (fonts->AddFontStyleToFont(font, style.name, style.scaleX, style.scaleY, style.r, style.g, style.b,
                                      style.a) < 0)
            ok = false;
    return ok;
}

bool PlinxMWinCreateFontApart(int fontNumber, const char *path, EngFont *font)
{
    if (!font || !path || !path[0])
        return false;
    if (fontNumber != 0)
    {
        DebugError(ENG_FUNC, "Bad font number %d", fontNumber);
        return false;
    }
    if (font->IsCreated())
        return true;
    EngFontGlyphEffects effects = {};
    effects.border = 2;
    effects.extraWidth = 7;
    effects.extraHeight = 6;
    effects.shadowFactor0 = 0.0f;
    effects.shadowFactor1 = 0.766549f;
    effects.blurPasses0 = 3;
    effects.blurPasses1 = 2;
    font->SetGlyphEffects(&effects);
    if (!font->CreateFromFontFile(path, 1, 144, 32, 32, 254, nullptr, 0, 0.160404f, 0.204889f, 1.000135f, 6.747f,
                                  0.0f, 0.0f, 0.0f, 0.0f, 1))
    {
        DebugError(ENG_FUNC, "EngFont::Create failed <Main>");
        return false;
    }
    return true;
}

bool PlinxMWinSetupLayoutParameters(MWin *mwin)
{
    if (!mwin)
        return false;
    _MWinSettings settings;
    mwin->GetDefaultSettings(&settings);
    settings.activateCollectionUnderMouse = true;
    settings.activateWindowUnderMouse = false;
    _MWinLayoutSettings &normal = settings.layoutDefaults[SCREEN_LAYOUT_NORMAL];
    float *fields = reinterpret_cast<float *>(&normal);
    memcpy(fields + 7, kNormalRun4, sizeof(kNormalRun4));
    memcpy(fields + 15, kNormalRun5, sizeof(kNormalRun5));
    memcpy(fields + 21, kNormalRun18, sizeof(kNormalRun18));
    for (int layout = 1; layout < MWIN_NUM_LAYOUTS; layout++)
    {
        settings.layoutDefaults[layout].defaultButtonWidth = kOtherLayoutsFirstTwo[layout - 1][0];
        settings.layoutDefaults[layout].defaultButtonHeight = kOtherLayoutsFirstTwo[layout - 1][1];
    }
    mwin->SetDefaultSettings(&settings);
    mwin->ApplyLayoutSettings();
    return true;
}
