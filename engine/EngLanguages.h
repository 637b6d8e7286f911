// Language texts: one plain-text file per language in a texts folder, KEY=VALUE lines
// whose values split at single '#' into sub-texts. Every interface text is looked up by
// its token; a translation falls back to the English texts, and callers pass the English
// text as the default so that the program works without any language file.
#pragma once
#include <cstdint>
#include <deque>
#include <string>
#include <vector>

// ---- Records ------------------------------------------------------------------------

// One language: the file name without ".txt", the native name and flag country code
// from the file's header, and the name shown for it.
class EngLangInfoC
{
public:
    void SetNameInEnglish(const char *name);
    void SetNameInEnglishWithLen(const char *name, int length);
    void SetNameNative(const char *name);
    void SetFlagCountryCode(const char *code);
    const char *GetNameInEnglish() const { return nameInEnglish.c_str(); }
    const char *GetNameNative() const { return nameNative.c_str(); }
    const char *GetDisplayName() const { return displayName.c_str(); }
    const char *GetFlagCountryCode() const { return flagCountryCode.c_str(); }

private:
    std::string nameInEnglish;
    std::string nameNative;
    std::string displayName;
    std::string flagCountryCode;
};

class EngLangPathC
{
public:
    void SetPath(const char *path);
    const char *GetPath() const { return path.c_str(); }

private:
    std::string path;
};

class EngLangSubTextC
{
public:
    void SetText(const char *text);
    void SetText(const std::string &text) { this->text = text; }
    const std::string &GetText() const { return text; }

private:
    std::string text;
};

class EngLangTextC
{
public:
    void SetToken(const char *token);
    void SetToken(const std::string &token) { this->token = token; }
    const std::string &GetToken() const { return token; }
    std::vector<EngLangSubTextC> subTexts;

private:
    std::string token;
};

// ---- Set-up and languages -----------------------------------------------------------

// Lists the language files of folder (NULL: English only, without files) and reads their
// headers; the language named defaultName (ignoring case; English when NULL or empty)
// becomes current. englishOnly takes the file "English.txt" alone.
bool EngLanguagesInit(const char *folder, const char *defaultName, bool englishOnly);
// EngLanguagesInit with the folder "Data\Common\CommonTexts".
bool EngLanguagesInitCommonTexts(const char *defaultName, bool englishOnly);
// Reads the current language's texts; writes the translation report to the log when the
// current language is not language 0.
void EngLanguagesInitFinished();
void EngLanguagesFreeAll();
bool EngLanguagesAddTextsPath(const char *folder);
bool EngLanguagesSetCurrentLanguage(int index);
bool EngLanguagesAreLoaded();
int EngLanguagesGetNumLanguages();
const char *EngLanguagesGetLanguageNameNative(int index);
const char *EngLanguagesGetLanguageFlagCountryCode(int index);
const char *EngLanguagesGetCurrentLanguageName();
const char *EngLanguagesGetCurrentFlagCountryCode();
int EngLanguagesGetCurrentLanguageNumber();
bool EngLangCheckIfCurrentLangEnglish();

// ---- Look-ups -----------------------------------------------------------------------
// Returned texts belong to the module and stay valid until the language is switched, the
// texts are read again or the module is freed.

// The token's number in the active text set, or -1. With englishFallback a token missing
// from a translation is taken from the English texts (and kept for later look-ups).
int EngLanguagesGetTokenNumForToken(const char *token, int subTextNum, bool englishFallback);
int EngLanguagesFindToken(const char *token, bool englishFallback);
int EngLanguagesGetTokenNumAndNumSubTextsForToken(const char *token, int *numSubTexts);
bool EngLanguagesDoesTokenExist(const char *token);
const char *EngLanguagesGetString(int tokenNum, int subTextNum);
const char *EngLanguagesGetStringForTokenNum(int tokenNum);
const char *EngLanguagesGetString(const char *token, int subTextNum);
const char *EngLanguagesGetStringForToken(const char *token);
// Sub-text 0 of the token, or defaultText when no language is loaded or the token is
// missing; never logs.
const char *EngLanguagesGetStringOrDefault(const char *token, const char *defaultText);
// The token's text with its first "%1" replaced by first and (when second is given) its
// first "%2" by second, into out of outSize bytes.
bool EngLanguagesSetStringFromTokenWith2Args(const char *token, const char *first, const char *second, char *out,
                                             int outSize);
bool EngLanguagesSetStringFromTokenWith1Arg(const char *token, const char *first, char *out, int outSize);
// Writes "English" into a 64-character language-name field; true when it changed it.
bool EngLanguagesSetLangNameStringToEnglish(char *name, bool keepSetName, bool noteEmptyName);
// A new EngMalloc copy with CR dropped, LF written as backslash-n and, when asked, '"' as
// '\''. The caller frees it with EngFree.
char *EngLangChangeNewLinesToSlashNsInString(const char *text, bool quotesToApostrophes);

// ---- Internal steps, open to tests --------------------------------------------------

bool EngLangParseLanguage(int index, bool headerOnly);
bool EngLangParseLanguageFile(const char *path, int index, bool headerOnly);
void EngLangCheckTranslation();
// Two-byte UTF-8 forms of U+00A1-U+00FF (but U+00AD) become their single byte; other
// high bytes are dropped. Returns line itself (*converted false) when nothing matched,
// otherwise a new EngMalloc string (*converted true) the caller frees.
char *ConvertUtf8ToExtendedAscii(const char *line, bool *converted);
