#pragma once
// What the benchmarks share: a screen-like picture to work on, and timing with plain figures.

#include <functional>
#include <string>
#include <vector>

#include "picture/dib.h"

namespace kmrn::bench {

// A desktop: flat background, windows with gradient title bars, lines of glyph-like text, a
// smooth "photo" panel and a taskbar, 32 bits. Deterministic, and scaled to the size.
kmrn::Dib ScreenPicture(int width, int height);

double Milliseconds(const std::function<void()>& work);
double Median(std::vector<double> times);

// "figure: NAME VALUE ms" and "ratio: NAME VALUE" (ours divided by the baseline).
void PrintFigure(const std::string& name, double ms);
void PrintRatio(const std::string& name, double ratio);

}  // namespace kmrn::bench
