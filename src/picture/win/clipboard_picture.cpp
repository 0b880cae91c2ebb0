#include "picture/win/clipboard_picture.h"

#include <exception>

#include "framework/win/clipboard.h"
#include "picture/image_files.h"
#include "picture/win/dib_win.h"

namespace kmrn {

ClipboardPicture::ClipboardPicture(HWND owner) : owner_(owner), pngFormat_(RegisterClipboardFormatW(L"PNG")) {}

void ClipboardPicture::Put(const Dib& picture, HBITMAP bitmap) {
  Bitmap made;
  Palette palette;
  if (!bitmap) {
    made = BitmapFromDib(picture);
    bitmap = made.Get();
    palette = PaletteOf(picture);
  }
  // Emptying the clipboard lets the picture put there before go (WM_DESTROYCLIPBOARD); this one
  // is kept from then on. Copies share the pixels, and the viewer's later edits do not reach it.
  PutBitmapOnClipboard(owner_, bitmap, std::move(palette), {&pngFormat_, pngFormat_ ? 1u : 0u});
  kept_ = picture;
}

void ClipboardPicture::Render(UINT format) noexcept {
  if (format != pngFormat_ || !kept_) return;
  // A PNG that cannot be made (no memory for it) is not delivered: the asking program gets
  // nothing, and the bitmap is still there.
  try {
    SetClipboardBytes(format, EncodePng(*kept_));
  } catch (const std::exception&) {
  }
}

std::optional<Dib> ReadClipboardPicture(HWND owner, bool lowColorDisplay) {
  const UINT formats[] = {RegisterClipboardFormatW(L"PNG"), CF_DIBV5, CF_DIB, CF_HDROP};
  // Room for the largest picture the program takes, as a DIB with its headers and palette; no
  // picture within the limits needs more, whatever size a block claims.
  constexpr std::size_t MaxBytes = MaxDibBytes + 4096;
  const ClipboardContent content = ReadClipboard(owner, formats, MaxBytes);
  if (content.format == 0) return std::nullopt;
  if (content.format == formats[0]) return DecodePng(content.bytes);
  if (content.format == CF_HDROP) {
    for (const std::string& path : content.files) {
      if (ImageFileKindOf(path) != ImageFileKind::Other) return LoadImageFile(path, lowColorDisplay);
    }
    return std::nullopt;
  }
  return DecodePackedDib(content.bytes);
}

void ClipboardPicture::RenderAll() noexcept {
  if (!kept_) return;
  try {
    RenderWhileOwner(owner_, [this] { Render(pngFormat_); });
  } catch (const std::exception&) {
  }
}

}  // namespace kmrn
