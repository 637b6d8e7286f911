// The profile screens drawn by OpenGL (needs a display: run under Xvfb) in the game's
// look: the button sheet Data/PlinxButtons.tga cut as the game cuts it, the game's font
// "Main", its popup settings and layout metrics, over the menu background. Each screen
// is saved in the build folder as "profiles_<screen>.png" for a person to look at, and
// a few pixels are checked: white text on the buttons, the flags beside the countries.
#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

#include "CountryCC.h"
#include "EngTexture.h"
#include "PlatShell.h"
#include "ProfilesScreensTestkit.h"
#include "UserLoadCC.h"
#include "UsersCC.h"

using profilestest::ProfilesEnvironment;

namespace
{
constexpr int kWidth = 640, kHeight = 480;

// A texture button of the game's look: four regions (right edge 0: no picture), its
// draw style and a colour per state (alpha 0: the default). Slot -1: a named button.
struct Look
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
#define NORMAL_AND_DISABLED(l, t, r, b) {{l, t, r, b}, {0, 0, 0, 0}, {0, 0, 0, 0}, {l, t, r, b}}
#define ONE(l, t, r, b) {{l, t, r, b}, {0, 0, 0, 0}, {0, 0, 0, 0}, {0, 0, 0, 0}}

const Look kLooks[] = {
    {-1, "Main",
     {{0, 0.502f, 0.249f, 0.748f}, {0.251f, 0.502f, 0.499f, 0.748f}, {0.501f, 0.502f, 0.749f, 0.748f},
      {0.751f, 0.502f, 0.999f, 0.748f}},
     2, 0.12f, 9, 1, 0.16f, 4, {}},
    {-1, "Black", NORMAL_AND_DISABLED(0.001f, 0.375f, 0.251f, 0.437f), 2, 0.04f, 4, 2, 0.12f, 3, {}},
    {-1, "Back1", NORMAL_AND_DISABLED(0.002f, 0.001f, 0.248f, 0.249f), 2, 0.26f, 14, 2, 0.16f, 5, {}},
    {MWIN_STD_WIN_BACK, "StdWinBack", ONE(0.001f, 0.001f, 0.257f, 0.249f), 2, 0.08f, 6, 2, 0.14f, 6, {}},
    {MWIN_STD_WIN_TITLE, "StdWinTitle", ONE(0.001f, 0.377f, 0.25f, 0.437f), 2, 0.04f, 4, 1, 0.13f, 6, {}},
    {MWIN_STD_VSCROLL_BUTTON, "StdVScrollButton", NORMAL_AND_DISABLED(0.063f, 0.438f, 0.124f, 0.5f), 1, 0, 0, 2,
     0.26f, 2, {{1, 1, 1, 0.696f}}},
    {MWIN_STD_VSCROLL_BACK, "StdVScrollBack",
     {{0.005f, 0.505f, 0.245f, 0.745f}, {0, 0, 0, 0}, {0, 0, 0, 0}, {0.755f, 0.505f, 0.995f, 0.745f}}, 1, 0, 0, 2,
     0.15f, 3, {}},
    {MWIN_STD_CHECK_BUTTON, "StdCheckButton", ONE(0.001f, 0.439f, 0.062f, 0.499f), 0, 0, 0, 0, 0, 0, {}},
    {MWIN_STD_UNCHECK_BUTTON, "StdUnCheckButton", ONE(0.064f, 0.439f, 0.124f, 0.499f), 0, 0, 0, 0, 0, 0, {}},
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
    {MWIN_STD_PANEL, "StdPanel",
     {{0.005f, 0.508f, 0.245f, 0.746f}, {0.001f, 0.001f, 0.25f, 0.251f}, {0.005f, 0.508f, 0.245f, 0.746f},
      {0.755f, 0.505f, 0.995f, 0.745f}},
     2, 0.11f, 4, 1, 0, 0,
     {{0.746f, 0.746f, 0.746f, 1}, {1, 1, 1, 1}, {0.729f, 0.729f, 0.729f, 1}, {0.475f, 0.475f, 0.475f, 1}}},
};

class ProfileScreensDisplayTest : public devicetest::DeviceTest
{
protected:
    bool UseGL() const override { return true; }

    void SetUp() override
    {
        // The screens read their pictures (the flag atlas among them) by the game's
        // relative paths: run from the folder that holds Data, as the game does.
        ASSERT_NE(getcwd(oldFolder, sizeof(oldFolder)), nullptr);
        std::string gameFolder = PLINX_DATA_DIR;
        gameFolder = gameFolder.substr(0, gameFolder.rfind('/'));
        ASSERT_EQ(chdir(gameFolder.c_str()), 0);
        DeviceTest::SetUp();
        environment.SetUp();
        ASSERT_TRUE(MakeDevice(kWidth, kHeight)) << LogText();
        EngScreenSettings.widthCorrection = EngScreenSettings.heightCorrection = 1.0f;
        MWinSetHost(nullptr);
        mwin = new MWin(nullptr);
        RegisterLook();
        ASSERT_TRUE(mwin->Startup());
        ASSERT_TRUE(background.LoadFromFile(PLINX_DATA_DIR "/MenuBg.jpg", 0, 0, 0)) << LogText();
        _UserScreensHost host = {};
        host.titlePicture = PLINX_DATA_DIR "/PlinxText.png";
        UserScreensSetHost(&host);
        PlatShellFunctions shell = {nullptr, nullptr, [](char *out, size_t size) {
                                        out[0] = 0;
                                        return true;
                                    }};
        PlatShellSetFunctions(&shell);
        environment.MakeScreens(mwin);
    }

    void TearDown() override
    {
        UserScreensReleaseGraphics();
        UserScreensSetHost(nullptr);
        PlatShellSetFunctions(nullptr);
        environment.DeleteScreens();
        delete mwin;
        mwin = nullptr;
        background.Release();
        font.Destroy();
        MWinSetHost(nullptr);
        environment.TearDown();
        DeviceTest::TearDown();
        if (chdir(oldFolder) != 0)
            ADD_FAILURE() << "could not go back to " << oldFolder;
    }

    void RegisterLook()
    {
        MWinTextures *textures = mwin->GetTextures();
        ASSERT_TRUE(textures->AddTexture("Buttons", PLINX_DATA_DIR "/PlinxButtons.tga", 1, 2)) << LogText();
        for (const Look &look : kLooks)
        {
            const char *ids[4];
            for (int i = 0; i < 4; i++)
                ids[i] = look.states[i][2] > 0 ? "Buttons" : "";
            const float(*s)[4] = look.states;
            if (look.slot < 0)
                ASSERT_NE(nullptr, textures->AddTextureButton(look.id, ids[0], s[0][0], s[0][1], s[0][2], s[0][3], ids[1],
                                                              s[1][0], s[1][1], s[1][2], s[1][3], ids[2], s[2][0],
                                                              s[2][1], s[2][2], s[2][3], ids[3], s[3][0], s[3][1],
                                                              s[3][2], s[3][3]));
            else
                ASSERT_TRUE(textures->AddStandardTextureButton(look.slot, look.id, ids[0], s[0][0], s[0][1], s[0][2],
                                                               s[0][3], ids[1], s[1][0], s[1][1], s[1][2], s[1][3],
                                                               ids[2], s[2][0], s[2][1], s[2][2], s[2][3], ids[3],
                                                               s[3][0], s[3][1], s[3][2], s[3][3]));
            textures->SetTexButDrawStyle(look.id, look.styleX, look.fractionX, look.sizeX, look.styleY,
                                         look.fractionY, look.sizeY);
            for (int i = 0; i < 4; i++)
                if (look.colours[i][3] > 0)
                    textures->SetTextureButtonStateColourMultiplierRGBA(look.id, i, look.colours[i][0],
                                                                        look.colours[i][1], look.colours[i][2],
                                                                        look.colours[i][3]);
        }
        // The game's font and metrics of the Normal layout, and its popups.
        EngFontGlyphEffects effects = {};
        effects.border = 2;
        effects.extraWidth = 7;
        effects.extraHeight = 6;
        effects.shadowFactor1 = 0.766549f;
        effects.blurPasses0 = 3;
        effects.blurPasses1 = 2;
        font.SetGlyphEffects(&effects);
        ASSERT_EQ(1, font.CreateFromFontFile(PLINX_DATA_DIR "/VeraBd.ttf", 1, 144, 32, 32, 254, nullptr, 0, 0.160404f,
                                             0.204889f, 1.000135f, 6.747f, 0, 0, 0, 0, 1))
            << LogText();
        ASSERT_EQ(0, mwin->GetFonts()->AddUserFontPointer("Main", &font));
        _MWinSettings settings;
        mwin->GetDefaultSettings(&settings);
        float *fields = (float *)&settings.layoutDefaults[0];
        const float four[] = {60, 20, 3, 3}, five[] = {0, 0, 4.5f, 0, 7.1f};
        const float eighteen[] = {12, 12, 3, 14, 27.1f, 12.3f, 24.8f, 13.7f, 17, 3, 3, 12, 15.6f, 3, 12, 12, 3, 3};
        memcpy(fields + 7, four, sizeof(four));
        memcpy(fields + 15, five, sizeof(five));
        memcpy(fields + 21, eighteen, sizeof(eighteen));
        settings.disabledAlphaFactor = 0.3f;
        mwin->SetDefaultSettings(&settings);
        mwin->ApplyLayoutSettings();
        mwin->PopupSetSettings("Back1", "Back1", "Main", "Main", "Main", 1, 1, 1, 0.7f, 1.2f, 1.2f, 1, 1, 1, 0.7f, 1.4f,
                               1.4f, 1);
    }

    // One frame as the program draws the menus, read back and saved as
    // "profiles_<name>.png" beside the build's Data folder.
    void Shoot(const char *name)
    {
        // The first frame measures what some kinds place by their text (the checkbox).
        DrawFrame();
        DrawFrame();
        frame.assign((size_t)kWidth * kHeight, 0);
        ASSERT_EQ(PLAT_D3D_OK,
                  PlatD3dDeviceReadBackBuffer(EngDeviceDX9GetD3dDevice(), frame.data(), kWidth, kHeight));
        std::string saved = std::string(PLINX_DATA_DIR);
        saved = saved.substr(0, saved.rfind('/')) + "/profiles_" + name + ".png";
        rendertest::Image image;
        image.width = kWidth;
        image.height = kHeight;
        for (uint32_t c : frame)
            image.pixels.push_back(c | 0xFF000000u);
        ASSERT_TRUE(rendertest::WriteImage(saved, image));
    }

    void DrawFrame()
    {
        ASSERT_TRUE(device->BeginRendering());
        device->SetClearColour(0, 0, 0);
        device->ClearScreenAndZBuffer();
        const bool prepared = device->PrepareFor2DIfNotPrepared(true);
        background.PositionRatioed(0, 0, 640, 480);
        background.Draw();
        if (prepared)
            device->RestoreAfter2D();
        MWinScreens *screens = ProfilesEnvironment::Registry();
        screens->Render(0);
        mwin->RenderMain();
        screens->Render(1);
        mwin->RenderPopups();
        screens->Render(2);
        device->EndRendering();
    }

    uint32_t At(int x, int y) const { return frame[(size_t)y * kWidth + x]; }
    static int R(uint32_t c) { return (c >> 16) & 0xFF; }
    static int G(uint32_t c) { return (c >> 8) & 0xFF; }
    static int B(uint32_t c) { return c & 0xFF; }
    // Pixels of an area of the design screen (640 x 480 here) that pass `test`.
    template <typename F> int Count(float x, float y, float w, float h, F test) const
    {
        int count = 0;
        for (int py = (int)y; py < (int)(y + h) && py < kHeight; py++)
            for (int px = (int)x; px < (int)(x + w) && px < kWidth; px++)
                if (px >= 0 && py >= 0 && test(At(px, py)))
                    count++;
        return count;
    }
    int WhiteText(MWinButton *button) const
    {
        const _Dimension *a = button->GetScreenAreaP();
        return Count(a->x, a->y, a->w, a->h, [](uint32_t c) { return R(c) > 170 && G(c) > 170 && B(c) > 170; });
    }
    // Pixels of a saturated colour (flags are; the menu's greys and blues are not).
    int Colourful(float x, float y, float w, float h) const
    {
        return Count(x, y, w, h, [](uint32_t c) {
            int hi = std::max(R(c), std::max(G(c), B(c))), lo = std::min(R(c), std::min(G(c), B(c)));
            return hi - lo > 90;
        });
    }

    ProfilesEnvironment environment;
    MWin *mwin = nullptr;
    EngFont font;
    EngTexture background;
    std::vector<uint32_t> frame;
    char oldFolder[4096] = {};
};

TEST_F(ProfileScreensDisplayTest, EachProfileScreenInTheGamesLook)
{
    ProfilesEnvironment::MakePlayer("Tester", "FR");
    ProfilesEnvironment::MakePlayer("Bertil", "SE");
    ProfilesEnvironment::MakePlayer("Dagny", "NO");
    testkit::WriteFile(ProfilesEnvironment::UserFile("Oldie"), "a player file of another version");
    ProfilesEnvironment::LastName() = "Tester";
    MWinScreens *screens = ProfilesEnvironment::Registry();
    ASSERT_TRUE(screens->StartScreen(UserScreensGetFirstScreenId(), 0));
    ASSERT_TRUE(mwin->CreateGraphicsObjects()) << LogText();
    // The GUI's named textures are made at once, not left for later with a complaint.
    EXPECT_EQ(LogText().find("Cannot set name"), std::string::npos) << LogText();

    // The players screen: Continue with the last player and his flag right of it.
    Shoot("players");
    MWinButton *continueButton = UsersGetWidget(USERS_CONTINUE);
    EXPECT_GT(WhiteText(continueButton), 40);
    EXPECT_GT(WhiteText(UsersGetWidget(USERS_NEW)), 40);
    const _Dimension *c = continueButton->GetScreenAreaP();
    EXPECT_GT(Colourful(c->x + c->w + 5, c->y + 2, 25, c->h - 4), 100) << "the flag of France";

    // The new-player screen with the name popup open over it.
    ASSERT_TRUE(screens->GotoScreen(user_screen_new, nullptr));
    ASSERT_TRUE(mwin->IsPopupOn());
    for (const char *c : {"M", "a", "r", "i", "g", "o", "l", "d"})
        mwin->HandleInput(MWIN_INPUT_CHARACTER, (unsigned char)c[0], 0);
    Shoot("new_player_name");
    EXPECT_GT(WhiteText(mwin->PopupGetButton("OK")), 20);
    EngKeyStates[13] = 2;
    mwin->HandleInput(MWIN_INPUT_KEY_DOWN, 13, 0);
    EngKeyStates[13] = 0;
    for (int i = 0; i < 8; i++)
        screens->Tick();
    ASSERT_FALSE(mwin->IsPopupOn());
    ASSERT_STREQ(ProfilesEnvironment::Registry()->users->GetUserNewCC()->GetName(), "Marigold");
    Shoot("new_player");
    MWinButton *country = UserNewGetWidget(USER_NEW_COUNTRY);
    EXPECT_GT(WhiteText(country), 40);
    const _Dimension *k = country->GetScreenAreaP();
    EXPECT_GT(Colourful(k->x + k->w - 30, k->y + 2, 25, k->h - 4), 100) << "the flag inside the button";

    // The country screen: a flag left of every row.
    ASSERT_TRUE(screens->GotoScreen(country_screen, nullptr));
    Shoot("country");
    MWinButton *list = CountryGetWidget(COUNTRY_LIST);
    const _Dimension *l = list->GetScreenAreaP();
    EXPECT_GT(Colourful(l->x - 22, l->y, 20, l->h), 1500);
    EXPECT_GT(WhiteText(list), 200);

    // The load screen with its flags, then the popup of a player file that does not load.
    ASSERT_TRUE(screens->GotoScreen(user_screen_load, nullptr));
    Shoot("load");
    MWinButton *panel = UserLoadGetWidget(USER_LOAD_PANEL);
    const _Dimension *p = panel->GetScreenAreaP();
    EXPECT_GT(Colourful(p->x + p->w - 40, p->y, 40, p->h), 300);
    panel->PanelSetPos(2, 0, 0);
    ASSERT_STREQ(panel->PanelGetString(2), "Oldie");
    _MWinButtonCallbackInfo info = {};
    ProfilesEnvironment::Registry()->users->GetUserLoadCC()->ControlCB(UserLoadGetWidget(USER_LOAD_LOAD), &info);
    ASSERT_TRUE(mwin->IsPopupOn());
    Shoot("load_failed");
    for (const char *id : {"OK", "NO", "CANCEL"})
        EXPECT_GT(WhiteText(mwin->PopupGetButton(id)), 20) << id;
}

} // namespace
