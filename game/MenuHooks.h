// The menu screens as the game's persistence calls them: the pause screen's "START NEW
// GAME" label, going to a screen, the game set-up screen's refresh and automatic score
// submission, and the auto-submit question. The bodies are placeholders
// (MenuHooksPlaceholder.cpp) until the menu screens land; the names are theirs.
#pragma once
#include "EngTypes.h"

// The pause screen's quit button reads "START NEW GAME" the next time it starts.
void PauseShowStartNewGame();
// Changes the menu screen (inside the GUI's fade).
void MenuGotoScreen(ScreenId screen);
// The four-letter id of the current menu screen; 0 when none runs.
ScreenId MenuGetCurrentScreen();
// Refreshes the game set-up screen for the current game type.
void MainUpdateGameSetupButtons();
// The game set-up screen submits the last score online at its next tick.
void MainRequestAutoSubmitScore();
// The yes/no popup "AUTO SUBMIT SCORES"; the answer sets the auto-submit option.
void OptionsAskAutoSubmitScores();
