// The UI thread's work queue. The thread that makes the first environment becomes the
// UI thread: a message-only window of this library is made on it, and other threads
// (the connection's reading and starting threads, download writers) hand it work with
// ui_ya_ekle. Work runs in order, one piece at a time, from inside DispatchMessageW,
// never inside the call that queued it.
#pragma once

#include <windows.h>

#include <functional>

// Makes the queue's window on the calling thread, which becomes the UI thread; true
// when it exists (made now or before).
bool ui_penceresi_kur();
// Queues work for the UI thread from any thread; false once the library unloads or
// the process ends, and before ui_penceresi_kur.
bool ui_ya_ekle(std::function<void()> is);
// True while the process is ending: then the other threads are already gone, locks
// they held stay held, and only the operating system should clean up.
bool surec_bitiyor();
