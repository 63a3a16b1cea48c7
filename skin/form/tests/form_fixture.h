// What the form skinner's tests share: the project's default skin loaded
// into a fresh manager with skinning on, freed again after each test.
#pragma once
#include <gtest/gtest.h>

#include <memory>

#include "gui/bitmap.h"
#include "skin/data/skin_data.h"
#include "skin/form/skin_form.h"
#include "skin/manager/skin_manager.h"
#include "skin/manager/tests/test_skins.h"

namespace form_test {

class DefaultSkinTest : public ::testing::Test {
 protected:
  void SetUp() override {
    skin::FreeSkinManager();
    data_ = std::make_unique<skin::TSkinData>(nullptr);
    data_->SkinArchive = core::ByteStream(skin_test::DefaultSkinArchive());
    ASSERT_TRUE(data_->LoadSkin());
    ASSERT_GT(data_->Skin().BorderLeft.Image.Width(), 0);
    skin::EnsureSkinManager().AddSkinData(data_.get());
    skin::SkinManager->SkinningOn = true;
  }
  void TearDown() override {
    skin::FreeSkinManager();
    data_.reset();
    skin_test::DrainMessages();
  }
  std::unique_ptr<skin::TSkinData> data_;
};

// The whole non-client area as the skinner paints it, off screen (which
// also lays the bar's items out).
inline gui::TBitmap PaintedFrame(skin::TWinSkinForm& form) {
  RECT r{};
  GetWindowRect(form.Handle, &r);
  gui::TBitmap picture(r.right - r.left, r.bottom - r.top);
  form.PaintNonClient(picture.DC());
  return picture;
}

}  // namespace form_test
