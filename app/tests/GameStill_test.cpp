// The still-picture rule of the menus: which frames the main loop may leave undrawn.
#include <gtest/gtest.h>

#include "GameStill.h"
#include "PlinxScreens.h"
#include "UserScreens.h"

namespace
{

TEST(GameStillTest, OnlyAQuietMenuScreenWithoutMovingPartsIsStill)
{
    const ScreenId menu = plinx_screen_select;
    const _GameStillInputs quiet = {true, false, false, false, false, menu, 10.0, 9.0};
    struct
    {
        const char *what;
        _GameStillInputs inputs;
        bool still;
    } cases[] = {
        {"the main menu, nothing done for a second", quiet, true},
        {"the players screen", {true, false, false, false, false, user_screen_users, 10.0, 9.0}, true},
        {"just past the hold", {true, false, false, false, false, menu, 10.0, 10.0 - GAME_STILL_HOLD_SECONDS}, true},
        {"within the hold after input", {true, false, false, false, false, menu, 10.0, 9.8}, false},
        {"play (GUI off)", {false, false, false, false, false, menu, 10.0, 0.0}, false},
        {"the splash", {true, true, false, false, false, menu, 10.0, 0.0}, false},
        {"a fade", {true, false, true, false, false, menu, 10.0, 0.0}, false},
        {"the menu particles", {true, false, false, true, false, menu, 10.0, 0.0}, false},
        {"a popup", {true, false, false, false, true, menu, 10.0, 0.0}, false},
        {"the animated help screen", {true, false, false, false, false, plinx_screen_help, 10.0, 0.0}, false},
        {"the credits roll", {true, false, false, false, false, plinx_screen_credits, 10.0, 0.0}, false},
    };
    for (const auto &c : cases)
    {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(GameStillIsPictureStill(&c.inputs), c.still);
    }
    EXPECT_FALSE(GameStillIsPictureStill(nullptr));
}

} // namespace
