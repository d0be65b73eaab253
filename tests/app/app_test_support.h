// Shared by the scene program's tests.
#pragma once

#include "calendar.h"
#include "random.h"
