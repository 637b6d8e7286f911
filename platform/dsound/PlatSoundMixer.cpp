// The mixing steps of the sound stand-in: each voice resampled with 4-point cubic (Catmull-Rom)
// interpolation into a float stereo sum, then a peak limiter that turns the sum into 16-bit
// output without clipping. Pure computation; the caller holds the audio lock.
#include "PlatSoundMixer.h"

#include <cmath>
#include <cstdarg>
#include <cstdio>
#include <cstring>

// A gain change (volume change, stop) is spread over this time to avoid a click.
static const double GAIN_RAMP_SECONDS = 0.005;
// After the limiter pulls the gain down it holds it, so that a steady loud signal is
// scaled, not distorted, then lets it recover with this time constant.
static const double LIMITER_HOLD_SECONDS = 0.05;
static const double LIMITER_RELEASE_SECONDS = 0.15;

float PlatSoundGainOfVolume(int32_t hundredthsOfDb)
{
    if (hundredthsOfDb <= PLAT_SOUND_VOLUME_SILENT)
        return 0.0f;
    if (hundredthsOfDb >= PLAT_SOUND_VOLUME_FULL)
        return 1.0f;
    return (float)std::pow(10.0, hundredthsOfDb / 2000.0);
}

// The sample of channel `channel` at frame `index`; outside the data a one-shot voice is
// silent and a looped one continues from the other end.
static inline float VoiceSample(const PlatSoundBuffer *voice, int64_t index, int channel)
{
    int64_t frames = voice->frames;
    if (index < 0 || index >= frames)
    {
        if (!voice->looped)
            return 0.0f;
        index %= frames;
        if (index < 0)
            index += frames;
    }
    return voice->samples[index * voice->channels + channel];
}

static inline float Interpolate(float before, float at, float after, float afterNext, float t)
{
    // Catmull-Rom through `at` (t = 0) and `after` (t = 1), in Horner form.
    return at + 0.5f * t *
                    (after - before +
                     t * (2.0f * before - 5.0f * at + 4.0f * after - afterNext +
                          t * (3.0f * (at - after) + afterNext - before)));
}

// Four floats in one register (GCC vector extension: SSE on x86-64, NEON elsewhere).
typedef float Float4 __attribute__((vector_size(16)));

static inline Float4 LoadFloat4(const float *from)
{
    Float4 value;
    memcpy(&value, from, sizeof(value));
    return value;
}

// The four Catmull-Rom weights of the frames before, at, after and after next, for t in [0, 1).
static inline Float4 InterpolationWeights(float t)
{
    const Float4 cubic = {-0.5f, 1.5f, -1.5f, 0.5f};
    const Float4 square = {1.0f, -2.5f, 2.0f, -0.5f};
    const Float4 linear = {-0.5f, 0.0f, 0.5f, 0.0f};
    const Float4 constant = {0.0f, 1.0f, 0.0f, 0.0f};
    return ((cubic * t + square) * t + linear) * t + constant;
}

// Mixes `count` frames of a voice whose every needed sample lies inside its data, at a
// steady gain: the common case, kept free of tests and done four taps at a time.
static void MixInside(PlatSoundBuffer *voice, float *mix, int count, double step)
{
    const float gain = voice->gainNow;
    double position = voice->position;
    if (voice->channels == 2)
        for (int frame = 0; frame < count; frame++, position += step)
        {
            int64_t index = (int64_t)position;
            Float4 weights = InterpolationWeights((float)(position - (double)index)) * gain;
            const float *s = voice->samples + 2 * (index - 1);
            // Left and right of frames before and at, then of frames after and after next.
            // Lanes picked by element, which GCC and clang both turn into one shuffle.
            Float4 early = {weights[0], weights[0], weights[1], weights[1]};
            Float4 late = {weights[2], weights[2], weights[3], weights[3]};
            Float4 sum = LoadFloat4(s) * early + LoadFloat4(s + 4) * late;
            mix[2 * frame] += sum[0] + sum[2];
            mix[2 * frame + 1] += sum[1] + sum[3];
        }
    else
        for (int frame = 0; frame < count; frame++, position += step)
        {
            int64_t index = (int64_t)position;
            Float4 products = LoadFloat4(voice->samples + (index - 1)) *
                              InterpolationWeights((float)(position - (double)index));
            float value = gain * ((products[0] + products[1]) + (products[2] + products[3]));
            mix[2 * frame] += value;
            mix[2 * frame + 1] += value;
        }
    voice->position = position;
}

void PlatSoundMixVoice(PlatSoundBuffer *voice, float *mix, int frames, int outputRate)
{
    if (voice->state == PLAT_VOICE_STOPPED || voice->frames == 0 || outputRate <= 0)
        return;
    const double step = (double)voice->frequency / outputRate;
    const float rampStep = (float)(1.0 / (GAIN_RAMP_SECONDS * outputRate));
    // The last frame index whose three neighbours are inside the data.
    const int64_t lastInner = (int64_t)voice->frames - 3;
    const bool stereo = voice->channels == 2;

    int frame = 0;
    while (frame < frames)
    {
        float target = voice->state == PLAT_VOICE_FADING ? 0.0f : voice->gainTarget;
        if (voice->gainNow == target && voice->position >= 1.0)
        {
            // Frames that stay inside the data, less one for rounding in the running sum.
            double room = ((double)(lastInner + 1) - voice->position) / step;
            int run = room > (double)(frames - frame) + 1.0 ? frames - frame : (int)room - 1;
            if (run > 0)
            {
                MixInside(voice, mix + 2 * frame, run, step);
                frame += run;
                continue;
            }
        }

        // One frame the slow way: a gain ramp, or samples near an end of the data.
        if (voice->gainNow < target)
            voice->gainNow = std::fmin(target, voice->gainNow + rampStep);
        else if (voice->gainNow > target)
            voice->gainNow = std::fmax(target, voice->gainNow - rampStep);
        if (voice->state == PLAT_VOICE_FADING && voice->gainNow <= 0.0f)
        {
            voice->state = PLAT_VOICE_STOPPED;
            return;
        }
        int64_t index = (int64_t)voice->position;
        float t = (float)(voice->position - (double)index);
        float left = Interpolate(VoiceSample(voice, index - 1, 0), VoiceSample(voice, index, 0),
                                 VoiceSample(voice, index + 1, 0), VoiceSample(voice, index + 2, 0), t);
        float right = stereo ? Interpolate(VoiceSample(voice, index - 1, 1), VoiceSample(voice, index, 1),
                                           VoiceSample(voice, index + 1, 1), VoiceSample(voice, index + 2, 1), t)
                             : left;
        mix[2 * frame] += voice->gainNow * left;
        mix[2 * frame + 1] += voice->gainNow * right;
        frame++;

        voice->position += step;
        if (voice->position >= (double)voice->frames)
        {
            if (voice->looped)
                voice->position = std::fmod(voice->position, (double)voice->frames);
            else
            {
                // A one-shot voice ends and is ready to play again from the start.
                voice->state = PLAT_VOICE_STOPPED;
                voice->position = 0.0;
                return;
            }
        }
    }
}

// A level (at most full scale) as a 16-bit sample, rounded to the nearest.
static inline int16_t ToSample(float level)
{
    float scaled = level * 32767.0f;
    if (scaled > 32767.0f)
        scaled = 32767.0f;
    if (scaled < -32767.0f)
        scaled = -32767.0f;
    return (int16_t)(scaled >= 0.0f ? scaled + 0.5f : scaled - 0.5f);
}

void PlatSoundLimit(PlatSoundLimiter *limiter, const float *mix, int16_t *out, int frames, int outputRate)
{
    const int holdFrames = (int)(LIMITER_HOLD_SECONDS * outputRate);
    const float release = (float)(1.0 - std::exp(-1.0 / (LIMITER_RELEASE_SECONDS * outputRate)));
    float gain = limiter->gain;
    int hold = limiter->holdFrames;
    for (int frame = 0; frame < frames; frame++)
    {
        float left = mix[2 * frame];
        float right = mix[2 * frame + 1];
        float peak = std::fabs(left) > std::fabs(right) ? std::fabs(left) : std::fabs(right);
        if (peak * gain > PLAT_SOUND_CEILING)
        {
            gain = PLAT_SOUND_CEILING / peak;
            hold = holdFrames;
        }
        else if (hold > 0)
            hold--;
        else if (gain < 1.0f)
        {
            gain += (1.0f - gain) * release;
            if (gain > 0.9999f)
                gain = 1.0f;
        }
        // The limiter keeps the level at or below the ceiling; ToSample's clamp only guards
        // rounding.
        out[2 * frame] = ToSample(left * gain);
        out[2 * frame + 1] = ToSample(right * gain);
    }
    limiter->gain = gain;
    limiter->holdFrames = hold;
}

static char s_errorText[300] = "";

void PlatSoundSetError(const char *format, ...)
{
    va_list args;
    va_start(args, format);
    vsnprintf(s_errorText, sizeof(s_errorText), format, args);
    va_end(args);
}

const char *PlatSoundGetErrorText()
{
    return s_errorText;
}
