// Renders the fish mesh off-screen into contact sheets (binary PPM) for looking at it:
//
//   fishshots OUTDIR [SKIN.bmp]
//
// OUTDIR/fish_sizes.ppm:   sizes 4, 7 and 10 (rows) seen from the front, the side and above
//                          (columns), at the distance the aquarium shows them.
// OUTDIR/fish_closeup.ppm: size 10 close up: side, three-quarter, front, above, below, tail
//                          side, a bent body mid-turn, and the side at half light.
// Without a skin a test pattern marks the skin regions (body, eye, tail, each fin strip).
#include <GL/osmesa.h>

#include <cmath>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "GL.h"
#include "fish/Fish.h"
#include "fish/FishModel.h"

namespace {

const int SkinW = 256, SkinH = 128;

// A stored-row-order RGB skin: row 0 is t = 0.
std::vector<unsigned char> testSkin() {
    std::vector<unsigned char> img(SkinW * SkinH * 3);
    for (int row = 0; row < SkinH; ++row) {
        for (int col = 0; col < SkinW; ++col) {
            double s = (col + 0.5) / SkinW, t = (row + 0.5) / SkinH;
            int r, g, b;
            if (t < 0.5 && s < 0.70) {  // body side: blue back, silver belly, stripes
                double k = t / 0.5;
                r = int(60 + 170 * k), g = int(110 + 120 * k), b = int(200 + 40 * k);
                if (std::fmod(s, 0.1) < 0.012) r = 250, g = 120, b = 30;
                double es = (s - 0.10) * SkinW, et = (t - 0.20) * SkinH;
                double d = std::sqrt(es * es + et * et);
                if (d < 5) r = g = b = 10;
                else if (d < 7.5) r = g = b = 250;
            } else if (t < 0.5) {  // tail fin
                r = 240, g = int(200 - 150 * (s - 0.7) / 0.3), b = 40;
            } else if (s < 0.25) {  // dorsal
                r = 220, g = 60, b = 60;
            } else if (s < 0.50) {  // anal
                r = 60, g = 200, b = 80;
            } else if (s < 0.75) {  // pectoral
                r = 200, g = 80, b = 220;
            } else {  // lower paired fins
                r = 250, g = 250, b = 80;
            }
            if (t >= 0.5 && std::fmod(t, 0.125) < 0.015) r /= 2, g /= 2, b /= 2;  // fin ray bands
            unsigned char* p = &img[(row * SkinW + col) * 3];
            p[0] = (unsigned char)r, p[1] = (unsigned char)g, p[2] = (unsigned char)b;
        }
    }
    return img;
}

// A 24-bit bottom-up BMP of 256 x 128, uploaded as stored (row 0 first).
bool loadBmp(const char* path, std::vector<unsigned char>& rgb) {
    FILE* f = std::fopen(path, "rb");
    if (!f) return false;
    unsigned char header[54];
    bool ok = std::fread(header, 1, 54, f) == 54 && header[0] == 'B' && header[1] == 'M';
    int offset = header[10] | header[11] << 8 | header[12] << 16 | header[13] << 24;
    int w = header[18] | header[19] << 8, h = header[22] | header[23] << 8;
    if (!ok || w != SkinW || h != SkinH || header[28] != 24) {
        std::fclose(f);
        return false;
    }
    std::fseek(f, offset, SEEK_SET);
    rgb.resize(SkinW * SkinH * 3);
    std::vector<unsigned char> bgr(SkinW * SkinH * 3);
    ok = std::fread(bgr.data(), 1, bgr.size(), f) == bgr.size();
    std::fclose(f);
    for (size_t i = 0; i < bgr.size(); i += 3) rgb[i] = bgr[i + 2], rgb[i + 1] = bgr[i + 1], rgb[i + 2] = bgr[i];
    return ok;
}

struct View {
    float rotX, rotY;  // degrees, applied to the fish around its centre (after it is placed)
    float yaw;         // columnAngles for all columns
    bool bent;
    float light;
};

void drawFish(float size, const View& v, float distance) {
    Fish fish;
    if (size > 7) fish.resize(size - 7, true);
    if (size < 7) fish.resize(7 - size, false);
    AnimationFrame frame = {};
    FishModel::advanceAnimation(fish, frame);
    for (int c = 0; c < BodyColumns; ++c) frame.columnAngles[c] = v.bent ? v.yaw - 2.2f * c : v.yaw;
    std::memset(frame.tailSway, 0, sizeof frame.tailSway);

    float l = v.light;
    float ambient[4] = {l, l, l, 1}, diffuse[4] = {l, l, l, 1};
    glLightfv(GL_LIGHT1, GL_AMBIENT, ambient);
    glLightfv(GL_LIGHT1, GL_DIFFUSE, diffuse);
    glEnable(GL_LIGHTING);

    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    gluLookAt(0, 0, -10, 0, 0, -500, 0, 1, 0);
    glTranslatef(0, 0, -10 - distance);
    glRotatef(v.rotX, 1, 0, 0);
    glRotatef(v.rotY, 0, 1, 0);
    glRotatef(-90, 1, 0, 0);
    FishModel::draw(fish, frame);
}

void tile(int x, int y, int w, int h) {
    glViewport(x, y, w, h);
    glScissor(x, y, w, h);
    glEnable(GL_SCISSOR_TEST);
    glClearColor(0.55f, 0.62f, 0.68f, 1);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    float a = float(w) / float(h);
    glFrustum(-0.4 * a, 0.4 * a, -0.4, 0.4, 1, 1000);
}

void writePpm(const std::string& path, const std::vector<unsigned char>& rgba, int w, int h) {
    FILE* f = std::fopen(path.c_str(), "wb");
    if (!f) return;
    std::fprintf(f, "P6\n%d %d\n255\n", w, h);
    for (int y = h - 1; y >= 0; --y)
        for (int x = 0; x < w; ++x) std::fwrite(&rgba[(y * w + x) * 4], 1, 3, f);
    std::fclose(f);
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: fishshots OUTDIR [SKIN.bmp]\n");
        return 2;
    }
    std::string out = argv[1];
    const int W = 1200, H = 900;
    std::vector<unsigned char> buffer(W * H * 4);
    OSMesaContext ctx = OSMesaCreateContextExt(OSMESA_RGBA, 32, 0, 0, nullptr);
    if (!ctx || !OSMesaMakeCurrent(ctx, buffer.data(), GL_UNSIGNED_BYTE, W, H)) return 1;

    std::vector<unsigned char> skin;
    if (argc < 3 || !loadBmp(argv[2], skin)) skin = testSkin();
    GLuint tex;
    glGenTextures(1, &tex);
    glBindTexture(GL_TEXTURE_2D, tex);
    glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGB, SkinW, SkinH, 0, GL_RGB, GL_UNSIGNED_BYTE, skin.data());
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);

    // The aquarium's fixed state: texturing, depth, light 1 placed with an identity matrix.
    glEnable(GL_TEXTURE_2D);
    glShadeModel(GL_SMOOTH);
    glEnable(GL_DEPTH_TEST);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    float one[4] = {1, 1, 1, 1}, pos[4] = {1000, -1000, 1000, 1};
    glLightfv(GL_LIGHT1, GL_AMBIENT, one);
    glLightfv(GL_LIGHT1, GL_DIFFUSE, one);
    glLightfv(GL_LIGHT1, GL_POSITION, pos);
    glEnable(GL_LIGHT1);
    glEnable(GL_COLOR_MATERIAL);
    glColor4f(1, 1, 1, 1);

    const View front = {0, 90, 0, false, 1}, side = {0, 0, 0, false, 1}, above = {90, 0, 0, false, 1};
    const float sizes[3] = {4, 7, 10};
    const View columns[3] = {front, side, above};
    for (int r = 0; r < 3; ++r)
        for (int c = 0; c < 3; ++c) {
            tile(c * 400, (2 - r) * 300, 400, 300);
            drawFish(sizes[r], columns[c], 22);  // at 22 units a 300-pixel tile is ~17 units tall
        }
    glFinish();
    writePpm(out + "/fish_sizes.ppm", buffer, W, H);

    const View close[9] = {
        {0, 0, 0, false, 1},      {0, 35, 0, false, 1},   {0, 90, 0, false, 1},
        {90, 0, 0, false, 1},     {-90, 0, 0, false, 1},  {15, -150, 0, false, 1},
        {0, 0, 30, true, 1},      {0, 0, 0, false, 0.5f}, {20, 60, 0, false, 0.5f},
    };
    for (int i = 0; i < 9; ++i) {
        tile((i % 3) * 400, (2 - i / 3) * 300, 400, 300);
        drawFish(10, close[i], 12);
    }
    glFinish();
    writePpm(out + "/fish_closeup.ppm", buffer, W, H);
    OSMesaDestroyContext(ctx);
    return 0;
}
