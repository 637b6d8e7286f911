// The play screen, effects, sound and music as the program drives them (see AppView.h).
#include "AppView.h"

#include "EngGlobals.h"
#include "GameFade.h"
#include "GameState.h"
#include "MWin.h"
#include "Effects.h"
#include "LevelsRender.h"
#include "PlayScreen.h"
#include "PlinxMWinSetup.h"
#include "Rolls.h"
#include "Sound.h"
#include "TextEffects.h"
#include "GameView.h"

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

void AppViewSetupEffects()
{
    // The effects container is a static object; nothing to set up before the device.
}

bool AppViewCreateEffectGraphics()
{
    return game_effects.CreateGraphics() != 0;
}

void AppViewReleaseEffectGraphics()
{
    game_effects.ReleaseAll();
}

void AppViewStopBallEffects()
{
    game_effects.StopAllBallEffects();
}

void AppViewStartMenuEffect()
{
    game_effects.StartMenuEffect();
}

void AppViewStopMenuEffect()
{
    game_effects.StopMenuEffect();
}

void AppViewRestartMenuEffect()
{
    game_effects.StopMenuEffect();
    game_effects.StartMenuEffect();
}

void AppViewTickMenuEffect()
{
    game_effects.TickMenuEffect();
}

void AppViewTickGameEffects()
{
    game_effects.TickGameEffects();
}

void AppViewRenderGameEffects()
{
    game_effects.RenderGameEffects();
}

bool AppViewIsMenuEffectRunning()
{
    ParticleEffect *menu = game_effects.GetMenuEffect();
    return menu && menu->IsRunning();
}

void AppViewRenderMenuEffect()
{
    game_effects.RenderMenuEffect();
}

// ---- Drawing ------------------------------------------------------------------------------------------

void AppViewPreDeviceSetup()
{
    PlayScreenSetGameFont(PlinxGetMainFont());
    game_text_effects.SetFont(PlinxGetMainFont());
}

bool AppViewCreateBallGraphics()
{
    return PlinxCreateGraphics() != 0;
}

bool AppViewBallFramesStored()
{
    return TexGenAllRollsStored() != 0;
}

void AppViewReleaseBallGraphics()
{
    PlinxReleaseGraphics();
}

bool AppViewCreateMenuGraphics()
{
    return PlinxMenuCreateGraphics() != 0;
}

void AppViewReleaseMenuGraphics()
{
    PlinxMenuReleaseGraphics();
}

void AppViewReleasePlayGraphics()
{
    PlinxReleaseGraphics();
}

void AppViewRenderMenuBackground(bool withTitle)
{
    PlinxMenuRender(withTitle ? 1.0f : 0.0f);
}

void AppViewRenderPlayScreen()
{
    RenderPlayScreen();
}

void AppViewRenderLevelTexts()
{
    LevelsRender();
}

void AppViewAfterCreateLayout()
{
    BordersComputeLayout();
    LevelsSetupCaptionPlaces();
    PlinxMenuLayout();
    game_text_effects.ResolutionChanged();
}

const _Dimension *AppViewGetGameOverBox()
{
    return LevelsGetMenuBox();
}

void AppViewSetGameOverMouse(float x, float y)
{
    LevelsSetMousePosition(x, y);
}

// ---- The rules' view table ------------------------------------------------------------------------------

void AppViewRegisterHooks()
{
    GameViewSetup();
    AppViewRegisterPlaceFinder();
}
