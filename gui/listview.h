// The list view ("SysListView32", with its "SysHeader32" column header in
// report style): columns and items with sub-items and images are kept as
// collections here and mirrored into the window, so the form description
// can carry them and they survive the window being made again.
#pragma once
#include <string>

#include "gui/comctrls.h"
#include "gui/controls.h"
#include "gui/imagelist.h"

namespace gui {

class TCustomListView;

class TListColumn : public TCollectionItem {
  GUI_CLASS(TListColumn, TCollectionItem)
 public:
  explicit TListColumn(TCollection& collection) : TCollectionItem(collection) {}

  const std::wstring& Caption() const { return caption_; }
  void SetCaption(const std::wstring& v);
  // As the user left it, once the window exists.
  int Width();
  void SetWidth(int v);
  TAlignment Alignment() const { return alignment_; }
  void SetAlignment(TAlignment v);
  // An image of the list view's small images beside the caption; -1 for none.
  int ImageIndex() const { return imageIndex_; }
  void SetImageIndex(int v);

  static void DeclareProperties(std::vector<TPropInfo>& list);

 private:
  friend class TCustomListView;
  std::wstring caption_;
  int width_ = 50;
  TAlignment alignment_ = TAlignment::taLeftJustify;
  int imageIndex_ = -1;
};

class TListColumns : public TTypedCollection<TListColumn> {
  GUI_CLASS(TListColumns, TCollection)
 public:
  explicit TListColumns(TCustomListView& view) : view_(view) {}
  TCustomListView& View() const { return view_; }

 protected:
  void Added(TCollectionItem& item) override;
  void Deleting(TCollectionItem& item) override;
  void Deleted() override;
  void Update(TCollectionItem& item) override;

 private:
  TCustomListView& view_;
};

class TListItem;

// The texts of an item's further columns.
class TSubItems : public TStringList {
  GUI_CLASS(TSubItems, TStringList)
 public:
  explicit TSubItems(TListItem& item) : item_(item) {}
  void Insert(int index, const std::wstring& text) override;
  void Delete(int index) override;
  void Clear() override;
  void Assign(const std::vector<std::wstring>& items) override;

 private:
  TListItem& item_;
};

class TListItem : public TCollectionItem {
  GUI_CLASS(TListItem, TCollectionItem)
 public:
  explicit TListItem(TCollection& collection) : TCollectionItem(collection) {}

  const std::wstring& Caption() const { return caption_; }
  void SetCaption(const std::wstring& v);
  int ImageIndex() const { return imageIndex_; }
  void SetImageIndex(int v);
  TStrings& SubItems() { return subItems_; }
  // Whether the item is selected in the window.
  bool Selected();
  void SetSelected(bool v);

  static void DeclareProperties(std::vector<TPropInfo>& list);

 private:
  friend class TSubItems;
  TCustomListView& View() const;

  std::wstring caption_;
  int imageIndex_ = -1;
  TSubItems subItems_{*this};
};

class TListItems : public TTypedCollection<TListItem> {
  GUI_CLASS(TListItems, TCollection)
 public:
  explicit TListItems(TCustomListView& view) : view_(view) {}
  TCustomListView& View() const { return view_; }

 protected:
  void Added(TCollectionItem& item) override;
  void Deleting(TCollectionItem& item) override;
  void Update(TCollectionItem& item) override;

 private:
  TCustomListView& view_;
};

enum class TViewStyle { vsIcon, vsSmallIcon, vsList, vsReport };

class TCustomListView : public TWinControl {
  GUI_CLASS(TCustomListView, TWinControl)
 public:
  explicit TCustomListView(TComponent* owner);
  ~TCustomListView() override;

  TListColumns& Columns() { return columns_; }
  TListItems& Items() { return items_; }
  // Column widths scale with the control.
  void ChangeScale(int m, int d) override;
  TViewStyle ViewStyle() const { return viewStyle_; }
  void SetViewStyle(TViewStyle v) { SetStyleField(viewStyle_, v); }
  // Shown by the items, and by the column captions in report style.
  TImageList* SmallImages() const { return smallImages_; }
  void SetSmallImages(TImageList* images);
  bool RowSelect() const { return rowSelect_; }
  void SetRowSelect(bool v);
  bool GridLines() const { return gridLines_; }
  void SetGridLines(bool v);
  bool ShowColumnHeaders() const { return showColumnHeaders_; }
  void SetShowColumnHeaders(bool v) { SetStyleField(showColumnHeaders_, v); }
  bool HideSelection() const { return hideSelection_; }
  void SetHideSelection(bool v) { SetStyleField(hideSelection_, v); }
  // The first selected item, -1 for none.
  int ItemIndex();
  void SetItemIndex(int index);

  // The column whose header the user clicked, while OnColumnClick runs.
  TListColumn* ClickedColumn() const { return clickedColumn_; }
  TNotifyEvent OnColumnClick;
  // An item was selected or deselected.
  TNotifyEvent OnSelectItem;

  void WndProc(TMessage& message) override;
  void Notification(TComponent* component, TOperation operation) override;
  static void DeclareProperties(std::vector<TPropInfo>& list);

 protected:
  void CreateParams(TCreateParams& params) override;
  void CreateWindowHandleDone() override;
  void WindowHandleDestroying() override;
  void ColorChanged() override;

 private:
  friend class TListColumns;
  friend class TListItems;
  friend class TListItem;
  void InsertColumnInWindow(TListColumn& column);
  void UpdateColumnInWindow(TListColumn& column);
  void InsertItemInWindow(TListItem& item);
  void UpdateItemInWindow(TListItem& item);
  void UpdateItemsInWindow();
  void ApplyColors();
  void ApplyExtendedStyle();

  TListColumns columns_{*this};
  TListItems items_{*this};
  TViewStyle viewStyle_ = TViewStyle::vsIcon;
  TImageList* smallImages_ = nullptr;
  bool rowSelect_ = false, gridLines_ = false, showColumnHeaders_ = true, hideSelection_ = true;
  int itemIndex_ = -1;
  TListColumn* clickedColumn_ = nullptr;
};

class TListView : public TCustomListView {
  GUI_CLASS(TListView, TCustomListView)
 public:
  explicit TListView(TComponent* owner) : TCustomListView(owner) {}
};

}  // namespace gui
