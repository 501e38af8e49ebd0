#include "platform/File.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sched.h>
#include <sys/mount.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <filesystem>
#include <functional>
#include <optional>
#include <set>
#include <string>

#include "platform/linux/FakeVolumes.h"
#include "platform/linux/FaultInjection.h"
#include "tests/sys/SysTestSupport.h"

namespace {

namespace fs = std::filesystem;
using ravik::sys::FakeVolumeSource;
using ravik::sys::ScopedFault;
using ravik::sys::ScopedTransferLimit;
using ravik::sys::ScopedVolumeSource;
using ravik::sys::SysCall;

const std::string kRecord("\x00\x60\x06\x00\x00\x03PLAYFILE.TXT\x01", 19);

std::string OldContent() {
  std::string bytes;
  for (int i = 0; i < 100; ++i) bytes.push_back(static_cast<char>('A' + i % 26));
  return bytes;
}

mode_t ModeOf(const fs::path& path) {
  struct stat st {};
  ::stat(path.c_str(), &st);
  return st.st_mode & 07777;
}

// A stick mounted on a real folder: E:\ is stick().
class FileTest : public ::testing::Test {
 protected:
  FileTest()
      : m_volumes({{.mountPoint = "/", .source = "/dev/sda1"},
                   {.mountPoint = m_temp.path() / "d",
                    .fsType = "vfat",
                    .source = "/dev/sdb1",
                    .removable = true},
                   {.mountPoint = m_temp.path() / "e",
                    .fsType = "vfat",
                    .source = "/dev/sdc1",
                    .removable = true}}),
        m_guard(m_volumes) {
    fs::create_directory(m_temp.path() / "d");
    fs::create_directory(stick());
  }

  fs::path stick() const { return m_temp.path() / "e"; }
  fs::path slot() const { return stick() / "Config1.ini"; }

  // Saves kRecord as one save does; returns where it stopped.
  enum class Stop { none, open, write, close };
  Stop Save(const char* path, CFileException* raised = nullptr) {
    CFile file;
    CFileException error;
    if (!file.Open(path, CFile::kSaveFlags, &error)) return Stop::open;
    try {
      file.Write(kRecord.data(), static_cast<UINT>(kRecord.size()));
    } catch (const CFileException& e) {
      if (raised) *raised = e;
      return Stop::write;
    }
    try {
      file.Close();
    } catch (const CFileException& e) {
      if (raised) *raised = e;
      return Stop::close;
    }
    return Stop::none;
  }

 private:
  systest::TempFolder m_temp;
  FakeVolumeSource m_volumes;
  ScopedVolumeSource m_guard;
};

TEST_F(FileTest, SaveReplacesTheSlotFileWhole) {
  for (const std::optional<std::size_t> limit : {std::optional<std::size_t>{}, {3}}) {
    SCOPED_TRACE(limit ? "writes of 3 bytes" : "full writes");
    systest::WriteBytes(slot(), OldContent());
    fs::permissions(slot(), fs::perms(0640));
    std::optional<ScopedTransferLimit> slow;
    if (limit) slow.emplace(*limit);
    ASSERT_EQ(Save("E:\\Config1.ini"), Stop::none);
    EXPECT_EQ(systest::ReadBytes(slot()), kRecord);
    EXPECT_EQ(ModeOf(slot()), 0640u);  // the old file's mode
    EXPECT_EQ(systest::ListFolder(stick()), std::set<std::string>{"Config1.ini"});
  }
}

TEST_F(FileTest, SaveCreatesAMissingSlotFile) {
  ASSERT_EQ(Save("E:\\Config2.ini"), Stop::none);
  EXPECT_EQ(systest::ReadBytes(stick() / "Config2.ini"), kRecord);
  EXPECT_EQ(ModeOf(stick() / "Config2.ini"), 0644u);
  EXPECT_EQ(systest::ListFolder(stick()), std::set<std::string>{"Config2.ini"});
}

TEST_F(FileTest, SaveThroughALinkReplacesTheFileItNames) {
  systest::WriteBytes(stick() / "real.ini", OldContent());
  fs::create_symlink("real.ini", slot());
  ASSERT_EQ(Save("E:\\Config1.ini"), Stop::none);
  EXPECT_TRUE(fs::is_symlink(slot()));
  EXPECT_EQ(systest::ReadBytes(stick() / "real.ini"), kRecord);
}

// Every way a save can fail leaves the old slot file byte for byte as it
// was, with its mode, and no temporary file beside it.
TEST_F(FileTest, FailedSaveKeepsTheOldFile) {
  struct Case {
    const char* what;
    std::function<void()> arrange;  // runs with the old file in place
    std::optional<SysCall> call;
    int error = 0;
    int skip = 0;
    Stop stop;
    const char* path = "E:\\Config1.ini";
  };
  const Case cases[] = {
      {"disk full on write", {}, SysCall::write, ENOSPC, 0, Stop::write},
      {"I/O error on write", {}, SysCall::write, EIO, 0, Stop::write},
      {"flush fails", {}, SysCall::fsync, EIO, 0, Stop::close},
      {"close fails", {}, SysCall::close, EIO, 0, Stop::close},
      {"rename fails", {}, SysCall::rename, EIO, 0, Stop::close},
      {"temporary file cannot be made", {}, SysCall::create, EROFS, 0, Stop::open},
      {"slot file is read-only",
       [&] { fs::permissions(slot(), fs::perms(0444)); },
       {},
       0,
       0,
       Stop::open},
      {"folder does not exist", {}, {}, 0, 0, Stop::open, "E:\\missing\\Config1.ini"},
      {"no such drive", {}, {}, 0, 0, Stop::open, "F:\\Config1.ini"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    fs::remove_all(stick());
    fs::create_directory(stick());
    systest::WriteBytes(slot(), OldContent());
    if (c.arrange) c.arrange();
    const mode_t mode = ModeOf(slot());
    CFileException raised;
    {
      std::optional<ScopedFault> fault;
      if (c.call) fault.emplace(*c.call, c.error, c.skip);
      EXPECT_EQ(Save(c.path, &raised), c.stop);
    }
    if (c.stop == Stop::write || c.stop == Stop::close) {
      EXPECT_EQ(raised.m_lOsError, c.error);
      EXPECT_EQ(raised.m_cause, CFileException::CauseOfError(c.error));
      EXPECT_EQ(raised.m_strFileName, c.path);
    }
    EXPECT_EQ(systest::ReadBytes(slot()), OldContent());
    EXPECT_EQ(ModeOf(slot()), mode);
    EXPECT_EQ(systest::ListFolder(stick()), std::set<std::string>{"Config1.ini"});
  }
}

TEST_F(FileTest, WriteThatMovesNothingFails) {
  systest::WriteBytes(slot(), OldContent());
  const ScopedTransferLimit stalled(0);
  CFileException raised;
  EXPECT_EQ(Save("E:\\Config1.ini", &raised), Stop::write);
  EXPECT_EQ(raised.m_lOsError, EIO);
  EXPECT_EQ(systest::ReadBytes(slot()), OldContent());
  EXPECT_EQ(systest::ListFolder(stick()), std::set<std::string>{"Config1.ini"});
}

// Once the new file has replaced the old one, a folder that cannot be
// flushed is still reported: the save may not be on the medium.
TEST_F(FileTest, FolderFlushFailureIsReported) {
  systest::WriteBytes(slot(), OldContent());
  const ScopedFault fault(SysCall::fsync, EIO, /*skip=*/1);
  CFileException raised;
  EXPECT_EQ(Save("E:\\Config1.ini", &raised), Stop::close);
  EXPECT_EQ(raised.m_lOsError, EIO);
  EXPECT_EQ(systest::ListFolder(stick()), std::set<std::string>{"Config1.ini"});
}

TEST_F(FileTest, SaveLeftOpenIsDiscarded) {
  systest::WriteBytes(slot(), OldContent());
  {
    CFile file;
    ASSERT_TRUE(file.Open("E:\\Config1.ini", CFile::kSaveFlags));
    file.Write(kRecord.data(), static_cast<UINT>(kRecord.size()));
  }  // as when an exception unwinds past the file
  EXPECT_EQ(systest::ReadBytes(slot()), OldContent());
  EXPECT_EQ(systest::ListFolder(stick()), std::set<std::string>{"Config1.ini"});
}

TEST_F(FileTest, OnlyTheTwoFlagValuesOpen) {
  systest::WriteBytes(slot(), OldContent());
  for (const UINT flags : std::initializer_list<UINT>{
           CFile::modeRead, CFile::modeWrite | CFile::modeCreate,
           CFile::modeReadWrite | CFile::modeCreate, CFile::kSaveFlags | 0x4000u}) {
    CFile file;
    CFileException error;
    EXPECT_FALSE(file.Open("E:\\Config1.ini", flags, &error)) << flags;
  }
  EXPECT_EQ(systest::ReadBytes(slot()), OldContent());
}

// A read-only stick: a tmpfs remounted read-only in a mount namespace of a
// child process, so no privilege is needed and nothing outside changes.
TEST_F(FileTest, ReadOnlyMediumFailsTheOpen) {
  constexpr int kSkip = 77;
  const std::string folder = stick().string();
  const pid_t child = ::fork();
  ASSERT_GE(child, 0);
  if (child == 0) {
    const auto writeFile = [](const char* path, const std::string& text) {
      const int fd = ::open(path, O_WRONLY | O_CLOEXEC);
      const bool ok = fd >= 0 && ::write(fd, text.data(), text.size()) == ssize_t(text.size());
      if (fd >= 0) ::close(fd);
      return ok;
    };
    const std::string uid = std::to_string(::getuid()), gid = std::to_string(::getgid());
    if (::unshare(CLONE_NEWUSER | CLONE_NEWNS) != 0) ::_exit(kSkip);
    writeFile("/proc/self/setgroups", "deny");
    if (!writeFile("/proc/self/uid_map", "0 " + uid + " 1") ||
        !writeFile("/proc/self/gid_map", "0 " + gid + " 1") ||
        ::mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) != 0 ||
        ::mount("stick", folder.c_str(), "tmpfs", 0, "size=64k") != 0) {
      ::_exit(kSkip);
    }
    systest::WriteBytes(folder + "/Config1.ini", OldContent());
    if (::mount(nullptr, folder.c_str(), nullptr, MS_REMOUNT | MS_RDONLY, nullptr) != 0) {
      ::_exit(kSkip);
    }
    CFile file;
    if (file.Open("E:\\Config1.ini", CFile::kSaveFlags)) ::_exit(1);
    if (systest::ReadBytes(folder + "/Config1.ini") != OldContent()) ::_exit(2);
    if (systest::ListFolder(folder) != std::set<std::string>{"Config1.ini"}) ::_exit(3);
    ::_exit(0);
  }
  int status = 0;
  ASSERT_EQ(::waitpid(child, &status, 0), child);
  ASSERT_TRUE(WIFEXITED(status));
  if (WEXITSTATUS(status) == kSkip) GTEST_SKIP() << "no user and mount namespaces here";
  EXPECT_EQ(WEXITSTATUS(status), 0) << "1: open succeeded, 2: file changed, 3: file left behind";
}

TEST_F(FileTest, LoadOpensOnlyRegularFiles) {
  fs::create_directory(stick() / "Config1.ini");
  ASSERT_EQ(::mkfifo((stick() / "Config2.ini").c_str(), 0644), 0);
  fs::create_symlink("gone.ini", stick() / "Config3.ini");
  ::alarm(10);  // a load that waited on the FIFO would hang the suite
  for (const char* path :
       {"E:\\Config1.ini", "E:\\Config2.ini", "E:\\Config3.ini", "E:\\Config4.ini"}) {
    CFile file;
    CFileException error;
    EXPECT_FALSE(file.Open(path, CFile::kLoadFlags, &error)) << path;
    EXPECT_NE(error.m_cause, CFileException::none) << path;
  }
  ::alarm(0);
}

TEST_F(FileTest, ReadStopsAtTheEndOfTheFile) {
  struct Case {
    std::size_t size;
    std::optional<std::size_t> limit;
    UINT expected;
  };
  const std::string twenty = kRecord + "X";
  for (const Case& c : {Case{18, {}, 18}, Case{0, {}, 0}, Case{20, {}, 19}, Case{20, 4, 19}}) {
    SCOPED_TRACE(std::to_string(c.size) + " bytes");
    systest::WriteBytes(slot(), twenty.substr(0, c.size));
    std::optional<ScopedTransferLimit> slow;
    if (c.limit) slow.emplace(*c.limit);
    CFile file;
    ASSERT_TRUE(file.Open("E:\\Config1.ini", CFile::kLoadFlags));
    char buffer[19] = {};
    EXPECT_EQ(file.Read(buffer, sizeof buffer), c.expected);
    EXPECT_EQ(std::string(buffer, c.expected), twenty.substr(0, c.expected));
    file.Close();
  }
}

TEST_F(FileTest, ReadErrorIsRaised) {
  systest::WriteBytes(slot(), kRecord);
  CFile file;
  ASSERT_TRUE(file.Open("E:\\Config1.ini", CFile::kLoadFlags));
  const ScopedFault fault(SysCall::read, EIO);
  char buffer[19];
  try {
    file.Read(buffer, sizeof buffer);
    ADD_FAILURE() << "no exception";
  } catch (const CFileException& e) {
    EXPECT_EQ(e.m_cause, CFileException::hardIO);
    EXPECT_EQ(e.m_lOsError, EIO);
    EXPECT_NE(std::string(e.what()).find("E:\\Config1.ini"), std::string::npos);
  }
}

}  // namespace
