// The layer's growable text: UTF-8 inside, so every backend can show it.
// Bytes for files go through the 8-bit code page (platform/CodePage.h).
#pragma once

#include <cstdarg>
#include <string>
#include <string_view>

class CString {
 public:
  CString() = default;
  CString(const char* text) : m_text(text ? text : "") {}  // NOLINT: implicit like the original
  CString(std::string text) : m_text(std::move(text)) {}   // NOLINT
  CString(std::string_view text) : m_text(text) {}         // NOLINT

  int GetLength() const { return static_cast<int>(m_text.size()); }
  bool IsEmpty() const { return m_text.empty(); }
  void Empty() { m_text.clear(); }
  // Index of the first ch, or -1.
  int Find(char ch) const {
    const auto at = m_text.find(ch);
    return at == std::string::npos ? -1 : static_cast<int>(at);
  }
  CString Left(int count) const { return CString(m_text.substr(0, count < 0 ? 0 : count)); }
  // Loads string resource id; FALSE (and an empty text) when it is missing.
  int LoadString(unsigned id);
  // printf-style formatting, as the dialogs use it for numbers.
  void Format(const char* format, ...) __attribute__((format(printf, 2, 3)));

  const std::string& str() const { return m_text; }
  const char* c_str() const { return m_text.c_str(); }
  operator std::string_view() const { return m_text; }  // NOLINT

  CString& operator+=(const CString& other) {
    m_text += other.m_text;
    return *this;
  }
  friend CString operator+(CString a, const CString& b) { return a += b; }
  friend bool operator==(const CString& a, const CString& b) = default;

 private:
  std::string m_text;
};
