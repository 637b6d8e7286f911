// The player record `_UserInfo` and its file: identity, all options and the local
// high-score tables, stored whole as "<name>.usr" in the per-user "Users" folder,
// encrypted by default. `UserClass` owns one loaded record. Player names are 1 to 20
// printable ASCII characters without a path separator; no file path is ever built from
// any other name, and names that differ only in letter case name the same player.
#pragma once
#include <cstddef>
#include <cstdint>

#include "AppHooks.h"
#include "UserOptions.h"

enum
{
    USER_NAME_SIZE = 22,       // 1-20 characters and the terminator
    USER_MAX_NAME_LENGTH = 20,
    USER_COUNTRY_SIZE = 3,     // 2 letters and the terminator
    USER_FILE_NAME_SIZE = 1025,
    USER_MAX_ID = 30000,
};

const float USER_FILE_VERSION = 2.2f;
// The game version written into saved records, x 1000 as text.
const float USER_GAME_VERSION = 2.42f;

// The player file, little-endian, written raw before any encryption.
struct _UserInfo
{
    float version;          // 2.2
    uint16_t userId;        // 1-30000
    uint16_t zero6;
    _UserOptions options;
    uint32_t zero195020;
    uint32_t loadCounter;   // +1 each time the player is created or loaded
    char country[USER_COUNTRY_SIZE]; // ISO 3166 alpha-2 and the terminator
    char name[USER_NAME_SIZE];
    char gameVersion[10];   // the game version x 1000 as decimal text ("2420")
    uint8_t zero195063[101];
};
static_assert(sizeof(_UserInfo) == 195164);
static_assert(offsetof(_UserInfo, userId) == 4);
static_assert(offsetof(_UserInfo, zero6) == 6);
static_assert(offsetof(_UserInfo, options) == 8);
static_assert(offsetof(_UserInfo, zero195020) == 195020);
static_assert(offsetof(_UserInfo, loadCounter) == 195024);
static_assert(offsetof(_UserInfo, country) == 195028);
static_assert(offsetof(_UserInfo, name) == 195031);
static_assert(offsetof(_UserInfo, gameVersion) == 195053);
static_assert(offsetof(_UserInfo, zero195063) == 195063);

// How player files are stored.
enum _UserFileEncryption
{
    USER_FILE_PLAIN = 0,
    USER_FILE_ENCRYPTED = 1,
    USER_FILE_ENCRYPTED_OR_PLAIN = 2, // encrypted; plain files are still read
};

typedef void (*ModulesUserDeletedFn)(const char *name, char resetOnly, void *context);
// The file of a numbered item of the player screens (title, background pictures...);
// NULL when there is none.
typedef const char *(*ModulesItemFilenameFn)(int item);

// How the player module and the player screens are set up.
struct ModulesSetupInfo
{
    uint8_t isSetup;            // forced to 1 by ModulesSetup
    uint8_t userFileEncryption; // _UserFileEncryption
    // Option bytes of the player and country screens; the game sets 0, 0, 0, 1.
    uint8_t titleMode;
    uint8_t backgroundMode;
    uint8_t countryFeatureOff;
    uint8_t languageFlag;
    ModulesUserDeletedFn userDeleted;
    void *userDeletedContext;
};

// Stores the set-up (when given; its set-up flag forced to 1) and the item callback.
bool ModulesSetup(const ModulesSetupInfo *info, ModulesItemFilenameFn itemFilename);
// The module back to its start state (tests).
void ModulesShutdown();
const ModulesSetupInfo *ModulesGetSetupInfo();
// Keeps `chained` (when given) and makes ModulesEngPictureTextureFileOverwriteCB the
// picture loader's hook.
void ModulesSetupEngPictureTextureFileOverwrite(ModulesTextureOverwriteFn chained);
// The five pictures the player screens can replace ("FernRing.png", "FbText.png",
// "TexEffects1.png", "Misc.png", "MenuBg.jpg" are items 10-14) go to the item callback;
// other names to the chained function.
bool ModulesEngPictureTextureFileOverwriteCB(const char *folder, const char *file, char *out, int outSize);

// Whether `name` can name a player file: 1 to 20 printable ASCII characters, none of
// / \ : * ? " < > |.
bool UserIsValidName(const char *name);
// Whether `country` can be a player's country: up to 2 letters (empty: none).
bool UserIsValidCountry(const char *country);
// The "Users" sub-folder of the per-user folder.
const char *UserGetUsersFolder(char create);
// "<Users>/<name>.usr", or with `extension` (".xyz") that instead; the buffer holds 1,025
// bytes. NULL (and the buffer empty) for a name that cannot name a player.
char *UserGetUserFileName(const char *name, char *buffer, const char *extension);
// Deletes a player's file (`resetOnly`), or every file "<name>.<extension>" of the Users
// folder (the name exactly, then one extension); then tells the player-deleted callback.
char UserDeleteUser(const char *name, char resetOnly);

class UserClass
{
public:
    // `name` (letters and digits, or NULL) is kept; `remember` stores the player as the
    // last one whenever it is saved.
    UserClass(void *game, const char *name, char remember);
    ~UserClass();
    UserClass(const UserClass &) = delete;
    UserClass &operator=(const UserClass &) = delete;

    void UnloadUser();
    bool IsLoaded() const { return loaded != 0; }
    const char *GetName() const { return name; }
    _UserInfo *GetInfo(char check = 1);
    _UserOptions *GetOptions(char check = 1);
    char DoesUserFileExist(const char *name);
    // Defaults in the record and in the game's working copy.
    void SetDefaultOptions();
    // The record's game version text / 1000; 0 when there is none.
    float GetGameVersion(const _UserInfo *info);
    // A new player of `name` and `country` with default options; not written yet. A bad
    // name or country is refused with a message.
    char CreateNewUser(const char *name, const char *country, char reset);
    // Writes the player file (through a temporary file); with `stamp` the game version
    // first.
    char Save(char stamp);
    // Reads and checks a player file. A probe hands out the always-load byte and the
    // country (either may be NULL) and changes nothing; otherwise the player is loaded.
    char LoadUser(const char *name, char probe, char *alwaysLoad, char *country);
    void AlwaysLoadThisUser(char flag);
    // With `saveFirst` saves (stamped); then the game's after-load step.
    void AfterUserCreatedOrLoaded(char saveFirst, void *context);

private:
    // Reads and checks the file of `fileName` into `out`; false (reported) otherwise.
    bool ReadUserFile(const char *fileName, const char *name, char probe, _UserInfo *out);

    void *game;
    char *name;
    _UserInfo *info;
    uint8_t loaded;
    uint8_t remember;
};

// The working options from the loaded player's record; a record of another options
// version gets the defaults, in both.
void UserInfoAfterUserCreatedOrLoaded(UserClass *user);
// Before every save: the working options go into the player's record (keeping the
// record's own always-load byte).
void UserStoreWorkingOptions(UserClass *user);
// At start: the working options get the defaults, then the last player's options when
// that player loads.
void UserLoadLastPlayersOptions();

// ---- The current player ------------------------------------------------------------------
// The program's one player object (NULL, logged, before start-up and after shut-down).
// What the player module needs of the start-up settings, the picture loader and the
// player screens comes through the program's hooks (AppHooks.h).
UserClass *GameGetUser();
void GameSetUser(UserClass *user);
