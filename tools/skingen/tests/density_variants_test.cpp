// The 1.5x and 2x pictures of both skins: drawn to the size rule the engine
// relies on (each frame round(frame size × scale), halves up), packed beside
// their 1x pictures, transparent where the 1x picture is, without blended or
// pink edges, and with hairlines on whole pixels.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cstdio>

#include "core/archive/byte_stream.h"
#include "core/archive/skin_reader.h"
#include "tools/skingen/skin_art.h"
#include "tools/skingen/tests/skin_pictures.h"

namespace {

using skin_pictures::Framing;
using skingen::kMagenta;
using skingen::Raster;
using skingen::Rgb;

struct SkinUnderTest {
  const char* label;
  skingen::Palette palette;
  const char* definition;  // under the skins source folder
  const char* archive;     // under the build's skins folder
};

const SkinUnderTest kSkins[] = {
    {"default", skingen::LightPalette(), "default/skin.ini", "default.skin"},
    {"dark", skingen::DarkPalette(), "dark/skin.ini", "dark.skin"},
    {"flat", skingen::FlatPalette(), "flat/skin.ini", "flat.skin"},
};

const skingen::Density kScaled[] = {skingen::kDensities[1], skingen::kDensities[2]};

// The size rule, written out independently of the generator.
int Scaled(int length, double scale) { return static_cast<int>(std::floor(length * scale + 0.5)); }

std::string VariantName(const std::string& name, const char* suffix) {
  return name.substr(0, name.size() - 4) + suffix + ".bmp";
}

// One skin drawn at every density, with its definition read against the
// 1x pictures and the framing it gives each picture.
struct DrawnSkin {
  const SkinUnderTest& skin;
  std::map<std::string, Raster> design;
  core::SkinDefinition def;
  std::map<std::string, Framing> framing;

  explicit DrawnSkin(const SkinUnderTest& s) : skin(s), design(skingen::DrawSkinArt(s.palette)) {
    std::map<std::string, std::vector<std::uint8_t>> files;
    for (const auto& [name, raster] : design) files[name] = raster.ToBmp();
    def = skin_pictures::DefinedSkin(files, skin_pictures::ReadFile(skin_pictures::DefinitionPath(s.definition))).def;
    framing = skin_pictures::FramedPictures(def);
  }

  std::map<std::string, Raster> At(const skingen::Density& density) const {
    return skingen::DrawSkinArt(skin.palette, density);
  }
};

struct Box {
  int x, y, w, h;
};

Box FrameBox(const Raster& r, const Framing& f, int index) {
  if (f.stacked) return Box{0, index * r.height() / f.frames, r.width(), r.height() / f.frames};
  return Box{index * r.width() / f.frames, 0, r.width() / f.frames, r.height()};
}

Raster CropFrame(const Raster& r, const Framing& f, int index) {
  const Box b = FrameBox(r, f, index);
  return r.Crop(b.x, b.y, b.w, b.h);
}

// The frames of every picture at one density, by picture name. The four
// frame pieces are put back together into the window they were cut from
// (its client area a fixed colour), because their corners run across the
// cuts: at finer densities a corner's curve may reach into a piece that is
// opaque at 1x.
std::map<std::string, std::vector<Raster>> FramesOf(const std::map<std::string, Raster>& art, const DrawnSkin& drawn) {
  std::map<std::string, std::vector<Raster>> out;
  const core::SkinDefinition& d = drawn.def;
  const std::set<std::string> pieces = {d.BorderLeft.Image, d.BorderRight.Image, d.BorderTop.Image,
                                        d.BorderBottom.Image};
  for (const auto& [name, raster] : art) {
    if (pieces.count(name)) continue;
    const Framing& f = drawn.framing.at(name);
    for (int i = 0; i < f.frames; ++i) out[name].push_back(CropFrame(raster, f, i));
  }
  for (int i = 0; i < d.BorderLeft.FrameCount; ++i) {
    const Raster left = CropFrame(art.at(d.BorderLeft.Image), {d.BorderLeft.FrameCount, false}, i);
    const Raster right = CropFrame(art.at(d.BorderRight.Image), {d.BorderRight.FrameCount, false}, i);
    const Raster top = CropFrame(art.at(d.BorderTop.Image), {d.BorderTop.FrameCount, true}, i);
    const Raster bottom = CropFrame(art.at(d.BorderBottom.Image), {d.BorderBottom.FrameCount, true}, i);
    Raster window(left.width() + top.width() + right.width(), left.height(), 0x010203);
    window.Blit(left, 0, 0);
    window.Blit(top, left.width(), 0);
    window.Blit(bottom, left.width(), left.height() - bottom.height());
    window.Blit(right, left.width() + top.width(), 0);
    out["window frame"].push_back(window);
  }
  return out;
}

// Calls check(design frame, scaled frame, density, frame number) for every
// frame of every picture of both skins at 1.5x and 2x.
template <typename Check>
void ForEveryScaledFrame(Check check) {
  for (const SkinUnderTest& skin : kSkins) {
    const DrawnSkin drawn(skin);
    const auto design = FramesOf(drawn.design, drawn);
    for (const skingen::Density& density : kScaled) {
      const auto scaled = FramesOf(drawn.At(density), drawn);
      for (const auto& [name, frames] : design) {
        SCOPED_TRACE(std::string(skin.label) + " " + density.EntryName(name));
        for (std::size_t i = 0; i < frames.size(); ++i)
          check(frames[i], scaled.at(name).at(i), density, static_cast<int>(i) + 1);
      }
    }
  }
}

void ExpectSizeRule(const std::string& name, core::ImageSize design, core::ImageSize scaled, const Framing& f,
                    double scale) {
  ASSERT_EQ((f.stacked ? design.height : design.width) % f.frames, 0) << name;
  core::ImageSize expected;
  if (f.stacked) {
    expected = {Scaled(design.width, scale), f.frames * Scaled(design.height / f.frames, scale)};
  } else {
    expected = {f.frames * Scaled(design.width / f.frames, scale), Scaled(design.height, scale)};
  }
  EXPECT_EQ(scaled, expected) << name << " at " << scale << "x: " << scaled.width << " x " << scaled.height
                              << ", expected " << expected.width << " x " << expected.height;
}

core::ImageSize SizeOf(const Raster& r) { return {r.width(), r.height()}; }

TEST(DensityVariants, EveryPictureOfBothSkinsFollowsTheSizeRule) {
  for (const SkinUnderTest& skin : kSkins) {
    const DrawnSkin drawn(skin);
    // Every picture is named by the definition, so every one has a framing.
    EXPECT_EQ(drawn.framing.size(), drawn.design.size()) << skin.label;
    for (const skingen::Density& density : kScaled) {
      const std::map<std::string, Raster> scaled = drawn.At(density);
      ASSERT_EQ(scaled.size(), drawn.design.size());
      for (const auto& [name, design] : drawn.design) {
        ASSERT_TRUE(drawn.framing.count(name)) << name << " is not named by the definition";
        ExpectSizeRule(name, SizeOf(design), SizeOf(scaled.at(name)), drawn.framing.at(name), density.Factor());
      }
    }
  }
  // Frames round one by one: thirteen-pixel glyphs are 20 wide at 1.5x, so
  // four make 80, not 13 × 4 × 1.5 = 78.
  const auto light = skingen::DrawSkinArt(skingen::LightPalette(), skingen::kDensities[1]);
  EXPECT_EQ(SizeOf(light.at("check.bmp")), (core::ImageSize{80, 20}));
  EXPECT_EQ(SizeOf(light.at("scroll_arrows.bmp")), (core::ImageSize{23 * 26, 26}));
  EXPECT_EQ(SizeOf(light.at("frame_top.bmp")), (core::ImageSize{132, 2 * 45}));
  EXPECT_EQ(SizeOf(skingen::DrawSkinArt(skingen::LightPalette(), skingen::kDensities[2]).at("button.bmp")),
            (core::ImageSize{5 * 48, 48}));
}

TEST(DensityVariants, TheBuiltArchivesCarryEveryVariantBesideItsPicture) {
  // The Meridian skins' pictures carry alpha and are drawn by their own
  // generator; their archives keep the same rules.
  for (const char* archive : {"default.skin", "dark.skin", "flat.skin", "meridian.skin", "meridian_dark.skin"}) {
    SCOPED_TRACE(archive);
    const std::string bytes = skin_pictures::ReadFile(std::string(SKINS_BUILD_DIR) + "/" + archive);
    ASSERT_FALSE(bytes.empty());
    core::ByteStream source(std::vector<std::uint8_t>(bytes.begin(), bytes.end()));
    core::StderrMessageSink sink;
    core::TSkinReader reader(&sink);
    ASSERT_TRUE(reader.LoadArchive(source));

    core::ByteStream definition;
    std::string definition_name;
    reader.ExtractFirstMatching(".ini", definition, definition_name);
    EXPECT_EQ(definition_name, reader.Names().front()) << "the definition comes first";
    std::map<std::string, std::vector<std::uint8_t>> files;
    for (const std::string& name : reader.Names()) {
      core::ByteStream entry;
      reader.ExtractFile(name, entry);
      files[name].assign(entry.Bytes().begin(), entry.Bytes().end());
    }
    const auto text = definition.Bytes();
    const skin_pictures::DefinedSkin defined(files, std::string(text.begin(), text.end()));
    EXPECT_TRUE(defined.missing.empty());
    const std::map<std::string, Framing> framing = skin_pictures::FramedPictures(defined.def);

    // The definition, each picture, and its two variants: nothing else.
    EXPECT_EQ(reader.Count(), 1 + 3 * framing.size());
    for (const auto& [name, f] : framing) {
      for (const auto& [suffix, scale] : {std::pair{"@1.5x", 1.5}, std::pair{"@2x", 2.0}}) {
        const std::string variant = VariantName(name, suffix);
        ASSERT_TRUE(files.count(variant)) << variant << " is not in the archive";
        ExpectSizeRule(variant, defined.Size(name), *core::ReadBitmapSize(files.at(variant)), f, scale);
      }
    }
  }
}

bool IsMagenta(const Raster& r, int x, int y) { return r.At(x, y) == kMagenta; }

// Where the scaled picture is transparent, compared with a nearest-neighbour
// upscale of the 1x picture (each scaled pixel takes the design pixel its
// centre falls in). Redrawing is not upscaling: an edge snaps to a whole
// pixel that may lie one pixel from the upscale's, an inset of one design
// pixel may round to two at 1.5x, and curves and 45-degree arrow sides
// drawn on the finer grid leave the upscale's two-pixel staircase by up to
// two pixels. So, per frame:
// - every transparent pixel lies within two pixels of a transparent pixel of
//   the upscale, and every opaque one within two pixels of an opaque one;
// - the number of transparent pixels differs from the upscale's by no more
//   than the length of the upscale's transparent outline (in pixel edges),
//   as if each stretch of outline had moved by at most one pixel. A corner
//   left at its 1x radius, or a transparent area filled or added, breaks it.
constexpr int kMaskTolerance = 2;

TEST(DensityVariants, TransparentPixelsLieWhereTheUpscaledDesignHasThem) {
  double worst_amount = 0;
  ForEveryScaledFrame([&](const Raster& design, const Raster& scaled, const skingen::Density&, int frame) {
    const int w = scaled.width(), h = scaled.height();
    std::vector<char> upscaled(static_cast<std::size_t>(w * h));
    for (int y = 0; y < h; ++y)
      for (int x = 0; x < w; ++x)
        upscaled[static_cast<std::size_t>(y * w + x)] =
            IsMagenta(design, (2 * x + 1) * design.width() / (2 * w), (2 * y + 1) * design.height() / (2 * h));
    auto up = [&](int x, int y) { return upscaled[static_cast<std::size_t>(y * w + x)] != 0; };
    int far = 0, transparent = 0, upscaled_transparent = 0, outline = 0;
    for (int y = 0; y < h; ++y)
      for (int x = 0; x < w; ++x) {
        const bool magenta = IsMagenta(scaled, x, y);
        transparent += magenta;
        upscaled_transparent += up(x, y);
        outline += (x + 1 < w && up(x, y) != up(x + 1, y)) + (y + 1 < h && up(x, y) != up(x, y + 1));
        if (magenta == up(x, y)) continue;
        bool near = false;
        for (int j = std::max(0, y - kMaskTolerance); j <= std::min(h - 1, y + kMaskTolerance) && !near; ++j)
          for (int i = std::max(0, x - kMaskTolerance); i <= std::min(w - 1, x + kMaskTolerance) && !near; ++i)
            near = up(i, j) == magenta;
        if (!near && far++ == 0) {
          ADD_FAILURE() << "frame " << frame << ": pixel (" << x << ", " << y << ") is "
                        << (magenta ? "transparent" : "opaque") << " with no such pixel of the upscaled design within "
                        << kMaskTolerance << " pixels";
        }
      }
    const int change = std::abs(transparent - upscaled_transparent);
    EXPECT_LE(change, outline) << "frame " << frame << ": " << transparent << " transparent pixels, the upscale has "
                               << upscaled_transparent << " with an outline of " << outline;
    if (outline > 0) worst_amount = std::max(worst_amount, static_cast<double>(change) / outline);
  });
  std::printf("largest change in transparent pixels: %.2f of the outline length\n", worst_amount);
}

int DistanceFromMagenta(Rgb c) {
  const int r = static_cast<int>(c >> 16 & 0xFF), g = static_cast<int>(c >> 8 & 0xFF), b = static_cast<int>(c & 0xFF);
  return std::max({255 - r, g, 255 - b});
}

std::set<Rgb> ColoursOf(const Raster& r) {
  std::set<Rgb> colours;
  for (int y = 0; y < r.height(); ++y)
    for (int x = 0; x < r.width(); ++x) colours.insert(r.At(x, y));
  return colours;
}

TEST(DensityVariants, EdgesAreNeverBlendedSoNoPinkFringeAppears) {
  ForEveryScaledFrame([&](const Raster& design, const Raster& scaled, const skingen::Density&, int frame) {
    const std::set<Rgb> allowed = ColoursOf(design);
    for (const Rgb colour : ColoursOf(scaled)) {
      // A smoothed edge would bring in colours between its two sides.
      EXPECT_TRUE(allowed.count(colour)) << "frame " << frame << ": colour " << std::hex << colour
                                         << " is not in the 1x picture";
      // And magenta mixed into an edge gives a pink that is not cut out.
      EXPECT_TRUE(colour == kMagenta || DistanceFromMagenta(colour) > 0x60)
          << "frame " << frame << ": pinkish colour " << std::hex << colour;
    }
  });
}

// A hairline of the 1x picture: a one-pixel run of colour `line` between two
// other colours, the same on three neighbouring rows (or columns).
struct Hairline {
  int x, y;  // the middle pixel, in the design frame
  bool vertical;
  Rgb before, line, after;
};

std::vector<Hairline> FindHairlines(const Raster& r) {
  std::vector<Hairline> found;
  auto at = [&](bool vertical, int along, int across) { return vertical ? r.At(across, along) : r.At(along, across); };
  for (const bool vertical : {true, false}) {
    const int length = vertical ? r.height() : r.width(), breadth = vertical ? r.width() : r.height();
    for (int along = 1; along + 1 < length; ++along)
      for (int across = 1; across + 1 < breadth; ++across) {
        auto triple = [&](int a) {
          return std::array<Rgb, 3>{at(vertical, a, across - 1), at(vertical, a, across), at(vertical, a, across + 1)};
        };
        const auto t = triple(along);
        if (t[0] == t[1] || t[2] == t[1] || triple(along - 1) != t || triple(along + 1) != t) continue;
        found.push_back(vertical ? Hairline{across, along, true, t[0], t[1], t[2]}
                                 : Hairline{along, across, false, t[0], t[1], t[2]});
      }
  }
  return found;
}

TEST(DensityVariants, HairlinesAreOneOrTwoPixelsAt1_5xAndTwoAt2x) {
  int checked = 0, one_wide = 0, two_wide = 0;
  ForEveryScaledFrame([&](const Raster& design, const Raster& scaled, const skingen::Density& density, int frame) {
    for (const Hairline& line : FindHairlines(design)) {
      // The scaled row (or column) through the middle of the design pixel.
      const double kx = static_cast<double>(scaled.width()) / design.width();
      const double ky = static_cast<double>(scaled.height()) / design.height();
      const int sx = static_cast<int>((line.x + 0.5) * kx), sy = static_cast<int>((line.y + 0.5) * ky);
      const int centre = line.vertical ? sx : sy;
      auto at = [&](int across) { return line.vertical ? scaled.At(across, sy) : scaled.At(sx, across); };
      const int breadth = line.vertical ? scaled.width() : scaled.height();
      // The run of the line's colour nearest to where the line maps.
      int start = -1;
      for (const int offset : {0, -1, 1}) {
        const int p = centre + offset;
        if (p >= 0 && p < breadth && at(p) == line.line) {
          start = p;
          break;
        }
      }
      const std::string where = "frame " + std::to_string(frame) + (line.vertical ? ": vertical" : ": horizontal") +
                                " hairline at (" + std::to_string(line.x) + ", " + std::to_string(line.y) + ")";
      if (start < 0) {
        ADD_FAILURE() << where << " is missing";
        continue;
      }
      while (start > 0 && at(start - 1) == line.line) --start;
      int end = start;
      while (end + 1 < breadth && at(end + 1) == line.line) ++end;
      ++checked;
      const int width = end - start + 1;
      if (density.Factor() == 2.0) {
        // At 2x every design edge has an exact place, so the line is exactly
        // twice as wide, where it was, between what it was between.
        EXPECT_EQ(width, 2) << where << " is " << width << " pixels wide";
        EXPECT_EQ(start, 2 * (line.vertical ? line.x : line.y)) << where;
        EXPECT_TRUE(start > 0 && at(start - 1) == line.before && end + 1 < breadth && at(end + 1) == line.after)
            << where << " lost its neighbours";
      } else {
        // At 1.5x a drawn hairline stays one pixel and a one-pixel gap
        // between two shapes may open to two; never blurred or lost.
        EXPECT_TRUE(width == 1 || width == 2) << where << " is " << width << " pixels wide";
        ++(width == 1 ? one_wide : two_wide);
      }
    }
  });
  EXPECT_GT(checked, 100);
  // Drawn hairlines outnumber gaps: most stay one pixel at 1.5x.
  EXPECT_GT(one_wide, 4 * two_wide) << one_wide << " one pixel wide, " << two_wide << " two pixels wide";
  std::printf("hairlines checked: %d; at 1.5x %d one pixel, %d two pixels wide\n", checked, one_wide, two_wide);
}

TEST(DensityVariants, TheFramePiecesStretchNoTransparencyAlongTheWindowEdge) {
  // The middle of a frame piece is stretched along the window; a transparent
  // pixel there would cut a notch out of the window region.
  for (const SkinUnderTest& skin : kSkins) {
    const DrawnSkin drawn(skin);
    const core::SkinDefinition& d = drawn.def;
    for (const skingen::Density& density : skingen::kDensities) {
      const std::map<std::string, Raster> art = drawn.At(density);
      for (const auto* piece : {&d.BorderLeft, &d.BorderRight, &d.BorderTop, &d.BorderBottom}) {
        const bool side = piece == &d.BorderLeft || piece == &d.BorderRight;
        const Raster& r = art.at(piece->Image);
        const int frames = piece->FrameCount;
        for (int f = 0; f < frames; ++f) {
          const Box b = FrameBox(r, Framing{frames, !side}, f);
          const int first = Scaled(side ? piece->TopHeight : piece->LeftWidth, density.Factor());
          const int last = (side ? b.h : b.w) - Scaled(side ? piece->BottomHeight : piece->RightWidth, density.Factor());
          int holes = 0;
          for (int along = first; along < last; ++along)
            for (int across = 0; across < (side ? b.w : b.h); ++across)
              holes += side ? IsMagenta(r, b.x + across, b.y + along) : IsMagenta(r, b.x + along, b.y + across);
          EXPECT_EQ(holes, 0) << skin.label << " " << density.EntryName(piece->Image) << " frame " << f + 1;
        }
      }
    }
  }
}

}  // namespace
