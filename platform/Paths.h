// Paths.h: file-name helpers on 8-bit texts in the system's code page.
//
//   LastDelimiter    index of the last of a set of single-byte delimiters, skipping
//                    the trail bytes of double-byte characters
//   ExtractFilePath  the part of a path up to and including its last '\' or ':'
#pragma once

#include <string>

// std::string::npos when none of `delimiters` occurs.
std::string::size_type LastDelimiter(const char* delimiters, const std::string& text);

std::string ExtractFilePath(const std::string& fileName);
