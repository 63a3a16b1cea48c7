#include "skin/controls/skin_tabs.h"

#include <commctrl.h>

#include <algorithm>
#include <string>

#include "gui/handles.h"
#include "gui/ranges.h"
#include "gui/tabset.h"
#include "skin/controls/image_caption.h"
#include "skin/controls/skin_button.h"
#include "skin/controls/skin_ranges.h"
#include "skin/data/element_draw.h"
#include "skin/data/paint_guard.h"
#include "skin/data/screen_scale.h"
#include "skin/data/skin_bitmap_ops.h"
#include "skin/data/skin_data.h"
#include "skin/data/skin_draw.h"
#include "skin/data/skin_mirror.h"

namespace skin {

namespace {

// Tab captions are read up to this many characters.
constexpr int kMaxTabText = 80;

DWORD StyleOf(HWND wnd) { return static_cast<DWORD>(GetWindowLongPtrW(wnd, GWL_STYLE)); }

TDataSkinBorder* TabsElement(TSkinData* data) {
  if (!data) return nullptr;
  TDataSkinBorder* tabs = data->Skin().Tabs.get();
  return tabs && !tabs->Image.Empty() ? tabs : nullptr;
}

COLORREF TabTextColour(const TDataSkinBorder& tabs, int look) {
  return SkinColourToRGB(look == tlSelected ? tabs.MouseOverColour2 : tabs.NormalColour2);
}

}  // namespace

// ---------------------------------------------------------------------------
// TSkinTab

TSkinTab::TTabSide TSkinTab::SideOfStyle(DWORD style) {
  const bool bottom = (style & TCS_BOTTOM) != 0, vertical = (style & TCS_VERTICAL) != 0;
  if (bottom && vertical) return tsRight;
  if (vertical) return tsLeft;
  return bottom ? tsBottom : tsTop;
}

bool TSkinTab::Attach(const TSkinnerAttach& how) {
  if (Attached()) return true;
  if (!TSkinControl::Attach(how)) return false;
  ReadState();
  PrepareImages();
  FindScrollArrows();
  InvalidateRect(Handle, nullptr, TRUE);
  return true;
}

void TSkinTab::SkinChanged() {
  TSkinControl::SkinChanged();
  PrepareImages();
}

// The new window may put its tabs on another side; its scroll arrows, made
// by the control when needed, are found as it paints.
void TSkinTab::FollowNewWindow() {
  TSkinControl::FollowNewWindow();
  PrepareImages();
}

void TSkinTab::Notification(gui::TComponent* component, gui::TOperation operation) {
  TSkinControl::Notification(component, operation);
  if (operation == gui::TOperation::opRemove && component == UpDown) UpDown = nullptr;
}

// The tab picture and the page border, turned for the side the tabs are on:
// side tabs are composed lying down, so only the border turns for them.
// Only a turned picture is copied; the rest are drawn from the skin's own
// (so a skin changed to one without a picture leaves none of the old
// skin's behind).
void TSkinTab::PrepareImages() {
  TabSide = SideOfStyle(StyleOf(Handle));
  TabImage = gui::TBitmap();
  BorderImage = gui::TBitmap();
  TDataSkinBorder* tabs = TabsElement(SkinData);
  systemTheme_.Apply(Handle, Control && tabs && !tabs->Image2.Empty());
  if (!tabs || TabSide == tsTop) return;
  if (TabSide == tsBottom && !tabs->Image.Empty()) {
    TabImage.CopyFrom(tabs->Image);
    FlipBitmap(TabImage);
  }
  if (!tabs->Image2.Empty()) {
    BorderImage.CopyFrom(tabs->Image2);
    switch (TabSide) {
      case tsBottom: FlipBitmap(BorderImage); break;
      case tsLeft: RotateBitmapLeft(BorderImage); break;
      case tsRight: RotateBitmapRight(BorderImage); break;
      case tsTop: break;
    }
  }
  // Both are only blitted from.
  TabImage.SetSharesDc(true);
  BorderImage.SetSharesDc(true);
}

gui::TBitmap& TSkinTab::TabPicture(TDataSkinBorder& tabs) { return TabImage.Empty() ? tabs.Image : TabImage; }

gui::TBitmap& TSkinTab::BorderPicture(TDataSkinBorder& tabs) { return BorderImage.Empty() ? tabs.Image2 : BorderImage; }

// The control makes its arrows when its tabs first overflow, and makes them
// again with a new window: they are looked for at every paint. A skinner
// whose arrows window went is freed before the new one is skinned.
bool TSkinTab::FindScrollArrows() {
  if (UpDown && UpDown->SkinnerState() == ksDead) FreeInner(UpDown);
  HWND arrows = FindWindowExW(Handle, nullptr, UPDOWN_CLASSW, nullptr);
  if (!arrows) return false;
  if (!UpDown) UpDown = TSkinUpDown::SkinArrowsFor(*this, InnerAttach(arrows));
  return (StyleOf(arrows) & WS_VISIBLE) != 0;
}

void TSkinTab::DrawSkin(HDC dc, const RECT& rect) {
  if (!HasSkin()) return;
  TDataSkinBorder* tabs = TabsElement(SkinData);
  if (!tabs || TabPicture(*tabs).Empty()) return;
  const DWORD style = StyleOf(Handle);
  Enabled = (style & WS_DISABLED) == 0;
  Focused = GetFocus() == Handle;
  FindScrollArrows();
  // The page: the display area grown back to the control's frame, its tab
  // side one pixel off the strip.
  RECT page = rect;
  SendMessageW(Handle, TCM_ADJUSTRECT, FALSE, reinterpret_cast<LPARAM>(&page));
  const int four = ScaleToScreen(4), one = ScaleToScreen(1);
  InflateRect(&page, four, four);
  switch (TabSide) {
    case tsTop: page.top += one; break;
    case tsBottom: page.bottom -= one; break;
    case tsLeft: page.left += one; break;
    case tsRight: page.right -= one; break;
  }
  // The scroll arrows and a page control's sheets paint themselves.
  gui::SavedDcState saved(dc);
  ExcludeChildWindows(dc);
  DrawStrip(dc, rect, page);
  // A dialog's tab control leaves its page to the system's face (or a
  // theme's white pane): the skin's face, around the windows on it.
  if (!Control) FillFace(dc, page);
  if (BorderPicture(*tabs).Empty()) return;
  const RECT margins{ScaleToScreen(kBorderMargins.left), ScaleToScreen(kBorderMargins.top),
                     ScaleToScreen(kBorderMargins.right), ScaleToScreen(kBorderMargins.bottom)};
  DrawElement(dc, page, *tabs, {.Fit = TElementFit::Border, .Frames = 1, .Margins = margins, .Picture = &BorderPicture(*tabs)});
}

void TSkinTab::DrawStrip(HDC dc, const RECT& rect, const RECT& page) {
  TDataSkinBorder& tabs = *SkinData->Skin().Tabs;
  const bool sideways = TabSide == tsLeft || TabSide == tsRight;
  RECT strip{};
  switch (TabSide) {
    case tsTop: strip = RECT{rect.left, rect.top, rect.right, page.top}; break;
    case tsBottom: strip = RECT{rect.left, page.bottom, rect.right, rect.bottom}; break;
    case tsLeft: strip = RECT{rect.left, rect.top, page.left, rect.bottom}; break;
    case tsRight: strip = RECT{page.right, rect.top, rect.right, rect.bottom}; break;
  }
  const int sw = strip.right - strip.left, sh = strip.bottom - strip.top;
  if (sw <= 0 || sh <= 0) return;
  gui::TBitmap stripImage(sideways ? sh : sw, sideways ? sw : sh);  // made for the paint, not kept
  HDC sdc = stripImage.DC();
  // A strip along the top or bottom is composed as the context lays it
  // out; one turned for a side goes reflected once more below instead.
  const TMirrorLike mirror(sdc, !sideways && IsMirrored(dc));
  FillFace(sdc, RECT{0, 0, stripImage.Width(), stripImage.Height()});
  {
    HFONT font = reinterpret_cast<HFONT>(SendMessageW(Handle, WM_GETFONT, 0, 0));
    gui::SelectGuard useFont(sdc, font ? static_cast<HGDIOBJ>(font) : GetStockObject(DEFAULT_GUI_FONT));
    SetBkMode(sdc, TRANSPARENT);
    const int count = static_cast<int>(SendMessageW(Handle, TCM_GETITEMCOUNT, 0, 0));
    const int current = static_cast<int>(SendMessageW(Handle, TCM_GETCURFOCUS, 0, 0));
    auto images = reinterpret_cast<HIMAGELIST>(SendMessageW(Handle, TCM_GETIMAGELIST, 0, 0));
    const int w = stripImage.Width(), one = ScaleToScreen(1);
    // The focused tab shows the focus rectangle, as the control's own
    // drawing does, unless the keyboard cues are hidden.
    const bool showFocus = Focused && !(StyleOf(Handle) & TCS_FOCUSNEVER) &&
                           !(SendMessageW(Handle, WM_QUERYUISTATE, 0, 0) & UISF_HIDEFOCUS);
    for (int i = 0; i < count; ++i) {
      wchar_t text[kMaxTabText + 1] = {};
      TCITEMW item{};
      item.mask = TCIF_TEXT | TCIF_IMAGE | TCIF_STATE;
      item.pszText = text;
      item.cchTextMax = kMaxTabText;
      item.iImage = -1;
      SendMessageW(Handle, TCM_GETITEMW, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&item));
      RECT t{};
      // A tab the control gives no rectangle for is left out.
      if (!SendMessageW(Handle, TCM_GETITEMRECT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&t))) continue;
      // Into the strip's own coordinates, lying down for side tabs.
      switch (TabSide) {
        case tsTop: OffsetRect(&t, 0, one); break;
        case tsBottom: OffsetRect(&t, 0, -(page.bottom + one)); break;
        case tsLeft: t = RECT{w - t.bottom, t.left, w - t.top, t.right}; break;
        // Turned back, a right tab lands one pixel toward the page; along
        // the strip it keeps its place, clear of its neighbours.
        case tsRight: t = RECT{t.top, rect.right - t.right, t.bottom, rect.right - t.left}; break;
      }
      const int look = i == current ? tlSelected : tlNormal;
      DrawAnimated(sdc, t, tabs, {.Frame = look, .Picture = &TabPicture(tabs)}, i + 1,
                   look == tlSelected ? TLookKind::Selected : TLookKind::Normal, core::AnimatedKind::Tab, [this, i] {
                     RECT tab{};
                     if (SendMessageW(Handle, TCM_GETITEMRECT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&tab)))
                       PaintPart(tab);
                   });
      SetTextColor(sdc, TabTextColour(tabs, look));
      DrawImageCaption(sdc, t, TCaptionPlacement::Centre, text, item.iImage, images, Enabled);
      if (i == current && showFocus) {
        RECT cue = t;
        InflateRect(&cue, -ScaleToScreen(kFocusInset), -ScaleToScreen(kFocusInset));
        SetTextColor(sdc, TabTextColour(tabs, look));
        DrawFocusRect(sdc, &cue);
      }
    }
  }
  if (TabSide == tsLeft) RotateBitmapLeft(stripImage);
  if (TabSide == tsRight) RotateBitmapRight(stripImage);
  if (sideways && IsMirrored(dc)) MirrorBitmap(stripImage);
  BitBlt(dc, strip.left, strip.top, sw, sh, stripImage.DC(), 0, 0, SRCCOPY);
}

// ---------------------------------------------------------------------------
// TSkinTab31

gui::TTabSet* TSkinTab31::TabSet() const { return dynamic_cast<gui::TTabSet*>(Control); }

void TSkinTab31::SkinChanged() {
  TSkinControl::SkinChanged();
  PrepareImage();
}

bool TSkinTab31::Attach(const TSkinnerAttach& how) {
  if (Attached()) return true;
  // Given the tab set or its window, the skinner draws tab sets alone.
  auto* tabSet = dynamic_cast<gui::TTabSet*>(how.Window ? gui::TWinControl::FindControl(how.Window) : how.Control);
  if (!tabSet) return RefuseAttach(how);
  TSkinnerAttach byWindow = how;
  byWindow.Control = nullptr;
  byWindow.Window = tabSet->Handle();
  if (!AttachToWindow(byWindow)) return false;
  PrepareImage();
  Scroller = &tabSet->Scroller();
  auto* arrows = new TSkinUpDown(tabSet);
  arrows->ForceHorizontal = true;
  arrows->Attach(InnerAttach(Scroller->Handle()));
  arrows->FreeNotification(this);
  UpDown = arrows;
  InvalidateRect(Handle, nullptr, TRUE);
  return true;
}

// The skin's tab picture turned upside down; none when the skin has none.
void TSkinTab31::PrepareImage() {
  TabImage = gui::TBitmap();
  if (TDataSkinBorder* tabs = TabsElement(SkinData)) {
    TabImage.CopyFrom(tabs->Image);
    FlipBitmap(TabImage);
    TabImage.SetSharesDc(true);
  }
}

void TSkinTab31::Notification(gui::TComponent* component, gui::TOperation operation) {
  TSkinControl::Notification(component, operation);
  if (operation == gui::TOperation::opRemove && component == UpDown) UpDown = nullptr;
}

// The tab set is drawn whole here: its own paint and the base's second
// paint through the window DC (which would cover the scroller) do not run.
// Without a tab picture it paints itself.
bool TSkinTab31::BeforeMessage(gui::TMessage& m) {
  if (HasSkin() && !TabImage.Empty() && AnswerWholeControlPaint(m)) return false;
  return TSkinControl::BeforeMessage(m);
}

// Each tab the control shows, where the control has it (so that every tab
// drawn is one a click reaches).
void TSkinTab31::DrawSkin(HDC dc, const RECT& rect) {
  gui::TTabSet* tabSet = TabSet();
  TDataSkinBorder* tabs = TabsElement(SkinData);
  if (!HasSkin() || !tabSet || !tabs || TabImage.Empty()) return;
  const int width = rect.right - rect.left, height = rect.bottom - rect.top;
  if (width <= 0 || height <= 0) return;
  gui::TBitmap bitmap(width, height);
  HDC bdc = bitmap.DC();
  const TMirrorLike mirror(bdc, dc);
  FillFace(bdc, RECT{0, 0, width, height});
  gui::SelectGuard useFont(bdc, tabSet->Font().Handle());
  SetBkMode(bdc, TRANSPARENT);
  const gui::TStrings& captions = tabSet->Tabs();
  const int first = tabSet->FirstIndex();
  for (int i = first; i < first + tabSet->VisibleTabs() && i < captions.Count(); ++i) {
    const RECT r = tabSet->TabRect(i);
    const RECT tab{r.left, 0, r.right, height};
    const int look = i == tabSet->TabIndex() ? tlSelected : tlNormal;
    DrawAnimated(bdc, tab, *tabs, {.Frame = look, .Picture = &TabImage}, i + 1,
                 look == tlSelected ? TLookKind::Selected : TLookKind::Normal, core::AnimatedKind::Tab);
    SetTextColor(bdc, TabTextColour(*tabs, look));
    DrawCaption(bdc, captions[i], tab, DT_CENTER);
  }
  gui::SavedDcState saved(dc);
  ExcludeChildWindows(dc);
  BitBlt(dc, rect.left, rect.top, width, height, bdc, 0, 0, SRCCOPY);
}

}  // namespace skin
