// Edit, memo and spin edit read from a form description: what the window
// holds, and what typing and the spin buttons do to it.
#include <gtest/gtest.h>
#include <windows.h>
#include <commctrl.h>

#include "gui/edits.h"
#include "gui/tests/form_fixture.h"

using namespace gui;
using gui_test::ClassOf;
using gui_test::StyleOf;
using gui_test::WindowText;

namespace {

class Edits : public gui_test::FormTest {};

void Type(HWND wnd, const std::wstring& text) {
  for (wchar_t c : text) SendMessageW(wnd, WM_CHAR, c, 1);
}

TEST_F(Edits, AnEditTakesTextLimitAndReadOnlyFromTheDescriptionAndReportsTyping) {
  TForm* form = ShowForm(R"(  object Name: TEdit
    Left = 8
    Top = 8
    Text = 'abc'
    MaxLength = 5
  end
  object Fixed: TEdit
    Left = 8
    Top = 40
    Text = 'fixed'
    ReadOnly = True
  end
)");
  auto* name = Find<TEdit>(form, "Name");
  auto* fixed = Find<TEdit>(form, "Fixed");
  HWND wnd = name->Handle();
  EXPECT_EQ(ClassOf(wnd), "TEdit");
  EXPECT_EQ(WindowText(wnd), L"abc");
  EXPECT_EQ(SendMessageW(wnd, EM_GETLIMITTEXT, 0, 0), 5);
  EXPECT_TRUE(StyleOf(fixed->Handle()) & ES_READONLY);
  EXPECT_FALSE(StyleOf(wnd) & ES_READONLY);

  int changes = 0;
  name->OnChange = [&](TObject* sender) {
    EXPECT_EQ(sender, name);
    ++changes;
  };
  SendMessageW(wnd, EM_SETSEL, 3, 3);
  Type(wnd, L"xyz");  // only two more fit
  EXPECT_EQ(name->Text(), L"abcxy");
  EXPECT_EQ(GetPropValue(*name, "Text"), "abcxy");
  EXPECT_EQ(changes, 2);

  int fixedChanges = 0;
  fixed->OnChange = [&](TObject*) { ++fixedChanges; };
  Type(fixed->Handle(), L"q");
  EXPECT_EQ(fixed->Text(), L"fixed");
  EXPECT_EQ(fixedChanges, 0);
  fixed->SetReadOnly(false);
  Type(fixed->Handle(), L"q");
  EXPECT_EQ(fixedChanges, 1);
  delete form;
}

TEST_F(Edits, AMemoHoldsItsLinesAndKeepsThemAcrossANewWindow) {
  TForm* form = ShowForm(R"(  object Notes: TMemo
    Left = 8
    Top = 8
    Width = 200
    Height = 100
    Lines.Strings = (
      'first'
      'second')
    ScrollBars = ssVertical
  end
)");
  auto* memo = Find<TMemo>(form, "Notes");
  HWND wnd = memo->Handle();
  EXPECT_EQ(WindowText(wnd), L"first\r\nsecond");
  EXPECT_TRUE(StyleOf(wnd) & ES_MULTILINE);
  EXPECT_TRUE(StyleOf(wnd) & WS_VSCROLL);
  EXPECT_FALSE(StyleOf(wnd) & WS_HSCROLL);
  EXPECT_EQ(memo->Lines().Count(), 2);

  memo->Lines().Add(L"third");
  memo->Lines().Delete(0);
  EXPECT_EQ(WindowText(wnd), L"second\r\nthird");
  SendMessageW(wnd, EM_SETSEL, 0, 0);
  Type(wnd, L"2nd ");  // typed, not set by the program
  EXPECT_EQ(memo->Lines()[0], L"2nd second");

  memo->SetScrollBars(TScrollStyle::ssBoth);
  EXPECT_NE(memo->Handle(), wnd);
  EXPECT_TRUE(StyleOf(memo->Handle()) & WS_HSCROLL);
  EXPECT_EQ(WindowText(memo->Handle()), L"2nd second\r\nthird");
  delete form;
}

TEST_F(Edits, EnterAndTabInAMemoFollowWantReturnsAndWantTabs) {
  TForm* form = ShowForm(R"(  object Free: TMemo
    Left = 8
    Top = 8
    WantTabs = True
  end
  object Strict: TMemo
    Left = 8
    Top = 120
    WantReturns = False
  end
)");
  auto* free = Find<TMemo>(form, "Free");
  auto* strict = Find<TMemo>(form, "Strict");
  for (TMemo* memo : {free, strict}) {
    memo->SetFocus();
    gui_test::PressKey(*app_, memo->Handle(), VK_RETURN);
    gui_test::PressKey(*app_, memo->Handle(), VK_TAB);
  }
  // The keys pass the dialog manager: one memo types them, the other leaves
  // them to the dialog.
  EXPECT_EQ(free->Text(), L"\r\n\t");
  EXPECT_EQ(strict->Text(), L"");
  delete form;
}

TEST_F(Edits, ASpinEditsButtonsSitInsideItAndStepItsValue) {
  TForm* form = ShowForm(R"(  object Count: TSpinEdit
    Left = 8
    Top = 8
    Width = 80
    MinValue = 1
    MaxValue = 10
    Increment = 4
    Value = 3
  end
)");
  auto* spin = Find<TSpinEdit>(form, "Count");
  HWND edit = spin->Handle();
  EXPECT_EQ(spin->Components().front(), &spin->Button());
  HWND button = spin->Button().Handle();
  // The tab and edit skinners look for the buttons by class among the edit's children.
  EXPECT_EQ(ClassOf(button), "TSpinButton");
  EXPECT_EQ(GetParent(button), edit);
  EXPECT_EQ(reinterpret_cast<HWND>(SendMessageW(button, UDM_GETBUDDY, 0, 0)), edit);
  RECT client, buttonRect;
  GetClientRect(edit, &client);
  GetWindowRect(button, &buttonRect);
  MapWindowPoints(nullptr, edit, reinterpret_cast<POINT*>(&buttonRect), 2);
  EXPECT_EQ(buttonRect.right, client.right);
  EXPECT_EQ(buttonRect.top, 0);
  EXPECT_EQ(buttonRect.bottom, client.bottom);
  EXPECT_EQ(WindowText(edit), L"3");

  int changes = 0;
  spin->OnChange = [&](TObject*) { ++changes; };
  RECT r;
  GetClientRect(button, &r);
  const POINT up{r.right / 2, r.bottom / 4};
  gui_test::Click(button, up);
  EXPECT_EQ(spin->Value(), 7);
  EXPECT_EQ(WindowText(edit), L"7");
  EXPECT_GE(changes, 1);
  gui_test::Click(button, up);
  EXPECT_EQ(spin->Value(), 10);  // stops at MaxValue
  gui_test::Click(button, POINT{r.right / 2, r.bottom * 3 / 4});
  EXPECT_EQ(spin->Value(), 6);

  // The down key in the edit steps it as well.
  spin->SetFocus();
  gui_test::PressKey(*app_, edit, VK_DOWN);
  EXPECT_EQ(spin->Value(), 2);

  spin->SetText(L"many");
  EXPECT_EQ(spin->Value(), 1);
  spin->SetText(L"99");
  EXPECT_EQ(spin->Value(), 10);
  delete form;
}

}  // namespace
