// Render state through the recording executor: what reaches the device (cached writes),
// the matrix stacks, 2D mode, blending and its save slot, crop, and the re-application
// of the cached state to a new device.
#include "DeviceFixture.h"

#include "EngMath.h"

namespace
{

using devicetest::DeviceTest;

class EngDeviceStateTest : public DeviceTest
{
protected:
    void SetUp() override
    {
        DeviceTest::SetUp();
        ASSERT_TRUE(MakeDevice());
    }
    int Writes(PlatD3dRenderState state) { return recorder->CountRenderState(state); }
};

TEST_F(EngDeviceStateTest, BlendingWritesOnlyWhatChanges)
{
    device->EnableBlendingType(0);
    device->EnableBlendingType(0);
    EXPECT_EQ(Writes(PLAT_RS_SRCBLEND), 1);
    EXPECT_EQ(Writes(PLAT_RS_DESTBLEND), 1);
    EXPECT_EQ(Writes(PLAT_RS_ALPHABLENDENABLE), 1);
    recorder->Clear();
    device->EnableBlendingType(8);
    EXPECT_EQ(Writes(PLAT_RS_SRCBLEND), 0);
    EXPECT_EQ(Writes(PLAT_RS_DESTBLEND), 1);
    EXPECT_EQ(recorder->Last(PLAT_REC_RENDER_STATE)->b, (uint32_t)PLAT_BLEND_ONE);
    EXPECT_EQ(Writes(PLAT_RS_ALPHABLENDENABLE), 0);

    recorder->Clear();
    for (int type : {19, -1})
    {
        device->EnableBlendingType(type);
        EXPECT_TRUE(LogHas("Invalid Blending Type " + std::to_string(type)));
    }
    EXPECT_TRUE(recorder->records.empty());
    bool enabled = false;
    int source = 0, destination = 0;
    EXPECT_TRUE(device->GetBlendingState(&enabled, &source, &destination));
    EXPECT_EQ(source, PLAT_BLEND_SRCALPHA);
    EXPECT_EQ(destination, PLAT_BLEND_ONE);
}

TEST_F(EngDeviceStateTest, LightingDepthAndCullingAreCached)
{
    device->TurnOnLighting();
    EXPECT_EQ(Writes(PLAT_RS_LIGHTING), 0);
    EXPECT_TRUE(device->TurnOffLightingIfOn());
    EXPECT_FALSE(device->TurnOffLightingIfOn());
    EXPECT_EQ(Writes(PLAT_RS_LIGHTING), 1);

    EXPECT_TRUE(device->SuspendZBufferIfOn());
    EXPECT_FALSE(device->SuspendZBufferIfOn());
    device->ResumeZBuffer();
    device->ResumeZBuffer();
    EXPECT_EQ(Writes(PLAT_RS_ZENABLE), 2);

    device->ShowTwoSidedPolygons(false);
    EXPECT_TRUE(LogHas("Flag already set to 0"));
    EXPECT_FALSE(device->SetTwoSidedPolygons(true));
    EXPECT_TRUE(device->SetTwoSidedPolygons(true));
    EXPECT_EQ(Writes(PLAT_RS_CULLMODE), 1);
    EXPECT_EQ(recorder->Last(PLAT_REC_RENDER_STATE)->b, (uint32_t)PLAT_CULL_NONE);
}

TEST_F(EngDeviceStateTest, TransformStackHoldsTenAndRestoresInOrder)
{
    for (int i = 0; i < 11; i++)
    {
        device->SetTransformMatrixToTranslation((float)i, 0.0f, 0.0f);
        device->PushTransformMatrix();
    }
    EXPECT_TRUE(LogHas("Too many pushes"));
    for (int i = 0; i < 10; i++)
        device->PopTransformMatrix();
    float world[16];
    device->GetTransformMatrixAsDxMatrix(world);
    EXPECT_EQ(world[12], 0.0f);
    EXPECT_FALSE(LogHas("Not pushed"));
    device->PopTransformMatrix();
    EXPECT_TRUE(LogHas("Not pushed"));
}

TEST_F(EngDeviceStateTest, TwoDModeSetsIdentitiesAndComesBack)
{
    device->SetTransformMatrixToTranslation(1.0f, 2.0f, 3.0f);
    recorder->Clear();
    device->PrepareFor2D(true);
    EXPECT_TRUE(device->IsPreparedFor2D());
    EXPECT_FALSE(device->IsLightingOn());
    EXPECT_EQ(recorder->CountKind(PLAT_REC_TRANSFORM), 3);
    const PlatD3dRecord *last = recorder->Last(PLAT_REC_TRANSFORM);
    EXPECT_EQ(last->matrix.m[12], 0.0f);
    EXPECT_EQ(Writes(PLAT_RS_ZENABLE), 1);
    device->PrepareFor2D(true);
    EXPECT_TRUE(LogHas("Already Called"));
    EXPECT_FALSE(device->PrepareFor2DIfNotPrepared(true));

    device->RestoreAfter2D();
    EXPECT_TRUE(device->IsLightingOn());
    float world[16];
    device->GetTransformMatrixAsDxMatrix(world);
    EXPECT_EQ(world[13], 2.0f);
    device->RestoreAfter2D();
    EXPECT_TRUE(LogHas("Not prepared"));
    EXPECT_FALSE(device->RestoreAfter2DIfPrepared());
}

TEST_F(EngDeviceStateTest, BlendingSaveSlotHoldsOneState)
{
    device->EnableBlendingType(3);
    EXPECT_TRUE(device->SaveOrRestoreBlendingState(true));
    EXPECT_FALSE(device->SaveOrRestoreBlendingState(true));
    EXPECT_TRUE(LogHas("Already saved"));
    device->DisableBlending();
    device->EnableBlendingType(10);
    EXPECT_TRUE(device->SaveOrRestoreBlendingState(false));
    bool enabled = false;
    int source = 0, destination = 0;
    device->GetBlendingState(&enabled, &source, &destination);
    EXPECT_TRUE(enabled);
    EXPECT_EQ(source, PLAT_BLEND_ONE);
    EXPECT_EQ(destination, PLAT_BLEND_SRCALPHA);
    EXPECT_FALSE(device->SaveOrRestoreBlendingState(false));
    EXPECT_TRUE(LogHas("Not saved"));
}

TEST_F(EngDeviceStateTest, DimmingLeavesTheSaveSlotToOthers)
{
    // Text drawing holds the slot while the screen is dimmed under it.
    device->EnableBlendingType(10);
    ASSERT_TRUE(device->SaveOrRestoreBlendingState(true));
    device->DisableBlending();
    ASSERT_TRUE(device->BeginRendering());
    EngDimScreen(0.5f);
    EXPECT_FALSE(LogHas("Already saved"));
    EXPECT_FALSE(device->GetBlendingState(nullptr, nullptr, nullptr));
    EXPECT_EQ(recorder->CountKind(PLAT_REC_DRAW), 1);
    EXPECT_TRUE(device->SaveOrRestoreBlendingState(false));
    EXPECT_TRUE(device->GetBlendingState(nullptr, nullptr, nullptr));
}

TEST_F(EngDeviceStateTest, ClearColourPerspectiveAndPositions)
{
    device->SetClearColour(1.0f, 0.5f, 0.0f);
    device->ClearScreen();
    EXPECT_EQ(recorder->Last(PLAT_REC_CLEAR)->b, 0xFFFF7F00u);

    device->SetPerspectiveAspect(0.0f, true);
    EXPECT_TRUE(LogHas("Bad Aspect [ 0.000]"));
    EXPECT_EQ(device->GetPerspectiveAspect(), 1.0f);
    // Planes that would give infinities are refused and the old ones kept.
    device->SetNearAndFarPlanes(0.0f, 10.0f, true);
    device->SetNearAndFarPlanes(5.0f, 5.0f, true);
    float zNear = 0, zFar = 0;
    device->GetNearAndFarPlanes(&zNear, &zFar);
    EXPECT_EQ(zNear, 0.01f);
    EXPECT_EQ(zFar, 100.0f);
    _Vector3d eye = {1, 1, 1};
    recorder->Clear();
    device->SetViewMatrixLookAt(&eye, &eye);
    EXPECT_TRUE(LogHas("Bad view"));
    EXPECT_EQ(recorder->CountKind(PLAT_REC_TRANSFORM), 0);

    float world[16];
    device->SetTransformMatrixToPositionAndRotation(nullptr, nullptr);
    device->GetTransformMatrixAsDxMatrix(world);
    EXPECT_EQ(world[0], 1.0f);
    EXPECT_EQ(world[12], 0.0f);
    _Vector3d position = {1, 2, 3}, rotation = {0, 0, 0};
    device->SetTransformMatrixToPositionAndRotation(&position, &rotation);
    device->GetTransformMatrixAsDxMatrix(world);
    EXPECT_EQ(world[12], 1.0f);
    EXPECT_EQ(world[13], 2.0f);
    EXPECT_EQ(world[14], 3.0f);
}

TEST_F(EngDeviceStateTest, CropAndViewportInPixels)
{
    delete device;
    device = nullptr;
    ASSERT_TRUE(MakeDevice(1280, 960));
    device->TurnOffCrop();
    EXPECT_TRUE(LogHas("Crop is not on."));
    EXPECT_EQ(Writes(PLAT_RS_SCISSORTESTENABLE), 1);
    device->TurnOnCrop(10.25f, 20.0f, 100.0f, 50.0f);
    const PlatD3dRecord *scissor = recorder->Last(PLAT_REC_SCISSOR);
    ASSERT_NE(scissor, nullptr);
    EXPECT_EQ(scissor->rect.left, 20);
    EXPECT_EQ(scissor->rect.top, 40);
    EXPECT_EQ(scissor->rect.right, 220);
    EXPECT_EQ(scissor->rect.bottom, 140);
    EXPECT_TRUE(device->IsCropOn());

    const float ratioed[4] = {0, 0, 320, 240};
    device->SetViewportToRatioedRect(ratioed);
    const PlatD3dRecord *viewport = recorder->Last(PLAT_REC_VIEWPORT);
    EXPECT_EQ(viewport->viewport.width, 640u);
    EXPECT_EQ(viewport->viewport.height, 480u);
    EXPECT_FALSE(device->IsViewportFullScreen());
    device->SetViewportToRatioedRect(nullptr);
    EXPECT_EQ(recorder->Last(PLAT_REC_VIEWPORT)->viewport.width, 1280u);
    EXPECT_TRUE(device->IsViewportFullScreen());
}

TEST_F(EngDeviceStateTest, CachedStateReachesANewDevice)
{
    device->EnableBlendingType(3);
    device->SetTextureQuality(0);
    device->SetTwoSidedPolygons(true);
    bool changed = false;
    device->EnsureAlphaModulateDiffuse(&changed);
    EXPECT_TRUE(changed);
    device->PushTransformMatrix();
    // What a new device gets: the cache written again, stacks and culling reset.
    Back()->RestoreRenderStates();
    EXPECT_EQ(Writes(PLAT_RS_SRCBLEND), 2);
    EXPECT_EQ(recorder->Last(PLAT_REC_MATERIAL)->material.diffuse.r, 1.0f);
    const PlatD3dRecord *filter = recorder->Last(PLAT_REC_SAMPLER_STATE);
    EXPECT_EQ(filter->c, (uint32_t)PLAT_TEXF_POINT);
    int alphaOps = 0;
    for (const PlatD3dRecord &record : recorder->records)
        if (record.kind == PLAT_REC_STAGE_STATE && record.a == 0 && record.b == PLAT_TSS_ALPHAOP)
        {
            alphaOps++;
            EXPECT_EQ(record.c, (uint32_t)PLAT_TOP_MODULATE);
        }
    EXPECT_EQ(alphaOps, 2);
    EXPECT_FALSE(device->AreTwoSidedPolygonsShown());

    // Blending off at restore: the switch is written off and the factors forgotten.
    device->DisableBlending();
    recorder->Clear();
    Back()->RestoreRenderStates();
    EXPECT_EQ(Writes(PLAT_RS_SRCBLEND), 0);
    EXPECT_EQ(Writes(PLAT_RS_ALPHABLENDENABLE), 1);
    device->EnableBlendingType(3);
    EXPECT_EQ(Writes(PLAT_RS_SRCBLEND), 1);
}

} // namespace
