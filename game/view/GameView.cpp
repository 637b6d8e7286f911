// The view's registration with the rules (see GameView.h): a table of the view's
// functions, with small adapters where the rules' calls meet a class.
#include "GameView.h"

#include "Effects.h"
#include "EngFont.h"
#include "LevelsRender.h"
#include "PlayScreen.h"
#include "Sound.h"
#include "TextEffects.h"
#include "ViewHooks.h"

namespace
{
int StartExplosionBall(_Vector3d *position)
{
    return game_effects.StartExplosionBall(position);
}
void SetExplosionBallPosition(int number, _Vector3d *position)
{
    game_effects.SetExplosionBallPosition(number, position);
}
void StopExplosionBall(int number)
{
    game_effects.StopExplosionBall(number);
}
int StartWildcardBall(_Vector3d *position)
{
    return game_effects.StartWildcardBall(position);
}
void SetWildcardBallPosition(int number, _Vector3d *position)
{
    game_effects.SetWildcardBallPosition(number, position);
}
void StopWildcardBall(int number)
{
    game_effects.StopWildcardBall(number);
}
void StartExplosion(const _Vector3d *centre, const _Vector3d *scale)
{
    game_effects.StartExplosion(centre, scale);
}
void StartRemoveEffect(const _Vector3d *centre, const _Vector3d *scale, const _ColourRGB *colour)
{
    game_effects.StartRemoveEffect(centre, scale, colour);
}
void StartGameOverEffect(float x, float y, float z)
{
    game_effects.StartGameOverEffect(x, y, z);
}
void SetGameOverStrength(float turretAngle)
{
    game_effects.SetGameOverStrength(turretAngle);
}
void StopGameOverEffect()
{
    game_effects.StopGameOverEffect();
}
void StopAllBallEffects()
{
    game_effects.StopAllBallEffects();
}
void ResetGameEffects()
{
    game_effects.ResetGameEffects();
}

void TextClear()
{
    game_text_effects.Clear();
}
// The banner's look (font, scale, colour, effects) comes with its text.
char TextSetText(const char *text)
{
    return LevelsStartBannerText(text);
}
char TextTick()
{
    return game_text_effects.Tick();
}
int TextGetNumLines()
{
    return game_text_effects.GetNumLines();
}
} // namespace

void PlayScreenFillViewHooks(_ViewHooks *hooks)
{
    hooks->refreshScoreText = PlinxRefreshScoreText;
    hooks->refreshCaptionText = PlinxRefreshCaptionText;
    hooks->bordersNewTint = BordersNewTint;
    hooks->bordersTick = BordersTick;
    hooks->bordersComputeLayout = BordersComputeLayout;
    hooks->setupPlaceFinder = PlinxSetupPlaceFinder;
    hooks->updatePlace = PlinxUpdatePlace;
    hooks->tickPlace = PlinxTickPlace;
    hooks->editorLoadPicture = EditorViewLoadPicture;
    hooks->editorReleasePicture = EditorViewReleasePicture;

    hooks->effectsStartExplosionBall = StartExplosionBall;
    hooks->effectsSetExplosionBallPosition = SetExplosionBallPosition;
    hooks->effectsStopExplosionBall = StopExplosionBall;
    hooks->effectsStartWildcardBall = StartWildcardBall;
    hooks->effectsSetWildcardBallPosition = SetWildcardBallPosition;
    hooks->effectsStopWildcardBall = StopWildcardBall;
    hooks->effectsStartExplosion = StartExplosion;
    hooks->effectsStartRemoveEffect = StartRemoveEffect;
    hooks->effectsStartGameOverEffect = StartGameOverEffect;
    hooks->effectsSetGameOverStrength = SetGameOverStrength;
    hooks->effectsStopGameOverEffect = StopGameOverEffect;
    hooks->effectsStopAllBallEffects = StopAllBallEffects;
    hooks->effectsResetGameEffects = ResetGameEffects;

    hooks->textClear = TextClear;
    hooks->textSetText = TextSetText;
    hooks->textTick = TextTick;
    hooks->textGetNumLines = TextGetNumLines;
}

void GameViewSetup()
{
    _ViewHooks hooks = {};
    PlayScreenFillViewHooks(&hooks);
    SoundFillViewHooks(&hooks);
    ViewSetHooks(&hooks);
    PlayScreenSetToneHook(SoundPlayProgress);
}

void GameViewShutdown()
{
    ViewSetHooks(nullptr);
    PlayScreenSetToneHook(nullptr);
}
