// Lists of text items over the system classes: the list box ("LISTBOX") and
// the combo box ("COMBOBOX") in its drop-down, simple and drop-down-list
// styles. The items live in the control and are mirrored into its window,
// so they survive the window being made again.
#pragma once
#include <string>
#include <vector>

#include "gui/controls.h"

namespace gui {

// Items kept here and sent to the control's window as they change.
class TListStrings : public TStrings {
  GUI_CLASS(TListStrings, TStrings)
 public:
  // The window's messages that insert one item, delete one, and empty it.
  struct TMessages {
    UINT Insert, Delete, Reset;
  };
  TListStrings(TWinControl& control, TMessages messages) : control_(control), messages_(messages) {}

  int Count() const override { return static_cast<int>(items_.size()); }
  std::wstring Get(int index) const override;
  void Insert(int index, const std::wstring& text) override;
  void Delete(int index) override;
  void Clear() override;
  std::vector<std::wstring> ToVector() const override { return items_; }

  // Puts every item into a newly made window.
  void FillWindow();

 private:
  TWinControl& control_;
  TMessages messages_;
  std::vector<std::wstring> items_;
};

class TCustomListBox : public TWinControl {
  GUI_CLASS(TCustomListBox, TWinControl)
 public:
  explicit TCustomListBox(TComponent* owner);

  TStrings& Items() { return items_; }
  // The selected item, -1 for none.
  int ItemIndex();
  void SetItemIndex(int index);
  // The item shown at the top.
  int TopIndex();
  void SetTopIndex(int index);
  // Whether the height shrinks to whole items.
  bool IntegralHeight() const { return integralHeight_; }
  void SetIntegralHeight(bool v) { SetStyleField(integralHeight_, v); }

  // OnClick: the user selected an item (LBN_SELCHANGE).
  TNotifyEvent OnDblClick;

  void WndProc(TMessage& message) override;
  static void DeclareProperties(std::vector<TPropInfo>& list);

 protected:
  void CreateParams(TCreateParams& params) override;
  void CreateWindowHandleDone() override;
  void WindowHandleDestroying() override;

 private:
  TListStrings items_;
  int itemIndex_ = -1;
  int topIndex_ = 0;
  bool integralHeight_ = false;
};

class TListBox : public TCustomListBox {
  GUI_CLASS(TListBox, TCustomListBox)
 public:
  explicit TListBox(TComponent* owner) : TCustomListBox(owner) {}
};

enum class TComboBoxStyle { csDropDown, csSimple, csDropDownList };

class TCustomComboBox : public TWinControl {
  GUI_CLASS(TCustomComboBox, TWinControl)
 public:
  explicit TCustomComboBox(TComponent* owner);

  TComboBoxStyle Style() const { return style_; }
  void SetStyle(TComboBoxStyle v) { SetStyleField(style_, v); }
  TStrings& Items() { return items_; }
  int ItemIndex();
  void SetItemIndex(int index);
  // The text shown; with a drop-down list, setting it selects the item
  // with exactly that text (or none).
  std::wstring Text();
  void SetText(const std::wstring& text);
  // How many items the dropped list shows at once.
  int DropDownCount() const { return dropDownCount_; }
  void SetDropDownCount(int v);
  // Height is the height of the closed box; the window's own height takes
  // the dropped list as well.
  void SetBounds(int left, int top, int width, int height) override;

  // The text or the selection changed by the user (CBN_EDITCHANGE, CBN_SELCHANGE).
  TNotifyEvent OnChange;
  // The user chose an item from the list (CBN_SELCHANGE), before OnChange.
  TNotifyEvent OnSelect;

  void WndProc(TMessage& message) override;
  static void DeclareProperties(std::vector<TPropInfo>& list);

 protected:
  void CreateParams(TCreateParams& params) override;
  void CreateWindowHandleDone() override;
  void WindowHandleDestroying() override;

 private:
  int WindowHeight() const;

  TComboBoxStyle style_ = TComboBoxStyle::csDropDown;
  TListStrings items_;
  int itemIndex_ = -1;
  int dropDownCount_ = 8;
};

class TComboBox : public TCustomComboBox {
  GUI_CLASS(TComboBox, TCustomComboBox)
 public:
  explicit TComboBox(TComponent* owner) : TCustomComboBox(owner) {}
};

}  // namespace gui
