// Input posted to platform/win as the window system delivers it reaches the program as
// the engine's input events.
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

    std::vector<InputEvent> Run(const std::vector<PlatInputEvent> &events)
    {
        program->inputs.clear();
        for (const PlatInputEvent &event : events)
            EXPECT_TRUE(PlatWinPostInput(&event));
        Pump();
        return program->inputs;
    }

    PlatInputEvent Input(int32_t kind)
    {
        PlatInputEvent event = {};
        event.kind = kind;
        event.window = window->GetOSWindow();
        return event;
    }

    PlatInputEvent Key(bool down, int32_t virtualKey, int32_t modifiers = 0, bool repeat = false)
    {
        PlatInputEvent event = Input(down ? PLAT_INPUT_KEY_DOWN : PLAT_INPUT_KEY_UP);
        event.key = virtualKey;
        event.modifiers = modifiers;
        event.repeat = repeat;
        return event;
    }

    PlatInputEvent Text(const char *utf8)
    {
        PlatInputEvent event = Input(PLAT_INPUT_TEXT);
        strncpy(event.text, utf8, sizeof(event.text) - 1);
        return event;
    }

    PlatInputEvent Motion(int x, int y)
    {
        PlatInputEvent event = Input(PLAT_INPUT_MOUSE_MOVE);
        event.x = x;
        event.y = y;
        return event;
    }

    // Buttons: 0 left, 1 right, 2 middle.
    PlatInputEvent Button(bool down, int32_t button, uint32_t time, int x = 10, int y = 10)
    {
        PlatInputEvent event = Input(down ? PLAT_INPUT_BUTTON_DOWN : PLAT_INPUT_BUTTON_UP);
        event.button = button;
        event.time = time;
        event.x = x;
        event.y = y;
        return event;
    }

    PlatInputEvent Wheel(int notches, bool flipped = false)
    {
        PlatInputEvent event = Input(PLAT_INPUT_WHEEL);
        event.y = notches;
        event.flipped = flipped;
        return event;
    }

    PlatInputEvent Change(int32_t change, int32_t width = 0, int32_t height = 0)
    {
        PlatInputEvent event = Input(PLAT_INPUT_WINDOW);
        event.change = change;
        event.x = width;
        event.y = height;
        return event;
    }

    RecordingProgram *program = nullptr;
    EngWindow *window = nullptr;
};

TEST_F(EngWindowInputTest, SdlEventsBecomeEngineEvents)
{
    const int down = ENG_INPUT_KEY_DOWN, up = ENG_INPUT_KEY_UP, chr = ENG_INPUT_CHARACTER;
    const int button = ENG_INPUT_BUTTON, dbl = ENG_INPUT_DOUBLE_CLICK, wheel = ENG_INPUT_WHEEL;
    struct Row
    {
        const char *name;
        std::vector<PlatInputEvent> events;
        std::vector<InputEvent> expected;
    } rows[] = {
        {"letter", {Key(true, 'A'), Text("a"), Key(false, 'A')}, {{down, 'A', 0}, {chr, 'a', 0}, {up, 'A', 0}}},
        {"Windows-1252 letters", {Text("\xC3\xA9\xE2\x82\xAC\xC5\xB8")}, {{chr, 0xE9, 0}, {chr, 0x80, 0}, {chr, 0x9F, 0}}},
        {"character without a code", {Text("\xE6\x97\xA5z")}, {{chr, 'z', 0}}},
        {"backspace", {Key(true, PLAT_VK_BACK)}, {{down, 8, 0}, {chr, 8, 0}}},
        {"tab", {Key(true, PLAT_VK_TAB)}, {{down, 9, 0}, {chr, 9, 0}}},
        {"enter", {Key(true, PLAT_VK_RETURN)}, {{down, 13, 0}, {chr, 13, 0}}},
        {"escape", {Key(true, PLAT_VK_ESCAPE)}, {{down, 27, 0}, {chr, 27, 0}}},
        {"paste", {Key(true, PLAT_VK_CONTROL, PLAT_MOD_CTRL), Key(true, 'V', PLAT_MOD_CTRL)},
         {{down, 17, 0}, {down, 'V', 0}, {chr, 22, 0}}},
        {"copy", {Key(true, 'C', PLAT_MOD_CTRL)}, {{down, 'C', 0}, {chr, 3, 0}}},
        {"ctrl+a", {Key(true, 'A', PLAT_MOD_CTRL)}, {{down, 'A', 0}, {chr, 1, 0}}},
        {"auto-repeat", {Key(true, 'X', 0, true)}, {{down, 'X', 0}}},
        {"keys without characters",
         {Key(true, PLAT_VK_F1 + 4), Key(true, PLAT_VK_LEFT), Key(true, PLAT_VK_HOME), Key(true, PLAT_VK_NEXT),
          Key(true, PLAT_VK_DELETE), Key(true, PLAT_VK_NUMPAD0 + 7), Key(true, PLAT_VK_SHIFT, PLAT_MOD_SHIFT),
          Key(true, PLAT_VK_OEM_PERIOD)},
         {{down, 0x74, 0}, {down, 0x25, 0}, {down, 0x24, 0}, {down, 0x22, 0}, {down, 0x2E, 0}, {down, 0x67, 0},
          {down, 16, 0}, {down, 0xBE, 0}}},
        // Alt, F10 and keys held with Alt are system keys: no key or character events.
        {"alt and a letter",
         {Key(true, PLAT_VK_MENU, PLAT_MOD_ALT), Key(true, 'X', PLAT_MOD_ALT), Text("x"), Key(false, 'X', PLAT_MOD_ALT),
          Key(false, PLAT_VK_MENU)},
         {}},
        {"F10", {Key(true, PLAT_VK_F10), Key(false, PLAT_VK_F10)}, {}},
        // AltGr is Ctrl+Alt: its key and its text arrive as usual.
        {"altgr", {Key(true, 'Q', PLAT_MOD_ALTGR), Text("@")}, {{down, 'Q', 0}, {chr, '@', 0}}},
        {"motion is coalesced", {Motion(1, 2), Motion(3, 4), Motion(30, 40)},
         {{ENG_INPUT_MOUSE_MOVE, FloatBits(30), FloatBits(40)}}},
        {"motion around a press", {Motion(1, 2), Motion(5, 6), Button(true, 0, 100), Motion(7, 8), Motion(9, 10)},
         {{ENG_INPUT_MOUSE_MOVE, FloatBits(5), FloatBits(6)}, {button, 0, 1},
          {ENG_INPUT_MOUSE_MOVE, FloatBits(9), FloatBits(10)}}},
        {"left click", {Button(false, 0, 1000), Button(true, 0, 2000), Button(false, 0, 2050)},
         {{button, 0, 0}, {button, 0, 1}, {button, 0, 0}}},
        // The second press within the double-click time is a double click; the release
        // that follows it at once belongs to it; the press after starts afresh.
        {"double click",
         {Button(true, 0, 5000), Button(false, 0, 5050), Button(true, 0, 5200), Button(false, 0, 5250),
          Button(true, 0, 5400)},
         {{button, 0, 1}, {button, 0, 0}, {dbl, 0, 0}, {button, 0, 1}}},
        {"second press too late", {Button(true, 0, 9000), Button(false, 0, 9050), Button(true, 0, 9600)},
         {{button, 0, 1}, {button, 0, 0}, {button, 0, 1}}},
        {"second press too far",
         {Button(true, 0, 12000, 10, 10), Button(false, 0, 12050, 10, 10), Button(true, 0, 12100, 20, 10)},
         {{button, 0, 1}, {button, 0, 0}, {button, 0, 1}}},
        {"right and middle",
         {Button(true, 1, 15000), Button(false, 1, 15010), Button(true, 2, 15020), Button(false, 2, 15030)},
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
    Run({Key(true, PLAT_VK_SPACE), Key(true, PLAT_VK_MENU, PLAT_MOD_ALT), Button(true, 0, 100), Button(true, 1, 110)});
    EXPECT_EQ(EngKeyStates[ENG_VK_SPACE], 2);
    EXPECT_EQ(EngKeyStates[ENG_VK_MENU], 2);
    EXPECT_EQ(EngKeyStates[ENG_VK_LBUTTON], 2);
    EXPECT_EQ(EngKeyStates[ENG_VK_RBUTTON], 2);
    Run({Key(false, PLAT_VK_SPACE), Key(false, PLAT_VK_MENU), Button(false, 0, 120), Button(false, 1, 130)});
    EXPECT_EQ(EngKeyStates[ENG_VK_SPACE], 0);
    EXPECT_EQ(EngKeyStates[ENG_VK_MENU], 0);
    EXPECT_EQ(EngKeyStates[ENG_VK_LBUTTON], 0);
    EXPECT_EQ(EngKeyStates[ENG_VK_RBUTTON], 0);
}

TEST_F(EngWindowInputTest, DiscardingPendingInputKeepsReleasesAndWindowMessages)
{
    for (const PlatInputEvent &event : {Key(true, 'A'), Text("a"), Button(true, 0, 100), Wheel(1), Key(false, 'A'),
                                        Button(false, 0, 900), Motion(3, 4)})
        EXPECT_TRUE(PlatWinPostInput(&event));
    program->inputs.clear();
    EXPECT_FALSE(EngProgramDiscardPendingInput());
    std::vector<InputEvent> expected = {
        {ENG_INPUT_KEY_UP, 'A', 0}, {ENG_INPUT_BUTTON, 0, 0}, {ENG_INPUT_MOUSE_MOVE, FloatBits(3), FloatBits(4)}};
    EXPECT_EQ(program->inputs, expected);
}

TEST_F(EngWindowInputTest, CloseEndsTheLoopWithoutInput)
{
    Run({Change(PLAT_CHANGE_CLOSE)});
    EXPECT_TRUE(program->IsQuitting());
    EXPECT_TRUE(LogHas("Exiting."));
}

} // namespace

namespace
{

TEST_F(EngWindowInputTest, WindowStateMessagesReachTheProgram)
{
    struct Row
    {
        const char *name;
        int32_t change;
        std::vector<std::string> calls;
        bool minimised;
    } rows[] = {
        {"minimised", PLAT_CHANGE_MINIMISED, {"ActivationChangedCB", "MinimisedChangedCB"}, true},
        {"restored", PLAT_CHANGE_RESTORED, {"ActivationChangedCB", "MinimisedChangedCB"}, false},
        {"focus lost", PLAT_CHANGE_FOCUS_LOST, {"ActivationChangedCB"}, false},
        {"focus lost again", PLAT_CHANGE_FOCUS_LOST, {}, false},
        {"focus gained", PLAT_CHANGE_FOCUS_GAINED, {"ActivationChangedCB"}, false},
    };
    for (const Row &row : rows)
    {
        SCOPED_TRACE(row.name);
        program->calls.clear();
        Run({Change(row.change)});
        EXPECT_EQ(program->calls, row.calls);
        EXPECT_EQ(window->IsMinimised(), row.minimised);
    }

    // A new client size (the player resized the window) is published, then announced.
    program->calls.clear();
    Run({Change(PLAT_CHANGE_SIZE_CHANGED, 800, 500)});
    EXPECT_EQ(EngScreenSettings.width, 800);
    EXPECT_EQ(EngScreenSettings.height, 500);
    EXPECT_FLOAT_EQ(EngScreenSettings.scaleToScreenX, 1.25f);
    EXPECT_EQ(program->calls, (std::vector<std::string>{"AfterGraphicsObjectsCreatedCB"}));
    // The same size again changes nothing.
    program->calls.clear();
    Run({Change(PLAT_CHANGE_SIZE_CHANGED)});
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
