// What the tests of a plain program's windows share: the engine as such a
// program has it (an application and a skin data component for every form
// with the project's default skin, skinning on), one of the project's skins
// worn by name, and the dark skin's colours the pictures are checked for.
#pragma once
#include <gtest/gtest.h>
#include <windows.h>

#include <memory>
#include <string>

#include "gui/forms.h"
#include "skin/data/skin_data.h"
#include "skin/data/tests/test_skins.h"
#include "skin/manager/skin_manager.h"
#include "skin/manager/tests/contrast_switch.h"

namespace engine_test {

// The dark skin's colours (skins/dark/skin.ini).
inline constexpr COLORREF kDarkWindow = RGB(30, 33, 38);
inline constexpr COLORREF kDarkFace = RGB(43, 47, 54);
inline constexpr COLORREF kDarkShadow = RGB(74, 81, 92);
inline constexpr COLORREF kDarkText = RGB(230, 232, 236);

class TProgramTest : public ::testing::Test {
 protected:
  // `skinning`: whether the skin data component is active from the start.
  explicit TProgramTest(bool skinning = true) : skinning_(skinning) {}
  void SetUp() override {
    skin::FreeSkinManager();
    app_ = std::make_unique<gui::TApplication>();
    data_ = skin_test::LoadSkinData(app_.get(), skin::sfMainform, skinning_, skin_test::DefaultSkinArchive());
    ASSERT_FALSE(data_->SkinLoading());
  }
  void TearDown() override {
    app_.reset();
    skin::FreeSkinManager();
    skin_test::DrainMessages();
  }
  // "default", "dark", "flat", "meridian" or "meridian_dark", as the host
  // build packed them.
  void Wear(const std::wstring& name) {
    if (name == L"default") return;
    std::wstring path = L"Z:" OWN_SKINS_DIR "/" + name + L".skin";
    for (wchar_t& c : path)
      if (c == L'/') c = L'\\';
    data_->SetSkinFile(path);
    skin_test::WaitForPendingAction();
  }
  // Runs the message loop a while, so that what is made later is complete.
  static void Settle() {
    for (int i = 0; i < 5; ++i) {
      skin_test::DrainMessages();
      Sleep(20);
    }
  }

  const bool skinning_;
  std::unique_ptr<gui::TApplication> app_;
  skin::TSkinData* data_ = nullptr;
};

}  // namespace engine_test
