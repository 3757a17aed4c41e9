// UTF-16 text laid out in terminal cells: what each character looks like and
// how many columns it takes. Wide (East Asian full-width) characters take two
// columns; a combining mark rides on the character before it; what cannot be
// drawn (a lone surrogate half, a control character) is shown by its code
// point, so the user still sees which unit is meant.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace quornel::vcl {

struct DisplayCell {
  std::wstring glyph;   // what to draw: one character and its marks, or a code point text
  int width = 0;        // columns
  bool codePoint = false;  // drawn as "<XXXX>" because the unit cannot be drawn
  std::size_t begin = 0;   // the UTF-16 units this cell stands for
  std::size_t end = 0;
};

// Uses wcwidth, so LC_CTYPE must be a UTF-8 locale.
std::vector<DisplayCell> LayoutCells(std::u16string_view text);
int DisplayWidth(std::u16string_view text);

// "U+301C" for one unit or one surrogate pair; "" for other lengths.
std::string CodePointLabel(std::u16string_view unit);

}  // namespace quornel::vcl
