// What the form skinner's tests share: the project's default skin loaded
// into a fresh manager with skinning on, freed again after each test.
#pragma once
#include <gtest/gtest.h>

#include <memory>

#include "skin/data/skin_data.h"
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

}  // namespace form_test
