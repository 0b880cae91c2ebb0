#pragma once
// The main window's child controls, made from the layout table and scaled to the window's DPI.

#include <windows.h>

#include "framework/win/gdi.h"
#include "framework/win/unique_resource.h"
#include "shell/main_window_layout.h"

namespace kmrn {

class MainControls {
 public:
  // Creates every control of the table in the window, with the UI font and the hints.
  MainControls(HWND window, int dpi);

  HWND Get(MainControl id) const { return GetDlgItem(window_, static_cast<int>(id)); }
  bool IsChecked(MainControl id) const;
  void SetChecked(MainControl id, bool checked);
  HWND WindowList() const { return Get(MainControl::ListBox_TopWindows); }

  // Places and sizes every control again for another DPI (the window moved to another monitor).
  void Relayout(int dpi);

  // The raised bevels of the two panels.
  void PaintPanels(HDC dc) const;

 private:
  HWND window_;
  int dpi_;
  Font font_;
  UniqueWindow tooltip_;
};

}  // namespace kmrn
