#include "EngEncryption.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

#include "EngDebug.h"
#include "EngMemory.h"
#include "PlatShell.h"
#include "Testkit.h"

using testkit::TempHomeTest;

namespace
{
std::vector<uint8_t> Hex(const char *text)
{
    std::vector<uint8_t> bytes;
    for (size_t i = 0; text[i] && text[i + 1]; i += 2)
        bytes.push_back((uint8_t)std::stoi(std::string(text + i, 2), nullptr, 16));
    return bytes;
}

std::string KeyText(const char *hex)
{
    std::vector<uint8_t> bytes = Hex(hex);
    return std::string(bytes.begin(), bytes.end());
}

// The key of the AES-128 known answers (no zero byte, so it is a 16-character text).
const char kNistKey[] = "2b7e151628aed2a6abf7158809cf4f3c";
const char kNistPlain[] = "6bc1bee22e409f96e93d7e117393172a";
const char kNistCipher[] = "874d6191b620e3261bef6864990db6ce";
} // namespace

class EncryptionTest : public TempHomeTest
{
protected:
    void SetUp() override
    {
        TempHomeTest::SetUp();
        ASSERT_TRUE(EngEncryptionInit(KeyText(kNistKey).c_str()));
    }
    void TearDown() override
    {
        EngEncryptionShutdown();
        TempHomeTest::TearDown();
    }
};

// The counter block is read as one little-endian 128-bit number; the first keystream
// block uses it unchanged, the next one the block plus one.
TEST_F(EncryptionTest, CounterModeKnownAnswers)
{
    struct Row
    {
        const char *name;
        const char *counter;
        std::vector<uint8_t> cipher; // after the counter block
        size_t plainOffset;          // where the known plaintext block sits
    };
    std::vector<uint8_t> cipher = Hex(kNistCipher);
    std::vector<uint8_t> second(32, 0xAA);
    std::copy(cipher.begin(), cipher.end(), second.begin() + 16);
    Row rows[] = {
        {"first block uses the counter as it is", "f0f1f2f3f4f5f6f7f8f9fafbfcfdfeff", cipher, 0},
        {"second block adds one at byte 0", "eff1f2f3f4f5f6f7f8f9fafbfcfdfeff", second, 16},
    };
    for (const Row &row : rows)
    {
        SCOPED_TRACE(row.name);
        std::vector<uint8_t> block = Hex(row.counter);
        block.insert(block.end(), row.cipher.begin(), row.cipher.end());
        block.push_back(0x55); // room for the NUL
        unsigned int n = (unsigned int)row.cipher.size();
        ASSERT_TRUE(EngEncryptionDecrypt(block.data(), n));
        EXPECT_EQ(std::vector<uint8_t>(block.begin() + row.plainOffset, block.begin() + row.plainOffset + 16),
                  Hex(kNistPlain));
        EXPECT_EQ(block[n], 0);
    }
}

TEST_F(EncryptionTest, EncryptTwiceGivesDifferentBlocksThatBothDecrypt)
{
    // 37 bytes: two whole blocks and a partial one.
    const char text[] = "The quick brown fox jumps over a dog";
    unsigned int n = sizeof(text);
    uint8_t *first = (uint8_t *)EngEncryptionEncrypt(text, n);
    uint8_t *second = (uint8_t *)EngEncryptionEncrypt(text, n);
    ASSERT_TRUE(first && second);
    EXPECT_NE(memcmp(first, second, 16), 0);
    EXPECT_NE(memcmp(first + 16, text, n), 0);
    for (uint8_t *block : {first, second})
    {
        std::vector<uint8_t> copy(block, block + n + 16);
        copy.push_back(1);
        ASSERT_TRUE(EngEncryptionDecrypt(copy.data(), n));
        EXPECT_EQ(memcmp(copy.data(), text, n), 0);
        EngFree(block, true, "test");
    }
}

namespace
{
bool FixedRandom(void *out, size_t size)
{
    memset(out, 0x5A, size);
    return true;
}
bool BrokenRandom(void *, size_t)
{
    return false;
}
} // namespace

TEST_F(EncryptionTest, CounterBlockComesFromTheSystemRandomSource)
{
    PlatShellFunctions fixed = {FixedRandom, nullptr, nullptr};
    PlatShellSetFunctions(&fixed);
    uint8_t *block = (uint8_t *)EngEncryptionEncrypt("abc", 3);
    ASSERT_NE(block, nullptr);
    EXPECT_EQ(std::vector<uint8_t>(block, block + 16), std::vector<uint8_t>(16, 0x5A));
    EngFree(block, true, "test");

    PlatShellFunctions broken = {BrokenRandom, nullptr, nullptr};
    PlatShellSetFunctions(&broken);
    EXPECT_EQ(EngEncryptionEncrypt("abc", 3), nullptr);
    EXPECT_TRUE(LogHas("Could not read the system's random source"));
    PlatShellSetFunctions(nullptr);
}

TEST_F(EncryptionTest, RefusalsAndTheirMessages)
{
    uint8_t block[40] = {0};
    EXPECT_EQ(EngEncryptionEncrypt(nullptr, 4), nullptr);
    EXPECT_EQ(EngEncryptionEncrypt(block, 0), nullptr);
    EXPECT_FALSE(EngEncryptionDecrypt(nullptr, 4));
    EXPECT_FALSE(EngEncryptionDecrypt(block, 0));
    EXPECT_TRUE(LogHas("Invalid data"));

    EngEncryptionShutdown();
    DebugClearMessages();
    EXPECT_EQ(EngEncryptionEncrypt(block, 4), nullptr);
    EXPECT_FALSE(EngEncryptionDecrypt(block, 4));
    EXPECT_EQ(DebugGetNumMessages(), 2);
    EXPECT_TRUE(LogHas("Encryption not setup"));
}

TEST_F(EncryptionTest, PasswordLengths)
{
    struct Row
    {
        const char *password;
        bool accepted;
    } rows[] = {
        {nullptr, false}, {"", false}, {"A", true}, {"ABCDEFGHIJKLMNOP", true}, {"ABCDEFGHIJKLMNOPQ", false},
    };
    for (const Row &row : rows)
    {
        SCOPED_TRACE(row.password ? row.password : "(null)");
        DebugClearMessages();
        EXPECT_EQ(EngEncryptionInit(row.password), row.accepted);
        EXPECT_EQ(LogHas("Invalid password"), !row.accepted);
    }
}

// A 16-character password and one padded with zeros to 16 bytes are the same key.
TEST_F(EncryptionTest, ShortPasswordIsZeroPadded)
{
    ASSERT_TRUE(EngEncryptionInit("KEY"));
    const char text[] = "0123456789";
    uint8_t *block = (uint8_t *)EngEncryptionEncrypt(text, 10);
    ASSERT_NE(block, nullptr);
    std::vector<uint8_t> copy(block, block + 26);
    copy.push_back(0);
    EngFree(block, true, "test");
    ASSERT_TRUE(EngEncryptionInit(std::string("KEY\0\0\0\0\0\0\0\0\0\0\0\0\0", 16).c_str()));
    ASSERT_TRUE(EngEncryptionDecrypt(copy.data(), 10));
    EXPECT_STREQ((const char *)copy.data(), text);
    ASSERT_TRUE(EngEncryptionInit("KEX"));
    std::vector<uint8_t> again(copy);
    EXPECT_TRUE(EngEncryptionDecrypt(again.data(), 10));
}

TEST_F(EncryptionTest, FilesOfExactlyNPlus16Bytes)
{
    const char record[] = "player record of 32 bytes long!";
    unsigned int n = sizeof(record);
    std::string path = home->File("Player.usr");
    ASSERT_TRUE(EngEncryptionEncryptAndWriteToFile(path.c_str(), record, n));
    std::string bytes = testkit::ReadFile(path);
    ASSERT_EQ(bytes.size(), n + 16);
    EXPECT_TRUE(EngEncryptionCheckFileSize(path.c_str(), n));
    EXPECT_FALSE(EngEncryptionCheckFileSize(path.c_str(), n + 1));

    char out[sizeof(record)];
    ASSERT_TRUE(EngEncryptionReadFromFileAndDecrypt(path.c_str(), out, n));
    EXPECT_STREQ(out, record);

    // One byte more or less, or no file at all: refused, and `out` stays as it was.
    std::string longer = home->File("Longer.usr"), shorter = home->File("Shorter.usr");
    testkit::WriteFile(longer, bytes + "x");
    testkit::WriteFile(shorter, bytes.substr(0, bytes.size() - 1));
    for (const std::string &bad : {longer, shorter, home->File("Missing.usr")})
    {
        SCOPED_TRACE(bad);
        DebugClearMessages();
        memset(out, '#', sizeof(out));
        EXPECT_FALSE(EngEncryptionReadFromFileAndDecrypt(bad.c_str(), out, n));
        EXPECT_TRUE(LogHas("Bad size in file <" + bad + ">"));
        EXPECT_EQ(std::string(out, sizeof(out)), std::string(sizeof(out), '#'));
    }
    DebugClearMessages();
    EXPECT_FALSE(EngEncryptionReadFromFileAndDecrypt(nullptr, out, n));
    EXPECT_FALSE(EngEncryptionReadFromFileAndDecrypt(path.c_str(), out, 0));
    EXPECT_EQ(DebugGetNumMessages(), 0);
}

// ---- Blowfish -------------------------------------------------------------------------

TEST(Blowfish, PublishedVectors)
{
    struct Row
    {
        const char *key, *plain, *cipher;
    } rows[] = {
        // Eight-byte keys (none holds a zero byte, so each is an 8-character key text).
        {"FFFFFFFFFFFFFFFF", "FFFFFFFFFFFFFFFF", "51866FD5B85ECB8A"},
        {"1111111111111111", "1111111111111111", "2466DD878B963C9D"},
        {"0123456789ABCDEF", "1111111111111111", "61F9C3802281B096"},
        {"1111111111111111", "0123456789ABCDEF", "7D0CC630AFDA1EC7"},
        {"FEDCBA9876543210", "0123456789ABCDEF", "0ACEAB0FC6A0A28D"},
        {"7CA110454A1A6E57", "01A1D6D039776742", "59C68245EB05282B"},
        // Longer keys: the published variable-length key series.
        {"F0E1D2C3B4A5968778", "FEDCBA9876543210", "15750E7A4F4EC577"},
        {"F0E1D2C3B4A5968778695A4B3C2D1E", "FEDCBA9876543210", "79D9373A714CA34F"},
        {"F0E1D2C3B4A5968778695A4B3C2D1E0F", "FEDCBA9876543210", "93142887EE3BE15C"},
    };
    for (const Row &row : rows)
    {
        SCOPED_TRACE(row.key);
        std::string key = KeyText(row.key);
        std::vector<uint8_t> data = Hex(row.plain);
        ASSERT_TRUE(EngEncryptionEncryptDataUsingBlowfishEncryption(key.c_str(), data.data(), 8));
        EXPECT_EQ(data, Hex(row.cipher));
        ASSERT_TRUE(EngEncryptionDecryptDataUsingBlowfishEncryption(key.c_str(), data.data(), 8));
        EXPECT_EQ(data, Hex(row.plain));
    }
}

TEST(Blowfish, WholeBlocksOnlyAndNoChaining)
{
    uint8_t data[21];
    for (int i = 0; i < 21; i++)
        data[i] = (uint8_t)(i < 16 ? 0x11 : i);
    uint8_t original[21];
    memcpy(original, data, sizeof(data));
    std::string key = KeyText("1111111111111111");
    ASSERT_TRUE(EngEncryptionEncryptDataUsingBlowfishEncryption(key.c_str(), data, 21));
    // Two equal plaintext blocks give two equal ciphertext blocks; the 5-byte tail stays.
    EXPECT_EQ(std::vector<uint8_t>(data, data + 8), Hex("2466DD878B963C9D"));
    EXPECT_EQ(memcmp(data, data + 8, 8), 0);
    EXPECT_EQ(memcmp(data + 16, original + 16, 5), 0);
    ASSERT_TRUE(EngEncryptionDecryptDataUsingBlowfishEncryption(key.c_str(), data, 21));
    EXPECT_EQ(memcmp(data, original, 21), 0);
}

TEST(Blowfish, KeysBeyond72BytesAreCut)
{
    std::string key72;
    for (int i = 0; i < 72; i++)
        key72 += (char)('!' + i);
    uint8_t a[8] = {1, 2, 3, 4, 5, 6, 7, 8}, b[8] = {1, 2, 3, 4, 5, 6, 7, 8}, c[8] = {1, 2, 3, 4, 5, 6, 7, 8};
    ASSERT_TRUE(EngEncryptionEncryptDataUsingBlowfishEncryption(key72.c_str(), a, 8));
    ASSERT_TRUE(EngEncryptionEncryptDataUsingBlowfishEncryption((key72 + "xyz").c_str(), b, 8));
    ASSERT_TRUE(EngEncryptionEncryptDataUsingBlowfishEncryption(key72.substr(0, 71).c_str(), c, 8));
    EXPECT_EQ(memcmp(a, b, 8), 0);
    EXPECT_NE(memcmp(a, c, 8), 0);
}

class BlowfishRefusals : public TempHomeTest
{
};

TEST_F(BlowfishRefusals, ShortDataAndShortKeys)
{
    uint8_t data[13] = {0};
    struct Row
    {
        const char *key;
        void *data;
        unsigned int n;
        const char *message; // NULL: accepted
    } rows[] = {
        {"12345678", data, 8, nullptr},  {"12345678", data, 7, "Invalid data (must be at least 8 bytes long)."},
        {"12345678", nullptr, 8, "Invalid data (must be at least 8 bytes long)."},
        {"1234567", data, 13, "Invalid key."}, {nullptr, data, 13, "Invalid key."},
    };
    for (const Row &row : rows)
    {
        SCOPED_TRACE(row.message ? row.message : "accepted");
        for (bool encrypt : {true, false})
        {
            DebugClearMessages();
            bool done = encrypt ? EngEncryptionEncryptDataUsingBlowfishEncryption(row.key, row.data, row.n)
                                : EngEncryptionDecryptDataUsingBlowfishEncryption(row.key, row.data, row.n);
            EXPECT_EQ(done, row.message == nullptr);
            if (row.message)
            {
                EXPECT_TRUE(LogHas(row.message));
            }
        }
    }
}
