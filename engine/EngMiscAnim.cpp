// Random floats quantised to their range, float and vector helpers, and the
// one-dimensional animation values driven by the engine clock (ticks, change, blend
// and traverse variables).
//
// Sections: random numbers; floats and vectors; ticks; change variable; blend
// variable; traverse variable.
#include <cmath>
#include <cstdlib>
#include <cstring>

#include "EngDebug.h"
#include "EngGlobals.h"
#include "EngMath.h"
#include "EngMisc.h"

// Single-precision angles the ticks wrap at.
static const float s_pi = 3.14159265f;
static const float s_halfPi = 1.57079633f;
static const float s_twoPi = 6.28318531f;
static const float s_threeHalfPi = 4.71238898f;
static const float s_fourPi = 12.5663706f;

// ---- Random numbers ----------------------------------------------------------------------------

float EngMiscRandFloat(float max, bool randomSign)
{
    float range = std::fabs(max);
    // The finer the range, the finer the steps, so that small ranges are not all zeros.
    float scale;
    if (range < 0.01f)
        scale = 1000000.0f;
    else if (range < 0.1f)
        scale = 100000.0f;
    else if (range < 1.0f)
        scale = 10000.0f;
    else if (range < 10.0f)
        scale = 1000.0f;
    else if (range < 100.0f)
        scale = 100.0f;
    else
        scale = 1.0f;
    int steps = EngMathTruncDoubleToInt(range * scale);
    if (steps == 0)
        return 0;
    float value = (float)(rand() % steps) / scale;
    if (value < 0 || value >= range)
        DebugError(ENG_FUNC, "Function not working properly");
    if (randomSign && rand() % 2 == 0)
        value = -value;
    return value;
}

float EngMiscRandFloatFromDouble(double max, bool randomSign)
{
    return EngMiscRandFloat((float)max, randomSign);
}

bool EngMiscRandChance(int n)
{
    if (n < 1)
        return false;
    return rand() % (n + 1) > 0;
}

float EngMiscRandFloatRange(float min, float max, bool randomSign)
{
    float value = max > min ? EngMiscRandFloat(max - min, false) + min : min;
    if (randomSign && EngMiscRandChance(1))
        value = -value;
    return value;
}

double EngMiscRandDoubleRange(double min, double max, bool randomSign)
{
    double value = max > min ? (double)EngMiscRandFloat((float)(max - min), false) + min : min;
    if (randomSign && EngMiscRandChance(1))
        value = -value;
    return value;
}

// ---- Floats and vectors -------------------------------------------------------------------------

bool EngMiscAreFloatsAlmostEqual(float a, float b)
{
    if (a == b)
        return true;
    float relative = b != 0 ? (b - a) / b : (b - a) / a;
    return std::fabs(relative) < 0.001f;
}

void EngMiscClampFloat(float *value, float min, float max)
{
    if (!value)
        return;
    if (*value < min)
        *value = min;
    if (*value > max)
        *value = max;
}

static bool EngMiscMoveTowardsTarget(float *position, const float *target, float step, float *fraction, int count)
{
    if (!position || !target)
        return true;
    float difference[4];
    float largest = 0;
    for (int i = 0; i < count; i++)
    {
        difference[i] = target[i] - position[i];
        largest = std::fmax(largest, std::fabs(difference[i]));
    }
    if (largest == 0)
        return true;
    float part = step <= largest ? step / largest : 1.0f;
    for (int i = 0; i < count; i++)
        position[i] += part * difference[i];
    if (fraction)
        *fraction = part;
    return part == 1.0f;
}

bool EngMiscMoveVector3TowardsTarget(float *position, const float *target, float step, float *fraction)
{
    return EngMiscMoveTowardsTarget(position, target, step, fraction, 3);
}

bool EngMiscMoveVector4TowardsTarget(float *position, const float *target, float step, float *fraction)
{
    return EngMiscMoveTowardsTarget(position, target, step, fraction, 4);
}

// ---- Ticks ----------------------------------------------------------------------------------------

static float EngMiscTickValue(float angle)
{
    return (std::sin(angle + s_threeHalfPi) + 1.0f) / 2.0f;
}

float EngMiscThrobTick(float *angle, float speed, bool *cycleDone)
{
    if (!angle)
    {
        if (cycleDone)
            *cycleDone = false;
        return 0;
    }
    bool done = false;
    float old = *angle;
    float next = *angle + 2.0f * speed;
    if (next >= s_fourPi)
    {
        *angle = next - s_fourPi;
        done = true;
    }
    else if (next < -s_halfPi)
    {
        *angle = next + s_fourPi;
        done = true;
    }
    else
        *angle = next;
    if (!done)
        done = next < old || (old < s_twoPi && s_twoPi <= next);
    if (cycleDone)
        *cycleDone = done;
    return EngMiscTickValue(*angle);
}

static float EngMiscWrappingTick(float *angle, float speed, bool *wrapped, float period)
{
    if (!angle)
    {
        if (wrapped)
            *wrapped = false;
        return 0;
    }
    bool didWrap = false;
    *angle += 2.0f * speed;
    if (*angle >= period)
    {
        *angle -= period;
        didWrap = true;
    }
    if (wrapped)
        *wrapped = didWrap;
    return EngMiscTickValue(*angle);
}

float EngMiscCycleTick(float *angle, float speed, bool *wrapped)
{
    return EngMiscWrappingTick(angle, speed, wrapped, s_twoPi);
}

float EngMiscHalfCycleTick(float *angle, float speed, bool *wrapped)
{
    return EngMiscWrappingTick(angle, speed, wrapped, s_pi);
}

// ---- Change variable ----------------------------------------------------------------------------

float EngMiscSetupChangeVarFloat(double minRest, double maxRest, float minValue, float maxValue, bool randomSign,
                                 bool angleMode, float maxAngleChange, float minSpeed, float maxSpeed,
                                 bool randomStart, _EngMiscChangeVarFloat2 *var)
{
    if (!var)
        return 0;
    if (angleMode && randomSign)
        DebugError(ENG_FUNC, "Sign and angle specified");
    if (!angleMode && maxAngleChange != 0)
        DebugError(ENG_FUNC, "Parameter Error");
    var->minRest = minRest;
    var->maxRest = maxRest;
    var->minValue = minValue;
    var->maxValue = maxValue;
    var->randomSign = randomSign ? 1 : 0;
    var->angleMode = angleMode ? 1.0f : 0.0f;
    var->maxAngleChange = maxAngleChange;
    var->minSpeed = minSpeed;
    var->maxSpeed = maxSpeed;
    if (randomStart)
        var->value = EngMiscRandFloatRange(minValue, maxValue, randomSign);
    var->moving = 0;
    var->nextChangeTime = 0;
    var->setup = 1;
    return var->value;
}

float EngMiscChangeVarFloatTick(_EngMiscChangeVarFloat2 *var)
{
    if (!var || !EngMainDevice)
        return 0;
    if (!var->setup)
    {
        DebugError(ENG_FUNC, "Var not setup");
        return 0;
    }
    double now = EngFrameTiming.currentTime;
    if (var->moving)
    {
        float step = var->speed * EngFrameTiming.frameTime;
        if (var->target < var->value)
        {
            var->value -= step;
            if (var->value <= var->target)
                var->moving = 0;
        }
        else
        {
            var->value += step;
            if (var->value >= var->target)
                var->moving = 0;
        }
        return var->value;
    }
    if (var->nextChangeTime == 0)
    {
        var->nextChangeTime = now + EngMiscRandDoubleRange(var->minRest, var->maxRest, false);
        return var->value;
    }
    if (now >= var->nextChangeTime)
    {
        var->nextChangeTime = 0;
        if (var->angleMode != 0 && var->maxAngleChange != 0)
        {
            float target = var->value + EngMiscRandFloat(var->maxAngleChange, true);
            EngMiscClampFloat(&target, var->minValue, var->maxValue);
            var->target = target;
        }
        else
            var->target = EngMiscRandFloatRange(var->minValue, var->maxValue, var->randomSign != 0);
        var->speed = EngMiscRandFloatRange(var->minSpeed, var->maxSpeed, false);
        var->moving = 1;
    }
    return var->value;
}

// ---- Blend variable ---------------------------------------------------------------------------------

bool EngMiscRestartBlendVar(_EngMiscBlendVar *var)
{
    if (!var)
    {
        DebugErrorCode(ENG_FUNC, EngFourCC("BAPA"));
        return false;
    }
    var->stage = 0;
    return true;
}

bool EngMiscUpdateBlendVar(_EngMiscBlendVar *var)
{
    if (!var)
    {
        DebugErrorCode(ENG_FUNC, EngFourCC("BAPA"));
        return false;
    }
    double now = EngFrameTiming.currentTime;
    float scale = var->timeScale > 0 ? var->timeScale : 1.0f;
    float frameTime = EngFrameTiming.frameTime;
    switch (var->stage)
    {
    case 0:
        var->value = var->startValue;
        var->stageEnd = now;
        var->stage = 1;
        return false;
    case 1:
        var->stageEnd = now + var->delay / scale;
        var->stage = 2;
        return false;
    case 2:
        if (now > var->stageEnd)
            var->stage = 3;
        return false;
    case 3:
        var->value += var->riseSpeed * scale * frameTime;
        if (var->value >= var->highValue)
        {
            var->value = var->highValue;
            var->stageEnd = now + var->highHold / scale;
            var->stage = 4;
        }
        return false;
    case 4:
        if (now > var->stageEnd)
            var->stage = 5;
        return false;
    case 5:
        var->value -= var->fallSpeed * scale * frameTime;
        if (var->value <= var->lowValue)
        {
            var->value = var->lowValue;
            var->stageEnd = now + var->lowHold / scale;
            var->stage = 6;
        }
        return false;
    case 6:
        if (now > var->stageEnd)
        {
            var->stage = 1;
            return true;
        }
        return false;
    default:
        return false;
    }
}

// ---- Traverse variable ----------------------------------------------------------------------------------

float EngMiscSetupTraverseVar(_EngMiscTraverseVar *var, int type, float speed)
{
    if (!var)
    {
        DebugErrorCode(ENG_FUNC, EngFourCC("BAPA"));
        return 0;
    }
    memset(var, 0, sizeof(*var));
    var->type = type;
    var->speed = speed;
    var->direction = 1;
    return 0;
}

float EngMiscTraverseVarTick(_EngMiscTraverseVar *var, bool *done)
{
    if (!var)
    {
        DebugErrorCode(ENG_FUNC, EngFourCC("BAPA"));
        return 0;
    }
    bool finished = false;
    float step = var->speed * EngFrameTiming.frameTime;
    switch (var->type)
    {
    case ENG_TRAVERSE_CONSTANT:
        break;
    case ENG_TRAVERSE_LINEAR_ONCE:
        var->value += step;
        if (var->value >= 1)
        {
            var->value = 1;
            finished = true;
        }
        break;
    case ENG_TRAVERSE_EASED_ONCE:
        if (var->value < 1)
        {
            bool wrapped = false;
            float value = EngMiscHalfCycleTick(&var->angle, step, &wrapped);
            var->value = wrapped ? 1.0f : value;
        }
        if (var->value >= 1)
        {
            var->value = 1;
            finished = true;
        }
        break;
    case ENG_TRAVERSE_LINEAR_REPEAT:
        var->value += step;
        if (var->value >= 1)
        {
            var->value -= 1;
            finished = true;
        }
        break;
    case ENG_TRAVERSE_EASED_REPEAT:
        var->value = EngMiscHalfCycleTick(&var->angle, step, &finished);
        break;
    case ENG_TRAVERSE_LINEAR_BACK_AND_FORTH:
        var->value += step * (float)var->direction;
        if ((var->direction > 0 && var->value >= 1) || (var->direction < 0 && var->value <= 0))
        {
            var->direction = (int8_t)-var->direction;
            finished = true;
        }
        break;
    case ENG_TRAVERSE_EASED_BACK_AND_FORTH:
        var->value = EngMiscCycleTick(&var->angle, step, &finished);
        break;
    default:
        DebugError(ENG_FUNC, "Unknown type: %d", var->type);
        break;
    }
    if (done)
        *done = finished;
    return var->value;
}
