// The log viewer ('LOGS', collection "Log"): the program's log file as a list of lines,
// copied (all, or the selected lines) to the clipboard under a header, or cleared.
#pragma once
#include <string>
#include <vector>

#include "MWin.h"
#include "ScreensBuild.h"

class LogCollectionController : public ScreensCollectionController
{
public:
    LogCollectionController();
    void ClearButtonPointers() override;
    MWinCollection *AddCollectionToDesktop(MWin *mwin, MWinDesktop *desktop) override;
};

class LogCC : public LogCollectionController
{
public:
    explicit LogCC(MWinScreens *screens);
    void StartingCB(void *data) override;
    bool ControlCB(MWinButton *button, _MWinButtonCallbackInfo *info) override;

    // Reads the log file into the lines (the in-memory log when the file cannot be read).
    void LoadLogs();
    void RemoveAllLogEntries();
    int GetNumLines() const { return (int)lines.size(); }
    const char *GetLine(int index) const;
    // Puts the header and all lines, or only the selected ones, on the clipboard; the
    // outcome is told in a popup. False when nothing was copied.
    bool DoCopy(bool selectedOnly);

private:
    void AddLine(const char *text);
    static const char *RowTextCB(int row, MWinButton *button, void *user);

    std::vector<std::string> lines;
    // Where the log file stood when the player cleared the log: the viewer lists what
    // came after (the file itself keeps everything).
    long clearedAt = 0;
};

enum _LogWidget
{
    LOG_COPY_SEL,
    LOG_PANEL,
    LOG_COPY_ALL,
    LOG_HELP,
    LOG_CLEAR,
    LOG_NUM_WIDGETS,
};
// The widgets while the screen is built (NULL otherwise); LOG_NUM_WIDGETS gives the
// title bar's back button.
MWinButton *LogGetWidget(int widget);

// More lines than this and only the last LOG_KEPT_LINES are listed.
const int LOG_MAX_LINES = 20000;
const int LOG_KEPT_LINES = 5000;
