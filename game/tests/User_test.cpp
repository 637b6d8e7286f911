// The player record and file: defaults, create, save, load, probe and delete in plain and
// encrypted files; files of the wrong size, version or contents refused without a crash;
// names that cannot name a player never reach a path; writes that fail keep the old file.
#include <sys/stat.h>

#include <cstring>
#include <memory>

#include "EngDebug.h"
#include "EngEncryption.h"
#include "EngMain.h"
#include "PersistTestkit.h"
#include "User.h"

using persisttest::PersistTest;

namespace
{

class UserTest : public PersistTest
{
protected:
    void SetUp() override
    {
        PersistTest::SetUp();
        ASSERT_TRUE(EngEncryptionInit("TEST_KEY_ABCD"));
        SetMode(USER_FILE_ENCRYPTED);
        AppSetLastPlayerName("");
    }
    void TearDown() override
    {
        ModulesShutdown();
        AppSetLastPlayerName("");
        EngEncryptionShutdown();
        PersistTest::TearDown();
    }
    static void SetMode(int mode)
    {
        ModulesSetupInfo info = {};
        info.userFileEncryption = (uint8_t)mode;
        info.userDeleted = RecordDeletion;
        ModulesSetup(&info, nullptr);
    }
    static void RecordDeletion(const char *name, char resetOnly, void *context)
    {
        deleted += std::string(name) + (resetOnly ? "(reset) " : " ");
    }
    std::string UserFile(const std::string &name) const { return UserFolder() + "/Users/" + name + ".usr"; }
    // A saved player `name` of country `country`; its user id.
    int MakePlayer(const char *name, const char *country = "GB")
    {
        UserClass user(nullptr, nullptr, 0);
        EXPECT_TRUE(user.CreateNewUser(name, country, 0));
        EXPECT_TRUE(user.Save(1));
        return user.GetInfo()->userId;
    }

    static std::string deleted;
};
std::string UserTest::deleted;

TEST_F(UserTest, DefaultsSitWhereTheFileKeepsThem)
{
    _UserOptions options;
    memset(&options, 0x5A, sizeof(options));
    UserInfoSetDefaultOptions(&options);
    const uint8_t *bytes = reinterpret_cast<const uint8_t *>(&options);
    const struct
    {
        size_t offset;
        int value;
    } expected[] = {
        {4, 0},   {6, 1},   {7, 1},  {8, 1},  {10, 0},      {11, 0},      {14, 2},      {17, 2},
        {33, 0},  {37, 3},  {38, 3}, {40, 4}, {44, 7},      {45, 0},      {46, 7},      {52, 7},
        {56, 0},  {194776, 0},       {194777, 0xFF},        {194778, 1},  {194779, 1},  {194780, 0},
        {194880, 0},                 {194946, 0},           {195011, 0},
    };
    EXPECT_EQ(options.version, 2200);
    for (const auto &e : expected)
        EXPECT_EQ(bytes[e.offset], e.value) << "offset " << e.offset;
}

TEST_F(UserTest, PlayersRoundTripInEveryFileMode)
{
    const struct
    {
        int mode;
        size_t fileSize;
    } modes[] = {{USER_FILE_PLAIN, 195164}, {USER_FILE_ENCRYPTED, 195180}, {USER_FILE_ENCRYPTED_OR_PLAIN, 195180}};
    for (const auto &m : modes)
    {
        SCOPED_TRACE(m.mode);
        SetMode(m.mode);
        UserClass creator(nullptr, nullptr, 1);
        ASSERT_TRUE(creator.CreateNewUser("Ann", "GB", 0));
        creator.GetOptions()->speed[1] = 4;
        creator.AlwaysLoadThisUser(1);
        ASSERT_TRUE(creator.Save(1));
        EXPECT_STREQ(AppGetLastPlayerName(), "Ann");
        EXPECT_EQ(testkit::ReadFile(UserFile("Ann")).size(), m.fileSize);

        // A probe answers without loading.
        UserClass loader(nullptr, nullptr, 0);
        char alwaysLoad = 0, country[3] = "";
        ASSERT_TRUE(loader.LoadUser("ANN", 1, &alwaysLoad, country));
        EXPECT_EQ(alwaysLoad, 1);
        EXPECT_STREQ(country, "GB");
        EXPECT_FALSE(loader.IsLoaded());

        ASSERT_TRUE(loader.LoadUser("ann", 0, nullptr, nullptr));
        EXPECT_TRUE(loader.IsLoaded());
        EXPECT_EQ(memcmp(loader.GetInfo(), creator.GetInfo(), sizeof(_UserInfo)), 0);
        EXPECT_STREQ(loader.GetInfo()->gameVersion, "2420");
        EXPECT_FLOAT_EQ(loader.GetGameVersion(nullptr), 2.42f);
        EXPECT_STREQ(AppGetLastPlayerName(), "") << "a load forgets the last player until it is saved";

        EXPECT_TRUE(UserDeleteUser("Ann", 0));
        EXPECT_FALSE(testkit::FileExists(UserFile("Ann")));
    }
}

TEST_F(UserTest, FilesOfAnyOtherSizeAreRefused)
{
    const struct
    {
        int mode;
        int delta;
        const char *message;
    } cases[] = {
        {USER_FILE_PLAIN, -1, "Invalid user size (ANN)"},
        {USER_FILE_PLAIN, +1, "Invalid user size (ANN)"},
        {USER_FILE_ENCRYPTED, -1, "Could not load user file (ANN)"},
        {USER_FILE_ENCRYPTED, +1, "Could not load user file (ANN)"},
    };
    for (const auto &c : cases)
    {
        SCOPED_TRACE(testing::Message() << c.mode << " " << c.delta);
        SetMode(c.mode);
        MakePlayer("ANN");
        std::string bytes = testkit::ReadFile(UserFile("ANN"));
        bytes = c.delta < 0 ? bytes.substr(0, bytes.size() - 1) : bytes + "x";
        testkit::WriteFile(UserFile("ANN"), bytes);
        UserClass user(nullptr, nullptr, 0);
        EXPECT_FALSE(user.LoadUser("ANN", 0, nullptr, nullptr));
        EXPECT_FALSE(user.IsLoaded());
        EXPECT_TRUE(LogHas(c.message));
    }
}

TEST_F(UserTest, APlainFileLoadsOnlyWhereEncryptionAllowsIt)
{
    SetMode(USER_FILE_PLAIN);
    MakePlayer("PLAIN");
    UserClass user(nullptr, nullptr, 0);
    SetMode(USER_FILE_ENCRYPTED);
    EXPECT_FALSE(user.LoadUser("PLAIN", 0, nullptr, nullptr));
    SetMode(USER_FILE_ENCRYPTED_OR_PLAIN);
    EXPECT_TRUE(user.LoadUser("PLAIN", 0, nullptr, nullptr));
    // Saved again, it is encrypted.
    EXPECT_EQ(testkit::ReadFile(UserFile("PLAIN")).size(), 195180u);
}

TEST_F(UserTest, DamagedFilesAreRefusedAndNeverCrash)
{
    SetMode(USER_FILE_PLAIN);
    MakePlayer("BOB");
    const std::string good = testkit::ReadFile(UserFile("BOB"));
    auto patched = [&](size_t offset, const void *value, size_t size) {
        std::string bytes = good;
        memcpy(&bytes[offset], value, size);
        return bytes;
    };
    const float version = 2.21f;
    const uint16_t noId = 0, bigId = 30001;
    const int32_t rows = 101, badIndex = 5;
    const uint8_t yes = 1;
    const char otherName[] = "EVE", pathName[] = "../BOB";
    const size_t table = offsetof(_UserInfo, options) + offsetof(_UserOptions, gameScores);
    const struct
    {
        const char *what;
        std::string bytes;
        const char *message;
    } cases[] = {
        {"version 2.21", patched(0, &version, 4), "Invalid version in user file"},
        {"user id 0", patched(offsetof(_UserInfo, userId), &noId, 2), "Damaged user file"},
        {"user id 30001", patched(offsetof(_UserInfo, userId), &bigId, 2), "Damaged user file"},
        {"another player's name", patched(offsetof(_UserInfo, name), otherName, 4), "Damaged user file"},
        {"a path for a name", patched(offsetof(_UserInfo, name), pathName, 7), "Damaged user file"},
        {"101 rows", patched(table, &rows, 4), "Damaged user file"},
        {"last score past the rows",
         patched(table + offsetof(_GameScores, lastScoreExists), &yes, 1).replace(
             table + offsetof(_GameScores, lastScoreIndex), 4, reinterpret_cast<const char *>(&badIndex), 4),
         "Damaged user file"},
        {"no terminator", patched(offsetof(_UserInfo, name), "BOBBOBBOBBOBBOBBOBBOBB", 22), "Damaged user file"},
    };
    for (const auto &c : cases)
    {
        SCOPED_TRACE(c.what);
        testkit::WriteFile(UserFile("BOB"), c.bytes);
        UserClass user(nullptr, nullptr, 0);
        EXPECT_FALSE(user.LoadUser("BOB", 0, nullptr, nullptr));
        EXPECT_FALSE(user.IsLoaded());
        EXPECT_TRUE(LogHas(c.message));
    }

    // Bytes changed anywhere: a load either refuses or yields a record it can use.
    uint32_t state = 99;
    for (int i = 0; i < 300; i++)
    {
        std::string bytes = good;
        for (int k = 0; k < 8; k++)
        {
            state = state * 1664525u + 1013904223u;
            size_t offset = i < 100 ? (state >> 8) % 64 : (state >> 8) % bytes.size();
            if (i >= 200)
                offset = (state >> 8) % 32 + offsetof(_UserInfo, loadCounter);
            bytes[offset] = (char)(state >> 24);
        }
        testkit::WriteFile(UserFile("BOB"), bytes);
        UserClass user(nullptr, nullptr, 0);
        if (user.LoadUser("BOB", 0, nullptr, nullptr))
        {
            EXPECT_TRUE(UserIsValidName(user.GetInfo()->name));
            EXPECT_GE(user.GetInfo()->userId, 1);
            EXPECT_LE(user.GetInfo()->userId, 30000);
        }
    }
}

TEST_F(UserTest, BadNamesAndCountriesAreRefusedWithoutQuitting)
{
    const std::string twenty(20, 'A'), twentyOne(21, 'A');
    const struct
    {
        std::string name;
        const char *country;
        bool valid;     // a player can be created
        bool nameValid; // the name can name a file
    } cases[] = {
        {twenty, "GB", true, true},      {"Z9", "", true, true},         {twentyOne, "GB", false, false},
        {"", "GB", false, false},        {"A B", "GB", true, true},      {"../X", "GB", false, false},
        {"A:B", "GB", false, false},     {"A\tB", "GB", false, false},
        {"ANN", "GBR", false, true},     {"ANN", "G1", false, true},     {"A\xE9", "GB", false, false},
    };
    for (const auto &c : cases)
    {
        SCOPED_TRACE(c.name);
        UserClass user(nullptr, nullptr, 0);
        EXPECT_EQ(user.CreateNewUser(c.name.c_str(), c.country, 0), c.valid ? 1 : 0);
        EXPECT_EQ(user.IsLoaded(), c.valid);
        if (!c.valid)
        {
            EXPECT_TRUE(LogHas("Invalid name or country"));
        }
        char buffer[USER_FILE_NAME_SIZE];
        EXPECT_EQ(UserGetUserFileName(c.name.c_str(), buffer, nullptr) != nullptr, c.nameValid);
    }
    EXPECT_FALSE(EngMainIsQuitting());

    // No operation takes a 21-character name, nor one that would leave the folder.
    UserClass user(nullptr, nullptr, 0);
    MakePlayer("ANN");
    for (const char *name : {twentyOne.c_str(), "../Users/ANN", "ANN/"})
    {
        SCOPED_TRACE(name);
        EXPECT_FALSE(user.LoadUser(name, 0, nullptr, nullptr));
        EXPECT_FALSE(user.DoesUserFileExist(name));
        EXPECT_FALSE(UserDeleteUser(name, 0));
    }
    EXPECT_TRUE(testkit::FileExists(UserFile("ANN")));
    char buffer[USER_FILE_NAME_SIZE];
    EXPECT_EQ(UserGetUserFileName("ANN", buffer, "/../x"), nullptr);
    EXPECT_STREQ(UserGetUserFileName("ANN", buffer, ".bak"), (UserFolder() + "/Users/ANN.bak").c_str());
}

TEST_F(UserTest, DeletingAnnLeavesAnna)
{
    MakePlayer("ANN");
    MakePlayer("ANNA");
    testkit::WriteFile(UserFolder() + "/Users/ANN.bak", "x");
    testkit::WriteFile(UserFolder() + "/Users/ANNA.bak", "x");
    deleted.clear();
    EXPECT_TRUE(UserDeleteUser("ANN", 0));
    EXPECT_FALSE(testkit::FileExists(UserFile("ANN")));
    EXPECT_FALSE(testkit::FileExists(UserFolder() + "/Users/ANN.bak"));
    EXPECT_TRUE(testkit::FileExists(UserFile("ANNA")));
    EXPECT_TRUE(testkit::FileExists(UserFolder() + "/Users/ANNA.bak"));
    EXPECT_EQ(deleted, "ANN ");

    // A reset takes the player file only.
    EXPECT_TRUE(UserDeleteUser("ANNA", 1));
    EXPECT_FALSE(testkit::FileExists(UserFile("ANNA")));
    EXPECT_TRUE(testkit::FileExists(UserFolder() + "/Users/ANNA.bak"));
    EXPECT_EQ(deleted, "ANN ANNA(reset) ");
    EXPECT_FALSE(UserDeleteUser("ANNA", 0));
    EXPECT_TRUE(LogHas("User <ANNA> does not exist."));
    EXPECT_FALSE(UserDeleteUser(nullptr, 0));

    // The name exactly, then one extension: player "A" leaves the file of player "A.B".
    MakePlayer("A");
    MakePlayer("A.B");
    EXPECT_TRUE(UserDeleteUser("A", 0));
    EXPECT_FALSE(testkit::FileExists(UserFile("A")));
    EXPECT_TRUE(testkit::FileExists(UserFile("A.B")));
}

TEST_F(UserTest, AFailedSaveKeepsTheOldFile)
{
    UserClass user(nullptr, nullptr, 0);
    ASSERT_TRUE(user.CreateNewUser("KEEP", "FR", 0));
    ASSERT_TRUE(user.Save(1));
    const std::string before = testkit::ReadFile(UserFile("KEEP"));
    ASSERT_EQ(mkdir((UserFile("KEEP") + ".tmp").c_str(), 0755), 0);
    user.GetOptions()->gameSoundsVolume = 1;
    EXPECT_FALSE(user.Save(1));
    EXPECT_TRUE(LogHas("Error writing to user file"));
    EXPECT_EQ(testkit::ReadFile(UserFile("KEEP")), before);
    rmdir((UserFile("KEEP") + ".tmp").c_str());
}

TEST_F(UserTest, UserIdsLieInRange)
{
    UserClass user(nullptr, nullptr, 0);
    for (unsigned seed = 0; seed < 2000; seed++)
    {
        srand(seed);
        ASSERT_TRUE(user.CreateNewUser("ID", "", 0));
        ASSERT_GE(user.GetInfo()->userId, 1);
        ASSERT_LE(user.GetInfo()->userId, 30000);
    }
}

TEST_F(UserTest, TheLastPlayersOptionsComeBackAtStart)
{
    {
        UserClass user(nullptr, nullptr, 1);
        ASSERT_TRUE(user.CreateNewUser("LAST", "DE", 0));
        user.GetOptions()->mouseSensitivity = 9;
        ASSERT_TRUE(user.Save(1));
    }
    ASSERT_STREQ(AppGetLastPlayerName(), "LAST");
    GameState.userOptions.mouseSensitivity = 0;
    UserLoadLastPlayersOptions();
    EXPECT_EQ(GameState.userOptions.mouseSensitivity, 9);
    EXPECT_STREQ(AppGetLastPlayerName(), "LAST");

    // A name that cannot name a player gives the defaults and touches no file.
    AppSetLastPlayerName("../../etc/x");
    UserLoadLastPlayersOptions();
    EXPECT_EQ(GameState.userOptions.mouseSensitivity, 4);
}

TEST_F(UserTest, WorkingOptionsGoBackAndForth)
{
    UserClass user(nullptr, nullptr, 0);
    ASSERT_TRUE(user.CreateNewUser("WORK", "US", 0));
    user.AlwaysLoadThisUser(1);
    GameState.userOptions.alwaysLoad = 0;
    GameState.userOptions.menuMusicVolume = 2;
    UserStoreWorkingOptions(&user);
    EXPECT_EQ(user.GetOptions()->menuMusicVolume, 2);
    EXPECT_EQ(user.GetOptions()->alwaysLoad, 1) << "the record keeps its own always-load byte";

    user.GetOptions()->version = 2100;
    UserInfoAfterUserCreatedOrLoaded(&user);
    EXPECT_TRUE(LogHas("V2100 not 2200"));
    EXPECT_EQ(GameState.userOptions.version, 2200);
    EXPECT_EQ(GameState.userOptions.menuMusicVolume, 7);
    EXPECT_EQ(user.GetOptions()->version, 2200);

    UserClass empty(nullptr, nullptr, 0);
    empty.AlwaysLoadThisUser(1);
    EXPECT_TRUE(LogHas("User not loaded."));
    EXPECT_FALSE(empty.Save(0));
}

const char *ItemFile(int item)
{
    return item == 12 ? "Replaced.png" : nullptr;
}

bool Chained(const char *folder, const char *file, char *out, int size)
{
    snprintf(out, (size_t)size, "chained:%s", file);
    return true;
}

TEST_F(UserTest, PicturesThePlayerScreensReplaceGoToTheItemCallback)
{
    char out[1024];
    ModulesSetup(nullptr, nullptr);
    EXPECT_FALSE(ModulesEngPictureTextureFileOverwriteCB(nullptr, "Misc.png", out, sizeof(out)));
    EXPECT_TRUE(LogHas("CBs not setup"));
    ModulesSetup(nullptr, ItemFile);
    EXPECT_TRUE(ModulesEngPictureTextureFileOverwriteCB(nullptr, "TexEffects1.png", out, sizeof(out)));
    EXPECT_STREQ(out, "Replaced.png");
    // Not replaced: the description's own file.
    EXPECT_TRUE(ModulesEngPictureTextureFileOverwriteCB("Data", "MenuBg.jpg", out, sizeof(out)));
    EXPECT_STREQ(out, "Data/MenuBg.jpg");
    EXPECT_TRUE(ModulesEngPictureTextureFileOverwriteCB(nullptr, "FernRing.png", out, sizeof(out)));
    EXPECT_STREQ(out, "FernRing.png");
    EXPECT_FALSE(ModulesEngPictureTextureFileOverwriteCB(nullptr, "misc.png", out, sizeof(out)));
    EXPECT_TRUE(LogHas("Unexpected file <misc.png>"));
    ModulesSetupEngPictureTextureFileOverwrite(Chained);
    EXPECT_TRUE(ModulesEngPictureTextureFileOverwriteCB(nullptr, "Other.png", out, sizeof(out)));
    EXPECT_STREQ(out, "chained:Other.png");
}

} // namespace

TEST_F(UserTest, NoPlayerObjectIsLoggedAndAnsweredWithNull)
{
    GameSetUser(nullptr);
    EXPECT_EQ(GameGetUser(), nullptr);
    EXPECT_TRUE(LogHas("No player object.")) << LogText();
    UserClass user(nullptr, nullptr, 0);
    GameSetUser(&user);
    EXPECT_EQ(GameGetUser(), &user);
    GameSetUser(nullptr);
}
