// Windows paths onto this machine's file tree, by the drive letters.
#pragma once

#include <string>
#include <string_view>

#include "platform/linux/VolumeSource.h"

namespace ravik::sys {

struct MappedPath {
  std::string path;  // the POSIX path; empty when error is set
  int error = 0;     // errno: ENOENT no such drive, EINVAL malformed, ENAMETOOLONG too long
};

// "E:\dir\file" is <mount point of E:>/dir/file; "E:file" is the same as
// "E:\file"; "\file" lies in the root of the volume that holds the working
// directory; "file" in the working directory. '/' separates like '\'.
// "." and ".." are resolved by name and never climb above the drive's
// root. A drive part that is not a single letter and a colon, a letter
// with no volume, a UNC path, a character Windows forbids in a name
// (<>:"|?* and controls) or a full Windows path of 260 characters or more
// fails.
MappedPath MapWindowsPath(std::string_view windowsPath, const VolumeSource& volumes);

}  // namespace ravik::sys
