#include "gui/buttons.h"

namespace gui {

void TBitBtn::DeclareProperties(std::vector<TPropInfo>& list) {
  TPropBuilder<TBitBtn> b(list);
  b.Integer("NumGlyphs", [](TBitBtn& c) { return c.NumGlyphs; }, [](TBitBtn& c, int v) { c.NumGlyphs = v < 1 ? 1 : v; });
  b.Enumeration("Layout", {"blGlyphLeft", "blGlyphRight", "blGlyphTop", "blGlyphBottom"},
                [](TBitBtn& c) { return static_cast<int>(c.Layout); },
                [](TBitBtn& c, int v) { c.Layout = static_cast<TButtonLayout>(v); });
  b.Integer("Margin", [](TBitBtn& c) { return c.Margin; }, [](TBitBtn& c, int v) { c.Margin = v; });
  b.Integer("Spacing", [](TBitBtn& c) { return c.Spacing; }, [](TBitBtn& c, int v) { c.Spacing = v; });
}

}  // namespace gui
