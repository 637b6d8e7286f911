// The camera: the device state saved and given back, and its movement per tick.
#include <gtest/gtest.h>

#include "EngCamera.h"
#include "EngDebug.h"
#include "RenderTestkit.h"

namespace
{
class CameraTest : public rendertest::RenderTest
{
protected:
    void Ticks(int count)
    {
        for (int i = 0; i < count; i++)
            camera.Tick();
    }
    Camera camera;
};
} // namespace

TEST_F(CameraTest, ViewSavesAndRestoresTheDeviceState)
{
    float zNear = 0, zFar = 0;
    device->GetNearAndFarPlanes(&zNear, &zFar);
    const float aspect = device->GetPerspectiveAspect();
    camera.aspect = 2.0f;
    camera.nearPlane = zNear;
    camera.farPlane = zFar * 2;
    device->PrepareFor2D(true);
    ASSERT_TRUE(camera.SetupView());
    EXPECT_FALSE(device->IsPreparedFor2D());
    EXPECT_FALSE(device->IsLightingOn());
    EXPECT_TRUE(device->AreTwoSidedPolygonsShown());
    EXPECT_EQ(2.0f, device->GetPerspectiveAspect());
    EXPECT_TRUE(camera.SetupView());
    EXPECT_TRUE(LogHas(DebugGetResultCodeText(EngFourCC("ALSU"))));
    camera.RestoreView();
    EXPECT_TRUE(device->IsPreparedFor2D());
    EXPECT_FALSE(device->AreTwoSidedPolygonsShown());
    EXPECT_EQ(aspect, device->GetPerspectiveAspect());
    float restoredFar = 0;
    device->GetNearAndFarPlanes(nullptr, &restoredFar);
    EXPECT_EQ(zFar, restoredFar);
    device->RestoreAfter2D();
    DebugClearMessages();
    camera.RestoreView();
    EXPECT_TRUE(LogHas(DebugGetResultCodeText(EngFourCC("NSTP"))));

    // A camera with the device's own projection changes only the view.
    camera.aspect = aspect;
    camera.farPlane = zFar;
    recorder->Clear();
    ASSERT_TRUE(camera.SetupView());
    int projections = 0;
    for (const PlatD3dRecord &record : recorder->records)
        if (record.kind == PLAT_REC_TRANSFORM && record.a == PLAT_TS_PROJECTION)
            projections++;
    EXPECT_EQ(0, projections);
    EXPECT_NE(nullptr, recorder->Last(PLAT_REC_TRANSFORM));
    camera.RestoreView();
}

TEST_F(CameraTest, MovesByVelocityTimedMoveAndPan)
{
    EngFrameTiming.frameTime = 0.25f;
    camera.moveOn = 1;
    camera.moveSpeed = 0.5f;
    camera.moveStart = {0, 0, 0};
    camera.moveEnd = {4, 8, 0};
    Ticks(4);
    EXPECT_TRUE(camera.moveOn);
    EXPECT_FLOAT_EQ(1.5f, camera.eye.x); // the progress before the tick: 0.375
    Ticks(4);
    EXPECT_FALSE(camera.moveOn);
    EXPECT_FLOAT_EQ(4.0f, camera.eye.x);
    EXPECT_FLOAT_EQ(8.0f, camera.eye.y);

    camera.panOn = 1;
    camera.panSpeed = {1, 0, 0};
    camera.velocityOn = 1;
    camera.velocity = {0, 0, -2};
    Ticks(4);
    EXPECT_FLOAT_EQ(5.0f, camera.eye.x);
    EXPECT_FLOAT_EQ(1.0f, camera.target.x);
    EXPECT_FLOAT_EQ(-2.0f, camera.eye.z);
    EXPECT_FLOAT_EQ(0.0f, camera.target.z);
}
