// An image list over the common controls' HIMAGELIST: equal-sized images cut
// from one strip, drawn with a mask.
#pragma once
#include <windows.h>
#include <commctrl.h>

#include "gui/classes.h"

namespace gui {

class TImageList : public TComponent {
  GUI_CLASS(TImageList, TComponent)
 public:
  TImageList(TComponent* owner, int width, int height);
  ~TImageList() override;

  HIMAGELIST Handle() const { return list_; }
  int Width() const { return width_; }
  int Height() const { return height_; }
  int Count() const;
  // Cuts the strip into images of the list's width; pixels of maskColor
  // become transparent. Answers false when the list refused the strip.
  bool AddMasked(HBITMAP strip, COLORREF maskColor);
  void Draw(HDC dc, int x, int y, int index) const;

  // Image lists alive right now (GUI thread only).
  static long LiveCount() { return live_; }

 private:
  HIMAGELIST list_ = nullptr;
  int width_;
  int height_;
  inline static long live_ = 0;
};

}  // namespace gui
