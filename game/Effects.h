// The game's particle effects as the game rules call them: effects that follow a special
// ball, the explosion and removal bursts and the game-over effect. The bodies are
// placeholders (EffectsPlaceholder.cpp) until the particle-effects module lands; the
// class and its operations are its own.
#pragma once
#include "EngTypes.h"

class Effects
{
public:
    enum
    {
        NUM_BALL_EFFECTS = 5,
    };

    // An effect following an exploding (wildcard) ball's position: its number 0-4, or -1
    // when effects are off or none is free.
    int StartExplosionBall(_Vector3d *position);
    void SetExplosionBallPosition(int number, _Vector3d *position);
    void StopExplosionBall(int number);
    int StartWildcardBall(_Vector3d *position);
    void SetWildcardBallPosition(int number, _Vector3d *position);
    void StopWildcardBall(int number);

    void StartExplosion(const _Vector3d *position, const _Vector3d *scale);
    void StartRemoveEffect(const _Vector3d *position, const _Vector3d *scale, const _ColourRGB *colour);
    void StartGameOverEffect(float x, float y, float z);
    // The turret angle while the game is over.
    void SetGameOverStrength(float value);
    void StopGameOverEffect();

    // The ball effects and the removal effect stop.
    void StopAllBallEffects();
    // Every in-game effect stops (a new game starts).
    void ResetGameEffects();

private:
    _Vector3d *explosionBalls[NUM_BALL_EFFECTS] = {};
    _Vector3d *wildcardBalls[NUM_BALL_EFFECTS] = {};
};

extern Effects game_effects;
