// The sound stand-in's output and buffers: one SDL2 audio device whose callback runs the mixer
// over every live buffer and the music stream. The device stays open while the sound system
// or another user (the music library) needs it; all changes happen under its lock.
//
// Sections: state and lock - output device - sound system - buffers - stream - mixing
#include <SDL.h>

#include <cstdlib>
#include <cstring>

#include "PlatSoundMixer.h"

// Frames mixed per step; the device callback and PlatSoundMixFrames loop over steps.
static const int MIX_STEP_FRAMES = 256;
// The device's own buffer: about 12 ms at 44.1 kHz.
static const int DEVICE_BUFFER_FRAMES = 512;
static const int DEFAULT_RATE = 44100;

// ---- State and lock ------------------------------------------------------------------------

static struct
{
    bool created;          // the sound system (PlatSoundCreate .. PlatSoundDestroy)
    int otherUsers;        // PlatSoundAcquireOutput calls not yet released
    SDL_AudioDeviceID device;
    bool paused;           // tests pull frames themselves
    int rate;              // output rate in Hz
    int lockDepth;
    SDL_AudioDeviceID lockedDevice;
    PlatSoundBuffer *buffers;
    PlatSoundStreamFn stream;
    void *streamContext;
    PlatSoundLimiter limiter;
    float mix[2 * MIX_STEP_FRAMES];
    float streamFrames[2 * MIX_STEP_FRAMES];
} s_sound = {false, 0, 0, false, DEFAULT_RATE, 0, 0, NULL, NULL, NULL, {1.0f, 0}, {}, {}};

void PlatSoundLock()
{
    if (s_sound.lockDepth++ == 0)
        s_sound.lockedDevice = s_sound.device;
    if (s_sound.lockedDevice)
        SDL_LockAudioDevice(s_sound.lockedDevice);
}

void PlatSoundUnlock()
{
    if (s_sound.lockDepth <= 0)
        return;
    if (s_sound.lockedDevice)
        SDL_UnlockAudioDevice(s_sound.lockedDevice);
    if (--s_sound.lockDepth == 0)
        s_sound.lockedDevice = 0;
}

// ---- Output device ---------------------------------------------------------------------------

static void MixInto(int16_t *out, int frames);

static void SDLCALL DeviceCB(void *userData, Uint8 *stream, int length)
{
    MixInto((int16_t *)stream, length / (int)(2 * sizeof(int16_t)));
}

static int OpenDevice()
{
    if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0)
    {
        PlatSoundSetError("Audio could not start: %s", SDL_GetError());
        return 0;
    }
    SDL_AudioSpec want;
    SDL_zero(want);
    want.freq = s_sound.rate;
    want.format = AUDIO_S16SYS;
    want.channels = 2;
    want.samples = DEVICE_BUFFER_FRAMES;
    want.callback = DeviceCB;
    SDL_AudioSpec have;
    // SDL converts to whatever the hardware takes, so the callback always gets this format.
    s_sound.device = SDL_OpenAudioDevice(NULL, 0, &want, &have, 0);
    if (!s_sound.device)
    {
        PlatSoundSetError("No audio output: %s", SDL_GetError());
        SDL_QuitSubSystem(SDL_INIT_AUDIO);
        return 0;
    }
    SDL_PauseAudioDevice(s_sound.device, s_sound.paused ? 1 : 0);
    return 1;
}

static void CloseDevice()
{
    if (!s_sound.device)
        return;
    SDL_CloseAudioDevice(s_sound.device);
    s_sound.device = 0;
    s_sound.limiter = {1.0f, 0};
    SDL_QuitSubSystem(SDL_INIT_AUDIO);
}

static bool OutputNeeded()
{
    return s_sound.created || s_sound.otherUsers > 0;
}

int PlatSoundAcquireOutput(int rate)
{
    if (!s_sound.device)
    {
        if (!OutputNeeded())
        {
            if (rate < PLAT_SOUND_FREQUENCY_MIN || rate > PLAT_SOUND_FREQUENCY_MAX)
            {
                PlatSoundSetError("Output rate %d Hz out of range", rate);
                return 0;
            }
            s_sound.rate = rate;
        }
        if (!OpenDevice())
            return 0;
    }
    s_sound.otherUsers++;
    return 1;
}

void PlatSoundReleaseOutput()
{
    if (s_sound.otherUsers <= 0)
        return;
    s_sound.otherUsers--;
    if (!OutputNeeded())
        CloseDevice();
}

int PlatSoundGetOutputRate()
{
    return s_sound.device ? s_sound.rate : 0;
}

const char *PlatSoundGetOutputDriver()
{
    const char *driver = s_sound.device ? SDL_GetCurrentAudioDriver() : NULL;
    return driver ? driver : "none";
}

void PlatSoundPauseOutput(int paused)
{
    s_sound.paused = paused != 0;
    if (s_sound.device)
        SDL_PauseAudioDevice(s_sound.device, s_sound.paused ? 1 : 0);
}

// ---- Sound system --------------------------------------------------------------------------

int PlatSoundCreate()
{
    if (s_sound.created)
    {
        PlatSoundSetError("The sound system already exists");
        return 0;
    }
    if (!s_sound.device)
    {
        if (!OutputNeeded())
            s_sound.rate = DEFAULT_RATE;
        if (!OpenDevice())
            return 0;
    }
    s_sound.created = true;
    return 1;
}

void PlatSoundDestroy()
{
    if (!s_sound.created)
        return;
    PlatSoundLock();
    PlatSoundBuffer *buffers = s_sound.buffers;
    s_sound.buffers = NULL;
    PlatSoundUnlock();
    while (buffers)
    {
        PlatSoundBuffer *next = buffers->next;
        free(buffers->samples);
        free(buffers);
        buffers = next;
    }
    s_sound.created = false;
    if (!OutputNeeded())
        CloseDevice();
}

int PlatSoundSetPrimaryFormat(const PlatSoundFormat *format)
{
    if (!s_sound.created)
    {
        PlatSoundSetError("No sound system");
        return 0;
    }
    if (!format || format->formatTag != 1)
    {
        PlatSoundSetError("The primary format must be PCM");
        return 0;
    }
    if (!PlatSoundCheckFormat(format, "The primary format"))
        return 0;
    if ((int)format->samplesPerSecond <= s_sound.rate)
        return 1;
    // The mixer's state lives here, so reopening the device loses nothing that plays.
    int oldRate = s_sound.rate;
    CloseDevice();
    s_sound.rate = (int)format->samplesPerSecond;
    if (OpenDevice())
        return 1;
    s_sound.rate = oldRate;
    OpenDevice();
    return 0;
}

// ---- Buffers -------------------------------------------------------------------------------

// The buffer when it is a live one of this sound system; a stale or foreign handle fails.
static PlatSoundBuffer *FindBuffer(PlatSoundBuffer *buffer)
{
    for (PlatSoundBuffer *live = s_sound.buffers; live; live = live->next)
        if (live == buffer)
            return live;
    PlatSoundSetError(buffer ? "Not a buffer of the sound system" : "No buffer");
    return NULL;
}

PlatSoundBuffer *PlatSoundCreateBuffer(const PlatSoundFormat *format, const void *data, uint32_t dataBytes,
                                       uint32_t flags)
{
    if (!s_sound.created)
    {
        PlatSoundSetError("No sound system");
        return NULL;
    }
    if (!format || format->formatTag != 1)
    {
        PlatSoundSetError("Buffers hold PCM data only");
        return NULL;
    }
    if (!PlatSoundCheckFormat(format, "The buffer format"))
        return NULL;
    uint32_t frames = dataBytes / format->blockAlign;
    if (!data || frames == 0)
    {
        PlatSoundSetError("A buffer needs at least one frame of data");
        return NULL;
    }
    PlatSoundBuffer *buffer = (PlatSoundBuffer *)calloc(1, sizeof(PlatSoundBuffer));
    float *samples = (float *)malloc((size_t)frames * format->channels * sizeof(float));
    if (!buffer || !samples)
    {
        free(buffer);
        free(samples);
        PlatSoundSetError("Out of memory for a buffer of %u frames", frames);
        return NULL;
    }
    size_t count = (size_t)frames * format->channels;
    if (format->bitsPerSample == 8)
    {
        const uint8_t *bytes = (const uint8_t *)data;
        for (size_t i = 0; i < count; i++)
            samples[i] = ((int)bytes[i] - 128) / 128.0f;
    }
    else
    {
        const uint8_t *bytes = (const uint8_t *)data;
        for (size_t i = 0; i < count; i++)
            samples[i] = (int16_t)(bytes[2 * i] | (bytes[2 * i + 1] << 8)) / 32768.0f;
    }
    buffer->samples = samples;
    buffer->frames = frames;
    buffer->channels = format->channels;
    buffer->flags = flags;
    buffer->frequency = format->samplesPerSecond;
    buffer->volume = PLAT_SOUND_VOLUME_FULL;
    buffer->gainTarget = buffer->gainNow = 1.0f;

    PlatSoundLock();
    buffer->next = s_sound.buffers;
    s_sound.buffers = buffer;
    PlatSoundUnlock();
    return buffer;
}

void PlatSoundReleaseBuffer(PlatSoundBuffer *buffer)
{
    PlatSoundLock();
    PlatSoundBuffer **link = &s_sound.buffers;
    while (*link && *link != buffer)
        link = &(*link)->next;
    PlatSoundBuffer *found = *link;
    if (found)
        *link = found->next;
    PlatSoundUnlock();
    if (!found)
        return;
    free(found->samples);
    free(found);
}

int PlatSoundPlay(PlatSoundBuffer *buffer, int looped)
{
    PlatSoundLock();
    PlatSoundBuffer *live = FindBuffer(buffer);
    if (live)
    {
        if (live->state != PLAT_VOICE_PLAYING)
            live->gainNow = live->gainTarget;
        live->looped = looped != 0;
        live->state = PLAT_VOICE_PLAYING;
    }
    PlatSoundUnlock();
    return live ? 1 : 0;
}

int PlatSoundStop(PlatSoundBuffer *buffer)
{
    PlatSoundLock();
    PlatSoundBuffer *live = FindBuffer(buffer);
    if (live && live->state == PLAT_VOICE_PLAYING)
        live->state = PLAT_VOICE_FADING;
    PlatSoundUnlock();
    return live ? 1 : 0;
}

int PlatSoundSetPosition(PlatSoundBuffer *buffer, uint32_t frame)
{
    PlatSoundLock();
    PlatSoundBuffer *live = FindBuffer(buffer);
    if (live)
        live->position = frame < live->frames ? (double)frame : 0.0;
    PlatSoundUnlock();
    return live ? 1 : 0;
}

int PlatSoundIsPlaying(PlatSoundBuffer *buffer)
{
    PlatSoundLock();
    PlatSoundBuffer *live = FindBuffer(buffer);
    int playing = live && live->state == PLAT_VOICE_PLAYING;
    PlatSoundUnlock();
    return playing;
}

// The live buffer when it has the control `flag`; NULL with the error text set.
static PlatSoundBuffer *FindControl(PlatSoundBuffer *buffer, uint32_t flag)
{
    PlatSoundBuffer *live = FindBuffer(buffer);
    if (live && !(live->flags & flag))
    {
        PlatSoundSetError("The buffer was made without that control");
        return NULL;
    }
    return live;
}

int PlatSoundSetVolume(PlatSoundBuffer *buffer, int32_t hundredthsOfDb)
{
    if (hundredthsOfDb < PLAT_SOUND_VOLUME_SILENT)
        hundredthsOfDb = PLAT_SOUND_VOLUME_SILENT;
    if (hundredthsOfDb > PLAT_SOUND_VOLUME_FULL)
        hundredthsOfDb = PLAT_SOUND_VOLUME_FULL;
    PlatSoundLock();
    PlatSoundBuffer *live = FindControl(buffer, PLAT_SOUND_CTRL_VOLUME);
    if (live)
    {
        live->volume = hundredthsOfDb;
        live->gainTarget = PlatSoundGainOfVolume(hundredthsOfDb);
        // A playing voice ramps to the new gain; a silent one takes it at once.
        if (live->state == PLAT_VOICE_STOPPED)
            live->gainNow = live->gainTarget;
    }
    PlatSoundUnlock();
    return live ? 1 : 0;
}

int PlatSoundSetFrequency(PlatSoundBuffer *buffer, uint32_t hertz)
{
    if (hertz < PLAT_SOUND_FREQUENCY_MIN)
        hertz = PLAT_SOUND_FREQUENCY_MIN;
    if (hertz > PLAT_SOUND_FREQUENCY_MAX)
        hertz = PLAT_SOUND_FREQUENCY_MAX;
    PlatSoundLock();
    PlatSoundBuffer *live = FindControl(buffer, PLAT_SOUND_CTRL_FREQUENCY);
    if (live)
        live->frequency = hertz;
    PlatSoundUnlock();
    return live ? 1 : 0;
}

int PlatSoundGetFrequency(PlatSoundBuffer *buffer, uint32_t *hertz)
{
    PlatSoundLock();
    PlatSoundBuffer *live = FindControl(buffer, PLAT_SOUND_CTRL_FREQUENCY);
    if (live && hertz)
        *hertz = live->frequency;
    PlatSoundUnlock();
    return live ? 1 : 0;
}

// ---- Stream --------------------------------------------------------------------------------

void PlatSoundSetStream(PlatSoundStreamFn stream, void *context)
{
    PlatSoundLock();
    s_sound.stream = stream;
    s_sound.streamContext = context;
    PlatSoundUnlock();
}

// ---- Mixing --------------------------------------------------------------------------------

static void MixInto(int16_t *out, int frames)
{
    while (frames > 0)
    {
        int step = frames < MIX_STEP_FRAMES ? frames : MIX_STEP_FRAMES;
        memset(s_sound.mix, 0, sizeof(float) * 2 * (size_t)step);
        for (PlatSoundBuffer *voice = s_sound.buffers; voice; voice = voice->next)
            PlatSoundMixVoice(voice, s_sound.mix, step, s_sound.rate);
        if (s_sound.stream)
        {
            s_sound.stream(s_sound.streamContext, s_sound.streamFrames, step, s_sound.rate);
            for (int i = 0; i < 2 * step; i++)
                s_sound.mix[i] += s_sound.streamFrames[i];
        }
        PlatSoundLimit(&s_sound.limiter, s_sound.mix, out, step, s_sound.rate);
        out += 2 * step;
        frames -= step;
    }
}

void PlatSoundMixFrames(int16_t *out, int frames)
{
    PlatSoundLock();
    MixInto(out, frames);
    PlatSoundUnlock();
}
