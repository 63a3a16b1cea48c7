#include "gallery/mdi_demo.h"

#include <string>
#include <utility>

namespace {

constexpr int kChildLines = 40;

const char* kFrameText = R"(object MdiDemoForm: TMdiDemoForm
  Caption = 'MDI Demo'
  FormStyle = fsMDIForm
  ClientWidth = 600
  ClientHeight = 400
  Menu = FrameMenu
  WindowMenu = Window1
  object FrameMenu: TMainMenu
    object File1: TMenuItem
      Caption = '&File'
      object NewChild1: TMenuItem
        Caption = '&New Child'
        OnClick = NewChild1Click
      end
      object CloseChild1: TMenuItem
        Caption = '&Close Child'
        OnClick = CloseChild1Click
      end
      object N1: TMenuItem
        Caption = '-'
      end
      object Exit1: TMenuItem
        Caption = 'E&xit'
        OnClick = Exit1Click
      end
    end
    object Window1: TMenuItem
      Caption = '&Window'
      GroupIndex = 9
      object Tile1: TMenuItem
        Caption = '&Tile'
        OnClick = Tile1Click
      end
      object Cascade1: TMenuItem
        Caption = '&Cascade'
        OnClick = Cascade1Click
      end
      object ArrangeIcons1: TMenuItem
        Caption = '&Arrange Icons'
        OnClick = ArrangeIcons1Click
      end
    end
  end
end
)";

// The child's Edit menu sits between the frame's File and Window (group 1).
const char* kChildText = R"(object MdiDemoChild: TMdiDemoChild
  FormStyle = fsMDIChild
  Position = poDefault
  ClientWidth = 280
  ClientHeight = 170
  Menu = ChildMenu
  object Memo: TMemo
    Left = 0
    Top = 0
    Width = 280
    Height = 170
    ScrollBars = ssBoth
    WordWrap = False
    TabOrder = 0
  end
  object ChildMenu: TMainMenu
    object Edit1: TMenuItem
      Caption = '&Edit'
      GroupIndex = 1
      object SelectAll1: TMenuItem
        Caption = 'Select &All'
        OnClick = SelectAll1Click
      end
      object Stamp1: TMenuItem
        Caption = '&Insert Line'
        OnClick = StampClick
      end
      object Clear1: TMenuItem
        Caption = 'C&lear'
        OnClick = Clear1Click
      end
    end
  end
end
)";

template <class Form>
gui::TNotifyEvent Handler(Form* form, void (Form::*method)(gui::TObject*)) {
  return [form, method](gui::TObject* sender) { (form->*method)(sender); };
}

}  // namespace

// --- the child ---------------------------------------------------------------

TMdiDemoChild::TMdiDemoChild(gui::TCustomForm* frame, int number) : gui::TForm(frame) {
  SetCaption(L"Document " + std::to_wstring(number));
  InitFromText(kChildText);
  if (!Memo) return;
  std::wstring text;
  for (int line = 1; line <= kChildLines; ++line)
    text += L"Document " + std::to_wstring(number) + L", line " + std::to_wstring(line) + L"\r\n";
  Memo->SetText(text);
  FitMemo();
}

gui::TNotifyEvent TMdiDemoChild::MethodAddress(std::string_view name) {
  if (name == "SelectAll1Click") return Handler(this, &TMdiDemoChild::SelectAll1Click);
  if (name == "Clear1Click") return Handler(this, &TMdiDemoChild::Clear1Click);
  if (name == "StampClick") return Handler(this, &TMdiDemoChild::StampClick);
  return gui::TForm::MethodAddress(name);
}

void TMdiDemoChild::BindField(std::string_view name, gui::TComponent* component) {
  if (name == "Memo") Memo = dynamic_cast<gui::TMemo*>(component);
  if (name == "ChildMenu") ChildMenu = dynamic_cast<gui::TMainMenu*>(component);
  gui::TForm::BindField(name, component);
}

void TMdiDemoChild::WndProc(gui::TMessage& m) {
  gui::TForm::WndProc(m);
  if (m.Msg == WM_SIZE) FitMemo();
}

// The memo fills the child.
void TMdiDemoChild::FitMemo() {
  if (!Memo || !HandleAllocated()) return;
  RECT client{};
  GetClientRect(Handle(), &client);
  Memo->SetBounds(0, 0, client.right, client.bottom);
}

void TMdiDemoChild::SelectAll1Click(gui::TObject*) {
  if (!Memo) return;
  Memo->SetFocus();
  Memo->SelectAll();
}

void TMdiDemoChild::Clear1Click(gui::TObject*) {
  if (Memo) Memo->Lines().Clear();
}

void TMdiDemoChild::StampClick(gui::TObject*) {
  if (Memo) Memo->Lines().Add(Caption() + L": a new line");
}

// --- the frame ---------------------------------------------------------------

TMdiDemoForm::TMdiDemoForm(gui::TComponent* owner) : gui::TForm(owner) { InitFromText(kFrameText); }

gui::TNotifyEvent TMdiDemoForm::MethodAddress(std::string_view name) {
  using Method = void (TMdiDemoForm::*)(gui::TObject*);
  static const std::pair<std::string_view, Method> kMethods[] = {
      {"NewChild1Click", &TMdiDemoForm::NewChild1Click}, {"CloseChild1Click", &TMdiDemoForm::CloseChild1Click},
      {"Exit1Click", &TMdiDemoForm::Exit1Click},         {"Tile1Click", &TMdiDemoForm::Tile1Click},
      {"Cascade1Click", &TMdiDemoForm::Cascade1Click},   {"ArrangeIcons1Click", &TMdiDemoForm::ArrangeIcons1Click},
  };
  for (const auto& [methodName, method] : kMethods)
    if (methodName == name) return Handler(this, method);
  return gui::TForm::MethodAddress(name);
}

void TMdiDemoForm::BindField(std::string_view name, gui::TComponent* component) {
  if (name == "FrameMenu") FrameMenu = dynamic_cast<gui::TMainMenu*>(component);
  if (name == "NewChild1") NewChild1 = dynamic_cast<gui::TMenuItem*>(component);
  if (name == "CloseChild1") CloseChild1 = dynamic_cast<gui::TMenuItem*>(component);
  if (name == "Window1") Window1 = dynamic_cast<gui::TMenuItem*>(component);
  gui::TForm::BindField(name, component);
}

TMdiDemoChild* TMdiDemoForm::NewChild() { return new TMdiDemoChild(this, ++childrenMade_); }

void TMdiDemoForm::NewChild1Click(gui::TObject*) { NewChild(); }

void TMdiDemoForm::CloseChild1Click(gui::TObject*) {
  if (gui::TCustomForm* child = ActiveMDIChild()) child->Close();
}

void TMdiDemoForm::Exit1Click(gui::TObject*) { Close(); }

void TMdiDemoForm::Tile1Click(gui::TObject*) { Tile(); }

void TMdiDemoForm::Cascade1Click(gui::TObject*) { Cascade(); }

void TMdiDemoForm::ArrangeIcons1Click(gui::TObject*) { ArrangeIcons(); }
