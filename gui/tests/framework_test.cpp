// The framework's mechanisms the skin engine leans on: ownership, the
// replaceable window method, reflected notifications, the form reader and
// the error report at system callbacks.
#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "gui/files.h"
#include "gui/forms.h"
#include "gui/stdctrls.h"
#include "gui/tests/test_forms.h"

using namespace gui;

namespace {

class Watcher : public TComponent {
 public:
  using TComponent::TComponent;
  std::vector<std::pair<TComponent*, TOperation>> seen;
  void Notification(TComponent* c, TOperation op) override { seen.emplace_back(c, op); }
};

// Stands in front of a control the way a skinner does, logging what passes.
struct Interceptor {
  TControl* control;
  TWndMethod previous;
  std::vector<UINT> log;
  void Handle(TMessage& m) {
    log.push_back(m.Msg);
    previous(m);
  }
};

const char* kForm = R"(object Form: TForm
  Caption = 'Test'
  ClientWidth = 200
  ClientHeight = 100
  object Group: TGroupBox
    Left = 0
    Top = 0
    Width = 200
    Height = 100
    object Button: TButton
      Left = 10
      Top = 10
      Caption = '&Go'
    end
  end
end
)";

class Framework : public gui_test::ApplicationTest {
 protected:
  TForm* NewForm(const char* text = kForm) {
    auto* form = new TForm(app_.get());
    form->InitFromText(text);
    form->HandleNeeded();
    return form;
  }
};

}  // namespace

TEST_F(Framework, OwnersFreeWhatTheyOwnAndWatchersAreTold) {
  auto owner = std::make_unique<Watcher>(nullptr);
  auto* a = new TComponent(owner.get());
  auto* b = new Watcher(owner.get());
  a->SetName("A");
  EXPECT_EQ(owner->FindComponent("a"), a);
  ASSERT_EQ(owner->seen.size(), 2u);
  EXPECT_EQ(owner->seen[0], std::make_pair(a, TOperation::opInsert));

  auto outsider = std::make_unique<Watcher>(nullptr);
  outsider->FreeNotification(b);
  delete a;
  EXPECT_EQ(owner->ComponentCount(), 1);
  EXPECT_EQ(owner->seen.back(), std::make_pair(a, TOperation::opRemove));
  owner.reset();  // frees b, which tells the outsider
  ASSERT_FALSE(outsider->seen.empty());
  EXPECT_EQ(outsider->seen.back(), std::make_pair(static_cast<TComponent*>(b), TOperation::opRemove));
}

TEST_F(Framework, ALayerInFrontOfTheWindowMethodSeesEveryMessageAndGivesItBack) {
  TForm* form = NewForm();
  auto* button = dynamic_cast<TButton*>(form->FindComponent("Button"));
  ASSERT_NE(button, nullptr);
  const TWndMethod original = button->WindowProc;
  EXPECT_EQ(original, button->OwnWindowMethod());

  Interceptor front{button, button->WindowProc, {}};
  button->WindowProc = TWndMethod::Bind<Interceptor, &Interceptor::Handle>(&front);
  int clicks = 0;
  button->OnClick = [&clicks](TObject*) { ++clicks; };

  SendMessageW(button->Handle(), BM_CLICK, 0, 0);  // the parent reflects BN_CLICKED back
  EXPECT_EQ(clicks, 1);
  EXPECT_NE(std::find(front.log.begin(), front.log.end(), CN_COMMAND), front.log.end());
  EXPECT_NE(std::find(front.log.begin(), front.log.end(), static_cast<UINT>(WM_LBUTTONDOWN)), front.log.end());

  // Framework notifications pass the same way.
  front.log.clear();
  button->SetEnabled(false);
  SendMessageW(button->Handle(), WM_MOUSEMOVE, 0, MAKELPARAM(3, 3));
  SendMessageW(button->Handle(), WM_MOUSELEAVE, 0, 0);
  for (UINT msg : {CM_ENABLEDCHANGED, CM_MOUSEENTER, CM_MOUSELEAVE})
    EXPECT_NE(std::find(front.log.begin(), front.log.end(), msg), front.log.end()) << std::hex << msg;
  EXPECT_FALSE(IsWindowEnabled(button->Handle()));

  button->WindowProc = front.previous;
  EXPECT_EQ(button->WindowProc, original);
  front.log.clear();
  button->SetEnabled(true);
  EXPECT_TRUE(front.log.empty());
  delete form;
}

TEST_F(Framework, AnExceptionInAHandlerReachesTheErrorReportAndTheProgramGoesOn) {
  TForm* form = NewForm();
  auto* button = dynamic_cast<TButton*>(form->FindComponent("Button"));
  button->OnClick = [](TObject*) { throw Exception(L"Broken handler"); };
  SendMessageW(button->Handle(), BM_CLICK, 0, 0);
  ASSERT_EQ(errors_.size(), 1u);
  EXPECT_EQ(errors_[0], L"Broken handler");
  EXPECT_TRUE(IsWindow(button->Handle()));
  delete form;
}

TEST_F(Framework, DestroyingAFormDestroysItsWindowsAndControls) {
  TForm* form = NewForm();
  HWND formWnd = form->Handle();
  HWND buttonWnd = dynamic_cast<TWinControl*>(form->FindComponent("Button"))->Handle();
  EXPECT_EQ(app_->Forms().size(), 1u);
  delete form;
  EXPECT_FALSE(IsWindow(formWnd));
  EXPECT_FALSE(IsWindow(buttonWnd));
  EXPECT_TRUE(app_->Forms().empty());
}

TEST_F(Framework, TheFormReaderNamesWhatIsWrong) {
  const auto error = [this](const char* text) {
    try {
      delete NewForm(text);
    } catch (const Exception& e) {
      return e.Message();
    }
    return std::wstring();
  };
  EXPECT_EQ(error("object F: TForm\n  object X: TNoSuchClass\n  end\nend\n"), L"Class TNoSuchClass not found (X, line 2)");
  EXPECT_EQ(error("object F: TForm\n  Colour = 3\nend\n"), L"Property Colour does not exist (F, line 2)");
  EXPECT_EQ(error("object F: TForm\n  OnCreate = Missing\nend\n"), L"Method Missing does not exist (F, line 2)");
  EXPECT_EQ(error("object F: TForm\n  BorderStyle = bsOval\nend\n"), L"Invalid property value bsOval");
  EXPECT_NE(error("object F: TForm\n  Caption = 'open\nend\n").find(L"line 2"), std::wstring::npos);
  // Component references and collection items.
  EXPECT_EQ(error("object F: TForm\n  object L: TListView\n    SmallImages = Nowhere\n  end\nend\n"),
            L"Component Nowhere not found (L, line 3)");
  EXPECT_EQ(error("object F: TForm\n  object L: TListView\n    SmallImages = L\n  end\nend\n"),
            L"Invalid property value L (L, line 3)");
  EXPECT_EQ(error("object F: TForm\n  object L: TListView\n    Columns = <\n      item\n        Nope = 1\n"
                  "      end>\n  end\nend\n"),
            L"Property Nope does not exist (L, line 5)");
  EXPECT_EQ(error("object F: TForm\n  object L: TListView\n    Items.Strings = ('a')\n  end\nend\n"),
            L"Property Items.Strings does not exist (L, line 3)");
}

TEST_F(Framework, RadioButtonsAreExclusiveWithinTheirParent) {
  TForm* form = NewForm(R"(object F: TForm
  object A: TRadioButton
    Checked = True
  end
  object B: TRadioButton
  end
  object G: TGroupBox
    object C: TRadioButton
      Checked = True
    end
  end
end
)");
  auto* a = dynamic_cast<TRadioButton*>(form->FindComponent("A"));
  auto* b = dynamic_cast<TRadioButton*>(form->FindComponent("B"));
  auto* c = dynamic_cast<TRadioButton*>(form->FindComponent("C"));
  b->SetChecked(true);
  EXPECT_FALSE(a->Checked());
  EXPECT_TRUE(c->Checked());
  EXPECT_EQ(SendMessageW(a->Handle(), BM_GETCHECK, 0, 0), BST_UNCHECKED);
  delete form;
}

// A whole file comes back byte for byte, across the sizes one read call
// takes; a folder or a missing file is no file.
TEST(Files, AWholeFileIsReadAndAFolderIsNot) {
  wchar_t folder[MAX_PATH] = {};
  ASSERT_NE(GetTempPathW(MAX_PATH, folder), 0u);
  const std::wstring path = std::wstring(folder) + L"gui_files_test.bin";
  std::vector<std::uint8_t> written(70001);
  for (std::size_t i = 0; i < written.size(); ++i) written[i] = static_cast<std::uint8_t>(i * 7 + i / 256);
  HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  ASSERT_NE(file, INVALID_HANDLE_VALUE);
  DWORD count = 0;
  WriteFile(file, written.data(), static_cast<DWORD>(written.size()), &count, nullptr);
  CloseHandle(file);
  std::vector<std::uint8_t> read{1, 2, 3};
  EXPECT_TRUE(ReadWholeFile(path, read));
  EXPECT_EQ(read, written);
  DeleteFileW(path.c_str());
  EXPECT_FALSE(ReadWholeFile(path, read));
  EXPECT_TRUE(read.empty());
  EXPECT_FALSE(ReadWholeFile(folder, read));
  EXPECT_FALSE(ReadWholeFile(L"", read));
}
