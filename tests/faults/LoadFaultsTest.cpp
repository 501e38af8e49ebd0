// Loading whatever lies on the stick under the slot's name: anything that
// is not a record is refused or ignored without changing the window, a
// record is taken from its first 19 bytes, and the stick stays untouched.
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

#include "FaultMatrix.h"
#include "platform/File.h"
#include "platform/linux/FaultInjection.h"

namespace faults {
namespace {

using ravik::sys::ScopedFault;
using ravik::sys::ScopedTransferLimit;
using ravik::sys::SysCall;

// 19200 bit/s, 7 data bits, 2 stop bits, even parity, play DATA.BIN
// endlessly: nothing of it is what the window shows before the load.
const Bytes kRecord = {0x00, 0xC0, 0x04, 0x08, 0x20, 0x04, 'D',  'A',  'T',  'A',
                       '.',  'B',  'I',  'N',  0x01, 0x01, 0x01, 0x01, 0xFF};

Bytes RecordThen(std::size_t size) {
  Bytes bytes(size, 0xEE);
  std::copy(kRecord.begin(), kRecord.begin() + static_cast<long>(std::min(size, kRecord.size())),
            bytes.begin());
  return bytes;
}

const std::string kOpenFailed =
    "Datei 'Config1.ini' konnte nicht gelesen werden!\nLaufwerk gewählt? Leseberechtigung "
    "vorhanden?";
const std::string kReadFailed = "Datei 'Config1.ini' konnte nicht gelesen werden!\n" +
                                std::string(CFileException(CFileException::hardIO).Reason()) +
                                "\nDie Einstellungen sind unverändert.";

enum class Result { unchanged, loaded };

struct LoadFault {
  const char* name;
  std::function<void(const path& slot)> place;  // what lies at D:\Config1.ini
  GuardMaker during;                            // armed for the click only
  std::string message;                          // the one error box; empty: none
  Result result = Result::unchanged;
};

void PrintTo(const LoadFault& c, std::ostream* out) { *out << c.name; }

std::function<void(const path&)> FileOf(std::size_t size) {
  return [size](const path& slot) { uitest::WriteFile(slot, RecordThen(size)); };
}

const LoadFault kLoadFaults[] = {
    {"MissingFile", [](const path&) {}, {}, kOpenFailed},
    {"Directory", [](const path& slot) { fs::create_directory(slot); }, {}, kOpenFailed},
    {"Fifo", [](const path& slot) { ASSERT_EQ(::mkfifo(slot.c_str(), 0644), 0); }, {},
     kOpenFailed},
    {"DanglingSymlink", [](const path& slot) { fs::create_symlink("gone.ini", slot); }, {},
     kOpenFailed},
    {"SymlinkToAFifo",
     [](const path& slot) {
       ASSERT_EQ(::mkfifo((slot.parent_path() / "pipe").c_str(), 0644), 0);
       fs::create_symlink("pipe", slot);
     },
     {}, kOpenFailed},
    {"Empty", FileOf(0), {}, ""},
    {"Bytes18", FileOf(18), {}, ""},
    {"Bytes19", FileOf(19), {}, "", Result::loaded},
    {"Bytes20", FileOf(20), {}, "", Result::loaded},
    {"Bytes1000000", FileOf(1'000'000), {}, "", Result::loaded},
    {"IoErrorOnRead", FileOf(19), Arm<ScopedFault>(SysCall::read, EIO), kReadFailed},
    {"IoErrorAfterEightBytes", FileOf(19),
     Both(Arm<ScopedTransferLimit>(std::size_t{4}), Arm<ScopedFault>(SysCall::read, EIO, 2)),
     kReadFailed},
};

class LoadFaultTest : public uitest::MainWindowTest,
                      public ::testing::WithParamInterface<LoadFault> {};

TEST_P(LoadFaultTest, RefusesOrTakesTheRecordAndLeavesTheStick) {
  const LoadFault& c = GetParam();
  driver->Click(IDC_MODE_PLAY);  // a window that is not at its start values
  driver->Click(IDC_BAUD_115200);
  const path slot = root / "d" / "Config1.ini";
  c.place(slot);
  const Observation before = Observe(*this, slot);
  boxes.Clear();
  {
    const Guard fault = c.during ? c.during(*this) : nullptr;
    ::alarm(10);  // a load that waits on a FIFO ends the test here
    driver->Click(IDC_LOAD_CONFIG1);
    ::alarm(0);
  }
  const Observation after = Observe(*this, slot);

  ExpectErrorBox(after, c.message);
  EXPECT_EQ(after.folders, before.folders);
  EXPECT_EQ(after.slotExists, before.slotExists);
  EXPECT_EQ(after.slot, before.slot);

  if (c.result == Result::unchanged) {
    EXPECT_EQ(after.settings, before.settings);
    return;
  }
  const LoggerSettings& s = Settings();
  EXPECT_EQ(s.baudCode, 192u);
  EXPECT_EQ(s.dataBitsCode, 4);
  EXPECT_EQ(s.stopBitsCode, 8);
  EXPECT_EQ(s.parityCode, 0x20);
  EXPECT_EQ(s.modeCode, 4);
  EXPECT_EQ(s.repeatCount, 255u);
  EXPECT_EQ(Text(IDC_PLAYFILE), "DATA.BIN");
  EXPECT_TRUE(Checked(IDC_REPEAT_ENDLESS));
  // Saved again, the record comes back byte for byte, whatever followed it.
  fs::remove(slot);
  EXPECT_EQ(SaveSlot1(), kRecord);
}

INSTANTIATE_TEST_SUITE_P(Faults, LoadFaultTest, ::testing::ValuesIn(kLoadFaults),
                         [](const auto& param) { return std::string(param.param.name); });

}  // namespace
}  // namespace faults
