// Sound synthesis for the data generator: band-limited oscillators, envelopes, filters,
// seeded noise, mixing, normalisation and seamless loops. Sounds are mono float samples
// in [-1, 1] at kSoundRate.
#pragma once
#include <cstdint>
#include <vector>

using DgSound = std::vector<float>;

const int kSoundRate = 44100;
const float kTwoPi = 6.28318530717958647f;

DgSound SoundCreate(float seconds);
int SoundSamples(float seconds);

// ---- Oscillators (phase in cycles, 0-1; `step` = frequency / rate) ---------------
float OscSine(float phase);
float OscTriangle(float phase);
// Band-limited sawtooth and square (polyBLEP).
float OscSaw(float phase, float step);
float OscSquare(float phase, float step, float pulseWidth = 0.5f);

// ---- Envelopes (time in seconds) --------------------------------------------------
// Linear attack, then an exponential decay with the given time constant.
float EnvAttackDecay(float t, float attack, float decay);
// Attack, decay to a sustain level, release starting at `releaseAt`.
float EnvAdsr(float t, float attack, float decay, float sustain, float releaseAt, float release);

// ---- Filters ----------------------------------------------------------------------
struct DgBiquad
{
    float b0 = 1, b1 = 0, b2 = 0, a1 = 0, a2 = 0;
    float x1 = 0, x2 = 0, y1 = 0, y2 = 0;
    float Process(float x);
    void SetLowPass(float cutoff, float q = 0.7071f);
    void SetHighPass(float cutoff, float q = 0.7071f);
    void SetBandPass(float centre, float q);
};

// ---- Noise ------------------------------------------------------------------------
struct DgNoise
{
    uint64_t state;
    float brown = 0.0f;
    explicit DgNoise(uint64_t seed);
    // White noise in [-1, 1].
    float White();
    // Brown (integrated) noise, roughly in [-1, 1].
    float Brown();
};

// ---- Whole sounds -----------------------------------------------------------------
// Scales so that the largest magnitude is `peak`.
void SoundNormalise(DgSound &s, float peak);
// Short fades at both ends so that the sound starts and ends at silence.
void SoundFadeEdges(DgSound &s, float fadeIn, float fadeOut);
// Makes the sound loop seamlessly: the last `crossfade` seconds are blended into the
// start (equal power) and cut off, so the end runs straight into the beginning.
void SoundMakeLoop(DgSound &s, float crossfade);
// Turns a seamless loop so that it begins at its quietest zero crossing, so that
// starting it from silence does not click either.
void SoundStartLoopQuietly(DgSound &s);
// Adds `src` into `dst` from sample `offset` with a gain (grows `dst` when needed).
void SoundMix(DgSound &dst, const DgSound &src, int offset, float gain);
// A simple feedback-delay echo / room tail.
void SoundEcho(DgSound &s, float delaySeconds, float feedback, float wet);
