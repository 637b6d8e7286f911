// The play screen, effects, sound and music as the program drives them: one place that
// knows the names of the play-drawing and sound library.
#pragma once
#include "EngTypes.h"

// Hands the rules the play screen, sound, effects and animated text (ViewHooks.h), and
// the play screen its online place finder.
void AppViewRegisterHooks();
void AppViewRegisterPlaceFinder();
// Drops the place finder's online list (and a fetch under way); at program end.
void AppViewReleasePlaceFinder();

// ---- Sound and music ----
bool AppViewSoundInit();
void AppViewReleaseSound();
void AppViewSetMusicVolume(int option);
// Stops the music; its position goes into the working options.
void AppViewStopMusic();
void AppViewTickMusic();
void AppViewStopSoundLoops(char instancesToo);
void AppViewSetGuiSoundCallback();
// After a player was created or loaded: the player's sound and menu-music volumes.
void AppViewAfterUserLoaded();

// ---- Effects ----
void AppViewSetupEffects();
bool AppViewCreateEffectGraphics();
void AppViewReleaseEffectGraphics();
void AppViewStopBallEffects();
void AppViewStartMenuEffect();
void AppViewStopMenuEffect();
// The menu effect again at the player's menu effects level (the options changed it).
void AppViewRestartMenuEffect();
void AppViewTickMenuEffect();
void AppViewTickGameEffects();
void AppViewRenderGameEffects();
bool AppViewIsMenuEffectRunning();
void AppViewRenderMenuEffect();

// ---- Drawing ----
void AppViewPreDeviceSetup();
bool AppViewCreateBallGraphics();
// Every ball frame is stored in the per-user folder: loading the balls makes none.
bool AppViewBallFramesStored();
void AppViewReleaseBallGraphics();
bool AppViewCreateMenuGraphics();
void AppViewReleaseMenuGraphics();
void AppViewReleasePlayGraphics();
// The background with (or without) the title across the top and the maker's logo.
void AppViewRenderMenuBackground(bool withTitle);
void AppViewRenderPlayScreen();
void AppViewRenderLevelTexts();
void AppViewAfterCreateLayout();
// The game-over MENU box in design pixels, and the mouse over it.
const _Dimension *AppViewGetGameOverBox();
void AppViewSetGameOverMouse(float x, float y);
