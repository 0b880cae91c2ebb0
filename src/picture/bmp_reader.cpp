// Reading BMP files of every common flavour: plain 8- and 24-bit files at their own depth, the
// others into a 32-bit picture.
//
// The file comes from anywhere, so every offset and size taken from it is checked in 64 bits
// before it is used, and the picture's size is checked before anything is allocated.

#include <algorithm>
#include <array>
#include <bit>

#include "framework/app_error.h"
#include "picture/bmp_format.h"
#include "picture/image_files.h"

namespace kmrn {
namespace {

std::uint16_t U16(const std::uint8_t* p) { return static_cast<std::uint16_t>(p[0] | p[1] << 8); }
std::uint32_t U32(const std::uint8_t* p) {
  return p[0] | p[1] << 8 | p[2] << 16 | static_cast<std::uint32_t>(p[3]) << 24;
}

struct BmpLayout {
  std::int64_t width = 0;
  std::int64_t height = 0;  // always positive; topDown tells the order of the rows
  bool topDown = false;
  unsigned bitCount = 0;
  std::uint32_t compression = bmp::Rgb;
  std::uint32_t redMask = 0, greenMask = 0, blueMask = 0;  // 16 and 32 bits
  // Indexes beyond the file's palette stay black, so any index byte can be looked up safely.
  std::array<Rgbq, 256> palette{};
  std::uint64_t pixelOffset = 0;
};

bool ValidHeaderSize(std::uint32_t size) {
  switch (size) {
    case bmp::CoreHeaderSize:  // OS/2 1.x
    case bmp::InfoHeaderSize:
    case 52:  // with the RGB masks inside the header
    case 56:  // with RGB and alpha masks
    case bmp::Os2HeaderSize:
    case 108:  // BITMAPV4HEADER
    case 124:  // BITMAPV5HEADER
      return true;
    default: return false;
  }
}

bool ValidCompression(const BmpLayout& l, std::uint32_t headerSize) {
  switch (l.compression) {
    case bmp::Rgb: {
      const bool knownDepth = DibStride(1, l.bitCount) != 0;
      // OS/2 1.x has no 16- or 32-bit files.
      return knownDepth && !(headerSize == bmp::CoreHeaderSize && (l.bitCount == 16 || l.bitCount == 32));
    }
    // Compressed rows can only run upwards.
    case bmp::Rle8: return l.bitCount == 8 && !l.topDown;
    case bmp::Rle4: return l.bitCount == 4 && !l.topDown;
    // In an OS/2 2.x header 3 means Huffman coding, which nothing writes any more.
    case bmp::BitFields: return (l.bitCount == 16 || l.bitCount == 32) && headerSize != bmp::Os2HeaderSize;
    default: return false;
  }
}

// A file starts with its "BM" header, which says where the rows are; a packed DIB (the clipboard's
// form) starts with the bitmap header itself, and its rows follow the colour table.
enum class BmpForm { File, PackedDib };

BmpLayout ParseHeaders(std::span<const std::uint8_t> file, BmpForm form) {
  const std::uint64_t fileSize = file.size();
  const std::uint8_t* f = file.data();
  const std::uint32_t headerStart = form == BmpForm::File ? bmp::FileHeaderSize : 0;
  if (fileSize < headerStart + 4) throw InvalidBitmapError();
  if (form == BmpForm::File && (f[0] != 'B' || f[1] != 'M')) throw InvalidBitmapError();
  const std::uint8_t* h = f + headerStart;
  const std::uint32_t headerSize = U32(h);
  if (!ValidHeaderSize(headerSize) || fileSize < headerStart + std::uint64_t{headerSize}) {
    throw InvalidBitmapError();
  }

  BmpLayout l;
  const bool core = headerSize == bmp::CoreHeaderSize;
  unsigned planes = 0;
  std::uint32_t colorsUsed = 0;
  if (core) {
    l.width = U16(h + 4);
    l.height = U16(h + 6);
    planes = U16(h + 8);
    l.bitCount = U16(h + 10);
  } else {
    l.width = static_cast<std::int32_t>(U32(h + 4));
    l.height = static_cast<std::int32_t>(U32(h + 8));
    planes = U16(h + 12);
    l.bitCount = U16(h + 14);
    l.compression = U32(h + 16);
    colorsUsed = U32(h + 32);
  }
  if (l.height < 0) {
    l.topDown = true;
    l.height = -l.height;
  }
  // The picture is checked at the size it takes in memory, so that an absurd file is refused
  // before anything is allocated for it.
  if (planes != 1 || !ValidCompression(l, headerSize) || !DibSizeAllowed(l.width, l.height, 32)) {
    throw InvalidBitmapError();
  }

  std::uint64_t headersEnd = headerStart + std::uint64_t{headerSize};
  if (l.compression == bmp::BitFields) {
    // A plain BITMAPINFOHEADER is followed by the masks; the longer headers hold them.
    if (headerSize == bmp::InfoHeaderSize) headersEnd += bmp::MaskBytes;
    if (fileSize < headersEnd) throw InvalidBitmapError();
    const std::uint8_t* masks = h + bmp::InfoHeaderSize;
    l.redMask = U32(masks);
    l.greenMask = U32(masks + 4);
    l.blueMask = U32(masks + 8);
  }

  std::uint64_t paletteEnd = headersEnd;
  if (l.bitCount <= 8) {
    const std::uint32_t maxColors = 1u << l.bitCount;
    const std::uint32_t colors = colorsUsed == 0 ? maxColors : colorsUsed;
    const unsigned entrySize = core ? 3 : 4;  // RGBTRIPLE or RGBQUAD
    paletteEnd += std::uint64_t{colors} * entrySize;
    // A palette cut short by the end of the file leaves no room for the rows either.
    if (colors > maxColors || paletteEnd > fileSize) throw InvalidBitmapError();
    for (std::uint32_t i = 0; i < colors; ++i) {
      const std::uint8_t* e = f + headersEnd + std::uint64_t{i} * entrySize;
      l.palette[i] = Rgbq{e[0], e[1], e[2], 0};
    }
  }

  if (form == BmpForm::File) {
    // Some writers leave bfOffBits zero; an offset into the headers cannot be right, and then the
    // rows can only start straight after the palette.
    l.pixelOffset = U32(f + 10);
    if (l.pixelOffset < headersEnd) l.pixelOffset = paletteEnd;
  } else {
    // A deeper DIB may still carry a colour table (biClrUsed entries) for palette displays.
    l.pixelOffset = l.bitCount <= 8 ? paletteEnd : headersEnd + std::uint64_t{colorsUsed} * 4;
  }
  if (l.pixelOffset > fileSize) throw InvalidBitmapError();

  if (l.compression == bmp::Rgb || l.compression == bmp::BitFields) {
    // A file too short for its rows is refused rather than shown with a black part: it is damaged,
    // and a small file must not make us allocate for a picture it cannot hold. The last row's
    // padding is not required, as some writers leave it out.
    const std::uint64_t rowBytes = (static_cast<std::uint64_t>(l.width) * l.bitCount + 7) / 8;
    const std::uint64_t needed = DibStride(l.width, l.bitCount) * static_cast<std::uint64_t>(l.height - 1) + rowBytes;
    if (fileSize - l.pixelOffset < needed) throw InvalidBitmapError();
  }
  return l;
}

// A plain (uncompressed) 8- or 24-bit file keeps its depth, so that saving it again writes the
// same kind of file; its rows are taken as they are, bottom-up.
bool KeepsItsDepth(const BmpLayout& l) { return l.compression == bmp::Rgb && (l.bitCount == 8 || l.bitCount == 24); }

void CopyRows(const BmpLayout& l, std::span<const std::uint8_t> file, Dib& out) {
  const std::uint64_t stride = out.Stride();
  const std::uint64_t rowBytes = (static_cast<std::uint64_t>(l.width) * l.bitCount + 7) / 8;
  for (std::int64_t row = 0; row < l.height; ++row) {
    const std::uint8_t* src = file.data() + l.pixelOffset + stride * static_cast<std::uint64_t>(row);
    std::uint8_t* dst = l.topDown ? out.RowFromTop(static_cast<std::int32_t>(row))
                                  : out.bits.data() + stride * static_cast<std::size_t>(row);
    // The last row's padding may be missing from the file; the picture's stays zero.
    std::copy(src, src + rowBytes, dst);
  }
  // Every index has a colour: those beyond the file's palette are black.
  if (l.bitCount == 8) out.palette.assign(l.palette.begin(), l.palette.end());
}

void PutPixel(std::uint8_t* dst, std::uint8_t blue, std::uint8_t green, std::uint8_t red) {
  dst[0] = blue;
  dst[1] = green;
  dst[2] = red;
  dst[3] = 0;
}

void PutColor(std::uint8_t* dst, const Rgbq& c) { PutPixel(dst, c.blue, c.green, c.red); }

// One colour channel given by a mask: its bits, wherever they sit, scaled to 0..255.
class Channel {
 public:
  explicit Channel(std::uint32_t mask) : mask_(mask) {
    if (mask != 0) {
      shift_ = static_cast<unsigned>(std::countr_zero(mask));
      bits_ = static_cast<unsigned>(std::bit_width(mask >> shift_));
    }
  }
  std::uint8_t operator()(std::uint32_t pixel) const {
    const std::uint32_t v = (pixel & mask_) >> shift_;
    if (bits_ >= 8) return static_cast<std::uint8_t>(v >> (bits_ - 8));
    if (bits_ == 0) return 0;
    const std::uint32_t max = (1u << bits_) - 1;
    return static_cast<std::uint8_t>((v * 255 + max / 2) / max);
  }

 private:
  std::uint32_t mask_;
  unsigned shift_ = 0;
  unsigned bits_ = 0;
};

void DecodeIndexedRow(const BmpLayout& l, const std::uint8_t* src, std::uint8_t* dst) {
  const unsigned bits = l.bitCount;
  const unsigned perByte = 8 / bits;
  const unsigned valueMask = (1u << bits) - 1;
  for (std::int64_t x = 0; x < l.width; ++x) {
    const unsigned shift = 8 - bits * (static_cast<unsigned>(x % perByte) + 1);  // leftmost pixel in the high bits
    PutColor(dst + 4 * x, l.palette[(src[x / perByte] >> shift) & valueMask]);
  }
}

void DecodeMaskedRow(const BmpLayout& l, const Channel& red, const Channel& green, const Channel& blue,
                     const std::uint8_t* src, std::uint8_t* dst) {
  for (std::int64_t x = 0; x < l.width; ++x) {
    const std::uint32_t pixel = l.bitCount == 16 ? U16(src + 2 * x) : U32(src + 4 * x);
    PutPixel(dst + 4 * x, blue(pixel), green(pixel), red(pixel));
  }
}

void DecodeUncompressed(const BmpLayout& l, std::span<const std::uint8_t> file, Dib& out) {
  std::uint32_t redMask = l.redMask, greenMask = l.greenMask, blueMask = l.blueMask;
  if (redMask == 0 && greenMask == 0 && blueMask == 0) {
    // No masks (or all zero, which says nothing either): the standard layouts.
    if (l.bitCount == 16) {
      redMask = 0x7C00, greenMask = 0x03E0, blueMask = 0x001F;
    } else {
      redMask = 0xFF0000, greenMask = 0xFF00, blueMask = 0xFF;
    }
  }
  const bool plain32 = l.bitCount == 32 && redMask == 0xFF0000 && greenMask == 0xFF00 && blueMask == 0xFF;
  const Channel red(redMask), green(greenMask), blue(blueMask);

  const std::uint64_t srcStride = DibStride(l.width, l.bitCount);
  const std::size_t dstStride = out.Stride();
  for (std::int64_t row = 0; row < l.height; ++row) {
    const std::uint8_t* src = file.data() + l.pixelOffset + srcStride * static_cast<std::uint64_t>(row);
    std::uint8_t* dst = l.topDown ? out.RowFromTop(static_cast<std::int32_t>(row))
                                  : out.bits.data() + dstStride * static_cast<std::size_t>(row);
    if (l.bitCount <= 8) {
      DecodeIndexedRow(l, src, dst);
    } else if (l.bitCount == 24) {
      for (std::int64_t x = 0; x < l.width; ++x) PutPixel(dst + 4 * x, src[3 * x], src[3 * x + 1], src[3 * x + 2]);
    } else if (plain32) {
      for (std::int64_t x = 0; x < l.width; ++x) PutPixel(dst + 4 * x, src[4 * x], src[4 * x + 1], src[4 * x + 2]);
    } else {
      DecodeMaskedRow(l, red, green, blue, src, dst);
    }
  }
}

// RLE8 and RLE4. A broken stream is shown as far as it goes; pixels it never reaches (skipped by
// a delta or an early end) stay black, and pixels beyond the right edge are dropped.
void DecodeRle(const BmpLayout& l, std::span<const std::uint8_t> data, Dib& out) {
  const bool nibbles = l.bitCount == 4;
  const std::size_t stride = out.Stride();
  const std::size_t n = data.size();
  std::int64_t x = 0, y = 0;  // y counts rows from the bottom, in the order the stream fills them
  auto put = [&](std::uint8_t index) {
    if (x < l.width) PutColor(out.bits.data() + stride * static_cast<std::size_t>(y) + 4 * x, l.palette[index]);
    ++x;
  };
  auto pixelOf = [nibbles](std::uint8_t byte, unsigned k) -> std::uint8_t {
    if (!nibbles) return byte;
    return k % 2 == 0 ? byte >> 4 : byte & 0x0F;
  };

  std::size_t i = 0;
  while (i + 1 < n && y < l.height) {
    const std::uint8_t count = data[i], value = data[i + 1];
    i += 2;
    if (count > 0) {  // a run of one value (RLE4: two alternating nibbles)
      for (unsigned k = 0; k < count; ++k) put(pixelOf(value, k));
      continue;
    }
    switch (value) {
      case 0:  // end of line
        x = 0;
        ++y;
        break;
      case 1:  // end of bitmap
        return;
      case 2:  // delta: move right and up
        if (i + 1 >= n) return;
        x += data[i];
        y += data[i + 1];
        i += 2;
        break;
      default: {  // absolute: `value` pixels stored as they are, padded to a 16-bit boundary
        const std::size_t bytes = nibbles ? (value + 1u) / 2 : value;
        for (unsigned k = 0; k < value; ++k) {
          const std::size_t at = i + (nibbles ? k / 2 : k);
          if (at >= n) return;
          put(pixelOf(data[at], k));
        }
        i += (bytes + 1) & ~std::size_t{1};
        break;
      }
    }
  }
}

Dib DecodeBitmap(std::span<const std::uint8_t> file, BmpForm form) {
  const BmpLayout layout = ParseHeaders(file, form);
  if (KeepsItsDepth(layout)) {
    Dib out = MakeDib(layout.width, layout.height, layout.bitCount);
    CopyRows(layout, file, out);
    return out;
  }
  Dib out = MakeDib(layout.width, layout.height, 32);
  if (layout.compression == bmp::Rle8 || layout.compression == bmp::Rle4) {
    DecodeRle(layout, file.subspan(static_cast<std::size_t>(layout.pixelOffset)), out);
  } else {
    DecodeUncompressed(layout, file, out);
  }
  return out;
}

}  // namespace

Dib DecodeBmp(std::span<const std::uint8_t> file) { return DecodeBitmap(file, BmpForm::File); }

Dib DecodePackedDib(std::span<const std::uint8_t> dib) { return DecodeBitmap(dib, BmpForm::PackedDib); }

}  // namespace kmrn
