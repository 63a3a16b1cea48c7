#include "skin/form/title_bar_facts.h"

#include "skin/data/skin_data.h"
#include "skin/data/skin_mirror.h"

namespace skin {

namespace {

// The title bar's part a caption button stands for; the title bar itself
// for buttons the system's title bar does not have.
gui::TTitleBarPart TitleBarPartOf(std::int32_t action) {
  switch (CaptionRoleOf(action)) {
    case TCaptionRole::Close: return gui::tpCloseButton;
    case TCaptionRole::Minimize: return gui::tpMinimizeButton;
    case TCaptionRole::Maximize: return gui::tpMaximizeButton;
    default: return gui::tpTitleBar;
  }
}

// A rectangle of the frame's layout on the screen: reflected across a
// mirrored window, whose layout counts from its right edge.
RECT OnScreen(RECT r, const RECT& window, bool mirrored) {
  if (mirrored) {
    const LONG w = window.right - window.left;
    r = RECT{w - r.right, r.top, w - r.left, r.bottom};
  }
  OffsetRect(&r, window.left, window.top);
  return r;
}

}  // namespace

gui::TTitleBarFacts TitleBarFactsOf(HWND wnd, const std::wstring& caption, bool maximized, const TFrameLayout& layout,
                                    const TCaptionButtons& buttons) {
  RECT window{};
  GetWindowRect(wnd, &window);
  const bool mirrored = IsMirrored(wnd);
  gui::TTitleBarFacts facts;
  facts.Window = wnd;
  facts.Caption = caption;
  facts.Maximized = maximized;
  facts.Bounds = OnScreen(layout.Title, window, mirrored);
  const TCaptionButtons::TButtons& all = buttons.Buttons();
  for (std::size_t i = 0; i < all.size() && i < layout.Buttons.size(); ++i) {
    const gui::TTitleBarPart part = TitleBarPartOf(all[i]->Element->Action);
    if (part == gui::tpTitleBar || !layout.Buttons[i].Visible) continue;
    auto& shown = facts.Buttons[static_cast<std::size_t>(part)];
    shown.Shown = true;
    shown.Pressed = all[i]->State == TNCObject::stPressed;
    shown.Bounds = OnScreen(layout.Buttons[i].Bounds, window, mirrored);
  }
  return facts;
}

LRESULT AnswerTitleBar(HWND wnd, const std::wstring& caption, bool maximized, const TFrameLayout& layout,
                       const TCaptionButtons& buttons, WPARAM wParam) {
  return gui::AnswerTitleBarObject(TitleBarFactsOf(wnd, caption, maximized, layout, buttons), wParam);
}

}  // namespace skin
