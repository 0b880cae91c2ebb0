// Choosing what to do with a picture file by its name, and the viewer's JPEG settings.

#include <algorithm>
#include <cstddef>
#include <string_view>

#include "framework/file_system.h"
#include "framework/text.h"
#include "picture/image_files.h"

namespace kmrn {

JpegParams ViewerJpegParams(std::int32_t jpgQuality, bool jpgProgressive) {
  return JpegParams{std::clamp<std::int32_t>(jpgQuality, 1, 100), jpgProgressive};
}

ImageFileKind ImageFileKindOf(const std::string& path) {
  // Either separator may appear: the path can come from the settings or from a dropped file.
  std::size_t nameStart = path.find_last_of("/\\");
  nameStart = nameStart == std::string::npos ? 0 : nameStart + 1;
  std::size_t dot = path.rfind('.');
  if (dot == std::string::npos || dot < nameStart) return ImageFileKind::Other;
  const std::string_view extension = std::string_view(path).substr(dot);
  if (EqualsIgnoringAsciiCase(extension, ".bmp")) return ImageFileKind::Bmp;
  if (EqualsIgnoringAsciiCase(extension, ".jpg") || EqualsIgnoringAsciiCase(extension, ".jpeg")) {
    return ImageFileKind::Jpeg;
  }
  if (EqualsIgnoringAsciiCase(extension, ".png")) return ImageFileKind::Png;
  return ImageFileKind::Other;
}

std::optional<Dib> LoadImageFile(const std::string& path, bool lowColorDisplay) {
  ImageFileKind kind = ImageFileKindOf(path);
  if (kind == ImageFileKind::Other) return std::nullopt;
  std::vector<std::uint8_t> file = ReadWholeFile(path);
  if (kind == ImageFileKind::Bmp) return DecodeBmp(file);
  if (kind == ImageFileKind::Png) return DecodePng(file);
  return DecodeJpeg(file, lowColorDisplay);
}

}  // namespace kmrn
