#include "core/skindef/skin_check.h"

#include <algorithm>
#include <map>
#include <optional>
#include <set>
#include <string_view>
#include <tuple>

#include "core/archive/skin_reader.h"
#include "core/ini/ini_text.h"
#include "core/skindef/alpha_picture.h"
#include "core/skindef/bitmap_header.h"
#include "core/skindef/bitmap_size.h"
#include "core/skindef/picture_scale.h"
#include "core/skindef/skin_definition.h"
#include "core/text/number_text.h"

namespace core {

namespace {

using Level = SkinFinding::Level;

// A caption button's Align values that place it from a window edge.
constexpr std::int32_t alignFromLeft = 0, alignFromRight = 1;

std::size_t EditDistance(std::string_view a, std::string_view b) {
  std::vector<std::size_t> row(b.size() + 1);
  for (std::size_t j = 0; j <= b.size(); ++j) row[j] = j;
  for (std::size_t i = 1; i <= a.size(); ++i) {
    std::size_t diagonal = row[0];
    row[0] = i;
    for (std::size_t j = 1; j <= b.size(); ++j) {
      const std::size_t above = row[j];
      row[j] = std::min({row[j] + 1, row[j - 1] + 1, diagonal + (a[i - 1] == b[j - 1] ? 0 : 1)});
      diagonal = above;
    }
  }
  return row[b.size()];
}

// The known name nearest to `name` (compared in upper case), when it is
// near enough to be a slip of the keyboard; `known` maps upper-case names
// to the spelling the reader uses.
std::optional<std::string> Nearest(std::string_view name, const std::map<std::string, std::string>& known) {
  const std::string upper = UpperCaseName(name);
  std::optional<std::string> best;
  std::size_t bestDistance = std::max<std::size_t>(1, upper.size() / 3) + 1;
  for (const auto& [candidate, spelling] : known) {
    const std::size_t d = EditDistance(upper, candidate);
    if (d < bestDistance) {
      bestDistance = d;
      best = spelling;
    }
  }
  return best;
}

std::string Unquoted(std::string_view text) {
  if (text.size() >= 2 && (text.front() == '"' || text.front() == '\'') && text.back() == text.front())
    text = text.substr(1, text.size() - 2);
  return std::string(text);
}

// A colour as the engine reads it: runs of digits are the numbers. Right
// when there are exactly three, each at most 255; a minus sign before one
// makes it no colour (the engine would read -1 as 1).
bool ReadsAsColour(std::string_view text) {
  int numbers = 0;
  for (std::size_t i = 0; i < text.size();) {
    if (text[i] < '0' || text[i] > '9') {
      ++i;
      continue;
    }
    if (i > 0 && text[i - 1] == '-') return false;
    std::size_t end = i;
    while (end < text.size() && text[end] >= '0' && text[end] <= '9') ++end;
    if (end - i > 3 || std::stoi(std::string(text.substr(i, end - i))) > 255) return false;
    ++numbers;
    i = end;
  }
  return numbers == 3;
}

struct Picture {
  std::string Name;
  std::span<const std::uint8_t> Bytes;
  std::optional<BitmapFileLayout> Layout;
  BitmapProblem Problem = BitmapProblem::None;
  bool Alpha = false;  // a 32-bit picture that carries alpha
};

bool IsUtf16(std::string_view text) { return text.starts_with("\xFF\xFE") || text.starts_with("\xFE\xFF"); }

std::string Size(std::int64_t width, std::int64_t height) { return std::to_string(width) + "x" + std::to_string(height); }

// What an integer key is to the engine, for the range it must lie in.
enum class IntegerRule {
  None,
  Margin,           // a slice size: 0 or more (and inside its picture, checked there)
  FrameCount,       // 1 or more
  DerivedFrames,    // 1 or more, or 0 for "count them from the picture"
  Length,           // a shift or coordinate: within kMaxPictureSide either way
  TextColourPart,   // red, green or blue: at most 255 (negative: not given)
  Duration,         // a transition's milliseconds: 0 to SkinAnimation::kLongestMilliseconds
};

IntegerRule RuleFor(const std::string& upperSection, const std::string& upperKey) {
  static const std::set<std::string> kMargins{"LEFTWIDTH", "RIGHTWIDTH", "TOPHEIGHT", "BOTTOMHEIGHT"};
  if (upperSection == "PERSONALITY") {
    for (const char* piece : {"LEFT", "RIGHT", "TOP", "BOTTOM"}) {
      const std::string p = piece;
      if (upperKey == p + "TOPHEIGHT" || upperKey == p + "BOTHEIGHT") return IntegerRule::Margin;
      if (upperKey == p + "FRAME") return IntegerRule::FrameCount;
    }
    if (upperKey == "TILELEFTMENU" || upperKey == "TILERIGHTMENU") return IntegerRule::Margin;
    static const std::set<std::string> kLengths{"TEXTSHIFT", "TEXTSHIFTVERT", "TEXTRIGHTCLIP", "TXTBACKLEFT",
                                                "TXTBACKRIGHT"};
    if (kLengths.contains(upperKey)) return IntegerRule::Length;
    for (const char* prefix : {"ACTIVETEXT", "INACTIVETEXT"})
      for (const char* part : {"R", "G", "B"})
        if (upperKey == std::string(prefix) + part) return IntegerRule::TextColourPart;
    return IntegerRule::None;
  }
  if (upperSection == "ANIMATION") return IntegerRule::Duration;
  if (kMargins.contains(upperKey)) return IntegerRule::Margin;
  if (upperKey == "FRAMECOUNT") return IntegerRule::FrameCount;
  if (upperSection == "BUTTONS" && (upperKey == "CHECKBUTTONFRAME" || upperKey == "RADIOBUTTONFRAME"))
    return IntegerRule::DerivedFrames;
  if (upperSection.starts_with("BUTTON")) {
    if (upperKey == "FRAME") return IntegerRule::DerivedFrames;
    if (upperKey == "XCOORD" || upperKey == "YCOORD") return IntegerRule::Length;
  }
  if (upperSection == "GROUPBOX" && (upperKey == "BACKGROUNDLEFTSHIFT" || upperKey == "BACKGROUNDRIGHTSHIFT"))
    return IntegerRule::Length;
  return IntegerRule::None;
}

// What the reader asks of the definition: the sections and keys it looks
// up, each as text or as a number.
struct Vocabulary {
  struct Key {
    IniText::LookupKind Kind;
    std::string Spelling;
  };
  std::map<std::string, std::string> Sections;              // upper case -> the reader's spelling
  std::map<std::pair<std::string, std::string>, Key> Keys;  // upper case
  std::set<std::string> Images;                             // lower case, asked for by name
};

class Checker {
 public:
  explicit Checker(const SkinView& skin) : skin_(skin), ini_(skin.Definition) {
    for (const auto& [name, bytes] : skin.Files) {
      Picture p{name, bytes, std::nullopt};
      if (LowerCaseName(name).ends_with(".bmp")) p.Layout = ParseBitmapFile(bytes, &p.Problem);
      if (p.Layout) p.Alpha = HasAlphaChannel(bytes, *p.Layout);
      files_.emplace(LowerCaseName(name), std::move(p));
    }
  }

  std::vector<SkinFinding> Run(SkinDefinition* read) {
    // Read as 8-bit text, UTF-16 would be one long line of nothing.
    if (IsUtf16(skin_.Definition)) {
      SayAt(1, Level::Error,
            "the definition is UTF-16 text (it starts with a byte-order mark); the engine reads 8-bit text: "
            "save it as ANSI text");
      return std::move(findings_);
    }
    SkinDefinition def;
    // With every picture it names there, the vocabulary's reading is the
    // engine's; otherwise the definition is read again without the missing.
    if (!LearnVocabulary(def)) def = ReadSkinDefinition(ini_, [this](const std::string& name) { return SizeOf(name); });
    CheckSectionsAndKeys();
    CheckNamedPictures();
    CheckFrames(def);
    CheckWholeSkin(def);
    CheckCaptionButtons(def);
    CheckUnnamedAndVariants();
    CheckAlpha(def);
    std::stable_sort(findings_.begin(), findings_.end(), [](const SkinFinding& a, const SkinFinding& b) {
      return std::tie(a.File, a.Line) < std::tie(b.File, b.Line);
    });
    if (read) *read = std::move(def);
    return std::move(findings_);
  }

 private:
  void Say(const std::string& file, int line, Level level, std::string text) {
    findings_.push_back(SkinFinding{file, line, level, std::move(text)});
  }
  void SayAt(int line, Level level, std::string text) { Say(skin_.DefinitionName, line, level, std::move(text)); }

  // A picture's size as the engine's reader is told it: its header's.
  std::optional<ImageSize> SizeOf(const std::string& name) const {
    const auto it = files_.find(LowerCaseName(name));
    if (it == files_.end() || !it->second.Layout) return std::nullopt;
    return ImageSize{it->second.Layout->width, it->second.Layout->height};
  }

  // Read once with every picture present, so that the reader asks for all
  // it would ever read of these sections (what it asks depends on whether a
  // picture is there, never on its size). True when every picture it named
  // was there: `def` is then the definition as the engine reads it.
  bool LearnVocabulary(SkinDefinition& def) {
    ini_.ObserveLookups([this](std::string_view section, std::string_view key, IniText::LookupKind kind) {
      const std::string s = UpperCaseName(section);
      words_.Sections.emplace(s, std::string(section));
      words_.Keys.emplace(std::make_pair(s, UpperCaseName(key)), Vocabulary::Key{kind, std::string(key)});
    });
    bool everyPicture = true;
    def = ReadSkinDefinition(ini_, [this, &everyPicture](const std::string& name) -> std::optional<ImageSize> {
      words_.Images.insert(LowerCaseName(name));
      const std::optional<ImageSize> size = SizeOf(name);
      everyPicture = everyPicture && size;
      return size ? *size : ImageSize{64, 64};
    });
    ini_.ObserveLookups(nullptr);
    return everyPicture;
  }

  // The line of a key as the reader finds it (the first of its name in the
  // first section of its name), else of that section, else 1.
  int LineOf(std::string_view section, std::string_view key) const {
    const std::string upperSection = UpperCaseName(section), upperKey = UpperCaseName(key);
    for (const IniText::Section& s : ini_.Sections()) {
      if (s.name.empty() || UpperCaseName(s.name) != upperSection) continue;
      for (const IniText::Entry& e : s.entries)
        if (e.value && UpperCaseName(e.name) == upperKey) return e.line;
      return s.line;
    }
    return 1;
  }

  std::map<std::string, std::string> KnownKeys(const std::string& section) const {
    std::map<std::string, std::string> keys;
    for (const auto& [where, key] : words_.Keys)
      if (where.first == section) keys.emplace(where.second, key.Spelling);
    return keys;
  }

  void CheckSectionsAndKeys() {
    std::set<std::string> seenSections;
    for (const IniText::Section& section : ini_.Sections()) {
      const std::string upperSection = UpperCaseName(section.name);
      const bool known = words_.Sections.contains(upperSection);
      if (!section.name.empty()) {
        if (!seenSections.insert(upperSection).second) {
          SayAt(section.line, Level::Warning, "section [" + section.name + "] again: only the first is read");
          continue;
        }
        if (!known) {
          const auto near = Nearest(section.name, words_.Sections);
          SayAt(section.line, Level::Warning,
                "unknown section [" + section.name + "]" + (near ? "; did you mean [" + *near + "]?" : ""));
          continue;
        }
      }
      std::set<std::string> seenKeys;
      for (const IniText::Entry& entry : section.entries) {
        if (!entry.name.empty() && entry.name.front() == ';') continue;
        if (section.name.empty()) {
          SayAt(entry.line, Level::Warning, "\"" + entry.name + "\" stands before any section and is never read");
          continue;
        }
        if (!entry.value) {
          SayAt(entry.line, Level::Warning, "\"" + entry.name + "\" has no '=' and is never read");
          continue;
        }
        const std::string upperKey = UpperCaseName(entry.name);
        if (!seenKeys.insert(upperKey).second) {
          SayAt(entry.line, Level::Warning, entry.name + " again in [" + section.name + "]: only the first is read");
          continue;
        }
        const auto kind = words_.Keys.find({upperSection, upperKey});
        if (kind == words_.Keys.end()) {
          const auto near = Nearest(entry.name, KnownKeys(upperSection));
          SayAt(entry.line, Level::Warning,
                "unknown key " + entry.name + " in [" + section.name + "]" + (near ? "; did you mean " + *near + "?" : ""));
          continue;
        }
        CheckValue(section.name, entry, kind->second.Kind);
        NoteImageName(entry);
      }
    }
  }

  static bool IsColourKey(const std::string& upperSection, const std::string& upperKey) {
    return upperSection == "COLOURS" || (upperSection.starts_with("COLOUR") && upperKey == "COLOR") ||
           upperKey.ends_with("COLOUR2");
  }

  void CheckValue(const std::string& section, const IniText::Entry& entry, IniText::LookupKind kind) {
    const std::string value = Unquoted(*entry.value);
    if (kind == IniText::LookupKind::Integer) {
      if (value.empty()) return;
      const std::optional<std::int32_t> number = ParseProfileInteger(value);
      if (!number)
        SayAt(entry.line, Level::Error,
              entry.name + " = \"" + value + "\" is not a number: the engine reads the default instead");
      else
        CheckRange(RuleFor(UpperCaseName(section), UpperCaseName(entry.name)), entry, *number);
    } else if (IsColourKey(UpperCaseName(section), UpperCaseName(entry.name))) {
      if (value.empty())
        SayAt(entry.line, Level::Warning, entry.name + " is empty: the engine uses the default colour");
      else if (!ReadsAsColour(value))
        SayAt(entry.line, Level::Error,
              entry.name + " = \"" + value + "\" is not a colour: write three numbers from 0 to 255 (red green blue)");
    }
  }

  void CheckRange(IntegerRule rule, const IniText::Entry& entry, std::int64_t v) {
    const std::string said = entry.name + " = " + std::to_string(v);
    switch (rule) {
      case IntegerRule::Margin:
        if (v < 0) SayAt(entry.line, Level::Error, said + ": a margin cannot be negative");
        return;
      case IntegerRule::FrameCount:
        if (v < 1) SayAt(entry.line, Level::Error, said + ": a picture holds at least one frame");
        return;
      case IntegerRule::DerivedFrames:
        if (v < 0)
          SayAt(entry.line, Level::Error, said + ": a picture holds at least one frame (0 counts them from its size)");
        return;
      case IntegerRule::Length:
        if (v < -kMaxPictureSide || v > kMaxPictureSide)
          SayAt(entry.line, Level::Error,
                said + ": lengths lie within " + std::to_string(kMaxPictureSide) + " pixels either way");
        return;
      case IntegerRule::TextColourPart:
        if (v > 255) SayAt(entry.line, Level::Error, said + " is above 255: the engine keeps only its low 8 bits");
        return;
      case IntegerRule::Duration:
        if (v < 0 || v > SkinAnimation::kLongestMilliseconds)
          SayAt(entry.line, Level::Warning,
                said + ": a transition lasts 0 to " + std::to_string(SkinAnimation::kLongestMilliseconds) +
                    " ms; the engine keeps it within that");
        return;
      case IntegerRule::None:
        return;
    }
  }

  // Where each picture is named first, for the findings about it.
  void NoteImageName(const IniText::Entry& entry) {
    const std::string name = LowerCaseName(ElementImageName(Unquoted(*entry.value)));
    if (name.empty() || !words_.Images.contains(name)) return;
    namedAt_.emplace(name, entry.line);
  }

  int LineNaming(const std::string& image) const {
    const auto it = namedAt_.find(LowerCaseName(image));
    return it == namedAt_.end() ? 1 : it->second;
  }

  void CheckNamedPictures() {
    for (const auto& [name, line] : namedAt_) {
      const auto it = files_.find(name);
      if (it == files_.end()) {
        SayAt(line, Level::Error, "bitmap " + name + " is missing");
        continue;
      }
      if (it->second.Layout) continue;
      SayAt(line, Level::Error, "bitmap " + it->second.Name + " " + ProblemText(it->second));
    }
  }

  static std::string ProblemText(const Picture& picture) {
    switch (picture.Problem) {
      case BitmapProblem::TooLarge: {
        const auto size = ReadBitmapSize(picture.Bytes);
        return "is " + (size ? Size(size->width, size->height) : std::string("too large")) +
               ": the engine reads pictures of at most " + std::to_string(kMaxPictureSide) + " pixels a side and " +
               std::to_string(kMaxPicturePixels) + " pixels in all";
      }
      case BitmapProblem::RunsPastPicture:
        return "has run-length code that writes past the picture";
      case BitmapProblem::RunsPastData:
        return "has run-length code that ends inside a run";
      default:
        return "is not one the engine reads (a Windows .bmp of 1 to 32 bits, uncompressed, run-length or bit "
               "fields)";
    }
  }

  // A picture as the engine cuts it: `frames` side by side, or one above
  // the other.
  void CheckPicture(const std::string& image, int frames, bool stacked, const SkinObjectDef* margins) {
    if (image.empty()) return;
    const auto it = files_.find(LowerCaseName(image));
    if (it == files_.end() || !it->second.Layout) return;
    const int width = it->second.Layout->width, height = it->second.Layout->height;
    if (frames < 1) return;  // said where the count is given
    grids_[LowerCaseName(image)] = stacked ? FrameGrid{1, frames} : FrameGrid{frames, 1};
    const int along = stacked ? height : width;
    const int line = LineNaming(image);
    if (along < frames) {
      SayAt(line, Level::Error,
            it->second.Name + " is " + std::to_string(along) + " pixels " + (stacked ? "high" : "wide") +
                ", too few for its " + std::to_string(frames) + " frames");
      return;
    }
    if (along % frames != 0) {
      SayAt(line, Level::Error,
            it->second.Name + " is " + std::to_string(along) + " pixels " + (stacked ? "high" : "wide") +
                ", not a multiple of its " + std::to_string(frames) + " frames");
      return;
    }
    if (!margins) return;
    const int frameWidth = stacked ? width : width / frames, frameHeight = stacked ? height / frames : height;
    CheckMarginPair(line, "left and right", "wider than", "column", margins->LeftWidth, margins->RightWidth,
                    frameWidth, it->second.Name);
    CheckMarginPair(line, "top and bottom", "taller than", "row", margins->TopHeight, margins->BottomHeight,
                    frameHeight, it->second.Name);
  }

  // Two margins of one frame: each said already when negative; together
  // they must leave at least one column (row) to stretch or repeat.
  void CheckMarginPair(int line, const std::string& which, const std::string& beyond, const std::string& unit,
                       std::int64_t first, std::int64_t second, int frame, const std::string& picture) {
    if (first < 0 || second < 0) return;
    const std::string pair = "the " + which + " margins (" + std::to_string(first) + " + " + std::to_string(second) +
                             ")";
    const std::string of = " a frame of " + picture + " (" + std::to_string(frame) + ")";
    if (first + second > frame)
      SayAt(line, Level::Error, pair + " are " + beyond + of);
    else if (first + second == frame && frame > 0)
      SayAt(line, Level::Error, pair + " leave no middle " + unit + " of" + of + " to stretch");
  }

  void CheckFrames(const SkinDefinition& def) {
    for (const SkinBorderDef* piece : {&def.BorderLeft, &def.BorderRight})
      CheckPicture(piece->Image, piece->FrameCount, false, piece);
    for (const SkinBorderDef* piece : {&def.BorderTop, &def.BorderBottom})
      CheckPicture(piece->Image, piece->FrameCount, true, piece);
    CheckPicture(def.TitleElement.Image, def.TitleElement.FrameCount, false, nullptr);
    const SkinButtonDef& b = def.ButtonsElement;
    CheckPicture(b.Image, b.FrameCount, false, &b);
    CheckPicture(b.CheckImage, b.CheckFrameCount, false, nullptr);
    CheckPicture(b.RadioImage, b.RadioFrameCount, false, nullptr);
    for (const SkinSysButtonDef& button : def.SysButtonElements)
      if (button.ImageWidth == 0) CheckPicture(button.Image, button.FrameCount, false, nullptr);
    const auto element = [this](const auto& e) {
      if (e) CheckPicture(e->Image, e->FrameCount, false, &*e);
    };
    element(def.Progress);
    element(def.MenuBar);
    element(def.GroupBoxEdge);
    element(def.GroupBox);
    element(def.Toolbars);
    element(def.Tabs);
    element(def.StatusBarEdges);
    element(def.ComboButton);
    for (const auto* e : {&def.SunkEdge, &def.ExtraImages, &def.Headerbar, &def.MenuItem, &def.MenuBackground,
                          &def.Scrollbar, &def.HorzScroll, &def.VertScroll, &def.HorzScrollThumb,
                          &def.VertScrollThumb, &def.TrackbarThumbHorz, &def.TrackbarThumbVert,
                          &def.TrackbarThumbLeft, &def.TrackbarThumbRight, &def.TrackbarThumbUp,
                          &def.TrackbarThumbDown})
      element(*e);
    for (const auto* e : {&def.UpDownHorz, &def.UpDownVert}) {
      element(*e);
      if (*e) CheckPicture((*e)->Image2, (*e)->FrameCount, false, nullptr);
    }
    CheckPicture(NamedImage("MDICONTROLS", "Image"), 12, false, nullptr);
    CheckCaptionBack(def.TitleElement);
  }

  // The picture a key names, as the reader takes the name.
  std::string NamedImage(std::string_view section, std::string_view key) const {
    return ElementImageName(ini_.ReadString(section, key, ""));
  }

  const Picture* ReadablePicture(const std::string& image) const {
    if (image.empty()) return nullptr;
    const auto it = files_.find(LowerCaseName(image));
    return it == files_.end() || !it->second.Layout ? nullptr : &it->second;
  }

  // The caption's background repeats its middle between its two ends.
  void CheckCaptionBack(const SkinTitleDef& title) {
    const Picture* picture = ReadablePicture(title.Image);
    if (!picture || title.TextBackLeft < 0 || title.TextBackRight < 0) return;
    const std::int64_t ends = std::int64_t{title.TextBackLeft} + title.TextBackRight;
    if (ends >= picture->Layout->width)
      SayAt(LineOf("Personality", "TXTBackleft"), Level::Error,
            "TXTBackleft and TXTBackRight (" + std::to_string(title.TextBackLeft) + " + " +
                std::to_string(title.TextBackRight) + ") leave no middle of " + picture->Name + " (" +
                std::to_string(picture->Layout->width) + " wide) to repeat");
  }

  // What every window needs of a skin: a name to show, and a frame with a
  // caption band to move the window by.
  void CheckWholeSkin(const SkinDefinition& def) {
    if (def.SkinName.empty())
      SayAt(LineOf("TitlebarSkin", "SkinName"), Level::Error, "the skin has no name: give it one as SkinName in [TitlebarSkin]");
    bool anyPiece = false;
    for (const char* piece : {"Left", "Right", "Top", "Bottom"}) anyPiece = anyPiece || !NamedImage("Personality", piece).empty();
    if (!anyPiece)
      SayAt(LineOf("Personality", "Top"), Level::Error,
            "no window frame: [Personality] names none of the Left, Right, Top and Bottom pictures");
    else if (NamedImage("Personality", "Top").empty())
      SayAt(LineOf("Personality", "Top"), Level::Error,
            "no caption: [Personality] names no Top picture, so windows would have no title bar to move them by");
  }

  // A caption button placed from the window's left or right edge must show
  // in the caption band: one whose middle misses it cannot be clicked (a
  // close box nobody can use), one that only reaches past it is cut.
  void CheckCaptionButtons(const SkinDefinition& def) {
    const Picture* top = ReadablePicture(def.BorderTop.Image);
    if (!top || def.BorderTop.FrameCount < 1) return;
    const std::int64_t band = top->Layout->height / def.BorderTop.FrameCount;
    for (const SkinSysButtonDef& b : def.SysButtonElements) {
      if (b.ImageWidth != 0 || (b.Align != alignFromLeft && b.Align != alignFromRight)) continue;
      const Picture* picture = ReadablePicture(b.Image);
      if (!picture || b.FrameCount < 1 || picture->Layout->width < b.FrameCount) continue;
      const std::int64_t w = picture->Layout->width / b.FrameCount, h = picture->Layout->height;
      // Columns counted inwards from the edge it is placed from.
      const std::int64_t x = b.XCoord, y = b.YCoord, first = b.Align == alignFromLeft ? x : x - w;
      const bool middleOut = first + w / 2 < 0 || y + h / 2 < 0 || y + h / 2 >= band;
      const bool partOut = first < 0 || y < 0 || y + h > band;
      if (!partOut) continue;
      const std::string where = "the caption button [" + SectionSpelling(b.ElementName) + "] (" + Size(w, h) +
                                " at Xcoord " + std::to_string(x) + ", Ycoord " + std::to_string(y) + ")";
      const bool rows = y < 0 || y + h > band;
      const int line = LineOf(b.ElementName, rows ? "Ycoord" : "Xcoord");
      const std::string bandText = std::to_string(band) + "-pixel caption band";
      if (middleOut)
        SayAt(line, Level::Error, where + " lies outside the " + bandText);
      else
        SayAt(line, Level::Warning, where + " reaches outside the " + bandText);
    }
  }

  // A section's name as the definition writes it.
  std::string SectionSpelling(const std::string& upperName) const {
    for (const IniText::Section& s : ini_.Sections())
      if (UpperCaseName(s.name) == upperName) return s.name;
    return upperName;
  }

  // Pictures nothing names, and the density variants of those that are.
  void CheckUnnamedAndVariants() {
    for (const auto& [lower, picture] : files_) {
      if (!lower.ends_with(".bmp")) continue;
      const DensityVariant* variant = nullptr;
      std::string base = lower;
      for (const DensityVariant& v : kDensityVariants) {
        const std::string suffix = std::string(v.suffix) + ".bmp";
        if (lower.ends_with(suffix)) {
          variant = &v;
          base = lower.substr(0, lower.size() - suffix.size()) + ".bmp";
        }
      }
      if (!namedAt_.contains(base)) {
        Say(picture.Name, 1, Level::Warning,
            variant ? "a density variant of " + base + ", which the definition never names"
                    : "the definition never names this bitmap");
        continue;
      }
      if (!variant) continue;
      const auto source = files_.find(base);
      if (source == files_.end() || !source->second.Layout) continue;
      if (!picture.Layout) {
        Say(picture.Name, 1, Level::Error, "not a bitmap the engine reads");
        continue;
      }
      if (picture.Alpha != source->second.Alpha)
        Say(picture.Name, 1, Level::Warning,
            std::string(picture.Alpha ? "carries" : "carries no") + " alpha, " + source->second.Name +
                (picture.Alpha ? " none" : " does") + ": the two densities would be drawn differently");
      const auto grid = grids_.contains(base) ? grids_.at(base) : FrameGrid{};
      const auto expected =
          ScaledPictureSize(source->second.Layout->width, source->second.Layout->height, grid, variant->dpi);
      const std::pair<int, int> actual{picture.Layout->width, picture.Layout->height};
      if (expected && *expected != actual)
        Say(picture.Name, 1, Level::Error,
            "is " + std::to_string(actual.first) + "x" + std::to_string(actual.second) + "; drawn for " +
                std::to_string(variant->dpi) + " dpi from " + source->second.Name + " it must be " +
                std::to_string(expected->first) + "x" + std::to_string(expected->second));
    }
  }

  // Pictures with alpha: premultiplied, as the blending takes them, and not
  // where this version copies a picture opaque (over what lies beneath, a
  // pixel that covers nothing would show black).
  void CheckAlpha(const SkinDefinition& def) {
    for (const auto& [lower, picture] : files_) {
      if (!picture.Alpha) continue;
      const auto read = ReadAlphaPicture(picture.Bytes, *picture.Layout);
      const auto fault = read ? FindPremultiplyFault(*read) : std::nullopt;
      if (!fault) continue;
      const std::string text = "has colour above its alpha at " + std::to_string(fault->x) + "," +
                               std::to_string(fault->y) + " (" + std::to_string(fault->count) +
                               " pixels): save it with premultiplied alpha (skinpack pack does that for PNG pictures)";
      if (namedAt_.contains(lower))
        SayAt(namedAt_.at(lower), Level::Error, "bitmap " + picture.Name + " " + text);
      else
        Say(picture.Name, 1, Level::Error, text);
    }
    struct OpaqueSlot {
      const char* Section;
      const char* Key;
      const std::string* Image;
      const char* Why;
    };
    const std::string none;
    auto image = [&none](const auto& element) -> const std::string* { return element ? &element->Image : &none; };
    const bool buttonsKeyed = def.ButtonsElement.Trans != 0, sunkKeyed = def.SunkEdge && def.SunkEdge->Trans != 0;
    const OpaqueSlot slots[] = {
        {"StatusBarEdges", "Image", image(def.StatusBarEdges), "status-bar panels are copied opaque"},
        {"Headerbar", "Image", image(def.Headerbar), "column headers are copied opaque"},
        {"MenuBackground", "Image", image(def.MenuBackground), "the menu background is copied opaque"},
        {"Progress", "Chunk", def.Progress ? &def.Progress->Image2 : &none, "progress chunks are copied opaque"},
        {"Buttons", "Bitmap", buttonsKeyed ? &none : &def.ButtonsElement.Image,
         "with Trans=0 push buttons are copied opaque; give Trans=1"},
        {"SunkEdge", "Image", sunkKeyed ? &none : image(def.SunkEdge),
         "with Trans=0 the combo box's ring is copied opaque; give Trans=1"},
    };
    for (const OpaqueSlot& slot : slots) {
      const auto it = files_.find(LowerCaseName(*slot.Image));
      if (slot.Image->empty() || it == files_.end() || !it->second.Alpha) continue;
      SayAt(LineOf(slot.Section, slot.Key), Level::Warning,
            it->second.Name + " carries alpha, which this slot draws as a 24-bit picture: " + slot.Why);
    }
  }

  const SkinView& skin_;
  IniText ini_;
  std::map<std::string, Picture> files_;  // by lower-case name
  Vocabulary words_;
  std::map<std::string, int> namedAt_;     // lower-case picture name -> line
  std::map<std::string, FrameGrid> grids_;  // lower-case picture name -> how it is cut
  std::vector<SkinFinding> findings_;
};

}  // namespace

std::vector<SkinFinding> CheckSkin(const SkinView& skin, SkinDefinition* read) { return Checker(skin).Run(read); }

std::vector<SkinFinding> CheckSkin(const SkinSource& skin) { return CheckSkin(ViewOf(skin)); }

SkinView ViewOf(const SkinSource& skin) {
  SkinView view;
  view.DefinitionName = skin.DefinitionName;
  view.Definition = skin.Definition;
  for (const auto& [name, bytes] : skin.Files) view.Files.emplace_back(name, bytes);
  return view;
}

std::optional<SkinSource> SkinSourceOf(std::vector<std::pair<std::string, std::vector<std::uint8_t>>> files,
                                       std::string& problem) {
  SkinSource skin;
  bool found = false;
  for (auto& [name, bytes] : files) {
    if (!LowerCaseName(name).ends_with(".ini")) {
      skin.Files.emplace_back(std::move(name), std::move(bytes));
      continue;
    }
    if (found) {
      problem = "more than one skin definition (.ini): " + skin.DefinitionName + ", " + name;
      return std::nullopt;
    }
    found = true;
    skin.DefinitionName = name;
    skin.Definition.assign(bytes.begin(), bytes.end());
  }
  if (!found) {
    problem = "no skin definition (a file ending in .ini)";
    return std::nullopt;
  }
  return skin;
}

SkinView SkinViewOf(const TSkinReader& archive, const std::string& definitionEntry, std::string_view definition,
                    SkinEntries entries) {
  SkinView skin;
  skin.DefinitionName = definitionEntry;
  skin.Definition = definition;
  std::set<std::string> seen{LowerCaseName(definitionEntry)};
  for (const std::string& name : archive.Names()) {
    if (entries == SkinEntries::WithoutDensityVariants && IsDensityVariantName(name)) continue;
    if (!seen.insert(LowerCaseName(name)).second) continue;
    skin.Files.emplace_back(name, archive.Entry(name));
  }
  return skin;
}

SkinSource SkinSourceOf(const TSkinReader& archive, const std::string& definitionEntry, std::string definition,
                        SkinEntries entries) {
  SkinSource skin;
  skin.DefinitionName = definitionEntry;
  for (const auto& [name, bytes] : SkinViewOf(archive, definitionEntry, definition, entries).Files)
    skin.Files.emplace_back(name, std::vector<std::uint8_t>(bytes.begin(), bytes.end()));
  skin.Definition = std::move(definition);
  return skin;
}

bool HasError(const std::vector<SkinFinding>& findings) {
  return std::any_of(findings.begin(), findings.end(),
                     [](const SkinFinding& f) { return f.Severity == SkinFinding::Level::Error; });
}

std::string ErrorSummary(const std::vector<SkinFinding>& findings, std::size_t shown) {
  std::string text;
  std::size_t errors = 0;
  for (const SkinFinding& f : findings) {
    if (f.Severity != SkinFinding::Level::Error) continue;
    if (errors++ < shown) text += (text.empty() ? "" : "\n") + FormatFinding(f);
  }
  if (errors > shown) text += "\n... and " + std::to_string(errors - shown) + " more errors";
  return text;
}

std::string FormatFinding(const SkinFinding& finding) {
  return finding.File + ":" + std::to_string(finding.Line) + ": " +
         (finding.Severity == SkinFinding::Level::Error ? "error: " : "warning: ") + finding.Text;
}

}  // namespace core
