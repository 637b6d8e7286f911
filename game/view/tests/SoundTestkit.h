// Shared fixture of the sound tests: the game run from the build folder (its generated Data
// folder), sound and music switched on in the start-up record, a player's volumes in the
// game state, and the output paused so that a test pulls the mixed frames itself.
#pragma once
#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "EngDebug.h"
#include "EngSound.h"
#include "GameState.h"
#include "PlatMusic.h"
#include "PlatSound.h"
#include "Play.h"
#include "Plinx.h"
#include "Sound.h"
#include "Testkit.h"
#include "TestkitSound.h"
#include "ViewHooks.h"

namespace soundtest
{

// The start-up record's sound and music flags.
void SetStartupFlags(int soundOn, int musicOn);

// The folder that holds the build's Data folder: the game runs from there.
inline std::string BuildFolder()
{
    return std::filesystem::path(PLINX_DATA_DIR).parent_path().string();
}

class SoundTest : public testkit::TempHomeTest
{
protected:
    void SetUp() override
    {
        TempHomeTest::SetUp();
        folder = new testkit::WorkingFolder(BuildFolder());
        ASSERT_TRUE(folder->Entered());
        PlatSoundPauseOutput(1);
        PlayShutdown();
        PlaySetup();
        RegisterSoundWithRules();
        SetStartupFlags(1, 1);
        _UserOptions &options = GameState.userOptions;
        options.gameSoundsVolume = 7;
        options.gameMusicVolume = 7;
        options.menuMusicVolume = 7;
        options.gameOverMusicVolume = 7;
        options.musicPosition = 0;
    }
    void TearDown() override
    {
        SoundReleaseAll();
        EngSoundDestroy();
        PlatMusicFree();
        SetStartupFlags(0, 0);
        ViewSetHooks(nullptr);
        PlayShutdown();
        PlatSoundPauseOutput(0);
        delete folder;
        folder = nullptr;
        TempHomeTest::TearDown();
    }

    // The rules reach the sound module through the view hooks, as the program registers it.
    static void RegisterSoundWithRules()
    {
        _ViewHooks hooks = {};
        SoundFillViewHooks(&hooks);
        ViewSetHooks(&hooks);
    }

    // The next `frames` frames of the output, left channel, -1 .. 1.
    static std::vector<double> Mix(int frames)
    {
        std::vector<int16_t> out((size_t)frames * 2);
        PlatSoundMixFrames(out.data(), frames);
        return testkit::Channel(out, 2, 0);
    }

    static int ErrorCount()
    {
        int errors = 0;
        for (int i = 0; i < DebugGetNumMessages(); i++)
            errors += DebugGetMessage(i)->code == DEBUG_MSG_ERROR;
        return errors;
    }

    // The in-memory messages, one a line, for failure output.
    static std::string Messages()
    {
        std::string text;
        for (int i = 0; i < DebugGetNumMessages(); i++)
            text += std::string(DebugGetMessage(i)->text) + "\n";
        return text;
    }

    static int LoadedSlotCount()
    {
        int loaded = 0;
        for (int slot = 0; slot < SOUND_NUM_SLOTS; slot++)
            loaded += SoundGetSlot(slot) && SoundGetSlot(slot)->IsLoaded();
        return loaded;
    }

    testkit::WorkingFolder *folder = nullptr;
};

} // namespace soundtest
