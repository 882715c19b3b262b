#include "platform/thread_io.h"

namespace quillmor {

// POSIX threads have no pending DeviceIoControl to cancel; simulated devices
// end their blocked requests through VolumeDevice::CancelIo.
void CancelThreadSynchronousIo(Thread&) {}

}  // namespace quillmor
