// List views, their headers and size grips on real windows: discovery gives
// each scrolling control its skinner, the header is drawn from the skin's
// header bar (items, the strip after the last one, a right-aligned caption
// with an image, grey captions when disabled, a header re-created with its
// list view), and a dialog box's size grip shows the skin's grip.
#include "skin/controls/skin_listview.h"

#include <gtest/gtest.h>

#include <map>
#include <string>

#include "gui/bitmap.h"
#include "gui/handles.h"
#include "gui/listview.h"
#include "gui/tests/test_bitmaps.h"
#include "skin/controls/tests/controls_fixture.h"
#include "skin/form/control_discovery.h"
#include "skin/form/tests/form_fixture.h"

namespace {

using controls_test::Control;

constexpr COLORREF kHeader = RGB(0, 120, 120), kInk = RGB(0, 0, 160), kFace = RGB(90, 80, 70);
constexpr COLORREF kImageRed = RGB(200, 0, 0), kGrip = RGB(0, 140, 40);

std::vector<std::uint8_t> HeaderSkinArchive() {
  core::TSkinWriter writer;
  const std::string definition =
      skin_test::WholeSkinDefinition("Headers") + "[Colours]\r\nButtonText=0 0 160\r\nButtonFace=90 80 70\r\n"
      "[Headerbar]\r\nImage=header.bmp\r\n[Scrollbar]\r\nImage=arrows.bmp\r\n[ExtraImages]\r\nImage=extra.bmp\r\n";
  writer.AddEntry("skin.ini", std::span(reinterpret_cast<const std::uint8_t*>(definition.data()), definition.size()));
  skin_test::AddFramePictures(writer);
  writer.AddEntry("header.bmp", controls_test::StripBmp(
                                    8, 8, {kHeader, RGB(1, 1, 1), RGB(2, 2, 2), RGB(3, 3, 3), RGB(4, 4, 4)}));
  writer.AddEntry("arrows.bmp", controls_test::StripBmp(4, 4, std::vector<COLORREF>(23, RGB(50, 50, 50))));
  // The grip is the fifth frame, its top-left pixel transparent.
  writer.AddEntry("extra.bmp", controls_test::StripBmp(8, 8, {RGB(1, 1, 1), RGB(2, 2, 2), RGB(3, 3, 3), RGB(4, 4, 4), kGrip},
                                                       RGB(255, 0, 255)));
  return core::LzhCompress(writer.BuildContainer());
}

// Columns of row `y` holding `colour`, as [first, last] (-1 when none).
std::pair<int, int> Columns(gui::TBitmap& b, int y0, int y1, int x0, int x1, COLORREF colour) {
  int first = -1, last = -1;
  for (int x = x0; x < x1; ++x)
    for (int y = y0; y < y1; ++y)
      if (b.Pixel(x, y) == colour) {
        if (first < 0) first = x;
        last = x;
      }
  return {first, last};
}

class ListViewTest : public ::testing::Test {
 protected:
  void SetUp() override {
    data_ = controls_test::LoadData(HeaderSkinArchive());
    ASSERT_NE(data_, nullptr);
    skin::SetDiscoveryObserver([this](gui::TComponent* c, const skin::TSkinDecision& d) { seen_[c->Name()] = d; });
  }
  void TearDown() override {
    skin::SetDiscoveryObserver(nullptr);
    skin_test::DrainMessages();
  }
  gui::TBitmap Painted(skin::TSkinControl& skinner) {
    RECT r;
    GetWindowRect(skinner.SkinnedWindow(), &r);
    gui::TBitmap b(r.right - r.left, r.bottom - r.top);
    gui::TCanvas(b.DC()).FillRect(RECT{0, 0, b.Width(), b.Height()}, RGB(255, 255, 255));
    skinner.PaintSkin(b.DC());
    return b;
  }
  std::unique_ptr<skin::TSkinData> data_;
  std::map<std::string, skin::TSkinDecision> seen_;
};

std::string ListViewForm() {
  const std::string strip = gui_test::Hex(gui_test::StripBmp(12, 12, {kImageRed}));
  return R"(  object Files: TListView
    Left = 8
    Top = 8
    Width = 320
    Height = 150
    ViewStyle = vsReport
    SmallImages = Icons
    Columns = <
      item
        Caption = 'Name'
        Width = 120
      end
      item
        Caption = 'Size'
        Width = 90
        Alignment = taRightJustify
        ImageIndex = 0
      end>
  end
  object Icons: TImageList
    Width = 12
    Height = 12
    Bitmap = {)" +
         strip + R"(}
  end
)" + Control("List", "TListBox", 8, 170, 100, 60, "    Items.Strings = (\n      'a'\n      'b')\n") +
         Control("Notes", "TMemo", 120, 170, 100, 60, "    ScrollBars = ssBoth\n") +
         Control("Bar", "TScrollBar", 230, 170, 80, 17);
}

TEST_F(ListViewTest, DiscoveryGivesScrollingControlsTheirSkinners) {
  gui::TApplication app;
  gui::TForm* form = controls_test::ShowForm(app, ListViewForm(), 340, 250);
  skin::TWinSkinForm formSkinner(nullptr, nullptr, data_.get(), nullptr);
  skin::SkinComponents(formSkinner, form);
  EXPECT_EQ(seen_["Files"].Skinner, "TSkinListView");
  EXPECT_EQ(seen_["List"].Skinner, "TSkinScrollbar");
  EXPECT_EQ(seen_["Notes"].Skinner, "TSkinScrollbar");
  EXPECT_EQ(seen_["Bar"].Skinner, "TSkinScControl");
  auto* files = dynamic_cast<gui::TWinControl*>(form->FindComponent("Files"));
  auto* list = dynamic_cast<gui::TWinControl*>(form->FindComponent("List"));
  auto* listView = dynamic_cast<skin::TSkinListView*>(formSkinner.FindWindowSkinner(files->Handle()));
  ASSERT_NE(listView, nullptr);
  ASSERT_NE(listView->Header, nullptr);
  EXPECT_EQ(listView->Header->SkinnedWindow(),
            reinterpret_cast<HWND>(SendMessageW(files->Handle(), LVM_GETHEADER, 0, 0)));
  EXPECT_FALSE(listView->TracksThumb());  // list views drag their thumbs themselves
  auto* listBox = dynamic_cast<skin::TSkinScrollbar*>(formSkinner.FindWindowSkinner(list->Handle()));
  ASSERT_NE(listBox, nullptr);
  EXPECT_TRUE(listBox->TracksThumb());
  // Unskinning frees the header's skinner with the others; the list view's
  // skinner forgets it.
  formSkinner.FreeControlSkinners();
  EXPECT_EQ(formSkinner.FindWindowSkinner(files->Handle()), nullptr);
  delete form;
}

TEST_F(ListViewTest, TheHeaderIsDrawnFromTheSkin) {
  gui::TApplication app;
  gui::TForm* form = controls_test::ShowForm(app, ListViewForm(), 340, 250);
  auto* files = dynamic_cast<gui::TListView*>(form->FindComponent("Files"));
  ASSERT_NE(files, nullptr);
  auto* s = new skin::TSkinListView(files);
  s->Attach({.Control = files, .Data = data_.get()});
  ASSERT_NE(s->Header, nullptr);
  const HWND header = s->Header->SkinnedWindow();
  EXPECT_EQ(SendMessageW(header, WM_ERASEBKGND, 0, 0), 1);

  gui::TBitmap b = Painted(*s->Header);
  const int h = b.Height();
  ASSERT_GT(h, 4);
  // The strip after the last item (at 210) is the header bar's first frame.
  EXPECT_EQ(b.Pixel(215, h / 2), kHeader);
  EXPECT_EQ(b.Pixel(b.Width() - 1, h / 2), kHeader);
  // The left-aligned caption starts near the item's left; the right-aligned
  // one puts its image 2 pixels plus the text's width from the right edge.
  const auto name = Columns(b, 0, h, 0, 120, kInk);
  EXPECT_GE(name.first, 2);
  EXPECT_LT(name.first, 8);
  RECT item{};
  SendMessageW(header, HDM_GETITEMRECT, 1, reinterpret_cast<LPARAM>(&item));
  HDC measure = b.DC();
  gui::SelectGuard font(measure, reinterpret_cast<HFONT>(SendMessageW(header, WM_GETFONT, 0, 0)));
  RECT text{0, 0, 200, 40};
  DrawTextW(measure, L"Size", 4, &text, DT_SINGLELINE | DT_CALCRECT);
  const auto image = Columns(b, 0, h, item.left, item.right, kImageRed);
  EXPECT_EQ(image.first, item.right - 12 - text.right - 2);
  EXPECT_EQ(image.second - image.first, 11);
  const auto size = Columns(b, 0, h, item.left, item.right, kInk);
  EXPECT_GT(size.first, image.second);
  EXPECT_LE(size.second, item.right - 2);

  // A disabled list view's header draws its captions in the grey-text colour.
  EnableWindow(files->Handle(), FALSE);
  gui::TBitmap grey = Painted(*s->Header);
  EXPECT_EQ(Columns(grey, 0, h, 0, 120, kInk).first, -1);
  EXPECT_NE(Columns(grey, 0, h, 0, 120, GetSysColor(COLOR_GRAYTEXT)).first, -1);

  // A style that takes effect only at creation re-creates the list view's
  // window, and its header with it: the new header is skinned.
  const HWND old = files->Handle();
  files->SetHideSelection(!files->HideSelection());
  ASSERT_NE(files->Handle(), old);
  const HWND newHeader = reinterpret_cast<HWND>(SendMessageW(files->Handle(), LVM_GETHEADER, 0, 0));
  ASSERT_NE(s->Header, nullptr);
  EXPECT_EQ(s->Header->SkinnedWindow(), newHeader);
  gui::TBitmap shot = controls_test::Snapshot(newHeader);
  EXPECT_EQ(shot.Pixel(shot.Width() - 2, shot.Height() / 2), kHeader);
  delete form;
}

TEST_F(ListViewTest, ASkinnedFormsListViewStillPaintsItsRows) {
  gui::TApplication app;
  std::string rows = "    Items = <\n";
  for (int i = 1; i <= 20; ++i) rows += "      item\n        Caption = 'Row number " + std::to_string(i) + "'\n      end\n";
  rows += "    >\n";
  gui::TForm* form = controls_test::ShowForm(
      app, Control("Rows", "TListView", 8, 8, 300, 150,
                   "    ViewStyle = vsReport\n    Columns = <\n      item\n        Caption = 'Name'\n"
                   "        Width = 200\n      end>\n" + rows));
  SetWindowPos(form->Handle(), HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
  auto* rowsView = dynamic_cast<gui::TListView*>(form->FindComponent("Rows"));
  // The whole form skinned: its frame is fitted around the client area
  // after the controls got their skinners, and every control repaints.
  form_test::TTestSkinnerHost host;
  host.Data = data_.get();
  ASSERT_TRUE(host.SkinWindow(form->Handle()));
  skin_test::DrainMessages();
  const HWND wnd = rowsView->Handle();
  RECT row{};
  row.left = LVIR_LABEL;
  ASSERT_TRUE(SendMessageW(wnd, LVM_GETITEMRECT, 0, reinterpret_cast<LPARAM>(&row)));
  // The first row's caption is on the screen.
  HDC dc = GetDC(wnd);
  const COLORREF back = GetPixel(dc, row.right - 1, row.bottom - 1);
  int ink = 0;
  for (int y = row.top; y < row.bottom; ++y)
    for (int x = row.left; x < row.right; ++x)
      if (GetPixel(dc, x, y) != back) ++ink;
  ReleaseDC(wnd, dc);
  EXPECT_GT(ink, 20);
  delete form;
}

LRESULT CALLBACK DialogProc(HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  return DefWindowProcW(wnd, msg, wParam, lParam);
}

TEST_F(ListViewTest, ADialogsSizeGripShowsTheSkinsGripAndItsPaintIsValidated) {
  HWND dialog = skin_test::CreateTestWindow(L"GripDialogTest", DialogProc, L"dialog", WS_POPUP | WS_VISIBLE, 50, 50,
                                            200, 150);
  HWND grip = CreateWindowExW(0, L"SCROLLBAR", L"", WS_CHILD | WS_VISIBLE | SBS_SIZEGRIP, 180, 130, 20, 20, dialog,
                              nullptr, GetModuleHandleW(nullptr), nullptr);
  HWND bar = CreateWindowExW(0, L"SCROLLBAR", L"", WS_CHILD | WS_VISIBLE | SBS_VERT, 0, 0, 17, 100, dialog, nullptr,
                             GetModuleHandleW(nullptr), nullptr);
  HWND list = CreateWindowExW(0, WC_LISTVIEWW, L"", WS_CHILD | WS_VISIBLE | LVS_REPORT, 20, 0, 150, 100, dialog,
                              nullptr, GetModuleHandleW(nullptr), nullptr);
  skin::TWinSkinForm formSkinner(nullptr, nullptr, data_.get(), nullptr);
  EXPECT_EQ(skin::SkinChildWindow(formSkinner, grip), "TSkinSizer");
  EXPECT_EQ(skin::SkinChildWindow(formSkinner, bar), "TSkinScControl");
  EXPECT_EQ(skin::SkinChildWindow(formSkinner, list), "TSkinListView");
  auto* listView = dynamic_cast<skin::TSkinListView*>(formSkinner.FindWindowSkinner(list));
  ASSERT_NE(listView, nullptr);
  EXPECT_NE(listView->Header, nullptr);

  InvalidateRect(grip, nullptr, TRUE);
  EXPECT_EQ(SendMessageW(grip, WM_ERASEBKGND, 0, 0), 1);
  UpdateWindow(grip);
  RECT pending{};
  EXPECT_FALSE(GetUpdateRect(grip, &pending, FALSE));  // the paint was validated
  auto* sizer = dynamic_cast<skin::TSkinControl*>(formSkinner.FindWindowSkinner(grip));
  ASSERT_NE(sizer, nullptr);
  // The face, and the skin's grip in the corner with its transparent part left on the face.
  gui::TBitmap b = Painted(*sizer);
  EXPECT_EQ(b.Pixel(0, 0), kFace);
  EXPECT_EQ(b.Pixel(10, 10), kFace);
  EXPECT_EQ(b.Pixel(12, 12), kFace);
  EXPECT_EQ(b.Pixel(13, 12), kGrip);
  EXPECT_EQ(b.Pixel(19, 19), kGrip);
  formSkinner.FreeControlSkinners();
  DestroyWindow(dialog);
}

}  // namespace
