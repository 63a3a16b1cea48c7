#include "skin/manager/skin_engine.h"

#include "skin/controls/skin_control.h"
#include "skin/data/skin_coordinator.h"
#include "skin/form/skin_form.h"
#include "skin/manager/skin_manager.h"

namespace skin {

void InstallEngine() {
  RegisterSkinCoordinator(TSkinCoordinatorAccess{[]() -> ISkinCoordinator* { return ThreadSkinManager(); },
                                                  []() -> ISkinCoordinator& { return EnsureSkinManager(); }});
  // High contrast stills every fade, as it takes the skin off.
  SetAnimationAllowedQuery([] { return !HighContrastOn() && SystemAnimatesClientArea(); });
}

void UninstallEngine() {
  FreeSkinManager();
  RegisterSkinCoordinator(TSkinCoordinatorAccess{});
  SetAnimationAllowedQuery({});
}

void SetTransitionOptions(const TTransitionOptions& options) { TLookTransitions::OfThread().SetOptions(options); }

TTransitionOptions TransitionOptions() { return TLookTransitions::OfThread().Options(); }

bool EngineInstalled() { return SkinCoordinatorRegistered(); }

namespace {

BOOL CALLBACK SkinThreadWindow(HWND wnd, LPARAM) {
  if (TSkinManage* manager = ThreadSkinManager(); manager && IsWindowVisible(wnd)) manager->SkinWindow(wnd);
  return TRUE;
}

}  // namespace

void SkinThreadWindows() {
  if (ThreadSkinManager()) EnumThreadWindows(GetCurrentThreadId(), &SkinThreadWindow, 0);
}

void UnskinEveryWindow() {
  if (TSkinManage* manager = ThreadSkinManager()) manager->UnskinEveryWindow();
}

void UnskinWindow(HWND wnd) {
  if (TSkinManage* manager = ThreadSkinManager()) manager->UnskinWindow(wnd);
}

std::vector<HWND> SkinnedWindows() {
  std::vector<HWND> windows;
  TSkinManage* manager = ThreadSkinManager();
  if (!manager) return windows;
  manager->PurgeDestroyedForms();
  for (const TWinSkinForm* skinner : manager->FormSkinners()) windows.push_back(skinner->Handle());
  return windows;
}

bool PassHookCall(int code, WPARAM wParam, LPARAM lParam, LRESULT& answer) {
  TSkinManage* manager = ThreadSkinManager();
  return manager && manager->HandleCbt(code, wParam, lParam, answer);
}

TSkinnerCounts SkinnerCounts() {
  TSkinnerCounts counts;
  const TSkinManage* manager = ThreadSkinManager();
  if (!manager) return counts;
  for (const TWinSkinForm* skinner : manager->FormSkinners()) {
    ++counts.Forms;
    counts.Controls += static_cast<long long>(skinner->ControlSkinners().size());
  }
  counts.Menus = static_cast<long long>(manager->MenuSkinnerCount());
  return counts;
}

std::vector<std::string> ControlSkinnerNames() {
  std::vector<std::string> names;
  const TSkinManage* manager = ThreadSkinManager();
  if (!manager) return names;
  for (const TWinSkinForm* form : manager->FormSkinners()) {
    for (TSkinControlBase* base : form->ControlSkinners()) {
      const auto* skinner = dynamic_cast<const TSkinControl*>(base);
      wchar_t windowClass[64] = L"-";
      if (HWND wnd = base->SkinnedWindow()) GetClassNameW(wnd, windowClass, 64);
      char narrow[64] = {};
      WideCharToMultiByte(CP_UTF8, 0, windowClass, -1, narrow, sizeof narrow - 1, nullptr, nullptr);
      names.push_back((skinner ? skinner->ClassName() : std::string("?")) + "@" + narrow);
    }
  }
  return names;
}

bool RequestPending() {
  const TSkinManage* manager = ThreadSkinManager();
  return manager && manager->RequestQueued();
}

}  // namespace skin
