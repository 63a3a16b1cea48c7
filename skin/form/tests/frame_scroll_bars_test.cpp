// A skinned plain window's own scroll bars under the mouse: the part under
// it shows its hot look, fading in as the skin's ScrollBar timings say,
// until the mouse leaves the non-client area.
#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <cstdint>

#include "skin/data/look_transitions.h"
#include "skin/form/tests/form_fixture.h"

namespace {

using skin::TLookTransitions;

LRESULT CALLBACK PlainProc(HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  return DefWindowProcW(wnd, msg, wParam, lParam);
}

class FrameScrollBarsTest : public form_test::DefaultSkinTest {
 protected:
  void SetUp() override {
    DefaultSkinTest::SetUp();
    data_->SetSkinStream(skin_test::DefaultSkinArchiveAdding("[Animation]\r\nScrollBar.HoverIn=200\r\n"));
    ASSERT_TRUE(data_->LoadSkin());
    TLookTransitions::OfThread().SetTickSource([this] { return now_; });
  }
  void TearDown() override {
    TLookTransitions::OfThread().SetTickSource({});
    DefaultSkinTest::TearDown();
  }
  std::uint32_t now_ = 5000;
};

TEST_F(FrameScrollBarsTest, TheBarPartUnderTheMouseFadesHotUntilTheMouseLeaves) {
  const HWND wnd = skin_test::CreateTestWindow(L"FrameBarsTest", PlainProc, L"bars",
                                               WS_OVERLAPPEDWINDOW | WS_VSCROLL, 60, 60, 300, 220);
  SCROLLINFO range{sizeof(SCROLLINFO), SIF_ALL, 0, 100, 10, 0, 0};
  SetScrollInfo(wnd, SB_VERT, &range, TRUE);
  ShowWindow(wnd, SW_SHOWNOACTIVATE);
  ASSERT_TRUE(host_.SkinWindow(wnd));
  skin_test::DrainMessages();  // the frame is fitted
  skin::TWinSkinForm& skinner = *host_.FindFormSkinner(wnd);
  SCROLLBARINFO bar{};
  bar.cbSize = sizeof(bar);
  ASSERT_TRUE(GetScrollBarInfo(wnd, OBJID_VSCROLL, &bar));
  RECT window{};
  GetWindowRect(wnd, &window);
  // The up arrow's middle, on the screen and in the window.
  const POINT screen{(bar.rcScrollBar.left + bar.rcScrollBar.right) / 2, bar.rcScrollBar.top + 3};
  const POINT at{screen.x - window.left, screen.y - window.top};

  const COLORREF normal = form_test::PaintedFrame(skinner).Pixel(at.x, at.y);
  EXPECT_EQ(SendMessageW(wnd, WM_NCMOUSEMOVE, HTVSCROLL, MAKELPARAM(screen.x, screen.y)), 0);
  now_ += 100;
  const COLORREF middle = form_test::PaintedFrame(skinner).Pixel(at.x, at.y);
  EXPECT_EQ(TLookTransitions::OfThread().Fading(), 3) << "the arrow, the track and the thumb of the bar under the mouse";
  now_ += 100;
  TLookTransitions::OfThread().Tick();
  const COLORREF hot = form_test::PaintedFrame(skinner).Pixel(at.x, at.y);
  EXPECT_FALSE(TLookTransitions::OfThread().TimerRunning());
  ASSERT_NE(normal, hot);
  int between = 0;
  for (const int shift : {0, 8, 16}) {
    const int a = (normal >> shift) & 0xFF, m = (middle >> shift) & 0xFF, b = (hot >> shift) & 0xFF;
    EXPECT_TRUE(m >= std::min(a, b) - 1 && m <= std::max(a, b) + 1) << "channel " << shift;
    between += m != a && m != b;
  }
  EXPECT_GT(between, 0);

  // Gone from the non-client area (no HoverOut declared): at once.
  SendMessageW(wnd, WM_NCMOUSELEAVE, 0, 0);
  EXPECT_EQ(form_test::PaintedFrame(skinner).Pixel(at.x, at.y), normal);
  DestroyWindow(wnd);
}

}  // namespace
