// Fuzz target: the version-check reply and the download link it names, on any bytes. The
// message never shows the link part, a kept link fits its buffer, and a file name taken
// from a link is one plain name that cannot leave the desktop folder.
#include <cstring>
#include <strings.h>

#include "FuzzKit.h"
#include "UpdaterReply.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    static bool ready = [] {
        fuzzkit::Home();
        return true;
    }();
    (void)ready;
    fuzzkit::ClearLog();
    static _UpdaterReply reply;
    memset(&reply, 0xA5, sizeof(reply));
    bool ok = UpdaterParseReply((const char *)data, (uint32_t)size, &reply);
    fuzzkit::Check(memchr(reply.message, 0, sizeof(reply.message)) != nullptr, "message not terminated");
    fuzzkit::Check(memchr(reply.link, 0, sizeof(reply.link)) != nullptr, "link not terminated");
    fuzzkit::Check(strstr(reply.message, "#DL:<") == nullptr, "the link part is shown");
    if (!ok)
        fuzzkit::Check(reply.message[0] == 0 && reply.link[0] == 0 && reply.newVersion == 0, "an error reply kept text");
    fuzzkit::Check(strchr(reply.link, '>') == nullptr, "the link runs past its end");

    // The bytes as a link too, so that names are tried beyond what a reply carries.
    char link[UPDATER_LINK_SIZE + 64];
    size_t length = size < sizeof(link) - 1 ? size : sizeof(link) - 1;
    memcpy(link, data, length);
    link[length] = 0;
    const char *links[] = {reply.link, link};
    for (const char *candidate : links)
    {
        char name[UPDATER_FILE_NAME_SIZE];
        memset(name, 0xA5, sizeof(name));
        if (!UpdaterGetDownloadFileName(candidate, name, sizeof(name)))
            continue;
        size_t nameLength = strnlen(name, sizeof(name));
        fuzzkit::Check(nameLength > 0 && nameLength < sizeof(name), "file name empty or not terminated");
        fuzzkit::Check(name[0] != '.' && !strchr(name, '/') && !strchr(name, '\\'), "file name leaves the folder");
        fuzzkit::Check(strncasecmp(candidate, "https://", 8) == 0 ||
                           strncasecmp(candidate, "http://127.0.0.1", 16) == 0,
                       "a link that is not https was accepted");
    }
    return 0;
}
