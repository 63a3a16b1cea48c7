#include "gui/tabset.h"

#include <algorithm>
#include <utility>

#include "gui/bitmap.h"
#include "gui/color_scheme.h"

namespace gui {

void TTabSet::TTabList::Insert(int index, const std::wstring& text) {
  TStringList::Insert(index, text);
  owner_.TabsChanged();
}

void TTabSet::TTabList::Delete(int index) {
  TStringList::Delete(index);
  owner_.TabsChanged();
}

void TTabSet::TTabList::Clear() {
  TStringList::Clear();
  owner_.TabsChanged();
}

void TTabSet::TTabList::Assign(const std::vector<std::wstring>& items) {
  TStringList::Assign(items);
  owner_.TabsChanged();
}

TTabSet::TTabSet(TComponent* owner) : TCustomControl(owner), scroller_(new TUpDown(this)) {
  width_ = 185;
  height_ = 21;
  scroller_->SetName("Scroller");
  scroller_->SetOrientation(TUDOrientation::udHorizontal);
  scroller_->SetVisible(false);
  scroller_->SetParent(this);
  scroller_->OnClick = [this](TObject*) { SetFirstIndex(scroller_->Position()); };
}

void TTabSet::TabsChanged() {
  if (!IsLoading() && tabIndex_ >= tabs_.Count()) tabIndex_ = tabs_.Count() - 1;
  LayoutTabs();
}

std::vector<int> TTabSet::CaptionWidths() {
  const WindowDc dc = WindowDc::Client(handle_);
  SelectGuard font(dc.get(), font_.Handle());
  std::vector<int> widths;
  for (const std::wstring& caption : tabs_.Items) {
    SIZE size{};
    GetTextExtentPoint32W(dc.get(), caption.c_str(), static_cast<int>(caption.size()), &size);
    widths.push_back(size.cx);
  }
  return widths;
}

int TTabSet::FittingTabs(const std::vector<int>& widths, int first, bool scroller) const {
  const int limit = width_ - endMargin_ - (scroller ? kScrollerRoom : 0);
  int x = startMargin_;
  int count = 0;
  for (std::size_t i = static_cast<std::size_t>(first); i < widths.size(); ++i, ++count) {
    if (x + widths[i] + kTabEdges > limit) break;
    x += widths[i] + kTabEdges;
  }
  return count;
}

void TTabSet::LayoutTabs() {
  const std::vector<int> widths = CaptionWidths();
  const int n = static_cast<int>(widths.size());
  const bool scroll = FittingTabs(widths, 0, false) < n;
  int lastFirst = 0;
  if (scroll) {
    // The first index from which the rest fits beside the scroller.
    lastFirst = n - 1;
    for (int f = 0; f < n; ++f) {
      if (FittingTabs(widths, f, true) == n - f) {
        lastFirst = f;
        break;
      }
    }
  }
  firstIndex_ = std::clamp(firstIndex_, 0, lastFirst);
  tabRects_.clear();
  int x = startMargin_;
  const int shown = FittingTabs(widths, firstIndex_, scroll);
  for (int i = firstIndex_; i < firstIndex_ + shown; ++i) {
    const int w = widths[static_cast<std::size_t>(i)] + kTabEdges;
    tabRects_.push_back(RECT{x, 0, x + w, height_});
    x += w;
  }

  const int scrollerWidth = 2 * GetSystemMetrics(SM_CXVSCROLL) - 8;
  const int scrollerHeight = std::min(height_, GetSystemMetrics(SM_CYHSCROLL) - 1);
  scroller_->SetBounds(width_ - scrollerWidth - 1, (height_ - scrollerHeight) / 2, scrollerWidth, scrollerHeight);
  scroller_->SetMin(0);
  scroller_->SetMax(lastFirst);
  scroller_->SetPosition(firstIndex_);
  scroller_->SetVisible(scroll);
  if (handle_) InvalidateRect(handle_, nullptr, TRUE);
}

RECT TTabSet::TabRect(int index) const {
  const int k = index - firstIndex_;
  if (k < 0 || k >= VisibleTabs()) return RECT{};
  return tabRects_[static_cast<std::size_t>(k)];
}

int TTabSet::TabAt(POINT p) const {
  for (int k = 0; k < VisibleTabs(); ++k)
    if (PtInRect(&tabRects_[static_cast<std::size_t>(k)], p)) return firstIndex_ + k;
  return -1;
}

void TTabSet::Loaded() {
  TCustomControl::Loaded();
  // What the description chose is no change to report.
  SelectTab(std::exchange(tabIndex_, -1));
}

void TTabSet::CreateParams(TCreateParams& params) {
  TCustomControl::CreateParams(params);
  params.Style |= WS_CLIPCHILDREN;  // the scroller paints itself
}

void TTabSet::SetTabIndex(int index) {
  // The tabs may not have been read yet.
  if (IsLoading()) {
    tabIndex_ = index;
    return;
  }
  if (SelectTab(index) && OnChange) OnChange(this);
}

bool TTabSet::SelectTab(int index) {
  index = std::clamp(index, -1, tabs_.Count() - 1);
  if (index == tabIndex_) return false;
  tabIndex_ = index;
  // Scroll the chosen tab into view.
  if (index >= 0 && index < firstIndex_) firstIndex_ = index;
  LayoutTabs();
  while (index >= firstIndex_ + VisibleTabs() && firstIndex_ < index) {
    ++firstIndex_;
    LayoutTabs();
  }
  return true;
}

void TTabSet::SetFirstIndex(int index) {
  firstIndex_ = std::max(index, 0);
  LayoutTabs();
}

void TTabSet::SetStartMargin(int v) {
  startMargin_ = v;
  LayoutTabs();
}

void TTabSet::SetEndMargin(int v) {
  endMargin_ = v;
  LayoutTabs();
}

void TTabSet::SetSelectedColor(TColor v) {
  selectedColor_ = v;
  if (handle_) InvalidateRect(handle_, nullptr, TRUE);
}

void TTabSet::SetUnselectedColor(TColor v) {
  unselectedColor_ = v;
  if (handle_) InvalidateRect(handle_, nullptr, TRUE);
}

void TTabSet::FontChanged() {
  TCustomControl::FontChanged();
  LayoutTabs();
}

void TTabSet::BoundsChanged() {
  TCustomControl::BoundsChanged();
  LayoutTabs();
}

void TTabSet::CreateWindowHandleDone() { LayoutTabs(); }

namespace {

// One tab: its sides slant in by four pixels towards the bottom.
void DrawTabShape(HDC dc, const RECT& r, COLORREF fill, bool selected) {
  const int bottom = r.bottom - 1;
  const POINT shape[] = {{r.left, 0}, {r.left + 4, bottom}, {r.right - 4, bottom}, {r.right, 0}};
  {
    BrushHandle brush(CreateSolidBrush(fill));
    SelectGuard useBrush(dc, brush.get());
    SelectGuard noPen(dc, GetStockObject(NULL_PEN));
    Polygon(dc, shape, 4);
  }
  PenHandle outline(CreatePen(PS_SOLID, 1, SchemeColor(COLOR_WINDOWTEXT)));
  SelectGuard usePen(dc, outline.get());
  Polyline(dc, shape, 4);
  if (selected) {
    // The lit edge of a raised tab.
    PenHandle light(CreatePen(PS_SOLID, 1, SchemeColor(COLOR_BTNHIGHLIGHT)));
    SelectGuard useLight(dc, light.get());
    MoveToEx(dc, r.left + 1, 0, nullptr);
    LineTo(dc, r.left + 4, bottom - 1);
  }
}

}  // namespace

void TTabSet::Paint(HDC target) {
  RECT client;
  GetClientRect(handle_, &client);
  TBitmap buffer(client.right, client.bottom);
  if (buffer.Empty()) return;
  HDC dc = buffer.DC();
  // Laid out as the target is: a mirrored tab set's captions read unmirrored.
  if (GetLayout(target) & LAYOUT_RTL) SetLayout(dc, LAYOUT_RTL);
  FillRect(dc, &client, BrushHandle());
  SelectGuard font(dc, font_.Handle());
  SetBkMode(dc, TRANSPARENT);

  const auto drawTab = [&](int index) {
    const RECT r = TabRect(index);
    const bool selected = index == tabIndex_;
    DrawTabShape(dc, r, ColorToRGB(selected ? selectedColor_ : unselectedColor_), selected);
    RECT text{r.left + 4, 0, r.right - 4, r.bottom - 1};
    const std::wstring& caption = tabs_.Items[static_cast<std::size_t>(index)];
    SetTextColor(dc, ColorToRGB(enabled_ ? font_.Color() : clGrayText));
    DrawTextW(dc, caption.c_str(), static_cast<int>(caption.size()), &text,
              DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
  };
  for (int i = firstIndex_; i < firstIndex_ + VisibleTabs(); ++i)
    if (i != tabIndex_) drawTab(i);
  // The edge of the area above; the selected tab joins that area.
  {
    PenHandle edge(CreatePen(PS_SOLID, 1, SchemeColor(COLOR_WINDOWTEXT)));
    SelectGuard usePen(dc, edge.get());
    MoveToEx(dc, 0, 0, nullptr);
    LineTo(dc, client.right, 0);
  }
  if (tabIndex_ >= firstIndex_ && tabIndex_ < firstIndex_ + VisibleTabs()) drawTab(tabIndex_);
  BitBlt(target, 0, 0, client.right, client.bottom, dc, 0, 0, SRCCOPY);
}

void TTabSet::WndProc(TMessage& m) {
  switch (m.Msg) {
    case WM_LBUTTONDOWN: {
      const int index = TabAt(POINT{static_cast<short>(LOWORD(m.LParam)), static_cast<short>(HIWORD(m.LParam))});
      if (index >= 0) {
        SetTabIndex(index);
        Click();
      }
      m.Result = 0;
      return;
    }
    case WM_ERASEBKGND:
      m.Result = 1;  // Paint covers every pixel
      return;
    case WM_SIZE:
      TCustomControl::WndProc(m);
      LayoutTabs();
      return;
    default:
      break;
  }
  TCustomControl::WndProc(m);
}

void TTabSet::DeclareProperties(std::vector<TPropInfo>& list) {
  TPropBuilder<TTabSet> b(list);
  b.Object("Tabs", [](TTabSet& c) -> TObject* { return &c.Tabs(); });
  b.Integer("TabIndex", [](TTabSet& c) { return c.TabIndex(); }, [](TTabSet& c, int v) { c.SetTabIndex(v); });
  b.Integer("FirstIndex", [](TTabSet& c) { return c.FirstIndex(); }, [](TTabSet& c, int v) { c.SetFirstIndex(v); });
  b.Integer("StartMargin", [](TTabSet& c) { return c.StartMargin(); }, [](TTabSet& c, int v) { c.SetStartMargin(v); });
  b.Integer("EndMargin", [](TTabSet& c) { return c.EndMargin(); }, [](TTabSet& c, int v) { c.SetEndMargin(v); });
  b.Color("SelectedColor", [](TTabSet& c) { return c.SelectedColor(); },
          [](TTabSet& c, TColor v) { c.SetSelectedColor(v); });
  b.Color("UnselectedColor", [](TTabSet& c) { return c.UnselectedColor(); },
          [](TTabSet& c, TColor v) { c.SetUnselectedColor(v); });
  b.Color("BackgroundColor", [](TTabSet& c) { return c.Color(); }, [](TTabSet& c, TColor v) { c.SetColor(v); });
  b.Event("OnChange", &TTabSet::OnChange);
}

}  // namespace gui
