#include "gallery/live_counts.h"

#include <psapi.h>

#include "gui/handles.h"
#include "gui/imagelist.h"
#include "gui/method_hook.h"
#include "gui/subclass.h"
#include "gui/timer.h"
#include "skin/manager/skin_engine.h"

std::vector<TLiveCount> ReadLiveCounts() {
  using enum TLiveCountKind;
  const skin::TSkinnerCounts skinners = skin::SkinnerCounts();
  PROCESS_MEMORY_COUNTERS memory{};
  memory.cb = sizeof memory;
  GetProcessMemoryInfo(GetCurrentProcess(), &memory, sizeof memory);
  DWORD handles = 0;
  GetProcessHandleCount(GetCurrentProcess(), &handles);
  constexpr long long kKilobyte = 1024;
  // Wine answers 0 to the handle count and to both GUI resource counts; on
  // Windows they are the real figures.
  return {
      {"bitmaps", lcFramework, gui::BitmapHandle::LiveCount()},
      {"brushes", lcFramework, gui::BrushHandle::LiveCount()},
      {"pens", lcFramework, gui::PenHandle::LiveCount()},
      {"fonts", lcFramework, gui::FontHandle::LiveCount()},
      {"regions", lcFramework, gui::RegionHandle::LiveCount()},
      {"memoryDcs", lcFramework, gui::MemoryDcHandle::LiveCount()},
      {"bitmapDcs", lcFramework, gui::BitmapDcHandle::LiveCount()},
      {"windowDcs", lcFramework, gui::WindowDc::LiveCount()},
      {"icons", lcFramework, gui::IconHandle::LiveCount()},
      {"menus", lcFramework, gui::MenuHandle::LiveCount()},
      {"menuLevels", lcFramework, gui::MenuLevelHandle::LiveCount()},
      {"hooks", lcFramework, gui::HookHandle::LiveCount()},
      {"imageLists", lcFramework, gui::TImageList::LiveCount()},
      {"subclasses", lcFramework, gui::TWindowSubclass::LiveCount()},
      {"methodHooks", lcFramework, gui::TWindowMethodHook::LiveCount()},
      {"timers", lcFramework, gui::TTimer::LiveCount()},
      {"skin.forms", lcSkinners, skinners.Forms},
      {"skin.controls", lcSkinners, skinners.Controls},
      {"skin.menus", lcSkinners, skinners.Menus},
      {"process.handles", lcProcess, static_cast<long long>(handles)},
      {"process.workingSetKB", lcProcess, static_cast<long long>(memory.WorkingSetSize) / kKilobyte},
      {"process.pagefileKB", lcProcess, static_cast<long long>(memory.PagefileUsage) / kKilobyte},
      {"process.gdiObjects", lcProcess, static_cast<long long>(GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS))},
      {"process.userObjects", lcProcess, static_cast<long long>(GetGuiResources(GetCurrentProcess(), GR_USEROBJECTS))},
  };
}

std::string FormatLiveCounts(const std::vector<TLiveCount>& counts) {
  std::string line;
  for (const TLiveCount& count : counts) {
    if (!line.empty()) line += ' ';
    line += count.Name;
    line += '=';
    line += std::to_string(count.Value);
  }
  return line;
}

std::string DescribeSkinners() {
  std::string line;
  for (const std::string& name : skin::ControlSkinnerNames()) {
    if (!line.empty()) line += ' ';
    line += name;
  }
  return line;
}

bool SendLiveCounts(HWND asker, HWND from, LPARAM what) {
  if (!IsWindow(asker)) return false;
  std::string line = what == kLiveCountsSkinnerList ? DescribeSkinners() : FormatLiveCounts(ReadLiveCounts());
  COPYDATASTRUCT data{kLiveCountsCopyTag, static_cast<DWORD>(line.size()), line.data()};
  // A driver that stopped answering must not hang the gallery.
  constexpr UINT kAnswerTimeout = 2000;
  DWORD_PTR result = 0;
  return SendMessageTimeoutW(asker, WM_COPYDATA, reinterpret_cast<WPARAM>(from), reinterpret_cast<LPARAM>(&data),
                             SMTO_ABORTIFHUNG, kAnswerTimeout, &result) != 0;
}
