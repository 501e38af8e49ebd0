// Saving the window into a slot on the stick and loading a slot back, seen
// through the controls and through the bytes a following save writes.
#include <sys/stat.h>

#include <gmock/gmock.h>

#include "MainWindowFixture.h"
#include "config/CodeTables.h"
#include "platform/linux/FaultInjection.h"

namespace uitest {
namespace {

using ::testing::HasSubstr;

const Bytes kDefaults = {0x00, 0x60, 0x06, 0x00, 0x00, 0x03, 'P', 'L', 'A', 'Y',
                         'F',  'I',  'L',  'E',  '.',  'T',  'X', 'T', 0x01};
const Bytes kPlayLog = {0x04, 0x80, 0x06, 0x00, 0x00, 0x04, 'L', 'O', 'G', '.',
                        'T',  'X',  'T',  0x01, 0x01, 0x01, 0x01, 0x01, 0x05};

using SaveTest = MainWindowTest;

TEST_F(SaveTest, DefaultsRightAfterStart) {
  EXPECT_EQ(SaveSlot1(), kDefaults);
  EXPECT_EQ(SaveSlot1(), kDefaults) << "saving again gives the same bytes";
  EXPECT_TRUE(boxes.Calls().empty());
}

TEST_F(SaveTest, EachButtonWritesItsSlotOnTheDriveInTheBox) {
  WriteFile(Slot('E', 2), Bytes(100, 0xAA));
  Open();
  driver->Clear(IDC_DRIVE);
  driver->Type(IDC_DRIVE, "E: STICK");
  driver->Click(IDC_SAVE_CONFIG2);
  driver->Click(IDC_SAVE_CONFIG3);
  EXPECT_EQ(ReadFile(Slot('E', 2)), kDefaults) << "100 bytes replaced by 19";
  EXPECT_EQ(ReadFile(Slot('E', 3)), kDefaults);
  EXPECT_FALSE(fs::exists(Slot('D', 2)));
}

TEST_F(SaveTest, TextWithoutDriveSavesToTheVolumeOfTheWorkingFolder) {
  fs::create_directories(root / "e" / "sub");
  workingDirectory = (root / "e" / "sub").string();
  UseVolumes();
  driver->Clear(IDC_DRIVE);
  driver->Type(IDC_DRIVE, "STICK");
  driver->Click(IDC_SAVE_CONFIG3);
  EXPECT_EQ(ReadFile(Slot('E', 3)), kDefaults);
  EXPECT_TRUE(boxes.Calls().empty());
}

TEST_F(SaveTest, PlayModesWriteTheirCodesAndName) {
  PutWindowInPlay();
  EXPECT_EQ(SaveSlot1(), kPlayLog);

  driver->Click(IDC_DEVICE_BAUD);  // the logger sets the rate: the last one is still saved
  Bytes deviceBaud = kPlayLog;
  deviceBaud[5] = 0x44;
  EXPECT_EQ(SaveSlot1(), deviceBaud);
}

TEST_F(SaveTest, RecordModeStillWritesNameAndRepeatCount) {
  driver->Click(IDC_MODE_PLAY);
  driver->Clear(IDC_PLAYFILE);
  driver->Type(IDC_PLAYFILE, "ABCDEFGH.TXT");
  driver->Click(IDC_REPEAT_ENDLESS);
  driver->Click(IDC_MODE_RECORD);
  const Bytes bytes = SaveSlot1();
  ASSERT_EQ(bytes.size(), 19u);
  EXPECT_EQ(bytes[5], 0x03);
  EXPECT_EQ(std::string(bytes.begin() + 6, bytes.begin() + 18), "ABCDEFGH.TXT");
  EXPECT_EQ(bytes[18], 0xFF);
}

TEST_F(SaveTest, NameOutsideAsciiIsWrittenInTheCodePage) {
  driver->Click(IDC_MODE_PLAY);
  driver->Clear(IDC_PLAYFILE);
  driver->Type(IDC_PLAYFILE, "Ä€\u2713.TXT");
  const Bytes bytes = SaveSlot1();
  EXPECT_EQ(Bytes(bytes.begin() + 6, bytes.begin() + 13),
            (Bytes{0xC4, 0x80, '?', '.', 'T', 'X', 'T'}));
}

TEST_F(SaveTest, FailuresShowTheMessageAndKeepTheOldFile) {
  const Bytes old = {1, 2, 3};
  const std::string createFailed =
      "Datei 'Config1.ini' konnte nicht erstellt werden!\nLaufwerk gewählt? Schreibschutz vorhanden?";
  const struct {
    const char* name;
    std::function<void(MainWindowTest&)> arrange;
    std::string message;
  } cases[] = {
      {"no such drive", [](MainWindowTest& t) { t.driver->Clear(IDC_DRIVE); t.driver->Type(IDC_DRIVE, "Q:"); },
       createFailed},
      {"write-protected file", [](MainWindowTest& t) { ::chmod(t.Slot('D', 1).c_str(), 0444); },
       createFailed},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    WriteFile(Slot('D', 1), old);
    ::chmod(Slot('D', 1).c_str(), 0644);
    Open();
    boxes.Clear();
    c.arrange(*this);
    driver->Click(IDC_SAVE_CONFIG1);
    ASSERT_EQ(boxes.Calls().size(), 1u);
    EXPECT_EQ(boxes.Calls()[0].text, c.message);
    EXPECT_EQ(boxes.Calls()[0].caption, "Fehler");
    EXPECT_EQ(boxes.Calls()[0].style, MB_ICONERROR);
    EXPECT_EQ(ReadFile(Slot('D', 1)), old);
  }
}

TEST_F(SaveTest, FullStickKeepsTheOldFileAndSaysSo) {
  const Bytes old = kPlayLog;
  WriteFile(Slot('D', 1), old);
  {
    ravik::sys::ScopedFault full(ravik::sys::SysCall::write, ENOSPC);
    driver->Click(IDC_SAVE_CONFIG1);
  }
  ASSERT_EQ(boxes.Calls().size(), 1u);
  EXPECT_THAT(boxes.Calls()[0].text, HasSubstr("Datei 'Config1.ini' konnte nicht geschrieben werden!"));
  EXPECT_THAT(boxes.Calls()[0].text, HasSubstr("voll"));
  EXPECT_THAT(boxes.Calls()[0].text, HasSubstr("unverändert"));
  EXPECT_EQ(ReadFile(Slot('D', 1)), old);
  EXPECT_EQ(std::distance(fs::directory_iterator(root / "d"), fs::directory_iterator()), 1)
      << "no temporary file is left";
  EXPECT_EQ(SaveSlot1(), kDefaults) << "the next save works";
}

// Loading ------------------------------------------------------------------

struct LoadCase {
  const char* name;
  Bytes file;
  std::vector<int> before;  // clicks before the load
  int modeRadio;            // checked afterwards
  bool deviceBaudEnabled, deviceBaudChecked;
  bool baudEnabled;
  int baudRadio, dataRadio, stopRadio, parityRadio;
  const char* playFile;
  int repeatRadio;
  bool repeatValueEnabled;
  const char* repeatValue;
  Bytes savedAfter;  // what "Speicher Config1" writes next
};

Bytes With(Bytes bytes, std::initializer_list<std::pair<size_t, std::uint8_t>> changes) {
  for (auto [at, value] : changes) bytes[at] = value;
  return bytes;
}

const Bytes kEmptyName(12, 0x01);

void PrintTo(const LoadCase& load, std::ostream* out) { *out << load.name; }

class LoadTest : public MainWindowTest, public ::testing::WithParamInterface<LoadCase> {};

TEST_P(LoadTest, ControlsAndSettingsFollowTheRecord) {
  const LoadCase& c = GetParam();
  for (int id : c.before) driver->Click(id);
  WriteFile(Slot('D', 1), c.file);
  driver->Click(IDC_LOAD_CONFIG1);
  EXPECT_TRUE(boxes.Calls().empty());

  EXPECT_TRUE(Checked(c.modeRadio));
  EXPECT_FALSE(Checked(c.modeRadio == IDC_MODE_PLAY ? IDC_MODE_RECORD : IDC_MODE_PLAY));
  EXPECT_EQ(Enabled(IDC_DEVICE_BAUD), c.deviceBaudEnabled);
  EXPECT_EQ(Checked(IDC_DEVICE_BAUD), c.deviceBaudChecked);
  for (const auto& baud : kBaudRates) {
    EXPECT_EQ(Enabled(baud.radioId), c.baudEnabled) << baud.caption;
    EXPECT_EQ(Checked(baud.radioId), baud.radioId == c.baudRadio) << baud.caption;
  }
  for (const auto& row : kDataBits) EXPECT_EQ(Checked(row.radioId), row.radioId == c.dataRadio);
  for (const auto& row : kStopBits) EXPECT_EQ(Checked(row.radioId), row.radioId == c.stopRadio);
  for (const auto& row : kParity) EXPECT_EQ(Checked(row.radioId), row.radioId == c.parityRadio);
  EXPECT_EQ(Text(IDC_PLAYFILE), c.playFile);
  for (int id : {IDC_REPEAT_ONCE, IDC_REPEAT_COUNT, IDC_REPEAT_ENDLESS}) {
    EXPECT_EQ(Checked(id), id == c.repeatRadio) << id;
  }
  EXPECT_EQ(Enabled(IDC_REPEAT_VALUE), c.repeatValueEnabled);
  EXPECT_EQ(Text(IDC_REPEAT_VALUE), c.repeatValue);
  EXPECT_EQ(SaveSlot1(), c.savedAfter);
}

const std::vector<int> kInPlay = {IDC_MODE_PLAY, IDC_REPEAT_ENDLESS};

INSTANTIATE_TEST_SUITE_P(
    Records, LoadTest,
    ::testing::Values(
        LoadCase{"RecordWhileInPlay", kDefaults, kInPlay, IDC_MODE_RECORD, false, false, true,
                 IDC_BAUD_9600, IDC_DATABITS_8, IDC_STOPBITS_1, IDC_PARITY_NONE, "PLAYFILE.TXT",
                 IDC_REPEAT_ENDLESS, false, "2", With(kDefaults, {{18, 0xFF}})},
        LoadCase{"PlayLogFiveTimes", kPlayLog, {}, IDC_MODE_PLAY, true, false, true,
                 IDC_BAUD_115200, IDC_DATABITS_8, IDC_STOPBITS_1, IDC_PARITY_NONE, "LOG.TXT",
                 IDC_REPEAT_COUNT, true, "5", kPlayLog},
        LoadCase{"DeviceBaudKeepsTheWindowsRate", With(kPlayLog, {{5, 0x44}}), {}, IDC_MODE_PLAY,
                 true, true, false, IDC_BAUD_9600, IDC_DATABITS_8, IDC_STOPBITS_1, IDC_PARITY_NONE,
                 "LOG.TXT", IDC_REPEAT_COUNT, true, "5",
                 With(kPlayLog, {{0, 0x00}, {1, 0x60}, {5, 0x44}})},
        LoadCase{"Endless7E2", With(kPlayLog, {{2, 4}, {3, 8}, {4, 0x20}, {18, 0xFF}}), {},
                 IDC_MODE_PLAY, true, false, true, IDC_BAUD_115200, IDC_DATABITS_7,
                 IDC_STOPBITS_2, IDC_PARITY_EVEN, "LOG.TXT", IDC_REPEAT_ENDLESS, false, "2",
                 With(kPlayLog, {{2, 4}, {3, 8}, {4, 0x20}, {18, 0xFF}})},
        LoadCase{"RepeatZero", With(kPlayLog, {{18, 0}, {4, 0x30}, {2, 0}}), {}, IDC_MODE_PLAY,
                 true, false, true, IDC_BAUD_115200, IDC_DATABITS_5, IDC_STOPBITS_1,
                 IDC_PARITY_ODD, "LOG.TXT", IDC_REPEAT_COUNT, true, "0",
                 With(kPlayLog, {{18, 0}, {4, 0x30}, {2, 0}})},
        LoadCase{"RepeatOnceEmptyName",
                 [] {
                   Bytes b = kPlayLog;
                   std::copy(kEmptyName.begin(), kEmptyName.end(), b.begin() + 6);
                   b[18] = 1;
                   return b;
                 }(),
                 {}, IDC_MODE_PLAY, true, false, true, IDC_BAUD_115200, IDC_DATABITS_8,
                 IDC_STOPBITS_1, IDC_PARITY_NONE, "", IDC_REPEAT_ONCE, false, "2",
                 [] {
                   Bytes b = kPlayLog;
                   std::copy(kEmptyName.begin(), kEmptyName.end(), b.begin() + 6);
                   b[18] = 1;
                   return b;
                 }()},
        LoadCase{"TwelveLetterName",
                 With(kPlayLog, {{6, 'A'}, {7, 'B'}, {8, 'C'}, {9, 'D'}, {10, 'E'}, {11, 'F'},
                                 {12, 'G'}, {13, 'H'}, {14, '.'}, {15, 'T'}, {16, 'X'}, {17, 'T'}}),
                 {}, IDC_MODE_PLAY, true, false, true, IDC_BAUD_115200, IDC_DATABITS_8,
                 IDC_STOPBITS_1, IDC_PARITY_NONE, "ABCDEFGH.TXT", IDC_REPEAT_COUNT, true, "5",
                 With(kPlayLog, {{6, 'A'}, {7, 'B'}, {8, 'C'}, {9, 'D'}, {10, 'E'}, {11, 'F'},
                                 {12, 'G'}, {13, 'H'}, {14, '.'}, {15, 'T'}, {16, 'X'}, {17, 'T'}})},
        LoadCase{"TwentyBytesReadFromTheFirst19",
                 [] {
                   Bytes b = kPlayLog;
                   b.push_back(0x77);
                   return b;
                 }(),
                 {}, IDC_MODE_PLAY, true, false, true, IDC_BAUD_115200, IDC_DATABITS_8,
                 IDC_STOPBITS_1, IDC_PARITY_NONE, "LOG.TXT", IDC_REPEAT_COUNT, true, "5", kPlayLog},
        LoadCase{"UnknownModeTakesOnlyTheFrame",
                 With(kPlayLog, {{5, 0x05}, {2, 2}, {3, 8}, {4, 0x30}}), {}, IDC_MODE_RECORD,
                 false, false, true, IDC_BAUD_9600, IDC_DATABITS_6, IDC_STOPBITS_2, IDC_PARITY_ODD,
                 "PLAYFILE.TXT", IDC_REPEAT_ONCE, false, "2",
                 With(kDefaults, {{5, 0x05}, {2, 2}, {3, 8}, {4, 0x30}})},
        LoadCase{"BaudCodeZeroAndOddFrameCodes",
                 With(kDefaults, {{0, 0}, {1, 0}, {2, 1}, {3, 3}, {4, 0x10}}), {}, IDC_MODE_RECORD,
                 false, false, true, IDC_BAUD_9600, IDC_DATABITS_8, IDC_STOPBITS_1, IDC_PARITY_NONE,
                 "PLAYFILE.TXT", IDC_REPEAT_ONCE, false, "2",
                 With(kDefaults, {{0, 0}, {1, 0}, {2, 1}, {3, 3}, {4, 0x10}})}),
    [](const auto& param) { return std::string(param.param.name); });

TEST_F(MainWindowTest, ShortFileIsIgnoredWithoutAWord) {
  for (size_t size : {0u, 18u}) {
    WriteFile(Slot('D', 1), Bytes(kPlayLog.begin(), kPlayLog.begin() + static_cast<long>(size)));
    driver->Click(IDC_LOAD_CONFIG1);
    EXPECT_TRUE(boxes.Calls().empty()) << size;
    EXPECT_TRUE(Checked(IDC_MODE_RECORD)) << size;
    EXPECT_EQ(Settings().baudCode, 96u) << size;
  }
}

TEST_F(MainWindowTest, MissingSlotFileShowsItsMessage) {
  driver->Click(IDC_LOAD_CONFIG2);
  ASSERT_EQ(boxes.Calls().size(), 1u);
  EXPECT_EQ(boxes.Calls()[0].text,
            "Datei 'Config2.ini' konnte nicht gelesen werden!\nLaufwerk gewählt? "
            "Leseberechtigung vorhanden?");
  EXPECT_EQ(boxes.Calls()[0].caption, "Fehler");
  EXPECT_EQ(boxes.Calls()[0].style, MB_ICONERROR);
  EXPECT_TRUE(Checked(IDC_MODE_RECORD));
}

TEST_F(MainWindowTest, FailingReadChangesNothing) {
  WriteFile(Slot('D', 3), kPlayLog);
  {
    ravik::sys::ScopedFault broken(ravik::sys::SysCall::read, EIO);
    driver->Click(IDC_LOAD_CONFIG3);
  }
  ASSERT_EQ(boxes.Calls().size(), 1u);
  EXPECT_THAT(boxes.Calls()[0].text, HasSubstr("Datei 'Config3.ini' konnte nicht gelesen werden!"));
  EXPECT_TRUE(Checked(IDC_MODE_RECORD));
  EXPECT_EQ(Settings().baudCode, 96u);
}

TEST_F(MainWindowTest, LoadedNameRoundTripsItsBytes) {
  Bytes file = kPlayLog;
  const Bytes name = {0xC4, 0xE9, 0x80, 0x81, 0xFF, 0x02, '.', 'T', 'X', 'T', 0x7F, 'Z'};
  std::copy(name.begin(), name.end(), file.begin() + 6);
  WriteFile(Slot('D', 1), file);
  driver->Click(IDC_LOAD_CONFIG1);
  EXPECT_EQ(SaveSlot1(), file);
}

}  // namespace
}  // namespace uitest
