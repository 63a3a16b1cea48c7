#include "skin/form/skin_form.h"

#include "skin/form/control_discovery.h"
#include "skin/form/title_bar_facts.h"

#include <commctrl.h>

#include <algorithm>
#include <cstddef>
#include <cstring>
#include <memory>
#include <mutex>
#include <utility>
#include <vector>

#include "gui/color_scheme.h"
#include "gui/forms.h"
#include "gui/menus.h"
#include "gui/timer.h"
#include "skin/data/skin_data.h"
#include "skin/data/skin_protocol.h"

namespace skin {

std::wstring WindowText(HWND wnd) {
  wchar_t text[1001] = {};
  const LRESULT length = SendMessageW(wnd, WM_GETTEXT, 1001, reinterpret_cast<LPARAM>(text));
  return std::wstring(text, length > 0 ? static_cast<std::size_t>(length) : 0);
}

namespace {

// One font for each caption font asked for, while any skinned window has it:
// every window of a program takes the same one from the system's metrics.
std::shared_ptr<const gui::FontHandle> SharedCaptionFont(const LOGFONTW& font) {
  // Never destroyed: a skinner in static storage may let go of it during exit.
  static auto* const guard = new std::mutex;
  static auto* const cache = new std::vector<std::pair<LOGFONTW, std::weak_ptr<const gui::FontHandle>>>;
  const std::lock_guard lock(*guard);
  std::erase_if(*cache, [](const auto& entry) { return entry.second.expired(); });
  for (const auto& [key, shared] : *cache)
    if (std::memcmp(&key, &font, sizeof font) == 0)
      if (auto alive = shared.lock()) return alive;
  auto made = std::make_shared<const gui::FontHandle>(CreateFontIndirectW(&font));
  if (!*made) return nullptr;
  cache->emplace_back(font, made);
  return made;
}

}  // namespace

TWinSkinForm::TWinSkinForm(HWND wnd, ISkinnerHost* host, TSkinData* data, gui::TCustomForm* form)
    : gui::TComponent(form), wnd_(wnd), host_(host), skinData_(data), form_(form) {
  if (form) form->FreeNotification(this);
  doubleClickTime_ = GetDoubleClickTime();
  LoadCaptionFont();
}

TWinSkinForm* MakeFormSkinner(HWND wnd, ISkinnerHost* host, TSkinData& data, gui::TCustomForm* form,
                              std::unique_ptr<TWinSkinForm>& owned) {
  auto skinner = std::make_unique<TWinSkinForm>(wnd, host, &data, form);
  // A failed attach leaves the window as it was; the skinner goes.
  if (!skinner->Attach()) return nullptr;
  PostMessageW(wnd, SkinMsgAttached, 0, 1000);
  TWinSkinForm* made = skinner.get();
  if (form) {
    skinner.release();  // the form's component from now on
  } else {
    owned = std::move(skinner);
  }
  return made;
}

TWinSkinForm::~TWinSkinForm() {
  BeginDestroy();
  *alive_ = false;
  Restore(TRestoreMode::SkinnerFreed);
  FreeSysButtons();
  if (CurrentMenuTracking().Form == this) RemoveMenuFilterHook();
  if (host_) host_->FormSkinnerGone(this);
}

void TWinSkinForm::Free(TWinSkinForm* skinner, std::unique_ptr<TWinSkinForm> owned) {
  if (!owned) {
    // Only the framework form's own component is handed over here.
    if (gui::TComponent* form = skinner->Owner()) form->RemoveComponent(skinner);
    owned.reset(skinner);
  }
  if (skinner->busy_ > 0) {
    skinner->host_ = nullptr;
    skinner->self_ = std::move(owned);
  }
}

void TWinSkinForm::Notification(gui::TComponent* component, gui::TOperation operation) {
  gui::TComponent::Notification(component, operation);
  // A form that goes while its skinner waits for a new window leaves
  // nothing of itself to give back.
  if (operation == gui::TOperation::opRemove && component == form_) form_ = nullptr;
}

bool TWinSkinForm::Attach() { return form_ ? AttachToForm() : AttachToWindow(); }

void TWinSkinForm::LoadCaptionFont() {
  NONCLIENTMETRICSW metrics{};
  metrics.cbSize = sizeof(metrics);  // built for XP: without the padded-border field
  if (SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, metrics.cbSize, &metrics, 0))
    captionFont_ = SharedCaptionFont(metrics.lfCaptionFont);
}

bool TWinSkinForm::AttachToForm() {
  gui::TCustomForm* form = form_;
  TSkinData* data = skinData_;
  if (data->HasControl(xcMainMenu))
    formHook_.Attach(form, [this](gui::TMessage& message) { FormWindowMethod(message); });
  try {
    if (!AttachToWindow()) {
      formHook_.Detach();
      return false;
    }
  } catch (...) {
    formHook_.Detach();
    throw;
  }
  savedColor_ = form->Color();
  form->SetColor(data->Skin().Colours.ButtonFace);
  if (data->HasControl(xcMainMenu)) popups_.TakeOver(*form, *data);
  return true;
}

void TWinSkinForm::FollowExStyle(DWORD exStyle) {
  facts_.RightToLeft = (exStyle & WS_EX_LEFTSCROLLBAR) != 0;
  facts_.Mirrored = (exStyle & WS_EX_LAYOUTRTL) != 0;
}

void TWinSkinForm::ReadWindowFacts() {
  facts_.Style = static_cast<DWORD>(GetWindowLongPtrW(wnd_, GWL_STYLE));
  styleBeforeAttach_ = facts_.Style;
  const DWORD style = facts_.Style;
  const auto exStyle = static_cast<DWORD>(GetWindowLongPtrW(wnd_, GWL_EXSTYLE));
  FollowExStyle(exStyle);
  systemMenu_ = GetSystemMenu(wnd_, FALSE);
  windowClass_ = WindowClassName(wnd_);
  ownerWindow_ = GetWindow(wnd_, GW_OWNER);
  GetClientRect(wnd_, &clientRect_);
  RECT window{};
  GetWindowRect(wnd_, &window);
  nativeFrameSize_ = RECT{0, 0, (window.right - window.left) - clientRect_.right,
                          (window.bottom - window.top) - clientRect_.bottom};
  facts_.WindowButtons = 0;
  if ((style & WS_SYSMENU) || systemMenu_) facts_.WindowButtons |= wbSystemMenu;
  if (style & WS_MINIMIZEBOX) facts_.WindowButtons |= wbMinimize;
  if (style & WS_MAXIMIZEBOX) facts_.WindowButtons |= wbMaximize;
  facts_.Kind = fkOther;
  if ((style & WS_POPUP) && (style & WS_CAPTION) != WS_CAPTION) {
    facts_.Kind = fkNone;
  } else if ((exStyle & WS_EX_WINDOWEDGE) || (style & WS_THICKFRAME)) {
    facts_.Kind = fkSizing;
  }
}

bool TWinSkinForm::AttachToWindow() {
  if (subclass_.Attached()) return false;
  TSkinData* data = skinData_;
  if (!hoverTimer_) {
    hoverTimer_ = new gui::TTimer(this);
    hoverTimer_->SetEnabled(false);
    hoverTimer_->SetInterval(250);
    hoverTimer_->OnTimer = [this](gui::TObject*) { HoverTick(); };
  }
  frameSkinned_ = data->HasControl(xcMainMenu);
  ReadWindowFacts();
  RenderIconBitmap();
  SetCaptionText(WindowText(wnd_));
  BuildSystemPopup();
  ReadShowState();
  FindMdiClient();
  if (GetWindowLongPtrW(wnd_, GWL_EXSTYLE) & WS_EX_MDICHILD) facts_.Mdi = mkChild;
  // A frame the skin cannot give this window (no caption to move it by,
  // no close box, ...) is left to the system; the controls are still skinned.
  frameShortfall_ = fsNone;
  if (frameSkinned_) {
    ComputeFrameMetrics();
    frameShortfall_ = FrameShortfallNow();
    if (frameShortfall_ != fsNone) {
      frameSkinned_ = false;
      facts_.Frame = TFrameThickness{};
      FreeSysButtons();
    }
  }
  // From here on the window changes; a failure on the way (the subclass
  // refused, an application's discovery handler throwing) gives it back
  // exactly as it was, so it keeps the system frame rather than neither.
  try {
    if (frameSkinned_) {
      menuBar_.TakeWindowMenu();
      if (!((facts_.Mdi == mkChild && MdiMaximized()) || facts_.Show == shMinimized)) SetSystemCaption(false);
    }
    if (!subclass_.Attach(wnd_, [this](UINT msg, WPARAM wParam, LPARAM lParam) {
          struct TBusy {
            TWinSkinForm& skinner;
            explicit TBusy(TWinSkinForm& s) : skinner(s) { ++skinner.busy_; }
            ~TBusy() {
              if (--skinner.busy_ == 0) skinner.self_.reset();
            }
          } busy(*this);
          return SkinWndProc(msg, wParam, lParam);
        })) {
      Restore(TRestoreMode::AttachFailed);
      return false;
    }
    SubclassMdiClient();
    if (form_) {
      SkinComponents(*this, form_);
    } else {
      SkinChildWindows(*this);
      commonColours_.Give(wnd_, data->Palette());
    }
  } catch (...) {
    Restore(TRestoreMode::AttachFailed);
    throw;
  }
  InvalidateRect(wnd_, nullptr, TRUE);
  return true;
}

// The system retitles an MDI frame ("Frame - [Child]" while a child is
// maximised) through its default handling, without a WM_SETTEXT that passes
// the window method, and then asks for the frame to be recalculated: the
// title is read again there.
void TWinSkinForm::FollowMdiFrameTitle() {
  if (facts_.Mdi != mkFrame) return;
  std::wstring title = WindowText(wnd_);
  if (title != captionText_) SetCaptionText(std::move(title));
}

// Runs before the framework's own handling of every message to the form.
void TWinSkinForm::FormWindowMethod(gui::TMessage& message) {
  if (message.Msg == SkinMsgRefresh) {
    RefreshSkin();
    return;
  }
  switch (message.Msg) {
    case WM_SETTEXT:
      formHook_.CallPrevious(message);
      SetCaptionText(WindowText(wnd_));
      RefreshFrame();
      return;
    case gui::CM_DIALOGCHAR:
      if (menuBar_.Accelerator(message.WParam)) {
        message.Result = 1;
        return;
      }
      formHook_.CallPrevious(message);
      return;
    case gui::CM_MENUCHANGED:
      menuBar_.MenuChanged(message, false);
      return;
    default:
      formHook_.CallPrevious(message);
      return;
  }
}

void TWinSkinForm::AwaitNewWindow() {
  state_ = ssAwaitingWindow;
  formHook_.Attach(form_, [this](gui::TMessage& message) { AwaitingWindowMethod(message); });
}

void TWinSkinForm::AwaitingWindowMethod(gui::TMessage& message) {
  if (form_->HandleAllocated() && form_->Handle() != wnd_) {
    wnd_ = form_->Handle();
    PostMessageW(wnd_, SkinMsgAttached, 0, 0);
  }
  if (message.Msg == SkinMsgQuery) {
    message.Result = 1;
    return;
  }
  if (message.Msg == SkinMsgAttached) {
    formHook_.Detach();
    state_ = ssAttached;
    if (skinData_ && AttachToForm()) {
      OnSkinMsgAttached();
    } else {
      state_ = ssDestroyed;
    }
    return;
  }
  switch (message.Msg) {
    case WM_NCDESTROY:
      // The new window went before it was taken over: the skinner waits for
      // the next one, unless the form itself is going.
      formHook_.CallPrevious(message);
      if (form_->IsDestroying()) {
        formHook_.Detach();
        state_ = ssDestroyed;
      }
      return;
    default:
      formHook_.CallPrevious(message);
      return;
  }
}

// Stage 1: what every skinned window answers.
LRESULT TWinSkinForm::SkinWndProc(UINT msg, WPARAM wParam, LPARAM lParam) {
  if (msg == SkinMsgQuery) return 1;
  if (gui::IsCtlColorMessage(msg)) return WMCtlColor(msg, wParam, lParam);
  // From the message loop, once the window is up.
  if (msg == SkinMsgAttached) ReportFrameShortfall();
  switch (msg) {
    case WM_ERASEBKGND:
      return WMEraseBkgnd(wParam, lParam);
    case WM_STYLECHANGED:
      if (static_cast<int>(wParam) == GWL_STYLE) facts_.Style = reinterpret_cast<const STYLESTRUCT*>(lParam)->styleNew;
      if (static_cast<int>(wParam) == GWL_EXSTYLE) FollowExStyle(reinterpret_cast<const STYLESTRUCT*>(lParam)->styleNew);
      return CallDefault(msg, wParam, lParam);
    case WM_NCDESTROY:
      return WMNcDestroy(wParam, lParam);
    case WM_SETTEXT:
      // A framework form's window method follows its caption; any other
      // window's is read here, or the frame would keep showing the old one.
      if (!form_) {
        const LRESULT result = CallDefault(msg, wParam, lParam);
        SetCaptionText(WindowText(wnd_));
        if (frameSkinned_) RefreshFrame();
        return result;
      }
      return CallDefault(msg, wParam, lParam);
    case WM_PARENTNOTIFY:
      // A child made later (a shell view's list, a control a program adds
      // after showing its window) gets its skinner and the skin's colours at
      // once, and the children it makes itself soon after. A dialog page (the
      // next page of a property sheet) is heard of before its own controls
      // are made and before its maker has set it up (the sheet gives it the
      // theme's tab texture then): it waits for the walk.
      if (!form_ && LOWORD(wParam) == WM_CREATE && skinData_) {
        const auto child = reinterpret_cast<HWND>(lParam);
        if (WindowClassName(child) != L"#32770") SkinChildWindow(*this, child);
        commonColours_.Give(wnd_, skinData_->Palette());
        SkinNewChildrenSoon();
      }
      return CallDefault(msg, wParam, lParam);
    case WM_GETOBJECT:
      return WMGetObject(wParam, lParam);
    case WM_PAINT:
    case WM_VSCROLL:
    case WM_HSCROLL:
    case WM_MOUSEWHEEL:
    case WM_KEYDOWN:
    case WM_TIMER:
    case WM_CAPTURECHANGED:
      // The system draws its own bar whenever the program changes one.
      if (frameSkinned_ && TFrameScrollBars::Has(wnd_)) {
        const LRESULT result = CallDefault(msg, wParam, lParam);
        if (FramePaintable()) scrollBars_.FollowChanges(wnd_, *skinData_);
        return result;
      }
      break;
    case WM_NOTIFY:
      return WMNotify(wParam, lParam);
    case WM_NCMOUSELEAVE:
      if (frameSkinned_ && FramePaintable()) scrollBars_.MouseLeft(wnd_, *skinData_);
      break;
    default:
      break;
  }
  if (!frameSkinned_) return CallDefault(msg, wParam, lParam);
  // An embedded child window keeps its own frame.
  if (facts_.Mdi != mkChild && (facts_.Style & WS_CHILD)) return CallDefault(msg, wParam, lParam);
  return FrameWndProc(msg, wParam, lParam);
}

// Stage 2, what a skinned frame follows always, and stage 3, the skinned
// frame itself once it has been fitted.
LRESULT TWinSkinForm::FrameWndProc(UINT msg, WPARAM wParam, LPARAM lParam) {
  if (msg == SkinMsgAttached) {
    OnSkinMsgAttached();
    return 0;
  }
  bool defaultAllowed = false;
  LRESULT result = 0;
  switch (msg) {
    case WM_SIZE:
      result = WMSize(wParam, lParam);
      break;
    case WM_ACTIVATE:
    case WM_NCACTIVATE:
      facts_.Active = (wParam & 0xFF) != 0;
      defaultAllowed = true;
      break;
    case WM_WINDOWPOSCHANGED:
      ReadShowState();
      result = CallDefault(msg, wParam, lParam);
      // SetMenu and DrawMenuBar change the frame: a window of no framework
      // form may have been given a menu, or its items changed. A move or a
      // new size alone leaves the menu as it was.
      if (lParam && (reinterpret_cast<const WINDOWPOS*>(lParam)->flags & SWP_FRAMECHANGED))
        menuBar_.FollowFrameChange();
      break;
    case WM_GETMINMAXINFO:
      result = WMGetMinMaxInfo(wParam, lParam);
      break;
    case WM_COMMAND:
      result = WMCommand(wParam, lParam);
      break;
    case WM_SYSCOMMAND:
      result = WMSysCommand(wParam, lParam);
      break;
    case gui::CM_MENUCHANGED: {
      gui::TMessage message{msg, wParam, lParam, 0};
      menuBar_.MenuChanged(message, true);
      result = message.Result;
      break;
    }
    case WM_MENUSELECT:
      // Sent, not posted: the filter hook of an open bar submenu never sees it.
      if (menuBar_.Tracking() && CurrentMenuTracking().Form == this)
        FilterMenuMessage(MSG{wnd_, msg, wParam, lParam, 0, {}});
      defaultAllowed = true;
      break;
    default:
      defaultAllowed = true;
      break;
  }
  const bool frameRunning = state_ != ssAttached && facts_.Show != shMinimized && !IsRunningMdiChildOutOfNormal();
  if (!frameRunning) return defaultAllowed ? CallDefault(msg, wParam, lParam) : result;
  using THandler = LRESULT (TWinSkinForm::*)(WPARAM, LPARAM);
  static constexpr std::pair<UINT, THandler> kFrameMessages[] = {
      {WM_DRAWITEM, &TWinSkinForm::WMDrawItem},         {WM_MEASUREITEM, &TWinSkinForm::WMMeasureItem},
      {WM_NCCALCSIZE, &TWinSkinForm::WMNcCalcSize},     {WM_NCHITTEST, &TWinSkinForm::WMNcHitTest},
      {WM_NCPAINT, &TWinSkinForm::WMNcPaint},           {WM_NCACTIVATE, &TWinSkinForm::WMNcActivate},
      {WM_NCMOUSEMOVE, &TWinSkinForm::WMNcMouseMove},   {WM_NCLBUTTONDOWN, &TWinSkinForm::WMNcLButtonDown},
      {WM_NCLBUTTONUP, &TWinSkinForm::WMNcLButtonUp},   {WM_NCLBUTTONDBLCLK, &TWinSkinForm::WMNcLButtonDblClk},
      {WM_NCRBUTTONDOWN, &TWinSkinForm::WMNcRButtonDown},
  };
  if (msg == WM_SIZE) return result;  // handled once above; the region is already up to date
  if (msg == WM_WINDOWPOSCHANGING) return CallDefault(msg, wParam, lParam);
  if (msg == SkinMsgRepaint) {
    PaintNonClient();
    return 0;
  }
  for (const auto& [message, handler] : kFrameMessages)
    if (message == msg) return (this->*handler)(wParam, lParam);
  return defaultAllowed ? CallDefault(msg, wParam, lParam) : result;
}

void TWinSkinForm::SkinNewChildrenSoon() {
  if (!childWalk_) {
    childWalk_ = new gui::TTimer(this);
    childWalk_->SetInterval(USER_TIMER_MINIMUM);
    childWalk_->OnTimer = [this](gui::TObject*) {
      childWalk_->SetEnabled(false);
      if (!subclass_.Attached() || !skinData_ || skinData_->SkinLoading()) return;
      SkinChildWindows(*this);
      commonColours_.Give(wnd_, skinData_->Palette());
    };
  }
  childWalk_->SetEnabled(true);
}

LRESULT TWinSkinForm::WMNcDestroy(WPARAM wParam, LPARAM lParam) {
  state_ = ssDestroying;
  Restore(TRestoreMode::WindowGone);
  const LRESULT result = CallDefault(WM_NCDESTROY, wParam, lParam);
  state_ = ssDestroyed;
  // The framework makes a form's window again when a style that only
  // takes effect at creation changes: the skinner follows it.
  if (form_ && !form_->IsDestroying()) AwaitNewWindow();
  return result;
}

// A child's colours: what the window answers when it chose them itself (a
// brush of its own, a framework control's Color), else the skin's in place
// of the system's. Captions of a window of no framework form are drawn
// transparent over the skin's face.
LRESULT TWinSkinForm::WMCtlColor(UINT msg, WPARAM wParam, LPARAM lParam) {
  const LRESULT result = CallDefault(msg, wParam, lParam);
  HDC dc = reinterpret_cast<HDC>(wParam);
  if (!form_ && (msg == WM_CTLCOLORSTATIC || msg == WM_CTLCOLORBTN)) SetBkMode(dc, TRANSPARENT);
  if (!skinData_) return result;
  return skinData_->Palette().AnswerUnlessChosen(result, msg, wParam, reinterpret_cast<HWND>(lParam));
}

LRESULT TWinSkinForm::WMGetObject(WPARAM wParam, LPARAM lParam) {
  // The caption the skin draws stands in for the system's title bar.
  if (static_cast<LONG>(lParam) == OBJID_TITLEBAR && !systemCaptionOn_) {
    const TFrameLayout layout = LayoutSysButtons();
    if (layout.Skinned) return AnswerTitleBar(wnd_, captionText_, facts_.Show == shMaximized, layout, buttons_, wParam);
  }
  return CallDefault(WM_GETOBJECT, wParam, lParam);
}

LRESULT TWinSkinForm::WMNotify(WPARAM wParam, LPARAM lParam) {
  // A dialog box's controls ask their parent, not themselves, how to draw
  // (a framework form reflects the question back to the control): their
  // skinners answer.
  LRESULT answer = 0;
  if (!form_ && RouteParentNotify(lParam, answer)) return answer;
  return CallDefault(WM_NOTIFY, wParam, lParam);
}

}  // namespace skin
