// Particle systems: creation, emission, starting and moving particles, and the device
// state around drawing. The vertex buffer and the drawing itself are the DX9 part
// (EngParticles_DX9.cpp).
//
// Sections: life cycle, update and emission, starting a particle, moving a particle,
// drawing.
#include "EngParticles.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <cstring>

#include "EngDebug.h"
#include "EngDevice.h"
#include "EngMath.h"
#include "EngMemory.h"
#include "EngMisc.h"

namespace
{
constexpr float kTwoPi = 6.2831854820251465f;
constexpr float kDegreesToRadians = 0.01745329238474369f;

int s_spreadEntryReports = 0;

// R(a, b): a random value from a to b (a when b <= a).
float Random(float from, float to)
{
    return EngMiscRandFloatRange(from, to, false);
}

// R±(a, b): the same with a random sign.
float RandomSigned(float from, float to)
{
    return EngMiscRandFloatRange(from, to, true);
}

// U(x): a random value in [0, x).
float Uniform(float to)
{
    return EngMiscRandFloat(to, false);
}

// The checks shared by starting and moving a particle.
bool IsParticleOk(const _EngParticle *particle, bool created, const char *function)
{
    if (!particle)
    {
        DebugError(function, "No EngParticle");
        return false;
    }
    if (!created)
    {
        DebugError(function, "Bad Parent");
        return false;
    }
    return true;
}

void TurnInPlace(_Vector3d *v, const _Vector3d &rates, float scale)
{
    *v = EngParticlesTurn(*v, rates.x * scale, rates.y * scale, rates.z * scale);
}
} // namespace

_Vector3d EngParticlesTurn(const _Vector3d &v, float yaw, float pitch, float roll)
{
    // Roll about z.
    float c = cosf(roll), s = sinf(roll);
    _Vector3d r = {v.x * c - v.y * s, v.x * s + v.y * c, v.z};
    // Pitch about x.
    c = cosf(pitch);
    s = sinf(pitch);
    r = {r.x, r.y * c - r.z * s, r.y * s + r.z * c};
    // Yaw about y.
    c = cosf(yaw);
    s = sinf(yaw);
    return {r.x * c + r.z * s, r.y, -r.x * s + r.z * c};
}

// ---- Life cycle ----------------------------------------------------------------------------------

EngParticles::EngParticles()
    : maxParticles(0), particles(nullptr), created(0), aliveCount(0), lastUpdateTime(0), lastEmissionTime(0),
      emissionRemainder(0), previousEmitter{0, 0, 0}, attractionTarget{0, 0, 0}, attractionDirection{0, 0, 0},
      vertexBuffer(nullptr)
{
    memset(&parms, 0, sizeof(parms));
}

EngParticles::~EngParticles()
{
    if (vertexBuffer)
        DebugError(ENG_FUNC, "Graphics not destroyed.");
    Destroy(false);
}

bool EngParticles::Create(int newMax, const _EngParticleSystemParms *newParms, bool recreate)
{
    if (!newParms)
    {
        DebugError(ENG_FUNC, "No parms");
        return false;
    }
    if (newMax < 1)
    {
        DebugError(ENG_FUNC, "Bad num max particles [%d]", newMax);
        return false;
    }
    if (created)
    {
        if (!recreate)
        {
            DebugError(ENG_FUNC, "System already created");
            return false;
        }
        Destroy(true);
    }
    parms = *newParms;
    maxParticles = newMax;
    previousEmitter[0] = parms.emitterX;
    previousEmitter[1] = parms.emitterY;
    previousEmitter[2] = parms.emitterZ;
    particles = (_EngParticle *)EngMalloc(sizeof(_EngParticle) * (size_t)newMax, "EngParticles::Create", true);
    if (!particles)
    {
        maxParticles = 0;
        return false;
    }
    created = 1;
    InitAllParticles();
    _EngParticleRange *ranges[5] = {&parms.speedRange, &parms.accelerationRange, &parms.positionTurnRange,
                                    &parms.spinRange, &parms.velocityTurnRange};
    for (_EngParticleRange *range : ranges)
        range->on = EngMathRange3HasValues(&range->range) ? 1 : 0;
    parms.swingOn = parms.swingMode[0] > 0 || parms.swingMode[1] > 0 || parms.swingMode[2] > 0;
    if (EngMainDevice)
        CreateGraphics();
    return true;
}

void EngParticles::Destroy(bool destroyGraphics)
{
    if (particles && !created)
        DebugError(ENG_FUNC, "EngParticles exist, but not created");
    EngFree(particles, false, ENG_FUNC);
    particles = nullptr;
    if (destroyGraphics)
        DestroyGraphics();
    else if (vertexBuffer)
    {
        DebugError(ENG_FUNC, "Vertex buffer was not released.");
        vertexBuffer = nullptr;
    }
    PlatD3dVertexBuffer *keep = vertexBuffer;
    maxParticles = 0;
    memset(&parms, 0, sizeof(parms));
    created = 0;
    aliveCount = 0;
    lastUpdateTime = lastEmissionTime = emissionRemainder = 0.0f;
    previousEmitter[0] = previousEmitter[1] = previousEmitter[2] = 0.0f;
    attractionTarget = attractionDirection = {0.0f, 0.0f, 0.0f};
    vertexBuffer = keep;
}

bool EngParticles::InitAllParticles()
{
    if (!created)
    {
        DebugErrorCode(ENG_FUNC, EngFourCC("NSTP"));
        return false;
    }
    memset(particles, 0, sizeof(_EngParticle) * (size_t)maxParticles);
    for (int i = 0; i < maxParticles; i++)
        particles[i].age = -1.0f;
    return true;
}

// ---- Update and emission -------------------------------------------------------------------------

int8_t EngParticles::Update(float time, char initial)
{
    if (!created || !particles)
        return -1;
    int count = initial ? parms.firstCount : parms.laterCount;
    float dt = time - lastUpdateTime;
    for (int axis = 0; axis < 3; axis++)
    {
        if (parms.swingMode[axis] == 0)
            continue;
        float &angle = parms.swingAngle[axis];
        angle += parms.swingSpeed[axis] * dt;
        if (angle > kTwoPi)
            angle -= kTwoPi;
        else if (angle < 0.0f)
            angle += kTwoPi;
    }
    if (!initial)
    {
        if (parms.emissionMode == ENG_PARTICLES_BURST || parms.emissionMode == ENG_PARTICLES_CONTINUOUS)
        {
            lastUpdateTime = time;
            aliveCount = 0;
            for (int i = 0; i < maxParticles; i++)
                if (particles[i].age > -1.0f && UpdateParticle(&particles[i], dt))
                    aliveCount++;
            if (aliveCount == 0)
                return 0;
        }
        if (parms.emissionMode == ENG_PARTICLES_BURST)
            return 1;
    }
    if (lastEmissionTime > 0.0f && time - lastEmissionTime < parms.minEmissionInterval)
        return 1;
    lastEmissionTime = time;
    float wanted = (float)parms.emissionRate * dt + emissionRemainder + (float)count;
    wanted = std::min(wanted, (float)maxParticles);
    int start = EngMathTruncDoubleToInt(wanted);
    emissionRemainder = wanted - (float)start;
    if (start < 1)
    {
        previousEmitter[0] = parms.emitterX;
        previousEmitter[1] = parms.emitterY;
        previousEmitter[2] = parms.emitterZ;
        return 1;
    }
    for (int i = 0; i < maxParticles && start > 0; i++)
        if (particles[i].age <= -1.0f && CreateParticle(dt, &particles[i]))
            start--;
    return 1;
}

// ---- Starting a particle ------------------------------------------------------------------------------

bool EngParticles::CreateParticle(float dt, _EngParticle *particle)
{
    if (!IsParticleOk(particle, created, ENG_FUNC))
        return false;
    if (parms.spreadFactor <= 0.0f)
    {
        DebugError(ENG_FUNC, "Parent spread factor <= 0");
        return false;
    }
    if (dt <= 0.0f)
    {
        DebugError(ENG_FUNC, "time counter<= 0");
        return false;
    }
    _EngParticle &p = *particle;
    p.age = 0.0f;
    p.lifetime = std::clamp(Random(parms.lifetimeMin, parms.lifetimeMax), 0.001f, 10000.0f);

    auto fromRange = [](const _EngParticleRange &range, _Vector3d *out) {
        if (range.on)
            EngMathGetRandomVector3FromRange3(out, &range.range);
        else
            *out = {0.0f, 0.0f, 0.0f};
    };
    fromRange(parms.accelerationRange, &p.acceleration);
    fromRange(parms.speedRange, &p.speed);
    fromRange(parms.positionTurnRange, &p.positionTurn);
    fromRange(parms.velocityTurnRange, &p.velocityTurn);
    fromRange(parms.spinRange, &p.spin);

    const float start[3] = {parms.startColour.r, parms.startColour.g, parms.startColour.b};
    const float start2[3] = {parms.startColour2.r, parms.startColour2.g, parms.startColour2.b};
    const float end[3] = {parms.endColour.r, parms.endColour.g, parms.endColour.b};
    const float end2[3] = {parms.endColour2.r, parms.endColour2.g, parms.endColour2.b};
    for (int i = 0; i < 3; i++)
    {
        float value = parms.randomStartColour ? Random(std::min(start[i], start2[i]), std::max(start[i], start2[i]))
                                              : start[i];
        p.colour[i] = std::clamp(value, 0.0f, 1.0f);
        float target =
            parms.randomEndColour ? Random(std::min(end[i], end2[i]), std::max(end[i], end2[i])) : end[i];
        p.colourChange[i] = (target - p.colour[i]) / p.lifetime;
    }
    p.colour[3] = 1.0f;
    p.alpha = std::clamp(parms.startAlpha, 0.0f, 1.0f);
    p.alphaChange = (parms.endAlpha - p.alpha) / p.lifetime;
    p.size = std::clamp(parms.startSize, 0.0001f, 10000.0f);
    p.sizeChange = (parms.endSize - p.size) / p.lifetime;

    // A random point on the emitter's path since the last emission.
    const float emitter[3] = {parms.emitterX, parms.emitterY, parms.emitterZ};
    float along = Uniform(dt) / dt;
    p.position = {previousEmitter[0] + along * (emitter[0] - previousEmitter[0]),
                  previousEmitter[1] + along * (emitter[1] - previousEmitter[1]),
                  previousEmitter[2] + along * (emitter[2] - previousEmitter[2])};

    const float factor = parms.spreadFactor, low = parms.spreadMin, high = parms.spreadMax;
    switch (parms.spreadType)
    {
    case 0:
        p.position.x += Random(low, high) / factor;
        p.position.y += Random(low, high) / factor;
        p.position.z += Random(low, high) / factor;
        break;
    case 1:
    case 2:
    {
        float angle = Uniform(kTwoPi);
        float radius = parms.spreadType == 1 ? Uniform((high - low) / factor) : (high - low) / factor;
        p.position.x += cosf(angle) * radius;
        p.position.y += sinf(angle) * radius;
        break;
    }
    case 3:
        switch (rand() & 3)
        {
        case 0:
            p.position.x += low / factor;
            p.position.y += Random(low, high) / factor;
            break;
        case 1:
            p.position.x += high / factor;
            p.position.y += Random(low, high) / factor;
            break;
        case 2:
            p.position.x += Random(low, high) / factor;
            p.position.y += low / factor;
            break;
        default:
            p.position.x += Random(low, high) / factor;
            p.position.y += high / factor;
            break;
        }
        break;
    case 4:
        p.position.x += RandomSigned(low, high) / factor;
        break;
    case 5:
        p.position.y += RandomSigned(low, high) / factor;
        break;
    case 6:
        p.position.x += RandomSigned(low, high) / factor;
        p.position.z += RandomSigned(low, high) / factor;
        break;
    case 7:
        p.position.y += RandomSigned(low, high) / factor;
        p.position.z += RandomSigned(low, high) / factor;
        break;
    case 8:
        if (parms.spreadEntryCount >= 2 && parms.spreadEntries && parms.spreadWidth > 0 && parms.spreadHeight > 0)
        {
            const int32_t *entry = parms.spreadEntries[(uint32_t)rand() % parms.spreadEntryCount];
            p.position.x +=
                (low + (high - low) * (float)(entry[0] - parms.spreadOriginX) / (float)parms.spreadWidth) / factor;
            p.position.y +=
                (low + (high - low) * (float)(entry[1] - parms.spreadOriginY) / (float)parms.spreadHeight) / factor;
        }
        else if (s_spreadEntryReports < 3)
        {
            s_spreadEntryReports++;
            DebugError(ENG_FUNC, "No spread entries");
        }
        break;
    default:
        break;
    }
    // Later particles of the same update start at the emitter itself.
    previousEmitter[0] = emitter[0];
    previousEmitter[1] = emitter[1];
    previousEmitter[2] = emitter[2];

    float around = Uniform(kTwoPi), cone = Uniform(parms.coneAngle) * kDegreesToRadians;
    float speedFactor = std::clamp(parms.speedFactor, 0.001f, 10000.0f);
    p.velocity = {cosf(cone) * p.speed.x * speedFactor, cosf(around) * sinf(cone) * p.speed.y * speedFactor,
                  sinf(around) * sinf(cone) * p.speed.z * speedFactor};
    p.attractionStrength = Random(parms.attractionMin, parms.attractionMax);

    if (parms.swingOn)
    {
        float *position[3] = {&p.position.x, &p.position.y, &p.position.z};
        for (int axis = 0; axis < 3; axis++)
        {
            float angle = parms.swingAngle[axis], swing;
            switch (parms.swingMode[axis])
            {
            case 1:
                swing = sinf(angle);
                break;
            case 2:
                swing = cosf(angle);
                break;
            case 3:
                swing = tanf(angle);
                break;
            case 4:
                swing = sinf(angle) * sinf(angle);
                break;
            case 5:
                swing = -sinf(angle) * sinf(angle);
                break;
            default:
                continue;
            }
            *position[axis] += parms.swingAmplitude[axis] * swing;
        }
    }
    p.fadeIn = parms.fadeIn;
    p.fadeInElapsed = 0.0f;
    p.previousPosition = p.position;
    return true;
}

// ---- Moving a particle ----------------------------------------------------------------------------

bool EngParticles::UpdateParticle(_EngParticle *particle, float dt)
{
    if (!IsParticleOk(particle, created, ENG_FUNC))
        return false;
    _EngParticle &p = *particle;
    p.age += dt;
    if (p.age >= p.lifetime)
    {
        p.age = -1.0f;
        return false;
    }
    p.previousPosition = p.position;
    p.position.x += p.velocity.x * dt;
    p.position.y += p.velocity.y * dt;
    p.position.z += p.velocity.z * dt;
    p.velocity.x += p.acceleration.x * dt;
    p.velocity.y += p.acceleration.y * dt;
    p.velocity.z += p.acceleration.z * dt;
    if (parms.attraction)
    {
        attractionTarget = {parms.emitterX, parms.emitterY, parms.emitterZ};
        attractionDirection = {parms.attractionAxes[0] ? attractionTarget.x - p.position.x : 0.0f,
                               parms.attractionAxes[1] ? attractionTarget.y - p.position.y : 0.0f,
                               parms.attractionAxes[2] ? attractionTarget.z - p.position.z : 0.0f};
        EngMathNormaliseVector3(&attractionDirection);
        p.velocity.x += attractionDirection.x * p.attractionStrength * dt;
        p.velocity.y += attractionDirection.y * p.attractionStrength * dt;
        p.velocity.z += attractionDirection.z * p.attractionStrength * dt;
    }
    if (parms.positionTurnRange.on)
        TurnInPlace(&p.position, p.positionTurn, dt);
    if (parms.velocityTurnRange.on)
        TurnInPlace(&p.velocity, p.velocityTurn, dt);
    for (int i = 0; i < 3; i++)
        p.colour[i] += p.colourChange[i] * dt;
    p.size += p.sizeChange * dt;
    if (!p.fadeIn)
    {
        p.alpha += p.alphaChange * dt;
        p.colour[3] = p.alpha;
    }
    else
    {
        p.fadeInElapsed += dt;
        p.colour[3] = p.fadeInElapsed;
        if (p.fadeInElapsed >= parms.startAlpha)
        {
            p.alpha = p.fadeInElapsed;
            p.fadeIn = 0;
            if (p.age < p.lifetime)
                p.alphaChange = (parms.endAlpha - p.fadeInElapsed) / (p.lifetime - p.age);
        }
    }
    for (int i = 0; i < 3; i++)
        p.colour[i] = std::max(p.colour[i], 0.0f);
    return true;
}

// ---- Drawing ---------------------------------------------------------------------------------------

bool EngParticles::Render()
{
    EngDevice *device = EngMainDevice;
    if (!device || !created || !particles)
        return false;
    bool suspended = !parms.keepDepth && device->SuspendZBufferIfOn();
    bool lightingWasOn = device->TurnOffLightingIfOn();
    bool twoSidedChanged = (parms.twoSided != 0) != device->AreTwoSidedPolygonsShown();
    if (twoSidedChanged)
        device->ShowTwoSidedPolygons(parms.twoSided != 0);
    static const int kBlendSlots[6][2] = {{4, 1}, {8, 1}, {6, 2}, {0, 3}, {4, 5}, {10, 5}};
    if (parms.blendKind <= 5)
        device->EnableBlending(EngBlendFactors[kBlendSlots[parms.blendKind][0]],
                               EngBlendFactors[kBlendSlots[parms.blendKind][1]]);
    else
        device->EnableBlendingType(99);
    if (EngDeviceGetMainType() == ENG_DEVICE_DX9)
        Render_DX9();
    if (twoSidedChanged)
        device->ShowTwoSidedPolygons(parms.twoSided == 0);
    device->DisableBlending();
    if (suspended)
        device->ResumeZBuffer();
    if (lightingWasOn)
        device->TurnOnLighting();
    return true;
}
