#include "platform/linux/VolumeSource.h"

#include <dirent.h>
#include <fcntl.h>
#include <linux/fs.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>

#include <array>
#include <cerrno>
#include <cstdlib>
#include <memory>
#include <string>
#include <string_view>
#include <utility>

namespace ravik::sys {
namespace {

class UniqueFd {
 public:
  explicit UniqueFd(int fd) : m_fd(fd) {}
  ~UniqueFd() {
    if (m_fd >= 0) ::close(m_fd);
  }
  UniqueFd(const UniqueFd&) = delete;
  UniqueFd& operator=(const UniqueFd&) = delete;
  int get() const { return m_fd; }

 private:
  int m_fd;
};

std::string ReadWholeFile(const char* path) {
  UniqueFd fd(::open(path, O_RDONLY | O_CLOEXEC | O_NONBLOCK));
  std::string text;
  if (fd.get() < 0) return text;
  std::array<char, 8192> buffer;
  for (;;) {
    const ssize_t n = ::read(fd.get(), buffer.data(), buffer.size());
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) break;
    text.append(buffer.data(), static_cast<std::size_t>(n));
  }
  return text;
}

bool FileExists(const std::string& path) {
  struct stat st;
  return ::stat(path.c_str(), &st) == 0;
}

std::string RealPath(const std::string& path) {
  const std::unique_ptr<char, decltype(&std::free)> resolved(::realpath(path.c_str(), nullptr),
                                                             &std::free);
  return resolved ? std::string(resolved.get()) : std::string();
}

std::string_view BaseName(std::string_view path) {
  const std::size_t slash = path.rfind('/');
  return slash == std::string_view::npos ? path : path.substr(slash + 1);
}

// The device number of the volume's block device. The source path wins
// over the number in the mount table, which for btrfs is an anonymous one.
// Only device paths are looked at: the source of a share (//srv/share)
// names no local file.
std::optional<dev_t> DeviceNumber(const MountEntry& mount) {
  struct stat st;
  if (mount.source.starts_with("/dev/") && ::stat(mount.source.c_str(), &st) == 0 &&
      S_ISBLK(st.st_mode)) {
    return st.st_rdev;
  }
  if (mount.major != 0) return makedev(mount.major, mount.minor);
  return std::nullopt;
}

int HexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

// udev writes the unsafe bytes of a label in a by-label name as \xNN.
std::string DecodeUdevName(std::string_view name) {
  std::string out;
  for (std::size_t i = 0; i < name.size(); ++i) {
    if (name[i] == '\\' && i + 3 < name.size() && name[i + 1] == 'x' &&
        HexDigit(name[i + 2]) >= 0 && HexDigit(name[i + 3]) >= 0) {
      out.push_back(static_cast<char>(HexDigit(name[i + 2]) * 16 + HexDigit(name[i + 3])));
      i += 3;
    } else {
      out.push_back(name[i]);
    }
  }
  return out;
}

std::string LabelFromIoctl(const std::string& mountPoint, bool* answered) {
  UniqueFd fd(::open(mountPoint.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC | O_NONBLOCK));
  std::array<char, FSLABEL_MAX> label{};
  *answered = fd.get() >= 0 && ::ioctl(fd.get(), FS_IOC_GETFSLABEL, label.data()) == 0;
  if (!*answered) return {};
  std::size_t length = 0;
  while (length < label.size() && label[length] != '\0') ++length;
  return std::string(label.data(), length);
}

std::string LabelFromByLabelLinks(dev_t device) {
  static constexpr const char* kFolder = "/dev/disk/by-label";
  const auto closeDir = [](DIR* d) { ::closedir(d); };
  const std::unique_ptr<DIR, decltype(closeDir)> dir(::opendir(kFolder), closeDir);
  if (!dir) return {};
  while (const dirent* entry = ::readdir(dir.get())) {
    const std::string name = entry->d_name;
    if (name == "." || name == "..") continue;
    struct stat st;
    const std::string link = std::string(kFolder) + "/" + name;
    if (::stat(link.c_str(), &st) == 0 && S_ISBLK(st.st_mode) && st.st_rdev == device) {
      return DecodeUdevName(name);
    }
  }
  return {};
}

class MachineVolumes final : public VolumeSource {
 public:
  std::string MountInfo() const override { return ReadWholeFile("/proc/self/mountinfo"); }

  std::optional<BlockDeviceInfo> BlockDevice(const MountEntry& mount) const override {
    const std::optional<dev_t> device = DeviceNumber(mount);
    if (!device) return std::nullopt;
    BlockDeviceInfo info;
    const std::string sysPath = RealPath("/sys/dev/block/" + std::to_string(major(*device)) + ":" +
                                         std::to_string(minor(*device)));
    if (sysPath.empty()) return info;  // a block device the kernel tells nothing of
    // A partition's removable flag is on its disk, the folder above it.
    const std::string diskPath =
        FileExists(sysPath + "/partition") ? sysPath.substr(0, sysPath.rfind('/')) : sysPath;
    info.disk = BaseName(diskPath);
    info.removable = ReadWholeFile((diskPath + "/removable").c_str()).starts_with('1') ||
                     sysPath.find("/usb") != std::string::npos ||
                     sysPath.find("/mmc") != std::string::npos;
    return info;
  }

  std::string Label(const MountEntry& mount) const override {
    bool answered = false;
    std::string label = LabelFromIoctl(mount.mountPoint, &answered);
    if (!answered) {
      if (const std::optional<dev_t> device = DeviceNumber(mount)) {
        label = LabelFromByLabelLinks(*device);
      }
    }
    // FAT pads its labels with spaces; Windows shows them without.
    while (!label.empty() && label.back() == ' ') label.pop_back();
    return label;
  }

  std::string WorkingDirectory() const override {
    const std::unique_ptr<char, decltype(&std::free)> cwd(::getcwd(nullptr, 0), &std::free);
    return cwd ? std::string(cwd.get()) : std::string();
  }
};

const VolumeSource* g_current = nullptr;

}  // namespace

const VolumeSource& SystemVolumeSource() {
  static const MachineVolumes machine;
  return machine;
}

const VolumeSource& CurrentVolumeSource() {
  return g_current ? *g_current : SystemVolumeSource();
}

ScopedVolumeSource::ScopedVolumeSource(const VolumeSource& source)
    : m_previous(std::exchange(g_current, &source)) {}

ScopedVolumeSource::~ScopedVolumeSource() {
  g_current = m_previous;
}

}  // namespace ravik::sys
