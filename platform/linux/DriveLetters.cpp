#include "platform/linux/DriveLetters.h"

#include <algorithm>
#include <array>
#include <map>
#include <set>
#include <string_view>
#include <utility>

#include "platform/Drives.h"

namespace ravik::sys {
namespace {

using namespace std::string_view_literals;

template <std::size_t N>
bool IsOneOf(std::string_view value, const std::array<std::string_view, N>& set) {
  return std::find(set.begin(), set.end(), value) != set.end();
}

// Kernel and service file systems: nothing a person stores on.
constexpr std::array kPseudoFileSystems{
    "proc"sv,      "sysfs"sv,       "devtmpfs"sv,    "devpts"sv,          "cgroup"sv,
    "cgroup2"sv,   "securityfs"sv,  "debugfs"sv,     "tracefs"sv,         "pstore"sv,
    "bpf"sv,       "configfs"sv,    "fusectl"sv,     "mqueue"sv,          "hugetlbfs"sv,
    "autofs"sv,    "binfmt_misc"sv, "efivarfs"sv,    "rpc_pipefs"sv,      "nsfs"sv,
    "selinuxfs"sv, "nfsd"sv,        "fuse.portal"sv, "fuse.gvfsd-fuse"sv, "fuse.lxcfs"sv,
};

// Images that are only ever read: snaps, system images.
constexpr std::array kReadOnlyImages{"squashfs"sv, "erofs"sv, "cramfs"sv};

constexpr std::array kNetworkFileSystems{
    "nfs"sv,           "nfs4"sv,        "cifs"sv,      "smb3"sv,           "smbfs"sv,
    "ncpfs"sv,         "9p"sv,          "afs"sv,       "ceph"sv,           "coda"sv,
    "glusterfs"sv,     "lustre"sv,      "virtiofs"sv,  "vboxsf"sv,         "davfs"sv,
    "fuse.sshfs"sv,    "fuse.rclone"sv, "fuse.s3fs"sv, "fuse.glusterfs"sv, "fuse.curlftpfs"sv,
    "fuse.smbnetfs"sv, "fuse.davfs2"sv, "fuse.ceph"sv,
};

constexpr std::array kCdFileSystems{"iso9660"sv, "udf"sv};
constexpr std::array kRamFileSystems{"tmpfs"sv, "ramfs"sv, "rootfs"sv};

// Places of the system's own mounts. /run/media is where desktops mount
// sticks, so it is taken out of /run below.
constexpr std::array kSystemFolders{"/proc"sv, "/sys"sv, "/dev"sv, "/run"sv, "/boot"sv, "/efi"sv};
constexpr std::array kMediaFolders{"/media"sv, "/run/media"sv, "/mnt"sv};

template <std::size_t N>
bool IsWithinAny(std::string_view path, const std::array<std::string_view, N>& folders) {
  return std::any_of(folders.begin(), folders.end(),
                     [&](std::string_view folder) { return IsPathWithin(path, folder); });
}

UINT TypeOf(const MountEntry& mount, const std::optional<BlockDeviceInfo>& device) {
  if (IsOneOf(mount.fsType, kNetworkFileSystems)) return DRIVE_REMOTE;
  if (IsOneOf(mount.fsType, kCdFileSystems)) return DRIVE_CDROM;
  if (IsOneOf(mount.fsType, kRamFileSystems)) return DRIVE_RAMDISK;
  if (!device) return DRIVE_FIXED;  // a local file system of no device, like an overlay root
  const std::string_view disk = device->disk;
  if (disk.empty()) return DRIVE_UNKNOWN;
  if (disk.starts_with("sr")) return DRIVE_CDROM;
  if (disk.starts_with("zram") || disk.starts_with("ram")) return DRIVE_RAMDISK;
  if (device->removable) return DRIVE_REMOVABLE;
  return DRIVE_FIXED;
}

// Order of the kinds among the letters from D: on.
int RankOf(UINT type) {
  switch (type) {
    case DRIVE_REMOVABLE:
      return 0;
    case DRIVE_CDROM:
      return 1;
    case DRIVE_FIXED:
      return 2;
    case DRIVE_UNKNOWN:
      return 3;
    case DRIVE_RAMDISK:
      return 4;
    default:
      return 5;  // remote
  }
}

// Whether a mount may get a letter at all, by what the table alone says.
bool MayGetLetter(const MountEntry& mount) {
  if (IsWithinAny(mount.mountPoint, kSystemFolders) &&
      !IsPathWithin(mount.mountPoint, "/run/media")) {
    return false;
  }
  if (IsOneOf(mount.fsType, kPseudoFileSystems) || IsOneOf(mount.fsType, kReadOnlyImages)) {
    return false;
  }
  return mount.root == "/";  // a bind mount of a folder shows a part of a volume lettered elsewhere
}

std::pair<unsigned, unsigned> DeviceKey(const MountEntry& mount) {
  return {mount.major, mount.minor};
}

// What tells one volume from another between two calls: where it is
// mounted and what is mounted there.
std::string VolumeKey(const MountEntry& mount) {
  return mount.mountPoint + '\n' + mount.source + '\n' + mount.root;
}

}  // namespace

std::vector<Drive> ListDrives(const VolumeSource& volumes) {
  const std::vector<MountEntry> mounts = VisibleMounts(ParseMountInfo(volumes.MountInfo()));
  std::vector<Drive> drives;
  std::set<std::pair<unsigned, unsigned>> lettered;

  const auto root = std::find_if(mounts.rbegin(), mounts.rend(),
                                 [](const MountEntry& m) { return m.mountPoint == "/"; });
  if (root != mounts.rend()) {
    drives.push_back(Drive{'C', TypeOf(*root, volumes.BlockDevice(*root)), *root});
    lettered.insert(DeviceKey(*root));
  }

  std::vector<Drive> others;
  for (const MountEntry& mount : mounts) {
    if (mount.mountPoint == "/" || !MayGetLetter(mount)) continue;
    const std::optional<BlockDeviceInfo> device = volumes.BlockDevice(mount);
    const UINT type = TypeOf(mount, device);
    // Network volumes anywhere, anything in the media folders, and real
    // block devices wherever they are mounted.
    if (type == DRIVE_REMOTE || IsWithinAny(mount.mountPoint, kMediaFolders) || device) {
      others.push_back(Drive{0, type, mount});
    }
  }
  std::stable_sort(others.begin(), others.end(), [](const Drive& a, const Drive& b) {
    const int rankA = RankOf(a.type), rankB = RankOf(b.type);
    return rankA != rankB ? rankA < rankB : a.mount.mountPoint < b.mount.mountPoint;
  });

  // A volume mounted twice keeps the letter of its first place.
  std::erase_if(
      others, [&](const Drive& drive) { return !lettered.insert(DeviceKey(drive.mount)).second; });

  // Volumes lettered before keep their letters; then the new ones, in the
  // order above, take the first free letters.
  std::map<std::string, char>& given = volumes.GivenLetters();
  std::array<bool, 26> held{};  // by letter, A: first
  const auto taken = [&](char letter) -> bool& {
    return held[static_cast<std::size_t>(letter - 'A')];
  };
  taken('C') = true;
  for (Drive& drive : others) {
    const auto it = given.find(VolumeKey(drive.mount));
    if (it != given.end() && it->second >= 'D' && it->second <= 'Z' && !taken(it->second)) {
      drive.letter = it->second;
      taken(drive.letter) = true;
    }
  }
  char next = 'D';
  for (Drive& drive : others) {
    if (drive.letter != 0) continue;
    while (next <= 'Z' && taken(next)) ++next;
    if (next > 'Z') break;
    drive.letter = next;
    taken(next) = true;
  }
  std::erase_if(others, [](const Drive& drive) { return drive.letter == 0; });
  std::sort(others.begin(), others.end(),
            [](const Drive& a, const Drive& b) { return a.letter < b.letter; });

  given.clear();  // the letters of volumes that went away are free again
  for (Drive& drive : others) {
    given[VolumeKey(drive.mount)] = drive.letter;
    drives.push_back(std::move(drive));
  }
  return drives;
}

std::optional<Drive> FindDrive(char letter, const VolumeSource& volumes) {
  if (letter >= 'a' && letter <= 'z') letter = static_cast<char>(letter - 'a' + 'A');
  if (letter < 'A' || letter > 'Z') return std::nullopt;
  for (Drive& drive : ListDrives(volumes)) {
    if (drive.letter == letter) return std::move(drive);
  }
  return std::nullopt;
}

std::optional<Drive> FindDriveOfRoot(const char* root, const VolumeSource& volumes) {
  if (root == nullptr || root[0] == '\0' || root[1] != ':' || root[2] != '\0') return std::nullopt;
  return FindDrive(root[0], volumes);
}

}  // namespace ravik::sys
