#include "Ureg.h"

#include "Registry.h"

std::string ReadRegString(HKEY root, const std::string& key, const std::string& name) {
  std::string result;
  try {
    TRegistry registry;
    registry.SetRootKey(root);
    if (registry.OpenKey(key, false)) {
      result = registry.ReadString(name);
      registry.CloseKey();
    }
  } catch (...) {
    // Best effort: an unreadable value counts as absent.
    result.clear();
  }
  return result;
}

void WriteRegString(HKEY root, const std::string& key, const std::string& name,
                    const std::string& value) {
  try {
    TRegistry registry;
    registry.SetRootKey(root);
    if (registry.OpenKey(key, false)) return;  // the key exists: leave it alone
    registry.CreateKey(key);
    if (registry.OpenKey(key, false)) {
      registry.WriteString(name, value);
      registry.CloseKey();
    }
  } catch (...) {
    // Best effort: a key that cannot be created or a failed write is not reported.
  }
}
