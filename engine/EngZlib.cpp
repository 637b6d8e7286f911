// One-shot zlib wrappers, the Blowfish + zlib + base64 chains and the base64 encoder.
// The program was made against zlib 1.2.5; any 1.x works, a different one is noted once.
#include "EngZlib.h"

#include <zlib.h>

#include <cstdint>
#include <cstring>

#include "EngDebug.h"
#include "EngEncryption.h"
#include "EngMemory.h"

static const char s_builtZlibVersion[] = "1.2.5";

enum
{
    INFLATE_ROUND_SIZE = 1024,
    INFLATE_MAX_EXPANSION = 100, // output may be at most this many times the source
    CHAIN_LEVEL = 9,
};

static struct
{
    bool versionWarned; // the "different zlib version" note goes to the log once per run
} s_zlib = {false};

void EngZlibShutdown()
{
    s_zlib.versionWarned = false;
}

// A running zlib of another major version cannot read our data; 1.x only differs in detail.
static bool CheckZlibVersion(const char *function, const char *incompatibleFormat)
{
    const char *running = zlibVersion();
    if (!running || running[0] != '1')
    {
        DebugError(function, incompatibleFormat, running ? running : "", s_builtZlibVersion);
        return false;
    }
    if (strcmp(running, s_builtZlibVersion) != 0 && !s_zlib.versionWarned)
    {
        s_zlib.versionWarned = true;
        DebugError(function, "warning: different zlib version (%s vs %s)", running, s_builtZlibVersion);
    }
    return true;
}

bool EngZlibDeflateData(const char *source, unsigned int sourceLength, char *destination,
                        unsigned int *destinationLength, int level, bool gzip)
{
    if (!destinationLength || (!source && sourceLength) || (!destination && *destinationLength))
    {
        DebugErrorCode(ENG_FUNC, EngFourCC("BAPA"));
        return false;
    }
    if (!CheckZlibVersion(ENG_FUNC, "incopatible zlib versions (%s vs %s)"))
        return false;
    if (level < 0)
        level = 9;

    z_stream stream;
    memset(&stream, 0, sizeof(stream));
    int result = gzip ? deflateInit2(&stream, level, Z_DEFLATED, 31, 8, Z_DEFAULT_STRATEGY)
                      : deflateInit(&stream, level);
    if (result != Z_OK)
    {
        DebugError(ENG_FUNC, "deflateInit() error %d", result);
        return false;
    }
    unsigned int capacity = *destinationLength;
    stream.next_in = (Bytef *)source;
    stream.avail_in = sourceLength;
    stream.next_out = (Bytef *)destination;
    stream.avail_out = capacity;
    result = deflate(&stream, Z_FINISH);
    if (result == Z_STREAM_END && stream.avail_in == 0)
    {
        int endResult = deflateEnd(&stream);
        if (endResult != Z_OK)
        {
            DebugError(ENG_FUNC, "deflateEnd() error: %d", endResult);
            return false;
        }
        if (stream.total_out > capacity)
        {
            DebugError(ENG_FUNC, "deflate() internal error 2");
            return false;
        }
        *destinationLength = (unsigned int)stream.total_out;
        return true;
    }
    if (result == Z_STREAM_END)
        DebugError(ENG_FUNC, "deflate() internal error 1");
    // Z_OK: the output filled up; Z_BUF_ERROR: there was no output space at all.
    else if (result == Z_OK || result == Z_BUF_ERROR)
        DebugError(ENG_FUNC, "out buffer not big enough");
    else
        DebugError(ENG_FUNC, "deflate() error %d", result);
    deflateEnd(&stream);
    return false;
}

char *EngZlibInflateData(const char *source, unsigned int sourceLength, unsigned int *outputLength, bool gzip)
{
    if (outputLength)
        *outputLength = 0;
    if (!source && sourceLength)
    {
        DebugErrorCode(ENG_FUNC, EngFourCC("BAPA"));
        return nullptr;
    }
    if (!CheckZlibVersion(ENG_FUNC, "incompatible zlib versions (%s vs %s)"))
        return nullptr;

    z_stream stream;
    memset(&stream, 0, sizeof(stream));
    stream.next_in = (Bytef *)source;
    stream.avail_in = sourceLength;
    int result = gzip ? inflateInit2(&stream, 31) : inflateInit(&stream);
    if (result != Z_OK)
    {
        DebugError(ENG_FUNC, "inflateInit() error %d", result);
        return nullptr;
    }
    char *buffer = nullptr;
    const uint64_t limit = (uint64_t)sourceLength * INFLATE_MAX_EXPANSION;
    for (uint64_t round = 1;; round++)
    {
        uint64_t size = (uint64_t)INFLATE_ROUND_SIZE * round;
        char *grown = buffer ? (char *)EngRealloc(buffer, (size_t)size + 1, ENG_FUNC)
                             : (char *)EngMalloc((size_t)size + 1, ENG_FUNC, false);
        if (!grown)
            break;
        buffer = grown;
        stream.next_out = (Bytef *)(buffer + size - INFLATE_ROUND_SIZE);
        stream.avail_out = INFLATE_ROUND_SIZE;
        result = inflate(&stream, Z_FINISH);
        if (result == Z_BUF_ERROR)
        {
            if (size > limit)
            {
                DebugError(ENG_FUNC, "buffer overrun");
                break;
            }
            continue;
        }
        if (result == Z_STREAM_END && stream.avail_in == 0)
        {
            unsigned int total = (unsigned int)stream.total_out;
            int endResult = inflateEnd(&stream);
            if (endResult != Z_OK)
            {
                DebugError(ENG_FUNC, "inflateEnd() error: %d", endResult);
                EngFree(buffer, true, ENG_FUNC);
                return nullptr;
            }
            buffer[total] = 0;
            if (outputLength)
                *outputLength = total;
            return buffer;
        }
        if (result == Z_STREAM_END)
            DebugError(ENG_FUNC, "inflate() internal error 1");
        else if (result == Z_OK)
            DebugError(ENG_FUNC, "out buffer not big enough");
        else
            DebugError(ENG_FUNC, "inflate() error %d [%s]", result, stream.msg ? stream.msg : "");
        break;
    }
    inflateEnd(&stream);
    if (buffer)
        EngFree(buffer, true, ENG_FUNC);
    return nullptr;
}

// The checks every chain makes first, reported under the chain's name.
static bool CheckChainArguments(const char *function, const char *key, const void *data, unsigned int n)
{
    if (!key)
    {
        DebugError(function, "No cipher");
        return false;
    }
    if (!data || n == 0)
    {
        DebugError(function, "No data.");
        return false;
    }
    return true;
}

// The shared first steps of the chains: a NUL-terminated, Blowfish-encrypted copy of the
// data, compressed at level 9 into a buffer zlib's bound says is always large enough.
static char *EncryptAndCompress(const char *function, const char *key, const void *data, unsigned int n,
                                unsigned int *compressedLength)
{
    char *copy = (char *)EngMalloc((size_t)n + 1, function, false);
    if (!copy)
        return nullptr;
    memcpy(copy, data, n);
    copy[n] = 0;
    if (!EngEncryptionEncryptDataUsingBlowfishEncryption(key, copy, n))
    {
        DebugError(function, "Could not encrpyt data.");
        EngFree(copy, true, function);
        return nullptr;
    }
    unsigned int capacity = (unsigned int)compressBound(n);
    char *compressed = (char *)EngMalloc((size_t)capacity + 1, function, false);
    if (!compressed)
    {
        EngFree(copy, true, function);
        return nullptr;
    }
    *compressedLength = capacity;
    bool deflated = EngZlibDeflateData(copy, n, compressed, compressedLength, CHAIN_LEVEL, false);
    EngFree(copy, true, function);
    if (!deflated)
    {
        DebugError(function, "Could not delfate data.");
        EngFree(compressed, true, function);
        return nullptr;
    }
    compressed[*compressedLength] = 0;
    return compressed;
}

char *EngZlibEncryptAndCompressData(const char *key, const void *data, unsigned int n, unsigned int *outputLength)
{
    if (!CheckChainArguments(ENG_FUNC, key, data, n))
        return nullptr;
    if (!outputLength)
    {
        DebugErrorCode(ENG_FUNC, EngFourCC("BAPA"));
        return nullptr;
    }
    return EncryptAndCompress(ENG_FUNC, key, data, n, outputLength);
}

char *EngZlibUncompressDataAndDecrpytIt(const char *key, const void *data, unsigned int n,
                                        unsigned int *outputLength)
{
    if (outputLength)
        *outputLength = 0;
    if (!CheckChainArguments(ENG_FUNC, key, data, n))
        return nullptr;
    unsigned int length = 0;
    char *plain = EngZlibInflateData((const char *)data, n, &length, false);
    if (!plain)
    {
        DebugError(ENG_FUNC, "Could not inflate data.");
        return nullptr;
    }
    if (!EngEncryptionDecryptDataUsingBlowfishEncryption(key, plain, length))
    {
        DebugError(ENG_FUNC, "Could not decrpyt data.");
        EngFree(plain, true, ENG_FUNC);
        return nullptr;
    }
    if (outputLength)
        *outputLength = length;
    return plain;
}

char *EngZlibEncryptCompressAndEncodeToBase64Data(const char *key, const void *data, unsigned int n, bool unused,
                                                  unsigned int prefixLength, const char *prefix)
{
    if (!CheckChainArguments(ENG_FUNC, key, data, n))
        return nullptr;
    if ((prefixLength > 0 && !prefix) || (prefixLength == 0 && prefix))
    {
        DebugErrorCode(ENG_FUNC, EngFourCC("BAPA"));
        return nullptr;
    }
    unsigned int compressedLength = 0;
    char *compressed = EncryptAndCompress(ENG_FUNC, key, data, n, &compressedLength);
    if (!compressed)
        return nullptr;

    Base64Encoder encoder;
    int encodedLength = encoder.GetEncodedLength((int)compressedLength);
    if (encodedLength <= 0)
    {
        DebugError(ENG_FUNC, "No encoded data.");
        EngFree(compressed, true, ENG_FUNC);
        return nullptr;
    }
    // A prefix text shorter than the length given is copied up to its end, never beyond.
    size_t prefixCopied = prefix ? strnlen(prefix, prefixLength) : 0;
    char *text = (char *)EngMalloc(prefixCopied + (size_t)encodedLength + 1, ENG_FUNC, false);
    if (!text)
    {
        EngFree(compressed, true, ENG_FUNC);
        return nullptr;
    }
    if (prefixCopied)
        memcpy(text, prefix, prefixCopied);
    encoder.Encode((const unsigned char *)compressed, (int)compressedLength, text + prefixCopied);
    text[prefixCopied + encodedLength] = 0;
    EngFree(compressed, true, ENG_FUNC);
    EngZlibMakeBase64UrlSafe(text + prefixCopied);
    return text;
}

void EngZlibMakeBase64UrlSafe(char *text)
{
    if (!text)
        return;
    for (char *at = text; *at; at++)
    {
        if (*at == '+')
            *at = '-';
        else if (*at == '/')
            *at = '.';
        else if (*at == '=')
            *at = '_';
    }
}

// ---- Base64 ---------------------------------------------------------------------------

static const char s_base64Alphabet[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";

int Base64Encoder::GetEncodedLength(int n) const
{
    return n <= 0 ? 0 : 4 * ((n + 2) / 3);
}

int Base64Encoder::GetPadCount(int n) const
{
    return n % 3 == 0 ? 0 : 3 - n % 3;
}

void Base64Encoder::Encode(const unsigned char *source, int n, char *destination) const
{
    if (!source || n <= 0 || !destination)
        return;
    for (int at = 0; at < n; at += 3)
    {
        int left = n - at;
        unsigned b0 = source[at];
        unsigned b1 = left > 1 ? source[at + 1] : 0;
        unsigned b2 = left > 2 ? source[at + 2] : 0;
        *destination++ = s_base64Alphabet[b0 >> 2];
        *destination++ = s_base64Alphabet[((b0 & 3) << 4) | (b1 >> 4)];
        *destination++ = left > 1 ? s_base64Alphabet[((b1 & 15) << 2) | (b2 >> 6)] : '=';
        *destination++ = left > 2 ? s_base64Alphabet[b2 & 63] : '=';
    }
}
