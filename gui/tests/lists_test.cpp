// List box and combo box read from a form description: items, selection
// and scroll position as the window holds them, and the notifications that
// real clicks and keys produce.
#include <gtest/gtest.h>
#include <windows.h>

#include "gui/lists.h"
#include "gui/tests/form_fixture.h"

using namespace gui;
using gui_test::ClassOf;
using gui_test::StyleOf;
using gui_test::WindowText;

namespace {

class Lists : public gui_test::FormTest {};

std::wstring ListText(HWND wnd, int index) {
  wchar_t text[64] = {};
  SendMessageW(wnd, LB_GETTEXT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(text));
  return text;
}

const char* kListForm = R"(  object Fruit: TListBox
    Left = 8
    Top = 8
    Width = 120
    Height = 60
    ItemIndex = 4
    TopIndex = 3
    Items.Strings = (
      'apple' 'banana' 'cherry' 'damson' 'elder' 'fig' 'grape' 'hawthorn')
  end
)";

TEST_F(Lists, AListBoxShowsItsItemsSelectionAndTopItemAndReportsAClick) {
  TForm* form = ShowForm(kListForm);
  auto* list = Find<TListBox>(form, "Fruit");
  HWND wnd = list->Handle();
  EXPECT_EQ(ClassOf(wnd), "TListBox");
  ASSERT_EQ(SendMessageW(wnd, LB_GETCOUNT, 0, 0), 8);
  EXPECT_EQ(ListText(wnd, 7), L"hawthorn");
  EXPECT_EQ(SendMessageW(wnd, LB_GETCURSEL, 0, 0), 4);
  EXPECT_EQ(SendMessageW(wnd, LB_GETTOPINDEX, 0, 0), 3);
  // More items than fit: the scroll bar is there.
  EXPECT_TRUE(StyleOf(wnd) & WS_VSCROLL);

  int clicks = 0;
  list->OnClick = [&](TObject*) {
    ++clicks;
    EXPECT_EQ(list->ItemIndex(), 5);  // already selected when told
  };
  RECT item;
  SendMessageW(wnd, LB_GETITEMRECT, 5, reinterpret_cast<LPARAM>(&item));
  gui_test::Click(wnd, gui_test::Centre(item));
  EXPECT_EQ(clicks, 1);
  EXPECT_EQ(GetPropValue(*list, "ItemIndex"), "5");

  // Changes by the program reach the window.
  list->Items().Insert(0, L"acorn");
  list->Items().Delete(8);
  ASSERT_EQ(SendMessageW(wnd, LB_GETCOUNT, 0, 0), 8);
  EXPECT_EQ(ListText(wnd, 0), L"acorn");
  EXPECT_EQ(ListText(wnd, 7), L"grape");
  delete form;
}

TEST_F(Lists, AListBoxKeepsItemsSelectionAndTopItemAcrossANewWindow) {
  TForm* form = ShowForm(kListForm);
  auto* list = Find<TListBox>(form, "Fruit");
  HWND old = list->Handle();
  SendMessageW(old, LB_SETCURSEL, 6, 0);  // as the user would leave it
  SendMessageW(old, LB_SETTOPINDEX, 4, 0);
  list->SetIntegralHeight(true);
  HWND wnd = list->Handle();
  ASSERT_NE(wnd, old);
  EXPECT_FALSE(StyleOf(wnd) & LBS_NOINTEGRALHEIGHT);
  EXPECT_EQ(SendMessageW(wnd, LB_GETCOUNT, 0, 0), 8);
  EXPECT_EQ(SendMessageW(wnd, LB_GETCURSEL, 0, 0), 6);
  EXPECT_EQ(SendMessageW(wnd, LB_GETTOPINDEX, 0, 0), 4);
  delete form;
}

const char* kComboForm = R"(  object Pick: TComboBox
    Left = 8
    Top = 8
    Style = csDropDownList
    DropDownCount = 5
    Items.Strings = (
      'red' 'green' 'blue' 'cyan' 'magenta' 'yellow' 'black')
    ItemIndex = 1
  end
  object Typed: TComboBox
    Left = 8
    Top = 40
    Text = 'teal'
    Items.Strings = (
      'one' 'two')
  end
)";

TEST_F(Lists, ADropDownListChangesByKeyAndReportsTheChosenText) {
  TForm* form = ShowForm(kComboForm);
  auto* pick = Find<TComboBox>(form, "Pick");
  HWND wnd = pick->Handle();
  EXPECT_EQ(ClassOf(wnd), "TComboBox");
  EXPECT_EQ(StyleOf(wnd) & 3, CBS_DROPDOWNLIST);
  EXPECT_EQ(SendMessageW(wnd, CB_GETCOUNT, 0, 0), 7);
  EXPECT_EQ(SendMessageW(wnd, CB_GETCURSEL, 0, 0), 1);
  EXPECT_EQ(pick->Text(), L"green");

  std::vector<std::wstring> seen;
  pick->OnSelect = [&](TObject*) { seen.push_back(L"select " + pick->Text()); };
  pick->OnChange = [&](TObject*) { seen.push_back(L"change " + pick->Text()); };
  pick->SetFocus();
  gui_test::PressKey(*app_, wnd, VK_DOWN);
  EXPECT_EQ(seen, (std::vector<std::wstring>{L"select blue", L"change blue"}));
  EXPECT_EQ(pick->ItemIndex(), 2);

  // Setting the text of a drop-down list chooses the item with that text.
  pick->SetText(L"black");
  EXPECT_EQ(SendMessageW(wnd, CB_GETCURSEL, 0, 0), 6);
  pick->SetText(L"purple");
  EXPECT_EQ(SendMessageW(wnd, CB_GETCURSEL, 0, 0), CB_ERR);
  delete form;
}

TEST_F(Lists, TheDroppedListKeepsItsLengthWhenTheBoxIsMoved) {
  TForm* form = ShowForm(kComboForm);
  auto* pick = Find<TComboBox>(form, "Pick");
  HWND wnd = pick->Handle();
  COMBOBOXINFO info{};
  info.cbSize = sizeof info;
  ASSERT_TRUE(GetComboBoxInfo(wnd, &info));
  const int itemHeight = static_cast<int>(SendMessageW(wnd, CB_GETITEMHEIGHT, 0, 0));
  // How many items the dropped list shows.
  const auto shown = [&] {
    SendMessageW(wnd, CB_SHOWDROPDOWN, TRUE, 0);
    RECT list;
    GetClientRect(info.hwndList, &list);
    SendMessageW(wnd, CB_SHOWDROPDOWN, FALSE, 0);
    return (list.bottom - list.top) / itemHeight;
  };
  const int closed = pick->Height();
  EXPECT_EQ(shown(), 5);
  // The framework's height is the closed box; moving it keeps the list.
  pick->SetBounds(20, 20, 150, closed);
  EXPECT_EQ(shown(), 5);
  EXPECT_EQ(pick->Height(), closed);
  pick->SetDropDownCount(2);
  EXPECT_EQ(shown(), 2);
  delete form;
}

TEST_F(Lists, TypingIntoADropDownReportsTheText) {
  TForm* form = ShowForm(kComboForm);
  auto* typed = Find<TComboBox>(form, "Typed");
  HWND wnd = typed->Handle();
  EXPECT_EQ(StyleOf(wnd) & 3, CBS_DROPDOWN);
  EXPECT_EQ(WindowText(wnd), L"teal");
  COMBOBOXINFO info{};
  info.cbSize = sizeof info;
  ASSERT_TRUE(GetComboBoxInfo(wnd, &info));
  int changes = 0;
  typed->OnChange = [&](TObject*) { ++changes; };
  SendMessageW(info.hwndItem, EM_SETSEL, 4, 4);
  SendMessageW(info.hwndItem, WM_CHAR, L's', 1);
  EXPECT_EQ(changes, 1);
  EXPECT_EQ(typed->Text(), L"teals");
  EXPECT_EQ(typed->ItemIndex(), -1);

  typed->SetStyle(TComboBoxStyle::csSimple);  // a new window keeps the text
  EXPECT_EQ(StyleOf(typed->Handle()) & 3, CBS_SIMPLE);
  EXPECT_EQ(WindowText(typed->Handle()), L"teals");
  delete form;
}

}  // namespace
