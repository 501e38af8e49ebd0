// The layer's drive services over Windows' drive letters.
#include "platform/Drives.h"

#include "platform/CodePage.h"
#include "platform/win32/DriveOverride.h"
#include "platform/win32/DriveQueries.h"

namespace {

bool IsRoot(const char* root) {
  if (!root) return false;
  const char letter = static_cast<char>(root[0] & ~0x20);
  return letter >= 'A' && letter <= 'Z' && root[1] == ':' && root[2] == '\0';
}

}  // namespace

UINT GetDriveTypeA(const char* root) {
  if (!IsRoot(root)) return DRIVE_NO_ROOT_DIR;
  if (const auto* drives = platform::win32::CurrentDriveOverride()) return drives->DriveType(root);
  return platform::win32::SystemDriveType(root);
}

std::string QueryVolumeLabel(const char* root) {
  if (!IsRoot(root)) return {};
  if (const auto* drives = platform::win32::CurrentDriveOverride())
    return drives->VolumeLabel(root);
  std::string ansi;
  if (!platform::win32::SystemVolumeLabel(root, &ansi)) return {};
  // The ANSI code page of this machine need not be the program's.
  std::string label = ToCodePage(platform::win32::AnsiToUtf8(ansi));
  if (label.size() > 255) label.resize(255);
  return label;
}

std::string QueryMountPoint(const char* root) {
  if (!IsRoot(root)) return {};
  if (const auto* drives = platform::win32::CurrentDriveOverride()) return drives->MountPoint(root);
  return std::string(root) + "\\";
}
