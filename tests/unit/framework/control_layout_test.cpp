#include "framework/control_layout.h"

#include <gtest/gtest.h>

#include <array>

#include "framework/dpi_scale.h"

namespace kmrn {
namespace {

using CK = ControlKind;
constexpr std::array<ControlLayout, 7> kLayout{{
    {10, CK::Tabs, 0, {8, 8, 301, 201}},
    {11, CK::TabPage, 10, {3, 23, 295, 175}, "一般"},
    {12, CK::WhitePanel, 11, {5, 5, 250, 80}},
    {13, CK::Edit, 12, {3, 49, 200, 21}},
    {14, CK::TabPage, 10, {3, 23, 295, 175}, "情報"},
    {15, CK::Panel, 0, {4, 212, 85, 28}},
    {16, CK::LinkLabel, 15, {4, 6, 0, 0}, "https://example.com/"},
}};

const ControlLayout& Entry(std::uint16_t id) { return *FindControl(kLayout, id); }

TEST(ControlLayout, AControlIsPlacedInItsParentsAndScaledEdgeByEdge) {
  EXPECT_EQ(ScaledControlRect(kLayout, Entry(13), 96), (ScreenRect{19, 85, 219, 106}));
  // 21 pixels would be 31.5 at 144 DPI; the edges at 127.5 and 159 make them 31.
  EXPECT_EQ(ScaledControlRect(kLayout, Entry(13), 144), (ScreenRect{29, 128, 329, 159}));
  EXPECT_EQ(ScaleForDpi(-1, 144), -2) << "half away from zero, as the system rounds";
}

TEST(ControlLayout, TabPagesTheControlThatShowsAPageAndTheColours) {
  EXPECT_EQ(TabPagesOf(kLayout, 10), (std::vector{&Entry(11), &Entry(14)}));
  // The white panel has no control of its own; the edit on it lies on the page all the same.
  EXPECT_EQ(FirstControlOnPage(kLayout, 11), &Entry(13));
  EXPECT_EQ(FirstControlOnPage(kLayout, 14), nullptr);
  EXPECT_EQ(ColoursOf(kLayout, Entry(13)), (ControlColours{.blueText = false, .whiteBackground = true}));
  EXPECT_EQ(ColoursOf(kLayout, Entry(16)), (ControlColours{.blueText = true, .whiteBackground = false}));
  EXPECT_EQ(ColoursOf(kLayout, Entry(10)), ControlColours{});
}

}  // namespace
}  // namespace kmrn
