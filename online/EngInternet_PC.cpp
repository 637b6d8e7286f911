// Blocking URL reads over the internet stand-in, and the error details every internet
// caller reports.
#include "EngInternet.h"
#include "PlatInet.h"

#include <cstdio>
#include <cstring>
#include <new>

#include "EngDebug.h"
#include "EngMemory.h"
#include "EngMisc.h"

struct EngInternetHandle
{
    PlatInetSession *session; // a session handle
    PlatInetStream *stream;   // an opened address (its session stays with the caller)
};

namespace
{

const int32_t kDefaultTimeoutSeconds = 10;
const uint32_t kChunkBytes = 511;

void AppendError(char *errorText, int errorTextSize, const char *text)
{
    if (errorText && errorTextSize > 0)
        EngSafeStrcat(errorText, text, (size_t)errorTextSize);
}

} // namespace

bool EngInternetIsConnected()
{
    return true;
}

void EngInternetFormatError(const char *context, int32_t code, char *out, int size)
{
    if (!out || size < 1)
        return;
    if (code == 0)
        code = PlatInetGetErrorCode();
    const char *detail = PlatInetGetErrorText();
    char server[160] = "";
    if (code == PLAT_INET_ERROR_SERVER_TEXT && PlatInetGetServerText()[0])
        snprintf(server, sizeof(server), " [%s]", PlatInetGetServerText());
    snprintf(out, (size_t)size, "%s%sError code: %d => Message: %s%s%s%s", context ? context : "",
             context && *context ? ": " : "", code, PlatInetGetErrorCodeText(code), server, detail[0] ? " - " : "",
             detail);
}

void EngInternetCheckError(const char *name, int32_t code)
{
    char text[400];
    EngInternetFormatError(nullptr, code, text, sizeof(text));
    DebugError(name ? name : ENG_FUNC, "%s", text);
}

EngInternetHandle *EngInternetInitSession(const char *agent)
{
    if (!agent || !*agent)
    {
        DebugError(ENG_FUNC, "No session name");
        return nullptr;
    }
    PlatInetSession *session = PlatInetOpenSession(agent);
    if (!session)
    {
        EngInternetCheckError("InternetOpenA", 0);
        return nullptr;
    }
    EngInternetHandle *handle = new (std::nothrow) EngInternetHandle{session, nullptr};
    if (!handle)
    {
        PlatInetCloseSession(session);
        DebugErrorCode(ENG_FUNC, EngFourCC("OMEM"));
    }
    return handle;
}

void EngInternetSetTimeouts(EngInternetHandle *session, int32_t seconds)
{
    if (!session || !session->session)
        return;
    uint32_t milliseconds = seconds > 0 ? (uint32_t)seconds * 1000u : 0;
    PlatInetSetTimeouts(session->session, milliseconds, milliseconds, milliseconds);
}

EngInternetHandle *EngInternetOpenConnectionToUrl(EngInternetHandle *session, const char *url, bool reload,
                                                  bool allowUi)
{
    if (!session || !session->session)
    {
        DebugError(ENG_FUNC, "No session exists");
        return nullptr;
    }
    if (!url || !*url)
    {
        DebugError(ENG_FUNC, "No URL specified");
        return nullptr;
    }
    // Every read goes to the server: the stand-in never answers from a cache, so
    // `reload` holds whatever it says.
    PlatInetStream *stream = PlatInetOpenUrl(session->session, url);
    if (!stream)
    {
        EngInternetCheckError("InternetOpenUrlA", 0);
        return nullptr;
    }
    EngInternetHandle *handle = new (std::nothrow) EngInternetHandle{nullptr, stream};
    if (!handle)
    {
        PlatInetCloseStream(stream);
        DebugErrorCode(ENG_FUNC, EngFourCC("OMEM"));
    }
    return handle;
}

bool EngInternetReadOpenUrl(EngInternetHandle *connection, char *buffer, uint32_t bufferSize, uint32_t offset,
                            uint32_t *bytesRead, int32_t timeoutSeconds)
{
    if (bytesRead)
        *bytesRead = 0;
    if (!connection || !connection->stream)
    {
        DebugError(ENG_FUNC, "No connection exists");
        return false;
    }
    if (!buffer || !bufferSize)
    {
        DebugError(ENG_FUNC, "Invalid parameters");
        return false;
    }
    buffer[0] = 0;
    uint32_t chunkSize = bufferSize < kChunkBytes ? bufferSize : kChunkBytes;
    double deadline = EngMiscGetClock_PC() + timeoutSeconds;
    uint32_t total = 0;
    uint32_t skip = offset;
    char block[kChunkBytes + 1];
    while (true)
    {
        PlatInetQueryDataAvailable(connection->stream);
        uint32_t count = 0;
        if (!PlatInetReadStream(connection->stream, block, chunkSize, &count))
        {
            EngInternetCheckError("InternetReadFile", 0);
            if (bytesRead)
                *bytesRead = total;
            return false;
        }
        // The bytes before `offset` are read and passed over.
        uint32_t passed = count < skip ? count : skip;
        skip -= passed;
        uint32_t kept = count - passed;
        if (kept > 0)
        {
            if (total + kept >= bufferSize)
            {
                DebugInfo("Warning: Buffer too small to read all data.");
                buffer[total] = 0;
                break;
            }
            memcpy(buffer + total, block + passed, kept);
            total += kept;
            buffer[total] = 0;
        }
        if (timeoutSeconds != 0 && EngMiscGetClock_PC() > deadline)
        {
            DebugError(ENG_FUNC, "Timeout after %d seconds", timeoutSeconds);
            if (bytesRead)
                *bytesRead = total;
            return false;
        }
        if (count == 0)
            break;
    }
    if (bytesRead)
        *bytesRead = total;
    return true;
}

void EngInternetCloseHandle(EngInternetHandle *handle)
{
    if (!handle)
        return;
    PlatInetCloseStream(handle->stream);
    PlatInetCloseSession(handle->session);
    delete handle;
}

int8_t EngInternetReadURL(const char *url, char *buffer, uint32_t bufferSize, uint32_t *bytesRead, char *errorText,
                          int errorTextSize, const char *errorPrefix, int32_t timeoutSeconds)
{
    return EngInternetConnectAndReadURL(url, buffer, bufferSize, bytesRead, errorText, errorTextSize, errorPrefix,
                                        timeoutSeconds);
}

int8_t EngInternetConnectAndReadURL(const char *url, char *buffer, uint32_t bufferSize, uint32_t *bytesRead,
                                    char *errorText, int errorTextSize, const char *errorPrefix,
                                    int32_t timeoutSeconds)
{
    if (bytesRead)
        *bytesRead = 0;
    // The buffer holds what was read so far, also after an early failure: nothing.
    if (buffer && bufferSize > 0)
        buffer[0] = 0;
    if (errorText && errorTextSize > 0)
    {
        errorText[0] = 0;
        if (errorPrefix)
        {
            AppendError(errorText, errorTextSize, errorPrefix);
            AppendError(errorText, errorTextSize, " - ");
        }
    }
    if (!url || !*url)
    {
        AppendError(errorText, errorTextSize, "No URL specified");
        return 0;
    }
    if (!buffer)
    {
        AppendError(errorText, errorTextSize, "Internal Error");
        return 0;
    }
    if (!EngInternetIsConnected())
    {
        AppendError(errorText, errorTextSize, "No connection to the internet found");
        return 0;
    }
    EngInternetHandle *session = EngInternetInitSession("EngInternetConnectAndReadURL");
    if (!session)
    {
        AppendError(errorText, errorTextSize, "Error trying to initialise internet session");
        return 0;
    }
    if (timeoutSeconds < 0)
        timeoutSeconds = kDefaultTimeoutSeconds;
    EngInternetSetTimeouts(session, timeoutSeconds);
    EngInternetHandle *connection = EngInternetOpenConnectionToUrl(session, url, true, false);
    if (!connection)
    {
        AppendError(errorText, errorTextSize, "Problem connecting to internet site");
        EngInternetCloseHandle(session);
        return 0;
    }
    uint32_t count = 0;
    if (bufferSize > 0)
    {
        buffer[0] = 0;
        if (!EngInternetReadOpenUrl(connection, buffer, bufferSize, 0, &count, timeoutSeconds))
        {
            AppendError(errorText, errorTextSize, "Problem communicating with internet site");
            EngInternetCloseHandle(connection);
            EngInternetCloseHandle(session);
            if (bytesRead)
                *bytesRead = count;
            return 0;
        }
        buffer[count < bufferSize ? count : bufferSize - 1] = 0;
    }
    EngInternetCloseHandle(connection);
    EngInternetCloseHandle(session);
    if (bytesRead)
        *bytesRead = count;
    if (errorText && errorTextSize > 0)
        errorText[0] = 0;
    return 1;
}
