#pragma once
// Reading and writing the picture files: BMP at the picture's own depth, JPEG through libjpeg, PNG
// through libdeflate.
// Every save writes through AtomicFileWriter, so a failed save leaves no partial file and an
// existing file is only replaced by a complete one.

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "picture/dib.h"

namespace kmrn {

struct JpegParams {
  int quality = 90;  // clamped to 1..100 before it reaches the encoder
  bool progressive = false;
};

// A capture's JPEG is always quality 90, baseline.
inline constexpr JpegParams CaptureJpegParams{90, false};
// A viewer's JPEG uses the settings; out-of-range qualities are clamped, never wrapped.
JpegParams ViewerJpegParams(std::int32_t jpgQuality, bool jpgProgressive);

// BMP: a "BM" file header, a BITMAPINFOHEADER (with masks for 16/32 bits when the picture has
// them), the palette, and the rows bottom-up exactly as the picture holds them.
void SaveBmp(const Dib& dib, const std::string& path);
std::vector<std::uint8_t> EncodeBmpHeader(const Dib& dib);  // everything before the pixel rows
// The same picture as a packed DIB, the clipboard's and drag and drop's form: no file header.
std::vector<std::uint8_t> EncodePackedDib(const Dib& dib);

// JPEG: 24-bit RGB, float DCT, quality with forced baseline tables, optional simple progression.
// Throws JpegError on an error inside the library.
void SaveJpeg(const Dib& dib, const std::string& path, JpegParams params);
std::vector<std::uint8_t> EncodeJpeg(const Dib& dib, JpegParams params);

// PNG: 24- and 32-bit pictures as 8-bit RGB, 1/4/8-bit pictures as palette files at their depth,
// the others as 24-bit RGB; one IDAT chunk, rows filtered per row (png_format.h has the choices).
void SavePng(const Dib& dib, const std::string& path);
std::vector<std::uint8_t> EncodePng(const Dib& dib);

// Reads any standard BMP (1/4/8-bit palettes incl. OS/2 and V4/V5 headers, top-down, RLE4/RLE8,
// 16-bit 5-5-5/5-6-5/bit fields, 24, 32 incl. bit fields). Uncompressed 8- and 24-bit files keep
// their depth (an 8-bit one with a full 256-colour palette, black beyond the file's); every other
// file becomes a 32-bit picture (alpha dropped).
// Throws InvalidBitmapError for a damaged or absurd file.
Dib DecodeBmp(std::span<const std::uint8_t> file);
// The same for a packed DIB as the clipboard holds it (CF_DIB, CF_DIBV5): the bitmap header, any
// masks and colour table, then the rows, with no file header.
Dib DecodePackedDib(std::span<const std::uint8_t> dib);

// Decodes a JPEG at full scale with block smoothing and the float DCT. A colour file becomes a
// 24-bit picture; a grayscale file, and any file when lowColorDisplay, an 8-bit picture through
// the library's 236-colour quantizer. Memory and progressive scans are capped so that no small
// file can take gigabytes or minutes. Throws JpegError.
Dib DecodeJpeg(std::span<const std::uint8_t> file, bool lowColorDisplay);

// Decodes a PNG of any colour type, bit depth and interlacing into a 24-bit picture: gray expanded,
// palettes looked up, 16-bit samples rounded to 8 bits, transparency (alpha or tRNS) laid over
// white. Every chunk's CRC and the chunks' order are checked; colour-space chunks are ignored.
// Throws PngError for a damaged file, ImageTooLargeError for one beyond the picture limits
// (before anything is allocated).
Dib DecodePng(std::span<const std::uint8_t> file);

enum class ImageFileKind { Other, Bmp, Jpeg, Png };
// By the extension of the file-name part, ignoring case: ".bmp", ".jpg", ".jpeg", ".png".
ImageFileKind ImageFileKindOf(const std::string& path);

// Loads a picture file; nothing for a file that is neither BMP, JPEG nor PNG by its name.
// Throws FileOpenError, InvalidBitmapError, JpegError, PngError or ImageTooLargeError.
std::optional<Dib> LoadImageFile(const std::string& path, bool lowColorDisplay);

}  // namespace kmrn
