#include "gui/files.h"

#include <windows.h>

#include <algorithm>

namespace gui {

namespace {

class TFileHandle {
 public:
  explicit TFileHandle(HANDLE handle) : handle_(handle) {}
  TFileHandle(const TFileHandle&) = delete;
  TFileHandle& operator=(const TFileHandle&) = delete;
  ~TFileHandle() {
    if (Valid()) CloseHandle(handle_);
  }
  bool Valid() const { return handle_ != INVALID_HANDLE_VALUE && handle_ != nullptr; }
  HANDLE get() const { return handle_; }

 private:
  HANDLE handle_;
};

}  // namespace

bool ReadWholeFile(const std::wstring& path, std::vector<std::uint8_t>& bytes) {
  bytes.clear();
  if (path.empty()) return false;
  // Without FILE_FLAG_BACKUP_SEMANTICS a folder does not open.
  TFileHandle file(CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                               FILE_ATTRIBUTE_NORMAL | FILE_FLAG_SEQUENTIAL_SCAN, nullptr));
  if (!file.Valid()) return false;
  LARGE_INTEGER size{};
  if (!GetFileSizeEx(file.get(), &size) || size.QuadPart < 0 ||
      static_cast<unsigned long long>(size.QuadPart) > bytes.max_size())
    return false;
  bytes.resize(static_cast<std::size_t>(size.QuadPart));
  // Read until the end, in pieces a single call can take; a file that
  // shrank meanwhile ends early, and one that grew is read as it was sized.
  std::size_t done = 0;
  while (done < bytes.size()) {
    const auto piece = static_cast<DWORD>(std::min<std::size_t>(bytes.size() - done, 1u << 30));
    DWORD read = 0;
    if (!::ReadFile(file.get(), bytes.data() + done, piece, &read, nullptr)) {
      bytes.clear();
      return false;
    }
    if (read == 0) break;
    done += read;
  }
  bytes.resize(done);
  return true;
}

}  // namespace gui
