// Fixture of the profile screen tests: a GUI root over a device on the recording
// executor, the English texts, the game's font as "Main", and a screen registry holding
// the profile screens and a stand-in main menu ('SLCT') that the after-load hook goes
// to, as the program's does. Presses are mouse clicks on the button's centre, delivered
// by the next tick of the screen stack.
#pragma once
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "AppHooks.h"
#include "Country.h"
#include "EngDebug.h"
#include "EngFont.h"
#include "EngGlobals.h"
#include "EngLanguages.h"
#include "EngPrefFolder.h"
#include "MWin.h"
#include "RenderTestkit.h"
#include "User.h"
#include "UserList.h"
#include "UserNewCC.h"
#include "UserScreens.h"

namespace profilestest
{

const ScreenId MAIN_MENU = EngFourCC("SLCT");

// The main menu's stand-in: an empty screen.
class MenuController : public MWinCollectionController
{
public:
    bool CreateCollection(MWin *mwin) override { return mwin->GetDesktop()->AddCollection("Select") != nullptr; }
};

class TestRegistry : public MWinScreens
{
public:
    explicit TestRegistry(MWin *mwin) : MWinScreens(mwin, false)
    {
        users = new UserScreens(this);
        menu.SetScreens(this);
    }
    ~TestRegistry() override
    {
        RemoveAllScreens();
        delete users;
    }
    bool SetupScreens() override
    {
        bool ok = AddScreen(MAIN_MENU, &menu);
        ok = users->AddScreens(true) && ok;
        users->SetCurrentToFirstScreen();
        return ok;
    }
    void PreChanging() override
    {
        users->ClearAllButtonPointers();
        GetMWin()->GetDesktop()->RemoveAllCollections();
    }
    void PostChanging(ScreenId current) override { GetMWin()->ButtonsChanged(); }

    UserScreens *users;
    MenuController menu;
};

// What every profile screen test sets up around the screens: a locale naming France,
// the per-user folder, the English texts, plain player files, the program's hooks (the
// last player's name kept here; a created or loaded player counted and taken on to the
// main menu) and the country module.
class ProfilesEnvironment
{
public:
    void SetUp()
    {
        for (int i = 0; i < 4; i++)
        {
            const char *value = getenv(LOCALE_NAMES[i]);
            had[i] = value != nullptr;
            saved[i] = value ? value : "";
            unsetenv(LOCALE_NAMES[i]);
        }
        setenv("LANG", "fr_FR.UTF-8", 1);
        PrefFolderSetup("Plinx", false, nullptr, false);
        ASSERT_TRUE(EngLanguagesInit(PLINX_DATA_DIR "/Common/CommonTexts", "English", true));
        EngLanguagesInitFinished();
        ModulesSetupInfo info = {};
        info.userFileEncryption = USER_FILE_PLAIN;
        info.languageFlag = 1;
        ModulesSetup(&info, nullptr);
        LastName().clear();
        AfterLoads() = 0;
        _AppHooks hooks = {};
        hooks.getLastPlayerName = [] { return LastName().c_str(); };
        hooks.setLastPlayerName = [](const char *name) { LastName() = name ? name : ""; };
        hooks.clearUserNameList = UserListClear;
        hooks.afterUserCreatedOrLoaded = [] {
            AfterLoads()++;
            if (Registry())
                Registry()->GotoScreen(MAIN_MENU, nullptr);
        };
        AppSetHooks(&hooks);
        CountrySetup(0, 0, nullptr, nullptr, 0, 0);
        UserNewCC::ResetProposeLoginName();
    }
    // The screens, the player object and the registry on `mwin` (started).
    void MakeScreens(MWin *mwin)
    {
        user = new UserClass(nullptr, "Plinx", 1);
        GameSetUser(user);
        Registry() = new TestRegistry(mwin);
        ASSERT_TRUE(Registry()->SetupAllScreens());
    }
    void DeleteScreens()
    {
        delete Registry();
        Registry() = nullptr;
        GameSetUser(nullptr);
        delete user;
        user = nullptr;
    }
    void TearDown()
    {
        CountryShutdown();
        UserListClear();
        AppSetHooks(nullptr);
        ModulesShutdown();
        EngLanguagesFreeAll();
        PrefFolderShutdown();
        for (int i = 0; i < 4; i++)
        {
            if (had[i])
                setenv(LOCALE_NAMES[i], saved[i].c_str(), 1);
            else
                unsetenv(LOCALE_NAMES[i]);
        }
    }

    static TestRegistry *&Registry()
    {
        static TestRegistry *registry = nullptr;
        return registry;
    }
    static std::string &LastName()
    {
        static std::string name;
        return name;
    }
    static int &AfterLoads()
    {
        static int count = 0;
        return count;
    }
    // The "Users" folder, made when missing.
    static std::string UsersFolder() { return UserGetUsersFolder(1); }
    static std::string UserFile(const std::string &name) { return UsersFolder() + "/" + name + ".usr"; }
    // A saved player `name` of `country`, with its always-load byte.
    static void MakePlayer(const char *name, const char *country = "GB", bool alwaysLoad = false)
    {
        UserClass maker(nullptr, nullptr, 0);
        ASSERT_TRUE(maker.CreateNewUser(name, country, 0));
        maker.GetOptions()->alwaysLoad = alwaysLoad ? 1 : 0;
        ASSERT_TRUE(maker.Save(1));
    }

    UserClass *user = nullptr;

private:
    static constexpr const char *LOCALE_NAMES[4] = {"LC_ALL", "LC_ADDRESS", "LC_MESSAGES", "LANG"};
    std::string saved[4];
    bool had[4] = {};
};

class ProfilesScreensTest : public rendertest::RenderTest
{
protected:
    void SetUp() override
    {
        RenderTest::SetUp();
        environment.SetUp();
        // The recording device of 640 x 480 is the render test's own.
        EngScreenSettings.widthCorrection = 1.0f;
        EngScreenSettings.heightCorrection = 1.0f;
        MWinSetHost(nullptr);
        mwin = new MWin(nullptr);
        ASSERT_EQ(1, font.CreateFromFontFile(rendertest::VeraBoldPath().c_str(), 0, 0, 16, 32, 255, nullptr, 0,
                                             72.0f / 150.0f, 72.0f / 150.0f, 0, 0, 0, 0, 0, 0, 1));
        ASSERT_EQ(0, mwin->GetFonts()->AddUserFontPointer("Main", &font));
        ASSERT_TRUE(mwin->Startup());
        environment.MakeScreens(mwin);
        user = environment.user;
    }

    void TearDown() override
    {
        environment.DeleteScreens();
        delete mwin;
        mwin = nullptr;
        font.Destroy();
        MWinSetHost(nullptr);
        environment.TearDown();
        RenderTest::TearDown();
    }

    static TestRegistry *&Registry() { return ProfilesEnvironment::Registry(); }
    static std::string &LastName() { return ProfilesEnvironment::LastName(); }
    static int &AfterLoads() { return ProfilesEnvironment::AfterLoads(); }
    std::string UsersFolder() const { return ProfilesEnvironment::UsersFolder(); }
    std::string UserFile(const std::string &name) const { return ProfilesEnvironment::UserFile(name); }
    void MakePlayer(const char *name, const char *country = "GB", bool alwaysLoad = false)
    {
        ProfilesEnvironment::MakePlayer(name, country, alwaysLoad);
    }

    // Starts the stack on the players screen (or `id`).
    void Start(ScreenId id = 0)
    {
        ASSERT_TRUE(Registry()->StartScreen(id ? id : UserScreensGetFirstScreenId(), 0));
    }
    ScreenId Current() { return Registry()->GetCurrentScreen(); }
    // One frame of the stack: the screen's tick, then the GUI's (which delivers a press).
    void Tick() { Registry()->Tick(); }
    // A click on the button's centre, delivered by the next tick.
    void Click(MWinButton *button)
    {
        ASSERT_NE(button, nullptr);
        const _Dimension *area = button->GetScreenAreaP();
        mwin->HandleMouseMoveDesign(area->x + area->w / 2, area->y + area->h / 2);
        mwin->HandleInput(MWIN_INPUT_BUTTON, 0, 1);
        mwin->HandleInput(MWIN_INPUT_BUTTON, 0, 0);
        Tick();
    }
    void Key(int vk)
    {
        EngKeyStates[vk & 255] = 2;
        mwin->HandleInput(MWIN_INPUT_KEY_DOWN, vk, 0);
        EngKeyStates[vk & 255] = 0;
        Tick();
    }
    void Type(const std::string &text)
    {
        for (char c : text)
            mwin->HandleInput(MWIN_INPUT_CHARACTER, (unsigned char)c, 0);
    }
    MWinButton *PopupButton(const char *id) { return mwin->PopupGetButton(id); }
    std::string PopupMessage()
    {
        MWinButton *message = mwin->PopupGetButton("MSG");
        return message && message->GetTextP() ? message->GetTextP() : "";
    }
    bool Visible(MWinButton *button) { return button && button->IsVisible(); }
    bool Enabled(MWinButton *button) { return button && button->IsEnabled(); }
    std::string Text(MWinButton *button) { return button && button->GetTextP() ? button->GetTextP() : ""; }

    ProfilesEnvironment environment;
    MWin *mwin = nullptr;
    EngFont font;
    UserClass *user = nullptr;
};

} // namespace profilestest
