// UTF-8 and UTF-16 by hand, for the places that move text between the two
// outside the string library: paths, messages, the host's own codecs.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace quornel::platform {

inline bool IsHighSurrogate(char32_t u) { return u >= 0xD800 && u < 0xDC00; }
inline bool IsLowSurrogate(char32_t u) { return u >= 0xDC00 && u < 0xE000; }

inline void AppendUtf8(std::string& out, char32_t c) {
  if (c < 0x80) {
    out.push_back(static_cast<char>(c));
  } else if (c < 0x800) {
    out.push_back(static_cast<char>(0xC0 | (c >> 6)));
    out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
  } else if (c < 0x10000) {
    out.push_back(static_cast<char>(0xE0 | (c >> 12)));
    out.push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
    out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
  } else {
    out.push_back(static_cast<char>(0xF0 | (c >> 18)));
    out.push_back(static_cast<char>(0x80 | ((c >> 12) & 0x3F)));
    out.push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
    out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
  }
}

inline void AppendUtf16(std::u16string& out, char32_t c) {
  if (c < 0x10000) {
    out.push_back(static_cast<char16_t>(c));
  } else {
    c -= 0x10000;
    out.push_back(static_cast<char16_t>(0xD800 | (c >> 10)));
    out.push_back(static_cast<char16_t>(0xDC00 | (c & 0x3FF)));
  }
}

// Calls f(codePoint, lone) for each code point of UTF-16 text; an unpaired
// surrogate comes as itself with lone set.
template <typename F>
void ForEachCodePoint(std::u16string_view text, F f) {
  for (std::size_t i = 0; i < text.size(); ++i) {
    const char32_t c = text[i];
    if (IsHighSurrogate(c) && i + 1 < text.size() && IsLowSurrogate(text[i + 1])) {
      f(0x10000 + ((c - 0xD800) << 10) + (text[i + 1] - 0xDC00), false);
      ++i;
    } else {
      f(c, IsHighSurrogate(c) || IsLowSurrogate(c));
    }
  }
}

// UTF-8 of UTF-16 text; an unpaired surrogate becomes U+FFFD.
inline std::string Utf8Lenient(std::u16string_view text) {
  std::string out;
  out.reserve(text.size());
  ForEachCodePoint(text, [&out](char32_t c, bool lone) { AppendUtf8(out, lone ? 0xFFFD : c); });
  return out;
}

// UTF-16 of UTF-8 text that is expected to be well-formed (paths, command
// lines); a byte that starts no sequence stands for itself.
inline std::u16string Utf16Lenient(std::string_view utf8) {
  std::u16string out;
  out.reserve(utf8.size());
  for (std::size_t i = 0; i < utf8.size();) {
    const auto b = static_cast<unsigned char>(utf8[i]);
    const int extra = b < 0xC0 ? 0 : b >= 0xF0 ? 3 : b >= 0xE0 ? 2 : 1;
    char32_t c = extra == 0 ? b : (b & (0x3F >> extra));
    for (int k = 1; k <= extra && i + k < utf8.size(); ++k) c = (c << 6) | (utf8[i + k] & 0x3F);
    i += 1 + extra;
    AppendUtf16(out, c);
  }
  return out;
}

}  // namespace quornel::platform
