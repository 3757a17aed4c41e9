// The string kinds every TextUnits routine works on.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#if defined(_WIN32)
#define TU_API __declspec(dllexport)
#else
#define TU_API __attribute__((visibility("default")))
#endif

// One element of a byte string, and one element of a UTF-16 string.
using UTF8Char = unsigned char;
using UnicodeChar = char16_t;

// UTF-16 strings. Both kinds hold the same units and every routine gives them
// identical results, so one type serves for both names.
using UnicodeString = std::u16string;
using WideString = std::u16string;

// Code points; one made from a non-empty text ends in exactly one 0 element.
using UCS4String = std::vector<std::uint32_t>;

using TBytes = std::vector<std::uint8_t>;

// The platform's ANSI code page, read once when the library is loaded. It is
// the tag of a byte string made without naming a code page.
TU_API std::uint32_t TuProcessDefaultCodePage();

// A counted byte string carrying a 16-bit code page tag. An empty byte string
// has no tag: asked for one, it reports the process default code page.
class TU_API ByteString {
 public:
  ByteString() : codePage_(static_cast<std::uint16_t>(TuProcessDefaultCodePage())) {}
  explicit ByteString(std::string_view bytes)
      : bytes_(bytes), codePage_(static_cast<std::uint16_t>(TuProcessDefaultCodePage())) {}
  ByteString(std::string_view bytes, std::uint16_t codePage) : bytes_(bytes), codePage_(codePage) {}

  [[nodiscard]] const std::string& bytes() const { return bytes_; }
  [[nodiscard]] std::string& bytes() { return bytes_; }
  [[nodiscard]] std::size_t size() const { return bytes_.size(); }
  [[nodiscard]] bool empty() const { return bytes_.empty(); }
  [[nodiscard]] const char* data() const { return bytes_.data(); }

  // The tag as stored; meaningful only for a non-empty string.
  [[nodiscard]] std::uint16_t tag() const { return empty() ? 0 : codePage_; }
  void setTag(std::uint16_t codePage) { codePage_ = codePage; }

  friend bool operator==(const ByteString& a, const ByteString& b) {
    return a.bytes_ == b.bytes_ && a.tag() == b.tag();
  }

 private:
  std::string bytes_;
  std::uint16_t codePage_;
};
