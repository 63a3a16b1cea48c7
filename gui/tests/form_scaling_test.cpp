// Forms read for a screen of another density than their description's:
// positions, sizes, client size and own fonts scaled as MulDiv rounds,
// children with their parents, column and panel widths too; a form that is
// not Scaled, or made for the screen's density, stays as described; a move
// to a screen of another density scales again.
#include <gtest/gtest.h>
#include <windows.h>
#include <commctrl.h>

#include <tuple>

#include "gui/comctrls.h"
#include "gui/extctrls.h"
#include "gui/listview.h"
#include "gui/screen.h"
#include "gui/stdctrls.h"
#include "gui/tests/form_fixture.h"

using namespace gui;

namespace {

class FormScaling : public gui_test::FormTest {
 protected:
  void TearDown() override {
    ForceScreenPixelsPerInch(0);
    FormTest::TearDown();
  }

  // A form described at `designDpi` with a panel holding a check box and a
  // list view, read on a screen of `screenDpi`.
  TForm* Read(int screenDpi, int designDpi, bool scaled = true) {
    ForceScreenPixelsPerInch(screenDpi);
    auto* form = new TForm(app_.get());
    form->InitFromText("object Form1: TForm\n  Left = 40\n  Top = 30\n  ClientWidth = 301\n  ClientHeight = 201\n"
                       "  Font.Height = -11\n  Font.Name = 'Tahoma'\n  PixelsPerInch = " +
                       std::to_string(designDpi) + "\n  Scaled = " + (scaled ? "True" : "False") +
                       R"(
  object Panel1: TPanel
    Left = 7
    Top = 5
    Width = 201
    Height = 101
    object CheckBox1: TCheckBox
      Left = 3
      Top = 9
      Width = 97
      Height = 17
      Caption = 'Option'
    end
  end
  object Button1: TButton
    Left = 9
    Top = 150
    Width = 75
    Height = 25
    Caption = 'Go'
    Font.Height = -13
    ParentFont = False
  end
  object List1: TListView
    Left = 210
    Top = 5
    Width = 85
    Height = 101
    ViewStyle = vsReport
    Columns = <
      item
        Caption = 'Name'
        Width = 41
      end>
  end
end
)");
    form->HandleNeeded();
    form->Show();
    app_->ProcessMessages();
    return form;
  }
};

TEST_F(FormScaling, AFormReadOnADenserScreenIsScaledChildrenWithTheirParents) {
  TForm* form = Read(144, 96);
  RECT client;
  GetClientRect(form->Handle(), &client);
  EXPECT_EQ(client.right, 452);  // 301 x 1.5 = 451.5, rounded as MulDiv does
  EXPECT_EQ(client.bottom, 302);
  // The form keeps its place.
  EXPECT_EQ(form->Left(), 40);
  EXPECT_EQ(form->Top(), 30);
  auto* panel = Find<TPanel>(form, "Panel1");
  auto* check = Find<TCheckBox>(form, "CheckBox1");
  auto* button = Find<TButton>(form, "Button1");
  auto* list = Find<TListView>(form, "List1");
  EXPECT_EQ(panel->BoundsRect().left, 11);
  EXPECT_EQ(panel->BoundsRect().top, 8);
  EXPECT_EQ(panel->Width(), 302);
  EXPECT_EQ(panel->Height(), 152);
  EXPECT_EQ(check->Left(), 5);  // 4.5 away from zero
  EXPECT_EQ(check->Top(), 14);
  EXPECT_EQ(check->Width(), 146);
  // Its window is where its bounds say, inside the scaled panel.
  RECT r;
  GetWindowRect(check->Handle(), &r);
  MapWindowPoints(nullptr, panel->Handle(), reinterpret_cast<POINT*>(&r), 2);
  EXPECT_EQ(r.left, 5);
  EXPECT_EQ(r.bottom - r.top, 26);
  // Fonts: the form's and a control's own scale; a parent's font follows.
  EXPECT_EQ(form->Font().Height(), -17);
  EXPECT_EQ(check->Font().Height(), -17);
  EXPECT_EQ(button->Font().Height(), -20);
  EXPECT_EQ(button->Top(), 225);
  // Report columns are as wide as the density asks.
  EXPECT_EQ(SendMessageW(list->Handle(), LVM_GETCOLUMNWIDTH, 0, 0), 62);
  EXPECT_EQ(list->Columns()[0].Width(), 62);
}

TEST_F(FormScaling, FormsForTheScreensDensityOrNotScaledStayAsDescribed) {
  for (const auto& [screen, design, scaled] : {std::tuple{96, 96, true}, std::tuple{144, 144, true},
                                               std::tuple{144, 96, false}}) {
    SCOPED_TRACE(screen);
    TForm* form = Read(screen, design, scaled);
    RECT client;
    GetClientRect(form->Handle(), &client);
    EXPECT_EQ(client.right, 301);
    EXPECT_EQ(Find<TCheckBox>(form, "CheckBox1")->Width(), 97);
    EXPECT_EQ(form->Font().Height(), -11);
    delete form;
  }
  // A description made at 120 on a 96 screen gets smaller.
  TForm* form = Read(96, 120);
  EXPECT_EQ(Find<TPanel>(form, "Panel1")->Width(), 161);  // 201 x 0.8 = 160.8
  EXPECT_EQ(form->Font().Height(), -9);
}

TEST_F(FormScaling, AMoveToAScreenOfAnotherDensityScalesAgainToTheSuggestedPlace) {
  TForm* form = Read(96, 96);
  auto* check = Find<TCheckBox>(form, "CheckBox1");
  RECT suggested{100, 80, 100 + 700, 80 + 500};
  SendMessageW(form->Handle(), 0x02E0 /* WM_DPICHANGED */, MAKEWPARAM(192, 192), reinterpret_cast<LPARAM>(&suggested));
  RECT window;
  GetWindowRect(form->Handle(), &window);
  EXPECT_EQ(window.left, 100);
  EXPECT_EQ(window.top, 80);
  EXPECT_EQ(window.right - window.left, 700);
  EXPECT_EQ(check->Width(), 194);
  EXPECT_EQ(form->Font().Height(), -22);
  // Back to 96: the sizes come back (each step rounds by itself).
  SendMessageW(form->Handle(), 0x02E0, MAKEWPARAM(96, 96), reinterpret_cast<LPARAM>(&suggested));
  EXPECT_EQ(check->Width(), 97);
  EXPECT_EQ(form->Font().Height(), -11);
  // The same density again changes nothing.
  SendMessageW(form->Handle(), 0x02E0, MAKEWPARAM(96, 96), reinterpret_cast<LPARAM>(&suggested));
  EXPECT_EQ(check->Width(), 97);

  // A status bar's panels scale with it.
  auto* bar = new TStatusBar(form);
  bar->SetParent(form);
  bar->SetPanels({TStatusPanel{}, TStatusPanel{}});
  std::vector<TStatusPanel> panels = bar->Panels();
  panels[0].Width = 51;
  bar->SetPanels(panels);
  bar->ChangeScale(3, 2);
  EXPECT_EQ(bar->Panels()[0].Width, 77);
}

}  // namespace
