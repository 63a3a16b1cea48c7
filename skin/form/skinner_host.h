// What the window skinners (form skinners and popup-menu skinners) ask of
// the coordinator that created them, the skin manager one level up:
// whether skinning is on, the state all multiple-document windows share,
// the default window icons, and that it forget a form skinner being freed. A
// skinner made without a host (as tests do) behaves as the only skinned
// window of the process, with skinning on.
#pragma once
#include <windows.h>

namespace gui {
class TBitmap;
}

namespace skin {

class TSkinData;
class TWinSkinForm;

class ISkinnerHost {
 public:
  virtual bool IsSkinningOn() const = 0;
  // MDI children are shown maximised.
  virtual bool IsMdiMaximized() const = 0;
  virtual void ChangeMdiMaximized(bool value) = 0;
  // The client window of the MDI frame attached last.
  virtual HWND MdiClientWindow() const = 0;
  virtual void SetMdiClientWindow(HWND client) = 0;
  // Skins a window the way the coordinator skins one it sees activated
  // (an MDI child made through its frame's client); false when it does not.
  virtual bool SkinNewWindow(HWND wnd) = 0;
  // The icon a window skinned with `data` shows when it has none of its
  // own, or none.
  virtual gui::TBitmap* DefaultWindowIcon(const TSkinData* data) = 0;
  // A window skinned with `data` has an icon: the component keeps it as
  // its default window icon unless it has one already.
  virtual void OfferWindowIcon(const TSkinData* data, const gui::TBitmap& icon) = 0;
  virtual void FormSkinnerGone(TWinSkinForm* skinner) = 0;

 protected:
  ~ISkinnerHost() = default;
};

}  // namespace skin
