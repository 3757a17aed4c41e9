#include "plugin/framework/display_text.h"

#include <cstdio>
#include <cwchar>

namespace quornel::vcl {
namespace {

bool IsHigh(char16_t u) { return u >= 0xD800 && u <= 0xDBFF; }
bool IsLow(char16_t u) { return u >= 0xDC00 && u <= 0xDFFF; }

std::wstring Bracketed(char32_t c) {
  wchar_t buffer[16];
  std::swprintf(buffer, 16, L"<%04X>", static_cast<unsigned>(c));
  return buffer;
}

}  // namespace

std::vector<DisplayCell> LayoutCells(std::u16string_view text) {
  std::vector<DisplayCell> cells;
  for (std::size_t i = 0; i < text.size();) {
    const std::size_t begin = i;
    char32_t c = text[i++];
    bool lone = false;
    if (IsHigh(static_cast<char16_t>(c)) && i < text.size() && IsLow(text[i])) {
      c = 0x10000 + ((c - 0xD800) << 10) + (text[i++] - 0xDC00);
    } else if (IsHigh(static_cast<char16_t>(c)) || IsLow(static_cast<char16_t>(c))) {
      lone = true;
    }
    const int width = lone ? -1 : ::wcwidth(static_cast<wchar_t>(c));
    if (width == 0 && !cells.empty() && !cells.back().codePoint) {
      cells.back().glyph += static_cast<wchar_t>(c);
      cells.back().end = i;
      continue;
    }
    DisplayCell cell;
    cell.begin = begin;
    cell.end = i;
    if (width < 0) {
      cell.glyph = Bracketed(c);
      cell.codePoint = true;
      cell.width = static_cast<int>(cell.glyph.size());
    } else if (width == 0) {
      // A mark with nothing to sit on: give it a dotted circle as its base.
      cell.glyph = std::wstring(1, L'\u25CC') + static_cast<wchar_t>(c);
      cell.width = 1;
    } else {
      cell.glyph = std::wstring(1, static_cast<wchar_t>(c));
      cell.width = width;
    }
    cells.push_back(std::move(cell));
  }
  return cells;
}

int DisplayWidth(std::u16string_view text) {
  int width = 0;
  for (const DisplayCell& cell : LayoutCells(text)) {
    width += cell.width;
  }
  return width;
}

std::string CodePointLabel(std::u16string_view unit) {
  char32_t c = 0;
  if (unit.size() == 1) {
    c = unit[0];
  } else if (unit.size() == 2 && IsHigh(unit[0]) && IsLow(unit[1])) {
    c = 0x10000 + ((static_cast<char32_t>(unit[0]) - 0xD800) << 10) + (unit[1] - 0xDC00);
  } else {
    return {};
  }
  char buffer[16];
  std::snprintf(buffer, sizeof buffer, "U+%04X", static_cast<unsigned>(c));
  return buffer;
}

}  // namespace quornel::vcl
