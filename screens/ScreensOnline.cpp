// The screens' way to the browser service and the local help page's address.
#include "ScreensOnline.h"

#include <cstring>
#include <unistd.h>

#include "EngDebug.h"
#include "Resolution.h"
#include "Various.h"

namespace
{

ScreensPageOpenerFn s_opener = nullptr;

bool IsUnreserved(unsigned char c)
{
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || strchr("-._~", c);
}

} // namespace

void ScreensSetPageOpener(ScreensPageOpenerFn opener)
{
    s_opener = opener;
}

void ScreensGoOnline(MWin *mwin, const char *question, const char *url, bool askFullScreen, bool askWindowed,
                     bool exitFirstFullScreen, bool exitFirstWindowed)
{
    if (!url || !url[0])
    {
        DebugError(ENG_FUNC, "No url");
        return;
    }
    ScreensPageOpenerFn opener = s_opener ? s_opener : VariousGoOnline;
    opener(mwin, question, url, askFullScreen, askWindowed, exitFirstFullScreen, exitFirstWindowed);
}

bool ScreensOpenMakerPage(MWin *mwin, int page)
{
    const ResolutionSetupValues *values = ResolutionGetSetupValues();
    const char *url = values && values->linkProvider ? values->linkProvider(page) : nullptr;
    if (!url || !url[0])
    {
        DebugError(ENG_FUNC, "No web page %d", page);
        return false;
    }
    ScreensGoOnline(mwin, nullptr, url, false, false, true, false);
    return true;
}

bool ScreensMakeFileUrl(const char *folder, const char *relativePath, char *out, size_t size)
{
    if (!out || size == 0)
        return false;
    out[0] = 0;
    if (!folder || !folder[0] || !relativePath)
    {
        DebugError(ENG_FUNC, "No folder");
        return false;
    }
    static const char kHex[] = "0123456789ABCDEF";
    size_t length = 0;
    auto put = [&](char c) {
        if (length + 1 >= size)
            return false;
        out[length++] = c;
        return true;
    };
    bool fits = true;
    for (const char *p = "file://"; *p && fits; p++)
        fits = put(*p);
    // The folder is absolute ("/home/..."), so the address reads file:///home/...
    for (int part = 0; part < 2 && fits; part++)
    {
        const char *text = part == 0 ? folder : relativePath;
        if (part == 1)
            fits = put('/');
        for (const unsigned char *p = (const unsigned char *)text; *p && fits; p++)
        {
            if (IsUnreserved(*p) || *p == '/')
                fits = put((char)*p);
            else
                fits = put('%') && put(kHex[*p >> 4]) && put(kHex[*p & 15]);
        }
    }
    if (!fits)
    {
        out[0] = 0;
        DebugError(ENG_FUNC, "Address too long for <%s>", relativePath);
        return false;
    }
    out[length] = 0;
    return true;
}

bool ScreensGetPuzzleHelpUrl(char *out, size_t size)
{
    char folder[1024];
    if (!getcwd(folder, sizeof(folder)))
    {
        if (out && size)
            out[0] = 0;
        DebugError(ENG_FUNC, "Could not get the current folder");
        return false;
    }
    size_t limit = size < SCREENS_MAX_URL_LENGTH + 1 ? size : SCREENS_MAX_URL_LENGTH + 1;
    return ScreensMakeFileUrl(folder, "Data/Help/CreatePuzzles.html", out, limit);
}
