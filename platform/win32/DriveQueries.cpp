#include "platform/win32/DriveQueries.h"

#include <array>

#include "platform/win32/Utf16.h"
#include "platform/win32/Win32.h"

namespace platform::win32 {

UINT SystemDriveType(const char* root) {
  return GetDriveTypeA(root);
}

bool SystemVolumeLabel(const char* root, std::string* ansiLabel) {
  // The call wants the root with its backslash ("E:\"); the callers give
  // a letter and a colon.
  const std::string withBackslash = std::string(root) + "\\";
  std::array<char, 256> label{};
  if (!GetVolumeInformationA(withBackslash.c_str(), label.data(),
                             static_cast<WinDword>(label.size()), nullptr, nullptr, nullptr,
                             nullptr, 0)) {
    return false;
  }
  *ansiLabel = label.data();
  return true;
}

std::string AnsiToUtf8(const std::string& ansi) {
  if (ansi.empty()) return {};
  const int size = static_cast<int>(ansi.size());
  const int length = MultiByteToWideChar(CP_ACP, 0, ansi.data(), size, nullptr, 0);
  std::wstring wide(static_cast<size_t>(length), L'\0');
  MultiByteToWideChar(CP_ACP, 0, ansi.data(), size, wide.data(), length);
  return Narrow(wide);
}

}  // namespace platform::win32
