// Reads every text of the corpus through IniText and through the platform's
// GetPrivateProfileStringA and demands the same bytes from both: the section
// list, each section's key list, and every value, including lookups of names
// that are not keys (comment lines, lines without "=", other case).
#include <windows.h>

#include <cstdio>
#include <set>
#include <string>
#include <vector>

#include "core/ini/ini_text.h"
#include "core/ini/tests/ini_corpus.h"

namespace {

constexpr DWORD kBufferSize = 1 << 20;

// The bytes GetPrivateProfileStringA leaves in a large buffer, as IniText
// gives them: lists are names each followed by a NUL, and an empty key list
// (or one starting with an empty name) gives the fallback.
std::string Emulate(const core::IniText& ini, const char* section, const char* key, const char* fallback) {
  std::string out;
  if (!section) {
    for (const std::string& name : ini.SectionNames()) out += name + '\0';
    return out;
  }
  if (!key) {
    for (const std::string& name : ini.KeyNames(section)) out += name + '\0';
    if (out.empty() || out.front() == '\0') out = ini.ReadString(section, "\x01missing\x01", fallback);
    return out;
  }
  return ini.ReadString(section, key, fallback);
}

std::string Platform(const std::string& file, const char* section, const char* key, const char* fallback) {
  static std::vector<char> buffer(kBufferSize);
  const DWORD length = GetPrivateProfileStringA(section, key, fallback, buffer.data(), kBufferSize, file.c_str());
  return std::string(buffer.data(), length);
}

std::string Show(const std::string& text) {
  std::string out;
  for (unsigned char c : text.substr(0, 120)) {
    if (c < 32 || c >= 127) {
      char hex[8];
      std::snprintf(hex, sizeof hex, "\\x%02x", c);
      out += hex;
    } else {
      out += static_cast<char>(c);
    }
  }
  if (text.size() > 120) out += "...(" + std::to_string(text.size()) + " bytes)";
  return out;
}

// Names worth asking for: every line's text before "=" (or the whole line),
// every header's inside, and the upper-case form of each.
std::set<std::string> Candidates(std::string_view text, bool headers) {
  std::set<std::string> names;
  std::size_t pos = 0;
  while (pos <= text.size()) {
    std::size_t end = text.find_first_of("\r\n", pos);
    if (end == std::string_view::npos) end = text.size();
    std::string line(text.substr(pos, end - pos));
    line = line.substr(0, line.find('\0'));
    if (line.size() < 400) {
      std::string name;
      if (headers) {
        const auto open = line.find('['), close = line.rfind(']');
        if (open != std::string::npos && close != std::string::npos && close > open) name = line.substr(open + 1, close - open - 1);
      } else {
        name = line.substr(0, line.find('='));
      }
      names.insert(name);
      for (char& c : name) c = static_cast<char>((c >= 'a' && c <= 'z') ? c - 32 : c);
      names.insert(name);
    }
    pos = end + 1;
  }
  return names;
}

}  // namespace

int main() {
  char folder[MAX_PATH];
  GetTempPathA(MAX_PATH, folder);
  int failures = 0, comparisons = 0, index = 0;
  const char* fallbacks[] = {"DEF", "fallback  ", "\"quoted\"", "  lead", ""};

  for (const core::testing::IniCase& item : core::testing::IniCorpus()) {
    // A fresh name per text: the platform caches profiles by file name.
    const std::string file = std::string(folder) + "ini_diff_" + std::to_string(GetCurrentProcessId()) + "_" +
                             std::to_string(index++) + ".ini";
    HANDLE handle = CreateFileA(file.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    DWORD written = 0;
    WriteFile(handle, item.text.data(), static_cast<DWORD>(item.text.size()), &written, nullptr);
    CloseHandle(handle);

    const core::IniText ini(item.text);
    auto compare = [&](const char* section, const char* key, const char* fallback) {
      ++comparisons;
      const std::string ours = Emulate(ini, section, key, fallback);
      const std::string theirs = Platform(file, section, key, fallback);
      if (ours != theirs) {
        ++failures;
        std::printf("MISMATCH in \"%s\": section=%s key=%s fallback=\"%s\"\n  ours:     |%s|\n  platform: |%s|\n",
                    std::string(item.name).c_str(), section ? Show(section).c_str() : "NULL",
                    key ? Show(key).c_str() : "NULL", fallback, Show(ours).c_str(), Show(theirs).c_str());
      }
    };

    compare(nullptr, nullptr, "DEF");
    std::set<std::string> sections = Candidates(item.text, true);
    for (const std::string& name : ini.SectionNames()) sections.insert(name);
    sections.insert("");
    sections.insert("NoSuchSection");
    const std::set<std::string> keys = Candidates(item.text, false);
    for (const std::string& section : sections) {
      compare(section.c_str(), nullptr, "DEF");
      std::set<std::string> asked = keys;
      for (const std::string& key : ini.KeyNames(section)) asked.insert(key);
      asked.insert("NoSuchKey");
      for (const std::string& key : asked) compare(section.c_str(), key.c_str(), "DEF");
      for (const char* fallback : fallbacks) compare(section.c_str(), "NoSuchKey", fallback);
    }
    DeleteFileA(file.c_str());
  }

  std::printf("%zu texts, %d comparisons, %d mismatches\n", core::testing::IniCorpus().size(), comparisons, failures);
  return failures == 0 && core::testing::IniCorpus().size() >= 40 ? 0 : 1;
}
