// Any drive text gives a slot path that keeps only the text's drive part,
// and any Windows path maps onto this machine's tree inside the volume it
// names, with no "." or ".." left and no way above that volume's root.
#include <cerrno>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "FuzzCheck.h"
#include "config/ConfigRecord.h"
#include "platform/linux/DriveLetters.h"
#include "platform/linux/FakeVolumes.h"
#include "platform/linux/PathMapping.h"

namespace {

using ravik::sys::FakeVolumeSource;

const FakeVolumeSource& Volumes() {
  static const FakeVolumeSource volumes(
      {{.mountPoint = "/", .source = "/dev/sda1"},
       {.mountPoint = "/media/STICK", .fsType = "vfat", .source = "/dev/sdb1", .removable = true},
       {.mountPoint = "/media/a b\\c", .fsType = "vfat", .source = "/dev/sdc1", .removable = true},
       {.mountPoint = "/mnt/data", .source = "/dev/sdd1"}},
      "/media/STICK/sub/dir");
  return volumes;
}

// Where a path must land: the root of the drive it names, or of the volume
// that holds the working directory.
std::string BaseOf(std::string_view windowsPath) {
  if (windowsPath.size() >= 2 && windowsPath[1] == ':') {
    const auto drive = ravik::sys::FindDrive(windowsPath[0], Volumes());
    return drive ? drive->mount.mountPoint : std::string();
  }
  return "/media/STICK";
}

void CheckMapping(std::string_view windowsPath) {
  const ravik::sys::MappedPath mapped = ravik::sys::MapWindowsPath(windowsPath, Volumes());
  if (mapped.error != 0) {
    FUZZ_CHECK(mapped.path.empty());
    FUZZ_CHECK(mapped.error == ENOENT || mapped.error == EINVAL || mapped.error == ENAMETOOLONG);
    return;
  }
  const std::string& path = mapped.path;
  FUZZ_CHECK(!path.empty() && path.front() == '/');
  FUZZ_CHECK(ravik::sys::IsPathWithin(path, BaseOf(windowsPath)));
  FUZZ_CHECK(path.find('\0') == std::string::npos);
  FUZZ_CHECK(path.find("//") == std::string::npos);
  FUZZ_CHECK(path == "/" || path.back() != '/');
  const std::string_view tail(path);
  FUZZ_CHECK(tail.find("/./") == std::string_view::npos && !tail.ends_with("/."));
  FUZZ_CHECK(tail.find("/../") == std::string_view::npos && !tail.ends_with("/.."));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size == 0) return -1;
  const int slot = 1 + data[0] % 3;
  const std::string_view text(reinterpret_cast<const char*>(data + 1), size - 1);

  if (data[0] & 0x80) {
    CheckMapping(text);  // a path as a person might type it into the drive box
    return 0;
  }
  const std::string path = ConfigSlotPath(text, slot);
  const std::string suffix = "\\" + ConfigSlotFileName(slot);
  const std::size_t colon = text.find(':');
  const std::string_view drive =
      colon == std::string_view::npos ? std::string_view() : text.substr(0, colon + 1);
  FUZZ_CHECK(path == std::string(drive) + suffix);
  CheckMapping(path);
  const ravik::sys::MappedPath mapped = ravik::sys::MapWindowsPath(path, Volumes());
  if (mapped.error == 0) FUZZ_CHECK(mapped.path.ends_with("/" + ConfigSlotFileName(slot)));
  return 0;
}
