// The profile screens driven as a player drives them: each button leads where it
// should, names and countries are checked, and players are created, continued, loaded,
// reset and deleted on disk. The faults mended here are tested where they live: an
// automatic continue that fails brings the whole screen back, Escape on the failed-load
// popup never deletes, a new player never takes an existing player's file.
#include <gtest/gtest.h>

#include <string>

#include "CountryCC.h"
#include "EngMain.h"
#include "EngProgram.h"
#include "PlatShell.h"
#include "Resolution.h"
#include "ProfilesScreensTestkit.h"
#include "UserLoadCC.h"
#include "UserSelectCC.h"
#include "UsersCC.h"

using profilestest::MAIN_MENU;
using profilestest::ProfilesScreensTest;

namespace
{

class ProfileScreensTest : public ProfilesScreensTest
{
protected:
    void SetUp() override
    {
        ProfilesScreensTest::SetUp();
        PlatShellFunctions shell = {nullptr, nullptr, LoginName};
        PlatShellSetFunctions(&shell);
    }
    void TearDown() override
    {
        PlatShellSetFunctions(nullptr);
        ProfilesScreensTest::TearDown();
    }
    static bool LoginName(char *out, size_t size)
    {
        snprintf(out, size, "%s", Login().c_str());
        return true;
    }
    static std::string &Login()
    {
        static std::string login;
        return login;
    }
    MWinButton *Users(int widget) { return UsersGetWidget(widget); }
    MWinButton *New(int widget) { return UserNewGetWidget(widget); }
    MWinButton *Load(int widget) { return UserLoadGetWidget(widget); }
    UserNewCC *NewScreen() { return Registry()->users->GetUserNewCC(); }
    // Ticks until the name typed in the popup has been checked.
    void TickUntilNameChecked()
    {
        for (int i = 0; i < 10 && NewScreen()->GetValidationCountdown() > 0; i++)
            Tick();
    }
    // Cancels the open name popup: the first click only ends the editing.
    void CancelNamePopup()
    {
        for (int i = 0; i < 2 && mwin->IsPopupOn(); i++)
            Click(PopupButton("CANCEL"));
        EXPECT_FALSE(mwin->IsPopupOn());
    }
    // Types `name` into the open name popup and ends it with Enter.
    void EnterName(const std::string &name)
    {
        ASSERT_TRUE(mwin->IsPopupOn());
        Type(name);
        Key(13);
        EXPECT_FALSE(mwin->IsPopupOn());
    }
};

} // namespace

TEST_F(ProfileScreensTest, ThePlayersScreenWithoutPlayers)
{
    Start();
    EXPECT_EQ(Current(), user_screen_users);
    EXPECT_TRUE(Visible(Users(USERS_NEW)));
    EXPECT_TRUE(Visible(Users(USERS_EXIT)));
    EXPECT_TRUE(Visible(Users(USERS_MANAGE)));
    EXPECT_FALSE(Enabled(Users(USERS_MANAGE)));
    for (int hidden : {USERS_CONTINUE, USERS_ALWAYS_LOAD, USERS_IMPORT, USERS_DEVICE, USERS_LOAD_PROGRESS,
                       USERS_LANG_FLAG}) // one language only: no language button
        EXPECT_FALSE(Visible(Users(hidden))) << hidden;
    EXPECT_EQ(Text(Users(USERS_NEW)), "New Player");

    // New leads to the new-player screen, whose Back (and Escape) comes back.
    Login() = "";
    Click(Users(USERS_NEW));
    EXPECT_EQ(Current(), user_screen_new);
    ASSERT_TRUE(mwin->IsPopupOn()) << "no login name: the name popup opens at once";
    CancelNamePopup();
    Click(New(USER_NEW_BACK));
    EXPECT_EQ(Current(), user_screen_users);
    Click(Users(USERS_NEW));
    Key(27);
    EXPECT_EQ(Current(), user_screen_users);

    // Exit ends the program without loading anyone.
    EngProgram program;
    Click(Users(USERS_EXIT));
    EXPECT_TRUE(EngMainIsQuitting());
    EXPECT_FALSE(user->IsLoaded());
    EXPECT_EQ(AfterLoads(), 0);
}

TEST_F(ProfileScreensTest, ContinueLoadsTheLastPlayerAndCanMakeHimLoadByHimself)
{
    MakePlayer("Ann", "DE");
    LastName() = "Ann";
    Start();
    EXPECT_TRUE(Visible(Users(USERS_CONTINUE)));
    EXPECT_EQ(Text(Users(USERS_CONTINUE)), "Continue Player: Ann");
    EXPECT_TRUE(Visible(Users(USERS_ALWAYS_LOAD)));
    EXPECT_TRUE(Enabled(Users(USERS_MANAGE)));

    Click(Users(USERS_ALWAYS_LOAD));
    EXPECT_EQ(Users(USERS_ALWAYS_LOAD)->CheckboxGet(), 1);
    Click(Users(USERS_CONTINUE));
    ASSERT_TRUE(user->IsLoaded());
    EXPECT_STREQ(user->GetInfo()->name, "Ann");
    EXPECT_STREQ(user->GetInfo()->country, "DE");
    EXPECT_EQ(user->GetOptions()->alwaysLoad, 1);
    EXPECT_EQ(AfterLoads(), 1);
    EXPECT_EQ(Current(), MAIN_MENU);

    // "Manage" leads to the load screen; a last player whose file is gone hides Continue.
    user->UnloadUser();
    LastName() = "Gone";
    ASSERT_TRUE(Registry()->GotoScreen(user_screen_users, nullptr));
    EXPECT_FALSE(Visible(Users(USERS_CONTINUE)));
    EXPECT_FALSE(Visible(Users(USERS_ALWAYS_LOAD)));
    Click(Users(USERS_MANAGE));
    EXPECT_EQ(Current(), user_screen_load);
}

TEST_F(ProfileScreensTest, AnAlwaysLoadedPlayerLoadsATenthOfASecondAfterTheStart)
{
    MakePlayer("Ann", "DE", true);
    LastName() = "Ann";
    EngFrameTiming.currentTime = 100.0;
    Start();
    for (int widget = 0; widget < USERS_NUM_WIDGETS; widget++)
        EXPECT_EQ(Visible(Users(widget)), widget == USERS_TITLE_PIC) << widget;
    Tick();
    EXPECT_FALSE(user->IsLoaded());
    EngFrameTiming.currentTime = 100.1;
    Tick();
    ASSERT_TRUE(user->IsLoaded());
    EXPECT_EQ(AfterLoads(), 1);
    EXPECT_EQ(Current(), MAIN_MENU);
}

TEST_F(ProfileScreensTest, AnAutomaticContinueThatFailsBringsTheScreenBackWithAMessage)
{
    MakePlayer("Ann", "DE", true);
    MakePlayer("Bob");
    LastName() = "Ann";
    EngFrameTiming.currentTime = 100.0;
    Start();
    ASSERT_FALSE(Visible(Users(USERS_NEW)));
    // The file goes bad between the start and the load.
    testkit::WriteFile(UserFile("Ann"), "damaged");
    EngFrameTiming.currentTime = 100.2;
    Tick();
    EXPECT_FALSE(user->IsLoaded());
    EXPECT_EQ(Current(), user_screen_users);
    for (int shown : {USERS_NEW, USERS_MANAGE, USERS_EXIT})
        EXPECT_TRUE(Visible(Users(shown))) << shown;
    EXPECT_TRUE(Enabled(Users(USERS_MANAGE)));
    EXPECT_FALSE(Visible(Users(USERS_CONTINUE)));
    EXPECT_EQ(Registry()->users->GetUsersCC()->GetAutoContinueTime(), 0);
    ASSERT_TRUE(mwin->IsPopupOn());
    EXPECT_NE(PopupMessage().find("Unable to load player."), std::string::npos);
    Click(PopupButton("OK"));
    // The load screen offers to reset or delete it.
    Click(Users(USERS_MANAGE));
    EXPECT_EQ(Current(), user_screen_load);
}

TEST_F(ProfileScreensTest, ANewPlayerFromTheLoginNameAndTheLocalCountry)
{
    Login() = "Tester";
    Start();
    Click(Users(USERS_NEW));
    ASSERT_EQ(Current(), user_screen_new);
    EXPECT_FALSE(mwin->IsPopupOn());
    EXPECT_EQ(Text(New(USER_NEW_NAME)), "Tester");
    EXPECT_EQ(Text(New(USER_NEW_COUNTRY)), "France");
    EXPECT_EQ(NewScreen()->GetCountryIndex(), 67);
    Click(New(USER_NEW_CONTINUE));
    ASSERT_TRUE(user->IsLoaded());
    EXPECT_STREQ(user->GetInfo()->name, "Tester");
    EXPECT_STREQ(user->GetInfo()->country, "FR");
    EXPECT_TRUE(testkit::FileExists(UserFile("Tester")));
    EXPECT_EQ(LastName(), "Tester");
    EXPECT_EQ(AfterLoads(), 1);
    EXPECT_EQ(Current(), MAIN_MENU);
}

TEST_F(ProfileScreensTest, TheNamePopupChecksTheNameFiveTicksAfterOK)
{
    MakePlayer("Ann");
    Login() = "";
    Start();
    Click(Users(USERS_NEW));

    // 19 characters are accepted.
    const std::string nineteen = "Nineteen Characters";
    ASSERT_EQ(nineteen.size(), 19u);
    EnterName(nineteen);
    EXPECT_EQ(NewScreen()->GetValidationCountdown(), 5);
    TickUntilNameChecked();
    EXPECT_EQ(Text(New(USER_NEW_NAME)), nineteen);

    // Cancel gives the name back.
    Click(New(USER_NEW_NAME));
    ASSERT_TRUE(mwin->IsPopupOn());
    Type("Other");
    CancelNamePopup();
    EXPECT_STREQ(NewScreen()->GetName(), nineteen.c_str());
    EXPECT_EQ(Text(New(USER_NEW_NAME)), nineteen);

    // A refused name and an existing player's name are cleared (after a timed notice).
    for (const char *refused : {"Sunset", "Ann"})
    {
        SCOPED_TRACE(refused);
        Click(New(USER_NEW_NAME));
        EnterName(refused);
        TickUntilNameChecked();
        EXPECT_STREQ(NewScreen()->GetName(), "");
        EXPECT_EQ(Text(New(USER_NEW_NAME)), "");
        EXPECT_FALSE(mwin->IsPopupOn());
    }
}

TEST_F(ProfileScreensTest, ContinueRefusesBadNamesTakenNamesAndNoCountry)
{
    Login() = "Ann";
    Start();
    Click(Users(USERS_NEW));
    ASSERT_EQ(Text(New(USER_NEW_NAME)), "Ann");
    // Another program run made "Ann" meanwhile: the new player does not take its file.
    MakePlayer("Ann", "US");
    const std::string before = testkit::ReadFile(UserFile("Ann"));
    Click(New(USER_NEW_CONTINUE));
    EXPECT_FALSE(user->IsLoaded());
    EXPECT_EQ(testkit::ReadFile(UserFile("Ann")), before);
    ASSERT_TRUE(mwin->IsPopupOn());
    EXPECT_EQ(PopupMessage(), "That user already exists");
    Click(PopupButton("OK"));

    // A name the rule refuses.
    Click(New(USER_NEW_NAME));
    EnterName("a_b");
    Click(New(USER_NEW_CONTINUE));
    ASSERT_TRUE(mwin->IsPopupOn());
    EXPECT_EQ(PopupMessage(), "Invalid Player Name");
    Click(PopupButton("OK"));
    EXPECT_FALSE(user->IsLoaded());
}

TEST_F(ProfileScreensTest, WithoutALocalCountryAPlayerNeedsAChosenOne)
{
    setenv("LANG", "C.UTF-8", 1);
    Login() = "Zed";
    Start();
    Click(Users(USERS_NEW));
    EXPECT_EQ(Text(New(USER_NEW_COUNTRY)), "(Unknown Country)");
    Click(New(USER_NEW_CONTINUE));
    ASSERT_TRUE(mwin->IsPopupOn());
    EXPECT_EQ(PopupMessage(), "Please select a country first");
    Click(PopupButton("OK"));
    EXPECT_FALSE(user->IsLoaded());

    // The country screen: nothing chosen yet, so Continue asks for a country.
    Click(New(USER_NEW_COUNTRY));
    ASSERT_EQ(Current(), country_screen);
    MWinButton *list = CountryGetWidget(COUNTRY_LIST);
    ASSERT_NE(list, nullptr);
    EXPECT_EQ(list->PanelGetNumRows(), 222);
    EXPECT_EQ(list->PanelGetPos(), -1);
    Click(CountryGetWidget(COUNTRY_CONTINUE));
    ASSERT_TRUE(mwin->IsPopupOn());
    Click(PopupButton("OK"));
    EXPECT_EQ(Current(), country_screen);
    // The first row is a country like any other.
    list->PanelSetPos(0, 0, 0);
    Click(CountryGetWidget(COUNTRY_CONTINUE));
    EXPECT_EQ(Current(), user_screen_new);
    EXPECT_EQ(Text(New(USER_NEW_COUNTRY)), "Afghanistan");
    Click(New(USER_NEW_CONTINUE));
    ASSERT_TRUE(user->IsLoaded());
    EXPECT_STREQ(user->GetInfo()->country, "AF");
}

TEST_F(ProfileScreensTest, TheCountryScreenStartsOnTheLocalCountry)
{
    Login() = "Zed";
    Start();
    Click(Users(USERS_NEW));
    Click(New(USER_NEW_COUNTRY));
    ASSERT_EQ(Current(), country_screen);
    MWinButton *list = CountryGetWidget(COUNTRY_LIST);
    EXPECT_EQ(list->PanelGetPos(), 67);
    EXPECT_EQ(list->PanelGetString(67), std::string("France"));
    EXPECT_EQ(Text(CountryGetWidget(COUNTRY_TITLE)), "SELECT YOUR COUNTRY");
    EXPECT_EQ(Text(CountryGetWidget(COUNTRY_NOTE)), "Your country is used for online scores.");
    // A row activated with Enter is confirmed at once.
    list->PanelSetPos(71, 0, 0);
    _MWinButtonCallbackInfo info = {};
    info.panelActivated = 1;
    EXPECT_TRUE(Registry()->users->GetCountryCC()->ControlCB(list, &info));
    EXPECT_EQ(Current(), user_screen_new);
    EXPECT_EQ(Text(New(USER_NEW_COUNTRY)), "Germany");
    EXPECT_STREQ(CountryGetNewPlayerCountryCode(), "DE");
}

TEST_F(ProfileScreensTest, TheLoadScreenLoadsAndDeletesPlayers)
{
    MakePlayer("Ann", "DE");
    MakePlayer("Bob", "US");
    Start();
    Click(Users(USERS_MANAGE));
    ASSERT_EQ(Current(), user_screen_load);
    MWinButton *panel = Load(USER_LOAD_PANEL);
    ASSERT_EQ(panel->PanelGetNumRows(), 2);
    EXPECT_EQ(panel->PanelGetString(0), std::string("Ann"));
    EXPECT_FALSE(Visible(Load(USER_LOAD_SETTINGS)));
    EXPECT_FALSE(Visible(Load(USER_LOAD_PROGRESS)));

    // Delete asks first; No keeps the player.
    panel->PanelSetPos(1, 0, 0);
    Click(Load(USER_LOAD_DELETE));
    ASSERT_TRUE(mwin->IsPopupOn());
    Click(PopupButton("CANCEL"));
    EXPECT_TRUE(testkit::FileExists(UserFile("Bob")));
    Click(Load(USER_LOAD_DELETE));
    Click(PopupButton("OK"));
    EXPECT_FALSE(testkit::FileExists(UserFile("Bob")));
    EXPECT_EQ(Load(USER_LOAD_PANEL)->PanelGetNumRows(), 1);

    // Deleting the only player leaves nothing to load or delete.
    Load(USER_LOAD_PANEL)->PanelSetPos(0, 0, 0);
    Click(Load(USER_LOAD_DELETE));
    Click(PopupButton("OK"));
    EXPECT_FALSE(testkit::FileExists(UserFile("Ann")));
    for (int widget : {USER_LOAD_PANEL, USER_LOAD_LOAD, USER_LOAD_DELETE})
        EXPECT_FALSE(Enabled(Load(widget))) << widget;
    Key(27);
    EXPECT_EQ(Current(), user_screen_users);
    EXPECT_FALSE(Enabled(Users(USERS_MANAGE)));
}

TEST_F(ProfileScreensTest, LoadingAPlayerGoesOnToTheMainMenu)
{
    MakePlayer("Ann", "DE");
    MakePlayer("Bob", "US");
    Start();
    Click(Users(USERS_MANAGE));
    Load(USER_LOAD_PANEL)->PanelSetPos(1, 0, 0);
    Click(Load(USER_LOAD_LOAD));
    ASSERT_TRUE(user->IsLoaded());
    EXPECT_STREQ(user->GetInfo()->name, "Bob");
    EXPECT_EQ(Current(), MAIN_MENU);
}

TEST_F(ProfileScreensTest, EscapeOnTheFailedLoadPopupNeverDeletes)
{
    MakePlayer("Ann");
    testkit::WriteFile(UserFile("Carl"), "an old player file");
    Login() = "";
    Start();
    Click(Users(USERS_MANAGE));
    MWinButton *panel = Load(USER_LOAD_PANEL);
    ASSERT_EQ(panel->PanelGetString(1), std::string("Carl"));
    panel->PanelSetPos(1, 0, 0);
    Click(Load(USER_LOAD_LOAD));
    ASSERT_TRUE(mwin->IsPopupOn());
    // Reset, Delete, Cancel from left to right; Delete is the third button.
    EXPECT_EQ(Text(PopupButton("OK")), "Reset");
    EXPECT_EQ(Text(PopupButton("NO")), "Delete");
    EXPECT_EQ(Text(PopupButton("CANCEL")), "Cancel");
    EXPECT_LT(PopupButton("OK")->GetScreenAreaP()->x, PopupButton("NO")->GetScreenAreaP()->x);
    EXPECT_LT(PopupButton("NO")->GetScreenAreaP()->x, PopupButton("CANCEL")->GetScreenAreaP()->x);
    Key(27);
    EXPECT_FALSE(mwin->IsPopupOn());
    EXPECT_TRUE(testkit::FileExists(UserFile("Carl")));
    // Enter neither resets nor deletes.
    Click(Load(USER_LOAD_LOAD));
    ASSERT_TRUE(mwin->IsPopupOn());
    Key(13);
    EXPECT_TRUE(mwin->IsPopupOn());
    EXPECT_TRUE(testkit::FileExists(UserFile("Carl")));

    // Delete removes it.
    Click(PopupButton("NO"));
    EXPECT_FALSE(testkit::FileExists(UserFile("Carl")));
    EXPECT_TRUE(testkit::FileExists(UserFile("Ann")));
    EXPECT_EQ(Load(USER_LOAD_PANEL)->PanelGetNumRows(), 1);
}

TEST_F(ProfileScreensTest, ResetMakesAFreshPlayerOfTheSameName)
{
    testkit::WriteFile(UserFile("Carl"), "an old player file");
    testkit::WriteFile(UsersFolder() + "/Carl.bak", "kept by a reset");
    Login() = "";
    Start();
    Click(Users(USERS_MANAGE));
    Load(USER_LOAD_PANEL)->PanelSetPos(0, 0, 0);
    Click(Load(USER_LOAD_LOAD));
    Click(PopupButton("OK"));
    ASSERT_TRUE(user->IsLoaded());
    EXPECT_STREQ(user->GetInfo()->name, "Carl");
    EXPECT_STREQ(user->GetInfo()->country, "FR");
    EXPECT_TRUE(testkit::FileExists(UsersFolder() + "/Carl.bak"));
    UserClass probe(nullptr, nullptr, 0);
    EXPECT_TRUE(probe.LoadUser("Carl", 1, nullptr, nullptr));
    EXPECT_EQ(Current(), MAIN_MENU);
}

TEST_F(ProfileScreensTest, AResetNeverCutsALongName)
{
    // 22 characters: listed, but no new player can carry the name, so nothing is deleted.
    const std::string name = "Twentytwo-characters-x";
    testkit::WriteFile(UserFile(name), "x");
    Start();
    Click(Users(USERS_MANAGE));
    ASSERT_EQ(Load(USER_LOAD_PANEL)->PanelGetString(0), name);
    Click(Load(USER_LOAD_LOAD));
    Click(PopupButton("OK"));
    EXPECT_TRUE(testkit::FileExists(UserFile(name)));
    EXPECT_FALSE(user->IsLoaded());
    EXPECT_EQ(Current(), user_screen_load);
    ASSERT_TRUE(mwin->IsPopupOn());
    EXPECT_EQ(PopupMessage(), "Unable to reset this player.");
    EXPECT_FALSE(NewScreen()->ResetAndLoadUser(nullptr));
    EXPECT_FALSE(NewScreen()->ResetAndLoadUser(name.c_str()));
}

TEST_F(ProfileScreensTest, TheSelectScreenListsAndLoadsByItself)
{
    MakePlayer("Ann", "DE", true);
    MakePlayer("Bob");
    LastName() = "Ann";
    EngFrameTiming.currentTime = 50.0;
    Start(user_screen_select);
    UserSelectCC *select = Registry()->users->GetUserSelectCC();
    MWinButton *panel = UserSelectGetWidget(USER_SELECT_PANEL);
    EXPECT_EQ(panel->PanelGetNumRows(), 2);
    EXPECT_EQ(panel->PanelGetPos(), 0);
    EXPECT_EQ(select->GetAutoLoadState(), 1);
    EXPECT_EQ(Text(UserSelectGetWidget(USER_SELECT_SEL_TEXT)), "Loading player Ann...");
    EngFrameTiming.currentTime = 50.1;
    Tick();
    EXPECT_EQ(select->GetAutoLoadState(), 2);
    Tick();
    ASSERT_TRUE(user->IsLoaded());
    EXPECT_EQ(Current(), MAIN_MENU);
    EXPECT_EQ(UserScreensGetFirstScreenId(), user_screen_users);
}

TEST_F(ProfileScreensTest, TheLanguagePopupSetsTheLanguageAndRemembersIt)
{
    Start();
    UsersControlLangCB(nullptr);
    EXPECT_TRUE(LogHas("Bad parameters."));
    ResolutionSettings *settings = ResolutionGetSettings();
    settings->languageName[0] = 0;
    settings->languageFlag = 0;
    UsersControlLangCB(mwin);
    ASSERT_TRUE(mwin->IsPopupOn());
    MWinButton *panel = PopupButton("PANEL");
    ASSERT_NE(panel, nullptr);
    EXPECT_EQ(panel->PanelGetNumRows(), 1);
    EXPECT_EQ(panel->PanelGetString(0), std::string("English"));
    Click(PopupButton("OK"));
    EXPECT_FALSE(mwin->IsPopupOn());
    EXPECT_STREQ(settings->languageName, "English");
    EXPECT_EQ(settings->languageFlag, 1);
    EXPECT_EQ(Current(), user_screen_users);
}
