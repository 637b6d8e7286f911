// The splash picture "Data/Splash.ttx" under the game's texture-file overwrite: the
// program replaces none of its layers, so each loads from its own file.
#include "AppHooks.h"
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
    EngPicture picture;
    ASSERT_TRUE(picture.LoadFromFile("Data", "Splash", true, false)) << LogText();
    EXPECT_FALSE(LogHas("No file returned")) << LogText();
    picture.Destroy();
}

} // namespace
