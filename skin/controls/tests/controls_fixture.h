// What the control-skinner tests share: a skin built in the test with solid
// coloured glyph frames, the project's default skin, a framework form read
// from a description text and a host for the skinners to stand in, as the
// form skinner is theirs.
#pragma once
#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "core/archive/lzh_encoder.h"
#include "core/archive/skin_writer.h"
#include "gui/bitmap.h"
#include "gui/forms.h"
#include "gui/handles.h"
#include "gui/tests/form_fixture.h"
#include "gui/tests/test_bitmaps.h"
#include "skin/controls/skin_control.h"
#include "skin/controls/skin_control_host.h"
#include "skin/data/skin_data.h"
#include "skin/data/tests/test_skins.h"

namespace controls_test {

using gui_test::StripBmp;

// The list the control skinners stand in, with the skin data they are given
// and a skin change passed on to them, as the form skinner has them.
class TTestControlHost final : public skin::TSkinControlHost {
 public:
  ~TTestControlHost() override { FreeControlSkinners(); }
  void RefreshSkin() {
    for (skin::TSkinControlBase* skinner : ControlSkinners()) skinner->SkinChanged();
  }
  skin::TSkinData* SkinData = nullptr;
  // What a windowless skinner draws with, as the form skinner gives one.
  gui::TCanvas Canvas;
};

// Glyph frame colours: unchecked, checked, disabled, checked disabled.
inline const std::vector<COLORREF>& GlyphColours() {
  static const std::vector<COLORREF> colours{RGB(200, 0, 0), RGB(0, 200, 0), RGB(0, 0, 200), RGB(200, 200, 0)};
  return colours;
}

// A skin whose check and radio strips hold glyphs of the given width.
inline std::vector<std::uint8_t> GlyphSkinArchive(int glyphWidth) {
  core::TSkinWriter writer;
  const std::string definition =
      skin_test::WholeSkinDefinition("Glyphs") + "[Colours]\r\nButtonFace=10 20 30\r\nButtonShadow=90 80 70\r\nButtonText=240 230 220\r\n"
      "[Buttons]\r\nBitmap=button.bmp\r\nCheckButton=check.bmp\r\nCheckButtonFrame=4\r\n"
      "RadioButton=radio.bmp\r\nRadioButtonFrame=4\r\n";
  writer.AddEntry("skin.ini", std::span(reinterpret_cast<const std::uint8_t*>(definition.data()), definition.size()));
  skin_test::AddFramePictures(writer);
  const auto glyphs = StripBmp(glyphWidth, 13, GlyphColours());
  writer.AddEntry("check.bmp", glyphs);
  writer.AddEntry("radio.bmp", glyphs);
  const auto buttons = StripBmp(8, 8, {RGB(1, 1, 1), RGB(2, 2, 2), RGB(3, 3, 3), RGB(4, 4, 4), RGB(5, 5, 5)});
  writer.AddEntry("button.bmp", buttons);
  return core::LzhCompress(writer.BuildContainer());
}

inline std::unique_ptr<skin::TSkinData> LoadData(const std::vector<std::uint8_t>& archive) {
  auto data = std::make_unique<skin::TSkinData>(nullptr);
  data->SetSkinStream(archive);
  if (!data->LoadSkin()) return nullptr;
  return data;
}

// Reads a form from its description and shows it.
inline gui::TForm* ShowForm(gui::TApplication& app, const std::string& body, int width = 320, int height = 260) {
  auto* form = new gui::TForm(&app);
  form->InitFromText("object Form1: TForm\n  Left = 40\n  Top = 40\n  Caption = 'Controls'\n  ClientWidth = " +
                     std::to_string(width) + "\n  ClientHeight = " + std::to_string(height) + "\n" + body + "end\n");
  form->HandleNeeded();
  form->Show();
  skin_test::DrainMessages();
  return form;
}

inline std::string Control(const std::string& name, const std::string& cls, int left, int top, int width, int height,
                           const std::string& extra = "", const std::string& children = "") {
  return "  object " + name + ": " + cls + "\n    Left = " + std::to_string(left) + "\n    Top = " +
         std::to_string(top) + "\n    Width = " + std::to_string(width) + "\n    Height = " + std::to_string(height) +
         "\n" + extra + children + "  end\n";
}

// Solid frames of the range, text and tab elements, so that a pixel tells
// which frame was drawn.
struct TElementColours {
  std::vector<COLORREF> ThumbHorz{RGB(200, 10, 10), RGB(200, 20, 20), RGB(200, 30, 30), RGB(200, 40, 40),
                                  RGB(200, 50, 50)};
  std::vector<COLORREF> ThumbVert{RGB(10, 200, 10), RGB(20, 200, 20), RGB(30, 200, 30), RGB(40, 200, 40),
                                  RGB(50, 200, 50)};
  std::vector<COLORREF> UpDownVert{RGB(0, 100, 200), RGB(20, 100, 200), RGB(40, 100, 200), RGB(60, 100, 200),
                                   RGB(80, 100, 200), RGB(100, 100, 200), RGB(120, 100, 200), RGB(140, 100, 200)};
  std::vector<COLORREF> UpDownHorz{RGB(0, 150, 50), RGB(20, 150, 50), RGB(40, 150, 50), RGB(60, 150, 50),
                                   RGB(80, 150, 50), RGB(100, 150, 50), RGB(120, 150, 50), RGB(140, 150, 50)};
  std::vector<COLORREF> Progress{RGB(60, 60, 160), RGB(160, 60, 60)};
  COLORREF Chunk = RGB(30, 160, 30);
  std::vector<COLORREF> SunkEdge{RGB(100, 0, 50), RGB(100, 0, 100), RGB(100, 0, 150), RGB(100, 0, 200)};
  std::vector<COLORREF> ComboButton{RGB(0, 100, 50), RGB(0, 100, 100), RGB(0, 100, 150), RGB(0, 100, 200)};
  std::vector<COLORREF> Tabs{RGB(120, 120, 20), RGB(120, 120, 40), RGB(120, 120, 60), RGB(120, 120, 80),
                             RGB(120, 120, 100)};
  COLORREF TabBorder = RGB(5, 5, 5);
  COLORREF TabText = RGB(255, 255, 0);
  COLORREF SelectedTabText = RGB(0, 255, 255);
  COLORREF Face = RGB(10, 20, 30);
  COLORREF Shadow = RGB(90, 80, 70);
  COLORREF DkShadow = RGB(40, 40, 40);
};

inline const TElementColours& ElementColours() {
  static const TElementColours colours;
  return colours;
}

// Which elements the element skin leaves out or draws otherwise.
struct TElementSkinOptions {
  bool Thumbs = true;
  bool UpDowns = true;
  bool ChunkedProgress = false;
  int ChunkLeftWidth = 2;
  int ChunkRightWidth = 0;
  bool TabBorder = true;
  // Other tab frames than ElementColours().Tabs (empty: those).
  std::vector<COLORREF> Tabs{};
};

inline std::vector<std::uint8_t> ElementSkinArchive(const TElementSkinOptions& o = {}) {
  const TElementColours& c = ElementColours();
  const auto rgb = [](COLORREF v) {
    return std::to_string(GetRValue(v)) + " " + std::to_string(GetGValue(v)) + " " + std::to_string(GetBValue(v));
  };
  std::string definition = skin_test::WholeSkinDefinition("Elements") + "[Colours]\r\nButtonFace=" + rgb(c.Face) +
                           "\r\nButtonShadow=" + rgb(c.Shadow) + "\r\nButtonDkShadow=" + rgb(c.DkShadow) +
                           "\r\n[Buttons]\r\nBitmap=button.bmp\r\n";
  core::TSkinWriter writer;
  const auto add = [&](const std::string& name, const std::vector<std::uint8_t>& bytes) { writer.AddEntry(name, bytes); };
  add("button.bmp", StripBmp(8, 8, {RGB(1, 1, 1), RGB(2, 2, 2), RGB(3, 3, 3), RGB(4, 4, 4), RGB(5, 5, 5)}));
  if (o.Thumbs) {
    definition += "[Trackbar.ThumbHorz]\r\nImage=thumbh.bmp\r\n[Trackbar.ThumbVert]\r\nImage=thumbv.bmp\r\n";
    add("thumbh.bmp", StripBmp(8, 16, c.ThumbHorz));
    add("thumbv.bmp", StripBmp(16, 8, c.ThumbVert));
  }
  if (o.UpDowns) {
    definition += "[UpDown.Vert]\r\nImage=udv.bmp\r\n[UpDown.Horz]\r\nImage=udh.bmp\r\n";
    add("udv.bmp", StripBmp(16, 8, c.UpDownVert));
    add("udh.bmp", StripBmp(8, 16, c.UpDownHorz));
  }
  definition += "[Progress]\r\nBitmap=progress.bmp\r\n";
  // A chunked bar's picture is its trough alone.
  add("progress.bmp", o.ChunkedProgress ? StripBmp(16, 8, {c.Progress[0]}) : StripBmp(8, 8, c.Progress));
  if (o.ChunkedProgress) {
    definition += "Style=1\r\nChunk=chunk.bmp\r\nLeftWidth=" + std::to_string(o.ChunkLeftWidth) +
                  "\r\nRightWidth=" + std::to_string(o.ChunkRightWidth) + "\r\n";
    add("chunk.bmp", StripBmp(6, 6, {c.Chunk}));
  }
  definition += "[SunkEdge]\r\nImage=sunk.bmp\r\n[ComboButton]\r\nImage=combo.bmp\r\n";
  add("sunk.bmp", StripBmp(8, 8, c.SunkEdge));
  add("combo.bmp", StripBmp(16, 16, c.ComboButton));
  definition += "[Tabs]\r\nImage=tabs.bmp\r\n" + std::string(o.TabBorder ? "Border=border.bmp\r\n" : "") +
                "NormalColour2=" + rgb(c.TabText) + "\r\nMouseOverColour2=" + rgb(c.SelectedTabText) + "\r\n";
  add("tabs.bmp", StripBmp(16, 16, o.Tabs.empty() ? c.Tabs : o.Tabs));
  if (o.TabBorder) add("border.bmp", StripBmp(16, 16, {c.TabBorder}));
  writer.AddEntry("skin.ini", std::span(reinterpret_cast<const std::uint8_t*>(definition.data()), definition.size()));
  skin_test::AddFramePictures(writer);
  return core::LzhCompress(writer.BuildContainer());
}

// The window as it stands on the screen, after a full repaint unless told
// otherwise.
inline gui::TBitmap Snapshot(HWND wnd, bool repaint = true) {
  if (repaint)
    RedrawWindow(wnd, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_UPDATENOW | RDW_ALLCHILDREN);
  skin_test::DrainMessages();
  return gui_test::WholeWindowShot(wnd);
}

// The skinner's drawing of the whole control, in a bitmap of its window's size.
inline gui::TBitmap Drawn(skin::TSkinControl& skinner) {
  RECT wr{};
  GetWindowRect(skinner.SkinnedWindow(), &wr);
  gui::TBitmap bitmap(wr.right - wr.left, wr.bottom - wr.top);
  skinner.DrawSkin(bitmap.DC(), RECT{0, 0, bitmap.Width(), bitmap.Height()});
  return bitmap;
}

// The class of the skinner the form skinner lists for a window ("none": none).
inline std::string SkinnerClassOf(const skin::TSkinControlHost& form, HWND wnd) {
  auto* skinner = wnd ? dynamic_cast<skin::TSkinControl*>(form.FindWindowSkinner(wnd)) : nullptr;
  return skinner ? skinner->ClassName() : std::string("none");
}

// How many pixels of a rectangle of the bitmap have the colour.
inline int CountColour(const gui::TBitmap& b, const RECT& r, COLORREF colour) {
  int n = 0;
  for (int y = std::max<LONG>(r.top, 0); y < std::min<LONG>(r.bottom, b.Height()); ++y)
    for (int x = std::max<LONG>(r.left, 0); x < std::min<LONG>(r.right, b.Width()); ++x) n += b.Pixel(x, y) == colour;
  return n;
}

// The forms a test shows, owned by an application object of the test's own
// and freed with it: also when an assertion ends the test early, so that no
// window is left for the next one.
class TShownForms {
 public:
  gui::TForm* Show(const std::string& body, int width = 320, int height = 260) {
    return ShowForm(app_, body, width, height);
  }

 private:
  gui::TApplication app_;
};

// Tests on the element skin: the skin loaded, a host for the skinners to
// list themselves with, and the forms shown
// (freed first, after the skinners).
class ElementSkinTest : public ::testing::Test {
 protected:
  void SetUp() override { Load({}); }
  void TearDown() override {
    form_skinner_.FreeControlSkinners();
    SetCursorPos(0, 0);
    skin_test::DrainMessages();
  }
  void Load(const TElementSkinOptions& options) {
    form_skinner_.FreeControlSkinners();
    data_ = LoadData(ElementSkinArchive(options));
    ASSERT_NE(data_, nullptr);
    form_skinner_.SkinData = data_.get();
  }
  // Another skin into the same skin data, the skinners told as a skin
  // change tells them.
  void Reload(const TElementSkinOptions& options) {
    data_->SetSkinStream(ElementSkinArchive(options));
    ASSERT_TRUE(data_->LoadSkin());
    form_skinner_.RefreshSkin();
  }

  std::unique_ptr<skin::TSkinData> data_;
  TTestControlHost form_skinner_;
  TShownForms forms_;
  const TElementColours& c_ = ElementColours();
};

}  // namespace controls_test
