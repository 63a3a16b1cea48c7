#include "tools/skingen/density.h"

#include <algorithm>
#include <cmath>

namespace skingen {

std::string Density::EntryName(const std::string& design_name) const {
  const std::size_t dot = design_name.rfind('.');
  if (dot == std::string::npos) return design_name + suffix_;
  return design_name.substr(0, dot) + suffix_ + design_name.substr(dot);
}

int Density::Px(double design) const { return static_cast<int>(std::floor(design * factor_ + 0.5)); }

int Density::Stroke(double design) const {
  return std::max(1, static_cast<int>(std::ceil(design * factor_ - 0.5)));
}

}  // namespace skingen
