#include "PlatDialogs.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace
{
struct Event
{
    int id, event, value;
    bool operator==(const Event &other) const
    {
        return id == other.id && event == other.event && value == other.value;
    }
};

struct Recorder
{
    std::vector<Event> events;
    bool destroyOnEscape = false;
    int endOnClick = 0; // the button whose click ends a modal run with its id
};

void Record(PlatDialog *dialog, int id, int event, int value, void *user)
{
    Recorder *recorder = (Recorder *)user;
    recorder->events.push_back({id, event, value});
    if (recorder->destroyOnEscape && event == PLAT_DIALOG_ESCAPE)
        PlatDialogsDestroy(dialog);
    if (event == PLAT_DIALOG_CLICKED && id == recorder->endOnClick)
        PlatDialogsEndModal(dialog, id);
}

enum
{
    ID_OK = 10,
    ID_HELP = 11,
    ID_FULL = 20,
    ID_WINDOWED = 21,
    ID_OTHER_GROUP = 22,
    ID_LIST = 30,
    ID_LABEL = 40,
};

class DialogsTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        PlatDialogsForceHeadless(true);
        PlatDialogMenuItem items[] = {{"&Open", 501}, {nullptr, 0}, {"E&xit", 502}};
        PlatDialogMenu menu = {"&File", items, 3};
        PlatDialogInfo info = {"Test", -1, -1, 300, 200, -1, -1, -1, &menu, 1, Record, &recorder};
        dialog = PlatDialogsCreate(&info);
        ASSERT_NE(dialog, nullptr);
        PlatControlInfo controls[] = {
            {PLAT_CONTROL_PUSH_BUTTON, ID_OK, 10, 10, 80, 24, "&PLAY", 0, 0},
            {PLAT_CONTROL_PUSH_BUTTON, ID_HELP, 100, 10, 20, 24, "?", 0, 0},
            {PLAT_CONTROL_RADIO_BUTTON, ID_FULL, 10, 40, 80, 20, "Fullscreen", 0, 1},
            {PLAT_CONTROL_RADIO_BUTTON, ID_WINDOWED, 10, 60, 80, 20, "Windowed", 0, 1},
            {PLAT_CONTROL_RADIO_BUTTON, ID_OTHER_GROUP, 10, 80, 80, 20, "Other", 0, 2},
            {PLAT_CONTROL_DROP_LIST, ID_LIST, 10, 100, 120, 20, "", 0, 0},
            {PLAT_CONTROL_LABEL, ID_LABEL, 10, 130, 120, 20, "Version 2.42", PLAT_ALIGN_RIGHT, 0},
        };
        for (const PlatControlInfo &control : controls)
            ASSERT_TRUE(PlatDialogsAddControl(dialog, &control));
    }
    void TearDown() override
    {
        PlatDialogsDestroy(dialog);
        PlatDialogsSetScript(nullptr, nullptr);
    }
    Recorder recorder;
    PlatDialog *dialog = nullptr;
};
} // namespace

TEST_F(DialogsTest, ControlsKeepTheirState)
{
    char text[8];
    ASSERT_TRUE(PlatDialogsGetText(dialog, ID_LABEL, text, sizeof(text)));
    EXPECT_STREQ(text, "Version"); // cut to the buffer
    EXPECT_TRUE(PlatDialogsSetText(dialog, ID_LABEL, "x"));
    ASSERT_TRUE(PlatDialogsGetText(dialog, ID_LABEL, text, sizeof(text)));
    EXPECT_STREQ(text, "x");

    for (const char *item : {"640 x 480 x 32", "800 x 600 x 32"})
        EXPECT_TRUE(PlatDialogsListAdd(dialog, ID_LIST, item));
    EXPECT_EQ(PlatDialogsListGetCount(dialog, ID_LIST), 2);
    EXPECT_EQ(PlatDialogsListGetSelection(dialog, ID_LIST), -1);
    EXPECT_TRUE(PlatDialogsListSelect(dialog, ID_LIST, 1));
    EXPECT_FALSE(PlatDialogsListSelect(dialog, ID_LIST, 2));
    EXPECT_EQ(PlatDialogsListGetSelection(dialog, ID_LIST), 1);
    char item[32];
    EXPECT_TRUE(PlatDialogsListGetItem(dialog, ID_LIST, 1, item, sizeof(item)));
    EXPECT_STREQ(item, "800 x 600 x 32");
    EXPECT_TRUE(PlatDialogsListClear(dialog, ID_LIST));
    EXPECT_EQ(PlatDialogsListGetSelection(dialog, ID_LIST), -1);

    // Kind-specific calls refuse other kinds; unknown ids are refused everywhere.
    EXPECT_FALSE(PlatDialogsListAdd(dialog, ID_OK, "x"));
    EXPECT_FALSE(PlatDialogsSetChecked(dialog, ID_LIST, true));
    EXPECT_FALSE(PlatDialogsSetText(dialog, 999, "x"));
    EXPECT_FALSE(PlatDialogsSetDefaultButton(dialog, ID_LIST));
    // Programmatic changes send no events.
    EXPECT_TRUE(recorder.events.empty());
}

TEST_F(DialogsTest, AddingRefusesBadKindsAndRepeatedIds)
{
    PlatControlInfo badKind = {7, 99, 0, 0, 10, 10, "", 0, 0};
    PlatControlInfo repeated = {PLAT_CONTROL_LABEL, ID_OK, 0, 0, 10, 10, "", 0, 0};
    EXPECT_FALSE(PlatDialogsAddControl(dialog, &badKind));
    EXPECT_STREQ(PlatDialogsGetErrorText(), "Unknown control kind 7");
    EXPECT_FALSE(PlatDialogsAddControl(dialog, &repeated));
    EXPECT_FALSE(PlatDialogsHasControl(dialog, 99));
}

TEST_F(DialogsTest, RadioGroupsAreExclusive)
{
    PlatDialogsSetChecked(dialog, ID_FULL, true);
    PlatDialogsSetChecked(dialog, ID_OTHER_GROUP, true);
    EXPECT_TRUE(PlatDialogsSimulate(dialog, ID_WINDOWED, PLAT_DIALOG_CHECKED, 1));
    EXPECT_FALSE(PlatDialogsIsChecked(dialog, ID_FULL));
    EXPECT_TRUE(PlatDialogsIsChecked(dialog, ID_WINDOWED));
    EXPECT_TRUE(PlatDialogsIsChecked(dialog, ID_OTHER_GROUP));
    EXPECT_EQ(recorder.events, (std::vector<Event>{{ID_WINDOWED, PLAT_DIALOG_CHECKED, 1}}));
}

TEST_F(DialogsTest, EventsAPersonCauses)
{
    PlatDialogsListAdd(dialog, ID_LIST, "a");
    PlatDialogsListAdd(dialog, ID_LIST, "b");
    PlatDialogsListSelect(dialog, ID_LIST, 0);
    PlatDialogsSetEnabled(dialog, ID_HELP, false);

    struct Row
    {
        int id, event, value;
        std::vector<Event> expected;
    } rows[] = {
        {ID_OK, PLAT_DIALOG_CLICKED, 0, {{ID_OK, PLAT_DIALOG_CLICKED, 0}}},
        {ID_HELP, PLAT_DIALOG_CLICKED, 0, {}}, // disabled
        {ID_LIST, PLAT_DIALOG_SELECTED, 1, {{ID_LIST, PLAT_DIALOG_SELECTED, 1}}},
        {ID_LIST, PLAT_DIALOG_SELECTED, 1, {}}, // no change
        {ID_LIST, PLAT_DIALOG_SELECTED, 5, {}}, // outside the list
        {501, PLAT_DIALOG_MENU, 0, {{501, PLAT_DIALOG_MENU, 0}}},
        {0, PLAT_DIALOG_ENTER, 0, {{0, PLAT_DIALOG_ENTER, 0}}}, // no default button yet
        {0, PLAT_DIALOG_ESCAPE, 0, {{0, PLAT_DIALOG_ESCAPE, 0}}},
        {0, PLAT_DIALOG_CLOSE, 0, {{0, PLAT_DIALOG_CLOSE, 0}}},
    };
    for (const Row &row : rows)
    {
        SCOPED_TRACE(testing::Message() << row.id << " " << row.event << " " << row.value);
        recorder.events.clear();
        PlatDialogsSimulate(dialog, row.id, row.event, row.value);
        EXPECT_EQ(recorder.events, row.expected);
    }
    EXPECT_EQ(PlatDialogsListGetSelection(dialog, ID_LIST), 1);

    // With a default button, Enter presses it.
    ASSERT_TRUE(PlatDialogsSetDefaultButton(dialog, ID_OK));
    recorder.events.clear();
    PlatDialogsSimulate(dialog, 0, PLAT_DIALOG_ENTER, 0);
    EXPECT_EQ(recorder.events, (std::vector<Event>{{ID_OK, PLAT_DIALOG_CLICKED, 0}}));
}

TEST_F(DialogsTest, DestroyingFromItsOwnCallbackIsSafe)
{
    recorder.destroyOnEscape = true;
    EXPECT_TRUE(PlatDialogsSimulate(dialog, 0, PLAT_DIALOG_ESCAPE, 0));
    // The object is gone; the fixture must not free it again.
    dialog = nullptr;
    EXPECT_EQ(recorder.events.size(), 1u);
}

TEST_F(DialogsTest, ModalRunsFollowTheScriptOrPressEnter)
{
    PlatDialogsSetDefaultButton(dialog, ID_OK);
    recorder.endOnClick = ID_OK;
    // Nobody there: Enter presses the default button.
    EXPECT_EQ(PlatDialogsRunModal(dialog), ID_OK);

    // A script picks the other radio button, then ends the run itself.
    struct Script
    {
        int turns = 0;
        static void Run(PlatDialog *dialog, void *user)
        {
            Script *script = (Script *)user;
            if (script->turns++ == 0)
                PlatDialogsSimulate(dialog, ID_WINDOWED, PLAT_DIALOG_CHECKED, 1);
            else
                PlatDialogsEndModal(dialog, -1);
        }
    } script;
    PlatDialogsSetScript(Script::Run, &script);
    recorder.events.clear();
    EXPECT_EQ(PlatDialogsRunModal(dialog), -1);
    EXPECT_EQ(script.turns, 2);
    EXPECT_TRUE(PlatDialogsIsChecked(dialog, ID_WINDOWED));
}

TEST(DialogUnits, ToPixels)
{
    // 4 horizontal units are one 7-pixel character, 8 vertical units one 16-pixel line.
    EXPECT_EQ(PlatDialogsUnitsToPixelsX(4), 7);
    EXPECT_EQ(PlatDialogsUnitsToPixelsX(326), 571);
    EXPECT_EQ(PlatDialogsUnitsToPixelsY(8), 16);
    EXPECT_EQ(PlatDialogsUnitsToPixelsY(184), 368);
}

TEST(DialogScreen, HeadlessFallbacks)
{
    PlatDialogsForceHeadless(true);
    int x = -1, y = -1, width = 0, height = 0;
    PlatDialogsGetWorkArea(&x, &y, &width, &height);
    EXPECT_EQ(x, 0);
    EXPECT_EQ(y, 0);
    EXPECT_EQ(width, 1280);
    EXPECT_EQ(height, 1024);
    EXPECT_FLOAT_EQ(PlatDialogsGetScreenScale(), 1.0f);
    EXPECT_EQ(PlatDialogsPumpOne(), 0);
}
