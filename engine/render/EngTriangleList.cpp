// Triangle lists: the portable front end, forwarding to the DX9 part when the program's
// device type is DX9.
#include "EngTriangleList.h"

#include "EngDevice.h"

namespace
{
bool IsDX9()
{
    return EngDeviceGetMainType() == ENG_DEVICE_DX9;
}
} // namespace

EngTriangleList::EngTriangleList()
    : created(0), type(0), texture(nullptr), triangleCount(0), stride(0), buffer(nullptr), fvf(0)
{
    if (IsDX9())
        Init_DX9();
}

EngTriangleList::~EngTriangleList()
{
    Destroy();
}

bool EngTriangleList::Create(int newType, EngTexture *newTexture, unsigned int count)
{
    return IsDX9() ? Create_DX9(newType, newTexture, count) : false;
}

void EngTriangleList::SetPositions(unsigned int index, float x1, float y1, float z1, float x2, float y2, float z2,
                                   float x3, float y3, float z3)
{
    if (!IsDX9())
        return;
    const _Vector3d p1 = {x1 / 320.0f - 1.0f, 1.0f - y1 / 240.0f, z1};
    const _Vector3d p2 = {x2 / 320.0f - 1.0f, 1.0f - y2 / 240.0f, z2};
    const _Vector3d p3 = {x3 / 320.0f - 1.0f, 1.0f - y3 / 240.0f, z3};
    SetPositionsP_DX9(index, &p1, &p2, &p3);
}

void EngTriangleList::SetColour(unsigned int index, float r, float g, float b, float a)
{
    if (IsDX9())
        SetColour_DX9(index, r, g, b, a);
}

void EngTriangleList::Draw()
{
    if (IsDX9())
        Draw_DX9();
}

void EngTriangleList::Destroy()
{
    // The buffer is let go whatever the device type is now.
    Destroy_DX9();
}
