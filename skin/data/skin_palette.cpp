#include "skin/data/skin_palette.h"

#include <algorithm>

namespace skin {

namespace {

// Resolved with the system's own colours: the palette is what may stand in
// for them, so it never reads itself.
COLORREF Resolve(core::SkinColour colour) {
  if ((colour & core::kSystemColourFlag) == core::kSystemColourFlag) return GetSysColor(static_cast<int>(colour & 0xFF));
  return colour & 0x00FFFFFF;
}

// The classes whose windows delete the brush their colour message is
// answered with.
bool DeletesItsBrush(HWND child) {
  wchar_t name[16]{};
  return child && GetClassNameW(child, name, 16) && lstrcmpiW(name, L"SysLink") == 0;
}

}  // namespace

void TSkinPalette::Build(const core::SkinColours& c, HBRUSH skinBrush) {
  struct Source {
    int index;
    core::SkinColour colour;
  };
  const Source sources[] = {
      {COLOR_SCROLLBAR, c.Scrollbar},        {COLOR_MENU, c.Menu},
      {COLOR_WINDOW, c.Window},              {COLOR_MENUTEXT, c.MenuText},
      {COLOR_WINDOWTEXT, c.WindowText},      {COLOR_HIGHLIGHT, c.Hilight},
      {COLOR_HIGHLIGHTTEXT, c.HilightText},  {COLOR_BTNFACE, c.ButtonFace},
      {COLOR_BTNSHADOW, c.ButtonShadow},     {COLOR_GRAYTEXT, c.GrayText},
      {COLOR_BTNTEXT, c.ButtonText},         {COLOR_BTNHIGHLIGHT, c.ButtonHilight},
      {COLOR_3DDKSHADOW, c.ButtonDkShadow},  {COLOR_3DLIGHT, c.Buttonlight},
      {COLOR_INFOTEXT, c.InfoText},          {COLOR_INFOBK, c.InfoBk},
      {COLOR_HOTLIGHT, c.HotLight},          {COLOR_MENUHILIGHT, c.Hilight},
      {COLOR_MENUBAR, c.Menubar},
  };
  for (TEntry& e : entries_) {
    e.given = false;
    e.brush.reset();
    e.shared = nullptr;
  }
  LOGBRUSH skinBrushLook{};
  const bool solid = skinBrush && GetObjectW(skinBrush, sizeof skinBrushLook, &skinBrushLook) &&
                     skinBrushLook.lbStyle == BS_SOLID;
  skinBrush_ = solid ? skinBrush : nullptr;
  skinBrushColour_ = skinBrushLook.lbColor;
  for (const Source& s : sources) {
    TEntry& e = entries_[static_cast<std::size_t>(s.index)];
    e.given = true;
    e.colour = Resolve(s.colour);
  }
}

bool TSkinPalette::Colours(int index) const {
  return index >= 0 && index < kIndexes && entries_[static_cast<std::size_t>(index)].given;
}

int TSkinPalette::BrushesMade() const {
  return static_cast<int>(std::count_if(entries_.begin(), entries_.end(), [](const TEntry& e) { return bool(e.brush); }));
}

COLORREF TSkinPalette::SysColor(int index) const {
  return Colours(index) ? entries_[static_cast<std::size_t>(index)].colour : GetSysColor(index);
}

HBRUSH TSkinPalette::SysColorBrush(int index) const {
  if (!Colours(index)) return GetSysColorBrush(index);
  // Made when first asked for: a window uses a few of the skin's colours
  // as brushes, and an unused brush is a GDI object for nothing.
  // Several indexes often give one colour (the scroll bar's is the button
  // face's), which one brush serves.
  const TEntry& e = entries_[static_cast<std::size_t>(index)];
  if (e.brush) return e.brush.get();
  if (e.shared) return e.shared;
  if (skinBrush_ && skinBrushColour_ == e.colour) return e.shared = skinBrush_;
  for (const TEntry& other : entries_) {
    if (other.given && other.colour == e.colour && other.brush) return e.shared = other.brush.get();
  }
  e.brush.reset(CreateSolidBrush(e.colour));
  return e.brush.get();
}

LRESULT TSkinPalette::CtlColors(UINT msg, WPARAM dc, HWND child) const {
  const LRESULT brush = gui::CtlColorsFrom(*this, msg, dc);
  if (child && IsWindow(child) && !IsWindowEnabled(child))
    SetTextColor(reinterpret_cast<HDC>(dc), SysColor(COLOR_GRAYTEXT));
  return brush;
}

LRESULT TSkinPalette::AnswerUnlessChosen(LRESULT answered, UINT msg, WPARAM dc, HWND child) const {
  const auto brush = reinterpret_cast<HBRUSH>(answered);
  if (brush && !gui::IsSystemColorBrush(brush)) return answered;
  const LRESULT ours = CtlColors(msg, dc, child);
  if (!DeletesItsBrush(child)) return ours;
  LOGBRUSH colour{};
  GetObjectW(reinterpret_cast<HBRUSH>(ours), sizeof colour, &colour);
  SetDCBrushColor(reinterpret_cast<HDC>(dc), colour.lbColor);
  return reinterpret_cast<LRESULT>(GetStockObject(DC_BRUSH));
}

}  // namespace skin
