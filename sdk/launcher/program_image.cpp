#include "sdk/launcher/program_image.h"

#include <windows.h>

#include <cstdint>
#include <cstring>
#include <vector>

namespace skinrun {

namespace {

// A file's bytes in one read: the headers a program's kind depends on are
// at its start, the .NET header wherever its section puts it.
class TFileReader {
 public:
  explicit TFileReader(const std::wstring& path)
      : file_(CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                          OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr)) {}
  ~TFileReader() {
    if (Open()) CloseHandle(file_);
  }
  TFileReader(const TFileReader&) = delete;
  TFileReader& operator=(const TFileReader&) = delete;
  bool Open() const { return file_ != INVALID_HANDLE_VALUE; }
  bool Read(std::uint32_t offset, void* into, std::uint32_t size) const {
    LARGE_INTEGER at{};
    at.QuadPart = offset;
    DWORD done = 0;
    return SetFilePointerEx(file_, at, nullptr, FILE_BEGIN) && ReadFile(file_, into, size, &done, nullptr) &&
           done == size;
  }

 private:
  HANDLE file_;
};

// The file offset of a relative virtual address, through the section table.
bool FileOffset(const TFileReader& file, std::uint32_t sectionsAt, unsigned sections, std::uint32_t rva,
                std::uint32_t& offset) {
  for (unsigned i = 0; i < sections; ++i) {
    IMAGE_SECTION_HEADER section{};
    if (!file.Read(sectionsAt + i * sizeof section, &section, sizeof section)) return false;
    const std::uint32_t size = section.Misc.VirtualSize ? section.Misc.VirtualSize : section.SizeOfRawData;
    if (rva >= section.VirtualAddress && rva < section.VirtualAddress + size) {
      offset = rva - section.VirtualAddress + section.PointerToRawData;
      return true;
    }
  }
  return false;
}

// A .NET program built for any processor (IL only, 32 bits not required)
// runs with the system's bitness.
bool IsAnyCpu(const TFileReader& file, std::uint32_t sectionsAt, unsigned sections, const IMAGE_DATA_DIRECTORY& clr) {
  if (!clr.VirtualAddress) return false;
  std::uint32_t offset = 0;
  IMAGE_COR20_HEADER header{};
  if (!FileOffset(file, sectionsAt, sections, clr.VirtualAddress, offset) || !file.Read(offset, &header, sizeof header))
    return false;
  constexpr DWORD kIlOnly = 0x1, k32BitRequired = 0x2, k32BitPreferred = 0x20000;
  return (header.Flags & kIlOnly) && !(header.Flags & (k32BitRequired | k32BitPreferred));
}

}  // namespace

TProgramKind ReadProgramKind(const std::wstring& path) {
  const TFileReader file(path);
  if (!file.Open()) return TProgramKind::NotFound;
  IMAGE_DOS_HEADER dos{};
  if (!file.Read(0, &dos, sizeof dos) || dos.e_magic != IMAGE_DOS_SIGNATURE || dos.e_lfanew <= 0)
    return TProgramKind::NotAProgram;
  const auto ntAt = static_cast<std::uint32_t>(dos.e_lfanew);
  DWORD signature = 0;
  IMAGE_FILE_HEADER header{};
  if (!file.Read(ntAt, &signature, sizeof signature) || signature != IMAGE_NT_SIGNATURE ||
      !file.Read(ntAt + sizeof signature, &header, sizeof header) || (header.Characteristics & IMAGE_FILE_DLL) ||
      !(header.Characteristics & IMAGE_FILE_EXECUTABLE_IMAGE))
    return TProgramKind::NotAProgram;
  const std::uint32_t optionalAt = ntAt + sizeof signature + sizeof header;
  const std::uint32_t sectionsAt = optionalAt + header.SizeOfOptionalHeader;
  switch (header.Machine) {
    case IMAGE_FILE_MACHINE_I386: {
      IMAGE_OPTIONAL_HEADER32 optional{};
      if (header.SizeOfOptionalHeader >= sizeof optional && file.Read(optionalAt, &optional, sizeof optional) &&
          optional.NumberOfRvaAndSizes > IMAGE_DIRECTORY_ENTRY_COM_DESCRIPTOR &&
          IsAnyCpu(file, sectionsAt, header.NumberOfSections,
                   optional.DataDirectory[IMAGE_DIRECTORY_ENTRY_COM_DESCRIPTOR]))
        return TProgramKind::AnyCpu;
      return TProgramKind::Bits32;
    }
    case IMAGE_FILE_MACHINE_AMD64:
      return TProgramKind::Bits64;
    default:
      return TProgramKind::OtherCpu;
  }
}

}  // namespace skinrun
