#include "skin/controls/skin_tabs.h"

#include <commctrl.h>

#include <algorithm>
#include <string>

#include "gui/handles.h"
#include "gui/ranges.h"
#include "gui/tabs.h"
#include "skin/controls/image_caption.h"
#include "skin/controls/skin_button.h"
#include "skin/controls/skin_ranges.h"
#include "skin/data/paint_guard.h"
#include "skin/data/screen_scale.h"
#include "skin/data/skin_bitmap_ops.h"
#include "skin/data/skin_data.h"
#include "skin/data/skin_draw.h"

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

void TSkinTab::AttachWindow(HWND wnd, TSkinData* data, TSkinControlHost* form, gui::TCanvas* canvas) {
  TSkinControl::AttachWindow(wnd, data, form, canvas);
  Focused = GetFocus() == Handle;
  Enabled = (StyleOf(Handle) & WS_DISABLED) == 0;
  Caption = ReadWindowText();
  PrepareImages();
  FindScrollArrows();
  InvalidateRect(Handle, nullptr, TRUE);
}

void TSkinTab::SkinChanged() {
  TSkinControl::SkinChanged();
  PrepareImages();
}

void TSkinTab::Notification(gui::TComponent* component, gui::TOperation operation) {
  TSkinControl::Notification(component, operation);
  if (operation == gui::TOperation::opRemove && component == UpDown) UpDown = nullptr;
}

// The tab picture and the page border, turned for the side the tabs are on:
// side tabs are composed lying down, so only the border turns for them.
void TSkinTab::PrepareImages() {
  TabSide = SideOfStyle(StyleOf(Handle));
  TDataSkinBorder* tabs = TabsElement(SkinData);
  if (!tabs || tabs->Image2.Empty()) return;
  TabImage.CopyFrom(tabs->Image);
  BorderImage.CopyFrom(tabs->Image2);
  switch (TabSide) {
    case tsBottom:
      FlipBitmap(TabImage);
      FlipBitmap(BorderImage);
      break;
    case tsLeft:
      RotateBitmapLeft(BorderImage);
      break;
    case tsRight:
      RotateBitmapRight(BorderImage);
      break;
    case tsTop:
      break;
  }
}

bool TSkinTab::FindScrollArrows() {
  HWND arrows = FindWindowExW(Handle, nullptr, UPDOWN_CLASSW, nullptr);
  if (!arrows) return false;
  if (!UpDown) UpDown = TSkinUpDown::SkinArrowsFor(*this, arrows);
  return (StyleOf(arrows) & WS_VISIBLE) != 0;
}

void TSkinTab::DrawSkin(HDC dc, const RECT& rect) {
  if (!HasSkin()) return;
  TDataSkinBorder* tabs = TabsElement(SkinData);
  if (!tabs || TabImage.Empty()) return;
  // The page: the display area grown back to the control's frame, its tab
  // side one pixel into the strip.
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
  DrawStrip(dc, rect, page);
  if (BorderImage.Empty()) return;
  const RECT margins{ScaleToScreen(kBorderMargins.left), ScaleToScreen(kBorderMargins.top),
                     ScaleToScreen(kBorderMargins.right), ScaleToScreen(kBorderMargins.bottom)};
  DrawNineSliceFrame(dc, page, BorderImage, false, 1, 1, margins);
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
  StripImage.SetSize(sideways ? sh : sw, sideways ? sw : sh);
  HDC sdc = StripImage.DC();
  FillFace(sdc, RECT{0, 0, StripImage.Width(), StripImage.Height()});
  {
    HFONT font = reinterpret_cast<HFONT>(SendMessageW(Handle, WM_GETFONT, 0, 0));
    gui::SelectGuard useFont(sdc, font ? static_cast<HGDIOBJ>(font) : GetStockObject(DEFAULT_GUI_FONT));
    SetBkMode(sdc, TRANSPARENT);
    const int count = static_cast<int>(SendMessageW(Handle, TCM_GETITEMCOUNT, 0, 0));
    const int current = static_cast<int>(SendMessageW(Handle, TCM_GETCURFOCUS, 0, 0));
    auto images = reinterpret_cast<HIMAGELIST>(SendMessageW(Handle, TCM_GETIMAGELIST, 0, 0));
    const int w = StripImage.Width(), one = ScaleToScreen(1);
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
      DrawNineSlice(sdc, t, TabImage, false, tabs.TilesCentre(), tabs.Trans != 0, tabs.FrameCount, look,
                    tabs.Margins());
      SetTextColor(sdc, TabTextColour(tabs, look));
      DrawImageCaption(sdc, t, TCaptionPlacement::Centre, text, item.iImage, images, Enabled);
    }
  }
  if (TabSide == tsLeft) RotateBitmapLeft(StripImage);
  if (TabSide == tsRight) RotateBitmapRight(StripImage);

  gui::SavedDcState saved(dc);
  HWND arrows = UpDown ? UpDown->Handle : nullptr;
  if (arrows && (StyleOf(arrows) & WS_VISIBLE)) {
    // The strip goes around the scroll arrows, which paint themselves.
    RECT own{}, shown{};
    GetWindowRect(Handle, &own);
    GetWindowRect(arrows, &shown);
    OffsetRect(&shown, -own.left, -own.top);
    ExcludeClipRect(dc, shown.left, shown.top, shown.right, shown.bottom);
  }
  BitBlt(dc, strip.left, strip.top, sw, sh, StripImage.DC(), 0, 0, SRCCOPY);
}

// ---------------------------------------------------------------------------
// TSkinTab31

gui::TTabSet* TSkinTab31::TabSet() const { return dynamic_cast<gui::TTabSet*>(Control); }

void TSkinTab31::AttachControl(TSkinControlHost* form, TSkinData* data, gui::TCanvas* canvas, bool) {
  if (Attached()) return;
  auto* tabSet = dynamic_cast<gui::TTabSet*>(Owner());
  if (!tabSet) return;
  Control = tabSet;
  AttachWindow(tabSet->Handle(), data, form, canvas);
  if (TDataSkinBorder* tabs = TabsElement(SkinData)) {
    TabImage.CopyFrom(tabs->Image);
    FlipBitmap(TabImage);
  }
  Scroller = &tabSet->Scroller();
  auto* arrows = new TSkinUpDown(tabSet);
  arrows->ForceHorizontal = true;
  arrows->AttachWindow(Scroller->Handle(), SkinData, Form, Canvas);
  arrows->FreeNotification(this);
  UpDown = arrows;
  InvalidateRect(Handle, nullptr, TRUE);
}

void TSkinTab31::Notification(gui::TComponent* component, gui::TOperation operation) {
  TSkinControl::Notification(component, operation);
  if (operation == gui::TOperation::opRemove && component == UpDown) UpDown = nullptr;
}

bool TSkinTab31::BeforeMessage(gui::TMessage& m) {
  if (!HasSkin()) return TSkinControl::BeforeMessage(m);
  switch (m.Msg) {
    case WM_PAINT:
      // Drawn here whole; the tab set's own paint then finds nothing left
      // to paint.
      PaintWholeControl(m);
      return true;
    case WM_ERASEBKGND:
      m.Result = 1;
      return false;
    default:
      return TSkinControl::BeforeMessage(m);
  }
}

void TSkinTab31::DrawSkin(HDC dc, const RECT& rect) {
  gui::TTabSet* tabSet = TabSet();
  TDataSkinBorder* tabs = TabsElement(SkinData);
  if (!tabSet || !tabs || TabImage.Empty()) return;
  const int width = rect.right - rect.left, height = rect.bottom - rect.top;
  if (width <= 0 || height <= 0) return;
  gui::TBitmap bitmap(width, height);
  HDC bdc = bitmap.DC();
  FillFace(bdc, RECT{0, 0, width, height});
  gui::SelectGuard useFont(bdc, tabSet->Font().Handle());
  SetBkMode(bdc, TRANSPARENT);
  const bool scrollerShown = Scroller && Scroller->HandleAllocated() && IsWindowVisible(Scroller->Handle());
  const int edges = ScaleToScreen(gui::TTabSet::kTabEdges);
  const int room = edges + (scrollerShown ? ScaleToScreen(gui::TTabSet::kScrollerRoom) : 0);
  const int limit = width - tabSet->EndMargin();
  int x = tabSet->StartMargin();
  const gui::TStrings& captions = tabSet->Tabs();
  for (int i = std::max(tabSet->FirstIndex(), 0); i < captions.Count(); ++i) {
    const std::wstring caption = captions[i];
    SIZE extent{};
    GetTextExtentPoint32W(bdc, caption.c_str(), static_cast<int>(caption.size()), &extent);
    // A tab that does not fit is passed over; a narrower one after it may.
    if (limit < x + extent.cx + room) continue;
    const RECT tab{x, 0, x + extent.cx + edges, height};
    const int look = i == tabSet->TabIndex() ? tlSelected : tlNormal;
    DrawNineSlice(bdc, tab, TabImage, false, tabs->TilesCentre(), tabs->Trans != 0, tabs->FrameCount, look,
                  tabs->Margins());
    SetTextColor(bdc, TabTextColour(*tabs, look));
    DrawCaption(bdc, caption, tab, DT_CENTER);
    x += extent.cx + edges;
  }
  BitBlt(dc, rect.left, rect.top, width, height, bdc, 0, 0, SRCCOPY);
}

}  // namespace skin
