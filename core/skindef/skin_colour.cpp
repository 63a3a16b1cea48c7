#include "core/skindef/skin_colour.h"

#include <array>

namespace core {

SkinColour ParseColour(std::string_view text, SkinColour fallback) {
  if (text.empty()) return fallback;
  while (!text.empty() && static_cast<unsigned char>(text.front()) <= ' ') text.remove_prefix(1);
  while (!text.empty() && static_cast<unsigned char>(text.back()) <= ' ') text.remove_suffix(1);

  std::array<std::int64_t, 3> numbers{};
  std::size_t found = 0;
  std::size_t i = 0;
  while (i < text.size() && found < numbers.size()) {
    if (text[i] < '0' || text[i] > '9') {
      ++i;
      continue;
    }
    std::int64_t value = 0;
    bool too_large = false;
    for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) {
      if (!too_large) value = value * 10 + (text[i] - '0');
      if (value > 0x7FFFFFFF) too_large = true;
    }
    const bool ends_text = i == text.size();
    if (too_large || (ends_text && found != 2)) continue;
    numbers[found++] = value;
  }
  return Rgb(static_cast<int>(numbers[0]), static_cast<int>(numbers[1]), static_cast<int>(numbers[2]));
}

}  // namespace core
