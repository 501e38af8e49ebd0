#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/Drives.h"
#include "platform/linux/DriveLetters.h"
#include "platform/linux/FakeVolumes.h"
#include "platform/linux/MountTable.h"
#include "platform/linux/VolumeSource.h"
#include "tests/sys/SysTestSupport.h"

namespace {

using ravik::sys::BlockDeviceInfo;
using ravik::sys::FakeVolume;
using ravik::sys::FakeVolumeSource;
using ravik::sys::ScopedVolumeSource;

struct Letter {
  char letter;
  UINT type;
  std::string mountPoint;
  std::string label;  // code page bytes
};

// What the drive services answer for every letter; letters without a
// drive are left out.
std::vector<Letter> AskAllLetters() {
  std::vector<Letter> letters;
  for (char c = 'A'; c <= 'Z'; ++c) {
    const char root[] = {c, ':', '\0'};
    const UINT type = GetDriveTypeA(root);
    if (type == DRIVE_NO_ROOT_DIR) {
      EXPECT_EQ(QueryMountPoint(root), "") << root;
      EXPECT_EQ(QueryVolumeLabel(root), "") << root;
      continue;
    }
    letters.push_back({c, type, QueryMountPoint(root), QueryVolumeLabel(root)});
  }
  return letters;
}

void ExpectLetters(const std::vector<Letter>& expected) {
  const std::vector<Letter> actual = AskAllLetters();
  ASSERT_EQ(actual.size(), expected.size());
  for (std::size_t i = 0; i < expected.size(); ++i) {
    const Letter& e = expected[i];
    SCOPED_TRACE(std::string(1, e.letter) + ": " + e.mountPoint);
    EXPECT_EQ(actual[i].letter, e.letter);
    EXPECT_EQ(actual[i].type, e.type);
    EXPECT_EQ(actual[i].mountPoint, e.mountPoint);
    EXPECT_EQ(actual[i].label, e.label);
  }
}

// A desktop with sticks, a CD, RAM disks, network shares and the mounts a
// system makes for itself; the device facts are what sysfs would say.
TEST(DriveLetters, DesktopMountTable) {
  FakeVolumeSource volumes;
  volumes.mountInfo = systest::ReadBytes(RAVIK_TEST_DATA "/desktop.mountinfo");
  ASSERT_FALSE(volumes.mountInfo.empty());
  volumes.devices = {
      {"/dev/nvme0n1p1", {"nvme0n1", false}},
      {"/dev/nvme0n1p2", {"nvme0n1", false}},
      {"/dev/nvme0n1p3", {"nvme0n1", false}},
      {"/dev/loop3", {"loop3", false}},
      {"/dev/sdb1", {"sdb", true}},
      {"/dev/sdc1", {"sdc", true}},
      {"/dev/sr0", {"sr0", true}},
      {"/dev/zram1", {"zram1", false}},
      {"/dev/sdd1", {"sdd", true}},
      {"/dev/sda1", {"sda", false}},
      {"/dev/sde1", {"sde", true}},
      {"/dev/sdf1", {"", false}},
  };
  volumes.labels = {
      {"/", "debian"},
      {"/media/anna/STICK", "STICK"},
      {"/media/anna/Urlaub 2023", "Urlaub 2023"},
      {"/run/media/anna/BACKUP", "BACKUP"},
      {"/opt/usb", "KÄSE"},
      {"/srv/stick-copy", "STICK"},
  };
  const ScopedVolumeSource guard(volumes);
  // Not lettered: /proc /sys /dev /run and below, /boot/efi, /tmp (tmpfs
  // outside the media folders), the snap, the bind mounts of folders
  // /srv/www and /mnt/tmp-share, and /srv/stick-copy, the second mount of
  // the STICK.
  ExpectLetters({
      {'C', DRIVE_FIXED, "/", "debian"},
      {'D', DRIVE_REMOVABLE, "/media/anna/3A7F-11C2", ""},
      {'E', DRIVE_REMOVABLE, "/media/anna/STICK", "STICK"},
      {'F', DRIVE_REMOVABLE, "/opt/usb", "K\xC4SE"},
      {'G', DRIVE_REMOVABLE, "/run/media/anna/BACKUP", "BACKUP"},
      {'H', DRIVE_CDROM, "/media/anna/Urlaub 2023", "Urlaub 2023"},
      {'I', DRIVE_FIXED, "/data", ""},
      {'J', DRIVE_FIXED, "/home", ""},
      {'K', DRIVE_UNKNOWN, "/mnt/odd", ""},
      {'L', DRIVE_RAMDISK, "/media/ram", ""},
      {'M', DRIVE_RAMDISK, "/var/cache/zram", ""},
      {'N', DRIVE_REMOTE, "/home/anna/remote", ""},
      {'O', DRIVE_REMOTE, "/mnt/nas", ""},
      {'P', DRIVE_REMOTE, "/mnt/share", ""},
  });
}

TEST(DriveLetters, RootIsDriveC) {
  {
    // A container or live system: the root is an overlay of no device.
    const FakeVolumeSource volumes({{.mountPoint = "/", .fsType = "overlay"},
                                    {.mountPoint = "/media/stick",
                                     .fsType = "vfat",
                                     .source = "/dev/sdb1",
                                     .removable = true}});
    const ScopedVolumeSource guard(volumes);
    ExpectLetters({{'C', DRIVE_FIXED, "/", ""}, {'D', DRIVE_REMOVABLE, "/media/stick", ""}});
  }
  {
    // No root in sight: C: stays free, the stick still starts at D:.
    const FakeVolumeSource volumes({{.mountPoint = "/media/stick",
                                     .fsType = "vfat",
                                     .source = "/dev/sdb1",
                                     .removable = true}});
    const ScopedVolumeSource guard(volumes);
    ExpectLetters({{'D', DRIVE_REMOVABLE, "/media/stick", ""}});
  }
}

TEST(DriveLetters, LettersEndAtZ) {
  std::vector<FakeVolume> list{{.mountPoint = "/", .source = "/dev/sda1"}};
  for (int i = 1; i <= 30; ++i) {
    const std::string n = (i < 10 ? "0" : "") + std::to_string(i);
    list.push_back({.mountPoint = "/media/v" + n,
                    .fsType = "vfat",
                    .source = "/dev/v" + n,
                    .removable = true});
  }
  const FakeVolumeSource volumes(list);
  const ScopedVolumeSource guard(volumes);
  const std::vector<Letter> letters = AskAllLetters();
  ASSERT_EQ(letters.size(), 24u);  // C: to Z:
  EXPECT_EQ(letters.front().mountPoint, "/");
  EXPECT_EQ(letters[1].mountPoint, "/media/v01");
  EXPECT_EQ(letters.back().letter, 'Z');
  EXPECT_EQ(letters.back().mountPoint, "/media/v23");
}

// Sticks come and go under the running program: a volume keeps its
// letter while it stays, and a new one takes the first letter nobody holds.
TEST(DriveLetters, LettersStayWithTheirVolumes) {
  const FakeVolume root{.mountPoint = "/", .source = "/dev/sda1"};
  const FakeVolume a{
      .mountPoint = "/media/a", .fsType = "vfat", .source = "/dev/sdb1", .removable = true};
  const FakeVolume b{
      .mountPoint = "/media/b", .fsType = "vfat", .source = "/dev/sdc1", .removable = true};
  const FakeVolume c{
      .mountPoint = "/media/c", .fsType = "vfat", .source = "/dev/sdd1", .removable = true};
  const FakeVolume cd{.mountPoint = "/media/cd", .fsType = "iso9660", .source = "/dev/sr0"};
  const FakeVolume otherInA{
      .mountPoint = "/media/a", .fsType = "vfat", .source = "/dev/sde1", .removable = true};
  struct Step {
    std::vector<FakeVolume> mounted;
    std::vector<Letter> letters;
  } steps[] = {
      {{root, a, b},
       {{'C', DRIVE_FIXED, "/", ""},
        {'D', DRIVE_REMOVABLE, "/media/a", ""},
        {'E', DRIVE_REMOVABLE, "/media/b", ""}}},
      {{root, b}, {{'C', DRIVE_FIXED, "/", ""}, {'E', DRIVE_REMOVABLE, "/media/b", ""}}},
      {{root, b, cd, c},
       {{'C', DRIVE_FIXED, "/", ""},
        {'D', DRIVE_REMOVABLE, "/media/c", ""},
        {'E', DRIVE_REMOVABLE, "/media/b", ""},
        {'F', DRIVE_CDROM, "/media/cd", ""}}},
      {{root, a, b, cd, c},
       {{'C', DRIVE_FIXED, "/", ""},
        {'D', DRIVE_REMOVABLE, "/media/c", ""},
        {'E', DRIVE_REMOVABLE, "/media/b", ""},
        {'F', DRIVE_CDROM, "/media/cd", ""},
        {'G', DRIVE_REMOVABLE, "/media/a", ""}}},
      // Another stick where a was is another volume.
      {{root, otherInA, b},
       {{'C', DRIVE_FIXED, "/", ""},
        {'D', DRIVE_REMOVABLE, "/media/a", ""},
        {'E', DRIVE_REMOVABLE, "/media/b", ""}}},
  };
  FakeVolumeSource volumes;
  const ScopedVolumeSource guard(volumes);
  for (std::size_t i = 0; i < std::size(steps); ++i) {
    SCOPED_TRACE("step " + std::to_string(i + 1));
    volumes.Remount(steps[i].mounted);
    ExpectLetters(steps[i].letters);
  }
  // A source of its own starts afresh.
  const FakeVolumeSource fresh({root, b});
  EXPECT_EQ(ravik::sys::ListDrives(fresh).back().letter, 'D');
}

TEST(DriveLetters, LabelsInTheCodePage) {
  struct Case {
    const char* what;
    std::string stored;
    std::string shown;
  };
  const Case cases[] = {
      {"ASCII", "STICK", "STICK"},
      {"Latin-1 letter", "Café", "Caf\xE9"},
      {"character the code page lacks", "Ω-Disk", "?-Disk"},
      {"not UTF-8: taken as code page bytes", "K\xC4SE", "K\xC4SE"},
      {"cut to 255 bytes", std::string(300, 'x'), std::string(255, 'x')},
      {"cut after converting",
       [] {
         std::string s;
         for (int i = 0; i < 300; ++i) s += "€";
         return s;
       }(),
       std::string(255, '\x80')},
  };
  for (const Case& c : cases) {
    const FakeVolumeSource volumes({{.mountPoint = "/media/stick",
                                     .fsType = "vfat",
                                     .source = "/dev/sdb1",
                                     .removable = true,
                                     .label = c.stored}});
    const ScopedVolumeSource guard(volumes);
    EXPECT_EQ(QueryVolumeLabel("D:"), c.shown) << c.what;
  }
}

TEST(DriveLetters, RootsOtherThanLetterAndColonHaveNoDrive) {
  const FakeVolumeSource volumes({{.mountPoint = "/", .source = "/dev/sda1"}});
  const ScopedVolumeSource guard(volumes);
  EXPECT_EQ(GetDriveTypeA("C:"), DRIVE_FIXED);
  EXPECT_EQ(GetDriveTypeA("c:"), DRIVE_FIXED);
  for (const char* root : {"", "C", "C:\\", "CC:", ":", "1:", "A:", "B:"}) {
    EXPECT_EQ(GetDriveTypeA(root), DRIVE_NO_ROOT_DIR) << '"' << root << '"';
  }
  EXPECT_EQ(GetDriveTypeA(nullptr), DRIVE_NO_ROOT_DIR);
}

TEST(MountTable, ParsesAndHidesCoveredMounts) {
  const std::string text =
      "1 0 8:1 / / rw - ext4 /dev/sda1 rw\n"
      "2 1 8:17 / /media/stick rw - vfat /dev/sdb1 rw\n"
      "3 1 8:33 / /media/stick rw - vfat /dev/sdc1 rw\n"  // covers 2
      "4 1 0:40 / /mnt rw - tmpfs tmpfs rw\n"
      "5 4 8:49 / /mnt/inner rw - ext4 /dev/sdd1 rw\n"
      "6 4 0:41 / /mnt rw - tmpfs tmpfs rw\n"  // covers 4, and so 5 below it
      "not a mount line\n"
      "8 1 8:65 / /media/a\\040b\\134c rw shared:1 master:2 unbindable - vfat /dev/sde1 rw\n"
      "9 1 8:81 / /media/cut rw shared:1 -\n"
      "10 1 8:97 / /srv/deep/stick rw - vfat /dev/sdf1 rw\n"
      "11 1 0:42 / /srv rw - tmpfs tmpfs rw\n"  // a later mount on a parent folder covers 10
      "12 11 8:113 / /srv/stick rw - vfat /dev/sdg1 rw\n";  // mounted on top of 11: visible
  const std::vector<ravik::sys::MountEntry> all = ravik::sys::ParseMountInfo(text);
  ASSERT_EQ(all.size(), 10u);
  EXPECT_EQ(all[6].mountPoint, "/media/a b\\c");
  EXPECT_EQ(all[6].fsType, "vfat");
  EXPECT_EQ(all[6].source, "/dev/sde1");
  EXPECT_EQ(all[6].major, 8u);
  EXPECT_EQ(all[6].minor, 65u);

  std::vector<int> visible;
  for (const auto& m : ravik::sys::VisibleMounts(all)) visible.push_back(m.id);
  EXPECT_EQ(visible, (std::vector<int>{1, 3, 6, 8, 11, 12}));
}

// The running machine: whatever it has mounted, its root is C: and A:
// and B: are never given.
TEST(DriveLetters, RunningMachine) {
  EXPECT_EQ(GetDriveTypeA("A:"), DRIVE_NO_ROOT_DIR);
  EXPECT_EQ(GetDriveTypeA("B:"), DRIVE_NO_ROOT_DIR);
  EXPECT_EQ(QueryMountPoint("C:"), "/");
  EXPECT_NE(GetDriveTypeA("C:"), DRIVE_NO_ROOT_DIR);
  EXPECT_LE(QueryVolumeLabel("C:").size(), 255u);
}

}  // namespace
