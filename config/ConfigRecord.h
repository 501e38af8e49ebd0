// The 19-byte record of a configuration slot file and the path of a slot.
//
// Offset  Size  Content
//  0       2    baudCode, low 16 bits, high byte first
//  2       1    dataBitsCode
//  3       1    stopBitsCode
//  4       1    parityCode
//  5       1    modeCode
//  6      12    playback file name, padded with 0x01, no terminating zero
// 18       1    repeatCount, low 8 bits
//
// No header, version or checksum: the logger reads exactly these bytes.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "config/LoggerSettings.h"

inline constexpr std::size_t kConfigRecordSize = 19;
inline constexpr std::size_t kNameFieldOffset = 6;
inline constexpr std::size_t kNameFieldSize = 12;
inline constexpr std::uint8_t kNamePad = 0x01;

using ConfigRecord = std::array<std::uint8_t, kConfigRecordSize>;

// nameBytes: the playback file name in the 8-bit code page, as read from
// the edit into its 13-byte buffer. It ends at its first zero byte and at
// 12 bytes; anything beyond is not stored. The codes are stored as they
// are, zero bytes included, without any check.
ConfigRecord EncodeConfigRecord(const LoggerSettings& s, std::string_view nameBytes);

// What a record holds, each byte taken whole; which values the window
// applies depends on the mode and is the loader's business.
struct DecodedConfig {
  std::uint16_t baudCode;
  std::uint8_t dataBitsCode, stopBitsCode, parityCode, modeCode;
  std::string name;  // raw 8-bit bytes, 0 to 12 of them
  std::uint8_t repeatCount;

  friend bool operator==(const DecodedConfig&, const DecodedConfig&) = default;
};

// The name ends at the first 0x00 or 0x01 byte of its field, so a name
// that contained 0x01 reads back cut there, and a field that another
// writer padded with zeros reads back as the bytes before the first zero.
DecodedConfig DecodeConfigRecord(const ConfigRecord& r);

// "Config1.ini", "Config2.ini" or "Config3.ini". Any other slot is a
// programming error: it asserts, and without assertions gives "".
std::string ConfigSlotFileName(int slot);

// The drive text up to and including its first ':' (nothing when it has
// none), then a backslash and the slot's file name: "E: STICK" and slot 1
// give "E:\Config1.ini", "STICK" gives "\Config1.ini". For a slot outside
// 1..3 it asserts, and without assertions gives "", a path that no open
// accepts, so no other slot's file is ever touched.
std::string ConfigSlotPath(std::string_view driveText, int slot);
