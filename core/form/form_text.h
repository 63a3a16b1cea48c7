// The form description: a declarative text that lists a form's components,
// their nesting and their published property values, e.g.
//
//   object Form1: TForm1
//     Caption = 'Settings'
//     Font.Height = -11
//     BorderIcons = [biSystemMenu, biMinimize]
//     object Button1: TButton
//       OnClick = Button1Click
//     end
//   end
//
// Values are integers, strings ('quoted', with '' for a quote, #nnn for any
// character code, joined by + across lines), identifiers (enumeration names,
// True/False, event handler and component names), sets [a, b], string lists
// ( 'a' 'b' ), binary data { hex digits } and collections of items, each with
// its own properties:
//
//     Columns = <
//       item
//         Caption = 'Name'
//         Width = 120
//       end>
//
// Strings are returned as UTF-8.
#pragma once
#include <cstdint>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace core {

struct FormProperty;

struct FormValue {
  enum class Kind { Integer, String, Identifier, Set, List, Binary, Collection };
  Kind kind = Kind::Integer;
  std::int64_t integer = 0;
  std::string text;                 // String and Identifier
  std::vector<std::string> items;   // Set (identifiers) and List (strings)
  std::vector<std::uint8_t> bytes;  // Binary
  std::vector<std::vector<FormProperty>> collection;  // Collection: each item's properties
};

struct FormProperty {
  std::string name;  // may be a dotted path: "Font.Height"
  FormValue value;
  int line = 0;
};

struct FormObject {
  std::string name;
  std::string className;
  std::vector<FormProperty> properties;
  std::vector<FormObject> children;
  int line = 0;
};

class FormTextError : public std::runtime_error {
 public:
  FormTextError(int line, const std::string& what);
  int line() const { return line_; }

 private:
  int line_;
};

// Parses one top-level object; throws FormTextError with the line on bad text.
FormObject ParseFormText(std::string_view text);

// Writes an object back as form text (used by tools and to check round trips).
std::string WriteFormText(const FormObject& object);

// Appends a character code as UTF-8.
void AppendUtf8(std::string& out, std::uint32_t code);

}  // namespace core
