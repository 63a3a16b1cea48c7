// The C interface over the C++ one: plain types in, error codes out, the
// structure of options read as far as the caller's version has it, and no
// exception ever reaching a C caller.
#include "skinengine/skinengine.h"

#include <algorithm>
#include <atomic>
#include <cstddef>
#include <cstring>
#include <span>
#include <string>

#include "sdk/src/sdk_call.h"
#include "skinengine/skinengine.hpp"

namespace {

using skinengine::Result;
using skinengine::detail::Fail;
using skinengine::detail::Shielded;

// The two enumerations are one.
static_assert(static_cast<int>(Result::Ok) == SKINENGINE_OK);
static_assert(static_cast<int>(Result::NotStarted) == SKINENGINE_E_NOT_STARTED);
static_assert(static_cast<int>(Result::AlreadyStarted) == SKINENGINE_E_ALREADY_STARTED);
static_assert(static_cast<int>(Result::WrongThread) == SKINENGINE_E_WRONG_THREAD);
static_assert(static_cast<int>(Result::InvalidArgument) == SKINENGINE_E_INVALID_ARGUMENT);
static_assert(static_cast<int>(Result::File) == SKINENGINE_E_FILE);
static_assert(static_cast<int>(Result::NotASkin) == SKINENGINE_E_NOT_A_SKIN);
static_assert(static_cast<int>(Result::Internal) == SKINENGINE_E_INTERNAL);
static_assert(static_cast<int>(Result::Version) == SKINENGINE_E_VERSION);

// The options as 1.1 laid them out; a later version only adds fields after
// these, so a structure of at least this size has them all here.
constexpr std::size_t kOptionsSize11 = offsetof(skinengine_options, message_boxes) + sizeof(int);
// 1.2 added no_transitions. On x86-64 it sits where 1.1 left padding, which
// a 1.1 program need not have cleared: it is read from 1.2 programs only.
constexpr std::size_t kOptionsSize12 = offsetof(skinengine_options, no_transitions) + sizeof(int);
static_assert(offsetof(skinengine_options, size) == 0);
static_assert(sizeof(skinengine_options) == (sizeof(void*) == 8 ? 64 : 36));
static_assert(kOptionsSize11 <= kOptionsSize12 && kOptionsSize12 <= sizeof(skinengine_options));

skinengine_result Code(Result result) { return static_cast<skinengine_result>(result); }

// Message boxes chosen before a start apply to the starts that follow.
std::atomic<bool> messageBoxes{false};

skinengine::Options OptionsOf(skinengine_error_handler handler, void* context, bool boxes) {
  skinengine::Options options;
  if (handler) options.OnError = [handler, context](const std::wstring& message) { handler(message.c_str(), context); };
  options.MessageBoxes = boxes;
  return options;
}

std::span<const std::uint8_t> Bytes(const void* bytes, size_t size) {
  return bytes ? std::span(static_cast<const std::uint8_t*>(bytes), size) : std::span<const std::uint8_t>();
}

std::wstring VersionText(unsigned int version) {
  return std::to_wstring(version >> 16) + L"." + std::to_wstring((version >> 8) & 0xFF) + L"." +
         std::to_wstring(version & 0xFF);
}

// skinengine_start_ex: the structure checked, then the start it asks for.
Result StartWithOptions(const skinengine_options* given) {
  if (!given) return Fail(Result::InvalidArgument, L"No options were given.", false);
  if (given->size < kOptionsSize11)
    return Fail(Result::InvalidArgument,
                L"The options are smaller (" + std::to_wstring(given->size) + L" bytes) than any version of them (" +
                    std::to_wstring(kOptionsSize11) + L" bytes): initialise them with SKINENGINE_OPTIONS_INIT.",
                false);
  skinengine_options options{};
  std::memcpy(&options, given, std::min(given->size, sizeof options));
  if ((options.version >> 16) > SKINENGINE_VERSION_MAJOR)
    return Fail(Result::Version,
                L"The program was built for version " + VersionText(options.version) +
                    L" of the skin engine; this is " + VersionText(SKINENGINE_VERSION_NUMBER) +
                    L", an earlier major version, which it cannot rely on.",
                false);
  if ((options.version >> 16) == 0)
    return Fail(Result::InvalidArgument, L"The options carry no version: initialise them with SKINENGINE_OPTIONS_INIT.",
                false);
  const bool boxes = options.message_boxes != 0 || messageBoxes;
  skinengine::Options cpp = OptionsOf(options.on_error, options.context, boxes);
  if (given->size >= kOptionsSize12 && options.version >= SKINENGINE_MAKE_VERSION(1, 2, 0))
    cpp.Transitions = options.no_transitions == 0;
  if ((options.skin_file != nullptr) == (options.skin_bytes != nullptr))
    return Fail(Result::InvalidArgument, L"The options name a skin file or skin bytes: exactly one of the two.", false);
  if (options.skin_file) return skinengine::Start(std::wstring(options.skin_file), std::move(cpp));
  return skinengine::Start(Bytes(options.skin_bytes, options.skin_size), std::move(cpp));
}

}  // namespace

extern "C" {

skinengine_result SKINENGINE_CALL skinengine_start_ex(const skinengine_options* options) {
  return Code(Shielded([&] { return StartWithOptions(options); }));
}

skinengine_result SKINENGINE_CALL skinengine_start_file(const wchar_t* path, skinengine_error_handler handler,
                                                        void* context) {
  return Code(Shielded([&] {
    if (!path) return Fail(Result::InvalidArgument, L"No skin file was named.", false);
    return skinengine::Start(std::wstring(path), OptionsOf(handler, context, messageBoxes));
  }));
}

skinengine_result SKINENGINE_CALL skinengine_start_memory(const void* bytes, size_t size,
                                                          skinengine_error_handler handler, void* context) {
  return Code(Shielded([&] { return skinengine::Start(Bytes(bytes, size), OptionsOf(handler, context, messageBoxes)); }));
}

skinengine_result SKINENGINE_CALL skinengine_switch_file(const wchar_t* path) {
  return Code(Shielded([&] {
    if (!path) return Fail(Result::InvalidArgument, L"No skin file was named.", false);
    return skinengine::SwitchSkin(std::wstring(path));
  }));
}

skinengine_result SKINENGINE_CALL skinengine_switch_memory(const void* bytes, size_t size) {
  return Code(Shielded([&] { return skinengine::SwitchSkin(Bytes(bytes, size)); }));
}

skinengine_result SKINENGINE_CALL skinengine_set_skinning(int on) {
  return Code(Shielded([&] { return skinengine::SetSkinning(on != 0); }));
}

skinengine_result SKINENGINE_CALL skinengine_stop(void) {
  return Code(Shielded([] { return skinengine::Stop(); }));
}

int SKINENGINE_CALL skinengine_is_skinned(HWND window) { return skinengine::IsSkinned(window) ? 1 : 0; }

skinengine_result SKINENGINE_CALL skinengine_exclude_window(HWND window) {
  return Code(Shielded([&] { return skinengine::ExcludeWindow(window); }));
}

skinengine_result SKINENGINE_CALL skinengine_exclude_class(const wchar_t* class_name) {
  return Code(Shielded([&] {
    if (!class_name) return Fail(Result::InvalidArgument, L"No window class was named.", false);
    return skinengine::ExcludeClass(class_name);
  }));
}

skinengine_result SKINENGINE_CALL skinengine_report_with_message_boxes(int on) {
  return Code(Shielded([&] {
    // Started, only the engine's thread changes the engine's reports.
    if (skinengine::detail::Started())
      if (const Result set = skinengine::SetMessageBoxes(on != 0); set != Result::Ok) return set;
    messageBoxes = on != 0;
    return Result::Ok;
  }));
}

const wchar_t* SKINENGINE_CALL skinengine_last_error(void) { return skinengine::detail::LastErrorSlot().c_str(); }

const char* SKINENGINE_CALL skinengine_result_text(skinengine_result result) {
  return skinengine::ResultText(static_cast<Result>(result));
}

const char* SKINENGINE_CALL skinengine_version(void) { return SKINENGINE_VERSION_STRING; }

unsigned int SKINENGINE_CALL skinengine_version_number(void) { return SKINENGINE_VERSION_NUMBER; }

}  // extern "C"
