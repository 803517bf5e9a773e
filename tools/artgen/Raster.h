#pragma once
// A tiny floating-point raster toolkit for the art generator: colours, images, smooth shapes,
// deterministic noise. Colours are linear-ish RGB in 0..1 (written out as 8-bit values).
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <vector>

namespace art {

constexpr float kPi = 3.14159265358979f;

struct Rgb {
    float r = 0, g = 0, b = 0;
    Rgb() = default;
    constexpr Rgb(float r_, float g_, float b_) : r(r_), g(g_), b(b_) {}
    Rgb operator+(const Rgb& o) const { return {r + o.r, g + o.g, b + o.b}; }
    Rgb operator-(const Rgb& o) const { return {r - o.r, g - o.g, b - o.b}; }
    Rgb operator*(float k) const { return {r * k, g * k, b * k}; }
    Rgb operator*(const Rgb& o) const { return {r * o.r, g * o.g, b * o.b}; }
    Rgb& operator+=(const Rgb& o) { r += o.r; g += o.g; b += o.b; return *this; }
    float luma() const { return 0.299f * r + 0.587f * g + 0.114f * b; }
};

// An 8-bit sRGB-style hex colour 0xRRGGBB.
inline Rgb hex(std::uint32_t v) {
    return {((v >> 16) & 255) / 255.0f, ((v >> 8) & 255) / 255.0f, (v & 255) / 255.0f};
}

inline float clamp01(float x) { return x < 0 ? 0 : (x > 1 ? 1 : x); }
inline float lerp(float a, float b, float t) { return a + (b - a) * t; }
inline Rgb mix(const Rgb& a, const Rgb& b, float t) { return a + (b - a) * t; }
inline float smoothstep(float e0, float e1, float x) {
    float t = clamp01((x - e0) / (e1 - e0));
    return t * t * (3 - 2 * t);
}
inline float fract(float x) { return x - std::floor(x); }
// Coverage of a shape from a signed distance (negative inside), with a soft edge `aa` wide.
inline float cover(float distance, float aa = 1.0f) { return clamp01(0.5f - distance / aa); }
inline Rgb saturate(const Rgb& c, float k) {
    float l = c.luma();
    return Rgb{l, l, l} + (c - Rgb{l, l, l}) * k;
}
inline Rgb clampRgb(const Rgb& c) { return {clamp01(c.r), clamp01(c.g), clamp01(c.b)}; }
// Screen blend: brightens without exceeding 1.
inline Rgb screen(const Rgb& a, const Rgb& b) {
    return {1 - (1 - a.r) * (1 - b.r), 1 - (1 - a.g) * (1 - b.g), 1 - (1 - a.b) * (1 - b.b)};
}

// ---- deterministic hashing and noise ----
inline std::uint32_t hash32(std::uint32_t x) {
    x ^= x >> 16; x *= 0x7FEB352Du;
    x ^= x >> 15; x *= 0x846CA68Bu;
    x ^= x >> 16;
    return x;
}
inline std::uint32_t hash2(int x, int y, std::uint32_t seed) {
    return hash32(static_cast<std::uint32_t>(x) * 0x9E3779B1u ^ hash32(static_cast<std::uint32_t>(y) + seed * 0x85EBCA77u));
}
// 0..1
inline float hashf(int x, int y, std::uint32_t seed) { return (hash2(x, y, seed) >> 8) * (1.0f / 16777216.0f); }

// Smooth value noise, about -1..1.
inline float vnoise(float x, float y, std::uint32_t seed) {
    int xi = static_cast<int>(std::floor(x)), yi = static_cast<int>(std::floor(y));
    float fx = x - xi, fy = y - yi;
    float ux = fx * fx * fx * (fx * (fx * 6 - 15) + 10), uy = fy * fy * fy * (fy * (fy * 6 - 15) + 10);
    float a = hashf(xi, yi, seed), b = hashf(xi + 1, yi, seed);
    float c = hashf(xi, yi + 1, seed), d = hashf(xi + 1, yi + 1, seed);
    return 2 * lerp(lerp(a, b, ux), lerp(c, d, ux), uy) - 1;
}
// Fractal sum of value noise, about -1..1.
inline float fbm(float x, float y, std::uint32_t seed, int octaves = 5, float gain = 0.5f) {
    float sum = 0, amp = 1, norm = 0;
    for (int i = 0; i < octaves; ++i) {
        sum += amp * vnoise(x, y, seed + i * 131);
        norm += amp;
        amp *= gain;
        float nx = x * 1.6f + y * 1.2f, ny = -x * 1.2f + y * 1.6f;  // rotate and scale by 2
        x = nx + 3.1f; y = ny + 1.7f;
    }
    return sum / norm;
}
// Cellular noise: distances to the nearest and second nearest feature point (cell units).
inline void worley(float x, float y, std::uint32_t seed, float& f1, float& f2) {
    int xi = static_cast<int>(std::floor(x)), yi = static_cast<int>(std::floor(y));
    f1 = f2 = 1e9f;
    for (int j = -1; j <= 1; ++j)
        for (int i = -1; i <= 1; ++i) {
            float px = xi + i + hashf(xi + i, yi + j, seed), py = yi + j + hashf(xi + i, yi + j, seed + 77);
            float d = std::sqrt((px - x) * (px - x) + (py - y) * (py - y));
            if (d < f1) { f2 = f1; f1 = d; } else if (d < f2) f2 = d;
        }
}

// A small deterministic generator for placing things (the tool's own, not the program's).
class Prng {
public:
    explicit Prng(std::uint32_t seed) : state_(seed * 2654435761u + 1) {}
    std::uint32_t next() { state_ = state_ * 1664525u + 1013904223u; return hash32(state_); }
    float uniform() { return (next() >> 8) * (1.0f / 16777216.0f); }
    float range(float a, float b) { return a + (b - a) * uniform(); }
private:
    std::uint32_t state_;
};

// ---- images ----
struct Image {
    int w = 0, h = 0;
    std::vector<Rgb> px;
    Image() = default;
    Image(int w_, int h_, Rgb fill = {}) : w(w_), h(h_), px(static_cast<size_t>(w_) * h_, fill) {}
    Rgb& at(int x, int y) { return px[static_cast<size_t>(y) * w + x]; }
    const Rgb& at(int x, int y) const { return px[static_cast<size_t>(y) * w + x]; }
    void blend(int x, int y, const Rgb& c, float a) {
        if (x < 0 || y < 0 || x >= w || y >= h || a <= 0) return;
        Rgb& p = at(x, y);
        p = mix(p, c, a > 1 ? 1 : a);
    }
    // Bilinear sample with clamped edges, pixel centres at integer + 0.5.
    Rgb sample(float x, float y) const {
        x -= 0.5f; y -= 0.5f;
        int x0 = static_cast<int>(std::floor(x)), y0 = static_cast<int>(std::floor(y));
        float fx = x - x0, fy = y - y0;
        auto get = [&](int xx, int yy) {
            xx = std::clamp(xx, 0, w - 1); yy = std::clamp(yy, 0, h - 1);
            return at(xx, yy);
        };
        return mix(mix(get(x0, y0), get(x0 + 1, y0), fx), mix(get(x0, y0 + 1), get(x0 + 1, y0 + 1), fx), fy);
    }
};

// Box-filters an image rendered at `factor` times the size down to its final size.
inline Image downsample(const Image& big, int factor) {
    Image out(big.w / factor, big.h / factor);
    float k = 1.0f / (factor * factor);
    for (int y = 0; y < out.h; ++y)
        for (int x = 0; x < out.w; ++x) {
            Rgb sum;
            for (int j = 0; j < factor; ++j)
                for (int i = 0; i < factor; ++i) sum += big.at(x * factor + i, y * factor + j);
            out.at(x, y) = sum * k;
        }
    return out;
}

// Separable Gaussian-ish blur (three box passes).
inline Image blur(const Image& src, int radius) {
    Image a = src, b = src;
    for (int pass = 0; pass < 3; ++pass) {
        for (int y = 0; y < a.h; ++y)
            for (int x = 0; x < a.w; ++x) {
                Rgb s; int n = 0;
                for (int i = -radius; i <= radius; ++i) { s += a.at(std::clamp(x + i, 0, a.w - 1), y); ++n; }
                b.at(x, y) = s * (1.0f / n);
            }
        for (int y = 0; y < a.h; ++y)
            for (int x = 0; x < a.w; ++x) {
                Rgb s; int n = 0;
                for (int i = -radius; i <= radius; ++i) { s += b.at(x, std::clamp(y + i, 0, a.h - 1)); ++n; }
                a.at(x, y) = s * (1.0f / n);
            }
    }
    return a;
}

// An RGBA image (straight alpha) for icons and cursors.
struct ImageA {
    int w = 0, h = 0;
    std::vector<Rgb> c;
    std::vector<float> a;
    ImageA(int w_, int h_) : w(w_), h(h_), c(static_cast<size_t>(w_) * h_), a(static_cast<size_t>(w_) * h_, 0.0f) {}
    // Paints colour `col` with coverage `k` over what is there (source-over).
    void over(int x, int y, const Rgb& col, float k) {
        if (x < 0 || y < 0 || x >= w || y >= h || k <= 0) return;
        size_t i = static_cast<size_t>(y) * w + x;
        k = k > 1 ? 1 : k;
        float outA = k + a[i] * (1 - k);
        if (outA <= 0) return;
        c[i] = (col * k + c[i] * (a[i] * (1 - k))) * (1.0f / outA);
        a[i] = outA;
    }
};

// ---- signed distance helpers (negative inside) ----
inline float sdCircle(float x, float y, float cx, float cy, float r) {
    return std::sqrt((x - cx) * (x - cx) + (y - cy) * (y - cy)) - r;
}
inline float sdSegment(float x, float y, float ax, float ay, float bx, float by, float r) {
    float px = x - ax, py = y - ay, dx = bx - ax, dy = by - ay;
    float t = clamp01((px * dx + py * dy) / (dx * dx + dy * dy + 1e-12f));
    float qx = px - dx * t, qy = py - dy * t;
    return std::sqrt(qx * qx + qy * qy) - r;
}
inline float sdBox(float x, float y, float cx, float cy, float hw, float hh, float round = 0) {
    float dx = std::fabs(x - cx) - hw + round, dy = std::fabs(y - cy) - hh + round;
    float ox = std::max(dx, 0.0f), oy = std::max(dy, 0.0f);
    return std::sqrt(ox * ox + oy * oy) + std::min(std::max(dx, dy), 0.0f) - round;
}
inline float sdEllipse(float x, float y, float cx, float cy, float rx, float ry) {
    // Approximation good enough for soft edges.
    float nx = (x - cx) / rx, ny = (y - cy) / ry;
    float k = std::sqrt(nx * nx + ny * ny);
    float g = std::sqrt((nx / rx) * (nx / rx) + (ny / ry) * (ny / ry));
    return (k - 1) * k / (g > 1e-6f ? g : 1e-6f);
}

}  // namespace art
