#include "gui/edits.h"

#include <commctrl.h>

#include <algorithm>
#include <climits>

#include "core/text/number_text.h"
#include "gui/text.h"

namespace gui {

// ---------------------------------------------------------------------------
// TCustomEdit

TCustomEdit::TCustomEdit(TComponent* owner) : TWinControl(owner) {
  SetTabStop(true);
  width_ = 121;
  height_ = 21;
  color_ = clWindow;
  parentColor_ = false;
}

void TCustomEdit::CreateParams(TCreateParams& params) {
  TWinControl::CreateParams(params);
  CreateSubClass(params, L"EDIT");
  params.Style |= ES_LEFT | ES_AUTOHSCROLL;
  if (readOnly_) params.Style |= ES_READONLY;
  if (borderStyle_ == TBorderStyle::bsSingle) params.ExStyle |= WS_EX_CLIENTEDGE;
}

void TCustomEdit::CreateWindowHandleDone() {
  SendMessageW(handle_, EM_SETLIMITTEXT, static_cast<WPARAM>(maxLength_), 0);
  reported_ = caption_;
}

void TCustomEdit::TextChanged() {
  TWinControl::TextChanged();
  // A multi-line edit does not report text set by the program.
  if (handle_) NoticeText();
}

void TCustomEdit::NoticeText() {
  std::wstring text = Text();
  // The system also reports keys it refused (beyond MaxLength, say).
  if (text == reported_) return;
  reported_ = text;
  caption_ = std::move(text);
  Change();
}

void TCustomEdit::WindowHandleDestroying() { caption_ = Text(); }

std::wstring TCustomEdit::Text() {
  if (!handle_) return caption_;
  std::wstring text(static_cast<std::size_t>(GetWindowTextLengthW(handle_)) + 1, L'\0');
  text.resize(static_cast<std::size_t>(GetWindowTextW(handle_, text.data(), static_cast<int>(text.size()))));
  return text;
}

void TCustomEdit::SetMaxLength(int v) {
  maxLength_ = std::max(v, 0);
  if (handle_) SendMessageW(handle_, EM_SETLIMITTEXT, static_cast<WPARAM>(maxLength_), 0);
}

void TCustomEdit::SetReadOnly(bool v) {
  readOnly_ = v;
  if (handle_) SendMessageW(handle_, EM_SETREADONLY, v, 0);
}

void TCustomEdit::SelectAll() {
  if (handle_) SendMessageW(handle_, EM_SETSEL, 0, -1);
}

void TCustomEdit::Change() {
  if (OnChange) OnChange(this);
}

void TCustomEdit::WndProc(TMessage& m) {
  switch (m.Msg) {
    case CN_COMMAND:
      if (HIWORD(m.WParam) == EN_CHANGE) NoticeText();
      m.Result = 0;
      return;
    case CN_CTLCOLOREDIT:
      m.Result = ControlColors(m.WParam);
      return;
    case CN_CTLCOLORSTATIC:
      // Read-only and disabled edits keep the system's look.
      m.Result = SystemColors(m);
      return;
    default:
      break;
  }
  TWinControl::WndProc(m);
}

void TCustomEdit::DeclareProperties(std::vector<TPropInfo>& list) {
  TPropBuilder<TCustomEdit> b(list);
  b.String("Text", [](TCustomEdit& c) { return c.Text(); }, [](TCustomEdit& c, const std::wstring& v) { c.SetText(v); });
  b.Integer("MaxLength", [](TCustomEdit& c) { return c.MaxLength(); }, [](TCustomEdit& c, int v) { c.SetMaxLength(v); });
  b.Boolean("ReadOnly", [](TCustomEdit& c) { return c.ReadOnly(); }, [](TCustomEdit& c, bool v) { c.SetReadOnly(v); });
  b.Enumeration("BorderStyle", {"bsNone", "bsSingle"}, [](TCustomEdit& c) { return static_cast<int>(c.BorderStyle()); },
                [](TCustomEdit& c, int v) { c.SetBorderStyle(static_cast<TBorderStyle>(v)); });
  b.Event("OnChange", &TCustomEdit::OnChange);
}

// ---------------------------------------------------------------------------
// TMemoStrings, TCustomMemo

std::vector<std::wstring> TMemoStrings::ToVector() const {
  const std::wstring text = memo_.Text();
  std::vector<std::wstring> lines;
  std::size_t start = 0;
  while (start < text.size()) {
    std::size_t end = text.find(L"\r\n", start);
    if (end == std::wstring::npos) end = text.size();
    lines.push_back(text.substr(start, end - start));
    start = end + 2;
  }
  return lines;
}

void TMemoStrings::Assign(const std::vector<std::wstring>& items) {
  std::wstring text;
  for (std::size_t i = 0; i < items.size(); ++i) text += (i ? L"\r\n" : L"") + items[i];
  memo_.SetText(text);
}

std::wstring TMemoStrings::Get(int index) const {
  const std::vector<std::wstring> lines = ToVector();
  if (index < 0 || index >= static_cast<int>(lines.size())) ListIndexError(index);
  return lines[static_cast<std::size_t>(index)];
}

void TMemoStrings::Insert(int index, const std::wstring& text) {
  std::vector<std::wstring> lines = ToVector();
  if (index < 0 || index > static_cast<int>(lines.size())) ListIndexError(index);
  lines.insert(lines.begin() + index, text);
  Assign(lines);
}

void TMemoStrings::Delete(int index) {
  std::vector<std::wstring> lines = ToVector();
  if (index < 0 || index >= static_cast<int>(lines.size())) ListIndexError(index);
  lines.erase(lines.begin() + index);
  Assign(lines);
}

void TMemoStrings::Clear() { memo_.SetText(L""); }

TCustomMemo::TCustomMemo(TComponent* owner) : TCustomEdit(owner) {
  width_ = 185;
  height_ = 89;
}

void TCustomMemo::CreateParams(TCreateParams& params) {
  TCustomEdit::CreateParams(params);
  params.Style &= ~static_cast<DWORD>(ES_AUTOHSCROLL);
  params.Style |= ES_MULTILINE | ES_AUTOVSCROLL;
  if (wantReturns_) params.Style |= ES_WANTRETURN;
  const bool horizontal = scrollBars_ == TScrollStyle::ssHorizontal || scrollBars_ == TScrollStyle::ssBoth;
  const bool vertical = scrollBars_ == TScrollStyle::ssVertical || scrollBars_ == TScrollStyle::ssBoth;
  // Without word wrap long lines scroll sideways.
  if (!wordWrap_ || horizontal) params.Style |= ES_AUTOHSCROLL;
  if (horizontal) params.Style |= WS_HSCROLL;
  if (vertical) params.Style |= WS_VSCROLL;
}

void TCustomMemo::WndProc(TMessage& m) {
  // Under the dialog manager the edit moves the focus on Tab and will not
  // type a tab character: both are done here when tabs are wanted.
  if (WantTabs && m.Msg == WM_KEYDOWN && m.WParam == VK_TAB && GetKeyState(VK_CONTROL) >= 0) {
    m.Result = 0;
    return;
  }
  if (WantTabs && m.Msg == WM_CHAR && m.WParam == L'\t') {
    if (!ReadOnly()) SendMessageW(handle_, EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>(L"\t"));
    m.Result = 0;
    return;
  }
  if (m.Msg == WM_GETDLGCODE) {
    // The dialog keys the memo keeps from the dialog manager.
    TCustomEdit::WndProc(m);
    if (WantTabs) m.Result |= DLGC_WANTTAB;
    else m.Result &= ~static_cast<LRESULT>(DLGC_WANTTAB);
    if (!wantReturns_) m.Result &= ~static_cast<LRESULT>(DLGC_WANTALLKEYS);
    return;
  }
  TCustomEdit::WndProc(m);
}

void TCustomMemo::DeclareProperties(std::vector<TPropInfo>& list) {
  TPropBuilder<TCustomMemo> b(list);
  b.Object("Lines", [](TCustomMemo& c) -> TObject* { return &c.Lines(); });
  b.Enumeration("ScrollBars", {"ssNone", "ssHorizontal", "ssVertical", "ssBoth"},
                [](TCustomMemo& c) { return static_cast<int>(c.ScrollBars()); },
                [](TCustomMemo& c, int v) { c.SetScrollBars(static_cast<TScrollStyle>(v)); });
  b.Boolean("WordWrap", [](TCustomMemo& c) { return c.WordWrap(); }, [](TCustomMemo& c, bool v) { c.SetWordWrap(v); });
  b.Boolean("WantReturns", [](TCustomMemo& c) { return c.WantReturns(); },
            [](TCustomMemo& c, bool v) { c.SetWantReturns(v); });
  b.Boolean("WantTabs", [](TCustomMemo& c) { return c.WantTabs; }, [](TCustomMemo& c, bool v) { c.WantTabs = v; });
}

// ---------------------------------------------------------------------------
// TSpinButton, TSpinEdit

TSpinButton::TSpinButton(TComponent* owner) : TUpDown(owner) { SetThousands(false); }

void TSpinButton::CreateWindowHandleDone() {
  TUpDown::CreateWindowHandleDone();
  // Taking its buddy, the system trims the buttons: the edit places them again.
  if (auto* edit = dynamic_cast<TSpinEdit*>(Owner())) edit->PlaceButton();
}

void TSpinButton::CreateParams(TCreateParams& params) {
  TUpDown::CreateParams(params);
  // Placed by the spin edit, not beside its buddy by the system.
  params.Style &= ~static_cast<DWORD>(UDS_ALIGNRIGHT | UDS_ALIGNLEFT);
}

TSpinEdit::TSpinEdit(TComponent* owner) : TCustomEdit(owner), button_(new TSpinButton(this)) {
  button_->SetName("Button");
  button_->SetParent(this);
  button_->SetAssociate(this);
  caption_ = L"0";
  UpdateRange();
}

void TSpinEdit::CreateParams(TCreateParams& params) {
  TCustomEdit::CreateParams(params);
  params.Style |= WS_CLIPCHILDREN;
}

void TSpinEdit::CreateWindowHandleDone() {
  TCustomEdit::CreateWindowHandleDone();
  // The buttons show their position in the edit once they are made: the text decides it.
  button_->SetPosition(Value());
  // The text stops short of the buttons, which are made right after this.
  SendMessageW(handle_, EM_SETMARGINS, EC_RIGHTMARGIN, MAKELPARAM(0, GetSystemMetrics(SM_CXVSCROLL) + 1));
  PlaceButton();
}

void TSpinEdit::PlaceButton() {
  if (!handle_) return;
  RECT client;
  GetClientRect(handle_, &client);
  const int w = GetSystemMetrics(SM_CXVSCROLL);
  button_->SetBounds(client.right - w, 0, w, client.bottom);
}

int TSpinEdit::CheckValue(int v) const { return maxValue_ > minValue_ ? std::clamp(v, minValue_, maxValue_) : v; }

void TSpinEdit::UpdateRange() {
  if (maxValue_ > minValue_) {
    button_->SetMin(minValue_);
    button_->SetMax(maxValue_);
  } else {
    button_->SetMin(INT_MIN);
    button_->SetMax(INT_MAX);
  }
}

void TSpinEdit::SetMinValue(int v) {
  minValue_ = v;
  UpdateRange();
}

void TSpinEdit::SetMaxValue(int v) {
  maxValue_ = v;
  UpdateRange();
}

int TSpinEdit::Value() {
  const auto n = core::ParseInteger(WideToUtf8(Text()));
  return CheckValue(n ? *n : minValue_);
}

void TSpinEdit::SetValue(int v) { SetText(std::to_wstring(CheckValue(v))); }

void TSpinEdit::WndProc(TMessage& m) {
  TCustomEdit::WndProc(m);
  if (m.Msg == WM_SIZE) PlaceButton();
}

void TSpinEdit::DeclareProperties(std::vector<TPropInfo>& list) {
  TPropBuilder<TSpinEdit> b(list);
  b.Integer("MinValue", [](TSpinEdit& c) { return c.MinValue(); }, [](TSpinEdit& c, int v) { c.SetMinValue(v); });
  b.Integer("MaxValue", [](TSpinEdit& c) { return c.MaxValue(); }, [](TSpinEdit& c, int v) { c.SetMaxValue(v); });
  b.Integer("Value", [](TSpinEdit& c) { return c.Value(); }, [](TSpinEdit& c, int v) { c.SetValue(v); });
  b.Integer("Increment", [](TSpinEdit& c) { return c.Increment(); }, [](TSpinEdit& c, int v) { c.SetIncrement(v); });
}

}  // namespace gui
