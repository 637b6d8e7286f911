// The rules' side of the view hooks (ViewHooks.h): the table the view layer registers,
// and one function per member that calls it or answers the member's default.
#include "ViewHooks.h"

#include "GameState.h"

static struct
{
    _ViewHooks hooks;
} s_view = {};

void ViewSetHooks(const _ViewHooks *hooks)
{
    s_view.hooks = hooks ? *hooks : _ViewHooks{};
}

void ViewRefreshScoreText()
{
    if (s_view.hooks.refreshScoreText)
        s_view.hooks.refreshScoreText();
}

void ViewRefreshCaptionText()
{
    if (s_view.hooks.refreshCaptionText)
        s_view.hooks.refreshCaptionText();
}

void ViewBordersNewTint(char atOnce)
{
    if (s_view.hooks.bordersNewTint)
        s_view.hooks.bordersNewTint(atOnce);
}

void ViewBordersTick(char force)
{
    if (s_view.hooks.bordersTick)
        s_view.hooks.bordersTick(force);
}

void ViewBordersComputeLayout()
{
    if (s_view.hooks.bordersComputeLayout)
        s_view.hooks.bordersComputeLayout();
}

void ViewSetupPlaceFinder()
{
    if (s_view.hooks.setupPlaceFinder)
        s_view.hooks.setupPlaceFinder();
}

void ViewUpdatePlace(int score, char force)
{
    if (s_view.hooks.updatePlace)
        s_view.hooks.updatePlace(score, force);
}

void ViewTickPlace()
{
    if (s_view.hooks.tickPlace)
        s_view.hooks.tickPlace();
}

bool ViewEditorLoadPicture()
{
    return s_view.hooks.editorLoadPicture ? s_view.hooks.editorLoadPicture() : true;
}

void ViewEditorReleasePicture()
{
    if (s_view.hooks.editorReleasePicture)
        s_view.hooks.editorReleasePicture();
}

void ViewSoundPlay(int slot)
{
    if (s_view.hooks.soundPlay)
        s_view.hooks.soundPlay(slot);
}

void ViewSoundPlayLooped(int slot)
{
    if (s_view.hooks.soundPlayLooped)
        s_view.hooks.soundPlayLooped(slot);
}

void ViewSoundStop(int slot)
{
    if (s_view.hooks.soundStop)
        s_view.hooks.soundStop(slot);
}

void ViewSoundSetLevel(int slot, float level)
{
    if (s_view.hooks.soundSetLevel)
        s_view.hooks.soundSetLevel(slot, level);
}

void ViewSoundPlaySpecial(int ballType)
{
    if (s_view.hooks.soundPlaySpecial)
        s_view.hooks.soundPlaySpecial(ballType);
}

void ViewSoundStopSpecial(int ballType, char all)
{
    if (s_view.hooks.soundStopSpecial)
        s_view.hooks.soundStopSpecial(ballType, all);
}

int ViewSoundPlayRemove(float pitch)
{
    return s_view.hooks.soundPlayRemove ? s_view.hooks.soundPlayRemove(pitch) : -1;
}

int ViewSoundPlayFalling(float pitch)
{
    return s_view.hooks.soundPlayFalling ? s_view.hooks.soundPlayFalling(pitch) : -1;
}

void ViewSoundSetRemovePitch(int instance, float pitch)
{
    if (s_view.hooks.soundSetRemovePitch)
        s_view.hooks.soundSetRemovePitch(instance, pitch);
}

void ViewSoundSetFallingPitch(int instance, float pitch)
{
    if (s_view.hooks.soundSetFallingPitch)
        s_view.hooks.soundSetFallingPitch(instance, pitch);
}

void ViewSoundStopRemove(int instance)
{
    if (s_view.hooks.soundStopRemove)
        s_view.hooks.soundStopRemove(instance);
}

void ViewSoundStopFalling(int instance)
{
    if (s_view.hooks.soundStopFalling)
        s_view.hooks.soundStopFalling(instance);
}

void ViewSoundStopLoops(char instancesToo)
{
    GameState.arcadeRollOn = 0;
    GameState.strategicRollOn = 0;
    if (s_view.hooks.soundStopLoops)
        s_view.hooks.soundStopLoops(instancesToo);
}

void ViewSoundStopAll()
{
    GameState.arcadeRollOn = 0;
    GameState.strategicRollOn = 0;
    if (s_view.hooks.soundStopAll)
        s_view.hooks.soundStopAll();
}

void ViewSoundUpdateGameSoundsVolume()
{
    if (s_view.hooks.soundUpdateGameSoundsVolume)
        s_view.hooks.soundUpdateGameSoundsVolume();
}

void ViewSoundStartGameOverMusic()
{
    if (s_view.hooks.soundStartGameOverMusic)
        s_view.hooks.soundStartGameOverMusic();
}

void ViewSoundStopGameOverMusic()
{
    if (s_view.hooks.soundStopGameOverMusic)
        s_view.hooks.soundStopGameOverMusic();
}

int ViewEffectsStartExplosionBall(_Vector3d *position)
{
    return s_view.hooks.effectsStartExplosionBall ? s_view.hooks.effectsStartExplosionBall(position) : -1;
}

void ViewEffectsSetExplosionBallPosition(int number, _Vector3d *position)
{
    if (s_view.hooks.effectsSetExplosionBallPosition)
        s_view.hooks.effectsSetExplosionBallPosition(number, position);
}

void ViewEffectsStopExplosionBall(int number)
{
    if (s_view.hooks.effectsStopExplosionBall)
        s_view.hooks.effectsStopExplosionBall(number);
}

int ViewEffectsStartWildcardBall(_Vector3d *position)
{
    return s_view.hooks.effectsStartWildcardBall ? s_view.hooks.effectsStartWildcardBall(position) : -1;
}

void ViewEffectsSetWildcardBallPosition(int number, _Vector3d *position)
{
    if (s_view.hooks.effectsSetWildcardBallPosition)
        s_view.hooks.effectsSetWildcardBallPosition(number, position);
}

void ViewEffectsStopWildcardBall(int number)
{
    if (s_view.hooks.effectsStopWildcardBall)
        s_view.hooks.effectsStopWildcardBall(number);
}

void ViewEffectsStartExplosion(const _Vector3d *centre, const _Vector3d *scale)
{
    if (s_view.hooks.effectsStartExplosion)
        s_view.hooks.effectsStartExplosion(centre, scale);
}

void ViewEffectsStartRemoveEffect(const _Vector3d *centre, const _Vector3d *scale, const _ColourRGB *colour)
{
    if (s_view.hooks.effectsStartRemoveEffect)
        s_view.hooks.effectsStartRemoveEffect(centre, scale, colour);
}

void ViewEffectsStartGameOverEffect(float x, float y, float z)
{
    if (s_view.hooks.effectsStartGameOverEffect)
        s_view.hooks.effectsStartGameOverEffect(x, y, z);
}

void ViewEffectsSetGameOverStrength(float turretAngle)
{
    if (s_view.hooks.effectsSetGameOverStrength)
        s_view.hooks.effectsSetGameOverStrength(turretAngle);
}

void ViewEffectsStopGameOverEffect()
{
    if (s_view.hooks.effectsStopGameOverEffect)
        s_view.hooks.effectsStopGameOverEffect();
}

void ViewEffectsStopAllBallEffects()
{
    if (s_view.hooks.effectsStopAllBallEffects)
        s_view.hooks.effectsStopAllBallEffects();
}

void ViewEffectsResetGameEffects()
{
    if (s_view.hooks.effectsResetGameEffects)
        s_view.hooks.effectsResetGameEffects();
}

void ViewTextClear()
{
    if (s_view.hooks.textClear)
        s_view.hooks.textClear();
}

char ViewTextSetText(const char *text)
{
    return s_view.hooks.textSetText ? s_view.hooks.textSetText(text) : 0;
}

char ViewTextTick()
{
    return s_view.hooks.textTick ? s_view.hooks.textTick() : 0;
}

int ViewTextGetNumLines()
{
    return s_view.hooks.textGetNumLines ? s_view.hooks.textGetNumLines() : 0;
}
