// A flat side view of a fish wearing its skin: used for the species picture of the fish dialog
// and for looking at the skins while making them.
#include <cmath>

#include "Art.h"

namespace art {
namespace {

struct Shape {
    float depth;                 // half height of the body, in body lengths
    float dorsal0, dorsal1, dorsalH;
    float anal0, anal1, analH;
    float tailL, tailSpread, fork;
    float pectoral, pelvic;
};

const Shape& shapeOf(int species) {
    static const Shape shapes[kSpeciesCount] = {
        {0.22f, 0.30f, 0.86f, 0.13f, 0.60f, 0.88f, 0.11f, 0.22f, 0.19f, 0.0f, 0.14f, 0.10f},  // clownfish
        {0.32f, 0.20f, 0.95f, 0.09f, 0.50f, 0.95f, 0.08f, 0.22f, 0.22f, 0.30f, 0.16f, 0.10f},  // regal tang
        {0.36f, 0.30f, 0.75f, 0.50f, 0.35f, 0.78f, 0.48f, 0.26f, 0.24f, 0.45f, 0.12f, 0.55f},  // angelfish
        {0.27f, 0.30f, 0.70f, 0.19f, 0.72f, 0.88f, 0.10f, 0.38f, 0.30f, 0.35f, 0.15f, 0.12f},  // goldfish
        {0.16f, 0.45f, 0.62f, 0.12f, 0.62f, 0.86f, 0.08f, 0.22f, 0.15f, 0.60f, 0.10f, 0.07f},  // neon tetra
        {0.44f, 0.20f, 0.97f, 0.10f, 0.33f, 0.97f, 0.10f, 0.16f, 0.17f, 0.0f, 0.12f, 0.08f},   // discus
        {0.19f, 0.50f, 0.88f, 0.26f, 0.28f, 0.93f, 0.30f, 0.50f, 0.42f, 0.0f, 0.10f, 0.30f},   // betta
        {0.21f, 0.30f, 0.74f, 0.12f, 0.75f, 0.88f, 0.08f, 0.30f, 0.24f, 0.50f, 0.16f, 0.10f},  // koi
        {0.38f, 0.20f, 0.95f, 0.18f, 0.50f, 0.95f, 0.15f, 0.16f, 0.17f, 0.0f, 0.13f, 0.10f},   // butterflyfish
        {0.17f, 0.50f, 0.76f, 0.18f, 0.60f, 0.76f, 0.06f, 0.45f, 0.32f, 0.0f, 0.08f, 0.06f},   // guppy
        {0.15f, 0.50f, 0.66f, 0.10f, 0.58f, 0.84f, 0.08f, 0.22f, 0.15f, 0.60f, 0.10f, 0.07f},  // zebra danio
        {0.29f, 0.35f, 0.60f, 0.16f, 0.66f, 0.86f, 0.10f, 0.22f, 0.20f, 0.55f, 0.10f, 0.10f},  // tiger barb
        {0.19f, 0.35f, 0.90f, 0.17f, 0.50f, 0.92f, 0.10f, 0.24f, 0.18f, 0.0f, 0.18f, 0.10f},   // mandarin
        {0.34f, 0.20f, 0.95f, 0.16f, 0.45f, 0.95f, 0.14f, 0.20f, 0.20f, 0.20f, 0.14f, 0.10f},  // yellow tang
        {0.38f, 0.25f, 0.70f, 0.55f, 0.45f, 0.90f, 0.20f, 0.18f, 0.20f, 0.50f, 0.12f, 0.10f},  // moorish idol
        {0.16f, 0.45f, 0.62f, 0.12f, 0.62f, 0.86f, 0.08f, 0.22f, 0.15f, 0.60f, 0.10f, 0.07f},  // cardinal tetra
        {0.25f, 0.40f, 0.66f, 0.12f, 0.60f, 0.80f, 0.07f, 0.22f, 0.20f, 0.0f, 0.10f, 0.07f},   // platy
        {0.29f, 0.42f, 0.92f, 0.14f, 0.45f, 0.95f, 0.12f, 0.22f, 0.20f, 0.50f, 0.10f, 0.08f},  // rainbowfish
        {0.32f, 0.45f, 0.90f, 0.14f, 0.35f, 0.95f, 0.12f, 0.22f, 0.20f, 0.0f, 0.12f, 0.50f},   // gourami
        {0.25f, 0.20f, 0.85f, 0.35f, 0.65f, 0.88f, 0.12f, 0.22f, 0.20f, 0.0f, 0.45f, 0.15f},   // lionfish
    };
    return shapes[species];
}

float halfHeight(const Shape& sh, float u) {
    u = clamp01(u);
    return sh.depth * (0.16f + 0.84f * std::pow(std::max(0.0f, std::sin(kPi * std::pow(u, 0.72f))), 0.85f)) * (u > 0.85f ? 1.0f - 0.9f * (u - 0.85f) : 1.0f);
}

// Skin colour at (s, t) with clamped edges.
Rgb skinAt(const Image& skin, float s, float t) {
    return skin.sample(clamp01(s) * skin.w, clamp01(t) * skin.h);
}

// A straight-alpha paint target with supersampling.
struct Target {
    ImageA img;
    float scale;  // pixels per body length
    float x0, cy; // snout at x0 (pixels), centre line at cy
    Target(int w, int h) : img(w, h), scale(0), x0(0), cy(0) {}
};

// Paints one fin hanging off a base line. base(a) gives the base point, dir(a) the direction
// and length toward the free edge; the fin occupies a in [0,1], b in [0,1].
template <class Base, class Dir>
void paintFin(Target& tg, const Image& skin, float s0, Base base, Dir dir, float alpha) {
    // Sample the fin densely in (a, b), write the samples into a layer, then lay the layer over
    // the picture once, so overlapping samples do not build up.
    float bx0, by0, bx1, by1, dx, dy;
    base(0.0f, bx0, by0);
    base(1.0f, bx1, by1);
    float baseLen = std::hypot(bx1 - bx0, by1 - by0);
    float reach = 0;
    for (int i = 0; i <= 8; ++i) {
        dir(i / 8.0f, dx, dy);
        reach = std::max(reach, std::hypot(dx, dy));
    }
    const int na = static_cast<int>(baseLen * 2.5f + reach * 1.0f) + 8;
    const int nb = static_cast<int>(reach * 2.5f) + 8;
    std::vector<Rgb> layer(tg.img.c.size());
    std::vector<std::uint8_t> set(tg.img.c.size(), 0);
    for (int i = 0; i < na; ++i)
        for (int j = 0; j < nb; ++j) {
            float a = (i + 0.5f) / na, b = (j + 0.5f) / nb;
            float bx, by;
            base(a, bx, by);
            dir(a, dx, dy);
            int x = static_cast<int>(std::floor(bx + dx * b)), y = static_cast<int>(std::floor(by + dy * b));
            if (x < 0 || y < 0 || x >= tg.img.w || y >= tg.img.h) continue;
            size_t k = static_cast<size_t>(y) * tg.img.w + x;
            layer[k] = skinAt(skin, s0 + 0.25f * a, 0.5f + 0.5f * b);
            set[k] = 1;
        }
    for (int y = 0; y < tg.img.h; ++y)
        for (int x = 0; x < tg.img.w; ++x) {
            size_t k = static_cast<size_t>(y) * tg.img.w + x;
            if (set[k]) tg.img.over(x, y, layer[k], alpha);
        }
}

}  // namespace

ImageA drawFishSideView(const Image& skin, int species, int w, int h) {
    const Shape& sh = shapeOf(species);
    const int ss = 3;
    Target tg(w * ss, h * ss);
    // Fit the whole fish (snout cap, body, tail, fins) into the picture.
    float total = 1.05f + sh.tailL;
    float tall = 2 * sh.depth + std::max(sh.dorsalH, sh.pelvic * 0.8f) + std::max(sh.analH, sh.pelvic * 0.8f);
    tg.scale = std::min(tg.img.w * 0.92f / total, tg.img.h * 0.9f / std::max(tall, 0.5f));
    tg.x0 = (tg.img.w - total * tg.scale) * 0.5f + 0.05f * tg.scale;
    tg.cy = tg.img.h * 0.5f + (std::max(sh.dorsalH, 0.0f) - std::max(sh.analH, sh.pelvic * 0.8f)) * 0.5f * tg.scale;
    const float L = tg.scale;
    auto top = [&](float u) { return tg.cy - halfHeight(sh, u) * L * 1.05f; };
    auto bottom = [&](float u) { return tg.cy + halfHeight(sh, u) * L * 0.95f; };

    // Tail fin.
    {
        float tx = tg.x0 + L, tl = sh.tailL * L;
        float h0 = halfHeight(sh, 1.0f) * L;
        for (int y = 0; y < tg.img.h; ++y)
            for (int x = static_cast<int>(tx) - 2; x < tg.img.w; ++x) {
                float a = (x + 0.5f - tx) / tl;
                if (a < 0 || a > 1.0f) continue;
                float th = h0 + (sh.tailSpread * L - h0) * std::pow(a, 0.7f);
                float b = (y + 0.5f - (tg.cy - th)) / (2 * th);
                if (b < 0 || b > 1) continue;
                float edge = 1.0f - sh.fork * 0.45f * (1.0f - std::pow(std::fabs(2 * b - 1), 1.5f));
                if (sh.fork == 0) edge = 1.0f - 0.25f * std::pow(std::fabs(2 * b - 1), 2.0f);
                if (a > edge) continue;
                Rgb c = skinAt(skin, 0.7f + 0.3f * a / edge, 0.5f * b);
                tg.img.over(x, y, c, 0.9f);
            }
    }
    // Dorsal and anal fins, swept back.
    auto midFin = [&](float u0, float u1, float height, float s0, bool above) {
        float sweep = (u1 - u0) * 0.35f;
        paintFin(
            tg, skin, s0,
            [&](float a, float& bx, float& by) {
                float u = u0 + (u1 - u0) * a;
                bx = tg.x0 + u * L;
                by = above ? top(u) + 2 : bottom(u) - 2;
            },
            [&](float a, float& dx, float& dy) {
                float prof = std::pow(std::sin(kPi * std::pow(a, 0.55f)), 0.6f) * 0.85f + 0.15f * (1 - a);
                float hh = height * L * prof;
                dx = sweep * L * (0.5f + a);
                dy = above ? -hh : hh;
            },
            0.88f);
    };
    midFin(sh.dorsal0, sh.dorsal1, sh.dorsalH, 0.0f, true);
    midFin(sh.anal0, sh.anal1, sh.analH, 0.25f, false);

    // Body.
    for (int y = 0; y < tg.img.h; ++y)
        for (int x = 0; x < tg.img.w; ++x) {
            float u = (x + 0.5f - tg.x0) / L;
            if (u > 1.0f) continue;
            float py = y + 0.5f;
            float uu = std::max(u, 0.0f);
            float tp = top(uu), bt = bottom(uu);
            if (u < 0) {  // round snout cap
                float r = (bt - tp) * 0.5f, c = (bt + tp) * 0.5f;
                float dxx = -u * L, dyy = py - c;
                if (dxx * dxx + dyy * dyy > r * r) continue;
            }
            if (py < tp || py > bt) continue;
            float v = (py - tp) / (bt - tp);
            Rgb c = skinAt(skin, 0.7f * uu, 0.5f * v);
            // Roundness: darker toward the outline.
            float edge = 1.0f - std::pow(std::fabs(2 * v - 1), 6.0f);
            c = c * (0.7f + 0.3f * edge);
            tg.img.over(x, y, c, 1.0f);
        }

    // Pectoral fin on the flank and a pelvic fin below.
    auto pairedFin = [&](float u, float vAt, float length, float angle, float width, float s0) {
        float bx0 = tg.x0 + u * L;
        float by0 = top(u) + (bottom(u) - top(u)) * vAt;
        paintFin(
            tg, skin, s0,
            [&](float a, float& bx, float& by) {
                bx = bx0 - std::sin(angle) * width * L * (a - 0.5f);
                by = by0 + std::cos(angle) * width * L * (a - 0.5f);
            },
            [&](float a, float& dx, float& dy) {
                float len = length * L * (0.55f + 0.45f * std::sin(kPi * a));
                dx = std::cos(angle) * len;
                dy = std::sin(angle) * len;
            },
            0.8f);
    };
    if (sh.pelvic > 0) pairedFin(0.36f, 0.92f, sh.pelvic, 1.15f, 0.04f, 0.75f);
    pairedFin(0.30f, 0.62f, sh.pectoral, 0.35f, sh.pectoral * 0.5f, 0.5f);

    // Down to the final size, keeping colours of transparent samples out of the average.
    ImageA out(w, h);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            Rgb sum; float asum = 0;
            for (int j = 0; j < ss; ++j)
                for (int i = 0; i < ss; ++i) {
                    size_t k = static_cast<size_t>(y * ss + j) * tg.img.w + (x * ss + i);
                    sum += tg.img.c[k] * tg.img.a[k];
                    asum += tg.img.a[k];
                }
            size_t o = static_cast<size_t>(y) * w + x;
            out.a[o] = asum / (ss * ss);
            out.c[o] = asum > 0 ? sum * (1.0f / asum) : Rgb{};
        }
    return out;
}

}  // namespace art
