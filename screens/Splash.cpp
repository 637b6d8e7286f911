// The splash sequence: configuration, the phase clock (fade in, hold, fade out), the
// picture layout, drawing and the sparkle particle effect. Relies on the engine's
// textures, fonts, pictures and particles, and on the frame clock for its timing.
//
// Sections: set-up, start and stop, graphics and layout, tick and render, effect.
#include "Splash.h"

#include <cstdio>
#include <cstring>

#include "Effects.h"
#include "EngDebug.h"
#include "EngDevice.h"
#include "EngFile.h"
#include "EngFont.h"
#include "EngGlobals.h"
#include "EngMain.h"
#include "EngMath.h"
#include "EngMemory.h"
#include "EngParticles.h"
#include "EngPicture.h"
#include "EngTexture.h"
#include "User.h"

namespace
{

const float kDefaultTextScaleX = 1.3f;
const float kDefaultTextScaleY = 1.2f;
const double kFadeInMilliseconds = 1600.0; // after a black 0.5 x 1600 ms
const double kHoldSeconds = 2.0;
const double kFadeOutMilliseconds = 1500.0;
const int kEffectBudget = 100;

enum
{
    KIND_NONE = 0,
    KIND_PICTURES = 1,
    KIND_DESCRIBED = 2,
};

struct SplashState
{
    uint8_t kind;
    char files[4][SPLASH_FILE_NAME_SIZE];
    char textPictureFile[SPLASH_FILE_NAME_SIZE];
    char effectFile[SPLASH_FILE_NAME_SIZE];
    char soundFile[SPLASH_FILE_NAME_SIZE];
    uint8_t effectFlag, fontFlag, blend;
    EngFont *font;
    float textScaleX, textScaleY;
    SplashTextFn textCallback;
    SplashHoldFn holdCallback;
    SplashFinishedFn finishedCallback;
    void *context;

    uint8_t on;
    uint8_t phase;
    float fade;
    double phaseStart;
    int8_t firstTick;
    float textPictureState, textPictureScale, textPictureAlpha;
    _Dimension rect;          // as set (width 0: the default)
    uint8_t keepAspect;
    _Dimension laidOut;       // after the layout
    float textCentreX, textCentreY, textBaseW, textBaseH;
    float effectClock;
    int effectBudget;
    char makerText[64];
};

SplashState s_splash = {};

// The module's device objects live for the whole program.
EngTexture s_pictures[4];
EngTexture s_textPicture("Splash Text");
EngTexture s_effectTexture("Splash Effect");
EngPicture s_picture;
_EngParticleSystemParms s_effectParms;
EngParticles s_effect;
EngMatrix s_effectTransform;

const char kSetupName[] = "Spash Setup";

// Checks a given file name: shorter than the field and present. Reports under the set-up
// name with `label` ("Tex 1", "Effect Tex", "Sound").
bool CheckFile(const char *file, const char *label, const char *existLabel)
{
    if (!DebugCheck(strlen(file) < SPLASH_FILE_NAME_SIZE, kSetupName, "%s filename too long (%s)", label, file))
        return false;
    return DebugCheck(EngFileExists(file, false), kSetupName, "%s does not exist (%s)", existLabel, file);
}

void CopyName(char *to, const char *from)
{
    EngSafeStrcpy(to, from ? from : "", SPLASH_FILE_NAME_SIZE);
}

void StoreFontAndCallbacks(EngFont *font, float textScaleX, float textScaleY, SplashTextFn textCallback,
                           SplashHoldFn holdCallback, SplashFinishedFn finishedCallback)
{
    s_splash.textScaleX = kDefaultTextScaleX;
    s_splash.textScaleY = kDefaultTextScaleY;
    s_splash.font = font;
    s_splash.fontFlag = font ? 1 : 0;
    if (font)
    {
        if (textScaleX > 0.0f)
            s_splash.textScaleX = textScaleX;
        if (textScaleY > 0.0f)
            s_splash.textScaleY = textScaleY;
    }
    s_splash.textCallback = textCallback;
    s_splash.holdCallback = holdCallback;
    s_splash.finishedCallback = finishedCallback;
}

const char *MakerText()
{
    if (!s_splash.makerText[0])
        snprintf(s_splash.makerText, sizeof(s_splash.makerText), "A Fernbrooks game  -  www.fernbrooks.example");
    return s_splash.makerText;
}

bool HasEffect()
{
    return s_splash.effectFlag && s_effectTexture.IsLoaded();
}

} // namespace

// ---- Set-up ---------------------------------------------------------------------------------------

char SplashSetup(const char *file1, const char *file2, const char *file3, const char *file4, const char *effectFile,
                 const char *textPictureFile, const char *soundFile, EngFont *font, float textScaleX,
                 float textScaleY, SplashTextFn textCallback, SplashHoldFn holdCallback,
                 SplashFinishedFn finishedCallback, void *context, char blend)
{
    if (!file1)
    {
        DebugError(ENG_FUNC, "Parameter error");
        return 0;
    }
    const char *files[4] = {file1, file2, file3, file4};
    for (int i = 0; i < 4; i++)
    {
        if (!files[i])
            continue;
        char label[8];
        snprintf(label, sizeof(label), "Tex %d", i + 1);
        if (!CheckFile(files[i], label, label))
            return 0;
    }
    if (textPictureFile && !CheckFile(textPictureFile, "Text Tex", "Text Tex"))
        return 0;
    if (effectFile && !CheckFile(effectFile, "Effect Tex", "Effect Tex"))
        return 0;
    if (soundFile && !CheckFile(soundFile, "Sound", "Sound file"))
        return 0;
    for (int i = 0; i < 4; i++)
        CopyName(s_splash.files[i], files[i]);
    CopyName(s_splash.textPictureFile, textPictureFile);
    CopyName(s_splash.effectFile, effectFile);
    s_splash.effectFlag = effectFile ? 1 : 0;
    CopyName(s_splash.soundFile, soundFile);
    StoreFontAndCallbacks(font, textScaleX, textScaleY, textCallback, holdCallback, finishedCallback);
    s_splash.context = context;
    s_splash.blend = blend ? 1 : 0;
    s_splash.kind = KIND_PICTURES;
    return 1;
}

bool SplashSetupPicture(const char *path, const char *name, const char *soundFile, EngFont *font, float textScaleX,
                        float textScaleY, SplashTextFn textCallback, SplashHoldFn holdCallback,
                        SplashFinishedFn finishedCallback)
{
    for (int i = 0; i < 4; i++)
        s_splash.files[i][0] = 0;
    s_splash.textPictureFile[0] = 0;
    s_splash.effectFlag = 0;
    if (soundFile && !CheckFile(soundFile, "Sound", "Sound file"))
        return false;
    CopyName(s_splash.soundFile, soundFile);
    StoreFontAndCallbacks(font, textScaleX, textScaleY, textCallback, holdCallback, finishedCallback);
    s_splash.blend = 0;
    ModulesSetupEngPictureTextureFileOverwrite(nullptr);
    s_picture.Destroy();
    if (!s_picture.LoadFromFile(path, name, true, false))
        return false;
    s_splash.kind = KIND_DESCRIBED;
    return true;
}

// ---- Start and stop ----------------------------------------------------------------------------------

char SplashStart()
{
    if (!DebugCheck(s_splash.kind != KIND_NONE, "SplashStart", "Splash not setup"))
        return 0;
    if (!DebugCheck(!s_splash.on, "SplashStart", "Splash is already on"))
        return 0;
    if (!DebugCheck(EngMainDevice != nullptr, "SplashStart", "No device"))
        return 0;
    s_splash.phase = SPLASH_PHASE_FADE_IN;
    s_splash.fade = 0.0f;
    s_splash.on = 1;
    s_splash.textPictureState = 0.0f;
    s_splash.textPictureScale = 0.0f;
    s_splash.textPictureAlpha = 0.0f;
    if (!SplashCreateGraphics())
    {
        DebugError("SplashStart", "Could not load textures");
        s_splash.on = 0;
        return 0;
    }
    if (s_splash.effectFlag)
    {
        memset(&s_effectParms, 0, sizeof(s_effectParms));
        s_effect.Destroy(true);
        if (s_effectTexture.IsLoaded())
        {
            if (!SplashEffectsSetupParameters(kEffectBudget, 1.0f, &s_effectTexture, &s_effectParms) ||
                !SplashEffectsCreate(1, 1, &s_effectParms, &s_effect))
            {
                s_effect.Destroy(true);
                s_effectTexture.Release();
            }
        }
    }
    // Both buffers black before the first splash frame.
    for (int i = 0; i < 2; i++)
    {
        EngMainDevice->SetClearColour(0.0f, 0.0f, 0.0f);
        if (EngMainDevice->BeginRendering())
        {
            EngMainDevice->ClearScreen();
            EngMainDevice->EndRendering();
            EngMainDevice->SwapBuffers();
        }
    }
    s_splash.firstTick = 1;
    return 1;
}

void SplashStop()
{
    bool wasOn = s_splash.on != 0;
    SplashReleaseGraphics();
    if (s_splash.effectFlag && s_effect.IsCreated())
        s_effect.Destroy(true);
    s_picture.Destroy();
    s_splash.on = 0;
    s_splash.phase = SPLASH_PHASE_IDLE;
    s_splash.firstTick = -1;
    if (wasOn && s_splash.finishedCallback)
        s_splash.finishedCallback(s_splash.context);
}

char SplashIsOn()
{
    return s_splash.on;
}

void SplashSetFullyShown()
{
    s_splash.phase = SPLASH_PHASE_HOLD;
    s_splash.fade = 1.0f;
}

int SplashGetPhase()
{
    return s_splash.phase;
}

float SplashGetFade()
{
    return s_splash.fade;
}

void SplashShutdown()
{
    s_splash.finishedCallback = nullptr;
    SplashStop();
    s_splash = {};
    s_splash.firstTick = -1;
}

// ---- Graphics and layout -----------------------------------------------------------------------------

bool SplashCreateGraphics()
{
    if (!s_splash.on)
        return true;
    bool ok = true;
    if (s_splash.kind == KIND_DESCRIBED)
    {
        if (!s_picture.IsGraphicsCreated() && !s_picture.CreateGraphics())
            ok = false;
    }
    else
    {
        for (int i = 0; i < 4; i++)
        {
            if (!s_splash.files[i][0] || s_pictures[i].IsLoaded())
                continue;
            bool loaded = s_splash.blend ? s_pictures[i].LoadFromFile(s_splash.files[i], 1, ENG_ALPHA_FROM_FILE, 0)
                                         : s_pictures[i].LoadFromFile(s_splash.files[i], 0, 0, 0);
            if (!loaded)
                ok = false;
        }
    }
    if (s_splash.textPictureFile[0] && !s_textPicture.IsLoaded() &&
        !s_textPicture.LoadFromFile(s_splash.textPictureFile, 1, ENG_ALPHA_FROM_FILE, 0))
        ok = false;
    if (s_splash.effectFlag)
    {
        if (!s_effectTexture.IsLoaded() && !s_effectTexture.LoadFromFile(s_splash.effectFile, 0, 0, 0))
            ok = false;
        if (s_effect.IsCreated() && !s_effect.HasGraphics())
            s_effect.CreateGraphics();
    }
    SplashLayout();
    return ok;
}

void SplashReleaseGraphics()
{
    s_effect.DestroyGraphics();
    for (EngTexture &picture : s_pictures)
        picture.Release();
    s_textPicture.Release();
    if (s_splash.effectFlag)
        s_effectTexture.Release();
    s_picture.DestroyGraphics();
    EngDimReset();
}

void SplashSetPictureRect(float x, float y, float w, float h, char keepAspect)
{
    s_splash.rect = {x, y, w, h};
    s_splash.keepAspect = keepAspect ? 1 : 0;
    SplashLayout();
}

void SplashLayout()
{
    _Dimension r = s_splash.rect.w > 0.0f ? s_splash.rect : _Dimension{200.0f, 115.0f, 240.0f, 250.0f};
    if (s_splash.rect.w > 0.0f && s_splash.keepAspect)
    {
        float aspect = EngScreenSettings.aspectWidthOverHeight;
        if (aspect < 1.0f)
            aspect = 1.0f;
        float centreY = r.y + r.h * 0.5f;
        r.h *= aspect;
        r.y = centreY - r.h * 0.5f;
    }
    // Square on the real screen whatever its shape.
    if (EngScreenSettings.width > 0 && EngScreenSettings.height > 0)
    {
        float centreX = r.x + r.w * 0.5f;
        r.w = r.h * 4.0f / 3.0f * (float)EngScreenSettings.height / (float)EngScreenSettings.width;
        r.x = centreX - r.w * 0.5f;
    }
    s_splash.laidOut = r;
    if (s_splash.kind == KIND_DESCRIBED)
        s_picture.SetDrawArea(r.x, r.y, r.w, r.h);
    else if (s_splash.files[1][0])
    {
        float halfW = r.w * 0.5f, halfH = r.h * 0.5f;
        s_pictures[0].PositionRatioed(r.x, r.y, halfW, halfH);
        s_pictures[1].PositionRatioed(r.x + halfW, r.y, halfW, halfH);
        s_pictures[2].PositionRatioed(r.x, r.y + halfH, halfW, halfH);
        s_pictures[3].PositionRatioed(r.x + halfW, r.y + halfH, halfW, halfH);
    }
    else
        s_pictures[0].PositionRatioed(r.x, r.y, r.w, r.h);
    s_splash.textCentreX = r.x + r.w * 0.5f;
    s_splash.textCentreY = r.y + 0.50625f * r.h;
    s_splash.textBaseW = r.w * 0.5f;
    s_splash.textBaseH = 0.1875f * r.h;
    float centreX = r.x + r.w * 0.5f, centreY = r.y + r.h * 0.5f;
    EngMatrix translation;
    s_effectTransform.SetToScale(r.w / 220.0f * 0.184211f, r.h / 240.0f * 0.065789f, 1.0f);
    translation.SetToTranslation((centreX - 320.0f) / 320.0f, (240.0f - centreY) / 240.0f, 0.0f);
    s_effectTransform.MultiplyBy(&translation);
}

// ---- Tick and render -----------------------------------------------------------------------------------

char SplashTick()
{
    if (!s_splash.on || !EngMainDevice)
        return 0;
    if (HasEffect())
        SplashEffectsTick(&s_effectParms, &s_effect);
    if (s_splash.kind == KIND_DESCRIBED)
        s_picture.Tick(1.0f);
    double now = EngFrameTiming.currentTime;
    if (s_splash.firstTick == 1)
    {
        s_splash.phaseStart = now;
        s_splash.firstTick = 0;
    }
    double elapsedMs = (now - s_splash.phaseStart) * 1000.0;
    switch (s_splash.phase)
    {
    case SPLASH_PHASE_FADE_IN:
    {
        float fade = (float)(elapsedMs / kFadeInMilliseconds - 0.5);
        s_splash.fade = fade < 0.0f ? 0.0f : fade;
        if (s_splash.fade > 1.0f)
        {
            s_splash.fade = 1.0f;
            s_splash.phase = SPLASH_PHASE_HOLD;
            s_splash.phaseStart = now;
        }
        if (s_splash.textPictureState == 0.0f && s_splash.fade > 0.2f)
        {
            s_splash.textPictureState = 1.0f;
            s_splash.textPictureScale = 0.3f;
            s_splash.textPictureAlpha = 0.0f;
        }
        break;
    }
    case SPLASH_PHASE_HOLD:
    {
        double held = now - s_splash.phaseStart;
        bool ended = s_splash.holdCallback ? s_splash.holdCallback(held, s_splash.context) : held >= kHoldSeconds;
        if (ended)
        {
            s_splash.phase = SPLASH_PHASE_FADE_OUT;
            s_splash.phaseStart = now;
        }
        break;
    }
    case SPLASH_PHASE_FADE_OUT:
        s_splash.fade = (float)(1.0 - elapsedMs / kFadeOutMilliseconds);
        if (s_splash.fade <= 0.0f)
        {
            s_splash.fade = 0.0f;
            s_splash.phase = SPLASH_PHASE_FINISHED;
        }
        break;
    case SPLASH_PHASE_FINISHED:
        SplashStop();
        return 1;
    default:
        break;
    }
    if (s_splash.phase >= SPLASH_PHASE_FADE_IN && s_splash.phase <= SPLASH_PHASE_FADE_OUT &&
        s_splash.textPictureState == 1.0f)
    {
        float frame = EngFrameTiming.frameTime;
        s_splash.textPictureScale += frame;
        s_splash.textPictureAlpha += 2.0f * frame;
        if (s_splash.textPictureAlpha > 1.0f)
            s_splash.textPictureAlpha = 1.0f;
        if (s_splash.textPictureScale >= 0.9f)
        {
            s_splash.textPictureScale = 0.9f;
            s_splash.textPictureState = 2.0f;
        }
    }
    return 1;
}

bool SplashRender(int clearMode)
{
    EngDevice *device = EngMainDevice;
    if (!s_splash.on || !device)
        return false;
    if (clearMode == 1)
        device->ClearScreen();
    else if (clearMode == 2)
        device->ClearScreenAndZBuffer();
    if (s_splash.phase < SPLASH_PHASE_FADE_IN)
        return true;
    if (s_splash.kind == KIND_PICTURES && !s_pictures[0].IsLoaded())
        return true;
    bool prepared = device->PrepareFor2DIfNotPrepared(true);
    bool began = device->BeginRenderingIfNotRendering();
    if (s_splash.kind == KIND_DESCRIBED)
        s_picture.Draw();
    else
    {
        if (s_splash.blend)
            device->EnableBlendingType(ENG_BLEND_ALPHA);
        int count = s_pictures[1].IsLoaded() ? 4 : 1;
        for (int i = 0; i < count; i++)
            if (s_pictures[i].IsLoaded())
                s_pictures[i].Draw();
        if (s_splash.blend)
            device->DisableBlending();
    }
    if (s_splash.fontFlag && s_splash.font && s_splash.font->IsCreated())
    {
        const char *text = s_splash.textCallback ? s_splash.textCallback(s_splash.context) : MakerText();
        s_splash.font->SetScale(s_splash.textScaleX, s_splash.textScaleY);
        s_splash.font->SetColour(1.0f, 1.0f, 1.0f, 1.0f);
        if (text)
            s_splash.font->DrawString(320.0f, 450.0f, 1, 1, text, 1);
        s_splash.font->SetScale(1.0f, 1.0f);
    }
    if (HasEffect())
    {
        device->PushTransformMatrix();
        device->SetTransformMatrix(&s_effectTransform);
        SplashEffectsRender(&s_effect, 0, 0, 0, 0, nullptr);
        device->PopTransformMatrix();
    }
    if (s_splash.textPictureState >= 1.0f && s_textPicture.IsLoaded() && s_splash.textPictureScale > 0.0f)
    {
        device->EnableBlendingType(ENG_BLEND_ALPHA);
        float w = s_splash.textBaseW * s_splash.textPictureScale, h = s_splash.textBaseH * s_splash.textPictureScale;
        s_textPicture.PositionRatioed(s_splash.textCentreX - w * 0.5f, s_splash.textCentreY - h * 0.5f, w, h);
        s_textPicture.DrawWithColour(1.0f, 1.0f, 1.0f, s_splash.textPictureAlpha);
        device->DisableBlending();
    }
    EngDimScreen(1.0f - s_splash.fade);
    if (prepared)
        device->RestoreAfter2D();
    if (began)
        device->EndRendering();
    return true;
}

// ---- Effect --------------------------------------------------------------------------------------------

bool SplashEffectsSetupParameters(int budget, float scale, EngTexture *texture, _EngParticleSystemParms *parms)
{
    if (!parms)
    {
        DebugError("SplashEffectsSetupParameters", "No parameters");
        return false;
    }
    s_splash.effectBudget = budget;
    parms->texture = texture && texture->IsLoaded() ? texture : nullptr;
    parms->emissionMode = ENG_PARTICLES_CONTINUOUS;
    int count = budget / 100;
    parms->firstCount = count < 1 ? 1 : count;
    parms->laterCount = parms->firstCount;
    parms->emissionRate = 0;
    parms->minEmissionInterval = 0.014063f;
    parms->blendKind = 1;
    float lifetime = scale > 0.0f ? 1.51335f * scale : 1.51335f;
    parms->lifetimeMin = lifetime;
    parms->lifetimeMax = lifetime;
    // The sparkle: small warm-white stars scattered over the picture, drifting and
    // turning, fading out over their life.
    parms->colourFlag = 1;
    parms->fadeIn = 0;
    parms->speedFactor = 1.0f;
    parms->startColour = {1.0f, 0.95f, 0.8f};
    parms->startColour2 = {0.8f, 0.9f, 1.0f};
    parms->endColour = {1.0f, 0.7f, 0.3f};
    parms->endColour2 = {0.6f, 0.7f, 1.0f};
    parms->randomStartColour = 1;
    parms->randomEndColour = 1;
    parms->startAlpha = 1.0f;
    parms->endAlpha = 0.0f;
    // The whole glow from 0.35 to 0.05, as the sprite fills its square.
    parms->startSize = 0.35f * EFFECT_SPRITE_FILL;
    parms->endSize = 0.05f * EFFECT_SPRITE_FILL;
    parms->spreadType = 0;
    parms->spreadFactor = 1.0f;
    parms->spreadMin = -1.9f;
    parms->spreadMax = 1.9f;
    parms->coneAngle = 180.0f;
    parms->speedRange.range = {0.2f, 0.8f, 1.0f, 5.0f, 0.0f, 0.0f};
    parms->spinRange.range = {0.0f, 0.0f, 0.0f, 0.0f, -3.0f, 3.0f};
    parms->keepDepth = 0;
    parms->twoSided = 1;
    return true;
}

char SplashEffectsCreate(char initialBurst, char allowRecreation, _EngParticleSystemParms *parms,
                         EngParticles *system)
{
    if (!system || !parms)
    {
        DebugError("SplashEffectsCreate", "No system pointer or no parameters");
        return 0;
    }
    if (system->IsCreated())
    {
        if (!allowRecreation)
        {
            DebugError("SplashEffectsCreate", "System already created");
            return 0;
        }
        system->Destroy(true);
    }
    int budget = s_splash.effectBudget;
    int count = budget == 0 ? 66 : budget * 66 / 100;
    if (!system->Create(count < 1 ? 1 : count, parms, true))
        return 0;
    if (initialBurst)
    {
        system->Update(0.1f, 1);
        s_splash.effectClock = 0.1f;
    }
    return 1;
}

char SplashEffectsRecreate(_EngParticleSystemParms *parms, EngParticles *system)
{
    return SplashEffectsCreate(1, 1, parms, system);
}

void SplashEffectsTick(_EngParticleSystemParms *parms, EngParticles *system)
{
    if (!system || !system->IsCreated())
    {
        DebugError("SplashEffectsTick", "No system");
        return;
    }
    s_splash.effectClock += EngFrameTiming.frameTime;
    if (system->Update(s_splash.effectClock, 0) == 0)
        SplashEffectsRecreate(parms, system);
}

void SplashEffectsRender(EngParticles *system, char setMatrix, char prepare2D, char useGivenPosition, char useScale,
                         const _Vector3d *position)
{
    if (!system || !system->IsCreated())
    {
        DebugError("SplashEffectsRender", "No system");
        return;
    }
    EngDevice *device = EngMainDevice;
    bool prepared = prepare2D && device && device->PrepareFor2DIfNotPrepared(true);
    if (setMatrix && device)
    {
        _Vector3d at = useGivenPosition && position ? *position : _Vector3d{0.034246f, 0.0f, 0.0f};
        device->PushTransformMatrix();
        if (useScale)
            device->SetTransformMatrixToTranslationAndScale(at.x, at.y, at.z, 0.184211f, 0.065789f, 1.0f);
        else
            device->SetTransformMatrixToTranslation(at.x, at.y, at.z);
    }
    system->Render();
    if (setMatrix && device)
        device->PopTransformMatrix();
    if (prepared)
        device->RestoreAfter2D();
}
