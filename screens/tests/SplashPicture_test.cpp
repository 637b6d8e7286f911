// The splash picture "Data/Splash.ttx" under the game's texture-file overwrite: the
// program replaces none of its layers, so each loads from its own file, and every stage
// carries every value the loader reads.
#include "AppHooks.h"
#include "EngDebug.h"
#include "EngPicture.h"
#include "ScreensFixture.h"
#include "User.h"

namespace
{

class SplashPictureTest : public screenstest::ScreensFixture
{
protected:
    void FillHooks(_AppHooks *hooks) override
    {
        hooks->registerPictureHook = [](ModulesTextureOverwriteFn hook) { EngPictureSetTextureFileOverwriteCB(hook); };
    }

    void TearDown() override
    {
        EngPictureSetTextureFileOverwriteCB(nullptr);
        ScreensFixture::TearDown();
    }
};

TEST_F(SplashPictureTest, EveryLayerLoadsWhenTheProgramReplacesNone)
{
    // The program's item callback: no replacement for any picture.
    ModulesSetup(nullptr, [](int item) -> const char * { return nullptr; });
    ModulesSetupEngPictureTextureFileOverwrite(nullptr);
    const int before = DebugGetNumMessages();
    EngPicture picture;
    ASSERT_TRUE(picture.LoadFromFile("Data", "Splash", true, false)) << LogText();
    // The description is whole: no layer lacks a value, no file goes unanswered.
    EXPECT_EQ(DebugGetNumMessages(), before) << LogText();
    picture.Destroy();
}

} // namespace
