// Drive letters over the mounted volumes, worked out from the mount table
// and the facts of its devices at every call. A volume keeps the letter it
// was given for as long as it stays mounted; the volumes that are new take
// the first letters nobody holds.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "platform/Types.h"
#include "platform/linux/MountTable.h"
#include "platform/linux/VolumeSource.h"

namespace ravik::sys {

struct Drive {
  char letter = 0;  // 'C' to 'Z'
  UINT type = 0;    // DRIVE_REMOVABLE ... DRIVE_RAMDISK
  MountEntry mount;
};

// C: is the root file system. From D: on, the volumes a person would store
// on, removable ones first, then CD-ROMs, fixed, undetermined and RAM
// disks, each kind by mount point; network volumes come last so that they
// never take a letter from a local one. Letters end at Z:. A volume seen by
// an earlier call on the same source keeps its letter, and the letter of a
// volume that went away is free again; the list is in letter order.
std::vector<Drive> ListDrives(const VolumeSource& volumes);

// The drive of a letter (either case); nullopt when it has none.
std::optional<Drive> FindDrive(char letter, const VolumeSource& volumes);

// The drive of a root of two characters, a letter and a colon.
std::optional<Drive> FindDriveOfRoot(const char* root, const VolumeSource& volumes);

}  // namespace ravik::sys
