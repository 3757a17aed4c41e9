#include "host/display.h"

#include <cstdio>

namespace quornel::host {
namespace {

template <typename F>
void ForEachCodePoint(std::u16string_view text, F f) {
  for (std::size_t i = 0; i < text.size(); ++i) {
    char32_t c = text[i];
    if (c >= 0xD800 && c < 0xDC00 && i + 1 < text.size() && text[i + 1] >= 0xDC00 &&
        text[i + 1] < 0xE000) {
      c = 0x10000 + ((c - 0xD800) << 10) + (text[i + 1] - 0xDC00);
      ++i;
      f(c, false);
    } else {
      f(c, c >= 0xD800 && c < 0xE000);
    }
  }
}

void PutUtf8(std::string& out, char32_t c) {
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

}  // namespace

std::string Utf8ForDisplay(std::u16string_view text) {
  std::string out;
  ForEachCodePoint(text, [&](char32_t c, bool lone) { PutUtf8(out, lone ? 0xFFFD : c); });
  return out;
}

std::string CodePoints(std::u16string_view text) {
  std::string out;
  ForEachCodePoint(text, [&](char32_t c, bool) {
    char buffer[16];
    std::snprintf(buffer, sizeof buffer, "%sU+%04X", out.empty() ? "" : " ",
                  static_cast<unsigned>(c));
    out += buffer;
  });
  return out;
}

std::string Visible(std::u16string_view text) {
  std::string out;
  ForEachCodePoint(text, [&](char32_t c, bool lone) {
    if (c == u'\t') {
      out += "\\t";
    } else if (c == u'\r') {
      out += "\\r";
    } else if (c == u'\n') {
      out += "\\n";
    } else {
      PutUtf8(out, lone ? 0xFFFD : c);
    }
  });
  return out;
}

}  // namespace quornel::host
