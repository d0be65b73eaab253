// The scene program's calendar clock, which seeds its random generator: the
// system's time in whole seconds, unless the host fixed its reading at start-up.
#pragma once

// From now on the clock reads `seconds` (a host's --seed N, a test's fixed time).
void fix_calendar_seconds(long long seconds);

// The calendar clock in whole seconds.
long long calendar_seconds();
