// What the high-contrast tests share: a stand-in for the system's
// high-contrast state (Wine will not switch the real one), the broadcasts the
// system sends when the state changes, and waiting for the manager's action
// timer to carry out what they asked.
#pragma once
#include <windows.h>

#include "skin/manager/high_contrast.h"
#include "skin/manager/skin_manager.h"

namespace skin_test {

// While alive, the manager asks `On` instead of the system.
class TFakeHighContrast {
 public:
  explicit TFakeHighContrast(bool on = false) : On(on), previous_(skin::SetHighContrastQuery([this] { return On; })) {}
  ~TFakeHighContrast() { skin::SetHighContrastQuery(previous_); }
  TFakeHighContrast(const TFakeHighContrast&) = delete;
  TFakeHighContrast& operator=(const TFakeHighContrast&) = delete;

  bool On;

 private:
  skin::THighContrastQuery previous_;
};

// Which of the system's two announcements to send.
enum class TContrastAnnouncement { SettingChange = 1, SysColorChange = 2, Both = 3 };

// Sends to every top-level window what the system sends when high contrast
// is switched: WM_SETTINGCHANGE naming SPI_SETHIGHCONTRAST (with an empty
// area string, as Wine's SystemParametersInfo sends it), then
// WM_SYSCOLORCHANGE.
inline void AnnounceHighContrastChange(TContrastAnnouncement which = TContrastAnnouncement::Both) {
  DWORD_PTR result = 0;
  const auto bits = static_cast<int>(which);
  if (bits & static_cast<int>(TContrastAnnouncement::SettingChange))
    SendMessageTimeoutW(HWND_BROADCAST, WM_SETTINGCHANGE, SPI_SETHIGHCONTRAST, reinterpret_cast<LPARAM>(L""),
                        SMTO_ABORTIFHUNG, 2000, &result);
  if (bits & static_cast<int>(TContrastAnnouncement::SysColorChange))
    SendMessageTimeoutW(HWND_BROADCAST, WM_SYSCOLORCHANGE, 0, 0, SMTO_ABORTIFHUNG, 2000, &result);
}

// Runs the message loop until the manager's action timer has fired (at
// most about two seconds), then once more for what the action posted.
inline void WaitForPendingAction() {
  MSG msg;
  auto drain = [&msg] {
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
      TranslateMessage(&msg);
      DispatchMessageW(&msg);
    }
  };
  for (int i = 0; i < 400 && skin::ThreadSkinManager() && skin::ThreadSkinManager()->ActionTimer().Enabled(); ++i) {
    drain();
    Sleep(5);
  }
  drain();
}

}  // namespace skin_test
