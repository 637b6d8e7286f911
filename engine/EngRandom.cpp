// MT19937 with the published constants; the system seed comes from the system's random source.
#include "EngRandom.h"

#include <sys/time.h>

#include <cstring>
#include <ctime>

#include "EngMisc.h"

EngRandomGenerator::EngRandomGenerator()
{
    memset(state, 0, sizeof(state));
    index = STATE_WORDS;
    spare = 0;
    SeedFromSystem();
}

void EngRandomGenerator::Seed(uint32_t seed)
{
    state[0] = seed;
    for (uint32_t i = 1; i < STATE_WORDS; i++)
        state[i] = 1812433253u * (state[i - 1] ^ (state[i - 1] >> 30)) + i;
    index = STATE_WORDS;
}

uint32_t EngRandomHash(uint32_t key)
{
    key += ~(key << 15);
    key ^= key >> 10;
    key *= 9;
    key ^= key >> 6;
    key += ~(key << 11);
    key ^= key >> 16;
    return key;
}

int EngRandomGenerator::SeedFromSystem()
{
    if (EngMiscGetSystemRandomBytes_PC(state, sizeof(state), nullptr))
    {
        // The top bit keeps the state from being all zero.
        state[0] |= 0x80000000u;
        index = STATE_WORDS;
        return 0;
    }
    timeval now;
    gettimeofday(&now, nullptr);
    uint32_t ticks = (uint32_t)clock();
    uint32_t milliseconds = (uint32_t)(now.tv_usec / 1000);
    uint32_t seconds = (uint32_t)now.tv_sec;
    Seed(EngRandomHash(ticks) ^ EngRandomHash(milliseconds) ^ EngRandomHash(seconds));
    return 1;
}

void EngRandomGenerator::Regenerate()
{
    const uint32_t upperMask = 0x80000000u;
    const uint32_t lowerMask = 0x7FFFFFFFu;
    const uint32_t matrix = 0x9908B0DFu;
    for (uint32_t i = 0; i < STATE_WORDS; i++)
    {
        uint32_t bits = (state[i] & upperMask) | (state[(i + 1) % STATE_WORDS] & lowerMask);
        state[i] = state[(i + 397) % STATE_WORDS] ^ (bits >> 1) ^ ((bits & 1u) ? matrix : 0u);
    }
    index = 0;
}

uint32_t EngRandomGenerator::GetRandom()
{
    if (index >= STATE_WORDS)
        Regenerate();
    uint32_t value = state[index++];
    value ^= value >> 11;
    value ^= (value << 7) & 0x9D2C5680u;
    value ^= (value << 15) & 0xEFC60000u;
    value ^= value >> 18;
    return value;
}

bool EngRandomGenerator::GetChance(int n)
{
    if (n < 1)
        return false;
    return GetRandom() % ((uint32_t)n + 1u) != 0;
}
