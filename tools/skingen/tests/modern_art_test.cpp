// The Meridian skins: the generator and the hand-written definitions agree
// at every density, and the window's rounded corners have a soft edge of
// one pixel where the frame meets the desktop.
#include <gtest/gtest.h>

#include "core/skindef/alpha_picture.h"
#include "tools/skingen/modern_art.h"
#include "tools/skingen/tests/skin_pictures.h"

namespace {

struct Variant {
  const char* label;
  skingen::ModernPalette palette;
  const char* definition;
};

const Variant kVariants[] = {{"light", skingen::MeridianLight(), "meridian/skin.ini"},
                             {"dark", skingen::MeridianDark(), "meridian_dark/skin.ini"}};

std::map<std::string, std::vector<std::uint8_t>> BitmapFiles(const skingen::ModernPalette& palette,
                                                             const skingen::Density& density) {
  std::map<std::string, std::vector<std::uint8_t>> files;
  for (const auto& [name, picture] : skingen::DrawModernArt(palette, density)) files[name] = picture.ToBmp();
  return files;
}

TEST(MeridianArt, EveryPictureTheDefinitionsNameIsDrawnAndNamedAtEveryDensity) {
  for (const Variant& v : kVariants) {
    SCOPED_TRACE(v.label);
    const std::string definition = skin_pictures::ReadFile(skin_pictures::DefinitionPath(v.definition));
    const skin_pictures::DefinedSkin skin(BitmapFiles(v.palette, skingen::kDesignDensity), definition);
    EXPECT_TRUE(skin.missing.empty()) << "first missing: " << (skin.missing.empty() ? "" : *skin.missing.begin());
    for (const auto& [name, bytes] : skin.files) EXPECT_TRUE(skin.asked.count(name)) << name << " is never named";
    EXPECT_FALSE(skin.def.SkinName.empty());
    // Every picture divides into the frames the engine cuts it by.
    for (const auto& [name, framing] : skin_pictures::FramedPictures(skin.def)) {
      const core::ImageSize size = skin.Size(name);
      EXPECT_EQ((framing.stacked ? size.height : size.width) % framing.frames, 0) << name;
    }
    for (const skingen::Density& density : skingen::kDensities)
      EXPECT_EQ(BitmapFiles(v.palette, density).size(), skin.files.size()) << density.Factor();
  }
}

// The alpha of the picture as its file stores it.
core::AlphaPicture StoredAlpha(const skingen::SkinPicture& picture) {
  const std::vector<std::uint8_t> file = picture.ToBmp();
  const auto layout = core::ParseBitmapFile(file);
  EXPECT_TRUE(layout.has_value());
  const auto read = layout ? core::ReadAlphaPicture(file, *layout) : std::nullopt;
  EXPECT_TRUE(read.has_value()) << "the window's edge pieces carry alpha";
  return read.value_or(core::AlphaPicture{});
}

TEST(MeridianArt, TheWindowCornersFadeOutOverOnePixelWhereTheFrameMeetsTheDesktop) {
  for (const Variant& v : kVariants) {
    for (const skingen::Density& density : skingen::kDensities) {
      SCOPED_TRACE(std::string(v.label) + " at " + std::to_string(density.Factor()));
      const core::AlphaPicture left = StoredAlpha(skingen::DrawModernArt(v.palette, density).at("frame_left.bmp"));
      ASSERT_GT(left.width, 0);
      const int frame_width = left.width / 2, corner = density.Px(8);
      auto alpha = [&](int x, int y) { return static_cast<int>(left.pixels[static_cast<std::size_t>(y * left.width + x)] >> 24); };
      for (int frame = 0; frame < 2; ++frame) {
        const int x0 = frame * frame_width;
        // The straight outer edge is whole; the corners are cut away.
        EXPECT_EQ(alpha(x0, left.height / 2), 255);
        for (const int y0 : {0, left.height - corner}) {
          EXPECT_EQ(alpha(x0, y0 == 0 ? 0 : left.height - 1), 0);
          int partial = 0;
          for (int y = y0; y < y0 + corner; ++y)
            for (int x = x0; x < x0 + frame_width; ++x) {
              const int a = alpha(x, y);
              if (a == 0 || a == 255) continue;
              ++partial;
              // A soft pixel lies on the edge: beside a pixel the region cuts.
              bool beside_clear = false;
              for (int dy = -1; dy <= 1; ++dy)
                for (int dx = -1; dx <= 1; ++dx) {
                  const int nx = x + dx, ny = y + dy;
                  if (nx < x0 || ny < 0 || ny >= left.height) {
                    beside_clear = true;  // the desktop beyond the picture
                    continue;
                  }
                  if (nx < x0 + frame_width && alpha(nx, ny) == 0) beside_clear = true;
                }
              EXPECT_TRUE(beside_clear) << "soft pixel (" << x << ", " << y << ") is not on the edge";
            }
          EXPECT_GE(partial, corner / 2) << "corner at row " << y0 << " has a hard edge";
        }
      }
    }
  }
}

}  // namespace
