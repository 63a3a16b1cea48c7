// Element pictures come from archive entries in every bitmap format the
// system draws; entries that are not valid bitmaps end the parse.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <vector>

#include "gui/classes.h"
#include "skin/data/skin_definition.h"
#include "skin/data/tests/bmp_files.h"

namespace {

using skin::testing::BmpLayout;
using skin::testing::Bytes;
using skin::testing::MakeBmp;
using skin::testing::Rows;

struct FormatCase {
  const char* name;
  Bytes file;
  int width, height;
  std::vector<std::vector<COLORREF>> expected;  // rows from the top
};

constexpr COLORREF kA = RGB(10, 20, 30), kB = RGB(200, 100, 50), kC = RGB(0, 128, 255), kD = RGB(250, 250, 5);

std::vector<FormatCase> FormatCases() {
  std::vector<FormatCase> cases;
  {
    BmpLayout l{10, 2, 1, BI_RGB, {kA, kB}, {}, {}};
    // Bottom row first: 1010101010, then 0000011111.
    l.pixels = Rows({{0xAA, 0x80}, {0x07, 0xC0}});
    cases.push_back({"1 bit", MakeBmp(l), 10, 2,
                     {{kA, kA, kA, kA, kA, kB, kB, kB, kB, kB}, {kB, kA, kB, kA, kB, kA, kB, kA, kB, kA}}});
  }
  {
    std::vector<std::uint32_t> palette;
    for (int i = 0; i < 16; ++i) palette.push_back(RGB(i * 16, 255 - i * 16, i));
    BmpLayout l{3, 2, 4, BI_RGB, palette, {}, Rows({{0x12, 0xF0}, {0x05, 0x90}})};
    cases.push_back({"4 bits", MakeBmp(l), 3, 2,
                     {{palette[0], palette[5], palette[9]}, {palette[1], palette[2], palette[15]}}});
  }
  {
    std::vector<std::uint32_t> palette;
    for (int i = 0; i < 200; ++i) palette.push_back(RGB(i, i / 2, 255 - i));
    BmpLayout l{3, 2, 8, BI_RGB, palette, {}, Rows({{0, 100, 199}, {7, 150, 3}})};
    cases.push_back({"8 bits, short palette", MakeBmp(l), 3, 2,
                     {{palette[7], palette[150], palette[3]}, {palette[0], palette[100], palette[199]}}});
  }
  {
    // 5-5-5: full red, green, blue.
    BmpLayout l{3, 1, 16, BI_RGB, {}, {}, Rows({{0x00, 0x7C, 0xE0, 0x03, 0x1F, 0x00}})};
    cases.push_back({"16 bits", MakeBmp(l), 3, 1, {{RGB(255, 0, 0), RGB(0, 255, 0), RGB(0, 0, 255)}}});
  }
  {
    // 5-6-5 through bit fields: red, green, blue, white.
    BmpLayout l{4, 1, 16, BI_BITFIELDS, {}, {0xF800, 0x07E0, 0x001F},
                Rows({{0x00, 0xF8, 0xE0, 0x07, 0x1F, 0x00, 0xFF, 0xFF}})};
    cases.push_back({"16 bits, bit fields", MakeBmp(l), 4, 1,
                     {{RGB(255, 0, 0), RGB(0, 255, 0), RGB(0, 0, 255), RGB(255, 255, 255)}}});
  }
  {
    BmpLayout l{3, 2, 24, BI_RGB, {}, {}, Rows({{1, 2, 3, 4, 5, 6, 7, 8, 9}, {30, 20, 10, 60, 50, 40, 90, 80, 70}})};
    cases.push_back({"24 bits", MakeBmp(l), 3, 2,
                     {{RGB(10, 20, 30), RGB(40, 50, 60), RGB(70, 80, 90)}, {RGB(3, 2, 1), RGB(6, 5, 4), RGB(9, 8, 7)}}});
  }
  {
    BmpLayout l{2, -2, 24, BI_RGB, {}, {}, Rows({{1, 2, 3, 4, 5, 6}, {7, 8, 9, 10, 11, 12}})};
    cases.push_back({"24 bits, top-down", MakeBmp(l), 2, 2,
                     {{RGB(3, 2, 1), RGB(6, 5, 4)}, {RGB(9, 8, 7), RGB(12, 11, 10)}}});
  }
  {
    // The fourth byte zero throughout: unused, an opaque picture (with it
    // set the picture carries alpha, skin_alpha_test).
    BmpLayout l{2, 2, 32, BI_RGB, {}, {}, Rows({{1, 2, 3, 0, 4, 5, 6, 0}, {7, 8, 9, 0, 10, 11, 12, 0}})};
    cases.push_back({"32 bits", MakeBmp(l), 2, 2,
                     {{RGB(9, 8, 7), RGB(12, 11, 10)}, {RGB(3, 2, 1), RGB(6, 5, 4)}}});
  }
  {
    // Red in the low byte, blue in the third: the reverse of the usual order.
    BmpLayout l{2, 1, 32, BI_BITFIELDS, {}, {0x000000FF, 0x0000FF00, 0x00FF0000},
                Rows({{0x11, 0x22, 0x33, 0, 0xAA, 0xBB, 0xCC, 0}})};
    cases.push_back({"32 bits, bit fields", MakeBmp(l), 2, 1, {{RGB(0x11, 0x22, 0x33), RGB(0xAA, 0xBB, 0xCC)}}});
  }
  {
    // Bottom row: a run of three 1s and one 2; top row: 0 1 2 3 in absolute mode.
    BmpLayout l{4, 2, 8, BI_RLE8, {kA, kB, kC, kD}, {},
                {3, 1, 1, 2, 0, 0, 0, 4, 0, 1, 2, 3, 0, 1}};
    cases.push_back({"RLE8", MakeBmp(l), 4, 2, {{kA, kB, kC, kD}, {kB, kB, kB, kC}}});
  }
  {
    // Bottom row: five pixels alternating 1 and 2; top row: 3 0 2 1 in
    // absolute mode, then a run of one 3.
    BmpLayout l{5, 2, 4, BI_RLE4, {kA, kB, kC, kD}, {},
                {5, 0x12, 0, 0, 0, 4, 0x30, 0x21, 1, 0x33, 0, 1}};
    cases.push_back({"RLE4", MakeBmp(l), 5, 2, {{kD, kA, kC, kB, kD}, {kB, kC, kB, kC, kB}}});
  }
  return cases;
}

TEST(ElementImage, EveryBitmapFormatLoadsWithItsPixels) {
  for (const FormatCase& c : FormatCases()) {
    SCOPED_TRACE(c.name);
    core::TSkinReader reader;
    skin::testing::LoadArchive(reader, {{"skin.ini", {}}, {"Picture.bmp", c.file}});
    gui::TBitmap bitmap;
    skin::LoadElementImage(bitmap, "C:\\skins\\picture.bmp", reader);
    ASSERT_EQ(bitmap.Width(), c.width);
    ASSERT_EQ(bitmap.Height(), c.height);
    for (int y = 0; y < c.height; ++y) {
      for (int x = 0; x < c.width; ++x) {
        EXPECT_EQ(bitmap.Pixel(x, y), c.expected[static_cast<std::size_t>(y)][static_cast<std::size_t>(x)])
            << "at " << x << "," << y;
      }
    }
  }
}

TEST(ElementImage, OnlyALowerCaseBmpNameAfterTheLastSeparatorIsLookedUp) {
  core::TSkinReader reader;
  const Bytes red = skin::testing::Bmp24(2, 1, [](int, int) { return RGB(255, 0, 0); });
  skin::testing::LoadArchive(reader, {{"skin.ini", {}}, {"Glyph.BMP", red}, {"empty.bmp", {}}});
  gui::TBitmap bitmap;

  skin::LoadElementImage(bitmap, "a:b\\c\\GLYPH.bmp", reader);
  EXPECT_EQ(bitmap.Width(), 2);
  EXPECT_EQ(bitmap.Pixel(1, 0), RGB(255, 0, 0));

  for (const char* path : {"glyph.BMP", "glyph", "", "glyph.bmp\\", "missing.bmp", "empty.bmp"}) {
    SCOPED_TRACE(path);
    skin::LoadElementImage(bitmap, "glyph.bmp", reader);
    ASSERT_FALSE(bitmap.Empty());
    skin::LoadElementImage(bitmap, path, reader);  // clears what was there
    EXPECT_TRUE(bitmap.Empty());
  }
}

// GDI objects the process holds, where the system counts them.
DWORD GdiObjects() { return GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS); }

TEST(ElementImage, AnInvalidBitmapEndsTheParseWithAnErrorNamingIt) {
  const Bytes good = skin::testing::Bmp24(6, 4, [](int x, int y) { return RGB(x * 40, y * 60, 9); });
  std::vector<std::pair<const char*, Bytes>> broken;
  broken.emplace_back("not a bitmap", skin::testing::TextBytes("[Buttons]\r\nBitmap=x.bmp\r\n"));
  broken.emplace_back("header only", Bytes(good.begin(), good.begin() + 54));
  broken.emplace_back("truncated pixels", Bytes(good.begin(), good.end() - 5));
  {
    Bytes b = good;
    b[10] = 0xF0;  // pixel offset far past the end
    b[11] = 0xFF;
    broken.emplace_back("offset past the end", b);
  }
  {
    Bytes b = good;
    b[14] = 0xFF;  // header size larger than the file
    broken.emplace_back("header past the end", b);
  }
  {
    BmpLayout l{0, 4, 24, BI_RGB, {}, {}, Bytes(16, 0)};
    broken.emplace_back("zero width", MakeBmp(l));
    l.width = 4;
    l.height = 0;
    broken.emplace_back("zero height", MakeBmp(l));
  }
  {
    BmpLayout l{4, 2, 8, BI_RLE8, {RGB(1, 2, 3)}, {}, {4, 0, 0, 0, 4, 0, 0, 1}};
    Bytes b = MakeBmp(l);
    b[34] = 0xFF;  // compressed size beyond the data
    broken.emplace_back("RLE size past the end", b);
  }
  {
    BmpLayout l{2, 2, 8, BI_RGB, std::vector<std::uint32_t>(256, RGB(1, 1, 1)), {}, Rows({{0, 0}, {0, 0}})};
    Bytes b = MakeBmp(l);
    b.resize(54 + 100);  // colour table cut short
    broken.emplace_back("palette cut short", b);
  }
  // 0x40000000 colours of 4 bytes wrap to none in 32-bit arithmetic.
  broken.emplace_back("colour count wrapping", core::testing::WrappedColourCountBmp());

  const DWORD objects_before = GdiObjects();
  for (const auto& [what, bytes] : broken) {
    SCOPED_TRACE(what);
    core::TSkinReader reader;
    const std::string definition =
        "[Personality]\r\nLeft=frame.bmp\r\n[Buttons]\r\nBitmap=Broken.bmp\r\n[GroupBox]\r\nImage=frame.bmp\r\n";
    skin::testing::LoadArchive(
        reader, {{"skin.ini", skin::testing::TextBytes(definition)}, {"frame.bmp", good}, {"broken.bmp", bytes}});
    try {
      skin::ParseDefinition(definition, reader);
      ADD_FAILURE() << "parsed";
    } catch (const gui::Exception& e) {
      EXPECT_NE(e.Message().find(L"Broken.bmp"), std::wstring::npos) << e.what();
    }
    gui::TBitmap direct;
    EXPECT_THROW(skin::LoadElementImage(direct, "broken.bmp", reader), gui::Exception);
    EXPECT_TRUE(direct.Empty());
  }
  // Every bitmap made before the error is released with it.
  if (objects_before != 0) {
    EXPECT_EQ(GdiObjects(), objects_before);
  }
}

}  // namespace
