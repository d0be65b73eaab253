// The calendar clock for the scene program's tests: a fixed, settable time.
#include "app_test_support.h"

long long test_calendar_now = 1;

long long calendar_seconds() { return test_calendar_now; }
