// Buttons beyond the system push button: a push button that carries a glyph
// bitmap laid out beside its caption, and windowless tool buttons drawn
// through their parent, which may latch down as one of a group.
#pragma once
#include <cstdint>
#include <span>
#include <string>
#include <string_view>

#include "gui/bitmap.h"
#include "gui/stdctrls.h"

namespace gui {

enum class TButtonLayout { blGlyphLeft, blGlyphRight, blGlyphTop, blGlyphBottom };

// What the glyph buttons carry: a strip of NumGlyphs images side by side
// (normal, disabled, pressed, down) and how it sits beside the caption.
class TButtonGlyph {
 public:
  virtual ~TButtonGlyph() = default;

  // The strip of NumGlyphs images side by side: normal, disabled, pressed
  // and down, as many as there are.
  TBitmap& Glyph() { return glyph_; }
  const TBitmap& Glyph() const { return glyph_; }
  int NumGlyphs() const { return numGlyphs_; }
  // Fewer than one counts as one.
  void SetNumGlyphs(int count) { numGlyphs_ = count < 1 ? 1 : count; }
  TButtonLayout Layout() const { return layout_; }
  void SetLayout(TButtonLayout layout) { layout_ = layout; }
  // Distance of the glyph from the edge, and between glyph and caption;
  // -1 means automatic.
  int Margin() const { return margin_; }
  void SetMargin(int margin) { margin_ = margin; }
  int Spacing() const { return spacing_; }
  void SetSpacing(int spacing) { spacing_ = spacing; }

  // The size of one image; (0, 0) without a glyph.
  SIZE GlyphSize() const;
  // "Glyph.Data" of the form description: a 32-bit byte count followed by
  // a .bmp file image.
  bool ReadGlyphData(std::span<const std::uint8_t> data);

  template <class C>
  static void DeclareGlyphProperties(TPropBuilder<C>& b);

 private:
  TBitmap glyph_;
  int numGlyphs_ = 1;
  TButtonLayout layout_ = TButtonLayout::blGlyphLeft;
  int margin_ = -1;
  int spacing_ = 4;
};

// Where glyph and caption go inside a button of width x height (client
// coordinates), and the caption's alignment. With the margin automatic and
// the spacing given, tool buttons sit one pixel further in (nudgeCentred).
struct TButtonPlacement {
  POINT Glyph{};
  POINT Text{};
  UINT Format = DT_LEFT;
};
TButtonPlacement CalcButtonLayout(int width, int height, SIZE glyph, SIZE text, TButtonLayout layout, int margin,
                                  int spacing, bool nudgeCentred);

// The size a caption takes in `dc`'s font (tabs expanded); (0, 0) when empty.
SIZE MeasureButtonCaption(HDC dc, const std::wstring& caption, const RECT& within);

// Draws image (1-based) of a glyph strip, leaving out the pixels that have
// the colour of the image's own top-left pixel.
void DrawGlyphImage(HDC dc, POINT at, TBitmap& glyph, int numGlyphs, int image);

// Drawn by its owner (the system's push-button face, then glyph and caption)
// so that the glyph shows without a skin as well.
class TBitBtn : public TButton, public TButtonGlyph {
  GUI_CLASS(TBitBtn, TButton)
 public:
  explicit TBitBtn(TComponent* owner) : TButton(owner) {}

  void WndProc(TMessage& message) override;
  bool ReadBinaryProperty(std::string_view name, std::span<const std::uint8_t> data) override;
  static void DeclareProperties(std::vector<TPropInfo>& list);

 protected:
  void CreateParams(TCreateParams& params) override;

 private:
  void DrawItem(const DRAWITEMSTRUCT& item);
};

// A control without a window of its own: its parent hands it mouse messages
// in its coordinates and a device context moved to its origin on WM_PAINT.
class TGraphicControl : public TControl {
  GUI_CLASS(TGraphicControl, TControl)
 public:
  explicit TGraphicControl(TComponent* owner) : TControl(owner) {}
  void WndProc(TMessage& message) override;

 protected:
  virtual void Paint(HDC dc) { (void)dc; }
};

class TSpeedButton : public TGraphicControl, public TButtonGlyph {
  GUI_CLASS(TSpeedButton, TGraphicControl)
 public:
  explicit TSpeedButton(TComponent* owner);

  // Buttons of one non-zero group in one parent latch down one at a time.
  int GroupIndex = 0;
  bool AllowAllUp = false;
  bool Down() const { return down_; }
  void SetDown(bool down);
  bool Pressed() const { return pressed_; }

  void WndProc(TMessage& message) override;
  bool ReadBinaryProperty(std::string_view name, std::span<const std::uint8_t> data) override;
  static void DeclareProperties(std::vector<TPropInfo>& list);

 protected:
  void Paint(HDC dc) override;

 private:
  bool down_ = false;
  bool pressed_ = false;
};

}  // namespace gui

namespace gui {

template <class C>
void TButtonGlyph::DeclareGlyphProperties(TPropBuilder<C>& b) {
  b.Integer("NumGlyphs", [](C& c) { return c.NumGlyphs(); }, [](C& c, int v) { c.SetNumGlyphs(v); });
  b.Enumeration("Layout", {"blGlyphLeft", "blGlyphRight", "blGlyphTop", "blGlyphBottom"},
                [](C& c) { return static_cast<int>(c.Layout()); },
                [](C& c, int v) { c.SetLayout(static_cast<TButtonLayout>(v)); });
  b.Integer("Margin", [](C& c) { return c.Margin(); }, [](C& c, int v) { c.SetMargin(v); });
  b.Integer("Spacing", [](C& c) { return c.Spacing(); }, [](C& c, int v) { c.SetSpacing(v); });
}

}  // namespace gui
