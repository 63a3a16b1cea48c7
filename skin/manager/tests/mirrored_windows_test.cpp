// Right-to-left windows (WS_EX_LAYOUTRTL), as Arabic and Hebrew programs
// make them, under the skin. A skinned mirrored window is checked against
// the same window left to right (the skin draws it reflected as a whole)
// and against itself unskinned (the sides the system puts things on), and
// its text against the same text drawn unmirrored.
#include <gtest/gtest.h>
#include <windows.h>

#include <span>
#include <string>
#include <vector>

#include "gui/handles.h"
#include "skin/data/skin_bitmap_ops.h"
#include "skin/data/skin_data.h"
#include "skin/data/tests/pixel_checks.h"
#include "skin/data/tests/test_skins.h"
#include "skin/form/skin_form.h"
#include "skin/manager/skin_manager.h"
#include "skin/manager/tests/program_fixture.h"

namespace {

using skin::testing::Ink;

LRESULT CALLBACK PlainProc(HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  return DefWindowProcW(wnd, msg, wParam, lParam);
}

HWND MakeWindow(DWORD exStyle, DWORD style, int x, const wchar_t* caption = L"RTL probe", HMENU menu = nullptr) {
  WNDCLASSW wc{};
  if (!GetClassInfoW(GetModuleHandleW(nullptr), L"MirroredProbe", &wc)) {
    wc.lpfnWndProc = PlainProc;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.lpszClassName = L"MirroredProbe";
    wc.hCursor = LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_ARROW));
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    RegisterClassW(&wc);
  }
  return CreateWindowExW(exStyle, L"MirroredProbe", caption, style, x, 40, 360, 240, nullptr, menu,
                         GetModuleHandleW(nullptr), nullptr);
}

// The window as the screen shows it (a copy through its own window DC
// would reflect a mirrored window back).
gui::TBitmap ShownShot(HWND wnd) {
  RedrawWindow(wnd, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_UPDATENOW | RDW_ALLCHILDREN);
  skin_test::DrainMessages();
  RECT r{};
  GetWindowRect(wnd, &r);
  gui::TBitmap shot(r.right - r.left, r.bottom - r.top);
  const gui::WindowDc dc = gui::WindowDc::Whole(wnd);
  const gui::SavedDcState saved(dc.get());
  SetLayout(dc.get(), 0);
  BitBlt(shot.DC(), 0, 0, shot.Width(), shot.Height(), dc.get(), 0, 0, SRCCOPY);
  return shot;
}

LRESULT HitAt(HWND wnd, int x, int y) {
  RECT r{};
  GetWindowRect(wnd, &r);
  return SendMessageW(wnd, WM_NCHITTEST, 0, MAKELPARAM(r.left + x, r.top + y));
}

// The middle of the points of the title band that answer `code`, as a share
// of the window's width in per cent (-1: none).
int CentreOf(HWND wnd, LRESULT code, int bandHeight) {
  RECT r{};
  GetWindowRect(wnd, &r);
  const int w = r.right - r.left;
  long sum = 0, count = 0;
  for (int x = 0; x < w; ++x)
    if (HitAt(wnd, x, bandHeight / 2) == code) {
      sum += x;
      ++count;
    }
  return count ? static_cast<int>(100 * sum / count / w) : -1;
}

int Mirrored(int code) {
  switch (code) {
    case HTLEFT: return HTRIGHT;
    case HTRIGHT: return HTLEFT;
    case HTTOPLEFT: return HTTOPRIGHT;
    case HTTOPRIGHT: return HTTOPLEFT;
    case HTBOTTOMLEFT: return HTBOTTOMRIGHT;
    case HTBOTTOMRIGHT: return HTBOTTOMLEFT;
    default: return code;
  }
}

class MirroredWindows : public engine_test::TProgramTest {
 protected:
  static void Activate(HWND wnd) {
    ShowWindow(wnd, SW_SHOW);
    SetActiveWindow(wnd);
    Settle();
  }
  static RECT ShownCaption(HWND wnd) {
    skin::TWinSkinForm* skinner = skin::SkinManager->FindFormSkinner(wnd);
    if (!skinner) return RECT{};
    const skin::TFrameInput in = skinner->FrameInput();
    return skin::ShownRect(in, skin::LayoutFrame(in).CaptionText);
  }
};

// The frame: the left-to-right frame reflected whole (caption buttons on
// the left, the icon on the right, the borders swapped, the region
// mirrored), the caption reading as it does left to right, hit tests
// answering for the side the screen shows, the boxes on the side the
// system's mirrored frame has them.
TEST_F(MirroredWindows, TheFrameIsTheLeftToRightOneReflectedWithItsCaptionReadable) {
  HWND ltr = MakeWindow(0, WS_OVERLAPPEDWINDOW, 20);
  HWND rtl = MakeWindow(WS_EX_LAYOUTRTL, WS_OVERLAPPEDWINDOW, 420);
  ASSERT_TRUE(ltr && rtl);
  const int caption = GetSystemMetrics(SM_CYCAPTION) + GetSystemMetrics(SM_CYFRAME);
  const int systemClose = CentreOf(rtl, HTCLOSE, caption), systemLtrClose = CentreOf(ltr, HTCLOSE, caption);
  ASSERT_GE(systemClose, 0);
  EXPECT_LT(systemClose, 50);
  EXPECT_GT(systemLtrClose, 50);

  Activate(ltr);
  ASSERT_NE(skin::SkinManager->FindFormSkinner(ltr), nullptr);
  gui::TBitmap left = ShownShot(ltr);
  const RECT leftCaption = ShownCaption(ltr);
  Activate(rtl);
  ASSERT_NE(skin::SkinManager->FindFormSkinner(rtl), nullptr);
  const gui::TBitmap right = ShownShot(rtl);
  const RECT rightCaption = ShownCaption(rtl);
  ASSERT_EQ(left.Width(), right.Width());
  const int w = left.Width();
  EXPECT_EQ(rightCaption.left, w - leftCaption.right);

  // The same region (in the window's own coordinates, which the system
  // reflects for a mirrored window).
  gui::RegionHandle leftRegion(CreateRectRgn(0, 0, 0, 0)), rightRegion(CreateRectRgn(0, 0, 0, 0));
  ASSERT_NE(GetWindowRgn(ltr, leftRegion.get()), ERROR);
  ASSERT_NE(GetWindowRgn(rtl, rightRegion.get()), ERROR);
  EXPECT_TRUE(EqualRgn(leftRegion.get(), rightRegion.get()));

  // Every pixel of the frame inside the region is the left-to-right one's
  // reflection, but for the caption.
  skin::MirrorBitmap(left);
  RECT client{};
  GetClientRect(rtl, &client);
  MapWindowPoints(rtl, nullptr, reinterpret_cast<POINT*>(&client), 2);
  RECT window{};
  GetWindowRect(rtl, &window);
  OffsetRect(&client, -window.left, -window.top);
  int differing = 0, compared = 0;
  for (int y = 0; y < right.Height(); ++y)
    for (int x = 0; x < w; ++x) {
      const POINT p{x, y};
      if (PtInRect(&client, p) || PtInRect(&rightCaption, p) || !PtInRegion(rightRegion.get(), w - 1 - x, y)) continue;
      ++compared;
      differing += left.Pixel(x, y) != right.Pixel(x, y);
    }
  EXPECT_GT(compared, 1000);
  EXPECT_EQ(differing, 0);

  // The caption reads as it does left to right.
  const COLORREF text = gui::ColorToRGB(data_->Skin().Colours.TitleTextActive);
  const auto isText = [text](COLORREF c) { return c == text; };
  skin::MirrorBitmap(left);
  const std::vector<std::string> ink = Ink(right, rightCaption, isText);
  EXPECT_FALSE(ink.empty());
  EXPECT_EQ(ink, Ink(left, leftCaption, isText));

  // Hit tests name the side the screen shows, and the skin's boxes stand
  // where the system's mirrored frame has its own.
  for (int y = 0; y < right.Height(); y += 7)
    for (int x = 0; x < w; x += 5)
      ASSERT_EQ(HitAt(rtl, x, y), Mirrored(static_cast<int>(HitAt(ltr, w - 1 - x, y)))) << x << "," << y;
  const int skinnedClose = CentreOf(rtl, HTCLOSE, caption);
  ASSERT_GE(skinnedClose, 0);
  EXPECT_LT(skinnedClose, 50);
  EXPECT_NEAR(skinnedClose, 100 - CentreOf(ltr, HTCLOSE, caption), 2);
  DestroyWindow(ltr);
  DestroyWindow(rtl);
  Settle();
}

// The skin's pictures are reflected with a mirrored frame, as the system
// reflects bitmaps there; a frame piece whose key says Mirror=0 (a logo) is
// shown as it is.
TEST_F(MirroredWindows, FramePicturesAreReflectedUnlessTheSkinKeepsThemAsTheyAre) {
  constexpr COLORREF kStart = RGB(200, 40, 40), kEnd = RGB(40, 40, 200);
  for (const std::string mirror : {"", "TopMirror=0\r\n"}) {
    SCOPED_TRACE(mirror);
    std::string definition = skin_test::WholeSkinDefinition("Logo");
    const std::string top = "Top=frame_top.bmp\r\n";
    definition.replace(definition.find(top), top.size(), "Top=logo_top.bmp\r\nTopTopHeight=3\r\nTopBotHeight=3\r\n" + mirror);
    core::TSkinWriter writer;
    writer.AddEntry("skin.ini", std::span(reinterpret_cast<const std::uint8_t*>(definition.data()), definition.size()));
    skin_test::AddFramePictures(writer);
    writer.AddEntry("logo_top.bmp", gui_test::StripBmp(3, 20, {kStart, RGB(70, 90, 120), kEnd}));
    data_->SkinArchive = core::ByteStream(core::LzhCompress(writer.BuildContainer()));
    ASSERT_TRUE(data_->LoadSkin());
    HWND ltr = MakeWindow(0, WS_OVERLAPPEDWINDOW, 20, L"");
    HWND rtl = MakeWindow(WS_EX_LAYOUTRTL, WS_OVERLAPPEDWINDOW, 420, L"");
    Activate(ltr);
    Activate(rtl);
    const gui::TBitmap left = ShownShot(ltr), right = ShownShot(rtl);
    // Just inside the 4-pixel sides, in the 20-pixel band.
    EXPECT_EQ(left.Pixel(5, 10), kStart);
    EXPECT_EQ(right.Pixel(5, 10), mirror.empty() ? kEnd : kStart);
    EXPECT_EQ(right.Pixel(right.Width() - 6, 10), mirror.empty() ? kStart : kEnd);
    DestroyWindow(ltr);
    DestroyWindow(rtl);
    Settle();
  }
}

}  // namespace
