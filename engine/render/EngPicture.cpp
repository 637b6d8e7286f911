// Layered pictures: the set and stage lists, the per-frame update (stage changes,
// transitions, rotation, throbbing, scrolling texture coordinates) and drawing. Reading
// the description and loading the textures is in EngPictureLoad.cpp.
//
// Sections: life cycle and lists, per-frame update, drawing.
#include "EngPicture.h"

#include <cmath>
#include <cstring>

#include "EngDebug.h"
#include "EngDevice.h"
#include "EngMath.h"
#include "EngMemory.h"
#include "EngMisc.h"
#include "EngTexture.h"
#include "EngGlobals.h"

namespace
{
constexpr float kHalfPi = 1.5707963705062866f;
constexpr float kDegreesToRadians = 0.01745329238474369f;

// Eased progress: 0 -> 0, 0.5 -> 0.5, 1 -> 1, slow at both ends.
float Ease(float p)
{
    return 0.5f + 0.5f * sinf((2.0f * p - 1.0f) * kHalfPi);
}

// Blend types 1-19 as (source, destination) slots of the device's factor table.
const int kBlendSlots[19][2] = {{4, 5}, {4, 4}, {4, 1}, {4, 2}, {4, 3}, {4, 8}, {4, 6}, {4, 9}, {4, 7}, {4, 10},
                                {7, 5}, {7, 4}, {7, 1}, {7, 2}, {7, 3}, {7, 8}, {7, 6}, {7, 9}, {7, 7}};
int s_stagesAllowed = -1;

// The list grown to `size` bytes (the first block is a fresh allocation).
void *Grow(void *list, size_t size, const char *caller)
{
    return list ? EngRealloc(list, size, caller) : EngMalloc(size, caller, false);
}
} // namespace

// A seam for tests alone, declared only in the test kit (TestkitSeams.h).
void EngPictureLimitStagesForTests(int allowed)
{
    s_stagesAllowed = allowed;
}

// ---- Life cycle and lists ---------------------------------------------------------------------

EngPicture::EngPicture()
    : path(nullptr), graphicsCreated(0), textures(nullptr), textureCount(0), sets(nullptr), setCount(0),
      drawArea{0, 0, 640, 480}
{
    Reset();
}

EngPicture::~EngPicture()
{
    Destroy();
}

void EngPicture::Reset()
{
    ClearSetsAndTextures();
    graphicsCreated = 0;
    drawArea = {0.0f, 0.0f, 640.0f, 480.0f};
}

void EngPicture::ClearSetsAndTextures()
{
    EngFree(textures, false, ENG_FUNC);
    textures = nullptr;
    textureCount = 0;
    for (int i = 0; i < setCount; i++)
        EngFree(sets[i].stages, false, ENG_FUNC);
    EngFree(sets, false, ENG_FUNC);
    sets = nullptr;
    setCount = 0;
}

void EngPicture::Destroy()
{
    DestroyGraphics();
    ClearSetsAndTextures();
    EngFree(path, false, ENG_FUNC);
    path = nullptr;
}

void EngPicture::DestroyGraphics()
{
    if (!graphicsCreated)
        return;
    for (int i = 0; i < textureCount; i++)
    {
        if (textures[i].texture)
        {
            textures[i].texture->Release();
            delete textures[i].texture;
        }
        textures[i].texture = nullptr;
    }
    graphicsCreated = 0;
}

bool EngPicture::SetPath(const char *newPath)
{
    if (!newPath || !newPath[0])
    {
        EngFree(path, false, ENG_FUNC);
        path = nullptr;
        return true;
    }
    if (strlen(newPath) >= ENG_PICTURE_PATH_SIZE + 1)
    {
        DebugError(ENG_FUNC, "Path too long");
        return false;
    }
    char *copy = EngMallocStringFromString(newPath, true, ENG_FUNC);
    if (!copy)
        return false;
    EngFree(path, false, ENG_FUNC);
    path = copy;
    return true;
}

bool EngPicture::AllocTexture()
{
    _EngPictureTexture *grown =
        (_EngPictureTexture *)Grow(textures, sizeof(_EngPictureTexture) * (size_t)(textureCount + 1), ENG_FUNC);
    if (!grown)
    {
        DebugError(ENG_FUNC, "No memory (realloc)");
        return false;
    }
    textures = grown;
    memset(&textures[textureCount], 0, sizeof(_EngPictureTexture));
    textureCount++;
    return true;
}

bool EngPicture::AddSet()
{
    _EngPictureSet *grown =
        (_EngPictureSet *)Grow(sets, sizeof(_EngPictureSet) * (size_t)(setCount + 1), ENG_FUNC);
    if (!grown)
    {
        DebugErrorCode(ENG_FUNC, EngFourCC("OMEM"));
        return false;
    }
    sets = grown;
    memset(&sets[setCount], 0, sizeof(_EngPictureSet));
    sets[setCount].check = ENG_PICTURE_SET_CHECK;
    setCount++;
    ResetSetVars(setCount - 1);
    return true;
}

void EngPicture::RemoveLastSet()
{
    if (setCount < 1)
        return;
    EngFree(sets[setCount - 1].stages, false, ENG_FUNC);
    setCount--;
}

bool EngPicture::IsSetOk(_EngPictureSet *set, bool allowEmpty)
{
    if (!set)
    {
        DebugErrorCode(ENG_FUNC, EngFourCC("BAPA"));
        return false;
    }
    if (set->check != ENG_PICTURE_SET_CHECK)
    {
        DebugError(ENG_FUNC, "Check value is %d.", (int)set->check);
        return false;
    }
    if (set->stageCount < 1 && !allowEmpty)
    {
        DebugError(ENG_FUNC, "No stages [%d].", set->stageCount);
        return false;
    }
    return true;
}

bool EngPicture::AddStage(_EngPictureSet *set)
{
    if (!IsSetOk(set, true))
        return false;
    if (s_stagesAllowed == 0)
    {
        DebugErrorCode(ENG_FUNC, EngFourCC("OMEM"));
        return false;
    }
    if (s_stagesAllowed > 0)
        s_stagesAllowed--;
    _EngPictureStage *grown = (_EngPictureStage *)Grow(
        set->stages, sizeof(_EngPictureStage) * (size_t)(set->stageCount + 1), ENG_FUNC);
    if (!grown)
    {
        DebugErrorCode(ENG_FUNC, EngFourCC("OMEM"));
        return false;
    }
    set->stages = grown;
    _EngPictureStage *stage = &set->stages[set->stageCount];
    memset(stage, 0, sizeof(*stage));
    stage->check = ENG_PICTURE_STAGE_CHECK;
    stage->texNum = -1;
    stage->pos.mainArea = {0.0f, 0.0f, 1.0f, 1.0f};
    set->stageCount++;
    return true;
}

_EngPictureSet *EngPicture::GetSet(int index)
{
    if (index < 0 || index >= setCount)
    {
        DebugError(ENG_FUNC, "Invalid set num %d (%d)", index, setCount);
        return nullptr;
    }
    if (sets[index].stageCount < 1)
    {
        DebugError(ENG_FUNC, "Set num %d has no stages [%d]", index, 0);
        return nullptr;
    }
    return &sets[index];
}

_EngPictureTexture *EngPicture::GetTexture(int index)
{
    if (!textures)
    {
        DebugError(ENG_FUNC, "No textures");
        return nullptr;
    }
    if (index < 0 || index >= textureCount)
    {
        DebugError(ENG_FUNC, "Invalid tex num %d (%d)", index, textureCount);
        return nullptr;
    }
    return &textures[index];
}

void EngPicture::ResetSetVars(int index)
{
    if (index < 0 || index >= setCount)
    {
        DebugError(ENG_FUNC, "Invalid set num %d (%d)", index, setCount);
        return;
    }
    sets[index].currentStage = 0;
    sets[index].stageStartTime = EngFrameTiming.currentTime;
}

void EngPicture::SetDrawArea(float x, float y, float w, float h)
{
    drawArea = {x, y, w, h};
}

void EngPicture::SetDrawAreaFromDimension(const _Dimension *area)
{
    if (area)
        drawArea = *area;
}

void EngPicture::ResetStageTimeVars(_EngPictureStageAlpha *alpha, _EngPictureStageAlphaVars *vars)
{
    if (!alpha || !vars)
    {
        DebugErrorCode(ENG_FUNC, EngFourCC("BAPA"));
        return;
    }
    vars->total = 0.0f;
    for (int i = 0; i < 4; i++)
    {
        vars->times[i] = alpha->times[i];
        vars->total += alpha->times[i];
    }
}

void EngPicture::ResetTextureCoordinates(_EngPictureStage *stage)
{
    if (!stage)
    {
        DebugErrorCode(ENG_FUNC, EngFourCC("BAPA"));
        return;
    }
    if (stage->texCoords.isDefault)
    {
        stage->currentTexCoords[0] = 0.0f;
        stage->currentTexCoords[1] = 0.0f;
        stage->currentTexCoords[2] = stage->texCoords.tile.x;
        stage->currentTexCoords[3] = stage->texCoords.tile.y;
    }
    else
        memcpy(stage->currentTexCoords, stage->texCoords.rect, sizeof(stage->currentTexCoords));
}

void EngPicture::MoveToNextRandomPosition(_EngPictureStagePos *pos, _EngPictureStagePosVars *vars)
{
    if (!pos || !vars)
    {
        DebugErrorCode(ENG_FUNC, EngFourCC("BAPA"));
        return;
    }
    if (pos->transType != 4)
        return;
    const _Dimension &range = pos->randomArea, &main = pos->mainArea;
    // The whole main area stays inside the random area; an empty range gives its start.
    float maxX = range.x + range.w - main.w, maxY = range.y + range.h - main.h;
    vars->randomX = maxX > range.x ? EngMiscRandFloatRange(range.x, maxX, false) : range.x;
    vars->randomY = maxY > range.y ? EngMiscRandFloatRange(range.y, maxY, false) : range.y;
}

void EngPicture::ResetStageVars(_EngPictureStage *stage)
{
    if (!stage)
    {
        DebugErrorCode(ENG_FUNC, EngFourCC("BAPA"));
        return;
    }
    stage->posVars.t = 0.0f;
    stage->posVars.direction = 1;
    stage->posVars.area = stage->pos.mainArea;
    stage->rotVars.angle = stage->rot.startAngle;
    stage->rotVars.direction = 1;
    stage->alphaVars.throbLevel = 0.0f;
    stage->alphaVars.throbAngle = 0.0f;
    ResetStageTimeVars(&stage->alpha, &stage->alphaVars);
    ResetTextureCoordinates(stage);
    MoveToNextRandomPosition(&stage->pos, &stage->posVars);
}

// ---- Per-frame update ---------------------------------------------------------------------------

_EngPictureStage *EngPicture::GroupStage(_EngPictureSet *set, int lock)
{
    _EngPictureStage *current = &set->stages[set->currentStage];
    if (set->currentStage > 0 && current->locks[lock])
        return &set->stages[0];
    return current;
}

void EngPicture::TickCalcStageTransArea(_EngPictureStagePos *pos, _EngPictureStagePosVars *vars,
                                        _EngPictureStageAlphaVars *alphaVars)
{
    if (!pos || !vars || !alphaVars)
    {
        DebugErrorCode(ENG_FUNC, EngFourCC("BAPA"));
        return;
    }
    const float *from = &pos->mainArea.x, *to = &pos->endArea.x;
    float *area = &vars->area.x;
    switch (pos->transType)
    {
    case 3:
        EngMathLerpVector4(from, to, Ease(vars->t), area);
        break;
    case 4:
        EngMathLerpVector4(from, to, alphaVars->throbLevel, area);
        vars->area.x = vars->randomX;
        vars->area.y = vars->randomY;
        break;
    case 1:
    case 2:
        EngMathLerpVector4(from, to, vars->t, area);
        break;
    default:
        break;
    }
}

void EngPicture::TickSet(_EngPictureSet *set, float dt, double now)
{
    if (set->stageCount > 1)
    {
        const _EngPictureStage *timing = GroupStage(set, ENG_PICTURE_LOCK_ALPHA);
        if ((double)timing->alphaVars.total + set->stageStartTime <= now)
        {
            set->currentStage = (set->currentStage + 1) % set->stageCount;
            set->stageStartTime = now;
        }
    }

    _EngPictureStage *position = GroupStage(set, ENG_PICTURE_LOCK_POSITION);
    _EngPictureStage *rotation = GroupStage(set, ENG_PICTURE_LOCK_ROTATION);
    _EngPictureStage *alpha = GroupStage(set, ENG_PICTURE_LOCK_ALPHA);
    _EngPictureStage *coordinates = GroupStage(set, ENG_PICTURE_LOCK_TEXCOORDS);

    _EngPictureStagePos &pos = position->pos;
    _EngPictureStagePosVars &posVars = position->posVars;
    if (pos.transType > 0)
    {
        float step = pos.transSpeed * pos.transMult * dt;
        if (pos.transType == 1)
        {
            posVars.t += step;
            if (posVars.t >= 1.0f)
                posVars.t -= 1.0f;
        }
        else if (pos.transType == 2 || pos.transType == 3)
        {
            if (posVars.direction > 0)
            {
                posVars.t += step;
                if (posVars.t >= 1.0f)
                {
                    posVars.t = 1.0f;
                    posVars.direction = -1;
                }
            }
            else
            {
                posVars.t -= step;
                if (posVars.t <= 0.0f)
                {
                    posVars.t = 0.0f;
                    posVars.direction = 1;
                }
            }
        }
        TickCalcStageTransArea(&pos, &posVars, &alpha->alphaVars);
    }

    _EngPictureStageRot &rot = rotation->rot;
    _EngPictureStageRotVars &rotVars = rotation->rotVars;
    if (rot.on)
    {
        float step = rot.speed * rot.mult * dt;
        float low = fminf(rot.startAngle, rot.endAngle), high = fmaxf(rot.startAngle, rot.endAngle);
        if (rot.mode <= 0)
            rotVars.angle = rot.startAngle;
        else if (rot.mode == 1)
        {
            rotVars.angle += step;
            if (rotVars.angle >= rot.endAngle)
                rotVars.angle = rot.startAngle;
        }
        else if (rot.mode == 2)
        {
            rotVars.angle += step;
            if (rotVars.angle >= 360.0f)
                rotVars.angle -= 360.0f;
        }
        else if (rot.mode == 3)
        {
            bool bounded = rot.startAngle != rot.endAngle;
            if (rotVars.direction > 0)
            {
                rotVars.angle += step;
                if (bounded && rotVars.angle >= high)
                {
                    rotVars.angle = high;
                    rotVars.direction = -1;
                }
            }
            else
            {
                rotVars.angle -= step;
                if (bounded && rotVars.angle <= low)
                {
                    rotVars.angle = low;
                    rotVars.direction = 1;
                }
            }
        }
        else if (rot.startAngle == rot.endAngle)
            rotVars.angle = rot.startAngle;
        else
        {
            rotVars.phase += (float)rotVars.direction * step / (high - low);
            if (rotVars.direction > 0 && rotVars.phase >= 1.0f)
                rotVars.direction = -1;
            else if (rotVars.direction < 0 && rotVars.phase <= 0.0f)
                rotVars.direction = 1;
            rotVars.angle = low + (high - low) * Ease(rotVars.phase);
        }
    }

    _EngPictureStageAlpha &alphaParms = alpha->alpha;
    _EngPictureStageAlphaVars &alphaVars = alpha->alphaVars;
    if (alphaParms.throbOn)
    {
        bool cycleDone = false;
        float throb = EngMiscThrobTick(&alphaVars.throbAngle, alphaParms.throbSpeed * dt * alphaParms.throbMult,
                                       &cycleDone);
        alphaVars.throbLevel = alphaParms.throbMinLevel + (alphaParms.level - alphaParms.throbMinLevel) * throb;
        if (cycleDone)
            MoveToNextRandomPosition(&pos, &posVars);
    }

    _EngPictureStageTexCoords &tc = coordinates->texCoords;
    float *current = coordinates->currentTexCoords;
    if (tc.move)
    {
        const float speeds[2] = {tc.speed.x, tc.speed.y}, tiles[2] = {tc.tile.x, tc.tile.y};
        for (int axis = 0; axis < 2; axis++)
        {
            if (speeds[axis] == 0.0f)
                continue;
            float &low = current[axis], &high = current[axis + 2];
            low += speeds[axis] * dt * tiles[axis];
            if (tc.isDefault)
            {
                if (low >= 1.0f)
                    low -= 1.0f;
                else if (low < 0.0f)
                    low += 1.0f;
                high = low + tiles[axis];
            }
            else
            {
                high = low + (tc.rect[axis + 2] - tc.rect[axis]) * tiles[axis];
                if (low > tc.rect[axis + 2])
                {
                    low = tc.rect[axis];
                    high = tc.rect[axis + 2];
                }
            }
        }
    }
}

void EngPicture::Tick(float speed)
{
    const float dt = EngFrameTiming.frameTime * speed;
    const double now = EngFrameTiming.currentTime;
    for (int i = 0; i < setCount; i++)
    {
        _EngPictureSet *set = &sets[i];
        if (set->check != ENG_PICTURE_SET_CHECK || set->currentStage < 0 || set->currentStage >= set->stageCount)
            continue;
        TickSet(set, dt, now);
    }
}

// ---- Drawing ---------------------------------------------------------------------------------------

void EngPicture::Draw()
{
    for (int i = 0; i < setCount; i++)
        DrawSet(i, 1.0f);
}

void EngPicture::DrawWithAlpha(float alpha)
{
    for (int i = 0; i < setCount; i++)
        DrawSet(i, alpha);
}

void EngPicture::DrawSet(int index, float alphaFactor)
{
    EngDevice *device = EngMainDevice;
    if (!device)
        return;
    _EngPictureSet *set = GetSet(index);
    if (!set || set->currentStage < 0 || set->currentStage >= set->stageCount)
        return;
    _EngPictureStage *stage = &set->stages[set->currentStage];
    if (stage->texNum < 0)
        return;
    _EngPictureStage *alphaStage = GroupStage(set, ENG_PICTURE_LOCK_ALPHA);
    if (!alphaStage->alpha.show)
        return;
    _EngPictureStage *position = GroupStage(set, ENG_PICTURE_LOCK_POSITION);
    _EngPictureStage *rotation = GroupStage(set, ENG_PICTURE_LOCK_ROTATION);
    _EngPictureStage *coordinates = GroupStage(set, ENG_PICTURE_LOCK_TEXCOORDS);
    _EngPictureTexture *entry = GetTexture(stage->texNum);
    if (!entry || !entry->texture)
        return;
    EngTexture *texture = entry->texture;

    const _Dimension area = position->pos.transType <= 0 ? position->pos.mainArea : position->posVars.area;
    if (area.w <= 0.0f || area.h <= 0.0f)
    {
        DebugError(ENG_FUNC, "No pos.");
        return;
    }

    float factor = alphaFactor;
    if (set->stageCount > 1)
    {
        const _EngPictureStageAlphaVars &times = alphaStage->alphaVars;
        const double start = set->stageStartTime, now = EngFrameTiming.currentTime;
        const float fadeIn = times.times[0], fadeOut = times.times[1], hold = times.times[2], tail = times.times[3];
        if (fadeIn > 0.0f && now < start + fadeIn)
            factor *= 1.0f - (float)((start + fadeIn - now) / fadeIn);
        if (fadeOut > 0.0f && now >= start + fadeIn + hold)
            factor *= 1.0f - (float)((now - (start + fadeIn + hold)) / fadeOut);
        if (tail > 0.0f && now >= start + times.total - tail)
            factor = 0.0f;
    }
    const _EngPictureStageAlpha &alpha = alphaStage->alpha;
    if (alpha.throbOn)
        texture->SetAlpha(alpha.level * alphaStage->alphaVars.throbLevel * factor);
    else
        texture->SetAlpha(alpha.level * factor);

    const float *tc = coordinates->currentTexCoords;
    const _Dimension coordinatesRect = {tc[0], tc[1], tc[2], tc[3]};
    texture->SetTextureCoordinatesFromDimension(&coordinatesRect);

    const int blendType = alpha.blendType;
    if (blendType > 0)
    {
        if (blendType <= 19)
            device->EnableBlending(EngBlendFactors[kBlendSlots[blendType - 1][0]],
                                   EngBlendFactors[kBlendSlots[blendType - 1][1]]);
        else if (blendType == 20)
            DebugError(ENG_FUNC, "Invalid blend num");
        else
            device->EnableBlending(EngBlendFactors[7], EngBlendFactors[0]);
    }

    const bool fullScreen = device->IsViewportFullScreen();
    _EngViewport previous;
    device->GetViewport(&previous);
    if (fullScreen)
        device->SetViewportToRatioedRect(&drawArea.x);
    else
    {
        float kx = EngScreenSettings.width > 0 ? (float)previous.width / (float)EngScreenSettings.width : 1.0f;
        float ky = EngScreenSettings.height > 0 ? (float)previous.height / (float)EngScreenSettings.height : 1.0f;
        float sx = EngScreenSettings.scaleToScreenX, sy = EngScreenSettings.scaleToScreenY;
        const float nested[4] = {drawArea.x * sx * kx + (float)previous.x, drawArea.y * sy * ky + (float)previous.y,
                                 drawArea.w * sx * kx, drawArea.h * sy * ky};
        device->SetViewportToRect(nested);
    }

    EngMatrix world, step;
    world.SetToTranslation(2.0f * area.x - 1.0f + area.w, 1.0f - 2.0f * area.y - area.h, 0.0f);
    if (rotation->rot.on)
    {
        step.SetToRotationZ(-(rotation->rotVars.angle * kDegreesToRadians));
        world.PreMultiplyBy(&step);
    }
    step.SetToScale(2.0f * area.w, 2.0f * area.h, 1.0f);
    world.PreMultiplyBy(&step);
    device->PushTransformMatrix();
    device->SetTransformMatrix(&world);
    texture->PositionPure(-0.5f, -0.5f, 1.0f, 1.0f);
    texture->Draw();
    device->PopTransformMatrix();

    if (fullScreen)
        device->SetViewportFullScreen();
    else
        device->SetViewportToViewportStruct(&previous);
    if (blendType > 0)
        device->DisableBlending();
}
