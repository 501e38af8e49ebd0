// The Win32 file and drive services: the safe replace of a save, the share
// modes of the two open flags, and the drive queries the drive box uses.
#define RAVIK_WIN32_BESIDE_LAYER
#include "platform/win32/Win32.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <string>
#include <vector>

#include "platform/Drives.h"
#include "platform/File.h"
#include "platform/linux/FaultInjection.h"

namespace {

namespace fs = std::filesystem;
using Bytes = std::vector<char>;

class Win32FileTest : public ::testing::Test {
 protected:
  Win32FileTest() {
    folder = fs::temp_directory_path() / ("ravik-file-" + std::to_string(std::random_device{}()));
    fs::create_directories(folder);
    slot = folder / "Config1.ini";
  }
  ~Win32FileTest() override {
    std::error_code ignored;
    fs::permissions(slot, fs::perms::owner_all, ignored);
    fs::remove_all(folder, ignored);
  }
  static void Put(const fs::path& path, const Bytes& bytes) {
    std::ofstream(path, std::ios::binary)
        .write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  }
  static Bytes Get(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return Bytes(std::istreambuf_iterator<char>(in), {});
  }
  std::string Path() const { return slot.string(); }
  size_t FilesInFolder() const {
    return static_cast<size_t>(
        std::distance(fs::directory_iterator(folder), fs::directory_iterator()));
  }
  // Saves bytes through CFile as a slot save does; the failure, if any.
  std::optional<CFileException> Save(const Bytes& bytes) {
    CFile file;
    CFileException error;
    if (!file.Open(Path().c_str(), CFile::kSaveFlags, &error)) return error;
    try {
      file.Write(bytes.data(), static_cast<UINT>(bytes.size()));
      file.Close();
    } catch (const CFileException& failure) {
      return failure;
    }
    return std::nullopt;
  }

  fs::path folder, slot;
};

TEST_F(Win32FileTest, SaveReplacesTheOldFileWholeOnlyAtClose) {
  Put(slot, Bytes(100, 'o'));
  CFile file;
  ASSERT_TRUE(file.Open(Path().c_str(), CFile::kSaveFlags));
  file.Write("new", 3);
  EXPECT_EQ(Get(slot), Bytes(100, 'o')) << "nothing changes before Close";
  file.Close();
  EXPECT_EQ(Get(slot), Bytes({'n', 'e', 'w'}));
  EXPECT_EQ(FilesInFolder(), 1u) << "no temporary file is left";
}

TEST_F(Win32FileTest, FailuresLeaveTheOldFileAndNoTemporaryFile) {
  const Bytes old = {1, 2, 3};
  const struct {
    const char* name;
    ravik::sys::SysCall call;
    int error;
    int cause;
  } faults[] = {
      {"disk full on write", ravik::sys::SysCall::write, ENOSPC, CFileException::diskFull},
      {"flush fails", ravik::sys::SysCall::fsync, EIO, CFileException::hardIO},
      {"move fails", ravik::sys::SysCall::rename, EACCES, CFileException::accessDenied},
  };
  for (const auto& fault : faults) {
    SCOPED_TRACE(fault.name);
    Put(slot, old);
    ravik::sys::ScopedFault armed(fault.call, fault.error);
    const auto failure = Save(Bytes(19, 'n'));
    ASSERT_TRUE(failure);
    EXPECT_EQ(failure->m_cause, fault.cause);
    EXPECT_EQ(failure->m_strFileName, Path());
    EXPECT_EQ(Get(slot), old);
    EXPECT_EQ(FilesInFolder(), 1u);
  }
  EXPECT_FALSE(Save(Bytes(19, 'n'))) << "the next save works";
}

TEST_F(Win32FileTest, AbandonedSaveKeepsTheOldFile) {
  Put(slot, {'o'});
  {
    CFile file;
    ASSERT_TRUE(file.Open(Path().c_str(), CFile::kSaveFlags));
    file.Write("new", 3);
  }
  EXPECT_EQ(Get(slot), Bytes({'o'}));
  EXPECT_EQ(FilesInFolder(), 1u);
}

TEST_F(Win32FileTest, SaveOpenFailsForReadOnlyFolderInUseAndBadPaths) {
  Put(slot, {'o'});
  fs::permissions(slot, fs::perms::owner_read);  // the read-only attribute
  CFileException error;
  EXPECT_FALSE(CFile().Open(Path().c_str(), CFile::kSaveFlags, &error));
  EXPECT_EQ(error.m_cause, CFileException::accessDenied);
  fs::permissions(slot, fs::perms::owner_all);

  {
    // Another program holds the file: the save shares it with nobody.
    const HANDLE other = CreateFileW(slot.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                     OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(other, INVALID_HANDLE_VALUE);
    EXPECT_FALSE(CFile().Open(Path().c_str(), CFile::kSaveFlags, &error));
    EXPECT_EQ(error.m_cause, CFileException::sharingViolation);
    CloseHandle(other);
  }

  fs::create_directories(folder / "Config2.ini");
  EXPECT_FALSE(CFile().Open((folder / "Config2.ini").string().c_str(), CFile::kSaveFlags, &error));
  const std::string tooLong = (folder / std::string(260, 'x')).string();
  EXPECT_FALSE(CFile().Open(tooLong.c_str(), CFile::kSaveFlags, &error));
  EXPECT_EQ(error.m_cause, CFileException::badPath);
  EXPECT_FALSE(CFile().Open((folder / "missing" / "Config1.ini").string().c_str(),
                            CFile::kSaveFlags, &error));
  EXPECT_EQ(Get(slot), Bytes({'o'}));
}

TEST_F(Win32FileTest, LoadReadsTheFirstBytesAndDeniesWriters) {
  Put(slot, Bytes(20, 'r'));
  CFile file;
  ASSERT_TRUE(file.Open(Path().c_str(), CFile::kLoadFlags));
  char buffer[19];
  EXPECT_EQ(file.Read(buffer, 19), 19u);
  // Others may read the file meanwhile, but not write it.
  const HANDLE reader = CreateFileW(slot.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                    nullptr, OPEN_EXISTING, 0, nullptr);
  EXPECT_NE(reader, INVALID_HANDLE_VALUE);
  if (reader != INVALID_HANDLE_VALUE) CloseHandle(reader);
  const HANDLE writer = CreateFileW(slot.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                    nullptr, OPEN_EXISTING, 0, nullptr);
  EXPECT_EQ(writer, INVALID_HANDLE_VALUE);
  if (writer != INVALID_HANDLE_VALUE) CloseHandle(writer);
  EXPECT_EQ(file.Read(buffer, 19), 1u) << "fewer bytes only at the end";
  file.Close();

  CFileException error;
  EXPECT_FALSE(CFile().Open((folder / "Config3.ini").string().c_str(), CFile::kLoadFlags, &error));
  EXPECT_EQ(error.m_cause, CFileException::fileNotFound);
}

TEST(Win32DriveTest, RootsAreALetterAndAColon) {
  EXPECT_EQ(GetDriveTypeA("C:"), DRIVE_FIXED);
  for (const char* root : {"C", "C:\\", "1:", "", "CC:"}) {
    EXPECT_EQ(GetDriveTypeA(root), DRIVE_NO_ROOT_DIR) << root;
    EXPECT_EQ(QueryVolumeLabel(root), "") << root;
  }
  EXPECT_EQ(QueryMountPoint("C:"), "C:\\");
}

}  // namespace
