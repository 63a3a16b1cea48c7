// The frame's geometry, computed without a window: border pieces, client
// area, menu band, caption text and caption buttons for sizeable, fixed,
// tool and maximised windows, with and without a menu band.
#include "skin/form/frame_layout.h"

#include <gtest/gtest.h>

#include <climits>

namespace {

using namespace skin;

bool Same(const RECT& a, const RECT& b) { return EqualRect(&a, &b) != 0; }

// A 400 x 300 window with a 30-pixel title band, 4-pixel sides and a
// 5-pixel bottom; close, maximise, minimise from the right, the icon at the
// left, and a restore button shown only when maximised.
TFrameInput Window(TFrameKind kind = fkSizing) {
  TFrameInput in;
  in.Window = SIZE{400, 300};
  in.Style = WS_OVERLAPPEDWINDOW;
  in.Kind = kind;
  in.WindowButtons = wbSystemMenu | wbMinimize | wbMaximize;
  in.Frame = TFrameThickness{4, 30, 4, 5};
  in.Caption = TCaptionTextSpec{SIZE{80, 14}, 0, 28, 0, 100, 0, 0};
  in.Buttons = {
      {caClose, alFromRight, 30, 6, bvSizingFrame, bvAlways1, SIZE{20, 18}},
      {caMaximize, alFromRight, 52, 6, bvNotMaximized, bvAlways1, SIZE{20, 18}},
      {caMaximize2, alFromRight, 52, 6, bvMaximized, bvAlways1, SIZE{20, 18}},
      {caMinimize, alFromRight, 74, 6, bvSizingFrame, bvAlways1, SIZE{20, 18}},
      {caSystemMenu, alFromLeft, 6, 7, bvAlwaysFirst, bvAlways1, SIZE{16, 16}},
      {caMdiClose, alMenuBar, 20, 0, bvMdiChildMaximized, bvMdiChildMaximized, SIZE{16, 14}},
  };
  return in;
}

TEST(FrameLayout, ASizeableWindowWithoutMenu) {
  const TFrameLayout l = LayoutFrame(Window());
  ASSERT_TRUE(l.Skinned);
  EXPECT_TRUE(Same(l.Left, RECT{0, 0, 4, 300}));
  EXPECT_TRUE(Same(l.Right, RECT{396, 0, 400, 300}));
  EXPECT_TRUE(Same(l.Bottom, RECT{4, 295, 396, 300}));
  EXPECT_TRUE(Same(l.TitleBand, RECT{4, 0, 396, 30}));
  EXPECT_TRUE(Same(l.Client, RECT{4, 30, 396, 295}));
  EXPECT_EQ(l.MenuBand.bottom - l.MenuBand.top, 0);
  // Close, maximise and minimise from the right edge; restore hidden while normal.
  EXPECT_TRUE(Same(l.Buttons[0].Bounds, RECT{370, 6, 390, 24}));
  EXPECT_TRUE(l.Buttons[1].Visible);
  EXPECT_FALSE(l.Buttons[2].Visible);
  EXPECT_TRUE(Same(l.Buttons[3].Bounds, RECT{326, 6, 346, 24}));
  EXPECT_TRUE(Same(l.Buttons[4].Bounds, RECT{6, 7, 22, 23}));
  EXPECT_FALSE(l.Buttons[5].Visible);  // no maximised MDI child
  EXPECT_EQ(l.RightButtonsLeft, 370);
  // The caption after its shift, vertically centred in the band, clipped
  // before the right clip.
  EXPECT_EQ(l.CaptionText.left, 4 + 28);
  EXPECT_EQ(l.CaptionText.top, (30 - 14) / 2);
  EXPECT_EQ(l.CaptionText.right, 4 + 28 + 80);
  const SIZE client = ClientSizeForWindow(Window().Frame, 0, Window().Window);
  EXPECT_EQ(client.cx, 392);
  EXPECT_EQ(client.cy, 265);
  const SIZE back = WindowSizeForClient(Window().Frame, 0, client);
  EXPECT_EQ(back.cx, 400);
  EXPECT_EQ(back.cy, 300);
}

TEST(FrameLayout, FixedAndToolWindowsHideTheSizingFrameButtons) {
  TFrameInput fixed = Window(fkOther);
  fixed.WindowButtons = wbSystemMenu;
  const TFrameLayout l = LayoutFrame(fixed);
  EXPECT_FALSE(l.Buttons[0].Visible);  // close shows on sizing frames only in this skin
  EXPECT_FALSE(l.Buttons[1].Visible);  // no maximise box
  EXPECT_FALSE(l.Buttons[3].Visible);
  EXPECT_TRUE(l.Buttons[4].Visible);
  EXPECT_EQ(l.RightButtonsLeft, 0);
  // A tool window: sizing frame, system menu only; the close button stays,
  // a close button needs the system menu.
  TFrameInput tool = Window();
  tool.WindowButtons = wbSystemMenu;
  const TFrameLayout t = LayoutFrame(tool);
  EXPECT_TRUE(t.Buttons[0].Visible);
  EXPECT_FALSE(t.Buttons[1].Visible);
  tool.WindowButtons = 0;
  EXPECT_FALSE(LayoutFrame(tool).Buttons[0].Visible);
  // A popup without a full caption keeps the system's frame.
  TFrameInput popup = Window(fkNone);
  EXPECT_FALSE(LayoutFrame(popup).Skinned);
  // A window whose caption shows no icon (a dialog box with the modal
  // frame) has no icon button, whatever the skin's line says.
  TFrameInput dialog = Window();
  dialog.WindowButtons = wbSystemMenu;
  dialog.ShowsIcon = false;
  const TFrameLayout d = LayoutFrame(dialog);
  EXPECT_FALSE(d.Buttons[4].Visible);
  EXPECT_TRUE(d.Buttons[0].Visible);
  EXPECT_FALSE(d.Buttons[3].Visible);
}

TEST(FrameLayout, MaximisedAndWithAMenuBand) {
  TFrameInput max = Window();
  max.Show = shMaximized;
  const TFrameLayout m = LayoutFrame(max);
  EXPECT_FALSE(m.Buttons[1].Visible);
  EXPECT_TRUE(m.Buttons[2].Visible);
  EXPECT_TRUE(Same(m.Buttons[2].Bounds, RECT{348, 6, 368, 24}));

  TFrameInput menu = Window();
  menu.MenuHeight = 19;
  menu.MenuBarMargin = 2;
  const TFrameLayout b = LayoutFrame(menu);
  EXPECT_TRUE(Same(b.MenuBand, RECT{4, 30, 396, 49}));
  EXPECT_TRUE(Same(b.Client, RECT{4, 49, 396, 295}));
  EXPECT_FALSE(b.Buttons[5].Visible);
  // An MDI frame whose child is maximised shows the child's buttons in the band.
  menu.Mdi = mkFrame;
  menu.MdiChildMaximized = true;
  const TFrameLayout mdi = LayoutFrame(menu);
  ASSERT_TRUE(mdi.Buttons[5].Visible);
  EXPECT_TRUE(Same(mdi.Buttons[5].Bounds, RECT{400 - 20 - 4 - 2, 30 + (19 - 14) / 2, 400 - 20 - 4 - 2 + 16,
                                               30 + (19 - 14) / 2 + 14}));
  menu.RightToLeft = true;
  EXPECT_EQ(LayoutFrame(menu).Buttons[5].Bounds.left, 4 + 20 + 2);
  // A bar that wraps into two rows: the buttons stay in the first.
  menu.MenuHeight = 38;
  menu.MenuRowHeight = 19;
  EXPECT_EQ(LayoutFrame(menu).Buttons[5].Bounds.top, 30 + (19 - 14) / 2);
  EXPECT_EQ(LayoutFrame(menu).MenuBand.bottom, 30 + 38);
  // Without a menu band the MDI buttons have nowhere to go.
  menu.MenuHeight = 0;
  EXPECT_FALSE(LayoutFrame(menu).Buttons[5].Visible);
  // A maximised or minimised MDI child keeps the system's frame.
  TFrameInput child = Window();
  child.Mdi = mkChild;
  child.Show = shMaximized;
  EXPECT_FALSE(LayoutFrame(child).Skinned);
}

TEST(FrameLayout, CaptionPlacementAndButtonsBesideIt) {
  TFrameInput in = Window();
  in.Caption.Alignment = 1;  // centred
  TFrameLayout l = LayoutFrame(in);
  EXPECT_EQ(l.CaptionText.left, 4 + (392 - 80) / 2);
  // A caption wider than the band: the centring offset goes negative.
  in.Caption.Measured.cx = 500;
  l = LayoutFrame(in);
  EXPECT_LT(l.CaptionText.left, 4);
  EXPECT_EQ(l.CaptionText.right, 396 - 100);  // limited by the right clip
  // Right to left: always against the right clip.
  in = Window();
  in.RightToLeft = true;
  l = LayoutFrame(in);
  EXPECT_EQ(l.CaptionText.right, 396 - 100);
  // A popup's caption reaches up to the right-aligned buttons, and a long
  // one stops there.
  in = Window();
  in.Style = WS_POPUP | WS_CAPTION | WS_SYSMENU;
  l = LayoutFrame(in);
  EXPECT_EQ(l.CaptionText.right, l.RightButtonsLeft - 5);
  in.Caption.Measured.cx = 500;
  EXPECT_EQ(LayoutFrame(in).CaptionText.right, l.RightButtonsLeft - 5);
  // Buttons placed before and after the caption text.
  in = Window();
  in.Buttons.push_back({caIcon, alBeforeCaption, 3, 7, bvAlwaysFirst, bvAlways1, SIZE{16, 16}});
  in.Buttons.push_back({42, alAfterCaption2, 2, 7, bvAlwaysLast, bvAlways1, SIZE{10, 10}});
  l = LayoutFrame(in);
  EXPECT_EQ(l.Buttons[6].Bounds.right, l.CaptionText.left - 3);
  EXPECT_EQ(l.Buttons[7].Bounds.left, l.CaptionText.right + 2);
  // A button without a picture takes no place; an inactive window hides
  // rule-A-active buttons.
  in = Window();
  in.Buttons[0].Size = SIZE{};
  in.Buttons[3].Visibility = bvActive;
  in.Active = false;
  l = LayoutFrame(in);
  EXPECT_EQ(l.RightButtonsLeft, 348);
  EXPECT_FALSE(l.Buttons[3].Visible);
}

// Hit testing reads the layout: a chain of early returns, as the system's
// own non-client code answers, ending in HTNOWHERE. Borders wider than the
// system's size the window on a sizing frame (they answered HTMENU before).
TEST(FrameLayout, HitTestingFromTheLayout) {
  TFrameInput in = Window();
  in.Frame = TFrameThickness{12, 30, 12, 12};
  in.MenuHeight = 19;
  TFrameLayout l = LayoutFrame(in);
  const int corner = 18;
  auto hit = [&](int x, int y) { return FrameHitTest(in, l, POINT{x, y}, 3, corner); };
  EXPECT_EQ(hit(375, 10), HTCLOSE);
  EXPECT_EQ(hit(355, 10), HTMAXBUTTON);
  EXPECT_EQ(hit(335, 10), HTMINBUTTON);
  EXPECT_EQ(hit(10, 10), HTCAPTION);   // the icon stands in the title band
  EXPECT_EQ(hit(200, 10), HTCAPTION);
  EXPECT_EQ(hit(200, 2), HTNOWHERE);   // the top edge is the system's
  EXPECT_EQ(hit(200, 30), HTMENU);     // the band's first row
  EXPECT_EQ(hit(200, 48), HTMENU);
  EXPECT_EQ(hit(200, 100), HTCLIENT);
  EXPECT_EQ(hit(6, 100), HTLEFT);
  EXPECT_EQ(hit(394, 100), HTRIGHT);
  EXPECT_EQ(hit(200, 294), HTBOTTOM);
  EXPECT_EQ(hit(6, 294), HTBOTTOMLEFT);
  EXPECT_EQ(hit(6, 285), HTBOTTOMLEFT);  // within a corner's length of the bottom
  EXPECT_EQ(hit(15, 294), HTBOTTOMLEFT);
  EXPECT_EQ(hit(394, 294), HTBOTTOMRIGHT);
  EXPECT_EQ(hit(400, 100), HTNOWHERE);
  // A frame that does not size, or a maximised window: the border is a border.
  in.Style = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU;
  l = LayoutFrame(in);
  EXPECT_EQ(hit(6, 100), HTBORDER);
  EXPECT_EQ(hit(200, 294), HTBORDER);
  in = Window();
  in.Show = shMaximized;
  l = LayoutFrame(in);
  EXPECT_EQ(hit(2, 100), HTBORDER);
  // The system's frame stays: nothing is the skin's.
  in = Window(fkNone);
  l = LayoutFrame(in);
  EXPECT_EQ(hit(200, 10), HTNOWHERE);
}

// A mirrored window is laid out as any other and shown reflected: its
// rectangles and points map across the window's width (rectangles whole,
// points by pixel), the reading order no longer moves its caption, and its
// borders answer for the side the screen shows them on. So does a frame
// that must still give the window its boxes and borders.
TEST(FrameLayout, AMirroredWindowIsShownReflectedAndHitTestedByTheSideShown) {
  TFrameInput in = Window();
  in.Frame = TFrameThickness{12, 30, 6, 12};
  in.Mirrored = true;
  in.RightToLeft = true;
  const TFrameLayout l = LayoutFrame(in);
  TFrameInput plain = in;
  plain.Mirrored = plain.RightToLeft = false;
  EXPECT_TRUE(Same(l.CaptionText, LayoutFrame(plain).CaptionText));
  EXPECT_TRUE(Same(ShownRect(in, l.Left), RECT{388, 0, 400, 300}));
  EXPECT_TRUE(Same(ShownRect(in, l.Buttons[0].Bounds), RECT{10, 6, 30, 24}));
  EXPECT_TRUE(Same(ShownRect(plain, l.Left), l.Left));
  EXPECT_EQ(LayoutPoint(in, POINT{0, 7}).x, 399);
  EXPECT_EQ(LayoutPoint(in, POINT{399, 7}).x, 0);
  auto hit = [&](int x, int y) { return FrameHitTest(in, l, LayoutPoint(in, POINT{x, y}), 3, 18); };
  EXPECT_EQ(hit(20, 10), HTCLOSE);
  EXPECT_EQ(hit(390, 100), HTRIGHT);  // the layout's wide left border, shown on the right
  EXPECT_EQ(hit(8, 100), HTCLIENT);
  EXPECT_EQ(hit(2, 100), HTLEFT);
  EXPECT_EQ(hit(2, 294), HTBOTTOMLEFT);
  EXPECT_EQ(hit(395, 294), HTBOTTOMRIGHT);
  EXPECT_EQ(hit(200, 294), HTBOTTOM);
  EXPECT_EQ(FrameShortfall(in, 3, SIZE{1024, 768}), fsNone);
}

// The format's second numbers of an action mean what the first ones do, to
// the hit test and to the buttons' visibility alike.
TEST(FrameLayout, ActionAliasesAnswerAsTheirFirstNumbers) {
  TFrameInput in = Window();
  in.Buttons[1].Action = caMaximize2;
  in.Buttons[3].Action = caMinimize2;
  TFrameLayout l = LayoutFrame(in);
  auto hit = [&](int x, int y) { return FrameHitTest(in, l, POINT{x, y}, 3, 18); };
  EXPECT_EQ(hit(355, 10), HTMAXBUTTON);
  EXPECT_EQ(hit(335, 10), HTMINBUTTON);
  // Without the boxes they stand for, they are not shown.
  in.WindowButtons = wbSystemMenu;
  in.Buttons[1].Visibility = in.Buttons[3].Visibility = bvAlwaysFirst;
  l = LayoutFrame(in);
  EXPECT_FALSE(l.Buttons[1].Visible);
  EXPECT_FALSE(l.Buttons[3].Visible);
  EXPECT_EQ(hit(335, 10), HTCAPTION);
}

}  // namespace

namespace {

// What a frame must give its window, whatever the skin says: each case
// takes one thing away from a window the frame serves well.
TEST(FrameShortfall, EachThingTheFrameCannotGiveIsNamed) {
  const SIZE screen{1024, 768};
  struct Case {
    const char* what;
    void (*change)(TFrameInput&);
    TFrameShortfall expected;
  };
  const Case cases[] = {
      {"the window as it is", [](TFrameInput&) {}, fsNone},
      {"a fixed frame without a window menu", [](TFrameInput& in) {
         in.Style = WS_CAPTION;
         in.WindowButtons = 0;
       }, fsNone},
      {"no title band", [](TFrameInput& in) { in.Frame.Top = 0; }, fsNoCaption},
      {"a band no taller than the sizing edge", [](TFrameInput& in) { in.Frame.Top = 3; }, fsNoCaption},
      {"the window icon over the whole band", [](TFrameInput& in) {
         in.Buttons[4] = TCaptionButtonSpec{caSystemMenu, alFromLeft, 0, 0, bvAlwaysFirst, bvAlways1, SIZE{400, 30}};
       }, fsNoCaption},
      {"no left border on a sizing frame", [](TFrameInput& in) { in.Frame.Left = 0; }, fsNoSizingBorder},
      {"no close button", [](TFrameInput& in) { in.Buttons.erase(in.Buttons.begin()); }, fsNoCloseBox},
      {"a close button only while active", [](TFrameInput& in) { in.Buttons[0].Visibility1 = bvActive; },
       fsNoCloseBox},
      {"a close button off the window", [](TFrameInput& in) { in.Buttons[0].XCoord = -99999; }, fsNoCloseBox},
      {"a close button without a picture", [](TFrameInput& in) { in.Buttons[0].Size = SIZE{}; }, fsNoCloseBox},
      {"no minimise button", [](TFrameInput& in) { in.Buttons[3].Action = 42; }, fsNoMinimizeBox},
      {"a minimise button of the second action number", [](TFrameInput& in) { in.Buttons[3].Action = caMinimize2; },
       fsNone},
      {"no restore button when maximised", [](TFrameInput& in) { in.Buttons.erase(in.Buttons.begin() + 2); },
       fsNoMaximizeBox},
      {"a frame wider than half the screen", [](TFrameInput& in) { in.Frame.Left = 600; }, fsTooLarge},
      {"lengths at the ends of an integer", [](TFrameInput& in) {
         in.Caption.RightClip = INT_MIN;
         in.Caption.Shift = INT_MAX;
         in.Buttons[4].YCoord = INT_MIN;
       }, fsNone},
  };
  for (const Case& c : cases) {
    TFrameInput in = Window();
    c.change(in);
    EXPECT_EQ(FrameShortfall(in, 3, screen), c.expected) << c.what;
  }
  // A popup without a full caption keeps the system's frame: nothing to judge.
  TFrameInput popup = Window(fkNone);
  popup.Frame = TFrameThickness{};
  EXPECT_EQ(FrameShortfall(popup, 3, screen), fsNone);
}

}  // namespace
