// Fitting a form skinner's frame to its window: the client size kept inside
// the skin frame at attach and at a skin change, the system caption taken
// off and put back, the show state followed.
#include "gui/forms.h"
#include "gui/text.h"
#include "gui/timer.h"
#include "skin/data/screen_scale.h"
#include "skin/data/skin_data.h"
#include "skin/form/skin_form.h"

namespace skin {

namespace {

// Where the frame's fitting changes the client area's size (the window keeps
// its own size), the program lays its children out again: with its drawing
// paused meanwhile, nothing it moves, and no scroll bar a control resets, is
// drawn only to be drawn again; the whole window is painted once afterwards.
class TDrawingPaused {
 public:
  explicit TDrawingPaused(HWND wnd) : wnd_(wnd && IsWindowVisible(wnd) ? wnd : nullptr) {
    if (wnd_) SendMessageW(wnd_, WM_SETREDRAW, FALSE, 0);
  }
  ~TDrawingPaused() {
    if (!wnd_ || !IsWindow(wnd_)) return;
    SendMessageW(wnd_, WM_SETREDRAW, TRUE, 0);
    RedrawWindow(wnd_, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN);
  }
  TDrawingPaused(const TDrawingPaused&) = delete;
  TDrawingPaused& operator=(const TDrawingPaused&) = delete;

 private:
  HWND wnd_;
};

}  // namespace

void TWinSkinForm::OnSkinMsgAttached() {
  if (state_ == ssAttached) {
    if (facts_.Mdi == mkChild && MdiMaximized()) {
      SetSystemCaption(true);
      RefreshFrame();
    } else if (facts_.Show != shMinimized && facts_.Kind != fkNone) {
      state_ = ssFitting;
      const TDrawingPaused paused(KeepsWindowSize() || IsZoomed(wnd_) ? wnd_ : nullptr);
      if (KeepsWindowSize() && !FitKeepsSystemPlace()) {
        // Only the frame changes, and a new region changes it as well
        // (SetWindowRgn lays the window out again, as SWP_FRAMECHANGED
        // does): one step instead of two, each a round trip to the display
        // server.
        RECT r{};
        GetWindowRect(wnd_, &r);
        menuBar_.FitHeight(r.right - r.left);
        state_ = ssRunning;
        if (!UpdateRegion()) RefreshFrame();
      } else {
        AdjustFrameSize(false);
        state_ = ssRunning;
        UpdateRegion();
      }
    }
  }
  state_ = ssRunning;
  if (hoverTimer_) hoverTimer_->SetEnabled(true);
}

TFrameShortfall TWinSkinForm::FrameShortfallNow() const {
  // Judged at the size the window has, its client kept; a minimised
  // window at the size it comes back to.
  SIZE window{};
  if (IsIconic(wnd_)) {
    WINDOWPLACEMENT placement{};
    placement.length = sizeof placement;
    GetWindowPlacement(wnd_, &placement);
    const RECT& normal = placement.rcNormalPosition;
    window = SIZE{normal.right - normal.left, normal.bottom - normal.top};
  } else {
    RECT client{};
    GetClientRect(wnd_, &client);
    window = WindowSizeForClient(facts_.Frame, facts_.MenuHeight, SIZE{client.right, client.bottom});
  }
  const TFrameInput in = FrameInput(window);
  MONITORINFO monitor{};
  monitor.cbSize = sizeof monitor;
  GetMonitorInfoW(MonitorFromWindow(wnd_, MONITOR_DEFAULTTONEAREST), &monitor);
  const RECT& work = monitor.rcWork;
  return FrameShortfall(in, ScaleToScreen(3), SIZE{work.right - work.left, work.bottom - work.top});
}

bool TWinSkinForm::FrameFitChanged() const {
  if (!skinData_ || !skinData_->HasControl(xcMainMenu) || skinData_->SkinLoading()) return false;
  const bool fits = FrameShortfallNow() == fsNone;
  return frameSkinned_ ? !fits : fits;
}

void TWinSkinForm::ReportFrameShortfall() {
  if (frameShortfall_ == fsNone || !skinData_) return;
  const std::wstring window = L"\"" + captionText_ + L"\" (" + windowClass_ + L")";
  skinData_->ReportSkinProblem(FrameShortfallText(frameShortfall_),
                              L"The skin \"" + gui::AnsiToWide(skinData_->SkinName()) + L"\" cannot frame the window " +
                                  window + L": it " + gui::AnsiToWide(FrameShortfallText(frameShortfall_)) +
                                  L", so that window keeps the system's frame.");
}

bool TWinSkinForm::KeepsWindowSize() const { return !form_ && (styleBeforeAttach_ & WS_THICKFRAME) != 0; }

bool TWinSkinForm::FitKeepsSystemPlace() const {
  return facts_.Show == shMaximized || IsZoomed(wnd_) || (facts_.Mdi == mkChild && MdiMaximized());
}

void TWinSkinForm::AdjustFrameSize(bool keepClient) {
  // A maximised window keeps its place, and so does every MDI child while
  // the children are maximised: the system places and draws those.
  if (FitKeepsSystemPlace()) {
    RefreshFrame();
    return;
  }
  RECT r{};
  GetWindowRect(wnd_, &r);
  if (KeepsWindowSize()) {
    menuBar_.FitHeight(r.right - r.left);
    RefreshFrame();
    return;
  }
  if (!keepClient && form_) {
    // The client height the form had inside the system frame it had at
    // attach, whatever its border style: a fixed border or a tool window's
    // small caption is thinner than a sizeable frame with a full caption.
    clientRect_.bottom = (r.bottom - r.top) - nativeFrameSize_.bottom;
  } else if (keepClient) {
    GetClientRect(wnd_, &clientRect_);
  }
  const TFrameThickness& frame = facts_.Frame;
  menuBar_.FitHeight(clientRect_.right + frame.Left + frame.Right);
  SIZE size = WindowSizeForClient(frame, facts_.MenuHeight, SIZE{clientRect_.right, clientRect_.bottom});
  const SIZE bars = ScrollBarsSize();
  size.cx += bars.cx;
  size.cy += bars.cy;
  if (!keepClient && (windowClass_ == L"TMessageForm" || windowClass_ == L"#32770")) {
    // Message and dialog boxes: widen the box until the caption fits.
    gui::WindowDc dc = gui::WindowDc::Whole(wnd_);
    HFONT font = CaptionFont() ? CaptionFont() : static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
    SIZE space{};
    {
      gui::SelectGuard select(dc.get(), font);
      GetTextExtentPoint32W(dc.get(), L" ", 1, &space);
    }
    spaceWidth_ = space.cx;
    SetCaptionText(WindowText(wnd_));
    const TDataSkinTitle& title = skinData_->Skin().TitleElement;
    const int needed = (static_cast<int>(captionText_.size()) + 7) * spaceWidth_ + frame.Left + frame.Right +
                       title.LeftWidth + title.RightWidth + title.TextBackLeft + title.TextBackRight;
    if (size.cx < needed) {
      const int shift = (needed - size.cx) / 2;
      for (HWND child = GetWindow(wnd_, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        RECT c{};
        GetWindowRect(child, &c);
        POINT p{c.left, c.top};
        ScreenToClient(wnd_, &p);
        SetWindowPos(child, nullptr, p.x + shift, p.y, 0, 0,
                     SWP_NOSIZE | SWP_NOZORDER | SWP_NOOWNERZORDER | SWP_NOSENDCHANGING);
      }
      size.cx = needed;
    }
  }
  // Never activating: an MDI child activated here would take the
  // maximised state from the active one.
  SetWindowPos(wnd_, nullptr, r.left, r.top, size.cx, size.cy,
               SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
}

void TWinSkinForm::SetSystemCaption(bool on) {
  if (!on && facts_.Mdi == mkChild && MdiMaximized()) return;
  systemCaptionOn_ = on;
  auto style = static_cast<DWORD>(GetWindowLongPtrW(wnd_, GWL_STYLE));
  std::uint8_t& buttons = facts_.WindowButtons;
  if (on) {
    if (buttons & wbSystemMenu) style |= WS_SYSMENU;
    if (buttons & wbMinimize) style |= WS_MINIMIZEBOX;
    if (buttons & wbMaximize) style |= WS_MAXIMIZEBOX;
    if (buttons & wbCaptionRemoved) style |= WS_CAPTION;
  } else if (ownerWindow_) {
    style &= ~static_cast<DWORD>(WS_SYSMENU | WS_MINIMIZEBOX | WS_MAXIMIZEBOX);
  } else {
    buttons |= wbCaptionRemoved;
    style &= ~static_cast<DWORD>(WS_CAPTION);
  }
  SetWindowLongPtrW(wnd_, GWL_STYLE, static_cast<LONG_PTR>(style));
  facts_.Style = style;
}

void TWinSkinForm::RefreshFrame() {
  SetWindowPos(wnd_, nullptr, 0, 0, 0, 0,
               SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
}

void TWinSkinForm::RefreshSkin() {
  if (form_) {
    form_->SetColor(skinData_->Skin().Colours.ButtonFace);
    for (gui::TComponent* component : form_->Components())
      if (auto* inner = dynamic_cast<gui::TCustomForm*>(component)) inner->SetColor(skinData_->Skin().Colours.ButtonFace);
  }
  for (TSkinControlBase* skinner : ControlSkinners()) skinner->SkinChanged();
  if (!form_) commonColours_.Give(wnd_, skinData_->Palette());
  state_ = ssReskinning;
  if (frameSkinned_) {
    if (form_) popups_.TakeOver(*form_, *skinData_);
    const TDrawingPaused paused(KeepsWindowSize() || IsZoomed(wnd_) ? wnd_ : nullptr);
    AdjustFrameSize(true);
    state_ = ssRunning;
    UpdateRegion();
  }
  state_ = ssRunning;
}

void TWinSkinForm::ReadShowState() {
  WINDOWPLACEMENT placement{};
  placement.length = sizeof(placement);
  if (!GetWindowPlacement(wnd_, &placement)) return;
  switch (placement.showCmd) {
    case SW_SHOWMINIMIZED:
    case SW_MINIMIZE:
    case SW_SHOWMINNOACTIVE:
      facts_.Show = shMinimized;
      break;
    case SW_SHOWMAXIMIZED:
      facts_.Show = shMaximized;
      break;
    default:
      facts_.Show = shNormal;
      break;
  }
}

void TWinSkinForm::FollowMdiMaximized(bool maximized) {
  if (facts_.Mdi != mkChild || !frameSkinned_) return;
  if (maximized) {
    RemoveRegion();
    SetSystemCaption(true);
  } else if (facts_.Show == shMinimized) {
    SetSystemCaption(true);
  } else {
    facts_.Show = shNormal;
    UpdateRegion();
    SetSystemCaption(false);
    if (!RegionSet()) RefreshFrame();
  }
}

}  // namespace skin
