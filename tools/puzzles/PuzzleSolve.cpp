// puzzlesolve: makes the system puzzles from their designs and proves each solvable.
//
//   puzzlesolve <designs file> <solutions folder> [name...]
//
// Run from the repository root. For each design (all, or the named ones) it writes
// "Data/SystemPuzzles/<NAME>.qpz", searches the shots that clear the level (a beam search
// over the turret angle, and over the ball's colour where the design leaves the list to
// the search), writes them as "<solutions folder>/<NAME>.tes", and replays the written
// files from the start as the system-puzzle test does.
//
// Design format: lines "key value", then "grid" and one line per row from row 0 (one
// character per playable column: '.' empty, '0'-'9' a colour, 'W' wildcard, 'S' stone;
// blanks ignored), then "end". Keys: name, difficulty, level, width, colours,
// amounts (move down, remove up, fall up, arcade land up), next ("auto <slack>" or the
// ball types), beam.
#include <cmath>
#include <cstdio>
#include <cstring>
#include <algorithm>
#include <iterator>
#include <fstream>
#include <map>
#include <memory>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "EngDebug.h"
#include "EngPrefFolder.h"
#include "Grid.h"
#include "PuzzleReplay.h"
#include "SaveGame.h"

namespace
{

struct Design
{
    std::string name;
    int difficulty = 0, level = 0, width = 9, colours = 3;
    int amounts[4] = {3, 2, 5, 1};
    bool autoNext = true;
    int slack = 4;
    std::vector<int> next;
    std::vector<std::string> rows;
    int beam = 8;
};

std::vector<Design> ReadDesigns(const char *path)
{
    std::vector<Design> designs;
    std::ifstream in(path);
    std::string line;
    Design design;
    bool inGrid = false;
    while (std::getline(in, line))
    {
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        if (inGrid)
        {
            if (line == "end")
            {
                designs.push_back(design);
                design = Design();
                inGrid = false;
                continue;
            }
            std::string row;
            for (char ch : line)
                if (ch != ' ')
                    row += ch;
            design.rows.push_back(row);
            continue;
        }
        std::istringstream words(line);
        std::string key;
        if (!(words >> key) || key[0] == '#')
            continue;
        if (key == "name")
        {
            std::getline(words >> std::ws, design.name);
        }
        else if (key == "difficulty")
            words >> design.difficulty;
        else if (key == "level")
            words >> design.level;
        else if (key == "width")
            words >> design.width;
        else if (key == "colours")
            words >> design.colours;
        else if (key == "beam")
            words >> design.beam;
        else if (key == "amounts")
            words >> design.amounts[0] >> design.amounts[1] >> design.amounts[2] >> design.amounts[3];
        else if (key == "next")
        {
            std::string first;
            words >> first;
            design.autoNext = first == "auto";
            if (design.autoNext)
                words >> design.slack;
            else
            {
                design.next.push_back(std::stoi(first));
                int value;
                while (words >> value)
                    design.next.push_back(value);
            }
        }
        else if (key == "grid")
            inGrid = true;
    }
    return designs;
}

bool WritePuzzle(const Design &d, const std::vector<int> &next)
{
    _Puzzle &puzzle = GameState.puzzle;
    memset(&puzzle, 0, sizeof(puzzle));
    memset(puzzle.grid, -1, sizeof(puzzle.grid));
    memset(puzzle.nextBalls, -1, sizeof(puzzle.nextBalls));
    snprintf(puzzle.name, sizeof(puzzle.name), "%s", d.name.c_str());
    puzzle.type = GAME_TYPE_PUZZLE;
    puzzle.width = d.width;
    puzzle.numBallTypes = d.colours;
    puzzle.difficulty = (int8_t)d.difficulty;
    puzzle.level = d.level;
    puzzle.moveDown = (int8_t)d.amounts[0];
    puzzle.removeUp = (int8_t)d.amounts[1];
    puzzle.fallUp = (int8_t)d.amounts[2];
    puzzle.arcadeLandUp = (int8_t)d.amounts[3];
    puzzle.numNextBalls = (int32_t)next.size();
    for (size_t i = 0; i < next.size() && i < PUZZLE_MAX_NEXT_BALLS; i++)
        puzzle.nextBalls[i] = (int8_t)next[i];
    for (size_t row = 0; row < d.rows.size(); row++)
    {
        for (size_t i = 0; i < d.rows[row].size(); i++)
        {
            char ch = d.rows[row][i];
            int8_t value = ch >= '0' && ch <= '9' ? (int8_t)(ch - '0') : ch == 'W' ? 10 : ch == 'S' ? 12 : -1;
            if ((int)i + 1 <= d.width - 2)
                puzzle.grid[i + 1][row] = value;
        }
    }
    // The editor's writer makes own puzzles; a system puzzle is the same text with type 2.
    puzzle.type = GAME_TYPE_MY_PUZZLES;
    if (!PuzzlesSaveToFile())
        return false;
    std::string from = std::string(PrefFolderGetSubFolder("MyPuzzles", true)) + "/" + puzzle.name + ".qpz";
    std::ifstream in(from, std::ios::binary);
    std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    size_t at = text.find("TYPE: 3");
    if (at == std::string::npos)
        return false;
    text[at + 6] = '2';
    std::ofstream out("Data/SystemPuzzles/" + std::string(puzzle.name) + ".qpz", std::ios::binary);
    out << text;
    return (bool)out;
}

// ---- Search ----------------------------------------------------------------------------

struct Node
{
    std::unique_ptr<_GameSnapshot> snapshot;
    std::vector<_TestShot> shots;
    std::vector<int> colours; // unmapped colour of each shot (auto lists)
    double score = 0;
};

int ColouredBalls()
{
    const _GameState &gs = GameState;
    int count = 0;
    for (int c = 1; c < gs.gridColumns - 1; c++)
        for (int r = 0; r < GRID_ROWS; r++)
            count += gs.grid[c][r].type >= 0 && gs.grid[c][r].type < BALL_NUM_COLOURS;
    return count;
}

// Lower is better: balls left first, then how far down the grid hangs.
double Score()
{
    const _GameState &gs = GameState;
    GridFindLowestBall();
    double low = gs.lowestRow >= 0 ? gs.grid[gs.lowestColumn][gs.lowestRow].y + gs.scroll : -1.0;
    return ColouredBalls() * 10.0 + (low + 1.0) * 8.0;
}

uint64_t GridHash()
{
    const _GameState &gs = GameState;
    uint64_t hash = 1469598103934665603ull;
    for (int c = 0; c < GRID_MAX_COLUMNS; c++)
        for (int r = 0; r < GRID_ROWS; r++)
            hash = (hash ^ (uint8_t)gs.grid[c][r].type) * 1099511628211ull;
    return hash;
}

std::unique_ptr<_GameSnapshot> Capture()
{
    auto snapshot = std::make_unique<_GameSnapshot>();
    memset(snapshot.get(), 0, sizeof(_GameSnapshot));
    SaveGameCaptureSnapshot(snapshot.get());
    return snapshot;
}

// Unmapped colour index of a mapped grid colour; -1 for none.
int Unmap(int mapped)
{
    for (int i = 0; i < GameState.numColours; i++)
        if (GameState.colourSet[i] == mapped)
            return i;
    return -1;
}

bool Solve(const Design &d, std::vector<_TestShot> *shots, std::vector<int> *colours)
{
    std::vector<Node> beam;
    Node start;
    start.snapshot = Capture();
    beam.push_back(std::move(start));
    const int maxDepth = d.autoNext ? PUZZLE_MAX_NEXT_BALLS - d.slack : (int)d.next.size();
    for (int depth = 0; depth < maxDepth; depth++)
    {
        std::vector<Node> children;
        std::set<uint64_t> seen;
        for (const Node &node : beam)
        {
            SaveGameRestoreSnapshot(node.snapshot.get());
            std::vector<int> options;
            if (d.autoNext)
            {
                bool present[BALL_NUM_COLOURS] = {};
                for (int c = 1; c < GameState.gridColumns - 1; c++)
                    for (int r = 0; r < GRID_ROWS; r++)
                        if (GameState.grid[c][r].type >= 0 && GameState.grid[c][r].type < BALL_NUM_COLOURS)
                            present[GameState.grid[c][r].type] = true;
                for (int i = 0; i < d.colours; i++)
                    if (present[GameState.colourSet[i]])
                        options.push_back(i);
            }
            else
            {
                options.push_back(-1);
            }
            for (int option : options)
            {
                std::set<uint64_t> landings;
                for (int step = -92; step <= 92; step++)
                {
                    const float angle = (float)step * 0.015f;
                    SaveGameRestoreSnapshot(node.snapshot.get());
                    _GameState &gs = GameState;
                    if (option >= 0)
                        gs.currentBall = gs.colourSet[option];
                    PlinxSetTurretAngle(angle, 0, 0);
                    _TestShot shot = {gs.turretBallX, gs.turretBallY, gs.turretBallZ, gs.turretAngle, 1, {0, 0, 0}};
                    PlinxShoot();
                    for (int i = 0; i < 400 && gs.movingCount > 0; i++)
                        TickGame();
                    if (gs.movingCount > 0 || !landings.insert(GridHash()).second)
                        continue;
                    if (!puzzlereplay::TickToRest() || puzzlereplay::IsLost())
                        continue;
                    const bool cleared = puzzlereplay::IsCleared();
                    uint64_t hash = GridHash() ^ (uint64_t)(gs.scroll * 1000.0f);
                    if (!cleared && !seen.insert(hash).second)
                        continue;
                    Node child;
                    child.shots = node.shots;
                    child.shots.push_back(shot);
                    child.colours = node.colours;
                    child.colours.push_back(option >= 0 ? option : Unmap(gs.currentBall));
                    if (cleared)
                    {
                        *shots = child.shots;
                        *colours = child.colours;
                        return true;
                    }
                    child.score = Score();
                    child.snapshot = Capture();
                    children.push_back(std::move(child));
                }
            }
        }
        if (children.empty())
            return false;
        std::sort(children.begin(), children.end(), [](const Node &a, const Node &b) { return a.score < b.score; });
        if ((int)children.size() > d.beam)
            children.resize(d.beam);
        beam = std::move(children);
        printf("  depth %d: best %.2f\n", depth + 1, beam[0].score);
        fflush(stdout);
    }
    return false;
}

// Sets the working list for a search that chooses each ball: a long list, so the level
// never runs out of balls, whose entries the search replaces shot by shot.
void FillWorkingList()
{
    _GameState &gs = GameState;
    for (int i = 0; i < PUZZLE_MAX_NEXT_BALLS; i++)
        gs.nextBallList[i] = gs.colourSet[0];
    gs.nextBallCount = PUZZLE_MAX_NEXT_BALLS;
}

bool WriteShots(const std::string &path, const std::vector<_TestShot> &shots)
{
    _TestFile file;
    memset(&file, 0, sizeof(file));
    file.version = PUZZLE_FILE_VERSION;
    for (size_t i = 0; i < shots.size() && i < PUZZLE_TEST_SHOTS; i++)
        file.shots[i] = shots[i];
    std::ofstream out(path, std::ios::binary);
    out.write(reinterpret_cast<const char *>(&file), sizeof(file));
    return (bool)out;
}

// Loads the written puzzle by name and starts it.
bool StartDesign(const Design &d)
{
    PlayShutdown();
    PlaySetup();
    return PuzzlesLoadFromFile(GAME_TYPE_PUZZLE, d.name.c_str()) &&
           puzzlereplay::StartLoadedPuzzle(d.difficulty, d.level, 1);
}

bool Verify(const Design &d, const std::string &tesPath, int *fired)
{
    if (!StartDesign(d))
        return false;
    _TestFile file;
    if (!PuzzlesReadTestFile(tesPath.c_str(), &file))
        return false;
    PuzzlesSetTestShots(file.shots, 0);
    return puzzlereplay::ReplayTestShots(fired) == puzzlereplay::OUTCOME_CLEARED;
}

} // namespace

int main(int argc, char **argv)
{
    if (argc < 3)
    {
        fprintf(stderr, "usage: puzzlesolve <designs> <solutions folder> [name...]\n");
        return 2;
    }
    // The editor's writer needs a per-user folder: a scratch one.
    char scratch[] = "/tmp/puzzlesolveXXXXXX";
    if (!mkdtemp(scratch))
        return 2;
    setenv("HOME", scratch, 1);
    setenv("XDG_DATA_HOME", scratch, 1);
    PrefFolderSetup("Plinx", false, nullptr, false);
    std::set<std::string> wanted(argv + 3, argv + argc);
    int failures = 0;
    for (const Design &d : ReadDesigns(argv[1]))
    {
        if (!wanted.empty() && !wanted.count(d.name))
            continue;
        printf("%s (difficulty %d, level %d)\n", d.name.c_str(), d.difficulty, d.level);
        bool rowsFit = !d.rows.empty();
        for (const std::string &row : d.rows)
            rowsFit = rowsFit && (int)row.size() == d.width - 2;
        if (!rowsFit)
        {
            printf("  rows must hold %d cells\n", d.width - 2);
            failures++;
            continue;
        }
        PlayShutdown();
        PlaySetup();
        // A first version of the file lets the game load and start the level.
        std::vector<int> next = d.autoNext ? std::vector<int>(PUZZLE_MAX_NEXT_BALLS, 0) : d.next;
        if (!WritePuzzle(d, next) || !StartDesign(d))
        {
            printf("  cannot start\n");
            failures++;
            continue;
        }
        if (d.autoNext)
            FillWorkingList();
        std::vector<_TestShot> shots;
        std::vector<int> colours;
        if (!Solve(d, &shots, &colours))
        {
            printf("  NO SOLUTION\n");
            failures++;
            continue;
        }
        if (d.autoNext)
        {
            next = colours;
            for (int i = 0; i < d.slack && (int)next.size() < PUZZLE_MAX_NEXT_BALLS; i++)
                next.push_back(colours[(size_t)i % colours.size()]);
        }
        PlayShutdown();
        PlaySetup();
        const std::string tes = std::string(argv[2]) + "/" + d.name + ".tes";
        int fired = 0;
        if (!WritePuzzle(d, next) || !WriteShots(tes, shots) || !Verify(d, tes, &fired))
        {
            printf("  REPLAY FAILED\n");
            failures++;
            continue;
        }
        printf("  solved in %zu shots of %zu balls (replayed %d)\n", shots.size(), next.size(), fired);
    }
    return failures ? 1 : 0;
}
