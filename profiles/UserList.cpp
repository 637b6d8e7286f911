// The player-name list over the "Users" folder listing; each player file is probed
// quietly for its country, and a file that does not load still lists its player, so
// that it can be reset or deleted.
#include "UserList.h"

#include <cstring>

#include "EngDebug.h"
#include "EngDirList.h"
#include "EngFile.h"
#include "EngLists.h"
#include "EngMemory.h"
#include "User.h"

static const char USER_FILE_EXTENSION[] = ".usr";

static struct
{
    EngIndexedList *entries;
} s_list;

void UserListClear()
{
    delete s_list.entries;
    s_list.entries = nullptr;
}

static const _UserListEntry *UserListGetEntry(int index)
{
    if (!s_list.entries || index < 0 || index >= s_list.entries->GetNumEntries())
        return nullptr;
    return (const _UserListEntry *)s_list.entries->GetEntryData(index);
}

int UserListGetNumUsers()
{
    return s_list.entries ? s_list.entries->GetNumEntries() : 0;
}

const char *UserListGetUserName(int index)
{
    const _UserListEntry *entry = UserListGetEntry(index);
    return entry ? entry->name : nullptr;
}

const char *UserListGetUserCountryCode(int index)
{
    const _UserListEntry *entry = UserListGetEntry(index);
    return entry ? entry->country : "";
}

int UserListFindUser(const char *name)
{
    for (int i = 0; name && i < UserListGetNumUsers(); i++)
        if (strcmp(UserListGetUserName(i), name) == 0)
            return i;
    return -1;
}

int UserListBuild()
{
    UserListClear();
    s_list.entries = new EngIndexedList(64);
    char folder[ENG_FILE_PATH_SIZE];
    EngSafeStrcpy(folder, UserGetUsersFolder(0), sizeof(folder));
    if (!folder[0] || !EngFileDirectoryExists(folder))
        return 0;
    DirList dir;
    if (dir.OpenDir(folder, nullptr, nullptr, false) && dir.PrepareToGetFilenamesInDir())
    {
        const size_t extensionLength = strlen(USER_FILE_EXTENSION);
        for (const char *file = dir.GetNextFilenameInDir(); file && file[0]; file = dir.GetNextFilenameInDir())
        {
            const size_t length = strlen(file);
            if (length <= extensionLength || strcmp(file + length - extensionLength, USER_FILE_EXTENSION) != 0)
                continue;
            const size_t nameLength = length - extensionLength;
            if (nameLength >= USER_LIST_NAME_SIZE)
            {
                // Cut to an entry, the name would load or delete another player's file.
                DebugNoteInFunction(DEBUG_NOTE_STANDARD, ENG_FUNC, "Player file name too long, skipped <%s>", file);
                continue;
            }
            _UserListEntry entry;
            memset(&entry, 0, sizeof(entry));
            memcpy(entry.name, file, nameLength);
            UserClass probe(nullptr, nullptr, 0);
            if (!probe.LoadUser(entry.name, 1, nullptr, entry.country))
                entry.country[0] = 0;
            if (s_list.entries->AddEntry(&entry, sizeof(entry)) < 0)
                DebugErrorCode(ENG_FUNC, EngFourCC("OMEM"));
        }
        dir.CleanupAfterGettingFilenamesInDir();
    }
    dir.CloseDir();
    return UserListGetNumUsers();
}
