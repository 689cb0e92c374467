// Runtime core, internal: the pieces of the profiler that have a contract of their
// own below the entry points, shared with the unit's tests.
#pragma once

#include <stdint.h>

// Nanoseconds in `ticks` of a counter running at `frequency` ticks per second,
// truncated. The ticks are split into whole seconds and a remainder before
// scaling, so the result is exact for any interval whose nanoseconds fit in 64
// bits (longer ones give INT64_MAX). No ticks, a negative count or a frequency
// of 0 or less give 0.
int64_t profil_gecen_ns(int64_t ticks, int64_t frequency);
