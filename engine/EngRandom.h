// The engine's seedable random generator: the 32-bit Mersenne Twister MT19937, seeded
// from the system's random source, or from the clocks when that fails.
#pragma once
#include <cstdint>

class EngRandomGenerator
{
public:
    enum
    {
        STATE_WORDS = 624,
    };

    // Seeds itself from the system.
    EngRandomGenerator();

    // The reference MT19937 initialisation.
    void Seed(uint32_t seed);
    // 0 when seeded from the system's random source; 1 when the source failed and the
    // clocks seeded it instead.
    int SeedFromSystem();
    uint32_t GetRandom();
    // True with probability n / (n + 1); false (drawing nothing) for n below 1.
    bool GetChance(int n);

private:
    void Regenerate();

    uint32_t state[STATE_WORDS];
    uint32_t index; // next word; STATE_WORDS = regenerate first
    uint32_t spare; // kept 0
};

// The 32-bit integer hash that mixes the clock readings of the fall-back seed.
uint32_t EngRandomHash(uint32_t key);
