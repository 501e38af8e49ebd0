// The resources are transcribed data: these tests look for the slips a
// transcription makes (a lost WS_GROUP or WS_TABSTOP, a duplicated id, a
// control outside its frame, a wrong byte in the rules text) and for
// images damaged on their way into the library.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cstdint>
#include <set>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "platform/Resources.h"
#include "res/resource.h"

namespace {

constexpr UINT kDialogIds[] = {IDD_ABOUTBOX, IDD_MAIN, IDD_TIMEFORMAT};

std::span<const ControlTemplate> ControlsOf(UINT dialogId) {
  const DialogTemplate* dialog = FindDialogTemplate(dialogId);
  if (dialog == nullptr) {
    ADD_FAILURE() << "no dialog template " << dialogId;
    return {};
  }
  return dialog->controls;
}

std::vector<std::string_view> Lines(std::string_view text) {
  std::vector<std::string_view> lines;
  for (std::size_t start = 0;;) {
    std::size_t end = text.find('\n', start);
    lines.push_back(text.substr(start, end - start));
    if (end == std::string_view::npos) return lines;
    start = end + 1;
  }
}

// Well-formed UTF-8 without overlong forms or surrogates.
bool IsUtf8(std::string_view text) {
  for (std::size_t i = 0; i < text.size();) {
    const auto lead = static_cast<unsigned char>(text[i]);
    std::size_t extra = 0;
    std::uint32_t cp = 0;
    if (lead < 0x80) {
      ++i;
      continue;
    } else if (lead >= 0xC2 && lead <= 0xDF) {
      extra = 1, cp = lead & 0x1Fu;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
      extra = 2, cp = lead & 0x0Fu;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
      extra = 3, cp = lead & 0x07u;
    } else {
      return false;
    }
    for (std::size_t k = 1; k <= extra; ++k) {
      if (i + k >= text.size()) return false;
      const auto next = static_cast<unsigned char>(text[i + k]);
      if ((next & 0xC0u) != 0x80u) return false;
      cp = (cp << 6) | (next & 0x3Fu);
    }
    if ((extra == 2 && cp < 0x800) || (extra == 3 && (cp < 0x10000 || cp > 0x10FFFF)) ||
        (cp >= 0xD800 && cp <= 0xDFFF)) {
      return false;
    }
    i += extra + 1;
  }
  return true;
}

TEST(DialogTemplates, LookupByIdAndNothingElse) {
  for (UINT id : kDialogIds) {
    const DialogTemplate* dialog = FindDialogTemplate(id);
    ASSERT_NE(dialog, nullptr) << id;
    EXPECT_EQ(dialog->id, id);
    EXPECT_FALSE(dialog->controls.empty()) << id;
  }
  for (UINT id : {0u, 1u, 101u, 128u, 136u, 0xFFFFFFFFu}) {
    EXPECT_EQ(FindDialogTemplate(id), nullptr) << id;
  }
}

TEST(DialogTemplates, ControlIdsAreUniqueExceptStatic) {
  for (UINT dialogId : kDialogIds) {
    std::set<int> seen;
    for (const ControlTemplate& c : ControlsOf(dialogId)) {
      if (c.id == IDC_STATIC) continue;
      EXPECT_TRUE(seen.insert(c.id).second) << "dialog " << dialogId << ": id " << c.id << " twice";
    }
  }
}

// The kind and the style bits are written separately; a backend may read
// either, so they must agree. WS_CHILD and WS_VISIBLE are the layer's.
TEST(DialogTemplates, StyleBitsMatchTheControlKind) {
  for (UINT dialogId : kDialogIds) {
    for (const ControlTemplate& c : ControlsOf(dialogId)) {
      SCOPED_TRACE(testing::Message()
                   << "dialog " << dialogId << ", control " << c.id << " \"" << c.text << "\"");
      const DWORD low = c.style & 0xFu;
      switch (c.kind) {
        case ControlKind::PushButton:
          EXPECT_TRUE(low == BS_PUSHBUTTON || low == BS_DEFPUSHBUTTON);
          break;
        case ControlKind::RadioButton:
          EXPECT_EQ(low, BS_AUTORADIOBUTTON);
          break;
        case ControlKind::CheckBox:
          EXPECT_EQ(low, BS_AUTOCHECKBOX);
          break;
        case ControlKind::GroupBox:
          EXPECT_EQ(low, BS_GROUPBOX);
          EXPECT_EQ(c.style & (WS_GROUP | WS_TABSTOP), 0u);
          break;
        case ControlKind::StaticText:
          EXPECT_EQ(c.style & 0x1Fu, SS_LEFT);
          EXPECT_NE(c.style & WS_GROUP, 0u) << "every label closes the group before it";
          break;
        case ControlKind::StaticBitmap:
          EXPECT_EQ(c.style & 0x1Fu, SS_BITMAP);
          EXPECT_NE(FindBitmapResource(static_cast<UINT>(c.imageId)), nullptr);
          break;
        case ControlKind::Edit:
          EXPECT_EQ(c.style & (WS_BORDER | ES_AUTOHSCROLL), WS_BORDER | ES_AUTOHSCROLL);
          break;
        case ControlKind::ComboBox:
          EXPECT_EQ(c.style & 0x3u, CBS_DROPDOWN);
          break;
      }
      EXPECT_EQ(c.style & (WS_CHILD | WS_VISIBLE | WS_DISABLED | WS_POPUP), 0u);
      if (c.kind != ControlKind::StaticBitmap) {
        EXPECT_EQ(c.imageId, 0);
      }
    }
  }
}

std::vector<int> TabStops(UINT dialogId) {
  std::vector<int> ids;
  for (const ControlTemplate& c : ControlsOf(dialogId)) {
    if (c.style & WS_TABSTOP) ids.push_back(c.id);
  }
  return ids;
}

std::vector<int> DefaultButtons(UINT dialogId) {
  std::vector<int> ids;
  for (const ControlTemplate& c : ControlsOf(dialogId)) {
    if (c.kind == ControlKind::PushButton && (c.style & 0xFu) == BS_DEFPUSHBUTTON) {
      ids.push_back(c.id);
    }
  }
  return ids;
}

// Enter presses the default button: in the two small dialogs that is "OK",
// also their only tab stop, so it has the focus from the start.
TEST(DialogTemplates, OkIsTheOnlyTabStopAndTheDefaultOfTheSmallDialogs) {
  constexpr UINT kSmallDialogs[] = {IDD_ABOUTBOX, IDD_TIMEFORMAT};
  for (UINT dialogId : kSmallDialogs) {
    EXPECT_EQ(TabStops(dialogId), std::vector<int>{IDOK}) << dialogId;
    EXPECT_EQ(DefaultButtons(dialogId), std::vector<int>{IDOK}) << dialogId;
  }
}

TEST(MainDialog, TabOrderAndNoDefaultButton) {
  const std::vector<int> tabStops = TabStops(IDD_MAIN);
  const std::vector<int> expected = {
      IDC_EXIT,         IDC_INFO,         IDC_MODE_RECORD,  IDC_DEVICE_BAUD,  IDC_PLAYFILE,
      IDC_NAME_HELP,    IDC_REPEAT_ONCE,  IDC_REPEAT_VALUE, IDC_DRIVE,        IDC_LOAD_CONFIG1,
      IDC_SAVE_CONFIG1, IDC_LOAD_CONFIG2, IDC_SAVE_CONFIG2, IDC_LOAD_CONFIG3, IDC_SAVE_CONFIG3,
      IDC_BAUD_300,     IDC_DATABITS_5,   IDC_STOPBITS_1,   IDC_PARITY_NONE};
  EXPECT_EQ(tabStops, expected);
  // Pinned by number too, in case an IDC_ macro itself is wrong.
  EXPECT_EQ(tabStops, (std::vector<int>{1040, 1020, 1070, 1078, 1013, 1079, 1072, 1046, 1041, 1030,
                                        1022, 1032, 1033, 1034, 1031, 1050, 1066, 1042, 1075}));
  // Enter must do nothing unless a push button has the focus.
  EXPECT_TRUE(DefaultButtons(IDD_MAIN).empty());
}

// A group runs from one WS_GROUP control to the next; the radios of each
// group uncheck each other. A WS_GROUP lost or added merges or splits them.
TEST(MainDialog, GroupStartsSplitTheRadiosIntoTheSevenGroups) {
  std::vector<std::vector<int>> groups(1);
  for (const ControlTemplate& c : ControlsOf(IDD_MAIN)) {
    if (c.style & WS_GROUP) groups.emplace_back();
    if (c.kind == ControlKind::RadioButton) groups.back().push_back(c.id);
  }
  std::vector<std::vector<int>> radioGroups;
  for (const std::vector<int>& group : groups) {
    if (!group.empty()) radioGroups.push_back(group);
  }
  const std::vector<std::vector<int>> expected = {
      {1070, 1071},
      {1072, 1073, 1074},
      {1050, 1053, 1054, 1055, 1056, 1057, 1058, 1059, 1060, 1061, 1062, 1063, 1064, 1065},
      {1035},
      {1066, 1067, 1068, 1069},
      {1042, 1043},
      {1075, 1076, 1077},
  };
  EXPECT_EQ(radioGroups, expected);
}

// Each control lies inside the window and either wholly inside or wholly
// outside every frame: a mistyped coordinate nearly always breaks that.
TEST(DialogTemplates, ControlsNestInsideTheirFrames) {
  for (UINT dialogId : kDialogIds) {
    const DialogTemplate* dialog = FindDialogTemplate(dialogId);
    ASSERT_NE(dialog, nullptr);
    for (const ControlTemplate& c : dialog->controls) {
      SCOPED_TRACE(testing::Message() << "dialog " << dialogId << ", control " << c.id << " \""
                                      << c.text << "\" at " << c.x << "," << c.y);
      EXPECT_GT(c.cx, 0);
      EXPECT_GT(c.cy, 0);
      EXPECT_GE(c.x, 0);
      EXPECT_GE(c.y, 0);
      EXPECT_LE(c.x + c.cx, dialog->cx);
      EXPECT_LE(c.y + c.cy, dialog->cy);
      for (const ControlTemplate& frame : dialog->controls) {
        if (frame.kind != ControlKind::GroupBox || &frame == &c) continue;
        const bool inside = c.x >= frame.x && c.y >= frame.y && c.x + c.cx <= frame.x + frame.cx &&
                            c.y + c.cy <= frame.y + frame.cy;
        const bool outside = c.x + c.cx <= frame.x || c.x >= frame.x + frame.cx ||
                             c.y + c.cy <= frame.y || c.y >= frame.y + frame.cy;
        const bool enclosesFrame = frame.x >= c.x && frame.y >= c.y &&
                                   frame.x + frame.cx <= c.x + c.cx &&
                                   frame.y + frame.cy <= c.y + c.cy;
        EXPECT_TRUE(inside || outside || enclosesFrame)
            << "overlaps the frame \"" << frame.text << "\" at " << frame.x << "," << frame.y;
      }
    }
  }
}

TEST(DialogTemplates, AllTextsAreUtf8) {
  for (UINT dialogId : kDialogIds) {
    const DialogTemplate* dialog = FindDialogTemplate(dialogId);
    ASSERT_NE(dialog, nullptr);
    EXPECT_TRUE(IsUtf8(dialog->caption)) << dialog->caption;
    EXPECT_TRUE(IsUtf8(dialog->fontName));
    for (const ControlTemplate& c : dialog->controls) {
      ASSERT_NE(c.text, nullptr);
      EXPECT_TRUE(IsUtf8(c.text)) << c.text;
    }
  }
  const char* about = FindStringResource(IDS_ABOUTBOX);
  ASSERT_NE(about, nullptr);
  EXPECT_TRUE(IsUtf8(about));
  EXPECT_NE(std::string_view(about).find("\xC3\xBC"), std::string_view::npos) << "ü";
}

TEST(DialogTemplates, Utf8CheckRejectsLatin1AndBrokenSequences) {
  EXPECT_TRUE(IsUtf8("Parit\xC3\xA4t"));
  EXPECT_FALSE(IsUtf8("Parit\xE4t"));  // Latin-1 ä
  EXPECT_FALSE(IsUtf8("\xC3"));        // cut short
  EXPECT_FALSE(IsUtf8("\xC0\xA4"));    // overlong
}

TEST(MainDialog, FootnoteIsTwoLinesAndTheSecondIndentedByTwoSpaces) {
  std::vector<std::string_view> multiLine;
  for (const ControlTemplate& c : ControlsOf(IDD_MAIN)) {
    if (std::string_view(c.text).find('\n') != std::string_view::npos) multiLine.push_back(c.text);
  }
  ASSERT_EQ(multiLine.size(), 1u);
  const std::vector<std::string_view> lines = Lines(multiLine[0]);
  ASSERT_EQ(lines.size(), 2u);
  EXPECT_EQ(lines[0].substr(0, 2), "* ");
  EXPECT_EQ(lines[1].substr(0, 3), "  I");
}

TEST(TimeFormatDialog, RulesTextLines) {
  std::string_view rules;
  for (const ControlTemplate& c : ControlsOf(IDD_TIMEFORMAT)) {
    if (c.kind == ControlKind::StaticText) rules = c.text;
  }
  const std::vector<std::string_view> lines = Lines(rules);
  ASSERT_EQ(lines.size(), 7u) << rules;
  EXPECT_EQ(lines[1], "");
  EXPECT_EQ(lines[3], "");
  std::string capitals, smalls;
  for (char ch = 'A'; ch <= 'Z'; ++ch) {
    capitals += ch;
    smalls += static_cast<char>(ch - 'A' + 'a');
    if (ch != 'Z') {
      capitals += ' ';
      smalls += ' ';
    }
  }
  EXPECT_EQ(lines[4], capitals);
  EXPECT_EQ(lines[5], smalls);
  // Byte by byte: the acute accent U+00B4 is C2 B4 in UTF-8, the grave
  // accent U+0060 a plain 60; neither may become an apostrophe (27).
  constexpr std::array<unsigned char, 32> kLine7 = {
      '$', ' ', '%', ' ', 0xC2, 0xB4, ' ', '-', ' ', '_', ' ', '@', ' ', '~', ' ', 0x60,
      ' ', '!', ' ', '(', ' ',  ')',  ' ', '{', ' ', '}', ' ', '^', ' ', '#', ' ', '&'};
  const std::string_view line7 = lines[6];
  EXPECT_EQ(std::vector<unsigned char>(line7.begin(), line7.end()),
            std::vector<unsigned char>(kLine7.begin(), kLine7.end()));
}

TEST(Strings, LookupByIdAndNothingElse) {
  EXPECT_NE(FindStringResource(IDS_ABOUTBOX), nullptr);
  for (UINT id : {0u, 100u, 102u, 0xFFFFFFFFu}) EXPECT_EQ(FindStringResource(id), nullptr) << id;
}

// --- Images -------------------------------------------------------------

std::uint32_t BigEndian32(std::span<const std::uint8_t> bytes, std::size_t at) {
  return std::uint32_t{bytes[at]} << 24 | std::uint32_t{bytes[at + 1]} << 16 |
         std::uint32_t{bytes[at + 2]} << 8 | std::uint32_t{bytes[at + 3]};
}

std::uint32_t Crc32(std::span<const std::uint8_t> bytes) {
  std::uint32_t crc = 0xFFFFFFFFu;
  for (std::uint8_t b : bytes) {
    crc ^= b;
    for (int k = 0; k < 8; ++k) crc = (crc >> 1) ^ (0xEDB88320u & (0u - (crc & 1u)));
  }
  return ~crc;
}

struct PngHeader {
  std::uint32_t width = 0, height = 0;
  int bitDepth = 0, colourType = 0;
};

// Walks the chunks of a PNG file and checks each one's CRC, so a byte
// lost or changed while embedding shows up; returns the IHDR values.
testing::AssertionResult ReadPng(std::span<const std::uint8_t> png, PngHeader& header) {
  constexpr std::uint8_t kSignature[] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
  if (png.size() < 8 || !std::equal(std::begin(kSignature), std::end(kSignature), png.begin())) {
    return testing::AssertionFailure() << "no PNG signature";
  }
  bool first = true;
  for (std::size_t at = 8;;) {
    if (png.size() - at < 12) return testing::AssertionFailure() << "truncated at " << at;
    const std::uint32_t length = BigEndian32(png, at);
    if (png.size() - at - 12 < length) return testing::AssertionFailure() << "chunk past the end";
    const std::string_view type(reinterpret_cast<const char*>(png.data() + at + 4), 4);
    if (Crc32(png.subspan(at + 4, 4 + length)) != BigEndian32(png, at + 8 + length)) {
      return testing::AssertionFailure() << "bad CRC in " << type;
    }
    if (first) {
      if (type != "IHDR" || length != 13) return testing::AssertionFailure() << "no IHDR first";
      header = {BigEndian32(png, at + 8), BigEndian32(png, at + 12), png[at + 16], png[at + 17]};
      first = false;
    }
    at += 12 + length;
    if (type == "IEND") {
      if (at != png.size()) return testing::AssertionFailure() << "bytes after IEND";
      return testing::AssertionSuccess();
    }
  }
}

void ExpectRgbaPngOf(const ImageResource& image, int size_x, int size_y) {
  EXPECT_EQ(image.width, size_x);
  EXPECT_EQ(image.height, size_y);
  PngHeader header;
  ASSERT_TRUE(ReadPng(image.png, header));
  EXPECT_EQ(header.width, static_cast<std::uint32_t>(image.width));
  EXPECT_EQ(header.height, static_cast<std::uint32_t>(image.height));
  // 32 bits a pixel: 8-bit RGBA.
  EXPECT_EQ(header.bitDepth, 8);
  EXPECT_EQ(header.colourType, 6);
}

TEST(Images, PngCheckCatchesDamage) {
  const ImageResource* about = FindBitmapResource(IDB_ABOUT);
  ASSERT_NE(about, nullptr);
  PngHeader header;
  std::vector<std::uint8_t> bytes(about->png.begin(), about->png.end());
  ASSERT_TRUE(ReadPng(bytes, header));
  ASSERT_FALSE(ReadPng(std::span(bytes).first(bytes.size() - 1), header));
  bytes[bytes.size() / 2] ^= 0x01u;
  ASSERT_FALSE(ReadPng(bytes, header));
}

TEST(Images, IconGroupHoldsEverySizeSmallestFirst) {
  const std::span<const ImageResource> icons = FindIconGroup(IDR_MAINFRAME);
  const int sizes[] = {16, 24, 32, 48, 256};
  ASSERT_EQ(icons.size(), std::size(sizes));
  for (std::size_t i = 0; i < icons.size(); ++i) {
    SCOPED_TRACE(testing::Message() << sizes[i] << " px");
    ExpectRgbaPngOf(icons[i], sizes[i], sizes[i]);
  }
  EXPECT_TRUE(FindIconGroup(IDB_ABOUT).empty());
  EXPECT_TRUE(FindIconGroup(0).empty());
}

TEST(Images, AboutBitmap) {
  const ImageResource* about = FindBitmapResource(IDB_ABOUT);
  ASSERT_NE(about, nullptr);
  ExpectRgbaPngOf(*about, 132, 78);
  EXPECT_EQ(FindBitmapResource(IDR_MAINFRAME), nullptr);
  EXPECT_EQ(FindBitmapResource(0), nullptr);
}

}  // namespace
