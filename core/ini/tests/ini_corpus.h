// INI texts that exercise every corner of the profile-string rules; the
// differential test reads each through IniText and through the platform.
#pragma once
#include <string_view>
#include <vector>

namespace core::testing {

struct IniCase {
  std::string_view name;
  std::string_view text;
};

const std::vector<IniCase>& IniCorpus();

}  // namespace core::testing
