// Tabs: the common tab control ("SysTabControl32") with a list of tab
// texts, and the page control whose tabs are its tab sheets (windowed
// containers, one shown at a time).
#pragma once
#include <string>
#include <vector>

#include "gui/controls.h"

namespace gui {

enum class TTabPosition { tpTop, tpBottom };

class TCustomTabControl : public TWinControl {
  GUI_CLASS(TCustomTabControl, TWinControl)
 public:
  explicit TCustomTabControl(TComponent* owner);

  bool MultiLine() const { return multiLine_; }
  void SetMultiLine(bool v) { SetStyleField(multiLine_, v); }
  TTabPosition TabPosition() const { return tabPosition_; }
  void SetTabPosition(TTabPosition v) { SetStyleField(tabPosition_, v); }
  // The selected tab, -1 for none.
  int TabIndex();
  void SetTabIndex(int index);
  int TabCount() const { return static_cast<int>(tabs_.size()); }
  // The tab's rectangle in client coordinates; empty without a window.
  RECT TabRect(int index);
  // The area inside the border, off the tabs, in client coordinates.
  RECT DisplayRect();

  // The user chose another tab (TCN_SELCHANGE).
  TNotifyEvent OnChange;

  void WndProc(TMessage& message) override;
  static void DeclareProperties(std::vector<TPropInfo>& list);

 protected:
  void CreateParams(TCreateParams& params) override;
  void CreateWindowHandleDone() override;
  void WindowHandleDestroying() override;
  virtual void Change();
  // The user asked for the next (or previous) tab, round the end, by
  // Ctrl+Tab (Ctrl+Shift+Tab) or Ctrl+PgDn (Ctrl+PgUp).
  virtual void SelectNextTab(bool forward);
  // The tabs, kept here and mirrored into the window.
  void InsertTab(int index, const std::wstring& text);
  void DeleteTab(int index);
  void SetTabText(int index, const std::wstring& text);
  const std::vector<std::wstring>& Tabs() const { return tabs_; }

 private:
  void ReleaseStalePressedTabs();

  std::vector<std::wstring> tabs_;
  int tabIndex_ = -1;
  bool multiLine_ = false;
  TTabPosition tabPosition_ = TTabPosition::tpTop;
};

class TTabControl;

// The tab texts of a tab control.
class TTabStrings : public TStrings {
  GUI_CLASS(TTabStrings, TStrings)
 public:
  explicit TTabStrings(TTabControl& control) : control_(control) {}
  int Count() const override;
  std::wstring Get(int index) const override;
  void Insert(int index, const std::wstring& text) override;
  void Delete(int index) override;
  void Clear() override;

 private:
  TTabControl& control_;
};

class TTabControl : public TCustomTabControl {
  GUI_CLASS(TTabControl, TCustomTabControl)
 public:
  explicit TTabControl(TComponent* owner) : TCustomTabControl(owner) {}
  TStrings& Tabs() { return tabStrings_; }
  static void DeclareProperties(std::vector<TPropInfo>& list);

 private:
  friend class TTabStrings;
  TTabStrings tabStrings_{*this};
};

class TPageControl;

// A page of a page control: its children are the page's controls and its
// caption is the tab's text.
class TTabSheet : public TWinControl {
  GUI_CLASS(TTabSheet, TWinControl)
 public:
  explicit TTabSheet(TComponent* owner);
  ~TTabSheet() override;

  TPageControl* PageControl() const { return pageControl_; }
  void SetPageControl(TPageControl* control);
  int PageIndex() const;
  void SetPageIndex(int index);
  void SetParent(TWinControl* parent) override;

 protected:
  void CreateParams(TCreateParams& params) override;
  void TextChanged() override;

 private:
  friend class TPageControl;
  TPageControl* pageControl_ = nullptr;
};

class TPageControl : public TCustomTabControl {
  GUI_CLASS(TPageControl, TCustomTabControl)
 public:
  explicit TPageControl(TComponent* owner) : TCustomTabControl(owner) {}
  ~TPageControl() override;

  int PageCount() const { return static_cast<int>(pages_.size()); }
  TTabSheet* Pages(int index) const;
  TTabSheet* ActivePage() const { return activePage_; }
  // Shows that page and hides the others; nullptr hides them all.
  void SetActivePage(TTabSheet* page);
  int ActivePageIndex() const;
  void SetActivePageIndex(int index);
  // The next (or previous) page, round the end.
  void SelectNextPage(bool forward);

  void WndProc(TMessage& message) override;
  static void DeclareProperties(std::vector<TPropInfo>& list);

 protected:
  void CreateWindowHandleDone() override;
  void FontChanged() override;
  void Change() override;
  void SelectNextTab(bool forward) override;

 private:
  friend class TTabSheet;
  void InsertPage(TTabSheet& page);
  void RemovePage(TTabSheet& page);
  void MovePage(TTabSheet& page, int index);
  void PlacePages();

  std::vector<TTabSheet*> pages_;
  TTabSheet* activePage_ = nullptr;
};

}  // namespace gui
