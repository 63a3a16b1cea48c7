// Bitmaps and canvases over GDI. A TBitmap is a 32-bit top-down DIB section
// with its own memory DC, so drawing code can blit from it and read or write
// its pixels directly (blue, green, red, unused).
#pragma once
#include <windows.h>

#include <cstdint>
#include <span>

#include "gui/graphics.h"
#include "gui/handles.h"

namespace gui {

class TBitmap {
 public:
  TBitmap() = default;
  TBitmap(int width, int height) { SetSize(width, height); }
  TBitmap(const TBitmap&) = delete;
  TBitmap& operator=(const TBitmap&) = delete;
  TBitmap(TBitmap&& other) noexcept;
  TBitmap& operator=(TBitmap&& other) noexcept;
  ~TBitmap();

  // A new zero-filled image; the old contents are lost. A size of 0 frees it.
  void SetSize(int width, int height);
  int Width() const { return width_; }
  int Height() const { return height_; }
  bool Empty() const { return !bitmap_; }

  HBITMAP Handle() const { return bitmap_.get(); }
  // A memory DC with the bitmap selected, created on first use and kept.
  // For a picture that shares DCs (below), one lent from the shared few.
  HDC DC();

  // A picture that is only ever blitted from (a skin's pictures) need not
  // keep a memory DC of its own: sharing, DC() lends it one of a few DCs
  // the calling thread keeps for all such pictures, in their default state.
  // The DC stays lent to it until that many other pictures have asked the
  // same thread for theirs, so a caller
  // may hold the DCs of a few pictures at once, not keep one. A bitmap that
  // is drawn into, or whose DC keeps state, keeps a DC of its own.
  void SetSharesDc(bool shares);
  bool SharesDc() const { return sharesDc_; }
  // How many pictures one drawing step may hold the shared DCs of at once:
  // a blit from one shared picture into another is the most any drawing
  // does (each other draw holds one, into a buffer or a window's DC).
  static constexpr int kSharedDcCount = 2;

  // Pixels: top-down rows of Width() 32-bit values 0x00RRGGBB.
  std::uint32_t* Bits() { return bits_; }
  const std::uint32_t* Bits() const { return bits_; }
  COLORREF Pixel(int x, int y) const;
  void SetPixel(int x, int y, COLORREF color);

  // Reads a .bmp file image (1 to 32 bits, RLE, bit fields, the old
  // OS/2-style header). A 32-bit image with alpha keeps it, premultiplied
  // (each colour cut to its alpha). Answers false and leaves the bitmap
  // empty for headers that do not add up or point outside the buffer.
  bool LoadFromBmpBytes(std::span<const std::uint8_t> data);
  // A bitmap as the form description stores it ("Glyph.Data"): a 32-bit
  // byte count followed by a .bmp file image, or a bare .bmp file image. A
  // count of 0 leaves the bitmap empty.
  void LoadFromFormData(std::span<const std::uint8_t> data);
  // Copies another bitmap (any format) through the system.
  bool Assign(HBITMAP source);
  void CopyFrom(const TBitmap& source);

  // How a canvas draws this bitmap: with Transparent, pixels of exactly
  // TransparentColor are left undrawn.
  bool Transparent = false;
  COLORREF TransparentColor = RGB(255, 0, 255);
  // The fourth byte of each pixel is its alpha and the colour is already
  // multiplied by it (as AlphaBlend takes it): set for a picture read with
  // alpha, cleared by SetSize, whose new image says nothing yet. Such a
  // bitmap is blended, never keyed.
  bool PremultipliedAlpha = false;

 private:
  void ReleaseDc();

  BitmapHandle bitmap_;
  std::uint32_t* bits_ = nullptr;
  int width_ = 0;
  int height_ = 0;
  BitmapDcHandle dc_;
  HGDIOBJ dcOld_ = nullptr;  // the DC's own stock bitmap, not ours to free
  bool sharesDc_ = false;
  int sharedSlot_ = -1;  // the shared DC last lent, while it may still be ours
};

// A device context with the framework's drawing helpers. Does not own the DC.
class TCanvas {
 public:
  TCanvas() = default;
  explicit TCanvas(HDC dc) : dc_(dc) {}
  HDC Handle() const { return dc_; }
  void SetHandle(HDC dc) { dc_ = dc; }

  // Draws the bitmap at (x, y), honouring its alpha or its Transparent
  // setting.
  void Draw(int x, int y, TBitmap& bitmap);
  void FillRect(const RECT& r, TColor color);

 private:
  HDC dc_ = nullptr;
};

}  // namespace gui
