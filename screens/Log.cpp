// The log viewer: loads the log file as lines ('|' shown as '>', empty lines left out,
// only the newest 5,000 of a very long log), lists them in a multi-select panel and
// copies them to the clipboard under a header naming the program, version and time.
#include "Log.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <ctime>

#include "EngClipboard.h"
#include "EngDebug.h"
#include "EngMain.h"
#include "EngMemory.h"
#include "Resolution.h"
#include "ScreensBuild.h"

namespace
{

#define LOG_BUTTON(id, kind, text, x, y, w, h, align, sx, sy) \
    {id, kind, MWIN_TEXBUT_DEFAULT, text, x, y, w, h, 1, 1, 1, 0.7f, sx, sy, align}

const _ScreensWidgetRow kNormal[LOG_NUM_WIDGETS] = {
    LOG_BUTTON("CopySel", MWIN_BUTTON_PUSH, "Copy selected line(s)", 20, 405, 140, 35, 1, 1, 1),
    LOG_BUTTON("Log", MWIN_BUTTON_PANEL, " ", 10, 5, 620, 390, 0, 0.9f, 0.95f),
    LOG_BUTTON("CopyAll", MWIN_BUTTON_PUSH, "Copy all lines", 175, 405, 100, 35, 1, 1, 1),
    LOG_BUTTON("Help", MWIN_BUTTON_PUSH, "?", 290, 405, 30, 35, 1, 1, 1),
    LOG_BUTTON("Clear", MWIN_BUTTON_PUSH, "Clear", 570, 405, 50, 35, 1, 1, 1),
};
const char *const kTokens[LOG_NUM_WIDGETS] = {"Logs_CopySel", nullptr, "Logs_CopyAll", nullptr, "Logs_Clear"};

#undef LOG_BUTTON

const char kNoEntriesToCopy[] = "There are no log entries to copy.";
const char kHelpText[] = "Use the copy buttons to copy the log entries to the system clipboard.\n\nYou can then use an "
                         "external app's \"Paste\" command to paste the entries into an e-mail or forum posting.";
const char kCopied[] = "Copy successful.\n\nYou can now use an external app's \"Paste\" command to paste the log "
                       "entries into an e-mail or forum posting.";
// The platform named in the copy's header.
const char kPlatformName[] = "Linux";

struct LogScreen
{
    MWinCollection *collection;
    MWinWindow *window;
    MWinButton *widgets[LOG_NUM_WIDGETS];
};
LogScreen s_log = {};

MWinButton *W(int widget)
{
    return s_log.widgets[widget];
}

MWinButton *BackButton()
{
    return s_log.window ? s_log.window->GetHideButton() : nullptr;
}

// The lines of a text source as the viewer lists them: counted first, then added, the
// newest LOG_KEPT_LINES only when there are more than LOG_MAX_LINES.
template <typename ForEachLine>
void AddNonEmptyLines(ForEachLine forEach, LogCC *viewer, void (*add)(LogCC *, const char *))
{
    int count = 0;
    forEach([&](const char *) { count++; });
    int skip = 0;
    if (count > LOG_MAX_LINES)
    {
        skip = count - LOG_KEPT_LINES;
        add(viewer, "(Entries Truncated)");
    }
    int index = 0;
    forEach([&](const char *line) {
        if (index++ >= skip)
            add(viewer, line);
    });
}

// Calls `use` for every non-empty line of the file, read through a 512-byte buffer
// (a longer line comes as several pieces), line ends removed.
template <typename Use> void ForEachFileLine(FILE *file, long from, Use use)
{
    char buffer[512];
    fseek(file, 0, SEEK_END);
    if (ftell(file) < from)
        from = 0;
    fseek(file, from, SEEK_SET);
    while (fgets(buffer, sizeof(buffer), file))
    {
        buffer[strcspn(buffer, "\r\n")] = 0;
        if (buffer[0])
            use(buffer);
    }
}

} // namespace

MWinButton *LogGetWidget(int widget)
{
    if (widget == LOG_NUM_WIDGETS)
        return BackButton();
    return widget >= 0 && widget < LOG_NUM_WIDGETS ? s_log.widgets[widget] : nullptr;
}

// ---- Layout ---------------------------------------------------------------------------------------

LogCollectionController::LogCollectionController()
{
    ClearButtonPointers();
}

void LogCollectionController::ClearButtonPointers()
{
    s_log = {};
}

MWinCollection *LogCollectionController::AddCollectionToDesktop(MWin *mwin, MWinDesktop *desktop)
{
    _MWinWindowCreateInfo info;
    ScreensTitledWindowInfo(&info, "Log Entries", "Logs_Title");
    s_log.collection = ScreensBuildCollection(mwin, desktop, "Log", kNormal, LOG_NUM_WIDGETS, s_log.widgets,
                                              &s_log.window, this, &info);
    if (s_log.window)
    {
        s_log.window->SetTitleTextColour(1.0f, 1.0f, 1.0f, 0.7f);
        s_log.window->SetTextAlign(MWIN_ALIGN_CENTRE);
    }
    ScreensSetWidgetTokens(s_log.widgets, kTokens, LOG_NUM_WIDGETS);
    return s_log.collection;
}

// ---- Behaviour --------------------------------------------------------------------------------------

LogCC::LogCC(MWinScreens *screens)
{
    ClearButtonPointers();
    SetScreensVar(screens);
}

const char *LogCC::GetLine(int index) const
{
    return index >= 0 && index < (int)lines.size() ? lines[index].c_str() : nullptr;
}

void LogCC::AddLine(const char *text)
{
    std::string line = text;
    for (char &c : line)
        if (c == '|')
            c = '>';
    lines.push_back(std::move(line));
}

void LogCC::RemoveAllLogEntries()
{
    lines.clear();
    lines.shrink_to_fit();
}

void LogCC::LoadLogs()
{
    RemoveAllLogEntries();
    auto add = [](LogCC *viewer, const char *line) { viewer->AddLine(line); };
    const char *name = DebugGetLogFilename();
    FILE *file = name && name[0] ? fopen(name, "rb") : nullptr;
    if (file)
    {
        AddNonEmptyLines([&](auto use) { ForEachFileLine(file, clearedAt, use); }, this, add);
        fclose(file);
        return;
    }
    if (name && name[0] && errno == ENOENT)
        return;
    DebugError(ENG_FUNC, "Could not load logfile.");
    AddNonEmptyLines(
        [](auto use) {
            for (int i = 0; i < DebugGetNumMessages(); i++)
            {
                const _DebugMessage *message = DebugGetMessage(i);
                if (message && message->text[0])
                    use(message->text);
            }
        },
        this, add);
}

const char *LogCC::RowTextCB(int row, MWinButton *button, void *user)
{
    const LogCC *viewer = static_cast<const LogCC *>(user);
    if (!viewer || viewer->lines.empty())
        return row == 0 ? "No log entries." : "";
    const char *line = viewer->GetLine(row);
    return line ? line : "";
}

void LogCC::StartingCB(void *data)
{
    LoadLogs();
    if (BackButton())
        BackButton()->SetEscapeButtonForParentWindow();
    MWinButton *panel = W(LOG_PANEL);
    if (!panel)
        return;
    panel->SetAlpha(0.6f);
    panel->PanelAllowNoSelection();
    int rows = lines.empty() ? 1 : (int)lines.size();
    panel->PanelSetStringsCallback(rows, -1, RowTextCB, this);
    panel->PanelSetMultiSelect(1, 0);
    panel->PanelSetScrollPos((float)(rows - 1));
}

bool LogCC::DoCopy(bool selectedOnly)
{
    MWinButton *panel = W(LOG_PANEL);
    MWin *mwin = GetScreens() ? GetScreens()->GetMWin() : nullptr;
    int count = selectedOnly ? (panel ? panel->PanelGetNumMultiSelected() : 0) : (int)lines.size();
    if (count <= 0 || lines.empty())
    {
        DebugErrorCode(ENG_FUNC, EngFourCC("IERR"));
        return false;
    }
    size_t total = 128;
    for (int i = 0; i < count; i++)
    {
        const char *line = GetLine(selectedOnly ? panel->PanelGetNthMultiSelected(i) : i);
        total += (line ? strlen(line) : 0) + 2;
    }
    char *buffer = (char *)EngMalloc(total, ENG_FUNC, false);
    if (!buffer)
    {
        if (mwin)
            mwin->PopupErrorText("Not enough memory to perform copy.\n\nTry selecting fewer lines.");
        return false;
    }
    time_t now = time(nullptr);
    struct tm local = {};
    localtime_r(&now, &local);
    const ResolutionSetupValues *values = ResolutionGetSetupValues();
    int length = snprintf(buffer, 128, "%s for %s version %.3f [%s, %d/%02d/%04d %d:%02d]\n\n",
                          selectedOnly ? "Selected log entries" : "Log entries", EngMainGetProgramTitle(),
                          values ? values->programVersion : 0.0f, kPlatformName, local.tm_mday, local.tm_mon + 1,
                          local.tm_year + 1900, local.tm_hour, local.tm_min);
    size_t used = length > 0 ? (size_t)length < 128 ? (size_t)length : 127 : 0;
    for (int i = 0; i < count; i++)
    {
        const char *line = GetLine(selectedOnly ? panel->PanelGetNthMultiSelected(i) : i);
        if (!line)
            continue;
        size_t size = strlen(line);
        memcpy(buffer + used, line, size);
        used += size;
        buffer[used++] = '\n';
    }
    buffer[used] = 0;
    bool copied = EngClipboardCopyFromString(buffer);
    EngFree(buffer, true, ENG_FUNC);
    if (copied)
        DebugInfo("%d log lines copied to the clipboard", count);
    if (mwin)
    {
        if (copied)
            mwin->PopupMessageText(kCopied);
        else
            mwin->PopupErrorText("A problem occurred copying the log to the clipboard.");
    }
    return copied;
}

bool LogCC::ControlCB(MWinButton *button, _MWinButtonCallbackInfo *info)
{
    if (!button)
        return false;
    MWinScreens *screens = GetScreens();
    MWin *mwin = screens ? screens->GetMWin() : nullptr;
    if (button == W(LOG_COPY_SEL))
    {
        MWinButton *panel = W(LOG_PANEL);
        if (lines.empty())
            mwin->PopupMessageText(kNoEntriesToCopy);
        else if (!panel || panel->PanelGetNumMultiSelected() <= 0)
            mwin->PopupMessageText("You have not selected any lines.");
        else
            DoCopy(true);
        return true;
    }
    if (button == W(LOG_COPY_ALL))
    {
        if (lines.empty())
            mwin->PopupMessageText(kNoEntriesToCopy);
        else
            DoCopy(false);
        return true;
    }
    if (button == W(LOG_HELP))
    {
        mwin->PopupMessageText(kHelpText);
        return true;
    }
    if (button == W(LOG_CLEAR))
    {
        if (W(LOG_PANEL))
            W(LOG_PANEL)->PanelClear();
        RemoveAllLogEntries();
        DebugClearMessages();
        const char *name = DebugGetLogFilename();
        if (FILE *file = name && name[0] ? fopen(name, "rb") : nullptr)
        {
            fseek(file, 0, SEEK_END);
            clearedAt = ftell(file);
            fclose(file);
        }
        DebugInfo("Cleared logs.");
        StartingCB(nullptr);
        return true;
    }
    if (button == BackButton())
    {
        RemoveAllLogEntries();
        if (screens)
            screens->GoBack();
        return true;
    }
    // Presses on the list select lines and need nothing more.
    return button == W(LOG_PANEL);
}
