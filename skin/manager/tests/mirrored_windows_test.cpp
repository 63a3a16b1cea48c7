// Right-to-left windows (WS_EX_LAYOUTRTL), as Arabic and Hebrew programs
// make them, under the skin. A skinned mirrored window is checked against
// the same window left to right (the skin draws it reflected as a whole)
// and against itself unskinned (the sides the system puts things on), and
// its text against the same text drawn unmirrored.
#include <gtest/gtest.h>
#include <windows.h>
#include <commctrl.h>
#include <oleacc.h>

#include <algorithm>
#include <initializer_list>
#include <set>
#include <span>
#include <string>
#include <vector>

#include "gui/handles.h"
#include "gui/text.h"
#include "skin/data/skin_bitmap_ops.h"
#include "skin/data/skin_data.h"
#include "skin/data/tests/pixel_checks.h"
#include "skin/data/tests/test_skins.h"
#include "skin/form/skin_form.h"
#include "skin/manager/skin_manager.h"
#include "skin/manager/tests/program_fixture.h"
#include "skin/manager/tests/shot_file.h"

namespace {

using skin::testing::Ink;
using skin::testing::ShowsInk;
using skin::testing::TextInk;

LRESULT CALLBACK PlainProc(HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  // As a program keeps its status bar along its bottom edge.
  if (msg == WM_SIZE)
    if (HWND status = FindWindowExW(wnd, nullptr, STATUSCLASSNAMEW, nullptr)) SendMessageW(status, WM_SIZE, 0, 0);
  return DefWindowProcW(wnd, msg, wParam, lParam);
}

HWND MakeWindow(DWORD exStyle, DWORD style, int x, const wchar_t* caption = L"RTL probe", HMENU menu = nullptr,
                SIZE size = SIZE{360, 240}) {
  WNDCLASSW wc{};
  if (!GetClassInfoW(GetModuleHandleW(nullptr), L"MirroredProbe", &wc)) {
    wc.lpfnWndProc = PlainProc;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.lpszClassName = L"MirroredProbe";
    wc.hCursor = LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_ARROW));
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    RegisterClassW(&wc);
  }
  return CreateWindowExW(exStyle, L"MirroredProbe", caption, style, x, 40, size.cx, size.cy, nullptr, menu,
                         GetModuleHandleW(nullptr), nullptr);
}

// The window as the screen shows it (a copy through its own window DC
// would reflect a mirrored window back).
gui::TBitmap ShownShot(HWND wnd) {
  RedrawWindow(wnd, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_UPDATENOW | RDW_ALLCHILDREN);
  skin_test::DrainMessages();
  RECT r{};
  GetWindowRect(wnd, &r);
  gui::TBitmap shot(r.right - r.left, r.bottom - r.top);
  const gui::WindowDc dc = gui::WindowDc::Whole(wnd);
  const gui::SavedDcState saved(dc.get());
  SetLayout(dc.get(), 0);
  BitBlt(shot.DC(), 0, 0, shot.Width(), shot.Height(), dc.get(), 0, 0, SRCCOPY);
  return shot;
}

LRESULT HitAt(HWND wnd, int x, int y) {
  RECT r{};
  GetWindowRect(wnd, &r);
  return SendMessageW(wnd, WM_NCHITTEST, 0, MAKELPARAM(r.left + x, r.top + y));
}

// The middle of the points of the title band that answer `code`, as a share
// of the window's width in per cent (-1: none).
int CentreOf(HWND wnd, LRESULT code, int bandHeight) {
  RECT r{};
  GetWindowRect(wnd, &r);
  const int w = r.right - r.left;
  long sum = 0, count = 0;
  for (int x = 0; x < w; ++x)
    if (HitAt(wnd, x, bandHeight / 2) == code) {
      sum += x;
      ++count;
    }
  return count ? static_cast<int>(100 * sum / count / w) : -1;
}

int Mirrored(int code) {
  switch (code) {
    case HTLEFT: return HTRIGHT;
    case HTRIGHT: return HTLEFT;
    case HTTOPLEFT: return HTTOPRIGHT;
    case HTTOPRIGHT: return HTTOPLEFT;
    case HTBOTTOMLEFT: return HTBOTTOMRIGHT;
    case HTBOTTOMRIGHT: return HTBOTTOMLEFT;
    default: return code;
  }
}

// A window's child as the window's shot shows it.
RECT AreaIn(HWND top, HWND wnd) {
  RECT r{}, window{};
  GetWindowRect(wnd, &r);
  GetWindowRect(top, &window);
  OffsetRect(&r, -window.left, -window.top);
  return r;
}

RECT Reflected(const RECT& r, int width) {
  return IsRectEmpty(&r) ? r : RECT{width - r.right, r.top, width - r.left, r.bottom};
}

struct TControlSpec {
  const wchar_t* Class;
  const wchar_t* Text;
  DWORD Style;
  RECT Place;  // in the parent's client area, as the parent lays it out
};

// One of every control the skin draws in a mirrored window, as a plain
// program makes them.
const TControlSpec kControls[] = {
    {L"BUTTON", L"Push me", BS_PUSHBUTTON, {10, 10, 110, 36}},
    {L"BUTTON", L"Checked", BS_AUTOCHECKBOX, {10, 44, 110, 62}},
    {L"BUTTON", L"Choice", BS_AUTORADIOBUTTON, {10, 66, 110, 84}},
    {L"BUTTON", L"Group", BS_GROUPBOX, {120, 6, 250, 90}},
    {L"SCROLLBAR", L"", SBS_HORZ, {10, 96, 170, 113}},
    {TRACKBAR_CLASSW, L"", TBS_HORZ | TBS_NOTICKS, {180, 96, 340, 122}},
    {PROGRESS_CLASSW, L"", 0, {10, 128, 170, 146}},
    {WC_TABCONTROLW, L"", 0, {180, 128, 380, 190}},
    {WC_HEADERW, L"", HDS_HORZ, {10, 154, 170, 174}},
    {L"COMBOBOX", L"", CBS_DROPDOWN, {10, 182, 170, 282}},
    {L"EDIT", L"Text", ES_RIGHT | WS_BORDER, {180, 200, 340, 222}},
};

// Fills the controls in as a program would.
void FillIn(HWND control, const wchar_t* cls) {
  const std::wstring name = cls;
  if (name == L"BUTTON") SendMessageW(control, BM_SETCHECK, BST_CHECKED, 0);
  if (name == L"SCROLLBAR") {
    SCROLLINFO info{sizeof info, SIF_ALL, 0, 100, 10, 20, 0};
    SetScrollInfo(control, SB_CTL, &info, TRUE);
  }
  if (name == TRACKBAR_CLASSW) {
    SendMessageW(control, TBM_SETRANGE, TRUE, MAKELPARAM(0, 10));
    SendMessageW(control, TBM_SETPOS, TRUE, 2);
  }
  if (name == PROGRESS_CLASSW) SendMessageW(control, PBM_SETPOS, 30, 0);
  if (name == WC_TABCONTROLW)
    for (const wchar_t* caption : {L"One", L"Two"}) {
      TCITEMW item{};
      item.mask = TCIF_TEXT;
      item.pszText = const_cast<wchar_t*>(caption);
      SendMessageW(control, TCM_INSERTITEMW, 9, reinterpret_cast<LPARAM>(&item));
    }
  if (name == WC_HEADERW)
    for (const wchar_t* caption : {L"First", L"Second"}) {
      HDITEMW item{};
      item.mask = HDI_TEXT | HDI_WIDTH | HDI_FORMAT;
      item.cxy = 60;
      item.fmt = HDF_LEFT | HDF_STRING;
      item.pszText = const_cast<wchar_t*>(caption);
      SendMessageW(control, HDM_INSERTITEMW, 9, reinterpret_cast<LPARAM>(&item));
    }
  if (name == L"COMBOBOX") {
    SendMessageW(control, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(L"Mercury"));
    SendMessageW(control, CB_SETCURSEL, 0, 0);
  }
}

// The window with every control, and a status bar with two parts and its
// grip.
HWND MakeControlWindow(DWORD exStyle, int x, std::vector<HWND>& controls, DWORD childExStyle = 0) {
  HWND top = MakeWindow(exStyle, WS_OVERLAPPEDWINDOW, x, L"Controls", nullptr, SIZE{400, 340});
  for (const TControlSpec& c : kControls) {
    HWND control = CreateWindowExW(childExStyle, c.Class, c.Text, WS_CHILD | WS_VISIBLE | c.Style, c.Place.left, c.Place.top,
                                   c.Place.right - c.Place.left, c.Place.bottom - c.Place.top, top, nullptr,
                                   GetModuleHandleW(nullptr), nullptr);
    SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(GetStockObject(DEFAULT_GUI_FONT)), FALSE);
    FillIn(control, c.Class);
    controls.push_back(control);
  }
  HWND status = CreateWindowExW(childExStyle, STATUSCLASSNAMEW, nullptr, WS_CHILD | WS_VISIBLE | SBARS_SIZEGRIP, 0, 0, 0, 0,
                                top, nullptr, GetModuleHandleW(nullptr), nullptr);
  const int parts[] = {90, -1};
  SendMessageW(status, SB_SETPARTS, 2, reinterpret_cast<LPARAM>(parts));
  SendMessageW(status, SB_SETTEXTW, 0, reinterpret_cast<LPARAM>(L"Ready"));
  SendMessageW(status, SB_SETTEXTW, 1, reinterpret_cast<LPARAM>(L"Second"));
  controls.push_back(status);
  return top;
}

// The texts a control shows.
std::vector<std::wstring> TextsOf(HWND control) {
  wchar_t cls[64] = {};
  GetClassNameW(control, cls, 64);
  const std::wstring name = cls;
  if (name == WC_TABCONTROLW) return {L"One", L"Two"};
  if (name == WC_HEADERW) return {L"First", L"Second"};
  if (name == STATUSCLASSNAMEW) return {L"Ready", L"Second"};
  // What an edit shows (a combo box's too) is the edit's own drawing.
  if (name == L"ComboBox" || name == L"Edit") return {};
  wchar_t text[64] = {};
  GetWindowTextW(control, text, 64);
  return text[0] ? std::vector<std::wstring>{text} : std::vector<std::wstring>{};
}

// Whether the text, drawn unmirrored in the control's font, shows inside
// the area in the colour.
bool ShowsText(const gui::TBitmap& shot, const RECT& area, const std::wstring& text, HWND control, COLORREF colour) {
  return ShowsInk(shot, area, TextInk(text, reinterpret_cast<HFONT>(SendMessageW(control, WM_GETFONT, 0, 0))),
                  [colour](COLORREF c) { return c == colour; });
}

// A part the control itself places (as it does unskinned), in its window's
// shot: the thumb of a track bar, the first tab, the first header item,
// the status bar's first part, the button of a combo box. Empty for others.
RECT SystemPart(HWND top, HWND control) {
  wchar_t cls[64] = {};
  GetClassNameW(control, cls, 64);
  const std::wstring name = cls;
  RECT part{};
  if (name == TRACKBAR_CLASSW) SendMessageW(control, TBM_GETTHUMBRECT, 0, reinterpret_cast<LPARAM>(&part));
  if (name == WC_TABCONTROLW) SendMessageW(control, TCM_GETITEMRECT, 0, reinterpret_cast<LPARAM>(&part));
  if (name == WC_HEADERW) SendMessageW(control, HDM_GETITEMRECT, 0, reinterpret_cast<LPARAM>(&part));
  if (name == STATUSCLASSNAMEW) SendMessageW(control, SB_GETRECT, 0, reinterpret_cast<LPARAM>(&part));
  if (name == L"ComboBox") {
    COMBOBOXINFO info{};
    info.cbSize = sizeof info;
    GetComboBoxInfo(control, &info);
    part = info.rcButton;
  }
  if (IsRectEmpty(&part)) return RECT{};
  MapWindowPoints(control, nullptr, reinterpret_cast<POINT*>(&part), 2);
  RECT window{};
  GetWindowRect(top, &window);
  OffsetRect(&part, -window.left, -window.top);
  return part;
}

// The smallest rectangle holding the pixels of the colour in the area.
RECT InkBox(const gui::TBitmap& shot, const RECT& area, COLORREF colour) {
  RECT box{area.right, area.bottom, area.left, area.top};
  for (int y = area.top; y < area.bottom; ++y)
    for (int x = area.left; x < area.right; ++x)
      if (shot.Pixel(x, y) == colour) box = RECT{std::min<LONG>(box.left, x), std::min<LONG>(box.top, y),
                                                 std::max<LONG>(box.right, x + 1), std::max<LONG>(box.bottom, y + 1)};
  return box.left < box.right ? box : RECT{};
}

class MirroredWindows : public engine_test::TProgramTest {
 protected:
  static void Activate(HWND wnd) {
    ShowWindow(wnd, SW_SHOW);
    SetActiveWindow(wnd);
    Settle();
  }
  static RECT ShownCaption(HWND wnd) {
    skin::TWinSkinForm* skinner = skin::ThreadSkinManager()->FindFormSkinner(wnd);
    if (!skinner) return RECT{};
    const skin::TFrameInput in = skinner->FrameInput();
    return skin::ShownRect(in, skin::LayoutFrame(in).CaptionText);
  }
  // Each window shown, active once and skinned, then all left inactive, so
  // that no focus or hot look tells them apart; false if one is unskinned.
  static bool SkinnedAndInactive(std::initializer_list<HWND> windows) {
    for (HWND wnd : windows) Activate(wnd);
    const bool skinned = std::all_of(windows.begin(), windows.end(), [](HWND wnd) {
      return skin::ThreadSkinManager()->FindFormSkinner(wnd) != nullptr;
    });
    SetActiveWindow(nullptr);
    Settle();
    return skinned;
  }
};

// The frame: the left-to-right frame reflected whole (caption buttons on
// the left, the icon on the right, the borders swapped, the region
// mirrored), the caption reading as it does left to right, hit tests
// answering for the side the screen shows, the boxes on the side the
// system's mirrored frame has them.
TEST_F(MirroredWindows, TheFrameIsTheLeftToRightOneReflectedWithItsCaptionReadable) {
  HWND ltr = MakeWindow(0, WS_OVERLAPPEDWINDOW, 20);
  HWND rtl = MakeWindow(WS_EX_LAYOUTRTL, WS_OVERLAPPEDWINDOW, 420);
  ASSERT_TRUE(ltr && rtl);
  const int caption = GetSystemMetrics(SM_CYCAPTION) + GetSystemMetrics(SM_CYFRAME);
  const int systemClose = CentreOf(rtl, HTCLOSE, caption), systemLtrClose = CentreOf(ltr, HTCLOSE, caption);
  ASSERT_GE(systemClose, 0);
  EXPECT_LT(systemClose, 50);
  EXPECT_GT(systemLtrClose, 50);

  Activate(ltr);
  ASSERT_NE(skin::ThreadSkinManager()->FindFormSkinner(ltr), nullptr);
  gui::TBitmap left = ShownShot(ltr);
  const RECT leftCaption = ShownCaption(ltr);
  Activate(rtl);
  ASSERT_NE(skin::ThreadSkinManager()->FindFormSkinner(rtl), nullptr);
  const gui::TBitmap right = ShownShot(rtl);
  const RECT rightCaption = ShownCaption(rtl);
  ASSERT_EQ(left.Width(), right.Width());
  const int w = left.Width();
  EXPECT_EQ(rightCaption.left, w - leftCaption.right);

  // The same region (in the window's own coordinates, which the system
  // reflects for a mirrored window).
  gui::RegionHandle leftRegion(CreateRectRgn(0, 0, 0, 0)), rightRegion(CreateRectRgn(0, 0, 0, 0));
  ASSERT_NE(GetWindowRgn(ltr, leftRegion.get()), ERROR);
  ASSERT_NE(GetWindowRgn(rtl, rightRegion.get()), ERROR);
  EXPECT_TRUE(EqualRgn(leftRegion.get(), rightRegion.get()));

  // Every pixel of the frame inside the region is the left-to-right one's
  // reflection, but for the caption.
  skin::MirrorBitmap(left);
  RECT client{};
  GetClientRect(rtl, &client);
  MapWindowPoints(rtl, nullptr, reinterpret_cast<POINT*>(&client), 2);
  RECT window{};
  GetWindowRect(rtl, &window);
  OffsetRect(&client, -window.left, -window.top);
  int differing = 0, compared = 0;
  for (int y = 0; y < right.Height(); ++y)
    for (int x = 0; x < w; ++x) {
      const POINT p{x, y};
      if (PtInRect(&client, p) || PtInRect(&rightCaption, p) || !PtInRegion(rightRegion.get(), w - 1 - x, y)) continue;
      ++compared;
      differing += left.Pixel(x, y) != right.Pixel(x, y);
    }
  EXPECT_GT(compared, 1000);
  EXPECT_EQ(differing, 0);

  // The caption reads as it does left to right.
  const COLORREF text = gui::ColorToRGB(data_->Skin().Colours.TitleTextActive);
  const auto isText = [text](COLORREF c) { return c == text; };
  skin::MirrorBitmap(left);
  const std::vector<std::string> ink = Ink(right, rightCaption, isText);
  EXPECT_FALSE(ink.empty());
  EXPECT_EQ(ink, Ink(left, leftCaption, isText));

  // Hit tests name the side the screen shows, and the skin's boxes stand
  // where the system's mirrored frame has its own.
  for (int y = 0; y < right.Height(); y += 7)
    for (int x = 0; x < w; x += 5)
      ASSERT_EQ(HitAt(rtl, x, y), Mirrored(static_cast<int>(HitAt(ltr, w - 1 - x, y)))) << x << "," << y;
  const int skinnedClose = CentreOf(rtl, HTCLOSE, caption);
  ASSERT_GE(skinnedClose, 0);
  EXPECT_LT(skinnedClose, 50);
  EXPECT_NEAR(skinnedClose, 100 - CentreOf(ltr, HTCLOSE, caption), 2);

  // Accessibility clients find the close box where the screen shows it.
  IAccessible* titleBar = nullptr;
  ASSERT_HRESULT_SUCCEEDED(AccessibleObjectFromWindow(rtl, static_cast<DWORD>(OBJID_TITLEBAR), __uuidof(IAccessible),
                                                      reinterpret_cast<void**>(&titleBar)));
  ASSERT_NE(titleBar, nullptr);
  VARIANT close{};
  close.vt = VT_I4;
  close.lVal = 5;
  long x = 0, y = 0, width = 0, height = 0;
  const HRESULT located = titleBar->accLocation(&x, &y, &width, &height, close);
  titleBar->Release();
  ASSERT_HRESULT_SUCCEEDED(located);
  EXPECT_EQ(SendMessageW(rtl, WM_NCHITTEST, 0, MAKELPARAM(x + width / 2, y + height / 2)), HTCLOSE);
  DestroyWindow(ltr);
  DestroyWindow(rtl);
  Settle();
}

// The skin's pictures are reflected with a mirrored frame, as the system
// reflects bitmaps there; a frame piece whose key says Mirror=0 (a logo) is
// shown as it is.
TEST_F(MirroredWindows, FramePicturesAreReflectedUnlessTheSkinKeepsThemAsTheyAre) {
  constexpr COLORREF kStart = RGB(200, 40, 40), kEnd = RGB(40, 40, 200);
  for (const std::string mirror : {"", "TopMirror=0\r\n"}) {
    SCOPED_TRACE(mirror);
    std::string definition = skin_test::WholeSkinDefinition("Logo");
    const std::string top = "Top=frame_top.bmp\r\n";
    definition.replace(definition.find(top), top.size(), "Top=logo_top.bmp\r\nTopTopHeight=3\r\nTopBotHeight=3\r\n" + mirror);
    core::TSkinWriter writer;
    writer.AddEntry("skin.ini", std::span(reinterpret_cast<const std::uint8_t*>(definition.data()), definition.size()));
    skin_test::AddFramePictures(writer);
    writer.AddEntry("logo_top.bmp", gui_test::StripBmp(3, 20, {kStart, RGB(70, 90, 120), kEnd}));
    data_->SetSkinStream(core::LzhCompress(writer.BuildContainer()));
    ASSERT_TRUE(data_->LoadSkin());
    HWND ltr = MakeWindow(0, WS_OVERLAPPEDWINDOW, 20, L"");
    HWND rtl = MakeWindow(WS_EX_LAYOUTRTL, WS_OVERLAPPEDWINDOW, 420, L"");
    Activate(ltr);
    Activate(rtl);
    const gui::TBitmap left = ShownShot(ltr), right = ShownShot(rtl);
    // Just inside the 4-pixel sides, in the 20-pixel band.
    EXPECT_EQ(left.Pixel(5, 10), kStart);
    EXPECT_EQ(right.Pixel(5, 10), mirror.empty() ? kEnd : kStart);
    EXPECT_EQ(right.Pixel(right.Width() - 6, 10), mirror.empty() ? kStart : kEnd);
    DestroyWindow(ltr);
    DestroyWindow(rtl);
    Settle();
  }
}

// Every control the skin draws, in a mirrored window, is the same control
// of a window left to right reflected (the box of a check box and a radio
// button on the right, a group box's caption on the right, the arrows of a
// horizontal scroll bar swapped, track and progress bars running from the
// right, tabs and header items from the right, a combo box's button on the
// left, an ES_RIGHT edit's text on the left, the status bar's parts from
// the right and its grip on the left), but for its text, which reads as it
// does left to right. And what the skin draws stands where the control
// itself (as it is unskinned) has its parts.
TEST_F(MirroredWindows, EverySkinnedControlIsTheLeftToRightOneReflectedWithItsTextReadable) {
  const INITCOMMONCONTROLSEX classes{sizeof(INITCOMMONCONTROLSEX), ICC_WIN95_CLASSES};
  InitCommonControlsEx(&classes);
  Wear(L"dark");
  std::vector<HWND> ltrControls, rtlControls;
  HWND ltr = MakeControlWindow(0, 10, ltrControls);
  HWND rtl = MakeControlWindow(WS_EX_LAYOUTRTL, 440, rtlControls);
  ASSERT_TRUE(SkinnedAndInactive({ltr, rtl}));
  const gui::TBitmap plain = ShownShot(ltr);
  gui::TBitmap left = ShownShot(ltr), right = ShownShot(rtl);
  skin::MirrorBitmap(left);
  const int w = right.Width();
  for (std::size_t i = 0; i < rtlControls.size(); ++i) {
    wchar_t cls[64] = {};
    GetClassNameW(rtlControls[i], cls, 64);
    SCOPED_TRACE(gui::WideToUtf8(cls));
    const RECT area = AreaIn(rtl, rtlControls[i]), shownLeft = AreaIn(ltr, ltrControls[i]);
    ASSERT_TRUE(EqualRect(&area, &static_cast<const RECT&>(Reflected(shownLeft, w))));
    // Each text reads as it does left to right: in the colour it has
    // there, unmirrored.
    std::set<COLORREF> textColours{engine_test::kDarkText};
    for (const std::wstring& text : TextsOf(rtlControls[i])) {
      SCOPED_TRACE(gui::WideToUtf8(text));
      std::set<COLORREF> colours;
      for (int y = shownLeft.top; y < shownLeft.bottom; ++y)
        for (int x = shownLeft.left; x < shownLeft.right; ++x) colours.insert(plain.Pixel(x, y));
      const auto found = std::find_if(colours.begin(), colours.end(), [&](COLORREF c) {
        return ShowsText(plain, shownLeft, text, ltrControls[i], c);
      });
      ASSERT_NE(found, colours.end());
      EXPECT_TRUE(ShowsText(right, area, text, rtlControls[i], *found));
      textColours.insert(*found);
    }
    // Everything else is the reflection, pixel for pixel.
    int differing = 0;
    std::string where;
    for (int y = area.top; y < area.bottom; ++y)
      for (int x = area.left; x < area.right; ++x) {
        const COLORREF a = left.Pixel(x, y), b = right.Pixel(x, y);
        if (a == b || textColours.contains(a) || textColours.contains(b)) continue;
        if (++differing <= 5) where += " (" + std::to_string(x - area.left) + "," + std::to_string(y - area.top) + ")";
      }
    EXPECT_EQ(differing, 0) << where;
    // The control, as it is unskinned, puts its parts where the skin draws
    // them: reflected.
    const RECT part = SystemPart(rtl, rtlControls[i]);
    EXPECT_TRUE(EqualRect(&part, &static_cast<const RECT&>(Reflected(SystemPart(ltr, ltrControls[i]), w))));
    // An edit's text (the control's own drawing) stands on the side its
    // alignment gives it, reflected.
    if (std::wstring(cls) == L"Edit") {
      const RECT text = InkBox(right, area, engine_test::kDarkText);
      EXPECT_FALSE(IsRectEmpty(&text));
      EXPECT_LT(text.right, (area.left + area.right) / 2);
      const RECT reflected = Reflected(InkBox(plain, shownLeft, engine_test::kDarkText), w);
      EXPECT_NEAR(text.left, reflected.left, 1);
    }
  }
  DestroyWindow(ltr);
  DestroyWindow(rtl);
  Settle();
}

// Mixed layouts, each control drawn in its own direction: a mirrored
// window whose children do not take its layout (WS_EX_NOINHERITLAYOUT) has
// left-to-right controls standing from its right edge, pixel for pixel the
// left-to-right window's; a left-to-right window's mirrored controls stand
// where its others would, each its left-to-right self reflected but for its
// text, which reads unmirrored.
TEST_F(MirroredWindows, MixedLayoutsDrawEachControlInItsOwnDirection) {
  const INITCOMMONCONTROLSEX classes{sizeof(INITCOMMONCONTROLSEX), ICC_WIN95_CLASSES};
  InitCommonControlsEx(&classes);
  Wear(L"dark");
  std::vector<HWND> ltrControls, keptControls, flippedControls;
  HWND ltr = MakeControlWindow(0, 10, ltrControls);
  HWND kept = MakeControlWindow(WS_EX_LAYOUTRTL | WS_EX_NOINHERITLAYOUT, 440, keptControls);
  ASSERT_TRUE(SkinnedAndInactive({ltr, kept}));
  const gui::TBitmap plain = ShownShot(ltr);
  const gui::TBitmap keptShot = ShownShot(kept);
  const int w = plain.Width();
  for (std::size_t i = 0; i < keptControls.size(); ++i) {
    SCOPED_TRACE(i);
    ASSERT_FALSE(GetWindowLongPtrW(keptControls[i], GWL_EXSTYLE) & WS_EX_LAYOUTRTL);
    const RECT area = AreaIn(kept, keptControls[i]), shownLeft = AreaIn(ltr, ltrControls[i]);
    ASSERT_TRUE(EqualRect(&area, &static_cast<const RECT&>(Reflected(shownLeft, w))));
    int differing = 0;
    for (int y = area.top; y < area.bottom; ++y)
      for (int x = 0; x < area.right - area.left; ++x)
        differing += keptShot.Pixel(area.left + x, y) != plain.Pixel(shownLeft.left + x, y);
    EXPECT_EQ(differing, 0);
  }
  DestroyWindow(kept);

  HWND flipped = MakeControlWindow(0, 440, flippedControls, WS_EX_LAYOUTRTL);
  ASSERT_TRUE(SkinnedAndInactive({flipped}));
  const gui::TBitmap flippedShot = ShownShot(flipped);
  for (std::size_t i = 0; i < flippedControls.size(); ++i) {
    SCOPED_TRACE(i);
    ASSERT_TRUE(GetWindowLongPtrW(flippedControls[i], GWL_EXSTYLE) & WS_EX_LAYOUTRTL);
    const RECT area = AreaIn(flipped, flippedControls[i]);
    ASSERT_TRUE(EqualRect(&area, &static_cast<const RECT&>(AreaIn(ltr, ltrControls[i]))));
    std::set<COLORREF> textColours{engine_test::kDarkText};
    for (const std::wstring& text : TextsOf(flippedControls[i])) {
      std::set<COLORREF> colours;
      for (int y = area.top; y < area.bottom; ++y)
        for (int x = area.left; x < area.right; ++x) colours.insert(plain.Pixel(x, y));
      const auto found = std::find_if(colours.begin(), colours.end(),
                                      [&](COLORREF c) { return ShowsText(plain, area, text, ltrControls[i], c); });
      ASSERT_NE(found, colours.end());
      EXPECT_TRUE(ShowsText(flippedShot, area, text, flippedControls[i], *found)) << gui::WideToUtf8(text);
      textColours.insert(*found);
    }
    int differing = 0;
    for (int y = area.top; y < area.bottom; ++y)
      for (int x = area.left; x < area.right; ++x) {
        const COLORREF a = plain.Pixel(area.left + area.right - 1 - x, y), b = flippedShot.Pixel(x, y);
        differing += a != b && !textColours.contains(a) && !textColours.contains(b);
      }
    EXPECT_EQ(differing, 0);
  }
  DestroyWindow(ltr);
  DestroyWindow(flipped);
  Settle();
}

}  // namespace
