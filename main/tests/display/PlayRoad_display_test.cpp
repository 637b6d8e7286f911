// The whole road a player takes, on the real Plinx_DX9 under the display, driven with
// xdotool. First start, with an empty HOME: the start-up dialog (Enter plays), the
// splash, the players screen, a new player "Tester" with a chosen country, the main menu,
// the ARCADE set-up screen, its OPTIONS (the menu music turned down), the difficulty and
// starting level chosen, START, shots, Escape to the pause screen, RESUME, play until the
// game is over, and the score's row in the local table. Second start: the player
// continues, the score row and the volume are kept, START, Escape, CONTINUE GAME LATER,
// Exit. Third start: the saved game resumes with its level and score, then a
// STRATEGIC game and a system PUZZLE start from their set-up screens.
//
// Each step's screenshot is kept in the build folder (e2e_*.png) for a person to look at.
#include <cstring>

#include "GameDriver.h"

namespace
{

using displaytest::Shot;

class PlayRoadTest : public displaytest::GameDriverTest
{
protected:
    // Waits for the log to name the screen `id` for the `times`-th time, then for the frame
    // to settle.
    void WaitForScreen(const std::string &id, int times = 1)
    {
        ASSERT_TRUE(WaitForLog("Screen " + id, 15, times)) << testkit::ReadFile(logPath);
        std::this_thread::sleep_for(std::chrono::milliseconds(1200));
    }

    // The score and level kept in the saved ARCADE game (offsets of the game snapshot).
    bool SavedGame(int *score, int *level)
    {
        std::string bytes = testkit::ReadFile(userFolder + "/SavedGame0_0.dat");
        if (bytes.size() != 38560)
            return false;
        memcpy(score, bytes.data() + 36620, 4);
        memcpy(level, bytes.data() + 36632, 4);
        return true;
    }

    // Starts the program on the players screen and continues with the last player.
    void StartAndContinue(const std::string &step)
    {
        unlink(logPath.c_str());
        ASSERT_TRUE(Start());
        ASSERT_TRUE(WaitForLog("Screen uUSR", 40)) << testkit::ReadFile(logPath);
        std::this_thread::sleep_for(std::chrono::milliseconds(1500));
        Screenshot(step + "_players");
        ClickDesign(320, 447);
        ASSERT_TRUE(WaitForLog("Main menu for player Tester", 15)) << testkit::ReadFile(logPath);
        std::this_thread::sleep_for(std::chrono::milliseconds(1200));
    }

};

// Places on the 640 x 480 design space.
const float kArcade[2] = {320, 220}, kStrategic[2] = {320, 275}, kPuzzle[2] = {320, 330}, kExit[2] = {60, 452};
const float kStart[2] = {570, 164};               // the set-up screen's START
const float kSetUpBack[2] = {65, 452};            // its MAIN MENU
const float kMyPuzzles[2] = {320, 385}, kCreate[2] = {217, 197};
const float kDesign[2] = {320, 452}, kTest[2] = {65, 452}, kPropsQuit[2] = {575, 452}; // the properties
const float kResume[2] = {320, 240}, kSaveLater[2] = {320, 329}, kQuit[2] = {320, 393}; // the pause screen

TEST_F(PlayRoadTest, NewPlayerPlaysArcadeToTheEndSavesAGameAndResumesIt)
{
    ASSERT_NO_FATAL_FAILURE(NewPlayerToMainMenu(""));

    // The ARCADE set-up screen: the title, the choices and an empty score table.
    ClickDesign(kArcade[0], kArcade[1]);
    WaitForScreen("MAIN");
    Shot setUp = Screenshot("08_arcade_setup");
    EXPECT_GT(ColoursDesign(setUp, 150, 110, 340, 30), 3) << "the title is drawn";
    EXPECT_GT(ColoursDesign(setUp, 15, 240, 520, 25), 3) << "the table's heading is drawn";

    // Its OPTIONS: the menu music two steps down, then BACK to the set-up screen.
    ClickDesign(575, 452);
    WaitForScreen("OPTN");
    ASSERT_TRUE(WaitForLog("menu music 7,", 5)) << testkit::ReadFile(logPath);
    ClickDesign(342, 222.5f);
    ClickDesign(342, 222.5f);
    Screenshot("09_options_volume");
    ClickDesign(570, 452);
    WaitForScreen("MAIN", 2);

    // The arrows choose EASY (few colours, so shots match) and LEVEL 4 (a field that comes
    // down fast): a short road to the end of a game with points.
    ClickDesign(222, 163);
    for (int i = 0; i < 3; i++)
        ClickDesign(418, 197);
    Screenshot("10_arcade_setup_chosen");

    // START: the turret at the bottom and the balls at the top; a few shots.
    ClickDesign(kStart[0], kStart[1]);
    ASSERT_TRUE(WaitForLog("Game started: ARCADE", 10)) << testkit::ReadFile(logPath);
    std::this_thread::sleep_for(std::chrono::milliseconds(2500));
    Shot game = Screenshot("11_arcade");
    EXPECT_GT(ColoursDesign(game, 200, 380, 240, 100), 8) << "the turret is drawn";
    EXPECT_GT(ColoursDesign(game, 150, 20, 340, 120), 8) << "balls hang from the top";
    for (float x : {250.0f, 390.0f})
    {
        MoveDesign(x, 300);
        std::this_thread::sleep_for(std::chrono::milliseconds(200));
        ClickDesign(x, 300);
    }
    Screenshot("12_shots");

    // Escape: the pause screen; RESUME goes back to the game.
    KeyInGame("Escape");
    ASSERT_TRUE(WaitForLog("Left the game after", 10)) << testkit::ReadFile(logPath);
    EXPECT_EQ(LogCount("Left the game after 0 shots"), 0) << testkit::ReadFile(logPath);
    WaitForScreen("PAUS");
    Shot pause = Screenshot("13_pause");
    EXPECT_GT(ColoursDesign(pause, 262, 187, 115, 105), 3) << "the RESUME button is drawn";
    ClickDesign(kResume[0], kResume[1]);
    ASSERT_TRUE(WaitForLog("Game started: ARCADE", 10, 2)) << testkit::ReadFile(logPath);

    // Play on, shooting across the field, until it reaches the bottom: Space and the
    // mouse button by turns, so that a game whose key presses go astray on a loaded
    // display still shoots.
    const float aims[] = {180, 250, 320, 390, 460, 290, 350};
    for (int i = 0; i < 300 && LogCount("Game over, score") == 0; i++)
    {
        MoveDesign(aims[i % 7], 150);
        if (i % 2 == 0)
            KeyInGame("space");
        else
            ClickDesign(aims[i % 7], 150);
    }
    ASSERT_TRUE(WaitForLog("Game over, score", 5)) << testkit::ReadFile(logPath);
    EXPECT_EQ(LogCount("Game over, score 0\n"), 0) << "the game scored";
    std::this_thread::sleep_for(std::chrono::milliseconds(2500));
    Screenshot("14_game_over");
    KeyInGame("Escape");
    WaitForScreen("MAIN", 3);
    // A first score asks about automatic submission: No, then Enter closes the notice
    // that follows.
    Screenshot("15_auto_submit_question");
    ClickDesign(350, 262);
    std::this_thread::sleep_for(std::chrono::milliseconds(800));
    KeyInGame("Return");
    std::this_thread::sleep_for(std::chrono::milliseconds(1000));
    // The finished game is the table's first row: its cells now hold text.
    Shot scores = Screenshot("15_score_in_table");
    EXPECT_GT(ColoursDesign(scores, 30, 262, 480, 18), ColoursDesign(setUp, 30, 262, 480, 18) + 3)
        << "the first row of the local table is drawn";
    EXPECT_FALSE(testkit::FileExists(userFolder + "/SavedGame0_0.dat")) << "a finished game leaves no saved game";
    ClickDesign(kSetUpBack[0], kSetUpBack[1]);
    ASSERT_TRUE(WaitForLog("Main menu for player Tester", 10, 2)) << testkit::ReadFile(logPath);
    std::this_thread::sleep_for(std::chrono::milliseconds(800));
    ClickDesign(kExit[0], kExit[1]);
    EXPECT_EQ(WaitForExit(20), 0) << testkit::ReadFile(logPath);
    EXPECT_TRUE(testkit::FileExists(userFolder + "/Resolution.dat"));

    // ---- Second start: the player continues; the score is still in the table; a game is
    // kept for later.
    StartAndContinue("16_second_start");
    ClickDesign(kArcade[0], kArcade[1]);
    WaitForScreen("MAIN");
    Shot kept = Screenshot("17_second_start_setup");
    EXPECT_GT(ColoursDesign(kept, 30, 262, 480, 18), ColoursDesign(setUp, 30, 262, 480, 18) + 3)
        << "the score row was kept in the player file";
    // The menu music volume chosen in the first start.
    ClickDesign(575, 452);
    WaitForScreen("OPTN");
    EXPECT_TRUE(WaitForLog("menu music 5,", 5)) << testkit::ReadFile(logPath);
    ClickDesign(570, 452);
    WaitForScreen("MAIN", 2);
    ClickDesign(kStart[0], kStart[1]);
    ASSERT_TRUE(WaitForLog("Game started: ARCADE", 10)) << testkit::ReadFile(logPath);
    std::this_thread::sleep_for(std::chrono::milliseconds(4000));
    MoveDesign(300, 100);
    KeyInGame("space");
    std::this_thread::sleep_for(std::chrono::milliseconds(1500));
    KeyInGame("Escape");
    WaitForScreen("PAUS");
    ClickDesign(kSaveLater[0], kSaveLater[1]);
    ASSERT_TRUE(WaitForLog("Main menu for player Tester", 10, 2)) << testkit::ReadFile(logPath);
    std::this_thread::sleep_for(std::chrono::milliseconds(1000));
    Screenshot("18_saved_for_later");
    int savedScore = -1, savedLevel = -1;
    ASSERT_TRUE(SavedGame(&savedScore, &savedLevel));
    ClickDesign(kExit[0], kExit[1]);
    EXPECT_EQ(WaitForExit(20), 0) << testkit::ReadFile(logPath);

    // ---- Third start: ARCADE resumes the saved game on the pause screen.
    StartAndContinue("19_third_start");
    ClickDesign(kArcade[0], kArcade[1]);
    WaitForScreen("PAUS");
    Screenshot("20_resumed_pause");
    ClickDesign(kResume[0], kResume[1]);
    ASSERT_TRUE(WaitForLog("Game started: ARCADE", 10)) << testkit::ReadFile(logPath);
    std::this_thread::sleep_for(std::chrono::milliseconds(1500));
    Screenshot("21_resumed_game");
    KeyInGame("Escape");
    const std::string left = "Left the game after 0 shots, score " + std::to_string(savedScore);
    ASSERT_TRUE(WaitForLog(left, 10)) << testkit::ReadFile(logPath);
    int score = -1, level = -1;
    ASSERT_TRUE(SavedGame(&score, &level));
    EXPECT_EQ(score, savedScore);
    EXPECT_EQ(level, savedLevel);
    WaitForScreen("PAUS", 2);
    // The quit button reads START NEW GAME after a resume; it leads to the set-up screen.
    ClickDesign(kQuit[0], kQuit[1]);
    WaitForScreen("MAIN");
    ClickDesign(kSetUpBack[0], kSetUpBack[1]);
    ASSERT_TRUE(WaitForLog("Main menu for player Tester", 10, 2)) << testkit::ReadFile(logPath);
    std::this_thread::sleep_for(std::chrono::milliseconds(800));

    // A STRATEGIC game and a system PUZZLE, each from its set-up screen.
    struct
    {
        const float *button;
        const char *name, *shot;
    } games[] = {{kStrategic, "STRATEGIC", "22_strategic"}, {kPuzzle, "PUZZLE", "23_puzzle"}};
    for (const auto &type : games)
    {
        SCOPED_TRACE(type.name);
        const int setUps = LogCount("Screen MAIN"), pauses = LogCount("Screen PAUS");
        const int menus = LogCount("Main menu for player Tester");
        ClickDesign(type.button[0], type.button[1]);
        WaitForScreen("MAIN", setUps + 1);
        Screenshot(std::string(type.shot) + "_setup");
        ClickDesign(kStart[0], kStart[1]);
        ASSERT_TRUE(WaitForLog(std::string("Game started: ") + type.name, 10)) << testkit::ReadFile(logPath);
        std::this_thread::sleep_for(std::chrono::milliseconds(4000));
        Shot shot = Screenshot(type.shot);
        EXPECT_GT(ColoursDesign(shot, 150, 20, 340, 120), 8) << "balls hang from the top";
        KeyInGame("Escape");
        WaitForScreen("PAUS", pauses + 1);
        ClickDesign(kQuit[0], kQuit[1]);
        WaitForScreen("MAIN", setUps + 2);
        ClickDesign(kSetUpBack[0], kSetUpBack[1]);
        ASSERT_TRUE(WaitForLog("Main menu for player Tester", 10, menus + 1)) << testkit::ReadFile(logPath);
        std::this_thread::sleep_for(std::chrono::milliseconds(800));
    }
    ClickDesign(kExit[0], kExit[1]);
    EXPECT_EQ(WaitForExit(20), 0) << testkit::ReadFile(logPath);
}

// An own puzzle from MY PUZZLES: CREATE with a name, its properties, a few balls put in
// with the editor's keys, a test run and back, QUIT to the set-up screen, where the
// puzzle is listed and START plays it.
TEST_F(PlayRoadTest, AnOwnPuzzleIsCreatedDesignedTestedAndPlayed)
{
    ASSERT_NO_FATAL_FAILURE(NewPlayerToMainMenu("puzzle_"));
    ClickDesign(kMyPuzzles[0], kMyPuzzles[1]);
    WaitForScreen("MAIN");
    Shot none = Screenshot("p01_my_puzzles_none");
    EXPECT_GT(ColoursDesign(none, 175, 190, 85, 20), 3) << "CREATE is drawn";

    // CREATE: the name popup, then the puzzle's properties.
    ClickDesign(kCreate[0], kCreate[1]);
    std::this_thread::sleep_for(std::chrono::milliseconds(600));
    TypeInGame("testone");
    Screenshot("p02_create_name");
    KeyInGame("Return");
    WaitForScreen("CPPR");
    Shot props = Screenshot("p03_properties");
    EXPECT_GT(ColoursDesign(props, 420, 72, 181, 22), 3) << "the name box is drawn";
    EXPECT_GT(ColoursDesign(props, 60, 125, 340, 260), 3) << "the labels are drawn";
    EXPECT_GT(ColoursDesign(props, 0, 430, 640, 45), 6) << "the buttons along the bottom are drawn";

    // PUZZLE DESIGN: the editor; a row of balls along the top and six to shoot, put in
    // with the number keys, a test run (T) with a shot, Escape back to the editor, and
    // Escape again to the properties, which keep the puzzle in its file.
    auto topHasBalls = [](const Shot &shot) { return ColoursDesign(shot, 170, 25, 300, 30) > 100; };
    ClickDesign(kDesign[0], kDesign[1]);
    ASSERT_TRUE(WaitForLog("Game started: MY PUZZLES", 10)) << testkit::ReadFile(logPath);
    std::this_thread::sleep_for(std::chrono::milliseconds(1000));
    Shot empty = Screenshot("p04_editor_empty");
    EXPECT_FALSE(topHasBalls(empty)) << "a new puzzle starts empty";
    KeyInGame("0 Right 0 Right 1 Right 1 Right 2 Right 2 Right 3 Right 3");
    // The balls to shoot: Tab switches to the list below the field.
    KeyInGame("Tab 1 Right 2 Right 3 Right 0 Right 1 Right 2 Tab");
    EXPECT_TRUE(topHasBalls(WaitForShot("p05_editor", 5, topHasBalls))) << "the balls put in are drawn";
    KeyInGame("t");
    std::this_thread::sleep_for(std::chrono::milliseconds(1000));
    MoveDesign(330, 150);
    KeyInGame("space");
    std::this_thread::sleep_for(std::chrono::milliseconds(1000));
    Screenshot("p06_test_run");
    KeyInGame("Escape");
    std::this_thread::sleep_for(std::chrono::milliseconds(800));
    Screenshot("p07_editor_after_test");
    KeyInGame("Escape");
    WaitForScreen("CPPR", 2);
    const std::string file = userFolder + "/MyPuzzles/TESTONE.qpz";
    EXPECT_TRUE(testkit::FileExists(file));
    EXPECT_EQ(LogCount("Screen PAUS"), 0) << "the editor never goes to the pause screen";

    // TEST from the properties: Escape ends the run and brings them back.
    ClickDesign(kTest[0], kTest[1]);
    ASSERT_TRUE(WaitForLog("Game started: MY PUZZLES", 10, 2)) << testkit::ReadFile(logPath);
    EXPECT_TRUE(topHasBalls(WaitForShot("p08_test_from_properties", 5, topHasBalls))) << "the puzzle's balls are drawn";
    KeyInGame("Escape");
    WaitForScreen("CPPR", 3);

    // QUIT: the set-up screen lists the puzzle; START plays it.
    ClickDesign(kPropsQuit[0], kPropsQuit[1]);
    WaitForScreen("MAIN", 2);
    Shot listed = Screenshot("p09_my_puzzles_listed");
    EXPECT_GT(ColoursDesign(listed, 280, 150, 180, 25), 3) << "the puzzle's name is shown";
    ClickDesign(kStart[0], kStart[1]);
    ASSERT_TRUE(WaitForLog("Game started: MY PUZZLES", 10, 3)) << testkit::ReadFile(logPath);
    EXPECT_TRUE(topHasBalls(WaitForShot("p10_own_puzzle_game", 5, topHasBalls))) << "the puzzle's balls hang from the top";
    // Escape counts once play has begun (the level's caption comes first): pressed until
    // the game is left.
    const int left = LogCount("Left the game after");
    for (int press = 0; press < 10 && !WaitForLog("Left the game after", 1.0, left + 1); press++)
        KeyInGame("Escape");
    WaitForScreen("PAUS");
    ClickDesign(kQuit[0], kQuit[1]);
    WaitForScreen("MAIN", 3);
    ClickDesign(kSetUpBack[0], kSetUpBack[1]);
    ASSERT_TRUE(WaitForLog("Main menu for player Tester", 10, 2)) << testkit::ReadFile(logPath);
    std::this_thread::sleep_for(std::chrono::milliseconds(800));
    ClickDesign(kExit[0], kExit[1]);
    EXPECT_EQ(WaitForExit(20), 0) << testkit::ReadFile(logPath);
    EXPECT_TRUE(testkit::FileExists(file));
}

} // namespace
