// What the control tests share: an application whose error report is
// collected, a form read from a description text and shown, and input sent
// to windows as the system would deliver it.
#pragma once
#include <gtest/gtest.h>
#include <windows.h>

#include <memory>
#include <string>
#include <vector>

#include "gui/bitmap.h"
#include "gui/forms.h"
#include "gui/handles.h"
#include "gui/text.h"

namespace gui_test {

class FormTest : public ::testing::Test {
 protected:
  void SetUp() override {
    app_ = std::make_unique<gui::TApplication>();
    app_->OnException = [this](gui::TObject*, const std::wstring& m) { errors_.push_back(m); };
  }
  void TearDown() override {
    EXPECT_TRUE(errors_.empty()) << "first error: " << gui::WideToUtf8(errors_.empty() ? L"" : errors_[0]);
  }

  // A form with the given components, read from its description and shown.
  gui::TForm* ShowForm(const std::string& components, int width = 400, int height = 300) {
    auto* form = new gui::TForm(app_.get());
    form->InitFromText("object Form1: TForm\n  Left = 40\n  Top = 40\n  Caption = 'Controls'\n  ClientWidth = " +
                       std::to_string(width) + "\n  ClientHeight = " + std::to_string(height) + "\n" + components +
                       "end\n");
    form->HandleNeeded();
    form->Show();
    app_->ProcessMessages();
    return form;
  }

  template <class T>
  static T* Find(gui::TComponent* owner, const char* name) {
    auto* found = dynamic_cast<T*>(owner->FindComponent(name));
    EXPECT_NE(found, nullptr) << name;
    return found;
  }

  std::unique_ptr<gui::TApplication> app_;
  std::vector<std::wstring> errors_;
};

inline std::string ClassOf(HWND wnd) {
  wchar_t name[64] = {};
  GetClassNameW(wnd, name, 64);
  return gui::WideToUtf8(name);
}

inline LONG_PTR StyleOf(HWND wnd) { return GetWindowLongPtrW(wnd, GWL_STYLE); }

inline POINT Centre(const RECT& r) { return POINT{(r.left + r.right) / 2, (r.top + r.bottom) / 2}; }

// A left click at a client point: the press is sent, the release is posted
// first, so that controls that track the mouse in a loop of their own
// find it waiting there.
inline void Click(HWND wnd, POINT p) {
  const LPARAM at = MAKELPARAM(p.x, p.y);
  PostMessageW(wnd, WM_LBUTTONUP, 0, at);
  SendMessageW(wnd, WM_LBUTTONDOWN, MK_LBUTTON, at);
  MSG msg;
  while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
}

inline std::wstring WindowText(HWND wnd) {
  std::wstring text(static_cast<std::size_t>(GetWindowTextLengthW(wnd)) + 1, L'\0');
  text.resize(static_cast<std::size_t>(GetWindowTextW(wnd, text.data(), static_cast<int>(text.size()))));
  return text;
}

// A key pressed at a window, as it comes from the queue: through the
// application's message loop (and so through the dialog manager).
inline void PressKey(gui::TApplication& app, HWND wnd, WPARAM key) {
  PostMessageW(wnd, WM_KEYDOWN, key, 1);
  PostMessageW(wnd, WM_KEYUP, key, static_cast<LPARAM>(0xC0000001u));
  app.ProcessMessages();
}

// What a window shows on the screen right after it has painted itself.
inline gui::TBitmap Snapshot(HWND wnd) {
  RECT r;
  GetClientRect(wnd, &r);
  RedrawWindow(wnd, nullptr, nullptr, RDW_ERASE | RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
  gui::TBitmap shot(r.right, r.bottom);
  const gui::WindowDc dc = gui::WindowDc::Client(wnd);
  BitBlt(shot.DC(), 0, 0, r.right, r.bottom, dc.get(), 0, 0, SRCCOPY);
  return shot;
}

// The whole window, frame included, as it stands on the screen now.
inline gui::TBitmap WholeWindowShot(HWND wnd) {
  RECT r{};
  GetWindowRect(wnd, &r);
  gui::TBitmap shot(r.right - r.left, r.bottom - r.top);
  const gui::WindowDc dc = gui::WindowDc::Whole(wnd);
  BitBlt(shot.DC(), 0, 0, shot.Width(), shot.Height(), dc.get(), 0, 0, SRCCOPY);
  return shot;
}

// How many pixels differ between two pictures of one size (-1 for another size).
inline int DifferentPixels(const gui::TBitmap& a, const gui::TBitmap& b) {
  if (a.Width() != b.Width() || a.Height() != b.Height()) return -1;
  int n = 0;
  for (int y = 0; y < a.Height(); ++y)
    for (int x = 0; x < a.Width(); ++x) n += a.Pixel(x, y) != b.Pixel(x, y);
  return n;
}

// A window of a system class beside the controls, to compare them with.
inline HWND SystemControl(HWND parent, const wchar_t* cls, DWORD style, const RECT& r) {
  return CreateWindowExW(0, cls, L"", WS_CHILD | WS_VISIBLE | style, r.left, r.top, r.right - r.left,
                         r.bottom - r.top, parent, nullptr, GetModuleHandleW(nullptr), nullptr);
}

}  // namespace gui_test
