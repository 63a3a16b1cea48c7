// TLabel: read from a form description, painted by its parent into the
// context it is handed, wrapped inside its bounds, embossed when disabled,
// and repainted when its caption changes.
#include <gtest/gtest.h>
#include <windows.h>

#include <memory>

#include "gui/bitmap.h"
#include "gui/forms.h"
#include "gui/labels.h"

namespace {

using namespace gui;

constexpr COLORREF kInk = RGB(200, 20, 20);
constexpr COLORREF kPaper = RGB(40, 90, 160);  // neither ink nor either emboss colour

// The label painted onto paper twice its size.
struct Painted {
  TBitmap shot;
  int outside = 0, ink = 0, inkRowsBelowFirstLine = 0, highlight = 0, shadow = 0;
};

Painted Paint(TLabel& label) {
  Painted p;
  p.shot.SetSize(label.Width() * 2, label.Height() * 2);
  for (int y = 0; y < p.shot.Height(); ++y)
    for (int x = 0; x < p.shot.Width(); ++x) p.shot.SetPixel(x, y, kPaper);
  label.Perform(WM_PAINT, reinterpret_cast<WPARAM>(p.shot.DC()), 0);
  GdiFlush();
  for (int y = 0; y < p.shot.Height(); ++y)
    for (int x = 0; x < p.shot.Width(); ++x) {
      const COLORREF c = p.shot.Pixel(x, y);
      if (c == kPaper) continue;
      if (x >= label.Width() || y >= label.Height()) p.outside++;
      if (c == kInk) p.ink++;
      if (c == kInk && y >= 14) p.inkRowsBelowFirstLine++;
      if (c == GetSysColor(COLOR_BTNHIGHLIGHT)) p.highlight++;
      if (c == GetSysColor(COLOR_BTNSHADOW)) p.shadow++;
    }
  return p;
}

TEST(Labels, PaintTheirCaptionWrappedInsideTheirBoundsAndEmbossedWhenDisabled) {
  TApplication app;
  auto form = std::make_unique<TForm>(&app);
  form->InitFromText(
      "object Form1: TForm\n  Left = 40\n  Top = 40\n  ClientWidth = 240\n  ClientHeight = 120\n"
      "  object Label1: TLabel\n    Left = 10\n    Top = 20\n    Width = 60\n    Height = 30\n"
      "    Caption = 'Wrapped words here'\n    Font.Color = $001414C8\n  end\nend\n");
  auto* label = dynamic_cast<TLabel*>(form->FindComponent("Label1"));
  ASSERT_NE(label, nullptr);
  form->Show();

  Painted normal = Paint(*label);
  EXPECT_GT(normal.ink, 20);
  EXPECT_EQ(normal.outside, 0) << "nothing is drawn past the label's bounds";
  EXPECT_GT(normal.inkRowsBelowFirstLine, 0) << "a caption wider than the label wraps";
  EXPECT_EQ(normal.shot.Pixel(0, 0), kPaper) << "the background is the parent's";

  label->SetEnabled(false);
  Painted disabled = Paint(*label);
  EXPECT_EQ(disabled.outside, 0);
  EXPECT_GT(disabled.highlight, 0);
  EXPECT_GT(disabled.shadow, 0);
  EXPECT_EQ(disabled.ink, 0) << "no caption in the font's colour";

  // A new caption repaints the label's part of the parent.
  label->SetEnabled(true);
  ValidateRect(form->Handle(), nullptr);
  label->SetCaption(L"Changed");
  RECT update{};
  ASSERT_TRUE(GetUpdateRect(form->Handle(), &update, FALSE));
  EXPECT_EQ(update.left, 10);
  EXPECT_EQ(update.top, 20);
  EXPECT_EQ(update.right, 70);
  EXPECT_EQ(update.bottom, 50);
}

}  // namespace
