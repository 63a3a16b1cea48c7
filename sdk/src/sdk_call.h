// How every public call of the library runs, for both interfaces: the
// calling thread's last error cleared first, and nothing thrown inside ever
// leaving it (the caller's frames may be C or another compiler's); a
// failure inside the engine becomes Result::Internal with its reason.
#pragma once
#include <exception>
#include <string>

#include "skinengine/skinengine.hpp"

namespace skinengine::detail {

// The calling thread's last error.
std::wstring& LastErrorSlot() noexcept;
// Answers `result`, with `message` as the thread's last error; with
// `report`, the program's handler (and what else the options ask for)
// hears it too.
Result Fail(Result result, const std::wstring& message, bool report = true) noexcept;
// A failure inside the engine: Result::Internal, said as well as memory
// allows.
Result Internal(const char* what) noexcept;

template <typename Call>
Result Shielded(Call&& call) noexcept {
  try {
    LastErrorSlot().clear();
    return call();
  } catch (const std::exception& e) {
    return Internal(e.what());
  } catch (...) {
    return Internal(nullptr);
  }
}

// Started on some thread (not necessarily the caller's).
bool Started() noexcept;

}  // namespace skinengine::detail
