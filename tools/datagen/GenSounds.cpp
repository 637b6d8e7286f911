// Sound effects (mono 16-bit PCM at 44.1 kHz): play sounds with attack and decay, the
// seven sounds the game loops (every tone in them repeats a whole number of times per
// loop and noise is cross-faded over the seam, so the loop point cannot click), the GUI
// sounds, the 20 rising progress tones and the splash chime.
#include <cmath>
#include <cstdio>
#include <functional>

#include "Datagen.h"
#include "DgOutput.h"
#include "DgSynth.h"

namespace
{
float Midi(float note)
{
    return 440.0f * std::pow(2.0f, (note - 69.0f) / 12.0f);
}

// A frequency rounded so that it repeats a whole number of times in `loop` seconds.
float LoopFrequency(float hz, float loop)
{
    return std::round(hz * loop) / loop;
}

// A loop of `seconds`: the generator runs a little longer and the extra part is
// cross-faded into the start.
DgSound MakeLoop(float seconds, const std::function<float(float t)> &gen)
{
    const float crossfade = 0.08f;
    DgSound s = SoundCreate(seconds + crossfade);
    for (size_t i = 0; i < s.size(); i++)
        s[i] = gen((float)i / kSoundRate);
    SoundMakeLoop(s, crossfade);
    s.resize((size_t)SoundSamples(seconds));
    return s;
}

// A struck, bell-like tone with slightly inharmonic partials.
DgSound Bell(float hz, float seconds, float brightness)
{
    DgSound s = SoundCreate(seconds);
    const float ratios[] = {1.0f, 2.0f, 2.76f, 4.07f, 5.4f};
    const float levels[] = {1.0f, 0.45f, 0.3f, 0.15f, 0.1f};
    const float decays[] = {0.9f, 0.45f, 0.3f, 0.18f, 0.1f};
    for (size_t i = 0; i < s.size(); i++)
    {
        float t = (float)i / kSoundRate, v = 0.0f;
        for (int k = 0; k < 5; k++)
        {
            float level = k == 0 ? levels[k] : levels[k] * brightness;
            v += OscSine(hz * ratios[k] * t) * level * EnvAttackDecay(t, 0.002f, decays[k] * seconds * 0.5f);
        }
        s[i] = v;
    }
    return s;
}

// A soft mallet tone (marimba-like) for the progress series.
DgSound Mallet(float hz, float seconds)
{
    DgSound s = SoundCreate(seconds);
    for (size_t i = 0; i < s.size(); i++)
    {
        float t = (float)i / kSoundRate;
        float v = OscSine(hz * t) * EnvAttackDecay(t, 0.003f, 0.16f) + OscSine(hz * 4.0f * t) * 0.22f * EnvAttackDecay(t, 0.001f, 0.03f) +
                  OscSine(hz * 2.0f * t) * 0.12f * EnvAttackDecay(t, 0.002f, 0.07f);
        s[i] = v;
    }
    return s;
}

// A quick knock: damped sines plus a short filtered noise burst.
DgSound Knock(float seconds, std::initializer_list<std::pair<float, float>> modes, float noise, float noiseCentre, uint64_t seed)
{
    DgSound s = SoundCreate(seconds);
    DgNoise n(seed);
    DgBiquad bp;
    bp.SetBandPass(noiseCentre, 1.2f);
    for (size_t i = 0; i < s.size(); i++)
    {
        float t = (float)i / kSoundRate, v = 0.0f;
        int k = 0;
        for (const auto &m : modes)
            v += OscSine(m.first * t) * EnvAttackDecay(t, 0.0008f, m.second) * (k++ == 0 ? 1.0f : 0.6f);
        v += bp.Process(n.White()) * noise * EnvAttackDecay(t, 0.0005f, 0.004f);
        s[i] = v;
    }
    return s;
}

void Finish(DgSound &s, float peak, const char *name)
{
    SoundFadeEdges(s, 0.002f, 0.02f);
    SoundNormalise(s, peak);
    OutSound(name, s, kSoundRate);
}

void FinishLoop(DgSound &s, float peak, const char *name)
{
    SoundStartLoopQuietly(s);
    SoundNormalise(s, peak);
    OutSound(name, s, kSoundRate);
}

// ---- Play sounds -----------------------------------------------------------------

void GridLand()
{
    DgSound s = Knock(0.2f, {{620.0f, 0.025f}, {1480.0f, 0.012f}, {180.0f, 0.035f}}, 0.8f, 3200.0f, 1);
    Finish(s, 0.7f, "GridLand.wav");
}

void GridAlign()
{
    DgSound s = Knock(0.14f, {{1800.0f, 0.02f}, {4300.0f, 0.008f}}, 0.5f, 6000.0f, 2);
    Finish(s, 0.55f, "GridAlign.wav");
}

void LevelStart()
{
    DgSound s = SoundCreate(1.6f);
    const float notes[] = {72, 76, 79, 84};
    for (int i = 0; i < 4; i++)
        SoundMix(s, Bell(Midi(notes[i]), 1.1f, 0.7f), SoundSamples(0.09f * i), i == 3 ? 1.0f : 0.7f);
    // A soft shimmering chord under the last note.
    DgSound pad = SoundCreate(1.3f);
    for (size_t i = 0; i < pad.size(); i++)
    {
        float t = (float)i / kSoundRate;
        float env = EnvAdsr(t, 0.15f, 0.3f, 0.6f, 0.7f, 0.6f);
        pad[i] = (OscSine(Midi(60) * t) + OscSine(Midi(64) * t) * 0.8f + OscSine(Midi(67) * t) * 0.7f) * env * 0.25f *
                 (1.0f + 0.15f * OscSine(6.0f * t));
    }
    SoundMix(s, pad, SoundSamples(0.27f), 1.0f);
    SoundEcho(s, 0.13f, 0.35f, 0.3f);
    Finish(s, 0.8f, "LevelStart.wav");
}

void Bounce()
{
    DgSound s = SoundCreate(0.7f);
    float phase = 0.0f;
    for (size_t i = 0; i < s.size(); i++)
    {
        float t = (float)i / kSoundRate;
        float hz = 300.0f + 700.0f * (1.0f - std::exp(-t * 14.0f)) + 25.0f * OscSine(18.0f * t) * t;
        phase += hz / kSoundRate;
        s[i] = (OscSine(phase) + 0.3f * OscSine(phase * 2.0f)) * EnvAttackDecay(t, 0.005f, 0.18f);
    }
    SoundMix(s, Bell(Midi(91), 0.5f, 0.5f), SoundSamples(0.08f), 0.35f);
    SoundMix(s, Bell(Midi(96), 0.4f, 0.5f), SoundSamples(0.16f), 0.3f);
    Finish(s, 0.75f, "Bounce.wav");
}

void BallLaunch()
{
    DgSound s = SoundCreate(0.32f);
    DgNoise n(5);
    DgBiquad lp;
    lp.SetLowPass(1800.0f);
    float phase = 0.0f;
    for (size_t i = 0; i < s.size(); i++)
    {
        float t = (float)i / kSoundRate;
        float hz = 300.0f + 900.0f * std::exp(-t * 25.0f);
        phase += hz / kSoundRate;
        float tone = (OscSine(phase) * 0.8f + OscTriangle(phase * 0.5f) * 0.3f) * EnvAttackDecay(t, 0.003f, 0.07f);
        float puff = lp.Process(n.White()) * EnvAttackDecay(t, 0.002f, 0.035f) * 0.9f;
        s[i] = tone + puff;
    }
    Finish(s, 0.7f, "BallLaunch.wav");
}

void Explosion()
{
    DgSound s = SoundCreate(1.8f);
    DgNoise n(9);
    DgBiquad lp, lp2;
    float phase = 0.0f;
    for (size_t i = 0; i < s.size(); i++)
    {
        float t = (float)i / kSoundRate;
        float cutoff = 180.0f + 4200.0f * std::exp(-t * 5.0f);
        if (i % 64 == 0)
            lp.SetLowPass(cutoff, 0.9f), lp2.SetLowPass(cutoff * 0.8f, 0.7f);
        float rumble = lp2.Process(lp.Process(n.White())) * EnvAttackDecay(t, 0.004f, 0.45f) * 1.4f;
        float hz = 40.0f + 45.0f * std::exp(-t * 8.0f);
        phase += hz / kSoundRate;
        float thump = OscSine(phase) * EnvAttackDecay(t, 0.003f, 0.22f) * 1.1f;
        float crackle = (n.White() > 0.985f ? n.White() : 0.0f) * EnvAttackDecay(t, 0.05f, 0.25f) * 0.8f;
        s[i] = rumble + thump + crackle;
    }
    SoundEcho(s, 0.11f, 0.3f, 0.2f);
    Finish(s, 0.9f, "Explosion.wav");
}

void LifeOver()
{
    DgSound s = SoundCreate(1.8f);
    const float notes[] = {67, 66, 65, 64};
    float phase = 0.0f;
    DgBiquad lp;
    for (size_t i = 0; i < s.size(); i++)
    {
        float t = (float)i / kSoundRate;
        int k = std::min(3, (int)(t / 0.32f));
        float local = t - k * 0.32f;
        float hz = Midi(notes[k] - 12.0f) * (k == 3 ? 1.0f - 0.04f * std::min(1.0f, local * 1.2f) : 1.0f);
        hz *= 1.0f + 0.012f * OscSine(5.5f * t) * std::min(1.0f, local * 3.0f);
        phase += hz / kSoundRate;
        float env = k < 3 ? EnvAdsr(local, 0.02f, 0.1f, 0.7f, 0.26f, 0.05f) : EnvAdsr(local, 0.02f, 0.2f, 0.7f, 0.7f, 0.5f);
        float wah = 500.0f + 1400.0f * std::min(1.0f, local * 4.0f) * std::exp(-local * 3.0f);
        if (i % 32 == 0)
            lp.SetLowPass(wah, 2.0f);
        s[i] = lp.Process(OscSaw(phase, hz / kSoundRate) * 0.6f + OscSquare(phase, hz / kSoundRate) * 0.3f) * env;
    }
    Finish(s, 0.75f, "LifeOver.wav");
}

// ---- Loops ------------------------------------------------------------------------

// Low-passed (twice) and high-passed noise: the body of rolling and grinding sounds.
struct Rumble
{
    DgBiquad lp1, lp2, hp;
    Rumble(float lowPass, float highPass)
    {
        lp1.SetLowPass(lowPass, 0.6f);
        lp2.SetLowPass(lowPass, 0.6f);
        hp.SetHighPass(highPass);
    }
    float Next(DgNoise &noise) { return hp.Process(lp2.Process(lp1.Process(noise.White()))); }
};

void BallRolling()
{
    // A steady low rumble with soft ticks as the ball turns (twelve per loop).
    const float loop = 1.0f;
    DgNoise n(11);
    Rumble body(380.0f, 70.0f);
    DgBiquad bp;
    bp.SetBandPass(2400.0f, 2.0f);
    DgSound s = MakeLoop(loop, [&](float t) {
        float rumble = body.Next(n);
        float phase = 12.0f * t;
        float tick = std::exp(-(phase - std::floor(phase)) * 18.0f);
        float grit = bp.Process(n.White()) * tick * 0.35f;
        float sway = 0.85f + 0.15f * OscSine(3.0f * t);
        return rumble * 3.0f * sway + grit;
    });
    FinishLoop(s, 0.45f, "BallRolling.wav");
}

void ArcadeRoll()
{
    // The whole grid grinding downward: a deep rumble, a low hum and a slow pulse.
    const float loop = 2.0f;
    DgNoise n(12);
    Rumble body(170.0f, 35.0f);
    DgBiquad bp;
    bp.SetBandPass(900.0f, 3.0f);
    DgSound s = MakeLoop(loop, [&](float t) {
        float rumble = body.Next(n) * 4.0f;
        float hum = OscSine(LoopFrequency(55.0f, loop) * t) * 0.3f + OscSine(LoopFrequency(110.0f, loop) * t) * 0.1f;
        float pulse = 0.75f + 0.25f * OscSine(2.0f * t);
        float rattle = bp.Process(n.White()) * 0.1f * (0.5f + 0.5f * OscSine(8.0f * t));
        return (rumble + hum) * pulse + rattle;
    });
    FinishLoop(s, 0.45f, "ArcadeRoll.wav");
}

void StrategicRoll()
{
    const float loop = 1.0f;
    DgNoise n(13);
    DgBiquad bp, lp;
    bp.SetBandPass(420.0f, 2.0f);
    lp.SetLowPass(900.0f);
    float hz = LoopFrequency(100.0f, loop);
    DgSound s = MakeLoop(loop, [&](float t) {
        float whirr = bp.Process(n.White()) * 0.6f;
        float motor = lp.Process(OscSaw(hz * t, hz / kSoundRate)) * 0.35f;
        float chop = 0.7f + 0.3f * OscSine(8.0f * t);
        return (whirr + motor) * chop;
    });
    FinishLoop(s, 0.42f, "StrategicRoll.wav");
}

void WildCard()
{
    const float loop = 2.0f;
    const float notes[] = {84, 88, 91, 96};
    DgSound s = MakeLoop(loop, [&](float t) {
        float v = 0.0f;
        for (int k = 0; k < 4; k++)
        {
            float hz = LoopFrequency(Midi(notes[k]), loop);
            float trem = 0.5f + 0.5f * OscSine((3.0f + k) * t + k * 0.25f);
            v += OscSine(hz * t) * trem * (0.3f - k * 0.04f);
        }
        // Twinkles: short pings at fixed places in the loop (their tails cross the seam).
        for (int p = 0; p < 6; p++)
        {
            float start = p * loop / 6.0f + (p % 2) * 0.07f;
            float local = t - start;
            if (local < 0.0f)
                local += loop;
            float hz = LoopFrequency(Midi(96.0f + (p * 5) % 12), loop);
            v += OscSine(hz * t) * EnvAttackDecay(local, 0.004f, 0.08f) * 0.35f;
        }
        return v;
    });
    FinishLoop(s, 0.4f, "WildCard.wav");
}

void ExplodingBall()
{
    const float loop = 1.5f;
    DgNoise n(14);
    DgBiquad hp, bp;
    hp.SetHighPass(2500.0f);
    bp.SetBandPass(5200.0f, 1.5f);
    float low = LoopFrequency(73.0f, loop);
    DgSound s = MakeLoop(loop, [&](float t) {
        float sizzle = bp.Process(hp.Process(n.White())) * (0.6f + 0.4f * OscSine(LoopFrequency(13.0f, loop) * t));
        float crackle = n.White() > 0.992f ? n.White() * 0.8f : 0.0f;
        float throb = OscSine(low * t) * (0.5f + 0.5f * OscSine(2.0f * t)) * 0.45f;
        return sizzle + crackle + throb;
    });
    FinishLoop(s, 0.45f, "ExplodingBall.wav");
}

void BallRemove()
{
    // Played looped while a matched ball shrinks, its pitch rising.
    const float loop = 0.25f;
    float hz = LoopFrequency(660.0f, loop);
    DgSound s = MakeLoop(loop, [&](float t) {
        float shimmer = 0.75f + 0.25f * OscSine(24.0f * t);
        return (OscSine(hz * t) + 0.35f * OscSine(2.0f * hz * t) + 0.15f * OscSine(3.0f * hz * t)) * shimmer;
    });
    FinishLoop(s, 0.38f, "BallRemove.wav");
}

void BallFalling()
{
    // Played looped while a cut-off ball falls.
    const float loop = 0.25f;
    DgNoise n(15);
    DgBiquad bp;
    bp.SetBandPass(1100.0f, 2.5f);
    float hz = LoopFrequency(520.0f, loop);
    DgSound s = MakeLoop(loop, [&](float t) {
        // Vibrato of whole cycles keeps the phase continuous at the seam.
        float phase = hz * t + 0.6f * OscSine(8.0f * t) / (2.0f * 3.14159265f * 8.0f) * 8.0f;
        return OscSine(phase) * 0.7f + bp.Process(n.White()) * 0.35f;
    });
    FinishLoop(s, 0.33f, "BallFalling.wav");
}

// ---- GUI sounds -------------------------------------------------------------------

void GuiSounds()
{
    DgSound click = Knock(0.04f, {{2500.0f, 0.005f}, {5200.0f, 0.003f}}, 0.6f, 4000.0f, 21);
    Finish(click, 0.45f, "Click_.wav");

    DgSound on = SoundCreate(0.06f);
    for (size_t i = 0; i < on.size(); i++)
    {
        float t = (float)i / kSoundRate;
        on[i] = OscSine(1600.0f * t) * EnvAttackDecay(t, 0.004f, 0.015f);
    }
    Finish(on, 0.22f, "On_.wav");

    DgSound press = SoundCreate(0.12f);
    float phase = 0.0f;
    for (size_t i = 0; i < press.size(); i++)
    {
        float t = (float)i / kSoundRate;
        phase += (400.0f + 350.0f * std::exp(-t * 40.0f)) / kSoundRate;
        press[i] = (OscSine(phase) + 0.25f * OscSine(phase * 3.0f)) * EnvAttackDecay(t, 0.002f, 0.035f);
    }
    SoundMix(press, Knock(0.02f, {{3000.0f, 0.003f}}, 0.4f, 5000.0f, 22), 0, 0.4f);
    Finish(press, 0.5f, "Press_.wav");

    DgSound tick = Knock(0.03f, {{3000.0f, 0.004f}}, 0.3f, 6000.0f, 23);
    Finish(tick, 0.3f, "Short_.wav");
}

void ProgressTones()
{
    // Twenty notes of the C major scale from middle C, row by row.
    const int scale[7] = {0, 2, 4, 5, 7, 9, 11};
    for (int i = 0; i < 20; i++)
    {
        float note = 60.0f + 12.0f * (i / 7) + scale[i % 7];
        DgSound s = Mallet(Midi(note), 0.5f);
        char name[64];
        std::snprintf(name, sizeof name, "Common/Sounds/Progress/Progress%d%d.wav", i / 4, i % 4);
        Finish(s, 0.6f, name);
    }
}

void LogoChime()
{
    DgSound s = SoundCreate(2.4f);
    const float notes[] = {79, 84, 88, 91};
    for (int i = 0; i < 4; i++)
        SoundMix(s, Bell(Midi(notes[i]), 1.6f, 0.6f), SoundSamples(0.12f * i), 0.6f);
    DgSound pad = SoundCreate(2.2f);
    for (size_t i = 0; i < pad.size(); i++)
    {
        float t = (float)i / kSoundRate;
        float env = EnvAdsr(t, 0.4f, 0.5f, 0.7f, 1.3f, 0.9f);
        pad[i] = (OscSine(Midi(48) * t) + OscSine(Midi(55) * t) * 0.7f + OscSine(Midi(64) * t) * 0.5f) * env * 0.3f;
    }
    SoundMix(s, pad, 0, 1.0f);
    SoundEcho(s, 0.17f, 0.4f, 0.3f);
    Finish(s, 0.8f, "LogoMono.wav");
}
} // namespace

void GenSounds()
{
    GridLand();
    GridAlign();
    BallRolling();
    ArcadeRoll();
    StrategicRoll();
    LevelStart();
    Bounce();
    WildCard();
    ExplodingBall();
    BallLaunch();
    Explosion();
    LifeOver();
    BallRemove();
    BallFalling();
    GuiSounds();
    ProgressTones();
    LogoChime();
}
