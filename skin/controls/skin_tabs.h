// Skinners of tabs: the common-control tab strip (tab controls and page
// controls), repainted whole from the skin's "Tabs" element after the
// control paints itself, with the page border and the strip's scroll
// arrows; and the framework's own tab set, tabs hanging from its top edge,
// which the skinner draws entirely.
#pragma once
#include <windows.h>

#include "gui/bitmap.h"
#include "skin/controls/skin_control.h"
#include "skin/controls/system_theme.h"

namespace gui {
class TTabSet;
}

namespace skin {

class TSkinUpDown;
class TDataSkinBorder;

// Frames of the Tabs strip the two skinners use.
enum TTabLook { tlNormal = 1, tlSelected = 2 };

class TSkinTab : public TSkinControl {
  GUI_CLASS(TSkinTab, TSkinControl)
 public:
  // The side the tabs sit on, read from the window style.
  enum TTabSide : std::uint8_t { tsTop = 0, tsBottom = 1, tsLeft = 2, tsRight = 3 };

  explicit TSkinTab(gui::TComponent* owner) : TSkinControl(owner) {}

  // The base attach, then the tabs' images and the strip's scroll arrows.
  bool Attach(const TSkinnerAttach& how) override;
  void SkinChanged() override;
  void DrawSkin(HDC dc, const RECT& rect) override;
  void Notification(gui::TComponent* component, gui::TOperation operation) override;

  static TTabSide SideOfStyle(DWORD style);
  // The page frame's slice sizes in the border picture (design pixels).
  static constexpr RECT kBorderMargins{4, 5, 4, 4};
  // The focus rectangle's distance inside the focused tab (design pixels).
  static constexpr int kFocusInset = 3;

  TTabSide TabSide = tsTop;
  // The skin's pictures turned for tabs that are not on top; empty where
  // the skin's own serve as they are.
  gui::TBitmap TabImage;
  gui::TBitmap BorderImage;
  // The skinner of the strip's scroll arrows, once found.
  TSkinUpDown* UpDown = nullptr;

 protected:
  void FollowNewWindow() override;

 private:
  void PrepareImages();
  // The tab picture and the page border to draw with: the turned copies,
  // else the skin's own.
  gui::TBitmap& TabPicture(TDataSkinBorder& tabs);
  gui::TBitmap& BorderPicture(TDataSkinBorder& tabs);
  // Skins the scroll arrows when there are any; true while they are shown.
  bool FindScrollArrows();
  void DrawStrip(HDC dc, const RECT& rect, const RECT& page);

  // Off while the skin draws both the strip and the page border of a
  // framework control: the control's own themed drawing would only be
  // painted over.
  TSystemThemeOff systemTheme_;
};

class TSkinTab31 : public TSkinControl {
  GUI_CLASS(TSkinTab31, TSkinControl)
 public:
  explicit TSkinTab31(gui::TComponent* owner) : TSkinControl(owner) {}

  // The tab set (or its window) it is given is taken over at window level;
  // its scroller gets a skinner of its own.
  bool Attach(const TSkinnerAttach& how) override;
  void SkinChanged() override;
  bool BeforeMessage(gui::TMessage& message) override;
  void DrawSkin(HDC dc, const RECT& rect) override;
  void Notification(gui::TComponent* component, gui::TOperation operation) override;

  // The Tabs picture turned upside down, for tabs that hang down.
  gui::TBitmap TabImage;
  TSkinUpDown* UpDown = nullptr;
  // The tab set's scroller control (not owned).
  gui::TWinControl* Scroller = nullptr;

 private:
  gui::TTabSet* TabSet() const;
  void PrepareImage();
};

}  // namespace skin
