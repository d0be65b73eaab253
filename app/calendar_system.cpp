#include <ctime>

#include "random.h"

long long calendar_seconds() { return static_cast<long long>(std::time(nullptr)); }
