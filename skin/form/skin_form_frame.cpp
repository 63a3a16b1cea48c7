// The skinned frame of TWinSkinForm: its geometry, painting, caption buttons,
// window region and the non-client mouse input.
#include <windowsx.h>

#include <algorithm>
#include <exception>

#include "gui/bitmap.h"
#include "gui/forms.h"
#include "gui/menus.h"
#include "gui/timer.h"
#include "skin/data/paint_guard.h"
#include "skin/data/skin_data.h"
#include "skin/data/skin_protocol.h"
#include "skin/data/skin_draw.h"
#include "skin/data/skin_region.h"
#include "skin/data/skin_text.h"
#include "skin/form/menu_item_draw.h"
#include "skin/form/skin_form.h"
#include "skin/data/screen_scale.h"

namespace skin {

namespace {

int Frames(const TDataSkinObject& e) { return e.FrameCount > 0 ? e.FrameCount : 1; }

// Border pieces by the index the painting routines number them with.
enum TBorderPiece { bpLeft = 1, bpRight = 2, bpTop = 3, bpBottom = 4 };

TDataSkinBorder& Piece(TSkinContent& skin, int index) {
  switch (index) {
    case bpLeft: return skin.BorderLeft;
    case bpRight: return skin.BorderRight;
    case bpTop: return skin.BorderTop;
    default: return skin.BorderBottom;
  }
}

POINT PointOf(LPARAM lParam) { return POINT{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)}; }

SIZE WindowSize(HWND wnd) {
  RECT r{};
  GetWindowRect(wnd, &r);
  return SIZE{r.right - r.left, r.bottom - r.top};
}

}  // namespace

// --- geometry ---------------------------------------------------------------

void TWinSkinForm::FreeSysButtons() {
  CurrentObject = nullptr;
  SysButtons.clear();
}

void TWinSkinForm::ComputeFrameMetrics() {
  if (!SkinData || SkinData->SkinLoading) return;
  if (FrameKind == fkNone) {
    FrameLeft = FrameTop = FrameRight = FrameBottom = MenuHeight = 0;
    return;
  }
  TSkinContent& skin = SkinData->Skin();
  FrameTop = skin.BorderTop.Image.Height() / Frames(skin.BorderTop);
  FrameLeft = skin.BorderLeft.Image.Width() / Frames(skin.BorderLeft);
  FrameRight = skin.BorderRight.Image.Width() / Frames(skin.BorderRight);
  FrameBottom = skin.BorderBottom.Image.Height() / Frames(skin.BorderBottom);
  FreeSysButtons();
  DropFrameCache();
  for (const auto& element : skin.SysButtonElements) {
    if (ShowsWindowIcon(element->Action) && !IconBitmap.Empty()) {
      // The icon button's size is one frame of its picture; a skin without
      // one gets the icon itself as a single frame.
      if (element->Image.Empty()) {
        element->Image.CopyFrom(IconBitmap);
        element->FrameCount = 1;
      }
      if (SkinData->SpareBitmap.Empty()) SkinData->SpareBitmap.CopyFrom(IconBitmap);
    }
    SysButtons.push_back(std::make_unique<TWinSysButton>(this, element.get()));
  }
}

void TWinSkinForm::RenderIconBitmap() {
  const int cx = GetSystemMetrics(SM_CXSMICON), cy = GetSystemMetrics(SM_CYSMICON);
  ++iconGeneration_;
  IconBitmap.SetSize(cx, cy);
  gui::TCanvas(IconBitmap.DC()).FillRect(RECT{0, 0, cx, cy}, TransparentColour);
  auto icon = reinterpret_cast<HICON>(SendMessageW(Handle, WM_GETICON, ICON_SMALL, 0));
  if (!icon) icon = reinterpret_cast<HICON>(SendMessageW(Handle, WM_GETICON, ICON_BIG, 0));
  if (icon) {
    gui::IconHandle smallIcon(static_cast<HICON>(CopyImage(icon, IMAGE_ICON, cx, cy, LR_COPYFROMRESOURCE)));
    if (!smallIcon) smallIcon.reset(static_cast<HICON>(CopyImage(icon, IMAGE_ICON, cx, cy, 0)));
    DrawIconEx(IconBitmap.DC(), 0, 0, smallIcon ? smallIcon.get() : icon, cx, cy, 0, nullptr, DI_NORMAL);
    return;
  }
  // No icon of its own: the skin's default window icon.
  gui::TBitmap* spare = SkinData && !SkinData->SpareBitmap.Empty() ? &SkinData->SpareBitmap : nullptr;
  if (!spare && Host) spare = Host->DefaultWindowIcon();
  if (spare) IconBitmap.CopyFrom(*spare);
}

LRESULT TWinSkinForm::WMNcCalcSize(WPARAM wParam, LPARAM lParam) {
  CallDefault(WM_NCCALCSIZE, wParam, lParam);
  FollowMdiFrameTitle();
  if (!wParam) return 0;
  auto* params = reinterpret_cast<NCCALCSIZE_PARAMS*>(lParam);
  const WINDOWPOS& pos = *params->lppos;
  // The bar wraps into as many rows as the new width needs.
  FitMenuHeight(pos.cx);
  const TFrameLayout layout = LayoutFrame(FrameInput(SIZE{pos.cx, pos.cy}));
  if (!layout.Skinned) {
    params->rgrc[1] = params->rgrc[0];
    return WVR_VALIDRECTS;
  }
  RECT client = layout.Client;
  OffsetRect(&client, pos.x, pos.y);
  params->rgrc[0] = client;
  params->rgrc[1] = client;
  return WVR_VALIDRECTS;
}

// --- painting ---------------------------------------------------------------

LRESULT TWinSkinForm::WMNcPaint(WPARAM wParam, LPARAM lParam) {
  if (!SkinData->FramePainting) return 0;
  if (IsRunningMdiChildOutOfNormal() || FrameKind == fkNone) return CallDefault(WM_NCPAINT, wParam, lParam);
  // GetDCEx takes the update region it is given; hand it a copy, and keep
  // it only when the call fails.
  gui::RegionHandle update;
  if (wParam > 1) {
    update.reset(CreateRectRgn(0, 0, 0, 0));
    CombineRgn(update.get(), reinterpret_cast<HRGN>(wParam), nullptr, RGN_COPY);
  }
  gui::WindowDc dc(Handle, GetDCEx(Handle, update.get(), DCX_WINDOW | (update ? DCX_INTERSECTRGN : 0u)));
  if (dc) update.release();
  if (dc) PaintNonClient(dc.get());
  return 0;
}

LRESULT TWinSkinForm::WMNcActivate(WPARAM wParam, LPARAM) {
  Active = wParam ? 1 : 0;
  FollowWindowMenu();
  if (hoverTimer_) hoverTimer_->SetEnabled(Active != 0);
  if (!Active && HotButton()) {
    HotButton()->SendMouseLeave();
    SetHotButton(nullptr);
  }
  if (!IsRunningMdiChildOutOfNormal()) PaintNonClient();
  return 1;
}

LRESULT TWinSkinForm::WMEraseBkgnd(WPARAM wParam, LPARAM lParam) {
  const LRESULT result = CallDefault(WM_ERASEBKGND, wParam, lParam);
  if (Form || !SkinData) return result;
  RECT client{};
  GetClientRect(Handle, &client);
  FillRect(reinterpret_cast<HDC>(wParam), &client, SkinData->Skin().ButtonFaceBrush.get());
  return 1;
}

TFrameInput TWinSkinForm::FrameInput(SIZE window) const {
  TFrameInput in;
  in.Window = window;
  in.Style = Style;
  in.Show = ShowState;
  in.Mdi = MdiKind;
  in.Kind = FrameKind;
  in.Active = Active != 0;
  in.RightToLeft = RightToLeft;
  // A frame asks its client; a child goes by the shared mode.
  in.MdiChildMaximized = MdiKind == mkFrame ? MdiChildMaximized() : MdiMaximized();
  in.WindowButtons = WindowButtons;
  in.Frame = TFrameThickness{FrameLeft, FrameTop, FrameRight, FrameBottom};
  in.MenuHeight = MenuHeight;
  in.MenuRowHeight = MenuBar ? GetSystemMetrics(SM_CYMENU) : 0;
  if (!SkinData) return in;
  TSkinContent& skin = SkinData->Skin();
  in.MenuBarMargin = skin.MenuBar ? skin.MenuBar->LeftWidth : 0;
  const TDataSkinTitle& title = skin.TitleElement;
  in.Caption = TCaptionTextSpec{captionMeasured_, title.TextAlignment, title.LeftWidth,    title.TopHeight,
                                title.RightWidth, title.TextBackLeft,  title.TextBackRight,
                                ScaleToScreen(5)};
  in.Buttons.reserve(SysButtons.size());
  for (const auto& button : SysButtons) {
    const TDataSkinSysButton& e = *button->Element;
    const SIZE size = e.Image.Empty() ? SIZE{} : SIZE{e.Image.Width() / Frames(e), e.Image.Height()};
    in.Buttons.push_back(TCaptionButtonSpec{e.Action, e.Align, e.XCoord, e.YCoord, e.Visibility, e.Visibility1, size});
  }
  return in;
}

TFrameInput TWinSkinForm::FrameInput() const { return FrameInput(WindowSize(Handle)); }

TFrameLayout TWinSkinForm::LayoutSysButtons() {
  if (GetWindowRect(Handle, &WindowRect)) {
    WindowWidth = WindowRect.right - WindowRect.left;
    WindowHeight = WindowRect.bottom - WindowRect.top;
  }
  TFrameLayout layout = LayoutFrame(FrameInput(SIZE{WindowWidth, WindowHeight}));
  CaptionRect = layout.CaptionText;
  RightButtonsLeft = layout.RightButtonsLeft;
  for (std::size_t i = 0; i < SysButtons.size(); ++i) {
    TWinSysButton& button = *SysButtons[i];
    button.Visible = layout.Buttons[i].Visible;
    // A button without a picture, or hidden, keeps its last place.
    if (button.Visible && !button.Element->Image.Empty()) button.BoundsRect = layout.Buttons[i].Bounds;
  }
  return layout;
}

void TWinSkinForm::SetCaptionText(std::wstring text) {
  CaptionText = std::move(text);
  captionMeasured_ = SIZE{};
  gui::MemoryDcHandle dc(CreateCompatibleDC(nullptr));
  if (!dc) return;
  gui::SelectGuard font(dc.get(), CaptionFont.get());
  const std::wstring measured = CaptionText + L" " + CaptionPrefix;
  RECT r{};
  DrawTextW(dc.get(), measured.c_str(), static_cast<int>(measured.size()), &r, DT_CALCRECT | DT_NOCLIP);
  captionMeasured_ = SIZE{r.right - r.left, r.bottom - r.top};
}

void TWinSkinForm::PaintNonClient(HDC dc) {
  if (!FramePaintable()) return;
  gui::WindowDc own(Handle, dc ? nullptr : GetWindowDC(Handle));
  HDC target = dc ? dc : own.get();
  if (!target) return;
  if (!GetWindowRect(Handle, &WindowRect)) return;
  PaintSwallowingFailures([&] {
    const TFrameLayout layout = ComposedFrame();
    {
      // One blit of the whole window with the client area (and the menu
      // band, which the bar paints itself) clipped away.
      gui::SavedDcState saved(target);
      ExcludeClipRect(target, layout.Client.left, layout.Client.top, layout.Client.right, layout.Client.bottom);
      if (MenuBar)
        ExcludeClipRect(target, layout.MenuBand.left, layout.MenuBand.top, layout.MenuBand.right,
                        layout.MenuBand.bottom);
      BitBlt(target, 0, 0, frameCache_.Width(), frameCache_.Height(), frameCache_.DC(), 0, 0, SRCCOPY);
    }
    SetBkMode(target, OPAQUE);
    if (MenuBar) MenuBar->Paint(target, layout.MenuBand);
  });
  CurrentObject = nullptr;
}

bool TWinSkinForm::FramePaintable() const {
  return SkinData && (SkinState == ssRunning || SkinState == ssReskinning) && FrameKind != fkNone &&
         !IsRunningMdiChildOutOfNormal();
}

TFrameLayout TWinSkinForm::ComposedFrame() {
  TFrameLayout layout = LayoutSysButtons();
  TFrameCacheKey key = FrameCacheKey(SIZE{WindowWidth, WindowHeight});
  if (!frameCacheKey_ || !(*frameCacheKey_ == key)) {
    frameCacheKey_.reset();
    ComposeFrame(layout);
    frameCacheKey_ = std::move(key);
  }
  return layout;
}

TFrameCacheKey TWinSkinForm::FrameCacheKey(SIZE window) const {
  return TFrameCacheKey{FrameInput(window), CaptionPrefix + CaptionText, SkinData->SkinGeneration(), iconGeneration_,
                        CaptionFont.get()};
}

void TWinSkinForm::ComposeFrame(const TFrameLayout& layout) {
  ++frameComposeCount_;
  frameCache_.SetSize(WindowWidth, WindowHeight);
  HDC dc = frameCache_.DC();
  // What no piece covers (a skin without one) is the face colour rather
  // than what the last composition left there.
  const RECT all{0, 0, WindowWidth, WindowHeight};
  FillRect(dc, &all, SkinData->Skin().ButtonFaceBrush.get());
  PaintBorderPiece(bpLeft, layout.Left, dc);
  PaintBorderPiece(bpRight, layout.Right, dc);
  PaintBorderPiece(bpBottom, layout.Bottom, dc);
  PaintTitleBar(dc, layout);
}

void TWinSkinForm::DropFrameCache() {
  frameCacheKey_.reset();
  frameCache_.SetSize(0, 0);
}

void TWinSkinForm::PaintBorderPiece(int index, const RECT& rect, HDC dc) {
  if (rect.right < rect.left || rect.bottom < rect.top) return;
  TDataSkinBorder& piece = Piece(SkinData->Skin(), index);
  if (piece.Image.Empty()) return;
  const int frame = (Active || Frames(piece) == 1) ? 1 : 2;
  gui::TBitmap rendered = RenderNineSlice(rect, piece.Image, piece.Margins(), index == bpTop || index == bpBottom,
                                          piece.TilesCentre(), Frames(piece), frame);
  if (rendered.Empty()) return;
  BitBlt(dc, rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top, rendered.DC(), 0, 0, SRCCOPY);
}

void TWinSkinForm::PaintTitleBar(HDC dc, const TFrameLayout& layout) {
  const int width = layout.Title.right, height = layout.Title.bottom;
  if (width <= 0 || height <= 0) return;
  // The corners painted by the side pieces become part of the band.
  TitleCache.SetSize(width, height);
  BitBlt(TitleCache.DC(), 0, 0, width, height, dc, 0, 0, SRCCOPY);
  PaintBorderPiece(bpTop, layout.TitleBand, TitleCache.DC());
  PaintCaption(TitleCache.DC(), layout);
  PaintSysButtons(TitleCache.DC());
  BitBlt(dc, 0, 0, width, height, TitleCache.DC(), 0, 0, SRCCOPY);
  SetBkMode(dc, OPAQUE);
}

void TWinSkinForm::PaintCaption(HDC dc, const TFrameLayout& layout) {
  TSkinContent& skin = SkinData->Skin();
  TDataSkinTitle& title = skin.TitleElement;
  gui::SavedDcState saved(dc);
  SelectObject(dc, CaptionFont.get());
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, gui::ColorToRGB(Active ? skin.Colours.TitleTextActive : skin.Colours.TitleTextNoActive));
  RECT text = layout.CaptionText;
  if (!title.Image.Empty()) {
    gui::TCanvas canvas(dc);
    DrawThreeSlice(canvas, RECT{text.left, layout.TitleBand.top, text.right, layout.TitleBand.bottom}, title.Image,
                   true, true, 2, Active ? 1 : 2, RECT{title.TextBackLeft, 0, title.TextBackRight, 0});
  }
  text.left += title.TextBackLeft;
  text.right -= title.TextBackRight;
  DrawSkinText(dc, CaptionPrefix + CaptionText, text,
               DT_SINGLELINE | DT_END_ELLIPSIS | (RightToLeft ? DT_RIGHT : 0u));
}

bool TWinSkinForm::IsButtonVisible(std::size_t index) {
  const TFrameInput in = FrameInput();
  const bool visible = CaptionButtonVisible(in, in.Buttons[index]);
  SysButtons[index]->Visible = visible;
  return visible;
}

void TWinSkinForm::PaintSysButtons(HDC dc) {
  for (const auto& button : SysButtons) {
    TDataSkinSysButton& e = *button->Element;
    // The maximised-child buttons are the menu bar's to draw.
    if (!button->Visible || e.Image.Empty() || e.Visibility == bvMdiChildMaximized) continue;
    if (ShowsWindowIcon(e.Action)) {
      DrawFrame(dc, button->BoundsRect, IconBitmap, true, 1, 1);
      continue;
    }
    const int frame = (Active || Frames(e) < 4) ? 1 : 4;
    DrawFrame(dc, button->BoundsRect, e.Image, true, Frames(e), frame);
  }
}

void TWinSkinForm::PaintSysButton(TWinSysButton& button, int state) {
  TDataSkinSysButton& e = *button.Element;
  if (e.Image.Empty()) return;
  gui::WindowDc dc = gui::WindowDc::Whole(Handle);
  if (!dc) return;
  if (ShowsWindowIcon(e.Action)) {
    DrawFrame(dc.get(), button.BoundsRect, IconBitmap, true, 1, 1);
    return;
  }
  const int frame = (e.Visibility == bvMdiChildMaximized && state == TNCObject::stHot) ? 4 : state;
  // The band behind a transparent button comes from the composed title band.
  const RECT& r = button.BoundsRect;
  if (!TitleCache.Empty() && r.bottom <= TitleCache.Height())
    BitBlt(dc.get(), r.left, r.top, r.right - r.left, r.bottom - r.top, TitleCache.DC(), r.left, r.top, SRCCOPY);
  DrawFrame(dc.get(), r, e.Image, true, Frames(e), std::min(frame, Frames(e)));
}

// --- region -----------------------------------------------------------------

gui::RegionHandle TWinSkinForm::BandRegion(int index, const RECT& band, bool fromCache) {
  TDataSkinBorder& piece = Piece(SkinData->Skin(), index);
  const int frame = (Active || Frames(piece) == 1) ? 1 : 2;
  if (FrameComposedAt(band)) {
    // The composed frame holds every piece as painted: cut the band from it
    // rather than render the piece again.
    GdiFlush();
    const auto* bits = reinterpret_cast<const std::uint8_t*>(frameCache_.Bits());
    const std::ptrdiff_t stride = static_cast<std::ptrdiff_t>(frameCache_.Width()) * 4;
    const TScanLines lines{bits + band.top * stride + band.left * 4, stride, band.right - band.left,
                           band.bottom - band.top};
    return CreateRegionFromScanLines(lines, band.left, band.top, 1, 1, 1, TransparentColour);
  }
  if (fromCache) {
    gui::TBitmap part(band.right - band.left, band.bottom - band.top);
    BitBlt(part.DC(), 0, 0, part.Width(), part.Height(), TitleCache.DC(), band.left, band.top, SRCCOPY);
    return CreateRegionFromBitmap(part, band.left, band.top, 1, 1, 1, TransparentColour);
  }
  gui::TBitmap rendered = RenderNineSlice(band, piece.Image, piece.Margins(), index == bpTop || index == bpBottom,
                                          piece.TilesCentre(), Frames(piece), frame);
  if (rendered.Empty()) return gui::RegionHandle(CreateRectRgnIndirect(&band));
  return CreateRegionFromBitmap(rendered, band.left, band.top, 1, 1, 1, TransparentColour);
}

bool TWinSkinForm::FrameComposedAt(const RECT& band) const {
  return frameCacheKey_ && frameCache_.Bits() && band.left >= 0 && band.top >= 0 && band.left < band.right &&
         band.top < band.bottom && band.right <= frameCache_.Width() && band.bottom <= frameCache_.Height();
}

void TWinSkinForm::UpdateRegion() {
  if (!SkinData) return;
  const SIZE size = WindowSize(Handle);
  const int w = size.cx, h = size.cy;
  if (w <= 0 || h <= 0 || IsRunningMdiChildOutOfNormal()) return;
  const TRegionKey key{w,         h, ShowState, TFrameThickness{FrameLeft, FrameTop, FrameRight, FrameBottom},
                       MenuHeight, SkinData->SkinGeneration()};
  // The same region again would cost a round trip to the display server.
  if (RegionSet && regionKey_ == key && MdiKind != mkChild) return;
  TSkinContent& skin = SkinData->Skin();
  HRGN region;
  if (skin.BorderLeft.Trans != 1 && skin.BorderRight.Trans != 1 && skin.BorderTop.Trans != 1 &&
      skin.BorderBottom.Trans != 1) {
    region = CreateRectRgn(0, 0, w, h);
  } else {
    // The frame the next paint shows, composed now for this size if it is
    // not yet, is what the region is cut from.
    bool composed = false;
    if (FramePaintable() && GetWindowRect(Handle, &WindowRect)) PaintSwallowingFailures([&] {
      ComposedFrame();
      composed = true;
    });
    if (!composed || !(frameCacheKey_->Input == FrameInput(size))) DropFrameCache();
    const TFrameLayout layout = LayoutFrame(FrameInput(size));
    const RECT inner{layout.Left.right, layout.TitleBand.bottom, layout.Right.left, layout.Bottom.top};
    gui::RegionHandle all(CreateRectRgnIndirect(&inner));
    auto add = [&all](gui::RegionHandle part) {
      if (part) CombineRgn(all.get(), all.get(), part.get(), RGN_OR);
    };
    auto full = [](const RECT& band) { return gui::RegionHandle(CreateRectRgnIndirect(&band)); };
    const RECT& left = layout.Left;
    const RECT& right = layout.Right;
    const RECT& bottom = layout.Bottom;
    const RECT& top = layout.TitleBand;
    add(skin.BorderLeft.Trans == 1 && h > 1 && FrameLeft > 0 ? BandRegion(bpLeft, left, false) : full(left));
    add(skin.BorderRight.Trans == 1 && h > 1 && FrameRight > 0 ? BandRegion(bpRight, right, false) : full(right));
    add(skin.BorderBottom.Trans == 1 && FrameBottom >= 2 && bottom.right > bottom.left
            ? BandRegion(bpBottom, bottom, false)
            : full(bottom));
    const bool cached = TitleCache.Width() == w && TitleCache.Height() == FrameTop;
    add(skin.BorderTop.Trans == 1 && FrameTop > 1 && top.right > top.left ? BandRegion(bpTop, top, cached)
                                                                         : full(top));
    region = all.release();
  }
  // The window owns the region from here on.
  RegionHandle = region;
  SetWindowRgn(Handle, region, TRUE);
  RegionSet = true;
  regionKey_ = key;
}

void TWinSkinForm::RemoveRegion() {
  if (!RegionSet) return;
  TitleCache.SetSize(0, 0);
  DropFrameCache();
  SetWindowRgn(Handle, nullptr, FALSE);
  RegionSet = false;
  regionKey_.reset();
  RegionHandle = nullptr;
}

// --- input ------------------------------------------------------------------

POINT TWinSkinForm::ScreenToWindow(int x, int y) const {
  POINT p{x, y};
  ScreenToClient(Handle, &p);
  if (ShowState != shMinimized) {
    p.x += FrameLeft;
    p.y += FrameTop + MenuHeight;
  }
  return p;
}

TWinSysButton* TWinSkinForm::FindSysButton(POINT p) {
  // Laid out now, for the window as it is: never the last paint's places.
  LayoutSysButtons();
  for (const auto& button : SysButtons)
    if (button->Visible && button->Element->Action >= 0 && PtInRect(&button->BoundsRect, p)) return button.get();
  return nullptr;
}

LRESULT TWinSkinForm::WMNcHitTest(WPARAM wParam, LPARAM lParam) {
  LRESULT hit = CallDefault(WM_NCHITTEST, wParam, lParam);
  if (hit != HTNOWHERE) return hit;
  const POINT screen = PointOf(lParam);
  const POINT p = ScreenToWindow(screen.x, screen.y);
  // Skinned close, minimise and maximise buttons answer as the system's
  // would, so tools that look for those boxes find them; their clicks stay
  // ours.
  if (TWinSysButton* button = FindSysButton(p)) {
    if (button->Element->Action == caClose) return HTCLOSE;
    if (button->Element->Action == caMinimize) return HTMINBUTTON;
    if (button->Element->Action == caMaximize || button->Element->Action == caMaximize2) return HTMAXBUTTON;
  }
  if (p.y > ScaleToScreen(3)) hit = HTCAPTION;
  if (p.y > FrameTop) hit = HTMENU;
  return hit;
}

TNCObject* TWinSkinForm::FindNCObject(POINT p) {
  if (TWinSysButton* button = FindSysButton(p)) return button;
  return MenuBar ? MenuBar->FindMenuButton(p) : nullptr;
}

LRESULT TWinSkinForm::WMNcMouseMove(WPARAM wParam, LPARAM lParam) {
  if (!Active) return 0;
  const POINT screen = PointOf(lParam);
  if (TNCObject* object = FindNCObject(ScreenToWindow(screen.x, screen.y))) {
    object->MouseEnter();
    return 0;
  }
  if (CurrentObject) CurrentObject->MouseLeave();
  return CallDefault(WM_NCMOUSEMOVE, wParam, lParam);
}

LRESULT TWinSkinForm::WMNcLButtonDown(WPARAM wParam, LPARAM lParam) {
  FollowWindowMenu();
  const POINT screen = PointOf(lParam);
  if (TNCObject* object = FindNCObject(ScreenToWindow(screen.x, screen.y))) {
    if (!Active) SetForegroundWindow(Handle);
    object->MouseDown();
    if (auto* item = dynamic_cast<TMenuBtn*>(object)) OpenMenuButton(*item);
    return 0;
  }
  // A maximised window is not dragged by its caption.
  if (ShowState == shMaximized && wParam == HTCAPTION && Active) wParam = HTMENU;
  return CallDefault(WM_NCLBUTTONDOWN, wParam, lParam);
}

LRESULT TWinSkinForm::WMNcLButtonUp(WPARAM wParam, LPARAM lParam) {
  const POINT screen = PointOf(lParam);
  if (TNCObject* object = FindNCObject(ScreenToWindow(screen.x, screen.y))) {
    // A bar item has opened on the press already.
    auto* button = dynamic_cast<TWinSysButton*>(object);
    if (button && CurrentObject == button) {
      button->MouseUp();
      DoButtonAction(screen.x, screen.y);
    }
    return 0;
  }
  return CallDefault(WM_NCLBUTTONUP, wParam, lParam);
}

LRESULT TWinSkinForm::WMNcLButtonDblClk(WPARAM, LPARAM) {
  if (ShowState != shNormal) {
    RestoreWindow();
  } else if (WindowButtons & wbMaximize) {
    ToggleMaximize();
  }
  return 0;
}

LRESULT TWinSkinForm::WMNcRButtonDown(WPARAM wParam, LPARAM lParam) {
  if (wParam == HTCAPTION && MdiKind != mkChild) {
    const POINT screen = PointOf(lParam);
    ShowSystemMenu(screen.x, screen.y);
    return 0;
  }
  return CallDefault(WM_NCRBUTTONDOWN, wParam, lParam);
}

LRESULT TWinSkinForm::WMCommand(WPARAM wParam, LPARAM lParam) {
  switch (LOWORD(wParam) & 0xFFF0) {
    case SC_SIZE:
    case SC_MOVE:
    case SC_MINIMIZE:
    case SC_MAXIMIZE:
    case SC_NEXTWINDOW:
    case SC_PREVWINDOW:
    case SC_CLOSE:
    case SC_RESTORE:
      // A choice made in the system menu tracked as a plain popup.
      if ((LOWORD(wParam) & 0xF) == 0) {
        PostMessageW(Handle, WM_SYSCOMMAND, LOWORD(wParam), 0);
        return 0;
      }
      break;
    default:
      break;
  }
  return CallDefault(WM_COMMAND, wParam, lParam);
}

bool TWinSkinForm::AnswerKeyMenu(LPARAM ch) {
  if (!FrameSkinned || (MdiKind != mkChild && (Style & WS_CHILD))) return false;
  if (MenuTracking || ch == ' ' || ch == '-' || GetCapture()) return false;
  FollowWindowMenu();
  if (ch == 0) {
    if (MenuBar) TrackBarKeys();
    return true;
  }
  if (!FindAccelButton(static_cast<wchar_t>(ch))) return false;
  MenuAccelerator(static_cast<WPARAM>(ch));
  return true;
}

LRESULT TWinSkinForm::WMSysCommand(WPARAM wParam, LPARAM lParam) {
  const WPARAM command = wParam & 0xFFF0;
  if (command == SC_KEYMENU && AnswerKeyMenu(lParam)) return 1;
  if (command == SC_MINIMIZE) {
    ShowState = shMinimized;
    if (MdiKind == mkChild) SetSystemCaption(true);
  } else if (command == SC_MAXIMIZE) {
    ShowState = shMaximized;
    if (MdiKind == mkChild) SetSystemCaption(true);
  } else if (command == SC_RESTORE) {
    ShowState = shNormal;
    if (MdiKind == mkChild) SetSystemCaption(false);
  }
  return CallDefault(WM_SYSCOMMAND, wParam, lParam);
}

LRESULT TWinSkinForm::WMSize(WPARAM wParam, LPARAM lParam) {
  const LRESULT result = CallDefault(WM_SIZE, wParam, lParam);
  if (wParam == SIZE_RESTORED) ShowState = shNormal;
  if (wParam == SIZE_MINIMIZED) ShowState = shMinimized;
  if (wParam == SIZE_MAXIMIZED) ShowState = shMaximized;
  if (ShowState == shMinimized) return result;
  if (MdiKind == mkChild && (MdiMaximized() || ShowState != shNormal)) return result;
  if (SkinState == ssRunning || SkinState == ssReskinning) UpdateRegion();
  return result;
}

LRESULT TWinSkinForm::WMGetMinMaxInfo(WPARAM wParam, LPARAM lParam) {
  // The system sizes a maximised MDI child from the styles it has while it
  // asks, and the window's placement says "maximised" only afterwards: a
  // child on its way to the maximised state gets its caption back first, so
  // that caption and frame end up outside the client window.
  const bool childMaximising = MdiKind == mkChild && ShowState == shMaximized;
  if (childMaximising) SetSystemCaption(true);
  const LRESULT result = CallDefault(WM_GETMINMAXINFO, wParam, lParam);
  ReadShowState();
  if (childMaximising && ShowState == shNormal) ShowState = shMaximized;
  if (ShowState == shMinimized) {
    SetSystemCaption(true);
  } else if (MdiKind == mkChild && ShowState == shMaximized) {
    SetSystemCaption(true);
  } else if (MdiKind == mkChild) {
    if (MdiMaximized()) Host->ChangeMdiMaximized(false);
    SetSystemCaption(false);
  } else {
    SetSystemCaption(false);
  }
  auto* info = reinterpret_cast<MINMAXINFO*>(lParam);
  info->ptMaxTrackSize = POINT{GetSystemMetrics(SM_CXMAXIMIZED), GetSystemMetrics(SM_CYMAXIMIZED)};
  return result;
}

void TWinSkinForm::HoverTick() {
  if (MenuTracking) return;
  POINT cursor{};
  GetCursorPos(&cursor);
  if (CurrentObject) {
    const POINT p = ScreenToWindow(cursor.x, cursor.y);
    if (!PtInRect(&CurrentObject->BoundsRect, p)) CurrentObject->MouseLeave();
  }
  if (!Form && HotButton()) {
    const RECT r = HotButton()->LastPaintedRect();
    if (!PtInRect(&r, cursor)) {
      HotButton()->SendMouseLeave();
      SetHotButton(nullptr);
    }
  }
}

void TWinSkinForm::DoButtonAction(int x, int y) {
  auto* button = dynamic_cast<TWinSysButton*>(CurrentObject);
  if (!button) return;
  const int action = button->Element->Action;
  switch (action) {
    case caClose:
      CloseFromMenu();
      break;
    case caMaximize:
    case caMaximize2:
      ToggleMaximize();
      break;
    case caMinimize:
    case caMinimize2:
      ToggleMinimize();
      break;
    case caSystemMenu:
    case caIcon:
    case caSystemMenu2:
      ShowSystemMenu(x + 1, y + 1);
      break;
    case caMdiMinimize:
    case caMdiMinimize2:
    case caMdiRestore:
    case caMdiRestore2:
    case caMdiClose:
    case caMdiClose2:
      SendToMdiChild((action == caMdiMinimize || action == caMdiMinimize2)  ? SC_MINIMIZE
                     : (action == caMdiRestore || action == caMdiRestore2) ? SC_RESTORE
                                                                           : SC_CLOSE);
      break;
    default:
      PostMessageW(Handle, SkinMsgQuery, static_cast<WPARAM>(action), 0);
      break;
  }
}

void TWinSkinForm::ShowSystemMenu(int x, int y) {
  if (skinSystemMenu_) {
    for (gui::TMenuItem* item : skinSystemMenu_->Items().Items()) {
      if (item->Tag() == 0) item->Enabled = ShowState != shNormal;
      if (item->Tag() == 1) item->Enabled = ShowState != shMaximized;
      if (item->Tag() == 2) item->Enabled = ShowState != shMinimized;
    }
  }
  const DWORD now = GetTickCount();
  if (static_cast<int>(DoubleClickTime) < 0 || now - LastIconClick > DoubleClickTime) {
    LastIconClick = now;
    if (skinSystemMenu_ && SkinData->HasControl(xcSystemMenu) && MdiKind != mkChild) {
      skinSystemMenu_->Popup(x, y, Handle);
    } else if (SystemMenu) {
      TrackPopupMenu(SystemMenu, TPM_RIGHTBUTTON, x, y, 0, Handle, nullptr);
    }
    return;
  }
  // A second opening within the double-click time: double-clicking the icon
  // closes the window.
  CloseFromMenu();
}

}  // namespace skin
