// Loading .bmp images: the old OS/2-style header, and data that points
// outside its buffer.
#include <gtest/gtest.h>

#include <cstring>
#include <thread>
#include <vector>

#include "gui/bitmap.h"

namespace {

void Put(std::vector<std::uint8_t>& v, std::uint32_t value, int bytes) {
  for (int i = 0; i < bytes; ++i) v.push_back(static_cast<std::uint8_t>(value >> (8 * i)));
}

// A 2 x 2, 1-bit image with a 12-byte header: palette black and orange,
// rows bottom-up: bottom row "1 0", top row "0 1".
std::vector<std::uint8_t> CoreBitmap() {
  std::vector<std::uint8_t> v;
  Put(v, 0x4D42, 2);
  Put(v, 14 + 12 + 6 + 8, 4);
  Put(v, 0, 4);
  Put(v, 14 + 12 + 6, 4);
  Put(v, 12, 4);
  Put(v, 2, 2);
  Put(v, 2, 2);
  Put(v, 1, 2);
  Put(v, 1, 2);
  for (std::uint8_t b : {0, 0, 0, 0x10, 0x80, 0xFF}) v.push_back(b);  // blue, green, red
  for (std::uint8_t b : {0x80, 0, 0, 0, 0x40, 0, 0, 0}) v.push_back(b);
  return v;
}

}  // namespace

TEST(Bitmap, ReadsTheOldHeaderFormat) {
  gui::TBitmap bitmap;
  ASSERT_TRUE(bitmap.LoadFromBmpBytes(CoreBitmap()));
  EXPECT_EQ(bitmap.Width(), 2);
  EXPECT_EQ(bitmap.Height(), 2);
  const COLORREF orange = RGB(0xFF, 0x80, 0x10);
  EXPECT_EQ(bitmap.Pixel(0, 1), orange);
  EXPECT_EQ(bitmap.Pixel(1, 1), RGB(0, 0, 0));
  EXPECT_EQ(bitmap.Pixel(1, 0), orange);
  EXPECT_EQ(bitmap.Pixel(0, 0), RGB(0, 0, 0));
}

TEST(Bitmap, RefusesDataOutsideTheBuffer) {
  std::vector<std::uint8_t> data = CoreBitmap();
  gui::TBitmap bitmap;
  std::vector<std::uint8_t> shortPalette(data.begin(), data.begin() + 14 + 12 + 4);
  EXPECT_FALSE(bitmap.LoadFromBmpBytes(shortPalette));
  std::vector<std::uint8_t> badOffset = data;
  badOffset[10] = 200;
  EXPECT_FALSE(bitmap.LoadFromBmpBytes(badOffset));
  std::vector<std::uint8_t> odd = data;
  odd[14 + 10] = 3;  // 3 bits per pixel does not exist
  EXPECT_FALSE(bitmap.LoadFromBmpBytes(odd));
  EXPECT_TRUE(bitmap.Empty());
}

// Pictures that share memory DCs: more of them than there are shared DCs,
// each blitted from right after asking for its DC, must each give its own
// pixels; no more DCs are made than the few shared ones; a picture freed or
// resized while it holds one leaves it usable by the next.
TEST(Bitmap, PicturesSharingDcsEachBlitTheirOwnPixels) {
  constexpr int kPictures = gui::TBitmap::kSharedDcCount * 2 + 3;
  const long dcsBefore = gui::BitmapDcHandle::LiveCount();
  const long bitmapsBefore = gui::BitmapHandle::LiveCount();
  {
    std::vector<gui::TBitmap> pictures(kPictures);
    for (int i = 0; i < kPictures; ++i) {
      pictures[i].SetSharesDc(true);
      pictures[i].SetSize(2, 1);
      pictures[i].SetPixel(0, 0, RGB(i, 10, 20));
    }
    gui::TBitmap target(1, 1);
    for (int round = 0; round < 2; ++round) {
      for (int i = 0; i < kPictures; ++i) {
        ASSERT_TRUE(BitBlt(target.DC(), 0, 0, 1, 1, pictures[i].DC(), 0, 0, SRCCOPY)) << i;
        GdiFlush();
        EXPECT_EQ(target.Pixel(0, 0), RGB(i, 10, 20)) << "picture " << i << ", round " << round;
      }
    }
    // The target keeps a DC of its own; the pictures share the rest.
    EXPECT_LE(gui::BitmapDcHandle::LiveCount() - dcsBefore, gui::TBitmap::kSharedDcCount + 1);

    // A picture holding a shared DC is resized, and another freed: both
    // give it back, and the DC takes the next picture.
    HDC lent = pictures[0].DC();
    ASSERT_NE(lent, nullptr);
    pictures[0].SetSize(1, 1);
    pictures[0].SetPixel(0, 0, RGB(200, 0, 0));
    BitBlt(target.DC(), 0, 0, 1, 1, pictures[0].DC(), 0, 0, SRCCOPY);
    GdiFlush();
    EXPECT_EQ(target.Pixel(0, 0), RGB(200, 0, 0));
    pictures.erase(pictures.begin());
    for (int i = 0; i < kPictures - 1; ++i) {
      BitBlt(target.DC(), 0, 0, 1, 1, pictures[i].DC(), 0, 0, SRCCOPY);
      GdiFlush();
      EXPECT_EQ(target.Pixel(0, 0), RGB(i + 1, 10, 20)) << "after the first went, picture " << i + 1;
    }
  }
  EXPECT_EQ(gui::BitmapHandle::LiveCount(), bitmapsBefore);
}

// A DC lent on one thread stays with its picture while another thread asks
// for more shared DCs than there are: each thread draws with its own.
TEST(Bitmap, ASharedDcLentOnOneThreadIsNotTakenByAnother) {
  gui::TBitmap mine;
  mine.SetSharesDc(true);
  mine.SetSize(1, 1);
  mine.SetPixel(0, 0, RGB(1, 2, 3));
  HDC lent = mine.DC();
  ASSERT_NE(lent, nullptr);
  std::vector<HDC> theirs;
  std::thread([&] {
    std::vector<gui::TBitmap> others(gui::TBitmap::kSharedDcCount * 2);
    for (gui::TBitmap& other : others) {
      other.SetSharesDc(true);
      other.SetSize(1, 1);
      theirs.push_back(other.DC());
    }
  }).join();
  for (HDC dc : theirs) EXPECT_NE(dc, lent);
  gui::TBitmap target(1, 1);
  ASSERT_TRUE(BitBlt(target.DC(), 0, 0, 1, 1, lent, 0, 0, SRCCOPY));
  GdiFlush();
  EXPECT_EQ(target.Pixel(0, 0), RGB(1, 2, 3));
}
