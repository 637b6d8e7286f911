// Shared test fixtures: a temporary per-user folder, log capture and a message-box
// recorder.
#pragma once
#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace testkit
{

// Makes a fresh temporary folder; removed again (with its contents) by the destructor.
class TempDir
{
public:
    TempDir();
    ~TempDir();
    const std::string &Path() const { return path; }
    std::string File(const std::string &name) const { return path + "/" + name; }

private:
    std::string path;
};

std::string ReadFile(const std::string &path);
void WriteFile(const std::string &path, const std::string &bytes);
bool FileExists(const std::string &path);
// Runs `command` through the shell (commands of the tests' own making, such as xdotool
// calls); answers what it wrote to its standard output.
std::string Shell(const std::string &command);

// Runs the test from `path` while it lives and returns to the folder it came from
// (checked) when it goes, also when an assertion ends the test early.
class WorkingFolder
{
public:
    explicit WorkingFolder(const std::string &path);
    ~WorkingFolder();
    // False when the folder it came from was unknown or `path` could not be entered.
    bool Entered() const { return entered; }

private:
    std::string previous;
    bool entered = false;
};

// Every message box shown while the recorder lives; answers with `answer`.
struct MessageBoxCall
{
    std::string title;
    std::string text;
    int buttons;
    int icon;
};

class MessageBoxRecorder
{
public:
    explicit MessageBoxRecorder(int answer = 1);
    ~MessageBoxRecorder();
    std::vector<MessageBoxCall> calls;
    int answer;
};

// Every target handed to the shell's "open" while the recorder lives; nothing is
// started. Answers with `answer`.
class ShellOpenRecorder
{
public:
    explicit ShellOpenRecorder(bool answer = true);
    ~ShellOpenRecorder();
    std::vector<std::string> opened;
    bool answer;
};

// The test's own HOME and XDG folders in a temporary folder, a fresh log written to
// "LogFile.txt" there, the message boxes recorded and the core set up (EngMainSetup,
// shut down again after the test).
class TempHomeTest : public ::testing::Test
{
protected:
    void SetUp() override;
    void TearDown() override;

    // The whole log file written so far.
    std::string LogText() const;
    // True when some line of the in-memory message table contains `text`.
    bool LogHas(const std::string &text) const;
    std::string Home() const { return home->Path(); }
    // The per-user folder the game uses under this HOME.
    std::string UserFolder() const;

    TempDir *home = nullptr;
    MessageBoxRecorder *boxes = nullptr;
    std::string logPath;
};

} // namespace testkit
