#include "platform/CodePage.h"

#include <gtest/gtest.h>

#include <string>

namespace {

struct Case {
  const char* what;
  std::string utf8;
  std::string bytes;
};

TEST(CodePage, ConvertsToWindows1252) {
  const Case cases[] = {
      {"ASCII", "PLAYFILE.TXT", "PLAYFILE.TXT"},
      {"umlauts and sharp s", "äöüßÄÖÜ", "\xE4\xF6\xFC\xDF\xC4\xD6\xDC"},
      {"euro sign from the 0x80 row", "€", "\x80"},
      {"acute accent", "\u00B4", "\xB4"},
      {"grave accent", "`", "\x60"},
      {"last of the 0x80 row", "Ÿ", "\x9F"},
      {"undefined byte kept as its C1 control", "\u0081\u009D", "\x81\x9D"},
      {"characters it lacks", "Ωa中😀\u0080", "?a???"},
      {"lone continuation byte", "a\x80z", "a?z"},
      {"sequence cut short", "\xE2\x82", "??"},
      {"overlong slash", "\xC0\xAF", "??"},
      {"surrogate", "\xED\xA0\x80", "???"},
      {"beyond U+10FFFF", "\xF4\x90\x80\x80", "????"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(ToCodePage(c.utf8), c.bytes) << c.what;
  }
}

TEST(CodePage, ConvertsFromWindows1252) {
  EXPECT_EQ(FromCodePage("K\xC4SE \x80 \xB4"), "KÄSE € ´");
  EXPECT_EQ(FromCodePage("\x81\x8D\x8F\x90\x9D"), "\u0081\u008D\u008F\u0090\u009D");
}

TEST(CodePage, EveryByteRoundTrips) {
  std::string all;
  for (int b = 0; b < 256; ++b) all.push_back(static_cast<char>(b));
  const std::string utf8 = FromCodePage(all);
  EXPECT_TRUE(IsValidUtf8(utf8));
  EXPECT_EQ(ToCodePage(utf8), all);
}

}  // namespace
