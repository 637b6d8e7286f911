// Image files decoded to R, G, B, A bytes for textures and the window icon. The kind is
// told by the file's first bytes, not its name: JPEG through libjpeg-turbo, PNG through
// libpng (both fuzzed upstream), BMP and TGA through stb_image.
#include <csetjmp>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include <jpeglib.h>
#include <png.h>

#define STB_IMAGE_STATIC
#define STB_IMAGE_IMPLEMENTATION
#define STBI_ONLY_BMP
#define STBI_ONLY_TGA
#define STBI_NO_STDIO
#if defined(__GNUC__)
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wunused-function"
#pragma GCC diagnostic ignored "-Wmissing-field-initializers"
#pragma GCC diagnostic ignored "-Wsign-compare"
#endif
#include <stb/stb_image.h>
#if defined(__GNUC__)
#pragma GCC diagnostic pop
#endif

#include "PlatD3dInternal.h"

namespace
{

// Limits that keep a crafted header from asking for an absurd allocation: no texture of
// the game is near them (the device's own limit is 8192 on a side).
constexpr uint32_t kMaxSide = 16384;
constexpr uint64_t kMaxPixels = 64ull * 1024 * 1024;
constexpr long kMaxFileBytes = 256l * 1024 * 1024;

bool SizeAllowed(uint32_t width, uint32_t height)
{
    return width > 0 && height > 0 && width <= kMaxSide && height <= kMaxSide &&
           (uint64_t)width * height <= kMaxPixels;
}

// ---- JPEG ------------------------------------------------------------------------------------------

// libjpeg reports a fatal error by calling error_exit, which must not return: it jumps
// back to the decoder with the library's message kept for the error text.
struct JpegError
{
    jpeg_error_mgr manager;
    jmp_buf back;
    char message[JMSG_LENGTH_MAX];
};

void JpegErrorExit(j_common_ptr info)
{
    JpegError *error = (JpegError *)info->err;
    error->manager.format_message(info, error->message);
    longjmp(error->back, 1);
}

// Warnings (a corrupt but readable stream) are not fatal: the picture is used as decoded.
void JpegOutputMessage(j_common_ptr)
{
}

uint8_t *DecodeJpeg(const uint8_t *bytes, size_t size, int32_t *width, int32_t *height)
{
    jpeg_decompress_struct info;
    JpegError error;
    info.err = jpeg_std_error(&error.manager);
    error.manager.error_exit = JpegErrorExit;
    error.manager.output_message = JpegOutputMessage;
    error.message[0] = 0;
    // Set before setjmp and read after a jump, so kept out of registers.
    uint8_t *volatile rgba = nullptr;
    if (setjmp(error.back))
    {
        jpeg_destroy_decompress(&info);
        free(rgba);
        PlatD3dSetErrorText("JPEG: %s", error.message);
        return nullptr;
    }
    jpeg_create_decompress(&info);
    jpeg_mem_src(&info, bytes, (unsigned long)size);
    jpeg_read_header(&info, TRUE);
    if (!SizeAllowed(info.image_width, info.image_height))
    {
        PlatD3dSetErrorText("JPEG: %ux%u is too large", info.image_width, info.image_height);
        jpeg_destroy_decompress(&info);
        return nullptr;
    }
    info.out_color_space = JCS_EXT_RGBA;
    jpeg_start_decompress(&info);
    size_t stride = (size_t)info.output_width * 4;
    rgba = (uint8_t *)malloc(stride * info.output_height);
    if (!rgba)
    {
        PlatD3dSetErrorText("JPEG: out of memory");
        jpeg_destroy_decompress(&info);
        return nullptr;
    }
    while (info.output_scanline < info.output_height)
    {
        JSAMPROW row = rgba + stride * info.output_scanline;
        jpeg_read_scanlines(&info, &row, 1);
    }
    jpeg_finish_decompress(&info);
    *width = (int32_t)info.output_width;
    *height = (int32_t)info.output_height;
    jpeg_destroy_decompress(&info);
    return rgba;
}

// ---- PNG -------------------------------------------------------------------------------------------

// Through libpng's simplified reader: every colour type, bit depth and transparency chunk
// comes out as 8-bit R, G, B, A.
uint8_t *DecodePng(const uint8_t *bytes, size_t size, int32_t *width, int32_t *height)
{
    png_image image;
    memset(&image, 0, sizeof(image));
    image.version = PNG_IMAGE_VERSION;
    if (!png_image_begin_read_from_memory(&image, bytes, size))
    {
        PlatD3dSetErrorText("PNG: %s", image.message);
        png_image_free(&image);
        return nullptr;
    }
    if (!SizeAllowed(image.width, image.height))
    {
        PlatD3dSetErrorText("PNG: %ux%u is too large", image.width, image.height);
        png_image_free(&image);
        return nullptr;
    }
    image.format = PNG_FORMAT_RGBA;
    uint8_t *rgba = (uint8_t *)malloc(PNG_IMAGE_SIZE(image));
    if (!rgba)
    {
        PlatD3dSetErrorText("PNG: out of memory");
        png_image_free(&image);
        return nullptr;
    }
    if (!png_image_finish_read(&image, nullptr, rgba, 0, nullptr))
    {
        PlatD3dSetErrorText("PNG: %s", image.message);
        png_image_free(&image);
        free(rgba);
        return nullptr;
    }
    *width = (int32_t)image.width;
    *height = (int32_t)image.height;
    return rgba;
}

// ---- BMP and TGA -----------------------------------------------------------------------------------

uint8_t *DecodeWithStb(const uint8_t *bytes, size_t size, int32_t *width, int32_t *height)
{
    if (size > (size_t)INT32_MAX)
    {
        PlatD3dSetErrorText("Image file too large");
        return nullptr;
    }
    int w = 0, h = 0, channels = 0;
    if (!stbi_info_from_memory(bytes, (int)size, &w, &h, &channels) || !SizeAllowed((uint32_t)w, (uint32_t)h))
    {
        PlatD3dSetErrorText("%s", stbi_failure_reason() ? stbi_failure_reason() : "image too large");
        return nullptr;
    }
    uint8_t *rgba = stbi_load_from_memory(bytes, (int)size, &w, &h, &channels, 4);
    if (!rgba)
    {
        PlatD3dSetErrorText("%s", stbi_failure_reason());
        return nullptr;
    }
    *width = w;
    *height = h;
    return rgba;
}

} // namespace

uint8_t *PlatD3dxDecodeImage(const uint8_t *bytes, size_t size, int32_t *width, int32_t *height)
{
    if (width)
        *width = 0;
    if (height)
        *height = 0;
    if (!bytes || !width || !height)
    {
        PlatD3dSetErrorText("No image given");
        return nullptr;
    }
    static const uint8_t jpegMagic[3] = {0xFF, 0xD8, 0xFF};
    static const uint8_t pngMagic[8] = {0x89, 'P', 'N', 'G', 0x0D, 0x0A, 0x1A, 0x0A};
    if (size >= sizeof(jpegMagic) && memcmp(bytes, jpegMagic, sizeof(jpegMagic)) == 0)
        return DecodeJpeg(bytes, size, width, height);
    if (size >= sizeof(pngMagic) && memcmp(bytes, pngMagic, sizeof(pngMagic)) == 0)
        return DecodePng(bytes, size, width, height);
    return DecodeWithStb(bytes, size, width, height);
}

uint8_t *PlatD3dxLoadImageFile(const char *file, int32_t *width, int32_t *height)
{
    if (width)
        *width = 0;
    if (height)
        *height = 0;
    if (!file || !file[0] || !width || !height)
    {
        PlatD3dSetErrorText("No image file named");
        return nullptr;
    }
    char path[1024];
    PlatD3dxImagePath(file, path, sizeof(path));
    FILE *stream = fopen(path, "rb");
    if (!stream)
    {
        PlatD3dSetErrorText("Could not read <%s>: cannot open file", file);
        return nullptr;
    }
    uint8_t *bytes = nullptr;
    long size = -1;
    if (fseek(stream, 0, SEEK_END) == 0)
        size = ftell(stream);
    if (size < 0 || size > kMaxFileBytes || fseek(stream, 0, SEEK_SET) != 0 ||
        !(bytes = (uint8_t *)malloc(size > 0 ? (size_t)size : 1)) ||
        fread(bytes, 1, (size_t)size, stream) != (size_t)size)
    {
        fclose(stream);
        free(bytes);
        PlatD3dSetErrorText("Could not read <%s>: cannot read file", file);
        return nullptr;
    }
    fclose(stream);
    uint8_t *rgba = PlatD3dxDecodeImage(bytes, (size_t)size, width, height);
    free(bytes);
    if (!rgba)
    {
        char reason[512];
        snprintf(reason, sizeof(reason), "%s", PlatD3dGetErrorText());
        PlatD3dSetErrorText("Could not read <%s>: %s", file, reason);
    }
    return rgba;
}

void PlatD3dxFreeImage(uint8_t *pixels)
{
    free(pixels);
}
