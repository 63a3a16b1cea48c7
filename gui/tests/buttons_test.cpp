// Glyph buttons: where glyph and caption are laid out, glyphs read from the
// form description, and the bitmap button drawing its glyph by state
// without any skin.
#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "gui/buttons.h"
#include "gui/forms.h"
#include "gui/tests/test_bitmaps.h"

using namespace gui;
using gui_test::Hex;

namespace {

struct LayoutCase {
  TButtonLayout layout;
  int width, height;
  SIZE text;
  int margin, spacing;
  bool nudge;
  POINT glyph, textAt;
  UINT format;
};

TEST(ButtonLayout, GlyphAndCaptionPlacedByLayoutMarginAndSpacing) {
  const SIZE glyph{16, 16};
  const std::vector<LayoutCase> cases = {
      // Margin automatic, spacing given: the pair is centred.
      {TButtonLayout::blGlyphLeft, 100, 40, {30, 13}, -1, 4, false, {25, 12}, {45, 14}, DT_LEFT},
      // Tool buttons sit one pixel further in.
      {TButtonLayout::blGlyphLeft, 100, 40, {30, 13}, -1, 4, true, {26, 12}, {46, 14}, DT_LEFT},
      // Both automatic: the free width in three equal parts.
      {TButtonLayout::blGlyphRight, 100, 40, {30, 13}, -1, -1, false, {66, 12}, {18, 14}, DT_RIGHT},
      // Margin given, spacing automatic.
      {TButtonLayout::blGlyphTop, 100, 40, {30, 13}, 5, -1, false, {42, 5}, {35, 24}, DT_CENTER},
      {TButtonLayout::blGlyphBottom, 100, 40, {30, 13}, -1, 2, false, {42, 20}, {35, 5}, DT_CENTER},
      // Without a caption there is no spacing: the glyph alone is centred.
      {TButtonLayout::blGlyphLeft, 100, 40, {0, 0}, -1, 4, false, {42, 12}, {58, 20}, DT_LEFT},
      // Too small a button: the division truncates toward zero.
      {TButtonLayout::blGlyphTop, 100, 20, {30, 13}, -1, 4, false, {42, -6}, {35, 14}, DT_CENTER},
  };
  for (std::size_t i = 0; i < cases.size(); ++i) {
    const LayoutCase& c = cases[i];
    const TButtonPlacement p = CalcButtonLayout(c.width, c.height, glyph, c.text, c.layout, c.margin, c.spacing, c.nudge);
    EXPECT_EQ(p.Glyph.x, c.glyph.x) << "case " << i;
    EXPECT_EQ(p.Glyph.y, c.glyph.y) << "case " << i;
    EXPECT_EQ(p.Text.x, c.textAt.x) << "case " << i;
    EXPECT_EQ(p.Text.y, c.textAt.y) << "case " << i;
    EXPECT_EQ(p.Format, c.format) << "case " << i;
  }
}

// Glyph.Data as stored: the byte count, then the .bmp image.
std::string GlyphData(const std::vector<std::uint8_t>& bmp) {
  std::vector<std::uint8_t> data(4);
  const auto count = static_cast<std::uint32_t>(bmp.size());
  std::memcpy(data.data(), &count, 4);
  data.insert(data.end(), bmp.begin(), bmp.end());
  return "{" + Hex(data) + "}";
}

const COLORREF kNormal = RGB(220, 30, 30);
const COLORREF kDisabled = RGB(30, 220, 30);
const COLORREF kKey = RGB(255, 0, 255);

int CountColour(TBitmap& b, COLORREF c) {
  int n = 0;
  for (int y = 0; y < b.Height(); ++y)
    for (int x = 0; x < b.Width(); ++x) n += b.Pixel(x, y) == c;
  return n;
}

TEST(GlyphButtons, GlyphsComeFromTheFormAndShowByStateWithoutASkin) {
  TApplication app;
  const std::string strip = GlyphData(gui_test::StripBmp(12, 12, {kNormal, kDisabled}, kKey));
  auto form = std::make_unique<TForm>(&app);
  form->InitFromText("object Form1: TForm\n  Left = 40\n  Top = 40\n  ClientWidth = 240\n  ClientHeight = 120\n"
                     "  object Bit: TBitBtn\n    Left = 10\n    Top = 10\n    Width = 100\n    Height = 30\n"
                     "    Caption = 'Scan'\n    NumGlyphs = 2\n    Glyph.Data = " + strip + "\n  end\n"
                     "  object Speed: TSpeedButton\n    Left = 120\n    Top = 10\n    Width = 30\n    Height = 30\n"
                     "    Layout = blGlyphTop\n    Glyph.Data = {" + Hex(gui_test::StripBmp(12, 12, {kNormal}, kKey)) + "}" +
                     "\n  end\nend\n");
  auto* bit = dynamic_cast<TBitBtn*>(form->FindComponent("Bit"));
  auto* speed = dynamic_cast<TSpeedButton*>(form->FindComponent("Speed"));
  ASSERT_NE(bit, nullptr);
  ASSERT_NE(speed, nullptr);
  EXPECT_EQ(bit->Glyph().Width(), 24);
  EXPECT_EQ(bit->GlyphSize().cx, 12);
  EXPECT_EQ(bit->GlyphSize().cy, 12);
  EXPECT_EQ(speed->Glyph().Width(), 12);  // a bare .bmp image is read as well
  EXPECT_EQ(speed->Layout(), TButtonLayout::blGlyphTop);
  // Rows arrive top-down: the key pixel stays at the top-left.
  EXPECT_EQ(bit->Glyph().Pixel(0, 0), kKey);
  EXPECT_EQ(bit->Glyph().Pixel(0, 11), kNormal);

  form->HandleNeeded();
  form->Show();
  // The button draws itself through its parent (owner drawing reflected
  // back to it), into whatever context it is asked to print to.
  const auto print = [&] {
    TBitmap shot(100, 30);
    SendMessageW(bit->Handle(), WM_PRINTCLIENT, reinterpret_cast<WPARAM>(shot.DC()), PRF_CLIENT);
    return shot;
  };
  TBitmap normal = print();
  EXPECT_EQ(CountColour(normal, kNormal), 12 * 12 - 1);  // all but the key pixel
  EXPECT_EQ(CountColour(normal, kKey), 0);
  EXPECT_EQ(CountColour(normal, kDisabled), 0);
  EXPECT_EQ(normal.Pixel(50, 2), GetSysColor(COLOR_BTNFACE));
  bit->SetEnabled(false);
  TBitmap disabled = print();
  EXPECT_EQ(CountColour(disabled, kDisabled), 12 * 12 - 1);
  EXPECT_EQ(CountColour(disabled, kNormal), 0);
}

}  // namespace
