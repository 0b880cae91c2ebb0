#include "pictures.h"

#include <shlobj.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <span>

#include "driver.h"
#include "picture/image_files.h"

namespace e2e {
namespace {

std::uint32_t Le32(const std::string& bytes, size_t at) {
  std::uint32_t value = 0;
  std::memcpy(&value, bytes.data() + at, 4);
  return value;
}

std::uint16_t Le16(const std::string& bytes, size_t at) {
  std::uint16_t value = 0;
  std::memcpy(&value, bytes.data() + at, 2);
  return value;
}

}  // namespace

int BmpBitCount(const std::wstring& path) {
  std::string bytes = ReadFileBytes(path);
  if (bytes.size() < 54 || bytes[0] != 'B' || bytes[1] != 'M') return 0;
  return Le16(bytes, 28);
}

std::optional<Picture> ReadBmpFile(const std::wstring& path) {
  std::string bytes = ReadFileBytes(path);
  if (bytes.size() < 54 || bytes[0] != 'B' || bytes[1] != 'M') return {};
  const std::uint32_t offset = Le32(bytes, 10);
  const std::int32_t width = static_cast<std::int32_t>(Le32(bytes, 18));
  const std::int32_t rawHeight = static_cast<std::int32_t>(Le32(bytes, 22));
  const int bitCount = Le16(bytes, 28);
  const std::uint32_t compression = Le32(bytes, 30);
  if (width <= 0 || rawHeight == 0 || (bitCount != 24 && bitCount != 32)) return {};
  // 32 bits may come with masks; only the standard blue-green-red-unused layout is read here.
  if (compression != BI_RGB && !(compression == BI_BITFIELDS && bitCount == 32 && Le32(bytes, 54) == 0xFF0000 &&
                                 Le32(bytes, 58) == 0xFF00 && Le32(bytes, 62) == 0xFF)) {
    return {};
  }
  const bool bottomUp = rawHeight > 0;
  const int height = bottomUp ? rawHeight : -rawHeight;
  const size_t stride = (static_cast<size_t>(width) * bitCount / 8 + 3) & ~size_t{3};
  if (offset + stride * height > bytes.size()) return {};
  Picture picture{width, height, std::vector<std::uint32_t>(static_cast<size_t>(width) * height)};
  for (int y = 0; y < height; ++y) {
    const int fileRow = bottomUp ? height - 1 - y : y;
    const auto* row = reinterpret_cast<const std::uint8_t*>(bytes.data() + offset + stride * fileRow);
    for (int x = 0; x < width; ++x) {
      const std::uint8_t* p = row + static_cast<size_t>(x) * (bitCount / 8);
      picture.pixels[static_cast<size_t>(y) * width + x] = (std::uint32_t{p[2]} << 16) | (p[1] << 8) | p[0];
    }
  }
  return picture;
}

namespace {

// The picture of a decoded 24-bit file; nothing for any other depth.
std::optional<Picture> PictureOf(const kmrn::Dib& dib) {
  if (dib.bitCount != 24) return {};
  Picture picture{dib.width, dib.height, std::vector<std::uint32_t>(static_cast<size_t>(dib.width) * dib.height)};
  for (int y = 0; y < dib.height; ++y) {
    const std::uint8_t* row = dib.RowFromTop(y);
    for (int x = 0; x < dib.width; ++x) {
      const std::uint8_t* p = row + static_cast<size_t>(x) * 3;
      picture.pixels[static_cast<size_t>(y) * dib.width + x] = (std::uint32_t{p[2]} << 16) | (p[1] << 8) | p[0];
    }
  }
  return picture;
}

std::optional<Picture> DecodePngBytes(std::span<const std::uint8_t> bytes) {
  try {
    return PictureOf(kmrn::DecodePng(bytes));
  } catch (const std::exception&) {
    return {};
  }
}

}  // namespace

std::optional<Picture> ReadJpegFile(const std::wstring& path) {
  std::string bytes = ReadFileBytes(path);
  try {
    return PictureOf(kmrn::DecodeJpeg({reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size()}, false));
  } catch (const std::exception&) {
    return {};
  }
}

std::optional<Picture> ReadPngFile(const std::wstring& path) {
  const std::string bytes = ReadFileBytes(path);
  return DecodePngBytes({reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size()});
}

namespace {

bool OpenClipboardSoon() {
  return WaitUntil([] { return OpenClipboard(nullptr) != 0; }, 3s);
}

}  // namespace

std::optional<Picture> ClipboardPicture() {
  if (!OpenClipboardSoon()) return {};
  std::optional<Picture> picture;
  if (auto bitmap = static_cast<HBITMAP>(GetClipboardData(CF_BITMAP))) {
    BITMAP object{};
    if (GetObjectW(bitmap, sizeof object, &object) && object.bmWidth > 0 && object.bmHeight > 0) {
      BITMAPINFO info{};
      info.bmiHeader.biSize = sizeof info.bmiHeader;
      info.bmiHeader.biWidth = object.bmWidth;
      info.bmiHeader.biHeight = -object.bmHeight;
      info.bmiHeader.biPlanes = 1;
      info.bmiHeader.biBitCount = 32;
      Picture read{object.bmWidth, object.bmHeight,
                   std::vector<std::uint32_t>(static_cast<size_t>(object.bmWidth) * object.bmHeight)};
      HDC screen = GetDC(nullptr);
      if (GetDIBits(screen, bitmap, 0, static_cast<UINT>(object.bmHeight), read.pixels.data(), &info, DIB_RGB_COLORS)) {
        for (std::uint32_t& pixel : read.pixels) pixel &= 0xFFFFFF;
        picture = std::move(read);
      }
      ReleaseDC(nullptr, screen);
    }
  }
  CloseClipboard();
  return picture;
}

std::optional<Picture> ClipboardPng() {
  static const UINT png = RegisterClipboardFormatW(L"PNG");
  if (!OpenClipboardSoon()) return {};
  std::optional<Picture> picture;
  // Asking for a format the program only promised makes it render the format now.
  if (HGLOBAL memory = GetClipboardData(png)) {
    if (const void* bytes = GlobalLock(memory)) {
      picture = DecodePngBytes({static_cast<const std::uint8_t*>(bytes), GlobalSize(memory)});
      GlobalUnlock(memory);
    }
  }
  CloseClipboard();
  return picture;
}

void PutTextOnClipboard(const std::wstring& text) {
  PutBytesOnClipboard(CF_UNICODETEXT,
                      std::string(reinterpret_cast<const char*>(text.c_str()), (text.size() + 1) * sizeof(wchar_t)));
}

void PutBytesOnClipboard(UINT format, const std::string& bytes) {
  ASSERT_TRUE(OpenClipboardSoon());
  EmptyClipboard();
  if (HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, bytes.size())) {
    std::memcpy(GlobalLock(memory), bytes.data(), bytes.size());
    GlobalUnlock(memory);
    if (!SetClipboardData(format, memory)) GlobalFree(memory);
  }
  CloseClipboard();
}

void PutFilesOnClipboard(const std::vector<std::wstring>& paths) {
  // DROPFILES, then each path with its terminator, then one more terminator.
  DROPFILES header{};
  header.pFiles = sizeof header;
  header.fWide = TRUE;
  std::string bytes(reinterpret_cast<const char*>(&header), sizeof header);
  for (const std::wstring& path : paths) {
    bytes.append(reinterpret_cast<const char*>(path.c_str()), (path.size() + 1) * sizeof(wchar_t));
  }
  bytes.append(sizeof(wchar_t), '\0');
  PutBytesOnClipboard(CF_HDROP, bytes);
}

Picture ScreenPixels(const RECT& rect) {
  const int width = SizeOf(rect).cx;
  const int height = SizeOf(rect).cy;
  Picture picture{width, height, std::vector<std::uint32_t>(static_cast<size_t>(width) * height)};
  HDC screen = GetDC(nullptr);
  HDC memory = CreateCompatibleDC(screen);
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof info.bmiHeader;
  info.bmiHeader.biWidth = width;
  info.bmiHeader.biHeight = -height;
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  void* bits = nullptr;
  HBITMAP bitmap = CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  HGDIOBJ old = SelectObject(memory, bitmap);
  BitBlt(memory, 0, 0, width, height, screen, rect.left, rect.top, SRCCOPY);
  GdiFlush();
  const auto* source = static_cast<const std::uint32_t*>(bits);
  for (size_t i = 0; i < picture.pixels.size(); ++i) picture.pixels[i] = source[i] & 0xFFFFFF;
  SelectObject(memory, old);
  DeleteObject(bitmap);
  DeleteDC(memory);
  ReleaseDC(nullptr, screen);
  return picture;
}

std::vector<std::wstring> EntriesIn(const std::wstring& folder) {
  std::vector<std::wstring> names;
  WIN32_FIND_DATAW found;
  HANDLE search = FindFirstFileW((folder + L"\\*").c_str(), &found);
  if (search == INVALID_HANDLE_VALUE) return names;
  do {
    std::wstring name = found.cFileName;
    if (name != L"." && name != L"..") names.push_back(name);
  } while (FindNextFileW(search, &found));
  FindClose(search);
  std::sort(names.begin(), names.end());
  return names;
}

std::vector<std::wstring> FilesIn(const std::wstring& folder, const std::wstring& extension) {
  std::vector<std::wstring> files;
  for (const std::wstring& name : EntriesIn(folder)) {
    if (name.size() > extension.size() &&
        _wcsicmp(name.c_str() + name.size() - extension.size(), extension.c_str()) == 0) {
      files.push_back(folder + L"\\" + name);
    }
  }
  return files;
}

std::uint32_t PatternColour(int x, int y, int phase) {
  const std::uint32_t red = (x * 5 + y * 3 + phase * 40) & 0xFF;
  const std::uint32_t green = (x * 3 + y * 7 + phase * 80) & 0xFF;
  const std::uint32_t blue = (x * 9 + y * 11 + phase * 120) & 0xFF;
  return (red << 16) | (green << 8) | blue;
}

struct PatternWindow::Impl {
  std::unique_ptr<WindowThread> window;
  HWND hwnd = nullptr;
  std::atomic<int> phase{0};
  std::atomic<int> paintedPhase{-1};

  static LRESULT CALLBACK Procedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    auto* self = reinterpret_cast<Impl*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    if (message == WM_NCCREATE) {
      self = static_cast<Impl*>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams);
      SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
    }
    switch (message) {
      case WM_ERASEBKGND: return 1;
      case WM_PAINT: {
        PAINTSTRUCT paint;
        HDC dc = BeginPaint(hwnd, &paint);
        self->Paint(hwnd, dc);
        EndPaint(hwnd, &paint);
        return 0;
      }
      case WM_APP:  // a new phase
        InvalidateRect(hwnd, nullptr, FALSE);
        UpdateWindow(hwnd);
        return 0;
    }
    return DefWindowProcW(hwnd, message, wParam, lParam);
  }

  void Paint(HWND hwnd, HDC dc) {
    RECT client{};
    GetClientRect(hwnd, &client);
    const int width = client.right;
    const int height = client.bottom;
    if (width <= 0 || height <= 0) return;
    const int p = phase.load();
    std::vector<std::uint32_t> pixels(static_cast<size_t>(width) * height);
    for (int y = 0; y < height; ++y) {
      for (int x = 0; x < width; ++x) pixels[static_cast<size_t>(y) * width + x] = PatternColour(x, y, p);
    }
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    SetDIBitsToDevice(dc, 0, 0, width, height, 0, 0, 0, height, pixels.data(), &info, DIB_RGB_COLORS);
    GdiFlush();
    paintedPhase = p;
  }

  HWND Create(const std::wstring& title, RECT bounds, DWORD style, const wchar_t* className) {
    WNDCLASSEXW windowClass{};
    windowClass.cbSize = sizeof windowClass;
    windowClass.lpfnWndProc = Procedure;
    windowClass.hInstance = GetModuleHandleW(nullptr);
    windowClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    windowClass.lpszClassName = className;
    RegisterClassExW(&windowClass);  // fails harmlessly when a previous window registered it
    HWND window = CreateWindowExW(0, className, title.c_str(), style, bounds.left, bounds.top, SizeOf(bounds).cx,
                                  SizeOf(bounds).cy, nullptr, nullptr, GetModuleHandleW(nullptr), this);
    if (window) {
      ShowWindow(window, SW_SHOWNORMAL);
      UpdateWindow(window);
    }
    return window;
  }
};

PatternWindow::PatternWindow(const std::wstring& title, RECT bounds, DWORD style, const wchar_t* className)
    : impl_(std::make_unique<Impl>()) {
  impl_->window = std::make_unique<WindowThread>([=, this] { return impl_->Create(title, bounds, style, className); });
  impl_->hwnd = impl_->window->Handle();
  EXPECT_TRUE(impl_->hwnd) << "cannot create the pattern window";
  EXPECT_TRUE(WaitUntil([this] { return impl_->paintedPhase.load() == 0; }, 5s));
  Sleep(100);  // the window surface reaches the screen
}

PatternWindow::~PatternWindow() = default;

HWND PatternWindow::Handle() const { return impl_->hwnd; }

int PatternWindow::Phase() const { return impl_->phase.load(); }

void PatternWindow::SetPhase(int phase) {
  impl_->phase = phase;
  SendMessageW(impl_->hwnd, WM_APP, 0, 0);
  EXPECT_EQ(impl_->paintedPhase.load(), phase);
  Sleep(100);
}

RECT PatternWindow::ClientOnScreen() const {
  RECT client{};
  GetClientRect(impl_->hwnd, &client);
  POINT origin{0, 0};
  ClientToScreen(impl_->hwnd, &origin);
  return RECT{origin.x, origin.y, origin.x + client.right, origin.y + client.bottom};
}

std::uint32_t PatternWindow::ExpectedAt(int screenX, int screenY) const {
  RECT client = ClientOnScreen();
  return PatternColour(screenX - client.left, screenY - client.top, Phase());
}

int CountDifferences(const Picture& picture, const PatternWindow& window, POINT origin, std::string* report) {
  // The window's place and phase once, not per pixel: a whole-desktop picture has 25 million.
  const RECT client = window.ClientOnScreen();
  const int phase = window.Phase();
  int differences = 0;
  RECT within{picture.width, picture.height, 0, 0};
  for (int y = 0; y < picture.height; ++y) {
    for (int x = 0; x < picture.width; ++x) {
      const std::uint32_t expected = PatternColour(origin.x + x - client.left, origin.y + y - client.top, phase);
      const std::uint32_t got = picture.At(x, y);
      if (got == expected) continue;
      if (report && differences < 5) {
        char line[128];
        std::snprintf(line, sizeof line, "(%d,%d): got %06X, expected %06X\n", x, y, static_cast<unsigned>(got),
                      static_cast<unsigned>(expected));
        *report += line;
      }
      within = {std::min<LONG>(within.left, x), std::min<LONG>(within.top, y), std::max<LONG>(within.right, x + 1),
                std::max<LONG>(within.bottom, y + 1)};
      ++differences;
    }
  }
  if (report && differences > 0) {
    char line[128];
    std::snprintf(line, sizeof line, "all within (%ld,%ld)-(%ld,%ld)\n", within.left, within.top, within.right,
                  within.bottom);
    *report += line;
  }
  return differences;
}

namespace {

void PutLE(std::string& out, std::uint32_t value, int bytes) {
  for (int i = 0; i < bytes; ++i) out.push_back(static_cast<char>((value >> (8 * i)) & 0xFF));
}

std::string BmpHeaders(int width, int height, int bitCount, std::uint32_t paletteBytes, std::uint32_t imageBytes) {
  std::string out = "BM";
  const std::uint32_t offset = 14 + 40 + paletteBytes;
  PutLE(out, offset + imageBytes, 4);
  PutLE(out, 0, 4);
  PutLE(out, offset, 4);
  PutLE(out, 40, 4);
  PutLE(out, static_cast<std::uint32_t>(width), 4);
  PutLE(out, static_cast<std::uint32_t>(height), 4);  // bottom-up
  PutLE(out, 1, 2);
  PutLE(out, static_cast<std::uint32_t>(bitCount), 2);
  PutLE(out, 0, 4);  // BI_RGB
  PutLE(out, imageBytes, 4);
  PutLE(out, 2835, 4);
  PutLE(out, 2835, 4);
  PutLE(out, 0, 4);
  PutLE(out, 0, 4);
  return out;
}

}  // namespace

std::string Bmp24(int width, int height, const std::function<COLORREF(int x, int y)>& pixel) {
  const std::uint32_t stride = (static_cast<std::uint32_t>(width) * 3 + 3) & ~3u;
  std::string out = BmpHeaders(width, height, 24, 0, stride * height);
  for (int y = height - 1; y >= 0; --y) {
    std::string row;
    for (int x = 0; x < width; ++x) {
      const COLORREF c = pixel(x, y);
      row.push_back(static_cast<char>(GetBValue(c)));
      row.push_back(static_cast<char>(GetGValue(c)));
      row.push_back(static_cast<char>(GetRValue(c)));
    }
    row.resize(stride, '\0');
    out += row;
  }
  return out;
}

std::string Bmp1(int width, int height) {
  const std::uint32_t stride = ((static_cast<std::uint32_t>(width) + 31) / 32) * 4;
  std::string out = BmpHeaders(width, height, 1, 8, stride * height);
  PutLE(out, 0x00000000, 4);
  PutLE(out, 0x00FFFFFF, 4);
  for (int y = 0; y < height; ++y) out.append(stride, static_cast<char>(y % 2 ? 0xAA : 0x55));
  return out;
}

RECT WorkArea() {
  RECT work{};
  SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
  return work;
}

std::vector<std::wstring> WaitForFiles(const std::wstring& folder, const std::wstring& extension, size_t count,
                                       std::chrono::milliseconds timeout) {
  std::vector<std::wstring> files;
  WaitUntil([&] { return (files = FilesIn(folder, extension)).size() >= count; }, timeout);
  return files;
}

::testing::AssertionResult ShowsPattern(const std::optional<Picture>& picture, const PatternWindow& window,
                                        POINT origin, int width, int height) {
  if (!picture) return ::testing::AssertionFailure() << "not a readable picture";
  if (picture->width != width || picture->height != height) {
    return ::testing::AssertionFailure() << "size " << picture->width << "x" << picture->height << ", expected "
                                         << width << "x" << height;
  }
  std::string report;
  int differences = CountDifferences(*picture, window, origin, &report);
  if (differences != 0) return ::testing::AssertionFailure() << differences << " pixels differ:\n" << report;
  return ::testing::AssertionSuccess();
}

::testing::AssertionResult JpegMatches(const std::optional<Picture>& jpeg, const std::optional<Picture>& bmp) {
  if (!jpeg) return ::testing::AssertionFailure() << "not a readable JPEG file";
  if (!bmp) return ::testing::AssertionFailure() << "no BMP picture to compare with";
  if (jpeg->width != bmp->width || jpeg->height != bmp->height) {
    return ::testing::AssertionFailure() << "size " << jpeg->width << "x" << jpeg->height << ", expected " << bmp->width
                                         << "x" << bmp->height;
  }
  const int width = bmp->width, height = bmp->height;
  auto meanError = [&](auto pixelOf) {
    double sum = 0;
    for (int y = 0; y < height; ++y) {
      for (int x = 0; x < width; ++x) {
        const std::uint32_t a = pixelOf(x, y);
        const std::uint32_t b = jpeg->At(x, y);
        sum += std::abs(Red(a) - Red(b)) + std::abs(Green(a) - Green(b)) + std::abs(Blue(a) - Blue(b));
      }
    }
    return sum / (3.0 * width * height);
  };
  const double error = meanError([&](int x, int y) { return bmp->At(x, y); });
  const double swapped = meanError([&](int x, int y) {
    const std::uint32_t c = bmp->At(x, y);
    return (static_cast<std::uint32_t>(Blue(c)) << 16) | (c & 0xFF00) | static_cast<std::uint32_t>(Red(c));
  });
  const double flipped = meanError([&](int x, int y) { return bmp->At(x, height - 1 - y); });
  if (error < 16.0 && error * 3 < swapped && error * 3 < flipped) return ::testing::AssertionSuccess();
  return ::testing::AssertionFailure() << "mean error " << error << ", with red and blue swapped " << swapped
                                       << ", upside down " << flipped;
}

}  // namespace e2e
