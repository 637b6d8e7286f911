#include "Updater.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <sys/stat.h>

#include "EngMisc.h"
#include "OnlineFixture.h"
#include "PlatDialogs.h"
#include "TestkitProgram.h"
#include "UpdaterReply.h"

namespace
{

const char kCheckPath[] = "/cgi-bin/common/updater/CheckVersionV2.cgi";
const char kPlinxQuery[] = "?platform=PC&program=Plinx&program_type=full&version=2.420";

// ---- The reply and the link, as text ----------------------------------------------------------

TEST(UpdaterReplyTest, RepliesAreJudgedAndTheLinkIsNeverShown)
{
    struct Row
    {
        const char *reply;
        bool ok;
        bool newVersion;
        const char *message;
        const char *link;
    } rows[] = {
        {"Your version is the latest one.", true, false, "Your version is the latest one.", ""},
        {"Plinx 2.42 is out of date.\nGet 2.50!#DL:<https://h.example/d/PlinxSetup.tar.gz>", true, true,
         "Plinx 2.42 is out of date.\nGet 2.50!", "https://h.example/d/PlinxSetup.tar.gz"},
        {"Newer: is out of date.", true, true, "Newer: is out of date.", ""},
        // Fewer than six characters after the marker: no link, still cut there.
        {"is out of date.#DL:<abc>", true, true, "is out of date.", ""},
        {"Text #DL:<https://h.example/noend", true, false, "Text ", "https://h.example/noend"},
        {" X 12 server error", false, false, "", ""},
        {"", false, false, "", ""},
    };
    for (const Row &row : rows)
    {
        SCOPED_TRACE(row.reply);
        _UpdaterReply reply;
        EXPECT_EQ(row.ok, UpdaterParseReply(row.reply, (uint32_t)strlen(row.reply), &reply));
        EXPECT_EQ(row.newVersion, reply.newVersion != 0);
        EXPECT_STREQ(row.message, reply.message);
        EXPECT_STREQ(row.link, reply.link);
    }
    // A link too long for its buffer is dropped, and neither it nor the marker is shown.
    std::string longReply = "is out of date.#DL:<https://h.example/" + std::string(300, 'a') + ">";
    _UpdaterReply reply;
    EXPECT_TRUE(UpdaterParseReply(longReply.data(), (uint32_t)longReply.size(), &reply));
    EXPECT_STREQ("", reply.link);
    EXPECT_STREQ("is out of date.", reply.message);
    // Bytes past the given size are never read; a zero byte ends the text.
    EXPECT_TRUE(UpdaterParseReply("Hello\0is out of date.", 21, &reply));
    EXPECT_STREQ("Hello", reply.message);
    EXPECT_FALSE(reply.newVersion);
}

TEST(UpdaterReplyTest, OnlySecureLinksToOnePlainFileName)
{
    struct Row
    {
        const char *link;
        const char *name; // NULL: refused
    } rows[] = {
        {"https://h.example/downloads/PlinxSetup-2.5.tar.gz", "PlinxSetup-2.5.tar.gz"},
        {"HTTPS://h.example/a+b_c.exe", "a+b_c.exe"},
        {"http://127.0.0.1:8080/x/Setup.bin", "Setup.bin"},
        {"http://h.example/Setup.bin", nullptr},
        {"ftp://h.example/Setup.bin", nullptr},
        {"file:///etc/passwd", nullptr},
        {"https://h.example/", nullptr},
        {"https://Setup.bin", nullptr},
        {"https://h.example/..", nullptr},
        {"https://h.example/.bashrc", nullptr},
        {"https://h.example/a%2F..%2Fb", nullptr},
        {"https://h.example/Setup.exe?x=1", nullptr},
        {"https://h.example/a\\..\\b", nullptr},
        {"https://h.example/Set up.exe", nullptr},
        {"https://h.example/\xe9t\xe9.exe", nullptr},
    };
    for (const Row &row : rows)
    {
        SCOPED_TRACE(row.link);
        char name[UPDATER_FILE_NAME_SIZE];
        EXPECT_EQ(row.name != nullptr, UpdaterGetDownloadFileName(row.link, name, sizeof(name)));
        EXPECT_STREQ(row.name ? row.name : "", name);
    }
    std::string longName = "https://h.example/" + std::string(UPDATER_FILE_NAME_SIZE, 'a');
    char name[UPDATER_FILE_NAME_SIZE];
    EXPECT_FALSE(UpdaterGetDownloadFileName(longName.c_str(), name, sizeof(name)));
}

// ---- Against the loopback server ------------------------------------------------------------------

// Presses the answer window's "Download" button, as a player would.
void PressDownload(PlatDialog *dialog, void *)
{
    char text[64];
    for (int id = 1; id < 16; id++)
        if (PlatDialogsGetText(dialog, id, text, sizeof(text)) && strcmp(text, "Download") == 0)
        {
            PlatDialogsSimulate(dialog, id, PLAT_DIALOG_CLICKED, 0);
            return;
        }
}

class UpdaterTest : public OnlineTest
{
protected:
    void SetUp() override
    {
        OnlineTest::SetUp();
        PlatDialogsForceHeadless(true);
        desktop = Home() + "/Desktop";
        mkdir(desktop.c_str(), 0700);
    }
    void TearDown() override
    {
        PlatDialogsSetScript(nullptr, nullptr);
        PlatDialogsForceHeadless(false);
        OnlineTest::TearDown();
    }
    std::string PartFile() const { return UserFolder() + "/Download.part"; }
    std::string InstallerUrl(const std::string &name) const { return server.BaseUrl() + "/downloads/" + name; }
    // The check replies with `reply`; the installer is `installer`.
    void Serve(const std::string &reply, const std::string &installer)
    {
        server.SetResponder([reply, installer](const testkit::HttpRequest &request) {
            if (request.target.rfind(kCheckPath, 0) == 0)
                return testkit::HttpReply::Ok(reply);
            return testkit::HttpReply::Ok(installer);
        });
    }
    bool BoxShown(const std::string &title) const
    {
        for (const testkit::MessageBoxCall &call : boxes->calls)
            if (call.title == title)
                return true;
        return false;
    }

    std::string desktop;
};

TEST_F(UpdaterTest, TheCheckAsksWithTheProgramAndShowsTheAnswer)
{
    // The same version: nothing more happens.
    Serve("Your version of Plinx is the latest.", "");
    EXPECT_FALSE(UpdaterCheckForNewVersion(UPDATER_PROGRAM_PLINX, 2.42f, UPDATER_PROGRAM_TYPE_FULL));
    ASSERT_EQ(1u, server.RequestCount());
    EXPECT_EQ(std::string(kCheckPath) + kPlinxQuery, server.Requests()[0].target);

    // An error reply and a malformed one fail the check.
    Serve(" X 3", "");
    EXPECT_FALSE(UpdaterCheckForNewVersion(UPDATER_PROGRAM_PLINX, 2.42f, UPDATER_PROGRAM_TYPE_FULL));
    EXPECT_STREQ("Error returned from the URL", UpdaterGetLastError());
    EXPECT_FALSE(UpdaterCheckForNewVersion(16, 2.42f, UPDATER_PROGRAM_TYPE_FULL));
    EXPECT_EQ(2u, server.RequestCount());
}

TEST_F(UpdaterTest, ANewerVersionIsDownloadedOnlyWhenThePlayerSaysSo)
{
    std::string installer(200 * 1024, 'i');
    installer[0] = 'P';
    Serve("Plinx 2.42 is out of date.#DL:<" + InstallerUrl("PlinxSetup.tar.gz") + ">", installer);

    // Nobody answers: the window closes without a download.
    EXPECT_FALSE(UpdaterCheckForNewVersion(UPDATER_PROGRAM_PLINX, 2.42f, UPDATER_PROGRAM_TYPE_FULL));
    EXPECT_EQ(1u, server.RequestCount());
    EXPECT_FALSE(testkit::FileExists(desktop + "/PlinxSetup.tar.gz"));

    // "Download": the installer arrives on the desktop under its own name.
    PlatDialogsSetScript(PressDownload, nullptr);
    EXPECT_TRUE(UpdaterCheckForNewVersion(UPDATER_PROGRAM_PLINX, 2.42f, UPDATER_PROGRAM_TYPE_FULL));
    EXPECT_EQ(installer, testkit::ReadFile(desktop + "/PlinxSetup.tar.gz"));
    EXPECT_FALSE(testkit::FileExists(PartFile()));
    EXPECT_TRUE(BoxShown("Download Complete"));

    // Again: the first file stays, the new one is "Latest_"; a third never replaces either.
    testkit::WriteFile(desktop + "/PlinxSetup.tar.gz", "the player's own");
    EXPECT_TRUE(UpdaterStartDownload(nullptr));
    EXPECT_EQ("the player's own", testkit::ReadFile(desktop + "/PlinxSetup.tar.gz"));
    EXPECT_EQ(installer, testkit::ReadFile(desktop + "/Latest_PlinxSetup.tar.gz"));
    testkit::WriteFile(desktop + "/Latest_PlinxSetup.tar.gz", "kept too");
    EXPECT_TRUE(UpdaterStartDownload(nullptr));
    EXPECT_EQ("kept too", testkit::ReadFile(desktop + "/Latest_PlinxSetup.tar.gz"));
    EXPECT_EQ(installer, testkit::ReadFile(desktop + "/Latest_2_PlinxSetup.tar.gz"));
}

TEST_F(UpdaterTest, AFailedDownloadLeavesNothingBehind)
{
    std::string installer(200 * 1024, 'i');
    std::string link = InstallerUrl("Setup.bin");
    struct Row
    {
        const char *what;
        testkit::HttpReply reply;
    } rows[] = {
        {"connection cut mid-body", testkit::HttpReply::Cut(installer, 100 * 1024)},
        {"not found", testkit::HttpReply::Status(404, installer)},
        {"error page", testkit::HttpReply::Ok(std::string(2046, 'e'))},
    };
    for (const Row &row : rows)
    {
        SCOPED_TRACE(row.what);
        server.Queue(row.reply);
        boxes->calls.clear();
        EXPECT_FALSE(UpdaterStartDownload(link.c_str()));
        EXPECT_FALSE(testkit::FileExists(PartFile()));
        EXPECT_FALSE(testkit::FileExists(desktop + "/Setup.bin"));
        EXPECT_TRUE(BoxShown("Error"));
    }
    // A link that is not secure is never fetched.
    size_t before = server.RequestCount();
    EXPECT_FALSE(UpdaterStartDownload("http://www.example.com/Setup.bin"));
    EXPECT_FALSE(UpdaterStartDownload("https://www.example.com/../Setup.bin"));
    EXPECT_EQ(before, server.RequestCount());

    // 2,047 bytes are enough; they go to the desktop of the user's folder settings.
    std::string xdgDesktop = Home() + "/Schreibtisch";
    mkdir(xdgDesktop.c_str(), 0700);
    mkdir((Home() + "/.config").c_str(), 0700);
    testkit::WriteFile(Home() + "/.config/user-dirs.dirs", "XDG_DESKTOP_DIR=\"$HOME/Schreibtisch\"\n");
    server.Queue(testkit::HttpReply::Ok(std::string(2047, 's')));
    EXPECT_TRUE(UpdaterStartDownload(link.c_str()));
    EXPECT_EQ(xdgDesktop + "/Setup.bin", UpdaterGetDownloadedPath());
    EXPECT_EQ(2047u, testkit::ReadFile(xdgDesktop + "/Setup.bin").size());
}

TEST_F(UpdaterTest, WithoutADesktopFolderTheDownloadGoesHome)
{
    rmdir(desktop.c_str());
    server.Queue(testkit::HttpReply::Ok(std::string(4096, 'h')));
    EXPECT_TRUE(UpdaterStartDownload(InstallerUrl("Setup.bin").c_str()));
    EXPECT_EQ(Home() + "/Setup.bin", UpdaterGetDownloadedPath());
}

TEST_F(UpdaterTest, TheWeeklyCheckRunsOnceAWeekAndCostsOneTryWithoutANetwork)
{
    Serve("Your version of Plinx is the latest.", "");
    _EngMiscDate today;
    EngMiscGetCurrentDate(&today);
    _EngMiscDate sixDays = today;
    for (int day = 0; day < 6; day++)
        EngMiscGetPreviousDay(&sixDays);
    _EngMiscDate sevenDays = sixDays;
    EngMiscGetPreviousDay(&sevenDays);

    _EngMiscDate date = sixDays;
    EXPECT_FALSE(UpdaterCheckForNewVersionWeekly(&date, UPDATER_PROGRAM_PLINX, 2.42f, 0));
    EXPECT_EQ(0, memcmp(&sixDays, &date, sizeof(date)));
    EXPECT_EQ(0u, server.RequestCount());
    EXPECT_FALSE(UpdaterCheckForNewVersionWeekly(nullptr, UPDATER_PROGRAM_PLINX, 2.42f, 0));

    date = sevenDays;
    EXPECT_FALSE(UpdaterCheckForNewVersionWeekly(&date, UPDATER_PROGRAM_PLINX, 2.42f, 0));
    EXPECT_EQ(1u, server.RequestCount());
    EXPECT_EQ(0, memcmp(&today, &date, sizeof(date)));

    // No server: the check fails once, the date still moves on, so the next start is free.
    OnlineSetBaseAddress("http://127.0.0.1:1");
    _EngMiscDate never = {};
    EXPECT_FALSE(UpdaterCheckForNewVersionWeekly(&never, UPDATER_PROGRAM_PLINX, 2.42f, 0));
    EXPECT_EQ(0, memcmp(&today, &never, sizeof(never)));
    EXPECT_FALSE(UpdaterCheckForNewVersionWeekly(&never, UPDATER_PROGRAM_PLINX, 2.42f, 0));
}

TEST_F(UpdaterTest, TheInternetTestReadsTheBareScript)
{
    char text[256];
    EXPECT_TRUE(UpdaterTestInternetConnection(text, 200));
    EXPECT_STREQ("Internet Test Ok", text);
    ASSERT_EQ(1u, server.RequestCount());
    EXPECT_EQ(kCheckPath, server.Requests()[0].target);

    server.Queue(testkit::HttpReply::Status(500, "down"));
    EXPECT_FALSE(UpdaterTestInternetConnection(text, 10));
    EXPECT_STREQ("Could not", text);
}

TEST_F(UpdaterTest, TheCatalogueDownloadsAtOnceWithoutAProgram)
{
    server.Queue(testkit::HttpReply::Ok(std::string(3000, 'm')));
    EXPECT_TRUE(UpdaterDownloadOtherProgram(UPDATER_PROGRAM_MARBLE_TIDE, InstallerUrl("MarbleTideSetup.tar.gz").c_str()));
    EXPECT_TRUE(testkit::FileExists(desktop + "/MarbleTideSetup.tar.gz"));
    EXPECT_NE(std::string::npos, std::string(UpdaterGetUrl()).find("program=MarbleTide&program_type=full&version=0.000"));
    EXPECT_FALSE(UpdaterDownloadOtherProgram(16, InstallerUrl("X.bin").c_str()));
    EXPECT_FALSE(UpdaterDownloadOtherProgram(UPDATER_PROGRAM_MARBLE_TIDE, "http://www.example.com/X.bin"));
}

// With the game running, the catalogue's download waits until the game has ended.
class UpdaterCatalogueTest : public testkit::ProgramTest
{
protected:
    void SetUp() override
    {
        ProgramTest::SetUp();
        PlatInetSetLoopbackOnly(true);
        PlatDialogsForceHeadless(true);
        PrefFolderSetup("Plinx", false, nullptr, false);
        OnlineSetBaseAddress(server.BaseUrl().c_str());
        mkdir((Home() + "/Desktop").c_str(), 0700);
    }
    void TearDown() override
    {
        OnlineSetBaseAddress(nullptr);
        PrefFolderShutdown();
        PlatDialogsForceHeadless(false);
        ProgramTest::TearDown();
    }
    testkit::LoopbackHttpServer server;
};

TEST_F(UpdaterCatalogueTest, TheGameEndsBeforeTheDownloadStarts)
{
    testkit::RecordingProgram program;
    server.Queue(testkit::HttpReply::Ok(std::string(3000, 'c')));
    std::string link = server.BaseUrl() + "/downloads/CardIslesSetup.tar.gz";
    EXPECT_TRUE(UpdaterDownloadOtherProgram(UPDATER_PROGRAM_CARD_ISLES, link.c_str()));
    EXPECT_TRUE(program.IsQuitting());
    EXPECT_EQ(server.RequestCount(), 0u) << "not while the game runs";
    program.Shutdown(true);
    EXPECT_EQ(server.RequestCount(), 1u);
    EXPECT_TRUE(testkit::FileExists(Home() + "/Desktop/CardIslesSetup.tar.gz"));
}

} // namespace
