// Owners for COM: an interface pointer released once, and the apartment a
// shell call needs for the length of a scope.
#pragma once

#include <objbase.h>
#include <ole2.h>

#include <utility>

namespace quillmor {

template <typename T>
class ComPtr {
 public:
  ComPtr() = default;
  explicit ComPtr(T* pointer) : pointer_(pointer) {}
  ComPtr(ComPtr&& other) noexcept : pointer_(std::exchange(other.pointer_, nullptr)) {}
  ComPtr& operator=(ComPtr&& other) noexcept {
    if (this != &other) Reset(std::exchange(other.pointer_, nullptr));
    return *this;
  }
  ComPtr(const ComPtr&) = delete;
  ComPtr& operator=(const ComPtr&) = delete;
  ~ComPtr() { Reset(); }

  T* get() const { return pointer_; }
  T* operator->() const { return pointer_; }
  explicit operator bool() const { return pointer_ != nullptr; }

  // For creators that fill a T** or void**: what was held is released first.
  T** Put() {
    Reset();
    return &pointer_;
  }
  void** PutVoid() { return reinterpret_cast<void**>(Put()); }

  void Reset(T* pointer = nullptr) {
    T* old = std::exchange(pointer_, pointer);
    if (old != nullptr) old->Release();
  }

 private:
  T* pointer_ = nullptr;
};

// CoInitializeEx (apartment-threaded, OLE1 DDE off) for the scope; undone
// only when it succeeded (S_FALSE counts: the thread was initialised before).
class ComApartmentScope {
 public:
  ComApartmentScope() : result_(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED | COINIT_DISABLE_OLE1DDE)) {}
  ~ComApartmentScope() {
    if (SUCCEEDED(result_)) CoUninitialize();
  }
  ComApartmentScope(const ComApartmentScope&) = delete;
  ComApartmentScope& operator=(const ComApartmentScope&) = delete;

 private:
  HRESULT result_;
};

// OLE for the scope, for shell handlers that put data on the clipboard (the
// "copy" and "cut" verbs use the OLE clipboard, which needs it). At the end
// what they put there is rendered for good, so that it outlives OLE.
class OleSessionScope {
 public:
  OleSessionScope() : initialised_(SUCCEEDED(OleInitialize(nullptr))) {}
  ~OleSessionScope() {
    if (!initialised_) return;
    OleFlushClipboard();
    OleUninitialize();
  }
  OleSessionScope(const OleSessionScope&) = delete;
  OleSessionScope& operator=(const OleSessionScope&) = delete;

 private:
  bool initialised_;
};

}  // namespace quillmor
