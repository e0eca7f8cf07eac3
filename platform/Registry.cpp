#include "Registry.h"

#include <cstring>

#include "Exceptions.h"

namespace {

// Splits off a leading '\': such a path starts at the root.
bool IsRelative(const std::string& key, std::string& subKey) {
  const bool relative = key.empty() || key[0] != '\\';
  subKey = relative ? key : key.substr(1);
  return relative;
}

}  // namespace

void TRegistry::SetRootKey(HKEY root) noexcept {
  if (root != root_) {
    CloseKey();
    root_ = root;
  }
}

HKEY TRegistry::BaseKey(bool relative) const noexcept {
  return (current_ && relative) ? current_.get() : root_;
}

bool TRegistry::OpenKey(const std::string& key, bool canCreate) {
  std::string subKey;
  const bool relative = IsRelative(key, subKey);
  HKEY opened = nullptr;
  LONG status;
  if (canCreate) {
    status = RegCreateKeyExA(BaseKey(relative), subKey.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE,
                             kAccess, nullptr, &opened, nullptr);
  } else {
    status = RegOpenKeyExA(BaseKey(relative), subKey.c_str(), 0, kAccess, &opened);
  }
  if (status != ERROR_SUCCESS) return false;
  current_.reset(opened);
  return true;
}

void TRegistry::CreateKey(const std::string& key) {
  std::string subKey;
  const bool relative = IsRelative(key, subKey);
  HKEY created = nullptr;
  if (RegCreateKeyExA(BaseKey(relative), subKey.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE,
                      kAccess, nullptr, &created, nullptr) != ERROR_SUCCESS) {
    throw ERegistryException("Failed to create key " + key);
  }
  RegCloseKey(created);
}

std::string TRegistry::ReadString(const std::string& name) const {
  DWORD type = REG_NONE;
  DWORD size = 0;
  if (RegQueryValueExA(current_.get(), name.c_str(), nullptr, &type, nullptr, &size) !=
          ERROR_SUCCESS ||
      size == 0) {
    return std::string();
  }
  // std::string keeps a zero after its last byte, so data without a terminating
  // zero still ends within the buffer.
  std::string text(size, '\0');
  if (RegQueryValueExA(current_.get(), name.c_str(), nullptr, &type,
                       reinterpret_cast<BYTE*>(&text[0]), &size) != ERROR_SUCCESS) {
    throw ERegistryException("Failed to get data for '" + name + "'");
  }
  if (type != REG_SZ && type != REG_EXPAND_SZ) {
    throw ERegistryException("Invalid data type for '" + name + "'");
  }
  text.resize(std::strlen(text.c_str()));
  return text;
}

void TRegistry::WriteString(const std::string& name, const std::string& value) {
  if (RegSetValueExA(current_.get(), name.c_str(), 0, REG_SZ,
                     reinterpret_cast<const BYTE*>(value.c_str()),
                     static_cast<DWORD>(value.size()) + 1) != ERROR_SUCCESS) {
    throw ERegistryException("Failed to set data for '" + name + "'");
  }
}
