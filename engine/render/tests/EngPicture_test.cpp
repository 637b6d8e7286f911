// Pictures from ".ttx" descriptions: required and optional keys, sets and layers, stage
// changes, fades and movement on a fake clock, which textures load, and drawing.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <filesystem>
#include <string>

#include "EngDebug.h"
#include "EngPicture.h"
#include "EngTexture.h"
#include "EngTextureDX9.h"
#include "RenderTestkit.h"
#include "TestkitSeams.h"

namespace
{
constexpr double kFrame = 1.0 / 60.0;

// A stage object with every required key; `extra` adds more keys.
std::string Stage(int texNum, const std::string &extra = "", const char *level = "1")
{
    std::string stage = "{\"TexNum\": " + std::to_string(texNum) + ", \"Alpha Level\": " + level +
                        ", \"Alpha Throb On\": 0, \"Alpha Throb Min Level\": 0, "
                        "\"Alpha Throb Speed\": 0, \"Alpha Throb Mult\": 0";
    if (!extra.empty())
        stage += ", " + extra;
    return stage + "}";
}

// A stage with one key set to `number`: a required key's value is replaced, any other
// key is added.
std::string StageWith(const std::string &key, const std::string &number)
{
    std::string stage = Stage(0), quoted = "\"" + key + "\": ";
    size_t at = stage.find(quoted);
    if (at == std::string::npos)
        return Stage(0, quoted + number);
    return stage.replace(at + quoted.size(), 1, number);
}

std::string Textures(const std::vector<std::string> &names)
{
    std::string list = "\"Textures\": [";
    for (size_t i = 0; i < names.size(); i++)
        list += std::string(i ? ", " : "") + "{\"Path\": \"\", \"Filename\": \"" + names[i] + "\"}";
    return list + "]";
}

class PictureTest : public rendertest::RenderTest
{
protected:
    void SetUp() override
    {
        RenderTest::SetUp();
        for (const char *name : {"a.png", "b.png", "c.png", "d.jpg"})
            ASSERT_TRUE(rendertest::WriteImage(home->File(name), rendertest::Pattern(8, 8)));
    }

    void TearDown() override
    {
        EngPictureSetTextureFileOverwriteCB(nullptr);
        EngPictureLimitStagesForTests(-1);
        RenderTest::TearDown();
    }

    // Writes the description and loads it from the temporary folder.
    bool Load(const std::string &json, const char *name = "pic")
    {
        testkit::WriteFile(home->File(std::string(name) + ".ttx"), json);
        return picture.LoadFromFile(home->Path().c_str(), name, true, false);
    }

    // Runs the frame clock on, ticking the picture every frame.
    void Run(double seconds)
    {
        Advance(seconds, kFrame, [this] { picture.Tick(1.0f); });
    }

    // The alpha byte of the picture's last draw.
    int DrawnAlpha()
    {
        recorder->Clear();
        picture.Draw();
        auto draws = rendertest::Draws(recorder);
        if (draws.empty())
            return -1;
        return (int)(rendertest::VertexColour(draws.back(), 0, 12) >> 24);
    }

    EngPicture picture;
};
} // namespace

TEST_F(PictureTest, BadDescriptionsLeaveAnEmptyPicture)
{
    struct Row
    {
        std::string json;
        const char *report;
    };
    const Row rows[] = {
        {"{" + Textures({"a.png"}) + ", \"Sets\": [{\"Name\": \"s\", \"Stages\": [{\"TexNum\": 0, "
                                     "\"Alpha Throb On\": 0, \"Alpha Throb Min Level\": 0, \"Alpha Throb Speed\": 0, "
                                     "\"Alpha Throb Mult\": 0}]}]}",
         "json::Exception <"},
        {"{\"Sets\": [{\"Stages\": [" + Stage(-1) + "]}]}", "json::Exception <"},
        {"{\"Sets\": [{\"Name\": 5, \"Stages\": []}]}", "json::Exception <"},
        {"{\"Textures\": [{\"Filename\": \"a.png\"}], \"Layers\": []}", "json::Exception <"},
        {"{\"Draw Area\": [0, 0, 10, 10]}", "Needed elements not found file [pic]"},
        {"{\"Sets\": [", ""},
    };
    for (const Row &row : rows)
    {
        SCOPED_TRACE(row.json);
        DebugClearMessages();
        EXPECT_FALSE(Load(row.json));
        EXPECT_TRUE(LogHas(row.report));
        EXPECT_EQ(0, picture.GetNumSets());
        EXPECT_EQ(0, picture.GetNumTextures());
        EXPECT_FLOAT_EQ(640.0f, picture.GetDrawArea().w);
    }
    DebugClearMessages();
    EXPECT_FALSE(picture.LoadFromFile(home->Path().c_str(), "absent", true, false));
    EXPECT_TRUE(LogHas("File not found <" + home->File("absent.ttx") + ">"));
    DebugClearMessages();
    EXPECT_FALSE(picture.LoadFromFile(home->Path().c_str(), "absent", true, true));
    EXPECT_EQ(0, DebugGetNumMessages());
    // A name that only fits without its extension is not cut to some other file.
    std::string longName(1020 - home->Path().size(), 'n');
    EXPECT_FALSE(picture.LoadFromFile(home->Path().c_str(), longName.c_str(), true, false));
    EXPECT_FALSE(picture.LoadFromFile(nullptr, "", false, false));
    EXPECT_TRUE(LogHas("No filename"));
}

TEST_F(PictureTest, OptionalKeysKeepTheirDefaults)
{
    ASSERT_TRUE(Load("{" + Textures({"a.png"}) + ", \"Sets\": [{\"Name\": \"\", \"Stages\": [" + Stage(0) + "]}]}"));
    EXPECT_TRUE(LogHas("Main Area"));
    EXPECT_TRUE(LogHas("Draw Area"));
    ASSERT_EQ(1, picture.GetNumSets());
    _EngPictureSet *set = picture.GetSet(0);
    EXPECT_STREQ("Set 0", set->name);
    const _EngPictureStage &stage = set->stages[0];
    EXPECT_EQ(ENG_PICTURE_STAGE_CHECK, stage.check);
    EXPECT_FLOAT_EQ(1.0f, stage.pos.mainArea.w);
    EXPECT_FLOAT_EQ(1.0f, stage.pos.mainArea.h);
    EXPECT_EQ(0, stage.pos.transType);
    EXPECT_EQ(0, stage.alpha.show);
    EXPECT_EQ(0, stage.alpha.blendType);
    EXPECT_EQ(0, stage.rot.on);
    EXPECT_FLOAT_EQ(0.0f, stage.alpha.times[0]);
    EXPECT_FLOAT_EQ(640.0f, picture.GetDrawArea().w);

    ASSERT_TRUE(Load("{" + Textures({"a.png"}) + ", \"Draw Area\": [10, 20, 300], \"Sets\": [{\"Name\": \"x\", "
                     "\"Stages\": [" + Stage(0, "\"Trans Type\": 7, \"Main Area\": [0.25, 0.5, 0.5, 0.25]") + "]}]}"));
    EXPECT_TRUE(LogHas("Invalid trans type 7."));
    EXPECT_FLOAT_EQ(300.0f, picture.GetDrawArea().w);
    EXPECT_FLOAT_EQ(480.0f, picture.GetDrawArea().h);
    EXPECT_EQ(0, picture.GetSet(0)->stages[0].pos.transType);
    EXPECT_FLOAT_EQ(0.5f, picture.GetSet(0)->stages[0].pos.mainArea.y);
}

TEST_F(PictureTest, SetsWinOverLayersAndLayersAreSingleStageSets)
{
    std::string layers = "\"Layers\": [" + Stage(0, "\"Name\": \"\"") + ", " + Stage(1, "\"Name\": \"top\"") + ", " +
                         Stage(2, "\"Name\": \"\", \"Alpha Times\": [1, 1, 1, 1]") + "]";
    ASSERT_TRUE(Load("{" + Textures({"a.png", "b.png", "c.png"}) + ", " + layers + "}"));
    ASSERT_EQ(3, picture.GetNumSets());
    EXPECT_STREQ("Layer 0", picture.GetSet(0)->name);
    EXPECT_STREQ("top", picture.GetSet(1)->name);
    EXPECT_STREQ("Layer 2", picture.GetSet(2)->name);
    EXPECT_EQ(1, picture.GetSet(2)->stageCount);
    // A layer never reads times: it never changes stage.
    EXPECT_FLOAT_EQ(0.0f, picture.GetSet(2)->stages[0].alpha.times[0]);

    ASSERT_TRUE(Load("{" + Textures({"a.png"}) + ", \"Sets\": [{\"Name\": \"only\", \"Stages\": [" + Stage(0) +
                     "]}], " + layers + "}"));
    ASSERT_EQ(1, picture.GetNumSets());
    EXPECT_STREQ("only", picture.GetSet(0)->name);

    // A layer whose stage cannot be added is left out rather than kept empty.
    EngPictureLimitStagesForTests(2);
    ASSERT_TRUE(Load("{" + Textures({"a.png", "b.png", "c.png"}) + ", " + layers + "}"));
    EXPECT_EQ(2, picture.GetNumSets());
    EngPictureLimitStagesForTests(-1);
    DebugClearMessages();
    picture.Draw();
    EXPECT_FALSE(LogHas("has no stages"));
}

TEST_F(PictureTest, TextureNumbersRoundAndOutOfRangeMeansNone)
{
    struct Row
    {
        const char *value;
        int texNum;
    };
    const Row rows[] = {{"2.5", 2}, {"2.6", 3}, {"-1", -1}, {"5", -1}, {"-2", -1}, {"0.4", 0}};
    for (const Row &row : rows)
    {
        SCOPED_TRACE(row.value);
        std::string stage = Stage(0);
        stage.replace(stage.find("0"), 1, row.value);
        ASSERT_TRUE(Load("{" + Textures({"a.png", "b.png", "c.png", "d.jpg"}) +
                         ", \"Sets\": [{\"Name\": \"s\", \"Stages\": [" + stage + "]}]}"));
        EXPECT_EQ(row.texNum, picture.GetSet(0)->stages[0].texNum);
    }
}

// Numbers whose conversion to their field would be undefined are refused with a logged
// error: the field keeps its default and the rest of the description still loads.
TEST_F(PictureTest, NumbersBeyondTheirFieldsAreRefused)
{
    auto loadStage = [this](const std::string &stage) {
        return Load("{" + Textures({"a.png"}) + ", \"Sets\": [{\"Name\": \"s\", \"Stages\": [" + stage + "]}]}");
    };
    struct Key
    {
        const char *key;
        bool isArray;
        int (*read)(const _EngPictureStage &);
        int fallback;
    };
    const Key keys[] = {
        {"TexNum", false, [](const _EngPictureStage &s) { return (int)s.texNum; }, -1},
        {"Alpha Throb On", false, [](const _EngPictureStage &s) { return (int)s.alpha.throbOn; }, 0},
        {"Show", false, [](const _EngPictureStage &s) { return (int)s.alpha.show; }, 0},
        {"Trans Type", false, [](const _EngPictureStage &s) { return (int)s.pos.transType; }, 0},
        {"Alpha Blend Type", false, [](const _EngPictureStage &s) { return (int)s.alpha.blendType; }, 0},
        {"Locks", true, [](const _EngPictureStage &s) { return (int)s.locks[0]; }, 0},
        {"RotFlags", true, [](const _EngPictureStage &s) { return (int)s.rot.on; }, 0},
    };
    struct Value
    {
        const char *text, *logged;
    };
    const Value values[] = {{"3e9", "3e+09"}, {"-3e9", "-3e+09"}, {"1e10", "1e+10"}, {"1e300", "1e+300"}};
    for (const Value &value : values)
        for (const Key &key : keys)
        {
            SCOPED_TRACE(std::string(key.key) + " = " + value.text);
            std::string number = key.isArray ? std::string("[") + value.text + "]" : value.text;
            DebugClearMessages();
            ASSERT_TRUE(loadStage(StageWith(key.key, number)));
            EXPECT_TRUE(LogHas(std::string("Number ") + value.logged + " of <" + key.key + "> is out of range."));
            EXPECT_EQ(key.fallback, key.read(picture.GetSet(0)->stages[0]));
        }

    // Float keys take any number a float holds and refuse the rest.
    const std::pair<const char *, const char *> floats[] = {
        {"Alpha Throb Speed", "-1e300"}, {"Main Area", "[0, 1e300, 1, 1]"}, {"TC Tile", "[1e300, 1]"}};
    for (const auto &[key, number] : floats)
    {
        SCOPED_TRACE(key);
        DebugClearMessages();
        ASSERT_TRUE(loadStage(StageWith(key, number)));
        EXPECT_TRUE(LogHas(std::string("of <") + key + "> is out of range."));
    }
    DebugClearMessages();
    ASSERT_TRUE(loadStage(Stage(0, "\"Show\": 1", "1e300")));
    EXPECT_TRUE(LogHas("Number 1e+300 of <Alpha Level> is out of range."));
    // A huge level a float does hold draws as a plain opaque stage.
    ASSERT_TRUE(loadStage(Stage(0, "\"Show\": 1, \"Main Area\": [0, 0, 1, 1]", "1e10")));
    EXPECT_FLOAT_EQ(1e10f, picture.GetSet(0)->stages[0].alpha.level);
    ASSERT_TRUE(picture.CreateGraphics());
    EXPECT_EQ(255, DrawnAlpha());

    // A number past what a double holds fails the reader: the whole file is refused.
    DebugClearMessages();
    EXPECT_FALSE(loadStage(Stage(0, "\"Show\": 1e999")));
    EXPECT_TRUE(LogHas("NUMBER token out of range: 1e999"));
}

TEST_F(PictureTest, StagesFadeHoldAndFollowEachOther)
{
    const std::string times = "\"Show\": 1, \"Alpha Times\": [1, 1, 2, 0]";
    ASSERT_TRUE(Load("{" + Textures({"a.png", "b.png"}) + ", \"Sets\": [{\"Name\": \"s\", \"Stages\": [" +
                     Stage(0, times) + ", " + Stage(1, times) + "]}]}"));
    ASSERT_TRUE(picture.CreateGraphics());
    _EngPictureSet *set = picture.GetSet(0);
    EXPECT_EQ(0, set->currentStage);
    struct Step
    {
        double seconds; // run on this much
        int stage;
        int alpha;      // drawn, +-2
    };
    // Fade in over 1 s, hold 2 s, fade out over 1 s; the next stage 4 s after the first,
    // and the first again after the last. Each change comes with the first frame at or
    // after its time, so a stage can start up to a frame late (4 steps of alpha each).
    const Step steps[] = {{0.5, 0, 128}, {1.0, 0, 255}, {1.5, 0, 255},  {0.5, 0, 128},
                          {0.75, 1, 64}, {0.5, 1, 191}, {3.75, 0, 128}, {4.0, 1, 128}};
    for (const Step &step : steps)
    {
        Run(step.seconds);
        SCOPED_TRACE(EngFrameTiming.currentTime);
        EXPECT_EQ(step.stage, set->currentStage);
        EXPECT_NEAR(step.alpha, DrawnAlpha(), 15);
    }

    // Stages without times change at every tick.
    ASSERT_TRUE(Load("{" + Textures({"a.png"}) + ", \"Sets\": [{\"Name\": \"s\", \"Stages\": [" + Stage(0) + ", " +
                     Stage(0) + ", " + Stage(0) + "]}]}"));
    set = picture.GetSet(0);
    int before = set->currentStage;
    Run(kFrame);
    EXPECT_EQ((before + 1) % 3, set->currentStage);
    Run(kFrame);
    EXPECT_EQ((before + 2) % 3, set->currentStage);
}

TEST_F(PictureTest, TransitionsMoveBetweenTheAreas)
{
    const std::string areas = "\"Main Area\": [0, 0, 0.5, 0.5], \"Trans End Area\": [0.5, 0.5, 0.5, 0.5], "
                              "\"Trans Speeds\": [0.5, 1], \"Trans Type\": ";
    ASSERT_TRUE(Load("{\"Sets\": [{\"Name\": \"linear\", \"Stages\": [" + Stage(-1, areas + "2") +
                     "]}, {\"Name\": \"eased\", \"Stages\": [" + Stage(-1, areas + "3") +
                     "]}, {\"Name\": \"loop\", \"Stages\": [" + Stage(-1, areas + "1") + "]}]}"));
    const _Dimension &linear = picture.GetSet(0)->stages[0].posVars.area;
    const _Dimension &eased = picture.GetSet(1)->stages[0].posVars.area;
    const _Dimension &loop = picture.GetSet(2)->stages[0].posVars.area;
    Run(0.5);
    EXPECT_NEAR(0.125, linear.x, 0.01);
    EXPECT_NEAR(0.5 * (0.5 + 0.5 * sin(-M_PI / 4)), eased.x, 0.01);
    Run(0.5);
    EXPECT_NEAR(0.25, linear.x, 0.01);
    EXPECT_NEAR(0.25, eased.x, 0.01);
    Run(1.0);
    EXPECT_NEAR(0.5, linear.x, 0.01);
    EXPECT_NEAR(0.5, eased.y, 0.01);
    EXPECT_NEAR(0.0, loop.x, 0.01); // wrapped round
    Run(2.0);
    EXPECT_NEAR(0.0, linear.x, 0.01);
    EXPECT_NEAR(0.0, eased.x, 0.01);
    EXPECT_FLOAT_EQ(0.5f, linear.w);
}

TEST_F(PictureTest, RotationAndScrollingCoordinates)
{
    ASSERT_TRUE(Load("{\"Sets\": [{\"Name\": \"turn\", \"Stages\": [" +
                     Stage(-1, "\"RotFlags\": [1, 2], \"RotValues\": [0, 0, 90, 1]") +
                     "]}, {\"Name\": \"jump\", \"Stages\": [" +
                     Stage(-1, "\"RotFlags\": [1, 1], \"RotValues\": [0, 90, 90, 1]") +
                     "]}, {\"Name\": \"scroll\", \"Stages\": [" +
                     Stage(-1, "\"TC Default\": 1, \"TC Tile\": [2, 2], \"TC Move\": 1, \"TC Speed\": [0.5, 0]") +
                     "]}]}"));
    const _EngPictureStage &turn = picture.GetSet(0)->stages[0];
    const _EngPictureStage &jump = picture.GetSet(1)->stages[0];
    const _EngPictureStage &scroll = picture.GetSet(2)->stages[0];
    Run(2.0);
    EXPECT_NEAR(180.0, turn.rotVars.angle, 2.0);
    EXPECT_NEAR(0.0, jump.rotVars.angle, 2.0); // reached 90 twice, back to the start each time
    Run(2.0);
    EXPECT_LT(turn.rotVars.angle, 10.0f); // a full turn in 4 s, wrapped at 360
    for (int i = 0; i < 200; i++)
    {
        Run(kFrame);
        ASSERT_GE(scroll.currentTexCoords[0], 0.0f);
        ASSERT_LT(scroll.currentTexCoords[0], 1.0f);
        ASSERT_FLOAT_EQ(scroll.currentTexCoords[0] + 2.0f, scroll.currentTexCoords[2]);
        ASSERT_FLOAT_EQ(2.0f, scroll.currentTexCoords[3]);
    }
}

TEST_F(PictureTest, OnlyTexturesOfShownStagesAreLoaded)
{
    // Stage 0 shows a; stage 1 hides b; stage 2 takes its alpha (shown) from stage 0 and
    // uses c; d is listed but unused.
    ASSERT_TRUE(Load("{" + Textures({"a.png", "b.png", "c.png", "d.jpg"}) +
                     ", \"Sets\": [{\"Name\": \"s\", \"Stages\": [" + Stage(0, "\"Show\": 1") + ", " +
                     Stage(1, "\"Show\": 0") + ", " + Stage(2, "\"Show\": 0, \"Locks\": [0, 0, 1, 0]") + "]}]}"));
    EXPECT_TRUE(picture.CreateGraphics());
    const bool loaded[4] = {true, false, true, false};
    for (int i = 0; i < 4; i++)
    {
        SCOPED_TRACE(i);
        EngTexture *texture = picture.GetTexture(i)->texture;
        EXPECT_EQ(loaded[i], texture != nullptr && texture->IsLoaded());
    }
    // PNG and TGA names load with alpha.
    EXPECT_EQ(PLAT_FMT_A8R8G8B8, picture.GetTexture(0)->texture->GetBackEnd()->GetFormat());
    picture.DestroyGraphics();
    EXPECT_EQ(nullptr, picture.GetTexture(0)->texture);
    EXPECT_TRUE(picture.CreateGraphics());
}

TEST_F(PictureTest, TextureFilesFromPathsOrTheOverwriteCallback)
{
    std::string sub = home->File("sub");
    std::filesystem::create_directories(sub);
    ASSERT_TRUE(rendertest::WriteImage(sub + "/e.PNG", rendertest::Pattern(4, 4)));
    std::string textures = "\"Textures\": [{\"Path\": \"" + sub + "\", \"Filename\": \"e.PNG\"}, "
                           "{\"Path\": \"\", \"Filename\": \"d.jpg\"}, {\"Path\": \"\", \"Filename\": \"\"}]";
    std::string json = "{" + textures + ", \"Sets\": [{\"Name\": \"s\", \"Stages\": [" + Stage(0, "\"Show\": 1") +
                       ", " + Stage(1, "\"Show\": 1") + "]}]}";
    ASSERT_TRUE(Load(json));
    EXPECT_FALSE(picture.CreateGraphics()); // the third texture has no file name
    EXPECT_TRUE(LogHas("No texture filename"));
    EXPECT_TRUE(picture.GetTexture(0)->texture->IsLoaded());
    EXPECT_EQ(PLAT_FMT_A8R8G8B8, picture.GetTexture(0)->texture->GetBackEnd()->GetFormat());
    EXPECT_TRUE(picture.GetTexture(1)->texture->IsLoaded()); // from the picture's own folder
    EXPECT_EQ(PLAT_FMT_X8R8G8B8, picture.GetTexture(1)->texture->GetBackEnd()->GetFormat());

    static std::vector<std::string> asked;
    asked.clear();
    EngPictureSetTextureFileOverwriteCB([](const char *folder, const char *file, char *out, int size) {
        asked.push_back(std::string(folder ? folder : "(null)") + "|" + file);
        if (strcmp(file, "d.jpg") == 0)
            return false;
        snprintf(out, (size_t)size, "%s/../a.png", folder);
        return true;
    });
    picture.DestroyGraphics();
    DebugClearMessages();
    EXPECT_FALSE(picture.CreateGraphics());
    ASSERT_EQ(2u, asked.size());
    EXPECT_EQ(sub + "|e.PNG", asked[0]);
    EXPECT_EQ(home->Path() + "|d.jpg", asked[1]);
    EXPECT_TRUE(LogHas("No file returned for <d.jpg>"));
    EXPECT_EQ(8, picture.GetTexture(0)->texture->GetWidth());
}

TEST_F(PictureTest, DrawingFillsTheDrawAreaThroughTheViewport)
{
    ASSERT_TRUE(Load("{" + Textures({"a.png"}) + ", \"Sets\": [{\"Name\": \"s\", \"Stages\": [" +
                     Stage(0, "\"Show\": 1, \"Main Area\": [0.25, 0, 0.5, 1]", "0.5") +
                     "]}, {\"Name\": \"flat\", \"Stages\": [" +
                     Stage(0, "\"Show\": 1, \"Main Area\": [0, 0, 0, 1]") + "]}]}"));
    ASSERT_TRUE(picture.CreateGraphics());
    picture.SetDrawArea(320, 240, 320, 240);
    device->PrepareFor2D(true);
    recorder->Clear();
    picture.DrawWithAlpha(0.5f);
    device->RestoreAfter2D();
    EXPECT_TRUE(LogHas("No pos."));
    auto draws = rendertest::Draws(recorder);
    ASSERT_EQ(1u, draws.size());
    EXPECT_NEAR(64, (int)(rendertest::VertexColour(draws[0], 0, 12) >> 24), 1);
    // The draw area became the viewport; the quad covers the middle half of it.
    const PlatD3dRecord *viewport = nullptr;
    const PlatD3dRecord *world = nullptr;
    for (const PlatD3dRecord &record : recorder->records)
    {
        if (record.kind == PLAT_REC_VIEWPORT && !viewport)
            viewport = &record;
        if (record.kind == PLAT_REC_TRANSFORM && record.a == PLAT_TS_WORLD && !world)
            world = &record;
    }
    ASSERT_NE(nullptr, viewport);
    EXPECT_EQ(320u, viewport->viewport.x);
    EXPECT_EQ(240u, viewport->viewport.y);
    EXPECT_EQ(320u, viewport->viewport.width);
    ASSERT_NE(nullptr, world);
    EXPECT_FLOAT_EQ(1.0f, world->matrix.m[0]);
    EXPECT_FLOAT_EQ(2.0f, world->matrix.m[5]);
    EXPECT_FLOAT_EQ(0.0f, world->matrix.m[12]);
    EXPECT_FLOAT_EQ(0.0f, world->matrix.m[13]);
    EXPECT_TRUE(device->IsViewportFullScreen());
}

TEST_F(PictureTest, ThrobbingAlphaAndRandomPlaces)
{
    std::string stage = "{\"TexNum\": 0, \"Show\": 1, \"Alpha Level\": 0.8, \"Alpha Throb On\": 1, "
                        "\"Alpha Throb Min Level\": 0.2, \"Alpha Throb Speed\": 3, \"Alpha Throb Mult\": 1, "
                        "\"Trans Type\": 4, \"Main Area\": [0, 0, 0.25, 0.25], \"Trans End Area\": [0, 0, 0.25, 0.25], "
                        "\"Trans Random Area\": [0.5, 0.5, 0.5, 0.5], \"TC Default\": 1, \"TC Tile\": [1, 1]}";
    ASSERT_TRUE(Load("{" + Textures({"a.png"}) + ", \"Sets\": [{\"Name\": \"s\", \"Stages\": [" + stage + "]}]}"));
    ASSERT_TRUE(picture.CreateGraphics());
    const _EngPictureStage &s = picture.GetSet(0)->stages[0];
    float low = 1, high = 0;
    std::vector<float> places;
    for (int frame = 0; frame < 600; frame++)
    {
        Run(kFrame);
        low = std::min(low, s.alphaVars.throbLevel);
        high = std::max(high, s.alphaVars.throbLevel);
        // The whole area stays inside the random area.
        ASSERT_GE(s.posVars.area.x, 0.5f);
        ASSERT_LE(s.posVars.area.x + s.posVars.area.w, 1.0f + 1e-6f);
        ASSERT_GE(s.posVars.area.y, 0.5f);
        if (places.empty() || places.back() != s.posVars.area.x)
            places.push_back(s.posVars.area.x);
    }
    // The level throbs between the minimum and the alpha level; each completed throb
    // picks a new place.
    EXPECT_NEAR(0.2f, low, 0.02f);
    EXPECT_NEAR(0.8f, high, 0.02f);
    EXPECT_GE(places.size(), 3u);
    // Drawn alpha: level x throb level x the factor asked for.
    int expected = (int)(255.0f * 0.8f * s.alphaVars.throbLevel * 0.5f);
    recorder->Clear();
    picture.DrawWithAlpha(0.5f);
    auto draws = rendertest::Draws(recorder);
    ASSERT_EQ(1u, draws.size());
    EXPECT_NEAR(expected, (int)(rendertest::VertexColour(draws[0], 0, 12) >> 24), 1);
}
