// Volume devices opened with CreateFileW and driven with DeviceIoControl.
#pragma once

#include "platform/volume_device.h"

namespace quillmor {

class Win32VolumeDevices : public VolumeDevices {
 public:
  std::unique_ptr<VolumeDevice> Open(std::u16string_view devicePath, uint32_t access, uint32_t& error) override;
};

}  // namespace quillmor
