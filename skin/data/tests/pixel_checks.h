// Helpers for pixel-exact drawing tests: bitmaps painted in blocks of
// distinct colours, and a comparison that names the first pixels that differ.
#pragma once
#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <functional>
#include <sstream>
#include <string>
#include <vector>

#include "gui/bitmap.h"
#include "skin/data/platform_version.h"

namespace skin::testing {

inline void Fill(gui::TBitmap& b, int left, int top, int right, int bottom, COLORREF c) {
  for (int y = top; y < bottom; ++y)
    for (int x = left; x < right; ++x) b.SetPixel(x, y, c);
}

inline gui::TBitmap SolidBitmap(int w, int h, COLORREF c) {
  gui::TBitmap b(w, h);
  Fill(b, 0, 0, w, h, c);
  return b;
}

// Every pixel against the expected colour of its position.
inline ::testing::AssertionResult PixelsAre(const gui::TBitmap& b, const std::function<COLORREF(int, int)>& expected) {
  std::ostringstream diff;
  int wrong = 0;
  for (int y = 0; y < b.Height(); ++y) {
    for (int x = 0; x < b.Width(); ++x) {
      const COLORREF want = expected(x, y), got = b.Pixel(x, y);
      if (want == got) continue;
      if (++wrong <= 8) diff << " (" << x << "," << y << "): got 0x" << std::hex << got << " want 0x" << want << std::dec;
    }
  }
  if (wrong == 0) return ::testing::AssertionSuccess();
  return ::testing::AssertionFailure() << wrong << " pixels differ:" << diff.str();
}

// The pixels of a rectangle that are ink, cut to the smallest box holding
// them, a row a string ('#' ink, '.' not): how a text reads, wherever it
// stands. Empty when there is no ink.
inline std::vector<std::string> Ink(const gui::TBitmap& b, const RECT& r, const std::function<bool(COLORREF)>& ink) {
  RECT box{r.right, r.bottom, r.left, r.top};
  for (int y = std::max<int>(r.top, 0); y < std::min<int>(r.bottom, b.Height()); ++y)
    for (int x = std::max<int>(r.left, 0); x < std::min<int>(r.right, b.Width()); ++x)
      if (ink(b.Pixel(x, y))) box = RECT{std::min<LONG>(box.left, x), std::min<LONG>(box.top, y),
                                         std::max<LONG>(box.right, x + 1), std::max<LONG>(box.bottom, y + 1)};
  std::vector<std::string> rows;
  for (int y = box.top; y < box.bottom; ++y) {
    std::string row;
    for (int x = box.left; x < box.right; ++x) row += ink(b.Pixel(x, y)) ? '#' : '.';
    rows.push_back(row);
  }
  return rows;
}
// Ink: whatever differs from the background.
inline std::vector<std::string> Ink(const gui::TBitmap& b, const RECT& r, COLORREF background) {
  return Ink(b, r, [background](COLORREF c) { return c != background; });
}

// Whether the ink shows somewhere inside the area of the bitmap, pixel for
// pixel: ink where it has '#', none where it has '.'.
inline bool ShowsInk(const gui::TBitmap& b, const RECT& area, const std::vector<std::string>& ink,
                     const std::function<bool(COLORREF)>& isInk) {
  if (ink.empty()) return false;
  const int iw = static_cast<int>(ink[0].size()), ih = static_cast<int>(ink.size());
  for (int y = std::max<int>(area.top, 0); y + ih <= std::min<int>(area.bottom, b.Height()); ++y)
    for (int x = std::max<int>(area.left, 0); x + iw <= std::min<int>(area.right, b.Width()); ++x) {
      bool same = true;
      for (int j = 0; j < ih && same; ++j)
        for (int i = 0; i < iw && same; ++i) same = (ink[j][i] == '#') == isInk(b.Pixel(x + i, y + j));
      if (same) return true;
    }
  return false;
}

// The ink of a text drawn plainly (left to right, not mirrored) in a font.
inline std::vector<std::string> TextInk(const std::wstring& text, HFONT font) {
  gui::TBitmap drawn(400, 60);
  HDC dc = drawn.DC();
  const RECT all{0, 0, 400, 60};
  FillRect(dc, &all, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
  const HGDIOBJ old = SelectObject(dc, font ? static_cast<HGDIOBJ>(font) : GetStockObject(SYSTEM_FONT));
  SetTextColor(dc, RGB(255, 255, 255));
  SetBkMode(dc, TRANSPARENT);
  TextOutW(dc, 2, 2, text.c_str(), static_cast<int>(text.size()));
  SelectObject(dc, old);
  return Ink(drawn, all, RGB(0, 0, 0));
}

// Pretends to run on another platform for the life of the guard.
class ForcedWindowsVersion {
 public:
  explicit ForcedWindowsVersion(DWORD version) : saved_(RawWindowsVersion()) { ForceWindowsVersion(version); }
  ~ForcedWindowsVersion() { ForceWindowsVersion(saved_); }
  ForcedWindowsVersion(const ForcedWindowsVersion&) = delete;
  ForcedWindowsVersion& operator=(const ForcedWindowsVersion&) = delete;

 private:
  DWORD saved_;
};

// GetVersion words: Windows 98 (platform bit set) and XP.
constexpr DWORD kWindows98 = 0xC0000A04;
constexpr DWORD kWindowsXp = 0x0A280105;

}  // namespace skin::testing
