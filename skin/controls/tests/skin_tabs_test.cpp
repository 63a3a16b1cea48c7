// The tab strip as it comes out on the screen: the selected tab's frame and
// text colour, the page border, images beside captions, the scroll arrows
// of a strip whose tabs overflow, the side the tabs sit on, and the tab
// set's hanging tabs.
#include <gtest/gtest.h>
#include <windows.h>
#include <commctrl.h>

#include <cstdlib>

#include "gui/handles.h"
#include "gui/tabs.h"
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
  const auto& c = ElementColours();
  gui::TApplication app;
  gui::TForm* form = controls_test::ShowForm(
      app, TabControl("Tabs1", 280, "      'First'\n      'Second'\n      'Third'", "    TabIndex = 1\n"));
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
    EXPECT_EQ(shot.Pixel(t.left + 1, t.top + 1), c.Tabs[selected ? 1 : 0]);
    EXPECT_EQ(shot.Pixel(t.right - 2, t.top + 2), c.Tabs[selected ? 1 : 0]);
    // Captions in the colour of their look, and only that.
    EXPECT_GT(CountColour(shot, t, selected ? c.SelectedTabText : c.TabText), 10);
    EXPECT_EQ(CountColour(shot, t, selected ? c.TabText : c.SelectedTabText), 0);
  }
  // The page border around the display area, 4 pixels out, one pixel into
  // the strip at the top.
  RECT page{0, 0, shot.Width(), shot.Height()};
  SendMessageW(wnd, TCM_ADJUSTRECT, FALSE, reinterpret_cast<LPARAM>(&page));
  InflateRect(&page, 4, 4);
  page.top += 1;
  EXPECT_EQ(shot.Pixel(page.left, (page.top + page.bottom) / 2), c.TabBorder);
  EXPECT_EQ(shot.Pixel(page.right - 1, (page.top + page.bottom) / 2), c.TabBorder);
  EXPECT_EQ(shot.Pixel((page.left + page.right) / 2, page.bottom - 1), c.TabBorder);
  // The selection moves with the control's.
  SendMessageW(wnd, TCM_SETCURFOCUS, 2, 0);
  shot = Snapshot(wnd);
  RECT third = ItemRect(wnd, 2);
  EXPECT_EQ(shot.Pixel(third.left + 1, third.top + 2), c.Tabs[1]);
  RECT second = ItemRect(wnd, 1);
  EXPECT_EQ(shot.Pixel(second.left + 1, second.top + 2), c.Tabs[0]);
  delete form;
}

TEST_F(TabsTest, ImagesBesideCaptionsAndNoneForIndexMinusOne) {
  gui::TApplication app;
  gui::TForm* form = controls_test::ShowForm(app, TabControl("Tabs1", 280, "      'One'\n      'Two'"));
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
  delete form;
}

TEST_F(TabsTest, OverflowingTabsGetSkinnedScrollArrowsTheStripLeavesAlone) {
  const auto& c = ElementColours();
  gui::TApplication app;
  std::string many;
  for (int i = 0; i < 10; ++i) many += "      'Tab number " + std::to_string(i) + "'\n";
  gui::TForm* form = controls_test::ShowForm(app, TabControl("Tabs1", 200, many));
  auto* tabs = dynamic_cast<gui::TWinControl*>(form->FindComponent("Tabs1"));
  HWND wnd = tabs->Handle();
  TSkinTab* skinner = SkinTabs(tabs);
  ASSERT_NE(skinner->UpDown, nullptr);
  HWND arrows = skinner->UpDown->Handle;
  ASSERT_TRUE(IsWindowVisible(arrows));
  gui::TBitmap shot = Snapshot(wnd);
  RECT own{}, shown{};
  GetWindowRect(wnd, &own);
  GetWindowRect(arrows, &shown);
  OffsetRect(&shown, -own.left, -own.top);
  // The arrows are a horizontal pair, left button first.
  EXPECT_EQ(shot.Pixel(shown.left + 2, shown.top + 2), c.UpDownHorz[0]);
  EXPECT_EQ(shot.Pixel(shown.right - 3, shown.bottom - 3), c.UpDownHorz[4]);
  EXPECT_EQ(CountColour(shot, shown, c.Tabs[0]), 0);
  delete form;
}

TEST(TabSide, FromTheStyleBits) {
  EXPECT_EQ(TSkinTab::SideOfStyle(0), TSkinTab::tsTop);
  EXPECT_EQ(TSkinTab::SideOfStyle(TCS_BOTTOM), TSkinTab::tsBottom);
  EXPECT_EQ(TSkinTab::SideOfStyle(TCS_VERTICAL), TSkinTab::tsLeft);
  EXPECT_EQ(TSkinTab::SideOfStyle(TCS_BOTTOM | TCS_VERTICAL), TSkinTab::tsRight);
}

TEST_F(TabsTest, TabsAtTheBottomAreDrawnBelowThePage) {
  const auto& c = ElementColours();
  gui::TApplication app;
  gui::TForm* form = controls_test::ShowForm(
      app, TabControl("Tabs1", 280, "      'First'\n      'Second'", "    TabPosition = tpBottom\n    TabIndex = 0\n"));
  auto* tabs = dynamic_cast<gui::TWinControl*>(form->FindComponent("Tabs1"));
  HWND wnd = tabs->Handle();
  TSkinTab* skinner = SkinTabs(tabs);
  EXPECT_EQ(skinner->TabSide, TSkinTab::tsBottom);
  gui::TBitmap shot = Snapshot(wnd);
  const RECT first = ItemRect(wnd, 0);
  ASSERT_GT(first.top, shot.Height() / 2);
  EXPECT_GT(CountColour(shot, first, c.Tabs[1]), (first.right - first.left) * (first.bottom - first.top) / 2);
  const RECT second = ItemRect(wnd, 1);
  EXPECT_GT(CountColour(shot, second, c.Tabs[0]), (second.right - second.left) * (second.bottom - second.top) / 2);
  EXPECT_EQ(CountColour(shot, RECT{0, 0, shot.Width(), shot.Height() / 2}, c.Tabs[0]), 0);
  delete form;
}

// Side tabs are composed lying down and turned at the end: each tab must
// come out where the control has it, in its look.
TEST_F(TabsTest, SideTabsComeOutWhereTheControlHasThem) {
  const auto& c = ElementColours();
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
      EXPECT_GT(CountColour(shot, t, c.Tabs[i == 1 ? 1 : 0]), area / 2);
      EXPECT_EQ(CountColour(shot, t, c.Tabs[i == 1 ? 0 : 1]), 0);
    }
    delete skinner;
    DestroyWindow(wnd);
  }
  DestroyWindow(host);
}

TEST_F(TabsTest, TabSetHangsItsTabsAndSkipsThoseThatDoNotFit) {
  const auto& c = ElementColours();
  gui::TApplication app;
  gui::TForm* form = controls_test::ShowForm(
      app, Control("Set1", "TTabSet", 10, 10, 300, 24,
                   "    Tabs.Strings = (\n      'Alpha'\n      'Beta'\n      'Gamma')\n    TabIndex = 1\n"));
  auto* tabSet = dynamic_cast<gui::TTabSet*>(form->FindComponent("Set1"));
  auto* skinner = new skin::TSkinTab31(tabSet);
  skinner->AttachControl(&form_skinner_, data_.get(), nullptr, false);
  ASSERT_NE(skinner->UpDown, nullptr);
  EXPECT_TRUE(skinner->UpDown->ForceHorizontal);
  EXPECT_EQ(skinner->UpDown->Handle, tabSet->Scroller().Handle());
  gui::TBitmap shot = Snapshot(tabSet->Handle());
  int x = tabSet->StartMargin();
  gui::TBitmap measure(1, 1);
  gui::SelectGuard useFont(measure.DC(), tabSet->Font().Handle());
  for (int i = 0; i < 3; ++i) {
    SCOPED_TRACE(i);
    SIZE extent{};
    const std::wstring caption = tabSet->Tabs()[i];
    GetTextExtentPoint32W(measure.DC(), caption.c_str(), static_cast<int>(caption.size()), &extent);
    const COLORREF frame = c.Tabs[i == 1 ? 1 : 0];
    EXPECT_EQ(shot.Pixel(x + 1, 1), frame);
    EXPECT_EQ(shot.Pixel(x + extent.cx + 9 - 2, 1), frame);
    EXPECT_GT(CountColour(shot, RECT{x, 0, x + extent.cx + 9, 24}, i == 1 ? c.SelectedTabText : c.TabText), 5);
    x += extent.cx + 9;
  }
  EXPECT_EQ(shot.Pixel(x + 2, 1), c.Face);
  // A long tab that does not fit is skipped; the narrow one after it is drawn
  // where the long one would have started.
  tabSet->Tabs().Clear();
  tabSet->Tabs().Add(L"A");
  tabSet->Tabs().Add(std::wstring(60, L'W'));
  tabSet->Tabs().Add(L"B");
  tabSet->SetTabIndex(0);
  shot = Snapshot(tabSet->Handle());
  SIZE a{};
  GetTextExtentPoint32W(measure.DC(), L"A", 1, &a);
  const int third = tabSet->StartMargin() + a.cx + 9;
  EXPECT_EQ(shot.Pixel(third + 1, 1), c.Tabs[0]);
  EXPECT_GT(CountColour(shot, RECT{third, 0, third + 20, 24}, c.TabText), 3);
  delete form;
}

}  // namespace
