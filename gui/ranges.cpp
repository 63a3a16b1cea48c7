#include "gui/ranges.h"

#include <commctrl.h>

#include <algorithm>
#include <utility>

#include "gui/comctrls.h"

namespace gui {

namespace {

// Changing a control's orientation turns its box by a quarter.
void TurnBox(TControl& control) {
  if (!control.IsLoading()) control.SetBounds(control.Left(), control.Top(), control.Height(), control.Width());
}

TScrollCode ScrollCodeOf(WORD code) {
  switch (code) {
    case SB_LINEUP: return TScrollCode::scLineUp;
    case SB_LINEDOWN: return TScrollCode::scLineDown;
    case SB_PAGEUP: return TScrollCode::scPageUp;
    case SB_PAGEDOWN: return TScrollCode::scPageDown;
    case SB_THUMBPOSITION: return TScrollCode::scPosition;
    case SB_THUMBTRACK: return TScrollCode::scTrack;
    case SB_TOP: return TScrollCode::scTop;
    case SB_BOTTOM: return TScrollCode::scBottom;
    default: return TScrollCode::scEndScroll;
  }
}

}  // namespace

// ---------------------------------------------------------------------------
// TScrollBar

TScrollBar::TScrollBar(TComponent* owner) : TWinControl(owner) {
  SetTabStop(true);
  width_ = 121;
  height_ = GetSystemMetrics(SM_CYHSCROLL);
}

void TScrollBar::CreateParams(TCreateParams& params) {
  TWinControl::CreateParams(params);
  CreateSubClass(params, L"SCROLLBAR");
  params.Style |= kind_ == TScrollBarKind::sbVertical ? SBS_VERT : SBS_HORZ;
}

void TScrollBar::CreateWindowHandleDone() { UpdateWindow(); }

void TScrollBar::SetKind(TScrollBarKind kind) {
  if (kind == kind_) return;
  TurnBox(*this);
  SetStyleField(kind_, kind);
}

void TScrollBar::SetParams(int position, int min, int max, int pageSize) {
  const int oldPosition = position_;
  min_ = min;
  max_ = max;
  pageSize_ = pageSize;
  position_ = position;
  // While the description is read the values may arrive in any order.
  if (IsLoading()) return;
  Normalize();
  UpdateWindow();
  if (position_ != oldPosition && OnChange) OnChange(this);
}

void TScrollBar::Normalize() {
  const int top = std::max(min_, max_);
  pageSize_ = std::clamp(pageSize_, 0, top - min_ + 1);
  position_ = std::clamp(position_, min_, std::max(min_, top - std::max(pageSize_ - 1, 0)));
}

void TScrollBar::Loaded() {
  TWinControl::Loaded();
  Normalize();
  UpdateWindow();
}

void TScrollBar::UpdateWindow() {
  if (!handle_) return;
  SCROLLINFO si{sizeof si, SIF_ALL, min_, max_, static_cast<UINT>(pageSize_), position_, 0};
  SetScrollInfo(handle_, SB_CTL, &si, TRUE);
}

void TScrollBar::Scroll(WORD code) {
  int position = position_;
  switch (code) {
    case SB_LINEUP: position -= SmallChange; break;
    case SB_LINEDOWN: position += SmallChange; break;
    case SB_PAGEUP: position -= LargeChange; break;
    case SB_PAGEDOWN: position += LargeChange; break;
    case SB_THUMBPOSITION:
    case SB_THUMBTRACK: {
      // The 32-bit position, not the notification's 16 bits.
      SCROLLINFO si{sizeof si, SIF_TRACKPOS, 0, 0, 0, 0, 0};
      if (GetScrollInfo(handle_, SB_CTL, &si)) position = si.nTrackPos;
      break;
    }
    case SB_TOP: position = min_; break;
    case SB_BOTTOM: position = max_; break;
    default: break;
  }
  scrollCode_ = ScrollCodeOf(code);
  SetPosition(position);
  if (OnScroll) OnScroll(this);
}

void TScrollBar::WndProc(TMessage& m) {
  switch (m.Msg) {
    case CN_HSCROLL:
    case CN_VSCROLL:
      Scroll(LOWORD(m.WParam));
      m.Result = 0;
      return;
    case CN_CTLCOLORSCROLLBAR:
      // The track in the system's colour, as the window scroll bars have it.
      m.Result = SystemColors(m);
      return;
    default:
      break;
  }
  TWinControl::WndProc(m);
}

void TScrollBar::DeclareProperties(std::vector<TPropInfo>& list) {
  TPropBuilder<TScrollBar> b(list);
  b.Enumeration("Kind", {"sbHorizontal", "sbVertical"}, [](TScrollBar& c) { return static_cast<int>(c.Kind()); },
                [](TScrollBar& c, int v) { c.SetKind(static_cast<TScrollBarKind>(v)); });
  b.Integer("Min", [](TScrollBar& c) { return c.Min(); }, [](TScrollBar& c, int v) { c.SetMin(v); });
  b.Integer("Max", [](TScrollBar& c) { return c.Max(); }, [](TScrollBar& c, int v) { c.SetMax(v); });
  b.Integer("PageSize", [](TScrollBar& c) { return c.PageSize(); }, [](TScrollBar& c, int v) { c.SetPageSize(v); });
  b.Integer("Position", [](TScrollBar& c) { return c.Position(); }, [](TScrollBar& c, int v) { c.SetPosition(v); });
  b.Integer("SmallChange", [](TScrollBar& c) { return c.SmallChange; }, [](TScrollBar& c, int v) { c.SmallChange = v; });
  b.Integer("LargeChange", [](TScrollBar& c) { return c.LargeChange; }, [](TScrollBar& c, int v) { c.LargeChange = v; });
  b.Event("OnChange", &TScrollBar::OnChange);
  b.Event("OnScroll", &TScrollBar::OnScroll);
}

// ---------------------------------------------------------------------------
// TTrackBar

TTrackBar::TTrackBar(TComponent* owner) : TWinControl(owner) {
  SetTabStop(true);
  width_ = 150;
  height_ = 45;
}

void TTrackBar::CreateParams(TCreateParams& params) {
  NeedCommonControls(ICC_BAR_CLASSES);
  TWinControl::CreateParams(params);
  CreateSubClass(params, TRACKBAR_CLASSW);
  if (orientation_ == TTrackBarOrientation::trVertical) params.Style |= TBS_VERT;
  switch (tickMarks_) {
    case TTickMark::tmBottomRight: break;  // below a horizontal bar, right of a vertical one
    case TTickMark::tmTopLeft: params.Style |= TBS_TOP; break;
    case TTickMark::tmBoth: params.Style |= TBS_BOTH; break;
  }
  if (tickStyle_ == TTickStyle::tsNone) params.Style |= TBS_NOTICKS;
  if (tickStyle_ == TTickStyle::tsAuto) params.Style |= TBS_AUTOTICKS;
}

void TTrackBar::CreateWindowHandleDone() {
  SendMessageW(handle_, TBM_SETRANGEMIN, FALSE, min_);
  SendMessageW(handle_, TBM_SETRANGEMAX, FALSE, max_);
  SendMessageW(handle_, TBM_SETLINESIZE, 0, lineSize_);
  SendMessageW(handle_, TBM_SETPAGESIZE, 0, pageSize_);
  SendMessageW(handle_, TBM_SETTICFREQ, static_cast<WPARAM>(frequency_), 0);
  SendMessageW(handle_, TBM_SETPOS, TRUE, position_);
  position_ = static_cast<int>(SendMessageW(handle_, TBM_GETPOS, 0, 0));
}

void TTrackBar::SetOrientation(TTrackBarOrientation orientation) {
  if (orientation == orientation_) return;
  TurnBox(*this);
  SetStyleField(orientation_, orientation);
}

void TTrackBar::SetMin(int v) {
  min_ = v;
  if (handle_) SendMessageW(handle_, TBM_SETRANGEMIN, TRUE, v);
  if (!IsLoading() && position_ < v) SetPosition(v);
}

void TTrackBar::SetMax(int v) {
  max_ = v;
  if (handle_) SendMessageW(handle_, TBM_SETRANGEMAX, TRUE, v);
  if (!IsLoading() && position_ > v) SetPosition(v);
}

void TTrackBar::SetPosition(int v) {
  // While the description is read, the range may not be there yet.
  if (!IsLoading()) v = std::clamp(v, min_, std::max(min_, max_));
  if (handle_) SendMessageW(handle_, TBM_SETPOS, TRUE, v);
  PositionChanged(v);
}

void TTrackBar::Loaded() {
  TWinControl::Loaded();
  position_ = std::clamp(position_, min_, std::max(min_, max_));
}

void TTrackBar::PositionChanged(int position) {
  if (position == position_) return;
  position_ = position;
  if (OnChange && !IsLoading()) OnChange(this);
}

void TTrackBar::SetFrequency(int v) {
  frequency_ = v;
  if (handle_) SendMessageW(handle_, TBM_SETTICFREQ, static_cast<WPARAM>(v), 0);
}

void TTrackBar::SetLineSize(int v) {
  lineSize_ = v;
  if (handle_) SendMessageW(handle_, TBM_SETLINESIZE, 0, v);
}

void TTrackBar::SetPageSize(int v) {
  pageSize_ = v;
  if (handle_) SendMessageW(handle_, TBM_SETPAGESIZE, 0, v);
}

void TTrackBar::SetTickMarks(TTickMark v) { SetStyleField(tickMarks_, v); }
void TTrackBar::SetTickStyle(TTickStyle v) { SetStyleField(tickStyle_, v); }

void TTrackBar::WndProc(TMessage& m) {
  if (m.Msg == CN_HSCROLL || m.Msg == CN_VSCROLL) {
    PositionChanged(static_cast<int>(SendMessageW(handle_, TBM_GETPOS, 0, 0)));
    m.Result = 0;
    return;
  }
  TWinControl::WndProc(m);
}

void TTrackBar::DeclareProperties(std::vector<TPropInfo>& list) {
  TPropBuilder<TTrackBar> b(list);
  b.Enumeration("Orientation", {"trHorizontal", "trVertical"},
                [](TTrackBar& c) { return static_cast<int>(c.Orientation()); },
                [](TTrackBar& c, int v) { c.SetOrientation(static_cast<TTrackBarOrientation>(v)); });
  b.Integer("Min", [](TTrackBar& c) { return c.Min(); }, [](TTrackBar& c, int v) { c.SetMin(v); });
  b.Integer("Max", [](TTrackBar& c) { return c.Max(); }, [](TTrackBar& c, int v) { c.SetMax(v); });
  b.Integer("Position", [](TTrackBar& c) { return c.Position(); }, [](TTrackBar& c, int v) { c.SetPosition(v); });
  b.Integer("Frequency", [](TTrackBar& c) { return c.Frequency(); }, [](TTrackBar& c, int v) { c.SetFrequency(v); });
  b.Integer("LineSize", [](TTrackBar& c) { return c.LineSize(); }, [](TTrackBar& c, int v) { c.SetLineSize(v); });
  b.Integer("PageSize", [](TTrackBar& c) { return c.PageSize(); }, [](TTrackBar& c, int v) { c.SetPageSize(v); });
  b.Enumeration("TickMarks", {"tmBottomRight", "tmTopLeft", "tmBoth"},
                [](TTrackBar& c) { return static_cast<int>(c.TickMarks()); },
                [](TTrackBar& c, int v) { c.SetTickMarks(static_cast<TTickMark>(v)); });
  b.Enumeration("TickStyle", {"tsNone", "tsAuto", "tsManual"},
                [](TTrackBar& c) { return static_cast<int>(c.TickStyle()); },
                [](TTrackBar& c, int v) { c.SetTickStyle(static_cast<TTickStyle>(v)); });
  b.Event("OnChange", &TTrackBar::OnChange);
}

// ---------------------------------------------------------------------------
// TUpDown

TUpDown::TUpDown(TComponent* owner) : TWinControl(owner) {
  width_ = GetSystemMetrics(SM_CXVSCROLL);
  height_ = 25;
}

TUpDown::~TUpDown() {
  if (associate_) RemoveFreeNotification(associate_);
}

void TUpDown::CreateParams(TCreateParams& params) {
  NeedCommonControls(ICC_UPDOWN_CLASS);
  TWinControl::CreateParams(params);
  CreateSubClass(params, UPDOWN_CLASSW);
  params.Style |= UDS_SETBUDDYINT;
  params.Style |= alignButton_ == TUDAlignButton::udRight ? UDS_ALIGNRIGHT : UDS_ALIGNLEFT;
  if (orientation_ == TUDOrientation::udHorizontal) params.Style |= UDS_HORZ;
  if (arrowKeys_) params.Style |= UDS_ARROWKEYS;
  if (!thousands_) params.Style |= UDS_NOTHOUSANDS;
  if (wrap_) params.Style |= UDS_WRAP;
}

void TUpDown::CreateWindowHandleDone() {
  SendMessageW(handle_, UDM_SETRANGE32, static_cast<WPARAM>(min_), max_);
  UDACCEL accel{0, static_cast<UINT>(increment_)};
  SendMessageW(handle_, UDM_SETACCEL, 1, reinterpret_cast<LPARAM>(&accel));
  AttachBuddy();
  SendMessageW(handle_, UDM_SETPOS32, 0, position_);
}

void TUpDown::AttachBuddy() {
  if (!handle_) return;
  SendMessageW(handle_, UDM_SETBUDDY, reinterpret_cast<WPARAM>(associate_ ? associate_->Handle() : nullptr), 0);
  // The buddy shows the position from now on.
  if (associate_) SendMessageW(handle_, UDM_SETPOS32, 0, position_);
}

int TUpDown::Position() {
  // The associate's text may have been edited: the system reads it back.
  if (handle_) position_ = static_cast<int>(SendMessageW(handle_, UDM_GETPOS32, 0, 0));
  return position_;
}

void TUpDown::SetMin(int v) {
  min_ = v;
  if (handle_) SendMessageW(handle_, UDM_SETRANGE32, static_cast<WPARAM>(min_), max_);
}

void TUpDown::SetMax(int v) {
  max_ = v;
  if (handle_) SendMessageW(handle_, UDM_SETRANGE32, static_cast<WPARAM>(min_), max_);
}

void TUpDown::SetPosition(int v) {
  position_ = v;
  if (handle_) {
    SendMessageW(handle_, UDM_SETPOS32, 0, v);
    position_ = static_cast<int>(SendMessageW(handle_, UDM_GETPOS32, 0, 0));
  }
}

void TUpDown::SetIncrement(int v) {
  increment_ = v;
  if (!handle_) return;
  UDACCEL accel{0, static_cast<UINT>(v)};
  SendMessageW(handle_, UDM_SETACCEL, 1, reinterpret_cast<LPARAM>(&accel));
}

void TUpDown::SetOrientation(TUDOrientation orientation) {
  if (orientation == orientation_) return;
  TurnBox(*this);
  SetStyleField(orientation_, orientation);
}

void TUpDown::SetAssociate(TWinControl* control) {
  if (control == associate_) return;
  if (control == this) throw Exception(L"An up-down control cannot be its own associate");
  if (associate_) RemoveFreeNotification(associate_);
  associate_ = control;
  if (associate_) FreeNotification(associate_);
  AttachBuddy();
}

void TUpDown::SetAlignButton(TUDAlignButton v) { SetStyleField(alignButton_, v); }
void TUpDown::SetWrap(bool v) { SetStyleField(wrap_, v); }
void TUpDown::SetArrowKeys(bool v) { SetStyleField(arrowKeys_, v); }
void TUpDown::SetThousands(bool v) { SetStyleField(thousands_, v); }

void TUpDown::Notification(TComponent* component, TOperation operation) {
  TWinControl::Notification(component, operation);
  if (operation == TOperation::opRemove && component == associate_) {
    associate_ = nullptr;
    if (handle_) SendMessageW(handle_, UDM_SETBUDDY, 0, 0);
  }
}

void TUpDown::WndProc(TMessage& m) {
  switch (m.Msg) {
    case CN_NOTIFY: {
      const auto* header = reinterpret_cast<const NMHDR*>(m.LParam);
      if (header->code == UDN_DELTAPOS) {
        const auto* step = reinterpret_cast<const NMUPDOWN*>(m.LParam);
        lastButton_ = step->iDelta > 0 ? TUDBtnType::btNext : TUDBtnType::btPrev;
        position_ = step->iPos;  // where the step starts, whatever was typed into the associate
      }
      m.Result = 0;  // the change goes ahead
      return;
    }
    case CN_HSCROLL:
    case CN_VSCROLL:
      // Each step arrives as SB_THUMBPOSITION, also one that could not move
      // past the end; the release as SB_ENDSCROLL.
      if (LOWORD(m.WParam) == SB_THUMBPOSITION) {
        const int old = std::exchange(position_, static_cast<int>(SendMessageW(handle_, UDM_GETPOS32, 0, 0)));
        if (position_ != old) Click();
      }
      m.Result = 0;
      return;
    default:
      break;
  }
  TWinControl::WndProc(m);
}

void TUpDown::DeclareProperties(std::vector<TPropInfo>& list) {
  TPropBuilder<TUpDown> b(list);
  b.Integer("Min", [](TUpDown& c) { return c.Min(); }, [](TUpDown& c, int v) { c.SetMin(v); });
  b.Integer("Max", [](TUpDown& c) { return c.Max(); }, [](TUpDown& c, int v) { c.SetMax(v); });
  b.Integer("Position", [](TUpDown& c) { return c.Position(); }, [](TUpDown& c, int v) { c.SetPosition(v); });
  b.Integer("Increment", [](TUpDown& c) { return c.Increment(); }, [](TUpDown& c, int v) { c.SetIncrement(v); });
  b.Enumeration("Orientation", {"udHorizontal", "udVertical"},
                [](TUpDown& c) { return static_cast<int>(c.Orientation()); },
                [](TUpDown& c, int v) { c.SetOrientation(static_cast<TUDOrientation>(v)); });
  b.Enumeration("AlignButton", {"udLeft", "udRight"}, [](TUpDown& c) { return static_cast<int>(c.AlignButton()); },
                [](TUpDown& c, int v) { c.SetAlignButton(static_cast<TUDAlignButton>(v)); });
  b.Component<TWinControl>("Associate", [](TUpDown& c) { return c.Associate(); },
                           [](TUpDown& c, TWinControl* v) { c.SetAssociate(v); });
  b.Boolean("Wrap", [](TUpDown& c) { return c.Wrap(); }, [](TUpDown& c, bool v) { c.SetWrap(v); });
  b.Boolean("ArrowKeys", [](TUpDown& c) { return c.ArrowKeys(); }, [](TUpDown& c, bool v) { c.SetArrowKeys(v); });
  b.Boolean("Thousands", [](TUpDown& c) { return c.Thousands(); }, [](TUpDown& c, bool v) { c.SetThousands(v); });
}

// ---------------------------------------------------------------------------
// TProgressBar

TProgressBar::TProgressBar(TComponent* owner) : TWinControl(owner) {
  width_ = 150;
  height_ = 16;
}

void TProgressBar::CreateParams(TCreateParams& params) {
  NeedCommonControls(ICC_PROGRESS_CLASS);
  TWinControl::CreateParams(params);
  CreateSubClass(params, PROGRESS_CLASSW);
  if (orientation_ == TProgressBarOrientation::pbVertical) params.Style |= PBS_VERTICAL;
  if (smooth_) params.Style |= PBS_SMOOTH;
}

void TProgressBar::CreateWindowHandleDone() {
  SendMessageW(handle_, PBM_SETRANGE32, static_cast<WPARAM>(min_), max_);
  SendMessageW(handle_, PBM_SETPOS, static_cast<WPARAM>(position_), 0);
}

int TProgressBar::Position() {
  if (handle_) position_ = static_cast<int>(SendMessageW(handle_, PBM_GETPOS, 0, 0));
  return position_;
}

void TProgressBar::SetMin(int v) {
  min_ = v;
  if (handle_) SendMessageW(handle_, PBM_SETRANGE32, static_cast<WPARAM>(min_), max_);
}

void TProgressBar::SetMax(int v) {
  max_ = v;
  if (handle_) SendMessageW(handle_, PBM_SETRANGE32, static_cast<WPARAM>(min_), max_);
}

void TProgressBar::SetPosition(int v) {
  if (!IsLoading()) v = std::clamp(v, min_, std::max(min_, max_));
  position_ = v;
  if (handle_) SendMessageW(handle_, PBM_SETPOS, static_cast<WPARAM>(v), 0);
}

void TProgressBar::Loaded() {
  TWinControl::Loaded();
  position_ = std::clamp(position_, min_, std::max(min_, max_));
}

void TProgressBar::StepBy(int delta) { SetPosition(Position() + delta); }

void TProgressBar::SetOrientation(TProgressBarOrientation v) {
  if (v == orientation_) return;
  TurnBox(*this);
  Position();  // keep what the window shows across the new window
  SetStyleField(orientation_, v);
}

void TProgressBar::SetSmooth(bool v) {
  Position();
  SetStyleField(smooth_, v);
}

void TProgressBar::DeclareProperties(std::vector<TPropInfo>& list) {
  TPropBuilder<TProgressBar> b(list);
  b.Integer("Min", [](TProgressBar& c) { return c.Min(); }, [](TProgressBar& c, int v) { c.SetMin(v); });
  b.Integer("Max", [](TProgressBar& c) { return c.Max(); }, [](TProgressBar& c, int v) { c.SetMax(v); });
  b.Integer("Position", [](TProgressBar& c) { return c.Position(); }, [](TProgressBar& c, int v) { c.SetPosition(v); });
  b.Integer("Step", [](TProgressBar& c) { return c.Step; }, [](TProgressBar& c, int v) { c.Step = v; });
  b.Enumeration("Orientation", {"pbHorizontal", "pbVertical"},
                [](TProgressBar& c) { return static_cast<int>(c.Orientation()); },
                [](TProgressBar& c, int v) { c.SetOrientation(static_cast<TProgressBarOrientation>(v)); });
  b.Boolean("Smooth", [](TProgressBar& c) { return c.Smooth(); }, [](TProgressBar& c, bool v) { c.SetSmooth(v); });
}

}  // namespace gui
