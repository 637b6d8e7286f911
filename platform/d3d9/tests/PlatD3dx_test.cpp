// Textures from image files: each supported type decodes to B, G, R, A bytes (X8 with
// alpha 255), and missing, damaged or unsupported files are refused with their reason.
#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <string>

#define STB_IMAGE_WRITE_STATIC
#define STB_IMAGE_WRITE_IMPLEMENTATION
#if defined(__GNUC__)
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wmissing-field-initializers"
#pragma GCC diagnostic ignored "-Wunused-function"
#endif
#include <stb/stb_image_write.h>
// The decoder the stand-in used before it took libjpeg-turbo and libpng: kept here to
// show that every picture of the data set decodes to the same texels.
#define STB_IMAGE_STATIC
#define STB_IMAGE_IMPLEMENTATION
#define STBI_ONLY_JPEG
#define STBI_ONLY_PNG
#pragma GCC diagnostic ignored "-Wsign-compare"
#include <stb/stb_image.h>
#if defined(__GNUC__)
#pragma GCC diagnostic pop
#endif

#include <algorithm>
#include <filesystem>
#include <vector>

#include "PlatD3dExecutor.h"
#include "Testkit.h"

namespace
{

class PlatD3dxTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        PlatD3dFakeDisplay display = {};
        display.adapterCount = 1;
        display.adapters[0].desktop = {640, 480, 60, PLAT_FMT_X8R8G8B8};
        PlatD3dSetFakeDisplay(&display);
        PlatD3dSetExecutorFactory(PlatD3dRecorderFactory);
        d3d = PlatD3dCreate(PLAT_D3D_SDK_VERSION);
        PlatD3dPresentParameters parameters = {};
        parameters.windowed = 1;
        ASSERT_EQ(PlatD3dCreateDevice(d3d, 0, PLAT_DEVTYPE_HAL, nullptr, 0, &parameters, &device), PLAT_D3D_OK);
    }
    void TearDown() override
    {
        PlatD3dDeviceRelease(device);
        PlatD3dRelease(d3d);
        PlatD3dSetExecutorFactory(nullptr);
        PlatD3dSetFakeDisplay(nullptr);
    }
    PlatD3dTexture *Load(const std::string &file, PlatD3dFormat format, PlatResult expected = PLAT_D3D_OK)
    {
        PlatD3dTexture *texture = nullptr;
        EXPECT_EQ(PlatD3dxCreateTextureFromFile(device, file.c_str(), PLAT_D3DX_DEFAULT, PLAT_D3DX_DEFAULT, 1, 0,
                                                format, PLAT_POOL_MANAGED, PLAT_D3DX_DEFAULT, PLAT_D3DX_DEFAULT, 0,
                                                &texture),
                  expected)
            << PlatD3dGetErrorText();
        return texture;
    }
    testkit::TempDir dir;
    PlatD3d *d3d = nullptr;
    PlatD3dDevice *device = nullptr;
};

TEST_F(PlatD3dxTest, EveryTypeDecodesToTheSameTexels)
{
    // 3x2 pixels, R G B A: red, green, blue / white, half-transparent grey, black.
    const unsigned char rgba[6 * 4] = {255, 0, 0, 255, 0, 255, 0, 255, 0, 0, 255, 255,
                                       255, 255, 255, 255, 128, 128, 128, 128, 0, 0, 0, 255};
    const std::string png = dir.File("p.png"), tga = dir.File("p.tga"), bmp = dir.File("p.bmp"),
                      jpg = dir.File("p.jpg");
    ASSERT_TRUE(stbi_write_png(png.c_str(), 3, 2, 4, rgba, 12));
    ASSERT_TRUE(stbi_write_tga(tga.c_str(), 3, 2, 4, rgba));
    ASSERT_TRUE(stbi_write_bmp(bmp.c_str(), 3, 2, 4, rgba));
    ASSERT_TRUE(stbi_write_jpg(jpg.c_str(), 3, 2, 4, rgba, 100));
    struct Case
    {
        std::string file;
        PlatD3dFormat format;
        bool exact;       // jpg is lossy and has no alpha
        bool keepsAlpha;
    } cases[] = {{png, PLAT_FMT_A8R8G8B8, true, true},  {tga, PLAT_FMT_A8R8G8B8, true, true},
                 {bmp, PLAT_FMT_A8R8G8B8, true, true},  {png, PLAT_FMT_X8R8G8B8, true, false},
                 {jpg, PLAT_FMT_X8R8G8B8, false, false}};
    for (const Case &c : cases)
    {
        SCOPED_TRACE(c.file + (c.format == PLAT_FMT_X8R8G8B8 ? " X8" : " A8"));
        PlatD3dTexture *texture = Load(c.file, c.format);
        ASSERT_NE(texture, nullptr);
        PlatD3dSurfaceDesc desc;
        PlatD3dTextureGetLevelDesc(texture, 0, &desc);
        EXPECT_EQ(desc.width, 3u);
        EXPECT_EQ(desc.height, 2u);
        PlatD3dLockedRect locked;
        ASSERT_EQ(PlatD3dTextureLockRect(texture, 0, &locked, nullptr, PLAT_LOCK_READONLY), PLAT_D3D_OK);
        for (int i = 0; i < 6; i++)
        {
            const uint8_t *texel = (const uint8_t *)locked.bits + (i / 3) * locked.pitch + (i % 3) * 4;
            const unsigned char *source = rgba + i * 4;
            int tolerance = c.exact ? 0 : 24;
            EXPECT_NEAR(texel[0], source[2], tolerance) << i;
            EXPECT_NEAR(texel[1], source[1], tolerance) << i;
            EXPECT_NEAR(texel[2], source[0], tolerance) << i;
            EXPECT_EQ(texel[3], c.keepsAlpha ? source[3] : 255) << i;
        }
        PlatD3dTextureUnlockRect(texture, 0);
        PlatD3dTextureRelease(texture);
    }
}

TEST_F(PlatD3dxTest, MissingDamagedAndUnsupportedFilesAreRefused)
{
    Load(dir.File("none.png"), PLAT_FMT_A8R8G8B8, PLAT_D3DERR_NOTFOUND);
    testkit::WriteFile(dir.File("bad.png"), "\x89PNG not really");
    Load(dir.File("bad.png"), PLAT_FMT_A8R8G8B8, PLAT_D3DXERR_INVALIDDATA);
    testkit::WriteFile(dir.File("anim.gif"), std::string("GIF89a\x01\x00\x01\x00\x00\x00\x00;", 14));
    Load(dir.File("anim.gif"), PLAT_FMT_A8R8G8B8, PLAT_D3DXERR_INVALIDDATA);
    Load(dir.File("none.png"), PLAT_FMT_R5G6B5, PLAT_D3DERR_WRONGTEXTUREFORMAT);
}

TEST(PlatD3dxImage, DataSetPicturesDecodeToTheSameTexelsAsBefore)
{
    int compared = 0;
    for (const auto &entry : std::filesystem::recursive_directory_iterator(PLINX_DATA_DIR))
    {
        std::string name = entry.path().string(), extension = entry.path().extension().string();
        std::transform(extension.begin(), extension.end(), extension.begin(), ::tolower);
        if (extension != ".jpg" && extension != ".png")
            continue;
        SCOPED_TRACE(name);
        int32_t width = 0, height = 0;
        uint8_t *decoded = PlatD3dxLoadImageFile(name.c_str(), &width, &height);
        ASSERT_NE(decoded, nullptr) << PlatD3dGetErrorText();
        int oldWidth = 0, oldHeight = 0, channels = 0;
        unsigned char *before = stbi_load(name.c_str(), &oldWidth, &oldHeight, &channels, 4);
        ASSERT_NE(before, nullptr);
        ASSERT_EQ(width, oldWidth);
        ASSERT_EQ(height, oldHeight);
        size_t bytes = (size_t)width * height * 4, differing = 0;
        int largest = 0;
        for (size_t i = 0; i < bytes; i++)
            if (decoded[i] != before[i])
            {
                differing++;
                largest = std::max(largest, std::abs(decoded[i] - before[i]));
            }
        // PNG is lossless: the same bytes. JPEG decoders may differ in the last bits of the
        // inverse transform and the colour upsampling; the two differ by a few levels at most.
        if (extension == ".png")
            EXPECT_EQ(differing, 0u) << "largest difference " << largest;
        else
            EXPECT_LE(largest, 3) << differing << " bytes differ";
        stbi_image_free(before);
        PlatD3dxFreeImage(decoded);
        compared++;
    }
    EXPECT_GT(compared, 20);
}

// A JPEG whose Huffman table claims more than 256 codes is refused by the decoder with its
// reason, before anything is written past a table.
TEST(PlatD3dxImage, DamagedStreamsAreRefusedWithTheirReason)
{
    const unsigned char rgb[8 * 8 * 3] = {};
    std::string jpeg;
    stbi_write_jpg_to_func([](void *context, void *data, int size) { ((std::string *)context)->append((char *)data, size); },
                           &jpeg, 8, 8, 3, rgb, 90);
    size_t table = jpeg.find("\xFF\xC4");
    ASSERT_NE(table, std::string::npos);
    std::string crafted = jpeg;
    for (int i = 0; i < 16; i++)
        crafted[table + 5 + i] = (char)0xFF;
    int32_t width = -1, height = -1;
    EXPECT_EQ(PlatD3dxDecodeImage((const uint8_t *)crafted.data(), crafted.size(), &width, &height), nullptr);
    EXPECT_NE(std::string(PlatD3dGetErrorText()).find("JPEG: Bogus Huffman table definition"), std::string::npos)
        << PlatD3dGetErrorText();
    EXPECT_EQ(width, 0);

    uint8_t *good = PlatD3dxDecodeImage((const uint8_t *)jpeg.data(), jpeg.size(), &width, &height);
    ASSERT_NE(good, nullptr);
    EXPECT_EQ(width, 8);
    EXPECT_EQ(height, 8);
    PlatD3dxFreeImage(good);

    // Cut short, and a header that asks for more pixels than any texture has.
    struct Row
    {
        std::string bytes;
        const char *reason;
    } rows[] = {
        {jpeg.substr(0, 20), "JPEG: "},
        {std::string("\x89PNG\r\n\x1a\n", 8), "PNG: "},
        {std::string("\x89PNG\r\n\x1a\n\0\0\0\x0dIHDR\0\x01\0\0\0\0\0\x01\x08\x06\0\0\0\x6b\x72\xe3\xd8"
                     "\0\0\0\0IDAT\x35\xaf\x06\x1e\0\0\0\0IEND\xae\x42\x60\x82",
                     57),
         "PNG: 65536x1 is too large"},
        {"", ""},
    };
    for (const Row &row : rows)
    {
        SCOPED_TRACE(row.bytes.size());
        EXPECT_EQ(PlatD3dxDecodeImage((const uint8_t *)row.bytes.data(), row.bytes.size(), &width, &height), nullptr);
        EXPECT_NE(std::string(PlatD3dGetErrorText()).find(row.reason), std::string::npos) << PlatD3dGetErrorText();
    }
}

} // namespace
