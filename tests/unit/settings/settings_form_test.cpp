#include "settings/settings_form.h"

#include <gtest/gtest.h>

#include <map>

#include "settings/settings_dialog_layout.h"

namespace kmrn {
namespace {

using enum SettingControl;

// The dialog's controls as plain values.
class FakeForm final : public SettingsFormControls {
 public:
  bool Checked(std::uint16_t id) const override { return checked.count(id) && checked.at(id); }
  void SetChecked(std::uint16_t id, bool on) override { checked[id] = on; }
  std::string Text(std::uint16_t id) const override { return texts.count(id) ? texts.at(id) : ""; }
  void SetText(std::uint16_t id, const std::string& text) override { texts[id] = text; }
  int Position(std::uint16_t id) const override { return positions.count(id) ? positions.at(id) : 0; }
  void SetPosition(std::uint16_t id, int position) override { positions[id] = position; }
  std::uint32_t Colour(std::uint16_t id) const override { return colours.count(id) ? colours.at(id) : 0; }
  void SetColour(std::uint16_t id, std::uint32_t colour) override { colours[id] = colour; }
  void Enable(std::uint16_t id, bool on) override { enabled[id] = on; }

  std::map<std::uint16_t, bool> checked, enabled;
  std::map<std::uint16_t, std::string> texts;
  std::map<std::uint16_t, int> positions;
  std::map<std::uint16_t, std::uint32_t> colours;
};

TEST(SettingsForm, EverySettingGoesToItsControlAndComesBack) {
  Settings s;
  s.SaveFile = "D:\\shots";
  s.AlwaysClipBoard = true;
  s.CapturedWinPos = 1;
  s.ViewWinColor = 0x123456;
  s.JpgQuality = 42;
  s.MagPos = 7;
  s.mDisplay_SX = -1280;
  s.OpenApplicationStr = "editorで開く";
  s.SavePng = true;
  s.AutoClosePng = true;
  s.CaptureCursor = true;
  FakeForm form;
  FillSettingsForm(s, form);
  EXPECT_EQ(form.texts[Id(SaveFolderEdit)], "D:\\shots");
  EXPECT_TRUE(form.checked[Id(SavePngCheck)]);
  EXPECT_TRUE(form.checked[Id(AutoClosePngCheck)]);
  EXPECT_TRUE(form.checked[Id(CaptureCursorCheck)]);
  EXPECT_FALSE(form.checked[Id(MagnifierCheck)]);
  EXPECT_EQ(form.positions[Id(ViewerPlacementGroup)], 1);
  EXPECT_EQ(form.texts[Id(JpegQualityEdit)], "42") << "the quality edit follows the track bar";
  EXPECT_EQ(form.texts[Id(AutoCloseEditorCheck)], "editorで開く");
  EXPECT_FALSE(form.enabled[Id(SecondaryLeftEdit)]) << "dual display is off";
  EXPECT_FALSE(form.enabled[Id(MagnetWidthEdit)]) << "the magnet is off";
  Settings back;
  StoreSettingsForm(form, back);
  back.MainWindowVisible = s.MainWindowVisible;
  EXPECT_EQ(back.SaveFile, s.SaveFile);
  EXPECT_EQ(back.AlwaysClipBoard, true);
  EXPECT_EQ(back.CapturedWinPos, 1);
  EXPECT_EQ(back.ViewWinColor, 0x123456);
  EXPECT_EQ(back.JpgQuality, 42);
  EXPECT_EQ(back.MagPos, 7);
  EXPECT_EQ(back.mDisplay_SX, -1280);
  EXPECT_TRUE(back.SavePng);
  EXPECT_TRUE(back.AutoClosePng);
  EXPECT_TRUE(back.CaptureCursor);
  EXPECT_FALSE(back.Magnifier);
}

TEST(SettingsForm, NumbersAreBoundedAndTextThatIsNoNumberKeepsTheSetting) {
  Settings s;
  s.MagPos = 33;
  s.mDisplay_SX = 1920;
  FakeForm form;
  FillSettingsForm(s, form);
  form.texts[Id(CaptureWaitEdit)] = "5000";
  form.texts[Id(MagnetWidthEdit)] = "";
  form.texts[Id(SecondaryLeftEdit)] = "12-3";
  StoreSettingsForm(form, s);
  EXPECT_EQ(s.CaptureWait, 1000);
  EXPECT_EQ(s.MagPos, 33);
  EXPECT_EQ(s.mDisplay_SX, 1920);
  form.texts[Id(MagnetWidthEdit)] = "80";
  StoreSettingsForm(form, s);
  EXPECT_EQ(s.MagPos, 50);
}

TEST(SettingsForm, DualDisplayNeedsValuesThatDoNotAddUpToZero) {
  Settings s;
  FakeForm form;
  FillSettingsForm(s, form);
  EXPECT_FALSE(DualDisplayUnset(form, s)) << "off";
  form.checked[Id(DualDisplayCheck)] = true;
  EXPECT_TRUE(DualDisplayUnset(form, s)) << "all zero";
  const char* sumZero[] = {"1024", "768", "1024", "768", "-1024", "-2560"};
  const SettingControl edits[] = {PrimaryWidthEdit,    PrimaryHeightEdit, SecondaryWidthEdit,
                                  SecondaryHeightEdit, SecondaryLeftEdit, SecondaryTopEdit};
  for (int i = 0; i < 6; ++i) form.SetText(Id(edits[i]), sumZero[i]);
  EXPECT_TRUE(DualDisplayUnset(form, s));
  form.SetText(Id(SecondaryTopEdit), "0");
  EXPECT_FALSE(DualDisplayUnset(form, s));
}

TEST(SettingsForm, TypedCharactersQualityAndEditorCaption) {
  EXPECT_FALSE(NumericEditAccepts(Id(MinimumWidthEdit), U'a'));
  EXPECT_FALSE(NumericEditAccepts(Id(MinimumWidthEdit), U'-'));
  EXPECT_TRUE(NumericEditAccepts(Id(MinimumWidthEdit), U'7'));
  EXPECT_TRUE(NumericEditAccepts(Id(MinimumWidthEdit), 8)) << "backspace";
  EXPECT_TRUE(NumericEditAccepts(Id(SecondaryTopEdit), U'-'));
  EXPECT_TRUE(NumericEditAccepts(Id(EditorCommandEdit), U'a'));
  EXPECT_EQ(TypedJpegQuality("075"), 75);
  EXPECT_EQ(TypedJpegQuality("150"), std::nullopt);
  EXPECT_EQ(TypedJpegQuality("0"), std::nullopt);
  EXPECT_EQ(OpenWithCaption("D:\\Apps\\editor.exe"), "editorで開く");
}

}  // namespace
}  // namespace kmrn
