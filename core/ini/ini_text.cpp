#include "core/ini/ini_text.h"

#include "core/text/number_text.h"

namespace core {

namespace {

// The profile reader's blanks: tab to carriage return, space, and ^Z (a DOS
// end-of-file mark that some files still carry).
bool IsBlank(char c) { return (c >= '\t' && c <= '\r') || c == ' ' || c == '\x1a'; }

std::string_view Trim(std::string_view text) {
  while (!text.empty() && IsBlank(text.front())) text.remove_prefix(1);
  while (!text.empty() && IsBlank(text.back())) text.remove_suffix(1);
  return text;
}

// Names and values are C strings to the platform: a NUL byte ends them.
std::string UpToNul(std::string_view text) { return std::string(text.substr(0, text.find('\0'))); }

char AsciiLower(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

bool SameName(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    if (AsciiLower(a[i]) != AsciiLower(b[i])) return false;
  }
  return true;
}

bool IsQuote(char c) { return c == '"' || c == '\''; }

// One pair of the same quote around a text of at least two characters goes.
std::string Unquote(std::string_view text) {
  if (text.size() >= 2 && IsQuote(text.front()) && text.back() == text.front()) {
    text = text.substr(1, text.size() - 2);
  }
  return std::string(text);
}

bool IsComment(std::string_view name) { return !name.empty() && name.front() == ';'; }

}  // namespace

std::string UpperCaseName(std::string_view name) {
  std::string out(name);
  for (char& c : out)
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  return out;
}

IniText::IniText(std::string_view text) {
  // A UTF-8 byte-order mark is not part of the first line.
  if (text.substr(0, 3) == "\xEF\xBB\xBF") text.remove_prefix(3);

  // Keys before the first header belong to a section without a name.
  sections_.push_back(Section{});
  std::size_t pos = 0;
  // Line numbers as an editor shows them: CR LF, LF and CR each end a line.
  int lineNumber = 1;
  std::size_t counted = 0;
  auto lineAt = [&](std::size_t at) {
    for (; counted < at; ++counted) {
      const char c = text[counted];
      if (c == '\n' || (c == '\r' && (counted + 1 >= text.size() || text[counted + 1] != '\n'))) ++lineNumber;
    }
    return lineNumber;
  };
  while (pos < text.size()) {
    const int line_number = lineAt(pos);
    // A line ends at CR or LF; any run of them ends it once.
    const std::size_t end = text.find_first_of("\r\n", pos);
    std::string_view line = text.substr(pos, end == std::string_view::npos ? std::string_view::npos : end - pos);
    pos = end == std::string_view::npos ? text.size() : text.find_first_not_of("\r\n", end);
    if (pos == std::string_view::npos) pos = text.size();

    line = Trim(line);
    if (line.empty()) continue;

    if (line.front() == '[') {
      const std::size_t close = line.rfind(']');
      if (close != std::string_view::npos && close > 0) {
        sections_.push_back(Section{UpToNul(Trim(line.substr(1, close - 1))), {}, line_number});
        continue;
      }
    }

    Entry entry;
    entry.line = line_number;
    const std::size_t equals = line.find('=');
    if (equals == std::string_view::npos) {
      entry.name = UpToNul(line);
    } else {
      entry.name = UpToNul(Trim(line.substr(0, equals)));
      entry.value = UpToNul(Trim(line.substr(equals + 1)));
    }
    sections_.back().entries.push_back(std::move(entry));
  }
}

const IniText::Section* IniText::FindSection(std::string_view name) const {
  for (const Section& section : sections_) {
    if (SameName(section.name, name)) return &section;
  }
  return nullptr;
}

std::vector<std::string> IniText::SectionNames() const {
  std::vector<std::string> names;
  for (const Section& section : sections_) {
    if (!section.name.empty()) names.push_back(section.name);
  }
  return names;
}

std::vector<std::string> IniText::KeyNames(std::string_view section) const {
  std::vector<std::string> names;
  // Unlike a value lookup, the key list does not trim the section name.
  if (const Section* found = FindSection(section)) {
    for (const Entry& entry : found->entries) {
      if (entry.value && !IsComment(entry.name)) names.push_back(entry.name);
    }
  }
  return names;
}

bool IniText::HasSection(std::string_view section) const { return FindSection(Trim(section)) != nullptr; }

std::optional<std::string> IniText::Find(std::string_view section, std::string_view key) const {
  const Section* found = FindSection(Trim(section));
  if (!found) return std::nullopt;
  key = Trim(key);
  for (const Entry& entry : found->entries) {
    if (SameName(entry.name, key)) {
      if (!entry.value) return std::nullopt;
      return Unquote(*entry.value);
    }
  }
  return std::nullopt;
}

std::optional<std::string> IniText::Value(std::string_view section, std::string_view key) const {
  Tell(Trim(section), Trim(key), LookupKind::Text);
  return Find(section, key);
}

std::string IniText::TextOrFallback(std::optional<std::string> value, std::string_view fallback) const {
  if (value) return *value;
  fallback = fallback.substr(0, fallback.find('\0'));
  while (!fallback.empty() && fallback.back() == ' ') fallback.remove_suffix(1);
  return Unquote(fallback);
}

std::string IniText::ReadString(std::string_view section, std::string_view key,
                                std::string_view fallback) const {
  return TextOrFallback(Value(section, key), fallback);
}

std::int32_t IniText::ReadInteger(std::string_view section, std::string_view key,
                                  std::int32_t fallback) const {
  Tell(Trim(section), Trim(key), LookupKind::Integer);
  return ProfileTextToInt(TextOrFallback(Find(section, key), ""), fallback);
}

bool IniText::ReadBool(std::string_view section, std::string_view key, bool fallback) const {
  return ReadInteger(section, key, fallback ? 1 : 0) != 0;
}

}  // namespace core
