// TWinSkinPopMenu: takes over one popup-menu window ("#32768") and paints its
// frame and background from the skin's "MenuBackground" element; the items
// themselves are owner-drawn by the form skinner, which draws their
// backgrounds from the bitmap kept here.
#pragma once
#include <windows.h>

#include <vector>

#include "gui/bitmap.h"
#include "gui/subclass.h"

namespace skin {

class TSkinData;
class ISkinnerHost;

class TWinSkinPopMenu {
 public:
  // Width of the band around the menu that the frame painting covers.
  static constexpr int kFrameBand = 3;

  // `host`: the coordinator that made this skinner (it says whether
  // skinning is on); none for one made on its own.
  explicit TWinSkinPopMenu(ISkinnerHost* host = nullptr);
  ~TWinSkinPopMenu();
  TWinSkinPopMenu(const TWinSkinPopMenu&) = delete;
  TWinSkinPopMenu& operator=(const TWinSkinPopMenu&) = delete;

  void Attach(HWND menuWindow, TSkinData* skinData, HMENU menu);
  void Detach();
  bool Attached() const { return subclass_.Attached(); }

  // Every popup-menu skinner alive: their menus are open now.
  static const std::vector<TWinSkinPopMenu*>& Live();
  // The owner-drawn items of the open menus are measured or drawn: those
  // menus come from a skinned menu bar.
  static void MarkAllFromMenuBar();
  // The background of the open menu that shows `menu`, or nullptr.
  static gui::TBitmap* BackgroundOf(HMENU menu);

  // A popup skinner that painted before its menu was known learns it from
  // the first item drawn: `menu` is bound to the pending skinner, if any.
  static void BindPending(HMENU menu);

  HWND MenuWindow() const { return menuWindow_; }
  // The menu shown in this window; bound by the first owner-drawn item
  // drawn after this skinner painted.
  HMENU MenuHandle() const { return menuHandle_; }
  bool FromMenuBar() const { return fromMenuBar_; }

 private:
  LRESULT WndProc(UINT msg, WPARAM wParam, LPARAM lParam);
  bool RenderBackground();
  LRESULT PaintFrame(UINT msg, WPARAM wParam, LPARAM lParam);
  LRESULT PaintBackground(UINT msg, WPARAM wParam, LPARAM lParam);

  HWND menuWindow_ = nullptr;
  ISkinnerHost* host_ = nullptr;
  TSkinData* skinData_ = nullptr;
  // The element rendered at the window's full size at the last paint.
  gui::TBitmap background_;
  HMENU menuHandle_ = nullptr;
  bool fromMenuBar_ = false;
  gui::TWindowSubclass subclass_;
};

// The popup-menu skinner that painted most recently while its menu was still
// unknown, or nullptr.
extern thread_local TWinSkinPopMenu* PendingMenuSkinner;

}  // namespace skin
