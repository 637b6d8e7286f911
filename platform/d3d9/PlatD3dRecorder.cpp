// The recording executor: draws nothing, keeps every call it gets in order.
#include "PlatD3dExecutor.h"

#include <cstring>

namespace
{
PlatD3dRecorder *s_lastRecorder = nullptr;

// Clears the "last recorder" when the device deletes it.
class OwnedRecorder : public PlatD3dRecorder
{
public:
    ~OwnedRecorder() override
    {
        if (s_lastRecorder == this)
            s_lastRecorder = nullptr;
    }
};
} // namespace

PlatD3dExecutor *PlatD3dRecorderFactory(const PlatD3dPresentParameters *parameters)
{
    s_lastRecorder = new OwnedRecorder();
    return s_lastRecorder;
}

PlatD3dRecorder *PlatD3dLastRecorder()
{
    return s_lastRecorder;
}

PlatD3dRecord &PlatD3dRecorder::Add(PlatD3dRecordKind kind, uint32_t a, uint32_t b, uint32_t c)
{
    records.emplace_back();
    PlatD3dRecord &record = records.back();
    memset(&record.matrix, 0, sizeof(record.matrix));
    memset(&record.viewport, 0, sizeof(record.viewport));
    memset(&record.rect, 0, sizeof(record.rect));
    memset(&record.material, 0, sizeof(record.material));
    record.kind = kind;
    record.a = a;
    record.b = b;
    record.c = c;
    record.vertexCount = 0;
    return record;
}

int PlatD3dRecorder::CountRenderState(PlatD3dRenderState state) const
{
    int count = 0;
    for (const PlatD3dRecord &record : records)
        if (record.kind == PLAT_REC_RENDER_STATE && record.a == state)
            count++;
    return count;
}

int PlatD3dRecorder::CountKind(PlatD3dRecordKind kind) const
{
    int count = 0;
    for (const PlatD3dRecord &record : records)
        if (record.kind == kind)
            count++;
    return count;
}

const PlatD3dRecord *PlatD3dRecorder::Last(PlatD3dRecordKind kind) const
{
    for (auto it = records.rbegin(); it != records.rend(); ++it)
        if (it->kind == kind)
            return &*it;
    return nullptr;
}

bool PlatD3dRecorder::Open(const PlatD3dPresentParameters &parameters)
{
    Add(PLAT_REC_OPEN, parameters.backBufferWidth, parameters.backBufferHeight);
    return true;
}

void PlatD3dRecorder::BeginScene()
{
    Add(PLAT_REC_BEGIN_SCENE);
}

void PlatD3dRecorder::EndScene()
{
    Add(PLAT_REC_END_SCENE);
}

void PlatD3dRecorder::SetRenderState(PlatD3dRenderState state, uint32_t value)
{
    Add(PLAT_REC_RENDER_STATE, state, value);
}

void PlatD3dRecorder::SetTextureStageState(uint32_t stage, PlatD3dStageState type, uint32_t value)
{
    Add(PLAT_REC_STAGE_STATE, stage, type, value);
}

void PlatD3dRecorder::SetSamplerState(uint32_t sampler, PlatD3dSamplerState type, uint32_t value)
{
    Add(PLAT_REC_SAMPLER_STATE, sampler, type, value);
}

void PlatD3dRecorder::SetTransform(PlatD3dTransform which, const PlatMatrix &matrix)
{
    Add(PLAT_REC_TRANSFORM, which).matrix = matrix;
}

void PlatD3dRecorder::SetViewport(const PlatD3dViewport &viewport)
{
    Add(PLAT_REC_VIEWPORT).viewport = viewport;
}

void PlatD3dRecorder::SetScissorRect(const PlatD3dRect &rect)
{
    Add(PLAT_REC_SCISSOR).rect = rect;
}

void PlatD3dRecorder::SetMaterial(const PlatD3dMaterial &material)
{
    Add(PLAT_REC_MATERIAL).material = material;
}

void PlatD3dRecorder::SetTexture(uint32_t stage, uint32_t textureId)
{
    Add(PLAT_REC_TEXTURE, stage, textureId);
}

void PlatD3dRecorder::Clear(const PlatD3dRect &rect, uint32_t flags, uint32_t colour, float z)
{
    Add(PLAT_REC_CLEAR, flags, colour).rect = rect;
}

void PlatD3dRecorder::Draw(PlatD3dPrimitive primitive, uint32_t fvf, uint32_t stride, const void *vertices,
                           uint32_t vertexCount)
{
    PlatD3dRecord &record = Add(PLAT_REC_DRAW, primitive, fvf, stride);
    record.vertexCount = vertexCount;
    if (keepVertices && vertices)
    {
        const uint8_t *bytes = (const uint8_t *)vertices;
        record.vertices.assign(bytes, bytes + (size_t)stride * vertexCount);
    }
}

uint32_t PlatD3dRecorder::CreateTexture(uint32_t width, uint32_t height, PlatD3dFormat format)
{
    lastTexture++;
    Add(PLAT_REC_CREATE_TEXTURE, lastTexture, width, height);
    return lastTexture;
}

void PlatD3dRecorder::UpdateTexture(uint32_t textureId, const void *pixels)
{
    Add(PLAT_REC_UPDATE_TEXTURE, textureId);
}

void PlatD3dRecorder::DestroyTexture(uint32_t textureId)
{
    Add(PLAT_REC_DESTROY_TEXTURE, textureId);
}

bool PlatD3dRecorder::KeepLayer()
{
    Add(PLAT_REC_KEEP_LAYER);
    return keepsLayer;
}

bool PlatD3dRecorder::RestoreLayer(const PlatD3dRect *rects, uint32_t count)
{
    for (uint32_t i = 0; i < count; i++)
        Add(PLAT_REC_RESTORE_LAYER).rect = rects[i];
    return keepsLayer;
}

bool PlatD3dRecorder::Present()
{
    Add(PLAT_REC_PRESENT);
    return presentResult;
}
