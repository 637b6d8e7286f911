#include "SendPuzzleEncode.h"

#include <gtest/gtest.h>

#include <cctype>
#include <cstring>
#include <string>

#include "Testkit.h"

namespace
{

class SendPuzzleEncodeTest : public testkit::TempHomeTest
{
};

const char kBase[] = "http://127.0.0.1:1234";

// What one character is sent as.
std::string Code(const std::string &text)
{
    char out[SEND_PUZZLE_FILE_SIZE];
    EXPECT_TRUE(SendPuzzleEncodeString(out, sizeof(out), text.c_str())) << text;
    return out;
}

TEST_F(SendPuzzleEncodeTest, EveryAllowedCharacterBecomesOneLetterOrDigit)
{
    const std::string allowed = "ABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789 \r\n.,!?-_'\"()&@:;/+*%#=";
    std::string encoded = Code(allowed);
    ASSERT_EQ(allowed.size(), encoded.size());
    for (size_t i = 0; i < encoded.size(); i++)
    {
        EXPECT_TRUE(isalnum((unsigned char)encoded[i])) << i;
        // No two characters share a code: the server can decode every text.
        EXPECT_EQ(i, encoded.find(encoded[i])) << i;
    }
    // Lower case is sent as its capital; the caller's text is left as it was.
    char name[] = "Ann & Bob";
    char out[32];
    EXPECT_TRUE(SendPuzzleEncodeString(out, sizeof(out), name));
    EXPECT_STREQ("Ann & Bob", name);
    EXPECT_EQ(Code("ANN & BOB"), out);
    // In place, the text becomes its code.
    EXPECT_TRUE(SendPuzzleEncodeString(name, sizeof(name), name));
    EXPECT_STREQ(out, name);
    EXPECT_TRUE(SendPuzzleEncodeString(out, sizeof(out), ""));
    EXPECT_STREQ("", out);
}

TEST_F(SendPuzzleEncodeTest, RefusesWhatItCannotSendOrHold)
{
    char out[8] = "xxxxxxx";
    EXPECT_FALSE(SendPuzzleEncodeString(out, sizeof(out), "Zo\xeb"));
    EXPECT_STREQ("", out);
    EXPECT_TRUE(LogHas("Invalid char 235 in string at pos 2"));
    EXPECT_FALSE(SendPuzzleEncodeString(out, sizeof(out), "TAB\tX"));
    EXPECT_TRUE(SendPuzzleEncodeString(out, sizeof(out), "1234567"));
    EXPECT_FALSE(SendPuzzleEncodeString(out, sizeof(out), "12345678"));
    EXPECT_STREQ("", out);
    EXPECT_FALSE(SendPuzzleEncodeString(nullptr, 8, "A"));
    EXPECT_FALSE(SendPuzzleEncodeString(out, sizeof(out), nullptr));
}

TEST_F(SendPuzzleEncodeTest, TheRequestCarriesEveryTextEncoded)
{
    const char *puzzleText = "NAME: MINE\r\nWIDTH: 11\r\n";
    _SendPuzzleTexts texts = {3, 'P', "MINE", "Jo & Al / 100% ok", "jo@example.org", puzzleText, "my note"};
    char request[SEND_PUZZLE_REQUEST_SIZE];
    ASSERT_EQ(SEND_PUZZLE_BUILD_OK, SendPuzzleBuildRequest(kBase, &texts, request, sizeof(request)));
    std::string expected = std::string(kBase) + "/cgi-bin/plinx/puzzles/SendPuzzle.cgi?v=200&p=P&t=3&pn=" +
                           Code("MINE") + "&n=" + Code("JO & AL / 100% OK") + "&e=" + Code("JO@EXAMPLE.ORG") +
                           "&d=" + Code(puzzleText) + "&m=" + Code("MY NOTE");
    EXPECT_EQ(expected, request);
    // Nothing in the query needs escaping, whatever the player typed.
    std::string query = strchr(request, '?') + 1;
    for (char c : query)
        EXPECT_TRUE(isalnum((unsigned char)c) || c == '=' || c == '&') << c;

    // An empty e-mail is sent as an empty value.
    texts.email = "";
    ASSERT_EQ(SEND_PUZZLE_BUILD_OK, SendPuzzleBuildRequest(kBase, &texts, request, sizeof(request)));
    EXPECT_NE(nullptr, strstr(request, "&e=&d="));

    // The longest texts the screen allows fit the request.
    std::string name(49, 'N'), email = std::string(43, 'e') + "@x.org", note(63, 'M'), file(1599, 'F');
    _SendPuzzleTexts longest = {3, 'P', "ABCDEFGHIJKLMNO", name.c_str(), email.c_str(), file.c_str(), note.c_str()};
    EXPECT_EQ(SEND_PUZZLE_BUILD_OK, SendPuzzleBuildRequest(kBase, &longest, request, sizeof(request)));
}

TEST_F(SendPuzzleEncodeTest, BadTextsAreRefusedInOrderAndNothingIsBuilt)
{
    std::string long400(400, 'a');
    struct Row
    {
        const char *puzzleName, *name, *email, *puzzle, *note;
        _SendPuzzleBuildResult result;
        const char *message;
    } rows[] = {
        {"M\xc9", "Jo", "", "P", "", SEND_PUZZLE_BUILD_BAD_PUZZLE_NAME, "INVALID PUZZLE NAME"},
        {"MINE", "Jos\xe9", "", "P", "", SEND_PUZZLE_BUILD_BAD_NAME, "INVALID NAME"},
        {"MINE", long400.c_str(), "", "P", "", SEND_PUZZLE_BUILD_BAD_NAME, "INVALID NAME"},
        {"MINE", "Jo", "jo @x.org", "P", "", SEND_PUZZLE_BUILD_EMAIL_SPACES,
         "INVALID EMAIL.\n\nREMOVE ANY SPACES IN THE EMAIL ADDRESS"},
        {"MINE", "Jo", "jo.x.org", "P", "", SEND_PUZZLE_BUILD_EMAIL_FORMAT, "INVALID EMAIL FORMAT"},
        {"MINE", "Jo", "j\xf6@x.org", "P", "", SEND_PUZZLE_BUILD_BAD_EMAIL, "INVALID EMAIL"},
        {"MINE", "Jo", "", "P\t1", "", SEND_PUZZLE_BUILD_BAD_PUZZLE, "ERROR IN PUZZLE"},
        {"MINE", "Jo", "", "P", long400.c_str(), SEND_PUZZLE_BUILD_BAD_NOTE, "ERROR IN NOTE"},
    };
    for (const Row &row : rows)
    {
        SCOPED_TRACE(row.message);
        _SendPuzzleTexts texts = {3, 'P', row.puzzleName, row.name, row.email, row.puzzle, row.note};
        char request[SEND_PUZZLE_REQUEST_SIZE] = "old";
        EXPECT_EQ(row.result, SendPuzzleBuildRequest(kBase, &texts, request, sizeof(request)));
        EXPECT_STREQ("", request);
        EXPECT_STREQ(row.message, SendPuzzleGetBuildMessage(row.result));
    }
}

TEST_F(SendPuzzleEncodeTest, RepliesTellThePlayerWhatHappened)
{
    struct Row
    {
        const char *reply;
        bool sent;
        const char *title;
        const char *text;
    } rows[] = {
        {" Y THANK YOU!", true, "PUZZLE SENT OK", "THANK YOU!"},
        {" N ALREADY SENT", false, "PUZZLE NOT SENT", "ALREADY SENT"},
        {" Y", true, "PUZZLE SENT OK", ""},
        {" V 200 201", false, "OLD GAME VERSION", nullptr},
        {" V 200 199", false, "ERROR", "PROBLEM SENDING PUZZLE [V200 > V199]"},
        {" V 200 200", false, "ERROR", "PROBLEM SENDING PUZZLE [V SAME 200]"},
        {" V 150 200", false, "ERROR", "PROBLEM SENDING PUZZLE [GV200 != CGV150]"},
        {" X 12", false, "ERROR", "PROBLEM SENDING PUZZLE: 10012."},
        // Numbers that cannot be read are never used.
        {" V 200", false, "ERROR", "PROBLEM SENDING PUZZLE [99]"},
        {" V abc def", false, "ERROR", "PROBLEM SENDING PUZZLE [99]"},
        {" X", false, "ERROR", "PROBLEM SENDING PUZZLE [99]"},
        {" X 99999999999999999999", false, "ERROR", "PROBLEM SENDING PUZZLE [99]"},
        {" X -5", false, "ERROR", "PROBLEM SENDING PUZZLE [99]"},
        {" Q what", false, "ERROR", "PROBLEM SENDING PUZZLE [99]"},
        {"", false, "ERROR", "PROBLEM SENDING PUZZLE [99]"},
    };
    for (const Row &row : rows)
    {
        SCOPED_TRACE(row.reply);
        _SendPuzzleOutcome outcome;
        SendPuzzleReadReply(row.reply, (uint32_t)strlen(row.reply), &outcome);
        EXPECT_EQ(row.sent, outcome.sent != 0);
        EXPECT_STREQ(row.title, outcome.title);
        if (row.text)
        {
            EXPECT_STREQ(row.text, outcome.text);
        }
    }
    std::string huge = " Y " + std::string(5000, 'w');
    _SendPuzzleOutcome outcome;
    SendPuzzleReadReply(huge.data(), (uint32_t)huge.size(), &outcome);
    EXPECT_TRUE(outcome.sent);
    EXPECT_EQ((size_t)SEND_PUZZLE_REPLY_SIZE - 4, strlen(outcome.text));
}

} // namespace
