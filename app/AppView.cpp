// The play screen, effects, sound and music as the program drives them (see AppView.h).
#include "AppView.h"

#include "EngGlobals.h"
#include "GameFade.h"
#include "GameState.h"
#include "MWin.h"
#include "Sound.h"

namespace
{

char IsFadingCB()
{
    return GameFadeIsFading() ? 1 : 0;
}

} // namespace

// ---- Sound and music ----------------------------------------------------------------------------------

bool AppViewSoundInit()
{
    SoundSetFadeQuery(IsFadingCB);
    return SoundInit() != 0;
}

void AppViewReleaseSound()
{
    SoundReleaseAll();
}

void AppViewSetMusicVolume(int option)
{
    SoundUpdateGameMusicVolume(option);
}

void AppViewStopMusic()
{
    SoundStopMusic();
}

void AppViewTickMusic()
{
    SoundTickMusic(EngFrameTiming.frameTime);
}

void AppViewStopSoundLoops(char instancesToo)
{
    SoundStopLoops(instancesToo);
}

void AppViewAfterUserLoaded()
{
    SoundAfterUserCreatedOrLoaded();
}

void AppViewSetGuiSoundCallback()
{
    if (SoundGetStartupFlag(0))
        mwin_object.SetSoundCallback(SoundGuiCB, 0);
}

// ---- Effects ------------------------------------------------------------------------------------------

void AppViewSetupEffects() {}
bool AppViewCreateEffectGraphics() { return true; }
void AppViewReleaseEffectGraphics() {}
void AppViewStopBallEffects() {}
void AppViewStartMenuEffect() {}
void AppViewStopMenuEffect() {}
void AppViewTickMenuEffect() {}
void AppViewTickGameEffects() {}
void AppViewRenderGameEffects() {}
void AppViewRenderMenuEffect() {}

// ---- Drawing ------------------------------------------------------------------------------------------

void AppViewPreDeviceSetup() {}
bool AppViewCreateBallGraphics() { return true; }
void AppViewReleaseBallGraphics() {}
bool AppViewCreateMenuGraphics() { return true; }
void AppViewReleaseMenuGraphics() {}
void AppViewReleasePlayGraphics() {}
void AppViewRenderMenuBackground() {}
void AppViewRenderPlayScreen() {}
void AppViewRenderLevelTexts() {}
void AppViewAfterCreateLayout() {}
