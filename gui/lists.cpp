#include "gui/lists.h"

#include <algorithm>

namespace gui {

// ---------------------------------------------------------------------------
// TListStrings

std::wstring TListStrings::Get(int index) const {
  if (index < 0 || index >= Count()) ListIndexError(index);
  return items_[static_cast<std::size_t>(index)];
}

void TListStrings::Insert(int index, const std::wstring& text) {
  if (index < 0 || index > Count()) ListIndexError(index);
  items_.insert(items_.begin() + index, text);
  if (control_.HandleAllocated())
    SendMessageW(control_.Handle(), messages_.Insert, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(text.c_str()));
}

void TListStrings::Delete(int index) {
  if (index < 0 || index >= Count()) ListIndexError(index);
  items_.erase(items_.begin() + index);
  if (control_.HandleAllocated()) SendMessageW(control_.Handle(), messages_.Delete, static_cast<WPARAM>(index), 0);
}

void TListStrings::Clear() {
  items_.clear();
  if (control_.HandleAllocated()) SendMessageW(control_.Handle(), messages_.Reset, 0, 0);
}

void TListStrings::FillWindow() {
  HWND wnd = control_.Handle();
  SendMessageW(wnd, messages_.Reset, 0, 0);
  for (std::size_t i = 0; i < items_.size(); ++i)
    SendMessageW(wnd, messages_.Insert, i, reinterpret_cast<LPARAM>(items_[i].c_str()));
}

// ---------------------------------------------------------------------------
// TCustomListBox

TCustomListBox::TCustomListBox(TComponent* owner)
    : TWinControl(owner), items_(*this, {LB_INSERTSTRING, LB_DELETESTRING, LB_RESETCONTENT}) {
  SetTabStop(true);
  width_ = 121;
  height_ = 97;
  color_ = clWindow;
  parentColor_ = false;
}

void TCustomListBox::CreateParams(TCreateParams& params) {
  TWinControl::CreateParams(params);
  CreateSubClass(params, L"LISTBOX");
  params.Style |= LBS_NOTIFY | LBS_HASSTRINGS | WS_VSCROLL;
  if (!integralHeight_) params.Style |= LBS_NOINTEGRALHEIGHT;
  params.ExStyle |= WS_EX_CLIENTEDGE;
}

void TCustomListBox::CreateWindowHandleDone() {
  items_.FillWindow();
  SendMessageW(handle_, LB_SETCURSEL, static_cast<WPARAM>(itemIndex_), 0);
  SendMessageW(handle_, LB_SETTOPINDEX, static_cast<WPARAM>(topIndex_), 0);
}

void TCustomListBox::WindowHandleDestroying() {
  itemIndex_ = ItemIndex();
  topIndex_ = TopIndex();
}

int TCustomListBox::ItemIndex() {
  if (handle_) itemIndex_ = static_cast<int>(SendMessageW(handle_, LB_GETCURSEL, 0, 0));
  return itemIndex_;
}

void TCustomListBox::SetItemIndex(int index) {
  itemIndex_ = index;
  if (handle_) SendMessageW(handle_, LB_SETCURSEL, static_cast<WPARAM>(index), 0);
}

int TCustomListBox::TopIndex() {
  if (handle_) topIndex_ = static_cast<int>(SendMessageW(handle_, LB_GETTOPINDEX, 0, 0));
  return topIndex_;
}

void TCustomListBox::SetTopIndex(int index) {
  topIndex_ = std::max(index, 0);
  if (handle_) SendMessageW(handle_, LB_SETTOPINDEX, static_cast<WPARAM>(topIndex_), 0);
}

void TCustomListBox::WndProc(TMessage& m) {
  switch (m.Msg) {
    case CN_COMMAND:
      if (HIWORD(m.WParam) == LBN_SELCHANGE) Click();
      if (HIWORD(m.WParam) == LBN_DBLCLK && OnDblClick) OnDblClick(this);
      m.Result = 0;
      return;
    case CN_CTLCOLORLISTBOX:
      m.Result = ControlColors(m.WParam);
      return;
    default:
      break;
  }
  TWinControl::WndProc(m);
}

void TCustomListBox::DeclareProperties(std::vector<TPropInfo>& list) {
  TPropBuilder<TCustomListBox> b(list);
  b.Object("Items", [](TCustomListBox& c) -> TObject* { return &c.Items(); });
  b.Integer("ItemIndex", [](TCustomListBox& c) { return c.ItemIndex(); },
            [](TCustomListBox& c, int v) { c.SetItemIndex(v); });
  b.Integer("TopIndex", [](TCustomListBox& c) { return c.TopIndex(); }, [](TCustomListBox& c, int v) { c.SetTopIndex(v); });
  b.Boolean("IntegralHeight", [](TCustomListBox& c) { return c.IntegralHeight(); },
            [](TCustomListBox& c, bool v) { c.SetIntegralHeight(v); });
  b.Event("OnDblClick", &TCustomListBox::OnDblClick);
}

// ---------------------------------------------------------------------------
// TCustomComboBox

TCustomComboBox::TCustomComboBox(TComponent* owner)
    : TWinControl(owner), items_(*this, {CB_INSERTSTRING, CB_DELETESTRING, CB_RESETCONTENT}) {
  SetTabStop(true);
  width_ = 145;
  height_ = 21;
  color_ = clWindow;
  parentColor_ = false;
}

int TCustomComboBox::WindowHeight() const {
  if (style_ == TComboBoxStyle::csSimple) return height_;
  // The dropped list shows DropDownCount items of the font's height.
  const WindowDc screen = WindowDc::Client(nullptr);
  SelectGuard font(screen.get(), font_.Handle());
  TEXTMETRICW tm{};
  GetTextMetricsW(screen.get(), &tm);
  return height_ + dropDownCount_ * tm.tmHeight + 2;
}

void TCustomComboBox::CreateParams(TCreateParams& params) {
  TWinControl::CreateParams(params);
  CreateSubClass(params, L"COMBOBOX");
  params.Style |= WS_VSCROLL | CBS_AUTOHSCROLL;
  switch (style_) {
    case TComboBoxStyle::csDropDown: params.Style |= CBS_DROPDOWN; break;
    case TComboBoxStyle::csSimple: params.Style |= CBS_SIMPLE; break;
    case TComboBoxStyle::csDropDownList: params.Style |= CBS_DROPDOWNLIST; break;
  }
  params.Height = WindowHeight();
}

void TCustomComboBox::CreateWindowHandleDone() {
  // The list's length was measured in the system font the window began
  // with; measure again in the control's own.
  SetBounds(left_, top_, width_, height_);
  items_.FillWindow();
  SendMessageW(handle_, CB_SETCURSEL, static_cast<WPARAM>(itemIndex_), 0);
  if (itemIndex_ < 0 && style_ != TComboBoxStyle::csDropDownList) SetWindowTextW(handle_, caption_.c_str());
}

void TCustomComboBox::WindowHandleDestroying() {
  itemIndex_ = ItemIndex();
  caption_ = Text();
}

void TCustomComboBox::SetBounds(int left, int top, int width, int height) {
  TControl::SetBounds(left, top, width, height);
  if (handle_) SetWindowPos(handle_, nullptr, left, top, width, WindowHeight(), SWP_NOZORDER | SWP_NOACTIVATE);
}

void TCustomComboBox::SetDropDownCount(int v) {
  dropDownCount_ = std::max(v, 1);
  if (handle_) SetBounds(left_, top_, width_, height_);
}

int TCustomComboBox::ItemIndex() {
  if (handle_) itemIndex_ = static_cast<int>(SendMessageW(handle_, CB_GETCURSEL, 0, 0));
  return itemIndex_;
}

void TCustomComboBox::SetItemIndex(int index) {
  itemIndex_ = index;
  caption_ = index >= 0 && index < items_.Count() ? items_.Get(index) : std::wstring();
  if (handle_) SendMessageW(handle_, CB_SETCURSEL, static_cast<WPARAM>(index), 0);
}

std::wstring TCustomComboBox::Text() {
  if (!handle_) return caption_;
  std::wstring text(static_cast<std::size_t>(GetWindowTextLengthW(handle_)) + 1, L'\0');
  text.resize(static_cast<std::size_t>(GetWindowTextW(handle_, text.data(), static_cast<int>(text.size()))));
  return text;
}

void TCustomComboBox::SetText(const std::wstring& text) {
  if (style_ == TComboBoxStyle::csDropDownList) {
    SetItemIndex(items_.IndexOf(text));
    return;
  }
  itemIndex_ = -1;
  SetCaption(text);
}

void TCustomComboBox::WndProc(TMessage& m) {
  if (m.Msg != CN_COMMAND) {
    TWinControl::WndProc(m);
    return;
  }
  m.Result = 0;
  switch (HIWORD(m.WParam)) {
    case CBN_SELCHANGE: {
      const int index = ItemIndex();
      caption_ = index >= 0 && index < items_.Count() ? items_.Get(index) : std::wstring();
      // The edit shows the new item only after this notification: show it
      // now, so that handlers read the text the user chose.
      if (style_ != TComboBoxStyle::csDropDownList) SetWindowTextW(handle_, caption_.c_str());
      if (OnSelect) OnSelect(this);
      if (OnChange) OnChange(this);
      break;
    }
    case CBN_EDITCHANGE:
      caption_ = Text();
      itemIndex_ = -1;
      if (OnChange) OnChange(this);
      break;
    default:
      break;
  }
}

void TCustomComboBox::DeclareProperties(std::vector<TPropInfo>& list) {
  TPropBuilder<TCustomComboBox> b(list);
  b.Enumeration("Style", {"csDropDown", "csSimple", "csDropDownList"},
                [](TCustomComboBox& c) { return static_cast<int>(c.Style()); },
                [](TCustomComboBox& c, int v) { c.SetStyle(static_cast<TComboBoxStyle>(v)); });
  b.Object("Items", [](TCustomComboBox& c) -> TObject* { return &c.Items(); });
  b.Integer("ItemIndex", [](TCustomComboBox& c) { return c.ItemIndex(); },
            [](TCustomComboBox& c, int v) { c.SetItemIndex(v); });
  b.String("Text", [](TCustomComboBox& c) { return c.Text(); },
           [](TCustomComboBox& c, const std::wstring& v) { c.SetText(v); });
  b.Integer("DropDownCount", [](TCustomComboBox& c) { return c.DropDownCount(); },
            [](TCustomComboBox& c, int v) { c.SetDropDownCount(v); });
  b.Event("OnChange", &TCustomComboBox::OnChange);
  b.Event("OnSelect", &TCustomComboBox::OnSelect);
}

}  // namespace gui
