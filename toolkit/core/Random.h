#pragma once

// The runtime's pseudo-random numbers: a 32-bit linear congruential
// generator.  Not for anything that needs unpredictability.

#include <QtGlobal>

// The generator's state; setting it repeats a sequence.
extern quint32 RandSeed;

// Seeds the generator from the clock.
void Randomize();

// A number in [0, 1).
double Random();

// An integer in [0, range); 0 when range <= 0.
int Random(int range);
