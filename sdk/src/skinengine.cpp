// The public engine: one skin data component of the library's own, made at
// Start for the calling thread, with the engine installed and the windows
// the thread has already skinned at once. It reaches the engine through
// the manager's facade (skin/manager/skin_engine.h) and the skin data
// component only.
#include "skinengine/skinengine.hpp"

#include "skinengine/skinengine.h"

#include <atomic>
#include <memory>
#include <new>
#include <set>
#include <string_view>
#include <vector>

#include "gui/controls.h"
#include "gui/files.h"
#include "gui/forms.h"
#include "gui/text.h"
#include "sdk/src/engine_module.h"
#include "sdk/src/sdk_call.h"
#include "skin/data/skin_data.h"
#include "skin/data/skin_protocol.h"
#include "skin/manager/skin_engine.h"

namespace skinengine {

static_assert(std::wstring_view(SKINENGINE_QUERY_MESSAGE) == skin::kSkinQueryMessageName);
static_assert(std::wstring_view(SKINENGINE_CAPTION_ACTION_MESSAGE) == skin::kSkinCaptionActionMessageName);
static_assert(std::wstring_view(SKINENGINE_EXCLUDE_PROPERTY) == skin::kSkinExcludeProperty);

namespace {

struct TState {
  // The thread the engine belongs to, 0 while not started: the one field
  // other threads read.
  std::atomic<DWORD> owner{0};
  DWORD thread = 0;  // the thread of the last start, also while it runs
  Options options;
  std::unique_ptr<skin::TSkinEngine> engine;
  std::unique_ptr<skin::TSkinData> data;
  std::set<std::wstring> excludedClasses;  // lower case
  std::set<HWND> excludedWindows;          // carry the exclusion property
  gui::TErrorReport reportBefore;          // the program's, given back at Stop
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
      gui::Application->ReportError(gui::Application, message);
    } catch (...) {
    }
  }
}

// The engine's thread rule: started, and on the thread that started it.
Result Ready() {
  const DWORD owner = State().owner.load();
  if (!owner) return detail::Fail(Result::NotStarted, L"The skin engine is not started.", false);
  if (GetCurrentThreadId() != owner)
    return detail::Fail(Result::WrongThread,
                        L"The skin engine belongs to another thread: the one that started it.", false);
  return Result::Ok;
}

void Teardown() {
  TState& s = State();
  s.owner = 0;
  skin::UnskinEveryWindow();
  s.data.reset();
  s.engine.reset();
  gui::SetErrorReport(std::move(s.reportBefore));
  s.reportBefore = nullptr;
  s.excludedClasses.clear();
  // A property set on a window is taken off again by whoever set it.
  for (HWND wnd : s.excludedWindows)
    if (IsWindow(wnd)) RemovePropW(wnd, skin::kSkinExcludeProperty);
  s.excludedWindows.clear();
}

Result Wear(std::span<const std::uint8_t> skin, const std::wstring& what) {
  std::wstring failure;
  if (!State().data->SetSkinArchive(skin, failure))
    return detail::Fail(Result::NotASkin, what + L" was not loaded.\n\n" + failure);
  // Carried out now: the caller expects the skin on its windows when the
  // call returns, not at the next tick of the engine's timer.
  State().data->CarryOutRequestNow();
  return Result::Ok;
}

Result Running() {
  if (GetCurrentThreadId() == State().owner.load())
    return detail::Fail(Result::AlreadyStarted, L"The skin engine is started already.", false);
  return detail::Fail(Result::WrongThread, L"The skin engine is started already, on another thread.", false);
}

// A failure before anything started, reported through the options given.
Result FailToStart(Options options, Result result, const std::wstring& message) {
  State().options = std::move(options);
  const Result failed = detail::Fail(result, message);
  State().options = {};
  return failed;
}

// A start that failed inside the engine: what it made goes, and the
// handler hears why.
Result GiveUpStart(const char* what) noexcept {
  try {
    Teardown();
  } catch (...) {
  }
  const Result failed = detail::Internal(what);
  State().options = {};
  return failed;
}

// Whatever happens, the engine is either started whole or not at all.
Result StartWith(std::span<const std::uint8_t> skin, Options options, const std::wstring& what) {
  TState& s = State();
  s.thread = GetCurrentThreadId();
  s.options = std::move(options);
  try {
    // Errors inside the windows the engine skins reach the program's handler.
    s.reportBefore = gui::SetErrorReport([](const std::wstring& message) { Report(message); });
    s.engine = std::make_unique<skin::TSkinEngine>();
    s.data = std::make_unique<skin::TSkinData>(nullptr);
    s.data->OnFormSkin = [](skin::TSkinData* sender, const std::wstring& className, bool& doSkin) {
      doSkin = sender->SkinsClassByDefault(className) && !State().excludedClasses.contains(gui::LowerCase(className));
    };
    const Result loaded = Wear(skin, what);
    if (loaded != Result::Ok) {
      Teardown();
      s.options = {};
      return loaded;
    }
    skin::SetTransitionOptions({.Enabled = s.options.Transitions});
    s.data->SetActive(true);
    s.data->CarryOutRequestNow();
    skin::SkinThreadWindows();
    s.owner = s.thread;
    HoldEngineModule();
    return Result::Ok;
  } catch (const std::exception& e) {
    return GiveUpStart(e.what());
  } catch (...) {
    return GiveUpStart(nullptr);
  }
}

std::wstring SkinFileWhat(const std::wstring& path) { return L"The skin file \"" + path + L"\""; }

}  // namespace

namespace detail {

std::wstring& LastErrorSlot() noexcept {
  // Never destroyed: with mingw-w64 a thread-local object is destroyed at
  // thread exit after its storage has been freed.
  // Without memory for it, the thread shares the process's.
  thread_local std::wstring* lastError = new (std::nothrow) std::wstring;
  static std::wstring shared;
  return lastError ? *lastError : shared;
}

Result Fail(Result result, const std::wstring& message, bool report) noexcept {
  try {
    LastErrorSlot() = message;
    if (report) Report(message);
  } catch (...) {
  }
  return result;
}

Result Internal(const char* what) noexcept {
  try {
    std::wstring message = L"The skin engine failed inside";
    if (what && *what) message += L": " + gui::AnsiToWide(what);
    message += L".";
    // Only the engine's thread (or the one starting it) calls the
    // program's handler.
    return Fail(Result::Internal, message, GetCurrentThreadId() == State().thread);
  } catch (...) {
    LastErrorSlot().clear();
    return Result::Internal;
  }
}

bool Started() noexcept { return State().owner.load() != 0; }

}  // namespace detail

const char* ResultText(Result result) {
  switch (result) {
    case Result::Ok: return "success";
    case Result::NotStarted: return "the skin engine is not started";
    case Result::AlreadyStarted: return "the skin engine is started already";
    case Result::WrongThread: return "called from a thread the function does not allow";
    case Result::InvalidArgument: return "an argument is not valid";
    case Result::File: return "the skin file cannot be read";
    case Result::NotASkin: return "the bytes are not a skin this engine reads";
    case Result::Internal: return "a failure inside the skin engine";
    case Result::Version: return "the program was built against a later major version of the skin engine";
  }
  return "an unknown result";
}

Result Start(const std::wstring& skinFile, Options options) {
  return detail::Shielded([&] {
    if (detail::Started()) return Running();
    std::vector<std::uint8_t> bytes;
    if (skinFile.empty() || !gui::ReadWholeFile(skinFile, bytes))
      return FailToStart(std::move(options), Result::File, SkinFileWhat(skinFile) + L" cannot be read.");
    return StartWith(bytes, std::move(options), SkinFileWhat(skinFile));
  });
}

Result Start(std::span<const std::uint8_t> skin, Options options) {
  return detail::Shielded([&] {
    if (detail::Started()) return Running();
    if (skin.empty())
      return FailToStart(std::move(options), Result::InvalidArgument, L"No skin bytes were given.");
    return StartWith(skin, std::move(options), L"The skin");
  });
}

Result SwitchSkin(const std::wstring& skinFile) {
  return detail::Shielded([&] {
    if (const Result ready = Ready(); ready != Result::Ok) return ready;
    std::vector<std::uint8_t> bytes;
    if (skinFile.empty() || !gui::ReadWholeFile(skinFile, bytes))
      return detail::Fail(Result::File, SkinFileWhat(skinFile) + L" cannot be read.");
    return Wear(bytes, SkinFileWhat(skinFile));
  });
}

Result SwitchSkin(std::span<const std::uint8_t> skin) {
  return detail::Shielded([&] {
    if (const Result ready = Ready(); ready != Result::Ok) return ready;
    if (skin.empty()) return detail::Fail(Result::InvalidArgument, L"No skin bytes were given.");
    return Wear(skin, L"The skin");
  });
}

Result SetSkinning(bool on) {
  return detail::Shielded([&] {
    if (const Result ready = Ready(); ready != Result::Ok) return ready;
    TState& s = State();
    s.data->SetActive(on);
    s.data->CarryOutRequestNow();
    if (on) {
      skin::SkinThreadWindows();
    } else {
      // Windows skinned before any was activated are not in the request's reach.
      skin::UnskinEveryWindow();
    }
    return Result::Ok;
  });
}

Result Stop() {
  return detail::Shielded([&] {
    if (const Result ready = Ready(); ready != Result::Ok) return ready;
    Teardown();
    State().options = {};
    skin::SetTransitionOptions({});
    ReleaseEngineModule();
    return Result::Ok;
  });
}

bool IsSkinned(HWND window) {
  bool skinned = false;
  detail::Shielded([&] {
    if (const Result ready = Ready(); ready != Result::Ok) return ready;
    if (!IsWindow(window)) return detail::Fail(Result::InvalidArgument, L"The window does not exist.", false);
    skinned = SendMessageW(window, skin::SkinMsgQuery, 0, 0) == 1;
    return Result::Ok;
  });
  return skinned;
}

Result ExcludeWindow(HWND window) {
  return detail::Shielded([&] {
    if (const Result ready = Ready(); ready != Result::Ok) return ready;
    if (!IsWindow(window)) return detail::Fail(Result::InvalidArgument, L"The window to exclude does not exist.");
    State().excludedWindows.insert(window);
    SetPropW(window, skin::kSkinExcludeProperty, reinterpret_cast<HANDLE>(1));
    skin::UnskinWindow(window);
    return Result::Ok;
  });
}

Result ExcludeClass(const std::wstring& className) {
  return detail::Shielded([&] {
    if (const Result ready = Ready(); ready != Result::Ok) return ready;
    if (className.empty()) return detail::Fail(Result::InvalidArgument, L"No window class was named.");
    const std::wstring lower = gui::LowerCase(className);
    State().excludedClasses.insert(lower);
    for (HWND wnd : skin::SkinnedWindows())
      if (gui::LowerCase(skin::WindowClassName(wnd)) == lower) skin::UnskinWindow(wnd);
    return Result::Ok;
  });
}

const std::wstring& LastError() { return detail::LastErrorSlot(); }

Result SetMessageBoxes(bool on) {
  return detail::Shielded([&] {
    if (const Result ready = Ready(); ready != Result::Ok) return ready;
    State().options.MessageBoxes = on;
    return Result::Ok;
  });
}

const char* Version() { return SKINENGINE_VERSION_STRING; }

}  // namespace skinengine
