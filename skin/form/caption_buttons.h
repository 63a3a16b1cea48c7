// The caption buttons of a skinned frame: one for each of the skin's
// caption-button elements, and the one non-client object (a caption button
// or a bar item) that is hot or pressed now. Where a button lies and whether
// it shows is the frame's layout's to say: painting at rest and finding the
// button under a point read the layout they are given.
#pragma once
#include <windows.h>

#include <memory>
#include <vector>

#include "skin/data/element_draw.h"
#include "skin/form/frame_layout.h"
#include "skin/form/nc_objects.h"

namespace gui {
class TBitmap;
}

namespace skin {

class TSkinContent;

// The window's icon in place of a caption button's picture: stretched to
// the button, magenta keyed.
inline TElementState IconState(const gui::TBitmap& icon) {
  return {.Fit = TElementFit::Stretch, .Frames = 1, .Keying = TElementKeying::Keyed, .Picture = &icon};
}

class TCaptionButtons {
 public:
  using TButtons = std::vector<std::unique_ptr<TWinSysButton>>;

  // One button for each of the skin's elements, none hot.
  void Build(TWinSkinForm* form, const TSkinContent& skin);
  void Clear();
  const TButtons& Buttons() const { return buttons_; }

  // What the layout is computed from, one entry per button. A window-icon
  // button whose element has no picture takes the icon's size (`icon`).
  std::vector<TCaptionButtonSpec> Specs(SIZE icon) const;
  // The button a hit test found (FrameHit's index), or none.
  TWinSysButton* Hit(const TFrameHit& hit) const;
  // Every button at rest where `layout` puts it; the maximised-child
  // buttons are the menu bar's to draw.
  void PaintAtRest(HDC dc, const TFrameLayout& layout, gui::TBitmap& icon, bool active) const;

  // The hot or pressed object, or none.
  TNCObject* Current() const { return current_; }
  void SetCurrent(TNCObject* object) { current_ = object; }

 private:
  TButtons buttons_;
  TNCObject* current_ = nullptr;
};

}  // namespace skin
