// The window region of a skinned frame: cut from the frame as composed where
// a border piece is transparent, a plain rectangle elsewhere, and set only
// when what it is made from has changed.
#include "skin/data/element_draw.h"
#include "skin/data/paint_guard.h"
#include "skin/data/skin_data.h"
#include "skin/data/skin_draw.h"
#include "skin/data/skin_region.h"
#include "skin/form/frame_pieces.h"
#include "skin/form/skin_form.h"

namespace skin {

gui::RegionHandle TWinSkinForm::BandRegion(int index, const RECT& band, bool fromCache) {
  TDataSkinBorder& piece = BorderPiece(skinData_->Skin(), index);
  // A piece with alpha is cut where it covers nothing, which only the piece
  // itself still tells once it is blended into the frame.
  const bool alpha = piece.Image.Bitmap().PremultipliedAlpha;
  if (!alpha && FrameComposedAt(band)) {
    // The composed frame holds every piece as painted: cut the band from it
    // rather than render the piece again.
    GdiFlush();
    const auto* bits = reinterpret_cast<const std::uint8_t*>(frameCache_.Bits());
    const std::ptrdiff_t stride = static_cast<std::ptrdiff_t>(frameCache_.Width()) * 4;
    const TScanLines lines{bits + band.top * stride + band.left * 4, stride, band.right - band.left,
                           band.bottom - band.top};
    return CreateRegionFromScanLines(lines, band.left, band.top, 1, 1, 1, TransparentColour);
  }
  if (!alpha && fromCache) {
    gui::TBitmap part(band.right - band.left, band.bottom - band.top);
    BitBlt(part.DC(), 0, 0, part.Width(), part.Height(), frameCache_.DC(), band.left, band.top, SRCCOPY);
    return CreateRegionFromBitmap(part, band.left, band.top, 1, 1, 1, TransparentColour);
  }
  gui::TBitmap rendered = RenderedPiece(index, band);
  if (rendered.Empty()) return gui::RegionHandle(CreateRectRgnIndirect(&band));
  return CreateRegionFromBitmap(rendered, band.left, band.top, 1, 1, 1, TransparentColour);
}

bool TWinSkinForm::FrameComposedAt(const RECT& band) const {
  // A mirrored frame's pixels lie reflected in the bitmap; its bands are
  // cut from the copies a context of the layout's own makes instead.
  return frameCacheKey_ && !facts_.Mirrored && frameCache_.Bits() && band.left >= 0 && band.top >= 0 && band.left < band.right &&
         band.top < band.bottom && band.right <= frameCache_.Width() && band.bottom <= frameCache_.Height();
}

bool TWinSkinForm::UpdateRegion() {
  if (!skinData_) return false;
  RECT window{};
  GetWindowRect(wnd_, &window);
  const SIZE size{window.right - window.left, window.bottom - window.top};
  const int w = size.cx, h = size.cy;
  if (w <= 0 || h <= 0 || IsRunningMdiChildOutOfNormal()) return false;
  const TRegionKey key{w, h, facts_.Show, facts_.Frame, facts_.MenuHeight, skinData_->SkinGeneration()};
  // The same region again would cost a round trip to the display server.
  if (regionKey_ == key && facts_.Mdi != mkChild) return false;
  TSkinContent& skin = skinData_->Skin();
  HRGN region;
  if (!skin.BorderLeft.Transparent() && !skin.BorderRight.Transparent() && !skin.BorderTop.Transparent() &&
      !skin.BorderBottom.Transparent()) {
    region = CreateRectRgn(0, 0, w, h);
  } else {
    // The frame the next paint shows, composed now for this size if it is
    // not yet, is what the region is cut from.
    bool composed = false;
    if (FramePaintable()) PaintSwallowingFailures([&] {
      ComposedFrame();
      composed = true;
    });
    if (!composed || !(frameCacheKey_->Input == FrameInput(size))) DropFrameCache();
    const TFrameLayout layout = LayoutFrame(FrameInput(size));
    const RECT inner{layout.Left.right, layout.TitleBand.bottom, layout.Right.left, layout.Bottom.top};
    gui::RegionHandle all(CreateRectRgnIndirect(&inner));
    auto add = [&all](gui::RegionHandle part) {
      if (part) CombineRgn(all.get(), all.get(), part.get(), RGN_OR);
    };
    auto full = [](const RECT& band) { return gui::RegionHandle(CreateRectRgnIndirect(&band)); };
    const TFrameThickness& f = facts_.Frame;
    const RECT& bottom = layout.Bottom;
    const RECT& top = layout.TitleBand;
    add(skin.BorderLeft.Transparent() && h > 1 && f.Left > 0 ? BandRegion(bpLeft, layout.Left, false) : full(layout.Left));
    add(skin.BorderRight.Transparent() && h > 1 && f.Right > 0 ? BandRegion(bpRight, layout.Right, false)
                                                            : full(layout.Right));
    add(skin.BorderBottom.Transparent() && f.Bottom >= 2 && bottom.right > bottom.left
            ? BandRegion(bpBottom, bottom, false)
            : full(bottom));
    const bool cached = frameCacheKey_ && frameCache_.Width() == w && frameCache_.Height() == h;
    add(skin.BorderTop.Transparent() && f.Top > 1 && top.right > top.left ? BandRegion(bpTop, top, cached)
                                                                       : full(top));
    region = all.release();
  }
  // Kept first: the window is laid out again inside SetWindowRgn, and the
  // size message that brings must find this region already in force.
  regionKey_ = key;
  // The window owns the region from here on.
  SetWindowRgn(wnd_, region, TRUE);
  return true;
}

void TWinSkinForm::RemoveRegion() {
  if (!RegionSet()) return;
  DropFrameCache();
  SetWindowRgn(wnd_, nullptr, FALSE);
  regionKey_.reset();
}

}  // namespace skin
