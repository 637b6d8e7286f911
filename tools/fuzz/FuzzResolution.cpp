// Fuzz target: the reader of the start-up settings ("Resolution.dat", stored whole) on any
// bytes. Settings it accepts must be written by the game and read back the same.
#include <cstdlib>
#include <cstring>

#include "EngPrefFolder.h"
#include "FuzzKit.h"
#include "Resolution.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    static const std::string path = [] {
        fuzzkit::Home();
        // The desktop is the fixed one of a machine without a display.
        unsetenv("DISPLAY");
        unsetenv("WAYLAND_DISPLAY");
        PrefFolderSetup("Plinx", false, nullptr, false);
        ResolutionSetup(2, 0, 2.42f, 2.2f, nullptr, false, true, true, false, false, nullptr, 0, 0);
        return std::string(ResolutionGetFilePath());
    }();
    fuzzkit::ClearLog();
    fuzzkit::WriteBytes(path, data, size);
    if (!ResolutionLoadSettings())
        return 0;
    ResolutionSettings read = *ResolutionGetSettings();
    // The save stamps the running program's version; everything else stays as read.
    read.programVersion = ResolutionGetSetupValues()->programVersion;
    fuzzkit::Check(ResolutionSaveSettings(), "accepted settings could not be written");
    fuzzkit::Check(ResolutionLoadSettings(), "written settings are refused");
    fuzzkit::CheckSame(&read, ResolutionGetSettings(), sizeof(read), "written settings read back different");
    return 0;
}
