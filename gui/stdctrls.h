// Standard controls: push button, check box, radio button (extensions of the
// system BUTTON class) and the group box, which paints itself.
#pragma once
#include "gui/controls.h"

namespace gui {

class TButtonControl : public TWinControl {
  GUI_CLASS(TButtonControl, TWinControl)
 public:
  explicit TButtonControl(TComponent* owner);
  // While set, state changes made by code do not run OnClick.
  bool ClicksDisabled = false;
  void WndProc(TMessage& message) override;

 protected:
  void CreateParams(TCreateParams& params) override;
};

class TButton : public TButtonControl {
  GUI_CLASS(TButton, TButtonControl)
 public:
  explicit TButton(TComponent* owner);
  void WndProc(TMessage& message) override;

 protected:
  void CreateParams(TCreateParams& params) override;
};

enum class TCheckBoxState { cbUnchecked, cbChecked, cbGrayed };

class TCustomCheckBox : public TButtonControl {
  GUI_CLASS(TCustomCheckBox, TButtonControl)
 public:
  explicit TCustomCheckBox(TComponent* owner);

  bool Checked() const { return state_ == TCheckBoxState::cbChecked; }
  void SetChecked(bool checked) { SetState(checked ? TCheckBoxState::cbChecked : TCheckBoxState::cbUnchecked); }
  TCheckBoxState State() const { return state_; }
  // Runs OnClick whenever the state really changes (unless clicks are disabled).
  void SetState(TCheckBoxState state);
  bool AllowGrayed = false;

  void WndProc(TMessage& message) override;
  static void DeclareProperties(std::vector<TPropInfo>& list);

 protected:
  void CreateParams(TCreateParams& params) override;
  void CreateWindowHandleDone() override;
  // A user click: unchecked -> checked (-> grayed when allowed) -> unchecked.
  virtual void Toggle();

 private:
  TCheckBoxState state_ = TCheckBoxState::cbUnchecked;
};

class TCheckBox : public TCustomCheckBox {
  GUI_CLASS(TCheckBox, TCustomCheckBox)
 public:
  explicit TCheckBox(TComponent* owner) : TCustomCheckBox(owner) {}
};

// Checking a radio button unchecks the radio buttons beside it in the same parent.
class TRadioButton : public TButtonControl {
  GUI_CLASS(TRadioButton, TButtonControl)
 public:
  explicit TRadioButton(TComponent* owner);

  bool Checked() const { return checked_; }
  void SetChecked(bool checked);

  void WndProc(TMessage& message) override;
  static void DeclareProperties(std::vector<TPropInfo>& list);

 protected:
  void CreateParams(TCreateParams& params) override;
  void CreateWindowHandleDone() override;

 private:
  bool checked_ = false;
};

class TCustomGroupBox : public TCustomControl {
  GUI_CLASS(TCustomGroupBox, TCustomControl)
 public:
  explicit TCustomGroupBox(TComponent* owner);

 protected:
  void CreateParams(TCreateParams& params) override;
  void Paint(HDC dc) override;
  void TextChanged() override;
};

class TGroupBox : public TCustomGroupBox {
  GUI_CLASS(TGroupBox, TCustomGroupBox)
 public:
  explicit TGroupBox(TComponent* owner) : TCustomGroupBox(owner) {}
};

// Whether `key` is the accelerator (the letter after '&') of `caption`.
bool IsAccel(WPARAM key, const std::wstring& caption);

}  // namespace gui
