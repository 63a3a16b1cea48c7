// Hostile variants of a sound skin, as anyone handing a program a skin
// archive might make them: numbers at the edges of what a key can hold,
// pictures that are too small, too large, cut short, lying about their size
// or not bitmaps at all, pictures missing, definitions empty, random or in
// UTF-16, sections given twice, very long values, hundreds of elements,
// colours out of range. Deterministic: the same base gives the same
// variants, in the same order, on every machine. Portable, so that the
// checker's verdicts are tested on the host and the engine's under Wine from
// the same list.
#pragma once
#include <string>
#include <vector>

#include "core/skindef/skin_check.h"

namespace core::testing {

struct HostileSkin {
  enum class Verdict { Refused, Worn };
  std::string Name;  // what was done, as a test reports it
  SkinSource Skin;
  Verdict Expected = Verdict::Refused;
};

// The variants of `base`, which must be the project's default skin (the
// recipes name its sections and pictures).
std::vector<HostileSkin> HostileSkins(const SkinSource& base);

// The definition with `key` of `section` set to `value` (the key's line
// replaced, or a line added after the section's header; the section added
// at the end when there is none).
std::string WithKey(const std::string& definition, const std::string& section, const std::string& key,
                    const std::string& value);

}  // namespace core::testing
