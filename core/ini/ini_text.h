// INI text read the way the Windows profile-string functions read a file:
// the whole text is split into sections and keys once, and lookups follow the
// same rules as GetPrivateProfileStringA (names compared without regard to
// ASCII case and without surrounding blanks, the first of duplicate sections
// and keys wins, one pair of matching quotes around a value is dropped).
#pragma once
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace core {

class IniText {
 public:
  explicit IniText(std::string_view text);

  // Section names in file order as the section list gives them: duplicates
  // are kept, sections with an empty name (the keys before the first header,
  // or "[]") are left out.
  std::vector<std::string> SectionNames() const;

  // Names of the keys that have an "=" in the first section of that name, in
  // file order with duplicates; comment lines (";...") are left out. Empty
  // when the section is missing. The platform matches the section name here
  // as given, blanks included.
  std::vector<std::string> KeyNames(std::string_view section) const;

  bool HasSection(std::string_view section) const;

  // The value of the first matching key of the first matching section, with
  // one pair of enclosing quotes removed; nothing when the key is missing or
  // has no "=".
  std::optional<std::string> Value(std::string_view section, std::string_view key) const;

  // GetPrivateProfileStringA with a large enough buffer: the value, else the
  // fallback without its trailing blanks and enclosing quotes.
  std::string ReadString(std::string_view section, std::string_view key,
                         std::string_view fallback) const;

  // The framework's integer rule: decimal, or hexadecimal after "0x" or "$";
  // a missing key or text that does not parse gives the fallback.
  std::int32_t ReadInteger(std::string_view section, std::string_view key,
                           std::int32_t fallback) const;

  // Booleans are stored "1"/"0" and read as non-zero/zero.
  bool ReadBool(std::string_view section, std::string_view key, bool fallback) const;

 private:
  struct Entry {
    std::string name;
    std::optional<std::string> value;  // nothing for a line without "="
  };
  struct Section {
    std::string name;
    std::vector<Entry> entries;
  };

  const Section* FindSection(std::string_view name) const;

  std::vector<Section> sections_;
};

}  // namespace core
