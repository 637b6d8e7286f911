// SDL events fed into platform/win reach the program as the engine's input events.
#include <SDL.h>
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "EngMain.h"
#include "EngProgram.h"
#include "EngWindow.h"
#include "PlatWin.h"
#include "TestkitProgram.h"

using testkit::InputEvent;
using testkit::RecordingProgram;

namespace
{

int32_t FloatBits(float value)
{
    int32_t bits;
    memcpy(&bits, &value, sizeof(bits));
    return bits;
}

class EngWindowInputTest : public testkit::ProgramTest
{
protected:
    void SetUp() override
    {
        ProgramTest::SetUp();
        program = new RecordingProgram();
        ASSERT_EQ(program->Init(nullptr, ""), 1);
        _EngCreateWindowParms parms;
        EngWindowSetDefaultParms(&parms);
        parms.width = 640;
        parms.height = 480;
        ASSERT_EQ(program->CreateMainWindow("Input", "PlinxClass", &parms), 1);
        window = program->GetMainWindow();
        windowId = PlatWinGetWindowId(window->GetOSWindow());
        PlatWinSetDoubleClickTime(500);
        Pump();
        program->inputs.clear();
        memset(EngKeyStates, 0, sizeof(EngKeyStates));
    }

    void TearDown() override
    {
        delete program;
        ProgramTest::TearDown();
    }

    // Dispatches every queued message, one per window service as the main loop does.
    void Pump()
    {
        PlatMessage message;
        while (PlatWinPeekMessage(&message, false))
            window->Service();
    }

    std::vector<InputEvent> Run(const std::vector<SDL_Event> &events)
    {
        program->inputs.clear();
        for (const SDL_Event &event : events)
            PlatWinFeedSdlEvent(&event);
        Pump();
        return program->inputs;
    }

    SDL_Event Key(bool down, SDL_Keycode sym, SDL_Scancode scancode, uint16_t mod = 0, bool repeat = false)
    {
        SDL_Event event = {};
        event.type = down ? SDL_KEYDOWN : SDL_KEYUP;
        event.key.windowID = windowId;
        event.key.state = down ? SDL_PRESSED : SDL_RELEASED;
        event.key.repeat = repeat ? 1 : 0;
        event.key.keysym.sym = sym;
        event.key.keysym.scancode = scancode;
        event.key.keysym.mod = mod;
        return event;
    }

    SDL_Event Text(const char *utf8)
    {
        SDL_Event event = {};
        event.type = SDL_TEXTINPUT;
        event.text.windowID = windowId;
        strncpy(event.text.text, utf8, sizeof(event.text.text) - 1);
        return event;
    }

    SDL_Event Motion(int x, int y)
    {
        SDL_Event event = {};
        event.type = SDL_MOUSEMOTION;
        event.motion.windowID = windowId;
        event.motion.x = x;
        event.motion.y = y;
        return event;
    }

    SDL_Event Button(bool down, uint8_t button, uint32_t time, int x = 10, int y = 10)
    {
        SDL_Event event = {};
        event.type = down ? SDL_MOUSEBUTTONDOWN : SDL_MOUSEBUTTONUP;
        event.button.windowID = windowId;
        event.button.timestamp = time;
        event.button.button = button;
        event.button.state = down ? SDL_PRESSED : SDL_RELEASED;
        event.button.x = x;
        event.button.y = y;
        return event;
    }

    SDL_Event Wheel(int notches, bool flipped = false)
    {
        SDL_Event event = {};
        event.type = SDL_MOUSEWHEEL;
        event.wheel.windowID = windowId;
        event.wheel.y = notches;
        event.wheel.direction = flipped ? SDL_MOUSEWHEEL_FLIPPED : SDL_MOUSEWHEEL_NORMAL;
        return event;
    }

    RecordingProgram *program = nullptr;
    EngWindow *window = nullptr;
    uint32_t windowId = 0;
};

TEST_F(EngWindowInputTest, SdlEventsBecomeEngineEvents)
{
    const int down = ENG_INPUT_KEY_DOWN, up = ENG_INPUT_KEY_UP, chr = ENG_INPUT_CHARACTER;
    const int button = ENG_INPUT_BUTTON, dbl = ENG_INPUT_DOUBLE_CLICK, wheel = ENG_INPUT_WHEEL;
    struct Row
    {
        const char *name;
        std::vector<SDL_Event> events;
        std::vector<InputEvent> expected;
    } rows[] = {
        {"letter", {Key(true, SDLK_a, SDL_SCANCODE_A), Text("a"), Key(false, SDLK_a, SDL_SCANCODE_A)},
         {{down, 'A', 0}, {chr, 'a', 0}, {up, 'A', 0}}},
        {"Windows-1252 letters", {Text("\xC3\xA9\xE2\x82\xAC\xC5\xB8")}, {{chr, 0xE9, 0}, {chr, 0x80, 0}, {chr, 0x9F, 0}}},
        {"character without a code", {Text("\xE6\x97\xA5z")}, {{chr, 'z', 0}}},
        {"backspace", {Key(true, SDLK_BACKSPACE, SDL_SCANCODE_BACKSPACE)}, {{down, 8, 0}, {chr, 8, 0}}},
        {"tab", {Key(true, SDLK_TAB, SDL_SCANCODE_TAB)}, {{down, 9, 0}, {chr, 9, 0}}},
        {"enter", {Key(true, SDLK_RETURN, SDL_SCANCODE_RETURN)}, {{down, 13, 0}, {chr, 13, 0}}},
        {"keypad enter", {Key(true, SDLK_KP_ENTER, SDL_SCANCODE_KP_ENTER)}, {{down, 13, 0}, {chr, 13, 0}}},
        {"escape", {Key(true, SDLK_ESCAPE, SDL_SCANCODE_ESCAPE)}, {{down, 27, 0}, {chr, 27, 0}}},
        {"paste", {Key(true, SDLK_LCTRL, SDL_SCANCODE_LCTRL, KMOD_LCTRL), Key(true, SDLK_v, SDL_SCANCODE_V, KMOD_LCTRL)},
         {{down, 17, 0}, {down, 'V', 0}, {chr, 22, 0}}},
        {"copy", {Key(true, SDLK_c, SDL_SCANCODE_C, KMOD_RCTRL)}, {{down, 'C', 0}, {chr, 3, 0}}},
        {"ctrl+a", {Key(true, SDLK_a, SDL_SCANCODE_A, KMOD_LCTRL)}, {{down, 'A', 0}, {chr, 1, 0}}},
        {"auto-repeat", {Key(true, SDLK_x, SDL_SCANCODE_X, 0, true)}, {{down, 'X', 0}}},
        {"keys without characters",
         {Key(true, SDLK_F5, SDL_SCANCODE_F5), Key(true, SDLK_LEFT, SDL_SCANCODE_LEFT),
          Key(true, SDLK_HOME, SDL_SCANCODE_HOME), Key(true, SDLK_PAGEDOWN, SDL_SCANCODE_PAGEDOWN),
          Key(true, SDLK_DELETE, SDL_SCANCODE_DELETE), Key(true, SDLK_KP_7, SDL_SCANCODE_KP_7),
          Key(true, SDLK_LSHIFT, SDL_SCANCODE_LSHIFT, KMOD_LSHIFT), Key(true, SDLK_PERIOD, SDL_SCANCODE_PERIOD)},
         {{down, 0x74, 0}, {down, 0x25, 0}, {down, 0x24, 0}, {down, 0x22, 0}, {down, 0x2E, 0}, {down, 0x67, 0},
          {down, 16, 0}, {down, 0xBE, 0}}},
        // Alt, F10 and keys held with Alt are system keys: no key or character events.
        {"alt and a letter",
         {Key(true, SDLK_LALT, SDL_SCANCODE_LALT, KMOD_LALT), Key(true, SDLK_x, SDL_SCANCODE_X, KMOD_LALT), Text("x"),
          Key(false, SDLK_x, SDL_SCANCODE_X, KMOD_LALT), Key(false, SDLK_LALT, SDL_SCANCODE_LALT)},
         {}},
        {"F10", {Key(true, SDLK_F10, SDL_SCANCODE_F10), Key(false, SDLK_F10, SDL_SCANCODE_F10)}, {}},
        // AltGr is Ctrl+Alt: its key and its text arrive as usual.
        {"altgr", {Key(true, SDLK_q, SDL_SCANCODE_Q, KMOD_LCTRL | KMOD_RALT), Text("@")}, {{down, 'Q', 0}, {chr, '@', 0}}},
        {"motion is coalesced", {Motion(1, 2), Motion(3, 4), Motion(30, 40)},
         {{ENG_INPUT_MOUSE_MOVE, FloatBits(30), FloatBits(40)}}},
        {"motion around a press",
         {Motion(1, 2), Motion(5, 6), Button(true, SDL_BUTTON_LEFT, 100), Motion(7, 8), Motion(9, 10)},
         {{ENG_INPUT_MOUSE_MOVE, FloatBits(5), FloatBits(6)}, {button, 0, 1},
          {ENG_INPUT_MOUSE_MOVE, FloatBits(9), FloatBits(10)}}},
        {"left click", {Button(false, SDL_BUTTON_LEFT, 1000), Button(true, SDL_BUTTON_LEFT, 2000), Button(false, SDL_BUTTON_LEFT, 2050)},
         {{button, 0, 0}, {button, 0, 1}, {button, 0, 0}}},
        // The second press within the double-click time is a double click; the release
        // that follows it at once belongs to it; the press after starts afresh.
        {"double click",
         {Button(true, SDL_BUTTON_LEFT, 5000), Button(false, SDL_BUTTON_LEFT, 5050), Button(true, SDL_BUTTON_LEFT, 5200),
          Button(false, SDL_BUTTON_LEFT, 5250), Button(true, SDL_BUTTON_LEFT, 5400)},
         {{button, 0, 1}, {button, 0, 0}, {dbl, 0, 0}, {button, 0, 1}}},
        {"second press too late",
         {Button(true, SDL_BUTTON_LEFT, 9000), Button(false, SDL_BUTTON_LEFT, 9050), Button(true, SDL_BUTTON_LEFT, 9600)},
         {{button, 0, 1}, {button, 0, 0}, {button, 0, 1}}},
        {"second press too far",
         {Button(true, SDL_BUTTON_LEFT, 12000, 10, 10), Button(false, SDL_BUTTON_LEFT, 12050, 10, 10),
          Button(true, SDL_BUTTON_LEFT, 12100, 20, 10)},
         {{button, 0, 1}, {button, 0, 0}, {button, 0, 1}}},
        {"right and middle",
         {Button(true, SDL_BUTTON_RIGHT, 15000), Button(false, SDL_BUTTON_RIGHT, 15010),
          Button(true, SDL_BUTTON_MIDDLE, 15020), Button(false, SDL_BUTTON_MIDDLE, 15030)},
         {{button, 1, 1}, {button, 1, 0}, {button, 2, 1}, {button, 2, 0}}},
        {"wheel in notches of three lines", {Wheel(1), Wheel(-2), Wheel(1, true)},
         {{wheel, 3, 2}, {wheel, -6, 2}, {wheel, -3, 2}}},
    };
    for (const Row &row : rows)
    {
        SCOPED_TRACE(row.name);
        std::vector<InputEvent> got = Run(row.events);
        ASSERT_EQ(got.size(), row.expected.size());
        for (size_t i = 0; i < got.size(); i++)
        {
            SCOPED_TRACE(i);
            EXPECT_EQ(got[i].event, row.expected[i].event);
            EXPECT_EQ(got[i].a, row.expected[i].a);
            EXPECT_EQ(got[i].b, row.expected[i].b);
        }
    }
}

TEST_F(EngWindowInputTest, KeyStatesFollowKeysAndButtons)
{
    Run({Key(true, SDLK_SPACE, SDL_SCANCODE_SPACE), Key(true, SDLK_LALT, SDL_SCANCODE_LALT, KMOD_LALT),
         Button(true, SDL_BUTTON_LEFT, 100), Button(true, SDL_BUTTON_RIGHT, 110)});
    EXPECT_EQ(EngKeyStates[ENG_VK_SPACE], 2);
    EXPECT_EQ(EngKeyStates[ENG_VK_MENU], 2);
    EXPECT_EQ(EngKeyStates[ENG_VK_LBUTTON], 2);
    EXPECT_EQ(EngKeyStates[ENG_VK_RBUTTON], 2);
    Run({Key(false, SDLK_SPACE, SDL_SCANCODE_SPACE), Key(false, SDLK_LALT, SDL_SCANCODE_LALT),
         Button(false, SDL_BUTTON_LEFT, 120), Button(false, SDL_BUTTON_RIGHT, 130)});
    EXPECT_EQ(EngKeyStates[ENG_VK_SPACE], 0);
    EXPECT_EQ(EngKeyStates[ENG_VK_MENU], 0);
    EXPECT_EQ(EngKeyStates[ENG_VK_LBUTTON], 0);
    EXPECT_EQ(EngKeyStates[ENG_VK_RBUTTON], 0);
}

TEST_F(EngWindowInputTest, DiscardingPendingInputKeepsReleasesAndWindowMessages)
{
    for (const SDL_Event &event :
         {Key(true, SDLK_a, SDL_SCANCODE_A), Text("a"), Button(true, SDL_BUTTON_LEFT, 100), Wheel(1),
          Key(false, SDLK_a, SDL_SCANCODE_A), Button(false, SDL_BUTTON_LEFT, 900), Motion(3, 4)})
        PlatWinFeedSdlEvent(&event);
    program->inputs.clear();
    EXPECT_FALSE(EngProgramDiscardPendingInput());
    std::vector<InputEvent> expected = {
        {ENG_INPUT_KEY_UP, 'A', 0}, {ENG_INPUT_BUTTON, 0, 0}, {ENG_INPUT_MOUSE_MOVE, FloatBits(3), FloatBits(4)}};
    EXPECT_EQ(program->inputs, expected);
}

TEST_F(EngWindowInputTest, CloseEndsTheLoopWithoutInput)
{
    SDL_Event close = {};
    close.type = SDL_WINDOWEVENT;
    close.window.windowID = windowId;
    close.window.event = SDL_WINDOWEVENT_CLOSE;
    Run({close});
    EXPECT_TRUE(program->IsQuitting());
    EXPECT_TRUE(LogHas("Exiting."));
}

} // namespace

namespace
{

TEST_F(EngWindowInputTest, WindowStateMessagesReachTheProgram)
{
    auto windowEvent = [&](uint8_t kind) {
        SDL_Event event = {};
        event.type = SDL_WINDOWEVENT;
        event.window.windowID = windowId;
        event.window.event = kind;
        return event;
    };
    struct Row
    {
        const char *name;
        uint8_t kind;
        std::vector<std::string> calls;
        bool minimised;
    } rows[] = {
        {"minimised", SDL_WINDOWEVENT_MINIMIZED, {"ActivationChangedCB", "MinimisedChangedCB"}, true},
        {"restored", SDL_WINDOWEVENT_RESTORED, {"ActivationChangedCB", "MinimisedChangedCB"}, false},
        {"focus lost", SDL_WINDOWEVENT_FOCUS_LOST, {"ActivationChangedCB"}, false},
        {"focus lost again", SDL_WINDOWEVENT_FOCUS_LOST, {}, false},
        {"focus gained", SDL_WINDOWEVENT_FOCUS_GAINED, {"ActivationChangedCB"}, false},
    };
    for (const Row &row : rows)
    {
        SCOPED_TRACE(row.name);
        program->calls.clear();
        Run({windowEvent(row.kind)});
        EXPECT_EQ(program->calls, row.calls);
        EXPECT_EQ(window->IsMinimised(), row.minimised);
    }

    // A new client size (the player resized the window) is published, then announced.
    SDL_SetWindowSize((SDL_Window *)PlatWinGetNativeWindow(window->GetOSWindow()), 800, 500);
    program->calls.clear();
    Run({windowEvent(SDL_WINDOWEVENT_SIZE_CHANGED)});
    EXPECT_EQ(EngScreenSettings.width, 800);
    EXPECT_EQ(EngScreenSettings.height, 500);
    EXPECT_FLOAT_EQ(EngScreenSettings.scaleToScreenX, 1.25f);
    EXPECT_EQ(program->calls, (std::vector<std::string>{"AfterGraphicsObjectsCreatedCB"}));
    // The same size again changes nothing.
    program->calls.clear();
    Run({windowEvent(SDL_WINDOWEVENT_SIZE_CHANGED)});
    EXPECT_TRUE(program->calls.empty());
}

TEST_F(EngWindowInputTest, TextureCursorTakesTheSystemCursorsPlace)
{
    EXPECT_FALSE(window->SetupTextureCursor_PC("", 2, 2, 14, 20, true, nullptr, 0));
    EXPECT_FALSE(window->SetupTextureCursor_PC(std::string(256, 'x').c_str(), 2, 2, 14, 20, true, nullptr, 0));
    EXPECT_TRUE(LogHas("Invalid Filename"));
    EXPECT_FALSE(window->textureCursor.on);

    // The display count after one more raise tells whether the system cursor shows.
    auto systemCursorShown = [] {
        int32_t count = PlatWinShowCursor(true) - 1;
        PlatWinShowCursor(false);
        return count >= 0;
    };
    ASSERT_TRUE(window->SetupTextureCursor_PC("Data/Cursor.tga", 2, 2, 14, 20, true, nullptr, 0));
    EXPECT_TRUE(window->textureCursor.on);
    EXPECT_EQ(window->textureCursor.size[1], 20);
    EXPECT_FALSE(systemCursorShown());
    window->ShowMouseCursor();
    EXPECT_TRUE(window->textureCursor.visible);
    EXPECT_FALSE(systemCursorShown());
    // Outside the window only the system cursor can show.
    window->TextureCursorLeavingWindowCB_PC(true);
    EXPECT_TRUE(systemCursorShown());
    window->TextureCursorLeavingWindowCB_PC(false);
    EXPECT_FALSE(systemCursorShown());
    window->HideMouseCursor();
    EXPECT_FALSE(window->textureCursor.visible);
    EXPECT_FALSE(systemCursorShown());
    while (PlatWinShowCursor(true) < 0)
    {
    }
}

} // namespace
