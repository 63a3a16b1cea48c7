// The skinned frame of TWinSkinForm: its metrics, the layout's input, and
// painting from one composed picture of the whole frame.
#include <algorithm>
#include <cstdint>
#include <cstring>
#include <memory>
#include <mutex>
#include <vector>

#include "gui/bitmap.h"
#include "gui/fault_guard.h"
#include "gui/forms.h"
#include "gui/timer.h"
#include "skin/data/element_draw.h"
#include "skin/data/look_transitions.h"
#include "skin/data/paint_guard.h"
#include "skin/data/screen_scale.h"
#include "skin/data/skin_data.h"
#include "skin/data/skin_bitmap_ops.h"
#include "skin/data/skin_draw.h"
#include "skin/data/skin_mirror.h"
#include "skin/data/skin_region.h"
#include "skin/data/skin_text.h"
#include "skin/form/frame_pieces.h"
#include "skin/form/skin_form.h"

namespace skin {

namespace {

SIZE WindowSize(HWND wnd) {
  RECT r{};
  GetWindowRect(wnd, &r);
  return SIZE{r.right - r.left, r.bottom - r.top};
}

SIZE IconSize(HICON icon) {
  ICONINFO info{};
  if (!GetIconInfo(icon, &info)) return SIZE{};
  const gui::BitmapHandle colour(info.hbmColor), mask(info.hbmMask);
  BITMAP bitmap{};
  if (!GetObjectW(colour ? colour.get() : mask.get(), sizeof bitmap, &bitmap)) return SIZE{};
  // A monochrome icon's mask holds its AND and XOR halves one above the other.
  return SIZE{bitmap.bmWidth, colour ? bitmap.bmHeight : bitmap.bmHeight / 2};
}

// An icon as a picture with per-pixel alpha, premultiplied. The icon is
// drawn once over black and once over white: how far a pixel moves between
// the two is how much background it lets through, and over black its
// colour is already premultiplied. Soft edges of an icon with alpha then
// blend with the caption instead of with a key colour, and an icon with a
// mask only comes out with pixels wholly in or out.
gui::TBitmap IconPictureWithAlpha(HICON icon, int cx, int cy) {
  gui::TBitmap onBlack(cx, cy), onWhite(cx, cy);
  gui::TCanvas(onBlack.DC()).FillRect(RECT{0, 0, cx, cy}, RGB(0, 0, 0));
  gui::TCanvas(onWhite.DC()).FillRect(RECT{0, 0, cx, cy}, RGB(255, 255, 255));
  DrawIconEx(onBlack.DC(), 0, 0, icon, cx, cy, 0, nullptr, DI_NORMAL);
  DrawIconEx(onWhite.DC(), 0, 0, icon, cx, cy, 0, nullptr, DI_NORMAL);
  GdiFlush();
  std::uint32_t* black = onBlack.Bits();
  const std::uint32_t* white = onWhite.Bits();
  if (!black || !white) return onBlack;
  for (std::size_t i = 0, n = static_cast<std::size_t>(cx) * static_cast<std::size_t>(cy); i < n; ++i) {
    int through = 0;
    for (const int shift : {0, 8, 16})
      through = std::max(through, static_cast<int>((white[i] >> shift) & 0xFF) - static_cast<int>((black[i] >> shift) & 0xFF));
    const auto alpha = static_cast<std::uint32_t>(255 - std::clamp(through, 0, 255));
    std::uint32_t pixel = alpha << 24;
    for (const int shift : {0, 8, 16}) pixel |= std::min((black[i] >> shift) & 0xFF, alpha) << shift;
    black[i] = pixel;
  }
  onBlack.PremultipliedAlpha = true;
  return onBlack;
}

}  // namespace

std::shared_ptr<gui::TBitmap> SharedIconPicture(gui::TBitmap picture) {
  // Never destroyed: a skinner in static storage may let go of one during exit.
  static auto* const guard = new std::mutex;
  static auto* const cache = new std::vector<std::weak_ptr<gui::TBitmap>>;
  const auto same = [](const gui::TBitmap& a, const gui::TBitmap& b) {
    if (a.Width() != b.Width() || a.Height() != b.Height() || a.PremultipliedAlpha != b.PremultipliedAlpha) return false;
    if (a.Empty() || b.Empty()) return a.Empty() && b.Empty();
    return std::memcmp(a.Bits(), b.Bits(), static_cast<std::size_t>(a.Width()) * static_cast<std::size_t>(a.Height()) * 4) == 0;
  };
  GdiFlush();
  const std::lock_guard lock(*guard);
  std::erase_if(*cache, [](const auto& entry) { return entry.expired(); });
  for (const auto& entry : *cache)
    if (auto alive = entry.lock(); alive && same(*alive, picture)) return alive;
  auto made = std::make_shared<gui::TBitmap>(std::move(picture));
  cache->push_back(made);
  return made;
}

// --- geometry ---------------------------------------------------------------

void TWinSkinForm::FreeSysButtons() { buttons_.Clear(); }

void TWinSkinForm::ComputeFrameMetrics() {
  if (!skinData_ || skinData_->SkinLoading()) return;
  if (facts_.Kind == fkNone) {
    facts_.Frame = TFrameThickness{};
    facts_.MenuHeight = 0;
    return;
  }
  TSkinContent& skin = skinData_->Skin();
  const auto thickness = [](const TDataSkinBorder& piece, bool stacked) {
    const SIZE frame = OneFrame(SIZE{piece.Image.Width(), piece.Image.Height()}, piece.FrameCount, stacked);
    return stacked ? frame.cy : frame.cx;
  };
  facts_.Frame = TFrameThickness{thickness(skin.BorderLeft, false), thickness(skin.BorderTop, true),
                                 thickness(skin.BorderRight, false), thickness(skin.BorderBottom, true)};
  DropFrameCache();
  // Only an icon of the window's own stands in for windows without one.
  const bool hasIconButton = std::any_of(skin.SysButtonElements.begin(), skin.SysButtonElements.end(),
                                         [](const auto& element) { return ShowsWindowIcon(element->Action); });
  if (hasIconButton && !IconPicture().Empty() && host_ && ownIcon_) host_->OfferWindowIcon(skinData_, IconPicture());
  buttons_.Build(this, skin);
}

void TWinSkinForm::RenderIconBitmap() {
  const int cx = GetSystemMetrics(SM_CXSMICON), cy = GetSystemMetrics(SM_CYSMICON);
  ++iconGeneration_;
  // Drawn here once, then only blitted from, and shared with every window
  // that shows the same picture.
  gui::TBitmap picture(cx, cy);
  picture.SetSharesDc(true);
  gui::TCanvas(picture.DC()).FillRect(RECT{0, 0, cx, cy}, TransparentColour);
  const auto share = [&] { iconBitmap_ = SharedIconPicture(std::move(picture)); };
  ownIcon_ = false;
  // The window's own icon, else its class's, as the system's caption has
  // it; without either, the skin's default window icon, except where the
  // system shows none: without the system menu, on a tool window, and on a
  // dialog box of another program with the modal frame.
  const auto style = static_cast<DWORD>(GetWindowLongPtrW(wnd_, GWL_STYLE));
  const auto exStyle = static_cast<DWORD>(GetWindowLongPtrW(wnd_, GWL_EXSTYLE));
  facts_.ShowsIcon = form_ || ((style & WS_SYSMENU) && !(exStyle & WS_EX_TOOLWINDOW));
  auto icon = reinterpret_cast<HICON>(SendMessageW(wnd_, WM_GETICON, ICON_SMALL, 0));
  if (!icon) icon = reinterpret_cast<HICON>(SendMessageW(wnd_, WM_GETICON, ICON_BIG, 0));
  const bool modalFrame = (exStyle & WS_EX_DLGMODALFRAME) != 0;
  if (!icon && (!modalFrame || !form_)) {
    icon = reinterpret_cast<HICON>(GetClassLongPtrW(wnd_, GCLP_HICONSM));
    if (!icon) icon = reinterpret_cast<HICON>(GetClassLongPtrW(wnd_, GCLP_HICON));
  }
  if (!facts_.ShowsIcon) return share();
  if (icon) {
    // An icon of another size is made again at this one, from its resource
    // where it has one (its own small picture rather than a shrunk large
    // one); one of this size, such as a class's small icon, is drawn as it is.
    gui::IconHandle smallIcon;
    if (const SIZE size = IconSize(icon); size.cx != cx || size.cy != cy) {
      smallIcon.reset(static_cast<HICON>(CopyImage(icon, IMAGE_ICON, cx, cy, LR_COPYFROMRESOURCE)));
      if (!smallIcon) smallIcon.reset(static_cast<HICON>(CopyImage(icon, IMAGE_ICON, cx, cy, 0)));
    }
    picture = IconPictureWithAlpha(smallIcon ? smallIcon.get() : icon, cx, cy);
    picture.SetSharesDc(true);
    ownIcon_ = true;
    return share();
  }
  if (!form_ && modalFrame) {
    facts_.ShowsIcon = false;
    return share();
  }
  // No icon of its own: the skin's default window icon.
  if (gui::TBitmap* spare = host_ ? host_->DefaultWindowIcon(skinData_) : nullptr) {
    picture.CopyFrom(*spare);
    picture.SetSharesDc(true);
  }
  share();
}

gui::TBitmap& TWinSkinForm::IconPicture() const {
  // One empty picture for every thread, never destroyed. Nothing changes an
  // empty picture, so threads may share it; a thread-local one was destroyed
  // at thread exit after its storage had been freed (thread-local storage in
  // a mingw-w64 DLL), writing into the heap.
  static gui::TBitmap* const none = new gui::TBitmap;
  return iconBitmap_ ? *iconBitmap_ : *none;
}

LRESULT TWinSkinForm::WMNcCalcSize(WPARAM wParam, LPARAM lParam) {
  CallDefault(WM_NCCALCSIZE, wParam, lParam);
  FollowMdiFrameTitle();
  if (!wParam) return 0;
  auto* params = reinterpret_cast<NCCALCSIZE_PARAMS*>(lParam);
  const WINDOWPOS& pos = *params->lppos;
  // The bar wraps into as many rows as the new width needs.
  menuBar_.FitHeight(pos.cx);
  const TFrameInput in = FrameInput(SIZE{pos.cx, pos.cy});
  const TFrameLayout layout = LayoutFrame(in);
  if (!layout.Skinned) {
    params->rgrc[1] = params->rgrc[0];
    return WVR_VALIDRECTS;
  }
  RECT client = ShownRect(in, layout.Client);
  OffsetRect(&client, pos.x, pos.y);
  TFrameScrollBars::Reserve(static_cast<DWORD>(GetWindowLongPtrW(wnd_, GWL_STYLE)),
                            static_cast<DWORD>(GetWindowLongPtrW(wnd_, GWL_EXSTYLE)), client);
  params->rgrc[0] = client;
  params->rgrc[1] = client;
  return WVR_VALIDRECTS;
}

TFrameInput TWinSkinForm::FrameInput(SIZE window) const {
  TFrameInput in;
  static_cast<TWindowFacts&>(in) = facts_;
  in.Window = window;
  // A frame asks its client; a child goes by the shared mode.
  in.MdiChildMaximized = facts_.Mdi == mkFrame ? MdiChildMaximized() : MdiMaximized();
  in.MenuRowHeight = MenuBar() ? GetSystemMetrics(SM_CYMENU) : 0;
  if (!skinData_) return in;
  TSkinContent& skin = skinData_->Skin();
  in.MenuBarMargin = skin.MenuBar ? skin.MenuBar->LeftWidth : 0;
  const TDataSkinTitle& title = skin.TitleElement;
  in.Caption = TCaptionTextSpec{captionMeasured_, title.TextAlignment, title.LeftWidth,    title.TopHeight,
                                title.RightWidth, title.TextBackLeft,  title.TextBackRight,
                                ScaleToScreen(5)};
  // The icon button is one frame of its picture; a skin without one shows
  // the icon itself, at its size.
  const gui::TBitmap& icon = IconPicture();
  in.Buttons = buttons_.Specs(icon.Empty() ? SIZE{} : SIZE{icon.Width(), icon.Height()});
  return in;
}

TFrameInput TWinSkinForm::FrameInput() const { return FrameInput(WindowSize(wnd_)); }

TFrameLayout TWinSkinForm::LayoutSysButtons() const { return LayoutFrame(FrameInput()); }

TCaptionButtonPlace TWinSkinForm::PlaceOf(const TWinSysButton& button) const {
  const TFrameLayout layout = LayoutSysButtons();
  return button.Index < layout.Buttons.size() ? layout.Buttons[button.Index] : TCaptionButtonPlace{};
}

void TWinSkinForm::SetCaptionText(std::wstring text) {
  captionText_ = std::move(text);
  captionMeasured_ = SIZE{};
  gui::MemoryDcHandle dc(CreateCompatibleDC(nullptr));
  if (!dc) return;
  gui::SelectGuard font(dc.get(), CaptionFont());
  const std::wstring measured = captionText_ + L" " + captionPrefix_;
  RECT r{};
  DrawTextW(dc.get(), measured.c_str(), static_cast<int>(measured.size()), &r, DT_CALCRECT | DT_NOCLIP);
  captionMeasured_ = SIZE{r.right - r.left, r.bottom - r.top};
}

// --- painting ---------------------------------------------------------------

LRESULT TWinSkinForm::WMNcPaint(WPARAM wParam, LPARAM lParam) {
  if (menuBar_.PassingChangeOn()) return 0;
  if (IsRunningMdiChildOutOfNormal() || facts_.Kind == fkNone) return CallDefault(WM_NCPAINT, wParam, lParam);
  // GetDCEx takes the update region it is given; hand it a copy, and keep
  // it only when the call fails.
  gui::RegionHandle update;
  if (wParam > 1) {
    update.reset(CreateRectRgn(0, 0, 0, 0));
    CombineRgn(update.get(), reinterpret_cast<HRGN>(wParam), nullptr, RGN_COPY);
  }
  gui::WindowDc dc(wnd_, GetDCEx(wnd_, update.get(), DCX_WINDOW | (update ? DCX_INTERSECTRGN : 0u)));
  if (dc) update.release();
  if (dc) PaintNonClient(dc.get());
  return 0;
}

LRESULT TWinSkinForm::WMNcActivate(WPARAM wParam, LPARAM) {
  facts_.Active = wParam != 0;
  menuBar_.FollowWindowMenu();
  if (hoverTimer_) hoverTimer_->SetEnabled(facts_.Active);
  if (!facts_.Active && HotButton()) {
    HotButton()->SendMouseLeave();
    SetHotButton(nullptr);
  }
  if (!IsRunningMdiChildOutOfNormal()) PaintNonClient();
  return 1;
}

LRESULT TWinSkinForm::WMEraseBkgnd(WPARAM wParam, LPARAM lParam) {
  const LRESULT result = CallDefault(WM_ERASEBKGND, wParam, lParam);
  if (form_ || !skinData_) return result;
  RECT client{};
  GetClientRect(wnd_, &client);
  FillRect(reinterpret_cast<HDC>(wParam), &client, skinData_->Skin().ButtonFaceBrush.get());
  return 1;
}

void TWinSkinForm::PaintNonClient(HDC dc) {
  if (!FramePaintable()) return;
  gui::WindowDc own(wnd_, dc ? nullptr : GetWindowDC(wnd_));
  HDC target = dc ? dc : own.get();
  if (!target) return;
  RECT window{};
  if (!GetWindowRect(wnd_, &window)) return;
  PaintSwallowingFailures([&] {
    gui::FaultPoint(gui::TFaultSite::FramePaint);
    const TFrameLayout layout = ComposedFrame();
    {
      // One blit of the whole window with the client area (and the menu
      // band, which the bar paints itself) clipped away.
      gui::SavedDcState saved(target);
      ExcludeClipRect(target, layout.Client.left, layout.Client.top, layout.Client.right, layout.Client.bottom);
      if (MenuBar())
        ExcludeClipRect(target, layout.MenuBand.left, layout.MenuBand.top, layout.MenuBand.right,
                        layout.MenuBand.bottom);
      BitBlt(target, 0, 0, frameCache_.Width(), frameCache_.Height(), frameCache_.DC(), 0, 0, SRCCOPY);
    }
    if (TWinSkinMenu* bar = MenuBar()) {
      gui::SavedDcState saved(target);
      bar->Paint(target, layout.MenuBand, layout.Buttons);
    }
    scrollBars_.Paint(wnd_, target, *skinData_);
  });
  SetCurrentObject(nullptr);
}

bool TWinSkinForm::FramePaintable() const {
  return skinData_ && (state_ == ssRunning || state_ == ssReskinning) && facts_.Kind != fkNone &&
         !IsRunningMdiChildOutOfNormal();
}

TFrameLayout TWinSkinForm::ComposedFrame() {
  const SIZE window = WindowSize(wnd_);
  TFrameCacheKey key = FrameCacheKey(window);
  TFrameLayout layout = LayoutFrame(key.Input);
  if (!frameCacheKey_ || !(*frameCacheKey_ == key)) {
    frameCacheKey_.reset();
    ComposeFrame(layout, window);
    frameCacheKey_ = std::move(key);
  }
  return layout;
}

TFrameCacheKey TWinSkinForm::FrameCacheKey(SIZE window) const {
  return TFrameCacheKey{FrameInput(window), captionPrefix_ + captionText_, skinData_->SkinGeneration(),
                        iconGeneration_, CaptionFont()};
}

void TWinSkinForm::ComposeFrame(const TFrameLayout& layout, SIZE window) {
  ++frameComposeCount_;
  const int w = window.cx, h = window.cy;
  // Composed through DCs of their own, made for the composition; after it
  // the pictures are only blitted from and keep no DC between paints.
  frameCache_.SetSharesDc(false);
  frameCache_.SetSize(w, h);
  HDC dc = frameCache_.DC();
  // Composed as the window DC it is copied to is laid out: a mirrored
  // frame reflected whole, its caption reading as it should.
  SetMirrored(dc, facts_.Mirrored);
  // What no piece covers (a skin without one) is the face colour rather
  // than what the last composition left there.
  const RECT all{0, 0, w, h};
  FillRect(dc, &all, skinData_->Skin().ButtonFaceBrush.get());
  PaintBorderPiece(bpLeft, layout.Left, dc);
  PaintBorderPiece(bpRight, layout.Right, dc);
  PaintBorderPiece(bpBottom, layout.Bottom, dc);
  PaintTitleBar(dc, layout);
  // A mirrored frame's picture keeps the DC laid out for it: a shared DC
  // is lent in the default layout, and a copy from it into the mirrored
  // window DC would show the frame reflected once more.
  frameCache_.SetSharesDc(!facts_.Mirrored);
}

void TWinSkinForm::DropFrameCache() {
  frameCacheKey_.reset();
  frameCache_.SetSize(0, 0);
}

gui::TBitmap TWinSkinForm::RenderedPiece(int index, const RECT& rect) {
  TDataSkinBorder& piece = BorderPiece(skinData_->Skin(), index);
  gui::TBitmap rendered = RenderElement(rect, piece, PieceState(piece, index, facts_.Active));
  // A piece the skin keeps unreflected goes to the mirrored frame reflected
  // once already, so that the frame's reflection shows it as it is.
  if (facts_.Mirrored && !piece.Reflected()) MirrorBitmap(rendered);
  return rendered;
}

void TWinSkinForm::PaintBorderPiece(int index, const RECT& rect, HDC dc) {
  if (rect.right < rect.left || rect.bottom < rect.top) return;
  TDataSkinBorder& piece = BorderPiece(skinData_->Skin(), index);
  if (piece.Image.Empty()) return;
  gui::TBitmap rendered = RenderedPiece(index, rect);
  if (rendered.Empty()) return;
  gui::TCanvas(dc).Draw(rect.left, rect.top, rendered);  // a piece with alpha blends over the face
}

void TWinSkinForm::PaintTitleBar(HDC dc, const TFrameLayout& layout) {
  const int width = layout.Title.right, height = layout.Title.bottom;
  if (width <= 0 || height <= 0) return;
  // Over the corners the side pieces painted; nothing of the band reaches
  // below it.
  gui::SavedDcState saved(dc);
  IntersectClipRect(dc, 0, 0, width, height);
  PaintBorderPiece(bpTop, layout.TitleBand, dc);
  PaintCaption(dc, layout);
  buttons_.PaintAtRest(dc, layout, IconPicture(), facts_.Active);
}

void TWinSkinForm::PaintCaption(HDC dc, const TFrameLayout& layout) {
  TSkinContent& skin = skinData_->Skin();
  TDataSkinTitle& title = skin.TitleElement;
  gui::SavedDcState saved(dc);
  SelectObject(dc, CaptionFont());
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, gui::ColorToRGB(facts_.Active ? skin.Colours.TitleTextActive : skin.Colours.TitleTextNoActive));
  RECT text = layout.CaptionText;
  if (!title.Image.Empty()) {
    DrawElement(dc, RECT{text.left, layout.TitleBand.top, text.right, layout.TitleBand.bottom}, title,
                {.Frame = facts_.Active ? 1 : 2,
                 .Fit = TElementFit::ThreeSlice,
                 .Frames = 2,
                 .StackedFrames = true,
                 .Keying = TElementKeying::Keyed,
                 .Margins = RECT{title.TextBackLeft, 0, title.TextBackRight, 0}});
  }
  text.left += title.TextBackLeft;
  text.right -= title.TextBackRight;
  // The blanks before the caption are room, not text: a caption that does
  // not fit gets that room first, and then shows as much of itself as fits
  // before its ellipsis, as the system's does.
  std::wstring shown = captionPrefix_ + captionText_;
  SIZE full{};
  GetTextExtentPoint32W(dc, shown.c_str(), static_cast<int>(shown.size()), &full);
  if (full.cx > text.right - text.left) shown = captionText_;
  DrawSkinText(dc, shown, text, DT_SINGLELINE | DT_END_ELLIPSIS | (facts_.LaysOutFromRight() ? DT_RIGHT : 0u));
}

void TWinSkinForm::PaintSysButton(const TWinSysButton& button, int state) {
  TDataSkinSysButton& e = *button.Element;
  const TCaptionButtonPlace place = PlaceOf(button);
  if (!place.Visible) return;
  const bool icon = ShowsWindowIcon(e.Action);
  if (icon ? IconPicture().Empty() : e.Image.Empty()) return;
  gui::WindowDc dc = gui::WindowDc::Whole(wnd_);
  if (!dc) return;
  if (icon) {
    DrawElement(dc.get(), place.Bounds, e, IconState(IconPicture()));
    return;
  }
  const int frame = (e.Visibility == bvMdiChildMaximized && state == TNCObject::stHot) ? 4 : state;
  // The band behind a transparent button comes from the composed frame.
  const RECT& r = place.Bounds;
  if (frameCacheKey_ && r.bottom <= frameCache_.Height() && r.right <= frameCache_.Width())
    BitBlt(dc.get(), r.left, r.top, r.right - r.left, r.bottom - r.top, frameCache_.DC(), r.left, r.top, SRCCOPY);
  TElementState look{.Frame = std::min(frame, FramesOf(e)), .Fit = TElementFit::Stretch, .Keying = TElementKeying::Keyed};
  const TLookKind kind = state == TNCObject::stPressed ? TLookKind::Pressed
                         : state == TNCObject::stHot   ? TLookKind::Hot
                                                       : TLookKind::Normal;
  const TAnimatedPart part{static_cast<const TNCObject*>(&button), 0};
  TLookTransitions::OfThread().NoteAtRest(part, facts_.Active || FramesOf(e) < 4 ? 1 : 4, TLookKind::Normal);
  TLookTransitions::OfThread().Follow(look, part, kind,
                                      core::AnimatedKind::CaptionButton, skinData_->Skin().Animation,
                                      [this, b = &button] { PaintSysButton(*b, b->State); });
  DrawElement(dc.get(), r, e, look);
}

}  // namespace skin
