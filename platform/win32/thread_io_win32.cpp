#include <windows.h>

#include "platform/thread_io.h"

namespace quillmor {

void CancelThreadSynchronousIo(Thread& thread) {
  if (thread.NativeHandle() != nullptr) CancelSynchronousIo(static_cast<HANDLE>(thread.NativeHandle()));
}

}  // namespace quillmor
