#include "Country.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <set>
#include <string>

#include "EngDebug.h"
#include "Testkit.h"

namespace
{

class CountryTest : public testkit::TempHomeTest
{
protected:
    void SetUp() override
    {
        TempHomeTest::SetUp();
        for (int i = 0; i < 4; i++)
        {
            const char *value = getenv(LOCALE_NAMES[i]);
            had[i] = value != nullptr;
            saved[i] = value ? value : "";
            unsetenv(LOCALE_NAMES[i]);
        }
        CountrySetup(0, 0, nullptr, nullptr, 0, 0);
    }
    void TearDown() override
    {
        CountryShutdown();
        for (int i = 0; i < 4; i++)
        {
            if (had[i])
                setenv(LOCALE_NAMES[i], saved[i].c_str(), 1);
            else
                unsetenv(LOCALE_NAMES[i]);
        }
        TempHomeTest::TearDown();
    }
    int CountLog(const std::string &text) const
    {
        int count = 0;
        for (int i = 0; i < DebugGetNumMessages(); i++)
            count += std::string(DebugGetMessage(i)->text).find(text) != std::string::npos;
        return count;
    }

    static constexpr const char *LOCALE_NAMES[4] = {"LC_ALL", "LC_ADDRESS", "LC_MESSAGES", "LANG"};
    std::string saved[4];
    bool had[4] = {};
};

} // namespace

TEST_F(CountryTest, TheTableHas222RowsWithUniqueCodesAndCells)
{
    std::set<std::string> codes, names;
    for (int i = 0; i < COUNTRY_NUM_COUNTRIES; i++)
    {
        const _Country *country = CountryGetCountry(i);
        ASSERT_NE(country, nullptr);
        EXPECT_EQ(strlen(country->code), 2u) << i;
        codes.insert(country->code);
        names.insert(country->name);
        // Each row shows its own cell; New Caledonia shares the flag of France.
        EXPECT_EQ(country->flagCell, strcmp(country->name, "New Caledonia") == 0 ? 67 : i) << country->name;
        EXPECT_EQ(CountryGetCountryNumFromCode(country->code, false), i);
        EXPECT_EQ(CountryGetCountryNumFromName(country->name), i);
    }
    EXPECT_EQ(codes.size(), 222u);
    EXPECT_EQ(names.size(), 222u);
    EXPECT_EQ(CountryGetCountry(-1), nullptr);
    EXPECT_EQ(CountryGetCountry(222), nullptr);
    const struct
    {
        int row;
        const char *name, *code;
    } rows[] = {{0, "Afghanistan", "AF"},       {60, "England", "GB"},   {67, "France", "FR"},
                {142, "New Caledonia", "NC"},  {147, "Northern Ireland", "G2"}, {173, "Scotland", "G3"},
                {208, "United States", "US"},  {217, "Wales", "G4"},    {221, "Zimbabwe", "ZW"}};
    for (const auto &row : rows)
    {
        SCOPED_TRACE(row.name);
        EXPECT_STREQ(CountryGetCountry(row.row)->name, row.name);
        EXPECT_STREQ(CountryGetCountry(row.row)->code, row.code);
    }
}

TEST_F(CountryTest, LookupsByCodeAndName)
{
    EXPECT_STREQ(CountryGetCountryNameFromCode("GB"), "England");
    EXPECT_STREQ(CountryGetCountryNameFromCode("UK"), "England");
    EXPECT_STREQ(CountryGetCountryNameFromCode("FR"), "France");
    EXPECT_EQ(CountryGetCountryNumFromCode("UK", true), 60);
    EXPECT_EQ(CountryGetCountryNumFromCode("UK", false), COUNTRY_UK_FLAG_CELL);
    EXPECT_EQ(CountryGetCountryNumFromName("United Kingdom"), 60);
    // Codes and names match exactly.
    EXPECT_EQ(CountryGetCountryNumFromCode("fr", true), -1);
    EXPECT_EQ(CountryGetCountryNumFromName("france"), -1);
    EXPECT_TRUE(LogHas("Name [france] not found."));
    EXPECT_EQ(DebugGetNumMessages(), 2);

    EXPECT_STREQ(CountryGetCountryNameFromCode(""), "(Unknown Country)");
    EXPECT_STREQ(CountryGetCountryNameFromCode(nullptr), "(Unknown Country)");
    EXPECT_EQ(CountryGetCountryNumFromCode(nullptr, true), -1);
    EXPECT_TRUE(LogHas("Bad parameters."));
}

TEST_F(CountryTest, AnUnknownCodeIsNotedOnceNotEveryFrame)
{
    for (int frame = 0; frame < 60; frame++)
    {
        EXPECT_STREQ(CountryGetCountryNameFromCode("XX"), "(Unknown Country)");
        EXPECT_EQ(CountryGetCountryNumFromCode("XX", true), -1);
        EXPECT_EQ(CountryGetCountryNumFromCode("QQ", true), -1);
    }
    EXPECT_EQ(CountLog("Code [XX] not found."), 1);
    EXPECT_EQ(CountLog("Code [QQ] not found."), 1);
}

TEST_F(CountryTest, FlagCellsAreBoundedByTheTable)
{
    const struct
    {
        int index;
        bool valid;
        float left, top;
    } cases[] = {
        {-1, false, 0, 0},         {0, true, 0, 0},           {17, true, 1 / 16.0f, 1 / 16.0f},
        {142, true, 3 / 16.0f, 4 / 16.0f}, // New Caledonia draws France (cell 67)
        {221, true, 13 / 16.0f, 13 / 16.0f}, {222, false, 0, 0}, {223, true, 15 / 16.0f, 13 / 16.0f},
        {224, false, 0, 0},
    };
    for (const auto &c : cases)
    {
        SCOPED_TRACE(c.index);
        float left = -1, top = -1, right = -1, bottom = -1;
        EXPECT_EQ(CountryGetFlagTextureCoordinates(c.index, &left, &top, &right, &bottom), c.valid);
        if (c.valid)
        {
            EXPECT_FLOAT_EQ(left, c.left);
            EXPECT_FLOAT_EQ(top, c.top);
            EXPECT_FLOAT_EQ(right, c.left + 1 / 16.0f);
            EXPECT_FLOAT_EQ(bottom, c.top + 1 / 16.0f);
        }
    }
    // Without a device nothing is drawn, whatever the index.
    _Dimension rect = {0, 0, 20, 20};
    for (int index : {-5, 0, 222, 223, 100000})
        CountryDrawFlag(index, &rect);
}

TEST_F(CountryTest, TheUsersOwnCountryComesFromTheLocale)
{
    const struct
    {
        const char *lcAll, *lang;
        int row;
        const char *code;
    } cases[] = {
        {nullptr, "en_GB.UTF-8", 60, "GB"},   {nullptr, "de_DE", 71, "DE"},
        {"fr_FR.UTF-8", "en_US.UTF-8", 67, "FR"}, // LC_ALL comes first
        {nullptr, "en_US.UTF-8", 208, "US"}, {nullptr, "C.UTF-8", -1, "??"},
        {nullptr, nullptr, -1, "??"},        {nullptr, "xx_XK.UTF-8", -1, "??"},
    };
    for (const auto &c : cases)
    {
        SCOPED_TRACE(c.lang ? c.lang : "(none)");
        c.lcAll ? setenv("LC_ALL", c.lcAll, 1) : unsetenv("LC_ALL");
        c.lang ? setenv("LANG", c.lang, 1) : unsetenv("LANG");
        DebugClearMessages();
        EXPECT_EQ(CountryGetLocalCountryPos(), c.row);
        EXPECT_STREQ(CountryGetLocalCountryCode(), c.code);
        EXPECT_EQ(LogHas("Could not get local country pos"), c.row < 0);
    }
}

TEST_F(CountryTest, FlagsAtlasNamesAndMissingFile)
{
    EXPECT_STREQ(CountryGetFlagsFilename(), "Data/Common/CountryFlags512.png");
    CountryShutdown();
    EXPECT_STREQ(CountryGetFlagsFilename(), "Data/Common/CountryFlags512.png");
    EXPECT_TRUE(LogHas("Not setup."));
    CountrySetup(1, 0, nullptr, nullptr, 0, 0);
    EXPECT_STREQ(CountryGetFlagsFilename(), "Data/Common/CountryFlags1024.png");
    // The test runs in its temporary home, where there is no Data folder.
    testkit::WorkingFolder folder(Home());
    EXPECT_FALSE(CountryCreateGraphics());
    EXPECT_TRUE(LogHas("Flags texture file does not exist <Data/Common/CountryFlags1024.png>"));
}
