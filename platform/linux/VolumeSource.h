// Where the drive services learn about the mounted volumes. The product
// asks the running machine; tests install a fake one (FakeVolumes.h).
#pragma once

#include <map>
#include <optional>
#include <string>

#include "platform/linux/MountTable.h"

namespace ravik::sys {

// What the kernel knows of the block device that holds a volume.
struct BlockDeviceInfo {
  std::string disk;        // kernel name of the whole disk: "sdb", "sr0", "zram0"; "" if unknown
  bool removable = false;  // the disk's removable flag is set, or it sits on a USB or MMC bus
};

class VolumeSource {
 public:
  virtual ~VolumeSource() = default;
  // The text of /proc/self/mountinfo.
  virtual std::string MountInfo() const = 0;
  // The block device of the volume; nullopt when it has none (tmpfs,
  // overlay, a network file system).
  virtual std::optional<BlockDeviceInfo> BlockDevice(const MountEntry& mount) const = 0;
  // The file system's label as it stores it (normally UTF-8); "" when
  // there is none or it cannot be read.
  virtual std::string Label(const MountEntry& mount) const = 0;
  // The absolute working directory; "" when it cannot be told.
  virtual std::string WorkingDirectory() const = 0;

  // The letters the drive services gave this source's volumes when they
  // last looked, by volume (DriveLetters.cpp keeps it). A letter stays with
  // its volume while it is mounted, so a letter a person picked never moves
  // to another stick under them.
  std::map<std::string, char>& GivenLetters() const { return m_givenLetters; }

 private:
  mutable std::map<std::string, char> m_givenLetters;
};

// The running machine.
const VolumeSource& SystemVolumeSource();

// The source the drive and file services use now: the one a
// ScopedVolumeSource installed, else the running machine.
const VolumeSource& CurrentVolumeSource();

// Makes source the current one, process-wide, for the guard's lifetime.
// Guards nest; source must outlive the guard.
class ScopedVolumeSource {
 public:
  explicit ScopedVolumeSource(const VolumeSource& source);
  ~ScopedVolumeSource();
  ScopedVolumeSource(const ScopedVolumeSource&) = delete;
  ScopedVolumeSource& operator=(const ScopedVolumeSource&) = delete;

 private:
  const VolumeSource* m_previous;
};

}  // namespace ravik::sys
