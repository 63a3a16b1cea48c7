#include "skin/form/caption_buttons.h"

#include "gui/bitmap.h"
#include "skin/data/element_draw.h"
#include "skin/data/skin_data.h"

namespace skin {

void TCaptionButtons::Build(TWinSkinForm* form, const TSkinContent& skin) {
  Clear();
  for (const auto& element : skin.SysButtonElements)
    buttons_.push_back(std::make_unique<TWinSysButton>(form, element.get(), buttons_.size()));
}

void TCaptionButtons::Clear() {
  current_ = nullptr;
  buttons_.clear();
}

std::vector<TCaptionButtonSpec> TCaptionButtons::Specs(SIZE icon) const {
  std::vector<TCaptionButtonSpec> specs;
  specs.reserve(buttons_.size());
  for (const auto& button : buttons_) {
    const TDataSkinSysButton& e = *button->Element;
    SIZE size = e.Image.Empty() ? SIZE{} : OneFrame(SIZE{e.Image.Width(), e.Image.Height()}, e.FrameCount);
    if (e.Image.Empty() && ShowsWindowIcon(e.Action)) size = icon;
    specs.push_back(TCaptionButtonSpec{e.Action, e.Align, e.XCoord, e.YCoord, e.Visibility, e.Visibility1, size});
  }
  return specs;
}

TWinSysButton* TCaptionButtons::Hit(const TFrameHit& hit) const {
  return hit.Button >= 0 && static_cast<std::size_t>(hit.Button) < buttons_.size()
             ? buttons_[static_cast<std::size_t>(hit.Button)].get()
             : nullptr;
}

void TCaptionButtons::PaintAtRest(HDC dc, const TFrameLayout& layout, gui::TBitmap& icon, bool active) const {
  for (std::size_t i = 0; i < buttons_.size() && i < layout.Buttons.size(); ++i) {
    TDataSkinSysButton& e = *buttons_[i]->Element;
    const TCaptionButtonPlace& place = layout.Buttons[i];
    if (!place.Visible || e.Visibility == bvMdiChildMaximized) continue;
    if (ShowsWindowIcon(e.Action)) {
      if (icon.Empty()) continue;
      DrawElement(dc, place.Bounds, e, IconState(icon));
      continue;
    }
    const int frame = (active || FramesOf(e) < 4) ? 1 : 4;
    DrawElement(dc, place.Bounds, e, {.Frame = frame, .Fit = TElementFit::Stretch, .Keying = TElementKeying::Keyed});
  }
}

}  // namespace skin
