// Layered pictures: reading the ".ttx" description (a JSON object of textures and sets
// of stages, or single-stage layers) and loading the textures the shown stages use.
// Required keys are read directly, so a missing one throws json::Exception, which
// LoadFromFile catches and reports; optional keys go through the EngJson reading
// functions, which log and keep the default.
#include <cfloat>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <new>

#include "EngDebug.h"
#include "EngFile.h"
#include "EngJson.h"
#include "EngMath.h"
#include "EngMemory.h"
#include "EngPicture.h"
#include "EngTexture.h"

namespace
{
EngPictureTextureFileOverwriteCB s_overwriteCB = nullptr;

constexpr int kFileNameSize = 1024;

double RequiredNumber(const json::Object &object, const char *name)
{
    return object.GetMember(name).AsConstNumber().Value();
}

// A file's number is refused (logged; the field keeps its default) when converting it to
// its field would be undefined: NaN, the infinities, or beyond the field type's range.
bool FitsInt(const char *name, double value)
{
    if (value > -2147483649.0 && value < 2147483648.0)
        return true;
    DebugError("EngPicture::ReadStage", "Number %g of <%s> is out of range.", value, name);
    return false;
}

// A byte field takes the number truncated toward zero.
void RequiredByte(const json::Object &object, const char *name, uint8_t *out)
{
    double value = RequiredNumber(object, name);
    if (FitsInt(name, value))
        *out = (uint8_t)(int32_t)value;
}

void RequiredFloat(const json::Object &object, const char *name, float *out)
{
    double value = RequiredNumber(object, name);
    if (value >= -FLT_MAX && value <= FLT_MAX)
        *out = (float)value;
    else
        DebugError("EngPicture::ReadStage", "Number %g of <%s> is out of range.", value, name);
}

bool HasMember(const json::Object &object, const char *name)
{
    return object.Find(name) != object.End();
}

bool EndsWithIgnoringCase(const char *text, const char *ending)
{
    size_t length = strlen(text), endLength = strlen(ending);
    return length >= endLength && strcasecmp(text + length - endLength, ending) == 0;
}
} // namespace

void EngPictureSetTextureFileOverwriteCB(EngPictureTextureFileOverwriteCB callback)
{
    s_overwriteCB = callback;
}

void EngPicture::ReadStage(const void *objectPointer, _EngPictureStage *stage, bool isLayer)
{
    const json::Object &object = *(const json::Object *)objectPointer;
    double texValue = RequiredNumber(object, "TexNum");
    int texNum = FitsInt("TexNum", texValue) ? EngMathRoundDoubleToInt(texValue) : -1;
    stage->texNum = texNum < -1 || texNum >= textureCount ? -1 : texNum;
    if (!isLayer)
        EngJsonReadNumbersFromObject(object, "Locks", (char *)&stage->locks[0], (char *)&stage->locks[1],
                                     (char *)&stage->locks[2], (char *)&stage->locks[3], nullptr);
    EngJsonGetDimensionFromObject(object, "Main Area", &stage->pos.mainArea);
    char transType = 0;
    if (EngJsonGetCharFromObject(object, "Trans Type", &transType))
    {
        if (transType < 0 || transType > 4)
        {
            DebugError(ENG_FUNC, "Invalid trans type %d.", (int)transType);
            transType = 0;
        }
        stage->pos.transType = (int8_t)transType;
    }
    EngJsonReadNumbersFromObject(object, "Trans Speeds", &stage->pos.transSpeed, &stage->pos.transMult, nullptr,
                                 nullptr);
    EngJsonGetDimensionFromObject(object, "Trans End Area", &stage->pos.endArea);
    if (HasMember(object, "Trans Random Area"))
        EngJsonGetDimensionFromObject(object, "Trans Random Area", &stage->pos.randomArea);
    EngJsonReadNumbersFromObject(object, "RotFlags", (char *)&stage->rot.on, (char *)&stage->rot.mode, nullptr,
                                 nullptr, nullptr);
    EngJsonReadNumbersFromObject(object, "RotValues", &stage->rot.startAngle, &stage->rot.endAngle,
                                 &stage->rot.speed, &stage->rot.mult);
    EngJsonGetCharFromObject(object, "Show", (char *)&stage->alpha.show);
    RequiredFloat(object, "Alpha Level", &stage->alpha.level);
    EngJsonGetCharFromObject(object, "Alpha Blend Type", (char *)&stage->alpha.blendType);
    if (!isLayer)
        EngJsonReadNumbersFromObject(object, "Alpha Times", &stage->alpha.times[0], &stage->alpha.times[1],
                                     &stage->alpha.times[2], &stage->alpha.times[3]);
    RequiredByte(object, "Alpha Throb On", &stage->alpha.throbOn);
    RequiredFloat(object, "Alpha Throb Min Level", &stage->alpha.throbMinLevel);
    RequiredFloat(object, "Alpha Throb Speed", &stage->alpha.throbSpeed);
    RequiredFloat(object, "Alpha Throb Mult", &stage->alpha.throbMult);
    EngJsonGetCharFromObject(object, "TC Default", (char *)&stage->texCoords.isDefault);
    EngJsonReadNumbersFromObject(object, "TC TC", &stage->texCoords.rect[0], &stage->texCoords.rect[1],
                                 &stage->texCoords.rect[2], &stage->texCoords.rect[3]);
    EngJsonGetVector2dFromObject(object, "TC Tile", &stage->texCoords.tile);
    EngJsonGetCharFromObject(object, "TC Move", (char *)&stage->texCoords.move);
    EngJsonGetVector2dFromObject(object, "TC Speed", &stage->texCoords.speed);
}

_EngPictureSet *EngPicture::AddNamedSet(const void *entryPointer, const char *defaultName, int index)
{
    const json::Object &entry = *(const json::Object *)entryPointer;
    // Read before the set is added, so that a missing name leaves nothing half made.
    const std::string &name = entry.GetMember("Name").AsConstString().Value();
    if (!AddSet())
        return nullptr;
    _EngPictureSet *set = &sets[setCount - 1];
    if (name.empty())
        snprintf(set->name, sizeof(set->name), defaultName, index);
    else
        EngSafeStrcpy(set->name, name.c_str(), sizeof(set->name));
    return set;
}

bool EngPicture::ReadDescription(const void *objectPointer)
{
    const json::Object &object = *(const json::Object *)objectPointer;
    EngJsonGetDimensionFromObject(object, "Draw Area", &drawArea);
    if (HasMember(object, "Textures"))
    {
        const json::Array &list = object.GetMember("Textures").AsConstArray();
        for (json::Array::const_iterator it = list.Begin(); it != list.End(); ++it)
        {
            if (!AllocTexture())
                return false;
            const json::Object &entry = it->AsConstObject();
            _EngPictureTexture &texture = textures[textureCount - 1];
            EngSafeStrcpy(texture.path, entry.GetMember("Path").AsConstString().Value().c_str(), sizeof(texture.path));
            EngSafeStrcpy(texture.fileName, entry.GetMember("Filename").AsConstString().Value().c_str(),
                          sizeof(texture.fileName));
        }
    }
    if (HasMember(object, "Sets"))
    {
        const json::Array &list = object.GetMember("Sets").AsConstArray();
        int index = 0;
        for (json::Array::const_iterator it = list.Begin(); it != list.End(); ++it, ++index)
        {
            const json::Object &entry = it->AsConstObject();
            _EngPictureSet *set = AddNamedSet(&entry, "Set %d", index);
            if (!set)
                return false;
            const json::Array &stages = entry.GetMember("Stages").AsConstArray();
            for (json::Array::const_iterator stage = stages.Begin(); stage != stages.End(); ++stage)
            {
                if (!AddStage(set))
                    return false;
                _EngPictureStage *added = &set->stages[set->stageCount - 1];
                ReadStage(&stage->AsConstObject(), added, false);
                ResetStageVars(added);
            }
        }
        return true;
    }
    const json::Array &list = object.GetMember("Layers").AsConstArray();
    int index = 0;
    for (json::Array::const_iterator it = list.Begin(); it != list.End(); ++it, ++index)
    {
        const json::Object &entry = it->AsConstObject();
        _EngPictureSet *set = AddNamedSet(&entry, "Layer %d", index);
        if (!set)
            return false;
        if (!AddStage(set))
        {
            // A set without its stage would be reported at every draw: leave it out.
            RemoveLastSet();
            continue;
        }
        _EngPictureStage *added = &set->stages[0];
        ReadStage(&entry, added, true);
        ResetStageVars(added);
    }
    return true;
}

bool EngPicture::LoadFromFile(const char *folder, const char *name, bool addExtension, bool quiet)
{
    DestroyGraphics();
    Reset();
    if (!name || !name[0])
    {
        DebugError(ENG_FUNC, "No filename");
        return false;
    }
    char fileName[kFileNameSize];
    int length;
    if (folder)
    {
        SetPath(folder);
        length = snprintf(fileName, sizeof(fileName), "%s/%s", folder, name);
    }
    else
        length = snprintf(fileName, sizeof(fileName), "%s", name);
    // A name cut to fit would open some other file: too long a name is not found.
    if (length < 0 || (size_t)length + (addExtension ? 4 : 0) >= sizeof(fileName))
    {
        if (!quiet)
            DebugError(ENG_FUNC, "File not found <%s>", name);
        ClearSetsAndTextures();
        return false;
    }
    if (addExtension)
        memcpy(fileName + length, ".ttx", 5);
    if (!EngFileExists(fileName, false))
    {
        if (!quiet)
            DebugError(ENG_FUNC, "File not found <%s>", fileName);
        ClearSetsAndTextures();
        return false;
    }
    drawArea = {0.0f, 0.0f, 640.0f, 480.0f};
    json::Object object;
    if (!EngJsonReadObjectFromFile(&object, fileName))
    {
        ClearSetsAndTextures();
        return false;
    }
    if (!HasMember(object, "Layers") && !HasMember(object, "Sets"))
    {
        DebugError(ENG_FUNC, "Needed elements not found file [%s]", name);
        ClearSetsAndTextures();
        return false;
    }
    bool read = false;
    try
    {
        read = ReadDescription(&object);
    }
    catch (const json::Exception &exception)
    {
        DebugError(ENG_FUNC, "json::Exception <%s>", exception.what());
        read = false;
    }
    if (!read)
    {
        ClearSetsAndTextures();
        drawArea = {0.0f, 0.0f, 640.0f, 480.0f};
        return false;
    }
    Tick(1.0f);
    return true;
}

bool EngPicture::IsTextureNeeded(int texture)
{
    for (int i = 0; i < setCount; i++)
    {
        _EngPictureSet *set = GetSet(i);
        if (!set)
            continue;
        for (int j = 0; j < set->stageCount; j++)
        {
            const _EngPictureStage &stage = set->stages[j];
            if (stage.texNum != texture)
                continue;
            bool lockedAlpha = j > 0 && stage.locks[ENG_PICTURE_LOCK_ALPHA];
            if (lockedAlpha ? set->stages[0].alpha.show : stage.alpha.show)
                return true;
        }
    }
    return false;
}

bool EngPicture::CreateGraphics()
{
    if (textureCount == 0)
        return true;
    if (!textures)
    {
        DebugError(ENG_FUNC, "No textures");
        return false;
    }
    if (graphicsCreated)
        DebugError(ENG_FUNC, "Graphics already created (continuing...)");
    bool result = true;
    for (int i = 0; i < textureCount; i++)
    {
        _EngPictureTexture &entry = textures[i];
        if (!entry.fileName[0])
        {
            DebugError(ENG_FUNC, "No texture filename");
            result = false;
            continue;
        }
        if (!IsTextureNeeded(i))
            continue;
        bool alpha = strlen(entry.fileName) > 4 &&
                     (EndsWithIgnoringCase(entry.fileName, ".png") || EndsWithIgnoringCase(entry.fileName, ".tga"));
        char file[kFileNameSize] = "";
        if (s_overwriteCB)
        {
            const char *folder = entry.path[0] ? entry.path : (path && path[0] ? path : nullptr);
            if (!s_overwriteCB(folder, entry.fileName, file, kFileNameSize) || !file[0])
            {
                DebugError(ENG_FUNC, "No file returned for <%s>", entry.fileName);
                result = false;
                continue;
            }
            file[kFileNameSize - 1] = 0;
        }
        else if (entry.path[0])
            snprintf(file, sizeof(file), "%s/%s", entry.path, entry.fileName);
        else if (path && path[0])
            snprintf(file, sizeof(file), "%s/%s", path, entry.fileName);
        else
            snprintf(file, sizeof(file), "%s", entry.fileName);
        if (!EngFileExists(file, false))
        {
            DebugError(ENG_FUNC, "File not found: <%s>", file);
            result = false;
            continue;
        }
        if (!entry.texture)
        {
            entry.texture = new (std::nothrow) EngTexture("EngPicture", 0);
            if (!entry.texture)
            {
                DebugErrorCode(ENG_FUNC, EngFourCC("OMEM"));
                result = false;
                continue;
            }
        }
        entry.texture->LoadFromFile(file, alpha ? 1 : 0, ENG_ALPHA_FROM_FILE, 0);
        if (!entry.texture->IsLoaded())
            result = false;
    }
    graphicsCreated = 1;
    return result;
}
