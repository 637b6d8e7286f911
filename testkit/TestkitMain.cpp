// The test programs' main: GoogleTest's, with the log pointed into a temporary folder of
// the run first, so that a report made outside a fixture's temporary home never lands in
// the working folder (the build tree, or the checkout a test runs from).
#include <gtest/gtest.h>

#include "EngDebug.h"
#include "Testkit.h"

int main(int argc, char **argv)
{
    ::testing::InitGoogleTest(&argc, argv);
    testkit::TempDir runFolder;
    DebugSetLogFilename(runFolder.File("ErrorLog.txt").c_str(), true);
    return RUN_ALL_TESTS();
}
