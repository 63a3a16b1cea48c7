// Scroll bar, track bar, up-down and progress bar read from a form
// description: ranges and positions as the window holds them, and the
// positions that real clicks and keys leave behind.
#include <gtest/gtest.h>
#include <windows.h>
#include <commctrl.h>

#include "gui/edits.h"
#include "gui/ranges.h"
#include "gui/tests/form_fixture.h"

using namespace gui;
using gui_test::ClassOf;
using gui_test::StyleOf;
using gui_test::WindowText;

namespace {

class Ranges : public gui_test::FormTest {};

SCROLLINFO ScrollInfo(HWND wnd) {
  SCROLLINFO si{};
  si.cbSize = sizeof si;
  si.fMask = SIF_ALL;
  SendMessageW(wnd, SBM_GETSCROLLINFO, 0, reinterpret_cast<LPARAM>(&si));
  return si;
}

TEST_F(Ranges, AScrollBarMovesByItsOwnStepsOnTheSystemsNotifications) {
  // Position comes before Max: the description's order must not matter.
  TForm* form = ShowForm(R"(  object Bar: TScrollBar
    Left = 8
    Top = 8
    Height = 150
    Kind = sbVertical
    Position = 150
    Max = 200
    Min = 10
    PageSize = 20
    SmallChange = 3
    LargeChange = 25
  end
)");
  auto* bar = Find<TScrollBar>(form, "Bar");
  HWND wnd = bar->Handle();
  EXPECT_EQ(ClassOf(wnd), "TScrollBar");
  EXPECT_TRUE(StyleOf(wnd) & SBS_VERT);
  SCROLLINFO si = ScrollInfo(wnd);
  EXPECT_EQ(si.nMin, 10);
  EXPECT_EQ(si.nMax, 200);
  EXPECT_EQ(si.nPage, 20u);
  EXPECT_EQ(si.nPos, 150);

  std::vector<TScrollCode> codes;
  int changes = 0;
  bar->OnScroll = [&](TObject*) { codes.push_back(bar->ScrollCode()); };
  bar->OnChange = [&](TObject*) { ++changes; };
  RECT r;
  GetClientRect(wnd, &r);
  const int arrow = GetSystemMetrics(SM_CYVSCROLL);
  gui_test::Click(wnd, POINT{r.right / 2, r.bottom - arrow / 2});  // the down arrow
  EXPECT_EQ(bar->Position(), 153);
  EXPECT_EQ(ScrollInfo(wnd).nPos, 153);
  gui_test::Click(wnd, POINT{r.right / 2, arrow / 2});  // the up arrow
  gui_test::Click(wnd, POINT{r.right / 2, arrow + 2});  // the track above the thumb
  EXPECT_EQ(bar->Position(), 125);
  ASSERT_GE(codes.size(), 3u);
  EXPECT_EQ(codes[0], TScrollCode::scLineDown);
  EXPECT_NE(std::find(codes.begin(), codes.end(), TScrollCode::scLineUp), codes.end());
  EXPECT_NE(std::find(codes.begin(), codes.end(), TScrollCode::scPageUp), codes.end());
  EXPECT_EQ(codes.back(), TScrollCode::scEndScroll);
  EXPECT_EQ(changes, 3);

  // The position stops where the last page begins, as the system's bars do.
  bar->SetPosition(1000);
  EXPECT_EQ(bar->Position(), 181);
  EXPECT_EQ(ScrollInfo(wnd).nPos, 181);
  EXPECT_EQ(GetPropValue(*bar, "Position"), "181");
  delete form;
}

TEST_F(Ranges, AScrollBarLooksLikeTheSystemsOwn) {
  TForm* form = ShowForm(R"(  object Bar: TScrollBar
    Left = 8
    Top = 8
    Width = 150
    PageSize = 10
    Position = 40
  end
)");
  auto* bar = Find<TScrollBar>(form, "Bar");
  HWND plain = gui_test::SystemControl(form->Handle(), L"SCROLLBAR", SBS_HORZ, RECT{8, 40, 158, 40 + bar->Height()});
  SCROLLINFO si = ScrollInfo(bar->Handle());
  si.fMask = SIF_ALL;
  SetScrollInfo(plain, SB_CTL, &si, TRUE);
  EXPECT_EQ(gui_test::DifferentPixels(gui_test::Snapshot(bar->Handle()), gui_test::Snapshot(plain)), 0);
  DestroyWindow(plain);
  delete form;
}

TEST_F(Ranges, AScrollBarTurnedToTheOtherKindIsANewWindowLyingTheOtherWay) {
  TForm* form = ShowForm(R"(  object Bar: TScrollBar
    Left = 8
    Top = 8
    Width = 150
    Position = 40
  end
)");
  auto* bar = Find<TScrollBar>(form, "Bar");
  HWND old = bar->Handle();
  EXPECT_FALSE(StyleOf(old) & SBS_VERT);
  const int width = bar->Width(), height = bar->Height();
  bar->SetKind(TScrollBarKind::sbVertical);
  EXPECT_NE(bar->Handle(), old);
  EXPECT_TRUE(StyleOf(bar->Handle()) & SBS_VERT);
  EXPECT_EQ(bar->Width(), height);
  EXPECT_EQ(bar->Height(), width);
  EXPECT_EQ(ScrollInfo(bar->Handle()).nPos, 40);
  delete form;
}

TEST_F(Ranges, ATrackBarReportsEveryPositionTheUserGivesIt) {
  TForm* form = ShowForm(R"(  object Volume: TTrackBar
    Left = 8
    Top = 8
    Width = 45
    Height = 150
    Orientation = trVertical
    Max = 20
    Frequency = 5
    PageSize = 4
    Position = 6
  end
)");
  auto* track = Find<TTrackBar>(form, "Volume");
  HWND wnd = track->Handle();
  EXPECT_EQ(ClassOf(wnd), "TTrackBar");
  EXPECT_TRUE(StyleOf(wnd) & TBS_VERT);
  EXPECT_EQ(SendMessageW(wnd, TBM_GETRANGEMAX, 0, 0), 20);
  EXPECT_EQ(SendMessageW(wnd, TBM_GETPOS, 0, 0), 6);
  // Ticks every 5 from 0 to 20, the ends included.
  EXPECT_EQ(SendMessageW(wnd, TBM_GETNUMTICS, 0, 0), 5);

  std::vector<int> seen;
  track->OnChange = [&](TObject*) { seen.push_back(track->Position()); };
  track->SetFocus();
  gui_test::PressKey(*app_, wnd, VK_DOWN);  // one line
  gui_test::PressKey(*app_, wnd, VK_NEXT);  // one page
  gui_test::PressKey(*app_, wnd, VK_END);
  gui_test::PressKey(*app_, wnd, VK_END);  // no change, no report
  EXPECT_EQ(seen, (std::vector<int>{7, 11, 20}));

  track->SetPosition(-5);
  EXPECT_EQ(SendMessageW(wnd, TBM_GETPOS, 0, 0), 0);
  EXPECT_EQ(seen.back(), 0);
  delete form;
}

TEST_F(Ranges, AnUpDownStepsItsAssociateAndTellsWhichButton) {
  // The associate is named before it is read.
  TForm* form = ShowForm(R"(  object Spin: TUpDown
    Left = 80
    Top = 8
    Associate = Count
    Min = 0
    Max = 8
    Increment = 3
    Position = 2
  end
  object Count: TEdit
    Left = 8
    Top = 8
    Width = 90
  end
)");
  auto* spin = Find<TUpDown>(form, "Spin");
  auto* count = Find<TEdit>(form, "Count");
  HWND wnd = spin->Handle();
  EXPECT_EQ(ClassOf(wnd), "TUpDown");
  EXPECT_EQ(spin->Associate(), count);
  EXPECT_EQ(reinterpret_cast<HWND>(SendMessageW(wnd, UDM_GETBUDDY, 0, 0)), count->Handle());
  EXPECT_EQ(WindowText(count->Handle()), L"2");
  // Placed at the associate's right edge by the system.
  RECT edit, buttons;
  GetWindowRect(count->Handle(), &edit);
  GetWindowRect(wnd, &buttons);
  EXPECT_EQ(buttons.left, edit.right);

  std::vector<TUDBtnType> clicks;
  spin->OnClick = [&](TObject*) { clicks.push_back(spin->LastButton()); };
  RECT r;
  GetClientRect(wnd, &r);
  gui_test::Click(wnd, POINT{r.right / 2, r.bottom / 4});
  gui_test::Click(wnd, POINT{r.right / 2, r.bottom / 4});
  EXPECT_EQ(spin->Position(), 8);
  gui_test::Click(wnd, POINT{r.right / 2, r.bottom / 4});  // at the end: nothing moves
  gui_test::Click(wnd, POINT{r.right / 2, r.bottom * 3 / 4});
  EXPECT_EQ(clicks, (std::vector<TUDBtnType>{TUDBtnType::btNext, TUDBtnType::btNext, TUDBtnType::btPrev}));
  EXPECT_EQ(WindowText(count->Handle()), L"5");

  // A number typed into the associate is the position.
  count->SetText(L"7");
  EXPECT_EQ(spin->Position(), 7);

  delete count;  // the up-down lets go of it
  EXPECT_EQ(spin->Associate(), nullptr);
  EXPECT_EQ(SendMessageW(wnd, UDM_GETBUDDY, 0, 0), 0);
  delete form;
}

TEST_F(Ranges, AProgressBarStepsWithinItsRange) {
  TForm* form = ShowForm(R"(  object Done: TProgressBar
    Left = 8
    Top = 8
    Min = 10
    Max = 50
    Position = 30
    Step = 15
  end
)");
  auto* bar = Find<TProgressBar>(form, "Done");
  HWND wnd = bar->Handle();
  EXPECT_EQ(ClassOf(wnd), "TProgressBar");
  EXPECT_EQ(SendMessageW(wnd, PBM_GETRANGE, TRUE, 0), 10);
  EXPECT_EQ(SendMessageW(wnd, PBM_GETRANGE, FALSE, 0), 50);
  EXPECT_EQ(SendMessageW(wnd, PBM_GETPOS, 0, 0), 30);
  bar->StepIt();
  EXPECT_EQ(SendMessageW(wnd, PBM_GETPOS, 0, 0), 45);
  bar->StepIt();
  EXPECT_EQ(bar->Position(), 50);
  bar->StepBy(-100);
  EXPECT_EQ(SendMessageW(wnd, PBM_GETPOS, 0, 0), 10);

  bar->SetPosition(20);
  bar->SetOrientation(TProgressBarOrientation::pbVertical);
  EXPECT_TRUE(StyleOf(bar->Handle()) & PBS_VERTICAL);
  EXPECT_EQ(SendMessageW(bar->Handle(), PBM_GETPOS, 0, 0), 20);
  delete form;
}

}  // namespace
