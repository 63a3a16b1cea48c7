#include "gui/accessibility.h"

#include <oleacc.h>

#include <array>
#include <cwctype>
#include <utility>

namespace gui {

namespace {

// The accessibility clients' list of system classes, in its order; the query
// is answered with 65536 + the position. Gaps hold classes of old systems.
constexpr std::array<std::wstring_view, 32> kKnownClasses = {
    L"ListBox",           L"#32768",           L"Button",           L"Static",
    L"Edit",              L"ComboBox",         L"#32770",           L"#32771",
    L"MDIClient",         L"#32769",           L"ScrollBar",        L"msctls_statusbar32",
    L"ToolbarWindow32",   L"msctls_progress32", L"SysAnimate32",    L"SysTabControl32",
    L"msctls_hotkey32",   L"SysHeader32",      L"msctls_trackbar32", L"SysListView32",
    L"OpenListView",      L"msctls_updown",    L"msctls_updown32",  L"tooltips_class",
    L"tooltips_class32",  L"SysTreeView32",    L"SysMonthCal32",    L"SysDateTimePick32",
    L"RICHEDIT",          L"RichEdit20A",      L"RichEdit20W",      L"SysIPAddress32",
};

constexpr LRESULT kFirstClassIndex = 65536;

// Window class names compare without regard to case.
bool SameClassName(std::wstring_view a, std::wstring_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i)
    if (std::towlower(a[i]) != std::towlower(b[i])) return false;
  return true;
}

}  // namespace

LRESULT AccessibleClassIndex(std::wstring_view systemClass) {
  for (std::size_t i = 0; i < kKnownClasses.size(); ++i)
    if (SameClassName(kKnownClasses[i], systemClass)) return kFirstClassIndex + static_cast<LRESULT>(i);
  return 0;
}

}  // namespace gui

// ---------------------------------------------------------------------------
// The title-bar object

namespace gui {

namespace {

int g_liveTitleBarObjects = 0;

// The system's names and commands for the title bar's buttons.
const wchar_t* ButtonName(int part, bool maximized) {
  switch (part) {
    case tpImeButton:
      return L"IME";
    case tpMinimizeButton:
      return L"Minimize";
    case tpMaximizeButton:
      return maximized ? L"Restore" : L"Maximize";
    case tpHelpButton:
      return L"Context help";
    case tpCloseButton:
      return L"Close";
    default:
      return nullptr;
  }
}

WPARAM ButtonCommand(int part, bool maximized) {
  switch (part) {
    case tpMinimizeButton:
      return SC_MINIMIZE;
    case tpMaximizeButton:
      return maximized ? SC_RESTORE : SC_MAXIMIZE;
    case tpHelpButton:
      return SC_CONTEXTHELP;
    case tpCloseButton:
      return SC_CLOSE;
    default:
      return 0;
  }
}

// Ids as they arrive in a VARIANT: VT_I4, or empty for the object itself.
bool ReadChildId(const VARIANT& id, int& part) {
  if (id.vt == VT_EMPTY) {
    part = tpTitleBar;
    return true;
  }
  if (id.vt != VT_I4 || id.lVal < 0 || id.lVal >= kTitleBarParts) return false;
  part = static_cast<int>(id.lVal);
  return true;
}

// A number about one part (its role, its state), as a VT_I4 VARIANT.
template <typename ValueOfPart>
HRESULT PartNumber(const VARIANT& id, VARIANT* out, ValueOfPart valueOf) {
  int part = 0;
  if (!ReadChildId(id, part)) return E_INVALIDARG;
  if (!out) return E_POINTER;
  VariantInit(out);
  out->vt = VT_I4;
  out->lVal = valueOf(part);
  return S_OK;
}

HRESULT OwnedText(const wchar_t* text, BSTR* out) {
  if (!out) return E_POINTER;
  *out = nullptr;
  if (!text) return S_FALSE;
  *out = SysAllocString(text);
  return *out ? S_OK : E_OUTOFMEMORY;
}

class TTitleBarObject final : public IAccessible {
 public:
  explicit TTitleBarObject(TTitleBarFacts facts) : facts_(std::move(facts)) { ++g_liveTitleBarObjects; }
  TTitleBarObject(const TTitleBarObject&) = delete;
  TTitleBarObject& operator=(const TTitleBarObject&) = delete;
  ~TTitleBarObject() { --g_liveTitleBarObjects; }

  // IUnknown
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override {
    if (!out) return E_POINTER;
    *out = nullptr;
    if (iid != __uuidof(IUnknown) && iid != __uuidof(IDispatch) && iid != __uuidof(IAccessible)) return E_NOINTERFACE;
    *out = static_cast<IAccessible*>(this);
    AddRef();
    return S_OK;
  }
  ULONG STDMETHODCALLTYPE AddRef() override { return static_cast<ULONG>(InterlockedIncrement(&references_)); }
  ULONG STDMETHODCALLTYPE Release() override {
    const LONG left = InterlockedDecrement(&references_);
    if (left == 0) delete this;
    return static_cast<ULONG>(left);
  }

  // IDispatch: clients use the IAccessible methods directly.
  HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override {
    if (!count) return E_POINTER;
    *count = 0;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE Invoke(DISPID, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*, UINT*) override {
    return E_NOTIMPL;
  }

  // IAccessible
  HRESULT STDMETHODCALLTYPE get_accParent(IDispatch** parent) override {
    if (!parent) return E_POINTER;
    *parent = nullptr;
    return AccessibleObjectFromWindow(facts_.Window, static_cast<DWORD>(OBJID_WINDOW), __uuidof(IDispatch),
                                      reinterpret_cast<void**>(parent));
  }
  HRESULT STDMETHODCALLTYPE get_accChildCount(long* count) override {
    if (!count) return E_POINTER;
    *count = kTitleBarParts - 1;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE get_accChild(VARIANT id, IDispatch** child) override {
    if (!child) return E_POINTER;
    *child = nullptr;
    int part = 0;
    return ReadChildId(id, part) ? S_FALSE : E_INVALIDARG;  // the buttons are simple elements
  }
  HRESULT STDMETHODCALLTYPE get_accName(VARIANT id, BSTR* name) override {
    int part = 0;
    if (!ReadChildId(id, part)) return E_INVALIDARG;
    return OwnedText(ButtonName(part, facts_.Maximized), name);
  }
  HRESULT STDMETHODCALLTYPE get_accValue(VARIANT id, BSTR* value) override {
    int part = 0;
    if (!ReadChildId(id, part)) return E_INVALIDARG;
    return OwnedText(part == tpTitleBar ? facts_.Caption.c_str() : nullptr, value);
  }
  HRESULT STDMETHODCALLTYPE get_accDescription(VARIANT id, BSTR* text) override { return NoText(id, text); }
  HRESULT STDMETHODCALLTYPE get_accRole(VARIANT id, VARIANT* role) override {
    return PartNumber(id, role, [](int part) -> long {
      return part == tpTitleBar ? ROLE_SYSTEM_TITLEBAR : ROLE_SYSTEM_PUSHBUTTON;
    });
  }
  HRESULT STDMETHODCALLTYPE get_accState(VARIANT id, VARIANT* state) override {
    return PartNumber(id, state, [this](int part) -> long {
      if (part == tpTitleBar) return STATE_SYSTEM_FOCUSABLE;
      const TTitleBarFacts::TButton& b = facts_.Buttons[static_cast<std::size_t>(part)];
      return !b.Shown ? STATE_SYSTEM_INVISIBLE : b.Pressed ? STATE_SYSTEM_PRESSED : 0;
    });
  }
  HRESULT STDMETHODCALLTYPE get_accHelp(VARIANT id, BSTR* text) override { return NoText(id, text); }
  HRESULT STDMETHODCALLTYPE get_accHelpTopic(BSTR* file, VARIANT id, long* topic) override {
    if (topic) *topic = 0;
    return NoText(id, file);
  }
  HRESULT STDMETHODCALLTYPE get_accKeyboardShortcut(VARIANT id, BSTR* text) override { return NoText(id, text); }
  HRESULT STDMETHODCALLTYPE get_accFocus(VARIANT* focus) override { return Nothing(focus); }
  HRESULT STDMETHODCALLTYPE get_accSelection(VARIANT* selection) override { return Nothing(selection); }
  HRESULT STDMETHODCALLTYPE get_accDefaultAction(VARIANT id, BSTR* action) override {
    int part = 0;
    if (!ReadChildId(id, part)) return E_INVALIDARG;
    return OwnedText(part == tpTitleBar ? nullptr : L"Press", action);
  }
  HRESULT STDMETHODCALLTYPE accSelect(long, VARIANT) override { return DISP_E_MEMBERNOTFOUND; }
  HRESULT STDMETHODCALLTYPE accLocation(long* x, long* y, long* width, long* height, VARIANT id) override {
    int part = 0;
    if (!ReadChildId(id, part)) return E_INVALIDARG;
    if (!x || !y || !width || !height) return E_POINTER;
    const RECT r = part == tpTitleBar ? facts_.Bounds : facts_.Buttons[static_cast<std::size_t>(part)].Bounds;
    *x = r.left;
    *y = r.top;
    *width = r.right - r.left;
    *height = r.bottom - r.top;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE accNavigate(long direction, VARIANT start, VARIANT* end) override {
    int part = 0;
    if (!ReadChildId(start, part)) return E_INVALIDARG;
    if (!end) return E_POINTER;
    VariantInit(end);
    int step = 0;
    int from = part;
    switch (direction) {
      case NAVDIR_FIRSTCHILD:
        if (part != tpTitleBar) return E_INVALIDARG;
        from = tpTitleBar, step = 1;
        break;
      case NAVDIR_LASTCHILD:
        if (part != tpTitleBar) return E_INVALIDARG;
        from = kTitleBarParts, step = -1;
        break;
      case NAVDIR_NEXT:
      case NAVDIR_RIGHT:
        step = 1;
        break;
      case NAVDIR_PREVIOUS:
      case NAVDIR_LEFT:
        step = -1;
        break;
      default:
        return S_FALSE;
    }
    if (part == tpTitleBar && direction != NAVDIR_FIRSTCHILD && direction != NAVDIR_LASTCHILD) return S_FALSE;
    for (int p = from + step; p > tpTitleBar && p < kTitleBarParts; p += step) {
      if (!facts_.Buttons[static_cast<std::size_t>(p)].Shown) continue;
      end->vt = VT_I4;
      end->lVal = p;
      return S_OK;
    }
    return S_FALSE;
  }
  HRESULT STDMETHODCALLTYPE accHitTest(long x, long y, VARIANT* hit) override {
    if (!hit) return E_POINTER;
    VariantInit(hit);
    const POINT p{x, y};
    for (int part = tpImeButton; part < kTitleBarParts; ++part) {
      const TTitleBarFacts::TButton& b = facts_.Buttons[static_cast<std::size_t>(part)];
      if (b.Shown && PtInRect(&b.Bounds, p)) {
        hit->vt = VT_I4;
        hit->lVal = part;
        return S_OK;
      }
    }
    if (!PtInRect(&facts_.Bounds, p)) return S_FALSE;
    hit->vt = VT_I4;
    hit->lVal = CHILDID_SELF;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE accDoDefaultAction(VARIANT id) override {
    int part = 0;
    if (!ReadChildId(id, part)) return E_INVALIDARG;
    const WPARAM command = ButtonCommand(part, facts_.Maximized);
    if (!command || !facts_.Buttons[static_cast<std::size_t>(part)].Shown) return DISP_E_MEMBERNOTFOUND;
    // Posted: the client may be another process, and the window may be gone.
    return PostMessageW(facts_.Window, WM_SYSCOMMAND, command, 0) ? S_OK : E_FAIL;
  }
  HRESULT STDMETHODCALLTYPE put_accName(VARIANT, BSTR) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE put_accValue(VARIANT, BSTR) override { return E_NOTIMPL; }

 private:
  static HRESULT NoText(const VARIANT& id, BSTR* text) {
    int part = 0;
    if (!ReadChildId(id, part)) return E_INVALIDARG;
    return OwnedText(nullptr, text);
  }
  static HRESULT Nothing(VARIANT* out) {
    if (!out) return E_POINTER;
    VariantInit(out);
    return S_FALSE;
  }

  LONG references_ = 1;
  const TTitleBarFacts facts_;
};

}  // namespace

LRESULT AnswerTitleBarObject(const TTitleBarFacts& facts, WPARAM wParam) {
  auto* object = new TTitleBarObject(facts);
  // The answer holds its own reference (or none, when it failed).
  const LRESULT answer = LresultFromObject(__uuidof(IAccessible), wParam, object);
  object->Release();
  return answer < 0 ? 0 : answer;
}

int LiveTitleBarObjects() { return g_liveTitleBarObjects; }

}  // namespace gui
