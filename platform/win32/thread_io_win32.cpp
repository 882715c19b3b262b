#include <windows.h>

#include <pthread.h>

#include "platform/thread_io.h"

namespace quillmor {

// A std::thread of the posix thread model is a winpthreads thread; its Win32
// handle is not the native_handle() but what pthread_gethandle returns.
void CancelThreadSynchronousIo(std::thread& thread) {
  if (!thread.joinable()) return;
  HANDLE handle = pthread_gethandle(thread.native_handle());
  if (handle != nullptr) CancelSynchronousIo(handle);
}

}  // namespace quillmor
