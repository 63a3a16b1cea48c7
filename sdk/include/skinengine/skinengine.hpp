// The skin engine for any Win32 program, as C++.
//
//   #include <skinengine/skinengine.hpp>
//   ...
//   skinengine::Options options;
//   options.OnError = [](const std::wstring& message) { log(message); };
//   if (skinengine::Start(L"C:\\skins\\dark.skin", options) != skinengine::Result::Ok) ...
//   ... the message loop: every window of this thread is skinned as it is
//   activated, its dialogs, message boxes and popup menus too ...
//   skinengine::Stop();
//
// The engine belongs to the thread that started it (the GUI thread); each
// function follows the thread rule of its C counterpart (skinengine.h) and
// answers Result::WrongThread where that rule does not allow the call. The
// same engine is reached through the C interface; a program uses one or the
// other. No function throws. Link the target SkinEngine::skinengine (C++20).
#pragma once
#if __cplusplus < 202002L
#error "skinengine.hpp needs C++20 (std::span); the C interface, skinengine.h, needs no C++ at all"
#endif
#include <windows.h>

#include <cstdint>
#include <functional>
#include <span>
#include <string>

namespace skinengine {

enum class Result {
  Ok = 0,
  NotStarted = 1,      // not started on this process yet
  AlreadyStarted = 2,  // started already: switch skins instead
  WrongThread = 3,     // called from another thread than the one that started it
  InvalidArgument = 4,
  File = 5,      // the skin file cannot be read
  NotASkin = 6,  // the bytes are not a skin archive this engine reads
  Internal = 7,  // a failure inside the engine (out of memory); nothing changed
  Version = 8    // (C only) the program was built against a later major version
};

// What a result means, in a few English words.
const char* ResultText(Result result);

struct Options {
  // Hears what went wrong: a skin that did not load, an error inside a
  // window the engine skins. Called on the GUI thread; must not call the
  // engine; what it throws is dropped.
  std::function<void(const std::wstring& message)> OnError;
  // Also show each such message in a message box (the library shows none
  // unless asked).
  bool MessageBoxes = false;
  // A program on our framework: each message also goes to its application's
  // standard error report, as the framework's own errors do.
  bool FrameworkReport = false;
  // Parts fade between their looks as the skin's [Animation] says (since
  // 1.2); false: every change of look at once. High contrast and the
  // system's client-area animation setting switch fades off whatever this says.
  bool Transitions = true;
};

// Starts the engine for the calling thread with a skin file or skin bytes
// (copied). The windows the thread has already are skinned at once, later
// ones as they are activated. On a failure nothing is started, and
// OnError and LastError say why.
Result Start(const std::wstring& skinFile, Options options = {});
Result Start(std::span<const std::uint8_t> skin, Options options = {});

// Another skin, all or nothing: one that does not load leaves the skin in
// force on every window.
Result SwitchSkin(const std::wstring& skinFile);
Result SwitchSkin(std::span<const std::uint8_t> skin);

// Skinning off (every window gets its system look back; the engine stays
// started) and on again.
Result SetSkinning(bool on);

// Every window given back exactly as it was, the hook gone. Starting again
// is allowed.
Result Stop();

bool IsSkinned(HWND window);

// Keeps a window, or every top-level window and dialog of a class, out of
// the skin; a window skinned already is given back.
Result ExcludeWindow(HWND window);
Result ExcludeClass(const std::wstring& className);

// What went wrong in the calling thread's last call ("" after a call that
// succeeded). Any thread.
const std::wstring& LastError();

// Message boxes on or off for the engine running now (Options.MessageBoxes
// chooses at Start).
Result SetMessageBoxes(bool on);

// The library's version, "1.1.0". Any thread.
const char* Version();

// Started for a scope and stopped at its end.
class Session {
 public:
  explicit Session(const std::wstring& skinFile, Options options = {}) : result_(Start(skinFile, std::move(options))) {}
  ~Session() {
    if (result_ == Result::Ok) Stop();
  }
  Session(const Session&) = delete;
  Session& operator=(const Session&) = delete;
  Result StartResult() const { return result_; }

 private:
  Result result_;
};

}  // namespace skinengine
