// What every layer of the skin engine shares: its private window messages,
// the codes of the requests a skin data component makes, and the reading of
// a window's class name as the engine compares it.
#pragma once
#include <windows.h>

#include <atomic>
#include <string>

namespace skin {

// One of the engine's private window messages. Its number is registered by
// name (RegisterWindowMessageW) on first use, so no message a program
// defines for itself ever shares it, and a process outside ours that knows
// the name reaches the same number. It reads as the UINT it stands for.
class TSkinMessage {
 public:
  constexpr explicit TSkinMessage(const wchar_t* name) : name_(name) {}
  TSkinMessage(const TSkinMessage&) = delete;
  TSkinMessage& operator=(const TSkinMessage&) = delete;
  operator UINT() const;
  const wchar_t* Name() const { return name_; }

 private:
  const wchar_t* name_;
  mutable std::atomic<UINT> number_{0};
};

// The names the SDK publishes (skinengine.h), for tools outside the process.
inline constexpr wchar_t kSkinQueryMessageName[] = L"SkinEngine.Query";
inline constexpr wchar_t kSkinCaptionActionMessageName[] = L"SkinEngine.CaptionAction";

// The engine's private window messages, one meaning each.
inline constinit const TSkinMessage SkinMsgRefresh{L"SkinEngine.Refresh"};    // a skinned framework form re-applies the skin
inline constinit const TSkinMessage SkinMsgRepaint{L"SkinEngine.Repaint"};    // repaint the skinned frame
inline constinit const TSkinMessage SkinMsgAttached{L"SkinEngine.Attached"};  // posted once after a form skinner attached, lParam 1000
// Sent to any window: one skinned by this engine answers 1.
inline constinit const TSkinMessage SkinMsgQuery{kSkinQueryMessageName};
// Posted to a skinned window when a caption button whose Action has no
// meaning of the engine's is clicked; wParam is the Action. It passes the
// engine and reaches the window's own procedure.
inline constinit const TSkinMessage SkinMsgCaptionAction{kSkinCaptionActionMessageName};
// A window carrying this property (any non-null value) is never skinned.
inline constexpr wchar_t kSkinExcludeProperty[] = L"SkinEngine.Exclude";

// What a skin data component asks the manager to do.
enum TSkinAction { saNone = 0, saSkinOn = 1, saSkinOff = 2, saSkinChanged = 3 };

// The window's class name (at most 100 characters), as the hook reads it.
std::wstring WindowClassName(HWND wnd);

}  // namespace skin
