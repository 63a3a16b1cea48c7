// The tab set, a control of our own that draws a row of tabs hanging from
// its top edge and scrolls them with up-down arrows when they do not fit.
#pragma once
#include <string>
#include <vector>

#include "gui/controls.h"
#include "gui/ranges.h"

namespace gui {

// Tabs drawn by the control itself along its top edge: the selected one
// joins the area above, the others hang below a line. Tabs that do not fit
// are reached with the scroller, an up-down control that is the first
// component the tab set owns.
class TTabSet : public TCustomControl {
  GUI_CLASS(TTabSet, TCustomControl)
 public:
  explicit TTabSet(TComponent* owner);

  TStrings& Tabs() { return tabs_; }
  // The selected tab, -1 for none; selecting a tab scrolls it into view.
  int TabIndex() const { return tabIndex_; }
  void SetTabIndex(int index);
  // The first tab shown.
  int FirstIndex() const { return firstIndex_; }
  void SetFirstIndex(int index);
  int StartMargin() const { return startMargin_; }
  void SetStartMargin(int v);
  int EndMargin() const { return endMargin_; }
  void SetEndMargin(int v);
  TColor SelectedColor() const { return selectedColor_; }
  void SetSelectedColor(TColor v);
  TColor UnselectedColor() const { return unselectedColor_; }
  void SetUnselectedColor(TColor v);

  TUpDown& Scroller() { return *scroller_; }
  // How many tabs are shown, from FirstIndex on.
  int VisibleTabs() const { return static_cast<int>(tabRects_.size()); }
  // A shown tab's rectangle (client coordinates); empty for the others.
  RECT TabRect(int index) const;
  // The shown tab at a client point, -1 for none.
  int TabAt(POINT p) const;

  // A tab's width beside its caption.
  static constexpr int kTabEdges = 9;
  // Room the scroller takes at the end, while it is shown.
  static constexpr int kScrollerRoom = 12;

  // TabIndex changed, by the user or by code; OnClick follows a click on a tab.
  TNotifyEvent OnChange;

  void WndProc(TMessage& message) override;
  void Loaded() override;
  static void DeclareProperties(std::vector<TPropInfo>& list);

 protected:
  void CreateParams(TCreateParams& params) override;
  void Paint(HDC dc) override;
  void FontChanged() override;
  void BoundsChanged() override;
  void CreateWindowHandleDone() override;

 private:
  // The tab texts; any change lays the tabs out again.
  class TTabList : public TStringList {
   public:
    explicit TTabList(TTabSet& owner) : owner_(owner) {}
    void Insert(int index, const std::wstring& text) override;
    void Delete(int index) override;
    void Clear() override;
    void Assign(const std::vector<std::wstring>& items) override;

   private:
    TTabSet& owner_;
  };

  void TabsChanged();
  // Selects a tab and scrolls it into view; false when it was selected already.
  bool SelectTab(int index);
  // Which tabs fit from FirstIndex on, whether the scroller is needed, and
  // where it goes.
  void LayoutTabs();
  std::vector<int> CaptionWidths();
  int FittingTabs(const std::vector<int>& widths, int first, bool scroller) const;

  TTabList tabs_{*this};
  TUpDown* scroller_;
  int tabIndex_ = -1;
  int firstIndex_ = 0;
  int startMargin_ = 5;
  int endMargin_ = 15;
  TColor selectedColor_ = clBtnFace;
  TColor unselectedColor_ = clWindow;
  std::vector<RECT> tabRects_;
};

}  // namespace gui
