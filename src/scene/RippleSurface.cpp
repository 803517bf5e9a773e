#include "scene/RippleSurface.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <initializer_list>

#include "GL.h"

namespace {

struct RippleTables {
    RippleSurface::Direction direction[RippleSurface::GridSize][RippleSurface::GridSize];
    double amplitude[RippleSurface::PhaseCount];

    RippleTables() {
        for (int a = 0; a < RippleSurface::GridSize; ++a) {
            for (int b = 0; b < RippleSurface::GridSize; ++b) {
                RippleSurface::Direction& e = direction[a][b];
                const double r = std::sqrt(static_cast<double>(a * a + b * b));
                if (r == 0.0) {
                    e = {0.0, 0.0, 0};
                    continue;
                }
                e.un = SixDigits(a / r);
                e.uk = SixDigits(b / r);
                e.distance = static_cast<int>(r * 800.0 / 31.0);
            }
        }
        // A damped squared wave: three crests of falling height, zero at both ends.
        amplitude[0] = 0.0;
        for (int i = 1; i < RippleSurface::PhaseCount - 1; ++i) {
            const double w = std::sin(0.02766 * (i - 0.94));
            amplitude[i] = 0.1264 * std::exp(-0.00415 * i) * w * w;
        }
        amplitude[RippleSurface::PhaseCount - 1] = 0.0;
    }

    // The nearest double to v written with 6 significant digits.
    static double SixDigits(double v) {
        char text[32];
        std::snprintf(text, sizeof text, "%.6g", v);
        return std::strtod(text, nullptr);
    }
};

const RippleTables& Tables() {
    static const RippleTables tables;
    return tables;
}

// The grid is 31 x 31 cells, cell (n, k) a polygon through the corners c0 = [n][k],
// c1 = [n][k + 1], c2 = [n + 1][k + 1], c3 = [n + 1][k]. All cells go in one indexed draw, each as
// the two triangles (c1, c2, c0) and (c2, c3, c0): the fan a polygon is split into, with its
// vertices in the order the rasteriser takes them, so every pixel comes out as with one
// polygon per cell. (Quads would split each cell along the other diagonal, and as the ripples
// push the texture coordinates around, that shows.)
constexpr GLenum CellPrimitive = GL_TRIANGLES;
constexpr int CellsPerSide = RippleSurface::GridSize - 1;
constexpr int CellIndexCount = CellsPerSide * CellsPerSide * 6;

const GLushort* CellCorners() {
    struct Table {
        GLushort index[CellIndexCount];
        Table() {
            int i = 0;
            auto at = [](int n, int k) { return static_cast<GLushort>(n * RippleSurface::GridSize + k); };
            for (int n = 0; n < CellsPerSide; ++n) {
                for (int k = 0; k < CellsPerSide; ++k) {
                    const GLushort c[4] = {at(n, k), at(n, k + 1), at(n + 1, k + 1), at(n + 1, k)};
                    for (int corner : {1, 2, 0, 2, 3, 0}) index[i++] = c[corner];
                }
            }
        }
    };
    static const Table table;
    return table.index;
}

int ClampCell(float v) {
    if (!(v > 0.0f)) return 0;
    if (v >= static_cast<float>(RippleSurface::GridSize - 1)) return RippleSurface::GridSize - 1;
    return static_cast<int>(v);
}

}  // namespace

RippleSurface::RippleSurface() { Resize(0, 0); }

const RippleSurface::Direction& RippleSurface::DirectionAt(int absDn, int absDk) {
    return Tables().direction[absDn][absDk];
}

double RippleSurface::Amplitude(int phase) { return Tables().amplitude[phase]; }

void RippleSurface::Resize(int width, int height) {
    width_ = width;
    height_ = height;
    diagonal_ = static_cast<int>(std::sqrt(static_cast<double>(width) * width +
                                           static_cast<double>(height) * height));
    for (int i = 0; i < SlotCount; ++i) {
        centreColumn_[i] = 0;
        centreRow_[i] = 0;
        maxAge_[i] = 0;
        age_[i] = diagonal_ + 256;
    }
    const float step = 1.0f / 31.0f;
    for (int n = 0; n < GridSize; ++n) {
        for (int k = 0; k < GridSize; ++k) {
            GridVertex& v = grid_[n][k];
            v.x = static_cast<float>(2 * n) * step - 1.0f;
            v.y = static_cast<float>(2 * k) * step - 1.0f;
            v.s0 = static_cast<float>(n) / 31.0f;
            v.t0 = static_cast<float>(k) / 31.0f;
            v.s = v.s0;
            v.t = v.t0;
        }
    }
}

void RippleSurface::StartRipple(int x, int y) {
    if (width_ <= 0 || height_ <= 0) return;
    int slot = 0;
    while (slot < SlotCount && age_[slot] < maxAge_[slot]) ++slot;
    if (slot == SlotCount) return;

    // A point on or beyond the edge (a click on the top pixel row, a surface smaller than the
    // screen) starts its ripple in the nearest edge cell.
    const int cn = ClampCell(static_cast<float>(x) / static_cast<float>(width_) * 32.0f);
    const int ck = ClampCell(static_cast<float>(y) / static_cast<float>(height_) * 32.0f);
    centreColumn_[slot] = cn;
    centreRow_[slot] = ck;
    age_[slot] = 4;

    const int cornerN[4] = {0, 32, 32, 0};
    const int cornerK[4] = {0, 0, 32, 32};
    float m = 0.0f;
    for (int c = 0; c < 4; ++c) {
        const float dn = static_cast<float>(cornerN[c] - cn);
        const float dk = static_cast<float>(cornerK[c] - ck);
        const float dist = std::sqrt(dn * dn + dk * dk);
        if (dist > m) m = dist;
    }
    maxAge_[slot] = static_cast<int>(static_cast<float>(width_) * m / 32.0f + 42.0f) / 5;
}

void RippleSurface::Draw() const {
    const GLushort* corners = CellCorners();
    glVertexPointer(2, GL_FLOAT, sizeof(GridVertex), &grid_[0][0].x);  // z = 0
    glTexCoordPointer(2, GL_FLOAT, sizeof(GridVertex), &grid_[0][0].s);
    glEnableClientState(GL_VERTEX_ARRAY);
    glEnableClientState(GL_TEXTURE_COORD_ARRAY);
    glDrawElements(CellPrimitive, CellIndexCount, GL_UNSIGNED_SHORT, corners);
    glDisableClientState(GL_VERTEX_ARRAY);
    glDisableClientState(GL_TEXTURE_COORD_ARRAY);
    // The texture coordinate of the last corner drawn, as immediate-mode drawing leaves it.
    const GridVertex& last = grid_[GridSize - 1][GridSize - 2];
    glTexCoord2f(last.s, last.t);
}

// Each cell is a rectangle on the screen; of its two triangles (c1, c2, c0) and (c2, c3, c0), each
// has one side across and one side up it, along which the texture coordinates change linearly:
// the texel steps of one pixel across (du/dx, dv/dx) and up (du/dy, dv/dy) follow from those sides.
RippleSurface::TexelScale RippleSurface::TexelsPerPixel(double pixelsX, double pixelsY, int texWidth,
                                                        int texHeight) const {
    struct Step {
        double du = 0.0, dv = 0.0;
    };
    auto step = [&](const GridVertex& a, const GridVertex& b, double pixels) {
        Step d;
        if (pixels > 0.0) {
            d.du = std::fabs((static_cast<double>(b.s) - a.s) * texWidth / pixels);
            d.dv = std::fabs((static_cast<double>(b.t) - a.t) * texHeight / pixels);
        }
        return d;
    };
    TexelScale scale = {HUGE_VAL, 0.0};
    auto triangle = [&](Step x, Step y) {
        const double exact = std::fmax(std::hypot(x.du, x.dv), std::hypot(y.du, y.dv));
        const double largestStep = std::fmax(std::fmax(x.du, x.dv), std::fmax(y.du, y.dv));
        scale.most = std::fmax(scale.most, exact);
        scale.least = std::fmin(scale.least, largestStep);
    };
    for (int n = 0; n + 1 < GridSize; ++n) {
        for (int k = 0; k + 1 < GridSize; ++k) {
            const GridVertex& c0 = grid_[n][k];
            const GridVertex& c1 = grid_[n][k + 1];
            const GridVertex& c2 = grid_[n + 1][k + 1];
            const GridVertex& c3 = grid_[n + 1][k];
            const double across = (static_cast<double>(c3.x) - c0.x) * pixelsX;
            const double up = (static_cast<double>(c1.y) - c0.y) * pixelsY;
            triangle(step(c1, c2, across), step(c0, c1, up));
            triangle(step(c0, c3, across), step(c3, c2, up));
        }
    }
    if (scale.least > scale.most) scale.least = scale.most;
    return scale;
}

void RippleSurface::DrawSideStrips(float reach) const {
    if (reach <= 1.0f) return;
    glBegin(GL_QUADS);
    for (const int n : {0, GridSize - 1}) {
        const float outer = n == 0 ? -reach : reach;
        for (int k = 0; k + 1 < GridSize; ++k) {
            const GridVertex& low = grid_[n][k];
            const GridVertex& high = grid_[n][k + 1];
            glTexCoord2f(low.s, low.t);
            glVertex2f(outer, low.y);
            glVertex2f(low.x, low.y);
            glTexCoord2f(high.s, high.t);
            glVertex2f(high.x, high.y);
            glVertex2f(outer, high.y);
        }
    }
    glEnd();
}

// Every slot adds sign(dn) * f * un * amplitude[phase] to s (and likewise to t) of every vertex.
// Only a ring of vertices around a slot's centre has a phase strictly between 0 and 255, where
// the amplitude can be non-zero; everywhere else the contribution is exactly zero. So each slot
// visits just the box that holds its ring. The slots are still taken in index order, so every
// vertex receives the same additions in the same order as a full sweep would, and ends with the
// same coordinates bit for bit.
void RippleSurface::Animate() {
    const RippleTables& tables = Tables();

    for (int i = 0; i < SlotCount; ++i)
        if (age_[i] < AgeLimit) ++age_[i];

    for (int n = 0; n < GridSize; ++n) {
        for (int k = 0; k < GridSize; ++k) {
            GridVertex& v = grid_[n][k];
            v.s = v.s0;
            v.t = v.t0;
        }
    }

    const int maxDistance = tables.direction[GridSize - 1][GridSize - 1].distance;
    for (int i = 0; i < SlotCount; ++i) {
        const int age = age_[i];
        // phase = age - distance lies in 1..254 only for distances in age-254 .. age-1.
        if (age <= 0 || age - (PhaseCount - 2) > maxDistance) continue;
        const double g = 1.0 - age / 256.0;
        const double f = g * g * 0.005;
        if (f == 0.0) continue;

        // distance < age needs r < age * 31 / 800, so |dn| and |dk| stay within `reach`.
        const long long reachWide = static_cast<long long>(age) * 31 / 800;
        const int reach = reachWide < GridSize - 1 ? static_cast<int>(reachWide) : GridSize - 1;
        const int cn = centreColumn_[i];
        const int ck = centreRow_[i];
        const int n0 = cn - reach > 0 ? cn - reach : 0;
        const int n1 = cn + reach < GridSize - 1 ? cn + reach : GridSize - 1;
        const int k0 = ck - reach > 0 ? ck - reach : 0;
        const int k1 = ck + reach < GridSize - 1 ? ck + reach : GridSize - 1;

        for (int n = n0; n <= n1; ++n) {
            const int dn = n - cn;
            const double signN = dn < 0 ? -1.0 : 1.0;
            const Direction* row = tables.direction[dn < 0 ? -dn : dn];
            for (int k = k0; k <= k1; ++k) {
                const int dk = k - ck;
                const Direction& e = row[dk < 0 ? -dk : dk];
                const int phase = age - e.distance;
                if (phase <= 0 || phase >= PhaseCount - 1) continue;
                const double amplitude = tables.amplitude[phase];
                const double signK = dk < 0 ? -1.0 : 1.0;
                GridVertex& v = grid_[n][k];
                v.s += signN * f * e.un * amplitude;
                v.t += signK * f * e.uk * amplitude;
            }
        }
    }
}
