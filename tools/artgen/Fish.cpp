// The twenty fish skins.
//
// A skin is 512 x 256 texels addressed by (s, t), t = 0 in the first stored row:
//   body   s 0.00..0.70 (snout .. tail base), t 0.00..0.50 (dorsal .. ventral midline), eye at
//          s 0.10, t 0.20;
//   tail   s 0.70..1.00 (base .. trailing edge), t 0.00..0.50 (upper .. lower lobe);
//   fins   t 0.50..1.00 (base .. free edge): dorsal s 0..0.25, anal 0.25..0.50,
//          pectoral 0.50..0.75, pelvic / long fins 0.75..1.00.
// Inside the body the pattern functions work in u = s / 0.7 (0 snout, 1 tail base) and
// v = t / 0.5 (0 back, 1 belly); fins in a (front .. back, or base .. edge for the tail) and
// b (base .. free edge, or upper .. lower lobe for the tail).
//
// Sizes in texels (eyes, scales, spots) are "design texels" of a 256 x 128 grid, the size the
// skins were designed at; rendered at twice that, the skins carry the same pattern with finer
// edges, and their half-size mipmap looks as the 256 x 128 skins did.
#include <cmath>

#include "Art.h"

namespace art {
namespace {

constexpr int kDesignW = 256, kDesignH = 128;
constexpr int kSkinW = 512, kSkinH = 256, kSS = 4;
// One texel of the skin in design texels: anti-aliased edges are about this wide.
constexpr float kTexel = static_cast<float>(kDesignW) / kSkinW;
constexpr float kEyeU = 0.10f / 0.70f, kEyeV = 0.40f;

enum Fin { kDorsal, kAnal, kPectoral, kPelvic, kTail };

struct Style {
    Rgb back, flank, belly;
    Rgb fin, ray, finEdge;
    float clear;        // how see-through the fin membranes are, 0..1
    float edgeWidth;    // coloured free edge of the fins, as a part of the fin's length
    Rgb iris;
    float eyeRadius;    // texels
    float scale;        // scale width in texels, 0 for smooth skin
    float scaleDepth;   // how strongly the scales show
    float sheen;        // metallic shine along the flank
    int rays;           // rays across a fin
    Rgb (*body)(float u, float v, Rgb c);
    Rgb (*fins)(Fin f, float a, float b, Rgb c);
};

// ---- small helpers for the patterns ----
// Membership of x in [centre - half, centre + half] with soft edges `soft` wide.
float band(float x, float centre, float half, float soft = 0.006f * kTexel) {
    return smoothstep(half + soft, half - soft, std::fabs(x - centre));
}
// Like band, with a dark rim `rim` wide around it: returns the band and writes the rim weight.
float edgedBand(float x, float centre, float half, float rim, float& rimWeight) {
    float inner = band(x, centre, half);
    float outer = band(x, centre, half + rim);
    rimWeight = outer - inner;
    return inner;
}
float spots(float x, float y, float cell, float radius, std::uint32_t seed, float density = 1.0f) {
    float gx = x / cell, gy = y / cell;
    int ix = static_cast<int>(std::floor(gx)), iy = static_cast<int>(std::floor(gy));
    float best = 0;
    for (int j = -1; j <= 1; ++j)
        for (int i = -1; i <= 1; ++i) {
            if (hashf(ix + i, iy + j, seed + 3) > density) continue;
            float cx = ix + i + 0.2f + 0.6f * hashf(ix + i, iy + j, seed);
            float cy = iy + j + 0.2f + 0.6f * hashf(ix + i, iy + j, seed + 1);
            float r = radius * (0.6f + 0.5f * hashf(ix + i, iy + j, seed + 2)) / cell;
            float d = std::sqrt((gx - cx) * (gx - cx) + (gy - cy) * (gy - cy));
            best = std::max(best, smoothstep(r, r * 0.7f, d));
        }
    return best;
}
Rgb keepFin(Fin, float, float, Rgb c) { return c; }

const Rgb kClear = hex(0xC8DDE4);
const Rgb kInk = hex(0x141216);    // the darkest markings: never pure black
const Rgb kWhite = hex(0xF6F6F0);

// ---- the species ----
// 0 clownfish
Rgb clownBody(float u, float v, Rgb c) {
    float rim;
    float head = edgedBand(u + 0.05f * std::sin(v * kPi), 0.285f, 0.045f, 0.012f, rim);
    c = mix(mix(c, kInk, rim), kWhite, head);
    float bulge = 0.035f * std::exp(-std::pow((v - 0.55f) / 0.25f, 2.0f));
    float mid = edgedBand(u + bulge, 0.57f, 0.042f + bulge * 0.6f, 0.012f, rim);
    c = mix(mix(c, kInk, rim), kWhite, mid);
    float tail = edgedBand(u, 0.955f, 0.022f, 0.012f, rim);
    return mix(mix(c, kInk, rim), kWhite, tail);
}
Rgb clownFins(Fin f, float a, float b, Rgb c) {
    if (f == kTail) {
        float edge = smoothstep(0.78f, 0.82f, a);
        float white = smoothstep(0.86f, 0.9f, a);
        return mix(mix(c, kInk, edge), kWhite * 0.95f, white * 0.8f);
    }
    (void)a;
    return mix(c, kInk, smoothstep(0.72f, 0.8f, b) * (f == kPectoral ? 0.4f : 0.9f));
}
// 1 regal blue tang
Rgb tangBody(float u, float v, Rgb c) {
    // The black "palette": a band from the eye sweeping back to the tail, enclosing a blue oval.
    float centreV = 0.30f + 0.10f * std::sin(u * kPi * 0.9f) - 0.12f * u;
    float dark = band(v, centreV, 0.12f + 0.05f * std::sin(u * kPi), 0.02f) *
                 smoothstep(0.12f, 0.16f, u) * smoothstep(1.02f, 0.9f, u);
    float ovalD = std::pow((u - 0.55f) / 0.17f, 2.0f) + std::pow((v - centreV) / 0.07f, 2.0f);
    float oval = smoothstep(1.1f, 0.9f, ovalD);
    float saddle = band(u, 0.22f, 0.04f, 0.015f) * smoothstep(0.5f, 0.3f, v);
    dark = std::max(dark * (1 - oval), saddle);
    // Tail base turns yellow.
    c = mix(c, hex(0xFFD21A), smoothstep(0.93f, 0.99f, u) * 0.8f);
    return mix(c, kInk, dark * 0.95f);
}
Rgb tangFins(Fin f, float a, float b, Rgb c) {
    if (f == kTail) {
        Rgb y = hex(0xFFD21A) * (0.9f + 0.1f * a);
        float lobes = smoothstep(0.2f, 0.12f, b) + smoothstep(0.8f, 0.88f, b);
        return mix(mix(y, c, 0.1f), kInk, clamp01(lobes) * smoothstep(0.25f, 0.4f, a));
    }
    if (f == kPectoral) return mix(hex(0xFFD21A), c, 0.35f + 0.3f * b);
    if (f == kDorsal || f == kAnal) return mix(c, kInk, smoothstep(0.65f, 0.78f, b) * 0.9f);
    return c;
}
// 2 angelfish
Rgb angelBody(float u, float v, Rgb c) {
    float bands = std::max(std::max(band(u, 0.145f, 0.03f, 0.01f), band(u + 0.04f * v, 0.40f, 0.055f, 0.015f)),
                           std::max(band(u - 0.03f * v, 0.68f, 0.04f, 0.015f), band(u, 0.93f, 0.025f, 0.01f)));
    c = mix(c, hex(0xC9B070), 0.25f * smoothstep(0.3f, 0.0f, u) * smoothstep(0.6f, 0.2f, v));
    return mix(c, hex(0x22201E), bands * 0.88f);
}
Rgb angelFins(Fin f, float a, float b, Rgb c) {
    if (f == kDorsal || f == kAnal) {
        float stripe = band(a - 0.35f * b, 0.25f, 0.09f, 0.03f) + band(a - 0.35f * b, 0.62f, 0.07f, 0.03f);
        return mix(c, hex(0x2A2826), clamp01(stripe) * 0.75f);
    }
    if (f == kTail) {
        float dots = spots(a * 40, b * 60, 6, 1.6f, 211, 0.7f) * smoothstep(0.15f, 0.3f, a);
        return mix(c, hex(0x3A3632), dots * 0.5f + 0.3f * band(a, 0.06f, 0.05f, 0.03f));
    }
    if (f == kPelvic) return mix(c, kWhite, 0.25f * b);
    return c;
}
// 3 goldfish
Rgb goldBody(float u, float v, Rgb c) {
    (void)u;
    return mix(c, hex(0xFFE6A0), 0.18f * band(v, 0.55f, 0.15f, 0.2f));
}
Rgb goldFins(Fin f, float a, float b, Rgb c) {
    if (f == kTail) return mix(c, hex(0xFFF0D8), 0.35f * smoothstep(0.5f, 1.0f, a));
    (void)b;
    return c;
}
// 4 neon tetra
Rgb neonBody(float u, float v, Rgb c) {
    float lineV = 0.34f + 0.02f * std::sin(u * 3);
    float span = smoothstep(0.16f, 0.2f, u) * smoothstep(0.86f, 0.78f, u);
    float line = band(v, lineV, 0.07f, 0.015f) * span;
    float glow = band(v, lineV, 0.13f, 0.06f) * span;
    Rgb blue = mix(hex(0x1E8CFF), hex(0x3CE6FF), band(v, lineV - 0.02f, 0.02f, 0.03f));
    c = mix(c, hex(0x3A78A0), glow * 0.4f);
    float red = smoothstep(0.46f, 0.54f, u) * smoothstep(lineV + 0.1f, lineV + 0.16f, v) * smoothstep(1.0f, 0.92f, u);
    c = mix(c, hex(0xE11B2C), red * 0.95f);
    return mix(c, blue, line);
}
Rgb neonFins(Fin f, float a, float b, Rgb c) {
    if (f == kTail) return mix(c, hex(0xE23A40), 0.35f * smoothstep(0.3f, 0.0f, a) * band(b, 0.5f, 0.25f, 0.1f));
    if (f == kAnal) return mix(c, kWhite, 0.5f * smoothstep(0.1f, 0.4f, a) * band(b, 0.8f, 0.1f, 0.05f) * 0.3f);
    return c;
}
// 5 discus
Rgb discusBody(float u, float v, Rgb c) {
    float wave = std::sin(v * kPi * 11.0f + 1.3f * std::sin(u * 13.0f) + 0.8f * fbm(u * 6, v * 6, 501, 3) * 3.0f);
    float lines = smoothstep(0.35f, 0.6f, wave) * smoothstep(0.1f, 0.2f, u);
    c = mix(c, hex(0x2FC4C8), lines * 0.9f);
    float bars = 0.5f + 0.5f * std::cos((u - 0.14f) * kPi * 2 * 8.5f);
    c = c * (1.0f - 0.18f * std::pow(bars, 6.0f) * smoothstep(0.1f, 0.2f, u));
    return c;
}
Rgb discusFins(Fin f, float a, float b, Rgb c) {
    if (f == kDorsal || f == kAnal) {
        float wave = std::sin(b * kPi * 7.0f + 2.0f * std::sin(a * 9.0f));
        c = mix(c, hex(0x2FC4C8), smoothstep(0.4f, 0.7f, wave) * 0.8f * smoothstep(0.85f, 0.6f, b));
        return mix(c, hex(0xF04A20), smoothstep(0.8f, 0.9f, b) * 0.8f);
    }
    return c;
}
// 6 betta
Rgb bettaBody(float u, float v, Rgb c) {
    float sheen = 0.5f + 0.5f * fbm(u * 9, v * 5, 601, 3);
    return mix(c, hex(0x3040C8), 0.35f * sheen * band(v, 0.45f, 0.3f, 0.15f) * smoothstep(0.18f, 0.3f, u));
}
Rgb bettaFins(Fin f, float a, float b, Rgb c) {
    float base = smoothstep(0.45f, 0.1f, f == kTail ? a : b);
    c = mix(c, hex(0x3A2AC0), 0.5f * base * (f == kPectoral ? 0.3f : 1.0f));
    float edge = smoothstep(0.88f, 0.96f, f == kTail ? a : b);
    return mix(c, hex(0xFF5A6A), 0.45f * edge);
}
// 7 koi (white, red and black)
Rgb koiBody(float u, float v, Rgb c) {
    // Large red patches on the back with white between them, and a few black (sumi) marks.
    float n = fbm(u * 3.2f, v * 2.6f, 701, 4) + 0.8f * (0.45f - v);
    float red = smoothstep(0.08f, 0.13f, n) * smoothstep(0.04f, 0.1f, u) * smoothstep(0.97f, 0.88f, u);
    c = mix(c, hex(0xD8261C), red);
    float m = fbm(u * 7.0f + 3.0f, v * 4.0f, 703, 4) + 0.4f * (0.5f - v);
    float ink = smoothstep(0.42f, 0.47f, m) * smoothstep(0.28f, 0.34f, u);
    return mix(c, hex(0x1C1C20), ink * 0.92f);
}
Rgb koiFins(Fin f, float a, float b, Rgb c) {
    if (f == kPectoral) return mix(c, hex(0x202024), 0.8f * band(a, 0.35f, 0.08f, 0.03f) * smoothstep(0.6f, 0.2f, b));
    if (f == kDorsal) return mix(c, hex(0xD8261C), 0.4f * smoothstep(0.5f, 0.0f, b));
    (void)a;
    return c;
}
// 8 threadfin butterflyfish
Rgb butterflyBody(float u, float v, Rgb c) {
    float yellow = smoothstep(0.72f, 0.8f, u + (1.0f - v) * 0.45f);
    float chevron = std::sin((u * 1.0f + std::fabs(v - 0.55f) * 0.55f) * kPi * 2 * 10.0f);
    c = mix(c, hex(0x8A8478), smoothstep(0.8f, 0.95f, chevron) * 0.55f * (1 - yellow) * smoothstep(0.22f, 0.28f, u));
    c = mix(c, hex(0xF7C21C), yellow);
    float rim;
    float eyeBand = edgedBand(u + 0.03f * v, 0.15f, 0.035f, 0.015f, rim);
    c = mix(c, kWhite, rim * 0.8f);
    return mix(c, kInk, eyeBand);
}
Rgb butterflyFins(Fin f, float a, float b, Rgb c) {
    if (f == kDorsal) {
        float spot = smoothstep(1.1f, 0.8f, std::pow((a - 0.78f) / 0.1f, 2.0f) + std::pow((b - 0.45f) / 0.22f, 2.0f));
        float ring = smoothstep(1.6f, 1.2f, std::pow((a - 0.78f) / 0.1f, 2.0f) + std::pow((b - 0.45f) / 0.22f, 2.0f)) - spot;
        return mix(mix(c, kWhite, ring * 0.8f), kInk, spot);
    }
    if (f == kTail) return mix(mix(c, kInk, band(a, 0.72f, 0.04f, 0.02f)), kClear, smoothstep(0.8f, 0.9f, a) * 0.7f);
    if (f == kAnal) return mix(c, kInk, band(b, 0.78f, 0.04f, 0.02f) * 0.8f);
    return c;
}
// 9 guppy
Rgb guppyBody(float u, float v, Rgb c) {
    float rear = smoothstep(0.4f, 0.55f, u);
    float orange = spots(u * 179, v * 64, 12, 5.0f, 901, 0.55f) * rear;
    c = mix(c, hex(0xFF7A1E), orange * 0.9f);
    float teal = spots(u * 179 + 5, v * 64 + 3, 9, 3.5f, 903, 0.6f) * rear * (1 - orange);
    c = mix(c, hex(0x2EC0D0), teal * 0.85f);
    float ink = spots(u * 179 + 2, v * 64 + 7, 10, 2.0f, 905, 0.4f) * rear;
    return mix(c, kInk, ink * 0.8f);
}
Rgb guppyFins(Fin f, float a, float b, Rgb c) {
    if (f == kTail) {
        Rgb t = mix(hex(0xF0401E), hex(0xFFA040), b * 0.5f + 0.3f * a);
        float dots = spots(a * 77, b * 64, 7, 2.2f, 907, 0.8f);
        t = mix(t, hex(0x1E1030), dots * 0.85f);
        return mix(t, hex(0x40B0FF), smoothstep(0.9f, 0.97f, a) * 0.6f);
    }
    if (f == kDorsal) {
        float dots = spots(a * 64, b * 64, 8, 2.5f, 909, 0.7f);
        return mix(mix(c, hex(0x38B8A8), 0.5f), kInk, dots * 0.6f);
    }
    return c;
}
// 10 zebra danio
Rgb danioBody(float u, float v, Rgb c) {
    float start = smoothstep(0.18f, 0.26f, u);
    float s = 0;
    const float rows[4] = {0.30f, 0.44f, 0.58f, 0.72f};
    for (float r : rows) s = std::max(s, band(v, r + 0.02f * std::sin(u * 6), 0.045f, 0.012f));
    return mix(c, hex(0x23337E), s * start * 0.95f);
}
Rgb danioFins(Fin f, float a, float b, Rgb c) {
    if (f == kTail) {
        float s = std::max(std::max(band(b, 0.38f, 0.05f, 0.02f), band(b, 0.5f, 0.05f, 0.02f)), band(b, 0.62f, 0.05f, 0.02f));
        return mix(c, hex(0x2A3A8A), s * smoothstep(0.85f, 0.5f, a) * 0.85f);
    }
    if (f == kAnal) {
        float s = std::max(band(b, 0.3f, 0.07f, 0.02f), band(b, 0.62f, 0.07f, 0.02f));
        return mix(c, hex(0x2A3A8A), s * 0.8f);
    }
    return c;
}
// 11 tiger barb
Rgb barbBody(float u, float v, Rgb c) {
    float bars = std::max(std::max(band(u, 0.145f, 0.035f, 0.01f), band(u + 0.03f * v, 0.40f, 0.05f, 0.012f)),
                          std::max(band(u, 0.66f, 0.042f, 0.012f) * smoothstep(0.85f, 0.7f, v),
                                   band(u, 0.95f, 0.03f, 0.01f)));
    c = mix(c, hex(0xE0402A), smoothstep(0.06f, 0.0f, u) * 0.8f);
    return mix(c, kInk, bars * 0.92f);
}
Rgb barbFins(Fin f, float a, float b, Rgb c) {
    Rgb red = hex(0xE8321E);
    if (f == kDorsal) return mix(mix(c, kInk, smoothstep(0.75f, 0.4f, b) * 0.85f), red, smoothstep(0.75f, 0.85f, b));
    if (f == kTail) return mix(c, red, (smoothstep(0.25f, 0.1f, b) + smoothstep(0.75f, 0.9f, b)) * smoothstep(0.3f, 0.6f, a) * 0.8f);
    if (f == kPelvic || f == kAnal) return mix(c, red, smoothstep(0.3f, 0.8f, b) * 0.75f);
    return c;
}
// 12 mandarin dragonet
Rgb mandarinMaze(float x, float y, Rgb c, std::uint32_t seed) {
    float n = fbm(x, y, seed, 4);
    float w = std::fabs(std::sin(n * 9.0f));
    Rgb blue = hex(0x1C8AD8);
    c = mix(blue, c, smoothstep(0.45f, 0.6f, w));
    return mix(c, hex(0x18306E), band(w, 0.52f, 0.05f, 0.04f) * 0.8f);
}
Rgb mandarinBody(float u, float v, Rgb c) { return mandarinMaze(u * 5.0f, v * 2.2f, c, 1201); }
Rgb mandarinFins(Fin f, float a, float b, Rgb c) {
    if (f == kPectoral) return c;
    c = mandarinMaze(a * 3.0f + f * 7.0f, b * 2.0f, c, 1203);
    return mix(c, hex(0xFF8A3A), smoothstep(0.88f, 0.96f, f == kTail ? a : b) * 0.7f);
}
// 13 yellow tang
Rgb yellowTangBody(float u, float v, Rgb c) {
    float spine = smoothstep(1.2f, 0.8f, std::pow((u - 0.955f) / 0.03f, 2.0f) + std::pow((v - 0.55f) / 0.07f, 2.0f));
    c = c * (1.0f + 0.05f * fbm(u * 30, v * 12, 1301, 2));
    return mix(c, kWhite, spine);
}
// 14 moorish idol
Rgb idolBody(float u, float v, Rgb c) {
    c = mix(c, hex(0xF8D020), smoothstep(0.45f, 0.5f, u) * smoothstep(0.74f, 0.7f, u) * smoothstep(0.75f, 0.45f, v));
    c = mix(c, hex(0xF08020), smoothstep(0.1f, 0.07f, u) * smoothstep(0.6f, 0.5f, v));
    float rim;
    float b1 = edgedBand(u + 0.04f * std::sin(v * kPi), 0.32f, 0.09f, 0.01f, rim);
    c = mix(mix(c, kWhite, rim * 0.8f), kInk, b1);
    float b2 = edgedBand(u, 0.83f, 0.07f, 0.01f, rim);
    return mix(mix(c, kWhite, rim * 0.8f), kInk, b2);
}
Rgb idolFins(Fin f, float a, float b, Rgb c) {
    if (f == kTail) return mix(kInk, kWhite, smoothstep(0.8f, 0.86f, a));
    if (f == kDorsal) return mix(mix(c, kInk, smoothstep(0.45f, 0.4f, a) * 0.9f), kWhite, 0.3f * b);
    if (f == kAnal) return mix(c, kInk, smoothstep(0.5f, 0.45f, a) * 0.9f);
    return c;
}
// 15 cardinal tetra
Rgb cardinalBody(float u, float v, Rgb c) {
    float lineV = 0.33f + 0.02f * std::sin(u * 3);
    float span = smoothstep(0.15f, 0.19f, u) * smoothstep(1.0f, 0.92f, u);
    float line = band(v, lineV, 0.075f, 0.015f) * span;
    float red = smoothstep(lineV + 0.08f, lineV + 0.13f, v) * smoothstep(0.1f, 0.16f, u);
    c = mix(c, hex(0xE0162C), red);
    Rgb blue = mix(hex(0x1878F0), hex(0x46E2FF), band(v, lineV - 0.02f, 0.02f, 0.03f));
    return mix(c, blue, line);
}
Rgb cardinalFins(Fin f, float a, float b, Rgb c) {
    if (f == kTail) return mix(c, hex(0xD8303A), 0.5f * smoothstep(0.35f, 0.0f, a) * band(b, 0.5f, 0.2f, 0.1f));
    if (f == kAnal) return mix(c, kWhite, 0.4f * smoothstep(0.2f, 0.0f, a));
    return c;
}
// 16 sunset wagtail platy
Rgb platyBody(float u, float v, Rgb c) {
    Rgb rear = mix(hex(0xE8401A), hex(0xC82A14), v * 0.3f);
    c = mix(c, rear, smoothstep(0.25f, 0.75f, u + 0.15f * (v - 0.5f)));
    return c;
}
Rgb platyFins(Fin f, float a, float b, Rgb c) {
    if (f == kPectoral) return mix(hex(0xF0A040), kClear, 0.4f);
    (void)a; (void)b;
    return c;
}
// 17 Boeseman's rainbowfish
Rgb rainbowBody(float u, float v, Rgb c) {
    float split = smoothstep(0.46f, 0.58f, u - 0.12f * (v - 0.5f));
    Rgb front = mix(hex(0x3E5C98), hex(0x7A98C8), smoothstep(0.2f, 1.0f, v));
    Rgb rearC = mix(hex(0xE07A10), hex(0xFFD040), smoothstep(0.1f, 1.0f, v));
    c = mix(front, rearC, split);
    float bars = 0.5f + 0.5f * std::cos(u * kPi * 2 * 9.0f);
    return c * (1.0f - 0.2f * std::pow(bars, 8.0f) * (1 - split) * smoothstep(0.15f, 0.25f, u));
}
Rgb rainbowFins(Fin f, float a, float b, Rgb c) {
    if (f == kTail) return mix(c, hex(0xFFB020), 0.5f * (1 - a));
    if (f == kDorsal || f == kAnal) {
        Rgb base = f == kDorsal ? mix(hex(0x4A6AA8), hex(0xF09030), a) : hex(0xF09030);
        return mix(mix(c, base, 0.5f), kInk, smoothstep(0.8f, 0.88f, b) * 0.8f);
    }
    return c;
}
// 18 dwarf gourami
Rgb gouramiBody(float u, float v, Rgb c) {
    float phase = u * 9.5f - v * 2.2f;
    float stripe = smoothstep(0.35f, 0.55f, std::sin(phase * kPi * 2 + 0.5f * std::sin(v * 7.0f))) * smoothstep(0.16f, 0.22f, u);
    c = mix(c, hex(0x38B4E4), stripe * 0.95f);
    float throat = smoothstep(0.62f, 0.8f, v) * smoothstep(0.5f, 0.25f, u);
    return mix(c, hex(0x2E72D0), throat);
}
Rgb gouramiFins(Fin f, float a, float b, Rgb c) {
    if (f == kPelvic) return mix(hex(0xF08A30), hex(0xFFE0A0), b);
    float dots = spots(a * 64, b * 64, 6, 1.8f, 1801, 0.8f);
    if (f == kDorsal) return mix(mix(c, hex(0x3AA8E0), 0.55f), hex(0xE0401E), dots * 0.8f);
    return mix(c, hex(0x40B8F0), dots * 0.8f);
}
// 19 lionfish
Rgb lionBody(float u, float v, Rgb c) {
    float bend = 0.05f * std::sin(v * kPi);
    float x = (u + bend + 0.012f * fbm(u * 6.0f, v * 6.0f, 1903, 3)) * 17.0f;
    float wide = smoothstep(0.25f, 0.05f, std::fabs(fract(x) - 0.5f) - 0.12f);
    float thin = smoothstep(0.06f, 0.02f, std::fabs(fract(x + 0.5f) - 0.5f));
    c = mix(c, hex(0x8A2418), wide * 0.85f);
    return mix(c, hex(0xA85040), thin * 0.6f);
}
Rgb lionFins(Fin f, float a, float b, Rgb c) {
    if (f == kDorsal || f == kPectoral) {
        float bands = smoothstep(0.2f, 0.5f, std::sin(b * kPi * 9.0f + a * 3.0f));
        return mix(c, hex(0x9A2A1E), bands * 0.8f);
    }
    float dots = spots(a * 64, b * 64, 7, 1.6f, 1901, 0.7f);
    return mix(c, hex(0x6A2A1E), dots * 0.8f);
}

const Style& styleOf(int species) {
    static const Style styles[kSpeciesCount] = {
        // back, flank, belly, fin, ray, edge, clear, edgeW, iris, eyeR, scale, depth, sheen, rays
        {hex(0xD9480C), hex(0xF5761A), hex(0xFF9C48), hex(0xF2741C), hex(0xC8500C), hex(0xF2741C), 0.10f, 0.0f,
         hex(0xF08A20), 6.2f, 5.0f, 0.25f, 0.05f, 12, clownBody, clownFins},
        {hex(0x173FB8), hex(0x2C68E8), hex(0x8CB8F2), hex(0x2458D8), hex(0x143890), hex(0x2458D8), 0.10f, 0.0f,
         hex(0x2E2A50), 6.4f, 0.0f, 0.0f, 0.08f, 14, tangBody, tangFins},
        {hex(0x8E948E), hex(0xCDD2D4), hex(0xF0F2EE), hex(0xD0D6D8), hex(0x8A9090), hex(0xE8ECEC), 0.45f, 0.0f,
         hex(0xD0281E), 6.6f, 4.0f, 0.18f, 0.25f, 12, angelBody, angelFins},
        {hex(0xD45A0C), hex(0xF5921C), hex(0xFFD07A), hex(0xF58A20), hex(0xD0600E), hex(0xFFC880), 0.35f, 0.12f,
         hex(0x302418), 7.0f, 9.0f, 0.35f, 0.35f, 16, goldBody, goldFins},
        {hex(0x56644A), hex(0xAEB8B6), hex(0xE6EAEA), hex(0xD8E2E4), hex(0x9AA6A8), hex(0xE8EEEE), 0.75f, 0.0f,
         hex(0x9AB8D8), 7.4f, 3.5f, 0.12f, 0.15f, 10, neonBody, neonFins},
        {hex(0x7A3216), hex(0xC4501C), hex(0xE0823E), hex(0xB8501E), hex(0x803014), hex(0xF04A20), 0.20f, 0.0f,
         hex(0xE0201A), 5.8f, 3.0f, 0.08f, 0.05f, 18, discusBody, discusFins},
        {hex(0x7A0A18), hex(0xA8101E), hex(0xC0303A), hex(0xB0101E), hex(0x700812), hex(0xB0101E), 0.15f, 0.0f,
         hex(0x2A1214), 6.0f, 5.0f, 0.3f, 0.2f, 20, bettaBody, bettaFins},
        {hex(0xE8E6E0), hex(0xF4F2EE), hex(0xFCFAF6), hex(0xF2F0EA), hex(0xC8C4BC), hex(0xFCFAF6), 0.35f, 0.0f,
         hex(0x404040), 6.8f, 9.0f, 0.3f, 0.15f, 14, koiBody, koiFins},
        {hex(0xD8D6C8), hex(0xF0F0E8), hex(0xF8F8F2), hex(0xF6C81E), hex(0xC89A10), hex(0xF6C81E), 0.15f, 0.0f,
         hex(0x403020), 5.6f, 4.0f, 0.12f, 0.05f, 14, butterflyBody, butterflyFins},
        {hex(0x7C8C78), hex(0xB4C0AC), hex(0xE4E2D0), hex(0xC8D8D0), hex(0x8A9A90), hex(0xC8D8D0), 0.55f, 0.0f,
         hex(0xB0C8D0), 7.2f, 4.0f, 0.15f, 0.2f, 16, guppyBody, guppyFins},
        {hex(0x8C8A60), hex(0xD8CC98), hex(0xF2ECD8), hex(0xE0DCC0), hex(0xA8A080), hex(0xF4F0E0), 0.55f, 0.0f,
         hex(0xC0C8D0), 6.6f, 3.5f, 0.12f, 0.3f, 10, danioBody, danioFins},
        {hex(0xA88426), hex(0xE8B440), hex(0xF6E2A8), hex(0xF0D070), hex(0xC0A040), hex(0xF0D070), 0.45f, 0.0f,
         hex(0xE0A040), 6.4f, 4.5f, 0.22f, 0.3f, 10, barbBody, barbFins},
        {hex(0xC8581A), hex(0xE8761E), hex(0xF09030), hex(0xE8761E), hex(0xB05016), hex(0xE8761E), 0.10f, 0.0f,
         hex(0xF08A20), 6.8f, 0.0f, 0.0f, 0.1f, 10, mandarinBody, mandarinFins},
        {hex(0xEAB40E), hex(0xFFD21A), hex(0xFFE468), hex(0xFFCC18), hex(0xE0A808), hex(0xFFD83A), 0.12f, 0.0f,
         hex(0x28201A), 6.2f, 0.0f, 0.0f, 0.08f, 16, yellowTangBody, keepFin},
        {hex(0xE6E2D2), hex(0xF4F0E0), hex(0xFAF8F0), hex(0xF4F0E2), hex(0xC8C0A8), hex(0xFAF8F0), 0.25f, 0.0f,
         hex(0x3A3024), 5.8f, 0.0f, 0.0f, 0.08f, 12, idolBody, idolFins},
        {hex(0x334840), hex(0x8C9CA0), hex(0xD8DEE0), hex(0xD8E2E4), hex(0x9AA6A8), hex(0xE8EEEE), 0.75f, 0.0f,
         hex(0x90B0D8), 7.4f, 3.5f, 0.12f, 0.15f, 10, cardinalBody, cardinalFins},
        {hex(0xD88A1E), hex(0xF0AC30), hex(0xF8D070), hex(0x2A2622), hex(0x141210), hex(0x3A3430), 0.18f, 0.0f,
         hex(0xC89030), 6.6f, 4.5f, 0.22f, 0.2f, 12, platyBody, platyFins},
        {hex(0x3A5088), hex(0x6080B8), hex(0xB0C4DC), hex(0xE09028), hex(0xA06018), hex(0xE09028), 0.30f, 0.0f,
         hex(0xD8DCE0), 6.6f, 5.5f, 0.35f, 0.25f, 12, rainbowBody, rainbowFins},
        {hex(0xC03A1A), hex(0xE4522A), hex(0xF07A4A), hex(0xE0482A), hex(0xA02E14), hex(0xFF7A40), 0.25f, 0.1f,
         hex(0xE04A1A), 6.4f, 4.5f, 0.2f, 0.15f, 12, gouramiBody, gouramiFins},
        {hex(0xE8D4BC), hex(0xF2E4D0), hex(0xFAF2E6), hex(0xF2E0D0), hex(0x9A3A28), hex(0xF6EAE0), 0.35f, 0.0f,
         hex(0xC82A1A), 6.6f, 0.0f, 0.0f, 0.05f, 14, lionBody, lionFins},
    };
    return styles[species];
}

// Overlapping scales, anchored at the front: the visible edge of each is its rear arc.
// Returns a brightness factor around 1 and the sheen weight at this texel.
float scaleShade(float px, float py, float width, float& sheen) {
    const float rowH = width * 0.55f;
    const float radius = width * 0.62f;
    int row = static_cast<int>(std::floor(py / rowH));
    float bestX = 1e9f, bestD = 0, bestDx = 0;
    for (int r = row - 2; r <= row + 2; ++r) {
        float offset = (r & 1) ? 0.5f * width : 0.0f;
        int col = static_cast<int>(std::floor((px - offset) / width));
        for (int c = col - 1; c <= col + 2; ++c) {
            float cx = c * width + offset, cy = (r + 0.5f) * rowH;
            float dx = px - cx, dy = py - cy;
            float d = std::sqrt(dx * dx + dy * dy);
            if (d < radius && cx < bestX) { bestX = cx; bestD = d; bestDx = dx; }
        }
    }
    if (bestX > 1e8f) { sheen = 0; return 1.0f; }
    float rimDist = radius - bestD;  // texels from the visible edge
    float rim = smoothstep(1.1f, 0.0f, rimDist);
    float inner = clamp01(bestDx / radius);  // brighter toward the free edge
    sheen = inner * smoothstep(0.0f, 1.2f, rimDist);
    return 1.0f - 0.55f * rim + 0.25f * inner;
}

Rgb bodyColour(int species, const Style& st, float u, float v) {
    const float px = u * 0.7f * kDesignW, py = v * 0.5f * kDesignH;
    // Countershading: dark back, lighter flank, pale belly.
    Rgb c = mix(st.back, st.flank, smoothstep(0.0f, 0.5f, v));
    c = mix(c, st.belly, smoothstep(0.5f, 1.0f, v));
    c = st.body(u, v, c);
    c = c * (0.86f + 0.14f * smoothstep(0.0f, 0.35f, v));
    // Scales, fading out over the head.
    const float headEnd = 0.24f + 0.04f * std::sin(v * kPi);
    float onBody = smoothstep(headEnd - 0.01f, headEnd + 0.03f, u);
    float sheen = 0;
    if (st.scale > 0) {
        float shade = scaleShade(px, py, st.scale, sheen);
        c = c * lerp(1.0f, shade, st.scaleDepth * onBody);
        sheen *= onBody;
    }
    // Fine skin grain everywhere.
    c = c * (1.0f + 0.04f * fbm(px * 0.5f, py * 0.5f, 31 + species, 2));
    // Metallic shine along the upper flank.
    float shine = st.sheen * band(v, 0.42f, 0.16f, 0.16f) * (0.5f + 0.8f * sheen);
    c = screen(c, Rgb{0.9f, 0.95f, 1.0f} * shine);
    // Lateral line: a row of faint dots following the back.
    float lineV = 0.36f - 0.05f * std::sin(u * kPi * 0.9f) + 0.12f * smoothstep(0.55f, 1.0f, u);
    float dots = 0.5f + 0.5f * std::cos(px * kPi * 2 / 3.0f);
    c = c * (1.0f - 0.12f * band(v, lineV, 0.012f, 0.01f) * dots * smoothstep(0.27f, 0.32f, u));
    // Gill cover: a thin dark curve behind the eye with a lit rim in front of it.
    float gill = u - (headEnd - 0.005f);
    float gillSpan = smoothstep(0.12f, 0.25f, v) * smoothstep(0.95f, 0.8f, v);
    c = c * (1.0f - 0.28f * band(gill, 0.0f, 0.005f, 0.006f) * gillSpan);
    c = c * (1.0f + 0.10f * band(gill, -0.015f, 0.01f, 0.01f) * gillSpan);
    // Mouth: a short dark line at the snout, a little below the eye.
    c = c * (1.0f - 0.45f * band(v, 0.57f, 0.018f, 0.012f) * smoothstep(0.045f, 0.02f, u));
    c = c * (1.0f - 0.12f * smoothstep(0.04f, 0.0f, u));
    // The eye.
    const float ex = kEyeU * 0.7f * kDesignW, ey = kEyeV * 0.5f * kDesignH;
    float dx = px - ex, dy = py - ey;
    float d = std::sqrt(dx * dx + dy * dy);
    float r = st.eyeRadius;
    c = c * (1.0f - 0.25f * smoothstep(r + 2.5f, r, d));  // socket shadow
    const float aa = kTexel;  // half the width of an anti-aliased edge
    if (d < r + 0.6f) {
        Rgb iris = mix(st.iris * 1.15f, st.iris * 0.55f, smoothstep(0.4f * r, r, d));
        iris = mix(iris, kInk, smoothstep(r - 1.3f, r, d));                       // dark rim
        Rgb eye = mix(iris, hex(0x0A0A0E), smoothstep(0.55f * r + 0.5f * aa, 0.55f * r - 0.5f * aa, d));  // pupil
        float hl = std::sqrt((dx + 0.32f * r) * (dx + 0.32f * r) + (dy + 0.32f * r) * (dy + 0.32f * r));
        eye = mix(eye, Rgb{1, 1, 1}, smoothstep(0.24f * r + 0.4f * aa, 0.24f * r - 0.4f * aa, hl) * 0.95f);
        float hl2 = std::sqrt((dx - 0.3f * r) * (dx - 0.3f * r) + (dy - 0.35f * r) * (dy - 0.35f * r));
        eye = mix(eye, Rgb{0.8f, 0.85f, 0.9f}, smoothstep(0.12f * r + 0.4f * aa, 0.12f * r - 0.4f * aa, hl2) * 0.5f);
        c = mix(c, eye, smoothstep(r + 0.6f * aa, r - 0.6f * aa, d));
    }
    return c;
}

// Fin membranes with rays. `a` runs along the fin's base (front to back; for the tail from base
// to trailing edge), `b` from the base to the free edge (for the tail from upper to lower lobe).
Rgb finColour(int species, const Style& st, Fin fin, float a, float b) {
    const bool tail = fin == kTail;
    const float out = tail ? a : b;  // 0 at the body, 1 at the free edge
    Rgb c = st.fin;
    c = st.fins(fin, a, b, c);
    // See-through membrane: more of the water shows toward the edge.
    float clearness = st.clear * (0.25f + 0.75f * out);
    Rgb membrane = mix(c, kClear, clearness);
    // Rays: thin lines from base to edge that branch once toward the tip.
    float across = tail ? b : a;
    float slant = tail ? 0.0f : (fin == kPectoral ? 0.15f : 0.45f) * b;
    float rays = static_cast<float>(st.rays) * (out > 0.55f ? 2.0f : 1.0f);
    float x = (across - slant) * rays + 0.15f * fbm(a * 8, b * 8, 41 + species, 2);
    float ray = std::pow(0.5f + 0.5f * std::cos(x * 2 * kPi), 6.0f);
    Rgb rayC = mix(st.ray, c, 0.3f);
    c = mix(membrane, rayC, ray * (0.55f - 0.25f * out));
    // Near the body the fin is thick and takes the body's colour.
    c = mix(c, st.flank * 0.92f, 0.35f * smoothstep(0.12f, 0.0f, out));
    // Free edge.
    if (st.edgeWidth > 0) c = mix(c, st.finEdge, smoothstep(1.0f - st.edgeWidth, 1.0f - st.edgeWidth * 0.5f, out) * 0.8f);
    // Soft light across the membrane.
    c = c * (0.93f + 0.08f * fbm(a * 5, b * 5, 51 + species, 3));
    return c;
}

Rgb skinColour(int species, float s, float t) {
    const Style& st = styleOf(species);
    if (t < 0.5f) {
        if (s < 0.7f) return bodyColour(species, st, s / 0.7f, t / 0.5f);
        return finColour(species, st, kTail, (s - 0.7f) / 0.3f, t / 0.5f);
    }
    float b = (t - 0.5f) / 0.5f;
    int region = std::min(3, static_cast<int>(s / 0.25f));
    float a = (s - region * 0.25f) / 0.25f;
    const Fin fins[4] = {kDorsal, kAnal, kPectoral, kPelvic};
    return finColour(species, st, fins[region], a, b);
}

}  // namespace

Image makeFishSkin(int species) {
    Image big(kSkinW * kSS, kSkinH * kSS);
    for (int y = 0; y < big.h; ++y)
        for (int x = 0; x < big.w; ++x) {
            float s = (x + 0.5f) / big.w, t = (y + 0.5f) / big.h;
            big.at(x, y) = clampRgb(skinColour(species, s, t));
        }
    Image skin = downsample(big, kSS);
    for (Rgb& p : skin.px)
        if (p.r < 1.5f / 255 && p.g < 1.5f / 255 && p.b < 1.5f / 255) p = Rgb{2.0f / 255, 2.0f / 255, 3.0f / 255};
    return skin;
}

}  // namespace art
