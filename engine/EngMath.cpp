// Small numeric helpers and the 4x4 matrix.
#include "EngMath.h"

#include <climits>
#include <cmath>
#include <cstring>

#include "EngDebug.h"
#include "EngMisc.h"

static const float s_identity[16] = {1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1};

int32_t EngMathAbsInt(int32_t value)
{
    if (value == INT32_MIN)
        return value;
    return value < 0 ? -value : value;
}

float EngMathAbsFloat(float value)
{
    return value < 0 ? -value : value;
}

// Beyond these a double has no int32 to go to; NaN fails both comparisons.
static const double kIntLow = -2147483648.0;
static const double kIntHigh = 2147483647.0;

// Outside the int range (or NaN) the conversion itself would be undefined: report it
// under the caller's name and hand back the nearest bound (0 for NaN).
static int32_t EngMathOutOfIntRange(const char *function, double value)
{
    DebugError(function, "Value %g is outside the int range.", value);
    if (std::isnan(value))
        return 0;
    return value > 0 ? INT32_MAX : INT32_MIN;
}

// The nearest integer with an exact half toward zero, worked in double (exact for every
// float and every int32) and in 64 bits, so that the step to the next integer cannot wrap.
static int32_t EngMathRoundToInt(const char *function, double value)
{
    if (!(value > kIntLow - 1.0 && value < kIntHigh + 1.0))
        return EngMathOutOfIntRange(function, value);
    int64_t rounded;
    if (value > 0)
    {
        double whole = std::trunc(value);
        rounded = (int64_t)whole + (value - whole > 0.5 ? 1 : 0);
    }
    else
    {
        double negated = -value;
        double whole = std::trunc(negated);
        rounded = -(int64_t)whole - (negated - whole > 0.5 ? 1 : 0);
    }
    if (rounded < INT32_MIN || rounded > INT32_MAX)
        return EngMathOutOfIntRange(function, value);
    return (int32_t)rounded;
}

int32_t EngMathRoundDoubleToInt(double value)
{
    return EngMathRoundToInt(ENG_FUNC, value);
}

int32_t EngMathRoundFloatToInt(float value)
{
    return EngMathRoundToInt(ENG_FUNC, value);
}

int32_t EngMathTruncDoubleToInt(double value)
{
    if (!(value > kIntLow - 1.0 && value < kIntHigh + 1.0))
        return EngMathOutOfIntRange(ENG_FUNC, value);
    return (int32_t)value;
}

int32_t EngMathClampInt(int32_t value, int32_t low, int32_t high)
{
    int32_t raised = value < low ? low : value;
    return raised > high ? high : raised;
}

float EngMathGetLogarithmicValueRangeZeroToOne(float x)
{
    if (x == 0)
        return x;
    if (x < 0)
        DebugNoteInFunction(DEBUG_NOTE_STANDARD, ENG_FUNC, "Warning: Value is negative.");
    if (x > 1.0f)
        DebugNoteInFunction(DEBUG_NOTE_STANDARD, ENG_FUNC, "Warning: Value is > 1.0.");
    return (float)(((double)(float)std::exp((double)x) - 1.0) / 1.7182817459106445);
}

float EngMathGetLogarithmicValueRangeZeroToOneTwice(float x)
{
    return EngMathGetLogarithmicValueRangeZeroToOne(EngMathGetLogarithmicValueRangeZeroToOne(x));
}

void EngMathNormaliseVector3(_Vector3d *vector)
{
    if (!vector)
        return;
    double length = std::sqrt((double)vector->x * vector->x + (double)vector->y * vector->y +
                              (double)vector->z * vector->z);
    if (length == 0)
        return;
    vector->x = (float)(vector->x / length);
    vector->y = (float)(vector->y / length);
    vector->z = (float)(vector->z / length);
}

int32_t EngMathRange3HasValues(const _Vector3dRange *range)
{
    if (!range)
        return 0;
    const float pairs[3][2] = {{range->minX, range->maxX}, {range->minY, range->maxY}, {range->minZ, range->maxZ}};
    for (const auto &pair : pairs)
    {
        if (pair[0] == 0 && pair[1] == 0)
            continue;
        if (pair[1] >= pair[0])
            return 1;
    }
    return 0;
}

void EngMathGetRandomVector3FromRange3(_Vector3d *out, const _Vector3dRange *range)
{
    if (!out || !range)
        return;
    out->x = EngMiscRandFloatRange(range->minX, range->maxX, false);
    out->y = EngMiscRandFloatRange(range->minY, range->maxY, false);
    out->z = EngMiscRandFloatRange(range->minZ, range->maxZ, false);
}

static int32_t EngMathLerp(const float *a, const float *b, float t, float *out, int32_t count)
{
    if (!out)
        return 0;
    if (!a || !b)
        return 1;
    bool same = true;
    for (int32_t i = 0; i < count; i++)
        same = same && a[i] == b[i];
    for (int32_t i = 0; i < count; i++)
        out[i] = same ? a[i] : a[i] + (b[i] - a[i]) * t;
    return 1;
}

int32_t EngMathLerpVector3(const float *a, const float *b, float t, float *out)
{
    return EngMathLerp(a, b, t, out, 3);
}

int32_t EngMathLerpVector4(const float *a, const float *b, float t, float *out)
{
    return EngMathLerp(a, b, t, out, 4);
}

// ---- EngMatrix -----------------------------------------------------------------------

// result = a x b; result may not alias a or b.
static void EngMatrixProduct(const float *a, const float *b, float *result)
{
    for (int r = 0; r < 4; r++)
        for (int c = 0; c < 4; c++)
        {
            float sum = 0;
            for (int k = 0; k < 4; k++)
                sum += a[r * 4 + k] * b[k * 4 + c];
            result[r * 4 + c] = sum;
        }
}

EngMatrix::EngMatrix()
{
    memcpy(m, s_identity, sizeof(m));
}

EngMatrix::EngMatrix(const EngMatrix &other)
{
    memcpy(m, other.m, sizeof(m));
}

EngMatrix &EngMatrix::operator=(const EngMatrix &other)
{
    if (this != &other)
        memcpy(m, other.m, sizeof(m));
    return *this;
}

EngMatrix *EngMatrix::SetToIdentity()
{
    memcpy(m, s_identity, sizeof(m));
    return this;
}

EngMatrix *EngMatrix::SetToTranslation(float x, float y, float z)
{
    SetToIdentity();
    m[12] = x;
    m[13] = y;
    m[14] = z;
    return this;
}

EngMatrix *EngMatrix::SetToScale(float sx, float sy, float sz)
{
    SetToIdentity();
    m[0] = sx;
    m[5] = sy;
    m[10] = sz;
    return this;
}

EngMatrix *EngMatrix::SetToScaleFromVector(const _Vector3d *scale)
{
    SetToIdentity();
    if (scale)
    {
        m[0] = scale->x;
        m[5] = scale->y;
        m[10] = scale->z;
    }
    return this;
}

EngMatrix *EngMatrix::SetToRotationZ(float angle)
{
    SetToIdentity();
    float c = std::cos(angle), s = std::sin(angle);
    m[0] = c;
    m[1] = s;
    m[4] = -s;
    m[5] = c;
    return this;
}

EngMatrix *EngMatrix::SetToRotation(float x, float y, float z)
{
    float cx = std::cos(x), sx = std::sin(x);
    float cy = std::cos(y), sy = std::sin(y);
    float cz = std::cos(z), sz = std::sin(z);
    SetToIdentity();
    m[0] = cz * cy;
    m[1] = -cy * sz;
    m[2] = sy;
    m[4] = sy * sx * cz + sz * cx;
    m[5] = cz * cx - sy * sx * sz;
    m[6] = -sx * cy;
    m[8] = sz * sx - sy * cx * cz;
    m[9] = sx * cz + sz * sy * cx;
    m[10] = cy * cx;
    return this;
}

EngMatrix *EngMatrix::SetToRotationFromVector(const _Vector3d *angles)
{
    if (!angles)
        return SetToIdentity();
    return SetToRotation(angles->x, angles->y, angles->z);
}

void EngMatrix::MultiplyBy(const EngMatrix *other)
{
    if (!other)
        return;
    float result[16];
    EngMatrixProduct(m, other->m, result);
    memcpy(m, result, sizeof(m));
}

EngMatrix *EngMatrix::PreMultiplyBy(const EngMatrix *other)
{
    if (!other)
        return this;
    float result[16];
    EngMatrixProduct(other->m, m, result);
    memcpy(m, result, sizeof(m));
    return this;
}

void EngMatrix::CopyTo(EngMatrix *out) const
{
    if (out)
        memcpy(out->m, m, sizeof(m));
}

EngMatrix *EngMatrix::CopyFrom(const EngMatrix *source)
{
    if (!source)
        return nullptr;
    memcpy(m, source->m, sizeof(m));
    return this;
}

EngMatrix *EngMatrixMultiply(const EngMatrix *a, const EngMatrix *b, EngMatrix *out)
{
    if (!a || !b || !out)
        return nullptr;
    float result[16];
    EngMatrixProduct(a->m, b->m, result);
    memcpy(out->m, result, sizeof(result));
    return out;
}
