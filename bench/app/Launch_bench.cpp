// The real game as a person starts it, under the display (run under Xvfb): the time from
// launch to the first splash frame, and the processor time and memory of 20 s idle in
// the main menu, of 20 s idle in the ARCADE set-up screen and of 20 s of ARCADE play. The start-up dialog is skipped (flag 0 in
// "Resolution.dat"); the window is 640 x 480; a player marked always-load takes the
// game straight from the players screen to the main menu.
//
// Counters: cpu_percent (of one core over the 20 s), rss_anon_kb and peak_rss_kb (from
// /proc at the end of the 20 s). Each figure is taken beside the same figure of an SDL
// ball-shooting game from Debian's games (when installed), in the same run.
#include <benchmark/benchmark.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <thread>
#include <vector>

#include "EngEncryption.h"
#include "EngMemory.h"
#include "EngPrefFolder.h"
#include "GameState.h"
#include "Play.h"
#include "Plinx.h"
#include "Resolution.h"
#include "User.h"

extern char **environ;

namespace
{

using Clock = std::chrono::steady_clock;

std::string ReadWhole(const std::string &path)
{
    std::string text;
    FILE *file = fopen(path.c_str(), "rb");
    if (!file)
        return text;
    char buffer[4096];
    size_t got;
    while ((got = fread(buffer, 1, sizeof(buffer), file)) > 0)
        text.append(buffer, got);
    fclose(file);
    return text;
}

// A per-user folder with the settings of a 640 x 480 window that skip the dialog and,
// when asked, the player "Bench" loaded by itself.
std::string MakeHome(bool withPlayer, bool fullScores = false)
{
    char pattern[] = "/tmp/plinx_bench_XXXXXX";
    std::string home = mkdtemp(pattern);
    setenv("HOME", home.c_str(), 1);
    unsetenv("XDG_DATA_HOME");
    PrefFolderSetup("Plinx", false, nullptr, false);
    ResolutionSetup(2, 0, 2.42f, 2.2f, nullptr, false, true, true, false, false, nullptr, 0, 0);
    ResolutionSetDefaults();
    ResolutionSettings *settings = ResolutionGetSettings();
    settings->showStartupWindow = 0;
    settings->windowed = 1;
    settings->windowedWidth = 640;
    settings->windowedHeight = 480;
    settings->internetTest[0] = RESOLUTION_INTERNET_TEST_DECLINED;
    if (withPlayer)
    {
        EngEncryptionInit("PLINX_FERN_KY");
        PlaySetup();
        ModulesSetupInfo modules = {};
        modules.userFileEncryption = USER_FILE_ENCRYPTED;
        ModulesSetup(&modules, nullptr);
        UserClass user(nullptr, "Bench", 0);
        user.CreateNewUser("Bench", "NO", 0);
        user.GetOptions()->alwaysLoad = 1;
        if (fullScores)
        {
            // The ARCADE table at the player's difficulty, 100 rows: a table that scrolls.
            _UserOptions *options = user.GetOptions();
            _GameScores &table = options->gameScores[GAME_TYPE_ARCADE][options->difficulty[GAME_TYPE_ARCADE]];
            for (int i = 0; i < SCORES_MAX_ROWS; i++)
            {
                snprintf(table.rows[i].name, sizeof(table.rows[i].name), "PLAYER %d", i);
                strcpy(table.rows[i].country, "NO");
                table.rows[i].userId = (uint16_t)(i + 1);
                table.rows[i].date = {2026, 12, (uint8_t)(1 + i % 28)};
                table.rows[i].score = (uint32_t)(100000 - 900 * i);
            }
            table.numRows = SCORES_MAX_ROWS;
        }
        user.Save(1);
        ModulesShutdown();
        PlayShutdown();
        EngSafeStrcpy(settings->lastPlayerName, "Bench", sizeof(settings->lastPlayerName));
    }
    ResolutionSaveSettings();
    ResolutionShutdown();
    PrefFolderShutdown();
    return home;
}

pid_t StartGame(const std::string &home)
{
    std::vector<std::string> environment;
    for (char **entry = environ; *entry; entry++)
        if (strncmp(*entry, "HOME=", 5) != 0)
            environment.push_back(*entry);
    environment.push_back("HOME=" + home);
    std::vector<char *> envp;
    for (std::string &text : environment)
        envp.push_back(text.data());
    envp.push_back(nullptr);
    char *argv[] = {(char *)PLINX_GAME_EXECUTABLE, nullptr};
    pid_t pid = 0;
    if (posix_spawn(&pid, PLINX_GAME_EXECUTABLE, nullptr, nullptr, argv, envp.data()) != 0)
        return 0;
    return pid;
}

bool WaitForLog(const std::string &home, const char *text, double seconds)
{
    std::string log = home + "/.local/share/Fernbrooks/Plinx/LogFile.txt";
    auto end = Clock::now() + std::chrono::duration<double>(seconds);
    while (Clock::now() < end)
    {
        if (ReadWhole(log).find(text) != std::string::npos)
            return true;
        std::this_thread::sleep_for(std::chrono::microseconds(500));
    }
    return false;
}

void StopGame(pid_t pid, const std::string &home)
{
    if (pid > 0)
    {
        kill(pid, SIGTERM);
        waitpid(pid, nullptr, 0);
    }
    std::string command = "rm -rf '" + home + "'";
    if (system(command.c_str()) != 0)
        fprintf(stderr, "could not remove %s\n", home.c_str());
}

// User plus system time of a process in seconds.
double CpuSeconds(pid_t pid)
{
    std::string stat = ReadWhole("/proc/" + std::to_string(pid) + "/stat");
    size_t close = stat.rfind(')');
    if (close == std::string::npos)
        return 0.0;
    unsigned long user = 0, system = 0;
    // Fields after the name: state is field 3; utime and stime are fields 14 and 15.
    const char *rest = stat.c_str() + close + 2;
    if (sscanf(rest, "%*c %*d %*d %*d %*d %*d %*u %*u %*u %*u %*u %lu %lu", &user, &system) != 2)
        return 0.0;
    return (double)(user + system) / (double)sysconf(_SC_CLK_TCK);
}

long StatusKb(pid_t pid, const char *field)
{
    std::string status = ReadWhole("/proc/" + std::to_string(pid) + "/status");
    size_t at = status.find(field);
    return at == std::string::npos ? -1 : atol(status.c_str() + at + strlen(field) + 1);
}

void Measure(benchmark::State &state, pid_t pid, double seconds)
{
    double cpuStart = CpuSeconds(pid);
    auto start = Clock::now();
    std::this_thread::sleep_for(std::chrono::duration<double>(seconds));
    double wall = std::chrono::duration<double>(Clock::now() - start).count();
    state.SetIterationTime(wall);
    state.counters["cpu_percent"] = 100.0 * (CpuSeconds(pid) - cpuStart) / wall;
    state.counters["rss_anon_kb"] = (double)StatusKb(pid, "RssAnon:");
    state.counters["peak_rss_kb"] = (double)StatusKb(pid, "VmHWM:");
}

bool HasDisplay(benchmark::State &state)
{
    if (getenv("DISPLAY"))
        return true;
    state.SkipWithError("needs a display (run under xvfb-run)");
    return false;
}

void BM_LaunchToFirstSplashFrame(benchmark::State &state)
{
    if (!HasDisplay(state))
        return;
    // A first, untimed start makes the generated roll frames a fresh per-user folder lacks.
    std::string home = MakeHome(false);
    std::string log = home + "/.local/share/Fernbrooks/Plinx/LogFile.txt";
    pid_t first = StartGame(home);
    if (!first || !WaitForLog(home, "Splash started", 120.0))
    {
        if (first)
            StopGame(first, home);
        state.SkipWithError("no splash");
        return;
    }
    kill(first, SIGTERM);
    waitpid(first, nullptr, 0);
    for (auto _ : state)
    {
        unlink(log.c_str());
        auto start = Clock::now();
        pid_t pid = StartGame(home);
        bool shown = pid && WaitForLog(home, "Splash started", 30.0);
        state.SetIterationTime(std::chrono::duration<double>(Clock::now() - start).count());
        if (pid)
        {
            kill(pid, SIGTERM);
            waitpid(pid, nullptr, 0);
        }
        if (!shown)
        {
            state.SkipWithError("no splash");
            break;
        }
    }
    StopGame(0, home);
}

// Starts the game over `home` (made with a player) and waits for its main menu; 0 and the
// benchmark skipped when it does not get there.
pid_t StartToMainMenu(benchmark::State &state, const std::string &home)
{
    pid_t pid = StartGame(home);
    if (!pid || !WaitForLog(home, "Main menu for player Bench", 40.0))
    {
        if (pid)
            StopGame(pid, home);
        state.SkipWithError("no main menu");
        return 0;
    }
    return pid;
}

void BM_MainMenuIdle20s(benchmark::State &state)
{
    if (!HasDisplay(state))
        return;
    for (auto _ : state)
    {
        std::string home = MakeHome(true);
        pid_t pid = StartToMainMenu(state, home);
        if (!pid)
            return;
        // The fade in from black ends before the measured span.
        std::this_thread::sleep_for(std::chrono::seconds(2));
        Measure(state, pid, 20.0);
        StopGame(pid, home);
    }
}

// From the main menu to the ARCADE set-up screen.
bool GotoArcadeSetUp(const std::string &home)
{
    return system("xdotool search --name '^Plinx!$' mousemove --window %1 320 220 click 1 >/dev/null 2>&1") == 0 &&
           WaitForLog(home, "Screen MAIN", 10.0);
}

void BM_ArcadeSetUpIdle20s(benchmark::State &state)
{
    if (!HasDisplay(state))
        return;
    for (auto _ : state)
    {
        std::string home = MakeHome(true);
        pid_t pid = StartToMainMenu(state, home);
        if (!pid)
            return;
        std::this_thread::sleep_for(std::chrono::seconds(2));
        if (!GotoArcadeSetUp(home))
        {
            StopGame(pid, home);
            state.SkipWithError("no set-up screen");
            return;
        }
        std::this_thread::sleep_for(std::chrono::seconds(1));
        Measure(state, pid, 20.0);
        StopGame(pid, home);
    }
}
BENCHMARK(BM_ArcadeSetUpIdle20s)->UseManualTime()->Iterations(1)->Unit(benchmark::kSecond);

// 20 s in the ARCADE set-up screen with a table of 100 rows, the mouse wheel turning
// over it all the while (down to its end and back up).
void BM_ArcadeSetUpTableScroll20s(benchmark::State &state)
{
    if (!HasDisplay(state))
        return;
    for (auto _ : state)
    {
        std::string home = MakeHome(true, true);
        pid_t pid = StartToMainMenu(state, home);
        if (!pid)
            return;
        std::this_thread::sleep_for(std::chrono::seconds(2));
        if (!GotoArcadeSetUp(home) ||
            system("xdotool search --name '^Plinx!$' mousemove --window %1 270 330 >/dev/null 2>&1") != 0)
        {
            StopGame(pid, home);
            state.SkipWithError("no set-up screen");
            return;
        }
        std::this_thread::sleep_for(std::chrono::seconds(1));
        // About 25 notches a second in the background; the loop ends by itself after the
        // measured span (5 x 100 notches of 40 ms).
        const char *wheel = "for i in 1 2 3 4 5; do xdotool click --repeat 50 --delay 40 5 >/dev/null 2>&1; "
                            "xdotool click --repeat 50 --delay 40 4 >/dev/null 2>&1; done &";
        if (system(wheel) != 0)
        {
            StopGame(pid, home);
            state.SkipWithError("no wheel");
            return;
        }
        Measure(state, pid, 20.0);
        StopGame(pid, home);
    }
}
BENCHMARK(BM_ArcadeSetUpTableScroll20s)->UseManualTime()->Iterations(1)->Unit(benchmark::kSecond);

void BM_ArcadePlay20s(benchmark::State &state)
{
    if (!HasDisplay(state))
        return;
    for (auto _ : state)
    {
        std::string home = MakeHome(true);
        pid_t pid = StartToMainMenu(state, home);
        if (!pid)
            return;
        std::this_thread::sleep_for(std::chrono::seconds(2));
        // The ARCADE button of the 640 x 480 window, then START of the set-up screen.
        if (!GotoArcadeSetUp(home) ||
            system("xdotool search --name '^Plinx!$' mousemove --window %1 570 164 click 1 >/dev/null 2>&1") != 0 ||
            !WaitForLog(home, "Game started: ARCADE", 10.0))
        {
            StopGame(pid, home);
            state.SkipWithError("no game");
            return;
        }
        std::this_thread::sleep_for(std::chrono::seconds(2));
        Measure(state, pid, 20.0);
        StopGame(pid, home);
    }
}

// ---- The peer: an SDL ball-shooting game from Debian's games, in the same run ----------------
// Started windowed at its own 640 x 480 with a fresh HOME and no sound; skipped when it
// is not installed. Its launch ends when its window is mapped; its menu and its solo game
// are measured as ours are.

const char kPeer[] = "/usr/games/frozen-bubble";

pid_t StartPeer(const std::string &home, bool solo)
{
    std::vector<std::string> environment;
    for (char **entry = environ; *entry; entry++)
        if (strncmp(*entry, "HOME=", 5) != 0)
            environment.push_back(*entry);
    environment.push_back("HOME=" + home);
    std::vector<char *> envp;
    for (std::string &text : environment)
        envp.push_back(text.data());
    envp.push_back(nullptr);
    std::vector<char *> argv = {(char *)kPeer, (char *)"--no-fullscreen", (char *)"--no-sound"};
    if (solo)
        argv.push_back((char *)"--solo");
    argv.push_back(nullptr);
    pid_t pid = 0;
    if (posix_spawn(&pid, kPeer, nullptr, nullptr, argv.data(), envp.data()) != 0)
        return 0;
    return pid;
}

std::string MakePeerHome()
{
    char pattern[] = "/tmp/plinx_peer_XXXXXX";
    return mkdtemp(pattern);
}

bool PeerWindowShown(double seconds)
{
    std::string command = "timeout " + std::to_string((int)seconds + 1) +
                          " xdotool search --sync --onlyvisible --name 'Frozen' >/dev/null 2>&1";
    return system(command.c_str()) == 0;
}

bool HasPeer(benchmark::State &state)
{
    if (!HasDisplay(state))
        return false;
    if (access(kPeer, X_OK) == 0)
        return true;
    state.SkipWithError("the peer game is not installed");
    return false;
}

void BM_PeerLaunchToFirstWindow(benchmark::State &state)
{
    if (!HasPeer(state))
        return;
    std::string home = MakePeerHome();
    for (auto _ : state)
    {
        auto start = Clock::now();
        pid_t pid = StartPeer(home, false);
        bool shown = pid && PeerWindowShown(30.0);
        state.SetIterationTime(std::chrono::duration<double>(Clock::now() - start).count());
        if (pid)
        {
            kill(pid, SIGTERM);
            waitpid(pid, nullptr, 0);
        }
        if (!shown)
        {
            state.SkipWithError("no window");
            break;
        }
    }
    StopGame(0, home);
}

void MeasurePeer(benchmark::State &state, bool solo)
{
    if (!HasPeer(state))
        return;
    for (auto _ : state)
    {
        std::string home = MakePeerHome();
        pid_t pid = StartPeer(home, solo);
        if (!pid || !PeerWindowShown(30.0))
        {
            if (pid)
                StopGame(pid, home);
            state.SkipWithError("no window");
            return;
        }
        // Past its intro, into the menu or the running game.
        std::this_thread::sleep_for(std::chrono::seconds(4));
        Measure(state, pid, 20.0);
        StopGame(pid, home);
    }
}

void BM_PeerMenuIdle20s(benchmark::State &state)
{
    MeasurePeer(state, false);
}

void BM_PeerPlay20s(benchmark::State &state)
{
    MeasurePeer(state, true);
}

// Ours and the peer's side by side.
BENCHMARK(BM_LaunchToFirstSplashFrame)->UseManualTime()->Iterations(5)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PeerLaunchToFirstWindow)->UseManualTime()->Iterations(5)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_MainMenuIdle20s)->UseManualTime()->Iterations(1)->Unit(benchmark::kSecond);
BENCHMARK(BM_PeerMenuIdle20s)->UseManualTime()->Iterations(1)->Unit(benchmark::kSecond);
BENCHMARK(BM_ArcadePlay20s)->UseManualTime()->Iterations(1)->Unit(benchmark::kSecond);
BENCHMARK(BM_PeerPlay20s)->UseManualTime()->Iterations(1)->Unit(benchmark::kSecond);

} // namespace
