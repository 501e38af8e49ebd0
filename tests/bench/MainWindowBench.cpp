// Times the real main window offscreen, over fake sticks that are real
// folders, through the test seam:
//
//   bench_main_window dropdown RUNS [STICKS]   opening the drive list (26 sticks;
//                                              0: the machine's own volumes)
//   bench_main_window save RUNS [MOUNT]        "Speicher Config1" onto a tmpfs stick
//   bench_main_window save-traced [MOUNT]      one save between two marker calls
//
// Given MOUNT, the saves go over the machine's own volumes onto the one
// mounted there, as the product finds it.
//
// Prints one line of figures per mode. The marker calls of save-traced are
// writes to descriptor -1 carrying RAVIK-BENCH-BEGIN and RAVIK-BENCH-END, so
// a system call trace can be cut to exactly the calls of that one save.
// The tmpfs stick lives under $RAVIK_BENCH_TMPFS (default /dev/shm) and is
// reached through a link from the temporary folder, since no drive letter
// is ever given to a mount point below /dev.
#include <sys/stat.h>
#include <sys/statfs.h>
#include <unistd.h>

#include <linux/magic.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

#include "platform/Drives.h"
#include "platform/TestSeam.h"
#include "platform/linux/FakeVolumes.h"
#include "res/resource.h"
#include "ui/Ravik1Dlg.h"

namespace {

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

struct Figures {
  double medianMs = 0, minMs = 0, maxMs = 0;
};

Figures Summarise(std::vector<double> ms) {
  std::sort(ms.begin(), ms.end());
  const std::size_t n = ms.size();
  const double median = n % 2 ? ms[n / 2] : (ms[n / 2 - 1] + ms[n / 2]) / 2;
  return {median, ms.front(), ms.back()};
}

double MsSince(Clock::time_point start) {
  return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

// A figure that cannot be taken; thrown, so that the folders are removed.
[[noreturn]] void Fail(const std::string& what) {
  throw std::runtime_error(what);
}

fs::path MakeFolder(const fs::path& parent, const char* prefix) {
  std::string pattern = (parent / (std::string(prefix) + "XXXXXX")).string();
  if (!::mkdtemp(pattern.data())) Fail("cannot make a folder in " + parent.string());
  return pattern;
}

// The window over a set of fake volumes, and the folders behind them.
class Bench {
 public:
  Bench() : m_root(MakeFolder(fs::temp_directory_path(), "ravik-bench-")) {}
  ~Bench() {
    m_driver.reset();
    m_window.reset();
    m_use.reset();
    std::error_code ignored;
    if (!m_tmpfsFolder.empty()) fs::remove_all(m_tmpfsFolder, ignored);
    fs::remove_all(m_root, ignored);
  }

  const fs::path& Root() const { return m_root; }

  // A removable disk of its own for each: sdb1 to sdy1, then sdb2 on.
  void AddStick(const fs::path& mountPoint, const std::string& label) {
    m_volumes.push_back({.mountPoint = mountPoint.string(),
                         .fsType = "vfat",
                         .source = "/dev/sd" +
                                   std::string(1, static_cast<char>('b' + m_volumes.size() % 24)) +
                                   std::to_string(1 + m_volumes.size() / 24),
                         .removable = true,
                         .label = label});
  }

  // A folder on tmpfs, seen through a link in the temporary folder.
  fs::path TmpfsStick() {
    const char* base = std::getenv("RAVIK_BENCH_TMPFS");
    const fs::path parent = base && *base ? base : "/dev/shm";
    struct statfs info;
    if (::statfs(parent.c_str(), &info) != 0 || info.f_type != TMPFS_MAGIC) {
      Fail(parent.string() + " is no tmpfs");
    }
    m_tmpfsFolder = MakeFolder(parent, "ravik-bench-stick-");
    const fs::path link = m_root / "stick";
    fs::create_directory_symlink(m_tmpfsFolder, link);
    return link;
  }

  // Over the fake volumes, or over the machine's own with machine set.
  void Open(bool machine = false) {
    if (!machine) {
      m_source.emplace(m_volumes, m_root.string());
      m_use.emplace(*m_source);
    }
    m_window = std::make_unique<CRavik1Dlg>();
    m_driver = testseam::Open(*m_window);
    if (!m_driver) Fail("the main window does not open");
  }

  ravik::sys::FakeVolumeSource& Source() { return *m_source; }
  testseam::DialogDriver& Driver() { return *m_driver; }
  const testseam::MessageBoxRecorder& Boxes() const { return m_boxes; }
  const std::vector<ravik::sys::FakeVolume>& Volumes() const { return m_volumes; }

 private:
  fs::path m_root;
  fs::path m_tmpfsFolder;
  std::vector<ravik::sys::FakeVolume> m_volumes;
  std::optional<ravik::sys::FakeVolumeSource> m_source;
  std::optional<ravik::sys::ScopedVolumeSource> m_use;
  testseam::MessageBoxRecorder m_boxes;
  std::unique_ptr<CRavik1Dlg> m_window;
  std::unique_ptr<testseam::DialogDriver> m_driver;
};

// Each opening gets labels of its own, so an opening that did not refill
// the list would show the labels of the one before.
std::string Label(std::size_t volume, int run) {
  char label[16];
  std::snprintf(label, sizeof label, "V%02uR%03u", static_cast<unsigned>(volume % 100),
                static_cast<unsigned>(run % 1000));
  return label;  // 8 bytes, well inside a FAT label's 11
}

void LabelForRun(Bench& bench, int run) {
  for (std::size_t i = 0; i < bench.Volumes().size(); ++i) {
    bench.Source().labels[bench.Volumes()[i].mountPoint] = Label(i, run);
  }
}

// With sticks 0 the list shows the machine's own volumes, read as the
// product reads them.
int DropDown(int runs, int sticks) {
  const bool machine = sticks == 0;
  Bench bench;
  for (int i = 0; i < sticks; ++i) {
    // Folders V00 to V25, named as the volume part of their labels.
    const fs::path folder = bench.Root() / Label(static_cast<std::size_t>(i), 0).substr(0, 3);
    fs::create_directory(folder);
    bench.AddStick(folder, "");
  }
  bench.Open(machine);
  testseam::DialogDriver& driver = bench.Driver();
  const std::size_t entries = driver.State(IDC_DRIVE).items.size();
  if (entries == 0) Fail("the drive box lists no drive");

  std::vector<double> times;
  for (int run = -1; run < runs; ++run) {  // run -1 warms up
    if (machine) {
      // The machine's labels stay; an opening that refills selects the
      // first entry again, whatever was typed.
      driver.Clear(IDC_DRIVE);
      driver.Type(IDC_DRIVE, "?");
    } else {
      LabelForRun(bench, run + 1);
    }
    const auto start = Clock::now();
    driver.OpenDropDown(IDC_DRIVE);
    const double ms = MsSince(start);
    const testseam::ControlState state = driver.State(IDC_DRIVE);
    const bool refilled = machine
                              ? state.text == state.items.front()
                              : state.items.front().find(Label(0, run + 1)) != std::string::npos;
    if (state.items.size() != entries || !refilled) {
      std::string what = "an opening did not refill the list; its first entry: ";
      if (!state.items.empty()) what += state.items.front();
      Fail(what);
    }
    driver.Press(testseam::Key::Escape);
    if (run >= 0) times.push_back(ms);
  }
  const Figures f = Summarise(times);
  std::printf("dropdown volumes=%d entries=%zu runs=%d median_ms=%.3f min_ms=%.3f max_ms=%.3f\n",
              sticks, entries, runs, f.medianMs, f.minMs, f.maxMs);
  return 0;
}

// Fails the run unless the save replaced the slot file (a new file, so a
// new inode) with 19 bytes and the window reported no error. Returns the
// new file's inode.
ino_t CheckSaved(const Bench& bench, const fs::path& slot, ino_t before) {
  if (!bench.Boxes().Calls().empty()) {
    Fail("the save shows a message box: " + bench.Boxes().Calls().front().text);
  }
  struct stat st;
  if (::stat(slot.c_str(), &st) != 0 || st.st_size != 19 || st.st_ino == before) {
    Fail("the save left no new 19-byte slot file at " + slot.string());
  }
  return st.st_ino;
}

void Marker(const char* text) {
  // Descriptor -1: the call fails at once and stands out in any trace.
  if (::write(-1, text, std::char_traits<char>::length(text)) < 0) return;
}

// The letter the drive services give the volume mounted at mountPoint.
std::string DriveOfMount(const std::string& mountPoint) {
  for (char letter = 'A'; letter <= 'Z'; ++letter) {
    const char root[3] = {letter, ':', '\0'};
    if (GetDriveTypeA(root) != DRIVE_NO_ROOT_DIR && QueryMountPoint(root) == mountPoint) {
      return root;
    }
  }
  Fail("no drive letter for " + mountPoint);
}

// Over a fake stick on tmpfs; or, given machineMount, over the machine's
// own volumes, onto the one mounted there, as the product finds it.
int Save(int runs, bool traced, const std::string& machineMount = {}) {
  Bench bench;
  fs::path stick;
  if (machineMount.empty()) {
    stick = bench.TmpfsStick();
    bench.AddStick(stick, "STICK");
    bench.Open();
    const std::string drive = bench.Driver().State(IDC_DRIVE).text;
    if (drive != "D:") Fail("the stick is not drive D: but '" + drive + "'");
  } else {
    stick = machineMount;
    bench.Open(true);
    const std::string drive = DriveOfMount(machineMount);
    bench.Driver().Clear(IDC_DRIVE);
    bench.Driver().Type(IDC_DRIVE, drive);
  }
  const fs::path slot = stick / "Config1.ini";

  // The first save creates the file; the measured ones replace it.
  bench.Driver().Click(IDC_SAVE_CONFIG1);
  ino_t file = CheckSaved(bench, slot, 0);
  if (traced) {
    Marker("RAVIK-BENCH-BEGIN");
    bench.Driver().Click(IDC_SAVE_CONFIG1);
    Marker("RAVIK-BENCH-END");
    CheckSaved(bench, slot, file);
    return 0;
  }
  std::vector<double> times;
  for (int run = 0; run < runs; ++run) {
    const auto start = Clock::now();
    bench.Driver().Click(IDC_SAVE_CONFIG1);
    times.push_back(MsSince(start));
    file = CheckSaved(bench, slot, file);
  }
  const Figures f = Summarise(times);
  std::printf("save runs=%d median_ms=%.3f min_ms=%.3f max_ms=%.3f\n", runs, f.medianMs, f.minMs,
              f.maxMs);
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  const std::string mode = argc > 1 ? argv[1] : "";
  try {
    const int runs = argc > 2 && mode != "save-traced" ? std::atoi(argv[2]) : 50;
    if (runs < 1) Fail("RUNS must be at least 1");
    if (mode == "dropdown") return DropDown(runs, argc > 3 ? std::atoi(argv[3]) : 26);
    if (mode == "save") return Save(runs, false, argc > 3 ? argv[3] : "");
    if (mode == "save-traced") return Save(1, true, argc > 2 ? argv[2] : "");
  } catch (const std::exception& failure) {
    std::fprintf(stderr, "bench_main_window: %s\n", failure.what());
    return 1;
  }
  std::fprintf(stderr,
               "usage: %s dropdown [RUNS [STICKS]] | save [RUNS [MOUNT]] | save-traced [MOUNT]\n",
               argv[0]);
  return 2;
}
