// Edit boxes over the system "EDIT" class: the single-line edit, the
// multi-line memo with its lines and scroll bars, and the spin edit, an edit
// with up-down buttons inside its right edge that step its number.
#pragma once
#include <string>

#include "gui/controls.h"
#include "gui/ranges.h"

namespace gui {

enum class TBorderStyle { bsNone, bsSingle };

class TCustomEdit : public TWinControl {
  GUI_CLASS(TCustomEdit, TWinControl)
 public:
  explicit TCustomEdit(TComponent* owner);

  // The text as the window holds it (the user may have typed).
  std::wstring Text();
  void SetText(const std::wstring& text) { SetCaption(text); }
  // Characters the user may type; 0 means the system's limit.
  int MaxLength() const { return maxLength_; }
  void SetMaxLength(int v);
  bool ReadOnly() const { return readOnly_; }
  void SetReadOnly(bool v);
  TBorderStyle BorderStyle() const { return borderStyle_; }
  void SetBorderStyle(TBorderStyle v) { SetStyleField(borderStyle_, v); }
  void SelectAll();

  // The text changed, by the user or by code; once per real change.
  TNotifyEvent OnChange;

  void WndProc(TMessage& message) override;
  static void DeclareProperties(std::vector<TPropInfo>& list);

 protected:
  void CreateParams(TCreateParams& params) override;
  void CreateWindowHandleDone() override;
  void WindowHandleDestroying() override;
  void TextChanged() override;
  virtual void Change();

 private:
  // Runs Change when the window's text differs from the text last reported.
  void NoticeText();

  std::wstring reported_;
  int maxLength_ = 0;
  bool readOnly_ = false;
  TBorderStyle borderStyle_ = TBorderStyle::bsSingle;
};

class TEdit : public TCustomEdit {
  GUI_CLASS(TEdit, TCustomEdit)
 public:
  explicit TEdit(TComponent* owner) : TCustomEdit(owner) {}
};

enum class TScrollStyle { ssNone, ssHorizontal, ssVertical, ssBoth };

class TCustomMemo;

// A memo's lines: its text split at line breaks (CR LF).
class TMemoStrings : public TStrings {
  GUI_CLASS(TMemoStrings, TStrings)
 public:
  explicit TMemoStrings(TCustomMemo& memo) : memo_(memo) {}
  int Count() const override { return static_cast<int>(ToVector().size()); }
  std::wstring Get(int index) const override;
  void Insert(int index, const std::wstring& text) override;
  void Delete(int index) override;
  void Clear() override;
  std::vector<std::wstring> ToVector() const override;
  void Assign(const std::vector<std::wstring>& items) override;

 private:
  TCustomMemo& memo_;
};

class TCustomMemo : public TCustomEdit {
  GUI_CLASS(TCustomMemo, TCustomEdit)
 public:
  explicit TCustomMemo(TComponent* owner);

  TStrings& Lines() { return lines_; }
  TScrollStyle ScrollBars() const { return scrollBars_; }
  void SetScrollBars(TScrollStyle v) { SetStyleField(scrollBars_, v); }
  bool WordWrap() const { return wordWrap_; }
  void SetWordWrap(bool v) { SetStyleField(wordWrap_, v); }
  // Enter starts a new line instead of pressing the default button.
  bool WantReturns() const { return wantReturns_; }
  void SetWantReturns(bool v) { SetStyleField(wantReturns_, v); }
  // Tab is typed instead of moving the focus.
  bool WantTabs = false;

  void WndProc(TMessage& message) override;
  static void DeclareProperties(std::vector<TPropInfo>& list);

 protected:
  void CreateParams(TCreateParams& params) override;

 private:
  TMemoStrings lines_{*this};
  TScrollStyle scrollBars_ = TScrollStyle::ssNone;
  bool wordWrap_ = true;
  bool wantReturns_ = true;
};

class TMemo : public TCustomMemo {
  GUI_CLASS(TMemo, TCustomMemo)
 public:
  explicit TMemo(TComponent* owner) : TCustomMemo(owner) {}
};

// The up-down buttons of a spin edit: a child window of the edit, placed
// by it inside its right edge.
class TSpinButton : public TUpDown {
  GUI_CLASS(TSpinButton, TUpDown)
 public:
  explicit TSpinButton(TComponent* owner);

 protected:
  void CreateParams(TCreateParams& params) override;
  void CreateWindowHandleDone() override;
};

// An edit holding a whole number that its buttons (and the up and down
// keys) step by Increment. MinValue equal to MaxValue means no limits.
class TSpinEdit : public TCustomEdit {
  GUI_CLASS(TSpinEdit, TCustomEdit)
 public:
  explicit TSpinEdit(TComponent* owner);

  // The first component the spin edit owns.
  TSpinButton& Button() { return *button_; }
  int MinValue() const { return minValue_; }
  int MaxValue() const { return maxValue_; }
  void SetMinValue(int v);
  void SetMaxValue(int v);
  // The number in the text, within the limits; MinValue for other text.
  int Value();
  void SetValue(int v);
  int Increment() const { return button_->Increment(); }
  void SetIncrement(int v) { button_->SetIncrement(v); }

  void WndProc(TMessage& message) override;
  static void DeclareProperties(std::vector<TPropInfo>& list);

 protected:
  void CreateParams(TCreateParams& params) override;
  void CreateWindowHandleDone() override;

 private:
  friend class TSpinButton;
  int CheckValue(int v) const;
  void UpdateRange();
  void PlaceButton();

  TSpinButton* button_;
  int minValue_ = 0, maxValue_ = 0;
};

}  // namespace gui
