// Draws the settings program's icon, a blue shield with a white check mark,
// and writes it as a 48 x 48, 8-bit .ico file:  icongen OUT.ico
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <fstream>
#include <map>
#include <vector>

namespace {

constexpr int kSize = 48;
constexpr int kSamples = 4;  // per axis, for smooth edges

struct Rgb {
  double r, g, b;
};

// Shield outline: flat top with rounded corners, straight sides, curved point.
double ShieldHalfWidth(double y) {
  if (y < 5 || y > 44.5) return -1;
  if (y < 26) return 16.5;
  const double t = (y - 26) / (44.5 - 26);  // 0..1 towards the point
  return 16.5 * std::sqrt(std::max(0.0, 1 - t * t));
}

bool InShield(double x, double y, double inset) {
  const double half = ShieldHalfWidth(y - inset * 0.3) - inset;
  if (half <= 0) return false;
  if (y < 5 + inset) return false;
  // Rounded top corners.
  const double cx = std::abs(x - 24);
  const double r = 4 - std::min(inset, 3.5);
  const double top = 5 + inset;
  if (cx > half - r && y < top + r) {
    const double dx = cx - (half - r), dy = (top + r) - y;
    return dx * dx + dy * dy <= r * r;
  }
  return cx <= half;
}

double DistanceToSegment(double px, double py, double ax, double ay, double bx, double by) {
  const double vx = bx - ax, vy = by - ay;
  const double t = std::clamp(((px - ax) * vx + (py - ay) * vy) / (vx * vx + vy * vy), 0.0, 1.0);
  const double dx = px - (ax + t * vx), dy = py - (ay + t * vy);
  return std::sqrt(dx * dx + dy * dy);
}

bool InCheck(double x, double y) {
  return DistanceToSegment(x, y, 15.5, 24.5, 21.5, 31) <= 2.6 || DistanceToSegment(x, y, 21.5, 31, 33, 17.5) <= 2.6;
}

// Colour of one sample, or nothing outside the shield.
bool Sample(double x, double y, Rgb& out) {
  if (!InShield(x, y, 0)) return false;
  if (!InShield(x, y, 1.6)) {
    out = {22, 58, 112};  // outline
    return true;
  }
  const double t = (y - 5) / 40.0;
  out = {58 + (31 - 58) * t, 141 + (78 - 141) * t, 222 + (154 - 222) * t};
  // A soft highlight on the left half.
  if (x < 24 && InShield(x, y, 3.2)) {
    out.r += 18;
    out.g += 18;
    out.b += 14;
  }
  if (InCheck(x, y)) out = {255, 255, 255};
  return true;
}

void Put16(std::vector<std::uint8_t>& v, unsigned x) {
  v.push_back(static_cast<std::uint8_t>(x));
  v.push_back(static_cast<std::uint8_t>(x >> 8));
}
void Put32(std::vector<std::uint8_t>& v, unsigned x) {
  Put16(v, x & 0xFFFF);
  Put16(v, x >> 16);
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: icongen OUT.ico\n");
    return 2;
  }
  // Render with supersampling; a pixel is opaque when most of it is covered.
  std::vector<std::uint32_t> pixels(kSize * kSize, 0);
  std::vector<bool> opaque(kSize * kSize, false);
  for (int y = 0; y < kSize; ++y) {
    for (int x = 0; x < kSize; ++x) {
      Rgb sum{0, 0, 0};
      int covered = 0;
      for (int sy = 0; sy < kSamples; ++sy)
        for (int sx = 0; sx < kSamples; ++sx) {
          Rgb c;
          if (Sample(x + (sx + 0.5) / kSamples, y + (sy + 0.5) / kSamples, c)) {
            sum.r += c.r;
            sum.g += c.g;
            sum.b += c.b;
            ++covered;
          }
        }
      if (covered * 2 < kSamples * kSamples) continue;
      const auto q = [&](double v) { return std::clamp(static_cast<int>(v / covered + 0.5), 0, 255); };
      pixels[static_cast<std::size_t>(y * kSize + x)] =
          static_cast<std::uint32_t>(q(sum.r) << 16 | q(sum.g) << 8 | q(sum.b));
      opaque[static_cast<std::size_t>(y * kSize + x)] = true;
    }
  }
  // Build a palette of at most 256 colours, dropping low bits until it fits.
  std::map<std::uint32_t, int> palette;
  for (int drop = 0; drop < 8; ++drop) {
    palette.clear();
    const std::uint32_t mask = (0xFFu << drop) & 0xFF;
    const std::uint32_t full = mask << 16 | mask << 8 | mask;
    palette[0] = 0;
    for (std::size_t i = 0; i < pixels.size(); ++i)
      if (opaque[i]) palette.emplace(pixels[i] & full, 0);
    if (palette.size() <= 256) {
      for (std::size_t i = 0; i < pixels.size(); ++i) pixels[i] &= full;
      break;
    }
  }
  int index = 0;
  for (auto& entry : palette) entry.second = index++;

  // BITMAPINFOHEADER + palette + 8-bit rows (bottom-up) + 1-bit AND mask.
  std::vector<std::uint8_t> image;
  Put32(image, 40);
  Put32(image, kSize);
  Put32(image, kSize * 2);
  Put16(image, 1);
  Put16(image, 8);
  Put32(image, 0);
  Put32(image, 0);
  Put32(image, 0);
  Put32(image, 0);
  Put32(image, 256);
  Put32(image, 0);
  std::vector<std::uint32_t> ordered(256, 0);
  for (const auto& [color, i] : palette) ordered[static_cast<std::size_t>(i)] = color;
  for (std::uint32_t c : ordered) {
    image.push_back(static_cast<std::uint8_t>(c));
    image.push_back(static_cast<std::uint8_t>(c >> 8));
    image.push_back(static_cast<std::uint8_t>(c >> 16));
    image.push_back(0);
  }
  for (int y = kSize - 1; y >= 0; --y)
    for (int x = 0; x < kSize; ++x) {
      const std::size_t i = static_cast<std::size_t>(y * kSize + x);
      image.push_back(static_cast<std::uint8_t>(opaque[i] ? palette[pixels[i]] : 0));
    }
  constexpr int kMaskStride = ((kSize + 31) / 32) * 4;
  for (int y = kSize - 1; y >= 0; --y) {
    std::uint8_t row[kMaskStride] = {};
    for (int x = 0; x < kSize; ++x)
      if (!opaque[static_cast<std::size_t>(y * kSize + x)]) row[x / 8] |= static_cast<std::uint8_t>(0x80 >> (x % 8));
    image.insert(image.end(), row, row + kMaskStride);
  }

  std::vector<std::uint8_t> file;
  Put16(file, 0);
  Put16(file, 1);
  Put16(file, 1);
  file.push_back(kSize);
  file.push_back(kSize);
  file.push_back(0);  // 256 colours
  file.push_back(0);
  Put16(file, 1);
  Put16(file, 8);
  Put32(file, static_cast<unsigned>(image.size()));
  Put32(file, 22);
  file.insert(file.end(), image.begin(), image.end());

  std::ofstream out(argv[1], std::ios::binary);
  out.write(reinterpret_cast<const char*>(file.data()), static_cast<std::streamsize>(file.size()));
  if (!out) {
    std::fprintf(stderr, "icongen: cannot write %s\n", argv[1]);
    return 1;
  }
  return 0;
}
