// Sound effects, the portable front end: the sound settings and system choice, and EngSound's
// members, each of which checks the system and hands over to the back end (EngSoundDX.cpp).
#include "EngSound.h"

#include <cstring>

#include "EngDebug.h"
#include "EngFile.h"
#include "EngMemory.h"

_EngSoundSettings eng_sound_settings = {};

// True when the requested system is the one back end; otherwise notes "Not implemented.".
static bool SystemIsDX(const char *function)
{
    if (eng_sound_settings.requestedSystem == ENG_SOUND_SYSTEM_DX)
        return true;
    DebugNoteInFunction(DEBUG_NOTE_STANDARD, function, "%s", DebugGetResultCodeText(EngFourCC("NIMP")));
    return false;
}

char EngSoundInit(int system, char allow3d, char frequencyControl, char currentPosition2, const char *referenceFile,
                  int value)
{
    eng_sound_settings.allow3d = (uint8_t)allow3d;
    eng_sound_settings.value = value;
    eng_sound_settings.requestedSystem = system;
    eng_sound_settings.frequencyControl = (uint8_t)frequencyControl;
    eng_sound_settings.currentPosition2 = (uint8_t)currentPosition2;
    eng_sound_settings.referenceFile[0] = 0;
    if (system == ENG_SOUND_SYSTEM_NONE)
    {
        DebugError(ENG_FUNC, "Sound parameters not setup");
        return 0;
    }
    if (system == ENG_SOUND_SYSTEM_DX)
    {
        eng_sound_settings.referenceFlag = 1;
        if (referenceFile && *referenceFile)
        {
            if (strlen(referenceFile) >= ENG_SOUND_REFERENCE_NAME_SIZE)
            {
                DebugError(ENG_FUNC, "Sample sound filename too long");
                return 0;
            }
            EngSafeStrcpy(eng_sound_settings.referenceFile, referenceFile, sizeof(eng_sound_settings.referenceFile));
        }
        else
            eng_sound_settings.referenceFlag = 0;
    }
    return EngSoundUpdate(NULL);
}

char EngSoundUpdate(const char *unused)
{
    if (eng_sound_settings.requestedSystem == eng_sound_settings.activeSystem &&
        eng_sound_settings.activeSystem != ENG_SOUND_SYSTEM_NONE)
        return 1;
    EngSoundDestroy_DX9();
    eng_sound_settings.activeSystem = ENG_SOUND_SYSTEM_NONE;
    if (eng_sound_settings.requestedSystem != ENG_SOUND_SYSTEM_DX)
    {
        DebugError(ENG_FUNC, "Unknown sound system %d", eng_sound_settings.requestedSystem);
        return 0;
    }
    // Active only once it has started, so that a failed start is retried, never taken as running.
    if (!EngSoundInit_DX9())
        return 0;
    eng_sound_settings.activeSystem = ENG_SOUND_SYSTEM_DX;
    return 1;
}

void EngSoundDestroy()
{
    EngSoundDestroy_DX9();
    eng_sound_settings.activeSystem = ENG_SOUND_SYSTEM_NONE;
}

int EngSoundGetActiveSystem()
{
    return eng_sound_settings.activeSystem;
}

EngSound::EngSound()
    : loaded(0), duration(0.0f), baseFrequency(0), buffer(nullptr), buffer3d(nullptr), systemSerial(0), format()
{
}

EngSound::EngSound(const char *file, char want3d, const char *name) : EngSound()
{
    if (!file || !*file)
    {
        DebugError(ENG_FUNC, "No filename");
        return;
    }
    if (!EngFileExists(file, false))
    {
        DebugError(ENG_FUNC, "Filename does not exist <%s>", file);
        return;
    }
    LoadSoundFromFile(file, want3d);
    if (!loaded)
        DebugError(ENG_FUNC, "Could not load sound");
}

EngSound::~EngSound()
{
    DestroyDX();
}

void EngSound::Destroy()
{
    DestroyDX();
}

char EngSound::LoadSoundFromFile(const char *file, char want3d)
{
    if (!SystemIsDX(ENG_FUNC))
        return 0;
    if (!eng_sound_settings.allow3d)
        want3d = 0;
    loaded = (uint8_t)LoadSoundFromFileDX(file, want3d);
    return (char)loaded;
}

char EngSound::Play()
{
    return SystemIsDX(ENG_FUNC) ? PlayDX() : 0;
}

char EngSound::PlayLooped()
{
    return SystemIsDX(ENG_FUNC) ? PlayLoopedDX() : 0;
}

void EngSound::Stop()
{
    if (SystemIsDX(ENG_FUNC))
        StopDX();
}

void EngSound::SetVolume(float volume)
{
    if (SystemIsDX(ENG_FUNC))
        SetVolumeDX(volume);
}

void EngSound::SetPitch(float factor)
{
    if (SystemIsDX(ENG_FUNC))
        SetPitchDX(factor);
}
