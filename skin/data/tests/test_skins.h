// Skin archives and helpers the engine's Windows tests share.
#pragma once
#include <windows.h>

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <functional>
#include <span>
#include <string>
#include <vector>

#include "core/archive/lzh_encoder.h"
#include "core/archive/skin_reader.h"
#include "core/archive/skin_writer.h"
#include "gui/tests/test_bitmaps.h"
#include "skin/data/skin_data.h"

#ifndef OWN_SKINS_DIR
#error "OWN_SKINS_DIR names the folder of the host build's packed skins"
#endif

namespace skin_test {

// What the engine needs of every skin beside the elements a test is about:
// a name and a window frame it can give any window (4-pixel borders, a
// 20-pixel caption band, close, maximise and minimise buttons), the
// pictures added by AddFramePictures.
inline std::string WholeSkinDefinition(const std::string& name) {
  std::string definition = "[TitlebarSkin]\r\nSkinName=" + name +
                           "\r\n[Personality]\r\nLeft=frame_side.bmp\r\nRight=frame_side.bmp\r\nTop=frame_top.bmp\r\n"
                           "Bottom=frame_bottom.bmp\r\n";
  const char* buttons[][3] = {{"0", "22", "0"}, {"1", "42", "6"}, {"2", "62", "8"}};
  for (const auto& [action, x, visibility] : buttons)
    definition += std::string("[Button") + action + "]\r\nAction=" + action + "\r\nAlign=1\r\nXcoord=" + x +
                  "\r\nYcoord=2\r\nVisibility=" + visibility + "\r\nframe=1\r\nButtonImage=caption_button.bmp\r\n";
  return definition;
}
inline void AddFramePictures(core::TSkinWriter& writer) {
  writer.AddEntry("frame_side.bmp", gui_test::StripBmp(4, 20, {RGB(70, 90, 120)}));
  writer.AddEntry("frame_top.bmp", gui_test::StripBmp(8, 20, {RGB(70, 90, 120)}));
  writer.AddEntry("frame_bottom.bmp", gui_test::StripBmp(8, 4, {RGB(70, 90, 120)}));
  writer.AddEntry("caption_button.bmp", gui_test::StripBmp(16, 16, {RGB(200, 60, 60)}));
}

// A skin with a name and a window frame and no other picture. Another
// version word makes the archive one of the wrong version.
inline std::vector<std::uint8_t> BareSkinArchive(std::uint32_t version = core::TSkinReader::ArchiveVersion) {
  core::TSkinWriter writer;
  const std::string definition = WholeSkinDefinition("Test");
  writer.AddEntry("skin.ini", std::span(reinterpret_cast<const std::uint8_t*>(definition.data()), definition.size()));
  AddFramePictures(writer);
  std::vector<std::uint8_t> container = writer.BuildContainer();
  if (version != core::TSkinReader::ArchiveVersion) std::memcpy(container.data(), &version, 4);
  return core::LzhCompress(container);
}

// The project's default skin as the host build packed it (Wine shows the
// build machine's root as drive Z:).
inline std::vector<std::uint8_t> DefaultSkinArchive() {
  std::wstring path = L"Z:" OWN_SKINS_DIR "/default.skin";
  std::replace(path.begin(), path.end(), L'/', L'\\');
  std::vector<std::uint8_t> bytes;
  HANDLE file = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
  if (file == INVALID_HANDLE_VALUE) return bytes;
  bytes.resize(GetFileSize(file, nullptr));
  DWORD read = 0;
  ReadFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &read, nullptr);
  CloseHandle(file);
  bytes.resize(read);
  return bytes;
}

// The default skin with its definition text changed by `edit`, which answers
// whether it changed anything. Empty when it did not.
inline std::vector<std::uint8_t> DefaultSkinArchiveEdited(const std::function<bool(std::string&)>& edit) {
  core::ByteStream packed(DefaultSkinArchive());
  core::TSkinReader reader;
  if (!reader.LoadArchive(packed)) return {};
  core::TSkinWriter writer;
  bool changed = false;
  for (const std::string& name : reader.Names()) {
    core::ByteStream entry;
    reader.ExtractFile(name, entry);
    std::vector<std::uint8_t> bytes(entry.Bytes().begin(), entry.Bytes().end());
    if (core::LowerCaseName(name).ends_with(".ini")) {
      std::string text(bytes.begin(), bytes.end());
      if (edit(text)) {
        bytes.assign(text.begin(), text.end());
        changed = true;
      }
    }
    writer.AddEntry(name, bytes);
  }
  return changed ? writer.BuildArchive() : std::vector<std::uint8_t>{};
}

// The default skin with one key of its definition given another value: the
// key `key` of the section `section` (both as the definition spells them)
// reads `value`. Empty when the skin has no such key.
inline std::vector<std::uint8_t> DefaultSkinArchiveWith(const std::string& section, const std::string& key,
                                                        const std::string& value) {
  return DefaultSkinArchiveEdited([&](std::string& text) {
    const std::size_t at = text.find("[" + section + "]");
    const std::size_t line = at == std::string::npos ? at : text.find("\n" + key + "=", at);
    if (line == std::string::npos) return false;
    const std::size_t from = line + key.size() + 2, to = text.find_first_of("\r\n", from);
    text.replace(from, to - from, value);
    return true;
  });
}

// The default skin with `lines` added at the end of its definition.
inline std::vector<std::uint8_t> DefaultSkinArchiveAdding(const std::string& lines) {
  return DefaultSkinArchiveEdited([&](std::string& text) {
    text += "\r\n" + lines;
    return true;
  });
}

// The dark skin as the host build packed it.
inline std::wstring DarkSkinPath() {
  std::wstring path = L"Z:" OWN_SKINS_DIR "/dark.skin";
  std::replace(path.begin(), path.end(), L'/', L'\\');
  return path;
}

// "SkinStream" as a form description stores it: a count, then the bytes.
inline std::vector<std::uint8_t> SkinStreamOf(const std::vector<std::uint8_t>& archive) {
  std::vector<std::uint8_t> stream(4);
  const auto count = static_cast<std::int32_t>(archive.size());
  std::memcpy(stream.data(), &count, 4);
  stream.insert(stream.end(), archive.begin(), archive.end());
  return stream;
}

// A skin data component owned by `owner`, loaded as the form reader loads
// one: `active` and the archive read while loading, then Loaded.
inline skin::TSkinData* LoadSkinData(gui::TComponent* owner, skin::TSkinFormType type, bool active,
                                     const std::vector<std::uint8_t>& archive) {
  auto* data = new skin::TSkinData(owner);
  data->SetSkinFormtype(type);
  data->SetLoadingState(true);
  data->SetActive(active);
  data->ReadBinaryProperty("SkinStream", SkinStreamOf(archive));
  data->SetLoadingState(false);
  data->Loaded();
  return data;
}

// A top-level or child window of a class the test registers once by name,
// with `proc` as the class's procedure.
inline HWND CreateTestWindow(const wchar_t* className, WNDPROC proc, const wchar_t* caption, DWORD style, int x,
                             int y, int width, int height, HWND parent = nullptr) {
  WNDCLASSW wc{};
  if (!GetClassInfoW(GetModuleHandleW(nullptr), className, &wc)) {
    wc.lpfnWndProc = proc;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.lpszClassName = className;
    wc.hCursor = LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_ARROW));
    RegisterClassW(&wc);
  }
  return CreateWindowExW(0, className, caption, style, x, y, width, height, parent, nullptr,
                         GetModuleHandleW(nullptr), nullptr);
}

inline void DrainMessages() {
  MSG msg;
  while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
}

}  // namespace skin_test
