// Clicks on the setting controls: the field each writes, the operating
// states with their enabled controls, and the repeat value's rules.
#include "MainWindowFixture.h"
#include "config/CodeTables.h"

namespace uitest {
namespace {

using SettingControlsTest = MainWindowTest;

TEST_F(SettingControlsTest, EachFrameRadioWritesItsCode) {
  for (const auto& baud : kBaudRates) {
    driver->Click(baud.radioId);
    EXPECT_EQ(Settings().baudCode, baud.code) << baud.caption;
  }
  for (const auto& choice : kDataBits) {
    driver->Click(choice.radioId);
    EXPECT_EQ(Settings().dataBitsCode, choice.code);
  }
  for (const auto& choice : kStopBits) {
    driver->Click(choice.radioId);
    EXPECT_EQ(Settings().stopBitsCode, choice.code);
  }
  for (const auto& choice : kParity) {
    driver->Click(choice.radioId);
    EXPECT_EQ(Settings().parityCode, choice.code);
  }
  // The start bit has one choice and no field.
  const LoggerSettings before = Settings();
  driver->Click(IDC_STARTBIT_1);
  EXPECT_TRUE(Checked(IDC_STARTBIT_1));
  EXPECT_EQ(Record(EncodeConfigRecord(Settings(), "")), Record(EncodeConfigRecord(before, "")));
}

enum class Baud { Enabled, Disabled };

struct OperatingState {
  const char* name;
  std::vector<int> clicks;
  std::uint8_t mode;
  bool playControls;  // 1013, 1072, 1073, 1074, 1078
  bool repeatValue;   // 1046
  Baud baud;
  bool deviceBaudChecked;
};

void PrintTo(const OperatingState& state, std::ostream* out) { *out << state.name; }

class OperatingStates : public MainWindowTest,
                        public ::testing::WithParamInterface<OperatingState> {};

TEST_P(OperatingStates, ClicksLeadToTheState) {
  const OperatingState& expected = GetParam();
  for (int id : expected.clicks) driver->Click(id);
  EXPECT_EQ(Settings().modeCode, expected.mode);
  for (int id : {IDC_PLAYFILE, IDC_REPEAT_ONCE, IDC_REPEAT_COUNT, IDC_REPEAT_ENDLESS, IDC_DEVICE_BAUD}) {
    EXPECT_EQ(Enabled(id), expected.playControls) << id;
  }
  EXPECT_EQ(Enabled(IDC_REPEAT_VALUE), expected.repeatValue);
  for (const auto& baud : kBaudRates) {
    EXPECT_EQ(Enabled(baud.radioId), expected.baud == Baud::Enabled) << baud.caption;
  }
  EXPECT_EQ(Checked(IDC_DEVICE_BAUD), expected.deviceBaudChecked);
  EXPECT_EQ(Checked(IDC_MODE_PLAY), expected.mode != 3);
  EXPECT_EQ(Checked(IDC_MODE_RECORD), expected.mode == 3);
  EXPECT_TRUE(Enabled(IDC_NAME_HELP));
}

const int kPlay = IDC_MODE_PLAY, kRecord = IDC_MODE_RECORD, kDevice = IDC_DEVICE_BAUD,
          kValue = IDC_REPEAT_COUNT, kOnce = IDC_REPEAT_ONCE;

INSTANTIATE_TEST_SUITE_P(
    Table, OperatingStates,
    ::testing::Values(
        OperatingState{"Play", {kPlay}, 4, true, false, Baud::Enabled, false},
        OperatingState{"PlayTwice", {kPlay, kPlay}, 4, true, false, Baud::Enabled, false},
        OperatingState{"DeviceBaud", {kPlay, kDevice}, 68, true, false, Baud::Disabled, true},
        OperatingState{"DeviceBaudOff", {kPlay, kDevice, kDevice}, 4, true, false, Baud::Enabled, false},
        OperatingState{"DeviceBaudThenRecord", {kPlay, kDevice, kRecord}, 3, false, false, Baud::Enabled, true},
        OperatingState{"DeviceBaudRecordPlay", {kPlay, kDevice, kRecord, kPlay}, 68, true, false, Baud::Disabled, true},
        OperatingState{"Value", {kPlay, kValue}, 4, true, true, Baud::Enabled, false},
        OperatingState{"ValueThenOnce", {kPlay, kValue, kOnce}, 4, true, false, Baud::Enabled, false},
        OperatingState{"ValueRecordPlay", {kPlay, kValue, kRecord, kPlay}, 4, true, false, Baud::Enabled, false},
        OperatingState{"ValueRecordPlayValue", {kPlay, kValue, kRecord, kPlay, kValue}, 4, true, true, Baud::Enabled, false}),
    [](const auto& param) { return std::string(param.param.name); });

TEST_F(SettingControlsTest, DeviceBaudKeepsTheLastRateChosen) {
  driver->Click(IDC_BAUD_19200);
  driver->Click(IDC_MODE_PLAY);
  driver->Click(IDC_DEVICE_BAUD);
  EXPECT_EQ(Settings().modeCode, 68);
  EXPECT_EQ(Settings().baudCode, 192u);
  EXPECT_TRUE(Checked(IDC_BAUD_19200));
  driver->Click(IDC_BAUD_300);  // disabled: the click does nothing
  EXPECT_EQ(Settings().baudCode, 192u);
}

TEST_F(SettingControlsTest, PlayUnchecksRecordButLeavesTheCheckBox) {
  driver->Click(IDC_MODE_PLAY);
  driver->Click(IDC_DEVICE_BAUD);
  driver->Click(IDC_MODE_RECORD);
  EXPECT_FALSE(Checked(IDC_MODE_PLAY));
  EXPECT_TRUE(Checked(IDC_DEVICE_BAUD));
  driver->Click(IDC_MODE_PLAY);
  EXPECT_FALSE(Checked(IDC_MODE_RECORD));
  EXPECT_TRUE(Checked(IDC_DEVICE_BAUD));
}

TEST_F(SettingControlsTest, RepeatChoicesAndTheirCounts) {
  driver->Click(IDC_MODE_PLAY);
  driver->Click(IDC_REPEAT_COUNT);  // reads the "2" shown since start-up
  EXPECT_EQ(Settings().repeatCount, 2u);
  driver->Click(IDC_REPEAT_ENDLESS);
  EXPECT_EQ(Settings().repeatCount, 255u);
  EXPECT_FALSE(Enabled(IDC_REPEAT_VALUE));
  EXPECT_EQ(Text(IDC_REPEAT_VALUE), "2");
  driver->Click(IDC_MODE_RECORD);  // the choice is kept and saved in record mode too
  EXPECT_EQ(Settings().repeatCount, 255u);
  EXPECT_EQ(SaveSlot1()[18], 0xFF);
  driver->Click(IDC_MODE_PLAY);
  driver->Click(IDC_REPEAT_ONCE);
  EXPECT_EQ(Settings().repeatCount, 1u);
}

struct Typing {
  const char* keys;
  std::uint32_t count;
  const char* text;
};

TEST_F(SettingControlsTest, TypedRepeatValuesAreClampedTo254) {
  const struct {
    const char* name;
    std::vector<Typing> steps;
  } sequences[] = {
      {"3 0 0", {{"3", 3, "3"}, {"0", 30, "30"}, {"0", 254, "254"}}},
      {"minus", {{"-", 0, "-"}, {"1", 254, "254"}}},
      {"letters", {{"a", 0, "a"}, {"7", 0, "a7"}}},
      {"digits then letter", {{"1", 1, "1"}, {"x", 1, "1x"}}},
      {"limit of three", {{"1234", 123, "123"}}},
  };
  for (const auto& sequence : sequences) {
    SCOPED_TRACE(sequence.name);
    Open();
    driver->Click(IDC_MODE_PLAY);
    driver->Click(IDC_REPEAT_COUNT);
    driver->Clear(IDC_REPEAT_VALUE);
    EXPECT_EQ(Settings().repeatCount, 0u) << "an empty text reads as 0";
    for (const auto& step : sequence.steps) {
      driver->Type(IDC_REPEAT_VALUE, step.keys);
      EXPECT_EQ(Settings().repeatCount, step.count) << step.keys;
      EXPECT_EQ(Text(IDC_REPEAT_VALUE), step.text) << step.keys;
      EXPECT_TRUE(Checked(IDC_REPEAT_COUNT));
      EXPECT_FALSE(Checked(IDC_REPEAT_ONCE));
      EXPECT_FALSE(Checked(IDC_REPEAT_ENDLESS));
    }
  }
}

TEST_F(SettingControlsTest, ClearedValueReadsZeroAgainOnClick) {
  driver->Click(IDC_MODE_PLAY);
  driver->Click(IDC_REPEAT_COUNT);
  driver->Clear(IDC_REPEAT_VALUE);
  driver->Click(IDC_REPEAT_ONCE);
  driver->Click(IDC_REPEAT_COUNT);
  EXPECT_EQ(Settings().repeatCount, 0u);
  EXPECT_EQ(SaveSlot1()[18], 0x00);
}

TEST_F(SettingControlsTest, ValueSurvivesRecordAndPlayDisabledUntilClickedAgain) {
  driver->Click(IDC_MODE_PLAY);
  driver->Click(IDC_REPEAT_COUNT);
  driver->Clear(IDC_REPEAT_VALUE);
  driver->Type(IDC_REPEAT_VALUE, "12");
  driver->Click(IDC_MODE_RECORD);
  driver->Click(IDC_MODE_PLAY);
  EXPECT_TRUE(Checked(IDC_REPEAT_COUNT));
  EXPECT_FALSE(Enabled(IDC_REPEAT_VALUE));
  EXPECT_EQ(Text(IDC_REPEAT_VALUE), "12");
  EXPECT_EQ(Settings().repeatCount, 12u);
  driver->Click(IDC_REPEAT_COUNT);
  EXPECT_TRUE(Enabled(IDC_REPEAT_VALUE));
}

TEST_F(SettingControlsTest, PlayFileNameTakesTwelveCharacters) {
  driver->Click(IDC_MODE_PLAY);
  driver->Clear(IDC_PLAYFILE);
  driver->Type(IDC_PLAYFILE, "ABCDEFGH.TXTX");
  EXPECT_EQ(Text(IDC_PLAYFILE), "ABCDEFGH.TXT");
}

}  // namespace
}  // namespace uitest
