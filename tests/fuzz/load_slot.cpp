// Any file under a slot's name, loaded by the real window offscreen, then
// saved again: the saved record is what the load rules make of the file
// and of the window's settings before it, byte for byte. A file shorter
// than a record changes nothing; no load or save shows a message.
#include <stdlib.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "FuzzCheck.h"
#include "config/ConfigRecord.h"
#include "platform/TestSeam.h"
#include "platform/linux/FakeVolumes.h"
#include "res/resource.h"
#include "ui/Ravik1Dlg.h"

namespace {

namespace fs = std::filesystem;
using Bytes = std::vector<std::uint8_t>;

Bytes ReadAll(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  return Bytes(std::istreambuf_iterator<char>(in), {});
}

void WriteAll(const fs::path& path, const std::uint8_t* data, std::size_t size) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
}

// One window for the whole run, over a stick that is a folder in RAM (the
// saves flush twice each). Drive letters are never given below /dev, so
// the stick's mount point is a link to it from the temporary folder.
struct World {
  World() {
    const fs::path base = fs::exists("/dev/shm") ? fs::path("/dev/shm") : fs::temp_directory_path();
    stick = base / ("ravik-fuzz-" + std::to_string(::getpid()));
    fs::create_directories(stick);
    mountPoint = fs::temp_directory_path() / ("ravik-fuzz-stick-" + std::to_string(::getpid()));
    fs::remove(mountPoint);
    if (mountPoint != stick) fs::create_directory_symlink(stick, mountPoint);
    volumes.emplace(std::vector<ravik::sys::FakeVolume>{{.mountPoint = mountPoint.string(),
                                                         .fsType = "vfat",
                                                         .source = "/dev/sdb1",
                                                         .removable = true,
                                                         .label = "STICK"}},
                    mountPoint.string());
    use.emplace(*volumes);
    driver = testseam::Open(window);
    FUZZ_CHECK(driver != nullptr);
  }
  ~World() {
    std::error_code ignored;
    fs::remove(mountPoint, ignored);
    fs::remove_all(stick, ignored);
  }

  fs::path Slot() const { return stick / "Config1.ini"; }

  Bytes Save() {
    driver->Click(IDC_SAVE_CONFIG1);
    return ReadAll(Slot());
  }

  fs::path stick, mountPoint;
  std::optional<ravik::sys::FakeVolumeSource> volumes;
  std::optional<ravik::sys::ScopedVolumeSource> use;
  testseam::MessageBoxRecorder boxes;
  CRavik1Dlg window;
  std::unique_ptr<testseam::DialogDriver> driver;
};

World* g_world = nullptr;

void EndWorld() {
  delete g_world;
  g_world = nullptr;
}

// The name field as a save writes it back: the bytes up to the first 0x00
// or 0x01, then 0x01 up to its end.
void CanonicalName(const Bytes& record, Bytes* out) {
  bool ended = false;
  for (std::size_t i = kNameFieldOffset; i < kNameFieldOffset + kNameFieldSize; ++i) {
    ended = ended || record[i] == 0x00 || record[i] == kNamePad;
    (*out)[i] = ended ? kNamePad : record[i];
  }
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  // The harness, not the program, picks the offscreen platform.
  ::setenv("QT_QPA_PLATFORM", "offscreen", 1);
  ::setenv("QT_LOGGING_RULES", "*.debug=false;qt.qpa.*=false", 1);
  g_world = new World();
  std::atexit(EndWorld);
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  World& w = *g_world;
  w.boxes.Clear();
  const Bytes before = w.Save();
  FUZZ_CHECK(before.size() == kConfigRecordSize);

  WriteAll(w.Slot(), data, size);
  w.driver->Click(IDC_LOAD_CONFIG1);
  const Bytes after = w.Save();
  FUZZ_CHECK(w.boxes.Calls().empty());
  FUZZ_CHECK(after.size() == kConfigRecordSize);
  FUZZ_CHECK(std::distance(fs::directory_iterator(w.stick), fs::directory_iterator()) == 1);

  Bytes expected = before;
  if (size >= kConfigRecordSize) {
    const Bytes record(data, data + kConfigRecordSize);
    const std::uint8_t mode = record[5];
    std::copy(record.begin() + 2, record.begin() + 6, expected.begin() + 2);  // frame and mode
    if (mode == kModeRecord || mode == kModePlay) {
      expected[0] = record[0];
      expected[1] = record[1];
    }
    if (mode == kModePlay || mode == kModePlayDeviceBaud) {
      CanonicalName(record, &expected);
      expected[18] = record[18];
    }
  }
  if (after != expected) {
    std::fprintf(stderr, "before   ");
    for (auto b : before) std::fprintf(stderr, " %02x", b);
    std::fprintf(stderr, "\nexpected ");
    for (auto b : expected) std::fprintf(stderr, " %02x", b);
    std::fprintf(stderr, "\nsaved    ");
    for (auto b : after) std::fprintf(stderr, " %02x", b);
    std::fprintf(stderr, "\n");
  }
  FUZZ_CHECK(after == expected);
  return 0;
}
