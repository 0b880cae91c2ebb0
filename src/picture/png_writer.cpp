// Writing PNG files. A 24- or 32-bit picture becomes an 8-bit RGB file, a 1-, 4- or 8-bit picture a
// palette file at its own depth; the rarer depths are first turned into a 24-bit picture.
//
// The rows are filtered into one buffer, which libdeflate compresses in one call straight into the
// place of the single IDAT chunk in the file's bytes; only the chunks' frames and checksums are
// written around it.
//
// The default, adaptive filters at libdeflate's level 6, was chosen on two 1920x1080 screen-like
// pictures (window frames, flat areas, anti-aliased text, a gradient and a photo-like area), timed
// in the optimised host build against libpng 1.6 at its defaults (zlib level 6, adaptive filters):
// 0.34 and 0.23 of libpng's time with files 0.995 and 0.990 of its size. Level 5 is faster still
// but its file came out larger than libpng's on one of them; a single filter for every row (Sub,
// Up or Paeth) costs no less time at the same size, and level 7 costs half as much time again for
// under one percent.

#include <algorithm>
#include <cstring>
#include <memory>
#include <utility>

#include <libdeflate.h>

#include "framework/app_error.h"
#include "framework/file_system.h"
#include "picture/image_files.h"
#include "picture/png_format.h"

namespace kmrn {
namespace {

using png::Filter;
using png::FilterStrategy;

struct CompressorFree {
  void operator()(libdeflate_compressor* compressor) const { libdeflate_free_compressor(compressor); }
};

// A picture whose rows are shorter than its size says would make the writer read past them.
void CheckConsistent(const Dib& dib) {
  if (!DibSizeAllowed(dib.width, dib.height, dib.bitCount) ||
      dib.bits.size() < dib.Stride() * static_cast<std::size_t>(dib.height)) {
    throw InvalidBitmapError();
  }
}

// --- Row filters: out[i] = raw[i] - guess, where the guess comes from bytes already seen --------

void FilterSub(const std::uint8_t* raw, std::size_t n, std::size_t bpp, std::uint8_t* out) {
  for (std::size_t i = 0; i < bpp; ++i) out[i] = raw[i];
  for (std::size_t i = bpp; i < n; ++i) out[i] = static_cast<std::uint8_t>(raw[i] - raw[i - bpp]);
}

void FilterUp(const std::uint8_t* raw, const std::uint8_t* prior, std::size_t n, std::uint8_t* out) {
  for (std::size_t i = 0; i < n; ++i) out[i] = static_cast<std::uint8_t>(raw[i] - prior[i]);
}

void FilterAverage(const std::uint8_t* raw, const std::uint8_t* prior, std::size_t n, std::size_t bpp,
                   std::uint8_t* out) {
  for (std::size_t i = 0; i < bpp; ++i) out[i] = static_cast<std::uint8_t>(raw[i] - (prior[i] >> 1));
  for (std::size_t i = bpp; i < n; ++i) {
    out[i] = static_cast<std::uint8_t>(raw[i] - ((raw[i - bpp] + prior[i]) >> 1));
  }
}

void FilterPaeth(const std::uint8_t* raw, const std::uint8_t* prior, std::size_t n, std::size_t bpp,
                 std::uint8_t* out) {
  // With nothing to the left, the guess is the byte above.
  for (std::size_t i = 0; i < bpp; ++i) out[i] = static_cast<std::uint8_t>(raw[i] - prior[i]);
  for (std::size_t i = bpp; i < n; ++i) {
    out[i] = static_cast<std::uint8_t>(raw[i] - png::PaethPredictor(raw[i - bpp], prior[i], prior[i - bpp]));
  }
}

void ApplyFilter(Filter filter, const std::uint8_t* raw, const std::uint8_t* prior, std::size_t n, std::size_t bpp,
                 std::uint8_t* out) {
  switch (filter) {
    case Filter::None: std::memcpy(out, raw, n); break;
    case Filter::Sub: FilterSub(raw, n, bpp, out); break;
    case Filter::Up: FilterUp(raw, prior, n, out); break;
    case Filter::Average: FilterAverage(raw, prior, n, bpp, out); break;
    case Filter::Paeth: FilterPaeth(raw, prior, n, bpp, out); break;
  }
}

// The absolute values of the bytes a filter would give, read as signed numbers, added up: what
// the adaptive choice goes by. Worked out without storing the bytes, so that only the chosen filter
// is written.
std::uint32_t Magnitude(std::uint8_t filtered) {
  int v = static_cast<std::int8_t>(filtered);
  return static_cast<std::uint32_t>(v < 0 ? -v : v);
}

std::uint32_t FilteredSum(Filter filter, const std::uint8_t* raw, const std::uint8_t* prior, std::size_t n,
                          std::size_t bpp) {
  std::uint32_t sum = 0;
  switch (filter) {
    case Filter::None:
      for (std::size_t i = 0; i < n; ++i) sum += Magnitude(raw[i]);
      break;
    case Filter::Sub:
      for (std::size_t i = 0; i < bpp; ++i) sum += Magnitude(raw[i]);
      for (std::size_t i = bpp; i < n; ++i) sum += Magnitude(static_cast<std::uint8_t>(raw[i] - raw[i - bpp]));
      break;
    case Filter::Up:
      for (std::size_t i = 0; i < n; ++i) sum += Magnitude(static_cast<std::uint8_t>(raw[i] - prior[i]));
      break;
    case Filter::Average:
      for (std::size_t i = 0; i < bpp; ++i) sum += Magnitude(static_cast<std::uint8_t>(raw[i] - (prior[i] >> 1)));
      for (std::size_t i = bpp; i < n; ++i) {
        sum += Magnitude(static_cast<std::uint8_t>(raw[i] - ((raw[i - bpp] + prior[i]) >> 1)));
      }
      break;
    case Filter::Paeth:
      for (std::size_t i = 0; i < bpp; ++i) sum += Magnitude(static_cast<std::uint8_t>(raw[i] - prior[i]));
      for (std::size_t i = bpp; i < n; ++i) {
        sum +=
            Magnitude(static_cast<std::uint8_t>(raw[i] - png::PaethPredictor(raw[i - bpp], prior[i], prior[i - bpp])));
      }
      break;
  }
  return sum;
}

// Filters one row into out: its filter byte, then the filtered bytes.
void FilterRow(FilterStrategy strategy, const std::uint8_t* raw, const std::uint8_t* prior, std::size_t n,
               std::size_t bpp, std::uint8_t* out) {
  static constexpr Filter kFixed[] = {Filter::None, Filter::Sub, Filter::Up, Filter::Average, Filter::Paeth};
  Filter chosen = Filter::None;
  if (strategy == FilterStrategy::Adaptive) {
    std::uint32_t least = FilteredSum(Filter::None, raw, prior, n, bpp);
    for (Filter filter : {Filter::Sub, Filter::Up, Filter::Average, Filter::Paeth}) {
      std::uint32_t sum = FilteredSum(filter, raw, prior, n, bpp);
      if (sum < least) {
        least = sum;
        chosen = filter;
      }
    }
  } else {
    chosen = kFixed[static_cast<int>(strategy)];
  }
  out[0] = static_cast<std::uint8_t>(chosen);
  ApplyFilter(chosen, raw, prior, n, bpp, out + 1);
}

// --- The picture's rows as the file stores them -----------------------------------------------

struct FileLayout {
  std::uint8_t colourType;
  std::uint8_t bitDepth;
  std::size_t rowBytes;  // unfiltered bytes of one row
  std::size_t bpp;       // the filters' distance to the byte "to the left": whole pixels, at least 1
  std::size_t paletteEntries;
};

// Palette entries the file needs: the picture's (as many as the depth can index), and black ones up
// to the highest index the pixels use, as the picture shows pixels past its palette.
std::size_t PaletteEntriesFor(const Dib& dib) {
  const std::size_t indexable = std::size_t{1} << dib.bitCount;
  std::size_t entries = std::min(dib.palette.size(), indexable);
  if (dib.bitCount < 8) return indexable;  // at most 48 bytes more, and no bits to pick apart
  std::uint8_t highest = 0;
  for (std::int32_t y = 0; y < dib.height; ++y) {
    const std::uint8_t* row = dib.RowFromTop(y);
    highest = std::max(highest, *std::max_element(row, row + dib.width));
  }
  return std::max<std::size_t>(entries, std::size_t{highest} + 1);
}

// The bytes of row y from the top, unfiltered, in the file's order.
void RawRow(const Dib& dib, std::int32_t y, const FileLayout& layout, std::uint8_t* out) {
  const std::uint8_t* src = dib.RowFromTop(y);
  if (layout.colourType == png::Palette) {
    // BMP and PNG both pack the leftmost pixel into the highest bits.
    std::memcpy(out, src, layout.rowBytes);
  } else if (dib.bitCount == 24) {
    for (std::int32_t x = 0; x < dib.width; ++x, src += 3, out += 3) {
      out[0] = src[2];
      out[1] = src[1];
      out[2] = src[0];
    }
  } else {  // 32 bits, blue-green-red-unused
    for (std::int32_t x = 0; x < dib.width; ++x, src += 4, out += 3) {
      out[0] = src[2];
      out[1] = src[1];
      out[2] = src[0];
    }
  }
}

// Writes a chunk's length and type at p; its data follows at p + 8.
std::uint8_t* ChunkStart(std::uint8_t* p, std::uint32_t type, std::size_t length) {
  png::WriteU32(p, static_cast<std::uint32_t>(length));
  png::WriteU32(p + 4, type);
  return p + 8;
}

// Writes the CRC of the chunk that starts at chunk, with length bytes of data; returns the end.
std::uint8_t* ChunkEnd(std::uint8_t* chunk, std::size_t length) {
  std::uint32_t crc = libdeflate_crc32(0, chunk + 4, length + 4);
  png::WriteU32(chunk + 8 + length, crc);
  return chunk + 8 + length + 4;
}

}  // namespace

namespace png {

std::vector<std::uint8_t> EncodePngWith(const Dib& dib, PngWriteChoice choice) {
  CheckConsistent(dib);
  Dib converted;
  const Dib* source = &dib;
  if (dib.bitCount == 16 || (dib.bitCount == 32 && !IsPlainBgrx(dib))) {
    converted = ToBgr24(dib);
    source = &converted;
  }
  const Dib& picture = *source;
  const auto width = static_cast<std::size_t>(picture.width);
  const auto height = static_cast<std::size_t>(picture.height);

  FileLayout layout{};
  if (picture.bitCount <= 8) {
    layout = {Palette, static_cast<std::uint8_t>(picture.bitCount), (width * picture.bitCount + 7) / 8, 1,
              PaletteEntriesFor(picture)};
  } else {
    layout = {Rgb, 8, width * 3, 3, 0};
  }

  // The filtered rows, each behind its filter byte; every byte is written before it is read.
  const std::size_t filteredSize = height * (layout.rowBytes + 1);
  std::unique_ptr<std::uint8_t[]> filtered(new std::uint8_t[filteredSize]);
  {
    // This row and the one above, unfiltered; the first row's "above" is zeros.
    std::unique_ptr<std::uint8_t[]> rows(new std::uint8_t[2 * layout.rowBytes]());
    std::uint8_t* raw = rows.get();
    std::uint8_t* prior = raw + layout.rowBytes;
    for (std::size_t y = 0; y < height; ++y) {
      RawRow(picture, static_cast<std::int32_t>(y), layout, raw);
      std::uint8_t* out = filtered.get() + y * (layout.rowBytes + 1);
      FilterRow(choice.filter, raw, prior, layout.rowBytes, layout.bpp, out);
      std::swap(raw, prior);
    }
  }

  std::unique_ptr<libdeflate_compressor, CompressorFree> compressor(
      libdeflate_alloc_compressor(std::clamp(choice.level, 0, 12)));
  if (!compressor) throw std::bad_alloc();
  const std::size_t bound = libdeflate_zlib_compress_bound(compressor.get(), filteredSize);

  const std::size_t paletteChunk = layout.paletteEntries ? ChunkOverhead + 3 * layout.paletteEntries : 0;
  const std::size_t idatOffset = sizeof(Signature) + ChunkOverhead + IhdrSize + paletteChunk;
  // Room for the largest file the picture can give, left uninitialised: every byte is written
  // before it is read, and only the bytes written are handed back (a screen's PNG is a few percent
  // of the bound, which zeroing would have touched in full).
  const std::size_t room = idatOffset + ChunkOverhead + bound + ChunkOverhead;
  std::unique_ptr<std::uint8_t[]> file(new std::uint8_t[room]);
  std::uint8_t* p = file.get();
  std::memcpy(p, Signature, sizeof(Signature));
  p += sizeof(Signature);

  std::uint8_t* chunk = p;
  std::uint8_t* data = ChunkStart(chunk, Ihdr, IhdrSize);
  WriteU32(data, static_cast<std::uint32_t>(width));
  WriteU32(data + 4, static_cast<std::uint32_t>(height));
  data[8] = layout.bitDepth;
  data[9] = layout.colourType;
  data[10] = 0;  // deflate
  data[11] = 0;  // the five standard filters
  data[12] = 0;  // not interlaced
  p = ChunkEnd(chunk, IhdrSize);

  if (layout.paletteEntries) {
    chunk = p;
    data = ChunkStart(chunk, Plte, 3 * layout.paletteEntries);
    for (std::size_t i = 0; i < layout.paletteEntries; ++i, data += 3) {
      const Rgbq colour = i < picture.palette.size() ? picture.palette[i] : Rgbq{};
      data[0] = colour.red;
      data[1] = colour.green;
      data[2] = colour.blue;
    }
    p = ChunkEnd(chunk, 3 * layout.paletteEntries);
  }

  chunk = p;
  const std::size_t compressed =
      libdeflate_zlib_compress(compressor.get(), filtered.get(), filteredSize, chunk + 8, bound);
  if (compressed == 0 || compressed > MaxChunkLength) throw std::bad_alloc();  // cannot happen within the bound
  ChunkStart(chunk, Idat, compressed);
  p = ChunkEnd(chunk, compressed);

  chunk = p;
  ChunkStart(chunk, Iend, 0);
  p = ChunkEnd(chunk, 0);
  return std::vector<std::uint8_t>(file.get(), p);
}

}  // namespace png

std::vector<std::uint8_t> EncodePng(const Dib& dib) { return png::EncodePngWith(dib, png::DefaultPngWriteChoice); }

void SavePng(const Dib& dib, const std::string& path) { WriteWholeFile(path, EncodePng(dib)); }

}  // namespace kmrn
