// A made-up set of mounted volumes for tests: install one with
// ScopedVolumeSource, and the drive letters, labels and the paths that
// CFile opens all follow it. A volume's mount point may be a real folder,
// so that "E:\Config1.ini" is a file a test can look at.
#pragma once

#include <initializer_list>
#include <map>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "platform/linux/VolumeSource.h"

namespace ravik::sys {

struct FakeVolume {
  // Every member has an initializer, so designated initializers may leave
  // any of them out.
  std::string mountPoint = {};
  std::string fsType = "ext4";
  std::string source = {};  // "/dev/sdb1": a block device; the same source twice is one device
  bool removable = false;
  std::string label = {};
  std::string root = "/";  // the folder of the file system mounted here
};

// Escapes a field as the kernel does in mountinfo.
inline std::string EscapeMountField(const std::string& field) {
  std::string out;
  for (const char c : field) {
    if (c == ' ' || c == '\t' || c == '\n' || c == '\\') {
      const auto value = static_cast<unsigned char>(c);
      out += '\\';
      out += static_cast<char>('0' + (value >> 6));
      out += static_cast<char>('0' + ((value >> 3) & 7));
      out += static_cast<char>('0' + (value & 7));
    } else {
      out += c;
    }
  }
  return out;
}

// The device number a fake source gets: block devices 8:n by their source,
// the others an anonymous 0:n each.
inline std::pair<unsigned, unsigned> FakeDeviceNumber(const std::vector<FakeVolume>& volumes,
                                                      std::size_t index) {
  const std::string& source = volumes[index].source;
  if (!source.starts_with("/dev/")) return {0, 100 + static_cast<unsigned>(index)};
  for (std::size_t i = 0; i <= index; ++i) {
    if (volumes[i].source == source) return {8, static_cast<unsigned>(i)};
  }
  return {8, 0};
}

// The mountinfo text of the volumes, in their order; list "/" first.
inline std::string BuildMountInfo(const std::vector<FakeVolume>& volumes) {
  std::string text;
  for (std::size_t i = 0; i < volumes.size(); ++i) {
    const FakeVolume& v = volumes[i];
    const auto [major, minor] = FakeDeviceNumber(volumes, i);
    const std::size_t id = 20 + i;
    // The parent is the latest mount before it that holds its mount point.
    std::size_t parent = 1;
    for (std::size_t j = i; j-- > 0;) {
      if (IsPathWithin(v.mountPoint, volumes[j].mountPoint)) {
        parent = 20 + j;
        break;
      }
    }
    text += std::to_string(id) + " " + std::to_string(parent) + " " + std::to_string(major) + ":" +
            std::to_string(minor) + " " + EscapeMountField(v.root) + " " +
            EscapeMountField(v.mountPoint) + " rw,relatime shared:" + std::to_string(i + 1) +
            " - " + EscapeMountField(v.fsType) + " " +
            EscapeMountField(v.source.empty() ? v.fsType : v.source) + " rw\n";
  }
  return text;
}

class FakeVolumeSource : public VolumeSource {
 public:
  FakeVolumeSource() = default;
  FakeVolumeSource(std::initializer_list<FakeVolume> volumes, std::string cwd = "/")
      : FakeVolumeSource(std::vector<FakeVolume>(volumes), std::move(cwd)) {}
  explicit FakeVolumeSource(const std::vector<FakeVolume>& volumes, std::string cwd = "/") {
    Remount(volumes, std::move(cwd));
  }

  // Makes volumes the ones mounted now, as sticks come and go under a
  // running program: the letters given so far stay with their volumes.
  void Remount(const std::vector<FakeVolume>& volumes, std::string cwd = "/") {
    mountInfo = BuildMountInfo(volumes);
    workingDirectory = std::move(cwd);
    devices.clear();
    labels.clear();
    for (const FakeVolume& v : volumes) {
      if (v.source.starts_with("/dev/")) {
        devices[v.source] = BlockDeviceInfo{v.source.substr(v.source.rfind('/') + 1), v.removable};
      }
      labels[v.mountPoint] = v.label;
    }
  }

  std::string MountInfo() const override { return mountInfo; }
  std::optional<BlockDeviceInfo> BlockDevice(const MountEntry& mount) const override {
    const auto it = devices.find(mount.source);
    if (it == devices.end()) return std::nullopt;
    return it->second;
  }
  std::string Label(const MountEntry& mount) const override {
    const auto it = labels.find(mount.mountPoint);
    return it == labels.end() ? std::string() : it->second;
  }
  std::string WorkingDirectory() const override { return workingDirectory; }

  // Open for tests that write a mount table of their own.
  std::string mountInfo;
  std::map<std::string, BlockDeviceInfo> devices;  // by source
  std::map<std::string, std::string> labels;       // by mount point
  std::string workingDirectory = "/";
};

}  // namespace ravik::sys
