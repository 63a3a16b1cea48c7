// The colour scheme: system colours resolved through the scheme in force, a
// control's own RGB colour kept, controls that hand colours to their system
// class handing them again, the colour answers, and colours inherited from
// the parent until a control is given its own.
#include <gtest/gtest.h>
#include <windows.h>
#include <commctrl.h>

#include <memory>

#include "gui/color_scheme.h"
#include "gui/edits.h"
#include "gui/extctrls.h"
#include "gui/forms.h"
#include "gui/handles.h"
#include "gui/listview.h"
#include "gui/stdctrls.h"

namespace {

using namespace gui;

constexpr COLORREF kSchemeWindow = RGB(10, 20, 30);
constexpr COLORREF kSchemeFace = RGB(40, 50, 60);

// Window and face of its own; every other index the system's.
class TFakeScheme : public TColorScheme {
 public:
  COLORREF SysColor(int index) const override {
    return index == COLOR_WINDOW ? kSchemeWindow : index == COLOR_BTNFACE ? kSchemeFace : GetSysColor(index);
  }
  HBRUSH SysColorBrush(int index) const override {
    return index == COLOR_WINDOW ? window_.get() : index == COLOR_BTNFACE ? face_.get() : GetSysColorBrush(index);
  }

 private:
  BrushHandle window_{CreateSolidBrush(kSchemeWindow)};
  BrushHandle face_{CreateSolidBrush(kSchemeFace)};
};

// Puts the scheme in force for a scope.
struct TSchemeInForce {
  explicit TSchemeInForce(const TColorScheme& scheme) { SetColorScheme(&scheme); }
  ~TSchemeInForce() { SetColorScheme(nullptr); }
};

std::unique_ptr<TForm> NewForm(TApplication& app) {
  auto form = std::make_unique<TForm>(&app);
  form->InitFromText(
      "object Form1: TForm\n  Left = 40\n  Top = 40\n  ClientWidth = 300\n  ClientHeight = 200\n"
      "  object Panel1: TPanel\n    Left = 0\n    Top = 0\n    Width = 200\n    Height = 100\n"
      "    object Check1: TCheckBox\n      Left = 8\n      Top = 8\n      Width = 80\n      Height = 17\n    end\n"
      "    object Edit1: TEdit\n      Left = 8\n      Top = 30\n      Width = 80\n      Height = 21\n    end\n"
      "  end\n"
      "  object RedEdit: TEdit\n    Left = 210\n    Top = 8\n    Width = 80\n    Height = 21\n"
      "    Color = $000000C8\n  end\n"
      "  object View1: TListView\n    Left = 210\n    Top = 40\n    Width = 80\n    Height = 60\n  end\n"
      "end\n");
  form->Show();
  return form;
}

LRESULT ReflectedAnswer(TForm& form, const char* name, HDC dc) {
  HWND child = static_cast<TWinControl*>(form.FindComponent(name))->Handle();
  return SendMessageW(GetParent(child), WM_CTLCOLOREDIT, reinterpret_cast<WPARAM>(dc), reinterpret_cast<LPARAM>(child));
}

TEST(ColorScheme, SystemColoursFollowTheSchemeInForceAndAControlsOwnColourStays) {
  TApplication app;
  auto form = NewForm(app);
  HWND view = static_cast<TWinControl*>(form->FindComponent("View1"))->Handle();
  MemoryDcHandle dc(CreateCompatibleDC(nullptr));
  const TFakeScheme scheme;
  {
    TSchemeInForce inForce(scheme);
    EXPECT_EQ(ColorToRGB(clWindow), kSchemeWindow);
    EXPECT_EQ(ColorToRGB(clWindowText), GetSysColor(COLOR_WINDOWTEXT));
    EXPECT_EQ(ReflectedAnswer(*form, "Edit1", dc.get()), reinterpret_cast<LRESULT>(scheme.SysColorBrush(COLOR_WINDOW)));
    EXPECT_EQ(GetBkColor(dc.get()), kSchemeWindow);
    const auto own = reinterpret_cast<HBRUSH>(ReflectedAnswer(*form, "RedEdit", dc.get()));
    EXPECT_EQ(GetBkColor(dc.get()), RGB(200, 0, 0));
    EXPECT_FALSE(IsSystemColorBrush(own));
    // The list view was handed the scheme's colour when it came in force.
    EXPECT_EQ(SendMessageW(view, LVM_GETBKCOLOR, 0, 0), static_cast<LRESULT>(kSchemeWindow));
    EXPECT_EQ(form->BrushHandle(), scheme.SysColorBrush(COLOR_BTNFACE));
  }
  EXPECT_EQ(SendMessageW(view, LVM_GETBKCOLOR, 0, 0), static_cast<LRESULT>(GetSysColor(COLOR_WINDOW)));
  EXPECT_EQ(ReflectedAnswer(*form, "Edit1", dc.get()), reinterpret_cast<LRESULT>(GetSysColorBrush(COLOR_WINDOW)));
  // Without a scheme the default answer is the system's own.
  HWND edit = static_cast<TWinControl*>(form->FindComponent("Edit1"))->Handle();
  EXPECT_EQ(DefaultCtlColors(form->Handle(), WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc.get()),
                             reinterpret_cast<LPARAM>(edit)),
            DefWindowProcW(form->Handle(), WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc.get()),
                           reinterpret_cast<LPARAM>(edit)));
}

TEST(ColorScheme, ControlsTakeTheirParentsColourUntilGivenOneOfTheirOwn) {
  TApplication app;
  auto form = NewForm(app);
  auto& panel = *static_cast<TControl*>(form->FindComponent("Panel1"));
  auto& check = *static_cast<TControl*>(form->FindComponent("Check1"));
  auto& edit = *static_cast<TControl*>(form->FindComponent("Edit1"));
  EXPECT_TRUE(check.ParentColor());
  EXPECT_FALSE(edit.ParentColor());
  EXPECT_FALSE(form->ParentColor());

  panel.SetColor(RGB(1, 2, 3));
  EXPECT_EQ(check.Color(), RGB(1, 2, 3));
  EXPECT_EQ(edit.Color(), clWindow);
  check.SetColor(RGB(9, 9, 9));
  EXPECT_FALSE(check.ParentColor());
  panel.SetColor(RGB(4, 5, 6));
  EXPECT_EQ(check.Color(), RGB(9, 9, 9));
  check.SetParentColor(true);
  EXPECT_EQ(check.Color(), RGB(4, 5, 6));

  // Controls of one colour of their own paint with one brush, in that
  // colour, which goes when the last of them takes another colour.
  const long brushes = BrushHandle::LiveCount();
  const HBRUSH shared = panel.BrushHandle();
  EXPECT_EQ(check.BrushHandle(), shared);
  EXPECT_EQ(BrushHandle::LiveCount(), brushes + 1);
  LOGBRUSH described{};
  ASSERT_TRUE(GetObjectW(shared, sizeof described, &described));
  EXPECT_EQ(described.lbColor, RGB(4, 5, 6));
  check.SetColor(RGB(7, 7, 7));
  EXPECT_NE(check.BrushHandle(), shared);
  panel.SetColor(RGB(7, 7, 7));
  EXPECT_EQ(panel.BrushHandle(), check.BrushHandle());
  EXPECT_EQ(BrushHandle::LiveCount(), brushes + 1);
}

}  // namespace
