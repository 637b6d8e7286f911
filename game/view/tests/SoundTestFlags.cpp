// The start-up record's flags for the sound tests, set in a file of their own (the start-up
// record's header and the game state's do not yet agree on the date record).
#include "Resolution.h"

namespace soundtest
{
void SetStartupFlags(int soundOn, int musicOn);
}

void soundtest::SetStartupFlags(int soundOn, int musicOn)
{
    ResolutionGetSettings()->soundOn = (uint8_t)soundOn;
    ResolutionGetSettings()->musicOn = (uint8_t)musicOn;
}
