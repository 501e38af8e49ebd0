// The layer's strings are UTF-8; Windows' wide functions take UTF-16.
// Conversions happen where a string crosses into or out of Windows.
#pragma once

#include <string>
#include <string_view>

namespace platform::win32 {

// Malformed UTF-8 becomes U+FFFD, as Windows' own conversion does.
std::wstring Widen(std::string_view utf8);
std::string Narrow(std::wstring_view utf16);

}  // namespace platform::win32
