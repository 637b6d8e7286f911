// Helpers of the rendering tests (see RenderTestkit.h).
#include "RenderTestkit.h"

#include <cstring>

#define STB_IMAGE_STATIC
#define STB_IMAGE_IMPLEMENTATION
#define STB_IMAGE_WRITE_STATIC
#define STB_IMAGE_WRITE_IMPLEMENTATION
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wunused-function"
#pragma GCC diagnostic ignored "-Wmissing-field-initializers"
#include <stb/stb_image.h>
#include <stb/stb_image_write.h>
#pragma GCC diagnostic pop

#include "EngDebug.h"
#include "EngFont.h"
#include "EngTexture.h"
#include "EngTextureDX9.h"

namespace rendertest
{

Image Pattern(int width, int height)
{
    static const uint32_t kColours[4] = {0xFF0000, 0x00FF00, 0x0000FF, 0xFFFFFF};
    Image image;
    image.width = width;
    image.height = height;
    for (int y = 0; y < height; y++)
        for (int x = 0; x < width; x++)
        {
            uint32_t alpha = 255u - (uint32_t)(x * 255 / (width > 1 ? width - 1 : 1));
            image.pixels.push_back(alpha << 24 | kColours[(x / 4 + y / 4) % 4]);
        }
    return image;
}

bool WriteImage(const std::string &path, const Image &image)
{
    std::vector<uint8_t> rgba;
    for (uint32_t pixel : image.pixels)
    {
        rgba.push_back((uint8_t)(pixel >> 16));
        rgba.push_back((uint8_t)(pixel >> 8));
        rgba.push_back((uint8_t)pixel);
        rgba.push_back((uint8_t)(pixel >> 24));
    }
    std::string extension = path.substr(path.rfind('.') + 1);
    for (char &c : extension)
        c = (char)tolower(c);
    if (extension == "png")
        return stbi_write_png(path.c_str(), image.width, image.height, 4, rgba.data(), image.width * 4) != 0;
    if (extension == "bmp")
        return stbi_write_bmp(path.c_str(), image.width, image.height, 4, rgba.data()) != 0;
    if (extension == "tga")
    {
        stbi_write_tga_with_rle = 0;
        return stbi_write_tga(path.c_str(), image.width, image.height, 4, rgba.data()) != 0;
    }
    if (extension == "jpg" || extension == "jpeg")
        return stbi_write_jpg(path.c_str(), image.width, image.height, 4, rgba.data(), 100) != 0;
    return false;
}

Image ReadImage(const std::string &path)
{
    Image image;
    int channels = 0;
    unsigned char *rgba = stbi_load(path.c_str(), &image.width, &image.height, &channels, 4);
    if (!rgba)
        return Image();
    for (int i = 0; i < image.width * image.height; i++)
    {
        const unsigned char *p = rgba + (size_t)i * 4;
        image.pixels.push_back((uint32_t)p[3] << 24 | (uint32_t)p[0] << 16 | (uint32_t)p[1] << 8 | p[2]);
    }
    stbi_image_free(rgba);
    return image;
}

Image Texels(EngTexture *texture)
{
    Image image;
    EngTextureDX9 *back = texture ? texture->GetBackEnd() : nullptr;
    PlatD3dLockedRect locked;
    if (!back || !back->LockDxSurface(&locked))
        return image;
    image.width = back->GetWidth();
    image.height = back->GetHeight();
    for (int y = 0; y < image.height; y++)
        for (int x = 0; x < image.width; x++)
        {
            uint32_t pixel;
            memcpy(&pixel, (const uint8_t *)locked.bits + (size_t)y * locked.pitch + (size_t)x * 4, 4);
            image.pixels.push_back(pixel);
        }
    back->UnlockDxSurface();
    return image;
}

std::string VeraBoldPath()
{
    std::string built = std::string(PLINX_DATA_DIR) + "/VeraBd.ttf";
    if (testkit::FileExists(built))
        return built;
    return "/usr/share/fonts/truetype/ttf-bitstream-vera/VeraBd.ttf";
}

std::vector<const PlatD3dRecord *> Draws(const PlatD3dRecorder *recorder)
{
    std::vector<const PlatD3dRecord *> draws;
    if (recorder)
        for (const PlatD3dRecord &record : recorder->records)
            if (record.kind == PLAT_REC_DRAW)
                draws.push_back(&record);
    return draws;
}

std::vector<float> VertexFloats(const PlatD3dRecord *draw, int index, int count)
{
    std::vector<float> values((size_t)count);
    memcpy(values.data(), draw->vertices.data() + (size_t)index * draw->c, sizeof(float) * (size_t)count);
    return values;
}

uint32_t VertexColour(const PlatD3dRecord *draw, int index, int offset)
{
    uint32_t colour;
    memcpy(&colour, draw->vertices.data() + (size_t)index * draw->c + offset, sizeof(colour));
    return colour;
}

int CountLog(const std::string &text)
{
    int count = 0;
    for (int i = 0; i < DebugGetNumMessages(); i++)
        if (strstr(DebugGetMessage(i)->text, text.c_str()))
            count++;
    return count;
}

void LogMark()
{
    static int marks = 0;
    DebugInfo("test mark %d", ++marks);
}

void RenderTest::SetUp()
{
    DeviceTest::SetUp();
    EngFrameTiming.currentTime = 100.0;
    EngFrameTiming.frameTime = 1.0f / 60.0f;
    EngTextureDX9ResetReportCounts();
    ASSERT_TRUE(MakeDevice());
    ASSERT_TRUE(device->BeginRendering());
}

void RenderTest::TearDown()
{
    DeviceTest::TearDown();
}

} // namespace rendertest
