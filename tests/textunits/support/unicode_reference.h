// Plain, literal versions of the UTF-16/UTF-32 conversions and the mapping
// fixes: each walk done exactly as described, with no fast path and nothing
// shared with the library. The tests hold the library to these.
#pragma once

#include <cstdint>

#include "textunits/types.h"

namespace reference {

UCS4String UTF16ToUTF32(const WideString& text);
WideString UTF32ToUTF16(const UCS4String& codePoints);
WideString CodePointToUTF16(std::uint32_t codePoint);

WideString MappingFix_CP932ToUnicode(const WideString& text);
WideString MappingFix_JISX0208ToUnicode(const WideString& text);
WideString MappingFix_UnicodeToCP932(const WideString& text);
WideString MappingFix_UnicodeToJISX0208(const WideString& text);
WideString MappingFix_JISX0213ToJISX0208(const WideString& text);
WideString MappingFix_JISX0208ToJISX0213(const WideString& text);

}  // namespace reference
