// Work for the UI thread after a delay, on the thread's own timers (no window).
#pragma once

#include <windows.h>

#include <functional>

// Runs `is` on the UI thread after `ms` milliseconds. Returns the timer (0 when none
// was had, and `is` never runs).
UINT_PTR sonra_calistir(UINT ms, std::function<void()> is);
// The work of a timer from sonra_calistir does not run; nothing for 0 or a timer
// whose work ran already.
void zamanlayiciyi_iptal_et(UINT_PTR zamanlayici);
