// The screen stack: the controller calls in their order for start, change, back, reload
// and end; fades drawn through the host with a fake clock, their time-out; and callbacks
// that delete their own button or change the screen from inside an event (run under
// AddressSanitizer in the sanitizer build).
#include "GuiFixture.h"

#include "EngMemory.h"

namespace
{
using guitest::RecordingController;

constexpr ScreenId kA = EngFourCC("AAAA"), kB = EngFourCC("BBBB"), kC = EngFourCC("CCCC");

class TestScreens : public MWinScreens
{
public:
    TestScreens(MWin *mwin, std::vector<std::string> *logTarget) : MWinScreens(mwin, false), log(logTarget) {}
    bool SetupScreens() override
    {
        for (RecordingController *c : controllers)
            AddScreen(EngFourCC(c->name == "A" ? "AAAA" : c->name == "B" ? "BBBB" : "CCCC"), c);
        return true;
    }
    void BeforeStart() override { log->push_back("Screens.BeforeStart"); }
    void AfterStart(ScreenId id) override { log->push_back("Screens.AfterStart"); }
    void PreChanging() override { log->push_back("Screens.Pre"); }
    void PostChanging(ScreenId id) override { log->push_back(std::string("Screens.Post:") + EngFourCCToString(id)); }
    void OnEnd() override { log->push_back("Screens.End"); }
    std::vector<RecordingController *> controllers;
    std::vector<std::string> *log;
};

// A fake clock that moves on by one frame each time a fade frame is drawn.
struct FadeClock
{
    static double &Now()
    {
        static double now;
        return now;
    }
    static double &FrameSeconds()
    {
        static double seconds;
        return seconds;
    }
    static std::vector<float> &Frames()
    {
        static std::vector<float> frames;
        return frames;
    }
};

class MWinScreensTest : public guitest::GuiTest
{
protected:
    void SetUp() override
    {
        GuiTest::SetUp();
        mwin->Shutdown();
        a = new RecordingController("A", &log);
        b = new RecordingController("B", &log);
        c = new RecordingController("C", &log);
        screens = new TestScreens(mwin, &log);
        screens->controllers = {a, b, c};
        ASSERT_TRUE(screens->SetupAllScreens());
        FadeClock::Now() = 10.0;
        FadeClock::FrameSeconds() = 1.0 / 60.0;
        FadeClock::Frames().clear();
        _MWinHost host = {};
        host.getTime = [] { return FadeClock::Now(); };
        host.getFrameRate = [] { return 60.0f; };
        host.drawFadeFrame = [](float alpha) {
            FadeClock::Frames().push_back(alpha);
            FadeClock::Now() += FadeClock::FrameSeconds();
        };
        MWinSetHost(&host);
    }

    void TearDown() override
    {
        delete screens;
        delete a;
        delete b;
        delete c;
        GuiTest::TearDown();
    }

    std::vector<std::string> Take()
    {
        std::vector<std::string> taken;
        taken.swap(log);
        return taken;
    }

    std::vector<std::string> log;
    RecordingController *a = nullptr, *b = nullptr, *c = nullptr;
    TestScreens *screens = nullptr;
};

TEST_F(MWinScreensTest, StartChangeBackReloadAndEndCallTheControllersInOrder)
{
    EXPECT_TRUE(screens->StartScreen(kA, -1));
    EXPECT_TRUE(mwin->IsOn());
    EXPECT_TRUE(screens->IsRunning());
    EXPECT_EQ((std::vector<std::string>{"Screens.BeforeStart", "Screens.Pre", "A.Create", "A.Starting", "Screens.Post:AAAA"}),
              Take());
    EXPECT_NE(nullptr, mwin->GetDesktop()->GetCollectionFromID("A", false));

    EXPECT_TRUE(screens->GotoScreen(kB, nullptr));
    EXPECT_EQ((std::vector<std::string>{"A.Clear", "Screens.Pre", "B.Create", "B.Starting", "Screens.Post:BBBB"}),
              Take());
    // Every change builds the new collection from scratch and removes the old one.
    EXPECT_EQ(nullptr, mwin->GetDesktop()->GetCollectionFromID("A", false));
    EXPECT_NE(nullptr, mwin->GetDesktop()->GetCollectionFromID("B", false));

    EXPECT_TRUE(screens->GotoScreen(kC, nullptr));
    Take();
    EXPECT_TRUE(screens->GoBack());
    EXPECT_EQ(kB, screens->GetCurrentScreen());
    EXPECT_EQ((std::vector<std::string>{"C.Clear", "Screens.Pre", "B.Create", "B.Starting", "Screens.Post:BBBB"}),
              Take());
    EXPECT_TRUE(screens->GoBack());
    EXPECT_EQ(kA, screens->GetCurrentScreen());
    Take();
    // A is the first screen: there is nothing behind it.
    rendertest::LogMark();
    EXPECT_FALSE(screens->GoBack());
    EXPECT_EQ(1, rendertest::CountLog("Screen [] not found."));
    EXPECT_EQ(kA, screens->GetCurrentScreen());
    EXPECT_TRUE(Take().empty());

    EXPECT_TRUE(screens->ReloadCurrentScreen());
    EXPECT_EQ((std::vector<std::string>{"A.Clear", "Screens.Pre", "A.Create", "A.Starting", "Screens.Post:AAAA"}),
              Take());

    screens->Render(0);
    EXPECT_TRUE(screens->Tick());
    EXPECT_EQ(1, a->ticks);
    EXPECT_EQ(std::vector<std::string>{"A.Render0"}, Take());

    EXPECT_TRUE(screens->End(-1));
    EXPECT_EQ((std::vector<std::string>{"A.Clear", "Screens.End"}), Take());
    EXPECT_FALSE(mwin->IsOn());
    EXPECT_FALSE(screens->IsRunning());
    EXPECT_FALSE(screens->Tick());
}

TEST_F(MWinScreensTest, AnUnknownScreenChangesNothing)
{
    screens->StartScreen(kA, -1);
    Take();
    rendertest::LogMark();
    EXPECT_FALSE(screens->GotoScreen(EngFourCC("NONE"), nullptr));
    EXPECT_EQ(1, rendertest::CountLog("Screen [NONE] not found."));
    EXPECT_EQ(kA, screens->GetCurrentScreen());
    EXPECT_TRUE(Take().empty());
    EXPECT_NE(nullptr, mwin->GetDesktop()->GetCollectionFromID("A", false));
}

TEST_F(MWinScreensTest, TurningOffWithMode2ForgetsTheCurrentScreen)
{
    EngScreens *stack = screens->GetEngScreens();
    stack->SetCurrentScreenID(kA);
    EXPECT_TRUE(stack->TurnOn(1));
    EXPECT_TRUE(stack->TurnOff(2));
    EXPECT_EQ(0, stack->GetCurrentID());
    mwin->Startup();
    rendertest::LogMark();
    EXPECT_FALSE(stack->StartCurrent(nullptr));
    EXPECT_EQ(1, rendertest::CountLog("No start screen set."));
}

TEST_F(MWinScreensTest, AFadeDrawsItsFramesAndEndsOnATimeOut)
{
    screens->SetFade(false);
    screens->StartScreen(kA, -1);
    EXPECT_TRUE(FadeClock::Frames().empty());
    screens->SetFade(true);
    // 0.15 s of 1/60 s frames: one measuring frame and nine steps to black.
    screens->Fade(true);
    ASSERT_EQ(10u, FadeClock::Frames().size());
    EXPECT_FLOAT_EQ(0.0f, FadeClock::Frames()[0]);
    EXPECT_NEAR(1.0f / 9.0f, FadeClock::Frames()[1], 1e-5);
    EXPECT_FLOAT_EQ(1.0f, FadeClock::Frames().back());
    FadeClock::Frames().clear();
    screens->Fade(false);
    EXPECT_FLOAT_EQ(1.0f, FadeClock::Frames()[0]);
    EXPECT_FLOAT_EQ(0.0f, FadeClock::Frames().back());
    // A first frame that was quick and later frames that are slow: the fade stops once
    // twice its length has passed instead of drawing all its steps.
    FadeClock::Frames().clear();
    static int drawn;
    drawn = 0;
    _MWinHost slow = *MWinGetHost();
    slow.drawFadeFrame = [](float alpha) {
        FadeClock::Frames().push_back(alpha);
        FadeClock::Now() += drawn++ == 0 ? 0.0001 : 2.0;
    };
    MWinSetHost(&slow);
    screens->Fade(true);
    EXPECT_EQ(3u, FadeClock::Frames().size());
    EXPECT_FLOAT_EQ(1.0f, FadeClock::Frames().back());
    // A change fades out and in: frames on both sides of the new screen.
    MWinSetHost(nullptr);
    _MWinHost host = {};
    host.getTime = [] { return FadeClock::Now(); };
    host.getFrameRate = [] { return 60.0f; };
    host.drawFadeFrame = [](float alpha) {
        FadeClock::Frames().push_back(alpha);
        FadeClock::Now() += 1.0 / 60.0;
    };
    MWinSetHost(&host);
    FadeClock::Frames().clear();
    screens->GotoScreen(kB, nullptr);
    EXPECT_EQ(20u, FadeClock::Frames().size());
}

TEST_F(MWinScreensTest, AControllerThatChangesTheScreenInsideItsCallback)
{
    screens->StartScreen(kA, -1);
    a->onControl = [this](MWinButton *) { screens->GotoScreen(kB, nullptr); };
    Click(130, 125);
    EXPECT_TRUE(mwin->Tick());
    EXPECT_EQ(kB, screens->GetCurrentScreen());
    EXPECT_NE(nullptr, b->button);
    // The new screen's button works as usual.
    b->onControl = [this](MWinButton *) { screens->GotoScreen(kC, nullptr); };
    Move(300, 300);
    Click(130, 125);
    mwin->Tick();
    EXPECT_EQ(kC, screens->GetCurrentScreen());
}

TEST_F(MWinScreensTest, AControllerThatDeletesItsOwnButton)
{
    screens->StartScreen(kA, -1);
    int sounds = 0;
    static int *soundCount;
    soundCount = &sounds;
    mwin->SetSoundCallback([](int event, int) { (*soundCount) += event == MWIN_SOUND_FIRED; }, 0);
    a->onControl = [this](MWinButton *pressed) { a->window->GetDefaultGroup()->RemoveButton(pressed); };
    Click(130, 125);
    EXPECT_TRUE(mwin->Tick());
    EXPECT_EQ(nullptr, a->window->GetButtonFromID("Go", false));
    // The firing code noticed and touched nothing more: no sound for a gone button.
    EXPECT_EQ(0, sounds);
    Click(130, 125);
    EXPECT_FALSE(mwin->IsMessageQueued());
}

TEST_F(MWinScreensTest, EscapeAndDefaultButtonsAreForgottenWithTheirButtonsAndWindows)
{
    screens->StartScreen(kA, -1);
    MWinWindow *window = a->window;
    MWinCollection *collection = window->GetCollection();
    a->button->SetEscapeButtonForParentWindow();
    a->button->SetDefaultButtonForParentWindow();
    EXPECT_EQ(window, collection->GetEscapeWindow());
    window->GetDefaultGroup()->RemoveButton(a->button);
    EXPECT_EQ(nullptr, window->GetEscapeButton());
    EXPECT_EQ(nullptr, window->GetDefaultButton());
    EXPECT_EQ(nullptr, collection->GetEscapeWindow());
    // Escape with nothing to answer it is simply not taken.
    Move(300, 200);
    EXPECT_FALSE(Key(27));

    MWinButton *second = window->AddButton("Esc", MWIN_BUTTON_PUSH, "", "Esc", 10, 60, 80, 30);
    second->SetEscapeButtonForParentWindow();
    collection->RemoveWindow(window);
    EXPECT_EQ(nullptr, collection->GetEscapeWindow());
    EXPECT_FALSE(Key(27));
}

// A kind whose losing of hover calls out and changes the screen (as a text edit ending
// its edit may): the hover walk stops before it follows a link of the deleted window.
TEST_F(MWinScreensTest, LosingHoverThatChangesTheScreenStopsTheWalk)
{
    static MWinScreens *stack;
    stack = screens;
    static const _MWinButtonKindOps leaving = [] {
        _MWinButtonKindOps ops = {};
        ops.loseHoverOrFocus = [](MWinButton *) { stack->GotoScreen(kB, nullptr); };
        return ops;
    }();
    MWinButtonSetKindOps(MWIN_BUTTON_KIND_6, &leaving);
    screens->StartScreen(kA, -1);
    MWinButton *first = a->window->AddButton("Leaving", MWIN_BUTTON_KIND_6, "", "", 10, 100, 80, 30);
    first->SetKindReady(true);
    a->window->AddButton("After", MWIN_BUTTON_PUSH, "", "", 10, 140, 80, 30);
    Move(130, 215);
    EXPECT_TRUE(first->HasHoverOrFocus());
    Move(300, 130);
    EXPECT_EQ(kB, screens->GetCurrentScreen());
    MWinButtonSetKindOps(MWIN_BUTTON_KIND_6, nullptr);
}
} // namespace
