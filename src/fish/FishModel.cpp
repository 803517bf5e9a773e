#include "fish/FishModel.h"

#include <cmath>

#ifndef _WIN32
#define GL_GLEXT_PROTOTYPES  // glMultiDrawArrays, which the library exports
#endif
#include "GL.h"
#include "Random.h"
#include "fish/Fish.h"

// Rows x columns and position in FishMeshVertices of the nine parts, in drawing order.
const MeshPart FishMeshParts[FishPartCount] = {
    {6, 23, 0},    // Body
    {4, 8, 138},   // LongFinPairB
    {3, 6, 170},   // LongFinPairA
    {2, 40, 188},  // TopFin
    {2, 19, 268},  // SideFinPair
    {2, 8, 306},   // SmallFinPair
    {2, 28, 322},  // BottomFin
    {2, 31, 378},  // TailFin
    {3, 9, 440},   // HeadPlates
};

const int TopFinColumns[40] = {8,  8,  9,  9,  10, 10, 11, 11, 12, 12, 13, 13, 14, 14,
                               15, 15, 16, 16, 17, 17, 18, 18, 19, 19, 20, 20, 21, 21,
                               21, 21, 21, 21, 21, 21, 21, 21, 21, 21, 21, 21};
const int BottomFinColumns[28] = {13, 13, 14, 14, 15, 15, 16, 16, 18, 18, 19, 19, 20, 20,
                                  21, 21, 21, 21, 21, 21, 21, 21, 21, 21, 21, 21, 21, 21};

void FishOscillator::advance() {
    int old = counter;
    counter = old + 1;
    if (old > 1) {
        counter = 0;
        phase += step;
    }
    if (phase > 6.283185f) phase = 0.0f;
}

void FishModel::rotationMatrix(float angle, float ax, float ay, float az, float m[16]) {
    for (int i = 0; i < 16; ++i) m[i] = (i % 5 == 0) ? 1.0f : 0.0f;
    float len = std::sqrt(ax * ax + ay * ay + az * az);
    if (len == 0.0f) return;
    float x = ax / len, y = ay / len, z = az / len;
    double a = static_cast<double>(angle) * 0.017453292519943295;
    float s = static_cast<float>(std::sin(a));
    float c = static_cast<float>(std::cos(a));
    float oneC = 1.0f - c;
    m[0] = x * x * oneC + c;
    m[1] = y * x * oneC + z * s;
    m[2] = x * z * oneC - y * s;
    m[4] = x * y * oneC - z * s;
    m[5] = y * y * oneC + c;
    m[6] = y * z * oneC + x * s;
    m[8] = x * z * oneC + y * s;
    m[9] = y * z * oneC - x * s;
    m[10] = z * z * oneC + c;
}

void FishModel::flapFins(Fish& fish, AnimationFrame& frame) {
    for (int i = 0; i < 6; ++i)
        frame.finSpreadA[i] = fish.finFlat_ ? 0.0f : fish.finSpread_ * fish.size_ * static_cast<float>(i);
    for (int i = 0; i < 5; ++i)
        frame.finSpreadB[i] = fish.finFlat_ ? 0.0f : fish.finSpread_ * fish.size_ * static_cast<float>(i);
    int old = fish.finCounter_;
    fish.finCounter_ = old + 1;
    if (old > 50) {
        fish.finFlat_ = !fish.finFlat_;
        fish.finCounter_ = nerith::rand() % 25;
    }
}

void FishModel::runOscillators(Fish& fish, AnimationFrame& frame) {
    const float size = fish.size_;

    FishOscillator& sway = fish.tailSwayOsc_;
    sway.advance();
    for (int i = 0; i < BodyColumns; ++i) {
        frame.tailSway[i] = i <= 14 ? 0.0f
                                    : static_cast<float>(i - 15) * 0.01f *
                                          std::sin(static_cast<float>(i) * sway.k + sway.phase) * size;
    }

    auto ripple = [size](FishOscillator& osc, float* out, int n) {
        osc.advance();
        for (int i = 0; i < n; ++i)
            out[i] = std::sin(static_cast<float>(i) * osc.k + osc.phase) * size * osc.amplitude;
    };
    ripple(fish.topFinOsc_, frame.topFinRipple, 40);
    ripple(fish.sideFinOsc_, frame.sideFinRipple, 19);

    FishOscillator& small = fish.smallFinOsc_;
    small.advance();
    for (int i = 0; i < 8; ++i)
        frame.smallFinRipple[i] =
            static_cast<float>(i) * 0.01f * std::sin(static_cast<float>(i) * small.k + small.phase) * size;

    ripple(fish.bottomFinOsc_, frame.bottomFinRipple, 28);
    ripple(fish.tailFinOsc_, frame.tailFinRipple, 31);
}

void FishModel::jitterHead(Fish& fish, AnimationFrame& frame) {
    if (fish.targetPitch_ > 0.0f)
        fish.headJitter_ += fish.jitterStep_;
    else
        fish.headJitter_ -= fish.jitterStep_;
    if (nerith::rand() % 10 == 0) fish.headJitter_ += 2.0f * fish.jitterStep_;
    if (nerith::rand() % 10 == 1) fish.headJitter_ -= 2.0f * fish.jitterStep_;
    if (fish.headJitter_ > fish.jitterLimit_) fish.headJitter_ = fish.jitterLimit_;
    if (fish.headJitter_ < -fish.jitterLimit_) fish.headJitter_ = -fish.jitterLimit_;
    frame.headJitter = fish.headJitter_;
}

void FishModel::advanceAnimation(Fish& fish, AnimationFrame& frame) {
    flapFins(fish, frame);
    runOscillators(fish, frame);
    jitterHead(fish, frame);
}

namespace {

// Adds one vertex: stored normal and texture coordinate, position p transformed by m.
inline void emitVertex(FishStrips& batch, const MeshVertex& v, const float m[16], float px, float py, float pz) {
    FishStrips::Vertex& out = batch.vertices[batch.vertexCount++];
    out.s = v.s;
    out.t = v.t;
    out.nx = v.nx;
    out.ny = v.ny;
    out.nz = v.nz;
    out.x = m[0] * px + m[4] * py + m[8] * pz + m[12];
    out.y = m[1] * px + m[5] * py + m[9] * pz + m[13];
    out.z = m[2] * px + m[6] * py + m[10] * pz + m[14];
}

// Adds one part, one quad strip per pair of rows. `matrixOf(column)` gives the column
// transform; `place(row, column, vertex, out)` the deformed, scaled position.
template <class MatrixOf, class Place>
void emitPart(FishStrips& batch, FishPartIndex index, MatrixOf matrixOf, Place place) {
    const MeshPart& part = FishMeshParts[index];
    const MeshVertex* grid = FishMeshVertices + part.first;
    for (int row = 0; row + 1 < part.rows; ++row) {
        batch.stripFirst[batch.stripCount++] = batch.vertexCount;
        for (int column = 0; column < part.columns; ++column) {
            const float* m = matrixOf(column);
            for (int r = row; r <= row + 1; ++r) {
                const MeshVertex& v = grid[r * part.columns + column];
                float p[3];
                place(r, column, v, p);
                emitVertex(batch, v, m, p[0], p[1], p[2]);
            }
        }
    }
}

}  // namespace

// The vertices are filled in on the stack (or into `keep`) and handed to OpenGL in one go: the same
// vertices in the same order as one begin/end pair per strip, in a few dozen calls instead of
// three thousand.
void FishModel::draw(const Fish& fish, const AnimationFrame& frame, FishStrips* keep) {
    const float size = fish.size_;
    const float jitter = frame.headJitter;
    FishStrips local;
    FishStrips& batch = keep ? *keep : local;
    batch.vertexCount = batch.stripCount = 0;
    if (keep) glGetFloatv(GL_MODELVIEW_MATRIX, keep->modelView);

    // The column transforms of the body; the single-transform parts use those of columns 0, 8
    // and 21 (the same angles give the same matrices).
    float columns[BodyColumns][16];
    for (int c = 0; c < BodyColumns; ++c) rotationMatrix(frame.columnAngles[c], 0.0f, 0.0f, 1.0f, columns[c]);
    auto bodyColumn = [&](int c) -> const float* { return columns[c]; };
    auto fixed = [&](int bodyColumnIndex) { return [&columns, bodyColumnIndex](int) -> const float* { return columns[bodyColumnIndex]; }; };

    for (int pass = 0; pass < 2; ++pass) {
        const bool mirrored = pass == 1;
        emitPart(batch, Body, bodyColumn, [&](int, int c, const MeshVertex& v, float* p) {
            p[0] = v.x * size;
            p[1] = mirrored ? frame.tailSway[c] - v.y * size : v.y * size + frame.tailSway[c];
            p[2] = v.z * size;
        });
    }
    for (int pass = 0; pass < 2; ++pass) {
        const float ySign = pass == 1 ? -1.0f : 1.0f;
        emitPart(batch, LongFinPairB, fixed(0), [&](int, int c, const MeshVertex& v, float* p) {
            p[0] = v.x * size;
            p[1] = ySign * (v.y * size);
            p[2] = v.z * size + (c <= 4 ? frame.finSpreadB[c] : 0.0f);
        });
    }
    for (int pass = 0; pass < 2; ++pass) {
        const float ySign = pass == 1 ? -1.0f : 1.0f;
        emitPart(batch, LongFinPairA, fixed(0), [&](int, int c, const MeshVertex& v, float* p) {
            p[0] = v.x * size;
            p[1] = ySign * (v.y * size);
            p[2] = v.z * size - (c <= 3 ? frame.finSpreadA[c] : 0.0f);
        });
    }
    emitPart(
        batch, TopFin, [&](int c) -> const float* { return columns[TopFinColumns[c]]; },
        [&](int row, int c, const MeshVertex& v, float* p) {
            const int t = TopFinColumns[c];
            p[0] = v.x * size;
            p[1] = v.y * size + frame.tailSway[t] + (row == 1 ? frame.topFinRipple[c] : 0.0f);
            p[2] = row == 0 ? v.z * size - 0.01f * size : v.z * size;
        });
    for (int pass = 0; pass < 2; ++pass) {
        const bool mirrored = pass == 1;
        emitPart(batch, SideFinPair, fixed(8), [&](int row, int c, const MeshVertex& v, float* p) {
            const float r = row == 0 ? frame.sideFinRipple[c] : 0.0f;
            p[0] = v.x * size + r;
            p[1] = mirrored ? -(r + v.y * size) : v.y * size + r;
            p[2] = v.z * size + r;
        });
    }
    for (int pass = 0; pass < 2; ++pass) {
        const float ySign = pass == 1 ? -1.0f : 1.0f;
        emitPart(batch, SmallFinPair, fixed(8), [&](int, int c, const MeshVertex& v, float* p) {
            p[0] = v.x * size;
            p[1] = ySign * (v.y * size + frame.smallFinRipple[c]);
            p[2] = v.z * size;
        });
    }
    emitPart(
        batch, BottomFin, [&](int c) -> const float* { return columns[BottomFinColumns[c]]; },
        [&](int row, int c, const MeshVertex& v, float* p) {
            const int b = BottomFinColumns[c];
            p[0] = v.x * size;
            p[1] = v.y * size + frame.tailSway[b] + (row == 1 ? frame.bottomFinRipple[c] : 0.0f);
            p[2] = row == 0 ? v.z * size + 0.01f * size : v.z * size;
        });
    emitPart(batch, TailFin, fixed(21), [&](int row, int c, const MeshVertex& v, float* p) {
        p[0] = v.x * size;
        p[1] = row == 0 ? v.y * size + frame.tailSway[21] + frame.tailFinRipple[c] : v.y * size + frame.tailSway[22];
        p[2] = v.z * size;
    });
    for (int pass = 0; pass < 2; ++pass) {
        const bool mirrored = pass == 1;
        emitPart(batch, HeadPlates, fixed(0), [&](int, int, const MeshVertex& v, float* p) {
            p[0] = v.x * size + 2.0f * jitter;
            p[1] = mirrored ? -jitter - v.y * size : v.y * size + jitter;
            p[2] = v.z * size;
        });
    }
    if (!keep) drawStrips(batch);
}

namespace {

// glMultiDrawArrays (OpenGL 1.4): the strips of a fish in one call, which the driver prepares
// once instead of once per strip. Null where the driver has none.
using MultiDrawArraysCall = void(APIENTRY*)(GLenum, const GLint*, const GLsizei*, GLsizei);
MultiDrawArraysCall MultiDrawArrays() {
#ifdef _WIN32
    static const MultiDrawArraysCall call =
        reinterpret_cast<MultiDrawArraysCall>(reinterpret_cast<void*>(wglGetProcAddress("glMultiDrawArrays")));
#else
    static const MultiDrawArraysCall call = &glMultiDrawArrays;
#endif
    return call;
}

}  // namespace

// One GL_QUAD_STRIP per strip, all of them in one call where the driver allows. Afterwards the
// current normal and texture coordinate are those of the last vertex, as they would be after
// immediate-mode drawing (the background picture and the bubbles drawn later in the frame are lit
// with that normal).
void FishModel::drawStrips(const FishStrips& strips) {
    if (strips.vertexCount == 0) return;
    glInterleavedArrays(GL_T2F_N3F_V3F, 0, strips.vertices);  // enables the three arrays it names
    GLsizei counts[FishStrips::StripCount];
    for (int i = 0; i < strips.stripCount; ++i) {
        const int end = i + 1 < strips.stripCount ? strips.stripFirst[i + 1] : strips.vertexCount;
        counts[i] = end - strips.stripFirst[i];
    }
    if (const MultiDrawArraysCall multiDraw = MultiDrawArrays()) {
        multiDraw(GL_QUAD_STRIP, strips.stripFirst, counts, strips.stripCount);
    } else {
        for (int i = 0; i < strips.stripCount; ++i) glDrawArrays(GL_QUAD_STRIP, strips.stripFirst[i], counts[i]);
    }
    glDisableClientState(GL_VERTEX_ARRAY);
    glDisableClientState(GL_NORMAL_ARRAY);
    glDisableClientState(GL_TEXTURE_COORD_ARRAY);
    leaveLastVertex(strips);
}

void FishModel::leaveLastVertex(const FishStrips& strips) {
    if (strips.vertexCount == 0) return;
    const FishStrips::Vertex& last = strips.vertices[strips.vertexCount - 1];
    glNormal3f(last.nx, last.ny, last.nz);
    glTexCoord2f(last.s, last.t);
}

float FishModel::farthestEyeZ(const FishStrips& strips) {
    const float* m = strips.modelView;
    float farthest = 0.0f;
    for (int i = 0; i < strips.vertexCount; ++i) {
        const FishStrips::Vertex& v = strips.vertices[i];
        const float z = m[2] * v.x + m[6] * v.y + m[10] * v.z + m[14];
        if (i == 0 || z < farthest) farthest = z;
    }
    return farthest;
}
