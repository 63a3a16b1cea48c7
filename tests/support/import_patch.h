// TImportPatch: points the running program's import of one system function
// at a replacement for as long as the object lives, so a test or benchmark
// can count or watch calls the code under test makes into the system. Only
// the program's own import table is changed (the code under test is linked
// into it statically); calls the system makes to itself are not seen.
#pragma once
#include <windows.h>

#include <cstdint>

namespace test_support {

class TImportPatch {
 public:
  TImportPatch(const char* module, const char* function, void* replacement) {
    HMODULE system = GetModuleHandleA(module);
    void* target = system ? reinterpret_cast<void*>(GetProcAddress(system, function)) : nullptr;
    if (!target) return;
    auto* base = reinterpret_cast<std::uint8_t*>(GetModuleHandleW(nullptr));
    const auto* dos = reinterpret_cast<const IMAGE_DOS_HEADER*>(base);
    const auto* nt = reinterpret_cast<const IMAGE_NT_HEADERS*>(base + dos->e_lfanew);
    const IMAGE_DATA_DIRECTORY& imports = nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT];
    if (!imports.VirtualAddress) return;
    for (auto* d = reinterpret_cast<const IMAGE_IMPORT_DESCRIPTOR*>(base + imports.VirtualAddress); d->Name; ++d) {
      for (auto* entry = reinterpret_cast<IMAGE_THUNK_DATA*>(base + d->FirstThunk); entry->u1.Function; ++entry) {
        if (reinterpret_cast<void*>(entry->u1.Function) != target) continue;
        slot_ = reinterpret_cast<void**>(&entry->u1.Function);
        original_ = target;
        Write(replacement);
        return;
      }
    }
  }
  ~TImportPatch() {
    if (slot_) Write(original_);
  }
  TImportPatch(const TImportPatch&) = delete;
  TImportPatch& operator=(const TImportPatch&) = delete;

  // False when the program does not import the function.
  bool Patched() const { return slot_ != nullptr; }
  void* Original() const { return original_; }

 private:
  void Write(void* value) {
    DWORD protection = 0;
    VirtualProtect(slot_, sizeof(void*), PAGE_READWRITE, &protection);
    *slot_ = value;
    VirtualProtect(slot_, sizeof(void*), protection, &protection);
  }

  void** slot_ = nullptr;
  void* original_ = nullptr;
};

}  // namespace test_support
