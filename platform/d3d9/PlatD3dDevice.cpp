// The device: checks each call, keeps the state a caller can read back, holds the CPU
// copies of vertex buffers, textures and surfaces, and hands every accepted state write
// and draw to its executor. A device lives while it or any of its resources is
// referenced; its reference count includes one per live resource.
//
// Sections: module state, device creation and release, frame, state, drawing, resources.
#include <cstdlib>
#include <cstring>

#include "PlatD3dExecutor.h"
#include "PlatD3dInternal.h"

enum
{
    MAX_STAGES = 8,
};

struct PlatD3dDevice
{
    uint32_t references;
    uint32_t liveResources;
    PlatD3dExecutor *executor;
    PlatD3dPresentParameters parameters;
    PlatD3dCaps caps;
    bool inScene;
    bool lost;
    uint32_t renderStates[PLAT_RS_COUNT];
    PlatMatrix world, view, projection;
    PlatD3dViewport viewport;
    PlatD3dRect scissor;
    PlatD3dMaterial material;
    PlatD3dTexture *textures[MAX_STAGES];
    uint32_t fvf;
    PlatD3dVertexBuffer *stream;
    uint32_t streamOffset;
    uint32_t streamStride;
};

struct PlatD3dVertexBuffer
{
    PlatD3dDevice *device;
    uint32_t references;
    uint32_t length;
    uint32_t fvf;
    bool locked;
    uint8_t *data;
};

struct PlatD3dTexture
{
    PlatD3dDevice *device;
    uint32_t references;
    uint32_t width, height;
    PlatD3dFormat format;
    PlatD3dPool pool;
    uint32_t usage;
    uint32_t executorId;
    bool locked;
    uint8_t *pixels; // width x height x 4 bytes, B, G, R, A
};

struct PlatD3dSurface
{
    PlatD3dDevice *device;
    uint32_t references;
    uint32_t width, height;
    PlatD3dFormat format;
    PlatD3dPool pool;
    uint32_t fence;
    bool locked;
    uint8_t *pixels;
};

struct PlatD3dQuery
{
    PlatD3dDevice *device;
    uint32_t references;
    uint32_t fence;
};

namespace
{
struct
{
    bool simulatedLoss;
    PlatD3dExecutorFactory factory;
} s_device = {false, nullptr};

// How long locking a surface may wait for its fill (seconds).
const double kSurfaceWait = 1.0;

uint32_t VertexSize(uint32_t fvf)
{
    uint32_t size = 0;
    if (fvf & PLAT_FVF_XYZRHW)
        size += 16;
    else if (fvf & PLAT_FVF_XYZ)
        size += 12;
    if (fvf & PLAT_FVF_NORMAL)
        size += 12;
    if (fvf & PLAT_FVF_DIFFUSE)
        size += 4;
    if (fvf & PLAT_FVF_SPECULAR)
        size += 4;
    if (fvf & PLAT_FVF_TEX1)
        size += 8;
    return size;
}

uint32_t VertexCount(PlatD3dPrimitive type, uint32_t primitives)
{
    switch (type)
    {
    case PLAT_PT_TRIANGLELIST:
        return primitives * 3;
    case PLAT_PT_TRIANGLESTRIP:
    case PLAT_PT_TRIANGLEFAN:
        return primitives + 2;
    default:
        return 0;
    }
}

void DeviceFree(PlatD3dDevice *device)
{
    delete device->executor;
    delete device;
}

// A resource is gone: the device loses its reference, and goes when nothing is left.
void DeviceDropResource(PlatD3dDevice *device)
{
    if (device->liveResources > 0)
        device->liveResources--;
    if (device->references == 0 && device->liveResources == 0)
        DeviceFree(device);
}

void SendDefaults(PlatD3dDevice *device)
{
    PlatD3dExecutor *executor = device->executor;
    for (uint32_t state = 1; state < PLAT_RS_COUNT; state++)
        executor->SetRenderState((PlatD3dRenderState)state, device->renderStates[state]);
    for (uint32_t stage = 0; stage < MAX_STAGES; stage++)
    {
        bool first = stage == 0;
        executor->SetTextureStageState(stage, PLAT_TSS_COLOROP, first ? PLAT_TOP_MODULATE : PLAT_TOP_DISABLE);
        executor->SetTextureStageState(stage, PLAT_TSS_COLORARG1, PLAT_TA_TEXTURE);
        executor->SetTextureStageState(stage, PLAT_TSS_COLORARG2, PLAT_TA_CURRENT);
        executor->SetTextureStageState(stage, PLAT_TSS_ALPHAOP, first ? PLAT_TOP_SELECTARG1 : PLAT_TOP_DISABLE);
        executor->SetTextureStageState(stage, PLAT_TSS_ALPHAARG1, PLAT_TA_TEXTURE);
        executor->SetTextureStageState(stage, PLAT_TSS_ALPHAARG2, PLAT_TA_CURRENT);
        executor->SetSamplerState(stage, PLAT_SAMP_ADDRESSU, PLAT_TADDRESS_WRAP);
        executor->SetSamplerState(stage, PLAT_SAMP_ADDRESSV, PLAT_TADDRESS_WRAP);
        executor->SetSamplerState(stage, PLAT_SAMP_MAGFILTER, PLAT_TEXF_POINT);
        executor->SetSamplerState(stage, PLAT_SAMP_MINFILTER, PLAT_TEXF_POINT);
        executor->SetSamplerState(stage, PLAT_SAMP_MIPFILTER, PLAT_TEXF_NONE);
    }
    executor->SetTransform(PLAT_TS_WORLD, device->world);
    executor->SetTransform(PLAT_TS_VIEW, device->view);
    executor->SetTransform(PLAT_TS_PROJECTION, device->projection);
    executor->SetViewport(device->viewport);
    executor->SetScissorRect(device->scissor);
    executor->SetMaterial(device->material);
}
} // namespace

// ---- Device creation and release ------------------------------------------------------

bool PlatD3dDeviceGetDamageStats(PlatD3dDevice *device, PlatD3dDamageStats *out)
{
    return device && PlatD3dGetDamageStats(device->executor, out);
}

void PlatD3dSetExecutorFactory(PlatD3dExecutorFactory factory)
{
    s_device.factory = factory;
}

void PlatD3dSimulateDeviceLoss(bool lost)
{
    s_device.simulatedLoss = lost;
}

PlatD3dExecutor *PlatD3dDeviceGetExecutor(PlatD3dDevice *device)
{
    return device ? device->executor : nullptr;
}

PlatResult PlatD3dCreateDevice(PlatD3d *d3d, uint32_t adapter, PlatD3dDeviceType type, void *focusWindow,
                               uint32_t behaviourFlags, PlatD3dPresentParameters *parameters, PlatD3dDevice **out)
{
    if (out)
        *out = nullptr;
    if (!d3d || !parameters || !out || adapter >= d3d->display.adapterCount)
        return PLAT_D3DERR_INVALIDCALL;
    PlatD3dCaps caps;
    PlatResult result = PlatD3dGetDeviceCaps(d3d, adapter, type, &caps);
    if (result != PLAT_D3D_OK)
        return result;
    const PlatD3dFakeAdapter &info = d3d->display.adapters[adapter];
    if (parameters->backBufferWidth == 0 || parameters->backBufferHeight == 0)
    {
        parameters->backBufferWidth = 640;
        parameters->backBufferHeight = 480;
    }
    if (parameters->backBufferFormat == PLAT_FMT_UNKNOWN)
        parameters->backBufferFormat = info.desktop.format;
    if (parameters->backBufferCount == 0)
        parameters->backBufferCount = 1;
    if (!parameters->windowed)
    {
        bool found = false;
        for (uint32_t i = 0; i < info.modeCount && !found; i++)
            found = info.modes[i].width == parameters->backBufferWidth &&
                    info.modes[i].height == parameters->backBufferHeight;
        if (!found)
        {
            PlatD3dSetErrorText("No display mode of %ux%u", parameters->backBufferWidth,
                                parameters->backBufferHeight);
            return PLAT_D3DERR_INVALIDCALL;
        }
    }
    uint32_t levels = 0;
    if (!PlatD3dIsOfferedMultiSample(info, parameters->multiSampleType, &levels) ||
        parameters->multiSampleQuality >= levels)
    {
        PlatD3dSetErrorText("Multisample type %u quality %u not offered", parameters->multiSampleType,
                            parameters->multiSampleQuality);
        return PLAT_D3DERR_INVALIDCALL;
    }

    PlatD3dExecutor *executor =
        s_device.factory ? s_device.factory(parameters) : PlatD3dCreateGLExecutor(parameters);
    if (!executor)
        return PLAT_D3DERR_NOTAVAILABLE;
    if (!executor->Open(*parameters))
    {
        delete executor;
        return PLAT_D3DERR_NOTAVAILABLE;
    }
    // A back buffer that keeps its pixels is drawn again only where frames change; the
    // variable turns that off (every frame drawn whole).
    const char *whole = getenv("PLINX_DRAW_WHOLE_FRAMES");
    if (executor->KeepsBackBuffer() && !(whole && whole[0] && strcmp(whole, "0") != 0))
        executor = PlatD3dCreateDamageExecutor(executor, parameters->backBufferWidth, parameters->backBufferHeight);

    PlatD3dDevice *device = new PlatD3dDevice();
    device->references = 1;
    device->executor = executor;
    device->parameters = *parameters;
    device->caps = caps;
    uint32_t *rs = device->renderStates;
    rs[PLAT_RS_ZENABLE] = parameters->enableAutoDepthStencil ? 1 : 0;
    rs[PLAT_RS_ZWRITEENABLE] = 1;
    rs[PLAT_RS_LIGHTING] = 1;
    rs[PLAT_RS_CULLMODE] = PLAT_CULL_CCW;
    rs[PLAT_RS_SRCBLEND] = PLAT_BLEND_ONE;
    rs[PLAT_RS_DESTBLEND] = PLAT_BLEND_ZERO;
    rs[PLAT_RS_ALPHABLENDENABLE] = 0;
    rs[PLAT_RS_SCISSORTESTENABLE] = 0;
    rs[PLAT_RS_MULTISAMPLEANTIALIAS] = 1;
    rs[PLAT_RS_SPECULARENABLE] = 0;
    rs[PLAT_RS_LOCALVIEWER] = 1;
    rs[PLAT_RS_AMBIENT] = 0;
    rs[PLAT_RS_DIFFUSEMATERIALSOURCE] = PLAT_MCS_COLOR1;
    rs[PLAT_RS_AMBIENTMATERIALSOURCE] = PLAT_MCS_MATERIAL;
    rs[PLAT_RS_EMISSIVEMATERIALSOURCE] = PLAT_MCS_MATERIAL;
    PlatD3dxMatrixIdentity(&device->world);
    PlatD3dxMatrixIdentity(&device->view);
    PlatD3dxMatrixIdentity(&device->projection);
    device->viewport = {0, 0, parameters->backBufferWidth, parameters->backBufferHeight, 0.0f, 1.0f};
    device->scissor = {0, 0, (int32_t)parameters->backBufferWidth, (int32_t)parameters->backBufferHeight};
    SendDefaults(device);
    *out = device;
    return PLAT_D3D_OK;
}

uint32_t PlatD3dDeviceRelease(PlatD3dDevice *device)
{
    if (!device || device->references == 0)
        return 0;
    device->references--;
    uint32_t left = device->references + device->liveResources;
    if (left == 0)
        DeviceFree(device);
    return left;
}

PlatResult PlatD3dDeviceTestCooperativeLevel(PlatD3dDevice *device)
{
    if (!device)
        return PLAT_D3DERR_INVALIDCALL;
    if (s_device.simulatedLoss)
        return PLAT_D3DERR_DEVICELOST;
    return device->lost ? PLAT_D3DERR_DEVICENOTRESET : PLAT_D3D_OK;
}

PlatResult PlatD3dDeviceGetDeviceCaps(PlatD3dDevice *device, PlatD3dCaps *out)
{
    if (!device || !out)
        return PLAT_D3DERR_INVALIDCALL;
    *out = device->caps;
    return PLAT_D3D_OK;
}

PlatResult PlatD3dDeviceGetBackBufferDesc(PlatD3dDevice *device, uint32_t index, PlatD3dSurfaceDesc *out)
{
    if (!device || !out || index != 0)
        return PLAT_D3DERR_INVALIDCALL;
    memset(out, 0, sizeof(*out));
    out->format = device->parameters.backBufferFormat;
    out->type = PLAT_RTYPE_SURFACE;
    out->usage = PLAT_USAGE_RENDERTARGET;
    out->pool = PLAT_POOL_DEFAULT;
    out->multiSampleType = device->parameters.multiSampleType;
    out->multiSampleQuality = device->parameters.multiSampleQuality;
    out->width = device->parameters.backBufferWidth;
    out->height = device->parameters.backBufferHeight;
    return PLAT_D3D_OK;
}

const char *PlatD3dDeviceGetRendererText(PlatD3dDevice *device)
{
    return device ? device->executor->GetRendererText() : "";
}

// ---- Frame --------------------------------------------------------------------------------

PlatResult PlatD3dDeviceBeginScene(PlatD3dDevice *device)
{
    if (!device || device->inScene)
        return PLAT_D3DERR_INVALIDCALL;
    device->inScene = true;
    device->executor->BeginScene();
    return PLAT_D3D_OK;
}

PlatResult PlatD3dDeviceEndScene(PlatD3dDevice *device)
{
    if (!device || !device->inScene)
        return PLAT_D3DERR_INVALIDCALL;
    device->inScene = false;
    device->executor->EndScene();
    return PLAT_D3D_OK;
}

PlatResult PlatD3dDeviceClear(PlatD3dDevice *device, uint32_t rectCount, const PlatD3dRect *rects, uint32_t flags,
                              uint32_t colour, float z, uint32_t stencil)
{
    if (!device || (rectCount > 0 && !rects))
        return PLAT_D3DERR_INVALIDCALL;
    if ((flags & PLAT_CLEAR_ZBUFFER) && !device->parameters.enableAutoDepthStencil)
        return PLAT_D3DERR_INVALIDCALL;
    const PlatD3dViewport &vp = device->viewport;
    PlatD3dRect whole = {(int32_t)vp.x, (int32_t)vp.y, (int32_t)(vp.x + vp.width), (int32_t)(vp.y + vp.height)};
    if (rectCount == 0)
    {
        device->executor->Clear(whole, flags, colour, z);
        return PLAT_D3D_OK;
    }
    for (uint32_t i = 0; i < rectCount; i++)
    {
        PlatD3dRect part = rects[i];
        part.left = part.left > whole.left ? part.left : whole.left;
        part.top = part.top > whole.top ? part.top : whole.top;
        part.right = part.right < whole.right ? part.right : whole.right;
        part.bottom = part.bottom < whole.bottom ? part.bottom : whole.bottom;
        if (part.right > part.left && part.bottom > part.top)
            device->executor->Clear(part, flags, colour, z);
    }
    return PLAT_D3D_OK;
}

PlatResult PlatD3dDevicePresent(PlatD3dDevice *device)
{
    if (!device || device->inScene)
        return PLAT_D3DERR_INVALIDCALL;
    if (s_device.simulatedLoss || device->lost)
    {
        device->lost = true;
        return PLAT_D3DERR_DEVICELOST;
    }
    return device->executor->Present() ? PLAT_D3D_OK : PLAT_D3DERR_DRIVERINTERNALERROR;
}

PlatResult PlatD3dDeviceReadBackBuffer(PlatD3dDevice *device, uint32_t *pixels, uint32_t width, uint32_t height)
{
    if (!device || !pixels || width != device->parameters.backBufferWidth ||
        height != device->parameters.backBufferHeight)
        return PLAT_D3DERR_INVALIDCALL;
    return device->executor->ReadBackBuffer(pixels, width, height) ? PLAT_D3D_OK : PLAT_D3DERR_NOTAVAILABLE;
}

// ---- State ----------------------------------------------------------------------------------

PlatResult PlatD3dDeviceSetRenderState(PlatD3dDevice *device, PlatD3dRenderState state, uint32_t value)
{
    if (!device || state == 0 || state >= PLAT_RS_COUNT)
        return PLAT_D3DERR_INVALIDCALL;
    device->renderStates[state] = value;
    device->executor->SetRenderState(state, value);
    return PLAT_D3D_OK;
}

PlatResult PlatD3dDeviceGetRenderState(PlatD3dDevice *device, PlatD3dRenderState state, uint32_t *value)
{
    if (!device || !value || state == 0 || state >= PLAT_RS_COUNT)
        return PLAT_D3DERR_INVALIDCALL;
    *value = device->renderStates[state];
    return PLAT_D3D_OK;
}

PlatResult PlatD3dDeviceSetTextureStageState(PlatD3dDevice *device, uint32_t stage, PlatD3dStageState type,
                                             uint32_t value)
{
    if (!device || stage >= MAX_STAGES || type == 0 || type >= PLAT_TSS_COUNT)
        return PLAT_D3DERR_INVALIDCALL;
    device->executor->SetTextureStageState(stage, type, value);
    return PLAT_D3D_OK;
}

PlatResult PlatD3dDeviceSetSamplerState(PlatD3dDevice *device, uint32_t sampler, PlatD3dSamplerState type,
                                        uint32_t value)
{
    if (!device || sampler >= MAX_STAGES || type == 0 || type >= PLAT_SAMP_COUNT)
        return PLAT_D3DERR_INVALIDCALL;
    device->executor->SetSamplerState(sampler, type, value);
    return PLAT_D3D_OK;
}

PlatResult PlatD3dDeviceSetTransform(PlatD3dDevice *device, PlatD3dTransform which, const PlatMatrix *matrix)
{
    if (!device || !matrix)
        return PLAT_D3DERR_INVALIDCALL;
    switch (which)
    {
    case PLAT_TS_WORLD:
        device->world = *matrix;
        break;
    case PLAT_TS_VIEW:
        device->view = *matrix;
        break;
    case PLAT_TS_PROJECTION:
        device->projection = *matrix;
        break;
    default:
        return PLAT_D3DERR_INVALIDCALL;
    }
    device->executor->SetTransform(which, *matrix);
    return PLAT_D3D_OK;
}

PlatResult PlatD3dDeviceGetTransform(PlatD3dDevice *device, PlatD3dTransform which, PlatMatrix *out)
{
    if (!device || !out)
        return PLAT_D3DERR_INVALIDCALL;
    switch (which)
    {
    case PLAT_TS_WORLD:
        *out = device->world;
        return PLAT_D3D_OK;
    case PLAT_TS_VIEW:
        *out = device->view;
        return PLAT_D3D_OK;
    case PLAT_TS_PROJECTION:
        *out = device->projection;
        return PLAT_D3D_OK;
    default:
        return PLAT_D3DERR_INVALIDCALL;
    }
}

PlatResult PlatD3dDeviceSetViewport(PlatD3dDevice *device, const PlatD3dViewport *viewport)
{
    if (!device || !viewport)
        return PLAT_D3DERR_INVALIDCALL;
    const PlatD3dPresentParameters &p = device->parameters;
    // A viewport must lie inside the back buffer and have some area.
    if (viewport->width == 0 || viewport->height == 0 || viewport->x >= p.backBufferWidth ||
        viewport->y >= p.backBufferHeight || viewport->width > p.backBufferWidth - viewport->x ||
        viewport->height > p.backBufferHeight - viewport->y || viewport->minZ < 0.0f || viewport->maxZ > 1.0f ||
        viewport->minZ > viewport->maxZ)
        return PLAT_D3DERR_INVALIDCALL;
    device->viewport = *viewport;
    device->executor->SetViewport(*viewport);
    return PLAT_D3D_OK;
}

PlatResult PlatD3dDeviceGetViewport(PlatD3dDevice *device, PlatD3dViewport *out)
{
    if (!device || !out)
        return PLAT_D3DERR_INVALIDCALL;
    *out = device->viewport;
    return PLAT_D3D_OK;
}

PlatResult PlatD3dDeviceSetScissorRect(PlatD3dDevice *device, const PlatD3dRect *rect)
{
    if (!device || !rect)
        return PLAT_D3DERR_INVALIDCALL;
    PlatD3dRect clipped = *rect;
    int32_t width = (int32_t)device->parameters.backBufferWidth;
    int32_t height = (int32_t)device->parameters.backBufferHeight;
    clipped.left = clipped.left < 0 ? 0 : (clipped.left > width ? width : clipped.left);
    clipped.right = clipped.right < clipped.left ? clipped.left : (clipped.right > width ? width : clipped.right);
    clipped.top = clipped.top < 0 ? 0 : (clipped.top > height ? height : clipped.top);
    clipped.bottom = clipped.bottom < clipped.top ? clipped.top : (clipped.bottom > height ? height : clipped.bottom);
    device->scissor = clipped;
    device->executor->SetScissorRect(clipped);
    return PLAT_D3D_OK;
}

PlatResult PlatD3dDeviceSetMaterial(PlatD3dDevice *device, const PlatD3dMaterial *material)
{
    if (!device || !material)
        return PLAT_D3DERR_INVALIDCALL;
    device->material = *material;
    device->executor->SetMaterial(*material);
    return PLAT_D3D_OK;
}

PlatResult PlatD3dDeviceSetTexture(PlatD3dDevice *device, uint32_t stage, PlatD3dTexture *texture)
{
    if (!device || stage >= MAX_STAGES || (texture && texture->device != device))
        return PLAT_D3DERR_INVALIDCALL;
    device->textures[stage] = texture;
    device->executor->SetTexture(stage, texture ? texture->executorId : 0);
    return PLAT_D3D_OK;
}

// ---- Drawing ----------------------------------------------------------------------------

PlatResult PlatD3dDeviceSetFVF(PlatD3dDevice *device, uint32_t fvf)
{
    if (!device)
        return PLAT_D3DERR_INVALIDCALL;
    device->fvf = fvf;
    return PLAT_D3D_OK;
}

PlatResult PlatD3dDeviceSetStreamSource(PlatD3dDevice *device, uint32_t stream, PlatD3dVertexBuffer *buffer,
                                        uint32_t offset, uint32_t stride)
{
    if (!device || stream != 0 || (buffer && buffer->device != device))
        return PLAT_D3DERR_INVALIDCALL;
    device->stream = buffer;
    device->streamOffset = offset;
    device->streamStride = stride;
    return PLAT_D3D_OK;
}

PlatResult PlatD3dDeviceDrawPrimitive(PlatD3dDevice *device, PlatD3dPrimitive type, uint32_t startVertex,
                                      uint32_t primitiveCount)
{
    if (!device || !device->stream || !device->inScene)
        return PLAT_D3DERR_INVALIDCALL;
    uint32_t count = VertexCount(type, primitiveCount);
    uint32_t stride = device->streamStride;
    if (count == 0 || stride < VertexSize(device->fvf) || VertexSize(device->fvf) == 0 || device->stream->locked)
        return PLAT_D3DERR_INVALIDCALL;
    uint64_t start = device->streamOffset + (uint64_t)startVertex * stride;
    if (start + (uint64_t)count * stride > device->stream->length)
        return PLAT_D3DERR_INVALIDCALL;
    device->executor->Draw(type, device->fvf, stride, device->stream->data + start, count);
    return PLAT_D3D_OK;
}

PlatResult PlatD3dDeviceDrawPrimitiveUP(PlatD3dDevice *device, PlatD3dPrimitive type, uint32_t primitiveCount,
                                        const void *vertices, uint32_t stride)
{
    if (!device || !vertices || !device->inScene)
        return PLAT_D3DERR_INVALIDCALL;
    uint32_t count = VertexCount(type, primitiveCount);
    if (count == 0 || VertexSize(device->fvf) == 0 || stride < VertexSize(device->fvf))
        return PLAT_D3DERR_INVALIDCALL;
    device->executor->Draw(type, device->fvf, stride, vertices, count);
    device->stream = nullptr;
    return PLAT_D3D_OK;
}

// ---- Resources ----------------------------------------------------------------------------

PlatResult PlatD3dDeviceCreateVertexBuffer(PlatD3dDevice *device, uint32_t length, uint32_t usage, uint32_t fvf,
                                           PlatD3dPool pool, PlatD3dVertexBuffer **out)
{
    if (out)
        *out = nullptr;
    if (!device || !out || length == 0 || (fvf != 0 && length < VertexSize(fvf)))
        return PLAT_D3DERR_INVALIDCALL;
    uint8_t *data = (uint8_t *)calloc(1, length);
    if (!data)
        return PLAT_E_OUTOFMEMORY;
    PlatD3dVertexBuffer *buffer = new PlatD3dVertexBuffer();
    buffer->device = device;
    buffer->references = 1;
    buffer->length = length;
    buffer->fvf = fvf;
    buffer->data = data;
    device->liveResources++;
    *out = buffer;
    return PLAT_D3D_OK;
}

PlatResult PlatD3dVertexBufferLock(PlatD3dVertexBuffer *buffer, uint32_t offset, uint32_t size, void **data,
                                   uint32_t flags)
{
    if (!buffer || !data || buffer->locked || offset > buffer->length ||
        (size > 0 && size > buffer->length - offset))
        return PLAT_D3DERR_INVALIDCALL;
    buffer->locked = true;
    *data = buffer->data + offset;
    return PLAT_D3D_OK;
}

PlatResult PlatD3dVertexBufferUnlock(PlatD3dVertexBuffer *buffer)
{
    if (!buffer || !buffer->locked)
        return PLAT_D3DERR_INVALIDCALL;
    buffer->locked = false;
    return PLAT_D3D_OK;
}

uint32_t PlatD3dVertexBufferRelease(PlatD3dVertexBuffer *buffer)
{
    if (!buffer || buffer->references == 0)
        return 0;
    if (--buffer->references > 0)
        return buffer->references;
    PlatD3dDevice *device = buffer->device;
    if (device->stream == buffer)
        device->stream = nullptr;
    free(buffer->data);
    delete buffer;
    DeviceDropResource(device);
    return 0;
}

PlatResult PlatD3dDeviceCreateTexture(PlatD3dDevice *device, uint32_t width, uint32_t height, uint32_t levels,
                                      uint32_t usage, PlatD3dFormat format, PlatD3dPool pool, PlatD3dTexture **out)
{
    if (out)
        *out = nullptr;
    if (!device || !out || width == 0 || height == 0 || width > device->caps.maxTextureWidth ||
        height > device->caps.maxTextureHeight || levels > 1)
        return PLAT_D3DERR_INVALIDCALL;
    if (format != PLAT_FMT_A8R8G8B8 && format != PLAT_FMT_X8R8G8B8)
        return PLAT_D3DERR_WRONGTEXTUREFORMAT;
    uint8_t *pixels = (uint8_t *)calloc((size_t)width * height, 4);
    if (!pixels)
        return PLAT_E_OUTOFMEMORY;
    PlatD3dTexture *texture = new PlatD3dTexture();
    texture->device = device;
    texture->references = 1;
    texture->width = width;
    texture->height = height;
    texture->format = format;
    texture->pool = pool;
    texture->usage = usage;
    texture->pixels = pixels;
    texture->executorId = device->executor->CreateTexture(width, height, format);
    device->executor->UpdateTexture(texture->executorId, pixels);
    device->liveResources++;
    *out = texture;
    return PLAT_D3D_OK;
}

PlatResult PlatD3dTextureGetLevelDesc(PlatD3dTexture *texture, uint32_t level, PlatD3dSurfaceDesc *out)
{
    if (!texture || !out || level != 0)
        return PLAT_D3DERR_INVALIDCALL;
    memset(out, 0, sizeof(*out));
    out->format = texture->format;
    out->type = PLAT_RTYPE_SURFACE;
    out->usage = texture->usage;
    out->pool = texture->pool;
    out->width = texture->width;
    out->height = texture->height;
    return PLAT_D3D_OK;
}

PlatResult PlatD3dTextureLockRect(PlatD3dTexture *texture, uint32_t level, PlatD3dLockedRect *out,
                                  const PlatD3dRect *rect, uint32_t flags)
{
    if (!texture || !out || level != 0 || texture->locked)
        return PLAT_D3DERR_INVALIDCALL;
    uint32_t x = 0, y = 0;
    if (rect)
    {
        if (rect->left < 0 || rect->top < 0 || rect->right > (int32_t)texture->width ||
            rect->bottom > (int32_t)texture->height || rect->left >= rect->right || rect->top >= rect->bottom)
            return PLAT_D3DERR_INVALIDCALL;
        x = (uint32_t)rect->left;
        y = (uint32_t)rect->top;
    }
    texture->locked = true;
    out->pitch = (int32_t)(texture->width * 4);
    out->bits = texture->pixels + ((size_t)y * texture->width + x) * 4;
    return PLAT_D3D_OK;
}

PlatResult PlatD3dTextureUnlockRect(PlatD3dTexture *texture, uint32_t level)
{
    if (!texture || level != 0 || !texture->locked)
        return PLAT_D3DERR_INVALIDCALL;
    texture->locked = false;
    texture->device->executor->UpdateTexture(texture->executorId, texture->pixels);
    return PLAT_D3D_OK;
}

uint32_t PlatD3dTextureRelease(PlatD3dTexture *texture)
{
    if (!texture || texture->references == 0)
        return 0;
    if (--texture->references > 0)
        return texture->references;
    PlatD3dDevice *device = texture->device;
    for (uint32_t stage = 0; stage < MAX_STAGES; stage++)
        if (device->textures[stage] == texture)
        {
            device->textures[stage] = nullptr;
            device->executor->SetTexture(stage, 0);
        }
    device->executor->DestroyTexture(texture->executorId);
    free(texture->pixels);
    delete texture;
    DeviceDropResource(device);
    return 0;
}

PlatResult PlatD3dDeviceCreateOffscreenPlainSurface(PlatD3dDevice *device, uint32_t width, uint32_t height,
                                                    PlatD3dFormat format, PlatD3dPool pool, PlatD3dSurface **out)
{
    if (out)
        *out = nullptr;
    if (!device || !out || width == 0 || height == 0 || width > 4096 || height > 4096)
        return PLAT_D3DERR_INVALIDCALL;
    if (format != PLAT_FMT_A8R8G8B8 && format != PLAT_FMT_X8R8G8B8)
        return PLAT_D3DERR_NOTAVAILABLE;
    uint8_t *pixels = (uint8_t *)calloc((size_t)width * height, 4);
    if (!pixels)
        return PLAT_E_OUTOFMEMORY;
    PlatD3dSurface *surface = new PlatD3dSurface();
    surface->device = device;
    surface->references = 1;
    surface->width = width;
    surface->height = height;
    surface->format = format;
    surface->pool = pool;
    surface->pixels = pixels;
    surface->fence = device->executor->CreateFence();
    device->liveResources++;
    *out = surface;
    return PLAT_D3D_OK;
}

PlatResult PlatD3dDeviceColorFill(PlatD3dDevice *device, PlatD3dSurface *surface, const PlatD3dRect *rect,
                                  uint32_t colour)
{
    if (!device || !surface || surface->device != device || surface->locked)
        return PLAT_D3DERR_INVALIDCALL;
    PlatD3dRect area = {0, 0, (int32_t)surface->width, (int32_t)surface->height};
    if (rect)
    {
        if (rect->left < 0 || rect->top < 0 || rect->right > area.right || rect->bottom > area.bottom ||
            rect->left >= rect->right || rect->top >= rect->bottom)
            return PLAT_D3DERR_INVALIDCALL;
        area = *rect;
    }
    for (int32_t y = area.top; y < area.bottom; y++)
    {
        uint32_t *row = (uint32_t *)(surface->pixels + (size_t)y * surface->width * 4);
        for (int32_t x = area.left; x < area.right; x++)
            row[x] = colour;
    }
    // The fill is queued behind the frame's drawing: a lock waits for it.
    device->executor->IssueFence(surface->fence);
    return PLAT_D3D_OK;
}

PlatResult PlatD3dSurfaceGetDesc(PlatD3dSurface *surface, PlatD3dSurfaceDesc *out)
{
    if (!surface || !out)
        return PLAT_D3DERR_INVALIDCALL;
    memset(out, 0, sizeof(*out));
    out->format = surface->format;
    out->type = PLAT_RTYPE_SURFACE;
    out->pool = surface->pool;
    out->width = surface->width;
    out->height = surface->height;
    return PLAT_D3D_OK;
}

PlatResult PlatD3dSurfaceLockRect(PlatD3dSurface *surface, PlatD3dLockedRect *out, const PlatD3dRect *rect,
                                  uint32_t flags)
{
    if (!surface || !out || surface->locked)
        return PLAT_D3DERR_INVALIDCALL;
    uint32_t x = 0, y = 0;
    if (rect)
    {
        if (rect->left < 0 || rect->top < 0 || rect->right > (int32_t)surface->width ||
            rect->bottom > (int32_t)surface->height || rect->left >= rect->right || rect->top >= rect->bottom)
            return PLAT_D3DERR_INVALIDCALL;
        x = (uint32_t)rect->left;
        y = (uint32_t)rect->top;
    }
    if (!surface->device->executor->WaitFence(surface->fence, kSurfaceWait))
        return PLAT_D3DERR_WASSTILLDRAWING;
    surface->locked = true;
    out->pitch = (int32_t)(surface->width * 4);
    out->bits = surface->pixels + ((size_t)y * surface->width + x) * 4;
    return PLAT_D3D_OK;
}

PlatResult PlatD3dSurfaceUnlockRect(PlatD3dSurface *surface)
{
    if (!surface || !surface->locked)
        return PLAT_D3DERR_INVALIDCALL;
    surface->locked = false;
    return PLAT_D3D_OK;
}

uint32_t PlatD3dSurfaceRelease(PlatD3dSurface *surface)
{
    if (!surface || surface->references == 0)
        return 0;
    if (--surface->references > 0)
        return surface->references;
    PlatD3dDevice *device = surface->device;
    device->executor->DestroyFence(surface->fence);
    free(surface->pixels);
    delete surface;
    DeviceDropResource(device);
    return 0;
}

PlatResult PlatD3dDeviceCreateQuery(PlatD3dDevice *device, PlatD3dQueryType type, PlatD3dQuery **out)
{
    if (out)
        *out = nullptr;
    if (!device)
        return PLAT_D3DERR_INVALIDCALL;
    if (type != PLAT_QUERYTYPE_EVENT)
        return PLAT_D3DERR_NOTAVAILABLE;
    // A null output asks only whether the type is supported.
    if (!out)
        return PLAT_D3D_OK;
    PlatD3dQuery *query = new PlatD3dQuery();
    query->device = device;
    query->references = 1;
    query->fence = device->executor->CreateFence();
    device->liveResources++;
    *out = query;
    return PLAT_D3D_OK;
}

PlatResult PlatD3dQueryIssue(PlatD3dQuery *query, uint32_t flags)
{
    if (!query || flags != PLAT_ISSUE_END)
        return PLAT_D3DERR_INVALIDCALL;
    query->device->executor->IssueFence(query->fence);
    return PLAT_D3D_OK;
}

PlatResult PlatD3dQueryGetData(PlatD3dQuery *query, void *data, uint32_t size, uint32_t flags)
{
    if (!query)
        return PLAT_D3DERR_INVALIDCALL;
    bool done = query->device->executor->IsFenceDone(query->fence, (flags & PLAT_GETDATA_FLUSH) != 0);
    if (data && size >= 4)
        *(uint32_t *)data = done ? 1 : 0;
    return done ? PLAT_D3D_OK : PLAT_D3D_FALSE;
}

PlatResult PlatD3dQueryWait(PlatD3dQuery *query, double seconds)
{
    if (!query)
        return PLAT_D3DERR_INVALIDCALL;
    return query->device->executor->WaitFence(query->fence, seconds) ? PLAT_D3D_OK : PLAT_D3D_FALSE;
}

uint32_t PlatD3dQueryRelease(PlatD3dQuery *query)
{
    if (!query || query->references == 0)
        return 0;
    if (--query->references > 0)
        return query->references;
    PlatD3dDevice *device = query->device;
    device->executor->DestroyFence(query->fence);
    delete query;
    DeviceDropResource(device);
    return 0;
}
