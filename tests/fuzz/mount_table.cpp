// Any text as /proc/self/mountinfo: the parser ends, keeps only entries
// it could read whole, and the letters given over them are unique, in
// order and within C: to Z:.
#include <cstddef>
#include <cstdint>
#include <set>
#include <string>
#include <string_view>

#include "FuzzCheck.h"
#include "platform/linux/DriveLetters.h"
#include "platform/linux/FakeVolumes.h"
#include "platform/linux/MountTable.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  using namespace ravik::sys;

  const auto entries = ParseMountInfo(text);
  std::size_t lines = 1;
  for (const char c : text) lines += c == '\n';
  FUZZ_CHECK(entries.size() <= lines);

  const auto visible = VisibleMounts(entries);
  FUZZ_CHECK(visible.size() <= entries.size());
  // Visible entries keep the order of the table, and a mount point shows once.
  std::size_t at = 0;
  std::set<std::string> points;
  for (const MountEntry& entry : visible) {
    while (at < entries.size() && entries[at].id != entry.id) ++at;
    FUZZ_CHECK(at < entries.size());
    ++at;
    FUZZ_CHECK(points.insert(entry.mountPoint).second);
  }

  FakeVolumeSource volumes;
  volumes.mountInfo = std::string(text);
  char last = 0;
  for (const Drive& drive : ListDrives(volumes)) {
    FUZZ_CHECK(drive.letter >= 'C' && drive.letter <= 'Z');
    FUZZ_CHECK(drive.letter > last);
    FUZZ_CHECK(drive.letter == 'C' ? drive.mount.mountPoint == "/" : drive.letter >= 'D');
    last = drive.letter;
  }

  // A field escaped as the kernel escapes it decodes to itself.
  const std::string field(text.substr(0, 64));
  FUZZ_CHECK(DecodeMountField(EscapeMountField(field)) == field);
  return 0;
}
