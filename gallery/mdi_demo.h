// The gallery's multiple-document demo: a frame "MDI Demo" with File (New
// Child, Close Child, Exit) and Window (Tile, Cascade, Arrange Icons and the
// list of children), whose children each hold a memo and bring an Edit menu
// of their own into the frame's bar while they are active.
#pragma once
#include <string_view>

#include "gui/edits.h"
#include "gui/forms.h"
#include "gui/menus.h"

class TMdiDemoChild : public gui::TForm {
  GUI_CLASS(TMdiDemoChild, gui::TForm)
 public:
  // Made inside the frame, numbered in its caption ("Document 1", ...).
  TMdiDemoChild(gui::TCustomForm* frame, int number);

  gui::TMemo* Memo = nullptr;
  gui::TMainMenu* ChildMenu = nullptr;

  gui::TNotifyEvent MethodAddress(std::string_view name) override;
  void BindField(std::string_view name, gui::TComponent* component) override;
  void WndProc(gui::TMessage& message) override;

 private:
  void SelectAll1Click(gui::TObject* sender);
  void Clear1Click(gui::TObject* sender);
  void StampClick(gui::TObject* sender);
  void FitMemo();
};

class TMdiDemoForm : public gui::TForm {
  GUI_CLASS(TMdiDemoForm, gui::TForm)
 public:
  explicit TMdiDemoForm(gui::TComponent* owner);

  // The frame's own menu.
  gui::TMainMenu* FrameMenu = nullptr;
  gui::TMenuItem* NewChild1 = nullptr;
  gui::TMenuItem* CloseChild1 = nullptr;
  gui::TMenuItem* Window1 = nullptr;

  TMdiDemoChild* NewChild();
  int ChildrenMade() const { return childrenMade_; }

  gui::TNotifyEvent MethodAddress(std::string_view name) override;
  void BindField(std::string_view name, gui::TComponent* component) override;

 private:
  void NewChild1Click(gui::TObject* sender);
  void CloseChild1Click(gui::TObject* sender);
  void Exit1Click(gui::TObject* sender);
  void Tile1Click(gui::TObject* sender);
  void Cascade1Click(gui::TObject* sender);
  void ArrangeIcons1Click(gui::TObject* sender);

  int childrenMade_ = 0;
};
