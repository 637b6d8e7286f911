// The game's particle effects: one container (`Effects`, the global game_effects) owning
// six kinds of effect, each wrapping one engine particle system with its own parameter
// record: the menu effect, five followers of exploding balls, five of wildcard balls,
// the explosion, the removal burst and the game-over effect. Sizes and particle counts
// come from the player's effect levels (0 off, 1-3). Positions are field coordinates.
//
// The constructor and destructor call nothing of the engine (the object is a global);
// ReleaseAll lets go of every system and the texture before the device goes.
#pragma once
#include <cstdint>

#include "EngTypes.h"

class EngParticles;
class EngTexture;
struct _EngParticleSystemParms;

// One effect: a particle system made from its parameter record.
class ParticleEffect
{
public:
    enum Kind
    {
        KIND_MENU,
        KIND_EXPLODING_BALL,
        KIND_WILDCARD_BALL,
        KIND_EXPLOSION,
        KIND_REMOVE,
        KIND_GAME_OVER,
    };

    explicit ParticleEffect(Kind kind);
    ~ParticleEffect();
    ParticleEffect(const ParticleEffect &) = delete;
    ParticleEffect &operator=(const ParticleEffect &) = delete;

    // The count (0-100; 0 gives the kind's base values) and size (0 keeps the kind's
    // own) of an effects level; the texture only when it is loaded.
    void SetupParameters(int count, float size, EngTexture *texture);
    // A new system from the record; an existing one is refused ("System already
    // created") unless `recreate`. With `initialBurst` it emits at once.
    char CreateSystem(char initialBurst, char recreate);
    // Advances by the frame time. A system with nothing left alive starts again (menu,
    // exploding ball, game over) or goes (the others). False when not running after.
    char Tick();
    void Render();
    void DestroySystem();
    bool IsRunning() const;
    // Logged with 'NSTP' when there is none.
    EngParticles *GetSystem();
    _EngParticleSystemParms *GetParms();
    int GetMaxParticles() const { return maxParticles; }
    Kind GetKind() const { return kind; }

    // The kind's table values: maximum particles for a count, first and later emission.
    static int MaxParticlesFor(Kind kind, int count);

private:
    void SetDefaults();

    Kind kind;
    EngParticles *system;
    _EngParticleSystemParms *parms;
    float elapsed;
    int count;
    int maxParticles;
};

class Effects
{
public:
    enum
    {
        NUM_BALL_EFFECTS = 5,
    };

    Effects();
    ~Effects();
    Effects(const Effects &) = delete;
    Effects &operator=(const Effects &) = delete;

    // Loads "Data/NormalEffect.tga" into every running system; without it the effects
    // draw untextured.
    char CreateGraphics();
    // Takes the texture out of every system, releases their graphics and the texture.
    void ReleaseGraphics();
    // Destroys every running system (before the device is made again).
    void DestroyAllSystems();
    // ReleaseGraphics and DestroyAllSystems: call before the device goes.
    void ReleaseAll();

    void StartMenuEffect();
    void StopMenuEffect();
    void TickMenuEffect();
    void RenderMenuEffect();

    // An effect following a ball's position: its number 0-4, or -1 when effects are off
    // or every slot is taken ("No free systems"). A slot stays taken until its Stop,
    // even when its system ends by itself.
    int StartExplosionBall(_Vector3d *position);
    void SetExplosionBallPosition(int number, _Vector3d *position);
    void StopExplosionBall(int number);
    int StartWildcardBall(_Vector3d *position);
    void SetWildcardBallPosition(int number, _Vector3d *position);
    void StopWildcardBall(int number);

    void StartExplosion(const _Vector3d *position, const _Vector3d *scale);
    void StartRemoveEffect(const _Vector3d *position, const _Vector3d *scale, const _ColourRGB *colour);
    void StartGameOverEffect(float x, float y, float z);
    // The turret angle while the game is over: the emission grows with it (never below 0).
    void SetGameOverStrength(float value);
    void StopGameOverEffect();

    // The ball effects and the removal effect stop.
    void StopAllBallEffects();
    // Every in-game effect stops (a new game starts).
    void ResetGameEffects();

    // True when any in-game system was running.
    char TickGameEffects();
    void RenderGameEffects();

    // For checks: the effect objects.
    ParticleEffect *GetMenuEffect() { return menu; }
    ParticleEffect *GetExplosionBall(int number);
    ParticleEffect *GetWildcardBall(int number);
    ParticleEffect *GetExplosion() { return explosion; }
    ParticleEffect *GetRemove() { return remove; }
    ParticleEffect *GetGameOver() { return gameOver; }
    bool IsExplosionBallTaken(int number) const;
    bool IsWildcardBallTaken(int number) const;

private:
    int StartBall(ParticleEffect **effects, bool *taken, _Vector3d **positions, _Vector3d *position, int level);
    void StopBall(ParticleEffect **effects, bool *taken, _Vector3d **positions, int number);
    EngTexture *LoadedTexture();

    ParticleEffect *menu;
    ParticleEffect *explosionBalls[NUM_BALL_EFFECTS];
    ParticleEffect *wildcardBalls[NUM_BALL_EFFECTS];
    ParticleEffect *explosion;
    ParticleEffect *remove;
    ParticleEffect *gameOver;
    EngTexture *texture;
    _Vector3d *explosionPositions[NUM_BALL_EFFECTS];
    _Vector3d *wildcardPositions[NUM_BALL_EFFECTS];
    bool explosionTaken[NUM_BALL_EFFECTS];
    bool wildcardTaken[NUM_BALL_EFFECTS];
    _Vector3d explosionPosition, explosionScale;
    _Vector3d removePosition, removeScale;
    _ColourRGB removeColour;
    _Vector3d gameOverCentre;
};

extern Effects game_effects;

// The count of an effects level 0-3: 0, 33, 66, 100.
int EffectsGetCountForLevel(int level);

// The effect sprite ("Data/NormalEffect.tga") fills its square only to this share of the
// radius where its glow would vanish: whoever draws it sizes the whole glow, times this.
const float EFFECT_SPRITE_FILL = 0.75f;
