// A report repeated every frame is written once, with its count on one line.
#include <gtest/gtest.h>

#include "EngDebug.h"
#include "Testkit.h"

namespace
{

class EngDebugRepeatsTest : public testkit::TempHomeTest
{
};

int Count(const std::string &text, const std::string &what)
{
    int count = 0;
    for (size_t at = text.find(what); at != std::string::npos; at = text.find(what, at + 1))
        count++;
    return count;
}

TEST_F(EngDebugRepeatsTest, RepeatedMessageIsCountedNotWritten)
{
    int before = DebugGetNumMessages();
    for (int i = 0; i < 60; i++)
        DebugError("Picture", "Invalid blend num");
    EXPECT_EQ(DebugGetNumMessages(), before + 1);
    EXPECT_EQ(Count(LogText(), "Invalid blend num"), 1);
    DebugError("Picture", "Another message");
    std::string log = LogText();
    EXPECT_EQ(Count(log, "last message repeated 59 more times"), 1);
    EXPECT_LT(log.find("repeated 59"), log.find("Another message"));
    // The same text from another function is another message.
    DebugError("Particles", "Another message");
    EXPECT_EQ(Count(LogText(), "Another message"), 2);
}

TEST_F(EngDebugRepeatsTest, LongFloodsReportEverySixHundred)
{
    for (int i = 0; i < 1201; i++)
        DebugInfo("Frame report");
    EXPECT_EQ(Count(LogText(), "last message repeated 600 more times"), 2);
    // Blank raw lines are never collapsed.
    DebugLine("%s", "");
    DebugLine("%s", "");
    EXPECT_EQ(Count(LogText(), "Frame report"), 1);
}

} // namespace
