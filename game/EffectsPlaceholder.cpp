// Placeholder for the particle-effects module (see Effects.h): draws nothing, but hands
// out and takes back the five followed positions per ball kind as the real container
// does. The particle-effects module replaces this file.
#include "Effects.h"

Effects game_effects;

static int EffectsTake(_Vector3d **slots, _Vector3d *position)
{
    for (int i = 0; i < Effects::NUM_BALL_EFFECTS; i++)
    {
        if (!slots[i])
        {
            slots[i] = position;
            return i;
        }
    }
    return -1;
}

int Effects::StartExplosionBall(_Vector3d *position) { return EffectsTake(explosionBalls, position); }
int Effects::StartWildcardBall(_Vector3d *position) { return EffectsTake(wildcardBalls, position); }

void Effects::SetExplosionBallPosition(int number, _Vector3d *position)
{
    if (number >= 0 && number < NUM_BALL_EFFECTS)
        explosionBalls[number] = position;
}

void Effects::SetWildcardBallPosition(int number, _Vector3d *position)
{
    if (number >= 0 && number < NUM_BALL_EFFECTS)
        wildcardBalls[number] = position;
}

void Effects::StopExplosionBall(int number)
{
    if (number >= 0 && number < NUM_BALL_EFFECTS)
        explosionBalls[number] = nullptr;
}

void Effects::StopWildcardBall(int number)
{
    if (number >= 0 && number < NUM_BALL_EFFECTS)
        wildcardBalls[number] = nullptr;
}

void Effects::StartExplosion(const _Vector3d *position, const _Vector3d *scale) {}
void Effects::StartRemoveEffect(const _Vector3d *position, const _Vector3d *scale, const _ColourRGB *colour) {}
void Effects::StartGameOverEffect(float x, float y, float z) {}
void Effects::SetGameOverStrength(float value) {}
void Effects::StopGameOverEffect() {}

void Effects::StopAllBallEffects()
{
    for (int i = 0; i < NUM_BALL_EFFECTS; i++)
    {
        explosionBalls[i] = nullptr;
        wildcardBalls[i] = nullptr;
    }
}

void Effects::ResetGameEffects()
{
    StopAllBallEffects();
}
