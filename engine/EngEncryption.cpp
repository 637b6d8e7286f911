// AES-128 in counter mode through libtomcrypt under the one program-wide key, and the
// encrypted-file helpers. The counter block of each encryption comes from the system's
// random source; the keystream is libtomcrypt's little-endian counter mode.
#include "EngEncryption.h"

#include <tomcrypt.h>

#include <cstring>

#include "EngDebug.h"
#include "EngFile.h"
#include "EngMemory.h"
#include "EngMisc.h"

enum
{
    ENCRYPTION_KEY_SIZE = 16,
    ENCRYPTION_COUNTER_SIZE = 16,
};

static struct EngEncryptionState
{
    bool setup;
    bool cipherRegistered;
    unsigned char key[ENCRYPTION_KEY_SIZE];
} s_encryption = {false, false, {0}};

bool EngEncryptionInit(const char *password)
{
    size_t length = password ? strlen(password) : 0;
    if (length == 0 || length > ENCRYPTION_KEY_SIZE)
    {
        DebugError(ENG_FUNC, "Invalid password");
        return false;
    }
    memset(s_encryption.key, 0, sizeof(s_encryption.key));
    memcpy(s_encryption.key, password, length);
    if (register_cipher(&aes_desc) < 0)
    {
        DebugError(ENG_FUNC, "Error registering cipher.");
        return false;
    }
    s_encryption.cipherRegistered = true;
    s_encryption.setup = true;
    return true;
}

void EngEncryptionShutdown()
{
    memset(s_encryption.key, 0, sizeof(s_encryption.key));
    s_encryption.setup = false;
}

void *EngEncryptionEncrypt(const void *data, unsigned int n)
{
    if (!s_encryption.setup)
    {
        DebugError(ENG_FUNC, "Encryption not setup");
        return nullptr;
    }
    if (!data || n == 0)
    {
        DebugError(ENG_FUNC, "Invalid data");
        return nullptr;
    }
    unsigned char *block = (unsigned char *)EngMalloc((size_t)n + ENCRYPTION_COUNTER_SIZE, ENG_FUNC, false);
    if (!block)
    {
        DebugErrorCode(ENG_FUNC, EngFourCC("OMEM"));
        return nullptr;
    }
    // A fresh counter block from the system's random source for every encryption.
    const char *randomError = "";
    if (!EngMiscGetSystemRandomBytes_PC(block, ENCRYPTION_COUNTER_SIZE, &randomError))
    {
        DebugError(ENG_FUNC, "Could not read the system's random source: %s", randomError);
        EngFree(block, true, ENG_FUNC);
        return nullptr;
    }
    symmetric_CTR ctr;
    int error = ctr_start(find_cipher("aes"), block, s_encryption.key, ENCRYPTION_KEY_SIZE, 0,
                          CTR_COUNTER_LITTLE_ENDIAN, &ctr);
    if (error != CRYPT_OK)
    {
        DebugError(ENG_FUNC, "ctr_start error: %s", error_to_string(error));
        EngFree(block, true, ENG_FUNC);
        return nullptr;
    }
    error = ctr_encrypt((const unsigned char *)data, block + ENCRYPTION_COUNTER_SIZE, n, &ctr);
    if (error != CRYPT_OK)
    {
        DebugError(ENG_FUNC, "ctr_encrypt error: %s", error_to_string(error));
        ctr_done(&ctr);
        EngFree(block, true, ENG_FUNC);
        return nullptr;
    }
    error = ctr_done(&ctr);
    if (error != CRYPT_OK)
    {
        DebugError(ENG_FUNC, "ctr_done error: %s", error_to_string(error));
        EngFree(block, true, ENG_FUNC);
        return nullptr;
    }
    return block;
}

bool EngEncryptionDecrypt(void *block, unsigned int n)
{
    if (!s_encryption.setup)
    {
        DebugError(ENG_FUNC, "Encryption not setup");
        return false;
    }
    if (!block || n == 0)
    {
        DebugError(ENG_FUNC, "Invalid data");
        return false;
    }
    unsigned char *bytes = (unsigned char *)block;
    // The library must not read and write overlapping buffers: decrypt into a separate
    // one, then move the plaintext to the front.
    unsigned char *plain = (unsigned char *)EngMalloc(n, ENG_FUNC, false);
    if (!plain)
    {
        DebugErrorCode(ENG_FUNC, EngFourCC("OMEM"));
        return false;
    }
    symmetric_CTR ctr;
    const char *failed = nullptr;
    int error = ctr_start(find_cipher("aes"), bytes, s_encryption.key, ENCRYPTION_KEY_SIZE, 0,
                          CTR_COUNTER_LITTLE_ENDIAN, &ctr);
    if (error != CRYPT_OK)
        failed = "ctr_start";
    if (!failed && (error = ctr_setiv(bytes, ENCRYPTION_COUNTER_SIZE, &ctr)) != CRYPT_OK)
        failed = "ctr_setiv";
    if (!failed && (error = ctr_decrypt(bytes + ENCRYPTION_COUNTER_SIZE, plain, n, &ctr)) != CRYPT_OK)
        failed = "ctr_decrypt";
    if (!failed && (error = ctr_done(&ctr)) != CRYPT_OK)
        failed = "ctr_done";
    if (failed)
    {
        DebugError(ENG_FUNC, "%s error: %s", failed, error_to_string(error));
        EngFree(plain, true, ENG_FUNC);
        return false;
    }
    memcpy(bytes, plain, n);
    bytes[n] = 0;
    EngFree(plain, true, ENG_FUNC);
    return true;
}

// ---- Files --------------------------------------------------------------------------------

bool EngEncryptionEncryptAndWriteToFile(const char *fileName, const void *data, unsigned int n)
{
    void *block = EngEncryptionEncrypt(data, n);
    if (!block)
        return false;
    EngFile file;
    bool written = file.CreateForWriting(fileName, false) && file.Write(block, n + ENCRYPTION_COUNTER_SIZE);
    written = file.Close() && written;
    EngFree(block, true, ENG_FUNC);
    return written;
}

bool EngEncryptionReadFromFileAndDecrypt(const char *fileName, void *out, unsigned int n)
{
    if (!fileName || !fileName[0] || !out || n == 0 || n > UINT32_MAX - ENCRYPTION_COUNTER_SIZE - 1)
        return false;
    uint32_t expected = n + ENCRYPTION_COUNTER_SIZE;
    // The size is asked quietly: a missing file is the caller's business to report.
    EngFile file;
    if (!file.OpenForReadingQuietly(fileName, false) || file.GetSize() != expected)
    {
        DebugError("EERFD", "Bad size in file <%s>", fileName);
        return false;
    }
    unsigned char *block = (unsigned char *)EngMalloc((size_t)expected + 1, ENG_FUNC, false);
    if (!block)
    {
        DebugErrorCode(ENG_FUNC, EngFourCC("OMEM"));
        return false;
    }
    bool done = file.Read(block, expected, true) && EngEncryptionDecrypt(block, n);
    file.Close();
    if (done)
        memcpy(out, block, n);
    EngFree(block, true, ENG_FUNC);
    return done;
}

bool EngEncryptionCheckFileSize(const char *fileName, unsigned int n)
{
    EngFile file;
    if (!file.OpenForReading(fileName, false, true))
        return false;
    return file.GetSize() == (uint32_t)n + ENCRYPTION_COUNTER_SIZE;
}
