// The view's start-up: hands the play-screen drawing, the particle effects, the animated
// text and the game sound to the rules (ViewHooks.h), and the progress tones of the
// place box to the sound module.
#pragma once

struct _ViewHooks;

// The drawing, effects and animated-text members of the rules' table.
void PlayScreenFillViewHooks(_ViewHooks *hooks);
// Registers every view module with the rules (the sound members from SoundFillViewHooks) (once at start-up, before the first game).
void GameViewSetup();
// Takes them back (the rules run headless again).
void GameViewShutdown();
