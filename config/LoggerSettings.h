// The logger's settings as the window holds them: every value is the code
// that a slot file stores, never the number the user sees. The codes and
// their radio buttons are in CodeTables.h.
#pragma once

#include <cstdint>

#include "config/CodeTables.h"

// A plain record without a constructor: the window gives it its values in
// OnInitDialog, and every handler writes a field without reading it.
struct LoggerSettings {
  std::uint32_t baudCode;  // rate / 100; only the low 16 bits reach a slot file
  std::uint8_t modeCode;   // kModeRecord, kModePlay or kModePlayDeviceBaud
  std::uint8_t dataBitsCode;
  std::uint8_t stopBitsCode;
  std::uint8_t parityCode;
  std::uint32_t repeatCount;  // 1 once, 255 endless, else the typed value; low 8 bits saved
};

// The start values: 9600 bit/s, 8 data bits, 1 stop bit, no parity,
// record, played once.
constexpr LoggerSettings DefaultLoggerSettings() {
  return LoggerSettings{
      .baudCode = 96,
      .modeCode = kModeRecord,
      .dataBitsCode = 6,
      .stopBitsCode = 0,
      .parityCode = 0,
      .repeatCount = kRepeatOnce,
  };
}
