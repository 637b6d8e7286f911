#include "EngRandom.h"

#include <gtest/gtest.h>

#include <cstring>

#include "PlatShell.h"

TEST(Random, ReferenceSequenceForSeed5489)
{
    EngRandomGenerator generator;
    generator.Seed(5489);
    EXPECT_EQ(generator.GetRandom(), 3499211612u);
    for (int draw = 2; draw < 10000; draw++)
        generator.GetRandom();
    EXPECT_EQ(generator.GetRandom(), 4123659995u);

    // Seeding again starts the same sequence over.
    generator.Seed(5489);
    EXPECT_EQ(generator.GetRandom(), 3499211612u);
}

TEST(Random, GetChance)
{
    EngRandomGenerator generator;
    EngRandomGenerator reference;
    generator.Seed(1234);
    reference.Seed(1234);
    // Below 1: always false, and nothing is drawn.
    for (int n : {0, -1, -1000})
        EXPECT_FALSE(generator.GetChance(n));
    for (int i = 0; i < 200; i++)
    {
        uint32_t value = reference.GetRandom();
        ASSERT_EQ(generator.GetChance(1), (value & 1) != 0) << i;
    }
    struct Row
    {
        int n;
        uint32_t modulus;
    } rows[] = {{6, 7}, {99, 100}, {2147483647, 2147483648u}};
    for (const Row &row : rows)
    {
        SCOPED_TRACE(row.n);
        for (int i = 0; i < 50; i++)
            ASSERT_EQ(generator.GetChance(row.n), reference.GetRandom() % row.modulus != 0);
    }
}

namespace
{
bool FailRandom(void *, size_t)
{
    return false;
}
bool ZeroRandom(void *out, size_t size)
{
    memset(out, 0, size);
    return true;
}
} // namespace

TEST(Random, SystemSeedAndItsFallback)
{
    EngRandomGenerator first;
    EngRandomGenerator second;
    EXPECT_EQ(first.SeedFromSystem(), 0);
    EXPECT_EQ(second.SeedFromSystem(), 0);
    EXPECT_NE(first.GetRandom(), second.GetRandom());

    PlatShellFunctions failing = {FailRandom, nullptr, nullptr};
    PlatShellSetFunctions(&failing);
    EngRandomGenerator fallback;
    EXPECT_EQ(fallback.SeedFromSystem(), 1);
    uint32_t values[4] = {fallback.GetRandom(), fallback.GetRandom(), fallback.GetRandom(), fallback.GetRandom()};
    EXPECT_FALSE(values[0] == values[1] && values[1] == values[2] && values[2] == values[3]);

    // An all-zero system answer must not leave the generator stuck at zero.
    PlatShellFunctions zeros = {ZeroRandom, nullptr, nullptr};
    PlatShellSetFunctions(&zeros);
    EngRandomGenerator zeroed;
    EXPECT_EQ(zeroed.SeedFromSystem(), 0);
    uint32_t any = 0;
    for (int i = 0; i < 10; i++)
        any |= zeroed.GetRandom();
    EXPECT_NE(any, 0u);
    PlatShellSetFunctions(nullptr);
}
