#include "index/drive_poller.h"

#include <atomic>

#include "platform/shutdown.h"
#include "platform/thread.h"
#include "platform/win32_constants.h"

namespace quillmor {
namespace {

std::atomic<bool> g_pollerRunning{false};

// The letters whose root answers GetFileAttributesW. A letter that exists but
// whose root is unreadable (a card reader or an optical drive without media)
// does not count.
uint32_t UsableDriveMask(FileSystem& files) {
  uint32_t mask = 0;
  std::u16string root = u"A:\\";
  for (int i = 0; i < 26; ++i) {
    root[0] = static_cast<char16_t>(u'A' + i);
    if (files.GetFileAttributes(root) != win32::kInvalidFileAttributes) mask |= 1u << i;
  }
  return mask;
}

void RunPoller(Env& env, WindowHandle window) {
  // The first comparison is with GetLogicalDrives, so a letter present but
  // unusable at start counts as gone after the first scan.
  uint32_t previous = env.files->LogicalDrives();
  while (!ShuttingDown()) {
    env.clock->Sleep(2000);
    if (ShuttingDown()) break;
    const uint32_t current = UsableDriveMask(*env.files);
    if (current != previous) {
      if ((current & ~previous) != 0) PostIfWindow(*env.windows, window, WMU_INDEX_READY, 1, 0);
      if ((previous & ~current) != 0) PostIfWindow(*env.windows, window, WMU_VOLUME_LOST, 0, 0);
      previous = current;
    }
  }
  g_pollerRunning = false;
}

}  // namespace

void StartDrivePoller(Env& env, WindowHandle window) {
  if (g_pollerRunning.exchange(true)) return;
  try {
    StartDetachedThread(MakeThreadBody([&env, window] { RunPoller(env, window); }));
  } catch (...) {
    g_pollerRunning = false;
    throw;
  }
}

bool DrivePollerRunning() { return g_pollerRunning.load(); }

}  // namespace quillmor
