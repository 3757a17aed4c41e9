// UTF-16 to and from code points.
#pragma once

#include <cstdint>

#include "textunits/types.h"

// Code points of `text`, then one terminating 0; the empty text gives no
// elements at all. Lone surrogates are dropped.
TU_API UCS4String UTF16ToUTF32(const WideString& text);

// UTF-16 of the code points; a last element 0 is the terminator and a first
// element 0 gives the empty string. Earlier zeros become U+0000 and values
// U+D800..U+DFFF pass through as single units. A value above U+10FFFF has no
// UTF-16 form and becomes the one unit U+FFFD: cutting its would-be pair to 16
// bits would turn an out-of-range value into unrelated ordinary characters.
TU_API WideString UTF32ToUTF16(const UCS4String& codePoints);

// One code point as one or two units, as UTF32ToUTF16 of [codePoint, 0]:
// 0 gives the empty string, a value above U+10FFFF the unit U+FFFD.
TU_API WideString CodePointToUTF16(std::uint32_t codePoint);
