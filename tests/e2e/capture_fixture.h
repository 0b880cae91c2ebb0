#pragma once
// What the capture tests share: Kamerin started on settings that save into the test's sandbox
// and bind no hotkeys, a window of the driver's own showing a known pattern to capture, and the
// main window's controls worked as the user works them.

#include <windows.h>

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "driver.h"
#include "pictures.h"

namespace e2e {

// Where the range tests' pattern window lies: clear of the main window, which starts at the
// top-left corner.
inline constexpr RECT TargetBounds{600, 300, 1000, 600};

class CaptureTest : public ::testing::Test {
 protected:
  // Shows the pattern window the test captures. It is closed after the program has ended.
  PatternWindow& ShowTarget(const std::wstring& title = L"range target", RECT bounds = TargetBounds,
                            DWORD style = WS_POPUP);
  // Starts Kamerin on these settings, after a save folder (the sandbox unless given) and no
  // hotkeys: PrintScreen may be held by something else on the desktop, and these tests start
  // every capture with the mouse. Waits for the main window to show; false when there is none.
  bool Start(const std::string& settings, const std::wstring& saveFolder = {});
  // Ends the program, closes the pattern window and empties the sandbox, for a test that starts
  // over with other settings.
  void StartOver();

  bool MainVisible() const { return main_ && IsWindowVisible(main_); }
  HWND Control(const wchar_t* className, const wchar_t* text) const;
  // A real click, as the user gives it.
  void ClickControl(const wchar_t* className, const wchar_t* text) const;
  void ClickCapture() const { ClickControl(L"Button", L"Capture"); }
  HWND WaitForOverlay() const;
  // Starts a range selection from the Capture button and returns the overlay.
  HWND StartRangeSelection() const;
  // Waits until the overlay has gone and the main window is back.
  bool SelectionEnded(HWND overlay) const;
  std::vector<HWND> VisibleViewers() const;
  // Ticks "前回と同じ場所をキャプチャ(&R)" in the main window's context menu, as the user does.
  void TickSameRect() const;
  // Picks the window in the list box and presses Capture.
  void CaptureFromList(const std::wstring& title) const;

  std::unique_ptr<PatternWindow> target_;
  Sandbox sandbox_;
  Process program_;
  HWND main_ = nullptr;
};

// The suites, each named for what it captures.
class CaptureRange : public CaptureTest {};
class CaptureWindow : public CaptureTest {};
class CaptureSameRect : public CaptureTest {};
class CaptureFailure : public CaptureTest {};

}  // namespace e2e
