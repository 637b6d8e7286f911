#include "Testkit.h"

#include <cstdio>

#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>

#include <unistd.h>

#include "EngDebug.h"
#include "EngMain.h"
#include "EngMisc.h"
#include "PlatShell.h"

namespace testkit
{

TempDir::TempDir()
{
    char pattern[] = "/tmp/plinx-test-XXXXXX";
    const char *made = mkdtemp(pattern);
    path = made ? made : "/tmp";
}

TempDir::~TempDir()
{
    std::error_code error;
    if (path != "/tmp")
        std::filesystem::remove_all(path, error);
}

WorkingFolder::WorkingFolder(const std::string &path)
{
    char cwd[4096];
    if (!getcwd(cwd, sizeof(cwd)))
        return;
    previous = cwd;
    entered = chdir(path.c_str()) == 0;
}

WorkingFolder::~WorkingFolder()
{
    if (!previous.empty())
    {
        EXPECT_EQ(chdir(previous.c_str()), 0) << previous;
    }
}

std::string ReadFile(const std::string &path)
{
    std::ifstream in(path, std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

void WriteFile(const std::string &path, const std::string &bytes)
{
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), (std::streamsize)bytes.size());
}

bool FileExists(const std::string &path)
{
    std::error_code error;
    return std::filesystem::exists(path, error);
}

std::string Shell(const std::string &command)
{
    std::string output;
    FILE *pipe = popen(command.c_str(), "r");
    if (!pipe)
        return output;
    char buffer[512];
    size_t got;
    while ((got = fread(buffer, 1, sizeof(buffer), pipe)) > 0)
        output.append(buffer, got);
    pclose(pipe);
    return output;
}

static MessageBoxRecorder *s_recorder = nullptr;

static int RecordMessageBox(const char *title, const char *text, int buttons, int icon)
{
    if (!s_recorder)
        return 1;
    s_recorder->calls.push_back({title ? title : "", text ? text : "", buttons, icon});
    return s_recorder->answer;
}

MessageBoxRecorder::MessageBoxRecorder(int answer) : answer(answer)
{
    s_recorder = this;
    EngMiscSetMessageBoxHook(RecordMessageBox);
}

MessageBoxRecorder::~MessageBoxRecorder()
{
    EngMiscSetMessageBoxHook(nullptr);
    s_recorder = nullptr;
}

static ShellOpenRecorder *s_shellRecorder = nullptr;

static bool RecordShellOpen(const char *target)
{
    if (!s_shellRecorder)
        return false;
    s_shellRecorder->opened.push_back(target ? target : "");
    return s_shellRecorder->answer;
}

ShellOpenRecorder::ShellOpenRecorder(bool answer) : answer(answer)
{
    s_shellRecorder = this;
    PlatShellFunctions functions = {nullptr, RecordShellOpen, nullptr};
    PlatShellSetFunctions(&functions);
}

ShellOpenRecorder::~ShellOpenRecorder()
{
    PlatShellSetFunctions(nullptr);
    s_shellRecorder = nullptr;
}

void TempHomeTest::SetUp()
{
    home = new TempDir();
    setenv("HOME", home->Path().c_str(), 1);
    setenv("XDG_DATA_HOME", (home->Path() + "/.local/share").c_str(), 1);
    setenv("XDG_CONFIG_HOME", (home->Path() + "/.config").c_str(), 1);
    boxes = new MessageBoxRecorder();
    DebugShutdown();
    logPath = home->File("LogFile.txt");
    DebugSetLogFilename(logPath.c_str(), true);
    EngMainSetup();
}

void TempHomeTest::TearDown()
{
    EngMainShutdown();
    DebugShutdown();
    delete boxes;
    boxes = nullptr;
    delete home;
    home = nullptr;
}

std::string TempHomeTest::LogText() const
{
    return ReadFile(logPath);
}

bool TempHomeTest::LogHas(const std::string &text) const
{
    for (int i = 0; i < DebugGetNumMessages(); i++)
        if (strstr(DebugGetMessage(i)->text, text.c_str()))
            return true;
    return false;
}

std::string TempHomeTest::UserFolder() const
{
    return home->Path() + "/.local/share/Fernbrooks/Plinx";
}

} // namespace testkit
