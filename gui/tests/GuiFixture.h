// A GUI root over a device on the recording executor, with a monospaced font (every
// character advances alike) registered as "Main", a small button sheet registered as the
// standard push button, and helpers that send mouse and key events the way the program
// does.
#pragma once
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "EngFont.h"
#include "EngGlobals.h"
#include "MWin.h"
#include "RenderTestkit.h"

namespace guitest
{

// A fixed-pitch font from the same Debian package as the game's font.
inline std::string MonoFontPath()
{
    return "/usr/share/fonts/truetype/ttf-bitstream-vera/VeraMono.ttf";
}

// A controller that records what the stack calls, and lets a test act inside ControlCB.
class RecordingController : public MWinCollectionController
{
public:
    RecordingController(const char *nameText, std::vector<std::string> *logTarget) : name(nameText), log(logTarget) {}
    bool CreateCollection(MWin *mwin) override
    {
        log->push_back(name + ".Create");
        MWinCollection *collection = mwin->GetDesktop()->AddCollection(name.c_str());
        if (!collection)
            return false;
        _MWinWindowCreateInfo info = {};
        info.x = 100;
        info.y = 100;
        info.w = 300;
        info.h = 200;
        window = collection->AddWindow("MainWin", &info);
        window->SetController(this);
        button = window->AddButton("Go", MWIN_BUTTON_PUSH, "", "Go", 10, 10, 100, 30);
        return true;
    }
    void ClearButtonPointers() override
    {
        log->push_back(name + ".Clear");
        button = nullptr;
        window = nullptr;
    }
    void StartingCB(void *data) override { log->push_back(name + ".Starting"); }
    void TickCB() override { ticks++; }
    void RenderCB(int pass) override { log->push_back(name + ".Render" + std::to_string(pass)); }
    bool ControlCB(MWinButton *pressed, _MWinButtonCallbackInfo *info) override
    {
        log->push_back(name + ".Control:" + info->buttonId);
        if (onControl)
            onControl(pressed);
        return true;
    }

    std::string name;
    std::vector<std::string> *log;
    MWinWindow *window = nullptr;
    MWinButton *button = nullptr;
    int ticks = 0;
    std::function<void(MWinButton *)> onControl;
};

class GuiTest : public rendertest::RenderTest
{
protected:
    void SetUp() override
    {
        // A 640 x 480 device inside a scene (draws are recorded inside a scene only).
        RenderTest::SetUp();
        EngScreenSettings.widthCorrection = 1.0f;
        EngScreenSettings.heightCorrection = 1.0f;
        MWinSetHost(nullptr);
        mwin = new MWin(nullptr);
        ASSERT_EQ(1, font.CreateFromFontFile(MonoFontPath().c_str(), 0, 0, 16, 32, 255, nullptr, 0, 72.0f / 150.0f,
                                             72.0f / 150.0f, 0, 0, 0, 0, 0, 0, 1));
        ASSERT_EQ(0, mwin->GetFonts()->AddUserFontPointer("Main", &font));
        sheetPath = home->File("Sheet.tga");
        ASSERT_TRUE(rendertest::WriteImage(sheetPath, rendertest::Pattern(64, 64)));
        MWinTextures *textures = mwin->GetTextures();
        ASSERT_TRUE(textures->AddTexture("Sheet", sheetPath.c_str(), 1, 2));
        ASSERT_TRUE(textures->AddStandardTextureButton(MWIN_STD_PUSH_BUTTON, "StdPushButton", "Sheet", 0, 0, 0.25f,
                                                       0.25f, "Sheet", 0.25f, 0, 0.5f, 0.25f, "Sheet", 0.5f, 0, 0.75f,
                                                       0.25f, "Sheet", 0.75f, 0, 1, 0.25f));
        ASSERT_TRUE(mwin->Startup());
    }

    void TearDown() override
    {
        delete mwin;
        mwin = nullptr;
        font.Destroy();
        MWinSetHost(nullptr);
        RenderTest::TearDown();
    }

    // A collection with one window of `info`'s defaults at (100, 100, 300, 200).
    MWinWindow *MakeWindow(const char *collectionId = "Screen", const char *windowId = "MainWin", float x = 100,
                           float y = 100, float w = 300, float h = 200)
    {
        MWinCollection *collection = mwin->GetDesktop()->GetCollectionFromID(collectionId, false);
        if (!collection)
            collection = mwin->GetDesktop()->AddCollection(collectionId);
        _MWinWindowCreateInfo info = {};
        info.x = x;
        info.y = y;
        info.w = w;
        info.h = h;
        return collection->AddWindow(windowId, &info);
    }

    void Move(float x, float y) { mwin->HandleMouseMoveDesign(x, y); }
    bool Press(int which = 0) { return mwin->HandleInput(MWIN_INPUT_BUTTON, which, 1); }
    bool Release(int which = 0) { return mwin->HandleInput(MWIN_INPUT_BUTTON, which, 0); }
    void Click(float x, float y)
    {
        Move(x, y);
        Press();
        Release();
    }
    bool Key(int vk)
    {
        EngKeyStates[vk & 255] = 2;
        bool taken = mwin->HandleInput(MWIN_INPUT_KEY_DOWN, vk, 0);
        return taken;
    }
    void Up(int vk) { EngKeyStates[vk & 255] = 0; }

    MWin *mwin = nullptr;
    EngFont font;
    std::string sheetPath;
};

// Records the callbacks of plain buttons (no controller) in order.
struct CallbackLog
{
    static void Record(MWin *, _MWinButtonCallbackInfo *info, int a, int b)
    {
        Fired().push_back(std::string(info->buttonId) + ":" + std::to_string(a));
    }
    static std::vector<std::string> &Fired()
    {
        static std::vector<std::string> fired;
        return fired;
    }
};

} // namespace guitest
