// Captions with an image: where the image and the text go for each
// placement, captions too wide for their rectangle, and the grey text of a
// disabled control.
#include "skin/controls/image_caption.h"

#include <gtest/gtest.h>

#include "gui/bitmap.h"
#include "gui/handles.h"

namespace {

constexpr COLORREF kBack = RGB(250, 250, 250), kInk = RGB(0, 0, 160), kImage = RGB(200, 0, 0);

// Columns holding any pixel of `colour` in the bitmap, as [first, last].
std::pair<int, int> Columns(gui::TBitmap& b, COLORREF colour) {
  int first = -1, last = -1;
  for (int x = 0; x < b.Width(); ++x)
    for (int y = 0; y < b.Height(); ++y)
      if (b.Pixel(x, y) == colour) {
        if (first < 0) first = x;
        last = x;
      }
  return {first, last};
}

struct Drawn {
  gui::TBitmap bitmap{200, 24};
  explicit Drawn(skin::TCaptionPlacement placement, int imageIndex, HIMAGELIST images, bool enabled = true,
                 const std::wstring& text = L"Name", const RECT& rect = RECT{0, 0, 200, 24}) {
    gui::TCanvas(bitmap.DC()).FillRect(RECT{0, 0, 200, 24}, kBack);
    gui::SelectGuard font(bitmap.DC(), GetStockObject(DEFAULT_GUI_FONT));
    SetTextColor(bitmap.DC(), kInk);
    skin::DrawImageCaption(bitmap.DC(), rect, placement, text, imageIndex, images, enabled);
  }
};

TEST(ImageCaption, ImageAndTextByPlacement) {
  gui::ImageListHandle images(ImageList_Create(12, 12, ILC_COLOR32, 1, 1));
  gui::TBitmap red(12, 12);
  gui::TCanvas(red.DC()).FillRect(RECT{0, 0, 12, 12}, kImage);
  ASSERT_GE(ImageList_Add(images.get(), red.Handle(), nullptr), 0);

  // Left: the image 2 pixels in, the text one pixel after it.
  Drawn left(skin::TCaptionPlacement::Left, 0, images.get());
  const auto [imageFirst, imageLast] = Columns(left.bitmap, kImage);
  EXPECT_EQ(imageFirst, 2);
  EXPECT_EQ(imageLast, 13);
  const auto text = Columns(left.bitmap, kInk);
  EXPECT_GE(text.first, 2 + 12 + 1);
  EXPECT_LT(text.first, 2 + 12 + 4);
  // Vertically centred by the icon's width: (24 - 12) / 2.
  EXPECT_EQ(left.bitmap.Pixel(5, 5), kBack);
  EXPECT_EQ(left.bitmap.Pixel(5, 6), kImage);

  // Right: the text ends 2 pixels before the edge; centred: equal space both sides.
  Drawn right(skin::TCaptionPlacement::Right, 0, images.get());
  EXPECT_LE(Columns(right.bitmap, kInk).second, 200 - 2);
  EXPECT_GE(Columns(right.bitmap, kInk).second, 200 - 10);  // the last glyph's own bearing
  Drawn centre(skin::TCaptionPlacement::Centre, -1, images.get());
  const auto c = Columns(centre.bitmap, kInk);
  EXPECT_LE(std::abs(c.first - (199 - c.second)), 5);
  EXPECT_EQ(Columns(centre.bitmap, kImage).first, -1);  // index -1: no image

  // Disabled: the system's grey text; no text: only the image.
  Drawn disabled(skin::TCaptionPlacement::Left, -1, nullptr, false);
  EXPECT_EQ(Columns(disabled.bitmap, kInk).first, -1);
  EXPECT_GE(Columns(disabled.bitmap, GetSysColor(COLOR_GRAYTEXT)).first, 2);
  Drawn imageOnly(skin::TCaptionPlacement::Centre, 0, images.get(), true, L"");
  EXPECT_EQ(Columns(imageOnly.bitmap, kImage).first, (200 - 12) / 2);
}

// A caption wider than its column (a header column dragged narrow) stays
// inside it, from its left margin, shortened with an ellipsis.
TEST(ImageCaption, ACaptionWiderThanItsRectangleStaysInside) {
  const RECT column{60, 0, 110, 24};
  const std::wstring text = L"A caption far wider than its column";
  for (const auto placement : {skin::TCaptionPlacement::Right, skin::TCaptionPlacement::Centre}) {
    Drawn narrow(placement, -1, nullptr, true, text, column);
    const auto ink = Columns(narrow.bitmap, kInk);
    EXPECT_GE(ink.first, column.left + 2);
    EXPECT_LT(ink.first, column.left + 6);
    EXPECT_LT(ink.second, column.right);
    EXPECT_GT(ink.second, column.right - 12);  // the ellipsis runs on to the end
  }
}

}  // namespace
