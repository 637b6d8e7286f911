// The executor every device draws through: it receives each state write and draw the
// device accepted, already checked and resolved (vertex data in memory, textures by
// id). Two implementations: OpenGL 3.3 (PlatD3dCreateGLExecutor) and the recorder
// below, which draws nothing and keeps a list of what it was told, for tests.
#pragma once
#include <cstdint>
#include <vector>

#include "PlatD3d9.h"

class PlatD3dExecutor
{
public:
    virtual ~PlatD3dExecutor() {}

    // Makes the back buffer of the parameters' size; false with the reason in
    // PlatD3dGetErrorText.
    virtual bool Open(const PlatD3dPresentParameters &parameters) = 0;
    // "Renderer, version" for the log.
    virtual const char *GetRendererText() = 0;

    virtual void BeginScene() = 0;
    virtual void EndScene() = 0;
    virtual void SetRenderState(PlatD3dRenderState state, uint32_t value) = 0;
    virtual void SetTextureStageState(uint32_t stage, PlatD3dStageState type, uint32_t value) = 0;
    virtual void SetSamplerState(uint32_t sampler, PlatD3dSamplerState type, uint32_t value) = 0;
    virtual void SetTransform(PlatD3dTransform which, const PlatMatrix &matrix) = 0;
    virtual void SetViewport(const PlatD3dViewport &viewport) = 0;
    virtual void SetScissorRect(const PlatD3dRect &rect) = 0;
    virtual void SetMaterial(const PlatD3dMaterial &material) = 0;
    // Texture 0 is none.
    virtual void SetTexture(uint32_t stage, uint32_t textureId) = 0;
    // Clears `rect` (back-buffer pixels, already limited to the viewport); the scissor
    // test applies when it is on.
    virtual void Clear(const PlatD3dRect &rect, uint32_t flags, uint32_t colour, float z) = 0;
    // Vertices of the given vertex format and stride.
    virtual void Draw(PlatD3dPrimitive primitive, uint32_t fvf, uint32_t stride, const void *vertices,
                      uint32_t vertexCount) = 0;

    // Textures: 32-bit pixels, bytes B, G, R, A; X8R8G8B8 samples with alpha 1.
    virtual uint32_t CreateTexture(uint32_t width, uint32_t height, PlatD3dFormat format) = 0;
    virtual void UpdateTexture(uint32_t textureId, const void *pixels) = 0;
    virtual void DestroyTexture(uint32_t textureId) = 0;

    // Fences mark the work sent so far; a fence not issued counts as done.
    virtual uint32_t CreateFence() = 0;
    virtual void IssueFence(uint32_t fenceId) = 0;
    virtual bool IsFenceDone(uint32_t fenceId, bool flush) = 0;
    // Waits at most `seconds`; true when the fence is done.
    virtual bool WaitFence(uint32_t fenceId, double seconds) = 0;
    virtual void DestroyFence(uint32_t fenceId) = 0;

    // Shows the back buffer (vsync per the presentation interval); false on failure.
    virtual bool Present() = 0;
    // The back buffer as 0xAARRGGBB (alpha 255), rows top to bottom.
    virtual bool ReadBackBuffer(uint32_t *pixels, uint32_t width, uint32_t height) = 0;
    // A copy of the whole back buffer kept aside, and parts of it put back (back-buffer
    // pixels): a frame whose first draws are those of the frame before starts its
    // changed areas from them instead of drawing them again. False where the executor
    // keeps none.
    virtual bool CanKeepLayer() { return false; }
    virtual bool KeepLayer() { return false; }
    virtual bool RestoreLayer(const PlatD3dRect *rects, uint32_t count)
    {
        (void)rects;
        (void)count;
        return false;
    }
    // True when the back buffer keeps its pixels from one present to the next, so that
    // a frame may draw again only what changed.
    virtual bool KeepsBackBuffer() { return false; }
};

// ---- Drawing only what changed ---------------------------------------------------------

// Wraps an open executor whose back buffer (of the given size) keeps its pixels: each
// frame is compared with the one before and only the draws reaching a changed area are
// sent, cut to it. Owns `inner`.
PlatD3dExecutor *PlatD3dCreateDamageExecutor(PlatD3dExecutor *inner, uint32_t width, uint32_t height);

// What the frames came to.
struct PlatD3dDamageStats
{
    uint64_t wholeFrames;     // drawn whole (first frame, other calls, too much changed)
    uint64_t partialFrames;   // drawn in the changed areas only
    uint64_t unchangedFrames; // the same picture: nothing drawn
    uint32_t lastAreas;       // areas of the last partial frame
    uint64_t lastPixels;      // and the pixels they cover
    uint64_t cutDraws;        // draws of partial frames sent once, their triangles cut to the areas
    uint64_t scissoredDraws;  // draws of partial frames sent once per area, cut by the scissor
    uint64_t layerFrames;     // partial frames whose areas started from the kept layer
    uint64_t hiddenTiles;     // damaged tiles left out, a later unchanged opaque draw over them (per damaging draw)
};
bool PlatD3dGetDamageStats(const PlatD3dExecutor *executor, PlatD3dDamageStats *out);
// The device's, when it draws through the damage executor.
bool PlatD3dDeviceGetDamageStats(PlatD3dDevice *device, PlatD3dDamageStats *out);

// The OpenGL 3.3 core executor (shader programs emulating the fixed-function states
// above). With no device window it draws into a hidden window of its own.
PlatD3dExecutor *PlatD3dCreateGLExecutor(const PlatD3dPresentParameters *parameters);

// ---- The recorder --------------------------------------------------------------------

enum PlatD3dRecordKind
{
    PLAT_REC_OPEN,
    PLAT_REC_BEGIN_SCENE,
    PLAT_REC_END_SCENE,
    PLAT_REC_RENDER_STATE,   // a state, b value
    PLAT_REC_STAGE_STATE,    // a stage, b type, c value
    PLAT_REC_SAMPLER_STATE,  // a sampler, b type, c value
    PLAT_REC_TRANSFORM,      // a which, matrix
    PLAT_REC_VIEWPORT,       // viewport
    PLAT_REC_SCISSOR,        // rect
    PLAT_REC_MATERIAL,       // material
    PLAT_REC_TEXTURE,        // a stage, b texture id
    PLAT_REC_CLEAR,          // rect, a flags, b colour
    PLAT_REC_DRAW,           // a primitive, b fvf, c stride, vertexCount, vertices
    PLAT_REC_CREATE_TEXTURE, // a id, b width, c height
    PLAT_REC_UPDATE_TEXTURE, // a id
    PLAT_REC_DESTROY_TEXTURE,// a id
    PLAT_REC_PRESENT,
    PLAT_REC_KEEP_LAYER,
    PLAT_REC_RESTORE_LAYER,  // rect (one record for each)
};

struct PlatD3dRecord
{
    PlatD3dRecordKind kind;
    uint32_t a, b, c;
    uint32_t vertexCount;
    PlatMatrix matrix;
    PlatD3dViewport viewport;
    PlatD3dRect rect;
    PlatD3dMaterial material;
    std::vector<uint8_t> vertices;
};

class PlatD3dRecorder : public PlatD3dExecutor
{
public:
    std::vector<PlatD3dRecord> records;
    // Off: draws are recorded without a copy of their vertices (benchmarks).
    bool keepVertices = true;
    // Answer of Present (false simulates a failing present).
    bool presentResult = true;
    // Answer of KeepsBackBuffer (true lets the device draw through the damage executor).
    bool keepsBackBuffer = false;
    // Answer of CanKeepLayer, KeepLayer and RestoreLayer.
    bool keepsLayer = false;

    void Clear() { records.clear(); }
    // How many writes of `state` were recorded (any value).
    int CountRenderState(PlatD3dRenderState state) const;
    int CountKind(PlatD3dRecordKind kind) const;
    // The last record of a kind, or NULL.
    const PlatD3dRecord *Last(PlatD3dRecordKind kind) const;

    bool Open(const PlatD3dPresentParameters &parameters) override;
    const char *GetRendererText() override { return "Recorder, 1.0"; }
    void BeginScene() override;
    void EndScene() override;
    void SetRenderState(PlatD3dRenderState state, uint32_t value) override;
    void SetTextureStageState(uint32_t stage, PlatD3dStageState type, uint32_t value) override;
    void SetSamplerState(uint32_t sampler, PlatD3dSamplerState type, uint32_t value) override;
    void SetTransform(PlatD3dTransform which, const PlatMatrix &matrix) override;
    void SetViewport(const PlatD3dViewport &viewport) override;
    void SetScissorRect(const PlatD3dRect &rect) override;
    void SetMaterial(const PlatD3dMaterial &material) override;
    void SetTexture(uint32_t stage, uint32_t textureId) override;
    void Clear(const PlatD3dRect &rect, uint32_t flags, uint32_t colour, float z) override;
    void Draw(PlatD3dPrimitive primitive, uint32_t fvf, uint32_t stride, const void *vertices,
              uint32_t vertexCount) override;
    uint32_t CreateTexture(uint32_t width, uint32_t height, PlatD3dFormat format) override;
    void UpdateTexture(uint32_t textureId, const void *pixels) override;
    void DestroyTexture(uint32_t textureId) override;
    bool CanKeepLayer() override { return keepsLayer; }
    bool KeepLayer() override;
    bool RestoreLayer(const PlatD3dRect *rects, uint32_t count) override;
    uint32_t CreateFence() override { return ++lastFence; }
    void IssueFence(uint32_t fenceId) override {}
    bool IsFenceDone(uint32_t fenceId, bool flush) override { return true; }
    bool WaitFence(uint32_t fenceId, double seconds) override { return IsFenceDone(fenceId, true); }
    void DestroyFence(uint32_t fenceId) override {}
    bool Present() override;
    bool ReadBackBuffer(uint32_t *pixels, uint32_t width, uint32_t height) override { return false; }
    bool KeepsBackBuffer() override { return keepsBackBuffer; }

private:
    PlatD3dRecord &Add(PlatD3dRecordKind kind, uint32_t a = 0, uint32_t b = 0, uint32_t c = 0);
    uint32_t lastTexture = 0;
    uint32_t lastFence = 0;
};

// A factory for PlatD3dSetExecutorFactory that makes recorders; the last one made is
// PlatD3dLastRecorder() (owned by its device).
PlatD3dExecutor *PlatD3dRecorderFactory(const PlatD3dPresentParameters *parameters);
PlatD3dRecorder *PlatD3dLastRecorder();
