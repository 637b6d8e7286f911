// Inside the sound stand-in: the voice record behind a PlatSoundBuffer and the mixing steps
// (per-voice resampling with cubic interpolation, gain ramps, the limiter that keeps the sum
// of many voices below full scale). Nothing here locks; callers hold the audio lock.
#pragma once
#include <cstdint>

#include "PlatSound.h"

enum PlatSoundVoiceState
{
    PLAT_VOICE_STOPPED = 0,
    PLAT_VOICE_PLAYING = 1,
    PLAT_VOICE_FADING = 2, // stopped by the caller, fading out
};

struct PlatSoundBuffer
{
    PlatSoundBuffer *next;
    float *samples;     // frames x channels, interleaved, -1 .. 1
    uint32_t frames;
    int channels;       // 1 or 2
    uint32_t flags;     // PlatSoundBufferFlags
    uint32_t frequency; // Hz, the playback rate
    int32_t volume;     // hundredths of a decibel
    float gainTarget;   // linear gain of `volume`
    float gainNow;      // follows gainTarget by a short ramp
    double position;    // source frames from the start
    int state;          // PlatSoundVoiceState
    int looped;
};

// Peak limiter over the summed output: instant attack, a hold, then a slow release.
struct PlatSoundLimiter
{
    float gain;
    int holdFrames;
};

// The largest output level the limiter lets through (full scale is 1).
constexpr float PLAT_SOUND_CEILING = 0.98f;

// Linear gain of a volume in hundredths of a decibel; -10000 and below is exactly silent.
float PlatSoundGainOfVolume(int32_t hundredthsOfDb);
// Adds `frames` stereo frames of the voice into `mix`, advancing it at its frequency relative
// to `outputRate`; a one-shot voice stops at its end, a looped one wraps.
void PlatSoundMixVoice(PlatSoundBuffer *voice, float *mix, int frames, int outputRate);
// Turns the stereo sum into 16-bit stereo output below the ceiling.
void PlatSoundLimit(PlatSoundLimiter *limiter, const float *mix, int16_t *out, int frames, int outputRate);

// A PCM format the mixer can play (1-2 channels, 8/16 bits, 100-200000 Hz, matching block
// align); 0 with the error text naming the first problem, after `source`.
int PlatSoundCheckFormat(const PlatSoundFormat *format, const char *source);

// The stand-in's last-error text (shared by its files).
void PlatSoundSetError(const char *format, ...) __attribute__((format(printf, 1, 2)));
