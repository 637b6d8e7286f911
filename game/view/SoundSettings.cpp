// The start-up record's sound and music flags, read in a file of their own: the start-up
// record's header and the game state's do not yet agree on the date record.
#include "Resolution.h"
#include "Sound.h"

char SoundGetStartupFlag(char music)
{
    const ResolutionSettings *settings = ResolutionGetSettings();
    return (music ? settings->musicOn : settings->soundOn) != 0;
}
