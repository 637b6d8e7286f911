// The game set-up screen's score table: the player's local high scores of the current game
// type and difficulty, or the online list of the same table in one of four time ranges,
// with the last score's row pulsing. The online list is fetched in the background by the
// rules' online glue; without the online service, or while a list is empty, one row says
// so, and nothing ever waits for the network here.
#include <cstdio>
#include <cstring>

#include "Country.h"
#include "EngDebug.h"
#include "EngDevice.h"
#include "EngGlobals.h"
#include "EngMisc.h"
#include "EngProgram.h"
#include "GameState.h"
#include "Main.h"
#include "MWinTabPanel.h"
#include "OnlineScores.h"
#include "Resolution.h"
#include "Scores.h"

namespace
{

enum _MainColumn
{
    COLUMN_POS,
    COLUMN_NAME,
    COLUMN_PLATFORM,
    COLUMN_FLAG,
    COLUMN_LEVELS,
    COLUMN_DATE,
    COLUMN_SCORE,
    COLUMN_KINDS,
};

const char *const kRangeNames[5] = {"ALL TIME", "YEARLY", "MONTHLY", "WEEKLY", "DAILY"};

struct MainScoresState
{
    bool online;              // the table shows the online list
    int range;                // 1-4 while online
    int column[COLUMN_KINDS]; // table column of each kind, -1 absent
    int numColumns;
    int numRows;              // rows of data (the status row not counted)
    const char *status;       // the one row shown for an empty online list, or NULL
    int highlightRow;         // -1 none
    float throbAngle;
    float highlight[4];       // white, alpha 0.5 to 1
    bool updateRunning;       // a fetch started here has not been shown yet
    char text[64];            // the cell texts; each lasts until the next call
    char statusText[64];      // the service's word on an empty list
};
MainScoresState s_scores = {false, 0, {-1, -1, -1, -1, -1, -1, -1}, 0, 0, nullptr, -1, 0, {1, 1, 1, 1}, false, {}, {}};

MWinButton *W(int widget)
{
    return MainGetWidget(widget);
}

int KindOfColumn(int column)
{
    for (int kind = 0; kind < COLUMN_KINDS; kind++)
        if (s_scores.column[kind] == column && column >= 0)
            return kind;
    return -1;
}

// The local table of the current type and difficulty, and how many of its rows exist: a
// damaged count from the player's file never reads past the 100 rows.
const _GameScores *LocalTable(int *rows)
{
    const _GameScores *table = ScoresGetGameScoresForCurrentGameTypeAndDifficulty(0);
    int count = table ? table->numRows : 0;
    if (count < 0)
        count = 0;
    if (count > SCORES_MAX_ROWS)
        count = SCORES_MAX_ROWS;
    *rows = count;
    return table;
}

// What the table reads of an online row (strings bounded by their fields).
struct OnlineRowView
{
    uint32_t score;
    uint32_t levelCode; // (start level + 1) x 65536 + (levels + 1), or 0
    _EngMiscDate date;
    uint16_t userId;
    char name[sizeof(_ScoresScore::name) + 1];
    char country[sizeof(_ScoresScore::cc) + 1];
};

OnlineRowView ViewOf(const _ScoresScore &row)
{
    OnlineRowView view = {};
    view.score = row.v1 > 0 ? (uint32_t)row.v1 : 0;
    view.levelCode = row.v4;
    view.date = {(uint32_t)row.year, (uint8_t)row.month, (uint8_t)row.day};
    view.userId = row.uid;
    memcpy(view.name, row.name, sizeof(row.name));
    memcpy(view.country, row.cc, sizeof(row.cc));
    return view;
}

const _ScoresScore *OnlineRow(int row)
{
    if (row < 0 || row >= s_scores.numRows)
        return nullptr;
    const _ScoresScore *list = ScoresGetOnlineScoresList(0);
    return list ? &list[row] : nullptr;
}

// Whether a row is the last score: the same name, country, player id, score and date.
bool SameScore(const char *name, const char *country, uint16_t userId, uint32_t score, const _EngMiscDate &date,
               const _HighScore &last)
{
    char lastName[SCORES_NAME_SIZE + 1];
    ScoresGetRowName(&last, lastName);
    return strcmp(name, lastName) == 0 && strncmp(country, last.country, SCORES_COUNTRY_SIZE) == 0 &&
           userId == last.userId && score == last.score && memcmp(&date, &last.date, sizeof(date)) == 0;
}

int FindHighlightedRow()
{
    const _HighScore *last = ScoresGetLastScoreForCurrentGameTypeAndDifficulty(nullptr);
    if (!last)
        return -1;
    int found = -1;
    for (int row = 0; row < s_scores.numRows; row++)
    {
        if (s_scores.online)
        {
            const _ScoresScore *score = OnlineRow(row);
            if (!score)
                break;
            const OnlineRowView view = ViewOf(*score);
            if (SameScore(view.name, view.country, view.userId, view.score, view.date, *last))
                found = row;
            continue;
        }
        int rows = 0;
        const _GameScores *table = LocalTable(&rows);
        const _HighScore &entry = table->rows[row];
        char name[SCORES_NAME_SIZE + 1];
        ScoresGetRowName(&entry, name);
        if (SameScore(name, entry.country, entry.userId, entry.score, entry.date, *last))
            found = row;
    }
    return found;
}

// The one row an empty online list shows: why it is empty.
const char *OnlineStatus()
{
    if (!ScoresIsOnlineServiceAvailable())
        return "ONLINE SCORES ARE NOT AVAILABLE";
    if (s_scores.updateRunning)
        return "FETCHING ONLINE SCORES ...";
    // The service may say why it sent no list; a fetch that failed says nothing.
    const int32_t result = ScoresGetOnlineListResult(s_scores.statusText, sizeof(s_scores.statusText));
    if (s_scores.statusText[0])
        return s_scores.statusText;
    return result < 0 ? "ONLINE SCORES ARE NOT AVAILABLE" : "NO ONLINE SCORES YET";
}

const float *RowColour(int row, int column)
{
    return row >= 0 && row == s_scores.highlightRow ? s_scores.highlight : nullptr;
}

const char *Levels(int startLevel, int levels)
{
    snprintf(s_scores.text, sizeof(s_scores.text), "%02d-%02d", startLevel, levels);
    return s_scores.text;
}

const char *Date(const _EngMiscDate &date)
{
    snprintf(s_scores.text, sizeof(s_scores.text), "%s %d", EngMiscGetMonthAbbreviation(date.month), date.day);
    return s_scores.text;
}

const char *Number(uint32_t value)
{
    snprintf(s_scores.text, sizeof(s_scores.text), "%u", (unsigned)value);
    return s_scores.text;
}

// The flags of the online rows, drawn in their cells inside the table's clipping.
void DrawCell(int row, int column, const _Dimension *cell, MWinTabPanel *panel)
{
    if (!s_scores.online || KindOfColumn(column) != COLUMN_FLAG)
        return;
    const _ScoresScore *score = OnlineRow(row);
    if (!score)
        return;
    const int country = CountryGetCountryNumFromCode(ViewOf(*score).country, true);
    if (country < 0)
        return;
    const float halfWidth = 10.0f * EngScreenSettings.widthCorrection;
    _Dimension flag = {cell->x + cell->w * 0.5f - halfWidth, cell->y, 2.0f * halfWidth, cell->h};
    CountryDrawFlagWithAlpha(country, &flag, 1.0f);
}

} // namespace

const char *MainGetRangeName(int range)
{
    return range >= 0 && range < 5 ? kRangeNames[range] : "";
}

bool MainIsOnlineMode()
{
    return s_scores.online;
}

int MainGetOnlineRange()
{
    return s_scores.range;
}

int MainGetHighlightedRow()
{
    return s_scores.highlightRow;
}

void MainScoresReset()
{
    if (s_scores.online)
        ScoresFreeOnlineScores();
    s_scores.online = false;
    s_scores.range = 0;
    s_scores.updateRunning = false;
    s_scores.highlightRow = -1;
    s_scores.status = nullptr;
}

void MainSetupScoresTable(bool fetch)
{
    MWinTabPanel *panel = MainGetScoresTable();
    if (!panel)
        return;
    panel->SetLayoutOptions(true, true, false, true, 1, false, 0);
    panel->SetDrawSettings(1, 5, 0, 0, 0, 0, 0, 1, 0.5f, 1, 0.5f);

    for (int &column : s_scores.column)
        column = -1;
    int next = 0;
    s_scores.column[COLUMN_POS] = next++;
    s_scores.column[COLUMN_NAME] = next++;
    if (s_scores.online)
    {
        if (s_scores.range < 1 || s_scores.range > 4)
            s_scores.range = 1;
        s_scores.column[COLUMN_PLATFORM] = next++;
        s_scores.column[COLUMN_FLAG] = next++;
        if (W(MAIN_ONLINE_SCORES))
            W(MAIN_ONLINE_SCORES)->SetText("ONLINE");
        if (W(MAIN_UPDATE_SCORES))
            W(MAIN_UPDATE_SCORES)->SetEnabled(!s_scores.updateRunning);
        if (W(MAIN_SCORES_RANGE))
        {
            W(MAIN_SCORES_RANGE)->Enable();
            W(MAIN_SCORES_RANGE)->SetText(kRangeNames[s_scores.range]);
        }
        if (!CountryIsAtlasLoaded() && EngMainDevice)
            CountryCreateGraphics();
    }
    else
    {
        if (W(MAIN_ONLINE_SCORES))
            W(MAIN_ONLINE_SCORES)->SetText("LOCAL");
        if (W(MAIN_UPDATE_SCORES))
            W(MAIN_UPDATE_SCORES)->Disable();
        if (W(MAIN_SCORES_RANGE))
        {
            W(MAIN_SCORES_RANGE)->SetText(kRangeNames[0]);
            W(MAIN_SCORES_RANGE)->Disable();
        }
    }
    const bool ownPuzzles = GameState.userOptions.gameType == GAME_TYPE_MY_PUZZLES;
    if (!ownPuzzles)
        s_scores.column[COLUMN_LEVELS] = next++;
    s_scores.column[COLUMN_DATE] = next++;
    s_scores.column[COLUMN_SCORE] = next++;
    s_scores.numColumns = next;
    s_scores.highlightRow = -1;

    s_scores.status = nullptr;
    if (s_scores.online)
    {
        if (fetch)
            MainRefreshOnlineScores(false, false);
        s_scores.numRows = ScoresGetNumOnlineScores();
        if (s_scores.numRows < 0 || !ScoresGetOnlineScoresList(0))
            s_scores.numRows = 0;
        if (s_scores.numRows == 0)
            s_scores.status = OnlineStatus();
    }
    else
        LocalTable(&s_scores.numRows);
    s_scores.highlightRow = FindHighlightedRow();

    const int shownRows = s_scores.status ? 1 : s_scores.numRows;
    panel->SetEntryCallback(shownRows, s_scores.numColumns, -1, MainGetScoresCellText);
    panel->SetColumnTextAlign(s_scores.column[COLUMN_POS], MWIN_ALIGN_CENTRE);
    panel->SetColumnTextAlign(s_scores.column[COLUMN_NAME], MWIN_ALIGN_LEFT);
    panel->SetColumnTextAlign(s_scores.column[COLUMN_SCORE], MWIN_ALIGN_RIGHT);

    // Widths in percent by mode and by the optional columns present.
    struct Widths
    {
        int pos, name, flag, platform, date, score, levels;
    };
    static const Widths kOnline[3] = {{13, 29, 9, 9, 22, 20, 18}, {13, 29, 9, 9, 22, 20, 0}, {10, 45, 10, 10, 0, 25, 0}};
    static const Widths kLocal[3] = {{15, 25, 0, 0, 25, 20, 20}, {15, 25, 0, 0, 25, 20, 0}, {10, 50, 0, 0, 0, 40, 0}};
    const int shape = s_scores.column[COLUMN_DATE] < 0 ? 2 : s_scores.column[COLUMN_LEVELS] < 0 ? 1 : 0;
    const Widths &widths = s_scores.online ? kOnline[shape] : kLocal[shape];
    const int percent[COLUMN_KINDS] = {widths.pos,  widths.name,  widths.platform, widths.flag,
                                       widths.levels, widths.date, widths.score};
    for (int kind = 0; kind < COLUMN_KINDS; kind++)
        if (s_scores.column[kind] >= 0)
            panel->SetColumnWidthPercentage(s_scores.column[kind], percent[kind]);
    panel->SetRowColourCallback(RowColour);
    panel->SetCellDrawHook(DrawCell);
}

const char *MainGetScoresCellText(int row, int column, MWinTabPanel *panel)
{
    const int kind = KindOfColumn(column);
    if (row < 0)
    {
        switch (kind)
        {
        case COLUMN_POS:
            return "POS.";
        case COLUMN_NAME:
            return "NAME";
        case COLUMN_LEVELS:
            return "LEVELS";
        case COLUMN_SCORE:
            return "SCORE";
        case COLUMN_DATE:
            return "DATE";
        default:
            return "";
        }
    }
    if (s_scores.status)
        return row == 0 && kind == COLUMN_NAME ? s_scores.status : "";
    // Rows beyond the data show empty cells.
    if (row >= s_scores.numRows)
        return "";
    if (kind == COLUMN_POS)
    {
        snprintf(s_scores.text, sizeof(s_scores.text), "%d", row + 1);
        return s_scores.text;
    }
    if (s_scores.online)
    {
        const _ScoresScore *score = OnlineRow(row);
        if (!score)
            return "";
        const OnlineRowView view = ViewOf(*score);
        switch (kind)
        {
        case COLUMN_NAME:
            snprintf(s_scores.text, sizeof(s_scores.text), "%s", view.name);
            return s_scores.text;
        case COLUMN_LEVELS:
        {
            const int start = (int)(view.levelCode >> 16), reached = (int)(view.levelCode & 0xFFFF);
            return start >= 1 && reached >= 1 ? Levels(start, reached) : "";
        }
        case COLUMN_SCORE:
            return Number(view.score);
        case COLUMN_DATE:
            return Date(view.date);
        default:
            return "";
        }
    }
    int rows = 0;
    const _GameScores *table = LocalTable(&rows);
    if (!table || row >= rows)
        return "";
    const _HighScore &entry = table->rows[row];
    switch (kind)
    {
    case COLUMN_NAME:
    {
        char name[SCORES_NAME_SIZE + 1];
        ScoresGetRowName(&entry, name);
        snprintf(s_scores.text, sizeof(s_scores.text), "%s", name);
        return s_scores.text;
    }
    case COLUMN_LEVELS:
        return entry.startLevel >= 0 && entry.levels >= 0 ? Levels(entry.startLevel + 1, entry.levels + 1) : "";
    case COLUMN_SCORE:
        return Number(entry.score);
    case COLUMN_DATE:
        return Date(entry.date);
    default:
        return "";
    }
}

void MainToggleOnlineScores()
{
    s_scores.online = !s_scores.online;
    if (!s_scores.online)
    {
        ScoresFreeOnlineScores();
        s_scores.updateRunning = false;
    }
    MainSetupScoresTable(true);
}

void MainNextScoresRange()
{
    if (!s_scores.online)
        return;
    s_scores.range = s_scores.range >= 4 ? 1 : s_scores.range + 1;
    MainSetupScoresTable(true);
}

void MainRefreshOnlineScores(bool now, bool dropCache)
{
    _UserOptions &options = GameState.userOptions;
    const int gameType = options.gameType;
    if (!s_scores.online || gameType < GAME_TYPE_ARCADE || gameType > GAME_TYPE_PUZZLE)
        return;
    const int difficulty = options.difficulty[gameType];
    ScoresFreeOnlineScores();
    s_scores.updateRunning = true;
    MainSetupScoresTable(false);
    if (W(MAIN_UPDATE_SCORES))
        W(MAIN_UPDATE_SCORES)->Disable();
    if (dropCache)
        ScoresRemoveSavedFilesForAllRanges(gameType, difficulty);
    ScoresSetupOnlineScores(gameType, difficulty, s_scores.range, now ? 1 : 0);
}

void MainSubmitScore()
{
    ResolutionSettings *settings = ResolutionGetSettings();
    if (!EngScreenSettings.windowed && settings && settings->internetTest[0] != 1)
    {
        settings->internetTest[0] = 255;
        MainGetMWin()->PopupMessage("ADD HIGH SCORE ONLINE",
                                 "BEFORE YOU CAN ADD YOUR HIGH SCORE ONLINE,\nAN INTERNET TEST MUST BE PERFORMED.\n\n"
                                 "THIS WILL BE PERFORMED THE NEXT TIME\nYOU RUN THE PROGRAM.");
        return;
    }
    if (ScoresAddLastScore())
        MainRefreshOnlineScores(true, true);
    else
        DebugInfo("The last score was not added online");
}

void MainScoresTick(bool popupOn)
{
    if (s_scores.updateRunning)
    {
        if (!W(MAIN_UPDATE_SCORES))
            s_scores.updateRunning = false;
        else if (!ScoresIsUpdating())
        {
            W(MAIN_UPDATE_SCORES)->Enable();
            s_scores.updateRunning = false;
            MainSetupScoresTable(false);
        }
    }
    if (!popupOn && s_scores.highlightRow >= 0)
    {
        const float value = EngMiscThrobTick(&s_scores.throbAngle, 3.0f * EngFrameTiming.frameTime, nullptr);
        s_scores.highlight[3] = 0.5f + 0.5f * value;
    }
}
