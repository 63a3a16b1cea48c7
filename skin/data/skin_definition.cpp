#include "skin/data/skin_definition.h"

#include <algorithm>
#include <cstring>
#include <map>
#include <memory>
#include <optional>

#include "core/skindef/bitmap_header.h"
#include "core/skindef/picture_scale.h"
#include "gui/classes.h"
#include "gui/graphics.h"
#include "gui/text.h"

namespace skin {

namespace {

[[noreturn]] void ThrowNotABitmap(const std::string& entry) {
  throw gui::Exception(L"Skin image \"" + gui::AnsiToWide(entry) + L"\" is not a valid bitmap");
}

// Decodes an archive entry; raises for bytes the system cannot draw.
void LoadEntryBitmap(gui::TBitmap& bitmap, const std::string& entry, std::span<const std::uint8_t> bytes) {
  if (!bitmap.LoadFromBmpBytes(bytes)) ThrowNotABitmap(entry);
}

core::Pixels PixelsOf(const gui::TBitmap& bitmap) {
  GdiFlush();
  core::Pixels p{bitmap.Width(), bitmap.Height(), {}, bitmap.PremultipliedAlpha};
  p.data.assign(bitmap.Bits(), bitmap.Bits() + static_cast<std::size_t>(p.width) * static_cast<std::size_t>(p.height));
  return p;
}

void Assign(gui::TBitmap& bitmap, const core::Pixels& p) {
  bitmap.SetSize(p.width, p.height);
  if (bitmap.Empty()) return;
  GdiFlush();
  std::memcpy(bitmap.Bits(), p.data.data(), p.data.size() * sizeof(std::uint32_t));
  bitmap.PremultipliedAlpha = p.alpha;
}

// Copies the columns [left, left + width) of source; width 0 and left 0: all.
void CopyColumns(gui::TBitmap& target, const gui::TBitmap& source, int left, int width) {
  if (width == 0 && left == 0) {
    target.CopyFrom(source);
    return;
  }
  if (left < 0 || width <= 0 || left >= source.Width()) return;
  if (width > source.Width() - left) width = source.Width() - left;
  target.SetSize(width, source.Height());
  if (target.Empty()) return;
  target.PremultipliedAlpha = source.PremultipliedAlpha;
  GdiFlush();
  for (int y = 0; y < source.Height(); ++y) {
    std::memcpy(target.Bits() + static_cast<std::size_t>(y) * static_cast<std::size_t>(width),
                source.Bits() + static_cast<std::size_t>(y) * static_cast<std::size_t>(source.Width()) +
                    static_cast<std::size_t>(left),
                static_cast<std::size_t>(width) * 4);
  }
}

// Every picture the definition names, read from the archive once. The
// definition reader asks for each picture's size (which decides derived
// frame counts); the answer is its file header's, checked as the system's
// reader checks it, so a broken header ends the parse right there. At 96
// dpi an element's picture is decoded when first drawn, from the file's
// bytes the element keeps; above it the elements take their pictures scaled
// frame by frame, each from the density variant nearest the screen's, made
// here.
class ImageCache {
 public:
  ImageCache(const core::TSkinReader& archive, int dpi) : archive_(archive), dpi_(dpi) {}

  struct File {
    std::shared_ptr<const std::vector<std::uint8_t>> bytes;  // null: no picture
    int width = 0;
    int height = 0;
  };

  const File& Read(const std::string& entry) {
    const std::string key = core::LowerCaseName(entry);
    auto found = files_.find(key);
    if (found != files_.end()) return found->second;
    File file;
    const std::string name = core::ElementImageName(entry);
    if (!name.empty()) {
      const std::span<const std::uint8_t> bytes = archive_.Entry(name);
      if (!bytes.empty()) {
        const auto layout = core::ParseBitmapFile(bytes);
        if (!layout) ThrowNotABitmap(name);
        file.bytes = std::make_shared<const std::vector<std::uint8_t>>(bytes.begin(), bytes.end());
        file.width = layout->width;
        file.height = layout->height;
      }
    }
    return files_.emplace(key, std::move(file)).first->second;
  }

  std::optional<core::ImageSize> Size(const std::string& entry) {
    const File& file = Read(entry);
    if (!file.bytes) return std::nullopt;
    return core::ImageSize{file.width, file.height};
  }

  // The named picture at the screen's density, cut into frames by grid; or
  // the columns of it starting at left and width pixels wide (both given in
  // 1x pixels, whole frames; width 0: all of it). Empty when there is none.
  void CopyTo(TElementPicture& target, const std::string& entry, core::FrameGrid grid = {}, int left = 0,
              int width = 0) {
    target.SetDeferred(0, 0, {});
    if (entry.empty()) return;
    const File& file = Read(entry);
    if (!file.bytes) return;
    if (dpi_ == core::kDesignDpi) {
      const bool whole = width == 0 && left == 0;
      if (!whole) {
        if (left < 0 || width <= 0 || left >= file.width) return;
        width = std::min(width, file.width - left);
      }
      target.SetDeferred(whole ? file.width : width, file.height,
                         [bytes = file.bytes, name = core::ElementImageName(entry), whole, left,
                          width](gui::TBitmap& bitmap) {
                           if (whole) {
                             LoadEntryBitmap(bitmap, name, *bytes);
                             return;
                           }
                           gui::TBitmap picture;
                           LoadEntryBitmap(picture, name, *bytes);
                           CopyColumns(bitmap, picture, left, width);
                         });
      return;
    }
    const gui::TBitmap* source = Find(entry);
    if (!source) return;
    if (!core::ScaledPictureSize(source->Width(), source->Height(), grid, dpi_)) grid = {};
    const gui::TBitmap& scaled = Scaled(entry, *source, grid);
    const int frame = source->Width() / grid.columns, scaledFrame = scaled.Width() / grid.columns;
    if (width != 0 && frame > 0) {
      left = left / frame * scaledFrame;
      width = width / frame * scaledFrame;
    }
    gui::TBitmap made;
    made.SetSharesDc(true);
    CopyColumns(made, scaled, left, width);
    target = std::move(made);
  }

 private:
  // The decoded 1x picture, for scaling.
  const gui::TBitmap* Find(const std::string& entry) {
    const std::string key = core::LowerCaseName(entry);
    auto found = images_.find(key);
    if (found == images_.end()) {
      gui::TBitmap bitmap;
      LoadElementImage(bitmap, entry, archive_);
      found = images_.emplace(key, std::move(bitmap)).first;
    }
    return found->second.Empty() ? nullptr : &found->second;
  }

  const gui::TBitmap& Scaled(const std::string& entry, const gui::TBitmap& design, core::FrameGrid grid) {
    const std::string key =
        core::LowerCaseName(entry) + "#" + std::to_string(grid.columns) + "x" + std::to_string(grid.rows);
    auto found = scaled_.find(key);
    if (found != scaled_.end()) return found->second;
    const auto size = core::ScaledPictureSize(design.Width(), design.Height(), grid, dpi_);

    // The variants drawn for this grid: a variant of another size is ignored.
    std::map<int, gui::TBitmap> variants;
    std::vector<int> available;
    for (const core::DensityVariant& v : core::kDensityVariants) {
      const std::string name = core::VariantEntryName(core::ElementImageName(entry), v.suffix);
      if (name.empty()) continue;
      gui::TBitmap variant;
      LoadElementImage(variant, name, archive_);
      const auto expected = core::ScaledPictureSize(design.Width(), design.Height(), grid, v.dpi);
      if (variant.Empty() || !expected || variant.Width() != expected->first || variant.Height() != expected->second)
        continue;
      available.push_back(v.dpi);
      variants.emplace(v.dpi, std::move(variant));
    }
    const int sourceDpi = core::ChooseSourceDpi(dpi_, available);
    const gui::TBitmap& source = sourceDpi == core::kDesignDpi ? design : variants.at(sourceDpi);
    gui::TBitmap result;
    if (const auto pixels = core::ScaleFrames(PixelsOf(source), grid, size->first, size->second))
      Assign(result, *pixels);
    return scaled_.emplace(key, std::move(result)).first->second;
  }

  const core::TSkinReader& archive_;
  const int dpi_;
  std::map<std::string, File> files_;
  std::map<std::string, gui::TBitmap> images_;
  std::map<std::string, gui::TBitmap> scaled_;
};

void Mirror(gui::TBitmap& target, const gui::TBitmap& source) {
  target.SetSharesDc(true);
  target.SetSize(source.Width(), source.Height());
  if (target.Empty()) return;
  target.PremultipliedAlpha = source.PremultipliedAlpha;
  GdiFlush();
  const auto width = static_cast<std::size_t>(source.Width());
  for (std::size_t y = 0; y < static_cast<std::size_t>(source.Height()); ++y) {
    const std::uint32_t* from = source.Bits() + y * width;
    std::uint32_t* to = target.Bits() + y * width;
    for (std::size_t x = 0; x < width; ++x) to[x] = from[width - 1 - x];
  }
}

class ContentBuilder {
 public:
  ContentBuilder(TSkinContent& content, ImageCache& images, int dpi) : content_(content), images_(images), dpi_(dpi) {}

  void Build(const core::SkinDefinition& def) {
    content_.SkinName = def.SkinName;
    content_.Dpi = dpi_;
    Fill(content_.BorderLeft, def.BorderLeft);
    Fill(content_.BorderRight, def.BorderRight);
    Fill(content_.BorderTop, def.BorderTop, true);
    Fill(content_.BorderBottom, def.BorderBottom, true);
    content_.Colours = def.Colours;
    content_.ColourTable = def.ColourTable;
    content_.Animation = def.Animation;
    for (const core::SkinSysButtonDef& d : def.SysButtonElements) {
      content_.SysButtonElements.push_back(SysButton(d));
    }
    FillButtons(content_.ButtonsElement, def.ButtonsElement);
    FillTitle(content_.TitleElement, def.TitleElement);

    content_.Progress = Make<TDataSkinBorder>(def.Progress);
    content_.MenuBar = Make<TDataSkinObject>(def.MenuBar);
    content_.GroupBoxEdge = Make<TDataSkinObject>(def.GroupBoxEdge);
    content_.GroupBox = Make<TDataSkinBoxLabel>(def.GroupBox);
    content_.Toolbars = Make<TDataSkinObject>(def.Toolbars);
    content_.Tabs = Make<TDataSkinBorder>(def.Tabs);
    content_.StatusBarEdges = Make<TDataSkinObject>(def.StatusBarEdges);
    content_.ComboButton = Make<TDataSkinBorder>(def.ComboButton);
    if (content_.ComboButton) {
      const TElementPicture& image = content_.ComboButton->Image;
      content_.ComboButton->Image2.SetDeferred(image.Width(), image.Height(),
                                               [&image](gui::TBitmap& bitmap) { Mirror(bitmap, image.Bitmap()); });
    }
    content_.SunkEdge = Make<TDataSkinObject>(def.SunkEdge);
    content_.ExtraImages = Make<TDataSkinObject>(def.ExtraImages);
    content_.Headerbar = Make<TDataSkinObject>(def.Headerbar);
    content_.MenuItem = Make<TDataSkinObject>(def.MenuItem);
    content_.MenuBackground = Make<TDataSkinObject>(def.MenuBackground);
    content_.Scrollbar = Make<TDataSkinObject>(def.Scrollbar);
    content_.HorzScroll = Make<TDataSkinObject>(def.HorzScroll);
    content_.VertScroll = Make<TDataSkinObject>(def.VertScroll);
    content_.HorzScrollThumb = Make<TDataSkinObject>(def.HorzScrollThumb);
    content_.VertScrollThumb = Make<TDataSkinObject>(def.VertScrollThumb);
    content_.TrackbarThumbHorz = Make<TDataSkinObject>(def.TrackbarThumbHorz);
    content_.TrackbarThumbVert = Make<TDataSkinObject>(def.TrackbarThumbVert);
    content_.TrackbarThumbLeft = Make<TDataSkinObject>(def.TrackbarThumbLeft);
    content_.TrackbarThumbRight = Make<TDataSkinObject>(def.TrackbarThumbRight);
    content_.TrackbarThumbUp = Make<TDataSkinObject>(def.TrackbarThumbUp);
    content_.TrackbarThumbDown = Make<TDataSkinObject>(def.TrackbarThumbDown);
    content_.UpDownHorz = Make<TDataSkinBorder>(def.UpDownHorz);
    content_.UpDownVert = Make<TDataSkinBorder>(def.UpDownVert);

    content_.ButtonFaceBrush.reset(CreateSolidBrush(gui::ColorToRGB(content_.Colours.ButtonFace)));
  }

 private:
  // A length of the definition's at the screen's density.
  std::int32_t Px(std::int32_t pixels) const { return core::ScaleLength(pixels, dpi_); }
  static core::FrameGrid Columns(std::int32_t frames) { return core::FrameGrid{frames > 0 ? frames : 1, 1}; }

  void FillBase(TDataSkinObject& e, const core::SkinObjectDef& d, bool stacked = false) {
    static_cast<core::SkinObjectValues&>(e) = d;
    for (std::int32_t* length : {&e.LeftWidth, &e.TopHeight, &e.RightWidth, &e.BottomHeight}) *length = Px(*length);
    // The top and bottom frame pieces hold their frames one above the other.
    const core::FrameGrid grid = stacked ? core::FrameGrid{1, Columns(d.FrameCount).columns} : Columns(d.FrameCount);
    images_.CopyTo(e.Image, d.Image, grid);
    KeepMarginsInFrame(e, stacked);
  }

  // Every user of an element's margins reads them inside one frame: kept
  // there (the caption's, which are text shifts, are left as they are).
  static void KeepMarginsInFrame(TDataSkinObject& e, bool stacked) {
    if (dynamic_cast<TDataSkinTitle*>(&e)) return;
    const int frames = std::max(e.FrameCount, 1);
    const int width = stacked ? e.Image.Width() : e.Image.Width() / frames;
    const int height = stacked ? e.Image.Height() / frames : e.Image.Height();
    for (std::int32_t* side : {&e.LeftWidth, &e.RightWidth}) *side = std::clamp(*side, 0, std::max(width, 0));
    for (std::int32_t* side : {&e.TopHeight, &e.BottomHeight}) *side = std::clamp(*side, 0, std::max(height, 0));
  }

  void Fill(TDataSkinObject& e, const core::SkinObjectDef& d) { FillBase(e, d); }
  void Fill(TDataSkinBorder& e, const core::SkinBorderDef& d, bool stacked = false) {
    FillBase(e, d, stacked);
    e.Mirror = d.Mirror;
    // The up-down glyphs are cut like the up-down's own frames; the progress
    // chunk and the tab page border are one picture each.
    const bool glyphStrip = &e == content_.UpDownHorz.get() || &e == content_.UpDownVert.get();
    images_.CopyTo(e.Image2, d.Image2, glyphStrip ? Columns(d.FrameCount) : core::FrameGrid{});
  }
  void Fill(TDataSkinBoxLabel& e, const core::SkinBoxLabelDef& d) {
    FillBase(e, d);
    static_cast<core::SkinBoxLabelValues&>(e) = d;
    for (std::int32_t* length : {&e.BackgroundLeftShift, &e.BackgroundRightShift}) *length = Px(*length);
  }

  void FillButtons(TDataSkinButton& e, const core::SkinButtonDef& d) {
    FillBase(e, d);
    images_.CopyTo(e.CheckImage, d.CheckImage, Columns(d.CheckFrameCount));
    images_.CopyTo(e.RadioImage, d.RadioImage, Columns(d.RadioFrameCount));
    static_cast<core::SkinButtonValues&>(e) = d;
  }

  void FillTitle(TDataSkinTitle& e, const core::SkinTitleDef& d) {
    FillBase(e, d);
    static_cast<core::SkinTitleValues&>(e) = d;
    for (std::int32_t* length : {&e.FontHeight, &e.TextBackLeft, &e.TextBackRight}) *length = Px(*length);
  }

  std::unique_ptr<TDataSkinSysButton> SysButton(const core::SkinSysButtonDef& d) {
    auto e = std::make_unique<TDataSkinSysButton>(d.ElementName);
    FillBase(*e, d);
    // The maximised-child buttons take their part of the [MDICONTROLS] strip,
    // whose frames are all as wide as theirs.
    if (d.ImageWidth > 0) {
      const std::int32_t frame = d.ImageWidth / (d.FrameCount > 0 ? d.FrameCount : 1);
      const auto strip = images_.Size(d.Image);
      const core::FrameGrid grid = strip && frame > 0 ? Columns(strip->width / frame) : core::FrameGrid{};
      images_.CopyTo(e->Image, d.Image, grid, d.ImageLeft, d.ImageWidth);
    }
    static_cast<core::SkinSysButtonValues&>(*e) = d;
    for (std::int32_t* length : {&e->XCoord, &e->YCoord}) *length = Px(*length);
    return e;
  }

  template <typename Element, typename Def>
  std::unique_ptr<Element> Make(const std::optional<Def>& d) {
    if (!d) return nullptr;
    auto e = std::make_unique<Element>(d->ElementName);
    Fill(*e, *d);
    return e;
  }

  TSkinContent& content_;
  ImageCache& images_;
  const int dpi_;
};

}  // namespace

TSkinContent::TSkinContent() {
  for (TDataSkinBorder* piece : {&BorderLeft, &BorderRight, &BorderTop, &BorderBottom}) piece->TileKeyIsStretch = true;
}

std::unique_ptr<TSkinContent> ParseDefinition(std::string_view definition, const core::TSkinReader& archive,
                                              int dpi) {
  if (dpi <= 0) dpi = core::kDesignDpi;
  ImageCache images(archive, dpi);
  const core::SkinDefinition def =
      core::ReadSkinDefinition(definition, [&](const std::string& entry) { return images.Size(entry); });
  auto content = std::make_unique<TSkinContent>();
  ContentBuilder(*content, images, dpi).Build(def);
  return content;
}

std::unique_ptr<TSkinContent> ParseDefinition(const core::SkinDefinition& definition,
                                              const core::TSkinReader& archive, int dpi) {
  if (dpi <= 0) dpi = core::kDesignDpi;
  ImageCache images(archive, dpi);
  auto content = std::make_unique<TSkinContent>();
  ContentBuilder(*content, images, dpi).Build(definition);
  return content;
}

void LoadElementImage(gui::TBitmap& bitmap, std::string_view path, const core::TSkinReader& archive) {
  bitmap.SetSize(0, 0);
  const std::string entry = core::ElementImageName(path);
  if (entry.empty()) return;
  core::ByteStream stream;
  archive.ExtractFile(entry, stream);
  if (stream.Size() > 0) LoadEntryBitmap(bitmap, entry, stream.Bytes());
}

}  // namespace skin
