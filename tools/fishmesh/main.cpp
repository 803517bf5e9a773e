// Generates src/fish/FishMeshData.cpp, the stored vertices of the fish mesh, from a parametric
// description of the body profile and the fins.
//
//   fishmesh > src/fish/FishMeshData.cpp
//
// Model space: snout toward -x (x = -0.45), tail base at x = +0.194, z up; the vertices describe
// the -y side. Texture coordinates follow the fish skin layout (256 x 128): body side in
// s [0, 0.70] x t [0, 0.50], tail fin s [0.70, 1.00], fin strips t [0.50, 1.00] (dorsal s [0, 0.25],
// anal [0.25, 0.50], pectoral [0.50, 0.75], the lower paired fins [0.75, 1.00]).
#include <cmath>
#include <cstdio>
#include <vector>

#include "fish/FishModel.h"

namespace {

struct V3 {
    double x, y, z;
};
V3 operator+(V3 a, V3 b) { return {a.x + b.x, a.y + b.y, a.z + b.z}; }
V3 operator-(V3 a, V3 b) { return {a.x - b.x, a.y - b.y, a.z - b.z}; }
V3 operator*(double k, V3 a) { return {k * a.x, k * a.y, k * a.z}; }
V3 cross(V3 a, V3 b) { return {a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x}; }
V3 normalize(V3 a) {
    double l = std::sqrt(a.x * a.x + a.y * a.y + a.z * a.z);
    return l > 0 ? (1.0 / l) * a : V3{0, -1, 0};
}
V3 lerp(V3 a, V3 b, double f) { return a + f * (b - a); }

const double Pi = 3.14159265358979323846;
double clamp01(double v) { return v < 0 ? 0 : (v > 1 ? 1 : v); }
double smooth(double v) {
    v = clamp01(v);
    return v * v * (3 - 2 * v);
}

// ---- Body profile -------------------------------------------------------------------------
const double SnoutX = -0.45;
const double TailBaseX = 0.194;
const double Exponent = 2.5;  // superellipse cross-section: fuller than an ellipse

double columnX(double column) { return SnoutX + (TailBaseX - SnoutX) * column / 22.0; }
double uOf(double x) { return (x - SnoutX) / (TailBaseX - SnoutX); }

// Rounded head: a quarter ellipse rising over the first part of the body.
double nose(double u, double reach) {
    double a = clamp01(u / reach);
    return std::sqrt(a * (2 - a));
}
// Tapering toward the narrow tail stalk.
double taper(double u, double from, double ratio) { return 1.0 - (1.0 - ratio) * smooth((u - from) / (1.0 - from)); }

double topHeight(double u) { return 0.132 * (0.12 + 0.88 * nose(u, 0.40)) * taper(u, 0.36, 0.22); }
double bottomHeight(double u) { return 0.112 * (0.12 + 0.88 * nose(u, 0.34)) * taper(u, 0.40, 0.24); }
double halfWidth(double u) { return 0.052 * (0.16 + 0.84 * nose(u, 0.24)) * taper(u, 0.25, 0.22); }
double centreZ(double u) { return -0.012 * (1.0 - u) * (1.0 - u); }

double topZ(double x) { return centreZ(uOf(x)) + topHeight(uOf(x)); }
double bottomZ(double x) { return centreZ(uOf(x)) - bottomHeight(uOf(x)); }

double signedPow(double v, double e) { return v < 0 ? -std::pow(-v, e) : std::pow(v, e); }

// The point of the body surface at (u, angle): angle 90 is the dorsal midline, -90 the ventral
// midline, 0 the widest point of the -y side. `grow` pushes the point outward sideways.
V3 bodyPoint(double u, double angleDeg, double grow = 1.0) {
    double a = angleDeg * Pi / 180.0;
    double e = 2.0 / Exponent;
    double h = a >= 0 ? topHeight(u) : bottomHeight(u);
    return {SnoutX + (TailBaseX - SnoutX) * u, -halfWidth(u) * std::pow(std::fabs(std::cos(a)), e) * grow,
            centreZ(u) + h * signedPow(std::sin(a), e)};
}

// The implicit body surface |y/W|^n + |(z - zc)/H|^n - 1; its gradient is the outward normal.
double bodyField(V3 p) {
    double u = uOf(p.x);
    double dz = p.z - centreZ(u);
    double h = dz >= 0 ? topHeight(u) : bottomHeight(u);
    return std::pow(std::fabs(p.y / halfWidth(u)), Exponent) + std::pow(std::fabs(dz / h), Exponent) - 1.0;
}

V3 bodyNormal(V3 p) {
    const double d = 1e-5;
    V3 g = {bodyField(p + V3{d, 0, 0}) - bodyField(p - V3{d, 0, 0}),
            bodyField(p + V3{0, d, 0}) - bodyField(p - V3{0, d, 0}),
            bodyField(p + V3{0, 0, d}) - bodyField(p - V3{0, 0, d})};
    if (g.y > 0) g.y = 0;  // the stored side faces -y
    return normalize(g);
}

// Texture t of a body point: 0 at the top of the back, 0.5 at the belly line.
double bodyT(double u, double z) {
    double top = centreZ(u) + topHeight(u), bottom = centreZ(u) - bottomHeight(u);
    return 0.5 * clamp01((top - z) / (top - bottom));
}

// ---- Output -------------------------------------------------------------------------------
std::vector<MeshVertex> vertices;

void add(V3 p, V3 n, double s, double t) {
    n = normalize(n);
    vertices.push_back({float(p.x), float(p.y), float(p.z), float(n.x), float(n.y), float(n.z), float(s), float(t)});
}

// Catmull-Rom through the control points, f in [0, 1] over the whole path.
V3 spline(const std::vector<V3>& pts, double f) {
    int segments = int(pts.size()) - 1;
    double x = clamp01(f) * segments;
    int i = int(x);
    if (i >= segments) i = segments - 1;
    double t = x - i;
    V3 p0 = pts[i > 0 ? i - 1 : 0], p1 = pts[i], p2 = pts[i + 1], p3 = pts[i + 2 <= segments ? i + 2 : segments];
    double t2 = t * t, t3 = t2 * t;
    return 0.5 * ((2 * t3 - 3 * t2 + 1) * 2.0 * p1 + (t3 - 2 * t2 + t) * (p2 - p0) + (-2 * t3 + 3 * t2) * 2.0 * p2 +
                  (t3 - t2) * (p3 - p1));
}

// Normal of a fin sheet, turned to face -y.
V3 facingMinusY(V3 n) {
    n = normalize(n);
    return n.y > 0 ? -1.0 * n : n;
}

void body() {
    const double angles[6] = {90, 54, 18, -18, -54, -90};
    for (double a : angles) {
        for (int c = 0; c < 23; ++c) {
            double u = c / 22.0;
            V3 p = bodyPoint(u, a);
            add(p, bodyNormal(p), 0.70 * u, bodyT(u, p.z));
        }
    }
}

// A long pelvic fin hanging from the throat, sweeping down and back: rows from the root to the
// tip, columns across the fin from its front edge to its back edge.
void longFinPairB() {
    const double rootFront = -0.292, rootBack = -0.236;
    for (int r = 0; r < 4; ++r) {
        double f = r / 3.0;
        for (int c = 0; c < 8; ++c) {
            double g = c / 7.0;
            double xRoot = rootFront + (rootBack - rootFront) * g;
            V3 root = {xRoot, -0.016, bottomZ(xRoot) + 0.006};
            // The tip end: a rounded point down and back.
            double spread = (1.0 - 0.7 * f);
            V3 tipCentre = {-0.150, -0.034, bottomZ(-0.22) - 0.105};
            V3 tip = tipCentre + V3{(g - 0.5) * 0.07 * spread, 0, (0.5 - g) * 0.03};
            V3 p = lerp(root, tip, f);
            p.z -= 0.03 * std::sin(f * Pi) * (1.0 - g);  // a slight belly to the front edge
            V3 n = facingMinusY(cross(tip - root, V3{1, 0, 0}));
            add(p, n, 0.75 + 0.25 * g, 0.5 + 0.5 * f);
        }
    }
}

// A long thread trailing from the throat: columns from the root to the tip, rows across.
void longFinPairA() {
    for (int r = 0; r < 3; ++r) {
        double g = r / 2.0;
        for (int c = 0; c < 6; ++c) {
            double f = c / 5.0;
            V3 root = {-0.262, -0.018, bottomZ(-0.262) + 0.006};
            V3 tip = {0.06, -0.042, bottomZ(-0.10) - 0.215};
            V3 mid = {-0.11, -0.03, bottomZ(-0.18) - 0.16};
            V3 p = lerp(lerp(root, mid, f), lerp(mid, tip, f), f);
            double w = 0.016 * (1.0 - 0.75 * f);
            p.x += (g - 0.5) * w;
            p.z += (g - 0.5) * w * 0.6;
            add(p, V3{0.05, -1, 0}, 0.75 + 0.25 * g, 0.5 + 0.5 * f);
        }
    }
}

// The dorsal fin: base along the back from column 8, a long sweep trailing over the tail.
void topFin() {
    const double dx = columnX(1) - columnX(0);
    V3 base[40], edge[40];
    std::vector<V3> front = {
        {columnX(8) + 0.004, 0, topZ(columnX(8)) + 0.012}, {columnX(10) + 0.02, 0, topZ(columnX(10)) + 0.075},
        {columnX(13) + 0.03, 0, topZ(columnX(13)) + 0.110}, {columnX(17) + 0.04, 0, topZ(columnX(17)) + 0.112},
        {columnX(21) + 0.07, 0, topZ(columnX(21)) + 0.100},
    };
    std::vector<V3> rear = {
        {columnX(21) + 0.07, 0, topZ(columnX(21)) + 0.100},
        {columnX(22) + 0.09, 0, topZ(columnX(22)) + 0.060},
        {columnX(22) + 0.14, 0, topZ(columnX(22)) + 0.026},
        {columnX(22) + 0.04, 0, topZ(columnX(22)) + 0.005},
    };
    for (int c = 0; c < 40; ++c) {
        double x;
        if (c < 26) {
            x = columnX(TopFinColumns[c]) + (c % 2) * dx * 0.5;
            edge[c] = spline(front, c / 25.0);
        } else {
            int j = c - 26;
            x = columnX(21) + dx * 0.9 * (j + 1) / 14.0;
            edge[c] = spline(rear, (j + 1) / 14.0);
        }
        base[c] = {x, 0, topZ(x)};
    }
    for (int row = 0; row < 2; ++row)
        for (int c = 0; c < 40; ++c) add(row == 0 ? base[c] : edge[c], V3{0, -1, 0}, 0.25 * c / 39.0, row == 0 ? 0.5 : 1.0);
}

// The pectoral fins: a short base behind the gill cover, a rounded fan angled back and out.
void sideFinPair() {
    V3 baseTop = {-0.262, 0, centreZ(uOf(-0.262)) - 0.010};
    V3 baseBottom = {-0.250, 0, centreZ(uOf(-0.250)) - 0.046};
    auto onFlank = [](V3 p) {
        double u = uOf(p.x), dz = p.z - centreZ(u);
        double h = dz >= 0 ? topHeight(u) : bottomHeight(u);
        double k = 1.0 - std::pow(std::fabs(dz / h), Exponent);
        p.y = -halfWidth(u) * std::pow(k > 0 ? k : 0, 1.0 / Exponent) * 0.96;
        return p;
    };
    V3 back = normalize(V3{1.0, -0.55, -0.12});
    V3 up = normalize(V3{0, 0, 1} - (back.z) * back);
    V3 n = facingMinusY(cross(back, up));
    V3 edge[19], base[19];
    for (int c = 0; c < 19; ++c) {
        double g = c / 18.0;
        base[c] = onFlank(lerp(baseTop, baseBottom, g));
        double phi = (38.0 - 98.0 * g) * Pi / 180.0;
        double reach = 0.105 * (0.62 + 0.38 * std::sin(Pi * (0.15 + 0.85 * g)));
        edge[c] = base[c] + reach * (std::cos(phi) * back + std::sin(phi) * up);
    }
    for (int row = 0; row < 2; ++row)
        for (int c = 0; c < 19; ++c)
            add(row == 0 ? edge[c] : base[c], n, 0.50 + 0.25 * c / 18.0, row == 0 ? 1.0 : 0.5);
}

// The small belly fins: columns from the root to the tip, the two rows its front and back edges.
void smallFinPair() {
    for (int r = 0; r < 2; ++r) {
        for (int c = 0; c < 8; ++c) {
            double f = c / 7.0;
            double xRoot = r == 0 ? -0.150 : -0.112;
            V3 root = {xRoot, -0.014, bottomZ(xRoot) + 0.005};
            V3 tip = {-0.050 + (r == 0 ? -0.006 : 0.006), -0.028, bottomZ(-0.10) - 0.072};
            V3 p = lerp(root, tip, f);
            p.x += (r == 0 ? 1 : -1) * 0.004 * std::sin(f * Pi);
            V3 n = facingMinusY(cross(tip - root, V3{1, 0, 0}));
            add(p, n, r == 0 ? 0.75 : 1.0, 0.5 + 0.5 * f);
        }
    }
}

// The anal fin: base along the belly from column 13, trailing back under the tail.
void bottomFin() {
    const double dx = columnX(1) - columnX(0);
    V3 base[28], edge[28];
    std::vector<V3> front = {
        {columnX(13) + 0.004, 0, bottomZ(columnX(13)) - 0.012},
        {columnX(15) + 0.02, 0, bottomZ(columnX(15)) - 0.070},
        {columnX(18) + 0.035, 0, bottomZ(columnX(18)) - 0.092},
        {columnX(20) + 0.05, 0, bottomZ(columnX(20)) - 0.090},
    };
    std::vector<V3> rear = {
        {columnX(20) + 0.05, 0, bottomZ(columnX(20)) - 0.090},
        {columnX(22) + 0.08, 0, bottomZ(columnX(22)) - 0.055},
        {columnX(22) + 0.12, 0, bottomZ(columnX(22)) - 0.024},
        {columnX(22) + 0.04, 0, bottomZ(columnX(22)) - 0.005},
    };
    for (int c = 0; c < 28; ++c) {
        double x;
        if (c < 14) {
            x = columnX(BottomFinColumns[c]) + (c % 2) * dx * 0.5;
            edge[c] = spline(front, c / 13.0);
        } else {
            int j = c - 14;
            x = columnX(21) + dx * 0.9 * (j + 1) / 14.0;
            edge[c] = spline(rear, (j + 1) / 14.0);
        }
        base[c] = {x, 0, bottomZ(x)};
    }
    for (int row = 0; row < 2; ++row)
        for (int c = 0; c < 28; ++c)
            add(row == 0 ? base[c] : edge[c], V3{0, -1, 0}, 0.25 + 0.25 * c / 27.0, row == 0 ? 0.5 : 1.0);
}

// The tail fin: row 0 the trailing edge (a wide lyre-shaped fork), row 1 the base on the tail
// stalk; columns from the upper lobe to the lower lobe.
void tailFin() {
    const double x0 = TailBaseX;
    const double zc = centreZ(1.0);
    std::vector<V3> trailing = {
        {x0 + 0.27, 0, zc + 0.165}, {x0 + 0.225, 0, zc + 0.105}, {x0 + 0.175, 0, zc + 0.045}, {x0 + 0.155, 0, zc},
        {x0 + 0.175, 0, zc - 0.045}, {x0 + 0.225, 0, zc - 0.100}, {x0 + 0.27, 0, zc - 0.155},
    };
    for (int row = 0; row < 2; ++row) {
        for (int c = 0; c < 31; ++c) {
            double g = c / 30.0;
            V3 p;
            if (row == 0) {
                p = spline(trailing, g);
            } else {
                double top = topZ(x0) - 0.002, bottom = bottomZ(x0) + 0.002;
                p = {x0 - 0.014, 0, top + (bottom - top) * g};
            }
            add(p, V3{0, -1, 0}, row == 0 ? 1.0 : 0.70, 0.5 * g);
        }
    }
}

// The gill covers: a plate over the side of the head, a little proud of the body, showing the
// same part of the skin as the body beneath it.
void headPlates() {
    const double angles[3] = {62, 0, -62};
    for (double a : angles) {
        for (int c = 0; c < 9; ++c) {
            double s = 0.028 + (0.18 - 0.028) * c / 8.0;
            double u = s / 0.70;
            V3 onBody = bodyPoint(u, a);
            V3 p = bodyPoint(u, a, 1.14);
            p.y -= 0.002;
            add(p, bodyNormal(onBody), s, bodyT(u, onBody.z));
        }
    }
}

}  // namespace

int main() {
    body();
    longFinPairB();
    longFinPairA();
    topFin();
    sideFinPair();
    smallFinPair();
    bottomFin();
    tailFin();
    headPlates();
    if (vertices.size() != FishMeshVertexCount) {
        std::fprintf(stderr, "fishmesh: %zu vertices, expected %d\n", vertices.size(), FishMeshVertexCount);
        return 1;
    }
    std::printf("// The stored fish mesh: %d vertices, part by part, row by row.\n", FishMeshVertexCount);
    std::printf("// Generated by tools/fishmesh; edit the generator, not this file.\n");
    std::printf("#include \"fish/FishModel.h\"\n\n");
    std::printf("// x, y, z, nx, ny, nz, s, t\n");
    std::printf("const MeshVertex FishMeshVertices[FishMeshVertexCount] = {\n");
    const char* names[FishPartCount] = {"Body",         "LongFinPairB", "LongFinPairA", "TopFin",    "SideFinPair",
                                        "SmallFinPair", "BottomFin",    "TailFin",      "HeadPlates"};
    for (size_t i = 0; i < vertices.size(); ++i) {
        for (int p = 0; p < FishPartCount; ++p)
            if (FishMeshParts[p].first == int(i))
                std::printf("    // %s, %d x %d\n", names[p], FishMeshParts[p].rows, FishMeshParts[p].columns);
        MeshVertex v = vertices[i];
        for (float* f : {&v.x, &v.y, &v.z, &v.nx, &v.ny, &v.nz, &v.s, &v.t})
            if (std::fabs(*f) < 5e-7f) *f = 0.0f;
        std::printf("    {%.6ff, %.6ff, %.6ff, %.6ff, %.6ff, %.6ff, %.6ff, %.6ff},\n", v.x, v.y, v.z, v.nx, v.ny,
                    v.nz, v.s, v.t);
    }
    std::printf("};\n");
    return 0;
}
