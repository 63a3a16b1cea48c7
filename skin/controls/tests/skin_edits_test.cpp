// Edit boxes and combo boxes on the screen: the flat two-colour border with
// and without the focus, after a frame change and when printed, none on a
// borderless edit or into a context given with WM_PAINT, the spin buttons
// inside a spin edit; the combo box's edge and drop button by look, the
// button on the left, a press that ends in the opened list, and simple combo
// boxes left alone. Also run at 144 and 192 dpi, where the system's edge
// stays two pixels wide.
#include <gtest/gtest.h>
#include <windows.h>

#include "gui/edits.h"
#include "gui/lists.h"
#include "skin/controls/skin_edits.h"
#include "skin/controls/skin_ranges.h"
#include "skin/controls/tests/controls_fixture.h"

namespace {

using controls_test::Control;
using controls_test::ElementColours;
using controls_test::Snapshot;

constexpr COLORREF kWhite = RGB(255, 255, 255);

class EditsTest : public controls_test::ElementSkinTest {
 protected:
  skin::TSkinEdit* SkinEdit(gui::TWinControl* edit) {
    auto* skinner = new skin::TSkinEdit(edit);
    skinner->AttachWindow(edit->Handle(), data_.get(), &form_skinner_, nullptr);
    return skinner;
  }
};

// The outer line in the shadow colour, the inner one white, on every side.
void ExpectFlatBorder(const gui::TBitmap& shot, const char* state) {
  SCOPED_TRACE(state);
  const COLORREF shadow = ElementColours().Shadow;
  const int w = shot.Width(), h = shot.Height();
  EXPECT_EQ(shot.Pixel(0, h / 2), shadow);
  EXPECT_EQ(shot.Pixel(1, h / 2), kWhite);
  EXPECT_EQ(shot.Pixel(w - 1, h / 2), shadow);
  EXPECT_EQ(shot.Pixel(w - 2, h / 2), kWhite);
  EXPECT_EQ(shot.Pixel(w / 2, 0), shadow);
  EXPECT_EQ(shot.Pixel(w / 2, 1), kWhite);
  EXPECT_EQ(shot.Pixel(w / 2, h - 1), shadow);
  EXPECT_EQ(shot.Pixel(w / 2, h - 2), kWhite);
}

TEST_F(EditsTest, EditBorderIsFlatWithAndWithoutFocusAndAfterAFrameChange) {
  gui::TForm* form = forms_.Show(Control("Edit1", "TEdit", 10, 10, 150, 24, "    Text = 'abc'\n") +
                                 Control("Edit2", "TEdit", 10, 50, 150, 24));
  auto* edit = dynamic_cast<gui::TWinControl*>(form->FindComponent("Edit1"));
  auto* other = dynamic_cast<gui::TWinControl*>(form->FindComponent("Edit2"));
  HWND wnd = edit->Handle();
  RECT client{}, window{};
  GetClientRect(wnd, &client);
  GetWindowRect(wnd, &window);
  ASSERT_EQ(window.right - window.left - client.right, 4) << "a 2-pixel sunken border";
  SkinEdit(edit);
  SetFocus(other->Handle());
  ExpectFlatBorder(Snapshot(wnd), "without focus");
  SetFocus(wnd);
  ExpectFlatBorder(Snapshot(wnd, false), "focused");
  ExpectFlatBorder(Snapshot(wnd), "focused, repainted");
  // From the message loop the frame is drawn inside the paint's BeginPaint,
  // and the border with it.
  RedrawWindow(wnd, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME);
  ExpectFlatBorder(Snapshot(wnd, false), "repainted from the message loop");
  // The system draws its border again on a frame change, without any
  // client paint.
  SetWindowPos(wnd, nullptr, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_FRAMECHANGED);
  ExpectFlatBorder(Snapshot(wnd, false), "after a frame change");
}

TEST_F(EditsTest, PrintedBorderAndBorderlessEdits) {
  gui::TForm* form =
      forms_.Show(Control("Edit1", "TEdit", 10, 10, 150, 24) +
                  Control("Bare", "TEdit", 10, 50, 150, 24, "    BorderStyle = bsNone\n    Text = 'x'\n"));
  auto* edit = dynamic_cast<gui::TWinControl*>(form->FindComponent("Edit1"));
  auto* bare = dynamic_cast<gui::TWinControl*>(form->FindComponent("Bare"));
  SkinEdit(edit);
  SkinEdit(bare);
  RECT r{};
  GetWindowRect(edit->Handle(), &r);
  gui::TBitmap printed(r.right - r.left, r.bottom - r.top);
  SendMessageW(edit->Handle(), WM_PRINT, reinterpret_cast<WPARAM>(printed.DC()), PRF_NONCLIENT | PRF_CLIENT);
  const int h = printed.Height();
  EXPECT_EQ(printed.Pixel(0, h / 2), ElementColours().Shadow);
  EXPECT_EQ(printed.Pixel(printed.Width() - 1, h / 2), ElementColours().Shadow);
  // A paint into a context the caller gives is the control's alone.
  gui::TBitmap painted(printed.Width(), printed.Height());
  SendMessageW(edit->Handle(), WM_PAINT, reinterpret_cast<WPARAM>(painted.DC()), 0);
  EXPECT_EQ(controls_test::CountColour(painted, RECT{0, 0, painted.Width(), painted.Height()}, ElementColours().Shadow),
            0);
  // A borderless edit box is left as it is.
  gui::TBitmap plain = Snapshot(bare->Handle());
  EXPECT_EQ(controls_test::CountColour(plain, RECT{0, 0, plain.Width(), plain.Height()}, ElementColours().Shadow), 0);
}

TEST_F(EditsTest, SpinButtonsInsideASpinEditAreSkinnedOneInsideTheEdge) {
  gui::TForm* form = forms_.Show(Control("Spin", "TSpinEdit", 10, 10, 100, 24, "    MaxValue = 10\n    Value = 4\n"));
  auto* spin = dynamic_cast<gui::TSpinEdit*>(form->FindComponent("Spin"));
  skin::TSkinEdit* skinner = SkinEdit(spin);
  Snapshot(spin->Handle());
  ASSERT_NE(skinner->UpDown, nullptr);
  wchar_t cls[32] = {};
  GetClassNameW(skinner->UpDown->SkinnedWindow(), cls, 32);
  EXPECT_STREQ(cls, L"TSpinButton");
  EXPECT_TRUE(skinner->UpDown->Inset);
  // Found once: a second paint keeps the same skinner.
  skin::TSkinUpDown* found = skinner->UpDown;
  Snapshot(spin->Handle());
  EXPECT_EQ(skinner->UpDown, found);
  gui::TBitmap arrows = Snapshot(found->SkinnedWindow());
  EXPECT_EQ(arrows.Pixel(0, 0), ElementColours().Face);
  EXPECT_EQ(arrows.Pixel(1, 1), ElementColours().UpDownVert[0]);
  EXPECT_EQ(arrows.Pixel(arrows.Width() - 2, arrows.Height() - 2), ElementColours().UpDownVert[4]);
}

class ComboTest : public EditsTest {
 protected:
  skin::TSkinComBox* SkinCombo(gui::TWinControl* combo) {
    auto* skinner = new skin::TSkinComBox(combo);
    skinner->AttachControl(&form_skinner_, data_.get(), nullptr, false);
    return skinner;
  }
};

TEST_F(ComboTest, EdgeAndButtonByLook) {
  gui::TForm* form =
      forms_.Show(Control("Combo", "TComboBox", 10, 10, 150, 24,
                          "    Style = csDropDownList\n    Items.Strings = (\n      'one'\n      'two')\n") +
                  Control("Edit1", "TEdit", 10, 150, 150, 24));
  auto* combo = dynamic_cast<gui::TWinControl*>(form->FindComponent("Combo"));
  auto* edit = dynamic_cast<gui::TWinControl*>(form->FindComponent("Edit1"));
  HWND wnd = combo->Handle();
  skin::TSkinComBox* skinner = SkinCombo(combo);
  SetFocus(edit->Handle());
  const auto expectLook = [&](int look, const char* state) {
    SCOPED_TRACE(state);
    gui::TBitmap shot = Snapshot(wnd);
    EXPECT_EQ(skinner->LastLook(), look);
    const int w = shot.Width(), h = shot.Height();
    const COLORREF edge = c_.SunkEdge[static_cast<std::size_t>(look - 1)];
    EXPECT_EQ(shot.Pixel(0, 0), edge);
    EXPECT_EQ(shot.Pixel(1, h / 2), edge);
    EXPECT_EQ(shot.Pixel(w - 3, h / 2), c_.ComboButton[static_cast<std::size_t>(look - 1)]);
    // The text area inside the ring is the control's own.
    EXPECT_NE(shot.Pixel(w / 3, h / 2), edge);
  };
  expectLook(skin::clNormal, "normal");
  SendMessageW(wnd, gui::CM_MOUSEENTER, 0, 0);
  expectLook(skin::clHot, "hot");
  SendMessageW(wnd, gui::CM_MOUSELEAVE, 0, 0);
  expectLook(skin::clNormal, "left");
  SendMessageW(wnd, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(140, 10));
  expectLook(skin::clPressed, "pressed");
  SendMessageW(wnd, WM_LBUTTONUP, 0, MAKELPARAM(140, 10));
  SendMessageW(wnd, CB_SHOWDROPDOWN, FALSE, 0);
  expectLook(skin::clHot, "focused");
  SetFocus(edit->Handle());
  combo->SetEnabled(false);
  expectLook(skin::clDisabled, "disabled");
}

TEST_F(ComboTest, ButtonOnTheLeftComesFromTheMirroredStripInTheSameLook) {
  gui::TForm* form = forms_.Show(Control("Combo", "TComboBox", 10, 10, 150, 24, "    Style = csDropDownList\n") +
                                 Control("Typed", "TComboBox", 10, 50, 150, 24, "    Style = csDropDown\n") +
                                 Control("Edit1", "TEdit", 10, 150, 150, 24));
  auto* combo = dynamic_cast<gui::TWinControl*>(form->FindComponent("Combo"));
  auto* typed = dynamic_cast<gui::TWinControl*>(form->FindComponent("Typed"));
  HWND wnd = combo->Handle();
  SetWindowLongPtrW(wnd, GWL_EXSTYLE, GetWindowLongPtrW(wnd, GWL_EXSTYLE) | WS_EX_LEFTSCROLLBAR);
  skin::TSkinComBox* skinner = SkinCombo(combo);
  skin::TSkinComBox* typedSkinner = SkinCombo(typed);
  SetFocus(dynamic_cast<gui::TWinControl*>(form->FindComponent("Edit1"))->Handle());
  gui::TBitmap shot = Snapshot(wnd);
  EXPECT_EQ(skinner->LastLook(), skin::clNormal);
  EXPECT_EQ(shot.Pixel(3, shot.Height() / 2), c_.ComboButton[0]);
  EXPECT_NE(shot.Pixel(shot.Width() - 5, shot.Height() / 2), c_.ComboButton[0]);
  SetFocus(wnd);
  shot = Snapshot(wnd);
  EXPECT_EQ(skinner->LastLook(), skin::clHot);
  EXPECT_EQ(shot.Pixel(3, shot.Height() / 2), c_.ComboButton[3]);
  // Focus in the combo box's own edit box counts as the combo's.
  HWND typedEdit = GetWindow(typed->Handle(), GW_CHILD);
  ASSERT_NE(typedEdit, nullptr);
  SetFocus(typedEdit);
  shot = Snapshot(typed->Handle());
  EXPECT_EQ(typedSkinner->LastLook(), skin::clHot);
  EXPECT_EQ(shot.Pixel(shot.Width() - 3, shot.Height() / 2), c_.ComboButton[3]);
}

// Press the drop button, drag into the list the press opened and release
// there: the combo box hands the mouse to its list and never sees the
// release, and must not stay pressed.
TEST_F(ComboTest, APressDraggedIntoTheListAndReleasedThereLeavesNoPressedLook) {
  gui::TForm* form = forms_.Show(
      Control("Combo", "TComboBox", 10, 10, 150, 24,
              "    Style = csDropDownList\n    Items.Strings = (\n      'one'\n      'two'\n      'three')\n"));
  auto* combo = dynamic_cast<gui::TWinControl*>(form->FindComponent("Combo"));
  HWND wnd = combo->Handle();
  skin::TSkinComBox* skinner = SkinCombo(combo);
  SendMessageW(wnd, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(140, 10));
  ASSERT_EQ(GetCapture(), wnd);
  Snapshot(wnd, false);
  EXPECT_EQ(skinner->LastLook(), skin::clPressed);
  COMBOBOXINFO info{};
  info.cbSize = sizeof(info);
  ASSERT_TRUE(GetComboBoxInfo(wnd, &info));
  RECT list{};
  GetWindowRect(info.hwndList, &list);
  POINT inList{(list.left + list.right) / 2, list.top + 5};
  POINT inCombo = inList;
  ScreenToClient(wnd, &inCombo);
  SendMessageW(wnd, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(inCombo.x, inCombo.y));
  ASSERT_NE(GetCapture(), wnd) << "the list takes the mouse";
  ScreenToClient(info.hwndList, &inList);
  SendMessageW(info.hwndList, WM_LBUTTONUP, 0, MAKELPARAM(inList.x, inList.y));
  skin_test::DrainMessages();
  Snapshot(wnd);
  EXPECT_NE(skinner->LastLook(), skin::clPressed);
}

// A simple combo box has no drop button: its list stands open below the
// edit, and it keeps its own look.
TEST_F(ComboTest, ASimpleComboBoxKeepsItsOwnLook) {
  gui::TForm* form = forms_.Show(Control("Combo", "TComboBox", 10, 10, 150, 100,
                                         "    Style = csSimple\n    Items.Strings = (\n      'one'\n      'two')\n"));
  auto* combo = dynamic_cast<gui::TWinControl*>(form->FindComponent("Combo"));
  SkinCombo(combo);
  gui::TBitmap shot = Snapshot(combo->Handle());
  const RECT whole{0, 0, shot.Width(), shot.Height()};
  for (std::size_t i = 0; i < 4; ++i) {
    EXPECT_EQ(controls_test::CountColour(shot, whole, c_.SunkEdge[i]), 0);
    EXPECT_EQ(controls_test::CountColour(shot, whole, c_.ComboButton[i]), 0);
  }
}

}  // namespace
