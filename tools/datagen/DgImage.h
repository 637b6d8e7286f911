// Float pictures for the data generator: premultiplied RGBA pixels, shapes filled with
// analytic anti-aliasing from signed distances (in pixels), masks, blur, scaling,
// compositing, noise and a seeded random source, so every picture is reproducible.
#pragma once
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

// A colour; straight (not premultiplied) unless a comment says otherwise.
struct DgColour
{
    float r = 0, g = 0, b = 0, a = 0;
};

// A picture of premultiplied colours, rows from the top.
struct DgImage
{
    int width = 0;
    int height = 0;
    std::vector<DgColour> px;

    DgColour &At(int x, int y) { return px[(size_t)y * width + x]; }
    const DgColour &At(int x, int y) const { return px[(size_t)y * width + x]; }
};

// A coverage mask (0-1 per pixel), rows from the top.
struct DgMask
{
    int width = 0;
    int height = 0;
    std::vector<float> v;

    float &At(int x, int y) { return v[(size_t)y * width + x]; }
    float At(int x, int y) const { return v[(size_t)y * width + x]; }
    // 0 outside the mask.
    float Get(int x, int y) const
    {
        return (x < 0 || y < 0 || x >= width || y >= height) ? 0.0f : v[(size_t)y * width + x];
    }
};

// Signed distance of a point to a shape, in pixels, negative inside.
using DgShape = std::function<float(float x, float y)>;
// Straight colour of a paint at a point.
using DgPaint = std::function<DgColour(float x, float y)>;

// ---- Colours -------------------------------------------------------------------
DgColour ColourRgb(float r, float g, float b, float a = 1.0f);
DgColour ColourHex(uint32_t rgb, float a = 1.0f);
DgColour ColourLerp(const DgColour &from, const DgColour &to, float t);
// Multiplies r, g and b (not alpha) by `factor`.
DgColour ColourShade(const DgColour &c, float factor);
// Moves r, g and b toward white by `amount` (0-1).
DgColour ColourTint(const DgColour &c, float amount);
DgColour ColourWithAlpha(const DgColour &c, float a);
DgColour ColourPremultiply(const DgColour &c);
DgColour ColourUnpremultiply(const DgColour &c);
float Clamp01(float v);
float SmoothStep(float edge0, float edge1, float x);
float Lerp(float a, float b, float t);

// ---- Paints --------------------------------------------------------------------
DgPaint PaintSolid(const DgColour &c);
// Linear gradient from `c0` at (x0, y0) to `c1` at (x1, y1).
DgPaint PaintLinear(float x0, float y0, float x1, float y1, const DgColour &c0, const DgColour &c1);
// Gradient through stops (positions 0-1, ascending) along the line.
DgPaint PaintLinearStops(float x0, float y0, float x1, float y1, std::vector<std::pair<float, DgColour>> stops);
DgPaint PaintRadial(float cx, float cy, float radius, const DgColour &inner, const DgColour &outer);
DgColour GradientAt(const std::vector<std::pair<float, DgColour>> &stops, float t);

// ---- Shapes (signed distances in pixels) ---------------------------------------
DgShape ShapeCircle(float cx, float cy, float radius);
DgShape ShapeEllipse(float cx, float cy, float rx, float ry);
DgShape ShapeRoundRect(float x, float y, float w, float h, float radius);
DgShape ShapeSegment(float x0, float y0, float x1, float y1, float halfWidth);
DgShape ShapePolygon(std::vector<std::pair<float, float>> points);
// A star of `points` tips between the two radii, first tip straight up, turned by `turn` radians.
DgShape ShapeStar(float cx, float cy, float outer, float inner, int points, float turn = 0.0f);
DgShape ShapeUnion(DgShape a, DgShape b);
DgShape ShapeIntersect(DgShape a, DgShape b);
DgShape ShapeSubtract(DgShape a, DgShape b);
// The band of width 2 x halfWidth around the shape's edge.
DgShape ShapeOutline(DgShape a, float halfWidth);
// The shape grown (positive) or shrunk (negative) by `amount` pixels.
DgShape ShapeGrow(DgShape a, float amount);
// A rounded rectangle whose corners are ellipses of radii rx, ry.
DgShape ShapeRoundRectXY(float x, float y, float w, float h, float rx, float ry);
// The shape with its distances corrected by the local gradient, for shapes made by
// stretching another (keeps the anti-aliased edge one pixel wide).
DgShape ShapeNormalise(DgShape a);
// Coverage of a pixel by a shape from its distance at the pixel centre.
float ShapeCoverage(float distance);

// ---- Pictures ------------------------------------------------------------------
DgImage ImageCreate(int width, int height, const DgColour &fill = DgColour());
// Composites a straight colour over a pixel with the given coverage (pixels outside are ignored).
void ImageBlendPixel(DgImage &dst, int x, int y, const DgColour &colour, float coverage);
// Fills a shape with a paint inside the bounds (whole picture when the bounds are empty).
void ImageFillShape(DgImage &dst, const DgShape &shape, const DgPaint &paint, float x0 = 0, float y0 = 0,
                    float x1 = 0, float y1 = 0);
// Fills every pixel of the mask placed at (x, y) with the paint, weighted by the mask.
void ImageFillMask(DgImage &dst, const DgMask &mask, int x, int y, const DgPaint &paint, float opacity = 1.0f);
// Composites `src` (premultiplied) over `dst` at (x, y) with an opacity.
void ImageDraw(DgImage &dst, const DgImage &src, int x, int y, float opacity = 1.0f);
DgImage ImageResize(const DgImage &src, int width, int height);
DgImage ImageCrop(const DgImage &src, int x, int y, int w, int h);
// Gaussian-like blur (three box passes) of radius `radius` pixels.
void ImageBlur(DgImage &img, float radius);
// Renders a picture by supersampling a point function returning premultiplied colour
// (rows shared out to worker threads unless `parallel` is false).
DgImage ImageRenderSupersampled(int width, int height, int samples,
                                const std::function<DgColour(float x, float y)> &fn, bool parallel = true);
// Runs fn(0) ... fn(count - 1) on a few worker threads; each index must write only its
// own results, so the outcome does not depend on the scheduling.
void ParallelFor(int count, const std::function<void(int)> &fn);

// ---- Masks ---------------------------------------------------------------------
DgMask MaskCreate(int width, int height, float fill = 0.0f);
// Grows the mask by `radius` pixels with a round brush.
DgMask MaskDilate(const DgMask &mask, float radius);
void MaskBlur(DgMask &mask, float radius);

// ---- Noise and random numbers --------------------------------------------------
struct DgRandom
{
    uint64_t state;
    explicit DgRandom(uint64_t seed);
    uint32_t Next();
    // Uniform in [0, 1).
    float Float();
    float Range(float lo, float hi);
    int Int(int lo, int hiInclusive);
};
// Smooth value noise in [-1, 1].
float Noise2(float x, float y, uint32_t seed);
float Noise3(float x, float y, float z, uint32_t seed);
// Sum of `octaves` noise layers, each twice the frequency and half the amplitude.
float Fbm2(float x, float y, int octaves, uint32_t seed);
float Fbm3(float x, float y, float z, int octaves, uint32_t seed);

// ---- Output --------------------------------------------------------------------
// Straight 8-bit RGBA bytes, rows from the top, with ordered dithering of the colour.
std::vector<uint8_t> ImageToRgba8(const DgImage &img, bool dither = true);
