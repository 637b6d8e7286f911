// Helpers of the texture, font, picture and particle tests: image files written and read
// with stb, a texture's texels, the recorded draws, and a device fixture with a fake
// clock.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "DeviceFixture.h"
#include "PlatD3dExecutor.h"

class EngTexture;

namespace rendertest
{

// Pixels are 0xAARRGGBB, rows from the top.
struct Image
{
    int width = 0, height = 0;
    std::vector<uint32_t> pixels;
    uint32_t At(int x, int y) const { return pixels[(size_t)y * width + x]; }
};

// A test picture: colour blocks of 4 x 4 pixels (red, green, blue, white, ...) with
// alpha falling from left to right, so that position, channel order and alpha all show.
Image Pattern(int width, int height);
// Written by the file's extension: png, bmp, tga or jpg.
bool WriteImage(const std::string &path, const Image &image);
// Read back with stb_image; an empty image when it cannot be read.
Image ReadImage(const std::string &path);
// A texture's level 0 as read through a lock.
Image Texels(EngTexture *texture);
// The font every font test builds: the build's Data copy, else Debian's file.
std::string VeraBoldPath();

// The draws the recorder saw, in order.
std::vector<const PlatD3dRecord *> Draws(const PlatD3dRecorder *recorder);
// Vertex `index` of a recorded draw as floats (count of them from the start).
std::vector<float> VertexFloats(const PlatD3dRecord *draw, int index, int count);
// The 32-bit colour at byte `offset` of vertex `index`.
uint32_t VertexColour(const PlatD3dRecord *draw, int index, int offset);

// How many lines of the in-memory log contain `text`.
int CountLog(const std::string &text);
// Logs a line of its own, so that the same report before and after it is not taken for
// a repeat (the log writes a repeated line once).
void LogMark();

// A device over the recorder with the frame clock under the test's control.
class RenderTest : public devicetest::DeviceTest
{
protected:
    void SetUp() override;
    void TearDown() override;
    // Moves the frame clock on by `seconds` in frames of `frame` seconds, calling `each`
    // after every frame.
    template <typename F> void Advance(double seconds, double frame, F each)
    {
        int frames = (int)(seconds / frame + 0.5);
        for (int i = 0; i < frames; i++)
        {
            EngFrameTiming.currentTime += frame;
            EngFrameTiming.frameTime = (float)frame;
            each();
        }
    }
};

} // namespace rendertest
