// Placeholder for the game sound module (see Sound.h): plays nothing. It keeps the one
// piece of state the rules rely on, the roll flags of the game state that stopping the
// loops clears. The game sound module replaces this file.
#include "GameState.h"
#include "Sound.h"

void SoundPlay(int slot) {}
void SoundPlayLooped(int slot) {}
void SoundStop(int slot) {}
void SoundSetLevel(int slot, float level) {}
void SoundPlaySpecial(int ballType) {}
void SoundStopSpecial(int ballType, char all) {}
int SoundPlayRemove(float pitch) { return -1; }
int SoundPlayFalling(float pitch) { return -1; }
void SoundSetRemovePitch(int instance, float pitch) {}
void SoundSetFallingPitch(int instance, float pitch) {}
void SoundStopRemove(int instance) {}
void SoundStopFalling(int instance) {}

void SoundStopLoops(char instancesToo)
{
    GameState.arcadeRollOn = 0;
    GameState.strategicRollOn = 0;
}

void SoundStopAll()
{
    SoundStopLoops(1);
}

void SoundUpdateGameSoundsVolume() {}
void SoundStartGameOverMusic() {}
void SoundStopGameOverMusic() {}
