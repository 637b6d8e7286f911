// The version-check script's reply and the installer link it may carry: pure text work,
// no network, so that every reply the server could send can be tried on it.
#pragma once
#include <cstddef>
#include <cstdint>

enum
{
    UPDATER_REPLY_SIZE = 2048,   // the reply as read: at most 2,047 bytes
    UPDATER_LINK_SIZE = 256,     // a download link: at most 255 characters
    UPDATER_FILE_NAME_SIZE = 64, // an installer's file name: at most 63 characters
};

struct _UpdaterReply
{
    uint8_t newVersion;               // the message says "is out of date."
    char message[UPDATER_REPLY_SIZE]; // what the player is shown (never the link part)
    char link[UPDATER_LINK_SIZE];     // "" when the reply names no (usable) link
};

// Reads `size` bytes of a reply (zero bytes end it early). False (logged) for an error
// reply: empty, or beginning with " X". Otherwise the message is everything before
// "#DL:<"; the link is the text after it up to '>' (or the end), kept only when it has
// at least six characters and fits UPDATER_LINK_SIZE - 1.
bool UpdaterParseReply(const char *data, uint32_t size, _UpdaterReply *out);

// Whether `link` may be downloaded: an https address (or http on 127.0.0.1, the
// loopback server of the tests) whose path ends in a plain file name: 1 to 63 letters,
// digits, '.', '_', '-' or '+', not beginning with '.'. The name goes to fileName
// (fileNameSize bytes). False (logged) otherwise.
bool UpdaterGetDownloadFileName(const char *link, char *fileName, size_t fileNameSize);
