#include "framework/win/ui_font.h"

#include "framework/win/dpi.h"

namespace kmrn {
namespace {

int CALLBACK NoteFound(const LOGFONTW*, const TEXTMETRICW*, DWORD, LPARAM found) {
  *reinterpret_cast<bool*>(found) = true;
  return 0;
}

bool FontExists(const wchar_t* face) {
  LOGFONTW query{};
  query.lfCharSet = DEFAULT_CHARSET;
  lstrcpynW(query.lfFaceName, face, LF_FACESIZE);
  bool found = false;
  WindowDC screen(nullptr);
  EnumFontFamiliesExW(screen.Get(), &query, NoteFound, reinterpret_cast<LPARAM>(&found), 0);
  return found;
}

const wchar_t* ChooseFace() {
  static const wchar_t* const candidates[] = {L"ＭＳ Ｐゴシック", L"MS PGothic",   L"IPAPGothic",
                                              L"Meiryo UI",       L"MS UI Gothic", L"Yu Gothic UI"};
  for (const wchar_t* face : candidates) {
    if (FontExists(face)) return face;
  }
  return L"MS Shell Dlg 2";
}

}  // namespace

Font CreateUiFont(int dpi, UiFontStyle style) {
  static const wchar_t* const face = ChooseFace();
  LOGFONTW font{};
  font.lfHeight = -ScaleForDpi(12, dpi);
  font.lfWeight = style == UiFontStyle::Bold ? FW_BOLD : FW_NORMAL;
  font.lfUnderline = style == UiFontStyle::Underlined ? TRUE : FALSE;
  font.lfCharSet = SHIFTJIS_CHARSET;
  font.lfQuality = DEFAULT_QUALITY;
  lstrcpynW(font.lfFaceName, face, LF_FACESIZE);
  return Font(CreateFontIndirectW(&font));
}

SIZE TextExtent(HWND window, HFONT font, const std::wstring& text) {
  WindowDC dc(window);
  Selection selection(dc.Get(), font);
  SIZE size{};
  GetTextExtentPoint32W(dc.Get(), text.c_str(), static_cast<int>(text.size()), &size);
  return size;
}

}  // namespace kmrn
