// An image list over the common controls' HIMAGELIST: equal-sized images cut
// from one strip, drawn with a mask. From a form description it takes its
// Width and Height and a "Bitmap" strip whose magenta pixels are transparent.
#pragma once
#include <windows.h>
#include <commctrl.h>

#include "gui/classes.h"
#include "gui/handles.h"

namespace gui {

class TImageList : public TComponent {
  GUI_CLASS(TImageList, TComponent)
 public:
  explicit TImageList(TComponent* owner) : TImageList(owner, 16, 16) {}
  TImageList(TComponent* owner, int width, int height);

  HIMAGELIST Handle() const { return list_.get(); }
  int Width() const { return width_; }
  int Height() const { return height_; }
  // A new image size empties the list.
  void SetSize(int width, int height);
  int Count() const;
  // Cuts the strip into images of the list's width; pixels of maskColor
  // become transparent. Answers false when the list refused the strip.
  bool AddMasked(HBITMAP strip, COLORREF maskColor);
  void Draw(HDC dc, int x, int y, int index) const;

  bool ReadBinaryProperty(std::string_view name, std::span<const std::uint8_t> data) override;
  static void DeclareProperties(std::vector<TPropInfo>& list);

  // Image lists alive right now (GUI thread only).
  static long LiveCount() { return ImageListHandle::LiveCount(); }

 private:
  ImageListHandle list_;
  int width_;
  int height_;
};

}  // namespace gui
