// The application object: the message loop, the standard error report, the
// forms list and the hidden "TApplication" window. Forms register themselves
// with it as they are made and freed.
#pragma once
#include <windows.h>

#include <functional>
#include <string>
#include <vector>

#include "gui/controls.h"
#include "gui/hidden_window.h"

namespace gui {

class TCustomForm;

class TApplication : public TComponent, private THiddenWindow {
  GUI_CLASS(TApplication, TComponent)
 public:
  // Makes itself the process's Application and creates the hidden window.
  TApplication();
  ~TApplication() override;

  using THiddenWindow::Handle;
  const std::wstring& Title() const { return title_; }
  void SetTitle(const std::wstring& title);

  // Creates a form owned by the application from its form description; the
  // first one becomes the main form.
  template <class T>
  T* CreateForm() {
    T* form = new T(this);
    form->InitFromResource();
    if (!mainForm_) {
      form->HandleNeeded();
      mainForm_ = form;
    }
    return form;
  }
  TCustomForm* MainForm() const { return mainForm_; }
  void SetMainForm(TCustomForm* form) { mainForm_ = form; }
  const std::vector<TCustomForm*>& Forms() const { return forms_; }

  // Shows the main form and runs the message loop until Terminate; each
  // time the queue runs empty the application is idle (Idle).
  void Run();
  // Actions update (OnUpdate), and OnIdle runs.
  void Idle();
  TNotifyEvent OnIdle;
  void Terminate();
  bool Terminated() const { return terminated_; }
  // Handles every waiting message, then returns.
  void ProcessMessages();
  // Handles one message; false when the queue was empty.
  bool ProcessMessage();

  // The standard error report: the message of the exception being handled
  // in a message box titled with the application title. OnException, when
  // set, receives the message instead.
  void HandleException(TObject* sender);
  // The same report for a message that comes without an exception.
  void ReportError(TObject* sender, const std::wstring& message);
  void ShowException(const std::wstring& message);
  std::function<void(TObject* sender, const std::wstring& message)> OnException;

  void Notification(TComponent* component, TOperation operation) override;

 private:
  friend class TCustomForm;
  LRESULT HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) override;
  // A key that is a menu item's or action's shortcut runs it.
  bool IsShortCutKey(const MSG& msg);
  // A dialog key one of the controls around the focus takes (CM_DIALOGKEY).
  bool IsControlKey(MSG& msg);
  // Ctrl+F4, Ctrl+F6 and the other keys of an MDI frame's children.
  bool IsMDIKey(MSG& msg);
  bool IsDialogKey(MSG& msg);

  // Posted to the hidden window: free the form in lParam (TCustomForm::Release).
  static constexpr UINT kReleaseForm = WM_APP + 0x100;

  std::wstring title_;
  TCustomForm* mainForm_ = nullptr;
  std::vector<TCustomForm*> forms_;
  bool terminated_ = false;
};

extern TApplication* Application;

}  // namespace gui
