// The form skinner's life cycle, by what the skinned window's own procedure
// receives (recorded the Wine way: a table of expected messages, noise
// ignored, both lists printed on a mismatch) and by what it leaves behind.
#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <cstring>
#include <sstream>
#include <stdexcept>
#include <vector>

#include "gui/formreader.h"
#include "gui/forms.h"
#include "gui/menus.h"
#include "gui/method_hook.h"
#include "gui/stdctrls.h"
#include "gui/subclass.h"
#include "skin/data/skin_data.h"
#include "skin/data/skin_protocol.h"
#include "skin/data/tests/test_skins.h"
#include "skin/form/skin_form.h"
#include "skin/manager/skin_manager.h"
#include "skin/manager/tests/engine_fixture.h"
#include "tests/support/message_sequence.h"

namespace {

using skin::ThreadSkinManager;
using skin::TSkinData;
using skin::TWinSkinForm;

using msgseq::TMessageLog;
using msgseq::TMsgEntry;
using msgseq::optional;
using msgseq::posted;
using msgseq::sent;
using msgseq::wparam;

// What the skinned window's own procedure receives, behind the skinner.
LRESULT CALLBACK RecordingProc(HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  if (TMessageLog* log = TMessageLog::Active()) log->Record(wnd, msg, wParam, lParam);
  return DefWindowProcW(wnd, msg, wParam, lParam);
}

bool Received(const TMessageLog& log, UINT msg) {
  return std::any_of(log.Entries().begin(), log.Entries().end(), [msg](const TMsgEntry& e) { return e.message == msg; });
}

void Drain() { skin_test::DrainMessages(); }

HWND CreateRecorded(const wchar_t* className, DWORD style, const wchar_t* caption = L"Test", int width = 300,
                    int height = 200, HWND owner = nullptr) {
  return skin_test::CreateTestWindow(className, &RecordingProc, caption, style, 40, 40, width, height, owner);
}

using SkinFormTest = engine_test::DefaultSkinTest;

// Shows the form with the client size and skins it as the manager does.
TWinSkinForm* ShowSkinned(gui::TForm& form, int width, int height) {
  form.SetClientWidth(width);
  form.SetClientHeight(height);
  form.HandleNeeded();
  form.Show();
  if (!ThreadSkinManager()->SkinWindow(form.Handle())) return nullptr;
  Drain();
  return ThreadSkinManager()->FindFormSkinner(form.Handle());
}

// A fixed frame: its client area is kept (a sizeable window of no framework
// form keeps its window size instead, sdk/tests/guest_test.cpp).
constexpr DWORD kFixedFrame = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_MAXIMIZEBOX;

TEST_F(SkinFormTest, WhatTheWindowSeesFromAttachToDestruction) {
  TMessageLog log;
  HWND wnd = CreateRecorded(L"SkinFormSeqWindow", kFixedFrame | WS_VISIBLE);
  Drain();
  const long subclasses = gui::TWindowSubclass::LiveCount();

  log.Flush();
  ASSERT_TRUE(ThreadSkinManager()->SkinWindow(wnd));
  TWinSkinForm* skinner = ThreadSkinManager()->FindFormSkinner(wnd);
  ASSERT_NE(skinner, nullptr);
  // The query reaches the window's own procedure before it is skinned; then
  // the caption styles go, before the procedure is taken over.
  OK_SEQUENCE(log, (std::vector<TMsgEntry>{{skin::SkinMsgQuery, sent}, {WM_STYLECHANGING, sent}, {WM_STYLECHANGED, sent}}),
              "attach");
  EXPECT_EQ(skinner->State(), TWinSkinForm::ssAttached);

  log.Flush();
  log.Pump();  // SkinMsgAttached: fit the frame
  EXPECT_FALSE(Received(log, skin::SkinMsgAttached));
  // The frame is fitted around the client area (the caption styles are set
  // again for the state on the way), then the region is set; the repaint's
  // timing is the system's.
  OK_SEQUENCE(log,
              (std::vector<TMsgEntry>{{WM_WINDOWPOSCHANGING, sent},
                                      {WM_STYLECHANGING, sent | optional},
                                      {WM_STYLECHANGED, sent | optional},
                                      {WM_NCCALCSIZE, sent | wparam, TRUE},
                                      {WM_ERASEBKGND, sent | optional},
                                      {WM_WINDOWPOSCHANGED, sent},
                                      {WM_MOVE, sent | optional},
                                      {WM_WINDOWPOSCHANGING, sent},
                                      {WM_NCCALCSIZE, sent | wparam, TRUE},
                                      {WM_ERASEBKGND, sent | optional},
                                      {WM_WINDOWPOSCHANGED, sent},
                                      {WM_PAINT, posted | optional}}),
              "SkinMsgAttached");
  EXPECT_EQ(skinner->State(), TWinSkinForm::ssRunning);
  ASSERT_NE(skinner->HoverTimer(), nullptr);
  EXPECT_TRUE(skinner->HoverTimer()->Enabled());

  log.Flush();
  EXPECT_EQ(SendMessageW(wnd, skin::SkinMsgQuery, 0, 0), 1);
  EXPECT_FALSE(Received(log, skin::SkinMsgQuery));  // answered without the window's procedure

  // Destroyed while skinned: the window's own procedure still gets the last
  // messages, and the skinner is left for the purge.
  log.Flush();
  DestroyWindow(wnd);
  OK_SEQUENCE(log,
              (std::vector<TMsgEntry>{{WM_WINDOWPOSCHANGING, sent},
                                      {WM_WINDOWPOSCHANGED, sent},
                                      {WM_ACTIVATE, sent | optional},
                                      {WM_ACTIVATEAPP, sent | optional},
                                      {WM_KILLFOCUS, sent | optional},
                                      {WM_DESTROY, sent},
                                      {WM_NCDESTROY, sent}}),
              "destroy");
  EXPECT_EQ(skinner->State(), TWinSkinForm::ssDestroyed);
  EXPECT_EQ(gui::TWindowSubclass::LiveCount(), subclasses);
  ThreadSkinManager()->PurgeDestroyedForms();
  EXPECT_TRUE(ThreadSkinManager()->FormSkinners().empty());
}

TEST_F(SkinFormTest, SkinOffRestoresProcedureStylesAndClientSize) {
  HWND wnd = CreateRecorded(L"SkinFormSeqWindow", kFixedFrame | WS_VISIBLE);
  Drain();
  const auto ownProc = GetWindowLongPtrW(wnd, GWLP_WNDPROC);
  const auto ownStyle = GetWindowLongPtrW(wnd, GWL_STYLE);
  RECT client{};
  GetClientRect(wnd, &client);
  ASSERT_TRUE(ThreadSkinManager()->SkinWindow(wnd));
  Drain();
  MoveWindow(wnd, 70, 90, 280, 180, TRUE);  // the user moved and sized it while skinned
  RECT skinnedWindow{};
  GetWindowRect(wnd, &skinnedWindow);
  TWinSkinForm* skinner = ThreadSkinManager()->FindFormSkinner(wnd);
  ASSERT_NE(skinner, nullptr);
  // Inside the skin frame the client is the window less the skin's borders;
  // that size comes back inside the system frame.
  const int skinClientWidth = (skinnedWindow.right - skinnedWindow.left) - skinner->Frame().Left - skinner->Frame().Right;
  const int skinClientHeight =
      (skinnedWindow.bottom - skinnedWindow.top) - skinner->Frame().Top - skinner->Frame().Bottom - skinner->MenuHeight();
  (void)client;

  TMessageLog log;
  log.Record(wnd, 0, 0, 0);
  log.Flush();
  ThreadSkinManager()->CarryOut({skin::saSkinOff, data_.get()});
  // The caption styles come back, the size is given back inside the
  // system's frame, the region is taken away, the system's frame is told the
  // window is active; the window repaints.
  OK_SEQUENCE(log,
              (std::vector<TMsgEntry>{{WM_STYLECHANGING, sent},
                                      {WM_STYLECHANGED, sent},
                                      {WM_WINDOWPOSCHANGING, sent},
                                      {WM_NCCALCSIZE, sent | wparam, TRUE},
                                      {WM_NCPAINT, sent | optional},
                                      {WM_WINDOWPOSCHANGED, sent},
                                      {WM_MOVE, sent | optional},
                                      {WM_SIZE, sent | optional},
                                      {WM_WINDOWPOSCHANGING, sent},
                                      {WM_NCCALCSIZE, sent | wparam, TRUE},
                                      {WM_NCPAINT, sent | optional},
                                      {WM_WINDOWPOSCHANGED, sent},
                                      // the system's frame learns the activation state
                                      {WM_NCACTIVATE, sent | wparam, TRUE},
                                      {WM_PAINT, sent | optional},
                                      {WM_ERASEBKGND, sent | optional}}),
              "skin off");
  EXPECT_EQ(GetWindowLongPtrW(wnd, GWLP_WNDPROC), ownProc);
  EXPECT_EQ(GetWindowLongPtrW(wnd, GWL_STYLE), ownStyle);
  RECT after{}, window{};
  GetClientRect(wnd, &after);
  GetWindowRect(wnd, &window);
  EXPECT_EQ(after.right, skinClientWidth);
  EXPECT_EQ(after.bottom, skinClientHeight);
  EXPECT_EQ(window.left, skinnedWindow.left);
  EXPECT_EQ(window.top, skinnedWindow.top);
  DestroyWindow(wnd);
}

TEST_F(SkinFormTest, ChildAndCaptionlessPopupsKeepTheirFrames) {
  HWND parent = CreateRecorded(L"SkinFormSeqWindow", WS_OVERLAPPEDWINDOW);
  HWND child = CreateRecorded(L"SkinFormSeqWindow", WS_CHILD | WS_CAPTION | WS_VISIBLE, L"Child", 120, 80, parent);
  // A child window is taken only in a bulk pass, and then its frame messages
  // all go to its own procedure.
  EXPECT_FALSE(ThreadSkinManager()->SkinWindow(child));
  ASSERT_TRUE(ThreadSkinManager()->SkinWindow(child, skin::TSkinManage::TSkinPass::FormsList));
  Drain();
  {
    TMessageLog log;
    log.Record(child, 0, 0, 0);
    log.Flush();
    SetWindowPos(child, nullptr, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_FRAMECHANGED);
    // The child's frame is the system's: its own procedure calculates it.
    OK_SEQUENCE(log,
                (std::vector<TMsgEntry>{{WM_WINDOWPOSCHANGING, sent},
                                        {WM_NCCALCSIZE, sent | wparam, TRUE},
                                        {WM_CHILDACTIVATE, sent | optional},
                                        {WM_WINDOWPOSCHANGED, sent},
                                        {WM_MOVE, sent | optional},
                                        {WM_SIZE, sent | optional}}),
                "child frame change");
  }

  HWND popup = CreateRecorded(L"SkinFormSeqWindow", WS_POPUP | WS_BORDER | WS_VISIBLE, L"Popup", 150, 90);
  RECT before{};
  GetWindowRect(popup, &before);
  ThreadSkinManager()->SkinWindow(popup);
  TWinSkinForm* skinner = ThreadSkinManager()->FindFormSkinner(popup);
  ASSERT_NE(skinner, nullptr);
  EXPECT_EQ(skinner->FrameKind(), 2);
  Drain();
  RECT after{};
  GetWindowRect(popup, &after);
  EXPECT_EQ(after.right - after.left, before.right - before.left);
  EXPECT_EQ(after.bottom - after.top, before.bottom - before.top);
  DestroyWindow(popup);
  DestroyWindow(parent);
}

TEST_F(SkinFormTest, DialogBoxWidensToFitItsCaption) {
  const std::wstring caption(80, L'W');
  HWND box = CreateWindowExW(0, L"#32770", caption.c_str(), WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_VISIBLE, 30, 30,
                             160, 100, nullptr, nullptr, nullptr, nullptr);
  HWND button = CreateWindowExW(0, L"BUTTON", L"OK", WS_CHILD | WS_VISIBLE, 40, 30, 60, 24, box, nullptr, nullptr,
                                nullptr);
  RECT before{};
  GetWindowRect(box, &before);
  ASSERT_TRUE(ThreadSkinManager()->SkinWindow(box));
  TWinSkinForm* skinner = ThreadSkinManager()->FindFormSkinner(box);
  ASSERT_NE(skinner, nullptr);
  Drain();
  RECT after{};
  GetWindowRect(box, &after);
  const skin::TDataSkinTitle& title = data_->Skin().TitleElement;
  const int needed = (static_cast<int>(caption.size()) + 7) * skinner->SpaceWidth() + skinner->Frame().Left +
                     skinner->Frame().Right + title.LeftWidth + title.RightWidth + title.TextBackLeft +
                     title.TextBackRight;
  ASSERT_GT(skinner->SpaceWidth(), 0);
  ASSERT_GT(skinner->Frame().Left, 0);
  EXPECT_EQ(after.right - after.left, needed);
  const int grown = needed - (skinner->ClientRect().right + skinner->Frame().Left + skinner->Frame().Right);
  RECT b{};
  GetWindowRect(button, &b);
  POINT p{b.left, b.top};
  ScreenToClient(box, &p);
  EXPECT_EQ(p.x, 40 + grown / 2);
  DestroyWindow(box);
}

TEST_F(SkinFormTest, EveryBorderStyleKeepsItsClientArea) {
  gui::TApplication app;
  for (const char* style : {"bsSizeable", "bsSingle", "bsDialog", "bsToolWindow", "bsSizeToolWin"}) {
    SCOPED_TRACE(style);
    auto* form = new gui::TForm(&app);
    form->InitFromText(std::string("object Form1: TForm\n  Left = 30\n  Top = 30\n  BorderStyle = ") + style +
                       "\n  ClientWidth = 260\n  ClientHeight = 140\nend\n");
    form->HandleNeeded();
    form->Show();
    Drain();
    RECT before{};
    GetClientRect(form->Handle(), &before);
    ASSERT_EQ(before.right, 260);
    ASSERT_EQ(before.bottom, 140);
    ThreadSkinManager()->SkinWindow(form->Handle());  // the hook may have done it on activation
    Drain();
    ASSERT_NE(ThreadSkinManager()->FindFormSkinner(form->Handle()), nullptr);
    RECT after{};
    GetClientRect(form->Handle(), &after);
    EXPECT_EQ(after.right, 260);
    EXPECT_EQ(after.bottom, 140);
    delete form;
    ThreadSkinManager()->PurgeDestroyedForms();
  }
}

// A sizeable window of no framework form keeps its size, so the skin's frame
// takes its room from the client area and the program lays its children out
// again. Each child is drawn once the window is whole (its region in
// place), not while its frame is being fitted, even one that draws itself
// at once when it is resized, as an edit control does. The frame changes
// once: setting the region is the fit.
std::vector<bool> g_childPaintsWhole;
int g_frameChanges = 0;

LRESULT CALLBACK SelfDrawingChildProc(HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  if (msg == WM_SIZE) UpdateWindow(wnd);
  if (msg == WM_PAINT) {
    const gui::RegionHandle region(CreateRectRgn(0, 0, 0, 0));
    g_childPaintsWhole.push_back(GetWindowRgn(GetParent(wnd), region.get()) != ERROR);
  }
  return DefWindowProcW(wnd, msg, wParam, lParam);
}

LRESULT CALLBACK LayingOutProc(HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  if (msg == WM_NCCALCSIZE && wParam) ++g_frameChanges;
  if (msg == WM_SIZE) {
    if (HWND child = GetWindow(wnd, GW_CHILD)) MoveWindow(child, 0, 0, LOWORD(lParam), HIWORD(lParam) / 2, TRUE);
  }
  return DefWindowProcW(wnd, msg, wParam, lParam);
}

TEST_F(SkinFormTest, AWindowLaidOutAgainForTheSkinsFrameIsDrawnOnceWhole) {
  HWND wnd = skin_test::CreateTestWindow(L"SkinFormLayingOut", &LayingOutProc, L"Laid out",
                                         WS_OVERLAPPEDWINDOW | WS_VISIBLE, 40, 40, 320, 220);
  RECT client{};
  GetClientRect(wnd, &client);
  HWND child = skin_test::CreateTestWindow(L"SkinFormSelfDrawing", &SelfDrawingChildProc, L"",
                                           WS_CHILD | WS_VISIBLE, 0, 0, client.right, client.bottom / 2, wnd);
  Drain();
  RECT window{};
  GetWindowRect(wnd, &window);
  ASSERT_TRUE(ThreadSkinManager()->SkinWindow(wnd));
  g_childPaintsWhole.clear();
  g_frameChanges = 0;
  Drain();  // SkinMsgAttached: the frame fitted
  RECT fitted{};
  GetWindowRect(wnd, &fitted);
  EXPECT_EQ(fitted.right - fitted.left, window.right - window.left);
  EXPECT_EQ(g_childPaintsWhole, std::vector<bool>{true});
  EXPECT_EQ(g_frameChanges, 1);
  // Laid out for the client area inside the skin's frame.
  RECT skinnedClient{}, laidOut{};
  GetClientRect(wnd, &skinnedClient);
  GetClientRect(child, &laidOut);
  EXPECT_NE(skinnedClient.bottom, client.bottom);
  EXPECT_EQ(laidOut.bottom, skinnedClient.bottom / 2);
  DestroyWindow(wnd);
}

using skin_test::DarkSkinPath;

TEST_F(SkinFormTest, ASkinChangedAtRunTimeReachesTheLiveForm) {
  gui::TApplication app;
  auto* form = new gui::TForm(&app);
  form->InitFromText(
      "object Form1: TForm\n  Left = 20\n  Top = 20\n  ClientWidth = 240\n  ClientHeight = 120\n"
      "  object Panel1: TPanel\n    Left = 10\n    Top = 10\n    Width = 100\n    Height = 40\n  end\nend\n");
  // Sees what reaches the form's own handling, behind the skinner.
  std::vector<UINT> reachedForm;
  gui::TWindowMethodHook spy;
  spy.Attach(form, [&](gui::TMessage& m) {
    reachedForm.push_back(m.Msg);
    spy.CallPrevious(m);
  });
  form->HandleNeeded();
  form->Show();
  Drain();
  ThreadSkinManager()->WindowActivated(form->Handle());  // as the hook sees it activated
  Drain();
  TWinSkinForm* skinner = ThreadSkinManager()->FindFormSkinner(form->Handle());
  ASSERT_NE(skinner, nullptr);
  auto* panel = dynamic_cast<gui::TControl*>(form->FindComponent("Panel1"));
  const gui::TColor lightFace = data_->Skin().Colours.ButtonFace;
  ASSERT_EQ(panel->Color(), lightFace);
  int changed = 0;
  data_->OnSkinChanged = [&](gui::TObject*) { ++changed; };

  // A new skin file: loaded at once, applied by the skin-changed action.
  data_->SetSkinFile(DarkSkinPath());
  ASSERT_EQ(data_->SkinName(), "Nightfall");
  EXPECT_EQ(ThreadSkinManager()->PendingRequest().Action, skin::saSkinChanged);
  EXPECT_TRUE(skinner->SysButtons().empty());  // released until the action runs
  ThreadSkinManager()->CarryOut(ThreadSkinManager()->PendingRequest());
  const gui::TColor darkFace = data_->Skin().Colours.ButtonFace;
  ASSERT_NE(darkFace, lightFace);
  EXPECT_EQ(changed, 1);
  EXPECT_EQ(skinner->SysButtons().size(), data_->Skin().SysButtonElements.size());
  EXPECT_EQ(form->Color(), darkFace);
  EXPECT_EQ(panel->Color(), darkFace);  // the control skinners took the new skin too
  EXPECT_EQ(skinner->State(), TWinSkinForm::ssRunning);
  RECT client{};
  GetClientRect(form->Handle(), &client);
  EXPECT_EQ(client.right, 240);
  EXPECT_EQ(client.bottom, 120);

  // The refresh message re-applies the skin and goes no further.
  panel->SetColor(0x010203);
  reachedForm.clear();
  EXPECT_EQ(SendMessageW(form->Handle(), skin::SkinMsgRefresh, 0, 0), 0);
  EXPECT_EQ(panel->Color(), darkFace);
  EXPECT_EQ(std::count(reachedForm.begin(), reachedForm.end(), skin::SkinMsgRefresh), 0);
  reachedForm.clear();
  SendMessageW(form->Handle(), WM_USER, 0, 0);
  EXPECT_EQ(std::count(reachedForm.begin(), reachedForm.end(), static_cast<UINT>(WM_USER)), 1);
  delete form;
}

TEST_F(SkinFormTest, ControlsAreSkinnedWhileTheFrameIsTheSystems) {
  data_->SetSkinControls(data_->SkinControls() & ~skin::SkinControlBit(skin::xcMainMenu));
  gui::TApplication app;
  auto* form = new gui::TForm(&app);
  form->InitFromText("object Form1: TForm\n  Left = 20\n  Top = 20\n  ClientWidth = 200\n  ClientHeight = 100\n"
                     "  object Button1: TButton\n    Left = 10\n    Top = 10\n    Width = 80\n    Height = 25\n"
                     "  end\nend\n");
  form->HandleNeeded();
  form->Show();
  Drain();
  const LONG_PTR style = GetWindowLongPtrW(form->Handle(), GWL_STYLE);
  RECT before{};
  GetWindowRect(form->Handle(), &before);
  ThreadSkinManager()->SkinWindow(form->Handle());
  Drain();
  TWinSkinForm* skinner = ThreadSkinManager()->FindFormSkinner(form->Handle());
  ASSERT_NE(skinner, nullptr);
  EXPECT_FALSE(skinner->FrameSkinned());
  // The system frame stays: caption styles, size, no region.
  EXPECT_EQ(GetWindowLongPtrW(form->Handle(), GWL_STYLE), style);
  RECT after{};
  GetWindowRect(form->Handle(), &after);
  EXPECT_TRUE(EqualRect(&before, &after));
  EXPECT_FALSE(skinner->RegionSet());
  EXPECT_EQ(SendMessageW(form->Handle(), skin::SkinMsgQuery, 0, 0), 1);
  // The button is skinned all the same, and given back when the skin goes.
  auto* button = dynamic_cast<gui::TButton*>(form->FindComponent("Button1"));
  ASSERT_EQ(skinner->ControlSkinners().size(), 1u);
  EXPECT_NE(button->WindowProc, button->OwnWindowMethod());
  ThreadSkinManager()->CarryOut({skin::saSkinOff, data_.get()});
  EXPECT_EQ(button->WindowProc, button->OwnWindowMethod());
  EXPECT_EQ(GetWindowLongPtrW(form->Handle(), GWL_STYLE), style);
  delete form;
}

// What an attach could change, read back to prove a failed one changed none of it.
struct WindowState {
  LONG_PTR procedure, style;
  RECT window, client;
  bool operator==(const WindowState& o) const {
    return procedure == o.procedure && style == o.style && EqualRect(&window, &o.window) &&
           EqualRect(&client, &o.client);
  }
};
WindowState StateOf(HWND wnd) {
  WindowState s{GetWindowLongPtrW(wnd, GWLP_WNDPROC), GetWindowLongPtrW(wnd, GWL_STYLE), {}, {}};
  GetWindowRect(wnd, &s.window);
  GetClientRect(wnd, &s.client);
  return s;
}

TEST_F(SkinFormTest, AFailedAttachLeavesTheWindowAsItWas) {
  // The window procedure cannot be taken over (another subclass of ours
  // holds it): the caption stays, nothing is listed.
  HWND wnd = CreateRecorded(L"SkinFormSeqWindow", WS_OVERLAPPEDWINDOW | WS_VISIBLE);
  gui::TWindowSubclass holder;
  ASSERT_TRUE(holder.Attach(wnd, [&](UINT m, WPARAM w, LPARAM l) { return holder.CallPrevious(m, w, l); }));
  Drain();
  const WindowState before = StateOf(wnd);
  EXPECT_FALSE(ThreadSkinManager()->SkinWindow(wnd));
  Drain();
  EXPECT_TRUE(StateOf(wnd) == before);
  EXPECT_EQ(ThreadSkinManager()->FindFormSkinner(wnd), nullptr);
  EXPECT_NE(SendMessageW(wnd, skin::SkinMsgQuery, 0, 0), 1);
  holder.Detach();
  DestroyWindow(wnd);

  // The application's discovery handler throws half-way through a form:
  // form, controls and window are given back before the error goes on.
  gui::TApplication app;
  auto* form = new gui::TForm(&app);
  form->InitFromText(
      "object Form1: TForm\n  Left = 20\n  Top = 20\n  ClientWidth = 220\n  ClientHeight = 120\n  Color = $00102030\n"
      "  object Button1: TButton\n    Left = 10\n    Top = 10\n    Width = 80\n    Height = 25\n  end\n"
      "  object Button2: TButton\n    Left = 10\n    Top = 50\n    Width = 80\n    Height = 25\n  end\nend\n");
  form->HandleNeeded();
  form->Show();
  Drain();
  auto* first = dynamic_cast<gui::TButton*>(form->FindComponent("Button1"));
  auto* second = dynamic_cast<gui::TButton*>(form->FindComponent("Button2"));
  int asked = 0;
  data_->OnSkinControl = [&](gui::TComponent*, TSkinData*, gui::TComponent*, gui::TComponent* control,
                             const std::wstring&, skin::TSkinControl*&) {
    ++asked;
    if (control == second) throw std::runtime_error("the application's handler failed");
  };
  const WindowState formBefore = StateOf(form->Handle());
  const gui::TWndMethod formMethod = form->WindowProc;
  EXPECT_THROW(ThreadSkinManager()->SkinWindow(form->Handle()), std::runtime_error);
  Drain();
  EXPECT_EQ(asked, 2);  // the first button was skinned before the failure
  EXPECT_TRUE(StateOf(form->Handle()) == formBefore);
  EXPECT_EQ(form->WindowProc, formMethod);
  EXPECT_EQ(form->Color(), 0x102030u);
  EXPECT_EQ(first->WindowProc, first->OwnWindowMethod());
  EXPECT_EQ(ThreadSkinManager()->FindFormSkinner(form->Handle()), nullptr);
  data_->OnSkinControl = nullptr;
  // Nothing is left in the way of a later, successful attach.
  ASSERT_TRUE(ThreadSkinManager()->SkinWindow(form->Handle()));
  EXPECT_NE(first->WindowProc, first->OwnWindowMethod());
  delete form;
}

// A stand-in control skinner: the list operations only need these four.
class FakeControlSkinner : public skin::TSkinControlBase {
 public:
  FakeControlSkinner(HWND wnd, int state, std::vector<HWND>& restored, int& freed)
      : wnd_(wnd), state_(state), restored_(restored), freed_(freed) {}
  ~FakeControlSkinner() override { ++freed_; }
  HWND SkinnedWindow() const override { return wnd_; }
  skin::TSkinnerState SkinnerState() const override { return static_cast<skin::TSkinnerState>(state_); }
  void RestoreColor() override { restored_.push_back(wnd_); }
  void SkinChanged() override {}
  void SendMouseLeave() override {}
  RECT LastPaintedRect() const override { return RECT{}; }

 private:
  HWND wnd_;
  int state_;
  std::vector<HWND>& restored_;
  int& freed_;
};

TEST_F(SkinFormTest, ControlSkinnerListOperations) {
  TWinSkinForm form(nullptr, nullptr, nullptr, nullptr);
  std::vector<HWND> restored;
  int freed = 0;
  auto* a = new FakeControlSkinner(reinterpret_cast<HWND>(1), 0, restored, freed);
  auto* gone = new FakeControlSkinner(reinterpret_cast<HWND>(2), 6, restored, freed);
  auto* c = new FakeControlSkinner(reinterpret_cast<HWND>(3), 0, restored, freed);
  EXPECT_FALSE(form.AddControlSkinner(a));
  EXPECT_FALSE(form.AddControlSkinner(gone));
  EXPECT_FALSE(form.AddControlSkinner(c));
  EXPECT_TRUE(form.AddControlSkinner(a));  // already there: not added twice
  EXPECT_EQ(form.ControlSkinners().size(), 3u);
  EXPECT_EQ(form.FindWindowSkinner(reinterpret_cast<HWND>(3)), c);
  form.PurgeDestroyedControls();
  EXPECT_EQ(freed, 1);
  EXPECT_EQ(form.FindWindowSkinner(reinterpret_cast<HWND>(2)), nullptr);
  form.FreeControlSkinners();
  EXPECT_EQ(freed, 3);
  EXPECT_EQ(restored, (std::vector<HWND>{reinterpret_cast<HWND>(1), reinterpret_cast<HWND>(3)}));
  EXPECT_TRUE(form.ControlSkinners().empty());
}

TEST_F(SkinFormTest, SystemPopupAndFormPopupMenus) {
  gui::TApplication app;
  auto* form = new gui::TForm(&app);
  auto* popup = new gui::TPopupMenu(form);
  gui::TMenuItem* own = popup->Items().Add(L"Own");
  own->OnDrawItem = [](gui::TMenuItem*, HDC, const RECT&, UINT) {};
  gui::TMenuItem* plain = popup->Items().Add(L"Plain");
  // A menu the application draws itself.
  auto* drawn = new gui::TPopupMenu(form);
  drawn->OwnerDraw = true;
  int ownMeasures = 0;
  gui::TMenuItem* measured = drawn->Items().Add(L"Measured");
  measured->OnMeasureItem = [&](gui::TMenuItem*, HDC, int&, int&) { ++ownMeasures; };
  TWinSkinForm* skinner = ShowSkinned(*form, 200, 120);
  ASSERT_NE(skinner, nullptr);
  EXPECT_TRUE(popup->OwnerDraw);
  EXPECT_TRUE(static_cast<bool>(own->OnDrawItem));  // an item's own handler is left alone

  gui::TPopupMenu* system = skinner->SkinSystemMenu();
  ASSERT_NE(system, nullptr);
  EXPECT_EQ(system->Tag(), TWinSkinForm::kSystemPopupTag);
  EXPECT_TRUE(system->OwnerDraw);
  std::vector<std::wstring> captions;
  for (gui::TMenuItem* item : system->Items().Items()) captions.push_back(item->Caption());
  EXPECT_EQ(captions, (std::vector<std::wstring>{L" Restore ", L" Maximize ", L" Minimize ", L"-", L" Close "}));
  // The shortcut shown is the key that closes a window.
  EXPECT_EQ(system->Items().Items().back()->ShortCutText(), L"Alt+F4");

  // A re-skin keeps what was kept at the first take-over.
  skinner->RefreshSkin();
  ThreadSkinManager()->CarryOut({skin::saSkinOff, data_.get()});
  // Switching off gives each menu and item exactly what it had.
  EXPECT_FALSE(popup->OwnerDraw);
  EXPECT_TRUE(static_cast<bool>(own->OnDrawItem));
  EXPECT_FALSE(static_cast<bool>(plain->OnDrawItem));
  EXPECT_TRUE(drawn->OwnerDraw);
  ASSERT_TRUE(static_cast<bool>(measured->OnMeasureItem));
  int w = 0, h = 0;
  measured->OnMeasureItem(measured, nullptr, w, h);
  EXPECT_EQ(ownMeasures, 1);
}

// The framework makes a form's window again when a style that only takes
// effect at creation changes; the window may also be destroyed from outside.
// Neither may leave the popup menus calling a skinner that is then freed,
// and the skinner follows the form to its new window.
TEST_F(SkinFormTest, AFormsNewWindowIsSkinnedAgainAndItsPopupMenusNeverCallAGoneSkinner) {
  gui::TApplication app;
  auto* form = new gui::TForm(&app);
  auto* popup = new gui::TPopupMenu(form);
  gui::TMenuItem* cut = popup->Items().Add(L"Cu&t");
  auto* button = new gui::TButton(form);
  button->SetParent(form);
  const gui::TColor colour = form->Color();
  TWinSkinForm* skinner = ShowSkinned(*form, 220, 120);
  ASSERT_NE(skinner, nullptr);
  ASSERT_TRUE(static_cast<bool>(cut->OnDrawItem));

  // The window destroyed from outside: the menus get back what they had at
  // once, the form its colour.
  HWND first = form->Handle();
  DestroyWindow(first);
  EXPECT_FALSE(popup->OwnerDraw);
  EXPECT_FALSE(static_cast<bool>(cut->OnDrawItem));
  EXPECT_FALSE(static_cast<bool>(cut->OnMeasureItem));
  EXPECT_EQ(form->Color(), colour);
  ThreadSkinManager()->PurgeDestroyedForms();

  // The form makes its window again: the skin is back on it, its controls
  // and popup menus included, and it is the window's only skinner.
  form->HandleNeeded();
  form->Show();
  Drain();
  HWND second = form->Handle();
  ASSERT_NE(second, first);
  TWinSkinForm* again = ThreadSkinManager()->FindFormSkinner(second);
  ASSERT_NE(again, nullptr);
  EXPECT_EQ(again->State(), TWinSkinForm::ssRunning);
  EXPECT_EQ(SendMessageW(second, skin::SkinMsgQuery, 0, 0), 1);
  EXPECT_EQ(GetWindowLongPtrW(second, GWL_STYLE) & WS_CAPTION, 0);
  EXPECT_NE(again->FindWindowSkinner(button->Handle()), nullptr);
  EXPECT_TRUE(popup->OwnerDraw);
  ASSERT_TRUE(static_cast<bool>(cut->OnDrawItem));

  // A style change that makes the window again: the same follows.
  form->SetFormStyle(gui::TFormStyle::fsMDIForm);
  Drain();
  HWND third = form->Handle();
  ASSERT_NE(third, second);
  EXPECT_TRUE(IsWindowVisible(third));
  ASSERT_NE(ThreadSkinManager()->FindFormSkinner(third), nullptr);
  EXPECT_EQ(ThreadSkinManager()->FindFormSkinner(third)->MdiKind(), skin::mkFrame);
  EXPECT_EQ(std::count_if(ThreadSkinManager()->FormSkinners().begin(), ThreadSkinManager()->FormSkinners().end(),
                          [form](TWinSkinForm* s) { return s->Form() == form; }),
            1);

  // Used after the skin is off, the popup menu draws itself.
  ThreadSkinManager()->CarryOut({skin::saSkinOff, data_.get()});
  EXPECT_FALSE(static_cast<bool>(cut->OnDrawItem));
  EXPECT_EQ(form->Color(), colour);
  delete form;
}

TEST(SkinDataReader, TheFormReaderBuildsTheComponentFromItsDescription) {
  skin::FreeSkinManager();
  gui::TApplication app;
  const auto stream = skin_test::SkinStreamOf(skin_test::BareSkinArchive());
  std::ostringstream hex;
  hex << std::hex;
  for (std::uint8_t b : stream) hex << (b < 16 ? "0" : "") << static_cast<int>(b);
  const std::string text = "object Form1: TForm\n  Left = 10\n  Top = 10\n  Width = 200\n  Height = 150\n"
                           "  object SkinData1: TSkinData\n    Active = True\n    DisableTag = 98\n"
                           "    SkinFormtype = sfMainform\n    SkinStream = {" +
                           hex.str() + "}\n  end\nend\n";
  auto* form = new gui::TForm(&app);
  form->InitFromText(text);
  auto* data = dynamic_cast<TSkinData*>(form->FindComponent("SkinData1"));
  ASSERT_NE(data, nullptr);
  EXPECT_TRUE(data->Active());
  EXPECT_EQ(data->DisableTag(), 98);
  EXPECT_FALSE(data->SkinLoading());
  ASSERT_NE(ThreadSkinManager(), nullptr);
  EXPECT_TRUE(ThreadSkinManager()->SkinningWanted());  // no window activated yet: on at once
  EXPECT_FALSE(ThreadSkinManager()->ActionTimer().Enabled());
  delete form;
  skin::FreeSkinManager();
}

}  // namespace
