// The texture registry: textures and texture buttons with their limits, the standard
// slots, colour multipliers, and the cuts a texture button draws (one, three or nine
// quads with their texture coordinates).
#include "GuiFixture.h"

#include <string>

#include "EngTexture.h"

namespace
{
class MWinTexturesTest : public guitest::GuiTest
{
protected:
    MWinTextures *Tex() { return mwin->GetTextures(); }

    _MWinTextureButton *AddButton(const char *id, const char *hoverTexture = "Sheet")
    {
        return Tex()->AddTextureButton(id, "Sheet", 0.5f, 0.5f, 1.0f, 1.0f, hoverTexture, 0, 0, 0.5f, 0.5f, "", 0, 0, 0,
                                       0, "", 0, 0, 0, 0);
    }

    // Each recorded quad as left, top, right, bottom (design units) and u1, v1, u2, v2.
    struct Quad
    {
        float left, top, right, bottom, u1, v1, u2, v2;
    };
    std::vector<Quad> Quads()
    {
        std::vector<Quad> quads;
        for (const PlatD3dRecord *draw : rendertest::Draws(recorder))
        {
            int floats = (int)draw->c / 4;
            std::vector<float> tl = rendertest::VertexFloats(draw, 1, floats);
            std::vector<float> br = rendertest::VertexFloats(draw, 2, floats);
            quads.push_back({(tl[0] + 1) * 320, (1 - tl[1]) * 240, (br[0] + 1) * 320, (1 - br[1]) * 240,
                             tl[floats - 2], tl[floats - 1], br[floats - 2], br[floats - 1]});
        }
        return quads;
    }
};

TEST_F(MWinTexturesTest, LimitsOfTheTables)
{
    rendertest::LogMark();
    EXPECT_FALSE(Tex()->AddTexture("Missing", home->File("none.tga").c_str(), 0, 0));
    EXPECT_EQ(1, rendertest::CountLog("File does not exist"));
    EXPECT_FALSE(Tex()->AddTexture("Empty", "", 0, 0));
    EXPECT_FALSE(Tex()->AddTexture("Long", std::string(256, 'a').c_str(), 0, 0));
    for (int i = Tex()->GetNumTextures(); i < MWIN_MAX_TEXTURES; i++)
        ASSERT_TRUE(Tex()->AddTexture(("T" + std::to_string(i)).c_str(), sheetPath.c_str(), 0, 0));
    EXPECT_FALSE(Tex()->AddTexture("T65", sheetPath.c_str(), 0, 0));
    EXPECT_EQ(1, rendertest::CountLog("Too many textures"));

    EXPECT_EQ(nullptr, AddButton("StdPushButton"));
    EXPECT_EQ(1, rendertest::CountLog("Texture button alread exits <StdPushButton>"));
    // A state naming an unknown texture stays empty; the button is still added.
    _MWinTextureButton *partial = AddButton("Partial", "Unknown");
    ASSERT_NE(nullptr, partial);
    EXPECT_EQ(-1, partial->states[1].texture);
    for (int i = Tex()->GetNumTexButs(); i < MWIN_MAX_TEXTURE_BUTTONS; i++)
        ASSERT_NE(nullptr, AddButton(("B" + std::to_string(i)).c_str()));
    EXPECT_EQ(nullptr, AddButton("B257"));
    EXPECT_EQ(1, rendertest::CountLog("Too many texture buttons"));
}

TEST_F(MWinTexturesTest, StandardSlots)
{
    int push = Tex()->GetStandardTexButNum(MWIN_STD_PUSH_BUTTON);
    EXPECT_EQ(0, push);
    EXPECT_EQ(-1, Tex()->GetStandardTexButNum(MWIN_STD_NONE_4));
    rendertest::LogMark();
    EXPECT_EQ(-1, Tex()->GetStandardTexButNum(34));
    EXPECT_EQ(1, rendertest::CountLog("Invalid standard texbut num: 34"));
    EXPECT_FALSE(Tex()->SetStandardTextureToTexBut(-1, "StdPushButton"));
    EXPECT_FALSE(Tex()->SetStandardTextureToTexBut(3, "Nothing"));
    EXPECT_TRUE(Tex()->SetStandardTextureToTexBut(3, "StdPushButton"));
    EXPECT_EQ(push, Tex()->GetStandardTexButNum(3));
    // Removing makes the record anonymous: its id can be added again as a new record,
    // and the old one still counts.
    EXPECT_EQ(1, Tex()->RemoveStandardTextureButton(MWIN_STD_PUSH_BUTTON));
    EXPECT_EQ(0, Tex()->RemoveStandardTextureButton(MWIN_STD_PUSH_BUTTON));
    EXPECT_EQ(-1, Tex()->RemoveStandardTextureButton(40));
    EXPECT_EQ(-1, Tex()->GetTexButNum("StdPushButton"));
    ASSERT_NE(nullptr, AddButton("StdPushButton"));
    EXPECT_EQ(2, Tex()->GetNumTexButs());
    EXPECT_EQ(1, Tex()->GetTexButNum("StdPushButton"));
    EXPECT_TRUE(Tex()->SetStandardTextureToTexBut(MWIN_STD_PUSH_BUTTON, ""));
    EXPECT_EQ(nullptr, Tex()->GetStandardTexButID(MWIN_STD_PUSH_BUTTON));
}

TEST_F(MWinTexturesTest, CutsOfATextureButton)
{
    ASSERT_NE(nullptr, Tex()->AddTextureButton("Bar", "Sheet", 0.0f, 0.5f, 0.5f, 1.0f, "", 0, 0, 0, 0, "", 0, 0, 0, 0,
                                               "", 0, 0, 0, 0));
    int bar = Tex()->GetTexButNum("Bar");
    struct Row
    {
        const char *name;
        int styleX, styleY;
        float capX, capY, w, h;
        std::vector<Quad> quads;
    };
    const Row rows[] = {
        {"one piece", 1, 1, 16, 16, 100, 40, {{100, 100, 200, 140, 0, 0.5f, 0.5f, 1}}},
        {"three across",
         2,
         1,
         16,
         16,
         100,
         40,
         {{100, 100, 116, 140, 0, 0.5f, 0.125f, 1},
          {116, 100, 184, 140, 0.125f, 0.5f, 0.375f, 1},
          {184, 100, 200, 140, 0.375f, 0.5f, 0.5f, 1}}},
        {"too narrow to split", 2, 1, 16, 16, 32, 40, {{100, 100, 132, 140, 0, 0.5f, 0.5f, 1}}},
        {"three down (caps a third taller)",
         1,
         2,
         16,
         5,
         100,
         40,
         {{100, 100, 200, 106.666665f, 0, 0.5f, 0.5f, 0.5f + 0.5f * 0.25f},
          {100, 106.666665f, 200, 133.333335f, 0, 0.625f, 0.5f, 0.875f},
          {100, 133.333335f, 200, 140, 0, 0.875f, 0.5f, 1}}},
    };
    for (const Row &row : rows)
    {
        SCOPED_TRACE(row.name);
        Tex()->SetTexButDrawStyle("Bar", row.styleX, 0.25f, row.capX, row.styleY, 0.25f, row.capY);
        recorder->Clear();
        ASSERT_TRUE(Tex()->DrawTexBut(bar, MWIN_TEXSTATE_NORMAL, 100, 100, row.w, row.h, nullptr));
        std::vector<Quad> quads = Quads();
        ASSERT_EQ(row.quads.size(), quads.size());
        for (size_t i = 0; i < quads.size(); i++)
        {
            SCOPED_TRACE(i);
            EXPECT_NEAR(row.quads[i].left, quads[i].left, 1e-3);
            EXPECT_NEAR(row.quads[i].top, quads[i].top, 1e-3);
            EXPECT_NEAR(row.quads[i].right, quads[i].right, 1e-3);
            EXPECT_NEAR(row.quads[i].bottom, quads[i].bottom, 1e-3);
            EXPECT_NEAR(row.quads[i].u1, quads[i].u1, 1e-5);
            EXPECT_NEAR(row.quads[i].v1, quads[i].v1, 1e-5);
            EXPECT_NEAR(row.quads[i].u2, quads[i].u2, 1e-5);
            EXPECT_NEAR(row.quads[i].v2, quads[i].v2, 1e-5);
        }
    }
    // Both axes split: nine quads, row by row.
    Tex()->SetTexButDrawStyle("Bar", 2, 0.25f, 16, 2, 0.25f, 5);
    recorder->Clear();
    Tex()->DrawTexBut(bar, MWIN_TEXSTATE_NORMAL, 100, 100, 100, 40, nullptr);
    std::vector<Quad> nine = Quads();
    ASSERT_EQ(9u, nine.size());
    EXPECT_NEAR(184, nine[2].left, 1e-3);
    EXPECT_NEAR(133.333335f, nine[6].top, 1e-3);
    // Draw extra widens half on each side, raises the top and lengthens the bottom.
    Tex()->SetTexButDrawStyle("Bar", 1, 0, 16, 1, 0, 16);
    Tex()->SetTexButDrawExtra("Bar", 10, 4, 6);
    recorder->Clear();
    Tex()->DrawTexBut(bar, MWIN_TEXSTATE_NORMAL, 100, 100, 100, 40, nullptr);
    Quad extra = Quads()[0];
    EXPECT_NEAR(95, extra.left, 1e-3);
    EXPECT_NEAR(96, extra.top, 1e-3);
    EXPECT_NEAR(205, extra.right, 1e-3);
    EXPECT_NEAR(146, extra.bottom, 1e-3);
}

TEST_F(MWinTexturesTest, StatesAndColours)
{
    int push = Tex()->GetStandardTexButNum(MWIN_STD_PUSH_BUTTON);
    ASSERT_NE(nullptr, Tex()->AddTextureButton("HoverLess", "Sheet", 0, 0, 0.25f, 0.25f, "", 0, 0, 0, 0, "", 0, 0, 0,
                                               0, "", 0, 0, 0, 0));
    struct Row
    {
        const char *id;
        int state;
        float u1;
    };
    // The pressed state of the push button has its own cut; a state without texture
    // draws the normal one.
    const Row rows[] = {{"StdPushButton", MWIN_TEXSTATE_PRESSED, 0.5f}, {"HoverLess", MWIN_TEXSTATE_HOVER, 0.0f}};
    for (const Row &row : rows)
    {
        SCOPED_TRACE(row.id);
        recorder->Clear();
        ASSERT_TRUE(Tex()->DrawTexBut(Tex()->GetTexButNum(row.id), row.state, 10, 10, 50, 20, nullptr));
        ASSERT_EQ(1u, Quads().size());
        EXPECT_FLOAT_EQ(row.u1, Quads()[0].u1);
    }
    // Caller colour times the state's multiplier; a multiplier of alpha 0 switches it off.
    EXPECT_TRUE(Tex()->SetTextureButtonStateColourMultiplierRGBA("StdPushButton", 0, 1.0f, 0.5f, 0.0f, 1.0f));
    const float half[4] = {1, 1, 1, 0.5f};
    recorder->Clear();
    Tex()->DrawTexBut(push, 0, 10, 10, 50, 20, half);
    EXPECT_EQ(0x7FFF7F00u, rendertest::VertexColour(rendertest::Draws(recorder)[0], 0, 12));
    EXPECT_TRUE(Tex()->SetTextureButtonStateColourMultiplierRGBA("StdPushButton", 0, 1.0f, 0.5f, 0.0f, 0.0f));
    recorder->Clear();
    Tex()->DrawTexBut(push, 0, 10, 10, 50, 20, half);
    EXPECT_EQ(0x7FFFFFFFu, rendertest::VertexColour(rendertest::Draws(recorder)[0], 0, 12));
    rendertest::LogMark();
    EXPECT_FALSE(Tex()->SetTextureButtonStateColourMultiplierRGBA("Nope", 0, 1, 1, 1, 1));
    EXPECT_EQ(1, rendertest::CountLog("Unknown texbut ID <Nope>"));
    // Nothing is drawn for a bad index or after the textures are released.
    EXPECT_FALSE(Tex()->DrawTexBut(99, 0, 0, 0, 10, 10, nullptr));
    Tex()->DestroyTextures();
    EXPECT_FALSE(Tex()->DrawTexBut(push, 0, 0, 0, 10, 10, nullptr));
    EXPECT_TRUE(Tex()->CreateTextures());
}
} // namespace
