// MDI frames and children on live windows: the client window, the active
// child, arranging, a maximised child's buttons in the frame's bar, menu
// merging and the window menu's list of children.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "gui/forms.h"
#include "gui/menus.h"
#include "gui/tests/test_forms.h"
#include "gui/text.h"

using namespace gui;
using gui_test::MessageLog;

namespace {

const char* kFrame = R"(object Frame: TForm
  Caption = 'Frame'
  FormStyle = fsMDIForm
  ClientWidth = 600
  ClientHeight = 400
  Menu = FrameMenu
  WindowMenu = Window1
  object FrameMenu: TMainMenu
    object File1: TMenuItem
      Caption = '&File'
      object New1: TMenuItem
        Caption = '&New'
      end
    end
    object Window1: TMenuItem
      Caption = '&Window'
      GroupIndex = 9
      object Tile1: TMenuItem
        Caption = '&Tile'
      end
    end
  end
end
)";

const char* kPlainChild = R"(object Doc: TForm
  FormStyle = fsMDIChild
  Position = poDefault
end
)";

const char* kEditChild = R"(object Doc: TForm
  FormStyle = fsMDIChild
  Position = poDefault
  Menu = DocMenu
  object DocMenu: TMainMenu
    object Edit1: TMenuItem
      Caption = '&Edit'
      GroupIndex = 1
      object Copy1: TMenuItem
        Caption = '&Copy'
        OnClick = Copy1Click
      end
    end
  end
end
)";

// A child whose "&File" replaces the frame's (same group).
const char* kFileChild = R"(object Doc: TForm
  FormStyle = fsMDIChild
  Position = poDefault
  Menu = DocMenu
  object DocMenu: TMainMenu
    object File1: TMenuItem
      Caption = '&File'
      object Print1: TMenuItem
        Caption = '&Print'
      end
    end
  end
end
)";

class Doc : public TForm {
 public:
  using TForm::TForm;
  int copies = 0;
  TNotifyEvent MethodAddress(std::string_view name) override {
    if (name == "Copy1Click") return [this](TObject*) { ++copies; };
    return {};
  }
};

std::vector<std::wstring> BarTexts(HMENU bar) {
  std::vector<std::wstring> texts;
  for (int i = 0; i < GetMenuItemCount(bar); ++i) {
    wchar_t text[64] = {};
    GetMenuStringW(bar, static_cast<UINT>(i), text, 64, MF_BYPOSITION);
    texts.emplace_back(text);
  }
  return texts;
}

RECT ClientRectIn(HWND child, HWND client) {
  RECT r;
  GetWindowRect(child, &r);
  MapWindowPoints(nullptr, client, reinterpret_cast<POINT*>(&r), 2);
  return r;
}

class Mdi : public gui_test::ApplicationTest {
 protected:
  void SetUp() override {
    ApplicationTest::SetUp();
    frame_ = new TForm(app_.get());
    frame_->InitFromText(kFrame);
    app_->SetMainForm(frame_);
    frame_->Show();
  }
  void TearDown() override {
    EXPECT_TRUE(errors_.empty()) << (errors_.empty() ? "" : WideToUtf8(errors_[0]));
    ApplicationTest::TearDown();
  }
  Doc* NewChild(const wchar_t* caption, const char* text = kPlainChild) {
    auto* child = new Doc(frame_);
    child->SetCaption(caption);
    child->InitFromText(text);
    return child;
  }
  HMENU Bar() const { return GetMenu(frame_->Handle()); }

  TForm* frame_ = nullptr;
};

}  // namespace

TEST_F(Mdi, TheFrameHoldsTheClientAndTheChildrenLiveInIt) {
  HWND client = frame_->ClientHandle();
  ASSERT_NE(client, nullptr);
  wchar_t className[32] = {};
  GetClassNameW(client, className, 32);
  EXPECT_STREQ(className, L"MDIClient");
  RECT clientRect, frameClient;
  GetWindowRect(client, &clientRect);
  GetClientRect(frame_->Handle(), &frameClient);
  EXPECT_EQ(clientRect.right - clientRect.left, frameClient.right);
  EXPECT_EQ(clientRect.bottom - clientRect.top, frameClient.bottom);

  Doc* a = NewChild(L"A");
  Doc* b = NewChild(L"B");
  Doc* c = NewChild(L"C");
  EXPECT_EQ(frame_->MDIChildCount(), 3);
  for (Doc* doc : {a, b, c}) {
    EXPECT_EQ(GetParent(doc->Handle()), client);
    EXPECT_NE(GetWindowLongPtrW(doc->Handle(), GWL_EXSTYLE) & WS_EX_MDICHILD, 0);
    EXPECT_EQ(doc->MDIFrame(), frame_);
  }
  EXPECT_EQ(frame_->ActiveMDIChild(), c);
  EXPECT_EQ(frame_->MDIChildren(0), c);
  frame_->Next();
  EXPECT_NE(frame_->ActiveMDIChild(), c);
  frame_->Previous();
  EXPECT_EQ(frame_->ActiveMDIChild(), c);
  // Choosing a child in the window menu goes through the frame's default
  // handling (DefFrameProc).
  SendMessageW(frame_->Handle(), WM_COMMAND, MAKEWPARAM(kFirstMDIChildId, 0), 0);
  EXPECT_EQ(frame_->ActiveMDIChild(), a);

  // The frame resized: the client follows it.
  frame_->SetClientWidth(500);
  GetWindowRect(client, &clientRect);
  EXPECT_EQ(clientRect.right - clientRect.left, 500);
}

// The style takes effect at creation: the window is made again, and a form
// that was shown stays shown.
TEST_F(Mdi, AShownFormMadeAFrameAtRunTimeStaysShown) {
  auto* form = new TForm(app_.get());
  form->Show();
  HWND before = form->Handle();
  form->SetFormStyle(TFormStyle::fsMDIForm);
  EXPECT_NE(form->Handle(), before);
  EXPECT_NE(form->ClientHandle(), nullptr);
  EXPECT_TRUE(IsWindowVisible(form->Handle()));
  delete form;
}

TEST_F(Mdi, TileAndCascadeArrangeTheChildren) {
  std::vector<Doc*> docs{NewChild(L"A"), NewChild(L"B"), NewChild(L"C")};
  HWND client = frame_->ClientHandle();
  frame_->SetTileMode(TTileMode::tbVertical);
  frame_->Tile();
  RECT area;  // without the scroll bars the cascaded children needed
  GetClientRect(client, &area);
  // Side by side, together filling the client area without overlapping.
  std::vector<RECT> rects;
  for (Doc* doc : docs) rects.push_back(ClientRectIn(doc->Handle(), client));
  std::sort(rects.begin(), rects.end(), [](const RECT& x, const RECT& y) { return x.left < y.left; });
  // The width divides with a remainder of at most a pixel per child.
  EXPECT_EQ(rects.front().left, 0);
  EXPECT_LE(rects.back().right, area.right);
  EXPECT_GT(rects.back().right, area.right - static_cast<int>(rects.size()));
  for (std::size_t i = 0; i < rects.size(); ++i) {
    EXPECT_EQ(rects[i].top, 0);
    EXPECT_EQ(rects[i].bottom, area.bottom);
    if (i) {
      EXPECT_EQ(rects[i].left, rects[i - 1].right);
    }
  }

  frame_->SetTileMode(TTileMode::tbHorizontal);
  frame_->Tile();
  rects.clear();
  for (Doc* doc : docs) rects.push_back(ClientRectIn(doc->Handle(), client));
  std::sort(rects.begin(), rects.end(), [](const RECT& x, const RECT& y) { return x.top < y.top; });
  for (std::size_t i = 0; i < rects.size(); ++i) {
    EXPECT_EQ(rects[i].left, 0);
    EXPECT_EQ(rects[i].right, area.right);
    if (i) {
      EXPECT_EQ(rects[i].top, rects[i - 1].bottom);
    }
  }
  EXPECT_EQ(rects.front().top, 0);
  EXPECT_GT(rects.back().bottom, area.bottom - static_cast<int>(rects.size()));

  frame_->Cascade();
  // Each one further right and down by the same step, the active one in front.
  rects.clear();
  for (Doc* doc : docs) rects.push_back(ClientRectIn(doc->Handle(), client));
  std::sort(rects.begin(), rects.end(), [](const RECT& x, const RECT& y) { return x.left < y.left; });
  const int dx = rects[1].left - rects[0].left, dy = rects[1].top - rects[0].top;
  EXPECT_GT(dx, 0);
  EXPECT_GT(dy, 0);
  EXPECT_EQ(rects[2].left - rects[1].left, dx);
  EXPECT_EQ(rects[2].top - rects[1].top, dy);
  EXPECT_EQ(ClientRectIn(frame_->ActiveMDIChild()->Handle(), client).left, rects[2].left);
}

TEST_F(Mdi, AMaximisedChildPutsItsButtonsIntoTheFramesBar) {
  NewChild(L"A");
  Doc* doc = NewChild(L"B", kEditChild);
  HMENU bar = Bar();
  ASSERT_EQ(BarTexts(bar), (std::vector<std::wstring>{L"&File", L"&Edit", L"&Window"}));
  SendMessageW(frame_->ClientHandle(), WM_MDIMAXIMIZE, reinterpret_cast<WPARAM>(doc->Handle()), 0);
  ASSERT_TRUE(IsZoomed(doc->Handle()));
  // The child's system menu in front, minimise, restore and close behind.
  ASSERT_EQ(GetMenuItemCount(bar), 3 + 4);
  EXPECT_EQ(GetSubMenu(bar, 0), GetSystemMenu(doc->Handle(), FALSE));
  EXPECT_EQ(GetMenuItemID(bar, 4), static_cast<UINT>(SC_MINIMIZE));
  EXPECT_EQ(GetMenuItemID(bar, 5), static_cast<UINT>(SC_RESTORE));
  EXPECT_EQ(GetMenuItemID(bar, 6), static_cast<UINT>(SC_CLOSE));

  // Rebuilding the bar while the child is maximised keeps them.
  dynamic_cast<TMenuItem*>(frame_->FindComponent("File1"))->SetCaption(L"&Document");
  ASSERT_EQ(GetMenuItemCount(bar), 7);
  EXPECT_EQ(GetSubMenu(bar, 0), GetSystemMenu(doc->Handle(), FALSE));
  EXPECT_EQ(BarTexts(bar)[1], L"&Document");
  EXPECT_EQ(GetMenuItemID(bar, 6), static_cast<UINT>(SC_CLOSE));

  SendMessageW(frame_->ClientHandle(), WM_MDIRESTORE, reinterpret_cast<WPARAM>(doc->Handle()), 0);
  EXPECT_EQ(BarTexts(bar), (std::vector<std::wstring>{L"&Document", L"&Edit", L"&Window"}));
}

TEST_F(Mdi, AnActiveChildsMenuMergesIntoTheFramesBarAndLeavesWithIt) {
  MessageLog log(frame_);
  Doc* plain = NewChild(L"Plain");
  const std::vector<std::wstring> own{L"&File", L"&Window"};
  EXPECT_EQ(BarTexts(Bar()), own);
  log.Seen.clear();
  Doc* edit = NewChild(L"Editor", kEditChild);
  EXPECT_EQ(BarTexts(Bar()), (std::vector<std::wstring>{L"&File", L"&Edit", L"&Window"}));
  EXPECT_GE(log.Count(CM_MENUCHANGED), 1);
  EXPECT_EQ(GetMenu(frame_->Handle()), frame_->Menu()->Handle());

  // The merged item runs in the child.
  auto* copy = dynamic_cast<TMenuItem*>(edit->FindComponent("Copy1"));
  SendMessageW(frame_->Handle(), WM_COMMAND, MAKEWPARAM(copy->Command(), 0), 0);
  EXPECT_EQ(edit->copies, 1);

  // Another child active: the frame's own bar; back again: merged.
  log.Seen.clear();
  SendMessageW(frame_->ClientHandle(), WM_MDIACTIVATE, reinterpret_cast<WPARAM>(plain->Handle()), 0);
  EXPECT_EQ(BarTexts(Bar()), own);
  EXPECT_GE(log.Count(CM_MENUCHANGED), 1);
  SendMessageW(frame_->ClientHandle(), WM_MDIACTIVATE, reinterpret_cast<WPARAM>(edit->Handle()), 0);
  EXPECT_EQ(BarTexts(Bar()), (std::vector<std::wstring>{L"&File", L"&Edit", L"&Window"}));

  // A child item of the same group replaces the frame's.
  Doc* printer = NewChild(L"Printer", kFileChild);
  HMENU bar = Bar();
  EXPECT_EQ(BarTexts(bar), own);
  EXPECT_EQ(TMenuItem::FromMenuHandle(GetSubMenu(bar, 0)), printer->FindComponent("File1"));

  // Closing the child frees it and gives the frame its own menu back.
  const std::size_t forms = app_->Forms().size();
  SendMessageW(printer->Handle(), WM_CLOSE, 0, 0);
  app_->ProcessMessages();
  EXPECT_EQ(app_->Forms().size(), forms - 1);
  EXPECT_EQ(frame_->MDIChildCount(), 2);
  EXPECT_EQ(TMenuItem::FromMenuHandle(GetSubMenu(Bar(), 0)), frame_->FindComponent("File1"));
  log.Seen.clear();
  for (TCustomForm* child = frame_->ActiveMDIChild(); child; child = frame_->ActiveMDIChild()) {
    SendMessageW(child->Handle(), WM_CLOSE, 0, 0);
    app_->ProcessMessages();
  }
  EXPECT_EQ(frame_->MDIChildCount(), 0);
  EXPECT_EQ(BarTexts(Bar()), own);
  EXPECT_EQ(frame_->Menu()->Merged(), nullptr);
  EXPECT_GE(log.Count(CM_MENUCHANGED), 1);
}

TEST_F(Mdi, TheWindowMenuListsTheChildren) {
  for (const wchar_t* caption : {L"Alpha", L"Beta", L"Gamma"}) NewChild(caption, kEditChild);
  HMENU windowMenu = dynamic_cast<TMenuItem*>(frame_->FindComponent("Window1"))->Handle();
  const auto listed = [windowMenu] {
    std::vector<std::wstring> children;
    for (UINT id = kFirstMDIChildId; id < kFirstMDIChildId + 10; ++id) {
      wchar_t text[64] = {};
      if (GetMenuStringW(windowMenu, id, text, 64, MF_BYCOMMAND) > 0) children.emplace_back(text);
    }
    return children;
  };
  const auto has = [](const std::vector<std::wstring>& list, const wchar_t* caption) {
    return std::any_of(list.begin(), list.end(),
                       [caption](const std::wstring& s) { return s.find(caption) != std::wstring::npos; });
  };
  std::vector<std::wstring> children = listed();
  ASSERT_EQ(children.size(), 3u);
  for (const wchar_t* caption : {L"Alpha", L"Beta", L"Gamma"}) EXPECT_TRUE(has(children, caption));
  // The frame's own item stays first.
  wchar_t first[32] = {};
  GetMenuStringW(windowMenu, 0, first, 32, MF_BYPOSITION);
  EXPECT_STREQ(first, L"&Tile");

  // Opening the window menu refills its own items without losing the list
  // (the client adds it only when the children change).
  dynamic_cast<TMenuItem*>(frame_->FindComponent("Tile1"))->SetCaption(L"&Tile all");
  SendMessageW(frame_->Handle(), WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(windowMenu), 1);
  EXPECT_EQ(listed().size(), 3u);
  GetMenuStringW(windowMenu, 0, first, 32, MF_BYPOSITION);
  EXPECT_STREQ(first, L"&Tile all");
  // Switching the active child (a merge each time) keeps it too.
  frame_->Next();
  EXPECT_EQ(listed().size(), 3u);
}

TEST_F(Mdi, CtrlF6FromTheMessageLoopMovesToTheNextChild) {
  NewChild(L"A");
  Doc* b = NewChild(L"B");
  ASSERT_EQ(frame_->ActiveMDIChild(), b);
  {
    gui_test::HeldKeys ctrl{VK_CONTROL};
    gui_test::PostKey(b->Handle(), VK_F6);
    app_->ProcessMessages();
  }
  EXPECT_NE(frame_->ActiveMDIChild(), b);
}
