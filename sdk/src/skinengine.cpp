// The public engine: one skin data component of the library's own, made at
// Start for the calling thread, with the engine installed and the windows
// the thread has already skinned at once.
#include "skinengine/skinengine.hpp"

#include "skinengine/skinengine.h"

#include <algorithm>
#include <fstream>
#include <iterator>
#include <memory>
#include <set>
#include <vector>

#include "gui/controls.h"
#include "gui/forms.h"
#include "gui/text.h"
#include "sdk/src/engine_module.h"
#include "skin/data/skin_data.h"
#include "skin/data/skin_protocol.h"
#include "skin/form/skin_form.h"
#include "skin/manager/skin_engine.h"
#include "skin/manager/skin_manager.h"

namespace skinengine {

namespace {

struct TState {
  DWORD thread = 0;
  Options options;
  std::unique_ptr<skin::TSkinEngine> engine;
  std::unique_ptr<skin::TSkinData> data;
  std::set<std::wstring> excludedClasses;  // lower case
  std::set<HWND> excludedWindows;          // carry the exclusion property
  std::wstring lastError;
};

TState& State() {
  static TState state;
  return state;
}

void Report(const std::wstring& message) {
  TState& s = State();
  if (s.options.OnError) {
    try {
      s.options.OnError(message);
    } catch (...) {
    }
  }
  if (s.options.MessageBoxes) MessageBoxW(nullptr, message.c_str(), L"Skin engine", MB_OK | MB_ICONSTOP);
  if (s.options.FrameworkReport && gui::Application) {
    try {
      throw gui::Exception(message);
    } catch (...) {
      gui::Application->HandleException(gui::Application);
    }
  }
}

Result Fail(Result result, const std::wstring& message) {
  State().lastError = message;
  Report(message);
  return result;
}

Result Ready() {
  const TState& s = State();
  if (!s.data) return Result::NotStarted;
  if (GetCurrentThreadId() != s.thread) return Result::WrongThread;
  return Result::Ok;
}

bool ReadFile(const std::wstring& path, std::vector<std::uint8_t>& bytes) {
  std::ifstream in(path.c_str(), std::ios::binary);
  if (!in) return false;
  bytes.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  return !in.bad();
}

BOOL CALLBACK SkinThreadWindow(HWND wnd, LPARAM) {
  if (IsWindowVisible(wnd) && skin::SkinManager) skin::SkinManager->SkinWindow(wnd);
  return TRUE;
}

void Teardown() {
  TState& s = State();
  if (skin::SkinManager) skin::SkinManager->UnskinEveryWindow();
  s.data.reset();
  s.engine.reset();
  gui::SetErrorReport(nullptr);
  s.excludedClasses.clear();
  // A property set on a window is taken off again by whoever set it.
  for (HWND wnd : s.excludedWindows)
    if (IsWindow(wnd)) RemovePropW(wnd, skin::kSkinExcludeProperty);
  s.excludedWindows.clear();
}

Result Wear(std::span<const std::uint8_t> skin, const std::wstring& what) {
  std::wstring failure;
  if (!State().data->SetSkinArchive(skin, failure))
    return Fail(Result::NotASkin, what + L" was not loaded.\n\n" + failure);
  // Carried out now: the caller expects the skin on its windows when the
  // call returns, not at the next tick of the engine's timer.
  State().data->CarryOutRequestNow();
  State().lastError.clear();
  return Result::Ok;
}

Result Running() { return GetCurrentThreadId() == State().thread ? Result::AlreadyStarted : Result::WrongThread; }

// A failure before anything started, reported through the options given.
Result FailToStart(Options options, Result result, const std::wstring& message) {
  State().options = std::move(options);
  const Result failed = Fail(result, message);
  State().options = {};
  return failed;
}

Result StartWith(std::span<const std::uint8_t> skin, Options options, const std::wstring& what) {
  TState& s = State();
  s.thread = GetCurrentThreadId();
  s.options = std::move(options);
  // Errors inside the windows the engine skins reach the program's handler.
  gui::SetErrorReport([](const std::wstring& message) { Report(message); });
  s.engine = std::make_unique<skin::TSkinEngine>();
  s.data = std::make_unique<skin::TSkinData>(nullptr);
  s.data->OnFormSkin = [](skin::TSkinData* sender, const std::wstring& className, bool& doSkin) {
    doSkin = sender->SkinsClassByDefault(className) && !State().excludedClasses.contains(gui::LowerCase(className));
  };
  const Result loaded = Wear(skin, what);
  if (loaded != Result::Ok) {
    Teardown();
    return loaded;
  }
  s.data->SetActive(true);
  s.data->CarryOutRequestNow();
  EnumThreadWindows(s.thread, &SkinThreadWindow, 0);
  HoldEngineModule();
  return Result::Ok;
}

std::wstring SkinFileWhat(const std::wstring& path) { return L"The skin file \"" + path + L"\""; }

}  // namespace

Result Start(const std::wstring& skinFile, Options options) {
  if (State().data) return Running();
  std::vector<std::uint8_t> bytes;
  if (skinFile.empty() || !ReadFile(skinFile, bytes))
    return FailToStart(std::move(options), Result::File, SkinFileWhat(skinFile) + L" cannot be read.");
  return StartWith(bytes, std::move(options), SkinFileWhat(skinFile));
}

Result Start(std::span<const std::uint8_t> skin, Options options) {
  if (State().data) return Running();
  if (skin.empty()) return FailToStart(std::move(options), Result::InvalidArgument, L"No skin bytes were given.");
  return StartWith(skin, std::move(options), L"The skin");
}

Result SwitchSkin(const std::wstring& skinFile) {
  if (const Result ready = Ready(); ready != Result::Ok) return ready;
  std::vector<std::uint8_t> bytes;
  if (skinFile.empty() || !ReadFile(skinFile, bytes))
    return Fail(Result::File, SkinFileWhat(skinFile) + L" cannot be read.");
  return Wear(bytes, SkinFileWhat(skinFile));
}

Result SwitchSkin(std::span<const std::uint8_t> skin) {
  if (const Result ready = Ready(); ready != Result::Ok) return ready;
  if (skin.empty()) return Fail(Result::InvalidArgument, L"No skin bytes were given.");
  return Wear(skin, L"The skin");
}

Result SetSkinning(bool on) {
  if (const Result ready = Ready(); ready != Result::Ok) return ready;
  TState& s = State();
  s.data->SetActive(on);
  s.data->CarryOutRequestNow();
  if (on) {
    EnumThreadWindows(s.thread, &SkinThreadWindow, 0);
  } else if (skin::SkinManager) {
    // Windows skinned before any was activated are not in the request's reach.
    skin::SkinManager->UnskinEveryWindow();
  }
  return Result::Ok;
}

Result Stop() {
  if (const Result ready = Ready(); ready != Result::Ok) return ready;
  Teardown();
  State().options = {};
  ReleaseEngineModule();
  return Result::Ok;
}

bool IsSkinned(HWND window) {
  if (Ready() != Result::Ok || !IsWindow(window)) return false;
  return SendMessageW(window, skin::SkinMsgQuery, 0, 0) == 1;
}

Result ExcludeWindow(HWND window) {
  if (const Result ready = Ready(); ready != Result::Ok) return ready;
  if (!IsWindow(window)) return Fail(Result::InvalidArgument, L"The window to exclude does not exist.");
  SetPropW(window, skin::kSkinExcludeProperty, reinterpret_cast<HANDLE>(1));
  State().excludedWindows.insert(window);
  if (skin::SkinManager) skin::SkinManager->UnskinWindow(window);
  return Result::Ok;
}

Result ExcludeClass(const std::wstring& className) {
  if (const Result ready = Ready(); ready != Result::Ok) return ready;
  if (className.empty()) return Fail(Result::InvalidArgument, L"No window class was named.");
  State().excludedClasses.insert(gui::LowerCase(className));
  if (!skin::SkinManager) return Result::Ok;
  std::vector<HWND> skinned;
  for (skin::TWinSkinForm* skinner : skin::SkinManager->FormSkinners()) skinned.push_back(skinner->Handle);
  for (HWND wnd : skinned) {
    wchar_t name[256] = {};
    GetClassNameW(wnd, name, 256);
    if (gui::LowerCase(name) == gui::LowerCase(className)) skin::SkinManager->UnskinWindow(wnd);
  }
  return Result::Ok;
}

const std::wstring& LastError() { return State().lastError; }

void SetMessageBoxes(bool on) { State().options.MessageBoxes = on; }

const char* Version() { return SKINENGINE_VERSION_STRING; }

}  // namespace skinengine
