#include "ScoresSubmit.h"

#include <gtest/gtest.h>

#include <cstring>
#include <sstream>
#include <string>
#include <vector>

#include "EngJson.h"
#include "EngMemory.h"
#include "EngZlib.h"
#include "GameState.h"
#include "MWin.h"
#include "OnlineFixture.h"
#include "Scores.h"
#include "ScoresSubmitReply.h"

namespace
{

// The key the scores script decrypts submissions with.
const char kSubmitKey[] = "FERNSC_P50";

struct Popup
{
    std::string title; // "" for a text-only popup
    std::string text;
    double closeAfter;
};

struct GuiRecorder
{
    bool canShow = true;
    std::vector<Popup> popups;
    std::vector<std::string> notices;
};
GuiRecorder *s_gui;

const _ScoresSubmitGuiOps kRecordingOps = {
    [](MWin *) { return s_gui->canShow; },
    [](MWin *, const char *title, const char *text, double closeAfter) {
        s_gui->popups.push_back({title ? title : "", text, closeAfter});
    },
    [](MWin *, const char *text) { s_gui->notices.push_back(text); },
};

_ScoresScore ValidRow()
{
    _ScoresScore row = {};
    row.v1 = 4500;
    row.v4 = 2 * 65536 + 6;
    row.year = 2026;
    row.month = 5;
    row.day = 4;
    row.uid = 17;
    strcpy(row.name, "Anna \"Lee\"");
    strcpy(row.cc, "AT");
    row.plat = 'W';
    return row;
}

// The body as the scores script reads it: URL-safe base64, inflated, Blowfish-decrypted,
// the JSON text with its terminating zero.
bool DecodeBody(std::string body, json::Object *object, std::string *why)
{
    if (body.empty() || body.back() != '\0')
    {
        *why = "body without its terminating zero";
        return false;
    }
    body.pop_back();
    static const std::string alphabet = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789-.";
    std::string bytes;
    uint32_t bits = 0;
    int count = 0;
    for (char c : body)
    {
        if (c == '_')
            break;
        size_t value = alphabet.find(c);
        if (value == std::string::npos)
        {
            *why = std::string("not URL-safe base64: ") + c;
            return false;
        }
        bits = bits << 6 | (uint32_t)value;
        count += 6;
        if (count >= 8)
        {
            count -= 8;
            bytes.push_back((char)(bits >> count & 0xFF));
        }
    }
    unsigned int length = 0;
    char *text = EngZlibUncompressDataAndDecrpytIt(kSubmitKey, bytes.data(), (unsigned int)bytes.size(), &length);
    if (!text)
    {
        *why = "does not inflate and decrypt";
        return false;
    }
    std::string json(text, length);
    EngFree(text, true, "DecodeBody");
    if (json.empty() || json.back() != '\0' || json.find('\0') != json.size() - 1)
    {
        *why = "JSON text without exactly one terminating zero";
        return false;
    }
    std::istringstream stream(json.substr(0, json.size() - 1));
    try
    {
        json::Reader::Read(*object, stream);
    }
    catch (const json::Exception &exception)
    {
        *why = exception.what();
        return false;
    }
    return true;
}

class ScoresSubmitTest : public OnlineTest
{
protected:
    void SetUp() override
    {
        OnlineTest::SetUp();
        s_gui = &gui;
        ScoresSubmitSetGuiOps(&kRecordingOps);
    }
    void TearDown() override
    {
        ScoresSubmitSetGuiOps(nullptr);
        ScoresSubmitSetTimeout(0);
        s_gui = nullptr;
        OnlineTest::TearDown();
    }
    _ScoresSubmitResult Submit(const _ScoresScore *row, int32_t *minimum, bool withGui = true)
    {
        return ScoresSubmitScore(50, 240, 5100, row, withGui ? &mwin_object : nullptr, minimum);
    }

    GuiRecorder gui;
};

TEST_F(ScoresSubmitTest, TheBodyDecodesToTheRowMemberByMemberInOrder)
{
    server.Queue(testkit::HttpReply::Ok(" A\n"));
    _ScoresScore row = ValidRow();
    row.v2 = 3;
    row.v3 = 4000000000u;
    row.f2 = 9;
    strcpy(row.fb, "hi");
    ASSERT_EQ(Submit(&row, nullptr), SCORES_SUBMIT_STORED) << LogText();
    ASSERT_EQ(server.RequestCount(), 1u);
    const testkit::HttpRequest request = server.Requests()[0];
    EXPECT_EQ(request.method, "POST");
    EXPECT_EQ(request.target, "/cgi-bin/common/scores/Scores.fcgi");

    json::Object body;
    std::string why;
    ASSERT_TRUE(DecodeBody(request.body, &body, &why)) << why;
    struct Member
    {
        const char *name;
        json::UnknownElement value;
    };
    const Member expected[] = {
        {"ac", "Sub"},   {"ver", 1.0},         {"prog", 50.0},   {"gver", 240.0},         {"set", 5100.0},
        {"uid", 17.0},   {"name", "Anna \"Lee\""}, {"cc", "AT"}, {"fb", "hi"},            {"v1", 4500.0},
        {"v2", 3.0},     {"v3", 4000000000.0}, {"v4", 131078.0}, {"f1", 0.0},             {"f2", 9.0},
        {"f3", 0.0},     {"f4", 0.0},          {"date", ((2026.0 * 15 + 5) * 50 + 4)},    {"plat", "W"},
    };
    ASSERT_EQ(body.Size(), std::size(expected));
    auto member = body.Begin();
    for (const Member &want : expected)
    {
        SCOPED_TRACE(want.name);
        EXPECT_EQ(member->name, want.name);
        EXPECT_TRUE(member->element == want.value);
        ++member;
    }
    EXPECT_EQ(gui.notices, std::vector<std::string>{"Submitting your score..."});
}

TEST_F(ScoresSubmitTest, EachReplyGivesItsResultPopupAndMinimum)
{
    struct Case
    {
        std::string reply;
        int status;
        _ScoresSubmitResult result;
        const char *title;
        const char *text; // the popup's text starts with this
        double closeAfter;
        int32_t minimum;  // 77: left alone
    };
    const char *problem = "Problem encountered communicating with Fernbrooks";
    const Case cases[] = {
        {" A\n", 200, SCORES_SUBMIT_STORED, "Congratulations!", "Your score was submitted successfully!", 3, 77},
        {" A", 200, SCORES_SUBMIT_STORED, "Congratulations!", "Your score was submitted successfully!", 3, 77},
        {" A\r\n", 200, SCORES_SUBMIT_STORED, "Congratulations!", "Your score was submitted", 3, 77},
        {" B 5000\n", 200, SCORES_SUBMIT_TOO_LOW, "Sorry",
         "Your score is too low for the internet high scores list.\n\nThe current minimum score needed is: 5000", 0,
         5000},
        {" B 0", 200, SCORES_SUBMIT_TOO_LOW, "Sorry", "Your score is too low", 0, 0},
        // Numbers that do not read are refused, never taken as zero.
        {" B\n", 200, SCORES_SUBMIT_FAILED, "Sorry", "There was a problem submitting your score.", 0, 77},
        {" B 50x0\n", 200, SCORES_SUBMIT_FAILED, "Sorry", "There was a problem submitting your score.", 0, 77},
        {" B -5\n", 200, SCORES_SUBMIT_FAILED, "Sorry", "There was a problem submitting your score.", 0, 77},
        {" B 2147483648\n", 200, SCORES_SUBMIT_FAILED, "Sorry", "There was a problem submitting", 0, 77},
        {" D\n", 200, SCORES_SUBMIT_BETTER_EXISTS, "", "You have already submitted as good a score or better.", 3,
         77},
        {" V 240 241\n", 200, SCORES_SUBMIT_OUT_OF_DATE, "",
         "This game is out of date - you need to download the latest version.", 0, 77},
        {" V 240 240\n", 200, SCORES_SUBMIT_FAILED, "Error", "Problem reading high scores list  [V SAME 240]", 0, 77},
        {" V 239 241\n", 200, SCORES_SUBMIT_FAILED, "Error", "Problem reading high scores list  [GV240 > CGV239]", 0,
         77},
        {" V 240 239\n", 200, SCORES_SUBMIT_FAILED, "Error", "Problem reading high scores list  [V240 > V239]", 0,
         77},
        {" V 240\n", 200, SCORES_SUBMIT_FAILED, "Sorry", "There was a problem submitting your score.", 0, 77},
        {" X banned\n", 200, SCORES_SUBMIT_FAILED, "Sorry", "There was a problem submitting your score.", 0, 77},
        {"OK\n", 200, SCORES_SUBMIT_FAILED, "Sorry", "Unknown problem while submitting.", 0, 77},
        {" Q\n", 200, SCORES_SUBMIT_FAILED, "Sorry", "Unknown problem while submitting.", 0, 77},
        {"A", 200, SCORES_SUBMIT_TRANSFER_FAILED, "Error", problem, 0, 77},
        {"\n", 200, SCORES_SUBMIT_TRANSFER_FAILED, "Error", problem, 0, 77},
        {"", 200, SCORES_SUBMIT_TRANSFER_FAILED, "Error", problem, 0, 77},
        {" A\n", 500, SCORES_SUBMIT_TRANSFER_FAILED, "Error", problem, 0, 77},
    };
    const _ScoresScore row = ValidRow();
    for (const Case &c : cases)
    {
        SCOPED_TRACE("reply <" + c.reply + "> status " + std::to_string(c.status));
        gui.popups.clear();
        server.Queue(testkit::HttpReply::Status(c.status, c.reply));
        int32_t minimum = 77;
        EXPECT_EQ(Submit(&row, &minimum), c.result);
        EXPECT_EQ(minimum, c.minimum);
        ASSERT_EQ(gui.popups.size(), 1u);
        EXPECT_EQ(gui.popups[0].title, c.title);
        EXPECT_EQ(gui.popups[0].text.rfind(c.text, 0), 0u) << gui.popups[0].text;
        EXPECT_EQ(gui.popups[0].closeAfter, c.closeAfter);
    }
    EXPECT_TRUE(LogHas("CE: banned"));
    EXPECT_TRUE(LogHas("CE: Unknown [OK]."));
}

TEST_F(ScoresSubmitTest, ABadRowIsRefusedBeforeAnyTransfer)
{
    _ScoresScore badF1 = ValidRow(), noName = ValidRow(), noUid = ValidRow(), badDate = ValidRow();
    badF1.f1 = 10;
    noName.name[0] = 0;
    noUid.uid = 0;
    badDate.month = 13;
    EXPECT_EQ(Submit(nullptr, nullptr), SCORES_SUBMIT_FAILED);
    ASSERT_EQ(gui.popups.size(), 1u);
    EXPECT_EQ(gui.popups[0].text, "Internal Error");
    for (const _ScoresScore *row : {&badF1, &noName, &noUid, &badDate})
    {
        gui.popups.clear();
        EXPECT_EQ(Submit(row, nullptr), SCORES_SUBMIT_FAILED);
        ASSERT_EQ(gui.popups.size(), 1u);
        EXPECT_EQ(gui.popups[0].title, "Error");
        EXPECT_EQ(gui.popups[0].text, "Internal Error 1");
    }
    EXPECT_EQ(server.RequestCount(), 0u);
    EXPECT_TRUE(gui.notices.empty());
}

TEST_F(ScoresSubmitTest, WithoutTheGuiNothingIsShownAndTheResultsStayTheSame)
{
    const _ScoresScore row = ValidRow();
    server.Queue(testkit::HttpReply::Ok(" B 5000\n"));
    int32_t minimum = 0;
    EXPECT_EQ(Submit(&row, &minimum, false), SCORES_SUBMIT_TOO_LOW);
    EXPECT_EQ(minimum, 5000);
    // A GUI that is off, or showing a popup, is not used either.
    gui.canShow = false;
    server.Queue(testkit::HttpReply::Ok(" A\n"));
    EXPECT_EQ(Submit(&row, nullptr), SCORES_SUBMIT_STORED);
    EXPECT_TRUE(gui.popups.empty());
    EXPECT_TRUE(gui.notices.empty());
}

TEST_F(ScoresSubmitTest, ASilentServerOrNoServerEndsAsATransferFailure)
{
    const _ScoresScore row = ValidRow();
    ScoresSubmitSetTimeout(1);
    server.Queue(testkit::HttpReply::Hold());
    int32_t minimum = 77;
    EXPECT_EQ(Submit(&row, &minimum), SCORES_SUBMIT_TRANSFER_FAILED);
    EXPECT_EQ(minimum, 77);
    ASSERT_EQ(gui.popups.size(), 1u);
    EXPECT_EQ(gui.popups[0].text, "Problem encountered communicating with Fernbrooks");
    EXPECT_TRUE(LogHas("Problem submitting [(no data)]."));

    // Nothing listens on the port any more.
    std::string closed;
    {
        testkit::LoopbackHttpServer gone;
        closed = gone.BaseUrl();
    }
    OnlineSetBaseAddress(closed.c_str());
    EXPECT_EQ(Submit(&row, &minimum), SCORES_SUBMIT_TRANSFER_FAILED);
    EXPECT_EQ(minimum, 77);
}

TEST_F(ScoresSubmitTest, OnlyStoredResultsAreSubmissions)
{
    for (int32_t result = -3; result <= 7; result++)
        EXPECT_EQ(ScoresSubmitIsSubmitResultCodeASubmission(result), result == 1 || result == 4 || result == 5)
            << result;
    EXPECT_FALSE(ScoresSubmitIsSubmitResultCodeASubmission(8));
    EXPECT_FALSE(ScoresSubmitIsSubmitResultCodeASubmission(-4));
    EXPECT_TRUE(LogHas("Unexpected result 8"));
}

// The game's last score goes out through the registered service; the answer and the
// list's minimum land in the player's local table.
TEST_F(ScoresSubmitTest, TheLastScoreOfTheTableIsSentAndItsOutcomeStored)
{
    _UserOptions &options = GameState.userOptions;
    const _UserOptions saved = options;
    options.gameType = GAME_TYPE_ARCADE;
    options.difficulty[GAME_TYPE_ARCADE] = 1;
    _GameScores &table = options.gameScores[GAME_TYPE_ARCADE][1];
    memset(&table, 0, sizeof(table));
    _HighScore &last = table.rows[0];
    last.gameType = GAME_TYPE_ARCADE;
    last.difficulty = 1;
    memcpy(last.name, "Twenty Characters Xy", 20); // fills the field: no terminator
    memcpy(last.country, "NZ", 2);
    last.userId = 9;
    last.date = {2026, 6, 1};
    last.startLevel = 0;
    last.levels = 4;
    last.score = 3100;
    table.numRows = 1;
    table.lastScore = last;
    table.lastScoreIndex = 0;
    table.lastScoreExists = 1;
    table.onlineMinimumScore = 10;
    OnlineRegisterScoreHooks(nullptr);

    server.Queue(testkit::HttpReply::Ok(" B 5000\n"));
    EXPECT_FALSE(ScoresAddLastScore());
    EXPECT_EQ(table.sendState, SCORES_SUBMIT_TOO_LOW);
    EXPECT_EQ(table.onlineMinimumScore, 5000);
    // An unreadable minimum leaves the stored one as it was.
    server.Queue(testkit::HttpReply::Ok(" B five\n"));
    EXPECT_FALSE(ScoresAddLastScore());
    EXPECT_EQ(table.sendState, (uint8_t)SCORES_SUBMIT_FAILED);
    EXPECT_EQ(table.onlineMinimumScore, 5000);
    server.Queue(testkit::HttpReply::Ok(" A\n"));
    EXPECT_TRUE(ScoresAddLastScore());
    EXPECT_EQ(table.sendState, SCORES_SUBMIT_STORED);

    ASSERT_EQ(server.RequestCount(), 3u);
    json::Object body;
    std::string why;
    ASSERT_TRUE(DecodeBody(server.Requests()[2].body, &body, &why)) << why;
    EXPECT_TRUE(body["name"] == json::UnknownElement("Twenty Characters Xy"));
    EXPECT_TRUE(body["set"] == json::UnknownElement((double)ScoresGetTableId(GAME_TYPE_ARCADE, 1)));
    EXPECT_TRUE(body["v4"] == json::UnknownElement(1.0 * 65536 + 5));
    OnlineScoresSetHooks(nullptr);
    options = saved;
}

// The answer's reader on its own: forms the transfer cannot produce.
TEST(ScoresSubmitReply, LengthsAndNumbersAtTheirBounds)
{
    struct Case
    {
        std::string reply;
        int kind;
    };
    const Case cases[] = {
        {std::string(" A\0", 3), SUBMIT_REPLY_STORED},
        {" B 4294967295", SUBMIT_REPLY_MALFORMED},
        {" B 2147483647", SUBMIT_REPLY_TOO_LOW},
        {" V 240 241 ", SUBMIT_REPLY_MALFORMED},
        {" V 240  241", SUBMIT_REPLY_MALFORMED},
        {" V 00240 241", SUBMIT_REPLY_OUT_OF_DATE},
        {" V 4294967296 1", SUBMIT_REPLY_MALFORMED},
        {" B 1234567890123", SUBMIT_REPLY_MALFORMED},
        {std::string(20, ' '), SUBMIT_REPLY_BAD_LENGTH},
        {" ", SUBMIT_REPLY_BAD_LENGTH},
        {"\r\n", SUBMIT_REPLY_BAD_LENGTH},
    };
    for (const Case &c : cases)
    {
        SCOPED_TRACE("<" + c.reply + ">");
        _ScoresSubmitReply reply;
        EXPECT_EQ(ScoresSubmitReadReply(c.reply.data(), (uint32_t)c.reply.size(), 240, &reply), c.kind);
        EXPECT_EQ(reply.kind, c.kind);
        EXPECT_NE(memchr(reply.text, 0, sizeof(reply.text)), nullptr);
    }
}

} // namespace
