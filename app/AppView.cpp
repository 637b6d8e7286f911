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
#include "Sound.h"
#include "TextEffects.h"
#include "ViewHooks.h"

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

void AppViewRenderMenuBackground()
{
    PlinxMenuRender(1.0f);
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

namespace
{

int StartExplosionBallCB(_Vector3d *position)
{
    return game_effects.StartExplosionBall(position);
}
void SetExplosionBallPositionCB(int number, _Vector3d *position)
{
    game_effects.SetExplosionBallPosition(number, position);
}
void StopExplosionBallCB(int number)
{
    game_effects.StopExplosionBall(number);
}
int StartWildcardBallCB(_Vector3d *position)
{
    return game_effects.StartWildcardBall(position);
}
void SetWildcardBallPositionCB(int number, _Vector3d *position)
{
    game_effects.SetWildcardBallPosition(number, position);
}
void StopWildcardBallCB(int number)
{
    game_effects.StopWildcardBall(number);
}
void StartExplosionCB(const _Vector3d *centre, const _Vector3d *scale)
{
    game_effects.StartExplosion(centre, scale);
}
void StartRemoveEffectCB(const _Vector3d *centre, const _Vector3d *scale, const _ColourRGB *colour)
{
    game_effects.StartRemoveEffect(centre, scale, colour);
}
void StartGameOverEffectCB(float x, float y, float z)
{
    game_effects.StartGameOverEffect(x, y, z);
}
void SetGameOverStrengthCB(float turretAngle)
{
    game_effects.SetGameOverStrength(turretAngle);
}
void StopGameOverEffectCB()
{
    game_effects.StopGameOverEffect();
}
void StopAllBallEffectsCB()
{
    game_effects.StopAllBallEffects();
}
void ResetGameEffectsCB()
{
    game_effects.ResetGameEffects();
}
void TextClearCB()
{
    game_text_effects.Clear();
}
char TextSetTextCB(const char *text)
{
    return game_text_effects.SetText(text);
}
char TextTickCB()
{
    return game_text_effects.Tick();
}
int TextGetNumLinesCB()
{
    return game_text_effects.GetNumLines();
}

} // namespace

void AppViewRegisterHooks()
{
    _ViewHooks hooks = {};
    hooks.refreshScoreText = PlinxRefreshScoreText;
    hooks.refreshCaptionText = PlinxRefreshCaptionText;
    hooks.bordersNewTint = BordersNewTint;
    hooks.bordersTick = BordersTick;
    hooks.bordersComputeLayout = BordersComputeLayout;
    hooks.setupPlaceFinder = PlinxSetupPlaceFinder;
    hooks.updatePlace = PlinxUpdatePlace;
    hooks.tickPlace = PlinxTickPlace;
    hooks.editorLoadPicture = EditorViewLoadPicture;
    hooks.editorReleasePicture = EditorViewReleasePicture;

    SoundFillViewHooks(&hooks);

    hooks.effectsStartExplosionBall = StartExplosionBallCB;
    hooks.effectsSetExplosionBallPosition = SetExplosionBallPositionCB;
    hooks.effectsStopExplosionBall = StopExplosionBallCB;
    hooks.effectsStartWildcardBall = StartWildcardBallCB;
    hooks.effectsSetWildcardBallPosition = SetWildcardBallPositionCB;
    hooks.effectsStopWildcardBall = StopWildcardBallCB;
    hooks.effectsStartExplosion = StartExplosionCB;
    hooks.effectsStartRemoveEffect = StartRemoveEffectCB;
    hooks.effectsStartGameOverEffect = StartGameOverEffectCB;
    hooks.effectsSetGameOverStrength = SetGameOverStrengthCB;
    hooks.effectsStopGameOverEffect = StopGameOverEffectCB;
    hooks.effectsStopAllBallEffects = StopAllBallEffectsCB;
    hooks.effectsResetGameEffects = ResetGameEffectsCB;

    hooks.textClear = TextClearCB;
    hooks.textSetText = TextSetTextCB;
    hooks.textTick = TextTickCB;
    hooks.textGetNumLines = TextGetNumLinesCB;
    ViewSetHooks(&hooks);
}
