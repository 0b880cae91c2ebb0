// How fast and how small the program's PNG files are, next to libpng at its default settings, on
// the real screens in bench/screens (host only: the baseline is the system's libpng):
// - each screen, read with libpng into a 32-bit picture laid out as the screen copy gives it, is
//   encoded into memory with EncodePng and with libpng (default zlib level and filters, 8-bit
//   RGB, libpng dropping the fourth byte itself), and the times and sizes are compared per screen
//   and over the whole set;
// - the files libpng wrote are decoded with DecodePng and with libpng (to 8-bit RGB in memory);
// - what a closed viewer's picture, kept as our PNG, costs against the screen capture it holds.
// With --choices it measures instead every filter strategy and libdeflate level 1 to 8 of the
// writer's choice (EncodePngWith) on every screen, each in turns with libpng, and tells which meet
// the goals: at most 0.4 of libpng's time and at most its size on every screen.
//
// Output: "figure: NAME VALUE ms" and "ratio: NAME VALUE" (ours / baseline) lines, and "#" lines.
// Each time is the median of several runs, ours and the baseline taking turns.
//
// Usage: png_bench [--choices] [SCREENS_FOLDER]

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <functional>
#include <stdexcept>
#include <string>
#include <vector>

#include <png.h>

#include "picture/dib.h"
#include "picture/image_files.h"
#include "picture/png_format.h"
#include "support/bench_support.h"

namespace {

using namespace kmrn::bench;
namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

constexpr int kEncodeRuns = 9;
constexpr int kDecodeRuns = 15;
constexpr int kChoiceRuns = 7;
constexpr double kEncodeTimeGoal = 0.4;
constexpr double kSizeGoal = 1.0;

struct Screen {
  std::string name;
  kmrn::Dib picture;
};

// --- libpng ---------------------------------------------------------------------------------------

// libpng's errors leave it as exceptions rather than through its longjmp, which would skip the
// destructors here; the system's libpng carries unwind tables (.eh_frame) for them to pass through.
[[noreturn]] void ThrowPngError(png_structp, png_const_charp message) { throw std::runtime_error(message); }
void IgnorePngWarning(png_structp, png_const_charp) {}

// A screen as the screen copy hands it over: 32 bits, blue-green-red-zero, rows bottom-up.
kmrn::Dib LoadScreen(const fs::path& path) {
  png_image image{};
  image.version = PNG_IMAGE_VERSION;
  if (!png_image_begin_read_from_file(&image, path.string().c_str())) {
    throw std::runtime_error(path.string() + ": " + image.message);
  }
  image.format = PNG_FORMAT_BGRA;
  kmrn::Dib dib = kmrn::MakeDib(image.width, image.height, 32);
  // A negative stride makes libpng store the top row last, as the picture holds it.
  const auto stride = static_cast<png_int_32>(dib.Stride());
  if (!png_image_finish_read(&image, nullptr, dib.bits.data(), -stride, nullptr)) {
    throw std::runtime_error(path.string() + ": " + image.message);
  }
  for (std::size_t i = 3; i < dib.bits.size(); i += 4) dib.bits[i] = 0;
  return dib;
}

// libpng at its defaults (zlib level, strategy and the adaptive choice of filters per row) writing
// 8-bit RGB into memory, fed the picture's own rows.
std::vector<std::uint8_t> LibpngEncode(const kmrn::Dib& dib) {
  std::vector<std::uint8_t> out;
  png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, ThrowPngError, IgnorePngWarning);
  png_infop info = png_create_info_struct(png);
  try {
    png_set_write_fn(
        png, &out,
        [](png_structp p, png_bytep data, png_size_t size) {
          auto* target = static_cast<std::vector<std::uint8_t>*>(png_get_io_ptr(p));
          target->insert(target->end(), data, data + size);
        },
        nullptr);
    png_set_IHDR(png, info, static_cast<png_uint_32>(dib.width), static_cast<png_uint_32>(dib.height), 8,
                 PNG_COLOR_TYPE_RGB, PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    png_write_info(png, info);
    png_set_bgr(png);
    png_set_filler(png, 0, PNG_FILLER_AFTER);
    for (int y = 0; y < dib.height; ++y) png_write_row(png, dib.RowFromTop(y));
    png_write_end(png, info);
  } catch (...) {
    png_destroy_write_struct(&png, &info);
    throw;
  }
  png_destroy_write_struct(&png, &info);
  return out;
}

// libpng reading a file from memory into packed 8-bit RGB rows, top row first.
std::vector<std::uint8_t> LibpngDecode(const std::vector<std::uint8_t>& file) {
  struct Source {
    const std::vector<std::uint8_t>* file;
    std::size_t at;
  } source{&file, 0};
  std::vector<std::uint8_t> rgb;
  png_structp png = png_create_read_struct(PNG_LIBPNG_VER_STRING, nullptr, ThrowPngError, IgnorePngWarning);
  png_infop info = png_create_info_struct(png);
  try {
    png_set_read_fn(png, &source, [](png_structp p, png_bytep data, png_size_t size) {
      auto* s = static_cast<Source*>(png_get_io_ptr(p));
      if (size > s->file->size() - s->at) png_error(p, "the file ends early");
      std::memcpy(data, s->file->data() + s->at, size);
      s->at += size;
    });
    png_read_info(png, info);
    png_set_expand(png);
    png_set_strip_16(png);
    png_set_strip_alpha(png);
    png_set_gray_to_rgb(png);
    png_read_update_info(png, info);
    const png_uint_32 width = png_get_image_width(png, info), height = png_get_image_height(png, info);
    const std::size_t rowBytes = png_get_rowbytes(png, info);
    if (rowBytes != std::size_t{width} * 3) throw std::runtime_error("libpng does not give 8-bit RGB");
    rgb.resize(rowBytes * height);
    for (png_uint_32 y = 0; y < height; ++y) png_read_row(png, rgb.data() + rowBytes * y, nullptr);
    png_read_end(png, nullptr);
  } catch (...) {
    png_destroy_read_struct(&png, &info, nullptr);
    throw;
  }
  png_destroy_read_struct(&png, &info, nullptr);
  return rgb;
}

// --- Checks ---------------------------------------------------------------------------------------

// A figure from a wrong file is worth nothing: every file either side wrote must give back the
// screen exactly, read by the other side's reader too.
void CheckSame(const std::string& what, const kmrn::Dib& screen, const std::vector<std::uint8_t>& rgb) {
  for (int y = 0; y < screen.height; ++y) {
    const std::uint8_t* p = screen.RowFromTop(y);
    const std::uint8_t* q = rgb.data() + std::size_t{3} * screen.width * y;
    for (int x = 0; x < screen.width; ++x, p += 4, q += 3) {
      if (p[2] != q[0] || p[1] != q[1] || p[0] != q[2]) {
        throw std::runtime_error(what + ": pixel " + std::to_string(x) + "," + std::to_string(y) + " differs");
      }
    }
  }
}

void CheckSame(const std::string& what, const kmrn::Dib& screen, const kmrn::Dib& decoded) {
  if (decoded.width != screen.width || decoded.height != screen.height || decoded.bitCount != 24) {
    throw std::runtime_error(what + ": not a 24-bit picture of the screen's size");
  }
  for (int y = 0; y < screen.height; ++y) {
    const std::uint8_t* p = screen.RowFromTop(y);
    const std::uint8_t* q = decoded.RowFromTop(y);
    for (int x = 0; x < screen.width; ++x, p += 4, q += 3) {
      if (p[0] != q[0] || p[1] != q[1] || p[2] != q[2]) {
        throw std::runtime_error(what + ": pixel " + std::to_string(x) + "," + std::to_string(y) + " differs");
      }
    }
  }
}

// --- Timing ---------------------------------------------------------------------------------------

// Every piece of work once to warm up, then round after round each of them once, in turn, so that
// a change of machine load hits them all alike; the median of each.
std::vector<double> TimeInTurns(int runs, const std::vector<std::function<void()>>& works) {
  for (const auto& work : works) work();
  std::vector<std::vector<double>> times(works.size());
  for (int i = 0; i < runs; ++i) {
    for (std::size_t w = 0; w < works.size(); ++w) times[w].push_back(Milliseconds(works[w]));
  }
  std::vector<double> medians;
  for (auto& t : times) medians.push_back(Median(std::move(t)));
  return medians;
}

// --- The runs -------------------------------------------------------------------------------------

std::vector<Screen> LoadScreens(const fs::path& folder) {
  std::vector<Screen> screens;
  for (const char* name : {"text", "code", "web", "photo", "dark"}) {
    screens.push_back({name, LoadScreen(folder / (std::string(name) + ".png"))});
  }
  return screens;
}

void CompareDefault(const std::vector<Screen>& screens) {
  double oursTime = 0, libpngTime = 0, oursDecode = 0, libpngDecode = 0;
  std::uintmax_t oursBytes = 0, libpngBytes = 0, captureBytes = 0;
  double worstTime = 0, worstSize = 0;
  for (const Screen& s : screens) {
    std::vector<std::uint8_t> ours = kmrn::EncodePng(s.picture), theirs = LibpngEncode(s.picture);
    CheckSame(s.name + " (ours, read by libpng)", s.picture, LibpngDecode(ours));
    CheckSame(s.name + " (libpng's, read by ours)", s.picture, kmrn::DecodePng(theirs));

    std::vector<double> t =
        TimeInTurns(kEncodeRuns, {[&] { kmrn::EncodePng(s.picture); }, [&] { LibpngEncode(s.picture); }});
    double sizeRatio = static_cast<double>(ours.size()) / static_cast<double>(theirs.size());
    std::printf("# %s: our file %zu bytes, libpng's %zu bytes\n", s.name.c_str(), ours.size(), theirs.size());
    PrintFigure("png_encode_" + s.name, t[0]);
    PrintFigure("png_encode_" + s.name + "_libpng", t[1]);
    PrintRatio("png_encode_time_" + s.name, t[0] / t[1]);
    PrintRatio("png_size_" + s.name, sizeRatio);
    oursTime += t[0];
    libpngTime += t[1];
    oursBytes += ours.size();
    libpngBytes += theirs.size();
    captureBytes += static_cast<std::uintmax_t>(s.picture.width) * static_cast<std::uintmax_t>(s.picture.height) * 4;
    worstTime = std::max(worstTime, t[0] / t[1]);
    worstSize = std::max(worstSize, sizeRatio);

    std::vector<double> d = TimeInTurns(kDecodeRuns, {[&] { kmrn::DecodePng(theirs); }, [&] { LibpngDecode(theirs); }});
    PrintFigure("png_decode_" + s.name, d[0]);
    PrintFigure("png_decode_" + s.name + "_libpng", d[1]);
    PrintRatio("png_decode_time_" + s.name, d[0] / d[1]);
    oursDecode += d[0];
    libpngDecode += d[1];
    std::fflush(stdout);
  }
  PrintRatio("png_encode_time_vs_libpng", oursTime / libpngTime);
  PrintRatio("png_size_vs_libpng", static_cast<double>(oursBytes) / static_cast<double>(libpngBytes));
  PrintRatio("png_decode_time_vs_libpng", oursDecode / libpngDecode);
  // A closed viewer is kept as this PNG: what it costs against the screen capture it holds (32
  // bits a pixel, as the screen is copied).
  PrintRatio("closed_viewer_png_to_capture", static_cast<double>(oursBytes) / static_cast<double>(captureBytes));
  std::printf("# worst screen: encode time ratio %.3f (goal <= %.1f), size ratio %.3f (goal <= %.1f)\n", worstTime,
              kEncodeTimeGoal, worstSize, kSizeGoal);
}

const char* FilterName(kmrn::png::FilterStrategy f) {
  switch (f) {
    case kmrn::png::FilterStrategy::None: return "none";
    case kmrn::png::FilterStrategy::Sub: return "sub";
    case kmrn::png::FilterStrategy::Up: return "up";
    case kmrn::png::FilterStrategy::Average: return "average";
    case kmrn::png::FilterStrategy::Paeth: return "paeth";
    case kmrn::png::FilterStrategy::Adaptive: return "adaptive";
  }
  return "?";
}

// Every choice on every screen, each timed in turns with libpng as the default is (taking turns
// among all the choices at once makes each of them slower, as every one finds the caches and the
// allocator as another left them): per screen and choice the time and size ratios, and per choice
// the worst of them over the screens, with whether it meets both goals.
void CompareChoices(const std::vector<Screen>& screens) {
  using kmrn::png::FilterStrategy;
  std::vector<kmrn::png::PngWriteChoice> choices;
  for (FilterStrategy f : {FilterStrategy::None, FilterStrategy::Up, FilterStrategy::Sub, FilterStrategy::Paeth,
                           FilterStrategy::Adaptive}) {
    for (int level = 1; level <= 8; ++level) choices.push_back({f, level});
  }
  std::vector<double> worstTime(choices.size(), 0), worstSize(choices.size(), 0);
  std::vector<double> sumTime(choices.size(), 0), libpngSumTime(choices.size(), 0);
  std::vector<std::uintmax_t> sumBytes(choices.size(), 0);
  std::uintmax_t libpngSumBytes = 0;
  for (const Screen& s : screens) {
    const std::size_t libpngSize = LibpngEncode(s.picture).size();
    std::printf("# %s: libpng %zu bytes\n", s.name.c_str(), libpngSize);
    for (std::size_t c = 0; c < choices.size(); ++c) {
      const kmrn::png::PngWriteChoice choice = choices[c];
      std::vector<std::uint8_t> file = kmrn::png::EncodePngWith(s.picture, choice);
      CheckSame(s.name + " " + FilterName(choice.filter), s.picture, LibpngDecode(file));
      std::vector<double> t = TimeInTurns(
          kChoiceRuns, {[&] { kmrn::png::EncodePngWith(s.picture, choice); }, [&] { LibpngEncode(s.picture); }});
      double timeRatio = t[0] / t[1], sizeRatio = static_cast<double>(file.size()) / libpngSize;
      std::printf("# %s %s level %d: %.2f ms (libpng %.2f ms), %zu bytes, time ratio %.3f, size ratio %.3f\n",
                  s.name.c_str(), FilterName(choice.filter), choice.level, t[0], t[1], file.size(), timeRatio,
                  sizeRatio);
      worstTime[c] = std::max(worstTime[c], timeRatio);
      worstSize[c] = std::max(worstSize[c], sizeRatio);
      sumTime[c] += t[0];
      libpngSumTime[c] += t[1];
      sumBytes[c] += file.size();
      std::fflush(stdout);
    }
    libpngSumBytes += libpngSize;
  }
  std::printf("# choice: worst time ratio, worst size ratio, whole-set time ratio, whole-set size ratio\n");
  for (std::size_t c = 0; c < choices.size(); ++c) {
    bool meets = worstTime[c] <= kEncodeTimeGoal && worstSize[c] <= kSizeGoal;
    std::string name =
        std::string("png_choice_") + FilterName(choices[c].filter) + "_" + std::to_string(choices[c].level);
    std::printf("# %s: %.3f %.3f %.3f %.3f%s\n", name.c_str(), worstTime[c], worstSize[c],
                sumTime[c] / libpngSumTime[c], static_cast<double>(sumBytes[c]) / libpngSumBytes,
                meets ? " meets both goals" : "");
    PrintRatio(name + "_worst_time", worstTime[c]);
    PrintRatio(name + "_worst_size", worstSize[c]);
  }
}

}  // namespace

int main(int argc, char** argv) {
  try {
    bool choices = false;
    fs::path folder = KAMERIN_SCREENS_DIR;
    for (int i = 1; i < argc; ++i) {
      if (std::strcmp(argv[i], "--choices") == 0) {
        choices = true;
      } else {
        folder = argv[i];
      }
    }
    Clock::time_point start = Clock::now();
    std::vector<Screen> screens = LoadScreens(folder);
    if (choices) {
      CompareChoices(screens);
    } else {
      CompareDefault(screens);
    }
    std::printf("# whole run %.1f s\n", std::chrono::duration<double>(Clock::now() - start).count());
    return 0;
  } catch (const std::exception& e) {
    std::fprintf(stderr, "png_bench: %s\n", e.what());
    return 1;
  }
}
