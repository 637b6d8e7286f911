// Particle systems on the owner's clock: emission modes, emission limits and intervals,
// spreads, swing angles, fading in, and what is drawn.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>

#include "EngDebug.h"
#include "EngParticles.h"
#include "RenderTestkit.h"

namespace
{
constexpr float kTwoPi = 6.2831854820251465f;

// A still system: particles live `lifetime` seconds, start at the emitter (10, 20, 0)
// with no speed, white and opaque, size 1.
_EngParticleSystemParms StillParms(uint8_t mode, int firstCount, uint32_t rate, float lifetime)
{
    _EngParticleSystemParms parms = {};
    parms.emissionMode = mode;
    parms.firstCount = firstCount;
    parms.emissionRate = rate;
    parms.lifetimeMin = parms.lifetimeMax = lifetime;
    parms.speedFactor = 1.0f;
    parms.spreadFactor = 1.0f;
    parms.startColour = parms.endColour = {1.0f, 1.0f, 1.0f};
    parms.startAlpha = parms.endAlpha = 1.0f;
    parms.startSize = parms.endSize = 1.0f;
    parms.emitterX = 10.0f;
    parms.emitterY = 20.0f;
    parms.spreadType = 99; // no offset
    return parms;
}

int Alive(EngParticles &system)
{
    int alive = 0;
    for (int i = 0; i < system.GetMaxParticles(); i++)
        if (system.GetParticles(0)[i].age > -1.0f)
            alive++;
    return alive;
}

class ParticlesTest : public rendertest::RenderTest
{
protected:
    void SetUp() override
    {
        RenderTest::SetUp();
        srand(7);
    }
    void TearDown() override
    {
        system.Destroy(true);
        RenderTest::TearDown();
    }
    EngParticles system;
};
} // namespace

TEST_F(ParticlesTest, BadRequestsAreRefused)
{
    _EngParticleSystemParms parms = StillParms(1, 1, 0, 1);
    EXPECT_EQ(-1, system.Update(0.1f, 1));
    EXPECT_FALSE(system.Create(10, nullptr, true));
    EXPECT_TRUE(LogHas("No parms"));
    EXPECT_FALSE(system.Create(0, &parms, true));
    EXPECT_TRUE(LogHas("Bad num max particles [0]"));
    ASSERT_TRUE(system.Create(10, &parms, false));
    EXPECT_TRUE(system.HasGraphics());
    EXPECT_FALSE(system.Create(10, &parms, false));
    EXPECT_TRUE(LogHas("System already created"));
    EXPECT_TRUE(system.Create(5, &parms, true));
    EXPECT_EQ(5, system.GetMaxParticles());

    // Without a positive spread factor no particle can start.
    parms.spreadFactor = 0.0f;
    ASSERT_TRUE(system.Create(10, &parms, true));
    EXPECT_EQ(1, system.Update(0.1f, 1));
    EXPECT_EQ(0, Alive(system));
    EXPECT_TRUE(LogHas("Parent spread factor <= 0"));
}

TEST_F(ParticlesTest, BurstEmitsOnceThenOnlyMoves)
{
    _EngParticleSystemParms parms = StillParms(ENG_PARTICLES_BURST, 20, 50, 1.0f);
    parms.laterCount = 5;
    parms.speedRange.range = {2.0f, 2.0f, 0, 0, 0, 0};
    ASSERT_TRUE(system.Create(40, &parms, true));
    ASSERT_EQ(1, system.Update(0.1f, 1));
    EXPECT_EQ(25, Alive(system)); // 20 plus 50 a second for the first 0.1 s
    float time = 0.1f;
    int8_t result = 1;
    int updates = 0;
    while (result == 1 && updates < 1000)
    {
        time += 0.05f;
        result = system.Update(time, 0);
        updates++;
        if (result == 1)
        {
            ASSERT_EQ(25, Alive(system));
        }
    }
    EXPECT_EQ(0, result);
    EXPECT_EQ(0, Alive(system));
    // The first later step is from 0 (the initial update does not move particles): ages
    // 0.15, 0.2, ... reach the 1 s lifetime at the 18th update.
    EXPECT_NEAR(18, updates, 1);
}

TEST_F(ParticlesTest, ContinuousEmissionCarriesTheFraction)
{
    _EngParticleSystemParms parms = StillParms(ENG_PARTICLES_CONTINUOUS, 1, 2, 100.0f);
    ASSERT_TRUE(system.Create(100, &parms, true));
    ASSERT_EQ(1, system.Update(0.25f, 1));
    EXPECT_EQ(1, Alive(system)); // 1 + 2 x 0.25: half a particle carried on
    // 2 a second: the first later step is 0.5 s (from 0), then 0.25 s each.
    const int expected[] = {2, 3, 3, 4, 4};
    float time = 0.25f;
    for (int count : expected)
    {
        time += 0.25f;
        ASSERT_EQ(1, system.Update(time, 0));
        EXPECT_EQ(count, Alive(system)) << time;
    }

    // Once every particle has died the system reports it and emits nothing more.
    parms = StillParms(ENG_PARTICLES_CONTINUOUS, 1, 0, 0.3f);
    ASSERT_TRUE(system.Create(10, &parms, true));
    ASSERT_EQ(1, system.Update(0.1f, 1));
    EXPECT_EQ(1, system.Update(0.2f, 0));
    EXPECT_EQ(0, system.Update(0.5f, 0));
    EXPECT_EQ(0, Alive(system));
}

TEST_F(ParticlesTest, EmitOnlyNeverMovesAndStepsByTheWholeTime)
{
    _EngParticleSystemParms parms = StillParms(ENG_PARTICLES_EMIT_ONLY, 0, 10, 0.01f);
    parms.speedRange.range = {5.0f, 5.0f, 0, 0, 0, 0};
    ASSERT_TRUE(system.Create(100, &parms, true));
    ASSERT_EQ(1, system.Update(0.5f, 1));
    EXPECT_EQ(5, Alive(system));
    ASSERT_EQ(1, system.Update(0.5f, 0));
    EXPECT_EQ(10, Alive(system)); // again 10 x 0.5: the last update time never moves
    for (int i = 0; i < 10; i++)
    {
        const _EngParticle &p = system.GetParticles(0)[i];
        EXPECT_EQ(0.0f, p.age);
        EXPECT_EQ(10.0f, p.position.x);
    }
}

TEST_F(ParticlesTest, EmissionIntervalAndFreeSlotsLimitStarts)
{
    _EngParticleSystemParms parms = StillParms(ENG_PARTICLES_EMIT_ONLY, 1, 0, 100.0f);
    parms.laterCount = 1;
    parms.minEmissionInterval = 0.5f;
    ASSERT_TRUE(system.Create(100, &parms, true));
    system.Update(0.1f, 1);
    system.Update(0.3f, 0);
    EXPECT_EQ(1, Alive(system));
    system.Update(0.7f, 0);
    EXPECT_EQ(2, Alive(system));

    // 8 of 10 slots taken; 5.5 asked for: 2 start, the half carries on.
    parms = StillParms(ENG_PARTICLES_EMIT_ONLY, 8, 0, 100.0f);
    parms.laterCount = 5;
    parms.emissionRate = 2;
    ASSERT_TRUE(system.Create(10, &parms, true));
    system.Update(0.0001f, 1);
    ASSERT_EQ(8, Alive(system));
    system.Update(0.25f, 0);
    EXPECT_EQ(10, Alive(system));
    for (int i = 0; i < 10; i++)
        system.GetParticles(0)[i].age = -1.0f;
    parms.laterCount = 0;
    *system.GetParms() = parms;
    system.Update(0.25f, 0); // 2 x 0.25 + 0.5 left over: one more
    EXPECT_EQ(1, Alive(system));

    // More than the pool asks for only the pool.
    parms = StillParms(ENG_PARTICLES_BURST, 50, 0, 100.0f);
    ASSERT_TRUE(system.Create(5, &parms, true));
    system.Update(0.1f, 1);
    EXPECT_EQ(5, Alive(system));
}

TEST_F(ParticlesTest, SpreadsPlaceParticlesAroundTheEmitter)
{
    static const int32_t entries[3][2] = {{0, 0}, {10, 10}, {5, 0}};
    struct Row
    {
        int type;
        // Checks the offset (dx, dy, dz) of a particle from the emitter.
        bool (*fits)(float dx, float dy, float dz);
    };
    // Spread min 1, max 3, factor 2.
    const Row rows[] = {
        {0, [](float dx, float dy, float dz) { return dx >= 0.5f && dx <= 1.5f && dy >= 0.5f && dz <= 1.5f; }},
        {1, [](float dx, float dy, float dz) { return hypotf(dx, dy) <= 1.0f + 1e-4f && dz == 0; }},
        {2, [](float dx, float dy, float dz) { return fabsf(hypotf(dx, dy) - 1.0f) < 1e-4f; }},
        {3,
         [](float dx, float dy, float dz) {
             bool onSide = fabsf(dx - 0.5f) < 1e-4f || fabsf(dx - 1.5f) < 1e-4f || fabsf(dy - 0.5f) < 1e-4f ||
                           fabsf(dy - 1.5f) < 1e-4f;
             return onSide && dx >= 0.5f - 1e-4f && dx <= 1.5f + 1e-4f && dy >= 0.5f - 1e-4f && dy <= 1.5f + 1e-4f;
         }},
        {4, [](float dx, float dy, float dz) { return fabsf(dx) >= 0.5f && fabsf(dx) <= 1.5f && dy == 0 && dz == 0; }},
        {7, [](float dx, float dy, float dz) { return dx == 0 && fabsf(dy) >= 0.5f && fabsf(dz) <= 1.5f; }},
        {8,
         [](float dx, float dy, float dz) {
             // Entries map x 0..10 and y 0..10 onto min..max, divided by the factor.
             return (fabsf(dx - 0.5f) < 1e-4f || fabsf(dx - 1.5f) < 1e-4f || fabsf(dx - 1.0f) < 1e-4f) &&
                    (fabsf(dy - 0.5f) < 1e-4f || fabsf(dy - 1.5f) < 1e-4f);
         }},
    };
    for (const Row &row : rows)
    {
        SCOPED_TRACE(row.type);
        _EngParticleSystemParms parms = StillParms(ENG_PARTICLES_EMIT_ONLY, 200, 0, 100.0f);
        parms.spreadType = (uint8_t)row.type;
        parms.spreadMin = 1.0f;
        parms.spreadMax = 3.0f;
        parms.spreadFactor = 2.0f;
        parms.spreadEntryCount = 3;
        parms.spreadEntries = entries;
        parms.spreadWidth = parms.spreadHeight = 10;
        ASSERT_TRUE(system.Create(200, &parms, true));
        system.Update(0.1f, 1);
        ASSERT_EQ(200, Alive(system));
        for (int i = 0; i < 200; i++)
        {
            const _Vector3d &p = system.GetParticles(0)[i].position;
            ASSERT_TRUE(row.fits(p.x - 10.0f, p.y - 20.0f, p.z)) << p.x << " " << p.y << " " << p.z;
        }
    }
}

TEST_F(ParticlesTest, SwingAnglesWrapIntoOneTurn)
{
    _EngParticleSystemParms parms = StillParms(ENG_PARTICLES_EMIT_ONLY, 0, 0, 1.0f);
    parms.swingMode[0] = 1;
    parms.swingMode[1] = 2;
    parms.swingAngle[0] = 6.4f;
    parms.swingAngle[1] = -0.1f;
    parms.swingSpeed[2] = 100.0f; // no mode: never advanced
    ASSERT_TRUE(system.Create(4, &parms, true));
    system.Update(0.1f, 1);
    EXPECT_FLOAT_EQ(6.4f - kTwoPi, system.GetParms()->swingAngle[0]);
    EXPECT_FLOAT_EQ(kTwoPi - 0.1f, system.GetParms()->swingAngle[1]);
    EXPECT_EQ(0.0f, system.GetParms()->swingAngle[2]);
}

TEST_F(ParticlesTest, FadeInClimbsThenRunsToTheEndAlpha)
{
    _EngParticleSystemParms parms = StillParms(ENG_PARTICLES_BURST, 1, 0, 2.0f);
    parms.fadeIn = 1;
    parms.startAlpha = 0.5f;
    parms.endAlpha = 0.0f;
    ASSERT_TRUE(system.Create(1, &parms, true));
    system.Update(0.1f, 1);
    const _EngParticle &p = system.GetParticles(0)[0];
    struct Step
    {
        int hundredths; // the particle's age
        float alpha;
    };
    // Up by 1 a second to 0.5 at 0.5 s, then down to 0 at the end of the 2 s life.
    const Step steps[] = {{25, 0.25f}, {50, 0.5f}, {125, 0.25f}, {185, 0.05f}};
    int next = 0;
    for (int t = 1; t <= 190 && next < 4; t++)
    {
        system.Update((float)t / 100.0f, 0);
        if (t != steps[next].hundredths)
            continue;
        float drawn = p.fadeIn ? p.fadeInElapsed : p.alpha;
        EXPECT_NEAR(steps[next].alpha, drawn, 0.015f) << t;
        next++;
    }
    EXPECT_EQ(4, next);
}

TEST_F(ParticlesTest, RenderingDrawsEveryLivingParticle)
{
    _EngParticleSystemParms parms = StillParms(ENG_PARTICLES_BURST, 3, 0, 10.0f);
    parms.blendKind = 1;
    parms.startAlpha = parms.endAlpha = 0.5f;
    parms.startColour = parms.endColour = {1.0f, 0.5f, 0.0f};
    ASSERT_TRUE(system.Create(5, &parms, true));
    system.Update(0.1f, 1);
    const bool lightingBefore = device->IsLightingOn();
    recorder->Clear();
    ASSERT_TRUE(system.Render());
    auto draws = rendertest::Draws(recorder);
    ASSERT_EQ(3u, draws.size());
    // Blend kind 1 premultiplies by alpha: (a 0.5, r 0.5, g 0.25, b 0).
    EXPECT_EQ(0x7F7F3F00u, rendertest::VertexColour(draws[0], 0, 12));
    // Depth test suspended: corners top-left, bottom-left, top-right, bottom-right.
    std::vector<float> first = rendertest::VertexFloats(draws[0], 0, 2), second = rendertest::VertexFloats(draws[0], 1, 2);
    EXPECT_FLOAT_EQ(9.5f, first[0]);
    EXPECT_FLOAT_EQ(20.5f, first[1]);
    EXPECT_FLOAT_EQ(9.5f, second[0]);
    EXPECT_FLOAT_EQ(19.5f, second[1]);
    EXPECT_EQ(lightingBefore, device->IsLightingOn());
    bool enabled = true;
    device->GetBlendingState(&enabled, nullptr, nullptr);
    EXPECT_FALSE(enabled);

    // Colours above 1 draw full, not wrapped round.
    for (int i = 0; i < 5; i++)
        system.GetParticles(0)[i].colour[0] = 1.5f;
    system.GetParms()->blendKind = 0;
    system.GetParms()->colourFlag = 1;
    recorder->Clear();
    system.Render();
    EXPECT_EQ(0x7FFF7F00u, rendertest::VertexColour(rendertest::Draws(recorder)[0], 0, 12));
}
