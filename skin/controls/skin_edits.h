// Skinners of the text controls: the edit box (its sunken border replaced
// by a flat two-colour one, and the spin buttons that sit inside it
// skinned), which also skins date-time pickers showing a time, and the combo
// box (the skin's edge ring and drop-down button around the control's own
// text, with hot and pressed looks), which also skins pickers showing a
// date, and whose list (drop-down or simple) gets the skin's scroll bars;
// and the rich edit (its scroll bars, its background in the skin's window
// colour and the text the system prints in its own window text in the
// skin's).
#pragma once
#include <windows.h>

#include "skin/controls/skin_control.h"
#include "skin/controls/skin_scrollbar.h"

namespace skin {

class TSkinUpDown;

// Finds the first child window of `parent` of one of the two up-down
// classes, from the top of its children down.
HWND FindUpDownChild(HWND parent);

// The flat border that stands in for a window's sunken one, exactly as wide:
// the skin's ButtonShadow outside, its window colour inside (white unless
// the skin gives Window). Nothing for a window without a border.
void DrawFlatBorder(HDC dc, const RECT& rect, HWND wnd, TSkinData& data);

class TSkinEdit : public TSkinControl {
  GUI_CLASS(TSkinEdit, TSkinControl)
 public:
  explicit TSkinEdit(gui::TComponent* owner) : TSkinControl(owner) {}

  bool BeforeMessage(gui::TMessage& message) override;
  void AfterMessage(gui::TMessage& message) override;
  void DrawSkin(HDC dc, const RECT& rect) override;
  void Notification(gui::TComponent* component, gui::TOperation operation) override;

  // The skinner of the spin buttons found inside the edit box; none until
  // they are found.
  TSkinUpDown* UpDown = nullptr;

  // The flat border's two rings, outer (shadow) and inner, as wide as the
  // system's border around the text; none for a borderless edit box.
  struct TRing {
    int Outer = 0, Inner = 0;
  };
  static TRing RingOf(HWND wnd);

 private:
  void FindSpinButtons();
  // The flat border as printed: the inner ring in the context's brush.
  void PrintBorder(HDC dc);

  // Border paints after the system drew the frame, and their count when
  // the paint under way began: a paint whose BeginPaint drew the frame has
  // only drawn the client since, which cannot reach the border of an edit
  // box without bars.
  unsigned framePaints_ = 0;
  unsigned framePaintsAtPaint_ = 0;
};

// Looks of the combo box: frame numbers of the edge, button and arrow strips.
enum TComboLook { clNormal = 1, clPressed = 2, clDisabled = 3, clHot = 4 };

class TSkinComBox : public TSkinControl {
  GUI_CLASS(TSkinComBox, TSkinControl)
 public:
  // The ComboButton element's Style that asks for the simple look.
  static constexpr int kSimpleStyle = 1;

  explicit TSkinComBox(gui::TComponent* owner) : TSkinControl(owner) {}

  // The combo box, then its list's scroll bars ("ComboLBox": a window of its
  // own for a drop-down list, a child for a simple combo box).
  bool Attach(const TSkinnerAttach& how) override;
  void AfterMessage(gui::TMessage& message) override;
  void Notification(gui::TComponent* component, gui::TOperation operation) override;
  void DrawSkin(HDC dc, const RECT& rect) override;

  // The window's style and extended style as read at the last drawing.
  DWORD WindowStyle = 0;
  DWORD WindowExStyle = 0;
  // The look the last drawing used (a TComboLook), 0 before any.
  int LastLook() const { return lastLook_; }
  // The skinner of the list's scroll bars; none for a list without them.
  TSkinScrollbar* ListBars = nullptr;

 private:
  int CurrentLook();
  void DrawSimple(HDC dc, const RECT& rect);
  void DrawSimpleComboEdge(HDC dc);
  void FillAroundEdit(HDC dc, const RECT& text);
  // A date picker, whose drop-down calendar this skinner's button opens.
  bool IsDatePicker() const;
  void RecolourPickerText(HDC dc, const RECT& text);

  int lastLook_ = 0;
};

class TSkinRichEdit : public TSkinScrollbar {
  GUI_CLASS(TSkinRichEdit, TSkinScrollbar)
 public:
  explicit TSkinRichEdit(gui::TComponent* owner) : TSkinScrollbar(owner) {}
  ~TSkinRichEdit() override;

  // The scroll-bar attach, then the skin's window colour as the background,
  // unless the program gave the control one of its own.
  bool Attach(const TSkinnerAttach& how) override;
  bool BeforeMessage(gui::TMessage& message) override;
  void AfterMessage(gui::TMessage& message) override;
  void SkinChanged() override;

 private:
  void GiveBackground();
  // The rich edit prints text of no colour of its own in the system's window
  // text whatever its background: on the skin's that is the skin's.
  void RecolourText(const RECT& area);
  bool backgroundGiven_ = false;
  RECT painting_{};
};

}  // namespace skin
