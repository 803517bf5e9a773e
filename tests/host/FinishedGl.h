#pragma once
// An off-screen context that finishes its rendering before it goes: OSMesa crashes when a
// context is destroyed with drawing still queued.
#include "OsMesa.h"

class FinishedGl : public OsMesaContext {
public:
    using OsMesaContext::OsMesaContext;
    ~FinishedGl() {
        if (ok()) glFinish();
    }
};
