// Message boxes under the skin: a caption longer than the box is wide widens
// the box so that it fits, and the box's buttons move right by half the growth.
#include <gtest/gtest.h>
#include <windows.h>

#include <atomic>
#include <memory>
#include <string>
#include <thread>

#include "gui/forms.h"
#include "skin/data/skin_data.h"
#include "skin/data/tests/test_skins.h"
#include "skin/form/skin_form.h"
#include "skin/manager/skin_manager.h"
#include "skin/manager/tests/contrast_switch.h"

namespace {

struct BoxGeometry {
  bool seen = false;
  bool skinned = false;
  int clientWidth = 0;
  int buttonLeft = 0;  // OK button, in the box's client coordinates
};

// Shows a message box, measures it from another thread once it has settled,
// and closes it.
BoxGeometry MeasureBox(const wchar_t* text, const wchar_t* caption) {
  BoxGeometry geometry;
  std::atomic<bool> done{false};
  std::thread watcher([&] {
    for (int i = 0; i < 500 && !done; ++i, Sleep(10)) {
      HWND box = FindWindowW(L"#32770", caption);
      if (!box || !IsWindowVisible(box)) continue;
      // The skinner fits the frame on a posted message: wait until the
      // box's size has stopped changing.
      RECT client{}, previous{-1, -1, -1, -1};
      for (int settle = 0; settle < 50 && !EqualRect(&client, &previous); ++settle) {
        previous = client;
        Sleep(100);
        GetClientRect(box, &client);
      }
      geometry.seen = true;
      geometry.skinned = SendMessageW(box, skin::SkinMsgQuery, 0, 0) == 1;
      geometry.clientWidth = client.right;
      RECT button;
      GetWindowRect(GetDlgItem(box, IDOK), &button);
      MapWindowPoints(nullptr, box, reinterpret_cast<POINT*>(&button), 2);
      geometry.buttonLeft = button.left;
      PostMessageW(box, WM_COMMAND, IDOK, 0);
      return;
    }
  });
  MessageBoxW(nullptr, text, caption, MB_OK);
  done = true;
  watcher.join();
  skin_test::DrainMessages();
  return geometry;
}

class SkinnedMessageBox : public ::testing::Test {
 protected:
  void SetUp() override {
    skin::FreeSkinManager();
    owner_ = std::make_unique<gui::TComponent>(nullptr);
    data_ = new skin::TSkinData(owner_.get());
    data_->SetLoadingState(true);
    data_->SetActive(true);
    ASSERT_TRUE(data_->ReadBinaryProperty("SkinStream", skin_test::SkinStreamOf(skin_test::DefaultSkinArchive())));
    data_->SetLoadingState(false);
    data_->Loaded();
    skin::EnsureSkinManager().SetDefaultWindowIcon(data_, gui::TBitmap(16, 16));
  }
  void TearDown() override {
    owner_.reset();
    skin::FreeSkinManager();
    skin_test::DrainMessages();
  }
  void SetSkinning(bool on) {
    data_->SetActive(on);
    skin_test::WaitForPendingAction();
  }

  gui::TApplication app_;
  std::unique_ptr<gui::TComponent> owner_;
  skin::TSkinData* data_ = nullptr;
};

}  // namespace

TEST_F(SkinnedMessageBox, ALongCaptionWidensTheBoxAndMovesItsButtonsByHalfTheGrowth) {
  const wchar_t* caption = L"A caption far longer than the little message below it could ever need";
  SetSkinning(false);
  const BoxGeometry plain = MeasureBox(L"x", caption);
  SetSkinning(true);
  const BoxGeometry skinned = MeasureBox(L"x", caption);
  ASSERT_TRUE(plain.seen);
  ASSERT_TRUE(skinned.seen);
  EXPECT_FALSE(plain.skinned);
  ASSERT_TRUE(skinned.skinned);
  const int growth = skinned.clientWidth - plain.clientWidth;
  EXPECT_GT(growth, 100);
  EXPECT_EQ(skinned.buttonLeft - plain.buttonLeft, growth / 2);
}

TEST_F(SkinnedMessageBox, AShortCaptionKeepsTheBoxAndItsButtons) {
  SetSkinning(false);
  const BoxGeometry plain = MeasureBox(L"Do you wish to save the changes?", L"Notes");
  SetSkinning(true);
  const BoxGeometry skinned = MeasureBox(L"Do you wish to save the changes?", L"Notes");
  ASSERT_TRUE(skinned.skinned);
  EXPECT_EQ(skinned.clientWidth, plain.clientWidth);
  EXPECT_EQ(skinned.buttonLeft, plain.buttonLeft);
}
