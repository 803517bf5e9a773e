#include "SettingsArt.h"

namespace art {

Image makeVariantPreview(int variant, const Image& background) {
    const int w = 13, h = 5;
    Image out(w, h);
    if (variant == 0) {
        // Box filter of the whole picture: each preview pixel averages its share of the source.
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x) {
                const int x0 = x * background.w / w, x1 = (x + 1) * background.w / w;
                const int y0 = y * background.h / h, y1 = (y + 1) * background.h / h;
                Rgb sum;
                for (int sy = y0; sy < y1; ++sy)
                    for (int sx = x0; sx < x1; ++sx) sum += background.at(sx, sy);
                out.at(x, y) = sum * (1.0f / static_cast<float>((x1 - x0) * (y1 - y0)));
            }
        return out;
    }
    // Top and bottom tints of the three plain variants.
    const std::uint32_t tops[3] = {0x3A8FD0, 0x3FB89A, 0x6A5AA8};
    const std::uint32_t bottoms[3] = {0x0A2450, 0x0B3A2A, 0x1A1030};
    const int k = (variant - 1) % 3;
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            Rgb c = mix(hex(tops[k]), hex(bottoms[k]), y / static_cast<float>(h - 1));
            // A faint diagonal shimmer so the tiles are not flat.
            c = c + Rgb{1, 1, 1} * (0.06f * ((x + y) % 4 == 0 ? 1.0f : 0.0f));
            out.at(x, y) = clampRgb(c);
        }
    return out;
}

namespace {

ImageA renderAbout(int size) {
    const int ss = 4;
    ImageA out(size, size);
    const float k = size / 16.0f;  // pixels per design unit (16-unit design square)
    for (int y = 0; y < size; ++y)
        for (int x = 0; x < size; ++x) {
            Rgb sum;
            float asum = 0;
            for (int j = 0; j < ss; ++j)
                for (int i = 0; i < ss; ++i) {
                    const float X = (x + (i + 0.5f) / ss) / k, Y = (y + (j + 0.5f) / ss) / k;
                    const float rim = sdCircle(X, Y, 8, 8, 7.5f);
                    if (rim > 0) continue;
                    Rgb c = rim > -0.9f ? hex(0x123C6E) : mix(hex(0x5AA8E8), hex(0x1F5FA8), Y / 16.0f);
                    const bool dot = sdCircle(X, Y, 8, 4.6f, 1.3f) < 0;
                    const bool stem = sdBox(X, Y, 8, 9.6f, 1.15f, 3.4f, 0.4f) < 0;
                    if (dot || stem) c = Rgb{1, 1, 1};
                    sum += c;
                    asum += 1;
                }
            const size_t o = static_cast<size_t>(y) * size + x;
            out.a[o] = asum / (ss * ss);
            out.c[o] = asum > 0 ? sum * (1.0f / asum) : Rgb{};
        }
    return out;
}

}  // namespace

IconFile makeAboutIcon() {
    IconFile f{"settings_about.ico", false, {}};
    for (int size : {16, 32}) f.pictures.push_back({renderAbout(size), 0, 0});
    return f;
}

}  // namespace art
