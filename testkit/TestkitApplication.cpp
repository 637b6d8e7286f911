// The application functions the engine calls by name, for test executables without a
// program of their own. Weak: a test that defines them itself wins.
#include "EngMain.h"
#include "EngWindow.h"

namespace
{
_EngCreateWindowParms s_testWindowParms = {};
}

__attribute__((weak)) const char *MainGetProgramTitle()
{
    return "Plinx!";
}

__attribute__((weak)) const char *MainGetWindowClassName()
{
    return "PlinxClass";
}

__attribute__((weak)) _EngCreateWindowParms *MainGetWindowSettings()
{
    return &s_testWindowParms;
}
