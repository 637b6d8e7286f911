// Stand-in for the graphics device the engine's DX9 back end drives: the device object
// with its adapters, display modes and capability checks, the device (scene, clear,
// present, render/stage/sampler states, transforms, material, viewport, scissor), vertex
// buffers, textures with CPU copies, off-screen surfaces and event queries, and the
// helpers for matrices and texture files. Every state write and draw goes to one
// executor (PlatD3dExecutor.h): OpenGL 3.3 in the game, a recorder in tests.
// No SDL or GL type crosses this header.
//
// Sections: results and constants, records, the device object, the device, resources,
// helpers (matrices, texture files), seams for tests.
#pragma once
#include <cstddef>
#include <cstdint>

// ---- Results and constants --------------------------------------------------------

typedef int32_t PlatResult;

// 0 is success; 1 "not yet" (an event query still pending); the rest are failures.
#define PLAT_D3D_CODE(n) ((PlatResult)(0x8D3D0000u | (uint32_t)(n)))
enum : PlatResult
{
    PLAT_D3D_OK = 0,
    PLAT_D3D_FALSE = 1,
    PLAT_D3DERR_WRONGTEXTUREFORMAT = PLAT_D3D_CODE(1),
    PLAT_D3DERR_UNSUPPORTEDCOLOROPERATION = PLAT_D3D_CODE(2),
    PLAT_D3DERR_UNSUPPORTEDCOLORARG = PLAT_D3D_CODE(3),
    PLAT_D3DERR_UNSUPPORTEDALPHAOPERATION = PLAT_D3D_CODE(4),
    PLAT_D3DERR_UNSUPPORTEDALPHAARG = PLAT_D3D_CODE(5),
    PLAT_D3DERR_TOOMANYOPERATIONS = PLAT_D3D_CODE(6),
    PLAT_D3DERR_CONFLICTINGTEXTUREFILTER = PLAT_D3D_CODE(7),
    PLAT_D3DERR_UNSUPPORTEDFACTORVALUE = PLAT_D3D_CODE(8),
    PLAT_D3DERR_CONFLICTINGRENDERSTATE = PLAT_D3D_CODE(9),
    PLAT_D3DERR_UNSUPPORTEDTEXTUREFILTER = PLAT_D3D_CODE(10),
    PLAT_D3DERR_CONFLICTINGTEXTUREPALETTE = PLAT_D3D_CODE(11),
    PLAT_D3DERR_DRIVERINTERNALERROR = PLAT_D3D_CODE(12),
    PLAT_D3DERR_NOTFOUND = PLAT_D3D_CODE(13),
    PLAT_D3DERR_MOREDATA = PLAT_D3D_CODE(14),
    PLAT_D3DERR_DEVICELOST = PLAT_D3D_CODE(15),
    PLAT_D3DERR_DEVICENOTRESET = PLAT_D3D_CODE(16),
    PLAT_D3DERR_NOTAVAILABLE = PLAT_D3D_CODE(17),
    PLAT_D3DERR_INVALIDDEVICE = PLAT_D3D_CODE(18),
    PLAT_D3DERR_INVALIDCALL = PLAT_D3D_CODE(19),
    PLAT_D3DERR_DRIVERINVALIDCALL = PLAT_D3D_CODE(20),
    PLAT_D3DERR_OUTOFVIDEOMEMORY = PLAT_D3D_CODE(21),
    PLAT_D3DERR_WASSTILLDRAWING = PLAT_D3D_CODE(22),
    PLAT_D3DOK_NOAUTOGEN = 0x0D3D0017,
    PLAT_D3DXERR_CANNOTMODIFYINDEXBUFFER = PLAT_D3D_CODE(0x100),
    PLAT_D3DXERR_INVALIDMESH = PLAT_D3D_CODE(0x101),
    PLAT_D3DXERR_CANNOTATTRSORT = PLAT_D3D_CODE(0x102),
    PLAT_D3DXERR_SKINNINGNOTSUPPORTED = PLAT_D3D_CODE(0x103),
    PLAT_D3DXERR_TOOMANYINFLUENCES = PLAT_D3D_CODE(0x104),
    PLAT_D3DXERR_INVALIDDATA = PLAT_D3D_CODE(0x105),
    PLAT_D3DXERR_LOADEDMESHASNODATA = PLAT_D3D_CODE(0x106),
    PLAT_D3DXERR_DUPLICATENAMEDFRAGMENT = PLAT_D3D_CODE(0x107),
    PLAT_D3DXERR_CANNOTREMOVELASTITEM = PLAT_D3D_CODE(0x108),
    PLAT_E_OUTOFMEMORY = PLAT_D3D_CODE(0x200),
    PLAT_E_NOTIMPL = PLAT_D3D_CODE(0x201),
    PLAT_E_NOINTERFACE = PLAT_D3D_CODE(0x202),
    PLAT_E_FAIL = PLAT_D3D_CODE(0x203),
    PLAT_E_INVALIDARG = PLAT_D3D_CODE(0x204),
};

// Surface formats (our own numbering). The depth formats are for depth buffers only.
enum PlatD3dFormat : uint32_t
{
    PLAT_FMT_UNKNOWN = 0,
    PLAT_FMT_R8G8B8 = 1,
    PLAT_FMT_A8R8G8B8 = 2,
    PLAT_FMT_X8R8G8B8 = 3,
    PLAT_FMT_R5G6B5 = 4,
    PLAT_FMT_X1R5G5B5 = 5,
    PLAT_FMT_A1R5G5B5 = 6,
    PLAT_FMT_A4R4G4B4 = 7,
    PLAT_FMT_R3G3B2 = 8,
    PLAT_FMT_A8R3G3B2 = 9,
    PLAT_FMT_X4R4G4B4 = 10,
    PLAT_FMT_A2B10G10R10 = 11,
    PLAT_FMT_A8B8G8R8 = 12,
    PLAT_FMT_A2R10G10B10 = 13,
    PLAT_FMT_A16B16G16R16 = 14,
    PLAT_FMT_L8 = 15,
    PLAT_FMT_D16_LOCKABLE = 20,
    PLAT_FMT_D32 = 21,
    PLAT_FMT_D15S1 = 22,
    PLAT_FMT_D24S8 = 23,
    PLAT_FMT_D24X8 = 24,
    PLAT_FMT_D24X4S4 = 25,
    PLAT_FMT_D16 = 26,
    PLAT_FMT_D32F_LOCKABLE = 27,
    PLAT_FMT_D24FS8 = 28,
};

enum PlatD3dDeviceType : uint32_t
{
    PLAT_DEVTYPE_HAL = 1,
    PLAT_DEVTYPE_REF = 2,
    PLAT_DEVTYPE_SW = 3,
};

// Multisample types are 0 (none), 1 (non-maskable, quality levels only) and 2..16 samples.
enum
{
    PLAT_MULTISAMPLE_NONE = 0,
    PLAT_MULTISAMPLE_NONMASKABLE = 1,
    PLAT_MULTISAMPLE_MAX = 16,
};

enum PlatD3dSwapEffect : uint32_t
{
    PLAT_SWAPEFFECT_DISCARD = 1,
    PLAT_SWAPEFFECT_FLIP = 2,
    PLAT_SWAPEFFECT_COPY = 3,
};

// Presentation intervals (bit flags so that capabilities can list several).
enum : uint32_t
{
    PLAT_PRESENT_INTERVAL_DEFAULT = 0,
    PLAT_PRESENT_INTERVAL_ONE = 1,
    PLAT_PRESENT_INTERVAL_TWO = 2,
    PLAT_PRESENT_INTERVAL_THREE = 4,
    PLAT_PRESENT_INTERVAL_FOUR = 8,
    PLAT_PRESENT_INTERVAL_IMMEDIATE = 0x80000000u,
};

enum : uint32_t
{
    PLAT_PRESENTFLAG_DISCARD_DEPTHSTENCIL = 2,
};

// Behaviour flags of device creation.
enum : uint32_t
{
    PLAT_CREATE_SOFTWARE_VERTEXPROCESSING = 0x20,
    PLAT_CREATE_HARDWARE_VERTEXPROCESSING = 0x40,
    PLAT_CREATE_MIXED_VERTEXPROCESSING = 0x80,
    PLAT_CREATE_PUREDEVICE = 0x10,
};

// Device capability bits.
enum : uint32_t
{
    PLAT_DEVCAPS_HWTRANSFORMANDLIGHT = 0x10000,
    PLAT_DEVCAPS_PUREDEVICE = 0x100000,
};

enum : uint32_t
{
    PLAT_USAGE_RENDERTARGET = 0x1,
    PLAT_USAGE_DEPTHSTENCIL = 0x2,
    PLAT_USAGE_WRITEONLY = 0x8,
    PLAT_USAGE_QUERY_POSTPIXELSHADER_BLENDING = 0x80000,
};

enum PlatD3dResourceType : uint32_t
{
    PLAT_RTYPE_SURFACE = 1,
    PLAT_RTYPE_TEXTURE = 3,
};

enum PlatD3dPool : uint32_t
{
    PLAT_POOL_DEFAULT = 0,
    PLAT_POOL_MANAGED = 1,
    PLAT_POOL_SYSTEMMEM = 2,
};

enum : uint32_t
{
    PLAT_LOCK_READONLY = 0x10,
    PLAT_LOCK_DISCARD = 0x2000,
};

enum : uint32_t
{
    PLAT_CLEAR_TARGET = 1,
    PLAT_CLEAR_ZBUFFER = 2,
    PLAT_CLEAR_STENCIL = 4,
};

// Render states the engine writes, with their value sets below.
enum PlatD3dRenderState : uint32_t
{
    PLAT_RS_ZENABLE = 1,
    PLAT_RS_ZWRITEENABLE,
    PLAT_RS_LIGHTING,
    PLAT_RS_CULLMODE,
    PLAT_RS_SRCBLEND,
    PLAT_RS_DESTBLEND,
    PLAT_RS_ALPHABLENDENABLE,
    PLAT_RS_SCISSORTESTENABLE,
    PLAT_RS_MULTISAMPLEANTIALIAS,
    PLAT_RS_SPECULARENABLE,
    PLAT_RS_LOCALVIEWER,
    PLAT_RS_AMBIENT,                 // global ambient light, ARGB
    PLAT_RS_DIFFUSEMATERIALSOURCE,
    PLAT_RS_AMBIENTMATERIALSOURCE,
    PLAT_RS_EMISSIVEMATERIALSOURCE,
    PLAT_RS_COUNT
};

// Blend factor codes (the values the engine's factor table holds).
enum : uint32_t
{
    PLAT_BLEND_ZERO = 1,
    PLAT_BLEND_ONE = 2,
    PLAT_BLEND_SRCCOLOR = 3,
    PLAT_BLEND_INVSRCCOLOR = 4,
    PLAT_BLEND_SRCALPHA = 5,
    PLAT_BLEND_INVSRCALPHA = 6,
    PLAT_BLEND_DESTALPHA = 7,
    PLAT_BLEND_INVDESTALPHA = 8,
    PLAT_BLEND_DESTCOLOR = 9,
    PLAT_BLEND_INVDESTCOLOR = 10,
    PLAT_BLEND_SRCALPHASAT = 11,
};

enum : uint32_t
{
    PLAT_CULL_NONE = 1,
    PLAT_CULL_CW = 2,
    PLAT_CULL_CCW = 3,
};

enum : uint32_t
{
    PLAT_MCS_MATERIAL = 0,
    PLAT_MCS_COLOR1 = 1,
    PLAT_MCS_COLOR2 = 2,
};

enum PlatD3dStageState : uint32_t
{
    PLAT_TSS_COLOROP = 1,
    PLAT_TSS_COLORARG1,
    PLAT_TSS_COLORARG2,
    PLAT_TSS_ALPHAOP,
    PLAT_TSS_ALPHAARG1,
    PLAT_TSS_ALPHAARG2,
    PLAT_TSS_COUNT
};

enum : uint32_t
{
    PLAT_TOP_DISABLE = 1,
    PLAT_TOP_SELECTARG1 = 2,
    PLAT_TOP_SELECTARG2 = 3,
    PLAT_TOP_MODULATE = 4,
    PLAT_TOP_MODULATE2X = 5,
    PLAT_TOP_ADD = 7,
    PLAT_TOP_BLENDTEXTUREALPHA = 13,
};

enum : uint32_t
{
    PLAT_TA_DIFFUSE = 0,
    PLAT_TA_CURRENT = 1,
    PLAT_TA_TEXTURE = 2,
};

enum PlatD3dSamplerState : uint32_t
{
    PLAT_SAMP_ADDRESSU = 1,
    PLAT_SAMP_ADDRESSV,
    PLAT_SAMP_MAGFILTER,
    PLAT_SAMP_MINFILTER,
    PLAT_SAMP_MIPFILTER,
    PLAT_SAMP_COUNT
};

enum : uint32_t
{
    PLAT_TEXF_NONE = 0,
    PLAT_TEXF_POINT = 1,
    PLAT_TEXF_LINEAR = 2,
};

enum : uint32_t
{
    PLAT_TADDRESS_WRAP = 1,
    PLAT_TADDRESS_MIRROR = 2,
    PLAT_TADDRESS_CLAMP = 3,
};

enum PlatD3dTransform : uint32_t
{
    PLAT_TS_VIEW = 2,
    PLAT_TS_PROJECTION = 3,
    PLAT_TS_WORLD = 256,
};

enum PlatD3dPrimitive : uint32_t
{
    PLAT_PT_TRIANGLELIST = 4,
    PLAT_PT_TRIANGLESTRIP = 5,
    PLAT_PT_TRIANGLEFAN = 6,
};

// Flexible vertex format bits: position (xyz or pre-transformed xyz + rhw), normal,
// diffuse and specular ARGB colours, one pair of texture coordinates; fields in this order.
enum : uint32_t
{
    PLAT_FVF_XYZ = 0x002,
    PLAT_FVF_XYZRHW = 0x004,
    PLAT_FVF_NORMAL = 0x010,
    PLAT_FVF_DIFFUSE = 0x040,
    PLAT_FVF_SPECULAR = 0x080,
    PLAT_FVF_TEX1 = 0x100,
};

enum PlatD3dQueryType : uint32_t
{
    PLAT_QUERYTYPE_EVENT = 8,
};

enum : uint32_t
{
    PLAT_ISSUE_END = 1,
    PLAT_GETDATA_FLUSH = 1,
};

// The value the texture helpers take for "as the file says" (size) or "the usual" (filter).
enum : uint32_t
{
    PLAT_D3DX_DEFAULT = 0xFFFFFFFFu,
};

// ---- Records ----------------------------------------------------------------------

struct PlatD3dDisplayMode
{
    uint32_t width;
    uint32_t height;
    uint32_t refreshRate;
    PlatD3dFormat format;
};
static_assert(sizeof(PlatD3dDisplayMode) == 16, "display-mode record is 16 bytes");

struct PlatD3dAdapterIdentifier
{
    char driver[512];
    char description[512];
    char deviceName[32];
    uint32_t driverVersionHigh;
    uint32_t driverVersionLow;
    uint32_t vendorId;
    uint32_t deviceId;
    uint32_t subSysId;
    uint32_t revision;
    uint8_t deviceIdentifier[16];
    uint32_t whqlLevel;
};

struct PlatD3dCaps
{
    PlatD3dDeviceType deviceType;
    uint32_t adapterOrdinal;
    uint32_t devCaps;
    uint32_t presentationIntervals;
    uint32_t maxTextureWidth;
    uint32_t maxTextureHeight;
};

struct PlatD3dPresentParameters
{
    uint32_t backBufferWidth;
    uint32_t backBufferHeight;
    PlatD3dFormat backBufferFormat;
    uint32_t backBufferCount;
    uint32_t multiSampleType;
    uint32_t multiSampleQuality;
    uint32_t swapEffect;
    void *deviceWindow;          // the platform window (SDL) or NULL for an off-screen device
    int32_t windowed;
    int32_t enableAutoDepthStencil;
    PlatD3dFormat autoDepthStencilFormat;
    uint32_t flags;
    uint32_t fullScreenRefreshRate;
    uint32_t presentationInterval;
};

struct PlatD3dSurfaceDesc
{
    PlatD3dFormat format;
    PlatD3dResourceType type;
    uint32_t usage;
    PlatD3dPool pool;
    uint32_t multiSampleType;
    uint32_t multiSampleQuality;
    uint32_t width;
    uint32_t height;
};

struct PlatD3dLockedRect
{
    int32_t pitch;
    void *bits;
};

struct PlatD3dRect
{
    int32_t left, top, right, bottom;
};

struct PlatD3dViewport
{
    uint32_t x, y, width, height;
    float minZ, maxZ;
};

struct PlatD3dColourValue
{
    float r, g, b, a;
};

struct PlatD3dMaterial
{
    PlatD3dColourValue diffuse;
    PlatD3dColourValue ambient;
    PlatD3dColourValue specular;
    PlatD3dColourValue emissive;
    float power;
};

// 4x4 floats row by row, translation in the fourth row; points are row vectors (p x M).
struct PlatMatrix
{
    float m[16];
};

struct PlatVector3
{
    float x, y, z;
};

// ---- The device object: adapters, modes and capability checks ---------------------

struct PlatD3d;
struct PlatD3dDevice;
struct PlatD3dTexture;
struct PlatD3dVertexBuffer;
struct PlatD3dSurface;
struct PlatD3dQuery;

// The interface versions the engine asks for; other versions get NULL.
enum
{
    PLAT_D3D_SDK_VERSION = 32,
    PLAT_D3D_SDK_VERSION_OLD = 31,
};
PlatD3d *PlatD3dCreate(uint32_t sdkVersion);
// Releases one reference; answers the references left.
uint32_t PlatD3dRelease(PlatD3d *d3d);

uint32_t PlatD3dGetAdapterCount(PlatD3d *d3d);
PlatResult PlatD3dGetAdapterIdentifier(PlatD3d *d3d, uint32_t adapter, uint32_t flags, PlatD3dAdapterIdentifier *out);
uint32_t PlatD3dGetAdapterModeCount(PlatD3d *d3d, uint32_t adapter, PlatD3dFormat format);
PlatResult PlatD3dEnumAdapterModes(PlatD3d *d3d, uint32_t adapter, PlatD3dFormat format, uint32_t index,
                                   PlatD3dDisplayMode *out);
PlatResult PlatD3dGetAdapterDisplayMode(PlatD3d *d3d, uint32_t adapter, PlatD3dDisplayMode *out);
PlatResult PlatD3dGetDeviceCaps(PlatD3d *d3d, uint32_t adapter, PlatD3dDeviceType type, PlatD3dCaps *out);
PlatResult PlatD3dCheckDeviceType(PlatD3d *d3d, uint32_t adapter, PlatD3dDeviceType type, PlatD3dFormat adapterFormat,
                                  PlatD3dFormat backBufferFormat, bool windowed);
PlatResult PlatD3dCheckDeviceFormat(PlatD3d *d3d, uint32_t adapter, PlatD3dDeviceType type, PlatD3dFormat adapterFormat,
                                    uint32_t usage, PlatD3dResourceType resourceType, PlatD3dFormat checkFormat);
PlatResult PlatD3dCheckDepthStencilMatch(PlatD3d *d3d, uint32_t adapter, PlatD3dDeviceType type,
                                         PlatD3dFormat adapterFormat, PlatD3dFormat renderTargetFormat,
                                         PlatD3dFormat depthStencilFormat);
PlatResult PlatD3dCheckDeviceMultiSampleType(PlatD3d *d3d, uint32_t adapter, PlatD3dDeviceType type,
                                             PlatD3dFormat surfaceFormat, bool windowed, uint32_t multiSampleType,
                                             uint32_t *qualityLevels);
// Creates the device and its executor (see PlatD3dSetExecutorFactory); the present
// parameters' window is the platform window to draw into.
PlatResult PlatD3dCreateDevice(PlatD3d *d3d, uint32_t adapter, PlatD3dDeviceType type, void *focusWindow,
                               uint32_t behaviourFlags, PlatD3dPresentParameters *parameters, PlatD3dDevice **out);

// ---- The device ---------------------------------------------------------------------

// Releases one reference; answers the references left, which include one for each
// resource (texture, vertex buffer, surface, query) still alive.
uint32_t PlatD3dDeviceRelease(PlatD3dDevice *device);
PlatResult PlatD3dDeviceTestCooperativeLevel(PlatD3dDevice *device);
PlatResult PlatD3dDeviceGetDeviceCaps(PlatD3dDevice *device, PlatD3dCaps *out);
// The back buffer's description (the device keeps one back buffer).
PlatResult PlatD3dDeviceGetBackBufferDesc(PlatD3dDevice *device, uint32_t index, PlatD3dSurfaceDesc *out);
PlatResult PlatD3dDeviceBeginScene(PlatD3dDevice *device);
PlatResult PlatD3dDeviceEndScene(PlatD3dDevice *device);
// Clears the viewport (or the given rectangles) of the back buffer and depth buffer.
PlatResult PlatD3dDeviceClear(PlatD3dDevice *device, uint32_t rectCount, const PlatD3dRect *rects, uint32_t flags,
                              uint32_t colour, float z, uint32_t stencil);
PlatResult PlatD3dDevicePresent(PlatD3dDevice *device);

PlatResult PlatD3dDeviceSetRenderState(PlatD3dDevice *device, PlatD3dRenderState state, uint32_t value);
PlatResult PlatD3dDeviceGetRenderState(PlatD3dDevice *device, PlatD3dRenderState state, uint32_t *value);
PlatResult PlatD3dDeviceSetTextureStageState(PlatD3dDevice *device, uint32_t stage, PlatD3dStageState type,
                                             uint32_t value);
PlatResult PlatD3dDeviceSetSamplerState(PlatD3dDevice *device, uint32_t sampler, PlatD3dSamplerState type,
                                        uint32_t value);
PlatResult PlatD3dDeviceSetTransform(PlatD3dDevice *device, PlatD3dTransform which, const PlatMatrix *matrix);
PlatResult PlatD3dDeviceGetTransform(PlatD3dDevice *device, PlatD3dTransform which, PlatMatrix *out);
PlatResult PlatD3dDeviceSetViewport(PlatD3dDevice *device, const PlatD3dViewport *viewport);
PlatResult PlatD3dDeviceGetViewport(PlatD3dDevice *device, PlatD3dViewport *out);
PlatResult PlatD3dDeviceSetScissorRect(PlatD3dDevice *device, const PlatD3dRect *rect);
PlatResult PlatD3dDeviceSetMaterial(PlatD3dDevice *device, const PlatD3dMaterial *material);
PlatResult PlatD3dDeviceSetTexture(PlatD3dDevice *device, uint32_t stage, PlatD3dTexture *texture);
PlatResult PlatD3dDeviceSetFVF(PlatD3dDevice *device, uint32_t fvf);
PlatResult PlatD3dDeviceSetStreamSource(PlatD3dDevice *device, uint32_t stream, PlatD3dVertexBuffer *buffer,
                                        uint32_t offset, uint32_t stride);
PlatResult PlatD3dDeviceDrawPrimitive(PlatD3dDevice *device, PlatD3dPrimitive type, uint32_t startVertex,
                                      uint32_t primitiveCount);
// Draws from caller memory (no vertex buffer); the stream source is cleared afterwards.
PlatResult PlatD3dDeviceDrawPrimitiveUP(PlatD3dDevice *device, PlatD3dPrimitive type, uint32_t primitiveCount,
                                        const void *vertices, uint32_t stride);

// ---- Resources ------------------------------------------------------------------------

PlatResult PlatD3dDeviceCreateVertexBuffer(PlatD3dDevice *device, uint32_t length, uint32_t usage, uint32_t fvf,
                                           PlatD3dPool pool, PlatD3dVertexBuffer **out);
// Size 0 locks to the end of the buffer.
PlatResult PlatD3dVertexBufferLock(PlatD3dVertexBuffer *buffer, uint32_t offset, uint32_t size, void **data,
                                   uint32_t flags);
PlatResult PlatD3dVertexBufferUnlock(PlatD3dVertexBuffer *buffer);
uint32_t PlatD3dVertexBufferRelease(PlatD3dVertexBuffer *buffer);

// Textures hold one level; the CPU copy is sent to the executor at each unlock.
// Formats: A8R8G8B8 and X8R8G8B8 (X8 samples with alpha 1).
PlatResult PlatD3dDeviceCreateTexture(PlatD3dDevice *device, uint32_t width, uint32_t height, uint32_t levels,
                                      uint32_t usage, PlatD3dFormat format, PlatD3dPool pool, PlatD3dTexture **out);
PlatResult PlatD3dTextureGetLevelDesc(PlatD3dTexture *texture, uint32_t level, PlatD3dSurfaceDesc *out);
PlatResult PlatD3dTextureLockRect(PlatD3dTexture *texture, uint32_t level, PlatD3dLockedRect *out,
                                  const PlatD3dRect *rect, uint32_t flags);
PlatResult PlatD3dTextureUnlockRect(PlatD3dTexture *texture, uint32_t level);
uint32_t PlatD3dTextureRelease(PlatD3dTexture *texture);

PlatResult PlatD3dDeviceCreateOffscreenPlainSurface(PlatD3dDevice *device, uint32_t width, uint32_t height,
                                                    PlatD3dFormat format, PlatD3dPool pool, PlatD3dSurface **out);
PlatResult PlatD3dDeviceColorFill(PlatD3dDevice *device, PlatD3dSurface *surface, const PlatD3dRect *rect,
                                  uint32_t colour);
PlatResult PlatD3dSurfaceGetDesc(PlatD3dSurface *surface, PlatD3dSurfaceDesc *out);
// Locking waits until the graphics processor has done the surface's last fill.
PlatResult PlatD3dSurfaceLockRect(PlatD3dSurface *surface, PlatD3dLockedRect *out, const PlatD3dRect *rect,
                                  uint32_t flags);
PlatResult PlatD3dSurfaceUnlockRect(PlatD3dSurface *surface);
uint32_t PlatD3dSurfaceRelease(PlatD3dSurface *surface);

PlatResult PlatD3dDeviceCreateQuery(PlatD3dDevice *device, PlatD3dQueryType type, PlatD3dQuery **out);
PlatResult PlatD3dQueryIssue(PlatD3dQuery *query, uint32_t flags);
// PLAT_D3D_OK once the work before the issue is done, PLAT_D3D_FALSE while it is not;
// never waits.
PlatResult PlatD3dQueryGetData(PlatD3dQuery *query, void *data, uint32_t size, uint32_t flags);
// Sleeps until the work before the issue is done (PLAT_D3D_OK) or `seconds` have passed
// (PLAT_D3D_FALSE); the waiting thread uses no processor meanwhile.
PlatResult PlatD3dQueryWait(PlatD3dQuery *query, double seconds);
uint32_t PlatD3dQueryRelease(PlatD3dQuery *query);

// Reads the back buffer as 0xAARRGGBB values (alpha 255), rows top to bottom.
PlatResult PlatD3dDeviceReadBackBuffer(PlatD3dDevice *device, uint32_t *pixels, uint32_t width, uint32_t height);
// "Renderer, version" of the executor, for the start-up log.
const char *PlatD3dDeviceGetRendererText(PlatD3dDevice *device);

// ---- Helpers: matrices and texture files ----------------------------------------------

// True for the helper versions the engine was written against.
bool PlatD3dxCheckVersion(uint32_t sdkVersion, uint32_t helperVersion);

PlatMatrix *PlatD3dxMatrixIdentity(PlatMatrix *out);
// out = a x b (a applies first); out may be a or b.
PlatMatrix *PlatD3dxMatrixMultiply(PlatMatrix *out, const PlatMatrix *a, const PlatMatrix *b);
PlatMatrix *PlatD3dxMatrixTranslation(PlatMatrix *out, float x, float y, float z);
PlatMatrix *PlatD3dxMatrixScaling(PlatMatrix *out, float x, float y, float z);
PlatMatrix *PlatD3dxMatrixRotationX(PlatMatrix *out, float angle);
PlatMatrix *PlatD3dxMatrixRotationY(PlatMatrix *out, float angle);
PlatMatrix *PlatD3dxMatrixRotationZ(PlatMatrix *out, float angle);
// Right-handed perspective (depth 0 at near, 1 at far) and look-at; left-handed
// off-centre orthographic projection.
PlatMatrix *PlatD3dxMatrixPerspectiveFovRH(PlatMatrix *out, float fovY, float aspect, float zNear, float zFar);
PlatMatrix *PlatD3dxMatrixLookAtRH(PlatMatrix *out, const PlatVector3 *eye, const PlatVector3 *at,
                                   const PlatVector3 *up);
PlatMatrix *PlatD3dxMatrixOrthoOffCenterLH(PlatMatrix *out, float left, float right, float bottom, float top,
                                           float zNear, float zFar);

// The pixels of a bmp, tga, jpg or png file as rows of R, G, B, A bytes, top row first,
// and its size; NULL with the reason in PlatD3dGetErrorText. Free with PlatD3dxFreeImage.
uint8_t *PlatD3dxLoadImageFile(const char *file, int32_t *width, int32_t *height);
// The same from the bytes of such a file held in memory (the kind told by its first bytes).
uint8_t *PlatD3dxDecodeImage(const uint8_t *bytes, size_t size, int32_t *width, int32_t *height);
void PlatD3dxFreeImage(uint8_t *pixels);

// A texture from a bmp, tga, jpg or png file, converted to `format` (A8R8G8B8, or
// X8R8G8B8 with alpha 255); PLAT_D3DX_DEFAULT sizes keep the picture's own size.
PlatResult PlatD3dxCreateTextureFromFile(PlatD3dDevice *device, const char *file, uint32_t width, uint32_t height,
                                         uint32_t mipLevels, uint32_t usage, PlatD3dFormat format, PlatD3dPool pool,
                                         uint32_t filter, uint32_t mipFilter, uint32_t colourKey,
                                         PlatD3dTexture **out);
// An empty (zeroed) texture.
PlatResult PlatD3dxCreateTexture(PlatD3dDevice *device, uint32_t width, uint32_t height, uint32_t mipLevels,
                                 uint32_t usage, PlatD3dFormat format, PlatD3dPool pool, PlatD3dTexture **out);

// Bits per colour channel of a colour format (0 for others, such as depth formats).
int PlatD3dFormatChannelBits(PlatD3dFormat format);

// The last failure of this stand-in in words (file errors, GL set-up), for the caller's log.
const char *PlatD3dGetErrorText();

// ---- Seams for tests ---------------------------------------------------------------------

// A display back end of fixed adapters and modes instead of SDL's displays.
enum
{
    PLAT_FAKE_MAX_ADAPTERS = 4,
    PLAT_FAKE_MAX_MODES = 64,
};
struct PlatD3dFakeAdapter
{
    char description[512];
    PlatD3dDisplayMode desktop;
    uint32_t modeCount;
    PlatD3dDisplayMode modes[PLAT_FAKE_MAX_MODES];
    uint32_t multiSampleTypes;    // bit n set: n samples offered (n 2..16), one quality level each
    uint32_t nonMaskableLevels;   // quality levels of the non-maskable type (0 = not offered)
};
struct PlatD3dFakeDisplay
{
    uint32_t adapterCount;
    PlatD3dFakeAdapter adapters[PLAT_FAKE_MAX_ADAPTERS];
};
// NULL returns to SDL's displays. The record is copied.
void PlatD3dSetFakeDisplay(const PlatD3dFakeDisplay *display);

// While set, presenting reports a lost device, and the cooperative level reports it lost;
// once cleared the cooperative level reports the device can be restored.
void PlatD3dSimulateDeviceLoss(bool lost);

class PlatD3dExecutor;
// Makes the executor of each new device; NULL returns to OpenGL. A factory answering
// NULL makes device creation fail.
typedef PlatD3dExecutor *(*PlatD3dExecutorFactory)(const PlatD3dPresentParameters *parameters);
void PlatD3dSetExecutorFactory(PlatD3dExecutorFactory factory);
// The executor a device draws through (for tests that inspect it).
PlatD3dExecutor *PlatD3dDeviceGetExecutor(PlatD3dDevice *device);
