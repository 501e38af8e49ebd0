// Windows' own drive queries, for the layer's drive services (Drives.cpp
// declares functions of the same names as Windows' and so cannot call them).
#pragma once

#include <string>

#include "platform/Types.h"

namespace platform::win32 {

UINT SystemDriveType(const char* root);
// The label in the ANSI code page; false when the query fails.
bool SystemVolumeLabel(const char* root, std::string* ansiLabel);
// ANSI bytes as UTF-8.
std::string AnsiToUtf8(const std::string& ansi);

}  // namespace platform::win32
