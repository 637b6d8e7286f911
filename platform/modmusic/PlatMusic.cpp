// The tracker-music stand-in over libopenmpt: the module lives here, the sound stand-in's
// output pulls it as its stream on the audio thread; every change takes the audio lock.
#include "PlatMusic.h"

#include <libopenmpt/libopenmpt.h>

#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "PlatSound.h"

// Module files are small; a larger one is refused rather than read into memory.
static const long MAX_MODULE_FILE_BYTES = 32L * 1024 * 1024;
// Cubic (4-point) when smooth, nearest sample otherwise.
static const int SMOOTH_FILTER_TAPS = 4;

static struct
{
    bool initialised;
    openmpt_module *module;
    bool playing;
    uint32_t amplify;   // 0 .. PLAT_MUSIC_AMPLIFY_MAX
    float gainNow;      // the gain last rendered, ramped toward amplify / max per block
    char errorText[300];
    char playerText[64];
} s_music = {false, NULL, false, PLAT_MUSIC_AMPLIFY_MAX, 1.0f, "", ""};

static void SetError(const char *format, ...) __attribute__((format(printf, 1, 2)));
static void SetError(const char *format, ...)
{
    va_list args;
    va_start(args, format);
    vsnprintf(s_music.errorText, sizeof(s_music.errorText), format, args);
    va_end(args);
}

const char *PlatMusicGetErrorText()
{
    return s_music.errorText;
}

uint32_t PlatMusicGetVersion()
{
    return PLAT_MUSIC_VERSION;
}

const char *PlatMusicGetPlayerText()
{
    if (!s_music.playerText[0])
    {
        uint32_t version = openmpt_get_library_version();
        snprintf(s_music.playerText, sizeof(s_music.playerText), "libopenmpt %u.%u.%u", version >> 24,
                 (version >> 16) & 0xff, version & 0xffff);
    }
    return s_music.playerText;
}

// Runs on the audio thread under the audio lock: the module's next frames, at the gain of
// the amplification (ramped over the block, so a change never clicks).
static void RenderStreamCB(void *context, float *stereo, int frames, int rate)
{
    size_t rendered = 0;
    if (s_music.module && s_music.playing)
    {
        rendered = openmpt_module_read_interleaved_float_stereo(s_music.module, rate, (size_t)frames, stereo);
        // A song without the loop flag ends here.
        if (rendered == 0)
            s_music.playing = false;
    }
    float target = (float)s_music.amplify / (float)PLAT_MUSIC_AMPLIFY_MAX;
    float step = (target - s_music.gainNow) / (float)frames;
    for (size_t frame = 0; frame < rendered; frame++)
    {
        float gain = s_music.gainNow + step * (float)(frame + 1);
        stereo[2 * frame] *= gain;
        stereo[2 * frame + 1] *= gain;
    }
    s_music.gainNow = target;
    memset(stereo + 2 * rendered, 0, sizeof(float) * 2 * ((size_t)frames - rendered));
}

int PlatMusicInit(int device, uint32_t rate, uint32_t flags)
{
    if (s_music.initialised)
    {
        SetError("The music library is already set up");
        return 0;
    }
    if (device != PLAT_MUSIC_DEFAULT_DEVICE)
    {
        SetError("No output device %d", device);
        return 0;
    }
    if (rate < PLAT_SOUND_FREQUENCY_MIN || rate > PLAT_SOUND_FREQUENCY_MAX)
    {
        SetError("Rate %u Hz out of range", rate);
        return 0;
    }
    if (!PlatSoundAcquireOutput((int)rate))
    {
        SetError("%s", PlatSoundGetErrorText());
        return 0;
    }
    // The gain is set before the stream is handed to the audio thread, which reads it.
    s_music.amplify = PLAT_MUSIC_AMPLIFY_MAX;
    s_music.gainNow = 1.0f;
    s_music.initialised = true;
    PlatSoundSetStream(RenderStreamCB, NULL);
    return 1;
}

void PlatMusicFree()
{
    if (!s_music.initialised)
        return;
    PlatMusicFreeModule();
    PlatSoundSetStream(NULL, NULL);
    PlatSoundReleaseOutput();
    s_music.initialised = false;
}

// Whether the library is set up and holds a module; the error text says which is missing.
static bool HasModule()
{
    if (!s_music.initialised)
        SetError("The music library is not set up");
    else if (!s_music.module)
        SetError("No music loaded");
    return s_music.module != NULL;
}

int PlatMusicLoad(const char *file, uint32_t flags)
{
    if (!s_music.initialised)
    {
        SetError("The music library is not set up");
        return 0;
    }
    if (!file || !*file)
    {
        SetError("No file name");
        return 0;
    }
    PlatMusicFreeModule();
    long size = 0;
    void *bytes = PlatSoundReadFile(file, MAX_MODULE_FILE_BYTES, &size);
    if (!bytes)
    {
        SetError("%s", PlatSoundGetErrorText());
        return 0;
    }
    if (size == 0)
    {
        SetError("<%s> is empty", file);
        free(bytes);
        return 0;
    }
    int error = 0;
    const char *message = NULL;
    openmpt_module *module = openmpt_module_create_from_memory2(bytes, (size_t)size, openmpt_log_func_silent, NULL,
                                                                openmpt_error_func_store, NULL, &error, &message,
                                                                NULL);
    free(bytes);
    if (!module)
    {
        SetError("<%s> is not a module the player knows: %s", file, message ? message : openmpt_error_string(error));
        openmpt_free_string(message);
        return 0;
    }
    openmpt_free_string(message);
    openmpt_module_set_repeat_count(module, (flags & PLAT_MUSIC_LOOP) ? -1 : 0);
    openmpt_module_set_render_param(module, OPENMPT_MODULE_RENDER_INTERPOLATIONFILTER_LENGTH,
                                    (flags & PLAT_MUSIC_SMOOTH) ? SMOOTH_FILTER_TAPS : 1);
    if (!(flags & PLAT_MUSIC_SMOOTH))
        openmpt_module_set_render_param(module, OPENMPT_MODULE_RENDER_VOLUMERAMPING_STRENGTH, 0);
    PlatSoundLock();
    s_music.module = module;
    s_music.playing = false;
    PlatSoundUnlock();
    return 1;
}

void PlatMusicFreeModule()
{
    PlatSoundLock();
    openmpt_module *module = s_music.module;
    s_music.module = NULL;
    s_music.playing = false;
    PlatSoundUnlock();
    if (module)
        openmpt_module_destroy(module);
}

int PlatMusicPlay()
{
    if (!HasModule())
        return 0;
    PlatSoundLock();
    s_music.playing = true;
    PlatSoundUnlock();
    return 1;
}

int PlatMusicIsPlaying()
{
    PlatSoundLock();
    int playing = s_music.module && s_music.playing;
    PlatSoundUnlock();
    return playing;
}

int PlatMusicSetAmplify(uint32_t amplification)
{
    if (!s_music.initialised)
    {
        SetError("The music library is not set up");
        return 0;
    }
    PlatSoundLock();
    s_music.amplify = amplification < PLAT_MUSIC_AMPLIFY_MAX ? amplification : PLAT_MUSIC_AMPLIFY_MAX;
    PlatSoundUnlock();
    return 1;
}

uint32_t PlatMusicGetAmplify()
{
    PlatSoundLock();
    uint32_t amplify = s_music.amplify;
    PlatSoundUnlock();
    return amplify;
}

uint32_t PlatMusicGetPosition()
{
    if (!HasModule())
        return PLAT_MUSIC_NO_POSITION;
    PlatSoundLock();
    int32_t order = openmpt_module_get_current_order(s_music.module);
    int32_t row = openmpt_module_get_current_row(s_music.module);
    PlatSoundUnlock();
    if (order < 0 || row < 0)
        return PLAT_MUSIC_NO_POSITION;
    return PlatMusicPosition((uint32_t)order, (uint32_t)row);
}

int PlatMusicSetPosition(uint32_t position)
{
    if (!HasModule())
        return 0;
    int32_t order = (int32_t)(position & 0xffffu);
    int32_t row = (int32_t)(position >> 16);
    PlatSoundLock();
    int32_t pattern = order < openmpt_module_get_num_orders(s_music.module)
                          ? openmpt_module_get_order_pattern(s_music.module, order)
                          : -1;
    bool inside = pattern >= 0 && row < openmpt_module_get_pattern_num_rows(s_music.module, pattern);
    if (inside)
        openmpt_module_set_position_order_row(s_music.module, order, row);
    PlatSoundUnlock();
    if (!inside)
        SetError("Position %u:%u is outside the song", (unsigned)order, (unsigned)row);
    return inside ? 1 : 0;
}
