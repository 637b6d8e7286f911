// Sound and music on in the start-up record, set in a file of their own (the start-up
// record's header and the game state's do not yet agree on the date record).
#include "Resolution.h"

void SoundBenchSetStartupFlags()
{
    ResolutionGetSettings()->soundOn = 1;
    ResolutionGetSettings()->musicOn = 1;
}
