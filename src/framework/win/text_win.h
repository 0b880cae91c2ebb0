#pragma once
// Conversions between the program's UTF-8 strings and the Win32 wide and ANSI code pages.
// The UI speaks UTF-16; the INI file, command line and forwarded paths stay in the ANSI code page.

#include <string>
#include <string_view>

namespace kmrn {

std::wstring Widen(std::string_view utf8);
std::string Narrow(std::wstring_view wide);
std::string AnsiToUtf8(std::string_view ansi);
std::string Utf8ToAnsi(std::string_view utf8);
// The bytes the text takes in the ANSI code page (a character the code page lacks takes the one
// byte of its "?").
std::size_t AnsiLength(std::string_view utf8);

}  // namespace kmrn
