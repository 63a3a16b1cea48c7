// Skinned scroll bars on real windows: where the bars lie for each layout
// and where the thumb stands (checked against the system's own), the thumb
// and arrows by pixel for the edge cases of the thumb metrics, empty and
// disabled bars, bars the control changes itself, skin changes, the skin's
// own thumb drag with its notification order, and the stand-alone
// scroll-bar control.
#include "skin/controls/skin_scrollbar.h"

#include <gtest/gtest.h>
#include <uxtheme.h>

#include <algorithm>
#include <memory>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

#include "gui/bitmap.h"
#include "gui/lists.h"
#include "gui/ranges.h"
#include "skin/controls/tests/controls_fixture.h"
#include "tests/support/message_sequence.h"

namespace {

using controls_test::Control;
using msgseq::TMsgEntry;

// Solid colours of the test skin's scroll-bar pictures.
constexpr COLORREF kBarColour = RGB(30, 30, 30);
constexpr COLORREF kTrack = RGB(0, 160, 0), kThumb = RGB(0, 0, 190), kThumbDragged = RGB(190, 190, 0);
constexpr COLORREF kMagenta = RGB(255, 0, 255);
constexpr COLORREF ArrowColour(int frame) { return RGB(10 * frame, 5, 5); }

// Without bars: a skin that leaves scroll bars to the system. `thumbTrans`:
// the thumbs' Trans key, their normal frame then magenta.
std::vector<std::uint8_t> ScrollSkinArchive(bool bars = true, int thumbTrans = -1) {
  core::TSkinWriter writer;
  const std::string trans = thumbTrans < 0 ? "" : "Trans=" + std::to_string(thumbTrans) + "\r\n";
  const std::string definition =
      skin_test::WholeSkinDefinition("Bars") + "[Colours]\r\nScrollbar=30 30 30\r\nButtonFace=60 60 60\r\n" +
      std::string(bars ? "[Scrollbar]\r\nImage=arrows.bmp\r\n" : "") +
      "[HorzScroll]\r\nImage=track.bmp\r\n[VertScroll]\r\nImage=track.bmp\r\n"
      "[HorzScrollThumb]\r\nImage=thumb.bmp\r\nFrameCount=2\r\n" + trans +
      "[VertScrollThumb]\r\nImage=thumb.bmp\r\nFrameCount=2\r\n" + trans;
  writer.AddEntry("skin.ini", std::span(reinterpret_cast<const std::uint8_t*>(definition.data()), definition.size()));
  skin_test::AddFramePictures(writer);
  std::vector<COLORREF> arrows;
  for (int frame = 1; frame <= 23; ++frame) arrows.push_back(ArrowColour(frame));
  writer.AddEntry("arrows.bmp", controls_test::StripBmp(8, 8, arrows));
  writer.AddEntry("track.bmp", controls_test::StripBmp(8, 8, {kTrack, RGB(1, 1, 1), RGB(2, 2, 2), RGB(3, 3, 3)}));
  writer.AddEntry("thumb.bmp", controls_test::StripBmp(8, 8, {thumbTrans < 0 ? kThumb : kMagenta, kThumbDragged}));
  return core::LzhCompress(writer.BuildContainer());
}

// Freed when the window gets WM_APP: a skinner freed by a message its own
// drag loop dispatches.
std::unique_ptr<skin::TSkinScrollbar> g_freedOnApp;

LRESULT CALLBACK ScrolledProc(HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  if ((msg == WM_VSCROLL || msg == WM_HSCROLL) && msgseq::TMessageLog::Active())
    msgseq::TMessageLog::Active()->Record(wnd, msg, wParam, lParam);
  if (msg == WM_APP) g_freedOnApp.reset();
  return DefWindowProcW(wnd, msg, wParam, lParam);
}

// A bordered top-level window with window scroll bars.
struct ScrolledWindow {
  HWND wnd;
  ScrolledWindow(DWORD style, DWORD exStyle, int width, int height) {
    wnd = skin_test::CreateTestWindow(L"ScrollBarsTest", ScrolledProc, L"bars", WS_POPUP | WS_BORDER | style, 60,
                                      60, width, height);
    SetWindowLongPtrW(wnd, GWL_EXSTYLE, exStyle);
    SetWindowPos(wnd, nullptr, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_FRAMECHANGED);
    ShowWindow(wnd, SW_SHOWNOACTIVATE);
  }
  ~ScrolledWindow() { DestroyWindow(wnd); }
  void SetRange(int bar, int min, int max, int page, int pos) const {
    SCROLLINFO info{sizeof(info), SIF_ALL | SIF_DISABLENOSCROLL, min, max, static_cast<UINT>(page), pos, 0};
    SetScrollInfo(wnd, bar, &info, TRUE);
  }
  RECT WindowOrigin() const {
    RECT r;
    GetWindowRect(wnd, &r);
    return r;
  }
  // The system's own rectangle of a bar, in window coordinates.
  RECT SystemBar(LONG object) const {
    SCROLLBARINFO info{};
    info.cbSize = sizeof(info);
    GetScrollBarInfo(wnd, object, &info);
    const RECT w = WindowOrigin();
    RECT r = info.rcScrollBar;
    OffsetRect(&r, -w.left, -w.top);
    return r;
  }
};

class ScrollbarTest : public ::testing::Test {
 protected:
  void SetUp() override {
    data_ = controls_test::LoadData(ScrollSkinArchive());
    ASSERT_NE(data_, nullptr);
    arrow_ = GetSystemMetrics(SM_CXHSCROLL);
  }
  // A skinner on a bare window (it frees itself with the test).
  // With `ownThumbTracking` a press on a thumb is the skinner's drag.
  std::unique_ptr<skin::TSkinScrollbar> Skin(HWND wnd, bool ownThumbTracking = false) {
    auto s = std::make_unique<skin::TSkinScrollbar>(nullptr);
    s->Attach({.Window = wnd, .Data = data_.get(), .OwnThumbTracking = ownThumbTracking});
    return s;
  }
  // A stand-alone scroll-bar control under a skinner of its own.
  skin::TSkinScControl* SkinBar(gui::TForm* form, const char* name) {
    auto* s = new skin::TSkinScControl(form->FindComponent(name));
    s->AttachControl(nullptr, data_.get(), nullptr, false);
    return s;
  }
  // A form with the one horizontal scroll-bar control "Bar" the properties
  // describe, under a skinner of its own.
  struct TSkinnedBar {
    gui::TForm* Form;
    gui::TScrollBar* Bar;
    skin::TSkinScControl* Skinner;
  };
  TSkinnedBar OneSkinnedBar(gui::TApplication& app, const std::string& properties) {
    gui::TForm* form = controls_test::ShowForm(app, Control("Bar", "TScrollBar", 10, 10, 200, 17, properties));
    return {form, dynamic_cast<gui::TScrollBar*>(form->FindComponent("Bar")), SkinBar(form, "Bar")};
  }
  // What the skinner paints over the whole window, in a bitmap of its size.
  gui::TBitmap Painted(skin::TSkinControl& skinner, HWND wnd) {
    RECT r;
    GetWindowRect(wnd, &r);
    gui::TBitmap b(r.right - r.left, r.bottom - r.top);
    skinner.PaintSkin(b.DC());
    return b;
  }
  std::unique_ptr<skin::TSkinData> data_;
  int arrow_ = 0;
};

TEST_F(ScrollbarTest, BarsLieWhereTheSystemPutsThemForEveryLayout) {
  struct Layout {
    const char* name;
    DWORD style, exStyle;
  };
  const Layout layouts[] = {
      {"vertical", WS_VSCROLL, 0},
      {"horizontal", WS_HSCROLL, 0},
      {"both", WS_VSCROLL | WS_HSCROLL, 0},
      {"vertical on the left", WS_VSCROLL, WS_EX_LEFTSCROLLBAR},
      {"both, vertical on the left", WS_VSCROLL | WS_HSCROLL, WS_EX_LEFTSCROLLBAR},
  };
  for (const Layout& l : layouts) {
    SCOPED_TRACE(l.name);
    ScrolledWindow w(l.style, l.exStyle, 200, 150);
    if (l.style & WS_VSCROLL) w.SetRange(SB_VERT, 0, 100, 10, 0);
    if (l.style & WS_HSCROLL) w.SetRange(SB_HORZ, 0, 100, 10, 0);
    const bool both = (l.style & WS_VSCROLL) && (l.style & WS_HSCROLL);
    auto s = Skin(w.wnd);
    RECT r{0, 0, 200, 150};
    s->MeasureBars(r);
    // With both bars the system's rectangle of each reaches one pixel
    // further, into the corner (or the border past it); the skin paints the
    // corner square on its own.
    const auto expectBar = [&](const RECT& skinned, LONG object, LONG RECT::*intoCorner) {
      RECT sys = w.SystemBar(object);
      if (both) --(sys.*intoCorner);
      const auto text = [](const RECT& e) {
        return std::to_string(e.left) + "," + std::to_string(e.top) + "," + std::to_string(e.right) + "," +
               std::to_string(e.bottom);
      };
      EXPECT_TRUE(EqualRect(&skinned, &sys)) << text(skinned) << " / " << text(sys);
    };
    if (l.style & WS_VSCROLL) expectBar(s->Vert().Rect, OBJID_VSCROLL, &RECT::bottom);
    if (l.style & WS_HSCROLL) expectBar(s->Horz().Rect, OBJID_HSCROLL, &RECT::right);
    if (both) {
      // The corner square is painted with the face colour, between the bars.
      gui::TBitmap b = Painted(*s, w.wnd);
      EXPECT_EQ(s->CornerRect().left, s->Vert().Rect.left);
      EXPECT_EQ(s->CornerRect().top, s->Horz().Rect.top);
      EXPECT_EQ(b.Pixel(s->CornerRect().left + 2, s->CornerRect().top + 2), RGB(60, 60, 60));
    }
  }
}

TEST_F(ScrollbarTest, ThumbMetricsByPixel) {
  // Vertical bar only: the bar runs from the border's inside, top to bottom.
  ScrolledWindow w(WS_VSCROLL, 0, 100, 200);
  auto s = Skin(w.wnd);
  const RECT full{0, 0, 100, 200};
  auto column = [&](gui::TBitmap&) { return (s->Vert().Rect.left + s->Vert().Rect.right) / 2; };

  // The thumb stands where the system's own stands: the page against the
  // max - min + 1 positions, the free track over min .. max - page + 1.
  for (const auto& [page, pos] : {std::pair{100, 0}, {100, 1}, {10, 0}, {10, 45}, {10, 91}, {0, 30}}) {
    w.SetRange(SB_VERT, 0, 100, page, pos);
    s->MeasureBars(full);
    SCROLLBARINFO system{};
    system.cbSize = sizeof(system);
    ASSERT_TRUE(GetScrollBarInfo(w.wnd, OBJID_VSCROLL, &system));
    EXPECT_EQ(s->Vert().Metrics.Arrow + s->Vert().Metrics.Offset, system.xyThumbTop) << "page " << page << " at " << pos;
    EXPECT_EQ(s->Vert().Metrics.Thumb, system.xyThumbBottom - system.xyThumbTop) << "page " << page << " at " << pos;
  }
  // A page one line short of the range: that one line takes the thumb to the track's end.
  w.SetRange(SB_VERT, 0, 100, 100, 1);
  {
    gui::TBitmap b = Painted(*s, w.wnd);
    const int x = column(b), top = s->Vert().Rect.top, track = s->Vert().Metrics.Track;
    EXPECT_EQ(track, (s->Vert().Rect.bottom - top) - 2 * arrow_);
    EXPECT_EQ(b.Pixel(x, top + arrow_), kTrack);
    EXPECT_EQ(b.Pixel(x, top + arrow_ + track - 1), kThumb);
    EXPECT_EQ(b.Pixel(x, top + arrow_ + track), ArrowColour(13));
  }

  // No page: the system's thumb size, at the start and at the end of the track.
  const int system = GetSystemMetrics(SM_CXHTHUMB);
  w.SetRange(SB_VERT, 0, 50, 0, 0);
  {
    gui::TBitmap b = Painted(*s, w.wnd);
    const int x = column(b), start = s->Vert().Rect.top + arrow_;
    EXPECT_EQ(s->Vert().Metrics.Thumb, system);
    EXPECT_EQ(b.Pixel(x, start + system - 1), kThumb);
    EXPECT_EQ(b.Pixel(x, start + system), kTrack);
  }
  w.SetRange(SB_VERT, 0, 50, 0, 50);
  {
    gui::TBitmap b = Painted(*s, w.wnd);
    const int x = column(b), end = s->Vert().Rect.top + arrow_ + s->Vert().Metrics.Track;
    EXPECT_EQ(b.Pixel(x, end - system - 1), kTrack);
    EXPECT_EQ(b.Pixel(x, end - system), kThumb);
    EXPECT_EQ(b.Pixel(x, end - 1), kThumb);
  }
  // A long range keeps the thumb at its minimum length.
  w.SetRange(SB_VERT, 0, 100000, 1, 0);
  s->MeasureBars(full);
  EXPECT_EQ(s->Vert().Metrics.Thumb, skin::MinimumThumb(arrow_));
}

// Trans has the format's one reading, as everywhere: 1 leaves the magenta
// pixels undrawn, any other value draws the picture as it is.
TEST_F(ScrollbarTest, OnlyTrans1LeavesTheMagentaUndrawn) {
  ScrolledWindow w(WS_VSCROLL, 0, 100, 200);
  w.SetRange(SB_VERT, 0, 100, 10, 0);
  for (const auto& [trans, seen] : {std::pair{1, kTrack}, {2, kMagenta}, {0, kMagenta}}) {
    data_ = controls_test::LoadData(ScrollSkinArchive(true, trans));
    ASSERT_NE(data_, nullptr);
    auto s = Skin(w.wnd);
    gui::TBitmap b = Painted(*s, w.wnd);
    EXPECT_EQ(b.Pixel((s->Vert().Rect.left + s->Vert().Rect.right) / 2, s->Vert().Rect.top + arrow_ + 2), seen)
        << "Trans=" << trans;
  }
}

TEST_F(ScrollbarTest, ABarShorterThanTwoArrowsShowsTwoHalfArrowsAndNoThumb) {
  const int barLength = arrow_ + arrow_ / 2;  // shorter than two arrows
  ScrolledWindow w(WS_VSCROLL, 0, 100, barLength + 2);
  w.SetRange(SB_VERT, 0, 100, 10, 0);
  auto s = Skin(w.wnd);
  gui::TBitmap b = Painted(*s, w.wnd);
  ASSERT_EQ(s->Vert().Rect.bottom - s->Vert().Rect.top, barLength);
  const int x = (s->Vert().Rect.left + s->Vert().Rect.right) / 2, top = s->Vert().Rect.top, half = barLength / 2;
  EXPECT_EQ(b.Pixel(x, top), ArrowColour(9));
  EXPECT_EQ(b.Pixel(x, top + half - 1), ArrowColour(9));
  // An odd length leaves the middle pixel to the bar's colour.
  EXPECT_EQ(b.Pixel(x, top + barLength - half), ArrowColour(13));
  EXPECT_EQ(b.Pixel(x, top + barLength - 1), ArrowColour(13));
  for (int y = top; y < top + barLength; ++y) EXPECT_NE(b.Pixel(x, y), kThumb) << y;
}

TEST_F(ScrollbarTest, PressedPartsFollowTheScrollNotifications) {
  ScrolledWindow w(WS_HSCROLL | WS_VSCROLL, 0, 200, 150);
  w.SetRange(SB_VERT, 0, 100, 10, 0);
  w.SetRange(SB_HORZ, 0, 100, 10, 0);
  auto s = Skin(w.wnd);
  SendMessageW(w.wnd, WM_VSCROLL, SB_LINEDOWN, 0);
  EXPECT_EQ(s->PressedPart(), skin::spDownArrow);
  gui::TBitmap b = Painted(*s, w.wnd);
  const int x = (s->Vert().Rect.left + s->Vert().Rect.right) / 2;
  EXPECT_EQ(b.Pixel(x, s->Vert().Rect.bottom - 1), ArrowColour(14));
  EXPECT_EQ(b.Pixel(x, s->Vert().Rect.top), ArrowColour(9));
  SendMessageW(w.wnd, WM_HSCROLL, SB_LINELEFT, 0);
  EXPECT_EQ(s->PressedPart(), skin::spLeftArrow);
  b = Painted(*s, w.wnd);
  EXPECT_EQ(b.Pixel(s->Horz().Rect.left, (s->Horz().Rect.top + s->Horz().Rect.bottom) / 2), ArrowColour(2));
  SendMessageW(w.wnd, WM_HSCROLL, SB_ENDSCROLL, 0);
  EXPECT_EQ(s->PressedPart(), skin::spNone);
  // The system does not hot-track bars the skin paints.
  EXPECT_EQ(SendMessageW(w.wnd, WM_NCMOUSEMOVE, HTVSCROLL, 0), 0);
}

// An arrow under the mouse shows its hot frame, and the track its frame 4
// wherever the mouse is on the bar (a thumb strip of two frames has no hot
// frame), until the mouse leaves.
TEST_F(ScrollbarTest, TheBarPartUnderTheMouseLooksHotUntilTheMouseLeaves) {
  ScrolledWindow w(WS_VSCROLL, 0, 200, 150);
  w.SetRange(SB_VERT, 0, 100, 10, 0);
  auto s = Skin(w.wnd);
  gui::TBitmap b = Painted(*s, w.wnd);
  const RECT origin = w.WindowOrigin();
  const int x = (s->Vert().Rect.left + s->Vert().Rect.right) / 2;
  const int thumbY = s->Vert().Rect.top + arrow_ + s->Vert().Metrics.Offset + s->Vert().Metrics.Thumb / 2;
  const int trackY = s->Vert().Rect.bottom - arrow_ - 2;
  const auto hover = [&](int y) {
    SendMessageW(w.wnd, WM_NCMOUSEMOVE, HTVSCROLL, MAKELPARAM(origin.left + x, origin.top + y));
    return Painted(*s, w.wnd);
  };
  b = hover(s->Vert().Rect.top + 1);
  EXPECT_EQ(std::tuple(b.Pixel(x, s->Vert().Rect.top), b.Pixel(x, trackY)), std::tuple(ArrowColour(11), RGB(3, 3, 3)));
  b = hover(trackY);
  EXPECT_EQ(std::tuple(b.Pixel(x, s->Vert().Rect.top), b.Pixel(x, trackY)), std::tuple(ArrowColour(9), RGB(3, 3, 3)));
  b = hover(thumbY);
  EXPECT_EQ(std::tuple(b.Pixel(x, thumbY), b.Pixel(x, trackY)), std::tuple(kThumb, RGB(3, 3, 3)));
  b = hover(s->Vert().Rect.bottom - 1);
  EXPECT_EQ(b.Pixel(x, s->Vert().Rect.bottom - 1), ArrowColour(15));
  SendMessageW(w.wnd, WM_NCMOUSELEAVE, 0, 0);
  b = Painted(*s, w.wnd);
  EXPECT_EQ(std::tuple(b.Pixel(x, s->Vert().Rect.bottom - 1), b.Pixel(x, trackY)), std::tuple(ArrowColour(13), kTrack));
}

// A switch to a skin without bar pictures, and skin-off, give the bars
// back to the system at once.
TEST_F(ScrollbarTest, ASkinWithoutBarsAndSkinOffGiveTheBarsBack) {
  ScrolledWindow w(WS_VSCROLL, 0, 200, 150);
  w.SetRange(SB_VERT, 0, 100, 10, 0);
  auto s = Skin(w.wnd);
  const auto skinned = [&] {
    const gui::TBitmap shot = controls_test::Snapshot(w.wnd, false);
    return controls_test::CountColour(shot, RECT{0, 0, shot.Width(), shot.Height()}, ArrowColour(9)) > 0;
  };
  ASSERT_TRUE(skinned());
  data_->SetSkinStream(ScrollSkinArchive(false));
  ASSERT_TRUE(data_->LoadSkin());
  s->SkinChanged();
  EXPECT_FALSE(skinned()) << "skin without bars";
  data_->SetSkinStream(ScrollSkinArchive());
  ASSERT_TRUE(data_->LoadSkin());
  s->SkinChanged();
  ASSERT_TRUE(skinned());
  s.reset();
  EXPECT_FALSE(skinned()) << "skin off";
}

// Counts its paints.
struct CountedScrollbar : skin::TSkinScrollbar {
  using TSkinScrollbar::TSkinScrollbar;
  void PaintSkin(HDC dc) override {
    ++Paints;
    TSkinScrollbar::PaintSkin(dc);
  }
  int Paints = 0;
};

// A control that moves its bar itself draws the system's bar: the skin's is
// back by the end of the message, and painted again only on a change.
TEST_F(ScrollbarTest, ABarTheControlChangesIsSkinnedAgainByTheEndOfTheMessage) {
  const HWND list = CreateWindowExW(0, L"LISTBOX", L"", WS_POPUP | WS_VISIBLE | WS_VSCROLL | LBS_NOINTEGRALHEIGHT, 60,
                                    60, 150, 200, nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
  const auto add = [&](int count) {
    while (count-- > 0) SendMessageW(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(L"Item"));
  };
  add(30);
  CountedScrollbar s(nullptr);
  s.AttachWindow(list, data_.get(), nullptr, nullptr);
  EXPECT_EQ(s.Paints, 0) << "the attach draws nothing: the repaint it asks for draws the bars";
  skin_test::DrainMessages();
  // The screen before any paint the message left pending: the skin's arrow and thumb.
  const auto skinned = [&](COLORREF arrow = ArrowColour(9)) {
    const gui::TBitmap shot = gui_test::WholeWindowShot(list);
    const skin::TThumbMetrics& m = s.Vert().Metrics;
    const int x = (s.Vert().Rect.left + s.Vert().Rect.right) / 2, thumb = s.Vert().Rect.top + m.Arrow + m.Offset + m.Thumb / 2;
    return shot.Pixel(x, s.Vert().Rect.top) == arrow && (m.Thumb == 0 || shot.Pixel(x, thumb) == kThumb);
  };
  add(60);
  EXPECT_TRUE(skinned()) << "items added below the rows";
  SendMessageW(list, WM_MOUSEWHEEL, MAKEWPARAM(0, -WHEEL_DELTA), 0);
  EXPECT_TRUE(skinned()) << "wheel";
  SendMessageW(list, WM_KEYDOWN, VK_END, 0);
  EXPECT_TRUE(skinned()) << "End key";
  skin_test::DrainMessages();
  s.Paints = 0;
  for (int i = 0; i < 5; ++i) SendMessageW(list, WM_MOUSEMOVE, 0, MAKELPARAM(10, 10 + i));
  EXPECT_EQ(s.Paints, 0) << "nothing changed";
  // A program's call reaches the bar through no message of the control's:
  // the next one shows it, once the arrows are due to be asked for again.
  EnableScrollBar(list, SB_VERT, ESB_DISABLE_BOTH);
  Sleep(skin::TSkinScrollbar::kArrowsRecheckMs + 20);
  SendMessageW(list, WM_NULL, 0, 0);
  EXPECT_EQ(s.Paints, 1);
  EXPECT_TRUE(skinned(ArrowColour(12))) << "disabled";
  DestroyWindow(list);
}

// The window procedure under the skinner, counting the frame paints that
// reach it.
WNDPROC g_beneathSkin = nullptr;
int g_framePaintsBeneath = 0;

LRESULT CALLBACK CountFramePaints(HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  if (msg == WM_NCPAINT) ++g_framePaintsBeneath;
  return CallWindowProcW(g_beneathSkin, wnd, msg, wParam, lParam);
}

// A frame of a client edge and bars is the skin's alone: the control and
// the system do not paint it first (their bars would be painted over at
// once). Any other border is still the system's, with the skin's bars on top.
TEST_F(ScrollbarTest, AFrameOfEdgeAndBarsIsPaintedByTheSkinAlone) {
  for (const DWORD border : {DWORD{0}, DWORD{WS_BORDER}}) {
    const HWND list =
        CreateWindowExW(WS_EX_CLIENTEDGE, L"LISTBOX", L"", WS_POPUP | WS_VISIBLE | WS_VSCROLL | WS_HSCROLL | border, 60,
                        60, 150, 200, nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
    for (int i = 0; i < 40; ++i) SendMessageW(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(L"An item wider than the list"));
    SendMessageW(list, LB_SETHORIZONTALEXTENT, 400, 0);
    g_beneathSkin = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrW(list, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&CountFramePaints)));
    auto s = Skin(list);
    skin_test::DrainMessages();
    g_framePaintsBeneath = 0;
    RedrawWindow(list, nullptr, nullptr, RDW_INVALIDATE | RDW_FRAME | RDW_ERASE | RDW_UPDATENOW);
    EXPECT_EQ(g_framePaintsBeneath, border ? 1 : 0) << (border ? "bordered" : "client edge only");
    const gui::TBitmap shot = gui_test::WholeWindowShot(list);
    EXPECT_EQ(shot.Pixel((s->Vert().Rect.left + s->Vert().Rect.right) / 2, s->Vert().Rect.top + 1), ArrowColour(9));
    EXPECT_EQ(shot.Pixel(s->Horz().Rect.left + 1, (s->Horz().Rect.top + s->Horz().Rect.bottom) / 2), ArrowColour(1));
    s.reset();
    DestroyWindow(list);
  }
}

// Drives the skin's thumb drag: the moves (in the window's client
// coordinates) and the release are queued, then the press on the thumb runs
// the drag loop, which takes them from the queue.
class ThumbDrag : public ScrollbarTest {
 protected:
  // The pointer goes back where it was: later tests read it.
  void SetUp() override {
    ScrollbarTest::SetUp();
    GetCursorPos(&cursor_);
  }
  void TearDown() override {
    SetCursorPos(cursor_.x, cursor_.y);
    skin_test::DrainMessages();
  }
  POINT cursor_{};
  // What a drag of the vertical thumb sends its window: a track for each
  // position it passes, the position it ends on, then the end.
  static std::vector<TMsgEntry> DragSends(const std::vector<int>& tracked, int last) {
    std::vector<TMsgEntry> sends;
    for (int pos : tracked)
      sends.push_back({WM_VSCROLL, msgseq::sent | msgseq::wparam, MAKEWPARAM(SB_THUMBTRACK, pos)});
    sends.push_back({WM_VSCROLL, msgseq::sent | msgseq::wparam, MAKEWPARAM(SB_THUMBPOSITION, last)});
    sends.push_back({WM_VSCROLL, msgseq::posted | msgseq::wparam, MAKEWPARAM(SB_ENDSCROLL, 0)});
    return sends;
  }
  // The screen point in the middle of the vertical thumb.
  POINT ThumbCentre(skin::TSkinScrollbar& s, HWND wnd) {
    RECT w;
    GetWindowRect(wnd, &w);
    s.MeasureBars(RECT{0, 0, w.right - w.left, w.bottom - w.top});
    const skin::TThumbMetrics& m = s.Vert().Metrics;
    return POINT{w.left + (s.Vert().Rect.left + s.Vert().Rect.right) / 2,
                 w.top + s.Vert().Rect.top + m.Arrow + m.Offset + m.Thumb / 2};
  }
  // A press (or the second press of a double click) on `start`, the moves
  // and the release; `appTo` gets WM_APP after the first move.
  void Drag(HWND wnd, POINT start, const std::vector<int>& movesBy, UINT press = WM_NCLBUTTONDOWN,
            HWND appTo = nullptr) {
    SetCursorPos(start.x, start.y);
    skin_test::DrainMessages();
    POINT client = start;
    ScreenToClient(wnd, &client);
    for (int dy : movesBy) {
      PostMessageW(wnd, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(client.x, client.y + dy));
      if (appTo) PostMessageW(std::exchange(appTo, nullptr), WM_APP, 0, 0);
    }
    PostMessageW(wnd, WM_LBUTTONUP, 0, MAKELPARAM(client.x, client.y));
    SendMessageW(wnd, press, HTVSCROLL, MAKELPARAM(start.x, start.y));
  }
};

TEST_F(ThumbDrag, ReleaseWithoutMovingReportsTheStartingPosition) {
  ScrolledWindow w(WS_VSCROLL, 0, 120, 240);
  w.SetRange(SB_VERT, 0, 100, 10, 37);
  auto s = Skin(w.wnd, true);
  msgseq::TMessageLog log;
  const POINT start = ThumbCentre(*s, w.wnd);
  Drag(w.wnd, start, {});
  log.Pump();
  OK_SEQUENCE(log, DragSends({}, 37), "release on the thumb");
  EXPECT_FALSE(s->Tracking());
  EXPECT_EQ(s->PressedPart(), skin::spNone);
}

TEST_F(ThumbDrag, EachPositionChangeIsTrackedAndThePastEndIsTheLastPosition) {
  ScrolledWindow w(WS_VSCROLL, 0, 120, 240);
  auto s = Skin(w.wnd, true);
  msgseq::TMessageLog log;

  // A paged bar ends at maximum - page + 1; a move that lands on the same
  // position sends nothing more.
  w.SetRange(SB_VERT, 0, 100, 10, 0);
  POINT start = ThumbCentre(*s, w.wnd);
  const int step = s->Vert().Metrics.Track;  // far enough to pass the end
  Drag(w.wnd, start, {step, step + 5});
  log.Pump();
  OK_SEQUENCE(log, DragSends({91}, 91), "paged bar dragged past the end");
  EXPECT_EQ(GetScrollPos(w.wnd, SB_VERT), 91);
  // The second press of a double click is the skin's drag too, not the system's.
  w.SetRange(SB_VERT, 0, 100, 10, 0);
  Drag(w.wnd, ThumbCentre(*s, w.wnd), {step}, WM_NCLBUTTONDBLCLK);
  EXPECT_EQ(GetScrollPos(w.wnd, SB_VERT), 91) << "double click";
  log.Pump();

  // An unpaged bar ends at its maximum; a move halfway is tracked on the way.
  w.SetRange(SB_VERT, 0, 100, 0, 0);
  log.Flush();
  start = ThumbCentre(*s, w.wnd);
  const int half = (s->Vert().Metrics.Track - s->Vert().Metrics.Thumb) / 2;
  Drag(w.wnd, start, {half, 3 * step});
  log.Pump();
  OK_SEQUENCE(log, DragSends({50, 100}, 100), "unpaged bar dragged past the end");
  // Moving back before the start stops at the minimum.
  log.Flush();
  start = ThumbCentre(*s, w.wnd);
  Drag(w.wnd, start, {-3 * step});
  log.Pump();
  OK_SEQUENCE(log, DragSends({0}, 0), "dragged back before the start");
}

// A mirrored window's horizontal bar runs from its right end: the thumb is
// pressed where the screen shows it, and dragged to the left it moves on.
TEST_F(ThumbDrag, AMirroredBarIsDraggedFromItsRightEnd) {
  ScrolledWindow w(WS_HSCROLL, WS_EX_LAYOUTRTL, 240, 120);
  w.SetRange(SB_HORZ, 0, 100, 10, 0);
  auto s = Skin(w.wnd, true);
  const RECT window = w.WindowOrigin();
  s->MeasureBars(RECT{0, 0, window.right - window.left, window.bottom - window.top});
  const skin::TThumbMetrics& m = s->Horz().Metrics;
  // The window DC counts from the right edge.
  const POINT start{window.right - 1 - (s->Horz().Rect.left + m.Arrow + m.Offset + m.Thumb / 2),
                    window.top + (s->Horz().Rect.top + s->Horz().Rect.bottom) / 2};
  SetCursorPos(start.x, start.y);
  skin_test::DrainMessages();
  POINT moved{start.x - m.Track, start.y};
  ScreenToClient(w.wnd, &moved);
  PostMessageW(w.wnd, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(moved.x, moved.y));
  PostMessageW(w.wnd, WM_LBUTTONUP, 0, MAKELPARAM(moved.x, moved.y));
  SendMessageW(w.wnd, WM_NCLBUTTONDOWN, HTHSCROLL, MAKELPARAM(start.x, start.y));
  EXPECT_EQ(GetScrollPos(w.wnd, SB_HORZ), 91);
}

// A skinner freed while its loop runs (skin off) still ends the control's drag.
TEST_F(ThumbDrag, ASkinnerFreedDuringItsDragEndsTheDrag) {
  ScrolledWindow w(WS_VSCROLL, 0, 120, 240), other(0, 0, 50, 50);
  w.SetRange(SB_VERT, 0, 100, 10, 0);
  g_freedOnApp = Skin(w.wnd, true);
  msgseq::TMessageLog log;
  Drag(w.wnd, ThumbCentre(*g_freedOnApp, w.wnd), {10, 0}, WM_NCLBUTTONDOWN, other.wnd);
  ASSERT_EQ(g_freedOnApp, nullptr);
  EXPECT_NE(GetCapture(), w.wnd);
  log.Pump();
  ASSERT_EQ(log.Entries().size(), 3u);
  EXPECT_EQ(LOWORD(log.Entries()[1].wParam), SB_THUMBPOSITION);
  EXPECT_EQ(LOWORD(log.Entries()[2].wParam), SB_ENDSCROLL);
}

// A bar with nothing to scroll, or disabled, shows no thumb and the skin's
// disabled arrows, and its thumb cannot be dragged.
TEST_F(ThumbDrag, AnEmptyOrDisabledBarShowsNoThumbAndIsNotDragged) {
  ScrolledWindow w(WS_VSCROLL, 0, 120, 240);
  w.SetRange(SB_VERT, 0, 100, 10, 50);
  auto s = Skin(w.wnd, true);
  const POINT thumb = ThumbCentre(*s, w.wnd);
  // The look as the two arrows' frames and whether the thumb is there; then whether it drags.
  const auto check = [&](int first, int second, bool enabled) {
    gui::TBitmap b = Painted(*s, w.wnd);
    const int x = (s->Vert().Rect.left + s->Vert().Rect.right) / 2;
    EXPECT_EQ(b.Pixel(x, s->Vert().Rect.top), ArrowColour(first));
    EXPECT_EQ(b.Pixel(x, s->Vert().Rect.bottom - 1), ArrowColour(second));
    EXPECT_EQ(controls_test::CountColour(b, s->Vert().Rect, kThumb) > 0, enabled);
    const int before = GetScrollPos(w.wnd, SB_VERT);
    Drag(w.wnd, thumb, {20});
    EXPECT_EQ(GetScrollPos(w.wnd, SB_VERT) != before, enabled);
  };
  w.SetRange(SB_VERT, 0, 9, 10, 0);
  check(12, 16, false);
  w.SetRange(SB_VERT, 0, 100, 10, 50);
  EnableScrollBar(w.wnd, SB_VERT, ESB_DISABLE_BOTH);
  check(12, 16, false);
  EnableScrollBar(w.wnd, SB_VERT, ESB_ENABLE_BOTH);
  EnableWindow(w.wnd, FALSE);
  check(12, 16, false);
  EnableWindow(w.wnd, TRUE);
  EnableScrollBar(w.wnd, SB_VERT, ESB_DISABLE_UP);
  check(12, 13, true);
}

// A window that takes the mouse during the drag ends it: the release that
// follows is its own, not the end of the drag.
TEST_F(ThumbDrag, AnotherWindowTakingTheMouseEndsTheDrag) {
  ScrolledWindow w(WS_VSCROLL, 0, 120, 240);
  w.SetRange(SB_VERT, 0, 100, 10, 37);
  auto s = Skin(w.wnd, true);
  const HWND button = CreateWindowW(L"Button", L"Other", WS_POPUP | WS_VISIBLE | BS_PUSHBUTTON, 300, 10, 80, 24,
                                    nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
  ASSERT_NE(button, nullptr);
  const POINT start = ThumbCentre(*s, w.wnd);
  SetCursorPos(start.x, start.y);
  skin_test::DrainMessages();
  msgseq::TMessageLog log;
  // The button captures the mouse on its press and lets it go on release.
  PostMessageW(button, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(10, 10));
  PostMessageW(button, WM_LBUTTONUP, 0, MAKELPARAM(10, 10));
  SendMessageW(w.wnd, WM_NCLBUTTONDOWN, HTVSCROLL, MAKELPARAM(start.x, start.y));
  EXPECT_FALSE(s->Tracking());
  log.Pump();
  OK_SEQUENCE(log, DragSends({}, 37), "drag ended by another window's capture");
  EXPECT_NE(GetCapture(), button);
  EXPECT_EQ(SendMessageW(button, BM_GETSTATE, 0, 0) & BST_PUSHED, 0);
  DestroyWindow(button);
}

TEST_F(ThumbDrag, AListBoxFollowsTheSkinnedThumb) {
  gui::TApplication app;
  std::string items = "    Items.Strings = (\n";
  for (int i = 0; i < 200; ++i) items += "      'Item " + std::to_string(i) + "'\n";
  items += "    )\n";
  gui::TForm* form = controls_test::ShowForm(app, Control("List", "TListBox", 10, 10, 150, 200, items));
  auto* list = dynamic_cast<gui::TListBox*>(form->FindComponent("List"));
  ASSERT_NE(list, nullptr);
  auto* s = new skin::TSkinScrollbar(list);
  s->Attach({.Control = list, .Data = data_.get(), .OwnThumbTracking = true});
  const HWND wnd = list->Handle();
  const POINT start = ThumbCentre(*s, wnd);
  Drag(wnd, start, {s->Vert().Metrics.Track});
  skin_test::DrainMessages();
  SCROLLINFO info{sizeof(info), SIF_ALL, 0, 0, 0, 0, 0};
  GetScrollInfo(wnd, SB_VERT, &info);
  EXPECT_EQ(SendMessageW(wnd, LB_GETTOPINDEX, 0, 0), info.nMax - static_cast<int>(info.nPage) + 1);
  EXPECT_EQ(list->TopIndex(), info.nMax - static_cast<int>(info.nPage) + 1);
  EXPECT_FALSE(s->Tracking());
  // Arrow and page presses stay with the list box's own procedure.
  SendMessageW(wnd, WM_VSCROLL, SB_PAGEUP, 0);
  EXPECT_LT(SendMessageW(wnd, LB_GETTOPINDEX, 0, 0), info.nMax - static_cast<int>(info.nPage) + 1);
  delete form;
}

TEST_F(ScrollbarTest, TheStandAloneControlDrawsAPageOfEverythingAsTheWholeTrack) {
  gui::TApplication app;
  gui::TForm* form = controls_test::ShowForm(
      app, Control("Bar", "TScrollBar", 10, 10, 200, 17, "    Min = 0\n    Max = 9\n    PageSize = 10\n") +
               Control("VBar", "TScrollBar", 230, 10, 17, 200,
                       "    Kind = sbVertical\n    Min = 0\n    Max = 99\n    PageSize = 10\n    Position = 45\n"));
  auto* bar = dynamic_cast<gui::TScrollBar*>(form->FindComponent("Bar"));
  ASSERT_NE(bar, nullptr);
  skin::TSkinScControl* s = SkinBar(form, "Bar");
  gui::TBitmap b = Painted(*s, bar->Handle());
  const int y = b.Height() / 2, track = b.Width() - 2 * arrow_;
  EXPECT_EQ(s->TrackLength, track);
  EXPECT_EQ(s->ThumbLength, track - 1);
  EXPECT_EQ(s->ThumbOffset, 0);
  EXPECT_EQ(b.Pixel(arrow_ - 1, y), ArrowColour(1));
  EXPECT_EQ(b.Pixel(arrow_, y), kThumb);
  EXPECT_EQ(b.Pixel(arrow_ + track - 2, y), kThumb);
  EXPECT_EQ(b.Pixel(arrow_ + track - 1, y), kTrack);
  EXPECT_EQ(b.Pixel(b.Width() - 1, y), ArrowColour(5));

  // The vertical one counts max - min + 1 positions; the thumb sits in the middle.
  auto* vbar = dynamic_cast<gui::TScrollBar*>(form->FindComponent("VBar"));
  skin::TSkinScControl* vs = SkinBar(form, "VBar");
  gui::TBitmap v = Painted(*vs, vbar->Handle());
  const int vtrack = v.Height() - 2 * arrow_;
  EXPECT_EQ(vs->ThumbLength, std::max(MulDiv(10, vtrack, 100), skin::MinimumThumb(arrow_)));
  EXPECT_EQ(vs->ThumbOffset, MulDiv(45, vtrack - vs->ThumbLength, 90));
  EXPECT_EQ(v.Pixel(v.Width() / 2, arrow_ + vs->ThumbOffset), kThumb);
  EXPECT_EQ(v.Pixel(v.Width() / 2, arrow_ + vs->ThumbOffset - 1), kTrack);
  // A scroll notification reflected to the control shows the pressed arrow.
  SendMessageW(vbar->Handle(), gui::CN_VSCROLL, SB_LINEUP, 0);
  EXPECT_EQ(vs->PressedPart, skin::spUpArrow);
  // Without a page the last position puts the thumb at the track's end.
  vbar->SetParams(99, 0, 99, 0);
  Painted(*vs, vbar->Handle());
  EXPECT_EQ(vs->ThumbOffset, vtrack - vs->ThumbLength);
  delete form;
}

// A focused scroll-bar control shows no system caret blinking over the
// system's thumb; disabled, it shows the skin's disabled arrows, no thumb.
TEST_F(ScrollbarTest, TheStandAloneControlShowsNoCaretAndADisabledLook) {
  gui::TApplication app;
  auto [form, bar, s] = OneSkinnedBar(app, "    Min = 0\n    Max = 100\n    PageSize = 10\n");
  SetFocus(bar->Handle());
  GUITHREADINFO thread{};
  thread.cbSize = sizeof(thread);
  ASSERT_TRUE(GetGUIThreadInfo(GetCurrentThreadId(), &thread));
  EXPECT_EQ(thread.hwndFocus, bar->Handle());
  EXPECT_EQ(thread.hwndCaret, nullptr);
  bar->SetEnabled(false);
  gui::TBitmap b = Painted(*s, bar->Handle());
  EXPECT_EQ(b.Pixel(0, 8), ArrowColour(4));
  EXPECT_EQ(b.Pixel(b.Width() - 1, 8), ArrowColour(8));
  EXPECT_EQ(controls_test::CountColour(b, RECT{0, 0, b.Width(), b.Height()}, kThumb), 0);
  delete form;
}

// The skin paints the control whole after its own paint: meanwhile the
// control paints without the system's visual style, which a skin without
// bars, and skin off, give back.
TEST_F(ScrollbarTest, TheStandAloneControlPaintsWithoutTheSystemsStyleUnderTheSkin) {
  gui::TApplication app;
  gui::TForm* form = controls_test::ShowForm(app, Control("Bar", "TScrollBar", 10, 10, 200, 17, ""));
  const HWND wnd = dynamic_cast<gui::TWinControl*>(form->FindComponent("Bar"))->Handle();
  if (!GetWindowTheme(wnd)) GTEST_SKIP() << "the control wears no visual style here";
  skin::TSkinScControl* s = SkinBar(form, "Bar");
  EXPECT_EQ(GetWindowTheme(wnd), nullptr);
  data_->SetSkinStream(ScrollSkinArchive(false));
  ASSERT_TRUE(data_->LoadSkin());
  s->SkinChanged();
  EXPECT_NE(GetWindowTheme(wnd), nullptr) << "skin without bars";
  data_->SetSkinStream(ScrollSkinArchive());
  ASSERT_TRUE(data_->LoadSkin());
  s->SkinChanged();
  EXPECT_EQ(GetWindowTheme(wnd), nullptr);
  delete s;
  EXPECT_NE(GetWindowTheme(wnd), nullptr) << "skin off";
  delete form;
}

// Where the system draws a scroll-bar control itself, the skin goes back on
// top: after each pointer move and when the pointer leaves (themed bars
// light up the arrow or thumb under it), and after a press on the thumb,
// which the system tracks in a loop of its own and draws when the button
// comes up, after the last scroll notification. The arrow under the pointer
// shows its hot look, and the track its frame 4 wherever the pointer is on
// the bar (a thumb strip of two frames has none), until the pointer leaves.
TEST_F(ScrollbarTest, TheStandAloneControlKeepsItsSkinWhereTheSystemDrawsIt) {
  gui::TApplication app;
  auto [form, bar, s] = OneSkinnedBar(app, "    Min = 0\n    Max = 100\n");
  const HWND wnd = bar->Handle();
  s->PaintSkin(nullptr);
  const int y = 8, trackX = 150;
  const auto looks = [&] {
    const gui::TBitmap shot = controls_test::Snapshot(wnd, false);
    return std::tuple(shot.Pixel(arrow_ - 1, y), shot.Pixel(arrow_ + s->ThumbLength / 2, y), shot.Pixel(trackX, y));
  };
  for (const auto& [x, seen] : {std::pair(arrow_ + 4, std::tuple(ArrowColour(1), kThumb, RGB(3, 3, 3))),
                                std::pair(arrow_ / 2, std::tuple(ArrowColour(3), kThumb, RGB(3, 3, 3))),
                                std::pair(trackX - 50, std::tuple(ArrowColour(1), kThumb, RGB(3, 3, 3)))}) {
    SendMessageW(wnd, WM_MOUSEMOVE, 0, MAKELPARAM(x, y));
    EXPECT_EQ(looks(), seen) << "pointer at " << x;
  }
  SendMessageW(wnd, WM_MOUSELEAVE, 0, 0);
  EXPECT_EQ(looks(), std::tuple(ArrowColour(1), kThumb, kTrack)) << "pointer gone";

  const int start = arrow_ + 4, end = start + 80;
  PostMessageW(wnd, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(end, y));
  PostMessageW(wnd, WM_LBUTTONUP, 0, MAKELPARAM(end, y));
  SendMessageW(wnd, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(start, y));
  EXPECT_GT(bar->Position(), 0);
  EXPECT_EQ(s->PressedPart, skin::spNone);
  const gui::TBitmap shot = controls_test::Snapshot(wnd, false);
  EXPECT_EQ(shot.Pixel(arrow_ - 1, y), ArrowColour(1));
  EXPECT_EQ(shot.Pixel(arrow_ + s->ThumbOffset + s->ThumbLength / 2, y), kThumb);
  EXPECT_EQ(shot.Pixel(arrow_ + 1, y), kTrack);
  delete form;
}

}  // namespace
