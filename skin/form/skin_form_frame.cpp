// The skinned frame of TWinSkinForm: its geometry, painting, caption buttons,
// window region and the non-client mouse input.
#include <windowsx.h>

#include <algorithm>
#include <exception>

#include "gui/bitmap.h"
#include "gui/forms.h"
#include "gui/menus.h"
#include "gui/timer.h"
#include "skin/data/skin_data.h"
#include "skin/data/skin_draw.h"
#include "skin/data/skin_region.h"
#include "skin/data/skin_text.h"
#include "skin/form/menu_item_draw.h"
#include "skin/form/skin_form.h"
#include "skin/manager/skin_manager.h"
#include "skin/manager/skin_popup_menu.h"

namespace skin {

namespace {

constexpr int kIconAction = 3;
constexpr int kIconAction2 = 11;
constexpr int kMdiButtons = 100;

bool ShowsIcon(const TDataSkinSysButton& e) { return e.Action == kIconAction || e.Action == kIconAction2; }

int Frames(const TDataSkinObject& e) { return e.FrameCount > 0 ? e.FrameCount : 1; }

TDataSkinBorder& Piece(TSkinContent& skin, int index) {
  switch (index) {
    case 1: return skin.BorderLeft;
    case 2: return skin.BorderRight;
    case 3: return skin.BorderTop;
    default: return skin.BorderBottom;
  }
}

POINT PointOf(LPARAM lParam) { return POINT{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)}; }

}  // namespace

// --- geometry ---------------------------------------------------------------

void TWinSkinForm::FreeSysButtons() {
  CurrentObject = nullptr;
  SysButtons.clear();
}

void TWinSkinForm::ComputeFrameMetrics() {
  if (!SkinData || SkinData->SkinLoading) return;
  if (FrameKind == 2) {
    FrameLeft = FrameTop = FrameRight = FrameBottom = MenuHeight = 0;
    return;
  }
  TSkinContent& skin = SkinData->Skin();
  FrameTop = skin.BorderTop.Image.Height() / Frames(skin.BorderTop);
  FrameLeft = skin.BorderLeft.Image.Width() / Frames(skin.BorderLeft);
  FrameRight = skin.BorderRight.Image.Width() / Frames(skin.BorderRight);
  FrameBottom = skin.BorderBottom.Image.Height() / Frames(skin.BorderBottom);
  FreeSysButtons();
  for (const auto& element : skin.SysButtonElements) {
    if (ShowsIcon(*element) && !IconBitmap.Empty()) {
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
  if (!spare && SkinManager) {
    for (TSkinData* data : SkinManager->SkinDataList())
      if (data->SkinFormtype == sfMainform && !data->SpareBitmap.Empty()) spare = &data->SpareBitmap;
  }
  if (spare) IconBitmap.CopyFrom(*spare);
}

LRESULT TWinSkinForm::WMNcCalcSize(WPARAM wParam, LPARAM lParam) {
  CallDefault(WM_NCCALCSIZE, wParam, lParam);
  if (!wParam) return 0;
  auto* params = reinterpret_cast<NCCALCSIZE_PARAMS*>(lParam);
  if (IsRunningMdiChildOutOfNormal() || FrameKind == 2) {
    params->rgrc[1] = params->rgrc[0];
    return WVR_VALIDRECTS;
  }
  const WINDOWPOS& pos = *params->lppos;
  const RECT client{pos.x + FrameLeft, pos.y + FrameTop + MenuHeight, pos.x + pos.cx - FrameRight,
                    pos.y + pos.cy - FrameBottom};
  params->rgrc[0] = client;
  params->rgrc[1] = client;
  return WVR_VALIDRECTS;
}

// --- painting ---------------------------------------------------------------

LRESULT TWinSkinForm::WMNcPaint(WPARAM wParam, LPARAM lParam) {
  if (!SkinData->FramePainting) return 0;
  if (IsRunningMdiChildOutOfNormal() || FrameKind == 2) return CallDefault(WM_NCPAINT, wParam, lParam);
  // GetDCEx owns the update region it is given; hand it a copy.
  HRGN update = nullptr;
  if (wParam > 1) {
    update = CreateRectRgn(0, 0, 0, 0);
    CombineRgn(update, reinterpret_cast<HRGN>(wParam), nullptr, RGN_COPY);
  }
  gui::WindowDc dc(Handle, GetDCEx(Handle, update, DCX_WINDOW | (update ? DCX_INTERSECTRGN : 0u)));
  if (!dc && update) DeleteObject(update);
  if (dc) PaintNonClient(dc.get());
  return 0;
}

LRESULT TWinSkinForm::WMNcActivate(WPARAM wParam, LPARAM) {
  Active = wParam ? 1 : 0;
  if (hoverTimer_) hoverTimer_->SetEnabled(Active != 0);
  if (!Active && HotButton) {
    HotButton->SendMouseLeave();
    HotButton = nullptr;
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

void TWinSkinForm::PaintNonClient(HDC dc) {
  if (!SkinData || (SkinState != ssRunning && SkinState != ssReskinning) || FrameKind == 2 ||
      IsRunningMdiChildOutOfNormal())
    return;
  gui::WindowDc own(Handle, dc ? nullptr : GetWindowDC(Handle));
  HDC target = dc ? dc : own.get();
  if (!target) return;
  try {
    if (!GetWindowRect(Handle, &WindowRect)) return;
    WindowWidth = WindowRect.right - WindowRect.left;
    WindowHeight = WindowRect.bottom - WindowRect.top;
    const int w = WindowWidth, h = WindowHeight;
    PaintBorderPiece(1, RECT{0, 0, FrameLeft, h}, target);
    PaintBorderPiece(2, RECT{w - FrameRight, 0, w, h}, target);
    PaintBorderPiece(4, RECT{FrameLeft, h - FrameBottom, w - FrameRight, h}, target);
    PaintTitleBar(target);
  } catch (const std::exception&) {
    // A frame that cannot be painted stays as it was.
  }
  CurrentObject = nullptr;
}

void TWinSkinForm::PaintBorderPiece(int index, const RECT& rect, HDC dc) {
  if (rect.right < rect.left || rect.bottom < rect.top) return;
  TDataSkinBorder& piece = Piece(SkinData->Skin(), index);
  if (piece.Image.Empty()) return;
  const int frame = (Active || Frames(piece) == 1) ? 1 : 2;
  gui::TBitmap rendered =
      RenderNineSlice(rect, piece.Image, piece.Margins(), index > 2, piece.Tile != 1, Frames(piece), frame);
  if (rendered.Empty()) return;
  BitBlt(dc, rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top, rendered.DC(), 0, 0, SRCCOPY);
}

void TWinSkinForm::PaintTitleBar(HDC dc) {
  if (WindowWidth <= 0 || FrameTop <= 0) return;
  // The corners painted by the side pieces become part of the band.
  TitleCache.SetSize(WindowWidth, FrameTop);
  BitBlt(TitleCache.DC(), 0, 0, WindowWidth, FrameTop, dc, 0, 0, SRCCOPY);
  const RECT band{FrameLeft, 0, WindowWidth - FrameRight, FrameTop};
  PaintBorderPiece(3, band, TitleCache.DC());
  PaintCaption(TitleCache.DC(), band);
  LayoutSysButtons();
  PaintSysButtons(TitleCache.DC());
  BitBlt(dc, 0, 0, WindowWidth, FrameTop, TitleCache.DC(), 0, 0, SRCCOPY);
  SetBkMode(dc, OPAQUE);
}

void TWinSkinForm::PaintCaption(HDC dc, const RECT& band) {
  TSkinContent& skin = SkinData->Skin();
  TDataSkinTitle& title = skin.TitleElement;
  gui::SelectGuard font(dc, CaptionFont.get());
  const int oldMode = SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, gui::ColorToRGB(Active ? skin.Colours.TitleTextActive : skin.Colours.TitleTextNoActive));

  const std::wstring measured = CaptionText + L" " + CaptionPrefix;
  RECT text = band;
  DrawTextW(dc, measured.c_str(), static_cast<int>(measured.size()), &text, DT_CALCRECT | DT_NOCLIP);
  text.right += title.TextBackLeft + title.TextBackRight;
  const int textWidth = text.right - text.left, textHeight = text.bottom - text.top;
  const int bandWidth = band.right - band.left, bandHeight = band.bottom - band.top;
  int dx;
  const int alignment = RightToLeft ? 2 : title.TextAlignment;
  switch (alignment) {
    case 0: dx = title.LeftWidth; break;
    case 1: dx = (bandWidth - textWidth) / 2; break;
    case 2: dx = bandWidth - title.RightWidth - textWidth; break;
    default: dx = 0; break;
  }
  const int dy = (bandHeight - textHeight) / 2 + title.TopHeight / 2;
  OffsetRect(&text, dx, dy);
  if (Style & WS_POPUP) {
    if (text.right < RightButtonsLeft - 5) text.right = RightButtonsLeft - 5;
  } else if (text.right > band.right - title.RightWidth) {
    text.right = band.right - title.RightWidth;
  }
  CaptionRect = text;
  if (!title.Image.Empty()) {
    gui::TCanvas canvas(dc);
    DrawThreeSlice(canvas, RECT{text.left, band.top, text.right, band.bottom}, title.Image, true, true, 2,
                   Active ? 1 : 2, RECT{title.TextBackLeft, 0, title.TextBackRight, 0});
  }
  text.left += title.TextBackLeft;
  text.right -= title.TextBackRight;
  DrawSkinText(dc, CaptionPrefix + CaptionText, text,
               DT_SINGLELINE | DT_END_ELLIPSIS | (RightToLeft ? DT_RIGHT : 0u));
  SetBkMode(dc, oldMode);
}

void TWinSkinForm::LayoutSysButtons() {
  RightButtonsLeft = 0;
  const TDataSkinObject* menuBar = SkinData->Skin().MenuBar.get();
  const int menuMargin = menuBar ? menuBar->LeftWidth : 0;
  for (std::size_t i = 0; i < SysButtons.size(); ++i) {
    TWinSysButton& button = *SysButtons[i];
    const TDataSkinSysButton& e = *button.Element;
    if (!IsButtonVisible(i) || e.Image.Empty()) continue;
    const int width = e.Image.Width() / Frames(e), height = e.Image.Height();
    POINT at{0, 0};
    switch (e.Align) {
      case 0: at = POINT{e.XCoord, e.YCoord}; break;
      case 1:
        at = POINT{WindowWidth - e.XCoord, e.YCoord};
        RightButtonsLeft = std::max<int>(RightButtonsLeft, at.x);
        break;
      case 2:
      case 8: at = POINT{CaptionRect.left - width - e.XCoord, e.YCoord}; break;
      case 3:
      case 9: at = POINT{CaptionRect.right + e.XCoord, e.YCoord}; break;
      case kMdiButtons:
        at.y = FrameTop + (MenuHeight - height) / 2;
        at.x = RightToLeft ? FrameLeft + e.XCoord + menuMargin : WindowWidth - e.XCoord - FrameRight - menuMargin;
        break;
      default: break;
    }
    button.BoundsRect = RECT{at.x, at.y, at.x + width, at.y + height};
  }
}

bool TWinSkinForm::IsButtonVisible(std::size_t index) {
  TWinSysButton& button = *SysButtons[index];
  const TDataSkinSysButton& e = *button.Element;
  const bool maximised = ShowState == 1;
  const bool hasMax = WindowButtons & wbMaximize, hasMin = WindowButtons & wbMinimize;
  const bool hasSysMenu = WindowButtons & wbSystemMenu;
  bool a;
  switch (e.Visibility) {
    case 0: a = FrameKind != 3 && (e.Action != 0 || hasSysMenu); break;
    case 1: a = maximised; break;
    case 2: a = !maximised; break;
    case 3: a = Active != 0; break;
    case 4: a = Active == 0; break;
    case 6: a = hasMax && hasSysMenu; break;
    case 7: a = !hasMax; break;
    case 8: a = hasMin && hasSysMenu; break;
    case 9: a = !hasMin; break;
    case kMdiButtons: {
      // The maximised-child buttons belong to the MDI frame's menu bar.
      a = MdiKind == 1 && SkinManager && SkinManager->MdiMaximized && MenuHeight > 0;
      break;
    }
    default: a = e.Visibility >= 200 && e.Visibility <= 2000; break;
  }
  bool b;
  switch (e.Visibility1) {
    case 0: b = true; break;
    case 1: b = maximised; break;
    case 2: b = !maximised; break;
    case 3: b = Active != 0; break;
    case 4: b = Active == 0; break;
    case 6: b = hasMax; break;
    case 7: b = !hasMax; break;
    case 8: b = hasMin; break;
    case 9: b = !hasMin; break;
    case 100: b = a; break;
    default: b = e.Visibility1 >= 200 && e.Visibility1 <= 2000; break;
  }
  bool visible = a && b;
  if (e.Action == 1 && !hasMax) visible = false;
  if (e.Action == 2 && !hasMin) visible = false;
  button.Visible = visible;
  return visible;
}

void TWinSkinForm::PaintSysButtons(HDC dc) {
  for (const auto& button : SysButtons) {
    TDataSkinSysButton& e = *button->Element;
    if (!button->Visible || e.Image.Empty() || e.Visibility == kMdiButtons) continue;
    if (ShowsIcon(e)) {
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
  if (ShowsIcon(e)) {
    DrawFrame(dc.get(), button.BoundsRect, IconBitmap, true, 1, 1);
    return;
  }
  const int frame = (e.Visibility == kMdiButtons && state == TNCObject::stHot) ? 4 : state;
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
  if (fromCache) {
    gui::TBitmap part(band.right - band.left, band.bottom - band.top);
    BitBlt(part.DC(), 0, 0, part.Width(), part.Height(), TitleCache.DC(), band.left, band.top, SRCCOPY);
    return CreateRegionFromBitmap(part, band.left, band.top, 1, 1, 1, TransparentColour);
  }
  gui::TBitmap rendered =
      RenderNineSlice(band, piece.Image, piece.Margins(), index > 2, piece.Tile != 1, Frames(piece), frame);
  if (rendered.Empty()) return gui::RegionHandle(CreateRectRgnIndirect(&band));
  return CreateRegionFromBitmap(rendered, band.left, band.top, 1, 1, 1, TransparentColour);
}

void TWinSkinForm::UpdateRegion() {
  if (!SkinData) return;
  RECT r{};
  GetWindowRect(Handle, &r);
  const int w = r.right - r.left, h = r.bottom - r.top;
  if (w <= 0 || h <= 0 || IsRunningMdiChildOutOfNormal()) return;
  if (RegionSet && RegionSize.cx == w && RegionSize.cy == h && MdiKind != 2 && SkinState != ssReskinning) return;
  TSkinContent& skin = SkinData->Skin();
  HRGN region;
  if (skin.BorderLeft.Trans != 1 && skin.BorderRight.Trans != 1 && skin.BorderTop.Trans != 1 &&
      skin.BorderBottom.Trans != 1) {
    region = CreateRectRgn(0, 0, w, h);
  } else {
    RegionSize = SIZE{w, h};
    gui::RegionHandle all(CreateRectRgn(FrameLeft, FrameTop, w - FrameRight, h - FrameBottom));
    auto add = [&all](gui::RegionHandle part) {
      if (part) CombineRgn(all.get(), all.get(), part.get(), RGN_OR);
    };
    auto full = [](const RECT& band) { return gui::RegionHandle(CreateRectRgnIndirect(&band)); };
    const RECT left{0, 0, FrameLeft, h}, right{w - FrameRight, 0, w, h};
    const RECT bottom{FrameLeft, h - FrameBottom, w - FrameRight, h}, top{FrameLeft, 0, w - FrameRight, FrameTop};
    add(skin.BorderLeft.Trans == 1 && h > 1 && FrameLeft > 0 ? BandRegion(1, left, false) : full(left));
    add(skin.BorderRight.Trans == 1 && h > 1 && FrameRight > 0 ? BandRegion(2, right, false) : full(right));
    add(skin.BorderBottom.Trans == 1 && FrameBottom >= 2 && bottom.right > bottom.left ? BandRegion(4, bottom, false)
                                                                                        : full(bottom));
    const bool cached = TitleCache.Width() == w && TitleCache.Height() == FrameTop;
    add(skin.BorderTop.Trans == 1 && FrameTop > 1 && top.right > top.left ? BandRegion(3, top, cached) : full(top));
    region = all.release();
  }
  // The window owns the region from here on.
  RegionHandle = region;
  SetWindowRgn(Handle, region, TRUE);
  RegionSet = true;
}

void TWinSkinForm::RemoveRegion() {
  if (!RegionSet) return;
  TitleCache.SetSize(0, 0);
  SetWindowRgn(Handle, nullptr, FALSE);
  RegionSet = false;
  RegionHandle = nullptr;
}

// --- input ------------------------------------------------------------------

POINT TWinSkinForm::ScreenToWindow(int x, int y) const {
  POINT p{x, y};
  ScreenToClient(Handle, &p);
  if (ShowState != 2) {
    p.x += FrameLeft;
    p.y += FrameTop + MenuHeight;
  }
  return p;
}

TWinSysButton* TWinSkinForm::FindSysButton(POINT p) const {
  for (const auto& button : SysButtons)
    if (button->Visible && button->Element->Action >= 0 && PtInRect(&button->BoundsRect, p)) return button.get();
  return nullptr;
}

LRESULT TWinSkinForm::WMNcHitTest(WPARAM wParam, LPARAM lParam) {
  LRESULT hit = CallDefault(WM_NCHITTEST, wParam, lParam);
  if (hit != HTNOWHERE) return hit;
  const POINT screen = PointOf(lParam);
  const POINT p = ScreenToWindow(screen.x, screen.y);
  // Skinned close and minimise buttons answer as the system's would, so
  // tools that look for those boxes find them; their clicks stay ours.
  if (TWinSysButton* button = FindSysButton(p)) {
    if (button->Element->Action == 0) return HTCLOSE;
    if (button->Element->Action == 2) return HTMINBUTTON;
  }
  if (p.y > 3) hit = HTCAPTION;
  if (p.y > FrameTop) hit = HTMENU;
  return hit;
}

LRESULT TWinSkinForm::WMNcMouseMove(WPARAM wParam, LPARAM lParam) {
  if (!Active) return 0;
  const POINT screen = PointOf(lParam);
  if (TWinSysButton* button = FindSysButton(ScreenToWindow(screen.x, screen.y))) {
    button->MouseEnter();
    return 0;
  }
  if (CurrentObject) CurrentObject->MouseLeave();
  return CallDefault(WM_NCMOUSEMOVE, wParam, lParam);
}

LRESULT TWinSkinForm::WMNcLButtonDown(WPARAM wParam, LPARAM lParam) {
  const POINT screen = PointOf(lParam);
  if (TWinSysButton* button = FindSysButton(ScreenToWindow(screen.x, screen.y))) {
    if (!Active) SetForegroundWindow(Handle);
    button->MouseDown();
    return 0;
  }
  // A maximised window is not dragged by its caption.
  if (ShowState == 1 && wParam == HTCAPTION && Active) wParam = HTMENU;
  return CallDefault(WM_NCLBUTTONDOWN, wParam, lParam);
}

LRESULT TWinSkinForm::WMNcLButtonUp(WPARAM wParam, LPARAM lParam) {
  const POINT screen = PointOf(lParam);
  if (TWinSysButton* button = FindSysButton(ScreenToWindow(screen.x, screen.y))) {
    if (CurrentObject == button) {
      button->MouseUp();
      DoButtonAction(screen.x, screen.y);
    }
    return 0;
  }
  return CallDefault(WM_NCLBUTTONUP, wParam, lParam);
}

LRESULT TWinSkinForm::WMNcLButtonDblClk(WPARAM, LPARAM) {
  if (ShowState != 0) {
    RestoreWindow();
  } else if (WindowButtons & wbMaximize) {
    ToggleMaximize();
  }
  return 0;
}

LRESULT TWinSkinForm::WMNcRButtonDown(WPARAM wParam, LPARAM lParam) {
  if (wParam == HTCAPTION && MdiKind != 2) {
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

LRESULT TWinSkinForm::WMSysCommand(WPARAM wParam, LPARAM lParam) {
  const WPARAM command = wParam & 0xFFF0;
  // The system's invisible keyboard menu mode never starts on a skinned
  // frame: Alt pressed alone would otherwise swallow the next key.
  if (!MenuTracking && command == SC_KEYMENU && lParam != ' ' && lParam != '-' && !GetCapture() && lParam == 0)
    return 1;
  if (command == SC_MINIMIZE) {
    ShowState = 2;
    if (MdiKind == 2) SetSystemCaption(true);
  } else if (command == SC_MAXIMIZE) {
    ShowState = 1;
  } else if (command == SC_RESTORE) {
    ShowState = 0;
    if (MdiKind == 2) SetSystemCaption(false);
  }
  return CallDefault(WM_SYSCOMMAND, wParam, lParam);
}

LRESULT TWinSkinForm::WMSize(WPARAM wParam, LPARAM lParam) {
  const LRESULT result = CallDefault(WM_SIZE, wParam, lParam);
  if (wParam == SIZE_RESTORED) ShowState = 0;
  if (wParam == SIZE_MINIMIZED) ShowState = 2;
  if (wParam == SIZE_MAXIMIZED) ShowState = 1;
  if (ShowState == 2) return result;
  if (MdiKind == 2 && ((SkinManager && SkinManager->MdiMaximized) || ShowState != 0)) return result;
  if (SkinState == ssRunning || SkinState == ssReskinning) UpdateRegion();
  return result;
}

LRESULT TWinSkinForm::WMGetMinMaxInfo(WPARAM wParam, LPARAM lParam) {
  const LRESULT result = CallDefault(WM_GETMINMAXINFO, wParam, lParam);
  ReadShowState();
  if (ShowState == 2) {
    SetSystemCaption(true);
  } else if (MdiKind == 2 && ShowState == 1) {
    SetSystemCaption(true);
  } else if (MdiKind == 2) {
    if (SkinManager && SkinManager->MdiMaximized) SkinManager->SetMdiMaximized(false);
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
  if (!Form && HotButton) {
    const RECT r = HotButton->LastPaintedRect();
    if (!PtInRect(&r, cursor)) {
      HotButton->SendMouseLeave();
      HotButton = nullptr;
    }
  }
}

void TWinSkinForm::DoButtonAction(int x, int y) {
  auto* button = dynamic_cast<TWinSysButton*>(CurrentObject);
  if (!button) return;
  const int action = button->Element->Action;
  switch (action) {
    case 0:
      CloseFromMenu();
      break;
    case 1:
    case 22:
      ToggleMaximize();
      break;
    case 2:
    case 23:
      ToggleMinimize();
      break;
    case 3:
    case 11:
    case 12:
      ShowSystemMenu(x + 1, y + 1);
      break;
    case 7:
    case 60:
    case 8:
    case 61:
    case 9:
    case 62: {
      // The active MDI child, when there is a client area holding one.
      HWND child = MdiClient ? reinterpret_cast<HWND>(SendMessageW(MdiClient, WM_MDIGETACTIVE, 0, 0)) : nullptr;
      const WPARAM command = (action == 7 || action == 60) ? SC_MINIMIZE : (action == 8 || action == 61) ? SC_RESTORE
                                                                                                          : SC_CLOSE;
      if (child) SendMessageW(child, WM_SYSCOMMAND, command, 0);
      break;
    }
    default:
      PostMessageW(Handle, SkinMsgQuery, static_cast<WPARAM>(action), 0);
      break;
  }
}

void TWinSkinForm::ShowSystemMenu(int x, int y) {
  if (skinSystemMenu_) {
    for (gui::TMenuItem* item : skinSystemMenu_->Items().Items()) {
      if (item->Tag() == 0) item->Enabled = ShowState != 0;
      if (item->Tag() == 1) item->Enabled = ShowState != 1;
      if (item->Tag() == 2) item->Enabled = ShowState != 2;
    }
  }
  const DWORD now = GetTickCount();
  if (static_cast<int>(DoubleClickTime) < 0 || now - LastIconClick > DoubleClickTime) {
    LastIconClick = now;
    if (skinSystemMenu_ && SkinData->HasControl(xcSystemMenu) && MdiKind != 2) {
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

// --- owner-drawn items of the skinned system menu --------------------------

LRESULT TWinSkinForm::WMMeasureItem(WPARAM wParam, LPARAM lParam) {
  auto* measure = reinterpret_cast<MEASUREITEMSTRUCT*>(lParam);
  if (measure->CtlType == ODT_MENU && gui::TPopupMenu::MeasureItem(*measure)) return TRUE;
  return CallDefault(WM_MEASUREITEM, wParam, lParam);
}

LRESULT TWinSkinForm::WMDrawItem(WPARAM wParam, LPARAM lParam) {
  const auto* draw = reinterpret_cast<const DRAWITEMSTRUCT*>(lParam);
  if (draw->CtlType == ODT_MENU && gui::TMenuItem::FromItemData(draw->itemData)) {
    menuBeingDrawn_ = reinterpret_cast<HMENU>(draw->hwndItem);
    gui::TPopupMenu::DrawItem(*draw);
    menuBeingDrawn_ = nullptr;
    return TRUE;
  }
  return CallDefault(WM_DRAWITEM, wParam, lParam);
}

}  // namespace skin
