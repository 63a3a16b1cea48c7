#include "skin/data/skin_protocol.h"

namespace skin {

TSkinMessage::operator UINT() const {
  UINT number = number_.load(std::memory_order_relaxed);
  if (number == 0) {
    // Registering again gives the same number, so a race between two
    // threads is harmless.
    number = RegisterWindowMessageW(name_);
    number_.store(number, std::memory_order_relaxed);
  }
  return number;
}

std::wstring WindowClassName(HWND wnd) {
  wchar_t name[101] = {};
  const int length = GetClassNameW(wnd, name, 101);
  return std::wstring(name, length > 0 ? static_cast<std::size_t>(length) : 0);
}

}  // namespace skin
