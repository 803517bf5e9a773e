#pragma once
// The one random generator of the program. It reproduces the Microsoft C runtime's rand()
// (0 to 32767) and is never seeded, so every run replays the same sequence: 41, 18467, 6334, ...
// Nothing else in the program draws random numbers.
namespace nerith {

int rand();

// Puts the generator back to its never-seeded state. Only tests call this.
void resetRandForTesting();

}  // namespace nerith
