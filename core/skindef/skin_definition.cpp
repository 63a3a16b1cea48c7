#include "core/skindef/skin_definition.h"

#include <algorithm>

#include "core/ini/ini_text.h"

namespace core {

namespace {

class DefinitionReader {
 public:
  DefinitionReader(const IniText& ini, const ImageSizeLookup& image_size) : ini_(ini), image_size_(image_size) {}

  SkinDefinition Read() {
    SkinDefinition def;
    const std::vector<std::string> sections = ini_.SectionNames();
    def.SkinName = ini_.ReadString("TitlebarSkin", "SkinName", "");
    ReadFrame(def.BorderLeft, "Left", true);
    ReadFrame(def.BorderRight, "Right", true);
    ReadFrame(def.BorderTop, "Top", false);
    ReadFrame(def.BorderBottom, "Bottom", false);
    ReadColours(def, sections);
    ReadSysButtons(def, sections);
    ReadButtons(def.ButtonsElement, def.Colours.ButtonText);
    ReadTitle(def.TitleElement);
    ReadElements(def);
    ReadAnimation(def.Animation);
    return def;
  }

 private:
  int Int(std::string_view section, std::string_view key, int fallback) const {
    return ini_.ReadInteger(section, key, fallback);
  }

  // An image name that exists in the archive, else empty.
  std::string Image(std::string_view section, std::string_view key, ImageSize* size = nullptr) const {
    std::string name = ElementImageName(ini_.ReadString(section, key, ""));
    if (name.empty()) return name;
    const std::optional<ImageSize> found = image_size_(name);
    if (!found) return {};
    if (size) *size = *found;
    return name;
  }

  void ReadFrame(SkinBorderDef& piece, const std::string& p, bool vertical) {
    piece = SkinBorderDef{};
    piece.ElementName = p;
    const int first = Int("Personality", p + "TopHeight", 0);
    const int last = Int("Personality", p + "BotHeight", 0);
    if (vertical) {
      piece.TopHeight = first;
      piece.BottomHeight = last;
    } else {
      piece.LeftWidth = first;
      piece.RightWidth = last;
    }
    piece.FrameCount = Int("Personality", p + "Frame", 1);
    piece.Tile = Int("Personality", p + "Stretch", 1);
    piece.Trans = Int("Personality", p + "Trans", 1);
    piece.Mirror = Int("Personality", p + "Mirror", 1);
    piece.Image = Image("Personality", p);
  }

  void ReadColours(SkinDefinition& def, const std::vector<std::string>& sections) const {
    SkinColours& c = def.Colours;
    auto colour = [&](const char* key, SkinColour fallback) {
      return ParseColour(ini_.ReadString("Colours", key, ""), fallback);
    };
    c.WindowText = colour("WindowText", system_colour::kWindowText);
    c.ButtonFace = colour("ButtonFace", system_colour::kButtonFace);
    c.Scrollbar = colour("Scrollbar", system_colour::kScrollbar);
    c.HilightText = colour("HilightText", system_colour::kHighlightText);
    c.Hilight = colour("Hilight", system_colour::kHighlight);
    c.Menubar = colour("Menubar", c.ButtonFace);
    c.Menu = colour("Menu", system_colour::kMenu);
    c.MenuText = colour("MenuText", system_colour::kMenuText);
    c.ButtonText = colour("ButtonText", system_colour::kButtonText);
    c.ButtonHilight = colour("ButtonHilight", system_colour::kButtonHighlight);
    c.Buttonlight = colour("Buttonlight", system_colour::kButtonHighlight);
    c.ButtonShadow = colour("ButtonShadow", system_colour::kButtonShadow);
    c.ButtonDkShadow = colour("ButtonDkShadow", system_colour::kDarkShadow3d);
    c.MenuBarText = colour("MenuBarText", system_colour::kMenuText);
    c.TitleTextActive = colour("TitleTextActive", system_colour::kCaptionText);
    c.TitleTextNoActive = colour("TitleTextNoActive", system_colour::kInactiveCaptionText);
    c.Window = colour("Window", system_colour::kWindow);
    c.GrayText = colour("GrayText", system_colour::kGrayText);
    c.InfoBk = colour("InfoBk", system_colour::kInfoBk);
    c.InfoText = colour("InfoText", system_colour::kInfoText);
    c.HotLight = colour("HotLight", system_colour::kHotLight);

    def.ColourTable.clear();
    for (const std::string& name : sections) {
      const std::string upper = UpperCaseName(name);
      if (upper.starts_with("COLOUR") && upper != "COLOURS") {
        def.ColourTable.push_back(ParseColour(ini_.ReadString(name, "color", ""), system_colour::kWindowText));
      }
    }
  }

  void ReadSysButtons(SkinDefinition& def, const std::vector<std::string>& sections) const {
    def.SysButtonElements.clear();
    for (const std::string& name : sections) {
      const std::string upper = UpperCaseName(name);
      if (!upper.starts_with("BUTTON") || upper == "BUTTONS" || upper == "BUTTON.RADIO" ||
          upper == "BUTTON.CHECKBOX" || upper == "BUTTON") {
        continue;
      }
      const int action = Int(name, "Action", 0);
      if (action == -1 && Int(name, "Visibility", -1) != 0) continue;

      SkinSysButtonDef button;
      button.ElementName = upper;
      button.Action = action;
      button.Align = Int(name, "Align", 0);
      button.XCoord = Int(name, "Xcoord", 0);
      button.YCoord = Int(name, "Ycoord", 0);
      button.Visibility = Int(name, "Visibility", 0);
      button.Visibility1 = Int(name, "Visibility1", action == -1 ? -1 : 0);
      button.CombineOp = Int(name, "CombineOp", -1);
      button.FrameCount = Int(name, "frame", 0);
      ImageSize size;
      button.Image = Image(name, "ButtonImage", &size);
      if (button.FrameCount == 0) {
        button.FrameCount = 6;
        if (!button.Image.empty() && size.height > 0 &&
            static_cast<double>(size.width) / static_cast<double>(size.height) <= 3.8) {
          button.FrameCount = 3;
        }
        if (button.Action < 0) button.FrameCount = 6;
        // The window-icon button shows the window's own icon unless the skin
        // states its frames.
        if (button.Action == 3 || button.Action == 11) button.Image.clear();
      }
      def.SysButtonElements.push_back(std::move(button));
    }

    const std::size_t first_child_button = def.SysButtonElements.size();
    for (int action = 7; action <= 9; ++action) {
      SkinSysButtonDef button;
      button.Action = action;
      button.Align = button.Visibility = button.Visibility1 = 100;
      button.FrameCount = 4;
      def.SysButtonElements.push_back(std::move(button));
    }

    ImageSize strip;
    const std::string controls = Image("MDICONTROLS", "Image", &strip);
    if (!controls.empty()) {
      const int w = strip.width / 12;
      for (int i = 0; i < 3; ++i) {
        SkinSysButtonDef& button = def.SysButtonElements[first_child_button + static_cast<std::size_t>(i)];
        button.XCoord = (w + 4) * (3 - i);
        // A strip narrower than twelve pixels has no frame to give: each
        // button's part is empty (a width of 0 would mean the whole strip).
        if (w == 0) continue;
        button.Image = controls;
        button.ImageLeft = 4 * w * i;
        button.ImageWidth = 4 * w;
      }
    }
  }

  void ReadButtons(SkinButtonDef& b, SkinColour button_text) const {
    b = SkinButtonDef{};
    b.ElementName = "Buttons";
    const char* s = "Buttons";
    b.LeftWidth = Int(s, "LeftWidth", 0);
    b.RightWidth = Int(s, "RightWidth", 0);
    b.TopHeight = Int(s, "TopHeight", 0);
    b.BottomHeight = Int(s, "BottomHeight", 0);
    b.Trans = Int(s, "Trans", 0);
    b.Image = Image(s, "Bitmap");
    b.Tile = Int(s, "Tile", 0);
    ImageSize check, radio;
    b.CheckImage = Image(s, "CheckButton", &check);
    b.RadioImage = Image(s, "RadioButton", &radio);
    b.NormalColour = Int(s, "NormalColour", -1);
    b.MouseOverColour = Int(s, "MouseOverColour", -1);
    b.PressedColour = Int(s, "PressedColour", -1);
    b.RadioFrameCount = Int(s, "RadioButtonFrame", 0);
    b.CheckFrameCount = Int(s, "CheckButtonFrame", 0);
    auto colour2 = [&](const char* key, bool& given) {
      const std::string text = ini_.ReadString(s, key, "");
      given = !text.empty();
      return ParseColour(text, button_text);
    };
    b.NormalColour2 = colour2("NormalColour2", b.HasNormalColour2);
    b.MouseOverColour2 = colour2("MouseOverColour2", b.HasMouseOverColour2);
    b.PressedColour2 = colour2("PressedColour2", b.HasPressedColour2);
    b.FrameCount = 5;
    if (b.RadioFrameCount == 0) b.RadioFrameCount = GlyphStripFrameCount(b.RadioImage.empty() ? ImageSize{} : radio);
    if (b.CheckFrameCount == 0) b.CheckFrameCount = GlyphStripFrameCount(b.CheckImage.empty() ? ImageSize{} : check);
  }

  void ReadTitle(SkinTitleDef& t) const {
    t = SkinTitleDef{};
    t.ElementName = "Title";
    const char* s = "Personality";
    t.Image = Image(s, "TextBack");
    t.LeftWidth = Int(s, "TextShift", 0);
    t.TopHeight = Int(s, "TextShiftVert", 0);
    t.RightWidth = Int(s, "TextRightClip", 0);
    t.TextAlignment = Int(s, "TextAlignment", 0);
    t.TextBackground = Int(s, "Textbackground", 0);
    t.FontHeight = Int("Fonts", "FontHeight", 14);
    t.TextBackLeft = Int(s, "TXTBackleft", 0);
    t.TextBackRight = Int(s, "TXTBackRight", 0);
    auto text_colour = [&](const char* prefix) {
      const std::string p = prefix;
      const int r = Int(s, p + "R", -1), g = Int(s, p + "G", -1), b = Int(s, p + "B", -1);
      return (r < 0 || g < 0 || b < 0) ? SkinTitleDef::kNotGiven : Rgb(r, g, b);
    };
    t.ActiveTextColour = text_colour("ActiveText");
    t.InactiveTextColour = text_colour("InActiveText");
    t.FrameCount = 2;
  }

  // The generic element rule; the section must name an existing image.
  template <typename T>
  std::optional<T> Generic(const char* section, bool with_style, SkinColour button_text, int frame_count) const {
    T e;
    e.ElementName = section;
    e.Image = Image(section, "Image");
    if (e.Image.empty()) return std::nullopt;
    if (with_style) e.Style = Int(section, "Style", 0);
    e.LeftWidth = Int(section, "LeftWidth", 0);
    e.RightWidth = Int(section, "RightWidth", 0);
    e.TopHeight = Int(section, "TopHeight", 0);
    e.BottomHeight = Int(section, "BottomHeight", 0);
    e.Trans = Int(section, "Trans", 0);
    e.Tile = Int(section, "Tile", 0);
    if (e.Tile > 1) e.Tile = 0;
    e.NormalColour = Int(section, "NormalColour", -1);
    e.MouseOverColour = Int(section, "MouseOverColour", -1);
    e.PressedColour = Int(section, "PressedColour", -1);
    e.NormalColour2 = ParseColour(ini_.ReadString(section, "NormalColour2", ""), button_text);
    e.MouseOverColour2 = ParseColour(ini_.ReadString(section, "MouseOverColour2", ""), button_text);
    e.PressedColour2 = ParseColour(ini_.ReadString(section, "PressedColour2", ""), button_text);
    e.FrameCount = frame_count;
    return e;
  }

  std::optional<SkinBorderDef> WithImage2(std::optional<SkinBorderDef> e, const char* key) const {
    if (e && key) e->Image2 = Image(e->ElementName, key);
    return e;
  }

  void ReadElements(SkinDefinition& def) const {
    const SkinColour text = def.Colours.ButtonText;

    def.Progress.reset();
    SkinBorderDef progress;
    progress.ElementName = "Progress";
    progress.Image = Image("Progress", "Bitmap");
    if (!progress.Image.empty()) {
      progress.Style = Int("Progress", "Style", 0);
      progress.LeftWidth = Int("Progress", "LeftWidth", 0);
      progress.RightWidth = Int("Progress", "RightWidth", 0);
      progress.TopHeight = Int("Progress", "TopHeight", 0);
      progress.BottomHeight = Int("Progress", "BottomHeight", 0);
      progress.Trans = Int("Progress", "Trans", 0);
      progress.Tile = Int("Progress", "Tile", 0);
      progress.Image2 = Image("Progress", "Chunk");
      progress.FrameCount = 2;
      def.Progress = progress;
    }

    def.MenuBar.reset();
    SkinObjectDef bar;
    bar.ElementName = "Personality";
    bar.Image = Image("Personality", "menuBar");
    if (!bar.Image.empty()) {
      bar.Tile = Int("Personality", "TileMenu", 0);
      bar.LeftWidth = Int("Personality", "TileLeftMenu", 1);
      bar.RightWidth = Int("Personality", "TileRightMenu", 1);
      bar.FrameCount = 2;
      def.MenuBar = bar;
    }

    def.GroupBoxEdge = Generic<SkinObjectDef>("GroupBoxEdge", true, text, 2);
    def.GroupBox = Generic<SkinBoxLabelDef>("GroupBox", true, text, 1);
    if (def.GroupBox) {
      def.GroupBox->BackgroundAlignment = Int("GroupBox", "BackgroundAlignment", 0);
      def.GroupBox->BackgroundLeftShift = Int("GroupBox", "BackgroundLeftShift", 0);
      def.GroupBox->BackgroundRightShift = Int("GroupBox", "BackgroundRightShift", 0);
    }
    def.Toolbars = Generic<SkinObjectDef>("Toolbars", true, text, 5);
    def.Tabs = WithImage2(Generic<SkinBorderDef>("Tabs", false, text, 5), "Border");
    def.StatusBarEdges = Generic<SkinObjectDef>("StatusBarEdges", true, text, 3);
    def.ComboButton = WithImage2(Generic<SkinBorderDef>("ComboButton", false, text, 4), nullptr);
    def.SunkEdge = Generic<SkinObjectDef>("SunkEdge", true, text, 4);
    def.ExtraImages = Generic<SkinObjectDef>("ExtraImages", true, text, 5);
    def.Headerbar = Generic<SkinObjectDef>("Headerbar", true, text, 5);
    def.MenuItem = Generic<SkinObjectDef>("MenuItem", true, text, 5);
    def.MenuBackground = Generic<SkinObjectDef>("MenuBackground", true, text, 1);
    def.Scrollbar = Generic<SkinObjectDef>("Scrollbar", true, text, 23);
    def.HorzScroll = Generic<SkinObjectDef>("HorzScroll", true, text, 4);
    def.VertScroll = Generic<SkinObjectDef>("VertScroll", true, text, 4);
    def.HorzScrollThumb = Generic<SkinObjectDef>("HorzScrollThumb", true, text, Int("HorzScrollThumb", "FrameCount", 3));
    def.VertScrollThumb = Generic<SkinObjectDef>("VertScrollThumb", true, text, Int("VertScrollThumb", "FrameCount", 3));
    def.TrackbarThumbHorz = Generic<SkinObjectDef>("Trackbar.ThumbHorz", true, text, 5);
    def.TrackbarThumbVert = Generic<SkinObjectDef>("Trackbar.ThumbVert", true, text, 5);
    def.TrackbarThumbLeft = Generic<SkinObjectDef>("Trackbar.ThumbLeft", true, text, 5);
    def.TrackbarThumbRight = Generic<SkinObjectDef>("Trackbar.ThumbRight", true, text, 5);
    def.TrackbarThumbUp = Generic<SkinObjectDef>("Trackbar.ThumbUp", true, text, 5);
    def.TrackbarThumbDown = Generic<SkinObjectDef>("Trackbar.ThumbDown", true, text, 5);
    def.UpDownHorz = WithImage2(Generic<SkinBorderDef>("UpDown.Horz", false, text, 8), "GlyphImage");
    def.UpDownVert = WithImage2(Generic<SkinBorderDef>("UpDown.Vert", false, text, 8), "GlyphImage");
  }

  void ReadAnimation(SkinAnimation& animation) const {
    for (int k = 0; k < kAnimatedKinds; ++k)
      for (int c = 0; c < kLookChanges; ++c) {
        const std::string key = std::string(AnimatedKindName(static_cast<AnimatedKind>(k))) + "." +
                                std::string(LookChangeName(static_cast<LookChange>(c)));
        animation.Milliseconds[static_cast<std::size_t>(k)][static_cast<std::size_t>(c)] =
            std::clamp(Int("Animation", key, 0), 0, SkinAnimation::kLongestMilliseconds);
      }
  }

  const IniText& ini_;
  const ImageSizeLookup& image_size_;
};

}  // namespace

std::string_view AnimatedKindName(AnimatedKind kind) {
  static constexpr std::string_view kNames[kAnimatedKinds] = {"PushButton", "CheckBox",  "RadioButton", "CaptionButton",
                                                              "Tab",        "ScrollBar", "MenuBarItem"};
  return kNames[static_cast<int>(kind)];
}

std::string_view LookChangeName(LookChange change) {
  static constexpr std::string_view kNames[kLookChanges] = {"HoverIn", "HoverOut", "Press", "Focus"};
  return kNames[static_cast<int>(change)];
}

bool SkinAnimation::Any() const {
  for (const auto& kind : Milliseconds)
    for (const std::int32_t ms : kind)
      if (ms > 0) return true;
  return false;
}

std::string ElementImageName(std::string_view path) {
  const std::size_t cut = path.find_last_of("\\:");
  const std::string_view name = cut == std::string_view::npos ? path : path.substr(cut + 1);
  if (!name.ends_with(".bmp")) return {};
  return std::string(name);
}

std::int32_t GlyphStripFrameCount(ImageSize strip) {
  const std::int32_t count = strip.width / (strip.height < 16 ? 13 : 16);
  return std::max(count, 4);
}

SkinDefinition ReadSkinDefinition(std::string_view text, const ImageSizeLookup& image_size) {
  return ReadSkinDefinition(IniText(text), image_size);
}

SkinDefinition ReadSkinDefinition(const IniText& ini, const ImageSizeLookup& image_size) {
  return DefinitionReader(ini, image_size).Read();
}

}  // namespace core
