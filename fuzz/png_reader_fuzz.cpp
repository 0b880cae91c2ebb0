// Feeds arbitrary bytes to the PNG reader. Refusing a file with the program's error is fine;
// anything else (a crash, a sanitizer report, a leak, a hang, a huge allocation) is a bug, and so is
// a picture that, written with EncodePng and read again, does not come back the same.
//
// Random bytes rarely get past the chunks' CRCs and the stream's checksum, so each input is also
// read twice more: with every chunk's CRC made right, and as the parts of a file this target puts
// together itself (a header from the first bytes, the rest as the filtered rows behind a correct
// zlib stream), which lets the fuzzer reach the unfiltering and the conversion of every colour type.

#include <libdeflate.h>

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <span>
#include <vector>

#include "framework/app_error.h"
#include "picture/image_files.h"
#include "picture/png_format.h"

namespace {

using kmrn::png::ReadU32;
using kmrn::png::WriteU32;

void AppendChunk(std::vector<std::uint8_t>& file, std::uint32_t type, std::span<const std::uint8_t> data) {
  const std::size_t start = file.size();
  file.resize(start + 12 + data.size());
  WriteU32(&file[start], static_cast<std::uint32_t>(data.size()));
  WriteU32(&file[start + 4], type);
  if (!data.empty()) std::copy(data.begin(), data.end(), file.begin() + static_cast<std::ptrdiff_t>(start + 8));
  WriteU32(&file[start + 8 + data.size()], libdeflate_crc32(0, &file[start + 4], data.size() + 4));
}

// Decodes; what decodes must survive a round trip through the writer unchanged.
void Check(std::span<const std::uint8_t> file) {
  kmrn::Dib dib;
  try {
    dib = kmrn::DecodePng(file);
  } catch (const kmrn::AppError&) {
    return;
  }
  const kmrn::Dib back = kmrn::DecodePng(kmrn::EncodePng(dib));
  if (!(back.bits == dib.bits) || back.width != dib.width || back.height != dib.height) std::abort();
}

// The input with every chunk's CRC set to what its bytes give.
std::vector<std::uint8_t> WithCrcsMadeRight(std::span<const std::uint8_t> input) {
  std::vector<std::uint8_t> file(input.begin(), input.end());
  std::size_t pos = 8;
  while (pos + 12 <= file.size()) {
    const std::uint32_t length = ReadU32(&file[pos]);
    if (length > file.size() - pos - 12) break;
    WriteU32(&file[pos + 8 + length], libdeflate_crc32(0, &file[pos + 4], std::size_t{length} + 4));
    pos += 12 + std::size_t{length};
  }
  return file;
}

// A well-formed file from the input: its first bytes choose the size, colour type, depth,
// interlacing, palette and transparency; the rest are the filtered rows, compressed correctly.
std::vector<std::uint8_t> Assembled(std::span<const std::uint8_t> input) {
  struct Kind {
    std::uint8_t colourType, depth;
  };
  static constexpr Kind kKinds[] = {{0, 1}, {0, 2}, {0, 4}, {0, 8}, {0, 16}, {2, 8}, {2, 16}, {3, 1},
                                    {3, 2}, {3, 4}, {3, 8}, {4, 8}, {4, 16}, {6, 8}, {6, 16}};
  if (input.size() < 6) return {};
  const std::uint32_t width = 1 + input[0] % 40, height = 1 + input[1] % 40;
  const Kind kind = kKinds[input[2] % std::size(kKinds)];
  const bool interlaced = input[3] & 1, transparency = input[3] & 2;
  const unsigned paletteEntries = 1 + input[4];
  input = input.subspan(6);

  std::vector<std::uint8_t> file(kmrn::png::Signature, kmrn::png::Signature + 8);
  std::uint8_t header[13];
  WriteU32(header, width);
  WriteU32(header + 4, height);
  header[8] = kind.depth;
  header[9] = kind.colourType;
  header[10] = header[11] = 0;
  header[12] = interlaced;
  AppendChunk(file, kmrn::png::Ihdr, header);
  if (kind.colourType == kmrn::png::Palette) {
    std::vector<std::uint8_t> palette(3 * std::min(paletteEntries, 1u << kind.depth), 0x80);
    AppendChunk(file, kmrn::png::Plte, palette);
    if (transparency) AppendChunk(file, kmrn::png::Trns, std::span(palette).first(palette.size() / 3));
  } else if (transparency && (kind.colourType == kmrn::png::Gray || kind.colourType == kmrn::png::Rgb)) {
    const std::size_t keyBytes = kind.colourType == kmrn::png::Gray ? 2 : 6;
    if (input.size() < keyBytes) return {};
    AppendChunk(file, kmrn::png::Trns, input.first(keyBytes));
    input = input.subspan(keyBytes);
  }
  libdeflate_compressor* compressor = libdeflate_alloc_compressor(1);
  std::vector<std::uint8_t> stream(libdeflate_zlib_compress_bound(compressor, input.size()));
  stream.resize(libdeflate_zlib_compress(compressor, input.data(), input.size(), stream.data(), stream.size()));
  libdeflate_free_compressor(compressor);
  AppendChunk(file, kmrn::png::Idat, stream);
  AppendChunk(file, kmrn::png::Iend, {});
  return file;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::span<const std::uint8_t> input(data, size);
  Check(input);
  Check(WithCrcsMadeRight(input));
  Check(Assembled(input));
  return 0;
}
