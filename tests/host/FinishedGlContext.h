#pragma once
// An off-screen context that finishes its rendering before it goes away: destroying an OSMesa
// context with drawing still queued crashes inside Mesa.
#include <cstddef>

#include "OsMesa.h"

class FinishedGlContext : public OsMesaContext {
public:
    explicit FinishedGlContext(int width = 256, int height = 256) : OsMesaContext(width, height) {}
    ~FinishedGlContext() {
        if (ok()) glFinish();
    }
};
