#pragma once
// Pictures as the driver sees them: the pixels of a BMP file the program wrote, of a JPEG file
// (decoded with libjpeg), and of the screen; and a window of the driver's own that shows a known
// pattern for the program to capture.

#include <windows.h>

#include <gtest/gtest.h>

#include <chrono>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace e2e {

// Top-down pixels as 0x00RRGGBB.
struct Picture {
  int width = 0;
  int height = 0;
  std::vector<std::uint32_t> pixels;
  std::uint32_t At(int x, int y) const { return pixels[static_cast<size_t>(y) * width + x]; }
};

inline int Red(std::uint32_t c) { return (c >> 16) & 0xFF; }
inline int Green(std::uint32_t c) { return (c >> 8) & 0xFF; }
inline int Blue(std::uint32_t c) { return c & 0xFF; }

// A 24- or 32-bit uncompressed BMP file (bottom-up or top-down); nothing for anything else.
std::optional<Picture> ReadBmpFile(const std::wstring& path);
// Bits per pixel of a BMP file, 0 when it is none.
int BmpBitCount(const std::wstring& path);
// Any JPEG file, as libjpeg decodes it; nothing when it cannot.
std::optional<Picture> ReadJpegFile(const std::wstring& path);
// Any PNG file, as the program's own reader decodes it; nothing when it cannot.
std::optional<Picture> ReadPngFile(const std::wstring& path);
// The bitmap on the clipboard (CF_BITMAP); nothing when there is none.
std::optional<Picture> ClipboardPicture();
// The PNG on the clipboard (the registered format "PNG"), asked for as a program that pastes asks
// for it; nothing when there is none.
std::optional<Picture> ClipboardPng();
// Puts a short text on the clipboard, so that no picture is there.
void PutTextOnClipboard(const std::wstring& text);
// Puts bytes on the clipboard in one format (CF_DIB, say), as another program would.
void PutBytesOnClipboard(UINT format, const std::string& bytes);
// Puts files on the clipboard as the shell's copy does (CF_HDROP).
void PutFilesOnClipboard(const std::vector<std::wstring>& paths);
// What the screen shows in the rectangle now.
Picture ScreenPixels(const RECT& rect);

// The bytes of a bottom-up 24-bit BMP file whose pixel (x, y) has the colour colourOf(x, y)
// (a COLORREF, 0x00BBGGRR).
std::string Bmp24(int width, int height, const std::function<COLORREF(int x, int y)>& colourOf);
// A two-colour 1-bit BMP file with alternating stripes: small on disk however large it is.
std::string Bmp1(int width, int height);

// The work area of the primary screen.
RECT WorkArea();

// The files in a folder whose names end in the extension (".bmp"), oldest name first.
std::vector<std::wstring> FilesIn(const std::wstring& folder, const std::wstring& extension);
// Every entry of a folder except "." and "..".
std::vector<std::wstring> EntriesIn(const std::wstring& folder);

// The colour the pattern window shows at a point of its client area, for a given phase. Every
// pixel differs from its neighbours in every channel, so a picture shifted by one pixel, flipped,
// or with red and blue swapped does not match.
std::uint32_t PatternColour(int x, int y, int phase);

// A top-level window of the driver, painted with PatternColour, served by a thread of its own so
// that it repaints whenever the program under test uncovers it.
class PatternWindow {
 public:
  // style: WS_POPUP for a window that is all client area, WS_OVERLAPPEDWINDOW for one with frame.
  // className: the window's class (another one stands in for the desktop's "Progman", say).
  PatternWindow(const std::wstring& title, RECT bounds, DWORD style = WS_POPUP, const wchar_t* className = ClassName);
  ~PatternWindow();
  PatternWindow(const PatternWindow&) = delete;
  PatternWindow& operator=(const PatternWindow&) = delete;

  HWND Handle() const;
  // Repaints with another phase of the pattern; returns once it is on the screen.
  void SetPhase(int phase);
  int Phase() const;
  // The client area in screen coordinates.
  RECT ClientOnScreen() const;
  // The colour the screen should show at a screen point inside the client area.
  std::uint32_t ExpectedAt(int screenX, int screenY) const;

  static constexpr const wchar_t* ClassName = L"KMRN_E2E_PATTERN";

 private:
  struct Impl;
  std::unique_ptr<Impl> impl_;
};

// The files of one extension once there are at least `count`; what there is after the timeout
// otherwise.
std::vector<std::wstring> WaitForFiles(const std::wstring& folder, const std::wstring& extension, size_t count,
                                       std::chrono::milliseconds timeout = std::chrono::seconds(10));

// True when the picture is exactly the pattern window's pixels from that screen point on.
::testing::AssertionResult ShowsPattern(const std::optional<Picture>& picture, const PatternWindow& window,
                                        POINT origin, int width, int height);

// The number of pixels of the picture that differ from the pattern window's, where the picture's
// top-left pixel was taken from the screen point origin; up to `report` differences are described.
int CountDifferences(const Picture& picture, const PatternWindow& window, POINT origin, std::string* report);

// True when a JPEG file's picture is the BMP picture as near as quality 90 comes, with the colours
// in the right order and the rows the right way up: the pattern changes at every pixel, which
// JPEG smooths, so the mean error is judged against what a wrong picture would give.
::testing::AssertionResult JpegMatches(const std::optional<Picture>& jpeg, const std::optional<Picture>& bmp);

}  // namespace e2e
