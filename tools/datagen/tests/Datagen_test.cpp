// The generated data set: every file the game loads is present with the right format
// and size, pictures carry art where the game cuts them, sounds are clean PCM (no
// clipping, silent ends, click-free loops), both modules play, and a second run of the
// generator writes the same bytes.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include <libopenmpt/libopenmpt.h>
#include <stb_image.h>

#include "PlatSound.h"
#include "Testkit.h"

namespace
{
const std::string kData = PLINX_DATA_DIR;

std::vector<uint8_t> ReadBytes(const std::string &path)
{
    std::ifstream in(path, std::ios::binary);
    return std::vector<uint8_t>((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

struct Picture
{
    int width = 0, height = 0;
    std::vector<uint8_t> rgba; // always four channels
    int channels = 0;          // as stored in the file
    bool Ok() const { return width > 0; }
    const uint8_t *At(int x, int y) const { return &rgba[((size_t)y * width + x) * 4]; }
};

Picture LoadPicture(const std::string &name)
{
    Picture p;
    int w, h, n;
    unsigned char *data = stbi_load((kData + "/" + name).c_str(), &w, &h, &n, 4);
    if (!data)
        return p;
    p.width = w, p.height = h, p.channels = n;
    p.rgba.assign(data, data + (size_t)w * h * 4);
    stbi_image_free(data);
    return p;
}

struct PictureCase
{
    const char *name;
    int width, height;
    bool alpha; // stored with an alpha channel
};

const PictureCase kPictures[] = {
    {"Packed/00.jpg", 512, 512, false},   {"Packed/01.jpg", 512, 512, false},  {"Packed/02.jpg", 512, 512, false},
    {"Packed/03.jpg", 512, 512, false},   {"Packed/04.jpg", 512, 512, false},  {"Packed/05.jpg", 512, 512, false},
    {"RollAlpha64.tga", 64, 64, true},    {"RollAlpha.tga", 128, 128, true},   {"1.tga", 128, 128, true},
    {"2.tga", 128, 128, true},            {"3.tga", 128, 128, true},           {"Turret.png", 64, 192, true},
    {"TurretEnd.tga", 64, 48, true},      {"Borders.tga", 512, 512, true},     {"Bottom.jpg", 640, 100, false},
    {"TextBack.bmp", 128, 32, false},     {"BoxBg.png", 512, 64, true},        {"CpBottom.bmp", 640, 100, false},
    {"NormalEffect.tga", 64, 64, true},   {"Cursor.tga", 14, 20, true},        {"Common/Platform.png", 256, 256, true},
    {"MenuBg.jpg", 1024, 768, false},     {"PlinxText.png", 1024, 256, true},  {"FbLogo.png", 512, 128, true},
    {"Splash1.jpg", 256, 256, false},     {"Splash2.jpg", 256, 256, false},    {"Splash3.jpg", 256, 256, false},
    {"Splash4.jpg", 256, 256, false},     {"FernRing.png", 256, 256, true},    {"FbText.png", 512, 128, true},
    {"TexEffects1.png", 128, 128, true},  {"PlinxButtons.tga", 1024, 1024, true},
    {"Common/CountryFlags512.png", 512, 512, true},   {"Common/CountryFlags1024.png", 1024, 1024, true},
    {"StartupBanner.png", 560, 100, true}, {"PlinxIcon.png", 128, 128, true},
    {"Icons/PlinxIcon16.png", 16, 16, true},  {"Icons/PlinxIcon32.png", 32, 32, true},
    {"Icons/PlinxIcon48.png", 48, 48, true},  {"Icons/PlinxIcon128.png", 128, 128, true},
    {"Icons/PlinxIcon256.png", 256, 256, true},
    {"IGA/MarbleTide1.jpg", 256, 256, false}, {"IGA/MarbleTide2.jpg", 256, 256, false},
    {"IGA/StarLanes1.jpg", 256, 256, false},  {"IGA/StarLanes2.jpg", 256, 256, false},
    {"IGA/TileTower1.jpg", 256, 256, false},  {"IGA/TileTower2.jpg", 256, 256, false},
    {"IGA/WordOrchard1.jpg", 256, 256, false}, {"IGA/WordOrchard2.jpg", 256, 256, false},
    {"IGA/GemCascade1.jpg", 512, 384, false}, {"IGA/CardIsles1.jpg", 256, 256, false},
    {"IGA/CardIsles2.jpg", 256, 256, false},  {"IGA/BlockDrift1.jpg", 256, 256, false},
    {"IGA/BlockDrift2.jpg", 256, 256, false}, {"IGA/PipeWorks1.jpg", 256, 256, false},
    {"IGA/PipeWorks2.jpg", 256, 256, false},  {"IGA/PocketPool1.jpg", 512, 384, false},
    {"IGA/LanternMaze1.png", 256, 256, true}, {"IGA/LanternMaze2.jpg", 256, 256, false},
    {"IGA/OrbitGolf1.jpg", 512, 384, false},
};

const char *const kOneShots[] = {"GridLand.wav", "GridAlign.wav", "LevelStart.wav", "Bounce.wav",  "BallLaunch.wav",
                                 "Explosion.wav", "LifeOver.wav", "Click_.wav",     "On_.wav",     "Press_.wav",
                                 "Short_.wav",    "LogoMono.wav"};
const char *const kLoops[] = {"BallRolling.wav", "ArcadeRoll.wav", "StrategicRoll.wav", "WildCard.wav",
                              "ExplodingBall.wav", "BallRemove.wav", "BallFalling.wav"};

std::vector<std::string> ProgressTones()
{
    std::vector<std::string> names;
    for (int a = 0; a < 5; a++)
        for (int b = 0; b < 4; b++)
            names.push_back("Common/Sounds/Progress/Progress" + std::to_string(a) + std::to_string(b) + ".wav");
    return names;
}

// A sound as the game's wave reader sees it.
struct Wave
{
    int result = 0;
    PlatSoundFormat format{};
    std::vector<int16_t> samples;
};

Wave ReadWave(const std::string &path)
{
    Wave wave;
    void *data = nullptr;
    uint32_t bytes = 0;
    wave.result = PlatSoundReadWave(path.c_str(), &wave.format, &data, &bytes);
    if (wave.result == PLAT_WAVE_OK)
    {
        wave.samples.resize(bytes / 2);
        std::memcpy(wave.samples.data(), data, bytes / 2 * 2);
        PlatSoundFreeWave(data);
    }
    return wave;
}

int Peak(const std::vector<int16_t> &s)
{
    int peak = 0;
    for (int16_t v : s)
        peak = std::max(peak, std::abs((int)v));
    return peak;
}

// The largest sample-to-sample step within `reach` samples of the loop point, not
// counting the step across it.
int StepNearSeam(const std::vector<int16_t> &s, size_t reach)
{
    int largest = 0;
    for (size_t i = 0; i + 1 < reach; i++)
    {
        largest = std::max(largest, std::abs(s[i + 1] - s[i]));
        largest = std::max(largest, std::abs(s[s.size() - 1 - i] - s[s.size() - 2 - i]));
    }
    return largest;
}

openmpt_module *OpenDataModule(const char *name)
{
    std::vector<uint8_t> bytes = ReadBytes(kData + "/" + name);
    return openmpt_module_create_from_memory2(bytes.data(), bytes.size(), nullptr, nullptr, nullptr, nullptr, nullptr,
                                              nullptr, nullptr);
}

// RMS of each block of `block` frames over `seconds` from the module's position.
std::vector<float> RenderBlocks(openmpt_module *mod, double seconds, int block)
{
    const int rate = 44100;
    std::vector<float> left(block), right(block), levels;
    for (double done = 0.0; done < seconds; done += (double)block / rate)
    {
        size_t got = openmpt_module_read_float_stereo(mod, rate, block, left.data(), right.data());
        double sum = 0.0;
        for (size_t i = 0; i < got; i++)
            sum += left[i] * left[i] + right[i] * right[i];
        levels.push_back(got ? (float)std::sqrt(sum / (2.0 * got)) : 0.0f);
        if (got < (size_t)block)
            break;
    }
    return levels;
}

// Every file under a folder, relative names sorted.
std::vector<std::string> ListFiles(const std::string &folder)
{
    std::vector<std::string> names;
    for (const auto &entry : std::filesystem::recursive_directory_iterator(folder))
        if (entry.is_regular_file())
            names.push_back(std::filesystem::relative(entry.path(), folder).string());
    std::sort(names.begin(), names.end());
    return names;
}

bool RunDatagen(const std::string &folder)
{
    std::string command = std::string("\"") + DATAGEN_EXE + "\" \"" + folder + "\" \"" + DATAGEN_FONT + "\"";
    return std::system(command.c_str()) == 0;
}
} // namespace

TEST(DataFiles, PicturesDecodeWithTheirSizeAndAlpha)
{
    for (const PictureCase &c : kPictures)
    {
        SCOPED_TRACE(c.name);
        Picture p = LoadPicture(c.name);
        ASSERT_TRUE(p.Ok()) << stbi_failure_reason();
        EXPECT_EQ(p.width, c.width);
        EXPECT_EQ(p.height, c.height);
        EXPECT_EQ(p.channels == 4, c.alpha);
    }
}

TEST(DataFiles, SplashDescriptionNamesExistingPictures)
{
    std::vector<uint8_t> bytes = ReadBytes(kData + "/Splash.ttx");
    std::string text(bytes.begin(), bytes.end());
    const std::string key = "\"Filename\": \"";
    int count = 0;
    for (size_t at = text.find(key); at != std::string::npos; at = text.find(key, at + 1))
    {
        size_t start = at + key.size();
        std::string name = text.substr(start, text.find('"', start) - start);
        EXPECT_TRUE(LoadPicture(name).Ok()) << name;
        count++;
    }
    EXPECT_EQ(count, 3);
}

TEST(DataFiles, FontIsCopiedBesideTheData)
{
    std::vector<uint8_t> font = ReadBytes(kData + "/VeraBd.ttf");
    ASSERT_GT(font.size(), 1000u);
    EXPECT_EQ(font, ReadBytes(DATAGEN_FONT));
}

TEST(DataFiles, BallMasksAreRoundWithSoftEdges)
{
    for (const char *name : {"RollAlpha64.tga", "RollAlpha.tga"})
    {
        SCOPED_TRACE(name);
        Picture p = LoadPicture(name);
        ASSERT_TRUE(p.Ok());
        int n = p.width;
        EXPECT_EQ(p.At(n / 2, n / 2)[3], 255);
        EXPECT_EQ(p.At(0, 0)[3], 0);
        EXPECT_EQ(p.At(n - 1, n - 1)[3], 0);
        // Full height and width in the middle, and partly covered pixels along the rim.
        EXPECT_GE(p.At(n / 2, 0)[3], 100);
        EXPECT_GE(p.At(0, n / 2)[3], 100);
        int partial = 0;
        for (int x = 0; x < n; x++)
            for (int y = 0; y < n; y++)
                partial += p.At(x, y)[3] > 20 && p.At(x, y)[3] < 235;
        EXPECT_GT(partial, n);
    }
}

TEST(DataFiles, BallFramesRollOnAcrossTheMirroredHalf)
{
    // Frame f is tile (colour x 35 + f) of the sheets; the game shows frames 35-69 as
    // frames 34-0 flipped upside down, so a flipped frame 34 must follow frame 34 (and a
    // flipped frame 0 lead to frame 0) as closely as one frame follows the next.
    Picture sheets[6];
    for (int s = 0; s < 6; s++)
        sheets[s] = LoadPicture("Packed/0" + std::to_string(s) + ".jpg");
    auto pixel = [&](int frame, int x, int y, bool flip) {
        int tile = frame % 64;
        const Picture &sheet = sheets[frame / 64];
        return sheet.At((tile % 8) * 64 + x, (tile / 8) * 64 + (flip ? 63 - y : y));
    };
    auto distance = [&](int a, bool flipA, int b, bool flipB) {
        double sum = 0.0;
        int count = 0;
        for (int y = 4; y < 60; y++)
            for (int x = 4; x < 60; x++)
            {
                if ((x - 31.5) * (x - 31.5) + (y - 31.5) * (y - 31.5) > 26.0 * 26.0)
                    continue;
                const uint8_t *p = pixel(a, x, y, flipA), *q = pixel(b, x, y, flipB);
                for (int k = 0; k < 3; k++)
                    sum += std::abs(p[k] - q[k]);
                count++;
            }
        return sum / count;
    };
    for (int colour = 0; colour < 10; colour++)
    {
        SCOPED_TRACE(colour);
        int first = colour * 35;
        double step = 0.0;
        for (int f = 0; f < 34; f++)
            step += distance(first + f, false, first + f + 1, false);
        step /= 34;
        EXPECT_GT(step, 2.0) << "the pattern does not visibly roll";
        EXPECT_LT(distance(first + 34, false, first + 34, true), step * 2.0 + 2.0);
        EXPECT_LT(distance(first, true, first, false), step * 2.0 + 2.0);
    }
}

TEST(DataFiles, ButtonSheetHasArtWhereTheButtonsAreCut)
{
    Picture p = LoadPicture("PlinxButtons.tga");
    ASSERT_TRUE(p.Ok());
    // Normal-state regions (left, top, right, bottom) of the texture buttons.
    const struct
    {
        const char *id;
        float l, t, r, b;
    } regions[] = {
        {"ArrowL", 0.003f, 0.255f, 0.12f, 0.37f},         {"ArrowR", 0.131f, 0.255f, 0.246f, 0.37f},
        {"Back1", 0.002f, 0.001f, 0.248f, 0.249f},        {"Back2", 0.0f, 0.511f, 0.248f, 0.749f},
        {"Black", 0.001f, 0.375f, 0.251f, 0.437f},        {"Main hover", 0.251f, 0.502f, 0.499f, 0.748f},
        {"Main pressed", 0.501f, 0.502f, 0.749f, 0.748f}, {"Main disabled", 0.751f, 0.502f, 0.999f, 0.748f},
        {"Start", 0.0f, 0.75f, 0.25f, 1.0f},              {"Start hover", 0.251f, 0.75f, 0.499f, 1.0f},
        {"Start pressed", 0.501f, 0.75f, 0.749f, 1.0f},   {"StdUpArrow", 0.253f, 0.251f, 0.371f, 0.373f},
        {"StdDownArrow", 0.254f, 0.377f, 0.371f, 0.496f}, {"StdListOpenSel", 0.501f, 0.445f, 0.749f, 0.494f},
        {"StdCheckButton", 0.001f, 0.439f, 0.062f, 0.499f}, {"StdUnCheckButton", 0.064f, 0.439f, 0.124f, 0.499f},
        {"StdTabPanelHeading", 0.5f, 0.002f, 0.999f, 0.186f}, {"StdTextEdit", 0.503f, 0.25f, 0.746f, 0.311f},
        {"StdTextEdit pressed", 0.503f, 0.312f, 0.746f, 0.374f},
    };
    for (const auto &r : regions)
    {
        SCOPED_TRACE(r.id);
        int cx = (int)((r.l + r.r) * 0.5f * p.width), cy = (int)((r.t + r.b) * 0.5f * p.height);
        EXPECT_GT(p.At(cx, cy)[3], 150) << "no art in the middle of the region";
        // The region's border stays inside the art's soft edge (nothing cut off hard).
        int left = (int)(r.l * p.width);
        EXPECT_LT(p.At(std::max(0, left - 1), cy)[3], 255);
    }
    // "StdWhite" is plain opaque white.
    for (int y = (int)(0.774f * 1024) + 1; y < (int)(0.851f * 1024); y++)
        for (int x = (int)(0.774f * 1024) + 1; x < (int)(0.851f * 1024); x++)
        {
            const uint8_t *q = p.At(x, y);
            ASSERT_TRUE(q[0] == 255 && q[1] == 255 && q[2] == 255 && q[3] == 255) << x << "," << y;
        }
}

TEST(DataFiles, CursorIsPreparedForAdditiveDrawing)
{
    // Drawn as colour + background x alpha: invisible pixels are black with alpha 255,
    // the arrow's pixels carry colour with alpha near 0.
    Picture p = LoadPicture("Cursor.tga");
    ASSERT_TRUE(p.Ok());
    const uint8_t *corner = p.At(13, 0);
    EXPECT_EQ(corner[3], 255);
    EXPECT_EQ(corner[0] + corner[1] + corner[2], 0);
    const uint8_t *inside = p.At(3, 6);
    EXPECT_LT(inside[3], 30);
    EXPECT_GT(inside[0], 200);
    for (size_t i = 0; i < p.rgba.size(); i += 4)
        for (int k = 0; k < 3; k++)
            ASSERT_LE(p.rgba[i + k], 255 - p.rgba[i + 3] + 1) << "colour brighter than its coverage";
}

TEST(DataFiles, EffectSpriteWorksWithAndWithoutAlpha)
{
    // Loaded without its alpha channel the sprite's colour alone must give its shape.
    Picture p = LoadPicture("NormalEffect.tga");
    ASSERT_TRUE(p.Ok());
    for (size_t i = 0; i < p.rgba.size(); i += 4)
        for (int k = 0; k < 3; k++)
            ASSERT_EQ(p.rgba[i + k], p.rgba[i + 3]);
    EXPECT_EQ(p.At(0, 0)[3], 0);
    EXPECT_GT(p.At(32, 32)[3], 240);
}

TEST(DataFiles, FlagAtlasesHaveEveryCountryCell)
{
    for (const char *name : {"Common/CountryFlags512.png", "Common/CountryFlags1024.png"})
    {
        SCOPED_TRACE(name);
        Picture p = LoadPicture(name);
        ASSERT_TRUE(p.Ok());
        int cell = p.width / 16;
        for (int i = 0; i < 256; i++)
        {
            int covered = 0;
            for (int y = 0; y < cell; y++)
                for (int x = 0; x < cell; x++)
                    covered += p.At((i % 16) * cell + x, (i / 16) * cell + y)[3] > 128;
            bool used = i < 222 || i == 223;
            if (used)
                EXPECT_GT(covered, cell * cell / 4) << "cell " << i;
            else
                EXPECT_EQ(covered, 0) << "cell " << i;
        }
    }
}

TEST(DataFiles, SplashQuartersMakeOneDarkEdgedSquare)
{
    // The four quarters are the parts of one picture: along their shared edges the
    // colours continue (far closer than between columns that are not neighbours).
    Picture q[4];
    for (int i = 0; i < 4; i++)
        q[i] = LoadPicture("Splash" + std::to_string(i + 1) + ".jpg");
    double seam = 0.0, apart = 0.0;
    for (int y = 0; y < 256; y++)
        for (int k = 0; k < 3; k++)
        {
            seam += std::abs(q[0].At(255, y)[k] - q[1].At(0, y)[k]) + std::abs(q[0].At(y, 255)[k] - q[2].At(y, 0)[k]);
            apart += std::abs(q[0].At(255, y)[k] - q[1].At(128, y)[k]) + std::abs(q[0].At(y, 255)[k] - q[2].At(y, 128)[k]);
        }
    EXPECT_LT(seam, apart * 0.6);
    // The square is drawn on black: its outer corners are black.
    EXPECT_LT(q[0].At(0, 0)[0] + q[0].At(0, 0)[1] + q[0].At(0, 0)[2], 30);
    EXPECT_LT(q[3].At(255, 255)[0] + q[3].At(255, 255)[1] + q[3].At(255, 255)[2], 30);
}

TEST(DataFiles, SoundsArePcmWithoutClippingAndStartAndEndSilent)
{
    std::vector<std::string> names(std::begin(kOneShots), std::end(kOneShots));
    for (const std::string &tone : ProgressTones())
        names.push_back(tone);
    for (const std::string &name : names)
    {
        SCOPED_TRACE(name);
        Wave w = ReadWave(kData + "/" + name);
        ASSERT_EQ(w.result, PLAT_WAVE_OK) << PlatSoundGetErrorText();
        EXPECT_EQ(w.format.formatTag, 1);
        EXPECT_EQ(w.format.channels, 1);
        EXPECT_EQ(w.format.samplesPerSecond, 44100u);
        EXPECT_EQ(w.format.bitsPerSample, 16);
        EXPECT_EQ(w.format.averageBytesPerSecond, 88200u);
        ASSERT_GT(w.samples.size(), 400u);
        int peak = Peak(w.samples);
        EXPECT_GT(peak, 32767 / 8) << "too quiet";
        EXPECT_LT(peak, 32700) << "clipped";
        EXPECT_LT(std::abs(w.samples.front()), 200);
        EXPECT_LT(std::abs(w.samples.back()), 200);
    }
}

TEST(DataFiles, LoopedSoundsLoopWithoutAClick)
{
    for (const char *name : kLoops)
    {
        SCOPED_TRACE(name);
        Wave w = ReadWave(kData + "/" + name);
        ASSERT_EQ(w.result, PLAT_WAVE_OK) << PlatSoundGetErrorText();
        EXPECT_EQ(w.format.samplesPerSecond, 44100u);
        ASSERT_GT(w.samples.size(), 4000u);
        EXPECT_LT(Peak(w.samples), 32700);
        // It starts near silence, and across the loop point the wave moves on as it does
        // around it.
        EXPECT_LT(std::abs(w.samples.front()), 1000);
        int seam = std::abs(w.samples.front() - w.samples.back());
        EXPECT_LE(seam, StepNearSeam(w.samples, 64) * 3 / 2) << "the loop point jumps";
    }
}

TEST(DataFiles, GameMusicPlaysOverAMinuteAndLoopsWithoutAGap)
{
    openmpt_module *mod = OpenDataModule("GameMusic.xm");
    ASSERT_NE(mod, nullptr);
    double duration = openmpt_module_get_duration_seconds(mod);
    EXPECT_GT(duration, 70.0);
    EXPECT_GE(openmpt_module_get_num_instruments(mod), 6);
    // Loud enough, never clipping, and still playing across the jump back.
    openmpt_module_set_repeat_count(mod, -1);
    std::vector<float> start = RenderBlocks(mod, 8.0, 4410);
    openmpt_module_set_position_seconds(mod, duration - 3.0);
    std::vector<float> seam = RenderBlocks(mod, 6.0, 4410);
    for (const std::vector<float> *levels : {&start, &seam})
        for (float rms : *levels)
        {
            EXPECT_GT(rms, 0.01f) << "a gap of silence";
            EXPECT_LT(rms, 0.5f);
        }
    openmpt_module_destroy(mod);
}

TEST(DataFiles, GameOverMusicIsShortAndPlays)
{
    openmpt_module *mod = OpenDataModule("GameOver.s3m");
    ASSERT_NE(mod, nullptr);
    double duration = openmpt_module_get_duration_seconds(mod);
    EXPECT_GT(duration, 3.0);
    EXPECT_LT(duration, 15.0);
    std::vector<float> levels = RenderBlocks(mod, 3.0, 4410);
    EXPECT_GT(*std::max_element(levels.begin(), levels.end()), 0.02f);
    openmpt_module_destroy(mod);
}

TEST(Datagen, TwoRunsWriteTheSameFiles)
{
    testkit::TempDir first, second;
    ASSERT_TRUE(RunDatagen(first.Path()));
    ASSERT_TRUE(RunDatagen(second.Path()));
    std::vector<std::string> names = ListFiles(first.Path());
    ASSERT_EQ(names, ListFiles(second.Path()));
    for (const std::string &name : names)
    {
        SCOPED_TRACE(name);
        EXPECT_EQ(ReadBytes(first.File(name)), ReadBytes(second.File(name)));
    }
    // The build's data folder holds every generated file.
    for (const std::string &name : names)
        EXPECT_TRUE(std::filesystem::exists(kData + "/" + name)) << name;
}

TEST(Datagen, RefusesAMissingFont)
{
    testkit::TempDir out;
    std::string command = std::string("\"") + DATAGEN_EXE + "\" \"" + out.Path() + "\" \"" + out.File("none.ttf") +
                          "\" 2>/dev/null";
    EXPECT_NE(std::system(command.c_str()), 0);
}
