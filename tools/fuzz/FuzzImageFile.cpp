// Fuzz target: image files through the texture loader of the graphics stand-in (JPEG,
// PNG, BMP, TGA, told by their first bytes), on a recording device. A texture it makes
// has the size the decoder reads and every texel can be read.
#include "FuzzKit.h"
#include "PlatD3dExecutor.h"

namespace
{

// One recording device for the whole run, released when the program ends.
struct RecordingDevice
{
    PlatD3d *d3d = nullptr;
    PlatD3dDevice *device = nullptr;

    RecordingDevice()
    {
        PlatD3dFakeDisplay display = {};
        display.adapterCount = 1;
        display.adapters[0].desktop = {640, 480, 60, PLAT_FMT_X8R8G8B8};
        PlatD3dSetFakeDisplay(&display);
        PlatD3dSetExecutorFactory(PlatD3dRecorderFactory);
        d3d = PlatD3dCreate(PLAT_D3D_SDK_VERSION);
        PlatD3dPresentParameters parameters = {};
        parameters.windowed = 1;
        if (!d3d || PlatD3dCreateDevice(d3d, 0, PLAT_DEVTYPE_HAL, nullptr, 0, &parameters, &device) != PLAT_D3D_OK)
            abort();
    }
    ~RecordingDevice()
    {
        PlatD3dDeviceRelease(device);
        PlatD3dRelease(d3d);
        PlatD3dSetExecutorFactory(nullptr);
        PlatD3dSetFakeDisplay(nullptr);
    }
};

PlatD3dDevice *Device()
{
    static RecordingDevice recording;
    return recording.device;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    static const std::string path = fuzzkit::Home() + "/input.img";
    PlatD3dDevice *device = Device();
    fuzzkit::WriteBytes(path, data, size);
    int32_t width = 0, height = 0;
    uint8_t *pixels = PlatD3dxDecodeImage(data, size, &width, &height);
    const bool decoded = pixels != nullptr;
    PlatD3dxFreeImage(pixels);
    PlatD3dTexture *texture = nullptr;
    PlatResult result = PlatD3dxCreateTextureFromFile(device, path.c_str(), PLAT_D3DX_DEFAULT, PLAT_D3DX_DEFAULT, 1,
                                                      0, PLAT_FMT_A8R8G8B8, PLAT_POOL_MANAGED, PLAT_D3DX_DEFAULT,
                                                      PLAT_D3DX_DEFAULT, 0, &texture);
    // The device may still refuse a picture the decoder reads (wider than its textures).
    fuzzkit::Check(result != PLAT_D3D_OK || decoded, "the loader made a texture the decoder refuses");
    if (result != PLAT_D3D_OK)
        return 0;
    PlatD3dSurfaceDesc desc;
    PlatD3dTextureGetLevelDesc(texture, 0, &desc);
    fuzzkit::Check(desc.width == (uint32_t)width && desc.height == (uint32_t)height, "a texture of another size");
    PlatD3dLockedRect locked;
    if (PlatD3dTextureLockRect(texture, 0, &locked, nullptr, PLAT_LOCK_READONLY) == PLAT_D3D_OK)
    {
        for (uint32_t y = 0; y < desc.height; y++)
            fuzzkit::Touch((const uint8_t *)locked.bits + (size_t)y * locked.pitch, (size_t)desc.width * 4);
        PlatD3dTextureUnlockRect(texture, 0);
    }
    PlatD3dTextureRelease(texture);
    return 0;
}
