// The local help page's address: escaped as a file address, and refused whole when it
// does not fit.
#include <gtest/gtest.h>

#include <string>

#include "ScreensOnline.h"
#include "Testkit.h"

namespace
{

class ScreensOnlineTest : public testkit::TempHomeTest
{
};

TEST_F(ScreensOnlineTest, FileAddressesEscapeEverythingButUnreservedCharactersAndSlashes)
{
    struct
    {
        const char *folder;
        const char *expected;
    } rows[] = {
        {"/home/ann/Plinx", "file:///home/ann/Plinx/Data/Help/CreatePuzzles.html"},
        {"/home/ann/My Games", "file:///home/ann/My%20Games/Data/Help/CreatePuzzles.html"},
        {"/tmp/a#b?c&d%e", "file:///tmp/a%23b%3Fc%26d%25e/Data/Help/CreatePuzzles.html"},
        {"/tmp/caf\xe9", "file:///tmp/caf%E9/Data/Help/CreatePuzzles.html"},
    };
    for (const auto &row : rows)
    {
        SCOPED_TRACE(row.folder);
        char url[512];
        ASSERT_TRUE(ScreensMakeFileUrl(row.folder, "Data/Help/CreatePuzzles.html", url, sizeof(url)));
        EXPECT_STREQ(url, row.expected);
    }
}

TEST_F(ScreensOnlineTest, AnAddressThatDoesNotFitIsRefusedWhole)
{
    const std::string tail = "Data/Help/CreatePuzzles.html";
    // "file://" + folder + "/" + tail: exactly 506 characters fit a 507-byte buffer.
    std::string folder = "/" + std::string(506 - 7 - 1 - tail.size() - 1, 'a');
    char url[507];
    ASSERT_TRUE(ScreensMakeFileUrl(folder.c_str(), tail.c_str(), url, sizeof(url)));
    EXPECT_EQ(std::string(url).size(), 506u);
    folder += "a";
    EXPECT_FALSE(ScreensMakeFileUrl(folder.c_str(), tail.c_str(), url, sizeof(url)));
    EXPECT_STREQ(url, "");
    // Escaping counts: one space is three characters.
    folder.resize(folder.size() - 2);
    folder += " ";
    EXPECT_FALSE(ScreensMakeFileUrl(folder.c_str(), tail.c_str(), url, sizeof(url)));
    EXPECT_FALSE(ScreensMakeFileUrl(nullptr, tail.c_str(), url, sizeof(url)));
}

} // namespace
