// Fixture of the play-screen tests: a device over the recording executor, the game state
// set up afresh with the view registered with the rules, the test run from the build folder (where the generated Data/ lives)
// with its own per-user folder.
#pragma once
#include <gtest/gtest.h>

#include <cstdlib>
#include <optional>
#include <string>

#include "EngDebug.h"
#include "EngFont.h"
#include "EngGlobals.h"
#include "EngPrefFolder.h"
#include "Effects.h"
#include "AppDouble.h"
#include "GameView.h"
#include "GameState.h"
#include "Play.h"
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
        PlayShutdown();
        PlaySetup();
        PlinxSetFixedSeed(12345);
        AppDoubleReset();
        AppGoFromMenusToGame(nullptr, 1);
        GameViewSetup();
        EngFrameTiming.frameTime = FRAME;
        GameState.timeStep = FRAME;
    }
    void TearDown() override
    {
        GameViewShutdown();
        AppSetHooks(nullptr);
        PlinxReleaseGraphics();
        game_effects.ReleaseAll();
        game_text_effects.Clear();
        PlayShutdown();
        PlinxSetFixedSeed(0);
        PrefFolderShutdown();
        folder.reset();
        RenderTest::TearDown();
    }

    std::string RollsFolder() const { return UserFolder() + "/Rolls"; }

    // The roll frames made into the test's per-user folder.
    void ProvideRolls() { ASSERT_TRUE(TexGenCreateRollsFromPackedPictures()) << LogText(); }

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
