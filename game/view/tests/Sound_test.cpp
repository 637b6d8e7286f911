#include "Sound.h"

#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <string>
#include <vector>

#include "SoundTestkit.h"

using namespace soundtest;
namespace fs = std::filesystem;

namespace
{

// Every slot of the bank and the file it holds; the rest stay empty.
struct SlotFile
{
    int slot;
    std::string file;
};

std::vector<SlotFile> ExpectedBank()
{
    std::vector<SlotFile> bank = {
        {0, "Data/GridLand.wav"},       {1, "Data/GridAlign.wav"},     {2, "Data/BallRolling.wav"},
        {3, "Data/ArcadeRoll.wav"},     {4, "Data/StrategicRoll.wav"}, {5, "Data/LevelStart.wav"},
        {6, "Data/Bounce.wav"},         {10, "Data/WildCard.wav"},     {11, "Data/ExplodingBall.wav"},
        {13, "Data/BallLaunch.wav"},    {14, "Data/Explosion.wav"},    {15, "Data/LifeOver.wav"},
        {46, "Data/Click_.wav"},        {47, "Data/On_.wav"},          {48, "Data/Press_.wav"},
        {49, "Data/Short_.wav"},
    };
    for (int i = 0; i < 5; i++)
    {
        bank.push_back({16 + i, "Data/BallRemove.wav"});
        bank.push_back({21 + i, "Data/BallFalling.wav"});
    }
    for (int row = 0; row < 5; row++)
        for (int column = 0; column < 4; column++)
            bank.push_back({26 + 4 * row + column, "Data/Common/Sounds/Progress/Progress" + std::to_string(row) +
                                                       std::to_string(column) + ".wav"});
    return bank;
}

// The largest difference between two renderings, in 16-bit steps.
double MaxDifference(const std::vector<double> &a, const std::vector<double> &b)
{
    double largest = 0.0;
    for (size_t i = 0; i < a.size() && i < b.size(); i++)
        largest = std::max(largest, std::fabs(a[i] - b[i]) * 32768.0);
    return largest;
}

const int RATE = 44100;

} // namespace

// ---- The bank -------------------------------------------------------------------------------------

TEST_F(SoundTest, InitLoadsEachFileIntoItsSlot)
{
    ASSERT_TRUE(SoundInit()) << Messages();
    EXPECT_TRUE(SoundIsLoaded());
    std::vector<SlotFile> bank = ExpectedBank();
    ASSERT_EQ(bank.size(), 46u);
    EXPECT_EQ(LoadedSlotCount(), 46);
    for (int empty : {7, 8, 9, 12})
        EXPECT_EQ(SoundGetSlot(empty), nullptr) << "slot " << empty;
    // Each slot holds its own file: its length and format as the file loaded alone.
    for (const SlotFile &entry : bank)
    {
        SCOPED_TRACE(entry.file + " in slot " + std::to_string(entry.slot));
        EngSound alone(entry.file.c_str(), 0, nullptr);
        ASSERT_TRUE(alone.IsLoaded());
        const EngSound *slot = SoundGetSlot(entry.slot);
        ASSERT_TRUE(slot && slot->IsLoaded());
        EXPECT_FLOAT_EQ(slot->GetDuration(), alone.GetDuration());
        EXPECT_EQ(slot->GetBaseFrequency(), alone.GetBaseFrequency());
        EXPECT_EQ(slot->GetFormat().channels, alone.GetFormat().channels);
    }
    // A second call keeps the bank as it is.
    EXPECT_TRUE(SoundInit());
    EXPECT_EQ(LoadedSlotCount(), 46);
    EXPECT_EQ(ErrorCount(), 0) << Messages();
}

TEST_F(SoundTest, InitLoadsNothingWhileSoundIsOffOrSilent)
{
    struct Case
    {
        const char *name;
        int soundOn;
        int volume;
    } cases[] = {{"sound flag off", 0, 7}, {"volume 0", 1, 0}, {"volume below 0", 1, -4}};
    for (const Case &c : cases)
    {
        SCOPED_TRACE(c.name);
        SetStartupFlags(c.soundOn, 1);
        GameState.userOptions.gameSoundsVolume = (int8_t)c.volume;
        EXPECT_TRUE(SoundInit());
        EXPECT_FALSE(SoundIsLoaded());
        EXPECT_EQ(LoadedSlotCount(), 0);
        EXPECT_EQ(EngSoundGetActiveSystem(), ENG_SOUND_SYSTEM_NONE);
    }
}

// A Data folder with one of the fixed files missing: init fails, and the sound system it
// started is ended again with every loaded slot released.
TEST_F(SoundTest, AFailedInitLeavesNothingRunningAndEveryCallQuiet)
{
    struct Case
    {
        const char *missing;
        const char *logged;
    } cases[] = {{"Data/Bounce.wav", "Filename does not exist <Data/Bounce.wav>"},
                 {"Data/GridLand.wav", "Could not init"}};
    for (const Case &c : cases)
    {
        SCOPED_TRACE(c.missing);
        testkit::TempDir game;
        for (const SlotFile &entry : ExpectedBank())
        {
            if (entry.file == c.missing)
                continue;
            fs::create_directories(fs::path(game.File(entry.file)).parent_path());
            fs::copy_file(BuildFolder() + "/" + entry.file, game.File(entry.file),
                          fs::copy_options::overwrite_existing);
        }
        testkit::WorkingFolder inGame(game.Path());
        ASSERT_TRUE(inGame.Entered());
        DebugClearMessages();

        EXPECT_FALSE(SoundInit());
        EXPECT_TRUE(LogHas(c.logged)) << Messages();
        EXPECT_FALSE(SoundIsLoaded());
        EXPECT_EQ(LoadedSlotCount(), 0);
        EXPECT_EQ(EngSoundGetActiveSystem(), ENG_SOUND_SYSTEM_NONE);

        // Every frame's calls do nothing, and say nothing.
        int errors = ErrorCount();
        SoundPlay(0);
        SoundPlayLooped(2);
        SoundStop(2);
        SoundSetLevel(6, 0.5f);
        SoundGuiCB(0, 0);
        EXPECT_EQ(SoundPlayRemove(1.0f), -1);
        EXPECT_EQ(SoundPlayFalling(1.0f), -1);
        SoundSetRemovePitch(0, 0.5f);
        SoundStopRemove(0);
        SoundPlayProgress(1, 1, 1.0f);
        SoundStopLoops(1);
        EXPECT_EQ(ErrorCount(), errors) << Messages();
    }
}

TEST_F(SoundTest, VolumeZeroUnloadsTheBankAndRaisingItReloads)
{
    ASSERT_TRUE(SoundInit());
    GameState.userOptions.gameSoundsVolume = 0;
    SoundUpdateGameSoundsVolume();
    EXPECT_FALSE(SoundIsLoaded());
    EXPECT_EQ(LoadedSlotCount(), 0);
    EXPECT_EQ(EngSoundGetActiveSystem(), ENG_SOUND_SYSTEM_NONE);
    int errors = ErrorCount();
    SoundPlay(0);
    SoundGuiCB(0, 0);
    EXPECT_EQ(ErrorCount(), errors) << Messages();

    GameState.userOptions.gameSoundsVolume = 5;
    SoundUpdateGameSoundsVolume();
    EXPECT_TRUE(SoundIsLoaded());
    EXPECT_EQ(LoadedSlotCount(), 46);
    EXPECT_EQ(EngSoundGetActiveSystem(), ENG_SOUND_SYSTEM_DX);
}

// A player loaded after start-up (options zero until then) gets the bank and the music.
TEST_F(SoundTest, VolumesApplyWhenAPlayerIsLoaded)
{
    _UserOptions loaded = GameState.userOptions;
    GameState.userOptions = _UserOptions{};
    EXPECT_TRUE(SoundInit());
    EXPECT_FALSE(SoundIsLoaded());
    GameState.userOptions = loaded;
    SoundAfterUserCreatedOrLoaded();
    EXPECT_TRUE(SoundIsLoaded());
    EXPECT_TRUE(SoundIsMusicPlaying());
}

TEST_F(SoundTest, VolumeCurve)
{
    struct Case
    {
        int volume;
        float level;
    } cases[] = {{0, 0.0f}, {5, 0.266942f}, {10, 1.0f}, {7, 0.467887f}, {-2, 0.0f}, {40, 1.0f}};
    for (const Case &c : cases)
    {
        SCOPED_TRACE(c.volume);
        EXPECT_NEAR(SoundGetVolumeLevel(c.volume), c.level, 1e-5);
    }
}

// ---- Playing --------------------------------------------------------------------------------------

TEST_F(SoundTest, GuiEventsPlayTheirSlots)
{
    ASSERT_TRUE(SoundInit());
    struct Case
    {
        int event;
        int slot;
    } cases[] = {{0, 48}, {1, 49}, {2, 46}, {3, 47}};
    const int frames = RATE / 2;
    std::vector<std::vector<double>> renderings;
    for (const Case &c : cases)
    {
        SCOPED_TRACE(c.event);
        Mix(RATE / 10);
        SoundGuiCB(c.event, 0);
        std::vector<double> byEvent = Mix(frames);
        Mix(RATE / 10);
        SoundGetSlot(c.slot)->Play();
        std::vector<double> bySlot = Mix(frames);
        EXPECT_GT(testkit::Rms(byEvent), 0.005);
        EXPECT_LE(MaxDifference(byEvent, bySlot), 2.0);
        for (const std::vector<double> &other : renderings)
            EXPECT_GT(MaxDifference(byEvent, other), 100.0);
        renderings.push_back(byEvent);
    }
    Mix(RATE);
    SoundGuiCB(4, 0);
    SoundGuiCB(-1, 0);
    EXPECT_EQ(testkit::Peak(Mix(frames)), 0.0);
}

TEST_F(SoundTest, RemovalAndFallInstances)
{
    ASSERT_TRUE(SoundInit());
    // Five at once; the sixth is refused.
    for (int i = 0; i < 5; i++)
        EXPECT_EQ(SoundPlayRemove(0.0f), i);
    EXPECT_EQ(SoundPlayRemove(1.0f), -1);
    SoundStopRemove(2);
    EXPECT_EQ(SoundPlayRemove(0.0f), 2);
    SoundStopRemove(-1);
    SoundStopRemove(5);
    EXPECT_EQ(SoundPlayFalling(0.0f), 0);
    SoundStopLoops(1);
    EXPECT_EQ(SoundPlayRemove(0.0f), 0);
    SoundStopLoops(1);

    // Pitch factors: 0.25 + 1.75 x (base + 0.7 p) for removal, 0.8 p for falls, with the base
    // 0.3 (removal) or 0.2 (fall) x (1 - 0.25 i) of instance i.
    struct Case
    {
        const char *name;
        bool remove;
        int instances; // started; the last one is checked
        float pitch;
        float factor;
    } cases[] = {
        {"removal 0 at full pitch", true, 1, 1.0f, 2.0f},
        {"fall 0 at full pitch", false, 1, 1.0f, 2.0f},
        {"removal 4 at full pitch", true, 5, 1.0f, 1.475f},
        {"removal 1 at half pitch", true, 2, 0.5f, 0.25f + 1.75f * (0.225f + 0.35f)},
        {"fall 3 at pitch 0.25", false, 4, 0.25f, 0.25f + 1.75f * (0.05f + 0.2f)},
    };
    for (const Case &c : cases)
    {
        SCOPED_TRACE(c.name);
        int instance = -1;
        for (int i = 0; i < c.instances; i++)
            instance = c.remove ? SoundPlayRemove(c.pitch) : SoundPlayFalling(c.pitch);
        ASSERT_EQ(instance, c.instances - 1);
        EngSound *sound = SoundGetSlot((c.remove ? 16 : 21) + instance);
        EXPECT_NEAR((double)sound->GetFrequencyDX(), c.factor * (double)sound->GetBaseFrequency(), 1.0);
        // A later pitch moves it; a pitch of 0 at the start leaves it as it was.
        if (c.remove)
            SoundSetRemovePitch(instance, 0.0f);
        else
            SoundSetFallingPitch(instance, 0.0f);
        float atZero = 0.25f + 1.75f * (c.remove ? 0.3f : 0.2f) * (1.0f - 0.25f * (float)instance);
        EXPECT_NEAR((double)sound->GetFrequencyDX(), atZero * (double)sound->GetBaseFrequency(), 1.0);
        SoundStopLoops(1);
        uint32_t before = sound->GetFrequencyDX();
        instance = -1;
        for (int i = 0; i < c.instances; i++)
            instance = c.remove ? SoundPlayRemove(-1.0f) : SoundPlayFalling(0.0f);
        EXPECT_EQ(sound->GetFrequencyDX(), before);
        SoundStopLoops(1);
    }
}

TEST_F(SoundTest, SpecialLoopsAreCountedAndPlayOnlyInPlay)
{
    ASSERT_TRUE(SoundInit());
    GameState.levelState = LEVEL_STATE_PLAY;
    const int frames = RATE / 5;
    SoundPlaySpecial(BALL_WILDCARD);
    SoundPlaySpecial(BALL_WILDCARD);
    EXPECT_GT(testkit::Rms(Mix(frames)), 0.005);
    SoundStopSpecial(BALL_WILDCARD, 0);
    EXPECT_GT(testkit::Rms(Mix(frames)), 0.005) << "one wildcard ball is still in play";
    SoundStopSpecial(BALL_WILDCARD, 0);
    Mix(frames);
    EXPECT_EQ(testkit::Peak(Mix(frames)), 0.0);
    // Counted once more than stopped: a forced stop ends it.
    SoundPlaySpecial(BALL_EXPLODING);
    SoundPlaySpecial(BALL_EXPLODING);
    SoundStopLoops(0);
    Mix(frames);
    EXPECT_EQ(testkit::Peak(Mix(frames)), 0.0);
    // Outside play (and for the stone ball) nothing starts.
    GameState.levelState = LEVEL_STATE_INTRO;
    SoundPlaySpecial(BALL_WILDCARD);
    GameState.levelState = LEVEL_STATE_PLAY;
    SoundPlaySpecial(BALL_STONE);
    EXPECT_EQ(testkit::Peak(Mix(frames)), 0.0);
    // Looped sounds wait while a fade runs.
    SoundSetFadeQuery([]() -> char { return 1; });
    SoundPlaySpecial(BALL_WILDCARD);
    SoundPlayLooped(2);
    EXPECT_EQ(testkit::Peak(Mix(frames)), 0.0);
    SoundSetFadeQuery(nullptr);
}

// The roll loops stop whether or not the rules cleared their flags first; the flags end clear.
TEST_F(SoundTest, StopLoopsEndsTheRollLoopsAndClearsTheirFlags)
{
    ASSERT_TRUE(SoundInit());
    for (int flags : {1, 0})
    {
        SCOPED_TRACE(flags);
        SoundPlayLooped(3);
        SoundPlayLooped(4);
        GameState.arcadeRollOn = (uint8_t)flags;
        GameState.strategicRollOn = (uint8_t)flags;
        EXPECT_GT(testkit::Rms(Mix(RATE / 5)), 0.005);
        SoundStopLoops(0);
        EXPECT_EQ(GameState.arcadeRollOn, 0);
        EXPECT_EQ(GameState.strategicRollOn, 0);
        Mix(RATE / 5);
        EXPECT_EQ(testkit::Peak(Mix(RATE / 5)), 0.0);
    }
    SetStartupFlags(0, 1);
    GameState.arcadeRollOn = 1;
    SoundStopLoops(0);
    EXPECT_EQ(GameState.arcadeRollOn, 0);
}

TEST_F(SoundTest, BadArgumentsAreLoggedAndIgnored)
{
    ASSERT_TRUE(SoundInit());
    struct Case
    {
        void (*call)();
        const char *logged;
    } cases[] = {
        {[] { SoundPlaySpecial(3); }, "Not a special ball <3>"},
        {[] { SoundPlaySpecial(13); }, "Not a special ball <13>"},
        {[] { SoundStopSpecial(-1, 0); }, "Not a special ball <-1>"},
        {[] { SoundPlayProgress(5, 0, 1.0f); }, "Bad value [5:0]"},
        {[] { SoundPlayProgress(0, -1, 1.0f); }, "Bad value [0:-1]"},
    };
    for (const Case &c : cases)
    {
        SCOPED_TRACE(c.logged);
        DebugClearMessages();
        c.call();
        EXPECT_TRUE(LogHas(c.logged)) << Messages();
    }
    // Slots outside the bank are refused quietly.
    DebugClearMessages();
    SoundPlay(50);
    SoundPlay(-1);
    SoundStop(7);
    SoundSetLevel(99, 1.0f);
    EXPECT_EQ(ErrorCount(), 0) << Messages();
    EXPECT_EQ(testkit::Peak(Mix(RATE / 10)), 0.0);
}

TEST_F(SoundTest, ProgressTonePlaysAtItsPitch)
{
    ASSERT_TRUE(SoundInit());
    SoundPlayProgress(2, 3, 1.3f);
    EngSound *tone = SoundGetSlot(26 + 4 * 2 + 3);
    EXPECT_NEAR((double)tone->GetFrequencyDX(), 1.3 * tone->GetBaseFrequency(), 1.0);
    EXPECT_GT(testkit::Rms(Mix(RATE / 10)), 0.001);
}

// ---- Music ----------------------------------------------------------------------------------------

namespace
{
// Ticks the music ramp `ticks` times at `seconds` a frame.
void TickMusic(int ticks, float seconds)
{
    for (int i = 0; i < ticks; i++)
        SoundTickMusic(seconds);
}
} // namespace

TEST_F(SoundTest, MusicRampsUpToItsTargetAndDownToFreed)
{
    const float frame = 0.05f; // a step of 1 up and 2.5 down
    SoundUpdateGameMusicVolume(7);
    ASSERT_TRUE(SoundIsMusicPlaying()) << Messages();
    EXPECT_TRUE(PlatMusicIsPlaying());
    EXPECT_EQ(PlatMusicGetAmplify(), 0u);
    int target = (int)(SoundGetVolumeLevel(7) * 100.0f);
    ASSERT_EQ(SoundGetMusicTarget(), target);
    ASSERT_EQ(target, 46);

    // 46 at 20 a second: 2.3 s, 46 frames of 0.05 s.
    TickMusic(target - 1, frame);
    EXPECT_EQ(SoundGetMusicAppliedAmplification(), target - 1);
    EXPECT_EQ(PlatMusicGetAmplify(), (uint32_t)(target - 1) / 2);
    TickMusic(1, frame);
    EXPECT_EQ(SoundGetMusicAppliedAmplification(), target);
    EXPECT_EQ(PlatMusicGetAmplify(), (uint32_t)target / 2);
    TickMusic(10, frame);
    EXPECT_EQ(PlatMusicGetAmplify(), 23u);

    // Let the tune move on, then turn it down: the position is remembered at once.
    Mix(3 * RATE);
    uint32_t position = PlatMusicGetPosition();
    ASSERT_NE(position, 0u);
    ASSERT_NE(position, PLAT_MUSIC_NO_POSITION);
    SoundUpdateGameMusicVolume(0);
    EXPECT_EQ(GameState.userOptions.musicPosition, position);
    // 46 at 50 a second: 0.92 s, 19 frames; then the tune and the library are freed.
    TickMusic(18, frame);
    EXPECT_TRUE(SoundIsMusicPlaying());
    EXPECT_EQ(SoundGetMusicAppliedAmplification(), 1);
    EXPECT_EQ(PlatMusicGetAmplify(), 0u);
    TickMusic(1, frame);
    EXPECT_FALSE(SoundIsMusicPlaying());
    EXPECT_FALSE(PlatMusicIsPlaying());
    EXPECT_EQ(PlatMusicGetPosition(), PLAT_MUSIC_NO_POSITION);

    // Back on: it resumes where it was.
    SoundUpdateGameMusicVolume(7);
    ASSERT_TRUE(SoundIsMusicPlaying());
    EXPECT_EQ(PlatMusicGetPosition(), position);
    EXPECT_EQ(SoundGetMusicAppliedAmplification(), 0);
    EXPECT_EQ(ErrorCount(), 0) << Messages();
}

TEST_F(SoundTest, RaisingTheVolumeDuringTheFadeOutTurnsTheRampAround)
{
    SoundUpdateGameMusicVolume(10);
    TickMusic(100, 0.05f);
    EXPECT_EQ(SoundGetMusicAppliedAmplification(), 100);
    SoundUpdateGameMusicVolume(0);
    TickMusic(10, 0.05f); // down 25
    SoundUpdateGameMusicVolume(5);
    TickMusic(100, 0.05f);
    EXPECT_TRUE(SoundIsMusicPlaying());
    EXPECT_EQ(SoundGetMusicAppliedAmplification(), (int)(SoundGetVolumeLevel(5) * 100.0f));
    EXPECT_EQ(PlatMusicGetAmplify(), (uint32_t)(SoundGetVolumeLevel(5) * 100.0f) / 2);
}

// Game-over music takes the library from the game music, and the game music gets it back.
TEST_F(SoundTest, GameOverMusicAndGameMusicTakeTurns)
{
    SoundUpdateGameMusicVolume(7);
    TickMusic(100, 0.05f);
    Mix(2 * RATE);
    uint32_t position = PlatMusicGetPosition();
    ASSERT_NE(position, 0u);

    SoundStartGameOverMusic();
    EXPECT_TRUE(SoundIsGameOverMusicPlaying()) << Messages();
    EXPECT_FALSE(SoundIsMusicPlaying());
    EXPECT_EQ(GameState.userOptions.musicPosition, position);
    EXPECT_TRUE(PlatMusicIsPlaying());
    EXPECT_EQ(PlatMusicGetPosition(), PlatMusicPosition(0, 0));
    EXPECT_EQ(PlatMusicGetAmplify(), 23u); // L(7) x 100 = 46, halved
    EXPECT_GT(testkit::Rms(Mix(RATE)), 0.001);
    // A second start changes nothing.
    SoundStartGameOverMusic();
    EXPECT_TRUE(SoundIsGameOverMusicPlaying());

    SoundUpdateGameMusicVolume(7);
    EXPECT_TRUE(SoundIsMusicPlaying()) << Messages();
    EXPECT_FALSE(SoundIsGameOverMusicPlaying());
    EXPECT_EQ(PlatMusicGetPosition(), position);
    TickMusic(100, 0.05f);
    EXPECT_GT(testkit::Rms(Mix(RATE)), 0.001);

    // And once more: game over again after the game music.
    SoundStartGameOverMusic();
    EXPECT_TRUE(SoundIsGameOverMusicPlaying());
    SoundStopGameOverMusic();
    EXPECT_FALSE(SoundIsGameOverMusicPlaying());
    EXPECT_FALSE(PlatMusicIsPlaying());
    EXPECT_EQ(ErrorCount(), 0) << Messages();
}

TEST_F(SoundTest, MusicStaysOffWithoutTheFlagOrAVolume)
{
    SetStartupFlags(1, 0);
    SoundUpdateGameMusicVolume(7);
    SoundStartGameOverMusic();
    EXPECT_FALSE(SoundIsMusicPlaying());
    EXPECT_FALSE(SoundIsGameOverMusicPlaying());
    EXPECT_FALSE(PlatMusicIsPlaying());

    SetStartupFlags(1, 1);
    GameState.userOptions.gameOverMusicVolume = 0;
    SoundStartGameOverMusic();
    SoundUpdateGameMusicVolume(0);
    EXPECT_FALSE(SoundIsGameOverMusicPlaying());
    EXPECT_FALSE(SoundIsMusicPlaying());
    EXPECT_FALSE(PlatMusicIsPlaying());
}

// A position the library cannot tell is remembered as 0, not as all bits set.
TEST_F(SoundTest, AnUnknownPositionIsRememberedAsZero)
{
    GameState.userOptions.musicPosition = 1234;
    EXPECT_EQ(SoundMusicGetPosition(), 0u);
    SoundUpdateGameMusicVolume(7);
    ASSERT_TRUE(SoundIsMusicPlaying());
    // Something else freed the library under the music.
    PlatMusicFree();
    SoundUpdateGameMusicVolume(0);
    EXPECT_EQ(GameState.userOptions.musicPosition, 0u);
    // A damaged position from a player file plays the tune from its start.
    TickMusic(100, 0.05f);
    GameState.userOptions.musicPosition = 0xffffffffu;
    SoundUpdateGameMusicVolume(7);
    EXPECT_TRUE(SoundIsMusicPlaying());
    EXPECT_EQ(PlatMusicGetPosition(), PlatMusicPosition(0, 0));
}

TEST_F(SoundTest, ReleaseAllStopsEverythingAndRemembersThePosition)
{
    ASSERT_TRUE(SoundInit());
    SoundUpdateGameMusicVolume(7);
    TickMusic(100, 0.05f);
    Mix(2 * RATE);
    uint32_t position = PlatMusicGetPosition();
    SoundPlayRemove(1.0f);
    SoundReleaseAll();
    EXPECT_FALSE(SoundIsLoaded());
    EXPECT_FALSE(SoundIsMusicPlaying());
    EXPECT_EQ(EngSoundGetActiveSystem(), ENG_SOUND_SYSTEM_NONE);
    EXPECT_EQ(PlatMusicGetPosition(), PLAT_MUSIC_NO_POSITION);
    EXPECT_EQ(GameState.userOptions.musicPosition, position);
    // Everything can start again, from a clean state.
    ASSERT_TRUE(SoundInit());
    EXPECT_EQ(SoundPlayRemove(1.0f), 0);
}
