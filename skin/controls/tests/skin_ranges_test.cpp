// Track-bar thumbs, up-down buttons and progress bars as they come out on
// the screen: the thumb frame whatever the mouse does, the arrow frames by
// the pressed half and the enabled state (with the flat look when the skin
// has no arrows, and when the press loses the mouse), and the progress fill
// by position in both orientations, smooth and in chunks, and a marquee
// bar's moving block.
#include <gtest/gtest.h>
#include <windows.h>
#include <commctrl.h>

#include "gui/ranges.h"
#include "skin/controls/skin_ranges.h"
#include "skin/controls/tests/controls_fixture.h"
#include "tests/support/message_sequence.h"

namespace {

using controls_test::Control;
using controls_test::ElementColours;
using controls_test::Snapshot;

using RangesTest = controls_test::ElementSkinTest;

POINT CentreOf(const RECT& r) { return POINT{(r.left + r.right) / 2, (r.top + r.bottom) / 2}; }

// Puts the real cursor on a client point of the window, and waits (a
// second at most) until the system reports it there: under Wine the move
// reaches the display server first, and a paint straight after it may
// still read the old position.
void CursorTo(HWND wnd, POINT client) {
  POINT screen = client;
  ClientToScreen(wnd, &screen);
  SetCursorPos(screen.x, screen.y);
  for (int i = 0; i < 100; ++i) {
    POINT now{};
    if (GetCursorPos(&now) && now.x == screen.x && now.y == screen.y) return;
    Sleep(10);
  }
}

RECT ThumbOf(HWND trackBar) {
  RECT thumb{};
  SendMessageW(trackBar, TBM_GETTHUMBRECT, 0, reinterpret_cast<LPARAM>(&thumb));
  return thumb;
}

TEST_F(RangesTest, TrackBarThumbShowsTheSecondFrameWhateverTheMouseDoes) {
  gui::TForm* form =
      forms_.Show(Control("Horz", "TTrackBar", 10, 10, 200, 40, "    Max = 10\n    Position = 3\n") +
                  Control("Vert", "TTrackBar", 230, 10, 40, 200, "    Orientation = trVertical\n    Max = 10\n"));
  auto* horz = dynamic_cast<gui::TTrackBar*>(form->FindComponent("Horz"));
  auto* vert = dynamic_cast<gui::TTrackBar*>(form->FindComponent("Vert"));
  (new skin::TSkinTrackBar(horz))->AttachControl(&form_skinner_, data_.get(), nullptr, false);
  (new skin::TSkinTrackBar(vert))->AttachControl(&form_skinner_, data_.get(), nullptr, false);
  HWND h = horz->Handle();

  const auto expectThumb = [&](HWND wnd, COLORREF frame, const char* state) {
    SCOPED_TRACE(state);
    gui::TBitmap shot = Snapshot(wnd);
    const RECT thumb = ThumbOf(wnd);
    ASSERT_GT(thumb.right - thumb.left, 2);
    const POINT centre = CentreOf(thumb);
    EXPECT_EQ(shot.Pixel(centre.x, centre.y), frame);
    EXPECT_EQ(shot.Pixel(thumb.left, thumb.top), frame);
    EXPECT_EQ(shot.Pixel(thumb.right - 1, thumb.bottom - 1), frame);
    // The channel stays the control's own.
    EXPECT_EQ(controls_test::CountColour(shot, RECT{0, 0, shot.Width(), shot.Height()}, frame),
              (thumb.right - thumb.left) * (thumb.bottom - thumb.top));
  };
  expectThumb(h, c_.ThumbHorz[1], "normal");
  const POINT centre = CentreOf(ThumbOf(h));
  CursorTo(h, centre);
  SendMessageW(h, WM_MOUSEMOVE, 0, MAKELPARAM(centre.x, centre.y));
  expectThumb(h, c_.ThumbHorz[1], "hot");
  SendMessageW(h, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(centre.x, centre.y));
  expectThumb(h, c_.ThumbHorz[1], "pressed");
  SendMessageW(h, WM_LBUTTONUP, 0, MAKELPARAM(centre.x, centre.y));
  expectThumb(vert->Handle(), c_.ThumbVert[1], "vertical");
}

TEST_F(RangesTest, TrackBarWithoutThumbPicturesOutlinesTheThumbInTheShadowColour) {
  Load({.Thumbs = false});
  gui::TForm* form = forms_.Show(Control("Horz", "TTrackBar", 10, 10, 200, 40, "    Max = 10\n"));
  auto* horz = dynamic_cast<gui::TTrackBar*>(form->FindComponent("Horz"));
  (new skin::TSkinTrackBar(horz))->AttachControl(&form_skinner_, data_.get(), nullptr, false);
  gui::TBitmap shot = Snapshot(horz->Handle());
  const RECT thumb = ThumbOf(horz->Handle());
  const COLORREF shadow = ElementColours().Shadow;
  EXPECT_EQ(shot.Pixel(thumb.left, (thumb.top + thumb.bottom) / 2), shadow);
  EXPECT_EQ(shot.Pixel(thumb.right - 1, (thumb.top + thumb.bottom) / 2), shadow);
  EXPECT_EQ(shot.Pixel((thumb.left + thumb.right) / 2, thumb.top), shadow);
}

class UpDownTest : public RangesTest {
 protected:
  // An up-down control of the form with its skinner.
  skin::TSkinUpDown* Skin(gui::TForm* form, const char* name) {
    auto* control = dynamic_cast<gui::TUpDown*>(form->FindComponent(name));
    auto* skinner = new skin::TSkinUpDown(control);
    skinner->AttachWindow(control->Handle(), data_.get(), &form_skinner_, nullptr);
    return skinner;
  }
};

TEST_F(UpDownTest, ArrowFramesFollowThePressedHalfAndTheEnabledState) {
  gui::TForm* form = forms_.Show(
      Control("Vert", "TUpDown", 10, 10, 20, 40, "    Max = 50\n    Position = 20\n") +
      Control("Horz", "TUpDown", 60, 10, 40, 20, "    Orientation = udHorizontal\n    Max = 50\n    Position = 20\n"));
  skin::TSkinUpDown* vert = Skin(form, "Vert");
  skin::TSkinUpDown* horz = Skin(form, "Horz");
  HWND v = vert->SkinnedWindow();

  const auto expectFrames = [&](skin::TSkinUpDown& skinner, const std::vector<COLORREF>& strip, int first, int second,
                                const char* state) {
    SCOPED_TRACE(state);
    gui::TBitmap shot = Snapshot(skinner.SkinnedWindow());
    EXPECT_EQ(skinner.LastFirstFrame(), first);
    EXPECT_EQ(skinner.LastSecondFrame(), second);
    const int w = shot.Width(), h = shot.Height();
    // The first button at the top or left, the second at the bottom or right.
    EXPECT_EQ(shot.Pixel(2, 2), strip[static_cast<std::size_t>(first - 1)]);
    EXPECT_EQ(shot.Pixel(w - 3, h - 3), strip[static_cast<std::size_t>(second - 1)]);
  };
  expectFrames(*vert, c_.UpDownVert, 1, 5, "normal");
  // Pressing the lower half: the down button pressed, the up one normal.
  CursorTo(v, POINT{10, 30});
  SendMessageW(v, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(10, 30));
  expectFrames(*vert, c_.UpDownVert, 1, 6, "lower half pressed");
  SendMessageW(v, WM_LBUTTONUP, 0, MAKELPARAM(10, 30));
  expectFrames(*vert, c_.UpDownVert, 1, 5, "released");
  CursorTo(v, POINT{10, 5});
  SendMessageW(v, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(10, 5));
  expectFrames(*vert, c_.UpDownVert, 2, 5, "upper half pressed");
  SendMessageW(v, WM_LBUTTONUP, 0, MAKELPARAM(10, 5));
  EnableWindow(v, FALSE);
  expectFrames(*vert, c_.UpDownVert, 3, 7, "disabled");

  CursorTo(horz->SkinnedWindow(), POINT{30, 10});
  SendMessageW(horz->SkinnedWindow(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(30, 10));
  expectFrames(*horz, c_.UpDownHorz, 1, 6, "right half pressed");
  SendMessageW(horz->SkinnedWindow(), WM_LBUTTONUP, 0, MAKELPARAM(30, 10));
}

TEST_F(UpDownTest, WithoutArrowPicturesTheButtonsAreFlatAndSinkWhenPressed) {
  Load({.UpDowns = false});
  gui::TForm* form = forms_.Show(Control("Vert", "TUpDown", 10, 10, 20, 40, "    Max = 50\n"));
  skin::TSkinUpDown* vert = Skin(form, "Vert");
  HWND v = vert->SkinnedWindow();
  gui::TBitmap normal = Snapshot(v);
  // Outline in the dark shadow, face inside; the arrow sits near the
  // middle, so the corners inside the outline are face.
  EXPECT_EQ(normal.Pixel(0, 0), c_.DkShadow);
  EXPECT_EQ(normal.Pixel(1, 1), c_.Face);
  EXPECT_EQ(normal.Pixel(1, 38), c_.Face);
  CursorTo(v, POINT{10, 30});
  SendMessageW(v, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(10, 30));
  gui::TBitmap pressed = Snapshot(v);
  SendMessageW(v, WM_LBUTTONUP, 0, MAKELPARAM(10, 30));
  EXPECT_EQ(pressed.Pixel(1, 1), c_.Face);
  EXPECT_EQ(pressed.Pixel(1, 38), c_.Shadow);
  // The down arrow is drawn in the outline's pen around the lower centre.
  EXPECT_GT(controls_test::CountColour(pressed, RECT{4, 22, 16, 38}, c_.DkShadow), 6);
}

// Pressed lasts while the press holds the mouse: not after another window
// took it (Alt+Tab, a menu, a drag elsewhere) while the button was down.
TEST_F(UpDownTest, APressThatLosesTheMouseIsNoLongerDrawnPressed) {
  gui::TForm* form = forms_.Show(Control("Vert", "TUpDown", 10, 10, 20, 40, "    Max = 50\n"));
  skin::TSkinUpDown* vert = Skin(form, "Vert");
  HWND v = vert->SkinnedWindow();
  CursorTo(v, POINT{10, 30});
  SendMessageW(v, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(10, 30));
  Snapshot(v);
  ASSERT_EQ(vert->LastSecondFrame(), 6);
  ReleaseCapture();
  Snapshot(v);
  EXPECT_EQ(vert->LastSecondFrame(), 5);
}

// The skinner paints around the control's own handling: a click still
// steps the position and tells the parent, in the system's order.
TEST_F(UpDownTest, ASkinnedClickStillStepsAndTellsTheParent) {
  using msgseq::TMsgEntry;
  using msgseq::parent;
  using msgseq::sent;
  INITCOMMONCONTROLSEX icc{sizeof(icc), ICC_UPDOWN_CLASS};
  InitCommonControlsEx(&icc);
  HWND host = skin_test::CreateTestWindow(L"UpDownSeqHost", DefWindowProcW, L"Arrows", WS_OVERLAPPEDWINDOW | WS_VISIBLE,
                                          40, 40, 200, 120);
  HWND arrows = CreateWindowExW(0, UPDOWN_CLASSW, L"", WS_CHILD | WS_VISIBLE, 10, 10, 20, 40, host, nullptr, nullptr,
                                nullptr);
  SendMessageW(arrows, UDM_SETRANGE32, 0, 10);
  SendMessageW(arrows, UDM_SETPOS32, 0, 5);
  auto* skinner = new skin::TSkinUpDown(nullptr);
  skinner->AttachWindow(arrows, data_.get(), &form_skinner_, nullptr);
  skin_test::DrainMessages();
  msgseq::TMessageLog log;
  ASSERT_TRUE(log.Watch(host, true));
  log.Ignore(WM_TIMER);
  CursorTo(arrows, POINT{10, 5});
  log.Flush();
  SendMessageW(arrows, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(10, 5));
  OK_SEQUENCE(log,
              (std::vector<TMsgEntry>{{WM_NOTIFY, sent | parent}, {WM_VSCROLL, sent | parent | msgseq::wparam, MAKEWPARAM(SB_THUMBPOSITION, 6)}}),
              "button down on the up arrow");
  EXPECT_EQ(SendMessageW(arrows, UDM_GETPOS32, 0, 0), 6);
  EXPECT_EQ(skinner->LastFirstFrame(), skin::TSkinUpDown::alPressed);
  log.Flush();
  SendMessageW(arrows, WM_LBUTTONUP, 0, MAKELPARAM(10, 5));
  OK_SEQUENCE(log,
              (std::vector<TMsgEntry>{{WM_VSCROLL, sent | parent | msgseq::wparam, MAKEWPARAM(SB_ENDSCROLL, 6)}}),
              "button up");
  EXPECT_EQ(skinner->LastFirstFrame(), skin::TSkinUpDown::alNormal);
  delete skinner;
  DestroyWindow(host);
}

class ProgressTest : public RangesTest {
 protected:
  gui::TProgressBar* Bar(gui::TForm* form, const char* name) {
    auto* bar = dynamic_cast<gui::TProgressBar*>(form->FindComponent(name));
    (new skin::TSkinProgress(bar))->AttachControl(&form_skinner_, data_.get(), nullptr, false);
    return bar;
  }
};

TEST_F(ProgressTest, FillByPositionInBothOrientations) {
  const COLORREF trough = c_.Progress[0], fill = c_.Progress[1];
  gui::TForm* form =
      forms_.Show(Control("Horz", "TProgressBar", 10, 10, 200, 20, "    Max = 100\n") +
                  Control("Vert", "TProgressBar", 230, 10, 20, 150, "    Max = 100\n    Orientation = pbVertical\n") +
                  Control("Offset", "TProgressBar", 10, 50, 200, 20, "    Min = 50\n    Max = 150\n"));
  gui::TProgressBar* horz = Bar(form, "Horz");
  gui::TProgressBar* vert = Bar(form, "Vert");
  for (int position : {0, 50, 100}) {
    SCOPED_TRACE(position);
    horz->SetPosition(position);
    gui::TBitmap shot = Snapshot(horz->Handle());
    const int w = shot.Width(), h = shot.Height(), filled = position * w / 100;
    for (int y : {0, h / 2, h - 1}) {
      if (filled > 0) {
        EXPECT_EQ(shot.Pixel(filled - 1, y), fill);
      }
      if (filled < w) {
        EXPECT_EQ(shot.Pixel(filled, y), trough);
      }
    }
    EXPECT_EQ(controls_test::CountColour(shot, RECT{0, 0, w, h}, fill), filled * h);

    vert->SetPosition(position);
    gui::TBitmap upright = Snapshot(vert->Handle());
    const int vw = upright.Width(), vh = upright.Height(), rows = position * vh / 100;
    // A vertical bar fills from the bottom.
    if (rows > 0) {
      EXPECT_EQ(upright.Pixel(vw / 2, vh - rows), fill);
    }
    if (rows < vh) {
      EXPECT_EQ(upright.Pixel(vw / 2, vh - rows - 1), trough);
    }
    EXPECT_EQ(controls_test::CountColour(upright, RECT{0, 0, vw, vh}, fill), rows * vw);
  }
  // The fill is the position's share of the range, not of the upper limit.
  gui::TProgressBar* offset = Bar(form, "Offset");
  offset->SetPosition(100);
  gui::TBitmap shot = Snapshot(offset->Handle());
  EXPECT_EQ(controls_test::CountColour(shot, RECT{0, 0, shot.Width(), 1}, fill), shot.Width() / 2);
}

TEST_F(ProgressTest, ChunksFillTheInsideOfTheMargins) {
  Load({.ChunkedProgress = true, .ChunkLeftWidth = 3, .ChunkRightWidth = 4});
  gui::TForm* form =
      forms_.Show(Control("Horz", "TProgressBar", 10, 10, 200, 20, "    Max = 100\n") +
                  Control("Vert", "TProgressBar", 230, 10, 20, 150, "    Max = 100\n    Orientation = pbVertical\n"));
  gui::TProgressBar* horz = Bar(form, "Horz");
  gui::TProgressBar* vert = Bar(form, "Vert");
  gui::TBitmap empty = Snapshot(horz->Handle());
  EXPECT_EQ(controls_test::CountColour(empty, RECT{0, 0, empty.Width(), empty.Height()}, c_.Chunk), 0);
  horz->SetPosition(100);
  gui::TBitmap full = Snapshot(horz->Handle());
  const int w = full.Width(), h = full.Height(), top = (h - 6) / 2;
  // The chunk's picture is its trough alone (a single frame); at 100 % the
  // chunks end at the right margin.
  EXPECT_EQ(full.Pixel(2, top), c_.Progress[0]);
  EXPECT_EQ(full.Pixel(3, top), c_.Chunk);
  EXPECT_EQ(full.Pixel(w - 5, top + 5), c_.Chunk);
  EXPECT_EQ(full.Pixel(w - 4, top), c_.Progress[0]);
  EXPECT_EQ(full.Pixel(w / 2, top - 1), c_.Progress[0]);
  EXPECT_EQ(full.Pixel(w / 2, top + 6), c_.Progress[0]);
  horz->SetPosition(50);
  gui::TBitmap half = Snapshot(horz->Handle());
  const int inside = w - 3 - 4;
  EXPECT_EQ(half.Pixel(3 + inside / 2 - 1, top), c_.Chunk);
  EXPECT_EQ(half.Pixel(3 + inside / 2, top), c_.Progress[0]);
  // Upright chunks stack from the bottom.
  vert->SetPosition(50);
  gui::TBitmap upright = Snapshot(vert->Handle());
  const int vw = upright.Width(), vh = upright.Height();
  EXPECT_EQ(controls_test::CountColour(upright, RECT{0, 0, vw, vh / 2 - 1}, c_.Chunk), 0);
  EXPECT_GT(controls_test::CountColour(upright, RECT{0, vh / 2, vw, vh}, c_.Chunk), 6 * (vh / 2 - 6));
}

// A marquee bar has no position: its block moves along the bar with each
// tick of the control's animation timer.
TEST_F(ProgressTest, AMarqueeBarsBlockMovesWithTheControlsTimer) {
  const COLORREF fill = ElementColours().Progress[1];
  gui::TForm* form = forms_.Show(Control("Horz", "TProgressBar", 10, 10, 200, 20, "    Max = 100\n"));
  gui::TProgressBar* horz = Bar(form, "Horz");
  HWND wnd = horz->Handle();
  SetWindowLongPtrW(wnd, GWL_STYLE, GetWindowLongPtrW(wnd, GWL_STYLE) | PBS_MARQUEE);
  // Where the block's filled columns are, after `ticks` more timer ticks.
  const auto blockAfter = [&](int ticks) {
    for (int i = 0; i < ticks; ++i) SendMessageW(wnd, WM_TIMER, 1, 0);
    gui::TBitmap shot = Snapshot(wnd);
    int first = -1, last = -1;
    for (int x = 0; x < shot.Width(); ++x) {
      if (shot.Pixel(x, shot.Height() / 2) != fill) continue;
      if (first < 0) first = x;
      last = x;
    }
    return std::pair{first, last};
  };
  const auto [start1, end1] = blockAfter(20);
  ASSERT_GE(start1, 0) << "the block is on the bar";
  const auto [start2, end2] = blockAfter(5);
  EXPECT_GT(start2, start1);
  EXPECT_GT(end2, end1);
  EXPECT_EQ(end2 - start2, end1 - start1) << "the block keeps its length";
}

}  // namespace
