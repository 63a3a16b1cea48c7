#include "gui/bitmap.h"

#include "core/skindef/alpha_picture.h"
#include "core/skindef/bitmap_header.h"

#include <algorithm>
#include <deque>
#include <cstring>
#include <mutex>
#include <vector>
#include <utility>

namespace gui {

namespace {

// The memory DCs lent to pictures that share them: each thread that draws
// has kSharedDcCount of them, lent to the pictures it asked for last; the
// one asked for longest ago goes to the next picture that needs one. A DC is
// only ever lent to the thread it belongs to, so one thread's lending never
// takes a DC another thread is drawing with. Kept for the life of the
// process (pictures in static storage may give theirs back during exit, on
// any thread), so never destroyed; a thread id the system gives again finds
// the DCs of the thread that had it.
class TSharedBitmapDcs {
 public:
  static TSharedBitmapDcs& Instance() {
    static TSharedBitmapDcs* const instance = new TSharedBitmapDcs;
    return *instance;
  }

  HDC Lend(const TBitmap* picture, HBITMAP bitmap, int& slot) {
    const std::lock_guard lock(mutex_);
    const DWORD thread = GetCurrentThreadId();
    ++clock_;
    if (slot >= 0) {
      TSlot& kept = slots_[static_cast<std::size_t>(slot)];
      if (kept.Picture == picture && kept.Thread == thread) {
        kept.LastLent = clock_;
        return kept.Dc.get();
      }
      // Still selected into another thread's DC: out of it first, as a
      // bitmap is selected into one DC at a time.
      if (kept.Picture == picture) Release(kept);
      slot = -1;
    }
    std::size_t oldest = slots_.size();
    int mine = 0;
    for (std::size_t i = 0; i < slots_.size(); ++i) {
      if (slots_[i].Thread != thread) continue;
      ++mine;
      if (oldest == slots_.size() || slots_[i].LastLent < slots_[oldest].LastLent) oldest = i;
    }
    if (mine < TBitmap::kSharedDcCount) {
      TSlot added;
      added.Thread = thread;
      added.Dc.reset(CreateCompatibleDC(nullptr));
      if (!added.Dc) return nullptr;
      added.Stock = GetCurrentObject(added.Dc.get(), OBJ_BITMAP);
      slots_.push_back(std::move(added));
      oldest = slots_.size() - 1;
    }
    TSlot& lent = slots_[oldest];
    if (!SelectObject(lent.Dc.get(), bitmap)) return nullptr;
    lent.Picture = picture;
    lent.LastLent = clock_;
    slot = static_cast<int>(oldest);
    return lent.Dc.get();
  }

  // The picture's bitmap out of the DC it was lent, if it still has it.
  void GiveBack(const TBitmap* picture, int slot) {
    const std::lock_guard lock(mutex_);
    if (slot < 0 || static_cast<std::size_t>(slot) >= slots_.size()) return;
    TSlot& s = slots_[static_cast<std::size_t>(slot)];
    if (s.Picture == picture) Release(s);
  }

 private:
  struct TSlot {
    BitmapDcHandle Dc;
    HGDIOBJ Stock = nullptr;
    const TBitmap* Picture = nullptr;
    DWORD Thread = 0;
    unsigned long long LastLent = 0;
  };
  static void Release(TSlot& s) {
    SelectObject(s.Dc.get(), s.Stock);
    s.Picture = nullptr;
    s.LastLent = 0;
  }
  std::mutex mutex_;
  // A deque keeps each slot where it is as threads add theirs, so a DC lent
  // stays valid while another thread grows the list.
  std::deque<TSlot> slots_;
  unsigned long long clock_ = 0;
};

}  // namespace

TBitmap::TBitmap(TBitmap&& other) noexcept { *this = std::move(other); }

TBitmap& TBitmap::operator=(TBitmap&& other) noexcept {
  if (this == &other) return *this;
  ReleaseDc();
  other.ReleaseDc();
  bitmap_ = std::move(other.bitmap_);
  sharesDc_ = other.sharesDc_;
  bits_ = std::exchange(other.bits_, nullptr);
  width_ = std::exchange(other.width_, 0);
  height_ = std::exchange(other.height_, 0);
  Transparent = other.Transparent;
  TransparentColor = other.TransparentColor;
  PremultipliedAlpha = std::exchange(other.PremultipliedAlpha, false);
  return *this;
}

TBitmap::~TBitmap() { ReleaseDc(); }

void TBitmap::ReleaseDc() {
  if (sharedSlot_ >= 0) TSharedBitmapDcs::Instance().GiveBack(this, std::exchange(sharedSlot_, -1));
  if (!dc_) return;
  // The DC's own bitmap back in before it goes, so ours is free to go too.
  SelectObject(dc_.get(), dcOld_);
  dc_.reset();
  dcOld_ = nullptr;
}

void TBitmap::SetSize(int width, int height) {
  // The memory DC, once made, stays with the bitmap across sizes, and so
  // does its state (stretch mode, selected font, colours): only the bitmap
  // selected into it changes.
  if (dc_) SelectObject(dc_.get(), dcOld_);
  if (sharedSlot_ >= 0) TSharedBitmapDcs::Instance().GiveBack(this, std::exchange(sharedSlot_, -1));
  bitmap_.reset();
  bits_ = nullptr;
  width_ = height_ = 0;
  PremultipliedAlpha = false;
  if (width <= 0 || height <= 0) return;
  BITMAPINFO bmi{};
  bmi.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
  bmi.bmiHeader.biWidth = width;
  bmi.bmiHeader.biHeight = -height;  // top-down
  bmi.bmiHeader.biPlanes = 1;
  bmi.bmiHeader.biBitCount = 32;
  bmi.bmiHeader.biCompression = BI_RGB;
  void* bits = nullptr;
  bitmap_.reset(CreateDIBSection(nullptr, &bmi, DIB_RGB_COLORS, &bits, nullptr, 0));
  if (!bitmap_) return;
  bits_ = static_cast<std::uint32_t*>(bits);
  width_ = width;
  height_ = height;
  if (dc_) SelectObject(dc_.get(), bitmap_.get());
}

void TBitmap::SetSharesDc(bool shares) {
  if (shares == sharesDc_) return;
  ReleaseDc();
  sharesDc_ = shares;
}

HDC TBitmap::DC() {
  if (!bitmap_) return nullptr;
  if (sharesDc_) return TSharedBitmapDcs::Instance().Lend(this, bitmap_.get(), sharedSlot_);
  if (!dc_) {
    dc_.reset(CreateCompatibleDC(nullptr));
    if (!dc_) return nullptr;
    dcOld_ = SelectObject(dc_.get(), bitmap_.get());
  }
  return dc_.get();
}

COLORREF TBitmap::Pixel(int x, int y) const {
  if (!bits_ || x < 0 || y < 0 || x >= width_ || y >= height_) return CLR_INVALID;
  GdiFlush();
  const std::uint32_t p = bits_[static_cast<std::size_t>(y) * static_cast<std::size_t>(width_) + static_cast<std::size_t>(x)];
  return RGB((p >> 16) & 0xFF, (p >> 8) & 0xFF, p & 0xFF);
}

void TBitmap::SetPixel(int x, int y, COLORREF c) {
  if (!bits_ || x < 0 || y < 0 || x >= width_ || y >= height_) return;
  GdiFlush();
  bits_[static_cast<std::size_t>(y) * static_cast<std::size_t>(width_) + static_cast<std::size_t>(x)] =
      static_cast<std::uint32_t>(GetRValue(c)) << 16 | static_cast<std::uint32_t>(GetGValue(c)) << 8 | GetBValue(c);
}

void TBitmap::LoadFromFormData(std::span<const std::uint8_t> data) {
  if (data.size() >= 2 && data[0] == 'B' && data[1] == 'M') {
    LoadFromBmpBytes(data);
    return;
  }
  std::uint32_t count = 0;
  if (data.size() < sizeof(count)) return;
  std::memcpy(&count, data.data(), sizeof(count));
  const std::size_t size = std::min<std::size_t>(count, data.size() - sizeof(count));
  if (size == 0) {
    SetSize(0, 0);
    return;
  }
  LoadFromBmpBytes(data.subspan(sizeof(count), size));
}

bool TBitmap::LoadFromBmpBytes(std::span<const std::uint8_t> data) {
  SetSize(0, 0);
  // Every header field is checked (in 64-bit arithmetic) before the system
  // sees any of it. The system is then given a header of our own making
  // (the plain 40-byte one, whatever the file had, so no colour-space or
  // profile field points anywhere), the masks and the colour table copied
  // from the checked ranges, and a pointer to pixels known to be there.
  const std::optional<core::BitmapFileLayout> layout = core::ParseBitmapFile(data);
  if (!layout) return false;
  if (std::optional<core::AlphaPicture> picture = core::ReadAlphaPicture(data, *layout)) {
    // Read here rather than by the system, which may drop the fourth byte.
    core::ClampToAlpha(*picture);
    SetSize(picture->width, picture->height);
    if (Empty()) return false;
    GdiFlush();
    std::memcpy(bits_, picture->pixels.data(), picture->pixels.size() * sizeof(std::uint32_t));
    PremultipliedAlpha = true;
    return true;
  }
  const bool bitFields = layout->compression == core::BitmapFileLayout::Compression::BitFields;
  const std::size_t masksBytes = bitFields ? 12 : 0;
  std::vector<std::uint8_t> info(sizeof(BITMAPINFOHEADER) + masksBytes + std::size_t{layout->colourCount} * 4);
  BITMAPINFOHEADER header{};
  header.biSize = sizeof header;
  header.biWidth = layout->width;
  header.biHeight = layout->topDown ? -layout->height : layout->height;
  header.biPlanes = 1;
  header.biBitCount = layout->bitCount;
  header.biCompression = static_cast<DWORD>(layout->compression);
  header.biSizeImage = static_cast<DWORD>(layout->stride ? 0 : layout->pixelBytes);
  header.biClrUsed = layout->colourCount;
  std::memcpy(info.data(), &header, sizeof header);
  if (bitFields) std::memcpy(info.data() + sizeof header, layout->masks, masksBytes);
  std::uint8_t* table = info.data() + sizeof header + masksBytes;
  const bool coreHeader = layout->header == core::BitmapFileLayout::Header::Core;
  for (std::size_t i = 0; i < layout->colourCount; ++i)
    std::memcpy(table + i * 4, data.data() + layout->colourTableOffset + i * (coreHeader ? 3 : 4), 3);

  SetSize(layout->width, layout->height);
  if (Empty()) return false;
  const int lines = StretchDIBits(DC(), 0, 0, width_, height_, 0, 0, width_, height_,
                                  data.data() + layout->pixelOffset, reinterpret_cast<const BITMAPINFO*>(info.data()),
                                  DIB_RGB_COLORS, SRCCOPY);
  if (lines == 0 || lines == static_cast<int>(GDI_ERROR)) {
    SetSize(0, 0);
    return false;
  }
  GdiFlush();
  return true;
}

bool TBitmap::Assign(HBITMAP source) {
  BITMAP info{};
  if (!source || !GetObjectW(source, sizeof info, &info)) {
    SetSize(0, 0);
    return false;
  }
  SetSize(info.bmWidth, info.bmHeight);
  if (Empty()) return false;
  MemoryDcHandle src(CreateCompatibleDC(nullptr));
  SelectGuard select(src.get(), source);
  BitBlt(DC(), 0, 0, width_, height_, src.get(), 0, 0, SRCCOPY);
  GdiFlush();
  return true;
}

void TBitmap::CopyFrom(const TBitmap& source) {
  SetSize(source.width_, source.height_);
  if (!Empty()) {
    GdiFlush();
    std::memcpy(bits_, source.bits_, static_cast<std::size_t>(width_) * static_cast<std::size_t>(height_) * 4);
  }
  Transparent = source.Transparent;
  TransparentColor = source.TransparentColor;
  PremultipliedAlpha = source.PremultipliedAlpha;
}

void TCanvas::Draw(int x, int y, TBitmap& bitmap) {
  if (!dc_ || bitmap.Empty()) return;
  if (bitmap.PremultipliedAlpha) {
    const BLENDFUNCTION blend{AC_SRC_OVER, 0, 255, AC_SRC_ALPHA};
    AlphaBlend(dc_, x, y, bitmap.Width(), bitmap.Height(), bitmap.DC(), 0, 0, bitmap.Width(), bitmap.Height(), blend);
  } else if (bitmap.Transparent) {
    TransparentBlt(dc_, x, y, bitmap.Width(), bitmap.Height(), bitmap.DC(), 0, 0, bitmap.Width(), bitmap.Height(),
                   bitmap.TransparentColor);
  } else {
    BitBlt(dc_, x, y, bitmap.Width(), bitmap.Height(), bitmap.DC(), 0, 0, SRCCOPY);
  }
}

void TCanvas::FillRect(const RECT& r, TColor color) {
  BrushHandle brush(CreateSolidBrush(ColorToRGB(color)));
  ::FillRect(dc_, &r, brush.get());
}

}  // namespace gui
