// A skinned framework form in the skin's colours: the tab sheet, labels,
// panel caption, edit, list box, list view and date picker follow the dark
// skin, a control given a colour of its own keeps it, and skin-off gives
// every control exactly its system colours back with the live brush count
// where it started.
#include <gtest/gtest.h>
#include <windows.h>
#include <commctrl.h>

#include <memory>
#include <utility>
#include <vector>

#include "gui/color_scheme.h"
#include "gui/datetime.h"
#include "gui/forms.h"
#include "gui/handles.h"
#include "gui/labels.h"
#include "skin/controls/tests/controls_fixture.h"
#include "skin/data/skin_data.h"
#include "skin/data/tests/test_skins.h"
#include "skin/manager/skin_manager.h"
#include "skin/manager/tests/contrast_switch.h"
#include "skin/manager/tests/program_fixture.h"

namespace {

constexpr COLORREF kDarkGrayText = RGB(120, 127, 138);
constexpr COLORREF kOwnRed = RGB(200, 0, 0);

constexpr int kCalendarParts[] = {MCSC_BACKGROUND, MCSC_MONTHBK, MCSC_TEXT, MCSC_TITLEBK, MCSC_TITLETEXT,
                                  MCSC_TRAILINGTEXT};

// The dark skin worn, skinning switched on by each test.
class FrameworkColours : public engine_test::TProgramTest {
 protected:
  FrameworkColours() : TProgramTest(false) {}
  void SetUp() override {
    TProgramTest::SetUp();
    data_->SetSkinFile(skin_test::DarkSkinPath());
    ASSERT_EQ(data_->SkinName(), "Nightfall");
    form_ = new gui::TForm(app_.get());
    form_->InitFromText(
        "object ColoursForm: TForm\n  Left = 40\n  Top = 40\n  ClientWidth = 360\n  ClientHeight = 200\n"
        "  Caption = 'Colours'\n"
        "  object Pages: TPageControl\n    Left = 0\n    Top = 0\n    Width = 360\n    Height = 200\n"
        "    object Sheet1: TTabSheet\n      Caption = 'One'\n"
        "      object Label1: TLabel\n        Left = 8\n        Top = 8\n        Width = 80\n        Height = 13\n"
        "        Caption = 'Name of scan'\n      end\n"
        "      object OffLabel: TLabel\n        Left = 8\n        Top = 30\n        Width = 80\n        Height = 13\n"
        "        Caption = 'Not now'\n        Enabled = False\n      end\n"
        "      object Edit1: TEdit\n        Left = 100\n        Top = 8\n        Width = 120\n        Height = 21\n"
        "      end\n"
        "      object RedEdit: TEdit\n        Left = 100\n        Top = 36\n        Width = 120\n        Height = 21\n"
        "        Color = $000000C8\n      end\n"
        "      object List1: TListBox\n        Left = 8\n        Top = 64\n        Width = 80\n        Height = 60\n"
        "      end\n"
        "      object View1: TListView\n        Left = 100\n        Top = 64\n        Width = 120\n        Height = 60\n"
        "        ViewStyle = vsList\n        Items = <\n          item\n            Caption = 'Alpha'\n          end>\n"
        "      end\n"
        "      object Date1: TDateTimePicker\n        Left = 230\n        Top = 8\n        Width = 110\n"
        "        Height = 21\n      end\n"
        "      object Panel1: TPanel\n        Left = 230\n        Top = 64\n        Width = 110\n        Height = 60\n"
        "        Caption = 'Panel'\n      end\n"
        "    end\n  end\nend\n");
    form_->Show();
    skin_test::DrainMessages();
  }
  HWND Window(const char* name) { return static_cast<gui::TWinControl*>(form_->FindComponent(name))->Handle(); }
  // A control's window rectangle, or a windowless one's, in the form
  // window's coordinates.
  RECT InForm(const char* name) {
    RECT r{}, window{};
    auto* control = static_cast<gui::TControl*>(form_->FindComponent(name));
    if (control->IsWindowed()) {
      GetWindowRect(static_cast<gui::TWinControl*>(control)->Handle(), &r);
    } else {
      r = control->BoundsRect();
      MapWindowPoints(control->Parent()->Handle(), nullptr, reinterpret_cast<POINT*>(&r), 2);
    }
    GetWindowRect(form_->Handle(), &window);
    OffsetRect(&r, -window.left, -window.top);
    return r;
  }
  // Four pixels in from the right edge of a control's client area, half way down.
  COLORREF Inside(const gui::TBitmap& shot, const char* name) {
    HWND wnd = Window(name);
    RECT client{}, window{};
    GetClientRect(wnd, &client);
    MapWindowPoints(wnd, nullptr, reinterpret_cast<POINT*>(&client), 2);
    GetWindowRect(form_->Handle(), &window);
    return shot.Pixel(client.right - 4 - window.left, (client.top + client.bottom) / 2 - window.top);
  }
  int Count(const gui::TBitmap& shot, const char* name, COLORREF colour) {
    const RECT r = InForm(name);
    int n = 0;
    for (int y = r.top; y < r.bottom; ++y)
      for (int x = r.left; x < r.right; ++x) n += shot.Pixel(x, y) == colour;
    return n;
  }
  // The list view's first item, selected with the focus on the list: a
  // pixel of its label's background past its text.
  COLORREF SelectedRow() {
    HWND view = Window("View1");
    SetFocus(view);
    LVITEMW item{};
    item.stateMask = item.state = LVIS_SELECTED | LVIS_FOCUSED;
    SendMessageW(view, LVM_SETITEMSTATE, 0, reinterpret_cast<LPARAM>(&item));
    RECT label{};
    label.left = LVIR_LABEL;
    SendMessageW(view, LVM_GETITEMRECT, 0, reinterpret_cast<LPARAM>(&label));
    const gui::TBitmap shot = controls_test::Snapshot(view);
    const int border = GetSystemMetrics(SM_CXEDGE);
    return shot.Pixel(label.right - 2 + border, (label.top + label.bottom) / 2 + border);
  }
  std::vector<COLORREF> CalendarColours(HWND picker) {
    std::vector<COLORREF> colours;
    for (int part : kCalendarParts) colours.push_back(static_cast<COLORREF>(SendMessageW(picker, DTM_GETMCCOLOR, part, 0)));
    return colours;
  }

  gui::TForm* form_ = nullptr;
};

TEST_F(FrameworkColours, TheDarkSkinReachesEveryControlThatChoseNoColourAndSkinOffGivesTheSystemsBack) {
  // What a picker's calendar has of its own.
  HWND fresh = CreateWindowExW(0, DATETIMEPICK_CLASSW, L"", WS_POPUP, 0, 0, 80, 20, nullptr, nullptr, nullptr, nullptr);
  const std::vector<COLORREF> calendarHad = CalendarColours(fresh);
  DestroyWindow(fresh);
  const long brushes = gui::BrushHandle::LiveCount();

  data_->SetActive(true);
  skin_test::WaitForPendingAction();
  ASSERT_NE(skin::ThreadSkinManager()->FindFormSkinner(form_->Handle()), nullptr);
  ASSERT_EQ(gui::CurrentColorScheme(), &data_->Palette());
  {
    SCOPED_TRACE("dark skin");
    const gui::TBitmap shot = controls_test::Snapshot(form_->Handle());
    const RECT sheet = InForm("Sheet1");
    EXPECT_EQ(shot.Pixel(sheet.right - 5, sheet.bottom - 5), engine_test::kDarkFace);
    EXPECT_EQ(Inside(shot, "Edit1"), engine_test::kDarkWindow);
    EXPECT_EQ(Inside(shot, "RedEdit"), kOwnRed);
    EXPECT_EQ(Inside(shot, "List1"), engine_test::kDarkWindow);
    // The list's sunken edge as the edits' flat border: shadow, then window.
    const RECT list = InForm("List1");
    const int middle = (list.top + list.bottom) / 2;
    EXPECT_EQ(std::pair(shot.Pixel(list.left, middle), shot.Pixel(list.left + 1, middle)),
              std::pair(engine_test::kDarkShadow, engine_test::kDarkWindow));
    for (const char* name : {"Label1", "Panel1", "Date1"}) {
      SCOPED_TRACE(name);
      EXPECT_GT(Count(shot, name, engine_test::kDarkText), 0);
      EXPECT_EQ(Count(shot, name, RGB(0, 0, 0)), 0);
    }
    // Disabled: the skin's grey, flat, without the system's white relief.
    EXPECT_GT(Count(shot, "OffLabel", kDarkGrayText), 0);
    EXPECT_EQ(Count(shot, "OffLabel", GetSysColor(COLOR_BTNHIGHLIGHT)), 0);
    EXPECT_EQ(SendMessageW(Window("View1"), LVM_GETBKCOLOR, 0, 0), static_cast<LRESULT>(engine_test::kDarkWindow));
    EXPECT_EQ(SendMessageW(Window("View1"), LVM_GETTEXTCOLOR, 0, 0), static_cast<LRESULT>(engine_test::kDarkText));
    EXPECT_EQ(CalendarColours(Window("Date1"))[0], engine_test::kDarkWindow);
    EXPECT_EQ(SelectedRow(), RGB(61, 139, 253));
  }

  data_->SetActive(false);
  skin_test::WaitForPendingAction();
  {
    SCOPED_TRACE("skin off");
    EXPECT_EQ(gui::CurrentColorScheme(), nullptr);
    const gui::TBitmap shot = controls_test::Snapshot(form_->Handle());
    const RECT sheet = InForm("Sheet1");
    EXPECT_EQ(shot.Pixel(sheet.right - 5, sheet.bottom - 5), GetSysColor(COLOR_BTNFACE));
    EXPECT_EQ(Inside(shot, "Edit1"), GetSysColor(COLOR_WINDOW));
    EXPECT_EQ(Inside(shot, "RedEdit"), kOwnRed);
    EXPECT_EQ(Inside(shot, "List1"), GetSysColor(COLOR_WINDOW));
    EXPECT_GT(Count(shot, "OffLabel", GetSysColor(COLOR_BTNHIGHLIGHT)), 0);
    EXPECT_EQ(SendMessageW(Window("View1"), LVM_GETBKCOLOR, 0, 0), static_cast<LRESULT>(GetSysColor(COLOR_WINDOW)));
    EXPECT_EQ(CalendarColours(Window("Date1")), calendarHad);
    EXPECT_EQ(SelectedRow(), GetSysColor(COLOR_HIGHLIGHT));
  }
  // Only the brushes the palette made while it was worn stay, with it.
  EXPECT_EQ(gui::BrushHandle::LiveCount(), brushes + data_->Palette().BrushesMade());
}

// A skin for one form only leaves every other form its system colours.
TEST(FrameworkColoursScope, OnlyASkinForEveryFormColoursEveryForm) {
  skin::FreeSkinManager();
  auto app = std::make_unique<gui::TApplication>();
  skin::TSkinData* one =
      skin_test::LoadSkinData(app.get(), skin::sfOnlyThisForm, true, skin_test::DefaultSkinArchive());
  EXPECT_EQ(gui::CurrentColorScheme(), nullptr);
  skin::TSkinData* every = skin_test::LoadSkinData(app.get(), skin::sfMainform, true, skin_test::DefaultSkinArchive());
  EXPECT_EQ(gui::CurrentColorScheme(), &every->Palette());
  delete every;
  EXPECT_EQ(gui::CurrentColorScheme(), nullptr);
  delete one;
  app.reset();
  skin::FreeSkinManager();
}

}  // namespace
