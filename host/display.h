// Text for people: UTF-16 shown as UTF-8 on a terminal, code points spelled out.
#pragma once

#include <string>
#include <string_view>

namespace quornel::host {

// UTF-8 for display; an unpaired surrogate shows as U+FFFD.
std::string Utf8ForDisplay(std::u16string_view text);

// "U+301C" for each code point, space-separated.
std::string CodePoints(std::u16string_view text);

// Control characters made visible (tab and line breaks as \t \r \n).
std::string Visible(std::u16string_view text);

}  // namespace quornel::host
