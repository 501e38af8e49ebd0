// The resources that res/Ravik1.rc puts into the program, read back the
// way Windows reads them.
#define RAVIK_WIN32_BESIDE_LAYER
#include "platform/win32/Win32.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <utility>
#include <vector>

#include "platform/win32/Utf16.h"
#include "res/resource.h"

namespace {

using ::testing::ElementsAreArray;

std::string_view Resource(UINT id, const wchar_t* type) {
  const HINSTANCE program = GetModuleHandleW(nullptr);
  HRSRC found = FindResourceW(program, MAKEINTRESOURCEW(id), type);
  if (!found) return {};
  const auto* data = static_cast<const char*>(LockResource(LoadResource(program, found)));
  return {data, SizeofResource(program, found)};
}

TEST(ResourceScriptTest, IconGroupHoldsTwelveImagesOfThreeDepths) {
  const std::string_view group = Resource(IDR_MAINFRAME, MAKEINTRESOURCEW(14));  // RT_GROUP_ICON
  ASSERT_GE(group.size(), 6u);
  unsigned short count = 0;
  std::memcpy(&count, group.data() + 4, 2);
  ASSERT_EQ(count, 12u);
  std::vector<std::pair<int, int>> images;  // size, bits per pixel
  for (unsigned i = 0; i < count; ++i) {
    const auto* entry = reinterpret_cast<const unsigned char*>(group.data() + 6 + 14 * i);
    const int size = entry[0] ? entry[0] : 256;
    images.emplace_back(size, entry[6] | (entry[7] << 8));
  }
  const std::pair<int, int> expected[] = {{16, 4},  {24, 4},  {32, 4},  {16, 8},
                                          {24, 8},  {32, 8},  {48, 8},  {16, 32},
                                          {24, 32}, {32, 32}, {48, 32}, {256, 32}};
  EXPECT_THAT(images, ElementsAreArray(expected));
}

TEST(ResourceScriptTest, AboutBitmapIs132By78At32Bits) {
  HBITMAP bitmap =
      static_cast<HBITMAP>(LoadImageW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDB_ABOUT),
                                      IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION));
  ASSERT_NE(bitmap, nullptr);
  BITMAP info{};
  GetObjectW(bitmap, sizeof info, &info);
  EXPECT_EQ(info.bmWidth, 132);
  EXPECT_EQ(info.bmHeight, 78);
  EXPECT_EQ(info.bmBitsPixel, 32);
  DeleteObject(bitmap);
}

TEST(ResourceScriptTest, VersionInformationIsGermanUtf16) {
  wchar_t path[MAX_PATH];
  GetModuleFileNameW(nullptr, path, MAX_PATH);
  const WinDword size = GetFileVersionInfoSizeW(path, nullptr);
  ASSERT_GT(size, 0u);
  std::vector<char> data(size);
  ASSERT_TRUE(GetFileVersionInfoW(path, 0, size, data.data()));
  VS_FIXEDFILEINFO* fixed = nullptr;
  UINT length = 0;
  ASSERT_TRUE(VerQueryValueW(data.data(), L"\\", reinterpret_cast<void**>(&fixed), &length));
  EXPECT_EQ(fixed->dwFileVersionMS, 0x00010000u);
  EXPECT_EQ(fixed->dwFileVersionLS, 0u);
  EXPECT_EQ(fixed->dwProductVersionMS, 0x00010000u);
  WORD* translation = nullptr;
  ASSERT_TRUE(VerQueryValueW(data.data(), L"\\VarFileInfo\\Translation",
                             reinterpret_cast<void**>(&translation), &length));
  EXPECT_EQ(translation[0], 1031);
  EXPECT_EQ(translation[1], 1200);
  const struct {
    const wchar_t* field;
    const char* value;
  } strings[] = {{L"FileDescription", "Anwendung Ravik 1"},
                 {L"ProductName", "Anwendung Ravik 1"},
                 {L"InternalName", "Ravik1"},
                 {L"OriginalFilename", "Ravik1.EXE"},
                 {L"FileVersion", "1, 0, 0, 0"},
                 {L"ProductVersion", "1, 0, 0, 0"}};
  for (const auto& entry : strings) {
    wchar_t* value = nullptr;
    const std::wstring key = std::wstring(L"\\StringFileInfo\\040704B0\\") + entry.field;
    ASSERT_TRUE(VerQueryValueW(data.data(), key.c_str(), reinterpret_cast<void**>(&value), &length))
        << entry.value;
    EXPECT_EQ(platform::win32::Narrow(value), entry.value);
  }
}

TEST(ResourceScriptTest, ManifestAsksForNothingButTheInvokersRights) {
  const std::string manifest(Resource(1, MAKEINTRESOURCEW(24)));  // RT_MANIFEST
  ASSERT_FALSE(manifest.empty());
  EXPECT_NE(manifest.find("level=\"asInvoker\""), std::string::npos);
  EXPECT_NE(manifest.find("uiAccess=\"false\""), std::string::npos);
  EXPECT_EQ(manifest.find("Microsoft.Windows.Common-Controls"), std::string::npos);
}

}  // namespace
