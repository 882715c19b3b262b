// Small move-only owners of Win32 handles. Each closes what it holds when it
// is destroyed, reset, or moved over.
#pragma once

#include <windows.h>

#include <utility>

namespace quillmor::win32 {

template <typename Traits>
class ScopedResource {
 public:
  using Value = typename Traits::Value;

  ScopedResource() = default;
  explicit ScopedResource(Value value) : value_(value) {}
  ScopedResource(ScopedResource&& other) noexcept : value_(other.Release()) {}
  ScopedResource& operator=(ScopedResource&& other) noexcept {
    if (this != &other) Reset(other.Release());
    return *this;
  }
  ScopedResource(const ScopedResource&) = delete;
  ScopedResource& operator=(const ScopedResource&) = delete;
  ~ScopedResource() { Reset(); }

  bool valid() const { return Traits::IsValid(value_); }
  Value get() const { return value_; }

  // Gives up ownership without closing.
  Value Release() { return std::exchange(value_, Traits::Invalid()); }
  // Closes what is held and takes `value` instead.
  void Reset(Value value = Traits::Invalid()) {
    const Value old = std::exchange(value_, value);
    if (Traits::IsValid(old)) Traits::Close(old);
  }

 private:
  Value value_ = Traits::Invalid();
};

// Kernel handles. Some creators fail with INVALID_HANDLE_VALUE (CreateFileW,
// CreateToolhelp32Snapshot), others with NULL (OpenProcess,
// CreateFileMappingW); neither is closed.
struct KernelHandleTraits {
  using Value = HANDLE;
  static Value Invalid() { return INVALID_HANDLE_VALUE; }
  static bool IsValid(Value h) { return h != nullptr && h != INVALID_HANDLE_VALUE; }
  static void Close(Value h) { ::CloseHandle(h); }
};

// FindFirstFileExW's search handle, closed by FindClose.
struct FindHandleTraits {
  using Value = HANDLE;
  static Value Invalid() { return INVALID_HANDLE_VALUE; }
  static bool IsValid(Value h) { return h != nullptr && h != INVALID_HANDLE_VALUE; }
  static void Close(Value h) { ::FindClose(h); }
};

// A view from MapViewOfFile.
struct MappedViewTraits {
  using Value = const void*;
  static Value Invalid() { return nullptr; }
  static bool IsValid(Value v) { return v != nullptr; }
  static void Close(Value v) { ::UnmapViewOfFile(v); }
};

using ScopedHandle = ScopedResource<KernelHandleTraits>;
using ScopedFindHandle = ScopedResource<FindHandleTraits>;
using ScopedMappedView = ScopedResource<MappedViewTraits>;

}  // namespace quillmor::win32
