// What only the Win32 backend has: the real system menu with the About
// entry, and the resources of the program as Windows loads them.
#define RAVIK_WIN32_BESIDE_LAYER
#include "platform/win32/Win32Dialog.h"

#include <gtest/gtest.h>

#include <array>
#include <fstream>
#include <string>

#include "platform/TestSeam.h"
#include "platform/win32/Utf16.h"
#include "res/resource.h"
#include "ui/Ravik1Dlg.h"

namespace {

using platform::win32::Narrow;

HWND WindowOf(CDialog& dialog) {
  return dynamic_cast<platform::win32::Win32Dialog&>(*dialog.Peer()).Window();
}

TEST(SystemMenuTest, EndsWithSeparatorAndTheAboutEntry) {
  CRavik1Dlg window;
  auto driver = testseam::Open(window);
  ASSERT_TRUE(driver);
  HMENU menu = GetSystemMenu(WindowOf(window), FALSE);
  ASSERT_NE(menu, nullptr);
  const int count = GetMenuItemCount(menu);
  ASSERT_GE(count, 3);
  EXPECT_TRUE(GetMenuState(menu, static_cast<UINT>(count - 2), MF_BYPOSITION) & MF_SEPARATOR);
  EXPECT_EQ(GetMenuItemID(menu, count - 1), static_cast<UINT>(IDM_ABOUTBOX));
  std::array<wchar_t, 64> text{};
  GetMenuStringW(menu, static_cast<UINT>(count - 1), text.data(), static_cast<int>(text.size()),
                 MF_BYPOSITION);
  EXPECT_EQ(Narrow(text.data()), "Inf&o über Ravik 1...");
}

TEST(SystemMenuTest, AboutEntryOpensTheAboutBoxOtherCommandsDoNot) {
  CRavik1Dlg window;
  auto driver = testseam::Open(window);
  ASSERT_TRUE(driver);
  for (WPARAM command : {WPARAM{IDM_ABOUTBOX}, WPARAM{IDM_ABOUTBOX | 0xF}}) {
    testseam::ModalRun run;
    testseam::OnNextModal([](testseam::DialogDriver& about) { about.Press(testseam::Key::Escape); },
                          &run);
    SendMessageW(WindowOf(window), WM_SYSCOMMAND, command, 0);
    EXPECT_EQ(run.templateId, static_cast<UINT>(IDD_ABOUTBOX)) << command;
    EXPECT_TRUE(run.ownerWasDisabled);
    EXPECT_EQ(run.result, IDCANCEL);
  }
  platform::SetModalHook(nullptr);
  EXPECT_TRUE(driver->IsOpen());
}

TEST(ResourcesTest, IconGroupAndVersionComeFromTheProgram) {
  const HINSTANCE program = GetModuleHandleW(nullptr);
  EXPECT_NE(FindResourceW(program, MAKEINTRESOURCEW(IDR_MAINFRAME), MAKEINTRESOURCEW(14)),
            nullptr);  // RT_GROUP_ICON
  EXPECT_NE(FindResourceW(program, MAKEINTRESOURCEW(IDB_ABOUT), MAKEINTRESOURCEW(2)),
            nullptr);  // RT_BITMAP
  std::array<wchar_t, 64> about{};
  EXPECT_GT(LoadStringW(program, IDS_ABOUTBOX, about.data(), static_cast<int>(about.size())), 0);
  EXPECT_EQ(Narrow(about.data()), "Inf&o über Ravik 1...");

  CRavik1Dlg window;
  auto driver = testseam::Open(window);
  ASSERT_TRUE(driver);
  EXPECT_NE(SendMessageW(WindowOf(window), WM_GETICON, ICON_BIG, 0), 0);
  EXPECT_NE(SendMessageW(WindowOf(window), WM_GETICON, ICON_SMALL, 0), 0);
  EXPECT_NE(SendMessageW(WindowOf(window), WM_QUERYDRAGICON, 0, 0), 0);
}

TEST(GrabTest, SavesTheWindowAsAPng) {
  CRavik1Dlg window;
  auto driver = testseam::Open(window);
  ASSERT_TRUE(driver);
  wchar_t folder[MAX_PATH];
  GetTempPathW(MAX_PATH, folder);
  const std::string path =
      Narrow(folder) + "ravik-grab-" + std::to_string(GetCurrentProcessId()) + ".png";
  ASSERT_TRUE(driver->Grab(path));
  std::ifstream in(path, std::ios::binary);
  std::string head(24, '\0');
  in.read(head.data(), 24);
  in.close();
  DeleteFileW(platform::win32::Widen(path).c_str());
  EXPECT_EQ(head.substr(0, 8), std::string("\x89PNG\r\n\x1a\n", 8));
  RECT frame;
  GetWindowRect(WindowOf(window), &frame);
  const auto big = [&](int at) {
    return static_cast<long>((static_cast<unsigned char>(head[at]) << 24) |
                             (static_cast<unsigned char>(head[at + 1]) << 16) |
                             (static_cast<unsigned char>(head[at + 2]) << 8) |
                             static_cast<unsigned char>(head[at + 3]));
  };
  EXPECT_EQ(big(16), frame.right - frame.left);
  EXPECT_EQ(big(20), frame.bottom - frame.top);
}

}  // namespace
