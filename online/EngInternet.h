// Blocking URL reads for short replies (the version check, the internet test, the
// puzzle upload): the calling thread waits for the whole reply. Also the error details
// shared with the background reader.
#pragma once
#include <cstdint>

// A session or an opened address (opaque).
struct EngInternetHandle;

// The engine's connection check; always true on this platform (a missing network shows
// as a failed connect instead).
bool EngInternetIsConnected();

// Reads `url` into buffer (bufferSize bytes, zero-terminated; at most bufferSize - 1 bytes
// of the reply). errorText (optional, errorTextSize bytes) receives errorPrefix, " - " and
// the reason of a failure, and is emptied on success. A negative time-out means 10 s; 0
// reads without a deadline. 1 on success, 0 on failure. Same as
// EngInternetConnectAndReadURL.
int8_t EngInternetReadURL(const char *url, char *buffer, uint32_t bufferSize, uint32_t *bytesRead, char *errorText,
                          int errorTextSize, const char *errorPrefix, int32_t timeoutSeconds);
int8_t EngInternetConnectAndReadURL(const char *url, char *buffer, uint32_t bufferSize, uint32_t *bytesRead,
                                    char *errorText, int errorTextSize, const char *errorPrefix,
                                    int32_t timeoutSeconds);

// A session sending `agent` as its name; NULL (reported) on failure.
EngInternetHandle *EngInternetInitSession(const char *agent);
// Connect, send and receive time-outs of a session, in seconds.
void EngInternetSetTimeouts(EngInternetHandle *session, int32_t seconds);
// Opens the address for reading (always reloaded); NULL (reported) on failure. allowUi
// is accepted for callers that ask for it; this platform never shows a dialog.
EngInternetHandle *EngInternetOpenConnectionToUrl(EngInternetHandle *session, const char *url, bool reload,
                                                  bool allowUi);
// Reads the reply of an opened address from `offset` in chunks of at most 511 bytes into
// buffer (zero-terminated). A chunk that would fill the buffer ends the read with a
// warning and is dropped; true. With a nonzero time-out, false once the time has passed.
bool EngInternetReadOpenUrl(EngInternetHandle *connection, char *buffer, uint32_t bufferSize, uint32_t offset,
                            uint32_t *bytesRead, int32_t timeoutSeconds);
// Closes a session or an opened address; NULL does nothing. Close addresses first.
void EngInternetCloseHandle(EngInternetHandle *handle);

// Reports the last internet error of the calling thread (code 0) or `code` under `name`:
// "Error code: %d => Message: %s", with the server's answer appended for code 12003.
void EngInternetCheckError(const char *name, int32_t code);
// The same details as one text: "<context>: Error code: %d => Message: %s".
void EngInternetFormatError(const char *context, int32_t code, char *out, int size);
