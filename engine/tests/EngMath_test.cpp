#include "EngMath.h"

#include <gtest/gtest.h>

#include <climits>
#include <cmath>
#include <limits>

#include "EngDebug.h"

#include "Testkit.h"

using testkit::TempHomeTest;

TEST(EngMath, RoundingHalvesGoTowardZero)
{
    struct Row
    {
        float value;
        int32_t rounded;
    } rows[] = {{0.5f, 0}, {0.51f, 1}, {-0.5f, 0}, {-0.51f, -1}, {2.5f, 2}, {2.51f, 3}, {-2.5f, -2}, {-2.7f, -3}, {0, 0}};
    for (const Row &row : rows)
    {
        SCOPED_TRACE(row.value);
        EXPECT_EQ(EngMathRoundFloatToInt(row.value), row.rounded);
        EXPECT_EQ(EngMathRoundDoubleToInt(row.value), row.rounded);
    }
}

class EngMathRangeTest : public TempHomeTest
{
};

// Conversions whose result would not fit an int give a logged error and a safe value
// (0 for NaN, else the nearest bound) instead of undefined behaviour.
TEST_F(EngMathRangeTest, RoundingOutsideTheIntRangeIsReportedAndBounded)
{
    const double inf = std::numeric_limits<double>::infinity();
    struct Row
    {
        double value;
        int32_t rounded, truncated;
        bool reported;
    } rows[] = {
        {std::nan(""), 0, 0, true},
        {inf, INT32_MAX, INT32_MAX, true},
        {-inf, INT32_MIN, INT32_MIN, true},
        {3e9, INT32_MAX, INT32_MAX, true},
        {-3e9, INT32_MIN, INT32_MIN, true},
        {1e10, INT32_MAX, INT32_MAX, true},
        {2147483647.4, INT32_MAX, INT32_MAX, false},
        {2147483647.6, INT32_MAX, INT32_MAX, true}, // the truncation still fits
        {-2147483648.5, INT32_MIN, INT32_MIN, false},
        {-2147483648.6, INT32_MIN, INT32_MIN, true},
        {-7.9, -8, -7, false},
    };
    for (const Row &row : rows)
    {
        SCOPED_TRACE(row.value);
        int before = DebugGetNumMessages();
        EXPECT_EQ(EngMathRoundDoubleToInt(row.value), row.rounded);
        EXPECT_EQ(DebugGetNumMessages() > before, row.reported);
        EXPECT_EQ(EngMathTruncDoubleToInt(row.value), row.truncated);
        // Floats that far out round the same way.
        if (!(std::fabs(row.value) < 3e9))
        {
            EXPECT_EQ(EngMathRoundFloatToInt((float)row.value), row.rounded);
        }
    }
    EXPECT_EQ(EngMathRoundFloatToInt(std::nanf("")), 0);
    EXPECT_TRUE(LogHas("is outside the int range."));
}

TEST(EngMath, AbsoluteAndClamp)
{
    EXPECT_EQ(EngMathAbsInt(-7), 7);
    EXPECT_EQ(EngMathAbsInt(INT32_MIN), INT32_MIN);
    EXPECT_EQ(EngMathAbsFloat(-0.25f), 0.25f);
    EXPECT_EQ(EngMathClampInt(5, 1, 9), 5);
    EXPECT_EQ(EngMathClampInt(-5, 1, 9), 1);
    // Crossed bounds: the high one wins.
    EXPECT_EQ(EngMathClampInt(5, 10, 3), 3);
}

class EngMathLogTest : public TempHomeTest
{
};

TEST_F(EngMathLogTest, LogarithmicCurve)
{
    EXPECT_EQ(EngMathGetLogarithmicValueRangeZeroToOne(0), 0);
    EXPECT_NEAR(EngMathGetLogarithmicValueRangeZeroToOne(1), 1.0f, 1e-6f);
    EXPECT_NEAR(EngMathGetLogarithmicValueRangeZeroToOne(0.5f), 0.3775407f, 1e-6f);
    EXPECT_EQ(DebugGetNumMessages(), 0);
    float outside = EngMathGetLogarithmicValueRangeZeroToOne(1.5f);
    EXPECT_NEAR(outside, (std::exp(1.5f) - 1) / 1.7182817f, 1e-5f);
    EXPECT_TRUE(LogHas("Warning: Value is > 1.0."));
    EngMathGetLogarithmicValueRangeZeroToOne(-0.5f);
    EXPECT_TRUE(LogHas("Warning: Value is negative."));
    EXPECT_NEAR(EngMathGetLogarithmicValueRangeZeroToOneTwice(0.5f),
                EngMathGetLogarithmicValueRangeZeroToOne(0.3775407f), 1e-6f);
}

TEST(EngMath, VectorsAndRanges)
{
    _Vector3d zero = {0, 0, 0};
    EngMathNormaliseVector3(&zero);
    EXPECT_EQ(zero.x, 0);
    _Vector3d v = {3, 0, 4};
    EngMathNormaliseVector3(&v);
    EXPECT_FLOAT_EQ(v.x, 0.6f);
    EXPECT_FLOAT_EQ(v.z, 0.8f);
    EngMathNormaliseVector3(nullptr);

    _Vector3dRange none = {0, 0, 0, 0, 0, 0};
    _Vector3dRange onlyZ = {0, 0, 2, 1, 0, 3};
    _Vector3dRange crossed = {2, 1, 0, 0, 5, 4};
    EXPECT_EQ(EngMathRange3HasValues(&none), 0);
    EXPECT_EQ(EngMathRange3HasValues(&onlyZ), 1);
    EXPECT_EQ(EngMathRange3HasValues(&crossed), 0);
    EXPECT_EQ(EngMathRange3HasValues(nullptr), 0);

    float a[4] = {1, 2, 3, 0.5f}, b[4] = {3, 2, 1, 1}, out[4];
    EXPECT_EQ(EngMathLerpVector3(a, b, 2.0f, out), 1);
    EXPECT_FLOAT_EQ(out[0], 5);
    EXPECT_FLOAT_EQ(out[2], -1);
    EXPECT_EQ(EngMathLerpVector4(a, a, 7.0f, out), 1);
    EXPECT_FLOAT_EQ(out[3], 0.5f);
    EXPECT_EQ(EngMathLerpVector3(a, b, 0.5f, nullptr), 0);
}

static void Transform(const EngMatrix &m, const float in[3], float out[3])
{
    for (int c = 0; c < 3; c++)
        out[c] = in[0] * m.m[c] + in[1] * m.m[4 + c] + in[2] * m.m[8 + c] + m.m[12 + c];
}

TEST(EngMath, MultiplyAppliesTheFirstMatrixFirst)
{
    EngMatrix translate, scale, product;
    translate.SetToTranslation(1, 2, 3);
    scale.SetToScale(2, 3, 4);
    ASSERT_EQ(EngMatrixMultiply(&translate, &scale, &product), &product);
    const float point[3] = {1, 1, 1};
    float got[3];
    Transform(product, point, got);
    // Translate to (2, 3, 4), then scale.
    EXPECT_FLOAT_EQ(got[0], 4);
    EXPECT_FLOAT_EQ(got[1], 9);
    EXPECT_FLOAT_EQ(got[2], 16);

    EngMatrix other;
    EngMatrixMultiply(&scale, &translate, &other);
    Transform(other, point, got);
    EXPECT_FLOAT_EQ(got[0], 3);
    EXPECT_FLOAT_EQ(got[1], 5);
    EXPECT_FLOAT_EQ(got[2], 7);

    // The members agree: MultiplyBy appends, PreMultiplyBy prepends; out may alias a.
    EngMatrix viaMember = translate;
    viaMember.MultiplyBy(&scale);
    EngMatrix viaPre = scale;
    viaPre.PreMultiplyBy(&translate);
    EngMatrix aliased = translate;
    EngMatrixMultiply(&aliased, &scale, &aliased);
    for (int i = 0; i < 16; i++)
    {
        EXPECT_FLOAT_EQ(viaMember.m[i], product.m[i]) << i;
        EXPECT_FLOAT_EQ(viaPre.m[i], product.m[i]) << i;
        EXPECT_FLOAT_EQ(aliased.m[i], product.m[i]) << i;
    }
    EXPECT_EQ(EngMatrixMultiply(nullptr, &scale, &product), nullptr);
}

TEST(EngMath, MatrixMembers)
{
    EngMatrix m;
    m.SetToRotationZ(1.5707964f);
    const float x[3] = {1, 0, 0};
    float got[3];
    Transform(m, x, got);
    EXPECT_NEAR(got[0], 0, 1e-6f);
    EXPECT_NEAR(got[1], 1, 1e-6f);

    // The combined rotation turns the other way about z than the single z rotation.
    EngMatrix combined, reverse;
    combined.SetToRotation(0, 0, 0.3f);
    reverse.SetToRotationZ(-0.3f);
    for (int i = 0; i < 16; i++)
        EXPECT_NEAR(combined.m[i], reverse.m[i], 1e-6f) << i;
    combined.SetToRotation(0.2f, 0.4f, 0);
    EXPECT_NEAR(combined.m[2], std::sin(0.4f), 1e-6f);
    EXPECT_NEAR(combined.m[6], -std::sin(0.2f) * std::cos(0.4f), 1e-6f);

    EngMatrix kept;
    kept.SetToScale(2, 2, 2);
    EXPECT_EQ(kept.CopyFrom(nullptr), nullptr);
    EXPECT_EQ(kept.m[0], 2);
    kept.SetToScaleFromVector(nullptr);
    EXPECT_EQ(kept.m[0], 1);
}
