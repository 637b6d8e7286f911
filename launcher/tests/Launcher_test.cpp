// The launcher's flow with the system swapped out: the library loader finds or misses the
// graphics runtime, the dialog runs headless and a script presses its buttons, and the
// shell records what would be started or opened.
#include "Launcher.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include "PlatDialogs.h"
#include "PlatRuntime.h"
#include "PlatShell.h"

namespace
{

// ---- The system as the test wants it --------------------------------------------------

struct System
{
    bool hasGl = true;
    bool hasSdl = true;
    bool glBesideLauncher = false; // the only libGL lies in the launcher's folder
    bool makesContext = true;
    bool startWorks = true;
    bool openWorks = true;
    int loaded = 0; // libraries held now

    struct Started
    {
        std::string path, folder;
    };
    std::vector<Started> started;
    std::vector<std::string> opened;

    // The dialog: the event the script sends, and the texts it saw.
    int pressId = 0;
    int pressEvent = 0;
    int turns = 0;
    std::string missingLine;
};
System *s_system = nullptr;

std::string ProgramFolder()
{
    char folder[4096];
    EXPECT_TRUE(PlatShellGetProgramFolder(folder, sizeof(folder)));
    return folder;
}

void *FakeOpen(const char *soname, char *path, size_t size)
{
    bool gl = strcmp(soname, "libGL.so.1") == 0;
    bool sdl = strcmp(soname, "libSDL2-2.0.so.0") == 0;
    if ((gl && !s_system->hasGl) || (sdl && !s_system->hasSdl) || (!gl && !sdl))
    {
        PlatRuntimeFail("%s: cannot open shared object file", soname);
        return nullptr;
    }
    std::string folder = gl && s_system->glBesideLauncher ? ProgramFolder() : "/usr/lib/x86_64-linux-gnu";
    snprintf(path, size, "%s/%s", folder.c_str(), soname);
    s_system->loaded++;
    return s_system;
}

void FakeClose(void *handle)
{
    s_system->loaded--;
}

bool FakeContext(void *handle, char *version, size_t size)
{
    EXPECT_EQ(s_system->loaded, 2) << "the context is made with both libraries held";
    return s_system->makesContext || PlatRuntimeFail("No OpenGL 3.3 context");
}

bool RecordStart(const char *path, const char *folder)
{
    s_system->started.push_back({path, folder ? folder : ""});
    return s_system->startWorks;
}

bool RecordOpen(const char *target)
{
    s_system->opened.push_back(target);
    return s_system->openWorks;
}

void PressCB(PlatDialog *dialog, void *user)
{
    if (s_system->turns++ == 0)
    {
        char text[256];
        PlatDialogsGetText(dialog, 100, text, sizeof(text));
        s_system->missingLine = text;
    }
    PlatDialogsSimulate(dialog, s_system->pressId, s_system->pressEvent, 0);
}

class LauncherTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        s_system = &system;
        PlatRuntimeFunctions runtime = {FakeOpen, FakeClose, FakeContext};
        PlatRuntimeSetFunctions(&runtime);
        PlatShellFunctions shell = {nullptr, RecordOpen, nullptr, RecordStart};
        PlatShellSetFunctions(&shell);
        PlatDialogsForceHeadless(true);
        PlatDialogsSetScript(PressCB, nullptr);
        unsetenv("PLINX_LAUNCHER_TEST_MISSING");
    }
    void TearDown() override
    {
        PlatDialogsSetScript(nullptr, nullptr);
        PlatDialogsForceHeadless(false);
        PlatShellSetFunctions(nullptr);
        PlatRuntimeSetFunctions(nullptr);
        unsetenv("PLINX_LAUNCHER_TEST_MISSING");
        s_system = nullptr;
    }
    // The test program sits in the build tree, beside the game's Data.
    std::string GameFolder() { return std::filesystem::canonical(ProgramFolder()).string(); }
    System system;
};

} // namespace

TEST_F(LauncherTest, WithTheRuntimeTheGameStartsAtOnce)
{
    EXPECT_EQ(LauncherWinMain(""), 1);
    EXPECT_EQ(system.turns, 0) << "no dialog";
    ASSERT_EQ(system.started.size(), 1u);
    // The executable beside the launcher, run from the game's folder (no arguments: the
    // stand-in passes none).
    EXPECT_EQ(system.started[0].path, ProgramFolder() + "/Plinx_DX9");
    EXPECT_EQ(system.started[0].folder, GameFolder());
    EXPECT_TRUE(system.opened.empty());
    EXPECT_EQ(system.loaded, 0) << "the libraries are freed after the check";
}

TEST_F(LauncherTest, WithoutTheRuntimeEachButtonOfTheDialog)
{
    struct Outcome
    {
        const char *label;
        void (*set)(System &);
        const char *missingLine;
    } outcomes[] = {
        {"no libGL", [](System &s) { s.hasGl = false; }, "The OpenGL library (libGL.so.1)"},
        {"libGL only beside the launcher", [](System &s) { s.glBesideLauncher = true; },
         "The OpenGL library (libGL.so.1)"},
        {"no SDL", [](System &s) { s.hasSdl = false; }, "The SDL 2 library (libSDL2-2.0.so.0)"},
        {"no OpenGL 3.3 context", [](System &s) { s.makesContext = false; }, "OpenGL version 3.3 or later"},
    };
    struct Button
    {
        const char *label;
        int id, event;
        int result;   // of LauncherWinMain
        bool started; // the game
        bool opened;  // the install page
    } buttons[] = {
        {"Ok", LAUNCHER_ID_OK, PLAT_DIALOG_CLICKED, 0, false, false},
        {"Enter (Ok is the default)", 0, PLAT_DIALOG_ENTER, 0, false, false},
        {"Escape", 0, PLAT_DIALOG_ESCAPE, 0, false, false},
        {"close button", 0, PLAT_DIALOG_CLOSE, 0, false, false},
        {"install page", LAUNCHER_ID_INSTALL_PAGE, PLAT_DIALOG_CLICKED, 0, false, true},
        {"Ignore ...", LAUNCHER_ID_IGNORE, PLAT_DIALOG_CLICKED, 1, true, false},
    };
    for (const Outcome &outcome : outcomes)
        for (const Button &button : buttons)
        {
            SCOPED_TRACE(std::string(outcome.label) + " / " + button.label);
            system = System();
            outcome.set(system);
            system.pressId = button.id;
            system.pressEvent = button.event;
            EXPECT_EQ(LauncherWinMain(""), button.result);
            EXPECT_EQ(system.turns, 1) << "one press closes the dialog";
            EXPECT_EQ(system.missingLine.find(outcome.missingLine), 0u) << system.missingLine;
            EXPECT_EQ(system.started.size(), button.started ? 1u : 0u);
            if (button.started && !system.started.empty())
            {
                EXPECT_EQ(system.started[0].path, ProgramFolder() + "/Plinx_DX9");
                EXPECT_EQ(system.started[0].folder, GameFolder());
            }
            ASSERT_EQ(system.opened.size(), button.opened ? 1u : 0u);
            if (button.opened)
            {
                EXPECT_EQ(system.opened[0], GameFolder() + "/Data/Help/GraphicsRuntime.html");
                EXPECT_TRUE(std::filesystem::exists(system.opened[0]));
            }
            EXPECT_EQ(system.loaded, 0);
        }
}

TEST_F(LauncherTest, FailuresToStartOrOpenAreReported)
{
    // A missing game is reported (headless, the message box prints on stderr).
    system.startWorks = false;
    testing::internal::CaptureStderr();
    EXPECT_EQ(LauncherWinMain(""), 0);
    std::string message = testing::internal::GetCapturedStderr();
    EXPECT_NE(message.find("The game could not be started."), std::string::npos) << message;

    // The same after "Ignore ...", and a page that cannot be opened.
    for (int id : {LAUNCHER_ID_IGNORE, LAUNCHER_ID_INSTALL_PAGE})
    {
        SCOPED_TRACE(id);
        system = System();
        system.hasSdl = false;
        system.startWorks = false;
        system.openWorks = false;
        system.pressId = id;
        system.pressEvent = PLAT_DIALOG_CLICKED;
        testing::internal::CaptureStderr();
        EXPECT_EQ(LauncherWinMain(""), 0);
        message = testing::internal::GetCapturedStderr();
        EXPECT_NE(message.find(id == LAUNCHER_ID_IGNORE ? "The game could not be started."
                                                        : "The page could not be opened."),
                  std::string::npos)
            << message;
    }
}

TEST_F(LauncherTest, TestsCanForceTheCheckToFail)
{
    const struct
    {
        const char *value;
        bool passes;
        const char *missingLine;
    } rows[] = {
        {"gl", false, "The OpenGL library"},
        {"sdl", false, "The SDL 2 library"},
        {"gl33", false, "OpenGL version 3.3"},
        {"other", true, ""},
    };
    for (const auto &row : rows)
    {
        SCOPED_TRACE(row.value);
        system = System();
        setenv("PLINX_LAUNCHER_TEST_MISSING", row.value, 1);
        system.pressId = LAUNCHER_ID_OK;
        system.pressEvent = PLAT_DIALOG_CLICKED;
        EXPECT_EQ(LauncherIsDirectX9Installed(), row.passes);
        EXPECT_EQ(std::string(LauncherGetMissingText(LauncherGetMissing())).find(row.missingLine), 0u);
    }
}
