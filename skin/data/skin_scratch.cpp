#include "skin/data/skin_scratch.h"

namespace skin {

gui::TBitmap& SharedStretchBitmap() {
  thread_local gui::TBitmap bitmap = [] {
    gui::TBitmap b(1, 1);
    if (!b.Empty()) SetStretchBltMode(b.DC(), COLORONCOLOR);
    return b;
  }();
  return bitmap;
}

gui::TStringList& SharedStringList() {
  thread_local gui::TStringList list;
  return list;
}

}  // namespace skin
