// Raw access to a volume device ("\\.\C:") for the change-journal controls.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <span>
#include <string_view>

namespace quillmor {

// One open volume handle. Thread-safe: the monitor thread may be blocked in
// IoControl while another thread calls CancelIo or Close's owner waits.
class VolumeDevice {
 public:
  virtual ~VolumeDevice() = default;

  // DeviceIoControl without OVERLAPPED: sends `input`, fills `output` and sets
  // `bytesReturned`. Returns 0 on success, else the GetLastError code Windows
  // gives for the same call (for example 38 at the end of an enumeration, 995
  // when the request was cancelled, 1167 when the device went away). May block.
  virtual uint32_t IoControl(uint32_t controlCode, std::span<const std::byte> input, std::span<std::byte> output,
                             uint32_t& bytesReturned) = 0;

  // CancelIoEx(handle, NULL): every request pending on this handle, from any
  // thread, ends with 995. Requests issued later are not affected.
  virtual void CancelIo() = 0;

  // CloseHandle. A request still pending on another thread is cancelled (it
  // ends with 995) and Close waits for it to return before the handle is
  // closed, so no call ever reaches a closed handle value. Returns 0, or the
  // error code when closing failed. After Close every call answers 6
  // (ERROR_INVALID_HANDLE); destroying an open device closes it.
  virtual uint32_t Close() = 0;
};

// Opens volume devices (CreateFileW on "\\.\" + drive, shared for read, write
// and delete, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS).
class VolumeDevices {
 public:
  virtual ~VolumeDevices() = default;

  // `access` is kGenericRead, optionally with kGenericWrite. Returns nullptr
  // and sets `error` when the device cannot be opened with that access.
  virtual std::unique_ptr<VolumeDevice> Open(std::u16string_view devicePath, uint32_t access, uint32_t& error) = 0;
};

}  // namespace quillmor
