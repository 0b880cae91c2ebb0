#pragma once
// The Unix machine under Wine, for what a Windows program cannot do there by itself: make a
// file immutable (root ignores the read-only attribute), take a screenshot of the X display.

#include <chrono>
#include <optional>
#include <string>

namespace e2e {

// Wine's name of a file on the Unix side, or nothing when not running under Wine.
std::optional<std::string> UnixPathUnderWine(const std::wstring& path);

// Starts a Unix program by its Unix path (Wine runs it beside the Windows processes).
void RunUnixCommand(const std::string& commandLine);

// Saves a PNG of the whole X display; true once the file is there.
bool TakeScreenshot(const std::wstring& pngPath, std::chrono::milliseconds timeout = std::chrono::seconds(20));

}  // namespace e2e
