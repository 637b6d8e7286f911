// The kinds' demo screen drawn by OpenGL (needs a display: run under Xvfb): a settings
// window with a checkbox, choices in both modes, a drop-down list, a text field being
// edited, a range slider, a ring indicator, a colour picker and a vertical scrollbar; a scores window with
// a paged panel and a tab panel; and an OK/Cancel popup open over the dimmed screen. The
// texture buttons are cut from the build's Data/PlinxButtons.tga as the game cuts them.
// Pixels are checked, and the frame is saved as "gui_kinds_demo.png" in the build folder
// for a person to look at.
#include "RenderTestkit.h"

#include <cstdio>
#include <cstring>
#include <string>

#include "EngFont.h"
#include "EngTexture.h"
#include "MWin.h"
#include "MWinColourPicker.h"
#include "MWinScrollbar.h"
#include "MWinTabPanel.h"

namespace
{
constexpr int kWidth = 640, kHeight = 480;

// One standard slot of the game's look: four regions (a zero right edge: no picture),
// its draw style and a colour per state (alpha 0: the default).
struct Slot
{
    int slot;
    const char *id;
    float states[4][4];
    int styleX;
    float fractionX, sizeX;
    int styleY;
    float fractionY, sizeY;
    float colours[4][4];
};

#define SAME4(l, t, r, b) {{l, t, r, b}, {l, t, r, b}, {l, t, r, b}, {l, t, r, b}}
#define ONE(l, t, r, b) {{l, t, r, b}, {0, 0, 0, 0}, {0, 0, 0, 0}, {0, 0, 0, 0}}

const Slot kSlots[] = {
    {MWIN_STD_WIN_BACK, "StdWinBack", ONE(0.001f, 0.001f, 0.257f, 0.249f), 2, 0.08f, 6, 2, 0.14f, 6, {}},
    {MWIN_STD_WIN_TITLE, "StdWinTitle", ONE(0.001f, 0.377f, 0.25f, 0.437f), 2, 0.04f, 4, 1, 0.13f, 6, {}},
    {MWIN_STD_BUTTON_BACK, "StdButtonBack", ONE(0.001f, 0.001f, 0.257f, 0.249f), 2, 0.08f, 6, 2, 0.14f, 6, {}},
    {MWIN_STD_LEFT_ARROW, "StdLeftArrow", SAME4(0.003f, 0.255f, 0.12f, 0.37f), 1, 0, 0, 0, 0, 0,
     {{0.829f, 0.829f, 0.829f, 1}, {1, 1, 1, 1}, {0.846f, 0.846f, 0.846f, 1}, {0.558f, 0.558f, 0.558f, 1}}},
    {MWIN_STD_RIGHT_ARROW, "StdRightArrow", SAME4(0.131f, 0.255f, 0.246f, 0.37f), 1, 0, 0, 0, 0, 0,
     {{0.883f, 0.883f, 0.883f, 1}, {1, 1, 1, 1}, {0.892f, 0.892f, 0.892f, 1}, {0.533f, 0.533f, 0.533f, 1}}},
    {MWIN_STD_UP_ARROW, "StdUpArrow", ONE(0.253f, 0.251f, 0.371f, 0.373f), 0, 0, 0, 0, 0, 0, {}},
    {MWIN_STD_DOWN_ARROW, "StdDownArrow", ONE(0.254f, 0.377f, 0.371f, 0.496f), 0, 0, 0, 0, 0, 0, {}},
    {MWIN_STD_SCROLL_BUTTON, "StdScrollButton", SAME4(0.063f, 0.438f, 0.124f, 0.5f), 2, 0.14f, 5, 1, 0.15f, 3, {}},
    {MWIN_STD_SCROLL_BACK, "StdScrollBack",
     {{0.005f, 0.505f, 0.245f, 0.745f}, {0, 0, 0, 0}, {0, 0, 0, 0}, {0.755f, 0.505f, 0.995f, 0.745f}}, 2, 0.13f, 9,
     1, 0, 0, {}},
    {MWIN_STD_VSCROLL_BUTTON, "StdVScrollButton", SAME4(0.063f, 0.438f, 0.124f, 0.5f), 1, 0, 0, 2, 0.26f, 2,
     {{1, 1, 1, 0.696f}}},
    {MWIN_STD_VSCROLL_BACK, "StdVScrollBack",
     {{0.005f, 0.505f, 0.245f, 0.745f}, {0, 0, 0, 0}, {0, 0, 0, 0}, {0.755f, 0.505f, 0.995f, 0.745f}}, 1, 0, 0, 2,
     0.15f, 3, {}},
    {MWIN_STD_LIST_OPEN_MAIN, "StdListOpenMain", ONE(0.001f, 0.025f, 0.249f, 0.226f), 2, 0.08f, 4, 0, 0, 0, {}},
    {MWIN_STD_LIST_OPEN_TOP, "StdListOpenTop", ONE(0.001f, 0.001f, 0.249f, 0.024f), 2, 0.08f, 4, 0, 0, 0, {}},
    {MWIN_STD_LIST_OPEN_BOT, "StdListOpenBot", ONE(0.001f, 0.22f, 0.249f, 0.248f), 2, 0.08f, 4, 0, 0, 0, {}},
    {MWIN_STD_LIST_OPEN_SEL, "StdListOpenSel", ONE(0.501f, 0.445f, 0.749f, 0.494f), 2, 0.08f, 4, 0, 0, 0, {}},
    {MWIN_STD_CHECK_BUTTON, "StdCheckButton", ONE(0.001f, 0.439f, 0.062f, 0.499f), 0, 0, 0, 0, 0, 0, {}},
    {MWIN_STD_UNCHECK_BUTTON, "StdUnCheckButton", ONE(0.064f, 0.439f, 0.124f, 0.499f), 0, 0, 0, 0, 0, 0, {}},
    {MWIN_STD_TAB_HEADING, "StdTabPanelHeading", SAME4(0.5f, 0.002f, 0.999f, 0.186f), 2, 0.12f, 8, 0, 0, 0,
     {{0, 0, 0, 0}, {0, 0, 0, 0}, {0, 0, 0, 0}, {0.69f, 0.69f, 0.69f, 1}}},
    {MWIN_STD_TAB_VERT_DIV, "StdTabPanelVertDiv", ONE(0.079f, 0.075f, 0.08f, 0.215f), 0, 0, 0, 1, 0.21f, 4,
     {{1, 1, 1, 0.339f}}},
    {MWIN_STD_TAB_ROW_BACK1, "StdTabPanelRowBack1", ONE(0.005f, 0.508f, 0.245f, 0.746f), 2, 0.11f, 4, 1, 0, 0,
     {{0.545f, 0.545f, 0.545f, 1}}},
    {MWIN_STD_TAB_ROW_BACK2, "StdTabPanelRowBack2", ONE(0.005f, 0.508f, 0.245f, 0.746f), 2, 0.11f, 4, 1, 0, 0,
     {{0.727f, 0.727f, 0.727f, 1}}},
    {MWIN_STD_TAB_ROW_SEL, "StdTabPanelRowSel", ONE(0.5f, 0.002f, 0.999f, 0.186f), 2, 0.12f, 8, 0, 0, 0,
     {{0.221f, 0.61f, 1, 1}}},
    {MWIN_STD_TAB_ROW_EMPTY, "StdTabPanelRowEmpty", ONE(0.02f, 0.027f, 0.212f, 0.089f), 2, 0.18f, 12, 0, 0, 0,
     {{0.379f, 0.379f, 0.379f, 1}}},
    {MWIN_STD_PUSH_BUTTON, "StdPushButton",
     {{0.001f, 0.502f, 0.249f, 0.748f}, {0.251f, 0.502f, 0.499f, 0.748f}, {0.501f, 0.502f, 0.749f, 0.748f},
      {0.751f, 0.502f, 0.999f, 0.748f}},
     2, 0.19f, 9, 1, 0.16f, 4,
     {{0.874f, 0.874f, 0.874f, 1}, {0, 0, 0, 0}, {0.81f, 0.81f, 0.81f, 1}, {0.452f, 0.452f, 0.452f, 1}}},
    {MWIN_STD_TEXT_EDIT, "StdTextEdit",
     {{0.503f, 0.25f, 0.746f, 0.311f}, {0.503f, 0.25f, 0.746f, 0.311f}, {0.503f, 0.312f, 0.746f, 0.374f},
      {0.503f, 0.25f, 0.746f, 0.311f}},
     2, 0.04f, 5, 2, 0.14f, 5,
     {{0.837f, 0.837f, 0.837f, 1}, {1, 1, 1, 1}, {0, 0, 0, 0}, {0.625f, 0.625f, 0.625f, 1}}},
    {MWIN_STD_CHOICE, "StdChoice", SAME4(0.496f, 0, 1, 0.19f), 2, 0.12f, 8, 0, 0, 0,
     {{0.654f, 0.654f, 0.654f, 1}, {1, 1, 1, 1}, {0, 0, 0, 0}, {0.543f, 0.543f, 0.543f, 1}}},
    {MWIN_STD_PANEL, "StdPanel",
     {{0.005f, 0.508f, 0.245f, 0.746f}, {0.001f, 0.001f, 0.25f, 0.251f}, {0.005f, 0.508f, 0.245f, 0.746f},
      {0.755f, 0.505f, 0.995f, 0.745f}},
     2, 0.11f, 4, 1, 0, 0,
     {{0.746f, 0.746f, 0.746f, 1}, {1, 1, 1, 1}, {0.729f, 0.729f, 0.729f, 1}, {0.475f, 0.475f, 0.475f, 1}}},
    {MWIN_STD_WHITE, "StdWhite", ONE(0.774f, 0.774f, 0.851f, 0.851f), 2, 0.08f, 3, 2, 0.08f, 3, {}},
    {MWIN_STD_BLACK, "StdBlack", ONE(0.002f, 0.375f, 0.253f, 0.439f), 2, 0.03f, 3, 2, 0.13f, 2, {}},
};

class GuiKindsDemoTest : public devicetest::DeviceTest
{
protected:
    bool UseGL() const override { return true; }

    void TearDown() override
    {
        delete mwin;
        mwin = nullptr;
        font.Destroy();
        DeviceTest::TearDown();
    }

    uint32_t At(int x, int y) const { return frame[(size_t)y * kWidth + x]; }
    static int R(uint32_t c) { return (c >> 16) & 0xFF; }
    static int G(uint32_t c) { return (c >> 8) & 0xFF; }
    static int B(uint32_t c) { return c & 0xFF; }
    template <typename F> int Count(const _Dimension *a, F test) const
    {
        int count = 0;
        for (int y = (int)a->y; y < (int)(a->y + a->h) && y < kHeight; y++)
            for (int x = (int)a->x; x < (int)(a->x + a->w) && x < kWidth; x++)
                if (x >= 0 && y >= 0 && test(At(x, y)))
                    count++;
        return count;
    }

    void RegisterArt()
    {
        MWinTextures *tex = mwin->GetTextures();
        std::string sheet = std::string(PLINX_DATA_DIR) + "/PlinxButtons.tga";
        ASSERT_TRUE(tex->AddTexture("Buttons", sheet.c_str(), 1, ENG_ALPHA_FROM_FILE)) << LogText();
        for (const Slot &s : kSlots)
        {
            const char *ids[4];
            for (int i = 0; i < 4; i++)
                ids[i] = s.states[i][2] > 0 ? "Buttons" : "";
            ASSERT_TRUE(tex->AddStandardTextureButton(
                s.slot, s.id, ids[0], s.states[0][0], s.states[0][1], s.states[0][2], s.states[0][3], ids[1],
                s.states[1][0], s.states[1][1], s.states[1][2], s.states[1][3], ids[2], s.states[2][0],
                s.states[2][1], s.states[2][2], s.states[2][3], ids[3], s.states[3][0], s.states[3][1],
                s.states[3][2], s.states[3][3]))
                << s.id;
            tex->SetTexButDrawStyle(s.id, s.styleX, s.fractionX, s.sizeX, s.styleY, s.fractionY, s.sizeY);
            for (int i = 0; i < 4; i++)
                if (s.colours[i][3] > 0)
                    tex->SetStandardTextureButtonStateColourMultiplier(s.slot, i, s.colours[i][0], s.colours[i][1],
                                                                       s.colours[i][2], s.colours[i][3]);
        }
        // The game's metrics of the Normal layout.
        _MWinSettings settings;
        mwin->GetDefaultSettings(&settings);
        float *fields = (float *)&settings.layoutDefaults[0];
        const float four[] = {60, 20, 3, 3}, five[] = {0, 0, 4.5f, 0, 7.1f};
        const float eighteen[] = {12, 12, 3, 14, 27.1f, 12.3f, 24.8f, 13.7f, 17, 3, 3, 12, 15.6f, 3, 12, 12, 3, 3};
        memcpy(fields + 7, four, sizeof(four));
        memcpy(fields + 15, five, sizeof(five));
        memcpy(fields + 21, eighteen, sizeof(eighteen));
        // Ring fractions: a rim of 6 % around the disc.
        fields[45] = 0.0f;
        fields[46] = 0.06f;
        // A slider bar and grips large enough to take hold of.
        fields[41] = 10.0f;
        fields[53] = 14.0f;
        settings.disabledAlphaFactor = 0.3f;
        mwin->SetDefaultSettings(&settings);
        mwin->ApplyLayoutSettings();
    }

    MWinButton *Add(MWinWindow *window, const char *id, _MWinButtonType kind, const char *text, float x, float y,
                    float w, float h, const char *style = "Small")
    {
        MWinButton *button = window->AddButton(id, kind, "", text, x, y, w, h);
        button->SetFont("Main");
        button->SetTextStyle(style);
        return button;
    }

    MWin *mwin = nullptr;
    EngFont font;
    std::vector<uint32_t> frame;
};

const char *PlayerRow(int row, MWinButton *, void *)
{
    static const char *const names[] = {"Ada",   "Bertil", "Cosmo", "Dagny", "Eliot", "Fenna",
                                        "Gorm",  "Hilde",  "Ivo",   "Juno",  "Kasper", "Liv"};
    return names[row % 12];
}

const char *ScoreCell(int row, int column, MWinTabPanel *)
{
    static char text[32];
    static const char *const heads[] = {"#", "Player", "Level", "Score"};
    static const char *const names[] = {"Dagny", "Cosmo", "Ada", "Liv", "Ivo", "Gorm", "Juno", "Eliot"};
    if (row < 0)
        return heads[column];
    switch (column)
    {
    case 0:
        snprintf(text, sizeof(text), "%d", row + 1);
        return text;
    case 1:
        return names[row % 8];
    case 2:
        snprintf(text, sizeof(text), "%d", 20 - row);
        return text;
    default:
        snprintf(text, sizeof(text), "%d", 98000 - row * 3170);
        return text;
    }
}

TEST_F(GuiKindsDemoTest, EveryKindAndAnOpenPopup)
{
    ASSERT_TRUE(MakeDevice(kWidth, kHeight)) << LogText();
    EngScreenSettings.widthCorrection = EngScreenSettings.heightCorrection = 1.0f;
    mwin = new MWin(nullptr);
    RegisterArt();
    const float px = 72.0f / 150.0f;
    const std::string fontFile = std::string(PLINX_DATA_DIR) + "/VeraBd.ttf";
    ASSERT_EQ(1, font.CreateFromFontFile(fontFile.c_str(), 0, 0, 20, 32, 255, nullptr, 0, px, px, 0.4f * 20,
                                         1.2f * 20 - px * 20, 0, 0, 0, 0, 1))
        << LogText();
    ASSERT_EQ(0, mwin->GetFonts()->AddUserFontPointer("Main", &font));
    MWinFonts *fonts = mwin->GetFonts();
    fonts->AddFontStyleToFont(0, "Small", 0.62f, 0.66f, 1, 1, 1, 0.9f);
    fonts->AddFontStyleToFont(0, "Label", 0.62f, 0.66f, 0.75f, 0.88f, 1.0f, 1.0f);
    fonts->AddFontStyleToFont(0, "Row", 0.58f, 0.62f, 1, 1, 1, 1);
    ASSERT_TRUE(mwin->Startup());
    mwin->PopupSetSettings("", "", "Main", "", "Main", 1, 1, 1, 0.95f, 0.68f, 0.72f, 1, 0.25f, 0.84f, 1, 0.8f, 0.8f,
                           1);

    MWinCollection *collection = mwin->GetDesktop()->AddCollection("Demo");
    _MWinWindowCreateInfo info = {};
    info.x = 10;
    info.y = 10;
    info.w = 300;
    info.h = 455;
    info.hasTitleBar = 1;
    strcpy(info.title, "Options");
    strcpy(info.font, "Main");
    MWinWindow *left = collection->AddWindow("Options", &info);
    left->SetTitleTextColour(1, 1, 1, 1);
    left->SetTitleTextScale(0.75f, 0.75f);
    left->SetTextAlign(MWIN_ALIGN_CENTRE);
    info.x = 320;
    info.w = 310;
    strcpy(info.title, "Scores");
    MWinWindow *right = collection->AddWindow("Scores", &info);
    right->SetTitleTextColour(1, 1, 1, 1);
    right->SetTitleTextScale(0.75f, 0.75f);
    right->SetTextAlign(MWIN_ALIGN_CENTRE);

    // Settings window: one of each small kind.
    MWinButton *sound = Add(left, "Sound", MWIN_BUTTON_CHECKBOX, "Sound effects", 15, 6, 180, 22);
    sound->SetTextAlign(MWIN_ALIGN_LEFT);
    sound->SetBackTexButToNone();
    sound->CheckboxSet(1, 0);
    MWinButton *music = Add(left, "Music", MWIN_BUTTON_CHECKBOX, "Music", 15, 30, 180, 22);
    music->SetTextAlign(MWIN_ALIGN_LEFT);
    music->SetBackTexButToNone();
    static const char *speeds[] = {"SLOW", "NORMAL", "FAST"};
    Add(left, "SpeedLabel", MWIN_BUTTON_STATIC, "Speed", 15, 56, 260, 16, "Label")->SetTextAlign(MWIN_ALIGN_LEFT);
    MWinButton *speed = Add(left, "Speed", MWIN_BUTTON_CHOICE, "", 15, 72, 260, 26);
    speed->ChoiceSetStrings(3, speeds);
    speed->ChoiceSetSel(1, 0);
    static const char *levels[] = {"LEVEL 1", "LEVEL 2", "LEVEL 3", "LEVEL 4"};
    MWinButton *level = Add(left, "Level", MWIN_BUTTON_CHOICE, "", 15, 104, 260, 28);
    level->ChoiceSetShowArrows(true);
    level->ChoiceSetStrings(4, levels);
    level->ChoiceSetSel(2, 0);
    static const char *effects[] = {"OFF", "LOW", "MEDIUM", "FULL"};
    Add(left, "EffectsLabel", MWIN_BUTTON_STATIC, "Effects", 15, 138, 100, 24, "Label")->SetTextAlign(MWIN_ALIGN_LEFT);
    MWinButton *list = Add(left, "Effects", MWIN_BUTTON_LIST, "", 115, 138, 160, 24);
    list->ListSetStrings(4, effects);
    list->ListSetPos(3, 0);
    Add(left, "NameLabel", MWIN_BUTTON_STATIC, "Name", 15, 168, 100, 26, "Label")->SetTextAlign(MWIN_ALIGN_LEFT);
    MWinButton *name = Add(left, "Name", MWIN_BUTTON_TEXT_EDIT, "", 115, 168, 160, 26);
    name->TextEditSetLength(20);
    name->TextEditSetText("Marigold");
    name->SetTextAlign(MWIN_ALIGN_LEFT);
    MWinButton *range = Add(left, "Range", MWIN_BUTTON_RANGE_SLIDER, "Ball speed", 15, 198, 260, 40);
    range->SliderSetValueFormat(3, 10);
    range->SliderSetRange(0.3f, 0.7f, 0, 0);
    MWinButton *ring = Add(left, "Ring", MWIN_BUTTON_RING, "", 25, 244, 72, 72);
    ring->SetBackTexButToNone();
    static const float pie[3] = {1.0f, 0.72f, 0.2f}, disc[3] = {0.08f, 0.12f, 0.3f}, rim[3] = {0.55f, 0.75f, 1.0f};
    ring->RingSetColours(pie, disc, rim);
    ring->RingSetValue(0.65f, 1.0f);
    MWinColour *picker = MWinColour::Add(left, "Colour", 115, 244, 135, 76);
    ASSERT_NE(nullptr, picker);
    picker->SetHSB(150, 0.8f, 0.9f);
    MWinGroup *group = left->GetDefaultGroup();
    ASSERT_TRUE(group->PreAddButton("Bar", MWIN_BUTTON_VERT_SCROLLBAR, 262, 244, 16, 76));
    auto *bar = new MWinVertScrollbar(mwin, "Bar", group, "", left, 262, 244, 16, 76);
    ASSERT_TRUE(group->CompleteAddButton(bar));
    bar->SetRange(0.0, 10.0, 2.0, 1.0);
    bar->SetPosDouble(3.0, false, false, false);

    // Scores window: a paged panel and a tab panel.
    MWinButton *players = Add(right, "Players", MWIN_BUTTON_PANEL, "", 15, 12, 280, 150, "Row");
    players->SetTextAlign(MWIN_ALIGN_LEFT);
    players->PanelSetStringsCallback(12, -1, PlayerRow, nullptr);
    players->PanelSetPos(2, 0, 0);
    MWinTabPanel *table = MWinTabPanel::Add(right, "Table", 10, 175, 290, 230);
    table->SetFont("Main");
    table->SetTextStyle("Row");
    table->SetEntryCallback(30, 4, 0, ScoreCell);
    table->SetLayoutOptions(true, true, true, true, 0, true, 22);
    table->SetColumnWidthPercentage(0, 12);
    table->SetColumnWidthPercentage(1, 40);
    table->SetColumnWidthPercentage(2, 18);
    table->SetColumnTextAlign(1, MWIN_ALIGN_LEFT);
    table->SetSortColumn(3, 0, false);
    table->SelectRow(1, 1, false, 0);

    ASSERT_TRUE(mwin->CreateGraphicsObjects()) << LogText();
    // The name field is being edited with its cursor showing.
    name->TextEditTurnOnEditing(1);
    name->UpdateKind();

    // The popup over everything.
    ASSERT_TRUE(mwin->PopupOKCancel("Save changes", "Keep the new settings for Marigold?", nullptr, nullptr));
    ASSERT_TRUE(mwin->IsPopupOn());
    // Lower than its centre, so that it leaves every kind in sight.
    MWinWindow *popup = mwin->PopupGetWindow();
    ASSERT_NE(nullptr, popup);
    popup->SetPosition(popup->GetDesignArea()->x, 392);

    ASSERT_TRUE(device->BeginRendering());
    device->SetClearColour(0.05f, 0.07f, 0.14f);
    device->ClearScreenAndZBuffer();
    mwin->RenderMain();
    mwin->RenderPopups();
    device->EndRendering();
    frame.assign((size_t)kWidth * kHeight, 0);
    ASSERT_EQ(PLAT_D3D_OK, PlatD3dDeviceReadBackBuffer(EngDeviceDX9GetD3dDevice(), frame.data(), kWidth, kHeight));
    std::string saved = std::string(PLINX_DATA_DIR);
    saved = saved.substr(0, saved.rfind('/')) + "/gui_kinds_demo.png";
    rendertest::Image image;
    image.width = kWidth;
    image.height = kHeight;
    for (uint32_t c : frame)
        image.pixels.push_back(c | 0xFF000000u);
    ASSERT_TRUE(rendertest::WriteImage(saved, image));

    // The popup: lighter than the dimmed screen around it, with white text on its buttons.
    for (const char *id : {"OK", "CANCEL"})
    {
        SCOPED_TRACE(id);
        const _Dimension *a = mwin->PopupGetButton(id)->GetScreenAreaP();
        EXPECT_GT(Count(a, [](uint32_t c) { return B(c) > R(c) + 40; }), (int)(a->w * a->h / 4));
        EXPECT_GT(Count(a, [](uint32_t c) { return R(c) > 200 && G(c) > 200 && B(c) > 200; }), 15);
    }
    // Below the popup, every kind left its mark though dimmed: the ring's orange pie, the
    // checked box, the steel-blue choice bar, the panel's selected row and the table.
    auto orange = [](uint32_t c) { return R(c) > 90 && R(c) > B(c) + 50 && G(c) > 40; };
    EXPECT_GT(Count(ring->GetScreenAreaP(), orange), 300);
    // The name being edited: its text and cursor are light.
    EXPECT_GT(Count(name->GetScreenAreaP(), [](uint32_t c) { return R(c) > 100 && G(c) > 100; }), 30);
    for (MWinButton *button : {speed, level, list, players})
    {
        SCOPED_TRACE(button->GetID());
        EXPECT_GT(Count(button->GetScreenAreaP(), [](uint32_t c) { return B(c) > 45 && B(c) > R(c) + 12; }),
                  (int)(button->GetScreenAreaP()->w * button->GetScreenAreaP()->h / 6));
    }
    // The colour picker: its green-blue swatch and the hue bar's spectrum.
    EXPECT_GT(Count(picker->GetScreenAreaP(), [](uint32_t c) { return G(c) > R(c) + 40; }), 100);
    const _Dimension *t = table->GetScreenAreaP();
    EXPECT_GT(Count(t, [](uint32_t c) { return R(c) > 100 && G(c) > 100 && B(c) > 100; }), 200);
}
} // namespace
