// The scene program's calendar clock in real windows: the seed --seed gave,
// else the system's time.
#include <ctime>

#include "program_options.h"
#include "random.h"

long long calendar_seconds() {
  long long seed = 0;
  return vk::start_seed(seed) ? seed : static_cast<long long>(std::time(nullptr));
}
