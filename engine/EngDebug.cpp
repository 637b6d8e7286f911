// Error reporting and the log. Reports come from the main thread and from worker
// threads alike, so the message table, the shared format buffer and the log file are
// guarded by one (recursive) lock.
//
// Sections: names, the message table and log file, reporters, queries.
#include "EngDebug.h"

#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <mutex>

#include "EngMisc.h"
#include "EngMemory.h"

namespace
{

struct CodeText
{
    EngResultCode code;
    const char *text;
};

const CodeText kCodeTexts[] = {
    {EngFourCC("ALEX"), "Already exists."},   {EngFourCC("ALSU"), "Already setup."},
    {EngFourCC("BAPA"), "Bad parameters."},   {EngFourCC("CACN"), "Cannot call now."},
    {EngFourCC("DNEX"), "Does not exist."},   {EngFourCC("EXOC"), "An exception occurred."},
    {EngFourCC("FILL"), "Function not present."}, {EngFourCC("IER2"), "Internal error 2."},
    {EngFourCC("IERR"), "Internal error."},   {EngFourCC("LODF"), "Load failed."},
    {EngFourCC("UNKN"), "(Unknown)"},         {EngFourCC("NAVL"), "Not available."},
    {EngFourCC("NIMP"), "Not implemented."},  {EngFourCC("NLOD"), "Not loaded."},
    {EngFourCC("NOGM"), "No game."},          {EngFourCC("NSTP"), "Not setup."},
    {EngFourCC("NVAL"), "Not valid."},        {EngFourCC("NVER"), "Not verified."},
    {EngFourCC("OMEM"), "Out of memory."},    {EngFourCC("OPFA"), "Operation failed."},
    {EngFourCC("STEX"), "Still exists."},     {EngFourCC("UPDT"), "Needs updating."},
};

const char *const kTags[] = {"<WARNING>", " <ERROR> ", " <EXIT>  ", " <POPUP> ", " : ", " * "};
const char kDefaultLogName[] = "ErrorLog.txt";
const char kLogsRemoved[] = "--- LOGS REMOVED ---";
const char kTruncated[] = " ... (TRUNCATED)";
enum
{
    TRUNCATE_KEEP = 462
};

struct DebugState
{
    _DebugMessage messages[DEBUG_MAX_MESSAGES];
    int count;
    char logName[DEBUG_LOG_NAME_SIZE];
    bool exiting;       // once-only guard while the exit path runs
    bool suppress;      // set while a line is written
    bool timePrefix;
    bool deleteOnSet;   // set by DebugClearMessages
    bool writtenThisRun;
    bool fatalShown;
    bool fatalInFunctionShown;
    // The last message written, and how often it came again since (not written).
    char lastText[DEBUG_MESSAGE_TEXT_SIZE];
    int repeats;
};

DebugState s_debug = {{}, 0, "ErrorLog.txt", false, false, true, false, false, false, false};

// Registered by the main module; read under the lock.
const _DebugHandlers *s_handlers = nullptr;

std::recursive_mutex &DebugLock()
{
    static std::recursive_mutex lock;
    return lock;
}

// Appends one composed line to the log file; the first line of a run starts the file anew.
void DebugWriteLine(const char *prefix, const char *line)
{
    FILE *file = fopen(s_debug.logName, s_debug.writtenThisRun ? "ab" : "wb");
    if (!file)
        return;
    fprintf(file, "%s%s\n", prefix, line);
    fclose(file);
    s_debug.writtenThisRun = true;
}

// The forced exit that codes 2 and the fatal checks end in: show the reason, end with -1.
[[noreturn]] void DebugExitProgram(const char *reason)
{
    const _DebugHandlers *handlers;
    {
        std::lock_guard<std::recursive_mutex> guard(DebugLock());
        handlers = s_handlers;
    }
    if (handlers && handlers->fatal)
        handlers->fatal("INTERNAL PROGRAM ERROR", reason);
    else
        fprintf(stderr, "[INTERNAL PROGRAM ERROR] %s\n", reason ? reason : "");
    // The handler returns only on a worker thread that could not be ended.
    _Exit(255);
}

// A report that can come every frame ("Invalid blend num" and the like) would fill the
// log at the frame rate: a message equal to the one before is only counted, and the
// count is written as one line when another message comes, or every 600 repeats.
enum
{
    REPEATS_PER_LINE = 600,
};

void DebugWriteRepeats(const char *prefix)
{
    if (s_debug.repeats < 1)
        return;
    char line[80];
    snprintf(line, sizeof(line), "    ... last message repeated %d more times", s_debug.repeats);
    s_debug.repeats = 0;
    s_debug.suppress = true;
    DebugWriteLine(prefix, line);
    s_debug.suppress = false;
}

// A message's text, formatted into the caller's own room so that a report made while
// another is written cannot overwrite it.
void DebugFormatV(char (&text)[DEBUG_FORMAT_BUFFER_SIZE], const char *format, va_list args)
{
    vsnprintf(text, sizeof(text), format ? format : "", args);
}

void DebugReportWithName(const char *function, bool readable, int code, int noteType, const char *layout,
                         const char *text)
{
    char name[256];
    if (readable)
        DebugGetReadableName(function, name, sizeof(name));
    else
        EngSafeStrcpy(name, function ? function : "", sizeof(name));
    char line[DEBUG_FORMAT_BUFFER_SIZE + 300];
    snprintf(line, sizeof(line), layout, name, text);
    DebugDoString(line, code, noteType);
}

// Shared body of the two fatal checks; `shown` is the check's own once-only flag.
bool DebugFatal(bool condition, bool &shown, const char *function, bool readable, const char *format, va_list args)
{
    if (condition)
        return true;
    std::unique_lock<std::recursive_mutex> guard(DebugLock());
    if (shown || s_debug.exiting)
    {
        // A fatal check that fails while an exit path already runs still ends the process.
        guard.unlock();
        _Exit(255);
    }
    shown = true;
    char text[DEBUG_FORMAT_BUFFER_SIZE];
    DebugFormatV(text, format, args);
    DebugDoString("", DEBUG_MSG_RAW, DEBUG_NOTE_NONE);
    DebugDoString("EXITING DUE TO FOLLOWING ERROR:", DEBUG_MSG_RAW, DEBUG_NOTE_NONE);
    DebugDoString("", DEBUG_MSG_RAW, DEBUG_NOTE_NONE);
    DebugReportWithName(function, readable, DEBUG_MSG_ERROR, DEBUG_NOTE_NONE, "( %s )    %s", text);
    char reason[DEBUG_FORMAT_BUFFER_SIZE + 16];
    snprintf(reason, sizeof(reason), "Reason:\n\n%s", text);
    s_debug.exiting = true;
    guard.unlock();
    DebugExitProgram(reason);
}

} // namespace

void DebugGetReadableName(const char *function, char *out, int outSize)
{
    if (!out || outSize < 1)
        return;
    out[0] = 0;
    if (!function)
        return;
    if (function[0] == '?')
    {
        // A decorated name: the text between '?' and the first "@@".
        const char *end = strstr(function + 1, "@@");
        size_t length = end ? (size_t)(end - function - 1) : strlen(function + 1);
        if (length >= (size_t)outSize)
            length = outSize - 1;
        memcpy(out, function + 1, length);
        out[length] = 0;
        return;
    }
    const char *paren = strchr(function, '(');
    if (!paren)
    {
        EngSafeStrcpy(out, function, outSize);
        return;
    }
    // A full signature: find where the qualified name starts (after the return type),
    // skipping template brackets, then list its parts innermost first joined by '@'.
    const char *nameEnd = paren;
    const char *nameStart = function;
    int depth = 0;
    for (const char *p = paren - 1; p >= function; p--)
    {
        if (*p == '>')
            depth++;
        else if (*p == '<')
            depth--;
        else if (*p == ' ' && depth == 0)
        {
            nameStart = p + 1;
            break;
        }
    }
    while (*nameStart == '*' || *nameStart == '&')
        nameStart++;
    const char *parts[16];
    size_t lengths[16];
    int partCount = 0;
    const char *p = nameStart;
    while (p < nameEnd && partCount < 16)
    {
        const char *sep = p;
        depth = 0;
        while (sep < nameEnd && !(depth == 0 && sep[0] == ':' && sep[1] == ':'))
        {
            if (*sep == '<')
                depth++;
            else if (*sep == '>')
                depth--;
            sep++;
        }
        parts[partCount] = p;
        lengths[partCount] = (size_t)(sep - p);
        partCount++;
        p = sep < nameEnd ? sep + 2 : nameEnd;
    }
    size_t used = 0;
    for (int i = partCount - 1; i >= 0; i--)
    {
        if (i != partCount - 1 && used + 1 < (size_t)outSize)
            out[used++] = '@';
        size_t length = lengths[i];
        if (used + length >= (size_t)outSize)
            length = outSize - 1 - used;
        memcpy(out + used, parts[i], length);
        used += length;
    }
    out[used] = 0;
}

void DebugDoString(const char *text, int code, int noteType)
{
    std::unique_lock<std::recursive_mutex> guard(DebugLock());
    if (s_debug.exiting || s_debug.suppress || !text || code < 0 || code > DEBUG_MSG_RAW)
        return;
    char cut[DEBUG_MAX_LINE_LENGTH + 1];
    if (strlen(text) > DEBUG_MAX_LINE_LENGTH)
    {
        memcpy(cut, text, TRUNCATE_KEEP);
        strcpy(cut + TRUNCATE_KEEP, kTruncated);
        text = cut;
    }
    if (s_debug.count > DEBUG_MAX_MESSAGES)
    {
        s_debug.count = 198;
        guard.unlock();
        DebugError(ENG_FUNC, "Too many messages [%d] - cropping (should never happen)", DEBUG_MAX_MESSAGES + 1);
        guard.lock();
    }
    if (s_debug.count < 0 || s_debug.count >= DEBUG_MAX_MESSAGES)
        s_debug.count = 0;

    float now = (float)EngMiscGetClock_PC();
    char prefix[32] = "";
    if (s_debug.timePrefix)
        snprintf(prefix, sizeof(prefix), "%.1f | ", now);
    char composed[DEBUG_MESSAGE_TEXT_SIZE];
    if (code == DEBUG_MSG_RAW)
        snprintf(composed, sizeof(composed), "%s", text);
    else
        snprintf(composed, sizeof(composed), "%s %s", kTags[code], text);
    bool collapsible = code != DEBUG_MSG_RAW && code != DEBUG_MSG_POPUP && code != DEBUG_MSG_EXIT;
    if (collapsible && strcmp(composed, s_debug.lastText) == 0)
    {
        if (++s_debug.repeats >= REPEATS_PER_LINE)
            DebugWriteRepeats(prefix);
        return;
    }
    DebugWriteRepeats(prefix);
    EngSafeStrcpy(s_debug.lastText, collapsible ? composed : "", sizeof(s_debug.lastText));

    _DebugMessage &message = s_debug.messages[s_debug.count];
    message.code = code;
    message.noteType = noteType;
    message.time = now;
    EngSafeStrcpy(message.text, composed, sizeof(message.text));

    s_debug.suppress = true;
    DebugWriteLine(prefix, message.text);
    s_debug.suppress = false;

    s_debug.count++;
    if (s_debug.count >= DEBUG_MAX_MESSAGES)
    {
        memmove(&s_debug.messages[0], &s_debug.messages[DEBUG_MAX_MESSAGES / 2],
                sizeof(_DebugMessage) * (DEBUG_MAX_MESSAGES / 2));
        EngSafeStrcpy(s_debug.messages[0].text, kLogsRemoved, sizeof(s_debug.messages[0].text));
        s_debug.count = DEBUG_MAX_MESSAGES / 2;
    }

    if (code == DEBUG_MSG_POPUP)
    {
        char popupText[DEBUG_MESSAGE_TEXT_SIZE];
        EngSafeStrcpy(popupText, text, sizeof(popupText));
        const _DebugHandlers *handlers = s_handlers;
        guard.unlock();
        if (handlers && handlers->popup)
            handlers->popup("Warning", popupText);
    }
    else if (code == DEBUG_MSG_EXIT)
    {
        const char *reason = strstr(message.text, "<EXIT> ");
        reason = reason ? reason + strlen("<EXIT> ") : message.text;
        char exitText[DEBUG_MESSAGE_TEXT_SIZE];
        EngSafeStrcpy(exitText, reason, sizeof(exitText));
        s_debug.exiting = true;
        guard.unlock();
        DebugExitProgram(exitText);
    }
}

void DebugError(const char *function, const char *format, ...)
{
    std::lock_guard<std::recursive_mutex> guard(DebugLock());
    if (s_debug.suppress || s_debug.exiting)
        return;
    char text[DEBUG_FORMAT_BUFFER_SIZE];
    va_list args;
    va_start(args, format);
    DebugFormatV(text, format, args);
    va_end(args);
    DebugReportWithName(function, true, DEBUG_MSG_ERROR, DEBUG_NOTE_NONE, "( %s )    %s", text);
}

void DebugErrorCode(const char *function, EngResultCode code)
{
    DebugError(function, "%s", DebugGetResultCodeText(code));
}

void DebugExitMessage(const char *function, const char *format, ...)
{
    const _DebugHandlers *handlers;
    {
        std::lock_guard<std::recursive_mutex> guard(DebugLock());
        handlers = s_handlers;
    }
    if (!handlers || !handlers->acceptsExitReports || !handlers->acceptsExitReports())
        return;
    std::lock_guard<std::recursive_mutex> guard(DebugLock());
    char text[DEBUG_FORMAT_BUFFER_SIZE];
    va_list args;
    va_start(args, format);
    DebugFormatV(text, format, args);
    va_end(args);
    if (function && function[0])
        DebugReportWithName(function, false, DEBUG_MSG_EXIT, DEBUG_NOTE_NONE, "( %s )     %s", text);
    else
        DebugDoString(text, DEBUG_MSG_EXIT, DEBUG_NOTE_NONE);
}

bool DebugCheck(bool condition, const char *function, const char *format, ...)
{
    if (condition)
        return true;
    std::lock_guard<std::recursive_mutex> guard(DebugLock());
    char text[DEBUG_FORMAT_BUFFER_SIZE];
    va_list args;
    va_start(args, format);
    DebugFormatV(text, format, args);
    va_end(args);
    DebugReportWithName(function, false, DEBUG_MSG_ERROR, DEBUG_NOTE_NONE, "( %s )    %s", text);
    return false;
}

bool DebugFatalIfFalse(bool condition, const char *function, const char *format, ...)
{
    if (condition)
        return true;
    va_list args;
    va_start(args, format);
    DebugFatal(condition, s_debug.fatalShown, function, false, format, args);
    va_end(args);
    return false;
}

bool DebugFatalIfFalseInFunction(bool condition, const char *function, const char *format, ...)
{
    if (condition)
        return true;
    va_list args;
    va_start(args, format);
    DebugFatal(condition, s_debug.fatalInFunctionShown, function, true, format, args);
    va_end(args);
    return false;
}

void DebugInfo(const char *format, ...)
{
    std::lock_guard<std::recursive_mutex> guard(DebugLock());
    char text[DEBUG_FORMAT_BUFFER_SIZE];
    va_list args;
    va_start(args, format);
    DebugFormatV(text, format, args);
    va_end(args);
    DebugDoString(text, DEBUG_MSG_INFO, DEBUG_NOTE_NONE);
}

void DebugInfoInFunction(const char *function, const char *format, ...)
{
    std::lock_guard<std::recursive_mutex> guard(DebugLock());
    char text[DEBUG_FORMAT_BUFFER_SIZE];
    va_list args;
    va_start(args, format);
    DebugFormatV(text, format, args);
    va_end(args);
    DebugReportWithName(function, true, DEBUG_MSG_INFO, DEBUG_NOTE_NONE, "%s > %s", text);
}

void DebugNote(int noteType, const char *format, ...)
{
    std::lock_guard<std::recursive_mutex> guard(DebugLock());
    char text[DEBUG_FORMAT_BUFFER_SIZE];
    va_list args;
    va_start(args, format);
    DebugFormatV(text, format, args);
    va_end(args);
    DebugDoString(text, DEBUG_MSG_NOTE, noteType);
}

void DebugNoteInFunction(int noteType, const char *function, const char *format, ...)
{
    std::lock_guard<std::recursive_mutex> guard(DebugLock());
    char text[DEBUG_FORMAT_BUFFER_SIZE];
    va_list args;
    va_start(args, format);
    DebugFormatV(text, format, args);
    va_end(args);
    DebugReportWithName(function, true, DEBUG_MSG_NOTE, noteType, "%s > %s", text);
}

bool DebugInfoTimed(double *nextTime, double interval, const char *format, ...)
{
    double now = EngMiscGetClock_PC();
    if (!nextTime || *nextTime > now)
        return false;
    *nextTime = now + interval;
    std::lock_guard<std::recursive_mutex> guard(DebugLock());
    char text[DEBUG_FORMAT_BUFFER_SIZE];
    va_list args;
    va_start(args, format);
    DebugFormatV(text, format, args);
    va_end(args);
    DebugDoString(text, DEBUG_MSG_INFO, DEBUG_NOTE_NONE);
    return true;
}

void DebugLine(const char *format, ...)
{
    std::lock_guard<std::recursive_mutex> guard(DebugLock());
    char text[DEBUG_FORMAT_BUFFER_SIZE];
    va_list args;
    va_start(args, format);
    DebugFormatV(text, format, args);
    va_end(args);
    bool wasPrefixed = s_debug.timePrefix;
    s_debug.timePrefix = false;
    DebugDoString(text, DEBUG_MSG_RAW, DEBUG_NOTE_NONE);
    s_debug.timePrefix = wasPrefixed;
}

void DebugInfoQuickAlt(const char *function, const char *format, ...)
{
    // The quick debug output has no destination on this platform.
}

bool DebugSetLogFilename(const char *name, bool deleteExisting)
{
    std::lock_guard<std::recursive_mutex> guard(DebugLock());
    if (!name || !name[0])
    {
        EngSafeStrcpy(s_debug.logName, kDefaultLogName, sizeof(s_debug.logName));
        return true;
    }
    if (strlen(name) >= DEBUG_LOG_NAME_SIZE)
    {
        EngSafeStrcpy(s_debug.logName, kDefaultLogName, sizeof(s_debug.logName));
        DebugError(ENG_FUNC, "Filename too long");
        return false;
    }
    EngSafeStrcpy(s_debug.logName, name, sizeof(s_debug.logName));
    if (deleteExisting && (!s_debug.writtenThisRun || s_debug.deleteOnSet))
    {
        remove(s_debug.logName);
        s_debug.writtenThisRun = false;
        s_debug.deleteOnSet = false;
    }
    return true;
}

const char *DebugGetLogFilename()
{
    return s_debug.logName;
}

int DebugGetNumMessages()
{
    std::lock_guard<std::recursive_mutex> guard(DebugLock());
    return s_debug.count;
}

const _DebugMessage *DebugGetMessage(int index)
{
    std::lock_guard<std::recursive_mutex> guard(DebugLock());
    if (index < 0 || index >= s_debug.count)
        return nullptr;
    return &s_debug.messages[index];
}

const char *DebugGetResultCodeText(EngResultCode code)
{
    for (const CodeText &entry : kCodeTexts)
        if (entry.code == code)
            return entry.text;
    return "?";
}

void DebugClearMessages()
{
    std::lock_guard<std::recursive_mutex> guard(DebugLock());
    bool wasPrefixed = s_debug.timePrefix;
    s_debug.timePrefix = false;
    s_debug.suppress = true;
    for (int i = 0; i < 50; i++)
        DebugWriteLine("", "");
    s_debug.suppress = false;
    s_debug.timePrefix = wasPrefixed;
    s_debug.count = 0;
    s_debug.deleteOnSet = true;
    // After a clear, the next message is written even when it repeats the last one.
    s_debug.lastText[0] = 0;
    s_debug.repeats = 0;
}

void DebugSetHandlers(const _DebugHandlers *handlers)
{
    std::lock_guard<std::recursive_mutex> guard(DebugLock());
    s_handlers = handlers;
}

void DebugShutdown()
{
    std::lock_guard<std::recursive_mutex> guard(DebugLock());
    memset(s_debug.messages, 0, sizeof(s_debug.messages));
    s_debug.count = 0;
    s_debug.exiting = false;
    s_debug.suppress = false;
    s_debug.timePrefix = true;
    s_debug.deleteOnSet = false;
    s_debug.writtenThisRun = false;
    s_debug.fatalShown = false;
    s_debug.fatalInFunctionShown = false;
    s_debug.lastText[0] = 0;
    s_debug.repeats = 0;
}
