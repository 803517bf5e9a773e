// The bubble sprite, drawn additively: black is invisible, so the bubble is a faint dark body, a
// thin bright rim where the light grazes the film, and a small highlight.
#include <cmath>

#include "Art.h"

namespace art {

Image makeBubble(int size) {
    const int ss = 4;
    Image big(size * ss, size * ss);
    const float c = size * ss * 0.5f, r = size * ss * 0.40f;
    for (int y = 0; y < big.h; ++y)
        for (int x = 0; x < big.w; ++x) {
            float dx = (x + 0.5f - c) / r, dy = (y + 0.5f - c) / r;
            float d = std::sqrt(dx * dx + dy * dy);
            if (d > 1.08f) continue;
            float inside = 1.0f - smoothstep(0.97f, 1.03f, d);
            // Film seen edge-on is brightest at the rim; the middle stays nearly dark.
            float rim = std::exp(-std::pow((d - 0.93f) / 0.07f, 2.0f));
            float body = 0.06f + 0.10f * d * d;
            Rgb col = hex(0x9FD8FF) * (body * inside) + hex(0xE8F8FF) * (0.95f * rim);
            // A soft reflection on the lower right, a sharp window highlight on the upper left.
            float lower = std::exp(-(std::pow((dx - 0.38f) / 0.28f, 2.0f) + std::pow((dy - 0.45f) / 0.16f, 2.0f)));
            float spot = std::exp(-(std::pow((dx + 0.38f) / 0.17f, 2.0f) + std::pow((dy + 0.38f) / 0.13f, 2.0f)));
            col = col + hex(0x7FC8FF) * (0.35f * lower * inside) + Rgb{1, 1, 1} * (1.0f * spot);
            big.at(x, y) = clampRgb(col);
        }
    return downsample(big, ss);
}

}  // namespace art
