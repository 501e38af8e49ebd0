// The drive box over more volumes than letters, over labels no stick should
// have, and over a volume that goes away after the list was filled.
#include <gmock/gmock.h>

#include <cstdio>

#include "FaultMatrix.h"

namespace faults {
namespace {

using testseam::Key;

class DriveFaultTest : public uitest::MainWindowTest {
 protected:
  void SetUp() override {}  // each test arranges its volumes, then opens

  // Saves slot 1 with the box showing entry index of the open list.
  void SaveThroughEntry(int index) {
    driver->OpenDropDown(IDC_DRIVE);
    driver->PickItem(IDC_DRIVE, index);
    boxes.Clear();
    driver->Click(IDC_SAVE_CONFIG1);
  }
};

TEST_F(DriveFaultTest, ThirtyVolumesFillTheLettersUpToZ) {
  sticks.clear();
  for (int i = 0; i < 30; ++i) {
    char name[8];
    std::snprintf(name, sizeof name, "v%02d", i);
    fs::create_directories(root / name);
    sticks.push_back({.mountPoint = (root / name).string(),
                      .fsType = "vfat",
                      .source = "/dev/sd" + std::string(1, static_cast<char>('b' + i % 20)) +
                                std::to_string(i + 1),
                      .removable = true,
                      .label = std::string("L") + name});
  }
  Open();
  const auto start = State(IDC_DRIVE);
  ASSERT_EQ(start.items.size(), 23u) << "D: to Z:";
  EXPECT_EQ(start.items.front(), "D:");
  EXPECT_EQ(start.items.back(), "Z:");
  EXPECT_EQ(start.itemTips.back(), (root / "v22").string());

  SaveThroughEntry(22);
  EXPECT_TRUE(boxes.Calls().empty());
  const auto opened = State(IDC_DRIVE);
  EXPECT_EQ(opened.items.size(), 23u);
  EXPECT_EQ(opened.items.back(), "Z: Lv22");
  EXPECT_EQ(opened.droppedWidth, 40);
  for (int i = 0; i < 30; ++i) {
    char name[8];
    std::snprintf(name, sizeof name, "v%02d", i);
    EXPECT_EQ(fs::exists(root / name / "Config1.ini"), i == 22) << name;
  }
}

// Whatever the label, the entry begins with the letter and a colon, so the
// save lands on that stick; the list is as wide as the label's code-page
// bytes, at most 255 of them.
TEST_F(DriveFaultTest, LabelsNoStickShouldHave) {
  const struct {
    const char* what;
    std::string label;
    std::string entry;  // UTF-8, as the box shows it
    int droppedWidth;
  } cases[] = {
      {"255 bytes", std::string(255, 'A'), "D: " + std::string(255, 'A'), 2550},
      {"300 bytes, cut to what 256 bytes hold", std::string(300, 'B'),
       "D: " + std::string(255, 'B'), 2550},
      {"255 UTF-8 bytes of 85 euro signs, 85 code-page bytes", [] {
         std::string s;
         for (int i = 0; i < 85; ++i) s += "\xE2\x82\xAC";
         return s;
       }(),
       [] {
         std::string s = "D: ";
         for (int i = 0; i < 85; ++i) s += "\xE2\x82\xAC";
         return s;
       }(),
       850},
      {"bytes that are not UTF-8", "\xFF\xFE\x81LOG\xC3", "D: \xC3\xBF\xC3\xBE\xC2\x81LOG\xC3\x83",
       70},
      {"characters the code page lacks", "\xE6\x97\xA5\xE6\x9C\xAC", "D: ??", 20},
      {"a label that looks like another drive", "E:\\", "D: E:\\", 30},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    sticks[0].label = c.label;
    fs::remove(Slot('D', 1));
    Open();
    SaveThroughEntry(0);
    const auto state = State(IDC_DRIVE);
    EXPECT_EQ(state.text, c.entry);
    EXPECT_EQ(state.droppedWidth, c.droppedWidth);
    EXPECT_TRUE(boxes.Calls().empty());
    EXPECT_EQ(uitest::ReadFile(Slot('D', 1)).size(), 19u);
    EXPECT_FALSE(fs::exists(Slot('E', 1)));
  }
}

// The box still names a stick that has gone since the list was filled.
TEST_F(DriveFaultTest, VolumeGoneSinceTheFill) {
  Open();
  driver->OpenDropDown(IDC_DRIVE);
  driver->PickItem(IDC_DRIVE, 1);
  ASSERT_EQ(Text(IDC_DRIVE), "E: ");
  sticks.pop_back();
  UseVolumes();
  const std::string before = SettingsPicture(*this);

  driver->Click(IDC_SAVE_CONFIG1);
  driver->Click(IDC_LOAD_CONFIG1);
  ASSERT_EQ(boxes.Calls().size(), 2u);
  EXPECT_EQ(boxes.Calls()[0].text,
            "Datei 'Config1.ini' konnte nicht erstellt werden!\nLaufwerk gewählt? Schreibschutz "
            "vorhanden?");
  EXPECT_EQ(boxes.Calls()[1].text,
            "Datei 'Config1.ini' konnte nicht gelesen werden!\nLaufwerk gewählt? "
            "Leseberechtigung vorhanden?");
  EXPECT_EQ(SettingsPicture(*this), before);
  EXPECT_TRUE(fs::is_empty(root / "d"));
  EXPECT_TRUE(fs::is_empty(root / "e"));
}

// When D:'s stick goes, E:'s stick stays E:, so a save to the "D:" still
// in the box fails instead of writing over the other stick's slot; the
// next opening of the list shows E: alone.
TEST_F(DriveFaultTest, LetterOfAGoneVolumeIsNotPassedOn) {
  uitest::WriteFile(Slot('E', 1), Bytes(19, 0x42));
  Open();
  ASSERT_EQ(Text(IDC_DRIVE), "D:");
  sticks.erase(sticks.begin());
  UseVolumes();

  driver->Click(IDC_SAVE_CONFIG1);
  ASSERT_EQ(boxes.Calls().size(), 1u);
  EXPECT_EQ(boxes.Calls()[0].text,
            "Datei 'Config1.ini' konnte nicht erstellt werden!\nLaufwerk gewählt? Schreibschutz "
            "vorhanden?");
  EXPECT_EQ(uitest::ReadFile(Slot('E', 1)), Bytes(19, 0x42));
  driver->OpenDropDown(IDC_DRIVE);
  EXPECT_THAT(State(IDC_DRIVE).items, testing::ElementsAre("E: "));
}

}  // namespace
}  // namespace faults

