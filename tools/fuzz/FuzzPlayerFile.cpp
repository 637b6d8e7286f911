// Fuzz target: the player-file reader on any bytes. The first byte chooses how player
// files are kept (plain, encrypted, or encrypted with plain ones still read); the rest is
// the file. A player it loads must be saved by the game and load back the same.
#include <cstring>
#include <memory>

#include "EngEncryption.h"
#include "EngPrefFolder.h"
#include "FuzzKit.h"
#include "GameState.h"
#include "Play.h"
#include "Plinx.h"
#include "User.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    static const std::string path = [] {
        fuzzkit::Home();
        PrefFolderSetup("Plinx", false, nullptr, false);
        PlaySetup();
        if (!EngEncryptionInit(fuzzkit::kEncryptionKey))
            abort();
        UserGetUsersFolder(1);
        return fuzzkit::UserFolder() + "/Users/" + fuzzkit::kPlayerName + ".usr";
    }();
    fuzzkit::ClearLog();
    if (size < 1)
        return 0;
    static const uint8_t modes[3] = {USER_FILE_PLAIN, USER_FILE_ENCRYPTED, USER_FILE_ENCRYPTED_OR_PLAIN};
    ModulesSetupInfo info = {};
    info.userFileEncryption = modes[data[0] % 3];
    ModulesSetup(&info, nullptr);
    fuzzkit::WriteBytes(path, data + 1, size - 1);
    auto user = std::make_unique<UserClass>(nullptr, nullptr, 0);
    if (user->LoadUser(fuzzkit::kPlayerName, 0, nullptr, nullptr))
    {
        fuzzkit::Check(user->Save(0), "a loaded player could not be saved");
        auto again = std::make_unique<UserClass>(nullptr, nullptr, 0);
        fuzzkit::Check(again->LoadUser(fuzzkit::kPlayerName, 0, nullptr, nullptr), "a saved player is refused");
        // Saving zeroes the unused fields and the text past its end in the record itself:
        // what it holds then is what must come back.
        auto read = std::make_unique<_UserInfo>();
        memcpy(read.get(), user->GetInfo(), sizeof(_UserInfo));
        fuzzkit::CheckSame(read.get(), again->GetInfo(), sizeof(_UserInfo), "a saved player loads back different");
    }
    ModulesShutdown();
    return 0;
}
