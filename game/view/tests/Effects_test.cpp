// Particle effects: what each effects level starts, the table of particle counts, the
// ball followers' slots, and drawing that pushes and pops the transform in pairs.
#include "ViewTestkit.h"

#include "EngParticles.h"

namespace
{
class EffectsTest : public viewtest::ViewTest
{
protected:
    void SetUp() override
    {
        ViewTest::SetUp();
        GameState.fieldScale = 1.0f;
        effects = new Effects();
    }
    void TearDown() override
    {
        effects->ReleaseAll();
        delete effects;
        ViewTest::TearDown();
    }
    void SetLevels(int game, int menu)
    {
        GameState.userOptions.gameEffects = (int8_t)game;
        GameState.userOptions.menuEffects = (int8_t)menu;
    }

    Effects *effects = nullptr;
    _Vector3d positions[6] = {};
};

TEST_F(EffectsTest, LevelZeroStartsNothing)
{
    SetLevels(0, 0);
    const _Vector3d centre = {0, 0, 0}, scale = {1, 1, 1};
    const _ColourRGB white = {1, 1, 1};
    EXPECT_EQ(-1, effects->StartExplosionBall(&positions[0]));
    EXPECT_EQ(-1, effects->StartWildcardBall(&positions[0]));
    effects->StartExplosion(&centre, &scale);
    effects->StartRemoveEffect(&centre, &scale, &white);
    effects->StartMenuEffect();
    EXPECT_FALSE(effects->TickGameEffects());
    EXPECT_FALSE(effects->GetMenuEffect()->IsRunning());
}

TEST_F(EffectsTest, TheSixthExplodingBallIsRefused)
{
    SetLevels(3, 0);
    for (int i = 0; i < 5; i++)
        EXPECT_EQ(i, effects->StartExplosionBall(&positions[i]));
    rendertest::LogMark();
    EXPECT_EQ(-1, effects->StartExplosionBall(&positions[5]));
    EXPECT_TRUE(LogHas("No free systems"));
    // A stopped slot is the next one handed out.
    effects->StopExplosionBall(2);
    EXPECT_EQ(2, effects->StartExplosionBall(&positions[5]));
    rendertest::LogMark();
    effects->StopExplosionBall(5);
    EXPECT_TRUE(LogHas("Invalid ball num 5"));
    effects->StopExplosionBall(-1);
}

TEST_F(EffectsTest, ParticleCountsFollowTheTable)
{
    struct Case
    {
        ParticleEffect::Kind kind;
        int count, maximum;
    } cases[] = {
        {ParticleEffect::KIND_MENU, 100, 49},          {ParticleEffect::KIND_MENU, 33, 16},
        {ParticleEffect::KIND_MENU, 0, 49},            {ParticleEffect::KIND_EXPLODING_BALL, 33, 1},
        {ParticleEffect::KIND_EXPLODING_BALL, 100, 6}, {ParticleEffect::KIND_WILDCARD_BALL, 60, 4},
        {ParticleEffect::KIND_EXPLOSION, 66, 53},      {ParticleEffect::KIND_REMOVE, 33, 6},
        {ParticleEffect::KIND_GAME_OVER, 0, 605},
    };
    for (const Case &c : cases)
    {
        SCOPED_TRACE(testing::Message() << c.kind << " count " << c.count);
        EXPECT_EQ(c.maximum, ParticleEffect::MaxParticlesFor(c.kind, c.count));
    }
    // The menu effect as the levels make it.
    for (int level : {1, 3})
    {
        SetLevels(0, level);
        effects->StartMenuEffect();
        ASSERT_TRUE(effects->GetMenuEffect()->IsRunning());
        EXPECT_EQ(level == 3 ? 49 : 16, effects->GetMenuEffect()->GetSystem()->GetMaxParticles());
        effects->StopMenuEffect();
    }
    // Emission counts: at least one, base values at count 0.
    ParticleEffect explosion(ParticleEffect::KIND_EXPLOSION);
    explosion.SetupParameters(33, 0.8f, nullptr);
    EXPECT_EQ(26, explosion.GetParms()->firstCount);
    EXPECT_EQ(1, explosion.GetParms()->laterCount);
    explosion.SetupParameters(0, 0.0f, nullptr);
    EXPECT_EQ(81, explosion.GetParms()->firstCount);
}

TEST_F(EffectsTest, AFollowerThatEndsByItselfKeepsItsSlotUntilStopped)
{
    SetLevels(3, 0);
    const int first = effects->StartWildcardBall(&positions[0]);
    ASSERT_EQ(0, first);
    // The system ends by itself (nothing left alive)...
    effects->GetWildcardBall(0)->DestroySystem();
    EXPECT_TRUE(effects->IsWildcardBallTaken(0));
    // ...so another ball gets another slot, and stopping the first leaves it alone.
    const int second = effects->StartWildcardBall(&positions[1]);
    EXPECT_EQ(1, second);
    effects->StopWildcardBall(first);
    EXPECT_FALSE(effects->IsWildcardBallTaken(0));
    EXPECT_TRUE(effects->GetWildcardBall(1)->IsRunning());
}

TEST_F(EffectsTest, PositionSettersIgnoreNumbersOutsideTheSlots)
{
    SetLevels(3, 0);
    ASSERT_EQ(0, effects->StartExplosionBall(&positions[0]));
    effects->SetExplosionBallPosition(5, &positions[1]);
    effects->SetWildcardBallPosition(99, &positions[1]);
    effects->SetExplosionBallPosition(-1, &positions[1]);
    EXPECT_TRUE(effects->IsExplosionBallTaken(0));
    EXPECT_FALSE(effects->IsExplosionBallTaken(4));
}

TEST_F(EffectsTest, DrawingPushesOnlyWhenSomethingRunsAndPopsWhatItPushed)
{
    SetLevels(3, 0);
    rendertest::LogMark();
    effects->RenderGameEffects();
    EXPECT_FALSE(LogHas("Not pushed"));
    EXPECT_EQ(0, recorder->CountKind(PLAT_REC_DRAW));
    ASSERT_EQ(0, effects->StartExplosionBall(&positions[0]));
    effects->RenderGameEffects();
    effects->RenderGameEffects();
    EXPECT_FALSE(LogHas("Not pushed"));
    EXPECT_GT(recorder->CountKind(PLAT_REC_DRAW), 0);
}

TEST_F(EffectsTest, AllSystemsAtLevelThreeTickAndTheBurstsEnd)
{
    SetLevels(3, 3);
    const _Vector3d centre = {0.1f, -0.2f, 0}, scale = {2.2f, 2.2f, 2.2f};
    const _ColourRGB red = {1, 0, 0};
    for (int i = 0; i < 5; i++)
    {
        effects->StartExplosionBall(&positions[i]);
        effects->StartWildcardBall(&positions[i]);
    }
    effects->StartExplosion(&centre, &scale);
    effects->StartRemoveEffect(&centre, &scale, &red);
    effects->StartGameOverEffect(0, 0.9f, 0);
    // The removal particles take the group's colour.
    const _EngParticle *particle = effects->GetRemove()->GetSystem()->GetParticles(0);
    EXPECT_FLOAT_EQ(0.0f, particle[0].colour[1]);
    for (int tick = 0; tick < 120; tick++)
    {
        EngFrameTiming.currentTime += viewtest::FRAME;
        EXPECT_TRUE(effects->TickGameEffects());
    }
    // The bursts play once; the followers and the game-over effect go on.
    EXPECT_FALSE(effects->GetExplosion()->IsRunning());
    EXPECT_FALSE(effects->GetRemove()->IsRunning());
    EXPECT_TRUE(effects->GetExplosionBall(4)->IsRunning());
    EXPECT_TRUE(effects->GetGameOver()->IsRunning());
    effects->ResetGameEffects();
    EXPECT_FALSE(effects->TickGameEffects());
}

TEST_F(EffectsTest, ANegativeGameOverStrengthEmitsNothing)
{
    effects->StartGameOverEffect(0, 0.5f, 0);
    ASSERT_TRUE(effects->GetGameOver()->IsRunning());
    effects->SetGameOverStrength(-1.2f);
    EXPECT_EQ(0u, effects->GetGameOver()->GetSystem()->GetParms()->emissionRate);
    effects->SetGameOverStrength(1.0f);
    EXPECT_EQ(90u, effects->GetGameOver()->GetSystem()->GetParms()->emissionRate);
    effects->StopGameOverEffect();
    EXPECT_FALSE(effects->GetGameOver()->IsRunning());
}
} // namespace
