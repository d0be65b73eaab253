#include "calendar.h"

#include <ctime>

namespace {
bool fixed = false;
long long fixed_seconds = 0;
}  // namespace

void fix_calendar_seconds(long long seconds) {
  fixed = true;
  fixed_seconds = seconds;
}

long long calendar_seconds() { return fixed ? fixed_seconds : static_cast<long long>(std::time(nullptr)); }
