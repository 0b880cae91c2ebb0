#pragma once
// The names of the keys a hotkey can be bound to, by virtual-key code (0 to 255). A key is always
// stored by its name; its code is its place in the table.

#include <array>
#include <string>
#include <string_view>

namespace kmrn {

// 256 entries; the codes without a name hold an empty one.
const std::array<std::string_view, 256>& KeyNames();

// The first code whose name matches, without regard to case; -1 when none does. (An empty name
// matches code 0, which is no key: an empty assignment is never registered.)
int KeyNameToCode(std::string_view name);

// The name as the table spells it ("snapshot" gives "SnapShot"); empty for a name not in it.
std::string NormalizeKeyName(std::string_view name);

}  // namespace kmrn
