#include "skin/form/skin_form.h"

#include "skin/form/control_discovery.h"
#include "skin/form/menu_item_draw.h"

#include <commctrl.h>

#include <algorithm>
#include <cstddef>

#include "gui/accessibility.h"
#include "gui/forms.h"
#include "gui/imagelist.h"
#include "gui/menus.h"
#include "gui/timer.h"
#include "skin/controls/skin_ranges.h"
#include "skin/data/skin_data.h"
#include "skin/data/skin_protocol.h"

namespace skin {

namespace {

// The trace sink: lines about the engine's life go nowhere.
void Trace(const std::wstring&) {}

std::wstring WindowText(HWND wnd) {
  wchar_t text[1001] = {};
  const LRESULT length = SendMessageW(wnd, WM_GETTEXT, 1001, reinterpret_cast<LPARAM>(text));
  return std::wstring(text, length > 0 ? static_cast<std::size_t>(length) : 0);
}

// The title bar's part a caption button stands for; the title bar itself
// for buttons the system's title bar does not have.
gui::TTitleBarPart TitleBarPartOf(std::int32_t action) {
  switch (action) {
    case caMinimize:
    case caMinimize2:
      return gui::tpMinimizeButton;
    case caMaximize:
    case caMaximize2:
      return gui::tpMaximizeButton;
    case caClose:
      return gui::tpCloseButton;
    default:
      return gui::tpTitleBar;
  }
}

RECT MovedBy(RECT r, POINT by) {
  OffsetRect(&r, by.x, by.y);
  return r;
}

// The skinned title bar as accessibility clients are to see it: the
// system's caption is off the window, and with it the system's account of
// its buttons.
gui::TTitleBarFacts TitleBarFactsOf(TWinSkinForm& form) {
  const TFrameLayout layout = form.LayoutSysButtons();
  const POINT corner{form.WindowRect.left, form.WindowRect.top};
  gui::TTitleBarFacts facts;
  facts.Window = form.Handle;
  facts.Caption = form.CaptionText;
  facts.Maximized = form.ShowState == shMaximized;
  facts.Bounds = MovedBy(layout.Title, corner);
  for (const auto& button : form.SysButtons) {
    const gui::TTitleBarPart part = TitleBarPartOf(button->Element->Action);
    if (part == gui::tpTitleBar || !button->Visible) continue;
    auto& shown = facts.Buttons[static_cast<std::size_t>(part)];
    shown.Shown = true;
    shown.Pressed = button->State == TNCObject::stPressed;
    shown.Bounds = MovedBy(button->BoundsRect, corner);
  }
  return facts;
}

// Every item of a menu, at every depth.
template <class Visit>
void ForEachItem(gui::TMenuItem& parent, const Visit& visit) {
  for (gui::TMenuItem* item : parent.Items()) {
    visit(*item);
    ForEachItem(*item, visit);
  }
}

}  // namespace

TWinSkinForm::TWinSkinForm(gui::TComponent* owner) : gui::TComponent(owner) {
  DoubleClickTime = GetDoubleClickTime();
  LoadCaptionFont();
}

TWinSkinForm::~TWinSkinForm() {
  BeginDestroy();
  *alive_ = false;
  FreeControlSkinners();
  FreeSysButtons();
  // Nothing may go on calling a freed skinner: the popup menus' items get
  // their own handlers back (unless they go with their form).
  if (Form && !Form->IsDestroying() && !savedMenus_.empty()) SetPopupMenusOwnerDraw(Form, false);
  // A skinner freed while still attached gives the window back first.
  if (subclass_.Attached()) subclass_.Detach();
  UnsubclassMdiClient();
  formHook_.Detach();
  if (CurrentMenuTracking().Form == this) RemoveMenuFilterHook();
  if (Host) Host->FormSkinnerGone(this);
  Trace(L"Skinform DESTROY " + CaptionText);
}

void TWinSkinForm::LoadCaptionFont() {
  NONCLIENTMETRICSW metrics{};
  metrics.cbSize = sizeof(metrics);  // built for XP: without the padded-border field
  if (SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, metrics.cbSize, &metrics, 0))
    CaptionFont.reset(CreateFontIndirectW(&metrics.lfCaptionFont));
}

bool TWinSkinForm::AttachToForm(TSkinData* data, gui::TCustomForm* form) {
  Form = form;
  if (data->HasControl(xcMainMenu))
    formHook_.Attach(form, [this](gui::TMessage& message) { FormWindowMethod(message); });
  try {
    if (!AttachToWindow(data)) {
      formHook_.Detach();
      return false;
    }
  } catch (...) {
    formHook_.Detach();
    throw;
  }
  SavedColor = form->Color();
  form->SetColor(data->Skin().Colours.ButtonFace);
  if (data->HasControl(xcMainMenu)) SetPopupMenusOwnerDraw(form, true);
  return true;
}

bool TWinSkinForm::AttachToWindow(TSkinData* data) {
  if (subclass_.Attached()) return false;
  SkinData = data;
  if (!hoverTimer_) {
    hoverTimer_ = new gui::TTimer(this);
    hoverTimer_->SetEnabled(false);
    hoverTimer_->SetInterval(250);
    hoverTimer_->OnTimer = [this](gui::TObject*) { HoverTick(); };
  }
  FrameSkinned = data->HasControl(xcMainMenu);
  Style = static_cast<DWORD>(GetWindowLongPtrW(Handle, GWL_STYLE));
  styleBeforeAttach_ = Style;
  const auto exStyle = static_cast<DWORD>(GetWindowLongPtrW(Handle, GWL_EXSTYLE));
  RightToLeft = (exStyle & WS_EX_LEFTSCROLLBAR) != 0;
  SystemMenu = GetSystemMenu(Handle, FALSE);
  RenderIconBitmap();
  SetCaptionText(WindowText(Handle));
  WindowClass = WindowClassName(Handle);
  OwnerWindow = GetWindow(Handle, GW_OWNER);
  GetClientRect(Handle, &ClientRect);
  RECT window{};
  GetWindowRect(Handle, &window);
  NativeFrameSize = RECT{0, 0, (window.right - window.left) - ClientRect.right,
                         (window.bottom - window.top) - ClientRect.bottom};
  WindowButtons = 0;
  if ((Style & WS_SYSMENU) || SystemMenu) WindowButtons |= wbSystemMenu;
  if (Style & WS_MINIMIZEBOX) WindowButtons |= wbMinimize;
  if (Style & WS_MAXIMIZEBOX) WindowButtons |= wbMaximize;
  BuildSystemPopup();
  ReadShowState();
  FindMdiClient();
  if (exStyle & WS_EX_MDICHILD) MdiKind = mkChild;
  FrameKind = fkOther;
  if ((Style & WS_POPUP) && (Style & WS_CAPTION) != WS_CAPTION) {
    FrameKind = fkNone;
  } else if ((exStyle & WS_EX_WINDOWEDGE) || (Style & WS_THICKFRAME)) {
    FrameKind = fkSizing;
  }
  // From here on the window changes; a failure on the way (the subclass
  // refused, an application's discovery handler throwing) gives it back
  // exactly as it was, so it keeps the system frame rather than neither.
  try {
    if (data->HasControl(xcMainMenu)) {
      // A child window's "menu" is its id.
      WindowMenu = (Style & WS_CHILD) ? nullptr : GetMenu(Handle);
      if (WindowMenu) CreateMenuBar();
      if (!((MdiKind == mkChild && MdiMaximized()) || ShowState == shMinimized)) SetSystemCaption(false);
      ComputeFrameMetrics();
    }
    if (!subclass_.Attach(Handle, [this](UINT msg, WPARAM wParam, LPARAM lParam) {
          return SkinWndProc(msg, wParam, lParam);
        })) {
      Restore(TRestoreMode::AttachFailed);
      return false;
    }
    SubclassMdiClient();
    if (Form) {
      SkinComponents(*this, Form);
    } else {
      SkinChildWindows(*this);
    }
  } catch (...) {
    Restore(TRestoreMode::AttachFailed);
    throw;
  }
  InvalidateRect(Handle, nullptr, TRUE);
  return true;
}

// The system retitles an MDI frame ("Frame - [Child]" while a child is
// maximised) through its default handling, without a WM_SETTEXT that passes
// the window method, and then asks for the frame to be recalculated: the
// title is read again there.
void TWinSkinForm::FollowMdiFrameTitle() {
  if (MdiKind != mkFrame) return;
  std::wstring title = WindowText(Handle);
  if (title != CaptionText) SetCaptionText(std::move(title));
}

// Runs before the framework's own handling of every message to the form.
void TWinSkinForm::FormWindowMethod(gui::TMessage& message) {
  switch (message.Msg) {
    case WM_SETTEXT:
      formHook_.CallPrevious(message);
      SetCaptionText(WindowText(Handle));
      RefreshFrame();
      return;
    case SkinMsgRefresh:
      RefreshSkin();
      return;
    case gui::CM_DIALOGCHAR:
      if (MenuAccelerator(message.WParam)) {
        message.Result = 1;
        return;
      }
      formHook_.CallPrevious(message);
      return;
    case gui::CM_MENUCHANGED:
      MenuChanged(message, false);
      return;
    default:
      formHook_.CallPrevious(message);
      return;
  }
}

void TWinSkinForm::AwaitNewWindow() {
  SkinState = ssAwaitingWindow;
  formHook_.Attach(Form, [this](gui::TMessage& message) { AwaitingWindowMethod(message); });
}

void TWinSkinForm::AwaitingWindowMethod(gui::TMessage& message) {
  if (Form->HandleAllocated() && Form->Handle() != Handle) {
    Handle = Form->Handle();
    PostMessageW(Handle, SkinMsgAttached, 0, 0);
  }
  switch (message.Msg) {
    case SkinMsgQuery:
      message.Result = 1;
      return;
    case SkinMsgAttached:
      formHook_.Detach();
      SkinState = ssAttached;
      if (SkinData && AttachToForm(SkinData, Form)) {
        OnSkinMsgAttached();
      } else {
        SkinState = ssDestroyed;
      }
      return;
    case WM_NCDESTROY:
      // The new window went before it was taken over: the skinner waits for
      // the next one, unless the form itself is going.
      formHook_.CallPrevious(message);
      if (Form->IsDestroying()) {
        formHook_.Detach();
        SkinState = ssDestroyed;
      }
      return;
    default:
      formHook_.CallPrevious(message);
      return;
  }
}

LRESULT TWinSkinForm::SkinWndProc(UINT msg, WPARAM wParam, LPARAM lParam) {
  // Stage 1: what every skinned window answers.
  switch (msg) {
    case WM_ERASEBKGND:
      return WMEraseBkgnd(wParam, lParam);
    case WM_STYLECHANGED:
      if (static_cast<int>(wParam) == GWL_STYLE) Style = reinterpret_cast<const STYLESTRUCT*>(lParam)->styleNew;
      return CallDefault(msg, wParam, lParam);
    case WM_NCDESTROY: {
      Trace(L"Skinform NCDESTROY " + CaptionText);
      SkinState = ssDestroying;
      DetachOnDestroy();
      const LRESULT result = CallDefault(msg, wParam, lParam);
      SkinState = ssDestroyed;
      // The framework makes a form's window again when a style that only
      // takes effect at creation changes: the skinner follows it.
      if (Form && !Form->IsDestroying()) AwaitNewWindow();
      return result;
    }
    case WM_CTLCOLORBTN: {
      const LRESULT result = CallDefault(msg, wParam, lParam);
      if (!Form) SetBkMode(reinterpret_cast<HDC>(wParam), TRANSPARENT);
      return result;
    }
    case WM_CTLCOLORSTATIC: {
      const LRESULT result = CallDefault(msg, wParam, lParam);
      if (!Form) SetBkMode(reinterpret_cast<HDC>(wParam), TRANSPARENT);
      HBRUSH face = SkinData ? SkinData->Skin().ButtonFaceBrush.get() : nullptr;
      return face ? reinterpret_cast<LRESULT>(face) : result;
    }
    case SkinMsgQuery:
      return 1;
    case WM_GETOBJECT:
      // The caption the skin draws stands in for the system's title bar.
      if (static_cast<LONG>(lParam) == OBJID_TITLEBAR && !SystemCaptionOn && LayoutSysButtons().Skinned)
        return gui::AnswerTitleBarObject(TitleBarFactsOf(*this), wParam);
      return CallDefault(msg, wParam, lParam);
    case WM_NOTIFY: {
      // A dialog box's track bar asks its parent, not itself, how to draw
      // (a framework form reflects the question back to the control).
      const auto* header = reinterpret_cast<const NMHDR*>(lParam);
      if (!Form && header && header->code == static_cast<UINT>(NM_CUSTOMDRAW))
        if (auto* trackBar = dynamic_cast<TSkinTrackBar*>(FindWindowSkinner(header->hwndFrom)))
          return trackBar->CustomDraw(*reinterpret_cast<const NMCUSTOMDRAW*>(lParam));
      return CallDefault(msg, wParam, lParam);
    }
    default:
      break;
  }
  if (!FrameSkinned) return CallDefault(msg, wParam, lParam);

  // Stage 2: an embedded child window keeps its own frame.
  if (MdiKind != mkChild && (Style & WS_CHILD)) return CallDefault(msg, wParam, lParam);
  bool defaultAllowed = false;
  LRESULT result = 0;
  switch (msg) {
    case WM_SIZE:
      result = WMSize(wParam, lParam);
      break;
    case WM_ACTIVATE:
    case WM_NCACTIVATE:
      Active = static_cast<std::uint8_t>(wParam & 0xFF);
      defaultAllowed = true;
      break;
    case WM_WINDOWPOSCHANGED:
      ReadShowState();
      result = CallDefault(msg, wParam, lParam);
      // SetMenu changes the frame: a window of no framework form may have
      // been given a menu.
      FollowWindowMenu();
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
    case SkinMsgAttached:
      OnSkinMsgAttached();
      break;
    case gui::CM_MENUCHANGED: {
      gui::TMessage message{msg, wParam, lParam, 0};
      MenuChanged(message, true);
      result = message.Result;
      break;
    }
    case WM_MENUSELECT:
      // Sent, not posted: the filter hook of an open bar submenu never sees it.
      if (MenuTracking && CurrentMenuTracking().Form == this) FilterMenuMessage(MSG{Handle, msg, wParam, lParam, 0, {}});
      defaultAllowed = true;
      break;
    default:
      defaultAllowed = true;
      break;
  }

  // Stage 3: the skinned frame, once the frame has been fitted.
  const bool frameRunning =
      SkinState != ssAttached && ShowState != shMinimized && !IsRunningMdiChildOutOfNormal();
  if (!frameRunning) return defaultAllowed ? CallDefault(msg, wParam, lParam) : result;
  switch (msg) {
    case WM_SIZE:  // handled once above; the region is already up to date
      return result;
    case WM_DRAWITEM:
      return WMDrawItem(wParam, lParam);
    case WM_MEASUREITEM:
      return WMMeasureItem(wParam, lParam);
    case WM_WINDOWPOSCHANGING:
      return CallDefault(msg, wParam, lParam);
    case WM_NCCALCSIZE:
      return WMNcCalcSize(wParam, lParam);
    case WM_NCHITTEST:
      return WMNcHitTest(wParam, lParam);
    case WM_NCPAINT:
      return WMNcPaint(wParam, lParam);
    case WM_NCACTIVATE:
      return WMNcActivate(wParam, lParam);
    case WM_NCMOUSEMOVE:
      return WMNcMouseMove(wParam, lParam);
    case WM_NCLBUTTONDOWN:
      return WMNcLButtonDown(wParam, lParam);
    case WM_NCLBUTTONUP:
      return WMNcLButtonUp(wParam, lParam);
    case WM_NCLBUTTONDBLCLK:
      return WMNcLButtonDblClk(wParam, lParam);
    case WM_NCRBUTTONDOWN:
      return WMNcRButtonDown(wParam, lParam);
    case SkinMsgRepaint:
      PaintNonClient();
      return 0;
    default:
      return defaultAllowed ? CallDefault(msg, wParam, lParam) : result;
  }
}

void TWinSkinForm::OnSkinMsgAttached() {
  if (SkinState == ssAttached) {
    if (MdiKind == mkChild && MdiMaximized()) {
      SetSystemCaption(true);
      RefreshFrame();
    } else if (ShowState != shMinimized && FrameKind != fkNone) {
      SkinState = ssFitting;
      AdjustFrameSize(false);
      SkinState = ssRunning;
      UpdateRegion();
    }
  }
  SkinState = ssRunning;
  if (hoverTimer_) hoverTimer_->SetEnabled(true);
}

void TWinSkinForm::AdjustFrameSize(bool keepClient) {
  if (ShowState == shMaximized) {
    RefreshFrame();
    return;
  }
  RECT r{};
  GetWindowRect(Handle, &r);
  if (!keepClient && Form) {
    // The client height the form had inside the system frame it had at
    // attach, whatever its border style: a fixed border or a tool window's
    // small caption is thinner than a sizeable frame with a full caption.
    ClientRect.bottom = (r.bottom - r.top) - NativeFrameSize.bottom;
  } else if (keepClient) {
    GetClientRect(Handle, &ClientRect);
  }
  const TFrameThickness frame{FrameLeft, FrameTop, FrameRight, FrameBottom};
  FitMenuHeight(ClientRect.right + FrameLeft + FrameRight);
  SIZE size = WindowSizeForClient(frame, MenuHeight, SIZE{ClientRect.right, ClientRect.bottom});
  if (!keepClient && (WindowClass == L"TMessageForm" || WindowClass == L"#32770")) {
    // Message and dialog boxes: widen the box until the caption fits.
    gui::WindowDc dc = gui::WindowDc::Whole(Handle);
    HFONT font = CaptionFont ? CaptionFont.get() : static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
    SIZE space{};
    {
      gui::SelectGuard select(dc.get(), font);
      GetTextExtentPoint32W(dc.get(), L" ", 1, &space);
    }
    SpaceWidth = space.cx;
    SetCaptionText(WindowText(Handle));
    const TDataSkinTitle& title = SkinData->Skin().TitleElement;
    const int needed = (static_cast<int>(CaptionText.size()) + 7) * SpaceWidth + FrameLeft + FrameRight +
                       title.LeftWidth + title.RightWidth + title.TextBackLeft + title.TextBackRight;
    if (size.cx < needed) {
      const int shift = (needed - size.cx) / 2;
      for (HWND child = GetWindow(Handle, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        RECT c{};
        GetWindowRect(child, &c);
        POINT p{c.left, c.top};
        ScreenToClient(Handle, &p);
        SetWindowPos(child, nullptr, p.x + shift, p.y, 0, 0,
                     SWP_NOSIZE | SWP_NOZORDER | SWP_NOOWNERZORDER | SWP_NOSENDCHANGING);
      }
      size.cx = needed;
    }
  }
  SetWindowPos(Handle, nullptr, r.left, r.top, size.cx, size.cy, SWP_NOMOVE | SWP_NOZORDER | SWP_FRAMECHANGED);
}

void TWinSkinForm::SetSystemCaption(bool on) {
  if (!on && MdiKind == mkChild && MdiMaximized()) return;
  SystemCaptionOn = on;
  auto style = static_cast<DWORD>(GetWindowLongPtrW(Handle, GWL_STYLE));
  if (on) {
    if (WindowButtons & wbSystemMenu) style |= WS_SYSMENU;
    if (WindowButtons & wbMinimize) style |= WS_MINIMIZEBOX;
    if (WindowButtons & wbMaximize) style |= WS_MAXIMIZEBOX;
    if (WindowButtons & wbCaptionRemoved) style |= WS_CAPTION;
  } else if (OwnerWindow) {
    style &= ~static_cast<DWORD>(WS_SYSMENU | WS_MINIMIZEBOX | WS_MAXIMIZEBOX);
  } else {
    WindowButtons |= wbCaptionRemoved;
    style &= ~static_cast<DWORD>(WS_CAPTION);
  }
  SetWindowLongPtrW(Handle, GWL_STYLE, static_cast<LONG_PTR>(style));
  Style = style;
}

void TWinSkinForm::RefreshFrame() {
  SetWindowPos(Handle, nullptr, 0, 0, 0, 0,
               SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
}

void TWinSkinForm::BuildSystemPopup() {
  delete std::exchange(skinSystemMenu_, nullptr);
  skinSystemMenu_ = new gui::TPopupMenu(this);
  skinSystemMenu_->SetTag(kSystemPopupTag);
  skinSystemMenu_->OwnerDraw = true;
  skinSystemMenu_->Images = SkinData ? &SkinData->MenuGlyphs() : nullptr;
  auto add = [this](const wchar_t* caption, int tag, gui::TNotifyEvent click) {
    gui::TMenuItem* item = skinSystemMenu_->Items().Add(caption);
    item->SetTag(tag);
    item->ImageIndex = tag;
    item->OnClick = std::move(click);
    AssignSkinHandlers(*item);
    return item;
  };
  add(L" Restore ", smRestore, [this](gui::TObject*) { RestoreWindow(); });
  if (WindowButtons & wbMaximize) add(L" Maximize ", smMaximize, [this](gui::TObject*) { ToggleMaximize(); });
  if (WindowButtons & wbMinimize) add(L" Minimize ", smMinimize, [this](gui::TObject*) { ToggleMinimize(); });
  add(L"-", smSeparator, nullptr);
  // The key that closes a window is Alt+F4.
  add(L" Close ", smClose, [this](gui::TObject*) { CloseFromMenu(); })->ShortCutText = L"Alt+F4";
}

void TWinSkinForm::RestoreWindow() {
  ShowState = shNormal;
  PostMessageW(Handle, WM_SYSCOMMAND, SC_RESTORE, 0);
}

void TWinSkinForm::ToggleMaximize() {
  if (ShowState == shMaximized) {
    RestoreWindow();
    return;
  }
  ShowState = shMaximized;
  PostMessageW(Handle, WM_SYSCOMMAND, SC_MAXIMIZE, 0);
  CurrentObject = nullptr;
}

void TWinSkinForm::ToggleMinimize() {
  if (ShowState == shMinimized) {
    RestoreWindow();
    return;
  }
  ShowState = shMinimized;
  PostMessageW(Handle, WM_SYSCOMMAND, SC_MINIMIZE, 0);
}

void TWinSkinForm::CloseFromMenu() {
  if (hoverTimer_) hoverTimer_->SetEnabled(false);
  PostMessageW(Handle, WM_CLOSE, 0, 0);
}

void TWinSkinForm::SetPopupMenusOwnerDraw(gui::TCustomForm* form, bool on) {
  if (!form || !SkinData || !SkinData->HasControl(xcPopupMenu)) return;
  for (gui::TComponent* component : form->Components()) {
    auto* menu = dynamic_cast<gui::TPopupMenu*>(component);
    if (!menu || menu->Tag() % 100 == SkinData->DisableTag) continue;
    auto saved = std::find_if(savedMenus_.begin(), savedMenus_.end(),
                              [menu](const TSavedMenuDraw& s) { return s.Menu == menu; });
    if (on) {
      // What the application had is kept once, when the skin first takes
      // the menu over (a re-skin finds it already kept).
      if (saved == savedMenus_.end()) {
        TSavedMenuDraw record{menu, menu->OwnerDraw, {}};
        ForEachItem(menu->Items(), [&record](gui::TMenuItem& item) {
          record.Items.push_back({&item, item.Command(), item.OnDrawItem, item.OnMeasureItem});
        });
        savedMenus_.push_back(std::move(record));
      }
      menu->OwnerDraw = true;
      ForEachItem(menu->Items(), [this](gui::TMenuItem& item) { InstallSkinHandlers(item); });
      continue;
    }
    if (saved == savedMenus_.end()) continue;
    // Exactly what each item had comes back; an item is known by its
    // address and its command together, so a new item at a freed one's
    // address is not taken for it.
    menu->OwnerDraw = saved->OwnerDraw;
    ForEachItem(menu->Items(), [this, &saved](gui::TMenuItem& item) {
      auto kept = std::find_if(saved->Items.begin(), saved->Items.end(), [&item](const TSavedMenuDraw::Item& k) {
        return k.Item == &item && k.Command == item.Command();
      });
      if (kept != saved->Items.end()) {
        item.OnDrawItem = kept->Draw;
        item.OnMeasureItem = kept->Measure;
      } else if (std::find(skinHandled_.begin(), skinHandled_.end(), std::pair<const gui::TMenuItem*, UINT>{&item, item.Command()}) !=
                 skinHandled_.end()) {
        // Added while skinned: it had nothing of its own.
        item.OnDrawItem = nullptr;
        item.OnMeasureItem = nullptr;
      }
    });
  }
  if (!on) {
    savedMenus_.clear();
    skinHandled_.clear();
  }
}

void TWinSkinForm::InstallSkinHandlers(gui::TMenuItem& item) {
  if (item.OnDrawItem) return;  // the application draws this one itself
  AssignSkinHandlers(item);
  skinHandled_.emplace_back(&item, item.Command());
}

void TWinSkinForm::AdoptPopupItem(ULONG_PTR itemData) {
  gui::TMenuItem* item = gui::TMenuItem::FromItemData(itemData);
  if (!item || item->OnDrawItem) return;
  const gui::TMenu* menu = item->Menu();
  if (std::any_of(savedMenus_.begin(), savedMenus_.end(), [menu](const TSavedMenuDraw& s) { return s.Menu == menu; }))
    InstallSkinHandlers(*item);
}

void TWinSkinForm::AssignSkinHandlers(gui::TMenuItem& item) {
  item.OnMeasureItem = [this](gui::TMenuItem* it, HDC dc, int& width, int& height) {
    SkinMenuItemMeasure(*this, *it, dc, width, height);
  };
  item.OnDrawItem = [this](gui::TMenuItem* it, HDC dc, const RECT& rect, UINT state) {
    SkinMenuItemDraw(*this, *it, dc, rect, (state & ODS_SELECTED) != 0, menuBeingDrawn_);
  };
}

void TWinSkinForm::RefreshSkin() {
  if (Form) {
    Form->SetColor(SkinData->Skin().Colours.ButtonFace);
    for (gui::TComponent* component : Form->Components())
      if (auto* inner = dynamic_cast<gui::TCustomForm*>(component)) inner->SetColor(SkinData->Skin().Colours.ButtonFace);
  }
  for (TSkinControlBase* skinner : controlSkinners_) skinner->SkinChanged();
  SkinState = ssReskinning;
  if (FrameSkinned) {
    if (Form) SetPopupMenusOwnerDraw(Form, true);
    AdjustFrameSize(true);
    SkinState = ssRunning;
    UpdateRegion();
  }
  SkinState = ssRunning;
}

void TWinSkinForm::Restore(TRestoreMode mode) {
  const bool windowStays = mode != TRestoreMode::WindowGone;
  delete std::exchange(skinSystemMenu_, nullptr);
  if (hoverTimer_) hoverTimer_->SetEnabled(false);
  // Switched off before it was ever attached: nothing else was taken.
  if (mode == TRestoreMode::SkinOff && !subclass_.Attached()) return;
  formHook_.Detach();
  subclass_.Detach();
  // Without the client's watcher, menu changes are followed the usual way.
  UnsubclassMdiClient();
  MergingThroughClient = false;
  FreeControlSkinners();
  // The popup menus' items call this skinner until they get back what
  // they had, whatever happens to the window; and a form whose window is
  // made again keeps its own colour for the skin that comes next.
  if (Form) {
    SetPopupMenusOwnerDraw(Form, false);
    if (mode != TRestoreMode::AttachFailed && !Form->IsDestroying()) Form->SetColor(SavedColor);
  }
  if (FrameSkinned && mode == TRestoreMode::SkinOff) SetSystemCaption(true);
  // The window gets its own menu bar back (the one it has now); the band
  // the skin drew it in still counts in the size given back below.
  const int menuHeight = MenuHeight;
  CurrentObject = nullptr;
  if (MenuBar) {
    const HMENU taken = MenuBar->MenuHandle;
    if (windowStays) {
      HMENU back = taken;
      if (Form) back = Form->Menu() ? Form->Menu()->Handle() : nullptr;
      if (back && MdiKind == mkFrame && MdiClient && mode == TRestoreMode::SkinOff) {
        GiveFrameMenuBack(back);
      } else if (back && !GetMenu(Handle)) {
        SetMenu(Handle, back);
      }
    } else if (!Form && IsMenu(taken) && GetMenu(Handle) != taken) {
      // A window's menu goes with the window. A framework form's bar is its
      // menu's and stays; any other window's would be lost off the window.
      DestroyMenu(taken);
    }
    MenuBar.reset();
  }
  MenuHeight = 0;
  TitleCache.SetSize(0, 0);
  DropFrameCache();
  if (mode == TRestoreMode::WindowGone) {
    // The region went with the window.
    RegionSet = false;
    regionKey_.reset();
    RegionHandle = nullptr;
  }
  if (mode == TRestoreMode::AttachFailed) {
    if (static_cast<DWORD>(GetWindowLongPtrW(Handle, GWL_STYLE)) != styleBeforeAttach_) {
      SetWindowLongPtrW(Handle, GWL_STYLE, static_cast<LONG_PTR>(styleBeforeAttach_));
      RefreshFrame();
    }
    Style = styleBeforeAttach_;
    SystemCaptionOn = true;
    WindowButtons &= static_cast<std::uint8_t>(~wbCaptionRemoved);
    return;
  }
  if (mode != TRestoreMode::SkinOff) return;
  if (!FrameSkinned) {
    if (Form)
      for (gui::TComponent* component : Form->Components())
        if (auto* control = dynamic_cast<gui::TWinControl*>(component); control && control->HandleAllocated())
          InvalidateRect(control->Handle(), nullptr, TRUE);
    return;
  }
  RECT r{};
  GetWindowRect(Handle, &r);
  POINT p{r.left, r.top};
  if (MdiKind == mkChild && Host) ScreenToClient(Host->MdiClientWindow(), &p);
  if (MdiKind == mkChild || !(Style & WS_CHILD)) {
    // The client size the skin frame held comes back inside the system's.
    const SIZE client = ClientSizeForWindow(TFrameThickness{FrameLeft, FrameTop, FrameRight, FrameBottom}, menuHeight,
                                            SIZE{r.right - r.left, r.bottom - r.top});
    SetWindowPos(Handle, nullptr, p.x, p.y, client.cx + NativeFrameSize.right, client.cy + NativeFrameSize.bottom,
                 SWP_FRAMECHANGED | SWP_NOACTIVATE | SWP_NOZORDER);
  }
  // The system frees the region it held when it is replaced.
  SetWindowRgn(Handle, nullptr, TRUE);
  RegionSet = false;
  regionKey_.reset();
  // WM_NCACTIVATE was answered here and never reached the system, whose own
  // frame would keep the activation state of the moment it was taken over
  // (the active window showing an inactive caption): tell it the real one.
  if (!(Style & WS_CHILD)) SendMessageW(Handle, WM_NCACTIVATE, GetActiveWindow() == Handle, 0);
}

void TWinSkinForm::ReadShowState() {
  WINDOWPLACEMENT placement{};
  placement.length = sizeof(placement);
  if (!GetWindowPlacement(Handle, &placement)) return;
  switch (placement.showCmd) {
    case SW_SHOWMINIMIZED:
    case SW_MINIMIZE:
    case SW_SHOWMINNOACTIVE:
      ShowState = shMinimized;
      break;
    case SW_SHOWMAXIMIZED:
      ShowState = shMaximized;
      break;
    default:
      ShowState = shNormal;
      break;
  }
}



bool TWinSkinForm::AddControlSkinner(TSkinControlBase* skinner) {
  if (std::find(controlSkinners_.begin(), controlSkinners_.end(), skinner) != controlSkinners_.end()) return true;
  controlSkinners_.push_back(skinner);
  return false;
}

void TWinSkinForm::RemoveControlSkinner(TSkinControlBase* skinner) {
  // The hot button may be the one going away (its control destroyed at run
  // time): nothing may call it afterwards.
  if (HotButton() == skinner) SetHotButton(nullptr);
  auto it = std::find(controlSkinners_.rbegin(), controlSkinners_.rend(), skinner);
  if (it != controlSkinners_.rend()) controlSkinners_.erase(std::next(it).base());
}

void TWinSkinForm::PurgeDestroyedControls() {
  for (std::size_t i = controlSkinners_.size(); i-- > 0;) {
    TSkinControlBase* skinner = controlSkinners_[i];
    if (skinner->SkinnerState() == ksDead) {
      RemoveControlSkinner(skinner);
      delete skinner;
    }
  }
}

void TWinSkinForm::FreeControlSkinners() {
  while (!controlSkinners_.empty()) {
    TSkinControlBase* skinner = controlSkinners_.front();
    if (skinner->SkinnerState() != ksDead) skinner->RestoreColor();
    RemoveControlSkinner(skinner);
    delete skinner;
  }
}

TSkinControlBase* TWinSkinForm::FindWindowSkinner(HWND wnd) const {
  for (TSkinControlBase* skinner : controlSkinners_)
    if (skinner->SkinnedWindow() == wnd) return skinner;
  return nullptr;
}

}  // namespace skin
