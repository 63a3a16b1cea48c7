// Changes of look that fade on real controls: a skin that times them shows
// the middle of the change between the two looks, the clock's timer runs
// only while something fades, and a skin that declares nothing, or a
// program or system that says no, changes the look at once.
#include <gtest/gtest.h>
#include <windows.h>

#include <cstdlib>

#include "gui/stdctrls.h"
#include "skin/controls/skin_button.h"
#include "skin/controls/skin_check_radio.h"
#include "skin/controls/skin_scrollbar.h"
#include "skin/controls/tests/controls_fixture.h"
#include "skin/data/look_transitions.h"

namespace {

using controls_test::Control;
using skin::TLookTransitions;

class LookFadeTest : public ::testing::Test {
 protected:
  LookFadeTest() { Clock().SetTickSource([this] { return now_; }); }
  ~LookFadeTest() override {
    host_.FreeControlSkinners();
    Clock().SetTickSource({});
    Clock().SetOptions({});
    skin::SetAnimationAllowedQuery({});
    skin_test::DrainMessages();
  }
  static TLookTransitions& Clock() { return TLookTransitions::OfThread(); }

  void Load(const std::vector<std::uint8_t>& archive) {
    data_ = controls_test::LoadData(archive);
    ASSERT_NE(data_, nullptr);
    host_.SkinData = data_.get();
  }
  template <class TSkinner>
  TSkinner* Skin(gui::TForm* form, const char* name) {
    auto* skinner = new TSkinner(form->FindComponent(name));
    skinner->AttachControl(&host_, data_.get(), nullptr, false);
    return skinner;
  }
  // Every pixel of `mid` within the two looks' pixels, and some strictly
  // between (the change shows).
  static void ExpectBetween(const gui::TBitmap& from, const gui::TBitmap& mid, const gui::TBitmap& to) {
    int outside = 0, inBetween = 0;
    for (int y = 0; y < mid.Height(); ++y)
      for (int x = 0; x < mid.Width(); ++x)
        for (int shift : {0, 8, 16}) {
          const int a = (from.Pixel(x, y) >> shift) & 0xFF, m = (mid.Pixel(x, y) >> shift) & 0xFF,
                    b = (to.Pixel(x, y) >> shift) & 0xFF;
          outside += m < std::min(a, b) - 1 || m > std::max(a, b) + 1;
          inBetween += m != a && m != b;
        }
    EXPECT_EQ(outside, 0);
    EXPECT_GT(inBetween, 0);
  }
  static bool Same(const gui::TBitmap& a, const gui::TBitmap& b) {
    for (int y = 0; y < a.Height(); ++y)
      for (int x = 0; x < a.Width(); ++x)
        if (a.Pixel(x, y) != b.Pixel(x, y)) return false;
    return true;
  }
  static void Enter(HWND wnd) { SendMessageW(wnd, gui::CM_MOUSEENTER, 0, 0); }
  static void Leave(HWND wnd) { SendMessageW(wnd, gui::CM_MOUSELEAVE, 0, 0); }

  std::uint32_t now_ = 5000;
  std::unique_ptr<skin::TSkinData> data_;
  controls_test::TTestControlHost host_;
  controls_test::TShownForms forms_;
};

TEST_F(LookFadeTest, AButtonAndACheckBoxFadeAsTheSkinSaysWithATimerOnlyWhileFading) {
  Load(skin_test::DefaultSkinArchiveAdding(
      "[Animation]\r\nPushButton.HoverIn=200\r\nPushButton.HoverOut=100\r\nCheckBox.Press=200\r\n"));
  gui::TForm* form = forms_.Show(Control("Button1", "TButton", 20, 20, 90, 28, "    Caption = 'Save'\n") +
                                 Control("CheckBox1", "TCheckBox", 20, 60, 120, 20, "    Caption = 'Scan'\n"));
  auto* button = Skin<skin::TSkinButton>(form, "Button1");
  auto* check = Skin<skin::TSkinCheckBox>(form, "CheckBox1");
  const HWND wnd = button->SkinnedWindow();
  const gui::TBitmap normal = controls_test::Drawn(*button);
  EXPECT_FALSE(Clock().TimerRunning());

  Enter(wnd);
  now_ += 100;
  const gui::TBitmap middle = controls_test::Drawn(*button);
  EXPECT_TRUE(Clock().TimerRunning());
  now_ += 100;
  Clock().Tick();
  EXPECT_FALSE(Clock().TimerRunning());
  const gui::TBitmap hot = controls_test::Drawn(*button);
  EXPECT_FALSE(Same(normal, hot));
  ExpectBetween(normal, middle, hot);

  // A check box fades between its glyphs as it is checked.
  const gui::TBitmap clear = controls_test::Drawn(*check);
  gui::SetPropValue(*form->FindComponent("CheckBox1"), "Checked", "True");
  now_ += 100;
  const gui::TBitmap checking = controls_test::Drawn(*check);
  EXPECT_EQ(Clock().Fading(), 1);
  now_ += 100;
  Clock().Tick();
  ExpectBetween(clear, checking, controls_test::Drawn(*check));

  // Said no by the program, or by the system: the end look at once.
  Clock().SetOptions({.Enabled = false});
  Leave(wnd);
  EXPECT_TRUE(Same(controls_test::Drawn(*button), normal));
  Clock().SetOptions({});
  skin::SetAnimationAllowedQuery([] { return false; });
  Enter(wnd);
  EXPECT_TRUE(Same(controls_test::Drawn(*button), hot));
  EXPECT_FALSE(Clock().TimerRunning());

  // Freed half way, a skinner takes its fade and the timer with it.
  skin::SetAnimationAllowedQuery({});
  Leave(wnd);
  controls_test::Drawn(*button);
  EXPECT_TRUE(Clock().TimerRunning());
  host_.FreeControlSkinners();
  EXPECT_FALSE(Clock().TimerRunning());
}

// A stand-alone scroll bar's arrow under the mouse fades into its hot look,
// each step repainting the bar alone.
TEST_F(LookFadeTest, AScrollBarControlsArrowFadesIntoItsHotLook) {
  Load(skin_test::DefaultSkinArchiveAdding("[Animation]\r\nScrollBar.HoverIn=200\r\n"));
  gui::TForm* form = forms_.Show(Control("Bar", "TScrollBar", 20, 20, 200, 17, "    Max = 100\n"));
  auto* bar = Skin<skin::TSkinScControl>(form, "Bar");
  const HWND wnd = bar->SkinnedWindow();
  const gui::TBitmap normal = controls_test::Drawn(*bar);
  SendMessageW(wnd, WM_MOUSEMOVE, 0, MAKELPARAM(4, 8));
  now_ += 100;
  const gui::TBitmap middle = controls_test::Drawn(*bar);
  EXPECT_EQ(Clock().Fading(), 3) << "the arrow, the track and the thumb of the bar under the mouse";
  now_ += 100;
  Clock().Tick();
  const gui::TBitmap hot = controls_test::Drawn(*bar);
  EXPECT_EQ(std::tuple(Clock().TimerRunning(), Same(normal, hot)), std::tuple(false, false));
  ExpectBetween(normal, middle, hot);
}

TEST_F(LookFadeTest, ASkinThatDeclaresNothingChangesAtOnceAndStartsNoTimer) {
  Load(skin_test::DefaultSkinArchive());
  gui::TForm* form = forms_.Show(Control("Button1", "TButton", 20, 20, 90, 28, "    Caption = 'Save'\n"));
  auto* button = Skin<skin::TSkinButton>(form, "Button1");
  const gui::TBitmap normal = controls_test::Drawn(*button);
  Enter(button->SkinnedWindow());
  skin_test::DrainMessages();
  const gui::TBitmap hot = controls_test::Drawn(*button);
  EXPECT_FALSE(Same(normal, hot));
  EXPECT_EQ(std::tuple(Clock().TimerRunning(), Clock().Fading()), std::tuple(false, 0));
}

}  // namespace
