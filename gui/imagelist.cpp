#include "gui/imagelist.h"

namespace gui {

TImageList::TImageList(TComponent* owner, int width, int height)
    : TComponent(owner), width_(width), height_(height) {
  list_ = ImageList_Create(width, height, ILC_COLOR32 | ILC_MASK, 4, 4);
  if (list_) ++live_;
}

TImageList::~TImageList() {
  if (list_) {
    ImageList_Destroy(list_);
    --live_;
  }
}

int TImageList::Count() const { return list_ ? ImageList_GetImageCount(list_) : 0; }

bool TImageList::AddMasked(HBITMAP strip, COLORREF maskColor) {
  return list_ && strip && ImageList_AddMasked(list_, strip, maskColor) >= 0;
}

void TImageList::Draw(HDC dc, int x, int y, int index) const {
  if (list_ && index >= 0 && index < Count()) ImageList_Draw(list_, index, dc, x, y, ILD_TRANSPARENT);
}

}  // namespace gui
