// Controls that the system draws in its own colours, whatever their parent
// answers: a window that only hands its children's colour questions on (a
// dialog page inside a dialog, a ComboBoxEx32, an IP-address control's
// fields) gets the answers every skinned window gives; one that paints
// itself in the system's colours (static frames and etched lines, links,
// hot-key and IP-address fields, month calendars, rebars) paints into a picture in which the
// system's colours become the skin's, copied to the screen in one blit, and
// its sunken or static edge becomes the skin's flat border.
#pragma once
#include <windows.h>

#include <span>
#include <vector>

#include "skin/controls/skin_control.h"

namespace skin {

// One colour of a picture exchanged for another.
struct TColourSwap {
  COLORREF From, To;
};

// The skin's colours for the system's ones, for COLOR_ indexes in order of
// precedence (where two indexes have one colour on this system, the first
// decides); indexes whose colour the skin leaves are left out.
std::vector<TColourSwap> SkinSwapsFor(const TSkinData& data, std::span<const int> indexes);
// Every pixel of exactly one of the From colours gets its To colour.
void SwapColours(gui::TBitmap& picture, std::span<const TColourSwap> swaps);
// The same on an area of a device context, read back and drawn again.
void SwapColours(HDC dc, const RECT& area, std::span<const TColourSwap> swaps);
// The same on a window's non-client area (a divider a rebar or a tool bar
// draws above itself), on its window DC in window coordinates.
void SwapNonClientColours(HWND wnd, HDC windowDc, std::span<const TColourSwap> swaps);

// A window whose children ask it for their colours: it answers them as a
// skinned window answers its own (the window's own choice stands, else the
// skin's palette), and hands the custom drawing its children ask of it to
// their skinners.
class TSkinColourRelay : public TSkinControl {
  GUI_CLASS(TSkinColourRelay, TSkinControl)
 public:
  explicit TSkinColourRelay(gui::TComponent* owner) : TSkinControl(owner) {}
  bool Attach(const TSkinnerAttach& how) override;
  bool BeforeMessage(gui::TMessage& message) override;
  void AfterMessage(gui::TMessage&) override {}
};

// A control drawn by the system in its colours, recoloured. DrawnIn says
// which colours it paints in; an empty list leaves its client area as the
// control draws it (only its edge is the skin's).
class TSkinRecoloured : public TSkinColourRelay {
  GUI_CLASS(TSkinRecoloured, TSkinColourRelay)
 public:
  explicit TSkinRecoloured(gui::TComponent* owner) : TSkinColourRelay(owner) {}
  ~TSkinRecoloured() override;
  bool Attach(const TSkinnerAttach& how) override;
  bool BeforeMessage(gui::TMessage& message) override;
  void AfterMessage(gui::TMessage& message) override;
  // The flat border in place of a sunken, static or plain one; any other
  // non-client drawing (a rebar's divider) recoloured.
  void DrawSkin(HDC dc, const RECT& rect) override;

 protected:
  virtual std::span<const int> DrawnIn() const = 0;
  // The control leaves parts of its client area undrawn (a frame's inside):
  // the picture starts with what its parent would put behind a static text.
  virtual bool ShowsParentBehind() const { return false; }
  // The recoloured picture before it goes to the screen.
  virtual void Finish(gui::TBitmap&) {}

 private:
  void PaintRecoloured(gui::TMessage& message);
};

// Static frames, rectangles and etched lines (and the sunken edge of a
// static text, whose text stays as the control draws it).
class TSkinStaticFrame : public TSkinRecoloured {
  GUI_CLASS(TSkinStaticFrame, TSkinRecoloured)
 public:
  explicit TSkinStaticFrame(gui::TComponent* owner) : TSkinRecoloured(owner) {}
  // Whether a static control of the style draws a frame, a rectangle or an
  // etched line rather than a text, an icon or a picture.
  static bool DrawsFrame(DWORD style);

 protected:
  std::span<const int> DrawnIn() const override;
  bool ShowsParentBehind() const override { return true; }
};

// SysLink: its text in the window text and its links in the selection
// colour, both read from the system.
class TSkinLink : public TSkinRecoloured {
  GUI_CLASS(TSkinLink, TSkinRecoloured)
 public:
  explicit TSkinLink(gui::TComponent* owner) : TSkinRecoloured(owner) {}

 protected:
  std::span<const int> DrawnIn() const override;
};

// Hot-key and IP-address fields: a window-coloured field with text (the IP
// address's four parts are edits that ask it for their colours).
class TSkinField : public TSkinRecoloured {
  GUI_CLASS(TSkinField, TSkinRecoloured)
 public:
  explicit TSkinField(gui::TComponent* owner) : TSkinRecoloured(owner) {}

 protected:
  std::span<const int> DrawnIn() const override;
  // A field that draws its edge inside its client area (the IP address;
  // with visual styles it keeps drawing the theme's even when they are
  // switched off for it) gets the flat border there.
  void Finish(gui::TBitmap& picture) override;
};

// Month calendars: their colours are given through their own messages; the
// scroll buttons beside the title are drawn in the system's face and 3D
// colours (the white of the title text, which is the skin's, stays).
class TSkinCalendar : public TSkinRecoloured {
  GUI_CLASS(TSkinCalendar, TSkinRecoloured)
 public:
  explicit TSkinCalendar(gui::TComponent* owner) : TSkinRecoloured(owner) {}

 protected:
  std::span<const int> DrawnIn() const override;
};

// Rebars: bands on the face with 3D borders, grippers and captions; the
// windows in the bands are skinned as themselves.
class TSkinRebar : public TSkinRecoloured {
  GUI_CLASS(TSkinRebar, TSkinRecoloured)
 public:
  explicit TSkinRebar(gui::TComponent* owner) : TSkinRecoloured(owner) {}

 protected:
  std::span<const int> DrawnIn() const override;
};

}  // namespace skin
