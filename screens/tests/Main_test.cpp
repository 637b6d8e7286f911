// The game set-up screen on the game's registry, headless: the choices of each game type
// and the options they are bound to, the local score table at its edges, the online list
// with and without the online service, starting, resuming and ending games, and the own
// puzzles. Presses are mouse clicks delivered on the stack's next tick.
#include <chrono>
#include <cstring>
#include <string>
#include <thread>
#include <vector>

#include "EngMemory.h"
#include "EngWindow.h"
#include "GameState.h"
#include "PlatInet.h"
#include "ScoresMain.h"
#include "ScoresSubmit.h"
#include "TestkitHttp.h"
#include "Main.h"
#include "MWinTabPanel.h"
#include "OnlineScores.h"
#include "Pause.h"
#include "Puzzles.h"
#include "SaveGame.h"
#include "Scores.h"
#include "ScreensFixture.h"
#include "Select.h"
#include "Tick.h"

namespace
{

using screenstest::ProgramDouble;

// The program's switch to the game: recorded, and the new-game routine runs as it would
// at the end of the fade.
void GoFromMenusToGameAndRun(GameSwitchCallback callback, char now)
{
    ProgramDouble::Calls().push_back(now ? "game now" : "game after fade");
    if (callback)
        callback();
}

// A stand-in online service: one list whose rows and fetch state a test sets.
struct FakeOnline
{
    std::vector<_ScoresScore> rows;
    bool finished = true;
    int lists = 0, fetchesNow = 0, submissions = 0;
    int lastRange = -1;
};
FakeOnline *s_fake = nullptr;

// An online row as the service's lists hold it, dated 7 March 2026.
void FillOnlineRow(_ScoresScore &row, uint32_t score, uint32_t levelCode, uint16_t userId, const char *name,
                   const char *country)
{
    row = {};
    row.v1 = (int32_t)score;
    row.v4 = levelCode;
    row.year = 2026;
    row.month = 3;
    row.day = 7;
    row.uid = userId;
    memcpy(row.cc, country, 2);
    row.plat = 'W';
    snprintf(row.name, sizeof(row.name), "%s", name);
}

void *FakeCreate(int, int, int, int, int range, ScoresValidityFn, char, int)
{
    s_fake->lists++;
    s_fake->lastRange = range;
    return s_fake;
}
void FakeUpdate(void *)
{
    s_fake->fetchesNow++;
}
// The service's poll: 1 a list came, 0 still reading.
int8_t FakeFinished(void *, int32_t *result, const char **message)
{
    if (result)
        *result = s_fake->finished ? 2 : 1;
    if (message)
        *message = nullptr;
    return s_fake->finished ? 1 : 0;
}
int FakeCount(void *)
{
    return (int)s_fake->rows.size();
}
const _ScoresScore *FakeList(void *)
{
    return s_fake->rows.empty() ? nullptr : s_fake->rows.data();
}
EngResultCode FakeSubmit(int, int, int, const _ScoresScore *, int32_t *)
{
    s_fake->submissions++;
    return EngFourCC("SUBM");
}
bool FakeIsSubmission(EngResultCode code)
{
    return code == EngFourCC("SUBM");
}

class MainTest : public screenstest::ScreensFixture
{
protected:
    void FillHooks(_AppHooks *hooks) override
    {
        hooks->goFromMenusToGame = GoFromMenusToGameAndRun;
        hooks->gotoMenuScreen = ProgramDouble::GotoMenuScreen;
        hooks->pauseShowStartNewGame = PauseShowStartNewGame;
        hooks->getMenuScreen = MenuScreen;
        hooks->updateGameSetupButtons = MainUpdateGameSetupButtons;
        hooks->requestAutoSubmitScore = MainRequestAutoSubmitScore;
    }

    static ScreenId MenuScreen() { return s_registry ? s_registry->GetCurrentScreen() : 0; }
    static inline PlinxScreens *s_registry = nullptr;

    void SetUp() override
    {
        ScreensFixture::SetUp();
        s_registry = registry;
        MainScoresReset();
        EngScreenSettings.windowed = 1;
        // Every case starts at the first difficulty of each type.
        for (int8_t &difficulty : GameState.userOptions.difficulty)
            difficulty = 0;
    }

    void TearDown() override
    {
        OnlineScoresSetHooks(nullptr);
        MainScoresReset();
        // A case that opened the editor leaves it.
        PuzzlesSetEditing(false);
        s_fake = nullptr;
        s_registry = nullptr;
        ScreensFixture::TearDown();
    }

    void InstallFakeOnline()
    {
        s_fake = &fake;
        _OnlineScoresHooks hooks = {};
        hooks.listCreate = FakeCreate;
        hooks.listUpdate = FakeUpdate;
        hooks.listIsUpdateFinished = FakeFinished;
        hooks.listGetNumScores = FakeCount;
        hooks.listGetScoresList = FakeList;
        hooks.submitScore = FakeSubmit;
        hooks.isSubmission = FakeIsSubmission;
        OnlineScoresSetHooks(&hooks);
    }

    void ShowSetUp(int gameType)
    {
        GameState.userOptions.gameType = (int8_t)gameType;
        ASSERT_TRUE(registry->GotoScreen(plinx_screen_main, nullptr));
        ASSERT_EQ(registry->GetCurrentScreen(), plinx_screen_main);
    }

    void Press(int widget)
    {
        MWinButton *button = MainGetWidget(widget);
        ASSERT_NE(button, nullptr);
        _Dimension area = *button->GetAreaP();
        Click(area.x + area.w * 0.5f, area.y + area.h * 0.5f);
        registry->Tick();
    }

    // The right arrow of a choice: the next item.
    void NextItem(int widget)
    {
        MWinButton *button = MainGetWidget(widget);
        ASSERT_NE(button, nullptr);
        _Dimension area = *button->GetAreaP();
        Click(area.x + area.w - 3, area.y + area.h * 0.5f);
        registry->Tick();
    }

    static std::string Cell(int row, int column)
    {
        return MainGetScoresCellText(row, column, MainGetScoresTable());
    }

    static bool Shown(int widget) { return MainGetWidget(widget)->IsVisible(); }
    static bool On(int widget) { return MainGetWidget(widget)->IsEnabled(); }
    static std::string Text(int widget) { return MainGetWidget(widget)->GetTextP(); }
    static std::string Choice(int widget)
    {
        MWinButton *button = MainGetWidget(widget);
        return button->ChoiceGetString(button->ChoiceGetSel());
    }

    // A local table of `rows` rows with scores counting down from 1000 x rows.
    static _GameScores &FillTable(int gameType, int difficulty, int rows)
    {
        _GameScores &table = GameState.userOptions.gameScores[gameType][difficulty];
        table = {};
        for (int i = 0; i < rows && i < SCORES_MAX_ROWS; i++)
        {
            _HighScore &row = table.rows[i];
            row.gameType = (int8_t)gameType;
            row.difficulty = (int8_t)difficulty;
            snprintf(row.name, sizeof(row.name), "P%03d", i);
            strcpy(row.country, "NO");
            row.userId = (uint16_t)(i + 1);
            row.date = {2026, 12, 10};
            row.startLevel = 0;
            row.levels = (int8_t)(i % 20);
            row.score = (uint32_t)(1000 * (rows - i));
        }
        table.numRows = rows;
        return table;
    }

    FakeOnline fake;
};

TEST_F(MainTest, EachGameTypeShowsItsChoicesBoundToThePlayersOptions)
{
    struct
    {
        int gameType;
        const char *title, *label, *firstItem;
        int difficulties;
        bool levelRow, puzzleRow, table;
    } rows[] = {
        {GAME_TYPE_ARCADE, "ARCADE GAMES", "DIFFICULTY", "EASY", 4, true, false, true},
        {GAME_TYPE_STRATEGIC, "STRATEGIC GAMES", "SIZE", "SMALL", 6, true, false, true},
        {GAME_TYPE_PUZZLE, "PUZZLE GAMES", "DIFFICULTY", "EASY", 3, true, false, true},
        {GAME_TYPE_MY_PUZZLES, "MY PUZZLES GAMES", nullptr, nullptr, 0, false, true, false},
    };
    for (const auto &row : rows)
    {
        SCOPED_TRACE(row.gameType);
        ShowSetUp(row.gameType);
        EXPECT_EQ(Text(MAIN_GAME_TYPE), row.title);
        EXPECT_EQ(Shown(MAIN_DIFFICULTY), row.label != nullptr);
        EXPECT_EQ(Shown(MAIN_STARTING_LEVEL), row.levelRow);
        EXPECT_EQ(Shown(MAIN_MY_PUZZLE), row.puzzleRow);
        EXPECT_EQ(Shown(MAIN_PUZZLE_NEW), row.puzzleRow);
        EXPECT_EQ(Shown(MAIN_SCORES), row.table);
        EXPECT_EQ(Shown(MAIN_ONLINE_SCORES), row.table);
        for (int widget : {MAIN_SPEED, MAIN_SPEED_TEXT, MAIN_DEBUG, MAIN_DELETE_SCORE, MAIN_INTERNET_WAIT})
            EXPECT_FALSE(Shown(widget)) << widget;
        if (row.label)
        {
            EXPECT_EQ(Text(MAIN_DIFFICULTY_TEXT), row.label);
            EXPECT_EQ(MainGetWidget(MAIN_DIFFICULTY)->ChoiceGetNumItems(), row.difficulties);
            EXPECT_EQ(Choice(MAIN_DIFFICULTY), row.firstItem);
            // The shown rows sit under the title, one under the other.
            int left, top, right, bottom, dTop, dBottom, lTop, lBottom;
            MainGetWidget(MAIN_GAME_TYPE)->GetAreaInts(&left, &top, &right, &bottom);
            MainGetWidget(MAIN_DIFFICULTY)->GetAreaInts(&left, &dTop, &right, &dBottom);
            MainGetWidget(MAIN_STARTING_LEVEL)->GetAreaInts(&left, &lTop, &right, &lBottom);
            EXPECT_GT(dTop, bottom);
            EXPECT_GT(lTop, dBottom);
        }
    }
    // The bound difficulty: the next item is written into the option and the table follows.
    ShowSetUp(GAME_TYPE_STRATEGIC);
    FillTable(GAME_TYPE_STRATEGIC, 1, 3);
    NextItem(MAIN_DIFFICULTY);
    EXPECT_EQ(GameState.userOptions.difficulty[GAME_TYPE_STRATEGIC], 1);
    EXPECT_EQ(Choice(MAIN_DIFFICULTY), "MEDIUM");
    EXPECT_EQ(MainGetScoresTable()->GetNumRows(), 3);
    NextItem(MAIN_STARTING_LEVEL);
    EXPECT_EQ(GameState.userOptions.strategicStartSize, 1);
    // ARCADE's starting level is its own option.
    ShowSetUp(GAME_TYPE_ARCADE);
    EXPECT_EQ(Choice(MAIN_STARTING_LEVEL), "LEVEL 1");
    NextItem(MAIN_STARTING_LEVEL);
    NextItem(MAIN_STARTING_LEVEL);
    EXPECT_EQ(GameState.userOptions.arcadeStartLevel, 2);
    EXPECT_EQ(GameState.userOptions.strategicStartSize, 1);
}

TEST_F(MainTest, DamagedStoredChoicesAreClampedWhenTheScreenStarts)
{
    _UserOptions &options = GameState.userOptions;
    options.difficulty[GAME_TYPE_ARCADE] = 9;
    options.arcadeStartLevel = 77;
    options.strategicStartSize = -4;
    options.difficulty[GAME_TYPE_PUZZLE] = -1;
    options.puzzleLevel[0] = 120;
    ShowSetUp(GAME_TYPE_ARCADE);
    EXPECT_EQ(options.difficulty[GAME_TYPE_ARCADE], 3);
    EXPECT_EQ(Choice(MAIN_DIFFICULTY), "VERY HARD");
    EXPECT_EQ(options.arcadeStartLevel, 9);
    EXPECT_EQ(Choice(MAIN_STARTING_LEVEL), "LEVEL 10");
    ShowSetUp(GAME_TYPE_STRATEGIC);
    EXPECT_EQ(options.strategicStartSize, 0);
    ShowSetUp(GAME_TYPE_PUZZLE);
    EXPECT_EQ(options.difficulty[GAME_TYPE_PUZZLE], 0);
    EXPECT_EQ(options.puzzleLevel[0], 0);
    EXPECT_EQ(Choice(MAIN_STARTING_LEVEL).rfind("LEVEL 1 : ", 0), 0u) << Choice(MAIN_STARTING_LEVEL);
    EXPECT_TRUE(On(MAIN_START_GAME));
    // A game type outside the four is ARCADE.
    ShowSetUp(9);
    EXPECT_EQ(options.gameType, GAME_TYPE_ARCADE);
    EXPECT_EQ(Text(MAIN_GAME_TYPE), "ARCADE GAMES");
}

TEST_F(MainTest, LocalTableShowsExactlyTheRowsThatExist)
{
    struct
    {
        int stored, shown;
    } rows[] = {{0, 0}, {1, 1}, {100, 100}, {101, 100}, {-7, 0}};
    for (const auto &row : rows)
    {
        SCOPED_TRACE(row.stored);
        _GameScores &table = FillTable(GAME_TYPE_ARCADE, 0, row.stored > 100 ? 100 : row.stored);
        table.numRows = row.stored;
        ShowSetUp(GAME_TYPE_ARCADE);
        EXPECT_EQ(MainGetScoresTable()->GetNumRows(), row.shown);
        EXPECT_EQ(MainGetScoresTable()->GetNumColumns(), 5); // POS NAME LEVELS DATE SCORE
        EXPECT_EQ(Cell(row.shown, 1), "");
        EXPECT_EQ(Cell(row.shown, 4), "");
        if (row.shown > 0)
        {
            const int last = row.shown - 1;
            EXPECT_EQ(Cell(last, 0), std::to_string(row.shown));
            EXPECT_EQ(Cell(last, 1), table.rows[last].name);
            EXPECT_EQ(Cell(last, 4), std::to_string(table.rows[last].score));
        }
    }
    FillTable(GAME_TYPE_ARCADE, 0, 2);
    ShowSetUp(GAME_TYPE_ARCADE);
    EXPECT_EQ(Cell(-1, 0), "POS.");
    EXPECT_EQ(Cell(-1, 1), "NAME");
    EXPECT_EQ(Cell(-1, 2), "LEVELS");
    EXPECT_EQ(Cell(-1, 3), "DATE");
    EXPECT_EQ(Cell(-1, 4), "SCORE");
    EXPECT_EQ(Cell(0, 2), "01-01");
    EXPECT_EQ(Cell(0, 3), "DEC 10");
    // A row whose levels were never set shows none.
    GameState.userOptions.gameScores[0][0].rows[1].levels = -1;
    EXPECT_EQ(Cell(1, 2), "");
    EXPECT_EQ(Text(MAIN_ONLINE_SCORES), "LOCAL");
    EXPECT_EQ(Text(MAIN_SCORES_RANGE), "ALL TIME");
    EXPECT_FALSE(On(MAIN_SCORES_RANGE));
    EXPECT_FALSE(On(MAIN_UPDATE_SCORES));
}

TEST_F(MainTest, AFinishedGameIsEnteredOnceAndItsRowPulses)
{
    _GameState &gs = GameState;
    FillTable(GAME_TYPE_ARCADE, 0, 3);
    gs.gameType = GAME_TYPE_ARCADE;
    gs.score = 2500;
    gs.level = 4;
    // A saved game from before the game ended must not come back.
    testkit::WriteFile(SaveGameGetFilename(0), std::string(SAVE_GAME_SNAPSHOT_SIZE, 0));
    gs.userOptions.savedGame[GAME_TYPE_ARCADE] = 1;
    gs.checkGameOverScore = 1;
    gs.userOptions.autoSubmitAsked = 1;
    gs.userOptions.autoSubmitOn = 0;
    ShowSetUp(GAME_TYPE_ARCADE);
    EXPECT_FALSE(SaveGameDoesSavedGameExist(0));
    EXPECT_EQ(gs.userOptions.savedGame[GAME_TYPE_ARCADE], 0);
    EXPECT_TRUE(ProgramDouble::Calls().empty());
    registry->Tick();
    registry->Tick();
    EXPECT_EQ(gs.userOptions.gameScores[0][0].numRows, 4) << LogText();
    ASSERT_EQ(MainGetScoresTable()->GetNumRows(), 4);
    EXPECT_EQ(Cell(1, 4), "2500");
    EXPECT_EQ(MainGetHighlightedRow(), 1);
    EXPECT_TRUE(On(MAIN_SUBMIT_SCORE));
    // A rebuild of the screen enters nothing again.
    ShowSetUp(GAME_TYPE_ARCADE);
    registry->Tick();
    EXPECT_EQ(gs.userOptions.gameScores[0][0].numRows, 4);
    EXPECT_EQ(MainGetHighlightedRow(), 1);
}

TEST_F(MainTest, WithoutTheOnlineServiceTheOnlineTableSaysSoAndNothingWaits)
{
    FillTable(GAME_TYPE_ARCADE, 0, 5);
    ShowSetUp(GAME_TYPE_ARCADE);
    Press(MAIN_ONLINE_SCORES);
    EXPECT_TRUE(MainIsOnlineMode());
    EXPECT_EQ(Text(MAIN_ONLINE_SCORES), "ONLINE");
    EXPECT_EQ(Text(MAIN_SCORES_RANGE), "YEARLY");
    EXPECT_EQ(MainGetScoresTable()->GetNumRows(), 1);
    EXPECT_EQ(MainGetScoresTable()->GetNumColumns(), 7);
    EXPECT_EQ(Cell(0, 1), "ONLINE SCORES ARE NOT AVAILABLE");
    EXPECT_EQ(Cell(0, 0), "");
    registry->Tick();
    EXPECT_TRUE(On(MAIN_UPDATE_SCORES));
    // RANGE cycles through the four online ranges.
    for (const char *name : {"MONTHLY", "WEEKLY", "DAILY", "YEARLY"})
    {
        Press(MAIN_SCORES_RANGE);
        EXPECT_EQ(Text(MAIN_SCORES_RANGE), name);
    }
    // Back to the local table.
    Press(MAIN_ONLINE_SCORES);
    EXPECT_FALSE(MainIsOnlineMode());
    EXPECT_EQ(MainGetScoresTable()->GetNumRows(), 5);
    EXPECT_FALSE(On(MAIN_UPDATE_SCORES));
}

TEST_F(MainTest, OnlineRowsComeFromTheServiceOnceItsFetchEnds)
{
    InstallFakeOnline();
    FillTable(GAME_TYPE_ARCADE, 0, 1);
    // The player's last score, which the online list will hold too.
    _GameScores &table = GameState.userOptions.gameScores[0][0];
    table.lastScoreExists = 1;
    table.lastScoreIndex = 0;
    _HighScore &mine = table.rows[0];
    mine.score = 800;
    mine.date = {2026, 3, 7};
    mine.userId = 51;
    snprintf(mine.name, sizeof(mine.name), "ONLINE1");
    strcpy(mine.country, "AT");
    table.lastScore = mine;
    ShowSetUp(GAME_TYPE_ARCADE);
    fake.finished = false;
    Press(MAIN_ONLINE_SCORES);
    EXPECT_EQ(fake.lastRange, 1);
    EXPECT_EQ(Cell(0, 1), "FETCHING ONLINE SCORES ...");
    EXPECT_FALSE(On(MAIN_UPDATE_SCORES));
    registry->Tick();
    EXPECT_FALSE(On(MAIN_UPDATE_SCORES));

    // The fetch ends with three rows, one of them the player's last score.
    for (int i = 0; i < 3; i++)
    {
        _ScoresScore row;
        const std::string name = "ONLINE" + std::to_string(i);
        FillOnlineRow(row, 900 - 100 * i, i == 1 ? 0 : (1 << 16) + 3, (uint16_t)(50 + i), name.c_str(), "AT");
        fake.rows.push_back(row);
    }
    fake.finished = true;
    registry->Tick();
    EXPECT_TRUE(On(MAIN_UPDATE_SCORES));
    ASSERT_EQ(MainGetScoresTable()->GetNumRows(), 3);
    EXPECT_EQ(Cell(0, 1), "ONLINE0");
    EXPECT_EQ(Cell(0, 4), "01-03");
    EXPECT_EQ(Cell(1, 4), ""); // no levels sent
    EXPECT_EQ(Cell(2, 5), "MAR 7");
    EXPECT_EQ(Cell(2, 6), "700");
    EXPECT_EQ(Cell(3, 1), "");
    EXPECT_EQ(MainGetHighlightedRow(), 1);

    // UPDATE fetches at once; SUBMIT sends the last score and fetches the fresh list.
    const int fetches = fake.fetchesNow;
    Press(MAIN_UPDATE_SCORES);
    EXPECT_EQ(fake.fetchesNow, fetches + 1);
    registry->Tick();
    Press(MAIN_SUBMIT_SCORE);
    EXPECT_EQ(fake.submissions, 1) << LogText();
    EXPECT_EQ(fake.fetchesNow, fetches + 2);
    // An automatic submission waits for a tick without a popup.
    MainRequestAutoSubmitScore();
    mwin->PopupMessage("T", "popup");
    registry->Tick();
    EXPECT_EQ(fake.submissions, 1);
    mwin->PopupClose();
    registry->Tick();
    EXPECT_EQ(fake.submissions, 2);
}

// The online service itself, its base address on a loopback server.
TEST_F(MainTest, OnlineTableOverTheServiceOnALoopbackServer)
{
    testkit::LoopbackHttpServer server;
    ASSERT_TRUE(server.Running());
    PlatInetSetLoopbackOnly(true);
    OnlineSetBaseAddress(server.BaseUrl().c_str());
    OnlineRegisterScoreHooks(nullptr);
    // Score, two more values, levels, player id, name, country, text, date, platform.
    server.SetResponder([](const testkit::HttpRequest &request) {
        if (request.target.find("&ra=2&") != std::string::npos)
            return testkit::HttpReply::Status(500, "");
        return testkit::HttpReply::Ok("Y \n4500 0 0 65541 9 anna AT x 2026-05-04 W\n"
                                      "3100 0 0 0 12 bo NZ x 2026-06-01 W\n*\n");
    });
    auto fetchEnds = [&] {
        for (int i = 0; i < 1000 && !On(MAIN_UPDATE_SCORES); i++)
        {
            registry->Tick();
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
        }
    };
    ShowSetUp(GAME_TYPE_ARCADE);
    Press(MAIN_ONLINE_SCORES);
    EXPECT_EQ(Cell(0, 1), "FETCHING ONLINE SCORES ...");
    fetchEnds();
    ASSERT_EQ(MainGetScoresTable()->GetNumRows(), 2) << LogText();
    EXPECT_EQ(Cell(0, 1), "ANNA");
    EXPECT_EQ(Cell(0, 4), "01-05");
    EXPECT_EQ(Cell(0, 5), "MAY 4");
    EXPECT_EQ(Cell(1, 6), "3100");
    ASSERT_GE(server.RequestCount(), 1u);
    EXPECT_NE(server.Requests()[0].target.find("&ra=1&"), std::string::npos) << server.Requests()[0].target;

    // MONTHLY: the server fails; the table says the list is not available.
    Press(MAIN_SCORES_RANGE);
    fetchEnds();
    EXPECT_EQ(Text(MAIN_SCORES_RANGE), "MONTHLY");
    EXPECT_EQ(MainGetScoresTable()->GetNumRows(), 1);
    EXPECT_EQ(Cell(0, 1), "ONLINE SCORES ARE NOT AVAILABLE");
    ScoresFreeOnlineScores();
    OnlineSetBaseAddress(nullptr);
}

// A game over with automatic submission on: the set-up screen's first tick enters the
// score, the next one sends it; the answer lands in the player's table. Without a
// server the submission fails after its time-out and the local score stays.
TEST_F(MainTest, AGameOverSubmitsTheScoreWhenAutomaticSubmissionIsOn)
{
    testkit::LoopbackHttpServer server;
    ASSERT_TRUE(server.Running());
    PlatInetSetLoopbackOnly(true);
    OnlineSetBaseAddress(server.BaseUrl().c_str());
    OnlineRegisterScoreHooks(nullptr);
    ScoresSubmitSetTimeout(1);
    server.SetResponder([](const testkit::HttpRequest &request) {
        return testkit::HttpReply::Ok(request.method == "POST" ? " A\n" : "Y \n*\n");
    });
    _GameState &gs = GameState;
    _GameScores &table = gs.userOptions.gameScores[GAME_TYPE_ARCADE][0];
    auto gameOver = [&](int32_t score) {
        gs.gameType = GAME_TYPE_ARCADE;
        gs.score = score;
        gs.level = 4;
        gs.checkGameOverScore = 1;
        ShowSetUp(GAME_TYPE_ARCADE);
        registry->Tick();
        registry->Tick();
    };
    gs.userOptions.autoSubmitAsked = 1;
    gs.userOptions.autoSubmitOn = 1;
    gameOver(2500);
    ASSERT_EQ(table.numRows, 1) << LogText();
    std::vector<testkit::HttpRequest> requests = server.Requests();
    ASSERT_EQ(requests.size(), 1u) << LogText();
    EXPECT_EQ(requests[0].method, "POST");
    EXPECT_EQ(requests[0].target, "/cgi-bin/common/scores/Scores.fcgi");
    EXPECT_EQ(table.sendState, SCORES_SUBMIT_STORED);
    EXPECT_TRUE(On(MAIN_SUBMIT_SCORE));

    // No server: the score is kept, the failure stored, and SUBMIT can try again.
    std::string closed;
    {
        testkit::LoopbackHttpServer gone;
        closed = gone.BaseUrl();
    }
    OnlineSetBaseAddress(closed.c_str());
    gameOver(4000);
    EXPECT_EQ(table.numRows, 2);
    EXPECT_EQ(table.rows[0].score, 4000u);
    EXPECT_TRUE(table.lastScoreExists);
    EXPECT_EQ(table.sendState, (uint8_t)SCORES_SUBMIT_TRANSFER_FAILED);
    EXPECT_TRUE(On(MAIN_SUBMIT_SCORE));

    // With automatic submission off nothing is sent.
    OnlineSetBaseAddress(server.BaseUrl().c_str());
    gs.userOptions.autoSubmitOn = 0;
    gameOver(100);
    EXPECT_EQ(server.RequestCount(), 1u);
    ScoresSubmitSetTimeout(0);
    OnlineSetBaseAddress(nullptr);
}

TEST_F(MainTest, SubmittingInFullScreenWaitsForTheInternetTest)
{
    InstallFakeOnline();
    EngScreenSettings.windowed = 0;
    ResolutionGetSettings()->internetTest[0] = 0;
    ShowSetUp(GAME_TYPE_ARCADE);
    MainSubmitScore();
    EXPECT_EQ(fake.submissions, 0);
    EXPECT_EQ(ResolutionGetSettings()->internetTest[0], 255);
    EXPECT_TRUE(mwin->IsPopupOn()) << LogText();
}

TEST_F(MainTest, StartBeginsANewGameOfTheTypeAndDropsItsSavedGame)
{
    _GameState &gs = GameState;
    testkit::WriteFile(SaveGameGetFilename(0), std::string(SAVE_GAME_SNAPSHOT_SIZE, 0));
    gs.userOptions.savedGame[GAME_TYPE_ARCADE] = 0;
    ShowSetUp(GAME_TYPE_ARCADE);
    ProgramDouble::Calls().clear();
    Press(MAIN_START_GAME);
    EXPECT_EQ(ProgramDouble::Calls(), std::vector<std::string>{"game after fade"});
    EXPECT_EQ(gs.gameType, GAME_TYPE_ARCADE);
    EXPECT_EQ(gs.levelState, LEVEL_STATE_START);
    EXPECT_FALSE(SaveGameDoesSavedGameExist(0));

    // A system puzzle starts at the chosen level of its difficulty.
    gs.userOptions.difficulty[GAME_TYPE_PUZZLE] = 1;
    gs.userOptions.puzzleLevel[1] = 0;
    ShowSetUp(GAME_TYPE_PUZZLE);
    NextItem(MAIN_STARTING_LEVEL);
    ASSERT_EQ(gs.userOptions.puzzleLevel[1], 1);
    Press(MAIN_START_GAME);
    EXPECT_EQ(gs.gameType, GAME_TYPE_PUZZLE);
    EXPECT_STREQ(gs.puzzle.name, PuzzlesGetPuzzleNameOfDifficulty(1, 1));
}

TEST_F(MainTest, APendingSavedGameResumesOnThePauseScreenAndADamagedOneSaysSo)
{
    _GameState &gs = GameState;
    ShowSetUp(GAME_TYPE_ARCADE);
    Press(MAIN_START_GAME);
    ProgramDouble::GuiOn() = false;
    EngFrameTiming.frameTime = 1.0f / 60.0f;
    for (int tick = 0; tick < 600 && gs.levelState != LEVEL_STATE_PLAY; tick++)
        TickGame();
    ASSERT_EQ(gs.levelState, LEVEL_STATE_PLAY);
    gs.score = 1230;
    const int level = gs.level;
    ASSERT_TRUE(SaveGameToBeResumed(0)) << LogText();
    ProgramDouble::GuiOn() = true;
    gs.score = 0;
    ProgramDouble::Calls().clear();
    ShowSetUp(GAME_TYPE_ARCADE);
    EXPECT_EQ(gs.score, 1230) << LogText();
    EXPECT_EQ(gs.level, level);
    EXPECT_EQ(gs.userOptions.savedGame[GAME_TYPE_ARCADE], 0);
    EXPECT_EQ(ProgramDouble::Calls(), std::vector<std::string>{"menu PAUS"});
    ASSERT_TRUE(registry->GotoScreen(plinx_screen_pause, nullptr));
    EXPECT_STREQ(PauseGetWidget(PAUSE_QUIT)->GetTextP(), "START NEW GAME");

    testkit::WriteFile(SaveGameGetFilename(0), "not a game");
    gs.userOptions.savedGame[GAME_TYPE_ARCADE] = 1;
    ProgramDouble::Calls().clear();
    ShowSetUp(GAME_TYPE_ARCADE);
    EXPECT_TRUE(ProgramDouble::Calls().empty());
    EXPECT_TRUE(mwin->IsPopupOn());
    EXPECT_EQ(registry->GetCurrentScreen(), plinx_screen_main);
}

TEST_F(MainTest, OwnPuzzlesListStartAndDelete)
{
    PuzzlesLoadPuzzlesType(GAME_TYPE_MY_PUZZLES);
    ASSERT_EQ(PuzzlesGetNumPuzzles(GAME_TYPE_MY_PUZZLES), 0);
    ShowSetUp(GAME_TYPE_MY_PUZZLES);
    EXPECT_EQ(Choice(MAIN_MY_PUZZLE), "( NO PUZZLES CREATED )");
    for (int widget : {MAIN_START_GAME, MAIN_PUZZLE_EDIT, MAIN_PUZZLE_DELETE, MAIN_MY_PUZZLE})
        EXPECT_FALSE(On(widget)) << widget;
    EXPECT_TRUE(On(MAIN_PUZZLE_NEW));

    for (const char *name : {"ALPHA", "BETA"})
    {
        ASSERT_TRUE(PuzzlesReset(GAME_TYPE_MY_PUZZLES, name));
        ASSERT_TRUE(PuzzlesSaveToFile()) << LogText();
    }
    EngSafeStrcpy(GameState.puzzle.name, "BETA", sizeof(GameState.puzzle.name));
    ShowSetUp(GAME_TYPE_MY_PUZZLES);
    EXPECT_EQ(Choice(MAIN_MY_PUZZLE), "BETA");
    EXPECT_TRUE(On(MAIN_START_GAME));
    EXPECT_TRUE(On(MAIN_PUZZLE_DELETE));
    EXPECT_TRUE(On(MAIN_PUZZLE_EDIT));
    NextItem(MAIN_MY_PUZZLE);
    EXPECT_EQ(Choice(MAIN_MY_PUZZLE), "BETA"); // the last item
    // Even with the editor left on (a way out of the properties that skipped QUIT), START
    // plays the puzzle.
    ASSERT_TRUE(PuzzlesPrepareToStart());
    Press(MAIN_START_GAME);
    EXPECT_EQ(GameState.gameType, GAME_TYPE_MY_PUZZLES);
    EXPECT_STREQ(GameState.puzzle.name, "BETA");
    EXPECT_FALSE(PuzzlesIsEditing());

    // DELETE asks first; OK removes the file and the list follows.
    ShowSetUp(GAME_TYPE_MY_PUZZLES);
    Press(MAIN_PUZZLE_DELETE);
    ASSERT_TRUE(mwin->IsPopupOn());
    MWinButton *ok = mwin->PopupGetButton("OK");
    ASSERT_NE(ok, nullptr) << LogText();
    _Dimension area = *ok->GetScreenAreaP();
    Click(area.x + area.w / 2, area.y + area.h / 2);
    registry->Tick();
    registry->Tick();
    EXPECT_EQ(PuzzlesGetNumPuzzles(GAME_TYPE_MY_PUZZLES), 1) << LogText();
    EXPECT_EQ(Choice(MAIN_MY_PUZZLE), "ALPHA");

    // EDIT opens the chosen puzzle's properties; CREATE asks for a name first.
    Press(MAIN_PUZZLE_EDIT);
    EXPECT_EQ(registry->GetCurrentScreen(), plinx_screen_cp_props) << LogText();
    EXPECT_STREQ(GameState.puzzle.name, "ALPHA");
    ShowSetUp(GAME_TYPE_MY_PUZZLES);
    Press(MAIN_PUZZLE_NEW);
    ASSERT_TRUE(mwin->IsPopupOn());
    MWinButton *edit = mwin->PopupGetButton("TEXTEDIT");
    ASSERT_NE(edit, nullptr);
    for (char c : std::string("gamma"))
        mwin->HandleInput(MWIN_INPUT_CHARACTER, c, 0);
    Key(ENG_VK_RETURN);
    registry->Tick();
    registry->Tick();
    EXPECT_EQ(registry->GetCurrentScreen(), plinx_screen_cp_props) << LogText();
    EXPECT_STREQ(GameState.puzzle.name, "GAMMA");
}

// CREATE asks for a name; one that is empty once cleaned or that another own puzzle has
// (letter case aside) is refused with a message, and the puzzle that has it keeps its file.
TEST_F(MainTest, CreateRefusesAnEmptyOrTakenName)
{
    ASSERT_TRUE(PuzzlesReset(GAME_TYPE_MY_PUZZLES, "ALPHA"));
    GameState.puzzle.numBallTypes = 7;
    ASSERT_TRUE(PuzzlesSaveToFile()) << LogText();
    const std::string alphaFile = testkit::ReadFile(PuzzlesGetFilename());
    ASSERT_FALSE(alphaFile.empty());

    const struct
    {
        const char *typed;
        const char *why; // what the log says when refused
        bool refused;
    } cases[] = {
        {"", "Refused puzzle name", true},
        {" ..:*", "Refused puzzle name", true},
        {"alpha", "A puzzle named <ALPHA> exists", true},
        {"Alpha.", "A puzzle named <ALPHA> exists", true},
        {"delta", nullptr, false},
    };
    for (const auto &row : cases)
    {
        SCOPED_TRACE(row.typed);
        ShowSetUp(GAME_TYPE_MY_PUZZLES);
        Press(MAIN_PUZZLE_NEW);
        ASSERT_TRUE(mwin->IsPopupOn());
        for (const char *c = row.typed; *c; c++)
            mwin->HandleInput(MWIN_INPUT_CHARACTER, *c, 0);
        Key(ENG_VK_RETURN);
        registry->Tick();
        registry->Tick();
        if (row.refused)
        {
            EXPECT_EQ(registry->GetCurrentScreen(), plinx_screen_main);
            EXPECT_TRUE(mwin->IsPopupOn()) << "the refusal is said";
            EXPECT_NE(LogText().find(row.why), std::string::npos) << LogText();
            mwin->PopupClose();
        }
        else
        {
            EXPECT_EQ(registry->GetCurrentScreen(), plinx_screen_cp_props) << LogText();
            EXPECT_STREQ(GameState.puzzle.name, "DELTA");
        }
    }
    PuzzlesLoadPuzzlesType(GAME_TYPE_MY_PUZZLES);
    EXPECT_EQ(PuzzlesGetNumPuzzles(GAME_TYPE_MY_PUZZLES), 1);
    ASSERT_TRUE(PuzzlesLoadFromFile(GAME_TYPE_MY_PUZZLES, "ALPHA"));
    EXPECT_EQ(testkit::ReadFile(PuzzlesGetFilename()), alphaFile) << "the existing puzzle is untouched";
}

TEST_F(MainTest, MainMenuEscapeAndOptionsLeadOnAndOptionsComesBack)
{
    ShowSetUp(GAME_TYPE_ARCADE);
    EXPECT_TRUE(On(MAIN_OPTIONS));
    Press(MAIN_OPTIONS);
    EXPECT_EQ(registry->GetCurrentScreen(), plinx_screen_options) << LogText();
    ASSERT_TRUE(registry->GoBack());
    EXPECT_EQ(registry->GetCurrentScreen(), plinx_screen_main);
    EXPECT_EQ(Text(MAIN_GAME_TYPE), "ARCADE GAMES");
    Key(ENG_VK_ESCAPE);
    registry->Tick();
    EXPECT_EQ(registry->GetCurrentScreen(), plinx_screen_select);
    ShowSetUp(GAME_TYPE_ARCADE);
    Press(MAIN_BACK);
    EXPECT_EQ(registry->GetCurrentScreen(), plinx_screen_select) << LogText();
}

} // namespace
