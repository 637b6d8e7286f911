// AES-128 in counter mode through libtomcrypt under the one program-wide key, and the
// encrypted-file helpers. The counter block of each encryption comes from the system's
// random source; the keystream is libtomcrypt's little-endian counter mode.
#include "EngEncryption.h"

#include <sys/random.h>
#include <tomcrypt.h>

#include <cerrno>
#include <cstring>

#include "EngDebug.h"
#include "EngMemory.h"

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

// Fills the counter block from the system's random source.
static bool MakeCounterBlock(unsigned char *counter)
{
    size_t have = 0;
    while (have < ENCRYPTION_COUNTER_SIZE)
    {
        ssize_t got = getrandom(counter + have, ENCRYPTION_COUNTER_SIZE - have, 0);
        if (got < 0)
        {
            if (errno == EINTR)
                continue;
            return false;
        }
        have += (size_t)got;
    }
    return true;
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
    if (!MakeCounterBlock(block))
    {
        DebugError(ENG_FUNC, "Could not read the system's random source");
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
