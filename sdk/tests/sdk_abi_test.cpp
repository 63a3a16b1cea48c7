// What skinengine.dll promises a program that binds to it by name: it
// exports exactly the functions the public header declares, undecorated,
// and docs/sdk.md gives each its thread rule. Besides them it exports the
// hook skinrun sets on a program it starts, which no program calls.
#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <fstream>
#include <iterator>
#include <regex>
#include <set>
#include <string>

namespace {

std::wstring WinePath(const char* hostPath) {
  std::wstring path = L"Z:";
  for (const char* c = hostPath; *c; ++c) path += static_cast<wchar_t>(*c == '/' ? '\\' : *c);
  return path;
}

std::string ReadText(const char* hostPath) {
  std::ifstream in(WinePath(hostPath).c_str(), std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// The names in the export directory of a loaded module.
std::set<std::string> ExportedNames(HMODULE module) {
  auto* base = reinterpret_cast<const BYTE*>(module);
  const auto* dos = reinterpret_cast<const IMAGE_DOS_HEADER*>(base);
  const auto* nt = reinterpret_cast<const IMAGE_NT_HEADERS*>(base + dos->e_lfanew);
  const IMAGE_DATA_DIRECTORY& dir = nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_EXPORT];
  std::set<std::string> names;
  if (dir.VirtualAddress == 0) return names;
  const auto* exports = reinterpret_cast<const IMAGE_EXPORT_DIRECTORY*>(base + dir.VirtualAddress);
  const auto* nameRvas = reinterpret_cast<const DWORD*>(base + exports->AddressOfNames);
  for (DWORD i = 0; i < exports->NumberOfNames; ++i) names.insert(reinterpret_cast<const char*>(base + nameRvas[i]));
  return names;
}

TEST(SdkAbi, TheDllExportsExactlyTheHeadersFunctionsEachDocumented) {
  const std::string header = ReadText(SDK_HEADER);
  ASSERT_FALSE(header.empty());
  std::set<std::string> declared;
  const std::regex declaration(R"(SKINENGINE_API[^;(]*SKINENGINE_CALL\s+(skinengine_\w+)\s*\()");
  for (std::sregex_iterator it(header.begin(), header.end(), declaration), end; it != end; ++it)
    declared.insert((*it)[1].str());
  EXPECT_GE(declared.size(), 15u);  // the 1.1 interface; later versions only add
  // Every declaration names its convention: none is left to the default.
  std::size_t declarations = 0;
  for (std::size_t at = header.find("\nSKINENGINE_API "); at != std::string::npos;
       at = header.find("\nSKINENGINE_API ", at + 1))
    ++declarations;
  EXPECT_EQ(declarations, declared.size()) << "a function declared without SKINENGINE_CALL";

  HMODULE dll = LoadLibraryW(WinePath(SDK_DLL).c_str());
  ASSERT_NE(dll, nullptr);
  const std::set<std::string> exported = ExportedNames(dll);
  FreeLibrary(dll);
  std::set<std::string> expected = declared;
  expected.insert("skinengine_guest_hook");
  EXPECT_EQ(exported, expected);

  // The reference lists each function with its thread rule and results.
  const std::string doc = ReadText(SDK_DOC);
  for (const std::string& name : declared)
    EXPECT_NE(doc.find("| `" + name + "("), std::string::npos) << name << " is missing from the table in docs/sdk.md";
}

}  // namespace
