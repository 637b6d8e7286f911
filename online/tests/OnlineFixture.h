// The online tests' fixture: a temporary per-user folder and log, a loopback HTTP server
// as the online base address, and the internet stand-in kept to 127.0.0.1.
#pragma once
#include <string>

#include "EngDebug.h"
#include "EngPrefFolder.h"
#include "PlatInet.h"
#include "ScoresMain.h"
#include "Testkit.h"
#include "TestkitHttp.h"

class OnlineTest : public testkit::TempHomeTest
{
protected:
    void SetUp() override
    {
        TempHomeTest::SetUp();
        PlatInetSetLoopbackOnly(true);
        PrefFolderSetup("Plinx", false, nullptr, false);
        ASSERT_TRUE(server.Running());
        OnlineSetBaseAddress(server.BaseUrl().c_str());
    }
    void TearDown() override
    {
        OnlineSetBaseAddress(nullptr);
        PrefFolderShutdown();
        TempHomeTest::TearDown();
    }
    std::string Url(const std::string &path) const { return server.BaseUrl() + path; }
    int LogCount() const { return DebugGetNumMessages(); }

    testkit::LoopbackHttpServer server;
};
