// Screen densities the skin pictures are drawn for, and how one density maps
// the design pixels of a picture (its 1x pixels, the units of the skin
// definition) to its own. Pictures are drawn anew at each density from the
// same code, never resampled, so lines stay on whole pixels.
#pragma once
#include <array>
#include <string>

namespace skingen {

class Density {
 public:
  constexpr Density(double factor, const char* suffix) : factor_(factor), suffix_(suffix) {}

  double Factor() const { return factor_; }
  bool IsDesignSize() const { return factor_ == 1.0; }
  // The archive entry of this density: "name.bmp" becomes "name@2x.bmp".
  std::string EntryName(const std::string& design_name) const;

  // A design length in whole pixels: length × factor, halves rounded up.
  // This is the size rule for frames: a frame of w × h design pixels is
  // Px(w) × Px(h) pixels, so a strip of n frames is n × Px(w) wide.
  int Px(double design) const;
  // The thickness of a design line in whole pixels, never below one; halves
  // round down, so a hairline stays one crisp pixel at 1.5x (as the system
  // draws its own hairlines there) and becomes two at 2x.
  int Stroke(double design) const;
  // A corner radius or an arc: not rounded, since shapes take pixels by
  // their centres and so keep hard edges at any radius.
  double Radius(double design) const { return design * factor_; }

 private:
  double factor_;
  const char* suffix_;
};

inline constexpr Density kDesignDensity{1.0, ""};
inline constexpr std::array<Density, 3> kDensities{{{1.0, ""}, {1.5, "@1.5x"}, {2.0, "@2x"}}};

}  // namespace skingen
