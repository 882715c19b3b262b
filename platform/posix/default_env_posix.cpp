#include "platform/env.h"
#include "platform/message_queue_poster.h"
#include "platform/posix/posix_clock.h"
#include "platform/posix/posix_file_system.h"
#include "platform/posix/posix_system_info.h"
#include "platform/posix/posix_text_codec.h"
#include "platform/win32_constants.h"

namespace quillmor {
namespace {

// There are no volume devices to open outside Windows.
class NoVolumeDevices : public VolumeDevices {
 public:
  std::unique_ptr<VolumeDevice> Open(std::u16string_view, uint32_t, uint32_t& error) override {
    error = win32::kErrorFileNotFound;
    return nullptr;
  }
};

}  // namespace

Env& DefaultEnv() {
  // Never destroyed: detached background threads may use them until the
  // process ends.
  static PosixFileSystem* files = new PosixFileSystem;
  static NoVolumeDevices* volumes = new NoVolumeDevices;
  static PosixClock* clock = new PosixClock;
  static PosixTextCodec* text = new PosixTextCodec;
  static MessageQueuePoster* windows = new MessageQueuePoster;
  static PosixSystemInfo* system = new PosixSystemInfo;
  static Env env{files, volumes, clock, text, windows, system};
  return env;
}

}  // namespace quillmor
