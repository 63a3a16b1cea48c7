// What the form skinner's tests share: the project's default skin loaded,
// and a host in the coordinator's place that skins the windows a test asks
// for, as the coordinator skins a window it sees activated.
#pragma once
#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <memory>
#include <vector>

#include "gui/bitmap.h"
#include "gui/forms.h"
#include "skin/data/skin_data.h"
#include "skin/data/skin_protocol.h"
#include "skin/data/tests/test_skins.h"
#include "skin/form/skin_form.h"
#include "skin/form/skinner_host.h"

namespace form_test {

class TTestSkinnerHost final : public skin::ISkinnerHost {
 public:
  TTestSkinnerHost() = default;
  TTestSkinnerHost(const TTestSkinnerHost&) = delete;
  TTestSkinnerHost& operator=(const TTestSkinnerHost&) = delete;
  // Skinners of framework forms belong to their forms; the others to the host.
  ~TTestSkinnerHost() {
    for (skin::TWinSkinForm* skinner : std::exchange(skinners_, {})) skinner->ForgetHost();
    own_.clear();
  }

  skin::TSkinData* Data = nullptr;
  bool SkinningOn = true;

  // Skins the window with Data; false when it is skinned already, answers
  // the skin query or the attach fails.
  bool SkinWindow(HWND wnd) {
    if (!Data || !SkinningOn || FindFormSkinner(wnd) || SendMessageW(wnd, skin::SkinMsgQuery, 0, 0) == 1)
      return false;
    gui::TCustomForm* form = nullptr;
    if (gui::Application)
      for (gui::TCustomForm* f : gui::Application->Forms())
        if (f->HandleAllocated() && f->Handle() == wnd) form = f;
    std::unique_ptr<skin::TWinSkinForm> owned;
    skin::TWinSkinForm* skinner = skin::MakeFormSkinner(wnd, this, *Data, form, owned);
    if (!skinner) return false;
    skinners_.push_back(skinner);
    if (owned) own_.push_back(std::move(owned));
    return true;
  }
  skin::TWinSkinForm* FindFormSkinner(HWND wnd) const {
    for (skin::TWinSkinForm* skinner : skinners_)
      if (skinner->Handle() == wnd) return skinner;
    return nullptr;
  }
  // What the coordinator does when Data has read another skin.
  void SkinChanged() {
    for (skin::TWinSkinForm* skinner : skinners_) {
      skinner->FreeSysButtons();
      skinner->ComputeFrameMetrics();
    }
    for (skin::TWinSkinForm* skinner : skinners_) skinner->RefreshSkin();
  }

  bool IsSkinningOn() const override { return SkinningOn; }
  bool IsMdiMaximized() const override { return mdiMaximized_; }
  void ChangeMdiMaximized(bool value) override { mdiMaximized_ = value; }
  HWND MdiClientWindow() const override { return mdiClient_; }
  void SetMdiClientWindow(HWND client) override { mdiClient_ = client; }
  bool SkinNewWindow(HWND wnd) override { return SkinWindow(wnd); }
  gui::TBitmap* DefaultWindowIcon(const skin::TSkinData*) override { return icon_ ? icon_.get() : nullptr; }
  void OfferWindowIcon(const skin::TSkinData*, const gui::TBitmap& icon) override {
    if (icon_) return;
    icon_ = std::make_unique<gui::TBitmap>();
    icon_->CopyFrom(icon);
  }
  void FormSkinnerGone(skin::TWinSkinForm* skinner) override { std::erase(skinners_, skinner); }

 private:
  std::vector<skin::TWinSkinForm*> skinners_;
  std::vector<std::unique_ptr<skin::TWinSkinForm>> own_;
  bool mdiMaximized_ = false;
  HWND mdiClient_ = nullptr;
  std::unique_ptr<gui::TBitmap> icon_;
};

class DefaultSkinTest : public ::testing::Test {
 protected:
  void SetUp() override {
    data_ = std::make_unique<skin::TSkinData>(nullptr);
    data_->SetSkinStream(skin_test::DefaultSkinArchive());
    ASSERT_TRUE(data_->LoadSkin());
    ASSERT_GT(data_->Skin().BorderLeft.Image.Width(), 0);
    host_.Data = data_.get();
  }
  void TearDown() override { skin_test::DrainMessages(); }
  // Freed last: the skin data outlives the skinners that draw with it.
  std::unique_ptr<skin::TSkinData> data_;
  TTestSkinnerHost host_;
};

// The whole non-client area as the skinner paints it, off screen (which
// also lays the bar's items out).
inline gui::TBitmap PaintedFrame(skin::TWinSkinForm& form) {
  RECT r{};
  GetWindowRect(form.Handle(), &r);
  gui::TBitmap picture(r.right - r.left, r.bottom - r.top);
  form.PaintNonClient(picture.DC());
  return picture;
}

}  // namespace form_test
