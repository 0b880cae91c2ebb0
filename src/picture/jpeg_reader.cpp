// Reading JPEG files. libjpeg-turbo writes blue-green-red pixels straight into the picture's
// rows (handed over bottom row last), so a colour file needs no copy or conversion of ours.
//
// Any file the user opens may be hostile, so three limits keep a small file from taking
// gigabytes or minutes:
// - the picture's size is checked against the program's picture limits right after the header,
//   before the library or we allocate anything for it;
// - the library's own memory is capped. With libjpeg-turbo's memory back end (jmemnobs) the cap
//   only governs the whole-image buffers: the coefficients of a progressive or multi-scan file
//   and the full picture the two-pass colour quantizer keeps. Those are the only allocations that
//   grow with the picture's area; when they would exceed the cap the library asks for a backing
//   store file, which that back end does not have, and stops with JERR_NO_BACKING_STORE;
// - the number of scans of a progressive file is capped. Every scan walks the whole coefficient
//   buffer, so a few thousand tiny scans of a large picture would keep the decoder busy for
//   minutes.

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <limits>
#include <vector>

#include "framework/app_error.h"
#include "picture/image_files.h"
#include "picture/jpeg_error.h"

namespace kmrn {
namespace {

using jpeg_detail::ErrorManager;

constexpr int kMaxScans = 500;
// The largest picture the program holds is 256 MB; this lets a progressive 4:2:0 file of that
// size through, and keeps a 32-bit process well inside its address space.
constexpr long kMaxLibraryMemory = 384L * 1024 * 1024;
// The colours left to a picture on a 256-colour display once Windows has its 20.
constexpr int kLowColorCount = 236;
constexpr int kRowBatch = 32;

struct Decoder {
  jpeg_decompress_struct cinfo;
  ErrorManager errors;
  jpeg_progress_mgr progress;
};

void LimitScans(j_common_ptr cinfo) {
  if (cinfo->is_decompressor && reinterpret_cast<j_decompress_ptr>(cinfo)->input_scan_number > kMaxScans) {
    ERREXIT(cinfo, JERR_BAD_PROGRESSION);
  }
}

bool IsGray(const jpeg_decompress_struct& cinfo) { return cinfo.jpeg_color_space == JCS_GRAYSCALE; }

// Reads the header, checks the picture's size and starts the decompression, which for a
// progressive file reads all of it, and for the quantizer makes the palette. Returns 0 or the
// library's message code. No object with a destructor may live here (see jpeg_error.h).
int Open(Decoder* decoder, const std::uint8_t* data, unsigned long size, bool lowColorDisplay) {
  if (setjmp(decoder->errors.jump)) return decoder->errors.pub.msg_code;
  j_decompress_ptr cinfo = &decoder->cinfo;

  jpeg_create_decompress(cinfo);
  cinfo->mem->max_memory_to_use = kMaxLibraryMemory;
  decoder->progress.progress_monitor = LimitScans;
  cinfo->progress = &decoder->progress;
  jpeg_mem_src(cinfo, data, size);
  jpeg_read_header(cinfo, TRUE);

  bool indexed = lowColorDisplay || IsGray(*cinfo);
  if (!DibSizeAllowed(cinfo->image_width, cinfo->image_height, indexed ? 8 : 24)) return JERR_IMAGE_TOO_BIG;

  cinfo->scale_num = 1;
  cinfo->scale_denom = 1;
  cinfo->do_block_smoothing = TRUE;
  cinfo->dct_method = JDCT_FLOAT;
  cinfo->buffered_image = FALSE;
  if (indexed) {
    cinfo->quantize_colors = TRUE;
    cinfo->desired_number_of_colors = kLowColorCount;
    // The palette is built in this order, whatever order the pixels of a colour picture have.
    if (!IsGray(*cinfo)) cinfo->out_color_space = JCS_RGB;
  } else {
    cinfo->quantize_colors = FALSE;
    cinfo->out_color_space = JCS_EXT_BGR;
  }
  jpeg_start_decompress(cinfo);
  return 0;
}

// Decodes every row into the picture. Returns 0 or the library's message code.
int ReadRows(Decoder* decoder, std::uint8_t* top, std::ptrdiff_t step) {
  if (setjmp(decoder->errors.jump)) return decoder->errors.pub.msg_code;
  j_decompress_ptr cinfo = &decoder->cinfo;

  while (cinfo->output_scanline < cinfo->output_height) {
    JSAMPROW batch[kRowBatch];
    JDIMENSION first = cinfo->output_scanline;
    JDIMENSION count = std::min<JDIMENSION>(kRowBatch, cinfo->output_height - first);
    for (JDIMENSION i = 0; i < count; ++i) batch[i] = top + static_cast<std::ptrdiff_t>(first + i) * step;
    // A memory source never suspends, so no progress would mean a loop without end.
    if (jpeg_read_scanlines(cinfo, batch, count) == 0) ERREXIT(cinfo, JERR_TOO_LITTLE_DATA);
  }
  // No jpeg_finish_decompress: the picture is complete, and reading what follows its last scan
  // would only let a damaged tail refuse it.
  return 0;
}

class DecoderGuard {
 public:
  explicit DecoderGuard(Decoder* decoder) : decoder_(decoder) {}
  ~DecoderGuard() { jpeg_destroy_decompress(&decoder_->cinfo); }
  DecoderGuard(const DecoderGuard&) = delete;
  DecoderGuard& operator=(const DecoderGuard&) = delete;

 private:
  Decoder* decoder_;
};

std::vector<Rgbq> PaletteOf(const jpeg_decompress_struct& cinfo) {
  std::vector<Rgbq> palette(static_cast<std::size_t>(cinfo.actual_number_of_colors));
  for (std::size_t i = 0; i < palette.size(); ++i) {
    if (cinfo.out_color_components == 1) {
      std::uint8_t level = cinfo.colormap[0][i];
      palette[i] = Rgbq{level, level, level, 0};
    } else {
      palette[i] = Rgbq{cinfo.colormap[2][i], cinfo.colormap[1][i], cinfo.colormap[0][i], 0};
    }
  }
  return palette;
}

}  // namespace

Dib DecodeJpeg(std::span<const std::uint8_t> file, bool lowColorDisplay) {
  if (file.size() > std::numeric_limits<unsigned long>::max()) throw JpegError(JERR_BUFFER_SIZE);

  Decoder decoder{};
  decoder.cinfo.err = jpeg_detail::InstallErrorManager(&decoder.errors);
  DecoderGuard guard(&decoder);
  int code = Open(&decoder, file.data(), static_cast<unsigned long>(file.size()), lowColorDisplay);
  if (code != 0) throw JpegError(code);

  const jpeg_decompress_struct& cinfo = decoder.cinfo;
  const bool indexed = cinfo.quantize_colors;
  // What the rows below are sized for; the library promises it, but a mismatch would write past them.
  bool shapeAsAsked = indexed
                          ? cinfo.output_components == 1 && cinfo.colormap != nullptr &&
                                cinfo.actual_number_of_colors >= 1 && cinfo.actual_number_of_colors <= kLowColorCount &&
                                (cinfo.out_color_components == 1 || cinfo.out_color_components == 3)
                          : cinfo.output_components == 3;
  if (!shapeAsAsked || cinfo.output_width != cinfo.image_width || cinfo.output_height != cinfo.image_height) {
    throw JpegError(JERR_CONVERSION_NOTIMPL);
  }

  Dib dib = MakeDib(cinfo.output_width, cinfo.output_height, indexed ? 8 : 24);
  if (indexed) dib.palette = PaletteOf(cinfo);
  code = ReadRows(&decoder, dib.RowFromTop(0), -static_cast<std::ptrdiff_t>(dib.Stride()));
  if (code != 0) throw JpegError(code);
  return dib;
}

}  // namespace kmrn
