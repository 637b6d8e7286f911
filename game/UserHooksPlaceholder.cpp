// Placeholder for what the player module needs of its neighbours (see User.h): the
// last player's name is kept in memory until the start-up settings module, which keeps
// it in "Resolution.dat", lands; the picture hook and the player-name list wait for the
// picture loader and the player screens. Those modules replace this file.
#include "EngMemory.h"
#include "User.h"

static char s_lastPlayerName[USER_NAME_SIZE] = "";

const char *UserGetLastPlayerName() { return s_lastPlayerName; }
void UserSetLastPlayerName(const char *name) { EngSafeStrcpy(s_lastPlayerName, name ? name : "", sizeof(s_lastPlayerName)); }
void ModulesRegisterPictureHook(ModulesTextureOverwriteFn hook) {}
void UserScreensClearUserNameList() {}
