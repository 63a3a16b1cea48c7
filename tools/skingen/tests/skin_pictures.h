// What the skin art tests share: a skin's definition read against a set of
// bitmap files, and how the definition says each picture is cut into frames.
#pragma once
#include <gtest/gtest.h>

#include <cctype>
#include <cmath>
#include <fstream>
#include <map>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "core/skindef/skin_definition.h"

namespace skin_pictures {

inline std::string ReadFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream text;
  text << in.rdbuf();
  return text.str();
}

inline std::string Lower(std::string s) {
  for (char& c : s) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return s;
}

inline std::string DefinitionPath(const std::string& skin) { return std::string(SKINS_SOURCE_DIR) + "/" + skin; }

// A definition read against bitmap files by entry name, noting which names
// it asks for and which it misses.
struct DefinedSkin {
  std::map<std::string, std::vector<std::uint8_t>> files;
  std::set<std::string> asked, missing;
  core::SkinDefinition def;

  DefinedSkin(std::map<std::string, std::vector<std::uint8_t>> bitmaps, const std::string& definition_text)
      : files(std::move(bitmaps)) {
    EXPECT_FALSE(definition_text.empty());
    def = core::ReadSkinDefinition(definition_text, [this](const std::string& name) -> std::optional<core::ImageSize> {
      asked.insert(Lower(name));
      auto it = files.find(Lower(name));
      if (it == files.end()) {
        missing.insert(name);
        return std::nullopt;
      }
      return core::ReadBitmapSize(it->second);
    });
  }

  core::ImageSize Size(const std::string& name) const { return *core::ReadBitmapSize(files.at(Lower(name))); }
};

// How a picture divides into equal frames: side by side, or stacked.
struct Framing {
  int frames = 1;
  bool stacked = false;
  friend bool operator==(const Framing&, const Framing&) = default;
};

// Every picture the definition names, by lower-case entry name, with the
// framing the skin engine cuts it by. A picture named twice with different
// framings is reported as a failure.
inline std::map<std::string, Framing> FramedPictures(const core::SkinDefinition& d) {
  std::map<std::string, Framing> out;
  auto add = [&](const std::string& name, int frames, bool stacked) {
    if (name.empty()) return;
    const Framing framing{frames, stacked};
    const auto [it, added] = out.emplace(Lower(name), framing);
    EXPECT_TRUE(added || it->second == framing) << name << " is cut into frames in two ways";
  };
  for (const auto* piece : {&d.BorderLeft, &d.BorderRight}) add(piece->Image, piece->FrameCount, false);
  for (const auto* piece : {&d.BorderTop, &d.BorderBottom}) add(piece->Image, piece->FrameCount, true);
  add(d.TitleElement.Image, d.TitleElement.FrameCount, true);
  add(d.ButtonsElement.Image, d.ButtonsElement.FrameCount, false);
  add(d.ButtonsElement.CheckImage, d.ButtonsElement.CheckFrameCount, false);
  add(d.ButtonsElement.RadioImage, d.ButtonsElement.RadioFrameCount, false);
  for (const core::SkinSysButtonDef& button : d.SysButtonElements) {
    // The maximised-child buttons each take four frames of one 12-frame strip.
    add(button.Image, button.ImageWidth > 0 ? 12 : button.FrameCount, false);
  }
  const std::optional<core::SkinObjectDef> elements[] = {
      d.GroupBoxEdge, d.GroupBox, d.Toolbars, d.StatusBarEdges, d.SunkEdge, d.ExtraImages, d.Headerbar,
      d.MenuItem, d.MenuBackground, d.Scrollbar, d.HorzScroll, d.VertScroll, d.HorzScrollThumb,
      d.VertScrollThumb, d.TrackbarThumbHorz, d.TrackbarThumbVert, d.TrackbarThumbLeft, d.TrackbarThumbRight,
      d.TrackbarThumbUp, d.TrackbarThumbDown};
  for (const auto& e : elements)
    if (e) add(e->Image, e->FrameCount, false);
  if (d.MenuBar) add(d.MenuBar->Image, d.MenuBar->FrameCount, true);
  // Second pictures: the progress chunk and the tab page border are single
  // pictures, the up-down glyphs have the frames of their buttons.
  for (const auto* e : {&d.Progress, &d.Tabs, &d.ComboButton, &d.UpDownHorz, &d.UpDownVert}) {
    if (!*e) continue;
    add((*e)->Image, (*e)->FrameCount, false);
    const bool glyphs = e == &d.UpDownHorz || e == &d.UpDownVert;
    add((*e)->Image2, glyphs ? (*e)->FrameCount : 1, false);
  }
  return out;
}

}  // namespace skin_pictures
