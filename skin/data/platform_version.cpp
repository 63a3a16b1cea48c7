#include "skin/data/platform_version.h"

namespace skin {

namespace {
bool recorded = false;
DWORD version = 0;
}  // namespace

DWORD RawWindowsVersion() {
  if (!recorded) RecordWindowsVersion();
  return version;
}

void RecordWindowsVersion() {
  version = GetVersion();
  recorded = true;
}

void ForceWindowsVersion(DWORD forced) {
  version = forced;
  recorded = true;
}

}  // namespace skin
