// The rule a new player's name must pass before a player file is made of it.
#pragma once

enum
{
    USER_NAME_MAX_LENGTH_RULE = 20, // the rule's maximum: names have 1 to 19 characters
};

// Whether `name` may name a new player: 1 to maxLength - 1 characters; no leading space
// or tab, no trailing one; none of the characters tab " ' { } [ ] | \ / ! @ # $ % ^ & * ( )
// _ + : ; < > , ?; none of the blocked words in any letter case; at most two '.', at
// most two spaces, at most two '-'. `tooLong` (may be NULL) tells a name refused for
// its length alone.
bool UserNameIsValid(const char *name, int maxLength, bool *tooLong);

// UserNameIsValid with the rule's maximum, and a name the player files can carry (see
// UserIsValidName): the test every name the player screens accept passes.
bool UserNameIsAcceptable(const char *name, bool *tooLong);
