// Check-box and radio glyphs by pixels (every state, the glyph column for
// 13, 10 and 16 pixel glyphs, text on the left), captions (skin colours,
// disabled without the system's relief), group box frames and
// captions, status bar panels and grips, and what unskinning gives back.
#include <gtest/gtest.h>
#include <windows.h>

#include <cstdlib>
#include <tuple>

#include "gui/comctrls.h"
#include "gui/extctrls.h"
#include "gui/stdctrls.h"
#include "skin/controls/skin_box.h"
#include "skin/controls/skin_check_radio.h"
#include "skin/controls/tests/controls_fixture.h"
#include "skin/data/skin_draw.h"

namespace {

using controls_test::Control;
using controls_test::Drawn;
using controls_test::GlyphColours;

class GlyphTest : public ::testing::TestWithParam<int> {
 protected:
  void TearDown() override { skin_test::DrainMessages(); }
};

TEST_P(GlyphTest, FramesByStateAndTheGlyphColumn) {
  const int glyphWidth = GetParam();
  auto data = controls_test::LoadData(controls_test::GlyphSkinArchive(glyphWidth));
  ASSERT_NE(data, nullptr);
  ASSERT_EQ(data->Skin().ButtonsElement.CheckImage.Width(), glyphWidth * 4);
  const COLORREF face = RGB(10, 20, 30);
  gui::TApplication app;
  gui::TForm* form = controls_test::ShowForm(
      app, Control("CheckBox1", "TCheckBox", 10, 10, 120, 21) + Control("Radio1", "TRadioButton", 10, 40, 120, 21) +
               Control("Radio2", "TRadioButton", 10, 70, 120, 21));
  auto* box = dynamic_cast<gui::TCheckBox*>(form->FindComponent("CheckBox1"));
  auto* radio1 = dynamic_cast<gui::TRadioButton*>(form->FindComponent("Radio1"));
  auto* radio2 = dynamic_cast<gui::TRadioButton*>(form->FindComponent("Radio2"));
  controls_test::TTestControlHost form_skinner;
  form_skinner.SkinData = data.get();
  auto* check = new skin::TSkinCheckBox(box);
  check->AttachControl(&form_skinner, data.get(), nullptr, false);
  auto* r1 = new skin::TSkinRadioButton(radio1);
  r1->AttachControl(&form_skinner, data.get(), nullptr, false);
  auto* r2 = new skin::TSkinRadioButton(radio2);
  r2->AttachControl(&form_skinner, data.get(), nullptr, false);

  const int left = glyphWidth > 14 ? 0 : (14 - glyphWidth) / 2;
  const int top = (21 - 13) / 2;
  const auto expectFrame = [&](skin::TSkinControl& skinner, int frame, int line) {
    gui::TBitmap b = Drawn(skinner);
    EXPECT_EQ(b.Pixel(left, top), GlyphColours()[static_cast<std::size_t>(frame - 1)]) << "line " << line;
    EXPECT_EQ(b.Pixel(left + glyphWidth - 1, top + 12), GlyphColours()[static_cast<std::size_t>(frame - 1)])
        << "line " << line;
    if (left > 0) {
      EXPECT_EQ(b.Pixel(left - 1, top), face) << "line " << line;
    }
    EXPECT_EQ(b.Pixel(left, top - 1), face) << "line " << line;
    // The face column is SM_CXMENUCHECK + 3 wide, whatever the glyph.
    const int m = GetSystemMetrics(SM_CXMENUCHECK);
    if (m + 2 >= left + glyphWidth) {
      EXPECT_EQ(b.Pixel(m + 2, top), face) << "line " << line;
    }
  };

  expectFrame(*check, 1, __LINE__);
  box->SetChecked(true);
  expectFrame(*check, 2, __LINE__);
  box->SetEnabled(false);
  expectFrame(*check, 4, __LINE__);
  box->SetChecked(false);
  expectFrame(*check, 3, __LINE__);
  box->SetEnabled(true);
  box->AllowGrayed = true;
  box->SetState(gui::TCheckBoxState::cbGrayed);
  expectFrame(*check, 4, __LINE__);
  box->SetEnabled(false);
  expectFrame(*check, 4, __LINE__);
  box->SetEnabled(true);
  // The "Checked" property decides over the window's button state.
  box->SetChecked(true);
  SendMessageW(box->Handle(), BM_SETCHECK, BST_UNCHECKED, 0);
  expectFrame(*check, 2, __LINE__);

  // Text on the left: the glyph sits at the right edge.
  SetWindowLongPtrW(box->Handle(), GWL_STYLE, GetWindowLongPtrW(box->Handle(), GWL_STYLE) | BS_LEFTTEXT);
  {
    gui::TBitmap b = Drawn(*check);
    const int right = glyphWidth > 14 ? 120 - 1 : 120 - (14 - glyphWidth) / 2;
    EXPECT_EQ(b.Pixel(right - 1, top), GlyphColours()[1]);
    EXPECT_EQ(b.Pixel(right - glyphWidth, top), GlyphColours()[1]);
    if (right < 120) {
      EXPECT_EQ(b.Pixel(right, top), face);
    }
  }

  // Radio buttons: checked and disabled, and a click repaints at once.
  radio1->SetChecked(true);
  expectFrame(*r1, 2, __LINE__);
  expectFrame(*r2, 1, __LINE__);
  radio2->SetEnabled(false);
  expectFrame(*r2, 3, __LINE__);
  radio2->SetEnabled(true);
  UpdateWindow(form->Handle());
  SendMessageW(radio2->Handle(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(30, 8));
  SendMessageW(radio2->Handle(), WM_LBUTTONUP, 0, MAKELPARAM(30, 8));
  EXPECT_TRUE(radio2->Checked());
  EXPECT_EQ(r2->LastFrame(), 2);  // painted already, before any message is dispatched
  EXPECT_EQ(r1->LastFrame(), 1);
  form_skinner.FreeControlSkinners();
  delete form;
}

INSTANTIATE_TEST_SUITE_P(GlyphWidths, GlyphTest, ::testing::Values(13, 10, 16));

// The check box's own paint, caption included, as the system draws it.
gui::TBitmap PaintedByItself(HWND wnd) {
  RECT r;
  GetClientRect(wnd, &r);
  gui::TBitmap bitmap(r.right, r.bottom);
  SendMessageW(wnd, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(bitmap.DC()), PRF_CLIENT | PRF_ERASEBKGND);
  return bitmap;
}

TEST_F(GlyphTest, CaptionsSitOnTheSkinsFaceInItsTextColourUnlessTheProgramChoseOne) {
  auto data = controls_test::LoadData(controls_test::GlyphSkinArchive(13));
  ASSERT_NE(data, nullptr);
  gui::TApplication app;
  gui::TForm* form = controls_test::ShowForm(
      app, Control("CheckBox1", "TCheckBox", 10, 10, 120, 21, "    Caption = 'Scan memory'\n") +
               Control("CheckBox2", "TCheckBox", 10, 40, 120, 21, "    Caption = 'Scan memory'\n") +
               Control("Radio1", "TRadioButton", 10, 70, 120, 21, "    Caption = 'Scan memory'\n"));
  auto* plain = dynamic_cast<gui::TCheckBox*>(form->FindComponent("CheckBox1"));
  auto* red = dynamic_cast<gui::TCheckBox*>(form->FindComponent("CheckBox2"));
  auto* radio = dynamic_cast<gui::TRadioButton*>(form->FindComponent("Radio1"));
  red->Font().SetColor(0x0000FF);
  const COLORREF face = RGB(10, 20, 30), text = RGB(240, 230, 220), systemFace = GetSysColor(COLOR_BTNFACE);
  // The caption: right of the glyph column.
  const RECT caption{20, 0, 1000, 1000};
  gui::TBitmap before = PaintedByItself(plain->Handle());
  ASSERT_GT(controls_test::CountColour(before, caption, systemFace), 0);

  controls_test::TTestControlHost form_skinner;
  form_skinner.SkinData = data.get();
  for (gui::TControl* control : std::initializer_list<gui::TControl*>{plain, red})
    (new skin::TSkinCheckBox(control))->AttachControl(&form_skinner, data.get(), nullptr, false);
  (new skin::TSkinRadioButton(radio))->AttachControl(&form_skinner, data.get(), nullptr, false);
  for (HWND wnd : {plain->Handle(), radio->Handle()}) {
    gui::TBitmap b = PaintedByItself(wnd);
    EXPECT_EQ(controls_test::CountColour(b, caption, systemFace), 0);
    EXPECT_GT(controls_test::CountColour(b, caption, face), 0);
    EXPECT_GT(controls_test::CountColour(b, caption, text), 0);
  }
  gui::TBitmap chosen = PaintedByItself(red->Handle());
  EXPECT_GT(controls_test::CountColour(chosen, caption, face), 0);
  EXPECT_GT(controls_test::CountColour(chosen, caption, RGB(255, 0, 0)), 0);
  EXPECT_EQ(controls_test::CountColour(chosen, caption, text), 0);

  // Disabled: the system's white relief would stand out on a dark face; the
  // skinner leaves a caption halfway between face and text, without relief.
  const COLORREF relief = GetSysColor(COLOR_3DHILIGHT), dimmed = RGB(125, 125, 125);
  for (gui::TWinControl* control : std::initializer_list<gui::TWinControl*>{plain, radio}) {
    control->SetEnabled(false);
    gui::TBitmap b = PaintedByItself(control->Handle());
    ASSERT_GT(controls_test::CountColour(b, caption, relief), 0) << "the system draws a relief";
    auto* skinner = dynamic_cast<skin::TSkinControl*>(form_skinner.FindWindowSkinner(control->Handle()));
    ASSERT_NE(skinner, nullptr);
    skinner->DrawSkin(b.DC(), RECT{0, 0, b.Width(), b.Height()});
    EXPECT_EQ(controls_test::CountColour(b, caption, relief), 0);
    EXPECT_EQ(controls_test::CountColour(b, caption, text), 0);
    EXPECT_GT(controls_test::CountColour(b, caption, dimmed), 20);
    EXPECT_GT(controls_test::CountColour(b, caption, face), 0);
  }
  form_skinner.FreeControlSkinners();
  delete form;
}

class BoxTest : public ::testing::Test {
 protected:
  void SetUp() override {
    data_ = controls_test::LoadData(skin_test::DefaultSkinArchive());
    ASSERT_NE(data_, nullptr);
    form_skinner_.SkinData = data_.get();
  }
  void TearDown() override { skin_test::DrainMessages(); }
  std::unique_ptr<skin::TSkinData> data_;
  controls_test::TTestControlHost form_skinner_;
  controls_test::TShownForms forms_;
};

TEST_F(BoxTest, GroupBoxFrameCaptionAndColoursGivenBack) {
  gui::TForm* form = forms_.Show(
      Control("GroupBox1", "TGroupBox", 10, 10, 200, 80, "    Caption = 'Threats found'\n    Color = $00123456\n") +
      Control("Panel1", "TPanel", 10, 100, 200, 40, "    Color = $00654321\n"));
  auto* group = dynamic_cast<gui::TGroupBox*>(form->FindComponent("GroupBox1"));
  auto* panel = dynamic_cast<gui::TPanel*>(form->FindComponent("Panel1"));
  group->Font().SetHeight(13);  // a 13-pixel cell
  auto* frame = new skin::TSkinGroupBox(group);
  frame->AttachControl(&form_skinner_, data_.get(), nullptr, true);
  auto* box = new skin::TSkinBox(panel);
  const auto panelMethod = panel->WindowProc;
  box->AttachControl(&form_skinner_, data_.get(), nullptr, true);
  EXPECT_EQ(panel->WindowProc, panelMethod);  // never hooked
  EXPECT_EQ(box->SkinnerState(), 0);
  const auto& colours = data_->Skin().Colours;
  EXPECT_EQ(group->Color(), colours.ButtonFace);
  EXPECT_EQ(panel->Color(), colours.ButtonFace);

  gui::TBitmap b = Drawn(*frame);
  EXPECT_EQ(frame->LastFrameTop(), 5);
  const COLORREF shadow = skin::SkinColourToRGB(colours.ButtonShadow);
  const COLORREF faceColour = skin::SkinColourToRGB(colours.ButtonFace);
  EXPECT_EQ(b.Pixel(150, 5), shadow);  // the rounded frame's top line
  EXPECT_EQ(b.Pixel(0, 40), shadow);
  EXPECT_EQ(b.Pixel(1, 40), faceColour);  // the etched frame's inner line painted over
  // The caption's cell hides the frame line behind it, on the button face.
  EXPECT_NE(b.Pixel(10, 5), shadow);
  int faceCells = 0;
  for (int x = 9; x < 40; ++x) faceCells += b.Pixel(x, 1) == faceColour;
  EXPECT_GT(faceCells, 0);

  // The caption is drawn in the skin's button text colour; disabled, in
  // its GrayText.
  const auto countColour = [](gui::TBitmap& bitmap, COLORREF colour) {
    int n = 0;
    for (int y = 0; y < 14; ++y)
      for (int x = 9; x < 120; ++x) n += bitmap.Pixel(x, y) == colour;
    return n;
  };
  EXPECT_GT(countColour(b, skin::SkinColourToRGB(colours.ButtonText)), 10);
  group->SetEnabled(false);
  gui::TBitmap disabled = Drawn(*frame);
  ASSERT_NE(colours.GrayText & core::kSystemColourFlag, core::kSystemColourFlag);
  EXPECT_GT(countColour(disabled, skin::SkinColourToRGB(colours.GrayText)), 10);
  group->SetEnabled(true);

  // An empty window text falls back to the framework caption.
  SetWindowTextW(group->Handle(), L"");
  Drawn(*frame);
  EXPECT_EQ(frame->CaptionText(), L"Threats found");

  form_skinner_.FreeControlSkinners();
  EXPECT_EQ(group->Color(), 0x123456u);
  EXPECT_EQ(panel->Color(), 0x654321u);
  EXPECT_EQ(group->WindowProc, group->OwnWindowMethod());
}

// Whether every opaque pixel of the skin's grip (frame 5 of the extra
// images) is drawn with its corner one pixel inside the bitmap's.
bool ShowsGrip(const gui::TBitmap& b, skin::TDataSkinObject& extra) {
  const int count = extra.FrameCount > 0 ? extra.FrameCount : 5;
  const int gw = extra.Image.Width() / count, gh = extra.Image.Height();
  int matching = 0, opaque = 0;
  for (int y = 0; y < gh; ++y)
    for (int x = 0; x < gw; ++x) {
      const COLORREF src = extra.Image.Pixel(4 * gw + x, y);
      if (src == skin::TransparentColour) continue;
      ++opaque;
      matching += b.Pixel(b.Width() - 1 - gw + x, b.Height() - 1 - gh + y) == src;
    }
  return opaque > 0 && matching == opaque;
}

TEST_F(BoxTest, StatusBarPanelsSimpleModeAndGrip) {
  gui::TForm* form = forms_.Show(Control("StatusBar1", "TStatusBar", 0, 200, 300, 22));
  auto* bar = dynamic_cast<gui::TStatusBar*>(form->FindComponent("StatusBar1"));
  bar->SetPanels({{L"one", 60, gui::TAlignment::taLeftJustify, gui::TStatusPanelBevel::pbLowered, false},
                  {L"", 60, gui::TAlignment::taCenter, gui::TStatusPanelBevel::pbRaised, false},
                  {L"three", 30, gui::TAlignment::taLeftJustify, gui::TStatusPanelBevel::pbNone, true}});
  // The last part ends short of the right edge.
  int edges[3] = {60, 120, 150};
  SendMessageW(bar->Handle(), SB_SETPARTS, 3, reinterpret_cast<LPARAM>(edges));
  ASSERT_TRUE(GetWindowLongPtrW(bar->Handle(), GWL_STYLE) & SBARS_SIZEGRIP);
  auto* skinner = new skin::TSkinStatusBar(bar);
  skinner->AttachControl(&form_skinner_, data_.get(), nullptr, false);
  auto& skin = data_->Skin();
  ASSERT_TRUE(skin.StatusBarEdges && !skin.StatusBarEdges->Image.Empty());
  ASSERT_TRUE(skin.ExtraImages && !skin.ExtraImages->Image.Empty());

  gui::TBitmap b = Drawn(*skinner);
  const auto panelPixel = [&](int index, int frame, int x, int y) {
    RECT p{};
    SendMessageW(bar->Handle(), SB_GETRECT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&p));
    if (index == 2) p.right = b.Width();
    gui::TBitmap piece = skin::RenderNineSlice(RECT{0, 0, p.right - p.left, p.bottom - p.top},
                                               skin.StatusBarEdges->Image, skin.StatusBarEdges->Margins(), false,
                                               skin.StatusBarEdges->TilesCentre(), 3, frame);
    return std::pair{b.Pixel(p.left + x, p.top + y), piece.Pixel(x, y)};
  };
  for (auto [index, frame] : {std::pair{0, 1}, std::pair{1, 2}, std::pair{2, 3}}) {
    auto [got, want] = panelPixel(index, frame, 0, 0);
    EXPECT_EQ(got, want) << "panel " << index;
  }
  // The last panel's frame runs to the right edge (above the grip).
  {
    auto [got, want] = panelPixel(2, 3, 0, 0);
    EXPECT_EQ(got, want);
    RECT p{};
    SendMessageW(bar->Handle(), SB_GETRECT, 2, reinterpret_cast<LPARAM>(&p));
    gui::TBitmap piece = skin::RenderNineSlice(RECT{0, 0, b.Width() - p.left, p.bottom - p.top},
                                               skin.StatusBarEdges->Image, skin.StatusBarEdges->Margins(), false,
                                               skin.StatusBarEdges->TilesCentre(), 3, 3);
    EXPECT_EQ(b.Pixel(b.Width() - 1, p.top), piece.Pixel(piece.Width() - 1, 0));
  }
  // The grip: frame 5 of the extra images, its corner one pixel inside.
  EXPECT_TRUE(ShowsGrip(b, *skin.ExtraImages));

  // Right-to-left reading turns the third panel's left alignment to the right.
  {
    RECT p{};
    SendMessageW(bar->Handle(), SB_GETRECT, 2, reinterpret_cast<LPARAM>(&p));
    const COLORREF text = skin::SkinColourToRGB(skin.StatusBarEdges->NormalColour2);
    const int mid = (p.left + b.Width()) / 2;
    int leftHalf = 0, rightHalf = 0;
    for (int y = p.top + 4; y < p.bottom - 4; ++y)
      for (int x = p.left + 4; x < b.Width() - 4; ++x)
        if (b.Pixel(x, y) == text) (x < mid ? leftHalf : rightHalf)++;
    EXPECT_GT(rightHalf, 0);
    EXPECT_EQ(leftHalf, 0);
  }

  // Simple mode: one lowered panel over the whole bar.
  bar->SetSimpleText(L"simple");
  bar->SetSimplePanel(true);
  gui::TBitmap s = Drawn(*skinner);
  gui::TBitmap whole = skin::RenderNineSlice(RECT{0, 0, s.Width(), s.Height()}, skin.StatusBarEdges->Image,
                                             skin.StatusBarEdges->Margins(), false, skin.StatusBarEdges->TilesCentre(),
                                             3, 1);
  EXPECT_EQ(s.Pixel(100, 0), whole.Pixel(100, 0));
  EXPECT_EQ(s.Pixel(0, s.Height() / 2), whole.Pixel(0, s.Height() / 2));
  form_skinner_.FreeControlSkinners();
}

// A status bar of no framework control: its parts from the control, each
// in its frame (lowered, raised, without borders), its text aligned by the
// leading tabs, in the skin's text colour.
TEST_F(BoxTest, AWindowsOwnStatusBarShowsItsParts) {
  gui::TForm* form = forms_.Show("");
  HWND wnd = CreateWindowExW(0, STATUSCLASSNAMEW, L"", WS_CHILD | WS_VISIBLE, 0, 0, 0, 0, form->Handle(), nullptr,
                             GetModuleHandleW(nullptr), nullptr);
  int edges[3] = {80, 160, -1};
  SendMessageW(wnd, SB_SETPARTS, 3, reinterpret_cast<LPARAM>(edges));
  SendMessageW(wnd, SB_SETTEXTW, 0, reinterpret_cast<LPARAM>(L"Ready"));
  SendMessageW(wnd, SB_SETTEXTW, 1 | SBT_POPOUT, reinterpret_cast<LPARAM>(L"\tMid"));
  SendMessageW(wnd, SB_SETTEXTW, 2 | SBT_NOBORDERS, reinterpret_cast<LPARAM>(L"\t\tEnd"));
  auto* skinner = new skin::TSkinStatusBar(nullptr);
  ASSERT_TRUE(skinner->AttachWindow(wnd, data_.get(), &form_skinner_, nullptr));
  auto& skin = data_->Skin();
  gui::TBitmap b = Drawn(*skinner);
  const COLORREF text = skin::SkinColourToRGB(skin.StatusBarEdges->NormalColour2);
  for (auto [index, frame] : {std::pair{0, 1}, std::pair{1, 2}}) {
    RECT p{};
    SendMessageW(wnd, SB_GETRECT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&p));
    gui::TBitmap piece = skin::RenderNineSlice(RECT{0, 0, p.right - p.left, p.bottom - p.top},
                                               skin.StatusBarEdges->Image, skin.StatusBarEdges->Margins(), false,
                                               skin.StatusBarEdges->TilesCentre(), 3, frame);
    EXPECT_EQ(b.Pixel(p.left, p.top), piece.Pixel(0, 0)) << "part " << index;
  }
  // Where each text stands in its part: left, centre, right.
  const auto inkColumns = [&](int index) {
    RECT p{};
    SendMessageW(wnd, SB_GETRECT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&p));
    if (index == 2) p.right = b.Width();
    int first = -1, last = -1;
    for (int x = p.left; x < p.right; ++x)
      for (int y = p.top; y < p.bottom; ++y)
        if (b.Pixel(x, y) == text) {
          if (first < 0) first = x;
          last = x;
        }
    return std::tuple{first - p.left, p.right - 1 - last};
  };
  const auto [readyLeft, readyRight] = inkColumns(0);
  const auto [midLeft, midRight] = inkColumns(1);
  const auto [endLeft, endRight] = inkColumns(2);
  EXPECT_GE(readyLeft, 0);
  EXPECT_LT(readyLeft, readyRight);
  EXPECT_GT(midLeft, 10);
  EXPECT_LE(std::abs(midLeft - midRight), 8);
  EXPECT_GT(endLeft, endRight);
  form_skinner_.FreeControlSkinners();
  DestroyWindow(wnd);
}

// A skinned status bar on a form keeps its size grip (the system still
// sizes the form from it), and the skin draws its grip picture there,
// except while the form is maximised, where the system's grip does nothing.
TEST_F(BoxTest, AStatusBarOnAFormShowsTheSkinsGrip) {
  gui::TForm* form = forms_.Show(Control("StatusBar1", "TStatusBar", 0, 200, 300, 22));
  auto* bar = dynamic_cast<gui::TStatusBar*>(form->FindComponent("StatusBar1"));
  auto* skinner = new skin::TSkinStatusBar(bar);
  ASSERT_TRUE(skinner->AttachControl(&form_skinner_, data_.get(), &form_skinner_.Canvas, false));
  EXPECT_TRUE(GetWindowLongPtrW(bar->Handle(), GWL_STYLE) & SBARS_SIZEGRIP);
  EXPECT_TRUE(ShowsGrip(Drawn(*skinner), *data_->Skin().ExtraImages));
  ShowWindow(form->Handle(), SW_MAXIMIZE);
  EXPECT_FALSE(ShowsGrip(Drawn(*skinner), *data_->Skin().ExtraImages)) << "maximised";
  form_skinner_.FreeControlSkinners();
}

TEST_F(BoxTest, AStatusBarThatRecreatesItsWindowStaysSkinned) {
  gui::TForm* form = forms_.Show(Control("StatusBar1", "TStatusBar", 0, 200, 300, 22));
  auto* bar = dynamic_cast<gui::TStatusBar*>(form->FindComponent("StatusBar1"));
  bar->SetSimpleText(L"ready");
  bar->SetSimplePanel(true);
  auto* skinner = new skin::TSkinStatusBar(bar);
  skinner->AttachControl(&form_skinner_, data_.get(), nullptr, false);
  const HWND before = bar->Handle();

  bar->SetSizeGrip(false);  // takes effect by re-creating the window
  ASSERT_NE(bar->Handle(), before);
  EXPECT_EQ(skinner->SkinnerState(), 1);
  EXPECT_EQ(skinner->SkinnedWindow(), bar->Handle());
  EXPECT_EQ(form_skinner_.FindWindowSkinner(bar->Handle()), skinner);
  // The new window is painted (by the skin) and validated: no paint is left
  // pending after a bounded number of messages.
  MSG msg;
  for (int i = 0; i < 100 && PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE); ++i) DispatchMessageW(&msg);
  EXPECT_FALSE(GetUpdateRect(bar->Handle(), nullptr, FALSE));
  RECT wr{};
  GetWindowRect(bar->Handle(), &wr);
  EXPECT_EQ(skinner->LastPaintedRect().right, wr.right);  // recorded by the skin's paint
  form_skinner_.FreeControlSkinners();
  EXPECT_EQ(bar->WindowProc, bar->OwnWindowMethod());
}

}  // namespace
