// The view's own generator (see ViewLooks.h): made on first use, so nothing runs before
// the program starts.
#include "ViewLooks.h"

#include "EngRandom.h"

namespace
{
EngRandomGenerator &Generator()
{
    static EngRandomGenerator generator;
    return generator;
}
} // namespace

float ViewLooksRandom()
{
    return (float)(Generator().GetRandom() >> 8) * (1.0f / 16777216.0f);
}

void ViewLooksSeed(uint32_t seed)
{
    Generator().Seed(seed);
}
