// Ureg.h: the program's two registry operations, each on an accessor of its own.
//
//   ReadRegString   one string value; every failure gives the empty text
//   WriteRegString  stores one REG_SZ value under a key that is still absent; an
//                   existing key is left as it is; failures end it quietly
#pragma once

#include <windows.h>

#include <string>

std::string ReadRegString(HKEY root, const std::string& key, const std::string& name);

void WriteRegString(HKEY root, const std::string& key, const std::string& name,
                    const std::string& value);
