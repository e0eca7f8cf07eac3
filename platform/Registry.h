// Registry.h: TRegistry, a registry accessor with one current key.
//
// A fresh accessor has HKEY_CURRENT_USER as root and no current key. Every open and
// create asks for KEY_ALL_ACCESS without a view flag, so a 32-bit program sees the
// 32-bit view. Closing a key does not force a flush. Failures of CreateKey,
// ReadString and WriteString raise ERegistryException; OpenKey reports by its result.
#pragma once

#include <windows.h>

#include <string>

#include "Handles.h"

class TRegistry {
 public:
  TRegistry() noexcept = default;
  TRegistry(const TRegistry&) = delete;
  TRegistry& operator=(const TRegistry&) = delete;
  ~TRegistry() = default;  // closes the current key

  HKEY RootKey() const noexcept { return root_; }
  void SetRootKey(HKEY root) noexcept;
  HKEY CurrentKey() const noexcept { return current_.get(); }

  // A leading '\' names the key from the root; otherwise it is taken relative to
  // the current key, or to the root when no key is open.
  bool OpenKey(const std::string& key, bool canCreate);
  void CreateKey(const std::string& key);
  void CloseKey() noexcept { current_.reset(); }

  // Values of type REG_SZ or REG_EXPAND_SZ (unexpanded), cut at the first zero byte;
  // a missing or zero-length value is the empty text.
  std::string ReadString(const std::string& name) const;
  // Stores REG_SZ with its terminating zero.
  void WriteString(const std::string& name, const std::string& value);

 private:
  static constexpr REGSAM kAccess = KEY_ALL_ACCESS;

  HKEY BaseKey(bool relative) const noexcept;

  HKEY root_ = HKEY_CURRENT_USER;
  UniqueKey current_;
};
