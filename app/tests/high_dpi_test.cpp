// The settings dialog on a screen of the density the test prefix sets (the
// same test runs at 96, 120, 144 and 192 dots per inch): laid out for that
// density, every caption fitting its control, and the skinned frame, its
// caption buttons, region and hit testing scaled with the screen, compared
// with the same dialog laid out for 96 in the same process.
#include <gtest/gtest.h>
#include <windows.h>

#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include "app/Unit1.h"
#include "gui/screen.h"
#include "gui/text.h"
#include "skin/data/skin_elements.h"
#include "skin/form/nc_objects.h"
#include "skin/form/skin_form.h"
#include "skin/manager/skin_manager.h"

namespace {

// What the tests compare between densities: the frame, the close button and
// where the region starts on the window's first row.
struct FrameGeometry {
  int left = 0, top = 0, right = 0, bottom = 0;
  RECT close{};
  int firstRegionPixel = -1;
};

class HighDpi : public ::testing::Test {
 protected:
  void TearDown() override { gui::ForceScreenPixelsPerInch(0); }

  // The dialog as the program makes it, at the density ScreenPixelsPerInch gives.
  TForm1& Open() {
    app_.reset();
    app_ = std::make_unique<gui::TApplication>();
    TForm1* form = app_->CreateForm<TForm1>();
    form->Show();
    app_->ProcessMessages();
    return *form;
  }

  static FrameGeometry Geometry(TForm1& f) {
    FrameGeometry g;
    const skin::TWinSkinForm* skinner = skin::ThreadSkinManager() ? skin::ThreadSkinManager()->FindFormSkinner(f.Handle()) : nullptr;
    if (!skinner) return g;
    g.left = skinner->Frame().Left;
    g.top = skinner->Frame().Top;
    g.right = skinner->Frame().Right;
    g.bottom = skinner->Frame().Bottom;
    for (const auto& button : skinner->SysButtons())
      if (button->Element->Action == skin::caClose && skinner->PlaceOf(*button).Visible)
        g.close = skinner->PlaceOf(*button).Bounds;
    HRGN region = CreateRectRgn(0, 0, 0, 0);
    if (GetWindowRgn(f.Handle(), region) != ERROR) {
      for (int x = 0; x < 64 && g.firstRegionPixel < 0; ++x)
        if (PtInRegion(region, x, 0)) g.firstRegionPixel = x;
    }
    DeleteObject(region);
    return g;
  }

  std::unique_ptr<gui::TApplication> app_;
};

int Dpi() { return gui::ScreenPixelsPerInch(); }
int Scaled(int pixels) { return MulDiv(pixels, Dpi(), 96); }

// Width and height of a control's caption in its own font ("&" marks the
// accelerator and takes no room).
SIZE CaptionExtent(gui::TControl* c) {
  std::wstring text;
  for (wchar_t ch : c->Caption())
    if (ch != L'&') text += ch;
  HDC dc = GetDC(nullptr);
  HGDIOBJ old = SelectObject(dc, c->Font().Handle());
  SIZE size{};
  GetTextExtentPoint32W(dc, text.c_str(), static_cast<int>(text.size()), &size);
  SelectObject(dc, old);
  ReleaseDC(nullptr, dc);
  return size;
}

TEST_F(HighDpi, TheDialogIsLaidOutForTheScreensDensityAndEveryCaptionFits) {
  // The density the test prefix was set to is the one the program sees.
  if (const char* asked = std::getenv("WINE_DPI")) {
    EXPECT_EQ(Dpi(), std::atoi(asked));
  }
  TForm1& f = Open();
  RECT client;
  GetClientRect(f.Handle(), &client);
  EXPECT_EQ(client.right, Scaled(290)) << Dpi() << " dpi";
  EXPECT_EQ(client.bottom, Scaled(310));
  if (Dpi() == 144) {
    EXPECT_EQ(client.right, 435);
    EXPECT_EQ(client.bottom, 465);
  }
  // The form keeps its place on the screen; its children scale with it,
  // each rounded by itself, fonts too.
  RECT window;
  GetWindowRect(f.Handle(), &window);
  EXPECT_EQ(window.left, 373);
  EXPECT_EQ(window.top, 243);
  EXPECT_EQ(f.GroupBox3->Top(), Scaled(153));
  EXPECT_EQ(f.GroupBox3->Height(), Scaled(121));
  EXPECT_EQ(f.CheckBox5->Top(), Scaled(92));
  EXPECT_EQ(f.Button2->Left(), Scaled(159));
  EXPECT_EQ(f.RadioButton3->Width(), Scaled(275));
  EXPECT_EQ(f.GroupBox1->Font().Height(), Scaled(-11));
  EXPECT_EQ(f.CheckBox1->Font().Height(), f.Font().Height());

  // Every caption fits its control: check boxes and radio buttons beside a
  // glyph of the system's size, push buttons with a margin, group boxes
  // after their caption inset.
  const int glyphRoom = Scaled(13 + 4);
  for (gui::TControl* c : std::vector<gui::TControl*>{f.RadioButton1, f.RadioButton2, f.RadioButton3,
                                                      f.RadioButton5, f.RadioButton6, f.RadioButton7,
                                                      f.RadioButton8, f.CheckBox1, f.CheckBox2, f.CheckBox3,
                                                      f.CheckBox4, f.CheckBox5}) {
    const SIZE text = CaptionExtent(c);
    EXPECT_LE(text.cx + glyphRoom, c->Width()) << gui::WideToAnsi(c->Caption()) << " at " << Dpi();
    EXPECT_LE(text.cy, c->Height()) << gui::WideToAnsi(c->Caption());
  }
  for (gui::TControl* c : std::vector<gui::TControl*>{f.Button1, f.Button2}) {
    const SIZE text = CaptionExtent(c);
    EXPECT_LE(text.cx + Scaled(8), c->Width()) << gui::WideToAnsi(c->Caption());
    EXPECT_LE(text.cy + Scaled(4), c->Height()) << gui::WideToAnsi(c->Caption());
  }
  for (gui::TControl* c : std::vector<gui::TControl*>{f.GroupBox1, f.GroupBox2, f.GroupBox3}) {
    EXPECT_LE(CaptionExtent(c).cx + Scaled(9 + 9), c->Width()) << gui::WideToAnsi(c->Caption());
  }
}

TEST_F(HighDpi, TheSkinnedFrameCaptionButtonsRegionAndHitTestsScaleWithTheScreen) {
  if (WindowsVersionName() == "Vista") GTEST_SKIP() << "the dialog is not skinned on this version";
  const int dpi = Dpi();
  gui::ForceScreenPixelsPerInch(96);
  const FrameGeometry design = Geometry(Open());
  gui::ForceScreenPixelsPerInch(0);
  TForm1& f = Open();
  const FrameGeometry now = Geometry(f);
  ASSERT_GT(design.top, 0);
  ASSERT_NE(design.close.right, 0);

  // Within a pixel of the 96-dpi frame times the factor (pictures drawn for
  // a density round each of their parts by itself).
  auto within1 = [&](int actual, int at96) { return std::abs(actual - MulDiv(at96, dpi, 96)) <= 1; };
  EXPECT_PRED2(within1, now.left, design.left);
  EXPECT_PRED2(within1, now.top, design.top);
  EXPECT_PRED2(within1, now.right, design.right);
  EXPECT_PRED2(within1, now.bottom, design.bottom);
  // The close button is placed from the right edge: compare its distance
  // from there, and its size.
  RECT window;
  GetWindowRect(f.Handle(), &window);
  const int width = window.right - window.left;
  const int designWidth = 290 + design.left + design.right;
  EXPECT_PRED2(within1, width - now.close.left, designWidth - design.close.left);
  EXPECT_PRED2(within1, now.close.top, design.close.top);
  EXPECT_PRED2(within1, now.close.right - now.close.left, design.close.right - design.close.left);
  EXPECT_PRED2(within1, now.close.bottom - now.close.top, design.close.bottom - design.close.top);
  // The rounded corner cut out of the region grows with the frame.
  if (design.firstRegionPixel > 0) {
    EXPECT_LE(std::abs(now.firstRegionPixel - Scaled(design.firstRegionPixel)), 2);
  }

  // Hit testing follows: the close button, the caption band, the client.
  auto hitAt = [&](int x, int y) {
    return SendMessageW(f.Handle(), WM_NCHITTEST, 0, MAKELPARAM(window.left + x, window.top + y));
  };
  const RECT& r = now.close;
  EXPECT_EQ(hitAt((r.left + r.right) / 2, (r.top + r.bottom) / 2), HTCLOSE);
  EXPECT_EQ(hitAt(width / 2, now.top / 2), HTCAPTION);
  EXPECT_EQ(hitAt(width / 2, now.top + Scaled(20)), HTCLIENT);
}

}  // namespace
