// Reading PNG files of every colour type, bit depth and interlacing into a 24-bit picture.
//
// The file comes from anywhere. Every chunk's CRC is checked and the chunks must come in the
// format's order; the picture's size is checked from the header before anything is allocated. All
// IDAT data is inflated in one call into a buffer of exactly the size the header implies, so a
// stream that would inflate to more is stopped there and a short one is refused; the rows are then
// unfiltered in place and converted straight into the picture.

#include <algorithm>
#include <array>
#include <cstring>
#include <memory>
#include <new>

#include <libdeflate.h>

#include "framework/app_error.h"
#include "picture/image_files.h"
#include "picture/png_format.h"

namespace kmrn {
namespace {

using png::ReadU32;

struct DecompressorFree {
  void operator()(libdeflate_decompressor* decompressor) const { libdeflate_free_decompressor(decompressor); }
};

struct Header {
  std::uint32_t width = 0;
  std::uint32_t height = 0;
  std::uint8_t depth = 0;
  std::uint8_t colourType = 0;
  bool interlaced = false;
};

unsigned Channels(std::uint8_t colourType) {
  switch (colourType) {
    case png::Gray: return 1;
    case png::Rgb: return 3;
    case png::Palette: return 1;
    case png::GrayAlpha: return 2;
    case png::Rgba: return 4;
    default: return 0;
  }
}

bool DepthAllowed(std::uint8_t colourType, std::uint8_t depth) {
  switch (colourType) {
    case png::Gray: return depth == 1 || depth == 2 || depth == 4 || depth == 8 || depth == 16;
    case png::Palette: return depth == 1 || depth == 2 || depth == 4 || depth == 8;
    case png::Rgb:
    case png::GrayAlpha:
    case png::Rgba: return depth == 8 || depth == 16;
    default: return false;
  }
}

// A part of the picture stored as rows of its own: the whole picture, or one of Adam7's passes.
struct Pass {
  std::uint32_t x0, y0, dx, dy;
};
constexpr Pass kWhole[1] = {{0, 0, 1, 1}};
constexpr Pass kAdam7[7] = {{0, 0, 8, 8}, {4, 0, 8, 8}, {0, 4, 4, 8}, {2, 0, 4, 4},
                            {0, 2, 2, 4}, {1, 0, 2, 2}, {0, 1, 1, 2}};

std::uint64_t PassSpan(std::uint32_t size, std::uint32_t start, std::uint32_t step) {
  return size > start ? (size - start + step - 1) / step : 0;
}

std::uint64_t RowBytes(std::uint64_t width, unsigned bitsPerPixel) { return (width * bitsPerPixel + 7) / 8; }

std::span<const Pass> PassesOf(const Header& header) {
  return header.interlaced ? std::span<const Pass>(kAdam7) : std::span<const Pass>(kWhole);
}

// The bytes the IDAT data must inflate to: every non-empty pass's rows, each behind its filter byte.
std::uint64_t InflatedSize(const Header& header, unsigned bitsPerPixel) {
  std::uint64_t total = 0;
  for (const Pass& pass : PassesOf(header)) {
    std::uint64_t width = PassSpan(header.width, pass.x0, pass.dx);
    std::uint64_t height = PassSpan(header.height, pass.y0, pass.dy);
    if (width != 0 && height != 0) total += height * (1 + RowBytes(width, bitsPerPixel));
  }
  return total;
}

Header ReadHeader(const std::uint8_t* data) {
  Header header;
  header.width = ReadU32(data);
  header.height = ReadU32(data + 4);
  header.depth = data[8];
  header.colourType = data[9];
  if (header.width == 0 || header.height == 0 || header.width > png::MaxChunkLength ||
      header.height > png::MaxChunkLength || !DepthAllowed(header.colourType, header.depth) || data[10] != 0 ||
      data[11] != 0 || data[12] > 1) {
    throw PngError();
  }
  header.interlaced = data[12] == 1;
  // The picture and the inflated rows are each held whole, so both must be within the limits.
  const unsigned bitsPerPixel = Channels(header.colourType) * header.depth;
  if (!DibSizeAllowed(header.width, header.height, 24) || InflatedSize(header, bitsPerPixel) > MaxDibBytes) {
    throw ImageTooLargeError(header.width, header.height);
  }
  return header;
}

bool ValidChunkType(std::uint32_t type) {
  for (int shift = 0; shift < 32; shift += 8) {
    auto c = static_cast<std::uint8_t>(type >> shift);
    if (!((c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'))) return false;
  }
  return true;
}

// A chunk whose first letter is upper case is critical: a reader that does not know it must stop.
bool Critical(std::uint32_t type) { return (type & 0x20000000u) == 0; }

// --- Unfiltering, in place ----------------------------------------------------------------------

// Reverses one row's filter; prior is the row above, unfiltered, or null for a pass's first row
// (which the filters see as zeros). Bpp is the filters' distance to the byte "to the left".
template <std::size_t Bpp>
void UnfilterRow(std::uint8_t filter, std::uint8_t* row, const std::uint8_t* prior, std::size_t n) {
  switch (filter) {
    case 0: return;
    case 1:
      for (std::size_t i = Bpp; i < n; ++i) row[i] = static_cast<std::uint8_t>(row[i] + row[i - Bpp]);
      return;
    case 2:
      if (prior) {
        for (std::size_t i = 0; i < n; ++i) row[i] = static_cast<std::uint8_t>(row[i] + prior[i]);
      }
      return;
    case 3:
      if (prior) {
        for (std::size_t i = 0; i < Bpp && i < n; ++i) row[i] = static_cast<std::uint8_t>(row[i] + (prior[i] >> 1));
        for (std::size_t i = Bpp; i < n; ++i) {
          row[i] = static_cast<std::uint8_t>(row[i] + ((row[i - Bpp] + prior[i]) >> 1));
        }
      } else {
        for (std::size_t i = Bpp; i < n; ++i) row[i] = static_cast<std::uint8_t>(row[i] + (row[i - Bpp] >> 1));
      }
      return;
    case 4:
      if (prior) {
        for (std::size_t i = 0; i < Bpp && i < n; ++i) row[i] = static_cast<std::uint8_t>(row[i] + prior[i]);
        for (std::size_t i = Bpp; i < n; ++i) {
          row[i] = static_cast<std::uint8_t>(row[i] + png::PaethPredictor(row[i - Bpp], prior[i], prior[i - Bpp]));
        }
      } else {
        // With nothing above, the guess is always the byte to the left.
        for (std::size_t i = Bpp; i < n; ++i) row[i] = static_cast<std::uint8_t>(row[i] + row[i - Bpp]);
      }
      return;
    default: throw PngError();
  }
}

using UnfilterFunction = void (*)(std::uint8_t, std::uint8_t*, const std::uint8_t*, std::size_t);

UnfilterFunction UnfilterFor(unsigned bitsPerPixel) {
  switch ((bitsPerPixel + 7) / 8) {
    case 1: return UnfilterRow<1>;
    case 2: return UnfilterRow<2>;
    case 3: return UnfilterRow<3>;
    case 4: return UnfilterRow<4>;
    case 6: return UnfilterRow<6>;
    default: return UnfilterRow<8>;
  }
}

// --- Samples to blue-green-red ------------------------------------------------------------------

std::uint8_t Wide(const std::uint8_t* p) {
  unsigned v = static_cast<unsigned>(p[0]) << 8 | p[1];
  return static_cast<std::uint8_t>((v * 255 + 32767) / 65535);
}

// A colour channel laid over a white background with the given opacity.
std::uint8_t OverWhite(unsigned c, unsigned a) {
  return static_cast<std::uint8_t>((c * a + 255 * (255 - a) + 127) / 255);
}

// What one picture's rows need to become pixels.
struct Converter {
  Header header;
  // Gray and palette pictures up to 8 bits: each sample's pixel, transparency already applied;
  // entries says how many samples are valid (a palette index past the palette is refused).
  std::array<std::uint8_t, 3 * 256> lookup{};
  unsigned entries = 256;
  // tRNS colour key of gray and RGB pictures, at the file's depth.
  bool hasKey = false;
  std::uint16_t key[3] = {0, 0, 0};

  bool IsKey(unsigned r, unsigned g, unsigned b) const { return hasKey && r == key[0] && g == key[1] && b == key[2]; }

  // count pixels of one unfiltered row into dst, step bytes apart.
  void Row(const std::uint8_t* src, std::size_t count, std::uint8_t* dst, std::size_t step) const;
};

void Converter::Row(const std::uint8_t* src, std::size_t count, std::uint8_t* dst, std::size_t step) const {
  auto put = [](std::uint8_t* p, std::uint8_t r, std::uint8_t g, std::uint8_t b) {
    p[0] = b;
    p[1] = g;
    p[2] = r;
  };
  const unsigned depth = header.depth;
  switch (header.colourType) {
    case png::Gray:
    case png::Palette:
      if (depth == 16) {
        for (std::size_t x = 0; x < count; ++x, src += 2, dst += step) {
          unsigned v = static_cast<unsigned>(src[0]) << 8 | src[1];
          std::uint8_t g = IsKey(v, v, v) ? 255 : Wide(src);
          put(dst, g, g, g);
        }
      } else if (depth == 8) {
        for (std::size_t x = 0; x < count; ++x, dst += step) {
          unsigned index = src[x];
          if (index >= entries) throw PngError();
          std::memcpy(dst, &lookup[3 * index], 3);
        }
      } else {
        const unsigned mask = (1u << depth) - 1;
        for (std::size_t x = 0; x < count; ++x, dst += step) {
          std::size_t bit = x * depth;
          unsigned index = (src[bit / 8] >> (8 - depth - bit % 8)) & mask;
          if (index >= entries) throw PngError();
          std::memcpy(dst, &lookup[3 * index], 3);
        }
      }
      return;
    case png::Rgb:
      if (depth == 8) {
        for (std::size_t x = 0; x < count; ++x, src += 3, dst += step) {
          if (IsKey(src[0], src[1], src[2])) {
            put(dst, 255, 255, 255);
          } else {
            put(dst, src[0], src[1], src[2]);
          }
        }
      } else {
        for (std::size_t x = 0; x < count; ++x, src += 6, dst += step) {
          if (IsKey(static_cast<unsigned>(src[0]) << 8 | src[1], static_cast<unsigned>(src[2]) << 8 | src[3],
                    static_cast<unsigned>(src[4]) << 8 | src[5])) {
            put(dst, 255, 255, 255);
          } else {
            put(dst, Wide(src), Wide(src + 2), Wide(src + 4));
          }
        }
      }
      return;
    case png::GrayAlpha:
      if (depth == 8) {
        for (std::size_t x = 0; x < count; ++x, src += 2, dst += step) {
          std::uint8_t g = OverWhite(src[0], src[1]);
          put(dst, g, g, g);
        }
      } else {
        for (std::size_t x = 0; x < count; ++x, src += 4, dst += step) {
          std::uint8_t g = OverWhite(Wide(src), Wide(src + 2));
          put(dst, g, g, g);
        }
      }
      return;
    default:  // RGBA
      if (depth == 8) {
        for (std::size_t x = 0; x < count; ++x, src += 4, dst += step) {
          unsigned a = src[3];
          put(dst, OverWhite(src[0], a), OverWhite(src[1], a), OverWhite(src[2], a));
        }
      } else {
        for (std::size_t x = 0; x < count; ++x, src += 8, dst += step) {
          unsigned a = Wide(src + 6);
          put(dst, OverWhite(Wide(src), a), OverWhite(Wide(src + 2), a), OverWhite(Wide(src + 4), a));
        }
      }
      return;
  }
}

// The chunks before the pixels, as far as the picture needs them.
struct Chunks {
  Header header;
  std::array<std::uint8_t, 3 * 256> palette{};  // red, green, blue
  unsigned paletteEntries = 0;
  std::array<std::uint8_t, 256> alpha{};  // of the palette entries, from tRNS
  bool hasKey = false;
  std::uint16_t key[3] = {0, 0, 0};
  std::vector<std::span<const std::uint8_t>> idat;
  std::size_t idatBytes = 0;
};

Chunks ReadChunks(std::span<const std::uint8_t> file) {
  if (file.size() < sizeof(png::Signature) || std::memcmp(file.data(), png::Signature, sizeof(png::Signature)) != 0) {
    throw PngError();
  }
  Chunks chunks;
  chunks.alpha.fill(255);
  bool seenHeader = false, seenPalette = false, seenTransparency = false, seenIdat = false, idatEnded = false;
  std::size_t pos = sizeof(png::Signature);
  for (;;) {
    if (file.size() - pos < png::ChunkOverhead) throw PngError();  // no IEND
    const std::uint8_t* chunk = file.data() + pos;
    const std::uint32_t length = ReadU32(chunk);
    if (length > png::MaxChunkLength || length > file.size() - pos - png::ChunkOverhead) throw PngError();
    const std::uint32_t type = ReadU32(chunk + 4);
    const std::uint8_t* data = chunk + 8;
    if (!ValidChunkType(type) || libdeflate_crc32(0, chunk + 4, std::size_t{length} + 4) != ReadU32(data + length)) {
      throw PngError();
    }
    pos += png::ChunkOverhead + length;

    if (!seenHeader && type != png::Ihdr) throw PngError();
    if (seenIdat && type != png::Idat) idatEnded = true;
    const Header& header = chunks.header;
    if (type == png::Ihdr) {
      if (seenHeader || length != png::IhdrSize) throw PngError();
      chunks.header = ReadHeader(data);
      seenHeader = true;
    } else if (type == png::Plte) {
      // Only before the pixels and their transparency; a gray picture has none.
      const unsigned entries = length / 3;
      if (seenPalette || seenIdat || seenTransparency || header.colourType == png::Gray ||
          header.colourType == png::GrayAlpha || length % 3 != 0 || entries == 0 || entries > 256 ||
          (header.colourType == png::Palette && entries > (1u << header.depth))) {
        throw PngError();
      }
      std::memcpy(chunks.palette.data(), data, length);
      chunks.paletteEntries = entries;
      seenPalette = true;
    } else if (type == png::Trns) {
      if (seenTransparency || seenIdat) throw PngError();
      seenTransparency = true;
      if (header.colourType == png::Palette) {
        if (!seenPalette || length > chunks.paletteEntries) throw PngError();
        std::memcpy(chunks.alpha.data(), data, length);
      } else if (header.colourType == png::Gray) {
        if (length != 2) throw PngError();
        chunks.hasKey = true;
        chunks.key[0] = chunks.key[1] = chunks.key[2] = static_cast<std::uint16_t>(data[0] << 8 | data[1]);
      } else if (header.colourType == png::Rgb) {
        if (length != 6) throw PngError();
        chunks.hasKey = true;
        for (int i = 0; i < 3; ++i) chunks.key[i] = static_cast<std::uint16_t>(data[2 * i] << 8 | data[2 * i + 1]);
      }
      // A picture with an alpha channel has no use for one: it is passed over.
    } else if (type == png::Idat) {
      if (idatEnded || (header.colourType == png::Palette && !seenPalette)) throw PngError();
      seenIdat = true;
      chunks.idat.emplace_back(data, length);
      chunks.idatBytes += length;
    } else if (type == png::Iend) {
      if (!seenIdat || length != 0) throw PngError();
      return chunks;  // whatever follows IEND is not part of the picture
    } else if (Critical(type)) {
      throw PngError();  // a chunk the picture cannot be read without
    }
  }
}

Converter ConverterFor(const Chunks& chunks) {
  Converter converter;
  converter.header = chunks.header;
  converter.hasKey = chunks.hasKey;
  std::copy(std::begin(chunks.key), std::end(chunks.key), converter.key);
  const Header& header = chunks.header;
  if (header.colourType == png::Palette) {
    converter.entries = chunks.paletteEntries;
    for (unsigned i = 0; i < chunks.paletteEntries; ++i) {
      const unsigned a = chunks.alpha[i];
      for (int c = 0; c < 3; ++c) {
        // The picture's bytes run blue-green-red, the palette's red-green-blue.
        converter.lookup[3 * i + 2 - c] = OverWhite(chunks.palette[3 * i + c], a);
      }
    }
  } else if (header.colourType == png::Gray && header.depth <= 8) {
    const unsigned top = (1u << header.depth) - 1;
    for (unsigned v = 0; v <= top; ++v) {
      auto g = static_cast<std::uint8_t>(v * 255 / top);
      if (converter.IsKey(v, v, v)) g = 255;
      converter.lookup[3 * v] = converter.lookup[3 * v + 1] = converter.lookup[3 * v + 2] = g;
    }
  }
  return converter;
}

}  // namespace

Dib DecodePng(std::span<const std::uint8_t> file) {
  const Chunks chunks = ReadChunks(file);
  const Header& header = chunks.header;
  const unsigned bitsPerPixel = Channels(header.colourType) * header.depth;
  const auto inflatedSize = static_cast<std::size_t>(InflatedSize(header, bitsPerPixel));

  // The IDAT chunks' data is one zlib stream; it is joined unless it is in one piece already.
  std::vector<std::uint8_t> joined;
  std::span<const std::uint8_t> stream = chunks.idat.front();
  if (chunks.idat.size() > 1) {
    joined.reserve(chunks.idatBytes);
    for (std::span<const std::uint8_t> part : chunks.idat) joined.insert(joined.end(), part.begin(), part.end());
    stream = joined;
  }

  std::unique_ptr<std::uint8_t[]> rows(new (std::nothrow) std::uint8_t[inflatedSize]);
  if (!rows) throw ImageTooLargeError(header.width, header.height);
  {
    std::unique_ptr<libdeflate_decompressor, DecompressorFree> decompressor(libdeflate_alloc_decompressor());
    if (!decompressor) throw std::bad_alloc();
    // No actual-size out-parameter: the stream must fill the buffer exactly.
    if (libdeflate_zlib_decompress(decompressor.get(), stream.data(), stream.size(), rows.get(), inflatedSize,
                                   nullptr) != LIBDEFLATE_SUCCESS) {
      throw PngError();
    }
  }
  joined = {};

  // The picture is made only now that the file has proved to hold all of it.
  Dib dib = MakeDib(header.width, header.height, 24);

  const Converter converter = ConverterFor(chunks);
  const UnfilterFunction unfilter = UnfilterFor(bitsPerPixel);
  std::uint8_t* row = rows.get();
  for (const Pass& pass : PassesOf(header)) {
    const auto width = static_cast<std::size_t>(PassSpan(header.width, pass.x0, pass.dx));
    const auto height = static_cast<std::uint32_t>(PassSpan(header.height, pass.y0, pass.dy));
    if (width == 0 || height == 0) continue;
    const auto rowBytes = static_cast<std::size_t>(RowBytes(width, bitsPerPixel));
    const std::uint8_t* prior = nullptr;
    for (std::uint32_t r = 0; r < height; ++r) {
      unfilter(row[0], row + 1, prior, rowBytes);
      std::uint8_t* dst = dib.RowFromTop(static_cast<std::int32_t>(pass.y0 + r * pass.dy)) + 3 * pass.x0;
      converter.Row(row + 1, width, dst, 3 * pass.dx);
      prior = row + 1;
      row += 1 + rowBytes;
    }
  }
  return dib;
}

}  // namespace kmrn
