#include "skin/data/skin_protocol.h"

namespace skin {

std::wstring WindowClassName(HWND wnd) {
  wchar_t name[101] = {};
  const int length = GetClassNameW(wnd, name, 101);
  return std::wstring(name, length > 0 ? static_cast<std::size_t>(length) : 0);
}

}  // namespace skin
