// The program's one pseudo-random generator: a 32-bit linear congruential
// generator whose draws are 0..32767. Its state is 1 until it is seeded.
#pragma once

#include <cstdint>

// Seeds the generator with the calendar clock's whole seconds.
void seed_random();
// Sets the generator's state directly.
void set_random_seed(std::uint32_t seed);
// One draw: 0..32767.
int random_draw();
// One draw reduced modulo n (n > 0): 0..n-1.
int random_below(int n);
// How many draws have been taken since the last seeding (for tests).
long long random_draws_taken();
