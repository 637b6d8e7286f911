// The play screen, effects, sound and music as the program drives them: one place that
// knows the names of the play-drawing and sound library.
#pragma once

// ---- Sound and music ----
bool ViewSoundInit();
void ViewReleaseSound();
void ViewSetMusicVolume(int option);
// Stops the music; its position goes into the working options.
void ViewStopMusic();
void ViewTickMusic();
void ViewStopSoundLoops(char instancesToo);
void ViewSetGuiSoundCallback();
// After a player was created or loaded: the player's sound and menu-music volumes.
void ViewAfterUserLoaded();

// ---- Effects ----
void ViewSetupEffects();
bool ViewCreateEffectGraphics();
void ViewReleaseEffectGraphics();
void ViewStopBallEffects();
void ViewStartMenuEffect();
void ViewStopMenuEffect();
void ViewTickMenuEffect();
void ViewTickGameEffects();
void ViewRenderGameEffects();
void ViewRenderMenuEffect();

// ---- Drawing ----
void ViewPreDeviceSetup();
bool ViewCreateBallGraphics();
void ViewReleaseBallGraphics();
bool ViewCreateMenuGraphics();
void ViewReleaseMenuGraphics();
void ViewReleasePlayGraphics();
void ViewRenderMenuBackground();
void ViewRenderPlayScreen();
void ViewRenderLevelTexts();
void ViewAfterCreateLayout();
