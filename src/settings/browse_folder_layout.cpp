#include "settings/browse_folder_layout.h"

namespace kmrn {
namespace {

int Scaled(int designPixels, int dpi) { return designPixels * dpi / 96; }

}  // namespace

int SpecialDirCsidl(BrowseSpecialDir dir) {
  // CSIDL_DESKTOP, PROGRAMS, CONTROLS, PRINTERS, PERSONAL, FAVORITES, STARTUP, RECENT, SENDTO,
  // BITBUCKET, STARTMENU, DESKTOPDIRECTORY, DRIVES, NETWORK, NETHOOD, FONTS, TEMPLATES, APPDATA,
  // PRINTHOOD.
  constexpr int csidl[] = {0, 0, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 16, 17, 18, 19, 20, 21, 26, 27};
  return csidl[static_cast<int>(dir)];
}

Position BrowseWindowPlace(int left, int top, PixelSize window, PixelSize screen) {
  if (left != 0 || top != 0) return {left, top};
  return CentredIn(window, PixelRect{0, 0, screen.width, screen.height}, Centring::HalfTheRoom);
}

BrowseControlsLayout LayOutBrowseControls(PixelSize window, PixelSize button, std::int32_t windowBottom,
                                          std::int32_t treeTop, int dpi) {
  BrowseControlsLayout layout;
  layout.tree = {window.width - Scaled(32, dpi), windowBottom - button.height - Scaled(18, dpi) - treeTop};
  layout.ok = {window.width - 2 * button.width - Scaled(25, dpi), window.height - button.height - Scaled(35, dpi)};
  layout.cancel = {layout.ok.left + button.width + Scaled(5, dpi), layout.ok.top};
  return layout;
}

}  // namespace kmrn
