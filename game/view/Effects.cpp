// The game's particle effects (see Effects.h). Each effect's particles are laid out in
// field units around its origin; drawing scales x by the screen's field scale so they
// stay round, and moves them to the followed position.
//
// Sections: the kinds' tables and looks, one effect, the container.
#include "Effects.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <new>

#include "EngDebug.h"
#include "EngDevice.h"
#include "EngGlobals.h"
#include "EngMath.h"
#include "EngParticles.h"
#include "EngTexture.h"
#include "GameState.h"
#include "PlayScreenInternal.h"

Effects game_effects;

namespace
{
// ---- Tables -----------------------------------------------------------------------------------------

struct KindTable
{
    int baseMax;        // maximum particles at count 0
    int maxPer100;      // maximum particles per 100 of the count
    int firstPer100, laterPer100;
    int firstBase, laterBase; // emission at count 0
    float sizes[3];     // per level 1-3; 0 keeps the kind's own size
    uint8_t emissionMode;
    bool repeats;       // made again when nothing is left alive
};

const KindTable kKinds[] = {
    /* menu */ {49, 49, 1, 1, 1, 1, {0.8f, 0.9f, 1.0f}, ENG_PARTICLES_CONTINUOUS, true},
    /* exploding ball */ {6, 6, 1, 1, 1, 1, {0.5f, 0.75f, 1.0f}, ENG_PARTICLES_CONTINUOUS, true},
    /* wildcard ball */ {8, 8, 2, 1, 2, 2, {0.6f, 0.8f, 1.0f}, ENG_PARTICLES_CONTINUOUS, false},
    /* explosion */ {81, 81, 81, 2, 81, 81, {0.8f, 0.9f, 1.0f}, ENG_PARTICLES_BURST, false},
    /* remove */ {20, 20, 20, 1, 20, 20, {0.0f, 0.0f, 0.0f}, ENG_PARTICLES_BURST, false},
    /* game over */ {605, 0, 0, 0, 60, 20, {0.0f, 0.0f, 0.0f}, ENG_PARTICLES_CONTINUOUS, true},
};

// Ball followers are sized to a ball.
const float kBallSizeFactor = 0.438143f;

int GameEffectsLevel()
{
    return GameState.userOptions.gameEffects;
}

int MenuEffectsLevel()
{
    return GameState.userOptions.menuEffects;
}

// The screen's x scale of field units relative to y.
float HorizontalScale()
{
    float fieldScale = GameState.fieldScale > 0.0f ? GameState.fieldScale : 1.0f;
    return PLAY_PIXELS_PER_UNIT / 320.0f * fieldScale;
}

void SetRange(_EngParticleRange &range, float minX, float maxX, float minY, float maxY)
{
    range.on = 1;
    range.range = {minX, maxX, minY, maxY, 0.0f, 0.0f};
}

// The look of each kind: lifetimes, speeds, colours and sizes (field units, seconds).
void KindLook(ParticleEffect::Kind kind, _EngParticleSystemParms &p)
{
    p.colourFlag = 1;
    p.speedFactor = 1.0f;
    p.spreadFactor = 1.0f;
    p.startAlpha = 1.0f;
    p.endAlpha = 0.0f;
    p.coneAngle = 180.0f;
    p.twoSided = 1;
    switch (kind)
    {
    case ParticleEffect::KIND_MENU:
        // Slow glowing motes drifting over the whole screen.
        p.emissionRate = 12;
        p.lifetimeMin = 2.5f;
        p.lifetimeMax = 5.0f;
        SetRange(p.speedRange, 0.02f, 0.08f, 0.02f, 0.08f);
        p.startColour = {0.45f, 0.8f, 1.0f};
        p.startColour2 = {0.8f, 0.6f, 1.0f};
        p.randomStartColour = 1;
        p.endColour = {0.2f, 0.3f, 0.9f};
        p.startAlpha = 0.7f;
        p.fadeIn = 1;
        p.startSize = 0.08f;
        p.endSize = 0.16f;
        p.spreadType = 0;
        p.spreadMin = -1.0f;
        p.spreadMax = 1.0f;
        break;
    case ParticleEffect::KIND_EXPLODING_BALL:
        // Sparks crackling round a ball about to blow.
        p.emissionRate = 14;
        p.lifetimeMin = 0.25f;
        p.lifetimeMax = 0.5f;
        SetRange(p.speedRange, 0.1f, 0.3f, 0.1f, 0.3f);
        p.startColour = {1.0f, 0.85f, 0.3f};
        p.startColour2 = {1.0f, 0.55f, 0.1f};
        p.randomStartColour = 1;
        p.endColour = {0.9f, 0.15f, 0.05f};
        p.startSize = 0.5f;
        p.endSize = 0.14f;
        p.spreadType = 2;
        p.spreadMin = 0.0f;
        p.spreadMax = 0.05f;
        break;
    case ParticleEffect::KIND_WILDCARD_BALL:
        // A rainbow trail.
        p.emissionRate = 18;
        p.lifetimeMin = 0.3f;
        p.lifetimeMax = 0.6f;
        SetRange(p.speedRange, 0.02f, 0.1f, 0.02f, 0.1f);
        p.startColour = {1.0f, 0.2f, 0.2f};
        p.startColour2 = {0.2f, 0.4f, 1.0f};
        p.randomStartColour = 1;
        p.endColour = {1.0f, 1.0f, 0.3f};
        p.endColour2 = {0.3f, 1.0f, 0.4f};
        p.randomEndColour = 1;
        p.startSize = 0.45f;
        p.endSize = 0.05f;
        p.spreadType = 1;
        p.spreadMin = 0.0f;
        p.spreadMax = 0.06f;
        break;
    case ParticleEffect::KIND_EXPLOSION:
        p.lifetimeMin = 0.35f;
        p.lifetimeMax = 0.8f;
        SetRange(p.speedRange, 0.15f, 0.5f, 0.15f, 0.5f);
        p.startColour = {1.0f, 0.95f, 0.6f};
        p.startColour2 = {1.0f, 0.6f, 0.15f};
        p.randomStartColour = 1;
        p.endColour = {0.8f, 0.1f, 0.02f};
        p.startSize = 0.09f;
        p.endSize = 0.03f;
        p.spreadType = 1;
        p.spreadMin = 0.0f;
        p.spreadMax = 0.05f;
        break;
    case ParticleEffect::KIND_REMOVE:
        p.lifetimeMin = 0.3f;
        p.lifetimeMax = 0.6f;
        SetRange(p.speedRange, 0.1f, 0.3f, 0.1f, 0.3f);
        p.startColour = p.endColour = {1.0f, 1.0f, 1.0f};
        p.startSize = 0.07f;
        p.endSize = 0.02f;
        p.spreadType = 1;
        p.spreadMin = 0.0f;
        p.spreadMax = 0.04f;
        break;
    case ParticleEffect::KIND_GAME_OVER:
        // Embers rising from where the game ended.
        p.emissionRate = 40;
        p.lifetimeMin = 1.0f;
        p.lifetimeMax = 2.2f;
        SetRange(p.speedRange, 0.05f, 0.25f, 0.05f, 0.25f);
        SetRange(p.accelerationRange, -0.05f, 0.05f, 0.15f, 0.35f);
        p.startColour = {1.0f, 0.5f, 0.1f};
        p.startColour2 = {1.0f, 0.2f, 0.05f};
        p.randomStartColour = 1;
        p.endColour = {0.3f, 0.05f, 0.2f};
        p.startSize = 0.1f;
        p.endSize = 0.25f;
        p.spreadType = 1;
        p.spreadMin = 0.0f;
        p.spreadMax = 0.12f;
        break;
    }
    // The looks above give the sizes of the whole glow.
    p.startSize *= EFFECT_SPRITE_FILL;
    p.endSize *= EFFECT_SPRITE_FILL;
}
} // namespace

int EffectsGetCountForLevel(int level)
{
    static const int kCounts[4] = {0, 33, 66, 100};
    return level >= 0 && level <= 3 ? kCounts[level] : 0;
}

// ---- One effect -------------------------------------------------------------------------------------

ParticleEffect::ParticleEffect(Kind effectKind)
    : kind(effectKind), system(nullptr), parms(new (std::nothrow) _EngParticleSystemParms()), elapsed(0.0f),
      count(0), maxParticles(0)
{
    SetDefaults();
}

ParticleEffect::~ParticleEffect()
{
    // Systems are destroyed through ReleaseAll while the engine runs; at program end
    // only memory is given back.
    delete parms;
}

void ParticleEffect::SetDefaults()
{
    if (!parms)
        return;
    memset(parms, 0, sizeof(*parms));
    KindLook(kind, *parms);
    parms->emissionMode = kKinds[kind].emissionMode;
}

int ParticleEffect::MaxParticlesFor(Kind kind, int count)
{
    const KindTable &table = kKinds[kind];
    if (count <= 0 || table.maxPer100 == 0)
        return table.baseMax;
    return std::max(1, table.maxPer100 * count / 100);
}

void ParticleEffect::SetupParameters(int newCount, float size, EngTexture *texture)
{
    if (!parms)
        return;
    SetDefaults();
    const KindTable &table = kKinds[kind];
    count = std::max(0, std::min(100, newCount));
    maxParticles = MaxParticlesFor(kind, count);
    if (count == 0)
    {
        parms->firstCount = table.firstBase;
        parms->laterCount = table.laterBase;
    }
    else
    {
        parms->firstCount = std::max(1, table.firstPer100 * count / 100);
        parms->laterCount = std::max(1, table.laterPer100 * count / 100);
    }
    if (size > 0.0f)
    {
        bool ball = kind == KIND_EXPLODING_BALL || kind == KIND_WILDCARD_BALL;
        float factor = ball ? size * kBallSizeFactor : size;
        parms->startSize *= factor;
        parms->endSize *= factor;
    }
    parms->texture = texture && texture->IsLoaded() ? texture : nullptr;
}

char ParticleEffect::CreateSystem(char initialBurst, char recreate)
{
    if (!parms)
        return 0;
    if (system)
    {
        if (!recreate)
        {
            DebugError(ENG_FUNC, "System already created");
            return 0;
        }
        DestroySystem();
    }
    if (maxParticles <= 0)
        maxParticles = MaxParticlesFor(kind, count);
    system = new (std::nothrow) EngParticles();
    if (!system)
    {
        DebugErrorCode(ENG_FUNC, EngFourCC("OMEM"));
        return 0;
    }
    if (!system->Create(maxParticles, parms, true))
    {
        delete system;
        system = nullptr;
        return 0;
    }
    elapsed = 0.0f;
    if (initialBurst)
    {
        system->Update(0.1f, 1);
        elapsed = 0.1f;
    }
    return 1;
}

bool ParticleEffect::IsRunning() const
{
    return system && system->IsCreated();
}

char ParticleEffect::Tick()
{
    if (!IsRunning())
        return 0;
    elapsed += std::max(0.0f, EngFrameTiming.frameTime);
    if (system->Update(elapsed, 0) == 0)
    {
        if (kKinds[kind].repeats)
            return CreateSystem(1, 1);
        DestroySystem();
        return 0;
    }
    return 1;
}

void ParticleEffect::Render()
{
    if (IsRunning())
        system->Render();
}

void ParticleEffect::DestroySystem()
{
    if (!system)
        return;
    system->Destroy(true);
    delete system;
    system = nullptr;
}

EngParticles *ParticleEffect::GetSystem()
{
    if (!system)
        DebugErrorCode(ENG_FUNC, EngFourCC("NSTP"));
    return system;
}

_EngParticleSystemParms *ParticleEffect::GetParms()
{
    if (!parms)
        DebugErrorCode(ENG_FUNC, EngFourCC("NSTP"));
    return parms;
}

// ---- The container ----------------------------------------------------------------------------------

Effects::Effects()
    : menu(new (std::nothrow) ParticleEffect(ParticleEffect::KIND_MENU)), explosionBalls{}, wildcardBalls{},
      explosion(new (std::nothrow) ParticleEffect(ParticleEffect::KIND_EXPLOSION)),
      remove(new (std::nothrow) ParticleEffect(ParticleEffect::KIND_REMOVE)),
      gameOver(new (std::nothrow) ParticleEffect(ParticleEffect::KIND_GAME_OVER)), texture(nullptr),
      explosionPositions{}, wildcardPositions{}, explosionTaken{}, wildcardTaken{}, explosionPosition{},
      explosionScale{1.0f, 1.0f, 1.0f}, removePosition{}, removeScale{1.0f, 1.0f, 1.0f}, removeColour{1.0f, 1.0f, 1.0f},
      gameOverCentre{}
{
    for (int i = 0; i < NUM_BALL_EFFECTS; i++)
    {
        explosionBalls[i] = new (std::nothrow) ParticleEffect(ParticleEffect::KIND_EXPLODING_BALL);
        wildcardBalls[i] = new (std::nothrow) ParticleEffect(ParticleEffect::KIND_WILDCARD_BALL);
    }
}

Effects::~Effects()
{
    // No engine calls here (this runs after the engine has gone): a system still alive
    // is left to the operating system.
    delete menu;
    delete explosion;
    delete remove;
    delete gameOver;
    for (int i = 0; i < NUM_BALL_EFFECTS; i++)
    {
        delete explosionBalls[i];
        delete wildcardBalls[i];
    }
}

EngTexture *Effects::LoadedTexture()
{
    return texture && texture->IsLoaded() ? texture : nullptr;
}

ParticleEffect *Effects::GetExplosionBall(int number)
{
    return number >= 0 && number < NUM_BALL_EFFECTS ? explosionBalls[number] : nullptr;
}

ParticleEffect *Effects::GetWildcardBall(int number)
{
    return number >= 0 && number < NUM_BALL_EFFECTS ? wildcardBalls[number] : nullptr;
}

bool Effects::IsExplosionBallTaken(int number) const
{
    return number >= 0 && number < NUM_BALL_EFFECTS && explosionTaken[number];
}

bool Effects::IsWildcardBallTaken(int number) const
{
    return number >= 0 && number < NUM_BALL_EFFECTS && wildcardTaken[number];
}

char Effects::CreateGraphics()
{
    if (!texture)
        texture = new (std::nothrow) EngTexture(nullptr, 1);
    if (!texture)
        return 0;
    if (!texture->IsLoaded() && !texture->LoadFromFile("Data/NormalEffect.tga", 1, ENG_ALPHA_FROM_FILE, 0))
    {
        DebugError(ENG_FUNC, "Could not load normal effect texture");
        return 0;
    }
    ParticleEffect *all[] = {menu, explosion, remove, gameOver};
    for (ParticleEffect *effect : all)
        if (effect && effect->IsRunning())
            effect->GetSystem()->GetParms()->texture = texture;
    for (int i = 0; i < NUM_BALL_EFFECTS; i++)
        for (ParticleEffect *effect : {explosionBalls[i], wildcardBalls[i]})
            if (effect && effect->IsRunning())
                effect->GetSystem()->GetParms()->texture = texture;
    return 1;
}

void Effects::ReleaseGraphics()
{
    auto release = [](ParticleEffect *effect) {
        if (effect && effect->IsRunning())
        {
            effect->GetSystem()->GetParms()->texture = nullptr;
            effect->GetSystem()->DestroyGraphics();
        }
    };
    release(menu);
    release(explosion);
    release(remove);
    release(gameOver);
    for (int i = 0; i < NUM_BALL_EFFECTS; i++)
    {
        release(explosionBalls[i]);
        release(wildcardBalls[i]);
    }
    delete texture;
    texture = nullptr;
}

void Effects::DestroyAllSystems()
{
    for (ParticleEffect *effect : {menu, explosion, remove, gameOver})
        if (effect)
            effect->DestroySystem();
    for (int i = 0; i < NUM_BALL_EFFECTS; i++)
    {
        if (explosionBalls[i])
            explosionBalls[i]->DestroySystem();
        if (wildcardBalls[i])
            wildcardBalls[i]->DestroySystem();
    }
}

void Effects::ReleaseAll()
{
    ReleaseGraphics();
    DestroyAllSystems();
}

// ---- Menu ------------------------------------------------------------------------------------------

void Effects::StartMenuEffect()
{
    int level = MenuEffectsLevel();
    if (level < 1 || level > 3 || !menu)
        return;
    menu->SetupParameters(EffectsGetCountForLevel(level), kKinds[ParticleEffect::KIND_MENU].sizes[level - 1],
                          LoadedTexture());
    menu->CreateSystem(1, 1);
}

void Effects::StopMenuEffect()
{
    if (menu && menu->IsRunning())
        menu->DestroySystem();
}

void Effects::TickMenuEffect()
{
    if (menu && menu->IsRunning())
        menu->Tick();
}

void Effects::RenderMenuEffect()
{
    if (!menu || !menu->IsRunning() || !EngMainDevice)
        return;
    bool prepared = EngMainDevice->PrepareFor2DIfNotPrepared(true);
    bool changed = false;
    EngMainDevice->EnsureAlphaModulateDiffuse(&changed);
    EngMainDevice->EnableBlending(EngBlendFactors[4], EngBlendFactors[1]);
    menu->Render();
    EngMainDevice->EnableBlendingType(ENG_BLEND_ALPHA);
    if (changed)
        EngMainDevice->SetAlphaBlendTextureAlpha();
    if (prepared)
        EngMainDevice->RestoreAfter2D();
}

// ---- Ball followers ----------------------------------------------------------------------------------

int Effects::StartBall(ParticleEffect **effects, bool *taken, _Vector3d **positions, _Vector3d *position, int kindLevel)
{
    int level = GameEffectsLevel();
    if (level < 1 || level > 3)
        return -1;
    for (int i = 0; i < NUM_BALL_EFFECTS; i++)
    {
        if (taken[i] || !effects[i])
            continue;
        ParticleEffect *effect = effects[i];
        int count = effect->GetKind() == ParticleEffect::KIND_WILDCARD_BALL ? 40 + 20 * level
                                                                          : EffectsGetCountForLevel(level);
        effect->SetupParameters(count, kKinds[effect->GetKind()].sizes[level - 1], LoadedTexture());
        if (!effect->CreateSystem(1, 1))
            return -1;
        taken[i] = true;
        positions[i] = position;
        return i;
    }
    DebugError(ENG_FUNC, "No free systems");
    return -1;
}

void Effects::StopBall(ParticleEffect **effects, bool *taken, _Vector3d **positions, int number)
{
    if (number < 0)
        return;
    if (number >= NUM_BALL_EFFECTS)
    {
        DebugError(ENG_FUNC, "Invalid ball num %d", number);
        return;
    }
    if (effects[number])
        effects[number]->DestroySystem();
    positions[number] = nullptr;
    taken[number] = false;
}

int Effects::StartExplosionBall(_Vector3d *position)
{
    return StartBall(explosionBalls, explosionTaken, explosionPositions, position, 0);
}

int Effects::StartWildcardBall(_Vector3d *position)
{
    return StartBall(wildcardBalls, wildcardTaken, wildcardPositions, position, 0);
}

void Effects::SetExplosionBallPosition(int number, _Vector3d *position)
{
    if (number >= 0 && number < NUM_BALL_EFFECTS)
        explosionPositions[number] = position;
}

void Effects::SetWildcardBallPosition(int number, _Vector3d *position)
{
    if (number >= 0 && number < NUM_BALL_EFFECTS)
        wildcardPositions[number] = position;
}

void Effects::StopExplosionBall(int number)
{
    StopBall(explosionBalls, explosionTaken, explosionPositions, number);
}

void Effects::StopWildcardBall(int number)
{
    StopBall(wildcardBalls, wildcardTaken, wildcardPositions, number);
}

// ---- Bursts and the game-over effect ------------------------------------------------------------------

void Effects::StartExplosion(const _Vector3d *position, const _Vector3d *scale)
{
    int level = GameEffectsLevel();
    if (!position || !scale || level < 1 || level > 3 || !explosion)
        return;
    explosionPosition = *position;
    explosionScale = *scale;
    explosion->SetupParameters(EffectsGetCountForLevel(level), kKinds[ParticleEffect::KIND_EXPLOSION].sizes[level - 1],
                               LoadedTexture());
    explosion->CreateSystem(1, 1);
}

void Effects::StartRemoveEffect(const _Vector3d *position, const _Vector3d *scale, const _ColourRGB *colour)
{
    int level = GameEffectsLevel();
    if (!position || !scale || level < 1 || level > 3 || !remove)
        return;
    removePosition = *position;
    removeScale = *scale;
    removeColour = colour ? *colour : _ColourRGB{1.0f, 1.0f, 1.0f};
    remove->SetupParameters(EffectsGetCountForLevel(level), 0.0f, LoadedTexture());
    _EngParticleSystemParms *parms = remove->GetParms();
    if (parms)
        parms->startColour = parms->endColour = removeColour;
    if (!remove->CreateSystem(1, 1))
        return;
    EngParticles *system = remove->GetSystem();
    system->GetParms()->startColour = system->GetParms()->endColour = removeColour;
    _EngParticle *particles = system->GetParticles(0);
    for (int i = 0; particles && i < system->GetMaxParticles(); i++)
    {
        particles[i].colour[0] = removeColour.r;
        particles[i].colour[1] = removeColour.g;
        particles[i].colour[2] = removeColour.b;
        particles[i].colourChange[0] = particles[i].colourChange[1] = particles[i].colourChange[2] = 0.0f;
    }
}

void Effects::StartGameOverEffect(float x, float y, float z)
{
    if (!gameOver)
        return;
    gameOverCentre = {x, -y, z};
    gameOver->SetupParameters(0, 0.0f, LoadedTexture());
    gameOver->CreateSystem(1, 1);
}

void Effects::SetGameOverStrength(float value)
{
    // The emission rate is unsigned: a turret turned left gives none, not billions.
    float rate = std::isfinite(value) ? std::max(0.0f, 0.9f * value) * 100.0f : 0.0f;
    uint32_t emission = (uint32_t)std::min(rate, 10000.0f);
    if (_EngParticleSystemParms *parms = gameOver ? gameOver->GetParms() : nullptr)
        parms->emissionRate = emission;
    if (gameOver && gameOver->IsRunning())
        gameOver->GetSystem()->GetParms()->emissionRate = emission;
}

void Effects::StopGameOverEffect()
{
    gameOverCentre = {0.0f, 0.0f, 0.0f};
    if (gameOver && gameOver->IsRunning())
        gameOver->DestroySystem();
}

void Effects::StopAllBallEffects()
{
    for (int i = 0; i < NUM_BALL_EFFECTS; i++)
    {
        StopExplosionBall(i);
        StopWildcardBall(i);
    }
    if (remove && remove->IsRunning())
        remove->DestroySystem();
}

void Effects::ResetGameEffects()
{
    StopAllBallEffects();
    StopGameOverEffect();
    if (explosion && explosion->IsRunning())
        explosion->DestroySystem();
}

// ---- Tick and drawing --------------------------------------------------------------------------------

char Effects::TickGameEffects()
{
    char any = 0;
    auto tick = [&any](ParticleEffect *effect) {
        if (effect && effect->IsRunning())
        {
            any = 1;
            effect->Tick();
        }
    };
    for (int i = 0; i < NUM_BALL_EFFECTS; i++)
    {
        tick(explosionBalls[i]);
        tick(wildcardBalls[i]);
    }
    tick(explosion);
    tick(remove);
    tick(gameOver);
    return any;
}

void Effects::RenderGameEffects()
{
    if (!EngMainDevice)
        return;
    bool pushed = false, prepared = false, changed = false;
    const float scaleX = HorizontalScale();
    // Particles are made in field units; the world transform scales x for the screen
    // and moves them where they belong (y up on the device).
    auto draw = [&](ParticleEffect *effect, const _Vector3d *at, float sx, float sy) {
        if (!effect || !effect->IsRunning())
            return;
        if (!pushed)
        {
            prepared = EngMainDevice->PrepareFor2DIfNotPrepared(true);
            EngMainDevice->PushTransformMatrix();
            EngMainDevice->EnsureAlphaModulateDiffuse(&changed);
            EngMainDevice->EnableBlending(EngBlendFactors[4], EngBlendFactors[1]);
            pushed = true;
        }
        EngMatrix m;
        m.SetToScale(scaleX * sx, sy, 1.0f);
        if (at)
        {
            m.m[12] = at->x * scaleX;
            m.m[13] = -at->y;
        }
        EngMainDevice->SetTransformMatrix(&m);
        effect->Render();
    };
    for (int i = 0; i < NUM_BALL_EFFECTS; i++)
    {
        draw(explosionBalls[i], explosionPositions[i], 1.0f, 1.0f);
        draw(wildcardBalls[i], wildcardPositions[i], 1.0f, 1.0f);
    }
    draw(explosion, &explosionPosition, explosionScale.x, explosionScale.y);
    draw(remove, &removePosition, removeScale.x, removeScale.y);
    const _Vector3d gameOverAt = {gameOverCentre.x, -gameOverCentre.y, gameOverCentre.z};
    draw(gameOver, &gameOverAt, 1.0f, 1.0f);
    // Only what was pushed is popped.
    if (pushed)
    {
        EngMainDevice->EnableBlendingType(ENG_BLEND_ALPHA);
        if (changed)
            EngMainDevice->SetAlphaBlendTextureAlpha();
        EngMainDevice->PopTransformMatrix();
        if (prepared)
            EngMainDevice->RestoreAfter2D();
    }
}
