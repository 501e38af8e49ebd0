// The real main window, offscreen, over fake sticks that are temporary
// folders: D: a removable stick labelled "STICK", E: one without a label.
#pragma once

#include <gtest/gtest.h>
#include <stdlib.h>

#include <array>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

#include "config/ConfigRecord.h"
#include "platform/TestSeam.h"
#include "platform/linux/FakeVolumes.h"
#include "res/resource.h"
#include "ui/Ravik1Dlg.h"

#ifdef _WIN32
#include <io.h>

#include <cstdio>
#include <random>

// Paths are wide on Windows; the tests name files by path.c_str().
inline int chmod(const wchar_t* path, int mode) {
  return ::_wchmod(path, mode);
}
#endif

namespace uitest {

namespace fs = std::filesystem;
using Bytes = std::vector<std::uint8_t>;

inline Bytes ReadFile(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  return Bytes(std::istreambuf_iterator<char>(in), {});
}

inline void WriteFile(const fs::path& path, const Bytes& bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(reinterpret_cast<const char*>(bytes.data()),
            static_cast<std::streamsize>(bytes.size()));
}

#ifdef _WIN32
// Creates a new folder from a pattern ending in XXXXXX, as mkdtemp does.
inline bool MakeTempFolder(char* pattern) {
  std::string base = pattern;
  for (unsigned attempt = 0; attempt < 1000; ++attempt) {
    std::snprintf(pattern + base.size() - 6, 7, "%06u",
                  (static_cast<unsigned>(std::random_device{}()) + attempt) % 1000000u);
    if (std::filesystem::create_directory(pattern)) return true;
  }
  return false;
}

inline std::string AsVolumePath(std::string path) {
  if (path.size() < 2 || path[1] != ':') return path;
  for (char& c : path) {
    if (c == '\\') c = '/';
  }
  return "/" + path;
}
#else
inline bool MakeTempFolder(char* pattern) {
  return ::mkdtemp(pattern) != nullptr;
}
#endif

inline Bytes Record(const ConfigRecord& record) {
  return Bytes(record.begin(), record.end());
}

class MainWindowTest : public ::testing::Test {
 public:
  MainWindowTest() {
    // A folder of this test's own, even with tests running in parallel.
    std::string pattern = (fs::temp_directory_path() / "ravik-ui-XXXXXX").string();
    if (!MakeTempFolder(pattern.data())) throw std::runtime_error("no temporary folder");
    root = pattern;
    fs::create_directories(root / "d");
    fs::create_directories(root / "e");
    sticks = {
        {(root / "d").string(), "vfat", "/dev/sdb1", true, "STICK"},
        {(root / "e").string(), "vfat", "/dev/sdc1", true, ""},
    };
    workingDirectory = (root / "d").string();
  }
  ~MainWindowTest() override {
    std::error_code ignored;
    fs::permissions(root / "d", fs::perms::owner_all, ignored);
    fs::remove_all(root, ignored);
  }

  // Makes the drive services see sticks and workingDirectory as they are now.
  // The running program keeps the letters it gave the sticks still there.
  void UseVolumes() {
    useSource.reset();
#ifdef _WIN32
    // The letters follow the same rules on Windows, which read a Windows
    // folder "C:\dir" as "/C:/dir".
    std::vector<ravik::sys::FakeVolume> volumes = sticks;
    for (auto& volume : volumes) volume.mountPoint = AsVolumePath(volume.mountPoint);
    if (!source) source.emplace();
    source->Remount(volumes, AsVolumePath(workingDirectory));
#else
    if (!source) source.emplace();
    source->Remount(sticks, workingDirectory);
#endif
    useSource.emplace(*source);
  }
  // Opens the window over the volumes as they are now.
  void Open() {
    UseVolumes();
    window = std::make_unique<CRavik1Dlg>();
    driver = testseam::Open(*window);
    ASSERT_TRUE(driver);
  }
  void SetUp() override {
    Open();
  }

  testseam::ControlState State(int id) const {
    return driver->State(id);
  }
  bool Enabled(int id) const {
    return State(id).enabled;
  }
  bool Checked(int id) const {
    return State(id).check == BST_CHECKED;
  }
  std::string Text(int id) const {
    return State(id).text;
  }
  const LoggerSettings& Settings() const {
    return window->Settings();
  }
  fs::path Slot(char drive, int slot) const {
    return root / std::string(1, static_cast<char>(drive - 'D' + 'd')) /
           ("Config" + std::to_string(slot) + ".ini");
  }
  // Sets the window, by clicks and keys, to play LOG.TXT five times at
  // 115,200 baud.
  void PutWindowInPlay() {
    driver->Click(IDC_BAUD_115200);
    driver->Click(IDC_MODE_PLAY);
    driver->Clear(IDC_PLAYFILE);
    driver->Type(IDC_PLAYFILE, "LOG.TXT");
    driver->Click(IDC_REPEAT_COUNT);
    driver->Clear(IDC_REPEAT_VALUE);
    driver->Type(IDC_REPEAT_VALUE, "5");
  }
  // Saves through the button and returns the file's bytes.
  Bytes SaveSlot1() {
    driver->Click(IDC_SAVE_CONFIG1);
    return ReadFile(Slot('D', 1));
  }

  fs::path root;
  std::vector<ravik::sys::FakeVolume> sticks;
  std::string workingDirectory;
  std::optional<ravik::sys::FakeVolumeSource> source;
  std::optional<ravik::sys::ScopedVolumeSource> useSource;
  testseam::MessageBoxRecorder boxes;
  std::unique_ptr<CRavik1Dlg> window;
  std::unique_ptr<testseam::DialogDriver> driver;
};

}  // namespace uitest
