#include <thread>

#include "platform/detached_thread.h"

namespace quillmor {

void StartDetachedThread(void (*entry)(void*), void* argument) { std::thread(entry, argument).detach(); }

}  // namespace quillmor
