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

bool ViewSoundInit()
{
    SoundSetFadeQuery(IsFadingCB);
    return SoundInit() != 0;
}

void ViewReleaseSound()
{
    SoundReleaseAll();
}

void ViewSetMusicVolume(int option)
{
    SoundUpdateGameMusicVolume(option);
}

void ViewStopMusic()
{
    SoundStopMusic();
}

void ViewTickMusic()
{
    SoundTickMusic(EngFrameTiming.frameTime);
}

void ViewStopSoundLoops(char instancesToo)
{
    SoundStopLoops(instancesToo);
}

void ViewAfterUserLoaded()
{
    SoundAfterUserCreatedOrLoaded();
}

void ViewSetGuiSoundCallback()
{
    if (SoundGetStartupFlag(0))
        mwin_object.SetSoundCallback(SoundGuiCB, 0);
}

// ---- Effects ------------------------------------------------------------------------------------------

void ViewSetupEffects() {}
bool ViewCreateEffectGraphics() { return true; }
void ViewReleaseEffectGraphics() {}
void ViewStopBallEffects() {}
void ViewStartMenuEffect() {}
void ViewStopMenuEffect() {}
void ViewTickMenuEffect() {}
void ViewTickGameEffects() {}
void ViewRenderGameEffects() {}
void ViewRenderMenuEffect() {}

// ---- Drawing ------------------------------------------------------------------------------------------

void ViewPreDeviceSetup() {}
bool ViewCreateBallGraphics() { return true; }
void ViewReleaseBallGraphics() {}
bool ViewCreateMenuGraphics() { return true; }
void ViewReleaseMenuGraphics() {}
void ViewReleasePlayGraphics() {}
void ViewRenderMenuBackground() {}
void ViewRenderPlayScreen() {}
void ViewRenderLevelTexts() {}
void ViewAfterCreateLayout() {}
