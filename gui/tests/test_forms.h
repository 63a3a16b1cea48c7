// Helpers for tests on live forms: an application per test that collects
// error reports, a layer in front of a form's window method that logs (and
// may act on) what passes, and keys held down for posted key messages.
#pragma once
#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <cstring>
#include <functional>
#include <initializer_list>
#include <memory>
#include <string>
#include <vector>

#include "gui/controls.h"
#include "gui/forms.h"

namespace gui_test {

// Each test gets its own application; reports of exceptions are collected
// instead of shown.
class ApplicationTest : public ::testing::Test {
 protected:
  void SetUp() override {
    app_ = std::make_unique<gui::TApplication>();
    app_->OnException = [this](gui::TObject*, const std::wstring& m) { errors_.push_back(m); };
  }
  void TearDown() override {
    app_.reset();
    // A quit request left by a test must not end the next one's loop.
    MSG msg;
    while (PeekMessageW(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE)) {
    }
  }
  std::unique_ptr<gui::TApplication> app_;
  std::vector<std::wstring> errors_;
};

// Stands in front of a control's window method the way a skinner does.
class MessageLog {
 public:
  explicit MessageLog(gui::TControl* control) : control_(control), previous_(control->WindowProc) {
    control->WindowProc = gui::TWndMethod::Bind<MessageLog, &MessageLog::Handle>(this);
  }
  ~MessageLog() { control_->WindowProc = previous_; }
  MessageLog(const MessageLog&) = delete;
  MessageLog& operator=(const MessageLog&) = delete;

  // Runs before the message goes on.
  std::function<void(const gui::TMessage&)> OnMessage;
  std::vector<UINT> Seen;
  int Count(UINT msg) const { return static_cast<int>(std::count(Seen.begin(), Seen.end(), msg)); }

 private:
  void Handle(gui::TMessage& m) {
    Seen.push_back(m.Msg);
    if (OnMessage) OnMessage(m);
    previous_(m);
  }
  gui::TControl* control_;
  gui::TWndMethod previous_;
};

// The thread's key state with some keys down, for key messages posted to
// the queue (which carry no key state of their own).
class HeldKeys {
 public:
  HeldKeys(std::initializer_list<int> keys) {
    GetKeyboardState(saved_);
    BYTE state[256];
    std::memcpy(state, saved_, sizeof state);
    for (int key : keys) state[key] = 0x80;
    SetKeyboardState(state);
  }
  ~HeldKeys() { SetKeyboardState(saved_); }
  HeldKeys(const HeldKeys&) = delete;
  HeldKeys& operator=(const HeldKeys&) = delete;

 private:
  BYTE saved_[256];
};

// Posts a key press to a window, as the keyboard would.
inline void PostKey(HWND wnd, WORD key) {
  PostMessageW(wnd, WM_KEYDOWN, key, 1);
  PostMessageW(wnd, WM_KEYUP, key, static_cast<LPARAM>(0xC0000001u));
}

}  // namespace gui_test
