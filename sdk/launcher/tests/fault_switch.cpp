// Linked into the test build of the engine DLL only: arms a failure inside
// the engine, named by SKINENGINE_TEST_FAULT as SITE:KIND, SITE one of
// frame-paint, control-paint, hook and KIND cxx or access, to show that
// the program the engine is a guest in goes on.
#include <windows.h>

#include <string>

#include "gui/fault_guard.h"

namespace {

const bool armed = [] {
  wchar_t value[64] = {};
  if (!GetEnvironmentVariableW(L"SKINENGINE_TEST_FAULT", value, 64)) return false;
  const std::wstring text = value;
  const std::wstring site = text.substr(0, text.find(L':'));
  const gui::TFaultKind kind =
      text.ends_with(L":access") ? gui::TFaultKind::AccessViolation : gui::TFaultKind::CxxException;
  if (site == L"frame-paint") gui::ArmFault(gui::TFaultSite::FramePaint, kind);
  if (site == L"control-paint") gui::ArmFault(gui::TFaultSite::ControlPaint, kind);
  if (site == L"hook") gui::ArmFault(gui::TFaultSite::CbtHook, kind);
  return true;
}();

}  // namespace
