// Drag scrolling over an area: press, track until the threshold, drag (clamped unless
// elastic), fling with friction, spring back into the limits, and taps counted until
// 0.3 s pass without another. Times come from the frame clock (EngFrameTiming).
#include "EngScroller.h"

#include <cmath>
#include <cstring>

#include "EngDebug.h"
#include "EngGlobals.h"

enum
{
    AXIS_IDLE = 0,
    AXIS_PRESSED = 2,
    AXIS_TRACKING = 3,
    AXIS_DRAG = 4,
};

static const double kTapPressSeconds = 0.2;
static const double kTapEndSeconds = 0.3;
static const double kSampleSeconds = 0.005;
static const float kStopUnitsPerSecond = 0.1f;

EngScroller::EngScroller()
    : on(false), area{0, 0, 640, 480}, axisLock(false), fling(false), friction(0.0f), mouseX(0), mouseY(0),
      pressX(0), pressY(0), pressTime(0), pressedFlag(false), tapTime(0), tapCount(0), tapX(0), tapY(0),
      tapCallback(nullptr), tapUser(0)
{
    memset(axes, 0, sizeof axes);
}

bool EngScroller::TurnOn(const _Dimension *areaIn, bool lock, bool xEnabled, float xPosition, float xMinimum,
                         float xMaximum, float xScale, float xThreshold, bool xElastic, bool yEnabled, float yPosition,
                         float yMinimum, float yMaximum, float yScale, float yThreshold, bool yElastic,
                         float frictionIn)
{
    _Dimension chosen = areaIn ? *areaIn : _Dimension{0, 0, 640, 480};
    if (chosen.w <= 0.0f || chosen.h <= 0.0f)
    {
        DebugError(ENG_FUNC, "Invalid Dimension");
        on = false;
        return false;
    }
    area = chosen;
    axisLock = lock;
    friction = frictionIn;
    const bool enabled[2] = {xEnabled, yEnabled};
    const float position[2] = {xPosition, yPosition}, minimum[2] = {xMinimum, yMinimum},
                maximum[2] = {xMaximum, yMaximum}, scale[2] = {xScale, yScale}, threshold[2] = {xThreshold, yThreshold};
    const bool elastic[2] = {xElastic, yElastic};
    for (int axis = 0; axis < 2; axis++)
    {
        _EngScrollerAxis &a = axes[axis];
        memset(&a, 0, sizeof a);
        a.enabled = enabled[axis];
        a.position = a.initial = position[axis];
        a.minimum = minimum[axis];
        a.maximum = maximum[axis];
        a.scale = scale[axis];
        a.threshold = threshold[axis] > 0.0f ? threshold[axis] : 3.0f;
        a.elastic = elastic[axis];
        a.state = AXIS_IDLE;
        a.range = a.maximum - a.minimum > 0.0f ? a.maximum - a.minimum : 1.0f;
        a.overscroll = 100.0f;
        a.spring = 60.0f * friction;
    }
    tapTime = 0;
    tapCount = 0;
    pressedFlag = false;
    on = true;
    return true;
}

void EngScroller::Reset(int axis)
{
    if (!on)
    {
        DebugError(ENG_FUNC, "Not on");
        return;
    }
    _EngScrollerAxis &a = axes[axis & 1];
    a.state = AXIS_IDLE;
    a.velocity = 0.0f;
    a.sample[0] = a.sample[1] = 0.0f;
    a.sampleTime[0] = a.sampleTime[1] = 0.0;
    if (a.position < a.minimum)
        a.position = a.minimum;
    if (a.position > a.maximum)
        a.position = a.maximum;
}

void EngScroller::SetPositionX(float value)
{
    if (on)
        Reset(0);
    axes[0].position = value;
}

void EngScroller::SetPositionY(float value)
{
    if (on)
        Reset(1);
    axes[1].position = value;
}

bool EngScroller::IsMouseInArea() const
{
    return area.x <= mouseX && mouseX < area.x + area.w && area.y <= mouseY && mouseY < area.y + area.h;
}

bool EngScroller::AxisLockedOut(int axis) const
{
    const _EngScrollerAxis &other = axes[1 - axis];
    return axisLock && other.enabled && other.state == AXIS_DRAG;
}

void EngScroller::TakeSample(int axis, float m, double now)
{
    _EngScrollerAxis &a = axes[axis];
    if (now - a.sampleTime[1] < kSampleSeconds)
        return;
    a.sample[0] = a.sample[1];
    a.sampleTime[0] = a.sampleTime[1];
    a.sample[1] = m;
    a.sampleTime[1] = now;
}

bool EngScroller::HandlePress(bool ignore, bool pressed, float x, float y, bool skip, bool tapAllowed)
{
    if (!on || ignore)
        return false;
    if (skip)
    {
        Reset(0);
        Reset(1);
        pressedFlag = false;
        return false;
    }
    double now = EngFrameTiming.currentTime;
    mouseX = x;
    mouseY = y;
    if (pressed)
    {
        pressX = x;
        pressY = y;
        pressTime = now;
    }
    bool taken = false;
    if (!pressed && pressedFlag)
    {
        bool anyDrag = false, anyTouched = false;
        for (const _EngScrollerAxis &a : axes)
        {
            if (!a.enabled)
                continue;
            anyDrag = anyDrag || a.state == AXIS_DRAG;
            anyTouched = anyTouched || (a.state >= 1 && a.state <= AXIS_TRACKING);
        }
        if (anyTouched && !anyDrag && now - pressTime < kTapPressSeconds)
        {
            if (tapAllowed)
            {
                tapCount = tapTime > 0 ? tapCount + 1 : 1;
                axes[0].state = axes[1].state = AXIS_IDLE;
                tapTime = now;
                tapX = x;
                tapY = y;
                pressedFlag = false;
                return true;
            }
            pressedFlag = false;
            return false;
        }
    }
    for (int axis = 0; axis < 2; axis++)
    {
        _EngScrollerAxis &a = axes[axis];
        if (!a.enabled)
            continue;
        if (pressed)
        {
            if (AxisLockedOut(axis))
                continue;
            if (a.state != AXIS_IDLE || a.velocity != 0.0f)
                Reset(axis);
            if (IsMouseInArea())
            {
                a.state = AXIS_PRESSED;
                taken = true;
            }
        }
        else
        {
            if (a.state != AXIS_IDLE)
            {
                if (a.state == AXIS_DRAG && fling)
                {
                    float d = a.sample[1] - a.sample[0];
                    double t = a.sampleTime[1] - a.sampleTime[0];
                    if (t > 0 && std::fabs(d) >= 3.0f)
                        a.velocity += (float)(d / t / a.range);
                }
                a.state = AXIS_IDLE;
                taken = true;
            }
            else
                Reset(axis);
        }
    }
    pressedFlag = pressed;
    return taken;
}

bool EngScroller::HandleMouseMove(float x, float y, bool ignore)
{
    if (!on || ignore)
        return false;
    mouseX = x;
    mouseY = y;
    double now = EngFrameTiming.currentTime;
    int only = -1;
    if (axisLock && axes[0].enabled && axes[1].enabled && axes[0].state != AXIS_DRAG && axes[1].state != AXIS_DRAG)
        only = std::fabs(x - pressX) > std::fabs(y - pressY) ? 0 : 1;
    bool changed = false;
    for (int axis = 0; axis < 2; axis++)
    {
        _EngScrollerAxis &a = axes[axis];
        if (!a.enabled || (only >= 0 && axis != only) || AxisLockedOut(axis))
            continue;
        float m = MouseOf(axis, x, y);
        switch (a.state)
        {
        case AXIS_PRESSED:
            a.dragStart = m;
            a.sample[0] = a.sample[1] = m;
            a.sampleTime[0] = a.sampleTime[1] = now;
            a.startPosition = a.position;
            a.velocity = 0.0f;
            a.state = AXIS_TRACKING;
            break;
        case AXIS_TRACKING:
            if (std::fabs(m - a.dragStart) > a.threshold)
                a.state = AXIS_DRAG;
            break;
        case AXIS_DRAG:
        {
            float position = a.startPosition - (m - a.dragStart) / SizeOf(axis) * a.scale;
            if (!a.elastic)
            {
                if (position < a.minimum)
                    position = a.minimum;
                if (position > a.maximum)
                    position = a.maximum;
            }
            if (position != a.position)
            {
                a.position = position;
                changed = true;
            }
            TakeSample(axis, m, now);
            break;
        }
        }
    }
    return changed;
}

bool EngScroller::Tick()
{
    if (!on)
        return false;
    double now = EngFrameTiming.currentTime;
    if (tapTime > 0)
    {
        if (now - tapTime > kTapEndSeconds)
        {
            tapTime = 0;
            if (tapCallback)
                tapCallback(0, tapCount, tapX, tapY, tapUser);
        }
        return true;
    }
    float frameTime = EngFrameTiming.frameTime;
    bool changed = false;
    for (int axis = 0; axis < 2; axis++)
    {
        _EngScrollerAxis &a = axes[axis];
        if (!a.enabled)
            continue;
        if (a.state == AXIS_DRAG)
            TakeSample(axis, MouseOf(axis, mouseX, mouseY), now);
        if (a.velocity != 0.0f)
        {
            float before = a.position;
            a.position -= a.velocity * frameTime * a.scale / SizeOf(axis) * a.range;
            if (a.position > a.maximum + a.overscroll)
            {
                a.position = a.maximum + a.overscroll;
                a.velocity = 0.0f;
            }
            else if (a.position < a.minimum - a.overscroll)
            {
                a.position = a.minimum - a.overscroll;
                a.velocity = 0.0f;
            }
            float slowed = a.velocity - a.velocity * friction * frameTime;
            a.velocity = (slowed > 0.0f) == (a.velocity > 0.0f) ? slowed : 0.0f;
            // Friction alone only ever halves the speed: below a crawl of a tenth of a
            // unit a second the axis stops, so that ticks stop reporting changes.
            if (std::fabs(a.velocity * a.scale / SizeOf(axis) * a.range) < kStopUnitsPerSecond)
                a.velocity = 0.0f;
            changed = changed || a.position != before;
        }
        if (a.state == AXIS_IDLE)
        {
            if (a.position < a.minimum)
            {
                float step = (a.minimum - a.position + 1.0f) * a.spring * frameTime;
                a.position = a.position + step > a.minimum ? a.minimum : a.position + step;
                changed = true;
            }
            else if (a.position > a.maximum)
            {
                float step = (a.position - a.maximum + 1.0f) * a.spring * frameTime;
                a.position = a.position - step < a.maximum ? a.maximum : a.position - step;
                changed = true;
            }
        }
    }
    return changed;
}

void EngScroller::SimulateTap(float x, float y)
{
    HandlePress(false, true, x, y, false, true);
    HandlePress(false, false, x, y, false, true);
}
