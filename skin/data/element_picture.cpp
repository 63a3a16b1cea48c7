#include "skin/data/element_picture.h"

#include <atomic>
#include <utility>

namespace skin {

namespace {
std::atomic<long> liveDecoded{0};
}

TElementPicture::~TElementPicture() { Uncount(); }

long TElementPicture::LiveDecodedCount() { return liveDecoded.load(); }

void TElementPicture::Count() const {
  if (counted_ || bitmap_.Empty()) return;
  counted_ = true;
  ++liveDecoded;
}

void TElementPicture::Uncount() const {
  if (!counted_) return;
  counted_ = false;
  --liveDecoded;
}

void TElementPicture::SetDeferred(int width, int height, Decoder decoder) {
  const bool any = width > 0 && height > 0;
  width_ = any ? width : 0;
  height_ = any ? height : 0;
  decoder_ = any ? std::move(decoder) : Decoder{};
}

TElementPicture& TElementPicture::operator=(gui::TBitmap&& made) {
  decoder_ = nullptr;
  Uncount();
  bitmap_ = std::move(made);
  Count();
  width_ = bitmap_.Width();
  height_ = bitmap_.Height();
  return *this;
}

bool TElementPicture::Decoded() const { return !bitmap_.Empty(); }

gui::TBitmap& TElementPicture::Bitmap() const {
  std::call_once(decodeOnce_, [this] {
    if (!decoder_) return;
    bitmap_.SetSharesDc(true);
    try {
      decoder_(bitmap_);
    } catch (...) {
      // Drawing goes on without the picture, as with any failed paint.
      bitmap_.SetSize(0, 0);
    }
    // Its sources go with the decoder: nothing asks for them again.
    decoder_ = nullptr;
    Count();
  });
  return bitmap_;
}

}  // namespace skin
