#include "platform/Drives.h"

#include "platform/CodePage.h"
#include "platform/linux/DriveLetters.h"
#include "platform/linux/VolumeSource.h"

using ravik::sys::CurrentVolumeSource;
using ravik::sys::FindDriveOfRoot;

UINT GetDriveTypeA(const char* root) {
  const auto drive = FindDriveOfRoot(root, CurrentVolumeSource());
  return drive ? drive->type : DRIVE_NO_ROOT_DIR;
}

std::string QueryVolumeLabel(const char* root) {
  const ravik::sys::VolumeSource& volumes = CurrentVolumeSource();
  const auto drive = FindDriveOfRoot(root, volumes);
  if (!drive) return {};
  const std::string stored = volumes.Label(drive->mount);
  // A label that is not UTF-8 was written by a system that stores code
  // page bytes; those are taken as they are.
  std::string label = IsValidUtf8(stored) ? ToCodePage(stored) : stored;
  if (label.size() > 255) label.resize(255);  // what a 256-byte buffer holds
  return label;
}

std::string QueryMountPoint(const char* root) {
  const auto drive = FindDriveOfRoot(root, CurrentVolumeSource());
  return drive ? drive->mount.mountPoint : std::string();
}
