#include "skin/form/skin_popup_menu.h"

#include <algorithm>

#include "gui/handles.h"
#include "skin/data/element_draw.h"
#include "skin/data/skin_data.h"
#include "skin/data/skin_protocol.h"
#include "skin/form/skinner_host.h"

namespace skin {

thread_local TWinSkinPopMenu* PendingMenuSkinner = nullptr;

namespace {
std::vector<TWinSkinPopMenu*>& LiveSkinners() {
  // Never destroyed: with mingw-w64 a thread-local object is destroyed at
  // thread exit after its storage has been freed.
  thread_local auto* live = new std::vector<TWinSkinPopMenu*>;
  return *live;
}
}  // namespace

TWinSkinPopMenu::TWinSkinPopMenu(ISkinnerHost* host) : host_(host) { LiveSkinners().push_back(this); }

TWinSkinPopMenu::~TWinSkinPopMenu() {
  // Freed without its WM_DESTROY (process end): still give the window back.
  Detach();
  if (PendingMenuSkinner == this) PendingMenuSkinner = nullptr;
  std::erase(LiveSkinners(), this);
}

const std::vector<TWinSkinPopMenu*>& TWinSkinPopMenu::Live() { return LiveSkinners(); }

void TWinSkinPopMenu::MarkAllFromMenuBar() {
  for (TWinSkinPopMenu* skinner : LiveSkinners()) skinner->fromMenuBar_ = true;
}

gui::TBitmap* TWinSkinPopMenu::BackgroundOf(HMENU menu) {
  for (TWinSkinPopMenu* skinner : LiveSkinners())
    if (skinner->menuHandle_ == menu) return &skinner->background_;
  return nullptr;
}

void TWinSkinPopMenu::BindPending(HMENU menu) {
  if (PendingMenuSkinner && menu) {
    PendingMenuSkinner->menuHandle_ = menu;
    PendingMenuSkinner = nullptr;
  }
}

void TWinSkinPopMenu::Attach(HWND menuWindow, TSkinData* skinData, HMENU menu) {
  menuWindow_ = menuWindow;
  skinData_ = skinData;
  menuHandle_ = menu;
  subclass_.Attach(menuWindow, [this](UINT msg, WPARAM wParam, LPARAM lParam) { return WndProc(msg, wParam, lParam); });
  fromMenuBar_ = false;
}

void TWinSkinPopMenu::Detach() {
  if (!subclass_.Attached()) return;
  subclass_.Detach();
  background_.SetSize(0, 0);
}

LRESULT TWinSkinPopMenu::WndProc(UINT msg, WPARAM wParam, LPARAM lParam) {
  if (msg == SkinMsgQuery) return 1;
  if (host_ && !host_->IsSkinningOn()) return subclass_.CallPrevious(msg, wParam, lParam);
  switch (msg) {
    case WM_DESTROY:
      Detach();
      return subclass_.CallPrevious(msg, wParam, lParam);
    case WM_NCPAINT:
      return PaintFrame(msg, wParam, lParam);
    case WM_PRINT:
      return PaintBackground(msg, wParam, lParam);
    default:
      return subclass_.CallPrevious(msg, wParam, lParam);
  }
}

bool TWinSkinPopMenu::RenderBackground() {
  if (!skinData_ || skinData_->SkinLoading()) return false;
  TDataSkinObject* element = skinData_->Skin().MenuBackground.get();
  if (!element || element->Image.Empty()) return false;
  RECT r{};
  GetWindowRect(menuWindow_, &r);
  OffsetRect(&r, -r.left, -r.top);
  background_ = RenderElement(r, *element, {.Frames = 1});
  if (!menuHandle_) PendingMenuSkinner = this;
  return !background_.Empty();
}

// WM_NCPAINT: the outer band of the rendered element, straight onto the
// window DC; the system's own frame is never drawn.
LRESULT TWinSkinPopMenu::PaintFrame(UINT msg, WPARAM wParam, LPARAM lParam) {
  if (!RenderBackground()) return subclass_.CallPrevious(msg, wParam, lParam);
  gui::WindowDc dc = gui::WindowDc::Whole(menuWindow_);
  if (!dc) return 0;
  const int w = background_.Width(), h = background_.Height(), b = kFrameBand;
  HDC source = background_.DC();
  BitBlt(dc.get(), 0, 0, w, b, source, 0, 0, SRCCOPY);
  BitBlt(dc.get(), 0, h - b, w, b, source, 0, h - b, SRCCOPY);
  BitBlt(dc.get(), 0, 0, b, h, source, 0, 0, SRCCOPY);
  BitBlt(dc.get(), w - b, 0, b, h, source, w - b, 0, SRCCOPY);
  return 0;
}

// WM_PRINT (the system drawing the menu for its animation): the whole
// element first, then the system's items clipped to the inside of the band.
LRESULT TWinSkinPopMenu::PaintBackground(UINT msg, WPARAM wParam, LPARAM lParam) {
  HDC dc = reinterpret_cast<HDC>(wParam);
  if (!dc || !RenderBackground()) return subclass_.CallPrevious(msg, wParam, lParam);
  const int w = background_.Width(), h = background_.Height(), b = kFrameBand;
  BitBlt(dc, 0, 0, w, h, background_.DC(), 0, 0, SRCCOPY);
  gui::SavedDcState saved(dc);
  SetBkMode(dc, TRANSPARENT);
  IntersectClipRect(dc, b, b, w - b, h - b);
  return subclass_.CallPrevious(msg, wParam, lParam);
}

}  // namespace skin
