// Oscillators, envelopes, filters and loops for the data generator's sounds.
#include "DgSynth.h"

#include <algorithm>
#include <cmath>

DgSound SoundCreate(float seconds)
{
    return DgSound((size_t)SoundSamples(seconds), 0.0f);
}

int SoundSamples(float seconds)
{
    return (int)std::lround(seconds * kSoundRate);
}

float OscSine(float phase)
{
    return std::sin(kTwoPi * phase);
}

float OscTriangle(float phase)
{
    float p = phase - std::floor(phase);
    return p < 0.5f ? 4.0f * p - 1.0f : 3.0f - 4.0f * p;
}

namespace
{
// The polyBLEP correction that smooths a unit step at phase 0.
float PolyBlep(float t, float dt)
{
    if (t < dt)
    {
        t /= dt;
        return t + t - t * t - 1.0f;
    }
    if (t > 1.0f - dt)
    {
        t = (t - 1.0f) / dt;
        return t * t + t + t + 1.0f;
    }
    return 0.0f;
}
} // namespace

float OscSaw(float phase, float step)
{
    float p = phase - std::floor(phase);
    return 2.0f * p - 1.0f - PolyBlep(p, step);
}

float OscSquare(float phase, float step, float pulseWidth)
{
    float p = phase - std::floor(phase);
    float v = p < pulseWidth ? 1.0f : -1.0f;
    v += PolyBlep(p, step);
    float q = p - pulseWidth;
    q -= std::floor(q);
    v -= PolyBlep(q, step);
    return v;
}

float EnvAttackDecay(float t, float attack, float decay)
{
    if (t < 0.0f)
        return 0.0f;
    if (t < attack)
        return t / attack;
    return std::exp(-(t - attack) / decay);
}

float EnvAdsr(float t, float attack, float decay, float sustain, float releaseAt, float release)
{
    auto level = [&](float u) {
        if (u < 0.0f)
            return 0.0f;
        if (u < attack)
            return u / attack;
        return sustain + (1.0f - sustain) * std::exp(-(u - attack) / decay);
    };
    if (t < releaseAt)
        return level(t);
    float r = t - releaseAt;
    return level(releaseAt) * std::max(0.0f, 1.0f - r / release);
}

float DgBiquad::Process(float x)
{
    float y = b0 * x + b1 * x1 + b2 * x2 - a1 * y1 - a2 * y2;
    x2 = x1, x1 = x;
    y2 = y1, y1 = y;
    return y;
}

// The filters share the prewarped frequency (its cosine `c` and `alpha`) and the
// denominator 1 + alpha; each gives its own numerator before normalising.
struct DgBiquadPrewarp
{
    float c, alpha;
};

static DgBiquadPrewarp DgBiquadPrewarpOf(float frequency, float q)
{
    float w = kTwoPi * frequency / kSoundRate;
    return {std::cos(w), std::sin(w) / (2.0f * q)};
}

static void DgBiquadSetNormalised(DgBiquad &filter, const DgBiquadPrewarp &p, float b0, float b1, float b2)
{
    float a0 = 1.0f + p.alpha;
    filter.b0 = b0 / a0;
    filter.b1 = b1 / a0;
    filter.b2 = b2 / a0;
    filter.a1 = -2.0f * p.c / a0;
    filter.a2 = (1.0f - p.alpha) / a0;
}

void DgBiquad::SetLowPass(float cutoff, float q)
{
    DgBiquadPrewarp p = DgBiquadPrewarpOf(cutoff, q);
    DgBiquadSetNormalised(*this, p, (1.0f - p.c) * 0.5f, 1.0f - p.c, (1.0f - p.c) * 0.5f);
}

void DgBiquad::SetHighPass(float cutoff, float q)
{
    DgBiquadPrewarp p = DgBiquadPrewarpOf(cutoff, q);
    DgBiquadSetNormalised(*this, p, (1.0f + p.c) * 0.5f, -(1.0f + p.c), (1.0f + p.c) * 0.5f);
}

void DgBiquad::SetBandPass(float centre, float q)
{
    DgBiquadPrewarp p = DgBiquadPrewarpOf(centre, q);
    DgBiquadSetNormalised(*this, p, p.alpha, 0.0f, -p.alpha);
}

DgNoise::DgNoise(uint64_t seed) : state(seed * 0x9E3779B97F4A7C15ull + 0x1234567ull)
{
}

float DgNoise::White()
{
    state ^= state << 13;
    state ^= state >> 7;
    state ^= state << 17;
    return (float)((state >> 40) & 0xFFFFFF) / 8388608.0f - 1.0f;
}

float DgNoise::Brown()
{
    brown = (brown + 0.02f * White()) * 0.998f;
    return brown * 3.5f;
}

void SoundNormalise(DgSound &s, float peak)
{
    float largest = 0.0f;
    for (float v : s)
        largest = std::max(largest, std::fabs(v));
    if (largest <= 0.0f)
        return;
    float k = peak / largest;
    for (float &v : s)
        v *= k;
}

void SoundFadeEdges(DgSound &s, float fadeIn, float fadeOut)
{
    int in = std::min((int)s.size(), SoundSamples(fadeIn));
    int out = std::min((int)s.size(), SoundSamples(fadeOut));
    for (int i = 0; i < in; i++)
        s[i] *= (float)i / in;
    for (int i = 0; i < out; i++)
        s[s.size() - 1 - i] *= (float)i / out;
}

void SoundMakeLoop(DgSound &s, float crossfade)
{
    int n = SoundSamples(crossfade);
    if (n <= 0 || (size_t)n * 2 >= s.size())
        return;
    size_t keep = s.size() - n;
    for (int i = 0; i < n; i++)
    {
        float t = (i + 0.5f) / n;
        float fadeIn = std::sin(t * kTwoPi * 0.25f);
        float fadeOut = std::cos(t * kTwoPi * 0.25f);
        s[i] = s[i] * fadeIn + s[keep + i] * fadeOut;
    }
    s.resize(keep);
}

void SoundStartLoopQuietly(DgSound &s)
{
    const int half = 64;
    size_t n = s.size();
    if (n < (size_t)half * 4)
        return;
    // Loudness around every sample (wrapping round the loop), from running sums.
    std::vector<double> energy(n);
    double sum = 0.0;
    for (int k = -half; k <= half; k++)
        sum += (double)s[(k + n) % n] * s[(k + n) % n];
    size_t best = 0;
    double bestScore = 1e30;
    for (size_t i = 0; i < n; i++)
    {
        float previous = s[(i + n - 1) % n];
        bool crossing = (previous <= 0.0f && s[i] >= 0.0f) || (previous >= 0.0f && s[i] <= 0.0f);
        double score = std::sqrt(sum / (2 * half + 1)) + std::fabs(s[i]) * 4.0 + (crossing ? 0.0 : 1.0);
        if (score < bestScore)
            bestScore = score, best = i;
        float leaving = s[(i + n - half) % n], entering = s[(i + half + 1) % n];
        sum += (double)entering * entering - (double)leaving * leaving;
    }
    std::rotate(s.begin(), s.begin() + best, s.end());
}

void SoundMix(DgSound &dst, const DgSound &src, int offset, float gain)
{
    if (offset < 0)
        offset = 0;
    if (dst.size() < src.size() + offset)
        dst.resize(src.size() + offset, 0.0f);
    for (size_t i = 0; i < src.size(); i++)
        dst[offset + i] += src[i] * gain;
}

void SoundEcho(DgSound &s, float delaySeconds, float feedback, float wet)
{
    int d = SoundSamples(delaySeconds);
    if (d <= 0)
        return;
    DgSound tail = s;
    for (size_t i = d; i < tail.size(); i++)
        tail[i] += tail[i - d] * feedback;
    for (size_t i = 0; i < s.size(); i++)
        s[i] = s[i] * (1.0f - wet) + (i >= (size_t)d ? tail[i - d] : 0.0f) * wet;
}
