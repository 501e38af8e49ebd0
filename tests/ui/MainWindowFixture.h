// The real main window, offscreen, over fake sticks that are temporary
// folders: D: a removable stick labelled "STICK", E: one without a label.
#pragma once

#include <gtest/gtest.h>

#include <array>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "config/ConfigRecord.h"
#include "platform/TestSeam.h"
#include "platform/linux/VolumeSource.h"
#include "res/resource.h"
#include "ui/Ravik1Dlg.h"

namespace uitest {

namespace fs = std::filesystem;
using Bytes = std::vector<std::uint8_t>;

struct FakeVolume {
  std::string mountPoint;
  std::string fsType = "vfat";
  std::string source = "/dev/sdb1";
  bool removable = true;
  std::string label;
};

class FakeVolumes final : public ravik::sys::VolumeSource {
 public:
  std::vector<FakeVolume> volumes;
  std::string workingDirectory = "/nonexistent";

  std::string MountInfo() const override {
    std::string text;
    int id = 100;
    for (const auto& volume : volumes) {
      text += std::to_string(id) + " 1 8:" + std::to_string(id) + " / " + Escape(volume.mountPoint) +
              " rw,relatime - " + volume.fsType + " " + volume.source + " rw\n";
      ++id;
    }
    return text;
  }
  std::optional<ravik::sys::BlockDeviceInfo> BlockDevice(
      const ravik::sys::MountEntry& mount) const override {
    const FakeVolume* volume = Find(mount);
    if (!volume || volume->source.rfind("/dev/", 0) != 0) return std::nullopt;
    return ravik::sys::BlockDeviceInfo{volume->source.substr(5, 3), volume->removable};
  }
  std::string Label(const ravik::sys::MountEntry& mount) const override {
    const FakeVolume* volume = Find(mount);
    return volume ? volume->label : "";
  }
  std::string WorkingDirectory() const override { return workingDirectory; }

 private:
  static std::string Escape(const std::string& path) {
    std::string out;
    for (char c : path) out += c == ' ' ? std::string("\\040") : std::string(1, c);
    return out;
  }
  const FakeVolume* Find(const ravik::sys::MountEntry& mount) const {
    for (const auto& volume : volumes) {
      if (volume.mountPoint == mount.mountPoint) return &volume;
    }
    return nullptr;
  }
};

inline Bytes ReadFile(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  return Bytes(std::istreambuf_iterator<char>(in), {});
}

inline void WriteFile(const fs::path& path, const Bytes& bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

inline Bytes Record(const ConfigRecord& record) { return Bytes(record.begin(), record.end()); }

class MainWindowTest : public ::testing::Test {
 public:
  MainWindowTest() {
    root = fs::temp_directory_path() /
           ("ravik-ui-" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) + "-" +
            std::to_string(reinterpret_cast<std::uintptr_t>(this)));
    fs::create_directories(root / "d");
    fs::create_directories(root / "e");
    volumes.volumes = {
        {(root / "d").string(), "vfat", "/dev/sdb1", true, "STICK"},
        {(root / "e").string(), "vfat", "/dev/sdc1", true, ""},
    };
    volumes.workingDirectory = (root / "d").string();
  }
  ~MainWindowTest() override {
    std::error_code ignored;
    fs::permissions(root / "d", fs::perms::owner_all, ignored);
    fs::remove_all(root, ignored);
  }

  // Opens the window; call after adjusting the volumes.
  void Open() {
    window = std::make_unique<CRavik1Dlg>();
    driver = testseam::Open(*window);
    ASSERT_TRUE(driver);
  }
  void SetUp() override { Open(); }

  testseam::ControlState State(int id) const { return driver->State(id); }
  bool Enabled(int id) const { return State(id).enabled; }
  bool Checked(int id) const { return State(id).check == BST_CHECKED; }
  std::string Text(int id) const { return State(id).text; }
  const LoggerSettings& Settings() const { return window->Settings(); }
  fs::path Slot(char drive, int slot) const {
    return root / std::string(1, static_cast<char>(drive - 'D' + 'd')) /
           ("Config" + std::to_string(slot) + ".ini");
  }
  // Saves through the button and returns the file's bytes.
  Bytes SaveSlot1() {
    driver->Click(IDC_SAVE_CONFIG1);
    return ReadFile(Slot('D', 1));
  }

  fs::path root;
  FakeVolumes volumes;
  ravik::sys::ScopedVolumeSource useVolumes{volumes};
  testseam::MessageBoxRecorder boxes;
  std::unique_ptr<CRavik1Dlg> window;
  std::unique_ptr<testseam::DialogDriver> driver;
};

}  // namespace uitest
