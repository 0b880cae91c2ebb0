#include "picture/pointer_overlay.h"

#include <algorithm>
#include <cstddef>
#include <utility>

namespace kmrn {
namespace {

std::size_t PixelCount(PixelSize size) {
  return static_cast<std::size_t>(size.width) * static_cast<std::size_t>(size.height);
}

// One channel blended as the system draws an alpha pointer: the colour multiplied by its alpha,
// then laid over the picture weighted by the rest, each product rounded to the nearest on its own
// (rounding the sum once gives a different last bit on shadow edges).
std::uint8_t BlendChannel(std::uint8_t colour, std::uint8_t picture, unsigned alpha) {
  return static_cast<std::uint8_t>((colour * alpha + 127u) / 255u + (picture * (255u - alpha) + 127u) / 255u);
}

}  // namespace

PointerShape MakePointerShape(PixelSize size, std::int32_t hotspotX, std::int32_t hotspotY, std::vector<Rgbq> mask,
                              std::vector<Rgbq> colour, bool colourHas32Bits) {
  PointerShape shape;
  if (size.width <= 0 || size.height <= 0) return shape;
  const std::size_t pixels = PixelCount(size);
  if (colour.empty()) {
    if (mask.size() != 2 * pixels) return shape;
    shape.andMask.assign(mask.begin(), mask.begin() + static_cast<std::ptrdiff_t>(pixels));
    shape.image.assign(mask.begin() + static_cast<std::ptrdiff_t>(pixels), mask.end());
  } else {
    if (colour.size() != pixels) return shape;
    shape.alpha =
        colourHas32Bits && std::any_of(colour.begin(), colour.end(), [](const Rgbq& p) { return p.reserved != 0; });
    if (!shape.alpha) {
      if (mask.size() != pixels) return shape;
      shape.andMask = std::move(mask);
    }
    shape.image = std::move(colour);
  }
  shape.size = size;
  shape.hotspotX = hotspotX;
  shape.hotspotY = hotspotY;
  return shape;
}

PointerShape ScalePointerShape(const PointerShape& shape, int shown, int designed) {
  if (shown <= 0 || designed <= 0 || shown == designed || shape.image.empty()) return shape;
  // A shape the system already made at the size shown there.
  if (shape.size.width == shown) return shape;
  auto scale = [&](std::int32_t length) { return static_cast<std::int32_t>(std::int64_t{length} * shown / designed); };
  PointerShape scaled;
  scaled.size = {std::max(scale(shape.size.width), 1), std::max(scale(shape.size.height), 1)};
  scaled.hotspotX = scale(shape.hotspotX);
  scaled.hotspotY = scale(shape.hotspotY);
  scaled.alpha = shape.alpha;
  // Each target pixel takes the source pixel its centre falls in.
  auto from = [&](std::int32_t target, std::int32_t targetLength, std::int32_t sourceLength) {
    return static_cast<std::size_t>((2 * std::int64_t{target} + 1) * sourceLength / (2 * std::int64_t{targetLength}));
  };
  auto resample = [&](const std::vector<Rgbq>& pixels) {
    std::vector<Rgbq> out;
    if (pixels.empty()) return out;
    out.reserve(PixelCount(scaled.size));
    for (std::int32_t y = 0; y < scaled.size.height; ++y) {
      const std::size_t row =
          from(y, scaled.size.height, shape.size.height) * static_cast<std::size_t>(shape.size.width);
      for (std::int32_t x = 0; x < scaled.size.width; ++x) {
        out.push_back(pixels[row + from(x, scaled.size.width, shape.size.width)]);
      }
    }
    return out;
  };
  scaled.andMask = resample(shape.andMask);
  scaled.image = resample(shape.image);
  return scaled;
}

void DrawPointer(Dib& picture, const PointerShape& shape, std::int32_t x, std::int32_t y) {
  if (shape.image.empty()) return;
  // The shape's rectangle on the picture, clipped to it; taken in 64 bits, as a pointer far off a
  // huge picture must not wrap round into it.
  const std::int64_t left = std::int64_t{x} - shape.hotspotX;
  const std::int64_t top = std::int64_t{y} - shape.hotspotY;
  const std::int64_t fromX = std::max<std::int64_t>(0, -left);
  const std::int64_t fromY = std::max<std::int64_t>(0, -top);
  const std::int64_t toX = std::min<std::int64_t>(shape.size.width, std::int64_t{picture.width} - left);
  const std::int64_t toY = std::min<std::int64_t>(shape.size.height, std::int64_t{picture.height} - top);
  if (fromX >= toX || fromY >= toY) return;

  if (picture.bitCount != 24 && !IsPlainBgrx(picture)) picture = ToBgr24(picture);
  const std::size_t bytesPerPixel = picture.bitCount / 8u;
  for (std::int64_t sy = fromY; sy < toY; ++sy) {
    std::uint8_t* out = picture.RowFromTop(static_cast<std::int32_t>(top + sy)) +
                        static_cast<std::size_t>(left + fromX) * bytesPerPixel;
    const std::size_t row = static_cast<std::size_t>(sy) * static_cast<std::size_t>(shape.size.width);
    for (std::int64_t sx = fromX; sx < toX; ++sx, out += bytesPerPixel) {
      const Rgbq& colour = shape.image[row + static_cast<std::size_t>(sx)];
      if (shape.alpha) {
        out[0] = BlendChannel(colour.blue, out[0], colour.reserved);
        out[1] = BlendChannel(colour.green, out[1], colour.reserved);
        out[2] = BlendChannel(colour.red, out[2], colour.reserved);
      } else {
        const Rgbq& keep = shape.andMask[row + static_cast<std::size_t>(sx)];
        out[0] = static_cast<std::uint8_t>((out[0] & keep.blue) ^ colour.blue);
        out[1] = static_cast<std::uint8_t>((out[1] & keep.green) ^ colour.green);
        out[2] = static_cast<std::uint8_t>((out[2] & keep.red) ^ colour.red);
      }
    }
  }
}

}  // namespace kmrn
