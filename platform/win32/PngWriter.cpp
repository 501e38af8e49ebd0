#include "platform/win32/PngWriter.h"

#include <algorithm>
#include <array>
#include <fstream>

namespace platform::win32 {

namespace {

std::uint32_t Crc(const std::uint8_t* data, std::size_t size, std::uint32_t crc = 0xFFFFFFFFu) {
  static const auto table = [] {
    std::array<std::uint32_t, 256> t{};
    for (std::uint32_t n = 0; n < 256; ++n) {
      std::uint32_t c = n;
      for (int k = 0; k < 8; ++k) c = (c & 1) ? 0xEDB88320u ^ (c >> 1) : c >> 1;
      t[n] = c;
    }
    return t;
  }();
  for (std::size_t i = 0; i < size; ++i) crc = table[(crc ^ data[i]) & 0xFF] ^ (crc >> 8);
  return crc;
}

void PutBig(std::vector<std::uint8_t>& out, std::uint32_t value) {
  for (int shift = 24; shift >= 0; shift -= 8)
    out.push_back(static_cast<std::uint8_t>(value >> shift));
}

void Chunk(std::vector<std::uint8_t>& out, const char* type,
           const std::vector<std::uint8_t>& data) {
  PutBig(out, static_cast<std::uint32_t>(data.size()));
  std::vector<std::uint8_t> body(type, type + 4);
  body.insert(body.end(), data.begin(), data.end());
  out.insert(out.end(), body.begin(), body.end());
  PutBig(out, Crc(body.data(), body.size()) ^ 0xFFFFFFFFu);
}

}  // namespace

bool WritePng(const std::string& path, int width, int height,
              const std::vector<std::uint8_t>& pixels) {
  if (width <= 0 || height <= 0 || pixels.size() < static_cast<std::size_t>(width) * height * 4)
    return false;
  std::vector<std::uint8_t> raw;  // each row: filter 0, then RGBA
  for (int y = 0; y < height; ++y) {
    raw.push_back(0);
    for (int x = 0; x < width; ++x) {
      const std::uint8_t* p = &pixels[(static_cast<std::size_t>(y) * width + x) * 4];
      raw.insert(raw.end(), {p[2], p[1], p[0], 0xFF});
    }
  }
  std::vector<std::uint8_t> zlib = {0x78, 0x01};
  std::uint32_t a = 1, b = 0;
  for (std::uint8_t byte : raw) {
    a = (a + byte) % 65521;
    b = (b + a) % 65521;
  }
  for (std::size_t at = 0; at < raw.size() || at == 0;) {
    const std::size_t n = std::min<std::size_t>(65535, raw.size() - at);
    const bool last = at + n >= raw.size();
    zlib.push_back(last ? 1 : 0);
    zlib.insert(zlib.end(), {static_cast<std::uint8_t>(n), static_cast<std::uint8_t>(n >> 8),
                             static_cast<std::uint8_t>(~n), static_cast<std::uint8_t>(~n >> 8)});
    zlib.insert(zlib.end(), raw.begin() + static_cast<long>(at),
                raw.begin() + static_cast<long>(at + n));
    at += n;
    if (last) break;
  }
  PutBig(zlib, (b << 16) | a);

  std::vector<std::uint8_t> png = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
  std::vector<std::uint8_t> header;
  PutBig(header, static_cast<std::uint32_t>(width));
  PutBig(header, static_cast<std::uint32_t>(height));
  header.insert(header.end(), {8, 6, 0, 0, 0});  // 8-bit RGBA
  Chunk(png, "IHDR", header);
  Chunk(png, "IDAT", zlib);
  Chunk(png, "IEND", {});
  std::ofstream file(path, std::ios::binary);
  file.write(reinterpret_cast<const char*>(png.data()), static_cast<std::streamsize>(png.size()));
  return static_cast<bool>(file);
}

}  // namespace platform::win32
