#include "config/ConfigRecord.h"

#include <algorithm>
#include <cassert>

namespace {

constexpr std::size_t kRepeatOffset = kNameFieldOffset + kNameFieldSize;

constexpr std::uint8_t LowByte(std::uint32_t value) {
  return static_cast<std::uint8_t>(value & 0xFFu);
}

}  // namespace

ConfigRecord EncodeConfigRecord(const LoggerSettings& s, std::string_view nameBytes) {
  const std::string_view name = nameBytes.substr(0, std::min(nameBytes.find('\0'), kNameFieldSize));

  ConfigRecord r{};
  r[0] = LowByte(s.baudCode >> 8);
  r[1] = LowByte(s.baudCode);
  r[2] = s.dataBitsCode;
  r[3] = s.stopBitsCode;
  r[4] = s.parityCode;
  r[5] = s.modeCode;
  // The name field never holds a zero byte: what the name leaves free is
  // padded with 0x01, and a 12-byte name fills it with no terminator.
  for (std::size_t i = 0; i < kNameFieldSize; ++i) {
    r[kNameFieldOffset + i] = i < name.size() ? static_cast<std::uint8_t>(name[i]) : kNamePad;
  }
  r[kRepeatOffset] = LowByte(s.repeatCount);
  return r;
}

DecodedConfig DecodeConfigRecord(const ConfigRecord& r) {
  DecodedConfig d{};
  d.baudCode = static_cast<std::uint16_t>((r[0] << 8) | r[1]);
  d.dataBitsCode = r[2];
  d.stopBitsCode = r[3];
  d.parityCode = r[4];
  d.modeCode = r[5];
  for (std::size_t i = kNameFieldOffset; i < kRepeatOffset; ++i) {
    if (r[i] == 0x00 || r[i] == kNamePad) break;
    d.name.push_back(static_cast<char>(r[i]));
  }
  d.repeatCount = r[kRepeatOffset];
  return d;
}

std::string ConfigSlotFileName(int slot) {
  static constexpr std::array<std::string_view, 3> kNames{"Config1.ini", "Config2.ini",
                                                          "Config3.ini"};
  assert(slot >= 1 && slot <= 3 && "configuration slot must be 1, 2 or 3");
  if (slot < 1 || slot > 3) return {};
  return std::string(kNames[static_cast<std::size_t>(slot - 1)]);
}

std::string ConfigSlotPath(std::string_view driveText, int slot) {
  std::string fileName = ConfigSlotFileName(slot);
  if (fileName.empty()) return {};
  const std::size_t colon = driveText.find(':');
  const std::string_view drive =
      colon == std::string_view::npos ? std::string_view{} : driveText.substr(0, colon + 1);
  std::string path;
  path.reserve(drive.size() + 1 + fileName.size());
  path.append(drive).append("\\").append(fileName);
  return path;
}
