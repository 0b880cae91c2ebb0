#pragma once
// The program's UI font: "ＭＳ Ｐゴシック" 12 pixels high where it exists, otherwise a Japanese
// UI font that does, scaled to the window's DPI.

#include <windows.h>

#include "framework/win/gdi.h"

namespace kmrn {

Font CreateUiFont(int dpi);

}  // namespace kmrn
