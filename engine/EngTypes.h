// Basic types shared by every layer: four-letter codes, vectors, colours and
// rectangles of the 640x480 virtual screen.
#pragma once
#include <cstdint>

// Four characters packed into 32 bits, the first in the most significant byte.
constexpr int32_t EngFourCC(const char (&code)[5])
{
    return (int32_t)(((uint32_t)(uint8_t)code[0] << 24) | ((uint32_t)(uint8_t)code[1] << 16) |
                     ((uint32_t)(uint8_t)code[2] << 8) | (uint32_t)(uint8_t)code[3]);
}

// The engine's fixed-width integer names.
typedef int8_t EngInt8;
typedef uint8_t EngUInt8;
typedef int16_t EngInt16;
typedef uint16_t EngUInt16;
typedef int32_t EngInt32;
typedef uint32_t EngUInt32;

typedef int32_t EngResultCode;
typedef int32_t ScreenId;

struct _Vector2d
{
    float x, y;
};

struct _Vector3d
{
    float x, y, z;
};

struct _Dimension
{
    float x, y, w, h;
};

struct _ColourRGB
{
    float r, g, b;
};

struct _ColourRGBA
{
    float r, g, b, a;
};
