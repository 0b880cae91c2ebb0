#pragma once
// What the viewer tests share: a picture pattern, the comparison of what a viewer shows with a
// picture, and a fixture that starts Kamerin with a picture file and waits for its viewer.

#include <windows.h>

#include <gtest/gtest.h>

#include <functional>
#include <initializer_list>
#include <string>
#include <vector>

#include "driver.h"

namespace e2e {

using Pixel = std::function<COLORREF(int x, int y)>;

// A pattern in which every pixel of a picture up to 256 x 256 differs from its neighbours, so
// that a shift, a flip or a lost row shows.
COLORREF Pattern(int x, int y);

std::vector<HWND> ViewersOf(const Process& process);
std::vector<HWND> VisibleViewersOf(const Process& process);
POINT MiddleOf(const RECT& r);
std::string Describe(const RECT& r);
bool Visible(HWND window);

// Empty when the viewer's frame has the colour and its client area shows exactly
// picture(x / scale, y / scale); otherwise the first difference.
std::string CompareViewerPixels(HWND viewer, COLORREF frame, const Pixel& picture, int scale = 1);

// The PNG reader's sample files, beside its unit tests: FILE.png and the picture it shows,
// FILE.ppm (binary, 8 bits a channel, white where the file is transparent).
std::wstring PngSample(const std::string& name);

// Empty when the viewer shows the picture of a binary PPM file (8 bits a channel), each channel
// within one step (16-bit samples and alpha may round either way); otherwise the first difference.
std::string CompareWithPpm(HWND viewer, const std::string& ppm);

// The default frame colour, 0xFF8080 in the settings' 0x00BBGGRR.
inline constexpr COLORREF DefaultFrame = RGB(0x80, 0x80, 0xFF);

class Viewer : public ::testing::Test {
 protected:
  // Starts Kamerin on these settings with a picture file on its command line and waits for the
  // viewer of the picture to show.
  HWND Open(const std::string& settings, const std::string& bmpBytes);
  HWND OpenPattern(const std::string& settings, int width, int height);
  // Turns the wheel over the viewer's middle and waits for the client size to become `expected`.
  static bool WheelTo(HWND viewer, int clicks, SIZE expected);
  // Opens the viewer's menu with a right click on its picture and chooses with the accelerator
  // keys (two for an item of the Edit submenu); true once the menu has closed.
  bool Choose(HWND viewer, std::initializer_list<WORD> keys);

  Sandbox sandbox_;
  Process program_;
  HWND main_ = nullptr;
};

}  // namespace e2e
