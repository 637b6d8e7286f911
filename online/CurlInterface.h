// Synchronous transfers into a fixed-size memory buffer: a GET, or a POST when data is
// given. One process-wide set-up of the transfer library serves every transfer; it is
// never cleaned up while a transfer runs. Transfers run on the calling thread; another
// thread may ask a running one to stop (ExitWithWait), which aborts it promptly.
#pragma once
#include <atomic>
#include <cstdint>

#include "EngThread.h"

// Sets the transfer library up for the process ("Already setup." and true when it is).
bool CurlInterface_InitCurl();
bool CurlInterface_IsCurlSetup();
// Cleans the library up; refused while any transfer or session still runs.
void CurlInterface_CleanupCurl();

class CurlInterface
{
public:
    // `name`: up to 12 characters for log lines ("CurlI" when none); `log`: progress
    // lines in the log.
    CurlInterface(const char *name, bool log);
    ~CurlInterface();
    CurlInterface(const CurlInterface &) = delete;
    CurlInterface &operator=(const CurlInterface &) = delete;

    // Fetches url (+ "?" + query when one is given) into a buffer of bufferSize bytes (at
    // most bufferSize - 1 bytes kept; a longer reply is cut and still succeeds). POSTs
    // postData when it is given with a nonzero postSize. With skipLeadingNewlines a
    // leading "\n\n" or "\n" is not part of the reply. *exited (optional) becomes 1 when
    // the transfer ended because another thread asked it to. True on success.
    bool DownloadFromUrl(const char *url, const char *query, uint32_t bufferSize, const char *postData,
                         uint32_t postSize, bool skipLeadingNewlines, int32_t timeoutSeconds, uint8_t *exited);
    // The reply ("No Data" and NULL when there is none) and its size.
    char *GetDownloadedData();
    uint32_t GetDownloadedSize();

    // Drops the reply; while a transfer runs only asks it to stop.
    void Exit();
    // Asks a running transfer to stop, waits for it (bounded), then Exit.
    void ExitWithWait();
    void CleanupHandles();

private:
    bool DoDownloadFromUrl(const char *url, const char *query, uint32_t bufferSize, const char *postData,
                           uint32_t postSize, bool skipLeadingNewlines, int32_t timeoutSeconds, uint8_t *exited);
    static size_t WriteDataFunctionCB_Static(void *user, const char *data, size_t size);
    size_t WriteDataFunctionCB(const char *data, size_t size);
    bool IsValid(const char *function);

    uint8_t ownsGlobalSetup;
    char *buffer;
    uint32_t bytesReceived;
    uint32_t bufferSize;
    uint8_t skipLeadingNewlines;
    std::atomic<bool> performing;
    char name[13];
    uint8_t log;
    CurlInterface *self;  // equal to this while the object is valid
    char setupCheck;      // '{' while the object is valid
    EngMutex mutex;
    std::atomic<bool> exiting;
};
