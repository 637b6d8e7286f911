// Opening a web page through the shell stand-in: xdg-open started directly with the
// address as its one argument, never through a shell.
#include "PlatShell.h"
#include "Various.h"

#include "EngDebug.h"

bool VariousOpenWithShell_PC(const char *url)
{
    if (!PlatShellOpen(url))
    {
        DebugError(ENG_FUNC, "Could not open <%s>: %s", url, PlatShellGetErrorText());
        return false;
    }
    return true;
}
