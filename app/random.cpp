#include "random.h"

#include "calendar.h"

namespace {
std::uint32_t random_state = 1;
long long draws_taken = 0;
}  // namespace

void seed_random() {
  set_random_seed(static_cast<std::uint32_t>(calendar_seconds()));
}

void set_random_seed(std::uint32_t seed) {
  random_state = seed;
  draws_taken = 0;
}

int random_draw() {
  random_state = random_state * 214013u + 2531011u;  // wraps modulo 2^32
  ++draws_taken;
  return static_cast<int>((random_state >> 16) & 0x7FFF);
}

int random_below(int n) { return random_draw() % n; }

long long random_draws_taken() { return draws_taken; }
