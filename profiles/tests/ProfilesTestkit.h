// Fixture of the profile tests: a temporary home with its per-user folder, plain player
// files, the country module set up and a locale naming France; helpers that make and
// inspect player files.
#pragma once
#include <cstdlib>
#include <string>

#include "AppHooks.h"
#include "Country.h"
#include "EngDebug.h"
#include "EngPrefFolder.h"
#include "Testkit.h"
#include "User.h"

namespace profilestest
{

class ProfilesTest : public testkit::TempHomeTest
{
protected:
    void SetUp() override
    {
        TempHomeTest::SetUp();
        for (int i = 0; i < 4; i++)
        {
            const char *value = getenv(LOCALE_NAMES[i]);
            had[i] = value != nullptr;
            saved[i] = value ? value : "";
            unsetenv(LOCALE_NAMES[i]);
        }
        setenv("LANG", "fr_FR.UTF-8", 1);
        PrefFolderSetup("Plinx", false, nullptr, false);
        ModulesSetupInfo info = {};
        info.userFileEncryption = USER_FILE_PLAIN;
        ModulesSetup(&info, nullptr);
        LastName().clear();
        _AppHooks hooks = {};
        hooks.getLastPlayerName = [] { return LastName().c_str(); };
        hooks.setLastPlayerName = [](const char *name) { LastName() = name ? name : ""; };
        AppSetHooks(&hooks);
        CountrySetup(0, 0, nullptr, nullptr, 0, 0);
    }
    void TearDown() override
    {
        CountryShutdown();
        AppSetHooks(nullptr);
        ModulesShutdown();
        PrefFolderShutdown();
        for (int i = 0; i < 4; i++)
        {
            if (had[i])
                setenv(LOCALE_NAMES[i], saved[i].c_str(), 1);
            else
                unsetenv(LOCALE_NAMES[i]);
        }
        TempHomeTest::TearDown();
    }

    // The last player's name, as the start-up settings keep it.
    static std::string &LastName()
    {
        static std::string name;
        return name;
    }
    std::string UsersFolder() const { return UserFolder() + "/Users"; }
    std::string UserFile(const std::string &name) const { return UsersFolder() + "/" + name + ".usr"; }
    // A saved player `name` of `country`, with its always-load byte.
    void MakePlayer(const char *name, const char *country = "GB", bool alwaysLoad = false)
    {
        UserClass user(nullptr, nullptr, 0);
        ASSERT_TRUE(user.CreateNewUser(name, country, 0));
        user.GetOptions()->alwaysLoad = alwaysLoad ? 1 : 0;
        ASSERT_TRUE(user.Save(1));
    }
    // How many lines of the in-memory log contain `text`.
    static int CountLog(const std::string &text)
    {
        int count = 0;
        for (int i = 0; i < DebugGetNumMessages(); i++)
            count += std::string(DebugGetMessage(i)->text).find(text) != std::string::npos;
        return count;
    }

    static constexpr const char *LOCALE_NAMES[4] = {"LC_ALL", "LC_ADDRESS", "LC_MESSAGES", "LANG"};
    std::string saved[4];
    bool had[4] = {};
};

} // namespace profilestest
