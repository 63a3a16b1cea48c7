// What a screen reader sees of the gallery: every control's accessible
// object (oleacc) reports the same name, role, states and place skinned and
// unskinned; the framework's controls report the roles of the system classes
// they extend; the focused control still shows a focus cue under the skin.
#include <gtest/gtest.h>
#include <windows.h>
#include <commctrl.h>
#include <oleacc.h>

#include <map>
#include <memory>
#include <sstream>
#include <string>
#include <type_traits>
#include <utility>
#include <vector>

#include "gallery/gallery_form.h"
#include "gallery/tests/gallery_fixture.h"
#include "gui/accessibility.h"
#include "gui/bitmap.h"
#include "gui/tests/form_fixture.h"
#include "gui/text.h"
#include "skin/data/skin_protocol.h"
#include "skin/manager/skin_manager.h"

namespace {

// States that follow the pointer or a running animation, not the control:
// a skinned and an unskinned reading taken moments apart may differ in them.
constexpr long kTransientStates = STATE_SYSTEM_HOTTRACKED | STATE_SYSTEM_ANIMATED | STATE_SYSTEM_MARQUEED;

// One reference to an accessible object. Release's answer is kept so that a
// test can see the last reference free the object.
class TAccessibleRef {
 public:
  TAccessibleRef() = default;
  TAccessibleRef(const TAccessibleRef&) = delete;
  TAccessibleRef& operator=(const TAccessibleRef&) = delete;
  ~TAccessibleRef() { Reset(); }
  IAccessible** Receive() {
    Reset();
    return &object_;
  }
  IAccessible* operator->() const { return object_; }
  explicit operator bool() const { return object_ != nullptr; }
  // Drops the reference; the count the object has left.
  ULONG Reset() { return object_ ? std::exchange(object_, nullptr)->Release() : 0; }

 private:
  IAccessible* object_ = nullptr;
};

// A window made by the test, destroyed at the end of its scope.
struct TWindowCloser {
  void operator()(HWND wnd) const { DestroyWindow(wnd); }
};
using TOwnedWindow = std::unique_ptr<std::remove_pointer_t<HWND>, TWindowCloser>;

// A BSTR owned until the end of its scope.
struct TOwnedBstr {
  BSTR text = nullptr;
  TOwnedBstr() = default;
  TOwnedBstr(const TOwnedBstr&) = delete;
  TOwnedBstr& operator=(const TOwnedBstr&) = delete;
  ~TOwnedBstr() { SysFreeString(text); }
};

VARIANT ChildId(long id) {
  VARIANT v;
  VariantInit(&v);
  v.vt = VT_I4;
  v.lVal = id;
  return v;
}

// What one accessible object (or one of its simple children) reports, as
// text so that a difference prints readably. Places are relative to `origin`.
std::wstring DescribeElement(IAccessible* object, long child, POINT origin) {
  std::wostringstream out;
  const VARIANT id = ChildId(child);
  VARIANT role;
  VariantInit(&role);
  if (SUCCEEDED(object->get_accRole(id, &role)) && role.vt == VT_I4)
    out << L"role " << role.lVal;
  else
    out << L"no role";
  VariantClear(&role);
  VARIANT state;
  VariantInit(&state);
  if (SUCCEEDED(object->get_accState(id, &state)) && state.vt == VT_I4)
    out << L", state 0x" << std::hex << (state.lVal & ~kTransientStates) << std::dec;
  else
    out << L", no state";
  VariantClear(&state);
  TOwnedBstr name;
  if (object->get_accName(id, &name.text) == S_OK && name.text)
    out << L", name \"" << name.text << L"\"";
  else
    out << L", no name";
  long x = 0, y = 0, width = 0, height = 0;
  if (SUCCEEDED(object->accLocation(&x, &y, &width, &height, id)))
    out << L", at " << x - origin.x << L"," << y - origin.y << L" " << width << L"x" << height;
  else
    out << L", no place";
  return out.str();
}

// The object a window gives for `objectId`, with `children` of its simple
// children after it, and whether the last reference to it went away.
std::wstring DescribeObject(HWND wnd, LONG objectId, POINT origin, long children = 0) {
  TAccessibleRef object;
  const HRESULT found = AccessibleObjectFromWindow(wnd, static_cast<DWORD>(objectId), __uuidof(IAccessible),
                                                   reinterpret_cast<void**>(object.Receive()));
  if (FAILED(found) || !object) {
    std::wostringstream failed;
    failed << L"no object (0x" << std::hex << static_cast<unsigned long>(found) << L")";
    return failed.str();
  }
  std::wstring text = DescribeElement(object.operator->(), CHILDID_SELF, origin);
  long count = 0;
  if (SUCCEEDED(object->get_accChildCount(&count))) text += L", " + std::to_wstring(count) + L" children";
  for (long child = 1; child <= children; ++child)
    text += L"; child " + std::to_wstring(child) + L": " + DescribeElement(object.operator->(), child, origin);
  if (const ULONG left = object.Reset()) text += L", " + std::to_wstring(left) + L" references left behind";
  return text;
}

// The system class a window is or extends, by the clients' numbering.
LRESULT ClassIndexOf(HWND wnd) {
  if (const LRESULT index = SendMessageW(wnd, WM_GETOBJECT, 0, static_cast<LPARAM>(OBJID_QUERYCLASSNAMEIDX)))
    return index;
  wchar_t name[128] = {};
  GetClassNameW(wnd, name, 128);
  return gui::AccessibleClassIndex(name);
}

// Checked and selected, read with the messages the system's own accessible
// objects read them with (Wine's objects report neither state).
std::wstring CheckedAndSelected(HWND wnd) {
  const LRESULT index = ClassIndexOf(wnd);
  const auto ask = [wnd](UINT msg, WPARAM w = 0, LPARAM l = 0) { return std::to_wstring(SendMessageW(wnd, msg, w, l)); };
  if (index == gui::AccessibleClassIndex(L"Button")) return L", checked " + ask(BM_GETCHECK);
  if (index == gui::AccessibleClassIndex(L"ListBox")) return L", selected " + ask(LB_GETCURSEL);
  if (index == gui::AccessibleClassIndex(L"ComboBox")) return L", selected " + ask(CB_GETCURSEL);
  if (index == gui::AccessibleClassIndex(L"SysTabControl32")) return L", selected " + ask(TCM_GETCURSEL);
  if (index == gui::AccessibleClassIndex(L"SysListView32"))
    return L", selected " + ask(LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_SELECTED);
  return {};
}

// Every window of the form, under a key that names it the same way whether
// the form is skinned or not: the framework component's name, or the named
// window above it with the class and count of the unnamed ones below.
struct TWindowWalk {
  std::map<std::wstring, HWND> windows;
  std::map<HWND, std::wstring> keys;
  std::map<std::wstring, int> counts;
  bool failed = false;
};

BOOL CALLBACK CollectWindow(HWND wnd, LPARAM param) {
  auto& walk = *reinterpret_cast<TWindowWalk*>(param);
  try {
    std::wstring key;
    const gui::TWinControl* control = gui::TWinControl::FindControl(wnd);
    if (control && !control->Name().empty()) {
      key = gui::Utf8ToWide(control->Name());
    } else {
      wchar_t name[128] = {};
      GetClassNameW(wnd, name, 128);
      const std::wstring stem = walk.keys[GetParent(wnd)] + L">" + name;
      key = stem + L"#" + std::to_wstring(walk.counts[stem]++);
    }
    walk.keys[wnd] = key;
    walk.windows[key] = wnd;
    return TRUE;
  } catch (...) {
    // Nothing may unwind through the system's enumeration.
    walk.failed = true;
    return FALSE;
  }
}

std::map<std::wstring, HWND> WindowsByKey(HWND form) {
  TWindowWalk walk;
  walk.keys[form] = L"form";
  EnumChildWindows(form, &CollectWindow, reinterpret_cast<LPARAM>(&walk));
  EXPECT_FALSE(walk.failed);
  return walk.windows;
}

// What a screen reader learns of the whole form: its own client object and
// every window's, places relative to the form's client area (the skin's
// frame is not the system's, so the window's corner moves).
std::map<std::wstring, std::wstring> ReadForm(HWND form) {
  POINT origin{0, 0};
  ClientToScreen(form, &origin);
  std::map<std::wstring, std::wstring> seen;
  seen[L"form"] = DescribeObject(form, OBJID_CLIENT, origin);
  for (const auto& [key, wnd] : WindowsByKey(form)) seen[key] = DescribeObject(wnd, OBJID_CLIENT, origin) + CheckedAndSelected(wnd);
  return seen;
}

class GalleryAccessibilityTest : public GalleryFixture {
 protected:
  void SetUp() override {
    CoInitialize(nullptr);
    GalleryFixture::SetUp();
  }
  void TearDown() override {
    GalleryFixture::TearDown();
    CoUninitialize();
    EXPECT_TRUE(errors_.empty()) << gui::WideToUtf8(errors_.front());
  }
  void Wear(TGalleryForm& form, TGallerySkin skin) {
    form.ChooseSkin(skin);
    WaitForSkinRequests();
    ASSERT_EQ(SendMessageW(form.Handle(), skin::SkinMsgQuery, 0, 0) == 1, skin != TGallerySkin::gsNone);
  }
  // The page shown with its control in the focus, and the keyboard cues on
  // (as after the user's first key).
  void ShowWithFocus(TGalleryForm& form, const wchar_t* page, gui::TWinControl* focus) {
    ASSERT_TRUE(form.ShowPage(page));
    SetForegroundWindow(form.Handle());
    SendMessageW(form.Handle(), WM_CHANGEUISTATE, MAKEWPARAM(UIS_CLEAR, UISF_HIDEFOCUS | UISF_HIDEACCEL), 0);
    focus->SetFocus();
    SetCursorPos(0, 0);
    app_->ProcessMessages();
  }
  // The control as it stands on the screen after a full repaint.
  gui::TBitmap Snapshot(HWND wnd) {
    RedrawWindow(wnd, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_UPDATENOW | RDW_ALLCHILDREN);
    app_->ProcessMessages();
    return gui_test::WholeWindowShot(wnd);
  }

};

struct TPageFocus {
  const wchar_t* page;
  gui::TWinControl* focus;
};

// The status bar names the skin in force: its text differs on purpose.
std::wstring WithoutOwnText(const std::wstring& key, std::wstring reading) {
  if (key != L"StatusBar1") return reading;
  const std::size_t start = reading.find(L", name \"");
  const std::size_t end = reading.find(L"\", at", start);
  if (start != std::wstring::npos && end != std::wstring::npos) reading.erase(start, end + 1 - start);
  return reading;
}

std::vector<TPageFocus> PagesWithFocus(TGalleryForm& f) {
  return {{L"Buttons", f.CheckedBox}, {L"Lists", f.NumberList}, {L"Text", f.PlainEdit}, {L"Ranges", f.HorizontalTrack}};
}

}  // namespace

TEST_F(GalleryAccessibilityTest, EveryControlReadsTheSameSkinnedAndUnskinned) {
  TGalleryForm& f = Open();
  const std::vector<TGallerySkin> skins = {TGallerySkin::gsDefault, TGallerySkin::gsDark, TGallerySkin::gsNone};
  std::map<TGallerySkin, std::vector<std::map<std::wstring, std::wstring>>> seen;
  for (const TGallerySkin skin : skins) {
    Wear(f, skin);
    for (const TPageFocus& p : PagesWithFocus(f)) {
      ShowWithFocus(f, p.page, p.focus);
      ASSERT_EQ(GetFocus(), p.focus->Handle()) << gui::WideToUtf8(p.page);
      seen[skin].push_back(ReadForm(f.Handle()));
    }
  }
  const auto& plain = seen[TGallerySkin::gsNone];
  for (const TGallerySkin skin : {TGallerySkin::gsDefault, TGallerySkin::gsDark}) {
    for (std::size_t page = 0; page < plain.size(); ++page) {
      const auto& skinned = seen[skin][page];
      SCOPED_TRACE("skin " + std::to_string(static_cast<int>(skin)) + ", page " + std::to_string(page));
      EXPECT_EQ(skinned.size(), plain[page].size());
      for (const auto& [key, reading] : plain[page]) {
        const auto it = skinned.find(key);
        ASSERT_NE(it, skinned.end()) << gui::WideToUtf8(key) << " is gone under the skin";
        EXPECT_EQ(WithoutOwnText(key, it->second), WithoutOwnText(key, reading)) << gui::WideToUtf8(key);
      }
    }
  }
  // The readings are real: the focused control and a checked box say so.
  const std::wstring checkedBox = seen[TGallerySkin::gsNone][0].at(L"CheckedBox");
  EXPECT_NE(checkedBox.find(L"name \"Checked\""), std::wstring::npos) << gui::WideToUtf8(checkedBox);
  EXPECT_NE(checkedBox.find(L"checked 1"), std::wstring::npos) << gui::WideToUtf8(checkedBox);
  EXPECT_NE(checkedBox.find(L"state 0x100004,"), std::wstring::npos)  // focusable, focused
      << gui::WideToUtf8(checkedBox);
  const std::wstring disabled = seen[TGallerySkin::gsNone][0].at(L"DisabledButton");
  EXPECT_NE(disabled.find(L"state 0x1,"), std::wstring::npos) << gui::WideToUtf8(disabled);  // unavailable
}

// The title bar: the skin takes the system's caption styles off the window,
// and with them the system's account of its buttons; the skin's caption
// stands in with the system's roles and names, where the skin draws the
// buttons, and a press does what the system's button does. Where the system
// has a title-bar object of its own (Windows; Wine's oleacc has none), the
// skinned one reads as it does.
TEST_F(GalleryAccessibilityTest, CaptionButtonsKeepTheSystemsRolesAndNames) {
  TGalleryForm& f = Open();
  HWND wnd = f.Handle();
  const auto readTitleBar = [wnd](TAccessibleRef& object) {
    return AccessibleObjectFromWindow(wnd, static_cast<DWORD>(OBJID_TITLEBAR), __uuidof(IAccessible),
                                      reinterpret_cast<void**>(object.Receive()));
  };
  // Role, name and visibility of the title bar and its five parts.
  const auto parts = [](IAccessible* object) {
    std::wstring text;
    for (long part = CHILDID_SELF; part <= 5; ++part) {
      const std::wstring element = DescribeElement(object, part, POINT{});
      text += element.substr(0, element.find(L", at")) + L"\n";
    }
    return text;
  };
  TAccessibleRef skinned;
  ASSERT_HRESULT_SUCCEEDED(readTitleBar(skinned));
  ASSERT_TRUE(skinned);
  EXPECT_EQ(parts(skinned.operator->()),
            L"role 1, state 0x100000, no name\n"       // the title bar
            L"role 43, state 0x8000, name \"IME\"\n"   // not shown
            L"role 43, state 0x0, name \"Minimize\"\n"
            L"role 43, state 0x0, name \"Maximize\"\n"
            L"role 43, state 0x8000, name \"Context help\"\n"
            L"role 43, state 0x0, name \"Close\"\n");
  // Each button is where the skin draws it and answers hit testing for.
  const std::vector<std::pair<long, LRESULT>> buttons = {{2, HTMINBUTTON}, {3, HTMAXBUTTON}, {5, HTCLOSE}};
  for (const auto& [part, hit] : buttons) {
    long x = 0, y = 0, width = 0, height = 0;
    ASSERT_HRESULT_SUCCEEDED(skinned->accLocation(&x, &y, &width, &height, ChildId(part)));
    EXPECT_GT(width, 0);
    const LPARAM centre = MAKELPARAM(x + width / 2, y + height / 2);
    EXPECT_EQ(SendMessageW(wnd, WM_NCHITTEST, 0, centre), hit) << "part " << part;
    VARIANT found;
    ASSERT_EQ(skinned->accHitTest(x + width / 2, y + height / 2, &found), S_OK);
    EXPECT_EQ(found.lVal, part);
  }
  const std::wstring skinnedParts = parts(skinned.operator->());
  EXPECT_EQ(skinned.Reset(), 0u) << "a reference to the title bar was left behind";
  EXPECT_EQ(gui::LiveTitleBarObjects(), 0);

  // Maximised, the middle button restores, and pressing it does.
  ShowWindow(wnd, SW_MAXIMIZE);
  app_->ProcessMessages();
  ASSERT_HRESULT_SUCCEEDED(readTitleBar(skinned));
  BSTR name = nullptr;
  ASSERT_EQ(skinned->get_accName(ChildId(3), &name), S_OK);
  EXPECT_STREQ(name, L"Restore");
  SysFreeString(name);
  EXPECT_EQ(skinned->accDoDefaultAction(ChildId(3)), S_OK);
  app_->ProcessMessages();
  EXPECT_FALSE(IsZoomed(wnd));
  EXPECT_EQ(skinned.Reset(), 0u);
  EXPECT_EQ(gui::LiveTitleBarObjects(), 0);

  Wear(f, TGallerySkin::gsNone);
  TAccessibleRef plain;
  if (SUCCEEDED(readTitleBar(plain)) && plain) {
    EXPECT_EQ(parts(plain.operator->()), skinnedParts);
  }
}

// Each framework control beside a window made from the system class itself
// with the same styles, text and place: the role is the system's.
TEST_F(GalleryAccessibilityTest, FrameworkControlsReportTheRolesOfTheirSystemClasses) {
  TGalleryForm& f = Open();
  Wear(f, TGallerySkin::gsNone);
  const std::vector<std::pair<gui::TWinControl*, const wchar_t*>> kinds = {
      {f.PushButton, WC_BUTTONW},          {f.CheckedBox, WC_BUTTONW},          {f.FirstRadio, WC_BUTTONW},
      {f.PlainEdit, WC_EDITW},             {f.TextMemo, WC_EDITW},              {f.NumberList, WC_LISTBOXW},
      {f.DropDownCombo, WC_COMBOBOXW},     {f.HorizontalBar, WC_SCROLLBARW},    {f.HorizontalTrack, TRACKBAR_CLASSW},
      {f.NumberUpDown, UPDOWN_CLASSW},     {f.SmoothProgress, PROGRESS_CLASSW}, {f.RowView, WC_LISTVIEWW},
      {f.Pages, WC_TABCONTROLW},           {f.StatusBar1, STATUSCLASSNAMEW},    {f.DatePicker, DATETIMEPICK_CLASSW},
  };
  const auto roleOf = [](HWND wnd) {
    TAccessibleRef object;
    EXPECT_HRESULT_SUCCEEDED(AccessibleObjectFromWindow(wnd, static_cast<DWORD>(OBJID_CLIENT), __uuidof(IAccessible),
                                                        reinterpret_cast<void**>(object.Receive())));
    VARIANT role;
    VariantInit(&role);
    if (object) object->get_accRole(ChildId(CHILDID_SELF), &role);
    EXPECT_EQ(object.Reset(), 0u) << "a reference to the accessible object was left behind";
    return role.vt == VT_I4 ? role.lVal : -1L;
  };
  for (const auto& [control, systemClass] : kinds) {
    HWND ours = control->Handle();
    RECT r{};
    GetWindowRect(ours, &r);
    MapWindowPoints(nullptr, GetParent(ours), reinterpret_cast<POINT*>(&r), 2);
    wchar_t text[64] = {};
    GetWindowTextW(ours, text, 64);
    const auto style = static_cast<DWORD>(GetWindowLongPtrW(ours, GWL_STYLE));
    const auto exStyle = static_cast<DWORD>(GetWindowLongPtrW(ours, GWL_EXSTYLE));
    TOwnedWindow plain(CreateWindowExW(exStyle, systemClass, text, style & ~WS_VISIBLE, r.left, r.top,
                                            r.right - r.left, r.bottom - r.top, GetParent(ours), nullptr,
                                            GetModuleHandleW(nullptr), nullptr));
    ASSERT_TRUE(plain) << gui::WideToUtf8(systemClass);
    const long expected = roleOf(plain.get());
    EXPECT_NE(expected, -1L) << gui::WideToUtf8(systemClass);
    EXPECT_EQ(roleOf(ours), expected) << control->Name() << " over " << gui::WideToUtf8(systemClass);
  }
}

// The focused control looks different from the same control without the
// focus: a focus rectangle, or the skin's focused look.
TEST_F(GalleryAccessibilityTest, FocusedControlShowsAFocusCueUnderTheSkin) {
  TGalleryForm& f = Open();
  for (const TGallerySkin skin : {TGallerySkin::gsDefault, TGallerySkin::gsDark}) {
    Wear(f, skin);
    const std::vector<std::pair<const wchar_t*, std::vector<gui::TWinControl*>>> pages = {
        {L"Buttons", {f.PushButton, f.GlyphButton, f.CheckedBox, f.UncheckedBox, f.FirstRadio}},
        {L"Lists", {f.NumberList, f.RowView}},
        {L"Text", {f.DropDownListCombo}},
        {L"Ranges", {f.HorizontalTrack}},
    };
    for (const auto& [page, controls] : pages) {
      for (gui::TWinControl* control : controls) {
        // Away: the focus on another control of the page.
        gui::TWinControl* other = control == controls.front() ? controls.back() : controls.front();
        if (other == control) other = f.Pages;
        // A list view shows the focus on its focused item, as a user's click leaves one.
        if (control == f.RowView) {
          LVITEMW item{};
          item.stateMask = item.state = LVIS_FOCUSED;
          SendMessageW(control->Handle(), LVM_SETITEMSTATE, 0, reinterpret_cast<LPARAM>(&item));
        }
        ShowWithFocus(f, page, other);
        const gui::TBitmap away = Snapshot(control->Handle());
        ShowWithFocus(f, page, control);
        const gui::TBitmap focused = Snapshot(control->Handle());
        ASSERT_EQ(away.Width(), focused.Width());
        int changed = 0;
        for (int y = 0; y < away.Height(); ++y)
          for (int x = 0; x < away.Width(); ++x) changed += away.Pixel(x, y) != focused.Pixel(x, y);
        // A dotted focus rectangle around a caption changes a few dozen pixels at least.
        EXPECT_GE(changed, 16) << control->Name() << " under skin " << static_cast<int>(skin);
      }
    }
  }
}
