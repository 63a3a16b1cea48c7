// TSkinManage: the one process-wide coordinator of the skin engine. It keeps
// the loaded skin data components, the form skinners and popup-menu skinners
// it created, watches window creation, destruction and activation of the GUI
// thread through a CBT hook, decides which windows are skinned with which
// skin data, and carries out skin-on, skin-off and skin-changed requests from
// the message loop through a one-shot timer.
#pragma once
#include <windows.h>

#include <memory>
#include <string>
#include <vector>

#include "gui/handles.h"
#include "gui/timer.h"

namespace gui {
class TCustomForm;
class TBitmap;
}  // namespace gui

namespace skin {

class TSkinData;
class TWinSkinForm;
class TWinSkinPopMenu;

// The engine's private window messages.
constexpr UINT SkinMsgRefresh = 0x3401;   // a skinned framework form re-applies the skin
constexpr UINT SkinMsgRepaint = 0x3502;   // repaint the skinned frame
constexpr UINT SkinMsgAttached = 0x3503;  // posted once after a form skinner attached, lParam 1000
constexpr UINT SkinMsgQuery = 0x3504;     // a window skinned by this engine answers 1

enum TSkinAction { saSkinOn = 1, saSkinOff = 2, saSkinChanged = 3 };

class TSkinManage {
 public:
  TSkinManage();
  ~TSkinManage();
  TSkinManage(const TSkinManage&) = delete;
  TSkinManage& operator=(const TSkinManage&) = delete;

  void InstallHook();
  void AddSkinData(TSkinData* data);
  void RemoveSkinData(TSkinData* data);
  void RequestAction(int action, UINT delay);
  void RunPendingAction();

  bool SkinWindow(HWND wnd);
  void SkinForm(gui::TCustomForm* form);
  TSkinData* FindSkinData(HWND wnd) const;
  bool AskFormSkin(const std::wstring& className) const;
  static bool IsPlainChildWindow(HWND wnd);
  static gui::TCustomForm* FindFormByHandle(HWND wnd);
  TWinSkinForm* FindFormSkinner(HWND wnd) const;
  void RemoveFormSkinner(HWND wnd);
  void PurgeDestroyedForms();
  void ReleaseAllSysButtons();

  void SkinPopupMenu(HWND menuWindow);
  bool ReleasePopupMenu(HWND menuWindow);
  bool IsMenuSkinned(HWND menuWindow) const;
  void MarkMenusFromBar();
  gui::TBitmap* FindMenuItemBitmap(HMENU menu) const;

  void SetMdiMaximized(bool value);
  int CountMdiChildren() const;

  const std::vector<TWinSkinForm*>& FormSkinners() const { return formSkinners_; }
  const std::vector<TSkinData*>& SkinDataList() const { return skinDataList_; }
  std::size_t MenuSkinnerCount() const { return menuSkinners_.size(); }
  HHOOK HookHandle() const { return hook_.get(); }
  gui::TTimer& ActionTimer() { return actionTimer_; }

  bool SkinningOn = false;
  bool BulkPass = false;
  int ActivationCount = 0;
  bool MenuFromBar = false;
  bool MdiMaximized = false;
  HWND MdiClientHandle = nullptr;
  int PendingAction = 0;
  TSkinData* PendingSkinData = nullptr;

 private:
  static LRESULT CALLBACK CbtHookProc(int code, WPARAM wParam, LPARAM lParam);
  void DetachAndFree(TWinSkinForm* skinner);

  gui::TTimer actionTimer_;
  gui::HookHandle hook_;
  std::vector<TWinSkinForm*> formSkinners_;
  std::vector<std::unique_ptr<TWinSkinPopMenu>> menuSkinners_;
  std::vector<TSkinData*> skinDataList_;
};

// The single manager; none until the first skin data component is loaded.
extern TSkinManage* SkinManager;
TSkinManage& EnsureSkinManager();
// Frees the manager (done at unit finalisation; tests call it between cases).
void FreeSkinManager();

// The window's class name (at most 100 characters), as the hook reads it.
std::wstring WindowClassName(HWND wnd);

}  // namespace skin
