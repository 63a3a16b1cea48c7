#include "gallery/skin_folder_watch.h"

#include <algorithm>
#include <span>
#include <fstream>
#include <iterator>

#include "core/archive/skin_reader.h"
#include "core/archive/skin_writer.h"
#include "gui/text.h"
#include "gui/timer.h"

namespace {

struct TFindDeleter {
  void operator()(HANDLE h) const { FindClose(h); }
};
using TFindHandle = std::unique_ptr<void, TFindDeleter>;

struct TFileInFolder {
  std::wstring Name;
  ULONGLONG Size = 0;
  ULONGLONG Written = 0;
};

std::vector<TFileInFolder> FilesIn(const std::wstring& folder) {
  std::vector<TFileInFolder> files;
  WIN32_FIND_DATAW found{};
  const HANDLE first = FindFirstFileW((folder + L"\\*").c_str(), &found);
  if (first == INVALID_HANDLE_VALUE) return files;
  const TFindHandle find(first);
  do {
    if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) continue;
    files.push_back({found.cFileName, (ULONGLONG{found.nFileSizeHigh} << 32) | found.nFileSizeLow,
                     (ULONGLONG{found.ftLastWriteTime.dwHighDateTime} << 32) | found.ftLastWriteTime.dwLowDateTime});
  } while (FindNextFileW(find.get(), &found));
  std::sort(files.begin(), files.end(), [](const auto& a, const auto& b) { return a.Name < b.Name; });
  return files;
}

std::wstring Signature(const std::wstring& folder) {
  std::wstring signature;
  for (const TFileInFolder& file : FilesIn(folder))
    signature += file.Name + L"|" + std::to_wstring(file.Size) + L"|" + std::to_wstring(file.Written) + L"\n";
  return signature;
}

bool ReadFile(const std::wstring& path, std::vector<std::uint8_t>& bytes) {
  std::ifstream in(path.c_str(), std::ios::binary);
  if (!in) return false;
  bytes.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  return !in.bad();
}

}  // namespace

// The system's notification for the folder, re-armed after each change.
struct TSkinFolderWatch::TNotification {
  explicit TNotification(const std::wstring& folder)
      : Handle(FindFirstChangeNotificationW(folder.c_str(), FALSE,
                                            FILE_NOTIFY_CHANGE_FILE_NAME | FILE_NOTIFY_CHANGE_SIZE |
                                                FILE_NOTIFY_CHANGE_LAST_WRITE)) {}
  ~TNotification() {
    if (Handle != INVALID_HANDLE_VALUE) FindCloseChangeNotification(Handle);
  }
  TNotification(const TNotification&) = delete;
  TNotification& operator=(const TNotification&) = delete;
  // True once for each change the system reported.
  bool Fired() {
    if (Handle == INVALID_HANDLE_VALUE || WaitForSingleObject(Handle, 0) != WAIT_OBJECT_0) return false;
    FindNextChangeNotification(Handle);
    return true;
  }
  HANDLE Handle;
};

TSkinFolderWatch::TSkinFolderWatch(std::wstring folder, std::function<void()> changed)
    : folder_(std::move(folder)),
      changed_(std::move(changed)),
      notification_(std::make_unique<TNotification>(folder_)),
      timer_(std::make_unique<gui::TTimer>(nullptr)),
      signature_(Signature(folder_)),
      seen_(signature_) {
  timer_->SetInterval(kTickMs);
  timer_->OnTimer = [this](gui::TObject*) { Tick(); };
  timer_->SetEnabled(true);
}

TSkinFolderWatch::~TSkinFolderWatch() = default;

void TSkinFolderWatch::Tick() {
  const DWORD now = GetTickCount();
  // The notification says when; the folder's listing, also looked at now
  // and then in case a notification is lost, says whether anything did
  // change and when the writing stopped.
  static constexpr int kListingEvery = 10;
  const bool look = notification_->Fired() || pending_ || ++ticks_ % kListingEvery == 0;
  if (!look) return;
  const std::wstring listing = Signature(folder_);
  if (listing != seen_) {
    seen_ = listing;
    changedAt_ = now;
    pending_ = listing != signature_;
    return;
  }
  if (!pending_ || now - changedAt_ < kSettleMs) return;
  pending_ = false;
  signature_ = listing;
  if (changed_) changed_();
}

TSkinFolderWatch::TReading TSkinFolderWatch::Read() const {
  // Called from a timer: nothing may leave it as an exception.
  try {
    return ReadFolder();
  } catch (const std::exception& e) {
    TReading reading;
    reading.Failure = L"The folder was not packed: " + gui::AnsiToWide(e.what());
    return reading;
  }
}

TSkinFolderWatch::TReading TSkinFolderWatch::ReadFolder() const {
  TReading reading;
  std::vector<std::pair<std::string, std::vector<std::uint8_t>>> files;
  for (const TFileInFolder& file : FilesIn(folder_)) {
    std::vector<std::uint8_t> bytes;
    if (!ReadFile(folder_ + L"\\" + file.Name, bytes)) {
      reading.Failure = L"The file " + file.Name + L" cannot be read.";
      return reading;
    }
    files.emplace_back(gui::WideToAnsi(file.Name), std::move(bytes));
  }
  std::string problem;
  const std::optional<core::SkinSource> skin = core::SkinSourceOf(std::move(files), problem);
  if (!skin) {
    reading.Failure = L"The folder holds " + gui::AnsiToWide(problem) + L".";
    return reading;
  }
  reading.Findings = core::CheckSkin(*skin);
  if (core::HasError(reading.Findings)) return reading;
  // The definition first, as the engine looks for it.
  core::TSkinWriter writer;
  writer.AddEntry(skin->DefinitionName, std::span(reinterpret_cast<const std::uint8_t*>(skin->Definition.data()),
                                                  skin->Definition.size()));
  for (const auto& [name, bytes] : skin->Files) writer.AddEntry(name, bytes);
  reading.Archive = writer.BuildArchive();
  return reading;
}
