// Multiple-document windows under the default skin, on real framework
// forms: the frame finds its client and skins each child the client makes,
// the client's traffic, the maximised child's three buttons at the far end
// of the skinned bar (by pixel) and what they do to the active child, the
// bar given back its own items when the last child goes, arranging while a
// child is maximised, and child menus merging into the skinned bar.
#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <string>
#include <utility>
#include <vector>

#include "gui/bitmap.h"
#include "gui/forms.h"
#include "gui/menus.h"
#include "gui/tests/form_fixture.h"
#include "gui/tests/test_forms.h"
#include "skin/data/skin_data.h"
#include "skin/data/skin_draw.h"
#include "skin/data/tests/test_skins.h"
#include "skin/form/skin_form.h"
#include "skin/manager/skin_manager.h"
#include "skin/manager/tests/engine_fixture.h"
#include "tests/support/message_sequence.h"

namespace {

using skin::ThreadSkinManager;
using skin::TWinSkinForm;
using skin::TWinSysButton;

using msgseq::optional;
using msgseq::sent;
using msgseq::TMessageLog;

void Drain() { skin_test::DrainMessages(); }

// Records the MDI messages the client receives, in front of everything
// else (the frame's skinner included). Queries for the active child are
// left out: the framework asks whenever it likes.
WNDPROC g_clientProc = nullptr;
LRESULT CALLBACK RecordClient(HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  if (msg >= WM_MDICREATE && msg <= WM_MDIREFRESHMENU && msg != WM_MDIGETACTIVE)
    if (TMessageLog* log = TMessageLog::Active()) log->Record(wnd, msg, wParam, lParam);
  return CallWindowProcW(g_clientProc, wnd, msg, wParam, lParam);
}

const char* kFrame = R"(object Frame: TForm
  Caption = 'Frame'
  FormStyle = fsMDIForm
  ClientWidth = 560
  ClientHeight = 380
  Menu = FrameMenu
  WindowMenu = Window1
  object FrameMenu: TMainMenu
    object File1: TMenuItem
      Caption = '&File'
      object New1: TMenuItem
        Caption = '&New'
      end
    end
    object Window1: TMenuItem
      Caption = '&Window'
      GroupIndex = 9
      object Tile1: TMenuItem
        Caption = '&Tile'
      end
    end
    object Tools1: TMenuItem
      Caption = '&Tools'
      GroupIndex = 9
      Visible = False
      object Options1: TMenuItem
        Caption = '&Options'
      end
    end
  end
end
)";

// An MDI child's form: its size, then what `rest` adds.
std::string ChildForm(const char* rest) {
  return std::string("object Doc: TForm\n  FormStyle = fsMDIChild\n  Position = poDefault\n"
                     "  ClientWidth = 200\n  ClientHeight = 120\n") + rest + "end\n";
}

const std::string kPlainChild = ChildForm("");

const std::string kEditChild = ChildForm(R"(  Menu = DocMenu
  object DocMenu: TMainMenu
    object Edit1: TMenuItem
      Caption = '&Edit'
      GroupIndex = 1
      object Copy1: TMenuItem
        Caption = '&Copy'
      end
    end
  end
)");

class SkinMdiTest : public engine_test::DefaultSkinTest {
 protected:
  void SetUp() override {
    DefaultSkinTest::SetUp();
    app_ = std::make_unique<gui::TApplication>();
    frame_ = new gui::TForm(app_.get());
    frame_->InitFromText(kFrame);
    app_->SetMainForm(frame_);
    frame_->Show();
    SetForegroundWindow(frame_->Handle());
    Drain();
    ThreadSkinManager()->WindowActivated(frame_->Handle());  // as the hook sees it activated
    Drain();
    skinner_ = ThreadSkinManager()->FindFormSkinner(frame_->Handle());
    ASSERT_NE(skinner_, nullptr);
  }
  void TearDown() override {
    app_.reset();
    Drain();
    DefaultSkinTest::TearDown();
  }

  gui::TForm* NewChild(const wchar_t* caption, const std::string& text = kPlainChild) {
    auto* child = new gui::TForm(frame_);
    child->SetCaption(caption);
    child->InitFromText(text);
    Drain();
    return child;
  }
  HWND Client() const { return frame_->ClientHandle(); }
  HWND ActiveChild() const { return reinterpret_cast<HWND>(SendMessageW(Client(), WM_MDIGETACTIVE, 0, 0)); }

  std::vector<std::wstring> BarCaptions() const {
    std::vector<std::wstring> captions;
    for (const auto& item : skinner_->MenuBar()->Items) captions.push_back(item->Caption);
    return captions;
  }

  // The frame painted off screen (which lays out the bar and its buttons).
  gui::TBitmap PaintFrame() {
    RECT r{};
    GetWindowRect(skinner_->Handle(), &r);
    gui::TBitmap picture(r.right - r.left, r.bottom - r.top);
    skinner_->PaintNonClient(picture.DC());
    return picture;
  }

  // The three maximised-child buttons, minimise, restore, close.
  std::vector<TWinSysButton*> MdiButtons() const {
    std::vector<TWinSysButton*> buttons;
    for (const auto& b : skinner_->SysButtons())
      if (b->Element->Visibility == skin::bvMdiChildMaximized) buttons.push_back(b.get());
    return buttons;
  }

  // A real non-client click in the middle of the button.
  void Click(const TWinSysButton& button) {
    RECT window{};
    GetWindowRect(skinner_->Handle(), &window);
    const RECT r = skinner_->PlaceOf(button).Bounds;
    const LPARAM at = MAKELPARAM(window.left + (r.left + r.right) / 2, window.top + (r.top + r.bottom) / 2);
    SendMessageW(skinner_->Handle(), WM_NCLBUTTONDOWN, HTCAPTION, at);
    SendMessageW(skinner_->Handle(), WM_NCLBUTTONUP, HTCAPTION, at);
    Drain();
  }

  // True when the button's frame 1 is what the picture shows at its place.
  bool ShowsButton(gui::TBitmap& picture, const TWinSysButton& button) const {
    return ShowsButtonAt(picture, skinner_->PlaceOf(button).Bounds, *button.Element);
  }
  static bool ShowsButtonAt(gui::TBitmap& picture, const RECT& r, skin::TDataSkinSysButton& e) {
    const int w = r.right - r.left, h = r.bottom - r.top;
    if (w <= 0 || h <= 0) return false;
    gui::TBitmap expected(w, h);
    BitBlt(expected.DC(), 0, 0, w, h, picture.DC(), r.left, r.top, SRCCOPY);
    skin::DrawFrame(expected.DC(), RECT{0, 0, w, h}, e.Image, true, e.FrameCount > 0 ? e.FrameCount : 1, 1);
    // Drawing the button again over what the picture shows changes nothing
    // only where the button already is.
    for (int y = 0; y < h; ++y)
      for (int x = 0; x < w; ++x)
        if (expected.Pixel(x, y) != picture.Pixel(r.left + x, r.top + y)) return false;
    return true;
  }

  std::unique_ptr<gui::TApplication> app_;
  gui::TForm* frame_ = nullptr;
  TWinSkinForm* skinner_ = nullptr;
};

}  // namespace

TEST_F(SkinMdiTest, TheFrameFindsItsClientAndEachNewChildIsSkinned) {
  EXPECT_EQ(skinner_->MdiKind(), skin::mkFrame);
  EXPECT_EQ(skinner_->MdiClient(), Client());
  EXPECT_EQ(ThreadSkinManager()->MdiClientWindow(), Client());
  EXPECT_TRUE(data_->MenuUpdate());

  TMessageLog log;
  g_clientProc = reinterpret_cast<WNDPROC>(
      SetWindowLongPtrW(Client(), GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&RecordClient)));
  log.Flush();
  gui::TForm* one = NewChild(L"One");
  SetWindowLongPtrW(Client(), GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(g_clientProc));
  // The client sees the child made (the system may refresh the window menu
  // while it makes it), activated, the bar handed over and the window list
  // refreshed; the frame's watcher skins the child on the last.
  OK_SEQUENCE(log,
              (std::vector<msgseq::TMsgEntry>{{WM_MDICREATE, sent},
                                               {WM_MDIREFRESHMENU, sent | optional},
                                               {WM_MDIACTIVATE, sent},
                                               {WM_MDISETMENU, sent | optional},
                                               {WM_MDIREFRESHMENU, sent}}),
              "a child made through the client");
  TWinSkinForm* child = ThreadSkinManager()->FindFormSkinner(one->Handle());
  ASSERT_NE(child, nullptr);
  EXPECT_EQ(child->MdiKind(), skin::mkChild);
  EXPECT_EQ(child->Form(), one);
  EXPECT_EQ(skinner_->NewMdiChild(), nullptr);
  EXPECT_EQ(ThreadSkinManager()->CountMdiChildren(), 1);
  // While children exist the frame's bar follows merging through the
  // client; the skin data's switch, which every form reads, stays as it is.
  EXPECT_TRUE(skinner_->MergingThroughClient());
  EXPECT_TRUE(data_->MenuUpdate());
  // The client shows no scroll bars under the skinned frame.
  SetWindowPos(Client(), nullptr, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_FRAMECHANGED);
  EXPECT_EQ(GetWindowLongPtrW(Client(), GWL_STYLE) & (WS_VSCROLL | WS_HSCROLL), 0);

  // Skin off gives the client its own procedure back.
  const auto procWhileSkinned = GetWindowLongPtrW(Client(), GWLP_WNDPROC);
  ThreadSkinManager()->CarryOut({skin::saSkinOff, data_.get()});
  Drain();
  EXPECT_NE(GetWindowLongPtrW(Client(), GWLP_WNDPROC), procWhileSkinned);
  EXPECT_TRUE(data_->MenuUpdate());
}

TEST_F(SkinMdiTest, AMaximisedChildsButtonsSitAtTheBarsRightEndUntilItIsRestored) {
  gui::TForm* one = NewChild(L"One");
  ASSERT_NE(ThreadSkinManager()->FindFormSkinner(one->Handle()), nullptr);
  PaintFrame();
  EXPECT_FALSE(ThreadSkinManager()->IsMdiMaximized());
  for (TWinSysButton* button : MdiButtons()) EXPECT_FALSE(skinner_->PlaceOf(*button).Visible);

  SendMessageW(Client(), WM_MDIMAXIMIZE, reinterpret_cast<WPARAM>(one->Handle()), 0);
  Drain();
  ASSERT_TRUE(skinner_->MdiChildMaximized());
  gui::TBitmap picture = PaintFrame();
  EXPECT_TRUE(ThreadSkinManager()->IsMdiMaximized());
  // The skinned caption carries the title the system gives the frame.
  EXPECT_EQ(skinner_->CaptionText(), L"Frame - [One]");
  const std::vector<TWinSysButton*> buttons = MdiButtons();
  ASSERT_EQ(buttons.size(), 3u);
  const RECT band = skinner_->MenuBar()->BarRect();
  RECT window{};
  GetWindowRect(skinner_->Handle(), &window);
  int left = band.right;
  for (TWinSysButton* button : buttons) {
    ASSERT_TRUE(skinner_->PlaceOf(*button).Visible);
    EXPECT_TRUE(ShowsButton(picture, *button)) << "action " << button->Element->Action;
    // In the bar band, in the bar's right half, minimise left of restore
    // left of close.
    EXPECT_GE(skinner_->PlaceOf(*button).Bounds.top, band.top);
    EXPECT_LE(skinner_->PlaceOf(*button).Bounds.bottom, band.bottom);
    EXPECT_GT(skinner_->PlaceOf(*button).Bounds.left, (band.left + band.right) / 2);
    EXPECT_LE(skinner_->PlaceOf(*button).Bounds.right, band.right);
    if (button != buttons.front()) {
      EXPECT_GT(skinner_->PlaceOf(*button).Bounds.left, left);
    }
    left = skinner_->PlaceOf(*button).Bounds.left;
  }
  // The maximised child keeps the system's frame.
  EXPECT_NE(GetWindowLongPtrW(one->Handle(), GWL_STYLE) & WS_CAPTION, 0);

  // A frame too narrow for its bar and the buttons: the items wrap onto a
  // second row rather than run under the buttons.
  RECT wide{};
  GetWindowRect(frame_->Handle(), &wide);
  SetWindowPos(frame_->Handle(), nullptr, 0, 0, 150, wide.bottom - wide.top, SWP_NOMOVE | SWP_NOZORDER);
  Drain();
  PaintFrame();
  EXPECT_GE(skinner_->MenuHeight(), 2 * GetSystemMetrics(SM_CYMENU));
  for (TWinSysButton* button : MdiButtons())  // in the first row
    EXPECT_LE(skinner_->PlaceOf(*button).Bounds.bottom, skinner_->MenuBar()->BarRect().top + GetSystemMetrics(SM_CYMENU));
  for (const auto& item : skinner_->MenuBar()->Items)
    for (TWinSysButton* button : MdiButtons()) {
      RECT both{};
      const RECT itemRect = skinner_->MenuBar()->ItemRect(*item), buttonRect = skinner_->PlaceOf(*button).Bounds;
      EXPECT_FALSE(IntersectRect(&both, &itemRect, &buttonRect)) << "under the buttons: " << item->Index();
    }
  SetWindowPos(frame_->Handle(), nullptr, 0, 0, wide.right - wide.left, wide.bottom - wide.top,
               SWP_NOMOVE | SWP_NOZORDER);
  Drain();
  picture = PaintFrame();

  const RECT restoreRect = skinner_->PlaceOf(*buttons[1]).Bounds;
  skin::TDataSkinSysButton& restoreElement = *buttons[1]->Element;
  SendMessageW(Client(), WM_MDIRESTORE, reinterpret_cast<WPARAM>(one->Handle()), 0);
  Drain();
  picture = PaintFrame();
  for (TWinSysButton* button : MdiButtons()) EXPECT_FALSE(skinner_->PlaceOf(*button).Visible);
  EXPECT_FALSE(ShowsButtonAt(picture, restoreRect, restoreElement));
  EXPECT_EQ(skinner_->CaptionText(), L"Frame");
}

TEST_F(SkinMdiTest, TheBarsButtonsMinimiseRestoreAndCloseTheActiveChild) {
  gui::TForm* one = NewChild(L"One");
  gui::TForm* two = NewChild(L"Two");
  HWND twoWnd = two->Handle();
  ASSERT_EQ(ActiveChild(), twoWnd);
  const std::vector<std::wstring> ownBar = {L"&File", L"&Window"};

  SendMessageW(Client(), WM_MDIMAXIMIZE, reinterpret_cast<WPARAM>(twoWnd), 0);
  Drain();
  PaintFrame();
  std::vector<TWinSysButton*> buttons = MdiButtons();
  ASSERT_EQ(buttons.size(), 3u);
  Click(*buttons[1]);  // restore
  EXPECT_FALSE(IsZoomed(twoWnd));
  EXPECT_FALSE(ThreadSkinManager()->IsMdiMaximized());

  SendMessageW(Client(), WM_MDIMAXIMIZE, reinterpret_cast<WPARAM>(twoWnd), 0);
  Drain();
  PaintFrame();
  Click(*MdiButtons()[0]);  // minimise
  EXPECT_TRUE(IsIconic(twoWnd));

  // Close the other child through the bar while it is maximised, then the
  // minimised one: the last one gone gives the bar the frame's own items.
  SendMessageW(Client(), WM_MDIMAXIMIZE, reinterpret_cast<WPARAM>(one->Handle()), 0);
  Drain();
  PaintFrame();
  ASSERT_TRUE(skinner_->PlaceOf(*MdiButtons()[2]).Visible);
  Click(*MdiButtons()[2]);  // close
  EXPECT_EQ(ThreadSkinManager()->CountMdiChildren(), 1);
  EXPECT_TRUE(skinner_->MergingThroughClient());
  SendMessageW(Client(), WM_MDIMAXIMIZE, reinterpret_cast<WPARAM>(twoWnd), 0);
  Drain();
  PaintFrame();
  ASSERT_EQ(ActiveChild(), twoWnd);
  Click(*MdiButtons()[2]);
  EXPECT_FALSE(IsWindow(twoWnd));
  EXPECT_EQ(ActiveChild(), nullptr);
  EXPECT_FALSE(ThreadSkinManager()->IsMdiMaximized());
  EXPECT_FALSE(skinner_->MergingThroughClient());
  EXPECT_EQ(BarCaptions(), ownBar);
  EXPECT_EQ(GetMenu(frame_->Handle()), nullptr);
  PaintFrame();
  for (TWinSysButton* button : MdiButtons()) EXPECT_FALSE(skinner_->PlaceOf(*button).Visible);
}

TEST_F(SkinMdiTest, TilingOrCascadingClearsTheMaximisedMode) {
  gui::TForm* one = NewChild(L"One");
  NewChild(L"Two");
  for (const bool tile : {true, false}) {
    SendMessageW(Client(), WM_MDIMAXIMIZE, reinterpret_cast<WPARAM>(one->Handle()), 0);
    Drain();
    PaintFrame();
    ASSERT_TRUE(ThreadSkinManager()->IsMdiMaximized());
    if (tile) {
      frame_->Tile();
    } else {
      frame_->Cascade();
    }
    Drain();
    EXPECT_FALSE(ThreadSkinManager()->IsMdiMaximized()) << (tile ? "tile" : "cascade");
    EXPECT_FALSE(IsZoomed(one->Handle()));
  }
}

TEST_F(SkinMdiTest, AChildsMenuJoinsTheSkinnedBarWhileActiveAndLeavesWithIt) {
  gui::TForm* edit = NewChild(L"Edit", kEditChild);
  EXPECT_EQ(BarCaptions(), (std::vector<std::wstring>{L"&File", L"&Edit", L"&Window"}));
  // The frame's bar stays off the window while the skin draws it.
  EXPECT_EQ(GetMenu(frame_->Handle()), nullptr);

  gui::TForm* plain = NewChild(L"Plain");
  EXPECT_EQ(BarCaptions(), (std::vector<std::wstring>{L"&File", L"&Window"}));
  SendMessageW(Client(), WM_MDIACTIVATE, reinterpret_cast<WPARAM>(edit->Handle()), 0);
  Drain();
  EXPECT_EQ(BarCaptions(), (std::vector<std::wstring>{L"&File", L"&Edit", L"&Window"}));

  // The frame's own top-level items change while children are open.
  auto* file = dynamic_cast<gui::TMenuItem*>(frame_->FindComponent("File1"));
  ASSERT_NE(file, nullptr);
  file->SetCaption(L"&Document");
  file->SetEnabled(false);
  Drain();
  EXPECT_EQ(BarCaptions(), (std::vector<std::wstring>{L"&Document", L"&Edit", L"&Window"}));
  EXPECT_FALSE(skinner_->MenuBar()->Items[0]->Enabled);
  file->SetCaption(L"&File");
  file->SetEnabled(true);
  Drain();

  // Switched off while a child is maximised, the frame gets the system's
  // bar as the system would have it (the child's icon and buttons in it);
  // skinned again, those are not bar items (the skin draws buttons of its
  // own); the child restored under the skin and the skin off, nothing of
  // the child is left in the frame's menu.
  auto run = [this](skin::TSkinAction action) {
    ThreadSkinManager()->CarryOut({action, data_.get()});
    Drain();
  };
  const HMENU frameMenu = frame_->Menu()->Handle();
  SendMessageW(Client(), WM_MDIMAXIMIZE, reinterpret_cast<WPARAM>(edit->Handle()), 0);
  Drain();
  run(skin::saSkinOff);
  EXPECT_EQ(GetMenu(frame_->Handle()), frameMenu);
  EXPECT_EQ(GetMenuItemCount(frameMenu), 3 + 4);
  run(skin::saSkinOn);
  skinner_ = ThreadSkinManager()->FindFormSkinner(frame_->Handle());
  ASSERT_NE(skinner_, nullptr);
  EXPECT_EQ(BarCaptions(), (std::vector<std::wstring>{L"&File", L"&Edit", L"&Window"}));
  SendMessageW(Client(), WM_MDIRESTORE, reinterpret_cast<WPARAM>(edit->Handle()), 0);
  Drain();
  run(skin::saSkinOff);
  EXPECT_EQ(GetMenu(frame_->Handle()), frameMenu);
  EXPECT_EQ(GetMenuItemCount(frameMenu), 3);
  run(skin::saSkinOn);
  skinner_ = ThreadSkinManager()->FindFormSkinner(frame_->Handle());
  ASSERT_NE(skinner_, nullptr);

  HWND editWnd = edit->Handle();
  edit->Close();
  Drain();
  EXPECT_FALSE(IsWindow(editWnd));
  EXPECT_EQ(BarCaptions(), (std::vector<std::wstring>{L"&File", L"&Window"}));
  plain->Close();
  Drain();
  EXPECT_EQ(BarCaptions(), (std::vector<std::wstring>{L"&File", L"&Window"}));
  EXPECT_TRUE(data_->MenuUpdate());
}

TEST_F(SkinMdiTest, TheChildsOwnMaximiseButtonGivesItTheWholeClientArea) {
  NewChild(L"Behind");
  gui::TForm* one = NewChild(L"One");
  TWinSkinForm* child = ThreadSkinManager()->FindFormSkinner(one->Handle());
  ASSERT_NE(child, nullptr);
  TWinSysButton* maximise = nullptr;
  for (const auto& b : child->SysButtons())
    if (child->PlaceOf(*b).Visible && b->Element->Action == skin::caMaximize) maximise = b.get();
  ASSERT_NE(maximise, nullptr);
  RECT window{};
  GetWindowRect(child->Handle(), &window);
  const RECT r = child->PlaceOf(*maximise).Bounds;
  const LPARAM at = MAKELPARAM(window.left + (r.left + r.right) / 2, window.top + (r.top + r.bottom) / 2);
  SendMessageW(child->Handle(), WM_NCLBUTTONDOWN, HTMAXBUTTON, at);
  SendMessageW(child->Handle(), WM_NCLBUTTONUP, HTMAXBUTTON, at);
  Drain();
  PaintFrame();
  Drain();
  EXPECT_TRUE(IsZoomed(one->Handle()));
  EXPECT_TRUE(skinner_->MdiChildMaximized());
  // The child's client area is the MDI client's: its caption (the system's,
  // by its style) and frame lie outside, where the system puts a maximised
  // child's, so that nothing of them shows under the frame's bar.
  const auto fillsTheClient = [&](const char* when) {
    EXPECT_TRUE(GetWindowLongPtrW(one->Handle(), GWL_STYLE) & WS_CAPTION) << when;
    RECT area{}, client{};
    GetClientRect(Client(), &area);
    GetClientRect(one->Handle(), &client);
    MapWindowPoints(one->Handle(), Client(), reinterpret_cast<POINT*>(&client), 2);
    EXPECT_TRUE(EqualRect(&client, &area)) << when << ": " << client.left << "," << client.top << " "
                                           << client.right << "x" << client.bottom << " in " << area.right << "x"
                                           << area.bottom;
    // On the screen: the client's top rows are the child's client, as its
    // middle is, with no band of a caption.
    RedrawWindow(Client(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_UPDATENOW | RDW_ALLCHILDREN);
    Drain();
    const gui::TBitmap shown = gui_test::WholeWindowShot(Client());
    RECT outer{};
    GetWindowRect(Client(), &outer);
    POINT origin{0, 0};  // the client area's corner in the shot
    ClientToScreen(Client(), &origin);
    const int x = origin.x - outer.left + area.right / 2, top = origin.y - outer.top;
    const COLORREF face = shown.Pixel(x, top + area.bottom / 2);
    for (int y = 0; y < 24; y += 4) EXPECT_EQ(shown.Pixel(x, top + y), face) << when << " at row " << y;
  };
  fillsTheClient("maximised");
  // Another skin (other frame thicknesses) while it is maximised.
  data_->SetSkinFile(skin_test::DarkSkinPath());
  ASSERT_EQ(data_->SkinName(), "Nightfall");
  ThreadSkinManager()->CarryOut(ThreadSkinManager()->PendingRequest());
  Drain();
  PaintFrame();
  Drain();
  EXPECT_EQ(ActiveChild(), one->Handle());
  EXPECT_TRUE(IsZoomed(one->Handle()));
  fillsTheClient("after a skin change");
}

// A child made while another is maximised: the shared maximised mode
// follows what the client really shows (Wine restores the maximised child
// and makes the new one normal; Windows maximises the new one), so each
// child in the normal state has its skinned frame, not the system's caption.
TEST_F(SkinMdiTest, AChildMadeWhileAnotherIsMaximisedGetsTheFrameItsStateGives) {
  gui::TForm* one = NewChild(L"One");
  SendMessageW(Client(), WM_MDIMAXIMIZE, reinterpret_cast<WPARAM>(one->Handle()), 0);
  Drain();
  PaintFrame();
  Drain();
  ASSERT_TRUE(ThreadSkinManager()->IsMdiMaximized());
  gui::TForm* two = NewChild(L"Two");
  PaintFrame();
  Drain();
  const bool maximised = IsZoomed(ActiveChild()) != FALSE;
  EXPECT_EQ(ThreadSkinManager()->IsMdiMaximized(), maximised);
  for (gui::TForm* child : {one, two}) {
    const bool captioned = (GetWindowLongPtrW(child->Handle(), GWL_STYLE) & WS_CAPTION) == WS_CAPTION;
    EXPECT_EQ(captioned, maximised || IsIconic(child->Handle())) << "zoomed " << IsZoomed(child->Handle());
  }
}

// The switch that makes skinned bars follow menu changes belongs to the skin
// data, shared by every form: a frame's children, even a frame destroyed
// with its children open, leave it to the other forms.
TEST_F(SkinMdiTest, AnotherFormsBarFollowsItsMenuWhileTheFrameHasChildrenAndAfterTheFrameGoes) {
  auto* other = new gui::TForm(app_.get());
  auto* menu = new gui::TMainMenu(other);
  menu->Items().Add(L"&One");
  other->SetMenu(menu);
  other->HandleNeeded();
  other->Show();
  SetForegroundWindow(other->Handle());
  Drain();
  if (!ThreadSkinManager()->FindFormSkinner(other->Handle())) ThreadSkinManager()->SkinWindow(other->Handle());
  Drain();
  TWinSkinForm* skinned = ThreadSkinManager()->FindFormSkinner(other->Handle());
  ASSERT_NE(skinned, nullptr);
  ASSERT_NE(skinned->MenuBar(), nullptr);

  NewChild(L"One");
  menu->Items().Add(L"&Two");
  Drain();
  EXPECT_EQ(skinned->MenuBar()->Items.size(), 2u);

  delete std::exchange(frame_, nullptr);
  Drain();
  EXPECT_TRUE(data_->MenuUpdate());
  menu->Items().Add(L"&Three");
  Drain();
  EXPECT_EQ(skinned->MenuBar()->Items.size(), 3u);
}
