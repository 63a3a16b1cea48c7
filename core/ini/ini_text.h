// INI text read the way the Windows profile-string functions read a file:
// the whole text is split into sections and keys once, and lookups follow the
// same rules as GetPrivateProfileStringA (names compared without regard to
// ASCII case and without surrounding blanks, the first of duplicate sections
// and keys wins, one pair of matching quotes around a value is dropped).
#pragma once
#include <cstdint>
#include <functional>
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

  // The text as written, for tools that point at a line: every section in
  // file order (first the keys before any header, in a section without a
  // name on line 0), duplicates kept, each key with its 1-based line.
  struct Entry {
    std::string name;
    std::optional<std::string> value;  // nothing for a line without "="
    int line = 0;
  };
  struct Section {
    std::string name;
    std::vector<Entry> entries;
    int line = 0;
  };
  const std::vector<Section>& Sections() const { return sections_; }

  // Told of every lookup as it is made, whether or not the key is there:
  // what a reader asks for, and as what.
  enum class LookupKind { Text, Integer };
  using LookupObserver = std::function<void(std::string_view section, std::string_view key, LookupKind kind)>;
  void ObserveLookups(LookupObserver observer) { observer_ = std::move(observer); }

 private:
  const Section* FindSection(std::string_view name) const;
  std::optional<std::string> Find(std::string_view section, std::string_view key) const;
  std::string TextOrFallback(std::optional<std::string> value, std::string_view fallback) const;
  void Tell(std::string_view section, std::string_view key, LookupKind kind) const {
    if (observer_) observer_(section, key, kind);
  }

  std::vector<Section> sections_;
  LookupObserver observer_;
};

// A section or key name in upper case (ASCII letters only), the form in
// which names compare as the reader compares them.
std::string UpperCaseName(std::string_view name);

}  // namespace core
