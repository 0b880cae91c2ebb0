#include "support/bench_support.h"

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdint>
#include <cstdio>

namespace kmrn::bench {
namespace {

using Clock = std::chrono::steady_clock;

std::uint32_t Hash(std::uint32_t a, std::uint32_t b) {
  std::uint32_t h = a * 0x9E3779B1u ^ (b + 0x7F4A7C15u) * 0x85EBCA77u;
  h ^= h >> 15;
  h *= 0x2C1B3C6Du;
  h ^= h >> 12;
  return h;
}

struct Canvas {
  kmrn::Dib dib;
  void Put(int x, int y, int r, int g, int b) {
    if (x < 0 || y < 0 || x >= dib.width || y >= dib.height) return;
    std::uint8_t* p = dib.RowFromTop(y) + 4 * x;
    p[0] = static_cast<std::uint8_t>(b);
    p[1] = static_cast<std::uint8_t>(g);
    p[2] = static_cast<std::uint8_t>(r);
    p[3] = 0;
  }
  void Fill(int x0, int y0, int w, int h, int r, int g, int b) {
    for (int y = y0; y < y0 + h; ++y) {
      for (int x = x0; x < x0 + w; ++x) Put(x, y, r, g, b);
    }
  }
};

}  // namespace

kmrn::Dib ScreenPicture(int width, int height) {
  Canvas c{kmrn::MakeDib(width, height, 32)};
  c.Fill(0, 0, width, height, 58, 110, 165);  // desktop
  int windows = std::max(2, width / 640);
  for (int i = 0; i < windows; ++i) {
    int wx = 40 + (width - 80) * i / windows, wy = 30 + (i % 3) * height / 12;
    int ww = (width - 80) / windows - 20, wh = height - wy - 90;
    c.Fill(wx - 1, wy - 1, ww + 2, wh + 2, 100, 100, 100);  // border
    for (int x = 0; x < ww; ++x) {                          // title bar
      int t = x * 255 / ww;
      c.Fill(wx + x, wy, 1, 28, 10 + t / 4, 36 + t / 3, 106 + t / 2);
    }
    c.Fill(wx, wy + 28, ww, wh - 28, 255, 255, 255);  // client area
    bool photo = i % 2 == 1;
    int textBottom = photo ? wy + wh / 2 : wy + wh - 10;
    if (photo) {
      for (int y = wy + wh / 2; y < wy + wh - 10; ++y) {
        for (int x = wx + 10; x < wx + ww - 10; ++x) {
          double u = x * 0.013, v = y * 0.021;
          c.Put(x, y, static_cast<int>(128 + 90 * std::sin(u + v)), static_cast<int>(128 + 80 * std::cos(u * 1.7 - v)),
                static_cast<int>(120 + 60 * std::sin(v * 2.3)));
        }
      }
    }
    // Text: 16-pixel lines of words made of 7-pixel glyphs, each a random 5 x 9 pattern.
    for (int line = 0, y = wy + 40; y + 12 < textBottom; ++line, y += 16) {
      int lineLength = static_cast<int>(Hash(i, line) % static_cast<std::uint32_t>(ww - 40));
      for (int x = wx + 12, glyph = 0; x + 7 < wx + 12 + lineLength; x += 7, ++glyph) {
        std::uint32_t h = Hash(i * 1000 + line, glyph);
        if (h % 7 == 0) continue;  // a space
        for (int gy = 0; gy < 9; ++gy) {
          for (int gx = 0; gx < 5; ++gx) {
            if (Hash(h, gy * 5 + gx) % 3 == 0) c.Put(x + gx, y + gy, 20, 20, 20);
          }
        }
      }
    }
  }
  c.Fill(0, height - 40, width, 40, 32, 32, 40);  // taskbar
  for (int i = 0; i < 12; ++i) c.Fill(8 + i * 48, height - 34, 28, 28, 60 + i * 15, 180 - i * 10, 90 + i * 12);
  return c.dib;
}

double Milliseconds(const std::function<void()>& work) {
  Clock::time_point start = Clock::now();
  work();
  return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

double Median(std::vector<double> times) {
  std::sort(times.begin(), times.end());
  std::size_t n = times.size();
  return n % 2 ? times[n / 2] : (times[n / 2 - 1] + times[n / 2]) / 2;
}

void PrintFigure(const std::string& name, double ms) { std::printf("figure: %s %.2f ms\n", name.c_str(), ms); }
void PrintRatio(const std::string& name, double ratio) { std::printf("ratio: %s %.3f\n", name.c_str(), ratio); }

}  // namespace kmrn::bench
