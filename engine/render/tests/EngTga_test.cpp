// 32-bit images: one-colour images, filling from textures, and TGA files read back by
// another reader, including a save that cannot finish.
#include <gtest/gtest.h>

#include <csignal>
#include <cstring>
#include <sys/resource.h>

#include "EngDebug.h"
#include "EngTexture.h"
#include "EngTga.h"
#include "RenderTestkit.h"

using rendertest::Image;

namespace
{
class TgaTest : public rendertest::RenderTest
{
protected:
    // A pattern texture of the given size.
    void LoadPattern(EngTexture *texture, int width, int height)
    {
        std::string path = home->File("pattern.png");
        ASSERT_TRUE(rendertest::WriteImage(path, rendertest::Pattern(width, height)));
        ASSERT_TRUE(texture->LoadFromFile(path.c_str(), 1, ENG_ALPHA_FROM_FILE, 0));
    }
};

// Files may grow to `bytes` while it lives; writing past that fails (instead of ending
// the process).
class FileSizeLimit
{
public:
    explicit FileSizeLimit(rlim_t bytes)
    {
        getrlimit(RLIMIT_FSIZE, &saved);
        previousHandler = signal(SIGXFSZ, SIG_IGN);
        rlimit limit = saved;
        limit.rlim_cur = bytes;
        setrlimit(RLIMIT_FSIZE, &limit);
    }
    ~FileSizeLimit()
    {
        setrlimit(RLIMIT_FSIZE, &saved);
        signal(SIGXFSZ, previousHandler);
    }

private:
    rlimit saved;
    sighandler_t previousHandler;
};
} // namespace

TEST_F(TgaTest, OneColourImages)
{
    EngTga red;
    ASSERT_TRUE(red.CreateWithColour(64, 64, 32, 1.0f, 0.0f, 0.0f, 1.0f));
    const uint8_t *bytes = (const uint8_t *)red.GetData();
    for (int i = 0; i < 64 * 64; i++)
        ASSERT_EQ(0, memcmp(bytes + i * 4, "\x00\x00\xFF\xFF", 4)) << i;
    EXPECT_FALSE(red.CreateWithColour(64, 64, 32, 0, 0, 0, 0));
    EXPECT_TRUE(LogHas("Data already created"));

    struct Row
    {
        float r, g, b, a;
        uint32_t pixel;
    };
    // Negative components leave the image zeroed; components above 1 are full.
    const Row rows[] = {{0.5f, 0.25f, 1.0f, 0.0f, 0x007F40FFu},
                        {-1.0f, 0.5f, 0.5f, 0.5f, 0u},
                        {1.5f, 2.0f, 0.0f, 4.0f, 0xFFFFFF00u}};
    for (const Row &row : rows)
    {
        SCOPED_TRACE(row.pixel);
        EngTga image;
        ASSERT_TRUE(image.CreateWithColour(3, 2, 32, row.r, row.g, row.b, row.a));
        for (int i = 0; i < 6; i++)
            EXPECT_EQ(row.pixel, image.GetData()[i]);
    }

    const int bad[][3] = {{0, 4, 32}, {4, -1, 32}, {4, 4, 24}, {65536, 65536, 32}};
    for (const auto &size : bad)
    {
        EngTga image;
        EXPECT_FALSE(image.CreateWithColour(size[0], size[1], size[2], 1, 1, 1, 1));
        rendertest::LogMark();
    }
    EXPECT_EQ(4, rendertest::CountLog("Invalid parameters"));
}

TEST_F(TgaTest, SavedFilesReadBackWithTheirHeaderAndPixels)
{
    EngTexture texture;
    LoadPattern(&texture, 24, 10);
    EngTga image;
    ASSERT_TRUE(image.CreateWithColour(24, 10, 32, 0, 0, 0, 0));
    ASSERT_TRUE(image.FillFromTexture(0, 0, -1, -1, &texture, 0, 0, -1, -1, 0, 0, ENG_TGA_ALPHA_COPY, 1.0f));
    std::string path = home->File("out.tga");
    ASSERT_TRUE(image.SaveToFile(path.c_str()));

    std::string bytes = testkit::ReadFile(path);
    ASSERT_EQ(18u + 24 * 10 * 4, bytes.size());
    const uint8_t header[18] = {0, 0, 2, 0, 0, 0, 0, 0, 0, 0, 0, 0, 24, 0, 10, 0, 32, 0};
    EXPECT_EQ(0, memcmp(bytes.data(), header, 18));
    // Bottom row first: the first pixel written is the bottom row's first.
    uint32_t first;
    memcpy(&first, bytes.data() + 18, 4);
    EXPECT_EQ(image.GetData()[9 * 24], first);

    Image back = rendertest::ReadImage(path);
    ASSERT_EQ(24, back.width);
    ASSERT_EQ(10, back.height);
    Image pattern = rendertest::Pattern(24, 10);
    EXPECT_EQ(pattern.pixels, back.pixels);
    EXPECT_FALSE(testkit::FileExists(path + ".tmp"));

    EngTga two;
    ASSERT_TRUE(two.CreateWithColour(2, 2, 32, 1, 1, 1, 1));
    ASSERT_TRUE(two.SaveToFile(home->File("two.tga").c_str()));
    std::string small = testkit::ReadFile(home->File("two.tga"));
    ASSERT_EQ(34u, small.size());
    EXPECT_EQ(std::string("\x02\x00\x02\x00\x20\x00", 6), small.substr(12, 6));
}

TEST_F(TgaTest, AFailedSaveLeavesNoFileAndKeepsTheOldOne)
{
    EngTga image;
    ASSERT_TRUE(image.CreateWithColour(64, 64, 32, 0.2f, 0.4f, 0.6f, 1.0f));
    std::string fresh = home->File("fresh.tga"), kept = home->File("kept.tga");
    testkit::WriteFile(kept, "older picture");
    {
        FileSizeLimit limit(1000);
        EXPECT_FALSE(image.SaveToFile(fresh.c_str()));
        EXPECT_FALSE(image.SaveToFile(kept.c_str()));
    }
    EXPECT_FALSE(testkit::FileExists(fresh));
    EXPECT_FALSE(testkit::FileExists(fresh + ".tmp"));
    EXPECT_FALSE(testkit::FileExists(kept + ".tmp"));
    EXPECT_EQ("older picture", testkit::ReadFile(kept));

    EXPECT_FALSE(image.SaveToFile(home->File("no/such/folder/x.tga").c_str()));
    EXPECT_TRUE(LogHas("Could not create file"));
    EngTga empty;
    EXPECT_FALSE(empty.SaveToFile(fresh.c_str()));
    EXPECT_FALSE(image.SaveToFile(""));
    EXPECT_TRUE(LogHas("No filename"));
}

TEST_F(TgaTest, FillingFromATextureScalesMirrorsAndTreatsAlpha)
{
    EngTexture texture;
    LoadPattern(&texture, 64, 64);
    Image source = rendertest::Texels(&texture);

    EngTga image;
    ASSERT_TRUE(image.CreateWithColour(128, 128, 32, 0, 0, 0, 0.5f));
    ASSERT_TRUE(image.FillFromTexture(0, 0, 64, 64, &texture, 0, 0, 128, 128, 0, 0, ENG_TGA_ALPHA_COPY, 1.0f));
    for (int y = 0; y < 128; y++)
        for (int x = 0; x < 128; x++)
            ASSERT_EQ(source.At(x / 2, y / 2), image.GetData()[y * 128 + x]) << x << "," << y;

    ASSERT_TRUE(image.FillFromTexture(0, 0, 64, 64, &texture, 0, 0, 128, 128, 1, 0, ENG_TGA_ALPHA_COPY, 1.0f));
    EXPECT_EQ(source.At(63, 0), image.GetData()[0]);
    EXPECT_EQ(source.At(0, 5), image.GetData()[10 * 128 + 127]);

    // Type 0 keeps the image's alpha; type 3 inverts the source's.
    EngTga kept, inverted;
    ASSERT_TRUE(kept.CreateWithColour(64, 64, 32, 0, 0, 0, 0.5f));
    ASSERT_TRUE(inverted.CreateWithColour(64, 64, 32, 0, 0, 0, 0.5f));
    ASSERT_TRUE(kept.FillFromTexture(0, 0, -1, -1, &texture, 0, 0, -1, -1, 0, 0, ENG_TGA_ALPHA_KEEP, 1.0f));
    ASSERT_TRUE(inverted.FillFromTexture(0, 0, -1, -1, &texture, 0, 0, -1, -1, 0, 0, ENG_TGA_ALPHA_INVERT, 1.0f));
    for (int x : {0, 17, 63})
    {
        EXPECT_EQ((source.At(x, 3) & 0xFFFFFFu) | 0x7F000000u, kept.GetData()[3 * 64 + x]);
        EXPECT_EQ(255u - (source.At(x, 3) >> 24), inverted.GetData()[3 * 64 + x] >> 24);
    }
}

TEST_F(TgaTest, BlendingTheSourceOverTheImage)
{
    Image pixel;
    pixel.width = pixel.height = 1;
    pixel.pixels = {0x80FF0000u};
    std::string path = home->File("half.png");
    ASSERT_TRUE(rendertest::WriteImage(path, pixel));
    EngTexture texture;
    ASSERT_TRUE(texture.LoadFromFile(path.c_str(), 1, ENG_ALPHA_FROM_FILE, 0));
    struct Row
    {
        int type;
        float factor;
        uint32_t expected;
    };
    // Over opaque blue: weight 128 of red; 128 x 0.5 rounds to 64; a factor of -1
    // weighs by the inverted alpha; factors above 1 never go past full cover.
    const Row rows[] = {{4, 1.0f, 0xFF80007Fu}, {4, 0.5f, 0xFF4000BFu}, {4, -1.0f, 0xFF7F0080u},
                        {10, 4.0f, 0xFFFF0000u}, {11, 1.0f, 0xFF80007Fu}};
    for (const Row &row : rows)
    {
        SCOPED_TRACE(row.type * 100 + (int)(row.factor * 10));
        EngTga image;
        ASSERT_TRUE(image.CreateWithColour(1, 1, 32, 0, 0, 1, 1));
        ASSERT_TRUE(image.FillFromTexture(0, 0, 1, 1, &texture, 0, 0, 1, 1, 0, 0, row.type, row.factor));
        EXPECT_EQ(row.expected, image.GetData()[0]);
    }
}

TEST_F(TgaTest, FillsOutsideEitherPictureAreRefused)
{
    EngTexture texture;
    LoadPattern(&texture, 16, 16);
    EngTga image;
    ASSERT_TRUE(image.CreateWithColour(16, 16, 32, 0, 0, 0, 1));
    std::vector<uint32_t> before(image.GetData(), image.GetData() + 256);
    struct Row
    {
        int srcX, srcY, srcW, srcH, dstX, dstY, dstW, dstH;
        const char *report;
    };
    const Row rows[] = {
        {0, 0, 16, 16, 8, 0, 16, 16, "Invalid sizes"},      {4, 0, 16, 16, 0, 0, 16, 16, "Invalid sizes"},
        {-4, 0, 8, 8, 0, 0, 8, 8, "Invalid parameters"},    {0, -1, 8, 8, 0, 0, 8, 8, "Invalid parameters"},
        {0, 0, 8, 8, -1, 0, 8, 8, "Invalid parameters"},    {0, 0, 0, 8, 0, 0, 8, 8, "Invalid parameters"},
    };
    for (const Row &row : rows)
    {
        SCOPED_TRACE(row.srcX * 1000 + row.dstX);
        DebugClearMessages();
        EXPECT_FALSE(image.FillFromTexture(row.srcX, row.srcY, row.srcW, row.srcH, &texture, row.dstX, row.dstY,
                                           row.dstW, row.dstH, 0, 0, ENG_TGA_ALPHA_COPY, 1.0f));
        EXPECT_TRUE(LogHas(row.report));
    }
    EXPECT_EQ(before, std::vector<uint32_t>(image.GetData(), image.GetData() + 256));
    EXPECT_FALSE(image.FillFromTexture(0, 0, 1, 1, nullptr, 0, 0, 1, 1, 0, 0, ENG_TGA_ALPHA_COPY, 1.0f));
}
