// Small numeric helpers shared by the whole program: absolute values, rounding,
// clamping, the logarithmic volume curve, 3-vectors and the 4x4 matrix `EngMatrix`.
// Matrices act on row vectors (p' = p x M), translation in elements 12, 13, 14.
#pragma once
#include "EngTypes.h"

// For each axis a (min, max) pair: min x, max x, min y, max y, min z, max z.
struct _Vector3dRange
{
    float minX, maxX, minY, maxY, minZ, maxZ;
};

int32_t EngMathAbsInt(int32_t value);
float EngMathAbsFloat(float value);
// The nearest integer; an exact half goes toward zero (2.5 -> 2, -2.5 -> -2). NaN, the
// infinities and values whose nearest integer is outside the int32 range are logged as
// errors and give 0 (NaN) or the nearest bound (INT32_MIN, INT32_MAX).
int32_t EngMathRoundFloatToInt(float value);
int32_t EngMathRoundDoubleToInt(double value);
// Truncated toward zero, with the same checks and safe values as the rounding.
int32_t EngMathTruncDoubleToInt(double value);
// min(max(value, low), high): the high bound wins when the bounds cross.
int32_t EngMathClampInt(int32_t value, int32_t low, int32_t high);
// (e^x - 1) / (e - 1): 0 -> 0, 1 -> 1, rising slowly at first; values outside 0..1
// are noted in the log and still computed.
float EngMathGetLogarithmicValueRangeZeroToOne(float x);
float EngMathGetLogarithmicValueRangeZeroToOneTwice(float x);
// Scales to length 1; NULL or a zero vector is left as it is.
void EngMathNormaliseVector3(_Vector3d *vector);
// 1 when some axis (tested x, y, z; an axis of (0, 0) skipped) has max >= min.
int32_t EngMathRange3HasValues(const _Vector3dRange *range);
// Each component a random value in its axis' range.
void EngMathGetRandomVector3FromRange3(_Vector3d *out, const _Vector3dRange *range);
// out = a + (b - a) t per component (t not clamped); 0 only when out is NULL.
int32_t EngMathLerpVector3(const float *a, const float *b, float t, float *out);
int32_t EngMathLerpVector4(const float *a, const float *b, float t, float *out);

class EngMatrix
{
public:
    EngMatrix();
    EngMatrix(const EngMatrix &other);
    EngMatrix &operator=(const EngMatrix &other);

    EngMatrix *SetToIdentity();
    EngMatrix *SetToTranslation(float x, float y, float z);
    EngMatrix *SetToScale(float sx, float sy, float sz);
    EngMatrix *SetToScaleFromVector(const _Vector3d *scale);
    EngMatrix *SetToRotationZ(float angle);
    // Angles in radians: one matrix for the rotations about x, y and z together.
    EngMatrix *SetToRotation(float x, float y, float z);
    EngMatrix *SetToRotationFromVector(const _Vector3d *angles);
    // this := this x m (apply this, then m); NULL changes nothing.
    void MultiplyBy(const EngMatrix *m);
    // this := m x this (apply m, then this); NULL changes nothing.
    EngMatrix *PreMultiplyBy(const EngMatrix *m);
    void CopyTo(EngMatrix *out) const;
    // NULL (and no change) for a NULL source.
    EngMatrix *CopyFrom(const EngMatrix *source);

    float m[16]; // row by row
};

// out = a x b: a point transformed by out is transformed by a, then by b. NULL when
// any argument is NULL; out may be a or b.
EngMatrix *EngMatrixMultiply(const EngMatrix *a, const EngMatrix *b, EngMatrix *out);
