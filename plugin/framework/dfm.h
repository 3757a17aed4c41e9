// Reader for the text form of a form resource, as the form designer writes it:
//
//   object FormUSJ: TFormUSJ
//     Caption = 'ShiftJIS'#32622#25563
//     Font.Style = []
//     object ComboBoxKind: TComboBox
//       Items.Strings = (
//         'one'
//         'two')
//     end
//   end
//
// Strings are quoted runs and #n character codes (UTF-16 units, decimal or
// $hex) written side by side, and may continue over lines with "+".
#pragma once

#include <cstdint>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace quornel::vcl::dfm {

struct Value {
  enum class Kind { Integer, Float, String, Identifier, Set, List };
  Kind kind = Kind::Integer;
  std::int64_t integer = 0;
  double real = 0;
  std::u16string string;
  std::string identifier;
  std::vector<std::string> set;  // identifiers of a [a, b] set
  std::vector<Value> list;       // items of a ( ... ) list
};

struct Property {
  std::string name;  // may be dotted: Font.Height, Items.Strings
  Value value;
  int line = 0;
};

struct Object {
  std::string name;
  std::string className;
  std::vector<Property> properties;
  std::vector<Object> children;
  int line = 0;
};

class ParseError : public std::runtime_error {
 public:
  ParseError(int line, const std::string& what);
  int Line() const { return line_; }

 private:
  int line_;
};

// Parses one root object; anything after its "end" but blanks is an error.
Object Parse(std::string_view text);

}  // namespace quornel::vcl::dfm
