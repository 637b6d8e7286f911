// Language texts over one module state: discovery of the language files, header and
// full parsing (through TextFile), look-ups with the English fallback, placeholders and
// the translation report. Sections: records, state, parsing, set-up, look-ups, report.
#include "EngLanguages.h"

#include <cstring>
#include <strings.h>

#include "EngDebug.h"
#include "EngDirList.h"
#include "EngFile.h"
#include "EngMemory.h"
#include "EngTextFile.h"

// ---- Records -----------------------------------------------------------------------

namespace
{

// A NULL value is a caller's fault: reported, and the field cleared.
void SetOrClear(const char *function, std::string &field, const char *value)
{
    if (!value)
    {
        DebugErrorCode(function, EngFourCC("BAPA"));
        field.clear();
        return;
    }
    field = value;
}

} // namespace

void EngLangInfoC::SetNameInEnglish(const char *name)
{
    SetOrClear(ENG_FUNC, nameInEnglish, name);
    displayName = nameInEnglish;
}

void EngLangInfoC::SetNameInEnglishWithLen(const char *name, int length)
{
    if (!name || length < 0)
    {
        SetOrClear(ENG_FUNC, nameInEnglish, nullptr);
        displayName.clear();
        return;
    }
    nameInEnglish.assign(name, strnlen(name, (size_t)length));
    displayName = nameInEnglish;
}

void EngLangInfoC::SetNameNative(const char *name)
{
    SetOrClear(ENG_FUNC, nameNative, name);
}

void EngLangInfoC::SetFlagCountryCode(const char *code)
{
    SetOrClear(ENG_FUNC, flagCountryCode, code);
}

void EngLangPathC::SetPath(const char *newPath)
{
    SetOrClear(ENG_FUNC, path, newPath);
}

void EngLangSubTextC::SetText(const char *newText)
{
    SetOrClear(ENG_FUNC, text, newText);
}

void EngLangTextC::SetToken(const char *newToken)
{
    SetOrClear(ENG_FUNC, token, newToken);
}

// ---- State -------------------------------------------------------------------------

namespace
{

enum
{
    LANG_NOT_SETUP = 0,
    LANG_INITIALISED = 1,
    LANG_FINISHED = 2,

    LANG_MAX_LINE = 4095,       // longer lines are skipped
    LANG_MAX_KEY = 63,          // the first '=' stands at 1..63
    LANG_MAX_NATIVE_NAME = 63,
    LANG_MAX_FLAG_CODE = 2,
    LANG_REPORT_LINE_LIMIT = 510,
    LANG_NAME_FIELD_SIZE = 64,
};

const char *const kTextsFolder = "Data\\Common\\CommonTexts";
const char *const kEnglish = "English";

// Text sets live in deques so that appending a fallback text never moves the texts
// already handed out.
typedef std::deque<EngLangTextC> EngLangTextSet;

struct EngLanguagesState
{
    uint8_t setupState = LANG_NOT_SETUP;
    uint8_t englishOnly = 0;
    int32_t currentLanguage = -1;
    std::vector<EngLangInfoC> languages;
    std::vector<EngLangPathC> paths;
    EngLangTextSet sets[2];
    int8_t activeSet = 0;
    uint8_t currentIsEnglish = 0;
};

EngLanguagesState s_lang;

EngLangTextSet &ActiveSet()
{
    return s_lang.sets[s_lang.activeSet];
}

bool IsValidLanguage(int index)
{
    return index >= 0 && index < (int)s_lang.languages.size();
}

// The first text of the set with exactly this token, or -1.
int FindTokenInSet(const EngLangTextSet &set, const char *token)
{
    for (size_t i = 0; i < set.size(); i++)
        if (set[i].GetToken() == token)
            return (int)i;
    return -1;
}

// A line is taken when it is 1 to 4095 characters long, is no comment (';') or section
// ('['), and its first '=' stands at 1 to 63. *equals gets that position.
bool IsConsideredLine(const char *line, size_t *equals)
{
    size_t length = strlen(line);
    if (length < 1 || length > LANG_MAX_LINE || line[0] == ';' || line[0] == '[')
        return false;
    const char *found = strchr(line, '=');
    if (!found)
        return false;
    size_t position = (size_t)(found - line);
    if (position < 1 || position > LANG_MAX_KEY)
        return false;
    *equals = position;
    return true;
}

// Trailing CR, LF, space and tab removed.
std::string TrimEnd(std::string text)
{
    while (!text.empty() && (text.back() == '\r' || text.back() == '\n' || text.back() == ' ' || text.back() == '\t'))
        text.pop_back();
    return text;
}

// One sub-text of a value: backslash-n pairs become LF, then the first "##" becomes '#'.
std::string DecodeSubText(const std::string &raw)
{
    std::string text;
    text.reserve(raw.size());
    for (size_t i = 0; i < raw.size(); i++)
    {
        if (raw[i] == '\\' && i + 1 < raw.size() && raw[i + 1] == 'n')
        {
            text += '\n';
            i++;
        }
        else
        {
            text += raw[i];
        }
    }
    size_t pair = text.find("##");
    if (pair != std::string::npos)
        text.erase(pair, 1);
    return text;
}

// Splits a value at every '#' that has no '#' on either side.
void SplitValue(const char *value, EngLangTextC &text)
{
    size_t length = strlen(value);
    size_t start = 0;
    for (size_t i = 0; i <= length; i++)
    {
        bool split = i == length;
        if (!split && value[i] == '#')
        {
            bool previousIsHash = i > 0 && value[i - 1] == '#';
            bool nextIsHash = i + 1 < length && value[i + 1] == '#';
            split = !previousIsHash && !nextIsHash;
        }
        if (!split)
            continue;
        EngLangSubTextC subText;
        subText.SetText(DecodeSubText(std::string(value + start, i - start)));
        text.subTexts.push_back(subText);
        start = i + 1;
    }
}

const char *TextOf(const EngLangTextC &text, int subTextNum)
{
    return text.subTexts[(size_t)subTextNum].GetText().c_str();
}

} // namespace

// ---- Parsing -----------------------------------------------------------------------

namespace
{

// The 128 rows of the conversion: row r holds the UTF-8 form of the code point 0x80 + r,
// or a single ASCII byte for the rows that have no two-byte form to match.
struct ExtendedAsciiTable
{
    unsigned char pair[128][2];
    ExtendedAsciiTable()
    {
        for (int row = 0; row < 128; row++)
        {
            unsigned codePoint = 0x80 + (unsigned)row;
            if (codePoint >= 0xA1 && codePoint != 0xAD)
            {
                pair[row][0] = (unsigned char)(0xC0 | (codePoint >> 6));
                pair[row][1] = (unsigned char)(0x80 | (codePoint & 0x3F));
            }
            else
            {
                pair[row][0] = codePoint == 0xA0 ? ' ' : codePoint == 0xAD ? '-' : '?';
                pair[row][1] = 0;
            }
        }
    }
    // The row matching the two bytes, or -1.
    int Find(unsigned char first, unsigned char second) const
    {
        for (int row = 0; row < 128; row++)
            if (pair[row][0] == first && pair[row][1] == second && pair[row][1] != 0)
                return row;
        return -1;
    }
};

const ExtendedAsciiTable &ExtendedAscii()
{
    static const ExtendedAsciiTable table;
    return table;
}

} // namespace

char *ConvertUtf8ToExtendedAscii(const char *line, bool *converted)
{
    if (converted)
        *converted = false;
    if (!line)
        return nullptr;
    const ExtendedAsciiTable &table = ExtendedAscii();
    const unsigned char *bytes = (const unsigned char *)line;
    size_t outLength = 0;
    bool anyMatch = false;
    for (size_t i = 0; bytes[i];)
    {
        if (bytes[i] < 0x80)
        {
            outLength++;
            i++;
        }
        else if (table.Find(bytes[i], bytes[i + 1]) >= 0)
        {
            outLength++;
            anyMatch = true;
            i += 2;
        }
        else
        {
            i++;
        }
    }
    if (!anyMatch)
        return (char *)line;
    char *out = (char *)EngMalloc(outLength + 1, "ConvertUtf8ToExtendedAscii", false);
    if (!out)
        return nullptr;
    size_t written = 0;
    for (size_t i = 0; bytes[i];)
    {
        if (bytes[i] < 0x80)
        {
            out[written++] = (char)bytes[i];
            i++;
            continue;
        }
        int row = table.Find(bytes[i], bytes[i + 1]);
        if (row >= 0)
        {
            out[written++] = (char)(0x80 + row);
            i += 2;
        }
        else
        {
            i++;
        }
    }
    out[written] = 0;
    if (converted)
        *converted = true;
    return out;
}

namespace
{

// The header value after the key, converted, cut to maxLength and trimmed.
std::string HeaderValue(const char *value, size_t maxLength)
{
    bool converted = false;
    char *text = ConvertUtf8ToExtendedAscii(value, &converted);
    std::string result = text ? std::string(text).substr(0, maxLength) : std::string();
    if (converted)
        EngFree(text, false, nullptr);
    return TrimEnd(result);
}

} // namespace

bool EngLangParseLanguageFile(const char *path, int index, bool headerOnly)
{
    if (!path || !IsValidLanguage(index))
    {
        DebugErrorCode(ENG_FUNC, EngFourCC("BAPA"));
        return false;
    }
    TextFile file;
    if (file.Open(path, TEXTFILE_MODE_READ, TEXTFILE_ENCODING_AUTO, 0) != TEXTFILE_OK)
    {
        DebugError(ENG_FUNC, "Could not open file <%s>", path);
        return false;
    }
    char *line = nullptr;
    EngLangInfoC &language = s_lang.languages[(size_t)index];

    if (headerOnly)
    {
        bool haveName = false;
        bool haveCode = false;
        while (file.ReadLine(nullptr, &line) == TEXTFILE_OK)
        {
            size_t equals;
            if (!IsConsideredLine(line, &equals))
                continue;
            if (strncmp(line, "Language=", 9) == 0)
            {
                language.SetNameNative(HeaderValue(line + 9, LANG_MAX_NATIVE_NAME).c_str());
                haveName = true;
            }
            else if (strncmp(line, "FlagCountryCode=", 16) == 0)
            {
                std::string code = TrimEnd(std::string(line + 16).substr(0, LANG_MAX_FLAG_CODE));
                language.SetFlagCountryCode(code.c_str());
                haveCode = true;
            }
            if (haveName && haveCode)
            {
                EngFree(line, false, nullptr);
                return true;
            }
        }
        EngFree(line, false, nullptr);
        if (!haveName)
            DebugError(ENG_FUNC, "Could not get language name.");
        if (!haveCode)
            DebugError(ENG_FUNC, "No FlagCountryCode entry.");
        return false;
    }

    EngLangTextSet &set = ActiveSet();
    while (file.ReadLine(nullptr, &line) == TEXTFILE_OK)
    {
        const char *text = line;
        bool converted = false;
        if (!s_lang.currentIsEnglish)
        {
            if (!line[0])
                continue;
            text = ConvertUtf8ToExtendedAscii(line, &converted);
            if (!text)
                continue;
        }
        size_t equals;
        if (IsConsideredLine(text, &equals))
        {
            set.emplace_back();
            EngLangTextC &entry = set.back();
            entry.SetToken(std::string(text, equals));
            SplitValue(text + equals + 1, entry);
        }
        if (converted)
            EngFree((void *)text, false, nullptr);
    }
    EngFree(line, false, nullptr);
    return true;
}

bool EngLangParseLanguage(int index, bool headerOnly)
{
    if (!headerOnly && s_lang.setupState != LANG_FINISHED)
    {
        DebugErrorCode(ENG_FUNC, EngFourCC("NSTP"));
        return false;
    }
    if (s_lang.paths.empty())
    {
        DebugErrorCode(ENG_FUNC, EngFourCC("NSTP"));
        return false;
    }
    if (!IsValidLanguage(index))
    {
        DebugErrorCode(ENG_FUNC, EngFourCC("IERR"));
        return false;
    }
    ActiveSet().clear();
    const std::string name = s_lang.languages[(size_t)index].GetNameInEnglish();
    for (const EngLangPathC &path : s_lang.paths)
    {
        if (!path.GetPath()[0] || name.empty())
            continue;
        std::string file = std::string(path.GetPath()) + "\\" + name + ".txt";
        if (!EngLangParseLanguageFile(file.c_str(), index, headerOnly))
            return false;
    }
    return true;
}

// ---- Set-up ------------------------------------------------------------------------

namespace
{

// Language files: 5 to 59 characters ending in ".txt" (letter case counts).
bool LanguageFileFilter(int acceptedSoFar, const char *name, const char *directory, void *userData)
{
    size_t length = strlen(name);
    return length >= 5 && length <= 59 && strcmp(name + length - 4, ".txt") == 0;
}

void AddLanguage(const char *nameInEnglish, int nameLength)
{
    EngLangInfoC language;
    language.SetNameInEnglishWithLen(nameInEnglish, nameLength);
    s_lang.languages.push_back(language);
}

} // namespace

void EngLanguagesFreeAll()
{
    s_lang.sets[0].clear();
    s_lang.sets[1].clear();
    s_lang.languages.clear();
    s_lang.paths.clear();
    s_lang.setupState = LANG_NOT_SETUP;
    s_lang.englishOnly = 0;
    s_lang.currentLanguage = -1;
    s_lang.activeSet = 0;
    s_lang.currentIsEnglish = 0;
}

bool EngLanguagesInit(const char *folder, const char *defaultName, bool englishOnly)
{
    if (s_lang.setupState != LANG_NOT_SETUP)
        DebugErrorCode(ENG_FUNC, EngFourCC("ALSU"));
    EngLanguagesFreeAll();
    s_lang.englishOnly = englishOnly ? 1 : 0;
    if (defaultName && !defaultName[0])
        defaultName = nullptr;

    if (!folder)
    {
        AddLanguage(kEnglish, (int)strlen(kEnglish));
        s_lang.currentLanguage = 0;
        EngLangCheckIfCurrentLangEnglish();
        s_lang.setupState = LANG_INITIALISED;
        return true;
    }
    if (!EngFileDirectoryExists(folder))
    {
        DebugError(ENG_FUNC, "Languages directory does not exists <%s>", folder);
        EngLanguagesFreeAll();
        return false;
    }
    {
        DirList dirList;
        if (!dirList.OpenDir(folder, LanguageFileFilter, nullptr, true))
        {
            DebugError(ENG_FUNC, "dir_list.OpenDir() failed");
            EngLanguagesFreeAll();
            return false;
        }
        if (!dirList.PrepareToGetFilenamesInDir())
        {
            dirList.CloseDir();
            EngLanguagesFreeAll();
            return false;
        }
        for (const char *name = dirList.GetNextFilenameInDir(); name && name[0]; name = dirList.GetNextFilenameInDir())
        {
            if (englishOnly && strcmp(name, "English.txt") != 0)
                continue;
            int nameLength = (int)strlen(name) - 4;
            AddLanguage(name, nameLength);
            const char *added = s_lang.languages.back().GetNameInEnglish();
            if ((!defaultName && strcasecmp(added, kEnglish) == 0) ||
                (defaultName && strcasecmp(added, defaultName) == 0))
                s_lang.currentLanguage = (int32_t)s_lang.languages.size() - 1;
        }
        dirList.CleanupAfterGettingFilenamesInDir();
        dirList.CloseDir();
    }
    if (s_lang.languages.empty())
    {
        DebugError(ENG_FUNC, "No language files found in directory <%s>", folder);
        EngLanguagesFreeAll();
        return false;
    }
    if (s_lang.currentLanguage < 0)
    {
        if (defaultName)
            DebugError(ENG_FUNC, "Could not find default language <%s> - using language 0 <%s>", defaultName,
                       s_lang.languages[0].GetNameInEnglish());
        else
            DebugError(ENG_FUNC, "Could not find default language - using language 0 <%s>",
                       s_lang.languages[0].GetNameInEnglish());
        s_lang.currentLanguage = 0;
    }
    if (!EngLanguagesAddTextsPath(folder))
    {
        EngLanguagesFreeAll();
        return false;
    }
    for (int i = 0; i < (int)s_lang.languages.size(); i++)
        if (!EngLangParseLanguage(i, true))
            DebugError(ENG_FUNC, "Failed to get language name <%s>", s_lang.languages[(size_t)i].GetNameInEnglish());
    EngLangCheckIfCurrentLangEnglish();
    s_lang.setupState = LANG_INITIALISED;
    return true;
}

bool EngLanguagesInitCommonTexts(const char *defaultName, bool englishOnly)
{
    return EngLanguagesInit(kTextsFolder, defaultName, englishOnly);
}

void EngLanguagesInitFinished()
{
    if (s_lang.setupState != LANG_INITIALISED)
    {
        DebugErrorCode(ENG_FUNC, EngFourCC("NSTP"));
        return;
    }
    s_lang.setupState = LANG_FINISHED;
    EngLangParseLanguage(s_lang.currentLanguage, false);
    if (EngLanguagesGetCurrentLanguageNumber() > 0)
        EngLangCheckTranslation();
}

bool EngLanguagesAddTextsPath(const char *folder)
{
    if (!folder)
    {
        DebugErrorCode(ENG_FUNC, EngFourCC("BAPA"));
        return false;
    }
    if (!EngFileDirectoryExists(folder))
    {
        DebugError(ENG_FUNC, "Languages directory does not exists <%s>", folder);
        return false;
    }
    for (const EngLangPathC &path : s_lang.paths)
    {
        if (strcmp(path.GetPath(), folder) == 0)
        {
            DebugError(ENG_FUNC, "Path already present <%s>", folder);
            return false;
        }
    }
    EngLangPathC path;
    path.SetPath(folder);
    s_lang.paths.push_back(path);
    if (s_lang.paths.empty())
    {
        DebugErrorCode(ENG_FUNC, EngFourCC("IERR"));
        return false;
    }
    return true;
}

bool EngLanguagesSetCurrentLanguage(int index)
{
    if (!IsValidLanguage(index))
    {
        DebugError(ENG_FUNC, "Bad lang num %d.", index);
        return false;
    }
    if (index == s_lang.currentLanguage)
        return true;
    s_lang.sets[0].clear();
    s_lang.currentLanguage = index;
    EngLangCheckIfCurrentLangEnglish();
    return EngLangParseLanguage(index, false);
}

bool EngLanguagesAreLoaded()
{
    return !s_lang.languages.empty();
}

int EngLanguagesGetNumLanguages()
{
    return (int)s_lang.languages.size();
}

const char *EngLanguagesGetLanguageNameNative(int index)
{
    return IsValidLanguage(index) ? s_lang.languages[(size_t)index].GetNameNative() : "";
}

const char *EngLanguagesGetLanguageFlagCountryCode(int index)
{
    return IsValidLanguage(index) ? s_lang.languages[(size_t)index].GetFlagCountryCode() : "";
}

const char *EngLanguagesGetCurrentLanguageName()
{
    return IsValidLanguage(s_lang.currentLanguage) ? s_lang.languages[(size_t)s_lang.currentLanguage].GetDisplayName()
                                                   : "";
}

const char *EngLanguagesGetCurrentFlagCountryCode()
{
    return EngLanguagesGetLanguageFlagCountryCode(s_lang.currentLanguage);
}

int EngLanguagesGetCurrentLanguageNumber()
{
    if (s_lang.languages.empty())
    {
        DebugErrorCode(ENG_FUNC, EngFourCC("NSTP"));
        return 0;
    }
    if (!IsValidLanguage(s_lang.currentLanguage))
    {
        DebugError(ENG_FUNC, "Bad cur lang %d.", s_lang.currentLanguage);
        s_lang.currentLanguage = 0;
        EngLangCheckIfCurrentLangEnglish();
        return 0;
    }
    return s_lang.currentLanguage;
}

bool EngLangCheckIfCurrentLangEnglish()
{
    if (s_lang.languages.empty())
    {
        s_lang.currentIsEnglish = 1;
        return true;
    }
    if (!IsValidLanguage(s_lang.currentLanguage))
    {
        DebugError(ENG_FUNC, "Bad cur lang value %d (%d)", s_lang.currentLanguage, (int)s_lang.languages.size());
        s_lang.currentLanguage = 0;
    }
    const EngLangInfoC &language = s_lang.languages[(size_t)s_lang.currentLanguage];
    s_lang.currentIsEnglish =
        strcmp(language.GetNameInEnglish(), kEnglish) == 0 && strcmp(language.GetNameNative(), kEnglish) == 0;
    return s_lang.currentIsEnglish != 0;
}

// ---- Look-ups ----------------------------------------------------------------------

int EngLanguagesGetTokenNumForToken(const char *token, int subTextNum, bool englishFallback)
{
    if (!token || !token[0])
    {
        DebugError(ENG_FUNC, "Invalid token name");
        return -1;
    }
    EngLangTextSet &set = ActiveSet();
    int found = FindTokenInSet(set, token);
    if (found >= 0)
    {
        if (subTextNum >= 0 && subTextNum < (int)set[(size_t)found].subTexts.size())
            return found;
        DebugError(ENG_FUNC, "Invalid sub text num %d for token <%s>", subTextNum, token);
        return -1;
    }
    if (!englishFallback)
        return -1;
    if (!s_lang.currentIsEnglish && s_lang.activeSet == 0 && s_lang.currentLanguage >= 1)
    {
        DebugNoteInFunction(DEBUG_NOTE_STANDARD, ENG_FUNC, "Token <%s:%d> not translated", token, subTextNum);
        if (s_lang.sets[1].empty())
        {
            DebugInfoInFunction(ENG_FUNC, "Loading english texts");
            int32_t current = s_lang.currentLanguage;
            s_lang.activeSet = 1;
            s_lang.currentLanguage = 0;
            EngLangParseLanguage(0, false);
            s_lang.currentLanguage = current;
            s_lang.activeSet = 0;
        }
        if (s_lang.sets[1].empty())
        {
            DebugError(ENG_FUNC, "No english texts.");
            return -1;
        }
        s_lang.activeSet = 1;
        int english = EngLanguagesGetTokenNumForToken(token, subTextNum, true);
        s_lang.activeSet = 0;
        if (english < 0)
            return -1;
        s_lang.sets[0].push_back(s_lang.sets[1][(size_t)english]);
        if (s_lang.sets[0].empty())
        {
            DebugErrorCode(ENG_FUNC, EngFourCC("IERR"));
            return 0;
        }
        return (int)s_lang.sets[0].size() - 1;
    }
    DebugError(ENG_FUNC, "Token not found [%s].", token);
    return -1;
}

int EngLanguagesFindToken(const char *token, bool englishFallback)
{
    return EngLanguagesGetTokenNumForToken(token, 0, englishFallback);
}

int EngLanguagesGetTokenNumAndNumSubTextsForToken(const char *token, int *numSubTexts)
{
    if (numSubTexts)
        *numSubTexts = 0;
    if (!token || !token[0])
    {
        DebugError(ENG_FUNC, "Invalid token");
        return -1;
    }
    EngLangTextSet &set = ActiveSet();
    int found = FindTokenInSet(set, token);
    if (found < 0)
    {
        DebugError(ENG_FUNC, "Could not find token [%s]", token);
        return -1;
    }
    if (numSubTexts)
        *numSubTexts = (int)set[(size_t)found].subTexts.size();
    return found;
}

bool EngLanguagesDoesTokenExist(const char *token)
{
    if (!EngLanguagesAreLoaded() || !token || !token[0])
        return false;
    return FindTokenInSet(ActiveSet(), token) >= 0;
}

const char *EngLanguagesGetString(int tokenNum, int subTextNum)
{
    EngLangTextSet &set = ActiveSet();
    if (tokenNum < 0 || tokenNum >= (int)set.size())
    {
        DebugError(ENG_FUNC, "Token <%d> does not exist", tokenNum);
        return "";
    }
    const EngLangTextC &text = set[(size_t)tokenNum];
    if (subTextNum < 0 || subTextNum >= (int)text.subTexts.size())
    {
        DebugError(ENG_FUNC, "Sub text num <%d> does not exist in token <%s>", subTextNum, text.GetToken().c_str());
        return "";
    }
    return TextOf(text, subTextNum);
}

const char *EngLanguagesGetStringForTokenNum(int tokenNum)
{
    return EngLanguagesGetString(tokenNum, 0);
}

const char *EngLanguagesGetString(const char *token, int subTextNum)
{
    int found = EngLanguagesGetTokenNumForToken(token, subTextNum, true);
    if (found < 0)
    {
        DebugError(ENG_FUNC, "Token <%s:%d> not found", EngStringOrNone(token), subTextNum);
        return "";
    }
    return TextOf(ActiveSet()[(size_t)found], subTextNum);
}

const char *EngLanguagesGetStringForToken(const char *token)
{
    return EngLanguagesGetString(token, 0);
}

const char *EngLanguagesGetStringOrDefault(const char *token, const char *defaultText)
{
    if (!EngLanguagesAreLoaded() || !token || !token[0])
        return defaultText;
    EngLangTextSet &set = ActiveSet();
    int found = FindTokenInSet(set, token);
    if (found < 0 || set[(size_t)found].subTexts.empty())
        return defaultText;
    return TextOf(set[(size_t)found], 0);
}

bool EngLanguagesSetStringFromTokenWith2Args(const char *token, const char *first, const char *second, char *out,
                                             int outSize)
{
    if (!token || !first || !out)
    {
        DebugErrorCode(ENG_FUNC, EngFourCC("BAPA"));
        return false;
    }
    const char *text = EngLanguagesGetStringForToken(token);
    if (!text[0])
        return false;
    int64_t textLength = (int64_t)strlen(text);
    int64_t firstLength = (int64_t)strlen(first);
    int64_t secondLength = second ? (int64_t)strlen(second) : 0;
    // Counted in 64 bits so that no length can wrap: the text with both arguments in
    // full and the terminator always fit.
    if (textLength + firstLength + secondLength >= (int64_t)outSize)
    {
        DebugError(ENG_FUNC, "Lengths not ok (%d > %d - %d - %d)", (int)textLength, outSize, (int)firstLength,
                   (int)secondLength);
        return false;
    }
    bool firstDone = false;
    bool secondDone = !second;
    size_t written = 0;
    for (const char *c = text; *c;)
    {
        if (c[0] == '%' && c[1] == '1' && !firstDone)
        {
            memcpy(out + written, first, (size_t)firstLength);
            written += (size_t)firstLength;
            firstDone = true;
            c += 2;
        }
        else if (c[0] == '%' && c[1] == '2' && !secondDone)
        {
            memcpy(out + written, second, (size_t)secondLength);
            written += (size_t)secondLength;
            secondDone = true;
            c += 2;
        }
        else
        {
            out[written++] = *c++;
        }
    }
    out[written] = 0;
    return true;
}

bool EngLanguagesSetStringFromTokenWith1Arg(const char *token, const char *first, char *out, int outSize)
{
    return EngLanguagesSetStringFromTokenWith2Args(token, first, nullptr, out, outSize);
}

bool EngLanguagesSetLangNameStringToEnglish(char *name, bool keepSetName, bool noteEmptyName)
{
    if (!name)
    {
        DebugErrorCode(ENG_FUNC, EngFourCC("BAPA"));
        return false;
    }
    if (name[0] && keepSetName)
        return false;
    if (!name[0] && noteEmptyName)
        DebugNoteInFunction(DEBUG_NOTE_STANDARD, ENG_FUNC, "String empty.");
    if (strcmp(name, kEnglish) == 0)
        return false;
    EngSafeStrcpy(name, kEnglish, LANG_NAME_FIELD_SIZE);
    return true;
}

char *EngLangChangeNewLinesToSlashNsInString(const char *text, bool quotesToApostrophes)
{
    if (!text)
    {
        DebugErrorCode(ENG_FUNC, EngFourCC("BAPA"));
        return nullptr;
    }
    std::string changed;
    for (const char *c = text; *c; c++)
    {
        if (*c == '\r')
            continue;
        if (*c == '\n')
            changed += "\\n";
        else if (*c == '"' && quotesToApostrophes)
            changed += '\'';
        else
            changed += *c;
    }
    char *copy = (char *)EngMalloc(changed.size() + 1, "EngLangChangeNewLinesToSlashNsInString", false);
    if (copy)
        memcpy(copy, changed.c_str(), changed.size() + 1);
    return copy;
}

// ---- Translation report ------------------------------------------------------------

namespace
{

std::string WithSlashNs(const std::string &text)
{
    char *changed = EngLangChangeNewLinesToSlashNsInString(text.c_str(), false);
    std::string result = changed ? changed : "";
    EngFree(changed, false, nullptr);
    return result;
}

// A report section: its header goes out before its first entry, two empty lines after
// the last.
class ReportSection
{
public:
    explicit ReportSection(const char *header) : header(header) {}
    ~ReportSection()
    {
        if (any)
        {
            DebugLine("%s", "");
            DebugLine("%s", "");
        }
    }
    void Line(const std::string &text)
    {
        if (!any)
            DebugLine("%s", header);
        any = true;
        DebugLine("%s", text.c_str());
    }

private:
    const char *header;
    bool any = false;
};

void ReportDuplicates(const EngLangTextSet &set, const char *header)
{
    ReportSection section(header);
    for (size_t i = 1; i < set.size(); i++)
    {
        const std::string &token = set[i].GetToken();
        if (token == "Language" || token == "FlagCountryCode")
            continue;
        for (size_t j = 0; j < i; j++)
            if (set[j].GetToken() == token)
                section.Line(token);
    }
}

const EngLangTextC *FindFirst(const EngLangTextSet &set, const std::string &token)
{
    for (const EngLangTextC &text : set)
        if (text.GetToken() == token)
            return &text;
    return nullptr;
}

std::string SubTextLine(const std::string &token, size_t index, const std::string &text)
{
    return "[" + token + ":" + std::to_string(index) + "]=" + text;
}

} // namespace

void EngLangCheckTranslation()
{
    DebugLine("%s", "");
    DebugLine("%s", "Checking translation...");
    DebugLine("%s", "");
    DebugLine("%s", "");
    if (!IsValidLanguage(s_lang.currentLanguage))
    {
        DebugError(ENG_FUNC, "Bad cur lang value %d (%d)", s_lang.currentLanguage, (int)s_lang.languages.size());
        return;
    }
    if (s_lang.currentIsEnglish)
    {
        DebugNoteInFunction(DEBUG_NOTE_STANDARD, ENG_FUNC, "Current language is English.");
        ReportDuplicates(ActiveSet(), "Duplicate texts in English file:");
        return;
    }

    EngLangTextSet translation;
    for (const EngLangTextC &text : ActiveSet())
    {
        EngLangTextC copy;
        copy.SetToken(text.GetToken());
        for (const EngLangSubTextC &subText : text.subTexts)
            if (!subText.GetText().empty())
                copy.subTexts.push_back(subText);
        translation.push_back(copy);
    }
    int remembered = s_lang.currentLanguage;
    EngLanguagesSetCurrentLanguage(0);
    if (!s_lang.currentIsEnglish)
    {
        DebugNoteInFunction(DEBUG_NOTE_STANDARD, ENG_FUNC, "Language 0 is not English.");
        EngLanguagesSetCurrentLanguage(remembered);
        return;
    }

    const EngLangTextSet &english = ActiveSet();
    {
        ReportSection section("Missing texts:");
        for (const EngLangTextC &text : english)
        {
            const std::string &token = text.GetToken();
            if (token.empty())
                continue;
            const EngLangTextC *translated = FindFirst(translation, token);
            size_t englishCount = text.subTexts.size();
            if (translated && !translated->subTexts.empty() && translated->subTexts[0].GetText()[0] != '^')
            {
                size_t translatedCount = translated->subTexts.size();
                if (englishCount > translatedCount)
                {
                    for (size_t i = translatedCount; i < englishCount; i++)
                        section.Line(SubTextLine(token, i, text.subTexts[i].GetText()));
                }
                else if (englishCount == translatedCount)
                {
                    for (size_t i = 0; i < englishCount; i++)
                    {
                        const std::string &sub = translated->subTexts[i].GetText();
                        if (sub.empty() || sub[0] == '^')
                            section.Line(SubTextLine(token, i, text.subTexts[i].GetText()));
                    }
                }
                continue;
            }
            std::string joined;
            for (size_t i = 0; i < englishCount; i++)
            {
                std::string candidate = joined + (i > 0 ? "#" : "") + WithSlashNs(text.subTexts[i].GetText());
                if (candidate.size() >= LANG_REPORT_LINE_LIMIT)
                    break;
                joined = candidate;
            }
            section.Line(token + "=" + joined);
        }
    }
    {
        ReportSection section("Texts that don't exist:");
        for (const EngLangTextC &text : translation)
        {
            const std::string &token = text.GetToken();
            const EngLangTextC *original = FindFirst(english, token);
            if (original)
            {
                for (size_t i = original->subTexts.size(); i < text.subTexts.size(); i++)
                    section.Line(SubTextLine(token, i, text.subTexts[i].GetText()));
            }
            else
            {
                section.Line(token + "=" + (text.subTexts.empty() ? "" : WithSlashNs(text.subTexts[0].GetText())));
            }
        }
    }
    ReportDuplicates(english, "Duplicate texts in English file:");
    ReportDuplicates(translation, "Duplicate texts in translated file:");
    EngLanguagesSetCurrentLanguage(remembered);
    DebugLine("%s", "Check complete.");
    DebugLine("%s", "");
}
