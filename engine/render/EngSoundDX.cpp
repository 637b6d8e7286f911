// Sound effects, the back end over the platform's sound stand-in: the sound system object, the
// output format taken from a reference wave file, and EngSound's buffers (loading, playing,
// volume in hundredths of a decibel, frequency in Hz).
#include <cmath>

#include "EngDebug.h"
#include "EngFile.h"
#include "EngMemory.h"
#include "EngSound.h"
#include "PlatSound.h"

static struct
{
    bool initialised;
    bool created;    // the platform's sound system exists
    uint32_t serial; // counts the starts, so a buffer of an ended system is never touched
} s_soundDX = {false, false, 0};

// Passes a successful platform call; reports a failure as "call - reason" under `context`.
static bool EngSoundErrorCheck_DX9(const char *context, const char *call, int result)
{
    if (result)
        return true;
    DebugError(context, "%s - %s", call, PlatSoundGetErrorText());
    return false;
}

// A frequency in Hz the platform takes: 100 .. 200000, whatever a pitch computation gave
// (zero, negative, not a number or too large).
static uint32_t ClampFrequency(double hertz)
{
    if (!(hertz >= (double)PLAT_SOUND_FREQUENCY_MIN))
        return PLAT_SOUND_FREQUENCY_MIN;
    if (hertz > (double)PLAT_SOUND_FREQUENCY_MAX)
        return PLAT_SOUND_FREQUENCY_MAX;
    return (uint32_t)hertz;
}

char EngSoundInit_DX9()
{
    const char *context = "EngSoundInit_DX9";
    if (s_soundDX.initialised)
        return 1;
    if (!s_soundDX.created)
    {
        if (!EngSoundErrorCheck_DX9(context, "DirectSoundCreate", PlatSoundCreate()))
            return 0;
        s_soundDX.created = true;
        s_soundDX.serial++;
    }
    if (eng_sound_settings.referenceFlag && eng_sound_settings.referenceFile[0])
    {
        // The output follows the format of the sound the game plays most.
        EngSound *reference = new EngSound(eng_sound_settings.referenceFile, 0, NULL);
        PlatSoundFormat primary = {reference->GetFormat().formatTag,
                                   reference->GetFormat().channels,
                                   reference->GetFormat().samplesPerSecond,
                                   reference->GetFormat().averageBytesPerSecond,
                                   reference->GetFormat().blockAlign,
                                   reference->GetFormat().bitsPerSample,
                                   reference->GetFormat().extraSize};
        delete reference;
        if (!EngSoundErrorCheck_DX9(context, "(primary)SetFormat", PlatSoundSetPrimaryFormat(&primary)))
        {
            EngSoundDestroy_DX9();
            return 0;
        }
    }
    s_soundDX.initialised = true;
    DebugInfo("Sound output: %s, %d Hz stereo", PlatSoundGetOutputDriver(), PlatSoundGetOutputRate());
    return 1;
}

void EngSoundDestroy_DX9()
{
    PlatSoundDestroy();
    s_soundDX.created = false;
    s_soundDX.initialised = false;
}

PlatSoundBuffer *EngSound::LiveBufferDX()
{
    return buffer && s_soundDX.created && systemSerial == s_soundDX.serial ? buffer : nullptr;
}

char EngSound::LoadSoundFromFileDX(const char *file, char want3d)
{
    const char *context = "LoadSoundFromFileDX";
    if (!s_soundDX.created)
        return 0;
    DestroyDX();

    char path[ENG_FILE_PATH_SIZE];
    if (!file || !EngFileNormalisePath(file, path, sizeof(path)))
    {
        DebugError(context, "Can not open wafefile %s", EngStringOrNone(file));
        return 0;
    }
    PlatSoundFormat wave;
    void *data = NULL;
    uint32_t dataBytes = 0;
    int read = PlatSoundReadWave(path, &wave, &data, &dataBytes);
    if (read == PLAT_WAVE_CANNOT_OPEN)
    {
        DebugError(context, "Can not open wafefile %s", file);
        return 0;
    }
    if (read == PLAT_WAVE_NOT_PCM)
    {
        DebugError(context, "Invalid format in %s", file);
        return 0;
    }
    if (read != PLAT_WAVE_OK)
    {
        DebugError(context, "Invalid wave file %s - %s", file, PlatSoundGetErrorText());
        return 0;
    }
    format = {wave.formatTag,  wave.channels,      wave.samplesPerSecond, wave.averageBytesPerSecond,
              wave.blockAlign, wave.bitsPerSample, wave.extraSize};

    uint32_t flags = PLAT_SOUND_CTRL_VOLUME;
    if (eng_sound_settings.frequencyControl)
        flags |= PLAT_SOUND_CTRL_FREQUENCY;
    buffer = PlatSoundCreateBuffer(&wave, data, dataBytes, flags);
    PlatSoundFreeWave(data);
    if (!EngSoundErrorCheck_DX9(context, "IDirectSound8_CreateSoundBuffer", buffer != nullptr))
        return 0;
    systemSerial = s_soundDX.serial;

    // The output has no positional sound: a 3D sound plays as a plain one.
    if (want3d)
        DebugError(context, "QueryInterface(3d sound buffer) - The output has no positional sound");

    duration = format.averageBytesPerSecond ? (float)((double)dataBytes / (double)format.averageBytesPerSecond) : 0.0f;
    baseFrequency = eng_sound_settings.frequencyControl ? GetFrequencyDX() : 0;
    return 1;
}

// The live buffer, or NULL after "Sound called but no buffer present" (said only while the
// sound system exists: without it every sound is quietly silent).
static PlatSoundBuffer *BufferOrReport(PlatSoundBuffer *live, const char *function, const char *text)
{
    if (!live && s_soundDX.created)
        DebugError(function, "%s", text);
    return live;
}

// Plays a live buffer from its start; a live buffer always plays, so results are not checked.
static char PlayFromStart(PlatSoundBuffer *live, int looped)
{
    if (!live)
        return 0;
    PlatSoundSetPosition(live, 0);
    PlatSoundPlay(live, looped);
    return 1;
}

char EngSound::PlayDX()
{
    return PlayFromStart(BufferOrReport(LiveBufferDX(), ENG_FUNC, "Sound called but no buffer present"), 0);
}

char EngSound::PlayLoopedDX()
{
    return PlayFromStart(BufferOrReport(LiveBufferDX(), ENG_FUNC, "Sound called but no buffer present"), 1);
}

void EngSound::StopDX()
{
    PlatSoundBuffer *live = BufferOrReport(LiveBufferDX(), ENG_FUNC, "Sound called but no buffer present");
    if (live)
        PlatSoundStop(live);
}

void EngSound::SetVolumeDX(float volume)
{
    PlatSoundBuffer *live = BufferOrReport(LiveBufferDX(), ENG_FUNC, "Sound called but no buffer present");
    if (!live)
        return;
    if (!(volume >= 0.00001f))
        volume = 0.00001f;
    long attenuation = std::lround(2000.0 * std::log10((double)volume));
    if (attenuation < PLAT_SOUND_VOLUME_SILENT)
        attenuation = PLAT_SOUND_VOLUME_SILENT;
    if (attenuation > PLAT_SOUND_VOLUME_FULL)
        attenuation = PLAT_SOUND_VOLUME_FULL;
    EngSoundErrorCheck_DX9("EngSound::SetVolumeDX", "SetVolume", PlatSoundSetVolume(live, (int32_t)attenuation));
}

void EngSound::SetPitchDX(float factor)
{
    if (!eng_sound_settings.frequencyControl)
        DebugError(ENG_FUNC, "Frequency operations not enabled.");
    SetFrequencyDX(ClampFrequency((double)baseFrequency * (double)factor));
}

char EngSound::SetFrequencyDX(uint32_t hertz)
{
    PlatSoundBuffer *live = BufferOrReport(LiveBufferDX(), "EngSound::SetFrequencyDX", "No buffer for sound");
    if (!live)
        return 0;
    return EngSoundErrorCheck_DX9("EngSound::SetFrequencyDX", "IDirectSoundBuffer_SetFrequency",
                                  PlatSoundSetFrequency(live, ClampFrequency(hertz)));
}

uint32_t EngSound::GetFrequencyDX()
{
    if (!eng_sound_settings.frequencyControl)
        DebugError(ENG_FUNC, "Frequency operations not enabled.");
    PlatSoundBuffer *live = BufferOrReport(LiveBufferDX(), "EngSound::GetFrequencyDX", "No buffer for sound");
    uint32_t hertz = 0;
    if (!live || !EngSoundErrorCheck_DX9("EngSound::GetFrequencyDX", "IDirectSoundBuffer_GetFrequency",
                                         PlatSoundGetFrequency(live, &hertz)))
        return 0;
    return hertz;
}

void EngSound::DestroyDX()
{
    if (!buffer)
        return;
    if (!LiveBufferDX())
        DebugError(ENG_FUNC, "Sound was not released");
    else
        PlatSoundReleaseBuffer(buffer);
    buffer = nullptr;
    buffer3d = nullptr;
}
