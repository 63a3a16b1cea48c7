// The skinners that complete the scroll-bar family: list views (their window
// scroll bars plus their column header), column headers drawn from the
// skin's header bar, and the size grips of dialog boxes, drawn from the
// skin's grip picture.
#pragma once
#include "skin/controls/skin_scrollbar.h"

namespace skin {

class TSkinHeader;

class TSkinListView : public TSkinScrollbar {
  GUI_CLASS(TSkinListView, TSkinScrollbar)
 public:
  explicit TSkinListView(gui::TComponent* owner) : TSkinScrollbar(owner) {}
  ~TSkinListView() override;

  // The scroll-bar attach, then a header skinner on the list view's header
  // window when it has one.
  bool Attach(const TSkinnerAttach& how) override;
  // Selected rows of a framework list view in the skin's selection colours
  // (its reflected custom draw); the system would draw them in its own.
  bool BeforeMessage(gui::TMessage& message) override;
  void AfterMessage(gui::TMessage& message) override;
  void Notification(gui::TComponent* component, gui::TOperation operation) override;

  // Owned by the list view control (or, for a bare window, by the form
  // skinner); none when the list view had no header when it was attached
  // or its window was last re-created.
  TSkinHeader* Header = nullptr;

 protected:
  // A new window of the list view comes with a new header: it is skinned
  // in place of the old one once the window is created.
  void FollowNewWindow() override;

 private:
  void AttachHeader();
  // The view has the focus or shows its selection always, and a row is
  // selected.
  bool SelectionShows() const;

  // Whether the view had the focus when its paint began (asked once a
  // paint: it costs a round trip to the system under Wine).
  bool paintFocused_ = false;
};

class TSkinHeader : public TSkinControl {
  GUI_CLASS(TSkinHeader, TSkinControl)
 public:
  explicit TSkinHeader(gui::TComponent* owner) : TSkinControl(owner) {}
  bool BeforeMessage(gui::TMessage& message) override;
  void DrawSkin(HDC dc, const RECT& rect) override;

 private:
  void DrawItem(HDC dc, int index, const RECT& item, HIMAGELIST images, bool enabled);
};

class TSkinSizer : public TSkinControl {
  GUI_CLASS(TSkinSizer, TSkinControl)
 public:
  explicit TSkinSizer(gui::TComponent* owner) : TSkinControl(owner) {}
  bool BeforeMessage(gui::TMessage& message) override;
  void DrawSkin(HDC dc, const RECT& rect) override;
};

}  // namespace skin
