// Skinners of the text controls: the edit box (its sunken border replaced
// by a flat two-colour one, and the spin buttons that sit inside it
// skinned), which also skins date-time pickers showing a time, and the combo
// box (the skin's edge ring and drop-down button around the control's own
// text, with hot and pressed looks), which also skins pickers showing a
// date. The drop-down list stays the system's.
#pragma once
#include <windows.h>

#include "skin/controls/skin_control.h"

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
};

// Looks of the combo box: frame numbers of the edge, button and arrow strips.
enum TComboLook { clNormal = 1, clPressed = 2, clDisabled = 3, clHot = 4 };

class TSkinComBox : public TSkinControl {
  GUI_CLASS(TSkinComBox, TSkinControl)
 public:
  // The ComboButton element's Style that asks for the simple look.
  static constexpr int kSimpleStyle = 1;

  explicit TSkinComBox(gui::TComponent* owner) : TSkinControl(owner) {}

  void AfterMessage(gui::TMessage& message) override;
  void DrawSkin(HDC dc, const RECT& rect) override;

  // The window's style and extended style as read at the last drawing.
  DWORD WindowStyle = 0;
  DWORD WindowExStyle = 0;
  // The look the last drawing used (a TComboLook), 0 before any.
  int LastLook() const { return lastLook_; }

 private:
  int CurrentLook();
  void DrawSimple(HDC dc, const RECT& rect);
  // A date picker, whose drop-down calendar this skinner's button opens.
  bool IsDatePicker() const;
  void RecolourPickerText(HDC dc, const RECT& text);

  int lastLook_ = 0;
};

}  // namespace skin
