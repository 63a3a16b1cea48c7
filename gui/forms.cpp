#include "gui/forms.h"

#include <algorithm>

#include "gui/formreader.h"
#include "gui/text.h"

namespace gui {

TApplication* Application = nullptr;

void HandleException(TObject* sender) {
  if (Application) {
    Application->HandleException(sender);
    return;
  }
  try {
    throw;
  } catch (const std::exception& e) {
    MessageBoxA(nullptr, e.what(), "Error", MB_OK | MB_ICONSTOP);
  } catch (...) {
  }
}

// ---------------------------------------------------------------------------
// TCustomForm

TCustomForm::TCustomForm(TComponent* owner) : TWinControl(owner) {
  visible_ = false;
  font_.SetName(L"MS Sans Serif");
  font_.SetHeight(-11);
  parentFont_ = false;
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
  DoCreate();
}

void TCustomForm::InitFromText(std::string_view text) {
  ReadFormText(*this, text);
  DoCreate();
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

  int w = width_, h = height_;
  if (clientSizeSet_) {
    RECT r{0, 0, clientWidth_, clientHeight_};
    AdjustWindowRectEx(&r, params.Style, FALSE, params.ExStyle);
    w = r.right - r.left;
    h = r.bottom - r.top;
  }
  params.Width = w;
  params.Height = h;
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

void TCustomForm::CreateWindowHandleDone() {
  if (!icon_.Empty()) {
    SendMessageW(handle_, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(icon_.Handle()));
    SendMessageW(handle_, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(icon_.SmallHandle()));
  }
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
  if (handle_) {
    ShowWindow(handle_, SW_SHOWNORMAL);
    SetForegroundWindow(handle_);
  }
}

void TCustomForm::Close() {
  if (Application && Application->MainForm() == this) {
    Application->Terminate();
    return;
  }
  SetVisible(false);
}

void TCustomForm::WndProc(TMessage& m) {
  switch (m.Msg) {
    case WM_CLOSE:
      Close();
      m.Result = 0;
      return;
    case WM_SYSCHAR: {
      // Alt+letter: give the controls a chance at their accelerators.
      std::vector<TControl*> pending(Controls().begin(), Controls().end());
      for (std::size_t i = 0; i < pending.size(); ++i) {
        if (pending[i]->Perform(CM_DIALOGCHAR, m.WParam, m.LParam)) {
          m.Result = 0;
          return;
        }
        if (auto* w = dynamic_cast<TWinControl*>(pending[i]))
          pending.insert(pending.end(), w->Controls().begin(), w->Controls().end());
      }
      break;
    }
    case WM_SHOWWINDOW:
      visible_ = m.WParam != 0;
      break;
    default:
      break;
  }
  TWinControl::WndProc(m);
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
  // Kept for the form description; the framework always works at 96 pixels per inch.
  b.Integer("PixelsPerInch", [](TCustomForm&) { return 96; }, [](TCustomForm&, int) {});
  b.Integer("TextHeight", [](TCustomForm&) { return 13; }, [](TCustomForm&, int) {});
  b.Boolean("AutoScroll", [](TCustomForm&) { return false; }, [](TCustomForm&, bool) {});
  b.Event("OnCreate", &TCustomForm::OnCreate);
  b.Event("OnDestroy", &TCustomForm::OnDestroy);
}

// ---------------------------------------------------------------------------
// TApplication

TApplication::TApplication() : TComponent(nullptr) {
  SetName("Application");
  Application = this;
  HINSTANCE instance = GetModuleHandleW(nullptr);
  WNDCLASSEXW wc{};
  wc.cbSize = sizeof wc;
  wc.lpfnWndProc = &TApplication::WindowProcedure;
  wc.hInstance = instance;
  wc.lpszClassName = L"TApplication";
  wc.hIcon = LoadIconW(instance, L"MAINICON");
  RegisterClassExW(&wc);
  handle_ = CreateWindowExW(0, L"TApplication", L"", WS_POPUP | WS_CAPTION | WS_CLIPSIBLINGS | WS_SYSMENU | WS_MINIMIZEBOX,
                            0, 0, 0, 0, nullptr, nullptr, instance, nullptr);
}

TApplication::~TApplication() {
  BeginDestroy();
  DestroyComponents();
  if (handle_) DestroyWindow(handle_);
  if (Application == this) Application = nullptr;
}

LRESULT CALLBACK TApplication::WindowProcedure(HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  return DefWindowProcW(wnd, msg, wParam, lParam);
}

void TApplication::SetTitle(const std::wstring& title) {
  title_ = title;
  if (handle_) SetWindowTextW(handle_, title_.c_str());
}

void TApplication::Notification(TComponent* component, TOperation operation) {
  if (operation == TOperation::opRemove && component == mainForm_) mainForm_ = nullptr;
}

void TApplication::Terminate() {
  terminated_ = true;
  PostQuitMessage(0);
}

bool TApplication::IsDialogKey(MSG& msg) {
  if (msg.message < WM_KEYFIRST || msg.message > WM_KEYLAST) return false;
  HWND root = GetAncestor(msg.hwnd, GA_ROOT);
  if (!dynamic_cast<TCustomForm*>(TWinControl::FindControl(root))) return false;
  return IsDialogMessageW(root, &msg) != FALSE;
}

bool TApplication::ProcessMessage() {
  MSG msg;
  if (!PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) return false;
  if (msg.message == WM_QUIT) {
    terminated_ = true;
    return true;
  }
  if (!IsDialogKey(msg)) {
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
  return true;
}

void TApplication::ProcessMessages() {
  while (ProcessMessage()) {
  }
}

void TApplication::Run() {
  if (mainForm_) mainForm_->Show();
  while (!terminated_) {
    if (!ProcessMessage()) WaitMessage();
  }
}

void TApplication::HandleException(TObject* sender) {
  std::wstring message;
  try {
    throw;
  } catch (const Exception& e) {
    message = e.Message();
  } catch (const std::exception& e) {
    message = AnsiToWide(e.what());
  } catch (...) {
    message = L"Unknown error";
  }
  if (OnException) {
    OnException(sender, message);
    return;
  }
  ShowException(message);
}

void TApplication::ShowException(const std::wstring& message) {
  std::wstring text = message;
  // Like the standard report everywhere: a sentence ends with a full stop.
  if (!text.empty() && text.back() > L'.') text += L'.';
  MessageBoxW(GetActiveWindow(), text.c_str(), title_.c_str(), MB_OK | MB_ICONSTOP);
}

}  // namespace gui
