// A skin folder the gallery wears, and wears again after every change to
// it: the system's change notifications on the folder, then a short
// settling delay so that an editor's several writes count as one change,
// then the folder read, checked as `skinpack check` checks it, and packed
// in memory.
#pragma once
#include <windows.h>

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "core/skindef/skin_check.h"

namespace gui {
class TTimer;
}

class TSkinFolderWatch {
 public:
  // What the folder holds now: the packed skin when the check found no
  // error, else what stands in the way (the findings, or why the folder
  // could not be read).
  struct TReading {
    std::vector<std::uint8_t> Archive;
    std::vector<core::SkinFinding> Findings;
    std::wstring Failure;
    bool Ok() const { return !Archive.empty(); }
  };

  // `changed` runs on the GUI thread once a change has settled.
  TSkinFolderWatch(std::wstring folder, std::function<void()> changed);
  ~TSkinFolderWatch();
  TSkinFolderWatch(const TSkinFolderWatch&) = delete;
  TSkinFolderWatch& operator=(const TSkinFolderWatch&) = delete;

  const std::wstring& Folder() const { return folder_; }
  TReading Read() const;

  // How long the folder must stay unchanged before it is read (an editor's
  // save is a few writes within milliseconds), and how often it is looked at.
  static constexpr DWORD kSettleMs = 150;
  static constexpr UINT kTickMs = 50;

 private:
  struct TNotification;
  void Tick();
  TReading ReadFolder() const;

  std::wstring folder_;
  std::function<void()> changed_;
  std::unique_ptr<TNotification> notification_;
  std::unique_ptr<gui::TTimer> timer_;
  // What the folder held when last read (names, sizes, write times), and
  // when it was last seen changing.
  std::wstring signature_;
  // What the last look at the folder found, and when that first appeared.
  std::wstring seen_;
  DWORD changedAt_ = 0;
  bool pending_ = false;
  int ticks_ = 0;
};
