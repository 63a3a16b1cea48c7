// Pictures of a skin drawn for a denser screen. A skin is drawn at 96 dots
// per inch; at another density every length is scaled by dpi / 96, rounding
// halves away from zero (as MulDiv does), and every picture frame by frame,
// so that a strip of n frames stays n frames of equal size. An archive may
// carry a picture's density variants ("name@1.5x.bmp", "name@2x.bmp"); the
// nearest one is the source and is scaled the rest of the way.
#pragma once
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace core {

constexpr int kDesignDpi = 96;

// A length of the skin's 96-dpi pixels at `dpi`.
std::int32_t ScaleLength(std::int32_t pixels, int dpi);

// The density variants an archive may hold, by the scale they are drawn at.
struct DensityVariant {
  int dpi;             // the density the variant is drawn for: 144 for 1.5x, 192 for 2x
  const char* suffix;  // inserted before ".bmp"
};
inline constexpr DensityVariant kDensityVariants[] = {{144, "@1.5x"}, {192, "@2x"}};

// Whether an entry name is a density variant's ("name@2x.bmp"), compared
// without regard to case.
bool IsDensityVariantName(std::string_view entry);

// The archive entry name of a picture's variant: "frame_top.bmp" with
// "@2x" gives "frame_top@2x.bmp". Empty for a name without ".bmp".
std::string VariantEntryName(const std::string& entry, const char* suffix);

// Which source to draw at `dpi`: 96 (the picture itself) or the dpi of one
// of `available` variants, whichever is nearest to `dpi`; on a tie the
// denser one, since scaling down loses less than scaling up.
int ChooseSourceDpi(int dpi, std::span<const int> available);

// A picture as top-down rows of 0x00RRGGBB pixels, or of premultiplied
// 0xAARRGGBB pixels when it carries alpha.
struct Pixels {
  int width = 0, height = 0;
  std::vector<std::uint32_t> data;
  bool alpha = false;
};

// How a picture is cut into frames: columns side by side, rows stacked.
struct FrameGrid {
  int columns = 1, rows = 1;
};

// The size the picture of 1x size `design` (cut by `grid`) has at `dpi`:
// every frame scaled by itself. Nothing when the size does not divide by the
// grid.
std::optional<std::pair<int, int>> ScaledPictureSize(int width, int height, FrameGrid grid, int dpi);

// Scales `source` frame by frame to width × height (each a multiple of the
// grid). Whole multiples of the frame size are scaled by repeating pixels,
// so lines stay crisp; other sizes by averaging the source area each target
// pixel covers, where magenta (255, 0, 255, and 255, 1, 255 which regions also cut
// out) is never mixed in: a target
// pixel is magenta exactly when the source pixel at its centre is, so
// transparency keeps hard edges. A picture with alpha is averaged on all
// four premultiplied channels alike, which keeps it premultiplied, and
// magenta is a colour like any other there. Nothing when the sizes do not
// divide.
std::optional<Pixels> ScaleFrames(const Pixels& source, FrameGrid grid, int width, int height);

}  // namespace core
