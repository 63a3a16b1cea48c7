#include "skin/manager/skin_manager.h"

#include <algorithm>
#include <cwctype>
#include <memory>

#include "gui/fault_guard.h"
#include "gui/forms.h"
#include "gui/text.h"
#include "skin/data/platform_version.h"
#include "skin/data/skin_data.h"
#include "skin/form/skin_form.h"
#include "skin/form/skin_popup_menu.h"

namespace skin {

namespace {

thread_local TSkinManage* threadManager = nullptr;

}  // namespace

TSkinManage* ThreadSkinManager() { return threadManager; }

TSkinManage& EnsureSkinManager() {
  if (!threadManager) threadManager = new TSkinManage;
  return *threadManager;
}

void FreeSkinManager() { delete std::exchange(threadManager, nullptr); }

TSkinManage::TSkinManage()
    : actionTimer_(nullptr),
      giveBackTimer_(nullptr),
      contrastListener_([this] { HighContrastMayHaveChanged(); }),
      listenTimer_(nullptr) {
  // With high contrast on from the start, nothing is skinned until it goes.
  highContrast_ = HighContrastOn();
  // Making the listener's window is a good part of a program's skinned
  // start-up under Wine, and none of it shows: it waits for the first
  // timer message, which the thread takes only once no other message and
  // no paint is pending.
  listenTimer_.SetInterval(1);
  listenTimer_.OnTimer = [this](gui::TObject*) { StartListening(); };
  // With the mode on there is no skinned start-up to spare; only the
  // listener will hear it go.
  if (highContrast_) StartListening();
  actionTimer_.SetEnabled(false);
  actionTimer_.SetInterval(250);
  actionTimer_.OnTimer = [this](gui::TObject*) { ActionTimerTick(); };
  giveBackTimer_.SetEnabled(false);
  giveBackTimer_.SetInterval(1);
  giveBackTimer_.OnTimer = [this](gui::TObject*) { GiveBackFailedWindows(); };
  gui::SetWindowFailureHandler([this](HWND wnd, const std::wstring& what) { WindowFailed(wnd, what); });
}

TSkinManage::~TSkinManage() {
  gui::SetWindowFailureHandler(nullptr);
  actionTimer_.SetEnabled(false);
  giveBackTimer_.SetEnabled(false);
  listenTimer_.SetEnabled(false);
  hook_.reset();
  menuSkinners_.clear();
  if (PendingMenuSkinner) PendingMenuSkinner = nullptr;
  // Form skinners of framework forms go with their forms; those of other
  // windows go with the list that owns them, letting their windows go.
  for (TWinSkinForm* skinner : formSkinners_) skinner->ForgetHost();
  formSkinners_.clear();
  ownSkinners_.clear();
  skinDataList_.clear();
  gui::SetColorScheme(nullptr);
  tooltips_.SchemeChanged();
}

void TSkinManage::InstallHook() {
  RecordWindowsVersion();
  if (hook_) return;  // one hook for the thread, however many components ask
  hook_.reset(SetWindowsHookExW(WH_CBT, &TSkinManage::CbtHookProc, nullptr, GetCurrentThreadId()));
}

void TSkinManage::AddSkinData(TSkinData* data) {
  skinDataList_.push_back(data);
  FollowColourScheme();
}

void TSkinManage::RemoveSkinData(TSkinData* data) {
  auto it = std::find(skinDataList_.begin(), skinDataList_.end(), data);
  if (it != skinDataList_.end()) skinDataList_.erase(it);
  if (pending_.Data == data) pending_.Data = nullptr;
  std::erase_if(windowIcons_, [data](const auto& entry) { return entry.first == data; });
  FollowColourScheme();
}

void TSkinManage::FollowColourScheme() {
  // Only a skin that every form wears may colour every form: with one for
  // a single form or for dialogs only, the other forms keep the system's
  // colours, and the skinned ones get the skin's through their skinner's
  // colour answers.
  const TSkinData* worn = nullptr;
  if (IsSkinningOn()) {
    for (auto it = skinDataList_.rbegin(); it != skinDataList_.rend() && !worn; ++it)
      if ((*it)->SkinFormtype() == sfMainform && !(*it)->SkinLoading()) worn = *it;
  }
  gui::SetColorScheme(worn ? &worn->Palette() : nullptr);
  tooltips_.SchemeChanged();
}

LRESULT CALLBACK TSkinManage::CbtHookProc(int code, WPARAM wParam, LPARAM lParam) {
  TSkinManage* self = threadManager;
  HHOOK hook = self ? self->hook_.get() : nullptr;
  if (code < 0 || !self) return CallNextHookEx(hook, code, wParam, lParam);
  LRESULT answer = 0;
  bool answered = false;
  const gui::TFailure failure = gui::Guarded([&] { answered = self->HandleCbt(code, wParam, lParam, answer); });
  if (failure.Failed()) {
    answered = false;
    // The calls that name a window name the one the failure concerns.
    const bool namesWindow = code == HCBT_CREATEWND || code == HCBT_ACTIVATE || code == HCBT_DESTROYWND ||
                             code == HCBT_MINMAX || code == HCBT_MOVESIZE || code == HCBT_SETFOCUS;
    if (namesWindow && wParam) {
      self->WindowFailed(reinterpret_cast<HWND>(wParam), failure.What);
    } else {
      gui::ReportFailure(failure.What);
    }
  }
  if (answered) return answer;
  return CallNextHookEx(hook, code, wParam, lParam);
}

bool TSkinManage::HandleCbt(int code, WPARAM wParam, LPARAM lParam, LRESULT& answer) {
  HWND wnd = reinterpret_cast<HWND>(wParam);
  switch (code) {
    case HCBT_CREATEWND: {
      const std::wstring className = WindowClassName(wnd);
      const CREATESTRUCTW* create = reinterpret_cast<CBT_CREATEWNDW*>(lParam)->lpcs;
      if (className == L"ScrollBar" && (create->style & SBS_SIZEGRIP) && FindFormSkinner(create->hwndParent)) {
        answer = 10;  // no size grip inside a skinned window: the frame has its own
        return true;
      }
      if (className == L"#32768") SkinPopupMenu(wnd);
      if (TTooltipColours::IsTooltipClass(className)) tooltips_.Follow(wnd);
      return false;
    }
    case HCBT_DESTROYWND:
      ReleasePopupMenu(wnd);
      return false;
    case HCBT_ACTIVATE:
      WindowActivated(wnd);
      gui::FaultPoint(gui::TFaultSite::CbtHook);
      return false;
    case HCBT_SYSCOMMAND:
      // The keyboard menu asked for from a child window: the system would
      // track the bar the skin has taken off the active window.
      if ((wParam & 0xFFF0) == SC_KEYMENU)
        if (TWinSkinForm* skinner = FindFormSkinner(GetActiveWindow());
            skinner && skinner->State() == TWinSkinForm::ssRunning && skinner->AnswerKeyMenu(lParam)) {
          answer = 1;
          return true;
        }
      return false;
    default:
      return false;
  }
}

void TSkinManage::WindowFailed(HWND wnd, const std::wstring& what) {
  // The skinned window the failure belongs to: the window itself, or the
  // nearest one up its parents that has a form skinner; a popup menu is
  // its own.
  if (!wnd) {
    gui::ReportFailure(L"The skin engine failed: " + what);
    return;
  }
  HWND skinned = wnd;
  for (HWND up = wnd; up; up = GetParent(up)) {
    if (FindFormSkinner(up)) {
      skinned = up;
      break;
    }
  }
  if (HasFailed(skinned)) return;
  failedWindows_.push_back(skinned);
  giveBack_.push_back(skinned);
  giveBackTimer_.SetEnabled(true);
  const std::wstring className = WindowClassName(skinned);
  gui::ReportFailure(L"The skin engine failed in a window of the class \"" + className +
                     L"\" and gave it back to the system: " + what);
}

bool TSkinManage::HasFailed(HWND wnd) const {
  return std::find(failedWindows_.begin(), failedWindows_.end(), wnd) != failedWindows_.end();
}

void TSkinManage::GiveBackFailedWindows() {
  giveBackTimer_.SetEnabled(false);
  // Windows gone since need nothing; a window handle may come back for a
  // new window, which must not inherit the failure.
  std::erase_if(failedWindows_, [](HWND wnd) { return !IsWindow(wnd); });
  for (HWND wnd : std::exchange(giveBack_, {})) {
    if (!IsWindow(wnd)) continue;
    if (ReleasePopupMenu(wnd)) continue;
    TWinSkinForm* skinner = FindFormSkinner(wnd);
    if (!skinner) continue;
    const gui::TFailure failure = gui::Guarded([&] { DetachAndFree(skinner); });
    // A skinner that fails even at giving the window back is let go
    // without being freed: its state is not to be trusted any more.
    if (failure.Failed()) Abandon(skinner);
  }
}

void TSkinManage::WindowActivated(HWND wnd) {
  if (activationCount_ == 0) activationCount_ = 1;
  SkinWindow(wnd);
}

void TSkinManage::Request(const TSkinRequest& request, UINT delay) {
  pending_ = request;
  actionTimer_.SetInterval(delay);
  if (activationCount_ != 0) {
    actionQueued_ = true;
    actionTimer_.SetEnabled(true);
  } else if (request.Action == saSkinOn || request.Action == saSkinOff) {
    // No window has been activated yet: windows are skinned one by one as
    // the hook sees them activated.
    skinningOn_ = request.Action == saSkinOn;
    FollowColourScheme();
  }
}

void TSkinManage::CarryOutPendingRequest() {
  if (actionQueued_) CarryOut(pending_);
}

void TSkinManage::DetachAndFree(TWinSkinForm* skinner) {
  HWND wnd = skinner->Handle();
  // Skin-off and high contrast alike: the window gets its own frame back.
  skinner->Restore(TWinSkinForm::TRestoreMode::SkinOff);
  InvalidateRect(wnd, nullptr, TRUE);
  UpdateWindow(wnd);
  Free(skinner);
}

void TSkinManage::DetachAll() {
  PurgeDestroyedForms();
  while (!formSkinners_.empty()) DetachAndFree(formSkinners_.back());
}

void TSkinManage::SkinAllForms() {
  const std::vector<gui::TCustomForm*> forms =
      gui::Application ? gui::Application->Forms() : std::vector<gui::TCustomForm*>{};
  PurgeDestroyedForms();
  for (auto it = forms.rbegin(); it != forms.rend(); ++it) SkinForm(*it, TSkinPass::FormsList);
}

void TSkinManage::HighContrastMayHaveChanged() {
  contrastCheckPending_ = true;
  if (actionTimer_.Enabled()) return;  // a queued request's tick looks as well
  actionTimer_.SetInterval(TSkinData::kActionDelay);
  actionTimer_.SetEnabled(true);
}

HWND TSkinManage::HighContrastListenerWindow() {
  StartListening();
  return contrastListener_.Handle();
}

void TSkinManage::StartListening() {
  listenTimer_.SetEnabled(false);
  // A change announced before the window was there went unheard: look now.
  if (contrastListener_.Listen() && HighContrastOn() != highContrast_) HighContrastMayHaveChanged();
}

void TSkinManage::FollowHighContrast() {
  contrastCheckPending_ = false;
  const bool on = HighContrastOn();
  if (on == highContrast_) return;
  highContrast_ = on;
  FollowColourScheme();
  if (on) {
    DetachAll();
  } else if (skinningOn_) {
    // Whatever skin the components hold now, a change made meanwhile included.
    SkinAllForms();
  }
}

void TSkinManage::ActionTimerTick() {
  if (contrastCheckPending_) FollowHighContrast();
  // A request applied at once before the first activation leaves its
  // component and action behind; only one queued for the timer runs here.
  if (actionQueued_) {
    CarryOut(pending_);
  } else {
    actionTimer_.SetEnabled(false);
  }
}

void TSkinManage::CarryOut(TSkinRequest request) {
  TSkinData* data = request.Data;
  if (!data) return;
  actionQueued_ = false;
  actionTimer_.SetEnabled(false);
  pending_ = TSkinRequest{};
  // The windows in the request's reach: the component's own form alone, or
  // every one.
  const bool ownFormOnly = data->SkinFormtype() == sfOnlyThisForm;
  switch (request.Action) {
    case saSkinOn:
      skinningOn_ = true;
      if (!ownFormOnly) {
        SkinAllForms();
      } else if (gui::Application) {
        for (gui::TCustomForm* form : gui::Application->Forms())
          if (form == data->Owner()) SkinForm(form, TSkinPass::FormsList);
      }
      break;
    case saSkinOff:
      skinningOn_ = false;
      if (!ownFormOnly) {
        DetachAll();
        break;
      }
      PurgeDestroyedForms();
      for (auto it = formSkinners_.rbegin(); it != formSkinners_.rend(); ++it) {
        if ((*it)->SkinData() == data) {
          DetachAndFree(*it);
          break;
        }
      }
      break;
    case saSkinChanged: {
      PurgeDestroyedForms();
      std::vector<TWinSkinForm*> changed;
      for (TWinSkinForm* skinner : formSkinners_)
        if (skinner->SkinData() == data && !(ownFormOnly && !changed.empty())) changed.push_back(skinner);
      FollowSkinChange(changed);
      break;
    }
    default:
      break;
  }
  // The request may have freed the component's form; it is still listed
  // only if it is alive.
  FollowColourScheme();
  if (std::find(skinDataList_.begin(), skinDataList_.end(), data) != skinDataList_.end()) data->FireSkinChanged();
}

void TSkinManage::FollowSkinChange(const std::vector<TWinSkinForm*>& changed) {
  for (TWinSkinForm* skinner : changed) {
    skinner->FreeSysButtons();
    skinner->ComputeFrameMetrics();
  }
  // A window whose frame the new skin can give where the old one could not,
  // or the other way round, is skinned afresh.
  std::vector<HWND> again;
  for (TWinSkinForm* skinner : changed) {
    if (!skinner->FrameFitChanged()) {
      skinner->RefreshSkin();
      continue;
    }
    again.push_back(skinner->Handle());
    DetachAndFree(skinner);
  }
  for (HWND wnd : again) SkinWindow(wnd);
}

bool TSkinManage::SkinWindow(HWND wnd) { return SkinWindow(wnd, TSkinPass::Activated); }

bool TSkinManage::SkinWindow(HWND wnd, TSkinPass pass) {
  if (!IsSkinningOn()) return false;
  if (HasFailed(wnd)) return false;
  if (GetPropW(wnd, kSkinExcludeProperty)) return false;
  if (SendMessageW(wnd, SkinMsgQuery, 0, 0) == 1) return false;
  PurgeDestroyedForms();
  if (FindFormSkinner(wnd)) return false;
  gui::TCustomForm* form = FindFormByHandle(wnd);
  if (pass != TSkinPass::FormsList && IsPlainChildWindow(wnd)) return false;
  RECT r{};
  GetWindowRect(wnd, &r);
  if (static_cast<long long>(r.right - r.left) * (r.bottom - r.top) == 0) return false;
  if (form && form->Tag() == kNeverSkinnedFormTag) return false;
  const std::wstring className = WindowClassName(wnd);
  if (className == L"TApplication") return false;
  if (!AskFormSkin(className)) return false;
  TSkinData* data = FindSkinData(wnd);
  if (!data || data->SkinLoading()) return false;

  std::unique_ptr<TWinSkinForm> owned;
  TWinSkinForm* skinner = MakeFormSkinner(wnd, this, *data, form, owned);
  if (!skinner) return false;
  formSkinners_.push_back(skinner);
  if (owned) ownSkinners_.push_back(std::move(owned));
  return true;
}

void TSkinManage::SkinForm(gui::TCustomForm* form, TSkinPass pass) {
  if (!form || !form->Visible()) return;
  HWND wnd = form->Handle();
  if ((GetWindowLongPtrW(wnd, GWL_STYLE) & WS_CHILD) && !(GetWindowLongPtrW(wnd, GWL_EXSTYLE) & WS_EX_MDICHILD))
    return;
  SkinWindow(wnd, pass);
}

TSkinData* TSkinManage::FindSkinData(HWND wnd) const {
  for (auto it = skinDataList_.rbegin(); it != skinDataList_.rend(); ++it) {
    auto* owner = dynamic_cast<gui::TCustomForm*>((*it)->Owner());
    if ((*it)->SkinFormtype() == sfOnlyThisForm && owner && owner->HandleAllocated() && owner->Handle() == wnd)
      return *it;
  }
  const std::wstring className = gui::LowerCase(WindowClassName(wnd));
  if (className == L"tmessageform" || className == L"#32770") {
    for (auto it = skinDataList_.rbegin(); it != skinDataList_.rend(); ++it)
      if ((*it)->SkinFormtype() == sfDialog) return *it;
  }
  for (auto it = skinDataList_.rbegin(); it != skinDataList_.rend(); ++it)
    if ((*it)->SkinFormtype() == sfMainform) return *it;
  return skinDataList_.empty() ? nullptr : skinDataList_.front();
}

bool TSkinManage::AskFormSkin(const std::wstring& className) const {
  for (TSkinData* data : skinDataList_) {
    if (data->SkinFormtype() != sfMainform) continue;
    bool doSkin = true;
    data->FormFilter(className, doSkin);
    return doSkin;
  }
  return true;
}

bool TSkinManage::IsPlainChildWindow(HWND wnd) {
  if (!(GetWindowLongPtrW(wnd, GWL_STYLE) & WS_CHILD)) return false;
  return gui::LowerCase(WindowClassName(GetParent(wnd))) != L"mdiclient";
}

gui::TCustomForm* TSkinManage::FindFormByHandle(HWND wnd) {
  if (!gui::Application) return nullptr;
  for (gui::TCustomForm* form : gui::Application->Forms())
    if (form->HandleAllocated() && form->Handle() == wnd) return form;
  return nullptr;
}

TWinSkinForm* TSkinManage::FindFormSkinner(HWND wnd) const {
  for (TWinSkinForm* skinner : formSkinners_)
    if (skinner->Handle() == wnd) return skinner;
  return nullptr;
}

void TSkinManage::UnskinWindow(HWND wnd) {
  PurgeDestroyedForms();
  if (TWinSkinForm* skinner = FindFormSkinner(wnd)) DetachAndFree(skinner);
}

void TSkinManage::UnskinEveryWindow() { DetachAll(); }

void TSkinManage::RemoveFormSkinner(HWND wnd) {
  auto it = std::find_if(formSkinners_.begin(), formSkinners_.end(),
                         [wnd](TWinSkinForm* skinner) { return skinner->Handle() == wnd; });
  if (it != formSkinners_.end()) formSkinners_.erase(it);
}

void TSkinManage::PurgeDestroyedForms() {
  for (std::size_t i = formSkinners_.size(); i-- > 0;) {
    if (i >= formSkinners_.size()) continue;
    TWinSkinForm* skinner = formSkinners_[i];
    if (skinner->State() == TWinSkinForm::ssDestroyed) Free(skinner);
  }
}

void TSkinManage::ReleaseAllSysButtons() {
  for (TWinSkinForm* skinner : formSkinners_) skinner->FreeSysButtons();
}

void TSkinManage::SkinPopupMenu(HWND menuWindow) {
  if (!IsSkinningOn()) return;
  if (SendMessageW(menuWindow, SkinMsgQuery, 0, 0) == 1) return;
  if (IsMenuSkinned(menuWindow)) return;
  TSkinData* data = FindSkinData(menuWindow);
  if (!data || data->SkinLoading() || !data->HasControl(xcMainMenu)) return;
  auto skinner = std::make_unique<TWinSkinPopMenu>(this);
  skinner->Attach(menuWindow, data, nullptr);
  menuSkinners_.push_back(std::move(skinner));
}

bool TSkinManage::ReleasePopupMenu(HWND menuWindow) {
  auto it = std::find_if(menuSkinners_.begin(), menuSkinners_.end(),
                         [menuWindow](const auto& skinner) { return skinner->MenuWindow() == menuWindow; });
  const bool found = it != menuSkinners_.end();
  if (found) {
    (*it)->Detach();
    menuSkinners_.erase(it);
  }
  return found;
}

bool TSkinManage::IsMenuSkinned(HWND menuWindow) const {
  return std::any_of(menuSkinners_.begin(), menuSkinners_.end(),
                     [menuWindow](const auto& skinner) { return skinner->MenuWindow() == menuWindow; });
}

void TSkinManage::StartSkinningNow() {
  skinningOn_ = true;
  ++activationCount_;
  FollowColourScheme();
}

gui::TBitmap* TSkinManage::WindowIconOf(const TSkinData* data) const {
  for (const auto& [owner, icon] : windowIcons_)
    if (owner == data && !icon->Empty()) return icon.get();
  return nullptr;
}

gui::TBitmap* TSkinManage::DefaultWindowIcon(const TSkinData* data) {
  if (gui::TBitmap* own = WindowIconOf(data)) return own;
  gui::TBitmap* icon = nullptr;
  for (TSkinData* other : skinDataList_)
    if (other->SkinFormtype() == sfMainform)
      if (gui::TBitmap* kept = WindowIconOf(other)) icon = kept;
  return icon;
}

void TSkinManage::OfferWindowIcon(const TSkinData* data, const gui::TBitmap& icon) {
  if (!WindowIconOf(data)) SetDefaultWindowIcon(data, icon);
}

void TSkinManage::SetDefaultWindowIcon(const TSkinData* data, const gui::TBitmap& icon) {
  std::erase_if(windowIcons_, [data](const auto& entry) { return entry.first == data; });
  // The picture a window offered it is mostly still shown: kept once.
  gui::TBitmap copy;
  copy.CopyFrom(icon);
  copy.SetSharesDc(true);
  windowIcons_.emplace_back(data, SharedIconPicture(std::move(copy)));
}

void TSkinManage::FormSkinnerGone(TWinSkinForm* skinner) { std::erase(formSkinners_, skinner); }

void TSkinManage::Abandon(TWinSkinForm* skinner) {
  std::erase(formSkinners_, skinner);
  for (auto& own : ownSkinners_)
    if (own.get() == skinner) (void)own.release();
  std::erase(ownSkinners_, nullptr);
}

void TSkinManage::Free(TWinSkinForm* skinner) {
  std::erase(formSkinners_, skinner);
  std::unique_ptr<TWinSkinForm> owned;
  auto it = std::find_if(ownSkinners_.begin(), ownSkinners_.end(), [skinner](const auto& s) { return s.get() == skinner; });
  if (it != ownSkinners_.end()) {
    owned = std::move(*it);
    ownSkinners_.erase(it);
  }
  TWinSkinForm::Free(skinner, std::move(owned));
}

void TSkinManage::SetMdiMaximized(bool value) {
  if (value == mdiMaximized_) return;
  mdiMaximized_ = value;
  for (TWinSkinForm* skinner : formSkinners_) skinner->FollowMdiMaximized(value);
}

int TSkinManage::CountMdiChildren() const {
  return static_cast<int>(
      std::count_if(formSkinners_.begin(), formSkinners_.end(), [](TWinSkinForm* s) {
        // A child whose window is gone waits for the next purge; it no longer counts.
        return s->MdiKind() == mkChild && s->State() != TWinSkinForm::ssDestroyed && s->State() != TWinSkinForm::ssDestroying;
      }));
}

}  // namespace skin
