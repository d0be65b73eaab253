// Shared by the scene program's tests.
#pragma once

#include "random.h"

// What calendar_seconds() reports to the program under test.
extern long long test_calendar_now;
