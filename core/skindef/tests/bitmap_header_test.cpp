// The bitmap header check: what the system may be given, and every way a
// header can claim more than the file holds.
#include "core/skindef/bitmap_header.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/skindef/bitmap_size.h"
#include "core/skindef/tests/bmp_builder.h"

namespace {

using core::BitmapFileLayout;
using core::ParseBitmapFile;
using namespace core::testing;

constexpr std::uint32_t kRle8 = 1, kRle4 = 2, kBitFields = 3;

void Set32(Bytes& b, std::size_t at, std::uint32_t v) {
  for (int i = 0; i < 4; ++i) b[at + static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(v >> (8 * i));
}

BmpLayout OneBit() {
  BmpLayout l;
  l.width = 8;
  l.height = 2;
  l.bits = 1;
  l.palette = {0x000000, 0xFFFFFF};
  l.pixels = Rows({{0xAA}, {0x55}});
  return l;
}

// A 12-byte core header, 24 bits per pixel.
Bytes CoreBmp24(std::uint16_t width, std::uint16_t height) {
  Bytes out;
  Put16(out, 0x4D42);
  Put32(out, 0);
  Put32(out, 0);
  Put32(out, 26);
  Put32(out, 12);
  Put16(out, width);
  Put16(out, height);
  Put16(out, 1);
  Put16(out, 24);
  out.resize(out.size() + static_cast<std::size_t>((width * 3 + 3) / 4 * 4) * height, 0x7F);
  return out;
}

// A 124-byte header whose bit-field masks sit inside the header.
Bytes V5BitFields() {
  Bytes out;
  Put16(out, 0x4D42);
  Put32(out, 0);
  Put32(out, 0);
  Put32(out, 14 + 124);
  Put32(out, 124);
  Put32(out, 2);
  Put32(out, 1);
  Put16(out, 1);
  Put16(out, 16);
  Put32(out, kBitFields);
  out.resize(14 + 40, 0);
  Put32(out, 0xF800);
  Put32(out, 0x07E0);
  Put32(out, 0x001F);
  out.resize(14 + 124, 0);
  out.insert(out.end(), {0x00, 0xF8, 0x1F, 0x00});
  return out;
}

TEST(BitmapHeader, ConsistentFilesGiveTheRangesTheSystemWillRead) {
  {
    const Bytes file = MakeBmp(OneBit());
    const auto l = ParseBitmapFile(file);
    ASSERT_TRUE(l);
    EXPECT_EQ(l->colourCount, 2u);
    EXPECT_EQ(l->colourTableOffset, 54u);
    EXPECT_EQ(l->colourTableBytes, 8u);
    EXPECT_EQ(l->pixelOffset, 62u);
    EXPECT_EQ(l->stride, 4u);
    EXPECT_EQ(l->pixelBytes, 8u);
  }
  {
    // No stated colour count: the whole table of 16 entries must be there.
    BmpLayout l;
    l.width = 3;
    l.height = -2;
    l.bits = 4;
    l.palette.assign(16, 0x123456);
    l.pixels = Rows({{0x12, 0xF0}, {0x05, 0x90}});
    const auto parsed = ParseBitmapFile(MakeBmp(l, {.clrUsed = 0}));
    ASSERT_TRUE(parsed);
    EXPECT_EQ(parsed->colourCount, 16u);
    EXPECT_TRUE(parsed->topDown);
    EXPECT_EQ(parsed->height, 2);
    l.palette.resize(15);  // one entry short
    EXPECT_FALSE(ParseBitmapFile(MakeBmp(l, {.clrUsed = 0})));
  }
  {
    BmpLayout l;
    l.width = 2;
    l.height = 1;
    l.bits = 16;
    l.compression = kBitFields;
    l.masks = {0xF800, 0x07E0, 0x001F};
    l.pixels = Rows({{0x00, 0xF8, 0x1F, 0x00}});
    const auto parsed = ParseBitmapFile(MakeBmp(l));
    ASSERT_TRUE(parsed);
    EXPECT_EQ(parsed->masks[1], 0x07E0u);
    EXPECT_EQ(parsed->colourTableOffset, 66u);  // after the three masks
  }
  {
    const auto parsed = ParseBitmapFile(V5BitFields());
    ASSERT_TRUE(parsed);
    EXPECT_EQ(parsed->masks[0], 0xF800u);
    EXPECT_EQ(parsed->pixelOffset, 138u);
  }
  {
    const auto parsed = ParseBitmapFile(CoreBmp24(3, 2));
    ASSERT_TRUE(parsed);
    EXPECT_EQ(parsed->header, BitmapFileLayout::Header::Core);
    EXPECT_EQ(parsed->pixelBytes, 24u);
  }
  {
    BmpLayout l;
    l.width = 4;
    l.height = 2;
    l.bits = 8;
    l.compression = kRle8;
    l.palette = {1, 2, 3, 4};
    l.pixels = {3, 1, 1, 2, 0, 0, 0, 4, 0, 1, 2, 3, 0, 1};
    const auto parsed = ParseBitmapFile(MakeBmp(l));
    ASSERT_TRUE(parsed);
    EXPECT_EQ(parsed->pixelBytes, 14u);
    EXPECT_EQ(parsed->stride, 0u);
  }
}

TEST(BitmapHeader, HeadersThatClaimMoreThanTheFileHoldsAreRefused) {
  std::vector<std::pair<std::string, Bytes>> refused;
  refused.emplace_back("colour count wrapping 32-bit arithmetic", WrappedColourCountBmp());
  {
    // 0xC0000001 * 4 + 40 wraps to 44.
    refused.emplace_back("colour count wrapping to just past the header", MakeBmp(OneBit(), {.clrUsed = 0xC0000001}));
    refused.emplace_back("more colours than 1 bit can index", MakeBmp(OneBit(), {.clrUsed = 3}));
  }
  {
    BmpLayout l;
    l.width = 1;
    l.height = 1;
    l.bits = 24;
    l.pixels = Rows({{1, 2, 3}});
    refused.emplace_back("optimising palette over 256 entries", MakeBmp(l, {.clrUsed = 257}));
  }
  {
    BmpLayout l;
    l.width = 2;
    l.height = 1;
    l.bits = 16;
    l.compression = kBitFields;
    l.pixels = Rows({{0, 0, 0, 0}});
    l.masks = {0xF800, 0x0FE0, 0x001F};
    refused.emplace_back("overlapping masks", MakeBmp(l));
    l.masks = {0x1F0000, 0x07E0, 0x001F};
    refused.emplace_back("mask wider than the pixel", MakeBmp(l));
    l.masks = {0, 0x07E0, 0x001F};
    refused.emplace_back("empty mask", MakeBmp(l));
    l.bits = 24;
    l.masks = {0xFF0000, 0xFF00, 0xFF};
    refused.emplace_back("bit fields on 24 bits", MakeBmp(l));
  }
  {
    // 32767 x 2 at 32 bits needs 256 KB; the entry holds 8 bytes.
    BmpLayout l;
    l.width = 32767;
    l.height = 2;
    l.bits = 32;
    l.pixels.assign(8, 0);
    refused.emplace_back("pixels beyond the entry", MakeBmp(l));
    l.width = 32768;
    refused.emplace_back("width over 32767", MakeBmp(l));
  }
  {
    refused.emplace_back("pixel offset wrapping", MakeBmp(OneBit(), {.offBits = 0xFFFFFFF0}));
    // 58 lies inside the colour table.
    refused.emplace_back("pixels overlapping the colour table", MakeBmp(OneBit(), {.offBits = 58}));
  }
  {
    BmpLayout l;
    l.width = 4;
    l.height = -2;
    l.bits = 8;
    l.compression = kRle8;
    l.palette = {1};
    l.pixels = {4, 0, 0, 1};
    refused.emplace_back("top-down run-length code", MakeBmp(l));
    l.height = 2;
    refused.emplace_back("run-length code of no size", MakeBmp(l, {.sizeImage = 0}));
    refused.emplace_back("run-length code past the end", MakeBmp(l, {.sizeImage = 5}));
    l.width = 4096;
    l.height = 4097;
    refused.emplace_back("run-length code for 16 M pixels", MakeBmp(l));
    l.width = 4;
    l.height = 2;
    l.compression = kRle4;
    refused.emplace_back("RLE4 on 8 bits", MakeBmp(l));
  }
  {
    Bytes b = MakeBmp(OneBit());
    Set32(b, 14, 64);
    refused.emplace_back("unknown header size", b);
    b = MakeBmp(OneBit());
    Set32(b, 14, 0xFFFFFFF0);
    refused.emplace_back("header size wrapping", b);
    b = MakeBmp(OneBit());
    b[26] = 2;
    refused.emplace_back("two planes", b);
    b = MakeBmp(OneBit());
    b[28] = 2;
    refused.emplace_back("2 bits per pixel", b);
    b = MakeBmp(OneBit());
    Set32(b, 30, 4);
    refused.emplace_back("JPEG inside", b);
    b = MakeBmp(OneBit());
    Set32(b, 22, 0x80000000);
    refused.emplace_back("height of INT32_MIN", b);
    b = MakeBmp(OneBit());
    b[1] = 'A';
    refused.emplace_back("no BM", b);
    b = MakeBmp(OneBit());
    b.resize(40);
    refused.emplace_back("cut inside the header", b);
  }
  {
    Bytes b = CoreBmp24(3, 2);
    b.resize(b.size() - 1);
    refused.emplace_back("core header, pixels cut short", b);
    b = CoreBmp24(3, 2);
    b[24] = 16;
    refused.emplace_back("core header, 16 bits", b);
  }
  for (const auto& [what, file] : refused) EXPECT_FALSE(ParseBitmapFile(file)) << what;
}

TEST(BitmapHeader, AcceptedFilesAgreeWithTheSizeReader) {
  for (const Bytes& file : {MakeBmp(OneBit()), CoreBmp24(5, 3), V5BitFields()}) {
    const auto layout = ParseBitmapFile(file);
    const auto size = core::ReadBitmapSize(file);
    ASSERT_TRUE(layout && size);
    EXPECT_EQ(size->width, layout->width);
    EXPECT_EQ(size->height, layout->height);
  }
}

}  // namespace
