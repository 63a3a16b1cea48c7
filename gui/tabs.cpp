#include "gui/tabs.h"

#include <commctrl.h>

#include <algorithm>
#include <utility>

#include "gui/comctrls.h"

namespace gui {

// ---------------------------------------------------------------------------
// TCustomTabControl

TCustomTabControl::TCustomTabControl(TComponent* owner) : TWinControl(owner) {
  SetTabStop(true);
  width_ = 289;
  height_ = 193;
}

void TCustomTabControl::CreateParams(TCreateParams& params) {
  NeedCommonControls(ICC_TAB_CLASSES);
  TWinControl::CreateParams(params);
  CreateSubClass(params, WC_TABCONTROLW);
  // The pages are child windows: the tab control paints around them, and
  // the dialog manager's tab walk goes into them.
  params.Style |= WS_CLIPCHILDREN;
  params.ExStyle |= WS_EX_CONTROLPARENT;
  if (multiLine_) params.Style |= TCS_MULTILINE;
  if (tabPosition_ == TTabPosition::tpBottom) params.Style |= TCS_BOTTOM;
}

void TCustomTabControl::CreateWindowHandleDone() {
  for (std::size_t i = 0; i < tabs_.size(); ++i) {
    TCITEMW item{};
    item.mask = TCIF_TEXT;
    item.pszText = const_cast<wchar_t*>(tabs_[i].c_str());
    SendMessageW(handle_, TCM_INSERTITEMW, i, reinterpret_cast<LPARAM>(&item));
  }
  SendMessageW(handle_, TCM_SETCURSEL, static_cast<WPARAM>(tabIndex_), 0);
}

void TCustomTabControl::WindowHandleDestroying() { tabIndex_ = TabIndex(); }

void TCustomTabControl::InsertTab(int index, const std::wstring& text) {
  if (index < 0 || index > TabCount()) ListIndexError(index);
  tabs_.insert(tabs_.begin() + index, text);
  if (!handle_) return;
  TCITEMW item{};
  item.mask = TCIF_TEXT;
  item.pszText = const_cast<wchar_t*>(text.c_str());
  SendMessageW(handle_, TCM_INSERTITEMW, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&item));
}

void TCustomTabControl::DeleteTab(int index) {
  if (index < 0 || index >= TabCount()) ListIndexError(index);
  tabs_.erase(tabs_.begin() + index);
  if (tabIndex_ >= TabCount()) tabIndex_ = TabCount() - 1;
  if (handle_) SendMessageW(handle_, TCM_DELETEITEM, static_cast<WPARAM>(index), 0);
}

void TCustomTabControl::SetTabText(int index, const std::wstring& text) {
  if (index < 0 || index >= TabCount()) ListIndexError(index);
  tabs_[static_cast<std::size_t>(index)] = text;
  if (!handle_) return;
  TCITEMW item{};
  item.mask = TCIF_TEXT;
  item.pszText = const_cast<wchar_t*>(text.c_str());
  SendMessageW(handle_, TCM_SETITEMW, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&item));
}

int TCustomTabControl::TabIndex() {
  if (handle_) tabIndex_ = static_cast<int>(SendMessageW(handle_, TCM_GETCURSEL, 0, 0));
  return tabIndex_;
}

void TCustomTabControl::SetTabIndex(int index) {
  tabIndex_ = index;
  if (handle_) SendMessageW(handle_, TCM_SETCURSEL, static_cast<WPARAM>(index), 0);
}

RECT TCustomTabControl::TabRect(int index) {
  RECT r{};
  if (handle_) SendMessageW(handle_, TCM_GETITEMRECT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&r));
  return r;
}

RECT TCustomTabControl::DisplayRect() {
  RECT r = ClientRect();
  if (handle_) SendMessageW(handle_, TCM_ADJUSTRECT, FALSE, reinterpret_cast<LPARAM>(&r));
  return r;
}

void TCustomTabControl::Change() {
  if (OnChange) OnChange(this);
}

// Wine's tab control moves the "pressed" state of a tab along with the
// selection only when the selection changes by TCM_SETCURSEL or a click;
// after a change by the arrow keys (or TCM_SETCURFOCUS) the old tab stays
// marked pressed, and from then on a click on any tab is taken for a press
// among button-style tabs and changes nothing. Without button-style tabs
// that state means nothing else, so only the selected tab keeps it.
void TCustomTabControl::ReleaseStalePressedTabs() {
  if (!handle_ || (GetWindowLongPtrW(handle_, GWL_STYLE) & TCS_BUTTONS)) return;
  const int selected = static_cast<int>(SendMessageW(handle_, TCM_GETCURSEL, 0, 0));
  const int count = static_cast<int>(SendMessageW(handle_, TCM_GETITEMCOUNT, 0, 0));
  for (int i = 0; i < count; ++i) {
    if (i == selected) continue;
    TCITEMW item{};
    item.mask = TCIF_STATE;
    item.dwStateMask = TCIS_BUTTONPRESSED;
    if (!SendMessageW(handle_, TCM_GETITEMW, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&item)) ||
        !(item.dwState & TCIS_BUTTONPRESSED))
      continue;
    item.dwState = 0;
    SendMessageW(handle_, TCM_SETITEMW, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&item));
  }
}

void TCustomTabControl::SelectNextTab(bool forward) {
  const int n = TabCount();
  if (n == 0) return;
  const int from = TabIndex();
  const int next = from < 0 ? (forward ? 0 : n - 1) : (from + (forward ? 1 : n - 1)) % n;
  if (next == from) return;
  SetTabIndex(next);
  Change();
}

void TCustomTabControl::WndProc(TMessage& m) {
  if (m.Msg == CM_DIALOGKEY) {
    // Ctrl+Tab and Ctrl+PgDn go on a tab, with Shift or PgUp back, as in
    // property sheets: the focus is on the control or inside its pages.
    int step = 0;
    if (GetKeyState(VK_CONTROL) < 0) {
      if (m.WParam == VK_TAB) step = GetKeyState(VK_SHIFT) < 0 ? -1 : 1;
      if (m.WParam == VK_NEXT) step = 1;
      if (m.WParam == VK_PRIOR) step = -1;
    }
    if (step && handle_ && IsWindowEnabled(handle_) && IsWindowVisible(handle_) && TabCount() > 0) {
      SelectNextTab(step > 0);
      m.Result = 1;
    }
    return;
  }
  if (m.Msg == CN_NOTIFY) {
    m.Result = 0;  // TCN_SELCHANGING: the change may go ahead
    if (reinterpret_cast<const NMHDR*>(m.LParam)->code == TCN_SELCHANGE) {
      ReleaseStalePressedTabs();
      TabIndex();
      Change();
    }
    return;
  }
  TWinControl::WndProc(m);
}

void TCustomTabControl::DeclareProperties(std::vector<TPropInfo>& list) {
  TPropBuilder<TCustomTabControl> b(list);
  b.Boolean("MultiLine", [](TCustomTabControl& c) { return c.MultiLine(); },
            [](TCustomTabControl& c, bool v) { c.SetMultiLine(v); });
  b.Enumeration("TabPosition", {"tpTop", "tpBottom"},
                [](TCustomTabControl& c) { return static_cast<int>(c.TabPosition()); },
                [](TCustomTabControl& c, int v) { c.SetTabPosition(static_cast<TTabPosition>(v)); });
  b.Event("OnChange", &TCustomTabControl::OnChange);
}

// ---------------------------------------------------------------------------
// TTabStrings, TTabControl

int TTabStrings::Count() const { return control_.TabCount(); }

std::wstring TTabStrings::Get(int index) const {
  if (index < 0 || index >= Count()) ListIndexError(index);
  return control_.Tabs()[static_cast<std::size_t>(index)];
}

void TTabStrings::Insert(int index, const std::wstring& text) { control_.InsertTab(index, text); }
void TTabStrings::Delete(int index) { control_.DeleteTab(index); }

void TTabStrings::Clear() {
  while (Count() > 0) Delete(Count() - 1);
}

void TTabControl::DeclareProperties(std::vector<TPropInfo>& list) {
  TPropBuilder<TTabControl> b(list);
  b.Object("Tabs", [](TTabControl& c) -> TObject* { return &c.Tabs(); });
  b.Integer("TabIndex", [](TTabControl& c) { return c.TabIndex(); }, [](TTabControl& c, int v) { c.SetTabIndex(v); });
}

// ---------------------------------------------------------------------------
// TTabSheet

TTabSheet::TTabSheet(TComponent* owner) : TWinControl(owner) {
  width_ = 281;
  height_ = 165;
}

TTabSheet::~TTabSheet() {
  if (pageControl_) pageControl_->RemovePage(*this);
}

void TTabSheet::CreateParams(TCreateParams& params) {
  TWinControl::CreateParams(params);
  params.Style |= WS_CLIPCHILDREN;
  params.ExStyle |= WS_EX_CONTROLPARENT;
}

void TTabSheet::SetPageControl(TPageControl* control) { SetParent(control); }

void TTabSheet::SetParent(TWinControl* parent) {
  if (pageControl_ && parent != pageControl_) std::exchange(pageControl_, nullptr)->RemovePage(*this);
  TWinControl::SetParent(parent);
  auto* pages = dynamic_cast<TPageControl*>(parent);
  if (pages && pages != pageControl_) {
    pageControl_ = pages;
    pages->InsertPage(*this);
  }
}

int TTabSheet::PageIndex() const {
  if (!pageControl_) return -1;
  const auto& pages = pageControl_->pages_;
  return static_cast<int>(std::find(pages.begin(), pages.end(), this) - pages.begin());
}

void TTabSheet::SetPageIndex(int index) {
  if (pageControl_) pageControl_->MovePage(*this, index);
}

void TTabSheet::TextChanged() {
  TWinControl::TextChanged();
  if (pageControl_) pageControl_->SetTabText(PageIndex(), caption_);
}

// ---------------------------------------------------------------------------
// TPageControl

TPageControl::~TPageControl() {
  // The sheets go with the control's children; they need not leave it one by one.
  for (TTabSheet* page : pages_) page->pageControl_ = nullptr;
  pages_.clear();
}

TTabSheet* TPageControl::Pages(int index) const {
  if (index < 0 || index >= PageCount()) ListIndexError(index);
  return pages_[static_cast<std::size_t>(index)];
}

int TPageControl::ActivePageIndex() const { return activePage_ ? activePage_->PageIndex() : -1; }

void TPageControl::SetActivePageIndex(int index) {
  SetActivePage(index >= 0 && index < PageCount() ? pages_[static_cast<std::size_t>(index)] : nullptr);
}

void TPageControl::SetActivePage(TTabSheet* page) {
  if (page && page->pageControl_ != this) return;
  TTabSheet* old = activePage_;
  activePage_ = page;
  SetTabIndex(page ? page->PageIndex() : -1);
  if (page == old) return;
  if (page) page->SetVisible(true);
  if (old) {
    // The focus does not stay on a control that disappears.
    HWND focus = GetFocus();
    if (handle_ && old->HandleAllocated() && focus && IsChild(old->Handle(), focus)) ::SetFocus(handle_);
    old->SetVisible(false);
  }
}

void TPageControl::SelectNextPage(bool forward) {
  if (pages_.empty()) return;
  const int n = PageCount();
  const int from = ActivePageIndex();
  const int next = from < 0 ? 0 : (from + (forward ? 1 : n - 1)) % n;
  SetActivePageIndex(next);
}

namespace {

// The first control inside `parent` that Tab would stop on, in tab order.
TWinControl* FirstTabStop(TWinControl& parent) {
  for (TWinControl* control : parent.TabList()) {
    if (!control->CanFocus()) continue;
    if (control->TabStop()) return control;
    if (TWinControl* inner = FirstTabStop(*control)) return inner;
  }
  return nullptr;
}

}  // namespace

// From inside a page the focus goes on into the new page, to its first
// control as Tab would (an edit's text selected); from the tabs it stays on
// the tabs.
void TPageControl::SelectNextTab(bool forward) {
  const HWND focus = GetFocus();
  const bool inPage = focus && activePage_ && activePage_->HandleAllocated() && IsChild(activePage_->Handle(), focus);
  TCustomTabControl::SelectNextTab(forward);
  if (!inPage || !activePage_) return;
  TWinControl* first = FirstTabStop(*activePage_);
  if (!first) return;
  first->SetFocus();
  if (SendMessageW(first->Handle(), WM_GETDLGCODE, 0, 0) & DLGC_HASSETSEL) SendMessageW(first->Handle(), EM_SETSEL, 0, -1);
}

void TPageControl::InsertPage(TTabSheet& page) {
  pages_.push_back(&page);
  InsertTab(PageCount() - 1, page.Caption());
  if (!activePage_) {
    SetActivePage(&page);
  } else {
    page.SetVisible(false);
    SetTabIndex(ActivePageIndex());
  }
  if (handle_) PlacePages();
}

void TPageControl::RemovePage(TTabSheet& page) {
  const auto it = std::find(pages_.begin(), pages_.end(), &page);
  if (it == pages_.end()) return;
  const int index = static_cast<int>(it - pages_.begin());
  pages_.erase(it);
  DeleteTab(index);
  if (activePage_ == &page) {
    activePage_ = nullptr;
    SetActivePageIndex(std::min(index, PageCount() - 1));
  } else {
    SetTabIndex(ActivePageIndex());
  }
}

void TPageControl::MovePage(TTabSheet& page, int index) {
  const int from = page.PageIndex();
  index = std::clamp(index, 0, PageCount() - 1);
  if (from < 0 || from == index) return;
  pages_.erase(pages_.begin() + from);
  pages_.insert(pages_.begin() + index, &page);
  DeleteTab(from);
  InsertTab(index, page.Caption());
  SetTabIndex(ActivePageIndex());
}

void TPageControl::PlacePages() {
  const RECT r = DisplayRect();
  for (TTabSheet* page : pages_) page->SetBounds(r.left, r.top, r.right - r.left, r.bottom - r.top);
}

void TPageControl::CreateWindowHandleDone() {
  TCustomTabControl::CreateWindowHandleDone();
  // Before the sheets' windows are made, so that they are made in place.
  PlacePages();
}

void TPageControl::FontChanged() {
  TCustomTabControl::FontChanged();
  if (handle_) PlacePages();
}

void TPageControl::Change() {
  const int index = TabIndex();
  if (index >= 0 && index < PageCount()) SetActivePage(pages_[static_cast<std::size_t>(index)]);
  TCustomTabControl::Change();
}

void TPageControl::WndProc(TMessage& m) {
  TCustomTabControl::WndProc(m);
  if (m.Msg == WM_SIZE) PlacePages();
}

void TPageControl::DeclareProperties(std::vector<TPropInfo>& list) {
  TPropBuilder<TPageControl> b(list);
  b.Component<TTabSheet>("ActivePage", [](TPageControl& c) { return c.ActivePage(); },
                         [](TPageControl& c, TTabSheet* v) { c.SetActivePage(v); });
  b.Integer("ActivePageIndex", [](TPageControl& c) { return c.ActivePageIndex(); },
            [](TPageControl& c, int v) { c.SetActivePageIndex(v); });
}

}  // namespace gui
