// The background reader's connection over the internet stand-in: runs on the worker
// thread only. Failures are handed back as text; the worker decides what to log.
#include "EngInternet.h"
#include "EngInternetThread.h"
#include "PlatInet.h"

#include <cstdio>

#include "EngDebug.h"
#include "EngMemory.h"

EngInternetThread_PC::EngInternetThread_PC(const char *ownerName, const std::atomic<bool> *flag)
    : abortFlag(flag), session(nullptr), stream(nullptr), timeoutMilliseconds(0), url(nullptr), openState(0),
      readPhase(0), closing(0)
{
    EngSafeStrcpy(name, ownerName ? ownerName : "", sizeof(name));
}

EngInternetThread_PC::~EngInternetThread_PC()
{
    Close();
}

bool EngInternetThread_PC::PrepareForReading(const char *address, int32_t seconds)
{
    if (!address || !*address)
    {
        DebugError(ENG_FUNC, "No URL");
        return false;
    }
    EngFree(url, false, "EngInternetThread_PC::PrepareForReading");
    url = EngMallocStringFromString(address, true, "EngInternetThread_PC::PrepareForReading");
    if (!url)
        return false;
    timeoutMilliseconds = seconds > 0 ? (uint32_t)seconds * 1000u : 0;
    readPhase = 0;
    closing = 0;
    openState = 1;
    return true;
}

namespace
{

bool Aborted(const std::atomic<bool> *flag)
{
    return flag && flag->load();
}

} // namespace

int32_t EngInternetThread_PC::ReadFromOpenStream(char *data, uint32_t size, uint32_t *n, char *error, int errorSize)
{
    if (error && errorSize > 0)
        error[0] = 0;
    if (!data || !size || !n)
    {
        DebugError(ENG_FUNC, "Parameters error");
        return ENG_INTERNET_READ_FAILED;
    }
    *n = 0;
    if (openState == 1)
    {
        if (session || stream || !url)
        {
            DebugErrorCode(ENG_FUNC, EngFourCC("IERR"));
            return ENG_INTERNET_READ_FAILED;
        }
        session = PlatInetOpenSession("EngInternetThread_PC::PrepareForReading");
        if (!session)
        {
            EngInternetFormatError("Error trying to initialise internet session", PlatInetGetErrorCode(), error,
                                   errorSize);
            return ENG_INTERNET_READ_FAILED;
        }
        PlatInetSetTimeouts(session, timeoutMilliseconds, timeoutMilliseconds, timeoutMilliseconds);
        PlatInetSetAbortFlag(session, abortFlag);
        stream = PlatInetOpenUrl(session, url);
        if (!stream)
        {
            int32_t code = PlatInetGetErrorCode();
            PlatInetCloseSession(session);
            session = nullptr;
            if (closing || Aborted(abortFlag) || code == PLAT_INET_ERROR_CANCELLED)
                return ENG_INTERNET_READ_CANCELLED;
            EngInternetFormatError("Problem connecting to internet site", code, error, errorSize);
            return ENG_INTERNET_READ_FAILED;
        }
        openState = 2;
        return ENG_INTERNET_READ_READING;
    }
    if (openState != 2)
    {
        DebugError(ENG_FUNC, "Internal Error [%d]", openState);
        return ENG_INTERNET_READ_FAILED;
    }
    if (!session)
    {
        DebugError(ENG_FUNC, "Not setup properly");
        return ENG_INTERNET_READ_FAILED;
    }
    if (!stream)
        return ENG_INTERNET_READ_READING;
    switch (readPhase)
    {
    case 0:
        readPhase = 1;
        return ENG_INTERNET_READ_READING;
    case 1:
    {
        uint32_t count = 0;
        if (!PlatInetReadStream(stream, data, size, &count))
        {
            int32_t code = PlatInetGetErrorCode();
            if (closing || Aborted(abortFlag) || code == PLAT_INET_ERROR_CANCELLED)
                return ENG_INTERNET_READ_CANCELLED;
            EngInternetFormatError("Problem reading from internet site", code, error, errorSize);
            return ENG_INTERNET_READ_FAILED;
        }
        *n = count;
        if (count > 0)
            return ENG_INTERNET_READ_READING;
        readPhase = 2;
        return ENG_INTERNET_READ_DONE;
    }
    case 2:
        readPhase = 1;
        return closing ? ENG_INTERNET_READ_CANCELLED : ENG_INTERNET_READ_READING;
    default:
        DebugError(ENG_FUNC, "Bad wfd value %d.", readPhase);
        return ENG_INTERNET_READ_FAILED;
    }
}

void EngInternetThread_PC::Close()
{
    closing = 1;
    PlatInetCloseStream(stream);
    stream = nullptr;
    PlatInetCloseSession(session);
    session = nullptr;
    EngFree(url, false, "EngInternetThread_PC::Close");
    url = nullptr;
    openState = 0;
    readPhase = 0;
}
