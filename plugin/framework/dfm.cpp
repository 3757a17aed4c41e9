#include "plugin/framework/dfm.h"

#include <cctype>
#include <cstdlib>

namespace quornel::vcl::dfm {

ParseError::ParseError(int line, const std::string& what)
    : std::runtime_error("form resource, line " + std::to_string(line) + ": " + what), line_(line) {}

namespace {

struct Token {
  enum class Kind { End, Identifier, Integer, Float, String, Symbol };
  Kind kind = Kind::End;
  std::string text;  // identifier, number or symbol as written
  std::u16string string;
  int line = 1;
};

void AppendUtf16(std::u16string& out, char32_t c) {
  if (c >= 0x10000) {
    c -= 0x10000;
    out += static_cast<char16_t>(0xD800 + (c >> 10));
    out += static_cast<char16_t>(0xDC00 + (c & 0x3FF));
  } else {
    out += static_cast<char16_t>(c);
  }
}

class Lexer {
 public:
  explicit Lexer(std::string_view text) : text_(text) {}

  Token Next() {
    SkipBlanks();
    Token token;
    token.line = line_;
    if (pos_ >= text_.size()) {
      return token;
    }
    const char c = text_[pos_];
    if (std::isalpha(static_cast<unsigned char>(c)) || c == '_') {
      token.kind = Token::Kind::Identifier;
      while (pos_ < text_.size() && (std::isalnum(static_cast<unsigned char>(text_[pos_])) ||
                                     text_[pos_] == '_' || text_[pos_] == '.')) {
        token.text += text_[pos_++];
      }
      return token;
    }
    if (std::isdigit(static_cast<unsigned char>(c)) || c == '-' || c == '$' ||
        (c == '+' && pos_ + 1 < text_.size() && std::isdigit(static_cast<unsigned char>(text_[pos_ + 1])))) {
      return Number(token);
    }
    if (c == '\'' || c == '#') {
      token.kind = Token::Kind::String;
      token.string = StringRun();
      return token;
    }
    if (std::string_view("=:()[],+").find(c) != std::string_view::npos) {
      token.kind = Token::Kind::Symbol;
      token.text = std::string(1, c);
      ++pos_;
      return token;
    }
    throw ParseError(line_, std::string("unexpected character '") + c + "'");
  }

 private:
  void SkipBlanks() {
    while (pos_ < text_.size() && std::isspace(static_cast<unsigned char>(text_[pos_]))) {
      if (text_[pos_] == '\n') {
        ++line_;
      }
      ++pos_;
    }
  }

  Token Number(Token& token) {
    std::string digits;
    if (text_[pos_] == '-' || text_[pos_] == '+') {
      digits += text_[pos_++];
    }
    const bool hex = pos_ < text_.size() && text_[pos_] == '$';
    if (hex) {
      ++pos_;
    }
    bool real = false;
    while (pos_ < text_.size()) {
      const char d = text_[pos_];
      if (hex ? std::isxdigit(static_cast<unsigned char>(d)) != 0
              : (std::isdigit(static_cast<unsigned char>(d)) != 0 || d == '.' || d == 'e' || d == 'E')) {
        real = real || (!hex && (d == '.' || d == 'e' || d == 'E'));
        digits += d;
        ++pos_;
      } else {
        break;
      }
    }
    token.text = digits;
    if (digits.empty() || digits == "-" || digits == "+") {
      throw ParseError(line_, "a number has no digits");
    }
    token.kind = real ? Token::Kind::Float : Token::Kind::Integer;
    if (hex) {
      token.text = std::to_string(std::strtoll(digits.c_str(), nullptr, 16));
    }
    return token;
  }

  // Quoted runs and #codes written side by side make one string.
  std::u16string StringRun() {
    std::u16string out;
    while (pos_ < text_.size()) {
      if (text_[pos_] == '\'') {
        ++pos_;
        for (;;) {
          if (pos_ >= text_.size() || text_[pos_] == '\n') {
            throw ParseError(line_, "a string is not closed on its line");
          }
          if (text_[pos_] == '\'') {
            if (pos_ + 1 < text_.size() && text_[pos_ + 1] == '\'') {
              out += u'\'';
              pos_ += 2;
              continue;
            }
            ++pos_;
            break;
          }
          out += Utf8Char();
        }
      } else if (text_[pos_] == '#') {
        ++pos_;
        const bool hex = pos_ < text_.size() && text_[pos_] == '$';
        pos_ += hex ? 1 : 0;
        std::string digits;
        while (pos_ < text_.size() &&
               (hex ? std::isxdigit(static_cast<unsigned char>(text_[pos_])) != 0
                    : std::isdigit(static_cast<unsigned char>(text_[pos_])) != 0)) {
          digits += text_[pos_++];
        }
        const long code = digits.size() > 6 ? 0x110000 : std::strtol(digits.c_str(), nullptr, hex ? 16 : 10);
        if (digits.empty() || code > 0xFFFF) {
          throw ParseError(line_, "a character code is not a UTF-16 unit");
        }
        out += static_cast<char16_t>(code);
      } else {
        break;
      }
    }
    return out;
  }

  // Inside quotes the text may also hold UTF-8 as is.
  std::u16string Utf8Char() {
    const auto lead = static_cast<unsigned char>(text_[pos_++]);
    int extra = lead < 0x80 ? 0 : lead >= 0xF0 ? 3 : lead >= 0xE0 ? 2 : lead >= 0xC0 ? 1 : -1;
    char32_t c = extra == 0 ? lead : extra == 1 ? (lead & 0x1F) : extra == 2 ? (lead & 0x0F) : (lead & 0x07);
    for (int i = 0; i < extra; ++i) {
      if (pos_ >= text_.size() || (static_cast<unsigned char>(text_[pos_]) & 0xC0) != 0x80) {
        extra = -1;
        break;
      }
      c = (c << 6) | (static_cast<unsigned char>(text_[pos_++]) & 0x3F);
    }
    if (extra < 0 || c > 0x10FFFF) {
      throw ParseError(line_, "a string holds bytes that are not UTF-8");
    }
    std::u16string out;
    AppendUtf16(out, c);
    return out;
  }

  std::string_view text_;
  std::size_t pos_ = 0;
  int line_ = 1;
};

class Parser {
 public:
  explicit Parser(std::string_view text) : lexer_(text) { Advance(); }

  Object Root() {
    Object root = ObjectBody();
    if (current_.kind != Token::Kind::End) {
      throw ParseError(current_.line, "text after the form's last \"end\"");
    }
    return root;
  }

 private:
  void Advance() { current_ = lexer_.Next(); }

  bool IsSymbol(const char* symbol) const {
    return current_.kind == Token::Kind::Symbol && current_.text == symbol;
  }

  void Expect(const char* symbol) {
    if (!IsSymbol(symbol)) {
      throw ParseError(current_.line, std::string("expected \"") + symbol + "\"");
    }
    Advance();
  }

  std::string ExpectIdentifier(const char* what) {
    if (current_.kind != Token::Kind::Identifier) {
      throw ParseError(current_.line, std::string("expected ") + what);
    }
    std::string text = current_.text;
    Advance();
    return text;
  }

  static bool IsObjectKeyword(const std::string& word) {
    return word == "object" || word == "inherited" || word == "inline";
  }

  Object ObjectBody() {
    if (current_.kind != Token::Kind::Identifier || !IsObjectKeyword(current_.text)) {
      throw ParseError(current_.line, "expected \"object\"");
    }
    const int line = current_.line;
    Advance();
    return ObjectAfterKeyword(line);
  }

  Object ObjectAfterKeyword(int line) {
    const DepthGuard guard(*this, line);
    Object object;
    object.line = line;
    object.name = ExpectIdentifier("an object name");
    Expect(":");
    object.className = ExpectIdentifier("a class name");
    for (;;) {
      if (current_.kind == Token::Kind::End) {
        throw ParseError(current_.line, "object " + object.name + " has no \"end\"");
      }
      const int wordLine = current_.line;
      const std::string word = ExpectIdentifier("a property, \"object\" or \"end\"");
      if (word == "end") {
        return object;
      }
      if (IsObjectKeyword(word)) {
        object.children.push_back(ObjectAfterKeyword(wordLine));
        continue;
      }
      Property property;
      property.name = word;
      property.line = wordLine;
      Expect("=");
      property.value = ParseValue();
      object.properties.push_back(std::move(property));
    }
  }

  Value ParseValue() {
    Value value;
    switch (current_.kind) {
      case Token::Kind::Integer:
        value.kind = Value::Kind::Integer;
        value.integer = std::strtoll(current_.text.c_str(), nullptr, 10);
        Advance();
        return value;
      case Token::Kind::Float:
        value.kind = Value::Kind::Float;
        value.real = std::strtod(current_.text.c_str(), nullptr);
        Advance();
        return value;
      case Token::Kind::Identifier:
        value.kind = Value::Kind::Identifier;
        value.identifier = current_.text;
        Advance();
        return value;
      case Token::Kind::String:
        value.kind = Value::Kind::String;
        value.string = current_.string;
        Advance();
        while (IsSymbol("+")) {
          Advance();
          if (current_.kind != Token::Kind::String) {
            throw ParseError(current_.line, "\"+\" must be followed by a string");
          }
          value.string += current_.string;
          Advance();
        }
        return value;
      case Token::Kind::Symbol:
        if (IsSymbol("[")) {
          value.kind = Value::Kind::Set;
          Advance();
          while (!IsSymbol("]")) {
            value.set.push_back(ExpectIdentifier("a set element"));
            if (!IsSymbol("]")) {
              Expect(",");
            }
          }
          Advance();
          return value;
        }
        if (IsSymbol("(")) {
          const DepthGuard guard(*this, current_.line);
          value.kind = Value::Kind::List;
          Advance();
          while (!IsSymbol(")")) {
            if (current_.kind == Token::Kind::End) {
              throw ParseError(current_.line, "a list is not closed");
            }
            value.list.push_back(ParseValue());
          }
          Advance();
          return value;
        }
        [[fallthrough]];
      default:
        throw ParseError(current_.line, "expected a value");
    }
  }

  // Nesting is shallow in any real form; a bound keeps hostile text from
  // exhausting the stack.
  struct DepthGuard {
    DepthGuard(Parser& parser, int line) : parser_(parser) {
      if (++parser_.depth_ > 64) {
        throw ParseError(line, "objects or lists nest too deeply");
      }
    }
    ~DepthGuard() { --parser_.depth_; }
    Parser& parser_;
  };

  Lexer lexer_;
  Token current_;
  int depth_ = 0;
};

}  // namespace

Object Parse(std::string_view text) { return Parser(text).Root(); }

}  // namespace quornel::vcl::dfm
