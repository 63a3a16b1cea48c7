#include "gui/stdctrls.h"

#include <cwctype>

namespace gui {

bool IsAccel(WPARAM key, const std::wstring& caption) {
  for (std::size_t i = 0; i + 1 < caption.size(); ++i) {
    if (caption[i] != L'&') continue;
    if (caption[i + 1] == L'&') {
      ++i;
      continue;
    }
    return std::towupper(caption[i + 1]) == std::towupper(static_cast<wint_t>(key));
  }
  return false;
}

// ---------------------------------------------------------------------------
// TButtonControl

TButtonControl::TButtonControl(TComponent* owner) : TWinControl(owner) {}

void TButtonControl::CreateParams(TCreateParams& params) {
  TWinControl::CreateParams(params);
  CreateSubClass(params, L"BUTTON");
}

void TButtonControl::WndProc(TMessage& m) {
  if (m.Msg == CM_DIALOGCHAR) {
    if (IsAccel(m.WParam, caption_) && CanFocus()) {
      SetFocus();
      Click();
      m.Result = 1;
    }
    return;
  }
  TWinControl::WndProc(m);
}

// ---------------------------------------------------------------------------
// TButton

TButton::TButton(TComponent* owner) : TButtonControl(owner) {
  SetTabStop(true);
  width_ = 75;
  height_ = 25;
}

void TButton::CreateParams(TCreateParams& params) {
  TButtonControl::CreateParams(params);
  params.Style |= BS_PUSHBUTTON;
}

void TButton::WndProc(TMessage& m) {
  if (m.Msg == CN_COMMAND) {
    if (HIWORD(m.WParam) == BN_CLICKED) Click();
    return;
  }
  TButtonControl::WndProc(m);
}

// ---------------------------------------------------------------------------
// TCustomCheckBox

TCustomCheckBox::TCustomCheckBox(TComponent* owner) : TButtonControl(owner) {
  SetTabStop(true);
  width_ = 97;
  height_ = 17;
}

void TCustomCheckBox::CreateParams(TCreateParams& params) {
  TButtonControl::CreateParams(params);
  // Not an automatic box: the state lives here and the click toggles it.
  params.Style |= BS_3STATE;
}

void TCustomCheckBox::CreateWindowHandleDone() {
  SendMessageW(handle_, BM_SETCHECK, static_cast<WPARAM>(state_), 0);
}

void TCustomCheckBox::SetState(TCheckBoxState state) {
  if (state == state_) return;
  state_ = state;
  if (handle_) SendMessageW(handle_, BM_SETCHECK, static_cast<WPARAM>(state_), 0);
  if (!ClicksDisabled) Click();
}

void TCustomCheckBox::Toggle() {
  switch (state_) {
    case TCheckBoxState::cbUnchecked:
      SetState(AllowGrayed ? TCheckBoxState::cbGrayed : TCheckBoxState::cbChecked);
      break;
    case TCheckBoxState::cbChecked: SetState(TCheckBoxState::cbUnchecked); break;
    case TCheckBoxState::cbGrayed: SetState(TCheckBoxState::cbChecked); break;
  }
}

void TCustomCheckBox::WndProc(TMessage& m) {
  if (m.Msg == CN_COMMAND) {
    if (HIWORD(m.WParam) == BN_CLICKED) Toggle();
    return;
  }
  if (m.Msg == CM_DIALOGCHAR) {
    if (IsAccel(m.WParam, caption_) && CanFocus()) {
      SetFocus();
      Toggle();
      m.Result = 1;
    }
    return;
  }
  TButtonControl::WndProc(m);
}

void TCustomCheckBox::DeclareProperties(std::vector<TPropInfo>& list) {
  TPropBuilder<TCustomCheckBox> b(list);
  b.Boolean("Checked", [](TCustomCheckBox& c) { return c.Checked(); },
            [](TCustomCheckBox& c, bool v) { c.SetChecked(v); });
  b.Boolean("AllowGrayed", [](TCustomCheckBox& c) { return c.AllowGrayed; },
            [](TCustomCheckBox& c, bool v) { c.AllowGrayed = v; });
  b.Enumeration("State", {"cbUnchecked", "cbChecked", "cbGrayed"},
                [](TCustomCheckBox& c) { return static_cast<int>(c.State()); },
                [](TCustomCheckBox& c, int v) { c.SetState(static_cast<TCheckBoxState>(v)); });
}

// ---------------------------------------------------------------------------
// TRadioButton

TRadioButton::TRadioButton(TComponent* owner) : TButtonControl(owner) {
  width_ = 113;
  height_ = 17;
}

void TRadioButton::CreateParams(TCreateParams& params) {
  TButtonControl::CreateParams(params);
  params.Style |= BS_RADIOBUTTON;
}

void TRadioButton::CreateWindowHandleDone() {
  SendMessageW(handle_, BM_SETCHECK, checked_ ? BST_CHECKED : BST_UNCHECKED, 0);
}

void TRadioButton::SetChecked(bool checked) {
  if (checked == checked_) return;
  checked_ = checked;
  // Only the checked button of a group is a tab stop.
  SetTabStop(checked);
  if (handle_) SendMessageW(handle_, BM_SETCHECK, checked ? BST_CHECKED : BST_UNCHECKED, 0);
  if (!checked) return;
  if (TWinControl* parent = Parent()) {
    for (TControl* sibling : std::vector<TControl*>(parent->Controls()))
      if (sibling != this)
        if (auto* radio = dynamic_cast<TRadioButton*>(sibling)) radio->SetChecked(false);
  }
  if (!ClicksDisabled) Click();
}

void TRadioButton::WndProc(TMessage& m) {
  if (m.Msg == CN_COMMAND) {
    if (HIWORD(m.WParam) == BN_CLICKED) SetChecked(true);
    return;
  }
  if (m.Msg == CM_DIALOGCHAR) {
    if (IsAccel(m.WParam, caption_) && CanFocus()) {
      SetFocus();
      SetChecked(true);
      m.Result = 1;
    }
    return;
  }
  TButtonControl::WndProc(m);
}

void TRadioButton::DeclareProperties(std::vector<TPropInfo>& list) {
  TPropBuilder<TRadioButton> b(list);
  b.Boolean("Checked", [](TRadioButton& c) { return c.Checked(); }, [](TRadioButton& c, bool v) { c.SetChecked(v); });
}

// ---------------------------------------------------------------------------
// TCustomGroupBox

TCustomGroupBox::TCustomGroupBox(TComponent* owner) : TCustomControl(owner) {
  width_ = 185;
  height_ = 105;
}

void TCustomGroupBox::CreateParams(TCreateParams& params) {
  TCustomControl::CreateParams(params);
  // Its children take part in the dialog manager's tab walk.
  params.Style |= WS_CLIPCHILDREN;
  params.ExStyle |= WS_EX_CONTROLPARENT;
}

void TCustomGroupBox::TextChanged() {
  TCustomControl::TextChanged();
  if (handle_) InvalidateRect(handle_, nullptr, TRUE);
}

void TCustomGroupBox::Paint(HDC dc) {
  SelectGuard font(dc, font_.Handle());
  TEXTMETRICW tm{};
  GetTextMetricsW(dc, &tm);
  RECT client;
  GetClientRect(handle_, &client);
  // The etched frame runs through the middle of the caption line.
  RECT frame = client;
  frame.top = tm.tmHeight / 2 - 1;
  DrawEdge(dc, &frame, EDGE_ETCHED, BF_RECT);
  if (caption_.empty()) return;
  RECT text{8, 0, 0, tm.tmHeight};
  DrawTextW(dc, caption_.c_str(), static_cast<int>(caption_.size()), &text, DT_CALCRECT | DT_SINGLELINE);
  SetBkMode(dc, OPAQUE);
  SetBkColor(dc, ColorToRGB(color_));
  SetTextColor(dc, ColorToRGB(enabled_ ? font_.Color() : clGrayText));
  DrawTextW(dc, caption_.c_str(), static_cast<int>(caption_.size()), &text, DT_SINGLELINE);
}

}  // namespace gui
