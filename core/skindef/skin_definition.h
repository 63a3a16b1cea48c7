// The skin definition read down to image names: every section and key the
// skin engine uses, in plain structs whose field names are the element
// objects' own. The Windows side only turns each image name into a bitmap
// (and cuts the parts this model names); everything else, including the
// frame-count rules that depend on image sizes, is settled here.
#pragma once
#include <array>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/skindef/bitmap_size.h"
#include "core/skindef/skin_colour.h"

namespace core {

class IniText;

// Each kind of section in two parts: its values (the numbers and colours,
// which the element objects of the Windows side hold as they are, so a key
// is declared once) and what names a picture.
struct SkinObjectValues {
  std::int32_t LeftWidth = 0, TopHeight = 0, RightWidth = 0, BottomHeight = 0;
  std::int32_t Trans = 0;
  std::int32_t Tile = 0;
  std::int32_t FrameCount = 0;
  std::int32_t Style = 0;
  std::int32_t NormalColour = 0, MouseOverColour = 0, PressedColour = 0;
  SkinColour NormalColour2 = 0, MouseOverColour2 = 0, PressedColour2 = 0;
};

struct SkinObjectDef : SkinObjectValues {
  std::string ElementName;
  std::string Image;  // archive entry name; empty: no image
};

struct SkinBorderDef : SkinObjectDef {
  // The second image. For "ComboButton" it stays empty here: the bitmap layer
  // makes it a left-right mirrored copy of Image.
  std::string Image2;
  // A window-frame piece's Mirror key: 0 shows the piece in a mirrored
  // (right-to-left) window as it is; any other value reflects it with the
  // frame, as the system reflects pictures there.
  std::int32_t Mirror = 1;
};

struct SkinTitleValues {
  static constexpr SkinColour kNotGiven = 0x1FFFFFFF;
  std::int32_t TextAlignment = 0, TextBackground = 0, FontHeight = 0, TextBackLeft = 0, TextBackRight = 0;
  SkinColour ActiveTextColour = kNotGiven, InactiveTextColour = kNotGiven;
};

struct SkinTitleDef : SkinObjectDef, SkinTitleValues {};

struct SkinButtonValues {
  std::int32_t RadioFrameCount = 0, CheckFrameCount = 0;
  bool HasNormalColour2 = false, HasMouseOverColour2 = false, HasPressedColour2 = false;
};

struct SkinButtonDef : SkinObjectDef, SkinButtonValues {
  std::string CheckImage, RadioImage;
};

struct SkinSysButtonValues {
  std::int32_t Action = 0, Align = 0, XCoord = 0, YCoord = 0, CombineOp = 0, Visibility = 0, Visibility1 = 0;
};

struct SkinSysButtonDef : SkinObjectDef, SkinSysButtonValues {
  // The part of Image this button uses; ImageWidth 0 means the whole image.
  // The maximised-child buttons take their parts of the [MDICONTROLS] strip.
  std::int32_t ImageLeft = 0, ImageWidth = 0;
};

struct SkinBoxLabelValues {
  std::int32_t BackgroundLeftShift = 0, BackgroundRightShift = 0, BackgroundAlignment = 0;
};

struct SkinBoxLabelDef : SkinObjectDef, SkinBoxLabelValues {};

struct SkinColours {
  SkinColour WindowText = system_colour::kWindowText;
  SkinColour ButtonFace = system_colour::kButtonFace;
  SkinColour Scrollbar = system_colour::kScrollbar;
  SkinColour HilightText = system_colour::kHighlightText;
  SkinColour Hilight = system_colour::kHighlight;
  SkinColour Menubar = system_colour::kButtonFace;
  SkinColour Menu = system_colour::kMenu;
  SkinColour MenuText = system_colour::kMenuText;
  SkinColour ButtonText = system_colour::kButtonText;
  SkinColour ButtonHilight = system_colour::kButtonHighlight;
  SkinColour Buttonlight = system_colour::kButtonHighlight;
  SkinColour ButtonShadow = system_colour::kButtonShadow;
  SkinColour ButtonDkShadow = system_colour::kDarkShadow3d;
  SkinColour MenuBarText = system_colour::kMenuText;
  SkinColour TitleTextActive = system_colour::kCaptionText;
  SkinColour TitleTextNoActive = system_colour::kInactiveCaptionText;
  // What client areas are drawn in: edit, list and view backgrounds, disabled
  // text, tooltips, links and hot items.
  SkinColour Window = system_colour::kWindow;
  SkinColour GrayText = system_colour::kGrayText;
  SkinColour InfoBk = system_colour::kInfoBk;
  SkinColour InfoText = system_colour::kInfoText;
  SkinColour HotLight = system_colour::kHotLight;
};

// [Animation]: how long a kind of part takes to change from one look to
// another, written "<Kind>.<Change>=<milliseconds>" ("PushButton.HoverIn=120").
// Absent or 0: the look changes at once. Values are kept within 0 and
// kLongestMilliseconds.
enum class AnimatedKind { PushButton, CheckBox, RadioButton, CaptionButton, Tab, ScrollBar, MenuBarItem };
enum class LookChange { HoverIn, HoverOut, Press, Focus };
inline constexpr int kAnimatedKinds = 7;
inline constexpr int kLookChanges = 4;
std::string_view AnimatedKindName(AnimatedKind kind);
std::string_view LookChangeName(LookChange change);

struct SkinAnimation {
  static constexpr std::int32_t kLongestMilliseconds = 2000;
  std::array<std::array<std::int32_t, kLookChanges>, kAnimatedKinds> Milliseconds{};

  std::int32_t Duration(AnimatedKind kind, LookChange change) const {
    return Milliseconds[static_cast<std::size_t>(kind)][static_cast<std::size_t>(change)];
  }
  // Whether any change of any kind takes time.
  bool Any() const;
};

struct SkinDefinition {
  std::string SkinName;
  SkinBorderDef BorderLeft, BorderRight, BorderTop, BorderBottom;
  SkinTitleDef TitleElement;
  SkinButtonDef ButtonsElement;
  std::vector<SkinSysButtonDef> SysButtonElements;  // caption buttons, then the three maximised-child buttons
  SkinColours Colours;
  std::vector<SkinColour> ColourTable;
  SkinAnimation Animation;

  // Element sections in the order they are read; empty when the section
  // names no image that exists.
  std::optional<SkinBorderDef> Progress;
  std::optional<SkinObjectDef> MenuBar;
  std::optional<SkinObjectDef> GroupBoxEdge;
  std::optional<SkinBoxLabelDef> GroupBox;
  std::optional<SkinObjectDef> Toolbars;
  std::optional<SkinBorderDef> Tabs;
  std::optional<SkinObjectDef> StatusBarEdges;
  std::optional<SkinBorderDef> ComboButton;
  std::optional<SkinObjectDef> SunkEdge, ExtraImages, Headerbar, MenuItem, MenuBackground;
  std::optional<SkinObjectDef> Scrollbar, HorzScroll, VertScroll, HorzScrollThumb, VertScrollThumb;
  std::optional<SkinObjectDef> TrackbarThumbHorz, TrackbarThumbVert, TrackbarThumbLeft, TrackbarThumbRight,
      TrackbarThumbUp, TrackbarThumbDown;
  std::optional<SkinBorderDef> UpDownHorz, UpDownVert;
};

// The archive entry an image value names: the text after the last backslash
// or colon, which must end in ".bmp" exactly; anything else names no image.
std::string ElementImageName(std::string_view path);

// Size of the archive entry of that name, or nothing when the entry is
// missing or empty (the image is then empty).
using ImageSizeLookup = std::function<std::optional<ImageSize>(const std::string& entry_name)>;

// Reads the definition text. Every image name goes through the lookup once
// per use; sizes decide the derived frame counts.
SkinDefinition ReadSkinDefinition(std::string_view text, const ImageSizeLookup& image_size);
// The same from a text already split (which a tool may watch being read).
SkinDefinition ReadSkinDefinition(const IniText& ini, const ImageSizeLookup& image_size);

// Frame count of a check or radio strip that states none: width ÷ 13 when
// the strip is less than 16 pixels high, else width ÷ 16, at least 4.
std::int32_t GlyphStripFrameCount(ImageSize strip);

}  // namespace core
