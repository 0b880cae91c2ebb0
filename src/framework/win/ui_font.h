#pragma once
// The program's UI font: "ＭＳ Ｐゴシック" 12 pixels high where it exists, otherwise a Japanese
// UI font that does, scaled to the window's DPI.

#include <windows.h>

#include <string>

#include "framework/win/gdi.h"

namespace kmrn {

enum class UiFontStyle { Normal, Bold, Underlined };

Font CreateUiFont(int dpi, UiFontStyle style = UiFontStyle::Normal);

// The size a text takes in a window's DC with the font.
SIZE TextExtent(HWND window, HFONT font, const std::wstring& text);

}  // namespace kmrn
