// Cancelling the synchronous I/O a thread is blocked in.
#pragma once

#include "platform/thread.h"

namespace quillmor {

// CancelSynchronousIo on the thread's handle: a DeviceIoControl the thread is
// blocked in ends with 995. Does nothing where threads have no such I/O.
void CancelThreadSynchronousIo(Thread& thread);

}  // namespace quillmor
