// Stand-in for the sound-buffer service and the wave-file reading the engine's sound back end
// uses: one SDL2 audio output, fed by a mixer of our own (static buffers played once or looped,
// volume in hundredths of a decibel, frequency in Hz) plus one stream (the music).
// No SDL type crosses this header. Every change to what plays happens under the audio lock.
#pragma once
#include <cstdint>

// ---- Wave files ------------------------------------------------------------------------
// The format record as a wave file's "fmt " chunk holds it (18 bytes; a 16-byte chunk
// leaves extraSize 0).
struct PlatSoundFormat
{
    uint16_t formatTag;             // 1 = PCM, the only one played
    uint16_t channels;              // 1 or 2
    uint32_t samplesPerSecond;      // Hz
    uint32_t averageBytesPerSecond; // as stored in the file
    uint16_t blockAlign;            // bytes per frame: channels x bits / 8
    uint16_t bitsPerSample;         // 8 (unsigned) or 16 (signed)
    uint16_t extraSize;             // bytes of format extension after the record
};

enum PlatSoundWaveResult
{
    PLAT_WAVE_OK = 1,
    PLAT_WAVE_CANNOT_OPEN = 0, // missing or unreadable file
    PLAT_WAVE_NOT_PCM = -1,    // a readable wave file of another format tag
    PLAT_WAVE_BAD_FILE = -2,   // not a wave file, a missing or oversized chunk, a short read,
                               // zero or unplayable channels, bits or rate
};

// Reads a whole RIFF/WAVE file: its format and its "data" chunk (cut to whole frames) in a
// malloc'ed block the caller frees with PlatSoundFreeWave. Every step is checked; a failure
// leaves *data NULL and sets the error text.
int PlatSoundReadWave(const char *path, PlatSoundFormat *format, void **data, uint32_t *dataBytes);
void PlatSoundFreeWave(void *data);
// A whole file of at most `maxBytes` in a malloc'ed block (free()), its length in *size;
// NULL with the error text set. Also what the music library reads modules with.
void *PlatSoundReadFile(const char *path, long maxBytes, long *size);

// ---- The sound system --------------------------------------------------------------------
// Opens the audio output (44100 Hz stereo, 16-bit) and the mixer.
// 0 when it is already created or no output can be opened.
int PlatSoundCreate();
// Frees every buffer still alive and closes the output (kept open while music uses it).
void PlatSoundDestroy();
// Checks the format the sounds will mostly have (PCM, 1-2 channels, 8/16 bits, 100-200000 Hz;
// 0 for anything else) and raises the output rate to its rate when that is higher. The output
// stays stereo and at least 44100 Hz, so that music keeps its quality.
int PlatSoundSetPrimaryFormat(const PlatSoundFormat *format);
// The text of the last failure of any PlatSound function.
const char *PlatSoundGetErrorText();

// ---- Static buffers --------------------------------------------------------------------
struct PlatSoundBuffer;

enum PlatSoundBufferFlags
{
    PLAT_SOUND_CTRL_VOLUME = 0x01,
    PLAT_SOUND_CTRL_FREQUENCY = 0x02,
};

enum
{
    PLAT_SOUND_VOLUME_SILENT = -10000, // hundredths of a decibel
    PLAT_SOUND_VOLUME_FULL = 0,
    PLAT_SOUND_FREQUENCY_MIN = 100,    // Hz
    PLAT_SOUND_FREQUENCY_MAX = 200000, // Hz
};

// A stopped buffer holding a copy of the PCM data (whole frames of the format), at full
// volume and the format's frequency; NULL for a bad format or no sound system.
PlatSoundBuffer *PlatSoundCreateBuffer(const PlatSoundFormat *format, const void *data, uint32_t dataBytes,
                                       uint32_t flags);
void PlatSoundReleaseBuffer(PlatSoundBuffer *buffer);
// Starts from the current position; looped buffers wrap to the start without a gap.
int PlatSoundPlay(PlatSoundBuffer *buffer, int looped);
// Stops after a fade of a few milliseconds; the position stays where it was.
int PlatSoundStop(PlatSoundBuffer *buffer);
int PlatSoundSetPosition(PlatSoundBuffer *buffer, uint32_t frame);
int PlatSoundIsPlaying(PlatSoundBuffer *buffer);
// Hundredths of a decibel, clamped to -10000 (silent) .. 0; needs PLAT_SOUND_CTRL_VOLUME.
int PlatSoundSetVolume(PlatSoundBuffer *buffer, int32_t hundredthsOfDb);
// Playback rate in Hz, clamped to 100 .. 200000; both need PLAT_SOUND_CTRL_FREQUENCY.
int PlatSoundSetFrequency(PlatSoundBuffer *buffer, uint32_t hertz);
int PlatSoundGetFrequency(PlatSoundBuffer *buffer, uint32_t *hertz);

// ---- The stream and the lock (for the music library) --------------------------------------
// Fills `frames` interleaved stereo float frames at `rate` Hz, every one of them (zeros when
// silent). Runs on the audio thread, under the audio lock.
typedef void (*PlatSoundStreamFn)(void *context, float *stereo, int frames, int rate);
// Opens the output for a user other than the sound system (first user picks `rate`); each
// successful call needs one PlatSoundReleaseOutput.
int PlatSoundAcquireOutput(int rate);
void PlatSoundReleaseOutput();
// The one stream mixed into the output; NULL removes it.
void PlatSoundSetStream(PlatSoundStreamFn stream, void *context);
// Holds the audio thread off while the caller changes what it reads; nestable.
void PlatSoundLock();
void PlatSoundUnlock();
// The output's current rate in Hz (0 when closed) and the name of the audio driver under it.
int PlatSoundGetOutputRate();
const char *PlatSoundGetOutputDriver();

// ---- Tests and benchmarks -----------------------------------------------------------------
// A paused output stops pulling frames; PlatSoundMixFrames then renders the next frames
// exactly as the output would: 16-bit stereo, interleaved.
void PlatSoundPauseOutput(int paused);
void PlatSoundMixFrames(int16_t *out, int frames);
