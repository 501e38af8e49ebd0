// The program's 8-bit code page: Windows-1252, the code page of German
// Windows. Slot files and the byte buffers the window reads into hold text
// in it, so a file written here is byte for byte the one written there.
#pragma once

#include <string>
#include <string_view>

// UTF-8 to Windows-1252, one byte per character. A character the code page
// lacks becomes '?', and so does every byte that does not belong to a
// well-formed UTF-8 sequence (one '?' per such byte).
std::string ToCodePage(std::string_view utf8);

// Windows-1252 to UTF-8. The five bytes the code page leaves undefined
// (0x81 0x8D 0x8F 0x90 0x9D) become U+0081 etc., so every byte string
// survives FromCodePage followed by ToCodePage unchanged.
std::string FromCodePage(std::string_view bytes);

// Whether text is well-formed UTF-8 (no overlong forms, no surrogates,
// nothing above U+10FFFF).
bool IsValidUtf8(std::string_view text);
