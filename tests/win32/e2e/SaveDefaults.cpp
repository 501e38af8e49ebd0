// Drives the running Ravik1.exe from outside, as the end-to-end test
// needs it: finds the main window, chooses the drive given on the command
// line (e.g. D:), opens the drive list once and prints its entries, clicks
// "Speicher Config1", then closes the window with Escape's command.
// Exit code 0 when every step found its window.
#include <windows.h>

#include <cstdio>
#include <string>

namespace {

constexpr int kDrive = 1041;
constexpr int kSaveConfig1 = 1022;
const wchar_t* const kCaption = L"Vendra - Serial to USB-Stick Datalogger - Ravik 1";

HWND WaitForWindow() {
  for (int attempt = 0; attempt < 300; ++attempt) {
    if (HWND window = FindWindowW(nullptr, kCaption); window && IsWindowVisible(window))
      return window;
    Sleep(100);
  }
  return nullptr;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  const std::wstring drive = argc > 1 ? argv[1] : L"D:";
  HWND window = WaitForWindow();
  if (!window) {
    std::fprintf(stderr, "no main window\n");
    return 1;
  }
  HWND combo = GetDlgItem(window, kDrive);
  HWND save = GetDlgItem(window, kSaveConfig1);
  if (!combo || !save) {
    std::fprintf(stderr, "controls missing\n");
    return 1;
  }
  // The list opens (the window refills it with the labels) and closes again.
  SendMessageW(combo, CB_SHOWDROPDOWN, TRUE, 0);
  SendMessageW(combo, CB_SHOWDROPDOWN, FALSE, 0);
  const auto count = SendMessageW(combo, CB_GETCOUNT, 0, 0);
  for (LRESULT i = 0; i < count; ++i) {
    wchar_t item[300] = {};
    if (SendMessageW(combo, CB_GETLBTEXTLEN, static_cast<WPARAM>(i), 0) < 299) {
      SendMessageW(combo, CB_GETLBTEXT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(item));
    }
    std::printf("drive entry: %ls\n", item);
  }
  SendMessageW(combo, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(drive.c_str()));
  SendMessageW(save, BM_CLICK, 0, 0);
  PostMessageW(window, WM_COMMAND, IDCANCEL, 0);
  return 0;
}
