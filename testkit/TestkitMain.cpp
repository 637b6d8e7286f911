// The test programs' main: GoogleTest's, with the log pointed into a temporary folder of
// the run first, so that a report made outside a fixture's temporary home never lands in
// the working folder (the build tree, or the checkout a test runs from). The online
// services point at a closed port of this machine unless a test names its own server, so
// no test (nor a game it starts) ever reaches beyond it.
#include <gtest/gtest.h>

#include <cstdlib>

#include "EngDebug.h"
#include "Testkit.h"

int main(int argc, char **argv)
{
    ::testing::InitGoogleTest(&argc, argv);
    setenv("PLINX_ONLINE_BASE_URL", "http://127.0.0.1:9/plinx", 0);
    testkit::TempDir runFolder;
    DebugSetLogFilename(runFolder.File("ErrorLog.txt").c_str(), true);
    return RUN_ALL_TESTS();
}
