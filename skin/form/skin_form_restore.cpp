// The one way the skin comes off a window. Every mode runs the same steps in
// the same order, each in one place below; the mode decides only what of the
// window itself is touched.
//
//   step                        SkinOff   WindowGone   AttachFailed   SkinnerFreed
//   system popup, hover timer   yes       yes          yes            yes
//   window method, procedure    yes       yes          yes            yes
//   control skinners            yes       yes          yes            yes
//   common-control colours      yes       forgotten    yes            yes
//   popup menus                 yes       yes          yes            yes (unless the form goes)
//   form colour                 yes       yes          -              -
//   system caption              yes       -            style back     -
//   menu                        on window with window  on window      on window (unless the form goes)
//   frame pictures              yes       yes          yes            yes
//   region                      removed   forgotten    -              forgotten
//   size, activation look       yes       -            -              -
#include <utility>

#include "gui/forms.h"
#include "gui/menus.h"
#include "gui/timer.h"
#include "skin/data/skin_data.h"
#include "skin/form/skin_form.h"

namespace skin {

void TWinSkinForm::Restore(TRestoreMode mode) {
  delete std::exchange(skinSystemMenu_, nullptr);
  if (hoverTimer_) hoverTimer_->SetEnabled(false);
  if (childWalk_) childWalk_->SetEnabled(false);
  // Switched off before it was ever attached: nothing else was taken.
  if (mode == TRestoreMode::SkinOff && !subclass_.Attached()) return;
  formHook_.Detach();
  subclass_.Detach();
  UnsubclassMdiClient();
  FreeControlSkinners();
  if (mode == TRestoreMode::WindowGone)
    commonColours_.Forget();
  else
    commonColours_.GiveBack();
  // The popup menus' items call this skinner until they get back what they
  // had, whatever happens to the window (a form being freed frees them
  // first); and a form whose window is made again keeps its own colour for
  // the skin that comes next.
  if (form_ && skinData_ && !(mode == TRestoreMode::SkinnerFreed && form_->IsDestroying()))
    popups_.GiveBack(*form_, *skinData_);
  if (form_ && (mode == TRestoreMode::SkinOff || mode == TRestoreMode::WindowGone) && !form_->IsDestroying())
    form_->SetColor(savedColor_);
  if (frameSkinned_ && mode == TRestoreMode::SkinOff) SetSystemCaption(true);
  // The band the skin drew the bar in still counts in the size given back.
  const int menuHeight = facts_.MenuHeight;
  RestoreMenuBar(mode);
  DropFrameCache();
  scrollBars_.Forget();
  switch (mode) {
    case TRestoreMode::WindowGone:
    case TRestoreMode::SkinnerFreed:
      // The region went with the window, or stays with it.
      regionKey_.reset();
      return;
    case TRestoreMode::AttachFailed:
      if (static_cast<DWORD>(GetWindowLongPtrW(wnd_, GWL_STYLE)) != styleBeforeAttach_) {
        SetWindowLongPtrW(wnd_, GWL_STYLE, static_cast<LONG_PTR>(styleBeforeAttach_));
        RefreshFrame();
      }
      facts_.Style = styleBeforeAttach_;
      systemCaptionOn_ = true;
      facts_.WindowButtons &= static_cast<std::uint8_t>(~wbCaptionRemoved);
      return;
    case TRestoreMode::SkinOff:
      RestoreSize(menuHeight);
      return;
  }
}

void TWinSkinForm::RestoreMenuBar(TRestoreMode mode) {
  SetCurrentObject(nullptr);
  switch (mode) {
    case TRestoreMode::SkinOff:
      menuBar_.GiveBack(facts_.Mdi == mkFrame && mdiClient_ ? TMenuReturn::ThroughMdiClient : TMenuReturn::OnWindow);
      return;
    case TRestoreMode::AttachFailed:
      menuBar_.GiveBack(TMenuReturn::OnWindow);
      return;
    case TRestoreMode::WindowGone:
      menuBar_.GiveBack(TMenuReturn::WithWindow);
      return;
    case TRestoreMode::SkinnerFreed:
      // A form being freed takes its menu with it.
      menuBar_.GiveBack((form_ && form_->IsDestroying()) || !IsWindow(wnd_) ? TMenuReturn::LetGo : TMenuReturn::OnWindow);
      return;
  }
}

// Skin-off: the system frame comes back around the client size the skin
// frame held (or in the window size kept throughout), without the skin's
// region, showing the window's real activation state.
void TWinSkinForm::RestoreSize(int menuHeight) {
  if (!frameSkinned_) {
    if (form_)
      for (gui::TComponent* component : form_->Components())
        if (auto* control = dynamic_cast<gui::TWinControl*>(component); control && control->HandleAllocated())
          InvalidateRect(control->Handle(), nullptr, TRUE);
    return;
  }
  RECT r{};
  GetWindowRect(wnd_, &r);
  POINT p{r.left, r.top};
  if (facts_.Mdi == mkChild && host_) ScreenToClient(host_->MdiClientWindow(), &p);
  if (KeepsWindowSize()) {
    RefreshFrame();
  } else if (facts_.Mdi == mkChild || !(facts_.Style & WS_CHILD)) {
    SIZE client = ClientSizeForWindow(facts_.Frame, menuHeight, SIZE{r.right - r.left, r.bottom - r.top});
    const SIZE bars = ScrollBarsSize();
    client.cx -= bars.cx;
    client.cy -= bars.cy;
    SetWindowPos(wnd_, nullptr, p.x, p.y, client.cx + nativeFrameSize_.right, client.cy + nativeFrameSize_.bottom,
                 SWP_FRAMECHANGED | SWP_NOACTIVATE | SWP_NOZORDER);
  }
  // The system frees the region it held when it is replaced.
  SetWindowRgn(wnd_, nullptr, TRUE);
  regionKey_.reset();
  // WM_NCACTIVATE was answered here and never reached the system, whose own
  // frame would keep the activation state of the moment it was taken over
  // (the active window showing an inactive caption): tell it the real one.
  if (!(facts_.Style & WS_CHILD)) SendMessageW(wnd_, WM_NCACTIVATE, GetActiveWindow() == wnd_, 0);
}

}  // namespace skin
