// The application icon, the popup-menu icons and the mode cursors.
//
// Everything is drawn in a 32 x 32 design square and scaled to each size, four samples a pixel
// across. One style throughout: rounded shapes, soft vertical gradients, a dark outline.
#include <cmath>
#include <functional>

#include "Icons.h"

namespace art {
namespace {

using Sdf = std::function<float(float, float)>;
using Paint = std::function<Rgb(float, float)>;

constexpr int kIconSS = 4;

struct Painter {
    ImageA& img;
    float k;  // pixels per design unit
    Painter(ImageA& target) : img(target), k(target.w / 32.0f) {}
    // Fills where sd < 0 (design units) with `paint`, at opacity `alpha`.
    void fill(const Sdf& sd, const Paint& paint, float alpha = 1.0f) {
        for (int y = 0; y < img.h; ++y)
            for (int x = 0; x < img.w; ++x) {
                float X = (x + 0.5f) / k, Y = (y + 0.5f) / k;
                float a = cover(sd(X, Y) * k, 1.0f) * alpha;
                if (a > 0) img.over(x, y, paint(X, Y), a);
            }
    }
    void fill(const Sdf& sd, const Rgb& colour, float alpha = 1.0f) {
        fill(sd, [colour](float, float) { return colour; }, alpha);
    }
    // An outlined shape: the outline `width` wide around it, then the shape.
    void shape(const Sdf& sd, const Paint& paint, const Rgb& outline, float width = 1.1f) {
        fill([&](float x, float y) { return sd(x, y) - width; }, outline);
        fill(sd, paint);
    }
};

Sdf circle(float cx, float cy, float r) {
    return [=](float x, float y) { return sdCircle(x, y, cx, cy, r); };
}
Sdf capsule(float ax, float ay, float bx, float by, float r) {
    return [=](float x, float y) { return sdSegment(x, y, ax, ay, bx, by, r); };
}
Sdf box(float cx, float cy, float hw, float hh, float round, float angle = 0) {
    return [=](float x, float y) {
        float c = std::cos(angle), s = std::sin(angle);
        float dx = x - cx, dy = y - cy;
        return sdBox(dx * c + dy * s + cx, -dx * s + dy * c + cy, cx, cy, hw, hh, round);
    };
}
Sdf ellipse(float cx, float cy, float rx, float ry, float angle = 0) {
    return [=](float x, float y) {
        float c = std::cos(angle), s = std::sin(angle);
        float dx = x - cx, dy = y - cy;
        return sdEllipse(dx * c + dy * s + cx, -dx * s + dy * c + cy, cx, cy, rx, ry);
    };
}
Sdf ring(float cx, float cy, float r, float half) {
    return [=](float x, float y) { return std::fabs(sdCircle(x, y, cx, cy, r)) - half; };
}
Sdf unite(Sdf a, Sdf b) {
    return [=](float x, float y) { return std::min(a(x, y), b(x, y)); };
}
Sdf subtract(Sdf a, Sdf b) {
    return [=](float x, float y) { return std::max(a(x, y), -b(x, y)); };
}
// A triangle (any winding).
Sdf triangle(float ax, float ay, float bx, float by, float cx, float cy) {
    return [=](float x, float y) {
        float d = std::min(std::min(sdSegment(x, y, ax, ay, bx, by, 0), sdSegment(x, y, bx, by, cx, cy, 0)),
                           sdSegment(x, y, cx, cy, ax, ay, 0));
        auto side = [&](float px, float py, float qx, float qy) { return (qx - px) * (y - py) - (qy - py) * (x - px); };
        float s1 = side(ax, ay, bx, by), s2 = side(bx, by, cx, cy), s3 = side(cx, cy, ax, ay);
        bool inside = (s1 >= 0 && s2 >= 0 && s3 >= 0) || (s1 <= 0 && s2 <= 0 && s3 <= 0);
        return inside ? -d : d;
    };
}
// Vertical gradient from `top` at y0 to `bottom` at y1.
Paint vgrad(const Rgb& top, const Rgb& bottom, float y0, float y1) {
    return [=](float, float y) { return mix(top, bottom, clamp01((y - y0) / (y1 - y0))); };
}
Paint flat(const Rgb& c) {
    return [=](float, float) { return c; };
}

const Rgb kOutline = hex(0x1E2A3A);

// ---- pictures ----
void drawMagnifier(Painter& p, bool plus, bool pressed) {
    // Handle first, the lens ring over it.
    p.shape(capsule(19.5f, 19.5f, 28.0f, 28.0f, 2.6f), vgrad(hex(0x8A5A34), hex(0x4A2E1A), 19, 30), kOutline);
    p.shape(circle(13, 13, 10.2f), vgrad(hex(0xC9D4DE), hex(0x6E8091), 3, 23), kOutline);
    Rgb glassTop = pressed ? hex(0x7DB8E0) : hex(0xE4F4FF), glassBottom = pressed ? hex(0x3F86BE) : hex(0x9FD0F2);
    p.fill(circle(13, 13, 7.6f), vgrad(glassTop, glassBottom, 6, 20));
    p.fill(subtract(circle(10.8f, 10.0f, 4.6f), circle(12.2f, 11.6f, 4.6f)), Rgb{1, 1, 1}, 0.8f);
    Rgb sign = pressed ? hex(0xFFFFFF) : hex(0x1F5E9A);
    p.fill(capsule(9.2f, 13, 16.8f, 13, 1.35f), sign);
    if (plus) p.fill(capsule(13, 9.2f, 13, 16.8f, 1.35f), sign);
}

void drawHand(Painter& p, bool pressed) {
    const Rgb skin = hex(0xFFE0C0), skinDark = hex(0xE8AE80);
    Paint shade = vgrad(skin, skinDark, 4, 30);
    const float tip = pressed ? 7.5f : 2.8f;
    // Index finger, folded fingers, thumb, palm: one outline around the whole hand.
    Sdf finger = capsule(12.0f, tip + 2.2f, 12.0f, 17.0f, 2.3f);
    Sdf f2 = capsule(16.6f, 14.0f, 16.6f, 18.0f, 2.2f);
    Sdf f3 = capsule(21.0f, 15.0f, 21.0f, 19.0f, 2.1f);
    Sdf f4 = capsule(25.0f, 16.5f, 25.0f, 20.0f, 1.9f);
    Sdf palm = box(18.8f, 23.0f, 7.6f, 6.6f, 3.5f);
    Sdf thumb = capsule(9.8f, 22.5f, 6.2f, 17.5f, 2.2f);
    Sdf hand = unite(unite(unite(finger, f2), unite(f3, f4)), unite(palm, thumb));
    p.fill([&](float x, float y) { return hand(x, y) - 1.2f; }, kOutline);
    p.fill(hand, shade);
    // Creases between the folded fingers.
    p.fill(capsule(14.3f, 14.5f, 14.3f, 18.5f, 0.35f), skinDark * 0.8f, 0.9f);
    p.fill(capsule(18.8f, 15.5f, 18.8f, 19.5f, 0.35f), skinDark * 0.8f, 0.9f);
    p.fill(capsule(23.0f, 17.0f, 23.0f, 20.5f, 0.35f), skinDark * 0.8f, 0.9f);
    p.fill(capsule(11.0f, tip + 2.5f, 11.0f, tip + 5.0f, 0.6f), Rgb{1, 1, 1}, 0.6f);  // nail shine
    if (pressed) {
        // Little strokes around the fingertip: the press.
        const Rgb c = hex(0x2F7FD0);
        p.fill(capsule(5.5f, 6.0f, 3.5f, 4.0f, 0.9f), c);
        p.fill(capsule(12.0f, 3.0f, 12.0f, 0.9f, 0.9f), c);
        p.fill(capsule(18.5f, 6.0f, 20.5f, 4.0f, 0.9f), c);
    }
}

// A fish-food shaker tipped toward the lower left, with pellets falling out of it.
void drawFood(Painter& p, int pellets, bool shaking) {
    const float ang = 0.75f;  // radians
    const float cx = 20.5f, cy = 11.0f;
    if (shaking) {
        const Rgb c = hex(0x2F7FD0);
        p.fill(capsule(28.5f, 3.5f, 30.5f, 1.5f, 0.8f), c);
        p.fill(capsule(29.5f, 8.0f, 31.5f, 7.5f, 0.8f), c);
    }
    p.shape(box(cx, cy, 5.6f, 8.2f, 1.8f, ang), vgrad(hex(0xFFFFFF), hex(0xC8D6E2), 2, 20), kOutline);
    // Label band and cap (the cap at the lower-left end, where the food comes out).
    p.fill(box(cx, cy, 5.7f, 2.6f, 0.5f, ang), vgrad(hex(0x4FB2F0), hex(0x1F78C8), 8, 14));
    float capX = cx - std::sin(ang) * 7.6f, capY = cy + std::cos(ang) * 7.6f;
    p.shape(box(capX, capY, 6.2f, 1.8f, 1.0f, ang), vgrad(hex(0xFF9A3A), hex(0xD9561A), capY - 2, capY + 2), kOutline, 0.9f);
    const float px[6] = {9.0f, 5.5f, 10.5f, 6.0f, 3.5f, 9.5f};
    const float py[6] = {19.0f, 22.5f, 25.0f, 28.0f, 25.5f, 30.0f};
    for (int i = 0; i < pellets && i < 6; ++i)
        p.shape(circle(px[i], py[i], 1.5f), vgrad(hex(0xD08040), hex(0x8A4A1E), py[i] - 2, py[i] + 2), kOutline, 0.7f);
}

void drawFishShape(Painter& p, const Rgb& body, const Rgb& bodyDark, float cx, float cy, float len, bool bands) {
    const float h = len * 0.36f;
    Sdf tail = triangle(cx + len * 0.38f, cy, cx + len * 0.62f, cy - h * 0.95f, cx + len * 0.62f, cy + h * 0.95f);
    Sdf bodyShape = ellipse(cx - len * 0.05f, cy, len * 0.45f, h);
    Sdf fin = triangle(cx - len * 0.1f, cy - h * 0.8f, cx + len * 0.22f, cy - h * 0.75f, cx + len * 0.02f, cy - h * 1.35f);
    Sdf fish = unite(unite(tail, bodyShape), fin);
    p.fill([&](float x, float y) { return fish(x, y) - 1.1f; }, kOutline);
    p.fill(fish, vgrad(body, bodyDark, cy - h, cy + h));
    if (bands) {
        Paint white = flat(hex(0xFFFFFF));
        auto bandAt = [&](float bx, float w) {
            Sdf b = [=](float x, float y) { return std::max(std::fabs(x - bx) - w, bodyShape(x, y)); };
            p.fill([&](float x, float y) { return b(x, y) - 0.6f; }, kOutline);
            p.fill(b, white);
        };
        bandAt(cx - len * 0.22f, len * 0.06f);
        bandAt(cx + len * 0.12f, len * 0.055f);
    }
    p.fill(circle(cx - len * 0.30f, cy - h * 0.18f, len * 0.075f), hex(0xFFFFFF));
    p.fill(circle(cx - len * 0.31f, cy - h * 0.18f, len * 0.045f), kOutline);
    // Shine along the back.
    p.fill(subtract(ellipse(cx - len * 0.08f, cy - h * 0.2f, len * 0.34f, h * 0.6f),
                    ellipse(cx - len * 0.05f, cy + h * 0.05f, len * 0.36f, h * 0.7f)),
           Rgb{1, 1, 1}, 0.45f);
}

void drawFishMenu(Painter& p) {
    drawFishShape(p, hex(0xFF9A3A), hex(0xE0561A), 14.5f, 15.0f, 24.0f, false);
    // Plus and minus badges.
    p.shape(circle(24.5f, 7.0f, 5.0f), vgrad(hex(0x6ED46A), hex(0x2E9A3A), 2, 12), kOutline, 0.9f);
    p.fill(capsule(21.8f, 7.0f, 27.2f, 7.0f, 0.95f), hex(0xFFFFFF));
    p.fill(capsule(24.5f, 4.3f, 24.5f, 9.7f, 0.95f), hex(0xFFFFFF));
    p.shape(circle(24.5f, 25.0f, 5.0f), vgrad(hex(0xFF7A6A), hex(0xD02A2A), 20, 30), kOutline, 0.9f);
    p.fill(capsule(21.8f, 25.0f, 27.2f, 25.0f, 0.95f), hex(0xFFFFFF));
}

void drawMusic(Painter& p) {
    Paint ink = vgrad(hex(0x6A5AE0), hex(0x3A2A9A), 3, 30);
    // Two notes joined by a beam.
    p.fill(unite(unite(ellipse(8.5f, 24.5f, 4.6f, 3.5f, -0.35f), ellipse(22.5f, 21.5f, 4.6f, 3.5f, -0.35f)),
                 unite(unite(box(12.4f, 14.0f, 1.1f, 10.5f, 0.3f), box(26.4f, 11.5f, 1.1f, 10.5f, 0.3f)),
                       [](float x, float y) {
                           // The beam: a slanted band from the first stem to the second.
                           float t = (x - 11.3f) / (27.5f - 11.3f);
                           if (t < 0 || t > 1) return 1e3f;
                           float topY = 4.0f - 2.5f * t;
                           return std::max(topY - y, y - (topY + 4.2f));
                       })),
           ink);
    p.fill(ellipse(7.0f, 23.3f, 1.6f, 0.9f, -0.35f), Rgb{1, 1, 1}, 0.7f);
    p.fill(ellipse(21.0f, 20.3f, 1.6f, 0.9f, -0.35f), Rgb{1, 1, 1}, 0.7f);
}

void drawPicture(Painter& p) {
    p.shape(box(16, 16, 13.5f, 11.0f, 2.0f), vgrad(hex(0xD9A05A), hex(0x9A6428), 5, 27), kOutline);
    Sdf inside = box(16, 16, 10.5f, 8.0f, 0.8f);
    p.fill(inside, vgrad(hex(0x8FD4FF), hex(0xD8F2FF), 8, 22));
    p.fill(circle(21.5f, 12.0f, 2.6f), vgrad(hex(0xFFE45A), hex(0xFFB020), 9, 15));
    auto within = [inside](Sdf s) { return Sdf([=](float x, float y) { return std::max(s(x, y), inside(x, y)); }); };
    p.fill(within(circle(10.0f, 31.0f, 12.0f)), vgrad(hex(0x5CC060), hex(0x2E8A3A), 18, 24));
    p.fill(within(circle(24.0f, 33.0f, 12.0f)), vgrad(hex(0x3EA850), hex(0x23702E), 20, 24));
}

void drawExit(Painter& p) {
    p.shape(circle(16, 16, 13.0f), vgrad(hex(0xFF6A5A), hex(0xC41E1E), 3, 29), kOutline);
    p.fill(subtract(ellipse(16, 11, 10.0f, 6.5f), ellipse(16, 14.5f, 11.5f, 7.5f)), Rgb{1, 1, 1}, 0.35f);
    // The power sign: an open ring and a bar through its gap.
    Sdf openRing = [](float x, float y) {
        float d = std::fabs(sdCircle(x, y, 16, 17, 7.0f)) - 1.6f;
        float gap = std::max(std::fabs(x - 16) - 3.2f, y - 14.0f);  // cut out the top
        return std::max(d, -gap);
    };
    p.fill(openRing, hex(0xFFFFFF));
    p.fill(capsule(16, 7.0f, 16, 15.0f, 1.6f), hex(0xFFFFFF));
}

void drawAppIcon(Painter& p) {
    p.shape(box(16, 16, 14.5f, 14.5f, 5.0f), vgrad(hex(0x6FD6F0), hex(0x0E5A9A), 1, 31), kOutline, 0.8f);
    // Sand and a weed at the bottom of the tank.
    Sdf tile = box(16, 16, 14.5f, 14.5f, 5.0f);
    auto within = [tile](Sdf s) { return Sdf([=](float x, float y) { return std::max(s(x, y), tile(x, y)); }); };
    p.fill(within(ellipse(16, 36.0f, 22.0f, 9.5f)), vgrad(hex(0xF0D89A), hex(0xC8A860), 26, 31));
    p.fill(within(capsule(6.5f, 29.0f, 5.0f, 19.0f, 1.2f)), hex(0x2E9A4A));
    p.fill(within(capsule(8.5f, 29.0f, 10.0f, 21.5f, 1.0f)), hex(0x3FB85A));
    drawFishShape(p, hex(0xFF9A3A), hex(0xE0501A), 16.5f, 15.0f, 21.0f, true);
    for (int i = 0; i < 3; ++i) {
        float bx = 25.5f + (i % 2) * 1.5f, by = 10.5f - i * 3.6f, r = 1.1f + 0.35f * i;
        p.fill(ring(bx, by, r, 0.4f), Rgb{1, 1, 1}, 0.9f);
    }
    // Glassy shine across the top.
    p.fill(within(subtract(ellipse(16, 2.0f, 17.0f, 9.0f), ellipse(16, 0.0f, 19.0f, 7.0f))), Rgb{1, 1, 1}, 0.25f);
}

// The own-music switch: a round lamp with a note, green when on, grey when off.
void drawMusicSwitch(Painter& p, bool on) {
    Paint lamp = on ? vgrad(hex(0x7CF07A), hex(0x1E9A2E), 2, 30) : vgrad(hex(0xB8BEC4), hex(0x6A7078), 2, 30);
    p.shape(circle(16, 16, 13.5f), lamp, kOutline, 1.2f);
    p.fill(subtract(ellipse(16, 10, 10.0f, 6.0f), ellipse(16, 13.5f, 11.5f, 7.0f)), Rgb{1, 1, 1}, 0.35f);
    const Rgb ink = on ? hex(0xFFFFFF) : hex(0xE4E6E8);
    p.fill(unite(ellipse(13.0f, 21.5f, 4.2f, 3.2f, -0.35f), box(16.3f, 13.5f, 1.1f, 8.0f, 0.3f)), ink);
    p.fill(capsule(16.8f, 6.5f, 21.5f, 11.0f, 1.2f), ink);
}

// Renders `draw` at `size` pixels.
ImageA render(int size, const std::function<void(Painter&)>& draw) {
    ImageA big(size * kIconSS, size * kIconSS);
    Painter painter(big);
    draw(painter);
    ImageA out(size, size);
    for (int y = 0; y < size; ++y)
        for (int x = 0; x < size; ++x) {
            Rgb sum; float asum = 0;
            for (int j = 0; j < kIconSS; ++j)
                for (int i = 0; i < kIconSS; ++i) {
                    size_t k = static_cast<size_t>(y * kIconSS + j) * big.w + (x * kIconSS + i);
                    sum += big.c[k] * big.a[k];
                    asum += big.a[k];
                }
            size_t o = static_cast<size_t>(y) * size + x;
            out.a[o] = asum / (kIconSS * kIconSS);
            out.c[o] = asum > 0 ? clampRgb(sum * (1.0f / asum)) : Rgb{};
        }
    return out;
}

}  // namespace

std::vector<IconFile> makeIcons() {
    struct Entry {
        const char* name;
        std::function<void(Painter&)> draw;
    };
    const Entry menus[] = {
        {"menu_feed.ico", [](Painter& p) { drawFood(p, 4, false); }},
        {"menu_touch.ico", [](Painter& p) { drawHand(p, false); }},
        {"menu_zoomin.ico", [](Painter& p) { drawMagnifier(p, true, false); }},
        {"menu_zoomout.ico", [](Painter& p) { drawMagnifier(p, false, false); }},
        {"menu_fish.ico", drawFishMenu},
        {"menu_music.ico", drawMusic},
        {"menu_background.ico", drawPicture},
        {"menu_exit.ico", drawExit},
    };
    std::vector<IconFile> files;
    for (const Entry& e : menus) {
        IconFile f{e.name, false, {}};
        for (int size : {16, 24, 32, 48}) f.pictures.push_back({render(size, e.draw), 0, 0});
        files.push_back(std::move(f));
    }
    {
        IconFile f{"icon_app.ico", false, {}};
        for (int size : {16, 32, 48}) f.pictures.push_back({render(size, drawAppIcon), 0, 0});
        files.push_back(std::move(f));
    }
    // The own-music switch of the music dialog, on and off.
    for (bool on : {true, false}) {
        IconFile f{on ? "music_on.ico" : "music_off.ico", false, {}};
        f.pictures.push_back({render(24, [on](Painter& p) { drawMusicSwitch(p, on); }), 0, 0});
        files.push_back(std::move(f));
    }
    struct CursorEntry {
        const char* name;
        std::function<void(Painter&)> draw;
        int hotX, hotY;
    };
    const CursorEntry cursors[] = {
        {"cur_touch.cur", [](Painter& p) { drawHand(p, false); }, 12, 2},
        {"cur_touch_held.cur", [](Painter& p) { drawHand(p, true); }, 12, 7},
        {"cur_feed.cur", [](Painter& p) { drawFood(p, 3, false); }, 9, 19},
        {"cur_feed_held.cur", [](Painter& p) { drawFood(p, 6, true); }, 9, 19},
        {"cur_zoomin.cur", [](Painter& p) { drawMagnifier(p, true, false); }, 13, 13},
        {"cur_zoomin_held.cur", [](Painter& p) { drawMagnifier(p, true, true); }, 13, 13},
        {"cur_zoomout.cur", [](Painter& p) { drawMagnifier(p, false, false); }, 13, 13},
        {"cur_zoomout_held.cur", [](Painter& p) { drawMagnifier(p, false, true); }, 13, 13},
    };
    for (const CursorEntry& c : cursors) {
        IconFile f{c.name, true, {}};
        f.pictures.push_back({render(32, c.draw), c.hotX, c.hotY});
        files.push_back(std::move(f));
    }
    return files;
}

Image makeSpeciesPicture(const std::vector<Image>& skins, int scale) {
    const int k = scale;  // every length of the 500 x 512 design times k
    const int w = 500 * k, h = 512 * k, cellW = 100 * k, cellH = 90 * k;
    Image pic(w, h);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) pic.at(x, y) = mix(hex(0xF4F8FA), hex(0xE2ECF2), static_cast<float>(y) / h);
    for (int i = 0; i < kSpeciesCount && i < static_cast<int>(skins.size()); ++i) {
        const int left = cellW * (i % 5) + 2 * k, top = cellH * (i / 5) + 2 * k;
        // A soft tile behind each fish.
        for (int y = top + 3 * k; y < top + cellH - 3 * k; ++y)
            for (int x = left + 3 * k; x < left + cellW - 3 * k; ++x) {
                float d = sdBox(x + 0.5f, y + 0.5f, left + cellW * 0.5f, top + cellH * 0.5f, cellW * 0.5f - 4 * k,
                                cellH * 0.5f - 4 * k, 8.0f * k);
                float a = cover(d, 1.0f);
                Rgb tile = mix(hex(0xDDEFF8), hex(0xB5D8EA), static_cast<float>(y - top) / cellH);
                pic.blend(x, y, tile, a);
                pic.blend(x, y, hex(0x8FB4C8), cover(std::fabs(d + 0.5f * k) - 0.5f * k, 1.0f) * 0.8f);
            }
        ImageA fish = drawFishSideView(skins[i], i, cellW - 12 * k, cellH - 14 * k);
        for (int y = 0; y < fish.h; ++y)
            for (int x = 0; x < fish.w; ++x) {
                size_t n = static_cast<size_t>(y) * fish.w + x;
                pic.blend(left + 6 * k + x, top + 7 * k + y, fish.c[n], fish.a[n]);
            }
    }
    return pic;
}

}  // namespace art
