// Float pictures, shapes, masks, blur, scaling and noise for the data generator.
#include "DgImage.h"

#include <algorithm>
#include <cmath>
#include <thread>

// ---- Colours -------------------------------------------------------------------

float Clamp01(float v)
{
    return v < 0.0f ? 0.0f : (v > 1.0f ? 1.0f : v);
}

float SmoothStep(float edge0, float edge1, float x)
{
    float t = Clamp01((x - edge0) / (edge1 - edge0));
    return t * t * (3.0f - 2.0f * t);
}

float Lerp(float a, float b, float t)
{
    return a + (b - a) * t;
}

DgColour ColourRgb(float r, float g, float b, float a)
{
    return DgColour{r, g, b, a};
}

DgColour ColourHex(uint32_t rgb, float a)
{
    return DgColour{((rgb >> 16) & 255) / 255.0f, ((rgb >> 8) & 255) / 255.0f, (rgb & 255) / 255.0f, a};
}

DgColour ColourLerp(const DgColour &from, const DgColour &to, float t)
{
    return DgColour{Lerp(from.r, to.r, t), Lerp(from.g, to.g, t), Lerp(from.b, to.b, t), Lerp(from.a, to.a, t)};
}

DgColour ColourShade(const DgColour &c, float factor)
{
    return DgColour{c.r * factor, c.g * factor, c.b * factor, c.a};
}

DgColour ColourTint(const DgColour &c, float amount)
{
    return DgColour{Lerp(c.r, 1.0f, amount), Lerp(c.g, 1.0f, amount), Lerp(c.b, 1.0f, amount), c.a};
}

DgColour ColourWithAlpha(const DgColour &c, float a)
{
    return DgColour{c.r, c.g, c.b, a};
}

DgColour ColourPremultiply(const DgColour &c)
{
    return DgColour{c.r * c.a, c.g * c.a, c.b * c.a, c.a};
}

DgColour ColourUnpremultiply(const DgColour &c)
{
    if (c.a <= 0.0f)
        return DgColour{0, 0, 0, 0};
    return DgColour{c.r / c.a, c.g / c.a, c.b / c.a, c.a};
}

// ---- Paints --------------------------------------------------------------------

DgPaint PaintSolid(const DgColour &c)
{
    return [c](float, float) { return c; };
}

DgColour GradientAt(const std::vector<std::pair<float, DgColour>> &stops, float t)
{
    if (stops.empty())
        return DgColour();
    if (t <= stops.front().first)
        return stops.front().second;
    for (size_t i = 1; i < stops.size(); i++)
    {
        if (t <= stops[i].first)
        {
            float span = stops[i].first - stops[i - 1].first;
            float f = span > 0.0f ? (t - stops[i - 1].first) / span : 1.0f;
            return ColourLerp(stops[i - 1].second, stops[i].second, f);
        }
    }
    return stops.back().second;
}

DgPaint PaintLinear(float x0, float y0, float x1, float y1, const DgColour &c0, const DgColour &c1)
{
    return PaintLinearStops(x0, y0, x1, y1, {{0.0f, c0}, {1.0f, c1}});
}

DgPaint PaintLinearStops(float x0, float y0, float x1, float y1, std::vector<std::pair<float, DgColour>> stops)
{
    float dx = x1 - x0;
    float dy = y1 - y0;
    float len2 = dx * dx + dy * dy;
    if (len2 <= 0.0f)
        len2 = 1.0f;
    return [=](float x, float y) { return GradientAt(stops, ((x - x0) * dx + (y - y0) * dy) / len2); };
}

DgPaint PaintRadial(float cx, float cy, float radius, const DgColour &inner, const DgColour &outer)
{
    return [=](float x, float y) {
        float d = std::sqrt((x - cx) * (x - cx) + (y - cy) * (y - cy)) / radius;
        return ColourLerp(inner, outer, Clamp01(d));
    };
}

// ---- Shapes --------------------------------------------------------------------

float ShapeCoverage(float distance)
{
    return Clamp01(0.5f - distance);
}

DgShape ShapeCircle(float cx, float cy, float radius)
{
    return [=](float x, float y) { return std::sqrt((x - cx) * (x - cx) + (y - cy) * (y - cy)) - radius; };
}

DgShape ShapeEllipse(float cx, float cy, float rx, float ry)
{
    return [=](float x, float y) {
        float px = (x - cx), py = (y - cy);
        float k0 = std::sqrt((px / rx) * (px / rx) + (py / ry) * (py / ry));
        float k1 = std::sqrt((px / (rx * rx)) * (px / (rx * rx)) + (py / (ry * ry)) * (py / (ry * ry)));
        if (k1 <= 1e-6f)
            return -std::min(rx, ry);
        return k0 * (k0 - 1.0f) / k1;
    };
}

DgShape ShapeRoundRect(float x, float y, float w, float h, float radius)
{
    float cx = x + w * 0.5f, cy = y + h * 0.5f;
    float hw = w * 0.5f, hh = h * 0.5f;
    radius = std::min(radius, std::min(hw, hh));
    return [=](float px, float py) {
        float qx = std::fabs(px - cx) - (hw - radius);
        float qy = std::fabs(py - cy) - (hh - radius);
        float ox = std::max(qx, 0.0f), oy = std::max(qy, 0.0f);
        return std::sqrt(ox * ox + oy * oy) + std::min(std::max(qx, qy), 0.0f) - radius;
    };
}

DgShape ShapeNormalise(DgShape a)
{
    return [a](float x, float y) {
        float d = a(x, y);
        float gx = (a(x + 0.25f, y) - a(x - 0.25f, y)) * 2.0f;
        float gy = (a(x, y + 0.25f) - a(x, y - 0.25f)) * 2.0f;
        float g = std::sqrt(gx * gx + gy * gy);
        return g > 1e-4f ? d / g : d;
    };
}

DgShape ShapeRoundRectXY(float x, float y, float w, float h, float rx, float ry)
{
    float k = rx / ry;
    DgShape squashed = ShapeRoundRect(x, y * k, w, h * k, rx);
    return ShapeNormalise([squashed, k](float px, float py) { return squashed(px, py * k); });
}

DgShape ShapeSegment(float x0, float y0, float x1, float y1, float halfWidth)
{
    return [=](float x, float y) {
        float ex = x1 - x0, ey = y1 - y0;
        float wx = x - x0, wy = y - y0;
        float len2 = ex * ex + ey * ey;
        float t = len2 > 0.0f ? Clamp01((wx * ex + wy * ey) / len2) : 0.0f;
        float dx = wx - ex * t, dy = wy - ey * t;
        return std::sqrt(dx * dx + dy * dy) - halfWidth;
    };
}

DgShape ShapePolygon(std::vector<std::pair<float, float>> points)
{
    return [points](float px, float py) {
        size_t n = points.size();
        if (n < 3)
            return 1e9f;
        float d = (px - points[0].first) * (px - points[0].first) + (py - points[0].second) * (py - points[0].second);
        float s = 1.0f;
        for (size_t i = 0, j = n - 1; i < n; j = i, i++)
        {
            float ex = points[j].first - points[i].first, ey = points[j].second - points[i].second;
            float wx = px - points[i].first, wy = py - points[i].second;
            float t = Clamp01((wx * ex + wy * ey) / (ex * ex + ey * ey));
            float bx = wx - ex * t, by = wy - ey * t;
            d = std::min(d, bx * bx + by * by);
            bool c1 = py >= points[i].second;
            bool c2 = py < points[j].second;
            bool c3 = ex * wy > ey * wx;
            if ((c1 && c2 && c3) || (!c1 && !c2 && !c3))
                s = -s;
        }
        return s * std::sqrt(d);
    };
}

DgShape ShapeStar(float cx, float cy, float outer, float inner, int points, float turn)
{
    std::vector<std::pair<float, float>> pts;
    for (int i = 0; i < points * 2; i++)
    {
        float angle = turn + (float)M_PI * i / points;
        float r = (i % 2) ? inner : outer;
        pts.push_back({cx + std::sin(angle) * r, cy - std::cos(angle) * r});
    }
    return ShapePolygon(pts);
}

DgShape ShapeUnion(DgShape a, DgShape b)
{
    return [a, b](float x, float y) { return std::min(a(x, y), b(x, y)); };
}

DgShape ShapeIntersect(DgShape a, DgShape b)
{
    return [a, b](float x, float y) { return std::max(a(x, y), b(x, y)); };
}

DgShape ShapeSubtract(DgShape a, DgShape b)
{
    return [a, b](float x, float y) { return std::max(a(x, y), -b(x, y)); };
}

DgShape ShapeOutline(DgShape a, float halfWidth)
{
    return [a, halfWidth](float x, float y) { return std::fabs(a(x, y)) - halfWidth; };
}

DgShape ShapeGrow(DgShape a, float amount)
{
    return [a, amount](float x, float y) { return a(x, y) - amount; };
}

// ---- Pictures ------------------------------------------------------------------

DgImage ImageCreate(int width, int height, const DgColour &fill)
{
    DgImage img;
    img.width = width;
    img.height = height;
    img.px.assign((size_t)width * height, ColourPremultiply(fill));
    return img;
}

void ImageBlendPixel(DgImage &dst, int x, int y, const DgColour &colour, float coverage)
{
    if (x < 0 || y < 0 || x >= dst.width || y >= dst.height || coverage <= 0.0f)
        return;
    float a = colour.a * coverage;
    if (a <= 0.0f)
        return;
    DgColour &d = dst.At(x, y);
    float k = 1.0f - a;
    d.r = colour.r * a + d.r * k;
    d.g = colour.g * a + d.g * k;
    d.b = colour.b * a + d.b * k;
    d.a = a + d.a * k;
}

void ImageFillShape(DgImage &dst, const DgShape &shape, const DgPaint &paint, float x0, float y0, float x1, float y1)
{
    int ix0 = 0, iy0 = 0, ix1 = dst.width, iy1 = dst.height;
    if (x1 > x0 && y1 > y0)
    {
        ix0 = std::max(0, (int)std::floor(x0) - 1);
        iy0 = std::max(0, (int)std::floor(y0) - 1);
        ix1 = std::min(dst.width, (int)std::ceil(x1) + 1);
        iy1 = std::min(dst.height, (int)std::ceil(y1) + 1);
    }
    // Shapes are distance functions that change by at most about one pixel per pixel,
    // so one sample in the middle of an 8 x 8 block tells when the whole block lies
    // outside the shape (skipped) or inside it (no per-pixel distances).
    const int block = 8;
    const float margin = 10.0f;
    for (int by = iy0; by < iy1; by += block)
        for (int bx = ix0; bx < ix1; bx += block)
        {
            int ex = std::min(bx + block, ix1), ey = std::min(by + block, iy1);
            float centre = shape((bx + ex) * 0.5f, (by + ey) * 0.5f);
            if (centre > margin)
                continue;
            bool inside = centre < -margin;
            for (int y = by; y < ey; y++)
                for (int x = bx; x < ex; x++)
                {
                    float fx = x + 0.5f, fy = y + 0.5f;
                    float cover = inside ? 1.0f : ShapeCoverage(shape(fx, fy));
                    if (cover > 0.0f)
                        ImageBlendPixel(dst, x, y, paint(fx, fy), cover);
                }
        }
}

void ImageFillMask(DgImage &dst, const DgMask &mask, int x, int y, const DgPaint &paint, float opacity)
{
    for (int my = 0; my < mask.height; my++)
    {
        for (int mx = 0; mx < mask.width; mx++)
        {
            float m = mask.At(mx, my) * opacity;
            if (m <= 0.0f)
                continue;
            int dx = x + mx, dy = y + my;
            if (dx < 0 || dy < 0 || dx >= dst.width || dy >= dst.height)
                continue;
            ImageBlendPixel(dst, dx, dy, paint(dx + 0.5f, dy + 0.5f), m);
        }
    }
}

void ImageDraw(DgImage &dst, const DgImage &src, int x, int y, float opacity)
{
    for (int sy = 0; sy < src.height; sy++)
    {
        int dy = y + sy;
        if (dy < 0 || dy >= dst.height)
            continue;
        for (int sx = 0; sx < src.width; sx++)
        {
            int dx = x + sx;
            if (dx < 0 || dx >= dst.width)
                continue;
            const DgColour &s = src.At(sx, sy);
            DgColour &d = dst.At(dx, dy);
            float k = 1.0f - s.a * opacity;
            d.r = s.r * opacity + d.r * k;
            d.g = s.g * opacity + d.g * k;
            d.b = s.b * opacity + d.b * k;
            d.a = s.a * opacity + d.a * k;
        }
    }
}

namespace
{
// Weights of the source samples that make one output sample along one axis.
struct Tap
{
    int first;
    std::vector<float> weights;
};

std::vector<Tap> ResampleTaps(int srcSize, int dstSize)
{
    std::vector<Tap> taps(dstSize);
    double scale = (double)srcSize / dstSize;
    for (int i = 0; i < dstSize; i++)
    {
        Tap &tap = taps[i];
        if (scale >= 1.0)
        {
            // Area average over the output pixel's footprint.
            double a = i * scale, b = (i + 1) * scale;
            int first = (int)std::floor(a);
            int last = std::min(srcSize - 1, (int)std::ceil(b) - 1);
            tap.first = first;
            double total = 0.0;
            for (int s = first; s <= last; s++)
            {
                double w = std::min(b, (double)s + 1) - std::max(a, (double)s);
                tap.weights.push_back((float)std::max(0.0, w));
                total += std::max(0.0, w);
            }
            for (float &w : tap.weights)
                w = (float)(w / total);
        }
        else
        {
            // Bilinear between the two nearest source centres.
            double c = (i + 0.5) * scale - 0.5;
            int s0 = (int)std::floor(c);
            float f = (float)(c - s0);
            int a = std::clamp(s0, 0, srcSize - 1), b = std::clamp(s0 + 1, 0, srcSize - 1);
            tap.first = a;
            if (b == a)
                tap.weights = {1.0f};
            else
                tap.weights = {1.0f - f, f};
        }
    }
    return taps;
}
} // namespace

DgImage ImageResize(const DgImage &src, int width, int height)
{
    std::vector<Tap> tx = ResampleTaps(src.width, width);
    std::vector<Tap> ty = ResampleTaps(src.height, height);
    DgImage mid = ImageCreate(width, src.height);
    for (int y = 0; y < src.height; y++)
        for (int x = 0; x < width; x++)
        {
            DgColour acc;
            for (size_t k = 0; k < tx[x].weights.size(); k++)
            {
                const DgColour &s = src.At(tx[x].first + (int)k, y);
                float w = tx[x].weights[k];
                acc.r += s.r * w, acc.g += s.g * w, acc.b += s.b * w, acc.a += s.a * w;
            }
            mid.At(x, y) = acc;
        }
    DgImage out = ImageCreate(width, height);
    for (int y = 0; y < height; y++)
        for (int x = 0; x < width; x++)
        {
            DgColour acc;
            for (size_t k = 0; k < ty[y].weights.size(); k++)
            {
                const DgColour &s = mid.At(x, ty[y].first + (int)k);
                float w = ty[y].weights[k];
                acc.r += s.r * w, acc.g += s.g * w, acc.b += s.b * w, acc.a += s.a * w;
            }
            out.At(x, y) = acc;
        }
    return out;
}

DgImage ImageCrop(const DgImage &src, int x, int y, int w, int h)
{
    DgImage out = ImageCreate(w, h);
    for (int j = 0; j < h; j++)
        for (int i = 0; i < w; i++)
            if (x + i >= 0 && y + j >= 0 && x + i < src.width && y + j < src.height)
                out.At(i, j) = src.At(x + i, y + j);
    return out;
}

namespace
{
// One box pass of half-width `half` over `count` values `stride` apart (zero outside).
void BoxPass(float *data, int count, int stride, int half, std::vector<float> &scratch)
{
    scratch.assign(count, 0.0f);
    float sum = 0.0f;
    float norm = 1.0f / (2 * half + 1);
    for (int i = -half; i <= half; i++)
        if (i >= 0 && i < count)
            sum += data[(size_t)i * stride];
    for (int i = 0; i < count; i++)
    {
        scratch[i] = sum * norm;
        int add = i + half + 1, sub = i - half;
        if (add < count)
            sum += data[(size_t)add * stride];
        if (sub >= 0)
            sum -= data[(size_t)sub * stride];
    }
    for (int i = 0; i < count; i++)
        data[(size_t)i * stride] = scratch[i];
}

int BoxHalfWidth(float radius)
{
    // Radius is about two standard deviations; three passes of this box give that spread.
    float sigma = radius * 0.5f;
    int half = (int)std::lround((std::sqrt(4.0f * sigma * sigma + 1.0f) - 1.0f) * 0.5f);
    return std::max(half, 0);
}

void BlurPlane(float *data, int width, int height, int stride, float radius)
{
    int half = BoxHalfWidth(radius);
    if (half <= 0)
        return;
    std::vector<float> scratch;
    for (int pass = 0; pass < 3; pass++)
    {
        for (int y = 0; y < height; y++)
            BoxPass(data + (size_t)y * width * stride, width, stride, half, scratch);
        for (int x = 0; x < width; x++)
            BoxPass(data + (size_t)x * stride, height, width * stride, half, scratch);
    }
}
} // namespace

void ImageBlur(DgImage &img, float radius)
{
    float *base = reinterpret_cast<float *>(img.px.data());
    for (int channel = 0; channel < 4; channel++)
        BlurPlane(base + channel, img.width, img.height, 4, radius);
}

void ParallelFor(int count, const std::function<void(int)> &fn)
{
    unsigned threads = std::max(1u, std::min(4u, std::thread::hardware_concurrency()));
    std::vector<std::thread> pool;
    for (unsigned t = 0; t < threads; t++)
        pool.emplace_back([&, t]() {
            for (int i = (int)t; i < count; i += (int)threads)
                fn(i);
        });
    for (std::thread &th : pool)
        th.join();
}

DgImage ImageRenderSupersampled(int width, int height, int samples,
                                const std::function<DgColour(float x, float y)> &fn, bool parallel)
{
    DgImage img = ImageCreate(width, height);
    float inv = 1.0f / (samples * samples);
    auto row = [&](int y) {
        for (int x = 0; x < width; x++)
        {
            DgColour acc;
            for (int sy = 0; sy < samples; sy++)
                for (int sx = 0; sx < samples; sx++)
                {
                    DgColour c = fn(x + (sx + 0.5f) / samples, y + (sy + 0.5f) / samples);
                    acc.r += c.r, acc.g += c.g, acc.b += c.b, acc.a += c.a;
                }
            img.At(x, y) = DgColour{acc.r * inv, acc.g * inv, acc.b * inv, acc.a * inv};
        }
    };
    if (parallel)
        ParallelFor(height, row);
    else
        for (int y = 0; y < height; y++)
            row(y);
    return img;
}

// ---- Masks ---------------------------------------------------------------------

DgMask MaskCreate(int width, int height, float fill)
{
    DgMask m;
    m.width = width;
    m.height = height;
    m.v.assign((size_t)width * height, fill);
    return m;
}

namespace
{
// One-dimensional squared distance transform (lower envelope of parabolas).
void DistanceTransform1D(const float *f, int n, float *d, std::vector<int> &v, std::vector<float> &z)
{
    v.assign(n, 0);
    z.assign(n + 1, 0.0f);
    int k = 0;
    v[0] = 0;
    z[0] = -1e20f;
    z[1] = 1e20f;
    for (int q = 1; q < n; q++)
    {
        float s;
        for (;;)
        {
            int p = v[k];
            s = ((f[q] + (float)q * q) - (f[p] + (float)p * p)) / (2.0f * (q - p));
            if (s > z[k] || k == 0)
                break;
            k--;
        }
        if (s <= z[k])
            s = z[k];
        k++;
        v[k] = q;
        z[k] = s;
        z[k + 1] = 1e20f;
    }
    k = 0;
    for (int q = 0; q < n; q++)
    {
        while (z[k + 1] < q)
            k++;
        float dq = (float)(q - v[k]);
        d[q] = dq * dq + f[v[k]];
    }
}
} // namespace

DgMask MaskDilate(const DgMask &mask, float radius)
{
    // Distance from every pixel to the nearest mostly-covered pixel (exact Euclidean
    // distance transform), then a soft edge at `radius` corrected by the coverage of the
    // mask's own edge pixels.
    int w = mask.width, h = mask.height;
    const float inf = 1e10f;
    std::vector<float> grid((size_t)w * h);
    for (size_t i = 0; i < grid.size(); i++)
        grid[i] = mask.v[i] >= 0.5f ? 0.0f : inf;
    std::vector<float> in(std::max(w, h)), out(std::max(w, h));
    std::vector<int> v;
    std::vector<float> z;
    for (int x = 0; x < w; x++)
    {
        for (int y = 0; y < h; y++)
            in[y] = grid[(size_t)y * w + x];
        DistanceTransform1D(in.data(), h, out.data(), v, z);
        for (int y = 0; y < h; y++)
            grid[(size_t)y * w + x] = out[y];
    }
    for (int y = 0; y < h; y++)
    {
        DistanceTransform1D(&grid[(size_t)y * w], w, out.data(), v, z);
        std::copy(out.begin(), out.begin() + w, grid.begin() + (size_t)y * w);
    }
    DgMask result = MaskCreate(w, h);
    for (size_t i = 0; i < grid.size(); i++)
    {
        // Distance to the edge: partly covered pixels next to it know it from their
        // coverage, others are half a pixel nearer than the nearest covered centre.
        float m = mask.v[i];
        float d = (m > 0.0f && grid[i] <= 2.0f) ? 0.5f - m : std::sqrt(grid[i]) - 0.5f;
        result.v[i] = std::max(m, Clamp01(radius + 0.5f - d));
    }
    return result;
}

void MaskBlur(DgMask &mask, float radius)
{
    BlurPlane(mask.v.data(), mask.width, mask.height, 1, radius);
}

// ---- Noise and random numbers --------------------------------------------------

DgRandom::DgRandom(uint64_t seed) : state(seed * 0x9E3779B97F4A7C15ull + 0x632BE59BD9B4E019ull)
{
}

uint32_t DgRandom::Next()
{
    state += 0x9E3779B97F4A7C15ull;
    uint64_t z = state;
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
    return (uint32_t)((z ^ (z >> 31)) >> 32);
}

float DgRandom::Float()
{
    return (Next() >> 8) * (1.0f / 16777216.0f);
}

float DgRandom::Range(float lo, float hi)
{
    return lo + (hi - lo) * Float();
}

int DgRandom::Int(int lo, int hiInclusive)
{
    return lo + (int)(Next() % (uint32_t)(hiInclusive - lo + 1));
}

namespace
{
uint32_t HashLattice(int x, int y, int z, uint32_t seed)
{
    uint32_t h = seed * 0x9E3779B1u;
    h ^= (uint32_t)x * 0x85EBCA77u;
    h = (h << 13) | (h >> 19);
    h ^= (uint32_t)y * 0xC2B2AE3Du;
    h = (h << 13) | (h >> 19);
    h ^= (uint32_t)z * 0x27D4EB2Fu;
    h ^= h >> 15;
    h *= 0x2C1B3C6Du;
    h ^= h >> 12;
    h *= 0x297A2D39u;
    h ^= h >> 15;
    return h;
}

float LatticeValue(int x, int y, int z, uint32_t seed)
{
    return (HashLattice(x, y, z, seed) >> 8) * (2.0f / 16777216.0f) - 1.0f;
}

float Fade(float t)
{
    return t * t * t * (t * (t * 6.0f - 15.0f) + 10.0f);
}
} // namespace

float Noise2(float x, float y, uint32_t seed)
{
    int ix = (int)std::floor(x), iy = (int)std::floor(y);
    float fx = Fade(x - ix), fy = Fade(y - iy);
    float a = Lerp(LatticeValue(ix, iy, 0, seed), LatticeValue(ix + 1, iy, 0, seed), fx);
    float b = Lerp(LatticeValue(ix, iy + 1, 0, seed), LatticeValue(ix + 1, iy + 1, 0, seed), fx);
    return Lerp(a, b, fy);
}

float Noise3(float x, float y, float z, uint32_t seed)
{
    int ix = (int)std::floor(x), iy = (int)std::floor(y), iz = (int)std::floor(z);
    float fx = Fade(x - ix), fy = Fade(y - iy), fz = Fade(z - iz);
    float v[2][2][2];
    for (int k = 0; k < 2; k++)
        for (int j = 0; j < 2; j++)
            for (int i = 0; i < 2; i++)
                v[k][j][i] = LatticeValue(ix + i, iy + j, iz + k, seed);
    float a = Lerp(Lerp(v[0][0][0], v[0][0][1], fx), Lerp(v[0][1][0], v[0][1][1], fx), fy);
    float b = Lerp(Lerp(v[1][0][0], v[1][0][1], fx), Lerp(v[1][1][0], v[1][1][1], fx), fy);
    return Lerp(a, b, fz);
}

float Fbm2(float x, float y, int octaves, uint32_t seed)
{
    float sum = 0.0f, amp = 0.5f, norm = 0.0f;
    for (int o = 0; o < octaves; o++)
    {
        sum += Noise2(x, y, seed + (uint32_t)o * 101u) * amp;
        norm += amp;
        x *= 2.0f, y *= 2.0f;
        amp *= 0.5f;
    }
    return sum / norm;
}

float Fbm3(float x, float y, float z, int octaves, uint32_t seed)
{
    float sum = 0.0f, amp = 0.5f, norm = 0.0f;
    for (int o = 0; o < octaves; o++)
    {
        sum += Noise3(x, y, z, seed + (uint32_t)o * 101u) * amp;
        norm += amp;
        x *= 2.0f, y *= 2.0f, z *= 2.0f;
        amp *= 0.5f;
    }
    return sum / norm;
}

// ---- Output --------------------------------------------------------------------

std::vector<uint8_t> ImageToRgba8(const DgImage &img, bool dither)
{
    static const int bayer[4][4] = {{0, 8, 2, 10}, {12, 4, 14, 6}, {3, 11, 1, 9}, {15, 7, 13, 5}};
    int w = img.width, h = img.height;
    // Straight colours; fully transparent pixels take the colour of their visible
    // neighbours so that filtering at shape edges never pulls in black.
    std::vector<DgColour> straight(img.px.size());
    std::vector<char> known(img.px.size(), 0);
    for (size_t i = 0; i < img.px.size(); i++)
    {
        straight[i] = ColourUnpremultiply(img.px[i]);
        known[i] = img.px[i].a > 0.002f;
    }
    bool opaque = std::all_of(known.begin(), known.end(), [](char k) { return k != 0; });
    for (int pass = 0; pass < 4 && !opaque; pass++)
    {
        std::vector<char> next = known;
        for (int y = 0; y < h; y++)
            for (int x = 0; x < w; x++)
            {
                size_t i = (size_t)y * w + x;
                if (known[i])
                    continue;
                float r = 0, g = 0, b = 0;
                int n = 0;
                for (int dy = -1; dy <= 1; dy++)
                    for (int dx = -1; dx <= 1; dx++)
                    {
                        int nx = x + dx, ny = y + dy;
                        if (nx < 0 || ny < 0 || nx >= w || ny >= h)
                            continue;
                        size_t j = (size_t)ny * w + nx;
                        if (known[j])
                            r += straight[j].r, g += straight[j].g, b += straight[j].b, n++;
                    }
                if (n > 0)
                {
                    straight[i].r = r / n, straight[i].g = g / n, straight[i].b = b / n;
                    next[i] = 1;
                }
            }
        known.swap(next);
    }
    std::vector<uint8_t> out((size_t)w * h * 4);
    for (int y = 0; y < h; y++)
        for (int x = 0; x < w; x++)
        {
            size_t i = (size_t)y * w + x;
            // Rounding with the dither offset (values are never negative here).
            float offset = 0.5f + (dither ? (bayer[y & 3][x & 3] + 0.5f) / 16.0f - 0.5f : 0.0f);
            const DgColour &c = straight[i];
            float ch[3] = {c.r, c.g, c.b};
            for (int k = 0; k < 3; k++)
                out[i * 4 + k] = (uint8_t)std::min(255, (int)(Clamp01(ch[k]) * 255.0f + offset));
            out[i * 4 + 3] = (uint8_t)(int)(Clamp01(img.px[i].a) * 255.0f + 0.5f);
        }
    return out;
}
