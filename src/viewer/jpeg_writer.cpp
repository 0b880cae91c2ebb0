// Writing JPEG files. The common case, a 32- or 24-bit screen picture, is handed to libjpeg as it
// lies in memory: libjpeg-turbo reads blue-green-red(-unused) pixels itself, with its SIMD colour
// conversion, and the bottom-up rows are simply passed in reverse order. Only the rarer depths are
// first turned into a 24-bit picture.

#include <algorithm>
#include <bit>
#include <cstdint>
#include <cstdlib>
#include <cstring>

#include "framework/app_error.h"
#include "framework/file_system.h"
#include "viewer/image_files.h"
#include "viewer/jpeg_error.h"

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

// --- Pictures libjpeg cannot read as they are -------------------------------------------------

struct Channel {
  std::uint32_t mask;
  int shift;
  std::uint64_t max;  // the largest value of the channel once shifted down
};

Channel ChannelOf(std::uint32_t mask) {
  if (mask == 0) return {0, 0, 0};
  int shift = std::countr_zero(mask);
  return {mask, shift, static_cast<std::uint64_t>(mask >> shift)};
}

std::uint8_t Expand(const Channel& channel, std::uint32_t pixel) {
  if (channel.max == 0) return 0;
  std::uint64_t value = (pixel & channel.mask) >> channel.shift;
  return static_cast<std::uint8_t>((value * 255 + channel.max / 2) / channel.max);
}

Dib ToBgr24(const Dib& dib) {
  Dib out = MakeDib(dib.width, dib.height, 24);
  const bool indexed = dib.bitCount <= 8;
  Channel red{}, green{}, blue{};
  if (dib.bitCount == 16) {
    bool own = dib.HasMasks();
    red = ChannelOf(own ? dib.redMask : 0x7C00u);
    green = ChannelOf(own ? dib.greenMask : 0x03E0u);
    blue = ChannelOf(own ? dib.blueMask : 0x001Fu);
  } else if (dib.bitCount == 32) {
    red = ChannelOf(dib.redMask);
    green = ChannelOf(dib.greenMask);
    blue = ChannelOf(dib.blueMask);
  }
  const Rgbq black{};
  for (std::int32_t y = 0; y < dib.height; ++y) {
    const std::uint8_t* src = dib.RowFromTop(y);
    std::uint8_t* dst = out.RowFromTop(y);
    for (std::int32_t x = 0; x < dib.width; ++x, dst += 3) {
      if (indexed) {
        unsigned index;
        if (dib.bitCount == 8) {
          index = src[x];
        } else if (dib.bitCount == 4) {
          index = (src[x / 2] >> (x % 2 == 0 ? 4 : 0)) & 0x0F;
        } else {
          index = (src[x / 8] >> (7 - x % 8)) & 0x01;
        }
        // A damaged picture may point past its palette; such pixels come out black.
        const Rgbq& colour = index < dib.palette.size() ? dib.palette[index] : black;
        dst[0] = colour.blue;
        dst[1] = colour.green;
        dst[2] = colour.red;
      } else {
        std::uint32_t pixel;
        if (dib.bitCount == 16) {
          pixel = static_cast<std::uint32_t>(src[2 * x] | src[2 * x + 1] << 8);
        } else {
          const std::uint8_t* p = src + 4 * x;
          pixel = static_cast<std::uint32_t>(p[0]) | static_cast<std::uint32_t>(p[1]) << 8 |
                  static_cast<std::uint32_t>(p[2]) << 16 | static_cast<std::uint32_t>(p[3]) << 24;
        }
        dst[0] = Expand(blue, pixel);
        dst[1] = Expand(green, pixel);
        dst[2] = Expand(red, pixel);
      }
    }
  }
  return out;
}

bool IsPlainBgrx(const Dib& dib) {
  return dib.bitCount == 32 && (!dib.HasMasks() || (dib.redMask == 0x00FF0000u && dib.greenMask == 0x0000FF00u &&
                                                    dib.blueMask == 0x000000FFu));
}

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
