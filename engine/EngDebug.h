// Error reporting and the log: every failure of the program is reported here with the
// readable name of the function that found it, kept in a message table and appended to
// "LogFile.txt" in the per-user folder.
#pragma once
#include "EngTypes.h"

// The name every reporter takes: the compiler's full signature, shown in the log as
// "Function@Class" (or the plain name for a free function).
#define ENG_FUNC __PRETTY_FUNCTION__

enum _DebugMsgCode
{
    DEBUG_MSG_PLAIN = 0,
    DEBUG_MSG_ERROR = 1,
    DEBUG_MSG_EXIT = 2,
    DEBUG_MSG_POPUP = 3,
    DEBUG_MSG_INFO = 4,
    DEBUG_MSG_NOTE = 5,
    DEBUG_MSG_RAW = 6,
};

enum _DebugNoteType
{
    DEBUG_NOTE_NONE = 0,
    DEBUG_NOTE_STANDARD = 2,
};

enum
{
    DEBUG_MAX_MESSAGES = 200,
    DEBUG_MESSAGE_TEXT_SIZE = 542,
    DEBUG_FORMAT_BUFFER_SIZE = 512,
    DEBUG_MAX_LINE_LENGTH = 482,
    DEBUG_LOG_NAME_SIZE = 256,
};

struct _DebugMessage
{
    char text[DEBUG_MESSAGE_TEXT_SIZE];
    int32_t code;     // _DebugMsgCode
    int32_t noteType; // _DebugNoteType
    float time;       // program time in seconds
};

// Reporters. `function` is ENG_FUNC (or a plain name, used as given).
void DebugError(const char *function, const char *format, ...) __attribute__((format(printf, 2, 3)));
void DebugErrorCode(const char *function, EngResultCode code);
void DebugExitMessage(const char *function, const char *format, ...) __attribute__((format(printf, 2, 3)));
bool DebugCheck(bool condition, const char *function, const char *format, ...) __attribute__((format(printf, 3, 4)));
bool DebugFatalIfFalse(bool condition, const char *function, const char *format, ...) __attribute__((format(printf, 3, 4)));
bool DebugFatalIfFalseInFunction(bool condition, const char *function, const char *format, ...)
    __attribute__((format(printf, 3, 4)));
void DebugInfo(const char *format, ...) __attribute__((format(printf, 1, 2)));
void DebugInfoInFunction(const char *function, const char *format, ...) __attribute__((format(printf, 2, 3)));
void DebugNote(int noteType, const char *format, ...) __attribute__((format(printf, 2, 3)));
void DebugNoteInFunction(int noteType, const char *function, const char *format, ...)
    __attribute__((format(printf, 3, 4)));
bool DebugInfoTimed(double *nextTime, double interval, const char *format, ...) __attribute__((format(printf, 3, 4)));
void DebugLine(const char *format, ...) __attribute__((format(printf, 1, 2)));
void DebugInfoQuickAlt(const char *function, const char *format, ...) __attribute__((format(printf, 2, 3)));

// Every reporter ends here; also usable directly with a composed text.
void DebugDoString(const char *text, int code, int noteType);

bool DebugSetLogFilename(const char *name, bool deleteExisting);
const char *DebugGetLogFilename();
int DebugGetNumMessages();
const _DebugMessage *DebugGetMessage(int index);
const char *DebugGetResultCodeText(EngResultCode code);
void DebugClearMessages();

// The readable form of a function name: "Create@EngWindow" for a member, the plain
// name for a free function; names without a signature are kept as given.
void DebugGetReadableName(const char *function, char *out, int outSize);

// ---- Handlers ---------------------------------------------------------------------------------
// What a report of an end or a popup leads to: the log sits at the bottom and knows no
// program, so the main module registers these (EngMainSetup).
struct _DebugHandlers
{
    // A fatal report (a failed fatal check, an exit report): shows `reason` under
    // `title` and ends the program. Should it return, the process ends with 255.
    void (*fatal)(const char *title, const char *reason);
    // A popup report: shows `text` under `title`.
    void (*popup)(const char *title, const char *text);
    // Whether exit reports are taken now (while a program runs and is not quitting).
    bool (*acceptsExitReports)();
};
// NULL forgets them: then a fatal report writes its reason to stderr and ends the
// process with 255, a popup report is only logged and exit reports are not taken. The
// table must outlive its registration.
void DebugSetHandlers(const _DebugHandlers *handlers);

// Ends the log's run: the message table empties, the once-only flags and the repeat
// count clear, and the next line written starts the file anew. The file's name stays
// what it was set to last (a run that starts again keeps writing where the program
// chose); the handlers stay registered. Nothing else is needed before the next run.
void DebugShutdown();
