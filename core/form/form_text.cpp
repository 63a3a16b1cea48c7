#include "core/form/form_text.h"

#include <cctype>
#include <cstdio>

namespace core {

FormTextError::FormTextError(int line, const std::string& what)
    : std::runtime_error("form text line " + std::to_string(line) + ": " + what), line_(line) {}

void AppendUtf8(std::string& out, std::uint32_t c) {
  if (c < 0x80) {
    out += static_cast<char>(c);
  } else if (c < 0x800) {
    out += static_cast<char>(0xC0 | (c >> 6));
    out += static_cast<char>(0x80 | (c & 0x3F));
  } else if (c < 0x10000) {
    out += static_cast<char>(0xE0 | (c >> 12));
    out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (c & 0x3F));
  } else {
    out += static_cast<char>(0xF0 | (c >> 18));
    out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
    out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (c & 0x3F));
  }
}

namespace {

class Parser {
 public:
  explicit Parser(std::string_view text) : s_(text) {}

  FormObject ParseRoot() {
    SkipBlanks();
    FormObject root = ParseObject();
    SkipBlanks();
    if (pos_ < s_.size()) Fail("text after the last 'end'");
    return root;
  }

 private:
  [[noreturn]] void Fail(const std::string& what) const { throw FormTextError(line_, what); }

  bool AtEnd() const { return pos_ >= s_.size(); }
  char Peek() const { return AtEnd() ? '\0' : s_[pos_]; }

  void SkipBlanks() {
    while (!AtEnd()) {
      const char c = s_[pos_];
      if (c == '\n') {
        ++line_;
        ++pos_;
      } else if (c == ' ' || c == '\t' || c == '\r') {
        ++pos_;
      } else if (c == '/' && pos_ + 1 < s_.size() && s_[pos_ + 1] == '/') {
        while (!AtEnd() && s_[pos_] != '\n') ++pos_;
      } else {
        break;
      }
    }
  }

  static bool IsNameStart(char c) { return std::isalpha(static_cast<unsigned char>(c)) || c == '_'; }
  static bool IsNameChar(char c) { return std::isalnum(static_cast<unsigned char>(c)) || c == '_'; }

  std::string Name() {
    SkipBlanks();
    if (!IsNameStart(Peek())) Fail("a name was expected");
    const std::size_t start = pos_;
    while (!AtEnd() && IsNameChar(s_[pos_])) ++pos_;
    return std::string(s_.substr(start, pos_ - start));
  }

  std::string DottedName() {
    std::string name = Name();
    while (Peek() == '.') {
      ++pos_;
      name += '.';
      name += Name();
    }
    return name;
  }

  void Expect(char c) {
    SkipBlanks();
    if (Peek() != c) Fail(std::string("'") + c + "' was expected");
    ++pos_;
  }

  static bool SameWord(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i)
      if (std::tolower(static_cast<unsigned char>(a[i])) != std::tolower(static_cast<unsigned char>(b[i]))) return false;
    return true;
  }

  FormObject ParseObject() {
    FormObject obj;
    obj.line = line_;
    if (!SameWord(Name(), "object")) Fail("'object' was expected");
    obj.name = Name();
    Expect(':');
    obj.className = Name();
    for (;;) {
      SkipBlanks();
      if (AtEnd()) Fail("'end' is missing");
      const std::size_t mark = pos_;
      const int markLine = line_;
      const std::string word = DottedName();
      if (SameWord(word, "end")) return obj;
      if (SameWord(word, "object")) {
        pos_ = mark;
        line_ = markLine;
        obj.children.push_back(ParseObject());
        continue;
      }
      obj.properties.push_back(ParseProperty(word, markLine));
    }
  }

  FormProperty ParseProperty(std::string name, int line) {
    FormProperty prop;
    prop.name = std::move(name);
    prop.line = line;
    Expect('=');
    prop.value = ParseValue();
    return prop;
  }

  // '<' already read: items up to '>', each "item", properties, "end".
  void ParseCollection(FormValue& v) {
    for (;;) {
      SkipBlanks();
      if (AtEnd()) Fail("'>' is missing");
      if (Peek() == '>') {
        ++pos_;
        return;
      }
      if (!SameWord(Name(), "item")) Fail("'item' was expected");
      std::vector<FormProperty>& item = v.collection.emplace_back();
      for (;;) {
        SkipBlanks();
        if (AtEnd()) Fail("'end' is missing");
        const int markLine = line_;
        std::string word = DottedName();
        if (SameWord(word, "end")) break;
        item.push_back(ParseProperty(std::move(word), markLine));
      }
    }
  }

  std::uint32_t CharCode() {
    ++pos_;  // '#'
    const std::size_t start = pos_;
    std::uint32_t code = 0;
    while (!AtEnd() && std::isdigit(static_cast<unsigned char>(s_[pos_]))) {
      code = code * 10 + static_cast<std::uint32_t>(s_[pos_] - '0');
      if (code > 0x10FFFF) Fail("character code out of range");
      ++pos_;
    }
    if (pos_ == start) Fail("digits expected after '#'");
    return code;
  }

  // One string expression: pieces of 'text' and #code, joined by '+'.
  std::string StringValue() {
    std::string out;
    for (;;) {
      SkipBlanks();
      bool any = false;
      while (Peek() == '\'' || Peek() == '#') {
        any = true;
        if (Peek() == '#') {
          AppendUtf8(out, CharCode());
          continue;
        }
        ++pos_;
        for (;;) {
          if (AtEnd() || s_[pos_] == '\n') Fail("unterminated string");
          const char c = s_[pos_++];
          if (c == '\'') {
            if (Peek() == '\'') {
              out += '\'';
              ++pos_;
              continue;
            }
            break;
          }
          out += c;
        }
      }
      if (!any) Fail("a string was expected");
      SkipBlanks();
      if (Peek() != '+') return out;
      ++pos_;
    }
  }

  FormValue ParseValue() {
    SkipBlanks();
    FormValue v;
    const char c = Peek();
    if (c == '\'' || c == '#') {
      v.kind = FormValue::Kind::String;
      v.text = StringValue();
    } else if (c == '-' || c == '+' || std::isdigit(static_cast<unsigned char>(c))) {
      v.kind = FormValue::Kind::Integer;
      const bool negative = c == '-';
      if (c == '-' || c == '+') ++pos_;
      if (!std::isdigit(static_cast<unsigned char>(Peek()))) Fail("digits expected");
      std::int64_t value = 0;
      while (!AtEnd() && std::isdigit(static_cast<unsigned char>(s_[pos_]))) {
        value = value * 10 + (s_[pos_] - '0');
        if (value > 0xFFFFFFFFLL) Fail("number out of range");
        ++pos_;
      }
      v.integer = negative ? -value : value;
    } else if (c == '$') {
      v.kind = FormValue::Kind::Integer;
      ++pos_;
      std::int64_t value = 0;
      const std::size_t start = pos_;
      while (!AtEnd() && std::isxdigit(static_cast<unsigned char>(s_[pos_]))) {
        const char d = s_[pos_];
        value = value * 16 + (std::isdigit(static_cast<unsigned char>(d)) ? d - '0' : std::tolower(d) - 'a' + 10);
        if (value > 0xFFFFFFFFLL) Fail("number out of range");
        ++pos_;
      }
      if (pos_ == start) Fail("hexadecimal digits expected");
      v.integer = value;
    } else if (c == '[') {
      v.kind = FormValue::Kind::Set;
      ++pos_;
      SkipBlanks();
      if (Peek() == ']') {
        ++pos_;
        return v;
      }
      for (;;) {
        v.items.push_back(Name());
        SkipBlanks();
        if (Peek() == ']') {
          ++pos_;
          return v;
        }
        Expect(',');
      }
    } else if (c == '(') {
      v.kind = FormValue::Kind::List;
      ++pos_;
      for (;;) {
        SkipBlanks();
        if (Peek() == ')') {
          ++pos_;
          return v;
        }
        v.items.push_back(StringValue());
      }
    } else if (c == '{') {
      v.kind = FormValue::Kind::Binary;
      ++pos_;
      int pending = -1;
      for (;;) {
        SkipBlanks();
        if (AtEnd()) Fail("'}' is missing");
        const char d = s_[pos_++];
        if (d == '}') break;
        if (!std::isxdigit(static_cast<unsigned char>(d))) Fail("hexadecimal digits expected in binary data");
        const int nibble = std::isdigit(static_cast<unsigned char>(d)) ? d - '0' : std::tolower(d) - 'a' + 10;
        if (pending < 0) {
          pending = nibble;
        } else {
          v.bytes.push_back(static_cast<std::uint8_t>(pending * 16 + nibble));
          pending = -1;
        }
      }
      if (pending >= 0) Fail("odd number of hexadecimal digits");
    } else if (c == '<') {
      v.kind = FormValue::Kind::Collection;
      ++pos_;
      ParseCollection(v);
    } else if (IsNameStart(c)) {
      v.kind = FormValue::Kind::Identifier;
      v.text = DottedName();
    } else {
      Fail("a value was expected");
    }
    return v;
  }

  std::string_view s_;
  std::size_t pos_ = 0;
  int line_ = 1;
};

std::string Quote(const std::string& utf8) {
  // Printable ASCII stays quoted; everything else becomes #code.
  std::string out;
  bool open = false;
  std::size_t i = 0;
  while (i < utf8.size()) {
    const auto b = static_cast<unsigned char>(utf8[i]);
    if (b >= 0x20 && b < 0x7F) {
      if (!open) {
        out += '\'';
        open = true;
      }
      out += b == '\'' ? std::string("''") : std::string(1, static_cast<char>(b));
      ++i;
      continue;
    }
    if (open) {
      out += '\'';
      open = false;
    }
    std::uint32_t code = b;
    int extra = 0;
    if (b >= 0xF0) {
      code = b & 0x07;
      extra = 3;
    } else if (b >= 0xE0) {
      code = b & 0x0F;
      extra = 2;
    } else if (b >= 0xC0) {
      code = b & 0x1F;
      extra = 1;
    }
    ++i;
    for (int k = 0; k < extra && i < utf8.size(); ++k, ++i) code = (code << 6) | (static_cast<unsigned char>(utf8[i]) & 0x3F);
    out += '#' + std::to_string(code);
  }
  if (open) out += '\'';
  if (out.empty()) out = "''";
  return out;
}

void WriteProperties(std::string& out, const std::vector<FormProperty>& properties, const std::string& indent) {
  for (const FormProperty& p : properties) {
    out += indent + p.name + " = ";
    const FormValue& v = p.value;
    switch (v.kind) {
      case FormValue::Kind::Integer: out += std::to_string(v.integer); break;
      case FormValue::Kind::String: out += Quote(v.text); break;
      case FormValue::Kind::Identifier: out += v.text; break;
      case FormValue::Kind::Set: {
        out += '[';
        for (std::size_t i = 0; i < v.items.size(); ++i) out += (i ? ", " : "") + v.items[i];
        out += ']';
        break;
      }
      case FormValue::Kind::List: {
        out += "(";
        for (const std::string& item : v.items) out += "\n" + indent + "  " + Quote(item);
        out += ")";
        break;
      }
      case FormValue::Kind::Collection: {
        out += "<";
        for (const std::vector<FormProperty>& item : v.collection) {
          out += "\n" + indent + "  item\n";
          WriteProperties(out, item, indent + "    ");
          out += indent + "  end";
        }
        out += ">";
        break;
      }
      case FormValue::Kind::Binary: {
        static const char* hex = "0123456789ABCDEF";
        out += '{';
        for (std::size_t i = 0; i < v.bytes.size(); ++i) {
          if (i % 32 == 0) out += "\n" + indent + "  ";
          out += hex[v.bytes[i] >> 4];
          out += hex[v.bytes[i] & 15];
        }
        out += '}';
        break;
      }
    }
    out += '\n';
  }
}

void WriteObject(std::string& out, const FormObject& obj, int depth) {
  const std::string indent(static_cast<std::size_t>(depth) * 2, ' ');
  out += indent + "object " + obj.name + ": " + obj.className + "\n";
  WriteProperties(out, obj.properties, indent + "  ");
  for (const FormObject& child : obj.children) WriteObject(out, child, depth + 1);
  out += indent + "end\n";
}

}  // namespace

FormObject ParseFormText(std::string_view text) { return Parser(text).ParseRoot(); }

std::string WriteFormText(const FormObject& object) {
  std::string out;
  WriteObject(out, object, 0);
  return out;
}

}  // namespace core
