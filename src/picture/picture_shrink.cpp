#include "picture/picture_shrink.h"

#include <algorithm>
#include <bit>
#include <cstddef>
#include <cstdint>
#include <numeric>
#include <type_traits>
#include <vector>

namespace kmrn {
namespace {

// How much of each source pixel lies under one target pixel. Positions are counted in units of
// 1/(source size × target size): source pixel i spans [i·target, (i+1)·target), target pixel t
// spans [t·source, (t+1)·source), so every overlap is a whole number and the weights under one
// target pixel add up to exactly `source`. Each target pixel is then the rounded mean
//
//   floor((S + floor(T/2)) / T),  S = sum of wx·wy·p over the source pixels p it covers,
//
// T the sum of the products wx·wy of its weights (source width × source height), with the weight
// wx of the pixel's column and wy of its row: a half rounds up.
//
// Scaling every weight by the same m ≥ 1 leaves that mean as it is. S and T become mS and mT,
// and floor(mT/2) = m·floor(T/2) + r with 0 ≤ r < m (r = 0 for an even T, floor(m/2) for an odd
// one), so with floor(a/(b·c)) = floor(floor(a/b)/c) and S + floor(T/2) a whole number:
//
//   floor((mS + floor(mT/2)) / (mT)) = floor(floor((m·(S + floor(T/2)) + r) / m) / T)
//                                    = floor((S + floor(T/2)) / T).
//
// Every overlap is a multiple of the greatest common divisor of the two sizes (its ends are
// multiples of both), so the weights along each axis are divided by it: the sums stay small.
//
// When the source is k_x times as wide and k_y times as high as the target, a target pixel covers
// a k_x × k_y block of whole source pixels whose weights are all the same (the target width along
// x, the target height along y). Divided by those, every weight is 1 and the mean is
//
//   (sum of the block + floor(K/2)) / K,  K = k_x·k_y,
//
// a sum that fits 16 bits for K ≤ 256 and, for the 2 × 2 and 4 × 4 of the viewer's 50 % and
// 25 %, a division that is a shift.
struct AxisWeights {
  std::int32_t span = 0;               // the most source pixels under one target pixel
  std::vector<std::int32_t> first;     // the first source pixel under each target pixel
  std::vector<std::uint32_t> weights;  // `span` weights per target pixel, zero past its last
  std::uint32_t total = 0;             // the weights under one target pixel add up to this
};

AxisWeights WeightsAlong(std::int32_t sourceSize, std::int32_t targetSize) {
  const std::int64_t source = sourceSize, target = targetSize, divisor = std::gcd(source, target);
  AxisWeights axis;
  axis.total = static_cast<std::uint32_t>(source / divisor);
  axis.first.resize(static_cast<std::size_t>(target));
  for (std::int64_t t = 0; t < target; ++t) {
    const std::int64_t from = t * source, to = from + source;
    axis.first[t] = static_cast<std::int32_t>(from / target);
    axis.span = std::max(axis.span, static_cast<std::int32_t>((to - 1) / target - from / target + 1));
  }
  axis.weights.assign(static_cast<std::size_t>(target) * axis.span, 0);
  for (std::int64_t t = 0; t < target; ++t) {
    const std::int64_t from = t * source, to = from + source;
    std::uint32_t* weights = &axis.weights[t * axis.span];
    for (std::int64_t i = axis.first[t]; i * target < to; ++i) {
      const std::int64_t left = std::max(i * target, from), right = std::min((i + 1) * target, to);
      *weights++ = static_cast<std::uint32_t>((right - left) / divisor);
    }
  }
  return axis;
}

// floor((sum + floor(total/2)) / total) for a sum of at most 255·total, total < 2^22, by a
// multiplication and a shift rather than a division. With n = sum + floor(total/2) < 256·total,
// l the bit width of total (2^(l−1) ≤ total < 2^l), s = 8 + 2l and
// factor = ceil(2^s / total) = (2^s + e) / total, 0 ≤ e < total:
//
//   n·factor / 2^s = n/total + n·e / (total·2^s),
//
// and n·e < 256·total² < 2^s makes the second term less than 1/total. n/total, a multiple of
// 1/total, is whole or at least 1/total below the next whole number, so the floor stays that of
// n/total. factor ≤ 2^s / 2^(l−1) = 2^(l+9) ≤ 2^31 fits 32 bits, and n·factor < 2^30·2^31 fits 64.
class RoundedMean {
 public:
  static constexpr std::uint32_t Limit = 1u << 22;

  explicit RoundedMean(std::uint32_t total)
      : half_(total / 2),
        shift_(8 + 2 * std::bit_width(total)),
        factor_(static_cast<std::uint32_t>(((std::uint64_t{1} << shift_) + total - 1) / total)) {}

  std::uint8_t operator()(std::uint32_t sum) const {
    return static_cast<std::uint8_t>((static_cast<std::uint64_t>(sum + half_) * factor_) >> shift_);
  }

 private:
  std::uint32_t half_;
  int shift_;
  std::uint32_t factor_;
};

// The same for any total, with 64-bit sums: a multiplication by the reciprocal in double
// precision, which is exact for these sums but for a rare last-place error, corrected here.
class WideRoundedMean {
 public:
  explicit WideRoundedMean(std::uint64_t total)
      : total_(total), half_(total / 2), reciprocal_(1.0 / static_cast<double>(total)) {}

  std::uint8_t operator()(std::uint64_t sum) const {
    const std::uint64_t rounded = sum + half_;
    // At most 255 (and a little), so it converts through 32 bits.
    auto q = static_cast<std::uint64_t>(static_cast<std::int32_t>(static_cast<double>(rounded) * reciprocal_));
    if (q * total_ > rounded) --q;
    if ((q + 1) * total_ <= rounded) ++q;
    return static_cast<std::uint8_t>(q);
  }

 private:
  std::uint64_t total_, half_;
  double reciprocal_;
};

// 0xFF for each byte of a target row, but 0 for the fourth byte of a 32-bit pixel: ANDed into
// means computed for all four bytes alike, it leaves that byte 0, as the other paths (which never
// write it) leave it in the zero-filled picture.
template <int BytesPerPixel>
std::vector<std::uint8_t> KeepMask(std::size_t count) {
  std::vector<std::uint8_t> keep(count, 0xFF);
  if constexpr (BytesPerPixel == 4) {
    for (std::size_t i = 3; i < count; i += 4) keep[i] = 0;
  }
  return keep;
}

// --- Whole blocks ---------------------------------------------------------------------------------

// sums[i] (plus its old value unless First) += the byte i of each of the N rows, for i < count.
template <int N, bool First>
void AddRows(std::uint16_t* sums, const std::uint8_t* const* rows, std::size_t count) {
  const std::uint8_t* r[N];
  for (int k = 0; k < N; ++k) r[k] = rows[k];
  for (std::size_t i = 0; i < count; ++i) {
    unsigned sum = First ? 0u : sums[i];
    for (int k = 0; k < N; ++k) sum += r[k][i];
    sums[i] = static_cast<std::uint16_t>(sum);
  }
}

// The bytes of `rows` source rows from `firstRow` added up, byte by byte: four rows, two or one
// at a time, so that the sums are read and written once for every few rows.
void SumRows(const Dib& source, std::int32_t firstRow, std::int32_t rows, std::size_t count, std::uint16_t* sums) {
  const std::uint8_t* row[4];
  bool first = true;
  for (std::int32_t done = 0; done < rows;) {
    const std::int32_t left = rows - done, n = left >= 4 ? 4 : left >= 2 ? 2 : 1;
    for (std::int32_t k = 0; k < n; ++k) row[k] = source.RowFromTop(firstRow + done + k);
    if (n == 4) {
      first ? AddRows<4, true>(sums, row, count) : AddRows<4, false>(sums, row, count);
    } else if (n == 2) {
      first ? AddRows<2, true>(sums, row, count) : AddRows<2, false>(sums, row, count);
    } else {
      first ? AddRows<1, true>(sums, row, count) : AddRows<1, false>(sums, row, count);
    }
    first = false;
    done += n;
  }
}

// The 2 × 2 and 4 × 4 blocks of the viewer's 50 % and 25 % go through whole rows in simple
// passes over arrays, in a form the compiler turns into vector code: the sums of each K bytes of
// a channel across (from the column sums of the rows), then their rounded means. Out holds K
// column sums.
template <int BytesPerPixel, int K, typename In, typename Out>
void SumAcross(const In* sums, Out* blocks, std::int32_t width) {
  for (std::int32_t x = 0; x < width; ++x) {
    // All bytes of a pixel alike, the fourth of a 32-bit one too: the same work for every lane.
    for (int c = 0; c < BytesPerPixel; ++c) {
      Out sum = 0;
      for (int dx = 0; dx < K; ++dx) sum += sums[(static_cast<std::size_t>(x) * K + dx) * BytesPerPixel + c];
      blocks[static_cast<std::size_t>(x) * BytesPerPixel + c] = sum;
    }
  }
}

// out[i] = (blocks[i] + K·K/2) / (K·K), and with `keep` the fourth byte of a 32-bit pixel 0.
template <int K, bool Masked>
void BlockMeans(const std::uint16_t* blocks, const std::uint8_t* keep, std::uint8_t* out, std::size_t count) {
  constexpr int Shift = K == 2 ? 2 : 4;  // K·K = 2^Shift
  for (std::size_t i = 0; i < count; ++i) {
    const auto mean = static_cast<std::uint8_t>((blocks[i] + (K * K) / 2) >> Shift);
    out[i] = Masked ? static_cast<std::uint8_t>(mean & keep[i]) : mean;
  }
}

// The 2 × 2 sums of 32-bit pixels straight from their two rows, without the column sums: the
// compiler picks the even and the odd pixels of each row with shuffles of whole vectors.
void SumBgrxSquares(const std::uint8_t* top, const std::uint8_t* bottom, std::uint16_t* blocks, std::int32_t width) {
  for (std::int32_t x = 0; x < width; ++x) {
    for (int c = 0; c < 4; ++c) {
      std::uint16_t sum = 0;
      for (int dx = 0; dx < 2; ++dx) {
        const std::size_t i = (static_cast<std::size_t>(x) * 2 + dx) * 4 + c;
        sum += top[i] + bottom[i];
      }
      blocks[static_cast<std::size_t>(x) * 4 + c] = sum;
    }
  }
}

// Blocks of any other size, a pixel at a time.
template <int BytesPerPixel>
void AverageBlocks(const std::uint16_t* sums, std::uint8_t* out, std::int32_t width, std::int32_t blockWidth,
                   RoundedMean mean) {
  for (std::int32_t x = 0; x < width; ++x) {
    const std::uint16_t* block = sums + static_cast<std::size_t>(x) * blockWidth * BytesPerPixel;
    std::uint8_t* pixel = out + static_cast<std::size_t>(x) * BytesPerPixel;
    for (int c = 0; c < 3; ++c) {
      std::uint32_t sum = 0;
      for (std::int32_t dx = 0; dx < blockWidth; ++dx) sum += block[dx * BytesPerPixel + c];
      pixel[c] = mean(sum);
    }
  }
}

template <int BytesPerPixel>
void ShrinkByBlocks(const Dib& source, Dib& target) {
  const std::int32_t blockWidth = source.width / target.width, blockHeight = source.height / target.height;
  const std::size_t count = static_cast<std::size_t>(source.width) * BytesPerPixel;
  const std::size_t targetCount = static_cast<std::size_t>(target.width) * BytesPerPixel;
  std::vector<std::uint16_t> sums(count), blocks(targetCount);
  const std::vector<std::uint8_t> keep = KeepMask<BytesPerPixel>(targetCount);
  const RoundedMean mean(static_cast<std::uint32_t>(blockWidth * blockHeight));
  for (std::int32_t y = 0; y < target.height; ++y) {
    std::uint8_t* out = target.RowFromTop(y);
    if constexpr (BytesPerPixel == 4) {
      if (blockWidth == 2 && blockHeight == 2) {
        SumBgrxSquares(source.RowFromTop(2 * y), source.RowFromTop(2 * y + 1), blocks.data(), target.width);
        BlockMeans<2, true>(blocks.data(), keep.data(), out, targetCount);
        continue;
      }
    }
    SumRows(source, y * blockHeight, blockHeight, count, sums.data());
    if (blockWidth == 2 && blockHeight == 2) {
      SumAcross<BytesPerPixel, 2, std::uint16_t, std::uint16_t>(sums.data(), blocks.data(), target.width);
      BlockMeans<2, BytesPerPixel == 4>(blocks.data(), keep.data(), out, targetCount);
    } else if (blockWidth == 4 && blockHeight == 4) {
      SumAcross<BytesPerPixel, 4, std::uint16_t, std::uint16_t>(sums.data(), blocks.data(), target.width);
      BlockMeans<4, BytesPerPixel == 4>(blocks.data(), keep.data(), out, targetCount);
    } else {
      AverageBlocks<BytesPerPixel>(sums.data(), out, target.width, blockWidth, mean);
    }
  }
}

// --- Any sizes ------------------------------------------------------------------------------------

// sums[i] (plus its old value unless First) += the weighted byte i of each of the N rows, for
// i < count. A weight is at most the target height, 16 bits, and the sums fit ColumnSum (see
// ShrinkByWeights).
template <int N, bool First, typename ColumnSum>
void AddWeightedRows(ColumnSum* sums, const std::uint8_t* const* rows, const std::uint16_t* weights,
                     std::size_t count) {
  const std::uint8_t* r[N];
  std::uint16_t w[N];
  for (int k = 0; k < N; ++k) r[k] = rows[k], w[k] = weights[k];
  for (std::size_t i = 0; i < count; ++i) {
    ColumnSum sum = First ? 0 : sums[i];
    for (int k = 0; k < N; ++k) sum += static_cast<ColumnSum>(w[k] * std::uint16_t{r[k][i]});
    sums[i] = sum;
  }
}

template <int N, typename ColumnSum>
void AddWeightedRows(bool first, ColumnSum* sums, const std::uint8_t* const* rows, const std::uint16_t* weights,
                     std::size_t count) {
  first ? AddWeightedRows<N, true>(sums, rows, weights, count) : AddWeightedRows<N, false>(sums, rows, weights, count);
}

// The sums down for target row y: the weighted sum of its source rows, byte by byte, up to four
// rows at a time, so that the sums are written once for every few rows.
template <typename ColumnSum>
void SumDown(const Dib& source, const AxisWeights& down, std::int32_t y, bool wholeRows, std::size_t count,
             ColumnSum* sums) {
  if constexpr (std::is_same_v<ColumnSum, std::uint16_t>) {
    // Every weight down is 1: plain sums.
    if (wholeRows) return SumRows(source, down.first[y], down.span, count, sums);
  }
  const std::uint32_t* weights = &down.weights[static_cast<std::size_t>(y) * down.span];
  std::int32_t rows = 0;
  while (rows < down.span && weights[rows] != 0) ++rows;
  for (std::int32_t done = 0; done < rows;) {
    const std::int32_t n = std::min(rows - done, 4);
    const std::uint8_t* row[4];
    std::uint16_t weight[4];
    for (std::int32_t k = 0; k < n; ++k) {
      row[k] = source.RowFromTop(down.first[y] + done + k);
      weight[k] = static_cast<std::uint16_t>(weights[done + k]);
    }
    switch (n) {
      case 4: AddWeightedRows<4>(done == 0, sums, row, weight, count); break;
      case 3: AddWeightedRows<3>(done == 0, sums, row, weight, count); break;
      case 2: AddWeightedRows<2>(done == 0, sums, row, weight, count); break;
      default: AddWeightedRows<1>(done == 0, sums, row, weight, count); break;
    }
    done += n;
  }
}

// out[i] = mean(sums[i]) over a row, and with `keep` the fourth byte of a 32-bit pixel 0.
template <bool Masked>
void RowMeans(const std::uint32_t* sums, const std::uint8_t* keep, std::uint8_t* out, std::size_t count,
              RoundedMean mean) {
  for (std::size_t i = 0; i < count; ++i) {
    out[i] = Masked ? static_cast<std::uint8_t>(mean(sums[i]) & keep[i]) : mean(sums[i]);
  }
}

// The weighted sums of the source pixels under each target pixel of one row, from the column sums
// (Sum: see ShrinkByWeights), and their rounded means. With Unit, every weight across is 1.
template <int BytesPerPixel, bool Unit, typename ColumnSum, typename Sum, typename Mean>
void AverageAcross(const ColumnSum* sums, const AxisWeights& across, std::uint8_t* out, std::int32_t width, Mean mean) {
  // Taken out of `across` (and `mean` taken by value): the bytes written could alias them.
  const std::int32_t span = across.span;
  const std::int32_t* first = across.first.data();
  const std::uint32_t* weights = across.weights.data();
  for (std::int32_t x = 0; x < width; ++x, out += BytesPerPixel, weights += span) {
    const ColumnSum* p = sums + static_cast<std::size_t>(first[x]) * BytesPerPixel;
    Sum b = 0, g = 0, r = 0;
    for (std::int32_t i = 0; i < span; ++i, p += BytesPerPixel) {
      if constexpr (Unit) {
        b += p[0];
        g += p[1];
        r += p[2];
      } else {
        const Sum weight = weights[i];
        b += weight * p[0];
        g += weight * p[1];
        r += weight * p[2];
      }
    }
    out[0] = mean(b);
    out[1] = mean(g);
    out[2] = mean(r);
  }
}

// One pass down (the weighted sum of the source rows under a target row, for every source byte)
// and one across (the weighted sum of those under each target pixel), then the rounded mean.
// The sums down are at most 255 × the total weight down: 16 bits up to a total of 257, else 32.
// Sum, the sum under a target pixel, is 32 bits while 255 × the total weight fits, else 64.
template <int BytesPerPixel, typename ColumnSum, typename Sum, typename Mean>
void ShrinkByWeights(const Dib& source, Dib& target, const AxisWeights& across, const AxisWeights& down, Mean mean) {
  const std::size_t count = static_cast<std::size_t>(source.width) * BytesPerPixel;
  const bool wholeRows = source.height % target.height == 0, wholeColumns = source.width % target.width == 0;
  // Room past the last column for the zero weights that pad each target pixel's list.
  std::vector<ColumnSum> sums(count + static_cast<std::size_t>(across.span) * BytesPerPixel);
  std::vector<std::uint32_t> blocks(static_cast<std::size_t>(target.width) * BytesPerPixel);
  const std::vector<std::uint8_t> keep = KeepMask<BytesPerPixel>(blocks.size());
  for (std::int32_t y = 0; y < target.height; ++y) {
    SumDown(source, down, y, wholeRows, count, sums.data());
    std::uint8_t* out = target.RowFromTop(y);
    if constexpr (std::is_same_v<Mean, RoundedMean>) {
      // Blocks 2 or 4 source pixels wide: the sums across and the means in vector code too.
      if (wholeColumns && (across.span == 2 || across.span == 4)) {
        if (across.span == 2) {
          SumAcross<BytesPerPixel, 2, ColumnSum, std::uint32_t>(sums.data(), blocks.data(), target.width);
        } else {
          SumAcross<BytesPerPixel, 4, ColumnSum, std::uint32_t>(sums.data(), blocks.data(), target.width);
        }
        RowMeans<BytesPerPixel == 4>(blocks.data(), keep.data(), out, blocks.size(), mean);
        continue;
      }
    }
    if (wholeColumns) {
      AverageAcross<BytesPerPixel, true, ColumnSum, Sum>(sums.data(), across, out, target.width, mean);
    } else {
      AverageAcross<BytesPerPixel, false, ColumnSum, Sum>(sums.data(), across, out, target.width, mean);
    }
  }
}

template <int BytesPerPixel>
void Shrink(const Dib& source, Dib& target) {
  if (source.width % target.width == 0 && source.height % target.height == 0 &&
      std::int64_t{source.width / target.width} * (source.height / target.height) <= 256) {
    ShrinkByBlocks<BytesPerPixel>(source, target);
    return;
  }
  const AxisWeights across = WeightsAlong(source.width, target.width);
  const AxisWeights down = WeightsAlong(source.height, target.height);
  const std::uint64_t total = std::uint64_t{across.total} * down.total;
  if (total >= RoundedMean::Limit) {
    ShrinkByWeights<BytesPerPixel, std::uint32_t, std::uint64_t>(source, target, across, down, WideRoundedMean(total));
  } else if (down.total <= 257) {
    ShrinkByWeights<BytesPerPixel, std::uint16_t, std::uint32_t>(source, target, across, down,
                                                                 RoundedMean(static_cast<std::uint32_t>(total)));
  } else {
    ShrinkByWeights<BytesPerPixel, std::uint32_t, std::uint32_t>(source, target, across, down,
                                                                 RoundedMean(static_cast<std::uint32_t>(total)));
  }
}

}  // namespace

Dib ShrinkByAveraging(const Dib& original, PixelSize size) {
  Dib converted;
  const Dib* source = &original;
  if (original.bitCount != 24 && !IsPlainBgrx(original)) {
    converted = ToBgr24(original);
    source = &converted;
  }
  Dib target = MakeDib(size.width, size.height, source->bitCount);
  if (source->width <= 0 || source->height <= 0) return target;
  if (source->bitCount == 32) {
    Shrink<4>(*source, target);
  } else {
    Shrink<3>(*source, target);
  }
  return target;
}

}  // namespace kmrn
