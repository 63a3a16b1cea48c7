// TSkinPalette: a skin's [Colours] as the colour scheme the framework and the
// system-drawn parts of a skinned window are painted in. Each COLOR_ index
// the skin has a colour for stands for that colour; the rest stay the
// system's. Each brush is made when first asked for and freed when the next
// skin is built in (or with the palette), counted as every GDI object is.
#pragma once
#include <windows.h>

#include <array>

#include "core/skindef/skin_definition.h"
#include "gui/color_scheme.h"
#include "gui/handles.h"

namespace skin {

class TSkinPalette : public gui::TColorScheme {
 public:
  // Resolves the skin's colours (a system colour in the skin stays the
  // system's); the brushes of the last skin's are freed. `skinBrush`, a
  // brush the skin keeps of one of its colours (its button face), is handed
  // out for that colour instead of one of the palette's own; it must live
  // until the next Build.
  void Build(const core::SkinColours& colours, HBRUSH skinBrush = nullptr);

  COLORREF SysColor(int index) const override;
  HBRUSH SysColorBrush(int index) const override;
  // Whether the skin gives the index a colour of its own.
  bool Colours(int index) const;
  // How many brushes it has made since Build: each colour asked for once,
  // however many indexes give it, and none for the skin's own brush.
  int BrushesMade() const;

  // The skin's answer to a WM_CTLCOLOR* message from `child` that nobody
  // chose colours for: gui::CtlColorsFrom in this palette's colours, and a
  // disabled child's text in GrayText.
  LRESULT CtlColors(UINT msg, WPARAM dc, HWND child) const;
  // The one answer every skinned window gives a WM_CTLCOLOR* message, after
  // its own procedure answered `answered`: that answer stands when it is a
  // brush of the window's own choosing (anything but one of the system's
  // colour brushes), else CtlColors answers. A child that deletes the brush
  // it is given (Wine's link control does) gets the context's own brush in
  // the colour, which nothing can delete.
  LRESULT AnswerUnlessChosen(LRESULT answered, UINT msg, WPARAM dc, HWND child) const;

 private:
  static constexpr int kIndexes = COLOR_MENUBAR + 1;
  struct TEntry {
    bool given = false;
    COLORREF colour = 0;
    mutable gui::BrushHandle brush;  // made for this entry
    mutable HBRUSH shared = nullptr;  // another entry's or the skin's, of the same colour
  };
  std::array<TEntry, kIndexes> entries_{};
  HBRUSH skinBrush_ = nullptr;
  COLORREF skinBrushColour_ = 0;
};

}  // namespace skin
