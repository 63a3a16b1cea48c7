// Tooltip windows in the skin's InfoBk and InfoText while it is worn, and
// exactly their own colours back when it comes off.
#include <gtest/gtest.h>
#include <windows.h>
#include <commctrl.h>

#include <memory>
#include <utility>

#include "gui/forms.h"
#include "skin/data/skin_data.h"
#include "skin/data/tests/test_skins.h"
#include "skin/manager/skin_manager.h"
#include "skin/manager/tests/contrast_switch.h"

namespace {

std::pair<LRESULT, LRESULT> TipColours(HWND tip) {
  return {SendMessageW(tip, TTM_GETTIPBKCOLOR, 0, 0), SendMessageW(tip, TTM_GETTIPTEXTCOLOR, 0, 0)};
}

HWND NewTooltip() {
  return CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr, WS_POPUP | TTS_ALWAYSTIP, 0, 0, 0, 0, nullptr,
                         nullptr, nullptr, nullptr);
}

TEST(TooltipColours, InTheSkinsInfoColoursWhileItIsWornAndTheirOwnAfter) {
  skin::FreeSkinManager();
  const INITCOMMONCONTROLSEX classes{sizeof(INITCOMMONCONTROLSEX), ICC_WIN95_CLASSES};
  InitCommonControlsEx(&classes);
  auto app = std::make_unique<gui::TApplication>();
  skin::TSkinData* data = skin_test::LoadSkinData(app.get(), skin::sfMainform, false, skin_test::DefaultSkinArchive());
  data->SetSkinFile(skin_test::DarkSkinPath());
  HWND plain = NewTooltip();
  const auto own = TipColours(plain);
  DestroyWindow(plain);

  data->SetActive(true);
  skin_test::WaitForPendingAction();
  HWND tip = NewTooltip();
  ASSERT_NE(tip, nullptr);
  const std::pair<LRESULT, LRESULT> dark{RGB(30, 33, 38), RGB(230, 232, 236)};
  EXPECT_EQ(TipColours(tip), dark);
  data->SetActive(false);
  skin_test::WaitForPendingAction();
  EXPECT_EQ(TipColours(tip), own);
  DestroyWindow(tip);
  app.reset();
  skin::FreeSkinManager();
}

}  // namespace
