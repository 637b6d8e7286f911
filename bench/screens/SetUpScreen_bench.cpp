// One frame of the game set-up screen while its local score table of 100 rows scrolls
// (a wheel notch over the table every frame): the screen stack's tick and the three
// drawing passes around the GUI, through the recording executor, with the game's own
// button sheet, font and text styles. The figure is the screens', the toolkit's and the
// engine's cost per frame; the target is well under a 60 Hz frame (16.7 ms).
#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "EngDevice.h"
#include "EngDeviceDX9.h"
#include "EngEncryption.h"
#include "EngFont.h"
#include "EngGlobals.h"
#include "EngMain.h"
#include "EngPrefFolder.h"
#include "EngProgram.h"
#include "GameState.h"
#include "Main.h"
#include "MWin.h"
#include "MWinTabPanel.h"
#include "PlatD3dExecutor.h"
#include "Play.h"
#include "Plinx.h"
#include "PlinxMWinSetup.h"
#include "PlinxScreens.h"
#include "Resolution.h"
#include "User.h"

namespace
{

// The player's ARCADE table at its first difficulty, full.
void FillScores()
{
    _GameScores &table = GameState.userOptions.gameScores[GAME_TYPE_ARCADE][0];
    table = {};
    for (int i = 0; i < SCORES_MAX_ROWS; i++)
    {
        _HighScore &row = table.rows[i];
        snprintf(row.name, sizeof(row.name), "PLAYER %d", i);
        strcpy(row.country, "NO");
        row.userId = (uint16_t)(i + 1);
        row.date = {2026, (uint8_t)(1 + i % 12), (uint8_t)(1 + i % 28)};
        row.levels = (int8_t)(i % 30);
        row.score = (uint32_t)(100000 - 900 * i);
    }
    table.numRows = SCORES_MAX_ROWS;
    GameState.userOptions.gameType = GAME_TYPE_ARCADE;
    GameState.userOptions.difficulty[GAME_TYPE_ARCADE] = 0;
}

void SetUpScreenScrollingFrame(benchmark::State &state)
{
    char pattern[] = "/tmp/plinx_setup_bench_XXXXXX";
    std::string home = mkdtemp(pattern);
    setenv("HOME", home.c_str(), 1);
    unsetenv("XDG_DATA_HOME");
    if (chdir(PLINX_DATA_DIR "/..") != 0)
    {
        state.SkipWithError("no game folder");
        return;
    }
    EngMainShutdown();
    EngMainShutdownProgramLayer();
    EngProgram program;
    PlatD3dSetExecutorFactory(PlatD3dRecorderFactory);
    EngDeviceDX9AllowNoWindow(true);
    EngScreenSettings.windowed = 1;
    EngScreenSettings.width = 640;
    EngScreenSettings.height = 480;
    EngScreenSettings.scaleToScreenX = EngScreenSettings.scaleToScreenY = 1.0f;
    EngScreenSettings.widthCorrection = EngScreenSettings.heightCorrection = 1.0f;
    PrefFolderSetup("Plinx", false, nullptr, false);
    ResolutionSetup(2, 0, 2.42f, 2.2f, nullptr, false, true, true, false, false, nullptr, 0, 0);
    ResolutionSetDefaults();
    EngEncryptionInit("BENCH_KEY_ABC");
    PlaySetup();
    ModulesSetupInfo modules = {};
    modules.userFileEncryption = USER_FILE_ENCRYPTED_OR_PLAIN;
    ModulesSetup(&modules, nullptr);
    {
        EngDevice device(nullptr);
        EngFont font;
        MWin *mwin = nullptr;
        PlinxScreens *registry = nullptr;
        UserClass *user = nullptr;
        if (!device.Create(true, 640, 480, 32, 60))
        {
            state.SkipWithError("no device");
        }
        else
        {
            PlatD3dRecorder *recorder = PlatD3dLastRecorder();
            if (recorder)
                recorder->keepVertices = false;
            mwin = new MWin(nullptr);
            PlinxMWinSetupTexturesAndTexButs(mwin);
            mwin->GetFonts()->AddUserFontPointer("Main", &font);
            PlinxMWinAddFirstUserFontsStylesToFont(mwin, 0);
            PlinxMWinCreateFontApart(0, (char *)PLINX_DATA_DIR "/VeraBd.ttf", &font);
            mwin->Startup();
            mwin->CreateGraphicsObjects();
            user = new UserClass(nullptr, "Bench", 1);
            GameSetUser(user);
            user->CreateNewUser("Bench", "NO", 0);
            UserInfoAfterUserCreatedOrLoaded(user);
            FillScores();
            registry = new PlinxScreens(mwin);
            registry->SetupAllScreens();
            registry->StartScreen(plinx_screen_main, -1);
            MWinTabPanel *table = MainGetScoresTable();
            if (!table || table->GetNumRows() != SCORES_MAX_ROWS)
                state.SkipWithError("no table of 100 rows");
            else
            {
                const _Dimension area = *table->GetAreaP();
                mwin->HandleMouseMoveDesign(area.x + area.w * 0.5f, area.y + area.h * 0.6f);
                int frame = 0;
                for (auto _ : state)
                {
                    // Down to the end of the table, then back up, one notch a frame.
                    mwin->HandleInput(MWIN_INPUT_WHEEL, (frame / 100) % 2 ? 120 : -120, 0);
                    registry->Tick();
                    device.BeginRendering();
                    registry->Render(0);
                    mwin->RenderMain();
                    registry->Render(1);
                    mwin->RenderPopups();
                    registry->Render(2);
                    device.EndRendering();
                    if (recorder)
                        recorder->Clear();
                    frame++;
                }
                state.counters["last_scroll_row"] = table->GetScrollPos();
            }
        }
        if (registry)
            registry->End(-1);
        delete registry;
        GameSetUser(nullptr);
        delete user;
        delete mwin;
        font.Destroy();
    }
    ModulesShutdown();
    PlayShutdown();
    ResolutionShutdown();
    PrefFolderShutdown();
    PlatD3dSetExecutorFactory(nullptr);
    EngDeviceDX9AllowNoWindow(false);
    EngMainShutdown();
    EngMainShutdownProgramLayer();
    std::string command = "rm -rf '" + home + "'";
    if (system(command.c_str()) != 0)
        fprintf(stderr, "could not remove %s\n", home.c_str());
}

} // namespace

BENCHMARK(SetUpScreenScrollingFrame)->Unit(benchmark::kMicrosecond);
