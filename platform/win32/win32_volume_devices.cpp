#include "platform/win32/windows_api.h"

#include "platform/win32/win32_volume_devices.h"

#include <atomic>
#include <chrono>
#include <mutex>
#include <shared_mutex>

#include "platform/win32/scoped_handle.h"
#include "platform/win32/wide_string.h"

namespace quillmor {
namespace {

// Requests share the handle; Close waits until none is inside
// DeviceIoControl, so the handle value is never used after CloseHandle (by
// then it may name another object).
class Win32VolumeDevice : public VolumeDevice {
 public:
  explicit Win32VolumeDevice(HANDLE handle) : handle_(handle) {}
  ~Win32VolumeDevice() override { Close(); }

  uint32_t IoControl(uint32_t controlCode, std::span<const std::byte> input, std::span<std::byte> output,
                     uint32_t& bytesReturned) override {
    bytesReturned = 0;
    std::shared_lock lock(requests_);
    if (closing_.load() || !handle_.valid()) return ERROR_INVALID_HANDLE;
    DWORD returned = 0;
    const BOOL ok = ::DeviceIoControl(handle_.get(), controlCode, const_cast<std::byte*>(input.data()),
                                      static_cast<DWORD>(input.size()), output.data(),
                                      static_cast<DWORD>(output.size()), &returned, nullptr);
    const DWORD error = ok ? ERROR_SUCCESS : ::GetLastError();
    bytesReturned = returned;
    return error;
  }

  void CancelIo() override {
    std::shared_lock lock(requests_);
    if (!closing_.load() && handle_.valid()) ::CancelIoEx(handle_.get(), nullptr);
  }

  uint32_t Close() override {
    std::lock_guard closeLock(closeMutex_);
    if (!handle_.valid()) return ERROR_INVALID_HANDLE;
    closing_.store(true);
    // New requests now fail at once; one already in the driver (a journal
    // read waiting for changes) is cancelled until it has left. Only Close
    // changes handle_, so it may read it without the request lock.
    std::unique_lock lock(requests_, std::defer_lock);
    while (!lock.try_lock_for(std::chrono::milliseconds(10))) ::CancelIoEx(handle_.get(), nullptr);
    const HANDLE handle = handle_.Release();
    return ::CloseHandle(handle) ? ERROR_SUCCESS : ::GetLastError();
  }

 private:
  std::mutex closeMutex_;
  std::shared_timed_mutex requests_;  // shared by requests, exclusive for Close
  std::atomic<bool> closing_{false};
  win32::ScopedHandle handle_;  // Written only by Close, under both locks.
};

}  // namespace

std::unique_ptr<VolumeDevice> Win32VolumeDevices::Open(std::u16string_view devicePath, uint32_t access,
                                                       uint32_t& error) {
  const HANDLE handle =
      ::CreateFileW(win32::Wide(devicePath).c_str(), access, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                    nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS | FILE_ATTRIBUTE_NORMAL, nullptr);
  if (handle == INVALID_HANDLE_VALUE) {
    error = ::GetLastError();
    return nullptr;
  }
  error = ERROR_SUCCESS;
  return std::make_unique<Win32VolumeDevice>(handle);
}

}  // namespace quillmor
