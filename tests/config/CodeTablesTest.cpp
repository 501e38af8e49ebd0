#include "config/CodeTables.h"

#include <gtest/gtest.h>

#include <cstddef>
#include <cstdint>
#include <initializer_list>
#include <iterator>
#include <string_view>

// The lookups must work where the window needs a constant.
static_assert(FindByCode(kBaudRates, 96)->radioId == 1057);
static_assert(FindByRadioId(kParity, 1076)->code == 0x20);
static_assert(FindByCode(kDataBits, 1) == nullptr);

// The rows written out again from the logger's code list, so that a slip in
// the one table (or in resource.h) shows up here.
TEST(CodeTables, BaudRowsMatchTheLoggersCodesAndTheRadios) {
  struct Row {
    std::uint32_t rate;
    int radioId;
    std::string_view caption;
  };
  const Row expected[] = {
      {300, 1050, "300"},        {600, 1053, "600"},
      {1200, 1054, "1200"},      {2400, 1055, "2400"},
      {4800, 1056, "4800"},      {9600, 1057, "9600"},
      {14400, 1058, "14.400"},   {19200, 1059, "19.200"},
      {28800, 1060, "28.800"},   {38400, 1061, "38.400"},
      {57600, 1062, "57.600"},   {76800, 1063, "76.800"},
      {115200, 1064, "115.200"}, {230400, 1065, "(230.400 *)"},
  };
  ASSERT_EQ(kBaudRates.size(), std::size(expected));
  for (std::size_t i = 0; i < kBaudRates.size(); ++i) {
    SCOPED_TRACE(expected[i].rate);
    EXPECT_EQ(kBaudRates[i].rate, expected[i].rate);
    EXPECT_EQ(kBaudRates[i].code, expected[i].rate / 100);
    EXPECT_EQ(kBaudRates[i].radioId, expected[i].radioId);
    EXPECT_EQ(kBaudRates[i].caption, expected[i].caption);
  }
  EXPECT_EQ(FindByRadioId(kBaudRates, 1051), nullptr);
  EXPECT_EQ(FindByRadioId(kBaudRates, 1052), nullptr);
}

TEST(CodeTables, FrameRowsMatchTheLoggersCodesAndTheRadios) {
  auto check = [](const char* what, const auto& table,
                  std::initializer_list<FrameChoice> expected) {
    SCOPED_TRACE(what);
    ASSERT_EQ(table.size(), expected.size());
    const FrameChoice* row = table.data();
    for (const FrameChoice& e : expected) {
      SCOPED_TRACE(e.value);
      EXPECT_EQ(row->value, e.value);
      EXPECT_EQ(row->code, e.code);
      EXPECT_EQ(row->radioId, e.radioId);
      ++row;
    }
  };
  check("data bits", kDataBits, {{5, 0, 1066}, {6, 2, 1067}, {7, 4, 1068}, {8, 6, 1069}});
  check("stop bits", kStopBits, {{1, 0, 1042}, {2, 8, 1043}});
  check("parity", kParity,
        {{kParityNone, 0x00, 1075}, {kParityEven, 0x20, 1076}, {kParityOdd, 0x30, 1077}});
  EXPECT_EQ(kModeRecord, 3);
  EXPECT_EQ(kModePlay, 4);
  EXPECT_EQ(kModePlayDeviceBaud, 0x44);
  EXPECT_EQ(kRepeatOnce, 1u);
  EXPECT_EQ(kRepeatEndless, 255u);
  EXPECT_EQ(kRepeatMaxValue, 254u);
}

// Every row is found by its radio and by its code; anything else by neither.
TEST(CodeTables, LookupsFindEachRowAndNothingElse) {
  auto checkTable = [](const auto& table) {
    for (const auto& row : table) {
      SCOPED_TRACE(row.radioId);
      EXPECT_EQ(FindByRadioId(table, row.radioId), &row);
      EXPECT_EQ(FindByCode(table, row.code), &row);
    }
    EXPECT_EQ(FindByRadioId(table, -1), nullptr);  // IDC_STATIC
    EXPECT_EQ(FindByRadioId(table, 0), nullptr);
  };
  checkTable(kBaudRates);
  checkTable(kDataBits);
  checkTable(kStopBits);
  checkTable(kParity);

  // Codes a loaded file may bring; a wider code must not match by its low bits.
  EXPECT_EQ(FindByCode(kBaudRates, 0), nullptr);
  EXPECT_EQ(FindByCode(kBaudRates, 0xFFFF), nullptr);
  EXPECT_EQ(FindByCode(kBaudRates, 0x10060), nullptr);
  EXPECT_EQ(FindByCode(kDataBits, 1), nullptr);
  EXPECT_EQ(FindByCode(kDataBits, 0x106), nullptr);
  EXPECT_EQ(FindByCode(kStopBits, 0xFF), nullptr);
  EXPECT_EQ(FindByCode(kParity, 0x10), nullptr);
  // Radio ids of another group are not rows of this one.
  EXPECT_EQ(FindByRadioId(kDataBits, 1057), nullptr);
  EXPECT_EQ(FindByRadioId(kBaudRates, 1066), nullptr);
}
