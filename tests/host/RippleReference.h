#pragma once
// A plain sweep of the ripple model, vertex by vertex and, for each vertex, slot by slot, with no
// shortcuts. The fast RippleSurface::Animate must agree with it bit for bit.
#include "scene/RippleSurface.h"

struct RippleCoords {
    float s[RippleSurface::GridSize][RippleSurface::GridSize];
    float t[RippleSurface::GridSize][RippleSurface::GridSize];
};

// The texture coordinates one Animate gives a surface in the state `before`.
inline void ReferenceAnimate(const RippleSurface& before, RippleCoords& out) {
    const int size = RippleSurface::GridSize;
    for (int n = 0; n < size; ++n) {
        for (int k = 0; k < size; ++k) {
            const RippleSurface::GridVertex& v = before.Vertex(n, k);
            float s = v.s0;
            float t = v.t0;
            for (int slot = 0; slot < RippleSurface::SlotCount; ++slot) {
                const int age = before.Age(slot) + 1;
                const int dn = n - before.CentreColumn(slot);
                const int dk = k - before.CentreRow(slot);
                const RippleSurface::Direction& e = RippleSurface::DirectionAt(dn < 0 ? -dn : dn, dk < 0 ? -dk : dk);
                int phase = age - e.distance;
                if (phase < 0) phase = 0;
                if (phase > 255) phase = 255;
                const double g = 1.0 - age / 256.0;
                const double f = g * g * 0.005;
                const double amplitude = RippleSurface::Amplitude(phase);
                const double signN = dn < 0 ? -1.0 : 1.0;
                const double signK = dk < 0 ? -1.0 : 1.0;
                s += signN * f * e.un * amplitude;
                t += signK * f * e.uk * amplitude;
            }
            out.s[n][k] = s;
            out.t[n][k] = t;
        }
    }
}
