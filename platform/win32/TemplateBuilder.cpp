#include "platform/win32/TemplateBuilder.h"

#include <string_view>

#include "platform/win32/Utf16.h"

namespace platform::win32 {

namespace {

// The predefined classes by their ordinals in a template.
constexpr unsigned short kButtonClass = 0x0080;
constexpr unsigned short kEditClass = 0x0081;
constexpr unsigned short kStaticClass = 0x0082;
constexpr unsigned short kComboBoxClass = 0x0085;

class Writer {
 public:
  void Word(unsigned value) { m_words.push_back(static_cast<unsigned short>(value & 0xFFFFu)); }
  void Dword(DWORD value) {
    Word(value & 0xFFFFu);
    Word(value >> 16);
  }
  void Text(std::string_view utf8) {
    for (wchar_t c : Widen(utf8)) Word(static_cast<unsigned>(c));
    Word(0);
  }
  void Ordinal(unsigned value) {
    Word(0xFFFF);
    Word(value);
  }
  // Every item starts on a DWORD boundary.
  void AlignDword() {
    if (m_words.size() % 2) Word(0);
  }
  std::vector<unsigned short> Take() { return std::move(m_words); }

 private:
  std::vector<unsigned short> m_words;
};

unsigned ClassOf(ControlKind kind) {
  switch (kind) {
    case ControlKind::PushButton:
    case ControlKind::RadioButton:
    case ControlKind::CheckBox:
    case ControlKind::GroupBox:
      return kButtonClass;
    case ControlKind::Edit:
      return kEditClass;
    case ControlKind::ComboBox:
      return kComboBoxClass;
    case ControlKind::StaticText:
    case ControlKind::StaticBitmap:
      break;
  }
  return kStaticClass;
}

}  // namespace

std::vector<unsigned short> BuildDialogTemplate(const DialogTemplate& dialog) {
  constexpr unsigned kNormalWeight = 400;
  constexpr unsigned kDefaultCharset = 1;
  Writer out;
  out.Word(1);       // dlgVer
  out.Word(0xFFFF);  // signature of the extended format
  out.Dword(0);      // helpID
  out.Dword(dialog.exStyle);
  out.Dword(dialog.style & ~WS_VISIBLE);
  out.Word(static_cast<unsigned>(dialog.controls.size()));
  out.Word(static_cast<unsigned>(dialog.x));
  out.Word(static_cast<unsigned>(dialog.y));
  out.Word(static_cast<unsigned>(dialog.cx));
  out.Word(static_cast<unsigned>(dialog.cy));
  out.Word(0);  // no menu
  out.Word(0);  // the standard dialog class
  out.Text(dialog.caption ? dialog.caption : "");
  if (dialog.style & DS_SETFONT) {
    out.Word(static_cast<unsigned>(dialog.pointSize));
    out.Word(kNormalWeight);
    out.Word(kDefaultCharset << 8);  // italic FALSE, then the character set
    out.Text(dialog.fontName ? dialog.fontName : "");
  }

  for (const ControlTemplate& control : dialog.controls) {
    out.AlignDword();
    out.Dword(0);  // helpID
    out.Dword(0);  // exStyle
    out.Dword(WS_CHILD | WS_VISIBLE | control.style);
    out.Word(static_cast<unsigned>(control.x));
    out.Word(static_cast<unsigned>(control.y));
    out.Word(static_cast<unsigned>(control.cx));
    out.Word(static_cast<unsigned>(control.cy));
    out.Dword(static_cast<DWORD>(control.id));
    out.Ordinal(ClassOf(control.kind));
    if (control.kind == ControlKind::StaticBitmap) {
      // The static control loads the bitmap from the program's resources.
      out.Ordinal(static_cast<unsigned>(control.imageId));
    } else {
      out.Text(control.text ? control.text : "");
    }
    out.Word(0);  // no creation data
  }
  return out.Take();
}

}  // namespace platform::win32
