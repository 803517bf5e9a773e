#include "Random.h"

#include <cstdint>

namespace nerith {
namespace {
std::uint32_t state = 1;
}

int rand() {
    state = state * 214013u + 2531011u;
    return static_cast<int>((state >> 16) & 0x7fff);
}

void resetRandForTesting() { state = 1; }

}  // namespace nerith
