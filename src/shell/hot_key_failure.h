#pragma once
// What the user reads when PrintScreen or Ctrl+PrintScreen cannot be bound: each key's own error,
// then one line naming what most likely holds the key and what to do about it.

#include <string>
#include <vector>

namespace kmrn {

// failures: the errors of the keys that failed, in order. snippingToolHoldsPrintScreen: plain
// PrintScreen failed while Windows gives that key to its screen-snipping tool.
std::string HotKeyFailureMessage(const std::vector<std::string>& failures, bool snippingToolHoldsPrintScreen);

}  // namespace kmrn
