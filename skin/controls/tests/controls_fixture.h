// What the control-skinner tests share: a skin built in the test with solid
// coloured glyph frames, the project's default skin, a framework form read
// from a description text and a standalone form skinner to attach to.
#pragma once
#include <gtest/gtest.h>
#include <windows.h>

#include <cstdint>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "core/archive/lzh_encoder.h"
#include "core/archive/skin_writer.h"
#include "gui/forms.h"
#include "gui/tests/test_bitmaps.h"
#include "skin/data/skin_data.h"
#include "skin/form/skin_form.h"
#include "skin/manager/skin_manager.h"
#include "skin/manager/tests/test_skins.h"

namespace controls_test {

using gui_test::StripBmp;

// Glyph frame colours: unchecked, checked, disabled, checked disabled.
inline const std::vector<COLORREF>& GlyphColours() {
  static const std::vector<COLORREF> colours{RGB(200, 0, 0), RGB(0, 200, 0), RGB(0, 0, 200), RGB(200, 200, 0)};
  return colours;
}

// A skin whose check and radio strips hold glyphs of the given width.
inline std::vector<std::uint8_t> GlyphSkinArchive(int glyphWidth) {
  core::TSkinWriter writer;
  const std::string definition =
      "[Info]\r\nName=Glyphs\r\n[Colours]\r\nButtonFace=10 20 30\r\nButtonShadow=90 80 70\r\n"
      "[Buttons]\r\nBitmap=button.bmp\r\nCheckButton=check.bmp\r\nCheckButtonFrame=4\r\n"
      "RadioButton=radio.bmp\r\nRadioButtonFrame=4\r\n";
  writer.AddEntry("skin.ini", std::span(reinterpret_cast<const std::uint8_t*>(definition.data()), definition.size()));
  const auto glyphs = StripBmp(glyphWidth, 13, GlyphColours());
  writer.AddEntry("check.bmp", glyphs);
  writer.AddEntry("radio.bmp", glyphs);
  const auto buttons = StripBmp(8, 8, {RGB(1, 1, 1), RGB(2, 2, 2), RGB(3, 3, 3), RGB(4, 4, 4), RGB(5, 5, 5)});
  writer.AddEntry("button.bmp", buttons);
  return core::LzhCompress(writer.BuildContainer());
}

inline std::unique_ptr<skin::TSkinData> LoadData(const std::vector<std::uint8_t>& archive) {
  auto data = std::make_unique<skin::TSkinData>(nullptr);
  data->SkinArchive = core::ByteStream(archive);
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

}  // namespace controls_test
