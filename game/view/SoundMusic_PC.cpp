// The music back end over the tracker-music stand-in: one tune at a time, and every stop
// ends the library as well as the tune, so that whichever tune comes next can set it up again.
#include "EngDebug.h"
#include "PlatMusic.h"
#include "Sound.h"

enum
{
    MUSIC_RATE = 44100,      // Hz
    MUSIC_INIT_FLAGS = 16,
    MUSIC_LOAD_FLAGS = 1025, // looped and smoothed
};
static_assert(MUSIC_LOAD_FLAGS == (PLAT_MUSIC_LOOP | PLAT_MUSIC_SMOOTH));

// Amplification 0-100 as the library takes it: half, 0-50.
static uint32_t LibraryAmplification(int amplification)
{
    if (amplification < 0)
        amplification = 0;
    return (uint32_t)(amplification / 2);
}

char SoundPlayMusicFile(int amplification, const char *file, uint32_t position)
{
    const char *function = "SoundPlayMusicFile";
    if (PlatMusicGetVersion() != 2)
    {
        DebugError(function, "BASSMOD version 2 was not loaded");
        return 0;
    }
    // A tune left set up by anyone would make the set-up below fail.
    PlatMusicFree();
    if (!PlatMusicInit(PLAT_MUSIC_DEFAULT_DEVICE, MUSIC_RATE, MUSIC_INIT_FLAGS))
    {
        DebugError(function, "Can't initialize device - %s", PlatMusicGetErrorText());
        return 0;
    }
    if (!PlatMusicLoad(file, MUSIC_LOAD_FLAGS))
    {
        DebugError(function, "Error loading song - %s", PlatMusicGetErrorText());
        PlatMusicFree();
        return 0;
    }
    PlatMusicSetAmplify(LibraryAmplification(amplification));
    // A position the tune does not have (an old or damaged player file) starts it from the top.
    if (position > 0 && !PlatMusicSetPosition(position))
        DebugError(function, "Music position %u not used - %s", (unsigned)position, PlatMusicGetErrorText());
    if (!PlatMusicPlay())
    {
        DebugError(function, "Music does not play - %s", PlatMusicGetErrorText());
        PlatMusicFree();
        return 0;
    }
    return 1;
}

void SoundMusicSetAmplify(int amplification)
{
    if (!PlatMusicSetAmplify(LibraryAmplification(amplification)))
        DebugError(ENG_FUNC, "%s", PlatMusicGetErrorText());
}

uint32_t SoundMusicGetPosition()
{
    uint32_t position = PlatMusicGetPosition();
    return position == PLAT_MUSIC_NO_POSITION ? 0 : position;
}

void SoundMusicFree()
{
    PlatMusicFree();
}
