// The on-screen keyboard's layouts: built only on a large-screen device, with the eight
// widgets of each layout, and the phone's portrait one for Normal and unknown layouts.
#include "KeyInput.h"
#include "ScreensFixture.h"

namespace
{

class KeyInputTest : public screenstest::ScreensFixture
{
protected:
    void TearDown() override
    {
        MWinSetDeviceClass(MWIN_DEVICE_DESKTOP);
        ScreensFixture::TearDown();
    }

    // Builds the window of `layout` and answers the text line's area.
    _Dimension BuildText(int layout)
    {
        MWinCollection *collection = mwin->GetDesktop()->AddCollection("KeyInputLayout");
        EXPECT_NE(controller.AddMainWinWindowToCollection(collection, layout), nullptr) << LogText();
        _Dimension area = {};
        if (KeyInputGetWidget(KEY_INPUT_TEXT))
            area = *KeyInputGetWidget(KEY_INPUT_TEXT)->GetAreaP();
        mwin->GetDesktop()->RemoveCollection("KeyInputLayout");
        controller.ClearButtonPointers();
        return area;
    }

    KeyInputCollectionController controller;
};

TEST_F(KeyInputTest, NeverBuiltOnTheDesktop)
{
    EXPECT_FALSE(controller.CreateCollection(mwin));
    EXPECT_TRUE(LogHas("Not mobile."));
    EXPECT_EQ(KeyInputGetWindow(), nullptr);
}

TEST_F(KeyInputTest, EachMobileLayoutHasTheEightWidgetsInItsOwnPlace)
{
    // The desktop's own layout (Normal) builds the phone's portrait one.
    MWinSetDeviceClass(MWIN_DEVICE_LARGE_SCREEN);
    ASSERT_TRUE(controller.CreateCollection(mwin)) << LogText();
    const char *ids[] = {"Bg", "Title", "Message", "Text", "KeysBack", "Done", "Shift", "Del"};
    for (int i = 0; i < KEY_INPUT_NUM_WIDGETS; i++)
    {
        ASSERT_NE(KeyInputGetWidget(i), nullptr) << ids[i];
        EXPECT_STREQ(KeyInputGetWidget(i)->GetID(), ids[i]);
    }
    EXPECT_STREQ(KeyInputGetWidget(KEY_INPUT_DEL)->GetTextP(), "Delete");
    const _Dimension keys = *KeyInputGetWidget(KEY_INPUT_KEYS_BACK)->GetAreaP();
    EXPECT_EQ(keys.x, 40);
    EXPECT_EQ(keys.y, 140);
    EXPECT_EQ(keys.w, 560);
    EXPECT_EQ(keys.h, 280);
    mwin->GetDesktop()->RemoveAllCollections();
    controller.ClearButtonPointers();

    const _Dimension portrait = BuildText(SCREEN_LAYOUT_IPHONE_PORTRAIT);
    for (int layout : {(int)SCREEN_LAYOUT_NORMAL, 9})
    {
        SCOPED_TRACE(layout);
        _Dimension area = BuildText(layout);
        EXPECT_EQ(area.y, portrait.y);
        EXPECT_EQ(area.h, portrait.h);
    }
    for (int layout :
         {(int)SCREEN_LAYOUT_IPHONE_LANDSCAPE, (int)SCREEN_LAYOUT_IPAD_PORTRAIT, (int)SCREEN_LAYOUT_IPAD_LANDSCAPE})
    {
        SCOPED_TRACE(layout);
        _Dimension area = BuildText(layout);
        EXPECT_TRUE(area.y != portrait.y || area.x != portrait.x);
    }
}

} // namespace
