#include "Paths.h"

#include <windows.h>

#include <cstring>

std::string::size_type LastDelimiter(const char* delimiters, const std::string& text) {
  // Walk forward so that a trail byte equal to '\' (possible in double-byte code
  // pages) is never taken for a delimiter.
  std::string::size_type found = std::string::npos;
  for (std::string::size_type i = 0; i < text.size(); ++i) {
    const char c = text[i];
    if (IsDBCSLeadByte(static_cast<BYTE>(c)) && i + 1 < text.size()) {
      ++i;
    } else if (c != '\0' && std::strchr(delimiters, c) != nullptr) {
      found = i;
    }
  }
  return found;
}

std::string ExtractFilePath(const std::string& fileName) {
  const std::string::size_type last = LastDelimiter("\\:", fileName);
  return last == std::string::npos ? std::string() : fileName.substr(0, last + 1);
}
