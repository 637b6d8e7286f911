// The program object and the process around it, without a display.
#include "EngProgram.h"

#include <gtest/gtest.h>
#include <pthread.h>
#include <signal.h>

#include <cstring>
#include <thread>

#include "EngDebug.h"
#include "EngMain.h"
#include "EngMisc.h"
#include "EngResModes.h"
#include "EngWindow.h"
#include "PlatWin.h"
#include "TestkitProgram.h"

using testkit::ProgramTest;
using testkit::RecordingProgram;

using EngProgramTest = ProgramTest;

TEST_F(EngProgramTest, ConstructionPublishesTheDefaults)
{
    RecordingProgram program;
    EXPECT_EQ(eng_main_program, &program);
    EXPECT_EQ(EngFrameTiming.frameRate, 60.0f);
    EXPECT_FLOAT_EQ(EngFrameTiming.frameTime, 0.016666668f);
    EXPECT_EQ(program.GetMainLoopMode(), ENG_LOOP_CONSTANT_RATE);
    EXPECT_EQ(EngProgramGetMainDeviceType(), ENG_DEVICE_DX9);
    EXPECT_TRUE(EngMainIsThisTheMainThread());
}

TEST_F(EngProgramTest, ConstantFrameRate)
{
    RecordingProgram program;
    program.ConstantFrameRateLoopSetConstantFrameRate(50);
    EXPECT_EQ(EngFrameTiming.frameRate, 50.0f);
    EXPECT_FLOAT_EQ(EngFrameTiming.frameTime, 0.02f);
    // A rate of 0 or below keeps the target but publishes it again.
    EngFrameTiming.frameRate = 1;
    program.ConstantFrameRateLoopSetConstantFrameRate(0);
    EXPECT_EQ(EngFrameTiming.frameRate, 50.0f);
    program.ConstantFrameRateLoopSetConstantFrameRate(-3);
    EXPECT_EQ(EngFrameTiming.frameRate, 50.0f);
    EXPECT_EQ(DebugGetNumMessages(), 0);
    program.SetMainLoopMode(ENG_LOOP_EVENT_DRIVEN);
    program.ConstantFrameRateLoopSetConstantFrameRate(30);
    EXPECT_TRUE(LogHas("Constant frame rates not setup"));
    EXPECT_EQ(EngFrameTiming.frameRate, 50.0f);
}

TEST_F(EngProgramTest, InitStopsOnAStepBelowOneAndInstallsSignalsOnSuccess)
{
    {
        RecordingProgram program;
        program.initResult = -1;
        EXPECT_EQ(program.Init(nullptr, "x"), -1);
    }
    testkit::ReadyForAnotherProgram();
    RecordingProgram program;
    ASSERT_EQ(program.Init(nullptr, "x"), 1);
    // A first SIGINT or SIGTERM only asks the program to end.
    raise(SIGTERM);
    EXPECT_EQ(EngMainGetPendingSignal(), SIGTERM);
    EXPECT_TRUE(program.IsQuitting());
    EXPECT_TRUE(EngMainIsQuitting());
}

TEST_F(EngProgramTest, ForceExitFromAWorkerOnlyAsksTheLoopToEnd)
{
    RecordingProgram program;
    std::thread worker([&] { program.ForceExitNow("Title", "Text", false); });
    worker.join();
    EXPECT_TRUE(program.IsQuitting());
    EXPECT_EQ(eng_main_program, &program);
    EXPECT_TRUE(boxes->calls.empty());
    EXPECT_TRUE(LogHas("Not closing down as not the main thread"));
    // The popup comes after the main loop, at shut-down.
    program.Shutdown(true);
    ASSERT_EQ(boxes->calls.size(), 1u);
    EXPECT_EQ(boxes->calls[0].title, "Title");
    EXPECT_EQ(boxes->calls[0].text, "Text");
}

TEST_F(EngProgramTest, ShutdownRunsOnceAndClearsTheProgram)
{
    RecordingProgram *program = new RecordingProgram();
    program->Shutdown(true);
    EXPECT_EQ(eng_main_program, nullptr);
    program->Shutdown(true);
    delete program;
}

static void *CallExitOnWorker(void *)
{
    EngMainCallExit(3);
    return (void *)1;
}

TEST_F(EngProgramTest, CallExitOnAWorkerEndsOnlyTheWorker)
{
    RecordingProgram program;
    pthread_t thread;
    ASSERT_EQ(pthread_create(&thread, nullptr, CallExitOnWorker, nullptr), 0);
    void *result = (void *)7;
    pthread_join(thread, &result);
    EXPECT_EQ(result, nullptr);
    EXPECT_TRUE(LogHas("Exiting thread..."));
}

TEST_F(EngProgramTest, MainThreadUnknownBeforeAProgram)
{
    EXPECT_TRUE(EngMainIsThisTheMainThread());
    EXPECT_TRUE(LogHas("Main thread var not set"));
    EXPECT_FALSE(EngMainIsQuitting());
}

using EngProgramDeathTest = ProgramTest;

TEST_F(EngProgramDeathTest, ASecondProgramIsFatal)
{
    EXPECT_EXIT(
        {
            EngMiscSetMessageBoxHook(nullptr);
            RecordingProgram first;
            RecordingProgram second;
        },
        testing::ExitedWithCode(255), "INTERNAL PROGRAM ERROR.*Main thread already setup");
}

TEST_F(EngProgramDeathTest, ASecondSignalEndsAtOnce)
{
    EXPECT_EXIT(
        {
            RecordingProgram program;
            program.Init(nullptr, "");
            raise(SIGTERM);
            raise(SIGTERM);
            exit(0);
        },
        testing::KilledBySignal(SIGTERM), "");
}

TEST(EngMainCommandLine, WordsJoinedBySingleSpaces)
{
    struct Row
    {
        std::vector<const char *> argv;
        const char *commandLine;
    } rows[] = {
        {{"Plinx_DX9"}, ""},
        {{"Plinx_DX9", "CONFIGURATION"}, "CONFIGURATION"},
        {{"Plinx_DX9", "two", "words"}, "two words"},
        {{"Plinx_DX9", "with space", "", "x"}, "with space  x"},
    };
    for (const Row &row : rows)
    {
        SCOPED_TRACE(row.commandLine);
        char out[64];
        EngMainBuildCommandLine((int)row.argv.size(), (char **)row.argv.data(), out, sizeof(out));
        EXPECT_STREQ(out, row.commandLine);
    }
    const char *longArgs[] = {"p", "0123456789", "0123456789"};
    char small[8];
    EngMainBuildCommandLine(3, (char **)longArgs, small, sizeof(small));
    EXPECT_STREQ(small, "0123456");
}

// ---- Screen state ----------------------------------------------------------------------

TEST(EngScreenSettings, ScaleFactorsAndCorrections)
{
    EngWindow window(nullptr, "t");
    struct Row
    {
        int width, height;
        float scaleX, scaleY, widthCorrection, heightCorrection;
        int orientation;
    } rows[] = {
        {640, 480, 1, 1, 1, 1, ENG_ORIENTATION_LANDSCAPE},
        {1280, 720, 2, 1.5f, 0.75f, 1, ENG_ORIENTATION_LANDSCAPE},
        {480, 640, 0.75f, 1.3333334f, 1, 0.75f, ENG_ORIENTATION_PORTRAIT},
        {1, 1, 1 / 640.0f, 1 / 480.0f, 1, 1, ENG_ORIENTATION_LANDSCAPE},
    };
    for (const Row &row : rows)
    {
        SCOPED_TRACE(row.width);
        window.SetScreenSize(1, row.width, row.height, 32, 60);
        EXPECT_FLOAT_EQ(EngScreenSettings.scaleToScreenX, row.scaleX);
        EXPECT_FLOAT_EQ(EngScreenSettings.scaleToScreenY, row.scaleY);
        EXPECT_FLOAT_EQ(EngScreenSettings.scaleToVirtualX, 1 / row.scaleX);
        EXPECT_FLOAT_EQ(EngScreenSettings.widthCorrection, row.widthCorrection);
        EXPECT_FLOAT_EQ(EngScreenSettings.heightCorrection, row.heightCorrection);
        EXPECT_EQ(EngScreenSettings.orientation, row.orientation);
        EXPECT_EQ(EngScreenSettings.portrait, row.height > row.width ? 1 : 0);
    }
    // Values below 1 keep the current ones; a screen is never smaller than 1x1.
    window.SetScreenSize(-1, 0, -5, 0, 0);
    EXPECT_EQ(EngScreenSettings.width, 1);
    EXPECT_EQ(EngScreenSettings.height, 1);
    EXPECT_EQ(EngScreenSettings.windowed, 1);
    window.SetScreenSize(0, 800, 600, 0, 0);
    EXPECT_EQ(EngScreenSettings.windowed, 0);
    EXPECT_EQ(EngScreenSettings.depth, 32);
    window.SetKeepAspect(true, true);
    window.SetScreenSize(1, 1280, 720, 0, 0);
    EXPECT_EQ(EngScreenSettings.widthCorrection, 1);
}

TEST(EngScreenSettings, ScreenToDesignPositions)
{
    EngWindow window(nullptr, "t");
    window.SetScreenSize(1, 1280, 960, 32, 60);
    struct Row
    {
        int mode;
        float outX, outY;
    } rows[] = {{0, 160, 120}, {1, 480, 360}, {2, 160, 360}, {3, 480, 120}};
    for (const Row &row : rows)
    {
        SCOPED_TRACE(row.mode);
        EngScreenSettings.positionRotationMode = row.mode;
        float x = -1, y = -1;
        EXPECT_TRUE(EngMainConvertScreenPosToDesignPos(320, 240, &x, &y));
        EXPECT_FLOAT_EQ(x, row.outX);
        EXPECT_FLOAT_EQ(y, row.outY);
    }
    EngMainSetOrientation(ENG_ORIENTATION_PORTRAIT);
    EXPECT_EQ(EngScreenSettings.positionRotationMode, 0);
    EXPECT_TRUE(EngMainIsOrientationPortrait());
    EXPECT_FALSE(EngMainIsOrientationLandscape());
}

// ---- Display modes -------------------------------------------------------------------------

TEST_F(EngProgramTest, DisplayModesNeedADeviceType)
{
    EngResModes modes;
    EXPECT_TRUE(LogHas("Device type not set"));
    EXPECT_FALSE(modes.IsSetup());
    EXPECT_EQ(modes.GetNumModes(), 0);
    EXPECT_EQ(modes.GetMode(0), nullptr);
    EXPECT_EQ(modes.GetWindowedMode(), nullptr);
    EXPECT_TRUE(LogHas("Not setup."));
}

TEST_F(EngProgramTest, DisplayModesOfTheDisplay)
{
    RecordingProgram program;
    EngResModes modes;
    ASSERT_TRUE(modes.IsSetup());
    ASSERT_GE(modes.GetNumModes(), 1);
    const _EngResMode *first = modes.GetMode(0);
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(first->depth, 32);
    // Pair 0 is anti-aliasing off; the device adds the multisample types it offers.
    EXPECT_GE(first->numAntiAliasing, 1);
    EXPECT_EQ(first->antiAliasing[0][0], 0);
    EXPECT_EQ(modes.GetMode(-1), nullptr);
    EXPECT_TRUE(LogHas("Bad mode num -1 (" + std::to_string(modes.GetNumModes()) + ")."));
    EXPECT_EQ(modes.GetMode(modes.GetNumModes()), nullptr);

    int32_t width = first->width - 3, height = first->height + 2, depth = 16, format = 9;
    ASSERT_TRUE(modes.GetClosestFullScreenModeToMode(&width, &height, &depth, &format));
    EXPECT_EQ(width, first->width);
    EXPECT_EQ(height, first->height);
    EXPECT_EQ(depth, 32);
    EXPECT_EQ(format, 0);
}

// The entry runs the application it is handed: a missing or incomplete table is refused
// before anything runs; a quiet stop in createAndInitMainProgram ends with 0 after one
// deleteMainProgram, and the application is forgotten after the run.
static int s_entryDeletes = 0;
static int s_entryExitCode = 0;

static signed char EntryCreate(void *instance, const char *commandLine, int *exitCode)
{
    EXPECT_STREQ(commandLine, "CONFIGURATION two");
    *exitCode = s_entryExitCode;
    return 0;
}

static void EntryDelete()
{
    s_entryDeletes++;
}

TEST_F(EngProgramTest, EntryRunsTheApplicationItIsHanded)
{
    const _EngMainApplication *test = testkit::TestApplication();
    _EngMainApplication incomplete = *test;
    incomplete.getWindowSettings = nullptr;
    char program[] = "Plinx_DX9", word1[] = "CONFIGURATION", word2[] = "two";
    char *argv[] = {program, word1, word2, nullptr};
    EXPECT_EQ(EngMainRunProgram(3, argv, nullptr), -1);
    EXPECT_EQ(EngMainRunProgram(3, argv, &incomplete), -1);
    EXPECT_TRUE(LogHas("The application table is missing or incomplete."));

    _EngMainApplication quiet = *test;
    quiet.createAndInitMainProgram = EntryCreate;
    quiet.deleteMainProgram = EntryDelete;
    struct Row
    {
        int exitCode, result;
    } rows[] = {{0, 0}, {-3, -3}};
    for (const Row &row : rows)
    {
        SCOPED_TRACE(row.exitCode);
        s_entryDeletes = 0;
        s_entryExitCode = row.exitCode;
        testkit::MessageBoxRecorder boxes;
        EXPECT_EQ(EngMainRunProgram(3, argv, &quiet), row.result);
        EXPECT_EQ(s_entryDeletes, 1);
        EXPECT_EQ(EngMainGetApplication(), test);
    }
}
