// Skin colours: a Windows COLORREF (0x00BBGGRR) or a system colour written as
// 0xFF000000 plus a COLOR_ index, which the drawing layer resolves.
#pragma once
#include <cstdint>
#include <string_view>

namespace core {

using SkinColour = std::uint32_t;

constexpr SkinColour kSystemColourFlag = 0xFF000000u;

constexpr SkinColour SystemColour(int index) { return kSystemColourFlag | static_cast<SkinColour>(index); }
constexpr SkinColour Rgb(int red, int green, int blue) {
  return static_cast<SkinColour>(red & 0xFF) | static_cast<SkinColour>(green & 0xFF) << 8 |
         static_cast<SkinColour>(blue & 0xFF) << 16;
}

// The COLOR_ indexes the definition's defaults use.
namespace system_colour {
constexpr SkinColour kScrollbar = SystemColour(0);
constexpr SkinColour kMenu = SystemColour(4);
constexpr SkinColour kWindow = SystemColour(5);
constexpr SkinColour kMenuText = SystemColour(7);
constexpr SkinColour kWindowText = SystemColour(8);
constexpr SkinColour kCaptionText = SystemColour(9);
constexpr SkinColour kHighlight = SystemColour(13);
constexpr SkinColour kHighlightText = SystemColour(14);
constexpr SkinColour kButtonFace = SystemColour(15);
constexpr SkinColour kButtonShadow = SystemColour(16);
constexpr SkinColour kGrayText = SystemColour(17);
constexpr SkinColour kButtonText = SystemColour(18);
constexpr SkinColour kInactiveCaptionText = SystemColour(19);
constexpr SkinColour kButtonHighlight = SystemColour(20);
constexpr SkinColour kDarkShadow3d = SystemColour(21);
constexpr SkinColour kInfoText = SystemColour(23);
constexpr SkinColour kInfoBk = SystemColour(24);
constexpr SkinColour kHotLight = SystemColour(26);
}  // namespace system_colour

// "R G B" with any non-digit characters between the numbers. Empty text gives
// the fallback. Runs of digits are the numbers; a run that ends the text
// counts only as the third number; a run too large for a 32-bit integer is
// skipped; only the first three numbers are used, each cut to its low 8 bits,
// and numbers not found count as 0.
SkinColour ParseColour(std::string_view text, SkinColour fallback);

}  // namespace core
