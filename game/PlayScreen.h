// The play-screen drawing as the game rules call it: score and caption texts, the border
// tint and geometry, and the online place box. The bodies are placeholders
// (PlayScreenPlaceholder.cpp) until the play-screen module lands; the names are its own.
#pragma once

void PlinxRefreshScoreText();
void PlinxRefreshCaptionText();
// A new border tint, blended in or (with `atOnce`) at once.
void BordersNewTint(char atOnce);
void BordersTick(char force);
void BordersComputeLayout();
void PlinxSetupPlaceFinder();
// After a score change: refreshes the online place box when the place changed (always
// with `force`).
void PlinxUpdatePlace(int score, char force);
void PlinxTickPlace();
