// The player record and its file over the engine's files, folder listing and encryption.
// Every file read is checked whole (size, version, names, ids, table counts) before it
// replaces anything; every write goes through a temporary file.
//
// Sections: set-up | names and paths | defaults | UserClass | working options | deleting
#include "User.h"

#include <cctype>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "AppHooks.h"
#include "EngDebug.h"
#include "EngDirList.h"
#include "EngEncryption.h"
#include "EngFile.h"
#include "EngMemory.h"
#include "EngPrefFolder.h"
#include "GameFiles.h"
#include "GameState.h"

static const char USERS_FOLDER[] = "Users";

static struct
{
    ModulesSetupInfo info;
    ModulesItemFilenameFn itemFilename;
    ModulesTextureOverwriteFn chainedOverwrite;
    char usersFolder[ENG_FILE_PATH_SIZE];
} s_user;

// ---- The current player -----------------------------------------------------------------

static UserClass *s_currentUser = nullptr;

UserClass *GameGetUser()
{
    // Asked for before the program made its player object or after it freed it: said in
    // the log, and every caller copes with no player.
    if (!s_currentUser)
        DebugError(ENG_FUNC, "No player object.");
    return s_currentUser;
}

void GameSetUser(UserClass *user)
{
    s_currentUser = user;
}

// ---- Set-up ---------------------------------------------------------------------------------

bool ModulesSetup(const ModulesSetupInfo *info, ModulesItemFilenameFn itemFilename)
{
    if (info)
    {
        s_user.info = *info;
        s_user.info.isSetup = 1;
    }
    s_user.itemFilename = itemFilename;
    return true;
}

void ModulesShutdown()
{
    memset(&s_user, 0, sizeof(s_user));
}

const ModulesSetupInfo *ModulesGetSetupInfo()
{
    return &s_user.info;
}

void ModulesSetupEngPictureTextureFileOverwrite(ModulesTextureOverwriteFn chained)
{
    if (chained)
        s_user.chainedOverwrite = chained;
    AppRegisterPictureHook(ModulesEngPictureTextureFileOverwriteCB);
}

bool ModulesEngPictureTextureFileOverwriteCB(const char *folder, const char *file, char *out, int outSize)
{
    static const char *const replaceable[] = {"FernRing.png", "FbText.png", "TexEffects1.png", "Misc.png",
                                              "MenuBg.jpg"};
    if (!s_user.itemFilename)
    {
        DebugError(ENG_FUNC, "CBs not setup");
        return false;
    }
    for (int i = 0; file && i < 5; i++)
    {
        if (strcmp(file, replaceable[i]) != 0)
            continue;
        // A picture the program does not replace loads from its own file.
        const char *replacement = s_user.itemFilename(10 + i);
        if (out && outSize > 0)
        {
            if (replacement && replacement[0])
                EngSafeStrcpy(out, replacement, (size_t)outSize);
            else if (folder && folder[0])
                snprintf(out, (size_t)outSize, "%s/%s", folder, file);
            else
                EngSafeStrcpy(out, file, (size_t)outSize);
        }
        return true;
    }
    if (s_user.chainedOverwrite)
        return s_user.chainedOverwrite(folder, file, out, outSize);
    DebugError(ENG_FUNC, "Unexpected file <%s>", EngStringOrNone(file));
    return false;
}

// ---- Names and paths --------------------------------------------------------------------------

bool UserIsValidName(const char *name)
{
    if (!name)
        return false;
    size_t length = strnlen(name, USER_NAME_SIZE);
    if (length < 1 || length > USER_MAX_NAME_LENGTH)
        return false;
    // Printable ASCII without a path separator or a character some file systems refuse,
    // so that "<Users>/<name>.usr" is always one file inside the Users folder.
    for (size_t i = 0; i < length; i++)
        if ((unsigned char)name[i] < 0x20 || (unsigned char)name[i] > 0x7E || strchr("/\\:*?\"<>|", name[i]))
            return false;
    return true;
}

bool UserIsValidCountry(const char *country)
{
    if (!country)
        return false;
    size_t length = strnlen(country, USER_COUNTRY_SIZE);
    if (length > USER_COUNTRY_SIZE - 1)
        return false;
    for (size_t i = 0; i < length; i++)
        if (!isalpha((unsigned char)country[i]) || (unsigned char)country[i] > 0x7F)
            return false;
    return true;
}

const char *UserGetUsersFolder(char create)
{
    EngSafeStrcpy(s_user.usersFolder, PrefFolderGetSubFolder(USERS_FOLDER, create != 0), sizeof(s_user.usersFolder));
    return s_user.usersFolder;
}

char *UserGetUserFileName(const char *name, char *buffer, const char *extension)
{
    if (!buffer)
        return nullptr;
    buffer[0] = 0;
    if (!name || !name[0])
    {
        DebugError(ENG_FUNC, "No name");
        return nullptr;
    }
    if (!UserIsValidName(name))
    {
        DebugError(ENG_FUNC, "Invlalid name parameter");
        return nullptr;
    }
    if (extension && (extension[0] != '.' || !UserIsValidName(extension + 1)))
    {
        DebugError(ENG_FUNC, "Invalid extension");
        return nullptr;
    }
    char path[ENG_FILE_PATH_SIZE];
    int length = snprintf(path, sizeof(path), "%s/%s%s", UserGetUsersFolder(1), name, extension ? extension : ".usr");
    if (length < 0 || length >= (int)sizeof(path) || !GameFileResolveCase(path, buffer, USER_FILE_NAME_SIZE))
    {
        buffer[0] = 0;
        DebugError(ENG_FUNC, "Path too long");
        return nullptr;
    }
    return buffer;
}

// ---- Defaults ------------------------------------------------------------------------------------

void UserInfoSetDefaultOptions(_UserOptions *options)
{
    memset(options, 0, sizeof(*options));
    options->version = USER_OPTIONS_VERSION;
    for (int8_t &difficulty : options->difficulty)
        difficulty = 1;
    for (int8_t &speed : options->speed)
        speed = 2;
    options->gameEffects = 3;
    options->menuEffects = 3;
    options->mouseSensitivity = 4;
    options->gameSoundsVolume = 7;
    options->gameMusicVolume = 0;
    options->menuMusicVolume = 7;
    options->gameOverMusicVolume = 7;
    options->autoSubmitOn = -1;
    options->menuOption194778 = 1;
    options->menuOption194779 = 1;
}

// ---- UserClass ---------------------------------------------------------------------------------------

UserClass::UserClass(void *gameObject, const char *nameGiven, char rememberAsLast)
    : game(gameObject), name(nullptr), info(nullptr), loaded(0), remember(rememberAsLast ? 1 : 0)
{
    if (nameGiven)
    {
        if (UserIsValidName(nameGiven))
            name = EngMallocStringFromString(nameGiven, true, "UserClass");
        else
            DebugError(ENG_FUNC, "Invlalid name parameter");
    }
    info = (_UserInfo *)EngMalloc(sizeof(_UserInfo), "UserClass", true);
    DebugFatalIfFalse(info != nullptr, ENG_FUNC, "No memory for user");
}

UserClass::~UserClass()
{
    UnloadUser();
    EngFree(info, false, "UserClass");
    EngFree(name, false, "UserClass");
}

void UserClass::UnloadUser()
{
    if (info)
        memset(info, 0, sizeof(*info));
    loaded = 0;
}

_UserInfo *UserClass::GetInfo(char check)
{
    if (check)
        DebugFatalIfFalse(info != nullptr, ENG_FUNC, "No user record");
    return info;
}

_UserOptions *UserClass::GetOptions(char check)
{
    _UserInfo *record = GetInfo(check);
    return record ? &record->options : nullptr;
}

char UserClass::DoesUserFileExist(const char *userName)
{
    if (!userName || !userName[0])
    {
        DebugError(ENG_FUNC, "No name");
        return 0;
    }
    char fileName[USER_FILE_NAME_SIZE];
    if (!UserGetUserFileName(userName, fileName, nullptr))
        return 0;
    return EngFileExists(fileName, false) ? 1 : 0;
}

// The game version x 1000, to the nearest whole number, as text.
static void UserStampGameVersion(_UserInfo *record)
{
    memset(record->gameVersion, 0, sizeof(record->gameVersion));
    snprintf(record->gameVersion, sizeof(record->gameVersion), "%d", (int)lroundf(USER_GAME_VERSION * 1000.0f));
}

void UserClass::SetDefaultOptions()
{
    if (!info)
    {
        DebugErrorCode(ENG_FUNC, EngFourCC("NSTP"));
        return;
    }
    UserStampGameVersion(info);
    if (GetGameVersion(info) <= 0.0f)
        DebugErrorCode(ENG_FUNC, EngFourCC("IERR"));
    UserInfoSetDefaultOptions(&GameState.userOptions);
    UserInfoSetDefaultOptions(&info->options);
    info->loadCounter = 0;
}

float UserClass::GetGameVersion(const _UserInfo *record)
{
    if (!record)
        record = info;
    if (!record)
    {
        DebugErrorCode(ENG_FUNC, EngFourCC("NSTP"));
        return 0.0f;
    }
    char text[sizeof(record->gameVersion) + 1] = "";
    memcpy(text, record->gameVersion, sizeof(record->gameVersion));
    if (!text[0])
    {
        DebugNoteInFunction(DEBUG_NOTE_STANDARD, ENG_FUNC, "No game version set.");
        return 0.0f;
    }
    long version = strtol(text, nullptr, 10);
    if (version <= 0)
    {
        DebugErrorCode(ENG_FUNC, EngFourCC("OPFA"));
        return 0.0f;
    }
    return (float)version / 1000.0f;
}

char UserClass::CreateNewUser(const char *userName, const char *country, char reset)
{
    if (!info)
    {
        DebugErrorCode(ENG_FUNC, EngFourCC("NSTP"));
        return 0;
    }
    // A bad name or country is the caller's to correct: the player stays on the screen.
    if (!UserIsValidName(userName) || !UserIsValidCountry(country))
    {
        DebugError(ENG_FUNC, "Invalid name or country");
        return 0;
    }
    memset(info, 0, sizeof(*info));
    SetDefaultOptions();
    info->version = USER_FILE_VERSION;
    info->userId = (uint16_t)(rand() % USER_MAX_ID + 1);
    EngSafeStrcpy(info->country, country, sizeof(info->country));
    EngSafeStrcpy(info->name, userName, sizeof(info->name));
    loaded = 1;
    return 1;
}

char UserClass::Save(char stamp)
{
    if (!loaded || !info)
        return 0;
    char fileName[USER_FILE_NAME_SIZE];
    if (!UserGetUserFileName(info->name, fileName, nullptr))
    {
        DebugError(ENG_FUNC, "Could not set filename");
        return 0;
    }
    if (remember)
        AppSetLastPlayerName(info->name);
    if (stamp)
        UserStampGameVersion(info);
    if (s_user.info.isSetup != 1)
        DebugError(ENG_FUNC, "User module not setup.");
    // The fields that are always zero, and the text fields past their terminators, are
    // written as zero.
    info->zero6 = 0;
    info->zero195020 = 0;
    memset(info->zero195063, 0, sizeof(info->zero195063));
    char text[USER_NAME_SIZE];
    EngSafeStrcpy(text, info->name, sizeof(text));
    memset(info->name, 0, sizeof(info->name));
    EngSafeStrcpy(info->name, text, sizeof(info->name));
    EngSafeStrcpy(text, info->country, sizeof(info->country));
    memset(info->country, 0, sizeof(info->country));
    EngSafeStrcpy(info->country, text, sizeof(info->country));

    const bool encrypt = s_user.info.userFileEncryption != USER_FILE_PLAIN;
    _GameFileResult result = GameFileWriteWhole(fileName, info, sizeof(*info), encrypt);
    if (result == GAME_FILE_OK)
        return 1;
    if (encrypt)
        DebugError(ENG_FUNC, "Error writing to user file");
    else if (result == GAME_FILE_OPEN_FAILED)
        DebugError(ENG_FUNC, "Could not create user file");
    else
        DebugError(ENG_FUNC, "Could not write to user file");
    return 0;
}

// Every table count and last-score index of a record lies in its table.
static bool UserAreScoreTablesValid(const _UserOptions &options)
{
    for (const auto &type : options.gameScores)
    {
        for (const _GameScores &table : type)
        {
            if (table.numRows < 0 || table.numRows > SCORES_MAX_ROWS || table.lastScoreExists > 1)
                return false;
            if (table.lastScoreExists && (table.lastScoreIndex < 0 || table.lastScoreIndex >= table.numRows))
                return false;
        }
    }
    return true;
}

bool UserClass::ReadUserFile(const char *fileName, const char *userName, char probe, _UserInfo *out)
{
    const int mode = s_user.info.userFileEncryption;
    if (s_user.info.isSetup != 1)
        DebugError(ENG_FUNC, "User module is not setup.");
    bool read = false;
    if (mode == USER_FILE_PLAIN)
    {
        if (EngFileGetFileSize(fileName, false) != sizeof(_UserInfo))
        {
            DebugError(ENG_FUNC, "Invalid user size (%s)", userName);
            return false;
        }
        read = EngFileOpenReadAndClose(fileName, false, out, sizeof(_UserInfo));
    }
    else
    {
        read = EngEncryptionCheckFileSize(fileName, sizeof(_UserInfo)) &&
               EngEncryptionReadFromFileAndDecrypt(fileName, out, sizeof(_UserInfo));
        if (!read && mode == USER_FILE_ENCRYPTED_OR_PLAIN &&
            EngFileGetFileSize(fileName, false) == sizeof(_UserInfo))
            read = EngFileOpenReadAndClose(fileName, false, out, sizeof(_UserInfo)) && out->version == USER_FILE_VERSION;
    }
    if (!read)
    {
        if (probe)
            DebugNoteInFunction(DEBUG_NOTE_STANDARD, ENG_FUNC, "Could not load user file (%s)", userName);
        else
            DebugError(ENG_FUNC, "Could not load user file (%s)", userName);
        return false;
    }
    if (out->version != USER_FILE_VERSION)
    {
        DebugError(ENG_FUNC, "Invalid version in user file (%f not %f) (%s)", out->version, USER_FILE_VERSION,
                   userName);
        return false;
    }
    // The record names the player whose file it is, and everything the game indexes by
    // lies in range.
    const bool nameValid = memchr(out->name, 0, sizeof(out->name)) && UserIsValidName(out->name) &&
                           strcasecmp(out->name, userName) == 0;
    const bool countryValid = memchr(out->country, 0, sizeof(out->country)) && UserIsValidCountry(out->country);
    if (!nameValid || !countryValid || out->userId < 1 || out->userId > USER_MAX_ID ||
        !UserAreScoreTablesValid(out->options))
    {
        DebugError(ENG_FUNC, "Damaged user file (%s)", userName);
        return false;
    }
    return true;
}

char UserClass::LoadUser(const char *userName, char probe, char *alwaysLoad, char *country)
{
    if (!userName || !userName[0])
    {
        DebugError(ENG_FUNC, "No name");
        return 0;
    }
    if (!info)
    {
        DebugErrorCode(ENG_FUNC, EngFourCC("NSTP"));
        return 0;
    }
    char fileName[USER_FILE_NAME_SIZE];
    if (!UserGetUserFileName(userName, fileName, nullptr))
        return 0;
    if (!EngFileExists(fileName, false))
    {
        if (!probe)
            DebugError(ENG_FUNC, "User file does not exist <%s>", fileName);
        return 0;
    }
    _UserInfo *scratch = (_UserInfo *)EngMalloc(sizeof(_UserInfo), "LoadUser", true);
    DebugFatalIfFalse(scratch != nullptr, ENG_FUNC, "No memory for user");
    if (!ReadUserFile(fileName, userName, probe, scratch))
    {
        EngFree(scratch, false, "LoadUser");
        return 0;
    }
    if (alwaysLoad)
        *alwaysLoad = (char)scratch->options.alwaysLoad;
    if (country)
        EngSafeStrcpy(country, scratch->country, USER_COUNTRY_SIZE);
    if (probe)
    {
        EngFree(scratch, false, "LoadUser");
        return 1;
    }
    memcpy(info, scratch, sizeof(*info));
    EngFree(scratch, false, "LoadUser");
    loaded = 1;
    Save(0);
    // A later save of a remembered player writes the name back, so a program that ends
    // without saving does not load this player by itself next time.
    AppSetLastPlayerName("");
    return 1;
}

void UserClass::AlwaysLoadThisUser(char flag)
{
    if (!loaded || !info || !info->name[0] || !info->userId)
    {
        DebugError(ENG_FUNC, "User not loaded.");
        return;
    }
    info->options.alwaysLoad = flag ? 1 : 0;
}

void UserClass::AfterUserCreatedOrLoaded(char saveFirst, void *context)
{
    if (saveFirst && Save(1))
        DebugInfoInFunction(ENG_FUNC, "New user saved: %s", info->name);
    AppAfterUserCreatedOrLoaded();
    AppClearUserNameList();
}

// ---- Working options ----------------------------------------------------------------------------------

void UserInfoAfterUserCreatedOrLoaded(UserClass *user)
{
    _UserOptions *options = user ? user->GetOptions(0) : nullptr;
    if (!options)
    {
        DebugErrorCode(ENG_FUNC, EngFourCC("NSTP"));
        return;
    }
    memcpy(&GameState.userOptions, options, sizeof(*options));
    if (options->version != USER_OPTIONS_VERSION)
    {
        DebugError(ENG_FUNC, "V%d not %d", options->version, USER_OPTIONS_VERSION);
        UserInfoSetDefaultOptions(options);
        UserInfoSetDefaultOptions(&GameState.userOptions);
    }
}

void UserStoreWorkingOptions(UserClass *user)
{
    _UserOptions *options = user ? user->GetOptions(0) : nullptr;
    if (!options)
    {
        DebugErrorCode(ENG_FUNC, EngFourCC("NSTP"));
        return;
    }
    GameState.userOptions.alwaysLoad = options->alwaysLoad;
    memcpy(options, &GameState.userOptions, sizeof(*options));
}

void UserLoadLastPlayersOptions()
{
    UserInfoSetDefaultOptions(&GameState.userOptions);
    char lastName[USER_NAME_SIZE];
    EngSafeStrcpy(lastName, AppGetLastPlayerName(), sizeof(lastName));
    if (!lastName[0])
        return;
    UserClass *user = new UserClass(nullptr, nullptr, 0);
    if (user->LoadUser(lastName, 0, nullptr, nullptr) && user->GetOptions(0)->version == USER_OPTIONS_VERSION)
        memcpy(&GameState.userOptions, user->GetOptions(0), sizeof(_UserOptions));
    delete user;
    AppSetLastPlayerName(lastName);
}

// ---- Deleting ----------------------------------------------------------------------------------------

char UserDeleteUser(const char *userName, char resetOnly)
{
    if (!userName || !userName[0])
    {
        DebugErrorCode(ENG_FUNC, EngFourCC("BAPA"));
        return 0;
    }
    char fileName[USER_FILE_NAME_SIZE];
    if (!UserGetUserFileName(userName, fileName, nullptr))
        return 0;
    if (!EngFileExists(fileName, false))
    {
        DebugError(ENG_FUNC, "User <%s> does not exist.", userName);
        return 0;
    }
    if (resetOnly)
    {
        DebugInfoInFunction(ENG_FUNC, "Reseting user %s", userName);
        EngFileDelete(fileName, true);
    }
    else
    {
        DebugInfoInFunction(ENG_FUNC, "Deleting user %s", userName);
        char folder[ENG_FILE_PATH_SIZE];
        EngSafeStrcpy(folder, UserGetUsersFolder(1), sizeof(folder));
        const size_t length = strlen(userName);
        DirList dir;
        if (dir.OpenDir(folder, nullptr, nullptr, true) && dir.PrepareToGetFilenamesInDir())
        {
            // "<name>.<extension>": the player's files, never those of a player whose
            // name only begins the same way ("a" does not take "a.b.usr", the file of
            // player "a.b"). Letter case is ignored as the name's is.
            for (const char *file = dir.GetNextFilenameInDir(); file[0]; file = dir.GetNextFilenameInDir())
            {
                if (strncasecmp(file, userName, length) != 0 || strrchr(file, '.') != file + length)
                    continue;
                char path[ENG_FILE_PATH_SIZE];
                if (snprintf(path, sizeof(path), "%s/%s", folder, file) < (int)sizeof(path))
                    EngFileDelete(path, true);
            }
            dir.CleanupAfterGettingFilenamesInDir();
        }
        dir.CloseDir();
    }
    if (s_user.info.userDeleted)
        s_user.info.userDeleted(userName, resetOnly, s_user.info.userDeletedContext);
    return 1;
}
