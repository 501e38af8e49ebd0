#include "platform/CodePage.h"

#include <array>
#include <cstdint>
#include <optional>

namespace {

// The characters of the bytes 0x80 to 0x9F; the rest of the upper half is
// Latin-1. The undefined bytes stand for the C1 control of the same value.
constexpr std::array<char32_t, 32> kUpper80{
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,  // 80-87
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,  // 88-8F
    0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,  // 90-97
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,  // 98-9F
};

constexpr char32_t CharOfByte(unsigned char byte) {
  return (byte >= 0x80 && byte <= 0x9F) ? kUpper80[byte - 0x80] : char32_t{byte};
}

std::optional<unsigned char> ByteOfChar(char32_t c) {
  if (c < 0x80 || (c >= 0xA0 && c <= 0xFF)) return static_cast<unsigned char>(c);
  for (std::size_t i = 0; i < kUpper80.size(); ++i) {
    if (kUpper80[i] == c) return static_cast<unsigned char>(0x80 + i);
  }
  return std::nullopt;
}

// Decodes one well-formed UTF-8 sequence at text[pos]; its length goes to
// *length. nullopt when the bytes there start no well-formed sequence.
std::optional<char32_t> DecodeAt(std::string_view text, std::size_t pos, std::size_t* length) {
  const auto byte = [&](std::size_t i) { return static_cast<unsigned char>(text[pos + i]); };
  const unsigned char lead = byte(0);
  std::size_t n = 0;
  char32_t c = 0;
  char32_t least = 0;
  if (lead < 0x80) {
    *length = 1;
    return lead;
  } else if (lead >= 0xC2 && lead <= 0xDF) {
    n = 2, c = lead & 0x1Fu, least = 0x80;
  } else if (lead >= 0xE0 && lead <= 0xEF) {
    n = 3, c = lead & 0x0Fu, least = 0x800;
  } else if (lead >= 0xF0 && lead <= 0xF4) {
    n = 4, c = lead & 0x07u, least = 0x10000;
  } else {
    return std::nullopt;
  }
  if (text.size() - pos < n) return std::nullopt;
  for (std::size_t i = 1; i < n; ++i) {
    if ((byte(i) & 0xC0u) != 0x80u) return std::nullopt;
    c = (c << 6) | (byte(i) & 0x3Fu);
  }
  if (c < least || c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF)) return std::nullopt;
  *length = n;
  return c;
}

void AppendUtf8(std::string& out, char32_t c) {
  const auto put = [&](char32_t bits) { out.push_back(static_cast<char>(bits)); };
  if (c < 0x80) {
    put(c);
  } else if (c < 0x800) {
    put(0xC0 | (c >> 6));
    put(0x80 | (c & 0x3F));
  } else {
    put(0xE0 | (c >> 12));  // every character of the code page is in the BMP
    put(0x80 | ((c >> 6) & 0x3F));
    put(0x80 | (c & 0x3F));
  }
}

}  // namespace

std::string ToCodePage(std::string_view utf8) {
  std::string out;
  out.reserve(utf8.size());
  for (std::size_t pos = 0; pos < utf8.size();) {
    std::size_t length = 1;
    const std::optional<char32_t> c = DecodeAt(utf8, pos, &length);
    const std::optional<unsigned char> b = c ? ByteOfChar(*c) : std::nullopt;
    out.push_back(b ? static_cast<char>(*b) : '?');
    pos += length;
  }
  return out;
}

std::string FromCodePage(std::string_view bytes) {
  std::string out;
  out.reserve(bytes.size() * 2);
  for (const char b : bytes) AppendUtf8(out, CharOfByte(static_cast<unsigned char>(b)));
  return out;
}

bool IsValidUtf8(std::string_view text) {
  for (std::size_t pos = 0; pos < text.size();) {
    std::size_t length = 1;
    if (!DecodeAt(text, pos, &length)) return false;
    pos += length;
  }
  return true;
}
