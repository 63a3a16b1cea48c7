// Colours, fonts and icons over GDI.
#pragma once
#include <windows.h>

#include <cstdint>
#include <functional>
#include <span>
#include <string>
#include <vector>

#include "gui/classes.h"
#include "gui/handles.h"

namespace gui {

// A colour is a COLORREF, or a system colour written as 0xFF000000 plus a
// COLOR_ index, resolved when drawn.
using TColor = std::uint32_t;
constexpr TColor clSystemColor = 0xFF000000;
constexpr TColor clBtnFace = clSystemColor | COLOR_BTNFACE;
constexpr TColor clBtnShadow = clSystemColor | COLOR_BTNSHADOW;
constexpr TColor clBtnText = clSystemColor | COLOR_BTNTEXT;
constexpr TColor clWindow = clSystemColor | COLOR_WINDOW;
constexpr TColor clWindowText = clSystemColor | COLOR_WINDOWTEXT;
constexpr TColor clGrayText = clSystemColor | COLOR_GRAYTEXT;
constexpr TColor clHighlight = clSystemColor | COLOR_HIGHLIGHT;
constexpr TColor clHighlightText = clSystemColor | COLOR_HIGHLIGHTTEXT;
constexpr TColor clMenu = clSystemColor | COLOR_MENU;
constexpr TColor clMenuText = clSystemColor | COLOR_MENUTEXT;
constexpr TColor clBlack = 0x000000;
constexpr TColor clWhite = 0xFFFFFF;
constexpr TColor clNone = 0x1FFFFFFF;

COLORREF ColorToRGB(TColor color);
// "clBtnFace" and the other colour names, or "$00RRGGBB"-style numbers.
bool IdentToColor(std::string_view ident, TColor& color);
std::string ColorToString(TColor color);

// The same face and size without bold, italic, underline or strike-out;
// empty when `font` is plain already or cannot be read.
FontHandle CreatePlainFont(HFONT font);

enum TFontStyle : std::uint32_t { fsBold = 1, fsItalic = 2, fsUnderline = 4, fsStrikeOut = 8 };

// A font description with a lazily created GDI font.
class TFont : public TPersistent {
  GUI_CLASS(TFont, TPersistent)
 public:
  TFont();

  const std::wstring& Name() const { return name_; }
  void SetName(const std::wstring& v);
  int Height() const { return height_; }
  void SetHeight(int v);
  // Point size at the form's pixels per inch (96).
  int Size() const;
  void SetSize(int points);
  TColor Color() const { return color_; }
  void SetColor(TColor v);
  int Charset() const { return charset_; }
  void SetCharset(int v);
  std::uint32_t Style() const { return style_; }
  void SetStyle(std::uint32_t v);

  void Assign(const TFont& other);
  bool SameAs(const TFont& other) const;
  HFONT Handle() const;

  std::function<void()> OnChange;
  static void DeclareProperties(std::vector<TPropInfo>& list);

 private:
  void Changed();

  std::wstring name_ = L"MS Sans Serif";
  int height_ = -11;
  TColor color_ = clWindowText;
  int charset_ = DEFAULT_CHARSET;
  std::uint32_t style_ = 0;
  mutable FontHandle handle_;
};

// A window icon read from the bytes of an .ico file.
class TIcon : public TPersistent {
  GUI_CLASS(TIcon, TPersistent)
 public:
  // Keeps the file bytes; creates the large and small icons from the best
  // matching images. Bad data leaves the icon empty.
  void LoadFromBytes(std::span<const std::uint8_t> data);
  const std::vector<std::uint8_t>& Data() const { return data_; }
  HICON Handle() const { return large_.get(); }
  HICON SmallHandle() const { return small_.get(); }
  bool Empty() const { return !large_; }
  // Width, height and bits per pixel of the first image in the file.
  bool FirstImageInfo(int& width, int& height, int& bitCount) const;

  bool ReadBinaryProperty(std::string_view name, std::span<const std::uint8_t> data) override;
  void WriteBinaryProperties(std::vector<std::pair<std::string, std::vector<std::uint8_t>>>& out) override;

 private:
  std::vector<std::uint8_t> data_;
  IconHandle large_;
  IconHandle small_;
};

}  // namespace gui
