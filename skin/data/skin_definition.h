// A loaded skin: every element object, colour and brush built from one skin
// definition and the bitmaps its archive holds. The skin data component owns
// one TSkinContent and replaces it whole on every successful load, so a load
// that fails leaves the previous skin untouched.
#pragma once
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "core/archive/skin_reader.h"
#include "core/skindef/skin_definition.h"
#include "gui/handles.h"
#include "skin/data/skin_elements.h"

namespace skin {

class TSkinContent {
 public:
  TSkinContent();
  TSkinContent(const TSkinContent&) = delete;
  TSkinContent& operator=(const TSkinContent&) = delete;

  std::string SkinName;
  // The screen density the pictures and lengths were scaled for.
  int Dpi = 96;

  // Window frame pieces, caption text and push buttons: always present.
  TDataSkinBorder BorderLeft{"Left"};
  TDataSkinBorder BorderRight{"Right"};
  TDataSkinBorder BorderTop{"Top"};
  TDataSkinBorder BorderBottom{"Bottom"};
  TDataSkinTitle TitleElement{"Title"};
  TDataSkinButton ButtonsElement{"Buttons"};

  // Caption buttons in definition order, then the three buttons of a
  // maximised child window (Action 7, 8, 9).
  std::vector<std::unique_ptr<TDataSkinSysButton>> SysButtonElements;

  // The [Colours] section; system colours stay as 0xFF000000 + COLOR_ index.
  core::SkinColours Colours;
  // [ColourN] sections in file order.
  std::vector<core::SkinColour> ColourTable;
  // [Animation]: how long each kind of part takes to change its look.
  core::SkinAnimation Animation;

  // One slot per element section; empty when the section names no picture.
  std::unique_ptr<TDataSkinBorder> Progress;  // Image2: the chunk
  std::unique_ptr<TDataSkinObject> MenuBar;
  std::unique_ptr<TDataSkinObject> GroupBoxEdge;
  std::unique_ptr<TDataSkinBoxLabel> GroupBox;
  std::unique_ptr<TDataSkinObject> Toolbars;
  std::unique_ptr<TDataSkinBorder> Tabs;  // Image2: the tab page border
  std::unique_ptr<TDataSkinObject> StatusBarEdges;
  std::unique_ptr<TDataSkinBorder> ComboButton;  // Image2: Image mirrored left to right
  std::unique_ptr<TDataSkinObject> SunkEdge;
  std::unique_ptr<TDataSkinObject> ExtraImages;
  std::unique_ptr<TDataSkinObject> Headerbar;
  std::unique_ptr<TDataSkinObject> MenuItem;
  std::unique_ptr<TDataSkinObject> MenuBackground;
  std::unique_ptr<TDataSkinObject> Scrollbar;
  std::unique_ptr<TDataSkinObject> HorzScroll;
  std::unique_ptr<TDataSkinObject> VertScroll;
  std::unique_ptr<TDataSkinObject> HorzScrollThumb;
  std::unique_ptr<TDataSkinObject> VertScrollThumb;
  std::unique_ptr<TDataSkinObject> TrackbarThumbHorz;
  std::unique_ptr<TDataSkinObject> TrackbarThumbVert;
  std::unique_ptr<TDataSkinObject> TrackbarThumbLeft;
  std::unique_ptr<TDataSkinObject> TrackbarThumbRight;
  std::unique_ptr<TDataSkinObject> TrackbarThumbUp;
  std::unique_ptr<TDataSkinObject> TrackbarThumbDown;
  std::unique_ptr<TDataSkinBorder> UpDownHorz;  // Image2: the arrow glyphs
  std::unique_ptr<TDataSkinBorder> UpDownVert;

  // A solid brush of the ButtonFace colour, system colours resolved.
  gui::BrushHandle ButtonFaceBrush;
};

// Reads a skin definition (the text of the archive's definition entry) and
// every picture it names from the archive, each decoded when an element is
// first drawn with it (at 96 dpi). A picture entry whose header is not a
// valid bitmap's raises gui::Exception naming the entry; nothing is returned
// then and nothing is kept. At a dpi above 96 every picture is scaled frame
// by frame (from its nearest density variant when the archive has one) and
// every length of the definition with it; at 96 nothing changes.
std::unique_ptr<TSkinContent> ParseDefinition(std::string_view definition, const core::TSkinReader& archive,
                                              int dpi = 96);
// The same from a definition already read with each picture's size from its
// file header (the skin checker's reading).
std::unique_ptr<TSkinContent> ParseDefinition(const core::SkinDefinition& definition,
                                              const core::TSkinReader& archive, int dpi = 96);

// Fills bitmap from the archive entry an image value names: the file-name
// part after the last backslash or colon, which must end in ".bmp" exactly,
// looked up without regard to case. Any other name, or a missing or empty
// entry, leaves the bitmap empty; an entry that is not a valid bitmap raises
// gui::Exception.
void LoadElementImage(gui::TBitmap& bitmap, std::string_view path, const core::TSkinReader& archive);

}  // namespace skin
