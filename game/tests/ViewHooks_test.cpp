// The rules reach the view layer and the program only through the tables they register:
// unset members answer their safe defaults, and registered ones are called with what the
// rules mean (the shot's sound, the effect that follows an exploding ball in flight).
#include <algorithm>
#include <vector>

#include "GameTestkit.h"
#include "ViewHooks.h"

using gametest::GameTest;

namespace
{

struct Recorder
{
    std::vector<int> played;
    _Vector3d *explosionFollows = nullptr;
} recorder;

class ViewHooksTest : public GameTest
{
protected:
    void TearDown() override
    {
        ViewSetHooks(nullptr);
        recorder = Recorder();
        GameTest::TearDown();
    }
};

} // namespace

TEST_F(ViewHooksTest, UnsetMembersAnswerTheirDefaults)
{
    ViewSetHooks(nullptr);
    _Vector3d position = {};
    EXPECT_EQ(ViewEffectsStartExplosionBall(&position), -1);
    EXPECT_EQ(ViewEffectsStartWildcardBall(&position), -1);
    EXPECT_EQ(ViewSoundPlayRemove(1.0f), -1);
    EXPECT_EQ(ViewSoundPlayFalling(1.0f), -1);
    EXPECT_TRUE(ViewEditorLoadPicture());
    EXPECT_EQ(ViewTextSetText("GAME  OVER"), 0);
    EXPECT_EQ(ViewTextGetNumLines(), 0);
    GameState.arcadeRollOn = GameState.strategicRollOn = 1;
    ViewSoundStopAll();
    EXPECT_EQ(GameState.arcadeRollOn + GameState.strategicRollOn, 0) << "the rules' roll flags clear all the same";

    AppSetHooks(nullptr);
    EXPECT_FALSE(AppIsGuiOn());
    EXPECT_EQ(AppGetTargetScreen(), -1);
    EXPECT_EQ(AppGetMenuScreen(), 0);
    EXPECT_STREQ(AppGetLastPlayerName(), "");
    AppGoFromGameToMenus(EngFourCC("PAUS"), nullptr, 1);
    EXPECT_FALSE(AppIsGuiOn());
}

TEST_F(ViewHooksTest, AShotReachesTheRegisteredSoundAndEffects)
{
    _ViewHooks hooks = {};
    hooks.soundPlay = [](int slot) { recorder.played.push_back(slot); };
    hooks.effectsStartExplosionBall = [](_Vector3d *position) {
        recorder.explosionFollows = position;
        return 3;
    };
    hooks.effectsSetExplosionBallPosition = [](int number, _Vector3d *position) {
        if (number == 3)
            recorder.explosionFollows = position;
    };
    ViewSetHooks(&hooks);

    StartGrid(GAME_TYPE_STRATEGIC, 9, {"0000000"});
    _GameState &gs = GameState;
    gs.currentBall = BALL_EXPLODING;
    gs.nextBall = 1;
    gs.turretLoad = 1.0f;
    PlinxUpdateTurretBall();
    PlinxStartTurretBallEffects();
    EXPECT_EQ(gs.turretExplodingEffect, 3);
    EXPECT_EQ(recorder.explosionFollows, GameTurretBallPosition());

    PlinxShoot();
    ASSERT_EQ(gs.movingCount, 1);
    EXPECT_EQ(gs.movingList[0].explodingEffect, 3);
    EXPECT_EQ(recorder.explosionFollows, GameBallPosition(&gs.movingList[0])) << "the effect follows the ball in flight";
    EXPECT_EQ(recorder.played, std::vector<int>{SOUND_BALL_LAUNCH});
    TickUntilLanded();
    EXPECT_NE(std::find(recorder.played.begin(), recorder.played.end(), (int)SOUND_EXPLOSION), recorder.played.end());
}
