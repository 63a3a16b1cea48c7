// An element's picture, decoded into its bitmap when it is first drawn. A
// skin names dozens of pictures and a program draws few of them (a plain
// window: its frame, caption buttons, menu and scroll bars), so the skin's
// read keeps each picture's size, taken from its file header, and a way to
// make it; the bitmap is made on the first call that needs its pixels. The
// size never needs them. A skin's content is shared by every thread that
// wears it: the one-time decode is guarded, and once made the bitmap is
// only read (blitted from).
#pragma once
#include <windows.h>

#include <functional>
#include <mutex>

#include "gui/bitmap.h"

namespace skin {

class TElementPicture {
 public:
  // Fills the bitmap it is given (already empty and sharing DCs); must not
  // throw: a picture that cannot be made stays empty.
  using Decoder = std::function<void(gui::TBitmap&)>;

  TElementPicture() = default;
  TElementPicture(const TElementPicture&) = delete;
  TElementPicture& operator=(const TElementPicture&) = delete;
  ~TElementPicture();

  // A picture of the given size made by decoder when first needed. A size of
  // 0 is no picture (the decoder is not kept).
  void SetDeferred(int width, int height, Decoder decoder);
  // A picture made already: the bitmap as it is.
  TElementPicture& operator=(gui::TBitmap&& made);

  int Width() const { return width_; }
  int Height() const { return height_; }
  bool Empty() const { return width_ <= 0 || height_ <= 0; }
  // Whether the bitmap has been made (for tests and measurements).
  bool Decoded() const;
  // How many element pictures of the process hold their bitmap: they live
  // with their skin, so a count of one window's handles leaves them out.
  static long LiveDecodedCount();

  // The bitmap, made on the first call. Only ever blitted from by its
  // callers, so the same bitmap serves every thread.
  gui::TBitmap& Bitmap() const;
  operator gui::TBitmap&() const { return Bitmap(); }
  HDC DC() const { return Bitmap().DC(); }
  COLORREF Pixel(int x, int y) const { return Bitmap().Pixel(x, y); }

 private:
  int width_ = 0;
  int height_ = 0;
  mutable Decoder decoder_;
  mutable std::once_flag decodeOnce_;
  mutable gui::TBitmap bitmap_;
  mutable bool counted_ = false;  // among LiveDecodedCount()
  void Count() const;
  void Uncount() const;
};

}  // namespace skin
