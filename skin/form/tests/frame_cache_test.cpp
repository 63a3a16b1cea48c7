// The skinned frame's composed picture and its window region: a frame
// painted from the picture looks exactly like one composed afresh, whatever
// changed in between (caption, size, active state, skin), and the region is
// handed to the system again only when it changes.
#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

#include "gui/bitmap.h"
#include "gui/forms.h"
#include "skin/data/skin_data.h"
#include "skin/data/tests/pixel_checks.h"
#include "skin/data/tests/test_skins.h"
#include "skin/form/skin_form.h"
#include "skin/form/tests/form_fixture.h"
#include "tests/support/import_patch.h"

namespace {

using skin::TWinSkinForm;

int g_regionCalls = 0;
decltype(&SetWindowRgn) g_setWindowRgn = nullptr;

int WINAPI CountingSetWindowRgn(HWND wnd, HRGN region, BOOL redraw) {
  ++g_regionCalls;
  return g_setWindowRgn(wnd, region, redraw);
}

using skin_test::DarkSkinPath;

class FrameCacheTest : public form_test::DefaultSkinTest {
 protected:
  void SetUp() override {
    DefaultSkinTest::SetUp();
    app_ = std::make_unique<gui::TApplication>();
  }
  void TearDown() override {
    app_.reset();
    DefaultSkinTest::TearDown();
  }

  // A framework form of the given client size and caption, skinned.
  TWinSkinForm* Skinned(const wchar_t* caption, int clientWidth = 290, int clientHeight = 310) {
    auto* form = new gui::TForm(app_.get());
    form->InitFromText("object Form" + std::to_string(++forms_) +
                       ": TForm\n  Left = 60\n  Top = 60\n  BorderStyle = bsSingle\n  ClientWidth = " +
                       std::to_string(clientWidth) + "\n  ClientHeight = " + std::to_string(clientHeight) +
                       "\nend\n");
    form->HandleNeeded();
    SetWindowTextW(form->Handle(), caption);
    form->Show();
    skin_test::DrainMessages();
    if (!host_.FindFormSkinner(form->Handle())) host_.SkinWindow(form->Handle());
    skin_test::DrainMessages();
    return host_.FindFormSkinner(form->Handle());
  }

  // The whole frame as painted now, drawn active.
  static gui::TBitmap Painted(TWinSkinForm& form) {
    SendMessageW(form.Handle(), WM_NCACTIVATE, TRUE, 0);
    RECT r{};
    GetWindowRect(form.Handle(), &r);
    gui::TBitmap picture(r.right - r.left, r.bottom - r.top);
    form.PaintNonClient(picture.DC());
    return picture;
  }

  // The form's painted frame against a window skinned just now with the
  // same caption and size, whose first paint composes its frame afresh.
  ::testing::AssertionResult PaintsAsFresh(TWinSkinForm& form, const wchar_t* caption) {
    RECT client{};
    GetClientRect(form.Handle(), &client);
    TWinSkinForm* fresh = Skinned(caption, client.right, client.bottom);
    if (!fresh) return ::testing::AssertionFailure() << "the reference window was not skinned";
    gui::TBitmap want = Painted(*fresh);
    gui::TBitmap got = Painted(form);
    if (got.Width() != want.Width() || got.Height() != want.Height())
      return ::testing::AssertionFailure() << "sizes differ";
    return skin::testing::PixelsAre(got, [&want](int x, int y) { return want.Pixel(x, y); });
  }

  std::unique_ptr<gui::TApplication> app_;
  int forms_ = 0;
};

TEST_F(FrameCacheTest, CachedFramePaintsAsComposedAfresh) {
  TWinSkinForm* form = Skinned(L"Settings");
  ASSERT_NE(form, nullptr);
  gui::TBitmap first = Painted(*form);
  const int composed = form->FrameComposeCount();
  gui::TBitmap again = Painted(*form);
  EXPECT_EQ(form->FrameComposeCount(), composed) << "nothing changed, yet the frame was composed again";
  EXPECT_TRUE(skin::testing::PixelsAre(again, [&first](int x, int y) { return first.Pixel(x, y); }));

  // A caption button drawn hot is drawn on its own, over the picture.
  for (auto& button : form->SysButtons())
    if (form->PlaceOf(*button).Visible) form->PaintSysButton(*button, skin::TNCObject::stHot);
  EXPECT_EQ(form->FrameComposeCount(), composed);

  // Inactive and back: each state its own picture, the active one as before.
  SendMessageW(form->Handle(), WM_NCACTIVATE, FALSE, 0);
  RECT r{};
  GetWindowRect(form->Handle(), &r);
  gui::TBitmap inactive(r.right - r.left, r.bottom - r.top);
  form->PaintNonClient(inactive.DC());
  EXPECT_FALSE(skin::testing::PixelsAre(inactive, [&first](int x, int y) { return first.Pixel(x, y); }));
  gui::TBitmap reactivated = Painted(*form);
  EXPECT_TRUE(skin::testing::PixelsAre(reactivated, [&first](int x, int y) { return first.Pixel(x, y); }));

  SetWindowTextW(form->Handle(), L"Settings of the program, renamed");
  EXPECT_TRUE(PaintsAsFresh(*form, L"Settings of the program, renamed"));

  SetWindowPos(form->Handle(), nullptr, 0, 0, r.right - r.left + 57, r.bottom - r.top + 23,
               SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  skin_test::DrainMessages();
  EXPECT_TRUE(PaintsAsFresh(*form, L"Settings of the program, renamed"));

  const std::uint32_t generation = data_->SkinGeneration();
  data_->SetSkinFile(DarkSkinPath());
  ASSERT_EQ(data_->SkinName(), "Nightfall");
  host_.SkinChanged();
  skin_test::DrainMessages();
  EXPECT_NE(data_->SkinGeneration(), generation);
  EXPECT_TRUE(PaintsAsFresh(*form, L"Settings of the program, renamed"));
}

TEST_F(FrameCacheTest, RegionGoesToTheSystemOnlyWhenItChanges) {
  test_support::TImportPatch patch("user32.dll", "SetWindowRgn", reinterpret_cast<void*>(&CountingSetWindowRgn));
  ASSERT_TRUE(patch.Patched());
  g_setWindowRgn = reinterpret_cast<decltype(&SetWindowRgn)>(patch.Original());
  g_regionCalls = 0;
  TWinSkinForm* form = Skinned(L"Settings");
  ASSERT_NE(form, nullptr);
  ASSERT_TRUE(form->RegionSet());
  EXPECT_GE(g_regionCalls, 1);

  // Moving, activating, renaming and repainting leave the region as it is.
  g_regionCalls = 0;
  RECT r{};
  GetWindowRect(form->Handle(), &r);
  const int w = r.right - r.left, h = r.bottom - r.top;
  for (int step = 1; step <= 5; ++step)
    SetWindowPos(form->Handle(), nullptr, r.left + step * 7, r.top + step * 3, 0, 0,
                 SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  SendMessageW(form->Handle(), WM_NCACTIVATE, FALSE, 0);
  SendMessageW(form->Handle(), WM_NCACTIVATE, TRUE, 0);
  SetWindowTextW(form->Handle(), L"Renamed");
  SetWindowPos(form->Handle(), nullptr, 0, 0, w, h, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
  form->UpdateRegion();
  skin_test::DrainMessages();
  EXPECT_EQ(g_regionCalls, 0);

  // A new size gives a new region, once, cut to the new size.
  SetWindowPos(form->Handle(), nullptr, 0, 0, w + 40, h + 30, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  skin_test::DrainMessages();
  form->UpdateRegion();
  EXPECT_EQ(g_regionCalls, 1);
  gui::RegionHandle region(CreateRectRgn(0, 0, 0, 0));
  ASSERT_NE(GetWindowRgn(form->Handle(), region.get()), ERROR);
  RECT box{};
  GetRgnBox(region.get(), &box);
  EXPECT_EQ(box.right, w + 40);
  EXPECT_EQ(box.bottom, h + 30);
  EXPECT_FALSE(PtInRegion(region.get(), 0, 0));  // the rounded corner

  // Another skin, even at the same size, gives a new region.
  g_regionCalls = 0;
  data_->SetSkinFile(DarkSkinPath());
  host_.SkinChanged();
  skin_test::DrainMessages();
  EXPECT_GE(g_regionCalls, 1);
  EXPECT_TRUE(form->RegionSet());
}

}  // namespace
