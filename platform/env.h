// The operating-system services the portable layers use, bundled. Production
// code gets DefaultEnv(); tests copy it and replace the members they fake.
#pragma once

#include "platform/clock.h"
#include "platform/file_system.h"
#include "platform/system_info.h"
#include "platform/text_codec.h"
#include "platform/volume_device.h"
#include "platform/window_messages.h"

namespace quillmor {

struct Env {
  FileSystem* files = nullptr;
  VolumeDevices* volumes = nullptr;
  Clock* clock = nullptr;
  TextCodec* text = nullptr;
  WindowPoster* windows = nullptr;
  SystemInfo* system = nullptr;
};

// The real services of the platform the program was built for. Lives for the
// whole process.
Env& DefaultEnv();

}  // namespace quillmor
