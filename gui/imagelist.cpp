#include "gui/imagelist.h"

#include <utility>

#include "gui/bitmap.h"

namespace gui {

TImageList::TImageList(TComponent* owner, int width, int height)
    : TComponent(owner), list_(ImageList_Create(width, height, ILC_COLOR32 | ILC_MASK, 4, 4)), width_(width),
      height_(height) {}

void TImageList::SetSize(int width, int height) {
  if (width == width_ && height == height_) return;
  width_ = width;
  height_ = height;
  // The handle stays the same, so controls showing the list keep it.
  if (list_) ImageList_SetIconSize(list_.get(), width, height);
}

int TImageList::Count() const { return list_ ? ImageList_GetImageCount(list_.get()) : 0; }

bool TImageList::AddMasked(HBITMAP strip, COLORREF maskColor) {
  return list_ && strip && ImageList_AddMasked(list_.get(), strip, maskColor) >= 0;
}

void TImageList::Draw(HDC dc, int x, int y, int index) const {
  if (list_ && index >= 0 && index < Count()) ImageList_Draw(list_.get(), index, dc, x, y, ILD_TRANSPARENT);
}

bool TImageList::ReadBinaryProperty(std::string_view name, std::span<const std::uint8_t> data) {
  if (name != "Bitmap") return false;
  TBitmap loaded;
  loaded.LoadFromFormData(data);
  // Moving lets go of the memory DC: the list selects the strip into its own.
  const TBitmap strip(std::move(loaded));
  if (!strip.Empty()) AddMasked(strip.Handle(), strip.TransparentColor);
  return true;
}

void TImageList::DeclareProperties(std::vector<TPropInfo>& list) {
  TPropBuilder<TImageList> b(list);
  b.Integer("Width", [](TImageList& c) { return c.Width(); }, [](TImageList& c, int v) { c.SetSize(v, c.Height()); });
  b.Integer("Height", [](TImageList& c) { return c.Height(); }, [](TImageList& c, int v) { c.SetSize(c.Width(), v); });
}

}  // namespace gui
