#include "EngClipboard.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "EngDebug.h"

namespace
{
// A clipboard in memory: what was set, and what a read hands out.
struct RecordingClipboard
{
    std::string text;
    bool has = false;
    int sets = 0;
} s_board;

bool RecordSet(const char *text)
{
    s_board.text = text;
    s_board.has = true;
    s_board.sets++;
    return true;
}

bool RecordGet(char *out, int32_t size)
{
    if (!s_board.has)
        return false;
    strncpy(out, s_board.text.c_str(), (size_t)size - 1);
    out[size - 1] = 0;
    return true;
}

const _EngClipboardFunctions s_recorder = {RecordSet, RecordGet};

class EngClipboardTest : public testing::Test
{
protected:
    void SetUp() override
    {
        DebugClearMessages();
        s_board = RecordingClipboard();
        EngClipboardSetFunctions(&s_recorder);
    }
    void TearDown() override
    {
        EngClipboardSetFunctions(nullptr);
        DebugClearMessages();
    }
};
} // namespace

TEST_F(EngClipboardTest, CopyAndPasteThroughTheTable)
{
    EXPECT_TRUE(EngClipboardCopyFromString("Caf\xE9"));
    char buffer[16];
    EXPECT_TRUE(EngClipboardPasteToString(buffer, sizeof(buffer)));
    EXPECT_STREQ(buffer, "Caf\xE9");
    // A text longer than the buffer arrives cut to size - 1.
    EXPECT_TRUE(EngClipboardPasteToString(buffer, 3));
    EXPECT_STREQ(buffer, "Ca");
    EXPECT_EQ(DebugGetNumMessages(), 0);
}

TEST_F(EngClipboardTest, RefusalsLeaveTheClipboardAlone)
{
    EXPECT_FALSE(EngClipboardCopyFromString(""));
    EXPECT_EQ(DebugGetNumMessages(), 0);
    EXPECT_FALSE(EngClipboardCopyFromString(nullptr));
    EXPECT_EQ(DebugGetNumMessages(), 1);
    EXPECT_EQ(s_board.sets, 0);

    char buffer[4] = "xyz";
    // Size 1 leaves no room for a character.
    EXPECT_FALSE(EngClipboardPasteToString(buffer, 1));
    EXPECT_EQ(buffer[0], 0);
    EXPECT_FALSE(EngClipboardPasteToString(nullptr, 4));
    // The same report twice in a row is folded into one line by the log.
    ASSERT_EQ(DebugGetNumMessages(), 2);
    EXPECT_NE(strstr(DebugGetMessage(1)->text, "Invalid parameters"), nullptr);

    // An empty clipboard reads as an empty string.
    strcpy(buffer, "xyz");
    EXPECT_FALSE(EngClipboardPasteToString(buffer, sizeof(buffer)));
    EXPECT_STREQ(buffer, "");
}
