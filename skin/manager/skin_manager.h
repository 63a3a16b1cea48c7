// TSkinManage: the one process-wide coordinator of the skin engine. It keeps
// the loaded skin data components, the form skinners and popup-menu skinners
// it created, watches window creation, destruction and activation of the GUI
// thread through a CBT hook, decides which windows are skinned with which
// skin data, and carries out skin-on, skin-off and skin-changed requests from
// the message loop through a one-shot timer. While the system's high-contrast
// mode is on it wears no skin at all, and puts it back when the mode ends.
#pragma once
#include <windows.h>

#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "gui/bitmap.h"
#include "gui/handles.h"
#include "gui/timer.h"
#include "skin/data/skin_coordinator.h"
#include "skin/data/skin_protocol.h"
#include "skin/form/skinner_host.h"
#include "skin/manager/high_contrast.h"
#include "skin/manager/tooltip_colours.h"

namespace gui {
class TCustomForm;
class TBitmap;
}  // namespace gui

namespace skin {

class TSkinData;
class TWinSkinForm;
class TWinSkinPopMenu;

class TSkinManage final : public ISkinCoordinator, public ISkinnerHost {
 public:
  TSkinManage();
  ~TSkinManage();
  TSkinManage(const TSkinManage&) = delete;
  TSkinManage& operator=(const TSkinManage&) = delete;

  // What the skin data components ask.
  void InstallHook() override;
  void AddSkinData(TSkinData* data) override;
  void RemoveSkinData(TSkinData* data) override;
  void Request(const TSkinRequest& request, UINT delay) override;
  void CarryOutPendingRequest() override;
  bool SkinWindow(HWND wnd) override;
  void ReleaseAllSysButtons() override;
  void StartSkinningNow() override;

  // A request carried out now, on the windows its component skins (its own
  // form only for sfOnlyThisForm, else every one); the component hears of
  // it through OnSkinChanged. The action timer carries out the pending one.
  void CarryOut(TSkinRequest request);
  // The request waiting for the action timer (a request taken at once
  // before the first activation stays here), or an empty one.
  const TSkinRequest& PendingRequest() const { return pending_; }
  // A request waits for the action timer.
  bool RequestQueued() const { return actionQueued_; }
  // What the thread's CBT hook does with one of its calls; true when the
  // call is answered (`answer`) rather than passed on. A guest engine
  // started inside a hook call hands that call on here.
  bool HandleCbt(int code, WPARAM wParam, LPARAM lParam, LRESULT& answer);
  // The hook saw the window activated: from the first activation on,
  // requests wait for the action timer; the window is skinned.
  void WindowActivated(HWND wnd);
  int ActivationCount() const { return activationCount_; }

  // How a window comes to be skinned: activated (or made), or in a pass
  // over the program's forms, which alone takes plain child windows.
  enum class TSkinPass { Activated, FormsList };
  bool SkinWindow(HWND wnd, TSkinPass pass);

  // What the window skinners ask: the skin is wanted and may be worn.
  bool IsSkinningOn() const override { return skinningOn_ && !highContrast_; }
  bool IsMdiMaximized() const override { return mdiMaximized_; }
  void ChangeMdiMaximized(bool value) override { SetMdiMaximized(value); }
  HWND MdiClientWindow() const override { return mdiClient_; }
  void SetMdiClientWindow(HWND client) override { mdiClient_ = client; }
  bool SkinNewWindow(HWND wnd) override { return SkinWindow(wnd); }
  // A window without an icon of its own shows its component's default icon,
  // else that of the last main-form component that has one. A component
  // without one adopts the first icon a window it skins offers.
  gui::TBitmap* DefaultWindowIcon(const TSkinData* data) override;
  void OfferWindowIcon(const TSkinData* data, const gui::TBitmap& icon) override;
  // Gives the component its default window icon (as if a window had offered it).
  void SetDefaultWindowIcon(const TSkinData* data, const gui::TBitmap& icon);
  void FormSkinnerGone(TWinSkinForm* skinner) override;

  // The skin is wanted (the last skin-on or skin-off request); whether it
  // is worn also depends on high contrast.
  bool SkinningWanted() const { return skinningOn_; }
  // High contrast was on when last looked at; nothing is skinned meanwhile.
  bool HighContrast() const { return highContrast_; }

  TSkinData* FindSkinData(HWND wnd) const;
  bool AskFormSkin(const std::wstring& className) const;
  TWinSkinForm* FindFormSkinner(HWND wnd) const;
  // The list forgets the window's skinner (which stays as it is).
  void RemoveFormSkinner(HWND wnd);
  // The window (every window) given back its own look, its skinner freed,
  // as skin-off does.
  void UnskinWindow(HWND wnd);
  void UnskinEveryWindow();
  void PurgeDestroyedForms();
  // Puts the worn skin's palette in force as the framework's colour scheme
  // (the last main-form skin data's), or the system's while skinning is off,
  // high contrast is on or no skin data skins every form.
  void FollowColourScheme();

  // A layer of ours failed inside the window (or a hook failed on it): the
  // skinned window it belongs to is given back to the system from the
  // message loop, is never skinned again, and the failure is reported, once.
  void WindowFailed(HWND wnd, const std::wstring& what);
  bool HasFailed(HWND wnd) const;

  void SkinPopupMenu(HWND menuWindow);
  bool ReleasePopupMenu(HWND menuWindow);
  bool IsMenuSkinned(HWND menuWindow) const;

  void SetMdiMaximized(bool value);
  int CountMdiChildren() const;

  // The system said high contrast may have changed: the action timer will
  // look (never from inside the system's broadcast).
  void HighContrastMayHaveChanged();
  // Takes the skin off every window when high contrast came on, and puts it
  // back on as skin-on does when it went off and the skin is still wanted.
  void FollowHighContrast();
  // The listener's window, made now if the thread has not yet been idle.
  HWND HighContrastListenerWindow();

  const std::vector<TWinSkinForm*>& FormSkinners() const { return formSkinners_; }
  const std::vector<TSkinData*>& SkinDataList() const { return skinDataList_; }
  std::size_t MenuSkinnerCount() const { return menuSkinners_.size(); }
  HHOOK HookHandle() const { return hook_.get(); }
  gui::TTimer& ActionTimer() { return actionTimer_; }

 private:
  static LRESULT CALLBACK CbtHookProc(int code, WPARAM wParam, LPARAM lParam);
  static bool IsPlainChildWindow(HWND wnd);
  static gui::TCustomForm* FindFormByHandle(HWND wnd);
  void SkinForm(gui::TCustomForm* form, TSkinPass pass);
  void DetachAndFree(TWinSkinForm* skinner);
  // The skinner off the list and freed from whoever owns it.
  void Free(TWinSkinForm* skinner);
  // The skinner off the list and never freed (it failed giving its window back).
  void Abandon(TWinSkinForm* skinner);
  // A skin change carried out on the skinners of the changed component.
  void FollowSkinChange(const std::vector<TWinSkinForm*>& changed);
  void DetachAll();
  void ActionTimerTick();
  void SkinAllForms();
  void GiveBackFailedWindows();
  void StartListening();

  bool skinningOn_ = false;
  bool highContrast_ = false;
  int activationCount_ = 0;
  bool mdiMaximized_ = false;
  HWND mdiClient_ = nullptr;
  TSkinRequest pending_;
  gui::TTimer actionTimer_;
  // Windows given back after a failure, and those still to give back.
  std::vector<HWND> failedWindows_;
  std::vector<HWND> giveBack_;
  gui::TTimer giveBackTimer_;
  gui::HookHandle hook_;
  // Every form skinner the manager made, in order; it owns those of windows
  // of no framework form (a framework form owns its own).
  std::vector<TWinSkinForm*> formSkinners_;
  std::vector<std::unique_ptr<TWinSkinForm>> ownSkinners_;
  std::vector<std::unique_ptr<TWinSkinPopMenu>> menuSkinners_;
  std::vector<TSkinData*> skinDataList_;
  bool actionQueued_ = false;  // a request waits for the action timer
  bool contrastCheckPending_ = false;
  THighContrastListener contrastListener_;
  // Runs once, when the thread first has nothing else to do, to make the
  // listener's window.
  gui::TTimer listenTimer_;
  TTooltipColours tooltips_;
  // The components' default window icons.
  std::vector<std::pair<const TSkinData*, std::shared_ptr<gui::TBitmap>>> windowIcons_;
  gui::TBitmap* WindowIconOf(const TSkinData* data) const;
};

// The calling thread's manager; none until the first skin data component
// is loaded on it. Each GUI thread skinned has one of its own.
TSkinManage* ThreadSkinManager();
TSkinManage& EnsureSkinManager();
// Frees the manager (done at unit finalisation; tests call it between cases).
void FreeSkinManager();

}  // namespace skin
