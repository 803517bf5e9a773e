// The built-in background: a sunlit reef floor seen through the back of the tank.
//
// The picture is drawn in "design units": 1380 x 512, squeezed into 2048 x 1024 pixels, because
// the tank stretches the picture to about 2.7 : 1 on screen. Shapes drawn round in design units
// therefore look round in the tank. The design was made for 1024 x 512 pixels; at twice that the
// finer noise shows and the anti-aliased outlines keep a width of about one pixel (`kPx`), so the
// half-size mipmap that small screens use looks as the 1024 x 512 picture did.
#include <cmath>

#include "Art.h"
#include "Formats.h"

namespace art {
namespace {

constexpr int kW = 2048, kH = 1024;
constexpr int kSS = 2;                  // supersampling factor
constexpr float kDW = 1380.0f, kDH = 512.0f;
// One pixel of the picture in design units (vertically). The anti-aliased outlines are about
// 1.2 to 1.5 pixels wide.
constexpr float kPx = kDH / kH;
constexpr float kHorizon = 318.0f;      // where the floor fades into the haze

const Rgb kSurface = hex(0x8AD8E6);
const Rgb kUpper = hex(0x2F93C0);
const Rgb kMiddle = hex(0x17659A);
const Rgb kDeep = hex(0x0E4A7A);
const Rgb kHaze = hex(0x2A7FA6);        // far water at the horizon
const Rgb kSand = hex(0xD6BC86);
const Rgb kSandDark = hex(0xA08858);
const Rgb kLight = hex(0xD8F6FF);

struct Canvas {
    Image img{kW * kSS, kH * kSS};
    static float toX(int px) { return (px + 0.5f) / kSS * (kDW / kW); }
    static float toY(int py) { return (py + 0.5f) / kSS * (kDH / kH); }
    // Calls f(X, Y, colour&) for every pixel inside the design box; f returns the coverage.
    template <class F>
    void paint(float x0, float y0, float x1, float y1, F f) {
        int px0 = std::max(0, static_cast<int>(x0 * kW / kDW * kSS) - 1);
        int px1 = std::min(img.w - 1, static_cast<int>(x1 * kW / kDW * kSS) + 1);
        int py0 = std::max(0, static_cast<int>(y0 * kH / kDH * kSS) - 1);
        int py1 = std::min(img.h - 1, static_cast<int>(y1 * kH / kDH * kSS) + 1);
        for (int py = py0; py <= py1; ++py)
            for (int px = px0; px <= px1; ++px) {
                Rgb c = img.at(px, py);
                float a = f(toX(px), toY(py), c);
                if (a > 0) img.blend(px, py, c, a);
            }
    }
};

// How much of the water's colour veils something at this depth (0 near, 1 lost in the haze).
float hazeAt(float depth) { return clamp01(1.0f - std::exp(-depth * 1.6f)); }

// Colour of open water, looking along the view at height Y.
Rgb waterAt(float X, float Y) {
    float t = Y / kDH;
    Rgb c;
    if (t < 0.28f) c = mix(kSurface, kUpper, smoothstep(0.0f, 0.28f, t));
    else if (t < 0.62f) c = mix(kUpper, kMiddle, smoothstep(0.28f, 0.62f, t));
    else c = mix(kMiddle, kDeep, smoothstep(0.62f, 1.0f, t));
    // Brighter toward the sun, a little to the left of the middle.
    float dx = (X - kDW * 0.42f) / kDW;
    c = c + kLight * (0.10f * std::exp(-dx * dx * 6.0f) * (1.0f - t));
    // Slow blotches of denser water.
    c = c * (1.0f + 0.05f * fbm(X / 260.0f, Y / 180.0f, 11, 4));
    return c;
}

void drawWater(Canvas& cv) {
    cv.paint(0, 0, kDW, kDH, [](float X, float Y, Rgb& c) {
        c = waterAt(X, Y);
        // The underside of the surface: bright wavy cells along the top edge.
        if (Y < 70) {
            float f1, f2;
            worley(X / 38.0f, Y / 9.0f + 0.3f * fbm(X / 90.0f, Y / 30.0f, 5, 3), 21, f1, f2);
            float edge = std::exp(-(f2 - f1) * 9.0f);
            float fade = std::pow(1.0f - Y / 70.0f, 2.0f);
            c = screen(c, kLight * (0.55f * edge * fade));
            c = mix(c, kSurface, 0.35f * fade);
        }
        return 1.0f;
    });
}

// A reef ridge far away: a soft silhouette, veiled by the water.
void drawRidge(Canvas& cv, float base, float height, float scale, std::uint32_t seed, float veil,
               const Rgb& tint) {
    cv.paint(0, base - height * 1.3f, kDW, kDH, [&](float X, float Y, Rgb& c) {
        float n = fbm(X / scale, 0.5f, seed, 5);
        float bumps = 0.5f + 0.5f * vnoise(X / (scale * 0.25f), 3.0f, seed + 9);
        float top = base - height * (0.55f + 0.45f * n) - height * 0.35f * bumps * bumps;
        float d = top - Y;  // positive above the ridge
        if (d > 2) return 0.0f;
        float depthInside = clamp01((Y - top) / 80.0f);
        Rgb rock = tint * (0.85f + 0.25f * fbm(X / 30.0f, Y / 20.0f, seed + 3, 4));
        rock = rock * (1.05f - 0.25f * depthInside);
        c = mix(rock, waterAt(X, Y), veil);
        return cover(d, 1.5f * kPx);
    });
}

// ---- the floor ----
struct FloorPoint {
    float fx, fz;  // ground coordinates: across and into the distance
    float depth;   // 0 at the front edge, about 1 far away
};
FloorPoint floorAt(float X, float Y) {
    float dy = std::max(Y - (kHorizon - 24.0f), 1.0f);
    float z = 60.0f / dy;  // about 0.3 at the bottom, 2.5 near the horizon
    return {(X - kDW * 0.5f) * z / 180.0f, z, clamp01((z - 0.3f) / 1.6f)};
}

void drawFloor(Canvas& cv) {
    cv.paint(0, kHorizon - 30, kDW, kDH, [](float X, float Y, Rgb& c) {
        FloorPoint p = floorAt(X, Y);
        // Gentle dunes lift the floor's far edge unevenly.
        float edge = kHorizon - 6.0f - 16.0f * fbm(X / 240.0f, 0.0f, 41, 4) - 6.0f * vnoise(X / 40.0f, 1.0f, 43);
        if (Y < edge - 2) return 0.0f;
        float warp = 0.9f * fbm(p.fx * 1.3f, p.fz * 1.3f, 47, 4);
        // Sand ripples, running across the view, a little wavy.
        float ripple = std::sin((p.fz * 19.0f + warp * 3.0f + p.fx * 1.5f) * 2.0f * kPi * 0.5f);
        float rippleShade = 0.5f + 0.5f * ripple;
        rippleShade = rippleShade * rippleShade;
        Rgb sand = mix(kSandDark, kSand, 0.25f + 0.75f * rippleShade) * (0.86f + 0.2f * rippleShade);
        float grain = fbm(X / 3.0f, Y / 2.0f, 49, 2);
        sand = sand * (1.0f + 0.06f * grain + 0.08f * fbm(p.fx * 4.0f, p.fz * 4.0f, 53, 4));
        // Sunlight focused by the waves: a web of bright lines on the sand.
        float f1, f2;
        float cx = p.fx * 3.0f + 0.9f * fbm(p.fx * 2.1f, p.fz * 2.1f, 61, 3);
        float cz = p.fz * 3.0f + 0.9f * fbm(p.fx * 2.1f + 7.0f, p.fz * 2.1f, 63, 3);
        worley(cx, cz, 59, f1, f2);
        float caustic = std::exp(-(f2 - f1) * 12.0f) * (0.6f + 0.4f * vnoise(p.fx * 1.5f, p.fz * 1.5f, 65));
        sand = sand + kLight * (0.26f * caustic * (1.0f - p.depth));
        // Light falls off toward the front and into the distance.
        sand = sand * (0.80f + 0.25f * (1.0f - std::fabs(Y - 420.0f) / 200.0f));
        float veil = hazeAt(p.depth * 1.25f + 0.08f);
        c = mix(sand, kHaze * 0.95f, veil);
        c = mix(c, waterAt(X, Y), 0.06f + 0.18f * p.depth);
        return cover(edge - Y, 3.0f);
    });
}

// ---- rocks ----
struct Rock {
    float x, y, rx, ry;
    std::uint32_t seed;
    float veil;
};

void drawRock(Canvas& cv, const Rock& r) {
    // Contact shadow on the sand.
    cv.paint(r.x - r.rx * 1.5f, r.y - r.ry * 0.3f, r.x + r.rx * 1.5f, r.y + r.ry * 0.4f,
             [&](float X, float Y, Rgb& c) {
                 float d = sdEllipse(X, Y, r.x + r.rx * 0.1f, r.y + r.ry * 0.05f, r.rx * 1.3f, r.ry * 0.28f);
                 c = c * 0.55f;
                 return 0.55f * (1.0f - smoothstep(-r.ry * 0.2f, r.ry * 0.05f, d)) * (1.0f - r.veil);
             });
    cv.paint(r.x - r.rx * 1.3f, r.y - r.ry * 1.3f, r.x + r.rx * 1.3f, r.y + r.ry * 0.3f,
             [&](float X, float Y, Rgb& c) {
                 float nx = (X - r.x) / r.rx, ny = (Y - r.y) / r.ry;
                 float ang = std::atan2(ny, nx);
                 float rad = 1.0f + 0.16f * fbm(std::cos(ang) * 1.7f + 5, std::sin(ang) * 1.7f + 5, r.seed, 4) +
                             0.05f * vnoise(ang * 6.0f, 1.0f, r.seed + 5);
                 float k = std::sqrt(nx * nx + ny * ny);
                 float d = (k - rad) * std::min(r.rx, r.ry);
                 if (ny > 0.12f) d = std::max(d, (ny - 0.12f) * r.ry);  // buried in the sand
                 if (d > 2) return 0.0f;
                 // Pseudo normal of a squashed dome, lit from above and a little from the left.
                 float q = clamp01(k / rad);
                 float nz = std::sqrt(std::max(0.0f, 1.0f - q * q));
                 float lx = -0.35f, ly = -0.8f, lz = 0.5f;
                 float lit = clamp01((nx / rad) * lx + (ny / rad) * ly + nz * lz);
                 float tex = fbm(X / 14.0f, Y / 10.0f, r.seed + 7, 5);
                 float fine = fbm(X / 2.5f, Y / 2.0f, r.seed + 11, 3);
                 float crack = std::fabs(fbm(X / 40.0f, Y / 30.0f, r.seed + 13, 3));
                 Rgb stone = mix(hex(0x5B5A55), hex(0x9C9684), 0.5f + 0.5f * tex);
                 stone = stone * (1.0f + 0.10f * fine);
                 stone = stone * (0.28f + 1.05f * std::pow(lit, 0.9f));
                 stone = stone * (0.82f + 0.18f * smoothstep(0.0f, 0.06f, crack));
                 // Moss and algae on the lit top.
                 float algae = smoothstep(0.1f, 0.7f, -ny + 0.5f * tex + 0.25f * fine);
                 Rgb moss = mix(hex(0x3F5F2A), hex(0x7C8F3E), 0.5f + 0.5f * fine);
                 stone = mix(stone, moss * (0.45f + 0.8f * lit), 0.7f * algae);
                 // Rim light from the water above.
                 stone = stone + kLight * (0.12f * smoothstep(0.75f, 1.0f, q) * clamp01(-ny));
                 c = mix(stone, waterAt(X, Y), r.veil);
                 return cover(d, 1.5f * kPx);
             });
}

// ---- plants ----
struct BladeStyle {
    Rgb base, tip, rib;
    float veil;
};

// A tapered ribbon along a polyline with per-point half widths.
void drawRibbon(Canvas& cv, const std::vector<float>& xs, const std::vector<float>& ys,
                const std::vector<float>& ws, const BladeStyle& st) {
    float x0 = 1e9f, y0 = 1e9f, x1 = -1e9f, y1 = -1e9f, wmax = 0;
    for (size_t i = 0; i < xs.size(); ++i) {
        x0 = std::min(x0, xs[i]); x1 = std::max(x1, xs[i]);
        y0 = std::min(y0, ys[i]); y1 = std::max(y1, ys[i]);
        wmax = std::max(wmax, ws[i]);
    }
    const size_t n = xs.size();
    cv.paint(x0 - wmax - 2, y0 - wmax - 2, x1 + wmax + 2, y1 + wmax + 2, [&](float X, float Y, Rgb& c) {
        float best = 1e9f, bestT = 0, bestSide = 0;
        for (size_t i = 0; i + 1 < n; ++i) {
            float ax = xs[i], ay = ys[i], bx = xs[i + 1], by = ys[i + 1];
            float dx = bx - ax, dy = by - ay;
            float t = clamp01(((X - ax) * dx + (Y - ay) * dy) / (dx * dx + dy * dy + 1e-9f));
            float qx = ax + dx * t - X, qy = ay + dy * t - Y;
            float w = lerp(ws[i], ws[i + 1], t);
            float dist = std::sqrt(qx * qx + qy * qy);
            float d = dist - w;
            if (d < best) {
                best = d;
                bestT = (i + t) / (n - 1);
                float cross = dx * (-qy) - dy * (-qx);
                bestSide = (w > 1e-3f ? dist / w : 1.0f) * (cross >= 0 ? 1.0f : -1.0f);
            }
        }
        if (best > 2) return 0.0f;
        Rgb col = mix(st.base, st.tip, std::pow(bestT, 0.8f));
        // Rounded cross-section: light on one side, shadow on the other, a rib in the middle.
        col = col * (0.78f + 0.30f * (0.5f - 0.5f * bestSide));
        col = mix(col, st.rib, 0.45f * (1.0f - smoothstep(0.0f, 0.22f, std::fabs(bestSide))));
        col = col + kLight * (0.10f * smoothstep(0.6f, 1.0f, bestT));
        c = mix(col, waterAt(X, Y), st.veil);
        return cover(best, 1.2f * kPx);
    });
}

// Eel grass: a tuft of long thin blades from one root.
void drawGrassTuft(Canvas& cv, float x, float y, int blades, float height, std::uint32_t seed, float veil) {
    Prng rng(seed);
    for (int b = 0; b < blades; ++b) {
        float lean = rng.range(-0.55f, 0.55f);
        float h = height * rng.range(0.55f, 1.05f);
        float w = rng.range(2.2f, 3.6f) * (height / 220.0f + 0.5f);
        float phase = rng.range(0, 6.28f), sway = rng.range(6, 22);
        std::vector<float> xs, ys, ws;
        const int steps = 24;
        for (int i = 0; i <= steps; ++i) {
            float t = static_cast<float>(i) / steps;
            xs.push_back(x + rng.range(-0.3f, 0.3f) + lean * h * t * t + sway * std::sin(phase + t * 3.2f) * t);
            ys.push_back(y - h * t * (1.0f - 0.18f * std::fabs(lean) * t));
            ws.push_back(w * (1.0f - 0.85f * t * t) + 0.3f);
        }
        BladeStyle st{hex(0x2E5E2A), mix(hex(0x8DBB4A), hex(0x6FAE63), rng.uniform()), hex(0x24481F), veil};
        if (rng.uniform() < 0.3f) st.tip = hex(0xA7C85A);
        drawRibbon(cv, xs, ys, ws, st);
    }
}

// Kelp: a wavy stalk with broad leaves along it.
void drawKelp(Canvas& cv, float x, float y, float height, std::uint32_t seed, float veil) {
    Prng rng(seed);
    std::vector<float> sx, sy, sw;
    const int steps = 40;
    float phase = rng.range(0, 6.28f);
    for (int i = 0; i <= steps; ++i) {
        float t = static_cast<float>(i) / steps;
        sx.push_back(x + 18.0f * std::sin(phase + t * 5.0f) * t + 10.0f * t);
        sy.push_back(y - height * t);
        sw.push_back(3.2f - 1.8f * t);
    }
    BladeStyle leaf{hex(0x5F6626), hex(0xC2A948), hex(0x7A6A26), veil};
    for (int i = 4; i < steps; i += 3) {
        float side = (i / 3) % 2 ? 1.0f : -1.0f;
        float len = rng.range(70, 120) * (1.0f - 0.35f * i / steps);
        float lift = rng.range(0.35f, 0.8f);
        float wave = rng.range(0, 6.28f);
        std::vector<float> lx, ly, lw;
        for (int k = 0; k <= 16; ++k) {
            float t = k / 16.0f;
            // Leaves stream a little with the current (to the right) and droop at their ends.
            lx.push_back(sx[i] + (side * 0.55f + 0.45f) * len * t + 4.0f * std::sin(wave + t * 7.0f));
            ly.push_back(sy[i] - len * lift * t + len * 0.45f * t * t);
            lw.push_back(7.0f * std::sin(kPi * std::pow(t, 0.6f)) * (1.0f + 0.15f * std::sin(t * 13.0f + wave)) + 0.4f);
        }
        drawRibbon(cv, lx, ly, lw, leaf);
    }
    drawRibbon(cv, sx, sy, sw, BladeStyle{hex(0x4E5420), hex(0x8F8738), hex(0x3C3F18), veil});
}

// ---- corals ----
void drawBranch(Canvas& cv, float x, float y, float ang, float len, float w, int depth, Prng& rng,
                const BladeStyle& st) {
    float ex = x + std::cos(ang) * len, ey = y - std::sin(ang) * len;
    drawRibbon(cv, {x, (x + ex) * 0.5f + rng.range(-3, 3), ex}, {y, (y + ey) * 0.5f, ey}, {w, w * 0.9f, w * 0.8f}, st);
    if (depth == 0) {
        // A rounded, paler tip.
        BladeStyle tip = st;
        tip.base = tip.tip;
        drawRibbon(cv, {ex, ex + std::cos(ang) * 1.5f}, {ey, ey - std::sin(ang) * 1.5f}, {w * 0.85f, w * 0.8f}, tip);
        return;
    }
    int children = 2 + (rng.uniform() < 0.35f ? 1 : 0);
    for (int i = 0; i < children; ++i) {
        float a = ang + rng.range(-0.65f, 0.65f) + (i - (children - 1) * 0.5f) * 0.45f;
        a = std::min(std::max(a, 0.35f), kPi - 0.35f);  // branches keep growing upward
        drawBranch(cv, ex, ey, a, len * rng.range(0.62f, 0.85f), w * 0.78f, depth - 1, rng, st);
    }
}

void drawBrainCoral(Canvas& cv, float x, float y, float rx, float ry, std::uint32_t seed, float veil) {
    cv.paint(x - rx - 2, y - ry - 2, x + rx + 2, y + 3, [&](float X, float Y, Rgb& c) {
        float d = sdEllipse(X, Y, x, y, rx, ry);
        if (Y > y) d = std::max(d, Y - y);
        if (d > 2) return 0.0f;
        float nx = (X - x) / rx, ny = (Y - y) / ry;
        float q = clamp01(std::sqrt(nx * nx + ny * ny));
        float lit = clamp01(0.4f - 0.8f * ny - 0.2f * nx) * std::sqrt(1 - q * q) + 0.25f;
        float maze = std::fabs(std::sin(fbm(X / 14.0f, Y / 10.0f, seed, 3) * 14.0f));
        Rgb col = mix(hex(0x9C7A4E), hex(0xD9B77A), smoothstep(0.2f, 0.8f, maze));
        col = col * (0.45f + 0.85f * lit);
        c = mix(col, waterAt(X, Y), veil);
        return cover(d, 1.3f * kPx);
    });
}

// A sea fan: a flat net of thin branches.
void drawFan(Canvas& cv, float x, float y, float size, std::uint32_t seed, float veil, const Rgb& colour) {
    Prng rng(seed);
    BladeStyle st{colour * 0.8f, colour, colour * 0.7f, veil};
    for (int i = 0; i < 9; ++i) {
        float a = kPi * 0.5f + (i - 4) * 0.17f + rng.range(-0.05f, 0.05f);
        drawBranch(cv, x, y, a, size * rng.range(0.28f, 0.36f), 2.2f, 3, rng, st);
    }
}

// A sea anemone: a short column with a crown of soft tentacles, tips lit.
void drawAnemone(Canvas& cv, float x, float y, float size, std::uint32_t seed, const Rgb& body, const Rgb& tip) {
    Prng rng(seed);
    const int tentacles = 34;
    // Back row first, then the front row, so the crown has depth.
    for (int pass = 0; pass < 2; ++pass)
        for (int i = 0; i < tentacles; ++i) {
            float f = (i + 0.5f) / tentacles;
            float ang = kPi * (0.08f + 0.84f * f) + rng.range(-0.06f, 0.06f);
            float len = size * rng.range(0.55f, 0.9f) * (0.75f + 0.25f * std::sin(kPi * f));
            float sway = rng.range(-0.35f, 0.35f);
            float bx = x + std::cos(ang) * size * 0.28f, by = y - size * 0.42f;
            std::vector<float> xs, ys, ws;
            for (int k = 0; k <= 10; ++k) {
                float t = k / 10.0f;
                float a = ang + sway * t * t;
                xs.push_back(bx + std::cos(a) * len * t * (pass ? 1.0f : 0.85f));
                ys.push_back(by - std::sin(a) * len * t * (pass ? 1.0f : 0.85f) + 0.18f * len * t * t);
                ws.push_back(size * 0.055f * (1.0f - 0.55f * t));
            }
            BladeStyle st{pass ? body : body * 0.75f, pass ? tip : tip * 0.8f, body * 0.9f, 0.0f};
            drawRibbon(cv, xs, ys, ws, st);
        }
    // A soft shadow on the sand, then the column in front of the lower tentacles.
    cv.paint(x - size * 0.6f, y - size * 0.1f, x + size * 0.7f, y + size * 0.12f, [&](float X, float Y, Rgb& c) {
        float d = sdEllipse(X, Y, x + size * 0.08f, y, size * 0.5f, size * 0.07f);
        c = c * 0.6f;
        return 0.6f * (1.0f - smoothstep(-size * 0.05f, size * 0.03f, d));
    });
    cv.paint(x - size * 0.4f, y - size * 0.5f, x + size * 0.4f, y + 2, [&](float X, float Y, Rgb& c) {
        float flare = 1.0f + 0.35f * smoothstep(y - size * 0.15f, y, Y);  // the foot spreads on the sand
        float d = sdBox(x + (X - x) / flare, Y, x, y - size * 0.22f, size * 0.24f, size * 0.22f, size * 0.06f);
        float lit = clamp01(0.7f - (X - x) / (size * 0.4f));
        c = mix(body * 0.6f, body * 1.05f, lit) * (0.9f + 0.1f * std::sin(X * 0.8f));
        return cover(d, 1.2f * kPx);
    });
}

// A starfish lying on the sand, seen at a slant.
void drawStarfish(Canvas& cv, float x, float y, float r, float turn, const Rgb& colour) {
    cv.paint(x - r * 1.2f, y - r * 0.8f, x + r * 1.2f, y + r * 0.8f, [&](float X, float Y, Rgb& c) {
        float dx = (X - x) / r, dy = (Y - y) / (r * 0.55f);
        float rad = std::sqrt(dx * dx + dy * dy);
        float ang = std::atan2(dy, dx) + turn;
        float arm = 0.5f + 0.5f * std::cos(ang * 5.0f);
        float edge = 0.32f + 0.68f * std::pow(arm, 2.2f);
        float d = (rad - edge) * r * 0.55f;
        if (d > 2) return 0.0f;
        float ridge = 1.0f - clamp01(rad / edge);
        Rgb col = colour * (0.65f + 0.5f * ridge);
        // Pale round tubercles, in about one cell of five.
        const float cell = 2.2f;
        const int cx = static_cast<int>(std::floor(X / cell)), cy = static_cast<int>(std::floor(Y / cell));
        if (hashf(cx, cy, 71) > 0.82f) {
            float dot = cover(sdCircle(X, Y, (cx + 0.5f) * cell, (cy + 0.5f) * cell, 1.05f), kPx);
            col = mix(col, hex(0xFFE2B0), 0.5f * dot);
        }
        c = col;
        return cover(d, 1.2f * kPx);
    });
}

// Motes drifting in the light.
void drawMotes(Canvas& cv) {
    Prng rng(777);
    for (int i = 0; i < 260; ++i) {
        float x = rng.range(0, kDW), y = rng.range(0, kHorizon + 60);
        float r = rng.range(0.6f, 1.8f);
        float a = rng.range(0.15f, 0.55f) * (1.0f - y / (kHorizon + 80));
        cv.paint(x - 4, y - 4, x + 4, y + 4, [&](float X, float Y, Rgb& c) {
            float d = sdCircle(X, Y, x, y, r);
            c = screen(c, kLight * 0.9f);
            return a * cover(d, 1.6f);
        });
    }
}

// Shafts of sunlight from above the surface, fanning out and fading with depth.
void drawShafts(Canvas& cv) {
    const float sx = kDW * 0.42f, sy = -420.0f;
    cv.paint(0, 0, kDW, kDH, [&](float X, float Y, Rgb& c) {
        float ang = std::atan2(X - sx, Y - sy);
        float n = 0.6f * vnoise(ang * 38.0f, 0.0f, 91) + 0.4f * vnoise(ang * 97.0f, 0.0f, 93);
        float shaft = smoothstep(0.05f, 0.75f, n);
        shaft *= 0.75f + 0.25f * vnoise(ang * 30.0f, Y / 90.0f, 95);
        float fade = std::exp(-Y / 260.0f) * smoothstep(kDH, kHorizon - 40.0f, Y * 0.9f);
        float glow = std::exp(-std::pow((X - sx) / (kDW * 0.45f), 2.0f)) * 0.5f + 0.5f;
        float k = 0.36f * shaft * fade * glow;
        if (k <= 0.002f) return 0.0f;
        c = screen(c, kLight * k);
        return 1.0f;
    });
}

void finish(Image& img) {
    for (int y = 0; y < img.h; ++y)
        for (int x = 0; x < img.w; ++x) {
            float nx = (x + 0.5f) / img.w * 2 - 1, ny = (y + 0.5f) / img.h * 2 - 1;
            float v = 1.0f - 0.18f * (nx * nx * 0.6f + ny * ny * 0.4f);
            Rgb c = clampRgb(img.at(x, y) * v);
            // Pure black turns transparent in the mipmapped loader; keep a trace of blue.
            if (to8(c.r) == 0 && to8(c.g) == 0 && to8(c.b) == 0) c.b = 1.0f / 255.0f;
            img.at(x, y) = c;
        }
}

}  // namespace

Image makeBackground() {
    Canvas cv;
    drawWater(cv);
    drawRidge(cv, 330, 70, 420, 301, 0.78f, hex(0x2C5F6E));
    drawRidge(cv, 336, 40, 260, 303, 0.62f, hex(0x31565A));
    drawFloor(cv);

    // Far corals and fans, well veiled.
    {
        Prng rng(401);
        BladeStyle pink{hex(0x8A4E6A), hex(0xC98DA0), hex(0x6A3E55), 0.55f};
        for (int i = 0; i < 3; ++i)
            drawBranch(cv, 960 + i * 30 + rng.range(-8, 8), 330, kPi * 0.5f + rng.range(-0.3f, 0.3f), 26, 4.5f, 3, rng, pink);
        drawFan(cv, 250, 333, 120, 403, 0.6f, hex(0x9C5A48));
        drawBrainCoral(cv, 1105, 334, 40, 24, 405, 0.5f);
        drawGrassTuft(cv, 560, 332, 10, 70, 407, 0.6f);
        drawGrassTuft(cv, 820, 331, 8, 60, 409, 0.62f);
    }
    // Middle distance.
    {
        drawRock(cv, Rock{1150, 372, 95, 58, 501, 0.32f});
        drawRock(cv, Rock{1040, 380, 45, 26, 503, 0.3f});
        drawBrainCoral(cv, 1210, 372, 52, 30, 505, 0.28f);
        Prng rng(507);
        BladeStyle orange{hex(0xB0562A), hex(0xF0A060), hex(0x8A3E1E), 0.25f};
        for (int i = 0; i < 4; ++i)
            drawBranch(cv, 1085 + i * 22 + rng.range(-6, 6), 345, kPi * 0.5f + rng.range(-0.35f, 0.35f), 30, 5.0f, 3, rng, orange);
        drawGrassTuft(cv, 700, 365, 14, 120, 509, 0.35f);
        drawRock(cv, Rock{380, 385, 70, 34, 511, 0.33f});
        drawFan(cv, 470, 378, 150, 513, 0.3f, hex(0x7A4A8C));
    }
    // Foreground: big rocks and plants at the sides, open sand in the middle.
    {
        drawKelp(cv, 70, 430, 400, 611, 0.08f);
        drawKelp(cv, 1240, 420, 330, 613, 0.12f);
        drawGrassTuft(cv, 250, 440, 22, 320, 615, 0.1f);
        drawRock(cv, Rock{160, 470, 190, 120, 601, 0.05f});
        drawRock(cv, Rock{335, 495, 90, 55, 603, 0.04f});
        drawRock(cv, Rock{1300, 480, 150, 105, 605, 0.05f});
        drawGrassTuft(cv, 1140, 478, 26, 260, 617, 0.06f);
        drawGrassTuft(cv, 900, 505, 12, 120, 619, 0.04f);
        drawGrassTuft(cv, 470, 510, 10, 90, 621, 0.04f);
        drawBrainCoral(cv, 1010, 505, 60, 36, 623, 0.03f);
        drawAnemone(cv, 590, 505, 95, 625, hex(0xB04A78), hex(0xFFC0DA));
        drawAnemone(cv, 1075, 372, 42, 627, hex(0x7A8A3A), hex(0xD8E890));
        drawStarfish(cv, 760, 482, 34, 0.4f, hex(0xE0743A));
        drawStarfish(cv, 1060, 420, 13, 1.1f, hex(0xC9564A));
    }
    drawShafts(cv);
    drawMotes(cv);
    Image img = downsample(cv.img, kSS);
    finish(img);
    return img;
}

}  // namespace art
