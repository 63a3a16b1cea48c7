// libFuzzer target from a skin definition to the frame a window gets: the
// definition read as the engine reads it, its pictures given sizes from the
// input (the decoder's limit at most), the element geometry the form
// skinner takes from them (one frame of each border piece and caption
// button, the caption's shifts, every length scaled for the screen's
// density), then the frame laid out, hit tested and judged for a window
// whose size, style and state also come from the input. Whatever the
// numbers, nothing may overflow or read out of bounds (the sanitizers), the
// layout must answer every button, and a frame judged usable must have a
// caption to move the window by and, with a window menu, a close box.
#include <algorithm>
#include <array>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "core/skindef/bitmap_header.h"
#include "core/skindef/picture_scale.h"
#include "core/skindef/skin_definition.h"
#include "skin/form/frame_layout.h"

namespace {

// The input's first bytes: the window and the pictures' sizes; the rest is
// the definition.
constexpr std::size_t kParameters = 32;

class Parameters {
 public:
  explicit Parameters(std::string_view bytes) {
    for (std::size_t i = 0; i < kParameters && i < bytes.size(); ++i) bytes_[i] = static_cast<std::uint8_t>(bytes[i]);
  }
  std::uint8_t Byte(std::size_t i) const { return bytes_[i % kParameters]; }
  int Word(std::size_t i) const { return Byte(i) | Byte(i + 1) << 8; }

 private:
  std::array<std::uint8_t, kParameters> bytes_{};
};

// A caption somewhere in the title band's rows below its top edge.
bool CaptionHit(const skin::TFrameInput& in, const skin::TFrameLayout& layout, int topEdge) {
  for (int y = topEdge + 1; y < layout.Title.bottom; y += std::max(1, (layout.Title.bottom - topEdge) / 4))
    for (int x = 0; x < in.Window.cx; ++x)
      if (skin::FrameHitTest(in, layout, POINT{x, y}, topEdge, 0) == HTCAPTION) return true;
  return false;
}

// A close box where a user clicks one: in the middle of a shown button.
bool CloseHit(const skin::TFrameInput& in, const skin::TFrameLayout& layout, int topEdge) {
  for (const skin::TCaptionButtonPlace& place : layout.Buttons) {
    const POINT middle{(place.Bounds.left + place.Bounds.right) / 2, (place.Bounds.top + place.Bounds.bottom) / 2};
    if (place.Visible && skin::FrameHitTest(in, layout, middle, topEdge, 0) == HTCLOSE) return true;
  }
  return false;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view input(reinterpret_cast<const char*>(data), size);
  const Parameters p(input);
  const std::string_view text = input.size() > kParameters ? input.substr(kParameters) : std::string_view();

  // A picture's size: missing, or 1 to 4096 pixels each way, chosen by its
  // name and the input.
  const auto lookup = [&](const std::string& name) -> std::optional<core::ImageSize> {
    std::uint32_t h = 2166136261u ^ p.Byte(0);
    for (unsigned char c : name) h = (h ^ c) * 16777619u;
    if (h % 11 == 0) return std::nullopt;
    const auto side = [&](std::uint32_t v) { return static_cast<std::int32_t>(1 + (v % 7 == 0 ? v % core::kMaxPictureSide : v % 64)); };
    return core::ImageSize{side(h), side(h >> 11)};
  };
  const core::SkinDefinition def = core::ReadSkinDefinition(text, lookup);
  const int dpi = std::array{96, 120, 144, 192}[p.Byte(1) % 4];
  const auto px = [&](std::int32_t v) { return core::ScaleLength(v, dpi); };
  const auto picture = [&](const std::string& name) {
    const auto found = name.empty() ? std::nullopt : lookup(name);
    return found ? SIZE{px(found->width), px(found->height)} : SIZE{0, 0};
  };

  // The element geometry, as the form skinner takes it from the elements.
  skin::TFrameInput in;
  const auto thickness = [&](const core::SkinBorderDef& piece, bool stacked) {
    const SIZE one = skin::OneFrame(picture(piece.Image), piece.FrameCount, stacked);
    return stacked ? one.cy : one.cx;
  };
  in.Frame = skin::TFrameThickness{thickness(def.BorderLeft, false), thickness(def.BorderTop, true),
                                   thickness(def.BorderRight, false), thickness(def.BorderBottom, true)};
  for (const core::SkinSysButtonDef& b : def.SysButtonElements) {
    const SIZE whole = b.ImageWidth > 0 ? SIZE{px(b.ImageWidth), picture(b.Image).cy} : picture(b.Image);
    in.Buttons.push_back(skin::TCaptionButtonSpec{b.Action, b.Align, px(b.XCoord), px(b.YCoord), b.Visibility,
                                                  b.Visibility1, skin::OneFrame(whole, b.FrameCount)});
  }
  const core::SkinTitleDef& t = def.TitleElement;
  in.Caption = skin::TCaptionTextSpec{SIZE{p.Word(2) % 2048, p.Byte(4) % 64}, t.TextAlignment, px(t.LeftWidth),
                                      px(t.TopHeight), px(t.RightWidth), px(t.TextBackLeft), px(t.TextBackRight),
                                      px(5)};
  in.MenuBarMargin = def.MenuBar ? px(def.MenuBar->LeftWidth) : 0;

  // The window.
  in.Window = SIZE{p.Word(5) % 2048, p.Word(7) % 2048};
  in.Style = (p.Byte(9) & 1 ? WS_THICKFRAME : 0u) | (p.Byte(9) & 2 ? WS_POPUP : 0u);
  in.Show = static_cast<skin::TShowState>(p.Byte(10) % 3);
  in.Mdi = static_cast<skin::TMdiKind>(p.Byte(11) % 3);
  in.Kind = std::array{skin::fkSizing, skin::fkNone, skin::fkOther}[p.Byte(12) % 3];
  in.Active = p.Byte(13) & 1;
  in.RightToLeft = p.Byte(13) & 2;
  in.WindowButtons = p.Byte(14) & (skin::wbMaximize | skin::wbMinimize | skin::wbSystemMenu);
  in.MenuHeight = p.Byte(15) % 80;
  in.MenuRowHeight = p.Byte(16) % 40;
  in.MdiChildMaximized = p.Byte(13) & 4;
  in.Mirrored = p.Byte(13) & 8;

  const skin::TFrameLayout layout = skin::LayoutFrame(in);
  if (layout.Buttons.size() != in.Buttons.size()) std::abort();
  const int topEdge = p.Byte(17) % 8;
  for (std::size_t i = 0; i < 24; ++i) {
    const POINT at{p.Word(18 + i) % (in.Window.cx + 64) - 32, p.Word(19 + i) % (in.Window.cy + 64) - 32};
    (void)skin::FrameHitTest(in, layout, at, topEdge, p.Byte(i) % 16);
  }
  const skin::TFrameShortfall shortfall = skin::FrameShortfall(in, topEdge, SIZE{1024, 768});
  if (layout.Skinned && shortfall == skin::fsNone && in.Show == skin::shNormal) {
    if (!CaptionHit(in, layout, topEdge)) std::abort();
    if ((in.WindowButtons & skin::wbSystemMenu) && !CloseHit(in, layout, topEdge)) std::abort();
  }
  const SIZE client{in.Window.cx, in.Window.cy};
  const SIZE back = skin::ClientSizeForWindow(in.Frame, in.MenuHeight, skin::WindowSizeForClient(in.Frame, in.MenuHeight, client));
  if (back.cx != client.cx || back.cy != client.cy) std::abort();
  return 0;
}
