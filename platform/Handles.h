// Handles.h: move-only owners for kernel handles and registry keys.
//
//   UniqueHandle  closes with CloseHandle; null and INVALID_HANDLE_VALUE are both empty.
//   UniqueKey     closes with RegCloseKey; predefined root keys are never owned.
#pragma once

#include <windows.h>

template <typename Traits>
class UniqueResource {
 public:
  using Handle = typename Traits::Handle;

  UniqueResource() noexcept = default;
  explicit UniqueResource(Handle handle) noexcept : handle_(handle) {}
  UniqueResource(UniqueResource&& other) noexcept : handle_(other.release()) {}
  UniqueResource& operator=(UniqueResource&& other) noexcept {
    reset(other.release());
    return *this;
  }
  UniqueResource(const UniqueResource&) = delete;
  UniqueResource& operator=(const UniqueResource&) = delete;
  ~UniqueResource() { reset(); }

  Handle get() const noexcept { return handle_; }
  explicit operator bool() const noexcept { return Traits::IsValid(handle_); }

  Handle release() noexcept {
    Handle handle = handle_;
    handle_ = nullptr;
    return handle;
  }

  void reset(Handle handle = nullptr) noexcept {
    if (Traits::IsValid(handle_)) Traits::Close(handle_);
    handle_ = handle;
  }

 private:
  Handle handle_ = nullptr;
};

struct KernelHandleTraits {
  using Handle = HANDLE;
  static bool IsValid(HANDLE h) noexcept { return h != nullptr && h != INVALID_HANDLE_VALUE; }
  static void Close(HANDLE h) noexcept { CloseHandle(h); }
};

struct RegKeyTraits {
  using Handle = HKEY;
  static bool IsValid(HKEY h) noexcept { return h != nullptr; }
  static void Close(HKEY h) noexcept { RegCloseKey(h); }
};

using UniqueHandle = UniqueResource<KernelHandleTraits>;
using UniqueKey = UniqueResource<RegKeyTraits>;
