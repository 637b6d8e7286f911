// Placeholder for the menu screens' services (see MenuHooks.h): remembers the screen it
// was sent to and does nothing else. The menu screens replace this file.
#include "MenuHooks.h"

static ScreenId s_screen = 0;

void PauseShowStartNewGame() {}
void MenuGotoScreen(ScreenId screen) { s_screen = screen; }
ScreenId MenuGetCurrentScreen() { return s_screen; }
void MainUpdateGameSetupButtons() {}
void MainRequestAutoSubmitScore() {}
void OptionsAskAutoSubmitScores() {}
