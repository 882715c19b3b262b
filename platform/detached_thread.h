// Threads that nobody joins: background jobs and the drive poller.
//
// On Windows they are made with _beginthreadex, not std::thread + detach():
// the MinGW-w64 threads library can lose a thread that is detached after it
// has already ended. The next thread it makes then never runs (seen under
// Wine: a job started, never ran, and whoever waited for it waited for ever).
#pragma once

namespace quillmor {

// Runs `entry(argument)` on a new thread that is never joined. Throws
// std::system_error when no thread can be made; `entry` is then not called.
void StartDetachedThread(void (*entry)(void*), void* argument);

}  // namespace quillmor
