// Remappings between look-alike code points of the Unicode, CP932, JIS X 0208
// and JIS X 0213 views of Japanese text.
#pragma once

#include <string_view>

#include "textunits/types.h"

TU_API WideString TuMappingFix_CP932ToUnicode(const WideString& text);
TU_API WideString TuMappingFix_JISX0208ToUnicode(const WideString& text);
TU_API WideString TuMappingFix_UnicodeToCP932(const WideString& text);
TU_API WideString TuMappingFix_UnicodeToJISX0208(const WideString& text);
TU_API WideString TuMappingFix_JISX0213ToJISX0208(const WideString& text);
TU_API WideString TuMappingFix_JISX0208ToJISX0213(const WideString& text);

namespace textunits {
// The same routines on a view of the text, for callers that hold the text
// elsewhere (the plug-in reads the host's buffer) and need no copy of it.
WideString MappingFixCP932ToUnicode(std::u16string_view text);
WideString MappingFixJISX0208ToUnicode(std::u16string_view text);
WideString MappingFixUnicodeToCP932(std::u16string_view text);
WideString MappingFixUnicodeToJISX0208(std::u16string_view text);
WideString MappingFixJISX0213ToJISX0208(std::u16string_view text);
WideString MappingFixJISX0208ToJISX0213(std::u16string_view text);
}  // namespace textunits
