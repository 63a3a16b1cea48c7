#include "skin/data/skin_scratch.h"

namespace skin {

gui::TBitmap StretchingBitmap(int width, int height) {
  gui::TBitmap bitmap(width, height);
  if (!bitmap.Empty()) SetStretchBltMode(bitmap.DC(), COLORONCOLOR);
  return bitmap;
}

gui::TStringList& SharedStringList() {
  thread_local gui::TStringList list;
  return list;
}

}  // namespace skin
