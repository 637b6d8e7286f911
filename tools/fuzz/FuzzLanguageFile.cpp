// Fuzz target: the language-file reader. The first byte picks how the bytes are used
// (as the English file alone, or as a translation beside a small English file); the rest
// is the file. Every look-up must answer a text, never crash.
#include <unistd.h>

#include <cstdint>
#include <cstdlib>
#include <string>

#include "EngDebug.h"
#include "EngLanguages.h"
#include "FuzzKit.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    static const std::string &folder = fuzzkit::Home();
    if (size < 1)
        return 0;
    uint8_t mode = data[0];
    data++;
    size--;
    std::string english = folder + "/English.txt";
    std::string other = folder + "/Fuzz.txt";
    unlink(other.c_str());
    if (mode & 1)
    {
        static const char englishText[] = "Language=English\nFlagCountryCode=UK\nA=Apple#Apples\nB=%1 of %2\n"
                                          "C=Cherry\nA=Again\n";
        fuzzkit::WriteBytes(english, (const uint8_t *)englishText, sizeof(englishText) - 1);
        fuzzkit::WriteBytes(other, data, size);
    }
    else
    {
        fuzzkit::WriteBytes(english, data, size);
    }
    if (EngLanguagesInit(folder.c_str(), (mode & 1) ? "Fuzz" : nullptr, (mode & 2) != 0))
    {
        EngLanguagesInitFinished();
        const char *tokens[] = {"A", "B", "C", "Language", "FlagCountryCode", "Missing", ""};
        for (const char *token : tokens)
        {
            if (!EngLanguagesGetStringOrDefault(token, "d") || !EngLanguagesGetString(token, 1) ||
                !EngLanguagesGetStringForToken(token))
                abort();
            char out[64];
            EngLanguagesSetStringFromTokenWith2Args(token, "first", "second", out, sizeof(out));
            int count = 0;
            int number = EngLanguagesGetTokenNumAndNumSubTextsForToken(token, &count);
            for (int i = 0; number >= 0 && i < count; i++)
                if (!EngLanguagesGetString(number, i))
                    abort();
        }
        for (int i = 0; i < EngLanguagesGetNumLanguages(); i++)
            EngLanguagesSetCurrentLanguage(i);
        EngLangCheckTranslation();
    }
    EngLanguagesFreeAll();
    DebugClearMessages();
    return 0;
}
