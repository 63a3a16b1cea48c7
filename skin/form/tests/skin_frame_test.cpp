// The skinned frame on real windows with the project's default skin: what is
// painted where (pixels), the region, the caption buttons' layout and their
// behaviour under real non-client messages.
#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <memory>
#include <utility>
#include <vector>

#include "gui/bitmap.h"
#include "gui/graphics.h"
#include "gui/handles.h"
#include "gui/menus.h"
#include "skin/data/skin_data.h"
#include "skin/data/skin_draw.h"
#include "skin/data/tests/pixel_checks.h"
#include "skin/data/tests/test_skins.h"
#include "skin/form/menu_item_draw.h"
#include "skin/form/skin_form.h"
#include "skin/form/tests/form_fixture.h"

namespace {

using skin::TNCObject;
using skin::TSkinData;
using skin::TWinSkinForm;
using skin::TWinSysButton;

// Messages the window's own procedure received, with their wParam.
std::vector<std::pair<UINT, WPARAM>> g_seen;

LRESULT CALLBACK OwnProc(HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  g_seen.emplace_back(msg, wParam);
  if (msg == WM_CLOSE) return 0;  // recorded, the window stays
  return DefWindowProcW(wnd, msg, wParam, lParam);
}

bool Seen(UINT msg, WPARAM wParam) {
  return std::find(g_seen.begin(), g_seen.end(), std::make_pair(msg, wParam)) != g_seen.end();
}
bool Seen(UINT msg) {
  return std::any_of(g_seen.begin(), g_seen.end(), [msg](const auto& m) { return m.first == msg; });
}

void Drain() { skin_test::DrainMessages(); }

// Closes a menu tracked modally, from its own message loop.
void CALLBACK EndMenuLater(HWND, UINT, UINT_PTR id, DWORD) {
  KillTimer(nullptr, id);
  EndMenu();
}

// Pumps messages for a while, so window timers tick, keeping the window
// active even if another program on the test desktop takes the focus.
void PumpActiveFor(HWND wnd, DWORD milliseconds) {
  const DWORD start = GetTickCount();
  while (GetTickCount() - start < milliseconds) {
    if (GetForegroundWindow() != wnd) SendMessageW(wnd, WM_NCACTIVATE, TRUE, 0);
    Drain();
    Sleep(10);
  }
}

class SkinFrameTest : public form_test::DefaultSkinTest {
 protected:
  void SetUp() override {
    DefaultSkinTest::SetUp();
    g_seen.clear();
  }
  void TearDown() override {
    for (HWND wnd : windows_) DestroyWindow(wnd);
    DefaultSkinTest::TearDown();
  }

  // A window of the given client size, skinned and running.
  TWinSkinForm* Skinned(DWORD style, int clientWidth = 290, int clientHeight = 310) {
    RECT r{0, 0, clientWidth, clientHeight};
    AdjustWindowRect(&r, style, FALSE);
    HWND wnd = skin_test::CreateTestWindow(L"SkinFrameTestWindow", &OwnProc, L"Settings", style | WS_VISIBLE, 60, 60,
                                           r.right - r.left, r.bottom - r.top);
    windows_.push_back(wnd);
    SetForegroundWindow(wnd);
    Drain();
    if (!host_.FindFormSkinner(wnd)) host_.SkinWindow(wnd);
    Drain();  // SkinMsgAttached fits the frame
    // Drawn active whether or not the test desktop gave it the focus.
    SendMessageW(wnd, WM_NCACTIVATE, TRUE, 0);
    g_seen.clear();
    return host_.FindFormSkinner(wnd);
  }

  static gui::TBitmap Painted(TWinSkinForm& form) { return form_test::PaintedFrame(form); }

  static TWinSysButton* ButtonWithAction(TWinSkinForm& form, int action) {
    for (auto& button : form.SysButtons())
      if (button->Element->Action == action && form.PlaceOf(*button).Visible) return button.get();
    return nullptr;
  }

  // The screen point at the middle of a caption button.
  static LPARAM ScreenPointOf(TWinSkinForm& form, const TWinSysButton& button) {
    RECT window{};
    GetWindowRect(form.Handle(), &window);
    const RECT b = form.PlaceOf(button).Bounds;
    return MAKELPARAM(window.left + (b.left + b.right) / 2, window.top + (b.top + b.bottom) / 2);
  }

  std::vector<HWND> windows_;
};

// The piece's pixels exactly as the nine-slice rendering gives them.
::testing::AssertionResult PieceAt(gui::TBitmap& painted, skin::TDataSkinBorder& piece, const RECT& at,
                                   bool vertical, int frame) {
  gui::TBitmap expected = skin::RenderNineSlice(at, piece.Image, piece.Margins(), vertical, piece.TilesCentre(),
                                                piece.FrameCount, frame);
  gui::TBitmap cut(at.right - at.left, at.bottom - at.top);
  BitBlt(cut.DC(), 0, 0, cut.Width(), cut.Height(), painted.DC(), at.left, at.top, SRCCOPY);
  return skin::testing::PixelsAre(cut, [&expected](int x, int y) { return expected.Pixel(x, y); });
}

TEST_F(SkinFrameTest, FrameGeometryPiecesAndRegion) {
  TWinSkinForm* form = Skinned(WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX);
  ASSERT_NE(form, nullptr);
  skin::TSkinContent& skin = data_->Skin();
  ASSERT_EQ(form->Frame().Top, skin.BorderTop.Image.Height() / skin.BorderTop.FrameCount);
  ASSERT_GT(form->Frame().Left, 0);

  // The client area keeps its size inside the skin frame.
  RECT client{}, window{};
  GetClientRect(form->Handle(), &client);
  GetWindowRect(form->Handle(), &window);
  EXPECT_EQ(client.right, 290);
  EXPECT_EQ(client.bottom, 310);
  const int w = window.right - window.left, h = window.bottom - window.top;
  EXPECT_EQ(w, 290 + form->Frame().Left + form->Frame().Right);
  EXPECT_EQ(h, 310 + form->Frame().Top + form->Frame().Bottom);

  // WM_NCCALCSIZE with wParam 0 leaves the rectangle as the system gives it.
  RECT asked{10, 10, 200, 200};
  EXPECT_EQ(SendMessageW(form->Handle(), WM_NCCALCSIZE, 0, reinterpret_cast<LPARAM>(&asked)), 0);

  for (const bool active : {true, false}) {
    SCOPED_TRACE(active ? "active" : "inactive");
    SendMessageW(form->Handle(), WM_NCACTIVATE, active, 0);
    EXPECT_EQ(form->Active(), active);
    gui::TBitmap painted = Painted(*form);
    const int frame = active ? 1 : 2;
    EXPECT_TRUE(PieceAt(painted, skin.BorderLeft, RECT{0, 0, form->Frame().Left, h}, false, frame));
    EXPECT_TRUE(PieceAt(painted, skin.BorderRight, RECT{w - form->Frame().Right, 0, w, h}, false, frame));
    EXPECT_TRUE(PieceAt(painted, skin.BorderBottom,
                        RECT{form->Frame().Left, h - form->Frame().Bottom, w - form->Frame().Right, h}, true, frame));
    // Between the caption text and the buttons the band is the top piece.
    gui::TBitmap top = skin::RenderNineSlice(RECT{form->Frame().Left, 0, w - form->Frame().Right, form->Frame().Top},
                                             skin.BorderTop.Image, skin.BorderTop.Margins(), true,
                                             skin.BorderTop.TilesCentre(), skin.BorderTop.FrameCount, frame);
    // Where the painted frame put the caption and the buttons.
    const skin::TFrameLayout layout = form->LayoutSysButtons();
    const RECT& caption = layout.CaptionText;
    const int x = caption.right + 2;
    ASSERT_LT(x, layout.RightButtonsLeft);
    EXPECT_EQ(painted.Pixel(x, 1), top.Pixel(x - form->Frame().Left, 1));

    // The caption: after the text shift, in the title colour of the state.
    const skin::TDataSkinTitle& title = skin.TitleElement;
    EXPECT_EQ(caption.left, form->Frame().Left + title.LeftWidth);
    const COLORREF ink = gui::ColorToRGB(active ? skin.Colours.TitleTextActive : skin.Colours.TitleTextNoActive);
    int inked = 0;
    for (int py = caption.top; py < caption.bottom; ++py)
      for (int px = caption.left; px < caption.right; ++px) inked += painted.Pixel(px, py) == ink;
    EXPECT_GT(inked, 20);

    // Caption buttons: strips of 4 frames draw frame 4 while inactive.
    TWinSysButton* close = ButtonWithAction(*form, 0);
    ASSERT_NE(close, nullptr);
    ASSERT_EQ(close->Element->FrameCount, 4);
    const RECT closeRect = form->PlaceOf(*close).Bounds;
    EXPECT_EQ(closeRect.left, w - close->Element->XCoord);
    gui::TBitmap& strip = close->Element->Image;
    const int bw = strip.Width() / 4, shown = active ? 0 : 3;
    int compared = 0, wrong = 0;
    for (int py = 0; py < strip.Height(); ++py)
      for (int px = 0; px < bw; ++px) {
        const COLORREF want = strip.Pixel(shown * bw + px, py);
        if (want == skin::TransparentColour) continue;
        ++compared;
        wrong += painted.Pixel(closeRect.left + px, closeRect.top + py) != want;
      }
    EXPECT_GT(compared, 0);
    EXPECT_EQ(wrong, 0);
  }

  // Rounded corners: magenta corner pixels of the side pieces are cut out.
  ASSERT_EQ(skin.BorderLeft.Image.Pixel(0, 0), skin::TransparentColour);
  gui::RegionHandle region(CreateRectRgn(0, 0, 0, 0));
  ASSERT_NE(GetWindowRgn(form->Handle(), region.get()), ERROR);
  EXPECT_FALSE(PtInRegion(region.get(), 0, 0));
  EXPECT_FALSE(PtInRegion(region.get(), w - 1, 0));
  EXPECT_TRUE(PtInRegion(region.get(), w / 2, h / 2));
  EXPECT_TRUE(PtInRegion(region.get(), w / 2, 1));
  EXPECT_TRUE(form->RegionSet());
}

// How many pixels of the rectangle have the colour.
int ColourCount(gui::TBitmap& b, const RECT& r, COLORREF colour) {
  int n = 0;
  for (int y = std::max(0L, r.top); y < std::min<LONG>(b.Height(), r.bottom); ++y)
    for (int x = std::max(0L, r.left); x < std::min<LONG>(b.Width(), r.right); ++x) n += b.Pixel(x, y) == colour;
  return n;
}

// A caption wider than its room shows as much of itself as fits, then the
// ellipsis, as the system's does; the blanks before it give way first. An
// overlapped window and a popup, each narrow.
TEST_F(SkinFrameTest, ANarrowWindowShowsTheStartOfItsCaption) {
  const COLORREF ink = gui::ColorToRGB(data_->Skin().Colours.TitleTextActive);
  for (DWORD style : {DWORD{WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX}, DWORD{WS_POPUP | WS_CAPTION | WS_SYSMENU}}) {
    TWinSkinForm* form = Skinned(style, 170, 60);
    ASSERT_NE(form, nullptr);
    SetWindowTextW(form->Handle(), L"Minesweeper");
    gui::TBitmap painted = Painted(*form);
    const RECT text = LayoutFrame(form->FrameInput()).CaptionText;
    ASSERT_GT(text.right, text.left);
    // The title alone, as DrawText fits it into that room.
    gui::TBitmap expected(text.right - text.left, text.bottom - text.top);
    RECT room{0, 0, expected.Width(), expected.Height()};
    gui::BrushHandle black(CreateSolidBrush(RGB(0, 0, 0)));
    FillRect(expected.DC(), &room, black.get());
    gui::SelectGuard font(expected.DC(), form->CaptionFont());
    SetBkMode(expected.DC(), TRANSPARENT);
    SetTextColor(expected.DC(), ink);
    DrawTextW(expected.DC(), L"Minesweeper", -1, &room, DT_SINGLELINE | DT_END_ELLIPSIS);
    const int shown = ColourCount(painted, text, ink);
    EXPECT_EQ(shown, ColourCount(expected, room, ink)) << "style " << std::hex << style;
    // More than the ellipsis alone.
    FillRect(expected.DC(), &room, black.get());
    DrawTextW(expected.DC(), L"...", -1, &room, DT_SINGLELINE);
    EXPECT_GT(shown, ColourCount(expected, room, ink)) << "style " << std::hex << style;
  }
}

TEST_F(SkinFrameTest, ButtonLayoutAndVisibility) {
  // Align 1 counts from the right edge: XCoord 34 on a 400-pixel window is x 366.
  TWinSkinForm* form = Skinned(WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU, 400 - 8);
  ASSERT_NE(form, nullptr);
  RECT window{};
  GetWindowRect(form->Handle(), &window);
  ASSERT_EQ(window.right - window.left, 400);
  form->PaintNonClient();
  TWinSysButton* close = ButtonWithAction(*form, 0);
  ASSERT_NE(close, nullptr);
  ASSERT_EQ(close->Element->XCoord, 34);
  EXPECT_EQ(form->PlaceOf(*close).Bounds.left, 366);
  EXPECT_EQ(form->LayoutSysButtons().RightButtonsLeft, 366);
  // No minimise or maximise box: those buttons are hidden whatever the skin says.
  EXPECT_EQ(ButtonWithAction(*form, 1), nullptr);
  EXPECT_EQ(ButtonWithAction(*form, 2), nullptr);
  // The icon button at its fixed place, one frame of its picture wide.
  TWinSysButton* icon = ButtonWithAction(*form, 3);
  ASSERT_NE(icon, nullptr);
  const RECT iconRect = form->PlaceOf(*icon).Bounds;
  EXPECT_EQ(iconRect.left, icon->Element->XCoord);
  EXPECT_EQ(iconRect.right - iconRect.left, icon->Element->FrameWidth());

  // Without the system-menu style there is no close button.
  TWinSkinForm* bare = Skinned(WS_POPUP | WS_CAPTION);
  ASSERT_NE(bare, nullptr);
  bare->ChangeWindowButtons(bare->Facts().WindowButtons & static_cast<std::uint8_t>(~TWinSkinForm::wbSystemMenu));
  bare->PaintNonClient();
  EXPECT_EQ(ButtonWithAction(*bare, 0), nullptr);
}

// A window that was never given an icon shows its class's in the caption.
TEST_F(SkinFrameTest, TheCaptionShowsTheWindowClasssIcon) {
  const int cx = GetSystemMetrics(SM_CXSMICON), cy = GetSystemMetrics(SM_CYSMICON);
  gui::TBitmap colour(cx, cy);
  gui::BrushHandle red(CreateSolidBrush(RGB(250, 0, 0)));
  const RECT all{0, 0, cx, cy};
  FillRect(colour.DC(), &all, red.get());
  gui::BitmapHandle mask(CreateBitmap(cx, cy, 1, 1, nullptr));
  gui::MemoryDcHandle maskDc(CreateCompatibleDC(nullptr));
  {
    gui::SelectGuard select(maskDc.get(), mask.get());
    PatBlt(maskDc.get(), 0, 0, cx, cy, BLACKNESS);
  }
  gui::BitmapHandle picture(CreateCompatibleBitmap(colour.DC(), cx, cy));
  {
    gui::MemoryDcHandle dc(CreateCompatibleDC(colour.DC()));
    gui::SelectGuard select(dc.get(), picture.get());
    BitBlt(dc.get(), 0, 0, cx, cy, colour.DC(), 0, 0, SRCCOPY);
  }
  ICONINFO info{TRUE, 0, 0, mask.get(), picture.get()};
  gui::IconHandle icon(CreateIconIndirect(&info));
  ASSERT_TRUE(icon);
  WNDCLASSW wc{};
  wc.lpfnWndProc = &OwnProc;
  wc.hInstance = GetModuleHandleW(nullptr);
  wc.hIcon = icon.get();
  wc.lpszClassName = L"SkinFrameIconWindow";
  RegisterClassW(&wc);
  HWND wnd = CreateWindowExW(0, wc.lpszClassName, L"Icon", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 60, 60, 300, 200,
                             nullptr, nullptr, wc.hInstance, nullptr);
  windows_.push_back(wnd);
  ASSERT_TRUE(host_.SkinWindow(wnd));
  Drain();
  TWinSkinForm* form = host_.FindFormSkinner(wnd);
  ASSERT_NE(form, nullptr);
  gui::TBitmap frame = Painted(*form);
  TWinSysButton* button = ButtonWithAction(*form, 3);
  ASSERT_NE(button, nullptr);
  int redPixels = 0;
  const RECT place = form->PlaceOf(*button).Bounds;
  for (int y = place.top; y < place.bottom; ++y)
    for (int x = place.left; x < place.right; ++x) redPixels += frame.Pixel(x, y) == RGB(250, 0, 0);
  EXPECT_GT(redPixels, cx * cy / 2);
  DestroyWindow(wnd);
  windows_.pop_back();
  UnregisterClassW(wc.lpszClassName, wc.hInstance);
}

// Every pixel of the skin's borders answers as the system's sizing borders
// do, inside the system's own band or beyond it (where a skin border wider
// than the system's answered HTMENU before); a frame that does not size has
// plain borders.
TEST_F(SkinFrameTest, TheBordersHitTestAsTheSystemsDo) {
  for (const bool sizing : {true, false}) {
    SCOPED_TRACE(sizing ? "sizing" : "fixed");
    TWinSkinForm* form = Skinned(sizing ? WS_OVERLAPPEDWINDOW : WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU);
    ASSERT_NE(form, nullptr);
    RECT w{};
    GetWindowRect(form->Handle(), &w);
    const skin::TFrameThickness f = form->Frame();
    ASSERT_GT(f.Left, 0);
    auto hit = [&](int x, int y) { return SendMessageW(form->Handle(), WM_NCHITTEST, 0, MAKELPARAM(x, y)); };
    const int midX = (w.left + w.right) / 2, midY = (w.top + w.bottom) / 2;
    for (int d = 0; d < f.Left; ++d) EXPECT_EQ(hit(w.left + d, midY), sizing ? HTLEFT : HTBORDER) << d;
    for (int d = 0; d < f.Right; ++d) EXPECT_EQ(hit(w.right - 1 - d, midY), sizing ? HTRIGHT : HTBORDER) << d;
    for (int d = 0; d < f.Bottom; ++d) EXPECT_EQ(hit(midX, w.bottom - 1 - d), sizing ? HTBOTTOM : HTBORDER) << d;
    EXPECT_EQ(hit(w.left, w.bottom - 1), sizing ? HTBOTTOMLEFT : HTBORDER);
    EXPECT_EQ(hit(w.right - 1, w.bottom - 1), sizing ? HTBOTTOMRIGHT : HTBORDER);
    EXPECT_EQ(hit(midX, w.top + f.Top / 2), HTCAPTION);
    EXPECT_EQ(hit(midX, midY), HTCLIENT);
  }
}

TEST_F(SkinFrameTest, CaptionButtonsUnderRealMessages) {
  TWinSkinForm* form = Skinned(WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX);
  ASSERT_NE(form, nullptr);
  form->PaintNonClient();
  TWinSysButton* close = ButtonWithAction(*form, 0);
  ASSERT_NE(close, nullptr);
  const LPARAM onClose = ScreenPointOf(*form, *close);
  RECT window{};
  GetWindowRect(form->Handle(), &window);
  const LPARAM outside = MAKELPARAM(window.left + 150, window.top + 4);
  SetCursorPos(window.left + 150, window.top + form->Frame().Top + 100);

  // The close box answers as the system's does; the rest of the band moves the window.
  EXPECT_EQ(SendMessageW(form->Handle(), WM_NCHITTEST, 0, onClose), HTCLOSE);
  EXPECT_EQ(SendMessageW(form->Handle(), WM_NCHITTEST, 0, outside), HTCAPTION);

  // Press, release elsewhere: nothing happens, and the timer makes it normal again.
  SendMessageW(form->Handle(), WM_NCACTIVATE, TRUE, 0);
  SendMessageW(form->Handle(), WM_NCLBUTTONDOWN, HTCLOSE, onClose);
  EXPECT_EQ(close->State, TNCObject::stPressed);
  EXPECT_EQ(form->CurrentObject(), close);
  SendMessageW(form->Handle(), WM_NCLBUTTONUP, HTCAPTION, outside);
  EXPECT_EQ(close->State, TNCObject::stPressed);
  PumpActiveFor(form->Handle(), 400);
  EXPECT_EQ(close->State, TNCObject::stNormal);
  EXPECT_EQ(form->CurrentObject(), nullptr);
  EXPECT_FALSE(Seen(WM_CLOSE));

  // Hot (the press happened elsewhere), then released over it: it closes.
  SendMessageW(form->Handle(), WM_NCACTIVATE, TRUE, 0);
  SendMessageW(form->Handle(), WM_NCMOUSEMOVE, HTCLOSE, onClose);
  EXPECT_EQ(close->State, TNCObject::stHot);
  SendMessageW(form->Handle(), WM_NCLBUTTONUP, HTCLOSE, onClose);
  Drain();
  EXPECT_TRUE(Seen(WM_CLOSE));

  // An inactive window ignores the pointer over its buttons.
  close->MouseLeave();
  SendMessageW(form->Handle(), WM_NCACTIVATE, FALSE, 0);
  SendMessageW(form->Handle(), WM_NCMOUSEMOVE, HTCLOSE, onClose);
  EXPECT_EQ(close->State, TNCObject::stNormal);
  EXPECT_EQ(form->CurrentObject(), nullptr);
}

// A skin button with an action of its own: the window's own procedure
// hears of the click, with the action, and nothing else happens.
TEST_F(SkinFrameTest, ACaptionButtonOfAnActionOfItsOwnTellsTheWindow) {
  ASSERT_TRUE(data_->SetSkinArchive(skin_test::DefaultSkinArchiveWith("Button4", "Action", "5")));
  TWinSkinForm* form = Skinned(WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX);
  ASSERT_NE(form, nullptr);
  form->PaintNonClient();
  SendMessageW(form->Handle(), WM_NCACTIVATE, TRUE, 0);
  TWinSysButton* own = ButtonWithAction(*form, 5);
  ASSERT_NE(own, nullptr);
  const LPARAM onOwn = ScreenPointOf(*form, *own);
  EXPECT_EQ(SendMessageW(form->Handle(), WM_NCHITTEST, 0, onOwn), HTCAPTION);
  g_seen.clear();
  SendMessageW(form->Handle(), WM_NCLBUTTONDOWN, HTCAPTION, onOwn);
  SendMessageW(form->Handle(), WM_NCLBUTTONUP, HTCAPTION, onOwn);
  Drain();
  EXPECT_TRUE(Seen(skin::SkinMsgCaptionAction, 5));
  EXPECT_EQ(form->ShowState(), 0);
  EXPECT_FALSE(Seen(WM_SYSCOMMAND));
}

TEST_F(SkinFrameTest, CaptionDoubleClicksDragAndTheSystemMenu) {
  TWinSkinForm* form = Skinned(WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_THICKFRAME);
  ASSERT_NE(form, nullptr);
  RECT window{};
  GetWindowRect(form->Handle(), &window);
  const LPARAM onCaption = MAKELPARAM(window.left + 150, window.top + 10);

  // No maximise box: a double-click on the caption does nothing.
  SendMessageW(form->Handle(), WM_NCLBUTTONDBLCLK, HTCAPTION, onCaption);
  Drain();
  EXPECT_FALSE(Seen(WM_SYSCOMMAND));
  EXPECT_EQ(form->ShowState(), 0);

  // Maximised, a press on the caption reaches the window as a menu press: no drag.
  ShowWindow(form->Handle(), SW_MAXIMIZE);
  Drain();
  ASSERT_EQ(form->ShowState(), 1);
  g_seen.clear();
  SetForegroundWindow(form->Handle());
  SendMessageW(form->Handle(), WM_NCACTIVATE, TRUE, 0);
  PostMessageW(form->Handle(), WM_LBUTTONUP, 0, 0);  // ends a modal loop, should one start
  SendMessageW(form->Handle(), WM_NCLBUTTONDOWN, HTCAPTION, onCaption);
  EXPECT_TRUE(Seen(WM_NCLBUTTONDOWN, HTMENU));
  EXPECT_FALSE(Seen(WM_NCLBUTTONDOWN, HTCAPTION));
  ShowWindow(form->Handle(), SW_RESTORE);
  Drain();

  // Two openings of the system menu within the double-click time close the window.
  g_seen.clear();
  SetTimer(nullptr, 0, 150, &EndMenuLater);
  SendMessageW(form->Handle(), WM_NCRBUTTONDOWN, HTCAPTION, onCaption);  // opens; the timer closes it
  Drain();
  EXPECT_FALSE(Seen(WM_CLOSE));
  SendMessageW(form->Handle(), WM_NCRBUTTONDOWN, HTCAPTION, onCaption);
  Drain();
  EXPECT_TRUE(Seen(WM_CLOSE));
}

TEST_F(SkinFrameTest, SystemMenuItemsDrawnFromTheSkin) {
  TWinSkinForm* form = Skinned(WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX);
  ASSERT_NE(form, nullptr);
  gui::TPopupMenu* menu = form->SkinSystemMenu();
  ASSERT_NE(menu, nullptr);
  const auto& items = menu->Items().Items();
  ASSERT_EQ(items.size(), 4u);  // restore, minimise, separator, close
  const core::SkinColours& colours = data_->Skin().Colours;

  // Measured wider than the text by the glyph column and the element's margin.
  gui::TBitmap scratch(1, 1);
  int width = 0, height = 0;
  items[3]->OnMeasureItem(items[3], scratch.DC(), width, height);
  SIZE text{};
  GetTextExtentPoint32W(scratch.DC(), L" Close ", 7, &text);
  EXPECT_GT(width, text.cx + 16 + data_->Skin().MenuItem->LeftWidth);
  EXPECT_GT(height, 0);

  // The plain routine: a flat Menu or Hilight background with the caption on it.
  const RECT rect{0, 0, 120, 22};
  for (const bool selected : {false, true}) {
    gui::TBitmap item(120, 22);
    skin::DrawMenuItemPlain(*form, *items[3], item.DC(), rect, selected);
    const COLORREF back = gui::ColorToRGB(selected ? colours.Hilight : colours.Menu);
    EXPECT_EQ(item.Pixel(119, 0), back);
    const COLORREF ink = gui::ColorToRGB(selected ? colours.HilightText : colours.MenuText);
    int inked = 0;
    for (int y = 0; y < 22; ++y)
      for (int x = 20; x < 100; ++x) inked += item.Pixel(x, y) == ink;
    EXPECT_GT(inked, 5) << (selected ? "selected" : "normal");
  }

  // The skinned separator shows frame 2 of the MenuItem strip, magenta left undrawn.
  skin::TDataSkinObject& element = *data_->Skin().MenuItem;
  const int fw = element.Image.Width() / 5;
  gui::TBitmap separator = skin::testing::SolidBitmap(fw, element.Image.Height(), RGB(1, 2, 3));
  skin::DrawMenuItemFrame(*form, separator.DC(), RECT{0, 0, fw, element.Image.Height()});
  EXPECT_TRUE(skin::testing::PixelsAre(separator, [&](int x, int y) {
    const COLORREF source = element.Image.Pixel(fw + x, y);
    return source == skin::TransparentColour ? RGB(1, 2, 3) : source;
  }));
}

}  // namespace
