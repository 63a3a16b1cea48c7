// libFuzzer target for the INI text reader and the skin definition parser.
// The input is the definition text; image sizes are derived from each
// entry name, so that the frame-count rules see zero, odd and huge sizes.
#include <cstdint>
#include <string>
#include <string_view>

#include "core/ini/ini_text.h"
#include "core/skindef/skin_colour.h"
#include "core/skindef/skin_definition.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);

  const core::IniText ini(text);
  for (const std::string& section : ini.SectionNames()) {
    for (const std::string& key : ini.KeyNames(section)) {
      const std::string value = ini.ReadString(section, key, "");
      core::ParseColour(value, 0);
      (void)ini.ReadInteger(section, key, 0);
    }
  }

  const core::ImageSizeLookup lookup = [](const std::string& name) -> std::optional<core::ImageSize> {
    if (name.empty() || name.size() % 5 == 0) return std::nullopt;  // entry missing from the archive
    std::uint32_t h = 2166136261u;
    for (unsigned char c : name) h = (h ^ c) * 16777619u;
    const auto pick = [](std::uint32_t v) -> std::int32_t {
      switch (v % 4) {
        case 0: return 0;
        case 1: return static_cast<std::int32_t>(v % 97);
        case 2: return static_cast<std::int32_t>(v % 4096);
        default: return 0x7FFFFFFF;
      }
    };
    return core::ImageSize{pick(h), pick(h >> 8)};
  };
  const core::SkinDefinition definition = core::ReadSkinDefinition(text, lookup);
  (void)definition;
  return 0;
}
