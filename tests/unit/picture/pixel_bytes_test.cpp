#include "picture/pixel_bytes.h"

#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <utility>

namespace kmrn {
namespace {

TEST(PixelBytes, CopiesShareUntilOneChangesAndBorrowedBytesKeepTheirOwner) {
  PixelBytes original(8, 5);
  const PixelBytes copy = original;
  EXPECT_EQ(copy.data(), std::as_const(original).data()) << "a copy that is only read costs nothing";
  original[0] = 9;
  EXPECT_EQ(copy[0], 5) << "the change stays with the picture that made it";
  EXPECT_EQ(original[0], 9);
  EXPECT_FALSE(original.Shared());

  // Bytes that belong to another owner (the bitmap the screen was copied into), kept alive by
  // every picture that uses them and changed in place only once no one else uses them.
  using Four = std::array<std::uint8_t, 4>;
  auto owned = std::make_shared<Four>(Four{1, 2, 3, 4});
  PixelBytes borrowed = PixelBytes::Borrowed(owned->data(), 4, owned);
  borrowed[0] = 6;
  EXPECT_EQ((*owned)[0], 1) << "the owner still uses them";
  EXPECT_EQ(borrowed[0], 6);

  const std::weak_ptr<Four> owner = owned;
  PixelBytes last = PixelBytes::Borrowed(owned->data(), 4, owned);
  owned.reset();
  EXPECT_FALSE(owner.expired());
  last[3] = 7;
  EXPECT_EQ((*owner.lock())[3], 7) << "no copy for the last user";
  last = PixelBytes();
  EXPECT_TRUE(owner.expired());
}

TEST(PixelBytes, OwnBytesStartOnACacheLine) {
  // Saving a picture copies its bytes into the system's file cache, fastest from a cache line.
  auto aligned = [](const PixelBytes& bytes) { return reinterpret_cast<std::uintptr_t>(bytes.data()) % 64 == 0; };
  for (std::size_t size : {std::size_t{3}, std::size_t{4096}, std::size_t{8} << 20}) {
    SCOPED_TRACE(size);
    PixelBytes made(size);
    EXPECT_TRUE(aligned(made));
    PixelBytes changed = made;
    changed[0] = 1;
    EXPECT_TRUE(aligned(changed)) << "a copy made the picture's own on a change";
    made.resize(size + 5);
    EXPECT_TRUE(aligned(made));
  }
}

}  // namespace
}  // namespace kmrn
