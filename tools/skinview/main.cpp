// skinview ARCHIVE: draws every element of a skin archive, every state
// frame, at its own size and at a few target sizes (nine-slice stretched and
// tiled, three-slice), on a checkerboard so that transparent pixels show,
// and writes the sheet as NAME_sheet.bmp in the current folder.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <functional>
#include <iterator>
#include <memory>
#include <string>
#include <vector>

#include "core/archive/skin_reader.h"
#include "gui/bitmap.h"
#include "gui/classes.h"
#include "gui/graphics.h"
#include "gui/text.h"
#include "skin/data/skin_definition.h"
#include "skin/data/skin_draw.h"
#include "skin/data/skin_text.h"

namespace {

constexpr int kPad = 8;
constexpr int kLabelHeight = 16;
constexpr int kMaxCell = 360;

// One drawing on the sheet: its size and how to draw it at a point.
struct TCell {
  int Width = 0, Height = 0;
  std::function<void(HDC, int, int)> Draw;
};

struct TRow {
  std::wstring Label;
  std::vector<TCell> Cells;
};

// One picture of an element with the numbers that cut it.
struct TPicture {
  std::string Name;
  gui::TBitmap* Bitmap;
  int FrameCount;
  RECT Margins;
  bool Trans;
  bool Tile;
  bool Stacked;  // frames one above the other instead of side by side
};

std::wstring Describe(const TPicture& p) {
  const int frames = std::max(p.FrameCount, 1);
  wchar_t text[256];
  std::swprintf(text, 256, L"%hs  %dx%d, %d %ls frame%ls, margins L%d T%d R%d B%d%ls%ls", p.Name.c_str(),
                p.Bitmap->Width(), p.Bitmap->Height(), frames, p.Stacked ? L"stacked" : L"side-by-side",
                frames == 1 ? L"" : L"s", static_cast<int>(p.Margins.left),
                static_cast<int>(p.Margins.top), static_cast<int>(p.Margins.right), static_cast<int>(p.Margins.bottom),
                p.Trans ? L", transparent" : L"", p.Tile ? L", tiled" : L"");
  return text;
}

int Clamp(int v) { return std::clamp(v, 1, kMaxCell); }

// Per frame: the frame itself, nine-slice at half, double and wide sizes
// (stretched and tiled), and three-slice stretched out.
void AddPictureRows(std::vector<TRow>& rows, const TPicture& p) {
  if (p.Bitmap->Empty()) return;
  const int frames = std::max(p.FrameCount, 1);
  const bool stacked = p.Stacked;
  const int fw = stacked ? p.Bitmap->Width() : p.Bitmap->Width() / frames;
  const int fh = stacked ? p.Bitmap->Height() / frames : p.Bitmap->Height();
  if (fw <= 0 || fh <= 0) return;
  for (int k = 1; k <= frames; ++k) {
    TRow row;
    row.Label = Describe(p) + L"  - frame " + std::to_wstring(k);
    gui::TBitmap* bitmap = p.Bitmap;
    const RECT m = p.Margins;
    const bool trans = p.Trans;
    row.Cells.push_back({fw, fh, [=](HDC dc, int x, int y) {
                           skin::DrawNineSlice(dc, RECT{x, y, x + fw, y + fh}, *bitmap, stacked, false, trans, frames,
                                               k, RECT{});
                         }});
    const std::pair<int, int> sizes[] = {{Clamp(fw / 2), Clamp(fh / 2)},
                                         {Clamp(fw * 2), Clamp(fh * 2)},
                                         {Clamp(fw * 3 + 40), Clamp(fh + 10)}};
    for (bool tile : {false, true}) {
      for (auto [w, h] : sizes) {
        row.Cells.push_back({w, h, [=](HDC dc, int x, int y) {
                               skin::DrawNineSlice(dc, RECT{x, y, x + w, y + h}, *bitmap, stacked, tile, trans, frames,
                                                   k, m);
                             }});
      }
    }
    const int threeWide = Clamp(fw * 3 + 40);
    row.Cells.push_back({threeWide, fh, [=](HDC dc, int x, int y) {
                           gui::TCanvas canvas(dc);
                           skin::DrawThreeSlice(canvas, RECT{x, y, x + threeWide, y + fh}, *bitmap, stacked,
                                                trans, frames, k, m);
                         }});
    rows.push_back(std::move(row));
  }
}

TPicture Picture(std::string name, skin::TDataSkinObject& e, gui::TBitmap& bitmap, int frameCount,
                 bool stacked = false) {
  return TPicture{std::move(name), &bitmap, frameCount, e.Margins(), e.Transparent(), e.TilesCentre(), stacked};
}

// The top and bottom frame pieces, the caption text background and the menu
// bar stack their active and inactive looks; everything else lies side by side.
// The second picture has the element's frames, except the progress chunk
// (one picture, repeated) and the tab page border (one frame, own margins).
struct TSecondPicture {
  int FrameCount = 0;  // 0: the element's
  RECT Margins{};
};

void AddElement(std::vector<TRow>& rows, skin::TDataSkinObject* e, const char* section, bool stacked = false,
                TSecondPicture second = {}) {
  if (!e) return;
  const std::string name = std::string(section) + " (" + e->ElementName + ")";
  AddPictureRows(rows, Picture(name, *e, e->Image, e->FrameCount, stacked));
  if (auto* border = dynamic_cast<skin::TDataSkinBorder*>(e)) {
    TPicture p = Picture(name + " Image2", *e, border->Image2, second.FrameCount ? second.FrameCount : e->FrameCount);
    if (second.FrameCount) p.Margins = second.Margins;
    AddPictureRows(rows, p);
  }
}

// A row of colour swatches: the [Colours] section, then the colour table.
TRow ColourRow(const skin::TSkinContent& c) {
  const core::SkinColours& k = c.Colours;
  std::vector<core::SkinColour> colours{k.WindowText, k.ButtonFace,    k.Scrollbar,      k.HilightText,
                                        k.Hilight,    k.Menubar,       k.Menu,           k.MenuText,
                                        k.ButtonText, k.ButtonHilight, k.Buttonlight,    k.ButtonShadow,
                                        k.ButtonDkShadow, k.MenuBarText, k.TitleTextActive, k.TitleTextNoActive};
  colours.insert(colours.end(), c.ColourTable.begin(), c.ColourTable.end());
  TRow row;
  row.Label = L"Colours: WindowText ButtonFace Scrollbar HilightText Hilight Menubar Menu MenuText ButtonText "
              L"ButtonHilight Buttonlight ButtonShadow ButtonDkShadow MenuBarText TitleTextActive "
              L"TitleTextNoActive, then the colour table";
  for (core::SkinColour colour : colours) {
    row.Cells.push_back({24, 24, [colour](HDC dc, int x, int y) {
                           gui::TCanvas(dc).FillRect(RECT{x, y, x + 24, y + 24}, colour);
                         }});
  }
  return row;
}

std::vector<TRow> SheetRows(skin::TSkinContent& c) {
  std::vector<TRow> rows;
  rows.push_back(ColourRow(c));
  AddElement(rows, &c.BorderTop, "Personality top", true);
  AddElement(rows, &c.BorderLeft, "Personality left");
  AddElement(rows, &c.BorderRight, "Personality right");
  AddElement(rows, &c.BorderBottom, "Personality bottom", true);
  // The caption text background is cut by its own margins; the base ones
  // carry the text layout.
  TPicture title = Picture("Title background (TextBack)", c.TitleElement, c.TitleElement.Image, 2, true);
  title.Margins = RECT{c.TitleElement.TextBackLeft, 0, c.TitleElement.TextBackRight, 0};
  title.Trans = true;
  AddPictureRows(rows, title);
  AddElement(rows, &c.ButtonsElement, "Buttons");
  AddPictureRows(rows, Picture("Buttons check", c.ButtonsElement, c.ButtonsElement.CheckImage,
                               c.ButtonsElement.CheckFrameCount));
  AddPictureRows(rows, Picture("Buttons radio", c.ButtonsElement, c.ButtonsElement.RadioImage,
                               c.ButtonsElement.RadioFrameCount));
  for (std::size_t i = 0; i < c.SysButtonElements.size(); ++i) {
    // Caption buttons are always drawn with magenta left out.
    skin::TDataSkinSysButton& button = *c.SysButtonElements[i];
    TPicture p = Picture("Caption button " + std::to_string(i + 1) + " (" + button.ElementName + ", action " +
                             std::to_string(button.Action) + ")",
                         button, button.Image, button.FrameCount);
    p.Trans = true;
    AddPictureRows(rows, p);
  }
  AddElement(rows, c.Progress.get(), "Progress", false, TSecondPicture{1, RECT{}});
  AddElement(rows, c.MenuBar.get(), "MenuBar", true);
  AddElement(rows, c.GroupBoxEdge.get(), "GroupBoxEdge");
  AddElement(rows, c.GroupBox.get(), "GroupBox");
  AddElement(rows, c.Toolbars.get(), "Toolbars");
  AddElement(rows, c.Tabs.get(), "Tabs", false, TSecondPicture{1, RECT{4, 5, 4, 4}});
  AddElement(rows, c.StatusBarEdges.get(), "StatusBarEdges");
  AddElement(rows, c.ComboButton.get(), "ComboButton");
  AddElement(rows, c.SunkEdge.get(), "SunkEdge");
  AddElement(rows, c.ExtraImages.get(), "ExtraImages");
  AddElement(rows, c.Headerbar.get(), "Headerbar");
  AddElement(rows, c.MenuItem.get(), "MenuItem");
  AddElement(rows, c.MenuBackground.get(), "MenuBackground");
  AddElement(rows, c.Scrollbar.get(), "Scrollbar");
  AddElement(rows, c.HorzScroll.get(), "HorzScroll");
  AddElement(rows, c.VertScroll.get(), "VertScroll");
  AddElement(rows, c.HorzScrollThumb.get(), "HorzScrollThumb");
  AddElement(rows, c.VertScrollThumb.get(), "VertScrollThumb");
  AddElement(rows, c.TrackbarThumbHorz.get(), "TrackbarThumbHorz");
  AddElement(rows, c.TrackbarThumbVert.get(), "TrackbarThumbVert");
  AddElement(rows, c.TrackbarThumbLeft.get(), "TrackbarThumbLeft");
  AddElement(rows, c.TrackbarThumbRight.get(), "TrackbarThumbRight");
  AddElement(rows, c.TrackbarThumbUp.get(), "TrackbarThumbUp");
  AddElement(rows, c.TrackbarThumbDown.get(), "TrackbarThumbDown");
  AddElement(rows, c.UpDownHorz.get(), "UpDownHorz");
  AddElement(rows, c.UpDownVert.get(), "UpDownVert");
  return rows;
}

void Checkerboard(gui::TBitmap& sheet) {
  std::uint32_t* bits = sheet.Bits();
  for (int y = 0; y < sheet.Height(); ++y)
    for (int x = 0; x < sheet.Width(); ++x)
      bits[static_cast<std::size_t>(y) * static_cast<std::size_t>(sheet.Width()) + static_cast<std::size_t>(x)] =
          ((x / 8 + y / 8) % 2) ? 0xC8C8C8u : 0xF4F4F4u;
}

gui::TBitmap RenderSheet(const std::string& skinName, std::vector<TRow>& rows) {
  int width = 600, height = kPad + kLabelHeight + kPad;
  for (const TRow& row : rows) {
    int w = kPad, h = 0;
    for (const TCell& cell : row.Cells) {
      w += cell.Width + kPad;
      h = std::max(h, cell.Height);
    }
    width = std::max(width, w);
    height += kLabelHeight + h + 2 * kPad;
  }
  gui::TBitmap sheet(width, height);
  if (sheet.Empty()) return sheet;
  GdiFlush();
  Checkerboard(sheet);
  HDC dc = sheet.DC();
  SelectObject(dc, GetStockObject(DEFAULT_GUI_FONT));
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, RGB(0, 0, 0));
  int y = kPad;
  skin::DrawSkinText(dc, L"Skin \"" + gui::AnsiToWide(skinName) + L"\"", RECT{kPad, y, width, y + kLabelHeight},
                     DT_SINGLELINE | DT_NOPREFIX);
  y += kLabelHeight + kPad;
  for (const TRow& row : rows) {
    skin::DrawSkinText(dc, row.Label, RECT{kPad, y, width, y + kLabelHeight}, DT_SINGLELINE | DT_NOPREFIX);
    y += kLabelHeight;
    int x = kPad, h = 0;
    for (const TCell& cell : row.Cells) {
      cell.Draw(dc, x, y);
      x += cell.Width + kPad;
      h = std::max(h, cell.Height);
    }
    y += h + 2 * kPad;
  }
  GdiFlush();
  return sheet;
}

// A 24-bit bottom-up .bmp file.
bool WriteBmp(const std::string& path, const gui::TBitmap& sheet) {
  const int w = sheet.Width(), h = sheet.Height();
  const std::size_t stride = (static_cast<std::size_t>(w) * 3 + 3) / 4 * 4;
  BITMAPFILEHEADER file{};
  BITMAPINFOHEADER info{};
  file.bfType = 0x4D42;
  file.bfOffBits = sizeof file + sizeof info;
  file.bfSize = static_cast<DWORD>(file.bfOffBits + stride * static_cast<std::size_t>(h));
  info.biSize = sizeof info;
  info.biWidth = w;
  info.biHeight = h;
  info.biPlanes = 1;
  info.biBitCount = 24;
  info.biCompression = BI_RGB;
  std::ofstream out(path, std::ios::binary);
  out.write(reinterpret_cast<const char*>(&file), sizeof file);
  out.write(reinterpret_cast<const char*>(&info), sizeof info);
  std::vector<char> line(stride, 0);
  for (int y = h - 1; y >= 0; --y) {
    const std::uint32_t* src = sheet.Bits() + static_cast<std::size_t>(y) * static_cast<std::size_t>(w);
    for (int x = 0; x < w; ++x) std::memcpy(&line[static_cast<std::size_t>(x) * 3], &src[x], 3);
    out.write(line.data(), static_cast<std::streamsize>(stride));
  }
  return static_cast<bool>(out);
}

std::string SheetName(const std::string& archivePath) {
  std::string base = archivePath.substr(archivePath.find_last_of("/\\:") + 1);
  if (const auto dot = base.find_last_of('.'); dot != std::string::npos && dot > 0) base.resize(dot);
  return base + "_sheet.bmp";
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fputs("usage: skinview ARCHIVE\n  writes ARCHIVE's contact sheet as NAME_sheet.bmp in the current folder\n",
               stderr);
    return 2;
  }
  std::ifstream in(argv[1], std::ios::binary);
  if (!in) {
    std::fprintf(stderr, "skinview: cannot read %s\n", argv[1]);
    return 1;
  }
  const std::vector<std::uint8_t> file{std::istreambuf_iterator<char>(in), {}};
  try {
    core::TSkinReader reader;
    core::ByteStream archive(file);
    if (!reader.LoadArchive(archive)) return 1;
    core::ByteStream entry;
    std::string entryName;
    reader.ExtractFirstMatching(".ini", entry, entryName);
    const std::string definition(entry.Bytes().begin(), entry.Bytes().end());
    std::unique_ptr<skin::TSkinContent> content = skin::ParseDefinition(definition, reader);
    std::vector<TRow> rows = SheetRows(*content);
    gui::TBitmap sheet = RenderSheet(content->SkinName, rows);
    const std::string out = SheetName(argv[1]);
    if (sheet.Empty() || !WriteBmp(out, sheet)) {
      std::fprintf(stderr, "skinview: cannot write %s\n", out.c_str());
      return 1;
    }
    std::printf("%s: %d x %d, %zu rows\n", out.c_str(), sheet.Width(), sheet.Height(), rows.size());
  } catch (const std::exception& e) {
    std::fprintf(stderr, "skinview: %s\n", e.what());
    return 1;
  }
  return 0;
}
