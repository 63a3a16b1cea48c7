#include "skin/data/skin_draw.h"

#include <algorithm>
#include <cstdint>
#include <vector>

#include "skin/data/platform_version.h"

namespace skin {

namespace {

// MaskBlt's four-operand code: where the mask is 1 the destination stays,
// where it is 0 the source is copied.
constexpr DWORD kKeepWhereMasked = MAKEROP4(0x00AA0029, SRCCOPY);

// How a picture reaches its target: copied as it stands (onto a work bitmap
// of its own, alpha and all), or blended by its premultiplied alpha.
enum class Put { Copy, Blend };

// Stretches one piece; pieces with no positive extent are skipped, as a
// negative extent would mirror them.
void StretchPiece(HDC dc, int dx, int dy, int dw, int dh, HDC src, int sx, int sy, int sw, int sh,
                  Put put = Put::Copy) {
  if (dw <= 0 || dh <= 0 || sw <= 0 || sh <= 0) return;
  if (put == Put::Blend) {
    const BLENDFUNCTION blend{AC_SRC_OVER, 0, 255, AC_SRC_ALPHA};
    AlphaBlend(dc, dx, dy, dw, dh, src, sx, sy, sw, sh, blend);
    return;
  }
  StretchBlt(dc, dx, dy, dw, dh, src, sx, sy, sw, sh, SRCCOPY);
}

// Two margins of one frame `extent` pixels long made safe to cut with,
// whatever the skin said: each between 0 and the extent, and together
// leaving at least one column (row) for the middle, which would otherwise
// be left unpainted. Shrunk in proportion when they do not fit.
void FitMarginPair(LONG& first, LONG& second, int extent) {
  first = std::clamp<LONG>(first, 0, std::max(extent, 0));
  second = std::clamp<LONG>(second, 0, std::max(extent, 0));
  const LONG room = std::max(extent - 1, 0);
  if (first + second <= room) return;
  const long long total = static_cast<long long>(first) + second;
  first = static_cast<LONG>(first * static_cast<long long>(room) / total);
  second = room - first;
}

RECT FitMargins(const RECT& margins, const TFrameRect& frame) {
  RECT m = margins;
  FitMarginPair(m.left, m.right, frame.Width);
  FitMarginPair(m.top, m.bottom, frame.Height);
  return m;
}

enum class Centre { None, Stretch, Tile };

// The nine-slice pieces of one frame onto a W x H area at (ox, oy). The right
// and bottom pieces come after the centre, so tiles that run past the centre
// are painted over.
void DrawPieces(HDC dc, int ox, int oy, int w, int h, gui::TBitmap& bitmap, const TFrameRect& f, const RECT& margins,
                Centre centre, Put put = Put::Copy) {
  const RECT fitted = FitMargins(margins, f);
  int l = fitted.left, t = fitted.top, r = fitted.right, b = fitted.bottom;
  if (w < l + r) l = r = 0;
  if (h < t + b) t = b = 0;
  HDC src = bitmap.DC();
  const int x0 = f.X, y0 = f.Y, fw = f.Width, fh = f.Height;

  if (l * t > 0) StretchPiece(dc, ox, oy, l, t, src, x0, y0, l, t, put);
  if (l * b > 0) StretchPiece(dc, ox, oy + h - b, l, b, src, x0, y0 + fh - b, l, b, put);
  if (r * t > 0) StretchPiece(dc, ox + w - r, oy, r, t, src, x0 + fw - r, y0, r, t, put);
  if (l > 0) StretchPiece(dc, ox, oy + t, l, h - t - b, src, x0, y0 + t, l, fh - t - b, put);
  if (t > 0) StretchPiece(dc, ox + l, oy, w - l - r, t, src, x0 + l, y0, fw - l - r, t, put);
  if (centre == Centre::Tile) {
    gui::TCanvas canvas(dc);
    TileDraw(canvas, RECT{ox + l, oy + t, ox + w - r, oy + h - b}, bitmap,
             RECT{x0 + l, y0 + t, x0 + fw - r, y0 + fh - b});
  } else if (centre == Centre::Stretch) {
    StretchPiece(dc, ox + l, oy + t, w - l - r, h - t - b, src, x0 + l, y0 + t, fw - l - r, fh - t - b, put);
  }
  if (r * b > 0) StretchPiece(dc, ox + w - r, oy + h - b, r, b, src, x0 + fw - r, y0 + fh - b, r, b, put);
  if (r > 0) StretchPiece(dc, ox + w - r, oy + t, r, h - t - b, src, x0 + fw - r, y0 + t, r, fh - t - b, put);
  if (b > 0) StretchPiece(dc, ox + l, oy + h - b, w - l - r, b, src, x0 + l, y0 + fh - b, fw - l - r, b, put);
}

// A work bitmap of the given size whose context stretches with COLORONCOLOR;
// for a picture with alpha it starts fully transparent and keeps the
// pieces' alpha.
gui::TBitmap WorkBitmap(int width, int height, bool alpha) {
  gui::TBitmap work(width, height);
  if (!work.Empty()) SetStretchBltMode(work.DC(), COLORONCOLOR);
  work.PremultipliedAlpha = alpha && !work.Empty();
  return work;
}

// The top-left width x height part of a picture with alpha blended onto the
// target at (x, y).
void BlendAt(HDC dc, int x, int y, int width, int height, gui::TBitmap& picture) {
  StretchPiece(dc, x, y, width, height, picture.DC(), 0, 0, width, height, Put::Blend);
}

// The rendered work bitmap onto the target, with magenta left undrawn or as a
// plain copy.
void PutWork(HDC dc, const RECT& target, gui::TBitmap& work, bool transparent) {
  if (work.Empty()) return;
  if (work.PremultipliedAlpha) {
    BlendAt(dc, target.left, target.top, work.Width(), work.Height(), work);
  } else if (transparent) {
    DrawTransparent(dc, target, work, TransparentColour);
  } else {
    BitBlt(dc, target.left, target.top, work.Width(), work.Height(), work.DC(), 0, 0, SRCCOPY);
  }
}

// A monochrome bitmap of the bitmap's top-left width x height part: 1 where
// the pixel is exactly the key colour, 0 elsewhere. Rows of a monochrome
// device-dependent bitmap are padded to 16 bits.
gui::BitmapHandle TransparencyMask(const gui::TBitmap& bitmap, int width, int height, COLORREF key) {
  const std::uint32_t keyPixel = static_cast<std::uint32_t>(GetRValue(key)) << 16 |
                                 static_cast<std::uint32_t>(GetGValue(key)) << 8 | GetBValue(key);
  const std::size_t stride = (static_cast<std::size_t>(width) + 15) / 16 * 2;
  std::vector<std::uint8_t> bits(stride * static_cast<std::size_t>(height), 0);
  GdiFlush();
  const std::uint32_t* pixels = bitmap.Bits();
  for (int y = 0; y < height; ++y) {
    const std::uint32_t* row = pixels + static_cast<std::size_t>(y) * static_cast<std::size_t>(bitmap.Width());
    std::uint8_t* out = bits.data() + static_cast<std::size_t>(y) * stride;
    for (int x = 0; x < width; ++x) {
      if ((row[x] & 0xFFFFFF) == keyPixel) out[x >> 3] |= static_cast<std::uint8_t>(0x80 >> (x & 7));
    }
  }
  return gui::BitmapHandle(CreateBitmap(width, height, 1, 1, bits.data()));
}

}  // namespace

bool IsInverted(const RECT& r) { return r.right < r.left || r.bottom < r.top; }

TFrameRect SelectFrame(const gui::TBitmap& bitmap, bool verticalFrames, int frameCount, int frameIndex) {
  // Never more frames than the picture has pixels to cut them from, and
  // never a frame outside the strip.
  const int count = std::clamp(frameCount, 1, std::max(verticalFrames ? bitmap.Height() : bitmap.Width(), 1));
  frameIndex = std::clamp(frameIndex, 1, count);
  TFrameRect f;
  if (verticalFrames) {
    f.Width = bitmap.Width();
    f.Height = bitmap.Height() / count;
    f.Y = (frameIndex - 1) * f.Height;
  } else {
    f.Width = bitmap.Width() / count;
    f.Height = bitmap.Height();
    f.X = (frameIndex - 1) * f.Width;
  }
  return f;
}

gui::TBitmap RenderNineSlice(const RECT& target, gui::TBitmap& bitmap, const RECT& margins, bool verticalFrames,
                             bool tile, int frameCount, int frameIndex) {
  // Nothing comes of an empty picture (a black box would).
  if (bitmap.Empty()) return gui::TBitmap();
  const int w = target.right - target.left, h = target.bottom - target.top;
  gui::TBitmap result = WorkBitmap(w, h, bitmap.PremultipliedAlpha);
  if (result.Empty()) return result;
  DrawPieces(result.DC(), 0, 0, w, h, bitmap, SelectFrame(bitmap, verticalFrames, frameCount, frameIndex), margins,
             tile ? Centre::Tile : Centre::Stretch);
  return result;
}

void DrawNineSlice(HDC dc, const RECT& target, gui::TBitmap& bitmap, bool verticalFrames, bool tile, bool transparent,
                   int frameCount, int frameIndex, const RECT& margins) {
  if (IsInverted(target)) return;
  gui::TBitmap result = RenderNineSlice(target, bitmap, margins, verticalFrames, tile, frameCount, frameIndex);
  PutWork(dc, target, result, transparent);
}

void DrawNineSliceFrame(HDC dc, const RECT& target, gui::TBitmap& bitmap, bool verticalFrames, int frameCount,
                        int frameIndex, const RECT& margins) {
  if (IsInverted(target) || bitmap.Empty()) return;
  const int previousMode = SetStretchBltMode(dc, COLORONCOLOR);
  DrawPieces(dc, target.left, target.top, target.right - target.left, target.bottom - target.top, bitmap,
             SelectFrame(bitmap, verticalFrames, frameCount, frameIndex), margins, Centre::None,
             bitmap.PremultipliedAlpha ? Put::Blend : Put::Copy);
  if (previousMode) SetStretchBltMode(dc, previousMode);
}

void DrawThreeSlice(gui::TCanvas& canvas, const RECT& target, gui::TBitmap& bitmap, bool verticalFrames,
                    bool transparent, int frameCount, int frameIndex, const RECT& margins) {
  if (IsInverted(target) || bitmap.Empty()) return;
  const TFrameRect f = SelectFrame(bitmap, verticalFrames, frameCount, frameIndex);
  const RECT fitted = FitMargins(margins, f);
  const int l = fitted.left, r = fitted.right, m = f.Width - l - r;
  if (m <= 0) return;  // an empty frame: nothing to repeat
  const int w = target.right - target.left, h = target.bottom - target.top;
  gui::TBitmap work = WorkBitmap(w, h, bitmap.PremultipliedAlpha);
  if (work.Empty()) return;
  HDC out = work.DC(), src = bitmap.DC();
  StretchPiece(out, 0, 0, l, h, src, f.X, f.Y, l, f.Height);
  for (int x = l; x < w - r; x += m) StretchPiece(out, x, 0, m, h, src, f.X + l, f.Y, m, f.Height);
  StretchPiece(out, w - r, 0, r, h, src, f.X + f.Width - r, f.Y, r, f.Height);
  if (work.PremultipliedAlpha) {
    BlendAt(canvas.Handle(), target.left, target.top, w, h, work);
  } else if (transparent) {
    work.Transparent = true;
    work.TransparentColor = TransparentColour;
    canvas.Draw(target.left, target.top, work);
  } else {
    BitBlt(canvas.Handle(), target.left, target.top, w, h, out, 0, 0, SRCCOPY);
  }
}

void DrawFrame(HDC dc, const RECT& target, gui::TBitmap& bitmap, bool transparent, int frameCount, int frameIndex) {
  if (IsInverted(target) || bitmap.Empty()) return;
  gui::TBitmap work = WorkBitmap(target.right - target.left, target.bottom - target.top, bitmap.PremultipliedAlpha);
  if (work.Empty()) return;
  const TFrameRect f = SelectFrame(bitmap, false, frameCount, frameIndex);
  StretchPiece(work.DC(), 0, 0, work.Width(), work.Height(), bitmap.DC(), f.X, 0, f.Width, f.Height);
  PutWork(dc, target, work, transparent);
}

void DrawTransparent(HDC dc, const RECT& target, gui::TBitmap& bitmap, COLORREF transparent) {
  if (IsInverted(target) || bitmap.Empty()) return;
  // Only the bitmap's own pixels are copied; a larger target keeps the rest.
  const int w = std::min<int>(target.right - target.left, bitmap.Width());
  const int h = std::min<int>(target.bottom - target.top, bitmap.Height());
  if (w <= 0 || h <= 0) return;
  if (bitmap.PremultipliedAlpha) {
    BlendAt(dc, target.left, target.top, w, h, bitmap);
    return;
  }
  gui::BitmapHandle mask = TransparencyMask(bitmap, w, h, transparent);
  if (!mask) return;
  HDC src = bitmap.DC();
  if (!IsWin9xPlatform()) {
    MaskBlt(dc, target.left, target.top, w, h, src, 0, 0, mask.get(), 0, 0, kKeepWhereMasked);
    return;
  }
  // Without the four-operand MaskBlt: destination xor bitmap, cleared where
  // the bitmap is opaque (mask 0 becomes black under SRCAND), xor bitmap
  // again, which leaves the bitmap there and the old destination elsewhere.
  gui::MemoryDcHandle maskDc(CreateCompatibleDC(dc));
  if (!maskDc) return;
  gui::SelectGuard selectMask(maskDc.get(), mask.get());
  const COLORREF oldBack = SetBkColor(dc, RGB(255, 255, 255));
  const COLORREF oldText = SetTextColor(dc, RGB(0, 0, 0));
  BitBlt(dc, target.left, target.top, w, h, src, 0, 0, SRCINVERT);
  BitBlt(dc, target.left, target.top, w, h, maskDc.get(), 0, 0, SRCAND);
  BitBlt(dc, target.left, target.top, w, h, src, 0, 0, SRCINVERT);
  SetBkColor(dc, oldBack);
  SetTextColor(dc, oldText);
}

void TileDraw(gui::TCanvas& canvas, const RECT& target, gui::TBitmap& bitmap, const RECT& given) {
  // Only the bitmap's own pixels are repeated.
  const RECT source{std::max<LONG>(given.left, 0), std::max<LONG>(given.top, 0),
                    std::min<LONG>(given.right, bitmap.Width()), std::min<LONG>(given.bottom, bitmap.Height())};
  const int sw = source.right - source.left, sh = source.bottom - source.top;
  if (sw <= 0 || sh <= 0 || bitmap.Empty()) return;
  // The tile goes through a copy of its own, so a canvas drawing onto the
  // bitmap itself cannot read tiles it has just written.
  gui::TBitmap tile(sw, sh);
  if (tile.Empty()) return;
  BitBlt(tile.DC(), 0, 0, sw, sh, bitmap.DC(), source.left, source.top, SRCCOPY);
  tile.PremultipliedAlpha = bitmap.PremultipliedAlpha;
  HDC dc = canvas.Handle(), src = tile.DC();
  for (int x = target.left; x < target.right; x += sw) {
    for (int y = target.top; y < target.bottom; y += sh) {
      if (tile.PremultipliedAlpha) {
        BlendAt(dc, x, y, sw, sh, tile);
      } else {
        BitBlt(dc, x, y, sw, sh, src, 0, 0, SRCCOPY);
      }
    }
  }
}

void FrameRing(HDC dc, const RECT& rect, HBRUSH brush, int thickness) {
  RECT r = rect;
  for (int i = 0; i < thickness && r.right > r.left && r.bottom > r.top; ++i) {
    FrameRect(dc, &r, brush);
    InflateRect(&r, -1, -1);
  }
}

}  // namespace skin
