#include "gui/controls.h"

#include <algorithm>
#include <map>
#include <mutex>
#include <unordered_map>
#include <utility>

#include "gui/accessibility.h"
#include "gui/color_scheme.h"
#include "gui/menus.h"
#include "gui/text.h"

namespace gui {

namespace {

// Which object each window of ours belongs to. Kept here rather than in a
// window property: under Wine reading a property is a round trip to the
// server (about 8 us on a quiet machine, far more on a busy one), and every
// message of every window of ours asks.
class TWindowObjects {
 public:
  TWinControl* Find(HWND wnd) {
    const std::lock_guard lock(mutex_);
    const auto it = objects_.find(wnd);
    return it == objects_.end() ? nullptr : it->second;
  }
  void Bind(HWND wnd, TWinControl* control) {
    const std::lock_guard lock(mutex_);
    objects_[wnd] = control;
  }
  void Forget(HWND wnd) {
    const std::lock_guard lock(mutex_);
    objects_.erase(wnd);
  }
  // A control freed whose window never passed WM_NCDESTROY through us
  // (a layer on top kept it) leaves nothing behind for a later window
  // that gets the same handle.
  void ForgetControl(const TWinControl* control) {
    const std::lock_guard lock(mutex_);
    std::erase_if(objects_, [control](const auto& entry) { return entry.second == control; });
  }

 private:
  std::mutex mutex_;
  std::unordered_map<HWND, TWinControl*> objects_;
};

// Never destroyed: windows may still pass messages while statics go.
TWindowObjects& WindowObjects() {
  static auto* objects = new TWindowObjects;
  return *objects;
}

// The object whose window CreateWindowEx is creating right now; the first
// message of the new window binds it.
thread_local TWinControl* t_creating = nullptr;

struct RegisteredClass {
  WNDPROC original;
  // The answer to an accessibility client's class-name query: the system
  // class the registered one extends (0: a class of our own).
  LRESULT accessibleClassIndex;
};
std::map<std::wstring, RegisteredClass>& Registered() {
  static std::map<std::wstring, RegisteredClass> classes;
  return classes;
}

// The system class a window of one of our classes extends, as the
// accessibility clients number it; 0 for our own classes.
LRESULT AccessibleClassIndexOf(HWND wnd) {
  wchar_t name[256] = {};
  if (!GetClassNameW(wnd, name, 256)) return 0;
  const auto& classes = Registered();
  const auto it = classes.find(name);
  return it == classes.end() ? 0 : it->second.accessibleClassIndex;
}

// The form window (top-level, or an MDI child) a control's window sits on.
HWND FormWindowOf(HWND wnd) {
  auto isForm = [](HWND w) {
    return !(GetWindowLongPtrW(w, GWL_STYLE) & WS_CHILD) || (GetWindowLongPtrW(w, GWL_EXSTYLE) & WS_EX_MDICHILD);
  };
  for (HWND up = nullptr; !isForm(wnd) && (up = GetParent(wnd)) != nullptr;) wnd = up;
  return wnd;
}

int NextControlId() {
  static int id = 1000;
  return ++id;
}

}  // namespace

// ---------------------------------------------------------------------------
// TControl

TControl::TControl(TComponent* owner) : TComponent(owner) {
  WindowProc = OwnWindowMethod();
  font_.OnChange = [this] {
    if (!fontFromParent_) parentFont_ = false;
    FontChanged();
  };
}

TControl::~TControl() {
  ForgetMethodLinks();
  if (parent_) parent_->RemoveControl(this);
}

void TControl::SetParent(TWinControl* parent) {
  if (parent == parent_) return;
  if (parent == this) throw Exception(L"A control cannot have itself as its parent");
  if (parent_) parent_->RemoveControl(this);
  parent_ = parent;
  if (parent) parent->InsertControl(this);
  if (parentFont_) InheritParentFont();
  if (parentColor_) InheritParentColor();
  if (parent && IsWindowed() && parent->HandleAllocated() && !IsLoading())
    static_cast<TWinControl*>(this)->HandleNeeded();
}

void TControl::InheritParentFont() {
  if (!parent_) return;
  fontFromParent_ = true;
  font_.Assign(parent_->Font());
  fontFromParent_ = false;
}

void TControl::InheritParentColor() {
  if (!parent_) return;
  colorFromParent_ = true;
  SetColor(parent_->Color());
  colorFromParent_ = false;
}

void TControl::SetParentColor(bool value) {
  parentColor_ = value;
  if (value) InheritParentColor();
}

void TControl::SetParentFont(bool value) {
  parentFont_ = value;
  if (value) InheritParentFont();
}

void TControl::SetBounds(int left, int top, int width, int height) {
  left_ = left;
  top_ = top;
  width_ = width;
  height_ = height;
  BoundsChanged();
}

void TControl::ChangeScale(int m, int d) {
  SetBounds(MulDiv(left_, m, d), MulDiv(top_, m, d), MulDiv(width_, m, d), MulDiv(height_, m, d));
  // A font of the control's own; one taken from the parent follows it.
  if (!parentFont_) font_.SetHeight(MulDiv(font_.Height(), m, d));
}

void TWinControl::ChangeScale(int m, int d) {
  TControl::ChangeScale(m, d);
  for (TControl* child : std::vector<TControl*>(controls_)) child->ChangeScale(m, d);
}

void TControl::SetCaption(const std::wstring& text) {
  if (text == caption_) return;
  caption_ = text;
  TextChanged();
}

void TControl::SetVisible(bool visible) {
  if (visible == visible_) return;
  visible_ = visible;
  VisibleChanged();
}

void TControl::SetEnabled(bool enabled) {
  if (enabled == enabled_) return;
  enabled_ = enabled;
  EnabledChanged();
}

void TControl::EnabledChanged() { Perform(CM_ENABLEDCHANGED); }

void TControl::SetColor(TColor color) {
  if (!colorFromParent_) parentColor_ = false;
  if (color == color_) return;
  color_ = color;
  brush_.reset();
  ColorChanged();
}

namespace {

// One brush for each colour controls chose, while any control has it: a
// form of controls in one colour (a skin's face colour) holds one brush,
// not one a control.
std::shared_ptr<const BrushHandle> SharedSolidBrush(COLORREF colour) {
  // Never destroyed: a control in static storage may ask during exit.
  static auto* const guard = new std::mutex;
  static auto* const cache = new std::map<COLORREF, std::weak_ptr<const BrushHandle>>;
  auto& brushes = *cache;
  const std::lock_guard lock(*guard);
  std::weak_ptr<const BrushHandle>& cached = brushes[colour];
  if (auto alive = cached.lock()) return alive;
  auto made = std::make_shared<const BrushHandle>(CreateSolidBrush(colour));
  cached = made;
  // The entries of colours no control has any more go now and then.
  if (brushes.size() > 64) std::erase_if(brushes, [](const auto& entry) { return entry.second.expired(); });
  return made;
}

}  // namespace

HBRUSH TControl::BrushHandle() {
  // A system colour is painted with the scheme's brush; only a colour of the
  // control's own needs a brush of its own.
  if ((color_ & 0xFF000000) == clSystemColor) return SchemeColorBrush(static_cast<int>(color_ & 0xFF));
  if (!brush_) brush_ = SharedSolidBrush(ColorToRGB(color_));
  return brush_->get();
}

void TControl::FontChanged() {}
void TControl::ColorChanged() { Invalidate(); }

void TControl::Invalidate() {
  if (parent_ && parent_->HandleAllocated()) {
    RECT r = BoundsRect();
    InvalidateRect(parent_->Handle(), &r, TRUE);
  }
}

LRESULT TControl::Perform(UINT msg, WPARAM wParam, LPARAM lParam) {
  TMessage m{msg, wParam, lParam, 0};
  WindowProc(m);
  return m.Result;
}

void TControl::WndProc(TMessage& message) { DefaultHandler(message); }
void TControl::DefaultHandler(TMessage& message) { message.Result = 0; }

void TControl::Click() {
  if (OnClick) OnClick(this);
}

void TControl::SetPopupMenu(TPopupMenu* menu) {
  if (menu == popupMenu_) return;
  if (popupMenu_) RemoveFreeNotification(popupMenu_);
  popupMenu_ = menu;
  if (menu) FreeNotification(menu);
}

void TControl::Notification(TComponent* component, TOperation operation) {
  TComponent::Notification(component, operation);
  if (operation == TOperation::opRemove && component == popupMenu_) popupMenu_ = nullptr;
}

TBiDiMode TControl::BiDiMode() const {
  if (parentBiDiMode_ && parent_) return parent_->BiDiMode();
  return biDiMode_;
}

void TControl::SetBiDiMode(TBiDiMode mode) {
  const TBiDiMode before = BiDiMode();
  biDiMode_ = mode;
  parentBiDiMode_ = false;
  if (BiDiMode() != before) BiDiModeChanged();
}

DWORD TControl::RightToLeftExStyle() const {
  DWORD exStyle = 0;
  if (UseRightToLeftReading()) exStyle |= WS_EX_RTLREADING | WS_EX_LEFTSCROLLBAR;
  if (UseRightToLeftAlignment()) exStyle |= WS_EX_RIGHT;
  return exStyle;
}

void TControl::SetParentBiDiMode(bool value) {
  const TBiDiMode before = BiDiMode();
  parentBiDiMode_ = value;
  if (BiDiMode() != before) BiDiModeChanged();
}

void TControl::DeclareProperties(std::vector<TPropInfo>& list) {
  TPropBuilder<TControl> b(list);
  b.Integer("Left", [](TControl& c) { return c.Left(); }, [](TControl& c, int v) { c.SetLeft(v); });
  b.Integer("Top", [](TControl& c) { return c.Top(); }, [](TControl& c, int v) { c.SetTop(v); });
  b.Integer("Width", [](TControl& c) { return c.Width(); }, [](TControl& c, int v) { c.SetWidth(v); });
  b.Integer("Height", [](TControl& c) { return c.Height(); }, [](TControl& c, int v) { c.SetHeight(v); });
  b.String("Caption", [](TControl& c) { return c.Caption(); }, [](TControl& c, const std::wstring& v) { c.SetCaption(v); });
  b.Boolean("Visible", [](TControl& c) { return c.Visible(); }, [](TControl& c, bool v) { c.SetVisible(v); });
  b.Boolean("Enabled", [](TControl& c) { return c.Enabled(); }, [](TControl& c, bool v) { c.SetEnabled(v); });
  b.Color("Color", [](TControl& c) { return c.Color(); }, [](TControl& c, TColor v) { c.SetColor(v); });
  b.Object("Font", [](TControl& c) -> TObject* { return &c.Font(); });
  b.Boolean("ParentFont", [](TControl& c) { return c.ParentFont(); }, [](TControl& c, bool v) { c.SetParentFont(v); });
  b.Boolean("ParentColor", [](TControl& c) { return c.ParentColor(); },
            [](TControl& c, bool v) { c.SetParentColor(v); });
  b.Enumeration("BiDiMode", {"bdLeftToRight", "bdRightToLeft", "bdRightToLeftNoAlign", "bdRightToLeftReadingOnly"},
                [](TControl& c) { return static_cast<int>(c.BiDiMode()); },
                [](TControl& c, int v) { c.SetBiDiMode(static_cast<TBiDiMode>(v)); });
  b.Boolean("ParentBiDiMode", [](TControl& c) { return c.ParentBiDiMode(); },
            [](TControl& c, bool v) { c.SetParentBiDiMode(v); });
  b.Component<TPopupMenu>("PopupMenu", [](TControl& c) { return c.PopupMenu(); },
                          [](TControl& c, TPopupMenu* m) { c.SetPopupMenu(m); });
  b.Event("OnClick", &TControl::OnClick);
}

// ---------------------------------------------------------------------------
// TWinControl

TWinControl::TWinControl(TComponent* owner) : TControl(owner) {}

TWinControl::~TWinControl() {
  BeginDestroy();
  DestroyHandle();
  WindowObjects().ForgetControl(this);
  // Child controls still parented here go with their parent.
  while (!controls_.empty()) delete controls_.back();
}

void TWinControl::InsertControl(TControl* control) {
  controls_.push_back(control);
  if (auto* w = dynamic_cast<TWinControl*>(control)) tabList_.push_back(w);
}

void TWinControl::RemoveControl(TControl* control) {
  std::erase(controls_, control);
  if (mouseCapture_ == control) mouseCapture_ = nullptr;
  if (mouseOver_ == control) mouseOver_ = nullptr;
  // Called from the child's destructor too, when it is no longer a TWinControl:
  // compare addresses only.
  std::erase_if(tabList_, [control](TWinControl* w) { return static_cast<TControl*>(w) == control; });
}

int TWinControl::TabOrder() const {
  if (!Parent()) return -1;
  const auto& list = Parent()->tabList_;
  auto it = std::find(list.begin(), list.end(), this);
  return it == list.end() ? -1 : static_cast<int>(it - list.begin());
}

void TWinControl::SetTabOrder(int order) {
  if (!Parent()) return;
  auto& list = Parent()->tabList_;
  std::erase(list, this);
  if (order < 0) order = 0;
  if (order > static_cast<int>(list.size())) order = static_cast<int>(list.size());
  list.insert(list.begin() + order, this);
  // Keep the windows' z-order, which the dialog manager walks, in tab order.
  if (Parent()->HandleAllocated()) {
    HWND after = HWND_TOP;
    for (TWinControl* c : list) {
      if (!c->HandleAllocated()) continue;
      SetWindowPos(c->handle_, after, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
      after = c->handle_;
    }
  }
}

void TWinControl::SetTabStop(bool value) {
  if (value == tabStop_) return;
  tabStop_ = value;
  if (handle_) {
    LONG_PTR style = GetWindowLongPtrW(handle_, GWL_STYLE);
    style = value ? (style | WS_TABSTOP) : (style & ~static_cast<LONG_PTR>(WS_TABSTOP));
    SetWindowLongPtrW(handle_, GWL_STYLE, style);
  }
}

bool TWinControl::Focused() const { return handle_ && GetFocus() == handle_; }

bool TWinControl::CanFocus() const {
  for (const TWinControl* c = this; c; c = c->Parent())
    if (!c->Visible() || !c->Enabled()) return false;
  return true;
}

void TWinControl::SetFocus() { ::SetFocus(Handle()); }

HWND TWinControl::Handle() {
  if (!handle_) {
    if (Parent()) Parent()->HandleNeeded();
    if (!handle_) CreateWnd();
  }
  return handle_;
}

void TWinControl::CreateParams(TCreateParams& params) {
  params.Caption = caption_;
  params.Style = WS_CHILD | WS_CLIPSIBLINGS;
  if (visible_) params.Style |= WS_VISIBLE;
  if (!enabled_) params.Style |= WS_DISABLED;
  if (tabStop_) params.Style |= WS_TABSTOP;
  params.X = left_;
  params.Y = top_;
  params.Width = width_;
  params.Height = height_;
  if (Parent()) params.WndParent = Parent()->Handle();
  params.WinClassName = Utf8ToWide(ClassName());
  params.ExStyle |= RightToLeftExStyle();
}

void TWinControl::CreateSubClass(TCreateParams& params, const wchar_t* systemClass) {
  params.BaseClassName = systemClass;
}

void TWinControl::CreateWnd() {
  TCreateParams params;
  CreateParams(params);
  HINSTANCE instance = GetModuleHandleW(nullptr);

  auto& classes = Registered();
  auto it = classes.find(params.WinClassName);
  if (it == classes.end()) {
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof wc;
    WNDPROC original = DefWindowProcW;
    if (!params.BaseClassName.empty()) {
      // Extend the system class: same look and behaviour, our procedure first.
      if (!GetClassInfoExW(nullptr, params.BaseClassName.c_str(), &wc))
        throw Exception(L"Cannot find window class " + params.BaseClassName);
      original = wc.lpfnWndProc;
      wc.cbSize = sizeof wc;
    } else {
      wc.style = params.ClassStyle;
      wc.hCursor = LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_ARROW));
      // The framework erases its own classes with Color; a system class
      // keeps the brush its own painting relies on (the tab control's strip).
      wc.hbrBackground = nullptr;
    }
    wc.lpfnWndProc = &TWinControl::StdWndProc;
    wc.hInstance = instance;
    wc.lpszClassName = params.WinClassName.c_str();
    if (!RegisterClassExW(&wc) && GetLastError() != ERROR_CLASS_ALREADY_EXISTS)
      throw Exception(L"Cannot register window class " + params.WinClassName);
    it = classes.emplace(params.WinClassName, RegisteredClass{original, AccessibleClassIndex(params.BaseClassName)}).first;
  }
  defWndProc_ = it->second.original;
  ownClass_ = params.BaseClassName.empty();

  HWND wnd = nullptr;
  {
    // The first message of the new window binds it to this object.
    struct Creating {
      TWinControl* previous;
      explicit Creating(TWinControl* control) : previous(std::exchange(t_creating, control)) {}
      ~Creating() { t_creating = previous; }
    } creating(this);
    wnd = CreateWindowHandle(params);
  }
  if (!wnd) throw Exception(L"Error creating window");
  handle_ = wnd;
  SendMessageW(handle_, WM_SETFONT, reinterpret_cast<WPARAM>(font_.Handle()), FALSE);
  CreateWindowHandleDone();
  CreateChildHandles();
  UpdateBoundsFromWindow();
}

HWND TWinControl::CreateWindowHandle(const TCreateParams& params) {
  HMENU menu = (params.Style & WS_CHILD) ? reinterpret_cast<HMENU>(static_cast<INT_PTR>(NextControlId())) : params.Menu;
  return CreateWindowExW(params.ExStyle, params.WinClassName.c_str(), params.Caption.c_str(), params.Style, params.X,
                         params.Y, params.Width, params.Height, params.WndParent, menu, GetModuleHandleW(nullptr),
                         nullptr);
}

void TWinControl::CreateChildHandles() {
  for (TWinControl* child : std::vector<TWinControl*>(tabList_))
    if (!child->HandleAllocated()) child->CreateWnd();
}

void TWinControl::DestroyHandle() {
  if (!handle_) return;
  if (!IsDestroying()) WindowHandleDestroying();
  DestroyWindowHandle();  // WM_NCDESTROY clears handle_
  handle_ = nullptr;
}

void TWinControl::DestroyWindowHandle() { DestroyWindow(handle_); }

void TWinControl::RecreateWnd() {
  if (!handle_) return;
  const bool hadFocus = GetFocus() == handle_;
  DestroyHandle();
  HandleNeeded();
  // A new window comes last among its siblings: put it back in tab order.
  if (Parent()) SetTabOrder(TabOrder());
  if (hadFocus) ::SetFocus(handle_);
}

void TWinControl::SetBounds(int left, int top, int width, int height) {
  TControl::SetBounds(left, top, width, height);
  if (handle_) SetWindowPos(handle_, nullptr, left, top, width, height, SWP_NOZORDER | SWP_NOACTIVATE);
}

void TWinControl::UpdateBoundsFromWindow() {
  if (!handle_) return;
  RECT r;
  GetWindowRect(handle_, &r);
  if (HWND parent = GetParent(handle_); parent && (GetWindowLongPtrW(handle_, GWL_STYLE) & WS_CHILD))
    MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&r), 2);
  left_ = r.left;
  top_ = r.top;
  width_ = r.right - r.left;
  height_ = r.bottom - r.top;
}

RECT TWinControl::ClientRect() {
  RECT r{0, 0, width_, height_};
  if (handle_) GetClientRect(handle_, &r);
  return r;
}

void TWinControl::FontChanged() {
  if (handle_) {
    SendMessageW(handle_, WM_SETFONT, reinterpret_cast<WPARAM>(font_.Handle()), TRUE);
  }
  for (TControl* c : controls_)
    if (c->ParentFont()) c->SetParentFont(true);
}

void TWinControl::ColorChanged() {
  if (handle_) InvalidateRect(handle_, nullptr, TRUE);
  for (TControl* c : controls_)
    if (c->ParentColor()) c->SetParentColor(true);
}

void TWinControl::TextChanged() {
  if (handle_) SetWindowTextW(handle_, caption_.c_str());
}

void TWinControl::VisibleChanged() {
  if (!handle_) {
    if (!visible_ || IsLoading() || !Parent() || !Parent()->HandleAllocated()) return;
  }
  ShowWindow(Handle(), visible_ ? SW_SHOW : SW_HIDE);
}

void TWinControl::EnabledChanged() {
  if (handle_) EnableWindow(handle_, enabled_);
  TControl::EnabledChanged();
}

void TWinControl::BiDiModeChanged() {
  if (handle_) {
    const DWORD bits = WS_EX_RTLREADING | WS_EX_LEFTSCROLLBAR | WS_EX_RIGHT;
    const DWORD exStyle = (static_cast<DWORD>(GetWindowLongPtrW(handle_, GWL_EXSTYLE)) & ~bits) | RightToLeftExStyle();
    SetWindowLongPtrW(handle_, GWL_EXSTYLE, static_cast<LONG_PTR>(exStyle));
    InvalidateRect(handle_, nullptr, TRUE);
  }
  for (TControl* c : controls_)
    if (c->ParentBiDiMode()) c->SetParentBiDiMode(true);
}

bool TWinControl::DoContextPopup(TMessage& m) {
  POINT screen{static_cast<short>(LOWORD(m.LParam)), static_cast<short>(HIWORD(m.LParam))};
  const bool fromKeyboard = m.LParam == -1;
  TControl* target = this;
  if (fromKeyboard) {
    // The menu key: the menu opens at the control's top-left corner.
    screen = POINT{0, 0};
    ClientToScreen(handle_, &screen);
  } else {
    POINT local = screen;
    ScreenToClient(handle_, &local);
    if (TControl* child = GraphicChildAt(local); child && child->PopupMenu()) target = child;
  }
  TPopupMenu* menu = target->PopupMenu();
  if (!menu || !menu->AutoPopup) return false;
  // The menu's owner is the form (or MDI child) the control sits on, which
  // draws owner-drawn items and sees the menu's messages.
  menu->PopupComponent = target;
  menu->Popup(screen.x, screen.y, FormWindowOf(handle_));
  m.Result = 0;
  return true;
}

LRESULT TWinControl::ControlColors(WPARAM wParam) {
  HDC dc = reinterpret_cast<HDC>(wParam);
  SetTextColor(dc, ColorToRGB(font_.Color()));
  SetBkColor(dc, ColorToRGB(color_));
  return reinterpret_cast<LRESULT>(BrushHandle());
}

LRESULT TWinControl::SystemColors(const TMessage& reflected) {
  return DefaultCtlColors(GetParent(handle_), reflected.Msg - CN_BASE, reflected.WParam, reflected.LParam);
}

TWinControl* TWinControl::FindControl(HWND wnd) {
  if (!wnd) return nullptr;
  return WindowObjects().Find(wnd);
}

bool TWinControl::ReflectToChild(TMessage& m) {
  HWND child = nullptr;
  switch (m.Msg) {
    case WM_COMMAND:
    case WM_HSCROLL:
    case WM_VSCROLL:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX:
    case WM_CTLCOLORSCROLLBAR:
      child = reinterpret_cast<HWND>(m.LParam);
      break;
    case WM_NOTIFY:
      if (m.LParam) child = reinterpret_cast<const NMHDR*>(m.LParam)->hwndFrom;
      break;
    case WM_DRAWITEM:
      // Menu items name a menu, not a window; the menu's owner draws them.
      if (m.LParam && reinterpret_cast<const DRAWITEMSTRUCT*>(m.LParam)->CtlType != ODT_MENU)
        child = reinterpret_cast<const DRAWITEMSTRUCT*>(m.LParam)->hwndItem;
      break;
    default:
      return false;
  }
  const bool colours = IsCtlColorMessage(m.Msg);
  TWinControl* control = FindControl(child);
  if (!control || control == this) {
    // A system class answers for itself (a combo box hands its edit's and
    // list's messages on to its parent); in a class of ours a window not of
    // ours gets what nobody chose, in the scheme's colours.
    if (!colours || !ownClass_) return false;
    m.Result = DefaultCtlColors(handle_, m.Msg, m.WParam, m.LParam);
    return true;
  }
  m.Result = control->Perform(CN_BASE + m.Msg, m.WParam, m.LParam);
  if (colours && m.Result == 0) m.Result = DefaultCtlColors(handle_, m.Msg, m.WParam, m.LParam);
  return true;
}

TControl* TWinControl::GraphicChildAt(POINT p) const {
  for (auto it = controls_.rbegin(); it != controls_.rend(); ++it) {
    TControl* c = *it;
    if (c->IsWindowed() || !c->Visible()) continue;
    const RECT r = c->BoundsRect();
    if (PtInRect(&r, p)) return c;
  }
  return nullptr;
}

bool TWinControl::MouseToGraphicChild(TMessage& m) {
  const POINT p{static_cast<short>(LOWORD(m.LParam)), static_cast<short>(HIWORD(m.LParam))};
  TControl* target = mouseCapture_ ? mouseCapture_ : GraphicChildAt(p);
  if (m.Msg == WM_MOUSEMOVE) {
    TControl* over = GraphicChildAt(p);
    if (over != mouseOver_) {
      if (mouseOver_) mouseOver_->Perform(CM_MOUSELEAVE);
      mouseOver_ = over;
      if (over) over->Perform(CM_MOUSEENTER);
    }
  }
  if (!target) return false;
  if (m.Msg == WM_LBUTTONDOWN || m.Msg == WM_LBUTTONDBLCLK) {
    mouseCapture_ = target;
    SetCapture(handle_);
  }
  const LPARAM local = MAKELPARAM(p.x - target->Left(), p.y - target->Top());
  m.Result = target->Perform(m.Msg, m.WParam, local);
  if (m.Msg == WM_LBUTTONUP && mouseCapture_) {
    mouseCapture_ = nullptr;
    ReleaseCapture();
  }
  return true;
}

void TWinControl::PaintGraphicChildren(HDC dc) {
  for (TControl* c : std::vector<TControl*>(controls_)) {
    if (c->IsWindowed() || !c->Visible()) continue;
    const RECT r = c->BoundsRect();
    SavedDcState saved(dc);
    IntersectClipRect(dc, r.left, r.top, r.right, r.bottom);
    POINT origin;
    OffsetViewportOrgEx(dc, r.left, r.top, &origin);
    c->Perform(WM_PAINT, reinterpret_cast<WPARAM>(dc));
  }
}

void TWinControl::WndProc(TMessage& m) {
  switch (m.Msg) {
    case WM_LBUTTONDOWN:
    case WM_LBUTTONUP:
    case WM_LBUTTONDBLCLK:
      if (MouseToGraphicChild(m)) return;
      break;
    case WM_PAINT:
      if (ownClass_ && !m.WParam &&
          std::any_of(controls_.begin(), controls_.end(), [](TControl* c) { return !c->IsWindowed(); })) {
        PaintDc dc(handle_);
        PaintGraphicChildren(dc.get());
        m.Result = 0;
        return;
      }
      break;
    case WM_MOUSEMOVE:
      MouseToGraphicChild(m);
      if (!mouseInControl_) {
        mouseInControl_ = true;
        TRACKMOUSEEVENT tme{sizeof tme, TME_LEAVE, handle_, 0};
        TrackMouseEvent(&tme);
        Perform(CM_MOUSEENTER);
      }
      break;
    case WM_MOUSELEAVE:
      mouseInControl_ = false;
      if (mouseOver_) std::exchange(mouseOver_, nullptr)->Perform(CM_MOUSELEAVE);
      Perform(CM_MOUSELEAVE);
      break;
    case WM_KILLFOCUS:
      DefaultHandler(m);
      Perform(CM_EXIT);
      return;
    case WM_GETOBJECT:
      // A screen reader asking which system class this is: the one we extend.
      if (IsClassNameQuery(m.LParam)) {
        if (const LRESULT index = AccessibleClassIndexOf(handle_)) {
          m.Result = index;
          return;
        }
      }
      break;
    case WM_SYSCHAR:
      // Alt+letter while a control has the focus: the form it sits on
      // hears of it as a dialog character first (its menu, its controls).
      if (GetWindowLongPtrW(handle_, GWL_STYLE) & WS_CHILD) {
        TWinControl* root = FindControl(GetAncestor(handle_, GA_ROOT));
        if (root && root != this && root->Perform(CM_DIALOGCHAR, m.WParam, m.LParam)) {
          m.Result = 0;
          return;
        }
      }
      break;
    case WM_CONTEXTMENU:
      // Unanswered, the default procedure passes it on to the parent.
      if (DoContextPopup(m)) return;
      break;
    case WM_ERASEBKGND:
      if (ownClass_) {
        RECT r;
        GetClientRect(handle_, &r);
        FillRect(reinterpret_cast<HDC>(m.WParam), &r, BrushHandle());
        m.Result = 1;
        return;
      }
      break;
    case WM_WINDOWPOSCHANGED:
      DefaultHandler(m);
      UpdateBoundsFromWindow();
      return;
    case CN_CTLCOLORBTN:
    case CN_CTLCOLORSTATIC:
      m.Result = ControlColors(m.WParam);
      return;
    case CM_SYSCOLORCHANGE:
      ColorChanged();
      return;
    default:
      if (ReflectToChild(m)) return;
      break;
  }
  DefaultHandler(m);
}

void TWinControl::DefaultHandler(TMessage& m) {
  if (!handle_) {
    m.Result = 0;
    return;
  }
  // Framework notifications mean nothing to the system class.
  if (m.Msg >= CM_BASE && m.Msg < CM_BASE + 0x1000) {
    m.Result = 0;
    return;
  }
  m.Result = CallWindowProcW(defWndProc_ ? defWndProc_ : DefWindowProcW, handle_, m.Msg, m.WParam, m.LParam);
}

LRESULT CALLBACK TWinControl::StdWndProc(HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  auto* control = WindowObjects().Find(wnd);
  if (!control) {
    control = t_creating;
    if (!control) return DefWindowProcW(wnd, msg, wParam, lParam);
    t_creating = nullptr;
    control->handle_ = wnd;
    WindowObjects().Bind(wnd, control);
  }
  TMessage m{msg, wParam, lParam, 0};
  try {
    control->WindowProc(m);
  } catch (...) {
    HandleException(control);
  }
  if (msg == WM_NCDESTROY) {
    WindowObjects().Forget(wnd);
    if (control->handle_ == wnd) control->handle_ = nullptr;
    control->mouseInControl_ = false;
  }
  return m.Result;
}

void TWinControl::DeclareProperties(std::vector<TPropInfo>& list) {
  TPropBuilder<TWinControl> b(list);
  b.Integer("TabOrder", [](TWinControl& c) { return c.TabOrder(); }, [](TWinControl& c, int v) { c.SetTabOrder(v); });
  b.Boolean("TabStop", [](TWinControl& c) { return c.TabStop(); }, [](TWinControl& c, bool v) { c.SetTabStop(v); });
}

// ---------------------------------------------------------------------------
// TCustomControl

void TCustomControl::WndProc(TMessage& m) {
  if (m.Msg == WM_PAINT) {
    if (m.WParam) {
      Paint(reinterpret_cast<HDC>(m.WParam));
      PaintGraphicChildren(reinterpret_cast<HDC>(m.WParam));
    } else {
      PaintDc dc(handle_);
      Paint(dc.get());
      PaintGraphicChildren(dc.get());
    }
    m.Result = 0;
    return;
  }
  TWinControl::WndProc(m);
}

}  // namespace gui
