// Particle systems: a fixed pool of particles emitted from a moving emitter point by a
// parameter record, moved, coloured, faded, grown and turned over their lifetime, and
// drawn as textured squares facing along the z axis. The owner creates a system, calls
// Update with its own clock every tick (destroying the system when Update answers 0)
// and Render every frame.
#pragma once
#include <cstdint>

#include "EngMath.h"
#include "EngTypes.h"

class EngTexture;
struct PlatD3dVertexBuffer;

enum
{
    ENG_PARTICLES_EMIT_ONLY = 0,  // particles are started but never moved
    ENG_PARTICLES_BURST = 1,      // one emission at the initial update, then movement only
    ENG_PARTICLES_CONTINUOUS = 2, // movement and emission at every update
};

// A random range: each axis drawn between its minimum and maximum when `on`.
struct _EngParticleRange
{
    uint8_t on; // worked out at creation from the values
    _Vector3dRange range;
};

struct _EngParticleSystemParms
{
    int32_t firstCount;  // started by the initial update
    int32_t laterCount;  // started by every later emitting update
    uint8_t emissionMode;
    EngTexture *texture; // not owned; NULL draws untextured
    uint8_t colourFlag;  // draw with the particle colour instead of white
    uint8_t fadeIn;      // alpha climbs from 0 to the start alpha first (1 per second)
    uint8_t blendKind;   // 0-5
    uint32_t emissionRate; // particles per second
    float minEmissionInterval; // seconds
    float lifetimeMin, lifetimeMax;
    float speedFactor;
    uint8_t attraction;
    int32_t attractionAxes[3];
    float attractionMin, attractionMax;
    _ColourRGB startColour, endColour, startColour2, endColour2;
    int32_t randomStartColour, randomEndColour;
    float startAlpha, endAlpha;
    float startSize, endSize; // side length in world units
    uint8_t spreadType;       // 0 cube, 1 disc, 2 circle, 3 square edge, 4-7 lines and planes, 8 entries
    float spreadFactor;       // offsets are divided by it; must be above 0
    float spreadMin, spreadMax;
    float coneAngle; // degrees around the x axis
    float emitterX, emitterY, emitterZ;
    _EngParticleRange speedRange;
    _EngParticleRange accelerationRange;
    _EngParticleRange positionTurnRange; // radians per second about the world origin
    _EngParticleRange spinRange;         // radians per second about the particle's centre
    _EngParticleRange velocityTurnRange; // radians per second
    uint8_t swingOn;       // worked out at creation
    uint8_t swingMode[3];  // 0 none, 1 sin, 2 cos, 3 tan, 4 sin squared, 5 minus sin squared
    float swingSpeed[3];   // radians per second
    float swingAmplitude[3];
    float swingAngle[3];   // radians, advanced by the system
    uint8_t keepDepth;
    uint8_t twoSided;
    uint32_t spreadEntryCount;
    const int32_t (*spreadEntries)[2]; // not owned
    int32_t spreadOriginX, spreadWidth, spreadOriginY, spreadHeight;
};

struct _EngParticle
{
    _Vector3d previousPosition;
    _Vector3d position;
    _Vector3d velocity;
    _Vector3d acceleration;
    _Vector3d speed;
    float colour[4];       // r, g, b, a as drawn
    float colourChange[3]; // per second
    uint8_t fadeIn;
    float fadeInElapsed;
    float alpha;
    float alphaChange; // per second
    float size;
    float sizeChange; // per second
    float age;        // seconds; -1 when the slot is free
    float lifetime;
    float attractionStrength;
    _Vector3d positionTurn;
    _Vector3d velocityTurn;
    _Vector3d spin;
};

class EngParticles
{
public:
    EngParticles();
    ~EngParticles();
    EngParticles(const EngParticles &) = delete;
    EngParticles &operator=(const EngParticles &) = delete;

    // The parameters are copied. With recreate a created system is destroyed first.
    bool Create(int maxParticles, const _EngParticleSystemParms *parms, bool recreate);
    void Destroy(bool destroyGraphics);
    bool CreateGraphics();
    void DestroyGraphics();
    // Advances to the owner's clock `time` (seconds): -1 not created, 0 nothing alive
    // after moving, 1 otherwise.
    int8_t Update(float time, char initial);
    bool UpdateParticle(_EngParticle *particle, float dt);
    bool CreateParticle(float dt, _EngParticle *particle);
    bool Render();

    // The owner may change particles and the copied parameters directly (to recolour
    // them, or move the emitter).
    _EngParticle *GetParticles(char unused) { return particles; }
    _EngParticleSystemParms *GetParms() { return &parms; }
    int GetMaxParticles() const { return maxParticles; }
    int GetAliveCount() const { return aliveCount; }
    bool IsCreated() const { return created != 0; }
    bool HasGraphics() const { return vertexBuffer != nullptr; }

private:
    bool InitAllParticles();
    void Render_DX9();

    int32_t maxParticles;
    _EngParticleSystemParms parms;
    _EngParticle *particles;
    uint8_t created;
    int32_t aliveCount;
    float lastUpdateTime;
    float lastEmissionTime;
    float emissionRemainder;
    float previousEmitter[3];
    _Vector3d attractionTarget, attractionDirection;
    PlatD3dVertexBuffer *vertexBuffer;
};

// Turns v by yaw (about y), pitch (about x) and roll (about z), applied roll first,
// then pitch, then yaw.
_Vector3d EngParticlesTurn(const _Vector3d &v, float yaw, float pitch, float roll);
