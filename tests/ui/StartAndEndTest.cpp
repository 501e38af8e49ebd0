// What the window shows when it opens, and how it ends.
#include <gmock/gmock.h>

#include "MainWindowFixture.h"
#include "config/CodeTables.h"
#include "ui/IconPlacement.h"

namespace uitest {
namespace {

using testseam::Key;
using ::testing::ElementsAre;

using StartTest = MainWindowTest;

TEST_F(StartTest, ControlsStartInRecordModeWithTheDefaults) {
  struct Expected {
    int id;
    bool enabled;
    int check;
    const char* text;  // nullptr: not checked
  };
  const Expected table[] = {
      {IDC_EXIT, true, 0, nullptr},          {IDC_INFO, true, 0, nullptr},
      {IDC_MODE_RECORD, true, 1, nullptr},   {IDC_MODE_PLAY, true, 0, nullptr},
      {IDC_DEVICE_BAUD, false, 0, nullptr},  {IDC_PLAYFILE, false, 0, "PLAYFILE.TXT"},
      {IDC_NAME_HELP, true, 0, nullptr},     {IDC_REPEAT_ONCE, false, 1, nullptr},
      {IDC_REPEAT_COUNT, false, 0, nullptr}, {IDC_REPEAT_VALUE, false, 0, "2"},
      {IDC_REPEAT_ENDLESS, false, 0, nullptr}, {IDC_DRIVE, true, 0, "D:"},
      {IDC_LOAD_CONFIG1, true, 0, nullptr},  {IDC_SAVE_CONFIG1, true, 0, nullptr},
      {IDC_LOAD_CONFIG2, true, 0, nullptr},  {IDC_SAVE_CONFIG2, true, 0, nullptr},
      {IDC_LOAD_CONFIG3, true, 0, nullptr},  {IDC_SAVE_CONFIG3, true, 0, nullptr},
      {IDC_STARTBIT_1, true, 1, nullptr},    {IDC_DATABITS_5, true, 0, nullptr},
      {IDC_DATABITS_6, true, 0, nullptr},    {IDC_DATABITS_7, true, 0, nullptr},
      {IDC_DATABITS_8, true, 1, nullptr},    {IDC_STOPBITS_1, true, 1, nullptr},
      {IDC_STOPBITS_2, true, 0, nullptr},    {IDC_PARITY_NONE, true, 1, nullptr},
      {IDC_PARITY_EVEN, true, 0, nullptr},   {IDC_PARITY_ODD, true, 0, nullptr},
  };
  for (const auto& row : table) {
    SCOPED_TRACE(row.id);
    EXPECT_EQ(Enabled(row.id), row.enabled);
    EXPECT_EQ(State(row.id).check, row.check);
    if (row.text) {
      EXPECT_EQ(Text(row.id), row.text);
    }
  }
  for (const auto& baud : kBaudRates) {
    SCOPED_TRACE(baud.caption);
    EXPECT_TRUE(Enabled(baud.radioId));
    EXPECT_EQ(Checked(baud.radioId), baud.rate == 9600);
  }
  EXPECT_EQ(driver->FocusedId(), IDC_EXIT);
  EXPECT_EQ(driver->Caption(), "Vendra - Serial to USB-Stick Datalogger - Ravik 1");

  // The edit shows "2", yet the settings hold a single playback.
  const LoggerSettings& s = Settings();
  EXPECT_EQ(s.baudCode, 96u);
  EXPECT_EQ(s.modeCode, 3);
  EXPECT_EQ(s.dataBitsCode, 6);
  EXPECT_EQ(s.stopBitsCode, 0);
  EXPECT_EQ(s.parityCode, 0);
  EXPECT_EQ(s.repeatCount, 1u);
}

TEST_F(StartTest, TabWalksFromBeendenThroughTheEnabledTabStops) {
  EXPECT_THAT(driver->TabOrder(),
              ElementsAre(IDC_EXIT, IDC_INFO, IDC_MODE_RECORD, IDC_NAME_HELP, IDC_DRIVE,
                          IDC_LOAD_CONFIG1, IDC_SAVE_CONFIG1, IDC_LOAD_CONFIG2, IDC_SAVE_CONFIG2,
                          IDC_LOAD_CONFIG3, IDC_SAVE_CONFIG3,
                          // The template's stops, and each radio that start-up
                          // checked gains one.
                          IDC_BAUD_300, IDC_BAUD_9600, IDC_STARTBIT_1, IDC_DATABITS_5,
                          IDC_DATABITS_8, IDC_STOPBITS_1, IDC_PARITY_NONE));
  driver->Press(Key::Tab);
  EXPECT_EQ(driver->FocusedId(), IDC_INFO);
  driver->Press(Key::Tab);
  EXPECT_EQ(driver->FocusedId(), IDC_MODE_RECORD);
}

TEST_F(StartTest, EnterRightAfterStartEndsTheProgram) {
  driver->Press(Key::Enter);
  EXPECT_FALSE(driver->IsOpen());
  EXPECT_EQ(window->Result(), IDOK);
}

TEST_F(StartTest, EnterAfterClickingIntoTheWindowDoesNothing) {
  for (int id : {IDC_PARITY_ODD, IDC_DRIVE}) {
    driver->Click(id);
    driver->Press(Key::Enter);
    EXPECT_TRUE(driver->IsOpen()) << id;
  }
  driver->Click(IDC_MODE_PLAY);
  driver->Click(IDC_PLAYFILE);
  driver->Press(Key::Enter);
  EXPECT_TRUE(driver->IsOpen());
  EXPECT_TRUE(boxes.Calls().empty());
}

TEST_F(StartTest, EscapeCloseBoxAltF4AndBeendenEndWithoutAQuestion) {
  const struct {
    const char* how;
    INT_PTR result;
  } ends[] = {{"Escape", IDCANCEL}, {"close box", IDCANCEL}, {"Alt+F4", IDCANCEL}, {"Beenden", IDOK}};
  for (const auto& end : ends) {
    SCOPED_TRACE(end.how);
    Open();
    driver->Click(IDC_MODE_PLAY);  // a changed setting asks nothing either
    const std::string how = end.how;
    if (how == "Escape") driver->Press(Key::Escape);
    if (how == "close box") driver->CloseBox();
    if (how == "Alt+F4") driver->Press(Key::AltF4);
    if (how == "Beenden") driver->Click(IDC_EXIT);
    EXPECT_FALSE(driver->IsOpen());
    EXPECT_EQ(window->Result(), end.result);
  }
  EXPECT_TRUE(boxes.Calls().empty());
  EXPECT_TRUE(fs::is_empty(root / "d")) << "nothing is saved on the way out";
}

TEST_F(StartTest, ASecondStartShowsTheDefaultsAgain) {
  driver->Click(IDC_MODE_PLAY);
  driver->Click(IDC_BAUD_115200);
  driver->Click(IDC_SAVE_CONFIG1);
  Open();
  EXPECT_TRUE(Checked(IDC_MODE_RECORD));
  EXPECT_TRUE(Checked(IDC_BAUD_9600));
  EXPECT_EQ(Settings().baudCode, 96u);
}

TEST_F(StartTest, InfoOpensTheAboutBoxAndEnterClosesIt) {
  testseam::ModalRun run;
  std::string caption;
  testseam::OnNextModal(
      [&](testseam::DialogDriver& about) {
        caption = about.Caption();
        EXPECT_EQ(about.FocusedId(), IDOK);
        about.Press(Key::Enter);
      },
      &run);
  driver->Click(IDC_INFO);
  EXPECT_EQ(run.templateId, static_cast<UINT>(IDD_ABOUTBOX));
  EXPECT_EQ(caption, "Info über Ravik 1");
  EXPECT_TRUE(run.ownerWasDisabled);
  EXPECT_FALSE(run.leftOpen);
  EXPECT_EQ(run.result, IDOK);
  EXPECT_TRUE(driver->IsEnabled());
}

TEST_F(StartTest, RulesDialogOpensInRecordModeAndEscapeClosesIt) {
  ASSERT_FALSE(Enabled(IDC_PLAYFILE));
  testseam::ModalRun run;
  std::string caption;
  testseam::OnNextModal(
      [&](testseam::DialogDriver& rules) {
        caption = rules.Caption();
        rules.Press(Key::Escape);
      },
      &run);
  driver->Click(IDC_NAME_HELP);
  EXPECT_EQ(run.templateId, static_cast<UINT>(IDD_TIMEFORMAT));
  EXPECT_EQ(caption, "Format der Dateinamen für Wiedergabe-Datei");
  EXPECT_FALSE(run.leftOpen);
  EXPECT_EQ(run.result, IDCANCEL);
  // Settings and controls are untouched by it.
  EXPECT_TRUE(Checked(IDC_MODE_RECORD));
}

TEST_F(StartTest, SystemCommandsOpenTheAboutBoxOrEndTheWindow) {
  // Every id 16 to 31 is the About entry; other commands get default handling.
  for (UINT command : {0x10u, 0x1Fu}) {
    testseam::ModalRun run;
    testseam::OnNextModal([](testseam::DialogDriver& about) { about.Press(Key::Escape); }, &run);
    window->SendMessage(WM_SYSCOMMAND, command, 0);
    EXPECT_EQ(run.templateId, static_cast<UINT>(IDD_ABOUTBOX)) << command;
    EXPECT_TRUE(driver->IsOpen());
  }
  window->SendMessage(WM_SYSCOMMAND, SC_CLOSE, 0);
  EXPECT_FALSE(driver->IsOpen());
  EXPECT_EQ(window->Result(), IDCANCEL);
}

TEST_F(StartTest, F1ShowsNothingAndChangesNothing) {
  driver->Press(Key::F1);
  EXPECT_TRUE(driver->IsOpen());
  EXPECT_TRUE(boxes.Calls().empty());
}

TEST_F(StartTest, EditsAndDriveBoxAreNamedByTheirLabels) {
  EXPECT_EQ(State(IDC_PLAYFILE).accessibleName, "Wiedergabedatei :");
  EXPECT_EQ(State(IDC_REPEAT_VALUE).accessibleName, "Anzahl der Wiedergaben :");
  EXPECT_EQ(State(IDC_DRIVE).accessibleName, "USB-Stick-Laufwerk :");
  EXPECT_EQ(State(IDC_MODE_PLAY).accessibleName, "Wiedergabe (Play) :");
  EXPECT_EQ(State(IDC_MODE_PLAY).accessibleRole, "radio button");
  EXPECT_EQ(State(IDC_DEVICE_BAUD).accessibleRole, "check box");
}

TEST(IconPlacementTest, CentresAndTruncatesTowardZero) {
  EXPECT_EQ(IconOrigin(36, 32), 2);
  EXPECT_EQ(IconOrigin(35, 32), 2);
  EXPECT_EQ(IconOrigin(0, 32), -15);
}

}  // namespace
}  // namespace uitest
