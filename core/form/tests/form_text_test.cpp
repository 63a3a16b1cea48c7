#include "core/form/form_text.h"

#include <gtest/gtest.h>

using core::FormObject;
using core::FormTextError;
using core::FormValue;
using core::ParseFormText;

namespace {

const char* kSample = R"(object Form1: TForm1
  Left = 373
  Top = -5
  Caption = 'It''s' + ' set'
  Font.Name = 'MS Sans Serif'
  BorderIcons = [biSystemMenu, biMinimize]
  Font.Style = []
  Color = clBtnFace
  Visible = False
  Tag = $FF
  // a comment
  object Group: TGroupBox
    Caption = #20840#37096'x'#13#10
    object Radio: TRadioButton
      Checked = True
    end
  end
  object Data: TSkinData
    Skin3rd.Strings = (
      'TA=Panel'
      'TB=Edit')
    SkinStream = {
      0A0b FF
      00}
  end
end
)";

}  // namespace

TEST(FormText, ParsesValuesOfEveryKindAndTheNesting) {
  const FormObject form = ParseFormText(kSample);
  EXPECT_EQ(form.name, "Form1");
  EXPECT_EQ(form.className, "TForm1");
  ASSERT_EQ(form.properties.size(), 9u);
  EXPECT_EQ(form.properties[0].value.integer, 373);
  EXPECT_EQ(form.properties[1].value.integer, -5);
  EXPECT_EQ(form.properties[2].value.text, "It's set");
  EXPECT_EQ(form.properties[3].name, "Font.Name");
  EXPECT_EQ(form.properties[4].value.kind, FormValue::Kind::Set);
  EXPECT_EQ(form.properties[4].value.items, (std::vector<std::string>{"biSystemMenu", "biMinimize"}));
  EXPECT_TRUE(form.properties[5].value.items.empty());
  EXPECT_EQ(form.properties[6].value.kind, FormValue::Kind::Identifier);
  EXPECT_EQ(form.properties[6].value.text, "clBtnFace");
  EXPECT_EQ(form.properties[8].value.integer, 255);

  ASSERT_EQ(form.children.size(), 2u);
  const FormObject& group = form.children[0];
  // U+5168 U+90E8 in UTF-8, then text and CR LF.
  EXPECT_EQ(group.properties[0].value.text, "\xE5\x85\xA8\xE9\x83\xA8x\r\n");
  ASSERT_EQ(group.children.size(), 1u);
  EXPECT_EQ(group.children[0].properties[0].value.text, "True");

  const FormObject& data = form.children[1];
  EXPECT_EQ(data.properties[0].value.items, (std::vector<std::string>{"TA=Panel", "TB=Edit"}));
  EXPECT_EQ(data.properties[1].value.bytes, (std::vector<std::uint8_t>{0x0A, 0x0B, 0xFF, 0x00}));
}

TEST(FormText, WrittenTextReadsBackTheSame) {
  const FormObject form = ParseFormText(kSample);
  const FormObject again = ParseFormText(core::WriteFormText(form));
  EXPECT_EQ(core::WriteFormText(again), core::WriteFormText(form));
  EXPECT_EQ(again.children[0].properties[0].value.text, form.children[0].properties[0].value.text);
  EXPECT_EQ(again.children[1].properties[1].value.bytes, form.children[1].properties[1].value.bytes);
}

TEST(FormText, ReportsTheLineOfBadText) {
  const auto lineOf = [](const char* text) {
    try {
      ParseFormText(text);
    } catch (const FormTextError& e) {
      return e.line();
    }
    return 0;
  };
  EXPECT_EQ(lineOf("object A: TA\n  X = 'open\nend\n"), 2);
  EXPECT_EQ(lineOf("object A: TA\n  X = 1\n"), 3);
  EXPECT_EQ(lineOf("object A: TA\n  B = {0A1}\nend\n"), 2);
  EXPECT_EQ(lineOf("object A: TA\n\n  B = [x y]\nend\n"), 3);
  EXPECT_EQ(lineOf("object A: TA\n  N = 99999999999\nend\n"), 2);
  EXPECT_EQ(lineOf("object A: TA\nend\nend\n"), 3);
  EXPECT_EQ(lineOf("thing A: TA\nend\n"), 1);
}

TEST(FormText, CollectionsHoldItemsWithTheirOwnProperties) {
  const char* text = R"(object L: TListView
  Columns = <
    item
      Caption = 'Name'
      Width = 120
    end
    item
      Caption = 'Size'
      Items = <
        item
          Tag = 1
        end>
    end>
  Empty = <>
  Items.Strings = ('x')
end
)";
  const FormObject list = ParseFormText(text);
  ASSERT_EQ(list.properties.size(), 3u);
  const FormValue& columns = list.properties[0].value;
  EXPECT_EQ(columns.kind, FormValue::Kind::Collection);
  ASSERT_EQ(columns.collection.size(), 2u);
  ASSERT_EQ(columns.collection[0].size(), 2u);
  EXPECT_EQ(columns.collection[0][0].value.text, "Name");
  EXPECT_EQ(columns.collection[0][1].value.integer, 120);
  EXPECT_EQ(columns.collection[0][1].line, 5);
  // Collections nest inside items.
  const FormValue& inner = columns.collection[1][1].value;
  ASSERT_EQ(inner.collection.size(), 1u);
  EXPECT_EQ(inner.collection[0][0].value.integer, 1);
  EXPECT_EQ(list.properties[1].value.kind, FormValue::Kind::Collection);
  EXPECT_TRUE(list.properties[1].value.collection.empty());
  EXPECT_EQ(list.properties[2].line, 15);

  const std::string written = core::WriteFormText(list);
  EXPECT_EQ(core::WriteFormText(ParseFormText(written)), written);

  const auto lineOf = [](const char* bad) {
    try {
      ParseFormText(bad);
    } catch (const FormTextError& e) {
      return e.line();
    }
    return 0;
  };
  EXPECT_EQ(lineOf("object A: TA\n  C = <\n    thing\n    end>\nend\n"), 3);
  EXPECT_EQ(lineOf("object A: TA\n  C = <item\n    X = 1\nend\n"), 5);
  EXPECT_EQ(lineOf("object A: TA\n  C = <item X = 1 end\n"), 3);
}
