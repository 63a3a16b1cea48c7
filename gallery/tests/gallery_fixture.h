// What the gallery's tests share: each case starts as the program does, with
// no skin manager and an application that collects error reports, and opens
// the gallery's form as the program makes it.
#pragma once
#include <gtest/gtest.h>
#include <windows.h>

#include <memory>
#include <string>
#include <vector>

#include "gallery/gallery_form.h"
#include "gallery/gallery_options.h"
#include "gui/forms.h"
#include "skin/manager/skin_manager.h"

class GalleryFixture : public ::testing::Test {
 protected:
  void SetUp() override {
    skin::FreeSkinManager();
    app_ = std::make_unique<gui::TApplication>();
    app_->OnException = [this](gui::TObject*, const std::wstring& message) { errors_.push_back(message); };
  }
  void TearDown() override {
    app_.reset();
    skin::FreeSkinManager();
  }

  // The form as the program makes it; `beforeShow` stands for the command
  // line, which is applied before the window is first shown.
  TGalleryForm& Open(const TGalleryOptions& beforeShow = {}) {
    TGalleryForm* form = app_->CreateForm<TGalleryForm>();
    form->ApplyOptions(beforeShow);
    form->Show();
    WaitForSkinRequests();
    return *form;
  }
  // Skin requests are carried out by the manager's timer from the message loop.
  void WaitForSkinRequests() {
    app_->ProcessMessages();
    for (int i = 0; i < 400 && skin::ThreadSkinManager() && skin::ThreadSkinManager()->ActionTimer().Enabled(); ++i) {
      Sleep(5);
      app_->ProcessMessages();
    }
    app_->ProcessMessages();
  }

  std::unique_ptr<gui::TApplication> app_;
  std::vector<std::wstring> errors_;
};
