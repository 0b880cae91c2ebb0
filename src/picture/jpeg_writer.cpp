// Writing JPEG files. The common case, a 32- or 24-bit screen picture, is handed to libjpeg as it
// lies in memory: libjpeg-turbo reads blue-green-red(-unused) pixels itself, with its SIMD colour
// conversion, and the bottom-up rows are simply passed in reverse order. Only the rarer depths are
// first turned into a 24-bit picture.

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <cstring>

#include "framework/app_error.h"
#include "framework/file_system.h"
#include "picture/image_files.h"
#include "picture/jpeg_error.h"

namespace kmrn {
namespace {

using jpeg_detail::ErrorManager;

// Rows handed to jpeg_write_scanlines per call: enough to cover an MCU row of any sampling, so
// the library never has to come back for a partial batch.
constexpr int kRowBatch = 32;

struct PixelRows {
  const std::uint8_t* top;  // first row as seen
  std::ptrdiff_t step;      // bytes from one row to the next one down (negative for bottom-up)
  JDIMENSION width;
  JDIMENSION height;
  J_COLOR_SPACE colorSpace;
  int components;
};

// Everything one compression needs, kept in one plain struct that outlives the setjmp function,
// so the caller can release the library object and the output after an error.
struct Encoder {
  jpeg_compress_struct cinfo;
  ErrorManager errors;
  jpeg_destination_mgr destination;
  std::uint8_t* buffer;  // malloc'ed; grows by doubling
  std::size_t capacity;
  std::size_t size;
};

Encoder* EncoderOf(j_compress_ptr cinfo) { return static_cast<Encoder*>(cinfo->client_data); }

void StartBuffer(j_compress_ptr cinfo) {
  Encoder* encoder = EncoderOf(cinfo);
  encoder->destination.next_output_byte = encoder->buffer;
  encoder->destination.free_in_buffer = encoder->capacity;
}

boolean GrowBuffer(j_compress_ptr cinfo) {
  Encoder* encoder = EncoderOf(cinfo);
  // libjpeg only calls this when the whole buffer is full.
  std::size_t used = encoder->capacity;
  std::size_t grown = used * 2;
  auto* bigger = grown > used ? static_cast<std::uint8_t*>(std::realloc(encoder->buffer, grown)) : nullptr;
  if (!bigger) ERREXIT1(cinfo, JERR_OUT_OF_MEMORY, 10);
  encoder->buffer = bigger;
  encoder->capacity = grown;
  encoder->destination.next_output_byte = bigger + used;
  encoder->destination.free_in_buffer = grown - used;
  return TRUE;
}

void FinishBuffer(j_compress_ptr cinfo) {
  Encoder* encoder = EncoderOf(cinfo);
  encoder->size = encoder->capacity - encoder->destination.free_in_buffer;
}

// The whole libjpeg sequence for one picture. Returns 0, or the library's message code after an
// error. No object with a destructor may live here (see jpeg_error.h).
int Compress(Encoder* encoder, const PixelRows* rows, int quality, bool progressive) {
  if (setjmp(encoder->errors.jump)) return encoder->errors.pub.msg_code;
  j_compress_ptr cinfo = &encoder->cinfo;

  jpeg_create_compress(cinfo);
  cinfo->client_data = encoder;
  encoder->destination.init_destination = StartBuffer;
  encoder->destination.empty_output_buffer = GrowBuffer;
  encoder->destination.term_destination = FinishBuffer;
  cinfo->dest = &encoder->destination;

  cinfo->image_width = rows->width;
  cinfo->image_height = rows->height;
  cinfo->input_components = rows->components;
  cinfo->in_color_space = rows->colorSpace;
  jpeg_set_defaults(cinfo);
  cinfo->dct_method = JDCT_FLOAT;
  jpeg_set_quality(cinfo, quality, TRUE);
  if (progressive) jpeg_simple_progression(cinfo);

  jpeg_start_compress(cinfo, TRUE);
  while (cinfo->next_scanline < cinfo->image_height) {
    JSAMPROW batch[kRowBatch];
    JDIMENSION first = cinfo->next_scanline;
    JDIMENSION count = std::min<JDIMENSION>(kRowBatch, cinfo->image_height - first);
    for (JDIMENSION i = 0; i < count; ++i) {
      batch[i] = const_cast<JSAMPROW>(rows->top + static_cast<std::ptrdiff_t>(first + i) * rows->step);
    }
    jpeg_write_scanlines(cinfo, batch, count);
  }
  jpeg_finish_compress(cinfo);
  return 0;
}

// Releases the library object and the output buffer however the compression ended.
class EncoderGuard {
 public:
  explicit EncoderGuard(Encoder* encoder) : encoder_(encoder) {}
  ~EncoderGuard() {
    jpeg_destroy_compress(&encoder_->cinfo);
    std::free(encoder_->buffer);
  }
  EncoderGuard(const EncoderGuard&) = delete;
  EncoderGuard& operator=(const EncoderGuard&) = delete;

 private:
  Encoder* encoder_;
};

// --- The rows handed to the library -----------------------------------------------------------

PixelRows RowsOf(const Dib& dib, J_COLOR_SPACE colorSpace, int components) {
  PixelRows rows{};
  rows.colorSpace = colorSpace;
  rows.components = components;
  // An empty picture still goes to the library, which refuses it with its own error.
  if (dib.width <= 0 || dib.height <= 0) return rows;
  std::size_t stride = dib.Stride();
  rows.width = static_cast<JDIMENSION>(dib.width);
  rows.height = static_cast<JDIMENSION>(dib.height);
  rows.top = dib.bits.data() + stride * static_cast<std::size_t>(dib.height - 1);
  rows.step = -static_cast<std::ptrdiff_t>(stride);
  return rows;
}

// A picture whose rows are shorter than its size says would make the library read past them.
void CheckConsistent(const Dib& dib) {
  if (dib.width <= 0 || dib.height <= 0) return;
  std::uint64_t stride = DibStride(dib.width, dib.bitCount);
  if (stride == 0 || dib.bits.size() < stride * static_cast<std::uint64_t>(dib.height)) throw InvalidBitmapError();
}

// Compresses into encoder->buffer; the caller's EncoderGuard releases it.
void EncodeInto(const Dib& dib, JpegParams params, Encoder& encoder) {
  CheckConsistent(dib);
  Dib converted;
  const Dib* source = &dib;
  J_COLOR_SPACE colorSpace = JCS_EXT_BGR;
  int components = 3;
  if (IsPlainBgrx(dib)) {
    colorSpace = JCS_EXT_BGRX;
    components = 4;
  } else if (dib.bitCount != 24 && dib.width > 0 && dib.height > 0) {
    converted = ToBgr24(dib);
    source = &converted;
  }
  PixelRows rows = RowsOf(*source, colorSpace, components);

  jpeg_detail::InstallErrorManager(&encoder.errors);
  encoder.cinfo.err = &encoder.errors.pub;
  // A screen picture compresses to well under an eighth of its pixels' bytes at the qualities
  // used, so the buffer rarely has to grow.
  encoder.capacity = std::max<std::size_t>(
      64 * 1024, static_cast<std::size_t>(rows.width) * rows.height * static_cast<std::size_t>(components) / 8);
  encoder.buffer = static_cast<std::uint8_t*>(std::malloc(encoder.capacity));
  if (!encoder.buffer) throw JpegError(JERR_OUT_OF_MEMORY);

  int code = Compress(&encoder, &rows, std::clamp(params.quality, 1, 100), params.progressive);
  if (code != 0) throw JpegError(code);
}

}  // namespace

std::vector<std::uint8_t> EncodeJpeg(const Dib& dib, JpegParams params) {
  Encoder encoder{};
  EncoderGuard guard(&encoder);
  EncodeInto(dib, params, encoder);
  return std::vector<std::uint8_t>(encoder.buffer, encoder.buffer + encoder.size);
}

void SaveJpeg(const Dib& dib, const std::string& path, JpegParams params) {
  Encoder encoder{};
  EncoderGuard guard(&encoder);
  EncodeInto(dib, params, encoder);
  AtomicFileWriter writer(path);
  writer.Write(encoder.buffer, encoder.size);
  writer.Commit();
}

}  // namespace kmrn
