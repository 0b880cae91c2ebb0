// How fast the picture files are written and read, each figure next to the plainest way of doing
// the same work:
// - SaveJpeg of a 32-bit screen picture at the capture settings, against plain libjpeg-turbo
//   compressing the same pixels from a packed RGB buffer with the same settings and fwrite-ing
//   the result; and the two compressions alone, into memory;
// - SaveBmp, against fwrite of the same number of bytes;
// - DecodeJpeg of a 1080p file, alone;
// - ShrinkByAveraging of a 1080p picture to 50 % and 25 % (a viewer zoomed out), and of a 24-bit
//   one and an odd-width one to 50 %, against the plainest average of each 2 x 2 or 4 x 4 block;
// - the viewer's quarter turn of a 1080p screen picture, against the plainest pixel loop that
//   turns it into 24 bits, and its mirrors, against copying the picture's bytes once (the least a
//   mirror can do);
// - the 1080p EncodeJpeg (into memory) here and in a child run of this program with
//   JSIMD_FORCENONE=1, which shows that libjpeg-turbo's SIMD code is in use.
//
// Output: "figure: NAME VALUE ms" and "ratio: NAME VALUE" (ours / baseline) lines.
// Each time is the median of several runs, ours and the baseline taking turns.

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <functional>
#include <stdexcept>
#include <string>
#include <vector>

#include <jpeglib.h>

#include "framework/app_error.h"
#include "framework/file_system.h"
#include "picture/dib.h"
#include "picture/image_files.h"
#include "picture/picture_shrink.h"
#include "picture/picture_transform.h"
#include "support/bench_support.h"

#ifdef _WIN32
#include <process.h>
#else
#include <unistd.h>
#endif

namespace {

using namespace kmrn::bench;
namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

// --- The baselines ------------------------------------------------------------------------------

std::vector<std::uint8_t> PackedRgb(const kmrn::Dib& dib) {
  std::vector<std::uint8_t> rgb(static_cast<std::size_t>(dib.width) * dib.height * 3);
  std::uint8_t* out = rgb.data();
  for (int y = 0; y < dib.height; ++y) {
    const std::uint8_t* p = dib.RowFromTop(y);
    for (int x = 0; x < dib.width; ++x, p += 4, out += 3) {
      out[0] = p[2];
      out[1] = p[1];
      out[2] = p[0];
    }
  }
  return rgb;
}

void WriteFilePlainly(const std::string& path, const void* data, std::size_t size) {
  std::FILE* file = std::fopen(path.c_str(), "wb");
  if (!file) throw std::runtime_error("cannot create " + path);
  bool ok = std::fwrite(data, 1, size, file) == size;
  ok = std::fclose(file) == 0 && ok;
  if (!ok) throw std::runtime_error("cannot write " + path);
}

// Plain libjpeg-turbo at the capture settings, from packed RGB into memory (jpeg_mem_dest's
// malloc'ed buffer, which the caller frees).
unsigned long PlainEncodeJpeg(const std::vector<std::uint8_t>& rgb, int width, int height, unsigned char** buffer) {
  jpeg_compress_struct cinfo{};
  jpeg_error_mgr errors{};
  cinfo.err = jpeg_std_error(&errors);
  jpeg_create_compress(&cinfo);
  unsigned long size = 0;
  jpeg_mem_dest(&cinfo, buffer, &size);
  cinfo.image_width = static_cast<JDIMENSION>(width);
  cinfo.image_height = static_cast<JDIMENSION>(height);
  cinfo.input_components = 3;
  cinfo.in_color_space = JCS_RGB;
  jpeg_set_defaults(&cinfo);
  cinfo.dct_method = JDCT_FLOAT;
  jpeg_set_quality(&cinfo, 90, TRUE);
  jpeg_start_compress(&cinfo, TRUE);
  while (cinfo.next_scanline < cinfo.image_height) {
    JSAMPROW rows[32];
    JDIMENSION count = std::min<JDIMENSION>(32, cinfo.image_height - cinfo.next_scanline);
    for (JDIMENSION i = 0; i < count; ++i) {
      rows[i] = const_cast<JSAMPROW>(rgb.data()) + static_cast<std::size_t>(cinfo.next_scanline + i) * width * 3;
    }
    jpeg_write_scanlines(&cinfo, rows, count);
  }
  jpeg_finish_compress(&cinfo);
  jpeg_destroy_compress(&cinfo);
  return size;
}

void PlainSaveJpeg(const std::vector<std::uint8_t>& rgb, int width, int height, const std::string& path) {
  unsigned char* buffer = nullptr;
  unsigned long size = PlainEncodeJpeg(rgb, width, height, &buffer);
  WriteFilePlainly(path, buffer, size);
  std::free(buffer);
}

// --- Timing ---------------------------------------------------------------------------------------

struct Pair {
  double ours, baseline;
};

// Ours and the baseline take turns, after one warm-up run each, so that a change of machine load
// hits both alike. Before every run, untimed, the file it writes is removed: a capture makes a new
// file, and replacing an existing one would mostly time the file system's own handling of the
// replaced file (ext4, for one, starts writing the new data back at once when a rename or a
// truncation replaces a file).
Pair TimePair(int runs, const std::vector<fs::path>& outputs, const std::function<void()>& ours,
              const std::function<void()>& baseline) {
  auto removeOutputs = [&] {
    for (const fs::path& path : outputs) {
      std::error_code ignored;
      fs::remove(path, ignored);
    }
  };
  removeOutputs();
  ours();
  baseline();
  std::vector<double> a, b;
  for (int i = 0; i < runs; ++i) {
    removeOutputs();
    a.push_back(Milliseconds(ours));
    b.push_back(Milliseconds(baseline));
  }
  return {Median(a), Median(b)};
}

double TimeAlone(int runs, const std::function<void()>& work) {
  work();
  std::vector<double> times;
  for (int i = 0; i < runs; ++i) times.push_back(Milliseconds(work));
  return Median(times);
}

std::string Utf8(const fs::path& path) {
  std::u8string text = path.u8string();
  return std::string(text.begin(), text.end());
}

// --- The runs -------------------------------------------------------------------------------------

constexpr int kJpegRuns1080 = 41;
constexpr int kJpegRuns4k = 15;
constexpr int kBmpRuns = 21;
constexpr int kNoSimdRuns = 9;

// The compression alone, into memory: what SIMD speeds up, without the file around it.
double OurJpegEncode1080(int runs) {
  kmrn::Dib picture = ScreenPicture(1920, 1080);
  return TimeAlone(runs, [&] { kmrn::EncodeJpeg(picture, kmrn::CaptureJpegParams); });
}

void CompareJpegSave(const fs::path& folder, const std::string& name, int width, int height, int runs) {
  kmrn::Dib picture = ScreenPicture(width, height);
  std::vector<std::uint8_t> rgb = PackedRgb(picture);
  std::string oursPath = Utf8(folder / (name + ".jpg")), plainPath = Utf8(folder / (name + "_plain.jpg"));
  Pair t = TimePair(
      runs, {folder / (name + ".jpg"), folder / (name + "_plain.jpg")},
      [&] { kmrn::SaveJpeg(picture, oursPath, kmrn::CaptureJpegParams); },
      [&] { PlainSaveJpeg(rgb, width, height, plainPath); });
  std::printf("# %s: %dx%d, our file %ju bytes, plain libjpeg's %ju bytes\n", name.c_str(), width, height,
              static_cast<std::uintmax_t>(fs::file_size(folder / (name + ".jpg"))),
              static_cast<std::uintmax_t>(fs::file_size(folder / (name + "_plain.jpg"))));
  PrintFigure(name, t.ours);
  PrintFigure(name + "_baseline", t.baseline);
  PrintRatio(name, t.ours / t.baseline);

  // The same without the files, to tell the compression from the file handling.
  Pair m = TimePair(
      runs, {}, [&] { kmrn::EncodeJpeg(picture, kmrn::CaptureJpegParams); },
      [&] {
        unsigned char* buffer = nullptr;
        PlainEncodeJpeg(rgb, width, height, &buffer);
        std::free(buffer);
      });
  PrintFigure(name + "_in_memory", m.ours);
  PrintFigure(name + "_in_memory_baseline", m.baseline);
  PrintRatio(name + "_in_memory", m.ours / m.baseline);
}

void CompareBmpSave(const fs::path& folder, const std::string& name, int width, int height, int runs) {
  kmrn::Dib picture = ScreenPicture(width, height);
  std::vector<std::uint8_t> header = kmrn::EncodeBmpHeader(picture);
  std::vector<std::uint8_t> bytes = header;
  bytes.insert(bytes.end(), picture.bits.begin(), picture.bits.end());
  std::string oursPath = Utf8(folder / (name + ".bmp")), plainPath = Utf8(folder / (name + "_plain.bmp"));
  Pair t = TimePair(
      runs, {folder / (name + ".bmp"), folder / (name + "_plain.bmp")}, [&] { kmrn::SaveBmp(picture, oursPath); },
      [&] { WriteFilePlainly(plainPath, bytes.data(), bytes.size()); });
  std::printf("# %s: %ju bytes each\n", name.c_str(), static_cast<std::uintmax_t>(bytes.size()));
  PrintFigure(name, t.ours);
  PrintFigure(name + "_baseline", t.baseline);
  PrintRatio(name, t.ours / t.baseline);
}

void TimeJpegDecode(const fs::path& folder, const std::string& name) {
  std::string path = Utf8(folder / (name + ".jpg"));
  kmrn::SaveJpeg(ScreenPicture(1920, 1080), path, kmrn::CaptureJpegParams);
  std::vector<std::uint8_t> file = kmrn::ReadWholeFile(path);
  PrintFigure(name, TimeAlone(kJpegRuns1080, [&] { kmrn::DecodeJpeg(file, false); }));
}

// The plainest mean of each n x n block of a 24- or 32-bit picture; a column or row left over
// past the last whole block is dropped.
kmrn::Dib PlainBlockAverage(const kmrn::Dib& source, int n) {
  const int bytesPerPixel = source.bitCount / 8;
  kmrn::Dib out = kmrn::MakeDib(source.width / n, source.height / n, source.bitCount);
  const unsigned cells = static_cast<unsigned>(n * n);
  for (int y = 0; y < out.height; ++y) {
    std::uint8_t* target = out.RowFromTop(y);
    for (int x = 0; x < out.width; ++x) {
      unsigned sum[3] = {0, 0, 0};
      for (int dy = 0; dy < n; ++dy) {
        const std::uint8_t* p = source.RowFromTop(y * n + dy) + bytesPerPixel * x * n;
        for (int dx = 0; dx < n; ++dx, p += bytesPerPixel) {
          for (int c = 0; c < 3; ++c) sum[c] += p[c];
        }
      }
      for (int c = 0; c < 3; ++c) {
        target[bytesPerPixel * x + c] = static_cast<std::uint8_t>((sum[c] + cells / 2) / cells);
      }
    }
  }
  return out;
}

// The viewer's shrink of a picture to 1/n of each side, against the plain block mean.
void CompareShrink(const std::string& name, const kmrn::Dib& picture, int n) {
  Pair t = TimePair(
      kBmpRuns, {},
      [&] {
        kmrn::ShrinkByAveraging(picture, {picture.width / n, picture.height / n});
      },
      [&] { PlainBlockAverage(picture, n); });
  PrintFigure(name, t.ours);
  PrintFigure(name + "_baseline", t.baseline);
  PrintRatio(name, t.ours / t.baseline);
}

// A picture operation against one copy of the picture's bytes.
void CompareWithCopy(const std::string& name, const std::function<void(kmrn::Dib&)>& operation) {
  kmrn::Dib picture = ScreenPicture(1920, 1080);
  std::vector<std::uint8_t> copy(picture.bits.size());
  Pair t = TimePair(
      kBmpRuns, {}, [&] { operation(picture); }, [&] { std::memcpy(copy.data(), picture.bits.data(), copy.size()); });
  PrintFigure(name, t.ours);
  PrintFigure(name + "_baseline", t.baseline);
  PrintRatio(name, t.ours / t.baseline);
}

// The quarter turn against the plainest loop: every source pixel to its place, 32 to 24 bits.
void CompareRotation() {
  kmrn::Dib picture = ScreenPicture(1920, 1080);
  Pair t = TimePair(
      kBmpRuns, {}, [&] { kmrn::RotateClockwise(picture); },
      [&] {
        kmrn::Dib turned = kmrn::MakeDib(picture.height, picture.width, 24);
        for (int y = 0; y < picture.height; ++y) {
          const std::uint8_t* src = picture.RowFromTop(y);
          for (int x = 0; x < picture.width; ++x) {
            std::uint8_t* dst = turned.RowFromTop(x) + 3 * (picture.height - 1 - y);
            dst[0] = src[4 * x];
            dst[1] = src[4 * x + 1];
            dst[2] = src[4 * x + 2];
          }
        }
      });
  PrintFigure("rotate_1080p", t.ours);
  PrintFigure("rotate_1080p_baseline", t.baseline);
  PrintRatio("rotate_1080p", t.ours / t.baseline);
}

// Runs this program again with SIMD switched off and returns its 1080p EncodeJpeg time.
double NoSimdChildTime(const std::string& self, const fs::path& folder) {
  fs::path result = folder / "nosimd.txt";
  std::string resultPath = Utf8(result);
#ifdef _WIN32
  _putenv_s("JSIMD_FORCENONE", "1");
  // _spawnv joins the arguments with spaces, so paths are quoted for the child's own parsing.
  std::string quotedSelf = "\"" + self + "\"", quotedResult = "\"" + resultPath + "\"";
  const char* args[] = {quotedSelf.c_str(), "--no-simd-child", quotedResult.c_str(), nullptr};
  intptr_t status = _spawnv(_P_WAIT, self.c_str(), args);
  _putenv_s("JSIMD_FORCENONE", "");
#else
  auto quote = [](const std::string& s) {
    std::string out = "'";
    for (char ch : s) out += ch == '\'' ? std::string("'\\''") : std::string(1, ch);
    return out + "'";
  };
  int status = std::system(("JSIMD_FORCENONE=1 " + quote(self) + " --no-simd-child " + quote(resultPath)).c_str());
#endif
  double ms = 0;
  std::ifstream in(result);
  if (status != 0 || !(in >> ms)) throw std::runtime_error("the run without SIMD failed");
  return ms;
}

std::string SelfPath(const char* argv0) {
#ifdef _WIN32
  // The full path of the running program, whatever the command line said.
  const char* path = _pgmptr;
  return path && *path ? path : argv0;
#else
  std::error_code error;
  fs::path self = fs::read_symlink("/proc/self/exe", error);
  return error ? std::string(argv0) : self.string();
#endif
}

int RunChild(const std::string& resultPath) {
  const char* flag = std::getenv("JSIMD_FORCENONE");
  if (!flag || std::strcmp(flag, "1") != 0) {
    std::fprintf(stderr, "the child run needs JSIMD_FORCENONE=1\n");
    return 1;
  }
  double ms = OurJpegEncode1080(kNoSimdRuns);
  std::ofstream(resultPath) << ms << "\n";
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  try {
    if (argc == 3 && std::strcmp(argv[1], "--no-simd-child") == 0) return RunChild(argv[2]);

    auto stamp = Clock::now().time_since_epoch().count();
    fs::path folder = fs::temp_directory_path() / ("kamerin_bench_" + std::to_string(stamp));
    fs::create_directories(folder);
    struct Cleanup {
      fs::path folder;
      ~Cleanup() {
        std::error_code ignored;
        fs::remove_all(folder, ignored);
      }
    } cleanup{folder};

    Clock::time_point start = Clock::now();
    CompareJpegSave(folder, "jpeg_encode_1080p", 1920, 1080, kJpegRuns1080);
    CompareJpegSave(folder, "jpeg_encode_4k", 3840, 2160, kJpegRuns4k);
    CompareBmpSave(folder, "bmp_write_1080p", 1920, 1080, kBmpRuns);
    CompareBmpSave(folder, "bmp_write_4k", 3840, 2160, kBmpRuns);
    TimeJpegDecode(folder, "jpeg_decode_1080p");
    const kmrn::Dib screen1080 = ScreenPicture(1920, 1080);
    CompareShrink("shrink_1080p_to_50", screen1080, 2);
    CompareShrink("shrink_1080p_to_25", screen1080, 4);
    // A picture opened from a file is 24 bits; a capture of a window can have an odd width, which
    // halving does not divide (the baseline drops the last column).
    CompareShrink("shrink_1080p_24bit_to_50", kmrn::ToBgr24(screen1080), 2);
    CompareShrink("shrink_1919x1080_to_50", ScreenPicture(1919, 1080), 2);
    CompareRotation();
    CompareWithCopy("mirror_left_right_1080p", [](kmrn::Dib& p) { kmrn::MirrorLeftRight(p); });
    CompareWithCopy("mirror_top_bottom_1080p", [](kmrn::Dib& p) { kmrn::MirrorTopBottom(p); });
    std::fflush(stdout);

    double simd = OurJpegEncode1080(kJpegRuns1080);
    double noSimd = NoSimdChildTime(SelfPath(argv[0]), folder);
    PrintFigure("jpeg_encode_1080p_simd", simd);
    PrintFigure("jpeg_encode_1080p_nosimd", noSimd);
    PrintRatio("simd_speedup", noSimd / simd);
    std::printf("# whole run %.1f s\n", std::chrono::duration<double>(Clock::now() - start).count());
    return 0;
  } catch (const std::exception& e) {
    std::fprintf(stderr, "image_bench: %s\n", e.what());
    return 1;
  }
}
