#include "framework/win/topmost.h"

#include <vector>

namespace kmrn {
namespace {

struct OwnedSearch {
  HWND owner;
  std::vector<HWND> owned;
};

BOOL CALLBACK CollectOwned(HWND window, LPARAM lParam) {
  auto* search = reinterpret_cast<OwnedSearch*>(lParam);
  if (GetWindow(window, GW_OWNER) == search->owner) search->owned.push_back(window);
  return TRUE;
}

void SetOwner(HWND window, HWND owner) noexcept {
  SetWindowLongPtrW(window, GWLP_HWNDPARENT, reinterpret_cast<LONG_PTR>(owner));
}

void MoveToBand(HWND window, bool onTop) noexcept {
  SetWindowPos(window, onTop ? HWND_TOPMOST : HWND_NOTOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

}  // namespace

bool SetTopMostBand(HWND window, bool onTop) noexcept {
  MoveToBand(window, onTop);
  if (IsTopMost(window) == onTop) return true;

  // Some window managers (Wine's among them) keep a window in its band while it has an owner or
  // owns windows. It is let go of both for the move and given them back at once.
  OwnedSearch search{window, {}};
  EnumWindows(CollectOwned, reinterpret_cast<LPARAM>(&search));
  HWND owner = GetWindow(window, GW_OWNER);
  for (HWND owned : search.owned) SetOwner(owned, nullptr);
  if (owner) SetOwner(window, nullptr);
  MoveToBand(window, onTop);
  if (owner) SetOwner(window, owner);
  for (HWND owned : search.owned) SetOwner(owned, window);
  return IsTopMost(window) == onTop;
}

}  // namespace kmrn
