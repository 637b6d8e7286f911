// The new player's name rule: length, the characters and words a name may not hold,
// and how many dots, spaces and hyphens it may have.
#include "UserName.h"

#include <cstring>

#include "EngMemory.h"
#include "User.h"

// Names of the maker and its tools, words the list screens use for "nothing chosen",
// and profanities: none of them may name a player.
static const char *const BLOCKED_WORDS[] = {
    "fernbrooks", "fern brooks", "fbmonitor", "fb monitor", "unset", "unselected", "not selected",
    "fuck",       "shit",        "cunt",      "bitch",      "bastard", "wanker",
};
static const char BLOCKED_CHARACTERS[] = "\t\"'{}[]|\\/!@#$%^&*()_+:;<>,?";

bool UserNameIsValid(const char *name, int maxLength, bool *tooLong)
{
    if (tooLong)
        *tooLong = false;
    if (!name || !name[0] || name[0] == ' ' || name[0] == '\t')
        return false;
    const size_t length = strlen(name);
    if (maxLength < 1 || length >= (size_t)maxLength)
    {
        if (tooLong)
            *tooLong = true;
        return false;
    }
    if (name[length - 1] == ' ' || name[length - 1] == '\t')
        return false;
    if (strpbrk(name, BLOCKED_CHARACTERS))
        return false;
    for (const char *word : BLOCKED_WORDS)
        if (EngStrIStr(name, word, false))
            return false;
    int dots = 0, spaces = 0, hyphens = 0;
    for (const char *c = name; *c; c++)
    {
        dots += *c == '.';
        spaces += *c == ' ';
        hyphens += *c == '-';
    }
    return dots <= 2 && spaces <= 2 && hyphens <= 2;
}

bool UserNameIsAcceptable(const char *name, bool *tooLong)
{
    return UserNameIsValid(name, USER_NAME_MAX_LENGTH_RULE, tooLong) && UserIsValidName(name);
}
