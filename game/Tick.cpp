// The game tick over GameState: time, keys, level states, grid movement, flight, wall
// bounces, landing, matching, removal, falling, scoring and the loss test. Game time is
// the engine's frame time; a moving ball never steps more than one cell per tick, so a
// slow frame cannot carry it through the grid. Cell geometry and queries come from the
// grid floor (Grid.h).
//
// Sections: moving balls | landing and matching | removal and falling |
// grid movement | tick and loss
#include "Tick.h"

#include <climits>
#include <cmath>
#include <cstring>

#include "AppHooks.h"
#include "EngDebug.h"
#include "EngGlobals.h"
#include "GameState.h"
#include "Grid.h"
#include "Levels.h"
#include "Plinx.h"
#include "Reactions.h"
#include "ViewHooks.h"

static const float TWO_PI = 6.2831853f;
// A grid ball whose centre passes this line (with the scroll) ends the life.
static const float LOSS_LINE_Y = 0.53264f;

// ---- Moving balls ----------------------------------------------------------------------------

void TickRemoveMovingBall(int index)
{
    _GameState &gs = GameState;
    if (index < 0 || index >= gs.movingCount)
    {
        DebugError(ENG_FUNC, "Invalid ball num %d", index);
        return;
    }
    for (int i = index; i < gs.movingCount - 1; i++)
    {
        gs.movingList[i] = gs.movingList[i + 1];
        _MovingBall *ball = &gs.movingList[i];
        if (ball->explodingEffect >= 0)
            ViewEffectsSetExplosionBallPosition(ball->explodingEffect, GameBallPosition(ball));
        if (ball->wildcardEffect >= 0)
            ViewEffectsSetWildcardBallPosition(ball->wildcardEffect, GameBallPosition(ball));
    }
    gs.movingCount--;
    memset(&gs.movingList[gs.movingCount], 0, sizeof(_MovingBall));
    if (gs.movingCount == 0)
    {
        ViewSoundStop(SOUND_BALL_ROLLING);
        gs.rollingSoundOn = 0;
    }
}

// Deletes a moving ball that could not land: its effects and loop sound go with it, so
// nothing keeps following a record that no longer exists.
static void TickDiscardMovingBall(int index)
{
    _GameState &gs = GameState;
    if (index < 0 || index >= gs.movingCount)
    {
        TickRemoveMovingBall(index);
        return;
    }
    _MovingBall &ball = gs.movingList[index];
    if (ball.type == BALL_EXPLODING || ball.type == BALL_WILDCARD)
        ViewSoundStopSpecial(ball.type, 0);
    ViewEffectsStopExplosionBall(ball.explodingEffect);
    ViewEffectsStopWildcardBall(ball.wildcardEffect);
    TickRemoveMovingBall(index);
}

char TickCheckMovingBallHittingGrid(int index, float newX, float newY, const float *lookAhead)
{
    _GameState &gs = GameState;
    const _MovingBall &ball = gs.movingList[index];
    int column, row;
    GridGetPosition(ball.x, ball.y, &column, &row);
    // Above row 0's band counts as row 0: a ball never leaves through the top.
    float top = gs.grid[0][0].y - gs.ballRadius + gs.scroll;
    if (row < 0 && ball.y < top)
    {
        GridGetPosition(ball.x, top, &column, &row);
        row = 0;
    }
    if (row == 0 && GridIsFreeLandingCell(column, 0))
    {
        TickLandMovingBall(index, column, 0);
        return 1;
    }
    // In row 0's band with the cell taken (a ball beside it got there first in this tick,
    // or the grid moved onto it), the ball lands next to it rather than vanishing.
    bool hit = row == 0 || (lookAhead && GridIsBallAt(lookAhead[0], lookAhead[1])) || GridIsBallAt(newX, newY) ||
               GridIsBallAt(ball.x, ball.y);
    if (!hit)
        return 0;
    if (GridFindLandingCell(ball.x, ball.y, &column, &row))
    {
        TickLandMovingBall(index, column, row);
    }
    else
    {
        DebugError(ENG_FUNC, "Cannot land ball anywhere");
        TickDiscardMovingBall(index);
    }
    return 1;
}

void TickMoveBalls()
{
    _GameState &gs = GameState;
    if (gs.movingCount < 0 || gs.movingCount > MAX_MOVING_BALLS)
    {
        DebugError(ENG_FUNC, "Bad moving ball count %d", gs.movingCount);
        gs.movingCount = 0;
        return;
    }
    const float dt = gs.timeStep;
    const float leftX = gs.grid[1][0].x;
    const float rightX = gs.grid[gs.gridColumns - 2][1].x;
    const float middleX = gs.grid[gs.gridColumns / 2][0].x;
    int i = 0;
    while (i < gs.movingCount)
    {
        _MovingBall &ball = gs.movingList[i];
        float dx = ball.vx * dt;
        float dy = ball.vy * dt;
        bool useLookAhead = false;
        if (fabsf(dx) >= gs.stepLimitX || fabsf(dy) >= gs.stepLimitY)
        {
            // Shorten the step, keeping its direction, so that it spans at most one
            // column and one row.
            float factor = 1.0f;
            if (fabsf(dx) > gs.stepLimitX)
                factor = gs.stepLimitX / fabsf(dx);
            if (fabsf(dy) * factor > gs.stepLimitY)
                factor = gs.stepLimitY / fabsf(dy);
            dx *= factor;
            dy *= factor;
        }
        else if (fabsf(dx) < gs.stepLimitX * 0.5f && fabsf(dy) < gs.stepLimitY * 0.5f)
        {
            useLookAhead = true;
        }
        float lookAhead[2] = {ball.x + 2.0f * dx, ball.y + 2.0f * dy};
        float newX = ball.x + dx;
        float newY = ball.y + dy;
        bool bounced = false;
        if (newX < leftX || newX > rightX)
        {
            ball.vx = -ball.vx;
            newX = newX < leftX ? leftX : rightX;
            lookAhead[0] = newX - dx;
            ViewSoundPlay(SOUND_GRID_ALIGN);
            bounced = true;
        }
        if (TickCheckMovingBallHittingGrid(i, newX, newY, useLookAhead ? lookAhead : nullptr))
        {
            if (AppIsGuiOn())
                return;
            // The list moved down by one: index i holds the next ball now.
            continue;
        }
        ball.rollPhase -= dt * 1000.0f * gs.shotSpeed;
        if (ball.rollPhase < 0.0f)
            ball.rollPhase = fmodf(ball.rollPhase, 70.0f) + 70.0f;
        ball.x = newX;
        ball.y = newY;
        if (bounced)
        {
            ball.angle = -ball.angle;
            ball.bounces++;
            ball.lastBounceRight = newX >= middleX ? 1 : 0;
        }
        i++;
    }
}

// ---- Landing and matching ------------------------------------------------------------------

// Points truncated to whole points. Whatever the state holds (a huge tuning value from a
// file), the conversion stays defined: points beyond the int range saturate at its top,
// and PlinxAddScore never adds past its cap.
static int TickPoints(float points)
{
    if (!(points > 0.0f))
        return 0;
    return points < 2147483648.0f ? (int)points : INT32_MAX;
}

// A ball leaving the grid for the removal or the fall animation: the next record of the
// list (the caller checks there is room) starts where and as the ball stood.
template <typename Record>
static Record &TickAddAnimatedBall(Record *list, int32_t &count, const _GridCell &cell, int column, int row)
{
    Record &record = list[count++];
    memset(&record, 0, sizeof(record));
    record.x = cell.x;
    record.y = cell.y;
    record.column = column;
    record.row = row;
    record.type = cell.type;
    record.rollPhase = cell.rollPhase;
    record.spin = cell.spin;
    record.lastLevel = 1.0f;
    return record;
}

static void TickVisitSequence(int column, int row, int colour)
{
    _GameState &gs = GameState;
    if (gs.matchMap[column][row] || gs.fallingMap[column][row])
        return;
    gs.matchMap[column][row] = 1;
    const int type = gs.grid[column][row].type;
    for (int i = 0; i < 6; i++)
    {
        int column2, row2;
        if (!GridGetNeighbour(column, row, i, &column2, &row2))
            continue;
        int type2 = gs.grid[column2][row2].type;
        if (type2 == BALL_EMPTY)
            continue;
        if (type2 == type || type2 == BALL_WILDCARD || (type == BALL_WILDCARD && type2 == colour))
            TickVisitSequence(column2, row2, colour);
    }
}

void TickCheckBallSequence(int column, int row, char first, int colour)
{
    _GameState &gs = GameState;
    if (column < 0 || column >= gs.gridColumns || row < 0 || row >= gs.gridRows ||
        gs.grid[column][row].type == BALL_EMPTY)
    {
        DebugError(ENG_FUNC, "Empty pos");
        return;
    }
    if (first)
    {
        memset(gs.matchMap, 0, sizeof(gs.matchMap));
        if (gs.grid[column][row].type == BALL_EXPLODING)
        {
            gs.matchMap[column][row] = 1;
            for (int i = 0; i < 6; i++)
            {
                int column2, row2;
                if (GridGetNeighbour(column, row, i, &column2, &row2))
                {
                    int type2 = gs.grid[column2][row2].type;
                    if (type2 != BALL_EMPTY && type2 != BALL_STONE)
                        gs.matchMap[column2][row2] = 1;
                }
            }
            return;
        }
    }
    TickVisitSequence(column, row, colour);
}

static int TickCountMatch()
{
    int count = 0;
    for (int column = 0; column < GRID_MAX_COLUMNS; column++)
        for (int row = 0; row < GRID_ROWS; row++)
            count += GameState.matchMap[column][row] ? 1 : 0;
    return count;
}

// Removes the matched cells; true when the removal ended the landing's work early (the
// GUI came on or play stopped).
static bool TickRemoveMatch(int landedType, float multiplier)
{
    _GameState &gs = GameState;
    const float r = gs.ballRadius;
    if (multiplier > 1.0f)
    {
        float level = (multiplier - 1.0f) / 7.0f;
        ViewSoundSetLevel(SOUND_BOUNCE, level < 1.0f ? level : 1.0f);
        ViewSoundPlay(SOUND_BOUNCE);
    }
    int count = 0;
    bool anyInitial = false;
    float minX = 0, maxX = 0, minY = 0, maxY = 0;
    for (int column = 0; column < gs.gridColumns; column++)
    {
        for (int row = 0; row < gs.gridRows; row++)
        {
            if (!gs.matchMap[column][row])
                continue;
            _GridCell &cell = gs.grid[column][row];
            count++;
            anyInitial = anyInitial || cell.initial;
            gs.matchMap[column][row] = 0;
            if (gs.removingCount < MAX_ANIMATED_BALLS)
            {
                _RemovingBall &record = TickAddAnimatedBall(gs.removingList, gs.removingCount, cell, column, row);
                record.timer = 1.0f;
                record.sound = count >= 3 ? ViewSoundPlayRemove(1.0f) : -1;
            }
            cell.type = BALL_EMPTY;
            if (count == 1)
            {
                minX = maxX = cell.x;
                minY = maxY = cell.y;
            }
            minX = fminf(minX, cell.x);
            maxX = fmaxf(maxX, cell.x);
            minY = fminf(minY, cell.y);
            maxY = fmaxf(maxY, cell.y);
        }
    }
    if (anyInitial || gs.moveMode == MOVE_MODE_PER_SHOT)
        PlinxAddScore(TickPoints((float)gs.removePoints * (float)count * multiplier));

    _Vector3d centre = {(minX + maxX) * 0.5f, (minY + maxY) * 0.5f + gs.scroll, 0.0f};
    float scaleX = fmaxf(maxX - minX, 2.0f * r) / (2.0f * r);
    float scaleY = fmaxf(maxY - minY, 2.0f * r) / (2.0f * r);
    if (landedType == BALL_EXPLODING)
    {
        ViewSoundPlay(SOUND_EXPLOSION);
        _Vector3d size = {2.2f * scaleX, 2.2f * scaleY, 2.2f};
        ViewEffectsStartExplosion(&centre, &size);
    }
    else
    {
        _Vector3d size = {1.5f * scaleX, 1.5f * scaleY, 1.5f};
        _ColourRGB white = {1.0f, 1.0f, 1.0f};
        const _ColourRGB *tint = landedType >= 0 && landedType <= BALL_STONE ? &plinx_ball_colours[landedType] : &white;
        ViewEffectsStartRemoveEffect(&centre, &size, tint);
    }

    TickDropUnconnectedBalls(multiplier);
    if (AppIsGuiOn())
        return true;
    if (gs.moveMode == MOVE_MODE_CONTINUOUS)
        gs.pushBack += (float)count * gs.removePushBack;
    else
        gs.shotRemainder -= gs.removeMoveUp;
    if (!LevelsCheckLevelDone())
        PlinxChooseNextBall(1);
    return gs.levelState != LEVEL_STATE_PLAY;
}

char TickLandMovingBall(int index, int column, int row)
{
    _GameState &gs = GameState;
    if (index < 0 || index >= gs.movingCount)
    {
        DebugError(ENG_FUNC, "Bad moving ball number %d", index);
        return 0;
    }
    if (!GridIsPlayable(column, row))
    {
        DebugError(ENG_FUNC, "Grid [%d][%d] not on grid", column, row);
        TickDiscardMovingBall(index);
        return 0;
    }
    _GridCell &cell = gs.grid[column][row];
    if (cell.type != BALL_EMPTY)
    {
        DebugNote(DEBUG_NOTE_STANDARD, "Warning: Grid [%d][%d] not empty", column, row);
        TickDiscardMovingBall(index);
        return 0;
    }
    _MovingBall &ball = gs.movingList[index];
    // A bank shot scores more the farther it lands from the wall it bounced off.
    float multiplier = 1.0f;
    if (ball.bounces > 0)
    {
        int distance = ball.lastBounceRight ? gs.gridColumns - column - 1 : column;
        multiplier = 1.0f + 0.4f * (float)distance;
    }
    const int type = ball.type;
    cell.type = ball.type;
    cell.rollPhase = ball.rollPhase;
    cell.spin = 0.0f;
    cell.initial = 0;
    // The cell's earlier ball may still be falling; the new ball must match all the same.
    gs.fallingMap[column][row] = 0;
    if (type == BALL_EXPLODING || type == BALL_WILDCARD)
        ViewSoundStopSpecial(type, 0);
    ViewEffectsStopExplosionBall(ball.explodingEffect);
    ViewEffectsStopWildcardBall(ball.wildcardEffect);
    TickRemoveMovingBall(index);
    ViewSoundPlay(SOUND_GRID_LAND);
    if (gs.moveMode == MOVE_MODE_PER_SHOT)
        gs.shotRemainder += gs.shotMoveDown;

    if (type == BALL_WILDCARD)
    {
        // Every colour's group of three or more joins the match.
        uint8_t combined[GRID_MAX_COLUMNS][GRID_ROWS] = {};
        for (int colour = 0; colour < BALL_NUM_COLOURS; colour++)
        {
            cell.type = (int8_t)colour;
            TickCheckBallSequence(column, row, 1, colour);
            if (TickCountMatch() >= 3)
                for (int c = 0; c < GRID_MAX_COLUMNS; c++)
                    for (int r = 0; r < GRID_ROWS; r++)
                        combined[c][r] |= gs.matchMap[c][r];
        }
        cell.type = BALL_WILDCARD;
        memcpy(gs.matchMap, combined, sizeof(gs.matchMap));
    }
    else if (type == BALL_STONE)
    {
        memset(gs.matchMap, 0, sizeof(gs.matchMap));
    }
    else
    {
        TickCheckBallSequence(column, row, 1, type);
    }

    if (TickCountMatch() >= 3 || type == BALL_EXPLODING)
    {
        if (TickRemoveMatch(type, multiplier))
            return 1;
    }
    if (gs.moveMode == MOVE_MODE_CONTINUOUS)
        gs.pushBack += gs.landPushBack;
    GridFindLowestBall();
    return 1;
}

// ---- Removal and falling -----------------------------------------------------------------------

char TickDropUnconnectedBalls(float multiplier)
{
    _GameState &gs = GameState;
    GridMarkConnected();

    bool anyFell = false;
    for (int row = 0; row < gs.gridRows; row++)
    {
        for (int column = 0; column < gs.gridColumns; column++)
        {
            _GridCell &cell = gs.grid[column][row];
            if (cell.type == BALL_EMPTY || gs.connectedMap[column][row])
                continue;
            if (gs.fallingCount < MAX_ANIMATED_BALLS)
            {
                _FallingBall &record = TickAddAnimatedBall(gs.fallingList, gs.fallingCount, cell, column, row);
                record.sound = ViewSoundPlayFalling(1.0f);
                gs.fallingMap[column][row] = 1;
            }
            if (gs.moveMode == MOVE_MODE_CONTINUOUS)
                gs.pushBack += gs.fallPushBack;
            else
                gs.shotRemainder -= gs.fallMoveUp;
            PlinxAddScore(TickPoints((float)gs.fallPoints * multiplier));
            cell.type = BALL_EMPTY;
            anyFell = true;
        }
    }
    if (!anyFell)
        return 0;
    if (!LevelsCheckLevelDone())
        PlinxChooseNextBall(1);
    return gs.levelState != LEVEL_STATE_PLAY;
}

// Drops the finished records of a removal or fall list, keeping the order of the rest;
// the records freed at the end are zeroed.
template <typename Record>
static void TickDropDoneBalls(Record *list, int32_t &count)
{
    int kept = 0;
    for (int i = 0; i < count; i++)
        if (!list[i].done)
            list[kept++] = list[i];
    for (int i = kept; i < count; i++)
        memset(&list[i], 0, sizeof(Record));
    count = kept;
}

void TickRemovingAndFallingBalls()
{
    _GameState &gs = GameState;
    const float dt = gs.timeStep;
    for (int i = 0; i < gs.removingCount; i++)
    {
        _RemovingBall &record = gs.removingList[i];
        record.timer -= dt * 3.0f;
        if (record.timer > 0.0f)
        {
            if (record.timer != record.lastLevel)
            {
                ViewSoundSetRemovePitch(record.sound, record.timer);
                record.lastLevel = record.timer;
            }
        }
        else
        {
            record.done = 1;
            if (record.sound >= 0)
                ViewSoundStopRemove(record.sound);
            if (record.column >= 0 && record.column < GRID_MAX_COLUMNS && record.row >= 0 && record.row < GRID_ROWS)
                gs.matchMap[record.column][record.row] = 0;
        }
    }
    const float bottom = 4.0f * gs.ballRadius + gs.turretY;
    for (int i = 0; i < gs.fallingCount; i++)
    {
        _FallingBall &record = gs.fallingList[i];
        record.y += dt;
        if (record.y <= bottom)
        {
            float level = (1.0f - record.y) * 0.25f;
            if (level != record.lastLevel)
            {
                ViewSoundSetFallingPitch(record.sound, level);
                record.lastLevel = level;
            }
        }
        else
        {
            record.done = 1;
            if (record.sound >= 0)
                ViewSoundStopFalling(record.sound);
            if (record.column >= 0 && record.column < GRID_MAX_COLUMNS && record.row >= 0 && record.row < GRID_ROWS)
                gs.fallingMap[record.column][record.row] = 0;
        }
    }
    TickDropDoneBalls(gs.removingList, gs.removingCount);
    TickDropDoneBalls(gs.fallingList, gs.fallingCount);
}

// ---- Grid movement -------------------------------------------------------------------------------

// Moves `value` toward `target` by `step` (>= 0) without passing it.
static float TickApproach(float value, float target, float step)
{
    if (value < target)
        return value + step < target ? value + step : target;
    return value - step > target ? value - step : target;
}

static void TickAdvanceRollAngle(float amount)
{
    _GameState &gs = GameState;
    gs.rollAngle += amount;
    if (gs.rollAngle >= 70.0f)
        gs.rollAngle = 0.0f;
    if (gs.rollAngle < 0.0f)
        gs.rollAngle = 69.999f;
}

static void TickMoveGridContinuous()
{
    _GameState &gs = GameState;
    const float dt = gs.timeStep;
    gs.targetSpeed = gs.baseSpeed;
    float rate;
    if (gs.pushBack > 0.0f)
    {
        gs.targetSpeed = -gs.pushBackSpeed;
        rate = gs.slowDownRate;
    }
    else
    {
        rate = gs.targetSpeed < gs.gridSpeed ? gs.slowDownRate : gs.speedUpRate;
    }
    gs.gridSpeed = TickApproach(gs.gridSpeed, gs.targetSpeed, rate * dt);
    float step = gs.gridSpeed * 0.03f * dt;
    if (gs.scroll + step < 0.0f)
    {
        gs.scroll = 0.0f;
        step = 0.0f;
        gs.targetSpeed = gs.baseSpeed;
        gs.pushBack = 0.0f;
        if (gs.gridSpeed < -gs.baseSpeed / 10.0f)
            gs.gridSpeed = -gs.baseSpeed / 10.0f;
    }
    else
    {
        gs.scroll += step;
    }
    TickAdvanceRollAngle(step * 1800.0f);
    if (gs.pushBack > 0.0f)
    {
        // The step is negative while the grid is pushed back.
        gs.pushBack += step - 0.03f * gs.baseSpeed * dt;
        if (gs.pushBack <= 0.0f)
        {
            gs.targetSpeed = gs.baseSpeed;
            gs.pushBack = 0.0f;
        }
    }
    if (!gs.arcadeRollOn)
    {
        ViewSoundPlayLooped(SOUND_ARCADE_ROLL);
        gs.arcadeRollOn = 1;
    }
    float level = gs.pushBackSpeed > 0.0f ? fabsf(gs.gridSpeed) / gs.pushBackSpeed : 0.0f;
    if (level != gs.arcadeRollLevel)
    {
        ViewSoundSetLevel(SOUND_ARCADE_ROLL, level);
        gs.arcadeRollLevel = level;
    }
}

static void TickMoveGridPerShot()
{
    _GameState &gs = GameState;
    const float dt = gs.timeStep;
    const float limit = gs.shotVelocityLimit;
    float rate = gs.shotVelocity > 0.0f ? gs.shotRateUp : gs.shotRateDown;
    float remainder = gs.shotRemainder;
    float plainStep = gs.shotVelocity * 0.003f * dt;
    // Near the end of the remainder the acceleration eases off.
    float factor = 1.0f;
    if ((remainder > 0.0f && plainStep > remainder) || (remainder < 0.0f && plainStep < remainder))
        factor = remainder / plainStep;
    if (remainder > 0.0f)
    {
        if (factor == 1.0f)
            gs.shotVelocity = fminf(gs.shotVelocity + rate * dt, limit);
        else
            gs.shotVelocity += rate * dt * factor;
    }
    else if (remainder < 0.0f)
    {
        if (factor == 1.0f)
            gs.shotVelocity = fmaxf(gs.shotVelocity - rate * dt, -limit);
        else
            gs.shotVelocity -= rate * dt * factor;
    }
    else
    {
        gs.shotVelocity = TickApproach(gs.shotVelocity, 0.0f, 5.0f * rate * dt);
    }
    // The grid moves exactly the remainder: with none left it stands while u dies away.
    float step = gs.shotVelocity * 0.003f * dt;
    if ((remainder >= 0.0f && step > remainder) || (remainder <= 0.0f && step < remainder))
        step = remainder;
    gs.scroll += step;
    if (remainder != 0.0f)
        gs.shotRemainder -= step;
    TickAdvanceRollAngle(step * 1000.0f);
    if (gs.scroll < 0.0f)
    {
        gs.scroll = 0.0f;
        if (gs.shotVelocity < 0.0f)
            gs.shotVelocity = 0.0f;
        if (gs.shotRemainder < 0.0f)
            gs.shotRemainder = 0.0f;
    }
    if (step != 0.0f && !gs.strategicRollOn)
    {
        ViewSoundPlayLooped(SOUND_STRATEGIC_ROLL);
        gs.strategicRollOn = 1;
    }
    else if (step == 0.0f && gs.strategicRollOn)
    {
        ViewSoundStop(SOUND_STRATEGIC_ROLL);
        gs.strategicRollOn = 0;
    }
}

void TickMoveGrid()
{
    if (GameState.moveMode == MOVE_MODE_CONTINUOUS)
        TickMoveGridContinuous();
    else
        TickMoveGridPerShot();
}

// ---- Tick and loss ---------------------------------------------------------------------------------

void TickCheckLoss()
{
    _GameState &gs = GameState;
    GridFindLowestBall();
    bool tooLow = false;
    if (gs.lowestRow >= 0)
    {
        const _GridCell &lowest = gs.grid[gs.lowestColumn][gs.lowestRow];
        bool pushedBack = gs.moveMode == MOVE_MODE_CONTINUOUS && gs.pushBack > 0.0f;
        tooLow = lowest.y + gs.scroll > LOSS_LINE_Y && !pushedBack;
    }
    bool outOfBalls = false;
    if (!tooLow && (gs.gameType == GAME_TYPE_PUZZLE || gs.gameType == GAME_TYPE_MY_PUZZLES))
    {
        bool atRest = gs.moveMode == MOVE_MODE_CONTINUOUS ? gs.pushBack == 0.0f
                                                           : gs.shotVelocity == 0.0f && gs.shotRemainder == 0.0f;
        outOfBalls = gs.nextBallCount <= 0 && gs.currentBall == BALL_EMPTY && gs.nextBall == BALL_EMPTY &&
                     gs.movingCount == 0 && atRest;
    }
    if (!tooLow && !outOfBalls)
        return;
    if (gs.testMode)
    {
        ReactionsTestRunOver();
        return;
    }
    LevelsLoseLife();
    if (!gs.gameOver)
        return;
    if (tooLow)
    {
        const _GridCell &lowest = gs.grid[gs.lowestColumn][gs.lowestRow];
        ViewEffectsStartGameOverEffect(lowest.x, lowest.y + gs.scroll, 0.0f);
    }
    else
    {
        ViewEffectsStartGameOverEffect(gs.turretX, gs.turretY, 0.0f);
    }
}

void TickPlay()
{
    _GameState &gs = GameState;
    gs.throbAngle = fmodf(gs.throbAngle + gs.timeStep * 20.0f, TWO_PI);
    gs.slowAngle = fmodf(gs.slowAngle + gs.timeStep * 0.1f, TWO_PI);
    ViewTickPlace();
    if (LevelsTick())
    {
        ViewBordersTick(0);
        TickRemovingAndFallingBalls();
        return;
    }
    if (gs.gameOver)
        return;
    if (gs.turretLoad < 1.0f)
    {
        gs.turretLoad = fminf(gs.turretLoad + gs.timeStep * 4.0f, 1.0f);
        PlinxUpdateTurretBall();
    }
    if (!gs.paused)
    {
        TickMoveGrid();
        ViewBordersTick(0);
        TickMoveBalls();
        if (AppIsGuiOn())
            return;
    }
    TickRemovingAndFallingBalls();
    LevelsGrowGridBalls();
    if (!gs.paused && gs.levelState == LEVEL_STATE_PLAY)
        TickCheckLoss();
}

void TickGame()
{
    _GameState &gs = GameState;
    if (!gs.isSetup)
    {
        DebugErrorCode(ENG_FUNC, EngFourCC("NSTP"));
        return;
    }
    // A measured frame time is never negative; a broken one must not run time backwards.
    float frameTime = EngFrameTiming.frameTime;
    gs.timeStep = frameTime > 0.0f ? frameTime : 0.0f;
    gs.gameClock = EngFrameTiming.currentTime;
    if (!gs.paused && gs.levelState == LEVEL_STATE_PLAY)
    {
        if (EngKeyStates[ENG_VK_ESCAPE] > 1)
        {
            EngKeyStates[ENG_VK_ESCAPE] = 0;
            if (gs.testMode)
            {
                ReactionsTestRunOver();
            }
            else if (!gs.gameOver)
            {
                if (gs.gameType < GAME_TYPE_MY_PUZZLES)
                    ReactionsLeavingForPause();
                AppGoFromGameToMenus(EngFourCC("PAUS"), nullptr, 0);
            }
            return;
        }
        if (gs.testMode && EngKeyStates[ENG_VK_U] > 1)
        {
            EngKeyStates[ENG_VK_U] = 0;
            ReactionsUndo();
            return;
        }
    }
    TickPlay();
}

void TickGoFromGameToPauseScreen()
{
    _GameState &gs = GameState;
    if (gs.paused || gs.levelState != LEVEL_STATE_PLAY || gs.gameOver)
        DebugNote(DEBUG_NOTE_STANDARD, "Warning: Should not be called now.");
    if (gs.gameType < GAME_TYPE_MY_PUZZLES && !gs.gameOver)
        ReactionsLeavingForPause();
    AppGoFromGameToMenus(EngFourCC("PAUS"), nullptr, 0);
}
