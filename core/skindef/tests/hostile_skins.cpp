#include "core/skindef/tests/hostile_skins.h"

#include <cstdint>
#include <random>
#include <stdexcept>

#include "core/archive/skin_reader.h"
#include "core/ini/ini_text.h"
#include "core/skindef/tests/bmp_builder.h"

namespace core::testing {

namespace {

using Verdict = HostileSkin::Verdict;

std::string Trimmed(std::string_view text) {
  const std::size_t first = text.find_first_not_of(" \t\r\n");
  if (first == std::string_view::npos) return {};
  const std::size_t last = text.find_last_not_of(" \t\r\n");
  return std::string(text.substr(first, last - first + 1));
}

template <typename Source>
auto& FileOf(Source& skin, const std::string& name) {
  for (auto& [entry, bytes] : skin.Files)
    if (LowerCaseName(entry) == name) return bytes;
  throw std::logic_error("the base skin has no " + name);
}

void RemoveFile(SkinSource& skin, const std::string& name) {
  std::erase_if(skin.Files, [&](const auto& file) { return LowerCaseName(file.first) == name; });
}

Bytes Solid(int width, int height) {
  BmpLayout l;
  l.width = width;
  l.height = height;
  l.pixels.assign(static_cast<std::size_t>((width * 3 + 3) / 4 * 4) * static_cast<std::size_t>(height), 0x60);
  return MakeBmp(l);
}

void Set32(Bytes& b, std::size_t at, std::uint32_t v) {
  for (int i = 0; i < 4; ++i) b[at + static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(v >> (8 * i));
}

std::string Utf16(const std::string& text, bool bigEndian) {
  std::string out = bigEndian ? "\xFE\xFF" : "\xFF\xFE";
  for (char c : text) {
    if (bigEndian) out += '\0';
    out += c;
    if (!bigEndian) out += '\0';
  }
  return out;
}

class Recipes {
 public:
  explicit Recipes(const SkinSource& base) : base_(base) {}

  std::vector<HostileSkin> All() {
    Numbers();
    Pictures();
    Definitions();
    return std::move(out_);
  }

 private:
  void Add(std::string name, SkinSource skin, Verdict expected) {
    out_.push_back(HostileSkin{std::move(name), std::move(skin), expected});
  }
  void Key(const std::string& section, const std::string& key, const std::string& value, Verdict expected) {
    SkinSource skin = base_;
    skin.Definition = WithKey(skin.Definition, section, key, value);
    Add("[" + section + "] " + key + "=" + value.substr(0, 40), std::move(skin), expected);
  }
  void Picture(const std::string& what, const std::string& name, Bytes bytes) {
    SkinSource skin = base_;
    FileOf(skin, name) = std::move(bytes);
    Add(what + " (" + name + ")", std::move(skin), Verdict::Refused);
  }

  // Every numeric key a window's look hangs on, at the edges of what it can
  // hold; only the values that keep the look whole are worn.
  void Numbers() {
    const std::vector<std::string> values{"0", "-1", "-2147483648", "2147483647", "65535", "99999"};
    const auto each = [&](const std::string& section, const std::string& key, const std::vector<Verdict>& verdicts) {
      for (std::size_t i = 0; i < values.size(); ++i) Key(section, key, values[i], verdicts[i]);
    };
    const Verdict R = Verdict::Refused, W = Verdict::Worn;
    each("Buttons", "LeftWidth", {W, R, R, R, R, R});
    each("Tabs", "TopHeight", {W, R, R, R, R, R});
    each("Personality", "TopFrame", {R, R, R, R, R, R});
    each("HorzScrollThumb", "FrameCount", {R, R, R, R, R, R});
    each("Button0", "Xcoord", {R, R, R, R, R, R});
    each("Personality", "TextShift", {W, W, R, R, R, R});
    // Margins that leave nothing between them, and a close box that is cut
    // by the caption band but can still be clicked.
    SkinSource noMiddle = base_;
    noMiddle.Definition = WithKey(WithKey(noMiddle.Definition, "Buttons", "LeftWidth", "12"), "Buttons", "RightWidth", "12");
    Add("[Buttons] margins 12 + 12 of a 24-pixel frame", std::move(noMiddle), R);
    Key("Button0", "Ycoord", "12", W);
    Key("Colours", "ButtonFace", "-1 -1 -1", R);
    Key("Colours", "Window", "256 0 0", R);
    Key("Personality", "ActiveTextR", "99999", R);
  }

  void Pictures() {
    Picture("a 1 x 1 picture for five frames", "button.bmp", Solid(1, 1));
    Bytes flat = FileOf(base_, "frame_top.bmp");
    Set32(flat, 22, 0);
    Picture("a picture 0 pixels high", "frame_top.bmp", std::move(flat));
    Bytes lying = FileOf(base_, "caption_close.bmp");
    Set32(lying, 18, 4096);
    Set32(lying, 22, 4096);
    Picture("a header claiming 4096 x 4096 pixels", "caption_close.bmp", std::move(lying));
    Bytes cut = FileOf(base_, "scroll_arrows.bmp");
    cut.resize(cut.size() / 2);
    Picture("a picture cut in half", "scroll_arrows.bmp", std::move(cut));
    BmpLayout runs;
    runs.width = 32;
    runs.height = 40;
    runs.bits = 8;
    runs.compression = 1;
    runs.palette = {0x000000, 0xFFFFFF};
    runs.pixels = {200, 1, 0, 1};
    Picture("run-length code running 200 pixels along a 32-pixel row", "menubar.bmp", MakeBmp(runs));
    Picture("a picture 32767 pixels wide", "frame_left.bmp", Solid(32767, 2));
    Picture("a PNG under a .bmp name", "check.bmp",
            Bytes{0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n', 0, 0, 0, 13, 'I', 'H', 'D', 'R', 0, 0, 0, 16});

    SkinSource missing = base_;
    RemoveFile(missing, "tab.bmp");
    Add("a picture missing (tab.bmp)", std::move(missing), Verdict::Refused);
    SkinSource none = base_;
    none.Files.clear();
    Add("no pictures at all", std::move(none), Verdict::Refused);
  }

  void Definitions() {
    const auto with = [&](std::string name, std::string definition, Verdict expected) {
      SkinSource skin = base_;
      skin.Definition = std::move(definition);
      Add(std::move(name), std::move(skin), expected);
    };
    with("an empty definition", "", Verdict::Refused);
    std::minstd_rand random(20240);
    std::string noise(2048, '\0');
    for (char& c : noise) c = static_cast<char>(random() & 0xFF);
    with("2048 random bytes as the definition", noise, Verdict::Refused);
    with("the definition in UTF-16, little-endian", Utf16(base_.Definition, false), Verdict::Refused);
    with("the definition in UTF-16, big-endian", Utf16(base_.Definition, true), Verdict::Refused);
    with("the definition in UTF-8 with a byte-order mark", "\xEF\xBB\xBF" + base_.Definition, Verdict::Worn);
    with("[Buttons] given twice, the second with hostile margins",
         base_.Definition + "\r\n[Buttons]\r\nLeftWidth=-2147483648\r\nBitmap=missing.bmp\r\n", Verdict::Worn);
    with("a 10 KB SkinName", WithKey(base_.Definition, "TitlebarSkin", "SkinName", std::string(10240, 'N')),
         Verdict::Worn);
    with("a 10 KB picture name",
         WithKey(base_.Definition, "Tabs", "Image", std::string(10240, 't') + ".bmp"), Verdict::Refused);
    std::string many = base_.Definition;
    for (int i = 0; i < 500; ++i)
      many += "\r\n[Button" + std::to_string(1000 + i) + "]\r\nAction=-1\r\nVisibility=0\r\nVisibility1=200\r\n"
              "Align=0\r\nXcoord=" + std::to_string(40 + i) + "\r\nYcoord=7\r\nframe=4\r\nButtonImage=caption_icon.bmp\r\n";
    with("500 caption-button sections", many, Verdict::Worn);
  }

  const SkinSource& base_;
  std::vector<HostileSkin> out_;
};

}  // namespace

std::string WithKey(const std::string& definition, const std::string& section, const std::string& key,
                    const std::string& value) {
  std::vector<std::string> lines;
  for (std::size_t at = 0; at <= definition.size();) {
    const std::size_t end = definition.find('\n', at);
    lines.push_back(definition.substr(at, end == std::string::npos ? std::string::npos : end + 1 - at));
    if (end == std::string::npos) break;
    at = end + 1;
  }
  const std::string header = "[" + UpperCaseName(section) + "]", upperKey = UpperCaseName(key);
  const std::string line = key + "=" + value + "\r\n";
  for (std::size_t i = 0; i < lines.size(); ++i) {
    if (UpperCaseName(Trimmed(lines[i])) != header) continue;
    std::size_t j = i + 1;
    for (; j < lines.size() && !Trimmed(lines[j]).starts_with("["); ++j) {
      const std::string text = Trimmed(lines[j]);
      const std::size_t equals = text.find('=');
      if (equals != std::string::npos && UpperCaseName(Trimmed(text.substr(0, equals))) == upperKey) {
        lines[j] = line;
        j = lines.size() + 1;
        break;
      }
    }
    if (j <= lines.size()) lines.insert(lines.begin() + static_cast<std::ptrdiff_t>(i) + 1, line);
    std::string out;
    for (const std::string& l : lines) out += l;
    return out;
  }
  return definition + "\r\n[" + section + "]\r\n" + line;
}

std::vector<HostileSkin> HostileSkins(const SkinSource& base) { return Recipes(base).All(); }

}  // namespace core::testing
