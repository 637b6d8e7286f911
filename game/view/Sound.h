// The game's sound and music: a bank of 50 sound slots loaded from the game's wave files
// (some files several times, so that copies can sound at once), play operations that apply
// the player's volume and the game's pitch rules, the GUI's button sounds, and the music
// (the game tune and the game-over tune) with its volume ramp. Sound effects play through
// EngSound; the music through the tracker-music back end (SoundMusic_PC.cpp).
//
// Everything is silent, and quietly does nothing, while the start-up record's sound (or music)
// flag is off, the player's volume is 0 or the bank failed to load. Main thread only.
#pragma once
#include <cstdint>

class EngSound;

enum
{
    SOUND_NUM_SLOTS = 50,
    SOUND_NUM_INSTANCES = 5,       // removal (and fall) sounds that can sound at once
    SOUND_SLOT_REMOVE_FIRST = 16,  // 16-20: "BallRemove.wav", instances 0-4
    SOUND_SLOT_FALLING_FIRST = 21, // 21-25: "BallFalling.wav", instances 0-4
    SOUND_SLOT_PROGRESS_FIRST = 26, // 26-45: progress tone (row, column) at 26 + 4 row + column
    SOUND_PROGRESS_ROWS = 5,
    SOUND_PROGRESS_COLUMNS = 4,
    SOUND_SLOT_GUI_CLICK = 46,     // GUI event 2, a value changed
    SOUND_SLOT_GUI_ON = 47,        // GUI event 3
    SOUND_SLOT_GUI_PRESS = 48,     // GUI event 0, a push button fired
    SOUND_SLOT_GUI_SHORT = 49,     // GUI event 1
    SOUND_MUSIC_RAMP_UP_PER_SECOND = 20,   // amplification units (0-100)
    SOUND_MUSIC_RAMP_DOWN_PER_SECOND = 50,
};

// ---- Life cycle ------------------------------------------------------------------------------
// Starts the sound system and loads the bank (then applies the volumes). Does nothing and
// answers 1 while the sound flag is off or the game-sounds volume is below 1; a second call
// with the bank loaded answers 1. A failure ("Could not init", or a sound that would not load)
// leaves the sound system ended and the bank empty, and answers 0.
char SoundInit();
// At shut-down: every sound released and the sound system ended, then the music stopped
// (its position remembered in the player's options). Afterwards the module is as at start.
void SoundReleaseAll();
// After a player is created or loaded: the game-sounds volume applied (loading or unloading
// the bank) and the music set to the menu-music volume. The options of a player with none
// loaded are zero, so without this nothing would sound until the first game.
void SoundAfterUserCreatedOrLoaded();

// The Program's fade: while it answers nonzero, looped sounds do not start. NULL: never.
typedef char (*SoundFadeQueryFn)();
void SoundSetFadeQuery(SoundFadeQueryFn isFading);
// The GUI's sound callback: event 0 (a push button fired) plays slot 48, 1 slot 49, 2 (a value
// changed) slot 46, 3 slot 47; any other event nothing. `userValue` is not used.
void SoundGuiCB(int event, int userValue);

// ---- Slots -----------------------------------------------------------------------------------
// Play once / looped (looped: not while a fade runs), stop. Out-of-range slots are refused.
void SoundPlay(int slot);
void SoundPlayLooped(int slot);
void SoundStop(int slot);
// The slot's volume: the player's game-sounds level x `level` clamped to 0 .. 1.
void SoundSetLevel(int slot, float level);
// A progress tone of row 0-4 and column 0-3 at `pitch` (a factor of its own rate), once.
void SoundPlayProgress(int row, int column, float pitch);

// ---- Special-ball loops ----------------------------------------------------------------------
// The loop of a wildcard (10) or exploding (11) ball; stone (12) has none. Counted per type,
// started only in play: two balls of a type start it once and it stops with the last.
void SoundPlaySpecial(int ballType);
// One ball of the type is gone (or, with `all`, every one): at a count of 0 the loop stops.
void SoundStopSpecial(int ballType, char all);

// ---- Removal and fall sounds -----------------------------------------------------------------
// Starts a looped removal (fall) sound on the first free instance and answers it (0-4), or -1
// when all five sound or sound is off. A `pitch` above 0 is applied at once.
int SoundPlayRemove(float pitch);
int SoundPlayFalling(float pitch);
// Pitch factor 0.25 + 1.75 x (base + 0.7 pitch) (fall: 0.8 pitch); the base falls with the
// instance: 0.3 x (1 - 0.25 i) for removal, 0.2 x (1 - 0.25 i) for falls.
void SoundSetRemovePitch(int instance, float pitch);
void SoundSetFallingPitch(int instance, float pitch);
// Stops the instance's sound and frees the instance; -1 is ignored.
void SoundStopRemove(int instance);
void SoundStopFalling(int instance);

// Stops the roll loops (clearing the game state's roll flags), the special-ball loops and the
// flight loop; with `instancesToo` every removal and fall instance as well.
void SoundStopLoops(char instancesToo);
// Every game sound: the loops, the instances and the game-over music.
void SoundStopAll();

// ---- Volumes ---------------------------------------------------------------------------------
// The level of a volume option 0-10: L(v) = g(g(v / 10)), g(x) = (e^x - 1) / (e - 1).
// Values outside 0-10 count as the nearest end.
float SoundGetVolumeLevel(int volume);
// Applies the player's game-sounds volume: 0 releases every sound and ends the sound system;
// above 0 loads the bank when needed and sets every slot to the level (progress tones 0.4 of it).
void SoundUpdateGameSoundsVolume();
// The music volume 0-10 (menu or game music: the same tune). 0 remembers the position and fades
// the music out (then frees it); above 0 starts the tune at the remembered position when it does
// not play, and ramps its amplification to L(v) x 100.
void SoundUpdateGameMusicVolume(int volume);
// Moves the music's amplification toward its target by the frame's time (20 a second up, 50
// down); on reaching 0 the music is freed. Called every frame.
void SoundTickMusic(float frameSeconds);

// ---- Game-over music -------------------------------------------------------------------------
// At game over, with a game-over-music volume of 1 or more: the game music stops (its position
// remembered) and the game-over tune plays from its start.
void SoundStartGameOverMusic();
void SoundStopGameOverMusic();
// Both tunes stopped and freed; the game music's position remembered.
void SoundStopMusic();

// ---- State (for the screens and tests) ---------------------------------------------------------
char SoundIsLoaded();
// The slot's sound object; NULL for a slot outside 0-49 or not loaded.
EngSound *SoundGetSlot(int slot);
char SoundIsMusicPlaying();
char SoundIsGameOverMusicPlaying();
// The music's amplification target (0-100) and the value last sent (0-100; the library gets half).
int SoundGetMusicTarget();
int SoundGetMusicAppliedAmplification();

// ---- The start-up record (SoundSettings.cpp) ----------------------------------------------------
// Its music flag (`music` nonzero) or sound flag, as 1 or 0.
char SoundGetStartupFlag(char music);

// ---- What the music back end provides (SoundMusic_PC.cpp) -------------------------------------
// Sets the library up, loads `file` (looped, smoothed), sets amplification / 2, moves to
// `position` when above 0 and plays. Anything loaded before is freed first; a failure frees it
// all again and answers 0 after reporting.
char SoundPlayMusicFile(int amplification, const char *file, uint32_t position);
// Sends amplification / 2 (0-50) to the library.
void SoundMusicSetAmplify(int amplification);
// The playing tune's position, or 0 when it cannot be told.
uint32_t SoundMusicGetPosition();
// Frees the tune and ends the library (so that the next tune can start it again).
void SoundMusicFree();
