// The fake volumes of the dialog tests (platform/linux/FakeVolumes.h) on
// Windows: while a ScopedVolumeSource lives, the Win32 drive and file
// services see the drive letters the Linux rules give those volumes, and
// a drive's files lie in the folder its volume names. A Windows folder is
// written for those rules as "/C:/dir/sub"; paths come back in Windows
// form. Test builds only.
#include <cerrno>
#include <string>
#include <utility>

#include "platform/CodePage.h"
#include "platform/Drives.h"
#include "platform/linux/DriveLetters.h"
#include "platform/linux/PathMapping.h"
#include "platform/linux/VolumeSource.h"
#include "platform/win32/DriveOverride.h"

namespace ravik::sys {

namespace {

const VolumeSource* g_current = nullptr;

// No volumes at all: outside a guard the machine's own drives are used,
// through Windows, not through a volume source.
class NoVolumes final : public VolumeSource {
 public:
  std::string MountInfo() const override { return {}; }
  std::optional<BlockDeviceInfo> BlockDevice(const MountEntry&) const override {
    return std::nullopt;
  }
  std::string Label(const MountEntry&) const override { return {}; }
  std::string WorkingDirectory() const override { return {}; }
};

// "/C:/dir/sub" back to "C:\dir\sub"; other paths keep their form.
std::string WindowsForm(std::string path) {
  if (path.size() >= 3 && path[0] == '/' && path[2] == ':') path.erase(0, 1);
  for (char& c : path) {
    if (c == '/') c = '\\';
  }
  return path;
}

unsigned long WindowsError(int error) {
  switch (error) {
    case ENOENT:
      return 3;  // ERROR_PATH_NOT_FOUND
    case ENAMETOOLONG:
      return 206;  // ERROR_FILENAME_EXCED_RANGE
    default:
      return 123;  // ERROR_INVALID_NAME
  }
}

class VolumeDrives final : public platform::win32::DriveOverride {
 public:
  UINT DriveType(const char* root) const override {
    const auto drive = FindDriveOfRoot(root, CurrentVolumeSource());
    return drive ? drive->type : DRIVE_NO_ROOT_DIR;
  }
  std::string VolumeLabel(const char* root) const override {
    const VolumeSource& volumes = CurrentVolumeSource();
    const auto drive = FindDriveOfRoot(root, volumes);
    if (!drive) return {};
    const std::string stored = volumes.Label(drive->mount);
    std::string label = IsValidUtf8(stored) ? ToCodePage(stored) : stored;
    if (label.size() > 255) label.resize(255);
    return label;
  }
  std::string MountPoint(const char* root) const override {
    const auto drive = FindDriveOfRoot(root, CurrentVolumeSource());
    return drive ? WindowsForm(drive->mount.mountPoint) : std::string();
  }
  bool MapPath(const std::string& windowsPath, std::string* mapped,
               unsigned long* error) const override {
    const MappedPath path = MapWindowsPath(windowsPath, CurrentVolumeSource());
    if (path.error != 0) {
      *error = WindowsError(path.error);
      return false;
    }
    *mapped = WindowsForm(path.path);
    return true;
  }
};

const VolumeDrives kVolumeDrives;

}  // namespace

const VolumeSource& SystemVolumeSource() {
  static const NoVolumes none;
  return none;
}

const VolumeSource& CurrentVolumeSource() {
  return g_current ? *g_current : SystemVolumeSource();
}

ScopedVolumeSource::ScopedVolumeSource(const VolumeSource& source)
    : m_previous(std::exchange(g_current, &source)) {
  platform::win32::SetDriveOverride(&kVolumeDrives);
}

ScopedVolumeSource::~ScopedVolumeSource() {
  g_current = m_previous;
  if (!g_current) platform::win32::SetDriveOverride(nullptr);
}

}  // namespace ravik::sys
