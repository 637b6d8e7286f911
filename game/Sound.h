// The game's sound module as the game rules call it: sound slots played once or looped,
// the special-ball loops, the removal and fall instances, the stop operations and the
// game-over music. The bodies are placeholders (SoundPlaceholder.cpp) until the game
// sound module lands; the slot numbers and signatures are its own.
#pragma once

enum _GameSoundSlot
{
    SOUND_GRID_LAND = 0,      // a ball lands
    SOUND_GRID_ALIGN = 1,     // a ball bounces off a wall
    SOUND_BALL_ROLLING = 2,   // loop while balls fly
    SOUND_ARCADE_ROLL = 3,    // loop of the continuous descent
    SOUND_STRATEGIC_ROLL = 4, // loop while the grid moves in per-shot mode
    SOUND_LEVEL_START = 5,
    SOUND_BOUNCE = 6,         // a group removed by a bank shot
    SOUND_BALL_LAUNCH = 13,
    SOUND_EXPLOSION = 14,
    SOUND_LIFE_OVER = 15,
};

void SoundPlay(int slot);
void SoundPlayLooped(int slot);
void SoundStop(int slot);
// Sets the level (0 to 1) the slot plays at.
void SoundSetLevel(int slot, float level);
// The loop of a wildcard or exploding ball in play; counted, so two balls of a type
// start it once and it stops with the last.
void SoundPlaySpecial(int ballType);
void SoundStopSpecial(int ballType, char all);
// A removal or fall sound on an instance of its own; -1 when none is free.
int SoundPlayRemove(float pitch);
int SoundPlayFalling(float pitch);
void SoundSetRemovePitch(int instance, float pitch);
void SoundSetFallingPitch(int instance, float pitch);
void SoundStopRemove(int instance);
void SoundStopFalling(int instance);
// Stops the roll loops (clearing the state's roll flags) and the special loops; with
// `instancesToo` the removal and fall instances as well.
void SoundStopLoops(char instancesToo);
// Stops every game sound: loops, instances and the game-over music.
void SoundStopAll();
void SoundUpdateGameSoundsVolume();
void SoundStartGameOverMusic();
void SoundStopGameOverMusic();
