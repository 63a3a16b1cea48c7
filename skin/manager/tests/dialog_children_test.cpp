// A dialog box that is not one of our forms, made here with an edit box, a
// combo box, a track bar, up-down arrows and a progress bar: skinning it
// gives each child its skinner, and the track bar's thumb, whose drawing is
// asked of the dialog, comes from the skin.
#include <gtest/gtest.h>
#include <windows.h>
#include <commctrl.h>

#include "skin/controls/skin_ranges.h"
#include "skin/controls/tests/controls_fixture.h"
#include "skin/data/skin_draw.h"
#include "skin/form/skin_form.h"
#include "skin/manager/skin_manager.h"
#include "skin/manager/tests/engine_fixture.h"

namespace {

class DialogChildrenTest : public engine_test::DefaultSkinTest {
 protected:
  void SetUp() override {
    INITCOMMONCONTROLSEX icc{sizeof(icc), ICC_BAR_CLASSES | ICC_UPDOWN_CLASS | ICC_PROGRESS_CLASS};
    InitCommonControlsEx(&icc);
    engine_test::DefaultSkinTest::SetUp();
  }
};

TEST_F(DialogChildrenTest, EachChildGetsTheSkinnerOfItsClass) {
  HWND box = CreateWindowExW(0, L"#32770", L"Ranges", WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_VISIBLE, 40, 40, 360,
                             240, nullptr, nullptr, nullptr, nullptr);
  ASSERT_NE(box, nullptr);
  const auto child = [&](const wchar_t* cls, DWORD style, int x, int y, int w, int h) {
    return CreateWindowExW(0, cls, L"", WS_CHILD | WS_VISIBLE | style, x, y, w, h, box, nullptr, nullptr, nullptr);
  };
  HWND edit = child(L"EDIT", WS_BORDER, 10, 10, 120, 22);
  HWND combo = child(L"COMBOBOX", CBS_DROPDOWNLIST, 10, 40, 120, 120);
  HWND simple = child(L"COMBOBOX", CBS_SIMPLE, 200, 100, 120, 80);
  HWND track = child(TRACKBAR_CLASSW, 0, 10, 70, 200, 36);
  HWND arrows = child(UPDOWN_CLASSW, 0, 140, 10, 18, 30);
  HWND progress = child(PROGRESS_CLASSW, 0, 10, 120, 180, 18);
  SendMessageW(track, TBM_SETRANGE, TRUE, MAKELPARAM(0, 10));
  SendMessageW(progress, PBM_SETPOS, 40, 0);
  ASSERT_TRUE(skin::ThreadSkinManager()->SkinWindow(box));
  skin::TWinSkinForm* form_skinner = skin::ThreadSkinManager()->FindFormSkinner(box);
  ASSERT_NE(form_skinner, nullptr);
  skin_test::DrainMessages();
  const auto skinnerOf = [&](HWND wnd) { return controls_test::SkinnerClassOf(*form_skinner, wnd); };
  EXPECT_EQ(skinnerOf(edit), "TSkinEdit");
  EXPECT_EQ(skinnerOf(combo), "TSkinComBox");
  EXPECT_EQ(skinnerOf(simple), "TSkinComBox");
  EXPECT_EQ(skinnerOf(track), "TSkinTrackBar");
  EXPECT_EQ(skinnerOf(arrows), "TSkinUpDown");
  EXPECT_EQ(skinnerOf(progress), "TSkinProgress");

  // The thumb: frame 2 of the skin's strip, stretched over the thumb.
  skin::TDataSkinObject* thumbElement = data_->Skin().TrackbarThumbHorz.get();
  ASSERT_NE(thumbElement, nullptr);
  gui::TBitmap shot = controls_test::Snapshot(track);
  RECT thumb{};
  SendMessageW(track, TBM_GETTHUMBRECT, 0, reinterpret_cast<LPARAM>(&thumb));
  const int tw = thumb.right - thumb.left, th = thumb.bottom - thumb.top;
  gui::TBitmap expected(tw, th);
  const RECT whole{0, 0, tw, th};
  skin::DrawFrame(expected.DC(), whole, thumbElement->Image, false, thumbElement->FrameCount, 2);
  int same = 0;
  for (int y = 0; y < th; ++y)
    for (int x = 0; x < tw; ++x) same += shot.Pixel(thumb.left + x, thumb.top + y) == expected.Pixel(x, y);
  // Magenta corners of the picture show the channel behind them.
  EXPECT_GT(same, tw * th * 3 / 4);
  DestroyWindow(box);
}

}  // namespace
