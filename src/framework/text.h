#pragma once
// Small text operations the program needs in several places. Texts are UTF-8.

#include <cstddef>
#include <functional>
#include <string>
#include <string_view>

namespace kmrn {

// Equal when A-Z and a-z are taken as the same letters (names of keys, sections, extensions).
bool EqualsIgnoringAsciiCase(std::string_view a, std::string_view b);

// The bytes one character (given as its UTF-8 bytes) takes in some other encoding, such as the
// ANSI code page a field of the system is measured in.
using EncodedLength = std::function<std::size_t(std::string_view utf8Character)>;

// The longest start of the text that takes at most maxBytes in that encoding, never cut inside a
// character.
std::string CutToEncodedLength(std::string_view text, std::size_t maxBytes, const EncodedLength& bytesOf);

}  // namespace kmrn
