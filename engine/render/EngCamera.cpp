// The camera: saves and restores the device state around a 3D view, and moves itself
// each tick.
#include "EngCamera.h"

#include "EngDebug.h"
#include "EngDevice.h"
#include "EngMath.h"

Camera::Camera()
    : viewSet(0), saved2D(0), savedLighting(0), savedTwoSided(0), savedAspect(0), savedNear(0), savedFar(0),
      velocityOn(0), velocity{0, 0, 0}, moveOn(0), moveSpeed(0), moveStart{0, 0, 0}, moveEnd{0, 0, 0},
      moveProgress(0), panOn(0), panSpeed{0, 0, 0}, nearPlane(0), farPlane(0), aspect(0), eye{0, -1, 100},
      target{0, 0, 0}
{
}

bool Camera::SetupView()
{
    if (viewSet)
    {
        DebugErrorCode(ENG_FUNC, EngFourCC("ALSU"));
        return true;
    }
    EngDevice *device = EngMainDevice;
    if (!device)
        return false;
    saved2D = device->RestoreAfter2DIfPrepared() ? 1 : 0;
    savedLighting = device->TurnOffLightingIfOn() ? 1 : 0;
    savedTwoSided = device->SetTwoSidedPolygons(true) ? 1 : 0;
    savedAspect = device->GetPerspectiveAspect();
    device->GetNearAndFarPlanes(&savedNear, &savedFar);
    if (aspect != savedAspect || nearPlane != savedNear || farPlane != savedFar)
    {
        if (aspect != savedAspect)
            device->SetPerspectiveAspect(aspect, false);
        if (nearPlane != savedNear || farPlane != savedFar)
            device->SetNearAndFarPlanes(nearPlane, farPlane, false);
        device->UpdatePerspectiveMatrix();
    }
    device->SetViewMatrixLookAt(&eye, &target);
    viewSet = 1;
    return true;
}

void Camera::RestoreView()
{
    EngDevice *device = EngMainDevice;
    if (!device)
    {
        if (viewSet)
        {
            DebugErrorCode(ENG_FUNC, EngFourCC("IERR"));
            viewSet = 0;
        }
        return;
    }
    if (!viewSet)
    {
        DebugErrorCode(ENG_FUNC, EngFourCC("NSTP"));
        return;
    }
    if (aspect != savedAspect || nearPlane != savedNear || farPlane != savedFar)
    {
        if (aspect != savedAspect)
            device->SetPerspectiveAspect(savedAspect, false);
        if (nearPlane != savedNear || farPlane != savedFar)
            device->SetNearAndFarPlanes(savedNear, savedFar, false);
        device->UpdatePerspectiveMatrix();
    }
    device->SetTwoSidedPolygons(savedTwoSided != 0);
    if (saved2D)
        device->PrepareFor2D(savedLighting != 0);
    else if (savedLighting)
        device->TurnOnLighting();
    viewSet = 0;
}

void Camera::Tick()
{
    const float dt = EngFrameTiming.frameTime;
    if (velocityOn)
    {
        if (velocity.x != 0.0f)
            eye.x += velocity.x * dt;
        if (velocity.y != 0.0f)
            eye.y += velocity.y * dt;
        if (velocity.z != 0.0f)
            eye.z += velocity.z * dt;
    }
    if (moveOn)
    {
        EngMathLerpVector3(&moveStart.x, &moveEnd.x, moveProgress, &eye.x);
        moveProgress += moveSpeed * dt;
        if (moveProgress >= 1.0f)
        {
            moveOn = 0;
            eye = moveEnd;
        }
    }
    if (panOn)
    {
        if (panSpeed.x != 0.0f)
        {
            eye.x += panSpeed.x * dt;
            target.x += panSpeed.x * dt;
        }
        if (panSpeed.y != 0.0f)
        {
            eye.y += panSpeed.y * dt;
            target.y += panSpeed.y * dt;
        }
        if (panSpeed.z != 0.0f)
        {
            eye.z += panSpeed.z * dt;
            target.z += panSpeed.z * dt;
        }
    }
}
