// The view's own random numbers: border tints, the look of effects and anything else
// drawn at random. Never the game's seeded generator, so drawing cannot change play.
#pragma once
#include <cstdint>

// A value in [0, 1).
float ViewLooksRandom();
// Fixes the sequence (tests); the generator otherwise seeds itself from the system.
void ViewLooksSeed(uint32_t seed);
