// The one restore path: whichever way the skin comes off a form (switched
// off, high contrast, the window destroyed, an attach given up, the skinner
// freed), the form's popup menus get back what they had and the window its
// menu. Once per mode.
#include <gtest/gtest.h>
#include <windows.h>

#include <stdexcept>

#include "gui/forms.h"
#include "gui/menus.h"
#include "gui/stdctrls.h"
#include "skin/data/skin_data.h"
#include "skin/data/tests/test_skins.h"
#include "skin/form/skin_form.h"
#include "skin/manager/skin_manager.h"
#include "skin/manager/tests/contrast_switch.h"
#include "skin/manager/tests/engine_fixture.h"

namespace {

using skin::ThreadSkinManager;
using skin::TWinSkinForm;
using TRestoreMode = TWinSkinForm::TRestoreMode;

class RestoreTest : public engine_test::DefaultSkinTest {
 protected:
  void SetUp() override {
    DefaultSkinTest::SetUp();
    form_ = new gui::TForm(&app_);
    menu_ = new gui::TMainMenu(form_);
    menu_->Items().Add(L"&File")->Add(L"&Open");
    form_->SetMenu(menu_);
    popup_ = new gui::TPopupMenu(form_);
    item_ = popup_->Items().Add(L"Cu&t");
    form_->SetClientWidth(240);
    form_->SetClientHeight(140);
    form_->HandleNeeded();
    form_->Show();
    skin_test::DrainMessages();
  }
  void TearDown() override {
    delete form_;
    DefaultSkinTest::TearDown();
  }

  // Skins the form as the manager does and checks what the skin took.
  TWinSkinForm* Skin() {
    if (!ThreadSkinManager()->SkinWindow(form_->Handle())) return nullptr;
    skin_test::DrainMessages();
    TWinSkinForm* skinner = ThreadSkinManager()->FindFormSkinner(form_->Handle());
    EXPECT_TRUE(popup_->OwnerDraw);
    EXPECT_TRUE(static_cast<bool>(item_->OnDrawItem));
    EXPECT_EQ(GetMenu(form_->Handle()), nullptr);  // the skinned bar shows it
    return skinner;
  }
  // The popup menu and its item have what they had; the window has its
  // menu back unless it went.
  void ExpectGivenBack(bool windowStays = true) {
    EXPECT_FALSE(popup_->OwnerDraw);
    EXPECT_FALSE(static_cast<bool>(item_->OnDrawItem));
    EXPECT_FALSE(static_cast<bool>(item_->OnMeasureItem));
    if (!windowStays) return;
    EXPECT_EQ(GetMenu(form_->Handle()), menu_->Handle());
    EXPECT_EQ(ThreadSkinManager()->FindFormSkinner(form_->Handle()), nullptr);
  }

  gui::TApplication app_;
  gui::TForm* form_ = nullptr;
  gui::TMainMenu* menu_ = nullptr;
  gui::TPopupMenu* popup_ = nullptr;
  gui::TMenuItem* item_ = nullptr;
};

TEST_F(RestoreTest, SkinOff) {
  TWinSkinForm* skinner = Skin();
  ASSERT_NE(skinner, nullptr);
  skinner->Restore(TRestoreMode::SkinOff);
  EXPECT_EQ(skinner->MenuBar(), nullptr);
  EXPECT_EQ(skinner->MenuHeight(), 0);
  ThreadSkinManager()->RemoveFormSkinner(form_->Handle());
  ExpectGivenBack();
}

// High contrast comes on: the manager takes the skin off every window.
TEST_F(RestoreTest, HighContrast) {
  skin_test::TFakeHighContrast contrast;
  ASSERT_NE(Skin(), nullptr);
  contrast.On = true;
  ThreadSkinManager()->FollowHighContrast();
  ExpectGivenBack();
}

TEST_F(RestoreTest, WindowGone) {
  TWinSkinForm* skinner = Skin();
  ASSERT_NE(skinner, nullptr);
  DestroyWindow(form_->Handle());
  // The bar went with the window; the form's menu stays the form's.
  EXPECT_EQ(skinner->MenuBar(), nullptr);
  EXPECT_TRUE(IsMenu(menu_->Handle()));
  ExpectGivenBack(false);
}

// The application's discovery handler throws after the bar took the menu.
TEST_F(RestoreTest, AttachFailed) {
  data_->OnSkinControl = [](gui::TComponent*, skin::TSkinData*, gui::TComponent*, gui::TComponent*,
                            const std::wstring&, skin::TSkinControl*&) { throw std::runtime_error("failed"); };
  auto* button = new gui::TButton(form_);
  button->SetParent(form_);
  EXPECT_THROW(ThreadSkinManager()->SkinWindow(form_->Handle()), std::runtime_error);
  data_->OnSkinControl = nullptr;
  ExpectGivenBack();
}

// A skinner freed while its window stays lets the window go as it found it.
TEST_F(RestoreTest, SkinnerFreed) {
  TWinSkinForm* skinner = Skin();
  ASSERT_NE(skinner, nullptr);
  delete skinner;
  ExpectGivenBack();
}

}  // namespace
