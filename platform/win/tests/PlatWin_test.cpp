#include "PlatWin.h"
#include "PlatWinInternal.h"

#include <SDL.h>
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

TEST(PlatWinKeys, VirtualKeysFromSdl)
{
    struct Row
    {
        int32_t keycode;
        int32_t scancode;
        int32_t virtualKey;
    } rows[] = {
        {SDLK_a, SDL_SCANCODE_A, 'A'},
        // A French keyboard's A key sits where a US keyboard has Q: the code follows the layout.
        {SDLK_a, SDL_SCANCODE_Q, 'A'},
        {SDLK_7, SDL_SCANCODE_7, '7'},
        {SDLK_F1, SDL_SCANCODE_F1, 0x70},
        {SDLK_F12, SDL_SCANCODE_F12, 0x7B},
        {SDLK_F13, SDL_SCANCODE_F13, 0x7C},
        {SDLK_LSHIFT, SDL_SCANCODE_LSHIFT, 16},
        {SDLK_RSHIFT, SDL_SCANCODE_RSHIFT, 16},
        {SDLK_RCTRL, SDL_SCANCODE_RCTRL, 17},
        {SDLK_LALT, SDL_SCANCODE_LALT, 18},
        {SDLK_RALT, SDL_SCANCODE_RALT, 18},
        {SDLK_LEFT, SDL_SCANCODE_LEFT, 0x25},
        {SDLK_DOWN, SDL_SCANCODE_DOWN, 0x28},
        {SDLK_HOME, SDL_SCANCODE_HOME, 0x24},
        {SDLK_END, SDL_SCANCODE_END, 0x23},
        {SDLK_PAGEUP, SDL_SCANCODE_PAGEUP, 0x21},
        {SDLK_PAGEDOWN, SDL_SCANCODE_PAGEDOWN, 0x22},
        {SDLK_INSERT, SDL_SCANCODE_INSERT, 0x2D},
        {SDLK_DELETE, SDL_SCANCODE_DELETE, 0x2E},
        {SDLK_KP_0, SDL_SCANCODE_KP_0, 0x60},
        {SDLK_KP_9, SDL_SCANCODE_KP_9, 0x69},
        {SDLK_KP_PLUS, SDL_SCANCODE_KP_PLUS, 0x6B},
        {SDLK_KP_ENTER, SDL_SCANCODE_KP_ENTER, 0x0D},
        {SDLK_RETURN, SDL_SCANCODE_RETURN, 0x0D},
        {SDLK_ESCAPE, SDL_SCANCODE_ESCAPE, 0x1B},
        {SDLK_BACKSPACE, SDL_SCANCODE_BACKSPACE, 0x08},
        {SDLK_SPACE, SDL_SCANCODE_SPACE, 0x20},
        {SDLK_SEMICOLON, SDL_SCANCODE_SEMICOLON, 0xBA},
        {SDLK_MINUS, SDL_SCANCODE_MINUS, 0xBD},
        {SDLK_SLASH, SDL_SCANCODE_SLASH, 0xBF},
        {SDLK_QUOTE, SDL_SCANCODE_APOSTROPHE, 0xDE},
        // A letter key that types a non-ASCII character keeps the code of its US position.
        {0xE9, SDL_SCANCODE_2, '2'},
        {0, SDL_SCANCODE_NONUSBACKSLASH, 0xE2},
        {0, SDL_SCANCODE_UNKNOWN, 0},
    };
    for (const Row &row : rows)
    {
        SCOPED_TRACE(row.scancode);
        EXPECT_EQ(PlatWinVirtualKeyFromSdl(row.keycode, row.scancode), row.virtualKey);
    }
}

TEST(PlatWinKeys, Windows1252FromUnicode)
{
    struct Row
    {
        uint32_t codePoint;
        int32_t character;
    } rows[] = {
        {'A', 'A'},    {0xE9, 0xE9},   {0xFF, 0xFF},   {0x20AC, 0x80}, {0x2019, 0x92},
        {0x0178, 0x9F}, {0x0152, 0x8C}, {0x85, 0},     {0x9D, 0},      {0x65E5, 0},
    };
    for (const Row &row : rows)
    {
        SCOPED_TRACE(row.codePoint);
        EXPECT_EQ(PlatWinCp1252FromCodePoint(row.codePoint), row.character);
    }

    char utf8[16];
    PlatWinUtf8FromCp1252("\x80\xE9\x81z", utf8, sizeof(utf8));
    // The code page's unused 0x81 becomes '?'.
    EXPECT_STREQ(utf8, "\xE2\x82\xAC\xC3\xA9?z");
    // A character that does not fit whole is left out, never cut.
    PlatWinUtf8FromCp1252("a\x80", utf8, 4);
    EXPECT_STREQ(utf8, "a");
}

TEST(PlatWinKeys, Windows1252FromUtf8)
{
    struct Row
    {
        const char *utf8;
        int32_t size;
        const char *cp1252;
    } rows[] = {
        {"\xE2\x82\xAC \xC3\xA9t\xC3\xA9", 16, "\x80 \xE9t\xE9"}, // euro sign, e acute
        {"\xE6\x97\xA5x", 16, "?x"},                        // no such character: one "?"
        {"\xFFy", 16, "?y"},                                  // malformed: one "?"
        {"a\r\nb\rc", 16, "a\nb\rc"},                       // Windows line ends become one
        {"abcdef", 4, "abc"},                                 // cut to size - 1
        {"", 4, ""},
    };
    for (const Row &row : rows)
    {
        SCOPED_TRACE(row.utf8);
        char out[16];
        PlatWinCp1252FromUtf8(row.utf8, out, row.size);
        EXPECT_STREQ(out, row.cp1252);
    }
}

TEST(PlatWinCursor, DisplayCountFollowsWindowsRules)
{
    int32_t start = PlatWinShowCursor(true) - 1;
    EXPECT_EQ(PlatWinShowCursor(false), start);
    EXPECT_EQ(PlatWinShowCursor(false), start - 1);
    EXPECT_EQ(PlatWinShowCursor(false), start - 2);
    EXPECT_EQ(PlatWinShowCursor(true), start - 1);
    EXPECT_EQ(PlatWinShowCursor(true), start);
}

TEST(PlatWinMessageBoxDeathTest, WithoutDisplayPrintsAndAnswersTheDefault)
{
    // With no window system in use the box goes to stderr; a Yes/No box answers No.
    EXPECT_EXIT(exit(PlatWinMessageBox("Error Running Program", "Do you wish?", PLAT_MB_YES_NO, PLAT_MB_ICON_ERROR)),
                testing::ExitedWithCode(PLAT_MB_RESULT_NO), "\\[Error Running Program\\] Do you wish\\?");
    EXPECT_EXIT(exit(PlatWinMessageBox("T", "Fine", PLAT_MB_OK, PLAT_MB_ICON_NONE)),
                testing::ExitedWithCode(PLAT_MB_RESULT_OK), "\\[T\\] Fine");
}

TEST(PlatWinVideoDeathTest, NoDisplayMeansNoVideo)
{
    // SDL would fall back to a driver that draws nowhere; without a display the program
    // must learn that it has none.
    EXPECT_EXIT(
        {
            unsetenv("DISPLAY");
            unsetenv("WAYLAND_DISPLAY");
            unsetenv("SDL_VIDEODRIVER");
            int up = PlatWinInitVideo();
            fprintf(stderr, "%s\n", PlatWinGetErrorText());
            exit(up);
        },
        testing::ExitedWithCode(0), "No display");
}

// Video has one owner: holders count up and down, and only the last release stops SDL
// video; the program's connection is one more holder. Runs alone: it starts from no video.
// Answers 3 when the holders and the listing behave, 4 otherwise (run in a child).
static int CheckVideoHolders()
{
    setenv("SDL_VIDEODRIVER", "dummy", 1);
    bool ok = PlatWinAcquireVideo() == 1 && PlatWinAcquireVideo() == 1 && !PlatWinIsVideoUp();
    PlatWinReleaseVideo();
    ok = ok && SDL_WasInit(SDL_INIT_VIDEO) != 0;
    PlatWinReleaseVideo();
    ok = ok && SDL_WasInit(SDL_INIT_VIDEO) == 0;
    // A release too many is ignored.
    PlatWinReleaseVideo();
    ok = ok && PlatWinInitVideo() == 1 && PlatWinIsVideoUp() && PlatWinAcquireVideo() == 1;
    PlatWinReleaseVideo();
    ok = ok && SDL_WasInit(SDL_INIT_VIDEO) != 0;
    // The one display listing: the desktop mode is among the display's modes.
    PlatDisplayMode desktop = {};
    ok = ok && PlatWinGetDisplayCount() >= 1 && PlatWinGetDesktopDisplayMode(0, &desktop) &&
         desktop.layout == PLAT_PIXELS_X8R8G8B8 && desktop.depth == 32;
    bool listed = false;
    for (int32_t i = 0; i < PlatWinGetDisplayModeCount(0); i++)
    {
        PlatDisplayMode mode = {};
        listed = listed || (PlatWinGetDisplayMode(0, i, &mode) && mode.width == desktop.width &&
                            mode.height == desktop.height);
    }
    return ok && listed ? 3 : 4;
}

// Video has one owner: holders count up and down, and only the last release stops SDL
// video; the program's connection is one more holder. Runs alone: it starts from no video.
TEST(PlatWinVideoDeathTest, HoldersShareOneStartOfVideo)
{
    EXPECT_EXIT(exit(CheckVideoHolders()), testing::ExitedWithCode(3), "");
}

// A window on SDL's display-less driver: the queue, the procedure and the close rules.
class PlatWinWindowTest : public testing::Test
{
protected:
    static void SetUpTestSuite()
    {
        setenv("SDL_VIDEODRIVER", "dummy", 1);
        ASSERT_EQ(PlatWinInitVideo(), 1) << PlatWinGetErrorText();
    }

    void SetUp() override
    {
        PlatWindowParms parms = {"Test", -1, -1, 320, 240, false, true, Proc, this};
        window = PlatWinCreateWindow(&parms);
        ASSERT_NE(window, nullptr) << PlatWinGetErrorText();
        Drain();
        seen.clear();
    }

    void TearDown() override
    {
        PlatWinDestroyWindow(window);
        Drain();
    }

    static int32_t Proc(PlatWindow *window, const PlatMessage *message, void *user)
    {
        auto *test = (PlatWinWindowTest *)user;
        test->seen.push_back(message->message);
        if (message->message == PLAT_WM_CLOSE)
            return PlatWinDefWindowProc(message);
        return 0;
    }

    void Feed(const SDL_Event &event) { PlatWinFeedSdlEvent(&event); }

    SDL_Event WindowEvent(uint8_t kind)
    {
        SDL_Event event = {};
        event.type = SDL_WINDOWEVENT;
        event.window.windowID = PlatWinGetWindowId(window);
        event.window.event = kind;
        return event;
    }

    // Dispatches everything queued; answers the messages that had no window.
    std::vector<int32_t> Drain()
    {
        std::vector<int32_t> windowless;
        PlatMessage message;
        while (PlatWinPeekMessage(&message, true))
        {
            if (!message.window)
                windowless.push_back(message.message);
            PlatWinDispatchMessage(&message);
        }
        return windowless;
    }

    PlatWindow *window = nullptr;
    std::vector<int32_t> seen;
};

TEST_F(PlatWinWindowTest, CloseDestroysOnceAndLaterMessagesAreDropped)
{
    Feed(WindowEvent(SDL_WINDOWEVENT_CLOSE));
    Feed(WindowEvent(SDL_WINDOWEVENT_EXPOSED));
    Drain();
    EXPECT_EQ(seen, (std::vector<int32_t>{PLAT_WM_CLOSE, PLAT_WM_DESTROY}));
    Feed(WindowEvent(SDL_WINDOWEVENT_FOCUS_LOST));
    Drain();
    EXPECT_EQ(seen.size(), 2u);
}

TEST_F(PlatWinWindowTest, DestroyByTheProgramSendsNothing)
{
    Feed(WindowEvent(SDL_WINDOWEVENT_EXPOSED));
    PlatWinDestroyWindow(window);
    std::vector<int32_t> windowless = Drain();
    EXPECT_TRUE(seen.empty());
    EXPECT_TRUE(windowless.empty());
    // A new window in its place (as a full-screen toggle makes) gets only its own messages.
    PlatWindowParms parms = {"Again", -1, -1, 320, 240, false, true, Proc, this};
    window = PlatWinCreateWindow(&parms);
    ASSERT_NE(window, nullptr);
    Drain();
    seen.clear();
    Feed(WindowEvent(SDL_WINDOWEVENT_FOCUS_GAINED));
    Drain();
    EXPECT_EQ(seen, (std::vector<int32_t>{PLAT_WM_ACTIVATE}));
}

TEST_F(PlatWinWindowTest, QuitMessageHasNoWindow)
{
    PlatWinPostQuitMessage(3);
    PlatMessage message;
    ASSERT_TRUE(PlatWinPeekMessage(&message, false));
    EXPECT_EQ(message.message, PLAT_WM_QUIT);
    EXPECT_EQ(message.wParam, 3);
    EXPECT_EQ(Drain(), (std::vector<int32_t>{PLAT_WM_QUIT}));
}

// The frame loop sleeps in this wait: an event reaching SDL's queue ends it as a message.
TEST_F(PlatWinWindowTest, WaitingEndsWithAQueuedMessage)
{
    EXPECT_FALSE(PlatWinWaitMessage(1));
    SDL_Event focus = WindowEvent(SDL_WINDOWEVENT_FOCUS_GAINED);
    ASSERT_EQ(SDL_PushEvent(&focus), 1);
    EXPECT_TRUE(PlatWinWaitMessage(10000));
    Drain();
    EXPECT_EQ(seen, (std::vector<int32_t>{PLAT_WM_ACTIVATE}));
    PlatWinPostQuitMessage(0);
    EXPECT_TRUE(PlatWinWaitMessage(10000));
    Drain();
}

// Posted input takes the event translation; a record it cannot deliver is refused whole.
TEST_F(PlatWinWindowTest, PostedInputIsTranslatedOrRefused)
{
    PlatInputEvent key = {};
    key.kind = PLAT_INPUT_KEY_DOWN;
    key.window = window;
    key.key = PLAT_VK_F1 + 3;
    key.modifiers = PLAT_MOD_ALT;
    PlatInputEvent refused[4] = {key, key, key, key};
    refused[0].window = nullptr;
    refused[1].key = 0xFF; // no key has it
    refused[2].kind = PLAT_INPUT_BUTTON_DOWN;
    refused[2].button = 3;
    refused[3].kind = 99;
    for (const PlatInputEvent &input : refused)
        EXPECT_FALSE(PlatWinPostInput(&input));
    EXPECT_FALSE(PlatWinPostInput(nullptr));
    Drain();
    EXPECT_TRUE(seen.empty());
    // A key held with Alt is a system key.
    ASSERT_TRUE(PlatWinPostInput(&key));
    PlatMessage message;
    ASSERT_TRUE(PlatWinPeekMessage(&message, true));
    EXPECT_EQ(message.message, PLAT_WM_SYSKEYDOWN);
    EXPECT_EQ(message.wParam, PLAT_VK_F1 + 3);
}

TEST_F(PlatWinWindowTest, MouseLeaveOncePerRequest)
{
    Feed(WindowEvent(SDL_WINDOWEVENT_LEAVE));
    PlatWinTrackMouseLeave(window);
    Feed(WindowEvent(SDL_WINDOWEVENT_LEAVE));
    Feed(WindowEvent(SDL_WINDOWEVENT_LEAVE));
    Drain();
    EXPECT_EQ(seen, (std::vector<int32_t>{PLAT_WM_MOUSELEAVE}));
}

TEST_F(PlatWinWindowTest, AltF4AsksToClose)
{
    SDL_Event event = {};
    event.type = SDL_KEYDOWN;
    event.key.windowID = PlatWinGetWindowId(window);
    event.key.keysym.sym = SDLK_F4;
    event.key.keysym.scancode = SDL_SCANCODE_F4;
    event.key.keysym.mod = KMOD_LALT;
    Feed(event);
    PlatMessage message;
    ASSERT_TRUE(PlatWinPeekMessage(&message, true));
    EXPECT_EQ(message.message, PLAT_WM_SYSKEYDOWN);
    PlatWinDefWindowProc(&message);
    EXPECT_EQ(seen, (std::vector<int32_t>{PLAT_WM_CLOSE, PLAT_WM_DESTROY}));
}

TEST_F(PlatWinWindowTest, ClipboardCarriesWindows1252TextsAsUtf8)
{
    ASSERT_TRUE(PlatWinSetClipboardText("Caf\xE9 \x80 5"));
    char *utf8 = SDL_GetClipboardText();
    EXPECT_STREQ(utf8, "Caf\xC3\xA9 \xE2\x82\xAC 5");
    SDL_free(utf8);

    char small[5];
    ASSERT_TRUE(PlatWinGetClipboardText(small, sizeof(small)));
    EXPECT_STREQ(small, "Caf\xE9");

    // Nothing to copy is refused and leaves the clipboard alone.
    EXPECT_FALSE(PlatWinSetClipboardText(""));
    EXPECT_FALSE(PlatWinSetClipboardText(nullptr));
    char whole[32];
    ASSERT_TRUE(PlatWinGetClipboardText(whole, sizeof(whole)));
    EXPECT_STREQ(whole, "Caf\xE9 \x80 5");
}
