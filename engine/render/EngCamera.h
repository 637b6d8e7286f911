// A small 3D viewpoint that a drawing module sets up around its own 3D drawing and
// restores afterwards: it saves the device's 2D mode, lighting, culling and projection,
// applies its own aspect, clip distances and a look-at view with the z axis up, and
// moves itself each tick by a velocity, a timed move between two points or a pan.
// The owner writes the fields directly.
#pragma once
#include <cstdint>

#include "EngTypes.h"

class Camera
{
public:
    Camera();

    // False without a device; a second call reports 'ALSU' and keeps the first state.
    bool SetupView();
    void RestoreView();
    // Once per frame, before drawing; steps by the frame time.
    void Tick();

    uint8_t viewSet;
    uint8_t saved2D, savedLighting, savedTwoSided;
    float savedAspect, savedNear, savedFar;

    uint8_t velocityOn;
    _Vector3d velocity; // units per second

    uint8_t moveOn;
    float moveSpeed; // progress per second
    _Vector3d moveStart, moveEnd;
    float moveProgress; // 0 to 1

    uint8_t panOn;
    _Vector3d panSpeed; // units per second, eye and target together

    float nearPlane, farPlane, aspect;
    _Vector3d eye, target;
};
