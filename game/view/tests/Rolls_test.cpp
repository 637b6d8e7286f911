// Roll frames: made once from the packed sheets into the per-user folder, only missing
// or damaged frames made again, and a failure when a sheet is missing or a frame cannot
// be stored.
#include "ViewTestkit.h"

#include <sys/stat.h>

#include <filesystem>

#include "EngFile.h"

namespace
{
namespace fs = std::filesystem;

class RollsTest : public viewtest::ViewTest
{
protected:
    std::string Frame(int colour, int frame) const
    {
        char name[32];
        snprintf(name, sizeof(name), "/Roll_%02d_%02d.tga", colour, frame);
        return RollsFolder() + name;
    }
    int FrameFiles() const
    {
        int count = 0;
        if (fs::exists(RollsFolder()))
            for (const auto &entry : fs::directory_iterator(RollsFolder()))
                count += entry.path().extension() == ".tga" ? 1 : 0;
        return count;
    }
    // Sheets are the only 512-pixel textures made while generating.
    int SheetsMade() const
    {
        int count = 0;
        for (const PlatD3dRecord &record : recorder->records)
            count += record.kind == PLAT_REC_CREATE_TEXTURE && record.b == 512 ? 1 : 0;
        return count;
    }
};

TEST_F(RollsTest, FromAnEmptyFolderEveryFrameIsMadeWithTheBallMask)
{
    ASSERT_TRUE(TexGenCreateRollsFromPackedPictures()) << LogText();
    EXPECT_EQ(350, FrameFiles());
    EXPECT_EQ(6, SheetsMade());
    for (int colour : {0, 4, 9})
    {
        rendertest::Image image = rendertest::ReadImage(Frame(colour, colour * 3));
        ASSERT_EQ(64, image.width) << colour;
        ASSERT_EQ(64, image.height);
        EXPECT_EQ(0u, image.At(0, 0) >> 24) << "corner";
        EXPECT_EQ(0u, image.At(63, 63) >> 24) << "corner";
        EXPECT_EQ(255u, image.At(32, 32) >> 24) << "centre";
        EXPECT_NE(0u, image.At(32, 32) & 0xFFFFFF) << "the ball's colour";
    }
}

TEST_F(RollsTest, TilesRunAlongRowsThenDownThenToTheNextSheet)
{
    struct Case
    {
        int colour, frame, sheet, x, y;
    } cases[] = {{0, 0, 0, 0, 0}, {0, 7, 0, 448, 0}, {0, 8, 0, 0, 64}, {1, 28, 0, 448, 448},
                 {1, 29, 1, 0, 0}, {3, 10, 1, 192, 384}, {9, 34, 5, 320, 192}};
    for (const Case &c : cases)
    {
        SCOPED_TRACE(testing::Message() << c.colour << "/" << c.frame);
        int sheet, x, y;
        TexGenGetTile(c.colour, c.frame, &sheet, &x, &y);
        EXPECT_EQ(c.sheet, sheet);
        EXPECT_EQ(c.x, x);
        EXPECT_EQ(c.y, y);
    }
    EXPECT_EQ(nullptr, TexGenMakeRollFilename(10, 0));
    EXPECT_EQ(nullptr, TexGenMakeRollFilename(0, 35));
}

TEST_F(RollsTest, ASecondStartLoadsNoSheet)
{
    ProvideRolls();
    recorder->Clear();
    ASSERT_TRUE(TexGenCreateRollsFromPackedPictures());
    EXPECT_EQ(0, SheetsMade());
    EXPECT_EQ(0, recorder->CountKind(PLAT_REC_CREATE_TEXTURE));
}

TEST_F(RollsTest, OnlyADeletedOrDamagedFrameIsMadeAgain)
{
    ProvideRolls();
    const std::string deleted = Frame(3, 10), truncated = Frame(5, 0), untouched = Frame(3, 11);
    ASSERT_TRUE(fs::remove(deleted));
    testkit::WriteFile(truncated, "not a picture");
    const auto before = fs::last_write_time(untouched);
    recorder->Clear();
    ASSERT_TRUE(TexGenCreateRollsFromPackedPictures()) << LogText();
    EXPECT_EQ(350, FrameFiles());
    // Colour 3 frame 10 lies on sheet 01, colour 5 frame 0 on sheet 02.
    EXPECT_EQ(2, SheetsMade());
    EXPECT_EQ(before, fs::last_write_time(untouched));
    for (const std::string &path : {deleted, truncated})
    {
        rendertest::Image image = rendertest::ReadImage(path);
        ASSERT_EQ(64, image.width) << path;
        EXPECT_EQ(0u, image.At(0, 0) >> 24);
        EXPECT_EQ(255u, image.At(32, 32) >> 24);
    }
}

TEST_F(RollsTest, TheGraphicsOfAFreshFolderMakeEveryFrameAndAStoredFolderIsOnlyRead)
{
    // A first start: the first frame that does not load makes them all, once.
    const int sheetsBefore = TexGenGetSheetsLoaded();
    ASSERT_TRUE(PlinxCreateGraphics()) << LogText();
    EXPECT_EQ(350, FrameFiles());
    EXPECT_EQ(6, TexGenGetSheetsLoaded() - sheetsBefore);
    EXPECT_FALSE(LogHas("Remaking damaged roll texture"));
    PlinxReleaseGraphics();

    // A later start loads each stored frame once and makes nothing.
    recorder->Clear();
    ASSERT_TRUE(PlinxCreateGraphics()) << LogText();
    EXPECT_EQ(6, TexGenGetSheetsLoaded() - sheetsBefore);
    int frames = 0;
    for (const PlatD3dRecord &record : recorder->records)
        frames += record.kind == PLAT_REC_CREATE_TEXTURE && record.b == 64 && record.c == 64 ? 1 : 0;
    EXPECT_EQ(350, frames);
}

TEST_F(RollsTest, EveryFrameStoredIsToldFromAFolderThatLacksOne)
{
    EXPECT_FALSE(TexGenAllRollsStored()) << "no folder yet";
    ProvideRolls();
    EXPECT_TRUE(TexGenAllRollsStored());
    for (int colour : {0, 9})
    {
        SCOPED_TRACE(colour);
        const std::string last = Frame(colour, colour == 0 ? 0 : 34);
        ASSERT_TRUE(fs::remove(last));
        EXPECT_FALSE(TexGenAllRollsStored());
        ProvideRolls();
        EXPECT_TRUE(TexGenAllRollsStored());
    }
}

TEST_F(RollsTest, AFrameThatDoesNotLoadIsRemadeWhenTheGraphicsAreCreated)
{
    ProvideRolls();
    // Whole length, but a header no reader accepts: only loading it shows the damage.
    std::string bytes = testkit::ReadFile(Frame(7, 20));
    ASSERT_FALSE(bytes.empty());
    bytes[2] = 99;
    testkit::WriteFile(Frame(7, 20), bytes);
    ASSERT_TRUE(PlinxCreateGraphics()) << LogText();
    EXPECT_TRUE(LogHas("Remaking damaged roll texture"));
    EXPECT_EQ(2, testkit::ReadFile(Frame(7, 20))[2]);
}

TEST_F(RollsTest, AMissingSheetOrAFrameThatCannotBeStoredAnswersFalse)
{
    // A data folder of our own: the build's, without sheet 03.
    testkit::TempDir data;
    fs::create_directories(data.Path() + "/Data/Packed");
    for (const char *file : {"RollAlpha64.tga", "Packed/00.jpg", "Packed/01.jpg", "Packed/02.jpg"})
        fs::copy_file(std::string(PLINX_BUILD_DIR) + "/Data/" + file, data.Path() + "/Data/" + file);
    {
        testkit::WorkingFolder inData(data.Path());
        ASSERT_TRUE(inData.Entered());
        EXPECT_FALSE(TexGenCreateRollsFromPackedPictures());
        EXPECT_TRUE(LogHas("Could not load packed picture <Data/Packed/03.jpg>"));
    }
    // The frames before sheet 03 were made and stay.
    EXPECT_EQ(64 * 3, FrameFiles());

    // A frame whose file name is taken by a folder cannot be saved.
    fs::remove(Frame(9, 0));
    fs::create_directories(Frame(9, 0));
    EXPECT_FALSE(TexGenCreateRollsFromPackedPictures());
    EXPECT_TRUE(LogHas("Could not save roll texture"));
}

TEST_F(RollsTest, MissingRollsFailTheGraphicsWithTheirMessage)
{
    testkit::TempDir data;
    fs::create_directories(data.Path() + "/Data");
    for (const char *file : {"Bottom.jpg", "TextBack.bmp", "BoxBg.png", "Turret.png", "TurretEnd.tga", "Borders.tga",
                             "RollAlpha.tga"})
        fs::copy_file(std::string(PLINX_BUILD_DIR) + "/Data/" + file, data.Path() + "/Data/" + file);
    testkit::WorkingFolder inData(data.Path());
    ASSERT_TRUE(inData.Entered());
    EXPECT_FALSE(PlinxCreateGraphics());
    EXPECT_TRUE(LogHas("Could not load ball textures"));
    EXPECT_FALSE(PlayScreenGraphicsCreated());
}
} // namespace
