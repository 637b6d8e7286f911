// Sound effects: the sound system is chosen and started once (EngSoundInit); EngSound objects
// then load PCM wave files into static buffers and play them once or looped, stop them and
// change their volume and pitch. The one back end (`DX`, EngSoundDX.cpp) plays through the
// platform's sound stand-in. Everything runs on the main thread.
#pragma once
#include <cstdint>

enum _EngSoundSystem
{
    ENG_SOUND_SYSTEM_NONE = 0,
    ENG_SOUND_SYSTEM_DX = 1,
};

enum
{
    ENG_SOUND_REFERENCE_NAME_SIZE = 512, // up to 511 characters
};

// The format record of a wave file as its "fmt " chunk holds it (18 bytes).
struct _EngWaveFormat
{
    uint16_t formatTag;             // 1 = PCM
    uint16_t channels;
    uint32_t samplesPerSecond;      // Hz
    uint32_t averageBytesPerSecond;
    uint16_t blockAlign;
    uint16_t bitsPerSample;
    uint16_t extraSize;
};

// Stores the settings and starts the system (EngSoundUpdate). `referenceFile`, when given,
// supplies the output's format; `value` is kept and not used.
char EngSoundInit(int system, char allow3d, char frequencyControl, char currentPosition2, const char *referenceFile,
                  int value);
// Starts the requested system unless it is the active one; the argument is not used.
char EngSoundUpdate(const char *unused);
// Ends the active system; sounds still holding buffers only report that later.
void EngSoundDestroy();
// The system that runs: ENG_SOUND_SYSTEM_DX after a successful start, else 0.
int EngSoundGetActiveSystem();

struct PlatSoundBuffer;

class EngSound
{
public:
    EngSound();
    // Loads the file at once; the name is not used.
    EngSound(const char *file, char want3d, const char *name);
    ~EngSound();
    EngSound(const EngSound &) = delete;
    EngSound &operator=(const EngSound &) = delete;

    char LoadSoundFromFile(const char *file, char want3d);
    // Plays from the start, once or looped.
    char Play();
    char PlayLooped();
    void Stop();
    // Volume 0 .. 1 on a logarithmic scale (0.5 is -6 dB); pitch as a factor of the file's rate.
    void SetVolume(float volume);
    void SetPitch(float factor);
    void Destroy();

    bool IsLoaded() const { return loaded != 0; }
    float GetDuration() const { return duration; } // seconds
    uint32_t GetBaseFrequency() const { return baseFrequency; }
    const _EngWaveFormat &GetFormat() const { return format; }
    bool Has3D() const { return buffer3d != nullptr; }

    // ---- What the back end provides (EngSoundDX.cpp) --------------------------------------
    char LoadSoundFromFileDX(const char *file, char want3d);
    char PlayDX();
    char PlayLoopedDX();
    void StopDX();
    void SetVolumeDX(float volume);
    void SetPitchDX(float factor);
    // Hz, clamped to 100 .. 200000.
    char SetFrequencyDX(uint32_t hertz);
    uint32_t GetFrequencyDX();
    void DestroyDX();

private:
    // The buffer, when it belongs to the sound system that runs now.
    PlatSoundBuffer *LiveBufferDX();

    uint8_t loaded;
    float duration;         // seconds: data bytes / average bytes per second
    uint32_t baseFrequency; // Hz, with frequency control; else 0
    PlatSoundBuffer *buffer;
    void *buffer3d;         // positional control; none on this platform
    uint32_t systemSerial;  // which start of the sound system made `buffer`
    _EngWaveFormat format;
};

// ---- What the back end provides (EngSoundDX.cpp) ---------------------------------------------
char EngSoundInit_DX9();
void EngSoundDestroy_DX9();

// The settings EngSoundInit stored, read by the back end.
struct _EngSoundSettings
{
    int requestedSystem; // _EngSoundSystem
    int activeSystem;    // _EngSoundSystem; 0 until a start succeeded
    uint8_t allow3d;
    uint8_t frequencyControl;
    uint8_t currentPosition2;
    uint8_t referenceFlag;
    char referenceFile[ENG_SOUND_REFERENCE_NAME_SIZE];
    int32_t value;
};
extern _EngSoundSettings eng_sound_settings;
