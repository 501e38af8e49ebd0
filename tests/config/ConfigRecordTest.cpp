#include "config/ConfigRecord.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <ostream>
#include <string>
#include <string_view>

#include "config/CodeTables.h"
#include "config/LoggerSettings.h"

using namespace std::string_view_literals;

// Records as hex text, so that a failure shows which byte differs.
static std::string ToHex(const ConfigRecord& r) {
  std::string hex;
  for (std::uint8_t b : r) {
    char buf[4];
    std::snprintf(buf, sizeof buf, "%02X ", b);
    hex += buf;
  }
  hex.pop_back();
  return hex;
}

static ConfigRecord FromHex(std::string_view hex) {
  ConfigRecord r{};
  std::size_t n = 0;
  for (std::size_t i = 0; i < hex.size(); i += 3, ++n) {
    if (n < r.size()) {
      r[n] = static_cast<std::uint8_t>(std::stoul(std::string(hex.substr(i, 2)), nullptr, 16));
    }
  }
  EXPECT_EQ(n, r.size()) << "a test record holds 19 bytes: " << hex;
  return r;
}

static std::string Escaped(std::string_view bytes) {
  std::string out;
  for (char c : bytes) {
    const auto b = static_cast<unsigned char>(c);
    if (b >= 0x20 && b < 0x7F) {
      out += c;
    } else {
      char buf[8];
      std::snprintf(buf, sizeof buf, "\\x%02X", b);
      out += buf;
    }
  }
  return out;
}

void PrintTo(const DecodedConfig& d, std::ostream* os) {
  *os << "{baud " << d.baudCode << ", data " << +d.dataBitsCode << ", stop " << +d.stopBitsCode
      << ", parity " << +d.parityCode << ", mode " << +d.modeCode << ", name \"" << Escaped(d.name)
      << "\", repeat " << +d.repeatCount << "}";
}

static LoggerSettings Settings(std::uint32_t baud, std::uint8_t dataBits, std::uint8_t stopBits,
                               std::uint8_t parity, std::uint8_t mode, std::uint32_t repeat) {
  return LoggerSettings{.baudCode = baud,
                        .modeCode = mode,
                        .dataBitsCode = dataBits,
                        .stopBitsCode = stopBits,
                        .parityCode = parity,
                        .repeatCount = repeat};
}

// What a record of settings whose values all fit their bytes reads back as.
static DecodedConfig Unchanged(const LoggerSettings& s, std::string_view name) {
  return DecodedConfig{static_cast<std::uint16_t>(s.baudCode),
                       s.dataBitsCode,
                       s.stopBitsCode,
                       s.parityCode,
                       s.modeCode,
                       std::string(name),
                       static_cast<std::uint8_t>(s.repeatCount)};
}

TEST(ConfigRecord, EncodesAndDecodesKnownRecordsByteForByte) {
  struct Case {
    const char* what;
    LoggerSettings settings;
    std::string_view name;
    const char* hex;
  };
  const Case cases[] = {
      {"the start values", DefaultLoggerSettings(), "PLAYFILE.TXT",
       "00 60 06 00 00 03 50 4C 41 59 46 49 4C 45 2E 54 58 54 01"},
      {"115200 8N1, play LOG.TXT 5 times", Settings(1152, 6, 0, 0, kModePlay, 5), "LOG.TXT",
       "04 80 06 00 00 04 4C 4F 47 2E 54 58 54 01 01 01 01 01 05"},
      {"19200 7E2, device baud, empty name, endless",
       Settings(192, 4, 8, 0x20, kModePlayDeviceBaud, kRepeatEndless), "",
       "00 C0 04 08 20 44 01 01 01 01 01 01 01 01 01 01 01 01 FF"},
      {"300 5N1, 12-byte name, repeat 0", Settings(3, 0, 0, 0, kModeRecord, 0), "ABCDEFGH.TXT",
       "00 03 00 00 00 03 41 42 43 44 45 46 47 48 2E 54 58 54 00"},
      {"230400 8O1: low baud byte 0", Settings(2304, 6, 0, 0x30, kModePlay, 1), "A",
       "09 00 06 00 30 04 41 01 01 01 01 01 01 01 01 01 01 01 01"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    EXPECT_EQ(ToHex(EncodeConfigRecord(c.settings, c.name)), c.hex);
    EXPECT_EQ(DecodeConfigRecord(FromHex(c.hex)), Unchanged(c.settings, c.name));
  }
}

TEST(ConfigRecord, EveryChoiceOfTheControlsRoundTrips) {
  const std::uint8_t modes[] = {kModeRecord, kModePlay, kModePlayDeviceBaud};
  const std::string_view names[] = {"", "LOG.TXT", "ABCDEFGH.TXT"};
  const std::uint32_t repeats[] = {0, kRepeatOnce, kRepeatEndless};
  for (const BaudRate& baud : kBaudRates) {
    for (const FrameChoice& data : kDataBits) {
      for (const FrameChoice& stop : kStopBits) {
        for (const FrameChoice& parity : kParity) {
          for (std::uint8_t mode : modes) {
            for (std::string_view name : names) {
              for (std::uint32_t repeat : repeats) {
                const LoggerSettings s =
                    Settings(baud.code, data.code, stop.code, parity.code, mode, repeat);
                ASSERT_EQ(DecodeConfigRecord(EncodeConfigRecord(s, name)), Unchanged(s, name))
                    << "baud " << baud.rate << ", " << data.value << " data bits, " << stop.value
                    << " stop bits, parity " << parity.value << ", mode " << +mode << ", name \""
                    << name << "\", repeat " << repeat;
              }
            }
          }
        }
      }
    }
  }
}

// A loaded file can bring any byte, and saving it again must keep it.
TEST(ConfigRecord, CodesOutsideTheTablesAndHighNameBytesRoundTrip) {
  struct Case {
    const char* what;
    LoggerSettings settings;
    std::string_view name;
  };
  const Case cases[] = {
      {"all codes zero", Settings(0, 0, 0, 0, 0, 0), "X"},
      {"all codes at their maximum", Settings(0xFFFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF), "X"},
      {"odd codes", Settings(0x1234, 1, 7, 0x21, 0x45, 254), "LOG.TXT"},
      {"code page bytes in the name", Settings(96, 6, 0, 0, kModePlay, 2), "\xC4NDERN.TXT"},
      {"bytes 0x02, 0x7F, 0x80 and 0xFF", Settings(96, 6, 0, 0, kModePlay, 2), "\x02\x7F\x80\xFF"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    EXPECT_EQ(DecodeConfigRecord(EncodeConfigRecord(c.settings, c.name)),
              Unchanged(c.settings, c.name));
  }
}

// The bytes are checked as well: a name cut short must leave 0x01 pads,
// never zeros, although both would read back the same.
TEST(ConfigRecord, ValuesThatDoNotFitAreCut) {
  struct Case {
    const char* what;
    LoggerSettings settings;
    std::string_view name;
    const char* hex;
    DecodedConfig expected;
  };
  const LoggerSettings play = Settings(96, 6, 0, 0, kModePlay, 5);
  const Case cases[] = {
      {"name cut at a 0x01 byte",
       play,
       "AB\x01"
       "CD.TXT",
       "00 60 06 00 00 04 41 42 01 43 44 2E 54 58 54 01 01 01 05",
       {96, 6, 0, 0, 4, "AB", 5}},
      {"name ends at the buffer's first zero byte",
       play,
       "AB\0CD.TXT"sv,
       "00 60 06 00 00 04 41 42 01 01 01 01 01 01 01 01 01 01 05",
       {96, 6, 0, 0, 4, "AB", 5}},
      {"name bytes beyond 12 are not stored",
       play,
       "ABCDEFGH.TXTXYZ",
       "00 60 06 00 00 04 41 42 43 44 45 46 47 48 2E 54 58 54 05",
       {96, 6, 0, 0, 4, "ABCDEFGH.TXT", 5}},
      {"baud code keeps its low 16 bits",
       Settings(0x10060, 6, 0, 0, kModePlay, 5),
       "A",
       "00 60 06 00 00 04 41 01 01 01 01 01 01 01 01 01 01 01 05",
       {0x0060, 6, 0, 0, 4, "A", 5}},
      {"baud code 0xFFFFFFFF",
       Settings(0xFFFFFFFF, 6, 0, 0, kModePlay, 5),
       "A",
       "FF FF 06 00 00 04 41 01 01 01 01 01 01 01 01 01 01 01 05",
       {0xFFFF, 6, 0, 0, 4, "A", 5}},
      {"repeat 256 keeps its low 8 bits",
       Settings(96, 6, 0, 0, kModePlay, 256),
       "A",
       "00 60 06 00 00 04 41 01 01 01 01 01 01 01 01 01 01 01 00",
       {96, 6, 0, 0, 4, "A", 0}},
      {"repeat 1000",
       Settings(96, 6, 0, 0, kModePlay, 1000),
       "A",
       "00 60 06 00 00 04 41 01 01 01 01 01 01 01 01 01 01 01 E8",
       {96, 6, 0, 0, 4, "A", 0xE8}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    const ConfigRecord r = EncodeConfigRecord(c.settings, c.name);
    EXPECT_EQ(ToHex(r), c.hex);
    EXPECT_EQ(DecodeConfigRecord(r), c.expected);
  }
}

// Records this program never writes, as another writer might leave them.
TEST(ConfigRecord, DecodesForeignRecords) {
  struct Case {
    const char* what;
    const char* hex;
    DecodedConfig expected;
  };
  const Case cases[] = {
      {"name padded with zeros",
       "00 60 06 00 00 04 4C 4F 47 2E 54 58 54 00 00 00 00 00 05",
       {96, 6, 0, 0, 4, "LOG.TXT", 5}},
      {"name field all zeros",
       "00 60 06 00 00 04 00 00 00 00 00 00 00 00 00 00 00 00 05",
       {96, 6, 0, 0, 4, "", 5}},
      {"zero before a 0x01",
       "00 60 06 00 00 04 41 42 00 43 01 44 45 46 47 48 49 4A 05",
       {96, 6, 0, 0, 4, "AB", 5}},
      {"0x01 before a zero",
       "00 60 06 00 00 04 41 42 01 43 00 44 45 46 47 48 49 4A 05",
       {96, 6, 0, 0, 4, "AB", 5}},
      {"every code byte taken whole",
       "FF FE 01 FF 07 00 41 01 01 01 01 01 01 01 01 01 01 01 80",
       {0xFFFE, 1, 0xFF, 7, 0, "A", 0x80}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    EXPECT_EQ(DecodeConfigRecord(FromHex(c.hex)), c.expected);
  }
}

TEST(ConfigSlotPath, TakesTheDriveTextUpToItsFirstColon) {
  struct Case {
    std::string_view driveText;
    int slot;
    const char* path;
  };
  const Case cases[] = {
      {"E:", 1, "E:\\Config1.ini"},       {"E: STICK", 1, "E:\\Config1.ini"},
      {"E: ", 1, "E:\\Config1.ini"},      {"E:\\DATEN", 1, "E:\\Config1.ini"},
      {"", 1, "\\Config1.ini"},           {"STICK", 1, "\\Config1.ini"},
      {":", 1, ":\\Config1.ini"},         {"C:D:", 1, "C:\\Config1.ini"},
      {"E: STICK", 2, "E:\\Config2.ini"}, {"F:", 3, "F:\\Config3.ini"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << '"' << c.driveText << "\" slot " << c.slot);
    EXPECT_EQ(ConfigSlotPath(c.driveText, c.slot), c.path);
  }
}

TEST(ConfigSlotPath, NamesTheSlotFile) {
  EXPECT_EQ(ConfigSlotFileName(1), "Config1.ini");
  EXPECT_EQ(ConfigSlotFileName(2), "Config2.ini");
  EXPECT_EQ(ConfigSlotFileName(3), "Config3.ini");
}

// A slot outside 1..3 must never reach another slot's file.
TEST(ConfigSlotPathDeathTest, RejectsSlotsOutsideOneToThree) {
  for (int slot : {0, 4, -1}) {
    SCOPED_TRACE(slot);
#ifdef NDEBUG
    EXPECT_EQ(ConfigSlotPath("E:", slot), "");
    EXPECT_EQ(ConfigSlotFileName(slot), "");
#else
    EXPECT_DEATH(ConfigSlotPath("E:", slot), "slot must be 1, 2 or 3");
    EXPECT_DEATH(ConfigSlotFileName(slot), "slot must be 1, 2 or 3");
#endif
  }
}
