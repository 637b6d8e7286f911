// Mouse or touch drags over an area turned into one or two scroll positions: a drag
// threshold, momentum with friction, a bounded overscroll that springs back, and taps
// counted and reported once they end. The owner feeds presses, releases and moves in
// virtual coordinates, ticks it once a frame and reads the positions back.
#pragma once
#include <cstdint>

#include "EngTypes.h"

typedef void (*EngScrollerTapFn)(int zero, int tapCount, float x, float y, int user);

struct _EngScrollerAxis
{
    bool enabled;
    float position, minimum, maximum, scale, initial;
    float threshold;     // pixels
    bool elastic;
    int state;           // 0 idle, 2 pressed, 3 tracking, 4 in drag
    float velocity;
    float startPosition, dragStart;
    float sample[2];
    double sampleTime[2];
    float range, overscroll, spring;
};

class EngScroller
{
public:
    EngScroller();

    bool TurnOn(const _Dimension *area, bool axisLock, bool xEnabled, float xPosition, float xMinimum,
                float xMaximum, float xScale, float xThreshold, bool xElastic, bool yEnabled, float yPosition,
                float yMinimum, float yMaximum, float yScale, float yThreshold, bool yElastic, float friction);
    void TurnOff() { on = false; }
    bool IsOn() const { return on; }
    void SetPositionX(float value);
    void SetPositionY(float value);
    float GetPositionX() const { return axes[0].position; }
    float GetPositionY() const { return axes[1].position; }
    int GetState(int axis) const { return axes[axis & 1].state; }
    float GetVelocity(int axis) const { return axes[axis & 1].velocity; }
    void SetTapCallback(EngScrollerTapFn callback, int user) { tapCallback = callback; tapUser = user; }
    // Fling on release (large-screen devices in the original; switchable here).
    void SetFlingOnRelease(bool on) { fling = on; }

    bool HandlePress(bool ignore, bool pressed, float x, float y, bool skip, bool tapAllowed);
    bool HandleMouseMove(float x, float y, bool ignore);
    bool Tick();
    void SimulateTap(float x, float y);
    bool IsMouseInArea() const;
    void Reset(int axis);

private:
    bool AxisLockedOut(int axis) const;
    void TakeSample(int axis, float m, double now);
    float MouseOf(int axis, float x, float y) const { return axis == 0 ? x : y; }
    float SizeOf(int axis) const { return axis == 0 ? area.w : area.h; }

    bool on;
    _Dimension area;
    bool axisLock;
    bool fling;
    _EngScrollerAxis axes[2];
    float friction;
    float mouseX, mouseY;
    float pressX, pressY;
    double pressTime;
    bool pressedFlag;
    double tapTime;
    int tapCount;
    float tapX, tapY;
    EngScrollerTapFn tapCallback;
    int tapUser;
};
