#include "host/display.h"

#include "platform/unicode_text.h"

#include <cstdio>

namespace quornel::host {
using platform::AppendUtf8;
using platform::ForEachCodePoint;

std::string Utf8ForDisplay(std::u16string_view text) { return platform::Utf8Lenient(text); }

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
      AppendUtf8(out, lone ? 0xFFFD : c);
    }
  });
  return out;
}

}  // namespace quornel::host
