// Aiming and shooting with the mouse while a game runs: in full screen the turret
// follows the pointer's horizontal position; in a window it turns by the pointer's
// movement, and the pointer is put back in the middle before it can leave the window.
#include <cmath>

#include "AppView.h"
#include "EngGlobals.h"
#include "EngProgram.h"
#include "EngWindow.h"
#include "Game.h"
#include "GameFade.h"
#include "GameState.h"
#include "Plinx.h"

namespace
{

const float kTwoPi = 6.2831853f;
const float kEdgePixels = 5.0f; // a pointer this close to an edge is re-centred
const float kLastXUnset = -1000.0f;

} // namespace

_GameAim GameComputeAim(float x, float y, int w, int h, bool windowed, float *lastX)
{
    _GameAim aim = {};
    if (w < 1 || h < 1)
        return aim;
    if (!windowed)
    {
        aim.turn = 1;
        aim.angle = (x - 0.5f * (float)w) * kTwoPi / (float)w;
        return aim;
    }
    if (*lastX == kLastXUnset)
        *lastX = x;
    if (x != *lastX)
    {
        aim.turn = 1;
        aim.relative = 1;
        aim.angle = (x - *lastX) * kTwoPi / (float)w;
        *lastX = x;
    }
    if (x <= kEdgePixels || x >= (float)w - kEdgePixels)
    {
        aim.warp = 1;
        aim.warpX = w / 2;
        aim.warpY = h / 2;
        *lastX = (float)(w / 2);
    }
    else if (y <= kEdgePixels || y >= (float)h - kEdgePixels)
    {
        aim.warp = 1;
        aim.warpX = (int)x;
        aim.warpY = h / 2;
    }
    return aim;
}

bool GameMouseMove(float x, float y)
{
    _GameState &gs = GameState;
    if (gs.gameOver)
    {
        float designX = 0.0f, designY = 0.0f;
        const _Dimension *box = AppViewGetGameOverBox();
        bool known = EngMainConvertScreenPosToDesignPos(x, y, &designX, &designY);
        if (known)
            AppViewSetGameOverMouse(designX, designY);
        game_program.gameOverButtonHover = known && box && designX >= box->x && designX < box->x + box->w &&
                                           designY >= box->y && designY < box->y + box->h;
        return false;
    }
    _GameAim aim = GameComputeAim(x, y, EngScreenSettings.width, EngScreenSettings.height,
                                  EngScreenSettings.windowed != 0, &game_program.lastMouseX);
    if (aim.turn)
        PlinxSetTurretAngle(aim.angle, aim.relative, 1);
    if (aim.warp && eng_main_program && eng_main_program->GetMainWindow())
        eng_main_program->GetMainWindow()->SetMouseCursorPos(aim.warpX, aim.warpY);
    return false;
}

bool GameMouseButton(int button, bool pressed)
{
    if (GameFadeIsFading())
        return false;
    _GameState &gs = GameState;
    if (!gs.gameOver)
    {
        if (pressed)
        {
            int before = gs.movingCount;
            PlinxShoot(0);
            if (gs.movingCount > before)
                game_program.shots++;
        }
        return false;
    }
    if (pressed)
    {
        if (!game_program.gameOverButtonHover)
            return false;
        game_program.gameOverButtonHeld = 1;
        return true;
    }
    if (!game_program.gameOverButtonHeld)
        return false;
    game_program.gameOverButtonHeld = 0;
    EngKeyStates[ENG_VK_ESCAPE] = 2;
    return true;
}
