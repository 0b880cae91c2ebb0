#include "settings/win/browse_folder_win.h"

// after windows.h, which they need
#include <shlobj.h>

#include "framework/win/com.h"
#include "framework/win/dpi.h"
#include "framework/win/geometry_win.h"
#include "framework/win/text_win.h"
#include "framework/win/unique_resource.h"

namespace kmrn {
namespace {

struct ItemTraits {
  using Value = LPITEMIDLIST;
  static Value Invalid() noexcept { return nullptr; }
  static void Close(Value value) noexcept { CoTaskMemFree(value); }
};
using UniqueItem = UniqueResource<ItemTraits>;

struct HookTraits {
  using Value = HHOOK;
  static Value Invalid() noexcept { return nullptr; }
  static void Close(Value value) noexcept { UnhookWindowsHookEx(value); }
};
using UniqueHook = UniqueResource<HookTraits>;

// Where the open browse dialog is, recorded by a message hook while the user moves and sizes it.
// A hook procedure is given no context of its own, so what it records lives with the thread that
// shows the dialog.
struct Watch {
  HWND window = nullptr;
  RECT last{};
};
Watch& Watched() {
  thread_local Watch watch;
  return watch;
}

LRESULT CALLBACK MessageHook(int code, WPARAM wParam, LPARAM lParam) {
  Watch& watch = Watched();
  RECT now{};
  if (code >= 0 && watch.window && GetWindowRect(watch.window, &now)) watch.last = now;
  return CallNextHookEx(nullptr, code, wParam, lParam);
}

// A folder as a shell item: the path when it names a folder, the special folder otherwise.
UniqueItem Resolve(IShellFolder* desktop, const std::string& path, BrowseSpecialDir special, HWND owner) {
  if (special == BrowseSpecialDir::sfNone && !path.empty()) {
    std::wstring wide = Widen(path);
    LPITEMIDLIST item = nullptr;
    ULONG attributes = SFGAO_FOLDER | SFGAO_HASSUBFOLDER;
    if (SUCCEEDED(desktop->ParseDisplayName(nullptr, nullptr, wide.data(), nullptr, &item, &attributes))) {
      UniqueItem parsed(item);
      if (attributes & (SFGAO_FOLDER | SFGAO_HASSUBFOLDER)) return parsed;
    }
  }
  LPITEMIDLIST item = nullptr;
  if (FAILED(SHGetSpecialFolderLocation(owner, SpecialDirCsidl(special), &item))) return UniqueItem();
  return UniqueItem(item);
}

std::string PathOf(LPCITEMIDLIST item) {
  wchar_t path[MAX_PATH + 1] = {};
  if (!item || !SHGetPathFromIDListW(item, path)) return {};
  return Narrow(path);
}

// The process shows no critical-error box of its own (a drive without a medium) while it lives.
class QuietErrors {
 public:
  QuietErrors() noexcept : previous_(SetErrorMode(SEM_FAILCRITICALERRORS)) {}
  ~QuietErrors() { SetErrorMode(previous_); }
  QuietErrors(const QuietErrors&) = delete;
  QuietErrors& operator=(const QuietErrors&) = delete;

 private:
  UINT previous_;
};

}  // namespace

void BrowseFolder::SetFormWidth(int width) {
  if (!dialog_) formWidth_ = SizeAtLeast(width, minWidth_);
}

void BrowseFolder::SetFormHeight(int height) {
  if (!dialog_) formHeight_ = SizeAtLeast(height, minHeight_);
}

bool BrowseFolder::Execute(HWND owner) {
  selectedDir_.clear();
  selectedName_.clear();
  unusableChoice_.reset();
  try {
    ComPtr<IShellFolder> desktop;
    if (FAILED(SHGetDesktopFolder(desktop.Receive()))) return false;
    const UniqueItem initial = Resolve(desktop.Get(), InitDir, InitSpecialDir, owner);
    const UniqueItem root = Resolve(desktop.Get(), RootDir, RootSpecialDir, owner);
    initialItem_ = initial.Get();

    wchar_t displayName[MAX_PATH + 1] = {};
    const std::wstring title = Widen(Title);
    BROWSEINFOW info{};
    info.hwndOwner = owner;
    info.pidlRoot = root.Get();
    info.pszDisplayName = displayName;
    info.lpszTitle = title.c_str();
    info.ulFlags = Options;
    info.lpfn = &BrowseFolder::Callback;
    info.lParam = reinterpret_cast<LPARAM>(this);

    Watch& watch = Watched();
    UniqueItem chosen;
    {
      const UniqueHook hook(SetWindowsHookExW(WH_MSGFILTER, MessageHook, nullptr, GetCurrentThreadId()));
      QuietErrors quiet;
      chosen.Reset(SHBrowseForFolderW(&info));
    }
    // Where the user left it: the next showing opens there.
    FormLeft = watch.last.left;
    FormTop = watch.last.top;
    const PixelSize lastSize = SizeOf(watch.last);
    formWidth_ = lastSize.width;
    formHeight_ = lastSize.height;
    watch.window = nullptr;
    dialog_ = nullptr;
    initialItem_ = nullptr;
    if (!chosen) return false;
    std::string path = PathOf(chosen.Get());
    if (path.empty()) {
      // A folder of the shell's own (the computer, the network) or one whose path is too long
      // for files: no folder is chosen.
      unusableChoice_ = Narrow(displayName);
      return false;
    }
    selectedDir_ = std::move(path);
    selectedName_ = Narrow(displayName);
    return true;
  } catch (...) {
    dialog_ = nullptr;
    initialItem_ = nullptr;
    return false;
  }
}

int CALLBACK BrowseFolder::Callback(HWND dialog, UINT message, LPARAM item, LPARAM self) noexcept {
  auto* browse = reinterpret_cast<BrowseFolder*>(self);
  try {
    if (!browse->dialog_) browse->dialog_ = dialog;
    Watched().window = browse->dialog_;
    if (message == BFFM_INITIALIZED) browse->OnInitialized(dialog);
    if (message == BFFM_SELCHANGED && browse->OnSelectionChanged) {
      bool okEnabled = IsWindowEnabled(GetDlgItem(dialog, IDOK)) != 0;
      std::string status;
      browse->OnSelectionChanged(dialog, PathOf(reinterpret_cast<LPCITEMIDLIST>(item)), status, okEnabled);
      SendMessageW(dialog, BFFM_ENABLEOK, 0, okEnabled ? TRUE : FALSE);
      SendMessageW(dialog, BFFM_SETSTATUSTEXTW, 0, reinterpret_cast<LPARAM>(Widen(status).c_str()));
    }
  } catch (...) {
  }
  return 0;
}

void BrowseFolder::OnInitialized(HWND dialog) {
  if (initialItem_) SendMessageW(dialog, BFFM_SETSELECTIONW, FALSE, reinterpret_cast<LPARAM>(initialItem_));
  RECT natural{};
  GetWindowRect(dialog, &natural);
  const PixelSize smallest = SizeOf(natural);
  minWidth_ = smallest.width;
  minHeight_ = smallest.height;
  Watched().last = natural;
  if (OnShow) OnShow();
  if (!Caption.empty()) SetWindowTextW(dialog, Widen(Caption).c_str());
  if (!(Options & static_cast<std::uint32_t>(BrowseOption::bifNewDialogStyle))) LayOut(dialog);
}

void BrowseFolder::LayOut(HWND dialog) {
  formWidth_ = SizeAtLeast(formWidth_, minWidth_);
  formHeight_ = SizeAtLeast(formHeight_, minHeight_);
  const Position place = BrowseWindowPlace(FormLeft, FormTop, {formWidth_, formHeight_},
                                           {GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)});
  SetWindowPos(dialog, nullptr, place.left, place.top, formWidth_, formHeight_, SWP_SHOWWINDOW | SWP_NOZORDER);

  HWND tree = GetDlgItem(dialog, 14145), ok = GetDlgItem(dialog, IDOK), cancel = GetDlgItem(dialog, IDCANCEL);
  if (!tree || !ok || !cancel) return;
  RECT okRect{}, windowRect{}, treeRect{};
  GetWindowRect(ok, &okRect);
  GetWindowRect(dialog, &windowRect);
  GetWindowRect(tree, &treeRect);
  const BrowseControlsLayout layout =
      LayOutBrowseControls({formWidth_, formHeight_}, SizeOf(okRect), windowRect.bottom, treeRect.top, DpiOf(dialog));
  SetWindowPos(tree, nullptr, 0, 0, layout.tree.width, layout.tree.height, SWP_NOMOVE | SWP_NOZORDER);
  SetWindowPos(ok, nullptr, layout.ok.left, layout.ok.top, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
  SetWindowPos(cancel, nullptr, layout.cancel.left, layout.cancel.top, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
}

}  // namespace kmrn
