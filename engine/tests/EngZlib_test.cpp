#include "EngZlib.h"

#include <gtest/gtest.h>

#include <cstring>
#include <random>
#include <string>
#include <vector>

#include "EngDebug.h"
#include "EngMemory.h"
#include "Testkit.h"

using testkit::TempHomeTest;

namespace
{
const char kKey[] = "ScoreKey2024";

std::string Base64(const std::string &bytes)
{
    Base64Encoder encoder;
    std::string text((size_t)encoder.GetEncodedLength((int)bytes.size()), '?');
    encoder.Encode((const unsigned char *)bytes.data(), (int)bytes.size(), text.data());
    return text;
}

// Reads the program's URL-safe base64 back into bytes.
std::string DecodeUrlSafe(const std::string &text)
{
    static const std::string alphabet = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789-.";
    std::string bytes;
    unsigned bits = 0;
    int count = 0;
    for (char c : text)
    {
        if (c == '_')
            break;
        size_t value = alphabet.find(c);
        if (value == std::string::npos)
            return "<bad character>";
        bits = (bits << 6) | (unsigned)value;
        count += 6;
        if (count >= 8)
        {
            count -= 8;
            bytes += (char)((bits >> count) & 0xFF);
        }
    }
    return bytes;
}

std::string Hex(const char *data, unsigned int n)
{
    std::string text;
    char two[3];
    for (unsigned int i = 0; i < n; i++)
    {
        snprintf(two, sizeof(two), "%02x", (uint8_t)data[i]);
        text += two;
    }
    return text;
}

// Text-like bytes for even sizes, random ones for odd sizes (incompressible input).
std::string Sample(size_t size, std::mt19937 &random)
{
    std::string bytes(size, 0);
    for (size_t i = 0; i < size; i++)
        bytes[i] = size % 2 ? (char)(random() & 0xFF) : "plinx balls "[i % 12];
    return bytes;
}
} // namespace

class ZlibTest : public TempHomeTest
{
};

TEST(Base64, Rfc4648VectorsThenUrlSafe)
{
    struct Row
    {
        std::string in, standard, urlSafe;
    } rows[] = {
        {"", "", ""},
        {"f", "Zg==", "Zg__"},
        {"fo", "Zm8=", "Zm8_"},
        {"foo", "Zm9v", "Zm9v"},
        {"foob", "Zm9vYg==", "Zm9vYg__"},
        {"fooba", "Zm9vYmE=", "Zm9vYmE_"},
        {"foobar", "Zm9vYmFy", "Zm9vYmFy"},
        {"\xfb\xff\xbf", "+/+/", "-.-."},
        {"\xff", "/w==", ".w__"},
    };
    Base64Encoder encoder;
    for (const Row &row : rows)
    {
        SCOPED_TRACE(row.standard);
        std::string text = Base64(row.in);
        EXPECT_EQ(text, row.standard);
        EXPECT_EQ(encoder.GetPadCount((int)row.in.size()), (int)(std::count(text.begin(), text.end(), '=')));
        EngZlibMakeBase64UrlSafe(text.data());
        EXPECT_EQ(text, row.urlSafe);
    }
    EngZlibMakeBase64UrlSafe(nullptr);
}

TEST_F(ZlibTest, DeflateKnownBytesAndInflateBack)
{
    const char text[] = "hello hello hello hello";
    unsigned int n = (unsigned int)strlen(text);
    char out[64];
    unsigned int outLength = sizeof(out);
    ASSERT_TRUE(EngZlibDeflateData(text, n, out, &outLength, 9, false));
    EXPECT_EQ(Hex(out, outLength), "78dacb48cdc9c957c8402701680308b1");

    unsigned int length = 99;
    char *back = EngZlibInflateData(out, outLength, &length, false);
    ASSERT_NE(back, nullptr);
    EXPECT_EQ(length, n);
    EXPECT_STREQ(back, text);
    EngFree(back, true, "test");

    // The gzip wrapper round trips too; a negative level means 9.
    outLength = sizeof(out);
    ASSERT_TRUE(EngZlibDeflateData(text, n, out, &outLength, -1, true));
    EXPECT_EQ((uint8_t)out[0], 0x1f);
    back = EngZlibInflateData(out, outLength, nullptr, true);
    ASSERT_NE(back, nullptr);
    EXPECT_STREQ(back, text);
    EngFree(back, true, "test");
}

TEST_F(ZlibTest, DeflateIntoTooSmallBuffers)
{
    std::string text(300, 'x');
    char out[8];
    for (unsigned int capacity : {0u, 8u})
    {
        SCOPED_TRACE(capacity);
        DebugClearMessages();
        unsigned int outLength = capacity;
        EXPECT_FALSE(EngZlibDeflateData(text.data(), (unsigned int)text.size(), out, &outLength, 9, false));
        EXPECT_TRUE(LogHas("out buffer not big enough"));
    }
}

// The output may grow in 1024-byte rounds up to 100 times the stream's length.
TEST_F(ZlibTest, InflateRoundsAndExpansionLimit)
{
    struct Row
    {
        size_t zeros;
        bool accepted;
    } rows[] = {{1024, true}, {2000, true}, {100000, false}};
    for (const Row &row : rows)
    {
        SCOPED_TRACE(row.zeros);
        std::string plain(row.zeros, '\0');
        std::vector<char> stream(row.zeros);
        unsigned int streamLength = (unsigned int)stream.size();
        ASSERT_TRUE(EngZlibDeflateData(plain.data(), (unsigned int)plain.size(), stream.data(), &streamLength, 9, false));
        ASSERT_EQ(row.accepted, row.zeros <= 100 * streamLength) << "stream of " << streamLength;
        DebugClearMessages();
        unsigned int length = 7;
        char *back = EngZlibInflateData(stream.data(), streamLength, &length, false);
        if (row.accepted)
        {
            ASSERT_NE(back, nullptr);
            EXPECT_EQ(length, row.zeros);
            EXPECT_EQ(memcmp(back, plain.data(), row.zeros), 0);
            EXPECT_EQ(back[row.zeros], 0);
            EngFree(back, true, "test");
        }
        else
        {
            EXPECT_EQ(back, nullptr);
            EXPECT_EQ(length, 0u);
            EXPECT_TRUE(LogHas("buffer overrun"));
        }
    }
}

TEST_F(ZlibTest, InflateRefusesDamagedStreams)
{
    const char garbage[] = "this is not a zlib stream";
    EXPECT_EQ(EngZlibInflateData(garbage, sizeof(garbage), nullptr, false), nullptr);
    EXPECT_TRUE(LogHas("inflate() error"));
    // A stream with data behind its end.
    char out[64];
    unsigned int outLength = sizeof(out) - 4;
    ASSERT_TRUE(EngZlibDeflateData("abcabcabc", 9, out, &outLength, 9, false));
    memcpy(out + outLength, "tail", 4);
    DebugClearMessages();
    EXPECT_EQ(EngZlibInflateData(out, outLength + 4, nullptr, false), nullptr);
    EXPECT_TRUE(LogHas("inflate() internal error 1"));
}

// A run is one set-up of the core: the fixture's (EngMainSetup .. EngMainShutdown).
TEST_F(ZlibTest, VersionWarningOncePerRun)
{
    char out[64];
    for (int i = 0; i < 3; i++)
    {
        unsigned int outLength = sizeof(out);
        ASSERT_TRUE(EngZlibDeflateData("abc", 3, out, &outLength, 9, false));
        free(EngZlibInflateData(out, outLength, nullptr, false));
    }
    int warnings = 0;
    for (int i = 0; i < DebugGetNumMessages(); i++)
        warnings += strstr(DebugGetMessage(i)->text, "warning: different zlib version") != nullptr;
    EXPECT_EQ(warnings, 1);
}

// Every size from 0 to 4096, so every n mod 8 tail and the short inputs that compress badly.
TEST_F(ZlibTest, ChainsRoundTripForEverySize)
{
    std::mt19937 random(42);
    for (size_t size = 0; size <= 4096; size++)
    {
        std::string data = Sample(size, random);
        unsigned int length = 0;
        char *packed = EngZlibEncryptAndCompressData(kKey, data.data(), (unsigned int)size, &length);
        char *encoded = EngZlibEncryptCompressAndEncodeToBase64Data(kKey, data.data(), (unsigned int)size, false, 0,
                                                                     nullptr);
        if (size < 8)
        {
            // Fewer than 8 bytes cannot be encrypted.
            EXPECT_EQ(packed, nullptr) << size;
            EXPECT_EQ(encoded, nullptr) << size;
            continue;
        }
        ASSERT_NE(packed, nullptr) << size;
        ASSERT_NE(encoded, nullptr) << size;
        EXPECT_EQ(strcspn(encoded, "+/="), strlen(encoded)) << size;
        std::string fromText = DecodeUrlSafe(encoded);
        ASSERT_EQ(fromText, std::string(packed, length)) << size;

        unsigned int backLength = 0;
        char *back = EngZlibUncompressDataAndDecrpytIt(kKey, packed, length, &backLength);
        ASSERT_NE(back, nullptr) << size;
        ASSERT_EQ(std::string(back, backLength), data) << size;
        EngFree(back, true, "test");
        EngFree(packed, true, "test");
        EngFree(encoded, true, "test");
    }
}

TEST_F(ZlibTest, ChainedDataIsEncrypted)
{
    std::string data(64, 'A');
    unsigned int length = 0;
    char *packed = EngZlibEncryptAndCompressData(kKey, data.data(), 64, &length);
    ASSERT_NE(packed, nullptr);
    char *plain = EngZlibInflateData(packed, length, nullptr, false);
    ASSERT_NE(plain, nullptr);
    EXPECT_NE(std::string(plain, 64), data);
    EngFree(plain, true, "test");
    // Another key does not give the data back.
    char *wrong = EngZlibUncompressDataAndDecrpytIt("SomeOtherKey", packed, length, nullptr);
    ASSERT_NE(wrong, nullptr);
    EXPECT_NE(std::string(wrong, 64), data);
    EngFree(wrong, true, "test");
    EngFree(packed, true, "test");
}

TEST_F(ZlibTest, PrefixHandling)
{
    const char data[] = "{\"score\":12345}";
    unsigned int n = sizeof(data) - 1;
    struct Row
    {
        unsigned int prefixLength;
        const char *prefix;
        const char *startsWith; // NULL: refused with 'BAPA'
    } rows[] = {
        {3, "abc", "abc"},     {2, "abc", "ab"},
        {6, "abc", "abc"}, // shorter than said: copied up to its end only
        {3, nullptr, nullptr}, {0, "abc", nullptr},
    };
    for (const Row &row : rows)
    {
        SCOPED_TRACE(row.prefixLength);
        DebugClearMessages();
        char *text = EngZlibEncryptCompressAndEncodeToBase64Data(kKey, data, n, true, row.prefixLength, row.prefix);
        if (!row.startsWith)
        {
            EXPECT_EQ(text, nullptr);
            EXPECT_TRUE(LogHas("Bad parameters."));
            continue;
        }
        ASSERT_NE(text, nullptr);
        size_t prefixLength = strlen(row.startsWith);
        EXPECT_EQ(std::string(text, prefixLength), row.startsWith);
        char *plain = nullptr;
        std::string packed = DecodeUrlSafe(text + prefixLength);
        unsigned int length = 0;
        plain = EngZlibUncompressDataAndDecrpytIt(kKey, packed.data(), (unsigned int)packed.size(), &length);
        ASSERT_NE(plain, nullptr);
        EXPECT_EQ(std::string(plain, length), data);
        EngFree(plain, true, "test");
        EngFree(text, true, "test");
    }
}

TEST_F(ZlibTest, ChainRefusals)
{
    char data[16] = "0123456789abcde";
    unsigned int length = 0;
    struct Row
    {
        const char *key;
        const char *data;
        unsigned int n;
        const char *message;
    } rows[] = {
        {nullptr, data, 16, "No cipher"},
        {kKey, nullptr, 16, "No data."},
        {kKey, data, 0, "No data."},
        {"short", data, 16, "Could not encrpyt data."},
    };
    for (const Row &row : rows)
    {
        SCOPED_TRACE(row.message);
        DebugClearMessages();
        EXPECT_EQ(EngZlibEncryptAndCompressData(row.key, row.data, row.n, &length), nullptr);
        EXPECT_EQ(EngZlibEncryptCompressAndEncodeToBase64Data(row.key, row.data, row.n, false, 0, nullptr), nullptr);
        EXPECT_TRUE(LogHas(row.message));
    }
    DebugClearMessages();
    EXPECT_EQ(EngZlibEncryptAndCompressData(kKey, data, 16, nullptr), nullptr);
    EXPECT_TRUE(LogHas("Bad parameters."));
    DebugClearMessages();
    length = 5;
    EXPECT_EQ(EngZlibUncompressDataAndDecrpytIt(kKey, "nonsense", 8, &length), nullptr);
    EXPECT_EQ(length, 0u);
    EXPECT_TRUE(LogHas("Could not inflate data."));
}
