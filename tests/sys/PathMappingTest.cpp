#include "platform/linux/PathMapping.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <string>

#include "platform/linux/FakeVolumes.h"

namespace {

using ravik::sys::FakeVolumeSource;
using ravik::sys::MapWindowsPath;

std::string Repeat(const std::string& s, int n) {
  std::string out;
  for (int i = 0; i < n; ++i) out += s;
  return out;
}

TEST(PathMapping, WindowsPathsOntoMountPoints) {
  // C: is /, D: and E: two sticks; the working directory is on E:.
  const FakeVolumeSource volumes(
      {{.mountPoint = "/", .source = "/dev/sda1"},
       {.mountPoint = "/media/a", .fsType = "vfat", .source = "/dev/sdb1", .removable = true},
       {.mountPoint = "/media/b", .fsType = "vfat", .source = "/dev/sdc1", .removable = true}},
      "/media/b/sub/dir");
  struct Case {
    std::string windows;
    std::string posix;  // empty: fails
    int error = 0;
  };
  const Case cases[] = {
      {"E:\\Config1.ini", "/media/b/Config1.ini"},
      {"e:\\Config1.ini", "/media/b/Config1.ini"},
      {"E:/Config1.ini", "/media/b/Config1.ini"},
      {"E:Config1.ini", "/media/b/Config1.ini"},
      {"D:\\Config2.ini", "/media/a/Config2.ini"},
      {"C:\\Config1.ini", "/Config1.ini"},
      {"E:\\dir\\.\\x\\..\\\\Config1.ini", "/media/b/dir/Config1.ini"},
      {"E:\\..\\..\\Config1.ini", "/media/b/Config1.ini"},  // never above the drive's root
      {"\\Config3.ini", "/media/b/Config3.ini"},  // root of the working directory's volume
      {"Config1.ini", "/media/b/sub/dir/Config1.ini"},
      {"..\\..\\..\\Config1.ini", "/media/b/Config1.ini"},
      {"E:\\" + std::string(256, 'a'), "/media/b/" + std::string(256, 'a')},  // 259 characters
      {"E:\\" + Repeat("ä", 256), "/media/b/" + Repeat("ä", 256)},  // counted as characters
      {"E:\\" + std::string(257, 'a'), "", ENAMETOOLONG},           // 260
      {"E:\\" + std::string(200, 'a') + "\\" + std::string(56, 'b'), "", ENAMETOOLONG},
      {":\\Config1.ini", "", EINVAL},
      {"EE:\\Config1.ini", "", EINVAL},
      {"1:\\Config1.ini", "", EINVAL},
      {"E:\\Con?fig1.ini", "", EINVAL},
      {"\\\\server\\share\\Config1.ini", "", EINVAL},
      {"F:\\Config1.ini", "", ENOENT},  // a letter without a volume
      {"A:\\Config1.ini", "", ENOENT},
      {"", "", ENOENT},
  };
  for (const Case& c : cases) {
    const ravik::sys::MappedPath mapped = MapWindowsPath(c.windows, volumes);
    EXPECT_EQ(mapped.path, c.posix) << c.windows;
    EXPECT_EQ(mapped.error, c.error) << c.windows;
  }
}

TEST(PathMapping, DrivelessPathNeedsAWorkingDirectory) {
  const FakeVolumeSource volumes({{.mountPoint = "/", .source = "/dev/sda1"}}, "");
  EXPECT_EQ(MapWindowsPath("\\Config1.ini", volumes).error, ENOENT);
  EXPECT_EQ(MapWindowsPath("C:\\Config1.ini", volumes).path, "/Config1.ini");
}

}  // namespace
