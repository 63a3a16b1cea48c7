// Linked into the benchmark builds of the settings program only (the program's
// own sources are unchanged): writes a mark with the performance counter to
// standard output at each step of start-up the thread's hooks can see, and
// once the settings form and every child have had their first paint, ends
// the program. In the skinned build it then times the skin's loading stages
// again on the form's own archive bytes (after the last mark, so that the
// start-up figure does not include them).
//
// Lines: "mark NAME COUNTER" (counter ticks, QueryPerformanceCounter, the
// same clock in every process), "stage NAME MICROSECONDS" and "count NAME N"
// (the frame's compositions, the SetWindowRgn calls and the paint messages up
// to the first complete paint).
#include <windows.h>

#include <cstdio>
#include <functional>
#include <map>
#include <memory>
#include <vector>
#include <string>

#include "core/archive/skin_reader.h"
#include "core/skindef/skin_definition.h"
#include "gui/forms.h"
#include "gui/handles.h"
#include "skin/data/screen_scale.h"
#include "skin/data/skin_data.h"
#include "skin/data/skin_definition.h"
#include "skin/form/skin_form.h"
#include "skin/manager/skin_manager.h"
#include "tests/support/import_patch.h"
#include "tests/support/best_of.h"

namespace {

void WriteLine(const std::string& line) {
  const std::string text = line + "\n";
  DWORD written = 0;
  HANDLE out = GetStdHandle(STD_OUTPUT_HANDLE);
  if (out && out != INVALID_HANDLE_VALUE)
    WriteFile(out, text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
}

void Mark(const char* name) {
  LARGE_INTEGER now;
  QueryPerformanceCounter(&now);
  WriteLine(std::string("mark ") + name + " " + std::to_string(now.QuadPart));
}

void Stage(const char* name, double seconds) {
  WriteLine(std::string("stage ") + name + " " + std::to_string(seconds * 1e6));
}

void Count(const char* name, int n) { WriteLine(std::string("count ") + name + " " + std::to_string(n)); }

int regionCalls = 0;
decltype(&SetWindowRgn) systemSetWindowRgn = nullptr;

int WINAPI CountingSetWindowRgn(HWND wnd, HRGN region, BOOL redraw) {
  ++regionCalls;
  return systemSetWindowRgn(wnd, region, redraw);
}

bool NeedsPaint(HWND wnd) { return GetUpdateRect(wnd, nullptr, FALSE) != FALSE; }

BOOL CALLBACK ChildNeedsPaint(HWND wnd, LPARAM found) {
  if (IsWindowVisible(wnd) && NeedsPaint(wnd)) {
    *reinterpret_cast<bool*>(found) = true;
    return FALSE;
  }
  return TRUE;
}

// The form is on the screen and neither it nor any child waits for a paint.
bool FirstPaintDone(HWND form) {
  if (!form || !IsWindowVisible(form) || NeedsPaint(form)) return false;
  bool found = false;
  EnumChildWindows(form, &ChildNeedsPaint, reinterpret_cast<LPARAM>(&found));
  return !found;
}

// The stages of loading the skin, each the best of a few runs on the bytes
// the form description gave the skin data component: the archive decoded,
// the definition text read (pictures' sizes answered from a table), every
// picture it names decoded into a bitmap, and the whole skin built
// (definition, pictures, elements with their copies of the pictures).
void TimeSkinStages(const skin::TSkinData& data) {
  constexpr int kRuns = 7;
  const auto bytes = data.SkinArchive().Bytes();
  const std::vector<std::uint8_t> archiveBytes(bytes.begin(), bytes.end());
  core::TSkinReader reader;
  Stage("decompress", BestSeconds(kRuns, [&] {
          core::ByteStream archive(archiveBytes);
          reader.LoadArchive(archive);
        }));
  core::ByteStream extracted;
  std::string entryName;
  reader.ExtractFirstMatching(".ini", extracted, entryName);
  const auto textBytes = extracted.Bytes();
  const std::string_view text(reinterpret_cast<const char*>(textBytes.data()), textBytes.size());

  std::map<std::string, std::optional<core::ImageSize>> sizes;
  core::ReadSkinDefinition(text, [&](const std::string& entry) {
    gui::TBitmap bitmap;
    skin::LoadElementImage(bitmap, entry, reader);
    const std::optional<core::ImageSize> size =
        bitmap.Empty() ? std::nullopt : std::optional<core::ImageSize>({bitmap.Width(), bitmap.Height()});
    sizes[entry] = size;
    return size;
  });
  Stage("parse", BestSeconds(kRuns, [&] {
          core::ReadSkinDefinition(text, [&](const std::string& entry) { return sizes[entry]; });
        }));
  // What each run makes is kept until all runs are done, so that freeing
  // it is not timed: the program keeps its skin.
  std::vector<gui::TBitmap> pictures;
  pictures.reserve(kRuns * sizes.size());
  Stage("bitmaps", BestSeconds(kRuns, [&] {
          for (const auto& [entry, size] : sizes) skin::LoadElementImage(pictures.emplace_back(), entry, reader);
        }));
  std::vector<std::unique_ptr<skin::TSkinContent>> built;
  Stage("parse+bitmaps",
        BestSeconds(kRuns, [&] { built.push_back(skin::ParseDefinition(text, reader, skin::ScreenDpi())); }));
}

class TStartupMarks {
 public:
  TStartupMarks()
      : regionPatch_("user32.dll", "SetWindowRgn", reinterpret_cast<void*>(&CountingSetWindowRgn)) {
    Mark("main");
    systemSetWindowRgn = reinterpret_cast<decltype(&SetWindowRgn)>(regionPatch_.Original());
    hook_.reset(SetWindowsHookExW(WH_CBT, &TStartupMarks::CbtProc, nullptr, GetCurrentThreadId()));
    paintHook_.reset(SetWindowsHookExW(WH_GETMESSAGE, &TStartupMarks::GetMessageProc, nullptr, GetCurrentThreadId()));
    ncPaintHook_.reset(SetWindowsHookExW(WH_CALLWNDPROC, &TStartupMarks::CallWndProc, nullptr, GetCurrentThreadId()));
  }

 private:
  static LRESULT CALLBACK CbtProc(int code, WPARAM wParam, LPARAM lParam);
  static LRESULT CALLBACK GetMessageProc(int code, WPARAM wParam, LPARAM lParam);
  static LRESULT CALLBACK CallWndProc(int code, WPARAM wParam, LPARAM lParam);
  void Painted();

  test_support::TImportPatch regionPatch_;
  gui::HookHandle hook_, paintHook_, ncPaintHook_;
  int paints_ = 0, ncPaints_ = 0, formNcPaints_ = 0;
  HWND form_ = nullptr;
  bool painted_ = false;
};

TStartupMarks marks;

// Hooks that came later (the skin manager's) run before this one, so a
// window's activation is marked once it has been skinned.
LRESULT CALLBACK TStartupMarks::CbtProc(int code, WPARAM wParam, LPARAM lParam) {
  try {
    HWND wnd = reinterpret_cast<HWND>(wParam);
    wchar_t className[64] = {};
    if (code == HCBT_CREATEWND && !marks.form_ && GetClassNameW(wnd, className, 64) &&
        std::wstring(className) == L"TForm1") {
      marks.form_ = wnd;
      Mark("form read");
      if (gui::Application) gui::Application->OnIdle = [](gui::TObject*) { marks.Painted(); };
    } else if (code == HCBT_ACTIVATE && wnd == marks.form_) {
      Mark("activated");
    }
  } catch (...) {
  }
  return CallNextHookEx(marks.hook_.get(), code, wParam, lParam);
}

// The paints up to the first complete one: WM_PAINT taken from the queue
// and WM_NCPAINT sent, to the form and its children.
LRESULT CALLBACK TStartupMarks::GetMessageProc(int code, WPARAM wParam, LPARAM lParam) {
  try {
    const auto* msg = reinterpret_cast<const MSG*>(lParam);
    if (code == HC_ACTION && wParam == PM_REMOVE && msg->message == WM_PAINT && !marks.painted_) ++marks.paints_;
  } catch (...) {
  }
  return CallNextHookEx(marks.paintHook_.get(), code, wParam, lParam);
}

LRESULT CALLBACK TStartupMarks::CallWndProc(int code, WPARAM wParam, LPARAM lParam) {
  try {
    const auto* msg = reinterpret_cast<const CWPSTRUCT*>(lParam);
    if (code == HC_ACTION && msg->message == WM_NCPAINT && !marks.painted_)
      ++(msg->hwnd == marks.form_ ? marks.formNcPaints_ : marks.ncPaints_);
  } catch (...) {
  }
  return CallNextHookEx(marks.ncPaintHook_.get(), code, wParam, lParam);
}

void TStartupMarks::Painted() {
  if (painted_ || !FirstPaintDone(form_)) return;
  painted_ = true;
  Mark("painted");
  if (skin::ThreadSkinManager())
    if (skin::TWinSkinForm* skinner = skin::ThreadSkinManager()->FindFormSkinner(form_))
      Count("frame compositions", skinner->FrameComposeCount());
  if (regionPatch_.Patched()) Count("SetWindowRgn calls", regionCalls);
  Count("WM_PAINT", paints_);
  Count("WM_NCPAINT to the form", formNcPaints_);
  Count("WM_NCPAINT to children", ncPaints_);
  auto* form = gui::Application->MainForm();
  if (auto* data = form ? dynamic_cast<skin::TSkinData*>(form->FindComponent("SkinData1")) : nullptr)
    TimeSkinStages(*data);
  gui::Application->Terminate();
}

}  // namespace
