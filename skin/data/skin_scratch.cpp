#include "skin/data/skin_scratch.h"

namespace skin {

gui::TBitmap StretchingBitmap(int width, int height) {
  gui::TBitmap bitmap(width, height);
  if (!bitmap.Empty()) SetStretchBltMode(bitmap.DC(), COLORONCOLOR);
  return bitmap;
}

gui::TStringList& SharedStringList() {
  // Never destroyed: with mingw-w64 a thread-local object is destroyed at
  // thread exit after its storage has been freed.
  thread_local auto* list = new gui::TStringList;
  return *list;
}

}  // namespace skin
