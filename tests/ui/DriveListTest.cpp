// The drive box: bare roots at start-up, roots with labels when opened.
#include <gmock/gmock.h>

#include "MainWindowFixture.h"

namespace uitest {
namespace {

using ::testing::ElementsAre;
using testseam::Key;

class DriveListTest : public MainWindowTest {
 protected:
  void SetUp() override {}  // each test arranges its volumes, then opens
};

TEST_F(DriveListTest, StartUpListsBareRootsAndSelectsTheFirst) {
  sticks.push_back({"/srv/share", "nfs", "server:/share", false, ""});
  sticks.push_back({(root / "e").string() + "/cd", "iso9660", "/dev/sr0", false, "DISC"});
  fs::create_directories(root / "e" / "cd");
  Open();
  const auto state = State(IDC_DRIVE);
  // Removable sticks, then the CD; the network share is never offered.
  EXPECT_THAT(state.items, ElementsAre("D:", "E:", "F:"));
  EXPECT_EQ(state.text, "D:");
  EXPECT_EQ(state.itemTips.front(), (root / "d").string());
  EXPECT_EQ(state.droppedWidth, 0);
}

TEST_F(DriveListTest, OpeningRefillsWithLabelsResizesAndSelectsTheFirst) {
  sticks[1].label = "LOGGER_DATA";  // 11 bytes
  Open();
  driver->PickItem(IDC_DRIVE, 1);
  driver->OpenDropDown(IDC_DRIVE);
  auto state = State(IDC_DRIVE);
  EXPECT_THAT(state.items, ElementsAre("D: STICK", "E: LOGGER_DATA"));
  EXPECT_EQ(state.text, "D: STICK");
  EXPECT_EQ(state.droppedWidth, 110);
  EXPECT_EQ(state.width, 89);
  EXPECT_EQ(state.height, 500);

  driver->PickItem(IDC_DRIVE, 1);
  EXPECT_EQ(Text(IDC_DRIVE), "E: LOGGER_DATA");
  driver->OpenDropDown(IDC_DRIVE);  // rebuilt from scratch: the pick is gone
  EXPECT_EQ(State(IDC_DRIVE).items.size(), 2u);
  EXPECT_EQ(Text(IDC_DRIVE), "D: STICK");
  driver->Press(Key::Escape);
}

TEST_F(DriveListTest, DriveWithoutLabelKeepsItsTrailingSpaceAndStillSaves) {
  sticks[0].label = "";
  Open();
  driver->OpenDropDown(IDC_DRIVE);
  driver->Press(Key::Escape);
  EXPECT_EQ(Text(IDC_DRIVE), "D: ");
  EXPECT_EQ(State(IDC_DRIVE).droppedWidth, 0);
  driver->Click(IDC_SAVE_CONFIG1);
  EXPECT_EQ(ReadFile(Slot('D', 1)).size(), 19u);
}

TEST_F(DriveListTest, NoDrivesGivesAnEmptyBox) {
  sticks = {{"/run/hidden", "tmpfs", "tmpfs", false, ""}};  // gets no letter
  Open();
  EXPECT_TRUE(State(IDC_DRIVE).items.empty());
  EXPECT_EQ(Text(IDC_DRIVE), "");
  driver->OpenDropDown(IDC_DRIVE);
  EXPECT_TRUE(State(IDC_DRIVE).items.empty());
  EXPECT_EQ(Text(IDC_DRIVE), "");
}

TEST_F(DriveListTest, TypedDriveSurvivesUntilTheNextOpening) {
  Open();
  driver->Clear(IDC_DRIVE);
  driver->Type(IDC_DRIVE, "E:\\DATEN");
  driver->Click(IDC_SAVE_CONFIG1);
  EXPECT_EQ(ReadFile(Slot('E', 1)).size(), 19u) << "E:\\DATEN saves to E:\\Config1.ini";
  EXPECT_THAT(State(IDC_DRIVE).items, ElementsAre("D:", "E:")) << "typed text is no entry";
  driver->OpenDropDown(IDC_DRIVE);
  EXPECT_EQ(Text(IDC_DRIVE), "D: STICK");
  driver->Press(Key::Escape);
}

TEST_F(DriveListTest, AfterTheFirstOpeningTheBoxComesFirstInTabOrder) {
  Open();
  EXPECT_EQ(driver->TabOrder().front(), IDC_EXIT);
  driver->OpenDropDown(IDC_DRIVE);
  driver->Press(Key::Escape);
  const auto order = driver->TabOrder();
  ASSERT_GE(order.size(), 2u);
  EXPECT_EQ(order[0], IDC_DRIVE);
  EXPECT_EQ(order[1], IDC_EXIT);
}

TEST_F(DriveListTest, LongLabelsAndForeignBytes) {
  sticks[0].label = std::string(255, 'L');
  sticks[1].label = "M\xFC" "ll\xE9r";  // not UTF-8: taken as code-page bytes
  Open();
  driver->OpenDropDown(IDC_DRIVE);
  const auto state = State(IDC_DRIVE);
  EXPECT_EQ(state.droppedWidth, 2550);
  ASSERT_EQ(state.items.size(), 2u);
  EXPECT_EQ(state.items[1], "E: Müllér");
  driver->Press(Key::Escape);
}

}  // namespace
}  // namespace uitest
