// What the tests of the whole engine share: the project's default skin
// loaded into a fresh manager with skinning on, freed again after each test.
#pragma once
#include <gtest/gtest.h>

#include <memory>

#include "gui/bitmap.h"
#include "skin/data/skin_data.h"
#include "skin/data/tests/test_skins.h"
#include "skin/form/skin_form.h"
#include "skin/form/tests/form_fixture.h"
#include "skin/manager/skin_manager.h"

namespace engine_test {

class DefaultSkinTest : public ::testing::Test {
 protected:
  void SetUp() override {
    skin::FreeSkinManager();
    data_ = std::make_unique<skin::TSkinData>(nullptr);
    data_->SetSkinStream(skin_test::DefaultSkinArchive());
    ASSERT_TRUE(data_->LoadSkin());
    ASSERT_GT(data_->Skin().BorderLeft.Image.Width(), 0);
    skin::EnsureSkinManager().AddSkinData(data_.get());
    skin::ThreadSkinManager()->Request({skin::saSkinOn, data_.get()}, 0);
  }
  void TearDown() override {
    skin::FreeSkinManager();
    data_.reset();
    skin_test::DrainMessages();
  }
  std::unique_ptr<skin::TSkinData> data_;
};

// The whole non-client area as the skinner paints it, off screen.
using form_test::PaintedFrame;

}  // namespace engine_test
