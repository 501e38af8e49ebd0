#include "platform/linux/PathMapping.h"

#include <algorithm>
#include <cerrno>
#include <vector>

#include "platform/CodePage.h"
#include "platform/linux/DriveLetters.h"

namespace ravik::sys {
namespace {

constexpr std::size_t kMaxPath = 260;  // a full path must be shorter

bool IsSeparator(char c) {
  return c == '\\' || c == '/';
}

bool IsAsciiLetter(char c) {
  return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
}

bool IsValidName(std::string_view name) {
  return std::none_of(name.begin(), name.end(), [](char c) {
    return static_cast<unsigned char>(c) < 0x20 ||
           std::string_view("<>:\"|?*").find(c) != std::string_view::npos;
  });
}

// Adds the names of path to names, resolving "." and ".." by name; ".."
// stops at the root. False when a name is not allowed.
bool AppendNames(std::string_view path, char separator, std::vector<std::string>* names) {
  std::size_t pos = 0;
  while (pos <= path.size()) {
    std::size_t end = pos;
    while (end < path.size() && path[end] != separator &&
           !(separator == '\\' && IsSeparator(path[end]))) {
      ++end;
    }
    const std::string_view name = path.substr(pos, end - pos);
    if (name == "..") {
      if (!names->empty()) names->pop_back();
    } else if (!name.empty() && name != ".") {
      if (separator == '\\' && !IsValidName(name)) return false;
      names->emplace_back(name);
    }
    pos = end + 1;
  }
  return true;
}

// The mount point of the volume that holds path: the longest one that
// contains it.
std::string VolumeRootOf(std::string_view path, const VolumeSource& volumes) {
  std::string best = "/";
  for (const MountEntry& mount : VisibleMounts(ParseMountInfo(volumes.MountInfo()))) {
    if (IsPathWithin(path, mount.mountPoint) && mount.mountPoint.size() > best.size()) {
      best = mount.mountPoint;
    }
  }
  return best;
}

}  // namespace

MappedPath MapWindowsPath(std::string_view windowsPath, const VolumeSource& volumes) {
  if (windowsPath.empty()) return {{}, ENOENT};
  std::string base;  // the POSIX folder that stands for the drive's root
  std::vector<std::string> names;
  std::string_view rest = windowsPath;

  if (windowsPath.size() >= 2 && windowsPath[1] == ':' && IsAsciiLetter(windowsPath[0])) {
    // "E:\x" and "E:x" alike: no drive but the current one keeps a folder
    // of its own here, so both start at the root.
    const std::optional<Drive> drive = FindDrive(windowsPath[0], volumes);
    if (!drive) return {{}, ENOENT};
    base = drive->mount.mountPoint;
    rest = windowsPath.substr(2);
  } else if (windowsPath.size() >= 2 && IsSeparator(windowsPath[0]) &&
             IsSeparator(windowsPath[1])) {
    return {{}, EINVAL};  // \\server\share and \\?\ device paths
  } else {
    const std::string cwd = volumes.WorkingDirectory();
    if (cwd.empty() || cwd.front() != '/') return {{}, ENOENT};
    base = VolumeRootOf(cwd, volumes);
    if (!IsSeparator(windowsPath[0])) {
      // Relative to the working directory: its folders below the volume's
      // root come first, and ".." may climb back up to that root.
      AppendNames(std::string_view(cwd).substr(base == "/" ? 0 : base.size()), '/', &names);
    }
  }
  if (!AppendNames(rest, '\\', &names)) return {{}, EINVAL};

  // The full Windows form, "X:\dir\name", measured in code page characters.
  std::size_t length = names.empty() ? 3 : 2;
  for (const std::string& name : names) length += 1 + ToCodePage(name).size();
  if (length >= kMaxPath) return {{}, ENAMETOOLONG};

  std::string path = base;
  for (const std::string& name : names) {
    if (path.empty() || path.back() != '/') path.push_back('/');
    path += name;
  }
  return {path, 0};
}

}  // namespace ravik::sys
