// The mount table of /proc/self/mountinfo, parsed.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace ravik::sys {

// One line of mountinfo, with its escapes (\040 for a space ...) decoded.
struct MountEntry {
  int id = 0;
  int parentId = 0;
  unsigned major = 0;  // the file system's device number; 0 for one without a block device
  unsigned minor = 0;
  std::string root;        // the folder of the file system that is mounted here; "/" for all of it
  std::string mountPoint;  // where it is mounted
  std::string fsType;      // "vfat", "ext4", "fuse.sshfs" ...
  std::string source;      // "/dev/sdb1", "server:/export", "tmpfs" ...
};

// The entries in the order of the text; a line that is not well-formed is
// left out.
std::vector<MountEntry> ParseMountInfo(std::string_view text);

// The entries that can be reached: not covered by a later mount on the
// same mount point or on one of its parents. Keeps the order.
std::vector<MountEntry> VisibleMounts(const std::vector<MountEntry>& entries);

// Replaces the kernel's octal escapes (\ooo) by their bytes.
std::string DecodeMountField(std::string_view field);

// Whether path is folder or lies inside it, compared by whole components.
bool IsPathWithin(std::string_view path, std::string_view folder);

}  // namespace ravik::sys
