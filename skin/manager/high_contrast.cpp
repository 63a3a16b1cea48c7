#include "skin/manager/high_contrast.h"

#include <utility>

namespace skin {

namespace {

constexpr const wchar_t* kListenerClass = L"TSkinContrastListener";

THighContrastQuery& CurrentQuery() {
  static THighContrastQuery query = &SystemHighContrastOn;
  return query;
}

}  // namespace

bool SystemHighContrastOn() {
  HIGHCONTRASTW contrast{};
  contrast.cbSize = sizeof contrast;
  if (!SystemParametersInfoW(SPI_GETHIGHCONTRAST, sizeof contrast, &contrast, 0)) return false;
  return (contrast.dwFlags & HCF_HIGHCONTRASTON) != 0;
}

bool HighContrastOn() { return CurrentQuery()(); }

THighContrastQuery SetHighContrastQuery(THighContrastQuery query) {
  if (!query) query = &SystemHighContrastOn;
  return std::exchange(CurrentQuery(), std::move(query));
}

THighContrastListener::THighContrastListener(std::function<void()> onChange) : onChange_(std::move(onChange)) {}

bool THighContrastListener::Listen() {
  if (Handle()) return false;
  // Never shown: a tool window keeps it off the task bar should anyone show it.
  CreateHandle(kListenerClass, WS_EX_TOOLWINDOW, WS_POPUP);
  return true;
}

LRESULT THighContrastListener::HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
  const bool announced = (msg == WM_SETTINGCHANGE && wParam == SPI_SETHIGHCONTRAST) || msg == WM_SYSCOLORCHANGE;
  if (announced && onChange_) onChange_();
  return DefaultHandler(msg, wParam, lParam);
}

}  // namespace skin
