// File writers and the contact sheet of the data generator.
#include "DgOutput.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <mutex>

#include <stb_image_write.h>

#include "DgFont.h"

namespace
{
struct SheetEntry
{
    int group;
    int order;
    std::string name;
    DgImage thumb;
};

struct OutState
{
    std::string folder;
    bool failed = false;
    std::vector<SheetEntry> sheet;
};
OutState outState;
std::mutex outMutex;
thread_local int outGroup = 0;
thread_local int outOrder = 0;

const int kThumbMax = 320;

std::string OutPath(const std::string &name)
{
    std::filesystem::path path = std::filesystem::path(outState.folder) / name;
    std::error_code ec;
    std::filesystem::create_directories(path.parent_path(), ec);
    return path.string();
}

void OutFail(const std::string &what, const std::string &path)
{
    std::lock_guard<std::mutex> lock(outMutex);
    std::fprintf(stderr, "datagen: %s <%s>\n", what.c_str(), path.c_str());
    outState.failed = true;
}

// An empty file is never a picture: empty bytes (an encoder's failure) are refused.
bool WriteWhole(const std::string &path, const std::vector<uint8_t> &bytes)
{
    if (bytes.empty())
        return false;
    FILE *f = std::fopen(path.c_str(), "wb");
    if (!f)
        return false;
    bool ok = std::fwrite(bytes.data(), 1, bytes.size(), f) == bytes.size();
    ok = (std::fclose(f) == 0) && ok;
    return ok;
}

void SheetAdd(const std::string &name, const DgImage &img)
{
    int longSide = std::max(img.width, img.height);
    float scale = std::min(1.0f, (float)kThumbMax / longSide);
    if (longSide * scale < 96.0f)
        scale = 96.0f / longSide;
    int w = std::max(1, (int)std::lround(img.width * scale));
    int h = std::max(1, (int)std::lround(img.height * scale));
    DgImage thumb = ImageResize(img, w, h);
    std::lock_guard<std::mutex> lock(outMutex);
    outState.sheet.push_back({outGroup, outOrder++, name, std::move(thumb)});
}

DgImage Flatten(const DgImage &img)
{
    DgImage out = ImageCreate(img.width, img.height, ColourRgb(0, 0, 0));
    ImageDraw(out, img, 0, 0);
    return out;
}

std::vector<uint8_t> Rgb8(const DgImage &img)
{
    std::vector<uint8_t> rgba = ImageToRgba8(Flatten(img));
    std::vector<uint8_t> rgb((size_t)img.width * img.height * 3);
    for (size_t i = 0; i < (size_t)img.width * img.height; i++)
        for (int k = 0; k < 3; k++)
            rgb[i * 3 + k] = rgba[i * 4 + k];
    return rgb;
}

// stb_image_write hands its output over in pieces: gathered into one vector.
void AppendStbOutput(void *context, void *data, int size)
{
    auto *out = (std::vector<uint8_t> *)context;
    const uint8_t *bytes = (const uint8_t *)data;
    out->insert(out->end(), bytes, bytes + size);
}
} // namespace

std::vector<uint8_t> PngEncode(int width, int height, const std::vector<uint8_t> &rgba, int level)
{
    // The level is stb's one setting for every caller: the pictures are written from
    // several threads at once, all at the default level; the contact sheet's own level
    // is taken under the lock, after they are done.
    static std::mutex levelMutex;
    std::lock_guard<std::mutex> lock(levelMutex);
    stbi_write_png_compression_level = level;
    std::vector<uint8_t> out;
    if (!stbi_write_png_to_func(AppendStbOutput, &out, width, height, 4, rgba.data(), width * 4))
        out.clear();
    return out;
}

void BytesPutU16(std::vector<uint8_t> &out, uint32_t v)
{
    out.push_back((uint8_t)(v & 255));
    out.push_back((uint8_t)((v >> 8) & 255));
}

void BytesPutU32(std::vector<uint8_t> &out, uint32_t v)
{
    BytesPutU16(out, v & 0xFFFF);
    BytesPutU16(out, v >> 16);
}

bool OutSetup(const std::string &folder)
{
    outState = OutState();
    outState.folder = folder;
    std::error_code ec;
    std::filesystem::create_directories(folder, ec);
    if (!std::filesystem::is_directory(folder))
    {
        OutFail("cannot create the folder", folder);
        return false;
    }
    return true;
}

bool OutFailed()
{
    std::lock_guard<std::mutex> lock(outMutex);
    return outState.failed;
}

void OutBeginGroup(int group)
{
    outGroup = group;
    outOrder = 0;
}

std::vector<uint8_t> TgaEncode(int width, int height, const std::vector<uint8_t> &rgba)
{
    // Uncompressed true colour with eight alpha bits, rows from the bottom: what the
    // game's TGA readers take. stb's setting is never changed from this.
    stbi_write_tga_with_rle = 0;
    std::vector<uint8_t> out;
    if (!stbi_write_tga_to_func(AppendStbOutput, &out, width, height, 4, rgba.data()))
        out.clear();
    return out;
}

std::vector<uint8_t> WavEncode(const std::vector<float> &samples, int rate)
{
    std::vector<uint8_t> out;
    uint32_t dataBytes = (uint32_t)samples.size() * 2;
    out.insert(out.end(), {'R', 'I', 'F', 'F'});
    BytesPutU32(out, 4 + 8 + 18 + 8 + dataBytes);
    out.insert(out.end(), {'W', 'A', 'V', 'E', 'f', 'm', 't', ' '});
    // The full 18-byte format record (size of extra data 0), as wave readers expect it.
    BytesPutU32(out, 18);
    BytesPutU16(out, 1);                 // PCM
    BytesPutU16(out, 1);                 // mono
    BytesPutU32(out, (uint32_t)rate);
    BytesPutU32(out, (uint32_t)rate * 2); // bytes per second
    BytesPutU16(out, 2);                 // block align
    BytesPutU16(out, 16);                // bits per sample
    BytesPutU16(out, 0);
    out.insert(out.end(), {'d', 'a', 't', 'a'});
    BytesPutU32(out, dataBytes);
    for (float s : samples)
    {
        int v = (int)std::lround(std::clamp(s, -1.0f, 1.0f) * 32767.0f);
        BytesPutU16(out, (uint32_t)(uint16_t)(int16_t)v);
    }
    return out;
}

void OutPicture(const std::string &name, const DgImage &img, int jpgQuality)
{
    std::string path = OutPath(name);
    std::string ext = std::filesystem::path(name).extension().string();
    bool ok = false;
    if (ext == ".png")
    {
        ok = WriteWhole(path, PngEncode(img.width, img.height, ImageToRgba8(img)));
    }
    else if (ext == ".jpg")
    {
        std::vector<uint8_t> rgb = Rgb8(img);
        ok = stbi_write_jpg(path.c_str(), img.width, img.height, 3, rgb.data(), jpgQuality) != 0;
    }
    else if (ext == ".bmp")
    {
        std::vector<uint8_t> rgb = Rgb8(img);
        ok = stbi_write_bmp(path.c_str(), img.width, img.height, 3, rgb.data()) != 0;
    }
    else if (ext == ".tga")
    {
        ok = WriteWhole(path, TgaEncode(img.width, img.height, ImageToRgba8(img)));
    }
    if (!ok)
    {
        OutFail("cannot write the picture", path);
        return;
    }
    SheetAdd(name, (ext == ".jpg" || ext == ".bmp") ? Flatten(img) : img);
}

void OutTgaBytes(const std::string &name, int width, int height, const std::vector<uint8_t> &rgba,
                 const DgImage *preview)
{
    std::string path = OutPath(name);
    if (!WriteWhole(path, TgaEncode(width, height, rgba)))
    {
        OutFail("cannot write the picture", path);
        return;
    }
    if (preview)
        SheetAdd(name, *preview);
}

void OutSound(const std::string &name, const std::vector<float> &samples, int rate)
{
    std::string path = OutPath(name);
    if (!WriteWhole(path, WavEncode(samples, rate)))
        OutFail("cannot write the sound", path);
}

void OutBytes(const std::string &name, const std::vector<uint8_t> &bytes)
{
    std::string path = OutPath(name);
    if (!WriteWhole(path, bytes))
        OutFail("cannot write the file", path);
}

bool OutWriteContactSheet(const std::string &path)
{
    std::sort(outState.sheet.begin(), outState.sheet.end(), [](const SheetEntry &a, const SheetEntry &b) {
        return a.group != b.group ? a.group < b.group : a.order < b.order;
    });
    const int columns = 6;
    const int cellW = kThumbMax + 40, labelH = 28, margin = 20;
    // Rows take the height of their tallest picture.
    std::vector<int> rowHeights;
    for (size_t i = 0; i < outState.sheet.size(); i += columns)
    {
        int h = 0;
        for (size_t j = i; j < std::min(outState.sheet.size(), i + columns); j++)
            h = std::max(h, outState.sheet[j].thumb.height);
        rowHeights.push_back(h + labelH + margin);
    }
    int height = margin;
    for (int h : rowHeights)
        height += h;
    DgImage sheet = ImageCreate(columns * cellW + margin, height, ColourHex(0x202428));
    int y = margin;
    for (size_t row = 0; row < rowHeights.size(); row++)
    {
        for (int col = 0; col < columns; col++)
        {
            size_t i = row * columns + col;
            if (i >= outState.sheet.size())
                break;
            const SheetEntry &e = outState.sheet[i];
            int x = margin + col * cellW;
            // A checkerboard shows where pictures are transparent.
            for (int cy = 0; cy < e.thumb.height; cy++)
                for (int cx = 0; cx < e.thumb.width; cx++)
                {
                    bool dark = ((cx / 8) + (cy / 8)) & 1;
                    sheet.At(x + cx, y + cy) = dark ? ColourHex(0x55595e) : ColourHex(0x80858a);
                }
            ImageDraw(sheet, e.thumb, x, y);
            DgTextStyle label;
            label.size = 15.0f;
            label.top = label.bottom = ColourHex(0xe8ecf0);
            DrawText(sheet, e.name, x + FontMeasure(e.name, 15.0f) * 0.5f + 2.0f,
                     (float)(y + e.thumb.height + 14), label);
        }
        y += rowHeights[row];
    }
    if (!WriteWhole(path, PngEncode(sheet.width, sheet.height, ImageToRgba8(sheet, false), 1)))
    {
        OutFail("cannot write the contact sheet", path);
        return false;
    }
    return true;
}
