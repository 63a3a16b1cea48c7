// Buttons beyond the system push button: a push button that carries a glyph
// bitmap laid out beside its caption.
#pragma once
#include "gui/bitmap.h"
#include "gui/stdctrls.h"

namespace gui {

enum class TButtonLayout { blGlyphLeft, blGlyphRight, blGlyphTop, blGlyphBottom };

class TBitBtn : public TButton {
  GUI_CLASS(TBitBtn, TButton)
 public:
  explicit TBitBtn(TComponent* owner) : TButton(owner) {}

  // The glyph: NumGlyphs images side by side (normal, disabled, pressed, down).
  TBitmap Glyph;
  int NumGlyphs = 1;
  TButtonLayout Layout = TButtonLayout::blGlyphLeft;
  // Distance of the glyph from the edge, and between glyph and caption;
  // -1 means automatic.
  int Margin = -1;
  int Spacing = 4;

  static void DeclareProperties(std::vector<TPropInfo>& list);
};

}  // namespace gui
