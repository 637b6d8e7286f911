// The list of players the profile screens show: one entry per player file in the
// "Users" folder, with the country its file names. The load screen owns it; the other
// profile screens read it.
#pragma once

enum
{
    USER_LIST_NAME_SIZE = 25,    // a name of up to 24 characters and its terminator
    USER_LIST_COUNTRY_SIZE = 3,  // two letters and the terminator
};

// One entry, stored whole in the list.
struct _UserListEntry
{
    char name[USER_LIST_NAME_SIZE];
    char country[USER_LIST_COUNTRY_SIZE];
};
static_assert(sizeof(_UserListEntry) == 28);

// Empties the list and fills it again from the "Users" folder: every file whose name
// ends exactly in ".usr" and has a name part (in name order). A name part longer than
// an entry holds is skipped, so no entry ever names another player's file. Answers the
// number of players.
int UserListBuild();
void UserListClear();
int UserListGetNumUsers();
// NULL for an index outside the list.
const char *UserListGetUserName(int index);
// "" for an index outside the list and for a player whose file does not load.
const char *UserListGetUserCountryCode(int index);
// The index of the entry named exactly `name` (letter case counts), -1 when none.
int UserListFindUser(const char *name);
