// Page control, tab control and tab set read from a form description: the
// pages a click on a tab or Ctrl+Tab shows, and the tab set's own layout,
// scrolling and drawing.
#include <gtest/gtest.h>
#include <windows.h>
#include <commctrl.h>

#include <algorithm>

#include "gui/bitmap.h"
#include "gui/stdctrls.h"
#include "gui/tabs.h"
#include "gui/tabset.h"
#include "gui/tests/form_fixture.h"

using namespace gui;
using gui_test::ClassOf;
using gui_test::StyleOf;

namespace {

class Tabs : public gui_test::FormTest {};

const char* kPagesForm = R"(  object Pages: TPageControl
    Left = 8
    Top = 8
    Width = 300
    Height = 200
    ActivePage = Second
    object First: TTabSheet
      Caption = 'General'
      object Ok: TButton
        Left = 10
        Top = 10
        Caption = 'OK'
      end
    end
    object Second: TTabSheet
      Caption = 'Advanced'
      object Fast: TCheckBox
        Left = 10
        Top = 10
        Caption = 'Fast'
      end
    end
    object Third: TTabSheet
      Caption = 'About'
    end
  end
)";

std::wstring TabText(HWND wnd, int index) {
  wchar_t text[64] = {};
  TCITEMW item{};
  item.mask = TCIF_TEXT;
  item.pszText = text;
  item.cchTextMax = 64;
  SendMessageW(wnd, TCM_GETITEMW, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&item));
  return text;
}

RECT RectIn(HWND wnd, HWND parent) {
  RECT r;
  GetWindowRect(wnd, &r);
  MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&r), 2);
  return r;
}

TEST_F(Tabs, APageControlShowsTheActiveSheetInItsDisplayArea) {
  TForm* form = ShowForm(kPagesForm);
  auto* pages = Find<TPageControl>(form, "Pages");
  auto* first = Find<TTabSheet>(form, "First");
  auto* second = Find<TTabSheet>(form, "Second");
  HWND wnd = pages->Handle();
  EXPECT_EQ(ClassOf(wnd), "TPageControl");
  ASSERT_EQ(SendMessageW(wnd, TCM_GETITEMCOUNT, 0, 0), 3);
  EXPECT_EQ(TabText(wnd, 0), L"General");
  EXPECT_EQ(TabText(wnd, 2), L"About");
  EXPECT_EQ(SendMessageW(wnd, TCM_GETCURSEL, 0, 0), 1);
  EXPECT_EQ(pages->ActivePage(), second);
  EXPECT_FALSE(IsWindowVisible(first->Handle()));
  EXPECT_TRUE(IsWindowVisible(second->Handle()));
  // The sheets are the tab control's children and fill its display area;
  // the page's controls are the sheet's children.
  EXPECT_EQ(GetParent(second->Handle()), wnd);
  RECT display;
  GetClientRect(wnd, &display);
  SendMessageW(wnd, TCM_ADJUSTRECT, FALSE, reinterpret_cast<LPARAM>(&display));
  RECT sheet = RectIn(second->Handle(), wnd);
  EXPECT_TRUE(EqualRect(&display, &sheet));
  EXPECT_EQ(GetParent(Find<TCheckBox>(form, "Fast")->Handle()), second->Handle());

  // Resizing the control resizes the sheets.
  pages->SetBounds(8, 8, 360, 240);
  GetClientRect(wnd, &display);
  SendMessageW(wnd, TCM_ADJUSTRECT, FALSE, reinterpret_cast<LPARAM>(&display));
  sheet = RectIn(first->Handle(), wnd);
  EXPECT_TRUE(EqualRect(&display, &sheet));
  delete form;
}

TEST_F(Tabs, AClickOnATabSwitchesThePage) {
  TForm* form = ShowForm(kPagesForm);
  auto* pages = Find<TPageControl>(form, "Pages");
  auto* second = Find<TTabSheet>(form, "Second");
  auto* third = Find<TTabSheet>(form, "Third");
  HWND wnd = pages->Handle();
  std::vector<TTabSheet*> seen;
  pages->OnChange = [&](TObject*) { seen.push_back(pages->ActivePage()); };
  RECT tab;
  SendMessageW(wnd, TCM_GETITEMRECT, 2, reinterpret_cast<LPARAM>(&tab));
  gui_test::Click(wnd, gui_test::Centre(tab));
  EXPECT_EQ(seen, std::vector<TTabSheet*>{third});
  EXPECT_TRUE(IsWindowVisible(third->Handle()));
  EXPECT_FALSE(IsWindowVisible(second->Handle()));
  EXPECT_EQ(pages->ActivePageIndex(), 2);
  EXPECT_EQ(GetPropValue(*pages, "ActivePage"), "Third");

  // A tab's text follows its sheet's caption; a sheet that goes takes its tab.
  third->SetCaption(L"Help");
  EXPECT_EQ(TabText(wnd, 2), L"Help");
  delete third;
  EXPECT_EQ(SendMessageW(wnd, TCM_GETITEMCOUNT, 0, 0), 2);
  EXPECT_EQ(pages->ActivePage(), second);
  EXPECT_EQ(SendMessageW(wnd, TCM_GETCURSEL, 0, 0), 1);
  EXPECT_TRUE(IsWindowVisible(second->Handle()));
  // Moving a sheet moves its tab.
  second->SetPageIndex(0);
  EXPECT_EQ(TabText(wnd, 0), L"Advanced");
  EXPECT_EQ(SendMessageW(wnd, TCM_GETCURSEL, 0, 0), 0);
  delete form;
}

TEST_F(Tabs, AClickStillSwitchesThePageAfterTheArrowKeysHave) {
  TForm* form = ShowForm(kPagesForm);
  auto* pages = Find<TPageControl>(form, "Pages");
  HWND wnd = pages->Handle();
  SetFocus(wnd);
  gui_test::PressKey(*app_, wnd, VK_LEFT);
  ASSERT_EQ(pages->ActivePageIndex(), 0);
  // Each tab in turn by a click, then back by a key, then by a click again.
  for (int target : {2, 1, 0, 2}) {
    RECT tab;
    SendMessageW(wnd, TCM_GETITEMRECT, static_cast<WPARAM>(target), reinterpret_cast<LPARAM>(&tab));
    gui_test::Click(wnd, gui_test::Centre(tab));
    EXPECT_EQ(pages->ActivePageIndex(), target) << "click on tab " << target;
    gui_test::PressKey(*app_, wnd, target == 0 ? VK_RIGHT : VK_LEFT);
    EXPECT_EQ(pages->ActivePageIndex(), target == 0 ? 1 : target - 1) << "arrow key from tab " << target;
  }
  delete form;
}

// A key pressed with Ctrl (and Shift) held, as the message loop gets it.
void PressWith(TApplication& app, HWND wnd, WPARAM key, bool shift) {
  BYTE keys[256] = {};
  GetKeyboardState(keys);
  BYTE held[256];
  std::copy(std::begin(keys), std::end(keys), std::begin(held));
  held[VK_CONTROL] = held[VK_LCONTROL] = 0x80;
  if (shift) held[VK_SHIFT] = held[VK_LSHIFT] = 0x80;
  SetKeyboardState(held);
  gui_test::PressKey(app, wnd, key);
  SetKeyboardState(keys);
}

// Ctrl+Tab and Ctrl+PgDn go on a page, Ctrl+Shift+Tab and Ctrl+PgUp back,
// round the ends, as in property sheets. From the tabs the focus stays on
// the tabs; from inside a page it goes to the new page's first control, or
// to the tabs when the page has none.
TEST_F(Tabs, CtrlTabTurnsThePagesRound) {
  TForm* form = ShowForm(kPagesForm);
  auto* pages = Find<TPageControl>(form, "Pages");
  HWND wnd = pages->Handle();
  HWND ok = Find<TButton>(form, "Ok")->Handle();
  HWND fast = Find<TCheckBox>(form, "Fast")->Handle();
  int changes = 0;
  pages->OnChange = [&](TObject*) { ++changes; };
  SetFocus(fast);
  PressWith(*app_, fast, VK_TAB, false);
  EXPECT_EQ(pages->ActivePageIndex(), 2);
  EXPECT_EQ(GetFocus(), wnd) << "the last page has no controls";
  PressWith(*app_, wnd, VK_TAB, false);
  EXPECT_EQ(pages->ActivePageIndex(), 0);
  EXPECT_EQ(GetFocus(), wnd);
  PressWith(*app_, wnd, VK_TAB, true);
  EXPECT_EQ(pages->ActivePageIndex(), 2);
  PressWith(*app_, wnd, VK_PRIOR, false);
  EXPECT_EQ(pages->ActivePageIndex(), 1);
  SetFocus(fast);
  PressWith(*app_, fast, VK_TAB, true);
  EXPECT_EQ(pages->ActivePageIndex(), 0);
  EXPECT_EQ(GetFocus(), ok);
  PressWith(*app_, ok, VK_NEXT, false);
  EXPECT_EQ(pages->ActivePageIndex(), 1);
  EXPECT_EQ(GetFocus(), fast);
  EXPECT_EQ(changes, 6);
  EXPECT_TRUE(IsWindowVisible(pages->ActivePage()->Handle()));
  // Tab alone still moves the focus.
  gui_test::PressKey(*app_, fast, VK_TAB);
  EXPECT_EQ(pages->ActivePageIndex(), 1);
  // With nothing inside the form focused (the form itself has the focus,
  // as at start-up) the key still reaches the page control.
  SetFocus(form->Handle());
  PressWith(*app_, form->Handle(), VK_TAB, false);
  EXPECT_EQ(pages->ActivePageIndex(), 2);
  PressWith(*app_, form->Handle(), VK_TAB, true);
  EXPECT_EQ(pages->ActivePageIndex(), 1);
  delete form;
}

TEST_F(Tabs, CtrlTabTurnsATabControlsTabs) {
  TForm* form = ShowForm(R"(  object Strip: TTabControl
    Left = 8
    Top = 8
    Width = 250
    Height = 80
    Tabs.Strings = (
      'One' 'Two')
    TabIndex = 1
  end
)");
  auto* strip = Find<TTabControl>(form, "Strip");
  int changes = 0;
  strip->OnChange = [&](TObject*) { ++changes; };
  SetFocus(strip->Handle());
  PressWith(*app_, strip->Handle(), VK_TAB, false);
  EXPECT_EQ(strip->TabIndex(), 0);
  EXPECT_EQ(changes, 1);
  EXPECT_EQ(GetFocus(), strip->Handle());
  delete form;
}

TEST_F(Tabs, ATabControlLooksLikeTheSystemsOwn) {
  TForm* form = ShowForm(R"(  object Strip: TTabControl
    Left = 8
    Top = 8
    Width = 250
    Height = 80
    Tabs.Strings = (
      'One' 'Two')
    TabIndex = 0
  end
)");
  auto* strip = Find<TTabControl>(form, "Strip");
  HWND plain = gui_test::SystemControl(form->Handle(), WC_TABCONTROLW, 0, RECT{8, 100, 258, 180});
  SendMessageW(plain, WM_SETFONT, reinterpret_cast<WPARAM>(strip->Font().Handle()), FALSE);
  for (const wchar_t* text : {L"Two", L"One"}) {
    TCITEMW item{};
    item.mask = TCIF_TEXT;
    item.pszText = const_cast<wchar_t*>(text);
    SendMessageW(plain, TCM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&item));
  }
  SendMessageW(plain, TCM_SETCURSEL, 0, 0);
  // The strip beside the tabs is painted too.
  EXPECT_EQ(gui_test::DifferentPixels(gui_test::Snapshot(strip->Handle()), gui_test::Snapshot(plain)), 0);
  DestroyWindow(plain);
  delete form;
}

TEST_F(Tabs, ATabControlHoldsItsTabsAcrossANewWindow) {
  TForm* form = ShowForm(R"(  object Strip: TTabControl
    Left = 8
    Top = 8
    Width = 250
    Height = 80
    Tabs.Strings = (
      'One' 'Two' 'Three')
    TabIndex = 2
  end
)");
  auto* strip = Find<TTabControl>(form, "Strip");
  HWND old = strip->Handle();
  EXPECT_EQ(SendMessageW(old, TCM_GETCURSEL, 0, 0), 2);
  strip->Tabs().Delete(0);
  EXPECT_EQ(TabText(old, 0), L"Two");
  strip->SetTabPosition(TTabPosition::tpBottom);
  HWND wnd = strip->Handle();
  ASSERT_NE(wnd, old);
  EXPECT_TRUE(StyleOf(wnd) & TCS_BOTTOM);
  EXPECT_EQ(SendMessageW(wnd, TCM_GETITEMCOUNT, 0, 0), 2);
  EXPECT_EQ(SendMessageW(wnd, TCM_GETCURSEL, 0, 0), 1);
  delete form;
}

int CaptionWidth(TTabSet& set, const std::wstring& caption) {
  const WindowDc dc = WindowDc::Client(set.Handle());
  SelectGuard font(dc.get(), set.Font().Handle());
  SIZE size{};
  GetTextExtentPoint32W(dc.get(), caption.c_str(), static_cast<int>(caption.size()), &size);
  return size.cx;
}

const char* kTabSetForm = R"(  object Sheets: TTabSet
    Left = 8
    Top = 8
    Width = 360
    Height = 21
    StartMargin = 6
    Tabs.Strings = (
      'Sheet one' 'Sheet two' 'Sheet three' 'Sheet four')
    TabIndex = 1
    SelectedColor = clWhite
    UnselectedColor = $00C0C0C0
  end
)";

TEST_F(Tabs, ATabSetLaysItsTabsOutSideBySideAndSelectsTheOneClicked) {
  TForm* form = ShowForm(kTabSetForm);
  auto* set = Find<TTabSet>(form, "Sheets");
  EXPECT_EQ(ClassOf(set->Handle()), "TTabSet");
  ASSERT_EQ(set->VisibleTabs(), 4);
  EXPECT_FALSE(set->Scroller().Visible());
  int x = 6;
  for (int i = 0; i < 4; ++i) {
    const RECT r = set->TabRect(i);
    const int w = CaptionWidth(*set, set->Tabs()[i]) + TTabSet::kTabEdges;
    EXPECT_EQ(r.left, x) << i;
    EXPECT_EQ(r.right, x + w) << i;
    EXPECT_EQ(r.bottom, 21) << i;
    x += w;
  }

  int changes = 0, clicks = 0;
  set->OnChange = [&](TObject*) { ++changes; };
  set->OnClick = [&](TObject*) { ++clicks; };
  gui_test::Click(set->Handle(), gui_test::Centre(set->TabRect(3)));
  EXPECT_EQ(set->TabIndex(), 3);
  EXPECT_EQ(changes, 1);
  EXPECT_EQ(clicks, 1);
  gui_test::Click(set->Handle(), POINT{350, 10});  // beyond the last tab
  EXPECT_EQ(set->TabIndex(), 3);
  EXPECT_EQ(clicks, 1);

  // The selected tab in its colour, another in the unselected colour, the
  // rest of the strip in the background colour.
  TBitmap shot(360, 21);
  SendMessageW(set->Handle(), WM_PAINT, reinterpret_cast<WPARAM>(shot.DC()), 0);
  EXPECT_EQ(shot.Pixel(gui_test::Centre(set->TabRect(3)).x, 3), RGB(255, 255, 255));
  EXPECT_EQ(shot.Pixel(set->TabRect(0).left + 6, 3), RGB(192, 192, 192));
  EXPECT_EQ(shot.Pixel(355, 10), GetSysColor(COLOR_BTNFACE));
  delete form;
}

// The black pixels of an area, row by row ('#' black): how a text reads.
std::string TextInk(const TBitmap& shot, const RECT& area) {
  std::string ink;
  for (int y = area.top; y < area.bottom; ++y, ink += '\n')
    for (int x = area.left; x < area.right; ++x) ink += shot.Pixel(x, y) == RGB(0, 0, 0) ? '#' : '.';
  return ink;
}

// A mirrored form (WS_EX_LAYOUTRTL): its controls inherit the layout and
// stand from its right edge; a tab set drawn by itself shows the picture it
// has left to right reflected, its captions reading as they do there.
TEST_F(Tabs, AMirroredFormsTabSetIsReflectedWithItsCaptionsReadable) {
  TForm* form = ShowForm(kTabSetForm);
  auto* set = Find<TTabSet>(form, "Sheets");
  const auto paint = [&] {
    TBitmap shot(360, 21);
    if (GetWindowLongPtrW(set->Handle(), GWL_EXSTYLE) & WS_EX_LAYOUTRTL) SetLayout(shot.DC(), LAYOUT_RTL);
    SendMessageW(set->Handle(), WM_PAINT, reinterpret_cast<WPARAM>(shot.DC()), 0);
    return shot;
  };
  const TBitmap left = paint();
  form->SetMirrored(true);
  EXPECT_TRUE(GetWindowLongPtrW(form->Handle(), GWL_EXSTYLE) & WS_EX_LAYOUTRTL);
  ASSERT_TRUE(GetWindowLongPtrW(set->Handle(), GWL_EXSTYLE) & WS_EX_LAYOUTRTL);
  EXPECT_TRUE(IsWindowVisible(form->Handle()));
  RECT client{}, shown{};
  GetClientRect(form->Handle(), &client);
  MapWindowPoints(form->Handle(), nullptr, reinterpret_cast<POINT*>(&client), 2);
  GetWindowRect(set->Handle(), &shown);
  EXPECT_EQ(shown.right, client.right - 8);
  EXPECT_EQ(set->Left(), 8);
  const TBitmap right = paint();
  for (int i = 0; i < 4; ++i) {
    const RECT r = set->TabRect(i);
    const RECT inside{r.left + 4, 2, r.right - 4, 16}, reflected{360 - inside.right, 2, 360 - inside.left, 16};
    const std::string ink = TextInk(left, inside);
    ASSERT_NE(ink.find('#'), std::string::npos) << i;
    EXPECT_EQ(TextInk(right, reflected), ink) << i;
  }
  EXPECT_EQ(right.Pixel(360 - 1 - (set->TabRect(0).left + 6), 3), RGB(192, 192, 192));
  delete form;
}

TEST_F(Tabs, ATabSetTooNarrowForItsTabsScrollsThemWithItsScroller) {
  TForm* form = ShowForm(kTabSetForm);
  auto* set = Find<TTabSet>(form, "Sheets");
  const auto pair = [&](int i) {
    return CaptionWidth(*set, set->Tabs()[i]) + CaptionWidth(*set, set->Tabs()[i + 1]) + 2 * TTabSet::kTabEdges;
  };
  // Room for any two neighbouring tabs beside the scroller, not for three.
  set->SetWidth(6 + std::max({pair(0), pair(1), pair(2)}) + set->EndMargin() + TTabSet::kScrollerRoom);
  TUpDown& scroller = set->Scroller();
  EXPECT_EQ(set->Components().front(), &scroller);
  EXPECT_EQ(scroller.Parent(), set);
  EXPECT_TRUE(IsWindowVisible(scroller.Handle()));
  EXPECT_TRUE(StyleOf(scroller.Handle()) & UDS_HORZ);
  EXPECT_EQ(set->VisibleTabs(), 2);
  EXPECT_LE(set->TabRect(1).right, set->Width() - set->EndMargin() - TTabSet::kScrollerRoom);
  // The scroller sits right of the last tab.
  EXPECT_GE(RectIn(scroller.Handle(), set->Handle()).left, set->TabRect(1).right);

  RECT r;
  GetClientRect(scroller.Handle(), &r);
  gui_test::Click(scroller.Handle(), POINT{r.right * 3 / 4, r.bottom / 2});  // the right arrow
  EXPECT_EQ(set->FirstIndex(), 1);
  EXPECT_EQ(set->TabRect(0).right, 0);
  EXPECT_EQ(set->TabRect(1).left, 6);
  gui_test::Click(scroller.Handle(), POINT{r.right * 3 / 4, r.bottom / 2});
  gui_test::Click(scroller.Handle(), POINT{r.right * 3 / 4, r.bottom / 2});
  EXPECT_EQ(set->FirstIndex(), 2);  // the last two tabs are shown: no further
  gui_test::Click(scroller.Handle(), POINT{r.right / 4, r.bottom / 2});
  EXPECT_EQ(set->FirstIndex(), 1);

  // Choosing a tab out of view scrolls to it; widening shows them all.
  set->SetTabIndex(0);
  EXPECT_EQ(set->FirstIndex(), 0);
  set->SetTabIndex(3);
  EXPECT_EQ(set->FirstIndex(), 2);
  set->SetWidth(400);
  EXPECT_EQ(set->FirstIndex(), 0);
  EXPECT_EQ(set->VisibleTabs(), 4);
  EXPECT_FALSE(IsWindowVisible(scroller.Handle()));
  delete form;
}

}  // namespace
