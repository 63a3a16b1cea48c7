// The tab strip as it comes out on the screen: the selected tab's frame and
// text colour, the page border, images beside captions, the scroll arrows
// of a strip whose tabs overflow (also when they appear later), the side
// the tabs sit on, the focus and the disabled look, a skin change, and the
// tab set's hanging tabs.
#include <gtest/gtest.h>
#include <windows.h>
#include <commctrl.h>
#include <uxtheme.h>

#include <cstdlib>

#include "gui/handles.h"
#include "gui/tabs.h"
#include "gui/tabset.h"
#include "skin/controls/skin_ranges.h"
#include "skin/controls/skin_tabs.h"
#include "skin/controls/tests/controls_fixture.h"

namespace {

using controls_test::Control;
using controls_test::CountColour;
using controls_test::ElementColours;
using controls_test::Snapshot;
using skin::TSkinTab;

class TabsTest : public controls_test::ElementSkinTest {
 protected:
  TSkinTab* SkinTabs(gui::TWinControl* control) {
    auto* skinner = new TSkinTab(control);
    skinner->AttachWindow(control->Handle(), data_.get(), &form_skinner_, nullptr);
    return skinner;
  }
};

RECT ItemRect(HWND tabs, int index) {
  RECT r{};
  SendMessageW(tabs, TCM_GETITEMRECT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&r));
  return r;
}

std::string TabControl(const std::string& name, int width, const std::string& tabs, const std::string& extra = "") {
  return Control(name, "TTabControl", 10, 10, width, 120, "    Tabs.Strings = (\n" + tabs + ")\n" + extra);
}

TEST_F(TabsTest, SelectedTabFrameTextColourAndThePageBorder) {
  gui::TForm* form =
      forms_.Show(TabControl("Tabs1", 280, "      'First'\n      'Second'\n      'Third'", "    TabIndex = 1\n"));
  auto* tabs = dynamic_cast<gui::TWinControl*>(form->FindComponent("Tabs1"));
  HWND wnd = tabs->Handle();
  TSkinTab* skinner = SkinTabs(tabs);
  EXPECT_EQ(skinner->TabSide, TSkinTab::tsTop);
  EXPECT_EQ(skinner->UpDown, nullptr);
  gui::TBitmap shot = Snapshot(wnd);
  for (int i = 0; i < 3; ++i) {
    SCOPED_TRACE(i);
    const bool selected = i == 1;
    RECT t = ItemRect(wnd, i);
    OffsetRect(&t, 0, 1);
    EXPECT_EQ(shot.Pixel(t.left + 1, t.top + 1), c_.Tabs[selected ? 1 : 0]);
    EXPECT_EQ(shot.Pixel(t.right - 2, t.top + 2), c_.Tabs[selected ? 1 : 0]);
    // Captions in the colour of their look, and only that.
    EXPECT_GT(CountColour(shot, t, selected ? c_.SelectedTabText : c_.TabText), 10);
    EXPECT_EQ(CountColour(shot, t, selected ? c_.TabText : c_.SelectedTabText), 0);
  }
  // The page border around the display area, 4 pixels out, one pixel into
  // the strip at the top.
  RECT page{0, 0, shot.Width(), shot.Height()};
  SendMessageW(wnd, TCM_ADJUSTRECT, FALSE, reinterpret_cast<LPARAM>(&page));
  InflateRect(&page, 4, 4);
  page.top += 1;
  EXPECT_EQ(shot.Pixel(page.left, (page.top + page.bottom) / 2), c_.TabBorder);
  EXPECT_EQ(shot.Pixel(page.right - 1, (page.top + page.bottom) / 2), c_.TabBorder);
  EXPECT_EQ(shot.Pixel((page.left + page.right) / 2, page.bottom - 1), c_.TabBorder);
  // The selection moves with the control's.
  SendMessageW(wnd, TCM_SETCURFOCUS, 2, 0);
  shot = Snapshot(wnd);
  RECT third = ItemRect(wnd, 2);
  EXPECT_EQ(shot.Pixel(third.left + 1, third.top + 2), c_.Tabs[1]);
  RECT second = ItemRect(wnd, 1);
  EXPECT_EQ(shot.Pixel(second.left + 1, second.top + 2), c_.Tabs[0]);
}

TEST_F(TabsTest, ImagesBesideCaptionsAndNoneForIndexMinusOne) {
  gui::TForm* form = forms_.Show(TabControl("Tabs1", 280, "      'One'\n      'Two'"));
  auto* tabs = dynamic_cast<gui::TWinControl*>(form->FindComponent("Tabs1"));
  HWND wnd = tabs->Handle();
  const COLORREF imageColour = RGB(1, 222, 3);
  gui::ImageListHandle images(ImageList_Create(8, 8, ILC_COLOR24, 1, 0));
  {
    gui::WindowDc screen = gui::WindowDc::Client(nullptr);
    gui::BitmapHandle picture(CreateCompatibleBitmap(screen.get(), 8, 8));
    gui::MemoryDcHandle dc(CreateCompatibleDC(screen.get()));
    {
      gui::SelectGuard usePicture(dc.get(), picture.get());
      gui::BrushHandle brush(CreateSolidBrush(imageColour));
      const RECT all{0, 0, 8, 8};
      FillRect(dc.get(), &all, brush.get());
    }
    ImageList_Add(images.get(), picture.get(), nullptr);
  }
  SendMessageW(wnd, TCM_SETIMAGELIST, 0, reinterpret_cast<LPARAM>(images.get()));
  TCITEMW item{};
  item.mask = TCIF_IMAGE;
  item.iImage = 0;
  SendMessageW(wnd, TCM_SETITEMW, 0, reinterpret_cast<LPARAM>(&item));
  item.iImage = -1;
  SendMessageW(wnd, TCM_SETITEMW, 1, reinterpret_cast<LPARAM>(&item));
  SkinTabs(tabs);
  gui::TBitmap shot = Snapshot(wnd);
  RECT withImage = ItemRect(wnd, 0), without = ItemRect(wnd, 1);
  OffsetRect(&withImage, 0, 1);
  OffsetRect(&without, 0, 1);
  EXPECT_EQ(CountColour(shot, withImage, imageColour), 64);
  EXPECT_EQ(CountColour(shot, without, imageColour), 0);
  // Without an image the caption is centred in the tab.
  int left = without.right, right = without.left;
  for (int y = without.top; y < without.bottom; ++y)
    for (int x = without.left; x < without.right; ++x)
      if (shot.Pixel(x, y) == ElementColours().TabText) {
        left = std::min<int>(left, x);
        right = std::max<int>(right, x + 1);
      }
  ASSERT_LT(left, right);
  EXPECT_LE(std::abs((left - without.left) - (without.right - right)), 3);
  SendMessageW(wnd, TCM_SETIMAGELIST, 0, 0);
}

TEST_F(TabsTest, OverflowingTabsGetSkinnedScrollArrowsTheStripLeavesAlone) {
  std::string many;
  for (int i = 0; i < 10; ++i) many += "      'Tab number " + std::to_string(i) + "'\n";
  gui::TForm* form = forms_.Show(TabControl("Tabs1", 200, many));
  auto* tabs = dynamic_cast<gui::TWinControl*>(form->FindComponent("Tabs1"));
  HWND wnd = tabs->Handle();
  TSkinTab* skinner = SkinTabs(tabs);
  ASSERT_NE(skinner->UpDown, nullptr);
  HWND arrows = skinner->UpDown->SkinnedWindow();
  ASSERT_TRUE(IsWindowVisible(arrows));
  gui::TBitmap shot = Snapshot(wnd);
  RECT own{}, shown{};
  GetWindowRect(wnd, &own);
  GetWindowRect(arrows, &shown);
  OffsetRect(&shown, -own.left, -own.top);
  // The arrows are a horizontal pair, left button first.
  EXPECT_EQ(shot.Pixel(shown.left + 2, shown.top + 2), c_.UpDownHorz[0]);
  EXPECT_EQ(shot.Pixel(shown.right - 3, shown.bottom - 3), c_.UpDownHorz[4]);
  EXPECT_EQ(CountColour(shot, shown, c_.Tabs[0]), 0);
}

TEST(TabSide, FromTheStyleBits) {
  EXPECT_EQ(TSkinTab::SideOfStyle(0), TSkinTab::tsTop);
  EXPECT_EQ(TSkinTab::SideOfStyle(TCS_BOTTOM), TSkinTab::tsBottom);
  EXPECT_EQ(TSkinTab::SideOfStyle(TCS_VERTICAL), TSkinTab::tsLeft);
  EXPECT_EQ(TSkinTab::SideOfStyle(TCS_BOTTOM | TCS_VERTICAL), TSkinTab::tsRight);
}

TEST_F(TabsTest, TabsAtTheBottomAreDrawnBelowThePage) {
  gui::TForm* form = forms_.Show(
      TabControl("Tabs1", 280, "      'First'\n      'Second'", "    TabPosition = tpBottom\n    TabIndex = 0\n"));
  auto* tabs = dynamic_cast<gui::TWinControl*>(form->FindComponent("Tabs1"));
  HWND wnd = tabs->Handle();
  TSkinTab* skinner = SkinTabs(tabs);
  EXPECT_EQ(skinner->TabSide, TSkinTab::tsBottom);
  gui::TBitmap shot = Snapshot(wnd);
  const RECT first = ItemRect(wnd, 0);
  ASSERT_GT(first.top, shot.Height() / 2);
  EXPECT_GT(CountColour(shot, first, c_.Tabs[1]), (first.right - first.left) * (first.bottom - first.top) / 2);
  const RECT second = ItemRect(wnd, 1);
  EXPECT_GT(CountColour(shot, second, c_.Tabs[0]), (second.right - second.left) * (second.bottom - second.top) / 2);
  EXPECT_EQ(CountColour(shot, RECT{0, 0, shot.Width(), shot.Height() / 2}, c_.Tabs[0]), 0);
}

// Side tabs are composed lying down and turned at the end: each tab must
// come out where the control has it, in its look.
TEST_F(TabsTest, SideTabsComeOutWhereTheControlHasThem) {
  INITCOMMONCONTROLSEX icc{sizeof(icc), ICC_TAB_CLASSES};
  InitCommonControlsEx(&icc);
  HWND host = skin_test::CreateTestWindow(L"SideTabsHost", DefWindowProcW, L"Side tabs",
                                          WS_OVERLAPPEDWINDOW | WS_VISIBLE, 40, 40, 360, 260);
  for (DWORD side : {DWORD{TCS_VERTICAL}, DWORD{TCS_VERTICAL | TCS_BOTTOM}}) {
    SCOPED_TRACE(side);
    HWND wnd = CreateWindowExW(0, WC_TABCONTROLW, L"", WS_CHILD | WS_VISIBLE | TCS_MULTILINE | side, 10, 10, 200,
                               180, host, nullptr, nullptr, nullptr);
    SendMessageW(wnd, WM_SETFONT, reinterpret_cast<WPARAM>(GetStockObject(DEFAULT_GUI_FONT)), FALSE);
    for (const wchar_t* text : {L"One", L"Two", L"Three"}) {
      TCITEMW item{};
      item.mask = TCIF_TEXT;
      item.pszText = const_cast<wchar_t*>(text);
      SendMessageW(wnd, TCM_INSERTITEMW, static_cast<WPARAM>(SendMessageW(wnd, TCM_GETITEMCOUNT, 0, 0)),
                   reinterpret_cast<LPARAM>(&item));
    }
    SendMessageW(wnd, TCM_SETCURSEL, 1, 0);
    SendMessageW(wnd, TCM_SETCURFOCUS, 1, 0);
    auto* skinner = new TSkinTab(nullptr);
    skinner->AttachWindow(wnd, data_.get(), &form_skinner_, nullptr);
    EXPECT_EQ(skinner->TabSide, side & TCS_BOTTOM ? TSkinTab::tsRight : TSkinTab::tsLeft);
    gui::TBitmap shot = Snapshot(wnd);
    for (int i = 0; i < 3; ++i) {
      SCOPED_TRACE(i);
      const RECT t = ItemRect(wnd, i);
      ASSERT_GT(t.bottom - t.top, t.right - t.left) << "a side tab stands upright";
      const int area = (t.right - t.left) * (t.bottom - t.top);
      EXPECT_GT(CountColour(shot, t, c_.Tabs[i == 1 ? 1 : 0]), area / 2);
      EXPECT_EQ(CountColour(shot, t, c_.Tabs[i == 1 ? 0 : 1]), 0);
    }
    delete skinner;
    DestroyWindow(wnd);
  }
  DestroyWindow(host);
}

// The tab set's tabs are drawn exactly where the control has them (at every
// density), and no further: a tab the control leaves out is not drawn in
// the room after the last. A paint of the tab set alone leaves its scroller
// on the screen.
TEST_F(TabsTest, TabSetDrawsTheControlsTabsAndLeavesItsScrollerAlone) {
  gui::TForm* form =
      forms_.Show(Control("Set1", "TTabSet", 10, 10, 300, 24,
                          "    Tabs.Strings = (\n      'Alpha'\n      'Beta'\n      'Gamma')\n    TabIndex = 1\n"));
  auto* tabSet = dynamic_cast<gui::TTabSet*>(form->FindComponent("Set1"));
  auto* skinner = new skin::TSkinTab31(tabSet);
  skinner->AttachControl(&form_skinner_, data_.get(), nullptr, false);
  ASSERT_NE(skinner->UpDown, nullptr);
  EXPECT_TRUE(skinner->UpDown->ForceHorizontal);
  EXPECT_EQ(skinner->UpDown->SkinnedWindow(), tabSet->Scroller().Handle());
  HWND wnd = tabSet->Handle();
  gui::TBitmap shot = Snapshot(wnd);
  ASSERT_EQ(tabSet->VisibleTabs(), 3);
  for (int i = 0; i < 3; ++i) {
    SCOPED_TRACE(i);
    const RECT t = tabSet->TabRect(i);
    const COLORREF frame = c_.Tabs[i == 1 ? 1 : 0];
    EXPECT_EQ(shot.Pixel(t.left + 1, 1), frame);
    EXPECT_EQ(shot.Pixel(t.right - 2, 1), frame);
    EXPECT_GT(CountColour(shot, RECT{t.left, 0, t.right, 24}, i == 1 ? c_.SelectedTabText : c_.TabText), 5);
  }
  EXPECT_EQ(shot.Pixel(tabSet->TabRect(2).right + 2, 1), c_.Face);

  // A long tab that does not fit ends the row; the narrow one after it is
  // not drawn where the control has no tab.
  tabSet->Tabs().Clear();
  tabSet->Tabs().Add(L"A");
  tabSet->Tabs().Add(std::wstring(60, L'W'));
  tabSet->Tabs().Add(L"B");
  tabSet->SetTabIndex(0);
  ASSERT_EQ(tabSet->VisibleTabs(), 1);
  HWND scroller = tabSet->Scroller().Handle();
  ASSERT_TRUE(IsWindowVisible(scroller));
  shot = Snapshot(wnd);
  RECT arrows{}, own{};
  GetWindowRect(scroller, &arrows);
  GetWindowRect(wnd, &own);
  OffsetRect(&arrows, -own.left, -own.top);
  const int after = tabSet->TabRect(0).right;
  EXPECT_EQ(CountColour(shot, RECT{after, 0, arrows.left, 24}, c_.Tabs[0]), 0);
  EXPECT_EQ(CountColour(shot, RECT{after, 0, arrows.left, 24}, c_.TabText), 0);
  // The tab set repaints alone (a click on a tab, a scroll).
  InvalidateRect(wnd, nullptr, TRUE);
  UpdateWindow(wnd);
  shot = Snapshot(wnd, false);
  EXPECT_EQ(shot.Pixel(arrows.left + 2, arrows.top + 2), c_.UpDownHorz[0]);
  EXPECT_EQ(shot.Pixel(arrows.right - 3, arrows.bottom - 3), c_.UpDownHorz[4]);
}

// The control makes its scroll arrows when its tabs first overflow, after
// the skinner attached: they are skinned, and a repaint of the tab control
// alone leaves them on the screen.
TEST_F(TabsTest, ScrollArrowsThatAppearLaterAreSkinnedAndNotPaintedOver) {
  gui::TForm* form = forms_.Show(TabControl("Tabs1", 200, "      'One'\n"));
  auto* tabs = dynamic_cast<gui::TTabControl*>(form->FindComponent("Tabs1"));
  HWND wnd = tabs->Handle();
  TSkinTab* skinner = SkinTabs(tabs);
  Snapshot(wnd);
  EXPECT_EQ(skinner->UpDown, nullptr);
  for (int i = 0; i < 10; ++i) tabs->Tabs().Add(L"Tab number " + std::to_wstring(i));
  HWND arrows = FindWindowExW(wnd, nullptr, UPDOWN_CLASSW, nullptr);
  ASSERT_NE(arrows, nullptr);
  ASSERT_TRUE(IsWindowVisible(arrows));
  Snapshot(wnd);
  ASSERT_NE(skinner->UpDown, nullptr);
  EXPECT_EQ(skinner->UpDown->SkinnedWindow(), arrows);
  InvalidateRect(wnd, nullptr, TRUE);
  UpdateWindow(wnd);
  gui::TBitmap shot = Snapshot(wnd, false);
  RECT own{}, shown{};
  GetWindowRect(wnd, &own);
  GetWindowRect(arrows, &shown);
  OffsetRect(&shown, -own.left, -own.top);
  EXPECT_EQ(shot.Pixel(shown.left + 2, shown.top + 2), c_.UpDownHorz[0]);
  EXPECT_EQ(CountColour(shot, shown, c_.Tabs[0]), 0);
}

// After a skin change both skinners draw the new skin's tabs; a skin without
// a page border leaves the page its own frame, not the old skin's.
TEST_F(TabsTest, ASkinChangeLeavesNothingOfTheOldSkinsTabs) {
  gui::TForm* form =
      forms_.Show(TabControl("Tabs1", 280, "      'First'\n      'Second'", "    TabIndex = 1\n") +
                  Control("Set1", "TTabSet", 10, 150, 280, 24, "    Tabs.Strings = (\n      'One'\n      'Two')\n"));
  auto* tabs = dynamic_cast<gui::TWinControl*>(form->FindComponent("Tabs1"));
  auto* tabSet = dynamic_cast<gui::TTabSet*>(form->FindComponent("Set1"));
  SkinTabs(tabs);
  (new skin::TSkinTab31(tabSet))->AttachControl(&form_skinner_, data_.get(), nullptr, false);
  tabSet->SetTabIndex(1);
  Snapshot(form->Handle());
  const std::vector<COLORREF> other{RGB(30, 90, 150), RGB(30, 90, 160), RGB(30, 90, 170), RGB(30, 90, 180),
                                    RGB(30, 90, 190)};
  Reload({.TabBorder = false, .Tabs = other});
  HWND wnd = tabs->Handle();
  gui::TBitmap shot = Snapshot(wnd);
  const RECT whole{0, 0, shot.Width(), shot.Height()};
  RECT second = ItemRect(wnd, 1);
  OffsetRect(&second, 0, 1);
  EXPECT_EQ(shot.Pixel(second.left + 1, second.top + 1), other[1]);
  EXPECT_EQ(CountColour(shot, whole, c_.TabBorder), 0);
  EXPECT_EQ(CountColour(shot, whole, c_.Tabs[1]), 0);
  gui::TBitmap set = Snapshot(tabSet->Handle());
  EXPECT_EQ(set.Pixel(tabSet->TabRect(0).left + 1, 1), other[0]);
  EXPECT_EQ(set.Pixel(tabSet->TabRect(1).left + 1, 1), other[1]);
  EXPECT_EQ(CountColour(set, RECT{0, 0, set.Width(), set.Height()}, c_.Tabs[0]), 0);
}

// While the skin draws both strip and page border over the control's own
// paint, the control paints without the system's visual style (under Wine
// its dearest part, all painted over); a skin without the border, and skin
// off, give the style back.
TEST_F(TabsTest, TheSystemsVisualStyleRestsWhileTheSkinCoversTheControl) {
  gui::TForm* form = forms_.Show(TabControl("Tabs1", 280, "      'First'\n      'Second'", "    TabIndex = 0\n"));
  auto* tabs = dynamic_cast<gui::TWinControl*>(form->FindComponent("Tabs1"));
  const HWND wnd = tabs->Handle();
  if (!GetWindowTheme(wnd)) GTEST_SKIP() << "the control wears no visual style here";
  TSkinTab* skinner = SkinTabs(tabs);
  EXPECT_EQ(GetWindowTheme(wnd), nullptr);
  EXPECT_EQ(Snapshot(wnd).Pixel(ItemRect(wnd, 0).left + 1, ItemRect(wnd, 0).top + 2), c_.Tabs[1]);
  Reload({.TabBorder = false});
  EXPECT_NE(GetWindowTheme(wnd), nullptr) << "a skin without a page border";
  Reload({});
  EXPECT_EQ(GetWindowTheme(wnd), nullptr);
  delete skinner;
  EXPECT_NE(GetWindowTheme(wnd), nullptr) << "skin off";
}

// The focused tab shows the focus rectangle; a tab control disabled later
// shows grey captions.
TEST_F(TabsTest, TheStripShowsTheFocusAndGreysOutWhenDisabled) {
  gui::TForm* form = forms_.Show(TabControl("Tabs1", 280, "      'First'\n      'Second'", "    TabIndex = 0\n") +
                                 Control("Edit1", "TEdit", 10, 150, 100, 24));
  auto* tabs = dynamic_cast<gui::TWinControl*>(form->FindComponent("Tabs1"));
  HWND wnd = tabs->Handle();
  SkinTabs(tabs);
  SetFocus(dynamic_cast<gui::TWinControl*>(form->FindComponent("Edit1"))->Handle());
  RECT first = ItemRect(wnd, 0);
  OffsetRect(&first, 0, 1);
  const gui::TBitmap unfocused = Snapshot(wnd);
  SetFocus(wnd);
  const gui::TBitmap focused = Snapshot(wnd);
  int changed = 0;
  for (int y = first.top; y < first.bottom; ++y)
    for (int x = first.left; x < first.right; ++x) changed += unfocused.Pixel(x, y) != focused.Pixel(x, y);
  EXPECT_GT(changed, (first.right - first.left) / 2);
  tabs->SetEnabled(false);
  const gui::TBitmap disabled = Snapshot(wnd);
  const RECT whole{0, 0, disabled.Width(), disabled.Height()};
  EXPECT_EQ(CountColour(disabled, whole, c_.TabText), 0);
  EXPECT_EQ(CountColour(disabled, whole, c_.SelectedTabText), 0);
  EXPECT_GT(CountColour(disabled, whole, GetSysColor(COLOR_GRAYTEXT)), 10);
}

}  // namespace
