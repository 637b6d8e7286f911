// Fixture of the play-screen tests: a device over the recording executor, the game state
// set up afresh, the test run from the build folder (where the generated Data/ lives)
// with its own per-user folder. The roll frames made by the first test are kept in a
// folder of the build and copied into later tests' per-user folders, so that only the
// roll tests pay for making them.
#pragma once
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <optional>
#include <string>

#include "EngDebug.h"
#include "EngFont.h"
#include "EngGlobals.h"
#include "EngPrefFolder.h"
#include "Effects.h"
#include "GameHooks.h"
#include "GameState.h"
#include "Plinx.h"
#include "PlayScreen.h"
#include "RenderTestkit.h"
#include "Rolls.h"
#include "TextEffects.h"
#include "Tick.h"

namespace viewtest
{

const float FRAME = 1.0f / 60.0f;

class ViewTest : public rendertest::RenderTest
{
protected:
    void SetUp() override
    {
        RenderTest::SetUp();
        folder.emplace(PLINX_BUILD_DIR);
        ASSERT_TRUE(folder->Entered());
        PrefFolderSetup("Plinx", false, nullptr, false);
        PlinxShutdown();
        PlinxSetup();
        PlinxSetFixedSeed(12345);
        GameGoFromMenusToGame(nullptr, 1);
        EngFrameTiming.frameTime = FRAME;
        GameState.timeStep = FRAME;
    }
    void TearDown() override
    {
        PlinxReleaseGraphics();
        game_effects.ReleaseAll();
        game_text_effects.Clear();
        PlinxShutdown();
        PlinxSetFixedSeed(0);
        PrefFolderShutdown();
        folder.reset();
        RenderTest::TearDown();
    }

    std::string RollsFolder() const { return UserFolder() + "/Rolls"; }

    // Copies the run's finished roll frames in (made once per run).
    void ProvideRolls()
    {
        namespace fs = std::filesystem;
        // Made afresh by each test program (the data may have changed), in the build folder.
        static std::string cache;
        if (cache.empty())
        {
            ASSERT_TRUE(TexGenCreateRollsFromPackedPictures()) << LogText();
            cache = std::string(PLINX_BUILD_DIR) + "/view_test_rolls";
            fs::remove_all(cache);
            fs::create_directories(cache);
            fs::copy(RollsFolder(), cache, fs::copy_options::overwrite_existing | fs::copy_options::recursive);
            return;
        }
        fs::create_directories(RollsFolder());
        fs::copy(cache, RollsFolder(), fs::copy_options::overwrite_existing | fs::copy_options::recursive);
    }

    // Graphics ready to draw: rolls in place, then every texture.
    void CreateGraphics()
    {
        ProvideRolls();
        ASSERT_TRUE(PlinxCreateGraphics()) << LogText();
        recorder->Clear();
    }

    std::optional<testkit::WorkingFolder> folder;
};

} // namespace viewtest
