// Push-button skinners driven by real mouse messages: clicks made on release,
// looks by state, the hot look handed from one button to the next, and the
// WM_COMMAND a bare dialog button sends its parent.
#include <gtest/gtest.h>
#include <windows.h>

#include <vector>

#include "gui/buttons.h"
#include "gui/stdctrls.h"
#include "gui/tests/test_bitmaps.h"
#include "skin/controls/skin_button.h"
#include "skin/controls/tests/controls_fixture.h"
#include "skin/data/skin_draw.h"

namespace {

using controls_test::Control;
using skin::TSkinButton;

void Press(HWND wnd) { SendMessageW(wnd, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5)); }
void Release(HWND wnd) { SendMessageW(wnd, WM_LBUTTONUP, 0, MAKELPARAM(5, 5)); }
void Move(HWND wnd) { SendMessageW(wnd, WM_MOUSEMOVE, 0, MAKELPARAM(6, 6)); }

class SkinButtonTest : public ::testing::Test {
 protected:
  void SetUp() override {
    data_ = controls_test::LoadData(skin_test::DefaultSkinArchive());
    ASSERT_NE(data_, nullptr);
    ASSERT_FALSE(data_->Skin().ButtonsElement.Image.Empty());
    form_skinner_.SkinData = data_.get();
  }
  void TearDown() override { skin_test::DrainMessages(); }

  // Button1 ('Save') and Button2 ('Cancel') side by side.
  gui::TForm* TwoButtons() {
    return forms_.Show(Control("Button1", "TButton", 20, 20, 90, 28, "    Caption = 'Save'\n") +
                       Control("Button2", "TButton", 120, 20, 90, 28, "    Caption = 'Cancel'\n"));
  }
  static gui::TButton* Button(gui::TForm* form, const char* name) {
    return dynamic_cast<gui::TButton*>(form->FindComponent(name));
  }
  // A push-button skinner for the control, listed with the form skinner.
  TSkinButton* Skin(gui::TControl* button) {
    auto* skinner = new TSkinButton(button);
    skinner->AttachControl(&form_skinner_, form_skinner_.SkinData, nullptr, false);
    return skinner;
  }

  // The face a look should show: button face, then the frame laid over it.
  gui::TBitmap ExpectedFace(int width, int height, int look) {
    auto& e = data_->Skin().ButtonsElement;
    gui::TBitmap face(width, height);
    const RECT r{0, 0, width, height};
    gui::BrushHandle brush(CreateSolidBrush(skin::SkinColourToRGB(data_->Skin().Colours.ButtonFace)));
    FillRect(face.DC(), &r, brush.get());
    gui::TBitmap frame = skin::RenderNineSlice(r, e.Image, e.Margins(), false, e.TilesCentre(), 5, look);
    skin::DrawTransparent(face.DC(), r, frame, skin::TransparentColour);
    return face;
  }

  // Draws the skinner into a bitmap; pixels outside the caption's band must
  // be those of the look's face.
  void ExpectLook(TSkinButton& skinner, int look, int line) {
    gui::TBitmap drawn = controls_test::Drawn(skinner);
    const int w = drawn.Width(), h = drawn.Height();
    EXPECT_EQ(skinner.LastLook(), look) << "line " << line;
    gui::TBitmap expected = ExpectedFace(w, h, look);
    int differing = 0;
    for (int y : {0, 1, 2, h - 3, h - 2, h - 1})
      for (int x = 0; x < w; ++x) differing += drawn.Pixel(x, y) != expected.Pixel(x, y);
    EXPECT_EQ(differing, 0) << "line " << line;
  }

  std::unique_ptr<skin::TSkinData> data_;
  controls_test::TTestControlHost form_skinner_;
  controls_test::TShownForms forms_;
};

TEST_F(SkinButtonTest, ClicksAreMadeOnReleaseOverTheButtonOnly) {
  gui::TForm* form = TwoButtons();
  gui::TButton* button = Button(form, "Button1");
  gui::TButton* other = Button(form, "Button2");
  int clicks = 0;
  button->OnClick = [&](gui::TObject*) { ++clicks; };
  TSkinButton* skinner = Skin(button);
  Skin(other);
  HWND wnd = button->Handle();
  SetFocus(other->Handle());
  skin_test::DrainMessages();

  // Press, leave, release: no click, the normal look again.
  Move(wnd);
  Press(wnd);
  EXPECT_TRUE(skinner->Pressed());
  SendMessageW(wnd, WM_MOUSELEAVE, 0, 0);
  Release(wnd);
  skin_test::DrainMessages();
  EXPECT_EQ(clicks, 0);
  EXPECT_FALSE(skinner->Pressed());
  EXPECT_FALSE(skinner->Hot());
  SetFocus(other->Handle());
  ExpectLook(*skinner, skin::blNormal, __LINE__);

  // Press and release: exactly one click through the control's click action.
  Move(wnd);
  Press(wnd);
  ExpectLook(*skinner, skin::blPressed, __LINE__);
  Release(wnd);
  skin_test::DrainMessages();
  EXPECT_EQ(clicks, 1);

  // Focused and not under the mouse: the hot frame.
  SendMessageW(wnd, WM_MOUSELEAVE, 0, 0);
  SetFocus(wnd);
  EXPECT_FALSE(skinner->Hot());
  ExpectLook(*skinner, skin::blHot, __LINE__);

  // Disabled: frame 3 whatever the mouse does, the caption in the
  // button-shadow colour.
  Move(wnd);
  button->SetEnabled(false);
  ExpectLook(*skinner, skin::blDisabled, __LINE__);
  {
    gui::TBitmap drawn = controls_test::Drawn(*skinner);
    const int w = drawn.Width(), h = drawn.Height();
    gui::TBitmap face = ExpectedFace(w, h, skin::blDisabled);
    int shadow = 0, other_text = 0;
    const COLORREF shadowColour = GetSysColor(COLOR_BTNSHADOW);
    for (int y = 0; y < h; ++y)
      for (int x = 0; x < w; ++x)
        if (drawn.Pixel(x, y) != face.Pixel(x, y)) (drawn.Pixel(x, y) == shadowColour ? shadow : other_text)++;
    EXPECT_GT(shadow, 10);
    EXPECT_GT(shadow, other_text);  // edges of smoothed letters may blend
  }
  button->SetEnabled(true);
  form_skinner_.FreeControlSkinners();
}

TEST_F(SkinButtonTest, TheHotLookLeavesTheFirstButtonBeforeTheSecondTakesIt) {
  gui::TForm* form = TwoButtons();
  gui::TButton* a = Button(form, "Button1");
  gui::TButton* b = Button(form, "Button2");
  TSkinButton* first = Skin(a);
  TSkinButton* second = Skin(b);

  // Watches the first button's mouse-leave from in front of its skinner.
  struct Spy {
    gui::TWndMethod next;
    TSkinButton* other = nullptr;
    std::vector<std::string> log;
    void Method(gui::TMessage& m) {
      if (m.Msg == gui::CM_MOUSELEAVE) log.push_back(other->Hot() ? "leave after other hot" : "leave");
      next(m);
    }
  } spy;
  spy.next = a->WindowProc;
  spy.other = second;
  a->WindowProc = gui::TWndMethod::Bind<Spy, &Spy::Method>(&spy);

  Move(a->Handle());
  EXPECT_TRUE(first->Hot());
  EXPECT_EQ(form_skinner_.HotButton(), first);
  Move(b->Handle());
  EXPECT_EQ(spy.log, std::vector<std::string>{"leave"});
  EXPECT_FALSE(first->Hot());
  EXPECT_TRUE(second->Hot());
  EXPECT_EQ(form_skinner_.HotButton(), second);
  a->WindowProc = spy.next;
  form_skinner_.FreeControlSkinners();
  EXPECT_EQ(a->WindowProc, a->OwnWindowMethod());
}

TEST_F(SkinButtonTest, AHotButtonThatGoesAwayIsForgotten) {
  gui::TForm* form = TwoButtons();
  gui::TButton* a = Button(form, "Button1");
  gui::TButton* b = Button(form, "Button2");
  Skin(a);
  TSkinButton* second = Skin(b);

  // The control freed at run time takes its skinner with it.
  Move(a->Handle());
  ASSERT_NE(form_skinner_.HotButton(), nullptr);
  delete a;
  EXPECT_EQ(form_skinner_.HotButton(), nullptr);
  EXPECT_EQ(form_skinner_.ControlSkinners().size(), 1u);

  // A window destroyed under its skinner: dead at once, freed at the purge.
  Move(b->Handle());
  ASSERT_EQ(form_skinner_.HotButton(), second);
  b->DestroyHandle();
  EXPECT_EQ(form_skinner_.HotButton(), nullptr);
  form_skinner_.PurgeDestroyedControls();
  EXPECT_TRUE(form_skinner_.ControlSkinners().empty());
}

TEST_F(SkinButtonTest, WithoutTheSkinsButtonPictureAButtonDrawsAndClicksItself) {
  auto bare = controls_test::LoadData(skin_test::BareSkinArchive());
  ASSERT_NE(bare, nullptr);
  ASSERT_TRUE(bare->Skin().ButtonsElement.Image.Empty());
  gui::TForm* form = forms_.Show(Control("Button1", "TButton", 20, 20, 90, 28, "    Caption = 'Save'\n"));
  gui::TButton* button = Button(form, "Button1");
  int clicks = 0;
  button->OnClick = [&](gui::TObject*) { ++clicks; };
  // Counts what reaches the button's own handling, under the skinner.
  struct Spy {
    gui::TWndMethod next;
    int paints = 0, presses = 0;
    void Method(gui::TMessage& m) {
      paints += m.Msg == WM_PAINT;
      presses += m.Msg == WM_LBUTTONDOWN;
      next(m);
    }
  } spy;
  spy.next = button->WindowProc;
  button->WindowProc = gui::TWndMethod::Bind<Spy, &Spy::Method>(&spy);
  form_skinner_.SkinData = bare.get();
  Skin(button);

  InvalidateRect(button->Handle(), nullptr, TRUE);
  UpdateWindow(button->Handle());
  EXPECT_GT(spy.paints, 0);
  EXPECT_FALSE(GetUpdateRect(button->Handle(), nullptr, FALSE));
  Press(button->Handle());
  Release(button->Handle());
  skin_test::DrainMessages();
  EXPECT_EQ(spy.presses, 1);
  EXPECT_EQ(clicks, 1);
  form_skinner_.FreeControlSkinners();
  button->WindowProc = spy.next;
}

std::vector<MSG> g_commands;
LRESULT CALLBACK DialogParentProc(HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  if (msg == WM_COMMAND) g_commands.push_back(MSG{wnd, msg, wParam, lParam, 0, {}});
  return DefWindowProcW(wnd, msg, wParam, lParam);
}

TEST_F(SkinButtonTest, ABareDialogButtonTellsItsParentOnce) {
  WNDCLASSW wc{};
  wc.lpfnWndProc = &DialogParentProc;
  wc.hInstance = GetModuleHandleW(nullptr);
  wc.lpszClassName = L"SkinButtonBareParent";
  RegisterClassW(&wc);
  HWND parent = CreateWindowExW(0, wc.lpszClassName, L"Box", WS_OVERLAPPED | WS_VISIBLE, 60, 60, 240, 120, nullptr,
                                nullptr, wc.hInstance, nullptr);
  HWND button = CreateWindowExW(0, L"BUTTON", L"OK", WS_CHILD | WS_VISIBLE | BS_PUSHBUTTON, 10, 10, 80, 26, parent,
                                reinterpret_cast<HMENU>(static_cast<INT_PTR>(1234)), wc.hInstance, nullptr);
  const auto ownProc = GetWindowLongPtrW(button, GWLP_WNDPROC);
  auto* skinner = new TSkinButton(nullptr);
  skinner->AttachWindow(button, data_.get(), &form_skinner_, nullptr);
  skin_test::DrainMessages();
  g_commands.clear();

  Press(button);
  skinner->SendMouseLeave();  // what the form skinner's timer does when the pointer left
  Release(button);
  skin_test::DrainMessages();
  EXPECT_TRUE(g_commands.empty());
  EXPECT_FALSE(skinner->Pressed());

  Press(button);
  Release(button);
  skin_test::DrainMessages();
  ASSERT_EQ(g_commands.size(), 1u);
  EXPECT_EQ(LOWORD(g_commands[0].wParam), 1234);
  EXPECT_EQ(HIWORD(g_commands[0].wParam), 0);
  EXPECT_EQ(g_commands[0].lParam, reinterpret_cast<LPARAM>(button));

  // Destroyed while skinned: dead, and back to its own procedure on the way.
  DestroyWindow(button);
  EXPECT_EQ(skinner->SkinnerState(), 6);
  form_skinner_.PurgeDestroyedControls();
  EXPECT_TRUE(form_skinner_.ControlSkinners().empty());
  DestroyWindow(parent);
  (void)ownProc;
}

// Counts pixels of each glyph image's colour in a drawing.
int CountColour(gui::TBitmap& b, COLORREF c) {
  int n = 0;
  for (int y = 0; y < b.Height(); ++y)
    for (int x = 0; x < b.Width(); ++x) n += b.Pixel(x, y) == c;
  return n;
}

TEST_F(SkinButtonTest, GlyphButtonsShowTheImageOfTheirState) {
  gui::TForm* form =
      forms_.Show(Control("BitBtn1", "TBitBtn", 20, 20, 120, 34, "    Caption = 'Scan'\n    NumGlyphs = 4\n"));
  auto* button = dynamic_cast<gui::TBitBtn*>(form->FindComponent("BitBtn1"));
  ASSERT_NE(button, nullptr);
  const COLORREF images[4] = {RGB(250, 0, 0), RGB(0, 250, 0), RGB(0, 0, 250), RGB(250, 250, 0)};
  button->Glyph().SetSize(64, 16);
  for (int x = 0; x < 64; ++x)
    for (int y = 0; y < 16; ++y) button->Glyph().SetPixel(x, y, x % 16 == 0 && y == 0 ? RGB(255, 0, 255) : images[x / 16]);
  auto* skinner = new skin::TSkinBitButton(button);
  ASSERT_TRUE(skinner->AttachControl(&form_skinner_, data_.get(), &form_skinner_.Canvas, false));
  const auto draw = [&] { return controls_test::Drawn(*skinner); };
  SetFocus(form->Handle());
  gui::TBitmap normal = draw();
  EXPECT_EQ(skinner->LastGlyphImage(), 1);
  EXPECT_EQ(CountColour(normal, images[0]), 16 * 16 - 1);  // the key pixel is left out
  EXPECT_EQ(CountColour(normal, images[2]), 0);
  // Laid out left of the caption: the glyph's left edge at the automatic margin.
  int glyphLeft = -1;
  for (int x = 0; x < 120 && glyphLeft < 0; ++x)
    if (normal.Pixel(x, (34 - 16 + 1) / 2 + 1) == images[0]) glyphLeft = x;
  EXPECT_GT(glyphLeft, 0);
  EXPECT_EQ(normal.Pixel(glyphLeft, (34 - 16 + 1) / 2 + 15), images[0]);

  Press(button->Handle());
  gui::TBitmap pressed = draw();
  EXPECT_EQ(skinner->LastLook(), skin::blPressed);
  EXPECT_EQ(skinner->LastGlyphImage(), 3);
  EXPECT_EQ(CountColour(pressed, images[2]), 16 * 16 - 1);
  SendMessageW(button->Handle(), WM_MOUSELEAVE, 0, 0);
  button->SetEnabled(false);
  draw();
  EXPECT_EQ(skinner->LastGlyphImage(), 2);
  // With two images the first one is always shown.
  button->SetNumGlyphs(2);
  draw();
  EXPECT_EQ(skinner->LastGlyphImage(), 1);
  form_skinner_.FreeControlSkinners();
}

TEST_F(SkinButtonTest, SpeedButtonGlyphsByLookAndLaidOutAsToolButtons) {
  gui::TForm* form = forms_.Show(Control("Speed1", "TSpeedButton", 20, 60, 80, 26,
                                         "    Caption = 'Go'\n    GroupIndex = 1\n"
                                         "    AllowAllUp = True\n    NumGlyphs = 4\n"));
  auto* speed = dynamic_cast<gui::TSpeedButton*>(form->FindComponent("Speed1"));
  ASSERT_NE(speed, nullptr);
  const std::vector<COLORREF> images{RGB(250, 0, 0), RGB(0, 250, 0), RGB(0, 0, 250), RGB(250, 250, 0)};
  ASSERT_TRUE(speed->Glyph().LoadFromBmpBytes(gui_test::StripBmp(12, 12, images, RGB(255, 0, 255))));
  auto* skinner = new skin::TSkinSpeedButton(speed);
  ASSERT_TRUE(skinner->AttachControl(&form_skinner_, data_.get(), &form_skinner_.Canvas, false));
  // WM_PAINT hands a windowless control the context to draw into.
  const auto draw = [&] {
    gui::TBitmap b(80, 26);
    speed->Perform(WM_PAINT, reinterpret_cast<WPARAM>(b.DC()), 0);
    return b;
  };

  gui::TBitmap normal = draw();
  EXPECT_EQ(skinner->LastGlyphImage(), 1);
  EXPECT_EQ(CountColour(normal, images[0]), 12 * 12 - 1);
  // Glyph left of the caption, the pair centred one pixel further right.
  SIZE text{};
  {
    gui::TBitmap measure(1, 1);
    gui::SelectGuard font(measure.DC(), speed->Font().Handle());
    RECT r{0, 0, 80, 26};
    DrawTextW(measure.DC(), L"Go", 2, &r, DT_CALCRECT | DT_EXPANDTABS);
    text = SIZE{r.right, r.bottom};
  }
  const int glyphX = (80 - (12 + speed->Spacing() + text.cx)) / 2 + 1;
  const int glyphY = (26 - 12 + 1) / 2;
  EXPECT_EQ(normal.Pixel(glyphX, glyphY + 1), images[0]);
  EXPECT_NE(normal.Pixel(glyphX - 1, glyphY + 1), images[0]);
  EXPECT_EQ(normal.Pixel(glyphX + 11, glyphY + 11), images[0]);
  EXPECT_NE(normal.Pixel(glyphX + 11, glyphY + 12), images[0]);

  // Latched down: the pressed frame and image, with the mouse elsewhere.
  speed->SetDown(true);
  gui::TBitmap down = draw();
  EXPECT_EQ(skinner->LastLook(), skin::blPressed);
  EXPECT_EQ(skinner->LastGlyphImage(), 3);
  EXPECT_EQ(CountColour(down, images[2]), 12 * 12 - 1);
  speed->SetDown(false);
  speed->SetEnabled(false);
  draw();
  EXPECT_EQ(skinner->LastGlyphImage(), 2);
  // Only a strip of four images has one per look.
  speed->SetNumGlyphs(3);
  speed->SetEnabled(true);
  speed->SetDown(true);
  draw();
  EXPECT_EQ(skinner->LastGlyphImage(), 1);
  // No glyph: the caption alone, centred.
  speed->Glyph().SetSize(0, 0);
  gui::TBitmap bare = draw();
  EXPECT_EQ(skinner->LastGlyphImage(), 0);
  EXPECT_EQ(CountColour(bare, images[0]), 0);
  form_skinner_.FreeControlSkinners();
}

TEST_F(SkinButtonTest, CaptionsAreDrawnPlainWhateverTheFontStyle) {
  gui::TForm* form = forms_.Show(Control("Button1", "TButton", 20, 20, 90, 28, "    Caption = 'Save'\n"));
  gui::TButton* button = Button(form, "Button1");
  TSkinButton* skinner = Skin(button);
  const auto draw = [&] { return controls_test::Drawn(*skinner); };
  SetFocus(form->Handle());
  gui::TBitmap plain = draw();
  button->Font().SetStyle(gui::fsBold | gui::fsItalic | gui::fsUnderline);
  ASSERT_NE(SendMessageW(button->Handle(), WM_GETFONT, 0, 0), 0);
  gui::TBitmap styled = draw();
  gui::TBitmap face = ExpectedFace(90, 28, skin::blNormal);
  int caption = 0, changed = 0;
  for (int y = 0; y < 28; ++y)
    for (int x = 0; x < 90; ++x) {
      caption += plain.Pixel(x, y) != face.Pixel(x, y);
      changed += plain.Pixel(x, y) != styled.Pixel(x, y);
    }
  EXPECT_GT(caption, 20);  // the caption was drawn
  EXPECT_EQ(changed, 0);
  form_skinner_.FreeControlSkinners();
}

}  // namespace
