// Stand-in for the tracker-music library the game plays its music with: one module at a time,
// loaded from a file, rendered by libopenmpt and mixed into the sound stand-in's output beside
// the sound effects. Every operation is safe before set-up and with nothing loaded: it fails
// (0, or PLAT_MUSIC_NO_POSITION) and sets the error text. Main thread only.
#pragma once
#include <cstdint>

constexpr uint32_t PLAT_MUSIC_VERSION = 2;      // what PlatMusicGetVersion answers
constexpr int PLAT_MUSIC_DEFAULT_DEVICE = -1;   // the one output device
constexpr uint32_t PLAT_MUSIC_AMPLIFY_MAX = 50; // full level; 0 is silent

enum PlatMusicLoadFlags
{
    PLAT_MUSIC_SMOOTH = 0x0001, // interpolated samples and ramped volume changes
    PLAT_MUSIC_LOOP = 0x0400,   // the song starts again after its end (else it stops)
};

// A position: the order in the low 16 bits, the row in the high 16 bits.
constexpr uint32_t PlatMusicPosition(uint32_t order, uint32_t row)
{
    return (order & 0xffffu) | ((row & 0xffffu) << 16);
}
constexpr uint32_t PLAT_MUSIC_NO_POSITION = 0xffffffffu;

uint32_t PlatMusicGetVersion();
// The name and version of the player underneath, for the log.
const char *PlatMusicGetPlayerText();
// Sets the library up on `device` (PLAT_MUSIC_DEFAULT_DEVICE) at `rate` Hz (the output keeps
// its rate when already open; modules are rendered at whatever rate it has). Flags are
// reserved. A second call without PlatMusicFree fails.
int PlatMusicInit(int device, uint32_t rate, uint32_t flags);
// Frees the module and the library; PlatMusicInit may follow.
void PlatMusicFree();

// Loads a module file (any format the player knows), replacing the current one; it waits,
// stopped, at its start. `flags` are PlatMusicLoadFlags.
int PlatMusicLoad(const char *file, uint32_t flags);
void PlatMusicFreeModule();
// Plays from the current position.
int PlatMusicPlay();
int PlatMusicIsPlaying();
// 0 (silent) .. PLAT_MUSIC_AMPLIFY_MAX (full level); larger values count as the maximum.
// Kept for modules loaded later.
int PlatMusicSetAmplify(uint32_t amplification);
// The amplification last set, as kept (0 .. PLAT_MUSIC_AMPLIFY_MAX).
uint32_t PlatMusicGetAmplify();
// The current position (see PlatMusicPosition); PLAT_MUSIC_NO_POSITION without a module.
uint32_t PlatMusicGetPosition();
// Moves to a position PlatMusicGetPosition gave; one outside the song fails and changes nothing.
int PlatMusicSetPosition(uint32_t position);

const char *PlatMusicGetErrorText();
