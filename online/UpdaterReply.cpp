// Reading the version-check reply and checking the installer link it names.
#include "UpdaterReply.h"

#include <cstring>
#include <strings.h>

#include "EngDebug.h"
#include "EngMemory.h"

namespace
{

const char kLinkStart[] = "#DL:<";
const char kNewVersionText[] = "is out of date.";
// "#DL:<" and the link together must be longer than this to count as a link.
const size_t kShortestLinkText = 10;

bool IsFileNameCharacter(char c)
{
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '.' || c == '_' ||
           c == '-' || c == '+';
}

} // namespace

bool UpdaterParseReply(const char *data, uint32_t size, _UpdaterReply *out)
{
    if (!out)
    {
        DebugErrorCode(ENG_FUNC, EngFourCC("BAPA"));
        return false;
    }
    memset(out, 0, sizeof(*out));
    if (!data)
        size = 0;
    // The reply is a text: it ends at its first zero byte, and only what the buffer holds
    // is read.
    size_t length = 0;
    while (length < size && length < UPDATER_REPLY_SIZE - 1 && data[length])
        length++;
    memcpy(out->message, data ? data : "", length);
    out->message[length] = 0;
    if (length == 0 || strncmp(out->message, " X", 2) == 0)
    {
        DebugError(ENG_FUNC, "Got result <%.200s>", out->message);
        out->message[0] = 0;
        return false;
    }
    if (char *start = strstr(out->message, kLinkStart))
    {
        const char *link = start + strlen(kLinkStart);
        size_t linkLength = strcspn(link, ">");
        if (strlen(start) <= kShortestLinkText)
            DebugInfo("Link too short <%s>", start);
        else if (linkLength >= UPDATER_LINK_SIZE)
            DebugError(ENG_FUNC, "Link too long <%.255s...>", start);
        else
        {
            memcpy(out->link, link, linkLength);
            out->link[linkLength] = 0;
        }
        // The link part is never shown, whether it was usable or not.
        *start = 0;
    }
    out->newVersion = strstr(out->message, kNewVersionText) ? 1 : 0;
    return true;
}

bool UpdaterGetDownloadFileName(const char *link, char *fileName, size_t fileNameSize)
{
    if (fileName && fileNameSize)
        fileName[0] = 0;
    if (!link || !fileName || fileNameSize < 2)
    {
        DebugErrorCode(ENG_FUNC, EngFourCC("BAPA"));
        return false;
    }
    size_t schemeLength;
    if (strncasecmp(link, "https://", 8) == 0)
        schemeLength = 8;
    else if (strncasecmp(link, "http://127.0.0.1:", 17) == 0 || strncasecmp(link, "http://127.0.0.1/", 17) == 0)
        schemeLength = 7;
    else
    {
        DebugError(ENG_FUNC, "Not a secure address <%.255s>", link);
        return false;
    }
    size_t length = strlen(link);
    if (length >= UPDATER_LINK_SIZE)
    {
        DebugError(ENG_FUNC, "Link too long <%.255s...>", link);
        return false;
    }
    for (size_t i = 0; i < length; i++)
    {
        unsigned char c = (unsigned char)link[i];
        if (c <= ' ' || c >= 127 || c == '\\')
        {
            DebugError(ENG_FUNC, "Invalid character %d in link at %d", (int)c, (int)i);
            return false;
        }
    }
    // The file name follows the last '/', which must come after the host.
    const char *host = link + schemeLength;
    const char *slash = strrchr(host, '/');
    if (!slash || slash == host || strchr(host, '/') == nullptr)
    {
        DebugError(ENG_FUNC, "Invalid link name <%s>", link);
        return false;
    }
    const char *name = slash + 1;
    size_t nameLength = strlen(name);
    bool plain = nameLength > 0 && nameLength < UPDATER_FILE_NAME_SIZE && nameLength < fileNameSize && name[0] != '.';
    for (size_t i = 0; plain && i < nameLength; i++)
        plain = IsFileNameCharacter(name[i]);
    if (!plain)
    {
        DebugError(ENG_FUNC, "Invalid file name <%.80s> in link", name);
        return false;
    }
    EngSafeStrcpy(fileName, name, fileNameSize);
    return true;
}
