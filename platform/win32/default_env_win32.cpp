#include "platform/env.h"
#include "platform/win32/win32_clock.h"
#include "platform/win32/win32_file_system.h"
#include "platform/win32/win32_system_info.h"
#include "platform/win32/win32_text_codec.h"
#include "platform/win32/win32_volume_devices.h"
#include "platform/win32/win32_window_poster.h"

namespace quillmor {

Env& DefaultEnv() {
  // Never destroyed: detached background threads may use them until the
  // process ends.
  static Win32FileSystem* files = new Win32FileSystem;
  static Win32VolumeDevices* volumes = new Win32VolumeDevices;
  static Win32Clock* clock = new Win32Clock;
  static Win32TextCodec* text = new Win32TextCodec;
  static Win32WindowPoster* windows = new Win32WindowPoster;
  static Win32SystemInfo* system = new Win32SystemInfo;
  static Env env{files, volumes, clock, text, windows, system};
  return env;
}

}  // namespace quillmor
