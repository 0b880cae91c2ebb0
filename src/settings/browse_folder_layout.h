#pragma once
// What the folder browser decides about its window: the special folders and options it can be
// given, its remembered size with the smallest allowed, where it opens, and how the classic
// dialog's tree and buttons are laid out again to fit the size.

#include <cstdint>

#include "framework/geometry.h"

namespace kmrn {

// The special folders a root or an initial folder can be (sfNone: the path decides). The names
// keep the component's own spellings.
enum class BrowseSpecialDir {
  sfNone,
  sfDesktop,
  sfProgrmas,
  sfControls,
  sfPritners,
  sfPersonal,
  sfFavorites,
  sfStartup,
  sfRecent,
  sfSendTo,
  sfBitBucket,
  sfStartMenu,
  sfDesktopDirectory,
  sfDrives,
  sfNetWork,
  sfNetHood,
  sfFonts,
  sfTemplates,
  sfAppData,
  sfPrintHood,
};

// The shell's identifier (CSIDL) of a special folder; sfNone stands for the desktop.
int SpecialDirCsidl(BrowseSpecialDir dir);

// The options, as the browse flags they add.
enum class BrowseOption : std::uint32_t {
  bifReturnOnlyFSDirs = 0x1,
  bifDontGoBelowDomain = 0x2,
  bifReturnFSAncestors = 0x8,
  bifBrowseForComputer = 0x1000,
  bifBrowseForPrinter = 0x2000,
  bifBrowseIncludeFiles = 0x4000,
  bifStatusText = 0x4,
  bifNewDialogStyle = 0x40,
  bifNonNewFolderButton = 0x200,
};

inline constexpr int BrowseDefaultWidth = 371;
inline constexpr int BrowseDefaultHeight = 311;

// The size setters' rule: a size below the smallest allowed becomes that.
inline int SizeAtLeast(int value, int minimum) { return value > minimum ? value : minimum; }

// Where the window opens: at (left, top) when either is not 0, otherwise centred on the screen.
Position BrowseWindowPlace(int left, int top, PixelSize window, PixelSize screen);

// The classic dialog laid out again for a window of the given size: the tree grows to the
// window's width and down to above the buttons, OK and Cancel sit at the bottom right. Sizes of
// the margins are at 96 DPI and scaled with dpi.
struct BrowseControlsLayout {
  PixelSize tree;
  Position ok, cancel;  // in the window's client coordinates
};
BrowseControlsLayout LayOutBrowseControls(PixelSize window, PixelSize button, std::int32_t windowBottom,
                                          std::int32_t treeTop, int dpi);

}  // namespace kmrn
