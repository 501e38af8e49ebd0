// Saving under every fault a stick can throw at it: the person is told in
// German, and the slot file on the stick, the folders around it and the
// window's settings are exactly what they were.
#include <sys/statvfs.h>

#include <cerrno>
#include <utility>

#include "FaultMatrix.h"
#include "platform/File.h"
#include "platform/linux/FaultInjection.h"

namespace faults {
namespace {

using ravik::sys::ScopedFault;
using ravik::sys::ScopedTransferLimit;
using ravik::sys::ScopedVolumeSource;
using ravik::sys::SysCall;
using ravik::sys::VolumeSource;

const Bytes kOld = {0x00, 0x60, 0x06, 0x00, 0x00, 0x03, 'P', 'L', 'A', 'Y',
                    'F',  'I',  'L',  'E',  '.',  'T',  'X', 'T', 0x01};
// What the window of PutWindowInPlay saves.
const Bytes kNew = {0x04, 0x80, 0x06, 0x00, 0x00, 0x04, 'L', 'O', 'G', '.',
                    'T',  'X',  'T',  0x01, 0x01, 0x01, 0x01, 0x01, 0x05};

const std::string kCreateFailed =
    "Datei 'Config1.ini' konnte nicht erstellt werden!\nLaufwerk gewählt? Schreibschutz vorhanden?";

std::string WriteFailed(const std::string& reason) {
  return "Datei 'Config1.ini' konnte nicht geschrieben werden!\n" + reason +
         "\nDie bisherige Datei ist unverändert.";
}

// The middle line names the cause, in the layer's words.
std::string Because(int cause) { return CFileException(cause).Reason(); }
const std::string kFull = Because(CFileException::diskFull);
const std::string kBroken = Because(CFileException::hardIO);
const std::string kGone = Because(CFileException::fileNotFound);

// The mount table is read while the save maps E:\ to its folder; this
// source pulls the stick right after that, before anything is created.
class PullWhileMapping final : public VolumeSource {
 public:
  PullWhileMapping(const VolumeSource& inner, std::function<void()> pull)
      : m_inner(inner), m_pull(std::move(pull)) {}
  std::string MountInfo() const override {
    std::string text = m_inner.MountInfo();
    if (m_pull) std::exchange(m_pull, {})();
    return text;
  }
  std::optional<ravik::sys::BlockDeviceInfo> BlockDevice(
      const ravik::sys::MountEntry& mount) const override {
    return m_inner.BlockDevice(mount);
  }
  std::string Label(const ravik::sys::MountEntry& mount) const override {
    return m_inner.Label(mount);
  }
  std::string WorkingDirectory() const override { return m_inner.WorkingDirectory(); }

 private:
  const VolumeSource& m_inner;
  mutable std::function<void()> m_pull;
};

struct PulledStick {
  explicit PulledStick(uitest::MainWindowTest& t)
      : source(*t.source, [&t] { fs::rename(t.root / "d", t.root / "d-pulled"); }) {}
  PullWhileMapping source;
  ScopedVolumeSource use{source};
};

class SaveFaultTest;

struct SaveFault {
  const char* name;
  // Runs before the click, where the case runs; the old slot file is in
  // place and the window holds the settings of kNew.
  std::function<void(SaveFaultTest&)> arrange;
  GuardMaker during;              // armed for the click only
  std::optional<Powers> child;    // the case runs in a child process with these powers
  std::string message;            // the one error box; empty: none
  bool replaced = false;          // the new record has replaced the old file all the same
  const char* stickAfter = "d";   // where the stick's folder is afterwards
};

void PrintTo(const SaveFault& c, std::ostream* out) { *out << c.name; }

class SaveFaultTest : public uitest::MainWindowTest,
                      public ::testing::WithParamInterface<SaveFault> {
 public:
  void SetUp() override {}  // the test opens the window once the stick is ready

  path StickFolder() const { return root / "d"; }
  path SlotFile() const { return StickFolder() / "Config1.ini"; }

  void PutOldFile() {
    uitest::WriteFile(SlotFile(), kOld);
    fs::permissions(SlotFile(), fs::perms(0640));
  }

  void TypeDrive(const char* text) {
    driver->Clear(IDC_DRIVE);
    driver->Type(IDC_DRIVE, text);
  }
};

const SaveFault kSaveFaults[] = {
    {"DriveLetterWithoutVolume", [](SaveFaultTest& t) { t.TypeDrive("Q:"); }, {}, {},
     kCreateFailed},
    {"DrivePartNotALetter", [](SaveFaultTest& t) { t.TypeDrive(":"); }, {}, {}, kCreateFailed},
    {"ReadOnlyVolume",
     [](SaveFaultTest& t) {
       MountTmpfs(t.StickFolder());
       t.PutOldFile();
       RemountReadOnly(t.StickFolder());
     },
     {}, Powers::mounts, kCreateFailed},
    {"SlotFileMode0444", [](SaveFaultTest& t) { fs::permissions(t.SlotFile(), fs::perms(0444)); },
     {}, {}, kCreateFailed},
    // Root ignores the folder's bits; the child runs without that power.
    {"FolderWithoutWritePermission",
     [](SaveFaultTest& t) { fs::permissions(t.StickFolder(), fs::perms(0555)); }, {},
     Powers::noDacOverride, kCreateFailed},
    {"StickPulledWhileTheSaveOpens", {},
     [](uitest::MainWindowTest& t) { return std::make_shared<PulledStick>(t); }, {},
     kCreateFailed, false, "d-pulled"},
    {"NoSpaceOnWrite", {}, Arm<ScopedFault>(SysCall::write, ENOSPC), {}, WriteFailed(kFull)},
    {"FullTmpfsStick",
     [](SaveFaultTest& t) {
       MountTmpfs(t.StickFolder(), "size=8k");
       t.PutOldFile();
       uitest::WriteFile(t.StickFolder() / "filler", Bytes(4096, 0xAA));
       struct statvfs fsInfo {};
       if (::statvfs(t.StickFolder().c_str(), &fsInfo) != 0 || fsInfo.f_bavail != 0) {
         throw std::runtime_error("the tmpfs stick is not full");
       }
     },
     {}, Powers::mounts, WriteFailed(kFull)},
    {"StickPulledAfterFiveBytes", {},
     Both(Arm<ScopedTransferLimit>(std::size_t{1}), Arm<ScopedFault>(SysCall::write, EIO, 5)),
     {}, WriteFailed(kBroken)},
    {"IoErrorOnFsync", {}, Arm<ScopedFault>(SysCall::fsync, EIO), {}, WriteFailed(kBroken)},
    {"IoErrorOnClose", {}, Arm<ScopedFault>(SysCall::close, EIO), {}, WriteFailed(kBroken)},
    {"RenameFails", {}, Arm<ScopedFault>(SysCall::rename, EIO), {}, WriteFailed(kBroken)},
    // A lazily unmounted stick: the file's bytes went out, its name has
    // nowhere to go.
    {"StickGoneBeforeTheRename", {}, Arm<ScopedFault>(SysCall::rename, ENOENT), {},
     WriteFailed(kGone)},
    // The new file is in place, but the medium did not confirm the
    // folder: the person must not be told the old file is still there.
    {"FolderFlushFailsAfterTheRename", {}, Arm<ScopedFault>(SysCall::fsync, EIO, 1), {},
     "Datei 'Config1.ini' wurde ersetzt, aber nicht sicher gespeichert!\n" + kBroken +
         "\nBitte den Stick prüfen und erneut speichern.",
     true},
    {"FolderFlushNotSupported", {}, Arm<ScopedFault>(SysCall::fsync, EINVAL, 1), {}, "", true},
};

TEST_P(SaveFaultTest, TellsThePersonAndKeepsEverythingElse) {
  const SaveFault& c = GetParam();
  PutOldFile();
  Open();
  PutWindowInPlay();

  const auto run = [&]() -> std::vector<Observation> {
    if (c.arrange) c.arrange(*this);
    Observation before = Observe(*this, SlotFile());
    boxes.Clear();
    {
      const Guard fault = c.during ? c.during(*this) : nullptr;
      driver->Click(IDC_SAVE_CONFIG1);
    }
    Observation after = Observe(*this, root / c.stickAfter / "Config1.ini");
    return {before, after};
  };
  std::vector<Observation> seen;
  if (c.child) {
    std::string refused;
    auto fromChild = RunInChild(*c.child, run, &refused);
    if (!fromChild && !refused.empty()) GTEST_SKIP() << "refused here: " << refused;
    ASSERT_TRUE(fromChild);
    seen = std::move(*fromChild);
  } else {
    seen = run();
  }
  ASSERT_EQ(seen.size(), 2u);
  const Observation& before = seen[0];
  const Observation& after = seen[1];
  ASSERT_EQ(before.slot, kOld);

  ExpectErrorBox(after, c.message);
  EXPECT_EQ(after.slot, c.replaced ? kNew : kOld);
  EXPECT_EQ(after.mode, before.mode);
  auto folders = before.folders;
  if (std::string(c.stickAfter) != "d") folders[c.stickAfter] = folders.extract("d").mapped();
  EXPECT_EQ(after.folders, folders) << "a temporary file left, or a file written elsewhere";
  EXPECT_EQ(after.settings, before.settings);

  if (!c.child && !c.arrange && std::string(c.stickAfter) == "d") {
    // A fault of the moment leaves nothing behind: the next save works.
    boxes.Clear();
    driver->Click(IDC_SAVE_CONFIG1);
    EXPECT_TRUE(boxes.Calls().empty());
    EXPECT_EQ(uitest::ReadFile(SlotFile()), kNew);
  }
}

INSTANTIATE_TEST_SUITE_P(Faults, SaveFaultTest, ::testing::ValuesIn(kSaveFaults),
                         [](const auto& param) { return std::string(param.param.name); });

}  // namespace
}  // namespace faults
