// The screens' headless fixture: the game's registry and GUI set-up over a player
// "Tester" on the main menu, with the program's side recorded by ProgramDouble.
#pragma once
#include <string>
#include <vector>

#include "AppHooks.h"
#include "EngEncryption.h"
#include "EngPrefFolder.h"
#include "GuiFixture.h"
#include "Play.h"
#include "Plinx.h"
#include "PlinxMWinSetup.h"
#include "PlinxScreens.h"
#include "Resolution.h"
#include "ScreensHost.h"
#include "User.h"

namespace screenstest
{

// The program's side as the main menu reaches it through the rules' table.
struct ProgramDouble
{
    static std::vector<std::string> &Calls()
    {
        static std::vector<std::string> calls;
        return calls;
    }
    static void GoFromMenusToGame(GameSwitchCallback callback, char now)
    {
        Calls().push_back(now ? "game now" : "game after fade");
    }
    static void GotoMenuScreen(ScreenId screen)
    {
        char name[5] = {(char)(screen >> 24), (char)(screen >> 16), (char)(screen >> 8), (char)screen, 0};
        Calls().push_back(std::string("menu ") + name);
    }
    static bool &GuiOn()
    {
        static bool on = true;
        return on;
    }
    static bool IsGuiOn() { return GuiOn(); }
    // The program's save of the player: working options into the record, then the file.
    static void SaveUser(char warn)
    {
        Calls().push_back(warn ? "save, warn" : "save");
        UserStoreWorkingOptions(GameGetUser());
        GameGetUser()->Save(1);
    }
};

class ScreensFixture : public guitest::GuiTest
{
protected:
    // The rules' table as a test hands it over; a test adds what its screens need.
    virtual void FillHooks(_AppHooks *hooks) {}

    void SetUp() override
    {
        GuiTest::SetUp();
        folder = new testkit::WorkingFolder(std::string(PLINX_DATA_DIR) + "/..");
        ASSERT_TRUE(folder->Entered());
        ProgramDouble::Calls().clear();
        ProgramDouble::GuiOn() = true;
        PrefFolderSetup("Plinx", false, nullptr, false);
        _AppHooks hooks = {};
        hooks.goFromMenusToGame = ProgramDouble::GoFromMenusToGame;
        hooks.isGuiOn = ProgramDouble::IsGuiOn;
        FillHooks(&hooks);
        AppSetHooks(&hooks);
        _ScreensHost host = {ProgramDouble::SaveUser};
        ScreensSetHost(&host);
        ResolutionSetup(2, 0, 2.42f, 2.2f, nullptr, false, true, true, false, false, nullptr, 0, 0);
        ResolutionSetDefaults();
        ASSERT_TRUE(PlaySetup());
        ASSERT_TRUE(PlinxMWinSetupTexturesAndTexButs(mwin)) << LogText();
        ASSERT_TRUE(EngEncryptionInit("TEST_KEY_ABCD"));
        ModulesSetupInfo modules = {};
        modules.userFileEncryption = USER_FILE_ENCRYPTED_OR_PLAIN;
        ASSERT_TRUE(ModulesSetup(&modules, nullptr));
        user = new UserClass(nullptr, "Tester", 1);
        GameSetUser(user);
        ASSERT_TRUE(user->CreateNewUser("Tester", "NO", 0));
        ASSERT_TRUE(user->Save(1));
        UserInfoAfterUserCreatedOrLoaded(user);
        registry = new PlinxScreens(mwin);
        ASSERT_TRUE(registry->SetupAllScreens());
        ASSERT_TRUE(registry->StartScreen(plinx_screen_select, -1));
        ASSERT_EQ(registry->GetCurrentScreen(), plinx_screen_select);
    }

    void TearDown() override
    {
        if (registry)
            registry->End(-1);
        delete registry;
        GameSetUser(nullptr);
        delete user;
        ModulesShutdown();
        PlayShutdown();
        ResolutionShutdown();
        AppSetHooks(nullptr);
        ScreensSetHost(nullptr);
        PrefFolderShutdown();
        delete folder;
        GuiTest::TearDown();
    }

    testkit::WorkingFolder *folder = nullptr;
    UserClass *user = nullptr;
    PlinxScreens *registry = nullptr;
};

} // namespace screenstest
