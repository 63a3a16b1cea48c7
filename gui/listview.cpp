#include "gui/listview.h"

#include <commctrl.h>

namespace gui {

namespace {

int ColumnFormat(TAlignment alignment) {
  switch (alignment) {
    case TAlignment::taRightJustify: return LVCFMT_RIGHT;
    case TAlignment::taCenter: return LVCFMT_CENTER;
    default: return LVCFMT_LEFT;
  }
}

LVCOLUMNW ColumnRecord(TListColumn& column, const std::wstring& caption, int width) {
  LVCOLUMNW c{};
  c.mask = LVCF_TEXT | LVCF_WIDTH | LVCF_FMT;
  c.fmt = ColumnFormat(column.Alignment());
  c.cx = width;
  c.pszText = const_cast<wchar_t*>(caption.c_str());
  if (column.ImageIndex() >= 0) {
    c.mask |= LVCF_IMAGE;
    c.fmt |= LVCFMT_IMAGE;
    c.iImage = column.ImageIndex();
  }
  return c;
}

}  // namespace

// ---------------------------------------------------------------------------
// TListColumn, TListColumns

int TListColumn::Width() {
  TCustomListView& view = static_cast<TListColumns&>(Collection()).View();
  // Only a window in report style knows the columns' widths.
  if (view.HandleAllocated() && (GetWindowLongPtrW(view.Handle(), GWL_STYLE) & LVS_TYPEMASK) == LVS_REPORT)
    width_ = static_cast<int>(SendMessageW(view.Handle(), LVM_GETCOLUMNWIDTH, static_cast<WPARAM>(Index()), 0));
  return width_;
}

void TListColumn::SetCaption(const std::wstring& v) {
  caption_ = v;
  Changed();
}

void TListColumn::SetWidth(int v) {
  width_ = v;
  Changed();
}

void TListColumn::SetAlignment(TAlignment v) {
  alignment_ = v;
  Changed();
}

void TListColumn::SetImageIndex(int v) {
  imageIndex_ = v;
  Changed();
}

void TListColumn::DeclareProperties(std::vector<TPropInfo>& list) {
  TPropBuilder<TListColumn> b(list);
  b.String("Caption", [](TListColumn& c) { return c.Caption(); },
           [](TListColumn& c, const std::wstring& v) { c.SetCaption(v); });
  b.Integer("Width", [](TListColumn& c) { return c.Width(); }, [](TListColumn& c, int v) { c.SetWidth(v); });
  b.Enumeration("Alignment", {"taLeftJustify", "taRightJustify", "taCenter"},
                [](TListColumn& c) { return static_cast<int>(c.Alignment()); },
                [](TListColumn& c, int v) { c.SetAlignment(static_cast<TAlignment>(v)); });
  b.Integer("ImageIndex", [](TListColumn& c) { return c.ImageIndex(); },
            [](TListColumn& c, int v) { c.SetImageIndex(v); });
}

void TListColumns::Added(TCollectionItem& item) { view_.InsertColumnInWindow(static_cast<TListColumn&>(item)); }

void TListColumns::Deleting(TCollectionItem& item) {
  if (view_.HandleAllocated()) SendMessageW(view_.Handle(), LVM_DELETECOLUMN, static_cast<WPARAM>(item.Index()), 0);
}

// Sub-items go by position: each item's texts move to the columns now there.
void TListColumns::Deleted() { view_.UpdateItemsInWindow(); }

void TListColumns::Update(TCollectionItem& item) { view_.UpdateColumnInWindow(static_cast<TListColumn&>(item)); }

// ---------------------------------------------------------------------------
// TSubItems, TListItem, TListItems

void TSubItems::Insert(int index, const std::wstring& text) {
  TStringList::Insert(index, text);
  item_.Changed();
}

void TSubItems::Delete(int index) {
  TStringList::Delete(index);
  item_.Changed();
}

void TSubItems::Clear() {
  TStringList::Clear();
  item_.Changed();
}

void TSubItems::Assign(const std::vector<std::wstring>& items) {
  TStringList::Assign(items);
  item_.Changed();
}

TCustomListView& TListItem::View() const { return static_cast<TListItems&>(Collection()).View(); }

void TListItem::SetCaption(const std::wstring& v) {
  caption_ = v;
  Changed();
}

void TListItem::SetImageIndex(int v) {
  imageIndex_ = v;
  Changed();
}

bool TListItem::Selected() {
  TCustomListView& view = View();
  if (!view.HandleAllocated()) return view.itemIndex_ == Index();
  return SendMessageW(view.Handle(), LVM_GETITEMSTATE, static_cast<WPARAM>(Index()), LVIS_SELECTED) != 0;
}

void TListItem::SetSelected(bool v) {
  TCustomListView& view = View();
  if (!view.HandleAllocated()) {
    if (v) view.itemIndex_ = Index();
    else if (view.itemIndex_ == Index()) view.itemIndex_ = -1;
    return;
  }
  LVITEMW state{};
  state.stateMask = LVIS_SELECTED;
  state.state = v ? LVIS_SELECTED : 0;
  SendMessageW(view.Handle(), LVM_SETITEMSTATE, static_cast<WPARAM>(Index()), reinterpret_cast<LPARAM>(&state));
}

void TListItem::DeclareProperties(std::vector<TPropInfo>& list) {
  TPropBuilder<TListItem> b(list);
  b.String("Caption", [](TListItem& c) { return c.Caption(); }, [](TListItem& c, const std::wstring& v) { c.SetCaption(v); });
  b.Integer("ImageIndex", [](TListItem& c) { return c.ImageIndex(); }, [](TListItem& c, int v) { c.SetImageIndex(v); });
  b.Object("SubItems", [](TListItem& c) -> TObject* { return &c.SubItems(); });
}

void TListItems::Added(TCollectionItem& item) { view_.InsertItemInWindow(static_cast<TListItem&>(item)); }

void TListItems::Deleting(TCollectionItem& item) {
  if (view_.HandleAllocated()) SendMessageW(view_.Handle(), LVM_DELETEITEM, static_cast<WPARAM>(item.Index()), 0);
}

void TListItems::Update(TCollectionItem& item) { view_.UpdateItemInWindow(static_cast<TListItem&>(item)); }

// ---------------------------------------------------------------------------
// TCustomListView

TCustomListView::TCustomListView(TComponent* owner) : TWinControl(owner) {
  SetTabStop(true);
  width_ = 250;
  height_ = 150;
  color_ = clWindow;
  parentColor_ = false;
}

TCustomListView::~TCustomListView() {
  if (smallImages_) RemoveFreeNotification(smallImages_);
}

void TCustomListView::CreateParams(TCreateParams& params) {
  NeedCommonControls(ICC_LISTVIEW_CLASSES);
  TWinControl::CreateParams(params);
  CreateSubClass(params, WC_LISTVIEWW);
  static constexpr DWORD kView[] = {LVS_ICON, LVS_SMALLICON, LVS_LIST, LVS_REPORT};
  // The image lists belong to their components, not to the window.
  params.Style |= kView[static_cast<int>(viewStyle_)] | LVS_SHAREIMAGELISTS | LVS_SINGLESEL;
  if (!showColumnHeaders_) params.Style |= LVS_NOCOLUMNHEADER;
  if (!hideSelection_) params.Style |= LVS_SHOWSELALWAYS;
  params.ExStyle |= WS_EX_CLIENTEDGE;
}

void TCustomListView::CreateWindowHandleDone() {
  ApplyExtendedStyle();
  ApplyColors();
  if (smallImages_)
    SendMessageW(handle_, LVM_SETIMAGELIST, LVSIL_SMALL, reinterpret_cast<LPARAM>(smallImages_->Handle()));
  for (int i = 0; i < columns_.Count(); ++i) InsertColumnInWindow(columns_[i]);
  for (int i = 0; i < items_.Count(); ++i) InsertItemInWindow(items_[i]);
  if (itemIndex_ >= 0) SetItemIndex(itemIndex_);
}

void TCustomListView::WindowHandleDestroying() {
  itemIndex_ = ItemIndex();
  for (int i = 0; i < columns_.Count(); ++i) columns_[i].Width();
}

void TCustomListView::ApplyExtendedStyle() {
  if (!handle_) return;
  const DWORD mask = LVS_EX_FULLROWSELECT | LVS_EX_GRIDLINES;
  const DWORD value = (rowSelect_ ? LVS_EX_FULLROWSELECT : 0) | (gridLines_ ? LVS_EX_GRIDLINES : 0);
  SendMessageW(handle_, LVM_SETEXTENDEDLISTVIEWSTYLE, mask, value);
}

void TCustomListView::ApplyColors() {
  if (!handle_) return;
  SendMessageW(handle_, LVM_SETBKCOLOR, 0, static_cast<LPARAM>(ColorToRGB(color_)));
  SendMessageW(handle_, LVM_SETTEXTBKCOLOR, 0, static_cast<LPARAM>(ColorToRGB(color_)));
  SendMessageW(handle_, LVM_SETTEXTCOLOR, 0, static_cast<LPARAM>(ColorToRGB(font_.Color())));
}

void TCustomListView::ColorChanged() {
  ApplyColors();
  TWinControl::ColorChanged();
}

void TCustomListView::SetRowSelect(bool v) {
  rowSelect_ = v;
  ApplyExtendedStyle();
}

void TCustomListView::SetGridLines(bool v) {
  gridLines_ = v;
  ApplyExtendedStyle();
}

void TCustomListView::SetSmallImages(TImageList* images) {
  if (images == smallImages_) return;
  if (smallImages_) RemoveFreeNotification(smallImages_);
  smallImages_ = images;
  if (images) FreeNotification(images);
  if (handle_)
    SendMessageW(handle_, LVM_SETIMAGELIST, LVSIL_SMALL, reinterpret_cast<LPARAM>(images ? images->Handle() : nullptr));
}

void TCustomListView::Notification(TComponent* component, TOperation operation) {
  TWinControl::Notification(component, operation);
  if (operation == TOperation::opRemove && component == smallImages_) {
    smallImages_ = nullptr;
    if (handle_) SendMessageW(handle_, LVM_SETIMAGELIST, LVSIL_SMALL, 0);
  }
}

int TCustomListView::ItemIndex() {
  if (handle_) itemIndex_ = static_cast<int>(SendMessageW(handle_, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_SELECTED));
  return itemIndex_;
}

void TCustomListView::SetItemIndex(int index) {
  itemIndex_ = index;
  if (!handle_) return;
  LVITEMW none{};
  none.stateMask = LVIS_SELECTED;
  SendMessageW(handle_, LVM_SETITEMSTATE, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(&none));
  if (index < 0 || index >= items_.Count()) return;
  LVITEMW chosen{};
  chosen.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
  chosen.state = LVIS_SELECTED | LVIS_FOCUSED;
  SendMessageW(handle_, LVM_SETITEMSTATE, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&chosen));
  SendMessageW(handle_, LVM_ENSUREVISIBLE, static_cast<WPARAM>(index), FALSE);
}

void TCustomListView::InsertColumnInWindow(TListColumn& column) {
  if (!handle_) return;
  const std::wstring caption = column.Caption();
  LVCOLUMNW c = ColumnRecord(column, caption, column.width_);
  SendMessageW(handle_, LVM_INSERTCOLUMNW, static_cast<WPARAM>(column.Index()), reinterpret_cast<LPARAM>(&c));
  // The items' texts for the new column.
  UpdateItemsInWindow();
}

void TCustomListView::UpdateItemsInWindow() {
  for (int i = 0; i < items_.Count(); ++i) UpdateItemInWindow(items_[i]);
}

void TCustomListView::UpdateColumnInWindow(TListColumn& column) {
  if (!handle_) return;
  const std::wstring caption = column.Caption();
  // The width the program set, not the one the window has.
  LVCOLUMNW c = ColumnRecord(column, caption, column.width_);
  SendMessageW(handle_, LVM_SETCOLUMNW, static_cast<WPARAM>(column.Index()), reinterpret_cast<LPARAM>(&c));
}

void TCustomListView::InsertItemInWindow(TListItem& item) {
  if (!handle_) return;
  LVITEMW row{};
  row.mask = LVIF_TEXT | LVIF_IMAGE;
  row.iItem = item.Index();
  row.pszText = const_cast<wchar_t*>(item.Caption().c_str());
  row.iImage = item.ImageIndex();
  SendMessageW(handle_, LVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&row));
  UpdateItemInWindow(item);
}

void TCustomListView::UpdateItemInWindow(TListItem& item) {
  if (!handle_) return;
  const auto index = static_cast<WPARAM>(item.Index());
  LVITEMW row{};
  row.mask = LVIF_TEXT | LVIF_IMAGE;
  row.iItem = item.Index();
  row.pszText = const_cast<wchar_t*>(item.Caption().c_str());
  row.iImage = item.ImageIndex();
  SendMessageW(handle_, LVM_SETITEMW, 0, reinterpret_cast<LPARAM>(&row));
  // A column without a sub-item shows nothing.
  const TStrings& subItems = item.SubItems();
  for (int column = 1; column < columns_.Count(); ++column) {
    const std::wstring text = column - 1 < subItems.Count() ? subItems.Get(column - 1) : std::wstring();
    LVITEMW cell{};
    cell.iSubItem = column;
    cell.pszText = const_cast<wchar_t*>(text.c_str());
    SendMessageW(handle_, LVM_SETITEMTEXTW, index, reinterpret_cast<LPARAM>(&cell));
  }
}

void TCustomListView::WndProc(TMessage& m) {
  if (m.Msg != CN_NOTIFY) {
    TWinControl::WndProc(m);
    return;
  }
  m.Result = 0;
  const auto* header = reinterpret_cast<const NMHDR*>(m.LParam);
  if (header->code == LVN_COLUMNCLICK) {
    const int column = reinterpret_cast<const NMLISTVIEW*>(m.LParam)->iSubItem;
    if (column < 0 || column >= columns_.Count()) return;
    clickedColumn_ = &columns_[column];
    struct TClearOnExit {
      TListColumn*& column;
      ~TClearOnExit() { column = nullptr; }
    } clear{clickedColumn_};
    if (OnColumnClick) OnColumnClick(this);
  } else if (header->code == LVN_ITEMCHANGED) {
    const auto* change = reinterpret_cast<const NMLISTVIEW*>(m.LParam);
    if ((change->uChanged & LVIF_STATE) && ((change->uNewState ^ change->uOldState) & LVIS_SELECTED) && OnSelectItem)
      OnSelectItem(this);
  }
}

void TCustomListView::DeclareProperties(std::vector<TPropInfo>& list) {
  TPropBuilder<TCustomListView> b(list);
  b.Object("Columns", [](TCustomListView& c) -> TObject* { return &c.Columns(); });
  b.Object("Items", [](TCustomListView& c) -> TObject* { return &c.Items(); });
  b.Enumeration("ViewStyle", {"vsIcon", "vsSmallIcon", "vsList", "vsReport"},
                [](TCustomListView& c) { return static_cast<int>(c.ViewStyle()); },
                [](TCustomListView& c, int v) { c.SetViewStyle(static_cast<TViewStyle>(v)); });
  b.Component<TImageList>("SmallImages", [](TCustomListView& c) { return c.SmallImages(); },
                          [](TCustomListView& c, TImageList* v) { c.SetSmallImages(v); });
  b.Boolean("RowSelect", [](TCustomListView& c) { return c.RowSelect(); },
            [](TCustomListView& c, bool v) { c.SetRowSelect(v); });
  b.Boolean("GridLines", [](TCustomListView& c) { return c.GridLines(); },
            [](TCustomListView& c, bool v) { c.SetGridLines(v); });
  b.Boolean("ShowColumnHeaders", [](TCustomListView& c) { return c.ShowColumnHeaders(); },
            [](TCustomListView& c, bool v) { c.SetShowColumnHeaders(v); });
  b.Boolean("HideSelection", [](TCustomListView& c) { return c.HideSelection(); },
            [](TCustomListView& c, bool v) { c.SetHideSelection(v); });
  b.Integer("ItemIndex", [](TCustomListView& c) { return c.ItemIndex(); },
            [](TCustomListView& c, int v) { c.SetItemIndex(v); });
  b.Event("OnColumnClick", &TCustomListView::OnColumnClick);
  b.Event("OnSelectItem", &TCustomListView::OnSelectItem);
}

void TCustomListView::ChangeScale(int m, int d) {
  TWinControl::ChangeScale(m, d);
  for (int i = 0; i < columns_.Count(); ++i) columns_[i].SetWidth(MulDiv(columns_[i].Width(), m, d));
}

}  // namespace gui
