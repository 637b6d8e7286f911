// Layered, animated 2D pictures described by ".ttx" JSON files. A picture lists the
// image files it uses and one or more sets; each set is a sequence of stages shown one
// after another, and each stage draws one texture into a rectangle of the picture's
// draw area with its own movement, rotation, alpha with fading and throbbing, blending
// and scrolling texture coordinates. All sets are drawn on top of each other, in order.
// Load once, CreateGraphics once the device exists, then per frame SetDrawArea, Tick
// and Draw (in the device's 2D mode).
#pragma once
#include <cstdint>

#include "EngTypes.h"

class EngTexture;

// Gives the full name of the image file to load for a texture: folder (the texture's
// "Path", else the picture's folder, else NULL), the texture's "Filename", and a buffer
// of outSize (1024) characters, empty on entry. False when it has none.
typedef bool (*EngPictureTextureFileOverwriteCB)(const char *folder, const char *fileName, char *out, int outSize);
// One callback for the whole program; NULL removes it.
void EngPictureSetTextureFileOverwriteCB(EngPictureTextureFileOverwriteCB callback);

enum
{
    ENG_PICTURE_SET_CHECK = 101,
    ENG_PICTURE_STAGE_CHECK = 102,
    ENG_PICTURE_PATH_SIZE = 512,
    ENG_PICTURE_FILENAME_SIZE = 64,
    ENG_PICTURE_SET_NAME_SIZE = 32,
};

// Stage groups that a later stage can take from its set's first stage ("Locks").
enum
{
    ENG_PICTURE_LOCK_POSITION = 0,
    ENG_PICTURE_LOCK_ROTATION = 1,
    ENG_PICTURE_LOCK_ALPHA = 2,
    ENG_PICTURE_LOCK_TEXCOORDS = 3,
};

struct _EngPictureTexture
{
    char path[ENG_PICTURE_PATH_SIZE];
    char fileName[ENG_PICTURE_FILENAME_SIZE];
    EngTexture *texture; // owned; NULL until CreateGraphics
};

// Areas are fractions of the draw area, x and y from its top-left corner.
struct _EngPictureStagePos
{
    _Dimension mainArea;
    int8_t transType; // 0 none, 1 loop, 2 back and forth, 3 eased back and forth, 4 random
    float transSpeed, transMult;
    _Dimension endArea;
    _Dimension randomArea;
};

struct _EngPictureStagePosVars
{
    float t;          // 0 to 1
    int8_t direction; // +1 or -1
    _Dimension area;
    float randomX, randomY;
};

struct _EngPictureStageRot
{
    uint8_t on;
    int8_t mode;                // 0 fixed, 1 to the end and back to the start, 2 full turns, 3 bounce, 4 eased
    float startAngle, endAngle; // degrees
    float speed, mult;          // degrees per second
};

struct _EngPictureStageRotVars
{
    float angle;
    float phase;
    int8_t direction;
};

struct _EngPictureStageAlpha
{
    uint8_t show;
    float times[4]; // seconds: fade in, fade out, hold, hidden tail
    float level;
    int8_t blendType;
    uint8_t throbOn;
    float throbMinLevel, throbSpeed, throbMult;
};

struct _EngPictureStageAlphaVars
{
    float total;
    float times[4];
    float throbLevel;
    float throbAngle; // radians
};

struct _EngPictureStageTexCoords
{
    uint8_t isDefault;
    float rect[4]; // tu1, tv1, tu2, tv2
    _Vector2d tile;
    uint8_t move;
    _Vector2d speed; // texture units per second
};

struct _EngPictureStage
{
    uint8_t check;
    int32_t texNum; // -1: none
    uint8_t locks[4];
    _EngPictureStagePos pos;
    _EngPictureStageRot rot;
    _EngPictureStageAlpha alpha;
    _EngPictureStageTexCoords texCoords;
    _EngPictureStagePosVars posVars;
    _EngPictureStageRotVars rotVars;
    _EngPictureStageAlphaVars alphaVars;
    float currentTexCoords[4];
};

struct _EngPictureSet
{
    uint8_t check;
    char name[ENG_PICTURE_SET_NAME_SIZE];
    _EngPictureStage *stages; // owned
    int32_t stageCount;
    int32_t currentStage; // a negative index neither advances nor draws
    double stageStartTime; // frame clock seconds
};

class EngPicture
{
public:
    EngPicture();
    ~EngPicture();
    EngPicture(const EngPicture &) = delete;
    EngPicture &operator=(const EngPicture &) = delete;

    // path (may be NULL) + "/" + name (+ ".ttx"). Loads no texture. False leaves the
    // picture empty.
    bool LoadFromFile(const char *path, const char *name, bool addExtension, bool quiet);
    // Loads the textures of shown stages; true only when none of them failed.
    bool CreateGraphics();
    void DestroyGraphics();
    void Destroy();
    // One frame: the frame time times speed.
    void Tick(float speed);
    void Draw();
    void DrawWithAlpha(float alpha);
    void DrawSet(int set, float alpha);
    // Design units.
    void SetDrawArea(float x, float y, float w, float h);
    void SetDrawAreaFromDimension(const _Dimension *area);
    const _Dimension &GetDrawArea() const { return drawArea; }
    int GetNumSets() const { return setCount; }
    _EngPictureSet *GetSet(int index);
    _EngPictureTexture *GetTexture(int index);
    int GetNumTextures() const { return textureCount; }
    void ResetSetVars(int index);
    // NULL or empty frees the path; 513 characters or more are refused.
    bool SetPath(const char *path);
    const char *GetPath() const { return path; }
    bool IsGraphicsCreated() const { return graphicsCreated != 0; }

    void ResetStageTimeVars(_EngPictureStageAlpha *alpha, _EngPictureStageAlphaVars *vars);
    void TickCalcStageTransArea(_EngPictureStagePos *pos, _EngPictureStagePosVars *vars,
                                _EngPictureStageAlphaVars *alphaVars);

private:
    void Reset();
    void ClearSetsAndTextures();
    bool AllocTexture();
    bool AddSet();
    bool AddStage(_EngPictureSet *set);
    // A set named from the entry's "Name" (empty: defaultName with the index).
    _EngPictureSet *AddNamedSet(const void *entry, const char *defaultName, int index);
    // Drops the last set (one that could not be filled).
    void RemoveLastSet();
    bool IsSetOk(_EngPictureSet *set, bool allowEmpty);
    void ResetStageVars(_EngPictureStage *stage);
    void ResetTextureCoordinates(_EngPictureStage *stage);
    void MoveToNextRandomPosition(_EngPictureStagePos *pos, _EngPictureStagePosVars *vars);
    // The stage whose group `lock` applies to the current stage (its own, or the set's
    // first when locked).
    _EngPictureStage *GroupStage(_EngPictureSet *set, int lock);
    bool IsTextureNeeded(int texture);
    void TickSet(_EngPictureSet *set, float dt, double now);
    // JSON reading, in EngPictureLoad.cpp; throws json::Exception on a missing required
    // key (caught by LoadFromFile).
    bool ReadDescription(const void *object);
    void ReadStage(const void *object, _EngPictureStage *stage, bool isLayer);

    char *path;
    uint8_t graphicsCreated;
    _EngPictureTexture *textures;
    int32_t textureCount;
    _EngPictureSet *sets;
    int32_t setCount;
    _Dimension drawArea;
};
