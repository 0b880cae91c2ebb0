#include "framework/control_layout.h"

#include <gtest/gtest.h>

#include <array>

namespace kmrn {
namespace {

using CK = ControlKind;

// Two tab pages, one with a label on a white panel and an edit, the other with a link on a raised
// panel; below the page control a raised panel with a blue label and a check box.
constexpr std::array<ControlLayout, 11> kLayout{{
    {10, CK::Tabs, 0, {8, 8, 301, 201}},
    {11, CK::TabPage, 10, {3, 23, 295, 175}, "一般"},
    {12, CK::WhitePanel, 11, {5, 5, 100, 40}},
    {13, CK::Label, 12, {3, 3, 0, 0}, "保存先"},
    {14, CK::Edit, 11, {5, 50, 200, 21}},
    {15, CK::TabPage, 10, {3, 23, 295, 175}, "情報"},
    {16, CK::Panel, 15, {5, 5, 200, 60}},
    {17, CK::LinkLabel, 16, {4, 4, 0, 0}, "https://example.com/"},
    {18, CK::Panel, 0, {4, 212, 85, 28}},
    {19, CK::BlueLabel, 18, {4, 6, 43, 17}, "範囲"},
    {20, CK::CheckBox, 18, {50, 6, 33, 17}, "窓"},
}};

const ControlLayout& Entry(std::uint16_t id) { return *FindControl(kLayout, id); }

TEST(ControlLayout, AControlIsPlacedInItsParentsAndScaledEdgeByEdge) {
  EXPECT_EQ(ScaledControlRect(kLayout, Entry(14), 96), (ScreenRect{16, 81, 216, 102}));
  // 21 pixels high: 31.5 when scaled, but the edges at 121.5 and 153 round to 122 and 153.
  EXPECT_EQ(ScaledControlRect(kLayout, Entry(14), 144), (ScreenRect{24, 122, 324, 153}));
  EXPECT_EQ(ScaledControlRect(kLayout, Entry(13), 120), (ScreenRect{24, 49, 24, 49}));
}

TEST(ControlLayout, TabPagesAndTheControlsOnThem) {
  const std::vector<const ControlLayout*> pages = TabPagesOf(kLayout, 10);
  ASSERT_EQ(pages.size(), 2u);
  EXPECT_EQ(pages[0]->id, 11);
  EXPECT_EQ(pages[1]->id, 15);
  EXPECT_TRUE(TabPagesOf(kLayout, 18).empty());

  // The panels have no control of their own; what lies on them is on the page all the same.
  EXPECT_EQ(FirstControlOnPage(kLayout, 11), &Entry(13));
  EXPECT_EQ(FirstControlOnPage(kLayout, 15), &Entry(17));
  EXPECT_EQ(FirstControlOnPage(kLayout, 99), nullptr);
}

TEST(ControlLayout, BlueTextForLinksAndBlueLabelsAndWhiteOnWhitePanelsAndPages) {
  const struct {
    std::uint16_t id;
    bool blueText, whiteBackground;
  } kCases[] = {
      {13, false, true},  // on a white panel on a page
      {14, false, true},  // on a page
      {17, true, true},   // on a raised panel on a page
      {19, true, false}, {20, false, false},
  };
  for (const auto& c : kCases) {
    const ControlColours colours = ColoursOf(kLayout, Entry(c.id));
    EXPECT_EQ(colours.blueText, c.blueText) << c.id;
    EXPECT_EQ(colours.whiteBackground, c.whiteBackground) << c.id;
  }
}

}  // namespace
}  // namespace kmrn
