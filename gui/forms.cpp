#include "gui/forms.h"

#include "gui/actions.h"
#include "gui/formreader.h"
#include "gui/text.h"

namespace gui {

// ---------------------------------------------------------------------------
// TCustomForm

TCustomForm::TCustomForm(TComponent* owner) : TWinControl(owner) {
  visible_ = false;
  font_.SetName(L"MS Sans Serif");
  font_.SetHeight(-11);
  parentFont_ = false;
  parentColor_ = false;
  if (Application) Application->forms_.push_back(this);
}

TCustomForm::~TCustomForm() {
  BeginDestroy();
  if (OnDestroy) {
    try {
      OnDestroy(this);
    } catch (...) {
      gui::HandleException(this);
    }
  }
  // The window goes first, while the whole form still exists, then what it owns.
  DestroyHandle();
  DestroyComponents();
  if (Application) {
    std::erase(Application->forms_, this);
    if (Application->mainForm_ == this) Application->mainForm_ = nullptr;
  }
}

void TCustomForm::InitFromResource() {
  ReadFormResource(*this);
  AfterCreate();
}

void TCustomForm::InitFromText(std::string_view text) {
  ReadFormText(*this, text);
  AfterCreate();
}

void TCustomForm::AfterCreate() {
  // A form made for another density is laid out for the screen's before its
  // creation handler sees it.
  currentPixelsPerInch_ = pixelsPerInch_;
  const int screen = ScreenPixelsPerInch();
  if (scaled_ && screen != pixelsPerInch_) {
    ChangeScale(screen, pixelsPerInch_);
    currentPixelsPerInch_ = screen;
  }
  DoCreate();
  // An MDI child appears in its frame at once.
  if (formStyle_ == TFormStyle::fsMDIChild) Show();
}

void TCustomForm::ChangeScale(int m, int d) {
  const int clientWidth = MulDiv(ClientWidth(), m, d), clientHeight = MulDiv(ClientHeight(), m, d);
  if (!parentFont_) font_.SetHeight(MulDiv(font_.Height(), m, d));
  for (TControl* child : std::vector<TControl*>(Controls())) child->ChangeScale(m, d);
  SetClientWidth(clientWidth);
  SetClientHeight(clientHeight);
}

void TCustomForm::DpiChanged(int dpi, const RECT& suggested) {
  if (dpi <= 0 || dpi == currentPixelsPerInch_) return;
  if (scaled_) ChangeScale(dpi, currentPixelsPerInch_);
  currentPixelsPerInch_ = dpi;
  if (handle_)
    SetWindowPos(handle_, nullptr, suggested.left, suggested.top, suggested.right - suggested.left,
                 suggested.bottom - suggested.top, SWP_NOZORDER | SWP_NOACTIVATE);
}

void TCustomForm::DoCreate() {
  if (OnCreate) OnCreate(this);
}

void TCustomForm::SetBorderIcons(std::uint32_t icons) {
  if (icons == borderIcons_) return;
  borderIcons_ = icons;
  ApplyStyles();
}

void TCustomForm::SetBorderStyle(TFormBorderStyle style) {
  if (style == borderStyle_) return;
  borderStyle_ = style;
  ApplyStyles();
}

int TCustomForm::ClientWidth() {
  if (handle_) return ClientRect().right;
  return clientSizeSet_ ? clientWidth_ : width_;
}

int TCustomForm::ClientHeight() {
  if (handle_) return ClientRect().bottom;
  return clientSizeSet_ ? clientHeight_ : height_;
}

void TCustomForm::SetClientWidth(int w) {
  clientWidth_ = w;
  if (!clientSizeSet_) clientHeight_ = height_;
  clientSizeSet_ = true;
  ResizeToClient();
}

void TCustomForm::SetClientHeight(int h) {
  clientHeight_ = h;
  if (!clientSizeSet_) clientWidth_ = width_;
  clientSizeSet_ = true;
  ResizeToClient();
}

void TCustomForm::ResizeToClient() {
  if (!handle_) return;
  RECT window, client;
  GetWindowRect(handle_, &window);
  GetClientRect(handle_, &client);
  const int w = (window.right - window.left) - client.right + clientWidth_;
  const int h = (window.bottom - window.top) - client.bottom + clientHeight_;
  SetWindowPos(handle_, nullptr, 0, 0, w, h, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void TCustomForm::SetBounds(int left, int top, int width, int height) {
  if (width != width_ || height != height_) clientSizeSet_ = false;
  TWinControl::SetBounds(left, top, width, height);
}

void TCustomForm::UpdateBoundsFromWindow() {
  TWinControl::UpdateBoundsFromWindow();
  if (handle_ && !IsIconic(handle_)) {
    RECT client;
    GetClientRect(handle_, &client);
    clientWidth_ = client.right;
    clientHeight_ = client.bottom;
  }
}

namespace {

void FormStyles(std::uint32_t icons, TFormBorderStyle border, DWORD& style, DWORD& exStyle) {
  style = WS_CLIPCHILDREN | WS_CLIPSIBLINGS;
  exStyle = WS_EX_CONTROLPARENT;
  switch (border) {
    case TFormBorderStyle::bsNone: style |= WS_POPUP; icons = 0; break;
    case TFormBorderStyle::bsSingle: style |= WS_CAPTION | WS_BORDER; break;
    case TFormBorderStyle::bsSizeable: style |= WS_CAPTION | WS_THICKFRAME; break;
    case TFormBorderStyle::bsDialog:
      style |= WS_POPUP | WS_CAPTION | DS_MODALFRAME;
      exStyle |= WS_EX_DLGMODALFRAME;
      icons &= ~(biMinimize | biMaximize);
      break;
    case TFormBorderStyle::bsToolWindow: style |= WS_CAPTION; exStyle |= WS_EX_TOOLWINDOW; icons &= biSystemMenu; break;
    case TFormBorderStyle::bsSizeToolWin:
      style |= WS_CAPTION | WS_THICKFRAME;
      exStyle |= WS_EX_TOOLWINDOW;
      icons &= biSystemMenu;
      break;
  }
  if (icons & biSystemMenu) {
    style |= WS_SYSMENU;
    if (icons & biMinimize) style |= WS_MINIMIZEBOX;
    if (icons & biMaximize) style |= WS_MAXIMIZEBOX;
  }
}

}  // namespace

void TCustomForm::CreateParams(TCreateParams& params) {
  params.Caption = caption_;
  FormStyles(borderIcons_, borderStyle_, params.Style, params.ExStyle);
  if (!enabled_) params.Style |= WS_DISABLED;
  params.WinClassName = Utf8ToWide(ClassName());
  params.WndParent = nullptr;
  params.ExStyle |= RightToLeftExStyle();
  if (mirrored_) params.ExStyle |= WS_EX_LAYOUTRTL;
  if (formStyle_ == TFormStyle::fsStayOnTop) params.ExStyle |= WS_EX_TOPMOST;
  const bool mdiChild = formStyle_ == TFormStyle::fsMDIChild;
  if (mdiChild) {
    TCustomForm* frame = MDIFrame();
    if (!frame) throw Exception(L"Cannot create form. No MDI forms are currently active");
    frame->HandleNeeded();
    params.WndParent = frame->ClientHandle();
    params.Style = (params.Style & ~static_cast<DWORD>(WS_POPUP)) | WS_CHILD | (visible_ ? WS_VISIBLE : 0u);
    params.ExStyle |= WS_EX_MDICHILD;
  } else if (menu_) {
    params.Menu = menu_->Handle();
  }

  int w = width_, h = height_;
  if (clientSizeSet_) {
    RECT r{0, 0, clientWidth_, clientHeight_};
    AdjustWindowRectEx(&r, params.Style, params.Menu != nullptr, params.ExStyle);
    w = r.right - r.left;
    h = r.bottom - r.top;
  }
  params.Width = w;
  params.Height = h;
  if (mdiChild) {
    // Children placed by default cascade inside the client area.
    const bool defaultPos = position_ == TPosition::poDefault || position_ == TPosition::poDefaultPosOnly;
    const bool defaultSize = position_ == TPosition::poDefault || position_ == TPosition::poDefaultSizeOnly;
    params.X = defaultPos ? CW_USEDEFAULT : left_;
    params.Y = defaultPos ? CW_USEDEFAULT : top_;
    if (defaultSize) params.Width = params.Height = CW_USEDEFAULT;
    return;
  }
  switch (position_) {
    case TPosition::poScreenCenter:
    case TPosition::poDesktopCenter:
    case TPosition::poMainFormCenter:
    case TPosition::poOwnerFormCenter:
      params.X = (GetSystemMetrics(SM_CXSCREEN) - w) / 2;
      params.Y = (GetSystemMetrics(SM_CYSCREEN) - h) / 2;
      break;
    case TPosition::poDefault:
    case TPosition::poDefaultPosOnly:
      params.X = CW_USEDEFAULT;
      params.Y = CW_USEDEFAULT;
      break;
    default:
      params.X = left_;
      params.Y = top_;
      break;
  }
}

HWND TCustomForm::CreateWindowHandle(const TCreateParams& params) {
  if (formStyle_ != TFormStyle::fsMDIChild) return TWinControl::CreateWindowHandle(params);
  // The client creates its children, and lists them in the window menu.
  MDICREATESTRUCTW create{};
  create.szClass = params.WinClassName.c_str();
  create.szTitle = params.Caption.c_str();
  create.hOwner = GetModuleHandleW(nullptr);
  create.x = params.X;
  create.y = params.Y;
  create.cx = params.Width;
  create.cy = params.Height;
  create.style = params.Style;
  return reinterpret_cast<HWND>(SendMessageW(params.WndParent, WM_MDICREATE, 0, reinterpret_cast<LPARAM>(&create)));
}

void TCustomForm::DestroyWindowHandle() {
  if (formStyle_ == TFormStyle::fsMDIChild) {
    HWND client = GetParent(handle_);
    if (client && MDIFrame() && client == MDIFrame()->ClientHandle()) {
      MergeMenu(false);
      SendMessageW(client, WM_MDIDESTROY, reinterpret_cast<WPARAM>(handle_), 0);
      if (!IsWindow(handle_)) return;
    }
  }
  TWinControl::DestroyWindowHandle();
}

void TCustomForm::CreateWindowHandleDone() {
  if (!icon_.Empty()) {
    SendMessageW(handle_, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(icon_.Handle()));
    SendMessageW(handle_, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(icon_.SmallHandle()));
  }
  if (formStyle_ == TFormStyle::fsMDIForm) CreateClient();
}

void TCustomForm::CreateClient() {
  CLIENTCREATESTRUCT create{};
  create.hWindowMenu = windowMenu_ ? windowMenu_->Handle() : nullptr;
  create.idFirstChild = kFirstMDIChildId;
  RECT r;
  GetClientRect(handle_, &r);
  clientHandle_ = CreateWindowExW(WS_EX_CLIENTEDGE, L"MDIClient", nullptr,
                                  WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN | WS_CLIPSIBLINGS | WS_VSCROLL | WS_HSCROLL |
                                      MDIS_ALLCHILDSTYLES,
                                  0, 0, r.right, r.bottom, handle_, nullptr, GetModuleHandleW(nullptr), &create);
  if (!clientHandle_) throw Exception(L"Error creating window");
}

// --- menus -------------------------------------------------------------------

void TCustomForm::SetMenu(TMainMenu* menu) {
  if (menu == menu_) return;
  if (menu && menu->Window() && menu->Window() != this)
    if (auto* other = dynamic_cast<TCustomForm*>(menu->Window())) other->SetMenu(nullptr);
  if (menu_) {
    if (formStyle_ == TFormStyle::fsMDIChild) MergeMenu(false);
    menu_->SetWindow(nullptr);
    RemoveFreeNotification(menu_);
    if (handle_ && formStyle_ != TFormStyle::fsMDIChild) {
      ::SetMenu(handle_, nullptr);
      DrawMenuBar(handle_);
    }
  }
  menu_ = menu;
  if (!menu) {
    // A layer that drew the bar hears that there is none any more.
    if (handle_ && formStyle_ != TFormStyle::fsMDIChild) Perform(CM_MENUCHANGED);
    return;
  }
  FreeNotification(menu);
  menu->SetWindow(this);
  if (handle_) Perform(CM_MENUCHANGED);
  if (formStyle_ == TFormStyle::fsMDIChild && handle_ && MDIFrame() && MDIFrame()->ActiveMDIChild() == this)
    MergeMenu(true);
}

void TCustomForm::ShowMenuBar() {
  if (!menu_ || !handle_ || windowGoing_ || formStyle_ == TFormStyle::fsMDIChild) return;
  HMENU bar = menu_->Handle();
  if (formStyle_ == TFormStyle::fsMDIForm && clientHandle_) {
    // The client puts the bar on the frame and keeps the children's list
    // and a maximised child's buttons in it.
    SendMessageW(clientHandle_, WM_MDISETMENU, reinterpret_cast<WPARAM>(bar),
                 reinterpret_cast<LPARAM>(windowMenu_ ? windowMenu_->Handle() : nullptr));
  } else if (GetMenu(handle_) != bar) {
    ::SetMenu(handle_, bar);
  }
  DrawMenuBar(handle_);
}

void TCustomForm::MergeMenu(bool active) {
  TCustomForm* frame = MDIFrame();
  if (!frame || !frame->Menu() || frame == this) return;
  if (active) {
    frame->Menu()->Merge(menu_);
  } else {
    frame->Menu()->Unmerge(menu_);
  }
}

bool TCustomForm::IsShortCut(TShortCut shortCut) {
  if (shortCut == scNone) return false;
  if (menu_ && menu_->IsShortCut(shortCut)) return true;
  for (TComponent* component : Components())
    if (auto* action = dynamic_cast<TAction*>(component); action && action->ShortCut() == shortCut)
      return action->Execute();
  return false;
}

void TCustomForm::BiDiModeChanged() {
  TWinControl::BiDiModeChanged();
  if (menu_ && menu_->ParentBiDiMode()) {
    menu_->Rebuild();
    if (handle_) Perform(CM_MENUCHANGED);
  }
}

// --- MDI -------------------------------------------------------------------------

void TCustomForm::SetFormStyle(TFormStyle style) {
  if (style == formStyle_) return;
  const TFormStyle before = formStyle_;
  formStyle_ = style;
  if (style == TFormStyle::fsMDIChild) visible_ = true;  // MDI children are always shown
  if (!handle_) return;
  const auto plain = [](TFormStyle s) { return s == TFormStyle::fsNormal || s == TFormStyle::fsStayOnTop; };
  if (plain(before) && plain(style)) {
    SetWindowPos(handle_, style == TFormStyle::fsStayOnTop ? HWND_TOPMOST : HWND_NOTOPMOST, 0, 0, 0, 0,
                 SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  } else {
    RecreateWnd();
    // A form's window is made hidden; a form that was shown stays shown.
    if (visible_ && handle_ && !IsWindowVisible(handle_)) ShowWindow(handle_, SW_SHOW);
  }
}

void TCustomForm::SetMirrored(bool value) {
  if (value == mirrored_) return;
  mirrored_ = value;
  if (!handle_) return;
  // The controls take the layout when they are made: all are made again.
  RecreateWnd();
  if (visible_ && handle_ && !IsWindowVisible(handle_)) ShowWindow(handle_, SW_SHOW);
}

TCustomForm* TCustomForm::MDIFrame() const {
  const auto frame = [](TComponent* c) {
    auto* form = dynamic_cast<TCustomForm*>(c);
    return form && form->formStyle_ == TFormStyle::fsMDIForm ? form : nullptr;
  };
  if (TCustomForm* owner = frame(Owner())) return owner;
  return Application ? frame(Application->MainForm()) : nullptr;
}

void TCustomForm::SetWindowMenu(TMenuItem* item) {
  if (item == windowMenu_) return;
  if (windowMenu_) {
    windowMenu_->SetForcePopup(false);
    RemoveFreeNotification(windowMenu_);
  }
  windowMenu_ = item;
  if (item) {
    FreeNotification(item);
    item->SetForcePopup(true);
  }
  if (clientHandle_ && menu_ && item) {
    SendMessageW(clientHandle_, WM_MDISETMENU, reinterpret_cast<WPARAM>(menu_->Handle()),
                 reinterpret_cast<LPARAM>(item->Handle()));
    DrawMenuBar(handle_);
  }
}

std::vector<TCustomForm*> TCustomForm::MDIChildList() const {
  std::vector<TCustomForm*> list;
  if (!clientHandle_) return list;
  for (HWND w = GetWindow(clientHandle_, GW_CHILD); w; w = GetWindow(w, GW_HWNDNEXT))
    if (auto* form = dynamic_cast<TCustomForm*>(FindControl(w)); form && form->formStyle_ == TFormStyle::fsMDIChild)
      list.push_back(form);
  return list;
}

TCustomForm* TCustomForm::ActiveMDIChild() const {
  if (!clientHandle_) return nullptr;
  return dynamic_cast<TCustomForm*>(FindControl(reinterpret_cast<HWND>(SendMessageW(clientHandle_, WM_MDIGETACTIVE, 0, 0))));
}

int TCustomForm::MDIChildCount() const { return static_cast<int>(MDIChildList().size()); }

TCustomForm* TCustomForm::MDIChildren(int index) const {
  const std::vector<TCustomForm*> list = MDIChildList();
  return index >= 0 && index < static_cast<int>(list.size()) ? list[static_cast<std::size_t>(index)] : nullptr;
}

void TCustomForm::Tile() {
  if (clientHandle_)
    SendMessageW(clientHandle_, WM_MDITILE, tileMode_ == TTileMode::tbHorizontal ? MDITILE_HORIZONTAL : MDITILE_VERTICAL, 0);
}

void TCustomForm::Cascade() {
  if (clientHandle_) SendMessageW(clientHandle_, WM_MDICASCADE, 0, 0);
}

void TCustomForm::ArrangeIcons() {
  if (clientHandle_) SendMessageW(clientHandle_, WM_MDIICONARRANGE, 0, 0);
}

void TCustomForm::Next() {
  if (clientHandle_) SendMessageW(clientHandle_, WM_MDINEXT, 0, 0);
}

void TCustomForm::Previous() {
  if (clientHandle_) SendMessageW(clientHandle_, WM_MDINEXT, 0, 1);
}

void TCustomForm::Notification(TComponent* component, TOperation operation) {
  TWinControl::Notification(component, operation);
  if (operation != TOperation::opRemove) return;
  if (component == menu_) menu_ = nullptr;
  if (component == windowMenu_) windowMenu_ = nullptr;
}

void TCustomForm::ApplyStyles() {
  if (!handle_) return;
  DWORD style, exStyle;
  FormStyles(borderIcons_, borderStyle_, style, exStyle);
  const DWORD keep = WS_VISIBLE | WS_DISABLED | WS_MINIMIZE | WS_MAXIMIZE;
  const DWORD current = static_cast<DWORD>(GetWindowLongPtrW(handle_, GWL_STYLE));
  SetWindowLongPtrW(handle_, GWL_STYLE, static_cast<LONG_PTR>((current & keep) | style));
  SetWindowPos(handle_, nullptr, 0, 0, 0, 0,
               SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
}

void TCustomForm::Show() {
  SetVisible(true);
  if (formStyle_ == TFormStyle::fsMDIChild) {
    HandleNeeded();
    ShowWindow(handle_, SW_SHOW);
    SendMessageW(GetParent(handle_), WM_MDIACTIVATE, reinterpret_cast<WPARAM>(handle_), 0);
    // The frame's window menu lists the new child; whoever watches the
    // client learns here that the child is complete.
    SendMessageW(GetParent(handle_), WM_MDIREFRESHMENU, 0, 0);
    if (TCustomForm* frame = MDIFrame(); frame && frame->HandleAllocated()) DrawMenuBar(frame->Handle());
    return;
  }
  HandleNeeded();
  ShowWindow(handle_, SW_SHOWNORMAL);
  SetForegroundWindow(handle_);
}

void TCustomForm::Close() {
  TCloseAction action = formStyle_ == TFormStyle::fsMDIChild ? TCloseAction::caFree : TCloseAction::caHide;
  if (OnClose) OnClose(this, action);
  if (action == TCloseAction::caNone) return;
  if (Application && Application->MainForm() == this) {
    Application->Terminate();
    return;
  }
  switch (action) {
    case TCloseAction::caMinimize:
      if (handle_) ShowWindow(handle_, SW_MINIMIZE);
      break;
    case TCloseAction::caFree:
      Release();
      break;
    default:
      SetVisible(false);
      break;
  }
}

void TCustomForm::Release() {
  // Not at once: the form may be deep inside its own message handling.
  if (Application) PostMessageW(Application->Handle(), TApplication::kReleaseForm, 0, reinterpret_cast<LPARAM>(this));
}

void TCustomForm::WndProc(TMessage& m) {
  switch (m.Msg) {
    case WM_CLOSE:
      Close();
      m.Result = 0;
      return;
    case WM_SYSCHAR:
      // Alt+letter: the form's own dialog character first (through its
      // window method, where a layer in front may answer it).
      if (Perform(CM_DIALOGCHAR, m.WParam, m.LParam)) {
        m.Result = 0;
        return;
      }
      break;
    case CM_DIALOGCHAR: {
      // The controls' accelerators.
      std::vector<TControl*> pending(Controls().begin(), Controls().end());
      for (std::size_t i = 0; i < pending.size(); ++i) {
        if (pending[i]->Perform(CM_DIALOGCHAR, m.WParam, m.LParam)) {
          m.Result = 1;
          return;
        }
        if (auto* w = dynamic_cast<TWinControl*>(pending[i]))
          pending.insert(pending.end(), w->Controls().begin(), w->Controls().end());
      }
      m.Result = 0;
      return;
    }
    case WM_SHOWWINDOW:
      visible_ = m.WParam != 0;
      break;
    case 0x02E0:  // WM_DPICHANGED: the window moved to a screen of another density
      if (m.LParam) DpiChanged(LOWORD(m.WParam), *reinterpret_cast<const RECT*>(m.LParam));
      m.Result = 0;
      return;
    case WM_COMMAND:
      // A menu item chosen (from any of our menus: command ids are unique).
      if (HIWORD(m.WParam) == 0 && m.LParam == 0) {
        if (TMenuItem* item = TMenuItem::FromCommand(LOWORD(m.WParam))) {
          item->Click();
          m.Result = 0;
          return;
        }
      }
      break;
    case WM_INITMENU:
      if (menu_ && reinterpret_cast<HMENU>(m.WParam) == menu_->Handle()) menu_->InitiateActions();
      break;
    case WM_INITMENUPOPUP:
      // A submenu about to open: its items' actions update, then the parent
      // item is clicked, as a click on a bar item does under the skin.
      if (!HIWORD(m.LParam)) {
        TMenuItem* item = TMenuItem::FromMenuHandle(reinterpret_cast<HMENU>(m.WParam));
        if (item && item->ParentItem()) {
          item->InitiatePopup();
          item->Click();
        }
      }
      break;
    case WM_MEASUREITEM:
      if (m.LParam && TMenu::MeasureItem(*reinterpret_cast<MEASUREITEMSTRUCT*>(m.LParam))) {
        m.Result = TRUE;
        return;
      }
      break;
    case WM_DRAWITEM:
      if (m.LParam && TMenu::DrawItem(*reinterpret_cast<const DRAWITEMSTRUCT*>(m.LParam))) {
        m.Result = TRUE;
        return;
      }
      break;
    case CM_MENUCHANGED:
      ShowMenuBar();
      m.Result = 0;
      return;
    case WM_MDIACTIVATE:
      if (formStyle_ == TFormStyle::fsMDIChild) MergeMenu(reinterpret_cast<HWND>(m.LParam) == handle_);
      break;
    case WM_DESTROY:
      windowGoing_ = true;
      if (formStyle_ == TFormStyle::fsMDIChild) MergeMenu(false);
      // The system would destroy the bar with the window; it is the menu's.
      if (!(GetWindowLongPtrW(handle_, GWL_STYLE) & WS_CHILD) && TMenuItem::FromMenuHandle(GetMenu(handle_)))
        ::SetMenu(handle_, nullptr);
      break;
    case WM_NCDESTROY:
      windowGoing_ = false;
      clientHandle_ = nullptr;
      break;
    default:
      break;
  }
  TWinControl::WndProc(m);
}

void TCustomForm::DefaultHandler(TMessage& m) {
  const bool framework = m.Msg >= CM_BASE && m.Msg < CM_BASE + 0x1000;
  if (handle_ && !framework) {
    if (formStyle_ == TFormStyle::fsMDIForm) {
      m.Result = DefFrameProcW(handle_, clientHandle_, m.Msg, m.WParam, m.LParam);
      return;
    }
    if (formStyle_ == TFormStyle::fsMDIChild) {
      m.Result = DefMDIChildProcW(handle_, m.Msg, m.WParam, m.LParam);
      return;
    }
  }
  TWinControl::DefaultHandler(m);
}

void TCustomForm::DeclareProperties(std::vector<TPropInfo>& list) {
  TPropBuilder<TCustomForm> b(list);
  b.Set("BorderIcons", {"biSystemMenu", "biMinimize", "biMaximize", "biHelp"},
        [](TCustomForm& f) { return f.BorderIcons(); }, [](TCustomForm& f, std::uint32_t v) { f.SetBorderIcons(v); });
  b.Enumeration("BorderStyle", {"bsNone", "bsSingle", "bsSizeable", "bsDialog", "bsToolWindow", "bsSizeToolWin"},
                [](TCustomForm& f) { return static_cast<int>(f.BorderStyle()); },
                [](TCustomForm& f, int v) { f.SetBorderStyle(static_cast<TFormBorderStyle>(v)); });
  b.Enumeration("Position",
                {"poDesigned", "poDefault", "poDefaultPosOnly", "poDefaultSizeOnly", "poScreenCenter",
                 "poDesktopCenter", "poMainFormCenter", "poOwnerFormCenter"},
                [](TCustomForm& f) { return static_cast<int>(f.Position()); },
                [](TCustomForm& f, int v) { f.SetPosition(static_cast<TPosition>(v)); });
  b.Integer("ClientWidth", [](TCustomForm& f) { return f.ClientWidth(); },
            [](TCustomForm& f, int v) { f.SetClientWidth(v); });
  b.Integer("ClientHeight", [](TCustomForm& f) { return f.ClientHeight(); },
            [](TCustomForm& f, int v) { f.SetClientHeight(v); });
  b.Object("Icon", [](TCustomForm& f) -> TObject* { return &f.Icon(); });
  b.Integer("PixelsPerInch", [](TCustomForm& f) { return f.PixelsPerInch(); },
            [](TCustomForm& f, int v) { f.SetPixelsPerInch(v); });
  b.Boolean("Scaled", [](TCustomForm& f) { return f.Scaled(); }, [](TCustomForm& f, bool v) { f.SetScaled(v); });
  b.Integer("TextHeight", [](TCustomForm&) { return 13; }, [](TCustomForm&, int) {});
  b.Boolean("AutoScroll", [](TCustomForm&) { return false; }, [](TCustomForm&, bool) {});
  b.Enumeration("FormStyle", {"fsNormal", "fsMDIChild", "fsMDIForm", "fsStayOnTop"},
                [](TCustomForm& f) { return static_cast<int>(f.FormStyle()); },
                [](TCustomForm& f, int v) { f.SetFormStyle(static_cast<TFormStyle>(v)); });
  b.Boolean("Mirrored", [](TCustomForm& f) { return f.Mirrored(); }, [](TCustomForm& f, bool v) { f.SetMirrored(v); });
  b.Enumeration("TileMode", {"tbHorizontal", "tbVertical"}, [](TCustomForm& f) { return static_cast<int>(f.TileMode()); },
                [](TCustomForm& f, int v) { f.SetTileMode(static_cast<TTileMode>(v)); });
  b.Component<TMainMenu>("Menu", [](TCustomForm& f) { return f.Menu(); },
                         [](TCustomForm& f, TMainMenu* m) { f.SetMenu(m); });
  b.Component<TMenuItem>("WindowMenu", [](TCustomForm& f) { return f.WindowMenu(); },
                         [](TCustomForm& f, TMenuItem* i) { f.SetWindowMenu(i); });
  b.Event("OnCreate", &TCustomForm::OnCreate);
  b.Event("OnDestroy", &TCustomForm::OnDestroy);
}

}  // namespace gui
