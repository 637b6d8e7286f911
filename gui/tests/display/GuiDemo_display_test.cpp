// The toolkit's demo screen drawn by OpenGL (needs a display: run under Xvfb): a window
// with a title bar, three push buttons (one under the mouse, one held down, one at rest)
// and labels in two text styles, drawn with the build's Data/PlinxButtons.tga and
// Data/VeraBd.ttf. Pixels of the button art and the text are checked, and the frame is
// saved as "gui_demo.png" in the build folder for a person to look at.
#include "RenderTestkit.h"

#include <cmath>
#include <string>

#include "EngFont.h"
#include "EngTexture.h"
#include "MWin.h"

namespace
{
constexpr int kWidth = 640, kHeight = 480;

class GuiDemoTest : public devicetest::DeviceTest
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
    template <typename F> int Count(int x0, int y0, int x1, int y1, F test) const
    {
        int count = 0;
        for (int y = y0; y < y1; y++)
            for (int x = x0; x < x1; x++)
                if (test(At(x, y)))
                    count++;
        return count;
    }
    // Mean brightness (r + g + b) of a rectangle.
    double Brightness(int x0, int y0, int x1, int y1) const
    {
        double sum = 0;
        for (int y = y0; y < y1; y++)
            for (int x = x0; x < x1; x++)
                sum += R(At(x, y)) + G(At(x, y)) + B(At(x, y));
        return sum / ((x1 - x0) * (y1 - y0));
    }

    // The texture buttons the demo draws with, cut from the sheet as the game cuts them.
    void RegisterArt()
    {
        MWinTextures *tex = mwin->GetTextures();
        std::string sheet = std::string(PLINX_DATA_DIR) + "/PlinxButtons.tga";
        ASSERT_TRUE(tex->AddTexture("Buttons", sheet.c_str(), 1, ENG_ALPHA_FROM_FILE)) << LogText();
        ASSERT_TRUE(tex->AddStandardTextureButton(MWIN_STD_WIN_BACK, "StdWinBack", "Buttons", 0.006f, 0.006f, 0.244f,
                                                  0.244f, "",
                                                  0, 0, 0, 0, "", 0, 0, 0, 0, "", 0, 0, 0, 0));
        tex->SetTexButDrawStyle("StdWinBack", 2, 0.14f, 24, 2, 0.14f, 18);
        ASSERT_TRUE(tex->AddStandardTextureButton(MWIN_STD_WIN_TITLE, "StdWinTitle", "Buttons", 0, 0.375f, 0.25f,
                                                  0.4375f, "", 0, 0, 0, 0, "", 0, 0, 0, 0, "", 0, 0, 0, 0));
        tex->SetTexButDrawStyle("StdWinTitle", 2, 0.1f, 14, 1, 0, 16);
        const float top = 0.511f, bottom = 0.748f;
        ASSERT_TRUE(tex->AddStandardTextureButton(MWIN_STD_PUSH_BUTTON, "StdPushButton", "Buttons", 0, top, 0.25f,
                                                  bottom, "Buttons", 0.25f, top, 0.5f, bottom, "Buttons", 0.5f, top,
                                                  0.75f, bottom, "Buttons", 0.75f, top, 1.0f, bottom));
        tex->SetTexButDrawStyle("StdPushButton", 2, 0.11f, 12, 1, 0, 16);
    }

    MWin *mwin = nullptr;
    EngFont font;
    std::vector<uint32_t> frame;
};

TEST_F(GuiDemoTest, DemoScreen)
{
    ASSERT_TRUE(MakeDevice(kWidth, kHeight)) << LogText();
    EngScreenSettings.widthCorrection = EngScreenSettings.heightCorrection = 1.0f;
    mwin = new MWin(nullptr);
    RegisterArt();
    // The GUI font: glyphs rendered at 150 dpi and shown at 72 per design unit.
    const float px = 72.0f / 150.0f;
    const std::string fontFile = std::string(PLINX_DATA_DIR) + "/VeraBd.ttf";
    ASSERT_EQ(1, font.CreateFromFontFile(fontFile.c_str(), 0, 0, 20, 32, 255, nullptr, 0, px, px, 0.4f * 20,
                                         1.2f * 20 - px * 20, 0, 0, 0, 0, 1))
        << LogText();
    ASSERT_EQ(0, mwin->GetFonts()->AddUserFontPointer("Main", &font));
    mwin->GetFonts()->AddFontStyleToFont(0, "Heading", 1.1f, 1.1f, 1.0f, 0.84f, 0.25f, 1.0f);
    mwin->GetFonts()->AddFontStyleToFont(0, "Body", 0.7f, 0.7f, 0.62f, 0.88f, 1.0f, 1.0f);
    mwin->GetFonts()->AddFontStyleToFont(0, "Button", 0.85f, 0.85f, 1.0f, 1.0f, 1.0f, 1.0f);
    ASSERT_TRUE(mwin->Startup());

    MWinCollection *collection = mwin->GetDesktop()->AddCollection("Demo");
    _MWinWindowCreateInfo info = {};
    info.x = 120;
    info.y = 90;
    info.w = 400;
    info.h = 330;
    info.hasTitleBar = 1;
    strcpy(info.title, "Plinx toolkit");
    strcpy(info.font, "Main");
    MWinWindow *window = collection->AddWindow("MainWin", &info);
    window->SetTitleTextColour(1.0f, 1.0f, 1.0f, 1.0f);
    window->SetTitleTextScale(0.8f, 0.8f);
    window->SetTextAlign(MWIN_ALIGN_CENTRE);
    auto fire = [](MWin *, _MWinButtonCallbackInfo *, int, int) {};
    MWinButton *heading =
        window->AddButton("Heading", MWIN_BUTTON_STATIC, MWIN_TEXBUT_NONE, "Choose a game", 20, 20, 360, 34);
    MWinButton *body = window->AddButton("Body", MWIN_BUTTON_STATIC, MWIN_TEXBUT_NONE,
                                         "Pop groups of three or more balls.", 20, 56, 360, 24);
    const char *names[3] = {"PLAY", "OPTIONS", "QUIT"};
    MWinButton *buttons[3];
    for (int i = 0; i < 3; i++)
    {
        buttons[i] = window->AddButton(names[i], MWIN_BUTTON_PUSH, "", names[i], 110, 110 + 64.0f * i, 180, 46,
                                       fire, i, 0);
        buttons[i]->SetFont("Main");
        buttons[i]->SetTextStyle("Button");
    }
    for (MWinButton *label : {heading, body})
        label->SetFont("Main");
    heading->SetTextStyle("Heading");
    body->SetTextStyle("Body");
    ASSERT_TRUE(mwin->CreateGraphicsObjects()) << LogText();

    // PLAY under the mouse, OPTIONS held down (the mouse went there and pressed), QUIT at
    // rest: three draw states side by side.
    const _Dimension *options = buttons[1]->GetScreenAreaP();
    mwin->HandleMouseMoveDesign(options->x + 20, options->y + 20);
    mwin->HandleInput(MWIN_INPUT_BUTTON, 0, 1);
    const _Dimension *play = buttons[0]->GetScreenAreaP();
    buttons[0]->GainHoverOrFocus();
    ASSERT_EQ(MWIN_TEXSTATE_HOVER, buttons[0]->GetDrawState());
    ASSERT_EQ(MWIN_TEXSTATE_PRESSED, buttons[1]->GetDrawState());
    ASSERT_EQ(MWIN_TEXSTATE_NORMAL, buttons[2]->GetDrawState());

    ASSERT_TRUE(device->BeginRendering());
    device->SetClearColour(0.05f, 0.07f, 0.14f);
    device->ClearScreenAndZBuffer();
    mwin->RenderMain();
    device->EndRendering();
    frame.assign((size_t)kWidth * kHeight, 0);
    ASSERT_EQ(PLAT_D3D_OK, PlatD3dDeviceReadBackBuffer(EngDeviceDX9GetD3dDevice(), frame.data(), kWidth, kHeight));
    std::string saved = std::string(PLINX_DATA_DIR);
    saved = saved.substr(0, saved.rfind('/')) + "/gui_demo.png";
    rendertest::Image image;
    image.width = kWidth;
    image.height = kHeight;
    for (uint32_t c : frame)
        image.pixels.push_back(c | 0xFF000000u);
    ASSERT_TRUE(rendertest::WriteImage(saved, image));

    // Outside the window: the clear colour.
    EXPECT_NEAR(0x0D, R(At(10, 10)), 2);
    EXPECT_NEAR(0x12, G(At(10, 10)), 2);
    EXPECT_NEAR(0x24, B(At(10, 10)), 2);
    // The window panel is blue-tinted and lighter than the background; the title bar
    // sits above it and carries white text.
    EXPECT_GT(B(At(200, 400)), B(At(10, 10)) + 10);
    EXPECT_GT(Count(180, 62, 460, 88, [](uint32_t c) { return R(c) > 220 && G(c) > 220 && B(c) > 220; }), 100);
    // Push buttons: blue bodies with light text, edges crisp (the rim goes from dark to
    // light within a few pixels).
    for (MWinButton *button : buttons)
    {
        const _Dimension *a = button->GetScreenAreaP();
        int x0 = (int)a->x, y0 = (int)a->y, x1 = (int)(a->x + a->w), y1 = (int)(a->y + a->h);
        SCOPED_TRACE(button->GetID());
        EXPECT_GT(Count(x0 + 10, y0 + 4, x1 - 10, y1 - 4, [](uint32_t c) { return B(c) > R(c) + 40; }),
                  (x1 - x0 - 20) * (y1 - y0 - 8) / 3);
        EXPECT_GT(Count(x0 + 10, y0 + 8, x1 - 10, y1 - 8, [](uint32_t c) { return R(c) > 200 && G(c) > 200; }), 40);
        // Anti-aliased text: partly covered pixels between the text and the body.
        EXPECT_GT(Count(x0 + 10, y0 + 8, x1 - 10, y1 - 8,
                        [](uint32_t c) { return R(c) > 90 && R(c) < 190 && G(c) > 90 && G(c) < 190; }),
                  10);
    }
    // The three states differ visibly: hover is the brightest, pressed the darkest.
    auto inner = [this](const _Dimension *a) {
        return Brightness((int)a->x + 8, (int)a->y + 4, (int)a->x + 30, (int)(a->y + a->h) - 4);
    };
    double hover = inner(play), pressed = inner(options), normal = inner(buttons[2]->GetScreenAreaP());
    EXPECT_GT(hover, normal + 20);
    EXPECT_GT(std::fabs(pressed - normal), 20);
    // The two text styles: a yellow heading and light blue body text.
    const _Dimension *h = heading->GetScreenAreaP();
    EXPECT_GT(Count((int)h->x, (int)h->y, (int)(h->x + h->w), (int)(h->y + h->h),
                    [](uint32_t c) { return R(c) > 200 && G(c) > 160 && B(c) < 120; }),
              150);
    const _Dimension *b = body->GetScreenAreaP();
    EXPECT_GT(Count((int)b->x, (int)b->y, (int)(b->x + b->w), (int)(b->y + b->h),
                    [](uint32_t c) { return B(c) > 200 && G(c) > 170 && R(c) < 190; }),
              80);
}
} // namespace
