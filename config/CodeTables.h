// The codes of the logger's settings with the radio buttons that choose
// them. This is the one place they live: the click handlers, loading a
// slot and the tests all read these tables.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

#include "res/resource.h"

struct BaudRate {
  std::uint32_t rate;  // bit/s
  std::uint32_t code;  // rate / 100, as stored in LoggerSettings::baudCode
  int radioId;
  const char* caption;  // the radio's text
};

// In the order the window handles its fourteen baud radios.
inline constexpr std::array<BaudRate, 14> kBaudRates{{
    {300, 3, IDC_BAUD_300, "300"},
    {600, 6, IDC_BAUD_600, "600"},
    {1200, 12, IDC_BAUD_1200, "1200"},
    {2400, 24, IDC_BAUD_2400, "2400"},
    {4800, 48, IDC_BAUD_4800, "4800"},
    {9600, 96, IDC_BAUD_9600, "9600"},
    {14400, 144, IDC_BAUD_14400, "14.400"},
    {19200, 192, IDC_BAUD_19200, "19.200"},
    {28800, 288, IDC_BAUD_28800, "28.800"},
    {38400, 384, IDC_BAUD_38400, "38.400"},
    {57600, 576, IDC_BAUD_57600, "57.600"},
    {76800, 768, IDC_BAUD_76800, "76.800"},
    {115200, 1152, IDC_BAUD_115200, "115.200"},
    {230400, 2304, IDC_BAUD_230400, "(230.400 *)"},
}};

// One choice of the data bits, stop bits or parity groups.
struct FrameChoice {
  int value;  // data bits, stop bits, or parity 0 none / 1 even / 2 odd
  std::uint8_t code;
  int radioId;
};

// The codes are bit fields that never overlap: data bits in bits 1-2,
// stop bits in bit 3, parity in bits 4-5. A slot file still stores each
// in a byte of its own.
inline constexpr std::array<FrameChoice, 4> kDataBits{{
    {5, 0, IDC_DATABITS_5},
    {6, 2, IDC_DATABITS_6},
    {7, 4, IDC_DATABITS_7},
    {8, 6, IDC_DATABITS_8},
}};

inline constexpr std::array<FrameChoice, 2> kStopBits{{
    {1, 0, IDC_STOPBITS_1},
    {2, 8, IDC_STOPBITS_2},
}};

inline constexpr int kParityNone = 0;
inline constexpr int kParityEven = 1;
inline constexpr int kParityOdd = 2;
inline constexpr std::array<FrameChoice, 3> kParity{{
    {kParityNone, 0x00, IDC_PARITY_NONE},
    {kParityEven, 0x20, IDC_PARITY_EVEN},
    {kParityOdd, 0x30, IDC_PARITY_ODD},
}};

// Operating modes. Play with the baud rate set on the logger is the play
// code with bit 6 added.
inline constexpr std::uint8_t kModeRecord = 3;
inline constexpr std::uint8_t kModePlay = 4;
inline constexpr std::uint8_t kModePlayDeviceBaud = 68;

// Repeat counts of the play modes; a typed value is capped at
// kRepeatMaxValue so that it never reads as endless.
inline constexpr std::uint32_t kRepeatOnce = 1;
inline constexpr std::uint32_t kRepeatEndless = 255;
inline constexpr std::uint32_t kRepeatMaxValue = 254;

// The row of a table (kBaudRates, kDataBits, kStopBits, kParity) whose
// radio button is radioId; nullptr when there is none.
template <typename Row, std::size_t N>
constexpr const Row* FindByRadioId(const std::array<Row, N>& table, int radioId) {
  for (const Row& row : table) {
    if (row.radioId == radioId) return &row;
  }
  return nullptr;
}

// The row of a table whose code is code; nullptr when there is none, as for
// a code that a loaded file brings from outside the table. The code is
// taken whole, so a wider value never matches a row by its low bits.
template <typename Row, std::size_t N>
constexpr const Row* FindByCode(const std::array<Row, N>& table, std::uint32_t code) {
  for (const Row& row : table) {
    if (row.code == code) return &row;
  }
  return nullptr;
}
