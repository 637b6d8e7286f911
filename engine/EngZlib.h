// One-shot zlib compression and decompression, the chains that put them together with
// Blowfish, and the base64 encoder with the program's URL-safe substitutions.
// Every returned buffer is a new EngMalloc block with a NUL after the data (EngFree it).
#pragma once

// Compresses into the caller's buffer: on entry *destinationLength is its capacity, on
// success the compressed length. A negative level means 9; gzip picks the gzip wrapper
// instead of the zlib one.
bool EngZlibDeflateData(const char *source, unsigned int sourceLength, char *destination,
                        unsigned int *destinationLength, int level, bool gzip);
// The decompressed data, or NULL. Output beyond 100 times the source length (and beyond
// the first 1024 bytes) is refused as a "buffer overrun".
char *EngZlibInflateData(const char *source, unsigned int sourceLength, unsigned int *outputLength, bool gzip);

// Blowfish-encrypts a copy of the data (n >= 8) with the key, then compresses it (level 9).
char *EngZlibEncryptAndCompressData(const char *key, const void *data, unsigned int n, unsigned int *outputLength);
// The reverse of EngZlibEncryptAndCompressData; outputLength may be NULL.
char *EngZlibUncompressDataAndDecrpytIt(const char *key, const void *data, unsigned int n,
                                        unsigned int *outputLength);
// The prefix (its first prefixLength characters, fewer when the text is shorter) followed by
// the URL-safe base64 text of the encrypted, compressed data. `unused` has no effect.
char *EngZlibEncryptCompressAndEncodeToBase64Data(const char *key, const void *data, unsigned int n, bool unused,
                                                  unsigned int prefixLength, const char *prefix);
// In place: '+' -> '-', '/' -> '.', '=' -> '_'. NULL or empty text is left alone.
void EngZlibMakeBase64UrlSafe(char *text);

// Ends the module's run: the once-per-run note of a different zlib version may be logged
// again. The core's shut-down (EngMainShutdown) calls it.
void EngZlibShutdown();

// Standard base64 (RFC 4648 alphabet, "=" padding); stateless.
class Base64Encoder
{
public:
    // 4 x ceil(n / 3).
    int GetEncodedLength(int n) const;
    // 0 when n is a multiple of 3, else 3 - n mod 3.
    int GetPadCount(int n) const;
    // Writes GetEncodedLength(n) characters and no terminator; nothing for NULL or n <= 0.
    void Encode(const unsigned char *source, int n, char *destination) const;
};
