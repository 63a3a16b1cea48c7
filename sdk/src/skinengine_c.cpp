// The C interface over the C++ one: plain types in, error codes out, and no
// exception ever reaching a C caller.
#include "skinengine/skinengine.h"

#include <span>
#include <string>

#include "skinengine/skinengine.hpp"

namespace {

skinengine_result Code(skinengine::Result result) { return static_cast<skinengine_result>(result); }

skinengine::Options WithHandler(skinengine_error_handler handler, void* context) {
  skinengine::Options options;
  if (handler) options.OnError = [handler, context](const std::wstring& message) { handler(message.c_str(), context); };
  return options;
}

std::span<const std::uint8_t> Bytes(const void* bytes, size_t size) {
  return bytes ? std::span(static_cast<const std::uint8_t*>(bytes), size) : std::span<const std::uint8_t>();
}

// Runs a call of the C++ interface; anything it throws (out of memory)
// becomes an invalid-argument answer rather than crossing into C.
template <typename Call>
skinengine_result Guarded(Call call) {
  try {
    return Code(call());
  } catch (...) {
    return SKINENGINE_E_INVALID_ARGUMENT;
  }
}

bool messageBoxes = false;

skinengine::Options Configured(skinengine::Options options) {
  options.MessageBoxes = messageBoxes;
  return options;
}

}  // namespace

extern "C" {

skinengine_result skinengine_start_file(const wchar_t* path, skinengine_error_handler handler, void* context) {
  if (!path) return SKINENGINE_E_INVALID_ARGUMENT;
  return Guarded([&] { return skinengine::Start(std::wstring(path), Configured(WithHandler(handler, context))); });
}

skinengine_result skinengine_start_memory(const void* bytes, size_t size, skinengine_error_handler handler,
                                          void* context) {
  return Guarded([&] { return skinengine::Start(Bytes(bytes, size), Configured(WithHandler(handler, context))); });
}

skinengine_result skinengine_switch_file(const wchar_t* path) {
  if (!path) return SKINENGINE_E_INVALID_ARGUMENT;
  return Guarded([&] { return skinengine::SwitchSkin(std::wstring(path)); });
}

skinengine_result skinengine_switch_memory(const void* bytes, size_t size) {
  return Guarded([&] { return skinengine::SwitchSkin(Bytes(bytes, size)); });
}

skinengine_result skinengine_set_skinning(int on) {
  return Guarded([&] { return skinengine::SetSkinning(on != 0); });
}

skinengine_result skinengine_stop(void) {
  return Guarded([] { return skinengine::Stop(); });
}

int skinengine_is_skinned(HWND window) {
  try {
    return skinengine::IsSkinned(window) ? 1 : 0;
  } catch (...) {
    return 0;
  }
}

skinengine_result skinengine_exclude_window(HWND window) {
  return Guarded([&] { return skinengine::ExcludeWindow(window); });
}

skinengine_result skinengine_exclude_class(const wchar_t* class_name) {
  if (!class_name) return SKINENGINE_E_INVALID_ARGUMENT;
  return Guarded([&] { return skinengine::ExcludeClass(class_name); });
}

skinengine_result skinengine_report_with_message_boxes(int on) {
  messageBoxes = on != 0;
  skinengine::SetMessageBoxes(messageBoxes);
  return SKINENGINE_OK;
}

const wchar_t* skinengine_last_error(void) { return skinengine::LastError().c_str(); }

const char* skinengine_version(void) { return SKINENGINE_VERSION_STRING; }

}  // extern "C"
