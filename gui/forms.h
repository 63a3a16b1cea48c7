// Forms and the application object: the message loop, the standard error
// report, the forms list and the hidden "TApplication" window.
#pragma once
#include <windows.h>

#include <functional>
#include <string>
#include <vector>

#include "gui/controls.h"

namespace gui {

enum TBorderIcon : std::uint32_t { biSystemMenu = 1, biMinimize = 2, biMaximize = 4, biHelp = 8 };
enum class TFormBorderStyle { bsNone, bsSingle, bsSizeable, bsDialog, bsToolWindow, bsSizeToolWin };
enum class TPosition {
  poDesigned, poDefault, poDefaultPosOnly, poDefaultSizeOnly, poScreenCenter, poDesktopCenter, poMainFormCenter,
  poOwnerFormCenter
};

class TCustomForm : public TWinControl {
  GUI_CLASS(TCustomForm, TWinControl)
 public:
  explicit TCustomForm(TComponent* owner);
  ~TCustomForm() override;

  // Reads the form description stored under the form's class name, then runs OnCreate.
  void InitFromResource();
  // Reads a given form description text instead of the resource.
  void InitFromText(std::string_view text);

  std::uint32_t BorderIcons() const { return borderIcons_; }
  void SetBorderIcons(std::uint32_t icons);
  TFormBorderStyle BorderStyle() const { return borderStyle_; }
  void SetBorderStyle(TFormBorderStyle style);
  TPosition Position() const { return position_; }
  void SetPosition(TPosition p) { position_ = p; }
  int ClientWidth();
  int ClientHeight();
  void SetClientWidth(int w);
  void SetClientHeight(int h);
  TIcon& Icon() { return icon_; }

  void Show();
  void Close();

  TNotifyEvent OnCreate;
  TNotifyEvent OnDestroy;

  void WndProc(TMessage& message) override;
  static void DeclareProperties(std::vector<TPropInfo>& list);

 protected:
  void CreateParams(TCreateParams& params) override;
  void CreateWindowHandleDone() override;
  void SetBounds(int left, int top, int width, int height) override;
  virtual void DoCreate();
  void UpdateBoundsFromWindow() override;

 private:
  void ApplyStyles();
  void ResizeToClient();

  std::uint32_t borderIcons_ = biSystemMenu | biMinimize | biMaximize;
  TFormBorderStyle borderStyle_ = TFormBorderStyle::bsSizeable;
  TPosition position_ = TPosition::poDesigned;
  int clientWidth_ = 0;
  int clientHeight_ = 0;
  bool clientSizeSet_ = false;
  TIcon icon_;
};

class TForm : public TCustomForm {
  GUI_CLASS(TForm, TCustomForm)
 public:
  explicit TForm(TComponent* owner) : TCustomForm(owner) {}
};

class TApplication : public TComponent {
  GUI_CLASS(TApplication, TComponent)
 public:
  // Makes itself the process's Application and creates the hidden window.
  TApplication();
  ~TApplication() override;

  HWND Handle() const { return handle_; }
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

  // Shows the main form and runs the message loop until Terminate.
  void Run();
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
  void ShowException(const std::wstring& message);
  std::function<void(TObject* sender, const std::wstring& message)> OnException;

  void Notification(TComponent* component, TOperation operation) override;

 private:
  friend class TCustomForm;
  static LRESULT CALLBACK WindowProcedure(HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam);
  bool IsDialogKey(MSG& msg);

  HWND handle_ = nullptr;
  std::wstring title_;
  TCustomForm* mainForm_ = nullptr;
  std::vector<TCustomForm*> forms_;
  bool terminated_ = false;
};

extern TApplication* Application;

}  // namespace gui
