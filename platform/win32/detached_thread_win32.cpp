#include <process.h>
#include <windows.h>

#include <cerrno>
#include <system_error>

#include "platform/detached_thread.h"

namespace quillmor {
namespace {

struct ThreadStart {
  void (*entry)(void*);
  void* argument;
};

unsigned __stdcall RunThreadStart(void* start) {
  const ThreadStart run = *static_cast<ThreadStart*>(start);
  delete static_cast<ThreadStart*>(start);
  run.entry(run.argument);
  return 0;
}

}  // namespace

void StartDetachedThread(void (*entry)(void*), void* argument) {
  auto* start = new ThreadStart{entry, argument};
  const uintptr_t thread = _beginthreadex(nullptr, 0, RunThreadStart, start, 0, nullptr);
  if (thread == 0) {
    const int error = errno;
    delete start;
    throw std::system_error(error, std::generic_category(), "_beginthreadex");
  }
  CloseHandle(reinterpret_cast<HANDLE>(thread));
}

}  // namespace quillmor
