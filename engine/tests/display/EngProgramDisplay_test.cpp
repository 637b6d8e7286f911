// The whole start-up, main loop and shut-down sequence on a real display: callback
// order, failed start-up steps, full-screen toggles, the close button, signals, the
// fatal path and the window's icon.
#include <gtest/gtest.h>
#include <signal.h>

#include <algorithm>
#include <chrono>
#include <condition_variable>
#include <cstring>
#include <functional>
#include <mutex>
#include <thread>
#include <string>
#include <vector>

#define STB_IMAGE_WRITE_STATIC
#define STB_IMAGE_WRITE_IMPLEMENTATION
#if defined(__GNUC__)
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wunused-function"
#pragma GCC diagnostic ignored "-Wmissing-field-initializers"
#endif
#include <stb/stb_image_write.h>
#if defined(__GNUC__)
#pragma GCC diagnostic pop
#endif
#include <sys/stat.h>

#include "EngDebug.h"
#include "EngDevice.h"
#include "EngMain.h"
#include "EngMisc.h"
#include "EngProgram.h"
#include "EngWindow.h"
#include "PlatShell.h"
#include "PlatWin.h"
#include "TestkitProgram.h"
#include "TestkitX11.h"

using testkit::RecordingProgram;


// ---- The application the engine's start-up runs ----------------------------------

static struct
{
    std::function<void(RecordingProgram &)> configure;
    RecordingProgram *program;
    _EngCreateWindowParms parms;
    // What the finished program recorded.
    std::vector<std::string> calls;
    int ticks;
} s_app;

// Guards s_app.program against the watchdog thread.
static std::mutex s_programLock;

static signed char CreateAndInitMainProgram(void *instance, const char *commandLine, int *exitCode)
{
    {
        std::lock_guard<std::mutex> guard(s_programLock);
        s_app.program = new RecordingProgram();
    }
    if (s_app.configure)
        s_app.configure(*s_app.program);
    return s_app.program->InitForMain(instance, commandLine, exitCode);
}

static void DeleteMainProgram()
{
    if (!s_app.program)
        return;
    s_app.program->Shutdown(true);
    s_app.calls = s_app.program->calls;
    s_app.ticks = s_app.program->ticks;
    std::lock_guard<std::mutex> guard(s_programLock);
    delete s_app.program;
    s_app.program = nullptr;
}

static const char *GetProgramTitle()
{
    return "Plinx!";
}

static const char *GetWindowClassName()
{
    return "PlinxClass";
}

static _EngCreateWindowParms *GetWindowSettings()
{
    return &s_app.parms;
}

static const _EngMainApplication s_application = {CreateAndInitMainProgram, DeleteMainProgram, GetProgramTitle,
                                                  GetWindowClassName, GetWindowSettings};

// ---- Fixture --------------------------------------------------------------------------------------

class EngProgramDisplayTest : public testkit::ProgramTest
{
protected:
    bool UseDisplay() const override { return true; }

    void SetUp() override
    {
        ProgramTest::SetUp();
        s_app.configure = nullptr;
        s_app.program = nullptr;
        s_app.calls.clear();
        s_app.ticks = 0;
        EngWindowSetDefaultParms(&s_app.parms);
        s_app.parms.width = 320;
        s_app.parms.height = 240;
    }

    // Runs the whole sequence; `onTick` acts inside the main loop. A watchdog asks a loop
    // that stops ticking to end, so that a fault fails the test instead of hanging it.
    int Run(std::function<void(RecordingProgram &, int)> onTick, std::function<void(RecordingProgram &)> configure = {})
    {
        s_app.configure = [=](RecordingProgram &program) {
            program.onTick = onTick;
            if (configure)
                configure(program);
        };
        std::mutex lock;
        std::condition_variable finished;
        bool done = false;
        std::thread watchdog([&] {
            std::unique_lock<std::mutex> guard(lock);
            if (!finished.wait_for(guard, std::chrono::seconds(30), [&] { return done; }))
            {
                std::lock_guard<std::mutex> programGuard(s_programLock);
                if (s_app.program)
                    s_app.program->SetQuitFlag();
            }
        });
        int result = EngMainWinMain(nullptr, "", &s_application);
        {
            std::lock_guard<std::mutex> guard(lock);
            done = true;
        }
        finished.notify_one();
        watchdog.join();
        return result;
    }

    // The recorded calls without the per-frame and window-system ones.
    static std::vector<std::string> Lifecycle()
    {
        std::vector<std::string> result;
        for (const std::string &call : s_app.calls)
            if (call != "TickCB" && call != "RenderCB" && call != "InputCB" && call != "ActivationChangedCB")
                result.push_back(call);
        return result;
    }

    // Feeds a key event for the main window as the window system would.
    static void FeedKey(int32_t virtualKey, int32_t modifiers)
    {
        PlatInputEvent event = {};
        event.kind = PLAT_INPUT_KEY_DOWN;
        event.window = eng_main_program->GetMainWindow()->GetOSWindow();
        event.key = virtualKey;
        event.modifiers = modifiers;
        PlatWinPostInput(&event);
    }
};

static const std::vector<std::string> s_startUp = {
    "InitCB",
    "PreCreateWindowCB",
    "PreDeviceInitCB",
    "PreCreateGraphicsObjectsCB",
    "CreateGraphicsObjectsCB",
    "PostCreateGraphicsObjectsCB",
    "AfterGraphicsObjectsCreatedCB",
    "PostDeviceInitCB",
};

static const std::vector<std::string> s_shutDown = {
    "PreDestroyDeviceCB",           "PreReleaseGraphicsObjectsCB", "ReleaseGraphicsObjectsCB",
    "PostReleaseGraphicsObjectsCB", "PostDestroyDeviceCB",         "ShutdownCB",
};

static std::vector<std::string> Concat(std::vector<std::string> a, const std::vector<std::string> &b)
{
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

TEST_F(EngProgramDisplayTest, CallbacksFromStartToShutDownInOrder)
{
    int result = Run([](RecordingProgram &program, int tick) {
        if (tick == 5)
            program.QuitMainLoop();
    });
    EXPECT_EQ(result, 0);
    EXPECT_EQ(Lifecycle(), Concat(s_startUp, s_shutDown));
    // Every frame ticks, then renders; the first frame comes after the whole start-up.
    std::vector<std::string> frames;
    for (const std::string &call : s_app.calls)
        if (call == "TickCB" || call == "RenderCB")
            frames.push_back(call);
    ASSERT_EQ(frames.size(), 9u);
    for (size_t i = 0; i < frames.size(); i++)
        EXPECT_EQ(frames[i], i % 2 == 0 ? "TickCB" : "RenderCB") << i;
    auto firstTick = std::find(s_app.calls.begin(), s_app.calls.end(), "TickCB");
    EXPECT_LT(std::find(s_app.calls.begin(), s_app.calls.end(), "PostDeviceInitCB"), firstTick);
    EXPECT_TRUE(boxes->calls.empty());
    EXPECT_EQ(eng_main_program, nullptr);
}

TEST_F(EngProgramDisplayTest, AStartUpStepBelowOneStopsTheProgram)
{
    struct Row
    {
        const char *name;
        std::function<void(RecordingProgram &)> configure;
        int result;
        bool message;
        std::vector<std::string> calls;
    } rows[] = {
        {"init quietly", [](RecordingProgram &p) { p.initResult = -1; }, 0, false, {"InitCB", "ShutdownCB"}},
        {"init fails", [](RecordingProgram &p) { p.initResult = 0; }, -1, true, {"InitCB", "ShutdownCB"}},
        {"window quietly", [](RecordingProgram &p) { p.preCreateWindowResult = -3; }, -3, false,
         {"InitCB", "PreCreateWindowCB", "ShutdownCB"}},
        {"window fails", [](RecordingProgram &p) { p.preCreateWindowResult = 0; }, -1, true,
         {"InitCB", "PreCreateWindowCB", "ShutdownCB"}},
        {"device fails", [](RecordingProgram &p) { p.preDeviceInitResult = 0; }, -1, true,
         {"InitCB", "PreCreateWindowCB", "PreDeviceInitCB", "ShutdownCB"}},
        {"graphics objects fail", [](RecordingProgram &p) { p.createGraphicsResult = false; }, -1, true,
         {"InitCB", "PreCreateWindowCB", "PreDeviceInitCB", "PreCreateGraphicsObjectsCB", "CreateGraphicsObjectsCB",
          "PreDestroyDeviceCB", "PreReleaseGraphicsObjectsCB", "ReleaseGraphicsObjectsCB",
          "PostReleaseGraphicsObjectsCB", "PostDestroyDeviceCB", "ShutdownCB"}},
        {"post device init fails", [](RecordingProgram &p) { p.postDeviceInitResult = 0; }, -1, true,
         Concat(s_startUp, s_shutDown)},
    };
    for (const Row &row : rows)
    {
        SCOPED_TRACE(row.name);
        testkit::ReadyForAnotherProgram();
        boxes->calls.clear();
        int result = Run([](RecordingProgram &program, int) { program.QuitMainLoop(); }, row.configure);
        EXPECT_EQ(result, row.result);
        EXPECT_EQ(s_app.ticks, 0);
        EXPECT_EQ(s_app.calls, row.calls);
        if (row.message)
        {
            ASSERT_EQ(boxes->calls.size(), 1u);
            EXPECT_EQ(boxes->calls[0].title, "Error Running Program");
            EXPECT_EQ(boxes->calls[0].text,
                      "The program had to terminate prematurely.\n\nDo you wish to see the log file ?");
            EXPECT_EQ(boxes->calls[0].buttons, PLAT_MB_YES_NO);
            EXPECT_EQ(boxes->calls[0].icon, PLAT_MB_ICON_ERROR);
        }
        else
            EXPECT_TRUE(boxes->calls.empty());
        EXPECT_EQ(eng_main_program, nullptr);
    }
    EXPECT_TRUE(LogHas("Init returned 0,  Exit -1."));
    EXPECT_TRUE(LogHas("PreCreateWindowCB() failed"));
    EXPECT_TRUE(LogHas("PreDeviceInitCB() failed"));
    EXPECT_TRUE(LogHas("CreateGraphicsObjectsCB() failed"));
    EXPECT_TRUE(LogHas("PostDeviceInitCB() failed"));
}

static std::vector<std::string> s_opened;

static bool RecordOpen(const char *target)
{
    s_opened.push_back(target);
    return true;
}

TEST_F(EngProgramDisplayTest, PrematureMessageOpensTheLogOnYes)
{
    boxes->answer = PLAT_MB_RESULT_YES;
    PlatShellFunctions shell = {nullptr, RecordOpen, nullptr};
    PlatShellSetFunctions(&shell);
    s_opened.clear();
    EXPECT_EQ(Run([](RecordingProgram &, int) {}, [](RecordingProgram &p) { p.preDeviceInitResult = 0; }), -1);
    PlatShellSetFunctions(nullptr);
    ASSERT_EQ(s_opened.size(), 1u);
    EXPECT_EQ(s_opened[0], DebugGetLogFilename());

    // Without a log file the box has one button and says so.
    testkit::ReadyForAnotherProgram();
    boxes->calls.clear();
    DebugSetLogFilename((Home() + "/nothing/Missing.txt").c_str(), true);
    EXPECT_EQ(Run([](RecordingProgram &, int) {}, [](RecordingProgram &p) { p.preDeviceInitResult = 0; }), -1);
    ASSERT_EQ(boxes->calls.size(), 1u);
    EXPECT_EQ(boxes->calls[0].text, "The program had to terminate prematurely. No error logs were generated.");
    EXPECT_EQ(boxes->calls[0].buttons, PLAT_MB_OK);
}

TEST_F(EngProgramDisplayTest, AltEnterTogglesFullScreenWithoutRestarting)
{
    std::vector<int> windowedStates;
    std::vector<int> widths;
    int result = Run([&](RecordingProgram &program, int tick) {
        if (tick == 3 || tick == 6)
        {
            windowedStates.push_back(EngScreenSettings.windowed);
            widths.push_back(EngScreenSettings.width);
            FeedKey(PLAT_VK_RETURN, PLAT_MOD_ALT);
        }
        if (tick == 9)
        {
            windowedStates.push_back(EngScreenSettings.windowed);
            widths.push_back(EngScreenSettings.width);
            program.QuitMainLoop();
        }
    });
    EXPECT_EQ(result, 0);
    EXPECT_EQ(windowedStates, (std::vector<int>{1, 0, 1}));
    PlatDisplayMode desktop;
    ASSERT_TRUE(PlatWinGetDesktopDisplayMode(0, &desktop));
    EXPECT_EQ(widths, (std::vector<int>{320, desktop.width, 320}));
    // The start-up steps ran once; each toggle released and re-created the graphics objects.
    std::vector<std::string> toggle = {"PreReleaseGraphicsObjectsCB",   "ReleaseGraphicsObjectsCB",
                                       "PostReleaseGraphicsObjectsCB",  "PreCreateGraphicsObjectsCB",
                                       "CreateGraphicsObjectsCB",       "PostCreateGraphicsObjectsCB",
                                       "AfterGraphicsObjectsCreatedCB", "AfterGraphicsObjectsCreatedCB"};
    EXPECT_EQ(Lifecycle(), Concat(Concat(Concat(s_startUp, toggle), toggle), s_shutDown));
    // Only the program's own request ended the loop.
    EXPECT_EQ(s_app.ticks, 9);
}

TEST_F(EngProgramDisplayTest, ViewportsStartAtTheBackBuffersCornerWhereverTheWindowSits)
{
    // A window away from the desktop's corner: its place must not move what is drawn.
    s_app.parms.x = 200;
    s_app.parms.y = 150;
    int windowX = 0, windowY = 0;
    _EngViewport full = {}, part = {};
    int result = Run([&](RecordingProgram &program, int tick) {
        if (tick != 3)
            return;
        program.GetMainWindow()->GetWindowPos(&windowX, &windowY);
        EngMainDevice->SetViewportFullScreen();
        EngMainDevice->GetViewport(&full);
        const float rect[4] = {10, 20, 160, 120};
        EngMainDevice->SetViewportToRect(rect);
        EngMainDevice->GetViewport(&part);
        EngMainDevice->SetViewportFullScreen();
        program.QuitMainLoop();
    });
    EXPECT_EQ(result, 0);
    EXPECT_GT(windowX + windowY, 0);
    EXPECT_EQ(std::vector<uint32_t>({full.x, full.y, full.width, full.height}),
              std::vector<uint32_t>({0, 0, 320, 240}));
    EXPECT_EQ(std::vector<uint32_t>({part.x, part.y, part.width, part.height}),
              std::vector<uint32_t>({10, 20, 160, 120}));
    EXPECT_FALSE(LogHas("SetViewport")) << LogText();
}

TEST_F(EngProgramDisplayTest, CloseButtonEndsTheProgramInOrder)
{
    int result = Run([](RecordingProgram &program, int tick) {
        if (tick != 3)
            return;
        // What the window manager sends when the player clicks the close button.
        void *sdlWindow = PlatWinGetNativeWindow(program.GetMainWindow()->GetOSWindow());
        ASSERT_TRUE(testkit::SendCloseRequest(testkit::X11WindowOfSdlWindow(sdlWindow)));
    });
    EXPECT_EQ(result, 0);
    EXPECT_EQ(Lifecycle(), Concat(s_startUp, s_shutDown));
    EXPECT_GE(s_app.ticks, 3);
    EXPECT_LT(s_app.ticks, 100);
    EXPECT_TRUE(LogHas("Exiting."));
}

TEST_F(EngProgramDisplayTest, SigtermEndsTheLoopAndShutsDownInOrder)
{
    int result = Run([](RecordingProgram &program, int tick) {
        if (tick == 2)
            raise(SIGTERM);
    });
    EXPECT_EQ(result, 0);
    EXPECT_EQ(Lifecycle(), Concat(s_startUp, s_shutDown));
    EXPECT_EQ(s_app.ticks, 2);
    EXPECT_TRUE(LogHas("Signal 15 received: closing down."));
}

TEST_F(EngProgramDisplayTest, EscapeReachesTheProgram)
{
    int result = Run([](RecordingProgram &program, int tick) {
        if (tick == 2)
            FeedKey(PLAT_VK_ESCAPE, 0);
        bool escape = false;
        for (const testkit::InputEvent &input : program.inputs)
            escape = escape || (input.event == ENG_INPUT_KEY_DOWN && input.a == ENG_VK_ESCAPE);
        if (escape)
            program.QuitMainLoop();
    });
    EXPECT_EQ(result, 0);
    EXPECT_LE(s_app.ticks, 4);
}

using EngProgramDisplayDeathTest = EngProgramDisplayTest;

static int PrintMessageBox(const char *title, const char *text, int buttons, int icon)
{
    fprintf(stderr, "BOX <%s> <%s>\n", title, text);
    return PLAT_MB_RESULT_OK;
}

TEST_F(EngProgramDisplayDeathTest, FatalErrorInTheLoopShowsTheReasonAndExits255)
{
    EXPECT_EXIT(
        {
            EngMiscSetMessageBoxHook(PrintMessageBox);
            Run([](RecordingProgram &program, int tick) {
                if (tick == 2)
                    DebugFatalIfFalse(false, "Tick", "broken at %d", tick);
            });
        },
        testing::ExitedWithCode(255), "BOX <INTERNAL PROGRAM ERROR> <Reason:\n\nbroken at 2>");
    std::string log = LogText();
    EXPECT_NE(log.find("EXITING DUE TO FOLLOWING ERROR:"), std::string::npos);
    EXPECT_NE(log.find("( Tick )    broken at 2"), std::string::npos);
}

TEST_F(EngProgramDisplayTest, EveryLoopModeRunsAndEnds)
{
    struct Row
    {
        int mode;
        int minRenders, maxRenders;
    } rows[] = {
        // Steps at the frame rate (several steps in a pass that fell behind), draws at every pass.
        {ENG_LOOP_FULL_RENDER, 1, 1000000},
        {ENG_LOOP_EVENT_DRIVEN, 1, 5},
        {ENG_LOOP_FULL_SPEED, 4, 5},
        // Drawn only when asked: the first frame, then the one request made at tick 3.
        {ENG_LOOP_RENDER_WHEN_NEEDED, 2, 2},
    };
    for (const Row &row : rows)
    {
        SCOPED_TRACE(row.mode);
        testkit::ReadyForAnotherProgram();
        int result = Run(
            [](RecordingProgram &program, int tick) {
                if (tick == 3)
                    program.RequestRedraw();
                if (tick == 5)
                    program.QuitMainLoop();
            },
            [&](RecordingProgram &program) { program.SetMainLoopMode(row.mode); });
        EXPECT_EQ(result, 0);
        EXPECT_EQ(s_app.ticks, 5);
        int renders = (int)std::count(s_app.calls.begin(), s_app.calls.end(), std::string("RenderCB"));
        EXPECT_GE(renders, row.minRenders);
        EXPECT_LE(renders, row.maxRenders);
        EXPECT_EQ(Lifecycle(), Concat(s_startUp, s_shutDown));
    }
}

TEST_F(EngProgramDisplayTest, APopupDuringTheLoopClosesTheProgramFirst)
{
    int result = Run([](RecordingProgram &program, int tick) {
        if (tick == 2)
            EngMiscShowPopupMessage(ENG_POPUP_ERROR, "Problem", "Something went wrong.");
    });
    EXPECT_EQ(result, 0);
    // Window and device were gone before the box showed; the loop then ended.
    ASSERT_EQ(boxes->calls.size(), 1u);
    EXPECT_EQ(boxes->calls[0].title, "Problem");
    EXPECT_EQ(boxes->calls[0].icon, PLAT_MB_ICON_ERROR);
    EXPECT_EQ(s_app.ticks, 2);
    EXPECT_EQ(Lifecycle(), Concat(s_startUp, s_shutDown));
    EXPECT_TRUE(LogHas("POPUP: No device <Problem> <Something went wrong.>"));
    EXPECT_TRUE(LogHas("Exiting as no eng_main_program."));
}

// ---- The window's icon ------------------------------------------------------------------------------

// A working folder holding "Data/PlinxIcon.png" as `bytes`, or a 16x8 picture when
// `bytes` is empty; none at all when `withFile` is false.
static void MakeIconFolder(const testkit::TempDir &folder, bool withFile, const std::string &bytes)
{
    ASSERT_EQ(mkdir(folder.File("Data").c_str(), 0700), 0);
    if (!withFile)
        return;
    std::string path = folder.File("Data/PlinxIcon.png");
    if (!bytes.empty())
    {
        testkit::WriteFile(path, bytes);
        return;
    }
    std::vector<unsigned char> rgba(16 * 8 * 4);
    for (size_t i = 0; i < rgba.size(); i++)
        rgba[i] = (unsigned char)(i * 7);
    ASSERT_TRUE(stbi_write_png(path.c_str(), 16, 8, 4, rgba.data(), 16 * 4));
}

static int CountIn(const std::string &text, const std::string &part)
{
    int count = 0;
    for (size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1))
        count++;
    return count;
}

TEST_F(EngProgramDisplayTest, TheWindowKeepsTheProgramIconAcrossFullScreenToggles)
{
    testkit::TempDir folder;
    MakeIconFolder(folder, true, "");
    testkit::WorkingFolder working(folder.Path());
    ASSERT_TRUE(working.Entered());
    std::vector<std::pair<int, int>> icons;
    auto recordIcon = [&](RecordingProgram &program) {
        int32_t width = 0, height = 0;
        PlatWinGetWindowIcon(program.GetMainWindow()->GetOSWindow(), &width, &height);
        icons.push_back({width, height});
    };
    int result = Run([&](RecordingProgram &program, int tick) {
        if (tick == 1 || tick == 4 || tick == 7)
            recordIcon(program);
        if (tick == 3 || tick == 6)
            FeedKey(PLAT_VK_RETURN, PLAT_MOD_ALT);
        if (tick == 7)
            program.QuitMainLoop();
    });
    EXPECT_EQ(result, 0);
    // Windowed, full screen, windowed again: each window carried the picture.
    EXPECT_EQ(icons, (std::vector<std::pair<int, int>>{{16, 8}, {16, 8}, {16, 8}}));
    EXPECT_EQ(CountIn(LogText(), "No window icon"), 0);
}

TEST_F(EngProgramDisplayTest, AnUnusableIconFileOnlyCostsTheIcon)
{
    struct Row
    {
        const char *name;
        bool withFile;
        std::string bytes;
        int width, height;
    } rows[] = {
        // The good row first: a later window must not keep an earlier program's icon.
        {"good", true, "", 16, 8},
        {"missing", false, "", 0, 0},
        {"broken", true, "\x89PNG\r\n\x1a\nnot really a picture", 0, 0},
    };
    for (const Row &row : rows)
    {
        SCOPED_TRACE(row.name);
        testkit::ReadyForAnotherProgram();
        boxes->calls.clear();
        std::string logBefore = LogText();
        testkit::TempDir folder;
        MakeIconFolder(folder, row.withFile, row.bytes);
        testkit::WorkingFolder working(folder.Path());
        ASSERT_TRUE(working.Entered());
        bool hasIcon = true;
        int32_t width = -1, height = -1;
        int result = Run([&](RecordingProgram &program, int) {
            hasIcon = PlatWinGetWindowIcon(program.GetMainWindow()->GetOSWindow(), &width, &height);
            program.QuitMainLoop();
        });
        EXPECT_EQ(result, 0);
        EXPECT_EQ(Lifecycle(), Concat(s_startUp, s_shutDown));
        EXPECT_TRUE(boxes->calls.empty());
        EXPECT_EQ(hasIcon, row.width > 0);
        EXPECT_EQ(width, row.width);
        EXPECT_EQ(height, row.height);
        std::string log = LogText().substr(logBefore.size());
        EXPECT_EQ(CountIn(log, "No window icon"), row.width > 0 ? 0 : 1) << log;
        if (row.width == 0)
        {
            EXPECT_EQ(CountIn(log, "Data/PlinxIcon.png"), 1) << log;
        }
    }
}
