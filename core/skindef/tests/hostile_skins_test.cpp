// The checker's verdict on every hostile variant of the default skin: each
// recipe is refused or worn as the list says, and the skin itself passes.
#include "core/skindef/tests/hostile_skins.h"

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>

#include "core/archive/skin_reader.h"

namespace {

core::SkinSource DefaultSkin() {
  std::ifstream file(DEFAULT_SKIN_ARCHIVE, std::ios::binary);
  core::ByteStream archive(std::vector<std::uint8_t>((std::istreambuf_iterator<char>(file)),
                                                     std::istreambuf_iterator<char>()));
  core::TSkinReader reader;
  EXPECT_TRUE(reader.LoadArchive(archive));
  core::ByteStream definition;
  std::string name;
  reader.ExtractFirstMatching(".ini", definition, name);
  const auto text = definition.Bytes();
  return core::SkinSourceOf(reader, name, std::string(text.begin(), text.end()));
}

TEST(HostileSkins, TheCheckerRefusesWhatWouldDrawBadlyAndPassesTheRest) {
  const core::SkinSource base = DefaultSkin();
  ASSERT_FALSE(base.Files.empty());
  EXPECT_TRUE(core::CheckSkin(base).empty());
  const auto variants = core::testing::HostileSkins(base);
  int refused = 0;
  for (const auto& variant : variants) {
    const auto findings = core::CheckSkin(variant.Skin);
    const bool refuse = variant.Expected == core::testing::HostileSkin::Verdict::Refused;
    refused += refuse;
    std::string said;
    for (const auto& f : findings) said += "\n  " + core::FormatFinding(f).substr(0, 200);
    EXPECT_EQ(core::HasError(findings), refuse) << variant.Name << said;
  }
  EXPECT_EQ(variants.size(), 59u);
  std::cout << variants.size() << " variants: " << refused << " refused, " << variants.size() - refused
            << " worn\n";
}

}  // namespace
