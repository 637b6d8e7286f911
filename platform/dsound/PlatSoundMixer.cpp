// The mixing steps of the sound stand-in: each voice resampled with 4-point cubic (Catmull-Rom)
// interpolation into a float stereo sum, then a peak limiter that turns the sum into 16-bit
// output without clipping. Pure computation; the caller holds the audio lock.
#include "PlatSoundMixer.h"

#include <cmath>
#include <cstdarg>
#include <cstdio>

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
    float c1 = 0.5f * (after - before);
    float c2 = before - 2.5f * at + 2.0f * after - 0.5f * afterNext;
    float c3 = 0.5f * (afterNext - before) + 1.5f * (at - after);
    return ((c3 * t + c2) * t + c1) * t + at;
}

void PlatSoundMixVoice(PlatSoundBuffer *voice, float *mix, int frames, int outputRate)
{
    if (voice->state == PLAT_VOICE_STOPPED || voice->frames == 0 || outputRate <= 0)
        return;
    const double step = (double)voice->frequency / outputRate;
    const float rampStep = (float)(1.0 / (GAIN_RAMP_SECONDS * outputRate));
    const int64_t lastInner = (int64_t)voice->frames - 3;
    const bool stereo = voice->channels == 2;

    for (int frame = 0; frame < frames; frame++)
    {
        float target = voice->state == PLAT_VOICE_FADING ? 0.0f : voice->gainTarget;
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
        float left, right;
        if (index >= 1 && index <= lastInner)
        {
            // Inside the data: read the four frames directly.
            const float *s = voice->samples + (index - 1) * voice->channels;
            if (stereo)
            {
                left = Interpolate(s[0], s[2], s[4], s[6], t);
                right = Interpolate(s[1], s[3], s[5], s[7], t);
            }
            else
                left = right = Interpolate(s[0], s[1], s[2], s[3], t);
        }
        else
        {
            left = Interpolate(VoiceSample(voice, index - 1, 0), VoiceSample(voice, index, 0),
                               VoiceSample(voice, index + 1, 0), VoiceSample(voice, index + 2, 0), t);
            right = stereo ? Interpolate(VoiceSample(voice, index - 1, 1), VoiceSample(voice, index, 1),
                                         VoiceSample(voice, index + 1, 1), VoiceSample(voice, index + 2, 1), t)
                           : left;
        }
        mix[2 * frame] += voice->gainNow * left;
        mix[2 * frame + 1] += voice->gainNow * right;

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

void PlatSoundLimit(PlatSoundLimiter *limiter, const float *mix, int16_t *out, int frames, int outputRate)
{
    const int holdFrames = (int)(LIMITER_HOLD_SECONDS * outputRate);
    const float release = (float)(1.0 - std::exp(-1.0 / (LIMITER_RELEASE_SECONDS * outputRate)));
    for (int frame = 0; frame < frames; frame++)
    {
        float left = mix[2 * frame];
        float right = mix[2 * frame + 1];
        float peak = std::fmax(std::fabs(left), std::fabs(right));
        if (peak * limiter->gain > PLAT_SOUND_CEILING)
        {
            limiter->gain = PLAT_SOUND_CEILING / peak;
            limiter->holdFrames = holdFrames;
        }
        else if (limiter->holdFrames > 0)
            limiter->holdFrames--;
        else if (limiter->gain < 1.0f)
        {
            limiter->gain += (1.0f - limiter->gain) * release;
            if (limiter->gain > 0.9999f)
                limiter->gain = 1.0f;
        }
        // The limiter keeps the level at or below the ceiling; the clamp only guards rounding.
        float scale = limiter->gain * 32767.0f;
        out[2 * frame] = (int16_t)std::lrint(std::fmax(-32767.0f, std::fmin(32767.0f, left * scale)));
        out[2 * frame + 1] = (int16_t)std::lrint(std::fmax(-32767.0f, std::fmin(32767.0f, right * scale)));
    }
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
