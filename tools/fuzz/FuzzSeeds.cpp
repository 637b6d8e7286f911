// The seed maker of the fuzz targets: fuzz_seeds <out folder> <Data folder> <seed folder>
// writes, in a folder per target, files the game writes itself (saved games of played
// games, player files plain and encrypted, start-up settings, a puzzle and its recorded
// shots) and copies the data set's files of each kind and the repository's own seeds.
#include <sys/stat.h>

#include <cmath>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <memory>
#include <string>

#define STB_IMAGE_WRITE_STATIC
#define STB_IMAGE_WRITE_IMPLEMENTATION
#if defined(__GNUC__)
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wmissing-field-initializers"
#pragma GCC diagnostic ignored "-Wunused-function"
#endif
#include <stb/stb_image_write.h>
#if defined(__GNUC__)
#pragma GCC diagnostic pop
#endif

#include "EngEncryption.h"
#include "EngGlobals.h"
#include "EngPrefFolder.h"
#include "FuzzKit.h"
#include "GameState.h"
#include "Play.h"
#include "Plinx.h"
#include "Puzzles.h"
#include "Resolution.h"
#include "SaveGame.h"
#include "Tick.h"
#include "User.h"

namespace fs = std::filesystem;

namespace
{

std::string s_out;

void Put(const std::string &target, const std::string &name, const std::string &bytes)
{
    fs::create_directories(s_out + "/" + target);
    fuzzkit::WriteBytes(s_out + "/" + target + "/" + name, (const uint8_t *)bytes.data(), bytes.size());
}

void Copy(const std::string &target, const fs::path &file)
{
    fs::create_directories(s_out + "/" + target);
    std::string name = file.parent_path().filename().string() + "_" + file.filename().string();
    fs::copy_file(file, s_out + "/" + target + "/" + name, fs::copy_options::overwrite_existing);
}

// Games of ARCADE and STRATEGIC played by a steady aim for a while, saved at a few moments.
void SavedGames()
{
    _GameState &gs = GameState;
    for (int gameType : {GAME_TYPE_ARCADE, GAME_TYPE_STRATEGIC})
    {
        gs.gameType = gameType;
        gs.userOptions.gameType = (int8_t)gameType;
        gs.userOptions.mouseSensitivity = 4;
        PlinxSetFixedSeed(7 + gameType);
        PlinxStartGame();
        EngFrameTiming.frameTime = 1.0f / 60.0f;
        float angle = -1.0f;
        for (int tick = 1; tick <= 900; tick++)
        {
            if (gs.levelState == LEVEL_STATE_PLAY && gs.turretLoad >= 1.0f && !gs.gameOver)
            {
                PlinxSetTurretAngle(angle, 0, 0);
                PlinxShoot();
                angle = angle > 0.9f ? -1.0f : angle + 0.37f;
            }
            TickGame();
            if (tick % 300 == 0 && !gs.gameOver && SaveGameToBeResumed(0))
                Put("saved_game", "type" + std::to_string(gameType) + "_tick" + std::to_string(tick),
                    fuzzkit::ReadBytes(SaveGameGetFilename(0)));
        }
    }
    PlinxSetFixedSeed(0);
}

// A player saved in each way of keeping player files; the first byte names the way.
void PlayerFiles()
{
    if (!EngEncryptionInit(fuzzkit::kEncryptionKey))
        abort();
    for (uint8_t mode : {USER_FILE_PLAIN, USER_FILE_ENCRYPTED})
    {
        ModulesSetupInfo info = {};
        info.userFileEncryption = mode;
        ModulesSetup(&info, nullptr);
        auto user = std::make_unique<UserClass>(nullptr, nullptr, 0);
        if (!user->CreateNewUser(fuzzkit::kPlayerName, "GB", 0) || !user->Save(1))
            abort();
        std::string file = fuzzkit::ReadBytes(fuzzkit::UserFolder() + "/Users/" + fuzzkit::kPlayerName + ".usr");
        Put("player_file", mode == USER_FILE_PLAIN ? "plain" : "encrypted", std::string(1, (char)mode) + file);
        if (mode == USER_FILE_PLAIN)
            Put("player_file", "plain_read_by_encrypted",
                std::string(1, (char)USER_FILE_ENCRYPTED_OR_PLAIN) + file);
        user.reset();
        ModulesShutdown();
    }
}

void StartupSettings()
{
    ResolutionSetup(2, 0, 2.42f, 2.2f, nullptr, false, true, true, false, false, nullptr, 0, 0);
    ResolutionSetDefaults();
    if (!ResolutionSaveSettings())
        abort();
    Put("resolution", "defaults", fuzzkit::ReadBytes(ResolutionGetFilePath()));
    ResolutionShutdown();
}

// One of the player's own puzzles and a test record of a few shots for it.
void PuzzleAndShots()
{
    _Puzzle &puzzle = GameState.puzzle;
    memset(&puzzle, 0, sizeof(puzzle));
    memset(puzzle.grid, BALL_EMPTY, sizeof(puzzle.grid));
    memset(puzzle.nextBalls, BALL_EMPTY, sizeof(puzzle.nextBalls));
    strcpy(puzzle.name, "SEED");
    puzzle.type = GAME_TYPE_MY_PUZZLES;
    puzzle.width = 9;
    puzzle.numBallTypes = 3;
    puzzle.numNextBalls = 4;
    for (int i = 0; i < 4; i++)
        puzzle.nextBalls[i] = (int8_t)(i % 3);
    for (int column = 1; column <= 7; column++)
        puzzle.grid[column][0] = (int8_t)(column % 3);
    puzzle.grid[4][1] = BALL_STONE;
    puzzle.moveDown = 5;
    puzzle.fallUp = 2;
    if (!PuzzlesSaveToFile())
        abort();
    Put("puzzle", "own", fuzzkit::ReadBytes(PuzzlesGetFilename()));
    _TestShot shots[PUZZLE_TEST_SHOTS] = {};
    for (int i = 0; i < 3; i++)
        shots[i] = {0.1f * (float)i, 0.8f, 0.0f, -0.3f + 0.2f * (float)i, 1, {0, 0, 0}};
    PuzzlesSetTestShots(shots, 0);
    if (!PuzzlesSaveTestingFile())
        abort();
    Put("test_record", "three_shots", fuzzkit::ReadBytes(PuzzlesGetTestFilename()));
}

// Small pictures of each kind and layout, so that the image target mutates files it can
// run many times a second (the data set's are large).
void SmallImages()
{
    unsigned char rgba[12 * 10 * 4];
    for (int i = 0; i < 12 * 10 * 4; i++)
        rgba[i] = (unsigned char)(i * 37 + (i / 48) * 11);
    auto append = [](void *context, void *data, int size) {
        ((std::string *)context)->append((const char *)data, (size_t)size);
    };
    for (int channels : {1, 3, 4})
    {
        std::string png, bmp, tga, tgaPacked, jpg, jpgFine;
        stbi_write_png_to_func(append, &png, 12, 10, channels, rgba, 12 * channels);
        stbi_write_bmp_to_func(append, &bmp, 12, 10, channels, rgba);
        stbi_write_tga_with_rle = 0;
        stbi_write_tga_to_func(append, &tga, 12, 10, channels, rgba);
        stbi_write_tga_with_rle = 1;
        stbi_write_tga_to_func(append, &tgaPacked, 12, 10, channels, rgba);
        stbi_write_jpg_to_func(append, &jpg, 12, 10, channels, rgba, 80);
        stbi_write_jpg_to_func(append, &jpgFine, 12, 10, channels, rgba, 100);
        std::string suffix = std::to_string(channels);
        Put("image_file", "small" + suffix + ".png", png);
        Put("image_file", "small" + suffix + ".bmp", bmp);
        Put("image_file", "small" + suffix + ".tga", tga);
        Put("image_file", "small_rle" + suffix + ".tga", tgaPacked);
        Put("image_file", "small" + suffix + ".jpg", jpg);
        Put("image_file", "small_fine" + suffix + ".jpg", jpgFine);
    }
}

// The data set's files by kind, and the repository's own seeds (seeds/<target>/).
void DataSet(const std::string &data, const std::string &repositorySeeds)
{
    for (const auto &entry : fs::recursive_directory_iterator(data))
    {
        if (!entry.is_regular_file())
            continue;
        std::string extension = entry.path().extension().string();
        for (char &c : extension)
            c = (char)tolower((unsigned char)c);
        if (extension == ".qpz")
        {
            // The shipped puzzles are read as the player's own: their type says so.
            std::string text = fuzzkit::ReadBytes(entry.path().string());
            size_t type = text.find("TYPE: 2");
            if (type != std::string::npos)
                text[type + 6] = '3';
            Put("puzzle", entry.path().filename().string(), text);
        }
        else if (extension == ".ttx")
        {
            Copy("picture", entry.path());
            Copy("json_reader", entry.path());
        }
        else if (extension == ".wav")
            Copy("wave_file", entry.path());
        else if (extension == ".jpg" || extension == ".png" || extension == ".bmp" || extension == ".tga")
            Copy("image_file", entry.path());
    }
    if (fs::is_directory(repositorySeeds))
        for (const auto &folder : fs::directory_iterator(repositorySeeds))
            if (folder.is_directory())
                for (const auto &file : fs::directory_iterator(folder.path()))
                    Copy(folder.path().filename().string(), file.path());
}

} // namespace

int main(int argc, char **argv)
{
    if (argc != 4)
    {
        fprintf(stderr, "usage: fuzz_seeds <out folder> <Data folder> <seed folder>\n");
        return 2;
    }
    s_out = argv[1];
    fs::remove_all(s_out);
    fuzzkit::Home();
    PrefFolderSetup("Plinx", false, nullptr, false);
    PlaySetup();
    SavedGames();
    PlayerFiles();
    StartupSettings();
    PuzzleAndShots();
    SmallImages();
    DataSet(argv[2], argv[3]);
    PlayShutdown();
    PrefFolderShutdown();
    fs::remove_all(fuzzkit::Home());
    printf("seeds written to %s\n", s_out.c_str());
    return 0;
}
