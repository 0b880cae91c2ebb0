#include "viewer_fixture.h"

#include <cstdio>
#include <cstdlib>
#include <sstream>

#include "input.h"
#include "pictures.h"

namespace e2e {

COLORREF Pattern(int x, int y) { return RGB((x * 7 + y) & 0xFF, (y * 13 + 40) & 0xFF, ((x + y) * 5 + 90) & 0xFF); }

std::vector<HWND> ViewersOf(const Process& process) { return WindowsOfProcess(process, L"KMRN_VIEW_WINDOW"); }

POINT MiddleOf(const RECT& r) { return POINT{(r.left + r.right) / 2, (r.top + r.bottom) / 2}; }

std::string Describe(const RECT& r) {
  std::ostringstream out;
  out << "(" << r.left << ", " << r.top << ") " << SizeOf(r).cx << " x " << SizeOf(r).cy;
  return out.str();
}

namespace {

std::string Hex(COLORREF c) {
  char text[16];
  wsprintfA(text, "#%02X%02X%02X", GetRValue(c), GetGValue(c), GetBValue(c));
  return text;
}

}  // namespace

std::string CompareViewerPixels(HWND viewer, COLORREF frame, const Pixel& picture, int scale) {
  const RECT outer = WindowRectOf(viewer), client = ClientRectOnScreen(viewer);
  const Picture shown = ScreenPixels(outer);
  for (int y = outer.top; y < outer.bottom; ++y) {
    for (int x = outer.left; x < outer.right; ++x) {
      const bool inClient = x >= client.left && x < client.right && y >= client.top && y < client.bottom;
      const COLORREF want = inClient ? picture((x - client.left) / scale, (y - client.top) / scale) : frame;
      const std::uint32_t got = shown.At(x - outer.left, y - outer.top);
      if (RGB(Red(got), Green(got), Blue(got)) != want) {
        std::ostringstream out;
        out << (inClient ? "picture" : "frame") << " pixel at window offset (" << x - outer.left << ", "
            << y - outer.top << ") is " << Hex(RGB(Red(got), Green(got), Blue(got))) << ", expected " << Hex(want);
        return out.str();
      }
    }
  }
  return {};
}

std::wstring PngSample(const std::string& name) {
  const std::string here = __FILE__;
  return Widen(here.substr(0, here.find_last_of("/\\")) + "/../unit/picture/png_files/" + name);
}

std::string CompareWithPpm(HWND viewer, const std::string& ppm) {
  int width = 0, height = 0, maximum = 0, header = 0;
  if (std::sscanf(ppm.c_str(), "P6 %d %d %d%n", &width, &height, &maximum, &header) != 3 ||
      ppm.size() < header + 1 + static_cast<size_t>(width) * height * 3) {
    return "no PPM";
  }
  const auto* expected = reinterpret_cast<const unsigned char*>(ppm.data()) + header + 1;
  const Picture shown = ScreenPixels(ClientRectOnScreen(viewer));
  if (shown.width != width || shown.height != height) return "another size";
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) {
      const unsigned char* want = expected + (static_cast<size_t>(y) * width + x) * 3;
      const std::uint32_t got = shown.At(x, y);
      if (std::abs(Red(got) - want[0]) > 1 || std::abs(Green(got) - want[1]) > 1 || std::abs(Blue(got) - want[2]) > 1) {
        return "pixel " + std::to_string(x) + ", " + std::to_string(y);
      }
    }
  }
  return {};
}

bool Visible(HWND window) { return IsWindowVisible(window) != 0; }

std::vector<HWND> VisibleViewersOf(const Process& process) {
  std::vector<HWND> visible;
  for (HWND viewer : ViewersOf(process)) {
    if (Visible(viewer)) visible.push_back(viewer);
  }
  return visible;
}

HWND Viewer::Open(const std::string& settings, const std::string& bmpBytes) {
  sandbox_.WriteIni("[Setting]\r\n" + settings);
  WriteFileBytes(sandbox_.Path(L"picture.bmp"), bmpBytes);
  program_ = sandbox_.Start({sandbox_.Path(L"picture.bmp")});
  main_ = WaitForMainWindow(program_);
  EXPECT_TRUE(main_);
  HWND viewer = nullptr;
  WaitUntil([&] {
    auto viewers = ViewersOf(program_);
    if (viewers.size() == 1 && Visible(viewers[0])) viewer = viewers[0];
    return viewer != nullptr;
  });
  EXPECT_TRUE(viewer) << "no viewer showed";
  EXPECT_TRUE(MessageBoxesOf(program_).empty());
  return viewer;
}

HWND Viewer::OpenPattern(const std::string& settings, int width, int height) {
  return Open(settings, Bmp24(width, height, Pattern));
}

bool Viewer::WheelTo(HWND viewer, int clicks, SIZE expected) {
  const POINT centre = MiddleOf(ClientRectOnScreen(viewer));
  Wheel(centre.x, centre.y, clicks);
  return WaitUntil(
      [&] {
        const SIZE now = SizeOf(ClientRectOnScreen(viewer));
        return Visible(viewer) && now.cx == expected.cx && now.cy == expected.cy;
      },
      5s);
}

bool Viewer::Choose(HWND viewer, std::initializer_list<WORD> keys) {
  const POINT at = MiddleOf(ClientRectOnScreen(viewer));
  HWND menu = nullptr;
  // A synthetic right click now and then goes astray under Wine: tried again.
  for (int attempt = 0; attempt < 3 && !menu; ++attempt) {
    Click(at.x, at.y, MOUSEEVENTF_RIGHTDOWN, MOUSEEVENTF_RIGHTUP);
    WaitUntil([&] { return (menu = FindVisibleWindow(program_, L"#32768")) != nullptr; }, 3s);
  }
  if (!menu) return false;
  Settle(150);
  for (WORD key : keys) {
    PressKey(key);
    Settle(150);
  }
  return WaitUntil([&] { return FindVisibleWindow(program_, L"#32768") == nullptr; }, 3s);
}

}  // namespace e2e
