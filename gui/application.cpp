#include "gui/application.h"

#include <algorithm>
#include <optional>
#include <utility>

#include "gui/actions.h"
#include "gui/forms.h"
#include "gui/text.h"

namespace gui {

TApplication* Application = nullptr;

namespace {
TErrorReport& ErrorReport() {
  static TErrorReport report;
  return report;
}

// The message of the exception being handled; none for one that carries no
// message of ours or the library's.
std::optional<std::wstring> MessageOfCurrentException() {
  try {
    throw;
  } catch (const Exception& e) {
    return e.Message();
  } catch (const std::exception& e) {
    return AnsiToWide(e.what());
  } catch (...) {
    return std::nullopt;
  }
}
}  // namespace

TErrorReport SetErrorReport(TErrorReport report) { return std::exchange(ErrorReport(), std::move(report)); }

void HandleException(TObject* sender) {
  if (Application) {
    Application->HandleException(sender);
    return;
  }
  const std::optional<std::wstring> caught = MessageOfCurrentException();
  if (!caught) return;
  const std::wstring& message = *caught;
  // The report must not throw back into the system's frame that called us.
  if (ErrorReport()) {
    try {
      ErrorReport()(message);
    } catch (...) {
    }
    return;
  }
  MessageBoxW(nullptr, message.c_str(), L"Error", MB_OK | MB_ICONSTOP);
}

TApplication::TApplication() : TComponent(nullptr) {
  SetName("Application");
  Application = this;
  CreateHandle(L"TApplication", 0, WS_POPUP | WS_CAPTION | WS_CLIPSIBLINGS | WS_SYSMENU | WS_MINIMIZEBOX,
               LoadIconW(GetModuleHandleW(nullptr), L"MAINICON"));
}

TApplication::~TApplication() {
  BeginDestroy();
  DestroyComponents();
  DestroyHandle();
  if (Application == this) Application = nullptr;
}

LRESULT TApplication::HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
  if (msg == kReleaseForm) {
    auto* form = reinterpret_cast<TCustomForm*>(lParam);
    // Only a form still alive: it may have been freed since the request.
    if (std::find(forms_.begin(), forms_.end(), form) != forms_.end()) {
      try {
        delete form;
      } catch (...) {
        gui::HandleException(this);
      }
    }
    return 0;
  }
  return DefaultHandler(msg, wParam, lParam);
}

void TApplication::SetTitle(const std::wstring& title) {
  title_ = title;
  if (Handle()) SetWindowTextW(Handle(), title_.c_str());
}

void TApplication::Notification(TComponent* component, TOperation operation) {
  if (operation == TOperation::opRemove && component == mainForm_) mainForm_ = nullptr;
}

void TApplication::Terminate() {
  terminated_ = true;
  PostQuitMessage(0);
}

bool TApplication::IsShortCutKey(const MSG& msg) {
  if (msg.message != WM_KEYDOWN && msg.message != WM_SYSKEYDOWN) return false;
  const TShortCut shortCut = ShortCutFromKey(static_cast<WORD>(msg.wParam));
  // The form the key is meant for; from an MDI child, its frame next.
  for (HWND w = msg.hwnd; w;) {
    if (auto* form = dynamic_cast<TCustomForm*>(TWinControl::FindControl(w))) {
      if (form->IsShortCut(shortCut)) return true;
      if (form->FormStyle() != TFormStyle::fsMDIChild) return false;
    }
    w = (GetWindowLongPtrW(w, GWL_STYLE) & WS_CHILD) ? GetParent(w) : nullptr;
  }
  return false;
}

// The focused control and its parents, innermost first, may take a dialog
// key before an MDI frame and the dialog manager see it (a page control
// turns its pages on Ctrl+Tab); not while the focused control wants every
// key itself (a multi-line edit types a tab on Ctrl+Tab).
bool TApplication::IsControlKey(MSG& msg) {
  if (msg.message != WM_KEYDOWN || !msg.hwnd) return false;
  switch (msg.wParam) {
    case VK_TAB: case VK_RETURN: case VK_ESCAPE: case VK_PRIOR: case VK_NEXT:
    case VK_LEFT: case VK_RIGHT: case VK_UP: case VK_DOWN:
      break;
    default:
      return false;
  }
  if (SendMessageW(msg.hwnd, WM_GETDLGCODE, msg.wParam, reinterpret_cast<LPARAM>(&msg)) & DLGC_WANTMESSAGE)
    return false;
  const auto offer = [&msg](HWND w) {
    TWinControl* control = TWinControl::FindControl(w);
    if (!control) return false;
    TMessage m{CM_DIALOGKEY, msg.wParam, msg.lParam, 0};
    control->WindowProc(m);
    return m.Result != 0;
  };
  for (HWND w = msg.hwnd; w; w = (GetWindowLongPtrW(w, GWL_STYLE) & WS_CHILD) ? GetParent(w) : nullptr)
    if (offer(w)) return true;
  // Nothing inside the form has the focus yet (the form itself has it, as
  // at start-up): the controls it shows are offered the key, first to last,
  // so that Ctrl+Tab still turns its pages. An MDI child's controls are its
  // own.
  if (!dynamic_cast<TCustomForm*>(TWinControl::FindControl(msg.hwnd))) return false;
  std::vector<HWND> pending{msg.hwnd};
  while (!pending.empty()) {
    HWND parent = pending.back();
    pending.pop_back();
    std::vector<HWND> children;
    for (HWND child = GetWindow(parent, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT))
      if (IsWindowVisible(child) && !(GetWindowLongPtrW(child, GWL_EXSTYLE) & WS_EX_MDICHILD))
        children.push_back(child);
    for (HWND child : children)
      if (offer(child)) return true;
    pending.insert(pending.end(), children.rbegin(), children.rend());
  }
  return false;
}

bool TApplication::IsMDIKey(MSG& msg) {
  if (msg.message != WM_KEYDOWN && msg.message != WM_SYSKEYDOWN) return false;
  auto* frame = dynamic_cast<TCustomForm*>(TWinControl::FindControl(GetAncestor(msg.hwnd, GA_ROOT)));
  return frame && frame->FormStyle() == TFormStyle::fsMDIForm && frame->ClientHandle() &&
         TranslateMDISysAccel(frame->ClientHandle(), &msg);
}

bool TApplication::IsDialogKey(MSG& msg) {
  if (msg.message < WM_KEYFIRST || msg.message > WM_KEYLAST) return false;
  HWND dialog = GetAncestor(msg.hwnd, GA_ROOT);
  auto* form = dynamic_cast<TCustomForm*>(TWinControl::FindControl(dialog));
  if (!form) return false;
  if (form->FormStyle() == TFormStyle::fsMDIForm) {
    // Inside an MDI frame the child holding the focus is the dialog.
    HWND client = form->ClientHandle();
    HWND child = msg.hwnd;
    while (child && child != dialog && GetParent(child) != client) child = GetParent(child);
    if (!child || child == dialog || !client) return false;
    dialog = child;
  }
  return IsDialogMessageW(dialog, &msg) != FALSE;
}

bool TApplication::ProcessMessage() {
  MSG msg;
  if (!PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) return false;
  if (msg.message == WM_QUIT) {
    terminated_ = true;
    return true;
  }
  try {
    if (IsShortCutKey(msg)) return true;
  } catch (...) {
    HandleException(this);
    return true;
  }
  if (!IsControlKey(msg) && !IsMDIKey(msg) && !IsDialogKey(msg)) {
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
  return true;
}

void TApplication::Idle() {
  try {
    TAction::UpdateAll();
    if (OnIdle) OnIdle(this);
  } catch (...) {
    HandleException(this);
  }
}

void TApplication::ProcessMessages() {
  while (ProcessMessage()) {
  }
}

void TApplication::Run() {
  if (mainForm_) mainForm_->Show();
  while (!terminated_) {
    if (ProcessMessage()) continue;
    Idle();
    if (!terminated_) WaitMessage();
  }
}

void TApplication::HandleException(TObject* sender) {
  ReportError(sender, MessageOfCurrentException().value_or(L"Unknown error"));
}

void TApplication::ReportError(TObject* sender, const std::wstring& message) {
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
