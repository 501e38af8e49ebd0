// Any 19 bytes decode, and what they decode to encodes back to a record
// that differs only where a name field may: after the name's end, which a
// record always pads with 0x01.
#include <algorithm>
#include <cstddef>
#include <cstdint>

#include "FuzzCheck.h"
#include "config/ConfigRecord.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size < kConfigRecordSize) return -1;  // not a record: keep such inputs out of the corpus
  ConfigRecord record;
  std::copy_n(data, kConfigRecordSize, record.begin());

  const DecodedConfig decoded = DecodeConfigRecord(record);
  FUZZ_CHECK(decoded.name.size() <= kNameFieldSize);
  FUZZ_CHECK(decoded.name.find('\0') == std::string::npos);
  FUZZ_CHECK(decoded.name.find(static_cast<char>(kNamePad)) == std::string::npos);
  FUZZ_CHECK(decoded.baudCode == ((record[0] << 8) | record[1]));

  LoggerSettings settings{};
  settings.baudCode = decoded.baudCode;
  settings.modeCode = decoded.modeCode;
  settings.dataBitsCode = decoded.dataBitsCode;
  settings.stopBitsCode = decoded.stopBitsCode;
  settings.parityCode = decoded.parityCode;
  settings.repeatCount = decoded.repeatCount;
  const ConfigRecord again = EncodeConfigRecord(settings, decoded.name);

  // Everything but the name field comes back as it was.
  for (std::size_t i = 0; i < kConfigRecordSize; ++i) {
    if (i >= kNameFieldOffset && i < kNameFieldOffset + kNameFieldSize) continue;
    FUZZ_CHECK(again[i] == record[i]);
  }
  // The name comes back, then padding; no zero byte anywhere in the field.
  for (std::size_t i = 0; i < kNameFieldSize; ++i) {
    const std::uint8_t byte = again[kNameFieldOffset + i];
    FUZZ_CHECK(byte != 0);
    FUZZ_CHECK(i < decoded.name.size() ? byte == record[kNameFieldOffset + i] : byte == kNamePad);
  }
  // A record in that form is a fixed point.
  FUZZ_CHECK(DecodeConfigRecord(again) == decoded);
  FUZZ_CHECK(EncodeConfigRecord(settings, decoded.name) == again);
  return 0;
}
