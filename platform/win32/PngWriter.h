// Writes 32-bit BGRA pixels as a PNG file (stored, uncompressed deflate):
// enough for a test to keep a picture of a window.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace platform::win32 {

// pixels: width * height, top row first, each B, G, R, A.
bool WritePng(const std::string& path, int width, int height,
              const std::vector<std::uint8_t>& pixels);

}  // namespace platform::win32
