// Placeholder for the play-screen module (see PlayScreen.h): draws nothing. The
// play-screen module replaces this file.
#include "PlayScreen.h"

void PlinxRefreshScoreText() {}
void PlinxRefreshCaptionText() {}
void BordersNewTint(char atOnce) {}
void BordersTick(char force) {}
void BordersComputeLayout() {}
void PlinxSetupPlaceFinder() {}
void PlinxUpdatePlace(int score, char force) {}
void PlinxTickPlace() {}
